#include "engine/proofreading/proof_words.h"

#include <cstring>


bool only_of(const char* text, const char* set) {
    for (const char* c = text; *c; ++c)
        if (!std::strchr(set, *c)) return false;
    return true;
}

bool sentence_end_gap(const char* gap) {
    if (const char* dot = std::strchr(gap, '.')) return dot[1] != '.';
    return std::strpbrk(gap, "?!;") != nullptr;
}
