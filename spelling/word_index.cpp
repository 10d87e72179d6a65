// spelling/word_index.cpp - the hashed membership index over sorted word lists.
#include "spelling/word_index.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <future>
#include <system_error>
#include <stdexcept>
#include <utility>

#include "platform/text.h"
#include "spelling/spell_state.h"

namespace {

// Bits of the filter per key (before rounding the blocks up).
constexpr std::size_t kFilterBitsPerKey = 10;

}  // namespace

void KeyHasher::prepare(std::string_view word) {
    n_ = word.size();
    lower_ = cp1251_detail::current_ctype->lower;
    folded_.resize(n_);
    prefix_.resize(n_ + 1);
    suffix_.resize(n_ + 1);
    power_.resize(n_ + 2);
    power_[0] = 1;
    for (std::size_t k = 1; k < power_.size(); ++k) power_[k] = power_[k - 1] * kKeyHashBase;
    prefix_[0] = 0;
    for (std::size_t i = 0; i < n_; ++i) {
        folded_[i] = lower_[static_cast<unsigned char>(word[i])];
        prefix_[i + 1] = prefix_[i] * kKeyHashBase + folded_[i];
    }
    suffix_[n_] = 0;
    for (std::size_t i = n_; i-- > 0;) suffix_[i] = folded_[i] * power_[n_ - 1 - i] + suffix_[i + 1];
}

namespace {
std::uint64_t g_builds = 0;  // builds of every index so far
}  // namespace

void WordIndex::blocks_add(std::vector<FilterBlock>& blocks, std::uint64_t h) {
    FilterBlock& b = blocks[((h >> 32) * blocks.size()) >> 32];
    const std::uint64_t g = (h ^ (h >> 29)) * 0xbf58476d1ce4e5b9ULL;
#pragma GCC unroll 8
    for (int w = 0; w < 8; ++w) b.word[w] |= std::uint64_t{1} << ((g >> (16 + 6 * w)) & 63);
}

std::int32_t rank_of_text(std::string_view text) {
    // Most rank texts are a few digits alone.
    if (!text.empty() && text.size() <= 9) {
        std::int32_t value = 0;
        std::size_t i = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
        if (i == text.size()) return value;
    }
    std::size_t i = 0;
    while (i < text.size() && cp_isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) {
            value = static_cast<long long>(INT_MAX) + 1;
            break;
        }
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<std::int32_t>(value);
}

std::int32_t rank_of_entry(const ListPair& entry) {
    return entry.has_rest() ? rank_of_text(entry.rest) : kRankUnranked;
}

WordIndex::Fingerprint WordIndex::fingerprint_of(std::span<const ListPair> list) {
    Fingerprint fp;
    fp.data = list.data();
    fp.size = list.size();
    if (!list.empty()) {
        fp.first = list.front().key.data();
        fp.middle = list[list.size() / 2].key.data();
        fp.last = list.back().key.data();
        fp.first_key = list.front().key;
        fp.middle_key = list[list.size() / 2].key;
        fp.last_key = list.back().key;
    }
    fp.cyrillic_locale = ctype_locale_is_cyrillic();
    return fp;
}

bool WordIndex::indexes(std::span<const ListPair> list) const {
    if (fp_.data != list.data() || fp_.size != list.size() || fp_.cyrillic_locale != ctype_locale_is_cyrillic())
        return false;
    if (list.empty()) return true;
    const ListPair& first = list.front();
    const ListPair& middle = list[list.size() / 2];
    const ListPair& last = list.back();
    return fp_.first == first.key.data() && fp_.middle == middle.key.data() && fp_.last == last.key.data() &&
           fp_.first_key == first.key && fp_.middle_key == middle.key && fp_.last_key == last.key;
}

