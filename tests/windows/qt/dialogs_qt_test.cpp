// The character table and the settings window in real Qt widgets (offscreen): opened from the main
// window's commands, shown with their rows and texts, closed by their buttons. A picture of the
// character table goes to the build folder (dialogs_char_table.png) for a person to look at.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPixmap>
#include <QWidget>

#include "dictionary/main_window.h"
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

TEST(DialogsQt, CharacterTableAndSettingsOpenShowAndClose) {
    jux_test::TempFolder data("dialogs_qt");
    std::filesystem::copy(JUX_DEMO_DIR, data.path(), std::filesystem::copy_options::recursive);
    const std::filesystem::path cwd = std::filesystem::current_path();
    platform_set_backend(make_qt_backend());
    qt_set_test_answers(true);
    reset_secondary_windows();
    ASSERT_TRUE(jux_test::start_checker_over(data.path()));

    SendCommand(hMain, IDM_ASCII);
    ASSERT_TRUE(IsWindow(hAscii));
    QWidget* table = qt_widget(hAscii);
    ASSERT_TRUE(table && table->isVisible());
    const QListWidget* list = table->findChild<QListWidget*>();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->count(), 256);
    EXPECT_EQ(list->item(65)->text(), QString::fromUtf8("(41)  65  A "));
    EXPECT_EQ(GetDlgItemTextW(hAscii, IDC_ASCII_COUNT), u"count: 1920");
    EXPECT_TRUE(RE_GetTextW(hAsciiReUtf8).starts_with(u"C2 80   \u0080\r"));
    EXPECT_TRUE(table->grab().save(QString::fromStdString((cwd / "dialogs_char_table.png").string())));
    headless_click(hAscii, IDC_ASCII_CANCEL);
    EXPECT_FALSE(IsWindow(hAscii));

    SendCommand(hMain, IDM_SETTINGS);
    ASSERT_TRUE(IsWindow(hSettings));
    EXPECT_TRUE(qt_widget(hSettings)->isVisible());
    EXPECT_EQ(qt_widget(hSettings)->windowTitle(), QString::fromUtf8(" Settings"));
    EXPECT_TRUE(qt_widget(hSettings)->grab().save(QString::fromStdString((cwd / "dialogs_settings.png").string())));
    headless_click(hSettings, IDC_SETTINGS_OK);
    EXPECT_FALSE(IsWindow(hSettings));

    headless_install();  // the windows go with the Qt backend
    reset_secondary_windows();
    std::filesystem::current_path(cwd);
}

}  // namespace
