// libs: engine_run dictionary lexicon shell platform
// Benchmarks of the text-processing engine: cutting a generated 10 MB mixed English and Bulgarian
// text into token store 1 (the scan alone, without the per-token report, and a whole run of
// translate_text over the checker's headless panel, report lines and colouring included), with
// dictionaries of 100,000 entries for the final-dot look-ups. Counters: bytes and tokens per
// second, the store's bytes, the process's peak memory.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "bench/bench_panels.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "engine/tokeniser.h"
#include "engine/worker_pool.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/lists.h"
#include "shell/reset.h"
#include "shell/settings.h"

namespace {

struct Lcg {
    std::uint64_t s;
    std::uint32_t operator()() {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(s >> 33);
    }
};

std::string make_word(Lcg& rnd, bool cyr) {
    const int len = 1 + static_cast<int>(rnd() % 10);
    std::string w;
    for (int i = 0; i < len; ++i)
        w += cyr ? static_cast<char>(0xE0 + rnd() % 32) : static_cast<char>('a' + rnd() % 26);
    if (rnd() % 6 == 0) w[0] = static_cast<char>(cp_toupper(static_cast<unsigned char>(w[0])));
    return w;
}

// About `bytes` of code page 1251 text: sentences of mixed Latin and Cyrillic words with commas,
// numbers, apostrophes, hyphens, full stops and paragraph ends.
std::string make_text(std::size_t bytes) {
    Lcg rnd{2024};
    std::string t;
    t.reserve(bytes + 64);
    while (t.size() < bytes) {
        const bool cyr = rnd() % 2 == 0;
        const int n = 4 + static_cast<int>(rnd() % 14);
        for (int i = 0; i < n; ++i) {
            const std::uint32_t k = rnd() % 40;
            if (k == 0) t += std::to_string(rnd() % 100000);
            else if (k == 1) t += make_word(rnd, false) + "'s";
            else if (k == 2) t += make_word(rnd, cyr) + "-" + make_word(rnd, cyr);
            else if (k == 3) t += "3.14";
            else t += make_word(rnd, cyr);
            t += (i + 1 < n) ? (rnd() % 9 == 0 ? ", " : " ") : (rnd() % 5 == 0 ? ".\r" : ". ");
        }
    }
    return t;
}

// A dictionary file of `n` sorted-by-loader keys, some ending in a dot.
std::shared_ptr<ListText> make_dict(const std::filesystem::path& file, std::vector<ListPair>& out, bool cyr,
                                    std::uint64_t seed) {
    Lcg rnd{seed};
    std::string s;
    for (int i = 0; i < 100'000; ++i) {
        s += make_word(rnd, cyr);
        if (i % 50 == 0) s += '.';
        s += " definition\r\n";
    }
    std::ofstream(file, std::ios::binary).write(s.data(), static_cast<std::streamsize>(s.size()));
    return load_pairs(file, ListLoadOptions{}, out);
}

long peak_rss_kib() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long kib = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1) break;
    std::fclose(f);
    return kib;
}

std::size_t store_bytes() {
    return store1.rec.count() * sizeof(SenToken) + malsen1.used() + malsen1c.used();
}

struct EngineFixture {
    std::filesystem::path dir;
    std::string text;
    std::u16string text16;
    EngineFixture() {
        start_headless_without_word_limit();
        dir = std::filesystem::temp_directory_path() / ("jux_bench_engine_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        // A run of the checker's panel writes its token exports into the working folder.
        std::filesystem::current_path(dir);
        b[B_EN_BG].text = make_dict(dir / "b_en-bg.txt", b[B_EN_BG].entries, false, 1);
        m[M_WL_ENGLISH2].text = make_dict(dir / "wl_english2.txt", m[M_WL_ENGLISH2].entries, false, 2);
        b[B_BULGARIAN].text = make_dict(dir / "b_bulgarian.txt", b[B_BULGARIAN].entries, true, 3);
        text = make_text(10'000'000);
        text16 = cp1251_to_utf16(text);
    }
    ~EngineFixture() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

EngineFixture& fixture() {
    static EngineFixture f;
    return f;
}

void BM_TokeniseIntoStore1(benchmark::State& state) {
    EngineFixture& f = fixture();
    std::size_t records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string t8 = f.text;
        state.ResumeTiming();
        records = tokenise_text(t8, 0);
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.text.size()));
    state.counters["tokens_per_s"] =
        benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["records"] = static_cast<double>(records);
    state.counters["store_MiB"] = static_cast<double>(store_bytes()) / 1048576.0;
    state.counters["store_per_text"] = static_cast<double>(store_bytes()) / static_cast<double>(f.text.size());
    state.counters["peak_rss_MiB"] = static_cast<double>(peak_rss_kib()) / 1024.0;
}
BENCHMARK(BM_TokeniseIntoStore1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The argument: helper threads the word lists may ask their spelling answers on (0: none). Real
// time is what the user waits; the processor time counts every thread.
void BM_TranslateTextOverAPanel(benchmark::State& state) {
    EngineFixture& f = fixture();
    const std::size_t helpers_before = helper_threads();
    set_helper_threads(static_cast<std::size_t>(state.range(0)));
    make_checker_panels();
    RE_SetTextW(hBigReRight, f.text16);
    gl_CHECK_PUNCTUATION = 0;
    for (auto _ : state) {
        std::string t8;
        std::u16string t16;
        translate_text(hBig, hBigReRight, hBigReLeft, GetDlgItem(hBig, IDC_BIG_LABEL), t8, t16, "bench");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.text.size()));
    state.counters["tokens_per_s"] = benchmark::Counter(static_cast<double>(last_run.processed),
                                                        benchmark::Counter::kIsIterationInvariantRate);
    state.counters["report_units"] = static_cast<double>(RE_GetTextLength(hBigReLeft));
    state.counters["peak_rss_MiB"] = static_cast<double>(peak_rss_kib()) / 1024.0;
    DestroyWindow(hBig);
    set_helper_threads(helpers_before);
}
BENCHMARK(BM_TranslateTextOverAPanel)
    ->ArgName("helpers")
    ->Arg(0)
    ->Arg(static_cast<std::int64_t>(helper_threads()))
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace
