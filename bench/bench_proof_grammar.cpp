// libs: proofreading engine_run dictionary lexicon shell platform
// Benchmarks of the proof-reader's grammar passes (two nouns in a row, adjective-noun agreement,
// the six phrase passes) over a generated Bulgarian text of 100,000 words whose words all stand in
// a generated word-form index of some 30,000 forms (nouns of the three genders with their article
// and plural forms, adjectives in their nine forms, verbs with a participle), mixed with
// prepositions, "да", "не", "е" and short pronouns, so that every pass asks the index about most
// of its pairs. One benchmark runs the grammar passes alone, one the whole proof-reader over the
// same text, and one the whole proof-reader with every switch on (novel mode, loose splitting, two
// nouns) over a text of the same words in paragraphs and dialogue lines, with capitals, quotation
// marks and the typographic faults the frame's passes look for. Counters: words per second and
// report lines.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench_random.h"
#include "proof_bench_util.h"
#include "real_size_lexicon.h"
#include "dictionary/loading.h"
#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/token_spellings.h"
#include "engine/proofreading/proof_reader.h"
#include "engine/proofreading/proof_report.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "engine/tokeniser.h"
#include "lexicon/morphology.h"
#include "lexicon/panels.h"
#include "spelling/word_index.h"
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

std::string stem(Lcg& rnd) {
    const int len = 3 + static_cast<int>(rnd() % 6);
    std::string w;
    for (int i = 0; i < len; ++i) w += static_cast<char>(0xE0 + rnd() % 32);
    return w;
}

// The generated lexicon: its forms by word class, written into a folder and loaded.
struct Lexicon {
    std::vector<std::string> nouns, adjectives, verbs;
    std::filesystem::path folder;

