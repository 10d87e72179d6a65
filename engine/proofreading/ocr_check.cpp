#include "engine/proofreading/ocr_check.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "engine/proofreading/token_spellings.h"
#include "engine/token_store.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/flat_table.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/lists.h"
#include "shell/panels.h"
#include "shell/token_frequency_index.h"
#include "spelling/spell_state.h"
#include "spelling/word_index.h"

namespace {

constexpr DWORD kColourBold = CFM_COLOR | CFM_BOLD;  // mask: colour and bold
constexpr DWORD kBold = 1;
constexpr DWORD kNotBold = 0;

// The report's fixed texts in code page 1251.
const std::string& text_title() {
    static const std::string s = utf8_to_cp1251("потенциални грешки: %c -> %c");
    return s;
}
const std::string& text_note() {
    static const std::string s = utf8_to_cp1251("(без подробен списък, виж обобщението по-долу)");
    return s;
}
const std::string& text_summary_head() {
    static const std::string s = utf8_to_cp1251("ОБОБЩЕНИЕ НА");
    return s;
}
const std::string& text_summary_errors() {
    static const std::string s = utf8_to_cp1251("ПОТЕНЦИАЛНИ ГРЕШКИ:");
    return s;
}
const std::string& text_summary_count() {
    static const std::string s = utf8_to_cp1251("срещания):");
    return s;
}

// While the letter pairs are checked, the known-word list's hashed index (when one is built for the
// list as it is now) or its search narrowed by its sampled keys.
const WordIndex* g_index = nullptr;
const PairSearch* g_known = nullptr;

bool is_known(std::string_view word) {
    if (g_index) return g_index->find(word) >= 0;
    return g_known ? g_known->find(word) != nullptr : find_pair(b[B_BULGARIAN].entries, word) != nullptr;
}

// The swap of c1 for c2, or of c1's other case for c2's other case.
struct LetterSwap {
    LetterSwap(unsigned char c1, unsigned char c2) : c1(c1), c2(c2), c1o(ocr_other_case(c1)), c2o(ocr_other_case(c2)) {}
    // The letter that replaces c, or -1 when c is not swapped: another letter, or a letter swapped
    // for itself or for its other case, which leaves the same word (the list is looked up without
    // regard to case) and so no other known word.
    int to(unsigned char c) const {
        unsigned char t;
        if (c == c1) t = c2;
        else if (c == c1o) t = c2o;
        else return -1;
        return cp_tolower(t) == cp_tolower(c) ? -1 : t;
    }
    unsigned char c1, c2, c1o, c2o;
};

// Tries each occurrence of c1 (or of its other case) alone and calls found(word) for every changed
// word that is known and differs from the word by more than case. Stops early when found returns true.
template <class Found>
void try_substitutions(std::string_view word, unsigned char c1, unsigned char c2, Found found) {
    if (word.size() > OCR_WORD_ROOM) return;
    const LetterSwap swap(c1, c2);
    std::string w(word);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(w[i]);
        const int to = swap.to(c);
        if (to < 0) continue;
        w[i] = static_cast<char>(to);
        const bool stop = is_known(w) && found(std::string_view(w));
        w[i] = static_cast<char>(c);
        if (stop) return;
    }
}

bool holds_letter(std::string_view word, unsigned char c1) {
    const unsigned char c1o = ocr_other_case(c1);
    for (char ch : word) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == c1 || c == c1o) return true;
    }
    return false;
}

// Appends the text and n line ends; returns where the text begins in the panel.
LONG append(HWND re, std::string_view text, int n) {
    CHARRANGE cr{};
    SelectReEnd(re, cr);
    JuxShowMessage(re, text, n);
    return cr.cpMin;
}

LONG units(std::string_view text8) { return static_cast<LONG>(text8.size()); }

// A word that looks like a name: a capital and a small Cyrillic letter, or a capital, an apostrophe
// and a capital, and at least three characters.
bool looks_like_name(std::string_view w) {
    if (w.size() < 3) return false;
    const unsigned char a = static_cast<unsigned char>(w[0]);
    const unsigned char b1 = static_cast<unsigned char>(w[1]);
    const unsigned char c = static_cast<unsigned char>(w[2]);
    if (!ascii_cyrillic_upper[a]) return false;
    return ascii_cyrillic_lower[b1] || (ascii_apos[b1] && ascii_cyrillic_upper[c]);
}

