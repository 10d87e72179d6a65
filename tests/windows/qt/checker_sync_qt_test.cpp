// The checker's panels in real Qt widgets (offscreen) after keys typed into the text panel's
// widget: the check recolours right after each key, and keys that arrive while it pumps messages
// (undo, redo) are handled inside it. After each step both panels' documents show their models.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTextEdit>

#include <cstdlib>
#include <random>

#include "engine/worker_pool.h"
#include "platform/qt/qt_richedit.h"

#include "platform/richedit.h"
#include "shell/window_state.h"
#include "support/program_on_qt.h"
#include "support/qt_panel.h"

namespace {

QTextEdit* text_widget() { return qobject_cast<QTextEdit*>(qt_widget(hBigReRight)); }

// Keys posted to the text panel's widget at once, then handled: the second and later ones while
// the first one's check pumps messages.
void post_keys(std::initializer_list<std::pair<int, QString>> keys) {
    for (const auto& [key, text] : keys) {
        const Qt::KeyboardModifiers mods =
            key == Qt::Key_Z || key == Qt::Key_Y || key == Qt::Key_V ? Qt::ControlModifier : Qt::NoModifier;
        QCoreApplication::postEvent(text_widget(), new QKeyEvent(QEvent::KeyPress, key, mods, text));
    }
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Where a panel's document differs from its model, or the sync's copy from the document.
std::string panels_difference() {
    for (auto [re, name] : {std::pair{hBigReRight, "text panel: "}, std::pair{hBigReLeft, "report panel: "}}) {
        std::string d = jux_test::panel_difference(re);
        if (d.empty()) d = static_cast<RichEditWidget*>(jux_test::shown_panel(re))->document_sync().copy_difference();
        if (!d.empty()) return name + d;
    }
    return {};
}

TEST(CheckerSyncQt, ALetterAndCtrlZTogetherLeaveTheColoursOfTheModel) {
    jux_test::ProgramOnQt program("sync_undo");
    ASSERT_TRUE(program.started);
    const std::u16string text = u"Няма по-топла стряха от родната и по-успокоително небе от родното.";
    RE_SetTextW(hBigReRight, text);
    const LONG at = static_cast<LONG>(text.find(u"родната")) + 4;
    RE_SetSel(hBigReRight, CHARRANGE{at, at});
    jux_test::shown_panel(hBigReRight);
    post_keys({{0x0420, QStringLiteral("р")}, {Qt::Key_Z, QString()}});
    EXPECT_EQ(RE_GetTextW(hBigReRight), text);
    EXPECT_EQ(panels_difference(), "");
}

// A key, Ctrl+Z and a blank posted at once at a line start of a long text: the undo comes in while
// the first key's check pumps and is put into the document from the line start on, and the blank's
// sync reads the sync's copy of the paragraph end before it. That end shows nothing and the program
// gave it another size, which the document need not take (the copy knows the document's own).
TEST(CheckerSyncQt, AKeyUndoneAtALineStartOfALongTextAndABlankAfterLeaveTheCopyTrue) {
    jux_test::ProgramOnQt program("sync_undo_long");
    ASSERT_TRUE(program.started);
    std::u16string text;
    for (int i = 0; i < 200; ++i) text += u"Няма по-топла стряха от родната\r";
    const std::pair<int, QString> firsts[] = {{0x0416, QStringLiteral("ж")}, {Qt::Key_Return, QStringLiteral("\r")},
                                              {Qt::Key_Delete, QString()}};
    for (const auto& first : firsts) {
        RE_SetTextW(hBigReRight, text);
        jux_test::shown_panel(hBigReRight);  // checked
        CHARFORMAT2W size;
        size.dwMask = CFM_SIZE;
        size.yHeight = 320;
        RE_SetSel(hBigReRight, CHARRANGE{2'527, 2'528});
        RE_SetCharFormat(hBigReRight, SCF_SELECTION, size);
        RE_SetSel(hBigReRight, CHARRANGE{2'528, 2'528});
        jux_test::shown_panel(hBigReRight);
        post_keys({first, {Qt::Key_Z, QString()}, {Qt::Key_Space, QStringLiteral(" ")}});
        EXPECT_EQ(panels_difference(), "") << "first key " << first.first;
    }
}

// Ordinary prose of `length` characters at least: sentences of known and unknown words, commas,
// lines that end without a mark and lines that end with one.
std::u16string prose(std::size_t length) {
    static const std::u16string sentences[] = {
        u"Няма по-топла стряха от родната и по-успокоително небе от родното. ",
        u"Той каза, че ще дойде утре сутрин, но не дойде",
        u"The quick brown fox jumps over the lazy dog. ",
        u"Тя чете книгата си бавно и внимателно, дума по дума. ",
        u"и едно две три четири пет шест седем осем девет десет",
    };
    std::u16string s;
    for (std::size_t k = 0; s.size() < length; ++k) {
        s += sentences[k % std::size(sentences)];
        if (k % 3 == 2) s += k % 7 == 2 ? u"\r\r" : u"\r";  // now and then an empty line
        else if (s.back() != u' ') s += u' ';
    }
    return s;
}

TEST(CheckerSyncQt, LetterAndTwoReturnsAtTheStartOfALongTextLeaveTheFontOfTheModel) {
    jux_test::ProgramOnQt program("sync_returns");
    ASSERT_TRUE(program.started);
    RE_SetTextW(hBigReRight, prose(4'500));
    RE_SetSel(hBigReRight, CHARRANGE{0, 0});
    jux_test::shown_panel(hBigReRight);
    post_keys({{0x0424, QStringLiteral("ф")}});
    post_keys({{Qt::Key_Return, QStringLiteral("\r")}});
    post_keys({{Qt::Key_Return, QStringLiteral("\r")}});
    EXPECT_EQ(RE_GetTextW(hBigReRight).substr(0, 4), u"ф\r\rН");
    EXPECT_EQ(panels_difference(), "");
}

// A key whose release comes in while the check it started pumps messages: the panels take what
// the check wrote when it has ended, as when the release comes after it, never a half-written
// state (the text's colours reset before the check colours them again).
TEST(CheckerSyncQt, AKeysReleaseDuringItsCheckShowsNothingHalfWritten) {
    jux_test::ProgramOnQt program("sync_release");
    ASSERT_TRUE(program.started);
    RE_SetTextW(hBigReRight, prose(4'500));
    auto set = [] {
        std::uint64_t n = 0;
        for (HWND re : {hBigReRight, hBigReLeft})
            n += static_cast<RichEditWidget*>(jux_test::shown_panel(re))->document_sync().characters_set();
        return n;
    };
    std::uint64_t key_set[2] = {};
    for (bool release_during_check : {false, true}) {
        RE_SetSel(hBigReRight, CHARRANGE{2'000, 2'000});
        const std::uint64_t before = set();
        QKeyEvent press(QEvent::KeyPress, 0x0416, Qt::NoModifier, QStringLiteral("ж"));
        QKeyEvent release(QEvent::KeyRelease, 0x0416, Qt::NoModifier, QStringLiteral("ж"));
        if (release_during_check)
            QCoreApplication::postEvent(text_widget(), new QKeyEvent(QEvent::KeyRelease, 0x0416, Qt::NoModifier, QStringLiteral("ж")));
        QApplication::sendEvent(text_widget(), &press);
        if (!release_during_check) QApplication::sendEvent(text_widget(), &release);
        QCoreApplication::processEvents();
        EXPECT_EQ(panels_difference(), "");
        key_set[release_during_check] = set() - before;
        post_keys({{Qt::Key_Backspace, QString()}});
    }
    EXPECT_LE(key_set[1], key_set[0] + 20);
}

// Seeded random keys typed into the text panel's widget of a text over the size at which a panel
// keeps a copy of its document: letters that make and mend unknown words, Return, Backspace and
// Delete, Ctrl+Z and Ctrl+Y alone or arriving while a key's check pumps and a key after them,
// pastes of lines of the text, selections typed or pasted over, font-size-only changes of
// paragraph ends that show, and now and then the whole text set again (a first check). After
// every step both panels' documents show their models and the copies their documents.
// JUX_SYNC_STEPS sets the number of steps (a longer run).
TEST(CheckerSyncQt, RandomKeysUndoAndRedoLeaveBothPanelsShowingTheirModels) {
    jux_test::ProgramOnQt program("sync_random");
    ASSERT_TRUE(program.started);
    const char* steps_env = std::getenv("JUX_SYNC_STEPS");
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    const int default_steps = 600;  // a sanitized Debug build runs each step several times slower
#else
    const int default_steps = 2'000;
#endif
    const int steps = steps_env ? std::atoi(steps_env) : default_steps;
    const std::size_t helpers = helper_threads();
    set_helper_threads(0);  // the checks on this thread alone: no waiting for helpers on a busy machine
    std::mt19937 rnd(42);
    auto below = [&](std::size_t n) { return n ? rnd() % n : 0; };
    RE_SetTextW(hBigReRight, prose(4'500));
    const std::pair<int, QString> letters[] = {{0x0416, QStringLiteral("ж")}, {Qt::Key_X, QStringLiteral("x")},
                                               {0x0410, QStringLiteral("а")}, {Qt::Key_Period, QStringLiteral(".")},
                                               {Qt::Key_Comma, QStringLiteral(",")}, {Qt::Key_Space, QStringLiteral(" ")}};
    const std::pair<int, QString> undo{Qt::Key_Z, QString()}, redo{Qt::Key_Y, QString()},
        enter{Qt::Key_Return, QStringLiteral("\r")}, back{Qt::Key_Backspace, QString()}, del{Qt::Key_Delete, QString()},
        paste{Qt::Key_V, QString()};
    for (int step = 0; step < steps; ++step) {
        const std::u16string text = RE_GetTextW(hBigReRight);
        auto at = static_cast<LONG>(below(text.size() + 1));
        const std::pair<int, QString> letter = letters[below(std::size(letters))];
        const std::pair<int, QString> key = below(4) == 0 ? enter : below(4) == 0 ? back : below(4) == 0 ? del : letter;
        const bool short_text = text.size() < 4'200;  // a paste keeps it over the size of a kept copy
        const std::size_t kind = short_text ? 7 : below(13);
        switch (kind) {
            case 0: post_keys({letter, undo}); break;             // undone while its check pumps
            case 1: post_keys({letter, undo, redo}); break;
            case 2: post_keys({undo}); break;
            case 3: post_keys({redo}); break;
            case 4: {  // a paragraph end that shows takes another size
                const std::size_t end = text.find(u"\r\r", static_cast<std::size_t>(at));
                if (end == std::u16string::npos) break;
                CHARFORMAT2W size;
                size.dwMask = CFM_SIZE;
                size.yHeight = 160 + 40 * static_cast<LONG>(below(4));
                RE_SetSel(hBigReRight, CHARRANGE{static_cast<LONG>(end), static_cast<LONG>(end) + 1});
                RE_SetCharFormat(hBigReRight, SCF_SELECTION, size);
                break;
            }
            case 5:
                if (below(20) == 0) RE_SetTextW(hBigReRight, text);  // the whole text again
                break;
            case 6: {  // a key, undone while its check pumps, and a key after (often at a line start)
                const std::size_t line = text.rfind(u'\r', static_cast<std::size_t>(std::max<LONG>(0, at - 1)));
                if (below(2) == 0 && line != std::u16string::npos) at = static_cast<LONG>(line) + 1;
                RE_SetSel(hBigReRight, CHARRANGE{at, at});
                post_keys({key, undo, below(2) == 0 ? letters[below(std::size(letters))] : key});
                break;
            }
            case 7:  // lines of the text pasted, over a selection half the time
            case 8: {  // a selection typed over
                const bool pasting = kind == 7;
                const LONG length = pasting && (short_text || below(2) == 0) ? 0 : 1 + static_cast<LONG>(below(300));
                if (pasting) {
                    const std::size_t from = below(text.size());
                    QGuiApplication::clipboard()->setText(
                        QString::fromStdU16String(text.substr(from, 1 + below(300))).replace(QChar(u'\r'), QChar(u'\n')));
                }
                RE_SetSel(hBigReRight, CHARRANGE{at, std::min<LONG>(static_cast<LONG>(text.size()), at + length)});
                post_keys({pasting ? paste : key});
                break;
            }
            default:
                RE_SetSel(hBigReRight, CHARRANGE{at, at});
                post_keys({key});
        }
        ASSERT_EQ(panels_difference(), "") << "step " << step;
    }
    set_helper_threads(helpers);
}

}  // namespace
