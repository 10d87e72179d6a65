#include "shell/window_state.h"

HWND hMain{};

void reset_window_state() { hMain = HWND{}; }
