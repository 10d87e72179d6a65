#include "windows/checker_modes.h"

#include "resources/checker.h"
#include "resources/secondary.h"
#include "shell/settings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/bgtext_window.h"
#include "windows/checker_layout.h"
#include "windows/checker_menus.h"
#include "windows/checker_state.h"
#include "windows/live_window.h"
#include "windows/machine_window.h"

namespace {

constexpr UINT IDM_MAIN_SHOW_HIDE = 9189;  // the main window's menu item that shows or hides it
constexpr std::u16string_view kHideMain = u"Hide Main";

unsigned print_down_forced = 0;  // the PrintDownMode bits of the modes that force gl_PRINT_DOWN

void show_print_down() {
    CheckMenuItem(hMenuSetS, IDM_BIG_PRINT_DOWN, MF_BYCOMMAND | (gl_PRINT_DOWN ? MF_CHECKED : MF_UNCHECKED));
}

// Flips the item's check mark; the new state (true: the mode comes on).
bool flip_mark(UINT id) {
    const bool was_checked = (GetMenuState(hMenuToolsS, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    CheckMenuItem(hMenuToolsS, id, MF_BYCOMMAND | (was_checked ? MF_UNCHECKED : MF_CHECKED));
    return !was_checked;
}

void set_title(HWND dlg, const std::u16string& title) {
    JUXtitleCurrentBig = title;
    SetWindowTextW(dlg, title);
}

// Entering a translation mode: no real-time or clipboard checking, the information window open,
// no proof-reading.
void translation_steps(HWND dlg) {
    CheckDlgButton(dlg, IDC_BIG_REALTIME, BST_UNCHECKED);
    CheckDlgButton(dlg, IDC_BIG_SPELLCLIP, BST_UNCHECKED);
    gl_REAL_TIME = 0;
    gl_TRANSLATE_CLIPBOARD = 0;
    PL_SendCommand(dlg, IDC_BIG_INFO);
    CheckMenuItem(hMenuSetS, IDM_BIG_CHECK_PUNCTUATION, MF_BYCOMMAND | MF_UNCHECKED);
    gl_CHECK_PUNCTUATION = 0;
}

void open_machine_titled(std::u16string_view title) {
    if (open_machine_window()) SetWindowTextW(hMachine, title);
}

void machine_command(HWND dlg) {
    gl_MACHINE_TRANSLATION = flip_mark(IDM_BIG_MACHINE) ? 1 : 0;
    if (gl_MACHINE_TRANSLATION) {
        set_title(dlg, JUXtitleM);
        translation_steps(dlg);
        open_machine_titled(kMachineTitle);
        if (!gl_ENGLISH_TRANSLATION) ShowHideMachineControls(SW_SHOW);
    } else if (gl_ENGLISH_TRANSLATION) {
        set_title(dlg, JUXtitleE);
        SetWindowTextW(hMachine, kContextTitle);
    } else {
        set_title(dlg, JUXtitleS);
        spell_checking_steps();
        destroy_machine_window();
    }
    size_big(dlg);
}

void human_command(HWND dlg) {
    gl_ENGLISH_TRANSLATION = flip_mark(IDM_BIG_HUMAN) ? 1 : 0;
    if (gl_ENGLISH_TRANSLATION) {
        translation_steps(dlg);
        open_machine_window();
        if (gl_MACHINE_TRANSLATION) {
            set_title(dlg, JUXtitleM);
            SetWindowTextW(hMachine, kMachineTitle);
        } else {
            set_title(dlg, JUXtitleE);
            SetWindowTextW(hMachine, kContextTitle);
            ShowHideMachineControls(SW_SHOW);
        }
        force_print_down(PrintDownMode::Human);
    } else {
        if (gl_MACHINE_TRANSLATION) {
            set_title(dlg, JUXtitleM);
            SetWindowTextW(hMachine, kMachineTitle);
        } else {
            set_title(dlg, JUXtitleS);
            spell_checking_steps();
            destroy_machine_window();
        }
        release_print_down(PrintDownMode::Human);
    }
    size_big(dlg);
}

void corpus_command(HWND dlg) {
    gl_CORPUS_TRANSLATION = flip_mark(IDM_BIG_CORPUS) ? 1 : 0;
    if (gl_CORPUS_TRANSLATION) {
        translation_steps(dlg);
        open_bgtext_window();
        ShowHideMachineControls(SW_SHOW);
        force_print_down(PrintDownMode::Corpus);
    } else {
        if (!IsWindow(hMachine)) spell_checking_steps();
        release_print_down(PrintDownMode::Corpus);
        close_bgtext_window();
    }
}

// Shows the main window with its notification-area icon, or hides both; only when the program
// offers the main window at all (START_MAIN_WINDOW).
void main_window_command() {
    const bool on = flip_mark(IDM_BIG_MAIN_WINDOW);
    if (OP[OPT_START_MAIN_WINDOW].num_value == 0) return;
    if (on) {
        if (!IsWindowVisible(hMain)) {
            ShowWindow(hMain, SW_SHOW);
            UpdateWindow(hMain);
            if (!gl_icon_exists) add_tray_icon();
        }
        SetDlgItemTextW(hLive, IDC_LIVE_SHOW_MAIN, kHideMain);
        PL_SetMenuItemText(hMenuMain, IDM_MAIN_SHOW_HIDE, kHideMain);
    } else if (IsWindowVisible(hMain)) {
        ShowWindow(hMain, SW_HIDE);
        if (gl_icon_exists) {
            Shell_NotifyIconW(NIM_DELETE, nid);
            gl_icon_exists = 0;
        }
    }
}

}  // namespace

bool checker_mode_command(HWND dlg, UINT id) {
    switch (id) {
        case IDM_BIG_MACHINE: machine_command(dlg); break;
        case IDM_BIG_HUMAN: human_command(dlg); break;
        case IDM_BIG_CORPUS: corpus_command(dlg); break;
        case IDM_BIG_MAIN_WINDOW: main_window_command(); return true;
        default: return false;
    }
    SetFocus(hBigReRight);
    return true;
}

void spell_checking_steps() {
    CheckMenuItem(hMenuSetS, IDM_BIG_CHECK_PUNCTUATION, MF_BYCOMMAND | MF_CHECKED);
    gl_CHECK_PUNCTUATION = 1;
    ShowHideMachineControls(SW_HIDE);
}

void force_print_down(PrintDownMode mode) {
    if (print_down_forced == 0) gl_PRINT_DOWN_save = gl_PRINT_DOWN;
    print_down_forced |= static_cast<unsigned>(mode);
    gl_PRINT_DOWN = 1;
    show_print_down();
}

void release_print_down(PrintDownMode mode) {
    print_down_forced &= ~static_cast<unsigned>(mode);
    if (print_down_forced != 0) return;
    gl_PRINT_DOWN = gl_PRINT_DOWN_save;
    show_print_down();
}

void forget_print_down(PrintDownMode mode) { print_down_forced &= ~static_cast<unsigned>(mode); }

void reset_checker_modes() {
    print_down_forced = 0;
}
