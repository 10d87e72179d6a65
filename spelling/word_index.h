// spelling/word_index.h - fast case-insensitive membership over the sorted word lists.
//
// The suggestion generators ask "is this candidate a listed word, and what is its rank?" hundreds
// of times per misspelt word. A binary search with cmp_g costs some twenty case-insensitive string
// comparisons per question; a WordIndex answers it with one hash probe. The index is built once
// from a sorted ListPair list: every key is folded to lower case under the current character-type
// locale (the folding cp_strcasecmp and cmp_g use), so "found" means exactly what a binary search
// with cmp_g means. Among keys equal under folding the first one in list order is the one found,
// as with find_pair. The rank of every entry (the decimal rank text, or kRankUnranked for an entry
// without one) is read once at build time.
//
// Nearly every question of the generators is not a word. A small filter in front of the slot table
// turns most of those away from one cache line, and the keys are hashed as polynomials, so that
// the hash of a candidate one letter away from the word is made from the word's own prefix and
// suffix hashes (KeyHasher, find_hashed) instead of from all its letters again.
//
// word_index(list, owner) keeps one index per list and rebuilds it when the list changes (another
// address, another length, other first/middle/last keys, another locale). `owner`, the block the
// keys point into (a row's `text`), is kept alive by the index, so that a list loaded afresh can
// never reuse the addresses of the one indexed. Code that edits a list's entries in place without
// changing their number calls drop_word_indexes() afterwards. A caller that asks one list often
// keeps its index in a KeptWordIndex, which holds the one rule of when a kept index still serves.
#pragma once

#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/hash.h"
#include "platform/text.h"
#include "shell/lists.h"

// atoi of a rank text: optional leading blanks, optional sign, the digits up to the first other
// character; values beyond 32 bits saturate. A list entry without a rank text ranks kRankUnranked.
std::int32_t rank_of_text(std::string_view text);
std::int32_t rank_of_entry(const ListPair& entry);

// The key hash of a word folded to lower case under the current character-type locale (the hash
// family and its other variants: platform/hash.h).
inline std::uint64_t folded_key_hash(std::string_view word) {
    return folded_key_hash(word, cp1251_detail::current_ctype->lower);
}

// The key hashes of the words one edit away from a word (its letters folded to lower case under
// the current character-type locale, as the indexes fold their keys).
class KeyHasher {
public:
    void prepare(std::string_view word);
    std::size_t size() const { return n_; }
    std::uint64_t whole() const { return key_hash_mix(prefix_[n_], n_); }
    // The word without its letters [from, to).
    std::uint64_t dropped(std::size_t from, std::size_t to) const {
        return key_hash_mix(prefix_[from] * power_[n_ - to] + suffix_[to], n_ - (to - from));
    }
    // The word with `letter` put before index `at` (at = size(): after its end).
    std::uint64_t inserted(std::size_t at, unsigned char letter) const {
        return key_hash_mix((prefix_[at] * kKeyHashBase + lower_[letter]) * power_[n_ - at] + suffix_[at], n_ + 1);
    }
    // Any other word, folded as the prepared word was.
    std::uint64_t of(std::string_view other) const {
        std::uint64_t p = 0;
        for (unsigned char c : other) p = p * kKeyHashBase + lower_[c];
        return key_hash_mix(p, other.size());
    }
    // The word with its letter at `at` changed to `letter`.
    std::uint64_t changed(std::size_t at, unsigned char letter) const {
        const std::uint64_t delta = static_cast<std::uint64_t>(lower_[letter]) - static_cast<std::uint64_t>(folded_[at]);
        return key_hash_mix(prefix_[n_] + delta * power_[n_ - 1 - at], n_);
    }
    // The word with a hole (the byte 0) for its letter at `at`, and with a hole put before index
    // `at`: what WordIndex::may_fill_hole is asked about the candidates with any letter there.
    std::uint64_t with_hole(std::size_t at) const {
        return key_hash_mix(prefix_[n_] - static_cast<std::uint64_t>(folded_[at]) * power_[n_ - 1 - at], n_);
    }
    std::uint64_t with_gap(std::size_t at) const {
        return key_hash_mix(prefix_[at] * kKeyHashBase * power_[n_ - at] + suffix_[at], n_ + 1);
    }

private:
    std::size_t n_ = 0;
    const unsigned char* lower_ = nullptr;
    std::vector<unsigned char> folded_;
    std::vector<std::uint64_t> prefix_;  // prefix_[i]: the polynomial of the first i letters
    std::vector<std::uint64_t> suffix_;  // suffix_[i]: the polynomial of the letters from i on
    std::vector<std::uint64_t> power_;   // power_[k] = kKeyHashBase^k
};

