// engine/token_store.h - the three token stores: a text cut into records of {token, gap, position}.
//
// A store is an array of SenToken records, one per token with the run of non-token characters
// before it (its gap) and the token's offset in the source panel, followed by 1,024 empty sentinel
// records, and two character pools (words and gaps) that hold the strings the records point to.
//
//   store 1  filled by translate_text on every run; every pass of the run walks it
//            (sen_floor .. sen_nd, pools malsen1 / malsen1c), with a second record array
//            sen_floorS .. sen_ndS that points into store 1's pools (the subtitle text)
//   store 2  filled by the Bulgarian-text pass (sen_floor2 .. sen_nd2, pools malsen2 / malsen2c)
//   store R  store 1's text as it stood after a scan of the checker window's text panel
//            (sen_floorR .. sen_ndR, pools malsenR / malsenRc); see copy_store1_to_R
//
// Invariants after every fill:
//   1. the records from the floor to the fill end are the text's records in text order, `pos` not
//      decreasing;
//   2. a non-empty `text` points into the store's word pool, a non-empty `gap` into its gap pool,
//      and an empty field points at glZero;
//   3. the 1,024 records from the fill end on are sentinels {glZero, glZero, text length}.
// A reset store is empty and followed by sentinels with `pos` 0, so that a pass that reads ahead
// in an empty store reads empty records.
//
// Pools never move a string: when a block is full the pool takes another one, so every pointer
// into a store stays valid until the store is next reset. The record array is sized at start for
// MAX_WORDS_IN_FILE records plus the sentinels (a very large setting starts at 4,194,304 records
// and grows up to it); with MAX_WORDS_IN_FILE = 0 there is no limit and it grows as needed. Its
// records may move when it grows, which happens only while the store is being filled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

// One token of a processed text.
struct SenToken {
    const char* text;  // the token (NUL-terminated, code page 1251), glZero when the record has none
    const char* gap;   // the non-token characters before it, glZero when there are none
    std::int32_t pos;  // offset of the token's first character in the source panel (UTF-16 units)
};

inline constexpr std::size_t SENTINEL_RECORDS = 1'024;  // empty records after the last one

// The shared empty text: 128 zero bytes; every empty `text` or `gap` points at it.
extern char glZero[128];

// A character pool: strings appended one after another, each with its NUL; never moved, never
// freed one by one. Blocks come from jux_malloc; exhaustion goes to mallocexit.
class CharPool {
public:
    CharPool() = default;
    ~CharPool();
    CharPool(const CharPool&) = delete;
    CharPool& operator=(const CharPool&) = delete;

    // Gives the pool its first block of `first_block` bytes (start-up).
    void allocate(std::size_t first_block);
    // Appends n bytes and a NUL; returns the copy.
    const char* add(const char* s, std::size_t n) {
        if (!blocks_.empty()) {
            Block& b = blocks_[cur_];
            if (b.cap - b.used > n) {
                char* dst = b.base + b.used;
                if (n) std::memcpy(dst, s, n);
                dst[n] = '\0';
                b.used += n + 1;
                return dst;
            }
        }
        return add_in_new_block(s, n);
    }
    // Empties the pool: the fill point goes back to the start of the first block; further blocks
    // are released.
    void reset();
    // Makes this pool a byte-for-byte copy of the used part of `src` (same block layout), so that
    // a string of `src` lives at the same block and offset here (see rebase).
    void copy_from(const CharPool& src);
    // The address in this pool of the string at `p` in `src`, after copy_from(src). `cursor` is the
    // block to try first; pass the same variable for the strings of one walk in pool order.
    const char* rebase(const CharPool& src, const char* p, std::size_t& cursor) const;
    // True when p points into the used part of this pool.
    bool owns(const char* p) const;
    // Frees every block (program exit and tests); allocate makes the pool again.
    void release();
    // Exchanges the blocks of two pools; every string stays where it is, now owned by the other.
    void swap(CharPool& other) noexcept;

    std::size_t used() const;                             // bytes used (strings and their NULs)
    std::size_t first_block() const { return first_; }   // size of the first block
    std::size_t blocks() const { return blocks_.size(); }
    const char* base() const { return blocks_.empty() ? nullptr : blocks_.front().base; }

private:
    struct Block {
        char* base = nullptr;
        std::size_t cap = 0;
        std::size_t used = 0;
    };
    void add_block(std::size_t at_least);
    const char* add_in_new_block(const char* s, std::size_t n);

    std::vector<Block> blocks_;
    std::size_t cur_ = 0;    // block being filled
    std::size_t first_ = 0;  // size of the first block
};

