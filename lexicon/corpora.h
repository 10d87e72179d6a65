// lexicon/corpora.h - sentence corpora: the search comparator and the normalising of a phrase into
// its corpus key.
#pragma once

#include <string>
#include <string_view>

#include "shell/lists.h"

// Binary-search comparator of a corpus: the key against the entry's English sentence,
// case-insensitive; below, at or above 0.
int cmp_3(std::string_view key, const SentencePair& entry);

// The entry of a corpus row whose English sentence is `key` (case-insensitive), or null.
const SentencePair* find_sentence(const ListFileRecord& corpus, std::string_view key);

// Turns a phrase into its display text and its corpus key. In the phrase, a CR after '-' is
// removed (the hyphenated word is joined), any other CR becomes a blank, runs of blanks become
// one (leading blanks dropped, one trailing blank dropped); that text goes to `display` (at most
// 2,047 bytes). Then, unless the phrase holds two tabs in a row, tabs become blanks, 0x92 becomes
// an apostrophe and every blank becomes '_' (the key, left in `phrase`). A phrase with two tabs
// in a row keeps its display form and the first time (until the flag is cleared) the message
// "Повече от една табулация! Оправете текста и опитайте пак." is shown under "Oops!".
// Returns 1 for a key, 0 for a phrase with two tabs in a row. The phrase is worked in place and
// `display` keeps its room: a caller that reuses both allocates nothing.
int normailize_sentence(std::string& phrase, std::string& display);

// The message of the double tab (code page 1251).
std::string_view two_tabs_message();
