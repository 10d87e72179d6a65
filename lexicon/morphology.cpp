#include "lexicon/morphology.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cassert>
#include <charconv>
#include <cstring>
#include <deque>
#include <memory>
#include <thread>
#include <vector>

#include "lexicon/bgtypes.h"
#include "lexicon/tables.h"
#include "platform/flat_table.h"
#include "platform/hash.h"
#include "platform/text.h"
#include "shell/files.h"

namespace {

constexpr int kMaxAnalyses = 255;

// Reads "lemma:type:slot" items separated by blanks.
int parse_analyses(const char* text, BgAnalysis* out, int max) {
    int n = 0;
    const char* p = text;
    while (*p && n < max) {
        while (*p == ' ') ++p;
        if (!*p) break;
        const char* item = p;
        while (*p && *p != ' ') ++p;
        std::string_view s(item, static_cast<size_t>(p - item));
        const size_t c2 = s.rfind(':');
        if (c2 == std::string_view::npos || c2 == 0) continue;
        const size_t c1 = s.rfind(':', c2 - 1);
        if (c1 == std::string_view::npos) continue;
        BgAnalysis a;
        a.lemma = s.substr(0, c1);
        std::from_chars(s.data() + c1 + 1, s.data() + c2, a.type);
        std::from_chars(s.data() + c2 + 1, s.data() + s.size(), a.slot);
        out[n++] = a;
    }
    return n;
}

// The facts of a form (FormFacts) as the memo keeps them: the answers that are 0 or 1 in bits, the
// verb row (-1 or a row below 512) in 16 bits; the type is the record's own.
struct KeptFacts {
    NounAdjInfo noun;
    NounAdjInfo adj;
    std::int16_t verb_row = -1;
    std::uint8_t bits = 0;
    enum : std::uint8_t { kSum = 1, kNounOnly = 2, kProperOnly = 4, kVerbNotAdjOnly = 8, kNoun = 16, kAdj = 32, kKnown = 64 };
    bool known() const { return bits & kKnown; }
    void keep(const FormFacts& f) {
        assert(f.verb_row >= -1 && f.verb_row < 512);
        noun = f.noun;
        adj = f.adj;
        verb_row = static_cast<std::int16_t>(f.verb_row);
        const auto bit = [](int v, std::uint8_t b) {
            assert(v == 0 || v == 1);
            return static_cast<std::uint8_t>(v ? b : 0);
        };
        bits = static_cast<std::uint8_t>(kKnown | bit(f.sum, kSum) | bit(f.noun_only, kNounOnly) |
                                         bit(f.proper_only, kProperOnly) | bit(f.verb_not_adj_only, kVerbNotAdjOnly) |
                                         bit(f.noun_result, kNoun) | bit(f.adj_result, kAdj));
    }
    FormFacts facts(const BgFormRecord* record) const {
        FormFacts f;
        f.sum = (bits & kSum) != 0;
        f.verb_row = verb_row;
        f.noun_only = (bits & kNounOnly) != 0;
        f.proper_only = (bits & kProperOnly) != 0;
        f.type = record ? record->type : -1;
        f.verb_not_adj_only = (bits & kVerbNotAdjOnly) != 0;
        f.noun = noun;
        f.noun_result = (bits & kNoun) != 0;
        f.adj = adj;
        f.adj_result = (bits & kAdj) != 0;
        return f;
    }
};

// The open FormMemo's answers about one spelling: its record (null: no such form), its analyses
// (several in an array of their exact number; a record's only one is the record's own fields) and
// its facts. The spelling's bytes are in the memo's text blocks. 56 bytes: the memo holds up to
// 262,144 of them.
struct MemoEntry {
    const char* form_bytes = nullptr;
    const BgFormRecord* record = nullptr;
    BgAnalysis* more = nullptr;  // the analyses of a record of several
    std::uint32_t form_size = 0;
    // The memo_forms call that asked for it last (the low bits of MemoState::calls), which each
    // form may be once.
    std::uint32_t asked_in = 0;
    // What the proof-reader asks of the form (form_facts), found once: every proof-reading run
    // asks it of every spelling of its text.
    KeptFacts facts;
    std::int16_t n = -1;  // analyses read: -1 not yet
    // The length of the lemma of a record's only analysis (kLongLemma: to be measured), so that an
    // answer from the memo does not measure it again.
    std::uint16_t lemma_size = 0;
    static constexpr std::uint16_t kLongLemma = 0xFFFF;

