// shell/window_state.h - window state shared by every subsystem.
#pragma once

#include "platform/types.h"

extern HWND hMain;  // the main window (also hAdd); owner of the program's message boxes

// The subsystem's reset for test fixtures.
void reset_window_state();
