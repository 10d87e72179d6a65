// A panel's document laid out by PanelLayout stands where Qt's own document layout puts it: the
// same paragraph rectangles, document size, hit positions and pixels, after every edit of a
// sequence that touches the document's edges, joins and splits paragraphs, changes fonts and the
// width, and renumbers many lines in one edit (whose paragraphs wait for idle time); and a panel
// with it answers what the user meets before idle time as a panel with Qt's layout does, over
// random edits, pastes, bulk replacements, resizes, font changes and paragraphs of 16,384
// characters or more.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QScrollBar>
#include <QTextEdit>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "platform/qt/qt_panel_layout.h"
#include "platform/qt/qt_richedit.h"

namespace {

// The same document twice: `qt` laid out by Qt, `own` by PanelLayout.
struct Pair {
    QTextDocument qt, own;
    PanelLayout* layout = nullptr;
    Pair() {
        layout = PanelLayout::install(own);
        for (QTextDocument* d : {&qt, &own}) d->setPageSize(QSizeF(300, -1));
    }
    void edit(const std::function<void(QTextCursor&)>& f) {
        for (QTextDocument* d : {&qt, &own}) {
            QTextCursor c(d);
            f(c);
        }
    }
    void both(const std::function<void(QTextDocument&)>& f) {
        f(qt);
        f(own);
    }
};

QImage picture(QTextDocument& d, int selection_from, int selection_to, int cursor) {
    const QSizeF size = d.documentLayout()->documentSize();
    QImage image(static_cast<int>(size.width()) + 1, std::min(static_cast<int>(size.height()) + 1, 4000), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.cursorPosition = cursor;
    QAbstractTextDocumentLayout::Selection s;
    s.cursor = QTextCursor(&d);
    s.cursor.setPosition(selection_from);
    s.cursor.setPosition(selection_to, QTextCursor::KeepAnchor);
    s.format.setBackground(Qt::darkBlue);
    s.format.setForeground(Qt::white);
    ctx.selections.append(s);
    ctx.clip = QRectF(0, 0, image.width(), image.height());
    d.documentLayout()->draw(&p, ctx);
    return image;
}

// Every answer of the two layouts is the same; `what` names the step.
void expect_same(Pair& pair, const std::string& what) {
    QAbstractTextDocumentLayout* qt = pair.qt.documentLayout();
    QAbstractTextDocumentLayout* own = pair.own.documentLayout();
    ASSERT_EQ(pair.qt.blockCount(), pair.own.blockCount()) << what;
    const QSizeF size = qt->documentSize();
    for (QTextBlock a = pair.qt.firstBlock(), b = pair.own.firstBlock(); a.isValid(); a = a.next(), b = b.next())
        ASSERT_EQ(qt->blockBoundingRect(a), own->blockBoundingRect(b)) << what << ", paragraph " << a.blockNumber();
    EXPECT_EQ(size, own->documentSize()) << what;
    EXPECT_EQ(qt->frameBoundingRect(pair.qt.rootFrame()), own->frameBoundingRect(pair.own.rootFrame())) << what;
    for (qreal y = -5; y < size.height() + 20; y += 5)
        for (qreal x : {-5.0, 0.0, 4.0, 11.0, 97.5, 180.0, 296.0, 420.0})
            for (Qt::HitTestAccuracy acc : {Qt::FuzzyHit, Qt::ExactHit})
                ASSERT_EQ(qt->hitTest(QPointF(x, y), acc), own->hitTest(QPointF(x, y), acc))
                    << what << " at " << x << "," << y << (acc == Qt::ExactHit ? " exact" : " fuzzy");
    const int n = pair.qt.characterCount() - 1;
    const int from = n / 5, to = n / 2 + 3, cursor = n * 2 / 3;
    EXPECT_EQ(picture(pair.qt, from, to, cursor), picture(pair.own, from, to, cursor)) << what;
}

std::string words(std::mt19937& rnd, int count) {
    static const char* const pool[] = {"a", "panel", "of", "wrapped", "prose,", "Qt", "lays", "out", "x", "translation"};
    std::string s;
    for (int i = 0; i < count; ++i) s += std::string(i ? " " : "") + pool[rnd() % 10];
    return s;
}

TEST(PanelLayoutTest, StandsWhereQtsOwnLayoutPutsTheText) {
    Pair pair;
    std::mt19937 rnd(7);
    QTextCharFormat big;
    big.setFontPointSize(22);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(Qt::red);
    const std::string run(700, 'q');
    const QString prose = QString::fromStdString(words(rnd, 60));
    QStringList lines;  // made once: each edit is made to both documents
    for (int i = 0; i < 52; ++i) lines << QString::fromStdString(words(rnd, 1 + i % 5));
    // Many lines, then edits at the edges and in the middle.
    const struct {
        const char* what;
        std::function<void(QTextCursor&)> edit;
    } steps[] = {
        {"a text of many kinds of line",
         [&](QTextCursor& c) {
             c.insertText("1. first\n\n" + prose + "\n" + QString::fromStdString(run) + " tail\ncol\tumn\ttabs\n");
             c.insertText("large letters", big);
             c.insertText(" and small\n");
             for (int i = 0; i < 40; ++i) c.insertText(QString("%1. entry %2\n").arg(i + 2).arg(lines[i]));
             c.insertText("bold red", bold);
             c.insertText(" last line");
         }},
        {"a letter at the very start", [](QTextCursor& c) { c.insertText("W"); }},
        {"a letter at the very end",
         [](QTextCursor& c) {
             c.movePosition(QTextCursor::End);
             c.insertText("!");
         }},
        {"a paragraph split in the middle",
         [](QTextCursor& c) {
             c.setPosition(30);
             c.insertText("\n");
         }},
        {"two paragraphs joined",
         [](QTextCursor& c) {
             c.setPosition(12);
             c.setPosition(31, QTextCursor::KeepAnchor);
             c.removeSelectedText();
         }},
        {"a line grows to wrap",
         [&](QTextCursor& c) {
             c.setPosition(2);
             c.insertText(prose);
         }},
        {"a word made large",
         [&](QTextCursor& c) {
             c.setPosition(40);
             c.setPosition(52, QTextCursor::KeepAnchor);
             c.mergeCharFormat(big);
         }},
        {"lines pasted before the end",
         [&](QTextCursor& c) {
             c.movePosition(QTextCursor::End);
             c.movePosition(QTextCursor::StartOfBlock);
             for (int i = 0; i < 12; ++i) c.insertText(lines[40 + i].repeated(1 + i % 4) + "\n");
         }},
        {"a list renumbered in one edit",
         [&](QTextCursor& c) {
             c.beginEditBlock();
             for (QTextBlock b = c.document()->findBlockByNumber(8); b.isValid(); b = b.next().isValid() ? b.next().next() : QTextBlock()) {
                 c.setPosition(b.position());
                 c.insertText(b.blockNumber() % 4 ? "9" : prose.left(90));
             }
             c.endEditBlock();
         }},
        {"everything but the last line taken",
         [](QTextCursor& c) {
             c.movePosition(QTextCursor::End);
             c.movePosition(QTextCursor::StartOfBlock);
             const int last = c.position();
             c.setPosition(0);
             c.setPosition(last, QTextCursor::KeepAnchor);
             c.removeSelectedText();
         }},
    };
    for (const auto& step : steps) {
        pair.edit(step.edit);
        expect_same(pair, step.what);
        if (HasFatalFailure()) return;
    }
    // Edits while the layout is suspended (a null page size), told of when the page is back.
    pair.both([](QTextDocument& d) { d.setPageSize(QSizeF(0, 0)); });
    pair.edit([&](QTextCursor& c) {
        c.insertText(prose + "\n\n");
        c.movePosition(QTextCursor::End);
        c.insertText("\n" + lines.join("\n"));
    });
    pair.both([](QTextDocument& d) { d.setPageSize(QSizeF(300, -1)); });
    expect_same(pair, "edits while suspended");
    if (HasFatalFailure()) return;
    // The panel's width changed, and again, then a text that is not wrapped (laid out for the
    // panel's width, and for none, as QTextEdit lays out text without alignment).
    for (qreal width : {180.0, 520.0, 250.0, 0.0}) {
        pair.edit([&](QTextCursor& c) { c.insertText(prose + "\n" + QString::fromStdString(run) + "\nshort\n"); });
        pair.both([&](QTextDocument& d) {
            if (width == 250 || width == 0) {
                QTextOption o = d.defaultTextOption();
                o.setWrapMode(QTextOption::NoWrap);
                d.setDefaultTextOption(o);
            }
            d.setPageSize(QSizeF(width, -1));
        });
        expect_same(pair, "width " + std::to_string(width));
        if (HasFatalFailure()) return;
    }
}

TEST(PanelLayoutTest, ALargeEditWaitsForIdleTimeAndLosesNothing) {
    Pair pair;
    std::mt19937 rnd(11);
    QString text;
    for (int i = 0; i < 1000; ++i) text += QString("%1. %2\n").arg(i + 1).arg(QString::fromStdString(words(rnd, 1 + i % 7)));
    pair.edit([&](QTextCursor& c) { c.insertText(text); });
    pair.own.documentLayout()->documentSize();
    PanelLayout::lay_out_whole(pair.own);
    ASSERT_EQ(pair.layout->waiting(), 0);
    // Every line renumbered in one edit: not laid out at once, laid out while idle.
    pair.edit([](QTextCursor& c) {
        c.beginEditBlock();
        for (QTextBlock b = c.document()->firstBlock(); b.isValid(); b = b.next()) {
            c.setPosition(b.position());
            c.insertText("1");
        }
        c.endEditBlock();
    });
    EXPECT_GT(pair.layout->waiting(), 800);
    for (int turn = 0; turn < 100'000 && pair.layout->waiting() > 0; ++turn) QCoreApplication::processEvents();
    EXPECT_EQ(pair.layout->waiting(), 0);
    expect_same(pair, "after idle time");
}

// ---- Two panels side by side, compared before idle time -----------------------------------

// Two QTextEdits: `qt` with Qt's own layout, `own` with PanelLayout set up as a rich-edit panel
// sets it (no rich paste, left to right, laid out for the viewport's kept resolution).
struct Panels {
    QTextEdit qt, own;
    ViewportMetrics metrics{*own.viewport()};
    PanelLayout* layout = nullptr;
    Panels() {
        layout = PanelLayout::install(*own.document());
        own.document()->documentLayout()->setPaintDevice(&metrics);
        for (QTextEdit* e : {&qt, &own}) {
            e->setAcceptRichText(false);
            e->setUndoRedoEnabled(false);
            QTextOption option = e->document()->defaultTextOption();
            option.setTextDirection(Qt::LeftToRight);
            e->document()->setDefaultTextOption(option);
            e->resize(420, 320);
            e->show();
        }
    }
    void both(const std::function<void(QTextEdit&)>& f) {
        f(qt);
        f(own);
    }
};

// Prose of Latin and Cyrillic words with tabs and soft hyphens (or, `plain`, without); `chars` at
// least.
QString prose(std::mt19937& rnd, int chars, bool plain = false) {
    static const char16_t* const pool[] = {u"the", u"panel", u"стряха", u"родната", u"по-топла", u"x", u"translation",
                                           u"Qt", u"co\u00ADoperation", u"\t", u"пре\u00ADвод\u00ADач", u"a\tb"};
    QString s;
    while (s.size() < chars) {
        if (!s.isEmpty()) s += u' ';
        s += QString::fromUtf16(pool[rnd() % (plain ? 8 : std::size(pool))]);
    }
    return s;
}

// `count` paragraphs of one to four lines.
QString paragraphs(std::mt19937& rnd, int count) {
    QStringList list;
    for (int i = 0; i < count; ++i) list << prose(rnd, 1 + static_cast<int>(rnd() % 180));
    return list.join(u'\n');
}

// The panel's text laid out whole, and its size told to its scroll bars now (Qt's own layout
// tells it from a timer).
void lay_out_whole(QTextEdit& e) {
    QAbstractTextDocumentLayout* layout = e.document()->documentLayout();
    PanelLayout::lay_out_whole(*e.document());
    emit layout->documentSizeChanged(layout->documentSize());
}

// Where the panel puts the cursor in its document.
QRect in_document(const QTextEdit& e, const QTextCursor& c) {
    return e.cursorRect(c).translated(e.horizontalScrollBar()->value(), e.verticalScrollBar()->value());
}

// What the user meets in both panels is the same: the caret and the view after
// ensureCursorVisible, cursor rectangles, QTextCursor's line moves, the scroll bars and hit tests
// at whole and fractional points. Everything asked of `own` is asked before idle time, except the
// height of the document, which counts with guesses below what was asked until then.
// Idle time: until every paragraph is laid out and what a paint changed meanwhile is told.
void idle(Panels& p) {
    for (int turn = 0; turn < 100'000 && p.layout->waiting() > 0; ++turn) QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// After a change of width or font (`setting_changed`) the view keeps its scroll value, clamped to
// the document's height, which is known below the view only after idle time, and a text that is
// not wrapped is as wide as its longest line, known after idle time too (the horizontal bar shows
// or not, and the view is clamped to its width): the caret is then compared in the document; and where the vertical bar shows in one panel only (the new height of a
// short text unknown), the text is wrapped for another width until then: idle time comes first.
void expect_same_panels(Panels& p, std::mt19937& rnd, const std::string& what, bool setting_changed = false) {
    lay_out_whole(p.qt);  // the reference is a full layout
    if (setting_changed && p.qt.verticalScrollBar()->isVisible() != p.own.verticalScrollBar()->isVisible()) idle(p);
    p.both([](QTextEdit& e) { e.ensureCursorVisible(); });
    if (!setting_changed && p.qt.lineWrapMode() != QTextEdit::NoWrap) {
        EXPECT_EQ(p.qt.verticalScrollBar()->value(), p.own.verticalScrollBar()->value()) << what << ": the view";
        EXPECT_EQ(p.qt.cursorRect(), p.own.cursorRect()) << what << ": the caret at " << p.qt.textCursor().position();
    }
    EXPECT_EQ(in_document(p.qt, p.qt.textCursor()), in_document(p.own, p.own.textCursor())) << what << ": the caret";
    p.both([](QTextEdit& e) { e.viewport()->repaint(); });  // the view painted: what a click then meets
    const int length = p.qt.document()->characterCount();
    for (int i = 0; i < 6; ++i) {
        QTextCursor a(p.qt.document()), b(p.own.document());
        const int at = static_cast<int>(rnd() % static_cast<unsigned>(length));
        a.setPosition(at);
        b.setPosition(at);
        const QTextCursor::MoveOperation op[] = {QTextCursor::Down, QTextCursor::Up, QTextCursor::EndOfLine,
                                                 QTextCursor::StartOfLine};
        const QTextCursor::MoveOperation move = op[rnd() % 4];
        const int times = move == QTextCursor::Down || move == QTextCursor::Up ? 1 + static_cast<int>(rnd() % 40) : 1;
        a.movePosition(move, QTextCursor::MoveAnchor, times);
        b.movePosition(move, QTextCursor::MoveAnchor, times);
        EXPECT_EQ(a.position(), b.position()) << what << ": move " << move << " x" << times << " from " << at;
        EXPECT_EQ(in_document(p.qt, a), in_document(p.own, b)) << what << ": position " << a.position();
    }
    // Points anywhere, in the view, and at the document's end.
    const QSizeF size = p.qt.document()->documentLayout()->documentSize();
    const int view = p.qt.verticalScrollBar()->value();
    for (int i = 0; i < 56; ++i) {
        const int y4 = i < 24   ? static_cast<int>(rnd() % static_cast<unsigned>(size.height() * 4 + 40)) - 20
                       : i < 52 ? 4 * view + static_cast<int>(rnd() % static_cast<unsigned>(4 * p.qt.viewport()->height()))
                                : static_cast<int>(size.height() * 4) - static_cast<int>(rnd() % 160) + 20;
        const QPointF at(static_cast<qreal>(rnd() % 4400) / 10 - 10 + (i % 2 ? 0.0 : 0.5), y4 / 4.0);
        for (Qt::HitTestAccuracy acc : {Qt::FuzzyHit, Qt::ExactHit})
            EXPECT_EQ(p.qt.document()->documentLayout()->hitTest(at, acc),
                      p.own.document()->documentLayout()->hitTest(at, acc))
                << what << ": hit at " << at.x() << "," << at.y() << (acc == Qt::ExactHit ? " exact" : " fuzzy");
    }
    // After idle time the height is known too.
    idle(p);
    EXPECT_EQ(size, p.own.document()->documentLayout()->documentSize()) << what;
    for (auto bar : {&QAbstractScrollArea::verticalScrollBar, &QAbstractScrollArea::horizontalScrollBar}) {
        EXPECT_EQ((p.qt.*bar)()->maximum(), (p.own.*bar)()->maximum()) << what << ": a scroll bar's range";
        (p.own.*bar)()->setValue((p.qt.*bar)()->value());  // the next step starts from the same view
    }
}

// `steps` random steps from `seed`, each compared.
void compare_random_steps(unsigned seed, int steps) {
    std::mt19937 rnd(seed);
    Panels p;
    const QString start = "first line\n" + paragraphs(rnd, 4);
    p.both([&](QTextEdit& e) { e.setPlainText(start); });
    expect_same_panels(p, rnd, "a short text");
    for (int step = 0; step < steps && !::testing::Test::HasFailure(); ++step) {
        const int length = p.qt.document()->characterCount() - 1;
        const auto at = [&] { return static_cast<int>(rnd() % static_cast<unsigned>(length + 1)); };
        std::string what = "step " + std::to_string(step) + ": ";
        const unsigned kind = rnd() % 7;
        switch (kind) {
            case 0: {  // a key or a word typed, a stretch deleted, or a paragraph split
                const int from = at(), to = std::min(length, from + static_cast<int>(rnd() % 3 ? 0 : rnd() % 40));
                const QString text = rnd() % 4 ? prose(rnd, 1 + static_cast<int>(rnd() % 6)) : QString("\n");
                what += "typed at " + std::to_string(from);
                p.both([&](QTextEdit& e) {
                    QTextCursor c(e.document());
                    c.setPosition(from);
                    c.setPosition(to, QTextCursor::KeepAnchor);
                    e.setTextCursor(c);
                    e.insertPlainText(text);
                });
                break;
            }
            case 1: {  // a paste of many paragraphs, or of a paragraph of 16,384 characters or more
                const int from = rnd() % 2 ? length : at();
                const unsigned kind_of_text = rnd() % 6;
                const int size = kind_of_text < 4 ? 10 + static_cast<int>(rnd() % 50) : 16'384 + static_cast<int>(rnd() % 3000);
                const QString text = kind_of_text < 4 ? paragraphs(rnd, size) : "\n" + prose(rnd, size, kind_of_text == 5) + "\n";
                what += "pasted at " + std::to_string(from);
                p.both([&](QTextEdit& e) {
                    QTextCursor c(e.document());
                    c.setPosition(from);
                    e.setTextCursor(c);
                    e.insertPlainText(text);
                });
                break;
            }
            case 2: {  // parts of the text replaced with the layout suspended, as the sync's bulk mode does
                what += "replaced in bulk";
                std::vector<std::pair<int, QString>> parts;
                for (int i = 0; i < 3; ++i) parts.emplace_back(at(), prose(rnd, static_cast<int>(rnd() % 200)));
                std::sort(parts.begin(), parts.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
                const int cut = static_cast<int>(rnd() % 120);
                p.both([&](QTextEdit& e) {
                    QTextDocument* d = e.document();
                    const QSizeF page = d->pageSize();
                    const QPoint scroll(e.horizontalScrollBar()->value(), e.verticalScrollBar()->value());
                    d->setPageSize(QSizeF(0, 0));
                    QTextCursor c(d);
                    c.beginEditBlock();
                    for (const auto& [pos, text] : parts) {
                        c.setPosition(pos);
                        c.setPosition(std::min(pos + cut, d->characterCount() - 1), QTextCursor::KeepAnchor);
                        c.insertText(text);
                    }
                    c.endEditBlock();
                    d->setPageSize(page);
                    // The view stays where it was (the sync lays the text out for the scroll bars).
                    if (scroll.x() > 0 || scroll.y() > 0) {
                        lay_out_whole(e);
                        e.horizontalScrollBar()->setValue(scroll.x());
                        e.verticalScrollBar()->setValue(scroll.y());
                    }
                });
                break;
            }
            case 3: {  // the panel resized, or narrowed by a scroll bar's width
                const bool narrowed = rnd() % 2;
                const int w = narrowed ? p.qt.width() - 14 : 200 + static_cast<int>(rnd() % 500);
                const int h = narrowed ? p.qt.height() : 150 + static_cast<int>(rnd() % 300);
                what += "resized to " + std::to_string(w) + "x" + std::to_string(h);
                p.both([&](QTextEdit& e) { e.resize(w, h); });
                break;
            }
            case 4: {  // another font
                const int size = 7 + static_cast<int>(rnd() % 12);
                what += "font of " + std::to_string(size) + " points";
                p.both([&](QTextEdit& e) {
                    QFont f = e.font();
                    f.setPointSize(size);
                    e.setFont(f);
                });
                break;
            }
            case 5: {  // the text wrapped at the panel's width, or not at all
                const bool wrap = p.qt.lineWrapMode() == QTextEdit::NoWrap;
                what += wrap ? "wrapped" : "not wrapped";
                p.both([&](QTextEdit& e) { e.setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap); });
                break;
            }
            default: {  // a key typed into a long paragraph or the caret moved there, if there is one
                QTextBlock b = p.qt.document()->firstBlock();
                while (b.isValid() && b.length() < 16'384) b = b.next();
                const int pos = b.isValid() ? b.position() + static_cast<int>(rnd() % static_cast<unsigned>(b.length() - 1)) : at();
                const QString key = rnd() % 3 == 0 ? QString() : rnd() % 2 ? QString(u'\t') : QString(QChar(0xAD));
                what += (b.isValid() && !key.isEmpty() ? "a key in a long paragraph at " : "the caret moved to ") + std::to_string(pos);
                p.both([&](QTextEdit& e) {
                    QTextCursor c(e.document());
                    c.setPosition(pos);
                    e.setTextCursor(c);
                    if (b.isValid() && !key.isEmpty()) e.insertPlainText(key);
                });
                break;
            }
        }
        expect_same_panels(p, rnd, what, kind >= 3 && kind <= 5);
    }
}

TEST(PanelLayoutTest, APanelAnswersAsQtsOwnLayoutBeforeIdleTime) {
    // JUX_LAYOUT_STEPS and JUX_LAYOUT_SEED make a longer or another run.
    const char* steps_env = std::getenv("JUX_LAYOUT_STEPS");
    const char* seed_env = std::getenv("JUX_LAYOUT_SEED");
#if defined(__SANITIZE_THREAD__)
    const int default_steps = 60;  // each step several times slower under ThreadSanitizer
#else
    const int default_steps = 150;
#endif
    const int steps = steps_env ? std::atoi(steps_env) : default_steps;
    if (seed_env) {
        compare_random_steps(static_cast<unsigned>(std::atoi(seed_env)), steps);
        return;
    }
    compare_random_steps(5, steps);
    // Seed 1's tenth step pastes ten paragraphs into a long one: its head counts with the whole
    // paragraph's height until laid out, its tail (the caret's paragraph) with one line's. Told the
    // size between the two, the panel pulled its view up to it.
    if (!HasFailure()) compare_random_steps(1, steps / 5);
}

// A large text put in front of the caret (a file opened, a report written) leaves the caret at
// its end. Moving the caret to the top then lays out no more than the panel shows: not the old
// caret's place (asked about only to repaint it), not the text while a job pumps the event loop
// (that is not idle time), not below the view when the view is put at the top; and what the
// user meets is where a full layout puts it, then and after idle time.
TEST(PanelLayoutTest, AViewAtTheTopOfALargeTextLaysOutNoMoreThanItShows) {
    std::mt19937 rnd(3);
    Panels p;
    const QString text = paragraphs(rnd, 3000);
    p.both([&](QTextEdit& e) {
        // Put in as a panel's sync puts a large change in: the layout suspended meanwhile.
        const QSizeF page = e.document()->pageSize();
        e.document()->setPageSize(QSizeF(0, 0));
        QTextCursor(e.document()).insertText(text);
        e.document()->setPageSize(page);
    });
    ASSERT_EQ(p.own.textCursor().position(), p.own.document()->characterCount() - 1);
    const int waiting = p.layout->waiting();
    ASSERT_GT(waiting, 2900);
    {
        const PanelLayout::Busy busy;
        for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
    }
    // The pumps paint the view (some 20 lines); idle time would lay out 16 paragraphs a turn.
    EXPECT_GE(p.layout->waiting(), waiting - 20) << "laid out while a job pumps";
    p.qt.setTextCursor(QTextCursor(p.qt.document()));
    {
        const QTextCursor old = p.own.textCursor();
        const PanelLayout::Leaving leaving(*p.own.document(), old.anchor(), old.position(), 0, 0);
        p.own.setTextCursor(QTextCursor(p.own.document()));
    }
    PanelLayout::lay_out_above(*p.own.document(), p.own.viewport()->height());
    p.own.verticalScrollBar()->setValue(0);
    EXPECT_GT(p.layout->waiting(), waiting - 100) << "laid out beyond the view";
    expect_same_panels(p, rnd, "the caret at the top");
    idle(p);
    EXPECT_EQ(p.layout->waiting(), 0);
    expect_same_panels(p, rnd, "after idle time");
}

}  // namespace
