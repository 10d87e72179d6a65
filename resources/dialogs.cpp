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

}  // namespace

void register_dialog_templates() {
    PL_RegisterDialogTemplate(splash_template());
}
