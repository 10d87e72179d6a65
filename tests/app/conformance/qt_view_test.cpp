// What the Qt backend's widgets show of the core's windows, and the user's actions that only
// real widgets have (resizing, mouse clicks on a panel and on the dialog's surface, list boxes,
// edit fields, modal loops, the message loop), beyond the cases both backends share.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMessageBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontMetricsF>
#include <filesystem>
#include <fstream>
#include <QAbstractButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <functional>

#include "platform/backend.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_support.h"
#include "support/temp_folder.h"

namespace {

class QtViews : public ::testing::Test {
protected:
    static constexpr int kPanel = 200;
    static constexpr int kButton = 201;
    static constexpr int kBitmapButton = 202;
    static constexpr int kLabel = 203;
    static constexpr int kList = 204;
    static constexpr int kEdit = 205;

    void SetUp() override {
        current_ = this;
        platform_set_backend(make_qt_backend());
        qt_set_test_answers(true);
    }

    void TearDown() override {
        platform_reset();
        qt_set_test_answers(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        current_ = nullptr;
    }

    HWND make_dialog(DWORD extra_style = 0) {
        DialogTemplate t;
        t.caption = u"Изглед";
        t.cx = 300;
        t.cy = 200;
        t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | WS_THICKFRAME | extra_style;
        const DWORD child = WS_CHILD | WS_VISIBLE;
        t.controls = {
            {ControlKind::RichEdit, kPanel, u"", 5, 5, 200, 100, child | WS_BORDER | WS_VSCROLL | ES_MULTILINE, 0},
            {ControlKind::PushButton, kButton, u"Refresh", 210, 5, 40, 12, child | BS_FLAT, 0},
            {ControlKind::PushButton, kBitmapButton, u"?", 210, 20, 15, 12, child | BS_FLAT | BS_BITMAP, 129},
            {ControlKind::Label, kLabel, u"Status line", 5, 150, 100, 10, child, 0},
            {ControlKind::ListBox, kList, u"", 210, 40, 80, 60, child | LBS_NOTIFY, 0},
            {ControlKind::Edit, kEdit, u"", 210, 110, 80, 12, child, 0},
        };
        return CreateDialogIndirect(t, {}, &QtViews::proc);
    }

    static INT_PTR proc(HWND h, const Msg& m) {
        QtViews* self = current_;
        if (!self) return 0;
        self->log.push_back(m);
        if (self->handler) return self->handler(h, m);
        if (m.message == WM_CLOSE) DestroyWindow(h);
        return m.message == WM_CLOSE ? 1 : 0;
    }

    int count(UINT message, int id = -1, int code = -1) const {
        int n = 0;
        for (const Msg& m : log)
            if (m.message == message && (id < 0 || m.id == id) && (code < 0 || m.code == code)) ++n;
        return n;
    }
    const Msg* last_of(UINT message, int id = -1, int code = -1) const {
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->message == message && (id < 0 || it->id == id) && (code < 0 || it->code == code)) return &*it;
        return nullptr;
    }

    std::vector<Msg> log;
    std::function<INT_PTR(HWND, const Msg&)> handler;

private:
    static inline QtViews* current_ = nullptr;
};

QRect rect_of(RECT r) { return QRect(r.left, r.top, r.width(), r.height()); }

// The panel's widget as the screen shows it: the program's changes are shown once the event loop
// has run the widget's queued work.
QTextEdit* on_screen(QTextEdit* edit) {
    QCoreApplication::sendPostedEvents(edit, QEvent::MetaCall);
    return edit;
}

// Colours [from, to) of the panel through its selection, bold and underline as `effects` says.
void colour_range(HWND re, LONG from, LONG to, COLORREF c, DWORD effects = 0) {
    RE_SetSel(re, CHARRANGE{from, to});
    CHARFORMAT2W f;
    f.dwMask = CFM_COLOR | CFM_BOLD | CFM_UNDERLINE;
    f.dwEffects = effects;
    f.crTextColor = c;
    RE_SetCharFormat(re, SCF_SELECTION, f);
}

void replace_range(HWND re, LONG from, LONG to, std::u16string_view s) {
    RE_SetSel(re, CHARRANGE{from, to});
    RE_ReplaceSel(re, s, false);
}

// Whether two formats give the same font: family, size, weight and slant.
bool same_font(const QTextCharFormat& a, const QTextCharFormat& b) {
    for (const int p : {QTextFormat::FontFamilies, QTextFormat::FontPointSize, QTextFormat::FontWeight, QTextFormat::FontItalic})
        if (a.property(p) != b.property(p)) return false;
    return true;
}

// The panel's document holds the model's text and every character's own format. A paragraph end
// (whose format is the next paragraph's character format) is drawn as nothing: it shows only as
// the font of an empty paragraph after it, and only that is asked of it.
void expect_document_shows_the_model(QTextEdit* edit, HWND re, const std::string& what) {
    QString shown = edit->toPlainText();
    ASSERT_EQ(to_u16(shown.replace(QChar(0x2029), u'\r').replace(u'\n', u'\r')), RE_GetTextW(re)) << what;
    std::vector<QTextCharFormat> formats;
    for (QTextBlock b = edit->document()->firstBlock(); b.isValid(); b = b.next()) {
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it)
            formats.insert(formats.end(), static_cast<std::size_t>(it.fragment().length()), it.fragment().charFormat());
        if (b.next().isValid()) formats.push_back(b.next().charFormat());
    }
    const RichText* rt = platform_rich(re);
    ASSERT_EQ(formats.size(), static_cast<std::size_t>(rt->length())) << what;
    const std::u16string& text = rt->text();
    int wrong = 0;
    for (LONG pos = 0; pos < rt->length(); ++pos) {
        const auto k = static_cast<std::size_t>(pos);
        const QTextCharFormat& shown_format = formats[k];
        const QTextCharFormat wanted = to_qformat(rt->format_at(pos));
        const bool end = text[k] == u'\r';
        const bool before_text = end && k + 1 < text.size() && text[k + 1] != u'\r';
        const bool right = !end ? shown_format == wanted : before_text || same_font(shown_format, wanted);
        if (!right && wrong++ < 3) ADD_FAILURE() << what << ": the format at " << pos;
    }
}

// `count` short lines of Cyrillic and Latin words.
std::u16string numbered_lines(int count) {
    std::u16string lines;
    for (int i = 0; i < count; ++i) lines += u"ред " + std::u16string(1, static_cast<char16_t>(u'а' + i % 30)) + u" word\r";
    return lines;
}

}  // namespace

