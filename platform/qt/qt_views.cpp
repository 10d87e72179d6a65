#include "platform/qt/qt_views.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QThread>
#include <QUrl>
#include <QWindow>

#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_internal.h"
#include "platform/qt/qt_support.h"

namespace {

int g_sync_depth = 0;  // SyncGuard nesting: the backend is applying the core's state

const char* const kHandleProperty = "jux_hwnd";

}  // namespace

bool qt_is_file_drag(const QMimeData* md) {
    if (!md || !md->hasUrls()) return false;
    const QList<QUrl> urls = md->urls();
    if (urls.isEmpty()) return false;
    for (const QUrl& u : urls)
        if (!u.isLocalFile()) return false;
    return true;
}

namespace {

std::vector<std::filesystem::path> files_of(const QMimeData* md) {
    std::vector<std::filesystem::path> out;
    for (const QUrl& u : md->urls())
        if (u.isLocalFile()) out.emplace_back(u.toLocalFile().toStdU16String());
    return out;
}

UINT mouse_keys(const QMouseEvent* e) {
    UINT k = 0;
    const Qt::MouseButtons b = e->buttons();
    if (b & Qt::LeftButton) k |= MK_LBUTTON;
    if (b & Qt::RightButton) k |= MK_RBUTTON;
    if (b & Qt::MiddleButton) k |= MK_MBUTTON;
    if (e->modifiers() & Qt::ShiftModifier) k |= MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

}  // namespace

// ---- Shared helpers --------------------------------------------------------------------------

SyncGuard::SyncGuard() { ++g_sync_depth; }
SyncGuard::~SyncGuard() { --g_sync_depth; }
bool qt_syncing() { return g_sync_depth > 0; }

void set_widget_handle(QWidget* w, HWND h) { w->setProperty(kHandleProperty, QVariant::fromValue<uint>(h.id)); }

HWND qt_handle_of(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        const QVariant v = w->property(kHandleProperty);
        if (v.isValid()) return HWND{v.toUInt()};
    }
    return {};
}

UINT qt_mouse_message(const QMouseEvent* e, UINT* keys) {
    *keys = mouse_keys(e);
    const bool dbl = e->type() == QEvent::MouseButtonDblClick;
    switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (e->button() == Qt::LeftButton) return dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
            if (e->button() == Qt::RightButton) return dbl ? UINT{WM_RBUTTONDBLCLK_} : UINT{WM_RBUTTONDOWN};
            if (e->button() == Qt::MiddleButton) return dbl ? WM_MBUTTONDBLCLK_ : WM_MBUTTONDOWN_;
            return 0;
        case QEvent::MouseButtonRelease:
            if (e->button() == Qt::LeftButton) return WM_LBUTTONUP;
            if (e->button() == Qt::RightButton) return WM_RBUTTONUP;
            if (e->button() == Qt::MiddleButton) return WM_MBUTTONUP_;
            return 0;
        case QEvent::MouseMove:
            return WM_MOUSEMOVE;
        default:
            return 0;
    }
}

bool qt_accepts_files(HWND h) {
    // A drop goes to the window under the cursor when it accepts files, else to its dialog.
    WindowModel* w = platform_window(h);
    if (!w) return false;
    if (w->accept_files) return true;
    WindowModel* d = w->kind == ControlKind::Dialog ? nullptr : platform_window(w->parent);
    return d && d->accept_files;
}

bool qt_handle_drag(HWND h, QDropEvent* e, bool drop, QPoint client) {
    if (!qt_is_file_drag(e->mimeData()) || !qt_accepts_files(h)) return false;
    e->setDropAction(Qt::CopyAction);
    e->accept();
    if (drop && !qt_syncing()) {
        WindowModel* w = platform_window(h);
        HWND target = (w && !w->accept_files && w->kind != ControlKind::Dialog) ? w->parent : h;
        platform_user_dropped(target, files_of(e->mimeData()), POINT{client.x(), client.y()});
    }
    return true;
}

