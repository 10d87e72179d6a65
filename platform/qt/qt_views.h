// The views of the Qt backend: one per window of the platform core. A dialog is a top-level
// widget with an optional menu bar above its client area; its controls are child widgets of the
// client area, placed at their pixel rectangles. Rich-edit panels live in qt_richedit.h.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/backend.h"

class QMenuBar;
class QMenu;

// Marks a widget with the handle it shows, so that events on it (and on its children) can be
// traced back to the core's window.
void set_widget_handle(QWidget* w, HWND h);

// Guards against echoes: while the backend applies the core's state to widgets, the signals and
// events those changes cause are not reported back as the user's actions.
struct SyncGuard {
    SyncGuard();
    ~SyncGuard();
    SyncGuard(const SyncGuard&) = delete;
    SyncGuard& operator=(const SyncGuard&) = delete;
};
bool qt_syncing();

// The base of every view: owns its widget (which Qt may already have deleted with its parent).
class QtView : public WindowView {
public:
    explicit QtView(HWND h) : h_(h) {}
    ~QtView() override;
    QWidget* widget() const { return w_; }
    HWND handle() const { return h_; }

protected:
    void apply_common(WindowProp what);  // enabled, visible, geometry, font, tooltip, ...
    HWND h_;
    QPointer<QWidget> w_;
};

// The client area of a dialog: the surface controls sit on; the dialog's own mouse messages,
// context menu and dropped files come from here.
class ClientArea : public QWidget {
public:
    ClientArea(HWND dlg, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    bool send_mouse(QMouseEvent* e, UINT msg);
    HWND dlg_;
};

// A dialog: a top-level widget. The close box, moves and resizes, and activation go to the core.
class DialogWidget : public QWidget {
public:
    explicit DialogWidget(HWND h);
    HWND handle() const { return h_; }
    ClientArea* client() const { return client_; }
    QMenuBar* menu_bar() const { return bar_; }
    int menu_height() const;
    // Places the window so that its client area has the model's size and the whole window, frame
    // included, the model's outer corner; then tells the model where Qt shows it.
    void apply_model_geometry();
    // Tells the model where the client area is on the screen and how far the frame (the desktop's
    // border and title bar, the menu bar) reaches round it, when that changed.
    void note_placement();
    void rebuild_menu_bar();
    void apply_topmost();
    // UpdateWindow. A window shown a moment ago is given the short while the display needs to map
    // it (the user's input waits) and painted at once, so that a window shown just before a long
    // piece of work that runs no message loop, such as the splash, is on the screen during it.
    void paint_now();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void layout_children();
    void report_geometry();
    // Where the window is now: its client area on the screen and the frame round it (the
    // desktop's border and title bar, the menu bar), as WindowModel keeps them.
    void placement(RECT& client, RECT& frame) const;
    HWND h_;
    ClientArea* client_;
    QMenuBar* bar_ = nullptr;
    bool topmost_ = false;
    bool first_paint_pending_ = false;  // shown, and not yet painted by paint_now() since
};

class DialogView : public QtView {
public:
    explicit DialogView(WindowModel& m);
    void sync(WindowProp what) override;
    DialogWidget* dialog() const;
};

// Buttons, check boxes, labels, group boxes, pictures, list boxes and edit fields.
class ControlView : public QtView {
public:
    ControlView(WindowModel& m, QWidget* parent);
    void sync(WindowProp what) override;

private:
    void apply_text();
    void apply_bitmap();
    void apply_items();
    void apply_colors();
    ControlKind kind_;
};

// Fills a Qt menu from a core menu, submenus included. Chosen command items call `chosen` with
// their identifier; each action carries its identifier as data.
void fill_menu(QMenu* qm, HMENU m, const std::function<void(UINT)>& chosen);
// The label of a menu item as Qt shows it ('\t' separates the shortcut text column).
QString menu_label(const MenuItem& item, bool in_bar);
