// windows/checker_layout.h - the layout of the text-checker window: the left report panel, the
// right text panel over the bottom panel, the status line under them; the boundary between the
// left panel and the others moves by clicks on the window's own surface. The translation
// controls are shown only in the translation modes.
#pragma once

#include <span>

#include "platform/window.h"

// Full layout for the window's client size W x H (pixels), top margin T = gl_bigtop, bottom
// margin B = gl_bigbottom:
//   left panel width L = 370, or (W - 30) / 2 when W < 770;
//   right panel height R = (H - B - T) x f, f = 0.6 in the machine- or human-translation mode,
//   else 0.8 with the information in the bottom panel, else 0.93;
//   status line at (24, H - 19) with its size; left panel (24, T, L, H - B - T); right panel
//   (L + 27, T, W - L - 30, R); bottom panel (L + 27, T + R + 3, W - L - 30, H - R - B - T - 3).
// A client area lower than the two margins (or narrower than the panels' gaps) gives panels of
// zero size, never negative ones.
void size_big(HWND dlg);
// The same with the left panel at half the width at every width, and f = 0.6 in the two
// translation modes, else 0.93.
void size_big_half(HWND dlg);
// Moves the boundary between the left panel and the right-hand panels d pixels to the left
// (negative d: to the right): the left panel narrows by d, the others move left and widen by d.
void size_big_less(HWND dlg, int d);
// The splitter gestures of a button released on the window's surface (WM_LBUTTONUP or
// WM_RBUTTONUP with its key state, at `at` in client coordinates): 10 pixels, 2 with Shift alone
// held; left narrows the left panel. True when the click was on the bare surface, so that it is done
// with (a right click there opens no menu); false over a control that lets the mouse through (a
// label), whose right click goes on to its own gesture.
bool checker_splitter_click(HWND dlg, UINT message, UINT keys, POINT at);

// A control's rectangle in its dialog's client coordinates, read from the screen as a user sees it
// (the windows of the checker and of the translations place their controls by it).
RECT client_rect_of(HWND dlg, HWND w);

// The controls that only the translation modes use, in the order they are shown or hidden.
std::span<const int> machine_control_ids();
// Shows (SW_SHOW) or hides (SW_HIDE) every translation control of the text-checker window.
void ShowHideMachineControls(int sw);
