// Shared by the proof-reader's benchmarks: the headless panels it reads and writes.
#pragma once

#include <cstdint>
#include <iterator>
#include <string>

#include "bench_panels.h"
#include "bench_random.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/window_state.h"

// Installs the headless backend, starts the shell, the lexicon and the engine from their reset
// state with store 1 made without a word limit, and makes the text checker's stand-in with its two
// panels: the source (hBigReRight) and the report (hBigReLeft). Returns the window.
inline HWND make_proof_panels() {
    headless_install();
    reset_shell();
    reset_lexicon();
    reset_engine();
    OP[OPT_MAX_WORDS_IN_FILE].num_value = 0;
    smake();
    return make_checker_panels();
}

// About `words` words of book-like Bulgarian text: paragraphs of one to five sentences, a quarter of
// them dialogue lines (one paragraph when `paragraphs` is off, without dialogue), a capital at each
// sentence start, now and then a word in quotation marks and a typographic fault in a gap of the
// kinds the proof-reader's frame looks for. `word(rnd)` gives the next word in code page 1251.
template <typename Word>
std::string make_book_text(std::size_t words, bool paragraphs, std::uint64_t seed, Word&& word) {
    static const char* const kFaults[] = {", .", " ,", "  ", "\x97", " \x85", "...", ". ", "\x85", " -", "\x84", ",,", " - "};
    Lcg rnd{seed};
    std::string t;
    std::size_t n = 0;
    while (n < words) {
        if (paragraphs && rnd() % 4 == 0) t += "\x97 ";
        const int sentences = 1 + static_cast<int>(rnd() % 5);
        for (int s = 0; s < sentences; ++s) {
            const int len = 4 + static_cast<int>(rnd() % 14);
            for (int i = 0; i < len; ++i, ++n) {
                std::string w = word(rnd);
                if (i == 0) w[0] = static_cast<char>(cp_toupper(static_cast<unsigned char>(w[0])));
                if (rnd() % 40 == 0) w = "\x84" + w + "\x93";
                t += w;
                if (i + 1 == len) break;
                const std::uint32_t k = rnd() % 300;
                if (k < std::size(kFaults)) t += kFaults[k];
                else t += rnd() % 8 == 0 ? ", " : " ";
            }
            t += rnd() % 6 == 0 ? "? " : ". ";
        }
        t += paragraphs ? "\r" : " ";
    }
    return t;
}