TEST_F(QtViews, WindowShowsTitleAndControlsAtTheirPixelRectangles) {
    HWND dlg = make_dialog();
    ASSERT_TRUE(IsWindow(dlg));
    QWidget* top = qt_widget(dlg);
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(top->isVisible());
    EXPECT_EQ(top->windowTitle(), QStringLiteral("Изглед"));
    SetWindowTextW(dlg, u"JUX Dictionary 1.0");
    EXPECT_EQ(top->windowTitle(), QStringLiteral("JUX Dictionary 1.0"));

    const RECT client = GetClientRect(dlg);
    EXPECT_EQ(qt_client_widget(dlg)->size(), QSize(client.width(), client.height()));
    for (int id : {kPanel, kButton, kLabel, kList, kEdit}) {
        HWND c = GetDlgItem(dlg, id);
        EXPECT_EQ(qt_widget(c)->geometry(), rect_of(platform_window(c)->rect)) << id;
    }
    MoveWindow(GetDlgItem(dlg, kPanel), 10, 20, 150, 90);
    EXPECT_EQ(qt_widget(GetDlgItem(dlg, kPanel))->geometry(), QRect(10, 20, 150, 90));

    auto* flat = qobject_cast<QPushButton*>(qt_widget(GetDlgItem(dlg, kButton)));
    ASSERT_NE(flat, nullptr);
    EXPECT_TRUE(flat->isFlat());
    EXPECT_EQ(flat->text(), QStringLiteral("Refresh"));
    auto* bitmap = qobject_cast<QPushButton*>(qt_widget(GetDlgItem(dlg, kBitmapButton)));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_FALSE(bitmap->icon().isNull());
    EXPECT_TRUE(bitmap->text().isEmpty());
    const qint64 red_key = bitmap->icon().cacheKey();
    PL_Button_SetBitmap(GetDlgItem(dlg, kBitmapButton), PL_LoadBitmapRes(130));
    EXPECT_NE(bitmap->icon().cacheKey(), red_key);

    ShowWindow(GetDlgItem(dlg, kButton), SW_HIDE);
    EXPECT_FALSE(flat->isVisible());
    EnableWindow(GetDlgItem(dlg, kLabel), false);
    EXPECT_FALSE(qt_widget(GetDlgItem(dlg, kLabel))->isEnabled());
    PL_CreateToolTipFor(dlg, GetDlgItem(dlg, kList), u"Списък");
    EXPECT_EQ(qt_widget(GetDlgItem(dlg, kList))->toolTip(), QStringLiteral("Списък"));
}

TEST_F(QtViews, DialogFontsMapToTheApplicationFont) {
    HWND dlg = make_dialog();
    HWND label = GetDlgItem(dlg, kLabel);
    SetWindowFont(label, CreateFontIndirectW(LOGFONTW{u"Microsoft Sans Serif", 11, 700, false, false}));
    const QFont f = qt_widget(label)->font();
    EXPECT_EQ(f.family(), QApplication::font().family());
    EXPECT_EQ(f.weight(), QFont::Bold);
    // A control's caption fits the box its template measured for a 6-pixel letter at 8 points
    // (condensed or smaller, never below three quarters of the size asked).
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const qreal average = QFontMetricsF(f).horizontalAdvance(letters) / letters.size();
    EXPECT_TRUE(average <= 6.0 * 11 / 8 + 0.01 || f.pointSizeF() <= 11 * 0.75 + 0.01) << average;
    EXPECT_GE(f.pointSizeF(), 11 * 0.75 - 0.01);
    // A text panel with the same font keeps its natural width, whatever its dialog's controls take.
    HWND re = GetDlgItem(dlg, kPanel);
    SetWindowFont(re, CreateFontIndirectW(LOGFONTW{u"Microsoft Sans Serif", 11, 400, false, false}));
    EXPECT_EQ(qt_widget(re)->font().pointSize(), 11);
    EXPECT_EQ(qt_widget(re)->font().stretch(), QFont::Unstretched);
    EXPECT_EQ(map_font_family(u"MS Shell Dlg"), QApplication::font().family());
    EXPECT_EQ(map_font_family(u"Courier New"), QStringLiteral("Courier New"));
}

TEST_F(QtViews, UserResizeSendsTheNewClientSize) {
    HWND dlg = make_dialog();
    log.clear();
    qt_widget(dlg)->resize(640, 480);
    const Msg* m = last_of(WM_SIZE);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->cx, 640);
    EXPECT_EQ(m->cy, 480);
    EXPECT_EQ(GetClientRect(dlg), (RECT{0, 0, 640, 480}));
    // The program's own resize is not reported back as the user's; it places the whole window,
    // and the client area is what lies inside the frame.
    log.clear();
    MoveWindow(dlg, 10, 10, 500, 300);
    EXPECT_EQ(count(WM_SIZE), 1);
    EXPECT_EQ(qt_widget(dlg)->frameGeometry(), QRect(10, 10, 500, 300));
    const RECT client = GetClientRect(dlg);
    EXPECT_EQ(qt_client_widget(dlg)->size(), QSize(client.width(), client.height()));
}

// Wherever the window goes and whatever frame it gets, the model maps its client area to the
// screen where Qt shows it, and its window rectangle is Qt's frame.
TEST_F(QtViews, TheModelsGeometryIsWhereQtShowsTheWindow) {
    HWND dlg = make_dialog();
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 9300, u"Файл");
    const std::function<void()> steps[] = {
        [] {}, [&] { SetMenu(dlg, bar); }, [&] { MoveWindow(dlg, 5, 7, 420, 330); },
        [&] { qt_widget(dlg)->resize(380, 300); }, [&] { qt_widget(dlg)->move(60, 50); }, [&] { SetMenu(dlg, HMENU{}); }};
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i]();
        const QWidget* client = qt_client_widget(dlg);
        const QPoint origin = client->mapToGlobal(QPoint(0, 0));
        EXPECT_EQ(ClientToScreen(dlg, POINT{}), (POINT{origin.x(), origin.y()})) << i;
        EXPECT_EQ(rect_of(GetWindowRect(dlg)), qt_widget(dlg)->frameGeometry()) << i;
        EXPECT_EQ(GetClientRect(dlg), (RECT{0, 0, client->width(), client->height()})) << i;
    }
}

TEST_F(QtViews, MenuBarShowsItemsAndKeepsTheClientSize) {
    HWND dlg = make_dialog();
    const RECT before = GetClientRect(dlg);
    HMENU bar = CreateMenu();
    HMENU opts = CreatePopupMenu();
    AppendMenuW(opts, MF_STRING | MF_CHECKED, 9247, u"Търси пунктуационни грешки");
    AppendMenuW(opts, MF_SEPARATOR, 0);
    AppendMenuW(opts, MF_STRING | MF_GRAYED, 9230, u"Режим роман");
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 9262, u"Честотен списък");
    AppendSubMenu(opts, sub, u"Английски списък");
    AppendSubMenu(bar, opts, u"Опции");
    SetMenu(dlg, bar);

    QMenuBar* qbar = qt_widget(dlg)->findChild<QMenuBar*>();
    ASSERT_NE(qbar, nullptr);
    ASSERT_EQ(qbar->actions().size(), 1);
    EXPECT_EQ(qbar->actions()[0]->text(), QStringLiteral("Опции"));
    EXPECT_EQ(qt_client_widget(dlg)->size(), QSize(before.width(), before.height()));
    EXPECT_EQ(qt_client_widget(dlg)->y(), qbar->height());

    QMenu* menu = qbar->actions()[0]->menu();
    emit menu->aboutToShow();
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_FALSE(items[2]->isEnabled());
    ASSERT_NE(items[3]->menu(), nullptr);
    EXPECT_EQ(items[3]->menu()->actions()[0]->text(), QStringLiteral("Честотен списък"));

    // Changes show the next time the menu opens.
    CheckMenuItem(opts, 9247, MF_BYCOMMAND | MF_UNCHECKED);
    PL_SetMenuItemText(opts, 9230, u"Роман");
    EnableMenuItem(opts, 9230, MF_BYCOMMAND | MF_ENABLED);
    emit menu->aboutToShow();
    EXPECT_FALSE(menu->actions()[0]->isChecked());
    EXPECT_EQ(menu->actions()[2]->text(), QStringLiteral("Роман"));
    EXPECT_TRUE(menu->actions()[2]->isEnabled());
    log.clear();
    menu->actions()[3]->menu()->actions()[0]->trigger();
    EXPECT_EQ(count(WM_COMMAND, 9262), 1);
}

