#include "shell/token_frequency_index.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>
#include <string_view>
#include <vector>

#include "platform/hash.h"
#include "platform/text.h"
#include "shell/settings.h"

// One distinct spelling.
struct TokenIndex::Entry {
    const char* name;
    std::uint32_t len;
    std::uint32_t tag;  // name_tag(): a spelling of up to four bytes is found without reading its name
    std::uint32_t count;
    std::uint32_t sections;
    std::uint32_t case_lead;
    std::uint32_t sec_count;  // occurrences in the open section
    std::uint32_t group;
    std::uint32_t next;       // the group's next spelling, or kNoEntry
};

// What a sort compares, made once per record: the name's prefix, the count, and the record's
// place (the entry's index in the index, or its place in the table being re-sorted).
struct TokenIndex::Key {
    std::uint64_t prefix;
    std::uint32_t count;
    std::uint32_t idx;
};

// One case-insensitive group of spellings; its spellings are chained from `first` in the order
// they came.
struct TokenIndex::Group {
    std::uint32_t first;         // the spelling that opened the group
    std::uint32_t last_section;  // last section in which the group occurred
    std::uint32_t sections;
    std::uint32_t leader;        // leading spelling of the section being folded
    std::uint32_t best;          // at finish: the spelling that names the group
    std::uint32_t total;         // at finish: occurrences of all its spellings
};

namespace {

constexpr std::size_t kPoolBlock = 1u << 20;
// Bytes past the end of a name-pool block that belong to it: a name's first bytes can be read as
// one block wherever it lies (name_prefix, GRECORD_NAME_READABLE).
constexpr std::size_t kPoolSlack = GRECORD_NAME_READABLE;
static_assert(kPoolSlack >= 8);

// The hash of the case-folded bytes (the current locale's folding): equal ignoring case means
// equal hashes, so one table finds a token's spelling and its group. Only the hash slots depend on
// it: what the index counts and how it sorts do not.
std::uint32_t hash_folded(const unsigned char* lower, std::string_view token) {
    return static_cast<std::uint32_t>(folded_word_hash(token, lower));
}

constexpr std::uint32_t kNoEntry = std::numeric_limits<std::uint32_t>::max();

bool all_digits(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// The first four bytes of a spelling (fewer zero-padded), as one number.
std::uint32_t name_tag(const char* s, std::size_t n) {
    std::uint32_t t = 0;
    for (std::size_t i = 0; i < n && i < 4; ++i) t |= std::uint32_t{static_cast<unsigned char>(s[i])} << (8 * i);
    return t;
}

bool folded_equal(const unsigned char* lower, const char* a, const char* b, std::size_t n) {
    const auto* pa = reinterpret_cast<const unsigned char*>(a);
    const auto* pb = reinterpret_cast<const unsigned char*>(b);
    for (std::size_t i = 0; i < n; ++i)
        if (lower[pa[i]] != lower[pb[i]]) return false;
    return true;
}

thread_local bool t_exhaustion_throws = false;

[[noreturn]] void exhausted() {
    if (t_exhaustion_throws) throw std::bad_alloc();
    mallocexit();
}

}  // namespace

void* gmake_block_or_exhausted(std::size_t n, std::size_t size) {
    void* p = n <= std::numeric_limits<std::size_t>::max() / size ? jux_malloc(n * size) : nullptr;
    if (!p) exhausted();
    return p;
}

namespace {

template <class T>
void* alloc_array(std::size_t n) {
    if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) return nullptr;
    return jux_malloc(n * sizeof(T));
}

template <class T>
void grow_to(TokenIndex::Array<T>& a, std::size_t want) {
    void* p = alloc_array<T>(want);
    if (!p) exhausted();
    if (a.size) std::memcpy(p, a.data, a.size * sizeof(T));
    jux_free(a.data);
    a.data = static_cast<T*>(p);
    a.cap = want;
}

template <class T>
void push(TokenIndex::Array<T>& a, const T& v) {
    if (a.size == a.cap) grow_to(a, a.cap ? a.cap * 2 : 1024);
    a.data[a.size++] = v;
}

// The first eight bytes of a name as one number whose order is the names' order: big-endian, a
// short name padded with zero bytes. Two names whose prefixes differ compare as their prefixes
// (where one name ends first, it is a prefix of the other up to there, and sorts first either way);
// equal prefixes say nothing and the names are compared in full. `fold` takes the bytes folded to
// lower case as the case-insensitive order compares them (the locale's table `fold`, or null).
// The name lies in the name pool, which can be read eight bytes from any name's start.
std::uint64_t name_prefix(const char* name, std::size_t len, const unsigned char* fold) {
    std::uint64_t w;
    std::memcpy(&w, name, 8);
    if constexpr (std::endian::native == std::endian::little) w = __builtin_bswap64(w);  // big-endian as is
    if (fold) {
        std::uint64_t f = 0;
        for (int j = 0; j < 64; j += 8) f |= std::uint64_t{fold[(w >> j) & 0xFFu]} << j;
        w = f;
    }
    return len >= 8 ? w : w & ~(~std::uint64_t{0} >> (8 * len));
}


}  // namespace

