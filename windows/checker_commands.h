// windows/checker_commands.h - the text-checker window's working loop and small commands: every
// change of the right panel (and every Refresh) hands the whole text to translate_text, which
// rewrites the report, colours the text and fills the status line, while the user's selection,
// scroll position and focus are kept; the check boxes, "clr", Undo and Redo, Paste, "C", the find
// command's texts, and the notifications of the right and bottom panels.
#pragma once

#include <string>

#include "platform/window.h"

// The most characters each of the window's panels holds.
inline constexpr LONG BIG_PANEL_LIMIT = 0x7FFFFF;
// The left panel's event mask while "On" is ticked: ENM_CHANGE, ENM_MOUSEEVENTS, ENM_SELCHANGE.
inline constexpr DWORD BIG_LEFT_ACTIVE_MASK = 0x000A0001;
// The right and bottom panels' event mask at initialisation: ENM_CHANGE, ENM_DRAGDROPDONE,
// ENM_MOUSEEVENTS, ENM_SELCHANGE, ENM_DROPFILES, ENM_LINK.
inline constexpr DWORD BIG_TEXT_MASK = 0x041A0011;

// The checking run over the right panel (its EN_CHANGE): skipped once after a look-up wrote into
// a panel (gl_info_printed), never for an empty panel; the panel's notifications are off for the
// run but for a dropped file, which is loaded once the run has ended, and "clr" pressed during it
// leaves the panels empty; the main window's buttons 1180 and 1178 disabled, the selection, scroll
// position and focus kept. A run asked for while the window's own one is going is served after
// it; one asked for while another window's run is going waits for it (WM_BIG_WAITING_RUN, posted
// when idle) and is then the window's own run in every respect.
void check_right_panel(HWND dlg);
// The run that waited for another window's run (on WM_BIG_WAITING_RUN): none when the text was
// emptied meanwhile.
inline constexpr UINT WM_BIG_WAITING_RUN = WM_APP + 2;
void serve_waiting_run(HWND dlg);

// A WM_COMMAND of the window's own controls handled here (1172, 1208, 1211, 1212, 1213, 1241,
// 1243, 1246, 1247, 1263, 1265, 1267, 1268, 1272, 1015, 1295, 1319); true when it was one of
// them, with the procedure's result in `result`.
bool checker_panel_command(HWND dlg, int id, INT_PTR& result);
// WM_NOTIFY of the right and bottom panels (and the left-button release of any panel).
INT_PTR checker_notify(HWND dlg, const Msg& m);

// Ticks or unticks "On" with the effect of a click: gl_BIG_ACTIVE and the left panel's mask follow.
void set_checker_on(HWND dlg, bool on);

// Before a file is dropped or opened into the right panel: "On" ticked (the report clickable),
// real-time and clipboard checking off; the loaded text is then checked once.
void prepare_for_file(HWND dlg);

// The clear command: the three panels emptied (no run), the title back to JUXtitleCurrentBig, the
// status line and the upper label emptied. Pressed during the window's own run, it is done again
// when the run ends, so that the rest of the run's report does not fill the emptied panels (unless
// the user has typed a new text meanwhile, which is then checked in its turn).
void clear_checker(HWND dlg);

// The case command on a panel: the first character of a selection of 1 to 1,023 characters turns
// from capital to small letter or back (Cyrillic by the fixed table, others by their letter case).
void toggle_first_letter_case(HWND re);

// The word number of a character position in token store R: the first record whose offset is not
// below p, one back when its offset is above p (-1 before the first token); the last word when
// every offset is below p (a caret inside or after it); 0 for an empty store.
int word_number_at(LONG p);
// The find window's position label for the right panel's selection: "позиция: p дума: w".
std::u16string find_position_label(HWND right);
// The find text of a selection of 2 to 127 characters (8-bit): hyphenated line breaks joined,
// other line breaks made blanks, runs of blanks collapsed; "" for other selections.
std::string find_text_of_selection(HWND right);
