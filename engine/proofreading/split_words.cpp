// Two neighbouring words that should be one (a word torn apart by hand or by a line break) or that
// are a known wrong pair from the misspelling lists.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/token_spellings.h"
#include "engine/proofreading/word_checks.h"
#include "engine/run_state.h"
#include "engine/separators.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "shell/panels.h"
#include "shell/lists.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/token_frequency_index.h"
#include "spelling/word_index.h"

namespace {

constexpr std::size_t kCorrectionMax = 127;
constexpr std::size_t kPairMax = 127;  // the pair forms are cut to this many characters

// The keys of the known-word list and of the two misspelling lists that may pair with a first word:
// those longer than the word that begin with it (its joined and hyphened forms) and those that begin
// with the word and '_' (its listed wrong pairs). Most are empty, and a pair of an empty part needs
// no search.
struct FirstWordParts {
    std::span<const ListPair> known, misspelt, misspelt_fast;
    std::span<const ListPair> hyphened;  // the keys of `known` that go on with '-'
};

// The first 8 letters folded to small letters, big-endian, 0-padded: heads order as the list's
// case-insensitive comparison orders the texts wherever they differ.
std::uint64_t folded_head(std::string_view s) {
    std::uint64_t h = 0;
    for (std::size_t i = 0; i < 8; ++i) h = (h << 8) | (i < s.size() ? cp_tolower(static_cast<unsigned char>(s[i])) : 0u);
    return h;
}

// cp_strcasecmp's order (the list's), here where the merge below can have it inline: neighbours in
// the list share long beginnings.
int compare_nocase(std::string_view a, std::string_view b) {
    const unsigned char* lower = cp1251_detail::current_ctype->lower;
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca == cb) continue;
        const int d = int(lower[ca]) - int(lower[cb]);
        if (d != 0) return d;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool starts_nocase(std::string_view key, std::string_view prefix) {
    return key.size() >= prefix.size() && compare_nocase(key.substr(0, prefix.size()), prefix) == 0;
}

// The words that begin a listed wrong pair ("word_..."): a word that is not among them begins none,
// and its parts of the misspelling lists need no search.
FoldedWords pair_heads(std::initializer_list<std::span<const ListPair>> lists) {
    FoldedWords heads(std::size_t{1} << 20);
    for (const std::span<const ListPair> list : lists)
        for (const ListPair& e : list)
            for (std::size_t at = e.key.find('_'); at != std::string_view::npos; at = e.key.find('_', at + 1))
                heads.add(e.key.substr(0, at));
    return heads;
}

// From `from` on, the first place in the sorted list where `pred` no longer holds (it holds for a
// leading run): galloping, so that a place near `from` is found by reading little of the list.
template <class Pred>
std::size_t gallop(std::span<const ListPair> list, std::size_t from, Pred pred) {
    if (from >= list.size() || !pred(list[from])) return from;
    std::size_t good = from, step = 1;
    while (good + step < list.size() && pred(list[good + step])) {
        good += step;
        step *= 2;
    }
    const std::size_t to = std::min(good + step, list.size());
    const auto it = std::partition_point(list.begin() + static_cast<std::ptrdiff_t>(good + 1),
                                         list.begin() + static_cast<std::ptrdiff_t>(to), pred);
    return static_cast<std::size_t>(it - list.begin());
}

class PairLists {
public:
    // `needed`: by spelling, whether it is the first word of a pair the pass looks at.
    PairLists(const TokenSpellings& sp, const std::vector<bool>& needed)
        : sp_(sp), misspelt_(b[B_BULGARIAN_MISSPELLING].entries), fast_(b[B_BULGARIAN_MISSPELLING_FAST].entries),
          pair_heads_(pair_heads({b[B_BULGARIAN_MISSPELLING].entries, b[B_BULGARIAN_MISSPELLING_FAST].entries})) {
        if (empty_) return;
        find_known_parts(needed);
        lazy_.resize(sp.count());
    }

