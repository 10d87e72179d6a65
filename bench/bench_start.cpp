// libs: shell_startup windows dictionary_window engine_run audio spelling dictionary lexicon shell resources platform
// The program's own start, WinMain up to its message loop, on the headless backend over a start
// folder whose data folder holds a lexicon of real size (real_size_lexicon.h: about 870,000
// Bulgarian word forms, a 30,000-entry dictionary, an English word list of 100,000 words). Arg 0:
// the dictionary edition (its main window shown); 1: the spell-checker edition (the text-checker
// window shown, the main window made hidden).
//
// Every start runs in a child process of its own (fork), so that each is a first start: nothing
// loaded, no memory of an earlier start kept. The child reports
//   loop_ms       real time from WinMain's call until its message loop runs (the benchmark's time);
//   main_cpu_ms   the processor time of the main thread in that time;
//   peak_MiB      the most memory resident at once until the loop runs, beyond what the process
//                 held before the start;
//   lookup_ms     a look-up typed into the entry box as soon as the loop runs (a Bulgarian word
//                 form: the word-form index, the lemma index, the English and Bulgarian lists): the
//                 start's helper threads have all ended by then, so it waits for none of them.
// Each counter gives the slowest (or largest) of the iterations; loop_min_ms the fastest start.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <malloc.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "bench/prose_util.h"
#include "bench/real_size_lexicon.h"
#include "dictionary/loading.h"
#include "dictionary/main_window.h"
#include "lexicon/panels.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/settings.h"
#include "shell/startup.h"

namespace {

struct Result {
    double loop_ms = 0, main_cpu_ms = 0, peak_mib = 0, lookup_ms = 0;
    bool loop_reached = false, lookup_shown = false;
};

double ms_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double thread_cpu_ms() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The start folder: its settings, and the lexicon as its data folder "alt".
struct StartFolder {
    std::filesystem::path dir;
    std::unique_ptr<real_size::Lexicon> lex;
    std::string bulgarian_form;  // a form the look-up after the start types
    StartFolder() {
        lex = real_size::make_lexicon("start", real_size::Shape{.english_entries = 30'000, .english_words = 100'000});
        dir = lex->dir.parent_path() / (lex->dir.filename().string() + "_folder");
        std::filesystem::create_directories(dir);
        std::filesystem::rename(lex->dir, dir / "alt");
        lex->dir = dir / "alt";
        std::filesystem::create_directories(dir / "runtime");
        std::filesystem::permissions(dir / "runtime", std::filesystem::perms::owner_all);
        for (const std::string& f : lex->forms)
            if (f.size() >= 9 && static_cast<unsigned char>(f[0]) >= 0xE0) {
                bulgarian_form = f;
                break;
            }
        // What the generator kept is no part of the start's memory.
        lex->forms = {};
        lex->english = {};
        malloc_trim(0);
    }
    ~StartFolder() {
        lex.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    void write_settings(bool spell_checker) const {
        real_size::detail::write_file(dir / "settings.txt", spell_checker ? "SPELL_CHECKER 1\r\n" : "START_MAIN_WINDOW 1\r\n");
    }
};

// In the child: one start, its figures written to `out`.
[[noreturn]] void start_once(const StartFolder& folder, int out) {
    setenv("XDG_RUNTIME_DIR", (folder.dir / "runtime").c_str(), 1);
    headless_install();
    jux_instance_lock_name = "jux-bench-start-" + std::to_string(getpid());
    Result r;
    malloc_trim(0);
    const long before = prose::status_kib("VmRSS");
    prose::reset_peak();
    const auto t0 = std::chrono::steady_clock::now();
    const double cpu0 = thread_cpu_ms();
    headless().on_loop = [&] {
        r.loop_ms = ms_since(t0);
        r.main_cpu_ms = thread_cpu_ms() - cpu0;
        r.loop_reached = true;
        r.peak_mib = static_cast<double>(prose::status_kib("VmHWM") - before) / 1024.0;
        const auto t1 = std::chrono::steady_clock::now();
        RE_SetTextW(hAddReShort, cp1251_to_utf16(folder.bulgarian_form));
        r.lookup_ms = ms_since(t1);
        r.lookup_shown = RE_GetTextLength(hAddReDict) > 0;
        [[maybe_unused]] const ssize_t n = write(out, &r, sizeof r);
        _exit(0);
    };
    WinMain(folder.dir);
    [[maybe_unused]] const ssize_t n = write(out, &r, sizeof r);  // the loop was never reached
    _exit(1);
}

Result start_in_child(const StartFolder& folder) {
    int fds[2];
    Result r;
    if (pipe(fds) != 0) return r;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        start_once(folder, fds[1]);
    }
    close(fds[1]);
    if (pid > 0) {
        if (read(fds[0], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) r = Result{};
        int status = 0;
        waitpid(pid, &status, 0);
    }
    close(fds[0]);
    return r;
}

void BM_StartToMessageLoop(benchmark::State& state) {
    static const StartFolder folder;
    folder.write_settings(state.range(0) != 0);
    Result worst;
    double fastest = 1e9;
    for (auto _ : state) {
        const Result r = start_in_child(folder);
        if (!r.loop_reached || !r.lookup_shown) {
            state.SkipWithError("the start did not reach its message loop, or the look-up showed nothing");
            break;
        }
        state.SetIterationTime(r.loop_ms / 1e3);
        fastest = std::min(fastest, r.loop_ms);
        worst.loop_ms = std::max(worst.loop_ms, r.loop_ms);
        worst.main_cpu_ms = std::max(worst.main_cpu_ms, r.main_cpu_ms);
        worst.peak_mib = std::max(worst.peak_mib, r.peak_mib);
        worst.lookup_ms = std::max(worst.lookup_ms, r.lookup_ms);
    }
    state.counters["loop_min_ms"] = fastest;
    state.counters["loop_ms"] = worst.loop_ms;
    state.counters["main_cpu_ms"] = worst.main_cpu_ms;
    state.counters["peak_MiB"] = worst.peak_mib;
    state.counters["lookup_ms"] = worst.lookup_ms;
}
BENCHMARK(BM_StartToMessageLoop)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace
