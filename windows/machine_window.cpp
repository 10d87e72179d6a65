#include "windows/machine_window.h"

#include <algorithm>
#include <array>

#include "audio/pronunciation.h"
#include "lexicon/display.h"
#include "platform/richedit.h"
#include "resources/checker.h"
#include "resources/machine_window.h"
#include "shell/settings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/checker_layout.h"
#include "windows/checker_menus.h"
#include "windows/checker_modes.h"
#include "windows/checker_state.h"
#include "windows/control_handles.h"
#include "windows/secondary_panels.h"

HWND hMachineCln, hMachineMixed, hMachineRefresh, hMachineLabel, hMachineOn;
HMENU hMenuMach, hMenuMachSet;

namespace {

constexpr UINT IDM_POPUP_FIRST = 8084;
constexpr UINT IDM_POPUP_LAST = 8101;
constexpr UINT IDM_MACH_FIRST = 9168;
constexpr UINT IDM_MACH_LAST = 9173;
constexpr int kDesktopGap = 40;  // the window's bottom edge stays this far above the screen's

const std::array kMenu{
    MachineMenuItem{9168, u"Бърз превод", &gl_MACH_FAST},
    MachineMenuItem{9170, u"Забрани англ. превод на избрана бг дума", &gl_MACH_BG_TO_ENG_DISABLE},
    MachineMenuItem{9169, u"Търси превод на всички глаг. форми на избрана бг дума, не само на основните",
                    &gl_MACH_BG_TO_ENG_ALL_VERBS},
    MachineMenuItem{},
    MachineMenuItem{9171, u"Генерирай .srt файл без тайминга", &gl_STRIP_TIMECODE},
    MachineMenuItem{9172, u"Генерирай английско-български html речник", &gl_GENERATE_HTML},
    MachineMenuItem{},
    MachineMenuItem{9173, u"Показвай инфо от машинната база", &gl_SEARCH_IN_C},
};
static_assert(kMenu.size() == 8);

// The handles in the order the window fetches them.
const ControlHandle kHandles[]{
    {IDC_MACHINE_MIXED, &hMachineMixed}, {IDC_MACHINE_ON, &hMachineOn}, {IDC_MACHINE_CLEAR, &hMachineCln},
    {IDC_MACHINE_REFRESH, &hMachineRefresh}, {IDC_MACHINE_RE, &hMachineRe},
    {IDC_MACHINE_RE_FILTER, &hMachineReFilter}, {IDC_MACHINE_LABEL, &hMachineLabel},
};

std::string_view name_of(int id) {
    for (const MachineControl& c : machine_controls())
        if (c.id == id) return c.name;
    return {};
}

std::int8_t* flag_of(UINT id) {
    for (const MachineMenuItem& it : kMenu)
        if (it.id == id) return it.flag;
    return nullptr;
}

std::u16string_view title_by_mode() {
    return OP[OPT_CORPUS_TRANSLATION].num_value == 0 && gl_MACHINE_TRANSLATION ? kMachineTitle : kContextTitle;
}

void build_menus(HWND dlg) {
    hMenuMachSet = CreatePopupMenu();
    for (const MachineMenuItem& it : kMenu) {
        if (it.id == 0)
            AppendMenuW(hMenuMachSet, MF_SEPARATOR, 0);
        else
            AppendMenuW(hMenuMachSet, MF_STRING, it.id, it.label);
    }
    hMenuMach = CreateMenu();
    AppendSubMenu(hMenuMach, hMenuMachSet, u"Опции");
    SetMenu(dlg, hMenuMach);
    DrawMenuBar(dlg);
}

void init_machine(HWND dlg) {
    hMachine = dlg;
    PL_SetWindowIcon(dlg, ICON_BIG, hicon_tr);
    SetWindowTextW(dlg, title_by_mode());
    SetDlgItemTextW(dlg, IDC_MACHINE_MIXED, u"Смесен текст");
    fetch_control_handles(dlg, kHandles, name_of);
    Button_SetCheck(JUX_GetDlgItem(dlg, IDC_MACHINE_MIXED, ""), gl_SHOW_PARALLEL_TRANSLATION ? BST_CHECKED : BST_UNCHECKED);
    Button_SetCheck(JUX_GetDlgItem(dlg, IDC_MACHINE_ON, ""), gl_MACHINE_ON ? BST_CHECKED : BST_UNCHECKED);
    RE_SetBackgroundColor(hMachineRe, bkgcolor1);
    RE_SetWordWrap(hMachineRe, true);
    RE_SetEventMask(hMachineRe, ENM_MOUSEEVENTS);
    set_secondary_panel_font({hMachineRe, hMachineReFilter});
    // The status line shows nothing until a phrase search writes its count there, never the
    // template's placeholder.
    SetWindowTextW(hMachineLabel, u"");
    // The menu bar first: it is part of the window, whose whole height the placement below takes.
    build_menus(dlg);
    // Bottom right of the screen, its bottom edge 40 pixels above the screen's.
    const RECT w = GetWindowRect(dlg);
    const RECT d = PL_GetWorkArea();
    SetWindowPos(dlg, HWND{}, d.right - w.width(), d.bottom - w.height() - kDesktopGap, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    for (const MachineMenuItem& it : kMenu)
        if (it.id) CheckMenuItem(hMenuMachSet, it.id, MF_BYCOMMAND | (*it.flag ? MF_CHECKED : MF_UNCHECKED));
    size_machine(dlg);
}

void move(HWND w, int x, int y, int cx, int cy) { MoveWindow(w, x, y, std::max(0, cx), std::max(0, cy), true); }

// "clr": the panel emptied without telling anybody.
void clear_panel() {
    const DWORD mask = RE_SetEventMask(hMachineRe, 0);
    RE_SetTextEx(hMachineRe, "", CP_1251);
    RE_SetEventMask(hMachineRe, mask);
    SetFocus(hMachineRe);
}

// Refresh: the checker checks its text again; the button stays disabled until that run returns.
void refresh() {
    EnableWindow(hMachineRefresh, false);
    SendMessageW(hBig, Msg::command(IDC_BIG_RE_RIGHT, EN_CHANGE));
    EnableWindow(hMachineRefresh, true);
    SetFocus(hMachineRefresh);
}

void toggle_menu_item(UINT id) {
    const bool was_checked = (GetMenuState(hMenuMachSet, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    CheckMenuItem(hMenuMachSet, id, MF_BYCOMMAND | (was_checked ? MF_UNCHECKED : MF_CHECKED));
    if (std::int8_t* flag = flag_of(id)) *flag = was_checked ? 0 : 1;
}

std::int8_t low_bit(HWND box) { return static_cast<std::int8_t>(Button_GetCheck(box) & 1); }

INT_PTR on_command(const Msg& m) {
    const UINT id = static_cast<UINT>(m.id);
    if (id >= IDM_POPUP_FIRST && id <= IDM_POPUP_LAST) {
        ContextMenu(id);
        return 0;
    }
    if (id >= IDM_MACH_FIRST && id <= IDM_MACH_LAST) {
        toggle_menu_item(id);
        return 0;
    }
    switch (m.id) {
        case IDC_MACHINE_CLEAR:
            clear_panel();
            return 0;
        case IDC_MACHINE_MIXED:
            gl_SHOW_PARALLEL_TRANSLATION = low_bit(hMachineMixed);
            return 0;
        case IDC_MACHINE_REFRESH:
            refresh();
            return 1;
        case IDC_MACHINE_ON:
            gl_MACHINE_ON = low_bit(hMachineOn);
            return 0;
        case IDM_AUDIO:
            AudioFromMenuOrButton();
            return 0;
        default:
            return 0;
    }
}

INT_PTR on_notify(const Msg& m) {
    if (m.id != IDC_MACHINE_RE || m.code != EN_MSGFILTER) return 0;
    switch (m.filter_msg) {
        case WM_LBUTTONDOWN:
            RE_HideSelection(hMachineRe, false);
            break;
        case WM_LBUTTONUP:
            GetCleanToken(hMachineRe, 1);
            hReFocus = hMachineRe;
            break;
        case WM_LBUTTONDBLCLK:
            GetCleanToken(hMachineRe, 1);
            break;
        default:
            break;
    }
    return 0;
}

// The close box: the window goes and the checker returns to spell checking.
void close_machine(HWND dlg) {
    DestroyWindow(dlg);
    hMachine = HWND{};
    const bool human_was_on = gl_ENGLISH_TRANSLATION != 0;
    if (!IsWindow(hBgText)) spell_checking_steps();
    gl_MACHINE_TRANSLATION = 0;
    gl_ENGLISH_TRANSLATION = 0;
    CheckMenuItem(hMenuToolsS, IDM_BIG_MACHINE, MF_BYCOMMAND | MF_UNCHECKED);
    CheckMenuItem(hMenuToolsS, IDM_BIG_HUMAN, MF_BYCOMMAND | MF_UNCHECKED);
    // The look-up display stays where it is (the bottom panel when the human-translation mode had
    // put it there); the mode only lets go of its claim on it.
    if (human_was_on) forget_print_down(PrintDownMode::Human);
    JUXtitleCurrentBig = JUXtitleS;
    SetWindowTextW(hBig, JUXtitleS);
    size_big(hBig);
}

void forget_machine(HWND dlg) {
    if (hMachine != dlg) return;
    if (hMenuMach) DestroyMenu(hMenuMach);
    if (hReFocus == hMachineRe || hReFocus == hMachineReFilter) hReFocus = HWND{};
    reset_machine_window();
}

}  // namespace

std::span<const MachineMenuItem> machine_menu_items() { return kMenu; }

INT_PTR DialogMachine(HWND dlg, const Msg& m) {
    switch (m.message) {
        case WM_INITDIALOG:
            init_machine(dlg);
            return 0;
        case WM_SIZE:
            size_machine(dlg);
            return 0;
        case WM_COMMAND:
            return on_command(m);
        case WM_NOTIFY:
            return on_notify(m);
        case WM_CONTEXTMENU:
            return IsThisRETheContext(dlg, hMachineRe, hMenuPopupAll, m.pt.x, m.pt.y) ||
                   IsThisRETheContext(dlg, hMachineReFilter, hMenuPopupAll, m.pt.x, m.pt.y);
        case WM_CLOSE:
            close_machine(dlg);
            return 1;
        case WM_DESTROY:
            forget_machine(dlg);
            return 0;
        default:
            return 0;
    }
}

void size_machine(HWND dlg) {
    if (!IsWindow(dlg)) return;
    const RECT c = GetClientRect(dlg);
    const int cw = c.width(), ch = c.height();
    HWND filter = GetDlgItem(dlg, IDC_MACHINE_RE_FILTER);
    const RECT f = client_rect_of(dlg, filter);
    move(filter, f.left, 2, f.width(), 32);
    HWND mixed = GetDlgItem(dlg, IDC_MACHINE_MIXED);
    const RECT x = client_rect_of(dlg, mixed);
    move(mixed, 70, 2, x.width(), x.height());
    HWND refresh_button = GetDlgItem(dlg, IDC_MACHINE_REFRESH);
    const RECT r = client_rect_of(dlg, refresh_button);
    move(refresh_button, x.width() + 75, 2, r.width(), r.height());
    HWND clear = GetDlgItem(dlg, IDC_MACHINE_CLEAR);
    const RECT k = client_rect_of(dlg, clear);
    move(clear, 0, 36, k.width(), k.height());
    HWND status = GetDlgItem(dlg, IDC_MACHINE_LABEL);
    const RECT s = client_rect_of(dlg, status);
    move(status, 24, ch - 19, s.width(), s.height());
    move(GetDlgItem(dlg, IDC_MACHINE_RE), k.width(), 36, cw - k.width() - 2, ch - gl_bigbottom - 36 - 2);
}

HWND open_machine_window() {
    if (!IsWindow(hMachine)) {
        register_machine_template();
        CreateDialogParamW(IDD_MACHINE, HWND{}, DialogMachine);
        if (!IsWindow(hMachine)) return HWND{};
    }
    ShowWindow(hMachine, SW_SHOW);
    UpdateWindow(hMachine);
    return hMachine;
}

void destroy_machine_window() {
    if (IsWindow(hMachine)) DestroyWindow(hMachine);
    hMachine = HWND{};
}

void reset_machine_window() {
    for (HWND* h : {&hMachine, &hMachineRe, &hMachineReFilter, &hMachineCln, &hMachineMixed, &hMachineRefresh,
                    &hMachineLabel, &hMachineOn})
        *h = HWND{};
    hMenuMach = hMenuMachSet = HMENU{};
}
