// engine/rank_bands.h - the seven frequency-rank bands of English words and their colours, one
// table for every display that colours an English word by how common it is (the word lists of a
// processed text and the colouring of English text for translators). Ranks come from wl_english
// (smaller = more common); a rank outside every band gets the caller's own colour.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/types.h"

// A band holds the ranks r with above < r <= upto.
struct RankBand {
    std::int32_t above;
    std::int32_t upto;
    COLORREF colour;  // 0x00BBGGRR
};

inline constexpr std::array<RankBand, 7> kRankBands = {{
    {7'999, 18'004, 0x007F00},
    {18'004, 28'007, 0x319F71},
    {28'007, 40'419, 0xB34517},
    {40'419, 57'842, 0xFF9800},
    {57'842, 78'723, 0xFFE600},
    {78'723, 97'242, 0xFF0099},
    {97'242, 499'999, 0x6699CC},
}};

// The colour of the band that holds `rank`, or nothing.
inline constexpr std::optional<COLORREF> rank_band_colour(std::int32_t rank) {
    for (const RankBand& b : kRankBands)
        if (rank > b.above && rank <= b.upto) return b.colour;
    return std::nullopt;
}
