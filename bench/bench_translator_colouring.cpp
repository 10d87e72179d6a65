// libs: engine_run dictionary lexicon shell platform
// Benchmark of the colouring of English text for translators over a 100,000-word text in a
// headless panel: the hard and rare words alone (argument 0, every run), and with the known runs
// of 2 to 28 words and the first letters (argument 1, machine translation on), and the same with
// an English-Bulgarian dictionary (argument 2). The lists are generated: 20,000 ranked English
// words, 2,000 hard ones, 1,000 word-class entries and 1,000 two-word phrases; the dictionary holds
// the 20,000 words and 10,000 two-word phrases.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "bench_panels.h"
#include "bench_random.h"
#include "dictionary/loading.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "engine/translator_colouring.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "shell/lists.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/window_state.h"

namespace {

constexpr int kVocabulary = 20'000;

std::string word(std::uint32_t id) {
    Lcg rnd{id * 104729ull + 3};
    std::string w;
    const int len = 3 + static_cast<int>(rnd() % 8);
    for (int i = 0; i < len; ++i) w += static_cast<char>('a' + rnd() % 26);
    return w + std::to_string(id % 10);  // distinct words
}

void write(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

void BM_TranslatorColouringOf100000Words(benchmark::State& state) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("jux_bench_colouring_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);  // the run writes its exports into the working folder
    headless_install();
    reset_shell();
    reset_lexicon();
    reset_engine();
    make_checker_panels();
    smake();
    smake2();
    smakeR();

    std::string ranked, hard, classes;
    for (int i = 0; i < kVocabulary; ++i) ranked += word(i) + " " + std::to_string(i * 6) + "\r\n";
    for (int i = 0; i < kVocabulary; i += 10) hard += word(i) + " x\r\n";
    for (int i = 5; i < kVocabulary; i += 20) classes += word(i) + " д\r\n";
    for (int i = 7; i < kVocabulary; i += 20) classes += word(i) + "_" + word(i + 1) + " д\r\n";
    write(dir / (m[M_WL_ENGLISH].name + ".txt"), ranked);
    write(dir / "c" / "hard.txt", hard);
    write(dir / "c" / "c_c11.txt", classes);
    if (state.range(0) == 2) {  // an English-Bulgarian dictionary of every word and 10,000 two-word phrases
        std::string en_bg;
        for (int i = 0; i < kVocabulary; ++i) en_bg += word(i) + " д\r\n";
        for (int i = 1; i < kVocabulary; i += 2) en_bg += word(i) + "_" + word(i + 3) + " д\r\n";
        write(dir / "b_english_bulgarian.txt", en_bg);
        load_dictionaries(dir);
    }
    fl_to_list(dir, m[M_WL_ENGLISH]);
    load_word_classes(dir);

    std::u16string text;
    Lcg rnd{17};
    for (int i = 0; i < 100'000; ++i) {
        const std::uint32_t id = (rnd() % kVocabulary) * (rnd() % kVocabulary) / kVocabulary;
        const std::string w = word(id);
        text += std::u16string(w.begin(), w.end());
        text += i % 12 == 11 ? u". " : u" ";
    }
    RE_SetTextW(hBigReRight, text);
    gl_PARSE_LATIN_WORDS = 0;
    gl_CHECK_PUNCTUATION = 0;
    gl_MACHINE_TRANSLATION = 0;
    std::string t8;
    std::u16string t16;
    translate_text(hBig, hBigReRight, hBigReLeft, GetDlgItem(hBig, IDC_BIG_LABEL), t8, t16, "bench");
    gl_TEXT_COLORING = 1;
    gl_COLOR_RARE = 1;
    const bool machine = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        ColorRangeOn(hBigReRight, 0, RE_GetTextLength(hBigReRight), CFM_COLOR | CFM_BOLD | CFM_UNDERLINE, 0, 0);
        state.ResumeTiming();
        RE_SetRedraw(hBigReRight, false);
        if (machine) colour_for_translators(hBigReRight, store1.rec);
        colour_hard_and_rare(hBigReRight, store1.rec);
        RE_SetRedraw(hBigReRight, true);
    }
    state.counters["tokens"] = static_cast<double>(store1.rec.count());
    DestroyWindow(hBig);
    std::filesystem::current_path(cwd);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_TranslatorColouringOf100000Words)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
