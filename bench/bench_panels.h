// Shared by the benchmarks: a headless stand-in for the text-checker window, with its text panel
// (hBigReRight), its report panel (hBigReLeft) and its status label, as a run writes into them.
#pragma once

#include "engine/run/run.h"
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

// The headless backend with the shell, the lexicon and the engine in their reset state, and the
// token stores made without a word limit (the benchmarks' texts have millions of tokens).
inline void start_headless_without_word_limit() {
    headless_install();
    reset_shell();
    reset_lexicon();
    reset_engine();
    OP[OPT_MAX_WORDS_IN_FILE].num_value = 0;
    smake();
    smake2();
    smakeR();
}

// Makes the window (hBig) and sets the panels' handles; the panels take any length of text.
inline HWND make_checker_panels() {
    DialogTemplate t;
    t.id = 9100;
    t.cx = 300;
    t.cy = 200;
    t.style = WS_POPUP;
    t.controls = {
        {ControlKind::RichEdit, 1, u"", 0, 0, 100, 100, WS_CHILD | ES_MULTILINE},
        {ControlKind::RichEdit, 2, u"", 0, 0, 100, 100, WS_CHILD | ES_MULTILINE},
        {ControlKind::Label, IDC_BIG_LABEL, u"", 0, 0, 100, 10, WS_CHILD},
        {ControlKind::Label, 1276, u"", 0, 0, 100, 10, WS_CHILD},
    };
    hBig = CreateDialogIndirect(t, HWND{}, [](HWND, const Msg&) -> INT_PTR { return 0; });
    hBigReRight = GetDlgItem(hBig, 1);
    hBigReLeft = GetDlgItem(hBig, 2);
    RE_LimitText(hBigReRight, 1 << 30);
    RE_LimitText(hBigReLeft, 1 << 30);
    return hBig;
}
