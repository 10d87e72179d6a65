// The window core: the registry of windows and controls, dialogs from templates, destruction,
// messages between windows and the properties of window.h.
//
// Geometry model: the rectangle of a top-level window is its client area in screen pixels, where
// the backend shows it; its frame (border, title bar, menu bar) is what the backend reports around
// it, so GetWindowRect, MoveWindow and SetWindowPos of a dialog take the whole window, frame
// included, and the client area lies inside. A control's rectangle is in its dialog's client
// coordinates.
//
// Destruction order (DestroyWindow of a dialog): first the top-level windows it owns, each
// completely; then WM_DESTROY to its own procedure while its controls still exist (so the
// procedure may still read them); then the controls' views and models; then the dialog's own.
// Views are thus always destroyed children first.
#include <algorithm>
#include <limits>

#include "platform/backend.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "platform/window_core.h"

std::unique_ptr<Backend> g_backend;
std::map<std::uint32_t, std::unique_ptr<WindowModel>> g_windows;
std::uint32_t g_next_window_id = 1;
std::set<std::uint32_t> g_destroying;
std::map<int, DialogTemplate> g_dialog_templates;
std::map<std::uint32_t, LOGFONTW> g_fonts;
std::uint32_t g_next_font_id = 1;
HWND g_focus{};
HWND g_active{};

// The results given to EndDialog by modal dialogs whose DialogBoxParamW has not returned yet.
static std::map<std::uint32_t, INT_PTR> s_dialog_results;

// ---- Helpers -----------------------------------------------------------------------------

