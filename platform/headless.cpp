// The headless backend: windows live only in the core's models, the user's answers come from the
// queues of HeadlessState, and the clock moves only when a test or a sleep moves it. The drivers
// at the end act as the user through the same platform_user_* entry points as the Qt backend.
#include <algorithm>

#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/richtext.h"
#include "platform/window_core.h"

namespace {

template <class T>
std::optional<T> take_front(std::deque<std::optional<T>>& q) {
    if (q.empty()) return std::nullopt;
    std::optional<T> v = std::move(q.front());
    q.pop_front();
    return v;
}

class HeadlessBackend final : public Backend {
public:
    HeadlessState state;

    const char* name() const override { return "headless"; }

    std::unique_ptr<WindowView> create_view(WindowModel& w) override {
        (void)w;
        return nullptr;
    }

    int message_box(HWND owner, std::u16string_view text, std::u16string_view caption, UINT flags) override {
        int answer = IDOK;
        if (!state.message_box_answers.empty()) {
            answer = state.message_box_answers.front();
            state.message_box_answers.pop_front();
        } else {
            // Unanswered boxes never confirm: the safe button of each kind.
            switch (flags & 0x0F) {
                case MB_YESNO: answer = IDNO; break;
                case MB_YESNOCANCEL:
                case MB_OKCANCEL: answer = IDCANCEL; break;
                default: answer = IDOK; break;
            }
        }
        state.message_boxes.push_back(
            RecordedMessageBox{owner, std::u16string(text), std::u16string(caption), flags, answer});
        return answer;
    }

    UINT track_popup_menu(HMENU m, int x, int y, HWND owner) override {
        UINT chosen = 0;
        if (!state.popup_choices.empty()) {
            chosen = state.popup_choices.front();
            state.popup_choices.pop_front();
        }
        if (chosen && !core_menu_has_enabled_command(m, chosen)) chosen = 0;
        state.popups.push_back(RecordedPopup{m, x, y, owner, chosen});
        return chosen;
    }

    void run_modal(HWND dlg) override {
        auto ended = [dlg] {
            WindowModel* w = platform_window(dlg);
            return !w || w->modal_done;
        };
        if (ended()) return;
        if (state.on_modal) {
            auto act = state.on_modal;  // the test may replace it while it runs
            act(dlg);
        }
        if (!ended() && platform_has_posted()) platform_deliver_posted();
        // Nobody is left to press a button: the close box, and when the procedure ignores it,
        // the box ends as cancelled.
        if (!ended()) SendMessageW(dlg, Msg::simple(WM_CLOSE));
        if (!ended()) EndDialog(dlg, IDCANCEL);
    }

    std::optional<std::filesystem::path> file_dialog(bool save, HWND owner, std::u16string_view title,
                                                     const std::vector<FileFilter>& filters,
                                                     const std::filesystem::path& start) override {
        (void)save, (void)owner, (void)title, (void)filters;
        state.file_dialog_starts.push_back(start);
        return take_front(state.file_dialog_answers);
    }

    std::optional<std::filesystem::path> folder_dialog(HWND owner, std::u16string_view title) override {
        (void)owner, (void)title;
        return take_front(state.folder_dialog_answers);
    }

    std::optional<LOGFONTW> font_dialog(HWND owner, const LOGFONTW& current) override {
        (void)owner, (void)current;
        return take_front(state.font_dialog_answers);
    }

    std::optional<std::u16string> clipboard_text() override { return state.clipboard; }

    bool clipboard_owned() override { return state.clipboard && !state.clipboard_from_outside; }

    bool set_clipboard_text(std::u16string_view text) override {
        state.clipboard_from_outside = false;
        state.clipboard = std::u16string(text);
        ++state.clipboard_writes;
        platform_clipboard_changed();
        return true;
    }

    bool clear_clipboard() override {
        state.clipboard.reset();
        platform_clipboard_changed();
        return true;
    }

    bool shell_open(std::string_view path_or_url) override {
        state.shell_opened.emplace_back(path_or_url);
        return !state.shell_open_fails;
    }

    bool start_program(const std::filesystem::path& exe, const std::vector<std::string>& args,
                       bool minimized) override {
        state.programs_started.push_back(RecordedProgram{exe, args, minimized});
        return true;
    }

