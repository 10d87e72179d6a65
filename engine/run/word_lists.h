// engine/run/word_lists.h - the two frequency lists that a run writes into its report panel after the
// per-token report: the Latin (English) words of the text (instance 1 of token-index family 3)
// and its unknown Bulgarian words (the single instance). Each line is
//
//     [N. ]word[  count] -> what the system knows or suggests
//
// with the number only when the list has more than 3 entries and the count only when some word
// occurs more than once. The text-checker window's correction click reads these lines back
// (windows/correction_click.cpp): the word ends at " ->", a count stands two blanks after it, and
// suggestions are separated by " | ".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/run/run.h"
#include "platform/types.h"

// Colours of the lists (COLORREF 0x00BBGGRR).
inline constexpr COLORREF kColListTitle = 0xFF00FF;        // the title, bold
inline constexpr COLORREF kColListCount = 0xFF0000;        // the count
inline constexpr COLORREF kColListUnknown = 0x2A00FF;      // a word not in wl_english, or unknown
inline constexpr COLORREF kColListKnownShort = 0x005000;   // a listed word outside the rank bands
inline constexpr COLORREF kColListCapital = 0xFF55FF;      // a capitalised unknown word
inline constexpr COLORREF kColListKnownCapital = 0x00E800; // a capitalised listed word
inline constexpr COLORREF kColListHardMark = 0x0055FF;     // the second letter of a hard word
inline constexpr COLORREF kColListSuggestions = 0x007F00;  // a line with usable suggestions
inline constexpr COLORREF kColListNote = 0x090909;         // "no suggestions ", class labels
inline constexpr COLORREF kColListNoteVertical = 0x080808; // the same in the vertical layout
inline constexpr COLORREF kColListBare = 0xCDCDCD;         // nothing known about the word
inline constexpr COLORREF kColListBulk = 0x878787;         // "bulk: %s " lines
inline constexpr COLORREF kColListLatinLetter = 0x00FF00;  // Latin letters in a Cyrillic word

// Every this many entries the lists pump messages, and show their progress.
inline constexpr std::size_t kListPumpEvery = 500;
inline constexpr std::size_t kListProgressEvery = 200;
inline constexpr std::size_t kFreqProgressEvery = 1'000;
// The word-class meanings of an English word are cut to this many characters.
inline constexpr std::size_t kListMeaningsMax = 1'024;

// The English list (gl_PARSE_LATIN_WORDS): entries filtered by the ENGLIST options, each with its
// word-class meanings, hard-word text, suggestions or annotations, coloured by length, capital
// and rank band. With gl_ENGLIST_GENARATE_FILE it also writes "FREQ" (word and count) and "FREQ2"
// (the whole line).
void english_word_list(RunContext& c);

// The unknown-Bulgarian-words list: each word with the text of get_lensug. Records in
// c.list_start where the list began; for the checker's text panel the report panel is left there
// (or at its start with gl_PRINT_ALL_LATIN).
void unknown_words_list(RunContext& c);
