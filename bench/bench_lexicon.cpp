// libs: dictionary lexicon shell platform
// Loading a generated lexicon of 1,000,000 Bulgarian word forms, 100,000 dictionary entries and
// 100,000 corpus sentences (wall time, memory against the size of the files), and word-form
// look-ups per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "dictionary/loading.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "shell/reset.h"

namespace {

constexpr int kLemmas = 250'000;  // four forms each: 1,000,000 word forms
constexpr int kEntries = 100'000;
constexpr int kSentences = 100'000;

// A lower-case Cyrillic word (code page 1251) for a number: byte order is the list order.
std::string word_of(unsigned n, int min_len) {
    std::string w;
    do {
        w.push_back(static_cast<char>(0xE0 + n % 30));
        n /= 30;
    } while (n > 0 || static_cast<int>(w.size()) < min_len);
    return w;
}

std::string latin_of(unsigned n) {
    std::string w;
    do {
        w.push_back(static_cast<char>('a' + n % 26));
        n /= 26;
    } while (n > 0 || w.size() < 4);
    return w;
}

struct Generated {
    std::filesystem::path folder;
    std::uintmax_t bytes = 0;
    std::vector<std::string> forms;  // a sample of the forms, for the look-ups
};

void write(const std::filesystem::path& p, const std::string& s) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(s.data(), static_cast<std::streamsize>(s.size()));
}

const Generated& generated() {
    static Generated g = [] {
        Generated r;
        r.folder = std::filesystem::temp_directory_path() / ("jux_bench_lexicon_" + std::to_string(::getpid()));
        std::filesystem::remove_all(r.folder);
        // Word forms: four endings per lemma, one analysis a line, sorted by form.
        const char* endings[] = {"", "\xE0", "\xF2\xE0", "\xE8"};  // "", а, та, и
        std::vector<std::string> lines;
        lines.reserve(kLemmas * 4);
        for (int i = 0; i < kLemmas; ++i) {
            const std::string lemma = word_of(static_cast<unsigned>(i) * 7919u % 24'300'000u, 8);
            const int type = i % 473;
            for (int k = 0; k < 4; ++k)
                lines.push_back(lemma + endings[k] + " " + lemma + " " + std::to_string(type) + " " + std::to_string(k));
        }
        std::sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
            return a.substr(0, a.find(' ')) < b.substr(0, b.find(' '));
        });
        std::string forms;
        for (size_t i = 0; i < lines.size(); ++i) {
            forms += lines[i];
            forms += "\r\n";
            if (i % 97 == 0) r.forms.push_back(lines[i].substr(0, lines[i].find(' ')));
        }
        write(r.folder / "bgtypes2" / "_D2_ungrouped_sorted.txt", forms);
        std::string dict;
        for (int i = 0; i < kEntries; ++i)
            dict += latin_of(static_cast<unsigned>(i) * 104729u) + " [tr] n # " + word_of(static_cast<unsigned>(i), 6) +
                    ", " + word_of(static_cast<unsigned>(i) + 7u, 7) + " (" + latin_of(static_cast<unsigned>(i) * 3u) +
                    " " + latin_of(static_cast<unsigned>(i) * 5u) + ") # " + word_of(static_cast<unsigned>(i) + 11u, 5) +
                    " @ v # " + word_of(static_cast<unsigned>(i) + 13u, 9) + ", " + word_of(static_cast<unsigned>(i) + 17u, 8) +
                    "; " + word_of(static_cast<unsigned>(i) + 19u, 10) + "\r\n";
        write(r.folder / "b_en-bg.txt", dict);
        std::string corpus;
        for (int i = 0; i < kSentences; ++i)
            corpus += "The_" + latin_of(static_cast<unsigned>(i)) + "_sat_on_the_" + latin_of(static_cast<unsigned>(i) * 31u) +
                      "_mat_in_the_" + latin_of(static_cast<unsigned>(i) * 7u) + "_house.\t" +
                      word_of(static_cast<unsigned>(i), 5) + " " + word_of(static_cast<unsigned>(i) * 3u, 6) + " " +
                      word_of(static_cast<unsigned>(i) * 5u, 4) + " " + word_of(static_cast<unsigned>(i) * 11u, 7) + " " +
                      word_of(static_cast<unsigned>(i) * 13u, 8) + ".\r\n";
        write(r.folder / "c" / "cs_11.txt", corpus);
        r.bytes = forms.size() + dict.size() + corpus.size();
        return r;
    }();
    return g;
}

long rss_kb() {
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    long pages = 0, resident = 0;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

void BM_LoadLexicon(benchmark::State& state) {
    const Generated& g = generated();
    reset_shell();
    long grown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        reset_lexicon();
        reset_loading();
        const long before = rss_kb();
        state.ResumeTiming();
        benchmark::DoNotOptimize(load_lexicon(g.folder));
        state.PauseTiming();
        grown = std::max(grown, rss_kb() - before);
        state.ResumeTiming();
    }
    state.counters["word_forms"] = static_cast<double>(bgmul_ct);
    state.counters["entries"] = static_cast<double>(b[B_EN_BG].count);
    state.counters["sentences"] = static_cast<double>(cs_glob[0].count);
    state.counters["files_MB"] = static_cast<double>(g.bytes) / (1024.0 * 1024.0);
    state.counters["memory_MB"] = static_cast<double>(grown) / 1024.0;
    state.counters["memory_per_file_byte"] = static_cast<double>(grown) * 1024.0 / static_cast<double>(g.bytes);
}
BENCHMARK(BM_LoadLexicon)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WordFormLookUp(benchmark::State& state) {
    const Generated& g = generated();
    if (bgmul_ct == 0) {
        reset_shell();
        reset_lexicon();
        reset_loading();
        load_lexicon(g.folder);
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetType(g.forms[i]));
        if (++i == g.forms.size()) i = 0;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_WordFormLookUp);

void BM_NounInfo(benchmark::State& state) {
    const Generated& g = generated();
    if (bgmul_ct == 0) {
        reset_shell();
        load_lexicon(g.folder);
    }
    size_t i = 0;
    NounAdjInfo info;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetNounInfo(info, -1, g.forms[i]));
        if (++i == g.forms.size()) i = 0;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_NounInfo);

}  // namespace
