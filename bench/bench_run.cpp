// libs: engine_run spelling dictionary lexicon shell platform
// The text-processing run over 1 MB of real-like mixed English and Bulgarian prose with 2% of its
// words misspelt, in the text-checker window's panel on the headless backend: the whole run of
// translate_text (per-token report, report panel, colours, exports of the checker's text), with a
// lexicon of 100,000 English entries and 200,000 Bulgarian words. Counters: bytes per second, and
// the memory the run takes at its peak per byte of text (peak_bytes_per_text_byte). Then the whole
// run as the program starts (CHECK_PUNCTUATION 1, LOAD_BG 1) over 1 MB of Bulgarian prose and the
// lexicon of real size (real_size_lexicon.h), with the proof-reader and without it, and with it but
// without its recordings for the next run; the same over 20 MB. Then the bad
// input, with the options as the program starts: a paste of 50 MB of that prose, one word of 10 MB,
// a million distinct unknown words; and the run over 1 MB of random bytes (a binary file opened).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <malloc.h>
#include <string>
#include <unistd.h>

#include "bench/bench_random.h"
#include "bench/proof_bench_util.h"
#include "bench/prose_util.h"
#include "bench/real_size_lexicon.h"
#include "dictionary/loading.h"
#include "bench/bench_panels.h"
#include "engine/proofreading/proof_reader.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/run/token_report.h"
#include "engine/token_store.h"
#include "lexicon/morphology.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/window_state.h"
#include "spelling/word_index.h"

