#include "engine/consecutive_words.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/run_state.h"
#include "lexicon/corpora.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "lexicon/wordclass.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "shell/window_state.h"

namespace {

constexpr std::size_t kProgressEvery = 1'000;  // windows between progress lines

// A token a run may hold: it begins with a Latin letter or holds a digit.
bool run_token(const char* t) {
    if (!*t) return false;
    if (ascii_latin[static_cast<unsigned char>(*t)]) return true;
    for (; *t; ++t)
        if (*t >= '0' && *t <= '9') return true;
    return false;
}

// A gap inside a run: blanks, commas and line breaks only.
bool run_gap(const char* g) {
    for (; *g; ++g)
        if (*g != ' ' && *g != ',' && *g != '\r') return false;
    return true;
}

// The first list of the sentence corpus that a run followed by `mark` belongs to, the user's list
// first.
const SentencePair* in_first_corpus_list(std::string_view key, char mark) {
    const CorpusTable* own = &cs_cust_glob;
    const CorpusTable* plain = &cs_glob;
    if (mark == '!') own = &cse_cust_glob, plain = &cse_glob;
    else if (mark == '?') own = &csq_cust_glob, plain = &csq_glob;
    else if (mark == ',') own = &csc_cust_glob, plain = &csc_glob;
    if (const SentencePair* s = find_sentence((*own)[0], key)) return s;
    return find_sentence((*plain)[0], key);
}

LONG length_of(const SenToken& t) { return static_cast<LONG>(std::strlen(t.text)); }

// Every token of the window but its last character, in the colour with `effects` added; the first
// token also italic.
void mark_tokens(HWND re, const SenToken* w, int n, COLORREF colour, DWORD mask, DWORD effects) {
    for (int k = 0; k < n; ++k) {
        const LONG len = length_of(w[k]);
        if (len < 2) continue;
        const DWORD m = k == 0 ? mask | DWORD{CFM_ITALIC} : mask;
        const DWORD e = k == 0 ? effects | DWORD{CFE_ITALIC} : effects;
        ColorRangeOn(re, w[k].pos, w[k].pos + len - 1, m, colour, e);
    }
}

}  // namespace

void color_consecutive_words(int n, COLORREF colour, const SenToken* first, const SenToken* end, HWND re) {
    if (n < 1 || !first || end < first || !IsWindow(re) || re == hAddReShortCopy) return;
    const std::size_t count = static_cast<std::size_t>(end - first);
    const std::size_t size = static_cast<std::size_t>(n);
    if (count < size) return;
    const std::size_t windows = count - size + 1;
    std::string key, display;
    for (std::size_t i = 0; i < windows; ++i) {
        if ((i + 1) % kProgressEvery == 0 && IsWindow(hBig))
            SetWindowTextA(GetDlgItem(hBig, IDC_BIG_LABEL), jux_format("coloring: %d %zu / %zu", n, i + 1, windows));
        const SenToken* w = first + i;
        bool fits = true;
        for (int k = 0; k < n && fits; ++k) fits = run_token(w[k].text) && (k == 0 || run_gap(w[k].gap));
        if (!fits) continue;
        key.assign(w[0].text);
        for (int k = 1; k < n && key.size() <= kRunKeyRoom; ++k) {
            key += w[k].gap;
            key += w[k].text;
        }
        if (key.size() > kRunKeyRoom) continue;  // longer than any key of the lists
        if (!normailize_sentence(key, display)) continue;
        const LONG start = w[0].pos;
        const LONG stop = w[n - 1].pos + length_of(w[n - 1]);
        if (is_in_c_set(key)) {
            if (n == 2) ColorRangeOn(re, start, stop, CFM_COLOR | CFM_UNDERLINE, colour, CFE_UNDERLINE);
            else mark_tokens(re, w, n, colour, CFM_COLOR, 0);
        }
        if (in_first_corpus_list(key, w[n].gap[0])) {
            if (n == 2)
                ColorRangeOn(re, start, stop, CFM_COLOR | CFM_UNDERLINE | CFM_BOLD, colour, CFE_UNDERLINE | CFE_BOLD);
            else
                mark_tokens(re, w, n, colour, CFM_COLOR | CFM_BOLD, CFE_BOLD);
        }
        if (find_pair(b[B_ENGLISH_BULGARIAN].entries, key)) {
            const LONG bold_to = std::min(start + n, start + length_of(w[0]));
            if (bold_to > start + 1) ColorRangeOn(re, start + 1, bold_to, CFM_BOLD, 0, CFE_BOLD);
        }
    }
}
