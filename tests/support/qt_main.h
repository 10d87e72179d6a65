// The main function of a test program on the Qt backend: one QApplication (offscreen unless told
// otherwise) around all its tests; windows and backend go while Qt is still there.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/backend.h"

namespace jux_test {

inline int run_qt_tests(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    platform_set_backend(nullptr);
    return result;
}

}  // namespace jux_test