TEST_F(QtViews, PopupMenuOffersOnlyEnabledCommands) {
    HWND dlg = make_dialog();
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, 8084, u"Копирай");
    AppendMenuW(popup, MF_STRING | MF_GRAYED, 8085, u"Постави");
    qt_test_answers().popup_choices = {8085, 8084};
    log.clear();
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 10, 10, dlg), 0);  // greyed: nothing
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 10, 10, dlg), 8084);
    EXPECT_EQ(count(WM_COMMAND), 0);
    ASSERT_EQ(qt_test_answers().popups_offered.size(), 2u);
    EXPECT_EQ(qt_test_answers().popups_offered[0], std::vector<UINT>{8084});
    qt_test_answers().popup_choices = {8084};
    EXPECT_NE(TrackPopupMenu(popup, 0, 10, 10, dlg), 0);  // without TPM_RETURNCMD the command is sent
    EXPECT_EQ(count(WM_COMMAND, 8084), 1);
}

TEST_F(QtViews, DestroyedWindowLosesItsWidgets) {
    HWND dlg = make_dialog();
    QPointer<QWidget> top = qt_widget(dlg);
    QPointer<QWidget> panel = qt_widget(GetDlgItem(dlg, kPanel));
    ASSERT_TRUE(top && panel);
    HWND panel_handle = GetDlgItem(dlg, kPanel);
    DestroyWindow(dlg);
    EXPECT_FALSE(top->isVisible());
    EXPECT_EQ(qt_widget(dlg), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(top.isNull());
    EXPECT_TRUE(panel.isNull());
    // Calls on the dead handles do nothing.
    RE_SetTextW(panel_handle, u"x");
    EXPECT_EQ(RE_GetTextW(panel_handle), u"");
}

TEST_F(QtViews, ListBoxAndEditFieldReportTheUsersChoices) {
    HWND dlg = make_dialog();
    HWND lb = GetDlgItem(dlg, kList);
    for (const char16_t* s : {u"едно", u"две", u"три"}) ListBox_AddString(lb, s);
    auto* lw = qobject_cast<QListWidget*>(qt_widget(lb));
    ASSERT_NE(lw, nullptr);
    ASSERT_EQ(lw->count(), 3);
    EXPECT_EQ(lw->item(1)->text(), QStringLiteral("две"));
    log.clear();
    QTest::mouseClick(lw->viewport(), Qt::LeftButton, {}, lw->visualItemRect(lw->item(2)).center());
    EXPECT_EQ(ListBox_GetCurSel(lb), 2);
    EXPECT_GE(count(WM_COMMAND, kList, LBN_SELCHANGE), 1);
    ListBox_SetCurSel(lb, 0);
    EXPECT_TRUE(lw->item(0)->isSelected());
    EXPECT_FALSE(lw->item(2)->isSelected());

    HWND edit = GetDlgItem(dlg, kEdit);
    auto* le = qobject_cast<QLineEdit*>(qt_widget(edit));
    ASSERT_NE(le, nullptr);
    log.clear();
    QTest::keyClicks(le, QStringLiteral("ab"));
    EXPECT_EQ(GetWindowTextW(edit), u"ab");
    EXPECT_EQ(count(WM_COMMAND, kEdit, EN_CHANGE), 2);
    SetWindowTextW(edit, u"ново");
    EXPECT_EQ(le->text(), QStringLiteral("ново"));
}

TEST_F(QtViews, ClicksOnTheDialogSurfaceAndPanelMouseFilter) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    // A click on the static label goes through it to the dialog's own surface.
    QWidget* label = qt_widget(GetDlgItem(dlg, kLabel));
    log.clear();
    QTest::mouseClick(qt_client_widget(dlg), Qt::LeftButton, Qt::ShiftModifier, label->geometry().center());
    const Msg* up = last_of(WM_LBUTTONUP);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->pt.x, label->geometry().center().x());
    EXPECT_EQ(up->keys, UINT{MK_SHIFT});

    // The panel's mouse messages reach the dialog under ENM_MOUSEEVENTS, and a swallowed press
    // does not move the caret.
    RE_SetTextW(re, u"дума и още думи");
    RE_SetEventMask(re, ENM_MOUSEEVENTS);
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    QWidget* vp = edit->viewport();
    const QPoint far = edit->cursorRect(QTextCursor(edit->document())).center() + QPoint(60, 0);
    handler = [](HWND, const Msg& m) -> INT_PTR {
        return m.message == WM_NOTIFY && m.code == EN_MSGFILTER && m.filter_msg == WM_LBUTTONDOWN;
    };
    log.clear();
    QTest::mouseClick(vp, Qt::LeftButton, {}, far);
    EXPECT_EQ(count(WM_NOTIFY, kPanel, EN_MSGFILTER), 2);
    EXPECT_EQ(RE_GetSel(re), (CHARRANGE{0, 0}));
    handler = nullptr;
    QTest::mouseClick(vp, Qt::LeftButton, {}, far);
    EXPECT_GT(RE_GetSel(re).cpMin, 0);
    EXPECT_EQ(RE_GetSel(re).cpMin, RE_CharFromPos(re, POINT{far.x(), far.y()}));

    // The right button's release asks for the context menu, naming the panel.
    log.clear();
    QTest::mouseClick(vp, Qt::RightButton, {}, far);
    const Msg* cm = last_of(WM_CONTEXTMENU);
    ASSERT_NE(cm, nullptr);
    EXPECT_EQ(cm->from, re);
}

TEST_F(QtViews, ScrollingFollowsTheView) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    std::u16string text;
    for (int i = 0; i < 200; ++i) text += u"ред " + std::u16string(1, static_cast<char16_t>(u'а' + i % 30)) + u"\r";
    RE_SetTextW(re, text);
    EXPECT_EQ(RE_GetScrollPos(re), (POINT{0, 0}));
    EXPECT_EQ(RE_GetFirstVisibleLine(re), 0);
    RE_SetScrollPos(re, POINT{0, 300});
    EXPECT_EQ(RE_GetScrollPos(re).y, 300);
    const int first = RE_GetFirstVisibleLine(re);
    EXPECT_GT(first, 5);
    RE_LineScroll(re, 4);
    EXPECT_GT(RE_GetFirstVisibleLine(re), first + 2);
    RE_Scroll(re, SB_BOTTOM);
    EXPECT_EQ(RE_GetScrollPos(re).y, qobject_cast<QTextEdit*>(qt_widget(re))->verticalScrollBar()->maximum());
    RE_SetSel(re, CHARRANGE{0, 0});
    RE_ScrollCaret(re);
    EXPECT_EQ(RE_GetFirstVisibleLine(re), 0);
    EXPECT_EQ(RE_LineFromChar(re, RE_CharFromPos(re, POINT{2, 2})), 0);
}

