// libs: spelling dictionary lexicon shell platform
// English spelling over a generated list of 100,000 ranked words: suggestion requests for 1,000
// misspellings one or two edits away, membership checks, and whole token reports.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "spelling_bench_util.h"
#include "lexicon/tables.h"
#include "shell/lists.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "spelling/spell_state.h"
#include "spelling/suggest_en.h"
#include "spelling/token_report_en.h"
#include "spelling/word_index.h"

namespace {

struct Data {
    std::vector<std::string> words;   // the list, in generation order (rank = index + 1)
    std::vector<std::string> misses;  // 1,000 misspellings, not in the list
    std::vector<std::string> origin;  // the listed word each misspelling came from
    std::vector<std::string> probes;  // checks: half listed words, half misspellings
};

std::string make_word(std::mt19937& rng) {
    static const std::string consonants = "bcdfghjklmnprstvwz";
    static const std::string vowels = "aeiouy";
    const int syllables = 2 + static_cast<int>(rng() % 3);
    std::string w;
    for (int s = 0; s < syllables; ++s) {
        w += consonants[rng() % consonants.size()];
        w += vowels[rng() % vowels.size()];
        if (rng() % 3 == 0) w += consonants[rng() % consonants.size()];
    }
    return w;
}

std::string misspell(std::mt19937& rng, std::string w) {
    const int edits = 1 + static_cast<int>(rng() % 2);
    for (int e = 0; e < edits; ++e) {
        const std::size_t i = rng() % w.size();
        const char letter = static_cast<char>('a' + rng() % 26);
        switch (rng() % 4) {
        case 0: if (w.size() > 3) w.erase(i, 1); break;
        case 1: w.insert(i, 1, letter); break;
        case 2: w[i] = letter; break;
        default: if (i + 1 < w.size()) std::swap(w[i], w[i + 1]); break;
        }
    }
    return w;
}

const Data& data() {
    static const Data d = [] {
        Data d;
        std::mt19937 rng(2024);
        std::set<std::string> seen;
        while (d.words.size() < 100'000) {
            std::string w = make_word(rng);
            if (seen.insert(w).second) d.words.push_back(w);
        }
        while (d.misses.size() < 1'000) {
            const std::string& w = d.words[rng() % 20'000];  // misspellings of common words
            std::string x = misspell(rng, w);
            if (seen.count(x)) continue;
            d.misses.push_back(x);
            d.origin.push_back(w);
        }
        for (std::size_t i = 0; i < 1'000; ++i) {
            d.probes.push_back(d.words[rng() % d.words.size()]);
            d.probes.push_back(d.misses[i]);
        }
        // Load through the list loader, as at start.
        reset_shell();
        reset_spelling();
        const auto dir = std::filesystem::temp_directory_path() / "jux_bench_spelling";
        std::filesystem::create_directories(dir);
        {
            std::ofstream f(dir / "wl_english.txt", std::ios::binary);
            for (std::size_t i = 0; i < d.words.size(); ++i) f << d.words[i] << ' ' << i + 1 << "\r\n";
        }
        m[0] = ListFileRecord{};
        m[0].name = "wl_english";
        fl_to_list(dir, m[0]);
        std::filesystem::remove_all(dir);
        return d;
    }();
    return d;
}

void BM_SuggestEnglish(benchmark::State& state) {
    const Data& d = data();
    OP[OPT_DEEP_SPELL].num_value = static_cast<int>(state.range(0));
    std::size_t i = 0, with_suggestions = 0, original_first = 0, requests = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % d.misses.size();
        const Suggestions s = spellcheck(d.misses[k]);
        ++requests;
        if (s.suggest_ct > 0) ++with_suggestions;
        if (s.spelling_sh.compare(0, d.origin[k].size(), d.origin[k]) == 0) ++original_first;
        benchmark::DoNotOptimize(s.spelling.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(requests));
    state.counters["with_suggestions"] = static_cast<double>(with_suggestions) / static_cast<double>(requests);
    state.counters["original_first"] = static_cast<double>(original_first) / static_cast<double>(requests);
    state.counters["us_per_request"] = benchmark::Counter(static_cast<double>(requests),
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                          benchmark::Counter::kIs1000);
}
// One pass over the 1,000 misspellings: the quality counters are those of every one of them, the
// same from run to run.
BENCHMARK(BM_SuggestEnglish)->Arg(0)->Arg(1)->ArgName("deep_spell")->Unit(benchmark::kMicrosecond)->Iterations(1'000);

// Only the misspellings for which no single edit, split or suffix finds anything: every request
// runs the near-match scan over the whole list.
void BM_SuggestEnglishNearMatchScan(benchmark::State& state) {
    static std::vector<std::string> hard;
    run_near_match_scan(state, data().misses, hard, [](const std::string& w) { return spellcheck(w); });
}
BENCHMARK(BM_SuggestEnglishNearMatchScan)->Unit(benchmark::kMicrosecond);

void BM_CheckEnglish(benchmark::State& state) {
    const Data& d = data();
    std::size_t i = 0, found = 0;
    for (auto _ : state) {
        found += english_index(0).find(d.probes[i++ % d.probes.size()]) >= 0;
    }
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(static_cast<std::int64_t>(i));
}
BENCHMARK(BM_CheckEnglish);

// The same checks by binary search with cmp_g, for comparison.
void BM_CheckEnglishBinarySearch(benchmark::State& state) {
    const Data& d = data();
    std::size_t i = 0, found = 0;
    for (auto _ : state) {
        found += find_pair(m[0], d.probes[i++ % d.probes.size()]) != nullptr;
    }
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(static_cast<std::int64_t>(i));
}
BENCHMARK(BM_CheckEnglishBinarySearch);

// A whole token report (17 word sets, suggestions) for a misspelt token.
void BM_TokenSuggest(benchmark::State& state) {
    const Data& d = data();
    OP[OPT_DEEP_SPELL].num_value = 1;
    std::string report, classes;
    std::size_t i = 0;
    for (auto _ : state) {
        token_suggest(d.misses[i++ % d.misses.size()], report, classes);
        benchmark::DoNotOptimize(report.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(i));
}
BENCHMARK(BM_TokenSuggest)->Unit(benchmark::kMicrosecond);

}  // namespace