// The known words a word becomes, joined by " | ", within OCR_ALTERNATIVES_ROOM characters.
std::string alternatives(std::string_view word, unsigned char c1, unsigned char c2) {
    std::string out;
    try_substitutions(word, c1, c2, [&](std::string_view w) {
        const std::size_t need = (out.empty() ? 0 : 3) + w.size();
        if (out.size() + need > OCR_ALTERNATIVES_ROOM) return true;
        if (!out.empty()) out += " | ";
        out += w;
        return false;
    });
    return out;
}

}  // namespace

unsigned char ocr_other_case(unsigned char c) { return cp_isupper(c) ? cp_tolower(c) : cp_toupper(c); }

std::vector<std::string> ocr_substitutions(std::string_view word, unsigned char c1, unsigned char c2) {
    std::vector<std::string> out;
    try_substitutions(word, c1, c2, [&](std::string_view w) {
        out.emplace_back(w);
        return false;
    });
    return out;
}

namespace {

// The spellings of store 1 and what the letter pairs ask of each alone, kept while the pairs are
// checked one after another: whether the word is known does not depend on the pair.
struct OcrSpellings {
    OcrSpellings() : pass(sen_floor, sen_nd), spellings(*pass), known(spellings.count(), kUnasked) {}
    static constexpr signed char kUnasked = -1;
    PassSpellings pass;
    const TokenSpellings& spellings;
    std::vector<signed char> known;  // by spelling: 1 known, 0 not, kUnasked
};

// The findings of every spelling for the pair (c1 read, c2 meant), asked of the known-word list's
// hashed index: 1 when the spelling is known and one of the swaps of try_substitutions gives a
// known word, else 0. The key hash of each swapped word is made from the spelling's own (the
// polynomial of its folded letters with one letter changed); the swaps of all spellings are hashed
// first, so that the index's memory is asked for ahead of the look-ups and the reads overlap. Most
// swaps are no words, while most words of a text are known: a spelling is looked up itself only
// when a swap of it is known. `unasked`: the spellings nothing is known of yet.
void judge_by_index(const WordIndex& index, unsigned char c1, unsigned char c2, OcrSpellings& sp,
                    const std::vector<std::uint32_t>& unasked, std::vector<signed char>& finding_of) {
    static const std::array<std::uint64_t, OCR_WORD_ROOM + 1> power = [] {
        std::array<std::uint64_t, OCR_WORD_ROOM + 1> p{};
        p[0] = 1;
        for (std::size_t k = 1; k < p.size(); ++k) p[k] = p[k - 1] * kKeyHashBase;
        return p;
    }();
    struct Swap {
        std::uint32_t id;
        std::uint8_t at;
        unsigned char to;
        std::uint64_t hash;
    };
    const unsigned char* lower = cp1251_detail::current_ctype->lower;
    const LetterSwap swap(c1, c2);
    std::vector<Swap> swaps;
    for (const std::uint32_t id : unasked) {
        const std::string_view text = sp.spellings.text(id);
        finding_of[id] = 0;
        if (text.size() > OCR_WORD_ROOM) continue;
        std::uint64_t poly = 0;
        bool made = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            const int to = swap.to(c);
            if (to < 0) continue;
            if (!made) {
                for (const char ch : text) poly = poly * kKeyHashBase + lower[static_cast<unsigned char>(ch)];
                made = true;
            }
            const std::uint64_t delta = static_cast<std::uint64_t>(lower[to]) - static_cast<std::uint64_t>(lower[c]);
            swaps.push_back({id, static_cast<std::uint8_t>(i), static_cast<unsigned char>(to),
                             key_hash_mix(poly + delta * power[text.size() - 1 - i], text.size())});
        }
    }
    constexpr std::size_t kAhead = 16;
    std::vector<bool> decided(sp.spellings.count());
    char w[OCR_WORD_ROOM];
    for (std::size_t k = 0; k < swaps.size(); ++k) {
        if (k + kAhead < swaps.size()) index.prefetch(swaps[k + kAhead].hash);
        const Swap& s = swaps[k];
        if (decided[s.id]) continue;
        const std::string_view text = sp.spellings.text(s.id);
        text.copy(w, text.size());
        w[s.at] = static_cast<char>(s.to);
        if (index.find_hashed(std::string_view(w, text.size()), s.hash) < 0) continue;
        decided[s.id] = true;
        signed char& known = sp.known[s.id];
        if (known == OcrSpellings::kUnasked) known = index.find(text) >= 0 ? 1 : 0;
        finding_of[s.id] = known;
    }
}

