#include "engine/run/token_report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <span>

#include "engine/lookup_state.h"
#include "engine/run_state.h"
#include "engine/worker_pool.h"
#include "lexicon/display.h"
#include "lexicon/english.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/token_frequency_index.h"
#include "shell/window_state.h"
#include "spelling/definitions.h"
#include "spelling/spell_state.h"
#include "spelling/token_report_en.h"
#include "spelling/unknown_bg.h"
#include "spelling/word_index.h"

namespace {

constexpr DWORD kColourBold = CFM_COLOR | CFM_BOLD;  // 0x40000001
constexpr int kAdjectiveLikeType = 147;              // type "78t": the compound parts' type
constexpr int kNeuterAdjectiveSlot = 5;              // the first part of a hyphenated compound

bool is(HWND a, HWND b) { return a && a == b; }

// The main window receives the per-token lines while the text-checker window is not the active
// one and the main window is shown.
bool main_window_shows() { return gl_SPELLING_MODE == 0 && IsWindowVisible(hMain); }

// The token as the text has it (its typographic apostrophe kept) and as the look-ups see it. The
// record's copy has the token's length (the look-up form differs from it only in that byte).
std::string_view written(const TokenScan& t) {
    return t.rec && t.rec->text ? std::string_view(t.rec->text, t.len) : std::string_view(t.token, t.len);
}
std::string_view look_up_form(const TokenScan& t) { return std::string_view(t.token ? t.token : "", t.len); }

// UTF-16 units of 8-bit text once it is in a panel: CR LF becomes one paragraph end.
LONG units(std::string_view s) {
    LONG n = static_cast<LONG>(s.size());
    for (std::size_t i = 0; i + 1 < s.size(); ++i)
        if (s[i] == '\r' && s[i + 1] == '\n') --n;
    return n;
}

std::span<const ListPair> row(int r) {
    const DictFileRecord& rec = b[static_cast<std::size_t>(r)];
    return std::span<const ListPair>(rec.entries.data(), std::min(rec.count, rec.entries.size()));
}
std::span<const ListPair> list(int r) {
    const ListFileRecord& rec = m[static_cast<std::size_t>(r)];
    return std::span<const ListPair>(rec.entries.data(), std::min(rec.count, rec.entries.size()));
}
// Look-ups through the lists' hashed indexes: the same entry a binary search finds. The indexes
// are found once and kept until the run pumps messages (the lists may change only then) or the
// indexes are let go.
struct IndexCache {
    std::uint64_t generation = ~std::uint64_t{0};
    std::array<const WordIndex*, B_ROWS> rows{};
    std::array<const WordIndex*, M_ROWS> lists{};
};
IndexCache g_index_cache;

IndexCache& index_cache() {
    if (g_index_cache.generation != word_index_generation()) {
        g_index_cache = IndexCache{};
        g_index_cache.generation = word_index_generation();
    }
    return g_index_cache;
}
const WordIndex& row_index(int r) {
    const WordIndex*& ix = index_cache().rows[static_cast<std::size_t>(r)];
    if (!ix) ix = &word_index(row(r), b[static_cast<std::size_t>(r)].text);
    return *ix;
}
const WordIndex& list_index(int r) {
    const WordIndex*& ix = index_cache().lists[static_cast<std::size_t>(r)];
    if (!ix) ix = &word_index(list(r), m[static_cast<std::size_t>(r)].text);
    return *ix;
}
const ListPair* in_row(int r, std::string_view key) { return key.empty() ? nullptr : row_index(r).find_entry(key); }
const ListPair* in_list(int r, std::string_view key) { return key.empty() ? nullptr : list_index(r).find_entry(key); }

// ---- Answers kept for the run ---------------------------------------------------------------

// The slots of a table of entries by word form: open addressing over the forms' hashes
// (word_hash), a slot holding (hash high 32 bits << 32) | (entry + 1), 0 when empty.
class FormSlots {
public:
    // The entry (from 0) of hash h that `same` accepts, or -1.
    template <class Same>
    std::ptrdiff_t find(std::uint64_t h, Same same) const {
        if (slots_.empty()) return -1;
        for (std::uint64_t s = h & mask_;; s = (s + 1) & mask_) {
            const std::uint64_t slot = slots_[s];
            if (slot == 0) return -1;
            if ((slot >> 32) != (h >> 32)) continue;
            const auto e = static_cast<std::ptrdiff_t>((slot & 0xffffffffULL) - 1);
            if (same(static_cast<std::size_t>(e))) return e;
        }
    }
    // Room for entry `entries` (numbered from 0) with at most `most` of every `of` slots taken;
    // when the slots grow, the entries before it are placed again by `hash_of(entry)`.
    template <class HashOf>
    void make_room(std::size_t entries, std::size_t first_slots, std::size_t most, std::size_t of, HashOf hash_of) {
        if ((entries + 1) * of <= slots_.size() * most) return;
        slots_.assign(std::max(first_slots, slots_.size() * 2), 0);
        mask_ = slots_.size() - 1;
        for (std::size_t i = 0; i < entries; ++i) place(hash_of(i), i);
    }
    void place(std::uint64_t h, std::size_t entry) {
        std::uint64_t s = h & mask_;
        while (slots_[s] != 0) s = (s + 1) & mask_;
        slots_[s] = ((h >> 32) << 32) | (entry + 1);
    }

private:
    std::vector<std::uint64_t> slots_;
    std::uint64_t mask_ = 0;
};

// A table of answers by word form: the forms one after another in one block, the answers in blocks
// of their own (where they stay while the table grows). A text repeats its words: the forms asked again
// stay in the cache, where the word lists' own indexes, many times larger, would each be read from
// memory.
template <class V>
class FormMemo {
public:
    V* find(std::string_view form) {
        const std::ptrdiff_t e = slots_.find(word_hash(form), [&](std::size_t i) { return same_form(entries_[i], form); });
        return e < 0 ? nullptr : &entries_[static_cast<std::size_t>(e)].value;
    }
    // Keeps the answer of a form not kept yet.
    V& add(std::string_view form, V value) {
        // At most three in four slots taken.
        slots_.make_room(entries_.size(), 64, 3, 4, [this](std::size_t i) { return word_hash(form_of(i)); });
        Entry& e = entries_.emplace_back(
            Entry{static_cast<std::uint32_t>(forms_.size()), static_cast<std::uint32_t>(form.size()), {}, std::move(value)});
        std::memcpy(e.head, form.data(), std::min(form.size(), sizeof e.head));
        forms_.append(form);
        slots_.place(word_hash(form), entries_.size() - 1);
        return e.value;
    }
    void clear() { *this = FormMemo{}; }

private:
    struct Entry {
        std::uint32_t at, length;  // the form in forms_
        char head[16];             // its first bytes: most forms are compared without reading forms_
        V value;
    };
    bool same_form(const Entry& e, std::string_view form) const {
        if (e.length != form.size() || std::memcmp(e.head, form.data(), std::min(form.size(), sizeof e.head)) != 0)
            return false;
        return form.size() <= sizeof e.head || std::string_view(forms_.data() + e.at, e.length) == form;
    }
    // The entries in blocks of 1,024 that never move (an answer handed out stays where it is),
    // found by a shift and a mask.
    class Entries {
    public:
        std::size_t size() const { return size_; }
        Entry& operator[](std::size_t i) { return blocks_[i >> kShift][i & (kBlock - 1)]; }
        const Entry& operator[](std::size_t i) const { return blocks_[i >> kShift][i & (kBlock - 1)]; }
        Entry& emplace_back(Entry&& e) {
            if ((size_ & (kBlock - 1)) == 0) blocks_.push_back(std::make_unique<Entry[]>(kBlock));
            Entry& slot = (*this)[size_++];
            slot = std::move(e);
            return slot;
        }

