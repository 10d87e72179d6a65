// engine/proofreading/sequence_checks.h - the block of checks that follows the dialogue-dash passes:
// the character sequences of sequence_table.h counted in the gaps (one summary each), sentence
// starts written with a small letter, and dashes and ellipses glued to the word before or after
// them. Each function is one walk of token store 1 and keeps nothing between calls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct ProofRun;
struct SenToken;
struct PassRow;

// The whole block, in its order.
void character_sequences(ProofRun& run, const PassRow& row);

// Counts the pattern (code page 1251) in the gaps, at most once per gap, and reports it once with
// its count; returns the count.
unsigned print_other_problem(ProofRun& run, std::string_view pattern, std::u16string_view title,
                             std::string_view suggestion);
// The same reading only the `candidates` (in order: at least every record whose gap may hold the
// pattern), so that the many patterns need not each walk the whole store; null reads every record.
unsigned print_other_problem(ProofRun& run, std::string_view pattern, std::u16string_view title,
                             std::string_view suggestion, const std::vector<const SenToken*>* candidates);
// A gap that ends with the mark and one blank before a word with a small initial.
void print_punct_space_small_letter(ProofRun& run, std::u16string_view title, char mark);
// A gap that ends a sentence with a line break before a word with a small initial.
void print_punct_nl_small_letter(ProofRun& run);
// In subtitle texts: a subtitle that ends with the mark and a next one that begins with a small letter.
void print_subt_punct_space_small_letter(ProofRun& run, std::u16string_view title, char mark);
// The dash glued to the previous word and followed by a blank.
void print_slepen_before(ProofRun& run, std::u16string_view title, char dash);
// A quotation mark or bracket glued to the previous word, then the dash and a blank.
void print_slepen_before2(ProofRun& run, std::u16string_view title, char dash);
// A blank, then the character glued to the next word.
void print_slepen_next(ProofRun& run, std::u16string_view title, char ch);
// A blank, the character, then a quotation mark or bracket glued to the next word.
void print_slepen_next2(ProofRun& run, std::u16string_view title, char ch);