    MemoEntry() = default;
    MemoEntry(const MemoEntry&) = delete;
    MemoEntry& operator=(const MemoEntry&) = delete;
    ~MemoEntry() { delete[] more; }
    std::string_view form() const { return std::string_view(form_bytes, form_size); }
};
static_assert(sizeof(MemoEntry) == 56);

// The bytes of the memo's spellings, one after another in blocks that never move.
class MemoText {
public:
    const char* keep(std::string_view s) {
        if (s.empty()) return "";
        if (s.size() > room_) {
            const std::size_t size = std::max(kBlock, s.size());
            blocks_.push_back(std::make_unique<char[]>(size));
            next_ = blocks_.back().get();
            room_ = size;
        }
        char* at = next_;
        std::memcpy(at, s.data(), s.size());
        next_ += s.size();
        room_ -= s.size();
        return at;
    }
    void clear() {
        blocks_.clear();
        next_ = nullptr;
        room_ = 0;
    }

private:
    static constexpr std::size_t kBlock = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* next_ = nullptr;
    std::size_t room_ = 0;
};

// The memo's table of spellings: slots of eight bytes (the entry's number and the low bits of the
// spelling's hash) over the entries, which hold the spellings.
class MemoTable {
public:
    // The entry of a spelling; a new one unless the table holds kMaxEntries (then null).
    MemoEntry* find_or_add(std::string_view key, bool& added) {
        assert(!shared_ && "nothing is added while helpers read the table");
        added = false;
        if (slots_.wants_room(std::min(entries_.size() + 1, kMaxEntries), 1, 2)) grow();
        const std::uint64_t h = word_hash(key);
        const std::size_t i = slots_.probe(h, [&](const NumberedSlot& s) { return same(s, key, h); });
        if (slots_.taken(slots_.at(i))) return &entries_[slots_.at(i).entry()];
        if (entries_.size() >= kMaxEntries) return nullptr;
        const char* bytes = text_.keep(key);
        MemoEntry& e = entries_.emplace_back();
        e.form_bytes = bytes;
        e.form_size = static_cast<std::uint32_t>(key.size());
        slots_.put(i, NumberedSlot::of(h, entries_.size() - 1));
        added = true;
        return &e;
    }
    // The entry of a spelling held, or null. It only reads the table: several threads may ask at
    // once while nothing is added (between share_with_helpers and the end of the sharing).
    MemoEntry* find(std::string_view key) {
        const std::uint64_t h = word_hash(key);
        const NumberedSlot* s = slots_.find(h, [&](const NumberedSlot& x) { return same(x, key, h); });
        return s ? &entries_[s->entry()] : nullptr;
    }
    // Room for `more` spellings beyond those held, so that adding them does not grow the table.
    void reserve(std::size_t more) {
        const std::size_t n = std::min(entries_.size() + more, kMaxEntries);
        while (slots_.wants_room(std::min(n + 1, kMaxEntries), 1, 2)) grow();
    }
    // While `on`, helper threads may call find: nothing may be added, the table may not grow.
    void share_with_helpers(bool on) { shared_ = on; }
    bool empty() const { return entries_.empty(); }
    void clear() {
        assert(!shared_);
        entries_.clear();
        text_.clear();
        slots_.reset(1024);
    }

private:
    // A text of a million distinct words would make the memo many times its size: no more than
    // this many spellings.
    static constexpr std::size_t kMaxEntries = std::size_t{1} << 18;
    bool same(const NumberedSlot& s, std::string_view key, std::uint64_t h) const {
        return s.fits(h) && entries_[s.entry()].form() == key;
    }
    void grow() {
        assert(!shared_ && "the table does not move while helpers read it");
        slots_.grow(std::max<std::size_t>(1024, slots_.slot_count() * 2), NumberedSlot::home_hash);
    }
    std::deque<MemoEntry> entries_;  // stable places: callers hold entries while others are added
    MemoText text_;
    FlatTable<NumberedSlot> slots_;
    bool shared_ = false;
};

constexpr std::size_t kMemoStride = 32;  // records per sample of the memo's head table
struct MemoState {
    const BgFormRecord* bottom = nullptr;  // the index the answers are of
    std::size_t count = 0;
    std::uint64_t loads = 0;  // word_form_loads() when they were begun
    bool cyrillic = true;     // the letter case rules they were found under
    MemoTable forms;
    // The folded first 8 letters of every kMemoStride-th form: a search narrows to the few records
    // between two samples in this small table before it compares forms.
    std::vector<std::uint64_t> heads;
    bool stale = false;  // the index was dropped for a load since the answers were found
    bool full = false;   // the table reached its most spellings
    // The entry asked last: a pass asks several questions of one word in a row.
    MemoEntry* last = nullptr;
    std::uint64_t calls = 0;  // memo_forms calls so far
    // The thread whose FormMemo holds it: only that thread asks or adds (helpers only read while it
    // waits for them in memo_forms).
    std::thread::id owner;
};
thread_local MemoState* g_memo = nullptr;
// The answers of the thread's last memo, kept for its next one (the proof-reader runs again after
// every keystroke in the checker, over nearly the same words).
thread_local std::unique_ptr<MemoState> g_idle_memo;

// The hash of the word-form index: every record's form folded to small letters (folded_word_hash),
// in a table of 32-bit slots, each the record's number + 1 in its low `record_bits` bits and more
// bits of the form's hash above them, so that a probe rarely reads a record it does not want: four
// bytes a form over the whole index. Built by the word-form loader with the records
// (build_form_hash), for the index and the letter case rules they were sorted under; a search under
// other rules, or of another index, is a binary search.
struct FormHash {
    const BgFormRecord* bottom = nullptr;  // the index hashed
    std::size_t count = 0;
    bool cyrillic = false;  // the letter case rules of the build
    unsigned record_bits = 0;
    FlatTable<std::uint32_t> slots;
    std::uint32_t tag(std::uint64_t h) const { return static_cast<std::uint32_t>(h >> 32) >> record_bits; }
    const BgFormRecord* record(std::uint32_t slot) const {
        return bottom + (slot & ((std::uint32_t{1} << record_bits) - 1)) - 1;
    }
};
FormHash g_form_hash;

bool form_hash_usable() {
    return !g_form_hash.slots.empty() && g_form_hash.bottom == bgmul_bottom && g_form_hash.count == bgmul_ct &&
           g_form_hash.cyrillic == ctype_locale_is_cyrillic();
}

// A record's form (NUL-terminated) against a key, case-insensitively as cp_strcasecmp orders them.
int compare_form(const char* form, std::string_view key) {
    for (size_t i = 0; i < key.size(); ++i) {
        const unsigned char a = static_cast<unsigned char>(form[i]);
        if (a == 0) return -1;
        const unsigned char fa = cp_tolower(a), fk = cp_tolower(static_cast<unsigned char>(key[i]));
        if (fa != fk) return fa < fk ? -1 : 1;
    }
    return form[key.size()] == 0 ? 0 : 1;
}

// The record of a form through the hash (which must be usable), or null.
const BgFormRecord* hashed_form(std::string_view form) {
    const FormHash& t = g_form_hash;
    const std::uint64_t h = folded_word_hash(form, cp1251_detail::current_ctype->lower);
    const std::uint32_t tag = t.tag(h);
    const std::uint32_t* s = t.slots.find(h, [&](std::uint32_t slot) {
        return slot >> t.record_bits == tag && compare_form(t.record(slot)->form, form) == 0;
    });
    return s ? t.record(*s) : nullptr;
}

const BgFormRecord* search_form(std::string_view form);
const BgFormRecord* search_form(std::string_view form, const BgFormRecord* first, const BgFormRecord* last);
// The first eight letters of a text folded to small letters, in one number that orders as the
// folded texts do (a shorter text is padded with zeros).
std::uint64_t folded_head(std::string_view s) {
    std::uint64_t h = 0;
    for (std::size_t i = 0; i < 8; ++i)
        h = (h << 8) | (i < s.size() ? cp_tolower(static_cast<unsigned char>(s[i])) : 0u);
    return h;
}

// The record of a form through the memo's head table. The heads order as the forms do (a head that
// is smaller or greater decides the comparison), so the form lies after every sample whose head is
// smaller and before every sample whose head is greater.
const BgFormRecord* memo_search(const MemoState& m, std::string_view form) {
    if (form.empty() || m.count == 0) return nullptr;
    if (form_hash_usable()) return hashed_form(form);
    if (m.heads.empty()) return search_form(form);  // sampled while the hash answered
    const std::uint64_t h = folded_head(form);
    const auto lo = std::lower_bound(m.heads.begin(), m.heads.end(), h);
    const auto hi = std::upper_bound(lo, m.heads.end(), h);
    const std::size_t from = lo == m.heads.begin() ? 0 : static_cast<std::size_t>(lo - m.heads.begin() - 1) * kMemoStride;
    const std::size_t to = std::min(m.count, static_cast<std::size_t>(hi - m.heads.begin()) * kMemoStride);
    // The few records and their forms are asked for all at once, so that their reads overlap
    // instead of following one another through the search.
    if (to - from <= 4 * kMemoStride) {
        for (std::size_t i = from; i < to; i += 2) __builtin_prefetch(m.bottom + i);
        for (std::size_t i = from; i < to; ++i) __builtin_prefetch(m.bottom[i].form);
    }
    return search_form(form, m.bottom + from, m.bottom + to);
}

// Forgets the memo's answers and samples the index as it is now.
void memo_refresh(MemoState& m) {
    m.forms.clear();
    m.last = nullptr;
    m.bottom = bgmul_bottom;
    m.count = bgmul_ct;
    m.loads = word_form_loads();
    m.cyrillic = ctype_locale_is_cyrillic();
    m.stale = false;
    m.full = false;
    m.heads.clear();
    if (form_hash_usable()) return;  // searches go through the hash
    m.heads.reserve(bgmul_ct / kMemoStride + 1);
    for (std::size_t i = 0; i < bgmul_ct; i += kMemoStride) m.heads.push_back(folded_head(bgmul_bottom[i].form));
}

// The memo's entry of a form, made on first need; null when no memo is open.
MemoEntry* memo_entry(std::string_view form) {
    if (!g_memo) return nullptr;
    assert(g_memo->owner == std::this_thread::get_id());
    if (g_memo->stale || g_memo->bottom != bgmul_bottom || g_memo->count != bgmul_ct) memo_refresh(*g_memo);
    // An empty index answers at once; a full memo no more (the text is one of very many distinct
    // words: its look-ups search the index as they do without a memo).
    if (g_memo->count == 0 || g_memo->full) return nullptr;
    if (g_memo->last && g_memo->last->form() == form) return g_memo->last;
    bool added = false;
    MemoEntry* e = g_memo->forms.find_or_add(form, added);
    if (!e) {
        g_memo->full = true;
        return nullptr;
    }
    if (added) e->record = memo_search(*g_memo, form);
    g_memo->last = e;
    return e;
}

// Reads the analyses of a memo entry's record once.
void read_analyses(MemoEntry& e) {
    e.n = 0;
    if (e.record && e.record->n_analyses > 1) {
        e.more = new BgAnalysis[e.record->n_analyses];
        e.n = static_cast<std::int16_t>(bg_analyses(*e.record, e.more, e.record->n_analyses));
    } else if (e.record) {
        // The record's own, written where it is asked (Analyses::take).
        e.n = 1;
        const std::size_t size = e.record->lemma ? std::strlen(e.record->lemma) : 0;
        e.lemma_size = static_cast<std::uint16_t>(std::min<std::size_t>(size, MemoEntry::kLongLemma));
    }
}

// The analyses of a form: a few on the stack, more on the heap (rare); those of the open memo
// when there is one.
struct Analyses {
    static constexpr int kInline = 16;
    // Left unset until a search writes it: most look-ups are answered by the open memo.
    union Inline {
        Inline() {}
        BgAnalysis items[kInline];
    } inline_;
    BgAnalysis* inline_items = inline_.items;
    std::vector<BgAnalysis> more;
    const BgAnalysis* items = inline_items;
    int n = 0;
    const BgFormRecord* record = nullptr;  // the form's record (null: no such form)
    Analyses(const Analyses&) = delete;
    Analyses& operator=(const Analyses&) = delete;
    explicit Analyses(MemoEntry& e) { take(e); }
    explicit Analyses(std::string_view form) {
        if (MemoEntry* e = memo_entry(form)) {
            take(*e);
            return;
        }
        read(search_form(form));
    }
    // Those of a record (null: none), read into this.
    explicit Analyses(const BgFormRecord* r) { read(r); }
    void read(const BgFormRecord* r) {
        record = r;
        if (!r) return;
        if (r->n_analyses <= kInline) {
            n = bg_analyses(*r, inline_items, kInline);
        } else {
            more.resize(r->n_analyses);
            n = bg_analyses(*r, more.data(), static_cast<int>(more.size()));
            items = more.data();
        }
    }
    // Those of a memo entry, read now if they were not yet.
    void take(MemoEntry& e) {
        if (e.n < 0) read_analyses(e);
        record = e.record;
        n = e.n;
        if (e.more) {
            items = e.more;
        } else if (n == 1) {
            // As bg_analyses writes a record's only analysis.
            const char* lemma = record->lemma ? record->lemma : "";
            inline_items[0] = BgAnalysis{std::string_view(lemma, e.lemma_size == MemoEntry::kLongLemma ? std::strlen(lemma) : e.lemma_size),
                                         record->type, record->slot};
        }
    }
    const BgAnalysis* begin() const { return items; }
    const BgAnalysis* end() const { return items + n; }
};

// Every answer of form_facts over a form's analyses.
void facts_of(const Analyses& an, FormFacts& out);

// The facts of a memo entry's form, found the first time they are asked.
// The analyses of a record of several are read for them and not kept: most forms are asked nothing
// else, and a look-up that asks for them reads them into the entry then.
FormFacts entry_facts(MemoEntry& e) {
    if (e.facts.known()) return e.facts.facts(e.record);
    FormFacts f;
    if (e.n < 0 && e.record && e.record->n_analyses > 1) {
        facts_of(Analyses(e.record), f);
    } else {
        facts_of(Analyses(e), f);
    }
    e.facts.keep(f);
    return f;
}

bool in_class(const unsigned char* table, int type) { return type >= 0 && type < 512 && table[type]; }

bool participle_slot(int slot) { return (slot >= 20 && slot <= 28) || (slot >= 38 && slot <= 55); }

void set_cut(std::string& dest, std::string_view s) { dest.assign(s.substr(0, BG_WORD_MAX)); }

// The lemma index: every analysis of the word-form index sorted by lemma (case-insensitively),
// type and slot; analyses equal in all three keep the order of the word-form index. The loader
// builds it with the index; it is built again when the letter case rules changed since.
//
// It is kept as the distinct lemmas (those equal under folding are one), sorted, each with the
// run of its analyses' forms, types and slots. The build folds every lemma once, finds its number
// in a hash table of the folded lemmas, sorts only the distinct lemmas, and puts the analyses in
// place with a counting sort over the lemmas' ranks (stable, so the word-form index's order stays
// within a lemma); each lemma's run is then sorted by type and slot, stably.
struct LemmaGroup {
    std::string_view lemma;  // one spelling of the lemma
    std::uint32_t begin;     // its first analysis in g_lemma_forms (the next group's begin ends it)
};
struct LemmaForm {
    std::uint32_t record;  // the form's record in bgmul_bottom
    std::uint16_t type;
    std::uint16_t slot;
};
std::vector<LemmaGroup> g_lemmas;      // sorted by lemma; one more at the end, beginning after the last
std::vector<LemmaForm> g_lemma_forms;  // the analyses, lemma after lemma
bool g_lemma_index_built = false;
bool g_lemma_index_cyrillic = false;  // the letter case rules it was sorted under

// The distinct folded lemmas of the build, numbered in the order they were first met.
class FoldedLemmas {
public:
    explicit FoldedLemmas(std::size_t expected) {
        std::size_t cap = 1024;
        while (cap < expected * 2) cap <<= 1;
        slots_.reset(cap);
    }
    // The number of the lemma folded; a new number for a lemma not met before.
    std::uint32_t number(std::string_view lemma) {
        const unsigned char* lower = cp1251_detail::current_ctype->lower;
        const std::size_t at = text_.size();
        text_.resize(at + lemma.size());
        for (std::size_t i = 0; i < lemma.size(); ++i)
            text_[at + i] = static_cast<char>(lower[static_cast<unsigned char>(lemma[i])]);
        const std::string_view folded(text_.data() + at, lemma.size());
        const std::uint64_t h = word_hash(folded);
        const std::size_t i = slots_.probe(h, [&](const NumberedSlot& s) {
            return s.fits(h) && folded_of(static_cast<std::uint32_t>(s.entry())) == folded;
        });
        if (slots_.taken(slots_.at(i))) {
            text_.resize(at);  // known: its folded copy is not kept
            return static_cast<std::uint32_t>(slots_.at(i).entry());
        }
        slots_.put(i, NumberedSlot::of(h, start_.size()));
        start_.push_back(static_cast<std::uint32_t>(at));
        length_.push_back(static_cast<std::uint32_t>(lemma.size()));
        first_.push_back(lemma);
        if (slots_.wants_room(start_.size() + 1, 1, 2)) slots_.grow(slots_.slot_count() * 2, NumberedSlot::home_hash);
        return static_cast<std::uint32_t>(start_.size() - 1);
    }
    std::size_t size() const { return start_.size(); }
    std::string_view folded_of(std::uint32_t id) const { return std::string_view(text_.data() + start_[id], length_[id]); }
    std::string_view first_spelling(std::uint32_t id) const { return first_[id]; }

private:
    std::string text_;                   // the folded lemmas, one after another
    std::vector<std::uint32_t> start_;   // where lemma id's folded text begins
    std::vector<std::uint32_t> length_;  // its length
    std::vector<std::string_view> first_;  // its first spelling met
    FlatTable<NumberedSlot> slots_;
};

const char* find_by_lemma(std::string_view lemma, int type, int slot) {
    if (!g_lemma_index_built || g_lemma_index_cyrillic != ctype_locale_is_cyrillic()) build_lemma_index();
    if (g_lemmas.size() < 2) return nullptr;
    const auto last = g_lemmas.end() - 1;
    const auto g = std::lower_bound(g_lemmas.begin(), last, lemma, [](const LemmaGroup& e, std::string_view k) {
        return cp_strcasecmp(e.lemma, k) < 0;
    });
    if (g == last || cp_strcasecmp(g->lemma, lemma) != 0) return nullptr;
    const auto first = g_lemma_forms.begin() + g->begin, end = g_lemma_forms.begin() + g[1].begin;
    const auto it = std::lower_bound(first, end, std::pair<int, int>(type, slot),
                                     [](const LemmaForm& e, std::pair<int, int> k) {
                                         return e.type != k.first ? e.type < k.first : e.slot < k.second;
                                     });
    if (it == end || it->type != type || it->slot != slot) return nullptr;
    return bgmul_bottom[it->record].form;
}

}  // namespace

