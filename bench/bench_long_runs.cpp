// libs: windows dictionary_window dictionary platform_qt
// Long runs of letters without a blank (a base64 blob, minified data) in the real Qt panels
// (offscreen), the program started as the spell checker over the demonstration lexicon, the
// clipboard watch on: a text holding such a run pasted, dropped or opened into the checker's text
// panel, against ordinary prose of the same size (`BM_TextIntoTheChecker`); Ctrl+A over a 10 MB
// text, a click inside the run, a key typed into it (`BM_ActOnALongRun`); and a copy of the run
// by another program reaching the dictionary's entry box (`BM_CopiedRun`). Each is timed in real
// time until Qt has laid out what it left in the panels.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextDocument>
#include <QTextEdit>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/demo_texts.h"
#include "bench/qt_bench_app.h"
#include "lexicon/display.h"
#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_panel_layout.h"
#include "platform/qt/qt_richedit.h"
#include "platform/qt/qt_support.h"
#include "platform/richedit.h"
#include "shell/settings.h"
#include "shell/window_state.h"
#include "tests/support/checker_start.h"
#include "tests/support/temp_folder.h"
#include "windows/checker_state.h"

namespace {

// The demonstration lexicon in a folder of its own for the whole program run.
const std::filesystem::path& data_folder() {
    static jux_test::TempFolder folder("bench_long_runs");
    static const bool copied = [] {
        std::filesystem::copy(JUX_DEMO_DIR, folder.path(), std::filesystem::copy_options::recursive);
        return true;
    }();
    (void)copied;
    return folder.path();
}

QTextEdit* edit_of(HWND re) { return qobject_cast<QTextEdit*>(qt_widget(re)); }

// Until the events the action left are handled and every panel it wrote into is laid out.
void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    for (HWND re : {hBigReRight, hBigReLeft, hAddReShort, hAddReDict})
        if (QTextEdit* e = edit_of(re)) PanelLayout::lay_out_whole(*e->document());
}

// The checker on Qt offscreen, its window shown, the clipboard watch on.
QTextEdit* start() {
    qt_bench_app();
    platform_set_backend(make_qt_backend());
    jux_test::start_checker_over(data_folder());
    gl_TRANSLATE_CLIPBOARD = 1;
    SetClipboardViewer(hMain);
    QTextEdit* edit = edit_of(hBigReRight);
    edit->window()->show();
    settle();
    return edit;
}

void send_key(QWidget* w, int key, Qt::KeyboardModifiers mods, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
}

// A text of range(1) characters: a run of letters between two words, or ordinary prose.
std::u16string text_of(const benchmark::State& state) {
    const std::size_t chars = static_cast<std::size_t>(state.range(1));
    return state.range(0) ? u"Start " + letter_run(chars - 11) + u" end." : demo_english_text(chars);
}

// ---- A text into the empty text panel ----------------------------------------------------------

enum How { kPaste, kDrop, kOpen };

