// Shared by the proof-reader's benchmarks: the headless panels it reads and writes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "bench_panels.h"
#include "bench_random.h"
#include "prose_util.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "engine/tokeniser.h"
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

// Puts the text (code page 1251) into the source panel and cuts it into store 1; returns the
// number of records.
inline std::size_t put_source(const std::string& text) {
    RE_SetTextW(hBigReRight, cp1251_to_utf16(text));
    std::string t8 = text;
    return tokenise_text(t8, 0);
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

// ---- The proof-reader over a lexicon of real size --------------------------------------------------
// The small lists the proof-reader reads beside the word-form index and b_bulgarian (prepositions,
// relative words, pronouns, wrong pairs, words after "по", OCR letter pairs), written into the
// folder of a lexicon made by real_size_lexicon.h; the wrong pairs are pairs of its forms, so that
// a pair of them in a text is sometimes one.
template <typename Lexicon>
void write_proof_lists(const Lexicon& lex) {
    const auto write = [&](const char* name, const std::string& body) {
        std::ofstream(lex.dir / name, std::ios::binary) << body;
    };
    const auto lines = [](std::initializer_list<const char*> words) {
        std::string s;
        for (const char* w : words) s += utf8_to_cp1251(w) + "\r\n";
        return s;
    };
    write("b_bulgarian_comma1.txt",
          lines({"без", "в", "във", "вместо", "върху", "до", "зад", "за", "из", "извън", "като", "край", "към",
                 "между", "на", "над", "около", "от", "отвъд", "пред", "преди", "през", "при", "с", "след",
                 "срещу", "със", "у", "чрез"}));
    write("b_bulgarian_comma2.txt", lines({"където", "който", "която", "което", "които", "каквото", "когото",
                                           "чийто", "чиято", "чието", "чиито"}));
    write("b_bulgarian_po_nai.txt", lines({"бял", "добре", "малко", "много", "лесно", "трудно"}));
    write("b_bulgarian_two_letters.txt", lines({"л з", "н п", "х"}));
    write("b_bulgarian_capit.txt", lines({"българия", "софия", "европа"}));
    Lcg rnd{77};
    std::vector<std::string> pairs;
    for (int i = 0; i < 20'000; ++i) {
        const std::string& a = lex.forms[rnd() % lex.forms.size()];
        const std::string& c = lex.forms[rnd() % lex.forms.size()];
        pairs.push_back(a + '_' + c + ' ' + a + c);
    }
    std::sort(pairs.begin(), pairs.end(), [](const std::string& x, const std::string& y) { return cp_strcasecmp(x, y) < 0; });
    std::string body;
    for (const std::string& p : pairs) body += p + "\r\n";
    write("b_bulgarian_misspelling.txt", body);
    write("b_bulgarian_misspelling_fast.txt", lines({"за_това", "от_колкото"}));
}

// The places of a lexicon's forms in a fixed shuffle of them.
template <typename Lexicon>
std::vector<std::size_t> shuffled_forms(const Lexicon& lex, std::uint64_t seed) {
    std::vector<std::size_t> order(lex.forms.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    Lcg shuffle{seed};
    for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[shuffle() % i]);
    return order;
}

// About `words` words of Bulgarian prose: a third short words, the rest forms of the lexicon drawn
// by a Zipf law over a fixed shuffle of them, in book-like paragraphs (make_book_text).
template <typename Lexicon>
std::string make_bulgarian_prose(const Lexicon& lex, std::size_t words, std::uint64_t seed = 5) {
    const std::vector<std::size_t> order = shuffled_forms(lex, seed);
    const std::vector<std::string>& small = prose::bulgarian_small_words();
    return make_book_text(words, true, seed, [&](Lcg& rnd) {
        if (rnd() % 3 == 0) return small[prose::zipf(rnd, small.size())];
        std::string w = lex.forms[order[prose::zipf(rnd, order.size())]];
        return w;
    });
}

// About `words` words of Bulgarian prose of a wide vocabulary (at least 40,000 distinct forms in
// 100,000 words, as a long novel or a collection of texts has): a quarter short words, of the rest
// a third drawn by the Zipf law of make_bulgarian_prose and two thirds drawn evenly from every form
// of the lexicon, in the same book-like paragraphs.
template <typename Lexicon>
std::string make_wide_bulgarian_prose(const Lexicon& lex, std::size_t words, std::uint64_t seed = 7) {
    const std::vector<std::size_t> order = shuffled_forms(lex, seed);
    const std::vector<std::string>& small = prose::bulgarian_small_words();
    return make_book_text(words, true, seed, [&](Lcg& rnd) {
        const std::uint32_t k = rnd() % 4;
        if (k == 0) return small[prose::zipf(rnd, small.size())];
        if (k == 1) return lex.forms[order[prose::zipf(rnd, order.size())]];
        return lex.forms[order[rnd() % order.size()]];
    });
}

// The number of distinct words of a text (letter case counts), for the benchmarks' counters.
inline std::size_t distinct_words(const std::string& text) {
    std::vector<std::string> seen;
    std::string w;
    for (char c : text + ' ') {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0xC0 || static_cast<unsigned>((u | 0x20) - 'a') < 26u) {
            w += c;
        } else if (!w.empty()) {
            seen.push_back(w);
            w.clear();
        }
    }
    std::sort(seen.begin(), seen.end());
    return static_cast<std::size_t>(std::unique(seen.begin(), seen.end()) - seen.begin());
}
