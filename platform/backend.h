// The seam between the platform core and its backends (headless, Qt).
//
// The core owns the state of every window, control, panel and menu. A backend shows that state
// (a view per window) and brings the user's actions back into the core through the `platform_`
// entry points at the end of this file, which run the same code paths as the program's own calls
// (so notifications, undo and formats behave the same on both backends).
//
// Only platform/ and the backends include this header; the program uses window.h and richedit.h.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/richedit.h"
#include "platform/richtext.h"
#include "platform/types.h"
#include "platform/window.h"

// ---- What changed in a window (WindowView::sync) ------------------------------------------
enum class WindowProp {
    Text,       // caption or label text
    Enabled,
    Visible,
    Checked,
    Geometry,   // rect
    Font,
    Colors,
    Icon,
    Bitmap,
    Menu,       // the menu bar was attached, detached or changed (DrawMenuBar)
    ListItems,  // list box items or selection
    ZOrder,     // topmost, brought to top, made foreground
    Focus,
    TabFocus,   // the focus moved here by the Tab key: shown with a focus mark, a field's text selected
    ToolTip,
    AcceptFiles,
    Repaint,    // InvalidateRect: the whole window is to be painted again
    PaintDue,   // UpdateWindow: what is waiting to be painted is painted now (nothing else)
};

struct MenuItem;
struct MenuModel;

// One window or control as the core keeps it.
struct WindowModel {
    HWND handle{};
    ControlKind kind = ControlKind::Dialog;
    int id = -1;
    HWND parent{};  // a control's dialog; empty for top-level windows
    HWND owner{};   // a top-level window's owner
    std::vector<HWND> children;  // controls, in creation order
    DLGPROC proc = nullptr;      // dialogs only
    std::u16string text;
    DWORD style = 0;
    DWORD ex_style = 0;
    bool enabled = true;
    bool visible = false;
    bool minimized = false;
    int check = BST_UNCHECKED;
    RECT rect{};  // pixels: the client area on the screen for top-level windows, dialog client for controls
    // Top-level windows: how far the window reaches beyond its client area on each side (left, top,
    // right, bottom), as the backend shows it: the window manager's border and title bar and the
    // menu bar. Zero until the backend reports it (always, in the headless backend).
    RECT frame{};
    HFONT font{};
    std::optional<COLORREF> background, text_color;
    HICON icon_small{}, icon_big{};
    HBITMAP bitmap{};
    HMENU menu{};
    bool accept_files = false;
    std::u16string tooltip;
    std::vector<std::u16string> items;  // list box
    std::vector<bool> selected;         // list box selection
    INT_PTR user_data = 0;
    bool modal = false;                 // a dialog running a modal loop
    bool modal_done = false;
    INT_PTR modal_result = 0;
    int template_id = 0;
    int dialog_font_points = 8;         // for dialog-unit conversion
    std::unique_ptr<RichText> rich;     // rich-edit panels only
    std::unique_ptr<class WindowView> view;  // the backend's view, may be null
};

// The backend's view of one window. The core calls sync() after it changed a property; a rich-edit
// panel's view also hears about text, format and selection changes and owns the scroll position.
class WindowView {
public:
    virtual ~WindowView() = default;
    virtual void sync(WindowProp what) = 0;
    // This view as a rich-edit panel's, or null: asked on every change of a panel's text,
    // selection and scrolling (a report writes thousands of lines), where a dynamic_cast costs
    // a comparison of type names.
    virtual class RichEditView* as_rich_edit() { return nullptr; }
};

