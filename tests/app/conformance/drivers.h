// The person in front of the program, for each backend: the headless driver acts through the
// headless backend's drivers; the Qt driver acts on the real widgets (key events into the text
// edit, mouse clicks on buttons and menus, drop events, the system clipboard) and reads back
// what the widgets show.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/richedit.h"
#include "platform/window.h"

struct BoxSeen {
    std::u16string text;
    std::u16string caption;
    UINT flags = 0;
    int answer = 0;
};

class Driver {
public:
    virtual ~Driver() = default;
    // Installs a fresh backend of this kind (the platform is reset).
    virtual void install() = 0;

    // Keyboard and mouse on a panel: typing at the selection ('\r' is Enter), Backspace,
    // Delete, selecting [from, to) with the keyboard, Ctrl+Z, Ctrl+Y, Ctrl+V.
    virtual void type(HWND re, std::u16string_view text) = 0;
    virtual void backspace(HWND re, int count) = 0;
    virtual void key_delete(HWND re, int count) = 0;
    virtual void select(HWND re, LONG from, LONG to) = 0;
    virtual void undo_key(HWND re) = 0;
    virtual void redo_key(HWND re) = 0;
    virtual void paste(HWND re) = 0;

    virtual void click(HWND control) = 0;
    // Opens the window's menu bar and chooses the item with this command.
    virtual void choose_menu(HWND dlg, UINT id) = 0;
    // A key press while `focus` has the keyboard (letters and digits as virtual keys).
    virtual void press_key(HWND focus, WORD vk, BYTE modifiers) = 0;
    virtual void drop_files(HWND target, const std::vector<std::filesystem::path>& files) = 0;
    virtual void copy_from_outside(std::u16string_view text) = 0;
    virtual void close_box(HWND dlg) = 0;

    // Message boxes: the answers the person will give, and the boxes shown so far.
    virtual void answer_message_boxes(std::vector<int> answers) = 0;
    virtual std::vector<BoxSeen> boxes_seen() = 0;

    // What the person sees.
    virtual std::u16string shown_text(HWND re) = 0;
    virtual CHARRANGE shown_selection(HWND re) = 0;
    virtual std::optional<COLORREF> shown_color(HWND re, LONG pos) = 0;  // nullopt: default colour
    virtual bool shown_bold(HWND re, LONG pos) = 0;
    virtual bool shown_checked(HWND check_box) = 0;
};

std::unique_ptr<Driver> make_headless_driver();
std::unique_ptr<Driver> make_qt_driver();
