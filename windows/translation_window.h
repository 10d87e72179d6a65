// windows/translation_window.h - the translation window (template 121, DialogTran, handle hTran):
// a large two-pane view of the formatted content of one panel of the main window. Both panes get
// the panel's content as RTF; the user reads it at full size, edits the right pane (word wrap,
// undo, redo), searches the web for a selected phrase, opens the printed dictionary's page of the
// last corrected word and opens the find-and-replace window.
#pragma once

#include "platform/window.h"

extern HWND hTran;         // the window; null while it is closed
extern HWND hTranReLeft;   // 1251: the left pane
extern HWND hTranReRight;  // 1252: the right pane
extern HWND hTranLabel;    // 1261: the status label
extern HWND hTranWrap;     // 1258 "Word Wrap"
extern HWND hTranNov;      // 1257 "N"

// The panes' top margin and the room below them, in pixels.
inline constexpr int TRAN_TOP = 40;
inline constexpr int TRAN_BOTTOM = 24;
// RTF sizes above this ask the user first.
inline constexpr std::size_t TRAN_HUGE_RTF = 0x200000;

INT_PTR DialogTran(HWND dlg, const Msg& m);

// Lays hTran out in the normal layout: the label at (24, H - 19), the left pane at (24, 40) 370
// wide, the right pane at (397, 40) W - 400 wide, both H - 64 high.
void size_tran();

// The main window's commands 1178 (`big` false: the caption " Translation") and 8201 (`big`
// true: " Big"): the source panel's content as RTF into both panes of the window, which is
// created when it does not exist and reused otherwise. Above TRAN_HUGE_RTF bytes the user is
// asked first; No opens nothing, and so does a source that is not a rich-edit panel. Returns
// hTran (null when nothing was opened). The last printed-dictionary word is forgotten; the text
// checker's file state (its file, line ends, encoding and correction log) is left alone, and so
// is it by a file dropped on the right pane, which is only shown there.
HWND open_translation_window(HWND source, bool big);

// The subsystem's reset for test fixtures.
void reset_translation_window();
