#include "engine/proofreading/proof_words.h"

#include <cstring>

#include "lexicon/tables.h"

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
