// engine/translation/translation.h - the English-to-Bulgarian machine translation of a processed
// text: the last phase of translate_text.
//
// The phase cuts the records of token store 1 into sentences and translates them one by one into
// the machine-translation window's panel hMachineRe. A sentence that a sentence corpus (or, as a
// whole, one of the word-class lists) holds is shown with its stored translation; any other goes
// through the span matcher, the grammatical adjustments and the composing of the Bulgarian
// sentence (engine/translation/steps.h; span_matcher.cpp, adjustments.cpp, compose.cpp). The
// filter box hMachineReFilter, when it holds text, narrows the output to the sentences that
// contain it.
#pragma once

#include <cstdint>

#include "engine/translation/subtitle_statistics.h"
#include "engine/token_store.h"
#include "platform/types.h"

// The counters of the last translation (printed by the subtitle statistics).
extern SubtitleCounters mt_counters;

// Translates the records of `walked` (store 1) into hMachineRe. `source` is the run's source panel,
// `report` its report panel (the subtitle statistics go there). Does nothing when machine
// translation is off, the machine-translation window does not exist, the source is the main
// window's entry box (or its copy), or an English text (ENGLISH_TRANSLATION) holds more than 2,999
// tokens. The selection and scroll position of hMachineRe are put back at the end.
void machine_translation(HWND source, HWND report, const RecordArray& walked);

// Forgets the state a translation leaves behind (counters, filter, split gaps, the reverse index).
void reset_translation();
