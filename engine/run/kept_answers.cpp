// engine/run/kept_answers.cpp - what the per-token report keeps: the lists' indexes, the scan's
// spelling answers and look-ups, the answers kept for the next run and the ask-ahead. What each
// holds, for how long and what lets it go: see kept_answers.h.
#include "engine/run/kept_answers.h"

#include <algorithm>
#include <cassert>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <span>

#include "engine/run_state.h"
#include "engine/worker_pool.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "platform/flat_table.h"
#include "platform/hash.h"
#include "platform/text.h"
#include "shell/lists.h"
#include "shell/settings.h"
#include "spelling/spell_state.h"
#include "spelling/token_report_en.h"
#include "spelling/unknown_bg.h"
#include "spelling/word_index.h"

namespace kept_answers {

namespace {

std::span<const ListPair> row(int r) {
    const DictFileRecord& rec = b[static_cast<std::size_t>(r)];
    return std::span<const ListPair>(rec.entries.data(), std::min(rec.count, rec.entries.size()));
}
std::span<const ListPair> list(int r) {
    const ListFileRecord& rec = m[static_cast<std::size_t>(r)];
    return std::span<const ListPair>(rec.entries.data(), std::min(rec.count, rec.entries.size()));
}
// Look-ups through the lists' hashed indexes: the same entry a binary search finds, through the index
// kept for each list while it still indexes the list (KeptWordIndex).
struct ListIndexes {
    std::array<KeptWordIndex, B_ROWS> rows{};
    std::array<KeptWordIndex, M_ROWS> lists{};
};
ListIndexes g_indexes;
}  // namespace

const WordIndex& row_index(int r) {
    return g_indexes.rows[static_cast<std::size_t>(r)].of(row(r), b[static_cast<std::size_t>(r)].text);
}
const WordIndex& list_index(int r) {
    return g_indexes.lists[static_cast<std::size_t>(r)].of(list(r), m[static_cast<std::size_t>(r)].text);
}
const ListPair* in_row(int r, std::string_view key) { return key.empty() ? nullptr : row_index(r).find_entry(key); }
const ListPair* in_list(int r, std::string_view key) { return key.empty() ? nullptr : list_index(r).find_entry(key); }

namespace {

// ---- Answers kept for the run ---------------------------------------------------------------

// The slots of a table of entries by word form (numbered from 0), placed by the forms' hashes
// (word_hash) in the program's table.
class FormSlots {
public:
    // The entry of hash h that `same` accepts, or -1.
    template <class Same>
    std::ptrdiff_t find(std::uint64_t h, Same same) const {
        const NumberedSlot* s =
            slots_.find(h, [&](const NumberedSlot& t) { return t.fits(h) && same(t.entry()); });
        return s ? static_cast<std::ptrdiff_t>(s->entry()) : -1;
    }
    // Room for entry `entries` (numbered from 0) with at most `most` of every `of` slots taken,
    // `first_slots` at first.
    void make_room(std::size_t entries, std::size_t first_slots, std::size_t most, std::size_t of) {
        if (!slots_.empty() && !slots_.wants_room(entries + 1, most, of)) return;
        slots_.grow(std::max(first_slots, slots_.slot_count() * 2), NumberedSlot::home_hash);
    }
    void place(std::uint64_t h, std::size_t entry) { slots_.place(h, NumberedSlot::of(h, entry)); }

private:
    FlatTable<NumberedSlot> slots_;
};

// A table of answers by word form: the forms one after another in one block, the answers in blocks
// of their own (where they stay while the table grows). A text repeats its words: the forms asked again
// stay in the cache, where the word lists' own indexes, many times larger, would each be read from
// memory.
template <class V>
class AnswersByForm {
public:
    V* find(std::string_view form) {
        const std::ptrdiff_t e = slots_.find(word_hash(form), [&](std::size_t i) { return same_form(entries_[i], form); });
        return e < 0 ? nullptr : &entries_[static_cast<std::size_t>(e)].value;
    }
    // Keeps the answer of a form not kept yet.
    V& add(std::string_view form, V value) {
        // At most three in four slots taken.
        slots_.make_room(entries_.size(), 64, 3, 4);
        Entry& e = entries_.emplace_back(
            Entry{static_cast<std::uint32_t>(forms_.size()), static_cast<std::uint32_t>(form.size()), {}, std::move(value)});
        std::memcpy(e.head, form.data(), std::min(form.size(), sizeof e.head));
        forms_.append(form);
        slots_.place(word_hash(form), entries_.size() - 1);
        return e.value;
    }
    void clear() { *this = AnswersByForm{}; }

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
};

// Within one run a word form gets one report: the spelling answers (the suggestion generators'
// results the report reads) are asked once per distinct form and kept until the scan ends. The
// memory they may take is bounded; past it, new forms are asked each time they come.
struct BgAnswer {
    BgReport report;
    bool with_text = true;  // its text is whole (else its last resort was not asked)
};

// The answers of the last unknown Bulgarian words that ran no generator, one a slot of a small
// table by hash: a text repeats such words (names, short words a lexicon lacks), and each is asked
// again only after another took its slot; a text of distinct unknown words only writes over slots.
// Not the program's FlatTable: that one holds every key placed in it until it is emptied, where
// this one keeps a word only until another with the same home comes (one probe, never grows).
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
        slots_.make_room(entries_.size(), 1024, 1, 2);
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
};

// Everything a spelling answer reads besides the word: its lists and options (`Spelling`:
// bulgarian_spelling_state, english_spelling_state - the English lists and DEEP_SPELL), the letter
// case rules, the word-form index's loads and the token characters (the letters, digits and marks
// of the code page and the bytes CHARSET_ASCII adds). Answers asked under one key are the answers
// asked afresh under the same key.
template <class Spelling>
struct AnswersKey {
    Spelling spelling;
    bool cyrillic = true;
    std::uint64_t form_loads = 0;
    std::array<unsigned char, 256> token_chars{};
    bool operator==(const AnswersKey&) const = default;
};

template <class Spelling, Spelling (*spelling_state)()>
AnswersKey<Spelling> answers_key() {
    AnswersKey<Spelling> k{spelling_state(), ctype_locale_is_cyrillic(), word_form_loads(), {}};
    std::memcpy(k.token_chars.data(), ascii_valid, k.token_chars.size());
    return k;
}
using BulgarianAnswersKey = AnswersKey<BulgarianSpellingState>;
using EnglishAnswersKey = AnswersKey<EnglishSpellingState>;
constexpr auto bulgarian_answers_key = answers_key<BulgarianSpellingState, bulgarian_spelling_state>;
constexpr auto english_answers_key = answers_key<EnglishSpellingState, english_spelling_state>;

// Whether answers asked under `key` still hold: the one test of the run's start, of every pump and
// of the scan's end.
bool bulgarian_answers_hold(const BulgarianAnswersKey& key) { return key == bulgarian_answers_key(); }

#ifndef NDEBUG
// Whether `key` agrees with now in what is read without finding an index (finding one may build
// it, and an assert changes nothing): the letter case rules, the word-form index and the token
// characters change only at a pump or between runs.
bool key_agrees_but_for_lists(const BulgarianAnswersKey& key) {
    return key.cyrillic == ctype_locale_is_cyrillic() && key.form_loads == word_form_loads() &&
           std::memcmp(key.token_chars.data(), ascii_valid, key.token_chars.size()) == 0;
}
#endif

struct ScanAnswers {
    AnswersByForm<EnglishAnswer> english;
    AnswersByForm<BgAnswer> bulgarian;
    RecentAnswers recent_unknown;  // unknown Bulgarian words judged without a generator
    // What the Bulgarian answers read besides the word, as it was when the first was kept: a list
    // loaded again or an option changed at a pump makes them stale.
    std::optional<BulgarianAnswersKey> bulgarian_key;
    std::size_t bytes = 0;            // what the answers kept take, both tables
    std::size_t bulgarian_bytes = 0;  // of which the Bulgarian ones
    std::size_t english_bytes = 0;    // and the English ones
    // The key under which the English answers were asked; they can serve the English word list
    // while every answer was asked under one key and it is still the same.
    std::optional<EnglishAnswersKey> english_key;
    bool english_shareable = true;
    // The look-ups of English forms found in b_en-bg or wl_english (a text repeats its common
    // words), kept while both indexes are the builds they were read from.
    FoundLookups english_found;
    std::uint64_t en_bg_build = 0, english_build = 0;
};
ScanAnswers g_scan_answers;
constexpr std::size_t kMemoBytes = 24u << 20;
constexpr std::size_t kMemoEntryBytes = 96;  // a kept answer's own size besides its texts

// Counts an answer about to be kept in both tables' total and in its own table's part: none is
// kept once the total reached the cap.
void count_kept_bytes(std::size_t& part, std::size_t size) {
    assert(g_scan_answers.bytes < kMemoBytes);
    g_scan_answers.bytes += size;
    part += size;
    assert(g_scan_answers.bytes == g_scan_answers.bulgarian_bytes + g_scan_answers.english_bytes);
}

// The answers a word list wrote, by word, kept for the next run's list under the key they were
// asked under: those of the last list (found) and those of the list being written (kept).
template <class V, class Key, Key (*key_of)()>
class ListAnswersKept {
public:
    // Before the list and after each of its pumps: answers asked under another key are let go.
    void begin() {
        const Key now = key_of();
        if (key_ && *key_ == now) return;
        last_.clear();
        this_.clear();
        key_ = now;
    }
    V* find(std::string_view w) { return last_.find(w); }
    const V& keep(std::string_view w, V&& v) { return this_.add(w, std::move(v)); }
    void end() {
        last_ = std::move(this_);
        this_.clear();
    }
    void release() {
        last_.clear();
        this_.clear();
        key_.reset();
    }

private:
    AnswersByForm<V> last_, this_;
    std::optional<Key> key_;
};
ListAnswersKept<EnglishAnswer, EnglishAnswersKey, english_answers_key> g_english_list_answers;
ListAnswersKept<BgReport, BulgarianAnswersKey, bulgarian_answers_key> g_unknown_list_answers;

// The English answers of the last scan, kept for its English word list.
AnswersByForm<EnglishAnswer> g_kept_english;
std::optional<EnglishAnswersKey> g_kept_english_key;

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
    AnswersByForm<BgAnswer> answers;
    TextPrint text;  // the text they were asked of, when it was asked ahead
    BulgarianAnswersKey key;
    std::size_t bytes = 0;
};
std::optional<KeptBulgarian> g_kept_bulgarian;
// The text whose Cyrillic words were asked ahead in this run or in the run whose answers it
// started with (empty when nothing was asked ahead).
TextPrint g_asked_ahead_text;

}  // namespace

