// libs: windows dictionary_window dictionary platform_qt
// The text-checker window over the demonstration lexicon: the re-check after one keystroke in a
// text of 5,000 words, and the whole check of a text of 100,000 words, on the headless backend and
// on the Qt backend (offscreen platform); and the re-check after one keystroke in 100,000 words of
// Bulgarian prose over a lexicon of real size (real_size_lexicon.h), the proof-reader on as the
// program starts. The Qt cases are timed until Qt has handled what the
// check left (posted events, the panels' documents laid out); one of them types the key into the
// panel's widget, as the user does; and keys typed into the widget at the start, in the middle and
// at the end of 100,000 words of Bulgarian prose, one case per row of a table, with Qt's share of
// each keystroke and the characters the panels' documents were given again.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
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
#include "engine/run/run.h"
#include "engine/proofreading/proof_reader.h"
#include "engine/run_state.h"
#include "engine/run/token_report.h"
#include "engine/token_store.h"
#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_panel_layout.h"
#include "platform/qt/qt_richedit.h"
#include "platform/qt/qt_support.h"
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
#include "tests/support/qt_panel.h"
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

// Waits until Qt has handled what the check left: posted events, the panels' documents laid out
// (`whole`: every paragraph, those the panels leave for idle time too; else what they show).
void settle(bool qt, bool whole = true) {
    if (!qt) return;
    QCoreApplication::processEvents();
    for (HWND re : {hBigReRight, hBigReLeft})
        if (auto* e = qobject_cast<QTextEdit*>(qt_widget(re))) {
            if (whole) PanelLayout::lay_out_whole(*e->document());
            else e->document()->documentLayout()->documentSize();
        }
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

// ---- Keys typed into the panel of a book-length text -----------------------------------------

// The project's prose: 100,000 words over the lexicon of real size.
const std::u16string& bulgarian_prose() {
    static const std::u16string text = cp1251_to_utf16(make_bulgarian_prose(bulgarian_lexicon(), 100'000));
    return text;
}

// What the keystroke does: types a letter after a word (or token), types one inside a known word
// (a new unknown word), or takes such a letter out again (mends the word).
enum class Key { letter, makes_unknown, mends };

struct KeyCase {
    const char* name;
    const std::u16string& (*text)();
    const real_size::Lexicon& (*lexicon)();
    double where;  // 0: after the text's first token; else after the word at that share of the text
    Key key;
    char16_t letter;
};

const KeyCase kKeyCases[] = {
    {"prose_start_latin", bulgarian_prose, bulgarian_lexicon, 0.0, Key::letter, u'x'},
    {"prose_start_cyrillic", bulgarian_prose, bulgarian_lexicon, 0.0, Key::letter, u'ж'},
    {"prose_middle_latin", bulgarian_prose, bulgarian_lexicon, 0.5, Key::letter, u'x'},
    {"prose_middle_cyrillic", bulgarian_prose, bulgarian_lexicon, 0.5, Key::letter, u'ж'},
    {"prose_end_latin", bulgarian_prose, bulgarian_lexicon, 1.0, Key::letter, u'x'},
    {"prose_end_cyrillic", bulgarian_prose, bulgarian_lexicon, 1.0, Key::letter, u'ж'},
    {"prose_middle_new_unknown_word", bulgarian_prose, bulgarian_lexicon, 0.5, Key::makes_unknown, u'ж'},
    {"prose_middle_mends_a_word", bulgarian_prose, bulgarian_lexicon, 0.5, Key::mends, u'ж'},
};

bool is_letter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= 0x0410 && c <= 0x044F); }

// Where the case's key goes: the end of the first token, or of the last word that ends at or
// before its share of the text; inside that word for a letter that makes or mends one.
LONG key_place(const std::u16string& text, const KeyCase& c) {
    std::size_t at = 0;
    if (c.where == 0) {
        while (at < text.size() && (text[at] == u' ' || text[at] == u'\r')) ++at;
        while (at < text.size() && text[at] != u' ' && text[at] != u'\r') ++at;
    } else {
        at = std::min(text.size(), static_cast<std::size_t>(c.where * static_cast<double>(text.size())));
        while (at > 1 && !(is_letter(text[at - 1]) && (at == text.size() || !is_letter(text[at])))) --at;
    }
    return static_cast<LONG>(c.key == Key::letter ? at : at - 2);
}

// Presses a key in the panel's widget where its caret stands: the letter, or Backspace; its
// release comes in while the check the key started pumps messages, as a keyboard's does.
void press_key(HWND re, char16_t letter, bool whole = true) {
    QKeyEvent press = letter ? QKeyEvent(QEvent::KeyPress, QChar(letter).toUpper().unicode(), Qt::NoModifier,
                                         QString(QChar(letter)))
                             : QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::postEvent(qt_widget(re), new QKeyEvent(QEvent::KeyRelease, press.key(), Qt::NoModifier, press.text()));
    QApplication::sendEvent(qt_widget(re), &press);
    settle(true, whole);
}

// One case of kKeyCases: the key typed into the text panel's widget and everything the check
// then changes shown and laid out. Qt's share is all but the time the core took over the edit;
// the characters set are those both panels' documents were given again (text and formats).
// sync_ms is the part of Qt's share the panels spend comparing their documents with the model
// and giving them what differs (Qt's layout of it included).
// The caret is put in place once, and a key typed and taken back there, so that every key timed
// finds the whole report shown (the report may show the word at a caret the program moved).
void key_in_long_text(benchmark::State& state, const KeyCase& c) {
    const std::u16string& text = c.text();
    start_checker(true, c.lexicon().dir);
    RE_SetTextW(hBigReRight, text);  // checked once here
    RE_SetSel(hBigReRight, CHARRANGE{key_place(text, c), key_place(text, c)});
    settle(true);
    press_key(hBigReRight, c.letter);
    press_key(hBigReRight, 0);
    if (c.key == Key::mends) press_key(hBigReRight, c.letter);
    std::uint64_t set = 0;
    std::vector<QMetaObject::Connection> counted;
    for (HWND re : {hBigReRight, hBigReLeft})
        counted.push_back(QObject::connect(qobject_cast<QTextEdit*>(qt_widget(re))->document(),
                                           &QTextDocument::contentsChange, [&](int, int, int added) { set += added; }));
    double qt_ms = 0, check_ms = 0, sync_ms = 0;
    std::uint64_t chars = 0;
    for (auto _ : state) {
        set = 0;
        const qint64 core_before = RichEditWidget::core_nanoseconds();
        const std::int64_t sync_before = DocumentSync::totals().nanoseconds;
        const auto t0 = std::chrono::steady_clock::now();
        press_key(hBigReRight, c.key == Key::mends ? 0 : c.letter);  // settles
        const double all = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        const double core = static_cast<double>(RichEditWidget::core_nanoseconds() - core_before) / 1e6;
        qt_ms += all - core;
        check_ms += core;
        sync_ms += static_cast<double>(DocumentSync::totals().nanoseconds - sync_before) / 1e6;
        chars += set;
        if (c.key == Key::letter) continue;
        state.PauseTiming();  // the text as it was
        press_key(hBigReRight, c.key == Key::mends ? c.letter : 0);
        state.ResumeTiming();
    }
    for (const auto& k : counted) QObject::disconnect(k);
    const auto n = static_cast<double>(state.iterations());
    state.counters["qt_ms"] = qt_ms / n;
    state.counters["check_ms"] = check_ms / n;
    state.counters["sync_ms"] = sync_ms / n;  // of Qt's share: the panels bringing their documents up to date
    state.counters["chars_set"] = static_cast<double>(chars) / n;
    state.counters["report_chars"] = static_cast<double>(RE_GetTextLength(hBigReLeft));
    stop_checker();
}

// ---- Bad input in a panel of its own ---------------------------------------------------------

// A panel's text, where its caret stands and the key typed there (Ctrl+V pastes the clipboard);
// `again` brings the text back under a paused clock after each key.
struct BadInputCase {
    const char* name;
    std::u16string (*text)();
    std::size_t caret;  // from the start of the text
    int key;
    Qt::KeyboardModifiers modifiers;
    const char16_t* typed;
    void (*again)(HWND re);
};

std::u16string repeated(std::u16string_view piece, std::size_t length) {
    std::u16string s;
    s.reserve(length + piece.size());
    while (s.size() < length) s += piece;
    return s;
}

const BadInputCase kBadInputCases[] = {
    {"paste_50mb", [] { return std::u16string(); }, 0, Qt::Key_V, Qt::ControlModifier, u"",
     [](HWND re) { RE_SetTextW(re, u""); }},
    {"key_in_one_10mb_paragraph", [] { return repeated(u"дума word ", 10'000'000); }, 5'000'000, 0x0416,
     Qt::NoModifier, u"ж", nullptr},
    {"backspace_joins_two_5mb_paragraphs",
     [] { return repeated(u"дума word ", 5'000'000) + u"\r" + repeated(u"дума word ", 5'000'000); }, 5'000'001,
     Qt::Key_Backspace, Qt::NoModifier, u"", [](HWND re) {
         RE_SetSel(re, CHARRANGE{5'000'000, 5'000'000});
         RE_ReplaceSel(re, u"\r", false);
     }},
    {"key_in_100000_paragraphs_of_one_word", [] { return repeated(u"дума\r", 500'000); }, 250'002, 0x0416,
     Qt::NoModifier, u"ж", nullptr},
};

// One case of kBadInputCases on a panel of its own (no check runs): the key typed into the widget
// until its document is laid out whole (what idle time would lay out included), with the characters the document was given again per key.
void bad_input(benchmark::State& state, const BadInputCase& c) {
    qt_bench_app();
    const HWND re = jux_test::make_qt_panel();
    auto* edit = jux_test::shown_panel(re);
    RE_LimitText(re, 0x7FFFFFFF);
    auto settle_panel = [&] {
        QCoreApplication::processEvents();
        PanelLayout::lay_out_whole(*edit->document());
    };
    if (c.modifiers & Qt::ControlModifier)  // 50 MB of lines of prose
        QApplication::clipboard()->setText(to_qstring(repeated(u"Дума и word, две думи; още една дума.\n", 25'000'000)));
    RE_SetTextW(re, c.text());
    RE_SetSel(re, CHARRANGE{static_cast<LONG>(c.caret), static_cast<LONG>(c.caret)});
    settle_panel();
    std::uint64_t set = 0;
    const auto counted = QObject::connect(edit->document(), &QTextDocument::contentsChange,
                                          [&](int, int, int added) { set += static_cast<std::uint64_t>(added); });
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, QString::fromUtf16(c.typed));
        QApplication::sendEvent(edit, &press);
        settle_panel();
        if (!c.again) continue;
        state.PauseTiming();
        c.again(re);
        RE_SetSel(re, CHARRANGE{static_cast<LONG>(c.caret), static_cast<LONG>(c.caret)});
        settle_panel();
        state.ResumeTiming();
    }
    QObject::disconnect(counted);
    state.counters["chars"] = static_cast<double>(RE_GetTextLength(re));
    state.counters["chars_set"] = static_cast<double>(set) / static_cast<double>(state.iterations());
    headless_install();
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
const bool key_cases_registered = [] {
    for (const KeyCase& c : kKeyCases)
        benchmark::RegisterBenchmark((std::string("BM_KeyTypedInALongText/") + c.name).c_str(),
                                     [&c](benchmark::State& s) { key_in_long_text(s, c); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
    for (const BadInputCase& c : kBadInputCases)
        benchmark::RegisterBenchmark((std::string("BM_BadInputInAPanel/") + c.name).c_str(),
                                     [&c](benchmark::State& s) { bad_input(s, c); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(2);
    return true;
}();
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
    double check_ms = 0, core_ms = 0, qt_ms = 0, sync_ms = 0;
    std::uint64_t chars_set = 0;
    for (auto _ : state) {
        const qint64 core_before = RichEditWidget::core_nanoseconds();
        const std::int64_t sync_before = DocumentSync::totals().nanoseconds;
        const std::uint64_t set_before = DocumentSync::totals().characters;
        const auto t0 = std::chrono::steady_clock::now();
        type_at(hBigReRight, key.pos, key.letter, qt);
        check_ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        settle(qt);
        const double core = static_cast<double>(RichEditWidget::core_nanoseconds() - core_before) / 1e6;
        core_ms += core;
        qt_ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() - core;
        sync_ms += static_cast<double>(DocumentSync::totals().nanoseconds - sync_before) / 1e6;
        chars_set += DocumentSync::totals().characters - set_before;
        state.PauseTiming();
        type_at(hBigReRight, key.pos + 1, u"", qt);
        settle(qt);
        state.ResumeTiming();
    }
    state.counters["check_ms"] = check_ms / static_cast<double>(state.iterations());
    if (qt) {
        // The core's part of the key event (the check, with what it asks of Qt on the way: the
        // pumps, the panels gathering its changes), and all the rest until settled (Qt's share),
        // of which the panels bringing their documents up to date (Qt's layout of it included).
        const auto n = static_cast<double>(state.iterations());
        state.counters["core_ms"] = core_ms / n;
        state.counters["qt_ms"] = qt_ms / n;
        state.counters["sync_ms"] = sync_ms / n;
        state.counters["chars_set"] = static_cast<double>(chars_set) / n;  // text and formats the panels' syncs set
    }
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


// ---- Keys that change a long numbered list of unknown words ---------------------------------------
// 100,000 words in short lines, most of them without a mark at their end (as the messages of
// program catalogues are), of a wide vocabulary from the lexicon of real size, and thousands of
// distinct unknown words spread through them, Latin and Cyrillic: the report lists them in two
// numbered lists of well over 2,500 entries together.

// The i-th of the made-up words (3 syllables or more), Latin or Cyrillic (code page 1251).
std::string made_up_word(std::size_t i, bool latin) {
    static const char* const consonants[2] = {"\xE1\xE2\xE3\xE4\xE7\xEA\xEB\xEC\xED\xEF\xF0\xF1\xF2\xF4\xF5", "bcdfgklmnprstvz"};
    static const char* const vowels[2] = {"\xE0\xE5\xE8\xEE\xF3", "aeiou"};
    std::string w;
    for (int syllables = 0; syllables < 3 || i > 0; ++syllables, i /= 75) {
        w += consonants[latin][i % 75 / 5];
        w += vowels[latin][i % 5];
    }
    return w;
}

template <typename Lexicon>
std::string make_catalogue_text(const Lexicon& lex, std::size_t words, std::uint64_t seed = 11) {
    const std::vector<std::size_t> order = shuffled_forms(lex, seed);
    const std::vector<std::string>& small = prose::bulgarian_small_words();
    Lcg rnd{seed};
    std::string t;
    std::size_t unknown = 0;
    for (std::size_t n = 0; n < words;) {
        const int len = 3 + static_cast<int>(rnd() % 10);
        for (int i = 0; i < len; ++i, ++n) {
            const std::uint32_t k = rnd() % 100;
            std::string w = k < 3    ? made_up_word(unknown++, rnd() % 2 == 0)
                            : k < 25 ? small[prose::zipf(rnd, small.size())]
                            : k < 45 ? lex.forms[order[prose::zipf(rnd, order.size())]]
                                     : lex.forms[order[rnd() % order.size()]];
            if (i == 0) w[0] = static_cast<char>(cp_toupper(static_cast<unsigned char>(w[0])));
            t += w;
            if (i + 1 < len) t += rnd() % 10 == 0 ? ", " : " ";
        }
        t += rnd() % 5 == 0 ? ".\r" : "\r";
    }
    return t;
}

// The text, with a known word of the lexicon put after the first word of the line at the middle of
// the text; where that word starts.
struct CatalogueText {
    std::u16string text;
    LONG word = 0;
};
const CatalogueText& catalogue_text() {
    static const CatalogueText t = [] {
        const real_size::Lexicon& lex = bulgarian_lexicon();
        std::u16string text = cp1251_to_utf16(make_catalogue_text(lex, 100'000));
        const std::size_t line = text.find(u'\r', text.size() / 2) + 1;
        const std::size_t at = text.find(u' ', line) + 1;
        text.insert(at, cp1251_to_utf16(lex.forms[lex.forms.size() / 3]) + u" ");
        return CatalogueText{std::move(text), static_cast<LONG>(at)};
    }();
    return t;
}

// Moves the caret as the user does, through the widget (the program looks the word up there).
void move_caret(HWND re, LONG pos) {
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    QTextCursor c = edit->textCursor();
    c.setPosition(pos);
    edit->setTextCursor(c);
    settle(true);
}

// Lays out what the panels left for idle time (the user's pause between keys); its time.
double idle_layout() {
    const auto t0 = std::chrono::steady_clock::now();
    for (HWND re : {hBigReRight, hBigReLeft})
        if (auto* e = qobject_cast<QTextEdit*>(qt_widget(re))) PanelLayout::lay_out_whole(*e->document());
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// The median and the largest of some times.
std::pair<double, double> median_and_max(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.back()};
}

// A letter typed before the known word, which makes it an unknown word that lands first ("А": a
// capital sorts before every small letter), in the middle ("м") or last ("я") of the numbered list
// of unknown words, and Backspace, which takes the word out of the list again; both timed, the
// caret staying at the word or (after_caret_move:1) moved to another word and back before each
// letter, or (after_caret_move:2) to two words of long entries and back.
// Counters: each key's median and largest time (the key event until the panels have laid out
// what the check left, but for the paragraphs they leave for idle time: how long those take is
// idle_ms, the largest of a key, laid out after each key as in the user's pause), the check's median (the core's part of the key event) and Qt's share (of it the
// panels' syncs, Qt's layout of what they set included), the characters set in both panels' documents (text put in and formats
// set by the panels' syncs; the largest of a key) and the stretch of the documents Qt took as
// changed, from the first change of an edit to its last (the largest of a key).
void BM_KeyChangingAListOfUnknownWords(benchmark::State& state) {
    static const char16_t letters[] = {u'А', u'м', u'я'};
    const char16_t letter = letters[state.range(0)];
    const bool caret_moves = state.range(1) != 0;
    const CatalogueText& t = catalogue_text();
    start_checker(true, bulgarian_lexicon().dir);
    RE_SetTextW(hBigReRight, t.text);  // checked once here
    settle(true);
    move_caret(hBigReRight, t.word);
    idle_layout();
    std::uint64_t set = 0;
    std::vector<QMetaObject::Connection> counted;
    for (HWND re : {hBigReRight, hBigReLeft})
        counted.push_back(QObject::connect(qobject_cast<QTextEdit*>(qt_widget(re))->document(),
                                           &QTextDocument::contentsChange, [&](int, int, int added) { set += added; }));
    std::vector<double> add_ms, remove_ms, qt_ms, check_ms, sync_ms, idle_ms;
    std::uint64_t most_set = 0, most_laid_out = 0;
    auto key = [&](char16_t c, std::vector<double>& times) {
        set = 0;
        const std::uint64_t set_before = DocumentSync::totals().characters;
        const qint64 core_before = RichEditWidget::core_nanoseconds();
        const std::int64_t sync_before = DocumentSync::totals().nanoseconds;
        const auto t0 = std::chrono::steady_clock::now();
        press_key(hBigReRight, c, false);  // settles but for what waits for idle time
        const double all = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        times.push_back(all);
        check_ms.push_back(static_cast<double>(RichEditWidget::core_nanoseconds() - core_before) / 1e6);
        qt_ms.push_back(all - check_ms.back());
        sync_ms.push_back(static_cast<double>(DocumentSync::totals().nanoseconds - sync_before) / 1e6);
        most_set = std::max(most_set, DocumentSync::totals().characters - set_before);
        most_laid_out = std::max(most_laid_out, set);
        idle_ms.push_back(idle_layout());
    };
    // after_caret_move:2: the caret visits two common words whose entries are long (over 8,000
    // characters; each shown in the report panel in place of the report) before it comes back.
    std::vector<LONG> long_entries;
    // The caret moved, and the look-up's entry in the report panel (it comes when Qt runs next).
    auto look_up = [](LONG at) {
        const LONG before = RE_GetTextLength(hBigReLeft);
        move_caret(hBigReRight, at);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (RE_GetTextLength(hBigReLeft) == before && std::chrono::steady_clock::now() < until)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        settle(true);
    };
    if (state.range(1) == 2)
        for (const char16_t* w : {u" на ", u" си "})
            long_entries.push_back(static_cast<LONG>(t.text.find(w, static_cast<std::size_t>(t.word))) + 1);
    for (auto _ : state) {
        if (caret_moves) {
            state.PauseTiming();
            if (long_entries.empty()) move_caret(hBigReRight, t.word > 40 ? t.word - 40 : t.word + 40);
            for (LONG at : long_entries) look_up(at);
            if (long_entries.empty()) move_caret(hBigReRight, t.word);
            else look_up(t.word);
            idle_layout();
            state.ResumeTiming();
        }
        key(letter, add_ms);
        if (!caret_moves) key(0, remove_ms);
        else {
            state.PauseTiming();
            press_key(hBigReRight, 0);
            idle_layout();
            state.ResumeTiming();
        }
    }
    for (const auto& k : counted) QObject::disconnect(k);
    const auto [add_median, add_max] = median_and_max(add_ms);
    state.counters["add_ms"] = add_median;
    state.counters["add_max_ms"] = add_max;
    if (!remove_ms.empty()) {
        const auto [remove_median, remove_max] = median_and_max(remove_ms);
        state.counters["remove_ms"] = remove_median;
        state.counters["remove_max_ms"] = remove_max;
    }
    state.counters["check_ms"] = median_and_max(check_ms).first;
    state.counters["qt_ms"] = median_and_max(qt_ms).first;
    state.counters["sync_ms"] = median_and_max(sync_ms).first;  // of Qt's share: the panels' syncs
    state.counters["qt_max_ms"] = median_and_max(qt_ms).second;
    state.counters["idle_ms"] = median_and_max(idle_ms).second;  // left for the pause after a key (largest)
    state.counters["chars_set"] = static_cast<double>(most_set);
    state.counters["chars_laid_out"] = static_cast<double>(most_laid_out);
    state.counters["report_chars"] = static_cast<double>(RE_GetTextLength(hBigReLeft));
    stop_checker();
}
BENCHMARK(BM_KeyChangingAListOfUnknownWords)
    ->ArgNames({"lands", "after_caret_move"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(7);


}  // namespace
