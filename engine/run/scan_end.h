// engine/run/scan_end.h - what a run of translate_text does once the text is cut, before its optional
// phases: the exports of the text-checker window's text with its index of gaps, and the display of
// a text that is one Bulgarian word (its English text in the status label, its place in the
// Bulgarian word list in the report panel, its paradigms in the main window's Bulgarian pane).
#pragma once

#include <string>
#include <string_view>

#include "engine/run/run.h"
#include "platform/types.h"

// Lines of the word lists shown round the word's place, before it (and as many from it on).
inline constexpr int kNeighbourhoodLines = 110;
// The report panel is scrolled so that the word's line stands this many lines below the top.
inline constexpr int kNeighbourhoodLead = 15;
// Room of the neighbourhood text once it is UTF-16.
inline constexpr std::size_t kNeighbourhoodRoom = 2'097'152;
// Colour of the word in a one-token Bulgarian display (RGB(255, 0, 0)).
inline constexpr COLORREF kColBgWordInList = RGB(255, 0, 0);

// The lines a report panel is scrolled by to bring the word's line (its index in the shown
// neighbourhood) near the top.
int neighbourhood_scroll(int index);

// Shows a neighbourhood text in the report panel, scrolled to the word's line, and marks the word:
// found, the word (`length` characters from `offset`) in `found_colour`, bold, and the
// transcriptions of its line; not found, two characters at the word's place. `offset` is the
// word's offset in the text as shown.
void show_neighbourhood(HWND report, const std::u16string& text, long offset, int index, int found, long length,
                        COLORREF colour);

// The source is the checker window's right panel: the token and repeated-passage exports of store
// R (label "UP") and the index of its distinct gaps (instance 3 of token-index family 4).
void export_checker_tokens(RunContext& c);
// Whether the checker's exports are still being written beside the run (no pump meanwhile).
bool background_exports_running(const RunContext& c);
// Waits for the checker's exports written beside the run, if any.
void join_background_exports(RunContext& c);

// One token was processed and the text begins with a Cyrillic letter: the word's English text,
// its place in b_bulgarian and its paradigms.
void show_one_bulgarian_word(RunContext& c);
