#include "engine/proofreading/token_spellings.h"

#include <cstring>

#include "engine/token_store.h"

namespace {

std::uint64_t spelling_hash(std::string_view s) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size();
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t v;
        std::memcpy(&v, s.data() + i, 8);
        h = (h ^ v) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    std::uint64_t v = 0;
    std::memcpy(&v, s.data() + i, s.size() - i);
    h = (h ^ v) * 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 29);
}

// One place of the open-addressed table: the high half of the hash and the number plus one (0: free).
struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t id1 = 0;
};

}  // namespace

TokenSpellings::TokenSpellings(const SenToken* floor, const SenToken* nd) {
    if (!floor || !nd || nd <= floor) return;
    const auto n = static_cast<std::size_t>(nd - floor);
    ids_.resize(n);
    std::size_t cap = 1024;
    std::vector<Slot> table(cap);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view text(floor[i].text);
        const std::uint64_t h = spelling_hash(text);
        const auto tag = static_cast<std::uint32_t>(h >> 32);
        std::size_t at = static_cast<std::size_t>(h) & (cap - 1);
        for (;; at = (at + 1) & (cap - 1)) {
            Slot& s = table[at];
            if (s.id1 == 0) {
                s = {tag, static_cast<std::uint32_t>(texts_.size() + 1)};
                ids_[i] = static_cast<std::uint32_t>(texts_.size());
                texts_.push_back(text);
                break;
            }
            if (s.hash == tag && texts_[s.id1 - 1] == text) {
                ids_[i] = s.id1 - 1;
                break;
            }
        }
        // Kept at most half full: the table doubles and every spelling is placed again.
        if (texts_.size() * 2 > cap) {
            cap *= 2;
            std::vector<Slot> bigger(cap);
            for (const Slot& s : table) {
                if (s.id1 == 0) continue;
                std::size_t to = static_cast<std::size_t>(spelling_hash(texts_[s.id1 - 1])) & (cap - 1);
                while (bigger[to].id1 != 0) to = (to + 1) & (cap - 1);
                bigger[to] = s;
            }
            table.swap(bigger);
        }
    }
}