namespace {

// Starts the shell, the lexicon and the engine from their reset state over the lexicon in `dir`,
// unless it is the one loaded last; the checker's panel writes its token exports into the working
// folder, set to `dir`.
void use_lexicon(const std::filesystem::path& dir) {
    static std::filesystem::path loaded;
    if (loaded == dir) return;
    start_headless_without_word_limit();
    load_lexicon(dir);
    build_word_indexes();
    std::filesystem::current_path(dir);
    loaded = dir;
}

// The generated mixed lexicon and 1 MB of prose with 2% misspelt.
struct Fixture {
    std::filesystem::path dir;
    std::string text;
    std::u16string text16;
    Fixture() {
        dir = std::filesystem::temp_directory_path() / ("jux_bench_run_" + std::to_string(::getpid()));
        const prose::Corpus corpus = prose::make_corpus(20'000, 3'000);
        prose::write_lexicon(corpus, dir, 180'000);
        text = prose::make_text(corpus, 1'000'000, 0.02);
        text16 = cp1251_to_utf16(text);
    }
    ~Fixture() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

Fixture& fixture() {
    static Fixture f;
    use_lexicon(f.dir);
    return f;
}

// The lexicon of real size with the proof-reader's small lists, and 1 MB of Bulgarian prose drawn
// from it.
struct BulgarianFixture {
    std::unique_ptr<real_size::Lexicon> lex;
    std::string text;
    std::u16string text16;
    BulgarianFixture() {
        lex = real_size::make_lexicon("run");
        write_proof_lists(*lex);
        text = make_bulgarian_prose(*lex, 100'000);
        while (text.size() < 1'000'000) text += make_bulgarian_prose(*lex, 10'000, text.size());
        text16 = cp1251_to_utf16(text);
    }
};

BulgarianFixture& bulgarian_fixture() {
    static BulgarianFixture f;
    use_lexicon(f.lex->dir);
    return f;
}

// Runs the check of `text` in the checker's panel once per iteration; `peak` grows to the most
// memory (KiB) a run took beyond what the process held before it.
void run_checker(benchmark::State& state, const std::u16string& text, long& peak) {
    for (auto _ : state) {
        state.PauseTiming();
        // A text met for the first time: nothing kept from the run before over the same words.
        release_kept_bulgarian_answers();
        release_kept_form_memo();
        release_kept_proof_findings();
        RE_SetTextW(hBigReRight, text);
        RE_SetTextW(hBigReLeft, u"");
        // What earlier runs (of this case or the one before it) freed goes back to the system, so
        // that the run's peak is measured from what the process really holds: memory the C library
        // kept would be used again without showing in the peak.
        malloc_trim(0);
        const long before = prose::status_kib("VmRSS");
        prose::reset_peak();
        state.ResumeTiming();
        std::string t8;
        std::u16string t16;
        translate_text(hBig, hBigReRight, hBigReLeft, GetDlgItem(hBig, IDC_BIG_LABEL), t8, t16, "bench");
        state.PauseTiming();
        peak = std::max(peak, prose::status_kib("VmHWM") - before);
        state.ResumeTiming();
    }
}

// Arg 0: the options as the program starts; 1: with ENGLIST_UNGROUPED, every unknown English word
// gets its line with its suggestions in the report panel.
void BM_RunOverMixedProse(benchmark::State& state) {
    Fixture& f = fixture();
    make_checker_panels();
    gl_CHECK_PUNCTUATION = 0;
    gl_ENGLIST_UNGROUPED = static_cast<std::uint8_t>(state.range(0));
    long peak = 0;
    run_checker(state, f.text16, peak);
    gl_ENGLIST_UNGROUPED = 0;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.text.size()));
    state.counters["words"] = static_cast<double>(last_run.processed);
    state.counters["peak_bytes_per_text_byte"] = static_cast<double>(peak) * 1024.0 / static_cast<double>(f.text.size());
    DestroyWindow(hBig);
}
BENCHMARK(BM_RunOverMixedProse)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The whole run as the program starts over Bulgarian prose and the lexicon of real size. Arg 1:
// with the proof-reader (CHECK_PUNCTUATION 1, as the program starts); 0: without it; 2: with it, but
// recording nothing for the next run (every pass walks the whole store into the panels): what the
// recordings cost.
void run_over_bulgarian(benchmark::State& state, const std::u16string& text16, std::size_t bytes) {
    make_checker_panels();
    reset_settings();
    gl_CHECK_PUNCTUATION = state.range(0) != 0;
    if (state.range(0) == 2) set_proof_stretch_records(0);
    long peak = 0;
    run_checker(state, text16, peak);
    set_proof_stretch_records(2048);
    reset_settings();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["words"] = static_cast<double>(last_run.processed);
    state.counters["peak_bytes_per_text_byte"] = static_cast<double>(peak) * 1024.0 / static_cast<double>(bytes);
    DestroyWindow(hBig);
}

// Over 1 MB.
void BM_RunOverBulgarianProseRealSizeLexicon(benchmark::State& state) {
    BulgarianFixture& f = bulgarian_fixture();
    run_over_bulgarian(state, f.text16, f.text.size());
}
BENCHMARK(BM_RunOverBulgarianProseRealSizeLexicon)->Arg(1)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Over 20 MB.
void BM_RunOver20MBBulgarianProse(benchmark::State& state) {
    BulgarianFixture& f = bulgarian_fixture();
    static const std::u16string text = [&] {
        std::string t = f.text;
        while (t.size() < 20'000'000) t += make_bulgarian_prose(*f.lex, 100'000, t.size());
        return cp1251_to_utf16(t);
    }();
    run_over_bulgarian(state, text, text.size());
}
BENCHMARK(BM_RunOver20MBBulgarianProse)->Arg(1)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same run over a binary file of the size of that prose, as the checker opens it: random bytes
// read as 8-bit text, its NUL bytes blanks. Its "words" (control characters, runs of letters no
// lexicon holds) should cost about what the prose costs.
void BM_RunOverBinaryFileRealSizeLexicon(benchmark::State& state) {
    BulgarianFixture& f = bulgarian_fixture();
    make_checker_panels();
    reset_settings();
    std::string bytes = random_bytes(f.text.size());
    std::replace(bytes.begin(), bytes.end(), '\0', ' ');
    const std::u16string text = cp1251_to_utf16(bytes);
    long peak = 0;
    run_checker(state, text, peak);
    reset_settings();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["words"] = static_cast<double>(last_run.processed);
    DestroyWindow(hBig);
}
BENCHMARK(BM_RunOverBinaryFileRealSizeLexicon)->Unit(benchmark::kMillisecond)->MinTime(2.0);

std::u16string bad_input(int kind) {
    const Fixture& f = fixture();
    std::u16string t;
    if (kind == 0) {
        while (t.size() < 50'000'000) t += f.text16;
    } else if (kind == 1) {
        t.assign(10'000'000, u'a');
    } else {
        for (std::uint32_t i = 0; i < 1'000'000; ++i) {
            const bool cyr = i % 2;
            std::string w = prose::make_word(i * 7 + 3, cyr);
            w += cyr ? "\xFA\xFA" : "qq";  // never a listed word
            t += cp1251_to_utf16(w) + u' ';
        }
    }
    return t;
}

// Arg: 0 a paste of 50 MB, 1 a word of 10 MB, 2 a million distinct unknown words.
void BM_BadInput(benchmark::State& state) {
    fixture();
    make_checker_panels();
    gl_CHECK_PUNCTUATION = 0;  // the run's own work: the proof-reader's bad input has its own benchmarks
    const std::u16string text = bad_input(static_cast<int>(state.range(0)));
    long peak = 0;
    run_checker(state, text, peak);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["words"] = static_cast<double>(last_run.processed);
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
    DestroyWindow(hBig);
}
BENCHMARK(BM_BadInput)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
