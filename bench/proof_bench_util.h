// Shared by the proof-reader's benchmarks: the headless panels it reads and writes.
#pragma once

#include "bench_panels.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/window_state.h"

// Installs the headless backend, starts the shell, the lexicon and the engine from their reset
// state with store 1 made without a word limit, and makes the text checker's stand-in with its two
// panels: the source (hBigReRight) and the report (hBigReLeft). Returns the window.
inline HWND make_proof_panels() {
    headless_install();
    reset_shell();
    reset_lexicon();
    reset_engine();
    OP[OPT_MAX_WORDS_IN_FILE].num_value = 0;
    smake();
    return make_checker_panels();
}
