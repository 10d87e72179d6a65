#include "windows/checker_layout.h"

#include <algorithm>
#include <array>
#include <climits>

#include "resources/checker.h"
#include "shell/settings.h"
#include "shell/window_state.h"
#include "windows/checker_state.h"

namespace {

constexpr int kWideLeft = 370;    // the left panel's width in a wide window
constexpr int kWideFrom = 770;    // client width from which the left panel keeps that width
constexpr int kPanelsX = 24;      // the left panel's and the status line's x
constexpr int kGaps = 30;         // width the gaps round the panels take
constexpr int kRightGap = 27;     // from the left panel's x to the right panel's, minus L
constexpr int kStatusFromBottom = 19;
constexpr int kBetweenPanels = 3;  // between the right and the bottom panel
constexpr UINT kShiftOnly = 0x0004;  // MK_SHIFT: the key state of a click with Shift alone held

constexpr std::array kMachineControls{
    1211, 1273, 1293, 1285, 1299, 1304, 1277, 1278, 1280, 1281, 1279, 1282, 1305, 1290,
    1301, 1302, 1307, 1312, 1298, 1310, 1303, 1318, 1288, 1306, 1289, 1308, 1291, 1309,
    1292, 1300, 1296, 1297, 1315, 1275, 1294, 1317, 1283, 1284, 1181, 1274, 1321, 1295,
};

bool machine_or_human_mode() { return gl_MACHINE_TRANSLATION == 1 || gl_ENGLISH_TRANSLATION == 1; }

void move(HWND w, int x, int y, int cx, int cy) { MoveWindow(w, x, y, std::max(0, cx), std::max(0, cy), true); }

void lay_out(HWND dlg, int left_width, double f) {
    const RECT c = GetClientRect(dlg);
    const int W = c.width(), H = c.height();
    const int T = gl_bigtop, B = gl_bigbottom;
    const int L = std::max(0, left_width);
    const int avail = std::max(0, H - B - T);
    const int R = static_cast<int>(avail * f);

    HWND status = GetDlgItem(dlg, IDC_BIG_LABEL);
    const RECT s = GetWindowRect(status);
    move(status, kPanelsX, H - kStatusFromBottom, s.width(), s.height());
    move(GetDlgItem(dlg, IDC_BIG_RE_LEFT), kPanelsX, T, L, avail);
    move(GetDlgItem(dlg, IDC_BIG_RE_RIGHT), L + kRightGap, T, W - L - kGaps, R);
    move(GetDlgItem(dlg, IDC_BIG_RE_BOT), L + kRightGap, T + R + kBetweenPanels, W - L - kGaps,
         H - R - B - T - kBetweenPanels);
}

}  // namespace

RECT client_rect_of(HWND dlg, HWND w) {
    const RECT r = GetWindowRect(w);
    const POINT tl = ScreenToClient(dlg, POINT{r.left, r.top});
    return RECT{tl.x, tl.y, tl.x + r.width(), tl.y + r.height()};
}

void size_big(HWND dlg) {
    if (!IsWindow(dlg)) return;
    const int W = GetClientRect(dlg).width();
    const int L = W < kWideFrom ? (W - kGaps) / 2 : kWideLeft;
    const double f = machine_or_human_mode() ? 0.6 : (gl_PRINT_DOWN ? 0.8 : 0.93);
    lay_out(dlg, L, f);
}

void size_big_half(HWND dlg) {
    if (!IsWindow(dlg)) return;
    const int W = GetClientRect(dlg).width();
    lay_out(dlg, (W - kGaps) / 2, machine_or_human_mode() ? 0.6 : 0.93);
}

void size_big_less(HWND dlg, int d) {
    if (!IsWindow(dlg)) return;
    HWND left = GetDlgItem(dlg, IDC_BIG_RE_LEFT);
    const HWND others[] = {GetDlgItem(dlg, IDC_BIG_RE_RIGHT), GetDlgItem(dlg, IDC_BIG_RE_BOT)};
    const RECT l = client_rect_of(dlg, left);
    // The boundary moves at most as far as the panel that gives way is wide: the left panel's
    // left edge and the other two's right edges stay, so the panels keep their gap between them
    // and stay inside the window however often the user clicks.
    int narrowest = INT_MAX;
    for (HWND w : others) narrowest = std::min(narrowest, static_cast<int>(client_rect_of(dlg, w).width()));
    d = std::clamp(d, -std::max(0, narrowest), std::max(0, static_cast<int>(l.width())));
    if (d == 0) return;
    move(left, l.left, l.top, l.width() - d, l.height());
    for (HWND w : others) {
        const RECT r = client_rect_of(dlg, w);
        move(w, r.left - d, r.top, r.width() + d, r.height());
    }
}

bool checker_splitter_click(HWND dlg, UINT message, UINT keys, POINT at) {
    // Read before the boundary moves: a panel that the move brings under the cursor was not clicked.
    bool on_control = false;
    for (HWND c : PL_GetChildren(dlg)) {
        const RECT r = client_rect_of(dlg, c);
        on_control = on_control || (IsWindowVisible(c) && at.x >= r.left && at.x < r.right && at.y >= r.top &&
                                    at.y < r.bottom);
    }
    const int step = keys == kShiftOnly ? 2 : 10;
    if (message == WM_LBUTTONUP) size_big_less(dlg, step);
    if (message == WM_RBUTTONUP) size_big_less(dlg, -step);
    return !on_control;
}

std::span<const int> machine_control_ids() { return kMachineControls; }

void ShowHideMachineControls(int sw) {
    if (!IsWindow(hBig)) return;
    for (int id : kMachineControls) ShowWindow(GetDlgItem(hBig, id), sw);
}