    // The handle of a child is its place in programs_started, counted from 1; it runs until
    // closed.
    int start_child(const std::filesystem::path& exe, const std::vector<std::string>& args,
                    bool minimized) override {
        start_program(exe, args, minimized);
        return static_cast<int>(state.programs_started.size());
    }

    bool close_child(int handle) override {
        if (handle <= 0 || static_cast<std::size_t>(handle) > state.programs_started.size()) return false;
        for (int h : state.programs_closed)
            if (h == handle) return false;
        state.programs_closed.push_back(handle);
        return true;
    }

    bool tray_icon(DWORD op, const NOTIFYICONDATAW& data) override {
        state.tray_calls.push_back(RecordedTray{op, data});
        return true;
    }

    RECT work_area() override { return state.work_area; }
    std::int64_t now_us() override { return state.clock_us; }
    void sleep_ms(int ms) override {
        if (ms > 0) state.clock_us += static_cast<std::int64_t>(ms) * 1000;
    }

    int run_loop() override {
        deliver_until_quit();
        if (!platform_quit_requested() && state.on_loop) {
            auto session = state.on_loop;
            session();
            deliver_until_quit();
        }
        return platform_quit_requested() ? platform_quit_code() : 0;
    }

    void pump(std::int64_t max_us) override {
        (void)max_us;  // the fake clock does not run by itself: one round is all there is
        ++state.pump_calls;
        if (state.on_pump) {
            auto act = state.on_pump;
            act();
        }
        if (platform_has_posted()) platform_deliver_posted();
    }

    void quit(int code) override { (void)code; }

private:
    static void deliver_until_quit() {
        while (platform_has_posted() && !platform_quit_requested()) platform_deliver_posted();
    }
};

HeadlessBackend* installed() { return dynamic_cast<HeadlessBackend*>(g_backend.get()); }

// One edit of a panel as the user's keyboard makes it.
void user_edit(HWND re, LONG pos, LONG removed, std::u16string_view inserted) {
    platform_user_text_edited(re, pos, removed, inserted);
}

CHARRANGE ordered_selection(HWND re) {
    CHARRANGE s = RE_GetSel(re);
    if (s.cpMin > s.cpMax) std::swap(s.cpMin, s.cpMax);
    return s;
}

bool is_high(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool is_edit_field(HWND h) {
    WindowModel* w = platform_window(h);
    return w && w->kind == ControlKind::Edit;
}

}  // namespace

std::unique_ptr<Backend> headless_make_backend() { return std::make_unique<HeadlessBackend>(); }

HeadlessState& headless_install() {
    auto b = std::make_unique<HeadlessBackend>();
    HeadlessState& s = b->state;
    platform_set_backend(std::move(b));
    return s;
}

HeadlessState& headless() {
    if (HeadlessBackend* b = installed()) return b->state;
    return headless_install();
}

// ---- Drivers -----------------------------------------------------------------------------

void headless_click(HWND control) { platform_user_clicked(control); }
void headless_click(HWND dlg, int control_id) { platform_user_clicked(GetDlgItem(dlg, control_id)); }

void headless_type(HWND re, std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        // One key press per character: Enter (CR, LF or CR LF) makes one '\r', and a surrogate
        // pair is one character.
        std::u16string ch;
        char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            ch = u"\r";
            i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
        } else if (is_high(c) && i + 1 < text.size() && is_low(text[i + 1])) {
            ch = text.substr(i, 2);
            i += 2;
        } else {
            ch = c;
            ++i;
        }
        if (is_edit_field(re)) {
            platform_user_edit_changed(re, GetWindowTextW(re) + ch);  // typed at the end
            continue;
        }
        if (!platform_rich(re)) return;
        CHARRANGE s = ordered_selection(re);
        user_edit(re, s.cpMin, s.cpMax - s.cpMin, ch);
    }
}

