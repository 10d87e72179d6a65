// lexicon/agreement.h - agreement of an adjective, participle, possessive or determiner with the
// noun it belongs to, for the machine translation's units.
#pragma once

#include <cstdint>
#include <string>

#include "lexicon/morphology.h"

// One unit of a sentence being machine-translated (one per translated span or untranslated token).
struct MtUnit {
    std::string key;             // English key of the span, '_' between words (at most 255 bytes)
    std::string gap;             // the separator printed before the unit (at most 255 bytes)
    std::string text;            // the Bulgarian text, or the English token (at most 511 bytes)
    std::uint8_t is_noun = 0;    // 1 noun/pronoun/name with noun_info; 2 agreed adjective
    std::uint8_t agreed = 0;     // 1 when fix_adj made the unit agree with a noun
    NounAdjInfo noun_info;       // the noun's (or the agreed adjective's) information
    std::int32_t kind = -1;      // the word-class row that supplied the text, -1 none
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
