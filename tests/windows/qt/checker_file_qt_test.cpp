// The text checker in real Qt widgets (offscreen): a file opened through the menu bar and the file
// dialog on screen, which the test answers as a person would, and saved as UTF-8 byte for byte.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

#include <cstdlib>
#include <filesystem>

#include "dictionary/main_window.h"
#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/qt/qt_backend.h"
#include "platform/richedit.h"
#include "shell/window_state.h"
#include "support/checker_start.h"
#include "support/temp_folder.h"
#include "windows/checker_window.h"

namespace {

// The "Файл" menu's item at `place`, chosen on the checker window's menu bar.
void choose_file_item(int place) {
    QMenu* file = qt_widget(hBig)->findChild<QMenuBar*>()->actions().at(0)->menu();
    emit file->aboutToShow();
    file->actions().at(place)->trigger();
}

TEST(CheckerQt, OpenThroughTheDialogAndSaveAsUtf8) {
    jux_test::TempFolder data("checker_qt");
    std::filesystem::copy(JUX_DEMO_DIR, data.path(), std::filesystem::copy_options::recursive);
    const std::filesystem::path cwd = std::filesystem::current_path();
    platform_set_backend(make_qt_backend());
    qt_set_test_answers(false);
    ASSERT_TRUE(jux_test::start_checker_over(data.path()));
    start_dir = data.path();

    // The person: picks `answer` in the file dialog on screen and closes the message boxes.
    std::filesystem::path answer;
    int boxes = 0;
    QTimer person;
    QObject::connect(&person, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* fd = qobject_cast<QFileDialog*>(w); fd && fd->isVisible()) {
                fd->selectFile(QString::fromStdU16String(answer.u16string()));
                QMetaObject::invokeMethod(fd, "accept");
            } else if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                ++boxes;
                box->accept();
            }
        }
    });
    person.start(0);
    const std::string text = "\xEF\xBB\xBFThe quick fox\r\nздравей, свят\r\n";
    answer = data.write("in.txt", text);
    choose_file_item(0);
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"The quick fox\rздравей, свят\r");
    answer = data.file("out.txt");
    choose_file_item(2);
    EXPECT_EQ(data.read("out.txt"), text);
    EXPECT_EQ(boxes, 1);  // "Done!"
    person.stop();
    headless_install();  // the windows go with the Qt backend
    std::filesystem::current_path(cwd);
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
