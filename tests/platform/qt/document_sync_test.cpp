// The Qt panel's document kept up to date with the core's model (offscreen): the stretches in which
// two texts differ, random edits of every kind against the model, and a long report written anew
// with a few changes far apart, of which only the changes are set again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <random>

#include "platform/qt/qt_document_sync.h"
#include "platform/qt/qt_richedit.h"
#include "platform/text.h"
#include "support/qt_main.h"
#include "support/qt_panel.h"

namespace {

// `count` numbered lines of 22 characters each.
std::u16string numbered(int count) {
    std::u16string s;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(10000 + i).substr(1);
        s += u"line " + std::u16string(n.begin(), n.end()) + u" of the list\r";
    }
    return s;
}

std::u16string with(std::u16string s, std::size_t at, std::size_t removed, std::u16string_view put) {
    return s.replace(at, removed, put);
}

void colour(HWND re, LONG from, LONG to, COLORREF c, DWORD effects) {
    RE_SetSel(re, CHARRANGE{from, to});
    CHARFORMAT2W f;
    f.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
    f.dwEffects = effects;
    f.crTextColor = c;
    RE_SetCharFormat(re, SCF_SELECTION, f);
}

class DocumentSyncTest : public ::testing::Test {
protected:
    void SetUp() override { re = jux_test::make_qt_panel(); }
    void TearDown() override {
        platform_reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    HWND re = nullptr;
};

TEST(ChangedStretches, EachChangeApartCutToItsCharacters) {
    const std::u16string l = numbered(100);  // line k starts at 22 * k
    struct Case {
        const char* what;
        std::u16string a, b;
        int most_edits;
        std::vector<ChangedStretch> want;
    };
    const Case cases[] = {
        {"the same", l, l, 64, {}},
        {"a short text", u"abc", u"aXc", 64, {{1, 2, 1, 2}}},
        {"two letters far apart", with(with(l, 2, 1, u"X"), 22 * 80 + 7, 1, u"Y"), l, 64,
         {{2, 3, 2, 3}, {22 * 80 + 7, 22 * 80 + 8, 22 * 80 + 7, 22 * 80 + 8}}},
        {"a line put in", with(l, 22 * 50, 0, u"new\r"), l, 64, {{22 * 50, 22 * 50 + 4, 22 * 50, 22 * 50}}},
        {"a line taken out and a letter changed before it", with(with(l, 22 * 60, 22, u""), 3, 1, u"Z"), l, 64,
         {{3, 4, 3, 4}, {22 * 60, 22 * 60, 22 * 60, 22 * 61}}},
        {"more changed lines than the diff takes", with(with(with(l, 5, 1, u"1"), 22 * 40, 1, u"2"), 22 * 90, 1, u"3"), l,
         2, {{5, 22 * 90 + 1, 5, 22 * 90 + 1}}},
    };
    for (const Case& c : cases) EXPECT_EQ(changed_stretches(c.a, c.b, c.most_edits), c.want) << c.what;
}

// Steps 1 and 2 of a sync: the common start and end, the stretches between, and where the kept
// text stands in the model (a letter taken out shifts what follows it, so the text on its two
// sides is two kept stretches).
TEST(SyncSteps, TextChangesAndTheKeptTextsPlaces) {
    struct Case {
        const char* what;
        std::u16string model, doc;
        std::size_t head, tail;
        std::vector<ChangedStretch> stretches;
        std::vector<KeptStretch> kept;  // of the texts compared from position 10
    };
    const Case cases[] = {
        {"the same", u"abc", u"abc", 3, 0, {}, {{10, 13, 0}}},
        {"a letter taken out", u"родната", u"роднрата", 4, 3, {{0, 0, 0, 1}}, {{10, 14, 0}, {15, 18, -1}}},
        {"a letter put in at the end", u"ab", u"a", 1, 0, {{0, 1, 0, 0}}, {{10, 11, 0}}},
        {"all new", u"xy", u"ab", 0, 0, {{0, 2, 0, 2}}, {}},
    };
    for (const Case& c : cases) {
        const TextChanges t = text_changes(c.model, c.doc);
        EXPECT_EQ(t.head, c.head) << c.what;
        EXPECT_EQ(t.tail, c.tail) << c.what;
        EXPECT_EQ(t.stretches, c.stretches) << c.what;
        EXPECT_EQ(kept_stretches(t, 10, 10 + static_cast<LONG>(c.doc.size()), 10 + static_cast<LONG>(c.model.size())), c.kept)
            << c.what;
    }
}

// Steps 3 to 5, each through a sync of the panel's document: a letter taken out inside a word the
// same sync colours (a fix must not reach over the change of text); a paragraph end the user
// typed, which the model makes bold while it shows nothing, then shown by another Return (the
// copy of a long document must know the format the document kept there); a shown paragraph end
// that changes only its size; a line separator from Qt's insertion of a paste, which the document must hold as a
// paragraph end. After each, the document shows the model and the copy the document.
TEST_F(DocumentSyncTest, EachStepKeepsItsPartOfWhatTheDocumentShows) {
    auto shows = [&](const char* what) {
        EXPECT_EQ(jux_test::panel_difference(re), "") << what;
        QTextEdit* edit = jux_test::shown_panel(re);
        EXPECT_EQ(static_cast<RichEditWidget*>(edit)->document_sync().copy_difference(), "") << what;
        const std::u16string t = RE_GetTextW(re);
        EXPECT_EQ(edit->document()->blockCount(), 1 + std::count(t.begin(), t.end(), u'\r')) << what;
    };
    auto press = [&](int key, const QString& text) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(jux_test::shown_panel(re), &e);
    };
    for (const std::u16string& rest : {std::u16string(), numbered(300)}) {  // short, and kept in a copy
        RE_SetTextW(re, u"от роднрата и\r" + rest);
        jux_test::shown_panel(re);
        RE_SetRedraw(re, false);
        RE_SetSel(re, CHARRANGE{7, 8});
        RE_ReplaceSel(re, u"", false);
        colour(re, 3, 10, RGB(200, 0, 0), CFE_BOLD);
        RE_SetRedraw(re, true);
        shows("a letter out of a word coloured anew");

        RE_SetTextW(re, u"abcd\r" + rest);
        RE_SetSel(re, CHARRANGE{2, 2});
        press(Qt::Key_Return, QStringLiteral("\r"));
        colour(re, 2, 3, RGB(0, 0, 200), CFE_BOLD);  // the typed end, followed by text, shows nothing
        RE_SetSel(re, CHARRANGE{3, 3});
        press(Qt::Key_Return, QStringLiteral("\r"));  // now it ends a paragraph before an empty one
        shows("an end kept while it showed nothing, then shown");

        CHARFORMAT2W size;
        size.dwMask = CFM_SIZE;
        size.yHeight = 400;
        RE_SetSel(re, CHARRANGE{2, 3});
        RE_SetCharFormat(re, SCF_SELECTION, size);
        shows("a shown end of another size");

        QApplication::clipboard()->setText(QStringLiteral("x\u2028y"));
        RE_SetSel(re, CHARRANGE{0, 0});
        QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
        QApplication::sendEvent(jux_test::shown_panel(re), &paste);
        EXPECT_EQ(RE_GetTextW(re).substr(0, 4), u"x\rya");
        shows("a line separator pasted");
    }
}