void headless_key_delete(HWND re, int count) {
    for (int k = 0; k < count; ++k) {
        RichText* r = platform_rich(re);
        if (!r) return;
        CHARRANGE s = ordered_selection(re);
        if (s.cpMin != s.cpMax) {
            user_edit(re, s.cpMin, s.cpMax - s.cpMin, u"");
            continue;
        }
        const std::u16string& t = r->text();
        if (s.cpMin < 0 || static_cast<std::size_t>(s.cpMin) >= t.size()) return;
        std::size_t at = static_cast<std::size_t>(s.cpMin);
        LONG n = (is_high(t[at]) && at + 1 < t.size() && is_low(t[at + 1])) ? 2 : 1;
        user_edit(re, s.cpMin, n, u"");
    }
}

void headless_backspace(HWND re, int count) {
    for (int k = 0; k < count; ++k) {
        RichText* r = platform_rich(re);
        if (!r) return;
        CHARRANGE s = ordered_selection(re);
        if (s.cpMin != s.cpMax) {
            user_edit(re, s.cpMin, s.cpMax - s.cpMin, u"");
            continue;
        }
        const std::u16string& t = r->text();
        if (s.cpMin <= 0 || static_cast<std::size_t>(s.cpMin) > t.size()) return;
        std::size_t at = static_cast<std::size_t>(s.cpMin);
        LONG n = (at >= 2 && is_low(t[at - 1]) && is_high(t[at - 2])) ? 2 : 1;
        user_edit(re, s.cpMin - n, n, u"");
    }
}

void headless_select(HWND re, LONG from, LONG to) { platform_user_selected(re, CHARRANGE{from, to}); }

void headless_paste(HWND re) {
    std::optional<std::u16string> t = PL_GetClipboardTextW();
    if (!t || t->empty()) return;
    if (is_edit_field(re)) {
        platform_user_edit_changed(re, GetWindowTextW(re) + *t);
        return;
    }
    if (!platform_rich(re)) return;
    CHARRANGE s = ordered_selection(re);
    user_edit(re, s.cpMin, s.cpMax - s.cpMin, normalize_line_ends(*t));
}

bool headless_mouse(HWND re, UINT mouse_msg, POINT client) {
    // The button that is down while the message happens (MK_LBUTTON, MK_RBUTTON).
    UINT keys = 0;
    if (mouse_msg == WM_LBUTTONDOWN || mouse_msg == WM_LBUTTONDBLCLK) keys = 0x0001;
    if (mouse_msg == WM_RBUTTONDOWN) keys = 0x0002;
    return platform_user_mouse(re, mouse_msg, client, keys);
}

void headless_context_menu(HWND clicked, POINT screen) { platform_user_context_menu(clicked, screen); }

void headless_drop(HWND target, std::vector<std::filesystem::path> files) {
    RECT c = GetClientRect(target);
    platform_user_dropped(target, std::move(files), POINT{c.right / 2, c.bottom / 2});
}

bool headless_key(WORD vk, BYTE modifiers) {
    return platform_user_key(vk, modifiers) || platform_user_dialog_key(GetFocus(), vk, modifiers);
}
void headless_menu(HWND w, UINT id) { platform_user_menu_command(w, id); }

void headless_list_select(HWND lb, std::vector<int> selected, bool double_click) {
    platform_user_list_selection(lb, std::move(selected), double_click);
}

void headless_resize(HWND w, int width, int height) {
    const POINT o = ClientToScreen(w, POINT{});
    platform_user_resized(w, RECT{o.x, o.y, o.x + std::max(0, width), o.y + std::max(0, height)});
}

void headless_activate(HWND w, bool active) {
    HWND top = core_top_level(w);
    if (!top) return;
    if (active) {
        // The window that loses the activation hears of it first, as on a desktop.
        HWND previous = GetActiveWindow();
        if (previous && previous != top) platform_user_activated(previous, false);
    }
    platform_user_activated(top, active);
}

void headless_close(HWND w) { platform_user_close(w); }

void headless_copy_from_outside(std::u16string_view text) {
    if (auto nul = text.find(u'\0'); nul != std::u16string_view::npos) text = text.substr(0, nul);
    headless().clipboard = std::u16string(text);
    headless().clipboard_from_outside = true;
    platform_clipboard_changed();
}

void headless_advance_clock(std::int64_t us) {
    if (us > 0) headless().clock_us += us;
}
