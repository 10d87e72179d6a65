// libs: spelling dictionary lexicon shell platform
// Bulgarian spelling over a generated list of 1,000,000 ranked word forms: suggestion requests for
// 1,000 misspellings one or two edits away, whole report texts (get_lensug) for the same words,
// the requests that end in the near-match scan, and membership checks.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "spelling_bench_util.h"
#include "dictionary/loading.h"
#include "lexicon/tables.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "spelling/spell_state.h"
#include "spelling/suggest_bg.h"
#include "spelling/unknown_bg.h"
#include "spelling/word_index.h"

namespace {

// Code page 1251 letters: consonants and vowels of the Bulgarian alphabet, and endings of forms.
const std::string kConsonants = "\xe1\xe2\xe3\xe4\xe6\xe7\xea\xeb\xec\xed\xef\xf0\xf1\xf2\xf4\xf5\xf6\xf7\xf8\xf9";
const std::string kVowels = "\xe0\xe5\xe8\xee\xf3\xfa\xfe\xff";
const std::vector<std::string> kEndings = {
    "",         "\xe0",         "\xe0\xf2\xe0", "\xe8",     "\xe8\xf2\xe5", "\xfa\xf2", "\xee\xe2\xe5",
    "\xe8\xff", "\xe8\xff\xf2", "\xee",         "\xee\xf2\xee", "\xe5\xec", "\xe5\xf8", "\xe0\xf5\xec\xe5",
};
constexpr std::size_t kForms = 1'000'000;

struct Data {
    std::vector<std::string> words;   // the list, in generation order (rank = index + 1)
    std::vector<std::string> misses;  // 1,000 misspellings, not in the list
    std::vector<std::string> origin;  // the listed word each misspelling came from
    std::vector<std::string> probes;  // checks: half listed words, half misspellings
};

std::string make_stem(std::mt19937& rng) {
    const int syllables = 1 + static_cast<int>(rng() % 3);
    std::string w;
    for (int s = 0; s < syllables; ++s) {
        w += kConsonants[rng() % kConsonants.size()];
        w += kVowels[rng() % kVowels.size()];
        if (rng() % 2 == 0) w += kConsonants[rng() % kConsonants.size()];
    }
    return w;
}

std::string misspell(std::mt19937& rng, std::string w) {
    const std::string letters = kConsonants + kVowels;
    const int edits = 1 + static_cast<int>(rng() % 2);
    for (int e = 0; e < edits; ++e) {
        const std::size_t i = rng() % w.size();
        const char letter = letters[rng() % letters.size()];
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
        std::mt19937 rng(1251);
        std::unordered_set<std::string> seen;
        seen.reserve(kForms * 2);
        // Lemmas with the forms of a few endings each, as in a word-form list.
        while (d.words.size() < kForms) {
            const std::string stem = make_stem(rng);
            const std::size_t n_forms = 1 + rng() % 6;
            for (std::size_t f = 0; f < n_forms && d.words.size() < kForms; ++f) {
                std::string w = stem + kEndings[rng() % kEndings.size()];
                if (seen.insert(w).second) d.words.push_back(std::move(w));
            }
        }
        while (d.misses.size() < 1'000) {
            const std::string& w = d.words[rng() % 50'000];  // misspellings of common words
            std::string x = misspell(rng, w);
            if (seen.count(x)) continue;
            d.misses.push_back(x);
            d.origin.push_back(w);
        }
        for (std::size_t i = 0; i < 1'000; ++i) {
            d.probes.push_back(d.words[rng() % d.words.size()]);
            d.probes.push_back(d.misses[i]);
        }
        // Load through the loaders, as at start.
        reset_shell();
        reset_loading();
        reset_lexicon();
        reset_spelling();
        const auto dir = std::filesystem::temp_directory_path() / "jux_bench_spelling_bg";
        std::filesystem::create_directories(dir);
        {
            std::ofstream f(dir / "b_bulgarian.txt", std::ios::binary);
            for (std::size_t i = 0; i < d.words.size(); ++i) {
                f << d.words[i];
                if (i % 5 != 4) f << ' ' << i + 1;  // every fifth form without rank text
                f << "\r\n";
            }
        }
        load_dictionaries(dir);
        std::filesystem::remove_all(dir);
        // Build the membership index and the near-match buckets before timing.
        OP[OPT_DEEP_SPELL].num_value = 1;
        spellcheck_bg(d.misses[0]);
        spellcheck_bg(std::string(12, kVowels[0]));
        return d;
    }();
    return d;
}

bool suggests(const std::string& sh, const std::string& word) {
    for (std::size_t p = 0; (p = sh.find(word, p)) != std::string::npos; p += word.size()) {
        const bool start = p == 0 || sh.compare(p - 3, 3, " | ") == 0;
        const bool end = p + word.size() == sh.size() || sh.compare(p + word.size(), 3, " | ") == 0;
        if (start && end) return true;
    }
    return false;
}

void BM_SuggestBulgarian(benchmark::State& state) {
    const Data& d = data();
    OP[OPT_DEEP_SPELL].num_value = static_cast<int>(state.range(0));
    std::size_t i = 0, requests = 0, with_suggestions = 0, original_found = 0, original_first = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % d.misses.size();
        const Suggestions s = spellcheck_bg(d.misses[k]);
        ++requests;
        if (s.suggest_ct > 0) ++with_suggestions;
        if (suggests(s.spelling_sh, d.origin[k])) ++original_found;
        if (s.spelling_sh.compare(0, d.origin[k].size() + 1, d.origin[k] + " ") == 0 || s.spelling_sh == d.origin[k])
            ++original_first;
        benchmark::DoNotOptimize(s.spelling.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(requests));
    const double n = static_cast<double>(requests);
    state.counters["with_suggestions"] = static_cast<double>(with_suggestions) / n;
    state.counters["original_found"] = static_cast<double>(original_found) / n;
    state.counters["original_first"] = static_cast<double>(original_first) / n;
    state.counters["us_per_request"] = benchmark::Counter(n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                          benchmark::Counter::kIs1000);
}
// One pass over the 1,000 misspellings: the quality counters are those of every one of them, the
// same from run to run.
BENCHMARK(BM_SuggestBulgarian)->Arg(0)->Arg(1)->ArgName("deep_spell")->Unit(benchmark::kMicrosecond)->Iterations(1'000);

// Only the misspellings for which no edit or split finds anything: every request ends in the
// near-match scan over the whole list.
void BM_SuggestBulgarianNearMatchScan(benchmark::State& state) {
    static std::vector<std::string> hard;
    run_near_match_scan(state, data().misses, hard, [](const std::string& w) { return spellcheck_bg(w); });
}
BENCHMARK(BM_SuggestBulgarianNearMatchScan)->Unit(benchmark::kMicrosecond);

// The whole report text of an unknown token: every list consulted, then the generator.
void BM_GetLensug(benchmark::State& state) {
    const Data& d = data();
    OP[OPT_DEEP_SPELL].num_value = 1;
    std::size_t i = 0;
    for (auto _ : state) {
        const BgReport r = get_lensug(d.misses[i++ % d.misses.size()]);
        benchmark::DoNotOptimize(r.text.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(i));
}
BENCHMARK(BM_GetLensug)->Unit(benchmark::kMicrosecond);

void BM_CheckBulgarian(benchmark::State& state) {
    const Data& d = data();
    std::size_t i = 0, found = 0;
    for (auto _ : state) found += dictionary_index(B_BULGARIAN).find(d.probes[i++ % d.probes.size()]) >= 0;
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(static_cast<std::int64_t>(i));
}
BENCHMARK(BM_CheckBulgarian);

}  // namespace
