// The main window's template: the entry box on top with its check boxes and window buttons beside
// it, the status line under it, the dictionary round the word on the left, the entry panel on the
// right and the Bulgarian, corpus and word-list panes under the entry panel. The window lays its
// controls out again whenever it is resized; the positions here are its first size.
#include "resources/resources.h"
#include "resources/secondary.h"

namespace {

DialogTemplate main_window_template() {
    DialogTemplate t;
    t.id = IDD_ADD;
    t.caption = u"JUX Dictionary";
    t.cx = 632;
    t.cy = 400;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_CENTER;
    const DWORD shown = WS_CHILD | WS_VISIBLE;
    const DWORD panel = shown | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
    const DWORD hidden_panel = WS_CHILD | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL;
    auto add = [&](ControlKind kind, int id, std::u16string_view text, int x, int y, int cx, int cy, DWORD style) {
        t.controls.push_back(ControlTemplate{kind, id, std::u16string(text), x, y, cx, cy, style, 0});
    };
    add(ControlKind::RichEdit, IDC_ADD_RE_SHORT, u"", 5, 5, 250, 14, shown | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL);
    add(ControlKind::CheckBox, IDC_ADD_SENTENCE, kAddSentenceCaption, 262, 3, 70, 9, shown | WS_TABSTOP);
    add(ControlKind::CheckBox, IDC_ADD_UPDATE_DEFINITION_AFTER_ADD, kAddUpdateCaption, 262, 13, 70, 9,
        shown | WS_TABSTOP);
    add(ControlKind::PushButton, IDC_ADD_BIG_SPELL, kAddBigSpellCaption, 336, 5, 48, 14, shown | WS_TABSTOP);
    add(ControlKind::PushButton, IDC_ADD_BIG_TRANS, kAddBigTransCaption, 387, 5, 48, 14, shown | WS_TABSTOP);
    add(ControlKind::PushButton, IDC_ADD_SHOW_LIVE, u"Show Live", 438, 5, 48, 14, shown | WS_TABSTOP);
    add(ControlKind::Label, IDC_ADD_LABEL, u"", 5, 23, 312, 9, shown);
    add(ControlKind::PushButton, IDC_ADD_CANCEL, kAddCancelCaption, 320, 21, 37, 12, shown | WS_TABSTOP);
    add(ControlKind::RichEdit, IDC_ADD_RE_DICT, u"", 5, 35, 140, 260, panel);
    add(ControlKind::RichEdit, IDC_ADD_RE_SAVED, u"", 150, 35, 285, 170, panel);
    add(ControlKind::RichEdit, IDC_ADD_RE_BG, u"", 150, 210, 95, 85, panel);
    add(ControlKind::RichEdit, IDC_ADD_RE_HYPHEN, u"", 245, 210, 95, 85, panel);
    add(ControlKind::RichEdit, IDC_ADD_RE_SHORT3, u"", 340, 210, 95, 85, panel);
    // The entry editor's controls stay hidden outside the dictionary edit mode.
    add(ControlKind::RichEdit, IDC_ADD_RE_SHORT_COPY, u"", 5, 5, 250, 14, hidden_panel);
    add(ControlKind::RichEdit, IDC_ADD_RE_LONG, u"", 150, 35, 285, 60, hidden_panel);
    add(ControlKind::Edit, IDC_ADD_TRANS_SIR, u"", 150, 35, 140, 12, WS_CHILD | WS_BORDER);
    // The audio button and the word it pronounced last, at the end of the status line.
    t.controls.push_back(ControlTemplate{ControlKind::PushButton, IDC_ADD_AUDIO_BUTTON, u"", 425, 23, 10, 9,
                                         shown | WS_TABSTOP | BS_FLAT | BS_BITMAP, IDB_AUDIO_GREEN});
    add(ControlKind::Label, IDC_ADD_AUDIO_LABEL, u"", 360, 23, 62, 9, shown);
    return t;
}

}  // namespace

void register_main_window_template() { PL_RegisterDialogTemplate(main_window_template()); }