// A near match (edit_candidates.h) is a word of at least this many letters, and so is every list
// entry compared with it: the buckets of the near-match scan hold the keys of this length and longer.
inline constexpr std::size_t kNearMatchLeast = 6;

class WordIndex {
public:
    // Indexes `list` (which must stay unchanged while the index is used); `owner` is kept alive.
    // With `near_buckets`, the near-match buckets are built too, on a thread beside the rest where
    // one is to be had.
    void build(std::span<const ListPair> list, std::shared_ptr<const void> owner = {}, bool near_buckets = false);

    // The list position of the first entry equal to `word` case-insensitively, or -1. Never
    // allocates.
    std::ptrdiff_t find(std::string_view word) const;
    // Starts reading what find_hashed reads for a word of this hash, so that the questions of
    // several indexes about one word wait on memory together.
    void prefetch(std::uint64_t hash) const {
        if (list_.empty()) return;
        __builtin_prefetch(&filter_[((hash >> 32) * filter_.size()) >> 32]);
        __builtin_prefetch(&slots_[hash & mask_]);
    }
    // The same, given the key hash of the word folded (KeyHasher, folded_key_hash): most words
    // that are not keys are turned away before the word is read.
    std::ptrdiff_t find_hashed(std::string_view word, std::uint64_t hash) const {
        if (list_.empty() || word.size() > max_len_ || !filter_may_hold(hash)) return -1;
        return probe(word, hash);
    }
    const ListPair* find_entry(std::string_view word) const {
        const std::ptrdiff_t i = find(word);
        return i < 0 ? nullptr : &list_[static_cast<std::size_t>(i)];
    }

    // Keys of at most this many letters are in the hole filter.
    static constexpr std::size_t kMaxHoleLength = 6;
    // Whether some key of `length` letters may agree with a word of that length everywhere but at
    // one place, given the key hash of the word with a hole there (KeyHasher::with_hole, with_gap).
    // Never false when one does: a suggestion generator told no need not try the letters of that
    // place, none of them gives a key. Always true beyond kMaxHoleLength. The filter of the holes of
    // the short keys is built on first use (questions may come from several threads at once).
    bool may_fill_hole(std::uint64_t holed_hash, std::size_t length) const {
        if (length > kMaxHoleLength) return true;
        if (!holes_built_.load(std::memory_order_acquire)) build_holes();
        return blocks_may_hold(holes_, holed_hash);
    }

    std::size_t size() const { return list_.size(); }
    std::span<const ListPair> list() const { return list_; }
    const ListPair& entry(std::size_t i) const { return list_[i]; }
    std::int32_t rank(std::size_t i) const { return rank_[i]; }
    // The key of entry i folded to lower case, as the index folded it, into `out`.
    void folded_key(std::size_t i, std::string& out) const;
    std::size_t max_key_length() const { return max_len_; }
    // Whether the keys were in cmp_g order when indexed: then the entry found is the one a binary
    // search with cmp_g finds (find_pair asks the index only then).
    bool sorted() const { return sorted_; }
    // Keys up to this length are in the near-match buckets.
    static constexpr std::size_t kMaxBucketLength = 64;

    // The near-match buckets. A near match agrees with the word on at least three of four letters:
    // its first, second, last and second-to-last. `triple` names three of them - 0 first, second,
    // last; 1 first, second, second-to-last; 2 first, last, second-to-last; 3 second, last,
    // second-to-last - and the bucket holds the places (in list order) of the folded keys of the
    // entries of `length` letters (kNearMatchLeast to kMaxBucketLength) whose folded letters there are `a`, `b`,
    // `c` (key_at_place, position_at_place). Built by build_near_buckets (the start does it for the
    // lists that are searched so), otherwise on first use.
    class NearPositions {
    public:
        NearPositions() = default;
        NearPositions(const unsigned char* at, std::size_t size, unsigned width) : at_(at), size_(size), width_(width) {}
        std::size_t size() const { return size_; }
        std::uint32_t operator[](std::size_t k) const { return read_position(at_ + k * width_, width_); }