    private:
        static constexpr unsigned kShift = 10;
        static constexpr std::size_t kBlock = std::size_t{1} << kShift;
        std::vector<std::unique_ptr<Entry[]>> blocks_;
        std::size_t size_ = 0;
    };
    FormSlots slots_;
    Entries entries_;
    std::string forms_;

    std::string_view form_of(std::size_t i) const {
        return std::string_view(forms_.data() + entries_[i].at, entries_[i].length);
    }
};

// Within one run a word form gets one report: the spelling answers (the suggestion generators'
// results the report reads) are asked once per distinct form and kept until the scan ends. The
// memory they may take is bounded; past it, new forms are asked each time they come.
struct BgAnswer {
    BgReport report;
    bool ran_generator = false;  // get_lensug ran a suggestion generator for it
    bool with_text = true;       // its text is whole (else its last resort was not asked)
};

// The answers of the last unknown Bulgarian words that ran no generator, one a slot of a small
// table by hash: a text repeats such words (names, short words a lexicon lacks), and each is asked
// again only after another took its slot; a text of distinct unknown words only writes over slots.
class RecentAnswers {
public:
    BgAnswer* find(std::string_view form, std::uint64_t h) {
        if (slots_.empty()) return nullptr;
        Slot& s = slots_[h & (kSlots - 1)];
        return s.used && s.hash == h && s.form == form ? &s.answer : nullptr;
    }
    const BgAnswer& put(std::string_view form, std::uint64_t h, BgAnswer&& a) {
        if (slots_.empty()) slots_.resize(kSlots);
        Slot& s = slots_[h & (kSlots - 1)];
        s.used = true;
        s.hash = h;
        s.form.assign(form);
        s.answer = std::move(a);
        return s.answer;
    }

private:
    static constexpr std::size_t kSlots = 4096;
    struct Slot {
        bool used = false;
        std::uint64_t hash = 0;
        std::string form;
        BgAnswer answer;
    };
    std::vector<Slot> slots_;  // made on first need
};

// What an English token's report reads from the lists: its b_en-bg entry, its wl_english entry and
// rank, and the folded key hash of its look-up form, with which the other lists are asked.
struct EnglishLookups {
    const ListPair* en_bg = nullptr;
    const ListPair* english = nullptr;
    std::int32_t rank = 0;
    std::uint64_t hash = 0;
};

// The look-ups of English forms found in b_en-bg or wl_english, by form: a text repeats its common
// words, and a small table answers them where two large indexes would each be read from memory.
// Forms of up to 15 bytes are kept, each entry holding its form, at most kMaxForms of them; the
// slots hold the forms' hashes, so that a form not kept is turned away by the slot table alone.
class FoundLookups {
public:
    const EnglishLookups* find(std::string_view form) const {
        if (form.size() >= kFormRoom) return nullptr;
        const Form f = padded(form);
        const std::ptrdiff_t e = slots_.find(word_hash(form), [&](std::size_t i) { return entries_[i].form == f; });
        return e < 0 ? nullptr : &entries_[static_cast<std::size_t>(e)].value;
    }
    // Keeps the look-ups of a form not kept yet (nothing when the form is long or the table full).
    void add(std::string_view form, const EnglishLookups& value) {
        if (form.size() >= kFormRoom || entries_.size() >= kMaxForms) return;
        // At most half the slots taken.
        slots_.make_room(entries_.size(), 1024, 1, 2, [this](std::size_t i) { return word_hash(form_of(i)); });
        entries_.push_back(Entry{padded(form), value});
        slots_.place(word_hash(form), entries_.size() - 1);
    }
    void clear() { *this = FoundLookups{}; }

private:
    static constexpr std::size_t kFormRoom = 16;
    static constexpr std::size_t kMaxForms = 1u << 16;
    using Form = std::array<char, kFormRoom>;  // the form, zero bytes after it, its length last
    struct Entry {
        Form form;
        EnglishLookups value;
    };
    FormSlots slots_;
    std::vector<Entry> entries_;

