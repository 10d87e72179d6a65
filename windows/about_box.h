// windows/about_box.h - the About box (template 107, DialogAbout): the program's only modal
// window. It shows the authorship text and how many times the program has been started, closes on
// OK, and its small button "!" runs the lemma-grouping reports (windows/lemma_report.h).
#pragma once

#include <string>

#include "platform/window.h"

// The box's procedure.
INT_PTR DialogAbout(HWND dlg, const Msg& m);

// The main window's accelerator command 40052 (Ctrl+Alt+Shift+F9): the box, modal, owned by the
// main window; returns when it is closed (1).
INT_PTR open_about_box();

// The start count line: "run %d times" of run_counter, at most 127 characters.
std::string about_run_count_text();
