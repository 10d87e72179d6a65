// libs: windows lexicon shell platform
// The lemma-grouping reports over a generated word list "a" of 100,000 to 1,000,000 words: a
// quarter of them base words, each followed by three inflected forms whose definitions name it
// ("pl. of", "pt of", "prp of"), every word with a dictionary entry and the base words ranked.
// The whole run writes its 56 files into a temporary folder.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "lexicon/tables.h"
#include "platform/headless.h"
#include "shell/reset.h"
#include "tests/support/lemma_tables.h"
#include "windows/lemma_report.h"

namespace {

// A base word made of letters from n, so that the first letters spread over the alphabet.
std::string base_word(int n) {
    std::string w;
    do {
        w += static_cast<char>('a' + n % 26);
        n /= 26;
    } while (n > 0);
    return w + "x";
}

void BM_LemmaReports(benchmark::State& state) {
    headless_install();
    reset_shell();
    reset_lexicon();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("jux_bench_lemma_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    dir_alt = folder;
    jux_test::LemmaTables tables;
    const int bases = static_cast<int>(state.range(0)) / 4;
    for (int i = 0; i < bases; ++i) {
        const std::string w = base_word(i);
        tables.word(w, "дума", i + 1);
        tables.word(w + "s", "pl. of " + w);
        tables.word(w + "ed", "pt of " + w);
        tables.word(w + "ing", "prp of " + w);
    }
    tables.install();
    for (auto _ : state) benchmark::DoNotOptimize(run_lemma_reports());
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove_all(folder);
    reset_lexicon();
}
BENCHMARK(BM_LemmaReports)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
