// Shared by the benchmarks: a headless stand-in for the text-checker window, with its text panel
// (hBigReRight), its report panel (hBigReLeft) and its status label, as a run writes into them.
#pragma once

#include "lexicon/panels.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "shell/window_state.h"

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
