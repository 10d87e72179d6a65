// spelling/spell_state.cpp - the spelling result globals, the suggestion pool and their reset.
#include "spelling/spell_state.h"

#include <algorithm>
#include <cstring>

#include "spelling/word_index.h"

thread_local std::string spelling;
thread_local std::string spelling_sh;
thread_local std::int32_t suggest_ct = 0;
thread_local std::uint8_t false_positive = 0;
thread_local std::uint8_t first_letter_differ = 0;
thread_local std::uint8_t splitting = 0;
thread_local std::uint8_t gl_mdash = 0;
thread_local std::uint64_t suggestion_runs = 0;
thread_local std::int32_t gl_aposcase = 0;
const std::array<const char*, 3> gl_aposlong = {
    "is NOT English, in' -> ing, other sets not checked",
    "NO set",
    "has apos",
};
thread_local std::string bf_deriv;
thread_local std::string aposlabel;
thread_local char isforeign[] = ", but foreign";
DefCutRecord defcut;

thread_local SuggestionPool suggestion_pool;

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

int cmp_lar(const SuggestionPair& a, const SuggestionPair& b) { return a.rank > b.rank ? 1 : -1; }

void clear_suggestion_results() {
    ++suggestion_runs;
    spelling.clear();
    spelling_sh.clear();
    suggest_ct = 0;
    false_positive = 0;
    first_letter_differ = 0;
    splitting = 0;
    suggestion_pool.clear();
}

bool append_bounded(std::string& text, std::string_view item) {
    if (item.size() > kSpellTextMax - std::min(text.size(), kSpellTextMax)) return false;
    text.append(item);
    return true;
}

void reset_spelling() {
    clear_suggestion_results();
    gl_mdash = 0;
    gl_aposcase = 0;
    bf_deriv.clear();
    aposlabel.clear();
    isforeign[0] = ',';
    defcut = DefCutRecord{};
    drop_word_indexes();
}