template <class T>
void TokenIndex::Array<T>::free_all() {
    jux_free(data);
    data = nullptr;
    size = cap = 0;
}

TokenIndex::~TokenIndex() { release(); }

std::size_t TokenIndex::entry_bytes() { return sizeof(Entry); }

void TokenIndex::allocate() {
    if (entries_.cap == 0) grow_entries();
    if (slots_.empty()) rehash(first_room_ * 2);
}

void TokenIndex::reserve(std::size_t distinct) {
    auto room = [distinct](auto& a) {
        using T = std::remove_reference_t<decltype(*a.data)>;
        if (a.cap >= distinct) return;
        void* p = alloc_array<T>(distinct);
        if (!p) return;  // counting grows the table step by step instead
        if (a.size) std::memcpy(p, a.data, a.size * sizeof(T));
        jux_free(a.data);
        a.data = static_cast<T*>(p);
        a.cap = distinct;
    };
    room(entries_);
    room(groups_);
}

void TokenIndex::read_options() {
    section_size_ = std::max<std::int64_t>(1, OP[OPT_TOKENS_IN_SECTION].num_value);
    max_len_ = OP[OPT_MAX_TOKEN_LENGTH].num_value;
    digits_only_ = OP[OPT_DIGITS_ONLY_TOKENS].num_value != 0;
    lower_ = cp1251_detail::current_ctype->lower;
    options_read_ = true;
}

void TokenIndex::reset() {
    entries_.size = 0;
    groups_.size = 0;
    touched_.size = 0;
    table_.size = 0;
    bytes_.size = 0;
    table_fresh_ = false;
    alpha_fresh_ = false;
    slots_.clear();
    if (pool_.size() > 1) pool_.resize(1);
    pool_used_ = 0;
    pool_block_ = pool_.empty() ? 0 : jux_msize(pool_.front().get()) - kPoolSlack;
    in_section_ = 0;
    section_no_ = 0;
    tokens_ = 0;
    waiting_n_ = 0;
    read_options();
}

void TokenIndex::release() {
    entries_.free_all();
    groups_.free_all();
    slots_.release();
    touched_.free_all();
    table_.free_all();
    alpha_.free_all();
    named_count_.free_all();
    bytes_.free_all();
    waiting_n_ = 0;
    table_fresh_ = false;
    alpha_fresh_ = false;
    pool_.clear();
    pool_used_ = pool_block_ = 0;
    in_section_ = 0;
    section_no_ = 0;
    tokens_ = 0;
}

// Names go one after the other, each followed by its NUL and, until the next name is stored, by
// zero bytes up to kPoolSlack past its end, so that the pool is written wherever a name's first
// bytes are read as one block.
const char* TokenIndex::store_name(std::string_view token) {
    const std::size_t need = token.size() + 1;
    if (pool_.empty() || pool_used_ + need > pool_block_) {
        const std::size_t size = std::max(kPoolBlock, need);
        char* const block = static_cast<char*>(jux_malloc(size + kPoolSlack));
        if (!block) exhausted();
        pool_.emplace_back(block);
        pool_block_ = size;
        pool_used_ = 0;
    }
    char* p = pool_.back().get() + pool_used_;
    std::memcpy(p, token.data(), token.size());
    std::memset(p + token.size(), 0, kPoolSlack);
    pool_used_ += need;
    return p;
}

// Grows the main table, asking for less (by a sixteenth each time) while the room asked for stays
// above GMAKE_RETRY_FLOOR entries; when even that fails, the out-of-memory exit.
void TokenIndex::grow_entries() {
    std::size_t want = entries_.cap ? entries_.cap * 2 : first_room_;
    for (;;) {
        void* p = alloc_array<Entry>(want);
        if (p) {
            if (entries_.size) std::memcpy(p, entries_.data, entries_.size * sizeof(Entry));
            jux_free(entries_.data);
            entries_.data = static_cast<Entry*>(p);
            entries_.cap = want;
            return;
        }
        const std::size_t smaller = want - want / 16;
        if (smaller <= GMAKE_RETRY_FLOOR || smaller <= entries_.size || smaller == want) exhausted();
        want = smaller;
    }
}

