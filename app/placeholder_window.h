// The main window the program shows until the real start-up sequence replaces it: an entry box
// on top and a panel below, both following the window's size.
#pragma once

#include "platform/window.h"

constexpr int kPlaceholderTemplate = 900;  // its dialog template
constexpr int kPlaceholderEntryBox = 901;  // the rich-edit entry box
constexpr int kPlaceholderPanel = 902;     // the rich-edit panel below it

// Registers the template; the dialog procedure destroys the window on WM_CLOSE and ends the
// message loop when it is destroyed.
void register_placeholder_window();
INT_PTR PlaceholderProc(HWND dlg, const Msg& m);
// Places the two panels for a client area of cx x cy pixels.
void layout_placeholder(HWND dlg, int cx, int cy);
