// engine/proofreading/proof_words.h - the gap classes and dictionary look-ups the article, comma and
// capital passes ask about, beside the word lists and word tests of word_checks.h.
#pragma once

#include <string_view>

#include "engine/proofreading/word_checks.h"

// True when every character of the text is one of `set` (an empty text is).
bool only_of(const char* text, const char* set);
// A gap that ends a sentence: a '.' that is not the first of two, or (without any '.') a '?', '!'
// or ';'.
bool sentence_end_gap(const char* gap);