// The slots name each group's first spelling by the folded hash.
void TokenIndex::rehash(std::size_t want) {
    std::size_t n = 1024;
    while (n < want) n *= 2;
    slots_.grow(n, NumberedSlot::home_hash);
}

// Adds a spelling to group `group` (kNoEntry: a new group, whose slot is `slot`), chained after
// entry `prev`.
std::uint32_t TokenIndex::add_entry(std::string_view token, std::uint32_t hash, std::uint32_t group,
                                    std::uint32_t prev, std::size_t slot) {
    if (entries_.size == entries_.cap) grow_entries();
    const char* name = store_name(token);
    const auto idx = static_cast<std::uint32_t>(entries_.size);
    if (group == kNoEntry) {
        group = static_cast<std::uint32_t>(groups_.size);
        push(groups_, Group{idx, 0, 0, 0, 0, 0});
        slots_.put(slot, NumberedSlot::of(hash, idx));
    } else {
        entries_.data[prev].next = idx;
    }
    entries_.data[entries_.size++] =
        Entry{name, static_cast<std::uint32_t>(token.size()), name_tag(token.data(), token.size()), 0, 0, 0, 0, group, kNoEntry};
    return idx;
}

int TokenIndex::put(std::string_view token) {
    if (!options_read_) read_options();
    count_waiting();
    return put_hashed(token, hash_folded(lower_, token));
}

bool TokenIndex::countable(std::string_view token) const {
    if (token.empty() || token.size() > std::numeric_limits<std::uint32_t>::max()) return false;
    if (max_len_ >= 1 && static_cast<std::int64_t>(token.size()) > max_len_) return false;
    return digits_only_ || !all_digits(token);
}

int TokenIndex::put_soon(std::string_view token) {
    if (!options_read_) read_options();
    if (!countable(token)) return 0;
    if (token.size() > kWaitingBytes) return put(token);
    std::size_t used = waiting_n_ ? waiting_end_[waiting_n_ - 1] : 0;
    if (waiting_n_ == kWaiting || used + token.size() > kWaitingBytes) {
        count_waiting();
        used = 0;
    }
    std::memcpy(waiting_ + used, token.data(), token.size());
    waiting_end_[waiting_n_++] = static_cast<std::uint32_t>(used + token.size());
    return 1;
}

void TokenIndex::count_waiting() {
    if (waiting_n_ == 0) return;
    std::string_view batch[kWaiting];
    for (std::size_t k = 0, from = 0; k < waiting_n_; from = waiting_end_[k++])
        batch[k] = std::string_view(waiting_ + from, waiting_end_[k] - from);
    put_batch(std::span<const std::string_view>(batch, waiting_n_));
    waiting_n_ = 0;
}

int TokenIndex::put_all(std::span<const std::string_view> tokens) {
    count_waiting();
    return put_batch(tokens);
}

int TokenIndex::put_batch(std::span<const std::string_view> tokens) {
    // The slot a token will probe is fetched from memory a few tokens ahead, and the spelling it
    // names a little later, so that the misses of a big index overlap; what is counted and in
    // what order is the same as putting one token after the other.
    constexpr std::size_t kAhead = 8;
    if (!options_read_) read_options();
    const std::size_t n = tokens.size();
    std::uint32_t hashes[kAhead];
    auto fetch_slot = [&](std::size_t i) {
        const std::string_view t = tokens[i];
        const std::uint32_t h = hashes[i % kAhead] = hash_folded(lower_, t);
        if (!slots_.empty()) slots_.prefetch(h);
    };
    auto fetch_entry = [&](std::size_t i) {
        if (slots_.empty()) return;
        const std::uint32_t h = hashes[i % kAhead];
        if (const NumberedSlot slot = slots_.at(slots_.home(h)); slot.taken() && slot.fits(h))
            __builtin_prefetch(entries_.data + slot.entry());
    };
    for (std::size_t i = 0; i < std::min(n, kAhead); ++i) fetch_slot(i);
    for (std::size_t i = 0; i < std::min(n, kAhead / 2); ++i) fetch_entry(i);
    int counted = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t h = hashes[i % kAhead];
        if (i + kAhead / 2 < n) fetch_entry(i + kAhead / 2);
        if (i + kAhead < n) fetch_slot(i + kAhead);
        counted += put_hashed(tokens[i], h);
    }
    return counted;
}

