// The user's actions as a backend reports them (clicks, menu commands, keys, list selections,
// drops, context menus, resizing, activation, the close box, focus). Each runs the path the
// program's own calls run and returns once the procedures have handled what it caused.
//
// What a person could not do is ignored: clicking a hidden or disabled control, acting on a
// window that a modal box has disabled, choosing a greyed menu item. Entry points that report
// what a view already shows (new size, focus) do not sync it back to the view.
//
// The close box sends WM_CLOSE to the window's procedure and nothing more: a dialog procedure
// that does not handle WM_CLOSE keeps its window open (a modeless dialog on Windows does the
// same); each program window closes itself in its own WM_CLOSE.
#include "platform/backend.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "platform/window_core.h"

#include <algorithm>
#include <vector>

namespace {
// A window the user can reach: live and enabled, in a dialog that takes input.
bool takes_input(HWND h) {
    WindowModel* w = core_window(h);
    WindowModel* d = core_dialog_of(h);
    return w && d && w->enabled && d->enabled;
}
}  // namespace

void platform_user_clicked(HWND control) {
    WindowModel* w = core_window(control);
    if (!w || (w->kind != ControlKind::PushButton && w->kind != ControlKind::CheckBox)) return;
    if (!w->visible || !takes_input(control)) return;
    g_focus = control;  // a clicked button takes the focus, and its window becomes active
    g_active = w->parent;
    if (w->kind == ControlKind::CheckBox) {
        w->check = w->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        core_sync(control, WindowProp::Checked);
    }
    if (!(w = core_window(control))) return;
    HWND dlg = w->parent;
    SendMessageW(dlg, Msg::command(w->id, BN_CLICKED, control));
}

void platform_user_context_menu(HWND clicked, POINT screen) {
    WindowModel* d = core_dialog_of(clicked);
    if (!d || !d->enabled) return;
    Msg m = Msg::simple(WM_CONTEXTMENU);
    m.from = clicked;
    m.pt = screen;
    SendMessageW(d->handle, m);
}

void platform_user_dropped(HWND target, std::vector<std::filesystem::path> files, POINT client) {
    WindowModel* w = core_window(target);
    WindowModel* d = core_dialog_of(target);
    if (files.empty() || !w || !d || !d->enabled) return;
    HWND dlg = d->handle;
    if (RichText* r = platform_rich(target); r && (r->event_mask & ENM_DROPFILES)) {
        Msg m = Msg::simple(WM_NOTIFY);
        m.id = w->id;
        m.code = EN_DROPFILES;
        m.from = target;
        m.files = std::move(files);
        m.pt = client;
        SendMessageW(dlg, m);
        return;
    }
    if (!w->accept_files && !d->accept_files) return;
    Msg m = Msg::simple(WM_DROPFILES);
    m.from = target;
    m.files = std::move(files);
    // The point in the client area of the dialog that receives the message.
    m.pt = w->kind == ControlKind::Dialog ? client
                                          : POINT{client.x + w->rect.left, client.y + w->rect.top};
    SendMessageW(dlg, m);
}

bool platform_user_key(WORD vk, BYTE modifiers) {
    // Neither a modal box's loop nor the pump of a long job applies the accelerators.
    if (g_modal_depth > 0 || g_pump_depth > 0) return false;
    return TranslateAcceleratorW(g_loop_accel_target, g_loop_accel, vk, modifiers);
}

namespace {
// The dialog's default push button, null when it has none.
HWND default_button(const WindowModel& dlg) {
    for (HWND c : dlg.children)
        if (WindowModel* w = core_window(c); w && w->kind == ControlKind::PushButton && (w->style & BS_DEFPUSHBUTTON))
            return c;
    return {};
}

bool is_box(const WindowModel& w) { return w.kind == ControlKind::Edit || w.kind == ControlKind::RichEdit; }

bool takes_return(const WindowModel& w) {
    constexpr DWORD kWants = ES_MULTILINE | ES_WANTRETURN;
    return is_box(w) && (w.style & kWants) == kWants;
}

// A text panel (a multi-line box with a scroll bar) takes a plain Tab as text outside dialog
// boxes; a box of one line (the dictionary's entry box grows with what is typed but has no bar)
// passes it on, as every control of a dialog box does.
bool takes_tab(const WindowModel& w) {
    constexpr DWORD kPanel = ES_MULTILINE | WS_VSCROLL;
    return is_box(w) && (w.style & kPanel) == kPanel;
}

// The control the Tab key reaches from `from`: the next (with `back` the previous) visible, enabled
// control with WS_TABSTOP in the dialog's order, round the ends; the first (last) one from the
// dialog itself. Null when the dialog has none.
HWND next_tab_stop(const WindowModel& dlg, HWND from, bool back) {
    std::vector<HWND> stops;
    for (HWND c : dlg.children)
        if (WindowModel* w = core_window(c); w && (w->style & WS_TABSTOP) && w->visible && w->enabled)
            stops.push_back(c);
    if (stops.empty()) return {};
    const auto at = std::find(stops.begin(), stops.end(), from);
    if (at == stops.end()) return back ? stops.back() : stops.front();
    const std::size_t i = static_cast<std::size_t>(at - stops.begin());
    return stops[back ? (i + stops.size() - 1) % stops.size() : (i + 1) % stops.size()];
}
}  // namespace

