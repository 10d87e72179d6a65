// windows/settings_window.h - the settings window (template 119, DialogSettings, handle hSettings):
// eight options changed for the running session only (the option mirrors; no file is written) and
// a notes panel whose text is kept in memory from one opening to the next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/window.h"

extern HWND hSettings;  // the window; non-null exactly while it exists
extern HWND hSettingsBoxTrans, hSettingsTranslateClipboard, hSettingsTrayBalloon, hSettingsBoxSpelling,
    hSettingsSpellUppercase, hSettingsTextColoring, hSettingsBoxRank, hSettingsPrintRankInOneline,
    hSettingsPrintFiltered, hSettingsRankSettings, hSettingsMaxDefLength, hSettingsRe;
// The notes: their UTF-16 text (CR LF line ends) while some are kept, and the room they were
// given in bytes (grows, never shrinks while notes are kept; 0 when there are none).
extern std::optional<std::u16string> gl_belezhnik;
extern std::size_t gl_belezhnik_sz;

// The window's procedure.
INT_PTR DialogSettings(HWND dlg, const Msg& m);

// The main window's command 9213: creates and shows the window when it does not exist; otherwise
// nothing. Returns hSettings.
HWND open_settings_window();

// The window's state and the notes for test fixtures.
void reset_settings_window();
