#include "shell/ui_services.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unistd.h>

#include "platform/richedit.h"
#include "platform/text.h"
#include "resources/resources.h"
#include "shell/files.h"
#include "shell/settings.h"
#include "shell/window_state.h"

namespace {

bool is_panel(HWND h) { return IsWindow(h) && PL_GetControlKind(h) == ControlKind::RichEdit; }

// The screen point lies in the window's client area (right and bottom edges excluded).
bool point_in_client(HWND h, int x, int y) {
    if (!IsWindow(h)) return false;
    const POINT p = ScreenToClient(h, POINT{x, y});
    const RECT r = GetClientRect(h);
    return p.x >= r.left && p.y >= r.top && p.x < r.right && p.y < r.bottom;
}

// A right click that hit `control`: a panel becomes the focus pane, any other control is kept
// apart so that the panel commands never act on a button.
void take_right_click(HWND control) {
    hReFocusPrev = hReFocus;
    if (is_panel(control)) hReFocus = control;
    else hReRightClicked = control;
}

constexpr int kMinPoints = 6;
constexpr int kMaxPoints = 72;

LOGFONTW font_of(HWND re) {
    if (std::optional<LOGFONTW> f = PL_GetFontInfo(GetWindowFont(re))) return *f;
    LOGFONTW f;
    f.points = gl_FONT_SIZE > 0 ? gl_FONT_SIZE : 10;
    return f;
}

void apply_font(HWND re, LOGFONTW f) {
    f.points = std::clamp(f.points, kMinPoints, kMaxPoints);
    HFONT h = CreateFontIndirectW(f);
    if (!h) return;
    SetWindowFont(re, h, true);
    hFont = h;
}

void copy_text(std::u16string_view text) {
    if (!text.empty()) PL_SetClipboardTextW(text);
}

}  // namespace

HWND JUX_GetDlgItem(HWND dlg, int id, std::string_view name) {
    if (HWND h = GetDlgItem(dlg, id)) return h;
    const int code = IsWindow(dlg) ? ERROR_CONTROL_ID_NOT_FOUND : ERROR_INVALID_WINDOW_HANDLE;
    MessageBoxA(hMain, jux_format("Creating handle of %s failed, error code: %d", std::string(name).c_str(), code),
                "Oops!", MB_OK | MB_ICONERROR);
    return {};
}

int CreateToolTipW(int id, HWND dlg, std::u16string_view text) {
    if (!IsWindow(dlg) || text.empty()) return 0;
    HWND control = GetDlgItem(dlg, id);
    if (!control) return 0;
    return PL_CreateToolTipFor(dlg, control, text) ? 1 : 0;
}

namespace {
UserViewDuringPumps* g_user_view = nullptr;  // the innermost guard of a job that pumps
}  // namespace

UserViewDuringPumps::UserViewDuringPumps(HWND panel, CHARRANGE& sel, POINT& scroll, HWND focus_stand_in)
    : panel_(panel), focus_stand_in_(focus_stand_in), sel_(sel), scroll_(scroll), outer_(g_user_view) {
    g_user_view = this;
}

UserViewDuringPumps::~UserViewDuringPumps() { g_user_view = outer_; }

void unfreeze() {
    UserViewDuringPumps* guard = g_user_view;
    if (!guard || !IsWindow(guard->panel_)) {
        PL_PumpMessages(UNFREEZE_US);
        return;
    }
    const CHARRANGE job_sel = RE_GetSel(guard->panel_);
    RE_SetSel(guard->panel_, guard->sel_);
    RE_SetScrollPos(guard->panel_, guard->scroll_);
    const HWND stand_in = guard->focus_stand_in_;
    const bool lend_focus = stand_in && GetFocus() == stand_in;
    if (lend_focus) SetFocus(guard->panel_);
    // The modified flag tells whether the user edited the text at the pump; it keeps its own
    // value for everybody else.
    const HWND panel = guard->panel_;
    const bool was_modified = RE_GetModify(panel);
    RE_SetModify(panel, false);
    PL_PumpMessages(UNFREEZE_US);
    const bool edited = IsWindow(panel) && RE_GetModify(panel);
    if (IsWindow(panel)) RE_SetModify(panel, was_modified || edited);
    // The guard may have ended while the pump ran (a window closed): look it up again.
    if (g_user_view != guard || !IsWindow(guard->panel_)) return;
    if (edited) guard->edited_ = true;
    // The focus goes back to the stand-in unless the user moved it elsewhere meanwhile.
    if (lend_focus && GetFocus() == guard->panel_ && IsWindow(stand_in)) SetFocus(stand_in);
    guard->sel_ = RE_GetSel(guard->panel_);
    guard->scroll_ = RE_GetScrollPos(guard->panel_);
    RE_SetSel(guard->panel_, job_sel);
}

void PopupMain(HWND w) {
    ShowWindow(w, SW_RESTORE);
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
}

int add_tray_icon() {
    nid = NOTIFYICONDATAW{};
    nid.hWnd = hMain;
    nid.uID = static_cast<UINT>(IDI_JUX32);
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_INFO;
    nid.uCallbackMessage = WM_TRAYICON;
    nid.hIcon = hicon32;
    gl_icon_exists = Shell_NotifyIconW(NIM_ADD, nid) ? 1 : 0;
    return gl_icon_exists;
}