// Random edits of text, formats and selection, by the program (with redrawing on or off) and by
// the user typing into the widget, in short and long texts: after each batch the document shows
// the model, as the test sees it and as the backend's own check sees it.
TEST_F(DocumentSyncTest, RandomEditsLeaveTheDocumentShowingTheModel) {
    std::mt19937 rnd(20261208);
    auto below = [&](LONG n) { return n > 0 ? static_cast<LONG>(rnd() % static_cast<unsigned>(n)) : 0; };
    auto some_text = [&] {
        static constexpr char16_t kUnits[] = u"ab жЯ\r\r.,";
        std::u16string s = below(8) ? u"" : numbered(below(150));  // now and then whole lines
        for (LONG n = below(40); n > 0; --n) s += kUnits[below(static_cast<LONG>(std::size(kUnits)) - 1)];
        return s;
    };
    auto range = [&](LONG* from, LONG* to) {
        const LONG n = RE_GetTextLength(re);
        *from = below(n + 1);
        *to = std::min(n, *from + below(rnd() % 4 ? 30 : 3000));
    };
    const COLORREF colours[] = {0, RGB(200, 0, 0), RGB(0, 0, 200)};
    RE_SetTextW(re, numbered(300));  // 6,600 characters: the panel keeps a copy of its document
    for (int batch = 0; batch < 200; ++batch) {
        const bool redraw_off = rnd() % 3 == 0;
        if (redraw_off) RE_SetRedraw(re, false);
        for (int op = 1 + below(6); op > 0; --op) {
            LONG from = 0, to = 0;
            range(&from, &to);
            switch (below(6)) {
                case 0: colour(re, from, to, colours[below(3)], static_cast<DWORD>(below(8))); break;
                case 1: RE_SetSel(re, CHARRANGE{from, to}); RE_ReplaceSel(re, some_text(), false); break;
                case 2: {  // the whole text written anew, as a re-check writes its report
                    std::u16string t = RE_GetTextW(re);
                    for (int k = below(4); k > 0; --k) {
                        const auto at = static_cast<std::size_t>(below(static_cast<LONG>(t.size()) + 1));
                        t.replace(at, std::min<std::size_t>(t.size() - at, static_cast<std::size_t>(below(30))), some_text());
                    }
                    if (below(3) == 0) {  // another text shown in its place first (the entry at the caret)
                        RE_SetTextW(re, numbered(below(400)));
                        jux_test::shown_panel(re);
                    }
                    RE_SetTextW(re, t);
                    for (LONG at = below(50); at < static_cast<LONG>(t.size()); at += 40 + below(200))
                        colour(re, at, at + below(20), colours[below(3)], static_cast<DWORD>(below(8)));
                    break;
                }
                case 3: {  // the user types where the caret stands
                    if (redraw_off) break;
                    QString key = below(4) ? QStringLiteral("ж") : QStringLiteral("\r");
                    const std::u16string t = RE_GetTextW(re);
                    // Typed over itself: a letter, or a paragraph end before an empty paragraph.
                    const std::size_t same = t.find(key == "\r" ? u"\r\r" : u"ж", static_cast<std::size_t>(from));
                    if (below(3) == 0 && same != std::u16string::npos)
                        RE_SetSel(re, CHARRANGE{static_cast<LONG>(same), static_cast<LONG>(same) + 1});
                    else
                        RE_SetSel(re, CHARRANGE{from, from + below(3)});
                    if (below(4) == 0) key.clear();  // Backspace
                    QKeyEvent press(QEvent::KeyPress, key.isEmpty() ? Qt::Key_Backspace : key == "\r" ? Qt::Key_Return : 0x0416,
                                    Qt::NoModifier, key);
                    QApplication::sendEvent(jux_test::shown_panel(re), &press);
                    break;
                }
                default: RE_SetSel(re, CHARRANGE{from, to}); break;
            }
        }
        if (redraw_off) RE_SetRedraw(re, true);
        ASSERT_EQ(jux_test::panel_difference(re), "") << "batch " << batch;
        std::string why;
        ASSERT_TRUE(document_shows_model(*jux_test::shown_panel(re)->document(), *platform_rich(re), 0, -1, &why))
            << "batch " << batch << ": " << why;
    }
}