    // The parts of the first word of spelling `id` (every pair form of which begins with it).
    FirstWordParts parts(std::uint32_t id) {
        if (empty_) return {};
        const std::span<const ListPair> known_list(b[B_BULGARIAN].entries);
        const std::span<const ListPair> misspelt_list(b[B_BULGARIAN_MISSPELLING].entries);
        const std::span<const ListPair> fast_list(b[B_BULGARIAN_MISSPELLING_FAST].entries);
        const Range& k = known_[id];
        const std::span<const ListPair> known = known_list.subspan(k.begin, k.size);
        Lazy& m = lazy_[id];
        if (!m.found) {
            m.found = true;
            const std::string_view word = sp_.text(id);
            if (pair_heads_.may_hold(word)) {
                std::string under(word);
                under += '_';
                m.misspelt = range_of(misspelt_list, misspelt_.with_prefix(under));
                m.fast = range_of(fast_list, fast_.with_prefix(under));
            }
            // The keys go on with their letters after the word in order: those with the hyphen
            // stand together.
            const unsigned char dash = cp_tolower('-');
            const auto next = [&](const ListPair& e) { return cp_tolower(static_cast<unsigned char>(e.key[word.size()])); };
            const auto from = std::partition_point(known.begin(), known.end(), [&](const ListPair& e) { return next(e) < dash; });
            const auto to = std::partition_point(from, known.end(), [&](const ListPair& e) { return next(e) == dash; });
            m.hyphened = {static_cast<std::uint32_t>(k.begin + (from - known.begin())), static_cast<std::uint32_t>(to - from)};
        }
        return {known, part(misspelt_list, m.misspelt), part(fast_list, m.fast), part(known_list, m.hyphened)};
    }

private:
    struct Range {
        std::uint32_t begin = 0, size = 0;
    };
    // What is found of a first word when first asked for: its parts of the misspelling lists and
    // the hyphened keys of its known part.
    struct Lazy {
        Range misspelt, fast, hyphened;
        bool found = false;
    };
    static Range range_of(std::span<const ListPair> list, std::span<const ListPair> part) {
        return {static_cast<std::uint32_t>(part.data() - list.data()), static_cast<std::uint32_t>(part.size())};
    }
    static std::span<const ListPair> part(std::span<const ListPair> list, Range r) { return list.subspan(r.begin, r.size); }

    // The known-word keys longer than each spelling that begin with it. The spellings are taken in
    // the list's order, so that each search goes on from where the one before it ended: one pass
    // forward through the list instead of a search from the top for every spelling.
    void find_known_parts(const std::vector<bool>& needed) {
        const std::span<const ListPair> list(b[B_BULGARIAN].entries);
        known_.resize(sp_.count());
        std::vector<std::pair<std::uint64_t, std::uint32_t>> order;
        order.reserve(sp_.count());
        for (std::uint32_t id = 0; id < sp_.count(); ++id)
            if (needed[id] && !sp_.text(id).empty()) order.emplace_back(folded_head(sp_.text(id)), id);
        std::sort(order.begin(), order.end(), [&](const auto& x, const auto& y) {
            if (x.first != y.first) return x.first < y.first;
            return compare_nocase(sp_.text(x.second), sp_.text(y.second)) < 0;
        });
        std::size_t pos = 0;
        for (const auto& [head, id] : order) {
            const std::string_view w = sp_.text(id);
            pos = gallop(list, pos, [&](const ListPair& e) { return compare_nocase(e.key, w) < 0; });
            // The word itself is no pair form: only the longer keys.
            std::size_t begin = pos;
            while (begin < list.size() && list[begin].key.size() == w.size() && starts_nocase(list[begin].key, w)) ++begin;
            const std::size_t end = gallop(list, begin, [&](const ListPair& e) { return starts_nocase(e.key, w); });
            known_[id] = {static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end - begin)};
        }
    }

    const TokenSpellings& sp_;
    PairSearch misspelt_, fast_;
    FoldedWords pair_heads_;
    const bool empty_ = b[B_BULGARIAN].entries.empty() && b[B_BULGARIAN_MISSPELLING].entries.empty() &&
                        b[B_BULGARIAN_MISSPELLING_FAST].entries.empty();
    std::vector<Range> known_;                // by spelling
    std::vector<Lazy> lazy_;                  // by spelling
};

