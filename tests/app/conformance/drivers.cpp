#include "tests/app/conformance/drivers.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QUrl>

#include "platform/headless.h"
#include "platform/qt/qt_backend.h"

// ---- Headless ------------------------------------------------------------------------------

namespace {

class HeadlessDriver final : public Driver {
public:
    void install() override { headless_install(); }
    void type(HWND re, std::u16string_view text) override { headless_type(re, text); }
    void backspace(HWND re, int count) override { headless_backspace(re, count); }
    void key_delete(HWND re, int count) override { headless_key_delete(re, count); }
    void select(HWND re, LONG from, LONG to) override { headless_select(re, from, to); }
    void undo_key(HWND re) override { RE_Undo(re); }
    void redo_key(HWND re) override { RE_Redo(re); }
    void paste(HWND re) override { headless_paste(re); }
    void click(HWND control) override { headless_click(control); }
    void choose_menu(HWND dlg, UINT id) override { headless_menu(dlg, id); }
    void press_key(HWND focus, WORD vk, BYTE modifiers) override {
        (void)focus;
        headless_key(vk, modifiers);
    }
    void drop_files(HWND target, const std::vector<std::filesystem::path>& files) override {
        headless_drop(target, files);
    }
    void copy_from_outside(std::u16string_view text) override { headless_copy_from_outside(text); }
    void close_box(HWND dlg) override { headless_close(dlg); }
    void answer_message_boxes(std::vector<int> answers) override {
        for (int a : answers) headless().message_box_answers.push_back(a);
    }
    std::vector<BoxSeen> boxes_seen() override {
        std::vector<BoxSeen> out;
        for (const RecordedMessageBox& b : headless().message_boxes)
            out.push_back(BoxSeen{b.text, b.caption, b.flags, b.answer});
        return out;
    }
    std::u16string shown_text(HWND re) override { return RE_GetTextW(re); }
    CHARRANGE shown_selection(HWND re) override { return RE_GetSel(re); }
    std::optional<COLORREF> shown_color(HWND re, LONG pos) override {
        const CHARFORMAT2W cf = RE_GetCharFormatAt(re, pos);
        if (cf.dwEffects & CFE_AUTOCOLOR) return std::nullopt;
        return cf.crTextColor;
    }
    bool shown_bold(HWND re, LONG pos) override { return RE_GetCharFormatAt(re, pos).dwEffects & CFE_BOLD; }
    bool shown_checked(HWND check_box) override { return Button_GetCheck(check_box) == BST_CHECKED; }
};

// ---- Qt --------------------------------------------------------------------------------------

QString qs(std::u16string_view s) {
    return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

std::u16string u16(const QString& s) { return s.toStdU16String(); }

Qt::KeyboardModifiers qt_modifiers(BYTE m) {
    Qt::KeyboardModifiers q;
    if (m & FSHIFT) q |= Qt::ShiftModifier;
    if (m & FCONTROL) q |= Qt::ControlModifier;
    if (m & FALT) q |= Qt::AltModifier;
    return q;
}

Qt::Key qt_key(WORD vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return static_cast<Qt::Key>(vk);
    if (vk >= VK_F1 && vk <= VK_F12) return static_cast<Qt::Key>(Qt::Key_F1 + (vk - VK_F1));
    switch (vk) {
        case VK_RETURN: return Qt::Key_Return;
        case VK_ESCAPE: return Qt::Key_Escape;
        case VK_DELETE: return Qt::Key_Delete;
        case VK_INSERT: return Qt::Key_Insert;
        case VK_SPACE: return Qt::Key_Space;
        case VK_TAB: return Qt::Key_Tab;
        default: return Qt::Key_unknown;
    }
}

class QtDriver final : public Driver {
public:
    void install() override {
        platform_set_backend(make_qt_backend());
        qt_set_test_answers(true);
    }

    static QTextEdit* edit(HWND re) { return qobject_cast<QTextEdit*>(qt_widget(re)); }

    // The panel as the screen shows it: what the program changed is shown once the event loop
    // has run the widget's queued work.
    static QTextEdit* shown_edit(HWND re) {
        QTextEdit* e = edit(re);
        if (e) QCoreApplication::sendPostedEvents(e, QEvent::MetaCall);
        return e;
    }

    static void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, k, m, text);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, k, m, text);
        QApplication::sendEvent(w, &release);
    }

    void type(HWND re, std::u16string_view text) override {
        QTextEdit* e = edit(re);
        if (!e) return;
        for (size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            if (c == u'\r' || c == u'\n') {
                if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
                key(e, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
                continue;
            }
            QString ch{QChar(c)};
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) ch += QChar(text[++i]);
            // Letters carry their key code, other characters only their text.
            const QChar up = QChar(c).toUpper();
            const Qt::Key k = up.isLetterOrNumber() && c < 0xD800 ? static_cast<Qt::Key>(up.unicode()) : Qt::Key_unknown;
            key(e, k, Qt::NoModifier, ch);
        }
    }

    void backspace(HWND re, int count) override {
        if (QTextEdit* e = edit(re))
            for (int i = 0; i < count; ++i) QTest::keyClick(e, Qt::Key_Backspace);
    }

    void key_delete(HWND re, int count) override {
        if (QTextEdit* e = edit(re))
            for (int i = 0; i < count; ++i) QTest::keyClick(e, Qt::Key_Delete);
    }

    void select(HWND re, LONG from, LONG to) override {
        QTextEdit* e = edit(re);
        if (!e) return;
        QTest::keyClick(e, Qt::Key_Home, Qt::ControlModifier);
        for (LONG i = 0; i < from; ++i) QTest::keyClick(e, Qt::Key_Right);
        for (LONG i = from; i < to; ++i) QTest::keyClick(e, Qt::Key_Right, Qt::ShiftModifier);
        for (LONG i = to; i < from; ++i) QTest::keyClick(e, Qt::Key_Left, Qt::ShiftModifier);
    }

    void undo_key(HWND re) override {
        if (QTextEdit* e = edit(re)) QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    }

    void redo_key(HWND re) override {
        if (QTextEdit* e = edit(re)) QTest::keyClick(e, Qt::Key_Y, Qt::ControlModifier);
    }

    void paste(HWND re) override {
        if (QTextEdit* e = edit(re)) QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    }

    void click(HWND control) override {
        if (QWidget* w = qt_widget(control)) QTest::mouseClick(w, Qt::LeftButton);
    }

    void choose_menu(HWND dlg, UINT id) override {
        QWidget* top = qt_widget(dlg);
        QMenuBar* bar = top ? top->findChild<QMenuBar*>() : nullptr;
        if (!bar) return;
        for (QAction* title : bar->actions()) {
            QMenu* menu = title->menu();
            if (!menu) {
                if (title->data().toUInt() == id) QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
                continue;
            }
            // Open the menu as a person does, then click the item when it is in this menu.
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
            QAction* item = nullptr;
            for (QAction* a : menu->actions())
                if (!a->menu() && !a->isSeparator() && a->data().toUInt() == id) item = a;
            if (item) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
                menu->hide();
                return;
            }
            menu->hide();
        }
    }

    void press_key(HWND focus, WORD vk, BYTE modifiers) override {
        QWidget* w = qt_widget(focus);
        if (!w) return;
        const QString text = (modifiers & (FCONTROL | FALT)) || vk > 'Z' ? QString() : QString(QChar(vk).toLower());
        key(w, qt_key(vk), qt_modifiers(modifiers), text);
    }

    void drop_files(HWND target, const std::vector<std::filesystem::path>& files) override {
        QWidget* w = qt_widget(target);
        if (auto* e = qobject_cast<QTextEdit*>(w)) w = e->viewport();
        else if (QWidget* client = qt_client_widget(target)) w = client;
        if (!w) return;
        QMimeData md;
        QList<QUrl> urls;
        for (const auto& f : files) urls << QUrl::fromLocalFile(QString::fromStdU16String(f.u16string()));
        md.setUrls(urls);
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &enter);
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        QDropEvent drop(at, Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &drop);
    }

    void copy_from_outside(std::u16string_view text) override {
        QGuiApplication::clipboard()->setText(qs(text));
    }

    void close_box(HWND dlg) override {
        if (QWidget* w = qt_widget(dlg)) w->close();
    }

    void answer_message_boxes(std::vector<int> answers) override {
        for (int a : answers) qt_test_answers().message_box_answers.push_back(a);
    }

    std::vector<BoxSeen> boxes_seen() override {
        std::vector<BoxSeen> out;
        for (const QtMessageBoxRecord& b : qt_test_answers().message_boxes)
            out.push_back(BoxSeen{b.text, b.caption, b.flags, b.answer});
        return out;
    }

    std::u16string shown_text(HWND re) override {
        QTextEdit* e = shown_edit(re);
        if (!e) return {};
        QTextCursor c(e->document());
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        std::u16string s = u16(c.selectedText());
        for (char16_t& ch : s)
            if (ch == 0x2029) ch = u'\r';
        return s;
    }

    CHARRANGE shown_selection(HWND re) override {
        QTextEdit* e = shown_edit(re);
        if (!e) return {};
        const QTextCursor c = e->textCursor();
        return CHARRANGE{std::min(c.anchor(), c.position()), std::max(c.anchor(), c.position())};
    }

    static QTextCharFormat format_at(QTextEdit* e, LONG pos) {
        QTextCursor c(e->document());
        c.setPosition(pos + 1);  // the format of the character before the cursor
        return c.charFormat();
    }

    std::optional<COLORREF> shown_color(HWND re, LONG pos) override {
        QTextEdit* e = shown_edit(re);
        if (!e) return std::nullopt;
        const QTextCharFormat f = format_at(e, pos);
        if (!f.hasProperty(QTextFormat::ForegroundBrush) || f.foreground().style() == Qt::NoBrush) return std::nullopt;
        const QColor q = f.foreground().color();
        return RGB(q.red(), q.green(), q.blue());
    }

    bool shown_bold(HWND re, LONG pos) override {
        QTextEdit* e = shown_edit(re);
        return e && format_at(e, pos).fontWeight() >= QFont::Bold;
    }

    bool shown_checked(HWND check_box) override {
        auto* c = qobject_cast<QCheckBox*>(qt_widget(check_box));
        return c && c->isChecked();
    }
};

}  // namespace

std::unique_ptr<Driver> make_headless_driver() { return std::make_unique<HeadlessDriver>(); }
std::unique_ptr<Driver> make_qt_driver() { return std::make_unique<QtDriver>(); }
