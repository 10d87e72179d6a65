// The headless backend: every window lives in memory only; what would need a person is answered
// from queues that the test fills, and recorded. Deterministic: a fake clock that only moves when
// told (or by `sleep_ms`), no real clipboard, shell or processes.
//
// Tests install it with `headless_install()` (which also resets the platform) and drive the
// program's windows with the driver functions below; the drivers go through the same core paths
// as the Qt backend's widgets.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"

struct RecordedMessageBox {
    HWND owner{};
    std::u16string text;
    std::u16string caption;
    UINT flags = 0;
    int answer = 0;
};

struct RecordedPopup {
    HMENU menu{};
    int x = 0, y = 0;
    HWND owner{};
    UINT chosen = 0;
};

struct RecordedProgram {
    std::filesystem::path exe;
    std::vector<std::string> args;
    bool minimized = false;
};

struct RecordedTray {
    DWORD op = 0;
    NOTIFYICONDATAW data;
};

// The state of the headless backend that tests read and fill.
struct HeadlessState {
    // Answers, taken in order; when a queue is empty: message boxes answer IDOK (IDYES for
    // Yes/No boxes is NOT assumed: an empty queue answers IDNO to Yes/No and IDCANCEL to
    // Yes/No/Cancel, so a forgotten answer never confirms a destructive action; OK/Cancel boxes
    // answer IDCANCEL), popups choose nothing, choosers are cancelled. A popup choice that is not
    // an enabled command item of the popup (or of its submenus) chooses nothing, as a click on a
    // greyed item would.
    std::deque<int> message_box_answers;
    std::deque<UINT> popup_choices;
    std::deque<std::optional<std::filesystem::path>> file_dialog_answers;
    std::deque<std::optional<std::filesystem::path>> folder_dialog_answers;
    std::deque<std::optional<LOGFONTW>> font_dialog_answers;
    // Runs when a modal dialog starts its loop; it may click its buttons. When the dialog is
    // still open afterwards it receives WM_CLOSE.
    std::function<void(HWND)> on_modal;
    // Runs once per PL_PumpMessages call (simulates the user acting while a long job pumps).
    std::function<void()> on_pump;
    // Runs once when PL_RunMessageLoop starts, after the messages already posted are delivered: the
    // user's session (it may press accelerators with headless_key, click, close windows). The
    // loop then delivers what was posted and returns the quit code once PostQuitMessage was
    // called, or 0 when nothing is left to deliver (a headless loop never waits).
    std::function<void()> on_loop;

    // Records
    std::vector<RecordedMessageBox> message_boxes;
    std::vector<RecordedPopup> popups;
    std::vector<std::string> shell_opened;  // every address or file the shell was asked to open
    bool shell_open_fails = false;          // the desktop has no program for what is opened
    std::vector<std::filesystem::path> file_dialog_starts;  // where each file dialog started
    std::vector<RecordedProgram> programs_started;
    std::vector<int> programs_closed;  // handles of PL_StartChildProgram (places in programs_started from 1)
    std::vector<RecordedTray> tray_calls;
    std::optional<std::u16string> clipboard;
    int clipboard_writes = 0;
    bool clipboard_from_outside = false;  // the clipboard's text came from another program
    int pump_calls = 0;

    std::int64_t clock_us = 0;
    RECT work_area{0, 0, 1920, 1040};
};

// Installs a fresh headless backend and resets the platform; returns its state.
HeadlessState& headless_install();
HeadlessState& headless();  // the installed backend's state (installs one when none is)

// ---- Drivers -----------------------------------------------------------------------------
void headless_click(HWND control);                              // button or check box
void headless_click(HWND dlg, int control_id);
void headless_type(HWND re, std::u16string_view text);          // types at the selection
void headless_key_delete(HWND re, int count = 1);               // Delete key at the caret/selection
void headless_backspace(HWND re, int count = 1);
void headless_select(HWND re, LONG from, LONG to);              // the user selects
void headless_paste(HWND re);                                   // Ctrl+V from the clipboard
bool headless_mouse(HWND re, UINT mouse_msg, POINT client);     // EN_MSGFILTER path
void headless_context_menu(HWND clicked, POINT screen);
void headless_drop(HWND target, std::vector<std::filesystem::path> files);
bool headless_key(WORD vk, BYTE modifiers);                      // accelerators, then Enter and Escape of a dialog box
void headless_menu(HWND w, UINT id);                             // menu bar item chosen
void headless_list_select(HWND lb, std::vector<int> selected, bool double_click = false);
void headless_resize(HWND w, int width, int height);
void headless_activate(HWND w, bool active = true);
void headless_close(HWND w);                                     // the close box
void headless_copy_from_outside(std::u16string_view text);       // another program copies
void headless_advance_clock(std::int64_t us);
