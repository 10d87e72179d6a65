// The character table, the settings window and the About box in real Qt widgets (offscreen): opened from the main
// window's commands, shown with their rows and texts, closed by their buttons. A picture of the
// character table goes to the build folder (dialogs_char_table.png) for a person to look at.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPixmap>
#include <QWidget>

#include "dictionary/main_window.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/qt/qt_backend.h"
#include "platform/richedit.h"
#include "resources/resources.h"
#include "resources/secondary.h"
#include "shell/window_state.h"
#include "support/checker_start.h"
#include "support/temp_folder.h"
#include "windows/char_table_window.h"
#include "windows/secondary_windows.h"
#include "windows/settings_window.h"

// Drawing the windows into a picture loads fonts; fontconfig keeps what it loaded for the life of
// the process, which the leak checker of the sanitizer builds would report (not ours to fix).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

TEST(DialogsQt, CharacterTableSettingsAndAboutOpenShowAndClose) {
    jux_test::TempFolder data("dialogs_qt");
    std::filesystem::copy(JUX_DEMO_DIR, data.path(), std::filesystem::copy_options::recursive);
    const std::filesystem::path cwd = std::filesystem::current_path();
    platform_set_backend(make_qt_backend());
    qt_set_test_answers(true);
    reset_secondary_windows();
    ASSERT_TRUE(jux_test::start_checker_over(data.path()));

    PL_SendCommand(hMain, IDM_ASCII);
    ASSERT_TRUE(IsWindow(hAscii));
    QWidget* table = qt_widget(hAscii);
    ASSERT_TRUE(table && table->isVisible());
    const QListWidget* list = table->findChild<QListWidget*>();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->count(), 256);
    EXPECT_EQ(list->item(65)->text(), QString::fromUtf8("(41)  65  A "));
    EXPECT_EQ(GetDlgItemTextW(hAscii, IDC_ASCII_COUNT), u"count: 1920");
    EXPECT_TRUE(RE_GetTextW(hAsciiReUtf8).starts_with(u"C2 80   \u0080\r"));
    EXPECT_TRUE(table->grab().save(QString::fromStdString((std::filesystem::path(JUX_SHOT_DIR) / "dialogs_char_table.png").string())));
    headless_click(hAscii, IDC_ASCII_CANCEL);
    EXPECT_FALSE(IsWindow(hAscii));

    PL_SendCommand(hMain, IDM_SETTINGS);
    ASSERT_TRUE(IsWindow(hSettings));
    EXPECT_TRUE(qt_widget(hSettings)->isVisible());
    EXPECT_EQ(qt_widget(hSettings)->windowTitle(), QString::fromUtf8(" Settings"));
    EXPECT_TRUE(qt_widget(hSettings)->grab().save(QString::fromStdString((std::filesystem::path(JUX_SHOT_DIR) / "dialogs_settings.png").string())));
    headless_click(hSettings, IDC_SETTINGS_OK);
    EXPECT_FALSE(IsWindow(hSettings));

    // The About box, modal: shown with its texts, closed by OK.
    bool shown = false;
    std::u16string runs;
    qt_test_answers().on_modal = [&](HWND box) {
        shown = qt_widget(box) && qt_widget(box)->isVisible() && qt_widget(box)->windowTitle() == "About";
        runs = GetDlgItemTextW(box, IDC_ABOUT_RUNS);
        headless_click(box, IDC_ABOUT_OK);
    };
    run_counter = 2;
    PL_SendCommand(hMain, IDA_ABOUT);
    EXPECT_TRUE(shown);
    EXPECT_EQ(runs, u"run 2 times");
    qt_test_answers().on_modal = nullptr;

    headless_install();  // the windows go with the Qt backend
    reset_secondary_windows();
    std::filesystem::current_path(cwd);
}

}  // namespace