    Lexicon() {
        folder = std::filesystem::temp_directory_path() / ("jux_bench_grammar_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "bgtypes2");
        Lcg rnd{2024};
        std::string forms;
        auto add = [&](std::vector<std::string>& cls, const std::string& form, const std::string& lemma, int type,
                       int slot) {
            forms += form + ' ' + lemma + ' ' + std::to_string(type) + ' ' + std::to_string(slot) + "\r\n";
            cls.push_back(form);
        };
        for (int i = 0; i < 3000; ++i) {
            const std::string s = stem(rnd);
            const int type = (i % 3 == 0) ? 0 : (i % 3 == 1) ? 85 : 114;
            add(nouns, s, s, type, 0);
            add(nouns, s + "\xF2\xE0", s, type, 1);  // "та"
            add(nouns, s + "\xE8", s, type, type == 0 ? 3 : 2);
        }
        static const char* const kAdj[] = {"", "\xE8\xFF", "\xE8\xFF\xF2", "\xE0", "\xE0\xF2\xE0",
                                           "\xEE", "\xEE\xF2\xEE", "\xE8", "\xE8\xF2\xE5"};
        for (int i = 0; i < 1500; ++i) {
            const std::string s = stem(rnd);
            for (int slot = 0; slot < 9; ++slot) add(adjectives, s + kAdj[slot], s, 140, slot);
        }
        for (int i = 0; i < 1500; ++i) {
            const std::string s = stem(rnd);
            add(verbs, s + "\xE0", s, 300, 2);
            add(verbs, s + "\xF5", s, 300, 6);
            add(verbs, s + "\xF9", s, 300, 47);
        }
        std::ofstream(folder / "bgtypes2" / kWordFormFile, std::ios::binary) << forms;
        load_word_forms(folder);

        load_row(B_BULGARIAN, nouns, adjectives, verbs);
        load_row(B_BULGARIAN_COMMA1, {"\xE7\xE0", "\xEF\xEE\xE4", "\xEF\xEE", "\xEE\xF2", "\xE2", "\xED\xE0"}, {}, {});
    }
    ~Lexicon() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

    void load_row(int row, const std::vector<std::string>& a, const std::vector<std::string>& b2,
                  const std::vector<std::string>& c) {
        DictFileRecord& rec = b[static_cast<std::size_t>(row)];
        const std::filesystem::path file = folder / ("row" + std::to_string(row) + ".txt");
        {
            std::ofstream f(file, std::ios::binary);
            for (const auto* v : {&a, &b2, &c})
                for (const std::string& w : *v) f << w << "\r\n";
        }
        rec.entries.clear();
        rec.text = load_pairs(file, ListLoadOptions{}, rec.entries, &rec.stats);
        rec.count = rec.entries.size();
    }
};

// The small words the passes ask about: prepositions, "да", "не", "е", "и", "ако", "ме".
const char* const kSmall[] = {"\xE7\xE0", "\xEF\xEE\xE4", "\xEF\xEE", "\xEE\xF2", "\xE2", "\xED\xE0",
                              "\xE4\xE0", "\xED\xE5", "\xE5", "\xE8", "\xE0\xEA\xEE", "\xEC\xE5"};

// About 100,000 words of sentences made of the lexicon's words and the small words of the passes.
std::string make_text(const Lexicon& lex) {
    Lcg rnd{99};
    std::string t;
    for (std::size_t n = 0; n < 100'000; ++n) {
        const std::uint32_t k = rnd() % 100;
        if (k < 40) t += lex.nouns[rnd() % lex.nouns.size()];
        else if (k < 65) t += lex.adjectives[rnd() % lex.adjectives.size()];
        else if (k < 80) t += lex.verbs[rnd() % lex.verbs.size()];
        else t += kSmall[rnd() % std::size(kSmall)];
        const std::uint32_t g = rnd() % 20;
        t += g == 0 ? ". " : g == 1 ? ", " : g == 2 ? "\r" : " ";
    }
    return t;
}

// About 100,000 words of the lexicon's words and small words in book-like paragraphs.
std::string make_lexicon_book(const Lexicon& lex) {
    return make_book_text(100'000, true, 31, [&](Lcg& rnd) {
        const std::uint32_t k = rnd() % 100;
        return k < 40   ? lex.nouns[rnd() % lex.nouns.size()]
               : k < 65 ? lex.adjectives[rnd() % lex.adjectives.size()]
               : k < 80 ? lex.verbs[rnd() % lex.verbs.size()]
                        : std::string(kSmall[rnd() % std::size(kSmall)]);
    });
}

struct GrammarFixture {
    HWND dialog{};
    std::unique_ptr<Lexicon> lex;
    std::string text;
    std::size_t records = 0;

    GrammarFixture() {
        dialog = make_proof_panels();
        gl_FIND_TWO_NOUNS = 1;
        lex = std::make_unique<Lexicon>();
        text = make_text(*lex);
        records = put_source(text);
    }
};

GrammarFixture& fixture() {
    static GrammarFixture f;
    return f;
}

void counters(benchmark::State& state, const GrammarFixture& f) {
    state.counters["words_per_s"] =
        benchmark::Counter(static_cast<double>(f.records), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["report_lines"] = static_cast<double>(RE_GetLineCount(hBigReLeft));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.text.size()));
}

