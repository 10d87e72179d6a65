// The reset of the whole engine for test fixtures: the run state of the core, the token stores
// and the tokeniser, the look-up state, and the run's own pending runs, Bulgarian-text pass and
// kept answers. It sits with the run because it reaches every part of the engine.
#include "engine/run/bg_text_pass.h"
#include "engine/run/run.h"
#include "engine/run/token_report.h"
#include "engine/lookup_state.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "engine/tokeniser.h"

void reset_engine() {
    for (HWND* h : {&hAddReShortCopy, &hAddReSaved, &hAddReShort3, &hAddLabel, &hAddSentence}) *h = HWND{};
    gl_cancel = 0;
    changed_from_add_fg = 0;
    gl_isFromClipboard = 0;
    gl_isFromFile = 0;
    gl_fg_subtitle = 0;
    balloon.clear();
    close_cyr_logs();
    reset_run();
    reset_tokeniser();
    store_release_all();
    reset_lookup_state();
    reset_bgtext_pass();
    release_kept_bulgarian_answers();
}
