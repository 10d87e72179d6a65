#include "windows/secondary_panels.h"

#include <algorithm>

#include "audio/pronunciation.h"
#include "resources/resources.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"

bool secondary_popup_command(UINT id) {
    if (id >= IDM_RE_FIRST && id <= IDM_RE_LAST) {
        ContextMenu(id);
        return true;
    }
    if (id != IDM_AUDIO) return false;
    AudioFromMenuOrButton();
    return true;
}

INT_PTR secondary_context_menu(HWND dlg, std::initializer_list<HWND> panels, POINT screen) {
    for (HWND re : panels)
        if (IsThisRETheContext(dlg, re, hMenuPopupAll, screen.x, screen.y)) return 1;
    return 0;
}

void track_focus_pane(const Msg& m, std::initializer_list<HWND> panels) {
    if (m.code == EN_MSGFILTER && m.filter_msg == WM_LBUTTONUP && m.from &&
        std::find(panels.begin(), panels.end(), m.from) != panels.end())
        hReFocus = m.from;
}

HFONT give_secondary_panel_font(std::initializer_list<HWND> panels) {
    LOGFONTW f;
    f.face = u"Microsoft Sans Serif";
    f.points = 8;
    f.weight = 500;
    const HFONT font = CreateFontIndirectW(f);
    if (!font) {
        MessageBoxW(hMain, u"Bad Font", u"Oops!", MB_OK | MB_ICONERROR);
        return HFONT{};
    }
    for (HWND re : panels) SetWindowFont(re, font, true);
    return font;
}

void set_secondary_panel_font(std::initializer_list<HWND> panels) {
    if (const HFONT font = give_secondary_panel_font(panels)) hFont = font;
}