EnglishAnswer ask_english_answer(std::string_view word) {
    EnglishAnswer a;
    std::string report;
    const Suggestions sg = token_suggest(word, report, a.classes);
    a.suggest_ct = sg.suggest_ct;
    a.false_positive = sg.false_positive;
    a.spelling_sh = sg.spelling_sh;
    return a;
}

// The spelling answer of a misspelt English word, asked once a scan and kept while the English
// lists and options stay as they were.
const EnglishAnswer& english_answer(std::string_view look) {
    if (EnglishAnswer* kept = g_scan_answers.english.find(look)) {
        // Kept under the English state of now while they may serve the word list.
        assert(!g_scan_answers.english_shareable || !g_scan_answers.english_key ||
               *g_scan_answers.english_key == english_answers_key());
        return *kept;
    }
    EnglishAnswer a = ask_english_answer(look);
    if (g_scan_answers.english_shareable) {
        const EnglishAnswersKey now = english_answers_key();
        if (!g_scan_answers.english_key) g_scan_answers.english_key = now;
        g_scan_answers.english_shareable = *g_scan_answers.english_key == now;
    }
    static EnglishAnswer unkept;
    if (g_scan_answers.bytes >= kMemoBytes) return unkept = std::move(a);
    const std::size_t bytes = kMemoEntryBytes + look.size() + a.spelling_sh.capacity() + a.classes.capacity();
    count_kept_bytes(g_scan_answers.english_bytes, bytes);
    return g_scan_answers.english.add(look, std::move(a));
}

