// engine/translation/subtitle_statistics.h - the statistics that close a machine translation of
// subtitles: its counters and the coloured block it appends to the report panel.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/types.h"

// Colour of the subtitle statistics (RGB(0, 56, 255)).
inline constexpr COLORREF kColSubtitleStatistics = RGB(0, 56, 255);

// The counters of a machine translation of subtitles.
struct SubtitleCounters {
    std::int32_t sentences = 0;                  // sentences
    std::int32_t known_sentences = 0;            // sentences found whole in a corpus
    std::array<std::int32_t, 8> known_of_words{};  // known sentences of 1 .. 8 words
    std::int32_t known_other = 0;                // known sentences of no word or more than 8
    std::int32_t words = 0;                      // words in all
    std::int32_t words_in_known = 0;             // words in known sentences
    std::int32_t known_to_comma = 0;             // known words from a sentence's start to its first comma
    std::int32_t known_comma_to_mark = 0;        // known words from a comma to the next punctuation mark
};

// The statistics block of a subtitle translation (the title line not included).
std::u16string subtitle_statistics_text(const SubtitleCounters& s);
// Appends the title and the block to the report panel, coloured, the caret at the block's start.
void print_subtitle_statistics(HWND report, const SubtitleCounters& s);
