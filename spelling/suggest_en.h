// spelling/suggest_en.h - the English suggestion generator.
//
// spellcheck proposes corrections for one English word that wl_english (row 0 of the English
// word-list table) does not hold. Every candidate - a moved doubled consonant, the single edits of
// the shared engine (edit_candidates.h), a split into a common prefix and a word or into two words,
// the word as a listed stem plus a common suffix - is kept when wl_english holds it, with the rank
// of the entry found. A candidate that is only a regular form of the input (plural, past tense,
// -ise/-ize, a common prefix or suffix) is kept marked "(FALSE POS)". When nothing was found and
// the option DEEP_SPELL is on, the whole list is scanned for near matches ("(EXTRA)"). The
// suggestions are sorted by rank and answered as Suggestions (spell_state.h):
//   spelling     "1. dog (drop last s 4) (rank 120) 2. ..."   (whole items while they fit)
//   spelling_sh  "dog | is a | (FALSE POS)"   (each short form once, at its first place)
//   suggest_ct (every suggestion), false_positive, first_letter_differ, splitting
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "spelling/spell_state.h"

// The suggestions for `word` (8-bit text). Case is ignored in every comparison and look-up;
// candidate texts keep the input's letters as typed. A word of fewer than 2 characters, or longer
// than longest_suggestible_english, gets no suggestions.
Suggestions spellcheck(std::string_view word);

// The length beyond which no text gets a suggestion from the list indexed by `eng`: twice its
// longest word plus the longest common suffix (a split into two words, one a listed stem with a
// suffix). spellcheck does not search a longer text.
class WordIndex;
std::size_t longest_suggestible_english(const WordIndex& eng);

// 1 when the first two letters of `text` (case-insensitive) are one of the common two-letter words
// ("is", "in", "on", ... "kg"), else 0.
int iscommontwo(std::string_view text);

// The fixed tables of the generator.
std::span<const std::string_view> english_two_letter_words();     // 23 words
std::span<const std::string_view> english_prefixes(int length);   // common prefixes of 2..7 letters
// Changing the last letter of an input with this ending into `letter` gives a regular form.
struct EndingPair {
    char letter;
    std::string_view ending;
    bool needs_sibilant;  // only after s, z or x, or after "ch" or "sh"
};
std::span<const EndingPair> english_ending_pairs();  // 16 pairs
// The -ize/-ise endings: swapping the z and s of the ending gives a regular variant when the
// word has at least min_length letters.
struct IzeIsePair {
    std::string_view ize;
    std::string_view ise;
    int min_length;
};
std::span<const IzeIsePair> english_ize_ise_pairs();  // 13 pairs

// The short form of a suggestion text in spelling_sh: "(FALSE POS)" for a marked text; otherwise
// the text up to its first blank, or up to its second blank when the text after the first blank
// does not begin with '(' (a two-word split gives both words).
std::string_view english_short_form(std::string_view text);
