#include "engine/proofreading/token_spellings.h"

#include <algorithm>

#include "engine/token_store.h"
#include "spelling/word_index.h"

namespace {

// The innermost open run of this thread.
thread_local RunSpellings* g_innermost_spellings = nullptr;

// One place of the open-addressed table: the high half of the hash and the number plus one (0: free).
struct SpellingSlot {
    std::uint32_t hash = 0;
    std::uint32_t id1 = 0;
};

}  // namespace

TokenSpellings::TokenSpellings(const SenToken* floor, const SenToken* nd) : floor_(floor), nd_(nd) {
    if (!floor || !nd || nd <= floor) return;
    const auto n = static_cast<std::size_t>(nd - floor);
    ids_.resize(n);
    // Room at once for a spelling in four records (the separators between words are records too,
    // and words repeat), up to a bound: a text of a wide vocabulary is placed again at most once or
    // twice as the table doubles, and a long text of few spellings does not hold a table the size
    // of its records through the run.
    std::size_t cap = 1024;
    while (cap < 2 * std::min<std::size_t>(n / 4, std::size_t{1} << 18)) cap *= 2;
    texts_.reserve(cap / 2);
    std::vector<SpellingSlot> table(cap);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view text(floor[i].text);
        const std::uint64_t h = word_hash(text);
        const auto tag = static_cast<std::uint32_t>(h >> 32);
        std::size_t at = static_cast<std::size_t>(h) & (cap - 1);
        for (;; at = (at + 1) & (cap - 1)) {
            SpellingSlot& s = table[at];
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
            std::vector<SpellingSlot> bigger(cap);
            for (const SpellingSlot& s : table) {
                if (s.id1 == 0) continue;
                std::size_t to = static_cast<std::size_t>(word_hash(texts_[s.id1 - 1])) & (cap - 1);
                while (bigger[to].id1 != 0) to = (to + 1) & (cap - 1);
                bigger[to] = s;
            }
            table.swap(bigger);
        }
    }
}

RunSpellings::RunSpellings() : outer_(g_innermost_spellings) { g_innermost_spellings = this; }

RunSpellings::~RunSpellings() { g_innermost_spellings = outer_; }

std::shared_ptr<const TokenSpellings> spellings_of(const SenToken* floor, const SenToken* nd) {
    if (g_innermost_spellings) {
        auto& kept = g_innermost_spellings->spellings_;
        if (!kept) kept = std::make_shared<const TokenSpellings>(floor, nd);
        if (kept->covers(floor, nd)) return kept;
    }
    return std::make_shared<const TokenSpellings>(floor, nd);
}

PassSpellings::PassSpellings(const SenToken* floor, const SenToken* nd) : spellings_(spellings_of(floor, nd)) {}

void FoldedWords::add(std::string_view word) {
    const std::size_t h = static_cast<std::size_t>(folded_key_hash(word)) & mask_;
    bits_[h / 64] |= std::uint64_t{1} << (h % 64);
}

bool FoldedWords::may_hold(std::string_view word) const {
    const std::size_t h = static_cast<std::size_t>(folded_key_hash(word)) & mask_;
    return (bits_[h / 64] >> (h % 64)) & 1u;
}
