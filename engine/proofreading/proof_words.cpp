#include "engine/proofreading/proof_words.h"

#include <cstring>

#include "lexicon/tables.h"
#include "platform/text.h"

const std::vector<std::string>& WordList::words() const {
    if (cp_.size() != utf8_.size()) {
        cp_.clear();
        for (const char* w : utf8_) cp_.push_back(utf8_to_cp1251(w));
    }
    return cp_;
}

bool WordList::has(std::string_view word) const {
    for (const std::string& w : words())
        if (cp_strcasecmp(w, word) == 0) return true;
    return false;
}

bool WordList::has_exactly(std::string_view word) const {
    for (const std::string& w : words())
        if (w == word) return true;
    return false;
}

bool only_of(const char* text, const char* set) {
    for (const char* c = text; *c; ++c)
        if (!std::strchr(set, *c)) return false;
    return true;
}

bool sentence_end_gap(const char* gap) {
    if (const char* dot = std::strchr(gap, '.')) return dot[1] != '.';
    return std::strpbrk(gap, "?!;") != nullptr;
}

bool in_b_row(int row, std::string_view word) {
    return find_pair(b[static_cast<std::size_t>(row)].entries, word) != nullptr;
}