// Decides a spelling the hashed index left unasked for the pair (c1 read, c2 meant): 1 when it is
// known and one of its swaps gives a known word.
signed char decide(OcrSpellings& sp, std::uint32_t id, unsigned char c1, unsigned char c2) {
    const std::string_view text = sp.spellings.text(id);
    signed char finding = 0;
    if (!text.empty() && text.size() <= OCR_WORD_ROOM && holds_letter(text, c1)) {
        signed char& known = sp.known[id];
        if (known == OcrSpellings::kUnasked) known = is_known(text) ? 1 : 0;
        if (known) try_substitutions(text, c1, c2, [&](std::string_view) { return finding = 1; });
    }
    return finding;
}

// One pair checked over store 1: what is known of each spelling for it (kUnasked where nothing
// is), the spellings it found before and those nothing was known of, and the records it found.
struct PairCheck {
    unsigned char c1 = 0, c2 = 0;
    std::vector<signed char> finding_of;
    std::vector<std::uint32_t> found_before, unasked;
    std::vector<std::uint32_t> found;

    // Nothing known of any spelling.
    PairCheck(unsigned char a, unsigned char b, std::size_t spellings)
        : c1(a), c2(b), finding_of(spellings, OcrSpellings::kUnasked), unasked(spellings) {
        for (std::size_t id = 0; id < spellings; ++id) unasked[id] = static_cast<std::uint32_t>(id);
    }
    // What a run before found: two bits a spelling (asked, found).
    PairCheck(unsigned char a, unsigned char b, const std::vector<std::uint16_t>& bits, std::uint16_t asked,
              std::uint16_t found_bit)
        : c1(a), c2(b), finding_of(bits.size(), OcrSpellings::kUnasked) {
        for (std::size_t id = 0; id < bits.size(); ++id) {
            const auto i = static_cast<std::uint32_t>(id);
            if (!(bits[id] & asked)) unasked.push_back(i);
            else if (bits[id] & found_bit) {
                finding_of[id] = 1;
                found_before.push_back(i);
            } else {
                finding_of[id] = 0;
            }
        }
    }
};

// Judges the pairs over store 1 and finds their records, the pairs side by side in one walk of the
// store: the hashed index judges every spelling it can, the others are decided where the walk
// first meets them. A pair that judged every spelling no finding finds no record.
void find_pairs(OcrSpellings& sp, std::span<PairCheck> pairs) {
    const std::size_t n = sp.spellings.count();
    if (g_index)
        for (PairCheck& p : pairs) judge_by_index(*g_index, p.c1, p.c2, sp, p.unasked, p.finding_of);
    constexpr std::size_t kGroup = 64;
    for (std::size_t from = 0; from < pairs.size(); from += kGroup) {
        const std::size_t to = std::min(pairs.size(), from + kGroup);
        // By spelling: the pairs of the group that found it or have it still to decide.
        std::vector<std::uint64_t> open(n, 0);
        bool any = false;
        for (std::size_t k = from; k < to; ++k) {
            const std::uint64_t bit = std::uint64_t{1} << (k - from);
            const PairCheck& p = pairs[k];
            any = any || !p.found_before.empty();
            for (const std::uint32_t id : p.found_before) open[id] |= bit;
            for (const std::uint32_t id : p.unasked)
                if (p.finding_of[id] != 0) {
                    open[id] |= bit;
                    any = true;
                }
        }
        if (!any) continue;
        for (std::size_t i = 0; i < sp.spellings.records(); ++i) {
            const std::uint32_t id = sp.spellings.id(i);
            for (std::uint64_t m = open[id]; m != 0; m &= m - 1) {
                const auto k = static_cast<std::size_t>(std::countr_zero(m));
                PairCheck& p = pairs[from + k];
                signed char& finding = p.finding_of[id];
                if (finding == OcrSpellings::kUnasked) {
                    finding = decide(sp, id, p.c1, p.c2);
                    if (!finding) open[id] &= ~(std::uint64_t{1} << k);
                }
                if (finding) p.found.push_back(static_cast<std::uint32_t>(i));
            }
        }
    }
}

