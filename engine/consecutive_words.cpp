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
#include "platform/text.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "shell/strings.h"
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

RunKeys::RunKeys(const SenToken* first, const SenToken* end) : first_(first), end_(end) {
    const std::size_t count = first && end > first ? static_cast<std::size_t>(end - first) : 0;
    fits_.resize(count);
    start_.resize(count);
    stop_.resize(count);
    raw_start_.resize(count);
    raw_end_.resize(count);
    unusual_.assign(count + 1, 0);
    std::size_t raw = 0;
    std::uint32_t streak = 0;
    char last = '\0';  // the last character of the text before
    for (std::size_t j = 0; j < count; ++j) {
        const SenToken& t = first[j];
        streak = !run_token(t.text) ? 0 : (streak > 0 && run_gap(t.gap) ? streak + 1 : 1);
        fits_[j] = streak;
        // The gap as normalising makes it after the text before: a line break right after a
        // hyphen goes, another one is a blank, runs of blanks are one; blanks become '_'.
        char before = last, written = last;
        for (const char* g = t.gap; *g; ++g) {
            const char c = *g;
            const bool after_hyphen = before == '-';
            before = c;
            if (c == '\r') {
                if (after_hyphen || written == ' ') continue;
            } else if (c == ' ' && written == ' ') {
                continue;
            }
            written = c == '\r' ? ' ' : c;
            pool_.push_back(written == ' ' || written == '\t' ? '_' : written);
        }
        const std::size_t gap_size = std::strlen(t.gap), size = std::strlen(t.text);
        bool unusual = false;
        start_[j] = static_cast<std::uint32_t>(pool_.size());
        for (std::size_t k = 0; k < size; ++k) {
            const char c = t.text[k];
            unusual = unusual || c == ' ' || c == '\t' || c == '\r';
            pool_.push_back(static_cast<unsigned char>(c) == 0x92 ? '\'' : c);
        }
        stop_[j] = static_cast<std::uint32_t>(pool_.size());
        raw_start_[j] = static_cast<std::uint32_t>(raw + gap_size);
        raw += gap_size + size;
        raw_end_[j] = static_cast<std::uint32_t>(raw);
        unusual_[j + 1] = unusual_[j] + (unusual ? 1 : 0);
        last = size ? t.text[size - 1] : '\0';
    }
}

bool RunKeys::key(std::size_t i, std::size_t n, std::string_view& key) const {
    if (unusual_[i + n] != unusual_[i]) return false;
    key = std::string_view(pool_).substr(start_[i], stop_[i + n - 1] - start_[i]);
    return true;
}

const ListPair* RunKeys::in_english_bulgarian(std::size_t i, std::size_t n, std::string_view key, bool made) const {
    const std::vector<ListPair>& v = b[B_ENGLISH_BULGARIAN].entries;
    if (prefix_alive_.size() != fits_.size()) prefix_alive_.assign(fits_.size(), 1);
    // The answers of the pass before stand only for the pass right after it.
    const bool known = prefix_n_ + 1 == n;
    if (known && made && !prefix_alive_[i]) return nullptr;
    auto it = std::lower_bound(v.begin(), v.end(), key, [](const ListPair& p, std::string_view k) { return cmp_g(k, p) > 0; });
    const bool begins = it != v.end() && it->key.size() >= key.size() && cp_strncasecmp(it->key, key, key.size()) == 0;
    prefix_alive_[i] = !made || begins;
    return begins && it->key.size() == key.size() ? &*it : nullptr;
}

void color_consecutive_words(int n, COLORREF colour, const SenToken* first, const SenToken* end, HWND re) {
    if (n < 1 || !first || end < first || !IsWindow(re) || re == hAddReShortCopy) return;
    if (static_cast<std::size_t>(end - first) < static_cast<std::size_t>(n)) return;
    color_consecutive_words(n, colour, RunKeys(first, end), re);
}

void color_consecutive_words(int n, COLORREF colour, const RunKeys& keys, HWND re) {
    if (n < 1 || !keys.first() || !IsWindow(re) || re == hAddReShortCopy) return;
    const std::size_t count = keys.count();
    const std::size_t size = static_cast<std::size_t>(n);
    if (count < size) return;
    const std::size_t windows = count - size + 1;
    std::string built, display;
    std::string_view key;
    for (std::size_t i = 0; i < windows; ++i) {
        if ((i + 1) % kProgressEvery == 0 && IsWindow(hBig))
            SetWindowTextA(GetDlgItem(hBig, IDC_BIG_LABEL), jux_format("coloring: %d %zu / %zu", n, i + 1, windows));
        if (keys.fits(i + size - 1) < size) continue;
        if (keys.raw_size(i, size) > kRunKeyRoom) continue;  // longer than any key of the lists
        const SenToken* w = keys.first() + i;
        const bool made = keys.key(i, size, key);
        if (!made) {
            built.assign(w[0].text);
            for (int k = 1; k < n; ++k) {
                built += w[k].gap;
                built += w[k].text;
            }
            if (!normailize_sentence(built, display)) continue;
            key = built;
        }
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
        if (keys.in_english_bulgarian(i, size, key, made)) {
            const LONG bold_to = std::min(start + n, start + length_of(w[0]));
            if (bold_to > start + 1) ColorRangeOn(re, start + 1, bold_to, CFM_BOLD, 0, CFE_BOLD);
        }
    }
    keys.pass_done(size);
}
