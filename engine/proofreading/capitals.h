// engine/proofreading/capitals.h - known Bulgarian words written with a capital where no sentence
// begins, and the letter pairs that text recognition confuses.
//
// The capital pass scans token store 1 twice: words met more than three times with their capital
// are listed once with their count (they are probably meant so), the rarer ones are reported where
// they stand, with the suggestion to write them small or to end the sentence before them. It leaves
// its groups in the single token index, which the letter-pair pass then reuses.
//
// Over stretches of the store the pass makes two scans: the first records each candidate's word
// (an index operation of the stretch's recording); the words of all stretches are then counted in
// order (capitals_frequent), and the second scan reports a stretch's rare candidates. Everything a
// candidate is judged by lies in its record and the records on either side of it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class WordList;
struct ProofRun;
struct PassRow;

void capitals_in_sentences(ProofRun& run, const PassRow& row);
// Counts the candidates' words (in the order of the store) in the single token index and lists the
// groups met more than three times; returns their spellings in small letters, sorted, which the
// second scan passes over (its recordings hold while they are the same).
std::vector<std::string> capitals_frequent(ProofRun& run, const PassRow& row, const std::vector<std::string_view>& words);
void ocr_letter_pairs(ProofRun& run, const PassRow& row);

// After a word that begins with a capital, only these words are candidates.
extern const WordList capital_after_capital;
// The words of b_bulgarian_comma1 after which the suggestion to write the word small is not made.
extern const WordList capital_beyond;
