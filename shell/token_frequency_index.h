// shell/token_frequency_index.h - the token frequency index.
//
// An instance counts the occurrences of 8-bit tokens and, when finished, presents a table of
// GRecord (one per distinct token, or per case-insensitive group) from its floor to its end.
// Tokens are taken in sections of TOKENS_IN_SECTION tokens; each section is folded into the
// table when it fills (and the last, partial one when the instance is finished), which gives each
// record the number of sections it occurred in and the number of sections in which its spelling
// was the most frequent one of its case-insensitive group (its "lead").
//
// Instances: the single instance (family 1: ResetGmake, PutInG, FinishGmake..., g_floor/g_nd),
// family 3 (instances 0 to 4, same sizes) and family 4 (instances 0 to 3, smaller first tables).
// The options (and the locale's case folding) are read when an instance is reset (or first
// used): a token longer than MAX_TOKEN_LENGTH bytes (when that is at least 1), an empty token,
// and a token of digits only while DIGITS_ONLY_TOKENS is 0 are not counted.
//
// Sort orders of the finished table:
//   FinishGmake / ...Case:        count descending, then name ascending (byte order);
//   FinishGmakeAlpha / ...AlphaCase: name ascending case-insensitively, then count descending
//                                 (then byte order, so that the order is always the same).
// The plain variants keep spellings apart; the Case variants merge spellings that differ only in
// case into one record named by the spelling that led the most sections (then the most frequent,
// then the first in byte order); its count and sections are the group's, case_lead the spelling's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/flat_table.h"
#include "shell/memory.h"

// Bytes that can be read from the start of any name of an index (the name, its NUL and bytes of
// no meaning after it), so that a short name can be copied as one block.
inline constexpr std::size_t GRECORD_NAME_READABLE = 16;

// One distinct token (or case-insensitive group) of a finished index.
struct GRecord {
    std::string_view name;    // the token; NUL-terminated in the index's name pool
    std::uint32_t count = 0;      // occurrences
    std::uint32_t sections = 0;   // sections in which it occurred
    std::uint32_t case_lead = 0;  // sections in which this spelling led its case-insensitive group
};

inline constexpr int GMAKE3_INSTANCES = 5;  // family 3: instances 0 to 4
inline constexpr int GMAKE4_INSTANCES = 4;  // family 4: instances 0 to 3
// Tables of the main table: first room in entries, and the size below which a failed allocation
// is not retried smaller.
inline constexpr std::size_t GMAKE_FIRST_ROOM = 16'384;
inline constexpr std::size_t GMAKE4_FIRST_ROOM = 2'048;
inline constexpr std::size_t GMAKE_RETRY_FLOOR = 9'999;

// A block of jux_malloc for `n` items of `size` bytes; when memory runs out, what the index does
// then (gmake_exhaustion_throws): a std::bad_alloc thrown, or mallocexit.
void* gmake_block_or_exhausted(std::size_t n, std::size_t size);
// The allocator of the index's hash slots: its blocks come from jux_malloc as its other tables'.
template <class T>
struct GmakeAllocator {
    using value_type = T;
    GmakeAllocator() = default;
    template <class U>
    GmakeAllocator(const GmakeAllocator<U>&) {}
    T* allocate(std::size_t n) { return static_cast<T*>(gmake_block_or_exhausted(n, sizeof(T))); }
    void deallocate(T* p, std::size_t) { jux_free(p); }
    friend bool operator==(const GmakeAllocator&, const GmakeAllocator&) { return true; }
};

// The state of one instance of the index.
class TokenIndex {
public:
    explicit TokenIndex(std::size_t first_room = GMAKE_FIRST_ROOM) : first_room_(first_room) {}
    ~TokenIndex();
    TokenIndex(const TokenIndex&) = delete;
    TokenIndex& operator=(const TokenIndex&) = delete;

    // Empties the instance (its tables keep their room) and reads the options.
    void reset();
    // Counts one token; 1 when counted, 0 when skipped.
    int put(std::string_view token);
    // Counts the tokens in their order, as put() one after the other; answers how many counted.
    int put_all(std::span<const std::string_view> tokens);
    // Answers as put(), but may keep the token (copied) waiting with a few more, to be counted in
    // one batch as put_all() does: whatever reads or counts next (finish, sort_by_name, distinct,
    // tokens, capacity, put, put_all) counts the waiting tokens first, in their order.
    int put_soon(std::string_view token);
    // Folds the open section and builds the table: `merge_case` merges case variants, `alpha`
    // selects the alphabetical order.
    void finish(bool merge_case, bool alpha);
    // Re-sorts the finished table by name, in byte order or ignoring case (the current locale's
    // folding, as cp_strcasecmp); records whose names compare equal keep their order.
    void sort_by_name(bool ignore_case);
    // Makes the first tables (the main table with its first room) unless they exist.
    void allocate();
    // Releases every buffer (the instance stays usable and allocates again when used).
    void release();
    // Makes room for this many distinct spellings at once, when the memory is there, so that
    // counting them does not move the main table and the groups again and again. Room not used
    // is only address space: its pages are not touched.
    void reserve(std::size_t distinct);

    GRecord* floor() { return table_.data; }
    GRecord* end() { return table_.data + table_.size; }
    std::size_t distinct() { count_waiting(); return entries_.size; }  // distinct spellings so far
    std::size_t capacity() { count_waiting(); return entries_.cap; }   // room of the main table
    std::uint64_t tokens() { count_waiting(); return tokens_; }        // tokens counted since the reset
    static std::size_t entry_bytes();                          // bytes per entry of the main table

