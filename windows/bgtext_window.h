// windows/bgtext_window.h - the Bulgarian-text window (template 124, DialogBgtext), the companion
// of the text-checker window's corpus-translation mode: a text panel for a Bulgarian text (typed,
// pasted, dropped, opened, or loaded from a folder of English/Bulgarian pairs), a filter field
// whose number sets the corpus-search parameters, a status line, the buttons Start, All, Stop and
// Refresh, the check box "fast", and the menus "Файл", "Старт" and "Опции".
//
// The first change of the text panel after the window opens, and every Refresh, run the statistics
// pass (translate_bgtext) over the panel into token store 2. The corpus search that Start, All and
// the "Старт" items call (find_bg_part) does nothing beyond testing that this window exists; the
// window still prepares its result folders, report file and messages. Closing the window ends the
// corpus-translation mode of the text-checker window.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window.h"

// ---- Handles (hBgText and hBgTextRe are in shell/window_state.h) ------------------------------
extern HWND hBgTextReFilter;  // the filter field 1301
extern HWND hBgTextLabel;     // the status line 1304
extern HWND hBgTextStart;     // "Start" 1302
extern HWND hBgTextStart2;    // "All" 1306
extern HWND hBgTextStop;      // "Stop" 1305
extern HWND hBgTextRefresh;   // "Refresh" 1300
extern HWND hBgTextMixed;     // check box "fast" 1299
extern HMENU hMenuCorp;       // the menu bar
extern HMENU hMenuCorpFile;   // "Файл"
extern HMENU hMenuCorpStart;  // "Старт"
extern HMENU hMenuCorpSet;    // "Опции"

// ---- Menu commands ---------------------------------------------------------------------------
inline constexpr UINT IDM_CORP_OPEN_FILE = 9174;     // "Отвори файл"
inline constexpr UINT IDM_CORP_OPEN_FOLDER = 9175;   // "Отвори папка с 2 файла"
inline constexpr UINT IDM_CORP_TEST_TEXT = 9176;     // "Тествай заредения текст"
inline constexpr UINT IDM_CORP_ANALYSE_TEXT = 9177;  // "Анализирай заредения текст"
inline constexpr UINT IDM_CORP_TEST_FOLDER = 9178;   // "Тествай папка"
inline constexpr UINT IDM_CORP_ANALYSE_FOLDER = 9179;  // "Анализирай папка"
inline constexpr UINT IDM_CORP_RANGE = 9180;         // "Въведи обхват на търсене" + gl_CORPUS_RANGE
inline constexpr UINT IDM_CORP_STEP = 9181;          // "Въведи стъпка" + gl_CORPUS_SKIP_CT
inline constexpr UINT IDM_CORP_FILE_INDEX = 9182;    // "Въведи пореден файлов индекс" + gl_CORPUS_FILE_INDEX
inline constexpr UINT IDM_CORP_LIMITED = 9183;       // toggles gl_CORPUS_LIMITED
inline constexpr UINT IDM_CORP_UNDERLINE = 9184;     // toggles gl_CORPUS_UNDERLINE
inline constexpr UINT IDM_CORP_COLOR = 9185;         // toggles gl_CORPUS_COLOR
inline constexpr UINT IDM_CORP_MAXTWO = 9186;        // toggles gl_CORPUS_MAXTWO
inline constexpr UINT IDM_CORP_STRICT_NOUN = 9187;   // toggles gl_CORPUS_STRICT_NOUN
inline constexpr UINT IDM_CORP_DEBUG_FILES = 9188;   // toggles gl_CORPUS_DEBUG_FILES

// The dialog procedure.
INT_PTR DialogBgtext(HWND dlg, const Msg& m);
// Lays the controls out for the window's client size.
void size_bgtext(HWND dlg);

// The mode command's opener: creates the window (no owner) when hBgText is not a window, shows it
// and returns hBgText. And its closer: the window destroyed and hBgText cleared, without the steps
// of the close box (the mode command takes its own).
HWND open_bgtext_window();
void close_bgtext_window();

// The result folder of "Тествай заредения текст" for the file last loaded (an 8-bit path): the
// path without one trailing separator, cut at its last separator, then "_res"; a file in the root
// gives the root itself; a path without a separator gives `current`.
std::string bgtext_result_folder(std::string path, const std::string& current);

// The subsystem's reset for test fixtures: handles and menus forgotten.
void reset_bgtext_window();
