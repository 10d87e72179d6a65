// The check for a display before Qt starts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/display_check.h"

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
