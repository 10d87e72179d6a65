// libs: proofreading engine_run dictionary lexicon shell platform
// Benchmarks of the proof-reader: every built pass over a generated Bulgarian text of 100,000 words
// (paragraphs, dialogue lines, quotation marks and a few typographic faults of each kind the
// passes look for), in normal and in novel mode, and over one paragraph of 10 MB. The text is cut
// into token store 1 once; each iteration proof-reads it into an emptied report panel and marks
// the source panel. Counters: words per second and findings written.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench_random.h"
#include "engine/proofreading/pass_order.h"
#include "proof_bench_util.h"
#include "engine/proofreading/proof_reader.h"
#include "engine/proofreading/proof_report.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "engine/tokeniser.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/window_state.h"

namespace {

std::string word(Lcg& rnd) {
    const int len = 1 + static_cast<int>(rnd() % 9);
    std::string w;
    for (int i = 0; i < len; ++i) w += static_cast<char>(0xE0 + rnd() % 32);
    return w;
}

// About `words` words of Bulgarian-looking text; with `paragraphs` off, one paragraph.
std::string make_text(std::size_t words, bool paragraphs) { return make_book_text(words, paragraphs, 77, word); }

struct ProofFixture {
    HWND dialog = make_proof_panels();
};

ProofFixture& fixture() {
    static ProofFixture f;
    return f;
}

void proof_text(benchmark::State& state, const std::string& text, bool novel) {
    ProofFixture& f = fixture();
    (void)f;
    const std::size_t records = put_source(text);
    gl_NOVEL_MODE = novel ? 1 : 0;
    for (auto _ : state) {
        RE_SetTextW(hBigReLeft, u"");
        proof_read(hBigReRight, hBigReLeft, records, CHARRANGE{});
    }
    state.counters["words_per_s"] =
        benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["report_lines"] = static_cast<double>(RE_GetLineCount(hBigReLeft));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_ProofRead100kWords(benchmark::State& state) {
    static const std::string text = make_text(100'000, true);
    proof_text(state, text, false);
}
BENCHMARK(BM_ProofRead100kWords)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_ProofRead100kWordsNovelMode(benchmark::State& state) {
    static const std::string text = make_text(100'000, true);
    proof_text(state, text, true);
}
BENCHMARK(BM_ProofRead100kWordsNovelMode)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_ProofReadOneParagraphOf10MB(benchmark::State& state) {
    static const std::string text = make_text(1'700'000, false);
    proof_text(state, text, true);
}
BENCHMARK(BM_ProofReadOneParagraphOf10MB)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The word passes alone (repeated words to split words) over the 100,000-word text, in novel mode
// and with loose splitting, so that every one of them walks the store.
void BM_WordPasses100kWords(benchmark::State& state) {
    static const std::string text = make_text(100'000, true);
    fixture();
    const std::size_t records = put_source(text);
    gl_NOVEL_MODE = 1;
    gl_LOOSE_SPLIT = 1;
    ProofRun run = proof_run(hBigReRight, hBigReLeft, records);
    for (auto _ : state) {
        RE_SetTextW(hBigReLeft, u"");
        for (const PassRow& row : pass_order)
            if (row.order >= 14 && row.order <= 34 && row.run) row.run(run, row);
    }
    gl_LOOSE_SPLIT = 0;
    state.counters["words_per_s"] =
        benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["report_lines"] = static_cast<double>(RE_GetLineCount(hBigReLeft));
}
BENCHMARK(BM_WordPasses100kWords)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
