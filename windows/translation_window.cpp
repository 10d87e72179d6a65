#include "windows/translation_window.h"

#include <algorithm>

#include "lexicon/display.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "resources/resources.h"
#include "resources/text_windows.h"
#include "shell/files.h"
#include "shell/panels.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/checker_file_commands.h"
#include "windows/checker_state.h"
#include "windows/checker_web.h"
#include "windows/control_handles.h"
#include "windows/find_replace_window.h"
#include "windows/secondary_panels.h"

HWND hTran;
HWND hTranReLeft;
HWND hTranReRight;
HWND hTranLabel;
HWND hTranWrap;
HWND hTranNov;

namespace {

constexpr DWORD kPaneMask = 0x041A0011;  // change, drag-drop done, mouse, selection, drops, links
constexpr LONG kPaneLimit = 0x7FFFFF;
constexpr int kPaneX = 24;
constexpr int kLabelFromBottom = 19;
// The two layouts: the left pane's width, the right pane's x and how much narrower than the
// client area it is.
struct Layout {
    int left_width, right_x, right_less;
};
constexpr Layout kNormal{370, 397, 400};
constexpr Layout kNarrow{220, 247, 250};

// In the order they are fetched; the box is ticked right after it is fetched.
const ControlHandle kHandles[]{
    {IDC_TRAN_WRAP, &hTranWrap}, {IDC_TRAN_LABEL, &hTranLabel}, {IDC_TRAN_RE_LEFT, &hTranReLeft},
    {IDC_TRAN_RE_RIGHT, &hTranReRight}, {IDC_TRAN_NOV, &hTranNov},
};

void lay_out(HWND dlg, const Layout& l) {
    if (!IsWindow(dlg)) return;
    const RECT c = GetClientRect(dlg);
    const int w = c.width(), h = c.height();
    const HWND label = GetDlgItem(dlg, IDC_TRAN_LABEL);
    const RECT lr = GetWindowRect(label);
    MoveWindow(label, kPaneX, h - kLabelFromBottom, lr.width(), lr.height(), true);
    // A window too small (minimised) gets empty panes, never negative ones.
    const int pane_h = std::max(0, h - TRAN_TOP - TRAN_BOTTOM);
    MoveWindow(GetDlgItem(dlg, IDC_TRAN_RE_LEFT), kPaneX, TRAN_TOP, l.left_width, pane_h, true);
    MoveWindow(GetDlgItem(dlg, IDC_TRAN_RE_RIGHT), l.right_x, TRAN_TOP, std::max(0, w - l.right_less), pane_h, true);
}

void init(HWND dlg) {
    PL_SetWindowIcon(dlg, ICON_BIG, hicon32);
    for (const ControlHandle& h : kHandles) {
        *h.handle = JUX_GetDlgItem(dlg, h.id, control_name(translation_controls(), h.id));
        if (h.id == IDC_TRAN_WRAP) Button_SetCheck(hTranWrap, BST_CHECKED);
    }
    RE_SetBackgroundColor(hTranReLeft, bkgcolor3);
    RE_SetBackgroundColor(hTranReRight, bkgcolor1);
    for (HWND re : {hTranReLeft, hTranReRight}) {
        SetWindowFont(re, hFont, true);
        RE_SetEventMask(re, kPaneMask);
        RE_LimitText(re, kPaneLimit);
    }
    DragAcceptFiles(hTranReRight, true);
    RE_SetWordWrap(hTranReRight, true);
    for (const TextWindowToolTip& t : translation_tooltips()) CreateToolTipW(t.id, dlg, t.text);
}

void forget(HWND dlg) {
    if (hTran != dlg) return;
    if (hReFocus && GetParent(hReFocus) == dlg) hReFocus = HWND{};
    if (hReFocusPrev && GetParent(hReFocusPrev) == dlg) hReFocusPrev = HWND{};
    hTran = HWND{};
    forget_control_handles(kHandles);
}

// The web search of "G" and "Gb": the focus pane's selection or a first word, as the checker's
// buttons of the same names take it (the left pane standing for the checker's left panel).
void web_search(bool bulgarian_pages) {
    if (RE_GetTextLength(hReFocus) == 0) return;
    const std::u16string q = web_lookup_text(hReFocus, hTranReLeft);
    open_with_desktop(web_lookup_address(bulgarian_pages ? WEB_SEARCH_BG_BUTTON : WEB_SEARCH_BUTTON, q));
}

// One undo or redo step in the right pane, which tells nobody about it.
void undo_step(bool redo) {
    const DWORD mask = RE_SetEventMask(hTranReRight, 0);
    if (redo)
        RE_Redo(hTranReRight);
    else
        RE_Undo(hTranReRight);
    RE_SetEventMask(hTranReRight, mask);
}

void open_find_replace(HWND dlg) {
    if (!open_find_replace_window(dlg)) return;
    show_in_find_replace_window(utf8_to_utf16("позиция: " + std::to_string(gl_repl_start)));
}

INT_PTR on_command(HWND dlg, const Msg& m) {
    if (secondary_popup_command(static_cast<UINT>(m.id))) return 0;
    switch (m.id) {
        case IDC_TRAN_CLEAR:
            RE_SetTextW(hTranReLeft, u"");
            RE_SetTextW(hTranReRight, u"");
            SetFocus(hTranReRight);
            return 0;
        case IDC_TRAN_NARROW:
            lay_out(dlg, kNarrow);
            return 0;
        case IDC_TRAN_GOOGLE:
        case IDC_TRAN_GOOGLE_BG:
            web_search(m.id == IDC_TRAN_GOOGLE_BG);
            return 0;
        case IDC_TRAN_NOV:
            SetFocus(hReFocus);
            show_nov(gl_novstartw);
            return 0;
        case IDC_TRAN_WRAP:
            RE_SetWordWrap(hTranReRight, Button_GetCheck(hTranWrap) == BST_CHECKED);
            return 0;
        case IDC_TRAN_UNDO:
        case IDC_TRAN_REDO:
            undo_step(m.id == IDC_TRAN_REDO);
            return 1;
        case IDC_TRAN_FIND_REPLACE:
            open_find_replace(dlg);
            return 1;
        default:
            return 0;
    }
}

INT_PTR on_notify(const Msg& m) {
    track_focus_pane(m, {hTranReLeft, hTranReRight});
    // A file dropped on the right pane is shown there; the checker's Save still writes the
    // checker's own file, with its line ends.
    if (m.code == EN_DROPFILES && m.from == hTranReRight) load_beside_checker_file(m, hTranReRight);
    return 0;
}

}  // namespace

