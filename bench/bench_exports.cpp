// libs: engine shell platform
// The repeated-passage export over generated texts of 100,000 to 1,000,000 tokens: time, peak
// memory, and how the time grows with the text (n log n expected, not the square of n). Then the
// token export (the ten frequency lists) of 1,000,000 tokens.
//
// The text: words of a 20,000-word vocabulary drawn with Zipf frequencies, separated by blanks,
// commas and sentence ends, with a passage of 50 to 200 earlier tokens pasted again every 5,000
// tokens or so, so that the report has entries to write.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/exports.h"
#include "engine/token_store.h"
#include "engine/worker_pool.h"
#include "platform/headless.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/window_state.h"

namespace {

// Resident memory of the process in MiB: the current size, and the peak since the last reset
// (VmHWM, which writing "5" to /proc/self/clear_refs brings back to the current size).
double status_mib(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(std::strlen(field))) / 1024.0;
    return 0;
}
bool reset_peak() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

// Gaps between generated words, drawn evenly.
const char* const kGaps[] = {" ", " ", " ", " ", " ", " ", ", ", ". ", "\r"};

// Ranks 0 to size - 1 drawn with Zipf frequencies.
class ZipfRanks {
public:
    explicit ZipfRanks(std::size_t size) {
        double sum = 0;
        for (std::size_t r = 1; r <= size; ++r) cumulative_.push_back(sum += 1.0 / static_cast<double>(r));
        u_ = std::uniform_real_distribution<double>(0.0, sum);
    }
    std::size_t operator()(std::mt19937& rng) {
        const auto rank = static_cast<std::size_t>(std::lower_bound(cumulative_.begin(), cumulative_.end(), u_(rng)) -
                                                   cumulative_.begin());
        return std::min(rank, cumulative_.size() - 1);
    }

private:
    std::vector<double> cumulative_;
    std::uniform_real_distribution<double> u_;
};

// Appends a record to store 2; pos runs on over the text.
void push_record(std::int32_t& pos, std::string_view word, std::string_view gap) {
    pos += static_cast<std::int32_t>(gap.size());
    store_push(store2, word, gap, pos);
    pos += static_cast<std::int32_t>(word.size());
}

// Fills store 2 with the generated text of n tokens; `one_word`: the same word n times (every
// start repeats almost the whole rest of the text).
void generate(std::size_t n, bool one_word) {
    std::mt19937 rng(12345);
    std::vector<std::string> vocabulary;
    for (int k = 0; k < 20'000; ++k) {
        std::string w;
        const int len = 2 + static_cast<int>(rng() % 9);
        for (int c = 0; c < len; ++c) w += static_cast<char>(0xE0 + rng() % 32);  // small Cyrillic letters
        vocabulary.push_back(w);
    }
    ZipfRanks zipf(vocabulary.size());
    store_reset(store2);
    std::int32_t pos = 0;
    auto push = [&pos](std::string_view word, std::string_view gap) { push_record(pos, word, gap); };
    while (one_word && store2.rec.count() < n) push(vocabulary[0], store2.rec.count() ? " " : "");
    while (store2.rec.count() < n) {
        const std::size_t have = store2.rec.count();
        if (have > 1'000 && rng() % 5'000 < 1) {
            // A passage pasted again (the pools never move a string, so the records can be read
            // while the store grows; the record array may move, so records are copied by index).
            const std::size_t len = 50 + rng() % 151;
            const std::size_t from = rng() % (have - len);
            for (std::size_t k = 0; k < len && store2.rec.count() < n; ++k) {
                const SenToken r = store2.rec.floor[from + k];
                push(r.text, r.gap);
            }
            continue;
        }
        push(vocabulary[zipf(rng)], have == 0 ? "" : kGaps[rng() % std::size(kGaps)]);
    }
    store_seal(store2.rec, pos);
}

