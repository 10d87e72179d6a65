// Templates 120 (find and replace), 121 (translation) and 122 (information), in dialog units.
#include <array>

#include "resources/text_windows.h"

namespace {

using K = ControlKind;

constexpr std::array kFindReplace{
    TextWindowControl{K::PushButton, 1235, u"Find Next", 208, 18, 42, 14, "", BS_DEFPUSHBUTTON},
    TextWindowControl{K::PushButton, 1236, u"Replace", 208, 39, 42, 14, ""},
    TextWindowControl{K::PushButton, 1240, u"Replace all", 208, 59, 42, 14, ""},
    TextWindowControl{K::PushButton, 1234, u"Cancel", 208, 79, 42, 14, ""},
    TextWindowControl{K::RichEdit, 1232, u"", 48, 17, 159, 37, "IDC_REPL_RE_FIND"},
    TextWindowControl{K::RichEdit, 1233, u"", 48, 57, 159, 37, "IDC_REPL_RE_REPL"},
    TextWindowControl{K::CheckBox, 1237, u"Match whole word", 48, 97, 139, 10, "IDC_REPL_WHOLE"},
    TextWindowControl{K::CheckBox, 1238, u"Match case", 48, 108, 142, 10, "IDC_REPL_CASE"},
    TextWindowControl{K::CheckBox, 1239, u"Search up", 48, 120, 139, 10, "IDC_REPL_UP"},
    TextWindowControl{K::Label, -1, u"Find what:", 12, 18, 35, 8, ""},
    TextWindowControl{K::Label, -1, u"Replace with:", 3, 58, 44, 8, ""},
    TextWindowControl{K::Label, 1242, u"Label", 50, 4, 201, 8, "IDC_REPL_RE_LAB"},
};
static_assert(kFindReplace.size() == 12);

constexpr std::array kTranslation{
    TextWindowControl{K::RichEdit, 1251, u"", 16, 24, 250, 340, "IDC_TRAN_RE_LEFT"},
    TextWindowControl{K::RichEdit, 1252, u"", 268, 24, 371, 340, "IDC_TRAN_RE_RIGHT"},
    TextWindowControl{K::PushButton, 1253, u"clr", 1, 25, 14, 13, ""},
    TextWindowControl{K::PushButton, 1254, u"<-", 1, 63, 14, 13, ""},
    TextWindowControl{K::PushButton, 1255, u"G", 1, 221, 14, 13, ""},
    TextWindowControl{K::PushButton, 1256, u"Gb", 1, 233, 14, 13, ""},
    TextWindowControl{K::PushButton, 1257, u"N", 1, 257, 14, 13, "IDC_TRAN_NOV"},
    TextWindowControl{K::PushButton, 1259, u"Undo", 174, 8, 32, 12, ""},
    TextWindowControl{K::PushButton, 1260, u"Redo", 208, 8, 32, 12, ""},
    TextWindowControl{K::PushButton, 1262, u"Find+replace", 242, 8, 50, 12, ""},
    TextWindowControl{K::CheckBox, 1258, u"Word Wrap", 427, 10, 53, 10, "IDC_TRAN_WRAP"},
    TextWindowControl{K::Label, 1261, u"Status line", 15, 366, 308, 12, "IDC_TRAN_LABEL"},
};
static_assert(kTranslation.size() == 12);

constexpr std::array kInfo{
    TextWindowControl{K::RichEdit, 1279, u"", 0, 0, 224, 127, "IDC_INFO_RE_TOP"},
    TextWindowControl{K::RichEdit, 1280, u"", 0, 127, 224, 63, "IDC_INFO_RE_BOT"},
};

constexpr std::array kTranslationTips{
    TextWindowToolTip{1253, u"Изтрий текста в двата панела"},
    TextWindowToolTip{1255, u"Търси избраната дума в Google"},
    TextWindowToolTip{1256, u"Търси избраната дума в Google - само в български сайтове"},
};

DWORD style_of(const TextWindowControl& c, bool want_return) {
    const DWORD shown = WS_CHILD | WS_VISIBLE;
    switch (c.kind) {
        case K::RichEdit:
            return shown | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
                   ES_AUTOHSCROLL | (want_return ? DWORD{ES_WANTRETURN} : DWORD{0});
        case K::CheckBox:
        case K::PushButton:
            return shown | WS_TABSTOP | c.extra_style;
        default:
            return shown;
    }
}

DialogTemplate make(int id, std::u16string_view caption, int cx, int cy, DWORD style,
                    std::span<const TextWindowControl> controls, bool want_return) {
    DialogTemplate t;
    t.id = id;
    t.caption = std::u16string(caption);
    t.cx = cx;
    t.cy = cy;
    t.font_face = u"MS Shell Dlg";
    t.font_points = 8;
    t.style = style;
    for (const TextWindowControl& c : controls)
        t.controls.push_back(ControlTemplate{c.kind, c.id, std::u16string(c.caption), c.x, c.y, c.cx, c.cy,
                                             style_of(c, want_return), 0});
    return t;
}

}  // namespace

std::span<const TextWindowControl> find_replace_controls() { return kFindReplace; }
std::span<const TextWindowControl> translation_controls() { return kTranslation; }
std::span<const TextWindowControl> info_controls() { return kInfo; }
std::span<const TextWindowToolTip> translation_tooltips() { return kTranslationTips; }

std::string_view control_name(std::span<const TextWindowControl> controls, int id) {
    for (const TextWindowControl& c : controls)
        if (c.id == id) return c.name;
    return {};
}

void register_text_window_templates() {
    PL_RegisterDialogTemplate(make(IDD_REPL, u"Dialog", 256, 134, WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT,
                                kFindReplace, false));
    PL_RegisterDialogTemplate(make(IDD_TRAN, u"", 641, 381,
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME |
                                    DS_SETFONT,
                                kTranslation, false));
    PL_RegisterDialogTemplate(make(IDD_INFO, u"Dialog", 224, 190,
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                                    DS_SETFONT | DS_FIXEDSYS | DS_SYSMODAL | DS_SETFOREGROUND,
                                kInfo, true));
}
