// A panel's document laid out by PanelLayout stands where Qt's own document layout puts it: the
// same paragraph rectangles, document size, hit positions and pixels, after every edit of a
// sequence that touches the document's edges, joins and splits paragraphs, changes fonts and the
// width, and renumbers many lines in one edit (whose paragraphs wait for idle time).
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>
#include <random>
#include <string>

#include "platform/qt/qt_panel_layout.h"

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
    for (int i = 0; i < 400; ++i) text += QString("%1. %2\n").arg(i + 1).arg(QString::fromStdString(words(rnd, 1 + i % 7)));
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
    EXPECT_GT(pair.layout->waiting(), 300);
    for (int turn = 0; turn < 100'000 && pair.layout->waiting() > 0; ++turn) QCoreApplication::processEvents();
    EXPECT_EQ(pair.layout->waiting(), 0);
    expect_same(pair, "after idle time");
}

}  // namespace
