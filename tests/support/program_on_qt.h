// The program's windows on the Qt backend (offscreen) over the demonstration lexicon, for the tests
// that drive them with real widgets.
#pragma once

#include <filesystem>

#include "platform/headless.h"
#include "platform/qt/qt_backend.h"
#include "support/checker_start.h"
#include "support/temp_folder.h"
#include "shell/ui_services.h"

namespace jux_test {

// Installs the Qt backend with its test answers on, copies the lexicon into a folder of its own
// and starts the main window and the checker there; puts everything back when it goes.
class ProgramOnQt {
public:
    explicit ProgramOnQt(const char* name) : data_(name), cwd_(std::filesystem::current_path()) {
        std::filesystem::copy(JUX_DEMO_DIR, data_.path(), std::filesystem::copy_options::recursive);
        platform_set_backend(make_qt_backend());
        qt_set_test_answers(true);
        started_ = start_checker_over(data_.path());
        build_popup_all(false);  // the panels' shared menu, as the start-up builds it
    }
    ~ProgramOnQt() {
        headless_install();  // the windows go with the Qt backend
        qt_set_test_answers(false);
        std::filesystem::current_path(cwd_);
    }
    ProgramOnQt(const ProgramOnQt&) = delete;
    ProgramOnQt& operator=(const ProgramOnQt&) = delete;
    bool started() const { return started_; }

private:
    TempFolder data_;
    std::filesystem::path cwd_;
    bool started_ = false;
};

}  // namespace jux_test