int TokenIndex::put_hashed(std::string_view token, std::uint32_t h) {
    if (!options_read_) read_options();
    if (!countable(token)) return 0;

    if (slots_.wants_room(groups_.size + 1, 1, 2)) rehash((groups_.size + 1) * 4);
    const auto len = static_cast<std::uint32_t>(token.size());
    const std::uint32_t tag = name_tag(token.data(), len);
    auto same = [&](const Entry& e) { return e.tag == tag && (len <= 4 || std::memcmp(e.name, token.data(), len) == 0); };
    // The slot of the token's group, found by its first spelling: the token itself, or one equal
    // to it ignoring case.
    bool first_is_token = false;
    const std::size_t s = slots_.probe(h, [&](const NumberedSlot& slot) {
        if (!slot.fits(h)) return false;
        const Entry& first = entries_.data[slot.entry()];
        if (first.len != len) return false;
        first_is_token = same(first);
        return first_is_token || folded_equal(lower_, first.name, token.data(), len);
    });
    std::uint32_t idx = kNoEntry;
    if (!slots_.taken(slots_.at(s))) {
        idx = add_entry(token, h, kNoEntry, kNoEntry, s);
    } else if (const auto v = static_cast<std::uint32_t>(slots_.at(s).entry()); first_is_token) {
        idx = v;
    } else {
        // The group: the spelling among its other spellings, or a new one at the end.
        const Entry& first = entries_.data[v];
        std::uint32_t prev = v, e = first.next;
        for (; e != kNoEntry; prev = e, e = entries_.data[e].next)
            if (same(entries_.data[e])) break;
        idx = e != kNoEntry ? e : add_entry(token, h, first.group, prev, s);
    }
    Entry& e = entries_.data[idx];
    if (e.sec_count == 0) push(touched_, idx);
    ++e.sec_count;
    ++e.count;
    ++tokens_;
    table_fresh_ = false;
    alpha_fresh_ = false;
    if (++in_section_ >= section_size_) fold_section();
    return 1;
}

// Folds the open section: every spelling that occurred in it gains a section, and in every
// case-insensitive group the spelling with the most occurrences in the section (the first in byte
// order on a tie) gains a lead.
void TokenIndex::fold_section() {
    if (in_section_ == 0) return;
    ++section_no_;
    for (std::size_t i = 0; i < touched_.size; ++i) {
        const std::uint32_t idx = touched_.data[i];
        const Entry& e = entries_.data[idx];
        Group& g = groups_.data[e.group];
        if (g.last_section != section_no_) {
            g.last_section = section_no_;
            ++g.sections;
            g.leader = idx;
        } else {
            const Entry& lead = entries_.data[g.leader];
            if (e.sec_count > lead.sec_count ||
                (e.sec_count == lead.sec_count &&
                 std::string_view(e.name, e.len) < std::string_view(lead.name, lead.len)))
                g.leader = idx;
        }
    }
    for (std::size_t i = 0; i < touched_.size; ++i) {
        const std::uint32_t idx = touched_.data[i];
        Entry& e = entries_.data[idx];
        ++e.sections;
        if (groups_.data[e.group].leader == idx) ++e.case_lead;
        e.sec_count = 0;
    }
    touched_.size = 0;
    in_section_ = 0;
}

void TokenIndex::finish(bool merge_case, bool alpha) {
    if (!options_read_) read_options();
    count_waiting();
    fold_section();
    if (merge_case) {
        for (std::size_t g = 0; g < groups_.size; ++g) {
            groups_.data[g].best = groups_.data[g].first;
            groups_.data[g].total = 0;
        }
        for (std::size_t i = 0; i < entries_.size; ++i) {
            const Entry& e = entries_.data[i];
            Group& g = groups_.data[e.group];
            g.total += e.count;
            const Entry& b = entries_.data[g.best];
            if (e.case_lead > b.case_lead ||
                (e.case_lead == b.case_lead &&
                 (e.count > b.count ||
                  (e.count == b.count && std::string_view(e.name, e.len) < std::string_view(b.name, b.len)))))
                g.best = static_cast<std::uint32_t>(i);
        }
    }
    merged_ = merge_case;
    build_table(alpha ? Order::alpha : Order::count, Order::bytes);
}

void TokenIndex::sort_by_name(bool ignore_case) {
    count_waiting();
    if (!table_fresh_) {  // tokens were counted since: the table is sorted as it stands
        std::stable_sort(table_.data, table_.data + table_.size, [ignore_case](const GRecord& a, const GRecord& b) {
            return (ignore_case ? cp_strcasecmp(a.name, b.name) : a.name.compare(b.name)) < 0;
        });
        return;
    }
    // Sorting again is stable: names equal ignoring case keep the order they had.
    if (ignore_case && merged_folded_from_alpha()) return;
    if (ignore_case) build_table(Order::folded, order_ == Order::folded ? tie_ : order_);
    else build_table(Order::bytes, Order::bytes);
}

