#include "lexicon/english.h"

#include <charconv>

#include "lexicon/tables.h"

namespace {

constexpr std::string_view kInflection[] = {"pl. of ", "3rd of ", "pt of ", "pp of ", "pt/pp of ",
                                            "prp of ", "past of ", "comparative of ", "superlative of "};
constexpr std::string_view kSpelling[] = {"same as ", "alt. spelling of", "US spelling of ", "UK spelling of "};
constexpr std::string_view kLemmaMarkers[] = {"pl. of ", "3rd of ", "pt of ", "pp of ", "prp of ",
                                              "comparative of ", "superlative of ", "alt. spelling of",
                                              "US spelling of ", "UK spelling of "};

// The word that starts at `at` (after blanks): up to a blank, a comma, a semicolon, a bracket or
// a bar; a final full stop is not part of it.
std::string word_at(std::string_view s, size_t at) {
    while (at < s.size() && (s[at] == ' ' || s[at] == '\t')) ++at;
    size_t e = at;
    while (e < s.size() && std::string_view(" \t,;()[]|\r\n").find(s[e]) == std::string_view::npos) ++e;
    std::string w(s.substr(at, e - at));
    while (!w.empty() && w.back() == '.') w.pop_back();
    return w.substr(0, 1023);
}

}  // namespace

int GetStem(std::string_view definition, std::string& dest) {
    dest.clear();
    size_t best = std::string_view::npos;
    size_t best_end = 0;
    int kind = -1;
    auto consider = [&](std::string_view marker, int k) {
        const size_t p = definition.find(marker);
        if (p != std::string_view::npos && (best == std::string_view::npos || p < best)) {
            best = p;
            best_end = p + marker.size();
            kind = k;
        }
    };
    for (std::string_view m : kInflection) consider(m, 1);
    for (std::string_view m : kSpelling) consider(m, 2);
    if (kind < 0) return -1;
    dest = word_at(definition, best_end);
    if (dest.empty()) return -1;
    return kind;
}

int GetStemLemma(std::string_view definition, std::string& dest) {
    dest.clear();
    for (std::string_view m : kLemmaMarkers) {
        const size_t p = definition.find(m);
        if (p == std::string_view::npos) continue;
        dest = word_at(definition, p + m.size());
        return dest.empty() ? -1 : 1;
    }
    return -1;
}

int GetRankInt(std::string_view word) {
    const ListPair* p = find_pair(m[M_WL_ENGLISH], word);
    if (!p) return 1'000'000;
    if (!p->has_rest()) return 500'000;
    int rank = 0;
    auto [ptr, ec] = std::from_chars(p->rest.data(), p->rest.data() + p->rest.size(), rank);
    if (ec != std::errc() || ptr == p->rest.data()) return 500'000;
    return rank;
}