void BM_GrammarPasses100kWords(benchmark::State& state) {
    GrammarFixture& f = fixture();
    for (auto _ : state) {
        RE_SetTextW(hBigReLeft, u"");
        ProofRun run;
        run.source = hBigReRight;
        run.report = hBigReLeft;
        run.floor = sen_floor;
        run.nd = sen_nd;
        for (int order = 38; order <= 45; ++order) {
            const PassRow& row = pass_order[static_cast<std::size_t>(order)];
            if (row.run) row.run(run, row);
        }
    }
    counters(state, f);
}
BENCHMARK(BM_GrammarPasses100kWords)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_ProofReadWithLexicon100kWords(benchmark::State& state) {
    GrammarFixture& f = fixture();
    for (auto _ : state) {
        RE_SetTextW(hBigReLeft, u"");
        proof_read(hBigReRight, hBigReLeft, f.records, CHARRANGE{});
    }
    counters(state, f);
}
BENCHMARK(BM_ProofReadWithLexicon100kWords)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Every pass of the proof-reader: all its switches on, over the book-like text.
void BM_WholeProofReaderEverySwitch100kWords(benchmark::State& state) {
    GrammarFixture& f = fixture();
    static const std::string text = make_lexicon_book(*f.lex);
    const std::size_t records = put_source(text);
    gl_NOVEL_MODE = 1;
    gl_LOOSE_SPLIT = 1;
    for (auto _ : state) {
        RE_SetTextW(hBigReLeft, u"");
        proof_read(hBigReRight, hBigReLeft, records, CHARRANGE{});
    }
    state.counters["rows_run"] = static_cast<double>(last_proof.rows.size());
    gl_NOVEL_MODE = 0;
    gl_LOOSE_SPLIT = 0;
    state.counters["words_per_s"] =
        benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["report_lines"] = static_cast<double>(RE_GetLineCount(hBigReLeft));
    // The other benchmarks of this program read the fixture's text from the stores again.
    put_source(f.text);
}
BENCHMARK(BM_WholeProofReaderEverySwitch100kWords)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// ---- Over a lexicon of real size -------------------------------------------------------------------
// The word-form index of about 870,000 forms of 75,000 lemmas and b_bulgarian of real_size_lexicon.h
// with the proof-reader's small lists, and about 100,000 words of Bulgarian prose drawn from it
// (make_bulgarian_prose): what the proof-reader costs on the program's own data.
struct RealSizeFixture {
    std::unique_ptr<real_size::Lexicon> lex;
    std::string text;
    std::size_t records = 0;