// The full comparison of two records under an order (negative: a first). Names are distinct
// (spellings, or the best spellings of groups), so every order but the case-insensitive one is
// total; that one falls back on tie_.
int TokenIndex::compare(Order order, const Key& a, const Key& b) const {
    const Entry& ea = entries_.data[a.idx];
    const Entry& eb = entries_.data[b.idx];
    const std::string_view na(ea.name, ea.len), nb(eb.name, eb.len);
    switch (order) {
        case Order::count:
            if (a.count != b.count) return a.count > b.count ? -1 : 1;
            return na.compare(nb);
        case Order::alpha:
            if (const int c = cp_strcasecmp(na, nb); c != 0) return c;
            if (a.count != b.count) return a.count > b.count ? -1 : 1;
            return na.compare(nb);
        case Order::bytes: return na.compare(nb);
        case Order::folded:
            if (const int c = cp_strcasecmp(na, nb); c != 0) return c;
            return tie_ == Order::folded ? 0 : compare(tie_, a, b);
    }
    return 0;
}

namespace {

// Byte d of a key's sort number: the prefix's bytes (0 to 7, lowest first), then for the count
// order the count's bytes inverted (8 to 11), so that larger counts come first.
unsigned key_digit(std::uint64_t prefix, std::uint32_t count, int d) {
    return d < 8 ? static_cast<unsigned>(prefix >> (8 * d)) & 0xFFu
                 : 0xFFu - (static_cast<unsigned>(count >> (8 * (d - 8))) & 0xFFu);
}

// Sorts keys[0, n) stably by the listed digits (least significant first) through the other buffer
// other[0, n), skipping a digit that every key has alike; answers which buffer holds the result.
template <class K>
K* lsd_sort(K* keys, K* other, std::size_t n, const int* digits, std::size_t count) {
    std::size_t hist[12][256];
    for (std::size_t i = 0; i < count; ++i) std::fill(hist[i], hist[i] + 256, std::size_t{0});
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t i = 0; i < count; ++i) ++hist[i][key_digit(keys[k].prefix, keys[k].count, digits[i])];
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t* h = hist[i];
        if (std::find(h, h + 256, n) != h + 256) continue;  // every key has this byte alike
        std::size_t at = 0;
        for (int b = 0; b < 256; ++b) {
            const std::size_t c = h[b];
            h[b] = at;
            at += c;
        }
        for (std::size_t k = 0; k < n; ++k) {
            const K& key = keys[k];
            new (other + h[key_digit(key.prefix, key.count, digits[i])]++) K(key);
        }
        std::swap(keys, other);
    }
    return keys;
}

// Buckets of at most this many keys are sorted by insertion.
constexpr std::size_t kInsertionUpTo = 48;

// Sorts keys[0, n) by the listed digits (most significant first) through the other buffer
// other[0, n), the keys ending where they began: into buckets by the first digit that differs,
// then each bucket by the digits after it, the small ones by insertion. `less` compares two keys'
// whole sort numbers (every digit not listed being alike in all keys).
template <class K, class Less>
void msd_sort(K* keys, K* other, std::size_t n, const int* digits, std::size_t count, const Less& less) {
    if (count == 0 || n < 2) return;
    if (n <= kInsertionUpTo) {
        for (std::size_t k = 1; k < n; ++k) {
            const K key = keys[k];
            std::size_t j = k;
            for (; j > 0 && less(key, keys[j - 1]); --j) new (keys + j) K(keys[j - 1]);
            new (keys + j) K(key);
        }
        return;
    }
    // The keys per value of the first digit that differs, and the range of values they take.
    std::size_t start[257];
    unsigned first = 255, last = 0;
    for (; count > 0; ++digits, --count) {
        std::fill(start, start + 257, std::size_t{0});
        first = 255;
        last = 0;
        for (std::size_t k = 0; k < n; ++k) {
            const unsigned d = key_digit(keys[k].prefix, keys[k].count, digits[0]);
            ++start[d + 1];
            first = std::min(first, d);
            last = std::max(last, d);
        }
        if (first != last) break;
    }
    if (count == 0) return;  // every listed digit alike
    for (unsigned b = first; b <= last; ++b) start[b + 1] += start[b];
    std::size_t at[256];
    std::copy(start + first, start + last + 1, at + first);
    for (std::size_t k = 0; k < n; ++k) {
        const K& key = keys[k];
        new (other + at[key_digit(key.prefix, key.count, digits[0])]++) K(key);
    }
    std::memcpy(static_cast<void*>(keys), other, n * sizeof(K));
    for (unsigned b = first; b <= last; ++b)
        msd_sort(keys + start[b], other + start[b], start[b + 1] - start[b], digits + 1, count - 1, less);
}

}  // namespace

