// Template 123 of the machine-translation window (positions in dialog units).
#include "resources/machine_window.h"

#include <array>

namespace {

using K = ControlKind;

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kPanel = kShown | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
                         ES_AUTOHSCROLL | ES_WANTRETURN;
constexpr DWORD kButton = kShown | WS_TABSTOP | BS_FLAT;
constexpr DWORD kCheck = kShown | WS_TABSTOP;

constexpr std::array kControls{
    MachineControl{K::RichEdit, 1277, u"", 14, 23, 406, 94, "IDC_MACHINE_RE", kPanel | WS_HSCROLL},
    MachineControl{K::PushButton, 1288, u"clr", 0, 23, 14, 13, "IDC_MACHINE_CLEAR", kButton},
    MachineControl{K::CheckBox, 1289, u"смесен текст", 48, 2, 64, 10, "IDC_MACHINE_MIXED", kCheck},
    MachineControl{K::PushButton, 1290, u"Refresh", 116, 2, 32, 12, "IDC_MACHINE_REFRESH", kButton},
    MachineControl{K::RichEdit, 1291, u"", 191, 0, 89, 22, "IDC_MACHINE_RE_FILTER", kPanel},
    MachineControl{K::Label, -1, u"filter:", 170, 2, 18, 8, "", kShown},
    MachineControl{K::Label, 1298, u"Status line", 16, 118, 360, 12, "IDC_MACHINE_LABEL", kShown},
    MachineControl{K::CheckBox, 1292, u"on", 19, 2, 24, 10, "IDC_MACHINE_ON", kCheck},
};
static_assert(kControls.size() == 8);

}  // namespace

std::span<const MachineControl> machine_controls() { return kControls; }

void register_machine_template() {
    if (PL_FindDialogTemplate(IDD_MACHINE)) return;
    DialogTemplate t;
    t.id = IDD_MACHINE;
    t.caption = u"Dialog";
    t.cx = 420;
    t.cy = 134;
    t.font_face = u"MS Shell Dlg";
    t.font_points = 8;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT |
              DS_FIXEDSYS | DS_SYSMODAL | DS_SETFOREGROUND;
    for (const MachineControl& c : kControls)
        t.controls.push_back(ControlTemplate{c.kind, c.id, std::u16string(c.caption), c.x, c.y, c.cx, c.cy, c.style, 0});
    PL_RegisterDialogTemplate(std::move(t));
}