    private:
        const unsigned char* at_ = nullptr;
        std::size_t size_ = 0;
        unsigned width_ = 4;
    };
    NearPositions near_bucket(std::size_t length, int triple, unsigned char a, unsigned char b, unsigned char c) const;
    // The folded key and the list position of the entry whose key is at `place` (a place from
    // near_bucket).
    std::string_view key_at_place(std::uint32_t place) const { return std::string_view(arena_.data() + place, length_at(place)); }
    std::size_t position_at_place(std::uint32_t place) const { return position_at(place); }
    // Builds the near-match buckets now, unless they are built.
    void build_near_buckets() const;

    // What the index compares to decide whether the list is still the one indexed.
    struct Fingerprint {
        const ListPair* data = nullptr;
        std::size_t size = 0;
        const char* first = nullptr;
        const char* middle = nullptr;
        const char* last = nullptr;
        bool cyrillic_locale = true;
        std::string first_key, middle_key, last_key;  // copies, in case the addresses were reused
        bool operator==(const Fingerprint&) const = default;
    };
    static Fingerprint fingerprint_of(std::span<const ListPair> list);
    const Fingerprint& fingerprint() const { return fp_; }
    // Whether this index was built from `list` as it is now (same test as comparing
    // fingerprint_of(list) with fingerprint(), without copying keys).
    bool indexes(std::span<const ListPair> list) const;
    // The part of that test read without reading a key: the list's entries, their number, the
    // block its keys point into and the letter case rules are those of the index.
    bool indexes_in_place(std::span<const ListPair> list, const void* owner) const {
        return list_.data() == list.data() && list_.size() == list.size() && owner_.get() == owner &&
               fp_.cyrillic_locale == (cp1251_detail::current_ctype == &cp1251_detail::full_ctype);
    }
    // A number no other build of any index had: answers read from an index stay true while its
    // build number is the same.
    std::uint64_t build_number() const { return build_number_; }
    // The block the keys point into, kept alive by the index (null when none was given).
    const void* owner() const { return owner_.get(); }

private:
    std::span<const ListPair> list_;
    std::shared_ptr<const void> owner_;
    Fingerprint fp_;
    std::uint64_t build_number_ = 0;
    // Every folded key, one after another, each behind a head that holds its entry's list position
    // and its length, so that a slot leads to all a question compares in one read. The head is one
    // 32-bit word, the position in its low pos_bits_ bits and the length above them, when every
    // length fits there (a usual list: a million entries leave lengths up to 4,095); otherwise it is
    // two, the position and then the length.
    std::string arena_;
    bool wide_head_ = false;
    unsigned pos_bits_ = 32;
    std::uint32_t length_at(std::uint32_t at) const {
        std::uint32_t v;
        std::memcpy(&v, arena_.data() + at - 4, 4);
        return wide_head_ ? v : v >> pos_bits_;
    }
    std::uint32_t position_at(std::uint32_t at) const {
        std::uint32_t v;
        if (wide_head_) {
            std::memcpy(&v, arena_.data() + at - 8, 4);
            return v;
        }
        std::memcpy(&v, arena_.data() + at - 4, 4);
        return v & ((std::uint32_t{1} << pos_bits_) - 1);
    }
    std::vector<std::int32_t> rank_;  // rank of entry i
    // Open addressing, 32 bits a slot: the place of a key in arena_ (below 2^at_bits_) and, above
    // it, as many of the high bits of the key's hash as are left, so that a probe passes most other
    // keys without reading them. 0 is an empty slot (no key begins at 0).
    std::vector<std::uint32_t> slots_;
    std::uint64_t mask_ = 0;
    unsigned at_bits_ = 32;
    std::uint64_t tag_of(std::uint64_t hash) const { return (hash >> 32) >> at_bits_; }
    // A blocked Bloom filter over the folded keys' hashes, about ten bits per key: a key sets one
    // bit in each of the eight words of one 64-byte block. Most questions the suggestion
    // generators ask are not words; the filter, small enough to stay in the cache, turns them away
    // with one cache line read instead of a probe of the large slot table. It never turns away a
    // listed key (every key set its bits when the index was built).
    struct alignas(64) FilterBlock {
        std::uint64_t word[8];
    };
    std::vector<FilterBlock> filter_;
    static void blocks_add(std::vector<FilterBlock>& blocks, std::uint64_t h);
    static bool blocks_may_hold(const std::vector<FilterBlock>& blocks, std::uint64_t h) {
        const FilterBlock& b = blocks[((h >> 32) * blocks.size()) >> 32];
        const std::uint64_t g = (h ^ (h >> 29)) * 0xbf58476d1ce4e5b9ULL;  // the bits in the block
        std::uint64_t missing = 0;
#pragma GCC unroll 8
        for (int w = 0; w < 8; ++w) missing |= ~b.word[w] & (std::uint64_t{1} << ((g >> (16 + 6 * w)) & 63));
        return missing == 0;
    }
    bool filter_may_hold(std::uint64_t h) const { return blocks_may_hold(filter_, h); }
    // The filter of the holes of the keys up to kMaxHoleLength letters: each such key with each of
    // its letters in turn made the byte 0. Empty until built.
    mutable std::vector<FilterBlock> holes_;
    mutable std::atomic<bool> holes_built_{false};
    mutable std::mutex holes_lock_;
    void build_holes() const;
    // The slot table's answer for a word of at most max_len_ bytes whose folded key hash is h.
    std::ptrdiff_t probe(std::string_view word, std::uint64_t h) const;
    std::size_t max_len_ = 0;
    bool sorted_ = true;
    // Near-match buckets, empty until built: near_pos_ holds the key places of every bucket, bucket
    // after bucket, each in the fewest bytes that hold every place in arena_ (near_width_: 2, 3 or
    // 4, lowest byte first), with room to read 4 bytes at the last one; the
    // buckets of one length and triple (group g = (length - kNearMatchLeast) * 4 + triple) are
    // near_dir_[near_group_[g]] .. near_dir_[near_group_[g + 1]] - 1, each the
    // bucket's three letters (a << 16 | b << 8 | c) and where its positions begin, in the order of
    // the letters; a bucket's positions end where the next one's begin (near_dir_end_ after the
    // last). Questions may come from several threads at once (the word lists' helpers): the first
    // one builds them under the lock.
    struct NearBucket {
        std::uint32_t letters;
        std::uint32_t begin;
    };
    mutable std::vector<unsigned char> near_pos_;
    mutable unsigned near_width_ = 4;
    static std::uint32_t read_position(const unsigned char* at, unsigned width) {
        std::uint32_t v;
        std::memcpy(&v, at, 4);
        if constexpr (std::endian::native != std::endian::little) v = __builtin_bswap32(v);
        return width >= 4 ? v : v & ((std::uint32_t{1} << (8 * width)) - 1);
    }
    static void write_position(unsigned char* at, unsigned width, std::uint32_t v) {
        for (unsigned k = 0; k < width; ++k) at[k] = static_cast<unsigned char>(v >> (8 * k));
    }
    mutable std::vector<NearBucket> near_dir_;
    mutable std::vector<std::uint32_t> near_group_;
    mutable std::atomic<bool> near_built_{false};
    mutable std::mutex near_lock_;
    void build_near() const;
};