// Builds the table from the entries (or groups when merged) in the given order. The keys are
// made once per record in the table's own room: the first half holds them, the second half is the
// radix sort's other buffer (a record is exactly two keys). They are radix-sorted on the prefix
// (and count), the rare runs of equal prefixes then sorted by the full comparison, and the
// records written over keys already read: down from the end when the keys ended in the first
// half, up from the start when in the second.
void TokenIndex::build_table(Order order, Order tie) {
    static_assert(sizeof(GRecord) == 2 * sizeof(Key) && alignof(Key) <= alignof(GRecord));
    const std::size_t n = merged_ ? groups_.size : entries_.size;
    order_ = order;
    tie_ = tie;
    table_fresh_ = true;
    if (table_.cap < n) {
        table_.size = 0;
        grow_to(table_, n);
    }
    table_.size = n;
    if (n == 0) return;
    Key* const lo = reinterpret_cast<Key*>(static_cast<void*>(table_.data));
    Key* const keys = merged_ && order == Order::count && bytes_.size == entries_.size
                          ? count_keys_from_bytes(lo, lo + n)
                          : sorted_keys(order, lo, lo + n);
    // The unmerged alphabetical and byte orders are kept: the merged tables by name ignoring case
    // and by count follow from them (merged_folded_from_alpha, count_keys_from_bytes).
    Array<std::uint32_t>* const keep = merged_                 ? nullptr
                                       : order == Order::alpha ? &alpha_
                                       : order == Order::bytes ? &bytes_
                                                               : nullptr;
    if (keep) {
        if (keep->cap < n) {
            keep->size = 0;
            grow_to(*keep, n);
        }
        keep->size = n;
        if (keep == &alpha_) alpha_fresh_ = true;
    }
    // alpha_ takes the spellings' groups (all merged_folded_from_alpha needs), bytes_ the spellings.
    const bool groups = keep == &alpha_;
    auto record = [this](const Key& key, Entry& e) {
        std::uint32_t sections = e.sections;
        if (merged_) {
            sections = e.sec_count;
            e.sec_count = 0;
        }
        return GRecord{std::string_view(e.name, e.len), key.count, sections, e.case_lead};
    };
    // The entries are read in the new order, all over the index: each is fetched a few records
    // ahead.
    constexpr std::size_t kAhead = 16;
    auto fetch = [this, keys, n](std::size_t far) {
        if (far < n) __builtin_prefetch(entries_.data + keys[far].idx);
    };
    if (keys == lo) {
        for (std::size_t k = n; k-- > 0;) {
            fetch(k - kAhead);  // below 0 wraps past n
            const Key key = keys[k];
            Entry& e = entries_.data[key.idx];
            if (keep) keep->data[k] = groups ? e.group : key.idx;
            new (table_.data + k) GRecord(record(key, e));
        }
    } else {
        for (std::size_t k = 0; k < n; ++k) {
            fetch(k + kAhead);
            const Key key = keys[k];
            Entry& e = entries_.data[key.idx];
            if (keep) keep->data[k] = groups ? e.group : key.idx;
            new (table_.data + k) GRecord(record(key, e));
        }
    }
}

// The keys of the table's records in the given order, made in lo[0, n) and sorted through hi[0, n);
// answers where they ended.
TokenIndex::Key* TokenIndex::sorted_keys(Order order, Key* const lo, Key* const hi) {
    const std::size_t n = static_cast<std::size_t>(hi - lo);
    const unsigned char* const fold =
        order == Order::alpha || order == Order::folded ? cp1251_detail::current_ctype->lower : nullptr;
    // A merged record takes its sections from the group: they are parked in the entry that names
    // the group (whose count in the open section is 0 here, a finished index having folded it) while
    // the groups are read in their own order, and cleared when the record is written, so that the
    // records are written without a second fetch from all over the groups.
    std::uint64_t prefix_and = ~std::uint64_t{0}, prefix_or = 0;
    std::uint32_t count_and = ~std::uint32_t{0}, count_or = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint32_t idx = merged_ ? groups_.data[k].best : static_cast<std::uint32_t>(k);
        Entry& e = entries_.data[idx];
        if (merged_) e.sec_count = groups_.data[k].sections;
        const Key key{name_prefix(e.name, e.len, fold), merged_ ? groups_.data[k].total : e.count, idx};
        prefix_and &= key.prefix;
        prefix_or |= key.prefix;
        count_and &= key.count;
        count_or |= key.count;
        new (lo + k) Key(key);
    }
    auto before = [this, order](const Key& a, const Key& b) { return compare(order, a, b) < 0; };
    const bool by_count = order == Order::count;
    if (n < 256) {
        std::sort(lo, lo + n, before);
        return lo;
    }
    // The digits in which keys differ, most significant first: for the count order the count's,
    // then the prefix's.
    int vary[12];
    std::size_t nv = 0;
    if (by_count)
        for (int d = 11; d >= 8; --d)
            if (((count_and ^ count_or) >> (8 * (d - 8))) & 0xFFu) vary[nv++] = d;
    for (int d = 7; d >= 0; --d)
        if (((prefix_and ^ prefix_or) >> (8 * d)) & 0xFFu) vary[nv++] = d;
    auto less = [by_count](const Key& a, const Key& b) {
        if (by_count && a.count != b.count) return a.count > b.count;
        return a.prefix < b.prefix;
    };
    msd_sort(lo, hi, n, vary, nv, less);
    // Runs that the prefix (and count) did not order.
    for (std::size_t a = 0; a < n;) {
        std::size_t b = a + 1;
        while (b < n && lo[b].prefix == lo[a].prefix && (!by_count || lo[b].count == lo[a].count)) ++b;
        if (b - a > 1) std::sort(lo + a, lo + b, before);
        a = b;
    }
    return lo;
}

