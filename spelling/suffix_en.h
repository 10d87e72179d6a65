// spelling/suffix_en.h - the English suffix stripper.
//
// issuffix answers whether an English word is a word of wl_english plus one common suffix,
// possibly with the usual spelling change at the joint (a dropped "e", "y" turned into "i", a
// replaced ending). 200 suffixes of 1 to 10 letters are tried shortest first; a suffix of k letters
// only for words of at least k + 4 letters. Each suffix belongs to a group that says which stems
// are tried, in this order:
//   P  the word without the suffix                              suffix text "ing"
//   E  P + "e", when P does not end in a, e, o or y             "e->ing"
//   Y  P + "y"; in groups with E under E's condition, otherwise when P does not end in a, e, o
//      or i                                                      "y->iness"
//   R  replaced endings: "ory"/"ery": the word less its final "y" ("or->ory"), then P + "ion"
//      ("ion->ory"); "ian": the word less its final "n" ("ia->ian"); "ette": the word less its
//      final "te" ("et->ette"); the "ious" suffixes: P + "ion", "ity", "ian", "ial"
//      ("ion->ious", "ity->ious", ...)
//   T  ("tion" only) P with its last letter replaced by "e"   "e->tion"
// Row conditions: "s" not after s, z or x nor in a word ending "chs" or "shs"; "es" only after
// s, z or x or in a word ending "ches" or "shes"; "ity" and "ities" not after "bl".
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "shell/lists.h"

// The length of the table's longest suffix (a word longer than the longest listed word by more
// than this never splits).
std::size_t longest_english_suffix();

// One suffix of the table and the stems its group tries ("P", "PE", "PEY", "PEYR", "PT", ...).
struct SuffixRule {
    std::string_view suffix;
    std::string_view steps;
};

// The 200 suffixes, grouped by length from 1 to 10 letters, shortest first.
std::span<const SuffixRule> english_suffix_table();

// 1 when the word splits into a stem that wl_english holds and a common suffix, else 0.
// `stem` receives the stem as tried (the input's letters, plus any letters the joint rule added),
// `suffix` the suffix text with the joint change in front ("e->ing"), `entry` (when not null) the
// wl_english entry found, whose rest is the stem's rank text. stem and suffix are emptied first
// and stay empty when nothing is found (entry null then).
int issuffix(std::string_view word, std::string& stem, std::string& suffix, const ListPair** entry);
// The same over a given index of wl_english (the suggestion generator's, to save the look-up of
// the index at every call).
class WordIndex;
int issuffix_in(const WordIndex& eng, std::string_view word, std::string& stem, std::string& suffix,
                const ListPair** entry);