void qt_take_focus(QWidget* w, WindowProp how) {
    QWidget* window = w->window();
    window->activateWindow();
    if (how != WindowProp::TabFocus) {
        w->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The styles draw the focus mark only in a window where the keyboard has moved the focus: Qt
    // sets that for the Tab its own focus chain takes, which the core's Tab order replaces.
    window->setAttribute(Qt::WA_KeyboardFocusChange);
    w->setFocus(Qt::TabFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
    if (auto* e = qobject_cast<QPlainTextEdit*>(w)) e->selectAll();
    w->update();
}

// ---- QtView ----------------------------------------------------------------------------------

QtView::~QtView() {
    if (!w_) return;
    SyncGuard guard;  // hiding moves focus and activation: not the user's doing
    w_->hide();
    // The widget may be in the middle of one of its own event handlers (a click that closed
    // the window): Qt deletes it once control is back in the event loop.
    if (QCoreApplication::instance()) w_->deleteLater();
}

void QtView::apply_common(WindowProp what) {
    WindowModel* m = platform_window(h_);
    if (!m || !w_) return;
    SyncGuard guard;
    switch (what) {
        case WindowProp::Enabled: w_->setEnabled(m->enabled); break;
        case WindowProp::Visible: w_->setVisible(m->visible); break;
        case WindowProp::Geometry:
            w_->setGeometry(m->rect.left, m->rect.top, std::max(0, m->rect.width()), std::max(0, m->rect.height()));
            break;
        case WindowProp::Font:
            if (auto f = PL_GetFontInfo(m->font))
                w_->setFont(control_font(*f));
            else
                w_->setFont(dialog_font(m->dialog_font_points));
            break;
        case WindowProp::ToolTip: w_->setToolTip(to_qstring(m->tooltip)); break;
        case WindowProp::Focus:
        case WindowProp::TabFocus: qt_take_focus(w_, what); break;
        case WindowProp::Repaint: w_->update(); break;
        default: break;
    }
}

// ---- ClientArea --------------------------------------------------------------------------

ClientArea::ClientArea(HWND dlg, QWidget* parent) : QWidget(parent), dlg_(dlg) {
    set_widget_handle(this, dlg);
    // The right button's release opens the context menu, after the dialog saw the release.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

bool ClientArea::send_mouse(QMouseEvent* e, UINT msg) {
    if (qt_syncing() || !msg) return false;
    UINT keys = 0;
    qt_mouse_message(e, &keys);
    Msg m = Msg::simple(msg);
    m.pt = POINT{static_cast<LONG>(e->position().x()), static_cast<LONG>(e->position().y())};
    m.keys = keys;
    return SendMessageW(dlg_, m) != 0;
}

void ClientArea::mousePressEvent(QMouseEvent* e) {
    UINT keys = 0;
    send_mouse(e, qt_mouse_message(e, &keys));
}

void ClientArea::mouseReleaseEvent(QMouseEvent* e) {
    UINT keys = 0;
    const UINT msg = qt_mouse_message(e, &keys);
    const HWND dlg = dlg_;
    const QPoint global = e->globalPosition().toPoint();
    const bool handled = send_mouse(e, msg);
    if (msg == WM_RBUTTONUP && !handled && IsWindow(dlg) && !qt_syncing())
        platform_user_context_menu(dlg, POINT{global.x(), global.y()});
}

void ClientArea::mouseDoubleClickEvent(QMouseEvent* e) {
    UINT keys = 0;
    send_mouse(e, qt_mouse_message(e, &keys));
}

void ClientArea::dragEnterEvent(QDragEnterEvent* e) {
    if (!qt_handle_drag(dlg_, e, false, e->position().toPoint())) e->ignore();
}

void ClientArea::dragMoveEvent(QDragMoveEvent* e) {
    if (!qt_handle_drag(dlg_, e, false, e->position().toPoint())) e->ignore();
}

void ClientArea::dropEvent(QDropEvent* e) {
    if (!qt_handle_drag(dlg_, e, true, e->position().toPoint())) e->ignore();
}

// ---- DialogWidget ------------------------------------------------------------------------

DialogWidget::DialogWidget(HWND h) : QWidget(nullptr, Qt::Window), h_(h) {
    set_widget_handle(this, h);
    setAttribute(Qt::WA_DeleteOnClose, false);
    client_ = new ClientArea(h, this);
    client_->setAutoFillBackground(true);
    WindowModel* m = platform_window(h);
    const DWORD style = m ? m->style : 0;
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        flags |= Qt::WindowTitleHint;
        if (style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
        if (style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
    } else {
        flags |= Qt::FramelessWindowHint;
    }
    topmost_ = m && (m->ex_style & WS_EX_TOPMOST);
    if (topmost_) flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    if (m && m->modal) setWindowModality(Qt::ApplicationModal);
}

int DialogWidget::menu_height() const {
    return bar_ ? std::max(bar_->sizeHint().height(), bar_->heightForWidth(std::max(1, width()))) : 0;
}

void DialogWidget::layout_children() {
    const int mh = menu_height();
    if (bar_) bar_->setGeometry(0, 0, width(), mh);
    client_->setGeometry(0, mh, width(), std::max(0, height() - mh));
}

void DialogWidget::apply_model_geometry() {
    WindowModel* m = platform_window(h_);
    if (!m) return;
    // The outer corner is reckoned with the frame the window has now: the desktop may have framed
    // it since the model last heard where it is (a title bar given after the window showed), and
    // the frame of then would move the window by the difference.
    if (isVisible()) {
        RECT client{}, frame{};
        placement(client, frame);
        if (frame != m->frame) platform_view_placed(h_, m->rect, frame);
        if (!(m = platform_window(h_))) return;
    }
    {
        SyncGuard guard;
        const int w = std::max(1, m->rect.width());
        const int h = std::max(1, m->rect.height() + menu_height());
        if (m->style & WS_THICKFRAME) {
            setMinimumSize(0, 0);
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            resize(w, h);
        } else {
            setFixedSize(w, h);  // no sizing border: the user cannot resize it
        }
        // The whole window goes where the model has it, by its outer corner: the desktop puts the
        // client area inside whatever frame it gives the window.
        const RECT outer = GetWindowRect(h_);
        move(outer.left, outer.top);
        layout_children();
    }
    note_placement();
}

namespace {

// The desktop's frame round a window with a title bar, from another of the program's windows
// that the desktop shows with one (it gives them all the same); none when there is no such window.
QMargins decorations_like(const QWidget* self) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const QRect g = w->geometry(), f = w->frameGeometry();
        if (w != self && w->isVisible() && dynamic_cast<DialogWidget*>(w) && g != f &&
            !(w->windowFlags() & Qt::FramelessWindowHint))
            return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
    }
    return {};
}

}  // namespace

void DialogWidget::placement(RECT& client, RECT& frame) const {
    const QRect g = geometry();        // the window without the desktop's frame, on the screen
    QRect fg = frameGeometry();        // and with it
    QPoint client_at = g.topLeft() + client_->pos();
    if (fg == g && !isVisible() && !(windowFlags() & Qt::FramelessWindowHint)) {
        // Never framed yet: Qt holds the window by the corner of the frame to come, and the
        // desktop will give it the frame it gives the program's other windows. Reckoned so, a
        // window placed by its whole size before it is shown shows where it was put.
        const QMargins m = decorations_like(this);
        fg = QRect(g.topLeft(), g.size().grownBy(m));
        client_at += QPoint(m.left(), m.top());
    }
    const QRect c(client_at, client_->size());
    client = RECT{c.left(), c.top(), c.left() + c.width(), c.top() + c.height()};
    frame = RECT{c.left() - fg.left(), c.top() - fg.top(), fg.left() + fg.width() - client.right,
                 fg.top() + fg.height() - client.bottom};
}

void DialogWidget::note_placement() {
    WindowModel* m = platform_window(h_);
    if (!m) return;
    RECT client{}, frame{};
    placement(client, frame);
    if (client != m->rect || frame != m->frame) platform_view_placed(h_, client, frame);
}

void DialogWidget::report_geometry() {
    if (qt_syncing() || !isVisible()) return;
    note_placement();
}

void DialogWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layout_children();
    report_geometry();
}

void DialogWidget::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    report_geometry();
}