    static Form padded(std::string_view form) {
        Form f{};
        std::memcpy(f.data(), form.data(), form.size());
        f[kFormRoom - 1] = static_cast<char>(form.size());
        return f;
    }
    std::string_view form_of(std::size_t i) const {
        const Form& f = entries_[i].form;
        return std::string_view(f.data(), static_cast<unsigned char>(f[kFormRoom - 1]));
    }
};

struct RunMemo {
    FormMemo<EnglishAnswer> english;
    FormMemo<BgAnswer> bulgarian;
    RecentAnswers recent_unknown;  // unknown Bulgarian words judged without a generator
    // What the Bulgarian answers depend on besides the word, as it was when the first was kept: a
    // list loaded again or an option changed at a pump makes them stale.
    std::optional<BulgarianSpellingState> bulgarian_state;
    std::size_t bytes = 0;            // what the answers kept take, both tables
    std::size_t bulgarian_bytes = 0;  // of which the Bulgarian ones
    std::size_t english_bytes = 0;    // and the English ones
    // The state of the English lists under which the English answers were asked; they can serve
    // the English word list while every answer was asked under one state and it is still the same.
    std::optional<EnglishSpellingState> english_state;
    bool english_shareable = true;
    // The last question whose computation ran a generator, when it was answered from memory: the
    // generator's globals then hold an older word's results, so the end of the scan asks it again.
    enum class Kind { None, English, Bulgarian } replay = Kind::None;
    std::string replay_word;
    bool replay_text = true;  // the Bulgarian question was asked with its last resort
    // The look-ups of English forms found in b_en-bg or wl_english (a text repeats its common
    // words), kept while both indexes are the builds they were read from.
    FoundLookups english_found;
    std::uint64_t en_bg_build = 0, english_build = 0;
};
RunMemo g_memo;
constexpr std::size_t kMemoBytes = 24u << 20;
constexpr std::size_t kMemoEntryBytes = 96;  // a kept answer's own size besides its texts

// The English answers of the last scan, kept for its English word list.
FormMemo<EnglishAnswer> g_kept_english;
std::optional<EnglishSpellingState> g_kept_english_state;

// What the ask-ahead remembers of a text, to find the part of the next one that differs: the
// hashes of its blocks of kPrintBlock bytes counted from its start and from its end (a collision
// only asks fewer words ahead: the scan asks them itself).
constexpr std::size_t kPrintBlock = 256;
struct TextPrint {
    std::vector<std::uint64_t> head, tail;
    bool empty() const { return head.empty() && tail.empty(); }
};

// Block k from the start or from the end of `text` (whole blocks only).
std::string_view head_block(std::string_view text, std::size_t k) { return text.substr(k * kPrintBlock, kPrintBlock); }
std::string_view tail_block(std::string_view text, std::size_t k) {
    return text.substr(text.size() - (k + 1) * kPrintBlock, kPrintBlock);
}

TextPrint print_of(std::string_view text) {
    TextPrint p;
    const std::size_t blocks = text.size() / kPrintBlock;
    p.head.reserve(blocks);
    p.tail.reserve(blocks);
    for (std::size_t k = 0; k < blocks; ++k) {
        p.head.push_back(word_hash(head_block(text, k)));
        p.tail.push_back(word_hash(tail_block(text, k)));
    }
    return p;
}

// The Bulgarian answers of the last scan, kept for the next run (the checker checks the whole text
// again after every keystroke): it starts with them while everything they depend on is as it was
// when they were asked.
struct KeptBulgarian {
    FormMemo<BgAnswer> answers;
    TextPrint text;                   // the text they were asked of, when it was asked ahead
    BulgarianSpellingState state;
    bool cyrillic = true;             // the letter case rules they were asked under
    std::uint64_t form_loads = 0;     // the word-form index they were asked of (word_form_loads)
    std::size_t bytes = 0;
    bool holds() const {
        return state == bulgarian_spelling_state() && cyrillic == ctype_locale_is_cyrillic() &&
               form_loads == word_form_loads();
    }
};
std::optional<KeptBulgarian> g_kept_bulgarian;
// The text whose Cyrillic words were asked ahead in this run or in the run whose answers it
// started with (empty when nothing was asked ahead).
TextPrint g_memo_text;

void answered_from_memory(RunMemo::Kind kind, std::string_view word, bool ran_generator, bool text = true) {
    if (!ran_generator) return;
    g_memo.replay = kind;
    g_memo.replay_word.assign(word);
    g_memo.replay_text = text;
}
void answered_afresh(bool ran_generator) {
    if (ran_generator) g_memo.replay = RunMemo::Kind::None;
}

EnglishAnswer english_answer_afresh(std::string_view look) {
    std::string report, classes;
    token_suggest(look, report, classes);
    return EnglishAnswer{suggest_ct, false_positive != 0, spelling_sh, std::move(classes)};
}

// The spelling answer of a misspelt English word (token_suggest always runs a generator).
const EnglishAnswer& english_answer(std::string_view look) {
    if (EnglishAnswer* kept = g_memo.english.find(look)) {
        answered_from_memory(RunMemo::Kind::English, look, true);
        return *kept;
    }
    EnglishAnswer a = english_answer_afresh(look);
    answered_afresh(true);
    if (g_memo.english_shareable) {
        const EnglishSpellingState now = english_spelling_state();
        if (!g_memo.english_state) g_memo.english_state = now;
        g_memo.english_shareable = *g_memo.english_state == now;
    }
    static EnglishAnswer unkept;
    if (g_memo.bytes >= kMemoBytes) return unkept = std::move(a);
    const std::size_t bytes = kMemoEntryBytes + look.size() + a.spelling_sh.capacity() + a.classes.capacity();
    g_memo.bytes += bytes;
    g_memo.english_bytes += bytes;
    return g_memo.english.add(look, std::move(a));
}

// The report of a Bulgarian word; its text is whole when `text` is asked for (the flags always
// are): a text that nothing shows or logs does not ask the generator.
const BgReport& bulgarian_answer(std::string_view look, bool text) {
    BgAnswer* kept = g_memo.bulgarian.find(look);
    if (kept && (kept->with_text || !text)) {
        answered_from_memory(RunMemo::Kind::Bulgarian, look, kept->ran_generator, kept->with_text);
        return kept->report;
    }
    const std::uint64_t h = word_hash(look);
    if (!kept) {
        const BgAnswer* recent = g_memo.recent_unknown.find(look, h);
        if (recent && (recent->with_text || !text)) return recent->report;
    }
    const std::uint64_t runs = suggestion_runs;
    BgAnswer a{get_lensug(look, text), false, text};
    a.ran_generator = suggestion_runs != runs;
    answered_afresh(a.ran_generator);
    if (kept) return (*kept = std::move(a)).report;
    if (!g_memo.bulgarian_state) g_memo.bulgarian_state = bulgarian_spelling_state();
    // An unknown word whose answer ran no generator was judged by a few list probes: it is not kept
    // in the table of the run (a text of mostly distinct unknown words would fill it with answers
    // never asked again), only among the recent ones.
    if (!a.ran_generator && !a.report.known) return g_memo.recent_unknown.put(look, h, std::move(a)).report;
    static BgAnswer unkept;
    if (g_memo.bytes >= kMemoBytes) return (unkept = std::move(a)).report;
    const std::size_t size =
        kMemoEntryBytes + look.size() + a.report.text.capacity() + (a.report.rank ? a.report.rank->capacity() : 0);
    g_memo.bytes += size;
    g_memo.bulgarian_bytes += size;
    return g_memo.bulgarian.add(look, std::move(a)).report;
}

// The b_en-bg entry and the wl_english entry and rank of an English word, both indexes asked at
// once so that their reads from memory overlap (wl_english2, which an unknown word asks next,
// starts reading too).
EnglishLookups english_lookups(std::string_view look) {
    EnglishLookups l;
    if (look.empty()) return l;
    const WordIndex& en_bg = row_index(B_EN_BG);
    const WordIndex& english = list_index(M_WL_ENGLISH);
    RunMemo& memo = g_memo;
    if (memo.en_bg_build != en_bg.build_number() || memo.english_build != english.build_number()) {
        memo.english_found.clear();
        memo.en_bg_build = en_bg.build_number();
        memo.english_build = english.build_number();
    }
    if (const EnglishLookups* kept = memo.english_found.find(look)) return *kept;
    const std::uint64_t h = l.hash = folded_key_hash(look);
    en_bg.prefetch(h);
    english.prefetch(h);
    list_index(M_WL_ENGLISH2).prefetch(h);
    const std::ptrdiff_t e = en_bg.find_hashed(look, h), r = english.find_hashed(look, h);
    if (e >= 0) l.en_bg = &en_bg.entry(static_cast<std::size_t>(e));
    if (r >= 0) {
        l.english = &english.entry(static_cast<std::size_t>(r));
        l.rank = english.rank(static_cast<std::size_t>(r));  // the rank of the entry's rest
    }
    // Unknown forms are turned away by the indexes' filters at little cost: only found ones are kept.
    if (l.en_bg || l.english) memo.english_found.add(look, l);
    return l;
}

// The entry of the look-up form in list `r`, asked with its hash.
const ListPair* in_list(int r, std::string_view look, const EnglishLookups& known) {
    if (look.empty()) return nullptr;
    const WordIndex& ix = list_index(r);
    const std::ptrdiff_t i = ix.find_hashed(look, known.hash);
    return i < 0 ? nullptr : &ix.entry(static_cast<std::size_t>(i));
}
const ListPair* in_row(int r, std::string_view look, const EnglishLookups& known) {
    if (look.empty()) return nullptr;
    const WordIndex& ix = row_index(r);
    const std::ptrdiff_t i = ix.find_hashed(look, known.hash);
    return i < 0 ? nullptr : &ix.entry(static_cast<std::size_t>(i));
}

// ---- Writing lines ---------------------------------------------------------------------------

// Starts a line at the panel's end with black, not bold as the insertion format, appends the
// text and n line ends, and returns where the text begins.
LONG write_line(HWND re, std::string_view text, int n) {
    CHARRANGE cr;
    SelectReEnd(re, cr);
    ColorRangeOn(re, cr.cpMin, cr.cpMin, kColourBold, 0, 0);
    JuxShowMessage(re, text, n);
    return cr.cpMin;
}

// Colours [from, to) of a line that begins at `start` (8-bit offsets into the line's text).
void colour(HWND re, LONG start, std::size_t from, std::size_t to, COLORREF c, bool bold) {
    if (to <= from) return;
    ColorRangeOn(re, start + static_cast<LONG>(from), start + static_cast<LONG>(to), kColourBold, c, bold ? 1 : 0);
}

// A line in one colour, bold.
void line_in(HWND re, std::string_view text, COLORREF c) {
    const LONG s = write_line(re, text, 1);
    colour(re, s, 0, static_cast<std::size_t>(units(text)), c, true);
}

// Colours the token in the source panel (never the main window's hidden copy of its entry box).
void colour_source(const RunContext& c, const TokenScan& t, COLORREF col) {
    if (is(c.source, hAddReShortCopy)) return;
    ColorRangeOn(c.source, t.pos, t.pos + static_cast<LONG>(t.len), kColourBold, col, 1);
}

// Colours the Latin letters of `word`, which begins at `start` of the panel, green and bold.
void colour_latin_letters(HWND re, LONG start, std::string_view word) {
    std::size_t i = 0;
    while (i < word.size()) {
        if (!ascii_latin[static_cast<unsigned char>(word[i])]) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < word.size() && ascii_latin[static_cast<unsigned char>(word[j])]) ++j;
        ColorRangeOn(re, start + static_cast<LONG>(i), start + static_cast<LONG>(j), kColourBold, kColMixedLatin, 1);
        i = j;
    }
}

