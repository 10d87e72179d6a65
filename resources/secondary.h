// resources/secondary.h - the templates of the small secondary windows: the inflection-type input
// (118), the settings (119), the character table (104), the live clipboard window (109) and the
// About box (107), with their control identifiers; and the main window's controls and menu items
// that open or label them.
//
// The windows' procedures live in windows/; the templates here are data only.
#pragma once

#include "platform/window.h"

// ---- Inflection-type input window (template 118, DialogInput) ----------------------------------
inline constexpr int IDD_INPUT = 118;
inline constexpr int IDC_INPUT_PROMPT = 1188;  // "Input:" (the opener replaces it)
inline constexpr int IDC_INPUT_RE = 1185;      // the input field
inline constexpr int IDC_INPUT_OK = 1186;
inline constexpr int IDC_INPUT_CANCEL = 1187;

// ---- Settings window (template 119, DialogSettings) --------------------------------------------
inline constexpr int IDD_SETTINGS = 119;
inline constexpr int IDC_SETTINGS_BOX_TRANS = 1199;
inline constexpr int IDC_SETTINGS_TRANSLATE_CLIPBOARD = 1195;
inline constexpr int IDC_SETTINGS_TRAY_BALLOON = 1196;
inline constexpr int IDC_SETTINGS_BOX_SPELLING = 1191;
inline constexpr int IDC_SETTINGS_SPELL_UPPERCASE = 1192;
inline constexpr int IDC_SETTINGS_TEXT_COLORING = 1207;
inline constexpr int IDC_SETTINGS_BOX_RANK = 1202;
inline constexpr int IDC_SETTINGS_PRINT_RANK_IN_ONELINE = 1200;
inline constexpr int IDC_SETTINGS_PRINT_FILTERED = 1201;
inline constexpr int IDC_SETTINGS_LABEL_RANK = 1205;
inline constexpr int IDC_SETTINGS_RANK_FILTER = 1204;
inline constexpr int IDC_SETTINGS_LABEL_DEF_LEN = 1198;
inline constexpr int IDC_SETTINGS_MAX_DEFINITION_LENGTH = 1197;
inline constexpr int IDC_SETTINGS_RE = 1194;  // the notes panel
inline constexpr int IDC_SETTINGS_OK = 1189;
inline constexpr int IDC_SETTINGS_CANCEL = 1190;

// ---- Character table window (template 104, DialogAscii) ----------------------------------------
inline constexpr int IDD_ASCII = 104;
inline constexpr int IDC_ASCII_LIST = 1037;     // the 256 codes
inline constexpr int IDC_ASCII_ADD = 1040;      // "Add ->"
inline constexpr int IDC_ASCII_CLEAR = 1041;    // "Clear"
inline constexpr int IDC_ASCII_EDIT = 1039;     // the code list
inline constexpr int IDC_ASCII_OK = 1036;
inline constexpr int IDC_ASCII_CANCEL = 1038;
inline constexpr int IDC_ASCII_RE_UTF8 = 1065;  // the UTF-8 table
inline constexpr int IDC_ASCII_COUNT = 1066;    // its line count

// ---- Live clipboard window (template 109, DialogLive) ------------------------------------------
inline constexpr int IDD_LIVE = 109;
inline constexpr int IDC_LIVE_RE = 1113;         // the entries of the clipboard translations
inline constexpr int IDC_LIVE_SHOW_MAIN = 1114;  // "Show Main" / "Hide Main"
inline constexpr int IDC_LIVE_EXIT = 1115;       // "Exit"

// ---- About box (template 107, DialogAbout) -----------------------------------------------------
inline constexpr int IDD_ABOUT = 107;
inline constexpr int IDC_ABOUT_OK = 1122;
inline constexpr int IDC_ABOUT_TEXT = 1053;     // the authorship text
inline constexpr int IDC_ABOUT_REPORTS = 1121;  // "!": the lemma-grouping reports
inline constexpr int IDC_ABOUT_RUNS = 1149;     // "run %d times"

// ---- The main window's controls and menu items of these windows ---------------------------------
inline constexpr int IDC_ADD_SHOW_LIVE = 1077;  // "Show Live" / "Hide Live": the live clipboard window
inline constexpr int IDC_ADD_HIDE_MAIN = 1078;  // the main window's own "Hide Main" label
inline constexpr UINT IDM_HIDE_MAIN = 9189;     // menu item labelled by the main window's visibility
inline constexpr UINT IDM_SHOW_LIVE = 9190;     // menu item: the live clipboard window

// Registers the five templates above with the platform (idempotent); each window's opener calls it.
void register_secondary_templates();
