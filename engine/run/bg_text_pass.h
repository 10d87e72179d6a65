// engine/run/bg_text_pass.h - the token pass of the Bulgarian-text window (translate_bgtext).
//
// When the window's text panel changes, or its Refresh button is pressed, the window hands the
// panel to this pass. It cuts the whole text into token store 2, keeps a progress line in the
// window's status label while it works, writes the token and separator exports ("DOWN") and, while
// REPEATED_PARTS is set, the repeated-passage report, and ends with a statistics line (tokens,
// average token length, average separator length) in the label. It checks no spelling; store 2 is
// then what the word look-up of that window and the exports read.
//
// The text is cut by the engine's own scanner (engine/tokeniser.h), so that store 2 and store 1
// hold the same tokens for the same text; the pass warns of no soft hyphen. The quotation marks
// „ “ ” are no token characters while the pass runs and get back their own values after it.
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