std::string fmt_int(std::string_view text, const char* tail, long long v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, tail, v);
    return std::string(text) + buf;
}

// ---- Numbers -----------------------------------------------------------------------------

bool pane_open_for_numbers() { return gl_PRINT_FILTERED && main_window_shows(); }

void number_line(std::string_view token, std::string_view line) {
    const LONG s = write_line(hAddReSaved, line, 1);
    colour(hAddReSaved, s, 0, token.size(), kColNumber, true);
}

// ---- Bulgarian report ----------------------------------------------------------------------

bool starts_ci(std::string_view word, std::string_view prefix) {
    return word.size() >= prefix.size() && cp_strncasecmp(word, prefix, prefix.size()) == 0;
}

// An unknown word counts as capitalised with exactly one upper-case Cyrillic letter, the first, or
// with exactly two, the first and the third, an apostrophe between them.
bool capitalised_bg(std::string_view w, const TokenCounts& n) {
    auto up = [&](std::size_t i) { return i < w.size() && ascii_cyrillic_upper[static_cast<unsigned char>(w[i])]; };
    if (n.cyr_upper == 1) return up(0);
    if (n.cyr_upper == 2) return up(0) && up(2) && ascii_apos[static_cast<unsigned char>(w[1])];
    return false;
}

// The log of an unknown word by its letter case.
FILE* case_log(std::string_view w, const TokenCounts& n) {
    const std::uint32_t upper = n.cyr_upper + n.lat_upper;
    const std::uint32_t lower = n.cyr_lower + n.lat_lower;
    if (upper == 0) return fl_cyr_lower_only;
    if (lower == 0) return fl_cyr_upper_only;
    if (upper == 1 && !w.empty() && ascii_upper[static_cast<unsigned char>(w[0])]) return fl_cyr_first_upper;
    return fl_cyr_mixed;
}

// The spelling logs' lines are gathered per log and written in large pieces; the end of the scan
// writes what is left (before the run closes the logs).
struct PendingLog {
    FILE* f = nullptr;
    std::string bytes;
};
std::array<PendingLog, 8> g_logs;
constexpr std::size_t kLogPiece = 1u << 16;

void write_pending_logs() {
    for (PendingLog& l : g_logs) {
        if (l.f && !l.bytes.empty()) OutputCyr(l.bytes, 0, l.f);
        l = PendingLog{};
    }
}

void log_line(FILE* f, std::string_view token, std::string_view text) {
    if (!f) return;
    PendingLog* log = nullptr;
    for (PendingLog& l : g_logs)
        if (l.f == f || !l.f) {
            log = &l;
            break;
        }
    if (!log) {  // more logs than places: write this one's line at once
        std::string line(token);
        line += text;
        if (line.size() > kLogLineMax) line.resize(kLogLineMax);
        OutputCyr(line, 1, f);
        return;
    }
    log->f = f;
    const std::size_t from = log->bytes.size();
    log->bytes += token;
    log->bytes += text;
    if (log->bytes.size() - from > kLogLineMax) log->bytes.resize(from + kLogLineMax);
    log->bytes += "\r\n";
    if (log->bytes.size() >= kLogPiece) {
        OutputCyr(log->bytes, 0, f);
        log->bytes.clear();
    }
}

// The replaced typographic apostrophe goes back at the first apostrophe of the report text.
void put_back_apostrophe(const TokenScan& t, std::string& text) {
    if (!t.apos_replaced) return;
    const std::size_t at = text.find('\'');
    if (at != std::string::npos) text[at] = static_cast<char>(t.apos_replaced);
}

void bulgarian_report(RunContext& c, const TokenScan& t) {
    const std::string_view look = look_up_form(t);
    const std::string_view shown = written(t);
    const bool on_pane = c.processed <= kPaneBulgarianTokens && main_window_shows();
    const BgReport& answer = bulgarian_answer(look, on_pane || cyr_logs_open);
    // The report's text, with the token's own apostrophe put back (a copy only then).
    std::string restored;
    std::string_view text = answer.text;
    if (t.apos_replaced && text.find('\'') != std::string_view::npos) {
        restored = answer.text;
        put_back_apostrophe(t, restored);
        text = restored;
    }
    const std::uint32_t text_colour = answer.colour;
    const std::uint8_t has_latin = answer.has_latin, known = answer.known, upper_skipped = answer.upper_skipped,
                       own = answer.own;
    const std::string_view rank = answer.rank ? std::string_view(*answer.rank) : std::string_view("0");

    COLORREF pane = kColKnownBg;
    if (known && gl_COLOR_RARE) {
        COLORREF col = 0;
        if (rare_word_colour(!rank.empty(), rank_of_text(rank), look.find('.') != std::string_view::npos, col))
            colour_source(c, t, col);
    } else if (known || upper_skipped) {
        // accepted as it stands
    } else if (OP[OPT_LOAD_BG].num_value != 0 && bulgarian_compound_known(look)) {
        // accepted as a compound
    } else {
        pane = capitalised_bg(shown, t.n) ? kColUnknownCap : kColUnknown;
        if (gl_TEXT_COLORING && !gl_TREAT_AS_UNKNOWN && !gl_ALLWAYS_SUGGEST) {
            colour_source(c, t, pane);
            if (has_latin && !is(c.source, hAddReShortCopy)) colour_latin_letters(c.source, t.pos, look);
        }
        if (cyr_logs_open) {
            log_line(fl_cyr_missing, shown, text);
            log_line(case_log(shown, t.n), shown, text);
        }
        PutInG(shown);
    }

    if (on_pane) {
        const LONG s = write_line(hAddReSaved, shown, 0);
        colour(hAddReSaved, s, 0, shown.size(), pane, true);
        if (has_latin) colour_latin_letters(hAddReSaved, s, shown);
        const LONG r = write_line(hAddReSaved, text, 1);
        colour(hAddReSaved, r, 0, static_cast<std::size_t>(units(text)), upper_skipped || own ? kColOwnLabel : text_colour,
               false);
    }
    if (cyr_logs_open) log_line(fl_cyr_all, shown, text);
}