void build_lemma_index() {
    g_lemmas.clear();
    g_lemma_forms.clear();
    BgAnalysis buf[kMaxAnalyses];
    // 1. The number of every analysis's lemma, in index order.
    FoldedLemmas lemmas(bgmul_ct / 8);
    std::vector<std::uint32_t> number;
    number.reserve(bgmul_ct + bgmul_ct / 4);
    for (size_t i = 0; i < bgmul_ct; ++i) {
        const int n = bg_analyses(bgmul_bottom[i], buf, kMaxAnalyses);
        for (int k = 0; k < n; ++k) number.push_back(lemmas.number(buf[k].lemma));
    }
    const std::size_t total = number.size();
    // 2. The distinct lemmas sorted (the folded bytes as unsigned values, a prefix first, as
    // cp_strcasecmp orders them); each analysis's number becomes its lemma's rank, and each lemma
    // gets the place of its run.
    // Sorted by their first eight bytes read as one number (a lemma holds no NUL byte, so a
    // shorter one padded with zeros comes first, as it should), the whole texts compared only
    // where those agree.
    std::vector<std::pair<std::uint64_t, std::uint32_t>> keyed(lemmas.size());
    for (std::uint32_t id = 0; id < keyed.size(); ++id) {
        const std::string_view f = lemmas.folded_of(id);
        std::uint64_t head = 0;
        for (std::size_t i = 0; i < 8; ++i) head = (head << 8) | (i < f.size() ? static_cast<unsigned char>(f[i]) : 0u);
        keyed[id] = {head, id};
    }
    std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : lemmas.folded_of(a.second) < lemmas.folded_of(b.second);
    });
    std::vector<std::uint32_t> order(keyed.size());
    for (std::size_t r = 0; r < keyed.size(); ++r) order[r] = keyed[r].second;
    keyed = {};
    {
        std::vector<std::uint32_t> rank(lemmas.size());
        for (std::uint32_t r = 0; r < order.size(); ++r) rank[order[r]] = r;
        for (std::uint32_t& x : number) x = rank[x];
    }
    std::vector<std::uint32_t> next(order.size() + 1, 0);  // where the lemma's next analysis goes
    for (std::uint32_t r : number) ++next[r + 1];
    for (std::size_t r = 0; r < order.size(); ++r) next[r + 1] += next[r];
    g_lemmas.reserve(order.size() + 1);
    for (std::uint32_t r = 0; r < order.size(); ++r) g_lemmas.push_back({lemmas.first_spelling(order[r]), next[r]});
    g_lemmas.push_back({std::string_view(), static_cast<std::uint32_t>(total)});
    // 3. The analyses put in their lemma's run in index order (a stable counting sort); then each
    // run sorted by type and slot, equal ones kept in index order.
    g_lemma_forms.resize(total);
    std::size_t at = 0;
    for (size_t i = 0; i < bgmul_ct; ++i) {
        const BgFormRecord& r = bgmul_bottom[i];
        const int n = bg_analyses(r, buf, kMaxAnalyses);
        for (int k = 0; k < n; ++k)
            g_lemma_forms[next[number[at++]]++] = {static_cast<std::uint32_t>(i), static_cast<std::uint16_t>(buf[k].type),
                                                  static_cast<std::uint16_t>(buf[k].slot)};
    }
    std::vector<std::uint64_t> keys;  // type, slot and place in the run of each analysis of one lemma
    std::vector<LemmaForm> run;
    for (std::size_t g = 0; g + 1 < g_lemmas.size(); ++g) {
        LemmaForm* first = g_lemma_forms.data() + g_lemmas[g].begin;
        const std::size_t n = g_lemmas[g + 1].begin - g_lemmas[g].begin;
        keys.clear();
        bool sorted = true;
        for (std::uint32_t j = 0; j < n; ++j) {
            keys.push_back((std::uint64_t{first[j].type} << 48) | (std::uint64_t{first[j].slot} << 32) | j);
            sorted = sorted && (j == 0 || keys[j - 1] < keys[j]);
        }
        if (sorted) continue;
        std::sort(keys.begin(), keys.end());
        run.assign(first, first + n);
        for (std::size_t j = 0; j < n; ++j) first[j] = run[static_cast<std::uint32_t>(keys[j])];
    }
    g_lemma_index_built = true;
    g_lemma_index_cyrillic = ctype_locale_is_cyrillic();
}