// The index of `list`, built on first use and rebuilt when the list changed. The reference stays
// valid until the next call of word_index or drop_word_indexes. With `near_buckets`, an index built
// now gets its near-match buckets at once (see WordIndex::build).
const WordIndex& word_index(std::span<const ListPair> list, const std::shared_ptr<const ListText>& owner = {},
                            bool near_buckets = false);
// Forgets every index (test fixtures; code that edited a list in place).
void drop_word_indexes();
// The index of `list` when one was built for the list as it is now, otherwise null. Builds nothing:
// a helper thread may ask it as it reads the indexes. find_pair asks it about large lists.
const WordIndex* built_word_index(std::span<const ListPair> list);
// Grows whenever indexes are let go (dropped, or cleared to make room): a reference to an index
// taken while it had one value stays valid while it keeps it.
namespace word_index_detail {
inline std::uint64_t generation = 0;
// The stamp of the innermost SteadyWordLists on this thread (0: none).
inline thread_local std::uint64_t steady = 0;
}  // namespace word_index_detail
inline std::uint64_t word_index_generation() { return word_index_detail::generation; }

// The index of one list as a caller keeps it between its questions (the spelling's rows, the
// report's look-ups). The one rule of when a kept index still serves the list as it is now:
//  - no index was let go since it was found (word_index_generation), and
//  - the list's entries, their number, the block its keys point into and the letter case rules are
//    those of the index (WordIndex::indexes_in_place): a list loaded again, grown or shrunk in
//    place is found again at its next question, and
//  - its first, middle and last keys are those of the index (WordIndex::indexes), read once under
//    each SteadyWordLists stamp (a list edited in place is found again at the next renew()), and
//    at every question outside one.
// Otherwise the index is found again (word_index). The reference answered stays valid while the
// rule holds.
class KeptWordIndex {
public:
    // With `near_buckets`, the index has its near-match buckets built too.
    const WordIndex& of(std::span<const ListPair> list, const std::shared_ptr<const ListText>& owner,
                        bool near_buckets = false) {
        if (index_ && !near_buckets && word_index_detail::steady != 0 && tested_ == word_index_detail::steady &&
            generation_ == word_index_generation() && index_->indexes_in_place(list, owner.get()))
            return *index_;
        return find(list, owner, near_buckets);
    }

private:
    const WordIndex* index_ = nullptr;
    std::uint64_t generation_ = 0;
    std::uint64_t tested_ = 0;  // the SteadyWordLists stamp under which the keys were read
    const WordIndex& find(std::span<const ListPair> list, const std::shared_ptr<const ListText>& owner,
                          bool near_buckets);
};

