// engine/proofreading/agreement.h - the grammar passes of the proof-reader: two nouns next to each
// other, an adjective that disagrees with its noun, and six phrase passes (a preposition before a
// verb, "да" before a word that is not a verb, a verb before "е", doubtful short-pronoun phrases,
// two adjacent prepositions, "не" before a definite noun); and the small word tools they share.
//
// Every pass is one walk of token store 1 that asks the Bulgarian word-form index about the words
// it meets; it keeps nothing between calls and marks the source only where its row says so.
#pragma once

#include <array>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/proofreading/agreement_tables.h"
#include "engine/proofreading/proof_report.h"
#include "engine/proofreading/word_checks.h"
#include "platform/text.h"

struct PassRow;

// ---- The passes, in their order ------------------------------------------------------------------
void consecutive_nouns(ProofRun& run, const PassRow& row);     // "чаша стол" -> "чаша, стол | чаша-стол"
void adjective_noun(ProofRun& run, const PassRow& row);        // "хубава момче"
void preposition_verb(ProofRun& run, const PassRow& row);      // "за отиде"
void da_not_verb(ProofRun& run, const PassRow& row);           // "да маса", "да и" -> "да й"
void verb_before_e(ProofRun& run, const PassRow& row);         // "отиде е" -> "отиде с"
void doubtful_phrase(ProofRun& run, const PassRow& row);       // "ако ме маса"
void adjacent_prepositions(ProofRun& run, const PassRow& row); // "за от"
void ne_definite_noun(ProofRun& run, const PassRow& row);      // "не масата" -> "на масата"

namespace agree {

// One word in code page 1251, compared without regard to case.
struct Word {
    std::string cp;
    explicit Word(std::string_view utf8) : cp(utf8_to_cp1251(utf8)) {}
    bool is(std::string_view w) const { return cp_strcasecmp(w, cp) == 0; }
};

// A finding line: the context red and bold (recoloured `context_colour` when that is another), the
// suggestion part in `suggestion_colour`, and, when `marker` is above 0, the context's character at
// that offset in `marker_colour`.
void write_finding(PassReport& rep, const ProofRun& run, std::string_view context, std::string_view suggestion,
                   COLORREF suggestion_colour, long marker, COLORREF context_colour = PR_CONTEXT,
                   COLORREF marker_colour = PR_LINE_BREAK);

}  // namespace agree

// The word lists of the adjective-noun pass: the named tables of agreement_tables.h, and the short
// lists of its rules, in code page 1251.
struct ConcordWords {
    template <std::size_t N>
    static WordList set_of(const std::array<std::string_view, N>& a) {
        return WordList{std::span<const std::string_view>(a)};
    }

    WordList never_adjectives = set_of(concord_never_adjectives);
    WordList never_lemmas = set_of(concord_never_lemmas);
    WordList never_nouns = set_of(concord_never_nouns);
    WordList title_nouns = set_of(concord_title_nouns);
    WordList title_adjectives = set_of(concord_title_adjectives);
    WordList colours = set_of(concord_colour_words);
    WordList colours_but_first{std::span<const std::string_view>(concord_colour_words).subspan(1)};
    WordList masc_or_plural = set_of(concord_masc_or_plural_nouns);
    WordList fem_or_plural = set_of(concord_fem_or_plural_nouns);
    WordList masc_or_fem = set_of(concord_masc_or_fem_nouns);
    std::vector<std::pair<std::string, std::string>> fixed;

    WordList my_fem{"моя твоя своя"};
    WordList tvardi_nouns{"историята мълвата легендата паспортът слухът човек справочникът учебникът управата"};
    WordList very_adverbs{"изключително невъзможно необичайно относително удивително"};
    WordList very_nouns{"бели лек лека гол рязка става стана як ясен"};
    WordList groups{"армия банда група камара куп чифт шепа"};
    WordList verb_like{"мина направи огледа отказа отстъпи почина става стана"};
    WordList neuter_or_plural{"множество екстази гости коли мартини пинки суши такси"};
    WordList masc_or_neuter{"аташе вице гуру импресарио манго мосю падре"};
    WordList masc_ov{"волеви кадрови мирови редови часови фронтови щурмови"};
    WordList ago_plural{"векове години дни десетилетия месеци минути седмици секунди столетия часове хилядолетия"};
    WordList ago_single{"век година ден десетилетие месец минута седмица секунда столетие час хилядолетие"};
    WordList ago_words{"преди по-късно след"};
    WordList before_after{"преди след"};
    WordList numeral_words{"няколко колко"};
    WordList da_shte{"да ще щом"};
    WordList kakto_kolkoto{"както колкото"};
    WordList were{"били бяха са сме"};
    WordList to_colour{"бяло синкаво червено"};
    WordList barely{"доловимо чуто"};
    WordList na_adverbs{"светло ситно старо тъмно тясно черно"};
    WordList with{"с със"};
    WordList in_to_with{"в във до с със"};
    WordList recent{"близкото недалечното"};
    WordList times{"веднъж път пъти"};
    WordList periodic{"годишно дневно месечно седмично"};
    WordList pronoun_short{"ви им ми ме му ти"};
    WordList if_not{"ако не щом"};
    WordList allowed{"безопасно досадно желателно известно невъзможно необичайно нужно редно позволено предписано "
                    "прието разрешено"};
    WordList allowed_by{"бе беше било бъде е много съвсем"};
    WordList decided{"жизненоважно забелязано забранено заложено заповядано изключено изписано минал минало "
                    "невъзможно наредено обичайно решено предвидено съобщавано"};
    WordList decided_by{"бе беше било е"};
    WordList unthinkable{"извънредно немислимо"};
    WordList unthinkable_by{"бе беше било бяха е"};

    ConcordWords() {
        for (const ConcordPair& p : concord_fixed_pairs)
            fixed.emplace_back(utf8_to_cp1251(p.adjective), utf8_to_cp1251(p.noun));
    }
    bool fixed_pair(const char* a, const char* n) const {
        for (const auto& [fa, fn] : fixed)
            if (cp_strcasecmp(a, fa) == 0 && cp_strcasecmp(n, fn) == 0) return true;
        return false;
    }
};
// Made once, on first use.
const ConcordWords& concord_words();

// The word lists of the phrase passes: the words before and after the pair that make it good.
namespace phrase_lists {
extern const WordList kNotPrepositions, kPodLemmas, kPoForms, kOsvenVerbs, kProtivLemmas;  // preposition, verb
extern const WordList kShortAfterDa;                                                      // "да", not a verb
extern const WordList kKnowing;                                                           // a verb before "е"
extern const WordList kShortDoubtful, kIf, kNotBut, kAfterIf, kAfterNot;                  // short pronouns
extern const std::array<std::pair<WordList, WordList>, 6> kGoodPairs;                     // two prepositions
extern const WordList kNeverFirst, kNeverSecond;
extern const WordList kContrast;  // "не" before a definite noun
}  // namespace phrase_lists