// The report of a Bulgarian word; its text is whole when `text` is asked for (the flags always
// are): a text that nothing shows or logs does not ask the generator.
const BgReport& bulgarian_answer(std::string_view look, bool text) {
    BgAnswer* kept = g_scan_answers.bulgarian.find(look);
    // An answer kept was asked under what holds now (a pump that changed it let the answers go).
    assert(!kept || (g_scan_answers.bulgarian_key && key_agrees_but_for_lists(*g_scan_answers.bulgarian_key)));
    if (kept && (kept->with_text || !text)) return kept->report;
    const std::uint64_t h = word_hash(look);
    if (!kept) {
        const BgAnswer* recent = g_scan_answers.recent_unknown.find(look, h);
        if (recent && (recent->with_text || !text)) return recent->report;
    }
    BgAnswer a{get_lensug(look, text), text};
    if (kept) return (*kept = std::move(a)).report;
    if (!g_scan_answers.bulgarian_key) g_scan_answers.bulgarian_key = bulgarian_answers_key();
    // An unknown word whose answer ran no generator was judged by a few list probes: it is not kept
    // in the table of the run (a text of mostly distinct unknown words would fill it with answers
    // never asked again), only among the recent ones.
    if (!a.report.ran_generator && !a.report.known) return g_scan_answers.recent_unknown.put(look, h, std::move(a)).report;
    static BgAnswer unkept;
    if (g_scan_answers.bytes >= kMemoBytes) return (unkept = std::move(a)).report;
    const std::size_t size =
        kMemoEntryBytes + look.size() + a.report.text.capacity() + (a.report.rank ? a.report.rank->capacity() : 0);
    count_kept_bytes(g_scan_answers.bulgarian_bytes, size);
    return g_scan_answers.bulgarian.add(look, std::move(a)).report;
}