// ---- English report -----------------------------------------------------------------------

// Rank from wl_english: its number, 500,000 for a listed word without rank text, 0 when unlisted.
std::int32_t english_rank(std::string_view word) {
    if (word.empty()) return 0;
    const WordIndex& english = list_index(M_WL_ENGLISH);
    const std::ptrdiff_t i = english.find(word);
    return i < 0 ? 0 : english.rank(static_cast<std::size_t>(i));  // the rank of the entry's rest
}
bool filtered(std::int32_t rank) { return rank != 0 && rank <= gl_RANK_FILTER; }

// The English word list of the text (instance 1 of family 3).
void english_list_add(const TokenScan& t) {
    if (t.has_apos) {
        if (gl_ENGLIST_SKIP_APOS2) return;
        if (gl_ENGLIST_SKIP_APOS1) {
            const std::string_view look = look_up_form(t);
            const std::size_t at = look.rfind('\'');
            if (at != std::string_view::npos && at != 0) {
                const std::string_view tail = look.substr(at + 1);
                for (std::string_view e : {"s", "d", "ll", "ve", "re"})
                    if (tail.size() == e.size() && cp_strncasecmp(tail, e, e.size()) == 0) {
                        PutInG3(1, look.substr(0, at));
                        return;
                    }
            }
        }
    }
    PutInG3(1, written(t));
}

// An entry of b_en-bg on the pane: one coloured line with its definition shortened for the call,
// or "+bg, but no definition".
void pane_entry(const ListPair& e, std::u16string_view word, bool from_key, std::int32_t rank) {
    if (!e.has_rest()) {
        const std::string w = from_key ? std::string(e.key) : utf16_to_cp1251(word);
        const LONG s = write_line(hAddReSaved, w + " +bg, but no definition", 1);
        colour(hAddReSaved, s, 0, w.size() + 23, gl_col_nosug, false);
        return;
    }
    const ListPair shortened{e.key, shorten_definition(e.rest, defcut, kPaneDefinitionLimit)};
    WriteOneColoredLine(hAddReSaved, shortened, word, rank, from_key ? 1 : 0);
    restore_definition(defcut);
}

// "word -> " in the arrow's colour, at the start of a line that an entry line then ends.
void arrow_to(HWND re, std::string_view word, COLORREF col) {
    const LONG s = write_line(re, std::string(word) + " -> ", 0);
    colour(re, s, 0, word.size(), col, true);
}

// A correct word's entry on the pane, with the entry its definition refers to.
void pane_known_word(std::string_view shown, const ListPair& e, std::int32_t rank) {
    pane_entry(e, cp1251_to_utf16(shown), false, rank);
    if (!e.has_rest()) return;
    std::string stem;
    GetStem(e.rest, stem);
    if (stem.empty() || cp_strcasecmp(stem, shown) == 0) return;
    const ListPair* s = in_row(B_EN_BG, stem);
    if (!s) return;
    arrow_to(hAddReSaved, shown, kColStemArrow);
    pane_entry(*s, {}, true, english_rank(stem));
}

// A word known only from the English word lists: the same line into the short pane and the
// saved pane.
void word_list_lines(std::string_view shown, bool derived, std::string_view word, const ListPair& e,
                     std::int32_t rank) {
    const std::string rank_text = std::to_string(rank);
    std::string rest;
    if (e.has_rest()) {
        rest = std::string(shorten_definition(e.rest, defcut, kPaneDefinitionLimit));
        restore_definition(defcut);
    }
    std::string line(word);
    std::size_t rank_from = 0, rank_to = 0;
    if (gl_PRINT_RANK_IN_ONELINE) {
        line += ' ';
        rank_from = line.size();
        line += rank_text;
        rank_to = line.size();
    }
    line += e.has_rest() ? " " + rest : std::string(" +en2, but no definition");
    for (HWND re : {hAddReShort3, hAddReSaved}) {
        if (derived) arrow_to(re, shown, kColDerivedArrow);
        const LONG s = write_line(re, line, 1);
        colour(re, s, 0, word.size(), kColWordList, true);
        if (rank_to > rank_from) colour(re, s, rank_from, rank_to, kColFiltered, true);
        const std::size_t rest_from = std::max(word.size(), rank_to);
        colour(re, s, rest_from, static_cast<std::size_t>(units(line)), kColWordList, false);
    }
}

// The capitalisation rule of unknown English words: a word that begins with a capital is checked
// only while SPELL_UPPERCASE is set.
bool spell_checked(std::string_view shown) {
    return gl_SPELL_UPPERCASE || shown.empty() || !ascii_upper[static_cast<unsigned char>(shown[0])];
}

// The report panel's line of an unknown word (ENGLIST_UNGROUPED): its word part coloured, the
// rest in the line's colour, the caret at its start.
void ungrouped_line(HWND report, std::string_view line, std::size_t word_len, COLORREF word_col,
                    COLORREF rest_col, bool rest_coloured) {
    const LONG s = write_line(report, line, 1);
    colour(report, s, 0, word_len, word_col, true);
    if (rest_coloured) colour(report, s, word_len, static_cast<std::size_t>(units(line)), rest_col, false);
    RE_SetSel(report, CHARRANGE{s, s});
}

// Whether a misspelt word's ungrouped line shows it as a capitalised word: upper-case Latin
// letter followed by a small Latin letter, by an apostrophe and a capital, or by a hyphen.
bool capitalised_en(std::string_view w) {
    if (w.size() < 2 || !ascii_latin_upper[static_cast<unsigned char>(w[0])]) return false;
    const unsigned char n = static_cast<unsigned char>(w[1]);
    if (ascii_latin_lower[n] || n == '-') return true;
    return ascii_apos[n] && w.size() > 2 && ascii_upper[static_cast<unsigned char>(w[2])];
}

// The part of a token after its last dot is a web ending of b_web_skip.
bool web_ending(std::string_view w) {
    const std::size_t dot = w.rfind('.');
    return dot != std::string_view::npos && in_row(B_WEB_SKIP, w.substr(dot + 1));
}

