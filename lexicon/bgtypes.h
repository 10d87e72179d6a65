// lexicon/bgtypes.h - the 473 Bulgarian inflection types: their names, parts of speech and classes,
// the labels of their form slots, and the making of a form from a lemma and an ending table.
//
// Rows by part of speech: 0-84 masculine nouns, 85-113 feminine nouns, 114-139 neuter nouns,
// 140-170 adjectives, 171-205 pronouns, 206-227 numerals, 228-448 verbs ("142" at 228 is съм),
// 449 "188" adverbs, 450-457 other invariable words, 458 neuter plural-only nouns, 459-463 proper
// names, 464-472 abbreviations, names of works, brands, transliterations and the unclassified.
#pragma once

#include <string>
#include <string_view>

// Rows the program names.
enum : int {
    BGT_22 = 47, BGT_32 = 63, BGT_32A = 64, BGT_38 = 76, BGT_38C = 79, BGT_38D = 80, BGT_40 = 83,
    BGT_76N = 141, BGT_78 = 143, BGT_78T = 147, BGT_78N = 148, BGT_87 = 166, BGT_88 = 167,
    BGT_89A = 170, BGT_SUM = 228, BGT_ADVERB = 449, BGT_189 = 450, BGT_192 = 453,
    BGT_NEUTER_PLURAL = 458, BGT_ABBR = 464, BGT_CULT = 466, BGT_PROPR = 468, BGT_TRANS = 469,
    BGT_UNCLASSIFIED = 471,
};

// Verb slots: 0-5 present, 6-11 aorist, 12-17 imperfect (аз, ти, той, ние, вие, те), 18-19
// imperative, 20-28 past active aorist participle, 29-32 past imperfect participle, 33 adverbial
// participle, 34-37 verbal noun, 38-46 past passive participle, 47-55 present active participle
// (the participles of 9 forms in the adjective's order).
inline constexpr int BG_VERB_SLOTS = 56;

// Names, parts of speech and the type-class tables (ascii_noun ...); endings are not touched.
void init_bgtype_table();

// The row of the type named exactly `name`, or -1.
int bgtype_row_by_name(std::string_view name);

// Grammatical gender of a noun type by its row: 0 masculine (rows 0-84), 1 feminine (85-113),
// 2 neuter (114-139 and 458), -1 for every other row.
int bgtype_noun_gender(int row);

// The label of a form slot of a type ("ед.ч.", "пълен член", "сег. вр. 1 л. ед.ч." ...), "" when
// the slot has none.
const char* bg_slot_label(int row, int slot);

// Form `slot` of `lemma` in type `row`, made from the type's ending table: the lemma less the
// type's cut letters, plus the ending, whose '?' take the letters of the cut tail at the same
// position. 1: made; 0: the type has a table but no usable form there (ending "-", slot beyond the
// table, lemma shorter than the cut); -1: the type has no ending table.
int bg_make_form(std::string_view lemma, int row, int slot, std::string& out);