void build_form_hash() {
    FormHash& t = g_form_hash;
    t = FormHash{};
    // Record numbers + 1 up to bgmul_ct must fit below at least one bit of hash.
    if (bgmul_ct == 0 || bgmul_ct >= (std::size_t{1} << 31)) return;
    const unsigned char* lower = cp1251_detail::current_ctype->lower;
    // Four slots in five taken: a probe mostly stays in one cache line, and the slots' bits of hash
    // turn away other forms without reading them.
    t.slots.reset(bgmul_ct + bgmul_ct / 4 + 16);
    t.record_bits = static_cast<unsigned>(std::bit_width(bgmul_ct));
    t.bottom = bgmul_bottom;
    // The hashes of the next forms are made ahead and their slots fetched, so that the reads of the
    // large table overlap.
    constexpr std::size_t kAhead = 16;
    std::uint64_t ahead[kAhead];
    const auto start = [&](std::size_t i) {
        ahead[i % kAhead] = folded_word_hash(bgmul_bottom[i].form, lower);
        t.slots.prefetch(ahead[i % kAhead]);
    };
    for (std::size_t i = 0; i < std::min(kAhead, bgmul_ct); ++i) start(i);
    for (std::size_t i = 0; i < bgmul_ct; ++i) {
        const std::uint64_t h = ahead[i % kAhead];
        if (i + kAhead < bgmul_ct) start(i + kAhead);
        const std::uint32_t tag = t.tag(h);
        const char* form = bgmul_bottom[i].form;
        // Of forms equal under folding the first is kept, as a binary search finds it (the loader
        // merges such forms into one record; an index made otherwise may hold several).
        const std::size_t k = t.slots.probe(h, [&](std::uint32_t s) {
            return s >> t.record_bits == tag && compare_form(t.record(s)->form, form) == 0;
        });
        if (!t.slots.taken(t.slots.at(k))) t.slots.put(k, (tag << t.record_bits) | static_cast<std::uint32_t>(i + 1));
    }
    t.count = bgmul_ct;
    t.cyrillic = ctype_locale_is_cyrillic();
}

