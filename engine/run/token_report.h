// engine/run/token_report.h - the report of every record while the text is cut (inside the scan of
// translate_text): numbers are labelled, Bulgarian words are spell-checked with suggestions,
// English words are looked up in the dictionary and the English word lists or spell-checked, and
// the results go to the main window's panes, the source panel's colours, the report panel, the
// token index and the Bulgarian spelling logs.
//
// Where the lines go:
//   hAddReSaved   the main window's saved pane, while the text-checker window is not the active
//                 one and the main window is shown: English lines for the first 63 processed
//                 tokens of a text, Bulgarian lines for the first 2,047
//   hAddReShort3  English words known only from the English word lists
//   report panel  "correct" lines (PRINT_ALL_LATIN) and unknown English words (ENGLIST_UNGROUPED)
//   source panel  colours of tokens (never the main window's hidden copy of its entry box)
//   token index   unknown Bulgarian words in family 1, English words in instance 1 of family 3
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/run/kept_answers.h"
#include "engine/run/run.h"
#include "engine/tokeniser.h"
#include "platform/types.h"

// Report colours (COLORREF 0x00BBGGRR).
inline constexpr COLORREF kColNumber = RGB(111, 83, 38);      // numbers, digits, gap display
inline constexpr COLORREF kColKnownBg = RGB(170, 0, 255);     // an accepted Bulgarian word
inline constexpr COLORREF kColUnknownCap = RGB(255, 85, 255); // an unknown capitalised word
inline constexpr COLORREF kColUnknown = RGB(255, 0, 42);      // an unknown word
inline constexpr COLORREF kColMixedLatin = RGB(0, 255, 0);    // Latin letters in a Cyrillic word
inline constexpr COLORREF kColOwnLabel = RGB(85, 42, 255);    // report of an own or unchecked word
inline constexpr COLORREF kColRareNoRank = RGB(255, 85, 0);   // accepted word without rank text
inline constexpr COLORREF kColFiltered = RGB(135, 135, 135);  // filtered ranks, grey parts
inline constexpr COLORREF kColStemArrow = RGB(212, 85, 255);  // a word shown through its stem
inline constexpr COLORREF kColWordList = RGB(22, 56, 124);    // known from the word lists only
inline constexpr COLORREF kColDerivedArrow = RGB(0, 85, 255); // shown through its derived word
inline constexpr COLORREF kColSuggestionLine = RGB(0, 127, 0);  // a suggestion line
inline constexpr COLORREF kColCorrect = RGB(0, 102, 204);     // "-> correct"

// Pane limits: the processed-token count (the token being reported included) up to which the
// main window's saved pane receives English and Bulgarian lines.
inline constexpr std::uint64_t kPaneEnglishTokens = 63;
inline constexpr std::uint64_t kPaneBulgarianTokens = 2'047;
// Definitions on the pane are shortened with this hard limit.
inline constexpr std::size_t kPaneDefinitionLimit = 8'000;
// Log lines are cut to this many bytes.
inline constexpr std::size_t kLogLineMax = 1'023;

// The display text of a gap while PRINT_FILTERED is set: "" for one blank, "NL" for line breaks
// ... (see the table in token_report.cpp); any other gap as it is.
std::string gap_display_text(std::string_view gap);

// The number line of a token of digits with inner dots or commas: "%s (number with ...)" by the
// counts of dots and commas between digits.
std::string separated_number_line(std::string_view token, std::uint32_t dots, std::uint32_t commas);

// Source colour of an accepted Bulgarian word while COLOR_RARE is set: `has_rank` tells whether
// the word's list entry carries a rank text. Returns false when the word keeps its colour (a rank
// below RANK_RARE, a rank of 5,000 or more, or no rank text on a word with a dot).
bool rare_word_colour(bool has_rank, std::int32_t rank, bool has_dot, COLORREF& colour);

// The Bulgarian compound rules that accept a word the lists lack (while LOAD_BG is set): a
// hyphenated pair of type-147 words whose first part is the neuter adjective form, a word of an
// intensifying prefix ("полу", "псевдо", ...) and an adjective, and a word of a compass or age
// prefix ("ново", "източно", ...) and a type-147 word written in small letters.
bool bulgarian_compound_known(std::string_view word);

// The two steps of the report, called by the run for every committed record: the gap's display
// line (before the Cancel test) and the token's report (after the processed-token counter grew).
void token_report_gap(RunContext& c, const TokenScan& t);
void token_report(RunContext& c, const TokenScan& t);

// The spelling answers of a run are kept per distinct word form from the first to the end of its
// scan (see kept_answers.h): the run calls the first before its scan and the second after it, which
// also write the spelling logs' pending lines.
void token_report_begin_run();
void token_report_end_scan();
