// windows/find_replace_window.h - the find-and-replace window (template 120, DialogRepl, handle
// hRepl): searches the text-checker window's right panel for the text of its find field, with
// whole word, match case and search up; replaces the match; replaces every match with a count
// and an offer to go on in the rest of the text. Its label tells the match's character position
// and its word number in token store R. It works on the checker's right panel whichever window
// opened it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/window.h"

extern HWND hRepl;                  // the window; null while it is closed
extern HWND hReplLab;               // 1242: the status label
extern HWND hReplReFind;            // 1232: the find field
extern HWND hReplReRepl;            // 1233: the replace field
extern HWND hReplWhole;             // 1237 "Match whole word"
extern HWND hReplCase;              // 1238 "Match case"
extern HWND hReplUp;                // 1239 "Search up"
extern std::int32_t gl_repl_start;  // where the next Find Next starts; 0 after a failed find
extern std::int32_t gl_replall_ct;  // replacements of the Replace all under way

INT_PTR DialogRepl(HWND dlg, const Msg& m);

// Opens the window when it is closed (owned by `owner`, titled "Търсене", placed at 770, 400 but
// kept on the screen, not topmost), else leaves the open one where it is. Returns hRepl.
HWND open_find_replace_window(HWND owner);
// What an opener shows in the open window: `label` in its label, a non-empty `find_text` in the
// find field; the keyboard focus goes to the find field.
void show_in_find_replace_window(std::u16string_view label, const std::u16string& find_text = {});

// The subsystem's reset for test fixtures (the window itself goes with the platform's reset).
void reset_find_replace_window();