// A line scroll moves by the lines the panel shows and puts the line reached at the very top of
// the view, also when some lines are in a larger font (a dictionary's highlighted headword) and
// when a long paragraph wraps into several lines.
TEST_F(QtViews, LineScrollPutsTheLineReachedAtTheTop) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    QScrollBar* bar = edit->verticalScrollBar();
    RE_SetWordWrap(re, false);
    std::u16string text;
    for (int i = 0; i < 120; ++i) text += u"ред " + std::u16string(1, static_cast<char16_t>(u'а' + i % 30)) + u"\r";
    RE_SetTextW(re, text);
    // Every fifth line in an 18-point font: those lines are taller than the panel's own.
    CHARFORMAT2W big;
    big.dwMask = CFM_SIZE;
    big.yHeight = 18 * 20;
    for (int line = 0; line < 120; line += 5) {
        const LONG at = RE_LineIndex(re, line);
        RE_SetSel(re, CHARRANGE{at, at + 5});
        RE_SetCharFormat(re, SCF_SELECTION, big);
    }
    RE_SetSel(re, CHARRANGE{0, 0});
    auto top_of_line = [&](int line) {
        return edit->document()->documentLayout()->blockBoundingRect(edit->document()->findBlockByNumber(line)).top();
    };
    auto expect_at_top = [&](int line) {
        EXPECT_EQ(RE_GetFirstVisibleLine(re), line);
        // Nothing of the line above shows: the view begins where the line begins.
        EXPECT_NEAR(bar->value(), top_of_line(line), 1.0);
    };

    RE_LineScroll(re, 14);
    expect_at_top(14);
    RE_LineScroll(re, 13);
    expect_at_top(27);
    RE_LineScroll(re, -4);
    expect_at_top(23);
    // From a view that begins inside a line, counting starts at that line.
    bar->setValue(static_cast<int>(top_of_line(40)) + 3);
    RE_LineScroll(re, 2);
    expect_at_top(42);
    // Back to the start: the document's own margin shows again above the first line.
    RE_LineScroll(re, -100);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(RE_GetFirstVisibleLine(re), 0);
    // Past the end the view stops at the bottom.
    RE_LineScroll(re, 1000);
    EXPECT_EQ(bar->value(), bar->maximum());

    // A wrapped paragraph: one line down is one shown line, inside the same paragraph.
    RE_SetWordWrap(re, true);
    std::u16string para;
    for (int i = 0; i < 200; ++i) para += u"дума ";
    RE_SetTextW(re, para + u"\r" + text);
    const QTextBlock first = on_screen(edit)->document()->firstBlock();
    edit->document()->documentLayout()->documentSize();
    ASSERT_GT(first.layout()->lineCount(), 4);
    RE_LineScroll(re, 3);
    EXPECT_NEAR(bar->value(), top_of_line(0) + first.layout()->lineAt(3).y(), 1.0);
    EXPECT_EQ(RE_GetFirstVisibleLine(re), 0);
}

// While redrawing is off, the panel's changes are gathered and reach the document at once when it
// comes back on (or when something reads the view, or the user acts): the document then holds the
// model's text, formats and selection, as if every change had been applied one by one.
TEST_F(QtViews, ChangesWithRedrawOffReachTheDocumentTogether) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    auto shown = [&] {
        QString t = edit->toPlainText();
        return t.replace(QChar(0x2029), u'\r').replace(u'\n', u'\r');
    };
    auto colour_at = [&](int pos) {
        QTextCursor c(edit->document());
        c.setPosition(pos + 1);
        return c.charFormat().foreground().color();
    };
    RE_SetTextW(re, u"head\rtail");
    on_screen(edit);
    int changes = 0;
    QObject::connect(edit->document(), &QTextDocument::contentsChange, [&](int, int, int) { ++changes; });
    RE_SetRedraw(re, false);
    for (int i = 0; i < 200; ++i) {
        RE_SetSel(re, CHARRANGE{4, 4});
        RE_ReplaceSel(re, u"\rline", false);
        RE_SetSel(re, CHARRANGE{5, 9});
        RE_SetCharFormat(re, SCF_SELECTION, [] {
            CHARFORMAT2W f;
            f.dwMask = CFM_COLOR;
            f.crTextColor = RGB(200, 0, 0);
            return f;
        }());
        RE_Scroll(re, SB_BOTTOM);
    }
    RE_SetSel(re, CHARRANGE{0, 2});
    RE_ReplaceSel(re, u"H", false);  // a change before the gathered ones
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(shown(), QStringLiteral("head\rtail"));
    RE_SetRedraw(re, true);
    on_screen(edit);
    EXPECT_EQ(to_u16(shown()), RE_GetTextW(re));
    EXPECT_EQ(changes, 1);  // one edit block
    const LONG at = RE_GetTextW(re).find(u"line");
    EXPECT_EQ(colour_at(static_cast<int>(at)), QColor(200, 0, 0));
    EXPECT_EQ(colour_at(0), colour_at(static_cast<int>(RE_GetTextW(re).find(u"tail"))));
    EXPECT_EQ(edit->textCursor().position(), RE_GetSel(re).cpMax);

    // A view read brings the gathered changes in first.
    RE_SetRedraw(re, false);
    RE_SetTextW(re, u"one\rtwo\rthree");
    EXPECT_EQ(RE_GetFirstVisibleLine(re), 0);
    EXPECT_EQ(shown(), QStringLiteral("one\rtwo\rthree"));
    RE_SetRedraw(re, true);
}

// The gathered changes reach the document by touching only what differs from the model (in a
// long text without laying out each change): afterwards the document holds the model's text and
// every character's format, paragraph ends included, exactly as when everything is set anew.
TEST_F(QtViews, GatheredChangesLeaveTheModelsTextAndEveryFormat) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    auto colour = [&](LONG from, LONG to, COLORREF c, DWORD effects = 0) { colour_range(re, from, to, c, effects); };
    auto replace = [&](LONG from, LONG to, std::u16string_view s) { replace_range(re, from, to, s); };
    const std::u16string lines = numbered_lines(300);
    const LONG n = static_cast<LONG>(lines.size());
    struct Case {
        const char* what;
        std::u16string start;
        std::function<void()> edit;
    };
    const Case cases[] = {
        {"the whole text coloured again, one word differently",
         u"one two\rthree four", [&] { colour(0, 17, 0); colour(4, 7, RGB(200, 0, 0), CFE_BOLD); }},
        {"a word typed in the middle, the colours after it shifted",
         u"one two\rthree four",
         [&] {
             colour(8, 13, RGB(0, 0, 200));
             replace(3, 3, u" more");
             colour(0, 3, RGB(0, 150, 0), CFE_UNDERLINE);
         }},
        {"text cut at the start, paragraph ends coloured",
         u"one two\rthree\rfour", [&] { colour(7, 8, RGB(200, 0, 0)); replace(0, 4, u""); colour(9, 10, RGB(0, 0, 200)); }},
        {"the same text set again in the default format",
         u"one two", [&] { colour(0, 3, RGB(200, 0, 0)); RE_SetTextW(re, u"one two"); }},
        {"many scattered colours in a long text",
         lines,
         [&] {
             colour(0, n, 0);
             for (LONG at = 5; at + 3 < n; at += 37) colour(at, at + 3, RGB(200, 0, 0), at % 2 ? DWORD{CFE_BOLD} : DWORD{0});
         }},
        {"a long text replaced in its middle and recoloured",
         lines,
         [&] {
             replace(n / 2, n / 2 + 400, u"new\rtext");
             colour(0, n / 3, RGB(0, 0, 200));
             colour(n - 450, n - 400, RGB(0, 150, 0), CFE_UNDERLINE);
         }},
        {"a long text coloured again whole, keys typed and deleted far apart",
         lines,
         [&] {
             replace(n / 2, n / 2, u"ab");
             colour(0, n + 2, RGB(0, 0, 200));
             replace(n - 10, n - 7, u"");
             replace(5, 6, u"Z\r");
             colour(n / 2 - 3, n / 2 + 6, RGB(200, 0, 0), CFE_BOLD);
         }},
    };
    for (const bool redraw_off : {false, true}) {
        for (const Case& c : cases) {
            RE_SetTextW(re, c.start);
            colour(2, 4, RGB(0, 150, 0));  // what the document held before
            on_screen(edit);
            if (redraw_off) RE_SetRedraw(re, false);
            c.edit();
            if (redraw_off) RE_SetRedraw(re, true);
            const std::string what = std::string(c.what) + (redraw_off ? ", redrawing off" : "");
            on_screen(edit);
            expect_document_shows_the_model(edit, re, what);
        }
    }
}

