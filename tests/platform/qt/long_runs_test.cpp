// A Qt panel whose text holds a long run of letters without a blank (a blob of data) is wrapped
// anywhere, which Qt lays out in time linear in the run; it wraps at word boundaries again once
// the last such run is gone. The run may come and go by the program's text, a paste, a key.
// A long paragraph, run or prose, keeps its layout's work between Qt's questions about it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextLayout>
#include <functional>

#include "support/qt_panel.h"

namespace {

class LongRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        re = jux_test::make_qt_panel();
        RE_LimitText(re, 1 << 24);
    }
    void TearDown() override {
        platform_reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, k, mods);
        QApplication::sendEvent(jux_test::shown_panel(re), &press);
    }
    HWND re = nullptr;
};

TEST_F(LongRunTest, TheDocumentWrapsAnywhereWhileItHoldsALongRun) {
    const std::u16string run(30'000, u'q'), part(4'000, u'z');
    std::u16string words;
    for (int i = 0; i < 2'000; ++i) words += u"word ";
    const struct {
        const char* what;
        std::function<void()> act;
        bool anywhere;
    } steps[] = {
        {"prose", [&] { RE_SetTextW(re, u"a few words\rof prose"); }, false},
        {"the program writes two runs", [&] { RE_SetTextW(re, u"a " + run + u" b " + run + u" c"); }, true},
        {"one run goes, the other stays",
         [&] {
             RE_SetSel(re, CHARRANGE{2, 2 + 30'000});
             RE_ReplaceSel(re, u"x", false);
         },
         true},
        {"the program writes prose", [&] { RE_SetTextW(re, u"a few words"); }, false},
        {"a paste holding a run",
         [&] {
             QApplication::clipboard()->setText(QString::fromStdU16String(run));
             key(Qt::Key_V, Qt::ControlModifier);
         },
         true},
        {"Ctrl+A and Delete",
         [&] {
             key(Qt::Key_A, Qt::ControlModifier);
             key(Qt::Key_Delete);
         },
         false},
        {"two short runs", [&] { RE_SetTextW(re, part + u" " + part); }, false},
        {"a Backspace joins them",
         [&] {
             RE_SetSel(re, CHARRANGE{4'001, 4'001});
             key(Qt::Key_Backspace);
         },
         true},
        {"two paragraphs of prose", [&] { RE_SetTextW(re, words + u"\r" + words); }, false},
        {"a Backspace joins them into a long one",
         [&] {
             RE_SetSel(re, CHARRANGE{10'001, 10'001});
             key(Qt::Key_Backspace);
         },
         false},
    };
    for (const auto& s : steps) {
        s.act();
        const QTextEdit* edit = jux_test::shown_panel(re);
        EXPECT_EQ(edit->wordWrapMode(),
                  s.anywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere)
            << s.what;
        EXPECT_EQ(jux_test::panel_difference(re), "") << s.what;
        for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next())
            EXPECT_TRUE(b.length() < 16'384 || b.layout()->cacheEnabled()) << s.what << ", paragraph " << b.blockNumber();
    }
    EXPECT_EQ(RE_GetTextLength(re), 20'000);
}

}  // namespace
