// libs: engine_run dictionary lexicon shell platform
// Benchmark of the word lists that end a run: the Latin-word list and the unknown-Bulgarian-words
// list of a 100,000-word text (about half of each alphabet, words drawn with a skewed frequency
// so that many occur more than once), written into a headless report panel with their titles,
// numbers, counts and colours. The token indexes are filled before each timed round, as the run's
// per-token report fills them; the lexicon is empty, so each entry's suggestion requests are the
// cheapest kind (their own cost is measured by the spelling benchmarks).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bench_panels.h"
#include "bench_random.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/run/word_lists.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/token_frequency_index.h"
#include "shell/window_state.h"

namespace {

std::string make_word(std::uint32_t id, bool cyr) {
    std::string w;
    Lcg rnd{id * 7919ull + (cyr ? 1 : 2)};
    const int len = 3 + static_cast<int>(rnd() % 8);
    for (int i = 0; i < len; ++i) w += cyr ? static_cast<char>(0xE0 + rnd() % 32) : static_cast<char>('a' + rnd() % 26);
    return w;
}

void BM_WordListsOfA100000WordText(benchmark::State& state) {
    headless_install();
    reset_shell();
    reset_lexicon();
    reset_engine();
    make_checker_panels();

    // The text's words: ids drawn so that small ids are far more common.
    std::vector<std::string> latin, cyrillic;
    Lcg rnd{99};
    for (int i = 0; i < 50'000; ++i) {
        const std::uint32_t id = (rnd() % 20'000) * (rnd() % 20'000) / 20'000;
        latin.push_back(make_word(id, false));
        cyrillic.push_back(make_word(id, true));
    }
    // Argument 1: ENGLIST_NO_BG, the English list without meanings and suggestions.
    gl_ENGLIST_NO_BG = static_cast<std::int8_t>(state.range(0));
    std::size_t entries = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RE_SetTextW(hBigReLeft, u"");
        ResetGmake();
        ResetGmake3(1);
        for (const std::string& w : latin) PutInG3(1, w);
        for (const std::string& w : cyrillic) PutInG(w);
        std::string t8;
        std::u16string t16;
        RunContext c{hBig, hBigReRight, hBigReLeft, GetDlgItem(hBig, IDC_BIG_LABEL), t8, t16};
        c.processed = latin.size() + cyrillic.size();
        state.ResumeTiming();
        english_word_list(c);
        unknown_words_list(c);
        entries = static_cast<std::size_t>((g_nd - g_floor) + (g_nd3[1] - g_floor3[1]));
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["report_chars"] = static_cast<double>(RE_GetTextLength(hBigReLeft));
    DestroyWindow(hBig);
}
BENCHMARK(BM_WordListsOfA100000WordText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