void WordIndex::build(std::span<const ListPair> list, std::shared_ptr<const void> owner, bool near_buckets) {
    list_ = list;
    owner_ = std::move(owner);
    fp_ = fingerprint_of(list);
    build_number_ = ++g_builds;
    const std::size_t n = list.size();
    std::size_t total = 0;
    max_len_ = 0;
    for (const ListPair& p : list) {
        total += p.key.size();
        if (p.key.size() > max_len_) max_len_ = p.key.size();
    }
    // One head word when the positions and the lengths fit in 32 bits together.
    pos_bits_ = std::max(1, static_cast<int>(std::bit_width(n)));
    wide_head_ = pos_bits_ >= 32 || (max_len_ >> (32 - pos_bits_)) != 0;
    const std::size_t head = wide_head_ ? 8 : 4;
    // The slots hold 32-bit places in the block of keys.
    if (total + n * head >= 0xffffffffULL) throw std::length_error("word list too large to index");
    arena_.clear();
    sorted_ = true;
    rank_.assign(n, 0);
    std::size_t cap = 16;
    while (cap < n * 2) cap <<= 1;
    slots_.assign(cap, 0);
    mask_ = cap - 1;
    at_bits_ = static_cast<unsigned>(std::bit_width(total + n * head));
    filter_.assign(std::max<std::size_t>(1, (n * kFilterBitsPerKey + 511) / 512), FilterBlock{});
    near_pos_.clear();
    near_dir_.clear();
    near_group_.clear();
    near_built_.store(false, std::memory_order_relaxed);
    holes_.clear();
    holes_built_.store(false, std::memory_order_relaxed);
    // The near-match buckets read only the list: they are made beside the rest.
    std::future<void> near;
    if (near_buckets) {
        try {
            near = std::async(std::launch::async, [this] { build_near_buckets(); });
        } catch (const std::system_error&) {
            // no thread to be had: made below
        }
    }

    // The folded keys, their hashes, ranks and lengths in one pass over the list, each key put in
    // its slot kAhead keys later, after its slot's address was asked for (the table is larger than
    // the caches, so the inserts would otherwise wait on memory one by one).
    arena_.resize(total + n * head);
    constexpr std::size_t kAhead = 16;
    std::uint64_t ahead[kAhead];
    std::uint32_t ahead_at[kAhead];  // where their keys are in arena_
    std::string_view before;          // the key before, folded
    const unsigned char* lower = cp1251_detail::current_ctype->lower;
    std::size_t at = 0;
    const std::uint64_t at_mask = (std::uint64_t{1} << at_bits_) - 1;
    for (std::size_t j = 0; j < n + kAhead; ++j) {
        if (j >= kAhead) {
            const std::size_t i = j - kAhead;
            const std::uint64_t h = ahead[i % kAhead];
            const std::uint32_t place = ahead_at[i % kAhead];
            const std::uint64_t tag = tag_of(h);
            const std::string_view folded(arena_.data() + place, length_at(place));
            // Insert unless an equal key is already there: the first in list order wins.
            for (std::uint64_t s = h & mask_;; s = (s + 1) & mask_) {
                const std::uint64_t slot = slots_[s];
                if (slot == 0) {
                    slots_[s] = static_cast<std::uint32_t>((tag << at_bits_) | place);
                    break;
                }
                if ((slot >> at_bits_) == tag) {
                    const auto other = static_cast<std::uint32_t>(slot & at_mask);
                    if (std::string_view(arena_.data() + other, length_at(other)) == folded) break;
                }
            }
        }
        if (j >= n) continue;
        const std::string_view key = list[j].key;
        const auto position = static_cast<std::uint32_t>(j), length = static_cast<std::uint32_t>(key.size());
        if (wide_head_) {
            std::memcpy(arena_.data() + at, &position, 4);
            std::memcpy(arena_.data() + at + 4, &length, 4);
        } else {
            const std::uint32_t word = position | (length << pos_bits_);
            std::memcpy(arena_.data() + at, &word, 4);
        }
        at += head;
        const auto place = static_cast<std::uint32_t>(at);
        {
            // Through pointers of its own: a store through the block's own would make every letter
            // read the block's address again.
            char* to = arena_.data() + place;
            const auto* from = reinterpret_cast<const unsigned char*>(key.data());
            for (std::size_t k = 0; k < key.size(); ++k) to[k] = static_cast<char>(lower[from[k]]);
            at += key.size();
        }
        const std::string_view folded(arena_.data() + place, key.size());
        // The folded keys in byte order are the keys in cmp_g order.
        if (j > 0 && sorted_ && before > folded) sorted_ = false;
        before = folded;
        rank_[j] = rank_of_entry(list[j]);
        const std::uint64_t h = key_hash(folded);
        blocks_add(filter_, h);
        __builtin_prefetch(&slots_[h & mask_]);
        ahead[j % kAhead] = h;
        ahead_at[j % kAhead] = place;
    }
    if (near.valid()) near.get();
    else if (near_buckets) build_near_buckets();
}

