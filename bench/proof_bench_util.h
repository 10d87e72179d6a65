// Shared by the proof-reader's benchmarks: the headless panels it reads and writes.
#pragma once

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
// state with store 1 made without a word limit, and makes a dialog with the text checker's two
// panels: the source (hBigReRight) and the report (hBigReLeft). Returns the dialog.
inline HWND make_proof_panels(int dialog_id) {
    headless_install();
    reset_shell();
    reset_lexicon();
    reset_engine();
    OP[OPT_MAX_WORDS_IN_FILE].num_value = 0;
    smake();
    DialogTemplate t;
    t.id = dialog_id;
    t.cx = 300;
    t.cy = 200;
    t.style = WS_POPUP;
    t.controls = {
        {ControlKind::RichEdit, 1, u"", 0, 0, 100, 100, WS_CHILD | ES_MULTILINE},
        {ControlKind::RichEdit, 2, u"", 0, 0, 100, 100, WS_CHILD | ES_MULTILINE},
    };
    const HWND dialog = CreateDialogIndirect(t, HWND{}, [](HWND, const Msg&) -> INT_PTR { return 0; });
    hBigReRight = GetDlgItem(dialog, 1);
    hBigReLeft = GetDlgItem(dialog, 2);
    RE_LimitText(hBigReLeft, 1 << 30);
    RE_LimitText(hBigReRight, 1 << 30);
    return dialog;
}
