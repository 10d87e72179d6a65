#include <algorithm>
#include <cstring>

#include "engine/proofreading/agreement.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/lists.h"

namespace agree {

namespace {
bool less_nocase(const std::string& a, const std::string& b) { return cp_strcasecmp(a, b) < 0; }
}  // namespace

WordSet::WordSet(std::initializer_list<std::string_view> utf8) {
    for (std::string_view s : utf8) add(s);
    std::sort(words_.begin(), words_.end(), less_nocase);
}

WordSet::WordSet(std::span<const std::string_view> utf8) {
    for (std::string_view s : utf8) add(s);
    std::sort(words_.begin(), words_.end(), less_nocase);
}

void WordSet::add(std::string_view utf8) {
    const std::string s = utf8_to_cp1251(utf8);
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t j = std::min(s.find(' ', i), s.size());
        if (j > i) words_.push_back(s.substr(i, j - i));
        i = j + 1;
    }
}

bool WordSet::has(std::string_view w) const {
    auto it = std::lower_bound(words_.begin(), words_.end(), w,
                               [](const std::string& a, std::string_view k) { return cp_strcasecmp(a, k) < 0; });
    return it != words_.end() && cp_strcasecmp(*it, w) == 0;
}

bool blank_gap(const char* g) { return g[std::strspn(g, " \r")] == 0; }

bool cyr_capital(const char* w) { return ascii_cyrillic_upper[static_cast<unsigned char>(w[0])] != 0; }

bool in_dict(int b_row, std::string_view w) {
    return !w.empty() && find_pair(b[static_cast<std::size_t>(b_row)].entries, w) != nullptr;
}

std::string lead_blank(const SenToken& first) {
    const std::size_t n = std::strlen(first.gap);
    return n > 0 && first.gap[n - 1] == ' ' ? " " : "";
}

std::string tail_blank(const SenToken& after_last) { return after_last.gap[0] == ' ' ? " " : ""; }

void write_finding(PassReport& rep, const ProofRun& run, std::string_view context, std::string_view suggestion,
                   COLORREF suggestion_colour, long marker, COLORREF context_colour, COLORREF marker_colour) {
    const LONG line = rep.finding(context, suggestion, suggestion_colour);
    const auto n1 = static_cast<LONG>(context.size());
    if (context_colour != PR_CONTEXT)
        ColorRangeOn(run.report, line, line + n1, PR_COLOUR_BOLD, context_colour, CFE_BOLD);
    if (marker > 0 && marker < n1)
        ColorRangeOn(run.report, line + static_cast<LONG>(marker), line + static_cast<LONG>(marker) + 1, PR_COLOUR_BOLD,
                     marker_colour, CFE_BOLD);
}

}  // namespace agree
