// platform/flat_table.h - the program's one open-addressing hash table.
//
// A FlatTable holds slots and nothing else. The keys stay where their owner keeps them (an array
// of entries, the records of an index); a slot names one of them (its number + 1, say), with as
// many bits of the key's hash beside it as let a probe pass other keys without reading them. The
// owner says what a slot is, which slot a question accepts (a predicate over slots, asked only of
// taken slots on the question's probe path) and, when the table is made bigger, the hash of the
// key a slot names.
//
// `Slot` is any trivially copyable type whose value-initialised value (all bits zero) is a free
// slot: an unsigned integer (0 free), or a struct with `bool taken() const`.
//
// Probing is linear from a key's home, its hash's low 32 bits scaled to the number of slots, so
// that a table may have any number of slots (one filled four slots in five need not be rounded up
// to a power of two) and the home reads bits that a slot's tag, taken from the hash's high bits,
// does not repeat. Keys are never taken out one by one (tables are emptied whole), so a free slot
// ends every probe; a table must keep at least one slot free, which `wants_room` tells.
//
// The reading calls (find, probe, at) never write: several threads may read one table at once
// while no thread places a slot in it or grows it.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

// The usual slot: the number of an entry of the owner's array + 1 (0: free) and the low 32 bits of
// its key's hash, the bits the home is made of, so that the table grows without hashing a key
// again and a probe compares only keys whose bits agree.
struct NumberedSlot {
    std::uint32_t number = 0;
    std::uint32_t hash = 0;

    static NumberedSlot of(std::uint64_t h, std::size_t entry) {
        return NumberedSlot{static_cast<std::uint32_t>(entry + 1), static_cast<std::uint32_t>(h)};
    }
    bool taken() const { return number != 0; }
    std::size_t entry() const { return number - 1; }
    bool fits(std::uint64_t h) const { return hash == static_cast<std::uint32_t>(h); }
    // For grow(): the bits of the hash the home is made of.
    static std::uint64_t home_hash(const NumberedSlot& s) { return s.hash; }
};

template <class Slot, class Allocator = std::allocator<Slot>>
class FlatTable {
    static_assert(std::is_trivially_copyable_v<Slot>, "slots are copied as they are when the table grows");

public:
    static bool taken(const Slot& s) {
        if constexpr (std::is_integral_v<Slot>) return s != 0;
        else return s.taken();
    }

    // Empties the table and gives it `n` free slots (0: no table; every find answers null).
    void reset(std::size_t n) {
        slots_.assign(n, Slot{});
        assert(slots_.size() <= (std::uint64_t{1} << 32));
    }
    // Frees every slot; the number of slots stays.
    void clear() { std::fill(slots_.begin(), slots_.end(), Slot{}); }
    // Gives back the memory of the slots.
    void release() { slots_ = std::vector<Slot, Allocator>(); }

    std::size_t slot_count() const { return slots_.size(); }
    bool empty() const { return slots_.empty(); }

    // Whether `keys` keys would take more than `most` of every `of` slots: the owner grows the
    // table before it places the next key.
    bool wants_room(std::size_t keys, std::size_t most, std::size_t of) const {
        return keys * of > slots_.size() * most;
    }

    // The place where a probe for hash `h` starts, and the place after `i`.
    std::size_t home(std::uint64_t h) const {
        return static_cast<std::size_t>(((h & 0xFFFFFFFFu) * slots_.size()) >> 32);
    }
    std::size_t next(std::size_t i) const { return i + 1 == slots_.size() ? 0 : i + 1; }
    // Starts reading the home of hash `h` (the table must have slots).
    void prefetch(std::uint64_t h) const { __builtin_prefetch(slots_.data() + home(h)); }

    // The place of the first slot from h's home that is free or that `same` accepts (the table
    // must have slots).
    template <class Same>
    std::size_t probe(std::uint64_t h, Same&& same) const {
        assert(!slots_.empty());
        for (std::size_t i = home(h);; i = next(i)) {
            const Slot& s = slots_[i];
            if (!taken(s) || same(s)) return i;
        }
    }
    // The slot of hash `h` that `same` accepts, or null.
    template <class Same>
    const Slot* find(std::uint64_t h, Same&& same) const {
        if (slots_.empty()) return nullptr;
        const Slot& s = slots_[probe(h, same)];
        return taken(s) ? &s : nullptr;
    }

    const Slot& at(std::size_t i) const { return slots_[i]; }
    // Writes slot `i`: a place `probe` answered, free, for a key the table does not hold.
    void put(std::size_t i, const Slot& s) {
        assert(!taken(slots_[i]) && taken(s));
        slots_[i] = s;
    }
    // Puts `s` in the first free slot from h's home: for a key the table does not hold.
    void place(std::uint64_t h, const Slot& s) {
        put(probe(h, [](const Slot&) { return false; }), s);
    }

    // Gives the table `n` slots (at least one more than it holds taken) and places every
    // taken slot again by `hash_of(slot)`, the hash of the key it names.
    template <class HashOf>
    void grow(std::size_t n, HashOf&& hash_of) {
        std::vector<Slot, Allocator> before(n, Slot{}, slots_.get_allocator());
        before.swap(slots_);
        for (const Slot& s : before)
            if (taken(s)) place(hash_of(s), s);
    }

private:
    std::vector<Slot, Allocator> slots_;
};
