// The Qt backend: views for the core's windows, and the machine's services (message boxes,
// popup menus, modal loops, choosers, clipboard, shell, tray icon, clock and the message loop).
#include "platform/qt/qt_backend.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMap>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <map>

#include "platform/qt/qt_internal.h"
#include "platform/qt/qt_panel_layout.h"
#include "platform/qt/qt_richedit.h"
#include "platform/qt/qt_support.h"
#include "platform/qt/qt_views.h"

namespace {

int g_qt_pump_depth = 0;  // nesting of QtBackend::pump

QtTestAnswers g_test_answers;  // the test hooks (off in the program)

class QtBackend;
QtBackend* g_qt = nullptr;  // the installed Qt backend, if any

QWidget* top_widget_of(HWND h) {
    WindowModel* w = platform_window(h);
    while (w && w->kind != ControlKind::Dialog) w = platform_window(w->parent);
    if (!w || !w->view) return nullptr;
    auto* v = dynamic_cast<DialogView*>(w->view.get());
    return v ? v->widget() : nullptr;
}

// The owner widget of a box or chooser: the owner's window while it is shown.
QWidget* owner_widget(HWND owner) {
    QWidget* w = top_widget_of(owner);
    return w && w->isVisible() ? w : nullptr;
}

// A box or chooser the program shows stands above all of its windows, above those that stay on
// top (the information and machine-translation windows) as well: the desktop would otherwise put
// it under them, its text and buttons hidden.
void above_the_programs_windows(QWidget* box) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != box && w->isVisible() && (w->windowFlags() & Qt::WindowStaysOnTopHint) && qt_handle_of(w)) {
            box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
            return;
        }
}

QString filter_string(const std::vector<FileFilter>& filters) {
    QStringList parts;
    for (const FileFilter& f : filters) {
        QString patterns = to_qstring(f.pattern);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString label = to_qstring(f.label);
        if (patterns.isEmpty()) patterns = QStringLiteral("*");
        // Qt reads the patterns from the parentheses that end the entry.
        if (!label.endsWith(QLatin1Char(')')))
            label += QStringLiteral(" (") + patterns + QLatin1Char(')');
        parts << label;
    }
    return parts.join(QStringLiteral(";;"));
}

int safe_answer(UINT flags) {
    switch (flags & 0x0F) {
        case MB_YESNO: return IDNO;
        case MB_YESNOCANCEL:
        case MB_OKCANCEL: return IDCANCEL;
        case 2: return IDABORT;   // MB_ABORTRETRYIGNORE
        case 5: return IDCANCEL;  // MB_RETRYCANCEL
        default: return IDOK;
    }
}

QMessageBox::StandardButton button_of(int id) {
    switch (id) {
        case IDOK: return QMessageBox::Ok;
        case IDCANCEL: return QMessageBox::Cancel;
        case IDABORT: return QMessageBox::Abort;
        case IDRETRY: return QMessageBox::Retry;
        case IDIGNORE: return QMessageBox::Ignore;
        case IDYES: return QMessageBox::Yes;
        case IDNO: return QMessageBox::No;
        default: return QMessageBox::NoButton;
    }
}

int id_of(QMessageBox::StandardButton b) {
    switch (b) {
        case QMessageBox::Ok: return IDOK;
        case QMessageBox::Cancel: return IDCANCEL;
        case QMessageBox::Abort: return IDABORT;
        case QMessageBox::Retry: return IDRETRY;
        case QMessageBox::Ignore: return IDIGNORE;
        case QMessageBox::Yes: return IDYES;
        case QMessageBox::No: return IDNO;
        default: return 0;
    }
}

std::vector<UINT> enabled_commands(const QMenu* m) {
    std::vector<UINT> out;
    for (QAction* a : m->actions()) {
        if (a->menu()) {
            if (a->isEnabled())
                for (UINT id : enabled_commands(a->menu())) out.push_back(id);
        } else if (!a->isSeparator() && a->isEnabled()) {
            out.push_back(a->data().toUInt());
        }
    }
    return out;
}

