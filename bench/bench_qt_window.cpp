// libs: dictionary_window engine_run audio spelling dictionary lexicon shell resources platform_qt platform
// The main window on the Qt backend (offscreen) with "Word by word" ticked: a paste of 20,000 words
// of real-like mixed prose (2% misspelt) into the entry box, timed until the run has ended and Qt
// has handled what it left (the panels' documents filled and laid out), and then one keystroke at
// the end of the text, timed the same way. Counters: paste_s, keystroke_s (wall time), paste_cpu_s,
// keystroke_cpu_s (processor time), words.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>
#include <QTextEdit>
#include <chrono>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "bench/prose_util.h"
#include "dictionary/main_window.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "lexicon/tables.h"
#include "platform/backend.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_panel_layout.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/window_state.h"

namespace {

constexpr std::size_t kWords = 20'000;

struct Window {
    std::filesystem::path dir;
    std::u16string text;
    Window() {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "bench_qt_window";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
        platform_set_backend(make_qt_backend());
        qt_set_test_answers(true);
        reset_shell();
        reset_lexicon();
        reset_engine();
        dir = std::filesystem::temp_directory_path() / ("jux_bench_qt_window_" + std::to_string(::getpid()));
        const prose::Corpus corpus = prose::make_corpus(20'000, 3'000);
        prose::write_lexicon(corpus, dir, 180'000);
        dir_alt = dir;
        std::filesystem::current_path(dir);
        create_main_window();
        smake();
        smake2();
        smakeR();
        ShowWindow(hMain, SW_SHOW);
        Button_SetCheck(hAddSentence, BST_CHECKED);
        // The text cut after its 20,000th word.
        const std::string prose8 = prose::make_text(corpus, 200'000, 0.02);
        std::size_t words = 0, end = 0;
        for (std::size_t i = 0; i < prose8.size() && words < kWords; ++i)
            if (prose8[i] == ' ' && i > 0 && prose8[i - 1] != ' ') {
                ++words;
                end = i;
            }
        text = cp1251_to_utf16(prose8.substr(0, end));
        QCoreApplication::processEvents();
    }
    ~Window() {
        // The windows and the backend go while Qt is still there.
        DestroyWindow(hMain);
        platform_set_backend(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

Window& window() {
    static Window w;
    return w;
}

// Waits until Qt has handled what the change left: posted events, the documents laid out.
void settle() {
    QCoreApplication::processEvents();
    for (HWND re : {hAddReShort, hAddReSaved, hAddReDict, hAddReShort3})
        if (auto* e = qobject_cast<QTextEdit*>(qt_widget(re))) PanelLayout::lay_out_whole(*e->document());
}

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Processor time of the process (every thread), in seconds: on a busy machine the wall time says
// more about the others.
double cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void BM_PasteAndKeystrokeInTheMainWindow(benchmark::State& state) {
    Window& w = window();
    double paste = 0, key = 0, paste_cpu = 0, key_cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RE_SetEventMask(hAddReShort, 0);
        RE_SetTextW(hAddReShort, u"");
        RE_SetEventMask(hAddReShort, ENM_CHANGE);
        settle();
        state.ResumeTiming();
        auto t0 = std::chrono::steady_clock::now();
        double c0 = cpu_seconds();
        RE_SetSel(hAddReShort, CHARRANGE{0, -1});
        RE_ReplaceSel(hAddReShort, w.text);  // the paste: its change runs the look-up
        settle();
        paste = seconds_since(t0);
        paste_cpu = cpu_seconds() - c0;
        t0 = std::chrono::steady_clock::now();
        c0 = cpu_seconds();
        RE_SetSel(hAddReShort, CHARRANGE{-1, -1});
        RE_ReplaceSel(hAddReShort, u"s");  // one key typed at the end
        settle();
        key = seconds_since(t0);
        key_cpu = cpu_seconds() - c0;
    }
    state.counters["paste_s"] = paste;
    state.counters["keystroke_s"] = key;
    state.counters["paste_cpu_s"] = paste_cpu;
    state.counters["keystroke_cpu_s"] = key_cpu;
    state.counters["words"] = static_cast<double>(last_run.processed);
}
BENCHMARK(BM_PasteAndKeystrokeInTheMainWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
