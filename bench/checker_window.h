// Shared by the benchmarks of the text-processing run: a stand-in of the text-checker window on
// the headless backend, with its right panel (the text), its left panel (the report) and its two
// labels, as the run knows them.
#pragma once

#include "engine/run_state.h"
#include "lexicon/panels.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "shell/window_state.h"

inline void open_checker_window() {
    DialogTemplate t;
    t.id = 9100;
    t.cx = 300;
    t.cy = 200;
    t.style = WS_POPUP;
    t.controls = {
        {ControlKind::RichEdit, 1, u"", 0, 0, 100, 100, WS_CHILD | ES_MULTILINE},
        {ControlKind::RichEdit, 2, u"", 0, 0, 100, 100, WS_CHILD | ES_MULTILINE},
        {ControlKind::Label, IDC_BIG_LABEL, u"", 0, 0, 100, 10, WS_CHILD},
        {ControlKind::Label, IDC_BIG_LABEL_UP, u"", 0, 0, 100, 10, WS_CHILD},
    };
    hBig = CreateDialogIndirect(t, HWND{}, [](HWND, const Msg&) -> INT_PTR { return 0; });
    hBigReRight = GetDlgItem(hBig, 1);
    hBigReLeft = GetDlgItem(hBig, 2);
    for (HWND re : {hBigReRight, hBigReLeft}) RE_LimitText(re, 0x7FFFFFFE);
}
