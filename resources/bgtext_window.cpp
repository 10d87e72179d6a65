// Template 124 of the Bulgarian-text window (positions in dialog units). Laid out like the
// text-checker window: a row with the check box, the buttons and the filter field at the top, the
// text panel filling the window below it, the status line at the bottom.
#include "resources/bgtext_window.h"

#include <array>

namespace {

using K = ControlKind;

constexpr std::array kControls{
    BgTextControl{K::CheckBox, IDC_BGTEXT_MIXED, u"fast", 16, 1, 34, 10, "IDC_BGTEXT_MIXED"},
    BgTextControl{K::PushButton, IDC_BGTEXT_START, u"Start", 16, 11, 30, 12, "IDC_BGTEXT_START"},
    BgTextControl{K::PushButton, IDC_BGTEXT_START2, u"All", 48, 11, 30, 12, "IDC_BGTEXT_START2"},
    BgTextControl{K::PushButton, IDC_BGTEXT_STOP, u"Stop", 80, 11, 30, 12, "IDC_BGTEXT_STOP"},
    BgTextControl{K::PushButton, IDC_BGTEXT_REFRESH, u"Refresh", 112, 11, 34, 12, "IDC_BGTEXT_REFRESH"},
    BgTextControl{K::RichEdit, IDC_BGTEXT_RE_FILTER, u"", 152, 10, 60, 13, "IDC_BGTEXT_RE_FILTER"},
    BgTextControl{K::RichEdit, IDC_BGTEXT_RE, u"", 16, 24, 382, 252, "IDC_BGTEXT_RE"},
    BgTextControl{K::Label, IDC_BGTEXT_LABEL, u"Status line", 16, 280, 370, 9, "IDC_BGTEXT_LABEL"},
};
static_assert(kControls.size() == 8);

DWORD style_of(const BgTextControl& c) {
    const DWORD shown = WS_CHILD | WS_VISIBLE;
    switch (c.kind) {
        case K::RichEdit:
            if (c.id == IDC_BGTEXT_RE_FILTER) return shown | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
            return shown | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        case K::CheckBox:
        case K::PushButton:
            return shown | WS_TABSTOP;
        default:
            return shown;
    }
}

}  // namespace

std::span<const BgTextControl> bgtext_controls() { return kControls; }

void register_bgtext_template() {
    if (PL_FindDialogTemplate(IDD_BGTEXT)) return;
    DialogTemplate t;
    t.id = IDD_BGTEXT;
    t.caption = u"Dialog";
    t.cx = 400;
    t.cy = 292;
    t.font_face = u"MS Shell Dlg";
    t.font_points = 8;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT;
    for (const BgTextControl& c : kControls)
        t.controls.push_back(ControlTemplate{c.kind, c.id, std::u16string(c.caption), c.x, c.y, c.cx, c.cy, style_of(c), 0});
    PL_RegisterDialogTemplate(std::move(t));
}
