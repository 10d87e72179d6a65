// libs: windows dictionary_window dictionary platform_qt
// The text-checker window over the demonstration lexicon: the re-check after one keystroke in a
// text of 5,000 words, and the whole check of a text of 100,000 words, on the headless backend and
// on the Qt backend (offscreen platform); and the re-check after one keystroke in 100,000 words of
// Bulgarian prose over a lexicon of real size (real_size_lexicon.h), the proof-reader on as the
// program starts. The Qt cases are timed until Qt has handled what the
// check left (posted events, the panels' documents laid out); one of them types the key into the
// panel's widget, as the user does.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QTextDocument>
#include <QTextEdit>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/proof_bench_util.h"
#include "bench/qt_bench_app.h"
#include "bench/real_size_lexicon.h"
#include "dictionary/main_window.h"
#include "engine/run.h"
#include "engine/proofreading/proof_reader.h"
#include "engine/run_state.h"
#include "engine/token_report.h"
#include "engine/token_store.h"
#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/qt/qt_backend.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/window_state.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "dictionary/loading.h"
#include "spelling/spell_state.h"
#include "tests/support/checker_start.h"
#include "tests/support/temp_folder.h"
#include "windows/checker_state.h"
#include "windows/checker_window.h"

namespace {

// The demonstration lexicon in a folder of its own for the whole program run.
const std::filesystem::path& data_folder() {
    static jux_test::TempFolder folder("bench_checker");
    static const bool copied = [] {
        std::filesystem::copy(JUX_DEMO_DIR, folder.path(), std::filesystem::copy_options::recursive);
        return true;
    }();
    (void)copied;
    return folder.path();
}

// The first words of a lexicon file (its keys), as UTF-16.
std::vector<std::u16string> keys_of(const std::filesystem::path& file, std::size_t most) {
    std::vector<std::u16string> out;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; out.size() < most && std::getline(in, line);) {
        const std::size_t end = line.find_first_of(" \t\r");
        if (end == 0 || line.empty()) continue;
        out.push_back(cp1251_to_utf16(line.substr(0, end)));
    }
    return out;
}

// A text of `words` words, English and Bulgarian mixed, every 25th word misspelt, sentences of
// twelve words, lines of about eighty characters.
std::u16string text_of(std::size_t words) {
    static const auto english = keys_of(data_folder() / "wl_english.txt", 300);
    static const auto bulgarian = keys_of(data_folder() / "b_bulgarian.txt", 300);
    std::u16string s;
    std::size_t line = 0;
    for (std::size_t i = 0; i < words; ++i) {
        const auto& list = (i / 40) % 2 ? bulgarian : english;
        std::u16string w = list[(i * 7 + i / 5) % list.size()];
        if (i % 25 == 24) w += w.back();
        s += w;
        line += w.size() + 1;
        if (i % 12 == 11) s += u'.';
        if (line > 80) {
            s += u'\r';
            line = 0;
        } else {
            s += u' ';
        }
    }
    return s;
}

// The program as the spell-checker edition starts it, on the given backend.
void start_checker(bool qt, const std::filesystem::path& folder = data_folder()) {
    if (qt) {
        qt_bench_app();
        platform_set_backend(make_qt_backend());
    } else {
        headless_install();
    }
    jux_test::start_checker_over(folder);
}

// The lexicon of real size with the proof-reader's small lists (made before any start over it).
const real_size::Lexicon& bulgarian_lexicon() {
    static const std::unique_ptr<real_size::Lexicon> lex = [] {
        auto l = real_size::make_lexicon("checker");
        write_proof_lists(*l);
        return l;
    }();
    return *lex;
}

// The windows go; the headless backend takes the Qt one's place while the application still lives.
void stop_checker() {
    headless_install();
    reset_checker_window();
    reset_main_window();
}

// Waits until Qt has handled what the check left: posted events, the panels' documents laid out.
void settle(bool qt) {
    if (!qt) return;
    QCoreApplication::processEvents();
    for (HWND re : {hBigReRight, hBigReLeft})
        if (auto* e = qobject_cast<QTextEdit*>(qt_widget(re))) e->document()->documentLayout()->documentSize();
}