std::atomic<std::uint64_t> g_word_form_loads{0};

void release_kept_form_memo() { g_idle_memo.reset(); }

void reset_lemma_index() {
    g_word_form_loads.fetch_add(1, std::memory_order_relaxed);
    release_kept_form_memo();
    if (g_memo) g_memo->stale = true;
    g_form_hash = FormHash{};
    g_lemmas.clear();
    g_lemmas.shrink_to_fit();
    g_lemma_forms.clear();
    g_lemma_forms.shrink_to_fit();
    g_lemma_index_built = false;
}

std::uint64_t word_form_loads() { return g_word_form_loads.load(std::memory_order_relaxed); }

FormMemo::FormMemo() {
    if (g_memo) return;
    g_memo = g_idle_memo ? g_idle_memo.release() : new MemoState;
    MemoState& m = *g_memo;
    // What the last memo found holds while the index is the one it searched, under the same rules.
    if (m.forms.empty() || m.stale || m.full || m.bottom != bgmul_bottom || m.count != bgmul_ct ||
        m.loads != word_form_loads() || m.cyrillic != ctype_locale_is_cyrillic())
        memo_refresh(m);
    m.owner = std::this_thread::get_id();
    owner_ = true;
}

FormMemo::~FormMemo() {
    if (!owner_) return;
    assert(g_memo->owner == std::this_thread::get_id());
    // A full memo (a text of very many distinct words) is not kept: its memory goes.
    if (!g_memo->full) g_idle_memo.reset(g_memo);
    else delete g_memo;
    g_memo = nullptr;
}