void run_export(benchmark::State& state, bool one_word) {
    headless_install();
    reset_shell();
    OP[OPT_MAX_WORDS_IN_FILE].num_value = 0;  // the store grows with the text
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("jux_bench_exports_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    start_dir = dir;
    gl_dropped.clear();

    const std::size_t n = static_cast<std::size_t>(state.range(0));
    generate(n, one_word);
    const double before = status_mib("VmRSS:");
    const bool peak_known = reset_peak();
    std::size_t entries = 0;
    for (auto _ : state) {
        export_duplicate_strings(sen_floor2, sen_nd2);
        state.PauseTiming();
        entries = find_repeated_passages(sen_floor2, sen_nd2, gl_REPEATED_CHECK_EACH, gl_REPEATED_LONGER_THAN).size();
        headless().message_boxes.clear();
        state.ResumeTiming();
    }
    state.SetComplexityN(static_cast<std::int64_t>(n));
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["rss_before_MiB"] = before;
    // The export's own working memory: the peak while it ran above the size before it.
    state.counters["export_peak_MiB"] = peak_known ? status_mib("VmHWM:") - before : -1;
    state.counters["tokens_per_s"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
    store_release_all();
    std::filesystem::remove_all(dir);
}

// Fills store 2 with n tokens for the token export: `distinct` gives every token a spelling of its
// own (a text of unknown words); otherwise words of a 20,000-word vocabulary with Zipf
// frequencies, one in ten with a capital, separated by blanks, commas and sentence ends.
void generate_tokens(std::size_t n, bool distinct) {
    std::mt19937 rng(54321);
    auto word = [&rng](std::size_t k) {
        std::string w;
        for (std::size_t x = k + 1; x; x /= 26) w += static_cast<char>('a' + x % 26);
        const int extra = static_cast<int>(rng() % 6);
        for (int c = 0; c < extra; ++c) w += static_cast<char>(0xE0 + rng() % 32);
        return w;
    };
    std::vector<std::string> vocabulary;
    if (!distinct)
        for (std::size_t k = 0; k < 20'000; ++k) vocabulary.push_back(word(k));
    ZipfRanks zipf(distinct ? 1 : vocabulary.size());
    store_reset(store2);
    std::int32_t pos = 0;
    for (std::size_t k = 0; k < n; ++k) {
        std::string w = distinct ? word(k) : vocabulary[zipf(rng)];
        if (rng() % 10 == 0) w[0] = static_cast<char>(w[0] - 'a' + 'A');
        push_record(pos, w, k ? kGaps[rng() % std::size(kGaps)] : "");
    }
    store_seal(store2.rec, pos);
}

// First argument: 0 the Zipf text, 1 distinct words. Second: helper threads the files' lines may be
// made on (0: none); real time is what the user waits, the processor time counts every thread.
// The files go to the working folder.
void BM_TokenExport(benchmark::State& state) {
    headless_install();
    reset_shell();
    OP[OPT_MAX_WORDS_IN_FILE].num_value = 0;
    const std::size_t helpers_before = helper_threads();
    set_helper_threads(static_cast<std::size_t>(state.range(1)));
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("jux_bench_tokens_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    constexpr std::size_t n = 1'000'000;
    generate_tokens(n, state.range(0) != 0);
    for (auto _ : state) export_sorted_tokens_and_spaces(sen_floor2, sen_nd2, "DOWN");
    state.counters["tokens_per_s"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
    store_release_all();
    std::filesystem::current_path(cwd);
    std::filesystem::remove_all(dir);
    set_helper_threads(helpers_before);
}
BENCHMARK(BM_TokenExport)
    ->ArgNames({"distinct", "helpers"})
    ->ArgsProduct({{0, 1}, {0, static_cast<std::int64_t>(helper_threads())}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_RepeatedPassageExport(benchmark::State& state) { run_export(state, false); }
void BM_RepeatedPassageExportOneWord(benchmark::State& state) { run_export(state, true); }

BENCHMARK(BM_RepeatedPassageExport)
    ->Arg(100'000)
    ->Arg(200'000)
    ->Arg(500'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Complexity(benchmark::oNLogN);
// The worst case of the search: the plain comparison of every examined start with every later
// record would need about n^3 / 100 comparisons here.
BENCHMARK(BM_RepeatedPassageExportOneWord)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity(benchmark::oNLogN);

}  // namespace
