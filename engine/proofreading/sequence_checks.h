// engine/proofreading/sequence_checks.h - the block of checks that follows the dialogue-dash passes:
// the character sequences of sequence_table.h counted in the gaps (one summary each), sentence
// starts written with a small letter, and dashes and ellipses glued to the word before or after
// them. Each function is one walk of token store 1 and keeps nothing between calls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A character (code page 1251: '\x97' m-dash, '\x96' n-dash, '\x85' ellipsis) and the title of its
// check: the sentence marks before a small letter, the dashes and the ellipsis glued to a word, in
// the order they are checked.
struct TitledChar {
    std::u16string_view title;
    char ch;
};

inline constexpr TitledChar kSentenceMarks[] = {
    {u"<точка><интервал><малка буква>", '.'},
    {u"<въпросителен><интервал><малка буква>", '?'},
    {u"<удивителен><интервал><малка буква>", '!'},
};
inline constexpr std::u16string_view kLineBreakTitle = u"<край на изречение><нов ред><малка буква>";
inline constexpr TitledChar kSubtitleMarks[] = {
    {u"<точка><тайминг><малка буква>", '.'},
    {u"<въпросителен><тайминг><малка буква>", '?'},
    {u"<удивителен><тайминг><малка буква>", '!'},
};
inline constexpr TitledChar kGluedBefore[] = {
    {u"слепено с предната дума m-тире", '\x97'},
    {u"слепено с предната дума n-тире", '\x96'},
};
inline constexpr TitledChar kGluedBefore2[] = {
    {u"слепено с предната дума m-тире", '\x97'},
    {u"слепено с предната дума n-тире", '\x96'},
    {u"слепено с предната дума късо тире", '-'},
};
inline constexpr TitledChar kGluedNext[] = {
    {u"слепено със следващата дума m-тире", '\x97'},
    {u"слепено със следващата дума многоточие", '\x85'},
    {u"слепено със следващата дума късо тире", '-'},
    {u"слепено със следващата дума n-тире", '\x96'},
};

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
