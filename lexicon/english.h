// lexicon/english.h - English stems and ranks from the dictionary's cross-references and the rank
// list `wl_english`.
#pragma once

#include <string>
#include <string_view>

// The headword that the definition's first cross-reference marker points to (the earliest in the
// text): 1 for an inflection marker ("pl. of ", "3rd of ", "pt of ", "pp of ", "pt/pp of ",
// "prp of ", "past of ", "comparative of ", "superlative of "), 2 for a spelling marker
// ("same as ", "alt. spelling of", "US spelling of ", "UK spelling of "), -1 with an empty
// destination when there is none. The headword is cut to 1,023 bytes.
int GetStem(std::string_view definition, std::string& dest);

// The headword after the first marker found among "pl. of ", "3rd of ", "pt of ", "pp of ",
// "prp of ", "comparative of ", "superlative of ", "alt. spelling of", "US spelling of ",
// "UK spelling of ", tested in that order: 1, or -1 with an empty destination.
int GetStemLemma(std::string_view definition, std::string& dest);

// The word's frequency rank from `wl_english`: 1,000,000 when the word is not listed, 500,000
// when it is listed without a rank.
int GetRankInt(std::string_view word);
