// jux: the workbench as a desktop program. It starts Qt, installs the Qt backend of the platform
// stand-in and hands over to the start-up sequence, which runs in the folder the program was
// started in and returns the process's exit status.
#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/display_check.h"
#include "platform/backend.h"
#include "platform/qt/qt_backend.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
    if (const std::string problem = display_problem(); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 2;
    }
    std::error_code ec;
    std::filesystem::path start = std::filesystem::current_path(ec);
    if (ec) {
        std::fprintf(stderr, "jux: cannot read the start folder: %s\n", ec.message().c_str());
        return 1;
    }
    int code = 0;
    {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("jux"));
        platform_set_backend(make_qt_backend());
        code = WinMain(start);
        // The windows and the backend go while Qt is still there.
        platform_set_backend(nullptr);
    }
    return code;
}