// The hashed indexes of the known-word list and the two misspelling lists, each built for its list
// as it is now (an empty list needs none): a pair form is looked up by its key hash, made from the
// folded polynomials of its two words and the one between them, so that nothing is made for the
// many forms the index's filter turns away.
class HashedPairs {
public:
    // Empty when a list that holds entries has no such index: then the lists are searched.
    static std::optional<HashedPairs> open() {
        HashedPairs h;
        if (!usable(b[B_BULGARIAN].entries, h.known_) || !usable(b[B_BULGARIAN_MISSPELLING].entries, h.misspelt_) ||
            !usable(b[B_BULGARIAN_MISSPELLING_FAST].entries, h.fast_))
            return std::nullopt;
        h.lower_ = cp1251_detail::current_ctype->lower;
        h.power_[0] = 1;
        for (std::size_t k = 1; k <= kPairMax; ++k) h.power_[k] = h.power_[k - 1] * kKeyHashBase;
        return h;
    }

    // The key hashes of the pair forms of the record `at` of the spellings and the one before it:
    // the wrong pair "first_second", the hyphened and the joined form. Zero for a pair whose forms
    // are longer than kPairMax.
    struct Keys {
        std::uint64_t listed = 0, hyphened = 0, joined = 0;
    };
    Keys keys(const TokenSpellings& sp, std::size_t at) const {
        const std::uint32_t a = sp.id(at - 1), b2 = sp.id(at);
        const std::size_t n1 = sp.text(a).size(), n2 = sp.text(b2).size();
        if (n1 + 1 + n2 > kPairMax) return {};
        const std::uint64_t tail = power_[n2], first = poly(sp.text(a)), second = poly(sp.text(b2));
        const std::uint64_t joined = first * tail + second;
        const std::uint64_t under = (first * kKeyHashBase + lower_[static_cast<unsigned char>('_')]) * tail + second;
        const std::uint64_t dash = (first * kKeyHashBase + lower_[static_cast<unsigned char>('-')]) * tail + second;
        return {key_hash_mix(under, n1 + 1 + n2), key_hash_mix(dash, n1 + 1 + n2), key_hash_mix(joined, n1 + n2)};
    }
    // Asks for the memory the look-ups of these forms read, ahead of them.
    void prefetch(const Keys& k) const {
        if (misspelt_) misspelt_->prefetch(k.listed);
        if (fast_) fast_->prefetch(k.listed);
        if (known_) {
            known_->prefetch(k.hyphened);
            known_->prefetch(k.joined);
        }
    }

    // The entry of the wrong pair "first_second" in the misspelling lists, or null: what
    // listed_pair finds. The pair form has at most kPairMax characters.
    const ListPair* listed(std::string_view first, std::string_view second, const Keys& k) const {
        const Form form(first, '_', second);
        if (const ListPair* e = find(misspelt_, form, k.listed)) return e;
        return find(fast_, form, k.listed);
    }
    // Whether the form first, `sep` (none when 0) and second is a known word: what known_bg answers.
    bool known(std::string_view first, char sep, std::string_view second, std::uint64_t hash) const {
        return find(known_, Form(first, sep, second), hash) != nullptr;
    }

private:
    HashedPairs() = default;
    static bool usable(std::span<const ListPair> list, const WordIndex*& index) {
        index = built_word_index(list);
        if (index && !index->sorted()) index = nullptr;
        return index || list.empty();
    }
    // A pair form, made on the stack.
    struct Form {
        Form(std::string_view first, char sep, std::string_view second) {
            first.copy(text, first.size());
            std::size_t n = first.size();
            if (sep) text[n++] = sep;
            second.copy(text + n, second.size());
            size = n + second.size();
        }
        char text[kPairMax + 1];
        std::size_t size;
        std::string_view view() const { return {text, size}; }
    };
    static const ListPair* find(const WordIndex* index, const Form& form, std::uint64_t hash) {
        if (!index) return nullptr;
        const std::ptrdiff_t at = index->find_hashed(form.view(), hash);
        return at < 0 ? nullptr : &index->entry(static_cast<std::size_t>(at));
    }

