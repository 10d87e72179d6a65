// The program's windows in real Qt widgets run inside one QApplication, offscreen unless told
// otherwise.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/backend.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    platform_set_backend(nullptr);  // windows and backend go while Qt is still there
    return result;
}
