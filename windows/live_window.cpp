#include "windows/live_window.h"

#include "platform/richedit.h"
#include "resources/secondary.h"
#include "shell/settings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/secondary_panels.h"

HWND hLive;

namespace {

constexpr int kRightGap = 20;  // pixels between the window's right edge and the screen's
constexpr int kTop = 30;       // the window's top in pixels

constexpr std::u16string_view kShowMain = u"Show Main";
constexpr std::u16string_view kHideMain = u"Hide Main";
constexpr std::u16string_view kShowLive = u"Show Live";
constexpr std::u16string_view kHideLive = u"Hide Live";

// The main window's Live button and menu item.
void label_live_controls(std::u16string_view text) {
    SetDlgItemTextW(hMain, IDC_ADD_SHOW_LIVE, text);
    PL_SetMenuItemText(hMenuMain, IDM_SHOW_LIVE, text);
}

void init_live(HWND dlg) {
    PL_SetWindowIcon(dlg, ICON_BIG, hicon32);
    SetWindowTextW(dlg, u" Live clipboard");
    hLiveRe = JUX_GetDlgItem(dlg, IDC_LIVE_RE, "IDC_LIVE_RE");
    RE_SetBackgroundColor(hLiveRe, bkgcolor1);

    // A font of its own: the window opens at every start, after the checker's panels have set the
    // shared font that the translation window and the font dialog start from.
    give_secondary_panel_font({hLiveRe});

    // Its right edge 20 pixels left of the screen's, its top at 30; size and z-order kept.
    const RECT screen = PL_GetWorkArea();
    const RECT r = GetWindowRect(dlg);
    SetWindowPos(dlg, HWND{}, screen.right - r.width() - kRightGap, kTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void show_or_hide_main(HWND dlg) {
    if (IsWindowVisible(hMain)) {
        SetDlgItemTextW(dlg, IDC_LIVE_SHOW_MAIN, kShowMain);
        ShowWindow(hMain, SW_HIDE);
        UpdateWindow(hMain);
    } else {
        PopupMain(hMain);
        SetDlgItemTextW(dlg, IDC_LIVE_SHOW_MAIN, kHideMain);
        SetDlgItemTextW(hMain, IDC_ADD_HIDE_MAIN, kHideMain);
    }
}

}  // namespace

INT_PTR DialogLive(HWND dlg, const Msg& m) {
    switch (m.message) {
        case WM_INITDIALOG:
            init_live(dlg);
            return 0;
        case WM_COMMAND:
            if (m.id == IDC_LIVE_SHOW_MAIN) show_or_hide_main(dlg);
            // Ends the program exactly as the main window's close box does.
            if (m.id == IDC_LIVE_EXIT) SendMessageW(hMain, Msg::simple(WM_CLOSE));
            return 0;
        case WM_CLOSE:
            label_live_controls(kShowLive);
            if (hLive == dlg) hLive = HWND{};
            DestroyWindow(dlg);
            return 1;
        case WM_DESTROY:
            if (hLive == dlg) hLive = HWND{};
            hLiveRe = HWND{};
            return 0;
        default:
            return 0;
    }
}

HWND create_live_window() {
    if (IsWindow(hLive)) return hLive;
    register_secondary_templates();
    hLive = CreateDialogParamW(IDD_LIVE, HWND{}, DialogLive);
    return hLive;
}

void start_live_window() {
    create_live_window();
    if (OP[OPT_START_LIVE_CLIPBOARD].num_value != 0) ShowWindow(hLive, SW_SHOW);
    const bool main_shown = IsWindowVisible(hMain);
    SetDlgItemTextW(hLive, IDC_LIVE_SHOW_MAIN, main_shown ? kHideMain : kShowMain);
    if (main_shown) PL_SetMenuItemText(hMenuMain, IDM_HIDE_MAIN, kHideMain);
    label_live_controls(IsWindowVisible(hLive) ? kHideLive : kShowLive);
}

void toggle_live_window() {
    if (!IsWindow(hLive)) create_live_window();
    ShowWindow(hLive, IsWindowVisible(hLive) ? SW_HIDE : SW_SHOW);
    label_live_controls(IsWindowVisible(hLive) ? kHideLive : kShowLive);
}

void reset_live_window() { hLive = HWND{}; }
