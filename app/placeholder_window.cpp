#include "app/placeholder_window.h"

#include <algorithm>

#include "platform/richedit.h"

namespace {
constexpr int kMargin = 8;        // pixels around and between the panels
constexpr int kEntryHeight = 30;  // the entry box's height in pixels
constexpr int kMainIcon = 115;    // the program's icon
}  // namespace

void register_placeholder_window() {
    DialogTemplate t;
    t.id = kPlaceholderTemplate;
    t.cx = 320;
    t.cy = 220;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_CENTER;
    const DWORD panel = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;
    t.controls.push_back(ControlTemplate{ControlKind::RichEdit, kPlaceholderEntryBox, u"", 5, 5, 310, 18, panel, 0});
    t.controls.push_back(
        ControlTemplate{ControlKind::RichEdit, kPlaceholderPanel, u"", 5, 28, 310, 187, panel | WS_VSCROLL, 0});
    RegisterDialogTemplate(std::move(t));
}

void layout_placeholder(HWND dlg, int cx, int cy) {
    const int width = std::max(0, cx - 2 * kMargin);
    MoveWindow(GetDlgItem(dlg, kPlaceholderEntryBox), kMargin, kMargin, width, kEntryHeight);
    const int top = 2 * kMargin + kEntryHeight;
    MoveWindow(GetDlgItem(dlg, kPlaceholderPanel), kMargin, top, width, std::max(0, cy - top - kMargin));
}

INT_PTR PlaceholderProc(HWND dlg, const Msg& m) {
    switch (m.message) {
        case WM_INITDIALOG: {
            SetWindowIcon(dlg, ICON_BIG, LoadIconRes(kMainIcon));
            SetWindowIcon(dlg, ICON_SMALL, LoadIconRes(kMainIcon));
            RE_SetWordWrap(GetDlgItem(dlg, kPlaceholderEntryBox), false);
            RE_SetReadOnly(GetDlgItem(dlg, kPlaceholderPanel), true);
            const RECT c = GetClientRect(dlg);
            layout_placeholder(dlg, c.width(), c.height());
            return 1;  // the focus goes to the entry box
        }
        case WM_SIZE:
            layout_placeholder(dlg, m.cx, m.cy);
            return 1;
        case WM_CLOSE:
            DestroyWindow(dlg);
            return 1;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 1;
        default:
            return 0;
    }
}
