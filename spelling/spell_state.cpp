// spelling/spell_state.cpp - the suggestion pool, the apostrophe labels and the subsystem's reset.
#include "spelling/spell_state.h"

#include <algorithm>
#include <cstring>

#include "spelling/word_index.h"

thread_local std::uint64_t suggestion_runs = 0;
const std::array<const char*, 3> gl_aposlong = {
    "is NOT English, in' -> ing, other sets not checked",
    "NO set",
    "has apos",
};
DefCutRecord defcut;

SuggestionPool::SuggestionPool() { items_.reserve(1024); }

void SuggestionPool::clear() {
    used_ = 0;
    full_ = false;
    items_.clear();
}

bool SuggestionPool::add(std::string_view text, std::int32_t rank) {
    if (full_) return false;
    if (text.size() + 1 > bytes_.size() - used_) {
        full_ = true;
        return false;
    }
    char* dst = bytes_.data() + used_;
    std::memcpy(dst, text.data(), text.size());
    dst[text.size()] = '\0';
    used_ += text.size() + 1;
    items_.push_back(SuggestionPair{dst, rank});
    return true;
}

SuggestionPool& empty_suggestion_pool() {
    thread_local SuggestionPool pool;
    pool.clear();
    return pool;
}

int cmp_lar(const SuggestionPair& a, const SuggestionPair& b) { return a.rank > b.rank ? 1 : -1; }

bool append_bounded(std::string& text, std::string_view item) {
    if (item.size() > kSpellTextMax - std::min(text.size(), kSpellTextMax)) return false;
    text.append(item);
    return true;
}

void reset_spelling() {
    defcut = DefCutRecord{};
    drop_word_indexes();
}