void memo_forms(const std::string_view* forms, std::size_t n) { memo_forms(forms, n, nullptr); }

std::size_t memo_forms(const std::string_view* forms, std::size_t n, FormFacts* facts, const RunPieces& run_pieces) {
    std::vector<MemoEntry*> fresh;  // the entries made now, each to be found in the index
    std::vector<FormFacts*> fresh_facts;  // where each fresh entry's facts go (with `facts`)
    std::vector<std::pair<MemoEntry*, FormFacts*>> met;  // the others' entries and facts
    if (!g_memo) return 0;
    assert(g_memo->owner == std::this_thread::get_id());
    if (g_memo->stale || g_memo->bottom != bgmul_bottom || g_memo->count != bgmul_ct) memo_refresh(*g_memo);
    if (g_memo->count == 0) return 0;
    MemoTable& table = g_memo->forms;  // this thread's: the helpers are handed it
    table.reserve(n);  // the table holds them all without growing
    // A text checked again: its spellings are nearly all held, looked up on the helper threads
    // while the table is only read.
    constexpr std::size_t kPiece = 4096;
    std::vector<MemoEntry*> held;
    if (run_pieces && n >= 2 * kPiece) {
        held.assign(n, nullptr);
        table.share_with_helpers(true);
        run_pieces((n + kPiece - 1) / kPiece, [&](std::size_t p) {
            for (std::size_t i = p * kPiece; i < std::min(n, (p + 1) * kPiece); ++i) held[i] = table.find(forms[i]);
        });
        table.share_with_helpers(false);
    }
    // The helpers below write each form's entry and answer from one thread: a form given twice
    // would be written from two.
    const std::uint64_t call = ++g_memo->calls;
    std::size_t answered = 0;
    for (std::size_t i = 0; i < n && !g_memo->full; ++i) {
        bool added = false;
        MemoEntry* e = !held.empty() && held[i] ? held[i] : table.find_or_add(forms[i], added);
        if (!e) {
            g_memo->full = true;
            break;
        }
        assert(e->asked_in != static_cast<std::uint32_t>(call) && "memo_forms takes each spelling once");
        e->asked_in = static_cast<std::uint32_t>(call);
        answered = i + 1;
        if (added && e->form_size != 0) {  // an empty form has no record
            fresh.push_back(e);
            if (facts) fresh_facts.push_back(&facts[i]);
        } else if (facts) {
            met.emplace_back(e, &facts[i]);  // met before (or empty): answered once the fresh are found
        }
    }
    if (!form_hash_usable()) {
        for (std::size_t k = 0; k < fresh.size(); ++k) {
            fresh[k]->record = memo_search(*g_memo, fresh[k]->form());
            if (facts) *fresh_facts[k] = entry_facts(*fresh[k]);
        }
        fresh.clear();
    }
    // Each form goes through four steps a few forms apart: its hash and home slot, the slot's
    // record, the record's form and analyses texts, the comparison. Each step's reads were asked
    // for one step before, so that the reads of many forms overlap.
    const FormHash& t = g_form_hash;
    const unsigned char* lower = cp1251_detail::current_ctype->lower;
    struct Step {
        std::uint64_t hash = 0;
        const BgFormRecord* record = nullptr;  // the first record whose slot's check fits, or null
    };
    // The fresh forms [from, to): only their own entries and answers are written.
    auto find_stretch = [&](std::size_t from, std::size_t to) {
        constexpr std::size_t kApart = 8;
        const std::size_t total = to - from;
        std::vector<Step> steps(total);
        for (std::size_t i = 0; i < total + 3 * kApart; ++i) {
            if (i < total) {
                const std::string_view form = fresh[from + i]->form();
                steps[i].hash = folded_word_hash(form, lower);
                t.slots.prefetch(steps[i].hash);
            }
            if (i >= kApart && i - kApart < total) {
                Step& s = steps[i - kApart];
                const std::uint32_t tag = t.tag(s.hash);
                const auto fits = [&](std::uint32_t v) { return v >> t.record_bits == tag; };
                if (const std::uint32_t* slot = t.slots.find(s.hash, fits)) {
                    s.record = t.record(*slot);
                    __builtin_prefetch(s.record);
                }
            }
            if (i >= 2 * kApart && i - 2 * kApart < total) {
                if (const BgFormRecord* r = steps[i - 2 * kApart].record) {
                    __builtin_prefetch(r->form);
                    if (r->analyses) __builtin_prefetch(r->analyses);
                }
            }
            if (i >= 3 * kApart && i - 3 * kApart < total) {
                const std::size_t k = from + i - 3 * kApart;
                MemoEntry& e = *fresh[k];
                const BgFormRecord* r = steps[i - 3 * kApart].record;
                // A slot whose check fits another form (rare) is passed over by the whole search.
                e.record = !r ? nullptr : compare_form(r->form, e.form()) == 0 ? r : hashed_form(e.form());
                if (facts) *fresh_facts[k] = entry_facts(e);
            }
        }
    };
    // A text's new words in stretches on the helper threads: most of the time is the index's
    // memory, read far apart.
    constexpr std::size_t kStretch = 2048;
    const std::size_t total = fresh.size();
    if (run_pieces && total >= 2 * kStretch)
        run_pieces((total + kStretch - 1) / kStretch,
                   [&](std::size_t p) { find_stretch(p * kStretch, std::min(total, (p + 1) * kStretch)); });
    else
        find_stretch(0, total);
    // The facts of those met before: kept with their entries, or found now (each entry its own).
    auto met_stretch = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k) *met[k].second = entry_facts(*met[k].first);
    };
    if (run_pieces && met.size() >= 2 * kPiece)
        run_pieces((met.size() + kPiece - 1) / kPiece,
                   [&](std::size_t p) { met_stretch(p * kPiece, std::min(met.size(), (p + 1) * kPiece)); });
    else
        met_stretch(0, met.size());
    return answered;
}