class RichEditView : public WindowView {
public:
    RichEditView* as_rich_edit() final { return this; }
    // The model's text changed: `removed` units at `pos` were replaced by `inserted` units.
    virtual void text_replaced(LONG pos, LONG removed, LONG inserted) = 0;
    virtual void formats_changed(LONG from, LONG to) = 0;
    virtual void selection_changed() = 0;
    virtual void options_changed() = 0;  // background, redraw, wrap, read-only, hide selection
    virtual POINT scroll_pos() const = 0;
    virtual void set_scroll_pos(POINT p) = 0;
    virtual void line_scroll(int lines) = 0;
    virtual void scroll_caret() = 0;
    virtual int first_visible_line() const = 0;
    virtual LONG char_from_pos(POINT client) const = 0;
};

// Everything the core asks of the machine.
class Backend {
public:
    virtual ~Backend() = default;
    virtual const char* name() const = 0;

    // Views. May return null (the headless backend keeps no views).
    virtual std::unique_ptr<WindowView> create_view(WindowModel& w) = 0;
    // Called just before a window's model is destroyed (the view is destroyed with it).
    virtual void window_destroyed(WindowModel& w) { (void)w; }

    // Modal interaction
    virtual int message_box(HWND owner, std::u16string_view text, std::u16string_view caption,
                            UINT flags) = 0;
    // Opens the popup and returns the chosen command identifier, 0 for none.
    virtual UINT track_popup_menu(HMENU m, int x, int y, HWND owner) = 0;
    // Runs a nested loop until the dialog's model says modal_done (EndDialog) or it is destroyed.
    virtual void run_modal(HWND dlg) = 0;
    virtual std::optional<std::filesystem::path> file_dialog(bool save, HWND owner,
                                                             std::u16string_view title,
                                                             const std::vector<FileFilter>& filters,
                                                             const std::filesystem::path& start) = 0;
    virtual std::optional<std::filesystem::path> folder_dialog(HWND owner,
                                                               std::u16string_view title) = 0;
    virtual std::optional<LOGFONTW> font_dialog(HWND owner, const LOGFONTW& current) = 0;

    // Clipboard (UTF-16). A change, ours or another program's, must end in
    // platform_clipboard_changed().
    virtual std::optional<std::u16string> clipboard_text() = 0;
    virtual bool set_clipboard_text(std::u16string_view text) = 0;
    virtual bool clear_clipboard() = 0;
    // True while the clipboard holds what this program put there (its own writes, and copies
    // from its panels).
    virtual bool clipboard_owned() = 0;

    // Shell and processes
    virtual bool shell_open(std::string_view path_or_url) = 0;
    virtual bool start_program(const std::filesystem::path& exe,
                               const std::vector<std::string>& args, bool minimized) = 0;
    // A program the program keeps a handle on, so that it can close it later: a handle above 0,
    // 0 when it could not be started. A backend without handles starts it as start_program does
    // and answers -1 (started, nothing to close).
    virtual int start_child(const std::filesystem::path& exe, const std::vector<std::string>& args,
                            bool minimized) {
        return start_program(exe, args, minimized) ? -1 : 0;
    }
    // Asks a program of start_child to close; false when the handle is not one of ours or the
    // program has ended.
    virtual bool close_child(int handle) {
        (void)handle;
        return false;
    }
    virtual bool tray_icon(DWORD op, const NOTIFYICONDATAW& data) = 0;

    // Screen
    virtual RECT work_area() = 0;

    // Clock and loop
    virtual std::int64_t now_us() = 0;
    virtual void sleep_ms(int ms) = 0;
    // Runs until platform_quit_requested(); posted messages are delivered by calling
    // platform_deliver_posted() whenever platform_has_posted() is true.
    virtual int run_loop() = 0;
    // Delivers pending user input and posted messages for at most max_us.
    virtual void pump(std::int64_t max_us) = 0;
    virtual void quit(int code) = 0;
};

// Installs the backend the core uses (the previous one is destroyed together with every window).
void platform_set_backend(std::unique_ptr<Backend> b);
Backend& platform_backend();
// Destroys every window, menu, font and accelerator and empties the message queue (tests call
// this between cases through the headless fixture).
void platform_reset();

