// engine/lookup_state.h - the rest of the main window's state that a run of translate_text writes
// (engine/run_state.h holds the panels that every run clears): the panes of a Bulgarian word and
// of the corpus lines, the entry editor's field that hides the per-token gap lines, and the search
// log of the dictionary-entry display.
//
// The main window sets the handles when it is created and clears them when it is destroyed; it
// opens the search log at start and closes it at its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/types.h"
#include "resources/resources.h"

// ---- Panes ---------------------------------------------------------------------------------
extern HWND hAddReBg;      // the paradigms of a Bulgarian word
extern HWND hAddReLong;    // the long pane (emptied with the paradigms)
extern HWND hAddReHyphen;  // the corpus lines of the word on display
extern HWND hAddTransSir;  // control 1064: while it is shown, the per-token report keeps its gap
                           // and digit lines out of the saved pane

// ---- The search log ---------------------------------------------------------------------------
inline constexpr const char* kSearchLogName = "searchlog.txt";  // in the data folder
inline constexpr std::size_t PREVIOUS_EXACT_MAX = 1'023;       // characters of previous_exact
extern FILE* fl_searchlog;          // the search log, open for appending; null: none
extern std::int8_t nologfile_fg;    // 1 when there is no search log
extern std::string previous_exact;  // the previous look-up shown (at most 1,023 characters)

// Appends bytes to the search log. A log that cannot be written is told at once (naming it) and
// written no more; false then.
bool put_search_log(std::string_view bytes);

// The state above back to its start: handles null, search log closed (without writing), no
// previous look-up.
void reset_lookup_state();
