// The QApplication of a benchmark's Qt cases (offscreen platform unless QT_QPA_PLATFORM says
// otherwise). It lives until the process ends: Qt's own data that its destructor needs is gone by
// the time static objects are destroyed.
#pragma once

#include <QApplication>

#include <cstdlib>

inline QApplication& qt_bench_app() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QApplication(argc, argv);
    }();
    return *app;
}