// A long panel is compared with a copy of what its document holds; a key the user types changes
// the document behind that copy, and the program's next writing of the whole text (the same text
// again, as a re-check writes its report) must still leave the document as the model.
TEST_F(QtViews, TextTypedIntoALongPanelIsUndoneByTheProgramsNextWriting) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    const std::u16string lines = numbered_lines(900);  // about 9,900 characters: long enough for the copy
    const LONG n = static_cast<LONG>(lines.size());
    for (const LONG at : {LONG{3}, n / 2, n - 3}) {
        for (const bool redraw_off : {false, true}) {
            RE_SetTextW(re, lines);
            on_screen(edit);
            // The user types over one character: the document's length stays.
            QTextCursor c = edit->textCursor();
            c.setPosition(at);
            c.setPosition(at + 1, QTextCursor::KeepAnchor);
            edit->setTextCursor(c);
            QTest::keyClicks(edit, "Q");
            on_screen(edit);
            ASSERT_EQ(RE_GetTextW(re)[static_cast<std::size_t>(at)], u'Q') << at;
            if (redraw_off) RE_SetRedraw(re, false);
            RE_SetTextW(re, lines);
            if (redraw_off) RE_SetRedraw(re, true);
            on_screen(edit);
            QString shown = edit->toPlainText();
            EXPECT_EQ(to_u16(shown.replace(QChar(0x2029), u'\r').replace(u'\n', u'\r')), lines)
                << "typed at " << at << (redraw_off ? ", redrawing off" : "");
        }
    }
}

// Changes of a part of a long panel, one after another, each shown before the next: the copy of
// what the document holds is brought up to date with each, and every later comparison relies on it.
TEST_F(QtViews, ALongPanelShowsTheModelThroughPartialChangesOneAfterAnother) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    auto colour = [&](LONG from, LONG to, COLORREF c, DWORD effects = 0) { colour_range(re, from, to, c, effects); };
    auto replace = [&](LONG from, LONG to, std::u16string_view s) { replace_range(re, from, to, s); };
    const std::u16string lines = numbered_lines(900);  // about 9,900 characters: long enough for the copy
    const LONG n = static_cast<LONG>(lines.size());
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"the whole text coloured", [&] { colour(0, n, RGB(0, 0, 200)); }},
        {"a line coloured near the end", [&] { colour(n - 40, n - 30, RGB(200, 0, 0), CFE_BOLD); }},
        {"text typed before that line", [&] { replace(n - 50, n - 50, u"xyz\r"); }},
        {"that line coloured as the rest again", [&] { colour(n - 36, n - 26, RGB(0, 0, 200)); }},
        {"text typed in the middle and coloured", [&] { replace(n / 2, n / 2 + 3, u"Q"); colour(n / 2 - 5, n / 2 + 5, 0); }},
        {"a colour taken off in the middle", [&] { colour(n / 2 - 2, n / 2, RGB(0, 0, 200)); }},
        {"text cut near the end", [&] { replace(n - 30, n - 10, u""); }},
        {"a paragraph end coloured after the change", [&] { colour(n / 2 + 11, n / 2 + 12, RGB(0, 150, 0)); }},
    };
    for (const bool redraw_off : {false, true}) {
        RE_SetTextW(re, lines);
        on_screen(edit);
        for (const auto& [what, step] : steps) {
            if (redraw_off) RE_SetRedraw(re, false);
            step();
            if (redraw_off) RE_SetRedraw(re, true);
            on_screen(edit);
            expect_document_shows_the_model(edit, re, std::string(what) + (redraw_off ? ", redrawing off" : ""));
        }
    }
}

// A report written anew gives its paragraph ends new colours: nothing of that shows, and the
// document is left alone (it is not laid out again). A new font shows at the end before an empty
// paragraph; and when a later change empties the paragraph after an end, that end takes its font.
TEST_F(QtViews, ParagraphEndsTakeOnlyTheFormatThatShows) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    std::u16string text;  // long enough for the copy; every tenth line followed by an empty one
    for (int i = 0; i < 900; ++i) text += numbered_lines(i % 30 + 1).substr(static_cast<std::size_t>(i % 30) * 11) + (i % 10 ? u"" : u"\r");
    std::vector<LONG> ends;
    for (std::size_t k = 0; k < text.size(); ++k)
        if (text[k] == u'\r') ends.push_back(static_cast<LONG>(k));
    for (const bool redraw_off : {false, true}) {
        const std::string how = redraw_off ? ", redrawing off" : "";
        RE_SetTextW(re, text);
        on_screen(edit);
        auto colour_ends = [&](COLORREF c, DWORD effects) {
            if (redraw_off) RE_SetRedraw(re, false);
            for (const LONG at : ends) colour_range(re, at, at + 1, c, effects);
            if (redraw_off) RE_SetRedraw(re, true);
            on_screen(edit);
        };
        int changes = 0;
        const auto counted = QObject::connect(edit->document(), &QTextDocument::contentsChange,
                                              [&](int, int, int) { ++changes; });
        colour_ends(RGB(200, 0, 0), 0);
        EXPECT_EQ(changes, 0) << how;
        QObject::disconnect(counted);
        expect_document_shows_the_model(edit, re, "paragraph ends coloured" + how);
        colour_ends(RGB(0, 0, 200), CFE_BOLD);
        expect_document_shows_the_model(edit, re, "paragraph ends made bold" + how);
        // The third line emptied: the second line's end now stands before an empty paragraph.
        replace_range(re, ends[1] + 1, ends[2], u"");
        on_screen(edit);
        expect_document_shows_the_model(edit, re, "a line after a bold end emptied" + how);
        EXPECT_TRUE(edit->document()->findBlockByNumber(2).charFormat().font().bold()) << how;
    }
}

