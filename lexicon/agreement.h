// lexicon/agreement.h - agreement of an adjective, participle, possessive or determiner with the
// noun it belongs to, for the machine translation's units.
#pragma once

#include <cstdint>
#include <string>

#include "lexicon/morphology.h"

// The kind of a unit: the row of the word-class list (lexicon/wordclass.h) that supplied its text,
// or the row of the class a dictionary translation's words belong to.
enum MtKind : std::int32_t {
    kMtNoKind = -1,             // untranslated, or from a list that sets no kind
    kMtNoun = 0,                // c_c11
    kMtNoun12 = 1,              // c_c12
    kMtNounSecond = 42,         // c_c2: the noun is the phrase's second word
    kMtNounThird = 43,          // c_c3
    kMtNounFourth = 44,         // c_c4
    kMtNounFifth = 45,          // c_c5
    kMtTwoWords = 46,           // the two-word lists: adjective and noun
    kMtThreeWords = 58,         // the three-word lists
    kMtAdjective = 70,          // the adjective lists
    kMtAdverb = 133,            // c_adv11
    kMtAdverbWhen = 166,        // c_adv_when11
    kMtAdverbWhere = 181,       // c_adv_where11
    kMtVerbAz = 189,            // the c_v_az lists
    kMtVerbDa = 231,            // the c_v_da, c_v_se and c_v_si lists
    kMtAbbMasculine = 327,      // c_abbm11
    kMtAbbFeminine = 329,       // c_abbf11
    kMtAbbNeuter = 331,         // c_abbn11
    kMtAbbPlural = 333,         // c_abbpl11
    kMtOrdinal = 339,           // c_num21
    kMtAttribute = 343,         // the attribute lists
    kMtPreposition = 356,       // c_prep11
    kMtName = 384,              // z_name1
    kMtMaleName = 390,          // z_male1
    kMtFemaleName = 394,        // z_fem1
    kMtPlace = 398,             // z_place1
    kMtProperName = 402,        // z_prop1
    kMtCulture = 406,           // z_cult1
    kMtTransliterated = 410,    // z_tran1
};

// One unit of a sentence being machine-translated (one per translated span or untranslated token).
struct MtUnit {
    std::string key;             // English key of the span, '_' between words (at most 255 bytes)
    std::string gap;             // the separator printed before the unit (at most 255 bytes)
    std::string text;            // the Bulgarian text, or the English token (at most 511 bytes)
    std::uint8_t is_noun = 0;    // 1 noun/pronoun/name with noun_info; 2 agreed adjective
    std::uint8_t agreed = 0;     // 1 when fix_adj made the unit agree with a noun
    NounAdjInfo noun_info;       // the noun's (or the agreed adjective's) information
    std::int32_t kind = kMtNoKind;  // the word-class row that supplied the text (MtKind)
};

inline constexpr std::size_t MT_TEXT_MAX = 511;

// Makes unit j of `units` agree with a noun of information `noun`. It acts on units of kind 70,
// 343, 189, 231 or 339, on the keys "this", "whose" and the possessives "my", "your", "yours",
// "his", "its", "our", "their" ("her" only when its text's lemma is "неин"), and on the texts
// "такъв", "някой", "всеки"; never on the keys "does", "makes", "meet". An adjective or participle
// (the first word of the text, after a prefix ending in '-'; for kind 339 the last word) gets the
// form of the noun's gender and number, definite after "the" or a possessive (participles take
// the forms from slot 38); a determiner gets its own matching form. Returns 1 when it acted on the
// unit (also when no form applied), 0 otherwise.
int fix_adj(int j, MtUnit* const* units, const NounAdjInfo& noun);
