// engine/proofreading/pass_order.h - the order of all proof-reading passes: one row per pass (or
// per block of passes that share a place), with the switch that guards it in addition to
// CHECK_PUNCTUATION, the title it writes and the function that runs it.
//
// Each row names the function of its pass and how far round a record it reads; the frame runs the
// rows in order, each when its switch is on. A row that reads only round its records is walked in
// stretches of the text, and a re-check walks again only the stretches whose findings may read
// what changed (proof_reader.cpp).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

struct ProofRun;
struct SenToken;

// The switch of a row, in addition to CHECK_PUNCTUATION. "Novel" is NOVEL_MODE set with a source
// that is not one of the main window's short panes.
enum class PassGuard {
    None,
    Novel,
    NovelOrSubtitle,  // novel, or the checker's text in the subtitle layout
    LoadBg,           // option LOAD_BG
    ShtShLoadBg,      // FIND_SHT_SH and LOAD_BG
    ShShtLoadBg,      // FIND_SH_SHT and LOAD_BG
    Comma,            // FIND_COMMA
    NoStopLoadBg,     // FIND_NO_STOP and LOAD_BG
    TwoLetters,       // FIND_TWO_LETTERS
    TwoNounsLoadBg,   // FIND_TWO_NOUNS and LOAD_BG
    ConcordLoadBg,    // FIND_CONCORD and LOAD_BG
};

// How far round a record a pass reads to judge it, and so which of its findings a change of the
// text can alter. A test of how many records precede or follow one counts as reading them.
enum class Extent : std::uint8_t {
    None,
    Clause,     // on over gaps of blanks, commas, brackets, underscores and line ends only
    Sentence,   // on over gaps that end no sentence
    Paragraph,  // on over gaps without a line end
};
struct Reach {
    bool whole = false;       // the pass reads the whole text (a summary, a count, a run across records)
    std::uint8_t back = 0;    // records before the record read
    std::uint8_t ahead = 0;   // records after it
    // Beyond those: the records further back (ahead) up to and including the first whose gap ends
    // the extent.
    Extent back_over = Extent::None;
    Extent ahead_over = Extent::None;
};
inline constexpr Reach kWholeText{.whole = true};
constexpr Reach records(int back, int ahead) {
    return Reach{.back = static_cast<std::uint8_t>(back), .ahead = static_cast<std::uint8_t>(ahead)};
}
constexpr Reach clause_ahead(int back, int ahead) {
    Reach r = records(back, ahead);
    r.ahead_over = Extent::Clause;
    return r;
}

// True when a walk over the extent stops at the gap (the gap's record is the last one read).
bool ends_extent(Extent e, const char* gap);
// For a change of records `changed` on (`changed` may be the store's end, n: records there went)
// in a store of n records from `floor`: the records before the result read none of them under the
// reach. And for a change of the records before `unchanged`: the records from the result on read
// none of them.
std::size_t clean_before(const Reach& r, const SenToken* floor, std::size_t changed);
std::size_t clean_from(const Reach& r, const SenToken* floor, std::size_t n, std::size_t unchanged);

struct PassRow {
    int order;                  // place in the order (0: inside the paragraph statistics)
    PassGuard guard;
    std::u16string_view title;  // the title the pass writes (empty where its passes write their own)
    std::u16string_view title2; // a second title of the same row, or empty
    void (*run)(ProofRun&, const PassRow&);  // the pass
    Reach reach;                // what it reads round each record
};

inline constexpr int PASS_ROWS = 46;
extern const std::array<PassRow, PASS_ROWS> pass_order;

// True when the row's switch is on for this run.
bool guard_open(PassGuard g, const ProofRun& run);
