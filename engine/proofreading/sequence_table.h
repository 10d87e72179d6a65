// engine/proofreading/sequence_table.h - the character sequences that the proof-reader counts in
// the gaps of a text, each with its title and its suggestion part, in the order they are reported.
// The table is written in UTF-8 (titles UTF-16) and its code page 1251 form is made once, on first
// use.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// When a sequence is looked for.
enum class SequenceWhen {
    Always,
    NotSubtitle,     // not in a subtitle text
    NotFrameLayout,  // not in a text that begins in the frame-number subtitle layout
    NotAnySubtitleLayout,  // neither in the time-code layout nor in the frame-number one
    NotNovel,        // not in novel mode
};

// How the source panel shows an occurrence.
enum class SequenceMark { Underline, ColourOnly, None };

struct SequenceRow {
    int call;                   // 1 to 98: the place in the order of calls
    std::string_view pattern;   // UTF-8
    std::u16string_view title;
    std::string_view suggestion;  // UTF-8; begins with " -> "
    SequenceWhen when;
};

inline constexpr int SEQUENCE_ROWS = 98;
extern const std::array<SequenceRow, SEQUENCE_ROWS> sequence_rows;

// A row in code page 1251.
struct Sequence {
    int call;
    std::string pattern;
    std::u16string_view title;
    std::string suggestion;
    SequenceWhen when;
    SequenceMark mark;
};
// The rows converted to code page 1251, in table order.
const std::vector<Sequence>& sequences();

// The mark of an occurrence of the pattern (code page 1251).
SequenceMark sequence_mark(std::string_view pattern);