void DialogWidget::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    first_paint_pending_ = true;
}

void DialogWidget::paint_now() {
    // A window on the screen already has its changed parts painted by the next pass of the message
    // loop, which the long pieces of work run after each UpdateWindow: nothing more is marked (a
    // run's pumps would otherwise paint the whole window each time).
    if (!isVisible() || !first_paint_pending_) return;
    QPointer<DialogWidget> alive(this);
    auto exposed = [&] { return !alive || !alive->windowHandle() || alive->windowHandle()->isExposed(); };
    if (!exposed() && !isMinimized()) {
        constexpr qint64 kMapWaitMs = 500;  // at most, for a display that is slow to answer
        QElapsedTimer waited;
        waited.start();
        while (!exposed() && waited.elapsed() < kMapWaitMs) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            if (!exposed()) QThread::msleep(2);
        }
        if (!alive) return;
    }
    first_paint_pending_ = false;
    repaint();
}

void DialogWidget::closeEvent(QCloseEvent* e) {
    // The procedure decides: WM_CLOSE goes to it, and it destroys or hides the window.
    e->ignore();
    if (!qt_syncing()) platform_user_close(h_);
}

void DialogWidget::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && !qt_syncing()) {
        WindowModel* m = platform_window(h_);
        if (m && m->visible) platform_user_activated(h_, isActiveWindow());
    } else if (e->type() == QEvent::WindowStateChange && !qt_syncing()) {
        platform_user_minimized(h_, isMinimized());
    }
}

