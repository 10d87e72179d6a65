// shell/ui_services.h - services of the windows: controls fetched by identifier, tool tips, the
// message pump of long jobs, bringing a window to the front, the shared rich-edit popup menu and
// its commands, the right-click hit tests, and closing an external program by name.
#pragma once

#include <string_view>

#include "platform/richedit.h"
#include "platform/window.h"

// The control `id` of the dialog. When there is none, a message box owned by the main window
// shows "Creating handle of %s failed, error code: %d" (the control's name and the error code:
// 1400 for a dialog that does not exist, 1421 for an identifier the dialog has no control for)
// under "Oops!", and the result is null; every later call on that null handle does nothing.
HWND JUX_GetDlgItem(HWND dlg, int id, std::string_view name);
inline constexpr int ERROR_INVALID_WINDOW_HANDLE = 1400;
inline constexpr int ERROR_CONTROL_ID_NOT_FOUND = 1421;

// Opens a web address or a file (a help page, a page image, a sound clip) with the desktop's program for it. When the desktop
// cannot (no browser, no program for the file), says so naming the address: an "Oops!" box owned
// by the main window. True when it was opened.
bool open_with_desktop(std::string_view address);

// Gives control `id` of the dialog the tool tip `text`. 1 when done; 0 when the dialog or the
// control does not exist or the text is empty.
int CreateToolTipW(int id, HWND dlg, std::u16string_view text);

// The message pump that long jobs call between steps: delivers the pending messages and user
// input for at most 10,000 microseconds of the clock (no accelerators) and returns at once when
// nothing is pending. A job that may be asked to start again while it pumps must guard itself.
inline constexpr std::int64_t UNFREEZE_US = 10'000;
void unfreeze();

// While a long job works on a panel the user may type into, it selects ranges of that panel to
// colour them. For the time it lives, this guard makes every unfreeze give the panel the user's
// own selection and scroll position before it delivers input, and keep what the user did with them
// afterwards (the job's own selection is put back), so keys typed during a pump land at the user's
// caret and never on a range the job had selected. `sel` and `scroll` hold the user's view and
// are kept up to date by the pumps. A job whose caller parks the keyboard focus on a stand-in
// window while it works (the status line) names it: when that window has the focus at a pump, the
// panel takes the focus for the pump and gives it back after it, so keys typed meanwhile go into
// the panel instead of being lost on a window that takes no keys.
class UserViewDuringPumps {
public:
    UserViewDuringPumps(HWND panel, CHARRANGE& sel, POINT& scroll, HWND focus_stand_in = {});
    ~UserViewDuringPumps();
    UserViewDuringPumps(const UserViewDuringPumps&) = delete;
    UserViewDuringPumps& operator=(const UserViewDuringPumps&) = delete;
    // Whether the user changed the panel's text at one of the pumps (its notifications may be off
    // while the job works: the job then knows its text is out of date).
    bool user_edited() const { return edited_; }

private:
    friend void unfreeze();
    HWND panel_;
    HWND focus_stand_in_;
    CHARRANGE& sel_;
    POINT& scroll_;
    UserViewDuringPumps* outer_;
    bool edited_ = false;
};

// Restores and shows the window and makes it the foreground window.
void PopupMain(HWND w);

// Adds the main window's notification-area icon (identifier 115, icon hicon32, messages to the
// main window): gl_icon_exists becomes 1 when the shell took it. Returns gl_icon_exists.
int add_tray_icon();

// Builds the shared rich-edit popup menu hMenuPopupAll (once; later calls keep the first menu and
// return it): the rich-edit commands 8084 to 8101 of resources/, then the audio item 8200 when
// an audio index is loaded, then 8201 "Show Big".
HMENU build_popup_all(bool audio_index_loaded);

// Carries out a command of the shared rich-edit popup menu on the focus pane hReFocus; other
// identifiers (and 8084 to 8101 that have no command) are ignored. Returns 1 when the command
// was one of the popup's, 0 when it was ignored.
//   8084 cut, 8085 copy, 8086 paste, 8087 delete the selection; 8088 select all; 8089 copy the
//   whole text; 8090 empty the panel (undoable); 8091 choose the panel's font, 8092 / 8093 the
//   font one point larger / smaller (6 to 72 points); 8094 word wrap on or off; 8100 undo;
//   8101 redo. Copies put the text on the clipboard with CR LF line ends, without a length limit.
int ContextMenu(UINT id);

// Right-click hit tests of WM_CONTEXTMENU (x, y: the screen point).
// When the point lies in the panel's client area (its visibility is not tested): the panel
// becomes hReFocus, the popup opens at the point for the dialog (in the shared popup the undo and
// redo items are enabled only when the panel can undo / redo, and word wrap carries its check
// mark) and the result is 1; the chosen command reaches the dialog as WM_COMMAND. Else 0.
int IsThisRETheContext(HWND dlg, HWND re, HMENU menu, int x, int y);
// When the control is visible and the point lies in its client area: hReFocus is copied into
// hReFocusPrev, and the control becomes hReFocus when it is a rich-edit panel, else it is kept in
// hReRightClicked (hReFocus stays a panel); the result is 1. Else 0. No menu.
int IsThisRETheContextNoMenu(HWND dlg, HWND control, int x, int y);

// Asks every running process of the user whose executable name equals `name` (without regard to
// case) to close; the program's own process is never asked. 1 when one was found, 0 when none
// was. The platform's process list can always be read, so the codes 605 to 607 of an unreadable
// list do not occur.
int kill_proc_by_name(std::string_view name);
