// windows/secondary_windows.h - what the small secondary windows (inflection-type input, settings)
// share: the mouse and menu protocol of their one rich-edit panel, and the opening of a modeless
// window that keeps its handle in a global.
#pragma once

#include "platform/window.h"

// The panel's part of a dialog procedure, over the protocol of windows/secondary_panels.h: the
// shared popup's commands 8084-8101 and its audio item 8200; a left-button release in the panel
// makes it the focus pane hReFocus; a right click in it opens the shared popup menu. True when the
// message was one of these, with the procedure's answer in `result` (TRUE only for the right
// click the panel took; a right click elsewhere answers FALSE, the default handling).
bool secondary_panel_message(HWND dlg, HWND re, const Msg& m, INT_PTR& result);

// Creates template `template_id` modeless, owned by the main window, into `handle` when `handle`
// is not a valid window, then shows and repaints it. True when it was created now.
bool open_secondary_window(HWND& handle, int template_id, DLGPROC proc);

// Destroys the window and sets its handle to 0 (the close box, OK and Cancel of these windows).
void close_secondary_window(HWND dlg, HWND& handle);

// The main window's commands of these windows: 8300 the inflection-type input, 9213 the settings,
// 9214 the character table, 1077 and 9190 the live clipboard window, 40052 the About box. True
// when `id` was one of them.
bool secondary_window_command(int id);

// The state of every window of this group for test fixtures: input, settings (with the notes),
// character table and live clipboard windows.
void reset_secondary_windows();
