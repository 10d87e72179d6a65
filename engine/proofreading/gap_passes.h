// engine/proofreading/gap_passes.h - short passes over the single gap between two tokens: a blank
// before an ellipsis, an em dash, a quotation mark or an ellipsis written without blanks between
// two words, and dialogue lines that begin with a hyphen.
#pragma once

struct ProofRun;
struct PassRow;

void blank_before_ellipsis(ProofRun& run, const PassRow& row);  // " …" in a gap
void glued_em_dash(ProofRun& run, const PassRow& row);          // word—word
void glued_quotes(ProofRun& run, const PassRow& row);           // word"word, word„word ...
void glued_ellipsis(ProofRun& run, const PassRow& row);         // word…word
void glued_three_dots(ProofRun& run, const PassRow& row);       // word...word
void line_dash_letter(ProofRun& run, const PassRow& row);       // a line that begins "-word"
void line_dash_blank_small(ProofRun& run, const PassRow& row);  // a line that begins "- word"