// Unknown English words. Returns true when the word turns out correct after all.
bool english_unknown(RunContext& c, const TokenScan& t, const EnglishLookups& known, bool pane) {
    const std::string_view look = look_up_form(t);
    const std::string_view shown = written(t);
    const std::int32_t rank = known.rank;
    if (filtered(rank)) {
        if (gl_PRINT_FILTERED && pane) line_in(hAddReSaved, fmt_int(shown, " %lld", rank), kColFiltered);
        return false;
    }
    const bool derived = t.has_apos && cp_strcasecmp(bf_deriv, look) != 0;
    const std::string_view word = derived ? std::string_view(bf_deriv) : look;
    // The look-up form's own entries were asked with its hash.
    const ListPair* le = derived ? in_list(M_WL_ENGLISH2, word) : in_list(M_WL_ENGLISH2, look, known);
    if (!le) le = derived ? in_list(M_WL_ENGLISH, word) : known.english;
    if (le) {
        if (gl_TEXT_COLORING && !gl_COLOR_RARE) colour_source(c, t, kColWordList);
        if (pane) word_list_lines(shown, derived, derived ? word : shown, *le, english_rank(word));
        return false;
    }
    if (t.has_apos) {
        const std::string line = std::string(shown) + " & " + bf_deriv + "  --- both not found ---";
        const std::size_t head = shown.size() + 3;
        LONG s = 0;
        if (pane) {
            s = write_line(hAddReSaved, line, 1);
            colour(hAddReSaved, s, 0, head, kColUnknown, true);
        }
        if (spell_checked(shown)) {
            if (gl_TEXT_COLORING) colour_source(c, t, kColUnknown);
        } else {
            if (pane) colour(hAddReSaved, s, 0, head, kColKnownBg, true);
            return false;
        }
        if (!gl_ENGLIST_ALL) english_list_add(t);
        if (gl_ENGLIST_UNGROUPED) ungrouped_line(c.report, line, shown.size(), kColUnknown, 0, false);
        return false;
    }
    if (t.len == 1) {
        if (gl_PRINT_FILTERED && pane) line_in(hAddReSaved, std::string(shown) + " (single character)", kColFiltered);
        if (gl_TEXT_COLORING) colour_source(c, t, kColUnknown);
        return false;
    }
    if (in_list(M_WL_WEBSITE, look, known) || web_ending(look) || in_row(B_ENGLISH_SKIP, look, known)) return true;

    // Misspelt.
    if (!gl_ENGLIST_ALL) english_list_add(t);
    // The suggestions are asked for only when a line shows them.
    const bool checked = spell_checked(shown);
    if (!pane && !(checked && gl_ENGLIST_UNGROUPED)) {
        if (checked && gl_TEXT_COLORING) colour_source(c, t, kColUnknown);
        return false;
    }
    const EnglishAnswer& answer = english_answer(look);
    const bool none = answer.none();
    const std::string line = std::string(shown) + " -> " + (none ? std::string("no suggestions") : answer.spelling_sh);
    const COLORREF line_col = none ? gl_col_nosug : kColSuggestionLine;
    LONG s = 0;
    if (pane) {
        s = write_line(hAddReSaved, line, 1);
        colour(hAddReSaved, s, 0, shown.size(), kColUnknown, true);
        colour(hAddReSaved, s, shown.size(), static_cast<std::size_t>(units(line)), line_col, false);
    }
    if (checked) {
        if (gl_TEXT_COLORING) colour_source(c, t, kColUnknown);
    } else {
        if (pane) colour(hAddReSaved, s, 0, shown.size(), kColKnownBg, true);
        return false;
    }
    if (gl_ENGLIST_UNGROUPED) {
        const COLORREF word_col = c.length > 2 && capitalised_en(shown) ? kColUnknownCap : kColUnknown;
        ungrouped_line(c.report, line, shown.size(), word_col, line_col, true);
    }
    return false;
}

void english_report(RunContext& c, const TokenScan& t) {
    const std::string_view look = look_up_form(t);
    // The token as written, read only for the lines that show it (most known words show none).
    const auto shown = [&t] { return written(t); };
    const bool pane = c.processed <= kPaneEnglishTokens && main_window_shows();
    if (gl_ENGLIST_ALL) english_list_add(t);
    const EnglishLookups known = english_lookups(look);
    const std::int32_t rank = known.rank;

    bool correct = false;
    if (const ListPair* e = known.en_bg) {
        correct = true;
        if (pane) {
            if (filtered(rank)) {
                if (gl_PRINT_FILTERED) line_in(hAddReSaved, fmt_int(shown(), " %lld", rank), kColFiltered);
            } else {
                pane_known_word(shown(), *e, rank);
            }
        }
    } else if (t.has_apos) {
        gl_aposcase = isapostrophe(look, bf_deriv, aposlabel);
        const std::int32_t derived_rank = english_rank(bf_deriv);
        if (filtered(derived_rank)) {
            if (gl_PRINT_FILTERED && main_window_shows())
                line_in(hAddReSaved, fmt_int(std::string(shown()) + " -> " + bf_deriv, " %lld", derived_rank),
                        kColFiltered);
            correct = true;
        } else if (const ListPair* d = in_row(B_EN_BG, bf_deriv)) {
            if (pane) {
                arrow_to(hAddReSaved, shown(), kColStemArrow);
                pane_entry(*d, cp1251_to_utf16(bf_deriv), false, derived_rank);
            }
            correct = true;
        }
    }
    if (!correct) correct = english_unknown(c, t, known, pane);
    if (!correct || !gl_PRINT_ALL_LATIN) return;
    const std::string_view w = shown();
    const LONG s = write_line(c.report, std::string(w) + " -> correct", 1);
    colour(c.report, s, 0, w.size(), kColCorrect, true);
    colour(c.report, s, w.size(), w.size() + 11, kColFiltered, true);
    RE_SetSel(c.report, CHARRANGE{s, s});
    if (gl_TEXT_COLORING) colour_source(c, t, kColCorrect);
}

}  // namespace

std::string gap_display_text(std::string_view gap) {
    struct Shown {
        std::string_view gap, display;
    };
    static constexpr Shown kTable[] = {
        {" ", ""},
        {", ", ", "},
        {". ", ". "},
        {"\r\n", "NL"},
        {",\n", ",\r\nNL"},
        {",\r", ",\r\nNL"},
        {",\r\n", ",\r\nNL"},
        {",\r\n\r\n", ",\r\nNL\r\nNL"},
        {".\n", ".\r\nNL"},
        {".\r", ".\r\nNL"},
        {".\r\n", ".\r\n"},
        {".\r\n\r\n", ".\r\nNL\r\nNL"},
        {".'\r\n", ".'\r\nNL"},
    };
    for (const Shown& s : kTable)
        if (gap == s.gap) return std::string(s.display);
    return std::string(gap);
}

