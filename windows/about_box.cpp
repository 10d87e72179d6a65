#include "windows/about_box.h"

#include "lexicon/tables.h"
#include "resources/secondary.h"
#include "shell/files.h"
#include "shell/window_state.h"
#include "windows/lemma_report.h"

namespace {

constexpr std::size_t kCountRoom = 128;  // bytes of the count line with its end

}  // namespace

std::string about_run_count_text() {
    std::string t = jux_format("run %d times", run_counter);
    if (t.size() > kCountRoom - 1) t.resize(kCountRoom - 1);
    return t;
}

INT_PTR DialogAbout(HWND dlg, const Msg& m) {
    switch (m.message) {
        case WM_INITDIALOG:
            SetWindowTextA(GetDlgItem(dlg, IDC_ABOUT_TEXT), authorship);  // as the start-up unscrambled it
            SetWindowTextA(GetDlgItem(dlg, IDC_ABOUT_RUNS), about_run_count_text());
            return 0;
        case WM_COMMAND:
            if (m.id == IDC_ABOUT_OK) EndDialog(dlg, 1);
            if (m.id == IDC_ABOUT_REPORTS) run_lemma_reports();
            return 0;
        case WM_CLOSE:
            EndDialog(dlg, 1);
            return 1;
        default:
            return 0;
    }
}

INT_PTR open_about_box() {
    register_secondary_templates();
    return DialogBoxParamW(IDD_ABOUT, hMain, DialogAbout);
}
