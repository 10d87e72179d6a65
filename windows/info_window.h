// windows/info_window.h - the information window (template 122, DialogInfo, handle hInfo): a small
// companion of the text-checker window that stays above the other windows, with two stacked
// panels (hInfoReTop, hInfoReBot) into which the engine and the look-up at the caret write. A
// click on a word of the top panel looks that word up in turn.
#pragma once

#include "platform/window.h"

INT_PTR DialogInfo(HWND dlg, const Msg& m);

// The two panels laid out with the top panel's share of the client height: 0.6 while
// gl_PRINT_DOWN is set, else 0.77; the bottom panel 3 pixels below it.
void size_info(HWND w);
// The same with the given share; above 1.0 nothing moves; 1.0 exactly, 0 or below take the share
// of size_info.
void size_info_ratio(HWND w, double ratio);

// The text-checker window's command 1272: creates and shows the window when it does not exist,
// the keyboard focus going to it and back to the window that had it; an open window is left as
// it is. Returns hInfo.
HWND open_info_window();

// The subsystem's reset for test fixtures.
void reset_info_window();