// One key typed at the end of the text: given to the core as the backend gives it, or (`widget`)
// pressed in the panel's widget.
void type_key(HWND re, bool widget) {
    const LONG end = RE_GetTextLength(re);
    if (!widget) {
        platform_user_selected(re, CHARRANGE{end, end});
        platform_user_text_edited(re, end, 0, u"x");
        return;
    }
    RE_SetSel(re, CHARRANGE{end, end});
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(qt_widget(re), &press);
}

void keystroke(benchmark::State& state, bool qt, bool widget = false) {
    start_checker(qt);
    RE_SetTextW(hBigReRight, text_of(5'000));  // checked once here
    settle(qt);
    for (auto _ : state) {
        type_key(hBigReRight, widget);
        settle(qt);
    }
    state.counters["runs"] = last_run.runs;
    stop_checker();
}

// One key typed at the end of 100,000 words of Bulgarian prose (make_bulgarian_prose) over the
// lexicon of real size: the whole re-check with the proof-reader, until Qt has handled it.
void keystroke_bulgarian(benchmark::State& state, bool qt) {
    const real_size::Lexicon& lex = bulgarian_lexicon();
    static const std::u16string text = cp1251_to_utf16(make_bulgarian_prose(lex, 100'000));
    start_checker(qt, lex.dir);
    RE_SetTextW(hBigReRight, text);  // checked once here
    settle(qt);
    // Where the time goes: the check itself (the Qt panels gather what it changes) and Qt taking
    // what the check left.
    double check_ms = 0, panels_ms = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        type_key(hBigReRight, false);
        const auto t1 = std::chrono::steady_clock::now();
        settle(qt);
        check_ms += std::chrono::duration<double, std::milli>(t1 - t0).count();
        panels_ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t1).count();
    }
    state.counters["check_ms"] = check_ms / static_cast<double>(state.iterations());
    state.counters["panels_ms"] = panels_ms / static_cast<double>(state.iterations());
    state.counters["runs"] = last_run.runs;
    state.counters["words"] = static_cast<double>(last_run.processed);
    state.counters["proof_rows"] = static_cast<double>(last_proof.rows.size());
    state.counters["report_chars"] = static_cast<double>(RE_GetTextLength(hBigReLeft));
    stop_checker();
}

void whole_text(benchmark::State& state, bool qt) {
    start_checker(qt);
    const std::u16string text = text_of(100'000);
    for (auto _ : state) {
        state.PauseTiming();
        RE_SetEventMask(hBigReRight, 0);
        RE_SetTextW(hBigReRight, u"");
        RE_SetEventMask(hBigReRight, 0x041A0011);
        // A text met for the first time: nothing kept from the check before.
        release_kept_bulgarian_answers();
        release_kept_form_memo();
        release_kept_proof_findings();
        settle(qt);
        state.ResumeTiming();
        RE_SetTextW(hBigReRight, text);  // the change notification runs the whole check
        settle(qt);
    }
    state.counters["words"] = static_cast<double>(last_run.processed);
    stop_checker();
}

void BM_KeystrokeRecheck5000Words_Headless(benchmark::State& s) { keystroke(s, false); }
void BM_KeystrokeRecheck5000Words_Qt(benchmark::State& s) { keystroke(s, true); }
void BM_KeyTypedInThePanel5000Words_Qt(benchmark::State& s) { keystroke(s, true, true); }
void BM_KeystrokeRecheck100000BulgarianWords_Headless(benchmark::State& s) { keystroke_bulgarian(s, false); }
void BM_KeystrokeRecheck100000BulgarianWords_Qt(benchmark::State& s) { keystroke_bulgarian(s, true); }
void BM_WholeCheck100000Words_Headless(benchmark::State& s) { whole_text(s, false); }
void BM_WholeCheck100000Words_Qt(benchmark::State& s) { whole_text(s, true); }

BENCHMARK(BM_KeystrokeRecheck5000Words_Headless)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeRecheck5000Words_Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyTypedInThePanel5000Words_Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeRecheck100000BulgarianWords_Headless)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_KeystrokeRecheck100000BulgarianWords_Qt)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WholeCheck100000Words_Headless)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WholeCheck100000Words_Qt)->Unit(benchmark::kMillisecond)->Iterations(3);


