// resources/checker.h - the text-checker window's template 117 (DialogBig): its controls with
// their identifiers, captions, places and identifier texts, and the tool tips it gives them.
//
// The window's procedure and its handles live in windows/; the tables here are data only.
#pragma once

#include <span>
#include <string_view>

#include "platform/window.h"
#include "resources/resources.h"

inline constexpr int IDD_BIG = 117;  // the text-checker window

// ---- Panels and labels --------------------------------------------------------------------------
inline constexpr int IDC_BIG_RE_RIGHT = 1171;  // the text being checked
inline constexpr int IDC_BIG_RE_LEFT = 1170;   // the report of the run
inline constexpr int IDC_BIG_RE_BOT = 1173;    // word information, translation modes
// The status line 1179 (IDC_BIG_LABEL) and the upper label 1276 (IDC_BIG_LABEL_UP) are declared
// with the shell's and the engine's window state, which write into them.
inline constexpr int IDC_BIG_COLORS = 1270;    // legend of the rare-word colours (bitmap 122)

// ---- Check boxes ---------------------------------------------------------------------------
inline constexpr int IDC_BIG_ACTIVE = 1208;       // "On"
inline constexpr int IDC_BIG_WRAP = 1243;         // "Word Wrap"
inline constexpr int IDC_BIG_UPPERCASE = 1015;    // "Главни букви"
inline constexpr int IDC_BIG_LATIN = 1267;        // "Английски думи"
inline constexpr int IDC_BIG_COLOR_RARE = 1268;   // "Редки думи"
inline constexpr int IDC_BIG_COLORING = 1265;     // "Оцветявай"
inline constexpr int IDC_BIG_REALTIME = 1246;     // "В реално време"
inline constexpr int IDC_BIG_SPELLCLIP = 1247;    // "Клипборд"

// ---- Buttons of the window's own commands -------------------------------------------------------
inline constexpr int IDC_BIG_CLEAR = 1172;         // "clr"
inline constexpr int IDC_BIG_REFRESH = 1263;       // "Refresh"
inline constexpr int IDC_BIG_UNDO = 1212;          // "Undo"
inline constexpr int IDC_BIG_REDO = 1213;          // "Redo"
inline constexpr int IDC_BIG_FIND_REPLACE = 1241;  // "Find+replace"
inline constexpr int IDC_BIG_PASTE = 1319;         // "Paste"
inline constexpr int IDC_BIG_CAPITALIZE = 1295;    // "C"
inline constexpr int IDC_BIG_INFO = 1272;          // "инфо"
inline constexpr int IDC_BIG_NOV = 1211;           // "N"
inline constexpr int IDC_BIG_AUDIO_BUTTON = 1271;  // "?" (bitmap)
inline constexpr int IDC_BIG_AUDIO_READ = 1320;    // "R"
inline constexpr int IDC_BIG_SHRINK = 1181;        // "<>"
inline constexpr int IDC_BIG_BG_CUSTOM = 1248;     // "добави"
inline constexpr int IDC_BIG_LOAD_BG_CUSTOM = 1249;  // "виж"
inline constexpr int IDC_BIG_BG_ERASE = 1250;      // "трий"
inline constexpr int IDC_BIG_GOOGLE_TR = 1214;     // "Gtr" (bitmap 128)

// Bitmaps of the window
inline constexpr int IDB_BIG_COLORS = 122;   // the colour legend
inline constexpr int IDB_GOOGLE_TR = 128;    // the "Gtr" button
// The audio button's red and green bitmaps are IDB_AUDIO_RED and IDB_AUDIO_GREEN of resources.h.

// One control of template 117: its kind, identifier, caption, place in dialog units and the
// identifier text that names it when its handle cannot be made ("" for controls without a handle).
struct CheckerControl {
    ControlKind kind = ControlKind::PushButton;
    int id = 0;
    std::u16string_view caption;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string_view name;
    int bitmap = 0;  // bitmap resource of a picture or bitmap button
};
// The 84 controls in the order of their tables: panels and labels, check boxes, command buttons,
// filing buttons, web look-up buttons.
std::span<const CheckerControl> checker_controls();

// One tool tip: the control and its text.
struct CheckerToolTip {
    int id = 0;
    std::u16string_view text;
};
// The 29 tool tips, in the order the window gives them.
std::span<const CheckerToolTip> checker_tooltips();

// Registers template 117 with the platform (idempotent).
void register_checker_template();
