// The Bulgarian-text window in real Qt widgets (offscreen): opened by the checker's corpus mode, a pasted
// Bulgarian text gets its statistics line, and the window is captured to a PNG file in the build
// folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QPixmap>
#include <QWidget>

#include <filesystem>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/qt/qt_backend.h"
#include "platform/richedit.h"
#include "shell/window_state.h"
#include "support/checker_start.h"
#include "support/temp_folder.h"
#include "windows/bgtext_window.h"
#include "windows/checker_modes.h"

namespace {

TEST(BgTextQt, PastedTextGetsItsStatisticsLine) {
    jux_test::TempFolder data("bgtext_qt");
    std::filesystem::copy(JUX_DEMO_DIR, data.path(), std::filesystem::copy_options::recursive);
    const std::filesystem::path cwd = std::filesystem::current_path();
    platform_set_backend(make_qt_backend());
    qt_set_test_answers(true);
    ASSERT_TRUE(jux_test::start_checker_over(data.path()));
    PL_SendCommand(hBig, static_cast<int>(IDM_BIG_CORPUS));  // "Tamsa": the corpus mode opens the window
    ASSERT_TRUE(IsWindow(hBgText));
    QWidget* window = qt_widget(hBgText);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QMenuBar*>()->actions().size(), 3);
    EXPECT_EQ(GetWindowTextW(hBgTextLabel), u"");  // nothing shown before the first pass
    PL_SetClipboardTextW(u"Вчера четох хубава книга. Днес пиша писмо до стария учител.\r"
                      u"Утре ще отида на реката с кучето.");
    hReFocus = hBgTextRe;
    PL_SendCommand(hBgText, 8086);  // the shared popup's "Paste" on the focus pane
    EXPECT_NE(GetWindowTextW(hBgTextLabel), u"Status line");
    QApplication::processEvents();
    const std::filesystem::path file = std::filesystem::path(JUX_SHOT_DIR) / "jux-bgtext-window.png";
    ASSERT_TRUE(window->grab().save(QString::fromStdString(file.string()), "PNG"));
    EXPECT_GT(std::filesystem::file_size(file), 1000u);
    headless_install();  // the windows go with the Qt backend
    std::filesystem::current_path(cwd);
}

}  // namespace
