// shell/reset.h - the reset of the whole subsystem for test fixtures.
#pragma once

// Settings back to their defaults (mirrors, mode flags, locale), allocator limit lifted, no
// statistics log, every token-index instance released, no main window.
void reset_shell();