void DialogWidget::apply_topmost() {
    WindowModel* m = platform_window(h_);
    if (!m) return;
    const bool want = (m->ex_style & WS_EX_TOPMOST) != 0;
    if (want == topmost_) return;
    topmost_ = want;
    SyncGuard guard;
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, want);  // hides the window
    if (shown) show();
}

QString menu_label(const MenuItem& item, bool in_bar) {
    QString s = to_qstring(item.text);
    if (in_bar) {
        const qsizetype tab = s.indexOf(QLatin1Char('\t'));
        if (tab >= 0) s.truncate(tab);
    }
    return s;
}

void fill_menu(QMenu* qm, HMENU m, const std::function<void(UINT)>& chosen) {
    for (QMenu* sub : qm->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) sub->deleteLater();
    qm->clear();
    const MenuModel* mm = platform_menu(m);
    if (!mm) return;
    const std::vector<MenuItem> items = mm->items;  // a copy: choosing may change the menu
    for (const MenuItem& it : items) {
        const bool enabled = !(it.flags & (MF_GRAYED | MF_DISABLED));
        if (it.flags & MF_SEPARATOR) {
            qm->addSeparator();
        } else if (it.flags & MF_POPUP) {
            QMenu* sub = qm->addMenu(menu_label(it, false));
            sub->menuAction()->setEnabled(enabled);
            fill_menu(sub, it.submenu, chosen);
        } else {
            QAction* a = qm->addAction(menu_label(it, false));
            a->setData(QVariant::fromValue<uint>(it.id));
            a->setEnabled(enabled);
            if (it.flags & MF_CHECKED) {
                a->setCheckable(true);
                a->setChecked(true);
            }
            if (chosen) {
                const UINT id = it.id;
                QObject::connect(a, &QAction::triggered, qm, [chosen, id] { chosen(id); });
            }
        }
    }
}

void DialogWidget::rebuild_menu_bar() {
    WindowModel* m = platform_window(h_);
    const MenuModel* mm = m ? platform_menu(m->menu) : nullptr;
    if (bar_) {
        // Never deleted at once: the change may come from one of the bar's own commands.
        bar_->hide();
        bar_->deleteLater();
        bar_ = nullptr;
    }
    if (mm) {
        const HWND h = h_;
        auto chosen = [h](UINT id) {
            if (!qt_syncing()) platform_user_menu_command(h, id);
        };
        bar_ = new QMenuBar(this);
        bar_->setNativeMenuBar(false);
        for (const MenuItem& it : mm->items) {
            const bool enabled = !(it.flags & (MF_GRAYED | MF_DISABLED));
            if (it.flags & MF_SEPARATOR) continue;
            if (it.flags & MF_POPUP) {
                QMenu* qm = new QMenu(menu_label(it, true), bar_);
                qm->menuAction()->setEnabled(enabled);
                const HMENU sub = it.submenu;
                // Filled as it opens, so that check marks and greyed items show their state now.
                QObject::connect(qm, &QMenu::aboutToShow, qm, [qm, sub, chosen] { fill_menu(qm, sub, chosen); });
                bar_->addMenu(qm);
            } else {
                QAction* a = bar_->addAction(menu_label(it, true));
                a->setData(QVariant::fromValue<uint>(it.id));
                a->setEnabled(enabled);
                const UINT id = it.id;
                QObject::connect(a, &QAction::triggered, bar_, [chosen, id] { chosen(id); });
            }
        }
        bar_->show();
    }
    apply_model_geometry();
}

// ---- DialogView --------------------------------------------------------------------------

