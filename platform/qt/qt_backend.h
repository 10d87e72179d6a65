// The Qt 6 Widgets backend of the platform stand-in: every window, control, rich-edit panel and
// menu of the platform core is shown by a real widget, and the user's actions on those widgets
// come back into the core through the `platform_user_` entry points.
//
// make_qt_backend() needs a live QApplication; install the result with platform_set_backend().
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"

class QWidget;

std::unique_ptr<Backend> make_qt_backend();

// The widget that shows a window: a dialog's top-level widget, a control's widget (the QTextEdit
// of a rich-edit panel). Null for an invalid handle or when the Qt backend is not installed.
QWidget* qt_widget(HWND w);
// The widget of a dialog that holds its controls (below the menu bar).
QWidget* qt_client_widget(HWND dlg);
// The handle a widget shows (also for a child widget of a control, e.g. a panel's viewport).
HWND qt_handle_of(const QWidget* w);

// ---- Test hooks ------------------------------------------------------------------------------
// With `enabled`, nothing ever waits for a person: message boxes are really built and shown and
// then answered from the queue (an empty queue answers IDOK to an OK box, IDNO to Yes/No and
// IDCANCEL otherwise, so a forgotten answer never confirms anything); popup menus are built and
// the queued command is chosen when the menu holds it enabled (nothing otherwise); choosers are
// answered from their queues (cancelled when empty); modal dialogs run `on_modal` and receive
// WM_CLOSE when still open afterwards; shell "open" is recorded instead of performed.
struct QtMessageBoxRecord {
    HWND owner{};
    std::u16string text;
    std::u16string caption;
    UINT flags = 0;
    int answer = 0;
    std::vector<std::u16string> buttons;  // the labels of the buttons the box really showed
    bool on_top = false;                  // it was made to stand above windows that stay on top
};
struct QtTestAnswers {
    bool enabled = false;
    std::deque<int> message_box_answers;
    std::deque<UINT> popup_choices;
    std::deque<std::optional<std::filesystem::path>> file_dialog_answers;
    std::deque<std::optional<std::filesystem::path>> folder_dialog_answers;
    std::deque<std::optional<LOGFONTW>> font_dialog_answers;
    std::function<void(HWND)> on_modal;

    std::vector<QtMessageBoxRecord> message_boxes;
    std::vector<UINT> popups_chosen;                // what each popup returned
    std::vector<std::vector<UINT>> popups_offered;  // the enabled command ids each popup showed
    std::vector<std::string> shell_opened;
};
QtTestAnswers& qt_test_answers();
// Turns the hooks on or off and empties every queue and record.
void qt_set_test_answers(bool enabled);
