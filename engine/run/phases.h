// engine/run/phases.h - the steps of a run of translate_text that the frame calls: the per-token
// report inside the scan, the end of the scan, the optional phases in their fixed order and the
// dictionary-entry display. The frame (engine/run/run.cpp) tests each phase's switch and calls it;
// each step hands the run's context to the routine of its own file (token_report, scan_end,
// word_lists, correction_files, proofreading, translator_colouring, translation, entry_display).
#pragma once

#include "engine/run/run.h"

// ---- Inside the scan, per committed record ----------------------------------------------------
void report_gap(RunContext& c, const TokenScan& t);    // before the Cancel test
void report_token(RunContext& c, const TokenScan& t);  // after the counter grows

// ---- End of the scan ---------------------------------------------------------------------------
void export_checker_text(RunContext& c);           // source hBigReRight, after the copy into store R
void one_token_bulgarian_display(RunContext& c);   // one token, text beginning with a Cyrillic letter

// ---- The phases, in their order ------------------------------------------------------------
void phase_english_word_list(RunContext& c);  // 1: gl_PARSE_LATIN_WORDS
void phase_unknown_words(RunContext& c);      // 2: more than one token processed
void phase_auto_files(RunContext& c);         // 3: gl_AUTO_SPELL
void phase_ocr_file(RunContext& c);           // 4: gl_AUTO_OCR
void phase_proof_reader(RunContext& c);       // 5: gl_CHECK_PUNCTUATION
void phase_subtitle_text(RunContext& c);      // 6a: gl_MACHINE_TRANSLATION, gl_fg_subtitle
void phase_time_code_files(RunContext& c);    // 6b: ... and gl_STRIP_TIMECODE
void phase_translator_colouring(RunContext& c, const RecordArray& walked);  // 6c
void phase_hard_rare_colouring(RunContext& c, const RecordArray& walked);   // 7: every run that cuts tokens
void phase_machine_translation(RunContext& c, const RecordArray& walked);   // 8

// ---- After the common end -------------------------------------------------------------------
void entry_display(RunContext& c);  // one word or one multi-word entry, not Cyrillic