DialogView::DialogView(WindowModel& m) : QtView(m.handle) {
    auto* d = new DialogWidget(m.handle);
    w_ = d;
    SyncGuard guard;
    d->setWindowTitle(to_qstring(m.text));
    d->setEnabled(m.enabled);
    sync(WindowProp::Font);
    sync(WindowProp::Colors);
    sync(WindowProp::Icon);
    sync(WindowProp::AcceptFiles);
    d->rebuild_menu_bar();  // also applies the geometry
    if (m.visible) sync(WindowProp::Visible);
}

DialogWidget* DialogView::dialog() const { return static_cast<DialogWidget*>(w_.data()); }

void DialogView::sync(WindowProp what) {
    WindowModel* m = platform_window(h_);
    DialogWidget* d = dialog();
    if (!m || !d) return;
    SyncGuard guard;
    switch (what) {
        case WindowProp::Text: d->setWindowTitle(to_qstring(m->text)); break;
        case WindowProp::Enabled: d->setEnabled(m->enabled); break;
        case WindowProp::Visible:
            if (!m->visible) {
                d->hide();
            } else if (m->minimized) {
                d->showMinimized();
            } else {
                if (d->isMinimized())
                    d->showNormal();
                else
                    d->show();
                if (GetActiveWindow() == h_) {
                    d->raise();
                    d->activateWindow();
                }
            }
            // Shown, the window has the frame the desktop gives it, and its client area moved in.
            if (m->visible) d->note_placement();
            qt_window_state_changed();
            break;
        case WindowProp::Geometry: d->apply_model_geometry(); break;
        case WindowProp::Font:
            if (auto f = PL_GetFontInfo(m->font))
                d->client()->setFont(control_font(*f));
            else
                d->client()->setFont(dialog_font(m->dialog_font_points));
            break;
        case WindowProp::Colors: {
            QPalette p = QApplication::palette(d->client());
            if (m->background) p.setColor(QPalette::Window, to_qcolor(*m->background));
            if (m->text_color) p.setColor(QPalette::WindowText, to_qcolor(*m->text_color));
            d->client()->setPalette(p);
            break;
        }
        case WindowProp::Icon: {
            const HICON icon = m->icon_big ? m->icon_big : m->icon_small;
            d->setWindowIcon(icon ? resource_icon(icon.resource) : QIcon());
            break;
        }
        case WindowProp::Menu: d->rebuild_menu_bar(); break;
        case WindowProp::ZOrder:
            d->apply_topmost();
            if (d->isVisible()) {
                d->raise();
                if (GetActiveWindow() == h_) d->activateWindow();
            }
            break;
        case WindowProp::Focus:
        case WindowProp::TabFocus: qt_take_focus(d, what); break;
        case WindowProp::Repaint: d->update(); break;
        case WindowProp::PaintDue: d->paint_now(); break;
        case WindowProp::AcceptFiles: d->client()->setAcceptDrops(m->accept_files); break;
        default: break;
    }
}

// ---- Controls ----------------------------------------------------------------------------

namespace {

// Drops of files on controls that are not panels.
class DropFilter : public QObject {
public:
    DropFilter(HWND h, QObject* parent) : QObject(parent), h_(h) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* w = qobject_cast<QWidget*>(o);
        switch (e->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop: {
                auto* de = static_cast<QDropEvent*>(e);
                const QPoint client = w ? de->position().toPoint() : QPoint();
                return qt_handle_drag(h_, de, e->type() == QEvent::Drop, client);
            }
            default: return false;
        }
    }

private:
    HWND h_;
};

}  // namespace

