// The program's own pieces on the headless backend: the placeholder main window and the check
// for a display before Qt starts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/display_check.h"
#include "app/placeholder_window.h"
#include "platform/headless.h"

namespace {

class PlaceholderWindow : public ::testing::Test {
protected:
    void SetUp() override {
        headless_install();
        register_placeholder_window();
        dlg = CreateDialogParamW(kPlaceholderTemplate, {}, PlaceholderProc);
        ASSERT_TRUE(IsWindow(dlg));
    }
    void TearDown() override { platform_reset(); }
    HWND dlg{};
};

RECT rect_of(HWND h) { return platform_window(h)->rect; }

}  // namespace

TEST_F(PlaceholderWindow, PanelsFillTheWindowAndFollowItsSize) {
    const RECT c = GetClientRect(dlg);
    const RECT entry = rect_of(GetDlgItem(dlg, kPlaceholderEntryBox));
    const RECT panel = rect_of(GetDlgItem(dlg, kPlaceholderPanel));
    EXPECT_EQ(entry.left, 8);
    EXPECT_EQ(entry.right, c.right - 8);
    EXPECT_LT(entry.bottom, panel.top);
    EXPECT_EQ(panel.bottom, c.bottom - 8);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kPlaceholderEntryBox));

    headless_resize(dlg, 900, 700);
    EXPECT_EQ(rect_of(GetDlgItem(dlg, kPlaceholderEntryBox)).right, 892);
    EXPECT_EQ(rect_of(GetDlgItem(dlg, kPlaceholderPanel)).bottom, 692);
    EXPECT_EQ(rect_of(GetDlgItem(dlg, kPlaceholderEntryBox)).height(), entry.height());  // only the panel grows

    // Smaller than the margins: nothing gets a negative size.
    headless_resize(dlg, 10, 20);
    EXPECT_GE(rect_of(GetDlgItem(dlg, kPlaceholderPanel)).width(), 0);
    EXPECT_GE(rect_of(GetDlgItem(dlg, kPlaceholderPanel)).height(), 0);
}

TEST_F(PlaceholderWindow, TheEntryBoxTakesTextAndThePanelIsReadOnly) {
    headless_type(GetDlgItem(dlg, kPlaceholderEntryBox), u"дума");
    EXPECT_EQ(RE_GetTextW(GetDlgItem(dlg, kPlaceholderEntryBox)), u"дума");
    headless_type(GetDlgItem(dlg, kPlaceholderPanel), u"x");
    EXPECT_EQ(RE_GetTextW(GetDlgItem(dlg, kPlaceholderPanel)), u"");
}

TEST_F(PlaceholderWindow, CloseBoxDestroysTheWindowAndEndsTheLoop) {
    headless_close(dlg);
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_TRUE(platform_quit_requested());
    EXPECT_EQ(platform_quit_code(), 0);
    EXPECT_EQ(RunMessageLoop(), 0);
}

namespace {

// Sets the display variables for one test and puts the old values back afterwards.
class DisplayCheck : public ::testing::Test {
protected:
    static constexpr const char* kNames[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    void SetUp() override {
        for (const char* n : kNames) {
            const char* v = std::getenv(n);
            saved_.push_back(v ? std::optional<std::string>(v) : std::nullopt);
            unsetenv(n);
        }
    }
    void TearDown() override {
        for (size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i])
                setenv(kNames[i], saved_[i]->c_str(), 1);
            else
                unsetenv(kNames[i]);
        }
    }
    std::vector<std::optional<std::string>> saved_;
};

}  // namespace

TEST_F(DisplayCheck, NoDisplayIsOneClearLine) {
    const std::string p = display_problem();
    EXPECT_NE(p.find("no display"), std::string::npos) << p;
    EXPECT_EQ(p.find('\n'), std::string::npos);
}

TEST_F(DisplayCheck, AnExplicitPlatformOrWaylandIsLeftToQt) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EXPECT_EQ(display_problem(), "");
    unsetenv("QT_QPA_PLATFORM");
    setenv("WAYLAND_DISPLAY", "wayland-0", 1);
    EXPECT_EQ(display_problem(), "");
}

TEST_F(DisplayCheck, ALocalDisplayWithoutServerIsReported) {
    setenv("DISPLAY", ":64999", 1);  // no X server listens on that number
    const std::string p = display_problem();
    EXPECT_NE(p.find(":64999"), std::string::npos) << p;
    // A remote display is Qt's to try.
    setenv("DISPLAY", "somehost:0", 1);
    EXPECT_EQ(display_problem(), "");
}
