// spelling/suggest_bg.h - the Bulgarian suggestion generator.
//
// spellcheck_bg proposes corrections for one Bulgarian word (code page 1251) against b_bulgarian
// (row 8 of the dictionary table; rest = rank text). Every candidate is kept when b_bulgarian holds
// it, ranked by the entry found (kRankUnranked without rank text), in this order before sorting:
//   1. one-letter words: fixed alternatives ("и (н -> и)" -5, "на (н -> на)" -4, "й (н -> й)" -3;
//      з, б, ф -> в and м -> и with the entry's rank), case as typed;
//   2. words of more than 5 letters with a hyphen as fourth letter (first letter н/Н, second а or
//      third й) or as third letter (first п/П or second о) and a listed rest: "най-%s (най?)" /
//      "по-%s (по?)" ("Най-", "По-" for a capitalised word), rank -1, or kRankUnranked when the
//      word's letters joined without the hyphen are listed;
//   3. the letter pairs иа/йа -> я, иу/йу -> ю, шт -> щ, each at its first position that gives a
//      listed word: "%s (я %i)" with the pair's 0-based index;
//   4. the single edits of the shared engine (edit_candidates.h) over the 32 small letters а-я,
//      a new letter written as a capital next to capitals; dropping the last letter of a word of
//      more than 5 letters ending in "име"/"еме" and inserting '-' rank -1;
//   5. each inner hyphen between two listed parts (the joined word not listed): "L R (split at ..)"
//      and "L — R (mdash at ..)" (rank kRankUnranked); sets splitting and mdash;
//   6. two listed words that are not only proper names: "L R (split at %i, ranks %i & %i)";
//   7. when nothing was found and DEEP_SPELL is on: near matches "%s (EXTRA)".
// Results as for the English generator: spelling "1. word (note) (rank N) 2. ...", spelling_sh
// "word | two words | left — right" (each short form once), suggest_ct = the number of short forms
// written. With gl_ALLWAYS_SUGGEST a suggestion whose short form is the input word is left out of
// spelling_sh. No suggestion is ever marked "(FALSE POS)".
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "spelling/spell_state.h"

// The length beyond which no text gets a suggestion from the list indexed by `bg`: twice its
// longest word and four letters more (two listed words joined by a hyphen, "най-" and a listed
// word). spellcheck_bg does not search a longer text.
class WordIndex;
std::size_t longest_suggestible_bulgarian(const WordIndex& bg);

// The suggestions for `word`; a text longer than longest_suggestible_bulgarian gets none.
Suggestions spellcheck_bg(std::string_view word);

// The short form of a Bulgarian suggestion text: the text up to its first blank, or, when the text
// after that blank does not begin with '(', up to the blank before its first '(' (a split gives
// both words, a dash suggestion both words with the dash between them).
std::string_view bulgarian_short_form(std::string_view text);

// One fixed alternative of a one-letter word.
struct OneLetterAlternative {
    char letter;            // the one-letter word (CP1251)
    std::string_view text;  // the suggestion text, e.g. "и (н -> и)"; the alternative is its first word
    bool fixed_rank;        // true: `rank` is its rank; false: the rank of the entry found
    int rank;
};
// The 14 alternatives, in the order they are tried.
std::span<const OneLetterAlternative> bulgarian_one_letter_alternatives();