// A job that writes into a panel with redrawing on while it pumps messages: its lines show while
// it goes (a quarter of a second late at most), and all of them once it ends.
TEST_F(QtViews, APanelWrittenWhileAJobPumpsShowsItsLinesAsItGoes) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    on_screen(edit);
    int shown_while_working = 0;
    for (int line = 0; line < 70; ++line) {  // a line every 10 ms
        RE_SetSel(re, CHARRANGE{-1, -1});
        RE_ReplaceSel(re, u"line\r", false);
        RE_Scroll(re, SB_BOTTOM);
        QElapsedTimer step;
        step.start();
        while (step.elapsed() < 10) PL_PumpMessages(2'000);
        if (edit->document()->characterCount() > 1) ++shown_while_working;
    }
    EXPECT_GT(shown_while_working, 0);
    QCoreApplication::processEvents();
    auto shown = [&] { return to_u16(edit->toPlainText().replace(QChar(0x2029), u'\r').replace(u'\n', u'\r')); };
    EXPECT_EQ(shown(), RE_GetTextW(re));

    // A modal loop that runs from a pump (a message box the job asks) shows them at once.
    RE_SetSel(re, CHARRANGE{-1, -1});
    RE_ReplaceSel(re, u"last line", false);
    std::u16string in_the_modal_loop;
    QTimer::singleShot(0, [&] {
        QEventLoop modal;
        QTimer::singleShot(50, &modal, [&] {
            in_the_modal_loop = shown();
            modal.quit();
        });
        modal.exec();
    });
    PL_PumpMessages(100'000);
    EXPECT_EQ(in_the_modal_loop, RE_GetTextW(re));
}

// A job pumps every few hundred tokens and sets its progress line as it goes: one pump a frame
// paints, what the others held back is painted once the job returns to the loop, and a dialog's
// loop run from a pump paints as ever.
TEST_F(QtViews, AJobsPumpsPaintOnceAFrameAndTheRestAfterwards) {
    HWND label = GetDlgItem(make_dialog(), kLabel);
    QWidget* widget = qt_widget(label);
    ASSERT_NE(widget, nullptr);
    struct Painted : QObject {
        QString last;
        int count = 0;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++count, last = static_cast<QLabel*>(o)->text();
            return false;
        }
    } painted;
    widget->installEventFilter(&painted);
    QCoreApplication::processEvents();
    struct Row {
        const char* what;
        int pumps;
        bool dialog_loop;  // the last pump runs a loop of its own, which writes the line
    };
    for (const Row& row : {Row{"a job's pumps", 40, false}, Row{"a dialog's loop in a pump", 2, true}}) {
        painted.count = 0;
        QElapsedTimer clock;
        clock.start();
        std::u16string line;
        for (int i = 0; i < row.pumps; ++i) {
            line = u"line " + to_u16(QString::number(i));
            SetWindowTextW(label, line);
            if (row.dialog_loop && i + 1 == row.pumps)
                QTimer::singleShot(0, [&] {
                    line = u"written in the dialog's loop";
                    SetWindowTextW(label, line);
                    QEventLoop loop;
                    QTimer::singleShot(60, &loop, &QEventLoop::quit);
                    loop.exec();
                    EXPECT_EQ(to_u16(painted.last), line) << row.what;
                });
            PL_PumpMessages(2'000);
        }
        if (!row.dialog_loop) {
            EXPECT_LE(painted.count, clock.elapsed() / 16 + 2) << row.what;
        }
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
        EXPECT_EQ(to_u16(painted.last), line) << row.what;
    }
}

// The program works on what the user did (its handler pumps with the panel's redrawing off and
// selects ranges to colour them); keys typed meanwhile reach the model at the user's caret, in
// their order, whether the user's action came in with its key or was delivered from the queue.
TEST_F(QtViews, KeysTypedWhileTheProgramWorksOnAnEditAreKept) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    ASSERT_NE(edit, nullptr);
    auto key = [&](Qt::Key k, const QString& text) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier, text);
        QCoreApplication::sendEvent(edit, &e);
    };
    auto colour_first = [&] {
        RE_SetSel(re, CHARRANGE{0, 1});
        CHARFORMAT2W f;
        f.dwMask = CFM_COLOR;
        f.crTextColor = RGB(200, 0, 0);
        RE_SetCharFormat(re, SCF_SELECTION, f);
    };
    struct Way {
        const char* what;
        std::function<void()> act;
        std::u16string result;
        bool on_caret;  // the program works on the caret's move, not on a change of the text
    };
    const Way ways[] = {
        {"a key", [&] { key(Qt::Key_C, QStringLiteral("c")); }, u"abcde", false},
        {"a caret moved, delivered from the queue",
         [&] {
             QTextCursor c(edit->document());
             c.setPosition(2);
             edit->setTextCursor(c);
             QCoreApplication::sendPostedEvents(edit, QEvent::MetaCall);
         },
         u"abde", true},
    };
    for (const Way& w : ways) {
        RE_SetTextW(re, u"ab");
        RE_SetSel(re, CHARRANGE{w.on_caret ? 0 : 2, w.on_caret ? 0 : 2});
        RE_SetEventMask(re, w.on_caret ? ENM_SELCHANGE : ENM_CHANGE);
        on_screen(edit);  // the user acts on what the panel shows
        bool working = false;
        handler = [&](HWND, const Msg& m) -> INT_PTR {
            const bool changed = m.message == WM_COMMAND && m.code == EN_CHANGE;
            const bool moved = m.message == WM_NOTIFY && m.code == EN_SELCHANGE;
            if (m.id != kPanel || !(changed || moved) || working) return 0;
            working = true;
            const CHARRANGE user = RE_GetSel(re);
            RE_SetRedraw(re, false);
            colour_first();
            RE_SetSel(re, user);  // a pump gives the user their caret
            key(Qt::Key_D, QStringLiteral("d"));
            key(Qt::Key_E, QStringLiteral("e"));
            colour_first();  // the program goes on after the keys
            RE_SetRedraw(re, true);
            working = false;
            return 0;
        };
        w.act();
        QCoreApplication::processEvents();
        EXPECT_EQ(RE_GetTextW(re), w.result) << w.what;
        EXPECT_EQ(to_u16(edit->toPlainText()), RE_GetTextW(re)) << w.what;
        handler = nullptr;
        RE_SetEventMask(re, 0);
    }
}

TEST_F(QtViews, PanelOptionsShowInTheWidget) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    RE_SetBackgroundColor(re, RGB(0xE4, 0xE4, 0xE4));
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(0xE4, 0xE4, 0xE4));
    RE_SetReadOnly(re, true);
    EXPECT_TRUE(edit->isReadOnly());
    RE_SetWordWrap(re, false);
    EXPECT_EQ(edit->lineWrapMode(), QTextEdit::NoWrap);
    RE_SetWordWrap(re, true);
    EXPECT_EQ(edit->lineWrapMode(), QTextEdit::WidgetWidth);
    RE_SetRedraw(re, false);
    EXPECT_FALSE(edit->updatesEnabled());
    RE_SetRedraw(re, true);
    EXPECT_TRUE(edit->updatesEnabled());
    // Characters QTextDocument keeps for itself still take one position each.
    RE_SetTextW(re, std::u16string(u"a\uFDD0b\u2029c\0d", 7));
    EXPECT_EQ(on_screen(edit)->document()->characterCount() - 1, 7);
    RE_SetSel(re, CHARRANGE{6, 7});
    EXPECT_EQ(on_screen(edit)->textCursor().selectedText(), QStringLiteral("d"));
}