void WordIndex::build_holes() const {
    const std::lock_guard lock(holes_lock_);
    if (holes_built_.load(std::memory_order_relaxed)) return;
    // The folded keys one after another in arena_, each behind its head.
    const std::size_t head = wide_head_ ? 8 : 4;
    const auto each_short_key = [&](auto&& f) {
        for (std::size_t at = 0, j = 0; j < list_.size(); ++j) {
            const auto place = static_cast<std::uint32_t>(at + head);
            const std::size_t n = length_at(place);
            if (n <= kMaxHoleLength) f(std::string_view(arena_.data() + place, n));
            at = place + n;
        }
    };
    std::size_t holes = 0;
    each_short_key([&](std::string_view key) { holes += key.size(); });
    holes_.assign(std::max<std::size_t>(1, (holes * kFilterBitsPerKey + 511) / 512), FilterBlock{});
    each_short_key([&](std::string_view key) {
        std::uint64_t poly = 0;
        for (unsigned char c : key) poly = poly * kKeyHashBase + c;
        std::uint64_t power = 1;  // kKeyHashBase to the number of letters after the hole
        for (std::size_t i = key.size(); i-- > 0;) {
            blocks_add(holes_, key_hash_mix(poly - static_cast<unsigned char>(key[i]) * power, key.size()));
            power *= kKeyHashBase;
        }
    });
    holes_built_.store(true, std::memory_order_release);
}

void WordIndex::folded_key(std::size_t i, std::string& out) const {
    const std::string_view key = list_[i].key;
    out.resize(key.size());
    const unsigned char* lower = cp1251_detail::current_ctype->lower;
    for (std::size_t k = 0; k < key.size(); ++k) out[k] = static_cast<char>(lower[static_cast<unsigned char>(key[k])]);
}

std::ptrdiff_t WordIndex::find(std::string_view word) const {
    if (list_.empty() || word.size() > max_len_) return -1;
    const std::uint64_t h = folded_key_hash(word);
    if (!filter_may_hold(h)) return -1;
    return probe(word, h);
}

std::ptrdiff_t WordIndex::probe(std::string_view word, std::uint64_t h) const {
    const std::size_t n = word.size();
    // The folded question: on the stack for any usual word (several threads may ask at once).
    char stack[128];
    std::string long_word;
    char* buf = stack;
    if (n > sizeof stack) {
        long_word.resize(n);
        buf = long_word.data();
    }
    const unsigned char* lower = cp1251_detail::current_ctype->lower;
    for (std::size_t i = 0; i < n; ++i) buf[i] = static_cast<char>(lower[static_cast<unsigned char>(word[i])]);
    const std::uint64_t tag = tag_of(h), at_mask = (std::uint64_t{1} << at_bits_) - 1;
    for (std::uint64_t s = h & mask_;; s = (s + 1) & mask_) {
        const std::uint64_t slot = slots_[s];
        if (slot == 0) return -1;
        if ((slot >> at_bits_) != tag) continue;
        const auto at = static_cast<std::uint32_t>(slot & at_mask);
        if (length_at(at) == n && std::memcmp(arena_.data() + at, buf, n) == 0) return position_at(at);
    }
}

