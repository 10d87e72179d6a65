#include "shell/reset.h"

#include "shell/files.h"
#include "shell/memory.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/token_frequency_index.h"
#include "shell/window_state.h"

void reset_shell() {
    reset_memory();
    reset_files();
    reset_settings();
    reset_gmake();
    reset_window_state();
    forget_told_word_counts();
}