bool platform_user_dialog_key(HWND focus, WORD vk, BYTE modifiers) {
    if ((vk != VK_RETURN && vk != VK_ESCAPE && vk != VK_TAB) || (modifiers & (FCONTROL | FALT))) return false;
    WindowModel* w = core_window(focus);
    WindowModel* d = core_dialog_of(focus);
    if (!w || !d || !d->enabled) return false;
    const HWND def = default_button(*d);
    if (vk == VK_TAB) {
        const bool back = (modifiers & FSHIFT) != 0;
        if (!def && !back && takes_tab(*w)) return false;
        // A box reached by the key has its whole text selected, ready to be typed over.
        if (const HWND next = next_tab_stop(*d, focus, back)) {
            core_focus(next, WindowProp::TabFocus);
            if (platform_rich(next)) RE_SetSel(next, CHARRANGE{0, -1});
        }
        return true;
    }
    if (!def) return false;  // not a dialog box: the keys go to the controls as typed
    const HWND dlg = d->handle;
    if (vk == VK_ESCAPE) {
        if (HWND cancel = GetDlgItem(dlg, IDCANCEL))
            platform_user_clicked(cancel);
        else
            platform_user_close(dlg);
        return true;
    }
    if (takes_return(*w)) return false;
    platform_user_clicked(w->kind == ControlKind::PushButton ? focus : def);
    return true;
}

void platform_user_menu_command(HWND w, UINT id) {
    HWND top = core_top_level(w);
    WindowModel* wm = core_window(top);
    if (!wm || !wm->enabled || !core_menu_has_enabled_command(wm->menu, id)) return;
    SendMessageW(top, Msg::command(static_cast<int>(id), 0));
}

void platform_user_list_selection(HWND lb, std::vector<int> selected, bool double_click) {
    WindowModel* w = core_window(lb);
    if (!w || w->kind != ControlKind::ListBox || !takes_input(lb)) return;
    const bool multiple = (w->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
    std::vector<bool> sel(w->items.size(), false);
    for (int i : selected) {
        if (i < 0 || static_cast<std::size_t>(i) >= sel.size()) continue;
        sel[static_cast<std::size_t>(i)] = true;
        if (!multiple) break;  // one row at a time in a single-selection list
    }
    w->selected = std::move(sel);
    if (!(w->style & LBS_NOTIFY)) return;
    HWND dlg = w->parent;
    int id = w->id;
    SendMessageW(dlg, Msg::command(id, LBN_SELCHANGE, lb));
    if (double_click && IsWindow(lb)) SendMessageW(dlg, Msg::command(id, LBN_DBLCLK, lb));
}

void platform_user_minimized(HWND w, bool minimized) {
    WindowModel* wm = core_window(w);
    if (!wm || wm->kind != ControlKind::Dialog || wm->minimized == minimized) return;
    wm->minimized = minimized;
    Msg m = Msg::simple(WM_SIZE);
    m.code = minimized ? SIZE_MINIMIZED : SIZE_RESTORED;
    m.cx = minimized ? 0 : wm->rect.width();
    m.cy = minimized ? 0 : wm->rect.height();
    SendMessageW(w, m);
}

void platform_user_resized(HWND w, RECT screen_rect) {
    WindowModel* wm = core_window(w);
    if (!wm || wm->kind != ControlKind::Dialog) return;
    if (screen_rect.right < screen_rect.left) screen_rect.right = screen_rect.left;
    if (screen_rect.bottom < screen_rect.top) screen_rect.bottom = screen_rect.top;
    RECT old = wm->rect;
    wm->rect = screen_rect;
    if (old.width() == screen_rect.width() && old.height() == screen_rect.height()) return;
    Msg m = Msg::simple(WM_SIZE);
    m.code = wm->minimized ? SIZE_MINIMIZED : SIZE_RESTORED;
    m.cx = screen_rect.width();
    m.cy = screen_rect.height();
    SendMessageW(w, m);
}

void platform_view_placed(HWND w, RECT client_on_screen, RECT frame) {
    WindowModel* wm = core_window(w);
    if (!wm || wm->kind != ControlKind::Dialog) return;
    wm->frame = frame;
    platform_user_resized(w, client_on_screen);
}

// The window that lost the activation last: a desktop reports the loss before the gain, and the
// window that gains it is told which one that was.
static HWND s_last_deactivated;

void platform_user_activated(HWND w, bool active) {
    HWND top = core_top_level(w);
    if (!top) return;
    Msg m = Msg::simple(WM_ACTIVATE);
    if (active) {
        HWND previous = GetActiveWindow();
        if (!previous && IsWindow(s_last_deactivated)) previous = s_last_deactivated;
        g_active = top;
        s_last_deactivated = {};
        m.code = WA_ACTIVE;
        m.from = previous != top ? previous : HWND{};
    } else {
        if (g_active == top) g_active = {};
        s_last_deactivated = top;
        m.code = WA_INACTIVE;
    }
    SendMessageW(top, m);
}

void platform_user_close(HWND w) {
    HWND top = core_top_level(w);
    WindowModel* wm = core_window(top);
    if (!wm || !wm->enabled) return;
    SendMessageW(top, Msg::simple(WM_CLOSE));
}

void platform_user_focus(HWND w) {
    if (!IsWindow(w)) return;
    g_focus = w;
    g_active = core_top_level(w);
}
