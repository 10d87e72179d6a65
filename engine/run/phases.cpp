#include "engine/run/phases.h"

#include "engine/run/correction_files.h"
#include "engine/run/entry_display.h"
#include "engine/proofreading/proof_reader.h"
#include "engine/run/scan_end.h"
#include "engine/run/token_report.h"
#include "engine/translation/translation.h"
#include "engine/translator_colouring.h"
#include "engine/run/word_lists.h"

// The steps of the run, each in its place and under its switch: every step calls the routine that
// does its work.

void report_gap(RunContext& c, const TokenScan& t) { token_report_gap(c, t); }

void report_token(RunContext& c, const TokenScan& t) { token_report(c, t); }

void export_checker_text(RunContext& c) { export_checker_tokens(c); }

void one_token_bulgarian_display(RunContext& c) { show_one_bulgarian_word(c); }

void phase_english_word_list(RunContext& c) { english_word_list(c); }

void phase_unknown_words(RunContext& c) { unknown_words_list(c); }

void phase_auto_files(RunContext& c) { auto_spell_files(c); }

void phase_ocr_file(RunContext& c) { ocr_file(c); }

void phase_proof_reader(RunContext& c) { proof_read(c.source, c.report, c.processed, c.list_start); }

void phase_subtitle_text(RunContext& c) { subtitle_text(c); }

void phase_time_code_files(RunContext& c) { time_code_files(c); }

void phase_translator_colouring(RunContext& c, const RecordArray& walked) { colour_for_translators(c.source, walked); }

void phase_hard_rare_colouring(RunContext& c, const RecordArray& walked) { colour_hard_and_rare(c.source, walked); }

// The translator walks store 1 itself, also for subtitles: it leaves out their block numbers and
// time codes sentence by sentence and puts them back round each translation.
void phase_machine_translation(RunContext& c, const RecordArray&) { machine_translation(c.source, c.report, store1.rec); }

void entry_display(RunContext& c) { show_dictionary_entry(c); }
