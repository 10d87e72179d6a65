#include "engine/proofreading/token_spellings.h"

#include <algorithm>

#include "engine/token_store.h"
#include "platform/flat_table.h"
#include "spelling/word_index.h"

namespace {

// The innermost open run of this thread.
thread_local RunSpellings* g_innermost_spellings = nullptr;

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
    hashes_.reserve(cap / 2);
    FlatTable<NumberedSlot> table;
    table.reset(cap);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view text(floor[i].text);
        const std::uint64_t h = word_hash(text);
        const std::size_t at =
            table.probe(h, [&](const NumberedSlot& s) { return s.fits(h) && texts_[s.entry()] == text; });
        if (table.at(at).taken()) {
            ids_[i] = static_cast<std::uint32_t>(table.at(at).entry());
            continue;
        }
        ids_[i] = static_cast<std::uint32_t>(texts_.size());
        table.put(at, NumberedSlot::of(h, texts_.size()));
        texts_.push_back(text);
        hashes_.push_back(h);
        // Kept at most half full: the table doubles, its slots placed again by the hash bits they hold.
        if (table.wants_room(texts_.size(), 1, 2)) table.grow(table.slot_count() * 2, NumberedSlot::home_hash);
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
