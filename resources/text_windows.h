// resources/text_windows.h - the templates of the find-and-replace window (120, DialogRepl), the
// translation window (121, DialogTran) and the information window (122, DialogInfo): their
// controls with identifiers, captions and places, and the translation window's tool tips.
//
// The windows' procedures and handles live in windows/; the tables here are data only.
#pragma once

#include <span>
#include <string_view>

#include "platform/window.h"

inline constexpr int IDD_REPL = 120;  // the find-and-replace window
inline constexpr int IDD_TRAN = 121;  // the translation window
inline constexpr int IDD_INFO = 122;  // the information window

// ---- Find and replace ---------------------------------------------------------------------
inline constexpr int IDC_REPL_RE_FIND = 1232;   // the find field
inline constexpr int IDC_REPL_RE_REPL = 1233;   // the replace field
inline constexpr int IDC_REPL_CANCEL = 1234;    // "Cancel"
inline constexpr int IDC_REPL_FIND_NEXT = 1235;  // "Find Next"
inline constexpr int IDC_REPL_REPLACE = 1236;   // "Replace"
inline constexpr int IDC_REPL_WHOLE = 1237;     // "Match whole word"
inline constexpr int IDC_REPL_CASE = 1238;      // "Match case"
inline constexpr int IDC_REPL_UP = 1239;        // "Search up"
inline constexpr int IDC_REPL_ALL = 1240;       // "Replace all"
inline constexpr int IDC_REPL_RE_LAB = 1242;    // the status label

// ---- Translation window -------------------------------------------------------------------
inline constexpr int IDC_TRAN_RE_LEFT = 1251;   // the left pane
inline constexpr int IDC_TRAN_RE_RIGHT = 1252;  // the right pane
inline constexpr int IDC_TRAN_CLEAR = 1253;     // "clr"
inline constexpr int IDC_TRAN_NARROW = 1254;    // "<-"
inline constexpr int IDC_TRAN_GOOGLE = 1255;    // "G"
inline constexpr int IDC_TRAN_GOOGLE_BG = 1256;  // "Gb"
inline constexpr int IDC_TRAN_NOV = 1257;       // "N"
inline constexpr int IDC_TRAN_WRAP = 1258;      // "Word Wrap"
inline constexpr int IDC_TRAN_UNDO = 1259;      // "Undo"
inline constexpr int IDC_TRAN_REDO = 1260;      // "Redo"
inline constexpr int IDC_TRAN_LABEL = 1261;     // the status label
inline constexpr int IDC_TRAN_FIND_REPLACE = 1262;  // "Find+replace"

// ---- Information window -------------------------------------------------------------------
inline constexpr int IDC_INFO_RE_TOP = 1279;  // the top panel
inline constexpr int IDC_INFO_RE_BOT = 1280;  // the bottom panel

// One control of the three templates: kind, identifier (-1 for static labels without one),
// caption, place in dialog units and the identifier text that names it when its handle cannot be
// made ("" for controls whose handle is not kept).
struct TextWindowControl {
    ControlKind kind = ControlKind::PushButton;
    int id = -1;
    std::u16string_view caption;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string_view name;
    DWORD extra_style = 0;  // BS_DEFPUSHBUTTON of the default button
};
std::span<const TextWindowControl> find_replace_controls();  // the 12 controls of template 120
std::span<const TextWindowControl> translation_controls();   // the 12 controls of template 121
std::span<const TextWindowControl> info_controls();          // the 2 panels of template 122
// The identifier text of control `id` in one of the tables above ("" when it has none).
std::string_view control_name(std::span<const TextWindowControl> controls, int id);

// One tool tip of the translation window: the control and its text.
struct TextWindowToolTip {
    int id = 0;
    std::u16string_view text;
};
std::span<const TextWindowToolTip> translation_tooltips();  // the 3 tool tips

// Registers templates 120, 121 and 122 with the platform (idempotent).
void register_text_window_templates();
