// The open-addressing table against std::unordered_map, and the hash family's variants.
#include "platform/flat_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/hash.h"
#include "tests/support/text.h"

namespace {

const unsigned char* cyrillic_lower() { return cp1251_detail::full_ctype.lower; }

using Hash = std::function<std::uint64_t(std::string_view)>;

// Spellings numbered in the order they came, their slots in a FlatTable (the shape of every table
// of the program): NumberedSlot, or bare numbers + 1.
template <class Slot>
struct Spellings {
    static constexpr bool kBare = std::is_integral_v<Slot>;
    static std::size_t entry(const Slot& s) {
        if constexpr (kBare) return s - 1; else return s.entry();
    }
    bool same(const Slot& s, std::uint64_t h, std::string_view key) const {
        if constexpr (!kBare) { if (!s.fits(h)) return false; }
        return keys[entry(s)] == key;
    }
    // The number of `key`, and whether it was added now.
    std::pair<std::size_t, bool> add(std::string_view key, std::size_t first, std::size_t most, std::size_t of) {
        while (table.empty() || table.wants_room(keys.size() + 1, most, of))
            table.grow(std::max(first, table.slot_count() * 2), [&](const Slot& s) { return hash(keys[entry(s)]); });
        const std::uint64_t h = hash(key);
        const std::size_t i = table.probe(h, [&](const Slot& s) { return same(s, h, key); });
        if (table.taken(table.at(i))) return {entry(table.at(i)), false};
        if constexpr (kBare) table.put(i, static_cast<Slot>(keys.size() + 1)); else table.put(i, Slot::of(h, keys.size()));
        keys.emplace_back(key);
        return {keys.size() - 1, true};
    }
    std::ptrdiff_t find(std::string_view key) const {
        const Slot* s = table.find(hash(key), [&](const Slot& x) { return same(x, hash(key), key); });
        return s ? static_cast<std::ptrdiff_t>(entry(*s)) : -1;
    }
    Hash hash;
    std::vector<std::string> keys;
    FlatTable<Slot> table;
};

struct TableCase {
    const char* name;
    Hash hash;
    std::size_t first_slots, most, of;  // the first number of slots; at most `most` of every `of` taken
    unsigned seed;
    int letters, longest, steps;  // spellings of up to `longest` of the first `letters` letters
};

// Adds and asks random spellings (the empty one among them; the first question is asked of a table
// without slots) and compares every answer with std::unordered_map's; at the end every spelling is
// found and the load is within its bound.
template <class Slot>
void run_against_map(const TableCase& c) {
    SCOPED_TRACE(c.name);
    Spellings<Slot> set{c.hash, {}, {}};
    std::unordered_map<std::string, std::size_t> map;
    std::mt19937 random(c.seed);
    for (int step = 0; step < c.steps; ++step) {
        std::string s(std::uniform_int_distribution<int>(0, c.longest)(random), ' ');
        for (char& ch : s) ch = static_cast<char>('a' + std::uniform_int_distribution<int>(0, c.letters - 1)(random));
        const auto known = map.find(s);
        if (step % 3 == 0) {
            ASSERT_EQ(set.find(s), known == map.end() ? -1 : static_cast<std::ptrdiff_t>(known->second)) << s;
            continue;
        }
        const auto [number, added] = set.add(s, c.first_slots, c.most, c.of);
        ASSERT_EQ(added, known == map.end()) << s;
        if (added) map.emplace(s, map.size());  // numbers are given in order
        ASSERT_EQ(number, map.at(s)) << s;
    }
    for (const auto& [s, number] : map) EXPECT_EQ(set.find(s), static_cast<std::ptrdiff_t>(number)) << s;
    EXPECT_LE(map.size() * c.of, set.table.slot_count() * c.most);
    EXPECT_TRUE(map.contains(""));
}

const TableCase kTableCases[] = {
    {"spread, half full, from one slot", [](std::string_view s) { return word_hash(s); }, 1, 1, 2, 1, 26, 9, 20000},
    {"spread, four in five, odd first size", [](std::string_view s) { return word_hash(s); }, 7, 4, 5, 2, 4, 6, 20000},
    {"polynomial key hash, nearly full", [](std::string_view s) { return key_hash(s); }, 16, 15, 16, 3, 3, 8, 20000},
    {"four homes only: long runs of collisions", [](std::string_view s) { return word_hash(s) & 0x3; }, 8, 1, 2, 4, 3, 4, 3000},
    {"one hash for all", [](std::string_view) { return std::uint64_t{42}; }, 4, 3, 4, 5, 2, 5, 1500},
};

TEST(FlatTable, AgreesWithUnorderedMapOnRandomSpellings) {
    for (const TableCase& c : kTableCases) {
        run_against_map<NumberedSlot>(c);
        run_against_map<std::uint32_t>(c);
    }
}

// Values recorded from the hashes before they moved into this family.
const struct { const char* text; std::uint64_t word, key; } kRecorded[] = {
    {"", 0x8570e250fe4c2473ULL, 0x0000000000000000ULL}, {"a", 0x5175e8c6f7c50e1eULL, 0xd9c0a8375ce88667ULL},
    {"ab", 0x3b6213a4381b89bdULL, 0x983733531b45e2d5ULL}, {"abc", 0x3b27559ddaa29cb2ULL, 0x3e7dbfb546db9508ULL},
    {"abcd", 0x6aec1f8b58def4d7ULL, 0xb22ab904eec94a52ULL}, {"abcdefg", 0x24c31a4457521d97ULL, 0xe7e645557e786228ULL},
    {"abcdefgh", 0xb2a57bbae74a8c57ULL, 0x3c978806233caa55ULL}, {"abcdefghijklmnopq", 0x4bd2b8fafb0a72c2ULL, 0xd04b6ec6445aaf42ULL},
    {"\xc4\xd3\xcc\xc0", 0x20fb79c538708780ULL, 0x77ef5daccda70c35ULL},
};

TEST(HashFamily, KeepsTheRecordedValues) {
    for (const auto& r : kRecorded) EXPECT_TRUE(word_hash(r.text) == r.word && key_hash(r.text) == r.key) << r.text;
}

// The folded variants hash a text as the plain ones hash its folded copy, for every length of
// tail; the plain ones keep the case apart.
TEST(HashFamily, FoldedVariantsHashTheFoldedText) {
    const std::string texts[] = {"", "A", "Ab", "ABC", "AbCd", "ABCDEfg", "ABCDEFGH", "ABCDEFGHI", "abcdefghijkLMNOPQ",
                                 jux_test::cp("Дума"), jux_test::cp("ЁЖЗИЙ КЛМНОП Ръ"), std::string("\0Z", 2)};
    for (const std::string& t : texts) {
        std::string f = t;
        for (char& c : f) c = static_cast<char>(cyrillic_lower()[static_cast<unsigned char>(c)]);
        EXPECT_EQ(folded_word_hash(t, cyrillic_lower()), word_hash(f)) << t;
        EXPECT_EQ(folded_key_hash(t, cyrillic_lower()), key_hash(f)) << t;
        EXPECT_TRUE(f == t || (word_hash(t) != word_hash(f) && key_hash(t) != key_hash(f))) << t;
    }
    EXPECT_TRUE(word_hash(std::string_view("\0", 1)) != word_hash("") && word_hash("ab") != word_hash("ba"));
}

}  // namespace