    RealSizeFixture() {
        make_proof_panels();
        lex = real_size::make_lexicon("proof");
        write_proof_lists(*lex);
        load_lexicon(lex->dir);
        build_word_indexes();  // as the start does
        text = make_bulgarian_prose(*lex, 100'000);
    }
    // Puts the text into the source panel and cuts it into store 1.
    void tokenise() {
        records = put_source(text);
    }
};

RealSizeFixture& real_size_fixture() {
    static RealSizeFixture f;
    return f;
}

// The proof-reader as the program starts (CHECK_PUNCTUATION 1, LOAD_BG 1, the other switches as
// their defaults) and with every switch on (novel mode, loose splitting, two nouns).
void BM_ProofReaderRealSizeLexicon100kWords(benchmark::State& state) {
    RealSizeFixture& f = real_size_fixture();
    const bool every = state.range(0) != 0;
    reset_settings();
    gl_NOVEL_MODE = every;
    gl_LOOSE_SPLIT = every;
    gl_FIND_TWO_NOUNS = every;
    f.tokenise();
    // The first check of the text (nothing kept from a run before); the iterations then check it
    // again, as the checker does after every keystroke.
    release_kept_form_memo();
    release_kept_proof_findings();
    RE_SetTextW(hBigReLeft, u"");
    const auto t0 = std::chrono::steady_clock::now();
    proof_read(hBigReRight, hBigReLeft, f.records, CHARRANGE{});
    state.counters["first_check_ms"] = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    for (auto _ : state) {
        RE_SetTextW(hBigReLeft, u"");
        proof_read(hBigReRight, hBigReLeft, f.records, CHARRANGE{});
    }
    state.counters["rows_run"] = static_cast<double>(last_proof.rows.size());
    state.counters["words_per_s"] =
        benchmark::Counter(static_cast<double>(f.records), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["report_lines"] = static_cast<double>(RE_GetLineCount(hBigReLeft));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.text.size()));
    reset_settings();
}
BENCHMARK(BM_ProofReaderRealSizeLexicon100kWords)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The proof-reader as the program starts over 100,000 words of a wide vocabulary
// (make_wide_bulgarian_prose: over 40,000 distinct forms), checked again after one keystroke: a
// letter typed behind a word at the start, in the middle or at the end of the text (arg), and taken
// back in the next iteration. The text is cut into store 1 again untimed; the time is the check's.
void BM_ProofReaderWideVocabularyKeystroke(benchmark::State& state) {
    RealSizeFixture& f = real_size_fixture();
    static const std::string wide = make_wide_bulgarian_prose(*f.lex, 100'000);
    reset_settings();
    std::size_t at = std::min(wide.size() - 1, static_cast<std::size_t>(state.range(0)) * (wide.size() / 2));
    while (at > 0 && wide[at] != ' ') --at;
    std::string typed = wide;
    typed.insert(at, "\xE6");  // a Cyrillic letter behind the word
    release_kept_form_memo();
    release_kept_proof_findings();
    std::size_t records = put_source(wide);
    RE_SetTextW(hBigReLeft, u"");
    const auto t0 = std::chrono::steady_clock::now();
    proof_read(hBigReRight, hBigReLeft, records, CHARRANGE{});
    state.counters["first_check_ms"] = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    bool odd = false;
    for (auto _ : state) {
        state.PauseTiming();
        odd = !odd;
        records = put_source(odd ? typed : wide);
        RE_SetTextW(hBigReLeft, u"");
        state.ResumeTiming();
        proof_read(hBigReRight, hBigReLeft, records, CHARRANGE{});
    }
    state.counters["distinct_words"] = static_cast<double>(distinct_words(wide));
    state.counters["report_lines"] = static_cast<double>(RE_GetLineCount(hBigReLeft));
    reset_settings();
    f.tokenise();
}
BENCHMARK(BM_ProofReaderWideVocabularyKeystroke)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(10);

// Bad input for the re-check after a keystroke, the proof-reader as the program starts over the
// lexicon of real size: (kind 0) `n` paragraphs of one word, a letter typed into the middle one;
// (kind 1) one paragraph of `n` words, a letter typed in its middle; (kind 2) two paragraphs of
// `n` / 2 words each, joined by deleting the paragraph end between them. The first check is untimed;
// the time is the re-check's, which walks again only the paragraphs round the change: linear in
// them (kinds 1 and 2: the whole paragraph) plus what every check costs.
void BM_ProofReaderKeystrokeBadInput(benchmark::State& state) {
    RealSizeFixture& f = real_size_fixture();
    const auto n = static_cast<std::size_t>(state.range(0));
    const int kind = static_cast<int>(state.range(1));
    reset_settings();
    std::string text;
    if (kind == 0) {
        Lcg rnd{3};
        for (std::size_t i = 0; i < n; ++i) text += f.lex->forms[rnd() % f.lex->forms.size()] + "\r";
    } else {
        text = make_bulgarian_prose(*f.lex, n / 2, 11);
        for (char& c : text)
            if (c == '\r') c = ' ';
        text += kind == 2 ? "\r" : " ";
        std::string second = make_bulgarian_prose(*f.lex, n / 2, 12);
        for (char& c : second)
            if (c == '\r') c = ' ';
        text += second;
    }
    std::string changed = text;
    const std::size_t middle = kind == 2 ? text.find('\r') : text.find(kind == 0 ? '\r' : ' ', text.size() / 2);
    if (kind == 2) changed.erase(middle, 1);
    else changed.insert(middle, "\xE6");
    for (auto _ : state) {
        state.PauseTiming();
        release_kept_proof_findings();
        std::size_t records = put_source(text);
        RE_SetTextW(hBigReLeft, u"");
        proof_read(hBigReRight, hBigReLeft, records, CHARRANGE{});
        records = put_source(changed);
        RE_SetTextW(hBigReLeft, u"");
        state.ResumeTiming();
        proof_read(hBigReRight, hBigReLeft, records, CHARRANGE{});
    }
    state.SetComplexityN(static_cast<benchmark::IterationCount>(n));
    state.counters["bytes"] = static_cast<double>(text.size());
    reset_settings();
    f.tokenise();
}
BENCHMARK(BM_ProofReaderKeystrokeBadInput)
    ->ArgsProduct({{100'000, 400'000}, {0}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_ProofReaderKeystrokeBadInput)
    ->ArgsProduct({{350'000, 1'400'000}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Where the time of the proof-reader with every switch on goes: each row run alone over the same
// store, its time in milliseconds per iteration as counter "row<order>_ms" (rows under 1 ms left out).
void BM_ProofReaderRowsRealSizeLexicon(benchmark::State& state) {
    RealSizeFixture& f = real_size_fixture();
    reset_settings();
    gl_NOVEL_MODE = 1;
    gl_LOOSE_SPLIT = 1;
    gl_FIND_TWO_NOUNS = 1;
    f.tokenise();
    std::vector<double> ns(pass_order.size(), 0);
    for (auto _ : state) {
        RE_SetTextW(hBigReLeft, u"");
        ProofRun run = proof_run(hBigReRight, hBigReLeft, f.records);
        const FormMemo memo;
        const RunSpellings spellings;
        for (const PassRow& row : pass_order) {
            if (!row.run || !guard_open(row.guard, run)) continue;
            const auto t0 = std::chrono::steady_clock::now();
            row.run(run, row);
            ns[static_cast<std::size_t>(row.order)] +=
                static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - t0).count());
        }
    }
    for (const PassRow& row : pass_order) {
        const double ms = ns[static_cast<std::size_t>(row.order)] / 1e6 / static_cast<double>(state.iterations());
        if (ms >= 1.0) state.counters["row" + std::to_string(row.order) + "_ms"] = ms;
    }
    reset_settings();
}
BENCHMARK(BM_ProofReaderRowsRealSizeLexicon)->Unit(benchmark::kMillisecond)->Iterations(2);

// Bad input over the lexicon of real size, every switch on: a word and `n` commas in one gap, then
// `n` times "дума, " (arg 1), or `n` distinct words the lexicon does not know (arg 2). The time per
// word must stay flat as `n` grows (Complexity: linear).
void BM_ProofReaderBadInputRealSize(benchmark::State& state) {
    RealSizeFixture& f = real_size_fixture();
    const auto n = static_cast<std::size_t>(state.range(0));
    const int kind = static_cast<int>(state.range(1));
    std::string text = utf8_to_cp1251("Дума");
    if (kind == 1) {
        text += std::string(n, ',') + ' ';
        for (std::size_t i = 0; i < n; ++i) text += utf8_to_cp1251("дума, ");
    } else {
        // Made-up words spread over the alphabet, each ending in a letter no form ends in.
        const std::string mark = utf8_to_cp1251("ъщ");
        for (std::size_t i = 0; i < n; ++i)
            text += (i % 12 == 11 ? ". " : " ") + prose::make_word(static_cast<std::uint32_t>(i * 2654435761u % 4'000'000'000u), true) + mark;
    }
    text += '.';
    reset_settings();
    gl_NOVEL_MODE = 1;
    gl_LOOSE_SPLIT = 1;
    gl_FIND_TWO_NOUNS = 1;
    const std::size_t records = put_source(text);
    for (auto _ : state) {
        RE_SetTextW(hBigReLeft, u"");
        proof_read(hBigReRight, hBigReLeft, records, CHARRANGE{});
    }
    state.SetComplexityN(static_cast<benchmark::IterationCount>(n));
    state.counters["records"] = static_cast<double>(records);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    reset_settings();
    f.tokenise();
}
BENCHMARK(BM_ProofReaderBadInputRealSize)
    ->ArgsProduct({{100'000, 400'000}, {1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_ProofReaderBadInputRealSize)
    ->ArgsProduct({{250'000, 1'000'000}, {2}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity(benchmark::oN);

}  // namespace
