// engine/bg_text_pass.h - the token pass of the Bulgarian-text window (translate_bgtext).
//
// When the window's text panel changes, or its Refresh button is pressed, the window hands the
// panel to this pass. It cuts the whole text into token store 2, keeps a progress line in the
// window's status label while it works, writes the token and separator exports ("DOWN") and, while
// REPEATED_PARTS is set, the repeated-passage report, and ends with a statistics line (tokens,
// average token length, average separator length) in the label. It checks no spelling; store 2 is
// then what the word look-up of that window and the exports read.
//
// Tokenising, for mixed Bulgarian and English text:
//   - a gap (the non-token characters before a token) takes one-letter markup tags whole ("<i>",
//     "</i>") and runs of apostrophes and hyphens that no token character follows;
//   - a token takes letters and digits, apostrophes and hyphens (two in a row end it), a comma
//     between two digits ("1,000") or glued between two words ("a,b"), ? ! ; : glued between two
//     words, a dot followed by a token character ("3.14"), and a closing dot only for a year
//     ("1999г.") or when the token with its dot is a key of "b_en-bg" or "wl_english2" (Latin and
//     digits) or of "b_bulgarian" (Cyrillic and digits);
//   - leading apostrophes and hyphens go back to the gap (an apostrophe stays, written "'", when
//     the English lists know the word with it: "'tis"); trailing ones go to the next gap, except
//     one after a final "s" ("boys'") or an apostrophe after a final "in" of a longer word ("goin'");
//   - the quotation marks „ “ ” are no token characters while the pass runs, and are token
//     characters after it.
#pragma once

#include <string>

#include "platform/types.h"

// Cuts the text of `source` (the Bulgarian-text window's panel) into store 2, as described above.
// `work_text` receives the panel's text in code page 1251 and is cut up in place; the caller keeps
// it or drops it afterwards. The caller switches the panel's change notification off round the call
// and keeps its selection and scroll position.
//
// A text whose token estimate is 0 or 1 and that does not begin with a Cyrillic letter is left
// alone after the formatting reset: store 2 is empty and the label keeps its text. A text that
// would fill store 2 past MAX_WORDS_IN_FILE shows the option's message under "Oops!" and is
// processed as far as the store goes.
//
// A call that arrives while the pass runs (through the message pump) is remembered and served,
// once, after it ends.
void translate_bgtext(HWND source, HWND status_label, std::string& work_text);

// Forgets a remembered call (test fixtures).
void reset_bgtext_pass();