// An array of records with its fill end; `cap` counts the sentinel room.
struct RecordArray {
    SenToken* floor = nullptr;  // first record
    SenToken* nd = nullptr;     // one past the last stored record
    std::size_t cap = 0;        // records the array can hold, sentinels included
    std::size_t limit = 0;      // MAX_WORDS_IN_FILE when the array was last reset (0: no limit)
    std::int32_t sentinel_pos = 0;  // `pos` of the sentinel records

    std::size_t count() const { return static_cast<std::size_t>(nd - floor); }
};

// One store: its records and its two pools.
struct TokenStore {
    RecordArray rec;
    CharPool words;  // the tokens
    CharPool gaps;   // the gaps
};

extern TokenStore store1;      // the engine's store
extern RecordArray store1S;    // store 1's second array (subtitle text), pointing into store 1's pools
extern TokenStore store2;      // the Bulgarian-text window's store
extern TokenStore storeR;      // the copy of store 1 for the checker window's text panel

// The system's names of the stores' parts.
extern SenToken*& sen_floor;   // store 1: first record
extern SenToken*& sen_nd;      // store 1: fill end
extern SenToken*& sen_floorS;  // store 1's second array: first record
extern SenToken*& sen_ndS;     // store 1's second array: fill end
extern SenToken*& sen_floor2;  // store 2: first record
extern SenToken*& sen_nd2;     // store 2: fill end
extern SenToken*& sen_floorR;  // store R: first record
extern SenToken*& sen_ndR;     // store R: fill end
extern CharPool& malsen1;      // store 1: word pool (fill point: malsen1.used())
extern CharPool& malsen1c;     // store 1: gap pool
extern CharPool& malsen2;      // store 2: word pool
extern CharPool& malsen2c;     // store 2: gap pool
extern CharPool& malsenR;      // store R: word pool
extern CharPool& malsenRc;     // store R: gap pool

// Allocation at start (MAX_WORDS_IN_FILE = N, read now): record arrays of N + 1,024 records, word
// pools of 7 N + 1 MiB, gap pools of 3 N + 1 MiB (store 1) or 3 N + 2 MiB (stores 2 and R).
void smake();   // store 1 and its second array
// smake2 and smakeR also let the look-up at the caret read stores 2 and R (store_token_hook).
void smake2();  // store 2
void smakeR();  // store R

// Empties a store (fill end = floor, pools emptied) and writes sentinels with `pos` 0. The store's
// record limit becomes the current MAX_WORDS_IN_FILE.
void store_reset(TokenStore& st);
void store_reset(RecordArray& a);
// Room for `records` records in an array made without limit, taken at once (a run that knows how
// many tokens to expect takes no more than it needs); an array with a limit is left as it is.
void store_reserve(RecordArray& a, std::size_t records);

// True when one more record may be stored: with a limit N, a store holds at most N - 1 records.
bool store_has_room(const RecordArray& a);
// Appends a record (the strings are copied into the store's pools; empty ones become glZero) and
// returns it. The caller has checked store_has_room; an array without limit grows here.
SenToken* store_push(TokenStore& st, std::string_view text, std::string_view gap, std::int32_t pos);
// Appends a record whose strings already live in pools (the second array of store 1).
SenToken* store_push_record(RecordArray& a, const SenToken& r);
// Writes the 1,024 sentinel records {glZero, glZero, pos_end} from the fill end on. Every later
// push keeps them: the 1,024 records after the fill end stay sentinels while the store fills, so
// that a pass reading ahead in a store that is still being filled (through the message pump)
// reads empty records.
void store_seal(RecordArray& a, std::int32_t pos_end);

// Makes store R describe store 1's text, sentinels included. Store R shares store 1's records and
// pools (sen_floorR == sen_floor) rather than holding a second copy of them, until store 1 is
// next written: a reset of store 1 hands them over to store R (store 1 takes R's former memory),
// and any other write into either store first gives store R its own copy (store_detach_R).
// Resetting store R ends the sharing.
void copy_store1_to_R();
// Gives store R its own copy of the records and strings it shares with store 1, if it shares
// them: pools byte for byte, records rebased into R's pools. A pass that edits store 1's records
// in place calls it first.
void store_detach_R();

// The record under a character position: the first record whose `pos` is not below `position`,
// or the one before it when that `pos` is greater (never before the first record). The walk
// includes the first sentinel record. Null for an empty store.
const SenToken* store_token_at(const RecordArray& a, std::int32_t position);

// Releases every store (tests and program exit); the stores can be made again.
void store_release_all();