    const WordIndex* known_ = nullptr;
    const WordIndex* misspelt_ = nullptr;
    const WordIndex* fast_ = nullptr;
    const unsigned char* lower_ = nullptr;
    std::uint64_t power_[kPairMax + 1];
    // P^(n-1) x c[0] + ... + c[n-1] of a word's folded letters (made for each pair looked at: a
    // stretch of the store asks about few of the store's spellings).
    std::uint64_t poly(std::string_view w) const {
        std::uint64_t p = 0;
        for (const char c : w) p = p * kKeyHashBase + lower_[static_cast<unsigned char>(c)];
        return p;
    }
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
    auto count = [&](const SenToken* p) { index_finding(run, rep, std::string(p[-1].text) + ' ' + p->text); };
    const PassSpellings run_spellings(run.floor, run.nd);
    const TokenSpellings& spellings = *run_spellings;
    // The lists' hashed indexes; without them, the parts of the first words of the pairs looked at
    // below (and a few more), found at once.
    const std::optional<HashedPairs> hashed = HashedPairs::open();
    std::optional<PairLists> lists;
    if (!hashed) {
        std::vector<bool> needed(spellings.count());
        for (const SenToken* p = run.begin(1); p < run.end(); ++p) {
            const char* g = p->gap;
            if (!p->text[0] || !p[-1].text[0] || !((g[0] == ' ' || g[0] == '\r') && !g[1])) continue;
            needed[spellings.id(static_cast<std::size_t>(p - 1 - run.floor))] = true;
        }
        lists.emplace(spellings, needed);
    }
    // The key hashes of the pair forms kAhead records on are made, and their memory asked for, before
    // they are looked up, so that the reads of the indexes overlap.
    constexpr std::size_t kAhead = 32, kRing = 64;
    std::array<HashedPairs::Keys, kRing> ring;
    const std::size_t records = static_cast<std::size_t>(run.end() - run.floor);
    const auto ahead = [&](std::size_t at) {
        if (!hashed || at >= records) return;
        ring[at % kRing] = hashed->keys(spellings, at);
        hashed->prefetch(ring[at % kRing]);
    };
    const auto first_at = static_cast<std::size_t>(run.begin(1) - run.floor);
    for (std::size_t at = first_at; at < first_at + kAhead; ++at) ahead(at);
    for (const SenToken* p = run.begin(1); p < run.end(); ++p) {
        ahead(static_cast<std::size_t>(p - run.floor) + kAhead);
        const char* pw = p[-1].text;
        const char* w = p->text;
        const char* g = p->gap;
        if (!w[0] || !pw[0] || (same_word(pw, de) && same_word(w, la))) continue;
        if (std::strcmp(g, " ") != 0 && std::strcmp(g, "\r") != 0) continue;
        const std::string_view first(pw);
        const std::string_view second(w);
        // The pair forms whole (not cut to kPairMax) are looked up by hash or searched for in the
        // first word's parts; h and j are known once `searched`.
        const ListPair* e = nullptr;
        bool h = false, j = false, searched = false;
        const std::size_t at = static_cast<std::size_t>(p - run.floor);
        if (first.size() + 1 + second.size() > kPairMax) {
            e = listed_pair(cut127(std::string(pw) + '_' + w));
        } else if (hashed) {
            const HashedPairs::Keys& k = ring[at % kRing];
            e = hashed->listed(first, second, k);
            if (!e && !cyr_upper(w[0])) {
                // A pair is reported only when its joined or hyphened form is a word: those two
                // look-ups first, the others only for the few pairs that pass them.
                h = hashed->known(first, '-', second, k.hyphened);
                j = hashed->known(first, 0, second, k.joined);
                if (!h && !j) continue;
                searched = true;
            }
        } else {
            const FirstWordParts parts = lists->parts(spellings.id(at - 1));
            // Without a listed pair or a known word that begins with the first word there is nothing to find.
            if (parts.known.empty() && parts.misspelt.empty() && parts.misspelt_fast.empty()) continue;
            if (!(e = find_pair_form(parts.misspelt, first.size(), '_', second)))
                e = find_pair_form(parts.misspelt_fast, first.size(), '_', second);
            if (!e && !cyr_upper(w[0])) {
                h = find_pair_form(parts.hyphened, first.size(), '-', second) != nullptr;
                j = find_pair_form(parts.known, first.size(), w[0], second.substr(1)) != nullptr;
                if (!h && !j) continue;
                searched = true;
            }
        }
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
        const std::string joined = cut127(std::string(pw) + w), hyphened = cut127(std::string(pw) + '-' + w);
        if (!searched) {
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
    if (!run.tape) split_words_close(run);
}

void split_words_close(ProofRun& run) {
    FinishGmake();
    if (gl_LOOSE_SPLIT && g_floor < g_nd && g_floor->count > 1) {
        JuxShowMessage(run.report, "", 1);
        findings_summary(run, u"РАЗКЪСАНИ ДУМИ (", pair_suggestion);
    }
    JuxShowMessage(run.report, "", 1);
}
