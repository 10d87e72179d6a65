// libs: dictionary_window engine_run audio spelling dictionary lexicon shell resources platform
// Benchmarks of the main window's look-up as you type over a lexicon of the size and shape of a
// real one (real_size_lexicon.h: about 870,000 Bulgarian word forms of 75,000 lemmas made by the
// project's morphology, a third of them of types without an ending table, whose paradigms are found
// through the lemma index; 30,000 English entries in b_en-bg, b_en-en and wl_english): one keystroke
// is the entry box's change up to the finished display, on the headless backend. Each benchmark
// reports the median, the 99th percentile and the slowest of its keystrokes (counters median_ms,
// p99_ms and max_ms). Typing a Bulgarian word runs, at its sixth letter or so, the near-match search
// of DEEP_SPELL (a prefix of a long word has no ordinary suggestion); BM_TypingBulgarianAfterStart
// types right after a start, so that its first such search is among its keystrokes. The start
// benchmarks load the whole lexicon with every index the look-ups need.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <malloc.h>
#include <vector>

#include "bench_random.h"
#include "prose_util.h"
#include "real_size_lexicon.h"
#include "dictionary/loading.h"
#include "dictionary/main_window.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/window_state.h"
#include "spelling/word_index.h"

namespace {

// The lexicon, made once.
const real_size::Lexicon& lexicon() {
    static const std::unique_ptr<real_size::Lexicon> l = real_size::make_lexicon("lookup");
    return *l;
}

// The program's main window over the generated lexicon, opened once.
void open_window() {
    const real_size::Lexicon& lexicon = ::lexicon();
    static bool open = false;
    if (open) return;
    headless_install();
    reset_shell();
    reset_lexicon();
    reset_engine();
    dir_alt = lexicon.dir;
    create_main_window();
    smake();
    smake2();
    smakeR();
    ShowWindow(hMain, SW_SHOW);
    open = true;
}

// Puts a text into the entry box as one keystroke does (its change notification runs the look-up)
// and returns the milliseconds until the display is finished.
double keystroke(std::u16string_view text) {
    const auto t0 = std::chrono::steady_clock::now();
    RE_SetTextW(hAddReShort, text);
    const auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

// The medians and the 99th percentiles; every keystroke must have run the look-up once, and the
// last must have shown something.
void report(benchmark::State& state, std::vector<double>& ms, int runs_before) {
    if (ms.empty()) return;
    if (last_run.runs - runs_before != static_cast<int>(ms.size()) || RE_GetTextLength(hAddReDict) == 0)
        state.SkipWithError("the keystrokes did not run the look-up");
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    state.counters["max_ms"] = ms.back();
}

// The keystrokes that complete a word: each shows a headword of the dictionary. Arg: the window's
// "Word by word" box (1 ticked, as the window starts; 0 the plain look-up).
void BM_KeystrokeShowsAnEntry(benchmark::State& state) {
    open_window();
    Button_SetCheck(hAddSentence, state.range(0) ? BST_CHECKED : BST_UNCHECKED);
    std::vector<double> ms;
    const int runs = last_run.runs;
    Lcg rnd{5};
    for (auto _ : state) {
        const std::string& w = lexicon().english[rnd() % lexicon().english.size()];
        ms.push_back(keystroke(cp1251_to_utf16(w)));
    }
    report(state, ms, runs);
}
BENCHMARK(BM_KeystrokeShowsAnEntry)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2'000);

// Typing words letter by letter: every prefix is a keystroke (most prefixes are no headword; the
// dictionary is shown round the place, with spelling suggestions in the entry panel).
void BM_KeystrokeWhileTyping(benchmark::State& state) {
    open_window();
    Button_SetCheck(hAddSentence, state.range(0) ? BST_CHECKED : BST_UNCHECKED);
    std::vector<double> ms;
    const int runs = last_run.runs;
    Lcg rnd{9};
    std::string word;
    std::size_t typed = 0;
    for (auto _ : state) {
        if (typed == word.size()) {
            word = lexicon().english[rnd() % lexicon().english.size()];
            typed = 0;
        }
        ++typed;
        ms.push_back(keystroke(cp1251_to_utf16(word.substr(0, typed))));
    }
    report(state, ms, runs);
}
BENCHMARK(BM_KeystrokeWhileTyping)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2'000);

// A Bulgarian word form ("Word by word" ticked): its place among the forms with their analyses,
// its paradigm, its report line.
void BM_KeystrokeShowsABulgarianForm(benchmark::State& state) {
    open_window();
    Button_SetCheck(hAddSentence, BST_CHECKED);
    std::vector<double> ms;
    const int runs = last_run.runs;
    Lcg rnd{11};
    const std::vector<std::string>& forms = lexicon().forms;
    for (auto _ : state) ms.push_back(keystroke(cp1251_to_utf16(forms[rnd() % forms.size()])));
    report(state, ms, runs);
}
BENCHMARK(BM_KeystrokeShowsABulgarianForm)->Unit(benchmark::kMillisecond)->Iterations(2'000);

// The program's start as far as the lexicon goes: every file loaded, every index the look-ups need
// built, as the start builds them (the window's panels stay).
void start_lexicon(const std::filesystem::path& dir) {
    drop_word_indexes();
    load_lexicon_with_word_indexes(dir);
}

// Bulgarian words of at least ten letters typed letter by letter ("Word by word" ticked); every
// iteration starts the lexicon afresh and types 20 words at once, so that the first near-match
// search after a start is among the keystrokes (first_near_ms: the slowest keystroke of the first
// word). Only the keystrokes are timed.
void BM_TypingBulgarianAfterStart(benchmark::State& state) {
    open_window();
    Button_SetCheck(hAddSentence, BST_CHECKED);
    std::vector<double> ms, first;
    Lcg rnd{13};
    const std::vector<std::string>& forms = lexicon().forms;
    int runs = 0, runs_before = 0;
    for (auto _ : state) {
        state.PauseTiming();
        start_lexicon(lexicon().dir);
        runs_before = last_run.runs;
        state.ResumeTiming();
        for (int w = 0; w < 20; ++w) {
            std::string word;
            while (word.size() < 10 || static_cast<unsigned char>(word[0]) < 0xE0) word = forms[rnd() % forms.size()];
            double slowest = 0;
            for (std::size_t typed = 1; typed <= word.size(); ++typed) {
                ms.push_back(keystroke(cp1251_to_utf16(word.substr(0, typed))));
                slowest = std::max(slowest, ms.back());
            }
            if (w == 0) first.push_back(slowest);
        }
        runs += last_run.runs - runs_before;
    }
    report(state, ms, last_run.runs - runs);
    std::sort(first.begin(), first.end());
    if (!first.empty()) state.counters["first_near_ms"] = first.back();
}
BENCHMARK(BM_TypingBulgarianAfterStart)->Unit(benchmark::kMillisecond)->Iterations(3);

// The start's part that depends on the lexicon's size: every file loaded, every index the
// look-ups need built (start_lexicon). peak_MiB: the most memory the start took at once beyond what
// the process held before it (resident, after the previous lexicon was let go).
void BM_StartWithEveryIndex(benchmark::State& state) {
    const real_size::Lexicon& l = lexicon();
    headless_install();
    long peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        drop_word_indexes();
        clear_lexicon_tables();
        malloc_trim(0);
        const long before = prose::status_kib("VmRSS");
        prose::reset_peak();
        state.ResumeTiming();
        start_lexicon(l.dir);
        peak = std::max(peak, prose::status_kib("VmHWM") - before);
    }
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
    state.counters["word_forms"] = static_cast<double>(bgmul_ct);
    state.counters["bulgarian_words"] = static_cast<double>(b[B_BULGARIAN].count);
    state.counters["lemmas"] = static_cast<double>(l.lemmas);
    state.counters["analyses"] = static_cast<double>(l.analyses);
}
BENCHMARK(BM_StartWithEveryIndex)->Unit(benchmark::kMillisecond)->Iterations(5);

// Bad input: a lexicon whose 200,000 word forms are ordinary (0) or half of them the forms of one
// lemma (1). The start stays linear: both take about the same time.
void BM_StartWithOneHugeParadigm(benchmark::State& state) {
    static const std::unique_ptr<real_size::Lexicon> lexicons[2] = {
        real_size::make_lexicon("paradigm0", real_size::Shape{.forms = 200'000, .english_entries = 1'000}),
        real_size::make_lexicon("paradigm1", real_size::Shape{.forms = 100'000, .english_entries = 1'000, .one_lemma_forms = 100'000}),
    };
    const real_size::Lexicon& l = *lexicons[state.range(0)];
    headless_install();
    for (auto _ : state) start_lexicon(l.dir);
    state.counters["word_forms"] = static_cast<double>(bgmul_ct);
}
BENCHMARK(BM_StartWithOneHugeParadigm)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