// The b_en-bg entry and the wl_english entry and rank of an English word, both indexes asked at
// once so that their reads from memory overlap (wl_english2, which an unknown word asks next,
// starts reading too).
EnglishLookups english_lookups(std::string_view look) {
    EnglishLookups l;
    if (look.empty()) return l;
    // Finding an index may let the others go (a full set of indexes is emptied): all three are found
    // again then.
    const WordIndex* en_bg_ix = nullptr;
    const WordIndex* english_ix = nullptr;
    const WordIndex* english2_ix = nullptr;
    for (std::uint64_t generation = ~word_index_generation(); generation != word_index_generation();) {
        generation = word_index_generation();
        en_bg_ix = &row_index(B_EN_BG);
        english_ix = &list_index(M_WL_ENGLISH);
        english2_ix = &list_index(M_WL_ENGLISH2);
    }
    const WordIndex& en_bg = *en_bg_ix;
    const WordIndex& english = *english_ix;
    ScanAnswers& memo = g_scan_answers;
    if (memo.en_bg_build != en_bg.build_number() || memo.english_build != english.build_number()) {
        memo.english_found.clear();
        memo.en_bg_build = en_bg.build_number();
        memo.english_build = english.build_number();
    }
    if (const EnglishLookups* kept = memo.english_found.find(look)) return *kept;
    // A form longer than every key of the three is found in none (a run of millions of letters is
    // not read).
    if (look.size() > std::max({en_bg.max_key_length(), english.max_key_length(), english2_ix->max_key_length()}))
        return l;
    const std::uint64_t h = l.hash = folded_key_hash(look);
    l.hashed = true;
    en_bg.prefetch(h);
    english.prefetch(h);
    english2_ix->prefetch(h);
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
namespace {
const ListPair* in_index(const WordIndex& ix, std::string_view look, const EnglishLookups& known) {
    if (look.empty()) return nullptr;
    const std::ptrdiff_t i = known.hashed ? ix.find_hashed(look, known.hash) : ix.find(look);
    return i < 0 ? nullptr : &ix.entry(static_cast<std::size_t>(i));
}
}  // namespace
const ListPair* in_list(int r, std::string_view look, const EnglishLookups& known) {
    return in_index(list_index(r), look, known);
}
const ListPair* in_row(int r, std::string_view look, const EnglishLookups& known) {
    return in_index(row_index(r), look, known);
}

void english_list_begin() { g_english_list_answers.begin(); }
const EnglishAnswer* kept_english_list_answer(std::string_view word) { return g_english_list_answers.find(word); }
const EnglishAnswer& keep_english_list_answer(std::string_view word, EnglishAnswer answer) {
    return g_english_list_answers.keep(word, std::move(answer));
}
void english_list_end() { g_english_list_answers.end(); }
void unknown_list_begin() { g_unknown_list_answers.begin(); }
const BgReport* kept_unknown_list_answer(std::string_view word) { return g_unknown_list_answers.find(word); }
const BgReport& keep_unknown_list_answer(std::string_view word, BgReport answer) {
    return g_unknown_list_answers.keep(word, std::move(answer));
}
void unknown_list_end() { g_unknown_list_answers.end(); }

}  // namespace kept_answers

