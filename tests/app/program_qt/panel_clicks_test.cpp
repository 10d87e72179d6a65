// Right clicks on the program's windows in real Qt widgets (offscreen): a click just inside any
// edge of a panel opens that panel's menu and leaves the panels where they are; a click on the
// window's surface just outside a panel opens none (unless the text checker's boundary, which a
// click on its surface moves, brings a panel under the cursor).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <string>
#include <vector>

#include "engine/run_state.h"
#include "shell/window_state.h"
#include "support/program_on_qt.h"
#include "windows/bgtext_window.h"
#include "windows/checker_layout.h"
#include "windows/info_window.h"
#include "windows/machine_window.h"
#include "windows/translation_window.h"

namespace {

QRect screen_rect(QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

// A point `by` pixels from the middle of one edge of `r`: inward for a positive `by`, outward for
// a negative one (sides: 0 top, 1 bottom, 2 left, 3 right).
QPoint off_edge(const QRect& r, int side, int by) {
    const QPoint mid = r.center();
    switch (side) {
        case 0: return {mid.x(), r.top() + by};
        case 1: return {mid.x(), r.bottom() - by};
        case 2: return {r.left() + by, mid.y()};
        default: return {r.right() - by, mid.y()};
    }
}

// The window's widget or child under a screen point, null off the window.
QWidget* under(HWND window, QPoint at) {
    QWidget* top = qt_widget(window);
    if (!top->frameGeometry().contains(at)) return nullptr;
    QWidget* child = top->childAt(top->mapFromGlobal(at));
    return child ? child : top;
}

struct WindowCase {
    const char* name;
    std::function<HWND()> open;
    std::function<std::vector<HWND>()> panels;
};

TEST(ProgramQt, RightClicksNearEveryPanelEdgeOpenThatPanelsMenuOnly) {
    jux_test::ProgramOnQt program("panel_clicks");
    ASSERT_TRUE(program.started());
    const WindowCase windows[] = {
        {"checker", [] { return hBig; }, [] { return std::vector{hBigReLeft, hBigReRight, hBigReBot}; }},
        {"info", [] { return open_info_window(); }, [] { return std::vector{hInfoReTop, hInfoReBot}; }},
        {"translation", [] { return open_translation_window(hAddReSaved, false); },
         [] { return std::vector{hTranReLeft, hTranReRight}; }},
        {"machine", [] { return open_machine_window(); }, [] { return std::vector{hMachineRe}; }},
        {"Bulgarian text", [] { return open_bgtext_window(); }, [] { return std::vector{hBgTextRe}; }},
    };
    const int distances[] = {2, -2, -12};  // inside the text; outside the panel's frame
    for (const WindowCase& wc : windows) {
        const HWND window = wc.open();
        ASSERT_TRUE(IsWindow(window)) << wc.name;
        // The whole window on the offscreen screen (800 x 600).
        const RECT r = GetWindowRect(window);
        MoveWindow(window, 0, 0, std::min<int>(r.width(), 790), std::min<int>(r.height(), 590));
        int inside_clicks = 0;
        for (HWND panel : wc.panels())
            for (int side = 0; side < 4; ++side)
                for (int by : distances) {
                    if (window == hBig) size_big(hBig);  // a click on its surface moved the boundary
                    auto* edit = qobject_cast<QTextEdit*>(qt_widget(panel));
                    ASSERT_NE(edit, nullptr) << wc.name;
                    const bool inside = by > 0;
                    const QPoint at = off_edge(screen_rect(inside ? edit->viewport() : edit), side, by);
                    const std::string where = std::string(wc.name) + " panel " + std::to_string(GetDlgCtrlID(panel)) +
                                              " side " + std::to_string(side) + " by " + std::to_string(by);
                    QWidget* target = under(window, at);
                    // Outside, only the window's bare surface counts (a neighbour has its own menu).
                    if (!inside && (!target || qt_handle_of(target) != window)) continue;
                    ASSERT_NE(target, nullptr) << where;
                    inside_clicks += inside;
                    const RECT first_before = GetWindowRect(wc.panels().front());
                    const size_t popups = qt_test_answers().popups_offered.size();
                    hReFocus = HWND{};
                    QTest::mouseClick(target, Qt::RightButton, {}, target->mapFromGlobal(at));
                    const HWND now_under = qt_handle_of(under(window, at));
                    const bool on_panel = now_under != window;
                    EXPECT_EQ(qt_test_answers().popups_offered.size(), popups + (on_panel ? 1 : 0)) << where;
                    EXPECT_EQ(hReFocus, on_panel ? now_under : HWND{}) << where;
                    if (!inside) continue;
                    EXPECT_EQ(now_under, panel) << where;
                    EXPECT_EQ(GetWindowRect(wc.panels().front()), first_before) << where;
                }
        EXPECT_EQ(inside_clicks, 4 * static_cast<int>(wc.panels().size())) << wc.name;
    }
}

}  // namespace
