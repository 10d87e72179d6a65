// windows/checker_window.h - the text-checker window (template 117, DialogBig, handle hBig): the
// face of the spell-checker, translator, human-translator and parallel-text editions. The user
// types, pastes, drops or opens a text in the right panel; every change is checked as a whole and
// the report appears in the left panel (or the bottom panel), in the status line and as colours
// in the text.
#pragma once

#include <optional>

#include "platform/window.h"

// The window's procedure: initialisation, layout on WM_SIZE, activation, the splitter clicks on
// its surface, its commands (the shared popup's 8084-8101, its own controls and menus) and the
// notifications of its panels.
INT_PTR DialogBig(HWND dlg, const Msg& m);

// Opens the window: creates it when it does not exist (titled JUXtitleCurrentBig and, when
// `place_new` is given, moved there), shows it, ticks "On" with the effect of a click and adds
// ENM_MOUSEEVENTS to the left panel's mask. Returns hBig.
HWND open_checker_window(std::optional<POINT> place_new = std::nullopt);

// The subsystem's reset for test fixtures: the window's state back to its start (the window
// itself is destroyed by the platform's reset).
void reset_checker_window();
