// jux: the workbench as a desktop program. It starts Qt, installs the Qt backend of the platform
// stand-in, refuses to run twice, shows the main window and runs the message loop until the
// window is closed.
#include <QApplication>
#include <cstdio>

#include "app/display_check.h"
#include "app/placeholder_window.h"
#include "platform/backend.h"
#include "platform/qt/qt_backend.h"
#include "platform/window.h"

int main(int argc, char** argv) {
    if (const std::string problem = display_problem(); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 2;
    }
    int code = 0;
    {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("jux"));
        platform_set_backend(make_qt_backend());

        if (!AcquireSingleInstanceLock("jux")) {
            MessageBoxW({}, u"It's already running!", u"Oops!", MB_OK | MB_ICONERROR);
            platform_set_backend(nullptr);
            return 1;
        }

        register_placeholder_window();
        HWND main_window = CreateDialogParamW(kPlaceholderTemplate, {}, PlaceholderProc);
        if (!main_window) {
            platform_set_backend(nullptr);
            return 1;
        }
        SetWindowTextW(main_window, u"JUX Dictionary 1.0");
        ShowWindow(main_window, SW_SHOW);
        SetFocus(GetDlgItem(main_window, kPlaceholderEntryBox));
        code = RunMessageLoop();
        // The windows and the backend go while Qt is still there.
        platform_set_backend(nullptr);
    }
    return code;
}