const BgFormRecord* bg_find(std::string_view form) {
    if (const MemoEntry* e = memo_entry(form)) return e->record;
    return search_form(form);
}

namespace {

const BgFormRecord* search_form(std::string_view form) {
    if (form.empty() || bgmul_ct == 0) return nullptr;
    if (form_hash_usable()) return hashed_form(form);
    return search_form(form, bgmul_bottom, bgmul_bottom + bgmul_ct);
}

const BgFormRecord* search_form(std::string_view form, const BgFormRecord* first, const BgFormRecord* last) {
    const BgFormRecord* it = std::lower_bound(first, last, form, [](const BgFormRecord& r, std::string_view k) {
        return compare_form(r.form, k) < 0;
    });
    if (it == last || compare_form(it->form, form) != 0) return nullptr;
    return it;
}

}  // namespace

int bg_analyses(const BgFormRecord& r, BgAnalysis* out, int max) {
    if (max <= 0) return 0;
    if (r.n_analyses > 1 && r.analyses) return parse_analyses(r.analyses, out, max);
    out[0] = BgAnalysis{std::string_view(r.lemma ? r.lemma : ""), r.type, r.slot};
    return 1;
}

namespace {

// The answers over a form's analyses, shared by the single questions and form_facts.
int type_has(const Analyses& an, int type) {
    for (const BgAnalysis& a : an)
        if (a.type == type) return 1;
    return 0;
}

int type_has_ascii(const Analyses& an, const unsigned char* type_class) {
    for (const BgAnalysis& a : an)
        if (in_class(type_class, a.type)) return a.type;
    return -1;
}

int only_ascii_type(const Analyses& an, const unsigned char* type_class) {
    if (an.n == 0) return 0;
    for (const BgAnalysis& a : an)
        if (!in_class(type_class, a.type)) return 0;
    return 1;
}

int verb_not_adj_only(const Analyses& an) {
    if (an.n == 0) return 0;
    for (const BgAnalysis& a : an)
        if (!in_class(ascii_verb, a.type) || participle_slot(a.slot)) return 0;
    return 1;
}

int noun_info_of(const Analyses& an, NounAdjInfo& info, int wanted);
int adj_info_of(const Analyses& an, NounAdjInfo& info, int wanted);

}  // namespace

int TypeHas(std::string_view form, int type) { return type_has(Analyses(form), type); }

int TypeHasAscii(std::string_view form, const unsigned char* type_class) {
    return type_has_ascii(Analyses(form), type_class);
}

int IsOnlyAsciiType(std::string_view form, const unsigned char* type_class) {
    return only_ascii_type(Analyses(form), type_class);
}

int IsOnlyType(std::string_view form, int type) {
    Analyses an(form);
    if (an.n == 0) return 0;
    for (const BgAnalysis& a : an)
        if (a.type != type) return 0;
    return 1;
}

int IsTypeProperOnly(std::string_view form) { return IsOnlyAsciiType(form, ascii_proper); }

int IsTypeVerbOnly(std::string_view form) { return IsOnlyAsciiType(form, ascii_verb); }

int IsTypeVerbNotAdjOnly(std::string_view form) { return verb_not_adj_only(Analyses(form)); }

int IsTypeVerbSHTOnly(std::string_view form) {
    // An unknown form has no analysis at all, so it is not a participle either.
    Analyses an(form);
    if (an.n == 0) return 0;
    for (const BgAnalysis& a : an)
        if (!in_class(ascii_verb, a.type) || a.slot != 47) return 0;
    return 1;
}

