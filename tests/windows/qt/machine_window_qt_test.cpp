// The machine-translation mode in real Qt widgets (offscreen): chosen from the checker's menu, it
// opens its window, and an English paragraph pasted into the checker appears there in Bulgarian
// beside the English (the parallel display), while the English is coloured for the translator. Both windows are captured to PNG files in the build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <filesystem>

#include "engine/translator_colouring.h"
#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/qt/qt_backend.h"
#include "platform/richedit.h"
#include "shell/settings.h"
#include "shell/window_state.h"
#include "support/checker_start.h"
#include "support/temp_folder.h"
#include "windows/checker_modes.h"
#include "windows/machine_window.h"

namespace {

void shoot(HWND w, const char* name) {
    QWidget* widget = qt_widget(w);
    ASSERT_NE(widget, nullptr);
    QApplication::processEvents();
    const std::filesystem::path file = std::filesystem::path(JUX_SHOT_DIR) / name;
    ASSERT_TRUE(widget->grab().save(QString::fromStdString(file.string()), "PNG"));
    EXPECT_GT(std::filesystem::file_size(file), 1000u);
}

TEST(MachineWindowQt, MachineModeTranslatesAPastedParagraph) {
    jux_test::TempFolder data("machine_qt");
    std::filesystem::copy(JUX_DEMO_DIR, data.path(), std::filesystem::copy_options::recursive);
    const std::filesystem::path cwd = std::filesystem::current_path();
    platform_set_backend(make_qt_backend());
    qt_set_test_answers(true);
    ASSERT_TRUE(jux_test::start_checker_over(data.path()));
    gl_COLOR_RARE = 1;
    PL_SendCommand(hBig, static_cast<int>(IDM_BIG_MACHINE));
    ASSERT_TRUE(IsWindow(hMachine));
    EXPECT_EQ(GetWindowTextW(hMachine), kMachineTitle);
    // At the bottom right of the screen, the whole window, menu bar included, 40 pixels above the
    // screen's bottom edge; its status line empty.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = qt_widget(hMachine)->frameGeometry();
    EXPECT_EQ(frame.right(), screen.right());
    EXPECT_EQ(frame.bottom(), screen.bottom() - 40);
    EXPECT_EQ(GetWindowTextW(hMachineLabel), u"");
    Button_SetCheck(hMachineMixed, BST_CHECKED);  // "Смесен текст": English and Bulgarian side by side
    PL_SendCommand(hMachine, 1289);
    ASSERT_EQ(gl_SHOW_PARALLEL_TRANSLATION, 1);
    PL_SetClipboardTextW(u"The dog reads a book. I have a big house. She writes a letter. The old teacher walks to "
                      u"the river. Good morning!");
    PL_SendCommand(hBig, 1319);  // "Paste": the text in place of the right panel's, then one check
    const std::u16string shown = RE_GetTextW(hMachineRe);
    EXPECT_NE(shown.find(u"Кучето чете книга."), std::u16string::npos);
    EXPECT_NE(shown.find(u"The dog reads a book."), std::u16string::npos);
    EXPECT_NE(shown.find(u"Тя пише писмо."), std::u16string::npos);
    // The English text is coloured for the translator: "Good morning" is a known run of two words.
    const LONG good = static_cast<LONG>(RE_GetTextW(hBigReRight).find(u"Good morning"));
    ASSERT_GE(good, 0);
    EXPECT_EQ(RE_GetCharFormatAt(hBigReRight, good + 2).crTextColor, kRunColours[0]);
    shoot(hMachine, "jux-machine-window.png");
    shoot(hBig, "jux-machine-checker.png");
    headless_install();  // the windows go with the Qt backend
    std::filesystem::current_path(cwd);
}

}  // namespace