void WordIndex::build_near() const {
    // The letters that occur where the buckets look, numbered in byte order: a bucket's three
    // letters become one cell number, and a large group (one length and triple) is sorted into its
    // buckets by one counting pass over those cells; a small one by a radix sort, a byte at a time
    // from the last. Both are stable: positions come in list order and stay so within a bucket.
    //
    // The entries of each length from kNearMatchLeast on, in list order, with their four letters (first, second,
    // second-to-last, last: one byte each): the lengths counted in one pass over the keys, the
    // entries placed by length in a second. They wait at the end of the room of the buckets, which
    // hold every entry four times (w bytes each), an entry and its letters in w + 4 bytes: a
    // length's entries are taken out before its groups are written, and as w + 4 <= 4 w the groups
    // never reach the entries of the longer lengths.
    //
    // They read the list's keys, folding the letters they look at, and nothing else of the index
    // (the place of each key in arena_ follows from the lengths of the keys before it and the size
    // of the heads, known before the keys are placed): build() may make them on another thread
    // while it makes the rest.
    const unsigned char* lower = cp1251_detail::current_ctype->lower;
    const std::size_t max_len = std::min(max_len_, kMaxBucketLength);
    const std::size_t lengths = max_len >= kNearMatchLeast ? max_len - kNearMatchLeast + 1 : 0;
    const std::size_t n_keys = list_.size();
    const std::size_t head = wide_head_ ? 8 : 4;
    std::vector<std::uint32_t> first(max_len + 2, 0);
    bool present[256] = {};
    std::size_t arena_size = 0;
    for (std::size_t i = 0; i < n_keys; ++i) {
        const std::string_view key = list_[i].key;
        const std::size_t len = key.size();
        arena_size += head + len;
        if (len < kNearMatchLeast || len > max_len) continue;
        const auto* k = reinterpret_cast<const unsigned char*>(key.data());
        present[lower[k[0]]] = present[lower[k[1]]] = present[lower[k[len - 2]]] = present[lower[k[len - 1]]] = true;
        ++first[len + 1];
    }
    for (std::size_t len = 0; len <= max_len; ++len) first[len + 1] += first[len];
    const std::size_t total = first[max_len + 1];
    const unsigned w = arena_size <= 0x10000 ? 2 : arena_size <= 0x1000000 ? 3 : 4;
    near_width_ = w;
    near_pos_.assign(total * 4 * w + 4, 0);
    const std::size_t record = w + 4;
    unsigned char* const by_length = near_pos_.data() + total * (4 * w - record);
    {
        std::vector<std::uint32_t> next(first.begin(), first.end() - 1);
        std::size_t place = 0;
        for (std::size_t i = 0; i < n_keys; ++i) {
            const std::string_view key = list_[i].key;
            const std::size_t len = key.size();
            place += head;
            const auto at_key = static_cast<std::uint32_t>(place);
            place += len;
            if (len < kNearMatchLeast || len > max_len) continue;
            const auto* k = reinterpret_cast<const unsigned char*>(key.data());
            const std::uint32_t quad = std::uint32_t{lower[k[0]]} | (std::uint32_t{lower[k[1]]} << 8) |
                                       (std::uint32_t{lower[k[len - 2]]} << 16) | (std::uint32_t{lower[k[len - 1]]} << 24);
            unsigned char* at = by_length + next[len]++ * record;
            write_position(at, w, at_key);
            std::memcpy(at + w, &quad, 4);
        }
    }
    std::uint32_t code[256] = {}, letter_of[256] = {}, letters_used = 0;
    for (std::uint32_t c = 0; c < 256; ++c)
        if (present[c]) letter_of[letters_used] = c, code[c] = letters_used++;
    const std::size_t cells = static_cast<std::size_t>(letters_used) * letters_used * letters_used;
    constexpr std::size_t kMaxCells = std::size_t{1} << 18;

    near_dir_.clear();
    near_group_.assign(lengths * 4 + 1, 0);
    std::vector<std::uint32_t> ids, quads, keys, keys2, group, pos2, count_cells;
    std::uint32_t count[256];
    std::size_t from = 0;  // where the next group's positions go
    for (std::size_t len = kNearMatchLeast; len <= max_len; ++len) {
        // This length's entries and their letters.
        const std::size_t n = first[len + 1] - first[len];
        ids.resize(n);
        quads.resize(n);
        for (std::size_t j = 0; j < n; ++j) {
            const unsigned char* at = by_length + (first[len] + j) * record;
            ids[j] = read_position(at, w);
            std::memcpy(&quads[j], at + w, 4);
        }
        for (int triple = 0; triple < 4; ++triple) {
            near_group_[(len - kNearMatchLeast) * 4 + static_cast<std::size_t>(triple)] = static_cast<std::uint32_t>(near_dir_.size());
            if (n == 0) continue;
            const bool by_cells = cells <= kMaxCells && n * 8 >= cells;
            keys.resize(n);
            const std::uint32_t* quad = quads.data();
            for (std::size_t j = 0; j < n; ++j) {
                const std::uint32_t f0 = quad[j] & 0xFF, f1 = (quad[j] >> 8) & 0xFF, z1 = (quad[j] >> 16) & 0xFF,
                                    z0 = quad[j] >> 24;
                std::uint32_t a = f0, b = f1, c = z0;
                if (triple == 1) c = z1;
                else if (triple == 2) b = z0, c = z1;
                else if (triple == 3) a = f1, b = z0, c = z1;
                keys[j] = by_cells ? (code[a] * letters_used + code[b]) * letters_used + code[c] : (a << 16) | (b << 8) | c;
            }
            // A group is sorted here, then written in its place.
            group.resize(n);
            std::uint32_t* pos = group.data();
            const auto put = [&] {
                for (std::size_t j = 0; j < n; ++j) write_position(near_pos_.data() + (from + j) * w, w, pos[j]);
                from += n;
            };
            if (by_cells) {
                count_cells.assign(cells, 0);
                for (std::size_t j = 0; j < n; ++j) ++count_cells[keys[j]];
                auto sum = static_cast<std::uint32_t>(from);
                for (std::size_t cell = 0; cell < cells; ++cell) {
                    const std::uint32_t c = count_cells[cell];
                    if (c == 0) continue;
                    const auto x = static_cast<std::uint32_t>(cell / (std::size_t{letters_used} * letters_used));
                    const auto y = static_cast<std::uint32_t>(cell / letters_used % letters_used);
                    const auto z = static_cast<std::uint32_t>(cell % letters_used);
                    near_dir_.push_back({(letter_of[x] << 16) | (letter_of[y] << 8) | letter_of[z], sum});
                    count_cells[cell] = sum - static_cast<std::uint32_t>(from);
                    sum += c;
                }
                for (std::size_t j = 0; j < n; ++j) pos[count_cells[keys[j]]++] = ids[j];
                put();
                continue;
            }
            std::copy(ids.begin(), ids.end(), pos);
            keys2.resize(n);
            pos2.resize(n);
            for (int shift = 0; shift < 24; shift += 8) {
                std::fill(std::begin(count), std::end(count), 0u);
                for (std::size_t j = 0; j < n; ++j) ++count[(keys[j] >> shift) & 0xFF];
                if (count[(keys[0] >> shift) & 0xFF] == n) continue;  // one value: nothing moves
                std::uint32_t sum = 0;
                for (std::uint32_t& c : count) sum += std::exchange(c, sum);
                for (std::size_t j = 0; j < n; ++j) {
                    const std::uint32_t at = count[(keys[j] >> shift) & 0xFF]++;
                    keys2[at] = keys[j];
                    pos2[at] = pos[j];
                }
                keys.swap(keys2);
                std::copy(pos2.begin(), pos2.end(), pos);
            }
            for (std::size_t j = 0; j < n; ++j)
                if (j == 0 || keys[j] != keys[j - 1])
                    near_dir_.push_back({keys[j], static_cast<std::uint32_t>(from + j)});
            put();
        }
    }
    near_group_[lengths * 4] = static_cast<std::uint32_t>(near_dir_.size());
    near_dir_.push_back({0, static_cast<std::uint32_t>(total * 4)});  // the end of the last bucket
    near_built_.store(true, std::memory_order_release);
}

