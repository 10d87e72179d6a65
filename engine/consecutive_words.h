// engine/consecutive_words.h - the colouring of known runs of consecutive English words in a
// source panel (the first step of the colouring for translators).
#pragma once

#include "engine/token_store.h"
#include "platform/types.h"

// Bytes of a run's key (the tokens and their gaps) at most.
inline constexpr std::size_t kRunKeyRoom = 2'048;

// For every window of n consecutive tokens of [first, end) whose tokens all begin with a Latin
// letter or hold a digit and whose inner gaps hold only blanks, commas and line breaks, the key
// (the first token, then gap and token for each further one, at most kRunKeyRoom bytes) is made
// into a list key by normailize_sentence, and the window is marked in `re` by what knows it:
//   - a word-class list (is_in_c_set): n = 2 underlines both tokens and the gap between them in
//     `colour`; n > 2 colours every token but its last character, the first token also italic;
//   - the first list of a sentence corpus chosen by the mark that follows the window ('!', '?',
//     ',', else the statements), the user's own list first: n = 2 underlines in `colour` and makes
//     bold; n > 2 colours and makes bold every token but its last character, the first also italic;
//   - `b_english_bulgarian`: characters 2 to n of the first token become bold.
// Nothing is done on the main window's hidden entry copy, nor for a range of fewer than n tokens.
// Every 1,000 windows "coloring: %d %d / %d" (n, windows so far, windows in all) goes to the
// checker window's status line. The records after `end` are read for the mark that follows the
// last window (a store's sentinels when `end` is its fill end).
void color_consecutive_words(int n, COLORREF colour, const SenToken* first, const SenToken* end, HWND re);