std::string separated_number_line(std::string_view token, std::uint32_t dots, std::uint32_t commas) {
    char buf[128];
    if (commas == 0) {
        if (dots == 1)
            std::snprintf(buf, sizeof buf, " (number with 1 decimal separator . )");
        else if (dots == 3)
            std::snprintf(buf, sizeof buf, " (number with 3 decimal separators . IP?)");
        else
            std::snprintf(buf, sizeof buf, " (number with %u decimal separators . )", dots);
    } else if (dots == 0) {
        if (commas == 1)
            std::snprintf(buf, sizeof buf, " (number with 1 decimal separator , )");
        else
            std::snprintf(buf, sizeof buf, " (number with %u decimal separators , )", commas);
    } else {
        std::snprintf(buf, sizeof buf, " (number with mixed decimal separators: %u . and %u , )", dots, commas);
    }
    return std::string(token) + buf;
}

bool rare_word_colour(bool has_rank, std::int32_t rank, bool has_dot, COLORREF& colour) {
    if (!has_rank) {
        if (has_dot) return false;
        colour = kColRareNoRank;
        return true;
    }
    if (rank < gl_RANK_RARE) return false;
    switch (rank) {
        case 4'996: colour = RGB(0, 127, 0); return true;
        case 4'997: colour = RGB(23, 69, 179); return true;
        case 4'998: colour = RGB(0, 152, 255); return true;
        case 4'999: colour = RGB(0, 230, 255); return true;
        default: break;
    }
    if (rank <= 4'995) {
        colour = RGB(113, 159, 49);
        return true;
    }
    // A rank of 5,000 or more keeps the word's colour.
    return false;
}

bool bulgarian_compound_known(std::string_view w) {
    // A hyphenated pair: "научно-технически".
    const std::size_t hyphen = w.find('-');
    if (hyphen != std::string_view::npos && w.size() - hyphen - 1 > 3) {
        const std::string_view first = w.substr(0, hyphen), second = w.substr(hyphen + 1);
        NounAdjInfo info;
        if (TypeHas(first, kAdjectiveLikeType) && TypeHas(second, kAdjectiveLikeType) &&
            GetAdjInfo(info, -1, first) == 1 && info.slot == kNeuterAdjectiveSlot)
            return true;
    }
    static const std::array<std::string, 7> intensifying = {
        utf8_to_cp1251("полу"),  utf8_to_cp1251("псевдо"), utf8_to_cp1251("супер"), utf8_to_cp1251("хипер"),
        utf8_to_cp1251("ултра"), utf8_to_cp1251("свръх"),  utf8_to_cp1251("мега")};
    static const std::array<std::string, 7> directions = {
        utf8_to_cp1251("ново"),    utf8_to_cp1251("старо"),   utf8_to_cp1251("древно"), utf8_to_cp1251("източно"),
        utf8_to_cp1251("западно"), utf8_to_cp1251("северно"), utf8_to_cp1251("южно")};
    // A prefixed word has more than five letters after its prefix (most words are too short for
    // any prefix, and are not compared with them).
    for (const std::string& p : intensifying) {
        if (w.size() <= p.size() + 5 || !starts_ci(w, p)) continue;
        const std::string_view rest = w.substr(p.size());
        if (!starts_ci(rest, p) && TypeHasAscii(rest, ascii_adj) >= 0) return true;
    }
    for (const std::string& p : directions) {
        if (w.size() <= p.size() + 5 || !starts_ci(w, p)) continue;
        const std::string_view rest = w.substr(p.size());
        if (!starts_ci(rest, p) && TypeHas(rest, kAdjectiveLikeType) &&
            ascii_cyrillic_lower[static_cast<unsigned char>(w[0])])
            return true;
    }
    return false;
}

void token_report_gap(RunContext& c, const TokenScan& t) {
    (void)c;
    if (!gl_PRINT_FILTERED || !t.rec || !t.rec->gap || !*t.rec->gap) return;
    const std::string shown = gap_display_text(t.rec->gap);
    if (shown.empty() || !main_window_shows() || IsWindowVisible(hAddTransSir)) return;
    line_in(hAddReSaved, shown, kColNumber);
}

void token_report(RunContext& c, const TokenScan& t) {
    const std::string_view look = look_up_form(t);
    if (IsDigitsOnly(look)) {
        const std::string_view shown = written(t);
        if (pane_open_for_numbers()) number_line(shown, std::string(shown) + " (number)");
        return;
    }
    if (IsNumber(look) && (t.n.dots > 0 || t.n.commas > 0)) {
        const std::string_view shown = written(t);
        if (pane_open_for_numbers()) number_line(shown, separated_number_line(shown, t.n.dots, t.n.commas));
        return;
    }
    if (t.n.digits > 0 && t.n.cyr == 0) {
        const std::string_view shown = written(t);
        if (main_window_shows() && !IsWindowVisible(hAddTransSir))
            number_line(shown, std::string(shown) + " (has digit(s), skipped)");
        if (gl_TEXT_COLORING) colour_source(c, t, kColNumber);
        return;
    }
    if (t.n.cyr > 0)
        bulgarian_report(c, t);
    else if (gl_PARSE_LATIN_WORDS)
        english_report(c, t);
}

void token_report_pumped() {
    g_index_cache = IndexCache{};
    // The user may have filed words or changed options meanwhile: the Bulgarian answers kept are
    // asked again under what holds now.
    if (g_memo.bulgarian_state && *g_memo.bulgarian_state != bulgarian_spelling_state()) {
        g_memo.bulgarian.clear();
        g_memo_text = TextPrint{};  // its words are no longer all answered
        g_memo.recent_unknown = RecentAnswers{};
        g_memo.bulgarian_state.reset();
        g_memo.bytes -= g_memo.bulgarian_bytes;
        g_memo.bulgarian_bytes = 0;
    }
    // So are the English suggestions when an English list was loaded again or DEEP_SPELL changed.
    if (g_memo.english_state && *g_memo.english_state != english_spelling_state()) {
        g_memo.english.clear();
        g_memo.english_state.reset();
        g_memo.english_shareable = true;
        g_memo.bytes -= g_memo.english_bytes;
        g_memo.english_bytes = 0;
    }
}

void token_report_begin_run() {
    write_pending_logs();
    g_index_cache = IndexCache{};
    g_memo = RunMemo{};
    release_kept_english_answers();
    g_memo_text = TextPrint{};
    if (g_kept_bulgarian && g_kept_bulgarian->holds()) {
        g_memo.bulgarian = std::move(g_kept_bulgarian->answers);
        g_memo.bulgarian_state = g_kept_bulgarian->state;
        g_memo.bytes = g_memo.bulgarian_bytes = g_kept_bulgarian->bytes;
        g_memo_text = std::move(g_kept_bulgarian->text);
    }
    g_kept_bulgarian.reset();
}