// Writes the pair's block over the records found for it (their places in the store, in order).
void write_pair(HWND report, unsigned char c1, unsigned char c2, const OcrSpellings& sp,
                const std::vector<std::uint32_t>& found) {
    if (found.empty()) return;
    // Step 1: the words of store 1 that are known and become other known words, in the single
    // token index.
    ResetGmake();
    char title[128];
    std::snprintf(title, sizeof title, text_title().c_str(), c1, c2);
    LONG at = append(report, title, 1);
    ColorRangeOn(report, at, at + units(title), kColourBold, kColOcrHeader, kBold);
    at = append(report, text_note(), 0);
    ColorRangeOn(report, at, at + units(text_note()), kColourBold, kColOcrHeader, kBold);
    for (const std::uint32_t i : found) PutInG(sp.spellings.text(sp.spellings.id(i)));

    // Step 2: the summary and one line per word, most frequent first.
    append(report, "", 1);
    FinishGmake();
    append(report, "", 1);

    long long total = 0;
    for (const GRecord* g = g_floor; g < g_nd; ++g) total += g->count;
    char line[512];
    std::snprintf(line, sizeof line, "%s %i %s %c -> %c (%i %s", text_summary_head().c_str(),
                  static_cast<int>(g_nd - g_floor), text_summary_errors().c_str(), ocr_other_case(c1),
                  ocr_other_case(c2), static_cast<int>(total), text_summary_count().c_str());
    at = append(report, line, 2);
    ColorRangeOn(report, at, at + units(line), kColourBold, kColOcrHeader, kNotBold);

    unsigned number = 0;
    for (const GRecord* g = g_floor; g < g_nd; ++g) {
        const std::string word(g->name);
        char num[32];
        std::snprintf(num, sizeof num, "%u. ", ++number);
        char count[32];
        std::snprintf(count, sizeof count, "  %-u", g->count);
        const std::string arrow = " -> " + alternatives(word, c1, c2);
        const std::string whole = std::string(num) + word + count + arrow;
        const LONG start = append(report, whole, 1);
        LONG p = start;
        ColorRangeOn(report, p, p + units(num), kColourBold, gl_col_nosug, kNotBold);
        p += units(num);
        ColorRangeOn(report, p, p + units(word), kColourBold, looks_like_name(word) ? kColOcrName : kColOcrWord,
                     kBold);
        p += units(word);
        ColorRangeOn(report, p, p + units(count), kColourBold, kColOcrCount, kNotBold);
        p += units(count);
        ColorRangeOn(report, p, p + units(arrow), kColourBold, kColOcrAlternatives, kNotBold);
        RE_SetSel(report, CHARRANGE{start + 1, start + 1});
    }
    append(report, "", 1);
}

// What the letter pairs found for each spelling, kept from run to run (the checker checks the
// whole text again after every keystroke) while the known-word list, the pairs and the letter case
// rules are as they were: two bits a pair (asked, found), at most 8 pairs. Let go when it holds
// many more spellings than a text has. A spelling is known by a 64-bit print of it, the word_hash
// the run's spellings numbered it by (as the proof-reader knows its records from run to run): each
// of the text's tens of thousands of spellings is asked after every keystroke, and a slot holding
// the print's low bits answers most questions without reading the entry.
class KeptOcrFindings {
public:
    std::array<std::uintptr_t, 6> stamp{};

    std::size_t size() const { return entries_.size(); }
    // The bits kept for the print, or null.
    const std::uint16_t* find(std::uint64_t p) const {
        const NumberedSlot* s = slots_.find(p, [&](const NumberedSlot& t) { return same(t, p); });
        return s ? &entries_[s->entry()].bits : nullptr;
    }
    void put(std::uint64_t p, std::uint16_t bits) {
        // At most half the slots taken.
        if (slots_.empty() || slots_.wants_room(entries_.size() + 1, 1, 2))
            slots_.grow(std::max<std::size_t>(1u << 16, 2 * slots_.slot_count()), NumberedSlot::home_hash);
        const std::size_t at = slots_.probe(p, [&](const NumberedSlot& t) { return same(t, p); });
        if (slots_.at(at).taken()) {
            entries_[slots_.at(at).entry()].bits = bits;
            return;
        }
        slots_.put(at, NumberedSlot::of(p, entries_.size()));
        entries_.push_back(Entry{p, bits});
    }

private:
    struct Entry {
        std::uint64_t print;
        std::uint16_t bits;
    };
    bool same(const NumberedSlot& t, std::uint64_t p) const { return t.fits(p) && entries_[t.entry()].print == p; }
    FlatTable<NumberedSlot> slots_;
    std::vector<Entry> entries_;
};
KeptOcrFindings g_kept_ocr;
constexpr std::size_t kKeptPairs = 8;