// Arguments: how the text comes (paste, drop of the text, a dropped file opened), a run (1) or
// prose (0), its characters.
void BM_TextIntoTheChecker(benchmark::State& state, How how) {
    QTextEdit* edit = start();
    const std::u16string text = text_of(state);
    const QString q = to_qstring(text);
    const std::filesystem::path file = data_folder() / "long_run_text.txt";
    std::ofstream(file, std::ios::binary) << utf16_to_cp1251(text);
    QApplication::clipboard()->setText(q);
    settle();  // the clipboard watch had its turn
    for (auto _ : state) {
        if (how == kPaste) {
            send_key(edit, Qt::Key_V, Qt::ControlModifier);
        } else if (how == kDrop) {
            QMimeData md;
            md.setText(q);
            const QPointF at(edit->viewport()->rect().center());
            QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit->viewport(), &enter);
            QDropEvent drop(at, Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit->viewport(), &drop);
        } else {
            platform_user_dropped(hBigReRight, {file}, POINT{10, 10});
        }
        settle();
        state.PauseTiming();
        if (RE_GetTextLength(hBigReRight) < static_cast<LONG>(text.size()) - 2) state.SkipWithError("the text did not arrive");
        RE_SetTextW(hBigReRight, u"");
        settle();
        state.ResumeTiming();
    }
    state.counters["report_chars"] = static_cast<double>(RE_GetTextLength(hBigReLeft));
    headless_install();
}
BENCHMARK_CAPTURE(BM_TextIntoTheChecker, paste, kPaste)
    ->ArgNames({"run", "chars"})
    ->ArgsProduct({{1, 0}, {1'000'000, 2'000'000, 4'000'000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK_CAPTURE(BM_TextIntoTheChecker, drop, kDrop)
    ->ArgNames({"run", "chars"})
    ->ArgsProduct({{1, 0}, {4'000'000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK_CAPTURE(BM_TextIntoTheChecker, open, kOpen)
    ->ArgNames({"run", "chars"})
    ->ArgsProduct({{1, 0}, {4'000'000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// ---- Acting on a text that holds a run ------------------------------------------------------------

enum Act { kSelectAll, kClick, kKey };

// Arguments: the act, the run's letters; the text is the run between two words, for Ctrl+A then
// prose up to 10 MB (Ctrl+A takes the whole text as the look-up's selection; the click and the key
// land in the run, which fills the panel's view).
void BM_ActOnALongRun(benchmark::State& state) {
    QTextEdit* edit = start();
    const std::size_t letters = static_cast<std::size_t>(state.range(1));
    const std::u16string run = u"Start " + letter_run(letters) + u" end.\r";
    // Put in unchecked, as a text the check has finished with (only the act is timed).
    const DWORD mask = RE_SetEventMask(hBigReRight, 0);
    RE_SetTextW(hBigReRight, state.range(0) == kSelectAll ? run + demo_english_text(10'000'000 - run.size()) : run);
    RE_SetEventMask(hBigReRight, mask);
    settle();
    const QPoint at = edit->viewport()->rect().center();
    qint64 core_ns = 0;
    for (auto _ : state) {
        const qint64 core_before = RichEditWidget::core_nanoseconds();
        switch (static_cast<Act>(state.range(0))) {
            case kSelectAll: send_key(edit, Qt::Key_A, Qt::ControlModifier); break;
            case kClick: {
                const QPointF global(edit->viewport()->mapToGlobal(at));
                QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                                  Qt::NoModifier);
                QApplication::sendEvent(edit->viewport(), &press);
                QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, Qt::NoButton,
                                    Qt::NoModifier);
                QApplication::sendEvent(edit->viewport(), &release);
                break;
            }
            case kKey: send_key(edit, Qt::Key_X, Qt::NoModifier, QStringLiteral("x")); break;
        }
        settle();
        state.PauseTiming();
        core_ns += RichEditWidget::core_nanoseconds() - core_before;
        state.counters["report_chars"] = static_cast<double>(RE_GetTextLength(hBigReLeft));
        if (state.range(0) == kKey) send_key(edit, Qt::Key_Backspace, Qt::NoModifier);
        RE_SetSel(hBigReRight, CHARRANGE{static_cast<LONG>(letters / 2), static_cast<LONG>(letters / 2)});
        RE_SetTextW(hBigReLeft, u"");
        reset_caret_lookup();
        settle();
        state.ResumeTiming();
    }
    // The check after the key (the core's share; the rest is Qt's).
    state.counters["core_ms"] = static_cast<double>(core_ns) / 1e6 / static_cast<double>(state.iterations());
    headless_install();
}
BENCHMARK(BM_ActOnALongRun)
    ->ArgNames({"act", "letters"})
    ->ArgsProduct({{kSelectAll, kClick, kKey}, {1'000'000, 4'000'000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// ---- A run copied by another program ----------------------------------------------------------------

// Argument: the letters of the run another program copies while the dictionary's entry box
// watches the clipboard; a short word is copied between two timed copies (not timed).
void BM_CopiedRun(benchmark::State& state) {
    start();
    const QString run = to_qstring(letter_run(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        QApplication::clipboard()->setText(run);
        settle();
        state.PauseTiming();
        QApplication::clipboard()->setText(QStringLiteral("apple"));
        settle();
        state.ResumeTiming();
    }
    state.counters["box_chars"] = static_cast<double>(RE_GetTextLength(hAddReShort));
    headless_install();
}
BENCHMARK(BM_CopiedRun)->Arg(1'000'000)->Arg(4'000'000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
