// engine/translation/steps.h - the steps that translate a sentence not found whole: the span
// matcher, the grammatical adjustments and the composing and showing of the result.
#pragma once

#include "engine/translation/lists.h"
#include "engine/translation/sentence.h"

// The counters of the comma phrases (tokens from the start to a comma, from a comma to the mark).
struct MtCommaCounts {
    std::int32_t to_comma = 0;
    std::int32_t comma_to_mark = 0;
};

// Covers the sentence with the longest known spans, leftmost first, fills the units and the unit
// list (work.list) and sets work.comma_phrase.
void match_spans(const MtSentence& s, MtWork& work, const MtLexicon& lex, MtCommaCounts& counts);

// The grammatical adjustments over the unit list, in their order.
void adjust_units(std::vector<MtUnit*>& list, const MtLexicon& lex);

// Joins the unit list into the Bulgarian sentence and shows it in the run's panel.
void compose_and_show(const MtSentence& s, MtWork& work, const MtRun& run);

// The first-in-file-order reverse look-up index is rebuilt on its first use in a run.
void forget_reverse_index();
