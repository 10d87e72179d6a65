#include "engine/phases.h"

// Each function below is a step of the run whose work is not built yet; the frame already calls
// it in its place and under its switch.

// Not built yet: the per-token report fills it (the gap's display line in the main window's pane).
void report_gap(RunContext&, const TokenScan&) {}

// Not built yet: the per-token report fills it (numbers, Bulgarian and English spelling and
// dictionary lines, source colours, the token index, the spelling logs).
void report_token(RunContext&, const TokenScan&) {}

// Not built yet: the token and repeated-passage exports of the checker's text and its gap index.
void export_checker_text(RunContext&) {}

// Not built yet: the one-token Bulgarian display fills it (English text, neighbourhood, paradigms).
void one_token_bulgarian_display(RunContext&) {}

// Not built yet: the word lists of a processed text fill it (the English word list).
void phase_english_word_list(RunContext&) {}

// Not built yet: the word lists of a processed text fill it (unknown words, all Latin words).
void phase_unknown_words(RunContext&) {}

// Not built yet: the generated correction files fill it ("AUTO", "AUTO_LOG").
void phase_auto_files(RunContext&) {}

// Not built yet: the generated correction files fill it ("OCR").
void phase_ocr_file(RunContext&) {}

// Not built yet: the Bulgarian proof-reader fills it (its passes and report).
void phase_proof_reader(RunContext&) {}

// Not built yet: the subtitle text fills it (store 1's second array without time codes).
void phase_subtitle_text(RunContext&) {}

// Not built yet: the generated files "NO_TIME_CODE" and "TIME_CODE" fill it.
void phase_time_code_files(RunContext&) {}

// Not built yet: the colouring of English text for translators fills it.
void phase_translator_colouring(RunContext&, const RecordArray&) {}

// Not built yet: the colouring of hard and rare words fills it.
void phase_hard_rare_colouring(RunContext&, const RecordArray&) {}

// Not built yet: the English-to-Bulgarian machine translation fills it.
void phase_machine_translation(RunContext&, const RecordArray&) {}

// Not built yet: the dictionary-entry display of a one-word look-up fills it.
void entry_display(RunContext&) {}
