// windows/filing_popups.h - the six filing popups of the text-checker window (hMenuC, hMenuAdj,
// hMenuVerb, hMenuMisc, hMenuOne, hMenuCs): every item files the selection of the right panel
// into one word-class list (write_to_c) or one sentence corpus (write_to_cs).
//
// The popups are built from a table of runs: within a run, labels, command identifiers and rows
// step together by one. Together they carry every identifier from 8493 to 9167 but 8757.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/window.h"

enum class FilingPopup : std::uint8_t { C, Adj, Verb, Misc, One, Cs };

extern HMENU hMenuC;     // word-class lists of nouns (left click on "n-v")
extern HMENU hMenuAdj;   // adjectives, attributes and adverbs (left click on "a-s")
extern HMENU hMenuVerb;  // verbs (right click on "n-v")
extern HMENU hMenuMisc;  // the other word classes, names and rare lists (right click on "1-m")
extern HMENU hMenuOne;   // the first list of each group, filed into its first free list (left click on "1-m")
extern HMENU hMenuCs;    // the sentence corpora (right click on "a-s")

// What comes before the first item of a run.
enum : std::uint8_t { FILING_SEP = 1, FILING_BREAK = 2 };

// One run of popup items.
struct FilingRun {
    FilingPopup popup;
    std::string_view stem;   // label text before the stepping part
    std::string_view first;  // the first label's stepping part: its last character steps 1..9, a..f
    std::string_view tail;   // label text after it
    UINT first_id;
    int first_row;           // c_glob row, or corpus row
    int count;
    std::uint8_t before;     // FILING_SEP and/or FILING_BREAK before the run's first item
    std::int8_t family = -1; // -1: word-class list; 0..3: corpus family of write_to_cs
};

// The runs in menu order, popup after popup.
std::span<const FilingRun> filing_runs();

// The label of item k (0-based) of a run.
std::string filing_label(const FilingRun& run, int k);

// The run that holds the command `id`, or null.
const FilingRun* filing_run_of(UINT id);

// The popup's handle (null before build_filing_popups).
HMENU filing_popup(FilingPopup p);

// Builds the six popups (once; a popup whose handle is still a menu is kept).
void build_filing_popups();

// Files the selection by a popup item: write_to_c (find_free_slot 1 for hMenuOne, else 0;
// lower_case 0) or write_to_cs. Returns true when `id` is a popup item.
bool filing_popup_command(UINT id);

// Opens a popup at the screen point with the window as owner; the chosen item comes back to the
// window as WM_COMMAND.
void open_filing_popup(HWND dlg, FilingPopup p, POINT at);

// The handles forgotten (test fixtures; the platform's reset destroys the menus).
void reset_filing_popups();