ControlView::ControlView(WindowModel& m, QWidget* parent) : QtView(m.handle), kind_(m.kind) {
    const HWND h = m.handle;
    QWidget* w = nullptr;
    switch (m.kind) {
        case ControlKind::PushButton: {
            auto* b = new QPushButton(parent);
            b->setAutoDefault(false);
            b->setFlat(m.style & BS_FLAT);
            QObject::connect(b, &QPushButton::clicked, b, [h] {
                if (!qt_syncing()) platform_user_clicked(h);
            });
            w = b;
            break;
        }
        case ControlKind::CheckBox: {
            auto* c = new QCheckBox(parent);
            QObject::connect(c, &QCheckBox::clicked, c, [h] {
                if (!qt_syncing()) platform_user_clicked(h);
            });
            w = c;
            break;
        }
        case ControlKind::Label: {
            auto* l = new QLabel(parent);
            l->setTextFormat(Qt::PlainText);
            l->setWordWrap(true);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            // Static text is transparent to the mouse, as on Windows: clicks reach the dialog.
            l->setAttribute(Qt::WA_TransparentForMouseEvents);
            w = l;
            break;
        }
        case ControlKind::GroupBox: {
            auto* g = new QGroupBox(parent);
            g->setAttribute(Qt::WA_TransparentForMouseEvents);
            w = g;
            break;
        }
        case ControlKind::Picture: {
            auto* l = new QLabel(parent);
            l->setAlignment(Qt::AlignCenter);
            l->setAttribute(Qt::WA_TransparentForMouseEvents);
            w = l;
            break;
        }
        case ControlKind::ListBox: {
            auto* lw = new QListWidget(parent);
            if (m.style & LBS_EXTENDEDSEL)
                lw->setSelectionMode(QAbstractItemView::ExtendedSelection);
            else if (m.style & LBS_MULTIPLESEL)
                lw->setSelectionMode(QAbstractItemView::MultiSelection);
            else
                lw->setSelectionMode(QAbstractItemView::SingleSelection);
            auto selected = [lw] {
                std::vector<int> s;
                for (int i = 0; i < lw->count(); ++i)
                    if (lw->item(i)->isSelected()) s.push_back(i);
                return s;
            };
            QObject::connect(lw, &QListWidget::itemSelectionChanged, lw, [h, selected] {
                if (!qt_syncing()) platform_user_list_selection(h, selected(), false);
            });
            QObject::connect(lw, &QListWidget::itemDoubleClicked, lw, [h, selected] {
                if (!qt_syncing()) platform_user_list_selection(h, selected(), true);
            });
            w = lw;
            break;
        }
        case ControlKind::Edit:
        default: {
            if (m.style & ES_MULTILINE) {
                auto* e = new QPlainTextEdit(parent);
                e->setReadOnly(m.style & ES_READONLY);
                e->setLineWrapMode(m.style & ES_AUTOHSCROLL ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
                QObject::connect(e, &QPlainTextEdit::textChanged, e, [h, e] {
                    if (!qt_syncing()) platform_user_edit_changed(h, to_u16(e->toPlainText()));
                });
                w = e;
            } else {
                auto* e = new QLineEdit(parent);
                e->setReadOnly(m.style & ES_READONLY);
                if (m.style & ES_NUMBER)
                    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
                QObject::connect(e, &QLineEdit::textEdited, e, [h](const QString& t) {
                    if (!qt_syncing()) platform_user_edit_changed(h, to_u16(t));
                });
                w = e;
            }
            break;
        }
    }
    w_ = w;
    set_widget_handle(w, h);
    if (m.kind != ControlKind::Label && m.kind != ControlKind::GroupBox && m.kind != ControlKind::Picture) {
        // A right click asks the dialog for a context menu naming this control.
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(w, &QWidget::customContextMenuRequested, w, [h, w](const QPoint& p) {
            if (qt_syncing()) return;
            const QPoint g = w->mapToGlobal(p);
            platform_user_context_menu(h, POINT{g.x(), g.y()});
        });
    }
    auto* drops = new DropFilter(h, w);
    w->installEventFilter(drops);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) area->viewport()->installEventFilter(drops);

    SyncGuard guard;
    apply_text();
    apply_bitmap();
    apply_items();
    apply_colors();
    for (WindowProp p : {WindowProp::Font, WindowProp::Geometry, WindowProp::Enabled, WindowProp::ToolTip,
                         WindowProp::Checked, WindowProp::AcceptFiles})
        sync(p);
    if (m.kind == ControlKind::GroupBox) w->lower();  // group boxes stay behind their controls
    w->setVisible(m.visible);
}

void ControlView::apply_text() {
    WindowModel* m = platform_window(h_);
    if (!m || !w_) return;
    const QString t = to_qstring(m->text);
    if (auto* b = qobject_cast<QAbstractButton*>(w_)) {
        if (!(kind_ == ControlKind::PushButton && (m->style & BS_BITMAP) && m->bitmap)) b->setText(t);
    } else if (auto* g = qobject_cast<QGroupBox*>(w_)) {
        g->setTitle(t);
    } else if (auto* l = qobject_cast<QLabel*>(w_)) {
        if (kind_ == ControlKind::Label) l->setText(t);
    } else if (auto* e = qobject_cast<QLineEdit*>(w_)) {
        if (e->text() != t) e->setText(t);
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w_)) {
        if (pe->toPlainText() != t) pe->setPlainText(t);
    }
}