INT_PTR DialogTran(HWND dlg, const Msg& m) {
    switch (m.message) {
        case WM_INITDIALOG:
            hTran = dlg;
            init(dlg);
            return 0;
        case WM_SIZE:
            lay_out(dlg, kNormal);
            return 0;
        case WM_COMMAND:
            return on_command(dlg, m);
        case WM_NOTIFY:
            return on_notify(m);
        case WM_CONTEXTMENU:
            return secondary_context_menu(dlg, {hTranReLeft, hTranReRight}, m.pt);
        case WM_CLOSE:
            DestroyWindow(dlg);
            return 1;
        case WM_DESTROY:
            forget(dlg);
            return 0;
        default:
            return 0;
    }
}

void size_tran() { lay_out(hTran, kNormal); }

HWND open_translation_window(HWND source, bool big) {
    if (PL_GetControlKind(source) != ControlKind::RichEdit) return HWND{};
    const std::string rtf = RE_StreamOut(source, SF_RTF);
    if (rtf.size() > TRAN_HUGE_RTF) {
        const std::string q = jux_format(
            "This is a huge text (%zu RTF chars). \"Show Big\" could take a few minutes. Should I do it?", rtf.size());
        if (MessageBoxA(hMain, q, "Warning!", MB_YESNO | MB_ICONQUESTION) != IDYES) return HWND{};
    }
    if (!IsWindow(hTran)) {
        register_text_window_templates();
        CreateDialogParamW(IDD_TRAN, HWND{}, DialogTran);
        if (!IsWindow(hTran)) return HWND{};
        ShowWindow(hTran, SW_SHOW);
        UpdateWindow(hTran);
        SetWindowPos(hTran, HWND{}, 40, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    size_tran();
    gl_novstartw.clear();
    RE_SetEventMask(hTranReRight, RE_GetEventMask(hTranReRight) | ENM_CHANGE);
    SetWindowTextA(hTranLabel, std::to_string(rtf.size()));
    RE_StreamIn(hTranReRight, SF_RTF, rtf);
    RE_StreamIn(hTranReLeft, SF_RTF, rtf);
    SetWindowTextW(hTran, big ? u" Big" : u" Translation");
    RE_SetSel(hTranReLeft, CHARRANGE{0, 0});
    RE_Scroll(hTranReLeft, SB_TOP);
    return hTran;
}

void reset_translation_window() {
    hTran = hTranReLeft = hTranReRight = hTranLabel = hTranWrap = hTranNov = HWND{};
}