class QtBackend final : public QObject, public Backend {
public:
    QtBackend() {
        g_qt = this;
        QApplication::setQuitOnLastWindowClosed(false);  // the program hides its windows to the tray
        qApp->installEventFilter(this);
        orphanage_ = new QWidget;  // parent of controls whose dialog has no view (never shown)
        if (QClipboard* cb = QGuiApplication::clipboard())
            connect(cb, &QClipboard::dataChanged, this, [this] {
                if (!own_clipboard_change_) platform_clipboard_changed();
            });
        // Posted messages are served whenever the loop is about to wait, and after each wake-up
        // (so that a stream of input that never lets it wait cannot hold them back).
        if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) {
            connect(d, &QAbstractEventDispatcher::aboutToBlock, this, [this] { before_waiting(); });
            connect(d, &QAbstractEventDispatcher::awake, this, [this] { before_waiting(); });
        }
        modal_timer_ = new QTimer(this);
        modal_timer_->setInterval(10);
        connect(modal_timer_, &QTimer::timeout, this, [this] { check_modal_loops(); });
    }

    ~QtBackend() override {
        if (g_qt == this) g_qt = nullptr;
        if (!QCoreApplication::instance()) return;  // Qt is gone and took its objects along
        qApp->removeEventFilter(this);
        for (auto& [key, icon] : tray_)
            if (icon) delete icon.data();
        delete orphanage_.data();
    }

    const char* name() const override { return "qt"; }

    // ---- Views -------------------------------------------------------------------------
    std::unique_ptr<WindowView> create_view(WindowModel& w) override {
        if (w.kind == ControlKind::Dialog) return std::make_unique<DialogView>(w);
        QWidget* parent = qt_client_widget(w.parent);
        if (!parent) parent = orphanage_;
        if (w.kind == ControlKind::RichEdit) return std::make_unique<QtRichEditView>(w, parent);
        return std::make_unique<ControlView>(w, parent);
    }

    void window_destroyed(WindowModel& w) override {
        (void)w;
        QMetaObject::invokeMethod(this, [this] { check_modal_loops(); }, Qt::QueuedConnection);
    }

    // ---- Modal interaction -------------------------------------------------------------
    int message_box(HWND owner, std::u16string_view text, std::u16string_view caption, UINT flags) override {
        // On the heap and watched: the owner's widget (the box's parent) may be destroyed while the
        // box waits, by a posted message or a tray click served in its loop, and takes the box along.
        QPointer<QMessageBox> box = new QMessageBox(owner_widget(owner));
        box->setWindowTitle(to_qstring(caption));
        box->setText(to_qstring(text));
        box->setTextFormat(Qt::PlainText);
        switch (flags & 0xF0) {
            case MB_ICONERROR: box->setIcon(QMessageBox::Critical); break;
            case MB_ICONQUESTION: box->setIcon(QMessageBox::Question); break;
            case MB_ICONWARNING: box->setIcon(QMessageBox::Warning); break;
            case MB_ICONINFORMATION: box->setIcon(QMessageBox::Information); break;
            default: box->setIcon(QMessageBox::NoIcon); break;
        }
        std::vector<QMessageBox::StandardButton> buttons;
        switch (flags & 0x0F) {
            case MB_OKCANCEL: buttons = {QMessageBox::Ok, QMessageBox::Cancel}; break;
            case 2: buttons = {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore}; break;
            case MB_YESNOCANCEL: buttons = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}; break;
            case MB_YESNO: buttons = {QMessageBox::Yes, QMessageBox::No}; break;
            case 5: buttons = {QMessageBox::Retry, QMessageBox::Cancel}; break;
            default: buttons = {QMessageBox::Ok}; break;
        }
        QMessageBox::StandardButtons set;
        for (auto b : buttons) set |= b;
        box->setStandardButtons(set);
        const size_t def = (flags & 0x200) ? 2 : (flags & MB_DEFBUTTON2) ? 1 : 0;
        box->setDefaultButton(buttons[std::min(def, buttons.size() - 1)]);
        if (set & QMessageBox::Cancel) box->setEscapeButton(QMessageBox::Cancel);
        else if (buttons.size() == 1) box->setEscapeButton(buttons.front());
        if (flags & (MB_TOPMOST | MB_SYSTEMMODAL | MB_SETFOREGROUND))
            box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        above_the_programs_windows(box);

        QtMessageBoxRecord rec{owner, std::u16string(text), std::u16string(caption), flags, 0, {},
                               (box->windowFlags() & Qt::WindowStaysOnTopHint) != 0};
        for (auto b : buttons)
            if (QAbstractButton* ab = box->button(b)) rec.buttons.push_back(to_u16(ab->text()));
        if (g_test_answers.enabled) {
            int want = safe_answer(flags);
            if (!g_test_answers.message_box_answers.empty()) {
                want = g_test_answers.message_box_answers.front();
                g_test_answers.message_box_answers.pop_front();
            }
            // A person can only press a button the box has.
            QMessageBox::StandardButton b = button_of(want);
            if (!(set & b)) b = button_of(safe_answer(flags));
            QPointer<QMessageBox> guard(box);
            QTimer::singleShot(0, box, [guard, b] {
                if (guard)
                    if (QAbstractButton* ab = guard->button(b)) ab->click();
            });
        }
        box->exec();
        int answer = 0;
        if (box) {
            if (QAbstractButton* clicked = box->clickedButton()) answer = id_of(box->standardButton(clicked));
            delete box.data();
        }
        if (!answer) answer = safe_answer(flags);  // closed without a button, or gone with its owner
        rec.answer = answer;
        if (g_test_answers.enabled) g_test_answers.message_boxes.push_back(rec);
        return answer;
    }

    UINT track_popup_menu(HMENU m, int x, int y, HWND owner) override {
        (void)owner;
        QMenu menu;
        fill_menu(&menu, m, nullptr);
        if (g_test_answers.enabled) {
            const std::vector<UINT> offered = enabled_commands(&menu);
            UINT chosen = 0;
            if (!g_test_answers.popup_choices.empty()) {
                chosen = g_test_answers.popup_choices.front();
                g_test_answers.popup_choices.pop_front();
            }
            if (std::find(offered.begin(), offered.end(), chosen) == offered.end()) chosen = 0;
            g_test_answers.popups_offered.push_back(offered);
            g_test_answers.popups_chosen.push_back(chosen);
            return chosen;
        }
        QAction* a = menu.exec(QPoint(x, y));
        return a && !a->menu() ? a->data().toUInt() : 0;
    }

    void run_modal(HWND dlg) override {
        auto done = [dlg] {
            WindowModel* w = platform_window(dlg);
            return !w || w->modal_done || platform_quit_requested();
        };
        if (done()) return;
        QEventLoop loop;
        modal_loops_.push_back(ModalLoop{dlg, &loop});
        modal_timer_->start();
        if (g_test_answers.enabled) {
            QTimer::singleShot(0, &loop, [dlg, done] {
                if (g_test_answers.on_modal) {
                    auto act = g_test_answers.on_modal;
                    act(dlg);
                }
                // Nobody is left to press a button: the close box, then cancel.
                if (!done()) SendMessageW(dlg, Msg::simple(WM_CLOSE));
                if (!done()) EndDialog(dlg, IDCANCEL);
                qt_window_state_changed();
            });
        }
        if (!done()) loop.exec();
        modal_loops_.pop_back();
        if (modal_loops_.empty()) modal_timer_->stop();
    }

    void check_modal_loops() {
        for (const ModalLoop& m : modal_loops_) {
            WindowModel* w = platform_window(m.dlg);
            if (!w || w->modal_done || platform_quit_requested()) m.loop->exit(0);
        }
    }

    std::optional<std::filesystem::path> file_dialog(bool save, HWND owner, std::u16string_view title,
                                                     const std::vector<FileFilter>& filters,
                                                     const std::filesystem::path& start) override {
        if (g_test_answers.enabled) return take(g_test_answers.file_dialog_answers);
        const QString dir = QString::fromStdU16String(start.u16string());
        // The choosers live on the heap and are watched, as the message box is: the owner's
        // widget (their parent) may be destroyed while they wait, and takes them along; that
        // counts as cancelled.
        QPointer<QFileDialog> fd = new QFileDialog(owner_widget(owner), to_qstring(title), dir, filter_string(filters));
        fd->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        fd->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        above_the_programs_windows(fd);
        return chosen_path(fd);
    }

    std::optional<std::filesystem::path> folder_dialog(HWND owner, std::u16string_view title) override {
        if (g_test_answers.enabled) return take(g_test_answers.folder_dialog_answers);
        QPointer<QFileDialog> fd = new QFileDialog(owner_widget(owner), to_qstring(title));
        fd->setFileMode(QFileDialog::Directory);
        fd->setOption(QFileDialog::ShowDirsOnly, true);
        above_the_programs_windows(fd);
        return chosen_path(fd);
    }

    std::optional<LOGFONTW> font_dialog(HWND owner, const LOGFONTW& current) override {
        if (g_test_answers.enabled) return take(g_test_answers.font_dialog_answers);
        QPointer<QFontDialog> fd = new QFontDialog(to_qfont(current), owner_widget(owner));
        above_the_programs_windows(fd);
        const bool ok = fd->exec() == QDialog::Accepted && fd;
        const QFont f = ok ? fd->selectedFont() : QFont();
        delete fd.data();
        if (!ok) return std::nullopt;
        LOGFONTW out;
        out.face = to_u16(f.family());
        out.points = f.pointSize() > 0 ? f.pointSize() : current.points;
        out.weight = static_cast<int>(f.weight());
        out.italic = f.italic();
        out.underline = f.underline();
        return out;
    }

    // ---- Clipboard ---------------------------------------------------------------------
    std::optional<std::u16string> clipboard_text() override {
        QClipboard* cb = QGuiApplication::clipboard();
        const QMimeData* md = cb ? cb->mimeData(QClipboard::Clipboard) : nullptr;
        if (!md || !md->hasText()) return std::nullopt;
        return to_u16(md->text());
    }

    bool clipboard_owned() override {
        QClipboard* cb = QGuiApplication::clipboard();
        return cb && cb->ownsClipboard();
    }

    bool set_clipboard_text(std::u16string_view text) override {
        QClipboard* cb = QGuiApplication::clipboard();
        if (!cb) return false;
        own_clipboard_change_ = true;
        cb->setText(to_qstring(text), QClipboard::Clipboard);
        own_clipboard_change_ = false;
        platform_clipboard_changed();  // once, and before the call returns
        return true;
    }

    bool clear_clipboard() override {
        QClipboard* cb = QGuiApplication::clipboard();
        if (!cb) return false;
        own_clipboard_change_ = true;
        cb->clear(QClipboard::Clipboard);
        own_clipboard_change_ = false;
        platform_clipboard_changed();
        return true;
    }

    // ---- Shell and processes -----------------------------------------------------------
    bool shell_open(std::string_view path_or_url) override {
        if (g_test_answers.enabled) {
            g_test_answers.shell_opened.emplace_back(path_or_url);
            return true;
        }
        const QString s = QString::fromUtf8(path_or_url.data(), static_cast<qsizetype>(path_or_url.size()));
        static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
        const bool address = scheme.match(s).hasMatch();
        // A file that is not there has nothing to open it, whatever the desktop would start.
        if (!address && !QFileInfo::exists(s)) return false;
        const QUrl url = address ? QUrl(s, QUrl::TolerantMode) : QUrl::fromLocalFile(QFileInfo(s).absoluteFilePath());
        // False also when the desktop has no launcher (no xdg-open and no browser).
        return url.isValid() && QDesktopServices::openUrl(url);
    }

    bool start_program(const std::filesystem::path& exe, const std::vector<std::string>& args,
                       bool minimized) override {
        (void)minimized;  // a started program's window is its own business here
        QStringList a;
        for (const std::string& s : args) a << QString::fromStdString(s);
        return QProcess::startDetached(QString::fromStdU16String(exe.u16string()), a);
    }

    // A child the program keeps: its output is dropped (nobody reads it, so a chatty program
    // never blocks on a full pipe) and it leaves the table when it ends.
    int start_child(const std::filesystem::path& exe, const std::vector<std::string>& args,
                    bool minimized) override {
        (void)minimized;
        QStringList a;
        for (const std::string& s : args) a << QString::fromStdString(s);
        auto* p = new QProcess(this);
        p->setStandardInputFile(QProcess::nullDevice());
        p->setStandardOutputFile(QProcess::nullDevice());
        p->setStandardErrorFile(QProcess::nullDevice());
        p->start(QString::fromStdU16String(exe.u16string()), a);
        if (!p->waitForStarted(5000)) {
            delete p;
            return 0;
        }
        const int handle = ++last_child_;
        children_[handle] = p;
        connect(p, &QProcess::finished, this, [this, handle] {
            auto it = children_.find(handle);
            if (it == children_.end()) return;
            if (it->second) it->second->deleteLater();
            children_.erase(it);
        });
        return handle;
    }

    bool close_child(int handle) override {
        auto it = children_.find(handle);
        if (it == children_.end() || !it->second || it->second->state() == QProcess::NotRunning) return false;
        it->second->terminate();
        return true;
    }

    bool tray_icon(DWORD op, const NOTIFYICONDATAW& d) override {
        const auto key = std::make_pair(d.hWnd.id, d.uID);
        auto it = tray_.find(key);
        switch (op) {
            case NIM_ADD: {
                if (it != tray_.end() && it->second) return false;
                // No notification area: the add fails and leaves no icon behind (the core would
                // not know of it, so it could never be modified or removed).
                if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
                auto* icon = new QSystemTrayIcon(this);
                tray_[key] = icon;
                const HWND w = d.hWnd;
                const UINT id = d.uID;
                connect(icon, &QSystemTrayIcon::activated, icon, [w, id](QSystemTrayIcon::ActivationReason r) {
                    UINT msg = 0;
                    switch (r) {
                        case QSystemTrayIcon::Trigger: msg = WM_LBUTTONUP; break;
                        case QSystemTrayIcon::DoubleClick: msg = WM_LBUTTONDBLCLK; break;
                        case QSystemTrayIcon::Context: msg = WM_RBUTTONUP; break;
                        case QSystemTrayIcon::MiddleClick: msg = WM_MBUTTONUP_; break;
                        default: break;
                    }
                    if (msg) platform_user_tray(w, id, msg);
                });
                apply_tray(icon, d);
                icon->setVisible(true);
                return true;
            }
            case NIM_MODIFY:
                if (it == tray_.end() || !it->second) return false;
                apply_tray(it->second, d);
                return true;
            case NIM_DELETE:
                if (it == tray_.end()) return false;
                if (it->second) {
                    it->second->hide();
                    it->second->deleteLater();
                }
                tray_.erase(it);
                return true;
            default: return false;
        }
    }

    // ---- Screen, clock and loop --------------------------------------------------------
    RECT work_area() override {
        QScreen* s = QGuiApplication::primaryScreen();
        if (!s) return RECT{0, 0, 1920, 1040};
        const QRect r = s->availableGeometry();
        return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }

    std::int64_t now_us() override {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    void sleep_ms(int ms) override {
        if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
    }

    int run_loop() override {
        QEventLoop loop;
        run_loops_.push_back(&loop);
        schedule_service();
        loop.exec();
        run_loops_.pop_back();
        return platform_quit_code();
    }

    void pump(std::int64_t max_us) override {
        if (platform_has_posted()) platform_deliver_posted();
        const int ms = static_cast<int>(std::clamp<std::int64_t>(max_us / 1000, 1, 60000));
        ++g_qt_pump_depth;
        // A job pumps every few hundred tokens, and each pump would paint its progress line
        // again: the windows are painted by one pump a frame, and the pumps in between hold
        // their paints back until the next pump that paints (or the loop the job returns to).
        const auto now = std::chrono::steady_clock::now();
        PaintHold hold;
        PaintHold* const outer = hold_;
        if (now - last_painting_pump_ >= kPaintEvery) {
            last_painting_pump_ = now;
            hold_ = nullptr;
        } else {
            hold.depth = g_qt_pump_depth;
            hold.loop_level = QThread::currentThread()->loopLevel();
            hold_ = &hold;
        }
        {
            const PanelLayout::Busy busy;  // the job's pumps are not idle time
            QCoreApplication::processEvents(QEventLoop::AllEvents, ms);
        }
        hold_ = outer;
        for (const QPointer<QObject>& o : hold.held)
            if (o) QCoreApplication::postEvent(o, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
        --g_qt_pump_depth;
        if (g_qt_pump_depth == 0) qt_panels_after_pump();
        if (platform_has_posted()) platform_deliver_posted();
    }

    void quit(int code) override {
        (void)code;  // the core keeps the code; the loop ends once the messages before it are out
        schedule_service();
    }

    // ---- Keys and focus ----------------------------------------------------------------
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) return offer_key(o, static_cast<QKeyEvent*>(e));
        if (e->type() == QEvent::UpdateRequest && hold_ && hold_->depth == g_qt_pump_depth &&
            hold_->loop_level == QThread::currentThread()->loopLevel() && o->isWidgetType()) {
            // Held back by a pump that does not paint (not by a dialog's loop run inside it): the
            // window's painter waits for this request, which is posted again after the pump.
            if (std::find(hold_->held.begin(), hold_->held.end(), o) == hold_->held.end()) hold_->held.emplace_back(o);
            return true;
        }
        if (e->type() == QEvent::FocusIn && o->isWidgetType() && !qt_syncing()) {
            const HWND h = qt_handle_of(static_cast<QWidget*>(o));
            if (h) platform_user_focus(h);
        }
        return false;
    }