void WordIndex::build_near_buckets() const {
    if (near_built_.load(std::memory_order_acquire)) return;
    const std::lock_guard lock(near_lock_);
    if (!near_built_.load(std::memory_order_relaxed)) build_near();
}

WordIndex::NearPositions WordIndex::near_bucket(std::size_t length, int triple, unsigned char a,
                                                      unsigned char b, unsigned char c) const {
    if (length < kNearMatchLeast || length > kMaxBucketLength || triple < 0 || triple > 3) return {};
    build_near_buckets();
    const std::size_t g = (length - kNearMatchLeast) * 4 + static_cast<std::size_t>(triple);
    if (g + 1 >= near_group_.size()) return {};
    const std::uint32_t letters = (std::uint32_t{a} << 16) | (std::uint32_t{b} << 8) | c;
    const NearBucket* first = near_dir_.data() + near_group_[g];
    const NearBucket* last = near_dir_.data() + near_group_[g + 1];
    const NearBucket* it =
        std::lower_bound(first, last, letters, [](const NearBucket& e, std::uint32_t k) { return e.letters < k; });
    if (it == last || it->letters != letters) return {};
    return NearPositions(near_pos_.data() + std::size_t{it->begin} * near_width_, it[1].begin - it->begin, near_width_);
}

namespace {
std::vector<std::unique_ptr<WordIndex>> g_indexes;  // one index per list seen since the last drop
constexpr std::size_t kMaxIndexes = 64;

std::atomic<WordIndexesShared*> g_shared{nullptr};  // the scope alive, if any

}  // namespace

