// engine/proofreading/ocr_check.h - the OCR letter-substitution check of the proof-reader.
//
// Optical character recognition often reads one letter as a similar one. When both the word as
// written and the word with that letter swapped are known Bulgarian words (b_bulgarian), the spell
// check cannot notice the confusion. For one pair of letters at a time, this check finds such words
// in token store 1 and appends a grouped summary to a report panel: each suspicious word, how often
// it occurs and the known words it would become.
//
// The pairs are the entries of b_bulgarian_two_letters (first letter of the key, first letter of
// the rest; entries without a rest are skipped), taken in file order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

// Colours of the report (COLORREF 0x00BBGGRR); the entry's number is in gl_col_nosug.
inline constexpr COLORREF kColOcrHeader = 0xFF00FF;      // title, note and summary: magenta
inline constexpr COLORREF kColOcrName = 0xFF55FF;        // a word that looks like a name: pink
inline constexpr COLORREF kColOcrWord = 0x2A00FF;        // any other word: red
inline constexpr COLORREF kColOcrCount = 0xFF0000;       // the count: blue
inline constexpr COLORREF kColOcrAlternatives = 0x007F00;  // the arrow and the known words: green

// Words longer than this are never examined.
inline constexpr std::size_t OCR_WORD_ROOM = 127;
// The known words listed after one entry's arrow, in characters (alternatives that do not fit are
// left out).
inline constexpr std::size_t OCR_ALTERNATIVES_ROOM = 1'023;

// The letter of the other case: lower case for a capital, else upper case (character-type locale).
unsigned char ocr_other_case(unsigned char c);

// Every known word (b_bulgarian) that `word` becomes when one occurrence of c1 is replaced by c2,
// or one occurrence of c1's other case by c2's other case; each occurrence is tried alone, from the
// start of the word. A swap that changes only the letter's case (a pair of equal letters, or a
// letter and its capital) leaves the same word and gives nothing. Empty for a word longer than
// OCR_WORD_ROOM.
std::vector<std::string> ocr_substitutions(std::string_view word, unsigned char c1, unsigned char c2);

// Checks store 1 for the pair (c1 read, c2 meant) and appends its block to the report panel: the
// title "потенциални грешки: c1 -> c2", a note, an empty line, the summary line, an empty line, one
// numbered line per word (word, two blanks, count, " -> ", the known words joined by " | ") and an
// empty line. Uses the single token index (emptied at the first finding). Appends nothing when no
// word of the store gives a finding.
void check_ocr_char(HWND report, unsigned char c1, unsigned char c2);

// Runs check_ocr_char for every pair of b_bulgarian_two_letters in file order (the proof-reader's
// step while FIND_TWO_LETTERS is set). What each pair found for each distinct word of the store is
// kept for the next run (the checker checks the whole text again after every keystroke) while the
// known-word list, the pairs and the letter case rules stay as they were.
void check_ocr_letter_pairs(HWND report);
// Lets go what the letter pairs found before.
void release_kept_ocr_findings();
