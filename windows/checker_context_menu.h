// windows/checker_context_menu.h - the text-checker window's right clicks (WM_CONTEXTMENU): the
// three panels offer the shared rich-edit popup, the filing buttons file into their second list,
// the three popup buttons open their second popups, and a few buttons look the word up, change the
// layout or write the word-class entries of the selected English phrase into the report panel.
#pragma once

#include "platform/window.h"

// The right click at the screen point m.pt: the controls are tested in a fixed order and the first
// whose client area holds the point takes the click (hidden buttons take none). Returns 1 when a
// control took it, else 0 (the default handling).
INT_PTR checker_context_menu(HWND dlg, const Msg& m);

// The word-class entries of the right panel's selection, appended to the report panel (the bottom
// panel with gl_PRINT_DOWN, else the left panel) and selected there; only in the translation
// modes or with gl_PRINT_DOWN. With `then_hard` ("h") the selection is then filed into the
// hard-word list and looked up.
void word_class_entries_of_selection(HWND dlg, bool then_hard);