// While it lives, helper threads read the word indexes. Before an index is built, rebuilt or let
// go on the thread that made it, `end_readers` is called (it waits until the helpers stop reading)
// and the scope ends; asked on any other thread - a helper, which only reads indexes built for it
// beforehand (build_word_indexes) - word_index and drop_word_indexes throw std::logic_error rather
// than change what another thread reads. One scope at a time.
class WordIndexesShared {
public:
    explicit WordIndexesShared(std::function<void()> end_readers);
    ~WordIndexesShared();
    WordIndexesShared(const WordIndexesShared&) = delete;
    WordIndexesShared& operator=(const WordIndexesShared&) = delete;

private:
    std::function<void()> end_readers_;
    std::thread::id owner_;
    friend void end_word_index_readers();
};

// ---- The lists the spelling routines read ------------------------------------------------------
inline constexpr int kEnglishSetCount = 17;  // rows 0..16 of the English word-list table
// Row `row` (0..16) of the English word-list table: 0 wl_english, 1 wl_english2, ... 16
// wl_informal; an empty list for any other row.
std::span<const ListPair> english_set(int row);
// The membership index of that row.
const WordIndex& english_index(int row);
// The display name of that row (its label): "Eng", "Eng2", ... "informal".
std::string_view english_set_label(int row);
// Row 0 of the dictionary table, b_capit: English words written with a capital.
std::span<const ListPair> capit_list();
const WordIndex& capit_index();
// The membership index of row `row` of the dictionary table (b_bulgarian is row 8); the index of
// an empty list for a row outside the table.
const WordIndex& dictionary_index(int row);
// The same with its near-match buckets built, beside the index when the index is built now.
const WordIndex& dictionary_index_with_near_buckets(int row);
// While one lives on a thread, the indexes kept there (KeptWordIndex: english_index, capit_index,
// dictionary_index, the report's look-ups) have their lists' keys read once, and after that only
// their entries, number, bytes and the locale: a list loaded again, grown or shrunk is found again
// at once, one edited in place only at the next renew(). For a stretch of work in which lists
// change only at known points (the run's scan: at its message pumps), which call renew().
class SteadyWordLists {
public:
    SteadyWordLists();
    ~SteadyWordLists();
    SteadyWordLists(const SteadyWordLists&) = delete;
    SteadyWordLists& operator=(const SteadyWordLists&) = delete;
    void renew();

private:
    std::uint64_t outer_;
};

// The rows of the dictionary table the spelling routines read: b_en-bg and the Bulgarian lists.
std::span<const int> spelling_dictionary_rows();
// Builds the indexes of every list the spelling routines read (the start calls it after the
// lexicon has loaded, so that no keystroke pays for them).
void build_word_indexes();
// The option DEEP_SPELL: the near-match scan of the English generator runs when it is non-zero.
int deep_spell_option();