using namespace kept_answers;

void token_report_pumped() {
    // The user may have filed words or changed options meanwhile: the Bulgarian answers kept are
    // asked again under what holds now.
    if (g_scan_answers.bulgarian_key && !bulgarian_answers_hold(*g_scan_answers.bulgarian_key)) {
        g_scan_answers.bulgarian.clear();
        g_asked_ahead_text = TextPrint{};  // its words are no longer all answered
        g_scan_answers.recent_unknown = RecentAnswers{};
        g_scan_answers.bulgarian_key.reset();
        g_scan_answers.bytes -= g_scan_answers.bulgarian_bytes;
        g_scan_answers.bulgarian_bytes = 0;
    }
    // So are the English suggestions when an English list was loaded again or DEEP_SPELL changed.
    if (g_scan_answers.english_key && *g_scan_answers.english_key != english_answers_key()) {
        g_scan_answers.english.clear();
        g_scan_answers.english_key.reset();
        g_scan_answers.english_shareable = true;
        g_scan_answers.bytes -= g_scan_answers.english_bytes;
        g_scan_answers.english_bytes = 0;
    }
}

void kept_answers_begin_run() {
    g_scan_answers = ScanAnswers{};
    release_kept_english_answers();
    g_asked_ahead_text = TextPrint{};
    if (g_kept_bulgarian && bulgarian_answers_hold(g_kept_bulgarian->key)) {
        g_scan_answers.bulgarian = std::move(g_kept_bulgarian->answers);
        g_scan_answers.bulgarian_key = g_kept_bulgarian->key;
        g_scan_answers.bytes = g_scan_answers.bulgarian_bytes = g_kept_bulgarian->bytes;
        g_asked_ahead_text = std::move(g_kept_bulgarian->text);
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
    FlatTable<NumberedSlot> seen;  // the words met, by their hashes
    seen.reset(std::size_t{1} << 12);
    const auto cyr = [&](std::size_t i) { return ascii_cyrillic[static_cast<unsigned char>(text[i])] != 0; };
    const auto token_char = [&](std::size_t i) { return ascii_valid[static_cast<unsigned char>(text[i])] != 0; };
    // Where no ASCII byte counts as Cyrillic, eight bytes without a high bit are passed over at once
    // (a run of millions of Latin letters is read a word at a time).
    const bool ascii_skips = std::none_of(ascii_cyrillic, ascii_cyrillic + 0x80, [](unsigned char c) { return c != 0; });
    for (std::size_t i = 0; i < text.size() && words.size() < kAheadMost;) {
        if (!cyr(i)) {
            std::uint64_t eight = 0x80;
            if (ascii_skips && i + 8 <= text.size()) std::memcpy(&eight, text.data() + i, 8);
            i += (eight & 0x8080808080808080ULL) == 0 ? 8 : 1;
            continue;
        }
        std::size_t j = i + 1;
        while (j < text.size() && cyr(j)) ++j;
        const bool whole = (i == 0 || !token_char(i - 1)) && (j == text.size() || !token_char(j));
        const std::string_view w = text.substr(i, j - i);
        i = j;
        if (!whole) continue;
        if (seen.wants_room(words.size() + 1, 1, 2))  // at most half the slots taken
            seen.grow(seen.slot_count() * 2, NumberedSlot::home_hash);
        const std::uint64_t h = word_hash(w);
        const std::size_t at =
            seen.probe(h, [&](const NumberedSlot& s) { return s.fits(h) && words[s.entry()] == w; });
        if (FlatTable<NumberedSlot>::taken(seen.at(at))) continue;
        seen.put(at, NumberedSlot::of(h, words.size()));
        words.push_back(w);
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
    // Out to the words' ends, but not over more than a block: a longer word cut there is not
    // whole, and so not asked ahead (a key in a run of millions of letters reads a block or two).
    const auto token_char = [&](std::size_t i) { return ascii_valid[static_cast<unsigned char>(text[i])] != 0; };
    for (std::size_t k = 0; k < kPrintBlock && from > 0 && token_char(from - 1); ++k) --from;
    for (std::size_t k = 0; k < kPrintBlock && to < text.size() && token_char(to); ++k) ++to;
    return text.substr(from, to - from);
}

}  // namespace

void token_report_ask_ahead(std::string_view text8) {
    if (helper_threads() == 0 || text8.size() < kAheadLeast * 4) return;
    // A run that starts with the answers of the run before over a text asked ahead then (the
    // checker's after a keystroke) asks ahead only the words of the part that changed: the others
    // were asked then. The scan asks itself those of them that were not kept.
    const bool again = !g_asked_ahead_text.empty() && g_scan_answers.bytes < kMemoBytes;
    std::vector<std::string_view> words = cyrillic_words(again ? changed_part(text8, g_asked_ahead_text) : text8);
    g_asked_ahead_text = print_of(text8);
    // As the scan asks: the text is wanted while the logs are written (the first tokens shown in the
    // main window's pane ask it again).
    const bool text = cyr_logs_open;
    // The answers the run starts with (the last run's) are not asked again.
    std::erase_if(words, [&](std::string_view w) {
        const BgAnswer* a = g_scan_answers.bulgarian.find(w);
        return a && (a->with_text || !text);
    });
    if (words.size() < kAheadLeast) return;
    // Every index the questions read is built here: the helpers only read them, and this thread
    // waits for them.
    build_word_indexes();
    std::vector<std::optional<BgAnswer>> answers(words.size());
    constexpr std::size_t kPiece = 256;
    HelperJob job((words.size() + kPiece - 1) / kPiece, [&](std::size_t piece) {
        for (std::size_t k = piece * kPiece; k < std::min(words.size(), (piece + 1) * kPiece); ++k)
            answers[k].emplace(BgAnswer{get_lensug(words[k], text), text});
    });
    job.wait();
    if (!g_scan_answers.bulgarian_key) g_scan_answers.bulgarian_key = bulgarian_answers_key();
    for (std::size_t k = 0; k < words.size(); ++k) {
        BgAnswer& a = *answers[k];
        // Kept as the scan keeps what it asks: the unknown words judged without a generator are
        // asked again.
        if (!a.report.ran_generator && !a.report.known) continue;
        if (g_scan_answers.bytes >= kMemoBytes) break;
        if (g_scan_answers.bulgarian.find(words[k])) continue;
        const std::size_t size = kMemoEntryBytes + words[k].size() + a.report.text.capacity() +
                                 (a.report.rank ? a.report.rank->capacity() : 0);
        count_kept_bytes(g_scan_answers.bulgarian_bytes, size);
        g_scan_answers.bulgarian.add(words[k], std::move(a));
    }
}

void kept_answers_end_scan() {
    if (g_scan_answers.english_shareable && g_scan_answers.english_key) {
        g_kept_english = std::move(g_scan_answers.english);
        g_kept_english_key = g_scan_answers.english_key;
    }
    g_kept_bulgarian.reset();
    if (g_scan_answers.bulgarian_key && bulgarian_answers_hold(*g_scan_answers.bulgarian_key))
        g_kept_bulgarian.emplace(KeptBulgarian{std::move(g_scan_answers.bulgarian), std::move(g_asked_ahead_text),
                                               *g_scan_answers.bulgarian_key, g_scan_answers.bulgarian_bytes});
    g_scan_answers = ScanAnswers{};
    g_asked_ahead_text = TextPrint{};
}

const EnglishAnswer* kept_english_answer(std::string_view word) {
    return g_kept_english_key ? g_kept_english.find(word) : nullptr;
}

bool kept_english_answers_hold() {
    if (!g_kept_english_key) return false;
    if (english_answers_key() == *g_kept_english_key) return true;
    release_kept_english_answers();
    return false;
}

void release_kept_bulgarian_answers() {
    g_kept_bulgarian.reset();
    g_english_list_answers.release();
    g_unknown_list_answers.release();
}

bool kept_bulgarian_answers_hold() {
    if (!g_kept_bulgarian) return false;
    if (bulgarian_answers_hold(g_kept_bulgarian->key)) return true;
    release_kept_bulgarian_answers();
    return false;
}

const BgReport* kept_bulgarian_answer(std::string_view word) {
    if (!g_kept_bulgarian) return nullptr;
    // Kept under what holds now (kept_bulgarian_answers_hold let them go otherwise).
    assert(key_agrees_but_for_lists(g_kept_bulgarian->key));
    const BgAnswer* a = g_kept_bulgarian->answers.find(word);
    return a && a->with_text ? &a->report : nullptr;
}

void release_kept_english_answers() {
    g_kept_english.clear();
    g_kept_english_key.reset();
}