TEST_F(QtViews, ModalDialogRunsUntilEndDialog) {
    PL_RegisterDialogTemplate(DialogTemplate{4711, u"За програмата", 0, 0, 120, 60, u"MS Shell Dlg", 8, 400,
                                          WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER, 0,
                                          {{ControlKind::PushButton, IDOK, u"OK", 40, 40, 40, 14,
                                            WS_CHILD | WS_VISIBLE, 0}}});
    handler = [](HWND h, const Msg& m) -> INT_PTR {
        if (m.message == WM_COMMAND && m.id == IDOK) return EndDialog(h, 42);
        if (m.message == WM_CLOSE) return EndDialog(h, IDCANCEL);
        return 0;
    };
    qt_test_answers().on_modal = [](HWND box) {
        EXPECT_TRUE(qt_widget(box)->isVisible());
        EXPECT_TRUE(qt_widget(box)->isModal());
        QTest::mouseClick(qt_widget(GetDlgItem(box, IDOK)), Qt::LeftButton);
    };
    EXPECT_EQ(DialogBoxParamW(4711, {}, &QtViews::proc), 42);
    // Nobody clicks: the close box ends it as cancelled.
    qt_test_answers().on_modal = nullptr;
    EXPECT_EQ(DialogBoxParamW(4711, {}, &QtViews::proc), IDCANCEL);
}

TEST_F(QtViews, MessageLoopDeliversPostedMessagesAndQuits) {
    HWND dlg = make_dialog();
    handler = [](HWND h, const Msg& m) -> INT_PTR {
        if (m.message == WM_USER) {
            Msg next = Msg::simple(WM_USER + 1);
            next.param = m.param + 1;
            PostMessageW(h, next);  // delivered by the same loop, later
        }
        if (m.message == WM_USER + 1) PostQuitMessage(static_cast<int>(m.param));
        return 0;
    };
    Msg first = Msg::simple(WM_USER);
    first.param = 4;
    PostMessageW(dlg, first);
    EXPECT_EQ(PL_RunMessageLoop(), 5);
    EXPECT_EQ(count(WM_USER), 1);
    EXPECT_EQ(count(WM_USER + 1), 1);

    // The pump delivers what is posted too, and returns.
    handler = nullptr;
    PostMessageW(dlg, Msg::simple(WM_USER + 2));
    PL_PumpMessages(20000);
    EXPECT_EQ(count(WM_USER + 2), 1);
}

TEST_F(QtViews, KeysMapToVirtualKeysWhateverTheLayout) {
    // Ctrl with the key that carries 'O' on a Latin layout and 'Щ' on a Bulgarian one.
    QKeyEvent cyrillic(QEvent::KeyPress, 0x0429, Qt::ControlModifier, 32, 0, 0, QStringLiteral("щ"));
    const VirtualKey v = virtual_key_of(cyrillic);
    EXPECT_EQ(v.vk, 'O');
    EXPECT_EQ(v.modifiers, FCONTROL);
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(virtual_key_of(f5).vk, VK_F5);
    EXPECT_EQ(virtual_key_of(f5).modifiers, FSHIFT | FALT);
    QKeyEvent bang(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, QStringLiteral("!"));
    EXPECT_EQ(virtual_key_of(bang).vk, '1');
    QKeyEvent other(QEvent::KeyPress, Qt::Key_MediaPlay, Qt::NoModifier);
    EXPECT_EQ(virtual_key_of(other).vk, 0);
}

// A window shown and updated just before a long piece of work that runs no message loop (the
// splash while the lexicon loads) is on the screen when UpdateWindow returns.
TEST_F(QtViews, UpdateWindowPutsAWindowJustShownOnTheScreen) {
    DialogTemplate t;
    t.cx = 120;
    t.cy = 40;
    t.style = WS_POPUP | WS_THICKFRAME | DS_CENTER;
    t.controls = {{ControlKind::Label, kLabel, u"стартира, моля почакайте…", 8, 14, 100, 10, WS_CHILD | WS_VISIBLE, 0}};
    HWND splash = CreateDialogIndirect(t, {}, &QtViews::proc);
    ShowWindow(splash, SW_SHOWNORMAL);
    QWindow* win = qt_widget(splash)->windowHandle();
    ASSERT_NE(win, nullptr);
    UpdateWindow(splash);
    EXPECT_TRUE(win->isExposed());
    // A hidden window is not waited for.
    ShowWindow(splash, SW_HIDE);
    UpdateWindow(splash);
    EXPECT_FALSE(qt_widget(splash)->isVisible());
}

// Ctrl+V when the clipboard offers nothing at all (no program owns it, or it holds only data
// without a single format) leaves the panel as it was; pasting text still works afterwards.
TEST_F(QtViews, PastingAnEmptyClipboardChangesNothing) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    RE_SetEventMask(re, ENM_CHANGE);
    RE_SetTextW(re, u"ябълка");
    RE_SetSel(re, CHARRANGE{6, 6});
    QWidget* w = qt_widget(re);
    w->setFocus();
    log.clear();
    QApplication::clipboard()->setMimeData(new QMimeData);
    QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(RE_GetTextW(re), u"ябълка");
    EXPECT_EQ(count(WM_COMMAND, kPanel, EN_CHANGE), 0);
    // Data in a format that is not text is not pasted either.
    auto* picture = new QMimeData;
    picture->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    QApplication::clipboard()->setMimeData(picture);
    QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(RE_GetTextW(re), u"ябълка");

    QApplication::clipboard()->setText(QStringLiteral(" круша"));
    QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(RE_GetTextW(re), u"ябълка круша");
    EXPECT_EQ(count(WM_COMMAND, kPanel, EN_CHANGE), 1);
    QApplication::clipboard()->clear();
}

TEST_F(QtViews, HandlersMayDestroyTheirWindowFromTheUsersAction) {
    // A button whose command closes the window, clicked for real.
    HWND dlg = make_dialog();
    handler = [](HWND h, const Msg& m) -> INT_PTR {
        if (m.message == WM_COMMAND && m.id == kButton) DestroyWindow(h);
        return 0;
    };
    QTest::mouseClick(qt_widget(GetDlgItem(dlg, kButton)), Qt::LeftButton);
    EXPECT_FALSE(IsWindow(dlg));

    // A panel whose change notification closes the window while the key is being handled.
    dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    RE_SetEventMask(re, ENM_CHANGE);
    handler = [](HWND h, const Msg& m) -> INT_PTR {
        if (m.message == WM_COMMAND && m.code == EN_CHANGE) DestroyWindow(h);
        return 0;
    };
    QTest::keyClick(qt_widget(re), Qt::Key_A);
    EXPECT_FALSE(IsWindow(dlg));

    // A menu command that replaces the menu bar it came from.
    dlg = make_dialog();
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 9219, u"Отвори");
    AppendSubMenu(bar, file, u"Файл");
    SetMenu(dlg, bar);
    handler = [](HWND h, const Msg& m) -> INT_PTR {
        if (m.message == WM_COMMAND && m.id == 9219) {
            HMENU old = GetMenu(h);
            HMENU fresh = CreateMenu();
            AppendMenuW(fresh, MF_STRING, 9300, u"Друго");
            SetMenu(h, fresh);
            DestroyMenu(old);
        }
        return 0;
    };
    QMenu* menu = qt_widget(dlg)->findChild<QMenuBar*>()->actions()[0]->menu();
    emit menu->aboutToShow();
    menu->actions()[0]->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QMenuBar* now = nullptr;
    for (QMenuBar* b : qt_widget(dlg)->findChildren<QMenuBar*>())
        if (b->isVisibleTo(qt_widget(dlg))) now = b;
    ASSERT_NE(now, nullptr);
    ASSERT_EQ(now->actions().size(), 1);
    EXPECT_EQ(now->actions()[0]->text(), QStringLiteral("Друго"));
}

