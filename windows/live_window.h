// windows/live_window.h - the live clipboard window (template 109, DialogLive, handle hLive): a
// small always-on-top panel near the top right corner of the screen that collects the one-line
// dictionary entries of the clipboard translations, with a button that shows or hides the main
// window and one that ends the program. Its panel is hLiveRe (shell/window_state.h).
#pragma once

#include "platform/window.h"

extern HWND hLive;  // the window; non-null exactly while it exists

// The window's procedure.
INT_PTR DialogLive(HWND dlg, const Msg& m);

// Creates the window (hidden) when it does not exist; returns hLive.
HWND create_live_window();

// The start-up's part: the window created, shown when START_LIVE_CLIPBOARD is set, and the labels
// of its button 1114, the main window's button 1077 and the menu items 9189 and 9190 set by the
// two windows' visibility.
void start_live_window();

// The main window's button 1077 and menu command 9190: a hidden window is shown, a shown one
// hidden, a closed one created anew and shown; the main window's button and menu item then read
// "Hide Live" or "Show Live".
void toggle_live_window();

// The window's state for test fixtures.
void reset_live_window();
