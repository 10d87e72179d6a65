// Shared by the spelling benchmarks: the near-match scan case of a suggestion generator.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shell/settings.h"
#include "spelling/spell_state.h"
#include "spelling/word_index.h"

// Times `suggest` over the misspellings of at least 6 letters for which no edit, split or suffix
// finds anything with DEEP_SPELL off, so that with DEEP_SPELL on every request ends in the
// near-match scan over the whole list. `hard` keeps those words between the benchmark's runs.
template <class Suggest>
void run_near_match_scan(benchmark::State& state, const std::vector<std::string>& misses,
                         std::vector<std::string>& hard, Suggest suggest) {
    if (hard.empty()) {
        OP[OPT_DEEP_SPELL].num_value = 0;
        for (const std::string& w : misses) {
            if (suggest(w).suggest_ct == 0 && w.size() >= kNearMatchLeast) hard.push_back(w);
        }
    }
    OP[OPT_DEEP_SPELL].num_value = 1;
    std::size_t i = 0;
    for (auto _ : state) {
        const Suggestions s = suggest(hard[i++ % hard.size()]);
        benchmark::DoNotOptimize(s.spelling.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(i));
    state.counters["words"] = static_cast<double>(hard.size());
}