// The merged table by count from the unmerged byte order, which holds the groups' names (spellings
// of their own) in the order that breaks ties of counts: the groups' keys in that order, then
// sorted stably by count alone. Each group's sections are parked as sorted_keys() parks them.
TokenIndex::Key* TokenIndex::count_keys_from_bytes(Key* const lo, Key* const hi) {
    // Each group's count goes to the spelling that names it, in a table of a number per spelling
    // (0 for the others: a group has occurred), so that the byte order is then read with one small
    // fetch per spelling.
    if (named_count_.cap < entries_.size) {
        named_count_.size = 0;
        grow_to(named_count_, entries_.size);
    }
    named_count_.size = entries_.size;
    std::memset(named_count_.data, 0, entries_.size * sizeof(std::uint32_t));
    for (std::size_t k = 0; k < groups_.size; ++k) {
        const Group& g = groups_.data[k];
        named_count_.data[g.best] = g.total;
        entries_.data[g.best].sec_count = g.sections;
    }
    constexpr std::size_t kAhead = 16;
    std::size_t at = 0;
    for (std::size_t k = 0; k < bytes_.size; ++k) {
        if (k + kAhead < bytes_.size) __builtin_prefetch(named_count_.data + bytes_.data[k + kAhead]);
        const std::uint32_t idx = bytes_.data[k];
        if (const std::uint32_t total = named_count_.data[idx]) new (lo + at++) Key{0, total, idx};
    }
    static constexpr int kCountDigits[] = {8, 9, 10, 11};  // lsd_sort skips those alike in every key
    return lsd_sort(lo, hi, at, kCountDigits, 4);
}

// The merged table in case-insensitive order, from the unmerged alphabetical order of the same
// counts: that order puts the spellings of a group next to each other (they are equal ignoring
// case, and spellings of two groups never are), and the groups in the case-insensitive order of
// their names, which is the whole order of the merged table as no two of its names tie. False
// (nothing done) when there is no such order to follow, or the locale's folding has changed since
// the groups were made.
bool TokenIndex::merged_folded_from_alpha() {
    if (!merged_ || !alpha_fresh_ || alpha_.size != entries_.size || lower_ != cp1251_detail::current_ctype->lower)
        return false;
    const std::size_t n = groups_.size;
    if (table_.cap < n) {
        table_.size = 0;
        grow_to(table_, n);
    }
    if (order_ != Order::folded) tie_ = order_;
    order_ = Order::folded;
    table_fresh_ = true;
    std::size_t at = 0;
    std::uint32_t last = kNoEntry;
    constexpr std::size_t kAhead = 16;
    for (std::size_t k = 0; k < alpha_.size; ++k) {
        if (k + kAhead < alpha_.size) __builtin_prefetch(groups_.data + alpha_.data[k + kAhead]);
        if (k + kAhead / 2 < alpha_.size) __builtin_prefetch(entries_.data + groups_.data[alpha_.data[k + kAhead / 2]].best);
        const std::uint32_t g = alpha_.data[k];
        if (g == last) continue;
        last = g;
        const Group& group = groups_.data[g];
        const Entry& best = entries_.data[group.best];
        table_.data[at++] = GRecord{std::string_view(best.name, best.len), group.total, group.sections, best.case_lead};
    }
    table_.size = at;
    return true;
}

// ---- The instances -------------------------------------------------------------------------