HMENU build_popup_all(bool audio_index_loaded) {
    if (IsMenu(hMenuPopupAll)) return hMenuPopupAll;
    HMENU m = CreatePopupMenu();
    for (const PopupItem& item : popup_all_items()) {
        if (item.id == 0) AppendMenuW(m, MF_SEPARATOR, 0);
        else AppendMenuW(m, MF_STRING, item.id, item.label);
    }
    AppendMenuW(m, MF_SEPARATOR, 0);
    if (audio_index_loaded) AppendMenuW(m, MF_STRING, IDM_AUDIO, kPopupAudioLabel);
    AppendMenuW(m, MF_STRING, IDM_SHOW_BIG, kPopupShowBigLabel);
    hMenuPopupAll = m;
    return m;
}

int ContextMenu(UINT id) {
    HWND re = hReFocus;
    switch (id) {
        case IDM_RE_CUT:
            copy_text(RE_GetTextW(re, GT_SELECTION | GT_USECRLF));
            RE_ReplaceSel(re, u"", true);
            break;
        case IDM_RE_COPY:
            copy_text(RE_GetTextW(re, GT_SELECTION | GT_USECRLF));
            break;
        case IDM_RE_PASTE:
            if (std::optional<std::u16string> t = PL_GetClipboardTextW(); t && is_panel(re)) RE_ReplaceSel(re, *t, true);
            break;
        case IDM_RE_DELETE:
            RE_ReplaceSel(re, u"", true);
            break;
        case IDM_RE_SELECT_ALL:
            RE_SetSel(re, CHARRANGE{0, -1});
            break;
        case IDM_RE_COPY_ALL:
            copy_text(RE_GetTextW(re, GT_USECRLF));
            break;
        case IDM_RE_CLEAR:
            RE_SetSel(re, CHARRANGE{0, -1});
            RE_ReplaceSel(re, u"", true);
            break;
        case IDM_RE_FONT:
            if (!is_panel(re)) break;
            if (std::optional<LOGFONTW> f = ChooseFontW(GetParent(re), font_of(re))) apply_font(re, *f);
            break;
        case IDM_RE_FONT_LARGER:
        case IDM_RE_FONT_SMALLER: {
            if (!is_panel(re)) break;
            LOGFONTW f = font_of(re);
            f.points += id == IDM_RE_FONT_LARGER ? 1 : -1;
            apply_font(re, f);
            break;
        }
        case IDM_RE_WORD_WRAP:
            RE_SetWordWrap(re, !RE_GetWordWrap(re));
            break;
        case IDM_RE_UNDO:
            RE_Undo(re);
            break;
        case IDM_RE_REDO:
            RE_Redo(re);
            break;
        default:
            return 0;
    }
    if (is_panel(re)) SetFocus(re);
    return 1;
}

int IsThisRETheContext(HWND dlg, HWND re, HMENU menu, int x, int y) {
    if (!point_in_client(re, x, y)) return 0;
    if (is_panel(re)) {
        hReFocus = re;
        EnableMenuItem(menu, IDM_RE_UNDO, MF_BYCOMMAND | (RE_CanUndo(re) ? MF_ENABLED : MF_GRAYED));
        EnableMenuItem(menu, IDM_RE_REDO, MF_BYCOMMAND | (RE_CanRedo(re) ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menu, IDM_RE_WORD_WRAP, MF_BYCOMMAND | (RE_GetWordWrap(re) ? MF_CHECKED : MF_UNCHECKED));
    } else {
        take_right_click(re);  // a popup button: its menu opens, the focus pane stays a panel
    }
    TrackPopupMenu(menu, TPM_LEFTALIGN, x, y, IsWindow(dlg) ? dlg : GetParent(re));
    return 1;
}

int IsThisRETheContextNoMenu(HWND dlg, HWND control, int x, int y) {
    (void)dlg;
    if (!IsWindowVisible(control) || !point_in_client(control, x, y)) return 0;
    take_right_click(control);
    return 1;
}

int kill_proc_by_name(std::string_view name) {
    // The program itself may carry the name: it never asks itself to end (it may hold unsaved text).
    const int self = static_cast<int>(getpid());
    int found = 0;
    for (int pid : PL_FindProcessesByName(name)) {
        if (pid == self) continue;
        PL_CloseProcess(pid);
        found = 1;
    }
    return found;
}

bool open_with_desktop(std::string_view address) {
    if (PL_ShellOpen(address)) return true;
    // A translator's address can be a megabyte long: the box names its beginning.
    constexpr std::size_t kShown = 300;
    std::string shown(address);
    if (shown.size() > kShown) {
        std::size_t cut = kShown;
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) --cut;  // whole characters
        shown.resize(cut);
        shown += "...";
    }
    MessageBoxW(hMain,
                utf8_to_utf16("Cannot open " + shown +
                              "\r\n\r\nThis computer has no program that opens it (for a web address: a web browser)."),
                u"Oops!", MB_OK | MB_ICONERROR);
    return false;
}