// ---- Core access for backends -----------------------------------------------------------------
WindowModel* platform_window(HWND h);  // null for an invalid handle
RichText* platform_rich(HWND h);       // null unless a live rich-edit panel
struct MenuItem {
    UINT id = 0;                 // command identifier (0 for separators and submenus)
    std::u16string text;
    UINT flags = 0;              // MF_ flags: checked, grayed, separator, popup, breaks
    HMENU submenu{};
};
struct MenuModel {
    HMENU handle{};
    bool is_bar = false;
    std::vector<MenuItem> items;
    HWND attached_to{};          // the window whose bar it is
};
MenuModel* platform_menu(HMENU h);
std::vector<ACCEL> platform_accelerators(HACCEL h);
// The accelerator table and target of the running message loop.
HACCEL platform_loop_accelerators();
HWND platform_loop_accelerator_target();

// ---- The user's actions, reported by a backend ----------------------------------------------
// Each runs the core path and returns once the notifications it causes have been handled.
void platform_user_clicked(HWND control);  // buttons (BN_CLICKED) and check boxes (toggle first)
void platform_user_text_edited(HWND re, LONG pos, LONG removed, std::u16string_view inserted);
// A plain edit field (ControlKind::Edit) now holds `text` after the user's editing: the model
// takes it and the dialog receives WM_COMMAND EN_CHANGE (nothing when the text is unchanged).
void platform_user_edit_changed(HWND edit, std::u16string_view text);
void platform_user_selected(HWND re, CHARRANGE sel);
// A mouse message on a panel (client coordinates); returns true when the dialog swallowed it.
bool platform_user_mouse(HWND re, UINT mouse_msg, POINT client, UINT keys);
void platform_user_context_menu(HWND clicked, POINT screen);
void platform_user_dropped(HWND target, std::vector<std::filesystem::path> files, POINT client);
// A key press not consumed by a control: offered to the loop's accelerators. True when used.
bool platform_user_key(WORD vk, BYTE modifiers);
// Enter, Escape or Tab pressed while `focus` (a control or the dialog itself) has the keyboard,
// before the control sees it. In a dialog box (a dialog with a default push button, BS_DEFPUSHBUTTON)
// Enter presses the default button (a focused push button presses itself) unless the focus is a
// multi-line box with ES_WANTRETURN, which takes it; Escape presses the IDCANCEL button, or
// closes the window as its close box does. Tab and Shift+Tab move the focus to the next and the
// previous control with WS_TABSTOP (a box reached so has its whole text selected), never typing a
// tab into a box (Ctrl+Tab, left to the control, does): in a dialog box from every control, in the
// program's other windows from every control but a text panel (a multi-line box with a vertical
// scroll bar), which takes a plain Tab as text. True when the key was used so.
bool platform_user_dialog_key(HWND focus, WORD vk, BYTE modifiers);
void platform_user_menu_command(HWND w, UINT id);  // a menu bar item chosen
void platform_user_list_selection(HWND lb, std::vector<int> selected, bool double_click);
void platform_user_resized(HWND w, RECT screen_rect);  // top-level window moved or resized
// Where a backend shows a top-level window: its client area on the screen and its frame (see
// WindowModel::frame). The procedure gets WM_SIZE when the client area's size changed.
void platform_view_placed(HWND w, RECT client_on_screen, RECT frame);
// The user minimised or restored a top-level window: IsIconic follows, and the procedure gets
// WM_SIZE with SIZE_MINIMIZED or SIZE_RESTORED.
void platform_user_minimized(HWND w, bool minimized);
void platform_user_activated(HWND w, bool active);
void platform_user_close(HWND w);                    // the close box: WM_CLOSE to the procedure
void platform_user_focus(HWND w);
void platform_user_tray(HWND w, UINT id, UINT mouse_msg);
void platform_clipboard_changed();
// Posted messages
bool platform_has_posted();
void platform_deliver_posted();
bool platform_quit_requested();
int platform_quit_code();
