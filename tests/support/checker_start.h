// The program started as the spell-checker edition starts it, for the tests and benchmarks that
// drive the text-checker window on a backend of their own choice.
#pragma once

#include <filesystem>

#include "dictionary/loading.h"
#include "dictionary/main_window.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "lexicon/tables.h"
#include "shell/reset.h"
#include "shell/window_state.h"
#include "spelling/spell_state.h"
#include "windows/checker_window.h"

namespace jux_test {

// On the installed backend, with `data` as the data and working folder: every subsystem reset,
// the main window with its lexicon, the token stores, and the checker window opened. False when
// a window could not be made.
inline bool start_checker_over(const std::filesystem::path& data) {
    reset_shell();
    reset_loading();
    reset_lexicon();
    reset_engine();
    reset_spelling();
    reset_main_window();
    reset_checker_window();
    std::filesystem::current_path(data);
    dir_alt = data;
    build_titles();
    if (!create_main_window()) return false;
    smake();
    smake2();
    smakeR();
    return IsWindow(open_checker_window());
}

}  // namespace jux_test
