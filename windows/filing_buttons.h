// windows/filing_buttons.h - the text-checker window's filing buttons: each files the selection of
// the right panel into a word-class list or a sentence corpus, opens a filing popup, or works on
// the user's Bulgarian word list ("добави", "виж", "трий"). A left click makes the button's first
// call, a right click (through WM_CONTEXTMENU) its second.
#pragma once

#include <cstdint>
#include <span>

#include "platform/window.h"
#include "windows/filing_popups.h"

enum class FilingKind : std::uint8_t { None, WordClass, Corpus, Popup, AddCustom, ViewCustom, EraseCustom };

// One call of a filing command.
struct FilingCall {
    FilingKind kind = FilingKind::None;
    int row = 0;                  // c_glob row or corpus row
    std::int8_t find_free_slot = 0;  // word-class filing
    std::int8_t lower_case = 0;      // word-class filing
    std::int8_t family = 0;          // corpus filing
    FilingPopup popup = FilingPopup::C;
};

struct FilingButton {
    int id;
    FilingCall left;
    FilingCall right;
};

// The 42 filing buttons.
std::span<const FilingButton> filing_buttons();
// The button with identifier `id`, or null.
const FilingButton* filing_button(int id);

// Makes a filing call for the window; a popup opens at `at` (screen point).
void make_filing_call(HWND dlg, const FilingCall& call, POINT at);

// WM_COMMAND of a filing button (left click) or of a filing popup's item. True when `id` was
// one, with the procedure's result in `result` (1 for "добави", else 0).
bool filing_command(HWND dlg, int id, INT_PTR& result);

// "виж": the user's Bulgarian words, one a line, in place of the left panel's text; an empty list
// is reported and the panel left alone.
void show_custom_words(HWND dlg);