int IsTypeVerbSHTOnlyAll(std::string_view form) {
    Analyses an(form);
    if (an.n == 0) return 0;
    for (const BgAnalysis& a : an)
        if (!in_class(ascii_verb, a.type) || a.slot < 47 || a.slot > 55) return 0;
    return 1;
}

int TypeVerbANAT(std::string_view form) {
    for (const BgAnalysis& a : Analyses(form))
        if (in_class(ascii_verb, a.type) && participle_slot(a.slot)) return 1;
    return 0;
}

int GetType(std::string_view form) {
    const BgFormRecord* r = bg_find(form);
    return r ? r->type : -1;
}

int GetTypeId(std::string_view form) {
    const BgFormRecord* r = bg_find(form);
    return (r && r->n_analyses == 1) ? r->type : -1;
}

int PrintBgTypeAuto_CtOnly(std::string_view form) {
    Analyses an(form);
    int count = 0;
    for (int i = 0; i < an.n; ++i)
        if (i == 0 || an.items[i].type != an.items[i - 1].type) ++count;
    return count;
}

void GetBgType(std::string_view form, std::string& dest) {
    dest.clear();
    const BgFormRecord* r = bg_find(form);
    if (!r) return;
    if (r->n_analyses > 1 && r->analyses) {
        dest.assign(r->analyses);
        dest.push_back(' ');
        return;
    }
    const BgTypeRecord& t = bgtype_ar[r->type < BGTYPES ? r->type : 0];
    dest = jux_format("(%s %s %s suf:%d)", r->lemma, t.name, t.pos, static_cast<int>(r->slot));
}

int GetBgLemma(std::string_view form, int wanted, std::string& dest) {
    dest.clear();
    for (const BgAnalysis& a : Analyses(form)) {
        if (wanted != -1 && a.type != wanted) continue;
        set_cut(dest, a.lemma);
        return a.type;
    }
    return -1;
}

int GetBgForm(std::string_view lemma, int type, int slot, std::string& dest) {
    std::string made;
    const int r = bg_make_form(lemma, type, slot, made);
    if (r == 1) {
        set_cut(dest, made);
        return 1;
    }
    if (r == -1 && type >= 0 && type < BGTYPES && slot >= 0) {
        if (const char* f = find_by_lemma(lemma, type, slot)) {
            set_cut(dest, f);
            return 1;
        }
    }
    set_cut(dest, lemma);
    return 0;
}

int GetNounInfo(NounAdjInfo& info, int wanted, std::string_view form) { return noun_info_of(Analyses(form), info, wanted); }

int GetAdjInfo(NounAdjInfo& info, int wanted, std::string_view form) { return adj_info_of(Analyses(form), info, wanted); }

void form_facts(std::string_view form, FormFacts& out) { facts_of(Analyses(form), out); }

namespace {

void facts_of(const Analyses& an, FormFacts& out) {
    out.sum = type_has(an, BGT_SUM);
    out.verb_row = type_has_ascii(an, ascii_verb);
    out.noun_only = only_ascii_type(an, ascii_noun);
    out.proper_only = only_ascii_type(an, ascii_proper);
    out.type = an.record ? an.record->type : -1;
    out.verb_not_adj_only = verb_not_adj_only(an);
    out.noun_result = noun_info_of(an, out.noun, -1);
    out.adj_result = adj_info_of(an, out.adj, -1);
}

int noun_info_of(const Analyses& an, NounAdjInfo& info, int wanted) {
    info = NounAdjInfo{};
    for (const BgAnalysis& a : an) {
        if (wanted != -1 ? a.type != wanted : !in_class(ascii_noun, a.type)) continue;
        info.slot = static_cast<std::uint16_t>(a.slot);
        info.type = static_cast<std::uint16_t>(a.type);
        const int g = bgtype_noun_gender(a.type);
        info.gender = static_cast<std::int8_t>(g);
        if (g < 0) return 0;
        if (g == 0) {
            info.plural = (a.slot == 3 || a.slot == 4);
            info.definite = (a.slot == 1 || a.slot == 2 || a.slot == 4);
        } else {
            info.plural = (a.slot == 2 || a.slot == 3);
            info.definite = (a.slot == 1 || a.slot == 3);
        }
        return 1;
    }
    return 0;
}

int adj_info_of(const Analyses& an, NounAdjInfo& info, int wanted) {
    info = NounAdjInfo{};
    for (const BgAnalysis& a : an) {
        if (wanted != -1 && a.type != wanted) continue;
        const bool adj = in_class(ascii_adj, a.type);
        const bool verb = in_class(ascii_verb, a.type);
        if (!adj && !verb) continue;
        info.slot = static_cast<std::uint16_t>(a.slot);
        info.type = static_cast<std::uint16_t>(a.type);
        int s = -1;
        if (adj && a.slot >= 0 && a.slot <= 8) s = a.slot;
        if (verb && a.slot >= 38 && a.slot <= 46) s = a.slot - 38;
        if (s < 0) {
            info.gender = -1;
            return 0;
        }
        static const std::int8_t kGender[9] = {0, 0, 0, 1, 1, 2, 2, 3, 3};
        static const std::uint8_t kDefinite[9] = {0, 1, 1, 0, 1, 0, 1, 0, 1};
        info.gender = kGender[s];
        info.plural = (kGender[s] == 3);
        info.definite = kDefinite[s];
        return 1;
    }
    return 0;
}

}  // namespace

int GetNechlenuvanNoun(std::string_view form, std::string& dest) {
    dest.clear();
    NounAdjInfo info;
    if (!GetNounInfo(info, -1, form)) return 0;
    std::string lemma;
    if (GetBgLemma(form, info.type, lemma) < 0) return 0;
    const int slot = info.plural ? (info.gender == 0 ? 3 : 2) : 0;
    GetBgForm(lemma, info.type, slot, dest);
    return 1;
}
