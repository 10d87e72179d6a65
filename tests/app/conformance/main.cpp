// The conformance suite runs inside one QApplication (offscreen unless told otherwise); the
// headless cases do not need it but share the program.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/backend.h"

// Fonts Qt loads for the program's windows stay with fontconfig for the life of the process, which
// the leak checker of the sanitizer builds would report (not ours to fix).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {
QtMessageHandler g_next_handler = nullptr;  // Qt's own message output

// The offscreen platform says so each time a window is raised or grabs the keyboard: not news.
void quiet_offscreen(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("This plugin does not support"))) return;
    if (g_next_handler) g_next_handler(type, context, text);
}
}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    g_next_handler = qInstallMessageHandler(quiet_offscreen);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    platform_set_backend(nullptr);  // windows and backend go while Qt is still there
    return result;
}
