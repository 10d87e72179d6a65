// libs: engine_run translation dictionary lexicon shell platform
// Benchmark of the machine translation: 10,000 generated English sentences (about 100,000 tokens)
// already cut into token store 1, translated into a headless panel with a lexicon of generated
// word-class lists (nouns, verbs, adjectives, two-word phrases), an English-Bulgarian dictionary
// and a sentence corpus that holds one sentence in ten. Counters: sentences and tokens per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

#include "bench_random.h"
#include "dictionary/loading.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "engine/tokeniser.h"
#include "engine/translation/translation.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/window_state.h"

namespace {

std::string word(Lcg& rnd, bool cyr) {
    const int len = 3 + static_cast<int>(rnd() % 7);
    std::string w;
    for (int i = 0; i < len; ++i) w += cyr ? static_cast<char>(0xE0 + rnd() % 32) : static_cast<char>('a' + rnd() % 26);
    return w;
}

void write(const std::filesystem::path& p, const std::string& s) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(s.data(), static_cast<std::streamsize>(s.size()));
}

struct TranslationFixture {
    std::filesystem::path dir;
    std::size_t sentences = 10'000;
    std::size_t tokens = 0;

    TranslationFixture() {
        headless_install();
        reset_shell();
        reset_lexicon();
        reset_engine();
        smake();
        dir = std::filesystem::temp_directory_path() / ("jux_bench_mt_" + std::to_string(::getpid()));
        Lcg rnd{7};
        std::vector<std::string> nouns, verbs, adjs, others;
        for (int i = 0; i < 4'000; ++i) nouns.push_back(word(rnd, false));
        for (int i = 0; i < 3'000; ++i) verbs.push_back(word(rnd, false));
        for (int i = 0; i < 2'000; ++i) adjs.push_back(word(rnd, false));
        for (int i = 0; i < 1'000; ++i) others.push_back(word(rnd, false));
        auto pairs = [&](const std::vector<std::string>& keys) {
            std::string s;
            for (const std::string& k : keys) s += k + " " + word(rnd, true) + "\r\n";
            return s;
        };
        write(dir / "c" / "c_c11.txt", pairs(nouns));
        write(dir / "c" / "c_v_az11.txt", pairs(verbs));
        write(dir / "c" / "c_adj11.txt", pairs(adjs));
        std::string two;
        for (int i = 0; i < 3'000; ++i) two += adjs[rnd() % adjs.size()] + "_" + nouns[rnd() % nouns.size()] + " " +
                                           word(rnd, true) + " " + word(rnd, true) + "\r\n";
        write(dir / "c" / "c_two11.txt", two);
        write(dir / "b_english_bulgarian.txt", pairs(others));

        // The text: sentences of 6 to 14 words; one in ten also goes into the corpus.
        std::string text, corpus;
        for (std::size_t k = 0; k < sentences; ++k) {
            const int n = 6 + static_cast<int>(rnd() % 9);
            std::string sentence, key;
            for (int i = 0; i < n; ++i) {
                const std::uint32_t c = rnd() % 4;
                const std::vector<std::string>& from = c == 0 ? nouns : c == 1 ? verbs : c == 2 ? adjs : others;
                std::string w = from[rnd() % from.size()];
                if (i == 0) w[0] = static_cast<char>(w[0] - 'a' + 'A');
                if (rnd() % 20 == 0) w = word(rnd, false);  // now and then a word nothing knows
                sentence += (i ? " " : "") + w;
                key += (i ? "_" : "") + w;
            }
            text += sentence + (k % 7 == 0 ? ".\r" : ". ");
            if (k % 10 == 0) corpus += key + ".\t" + word(rnd, true) + " " + word(rnd, true) + ".\r\n";
        }
        write(dir / "c" / "cs_11.txt", corpus);
        load_lexicon(dir);  // the tables keep the files' bytes: the folder can go
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
        tokens = tokenise_text(text, 0);

        DialogTemplate t;
        t.id = 9101;
        t.cx = 300;
        t.cy = 200;
        t.style = WS_POPUP;
        t.controls = {
            {ControlKind::RichEdit, 1, u"", 0, 0, 100, 100, WS_CHILD | ES_MULTILINE},
            {ControlKind::RichEdit, 2, u"", 0, 0, 100, 100, WS_CHILD | ES_MULTILINE},
            {ControlKind::RichEdit, 3, u"", 0, 0, 100, 100, WS_CHILD | ES_MULTILINE},
        };
        hMachine = CreateDialogIndirect(t, HWND{}, [](HWND, const Msg&) -> INT_PTR { return 0; });
        hMachineRe = GetDlgItem(hMachine, 1);
        hMachineReFilter = GetDlgItem(hMachine, 2);
        RE_LimitText(hMachineRe, 1 << 30);
        gl_MACHINE_TRANSLATION = 1;
    }
};

TranslationFixture& fixture() {
    static TranslationFixture f;
    return f;
}

void BM_TranslateSentences(benchmark::State& state) {
    TranslationFixture& f = fixture();
    state.SetLabel(state.range(0) ? "parallel display" : "translation only");
    gl_SHOW_PARALLEL_TRANSLATION = static_cast<std::int8_t>(state.range(0));
    for (auto _ : state) machine_translation(HWND{}, HWND{}, store1.rec);
    state.counters["sentences_per_s"] = benchmark::Counter(static_cast<double>(mt_counters.sentences),
                                                           benchmark::Counter::kIsIterationInvariantRate);
    state.counters["tokens_per_s"] =
        benchmark::Counter(static_cast<double>(f.tokens), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["known"] = mt_counters.known_sentences;
}
BENCHMARK(BM_TranslateSentences)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
