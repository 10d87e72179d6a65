// libs: proofreading engine_run dictionary lexicon shell platform
// Benchmarks of the article, comma, capital and letter-pair passes of the proof-reader over a
// generated Bulgarian text of 100,000 words drawn from a vocabulary that meets their rules often:
// masculine nouns and adjectives in both article forms, forms of "съм", prepositions, relative
// words and one-, two-, three- and four-word conjunctions, known words with a capital inside
// sentences and letters that text recognition confuses. The text is cut into token store 1 once;
// each iteration runs the passes into an emptied report panel and marks the source panel.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench_random.h"
#include "proof_bench_util.h"
#include "dictionary/loading.h"
#include "engine/proofreading/pass_order.h"
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
#include "shell/lists.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/window_state.h"

namespace {

const char* const kForms[] = {
    "град град 0 0", "града град 0 1", "градът град 0 2", "учител учител 47 0", "учителя учител 47 1",
    "учителят учител 47 2", "нов нов 140 0", "новия нов 140 1", "новият нов 140 2", "жена жена 85 0",
    "е съм 228 2", "си съм 228 1", "са съм 228 5", "чете чета 300 2", "кола кол 0 1", "колът кол 0 2",
};
const char* const kWords[] = {
    "град", "града", "градът", "учителя", "учителят", "новия", "новият", "жена", "е", "си", "са", "чете",
    "когато", "че", "защото", "но", "който", "които", "където", "преди", "да", "в", "на", "без",
    "случай", "така", "по", "тази", "причина", "не", "би", "и", "било", "макар", "кола", "Кола", "Учителя",
};
const char* const kKnown[] = {"град", "града", "учителя", "кола", "коза", "жена", "чете", "е", "и", "да"};

std::string word(Lcg& rnd) {
    if (rnd() % 3 != 0) return utf8_to_cp1251(kWords[rnd() % std::size(kWords)]);
    std::string w;
    const int len = 2 + static_cast<int>(rnd() % 8);
    for (int i = 0; i < len; ++i) w += static_cast<char>(0xE0 + rnd() % 32);
    return w;
}

std::string make_text(std::size_t words) {
    Lcg rnd{4242};
    std::string t;
    for (std::size_t n = 0; n < words;) {
        const int len = 4 + static_cast<int>(rnd() % 14);
        for (int i = 0; i < len && n < words; ++i, ++n) {
            std::string w = word(rnd);
            if (i == 0) w[0] = static_cast<char>(cp_toupper(static_cast<unsigned char>(w[0])));
            t += w;
            if (i + 1 < len) t += rnd() % 8 == 0 ? ", " : rnd() % 40 == 0 ? "\r" : " ";
        }
        t += rnd() % 5 == 0 ? ".\r" : ". ";
    }
    return t;
}

void write_lines(const std::filesystem::path& file, std::initializer_list<const char*> a,
                 const char* const* more = nullptr, std::size_t n = 0) {
    std::ofstream f(file, std::ios::binary);
    for (const char* l : a) f << utf8_to_cp1251(l) << "\r\n";
    for (std::size_t i = 0; i < n; ++i) f << utf8_to_cp1251(more[i]) << "\r\n";
}

void load_row(int row, const std::filesystem::path& file) {
    DictFileRecord& rec = b[static_cast<std::size_t>(row)];
    rec.entries.clear();
    rec.text = load_pairs(file, ListLoadOptions{}, rec.entries, &rec.stats);
    rec.count = rec.entries.size();
}

struct CommaFixture {
    HWND dialog{};
    std::size_t records = 0;
    CommaFixture() {
        dialog = make_proof_panels();
        const std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("jux_bench_commas_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir / "bgtypes2");
        write_lines(dir / "bgtypes2" / kWordFormFile, {}, kForms, std::size(kForms));
        load_word_forms(dir);
        write_lines(dir / "known.txt", {}, kKnown, std::size(kKnown));
        load_row(B_BULGARIAN, dir / "known.txt");
        write_lines(dir / "comma1.txt", {"в", "на", "без", "с", "от"});
        load_row(B_BULGARIAN_COMMA1, dir / "comma1.txt");
        write_lines(dir / "comma2.txt", {"който", "която", "което", "които", "каквото"});
        load_row(B_BULGARIAN_COMMA2, dir / "comma2.txt");
        write_lines(dir / "pairs.txt", {"з л", "л з"});
        load_row(B_BULGARIAN_TWO_LETTERS, dir / "pairs.txt");
        std::filesystem::remove_all(dir);

        std::string text = make_text(100'000);
        RE_SetTextW(hBigReRight, cp1251_to_utf16(text));
        records = tokenise_text(text, 0);
    }
};

CommaFixture& fixture() {
    static CommaFixture f;
    return f;
}

// Runs the passes of the given rows over the text.
void run_rows(benchmark::State& state, std::initializer_list<int> rows) {
    CommaFixture& f = fixture();
    ProofRun run;
    run.source = hBigReRight;
    run.report = hBigReLeft;
    run.floor = sen_floor;
    run.nd = sen_nd;
    run.tokens = f.records;
    run.mark_source = true;
    for (auto _ : state) {
        RE_SetTextW(hBigReLeft, u"");
        for (int r : rows) pass_order[static_cast<std::size_t>(r)].run(run, pass_order[static_cast<std::size_t>(r)]);
    }
    state.counters["words_per_s"] =
        benchmark::Counter(static_cast<double>(f.records), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["report_lines"] = static_cast<double>(RE_GetLineCount(hBigReLeft));
}

void BM_ArticlePasses100kWords(benchmark::State& state) { run_rows(state, {2, 3, 4, 5}); }
BENCHMARK(BM_ArticlePasses100kWords)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_CommaPass100kWords(benchmark::State& state) { run_rows(state, {35}); }
BENCHMARK(BM_CommaPass100kWords)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_CapitalsAndLetterPairs100kWords(benchmark::State& state) { run_rows(state, {36, 37}); }
BENCHMARK(BM_CapitalsAndLetterPairs100kWords)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
