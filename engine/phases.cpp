#include "engine/phases.h"

#include "engine/entry_display.h"
#include "engine/proofreading/proof_reader.h"
#include "engine/scan_end.h"
#include "engine/token_report.h"
#include "engine/translation/translation.h"

// The steps of the run, each in its place and under its switch. A step whose work is not built
// yet is an empty function that says so.

void report_gap(RunContext& c, const TokenScan& t) { token_report_gap(c, t); }

void report_token(RunContext& c, const TokenScan& t) { token_report(c, t); }

void export_checker_text(RunContext& c) { export_checker_tokens(c); }

void one_token_bulgarian_display(RunContext& c) { show_one_bulgarian_word(c); }

// Not built yet: the word lists of a processed text fill it (the English word list).
void phase_english_word_list(RunContext&) {}

// Not built yet: the word lists of a processed text fill it (unknown words, all Latin words).
void phase_unknown_words(RunContext&) {}

// Not built yet: the generated correction files fill it ("AUTO", "AUTO_LOG").
void phase_auto_files(RunContext&) {}

// Not built yet: the generated correction files fill it ("OCR").
void phase_ocr_file(RunContext&) {}

void phase_proof_reader(RunContext& c) { proof_read(c.source, c.report, c.processed, c.list_start); }

// Not built yet: the subtitle text fills it (store 1's second array without time codes).
void phase_subtitle_text(RunContext&) {}

// Not built yet: the generated files "NO_TIME_CODE" and "TIME_CODE" fill it.
void phase_time_code_files(RunContext&) {}

// Not built yet: the colouring of English text for translators fills it.
void phase_translator_colouring(RunContext&, const RecordArray&) {}

// Not built yet: the colouring of hard and rare words fills it.
void phase_hard_rare_colouring(RunContext&, const RecordArray&) {}

// The translator walks store 1 itself, also for subtitles: it leaves out their block numbers and
// time codes sentence by sentence and puts them back round each translation.
void phase_machine_translation(RunContext& c, const RecordArray&) { machine_translation(c.source, c.report, store1.rec); }

void entry_display(RunContext& c) { show_dictionary_entry(c); }