private:
    // The paints a pump holds back: the windows' update requests that came in while it ran.
    struct PaintHold {
        int depth = 0;       // the pump's nesting
        int loop_level = 0;  // the event loops running when it began
        std::vector<QPointer<QObject>> held;
    };
    static constexpr std::chrono::milliseconds kPaintEvery{16};  // a frame

    struct ModalLoop {
        HWND dlg;
        QEventLoop* loop;
    };

    // Runs a file chooser made on the heap; nullopt when it was cancelled or went with its owner.
    static std::optional<std::filesystem::path> chosen_path(QPointer<QFileDialog>& fd) {
        std::optional<std::filesystem::path> out;
        if (fd->exec() == QDialog::Accepted && fd && !fd->selectedFiles().isEmpty())
            out = std::filesystem::path(fd->selectedFiles().first().toStdU16String());
        delete fd.data();
        return out;
    }

    template <class T>
    static std::optional<T> take(std::deque<std::optional<T>>& q) {
        if (q.empty()) return std::nullopt;
        std::optional<T> v = std::move(q.front());
        q.pop_front();
        return v;
    }

    // Every key press in one of the program's windows is offered to the message loop's
    // accelerators before the focused control sees it, as the loop's TranslateAccelerator does,
    // and then to the dialog box's default and cancel keys.
    bool offer_key(QObject* o, QKeyEvent* e) {
        if (!o->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(o);
        // Qt hands an unused key press on to the parent widgets: offer it once only.
        if (e == last_key_ && last_key_receiver_ && w != last_key_receiver_ && w->isAncestorOf(last_key_receiver_)) {
            last_key_receiver_ = w;
            return false;
        }
        last_key_ = e;
        last_key_receiver_ = w;
        if (typing_tab_ || qt_syncing() || QApplication::activePopupWidget() || !qt_handle_of(w)) return false;
        const VirtualKey vk = virtual_key_of(*e);
        if (!vk.vk) return false;
        if (platform_user_key(vk.vk, vk.modifiers)) return true;
        // Then a dialog box's Enter, Escape and Tab, before the control can take them as text; a
        // message box or chooser over the dialog answers them itself.
        const HWND h = qt_handle_of(w);
        if (w->window() == top_widget_of(h) && platform_user_dialog_key(h, vk.vk, vk.modifiers)) return true;
        return vk.vk == VK_TAB && vk.modifiers == FCONTROL && type_tab(w);
    }

    // Ctrl+Tab types a tab into a box that takes text (Qt's boxes take none with Ctrl held): the
    // box gets a plain Tab, which it takes as text (a dialog box's Tab moves the focus instead).
    bool type_tab(QWidget* w) {
        const auto* rich = qobject_cast<QTextEdit*>(w);
        const auto* plain = qobject_cast<QPlainTextEdit*>(w);
        if (!(rich && !rich->isReadOnly()) && !(plain && !plain->isReadOnly())) return false;
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
        typing_tab_ = true;
        QCoreApplication::sendEvent(w, &tab);
        typing_tab_ = false;
        return true;
    }

    // The loop is about to wait: posted messages and a quit request are served first.
    void before_waiting() {
        if (platform_has_posted() || (platform_quit_requested() && !run_loops_.empty()) ||
            (!modal_loops_.empty() && platform_quit_requested()))
            schedule_service();
    }

    void schedule_service() {
        if (service_queued_) return;
        service_queued_ = true;
        QMetaObject::invokeMethod(this, [this] { service(); }, Qt::QueuedConnection);
    }

    void service() {
        service_queued_ = false;
        if (platform_has_posted()) platform_deliver_posted();
        if (platform_has_posted()) {
            schedule_service();  // more came in meanwhile: after the input waiting now
            return;
        }
        if (platform_quit_requested()) {
            check_modal_loops();
            if (!run_loops_.empty()) run_loops_.back()->exit(platform_quit_code());
        }
    }

    void apply_tray(QSystemTrayIcon* icon, const NOTIFYICONDATAW& d) {
        if ((d.uFlags & NIF_ICON) || icon->icon().isNull())
            icon->setIcon(resource_icon(d.hIcon ? d.hIcon.resource : 1));
        if (d.uFlags & NIF_TIP) icon->setToolTip(to_qstring(d.szTip));
        if ((d.uFlags & NIF_INFO) && !d.szInfo.empty() && QSystemTrayIcon::supportsMessages()) {
            QSystemTrayIcon::MessageIcon mi = QSystemTrayIcon::NoIcon;
            switch (d.dwInfoFlags & 0x03) {
                case NIIF_INFO: mi = QSystemTrayIcon::Information; break;
                case NIIF_WARNING: mi = QSystemTrayIcon::Warning; break;
                case NIIF_ERROR: mi = QSystemTrayIcon::Critical; break;
                default: break;
            }
            icon->showMessage(to_qstring(d.szInfoTitle), to_qstring(d.szInfo), mi, 15000);
        }
    }

    QPointer<QWidget> orphanage_;
    std::map<std::pair<std::uint32_t, UINT>, QPointer<QSystemTrayIcon>> tray_;
    std::vector<QEventLoop*> run_loops_;
    PaintHold* hold_ = nullptr;  // the innermost pump, when it holds paints back
    std::chrono::steady_clock::time_point last_painting_pump_{};
    std::map<int, QPointer<QProcess>> children_;  // programs of start_child that still run
    int last_child_ = 0;
    std::vector<ModalLoop> modal_loops_;
    QTimer* modal_timer_ = nullptr;
    bool service_queued_ = false;
    bool own_clipboard_change_ = false;
    bool typing_tab_ = false;  // the plain Tab of a Ctrl+Tab is on its way to its box
    const QEvent* last_key_ = nullptr;
    QPointer<QWidget> last_key_receiver_;
};

}  // namespace

std::unique_ptr<Backend> make_qt_backend() { return std::make_unique<QtBackend>(); }

void qt_window_state_changed() {
    if (g_qt) g_qt->check_modal_loops();
}

bool qt_pumping() { return g_qt_pump_depth > 0; }

QWidget* qt_widget(HWND h) {
    WindowModel* w = platform_window(h);
    if (!w || !w->view) return nullptr;
    if (auto* v = dynamic_cast<QtView*>(w->view.get())) return v->widget();
    if (auto* r = dynamic_cast<QtRichEditView*>(w->view.get())) return r->widget();
    return nullptr;
}

QWidget* qt_client_widget(HWND dlg) {
    WindowModel* w = platform_window(dlg);
    if (!w || w->kind != ControlKind::Dialog || !w->view) return nullptr;
    auto* v = dynamic_cast<DialogView*>(w->view.get());
    return v && v->dialog() ? v->dialog()->client() : nullptr;
}

QtTestAnswers& qt_test_answers() { return g_test_answers; }

void qt_set_test_answers(bool enabled) {
    g_test_answers = QtTestAnswers{};
    g_test_answers.enabled = enabled;
}
