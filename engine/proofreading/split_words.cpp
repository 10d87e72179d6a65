// Two neighbouring words that should be one (a word torn apart by hand or by a line break) or that
// are a known wrong pair from the misspelling lists.
#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>
#include <unordered_map>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/word_checks.h"
#include "engine/run_state.h"
#include "engine/separators.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "shell/gmake.h"
#include "shell/panels.h"
#include "shell/lists.h"
#include "shell/settings.h"
#include "shell/strings.h"

namespace {

constexpr std::size_t kCorrectionMax = 127;
constexpr std::size_t kPairMax = 127;  // the pair forms are cut to this many characters

// The keys of the known-word list and of the two misspelling lists that may pair with a first word:
// those longer than the word that begin with it (its joined and hyphened forms) and those that begin
// with the word and '_' (its listed wrong pairs). Found once per spelling of a first word; most are
// empty, and a pair of an empty part needs no search.
struct FirstWordParts {
    std::span<const ListPair> known, misspelt, misspelt_fast;
};

class PairLists {
public:
    PairLists()
        : known_(b[B_BULGARIAN].entries), misspelt_(b[B_BULGARIAN_MISSPELLING].entries),
          fast_(b[B_BULGARIAN_MISSPELLING_FAST].entries) {}

    // The parts of a first word (every pair form of which begins with it).
    FirstWordParts parts(std::string_view first) {
        if (empty_) return {};
        auto it = parts_.find(first);
        if (it != parts_.end()) return it->second;
        std::string under(first);
        under += '_';
        // The first word itself is no pair form: only the longer keys.
        std::span<const ListPair> known = known_.with_prefix(first);
        while (!known.empty() && known.front().key.size() == first.size()) known = known.subspan(1);
        const FirstWordParts p{known, misspelt_.with_prefix(under), fast_.with_prefix(under)};
        // A text of very many distinct words is not remembered whole.
        if (parts_.size() < kMostRemembered) parts_.emplace(first, p);
        return p;
    }

private:
    static constexpr std::size_t kMostRemembered = std::size_t{1} << 18;
    PairSearch known_, misspelt_, fast_;
    const bool empty_ = b[B_BULGARIAN].entries.empty() && b[B_BULGARIAN_MISSPELLING].entries.empty() &&
                        b[B_BULGARIAN_MISSPELLING_FAST].entries.empty();
    std::unordered_map<std::string_view, FirstWordParts> parts_;  // keys point into token store 1
};

// Compares a key's text from `skip` on with `sep` followed by `rest`, letter case ignored, as
// cp_strcasecmp compares the texts.
int compare_rest(std::string_view key, std::size_t skip, char sep, std::string_view rest) {
    const std::string_view k = key.substr(std::min(skip, key.size()));
    const std::size_t n = rest.size() + 1;
    for (std::size_t i = 0; i < n && i < k.size(); ++i) {
        const auto a = cp_tolower(static_cast<unsigned char>(k[i]));
        const auto b = cp_tolower(static_cast<unsigned char>(i == 0 ? sep : rest[i - 1]));
        if (a != b) return a < b ? -1 : 1;
    }
    return k.size() < n ? -1 : k.size() > n ? 1 : 0;
}

// In a part whose keys all begin with the first word (`skip` characters), the first entry whose key
// is the first word, `sep` and `rest` (letter case ignored): what find_pair finds for that pair form
// in the whole list, without making it.
const ListPair* find_pair_form(std::span<const ListPair> part, std::size_t skip, char sep, std::string_view rest) {
    const auto it = std::partition_point(part.begin(), part.end(),
                                         [&](const ListPair& e) { return compare_rest(e.key, skip, sep, rest) < 0; });
    return it != part.end() && compare_rest(it->key, skip, sep, rest) == 0 ? &*it : nullptr;
}

// The entry of a wrong pair ("word_word") in the misspelling lists, or null.
const ListPair* listed_pair(const std::string& key) {
    const ListPair* e = find_pair(b[B_BULGARIAN_MISSPELLING].entries, key);
    return e ? e : find_pair(b[B_BULGARIAN_MISSPELLING_FAST].entries, key);
}

// The first correction of an entry: the text before the first '|' or '(' without the blank that
// stands before it.
std::string first_correction(std::string s) {
    const std::size_t at = s.find_first_of("|(");
    if (at != std::string::npos) {
        s.resize(at);
        if (!s.empty() && s.back() == ' ') s.pop_back();
        if (s.size() > kCorrectionMax) s.resize(kCorrectionMax);
    }
    return s;
}

void mark_pair(const ProofRun& run, const SenToken* p) {
    const LONG n = static_cast<LONG>(std::strlen(p[-1].text) + std::strlen(p->text) + std::strlen(p->gap));
    mark_source(run, p[-1].pos, p[-1].pos + n);
}

// What the summary offers for one reported pair ("word word").
SummaryEntry pair_suggestion(std::string_view name) {
    std::string key(name);
    const std::size_t blank = key.find(' ');
    if (blank == std::string::npos) return {};
    key[blank] = '_';
    if (const ListPair* e = listed_pair(cut127(key)))
        return SummaryEntry{e->has_rest() && !e->rest.empty() ? " -> " + std::string(e->rest) : " -> no suggestion",
                            PR_BLUE};
    const std::string first = key.substr(0, blank), second = key.substr(blank + 1);
    const std::string joined = cut127(first + second), hyphened = cut127(first + '-' + second);
    const bool j = known_bg(joined), h = known_bg(hyphened);
    if (j && h) return SummaryEntry{" -> " + joined + " | " + hyphened, PR_BLUE};
    if (j) return SummaryEntry{" -> " + joined, known_bg(first) && known_bg(second) ? PR_SUGGESTION : PR_BLUE};
    if (h) return SummaryEntry{" -> " + hyphened, PR_BLUE};
    return {};
}

}  // namespace