    // A growable array of plain records in jux_malloc blocks.
    template <class T>
    struct Array {
        T* data = nullptr;
        std::size_t size = 0;
        std::size_t cap = 0;
        void free_all();
    };

private:
    struct Entry;
    struct Group;
    struct Key;
    // Orders of the table: count descending then byte order; case-insensitive then count
    // descending then byte order; byte order; case-insensitive with ties kept as they were.
    enum class Order : std::uint8_t { count, alpha, bytes, folded };

    void read_options();
    bool countable(std::string_view token) const;
    int put_batch(std::span<const std::string_view> tokens);
    void count_waiting();
    int put_hashed(std::string_view token, std::uint32_t hash);
    void fold_section();
    std::uint32_t add_entry(std::string_view token, std::uint32_t hash, std::uint32_t group, std::uint32_t prev,
                            std::size_t slot);
    void grow_entries();
    void rehash(std::size_t want);
    const char* store_name(std::string_view token);
    void build_table(Order order, Order tie);
    Key* sorted_keys(Order order, Key* lo, Key* hi);
    Key* count_keys_from_bytes(Key* lo, Key* hi);
    bool merged_folded_from_alpha();
    int compare(Order order, const Key& a, const Key& b) const;

    std::size_t first_room_;
    bool options_read_ = false;
    std::int64_t section_size_ = 1;
    std::int64_t max_len_ = 0;
    bool digits_only_ = false;
    const unsigned char* lower_ = nullptr;  // case folding of the locale when the index was reset

    Array<Entry> entries_;            // the main table: one entry per distinct spelling
    Array<Group> groups_;             // one per case-insensitive group
    // The groups' first spellings (entry numbers) by the hash of their folded bytes, so that one
    // table finds a token's spelling and its group.
    FlatTable<NumberedSlot, GmakeAllocator<NumberedSlot>> slots_;
    Array<std::uint32_t> touched_;    // entries that occurred in the open section
    Array<GRecord> table_;            // the finished table
    Array<std::uint32_t> alpha_;      // the groups of the spellings in their alphabetical order
    bool alpha_fresh_ = false;        // alpha_ holds that order for the counts as they stand
    Array<std::uint32_t> bytes_;      // entries in byte order, while it holds every entry
    Array<std::uint32_t> named_count_;  // per entry: its group's count when it names the group, else 0
    bool merged_ = false;             // the table merges case variants
    bool table_fresh_ = false;        // the table is built from the counts as they stand
    Order order_ = Order::count;      // the table's order
    Order tie_ = Order::bytes;        // what orders ties of Order::folded
    std::vector<JuxBlock> pool_;      // name pool blocks; names never move
    std::size_t pool_used_ = 0;       // bytes used in the last block
    std::size_t pool_block_ = 0;      // size of the last block
    std::int64_t in_section_ = 0;     // tokens in the open section
    std::uint32_t section_no_ = 0;    // number of the open section (from 1)
    std::uint64_t tokens_ = 0;
    // Tokens waiting to be counted (put_soon): their bytes one after the other, and where each ends.
    static constexpr std::size_t kWaiting = 16;
    static constexpr std::size_t kWaitingBytes = 512;
    char waiting_[kWaitingBytes];
    std::uint32_t waiting_end_[kWaiting];
    std::size_t waiting_n_ = 0;
};

// ---- The single instance (family 1) ---------------------------------------------------------
extern GRecord* g_floor;  // first record of the single instance's finished table
extern GRecord* g_nd;     // one past its last record
void ResetGmake();
int PutInG(std::string_view token);  // TokenIndex::put_soon: counted in batches of a few tokens
void FinishGmake();           // case-sensitive, by count
void FinishGmakeCase();       // case variants merged, by count
void FinishGmakeAlpha();      // case-sensitive, alphabetical
void FinishGmakeAlphaCase();  // case variants merged, alphabetical

// ---- Family 3 (instance v, 0 to 4) ----------------------------------------------------------
extern GRecord* g_floor3[GMAKE3_INSTANCES];
extern GRecord* g_nd3[GMAKE3_INSTANCES];
void ResetGmake3(int v);
int PutInG3(int v, std::string_view token);  // put_soon, as PutInG
void FinishGmake3(int v);
void FinishGmakeCase3(int v);
void FinishGmakeAlpha3(int v);
void FinishGmakeAlphaCase3(int v);

// ---- Family 4 (instance v, 0 to 3) ----------------------------------------------------------
extern GRecord* g_floor4[GMAKE4_INSTANCES];
extern GRecord* g_nd4[GMAKE4_INSTANCES];
void ResetGmake4(int v);
int PutInG4(int v, std::string_view token);
int PutAllInG4(int v, std::span<const std::string_view> tokens);  // PutInG4 of each, in order
void ReserveGmake4(int v, std::size_t distinct);                  // TokenIndex::reserve
void FinishGmakeCase4(int v);   // case variants merged, by count
void FinishGmakeAlpha4(int v);  // case-sensitive, alphabetical
// Re-sorts the finished table by name (TokenIndex::sort_by_name).
void SortGmake4ByName(int v, bool ignore_case);

// An instance number outside its family is ignored (no effect, PutInG3/4 answer 0).

// Allocates the first tables of every instance (start-up).
void AllocGmake();
// Releases the buffers of the single instance / of one instance of family 3 or 4 (program exit);
// the tables read empty afterwards.
void ReleaseGmake();
void ReleaseGmake3(int v);
void ReleaseGmake4(int v);

// The subsystem's reset for test fixtures: every instance released and emptied.
void reset_gmake();

// While on, an index whose memory runs out on this thread throws std::bad_alloc there instead of
// going to mallocexit, which speaks to the user: a helper thread counting into an index of its own
// turns it on, and the thread that waits for the helper reports the exhaustion.
void gmake_exhaustion_throws(bool on);
