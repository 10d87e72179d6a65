// spelling/definitions.h - the definition cut and the definitions of suggested words.
//
// A long dictionary definition is shown cut at a sense boundary after gl_MAX_DEFINITION_LENGTH
// characters (option MAX_DEFINITION_LENGTH; 0 never cuts). The dictionary text itself is never
// written to: shorten_definition hands back the text to show - the definition itself, its head, or
// its head followed by the marker " [%i CHARS CUT]" (kept in the record) - and restore_definition
// releases the record. Every shorten is followed by one restore before the record is used again.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "shell/lists.h"
#include "spelling/spell_state.h"

// Limits of the definitions of suggested words.
inline constexpr std::size_t kSuggestDefinitionLine = 8'000;   // bytes of a formatted line, its NUL included
inline constexpr std::size_t kSuggestDefinitionHard = 7'990;   // hard cut limit, less the word's length
inline constexpr std::size_t kSuggestDefinitionCopy = 7'999;   // uncut copy limit, less the word's length
inline constexpr std::size_t kSuggestDefinitionWide = 32'767;  // UTF-16 characters of a converted line

// Shortens `definition` for display:
//  1. gl_MAX_DEFINITION_LENGTH (M) is 0 or below, or the definition has at most M characters:
//     mode 2, the definition is shown whole.
//  2. From index M, move forward one character at a time until the text ends, the next character
//     is '#' or '@', the next characters are a digit, '.' and a non-digit (a numbered sense), or
//     the index has reached `hard_limit`.
//  3. At the end of the text: mode 2. Otherwise, with L the characters from the stop to the end:
//     L < 21 shows the head alone (mode 1); else the head and " [L CHARS CUT]" (mode 0).
// `record.at` points at the stop inside the definition. Returns the text to show, valid until the
// restore (or until the definition goes).
std::string_view shorten_definition(std::string_view definition, DefCutRecord& record, std::size_t hard_limit);
// Releases what the cut kept; the record is back in mode 2.
void restore_definition(DefCutRecord& record);

// The definitions of the suggested words of a report line (the words after the first ':', two
// characters on, separated by '|' and blanks, up to a '(' or the end of the line). Each word is
// looked up in `list` (a sorted {word, definition} list, b_en-bg for the callers) and gives one
// line:
//   "-> %s +en2, but no definition\n"   listed without definition
//   "-> %s %s\n"                        listed: the definition cut as above with the hard limit
//                                       7,990 less the word's length, the line cut to 7,999
//                                       characters (its line end kept); with
//                                       gl_MAX_DEFINITION_LENGTH 0, a definition of 8,000
//                                       characters or more is instead cut to 7,999 less the
//                                       word's length characters
//   "-> %s +en2 -bg\n"                  not listed
// `out8` (bF for the callers) receives the lines as they are; `out16` (bW) the same lines for
// display: senses numbered (number_signs_to_numbers), in UTF-16 (at most 32,767 characters a
// line), without provenance labels, transcriptions in IPA. Both are emptied first.
void define_all_suggestions(std::string_view line, std::span<const ListPair> list, std::string& out8,
                            std::u16string& out16);
