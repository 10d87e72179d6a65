#include "windows/info_window.h"

#include <algorithm>

#include "lexicon/display.h"
#include "lexicon/panels.h"
#include "platform/richedit.h"
#include "resources/resources.h"
#include "resources/text_windows.h"
#include "shell/settings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/secondary_panels.h"

namespace {

constexpr int kAboveScreenBottom = 165;  // pixels between the window and the screen's bottom
constexpr int kGap = 3;                  // pixels between the panels
constexpr double kRatioDown = 0.6;       // the top panel's share while gl_PRINT_DOWN is set
constexpr double kRatioLeft = 0.77;      // its share otherwise

void init(HWND dlg) {
    PL_SetWindowIcon(dlg, ICON_BIG, hicon_in);
    SetWindowTextW(dlg, u"инфо");
    hInfoReTop = JUX_GetDlgItem(dlg, IDC_INFO_RE_TOP, "IDC_INFO_RE_TOP");
    hInfoReBot = JUX_GetDlgItem(dlg, IDC_INFO_RE_BOT, "IDC_INFO_RE_BOT");
    RE_SetBackgroundColor(hInfoReTop, bkgcolor1);
    RE_SetBackgroundColor(hInfoReBot, bkgcolor3);
    RE_SetEventMask(hInfoReTop, ENM_MOUSEEVENTS);
    RE_SetEventMask(hInfoReBot, ENM_MOUSEEVENTS);
    set_secondary_panel_font({hInfoReTop, hInfoReBot});
    // The right edge at the screen's right edge, the bottom edge above the machine-translation
    // window's place.
    const RECT w = GetWindowRect(dlg);
    const RECT d = PL_GetWorkArea();
    SetWindowPos(dlg, HWND{}, d.right - w.width(), d.bottom - w.height() - kAboveScreenBottom, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    size_info_ratio_hook = size_info_ratio;
    size_info(dlg);
}

// The window's end: the information window's close is the checker's too when the checker is
// hidden and no machine-translation window is open (the program ends when the main window is
// hidden as well).
void close_info(HWND dlg) {
    DestroyWindow(dlg);
    hInfo = HWND{};
    if (!IsWindow(hMachine) && IsWindow(hBig) && !IsWindowVisible(hBig)) SendMessageW(hBig, Msg::simple(WM_CLOSE));
}

void forget(HWND dlg) {
    if (hInfo == dlg) hInfo = HWND{};
    if (hReFocus && GetParent(hReFocus) == dlg) hReFocus = HWND{};
    for (HWND* h : {&hInfoReTop, &hInfoReBot})
        if (*h && GetParent(*h) == dlg) *h = HWND{};
}

INT_PTR on_notify(const Msg& m) {
    if (m.id != IDC_INFO_RE_TOP || m.code != EN_MSGFILTER) return 0;
    switch (m.filter_msg) {
        case WM_LBUTTONDOWN:
            RE_HideSelection(hInfoReTop, false);
            break;
        case WM_LBUTTONUP:
            GetCleanToken(hInfoReTop, 1);
            hReFocus = hInfoReTop;
            break;
        case WM_LBUTTONDBLCLK:
            GetCleanToken(hInfoReTop, 1);
            break;
        default:
            break;
    }
    return 0;  // the panel handles the mouse message itself
}

}  // namespace

void size_info(HWND w) { size_info_ratio(w, gl_PRINT_DOWN ? kRatioDown : kRatioLeft); }

void size_info_ratio(HWND w, double ratio) {
    if (ratio > 1.0) return;
    if (ratio <= 0.0 || ratio == 1.0) ratio = gl_PRINT_DOWN ? kRatioDown : kRatioLeft;
    const RECT c = GetClientRect(w);
    const double h = c.height();
    MoveWindow(GetDlgItem(w, IDC_INFO_RE_TOP), 0, 0, c.width(), static_cast<int>(h * ratio), true);
    MoveWindow(GetDlgItem(w, IDC_INFO_RE_BOT), 0, static_cast<int>(h * ratio + kGap), c.width(),
               std::max(0, static_cast<int>(h * (1.0 - ratio)) - kGap), true);
}

INT_PTR DialogInfo(HWND dlg, const Msg& m) {
    switch (m.message) {
        case WM_INITDIALOG:
            hInfo = dlg;
            init(dlg);
            return 0;
        case WM_SIZE:
            size_info(dlg);
            return 0;
        case WM_NOTIFY:
            return on_notify(m);
        case WM_CONTEXTMENU:
            return secondary_context_menu(dlg, {hInfoReTop, hInfoReBot}, m.pt);
        case WM_COMMAND:
            secondary_popup_command(static_cast<UINT>(m.id));
            return 0;
        case WM_CLOSE:
            close_info(dlg);
            return 1;
        case WM_DESTROY:
            forget(dlg);
            return 0;
        default:
            return 0;
    }
}

HWND open_info_window() {
    if (IsWindow(hInfo)) return hInfo;
    const HWND focus = GetFocus();
    register_text_window_templates();
    CreateDialogParamW(IDD_INFO, HWND{}, DialogInfo);
    if (!IsWindow(hInfo)) return HWND{};
    ShowWindow(hInfo, SW_SHOW);
    UpdateWindow(hInfo);
    if (focus) {
        SetFocus(hInfo);
        SetFocus(focus);
    }
    return hInfo;
}

void reset_info_window() { hInfo = hInfoReTop = hInfoReBot = HWND{}; }
