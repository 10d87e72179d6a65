// engine/proofreading/pass_order.h - the order of all proof-reading passes: one row per pass (or
// per block of passes that share a place), with the switch that guards it in addition to
// CHECK_PUNCTUATION, the title it writes and the function that runs it.
//
// Each row names the function of its pass; the frame runs the rows in order, each when its switch
// is on.
#pragma once

#include <array>
#include <string_view>

struct ProofRun;

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

struct PassRow {
    int order;                  // place in the order (0: inside the paragraph statistics)
    PassGuard guard;
    std::u16string_view title;  // the title the pass writes (empty where its passes write their own)
    std::u16string_view title2; // a second title of the same row, or empty
    void (*run)(ProofRun&, const PassRow&);  // the pass
};

inline constexpr int PASS_ROWS = 46;
extern const std::array<PassRow, PASS_ROWS> pass_order;

// True when the row's switch is on for this run.
bool guard_open(PassGuard g, const ProofRun& run);
