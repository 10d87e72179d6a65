// engine/proofreading/agreement.h - the grammar passes of the proof-reader: two nouns next to each
// other, an adjective that disagrees with its noun, and six phrase passes (a preposition before a
// verb, "да" before a word that is not a verb, a verb before "е", doubtful short-pronoun phrases,
// two adjacent prepositions, "не" before a definite noun); and the small word tools they share.
//
// Every pass is one walk of token store 1 that asks the Bulgarian word-form index about the words
// it meets; it keeps nothing between calls and marks the source only where its row says so.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
