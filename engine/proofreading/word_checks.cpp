#include "engine/proofreading/word_checks.h"

#include <algorithm>
#include <cstring>

#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "shell/lists.h"
#include "shell/panels.h"
#include "shell/token_frequency_index.h"
#include "shell/window_state.h"
#include "spelling/spell_state.h"

WordList::WordList(std::initializer_list<std::string_view> utf8) {
    for (std::string_view text : utf8) add(text);
    sort();
}

WordList::WordList(std::span<const std::string_view> utf8) {
    for (std::string_view text : utf8) add(text);
    sort();
}

void WordList::add(std::string_view utf8) {
    const std::string s = cp1251(utf8);
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t j = std::min(s.find(' ', i), s.size());
        if (j > i) words_.push_back(s.substr(i, j - i));
        i = j + 1;
    }
}

namespace {

// The folding of the Cyrillic letter case rules, which fold every letter the other rules fold: two
// words equal under any rules have first letters equal under these.
unsigned char fold_any(char c) { return cp1251_detail::full_ctype.lower[static_cast<unsigned char>(c)]; }

}  // namespace

void WordList::sort() {
    sorted_ = words_;
    std::sort(sorted_.begin(), sorted_.end(),
              [](const std::string& a, const std::string& b) { return cp_strcasecmp(a, b) < 0; });
    shortest_ = sorted_.empty() ? 1 : sorted_.front().size();
    longest_ = 0;
    for (const std::string& w : sorted_) {
        shortest_ = std::min(shortest_, w.size());
        longest_ = std::max(longest_, w.size());
        const unsigned char f = fold_any(w[0]);
        firsts_[f >> 6] |= std::uint64_t{1} << (f & 63);
    }
}

bool WordList::may_hold(std::string_view w) const {
    if (w.size() < shortest_ || w.size() > longest_) return false;
    const unsigned char f = fold_any(w[0]);
    return (firsts_[f >> 6] >> (f & 63)) & 1;
}

bool WordList::has(std::string_view w) const {
    if (!may_hold(w)) return false;
    const auto it = std::lower_bound(sorted_.begin(), sorted_.end(), w,
                                     [](const std::string& a, std::string_view k) { return cp_strcasecmp(a, k) < 0; });
    return it != sorted_.end() && cp_strcasecmp(*it, w) == 0;
}

bool WordList::has_exact(std::string_view w) const {
    if (!may_hold(w)) return false;
    auto it = std::lower_bound(sorted_.begin(), sorted_.end(), w,
                               [](const std::string& a, std::string_view k) { return cp_strcasecmp(a, k) < 0; });
    for (; it != sorted_.end() && cp_strcasecmp(*it, w) == 0; ++it)
        if (*it == w) return true;
    return false;
}

bool in_b_row(int row, std::string_view word) {
    return !word.empty() && find_pair(b[static_cast<std::size_t>(row)].entries, word) != nullptr;
}

bool known_bg(std::string_view w) { return in_b_row(B_BULGARIAN, w); }

std::string cut127(std::string s) {
    if (s.size() > 127) s.resize(127);
    return s;
}

bool cyr_upper(char c) { return ascii_cyrillic_upper[static_cast<unsigned char>(c)] != 0; }
bool cyr_lower(char c) { return ascii_cyrillic_lower[static_cast<unsigned char>(c)] != 0; }

bool tag_letter(const char* w) { return w[0] && !w[1] && std::strchr("ACDEFILMPST", w[0]); }

bool tag_line(const SenToken* p) { return tag_letter(p->text) && (p[1].gap[0] == '>' || p[1].gap[0] == '$'); }

std::string lead_blank(const SenToken& first) {
    const std::size_t n = std::strlen(first.gap);
    return n > 0 && first.gap[n - 1] == ' ' ? " " : "";
}

std::string tail_blank(const SenToken& after_last) { return after_last.gap[0] == ' ' ? " " : ""; }

WordPair::WordPair(const SenToken* at) : p(at), lead(lead_blank(at[-1])), trail(tail_blank(at[1])) {}

std::string WordPair::context() const { return lead + p[-1].text + ' ' + p->text + trail; }

void WordPair::report(PassReport& rep, const ProofRun& run, std::string_view suggestion, COLORREF colour) const {
    const LONG line = rep.finding(context(), suggestion, colour);
    const LONG m = static_cast<LONG>(lead.size() + std::strlen(p[-1].text)) - 1;
    if (begins_with_break(p->gap) && m > 0) mark_line_break(run, line + m);
}

namespace {

bool letter(unsigned char c) { return ascii_cyrillic[c] || ascii_latin[c]; }

template <typename F>
std::string map_letters(std::string_view w, F&& f) {
    std::string out(w);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (letter(c)) out[i] = static_cast<char>(f(i, c));
    }
    return out;
}

}  // namespace

std::string lower_word(std::string_view w) {
    return map_letters(w, [](std::size_t, unsigned char c) { return cp_tolower(c); });
}

std::string upper_word(std::string_view w) {
    return map_letters(w, [](std::size_t, unsigned char c) { return cp_toupper(c); });
}

std::string capitalised_word(std::string_view w) {
    return map_letters(w, [](std::size_t i, unsigned char c) { return i == 0 ? cp_toupper(c) : cp_tolower(c); });
}

void findings_summary(ProofRun& run, std::u16string_view kind, SummaryEntry (*suggest)(std::string_view name)) {
    unsigned long long total = 0;
    for (const GRecord* g = g_floor; g < g_nd; ++g) total += g->count;
    glMsgW = u"ОБОБЩЕНИЕ НА ";
    glMsgW += utf8_to_utf16(std::to_string(g_nd - g_floor));
    glMsgW += u' ';
    glMsgW += kind;
    glMsgW += utf8_to_utf16(std::to_string(total));
    glMsgW += u" срещания):";
    report_line(run, glMsgW, 2, PR_TITLE, 0);

    unsigned number = 0;
    for (const GRecord* g = g_floor; g < g_nd; ++g) {
        const std::string num = std::to_string(++number) + ". ";
        const std::string name(g->name);
        const std::string count = "  " + std::to_string(g->count);
        const SummaryEntry s = suggest(name);
        glMsg = num + name + count + s.suggestion;
        CHARRANGE at{};
        SelectReEnd(run.report, at);
        JuxShowMessage(run.report, glMsg, 1);
        LONG x = at.cpMin;
        const auto span = [&](std::size_t n, COLORREF colour, DWORD effects) {
            ColorRangeOn(run.report, x, x + static_cast<LONG>(n), PR_COLOUR_BOLD, colour, effects);
            x += static_cast<LONG>(n);
        };
        const auto* u = reinterpret_cast<const unsigned char*>(name.c_str());
        const bool name_like = name.size() > 2 && ((ascii_cyrillic_upper[u[0]] && ascii_cyrillic_lower[u[1]]) ||
                                                   (ascii_upper[u[0]] && ascii_apos[u[1]] && ascii_upper[u[2]]));
        span(num.size(), gl_col_nosug, 0);
        span(name.size(), name_like ? 0xFF55FF : PR_CONTEXT, CFE_BOLD);
        span(count.size(), PR_COUNT, 0);
        span(s.suggestion.size(), s.colour, 0);
        RE_SetSel(run.report, CHARRANGE{at.cpMin + 1, at.cpMin + 1});
    }
}
