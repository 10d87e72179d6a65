// Templates of the secondary windows (sizes and positions in dialog units).
#include "resources/secondary.h"

namespace {

using K = ControlKind;
constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kButton = kShown | WS_TABSTOP;
constexpr DWORD kDefault = kButton | BS_DEFPUSHBUTTON;
constexpr DWORD kDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS;

struct Control {
    K kind;
    int id;
    std::u16string_view text;
    int x, y, cx, cy;
    DWORD style;
};

template <std::size_t N>
DialogTemplate make(int id, int cx, int cy, DWORD style, const Control (&controls)[N]) {
    DialogTemplate t;
    t.id = id;
    t.caption = u"Dialog";
    t.cx = cx;
    t.cy = cy;
    t.style = style;
    for (const Control& c : controls)
        t.controls.push_back(ControlTemplate{c.kind, c.id, std::u16string(c.text), c.x, c.y, c.cx, c.cy, c.style, 0});
    return t;
}

// The inflection-type input: a keypad of digits and suffixes above the input field.
constexpr Control kInput[] = {
    {K::Label, 1188, u"Input:", 23, 9, 135, 8, kShown},
    {K::PushButton, 1228, u"7", 21, 24, 17, 12, kButton},
    {K::PushButton, 1229, u"8", 39, 24, 17, 12, kButton},
    {K::PushButton, 1230, u"9", 57, 24, 17, 12, kButton},
    {K::PushButton, 1220, u"c", 75, 24, 17, 12, kButton},
    {K::PushButton, 1221, u"d", 93, 24, 17, 12, kButton},
    {K::PushButton, 1225, u"4", 21, 37, 17, 12, kButton},
    {K::PushButton, 1226, u"5", 39, 37, 17, 12, kButton},
    {K::PushButton, 1227, u"6", 57, 37, 17, 12, kButton},
    {K::PushButton, 1218, u"a", 75, 37, 17, 12, kButton},
    {K::PushButton, 1219, u"b", 93, 37, 17, 12, kButton},
    {K::PushButton, 1222, u"1", 21, 50, 17, 12, kButton},
    {K::PushButton, 1223, u"2", 39, 50, 17, 12, kButton},
    {K::PushButton, 1224, u"3", 57, 50, 17, 12, kButton},
    {K::PushButton, 1231, u"0", 75, 50, 17, 12, kButton},
    {K::PushButton, 1015, u"da", 21, 64, 21, 14, kButton},
    {K::PushButton, 1215, u"da_", 42, 64, 21, 14, kButton},
    {K::PushButton, 1216, u"az", 62, 64, 21, 14, kButton},
    {K::PushButton, 1217, u"az_", 82, 64, 21, 14, kButton},
    {K::RichEdit, IDC_INPUT_RE, u"", 21, 81, 104, 14, kButton | WS_BORDER | ES_AUTOHSCROLL},
    {K::PushButton, IDC_INPUT_OK, u"OK", 22, 102, 50, 14, kDefault},
    {K::PushButton, IDC_INPUT_CANCEL, u"Cancel", 73, 102, 50, 14, kButton},
};

// The settings: three group boxes in the left column, OK and Cancel beside them, the notes panel
// on the right. The check boxes stand inside their group boxes and the two labels left of their
// number fields.
constexpr Control kSettings[] = {
    {K::GroupBox, IDC_SETTINGS_BOX_TRANS, u"Translation", 7, 8, 154, 49, kShown},
    {K::CheckBox, IDC_SETTINGS_TRANSLATE_CLIPBOARD, u"Translate Cliboard", 14, 21, 140, 10, kButton},
    {K::CheckBox, IDC_SETTINGS_TRAY_BALLOON, u"Tray Balloon", 14, 36, 140, 10, kButton},
    {K::GroupBox, IDC_SETTINGS_BOX_SPELLING, u"Spelling", 7, 68, 154, 46, kShown},
    {K::CheckBox, IDC_SETTINGS_SPELL_UPPERCASE, u"Uppercase", 14, 81, 140, 10, kButton},
    {K::CheckBox, IDC_SETTINGS_TEXT_COLORING, u"Text Coloring", 14, 96, 140, 10, kButton},
    {K::GroupBox, IDC_SETTINGS_BOX_RANK, u"Rank", 7, 128, 154, 74, kShown},
    {K::CheckBox, IDC_SETTINGS_PRINT_RANK_IN_ONELINE, u"Print Rank In Oneline", 14, 141, 140, 10, kButton},
    {K::CheckBox, IDC_SETTINGS_PRINT_FILTERED, u"Print Filtered", 14, 156, 140, 10, kButton},
    {K::Label, IDC_SETTINGS_LABEL_RANK, u"Rank Filter", 14, 180, 99, 8, kShown},
    {K::Edit, IDC_SETTINGS_RANK_FILTER, u"", 115, 177, 34, 14, kButton | WS_BORDER | ES_AUTOHSCROLL},
    {K::Label, IDC_SETTINGS_LABEL_DEF_LEN, u"Def. length:", 14, 264, 80, 8, kShown},
    {K::Edit, IDC_SETTINGS_MAX_DEFINITION_LENGTH, u"", 96, 261, 34, 14, kButton | WS_BORDER | ES_AUTOHSCROLL},
    {K::RichEdit, IDC_SETTINGS_RE, u"", 269, 7, 236, 292,
     kButton | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN},
    {K::PushButton, IDC_SETTINGS_OK, u"OK", 171, 12, 38, 14, kDefault},
    {K::PushButton, IDC_SETTINGS_CANCEL, u"Cancel", 212, 12, 38, 14, kButton},
};

// The character table: the 256 codes, the code list with its buttons, the UTF-8 table.
constexpr Control kAscii[] = {
    {K::ListBox, IDC_ASCII_LIST, u"", 7, 7, 127, 307, kButton | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL},
    {K::Label, -1, u"Select one or more characters from the list and click Add.\r\nClick OK when done.", 141, 8, 201,
     23, kShown},
    {K::PushButton, IDC_ASCII_ADD, u"Add ->", 141, 47, 40, 14, kButton},
    {K::PushButton, IDC_ASCII_CLEAR, u"Clear", 141, 65, 40, 14, kButton},
    {K::Edit, IDC_ASCII_EDIT, u"", 186, 47, 174, 32, kButton | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL},
    {K::PushButton, IDC_ASCII_OK, u"OK", 220, 83, 40, 14, kDefault},
    {K::PushButton, IDC_ASCII_CANCEL, u"Cancel", 269, 83, 40, 14, kButton},
    {K::Label, -1, u"UTF-8 character table", 365, 8, 71, 8, kShown},
    {K::RichEdit, IDC_ASCII_RE_UTF8, u"", 364, 20, 82, 282,
     kButton | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL},
    {K::Label, IDC_ASCII_COUNT, u"Static", 366, 307, 80, 8, kShown},
};

// The live clipboard window: a panel under two small buttons.
constexpr Control kLive[] = {
    {K::RichEdit, IDC_LIVE_RE, u"", 0, 10, 169, 76,
     kButton | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN},
    {K::PushButton, IDC_LIVE_SHOW_MAIN, u"Show Main", 1, 0, 39, 11, kButton},
    {K::PushButton, IDC_LIVE_EXIT, u"Exit", 144, 0, 24, 11, kButton},
};

// The About box.
constexpr Control kAbout[] = {
    {K::PushButton, IDC_ABOUT_OK, u"OK", 97, 50, 50, 14, kDefault},
    {K::Label, IDC_ABOUT_TEXT, u"", 30, 18, 200, 11, kShown},
    {K::PushButton, IDC_ABOUT_REPORTS, u"!", 217, 85, 22, 8, kButton},
    {K::Label, IDC_ABOUT_RUNS, u"Static", 105, 85, 71, 8, kShown},
};

}  // namespace

void register_secondary_templates() {
    PL_RegisterDialogTemplate(make(IDD_INPUT, 166, 129, kDialog | DS_CENTER, kInput));
    PL_RegisterDialogTemplate(make(IDD_SETTINGS, 512, 306, kDialog, kSettings));
    PL_RegisterDialogTemplate(make(IDD_ASCII, 453, 322, kDialog, kAscii));
    // The live clipboard window stays on top. It is made hidden at start, so it does not ask for the
    // foreground when it is made: that would leave an invisible window the active one, and the
    // keys meant for the window the user sees would go astray.
    DialogTemplate live = make(IDD_LIVE, 169, 87, kDialog | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, kLive);
    live.ex_style = WS_EX_TOPMOST;
    PL_RegisterDialogTemplate(live);
    DialogTemplate about = make(IDD_ABOUT, 246, 100, kDialog | DS_CENTER, kAbout);
    about.caption = u"About";
    PL_RegisterDialogTemplate(about);
}
