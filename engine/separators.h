// engine/separators.h - what the run of non-token characters between two tokens (a record's gap)
// says about the text's structure: line breaks, the end of a sentence, the end of a sentence with
// a new line. Pure functions over a NUL-terminated 8-bit string and the classes ascii_punctnocomma
// (sentence marks . ! ? ; :) and ascii_punctmain (main sentence marks . ! ?); no allocation, no
// state, at most a 128-byte stack copy per call.
#pragma once

#include <cstdint>

// The line-break summary of a separator; exactly one of the four flags is set.
struct LineEndInfo {
    std::uint8_t only_lf;      // holds LF but no CR
    std::uint8_t only_cr;      // holds CR but no CR LF pair
    std::uint8_t crlf;         // holds at least one CR LF pair
    std::uint8_t no_break;     // holds neither CR nor LF
    std::uint32_t cr_count;    // CR characters (0 with no_break or only_lf)
    std::uint32_t crlf_count;  // cr_count when crlf is set, else 0
};

// Fills info from the separator s (a null s reads as the empty string).
void GetEmptyInfo(LineEndInfo* info, const char* s);

// 1 when the separator ends a sentence, 0 when it does not (also for a separator longer than 128
// characters), -1 for a null pointer.
int IsEndOfSentence(const char* s);

// 1 when the separator ends a sentence with a main mark and starts a new line at once (the mark,
// then CR, LF, CR LF, optionally a tab), 0 when not, -1 for a null pointer.
int IsEndOfSentenceNewLine(const char* s);
