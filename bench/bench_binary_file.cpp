// libs: windows dictionary_window dictionary platform_qt
// A binary file opened in the checker, against prose of its size: 1,000,000 random bytes, or 1 MB
// of the project's Bulgarian prose, dropped on the text panel of the spell checker over the
// lexicon of real size (real_size_lexicon.h, the proof-reader's lists too), in the real Qt panels
// (offscreen, the window shown and painted). Timed until the program answers again: the check
// done and the events it left handled, the panels painted; what they do not show is left for idle
// time. The random bytes make a report of about 7 MB (report_chars) whose caret and view must stand
// where a full layout puts them, as the test of the panels' layout checks.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextEdit>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_random.h"
#include "bench/proof_bench_util.h"
#include "bench/qt_bench_app.h"
#include "bench/real_size_lexicon.h"
#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_panel_layout.h"
#include "platform/qt/qt_support.h"
#include "platform/richedit.h"
#include "tests/support/checker_start.h"
#include "windows/checker_state.h"

namespace {

constexpr std::size_t kBytes = 1'000'000;

// The file's bytes: random (every value but the soft hyphen), or Bulgarian prose cut at a blank.
std::string file_bytes(const real_size::Lexicon& lex, bool binary) {
    if (!binary) {
        std::string prose = make_bulgarian_prose(lex, kBytes / 5);
        prose.resize(std::min(prose.size(), kBytes));
        return prose.substr(0, prose.rfind(' '));
    }
    std::string bytes = random_bytes(kBytes);
    // A soft hyphen (byte 0xAD) raises the run's warning about soft hyphens, a message box that
    // waits for the user: blanks instead, so that only the program's own work is timed.
    std::replace(bytes.begin(), bytes.end(), '\xAD', ' ');
    return bytes;
}

// Until the events left are handled (the panels painted in them); idle time is not waited for.
void answer() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// Argument: 1 for the random bytes, 0 for the prose.
void BM_FileOpenedInTheChecker(benchmark::State& state) {
    static const std::unique_ptr<real_size::Lexicon> lex = [] {
        auto l = real_size::make_lexicon("binary_file");
        write_proof_lists(*l);
        return l;
    }();
    const std::filesystem::path file = lex->dir / "opened.txt";
    std::ofstream(file, std::ios::binary) << file_bytes(*lex, state.range(0) != 0);
    qt_bench_app();
    platform_set_backend(make_qt_backend());
    jux_test::start_checker_over(lex->dir);
    qt_widget(hBigReRight)->window()->show();
    answer();
    for (auto _ : state) {
        platform_user_dropped(hBigReRight, {file}, POINT{10, 10});
        answer();
        state.PauseTiming();
        state.counters["report_chars"] = static_cast<double>(RE_GetTextLength(hBigReLeft));
        RE_SetTextW(hBigReRight, u"");
        answer();
        for (HWND re : {hBigReRight, hBigReLeft})
            if (auto* e = qobject_cast<QTextEdit*>(qt_widget(re))) PanelLayout::lay_out_whole(*e->document());
        state.ResumeTiming();
    }
    headless_install();
    reset_checker_window();
}
BENCHMARK(BM_FileOpenedInTheChecker)->ArgName("binary")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace
