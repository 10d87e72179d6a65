#include "windows/secondary_windows.h"

#include "resources/resources.h"
#include "resources/secondary.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/about_box.h"
#include "windows/char_table_window.h"
#include "windows/input_window.h"
#include "windows/live_window.h"
#include "windows/secondary_panels.h"
#include "windows/settings_window.h"

bool secondary_panel_message(HWND dlg, HWND re, const Msg& m, INT_PTR& result) {
    result = 0;
    switch (m.message) {
        case WM_COMMAND:
            return secondary_popup_command(static_cast<UINT>(m.id));
        case WM_NOTIFY:
            track_focus_pane(m, {re});
            return m.code == EN_MSGFILTER;
        case WM_CONTEXTMENU:
            result = secondary_context_menu(dlg, {re}, m.pt);
            return true;
        default:
            return false;
    }
}

bool open_secondary_window(HWND& handle, int template_id, DLGPROC proc) {
    if (IsWindow(handle)) return false;
    register_secondary_templates();
    handle = CreateDialogParamW(template_id, hMain, proc);
    ShowWindow(handle, SW_SHOW);
    UpdateWindow(handle);
    return true;
}

void close_secondary_window(HWND dlg, HWND& handle) {
    if (handle == dlg) handle = HWND{};
    DestroyWindow(dlg);
}

bool secondary_window_command(int id) {
    switch (id) {
        case static_cast<int>(IDM_INPUT_TYPE):
            open_input_window();
            return true;
        case static_cast<int>(IDM_SETTINGS):
            open_settings_window();
            return true;
        case static_cast<int>(IDM_ASCII):
            open_char_table_window();
            return true;
        case IDC_ADD_SHOW_LIVE:
        case static_cast<int>(IDM_SHOW_LIVE):
            toggle_live_window();
            return true;
        case IDA_ABOUT:
            open_about_box();
            return true;
        default:
            return false;
    }
}

void reset_secondary_windows() {
    reset_input_window();
    reset_settings_window();
    reset_char_table_window();
    reset_live_window();
}