GRecord* g_floor = nullptr;
GRecord* g_nd = nullptr;
GRecord* g_floor3[GMAKE3_INSTANCES] = {};
GRecord* g_nd3[GMAKE3_INSTANCES] = {};
GRecord* g_floor4[GMAKE4_INSTANCES] = {};
GRecord* g_nd4[GMAKE4_INSTANCES] = {};

namespace {

TokenIndex gmake1;  // the single instance
TokenIndex gmake3[GMAKE3_INSTANCES];
TokenIndex gmake4[GMAKE4_INSTANCES] = {TokenIndex(GMAKE4_FIRST_ROOM), TokenIndex(GMAKE4_FIRST_ROOM),
                                       TokenIndex(GMAKE4_FIRST_ROOM), TokenIndex(GMAKE4_FIRST_ROOM)};

void publish1() {
    g_floor = gmake1.floor();
    g_nd = gmake1.end();
}
void publish3(int v) {
    g_floor3[v] = gmake3[v].floor();
    g_nd3[v] = gmake3[v].end();
}
void publish4(int v) {
    g_floor4[v] = gmake4[v].floor();
    g_nd4[v] = gmake4[v].end();
}
bool ok3(int v) { return v >= 0 && v < GMAKE3_INSTANCES; }
bool ok4(int v) { return v >= 0 && v < GMAKE4_INSTANCES; }

}  // namespace

void ResetGmake() {
    gmake1.reset();
    publish1();
}
int PutInG(std::string_view token) { return gmake1.put_soon(token); }
void FinishGmake() {
    gmake1.finish(false, false);
    publish1();
}
void FinishGmakeCase() {
    gmake1.finish(true, false);
    publish1();
}
void FinishGmakeAlpha() {
    gmake1.finish(false, true);
    publish1();
}
void FinishGmakeAlphaCase() {
    gmake1.finish(true, true);
    publish1();
}

void ResetGmake3(int v) {
    if (!ok3(v)) return;
    gmake3[v].reset();
    publish3(v);
}
int PutInG3(int v, std::string_view token) { return ok3(v) ? gmake3[v].put_soon(token) : 0; }
void FinishGmake3(int v) {
    if (!ok3(v)) return;
    gmake3[v].finish(false, false);
    publish3(v);
}
void FinishGmakeCase3(int v) {
    if (!ok3(v)) return;
    gmake3[v].finish(true, false);
    publish3(v);
}
void FinishGmakeAlpha3(int v) {
    if (!ok3(v)) return;
    gmake3[v].finish(false, true);
    publish3(v);
}
void FinishGmakeAlphaCase3(int v) {
    if (!ok3(v)) return;
    gmake3[v].finish(true, true);
    publish3(v);
}

void ResetGmake4(int v) {
    if (!ok4(v)) return;
    gmake4[v].reset();
    publish4(v);
}
int PutInG4(int v, std::string_view token) { return ok4(v) ? gmake4[v].put(token) : 0; }
int PutAllInG4(int v, std::span<const std::string_view> tokens) { return ok4(v) ? gmake4[v].put_all(tokens) : 0; }
void ReserveGmake4(int v, std::size_t distinct) {
    if (ok4(v)) gmake4[v].reserve(distinct);
}
void FinishGmakeCase4(int v) {
    if (!ok4(v)) return;
    gmake4[v].finish(true, false);
    publish4(v);
}
void FinishGmakeAlpha4(int v) {
    if (!ok4(v)) return;
    gmake4[v].finish(false, true);
    publish4(v);
}
void SortGmake4ByName(int v, bool ignore_case) {
    if (!ok4(v)) return;
    gmake4[v].sort_by_name(ignore_case);
    publish4(v);
}

void AllocGmake() {
    gmake1.allocate();
    ResetGmake();
    for (int v = 0; v < GMAKE3_INSTANCES; ++v) {
        gmake3[v].allocate();
        ResetGmake3(v);
    }
    for (int v = 0; v < GMAKE4_INSTANCES; ++v) {
        gmake4[v].allocate();
        ResetGmake4(v);
    }
}

void ReleaseGmake() {
    gmake1.release();
    publish1();
}
void ReleaseGmake3(int v) {
    if (!ok3(v)) return;
    gmake3[v].release();
    publish3(v);
}
void ReleaseGmake4(int v) {
    if (!ok4(v)) return;
    gmake4[v].release();
    publish4(v);
}

void gmake_exhaustion_throws(bool on) { t_exhaustion_throws = on; }

void reset_gmake() {
    ReleaseGmake();
    for (int v = 0; v < GMAKE3_INSTANCES; ++v) ReleaseGmake3(v);
    for (int v = 0; v < GMAKE4_INSTANCES; ++v) ReleaseGmake4(v);
}
