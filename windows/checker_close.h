// windows/checker_close.h - closing the text-checker window. With the main window shown the
// program goes on; with it hidden (the spell-checker and translator editions) the close ends the
// program in order, keeping everything the user gathered.
#pragma once

#include "platform/window.h"

// WM_CLOSE of the window: the window and the machine-translation window go; with the main window
// hidden the program then ends (end_program_from_checker).
void close_checker(HWND dlg);

// The end of the program from the text-checker window, in this order: what the main window's own
// close keeps is saved (the new Bulgarian words, the last search); the notification-area icon is
// removed; the main window leaves the clipboard viewer chain; the audio players this program
// started are closed; the buffers of the token frequency index (the single instance and the five
// instances of family 3) are released; the secondary windows are destroyed; the logs are flushed
// and the message loop ends with the exit code 0.
void end_program_from_checker();