namespace {

constexpr std::size_t kAheadLeast = 512;       // distinct words worth the helper threads
constexpr std::size_t kAheadMost = 1u << 17;   // words asked ahead at most (those met first)

// The distinct words of the text that the tokeniser cuts as tokens of Cyrillic letters alone: a
// run of them between characters that are no token characters (a word cut otherwise, such as one
// with a hyphen, an apostrophe or an abbreviation's dot, is asked by the scan itself); at most
// kAheadMost of them, the first met.
std::vector<std::string_view> cyrillic_words(std::string_view text) {
    std::vector<std::string_view> words;
    std::vector<std::uint64_t> slots(std::size_t{1} << 12, 0);
    std::size_t taken = 0;
    const auto cyr = [&](std::size_t i) { return ascii_cyrillic[static_cast<unsigned char>(text[i])] != 0; };
    const auto token_char = [&](std::size_t i) { return ascii_valid[static_cast<unsigned char>(text[i])] != 0; };
    for (std::size_t i = 0; i < text.size() && words.size() < kAheadMost;) {
        if (!cyr(i)) {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < text.size() && cyr(j)) ++j;
        const bool whole = (i == 0 || !token_char(i - 1)) && (j == text.size() || !token_char(j));
        const std::string_view w = text.substr(i, j - i);
        i = j;
        if (!whole) continue;
        if ((taken + 1) * 2 > slots.size()) {  // at most half the slots taken
            std::vector<std::uint64_t> grown(slots.size() * 2, 0);
            for (std::uint64_t e : slots)
                if (e) {
                    const std::string_view k = words[static_cast<std::size_t>(e & 0xffffffffULL) - 1];
                    std::uint64_t at = word_hash(k) & (grown.size() - 1);
                    while (grown[at]) at = (at + 1) & (grown.size() - 1);
                    grown[at] = e;
                }
            slots.swap(grown);
        }
        const std::uint64_t h = word_hash(w);
        std::uint64_t at = h & (slots.size() - 1);
        bool seen = false;
        for (; slots[at]; at = (at + 1) & (slots.size() - 1))
            if ((slots[at] >> 32) == (h >> 32) && words[static_cast<std::size_t>(slots[at] & 0xffffffffULL) - 1] == w) {
                seen = true;
                break;
            }
        if (seen) continue;
        words.push_back(w);
        slots[at] = ((h >> 32) << 32) | words.size();
        ++taken;
    }
    return words;
}

// The part of `text` whose words may differ from those of the text of `before`: from a character
// that is no token character (or the start) before the first block that differs, to one after the
// last (or the end).
std::string_view changed_part(std::string_view text, const TextPrint& before) {
    const std::size_t blocks = text.size() / kPrintBlock;
    std::size_t front = 0, back = 0;  // equal whole blocks at the start, at the end
    while (front < std::min(blocks, before.head.size()) && word_hash(head_block(text, front)) == before.head[front]) ++front;
    while (back < std::min(blocks, before.tail.size()) && word_hash(tail_block(text, back)) == before.tail[back]) ++back;
    std::size_t from = front * kPrintBlock, to = text.size() - back * kPrintBlock;
    if (to < from) return {};  // the same blocks met from both ends: nothing between changed
    const auto token_char = [&](std::size_t i) { return ascii_valid[static_cast<unsigned char>(text[i])] != 0; };
    while (from > 0 && token_char(from - 1)) --from;
    while (to < text.size() && token_char(to)) ++to;
    return text.substr(from, to - from);
}

}  // namespace

void token_report_ask_ahead(std::string_view text8) {
    if (helper_threads() == 0 || text8.size() < kAheadLeast * 4) return;
    // A run that starts with the answers of the run before over a text asked ahead then (the
    // checker's after a keystroke) asks ahead only the words of the part that changed: the others
    // were asked then. The scan asks itself those of them that were not kept.
    const bool again = !g_memo_text.empty() && g_memo.bytes < kMemoBytes;
    std::vector<std::string_view> words = cyrillic_words(again ? changed_part(text8, g_memo_text) : text8);
    g_memo_text = print_of(text8);
    // As the scan asks: the text is wanted while the logs are written (the first tokens shown in the
    // main window's pane ask it again).
    const bool text = cyr_logs_open;
    // The answers the run starts with (the last run's) are not asked again.
    std::erase_if(words, [&](std::string_view w) {
        const BgAnswer* a = g_memo.bulgarian.find(w);
        return a && (a->with_text || !text);
    });
    if (words.size() < kAheadLeast) return;
    // Every index the questions read is built here: the helpers only read them, and this thread
    // waits for them.
    build_word_indexes();
    std::vector<std::optional<BgAnswer>> answers(words.size());
    std::vector<std::uint8_t> ran(words.size(), 0);  // one byte each: helpers write neighbours at once
    constexpr std::size_t kPiece = 256;
    HelperJob job((words.size() + kPiece - 1) / kPiece, [&](std::size_t piece) {
        for (std::size_t k = piece * kPiece; k < std::min(words.size(), (piece + 1) * kPiece); ++k) {
            const std::uint64_t runs = suggestion_runs;
            answers[k].emplace(BgAnswer{get_lensug(words[k], text), false, text});
            ran[k] = suggestion_runs != runs;
        }
    });
    job.wait();
    if (!g_memo.bulgarian_state) g_memo.bulgarian_state = bulgarian_spelling_state();
    for (std::size_t k = 0; k < words.size(); ++k) {
        BgAnswer& a = *answers[k];
        a.ran_generator = ran[k] != 0;
        // Kept as the scan keeps what it asks: the unknown words judged without a generator are
        // asked again.
        if (!a.ran_generator && !a.report.known) continue;
        if (g_memo.bytes >= kMemoBytes) break;
        if (g_memo.bulgarian.find(words[k])) continue;
        const std::size_t size = kMemoEntryBytes + words[k].size() + a.report.text.capacity() +
                                 (a.report.rank ? a.report.rank->capacity() : 0);
        g_memo.bytes += size;
        g_memo.bulgarian_bytes += size;
        g_memo.bulgarian.add(words[k], std::move(a));
    }
}

void token_report_end_scan() {
    write_pending_logs();
    g_index_cache = IndexCache{};
    switch (g_memo.replay) {
    case RunMemo::Kind::English: english_answer_afresh(g_memo.replay_word); break;
    case RunMemo::Kind::Bulgarian: (void)get_lensug(g_memo.replay_word, g_memo.replay_text); break;
    case RunMemo::Kind::None: break;
    }
    if (g_memo.english_shareable && g_memo.english_state) {
        g_kept_english = std::move(g_memo.english);
        g_kept_english_state = g_memo.english_state;
    }
    g_kept_bulgarian.reset();
    if (g_memo.bulgarian_state && *g_memo.bulgarian_state == bulgarian_spelling_state())
        g_kept_bulgarian.emplace(KeptBulgarian{std::move(g_memo.bulgarian), std::move(g_memo_text),
                                               *g_memo.bulgarian_state, ctype_locale_is_cyrillic(),
                                               word_form_loads(), g_memo.bulgarian_bytes});
    g_memo = RunMemo{};
    g_memo_text = TextPrint{};
}

const EnglishAnswer* kept_english_answer(std::string_view word) {
    return g_kept_english_state ? g_kept_english.find(word) : nullptr;
}

bool kept_english_answers_hold() {
    if (!g_kept_english_state) return false;
    if (english_spelling_state() == *g_kept_english_state) return true;
    release_kept_english_answers();
    return false;
}

void release_kept_bulgarian_answers() { g_kept_bulgarian.reset(); }

void release_kept_english_answers() {
    g_kept_english.clear();
    g_kept_english_state.reset();
}
