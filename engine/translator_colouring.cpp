#include "engine/translator_colouring.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_set>

#include "engine/consecutive_words.h"
#include "engine/rank_bands.h"
#include "engine/run_state.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "lexicon/wordclass.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "shell/settings.h"
#include "shell/window_state.h"
#include "spelling/word_index.h"

namespace {

constexpr std::size_t kProgressEvery = 1'000;
constexpr std::size_t kLongestLooked = 127;  // longer tokens get no first-letter colour
constexpr DWORD kColourBold = CFM_COLOR | CFM_BOLD;
constexpr char kRightQuote = '\x92';  // the right single quote of code page 1251

[[gnu::noinline]] void show_progress(const char* what, std::size_t i, std::size_t count) {
    if (!IsWindow(hBig)) return;
    SetWindowTextA(GetDlgItem(hBig, IDC_BIG_LABEL), jux_format("%s: %zu / %zu", what, i, count));
}
// The test for a progress line is made at every record, where it stays within the loop.
inline void progress(const char* what, std::size_t i, std::size_t count) {
    if (i != 0 && i % kProgressEvery == 0) show_progress(what, i, count);
}

unsigned char at(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }
bool latin_start(const char* t) { return *t && ascii_latin[static_cast<unsigned char>(*t)]; }

void colour(HWND re, LONG from, LONG to, DWORD mask, COLORREF c) {
    if (to > from) ColorRangeOn(re, from, to, mask, c, (mask & CFM_BOLD) ? DWORD{CFE_BOLD} : DWORD{0});
}

bool in_english2(std::string_view w) { return english_index(M_WL_ENGLISH2).find(w) >= 0; }

// A possessive whose owner is a known word: "John's", "boys'", "boxes'" (for "box").
bool known_possessive(std::string_view w) {
    const std::size_t n = w.size();
    if (n <= 4) return false;
    const unsigned char last = cp_tolower(at(w, n - 1)), before = cp_tolower(at(w, n - 2));
    const bool apostrophe_s = before == '\'' && last == 's';
    const bool s_apostrophe = before == 's' && last == '\'';
    if (!apostrophe_s && !s_apostrophe) return false;
    if (in_english2(w.substr(0, n - 2))) return true;
    if (s_apostrophe && n > 5 && cp_tolower(at(w, n - 3)) == 'e' && std::strchr("sxz", cp_tolower(at(w, n - 4))))
        return in_english2(w.substr(0, n - 3));
    return false;
}

bool is_no(std::string_view w) { return w.size() == 3 && cp_strcasecmp(w, "no.") == 0; }

std::string folded(std::string_view s) {
    std::string f(s);
    for (char& c : f) c = static_cast<char>(cp_tolower(static_cast<unsigned char>(c)));
    return f;
}

// The English sides of the Bulgarian-English dictionary, folded, gathered on first need in a run:
// the same answer as a scan of the list from its first entry, at the cost of one scan per run.
class EnglishSides {
public:
    bool has(std::string_view w) {
        if (!built_) {
            built_ = true;
            for (const ListPair& p : b[B_BULGARIAN_ENGLISH_UNSORTED].entries)
                if (p.has_rest()) rests_.insert(folded(p.rest));
        }
        return rests_.count(folded(w)) != 0;
    }

private:
    bool built_ = false;
    std::unordered_set<std::string> rests_;
};

// The first letter of a capitalised word: red when the English-Bulgarian dictionary knows it,
// brown and bold when it is an English side of the Bulgarian-English one, else brown alone.
void colour_capital(HWND re, LONG pos, const std::string& w, EnglishSides& sides) {
    if (!b[B_ENGLISH_BULGARIAN].entries.empty() && find_pair(b[B_ENGLISH_BULGARIAN].entries, w))
        colour(re, pos, pos + 1, kColourBold, kColKnownFirst);
    else if (sides.has(w))
        colour(re, pos, pos + 1, kColourBold, kColCapitalFirst);
    else
        colour(re, pos, pos + 1, CFM_COLOR, kColCapitalFirst);
}

void colour_first_letter(HWND re, const SenToken& t, const SenToken& next, EnglishSides& sides) {
    const std::size_t n = std::strlen(t.text);
    if (!latin_start(t.text) || n > kLongestLooked) return;
    std::string w(t.text, n);
    for (char& c : w)
        if (c == kRightQuote) c = '\'';
    bool first = !known_possessive(w);
    if (first && is_no(w)) first = ascii_digit[static_cast<unsigned char>(*next.text)] != 0;
    if (first && is_in_c_set(w)) first = false;
    if (first) {
        if (!ascii_latin_upper[at(w, 0)])
            colour(re, t.pos, t.pos + 1, kColourBold, kColKnownFirst);
        else
            colour_capital(re, t.pos, w, sides);
    }
    if (n > 1 && c_find(C_HARD, w)) colour(re, t.pos + 1, t.pos + 2, kColourBold, kColHard);
    if (n > 2 && c_find(C_HARD3, w)) colour(re, t.pos + 2, t.pos + 3, kColourBold, kColHard3);
}

}  // namespace

void colour_for_translators(HWND re, const RecordArray& walked) {
    // The main window's hidden entry copy is looked up, never shown: it gets no colour.
    if (!IsWindow(re) || re == hAddReShortCopy || !walked.floor) return;
    const RunKeys keys(walked.floor, walked.nd);
    for (int n = 2; n <= kLongestRun; ++n)
        color_consecutive_words(n, kRunColours[static_cast<std::size_t>(std::min(n, 9) - 2)], keys, re);
    EnglishSides sides;
    const std::size_t count = walked.count();
    for (std::size_t i = 0; i < count; ++i) {
        progress("coloring one", i, count);
        colour_first_letter(re, walked.floor[i], walked.floor[i + 1], sides);
    }
}

void colour_hard_and_rare(HWND re, const RecordArray& walked) {
    if (!IsWindow(re) || re == hAddReShortCopy || !walked.floor) return;
    if (!gl_TEXT_COLORING && !gl_COLOR_RARE) return;
    const std::size_t count = walked.count();
    for (std::size_t i = 0; i < count; ++i) {
        progress("coloring hard & rare", i, count);
        const SenToken& t = walked.floor[i];
        const std::string_view w(t.text);
        if (!latin_start(t.text) || w.size() < 2) continue;
        const LONG start = t.pos + 1, end = t.pos + static_cast<LONG>(w.size());
        const bool hard = gl_TEXT_COLORING && c_find(C_HARD, w);
        if (hard) colour(re, start, end, kColourBold, kColHard);
        if (!gl_COLOR_RARE) continue;
        const ListPair* listed = english_index(M_WL_ENGLISH).find_entry(w);
        if (!listed) continue;
        if (!listed->has_rest()) {
            colour(re, start, end, kColourBold, kColHard);
            continue;
        }
        const std::int32_t rank = rank_of_text(listed->rest);
        if (rank <= kRarestCommonRank) continue;
        const COLORREF band = rank_band_colour(rank).value_or(kRankBands.back().colour);
        colour(re, start, hard ? t.pos + static_cast<LONG>(w.size() / 3) + 1 : end, kColourBold, band);
    }
}
