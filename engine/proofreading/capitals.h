// engine/proofreading/capitals.h - known Bulgarian words written with a capital where no sentence
// begins, and the letter pairs that text recognition confuses.
//
// The capital pass scans token store 1 twice: words met more than three times with their capital
// are listed once with their count (they are probably meant so), the rarer ones are reported where
// they stand, with the suggestion to write them small or to end the sentence before them. It leaves
// its groups in the single token index, which the letter-pair pass then reuses.
#pragma once

class WordList;
struct ProofRun;
struct PassRow;

void capitals_in_sentences(ProofRun& run, const PassRow& row);
void ocr_letter_pairs(ProofRun& run, const PassRow& row);

// After a word that begins with a capital, only these words are candidates.
extern const WordList capital_after_capital;
// The words of b_bulgarian_comma1 after which the suggestion to write the word small is not made.
extern const WordList capital_beyond;
