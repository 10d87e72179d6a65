// Shared by the proof-reader benchmarks: the start state of a run (headless backend, reset
// subsystems, store 1 without a record limit) and a hidden dialog with the checker's two text
// panels, made the source (right) and report (left) panels of the runs, without a length limit.
#pragma once

#include "engine/run_state.h"
#include "engine/token_store.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/window_state.h"

inline void reset_for_proof_bench() {
    headless_install();
    reset_shell();
    reset_lexicon();
    reset_engine();
    OP[OPT_MAX_WORDS_IN_FILE].num_value = 0;
    smake();
}

inline HWND make_checker_panels(int dialog_id) {
    DialogTemplate t;
    t.id = dialog_id;
    t.cx = 300;
    t.cy = 200;
    t.style = WS_POPUP;
    t.controls = {
        {ControlKind::RichEdit, 1, u"", 0, 0, 100, 100, WS_CHILD | ES_MULTILINE},
        {ControlKind::RichEdit, 2, u"", 0, 0, 100, 100, WS_CHILD | ES_MULTILINE},
    };
    HWND dialog = CreateDialogIndirect(t, HWND{}, [](HWND, const Msg&) -> INT_PTR { return 0; });
    hBigReRight = GetDlgItem(dialog, 1);
    hBigReLeft = GetDlgItem(dialog, 2);
    RE_LimitText(hBigReLeft, 1 << 30);
    RE_LimitText(hBigReRight, 1 << 30);
    return dialog;
}