// `count` entries of a numbered list ("1. word 1"), an entry "new" put in before entry `at` (none
// when at < 0).
std::u16string list(int count, int at = -1) {
    std::u16string s;
    for (int i = 0, n = 1; i < count; ++i) {
        if (i == at) s += utf8_to_utf16(std::to_string(n++) + ". new\r");
        s += utf8_to_utf16(std::to_string(n++) + ". word " + std::to_string(i) + "\r");
    }
    return s;
}

// A long report written anew after a keystroke: its first line's count and a line thousands of
// lines further down changed (or a line put in, or taken out); an entry put into a numbered list
// of 3,000, which renumbers every entry after it; the report written again after the panel showed
// other long texts in its place, one or several (the entries of the words the caret visited). The
// document is given the changes (a number's changed digits each), not everything between them.
TEST_F(DocumentSyncTest, AReportWrittenAnewSetsOnlyWhatChanged) {
    const std::u16string report = numbered(3000);  // 66,000 characters
    const std::u16string lines = numbered(250);
    const std::u16string backwards = std::u16string(lines.rbegin() + 1, lines.rend()) + u"\r";  // unlike the others
    struct Case {
        const char* what;
        std::u16string before;
        std::vector<std::u16string> between;
        std::u16string next;
        std::size_t most;
    };
    const Case cases[] = {
        {"the count and a line far down", report, {}, with(with(report, 22 * 2500 + 5, 4, u"2500x"), 6, 3, u"7"), 40},
        {"a line put in far down", report, {}, with(with(report, 22 * 2000, 0, u"new line\r"), 5, 4, u"0001"), 40},
        {"a line taken out", report, {}, with(with(report, 22 * 1500, 22, u""), 7, 1, u"9"), 40},
        {"an entry put in first", list(3000), {}, list(3000, 0), 3'400},
        {"an entry put in half way", list(3000), {}, list(3000, 1500), 1'800},
        {"another text shown in between", report, {numbered(200)}, with(report, 22 * 2500 + 5, 4, u"2500x"), 40},
        {"two other texts shown in between", report, {numbered(200), backwards}, with(report, 22 * 2500 + 5, 4, u"2500x"), 40},
        {"three other texts shown in between", report, {backwards, list(600), numbered(200)}, with(report, 6, 3, u"7"), 40},
    };
    auto write = [&](const std::u16string& text) {
        RE_SetRedraw(re, false);
        RE_SetTextW(re, text);
        for (std::size_t at = 0; at < text.size(); at = text.find(u'\r', at) + 1)  // numbers ending in 0, 3, 6, 9 red
            if (at + 8 < text.size() && text[at + 8] >= u'0' && text[at + 8] <= u'9' && (text[at + 8] - u'0') % 3 == 0)
                colour(re, static_cast<LONG>(at) + 5, static_cast<LONG>(at) + 9, RGB(200, 0, 0), 0);
        RE_SetRedraw(re, true);
        jux_test::shown_panel(re);
    };
    for (const Case& c : cases) {
        write(c.before);
        for (const std::u16string& other : c.between) write(other);
        const std::uint64_t before = DocumentSync::totals().characters;
        write(c.next);
        EXPECT_EQ(jux_test::panel_difference(re), "") << c.what;
        EXPECT_LE(DocumentSync::totals().characters - before, c.most) << c.what;
    }
}

// A long paste reaches the model as the user's edit before the document takes it: the model and
// the document get what a short paste of the same lines gives, repeated (line ends of each kind,
// paragraph and line separators, frame characters each make a paragraph end).
TEST_F(DocumentSyncTest, ALongPasteGivesWhatShortOnesGive) {
    const std::u16string pieces[] = {u"ab\ncd ", u"x\r\ny\tж", u"p\u2029q\u2028r", u"s\uFDD0t"};
    auto paste = [&](const std::u16string& s) {
        RE_SetTextW(re, u"[]");
        RE_SetSel(re, CHARRANGE{1, 1});
        QApplication::clipboard()->setText(to_qstring(s));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
        QApplication::sendEvent(jux_test::shown_panel(re), &press);
        return RE_GetTextW(re);
    };
    RE_LimitText(re, 1'000'000);
    for (const std::u16string& piece : pieces) {
        const std::u16string one = paste(piece);
        std::u16string many, want = u"[";
        while (many.size() < 200'000) many += piece, want += one.substr(1, one.size() - 2);
        const std::u16string got = paste(many);
        EXPECT_TRUE(got == want + u"]") << "differs at " << std::mismatch(got.begin(), got.end(), want.begin(), want.end()).first - got.begin();
        EXPECT_EQ(jux_test::panel_difference(re), "");
    }
    RE_LimitText(re, 32'767);  // the core cuts the paste to the limit: the document takes what it kept
    EXPECT_EQ(paste(std::u16string(100'000, u'ж')).size(), 32'767u);
    EXPECT_EQ(jux_test::panel_difference(re), "");
}

}  // namespace

int main(int argc, char** argv) { return jux_test::run_qt_tests(argc, argv); }
