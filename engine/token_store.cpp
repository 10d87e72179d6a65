#include "engine/token_store.h"

#include <algorithm>
#include <cstring>

#include "lexicon/panels.h"
#include "shell/memory.h"
#include "shell/settings.h"
#include "shell/window_state.h"

char glZero[128];

TokenStore store1;
RecordArray store1S;
TokenStore store2;
TokenStore storeR;

SenToken*& sen_floor = store1.rec.floor;
SenToken*& sen_nd = store1.rec.nd;
SenToken*& sen_floorS = store1S.floor;
SenToken*& sen_ndS = store1S.nd;
SenToken*& sen_floor2 = store2.rec.floor;
SenToken*& sen_nd2 = store2.rec.nd;
SenToken*& sen_floorR = storeR.rec.floor;
SenToken*& sen_ndR = storeR.rec.nd;
CharPool& malsen1 = store1.words;
CharPool& malsen1c = store1.gaps;
CharPool& malsen2 = store2.words;
CharPool& malsen2c = store2.gaps;
CharPool& malsenR = storeR.words;
CharPool& malsenRc = storeR.gaps;

namespace {

constexpr std::size_t kMiB = 1'048'576;
// An array made for a very large MAX_WORDS_IN_FILE starts at this many records and grows up to
// the limit, so that a large setting does not reserve gigabytes at start.
constexpr std::size_t kMaxFirstRecords = 4'194'304;
// The same bound for the first block of a pool.
constexpr std::size_t kMaxFirstBlock = 64 * kMiB;
// Records of an array made without limit (MAX_WORDS_IN_FILE = 0) before it first grows.
constexpr std::size_t kUnlimitedFirstRecords = 65'536;

void* alloc_or_exit(std::size_t bytes) {
    void* p = jux_malloc(bytes);
    if (!p) mallocexit();
    return p;
}

std::size_t words_in_file() {
    const std::int32_t n = OP[OPT_MAX_WORDS_IN_FILE].num_value;
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

// The first blocks of a store's pools: words 7 N + 1 MiB, gaps 3 N + `gap_extra`.
void make_pools(TokenStore& st, std::size_t n, std::size_t gap_extra) {
    st.words.allocate(std::min(7 * n + kMiB, kMaxFirstBlock));
    st.gaps.allocate(std::min(3 * n + gap_extra, kMaxFirstBlock));
}

// After copy_store1_to_R store R's record array is store 1's (storeR.rec a copy of store1.rec, the
// same records) and its strings are in store 1's pools; R holds no memory of its own meanwhile.
bool g_r_shares = false;

// Store R leaves the shared records to store 1 and has none of its own.
void r_stop_sharing() {
    if (!g_r_shares) return;
    storeR.rec = RecordArray{};
    g_r_shares = false;
}

// Store 1 is about to be emptied or remade: store R keeps the shared records and strings as its
// own, and store 1 takes new pools and a new record array.
void r_take_over() {
    if (!g_r_shares) return;
    store1.rec = RecordArray{};
    store1.words.swap(storeR.words);
    store1.gaps.swap(storeR.gaps);
    g_r_shares = false;
    make_pools(store1, words_in_file(), kMiB);
}

// Before `a` is emptied or remade.
void before_reset(const RecordArray& a) {
    if (&a == &store1.rec) r_take_over();
    else if (&a == &storeR.rec) r_stop_sharing();
}

// Before a record of `a` is written: a shared array is first copied for store R.
void before_write(const RecordArray& a) {
    if (g_r_shares && (&a == &store1.rec || &a == &storeR.rec)) store_detach_R();
}

void make_array(RecordArray& a, std::size_t limit) {
    before_reset(a);
    if (a.floor) jux_free(a.floor);
    a.limit = limit;
    const std::size_t records = limit ? std::min(limit, kMaxFirstRecords) : kUnlimitedFirstRecords;
    a.cap = records + SENTINEL_RECORDS;
    a.floor = static_cast<SenToken*>(alloc_or_exit(a.cap * sizeof(SenToken)));
    a.nd = a.floor;
    store_seal(a, 0);
}

// Room for `records` records plus the sentinels (at least twice the room it had, unless `exact`);
// existing records move to the new array.
void grow_array(RecordArray& a, std::size_t records, bool exact = false) {
    std::size_t want = exact ? records + SENTINEL_RECORDS : std::max(a.cap * 2, records + SENTINEL_RECORDS);
    if (a.limit) want = std::min(want, a.limit + SENTINEL_RECORDS);
    if (want <= a.cap) return;
    const std::size_t n = a.count();
    auto* fresh = static_cast<SenToken*>(alloc_or_exit(want * sizeof(SenToken)));
    if (n) std::memcpy(fresh, a.floor, n * sizeof(SenToken));
    jux_free(a.floor);
    a.floor = fresh;
    a.nd = fresh + n;
    a.cap = want;
    store_seal(a, a.sentinel_pos);
}

void make_store(TokenStore& st, std::size_t n, std::size_t gap_extra) {
    make_array(st.rec, n);
    make_pools(st, n, gap_extra);
}

}  // namespace

// ---- CharPool ------------------------------------------------------------------------------------

CharPool::~CharPool() { release(); }

void CharPool::release() {
    for (Block& b : blocks_) jux_free(b.base);
    blocks_.clear();
    cur_ = 0;
}

void CharPool::swap(CharPool& other) noexcept {
    blocks_.swap(other.blocks_);
    std::swap(cur_, other.cur_);
    std::swap(first_, other.first_);
}

void CharPool::allocate(std::size_t first_block) {
    release();
    first_ = std::max<std::size_t>(first_block, 1);
    add_block(first_);
}

void CharPool::add_block(std::size_t at_least) {
    Block b;
    b.cap = std::max(at_least, first_ ? first_ : std::size_t{1});
    b.base = static_cast<char*>(alloc_or_exit(b.cap));
    blocks_.push_back(b);
}

// The string does not fit the block being filled (or the pool has none yet).
const char* CharPool::add_in_new_block(const char* s, std::size_t n) {
    if (blocks_.empty()) allocate(kMiB);
    // A full block is left as it is and the string goes into a new last block (the blocks after
    // the one being filled are always released), so strings stay in pool order block by block.
    if (blocks_[cur_].cap - blocks_[cur_].used < n + 1) {
        add_block(n + 1);
        cur_ = blocks_.size() - 1;
    }
    Block& b = blocks_[cur_];
    char* dst = b.base + b.used;
    if (n) std::memcpy(dst, s, n);
    dst[n] = '\0';
    b.used += n + 1;
    return dst;
}

void CharPool::reset() {
    if (blocks_.empty()) return;
    for (std::size_t i = 1; i < blocks_.size(); ++i) jux_free(blocks_[i].base);
    blocks_.resize(1);
    blocks_[0].used = 0;
    cur_ = 0;
}

std::size_t CharPool::used() const {
    std::size_t n = 0;
    for (const Block& b : blocks_) n += b.used;
    return n;
}

bool CharPool::owns(const char* p) const {
    for (const Block& b : blocks_)
        if (p >= b.base && p < b.base + b.used) return true;
    return false;
}

void CharPool::copy_from(const CharPool& src) {
    if (blocks_.empty()) allocate(src.first_ ? src.first_ : kMiB);
    reset();
    for (std::size_t i = 0; i < src.blocks_.size(); ++i) {
        const Block& s = src.blocks_[i];
        if (i > 0 && s.used == 0) break;
        if (i == blocks_.size()) add_block(s.used);
        if (blocks_[i].cap < s.used) {
            jux_free(blocks_[i].base);
            blocks_[i].base = static_cast<char*>(alloc_or_exit(s.used));
            blocks_[i].cap = s.used;
        }
        if (s.used) std::memcpy(blocks_[i].base, s.base, s.used);
        blocks_[i].used = s.used;
        cur_ = i;
    }
}

const char* CharPool::rebase(const CharPool& src, const char* p, std::size_t& cursor) const {
    const std::size_t n = std::min(src.blocks_.size(), blocks_.size());
    for (std::size_t tries = 0; tries < n; ++tries) {
        if (cursor >= n) cursor = 0;
        const Block& s = src.blocks_[cursor];
        if (p >= s.base && p < s.base + s.used) return blocks_[cursor].base + (p - s.base);
        ++cursor;
    }
    return glZero;  // not a string of src: cannot happen for records filled from src
}

// ---- Stores --------------------------------------------------------------------------------------

void smake() {
    const std::size_t n = words_in_file();
    make_store(store1, n, kMiB);
    make_array(store1S, n);
}

namespace {

// The look-up at the caret reads the stores through this (lexicon/panels.h).
bool store_token_under(HWND panel, LONG position, std::string& token, LONG& start) {
    const TokenStore* st = nullptr;
    if (panel && panel == hBigReRight) st = &storeR;
    else if (panel && panel == hBgTextRe) st = &store2;
    if (!st || st->rec.count() == 0) return false;
    const SenToken* r = store_token_at(st->rec, position);
    if (!r) return false;
    token.assign(r->text);
    start = r->pos;
    return true;
}

}  // namespace

void smake2() {
    make_store(store2, words_in_file(), 2 * kMiB);
    store_token_hook = store_token_under;
}

void smakeR() {
    make_store(storeR, words_in_file(), 2 * kMiB);
    store_token_hook = store_token_under;
}

void store_reserve(RecordArray& a, std::size_t records) {
    before_write(a);
    if (a.floor && !a.limit && records + SENTINEL_RECORDS > a.cap) grow_array(a, records, true);
}

void store_reset(RecordArray& a) {
    before_reset(a);
    if (!a.floor) make_array(a, words_in_file());
    // Every fill follows the option as it is now (it may have changed since the store was made):
    // the array grows up to a larger limit as it fills.
    a.limit = words_in_file();
    a.nd = a.floor;
    store_seal(a, 0);
}

void store_reset(TokenStore& st) {
    store_reset(st.rec);
    if (st.words.blocks() == 0) st.words.allocate(kMiB);
    if (st.gaps.blocks() == 0) st.gaps.allocate(kMiB);
    st.words.reset();
    st.gaps.reset();
}

bool store_has_room(const RecordArray& a) {
    return a.limit == 0 || a.count() + 1 < a.limit;
}

SenToken* store_push_record(RecordArray& a, const SenToken& r) {
    before_write(a);
    if (!a.floor) make_array(a, words_in_file());
    if (a.count() + 1 + SENTINEL_RECORDS > a.cap) grow_array(a, a.count() + 1);
    if (a.count() + 1 + SENTINEL_RECORDS > a.cap) return nullptr;  // full: the caller checks room
    SenToken* rec = a.nd++;
    *rec = r;
    a.nd[SENTINEL_RECORDS - 1] = SenToken{glZero, glZero, a.sentinel_pos};
    return rec;
}

SenToken* store_push(TokenStore& st, std::string_view text, std::string_view gap, std::int32_t pos) {
    RecordArray& a = st.rec;
    before_write(a);
    if (!a.floor || a.count() + 1 + SENTINEL_RECORDS > a.cap) {
        if (!a.floor) make_array(a, words_in_file());
        if (a.count() + 1 + SENTINEL_RECORDS > a.cap) grow_array(a, a.count() + 1);
        if (a.count() + 1 + SENTINEL_RECORDS > a.cap) return nullptr;  // full: the caller checks room
    }
    SenToken* rec = a.nd++;
    rec->text = text.empty() ? glZero : st.words.add(text.data(), text.size());
    rec->gap = gap.empty() ? glZero : st.gaps.add(gap.data(), gap.size());
    rec->pos = pos;
    SenToken& ahead = a.nd[SENTINEL_RECORDS - 1];
    ahead.text = glZero;
    ahead.gap = glZero;
    ahead.pos = a.sentinel_pos;
    return rec;
}

void store_seal(RecordArray& a, std::int32_t pos_end) {
    before_write(a);
    a.sentinel_pos = pos_end;
    if (!a.floor) return;
    SenToken s{glZero, glZero, pos_end};
    std::fill(a.nd, a.nd + SENTINEL_RECORDS, s);
}

void copy_store1_to_R() {
    if (g_r_shares) return;  // store 1 has not been written since
    store_token_hook = store_token_under;  // the look-up at the caret reads store R from now on
    // R's own records and strings are not needed while it shares store 1's.
    jux_free(storeR.rec.floor);
    storeR.words.release();
    storeR.gaps.release();
    storeR.rec = store1.rec;
    g_r_shares = true;
}

void store_detach_R() {
    if (!g_r_shares) return;
    r_stop_sharing();
    smakeR();
    storeR.words.copy_from(store1.words);
    storeR.gaps.copy_from(store1.gaps);
    RecordArray& r = storeR.rec;
    r.nd = r.floor;
    const std::size_t n = store1.rec.count();
    if (n + SENTINEL_RECORDS > r.cap) {
        // Store R was made with the same limit as store 1; without limit it grows with it.
        const std::size_t keep = r.limit;
        r.limit = 0;
        grow_array(r, n, true);
        r.limit = keep;
    }
    std::size_t wc = 0, gc = 0;
    for (const SenToken* s = store1.rec.floor; s < store1.rec.nd && r.count() + SENTINEL_RECORDS < r.cap; ++s) {
        SenToken d;
        d.text = s->text == glZero ? glZero : storeR.words.rebase(store1.words, s->text, wc);
        d.gap = s->gap == glZero ? glZero : storeR.gaps.rebase(store1.gaps, s->gap, gc);
        d.pos = s->pos;
        *r.nd++ = d;
    }
    store_seal(r, store1.rec.sentinel_pos);
}

const SenToken* store_token_at(const RecordArray& a, std::int32_t position) {
    if (!a.floor) return nullptr;
    // pos never decreases, so the first record whose pos is not below the position is found by
    // binary search over the records and the first sentinel.
    const SenToken* end = a.nd + 1;
    const SenToken* r = std::lower_bound(static_cast<const SenToken*>(a.floor), end, position,
                                         [](const SenToken& t, std::int32_t p) { return t.pos < p; });
    if (r == end) return a.nd > a.floor ? a.nd - 1 : a.floor;
    if (r->pos > position && r > a.floor) --r;
    return r;
}

void store_release_all() {
    r_stop_sharing();
    for (TokenStore* st : {&store1, &store2, &storeR}) {
        if (st->rec.floor) jux_free(st->rec.floor);
        st->rec = RecordArray{};
        st->words.release();
        st->gaps.release();
    }
    if (store1S.floor) jux_free(store1S.floor);
    store1S = RecordArray{};
}
