// resources/bgtext_window.h - template 124 of the Bulgarian-text window (DialogBgtext): its eight
// controls with their identifiers, captions, places and identifier texts.
//
// The window's procedure, handles and menus live in windows/bgtext_window.*; the table is data.
#pragma once

#include <span>
#include <string_view>

#include "platform/window.h"

inline constexpr int IDD_BGTEXT = 124;  // the Bulgarian-text window

inline constexpr int IDC_BGTEXT_MIXED = 1299;      // check box "fast": the corpus search is active
inline constexpr int IDC_BGTEXT_REFRESH = 1300;    // "Refresh": the statistics pass again
inline constexpr int IDC_BGTEXT_RE_FILTER = 1301;  // the filter field: one number
inline constexpr int IDC_BGTEXT_START = 1302;      // "Start"
inline constexpr int IDC_BGTEXT_RE = 1303;         // the text panel
inline constexpr int IDC_BGTEXT_LABEL = 1304;      // the status line
inline constexpr int IDC_BGTEXT_STOP = 1305;       // "Stop"
inline constexpr int IDC_BGTEXT_START2 = 1306;     // "All"

// One control of template 124: kind, identifier, caption, place in dialog units, identifier text.
struct BgTextControl {
    ControlKind kind = ControlKind::PushButton;
    int id = 0;
    std::u16string_view caption;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string_view name;
};
// The eight controls.
std::span<const BgTextControl> bgtext_controls();

// Registers template 124 with the platform (idempotent).
void register_bgtext_template();
