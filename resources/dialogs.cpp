// Dialog templates of the program (sizes and positions in dialog units).
#include <utility>

#include "resources/resources.h"

namespace {

// The splash: a caption-less box with a sizing border, centred on the screen, holding one line in
// a bold 10-point font. The start-up replaces the line with the edition's title and its "starting"
// words, which for the longer titles need more than the 189 x 8 units the short template text
// needs: the label spans the box and has room for a second line, so that no word is cut off.
DialogTemplate splash_template() {
    DialogTemplate t;
    t.id = IDD_STARTING;
    t.cx = 247;
    t.cy = 105;
    t.font_face = u"MS Shell Dlg";
    t.font_points = 10;
    t.font_weight = 700;
    t.style = WS_POPUP | WS_THICKFRAME | DS_CENTER | DS_SETFONT;
    t.controls.push_back(ControlTemplate{ControlKind::Label, IDC_STARTING_TEXT,
                                         u"Loading JUX Dictionary, please wait\u2026", 8, 44, 231, 18,
                                         WS_CHILD | WS_VISIBLE, 0});
    return t;
}

// The main window until the look-up window takes its place: the entry box on top and a panel
// below it; the window's procedure lays both out to its size.
DialogTemplate main_placeholder_template() {
    DialogTemplate t;
    t.id = IDD_MAIN_PLACEHOLDER;
    t.caption = u"JUX Dictionary";
    t.cx = 320;
    t.cy = 220;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_CENTER;
    const DWORD panel = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;
    t.controls.push_back(ControlTemplate{ControlKind::RichEdit, IDC_ADD_RE_SHORT, u"", 5, 5, 310, 14, panel, 0});
    t.controls.push_back(
        ControlTemplate{ControlKind::RichEdit, IDC_ADD_RE_SAVED, u"", 5, 24, 310, 191, panel | WS_VSCROLL, 0});
    return t;
}

}  // namespace

void register_dialog_templates() {
    RegisterDialogTemplate(splash_template());
    RegisterDialogTemplate(main_placeholder_template());
}