// ---- One keystroke anywhere in a wide-vocabulary text -----------------------------------------------
// 100,000 words of Bulgarian prose of a wide vocabulary (make_wide_bulgarian_prose: over 40,000
// distinct forms of the lexicon of real size), the proof-reader on as the program starts. One key
// typed at the start, in the middle or at the end of the text, a Latin or a Cyrillic letter, that
// makes a new unknown word (a letter behind a word) or mends one (the letter a word lacks); the key
// is taken back after each timed one (not timed). Headless, the key given as the backend gives it,
// or on Qt typed into the panel's widget and timed until Qt has laid out what the check left.
struct WideKey {
    LONG pos = 0;           // where the key goes
    std::u16string letter;  // what it types
};

// Finds the place of the key in the text and, for a mending key, takes the letter out of the text
// (or, for a Latin one, puts an English word without its last letter there).
WideKey place_wide_key(std::u16string& text, double where, bool cyrillic, bool mend) {
    const auto letter = [](char16_t c) { return c >= 0x410 || static_cast<unsigned>((c | 0x20) - u'a') < 26u; };
    std::size_t i = std::min(static_cast<std::size_t>(where * static_cast<double>(text.size())), text.size() - 1);
    while (i > 0 && !letter(text[i])) --i;
    while (i < text.size() && !letter(text[i])) ++i;
    while (i < text.size() && letter(text[i])) ++i;  // the end of a word
    WideKey key{static_cast<LONG>(i), cyrillic ? u"\u0436" : u"x"};
    if (!mend) return key;
    if (cyrillic) {
        key.letter = text.substr(i - 1, 1);
        text.erase(i - 1, 1);
        key.pos = static_cast<LONG>(i - 1);
        return key;
    }
    const std::u16string word = cp1251_to_utf16(bulgarian_lexicon().english[4321]);
    text.insert(i, u" " + word.substr(0, word.size() - 1));
    key.pos = static_cast<LONG>(i + word.size());
    key.letter = word.substr(word.size() - 1);
    return key;
}

// Types the text at `pos` (or takes one character back there when `text` is empty).
void type_at(HWND re, LONG pos, const std::u16string& text, bool qt) {
    if (!qt) {
        platform_user_selected(re, CHARRANGE{pos, pos});
        platform_user_text_edited(re, text.empty() ? pos - 1 : pos, text.empty() ? 1 : 0, text);
        return;
    }
    RE_SetSel(re, CHARRANGE{pos, pos});
    QKeyEvent press(QEvent::KeyPress, text.empty() ? Qt::Key_Backspace : Qt::Key_unknown, Qt::NoModifier,
                    QString::fromStdU16String(text));
    QApplication::sendEvent(qt_widget(re), &press);
}

// Arguments: where (0 start, 1 middle, 2 end), Cyrillic (1) or Latin (0), mending (1) or making a
// new unknown word (0), Qt (1) or headless (0).
void BM_KeystrokeWideVocabulary(benchmark::State& state) {
    const real_size::Lexicon& lex = bulgarian_lexicon();
    static const std::string wide = make_wide_bulgarian_prose(lex, 100'000);
    const bool qt = state.range(3) != 0;
    std::u16string text = cp1251_to_utf16(wide);
    const WideKey key = place_wide_key(text, 0.5 * static_cast<double>(state.range(0)), state.range(1) != 0,
                                       state.range(2) != 0);
    start_checker(qt, lex.dir);
    RE_SetTextW(hBigReRight, text);  // checked once here
    settle(qt);
    double check_ms = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        type_at(hBigReRight, key.pos, key.letter, qt);
        check_ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        settle(qt);
        state.PauseTiming();
        type_at(hBigReRight, key.pos + 1, u"", qt);
        settle(qt);
        state.ResumeTiming();
    }
    state.counters["check_ms"] = check_ms / static_cast<double>(state.iterations());
    state.counters["distinct_words"] = static_cast<double>(distinct_words(wide));
    state.counters["words"] = static_cast<double>(last_run.processed);
    state.counters["report_chars"] = static_cast<double>(RE_GetTextLength(hBigReLeft));
    stop_checker();
}
BENCHMARK(BM_KeystrokeWideVocabulary)
    ->ArgNames({"at", "cyrillic", "mend", "qt"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