std::array<std::uintptr_t, 6> ocr_stamp() {
    const DictFileRecord& known = b[B_BULGARIAN];
    const DictFileRecord& pairs = b[B_BULGARIAN_TWO_LETTERS];
    return {reinterpret_cast<std::uintptr_t>(known.entries.data()), known.entries.size(),
            reinterpret_cast<std::uintptr_t>(known.text.get()), reinterpret_cast<std::uintptr_t>(pairs.entries.data()),
            pairs.entries.size(), reinterpret_cast<std::uintptr_t>(cp1251_detail::current_ctype)};
}

}  // namespace

void check_ocr_char(HWND report, unsigned char c1, unsigned char c2) {
    OcrSpellings sp;
    PairCheck p(c1, c2, sp.spellings.count());
    find_pairs(sp, std::span<PairCheck>(&p, 1));
    write_pair(report, c1, c2, sp, p.found);
}

void check_ocr_letter_pairs(HWND report) {
    const DictFileRecord& pairs = b[B_BULGARIAN_TWO_LETTERS];
    if (pairs.entries.empty()) return;
    // Every pair searches the known-word list for most words of the text: its hashed index when one
    // is built for it as it is now, otherwise its search narrowed by sampled keys.
    const std::span<const ListPair> list(b[B_BULGARIAN].entries);
    const WordIndex* index = built_word_index(list);
    std::optional<PairSearch> known;
    if (index && index->sorted()) g_index = index;
    else known.emplace(list);
    g_known = known ? &*known : nullptr;
    struct Done {
        ~Done() {
            g_index = nullptr;
            g_known = nullptr;
        }
    } done;
    OcrSpellings sp;
    const std::size_t n = sp.spellings.count();
    KeptOcrFindings& kept = g_kept_ocr;
    if (kept.stamp != ocr_stamp() || kept.size() > 4 * n + 65'536) {
        kept = KeptOcrFindings{};
        kept.stamp = ocr_stamp();
    }
    // A spelling's print is the word_hash it was numbered by.
    std::vector<std::uint16_t> bits(n, 0);
    for (std::uint32_t id = 0; id < n; ++id)
        if (const std::uint16_t* kept_bits = kept.find(sp.spellings.hash(id))) bits[id] = *kept_bits;
    // The pairs in file order, each starting from what is kept for it.
    std::vector<PairCheck> checks;
    for (const ListPair& p : pairs.entries) {
        if (!p.has_rest() || p.key.empty() || p.rest.empty()) continue;
        const auto c1 = static_cast<unsigned char>(p.key[0]), c2 = static_cast<unsigned char>(p.rest[0]);
        const std::size_t pair = checks.size();
        if (pair >= kKeptPairs) {
            checks.emplace_back(c1, c2, n);
            continue;
        }
        const auto asked = static_cast<std::uint16_t>(1u << (2 * pair)), found = static_cast<std::uint16_t>(asked << 1);
        checks.emplace_back(c1, c2, bits, asked, found);
    }
    find_pairs(sp, checks);
    for (const PairCheck& c : checks) write_pair(report, c.c1, c.c2, sp, c.found);
    // What the kept pairs found of the spellings nothing was known of is kept.
    const std::size_t kept_pairs = std::min(checks.size(), kKeptPairs);
    for (std::size_t pair = 0; pair < kept_pairs; ++pair) {
        const auto asked = static_cast<std::uint16_t>(1u << (2 * pair)), found = static_cast<std::uint16_t>(asked << 1);
        const std::vector<signed char>& finding_of = checks[pair].finding_of;
        for (const std::uint32_t id : checks[pair].unasked)
            if (finding_of[id] != OcrSpellings::kUnasked) bits[id] |= finding_of[id] ? asked | found : asked;
    }
    for (std::size_t pair = 0; pair < kept_pairs; ++pair)
        for (const std::uint32_t id : checks[pair].unasked)
            if (checks[pair].finding_of[id] != OcrSpellings::kUnasked) kept.put(sp.spellings.hash(id), bits[id]);
}

void release_kept_ocr_findings() { g_kept_ocr = KeptOcrFindings{}; }