// Ends the helpers' reading before an index changes (see WordIndexesShared).
void end_word_index_readers() {
    WordIndexesShared* shared = g_shared.load(std::memory_order_acquire);
    if (!shared) return;
    if (std::this_thread::get_id() != shared->owner_)
        throw std::logic_error("a word index would change while other threads read the indexes");
    g_shared.store(nullptr, std::memory_order_release);
    const std::function<void()> end = std::move(shared->end_readers_);
    if (end) end();
}

WordIndexesShared::WordIndexesShared(std::function<void()> end_readers)
    : end_readers_(std::move(end_readers)), owner_(std::this_thread::get_id()) {
    g_shared.store(this, std::memory_order_release);
}
WordIndexesShared::~WordIndexesShared() {
    WordIndexesShared* self = this;
    g_shared.compare_exchange_strong(self, nullptr, std::memory_order_acq_rel);
}

const WordIndex& word_index(std::span<const ListPair> list, const std::shared_ptr<const ListText>& owner,
                            bool near_buckets) {
    for (auto& idx : g_indexes) {
        if (idx->fingerprint().data != list.data()) continue;
        if (!idx->indexes(list)) {
            end_word_index_readers();
            idx->build(list, owner, near_buckets);
        }
        return *idx;
    }
    end_word_index_readers();
    if (g_indexes.size() >= kMaxIndexes) {
        g_indexes.clear();
        ++word_index_detail::generation;
    }
    g_indexes.push_back(std::make_unique<WordIndex>());
    g_indexes.back()->build(list, owner, near_buckets);
    return *g_indexes.back();
}

void drop_word_indexes() {
    end_word_index_readers();
    g_indexes.clear();
    ++word_index_detail::generation;
}


const WordIndex& KeptWordIndex::find(std::span<const ListPair> list, const std::shared_ptr<const ListText>& owner,
                                     bool near_buckets) {
    if (generation_ != word_index_generation()) index_ = nullptr;  // let go with the others
    if (!index_ || !index_->indexes(list))
        index_ = &word_index(list, owner, near_buckets);
    else if (near_buckets)
        index_->build_near_buckets();
    // Read after word_index, which may have let every other index go.
    generation_ = word_index_generation();
    tested_ = word_index_detail::steady;
    return *index_;
}

namespace {
std::atomic<std::uint64_t> g_stamps{0};  // the last stamp given
}  // namespace

SteadyWordLists::SteadyWordLists() : outer_(word_index_detail::steady) { word_index_detail::steady = ++g_stamps; }
SteadyWordLists::~SteadyWordLists() { word_index_detail::steady = outer_; }
void SteadyWordLists::renew() { word_index_detail::steady = ++g_stamps; }

const WordIndex* built_word_index(std::span<const ListPair> list) {
    for (const auto& idx : g_indexes)
        if (idx->fingerprint().data == list.data()) return idx->indexes(list) ? idx.get() : nullptr;
    return nullptr;
}

namespace {
// find_pair's finder: the built index of a sorted list.
const ListPair* find_in_built_index(std::span<const ListPair> list, std::string_view key, bool& answered) {
    const WordIndex* idx = built_word_index(list);
    if (!idx || !idx->sorted()) return nullptr;
    answered = true;
    return idx->find_entry(key);
}
[[maybe_unused]] const bool g_finder_set = (set_pair_finder(&find_in_built_index), true);
}  // namespace
