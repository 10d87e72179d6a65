// Right clicks on the text checker in real Qt widgets (offscreen): a click just inside any edge of
// a panel opens that panel's menu and leaves the panels where they are; a click on the window's
// surface just outside a panel opens none (unless the boundary it moves brings a panel under it).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTextEdit>

#include <string>

#include "shell/window_state.h"
#include "support/program_on_qt.h"
#include "windows/checker_layout.h"

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

TEST(ProgramQt, RightClicksNearEveryCheckerPanelEdgeOpenThatPanelsMenuOnly) {
    jux_test::ProgramOnQt program("checker_clicks");
    ASSERT_TRUE(program.started());
    // The whole window on the offscreen screen (800 x 600), under its menu bar.
    MoveWindow(hBig, 0, 0, 790, 590);
    const int distances[] = {2, -2, -12};  // inside the text; outside the panel's frame
    int inside_clicks = 0;
    for (HWND panel : {hBigReLeft, hBigReRight, hBigReBot})
        for (int side = 0; side < 4; ++side)
            for (int by : distances) {
                size_big(hBig);  // a click on the surface moved the boundary: back to the layout
                auto* edit = qobject_cast<QTextEdit*>(qt_widget(panel));
                ASSERT_NE(edit, nullptr);
                const bool inside = by > 0;
                const QPoint at = off_edge(screen_rect(inside ? edit->viewport() : edit), side, by);
                const std::string where = std::to_string(panel.id) + " side " + std::to_string(side) + " by " +
                                          std::to_string(by);
                QWidget* target = QApplication::widgetAt(at);
                // Outside, only the window's bare surface counts (a neighbour has its own menu).
                if (!inside && (!target || qt_handle_of(target) != hBig)) continue;
                ASSERT_NE(target, nullptr) << where;
                inside_clicks += inside;
                const RECT left_before = GetWindowRect(hBigReLeft);
                const size_t popups = qt_test_answers().popups_offered.size();
                hReFocus = HWND{};
                QTest::mouseClick(target, Qt::RightButton, {}, target->mapFromGlobal(at));
                // On the surface the click moves the boundary between the panels first (as the
                // window's splitter); the menu is the one of the panel under the cursor then, if any.
                const HWND under = qt_handle_of(QApplication::widgetAt(at));
                const bool on_panel = under != hBig;
                EXPECT_EQ(qt_test_answers().popups_offered.size(), popups + (on_panel ? 1 : 0)) << where;
                EXPECT_EQ(hReFocus, on_panel ? under : HWND{}) << where;
                if (!inside) continue;
                EXPECT_EQ(under, panel) << where;
                EXPECT_EQ(GetWindowRect(hBigReLeft), left_before) << where;
            }
    EXPECT_EQ(inside_clicks, 12);
}

}  // namespace
