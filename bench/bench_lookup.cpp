// libs: dictionary_window engine audio spelling dictionary lexicon shell resources platform
// Benchmarks of the main window's look-up as you type over a generated lexicon of 100,000 English
// entries (b_en-bg, b_en-en and wl_english) and 1,000,000 Bulgarian word forms (b_bulgarian and
// the word-form index; half of the lemmas of a type without an ending table, whose paradigm is
// found through the lemma index): one keystroke is the entry box's change up to the finished
// display, on the headless backend. Each benchmark reports the median, the 99th percentile and the
// slowest of its keystrokes (counters median_ms, p99_ms and max_ms); the first keystroke that shows
// a Bulgarian paradigm is among them. The start benchmark loads the whole lexicon with every index
// the look-ups need.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench_random.h"
#include "dictionary/loading.h"
#include "dictionary/main_window.h"
#include "engine/run.h"
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

constexpr int kEnglishEntries = 100'000;
constexpr int kWordForms = 1'000'000;

// The i-th English headword: distinct, 5 to 9 small letters.
std::string english_word(int i) {
    static const char* const kStems[] = {"th", "ex", "pro", "con", "re", "st", "gr", "pl", "tr", "ma"};
    std::string w = kStems[i % 10];
    for (int v = i / 10 + 17'576; v > 0; v /= 26) w += static_cast<char>('a' + v % 26);
    return w;
}

// The i-th Bulgarian form (code page 1251): distinct, 6 to 8 small Cyrillic letters.
std::string bulgarian_form(int i) {
    std::string w = utf8_to_cp1251("пре");
    for (int v = i + 27'000; v > 0; v /= 30) w += static_cast<char>(0xE0 + v % 30);
    return w;
}

class Lexicon {
public:
    Lexicon() {
        dir_ = std::filesystem::temp_directory_path() / ("jux_bench_lookup_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_ / "bgtypes2");
        Lcg rnd{77};
        {
            std::ofstream bg(dir_ / "b_en-bg.txt", std::ios::binary), en(dir_ / "b_en-en.txt", std::ios::binary),
                ranks(dir_ / "wl_english.txt", std::ios::binary);
            for (int i = 0; i < kEnglishEntries; ++i) {
                const std::string w = english_word(i);
                bg << w << (i % 7 == 0 ? " [" + w.substr(0, 3) + "\xB1l]" : std::string()) << " n # "
                   << utf8_to_cp1251("дума, нещо") << " # " << utf8_to_cp1251("второ значение") << " @ v # "
                   << utf8_to_cp1251("правя") << "\r\n";
                en << w << " a made-up English definition of the headword number " << i << "\r\n";
                ranks << w << ' ' << 1 + rnd() % 90'000 << "\r\n";
            }
        }
        {
            std::ofstream words(dir_ / "b_bulgarian.txt", std::ios::binary),
                forms(dir_ / "bgtypes2" / kWordFormFile, std::ios::binary);
            std::vector<std::string> all;
            all.reserve(kWordForms);
            for (int i = 0; i < kWordForms; ++i) all.push_back(bulgarian_form(i));
            std::sort(all.begin(), all.end());
            for (std::size_t i = 0; i < all.size(); ++i) {
                words << all[i] << ' ' << 1 + rnd() % 200'000 << "\r\n";
                // Lemmas of four forms each, of the feminine noun type 41 (row 85).
                // Lemmas of four forms each: the feminine noun type 41 (row 85, with an ending
                // table) and row 86 (without one).
                forms << all[i] << ' ' << all[i & ~std::size_t{3}] << ((i >> 2) % 2 ? " 85 " : " 86 ") << (i & 3)
                      << "\r\n";
            }
        }
        std::ofstream(dir_ / "bgtypes2" / kEndingsFile, std::ios::binary) << utf8_to_cp1251("41 0 0 а ата и ите\r\n");
    }
    ~Lexicon() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};

Lexicon& lexicon() {
    static Lexicon l;
    return l;
}

// The program's main window over the generated lexicon, opened once.
void open_window() {
    const Lexicon& lexicon = ::lexicon();
    static bool open = false;
    if (open) return;
    headless_install();
    reset_shell();
    reset_lexicon();
    reset_engine();
    dir_alt = lexicon.dir();
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
        const std::string w = english_word(static_cast<int>(rnd() % kEnglishEntries));
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
            word = english_word(static_cast<int>(rnd() % kEnglishEntries));
            typed = 0;
        }
        ++typed;
        ms.push_back(keystroke(cp1251_to_utf16(word.substr(0, typed))));
    }
    report(state, ms, runs);
}
BENCHMARK(BM_KeystrokeWhileTyping)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2'000);

// A Bulgarian word form ("Word by word" ticked): its place among the million forms with their
// analyses, its paradigm, its report line.
void BM_KeystrokeShowsABulgarianForm(benchmark::State& state) {
    open_window();
    Button_SetCheck(hAddSentence, BST_CHECKED);
    std::vector<double> ms;
    const int runs = last_run.runs;
    Lcg rnd{11};
    for (auto _ : state) ms.push_back(keystroke(cp1251_to_utf16(bulgarian_form(static_cast<int>(rnd() % kWordForms)))));
    report(state, ms, runs);
}
BENCHMARK(BM_KeystrokeShowsABulgarianForm)->Unit(benchmark::kMillisecond)->Iterations(2'000);

// The start's part that depends on the lexicon's size: every file loaded, the word indexes of the
// spelling lists and the lemma index built.
void BM_StartWithEveryIndex(benchmark::State& state) {
    const Lexicon& l = lexicon();
    headless_install();
    for (auto _ : state) {
        reset_lexicon();
        drop_word_indexes();
        benchmark::DoNotOptimize(load_lexicon(l.dir()));
        build_word_indexes();
    }
    state.counters["word_forms"] = static_cast<double>(bgmul_ct);
    state.counters["bulgarian_words"] = static_cast<double>(b[B_BULGARIAN].count);
}
BENCHMARK(BM_StartWithEveryIndex)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
