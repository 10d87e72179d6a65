// A blank before a full stop, two dots, capitals and small letters mixed inside a word, and words
// typed in Latin letters that all look like Cyrillic ones.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/word_checks.h"
#include "lexicon/tables.h"
#include "shell/strings.h"

const WordList word_check_lists::kLatinSkip{"bueno year book"};

using namespace word_check_lists;

namespace {

// Rows 21 and 22 look at words that fit their 64-byte buffers.
constexpr std::size_t kCaseWordMax = 63;

bool in(const unsigned char* table, char c) { return table[static_cast<unsigned char>(c)] != 0; }

// w[i] small and w[i+1] capital, of the same alphabet.
bool small_capital(const char* w, std::size_t i) {
    return (in(ascii_cyrillic_lower, w[i]) && in(ascii_cyrillic_upper, w[i + 1])) ||
           (in(ascii_latin_lower, w[i]) && in(ascii_latin_upper, w[i + 1]));
}

// w[i], w[i+1] capitals and w[i+2] small, of the same alphabet.
bool capitals_small(const char* w, std::size_t i) {
    return (in(ascii_cyrillic_upper, w[i]) && in(ascii_cyrillic_upper, w[i + 1]) &&
            in(ascii_cyrillic_lower, w[i + 2])) ||
           (in(ascii_latin_upper, w[i]) && in(ascii_latin_upper, w[i + 1]) && in(ascii_latin_lower, w[i + 2]));
}

template <typename F>
void walk_all(const ProofRun& run, F&& f) {
    for (const SenToken* p = run.begin(); p && p < run.end(); ++p) f(p);
}

void mark_word(const ProofRun& run, const SenToken* p) {
    mark_source(run, p->pos, p->pos + static_cast<LONG>(std::strlen(p->text)));
}

bool latin_char(char c) { return in(ascii_latin, c) || c == '-' || c == '\''; }

// A word made of Latin letters, hyphens and apostrophes only (the empty word too). Past its first
// sixteen bytes (most words end there) a word is read eight letters a step: a run of millions of
// letters is one word.
bool latin_only(const char* w) {
    std::size_t i = 0;
    for (; i < 16; ++i) {
        if (!w[i]) return true;
        if (!latin_char(w[i])) return false;
    }
    const std::size_t n = i + std::strlen(w + i);
    for (std::uint64_t x = 0; i + 8 <= n; i += 8) {
        std::memcpy(&x, w + i, 8);
        if (!eight_ascii_letters(x)) break;
    }
    for (; i < n; ++i)
        if (!latin_char(w[i])) return false;
    return true;
}

}  // namespace

// Latin letters and the Cyrillic letters they look like.
const std::array<LookAlike, LOOK_ALIKES> look_alikes{{
    {'a', "а"}, {'A', "А"}, {'e', "е"}, {'E', "Е"}, {'o', "о"}, {'O', "О"}, {'b', "в"},
    {'B', "В"}, {'c', "с"}, {'C', "С"}, {'H', "Н"}, {'r', "г"}, {'u', "и"}, {'U', "И"},
    {'k', "к"}, {'K', "К"}, {'m', "т"}, {'M', "М"}, {'n', "п"}, {'p', "р"}, {'P', "Р"},
    {'T', "Т"}, {'x', "х"}, {'X', "Х"}, {'y', "у"}, {'Y', "У"},
}};

void blank_before_dot(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    walk_all(run, [&](const SenToken* p) {
        const char* g = p->gap;
        const char* at = find_two(g, " .");
        if (at != g || at[2] == '.') return;
        const SenToken* f = run.floor;
        std::string ctx, sugg;
        if (p >= f + 3 && p[-1].gap[0] && p[-1].text[0] && p[-2].text[0] && !has_cr(p[-1].gap)) {
            const std::string words = std::string(p[-2].text) + p[-1].gap + p[-1].text;
            ctx = words + " .";
            sugg = " -> " + words + ".";
        } else if (p > f && p[-1].text[0]) {
            ctx = std::string(p[-1].text) + " .";
            sugg = " -> " + std::string(p[-1].text) + ".";
        } else {
            ctx = " .";
            sugg = " -> .";
        }
        rep.finding(ctx, sugg);
        mark_source(run, gap_start(*p), gap_start(*p) + 2);
    });
}