void split_words(ProofRun& run, const PassRow& row) {
    static const std::string de = cp1251("де"), la = cp1251("ла"), kata = cp1251("ката");
    if (!run.floor) return;
    PassReport rep(run, row.title);
    auto count = [&](const SenToken* p) {
        if (rep.count() == 0) ResetGmake();
        PutInG(std::string(p[-1].text) + ' ' + p->text);
    };
    PairLists lists;
    for (const SenToken* p = run.floor + 1; p < run.nd; ++p) {
        const char* pw = p[-1].text;
        const char* w = p->text;
        const char* g = p->gap;
        if (!w[0] || !pw[0] || (same_word(pw, de) && same_word(w, la))) continue;
        if (std::strcmp(g, " ") != 0 && std::strcmp(g, "\r") != 0) continue;
        const std::string_view first(pw);
        const std::string_view second(w);
        // The pair forms whole (not cut to kPairMax) are searched for in the first word's parts.
        FirstWordParts found;
        const FirstWordParts* parts = nullptr;
        if (first.size() + 1 + second.size() <= kPairMax) {
            found = lists.parts(first);
            parts = &found;
        }
        // Without a listed pair or a known word that begins with the first word there is nothing to find.
        if (parts && parts->known.empty() && parts->misspelt.empty() && parts->misspelt_fast.empty()) continue;

        const ListPair* e = nullptr;
        if (!parts) e = listed_pair(cut127(std::string(pw) + '_' + w));
        else if (!(e = find_pair_form(parts->misspelt, first.size(), '_', second)))
            e = find_pair_form(parts->misspelt_fast, first.size(), '_', second);
        if (e) {
            const WordPair pair(p);
            count(p);
            std::string sugg = " -> no suggestion";
            if (e->has_rest() && !e->rest.empty()) {
                std::string c(e->rest);
                if (ascii_upper[static_cast<unsigned char>(pw[0])]) c = capitalize_all_first(c);
                sugg = " -> " + pair.wrap(first_correction(c));
            }
            pair.report(rep, run, sugg, PR_BLUE);
            mark_pair(run, p);
            continue;
        }

        if (cyr_upper(w[0])) continue;
        // A pair is reported only when its joined or hyphened form is a word: those two look-ups
        // first, the others only for the few pairs that pass them.
        bool h = false, j = false;
        if (parts) {
            h = find_pair_form(parts->known, first.size(), '-', second) != nullptr;
            j = find_pair_form(parts->known, first.size(), w[0], second.substr(1)) != nullptr;
            if (!h && !j) continue;
        }
        const std::string joined = cut127(std::string(pw) + w), hyphened = cut127(std::string(pw) + '-' + w);
        if (!parts) {
            h = known_bg(hyphened);
            j = known_bg(joined);
        }
        if (!h && !j) continue;
        const WordPair pair(p);
        const int proper = IsTypeProperOnly(joined);
        if (proper == 1 && !cyr_upper(pw[0])) continue;
        if (proper == 0 && cyr_upper(pw[0]) && IsEndOfSentence(p[-1].gap) == 0) continue;
        const bool both_known = known_bg(pw) && known_bg(w);
        int kind = 0;
        if (gl_LOOSE_SPLIT || !both_known || same_word(w, kata)) kind = 1;
        if (h) kind = 2;
        if (kind == 0 || (kind == 1 && !j)) continue;
        count(p);
        COLORREF colour = PR_BLUE;
        std::string sugg;
        if (kind == 1) {
            sugg = " -> " + pair.wrap(joined);
            if (both_known) colour = PR_SUGGESTION;
        } else {
            sugg = j ? " -> " + pair.wrap(joined) + " | " + pair.wrap(hyphened) : " -> " + pair.wrap(hyphened);
        }
        pair.report(rep, run, sugg, colour);
        if (colour == PR_BLUE) mark_pair(run, p);
    }
    if (rep.count() == 0) return;
    rep.end();
    FinishGmake();
    if (gl_LOOSE_SPLIT && g_floor < g_nd && g_floor->count > 1) {
        JuxShowMessage(run.report, "", 1);
        findings_summary(run, u"РАЗКЪСАНИ ДУМИ (", pair_suggestion);
    }
    JuxShowMessage(run.report, "", 1);
}
