// Pieces of the Qt backend that its source files share.
#pragma once

#include <QPoint>

#include "platform/backend.h"

class QDropEvent;
class QMimeData;
class QMouseEvent;
class QWidget;

// The mouse message and key state (MK_ bits) of a Qt mouse event; 0 when it has none.
UINT qt_mouse_message(const QMouseEvent* e, UINT* keys);
// Whether the drag carries local files (and nothing else).
bool qt_is_file_drag(const QMimeData* md);
// Whether files dropped on the window are taken (by it or by its dialog).
bool qt_accepts_files(HWND h);
// Accepts a drag of local files over `h` when it takes files; on the drop itself reports the
// files to the core. False when the drag is not for us (the widget handles it as usual).
bool qt_handle_drag(HWND h, QDropEvent* e, bool drop, QPoint client);
// The core gave `w` the focus (`how` is WindowProp::Focus or TabFocus): its window becomes the
// active one. A focus the Tab key moved is marked, and a field reached so has its text selected.
void qt_take_focus(QWidget* w, WindowProp how);
// A window was shown, hidden or destroyed: nested modal loops look whether they are done.
void qt_window_state_changed();

// Whether a job is pumping messages while it works (the events being handled come from its pump).
bool qt_pumping();
// The rich-edit panels whose gathered changes waited for the job's pump to end ask again.
void qt_panels_after_pump();