TEST_F(QtViews, MessageBoxSurvivesTheDestructionOfItsOwner) {
    // While the box waits, the loop it runs serves a posted message whose handler destroys the
    // box's owner; the box goes with its owner's widget and counts as closed without a button.
    qt_set_test_answers(false);
    HWND dlg = make_dialog();
    handler = [](HWND h, const Msg& m) -> INT_PTR {
        if (m.message == WM_USER) DestroyWindow(h);
        return 0;
    };
    QPointer<QWidget> owner = qt_widget(dlg);
    ASSERT_TRUE(PostMessageW(dlg, Msg::simple(WM_USER)));
    // Should the box outlive its owner after all, the person answers it then.
    QTimer person;
    QObject::connect(&person, &QTimer::timeout, [&owner] {
        if (owner) return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) box->button(QMessageBox::Yes)->click();
    });
    person.start(0);
    EXPECT_EQ(MessageBoxW(dlg, u"Да запиша ли промените?", u"JUX", MB_YESNO | MB_ICONQUESTION), IDNO);
    person.stop();
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(count(WM_DESTROY), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(owner.isNull());
}

TEST_F(QtViews, FailedTrayIconLeavesNoIconBehind) {
    if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "this desktop has a notification area";
    HWND dlg = make_dialog();
    NOTIFYICONDATAW nid;
    nid.hWnd = dlg;
    nid.uID = 7;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.szTip = u"JUX";
    auto* backend = dynamic_cast<QObject*>(&platform_backend());
    ASSERT_NE(backend, nullptr);
    // Without a notification area the add fails, and no icon waits unseen that the program could
    // never modify or remove (the core does not know of it).
    EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, nid));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, nid));
    DestroyWindow(dlg);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(backend->findChildren<QSystemTrayIcon*>().isEmpty());
}

TEST_F(QtViews, ChoosersSurviveTheDestructionOfTheirOwner) {
    qt_set_test_answers(false);
    // The person: answers the chooser on screen with `act` once `ready` says so.
    std::function<bool()> ready;
    std::function<void(QDialog*)> act;
    QTimer person;
    QObject::connect(&person, &QTimer::timeout, [&] {
        if (!ready()) return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) act(d);
    });
    person.start(0);

    // A chosen file comes back.
    jux_test::TempFolder chooser("chooser");
    const std::filesystem::path file = chooser.write("jux-chooser-test.txt", "x");
    HWND dlg = make_dialog();
    ready = [] { return true; };
    act = [&file](QDialog* d) {
        if (auto* fd = qobject_cast<QFileDialog*>(d)) {
            fd->selectFile(QString::fromStdU16String(file.u16string()));
            QMetaObject::invokeMethod(fd, "accept");
        }
    };
    EXPECT_EQ(GetOpenFileNameW(dlg, u"Отвори", {{u"Текст (*.txt)", u"*.txt"}}, file.parent_path()), file);

    // A posted message destroys the owner while each chooser waits: the chooser goes with it
    // and counts as cancelled.
    handler = [](HWND h, const Msg& m) -> INT_PTR {
        if (m.message == WM_USER) DestroyWindow(h);
        return 0;
    };
    QPointer<QWidget> owner;
    ready = [&owner] { return owner.isNull(); };
    act = [](QDialog* d) { d->reject(); };
    auto owner_goes = [&] {
        dlg = make_dialog();
        owner = qt_widget(dlg);
        PostMessageW(dlg, Msg::simple(WM_USER));
    };
    owner_goes();
    EXPECT_EQ(GetOpenFileNameW(dlg, u"Отвори", {}), std::nullopt);
    EXPECT_FALSE(IsWindow(dlg));
    owner_goes();
    EXPECT_EQ(GetSaveFileNameW(dlg, u"Запиши", {}), std::nullopt);
    owner_goes();
    EXPECT_EQ(PL_BrowseForFolder(dlg, u"Папка"), std::nullopt);
    owner_goes();
    EXPECT_EQ(ChooseFontW(dlg, LOGFONTW{}), std::nullopt);
    person.stop();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A colouring pass selects each range with the selection hidden: the panel must show the text in
// its own colour, not in the selection's, while the core keeps the selection.
TEST_F(QtViews, HiddenSelectionShowsTheTextInItsOwnColour) {
    HWND dlg = make_dialog();
    HWND re = GetDlgItem(dlg, kPanel);
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    ASSERT_NE(edit, nullptr);
    RE_SetTextW(re, u"WWWWWWWWWWWWWWWW");
    RE_HideSelection(re, true);
    RE_SetSel(re, CHARRANGE{0, 16});
    CHARFORMAT2W cf;
    cf.dwMask = CFM_COLOR | CFM_BOLD;
    cf.dwEffects = CFE_BOLD;
    cf.crTextColor = RGB(255, 0, 0);
    RE_SetCharFormat(re, SCF_SELECTION, cf);
    EXPECT_EQ(RE_GetSel(re), (CHARRANGE{0, 16}));
    EXPECT_FALSE(on_screen(edit)->textCursor().hasSelection());

    edit->window()->show();
    QApplication::processEvents();
    const QImage shot = edit->viewport()->grab().toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 80 && c.blue() < 80) ++red;
        }
    EXPECT_GT(red, 20) << "the coloured text is not drawn in its colour";

    RE_HideSelection(re, false);  // shown again: the view selects the range
    EXPECT_TRUE(on_screen(edit)->textCursor().hasSelection());
    EXPECT_EQ(edit->textCursor().selectionStart(), 0);
    EXPECT_EQ(edit->textCursor().selectionEnd(), 16);
}

// A child program (the external player) receives its argument, and only a running child of ours
// can be closed by its handle.
TEST_F(QtViews, ChildProgramGetsItsArgumentAndIsClosedByItsHandle) {
    jux_test::TempFolder dir("qt_child");
    const auto player = dir.write("winamp0.exe",
                                  "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.txt\"\n"
                                  "[ \"$1\" = wait ] && exec sleep 30\nexit 0\n");
    std::filesystem::permissions(player, std::filesystem::perms::owner_all);
    const std::string clip = (dir.path() / "a clip.ogg").string();
    auto wait_for = [](const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i) QTest::qWait(10);
        return done();
    };
    const int quick = PL_StartChildProgram(player, {clip}, false);
    ASSERT_GT(quick, 0);
    ASSERT_TRUE(wait_for([&] { return dir.read("args.txt") == clip + "\n"; }));

    const int waiting = PL_StartChildProgram(player, {"wait"}, true);
    ASSERT_GT(waiting, 0);
    EXPECT_TRUE(PL_CloseChildProgram(waiting));
    EXPECT_TRUE(wait_for([&] { return !PL_CloseChildProgram(waiting); }));
    EXPECT_EQ(PL_StartChildProgram(dir.path() / "absent.exe", {}, false), 0);
    EXPECT_FALSE(PL_CloseChildProgram(12345));
}
