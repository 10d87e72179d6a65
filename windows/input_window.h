// windows/input_window.h - the inflection-type input window (template 118, DialogInput, handle
// hInput): the name of one of the built-in inflection types ("173da_") is typed or composed on
// its keypad; OK finds the type by its exact name and has the main window show that type's forms
// for the lemma in its entry box.
#pragma once

#include <string>

#include "platform/window.h"

extern HWND hInput;            // the window; non-null exactly while it exists
extern HWND hInputRe;          // its input field (1185)
extern std::u16string gl_input;  // the field's text taken by OK; emptied when OK or Cancel ends

// The prompt the opener puts over the field.
inline constexpr std::u16string_view kInputPrompt = u"Въведете тип (напр. 173da_ ):";

// The window's procedure.
INT_PTR DialogInput(HWND dlg, const Msg& m);

// The main window's command 8300: creates the window when it does not exist (shown), then sets
// its prompt and moves the keyboard focus to the field. Returns hInput.
HWND open_input_window();

// The row of the inflection-type table whose name equals `name` exactly (case-sensitive), or -1.
int find_bgtype_by_name(std::u16string_view name);

// The window's state for test fixtures (the window itself goes with the platform's reset).
void reset_input_window();