void ControlView::apply_bitmap() {
    WindowModel* m = platform_window(h_);
    if (!m || !w_) return;
    const QSize size(std::max(1, m->rect.width()), std::max(1, m->rect.height()));
    if (kind_ == ControlKind::PushButton) {
        auto* b = static_cast<QPushButton*>(w_.data());
        if (m->bitmap) {
            const QSize icon_size(std::max(4, size.width() - 6), std::max(4, size.height() - 6));
            b->setIcon(QIcon(resource_bitmap(m->bitmap.resource, icon_size)));
            b->setIconSize(icon_size);
            if (m->style & BS_BITMAP) b->setText(QString());
        } else {
            b->setIcon(QIcon());
            apply_text();
        }
    } else if (kind_ == ControlKind::Picture) {
        auto* l = static_cast<QLabel*>(w_.data());
        if (m->bitmap)
            l->setPixmap(resource_bitmap(m->bitmap.resource, size));
        else if (m->icon_big || m->icon_small)
            l->setPixmap(resource_icon_pixmap((m->icon_big ? m->icon_big : m->icon_small).resource,
                                              std::min(size.width(), size.height())));
        else
            l->clear();
    }
}

void ControlView::apply_items() {
    WindowModel* m = platform_window(h_);
    auto* lw = qobject_cast<QListWidget*>(w_);
    if (!m || !lw) return;
    bool same = lw->count() == static_cast<int>(m->items.size());
    for (int i = 0; same && i < lw->count(); ++i) same = lw->item(i)->text() == to_qstring(m->items[static_cast<size_t>(i)]);
    if (!same) {
        lw->clear();
        for (const auto& s : m->items) lw->addItem(to_qstring(s));
    }
    for (int i = 0; i < lw->count(); ++i) {
        const bool sel = static_cast<size_t>(i) < m->selected.size() && m->selected[static_cast<size_t>(i)];
        lw->item(i)->setSelected(sel);
        if (sel && lw->selectionMode() == QAbstractItemView::SingleSelection) lw->setCurrentRow(i);
    }
}

void ControlView::apply_colors() {
    WindowModel* m = platform_window(h_);
    if (!m || !w_) return;
    QPalette p = QApplication::palette(w_);
    const bool field = kind_ == ControlKind::Edit || kind_ == ControlKind::ListBox;
    if (m->background) {
        p.setColor(field ? QPalette::Base : QPalette::Window, to_qcolor(*m->background));
        p.setColor(QPalette::Button, to_qcolor(*m->background));
    }
    if (m->text_color) {
        p.setColor(field ? QPalette::Text : QPalette::WindowText, to_qcolor(*m->text_color));
        p.setColor(QPalette::ButtonText, to_qcolor(*m->text_color));
    }
    w_->setPalette(p);
    w_->setAutoFillBackground(m->background.has_value() && !field);
}

void ControlView::sync(WindowProp what) {
    WindowModel* m = platform_window(h_);
    if (!m || !w_) return;
    SyncGuard guard;
    switch (what) {
        case WindowProp::Text: apply_text(); break;
        case WindowProp::Checked:
            if (auto* c = qobject_cast<QCheckBox*>(w_)) c->setChecked(m->check == BST_CHECKED);
            break;
        case WindowProp::Geometry:
            apply_common(what);
            apply_bitmap();
            break;
        case WindowProp::Bitmap:
        case WindowProp::Icon: apply_bitmap(); break;
        case WindowProp::ListItems: apply_items(); break;
        case WindowProp::Colors: apply_colors(); break;
        case WindowProp::ToolTip:
            apply_common(what);
            // A picture with a tip must see the mouse to show it.
            if (kind_ == ControlKind::Picture) w_->setAttribute(Qt::WA_TransparentForMouseEvents, m->tooltip.empty());
            break;
        case WindowProp::AcceptFiles: w_->setAcceptDrops(qt_accepts_files(h_)); break;
        default: apply_common(what); break;
    }
}
