// shell/reset.h - the reset of the whole subsystem for test fixtures.
#pragma once

// Settings back to their defaults (mirrors, mode flags, locale), allocator limit lifted, no
// statistics log, every token-index instance released, the shared window state emptied (no main
// window, no focus pane, no loaded file).
// The start-up has its own reset (reset_startup in shell/startup.h).
void reset_shell();