void two_dots(ProofRun& run, const PassRow& row) {
    static const std::string sugg = cp1251(" -> . (one dot) | … (three dots)");
    unsigned count = 0;
    walk_all(run, [&](const SenToken* p) {
        const char* g = p->gap;
        const char* at = find_two(g, "..");
        if (!at || at[2] == '.') return;
        if (p > run.floor && at == g) {
            const std::size_t n = std::strlen(p[-1].text);
            if (n > 0 && p[-1].text[n - 1] == '.') return;  // the word's own dot and two more: an ellipsis
        }
        ++count;
        mark_source(run, gap_start(*p), gap_start(*p) + static_cast<LONG>(at - g) + 2);
    });
    summary_report(run, row.title, count, "..", sugg);
}

void small_then_capital(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    const auto fault = [](const char* w) {
        const std::size_t n = std::strlen(w);
        if (n < 2 || n > kCaseWordMax) return false;
        for (std::size_t i = 0; i + 1 < n; ++i)
            if (small_capital(w, i) && (i == 0 || w[i - 1] != '-')) return true;
        return false;
    };
    walk_judged(run, [&](const SenToken* p) { return fault(p->text); }, [&](const SenToken* p) {
        const char* w = p->text;
        rep.finding(w, " -> " + lower_word(w) + " | " + upper_word(w) + " | " + capitalised_word(w));
        mark_word(run, p);
    });
}

void capitals_then_small(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    const auto fault = [](const char* w) {
        const std::size_t n = std::strlen(w);
        if (n < 2 || n > kCaseWordMax) return false;
        for (std::size_t i = 0; i + 1 < n; ++i)
            if (small_capital(w, i)) return false;  // the other pass reports it
        for (std::size_t i = 0; i + 2 < n; ++i)
            if (capitals_small(w, i)) return true;
        return false;
    };
    walk_judged(run, [&](const SenToken* p) { return fault(p->text); }, [&](const SenToken* p) {
        const char* w = p->text;
        rep.finding(w, " -> " + capitalised_word(w) + " | " + lower_word(w) + " | " + upper_word(w));
        mark_word(run, p);
    });
}

void latin_look_alike(ProofRun& run, const PassRow& row) {
    static const std::array<char, 256> map = [] {
        std::array<char, 256> m{};
        for (const LookAlike& l : look_alikes) m[static_cast<unsigned char>(l.latin)] = cp1251(l.cyrillic)[0];
        return m;
    }();
    PassReport rep(run, row.title);
    bool in_run = false;  // the word before was Latin: only the first word of a Latin run counts
    // Each word's letters are read once (a word is judged as the next one and then in its turn: a
    // run of millions of letters is one word).
    const SenToken* judged = nullptr;
    bool judged_latin = false;
    const auto latin = [&](const SenToken* q) {
        if (q != judged) {
            judged = q;
            judged_latin = latin_only(q->text);
        }
        return judged_latin;
    };
    walk_all(run, [&](const SenToken* p) {
        const char* w = p->text;
        if (!w[0]) return;
        // A word whose first character is none of a Latin word's ends the run at once.
        if (!latin_char(w[0])) {
            in_run = false;
            return;
        }
        if (std::strcmp(w, "n") == 0) return;
        if (!latin(p) || tag_line(p)) {
            in_run = false;
            return;
        }
        if (in_run) return;
        in_run = true;
        if (latin(p + 1) && !tag_line(p + 1)) return;  // the next word is Latin too
        if (kLatinSkip.has(w) || std::strcmp(w, "XX") == 0) return;
        std::string mapped(w, std::min<std::size_t>(std::strlen(w), 1023));
        for (char& c : mapped) {
            c = map[static_cast<unsigned char>(c)];
            if (!c) return;
        }
        rep.finding(w, " -> " + mapped);
    });
}
