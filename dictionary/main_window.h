// dictionary/main_window.h - the main window (hMain, also called hAdd): the dictionary's look-up
// as you type.
//
// Its initialisation loads the whole lexicon and counts the start before it returns. Every change
// of the entry box hAddReShort runs translate_text over the box: the dictionary round the word
// appears in the left panel (the run's report panel), the word's entries and definitions in the
// entry panel hAddReSaved, its corpus lines, a Bulgarian word's paradigms and the words known only
// from the English word lists in the panes under it, and progress and statistics in the status
// line hAddLabel. The check box 1171 ("Word by word") makes the run cut the text into words with a
// report line for each (a Bulgarian word is then shown with its lemma and paradigms); 1166 asks
// for a fresh definition after an entry is added. The buttons 1180 and 1178 open the text-checker
// and the translation windows; every run disables them for its duration.
//
// The search log (engine/lookup_state.h) is opened at start for appending; its close writes the
// last look-up shown there. Closing the window ends the program: the new Bulgarian words gathered
// since the start are written back, the notification-area icon is removed and the message loop
// ends, after which the start-up ends the rest in order.
#pragma once

#include <cstddef>
#include <filesystem>

#include "platform/window.h"
#include "shell/window_state.h"

inline HWND& hAdd = hMain;  // the main window under the name its controls' handles share
extern HWND hAddReDict;    // the dictionary round the word on display (the run's report panel)
extern HWND hAddBigSpell;  // button 1180: opens the text-checker window
extern HWND hAddBigTrans;  // button 1178: opens the translation window

// Creates the main window from template IDD_ADD (its initialisation loads the lexicon), hidden and
// titled JUXtitle; returns hMain (null when it could not be made).
HWND create_main_window();

// The start's load: the lexicon of `folder` (load_lexicon) with every word index the look-ups
// need (build_word_indexes), the indexes built while the word-form index is made on its helper.
// Every helper thread has ended when it returns. Returns the number of files read.
int load_lexicon_with_word_indexes(const std::filesystem::path& folder);

// Builds the main window's menu bar (hMenuMain) from its table and gives it to the window. The
// window starts in dictionary edit mode when `edit_mode` is set (START_DICTIONARY_EDIT_MODE 1);
// otherwise the Insert menu is removed. Returns hMenuMain.
HMENU build_main_menu(bool edit_mode);
extern bool dictionary_edit_mode;  // the main window is in dictionary edit mode (its Insert menu shown)

// The main window's procedure.
INT_PTR DialogAdd(HWND dlg, const Msg& m);

// Lays the controls out for a client area of cx x cy pixels.
void layout_main_window(HWND dlg, int cx, int cy);

// Runs translate_text over the entry box as the main window does on every change: its selection
// and scroll position kept, the two window buttons disabled for the time of the run.
void look_up_entry_box(HWND dlg);

// Opens the search log (the data folder's "searchlog.txt") for appending. When it cannot be
// opened the user is told (unless already told that the data folder cannot be written) and the
// look-ups go on without it (nologfile_fg). Returns 1 when open.
int open_search_log();
// Writes the last look-up shown to the search log and closes it.
void close_search_log();

// Writes the user's new Bulgarian words (b_bulgarian_new) back to their file when words were
// gathered since the start. Returns 1 when the file was written, 0 when there was nothing to write
// or it could not be written (the user is told).
int write_new_bulgarian_words();
// The number of new Bulgarian words when the lexicon was loaded.
extern std::size_t new_words_at_start;

// Tells once, under "Oops!", that the data folder holds no lexicon (no dictionary, word list,
// word-class list, corpus or word-form file was read), so that a user who meets "no suggestions"
// for every word knows why. Returns 1 when it told.
int tell_missing_lexicon();

// The subsystem's reset for test fixtures: the handles above null, nothing counted, no look-up going.
void reset_main_window();
