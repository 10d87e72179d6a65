// The program's windows on the Qt backend (test answers on) over a copy of the demonstration
// lexicon: the main window and the text checker started, the panels' shared menu built.
#pragma once

#include "platform/headless.h"
#include "platform/qt/qt_backend.h"
#include "shell/ui_services.h"
#include "support/checker_start.h"
#include "support/temp_folder.h"

namespace jux_test {

struct ProgramOnQt {
    explicit ProgramOnQt(const char* name) : data(name), cwd(std::filesystem::current_path()) {
        std::filesystem::copy(JUX_DEMO_DIR, data.path(), std::filesystem::copy_options::recursive);
        platform_set_backend(make_qt_backend());
        qt_set_test_answers(true);
        started = start_checker_over(data.path());
        build_popup_all(false);
    }
    ~ProgramOnQt() {
        headless_install();  // the windows go with the Qt backend
        qt_set_test_answers(false);
        std::filesystem::current_path(cwd);
    }
    TempFolder data;
    std::filesystem::path cwd;
    bool started = false;
};

}  // namespace jux_test