int core_mul_div(int a, int b, int c) {
    if (c <= 0) return 0;
    long long p = static_cast<long long>(a) * b;
    long long r = (p >= 0 ? p + c / 2 : p - c / 2) / c;
    if (r > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (r < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

// The window looked up last: a panel is asked for many times in a row (select, format, mask).
// Forgotten when any window is removed.
namespace {
std::uint32_t g_last_id = 0;
WindowModel* g_last_window = nullptr;
}  // namespace

WindowModel* core_window(HWND h) {
    if (!h) return nullptr;
    if (g_last_window && h.id == g_last_id) return g_last_window;
    auto it = g_windows.find(h.id);
    if (it == g_windows.end()) return nullptr;
    g_last_id = h.id;
    g_last_window = it->second.get();
    return g_last_window;
}

WindowModel* core_dialog_of(HWND h) {
    WindowModel* w = core_window(h);
    if (w && w->kind != ControlKind::Dialog) return core_window(w->parent);
    return w;
}

HWND core_top_level(HWND h) {
    WindowModel* w = core_dialog_of(h);
    return w ? w->handle : HWND{};
}

void core_sync(HWND h, WindowProp what) {
    WindowModel* w = core_window(h);
    if (w && w->view) w->view->sync(what);
}

namespace {

LONG clamp_long(long long v) {
    return static_cast<LONG>(std::clamp<long long>(v, std::numeric_limits<LONG>::min(),
                                                   std::numeric_limits<LONG>::max()));
}

// A rectangle from a corner and a size; negative sizes count as zero.
RECT rect_of(long long x, long long y, long long cx, long long cy) {
    return RECT{clamp_long(x), clamp_long(y), clamp_long(x + std::max(0LL, cx)),
                clamp_long(y + std::max(0LL, cy))};
}

// Dialog units to pixels. The dialog font's average character is 6 x 13 pixels at 8 points
// (MS Shell Dlg); a horizontal unit is a quarter of its width, a vertical one an eighth of its
// height, and both scale with the point size.
int points_or_default(int points) { return points > 0 ? points : 8; }
int du_to_px_x(int du, int points) { return core_mul_div(du, 6 * points, 32); }
int du_to_px_y(int du, int points) { return core_mul_div(du, 13 * points, 64); }

HWND register_window(std::unique_ptr<WindowModel> m) {
    HWND h{g_next_window_id++};
    m->handle = h;
    g_windows.emplace(h.id, std::move(m));
    return h;
}

void make_view(HWND h) {
    Backend& b = platform_backend();
    WindowModel* w = core_window(h);
    if (!w) return;
    std::unique_ptr<WindowView> v = b.create_view(*w);
    if ((w = core_window(h))) w->view = std::move(v);
}

bool is_static_kind(ControlKind k) {
    return k == ControlKind::Label || k == ControlKind::GroupBox || k == ControlKind::Picture;
}

// The model of a control of dialog `dlg` (not yet registered).
std::unique_ptr<WindowModel> new_control(const WindowModel& dlg, ControlKind kind, int id,
                                         std::u16string_view text, RECT r, DWORD style,
                                         int resource) {
    auto c = std::make_unique<WindowModel>();
    c->kind = kind;
    c->id = id;
    c->parent = dlg.handle;
    c->style = style;
    c->enabled = !(style & WS_DISABLED);
    c->visible = (style & WS_VISIBLE) != 0;
    c->rect = r;
    c->font = dlg.font;
    c->dialog_font_points = dlg.dialog_font_points;
    if (resource) {
        if (kind == ControlKind::Picture && (style & 0x1F) == SS_ICON)
            c->icon_big = HICON{resource};
        else
            c->bitmap = HBITMAP{resource};
    }
    if (kind == ControlKind::RichEdit) {
        c->rich = std::make_unique<RichText>();
        c->rich->read_only = (style & ES_READONLY) != 0;
        if (!text.empty()) {
            c->rich->replace(0, 0, normalize_line_ends(text), false);
            c->rich->set_selection(CHARRANGE{0, 0});
            c->rich->modified = false;
        }
    } else if (kind != ControlKind::ListBox) {
        c->text.assign(text);
    }
    return c;
}

// The first control that takes the focus after WM_INITDIALOG asked for it.
HWND first_focusable(HWND dlg) {
    WindowModel* d = core_window(dlg);
    if (!d) return {};
    HWND fallback{};
    for (HWND c : d->children) {
        WindowModel* w = core_window(c);
        if (!w || !w->visible || !w->enabled || is_static_kind(w->kind)) continue;
        if (w->style & WS_TABSTOP) return c;
        if (!fallback) fallback = c;
    }
    return fallback;
}

// Creates the dialog and sends WM_INITDIALOG; returns the handle even when the procedure
// destroyed the window during its initialisation (callers test IsWindow).
HWND create_dialog(const DialogTemplate& tmpl, HWND owner, DLGPROC proc, INT_PTR param, bool modal) {
    const DialogTemplate t = tmpl;  // the procedure may re-register templates meanwhile
    Backend& backend = platform_backend();
    HWND owner_top = core_top_level(owner);
    int points = points_or_default(t.font_points);

    auto d = std::make_unique<WindowModel>();
    d->kind = ControlKind::Dialog;
    d->proc = proc;
    d->text = t.caption;
    d->style = t.style;
    d->ex_style = t.ex_style;
    if (t.style & DS_SYSMODAL) d->ex_style |= WS_EX_TOPMOST;
    d->accept_files = (t.ex_style & WS_EX_ACCEPTFILES) != 0;
    d->enabled = !(t.style & WS_DISABLED);
    d->owner = owner_top;
    d->template_id = t.id;
    d->dialog_font_points = points;
    d->modal = modal;
    d->font = CreateFontIndirectW(LOGFONTW{t.font_face.empty() ? u"MS Shell Dlg" : t.font_face,
                                           points, t.font_weight, false, false});
    int cx = du_to_px_x(t.cx, points), cy = du_to_px_y(t.cy, points);
    RECT wa = backend.work_area();
    long long x, y;
    if (t.style & DS_CENTER) {
        x = wa.left + (static_cast<long long>(wa.width()) - cx) / 2;
        y = wa.top + (static_cast<long long>(wa.height()) - cy) / 2;
    } else {
        POINT origin = owner_top ? ClientToScreen(owner_top, POINT{}) : POINT{wa.left, wa.top};
        x = origin.x + static_cast<long long>(du_to_px_x(t.x, points));
        y = origin.y + static_cast<long long>(du_to_px_y(t.y, points));
    }
    d->rect = rect_of(x, y, cx, cy);
    HWND h = register_window(std::move(d));

    for (const ControlTemplate& ct : t.controls) {
        if (ct.kind == ControlKind::Dialog) continue;
        WindowModel* dm = core_window(h);
        int px = du_to_px_x(ct.x, points), py = du_to_px_y(ct.y, points);
        RECT r = rect_of(px, py, du_to_px_x(ct.cx, points), du_to_px_y(ct.cy, points));
        HWND c = register_window(new_control(*dm, ct.kind, ct.id, ct.text, r, ct.style, ct.resource));
        core_window(h)->children.push_back(c);
    }
    // Views: the dialog's first, then its controls', once every model of the dialog exists.
    make_view(h);
    if (WindowModel* dm = core_window(h)) {
        std::vector<HWND> children = dm->children;
        for (HWND c : children) make_view(c);
    }

    Msg init = Msg::simple(WM_INITDIALOG);
    init.param = param;
    INT_PTR wants_focus = SendMessageW(h, init);
    if (!IsWindow(h)) return h;
    if (wants_focus) {
        if (HWND f = first_focusable(h)) SetFocus(f);
    }
    // A modal box always shows, unless it already ended in its initialisation.
    if ((t.style & WS_VISIBLE) || (modal && !core_window(h)->modal_done)) ShowWindow(h, SW_SHOW);
    if (IsWindow(h) && (t.style & DS_SETFOREGROUND)) SetForegroundWindow(h);
    return h;
}

// Removes one window's view and model (no messages).
void remove_window(HWND h) {
    auto it = g_windows.find(h.id);
    if (it == g_windows.end()) return;
    if (g_backend) g_backend->window_destroyed(*it->second);
    it = g_windows.find(h.id);
    if (it == g_windows.end()) return;
    std::unique_ptr<WindowModel> m = std::move(it->second);
    g_windows.erase(it);
    g_last_window = nullptr;
    if (WindowModel* p = core_window(m->parent)) std::erase(p->children, h);
    if (g_focus == h) g_focus = {};
    if (g_active == h) g_active = {};
    m.reset();  // the view goes with the model
}

}  // namespace

// ---- Backend ---------------------------------------------------------------------------------

void platform_set_backend(std::unique_ptr<Backend> b) {
    platform_reset();
    g_backend = std::move(b);
}

Backend& platform_backend() {
    // A program or test that installed nothing gets the deterministic in-memory backend.
    if (!g_backend) g_backend = headless_make_backend();
    return *g_backend;
}

void platform_reset() {
    // A teardown, not a user action: no procedure is called. Children and owned windows are
    // always created after their dialog and owner, so the newest window goes first.
    while (!g_windows.empty()) remove_window(HWND{std::prev(g_windows.end())->first});
    g_destroying.clear();
    s_dialog_results.clear();
    core_reset_menus();
    g_fonts.clear();
    core_reset_loop();
    core_reset_services();
    g_focus = {};
    g_active = {};
}

WindowModel* platform_window(HWND h) { return core_window(h); }

RichText* platform_rich(HWND h) {
    WindowModel* w = core_window(h);
    return w && w->kind == ControlKind::RichEdit ? w->rich.get() : nullptr;
}

// ---- Templates and dialogs -------------------------------------------------------------------

void PL_RegisterDialogTemplate(DialogTemplate t) {
    int id = t.id;
    g_dialog_templates[id] = std::move(t);
}

const DialogTemplate* PL_FindDialogTemplate(int id) {
    auto it = g_dialog_templates.find(id);
    return it == g_dialog_templates.end() ? nullptr : &it->second;
}

HWND CreateDialogParamW(int template_id, HWND owner, DLGPROC proc, INT_PTR param) {
    const DialogTemplate* t = PL_FindDialogTemplate(template_id);
    if (!t) return {};
    HWND h = create_dialog(*t, owner, proc, param, false);
    return IsWindow(h) ? h : HWND{};
}

HWND CreateDialogIndirect(const DialogTemplate& t, HWND owner, DLGPROC proc, INT_PTR param) {
    HWND h = create_dialog(t, owner, proc, param, false);
    return IsWindow(h) ? h : HWND{};
}

INT_PTR DialogBoxParamW(int template_id, HWND owner, DLGPROC proc, INT_PTR param) {
    const DialogTemplate* t = PL_FindDialogTemplate(template_id);
    if (!t) return -1;
    HWND owner_top = core_top_level(owner);
    HWND h = create_dialog(*t, owner, proc, param, true);
    bool owner_disabled = false;
    WindowModel* d = core_window(h);
    if (d && !d->modal_done) {
        // The owner takes no input while the box is up.
        if (IsWindowEnabled(owner_top)) {
            EnableWindow(owner_top, false);
            owner_disabled = true;
        }
        ++g_modal_depth;
        platform_backend().run_modal(h);
        --g_modal_depth;
    }
    INT_PTR result = 0;
    if (auto it = s_dialog_results.find(h.id); it != s_dialog_results.end()) {
        result = it->second;
        s_dialog_results.erase(it);
    } else if (!d) {
        result = -1;  // destroyed during its initialisation without EndDialog
    }
    if (owner_disabled && IsWindow(owner_top)) EnableWindow(owner_top, true);
    DestroyWindow(h);
    s_dialog_results.erase(h.id);
    if (IsWindow(owner_top) && !GetActiveWindow()) g_active = owner_top;
    return result;
}

bool EndDialog(HWND dlg, INT_PTR result) {
    WindowModel* d = core_window(dlg);
    if (!d || d->kind != ControlKind::Dialog) return false;
    if (d->modal) {
        d->modal_result = result;
        d->modal_done = true;
        s_dialog_results[dlg.id] = result;
    }
    // The box disappears at once; DialogBoxParamW destroys it when its loop has ended. A
    // modeless dialog is only hidden, as on Windows; its creator destroys it.
    ShowWindow(dlg, SW_HIDE);
    return true;
}

bool IsWindow(HWND w) { return core_window(w) != nullptr; }

bool DestroyWindow(HWND h) {
    WindowModel* w = core_window(h);
    if (!w || g_destroying.count(h.id)) return false;
    g_destroying.insert(h.id);
    if (w->kind == ControlKind::Dialog) {
        std::vector<HWND> owned;
        for (const auto& [id, m] : g_windows)
            if (m->kind == ControlKind::Dialog && m->owner == h) owned.push_back(m->handle);
        for (HWND o : owned) DestroyWindow(o);
        if ((w = core_window(h)) && w->modal) w->modal_done = true;
        SendMessageW(h, Msg::simple(WM_DESTROY));
        if ((w = core_window(h))) {
            std::vector<HWND> children = w->children;
            for (HWND c : children) remove_window(c);
        }
        core_forget_window_services(h);
    }
    remove_window(h);
    g_destroying.erase(h.id);
    return true;
}

HWND PL_CreateControl(HWND dlg, ControlKind kind, int id, std::u16string_view text, RECT pixels,
                   DWORD style) {
    WindowModel* d = core_window(dlg);
    if (!d || d->kind != ControlKind::Dialog || kind == ControlKind::Dialog) return {};
    HWND c = register_window(new_control(*d, kind, id, text, pixels, style, 0));
    core_window(dlg)->children.push_back(c);
    make_view(c);
    return c;
}

// ---- Messages ----------------------------------------------------------------------------

INT_PTR SendMessageW(HWND w, const Msg& m) {
    WindowModel* d = core_dialog_of(w);
    if (!d || !d->proc) return 0;
    DLGPROC proc = d->proc;
    HWND dh = d->handle;
    return proc(dh, m);
}

INT_PTR PL_SendCommand(HWND w, int id, int code, HWND from) {
    return SendMessageW(w, Msg::command(id, code, from));
}

DLGPROC PL_GetDialogProc(HWND w) {
    WindowModel* m = core_window(w);
    return m ? m->proc : nullptr;
}

// ---- Relations ---------------------------------------------------------------------------

HWND GetDlgItem(HWND dlg, int id) {
    WindowModel* d = core_window(dlg);
    if (!d) return {};
    for (HWND c : d->children)
        if (WindowModel* w = core_window(c); w && w->id == id) return c;
    return {};
}

int GetDlgCtrlID(HWND control) {
    WindowModel* w = core_window(control);
    return w && w->kind != ControlKind::Dialog ? w->id : 0;
}

HWND GetParent(HWND h) {
    WindowModel* w = core_window(h);
    if (!w) return {};
    HWND p = w->kind == ControlKind::Dialog ? w->owner : w->parent;
    return IsWindow(p) ? p : HWND{};
}

ControlKind PL_GetControlKind(HWND h) {
    WindowModel* w = core_window(h);
    return w ? w->kind : ControlKind::Dialog;
}

std::vector<HWND> PL_GetChildren(HWND dlg) {
    WindowModel* d = core_window(dlg);
    return d ? d->children : std::vector<HWND>{};
}

// ---- Text --------------------------------------------------------------------------------

namespace {
// A single-line edit field tells its dialog of every change of its text, the program's own too.
void notify_edit_changed(HWND h) {
    WindowModel* w = core_window(h);
    if (!w || w->kind != ControlKind::Edit || (w->style & ES_MULTILINE)) return;
    HWND dlg = w->parent;
    SendMessageW(dlg, Msg::command(w->id, EN_CHANGE, h));
}
}  // namespace

bool SetWindowTextW(HWND h, std::u16string_view text) {
    WindowModel* w = core_window(h);
    if (!w) return false;
    if (w->kind == ControlKind::RichEdit) return RE_SetTextW(h, text);
    w->text.assign(text);
    core_sync(h, WindowProp::Text);
    notify_edit_changed(h);
    return true;
}

bool SetWindowTextA(HWND h, std::string_view text_cp1251) {
    return SetWindowTextW(h, cp1251_to_utf16(text_cp1251));
}

std::u16string GetWindowTextW(HWND h) {
    WindowModel* w = core_window(h);
    if (!w) return {};
    // A panel reads as WM_GETTEXT does: paragraph ends as CR LF.
    if (w->kind == ControlKind::RichEdit) return RE_GetTextW(h, GT_USECRLF);
    return w->text;
}

std::string GetWindowTextA(HWND h) { return utf16_to_cp1251(GetWindowTextW(h), '?'); }

int GetWindowTextLengthW(HWND h) {
    WindowModel* w = core_window(h);
    if (!w) return 0;
    if (w->kind == ControlKind::RichEdit) return RE_GetTextLength(h, GT_USECRLF);
    return static_cast<int>(std::min<std::size_t>(w->text.size(), std::numeric_limits<int>::max()));
}

bool SetDlgItemTextW(HWND dlg, int id, std::u16string_view text) {
    return SetWindowTextW(GetDlgItem(dlg, id), text);
}

std::u16string GetDlgItemTextW(HWND dlg, int id) { return GetWindowTextW(GetDlgItem(dlg, id)); }

// Called by the backend when the user edited a plain edit field.
void platform_user_edit_changed(HWND edit, std::u16string_view text) {
    WindowModel* w = core_window(edit);
    if (!w || w->kind != ControlKind::Edit || w->text == text) return;
    w->text.assign(text);
    SendMessageW(w->parent, Msg::command(w->id, EN_CHANGE, edit));
}

// ---- Visibility, state -----------------------------------------------------------------------

bool ShowWindow(HWND h, int sw) {
    WindowModel* w = core_window(h);
    if (!w) return false;
    bool was_visible = w->visible;
    bool activates = false;
    switch (sw) {
        case SW_HIDE:
            w->visible = false;
            break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            w->visible = true;
            w->minimized = true;
            activates = sw == SW_SHOWMINIMIZED;
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
        case SW_SHOWMAXIMIZED:
            w->visible = true;
            w->minimized = false;
            activates = true;
            break;
        case SW_SHOWNOACTIVATE:
            w->visible = true;
            break;
        default:  // SW_SHOW and the rest
            w->visible = true;
            activates = true;
            break;
    }
    if (w->kind == ControlKind::Dialog) {
        if (!w->visible && g_active == h) g_active = {};
        if (activates) g_active = h;
    }
    core_sync(h, WindowProp::Visible);
    return was_visible;
}

bool IsWindowVisible(HWND h) {
    WindowModel* w = core_window(h);
    if (!w || !w->visible) return false;
    if (w->kind == ControlKind::Dialog) return true;
    WindowModel* d = core_window(w->parent);
    return d && d->visible;
}

bool IsIconic(HWND h) {
    WindowModel* w = core_window(h);
    return w && w->minimized;
}

bool EnableWindow(HWND h, bool enable) {
    WindowModel* w = core_window(h);
    if (!w) return false;
    bool was_disabled = !w->enabled;
    w->enabled = enable;
    if (was_disabled == enable) core_sync(h, WindowProp::Enabled);
    return was_disabled;
}

bool IsWindowEnabled(HWND h) {
    WindowModel* w = core_window(h);
    return w && w->enabled;
}

void Button_SetCheck(HWND button, int state) {
    WindowModel* w = core_window(button);
    if (!w || w->kind == ControlKind::Dialog) return;
    w->check = state;
    core_sync(button, WindowProp::Checked);
}

int Button_GetCheck(HWND button) {
    WindowModel* w = core_window(button);
    return w ? w->check : BST_UNCHECKED;
}

void CheckDlgButton(HWND dlg, int id, int state) { Button_SetCheck(GetDlgItem(dlg, id), state); }
int IsDlgButtonChecked(HWND dlg, int id) { return Button_GetCheck(GetDlgItem(dlg, id)); }

void PL_Button_SetBitmap(HWND button, HBITMAP bmp) {
    WindowModel* w = core_window(button);
    if (!w || w->kind == ControlKind::Dialog) return;
    w->bitmap = bmp;
    core_sync(button, WindowProp::Bitmap);
}

// ---- Geometry ------------------------------------------------------------------------------

namespace {
// Sets the rectangle; a dialog whose size changed receives WM_SIZE with its new client size.
bool apply_rect(HWND h, RECT r) {
    WindowModel* w = core_window(h);
    if (!w) return false;
    RECT old = w->rect;
    if (old == r) return true;
    w->rect = r;
    core_sync(h, WindowProp::Geometry);
    // The view may have placed the window otherwise than asked (a size the desktop refuses): the
    // model holds where it is now.
    if ((w = core_window(h))) r = w->rect;
    if (w && w->kind == ControlKind::Dialog && (old.width() != r.width() || old.height() != r.height())) {
        Msg m = Msg::simple(WM_SIZE);
        m.code = w->minimized ? SIZE_MINIMIZED : SIZE_RESTORED;
        m.cx = r.width();
        m.cy = r.height();
        SendMessageW(h, m);
    }
    return true;
}

// The screen position of the window's client origin.
POINT client_origin(const WindowModel& w) {
    POINT p{w.rect.left, w.rect.top};
    if (w.kind != ControlKind::Dialog) {
        if (WindowModel* d = core_window(w.parent)) {
            p.x = clamp_long(static_cast<long long>(p.x) + d->rect.left);
            p.y = clamp_long(static_cast<long long>(p.y) + d->rect.top);
        }
    }
    return p;
}

// The whole window on the screen: a dialog's client area with its frame around it, a control's
// rectangle.
RECT window_rect_of(const WindowModel& w) {
    const POINT o = client_origin(w);
    const RECT f = w.kind == ControlKind::Dialog ? w.frame : RECT{};
    return rect_of(static_cast<long long>(o.x) - f.left, static_cast<long long>(o.y) - f.top,
                   static_cast<long long>(w.rect.width()) + f.left + f.right,
                   static_cast<long long>(w.rect.height()) + f.top + f.bottom);
}

// The rectangle a window takes when the whole window is put at x, y with size cx, cy: a
// dialog's client area lies inside its frame.
RECT client_of_window(const WindowModel& w, long long x, long long y, long long cx, long long cy) {
    const RECT f = w.kind == ControlKind::Dialog ? w.frame : RECT{};
    return rect_of(x + f.left, y + f.top, cx - f.left - f.right, cy - f.top - f.bottom);
}
}  // namespace

bool MoveWindow(HWND h, int x, int y, int cx, int cy, bool repaint) {
    (void)repaint;  // every move repaints here
    WindowModel* w = core_window(h);
    if (!w) return false;
    return apply_rect(h, client_of_window(*w, x, y, cx, cy));
}

bool SetWindowPos(HWND h, HWND after, int x, int y, int cx, int cy, UINT flags) {
    WindowModel* w = core_window(h);
    if (!w) return false;
    const RECT r = window_rect_of(*w);
    long long nx = (flags & SWP_NOMOVE) ? r.left : x;
    long long ny = (flags & SWP_NOMOVE) ? r.top : y;
    long long ncx = (flags & SWP_NOSIZE) ? r.width() : cx;
    long long ncy = (flags & SWP_NOSIZE) ? r.height() : cy;
    apply_rect(h, client_of_window(*w, nx, ny, ncx, ncy));
    if (!(flags & SWP_NOZORDER) && (w = core_window(h))) {
        if (after == HWND_TOPMOST)
            w->ex_style |= WS_EX_TOPMOST;
        else if (after == HWND_NOTOPMOST)
            w->ex_style &= ~static_cast<DWORD>(WS_EX_TOPMOST);
        core_sync(h, WindowProp::ZOrder);
    }
    if (flags & SWP_SHOWWINDOW) ShowWindow(h, (flags & SWP_NOACTIVATE) ? SW_SHOWNOACTIVATE : SW_SHOW);
    return IsWindow(h);
}

RECT GetWindowRect(HWND h) {
    WindowModel* w = core_window(h);
    return w ? window_rect_of(*w) : RECT{};
}

RECT GetClientRect(HWND h) {
    WindowModel* w = core_window(h);
    return w ? RECT{0, 0, w->rect.width(), w->rect.height()} : RECT{};
}

POINT ClientToScreen(HWND h, POINT p) {
    WindowModel* w = core_window(h);
    if (!w) return p;
    POINT o = client_origin(*w);
    return POINT{clamp_long(static_cast<long long>(p.x) + o.x), clamp_long(static_cast<long long>(p.y) + o.y)};
}

POINT ScreenToClient(HWND h, POINT p) {
    WindowModel* w = core_window(h);
    if (!w) return p;
    POINT o = client_origin(*w);
    return POINT{clamp_long(static_cast<long long>(p.x) - o.x), clamp_long(static_cast<long long>(p.y) - o.y)};
}

RECT MapDialogRect(HWND dlg, RECT du) {
    WindowModel* d = core_dialog_of(dlg);
    if (!d) return {};
    int pt = points_or_default(d->dialog_font_points);
    return RECT{du_to_px_x(du.left, pt), du_to_px_y(du.top, pt), du_to_px_x(du.right, pt),
                du_to_px_y(du.bottom, pt)};
}

RECT PL_GetWorkArea() { return platform_backend().work_area(); }

// ---- Focus and activation --------------------------------------------------------------------

HWND core_focus(HWND h, WindowProp how) {
    if (!IsWindow(h)) return {};
    HWND previous = GetFocus();
    g_focus = h;
    g_active = core_top_level(h);
    core_sync(h, how);
    return previous;
}

HWND SetFocus(HWND h) { return core_focus(h, WindowProp::Focus); }

HWND GetFocus() { return IsWindow(g_focus) ? g_focus : HWND{}; }
HWND GetActiveWindow() { return IsWindow(g_active) ? g_active : HWND{}; }

bool SetForegroundWindow(HWND h) {
    HWND top = core_top_level(h);
    if (!top) return false;
    g_active = top;
    core_sync(top, WindowProp::ZOrder);
    return true;
}

bool BringWindowToTop(HWND h) {
    if (!IsWindow(h)) return false;
    core_sync(h, WindowProp::ZOrder);
    return true;
}

bool UpdateWindow(HWND h) {
    if (!IsWindow(h)) return false;
    core_sync(h, WindowProp::PaintDue);
    return true;
}

bool InvalidateRect(HWND h, bool erase) {
    (void)erase;
    if (!IsWindow(h)) return false;
    core_sync(h, WindowProp::Repaint);
    return true;
}

// ---- Fonts, colours, icons -----------------------------------------------------------------

HFONT CreateFontIndirectW(const LOGFONTW& f) {
    // Nonsense asks fail, as a font the system cannot make would.
    if (f.face.empty() || f.points < 1 || f.points > 1638 || f.weight < 0 || f.weight > 1000) return {};
    // Fonts are never deleted, so equal requests share one handle.
    for (const auto& [id, font] : g_fonts)
        if (font == f) return HFONT{id};
    HFONT h{g_next_font_id++};
    g_fonts.emplace(h.id, f);
    return h;
}

std::optional<LOGFONTW> PL_GetFontInfo(HFONT f) {
    auto it = g_fonts.find(f.id);
    if (!f || it == g_fonts.end()) return std::nullopt;
    return it->second;
}

void SetWindowFont(HWND h, HFONT f, bool redraw) {
    (void)redraw;
    WindowModel* w = core_window(h);
    if (!w) return;
    w->font = f;
    core_sync(h, WindowProp::Font);
}

HFONT GetWindowFont(HWND h) {
    WindowModel* w = core_window(h);
    return w ? w->font : HFONT{};
}

void PL_SetControlColors(HWND h, std::optional<COLORREF> background, std::optional<COLORREF> text) {
    WindowModel* w = core_window(h);
    if (!w) return;
    w->background = background;
    w->text_color = text;
    core_sync(h, WindowProp::Colors);
}

HICON PL_LoadIconRes(int resource) { return HICON{resource > 0 ? resource : 0}; }
HBITMAP PL_LoadBitmapRes(int resource) { return HBITMAP{resource > 0 ? resource : 0}; }

void PL_SetWindowIcon(HWND h, int which, HICON icon) {
    WindowModel* w = core_window(h);
    if (!w) return;
    (which == ICON_SMALL ? w->icon_small : w->icon_big) = icon;
    core_sync(h, WindowProp::Icon);
}

void DragAcceptFiles(HWND h, bool accept) {
    WindowModel* w = core_window(h);
    if (!w) return;
    w->accept_files = accept;
    core_sync(h, WindowProp::AcceptFiles);
}

// The tip lives with its control; the handle returned names the control.
HWND PL_CreateToolTipFor(HWND dlg, HWND control, std::u16string_view text) {
    WindowModel* w = core_window(control);
    if (!IsWindow(dlg) || !w) return {};
    w->tooltip.assign(text);
    core_sync(control, WindowProp::ToolTip);
    return control;
}

std::u16string PL_GetToolTipText(HWND control) {
    WindowModel* w = core_window(control);
    return w ? w->tooltip : std::u16string{};
}

// ---- List boxes ------------------------------------------------------------------------------

namespace {
WindowModel* list_box(HWND h) {
    WindowModel* w = core_window(h);
    return w && w->kind == ControlKind::ListBox ? w : nullptr;
}
}  // namespace

int ListBox_AddString(HWND lb, std::u16string_view text) {
    WindowModel* w = list_box(lb);
    if (!w) return -1;
    w->items.emplace_back(text);
    w->selected.resize(w->items.size(), false);
    int index = static_cast<int>(w->items.size()) - 1;
    core_sync(lb, WindowProp::ListItems);
    return index;
}

int ListBox_GetCount(HWND lb) {
    WindowModel* w = list_box(lb);
    return w ? static_cast<int>(w->items.size()) : 0;
}

void ListBox_ResetContent(HWND lb) {
    WindowModel* w = list_box(lb);
    if (!w) return;
    w->items.clear();
    w->selected.clear();
    core_sync(lb, WindowProp::ListItems);
}

std::u16string ListBox_GetText(HWND lb, int index) {
    WindowModel* w = list_box(lb);
    if (!w || index < 0 || index >= static_cast<int>(w->items.size())) return {};
    return w->items[static_cast<std::size_t>(index)];
}

int ListBox_GetCurSel(HWND lb) {
    WindowModel* w = list_box(lb);
    if (!w) return -1;
    for (std::size_t i = 0; i < w->selected.size(); ++i)
        if (w->selected[i]) return static_cast<int>(i);
    return -1;
}

void ListBox_SetCurSel(HWND lb, int index) {
    WindowModel* w = list_box(lb);
    if (!w) return;
    w->selected.assign(w->items.size(), false);
    if (index >= 0 && index < static_cast<int>(w->items.size())) w->selected[static_cast<std::size_t>(index)] = true;
    core_sync(lb, WindowProp::ListItems);
}

std::vector<int> ListBox_GetSelItems(HWND lb) {
    std::vector<int> out;
    if (WindowModel* w = list_box(lb))
        for (std::size_t i = 0; i < w->selected.size(); ++i)
            if (w->selected[i]) out.push_back(static_cast<int>(i));
    return out;
}

void ListBox_SetSel(HWND lb, int index, bool selected) {
    WindowModel* w = list_box(lb);
    if (!w) return;
    if (index == -1)
        w->selected.assign(w->items.size(), selected);
    else if (index >= 0 && index < static_cast<int>(w->items.size()))
        w->selected[static_cast<std::size_t>(index)] = selected;
    else
        return;
    core_sync(lb, WindowProp::ListItems);
}

// ---- User data -----------------------------------------------------------------------------

void PL_SetWindowUserData(HWND h, INT_PTR v) {
    if (WindowModel* w = core_window(h)) w->user_data = v;
}

INT_PTR PL_GetWindowUserData(HWND h) {
    WindowModel* w = core_window(h);
    return w ? w->user_data : 0;
}
