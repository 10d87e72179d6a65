#include "engine/run/run.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "engine/exports.h"
#include "engine/run/phases.h"
#include "engine/run_state.h"
#include "engine/run/scan_end.h"
#include "engine/run/token_report.h"
#include "lexicon/display.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/token_frequency_index.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "spelling/word_index.h"

namespace {

// A call that arrived while a run was going.
struct PendingRun {
    HWND dialog{};
    HWND source{};
    HWND report{};
    HWND label{};
    std::string name;
};

bool g_text_run_going = false;           // a run is going
std::vector<PendingRun> g_waiting_runs;  // calls to serve after it, one per source panel

constexpr unsigned char kBullet = 149;                      // the progress bar's character
constexpr unsigned char kUnknownChar = 6;                   // a character 1251 cannot show
constexpr std::uint64_t kProgressEvery = 100;               // tokens between progress lines
constexpr std::uint64_t kProgressFrom = 500;                // expected tokens that earn a progress line
constexpr std::size_t kMaxTranslatedTokens = 2'999;         // the translator's limit (English texts)
constexpr std::size_t kEntryKeyRoom = 1'023;                // characters of the one-entry test's key

bool is(HWND a, HWND b) { return a && a == b; }

void clear_panel(HWND re) { RE_SetTextW(re, u""); }

// The panel's text in both forms, leading blanks removed from text8 (and counted: every pos adds
// them back).
void read_text(RunContext& c) {
    c.text16 = RE_GetTextW(c.source);
    c.length = static_cast<std::int32_t>(std::min<std::size_t>(c.text16.size(), INT32_MAX));
    balloon.clear();
    corpusaccrue.clear();
    harddelaccrue.clear();
    bool replaced = false;
    c.text8 = utf16_to_cp1251(c.text16, static_cast<char>(kUnknownChar), &replaced);
    // Without a replaced character every character has its code page 1251 form.
    if (c.checker) SetDlgItemTextW(hBig, IDC_BIG_LABEL_UP, replaced ? code_page_label(c.text8, c.text16) : u"ANSI");
    std::size_t lead = 0;
    while (lead < c.text8.size() && c.text8[lead] == ' ') ++lead;
    remove_leading_spaces(c.text8);
    c.lead = static_cast<std::int32_t>(lead);
    // Nothing later reads the UTF-16 form (the panel has it): its memory goes to the scan's records.
    std::u16string().swap(c.text16);
}

// Whether the text, blanks made single and written '_', is one multi-word dictionary entry.
bool is_one_entry(const std::string& text8) {
    std::string key = text8.substr(0, kEntryKeyRoom);
    remove_extra_spaces(key);
    std::replace(key.begin(), key.end(), ' ', '_');
    return is_english_key(key);
}

// Whether the user edited the source at a pump of the last run: its notices are silenced while
// it goes, so it is served once more after it.
bool g_edited_during_run = false;

void put_back_users_view(const RunContext& c) {
    RE_SetSel(c.source, c.user_sel);
    RE_SetScrollPos(c.source, c.user_scroll);
}

// The panels a run writes into do not redraw while it goes: their lines and colours are shown
// together when it ends (each panel's redrawing as it was before; a panel whose redrawing was
// already off stays so). What the user does in a panel meanwhile (at a message pump) acts on its
// text as the run has made it so far.
class QuietPanels {
public:
    explicit QuietPanels(std::initializer_list<HWND> panels) {
        for (HWND h : panels) {
            if (!h || std::find(panels_.begin(), panels_.end(), h) != panels_.end() || !RE_GetRedraw(h)) continue;
            panels_.push_back(h);
        }
        quiet();
    }
    ~QuietPanels() { show(); }
    QuietPanels(const QuietPanels&) = delete;
    QuietPanels& operator=(const QuietPanels&) = delete;
    void quiet() {
        for (HWND h : panels_)
            if (IsWindow(h)) RE_SetRedraw(h, false);
    }
    void show() {
        for (HWND h : panels_)
            if (IsWindow(h)) RE_SetRedraw(h, true);
    }

private:
    std::vector<HWND> panels_;
};

// Cuts the text into store 1, reporting each record, until the text ends, Cancel is pressed or
// the store is full. Progress goes to the label, and the windows are kept alive by the pump.
void scan(RunContext& c) {
    Tokeniser t;
    tok_begin(t, c.text8, c.lead);
    const std::uint64_t every = static_cast<std::uint64_t>(std::max<std::int32_t>(respond_token, 1));
    std::uint64_t to_pump = 0;  // tokens before the next pump (at every `every`-th token from the first)
    // The lists change only at the pumps: between two, the spelling's index of each is tested in full once.
    SteadyWordLists steady;
    // The progress line is due every kProgressEvery tokens and shown when the window can show it:
    // at the next pump, or when the scan ends. What a pump paints is the line of the last token
    // that made one, as if each were set at once.
    bool progress_due = false;
    std::uint64_t progress_at = 0;
    const auto show_progress = [&] {
        if (!progress_due) return;
        progress_due = false;
        SetWindowTextA(c.label, progress_line(progress_at, c.expected));
    };
    for (;;) {
        const int r = tok_next(t);
        if (r < 0) {
            c.store_full = true;
            break;
        }
        if (r == 0) break;
        report_gap(c, t.last);
        if (gl_cancel == 1) {
            gl_cancel = 0;
            c.cancelled = true;
            break;
        }
        if (c.processed % kProgressEvery == 0 && c.expected > kProgressFrom) {
            progress_due = true;
            progress_at = c.processed;
        }
        if (to_pump-- == 0) {
            to_pump = every - 1;
            show_progress();
            UpdateWindow(hMain);
            unfreeze();  // the user's view of the source is kept by the run's guard
            token_report_pumped();
            steady.renew();
        }
        ++c.processed;
        report_token(c, t.last);
    }
    show_progress();
    tok_finish(t);
}

// What follows the scan before the phases.
void end_of_scan(RunContext& c, QuotesOutOfTokens& quotes) {
    if (c.checker) {
        copy_store1_to_R();
        c.steps |= RUN_EXPORTS;
        export_checker_text(c);
        // Subtitle layout: a number, then the time-code line whose arrow is the third gap.
        gl_fg_subtitle = (storeR.rec.count() > 3 && std::string_view(sen_floorR[2].gap) == " --> ") ? 1 : 0;
    }
    if (c.processed > 1) {
        RE_EmptyUndoBuffer(c.source);
        RE_EmptyUndoBuffer(c.report);
    }
    if (c.processed == 1 && !c.text8.empty() && ascii_cyrillic[static_cast<unsigned char>(c.text8[0])]) {
        c.steps |= RUN_ONE_TOKEN_BG;
        one_token_bulgarian_display(c);
    }
    quotes.restore();
    if (c.logs_opened) close_cyr_logs();
    // The words found: the records with a token. The record of the gap after the last word (a text
    // that ends in blanks or a full stop) is processed too, but it is no word: counted, the line
    // would say one more than the report's "words found" of the same text.
    const bool gap_after_last = c.processed > 0 && sen_floor[c.processed - 1].text == glZero;
    JuxShowMessage(hAddReSaved, done_line(c.processed - (gap_after_last ? 1 : 0), c.length), 1);
    if (c.processed > 1)
        SetWindowTextA(c.label, with_timing_note(statistics_line(c.processed, c.expected, malsen1.used(),
                                                                 malsen1c.used(), sen_floor[0].gap == glZero),
                                                 c.timing_note));
    else if (!c.timing_note.empty())
        SetWindowTextA(c.label, c.timing_note);
}

// The phases in their order, each behind its switch.
void phases(RunContext& c) {
    if (gl_PARSE_LATIN_WORDS) {
        c.steps |= RUN_ENGLISH_LIST;
        phase_english_word_list(c);
    }
    if (c.processed > 1) {
        c.steps |= RUN_UNKNOWN_WORDS;
        phase_unknown_words(c);
    }
    // The exports written beside the lists go on beside the proof-reader, which only reads store 1
    // and writes the report, pumping nothing; they end before anything else reads or changes the
    // stores.
    if (gl_AUTO_SPELL || gl_AUTO_OCR) join_background_exports(c);
    if (gl_AUTO_SPELL) {
        c.steps |= RUN_AUTO_FILES;
        phase_auto_files(c);
    }
    if (gl_AUTO_OCR) {
        c.steps |= RUN_OCR_FILE;
        phase_ocr_file(c);
    }
    if (gl_CHECK_PUNCTUATION) {
        c.steps |= RUN_PROOF_READER;
        phase_proof_reader(c);
    }
    join_background_exports(c);
    // The colouring walks the subtitle text without numbers and time codes while the text is in
    // the subtitle layout; the translator walks store 1 and strips the layout itself.
    const bool subtitles = gl_MACHINE_TRANSLATION && gl_fg_subtitle;
    const RecordArray& colour_walk = subtitles ? store1S : store1.rec;
    const bool english_limit = gl_ENGLISH_TRANSLATION != 0;
    if (gl_MACHINE_TRANSLATION) {
        if (gl_fg_subtitle) {
            c.steps |= RUN_SUBTITLE_TEXT;
            phase_subtitle_text(c);
        }
        if (gl_STRIP_TIMECODE && gl_fg_subtitle) {
            c.steps |= RUN_TIME_CODE_FILES;
            phase_time_code_files(c);
        }
        const bool source_redraw = RE_GetRedraw(c.source);
        RE_SetRedraw(c.source, false);
        if (!(english_limit && colour_walk.count() > kMaxTranslatedTokens)) {
            c.steps |= RUN_TR_COLOURING;
            phase_translator_colouring(c, colour_walk);
        }
        if (source_redraw) {
            RE_SetRedraw(c.source, true);
            InvalidateRect(c.source, true);
        }
    }
    c.steps |= RUN_HARD_RARE;
    phase_hard_rare_colouring(c, colour_walk);
    if (gl_MACHINE_TRANSLATION && IsWindow(hMachine) && !is(c.source, hAddReShortCopy) &&
        !is(c.source, hAddReShort) && !(english_limit && colour_walk.count() > kMaxTranslatedTokens)) {
        c.steps |= RUN_MACHINE;
        store_detach_R();  // the translator edits store 1's records in place; store R keeps the text as cut
        phase_machine_translation(c, store1.rec);
    }
}

// The dictionary-entry display under its guard: one word or one multi-word entry, not beginning
// with a Cyrillic letter.
void entry_display_step(RunContext& c) {
    if ((c.expected <= 1 || c.one_entry) &&
        (c.text8.empty() || !ascii_cyrillic[static_cast<unsigned char>(c.text8[0])])) {
        c.steps |= RUN_ENTRY_DISPLAY;
        entry_display(c);
    }
}

void keep_summary(const RunContext& c) {
    const int runs = last_run.runs;
    last_run = RunSummary{c.expected, c.one_entry, c.processed, c.cut, c.cancelled, c.store_full, c.steps, runs + 1};
}

void run_text(HWND dialog, HWND source, HWND report, HWND label, std::string& text8,
              std::u16string& text16, const char* name) {
    RunContext c{dialog, source, report, label, text8, text16, name ? name : ""};
    c.checker = is(source, hBigReRight);
    const LiveLookUp live;  // the live clipboard panel gets each entry the run shows once
    // A Cancel pressed before this run began was for no run or for one whose scan had already
    // ended (pressed in its last pump): it must not stop this one at its first token.
    gl_cancel = 0;

    read_text(c);
    c.user_sel = RE_GetSel(source);
    c.user_scroll = RE_GetScrollPos(source);
    // Every pump of the run, in the scan and in the later phases, gives the user their own view,
    // and the keyboard focus when the caller parked it on the run's status line.
    const UserViewDuringPumps user_view{source, c.user_sel, c.user_scroll, label};
    const QuietPanels quiet{source, report, hAddReSaved, hAddReShort3};
    if (!changed_from_add_fg && !is(source, hAddReShortCopy))
        ColorRangeOn(source, 0, c.length, CFM_COLOR | CFM_BOLD | CFM_UNDERLINE, 0, 0);

    // The entry box without "cut the text into tokens": straight to the entry display.
    if (is(source, hAddReShort) && Button_GetCheck(hAddSentence) != 1) {
        entry_display_step(c);
        put_back_users_view(c);
        keep_summary(c);
        g_edited_during_run = user_view.user_edited();
        return;
    }
    c.cut = true;

    c.expected = get_token_count_in_string(c.text8);
    if (c.expected >= 2 && c.expected <= 8) c.one_entry = is_one_entry(c.text8);

    ResetGmake();
    ResetGmake3(1);
    // Store R first: when it shares store 1's records (the checker's last run), it lets them go,
    // and store 1 is emptied in place rather than handing them over.
    if (c.checker) store_reset(storeR);
    store_reset(store1);
    store_reserve(store1.rec, c.expected + 1);
    store_seal(store1.rec, c.length);
    store_reset(store1S);

    if (gl_SPELL_CHECKER_LOG && (gl_isFromClipboard == 1 || gl_isFromFile == 1)) {
        gl_isFromClipboard = 0;
        gl_isFromFile = 0;
        open_cyr_logs();
        c.logs_opened = true;
    }

    clear_panel(report);
    clear_panel(hAddReSaved);
    clear_panel(hAddReShort3);
    RE_SetWordWrap(hAddReSaved, false);
    JuxShowMessage(report, words_found_line(c.expected, c.length), 2);

    QuotesOutOfTokens quotes;
    token_report_begin_run();
    token_report_ask_ahead(c.text8);
    scan(c);
    token_report_end_scan();
    // Only the one-token display and the dictionary-entry display read the text after its scan;
    // without them its memory goes to the exports and the phases.
    if (!(c.processed == 1 || c.expected <= 1 || c.one_entry)) std::string().swap(c.text8);
    end_of_scan(c, quotes);
    phases(c);

    RE_HideSelection(source, false);
    RE_HideSelection(report, false);
    SetWindowTextA(GetDlgItem(hBig, IDC_BIG_LABEL), with_timing_note("Done!", c.timing_note));

    entry_display_step(c);
    put_back_users_view(c);
    keep_summary(c);
    g_edited_during_run = user_view.user_edited();
}

void remember(HWND dialog, HWND source, HWND report, HWND label, const char* name) {
    PendingRun p{dialog, source, report, label, name ? name : ""};
    for (PendingRun& q : g_waiting_runs)
        if (q.source == source) {
            q = p;
            return;
        }
    g_waiting_runs.push_back(p);
}

struct RunningFlag {
    RunningFlag() { g_text_run_going = true; }
    ~RunningFlag() { g_text_run_going = false; }
};

}  // namespace

RunSummary last_run;

void translate_text(HWND dialog, HWND source, HWND report, HWND label, std::string& text8,
                    std::u16string& text16, const char* name) {
    if (g_text_run_going) {
        remember(dialog, source, report, label, name);
        return;
    }
    RunningFlag running;
    g_edited_during_run = false;
    run_text(dialog, source, report, label, text8, text16, name);
    // Keys typed while it pumped changed the text it checked: the newer text is checked too.
    if (g_edited_during_run) remember(dialog, source, report, label, name);
    // The calls that arrived meanwhile. Each run gives its panel's selection and scroll position
    // back itself, as they stand after the user's latest input (keys typed while it pumps move
    // them), so nothing here may restore an older view.
    while (!g_waiting_runs.empty()) {
        const PendingRun p = g_waiting_runs.front();
        g_waiting_runs.erase(g_waiting_runs.begin());
        if (!IsWindow(p.source)) continue;
        // The checker's text emptied meanwhile ("clr", or all of it deleted): an empty text starts
        // no run there, and the report of the last one stays.
        if (is(p.source, hBigReRight) && RE_GetTextLength(p.source) == 0) continue;
        std::string t8;
        std::u16string t16;
        g_edited_during_run = false;
        run_text(p.dialog, p.source, p.report, p.label, t8, t16, p.name.c_str());
        if (g_edited_during_run) remember(p.dialog, p.source, p.report, p.label, p.name.c_str());
    }
    // The files the runs wrote (logs, exports, reports) that could not be written, by name.
    tell_write_failures(IsWindow(hBig) ? hBig : hMain);
}

void translate_panel(HWND dialog, HWND source, HWND report, HWND label, const char* name) {
    const bool outermost = !g_text_run_going;
    const CHARRANGE sel = RE_GetSel(source);
    const POINT scroll = RE_GetScrollPos(source);
    std::string t8;
    std::u16string t16;
    translate_text(dialog, source, report, label, t8, t16, name);
    // A run that went has put the panel's view back itself, as the user had it after the last
    // message it pumped (a click, a scroll or keys meanwhile move it): the view taken before the
    // call is older than that and must not come back.
    if (outermost) return;
    RE_SetSel(source, sel);
    RE_SetScrollPos(source, scroll);
}

bool translate_text_running() { return g_text_run_going; }

void reset_run() {
    g_waiting_runs.clear();
    g_text_run_going = false;
    g_edited_during_run = false;
    last_run = RunSummary{};
}

std::string words_found_line(std::uint64_t expected, std::int32_t length) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%llu words found (%i characters)", static_cast<unsigned long long>(expected),
                  length);
    return buf;
}

std::string progress_line(std::uint64_t processed, std::uint64_t expected) {
    const long double pct = expected ? static_cast<long double>(processed) * 100.0L / static_cast<long double>(expected) : 0.0L;
    const int bullets = static_cast<int>(static_cast<long long>(pct * 4.0L) % 40);
    const std::string bar(static_cast<std::size_t>(bullets), static_cast<char>(kBullet));
    char buf[256];
    std::snprintf(buf, sizeof buf, "%.2Lf%%  %llu / ~ %llu  %s", pct, static_cast<unsigned long long>(processed),
                  static_cast<unsigned long long>(expected), bar.c_str());
    return buf;
}

std::string done_line(std::uint64_t words, std::int32_t length) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "\nDONE! %llu words found (%i characters)", static_cast<unsigned long long>(words),
                  length);
    return buf;
}

std::string statistics_line(std::uint64_t processed, std::uint64_t expected, std::size_t word_bytes,
                            std::size_t gap_bytes, bool first_gap_empty) {
    const long double p = static_cast<long double>(processed);
    const long double words = (static_cast<long double>(word_bytes) - p) / p;
    const long double gaps = first_gap_empty ? (static_cast<long double>(gap_bytes) - p + 1.0L) / (p - 1.0L)
                                             : (static_cast<long double>(gap_bytes) - p) / p;
    char buf[256];
    std::snprintf(buf, sizeof buf, "100.00%%  %llu / ~ %llu, average word length: %.3Lf; aver. space length: %.3Lf",
                  static_cast<unsigned long long>(processed), static_cast<unsigned long long>(expected), words, gaps);
    return buf;
}

std::u16string code_page_label(const std::string& text8, const std::u16string& text16) {
    static const auto wide = [] {
        std::array<char16_t, 256> t{};
        for (int c = 0; c < 256; ++c) t[static_cast<std::size_t>(c)] = cp1251_to_wchar(static_cast<unsigned char>(c));
        return t;
    }();
    const std::size_t n = std::min(text8.size(), text16.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t w = text16[i];
        if (wide[static_cast<unsigned char>(text8[i])] == w) continue;
        std::u16string label = u"Unicode: ";
        label += w;
        // A character outside the basic plane is shown whole (both halves of its pair).
        if (w >= 0xD800 && w <= 0xDBFF && i + 1 < text16.size() && text16[i + 1] >= 0xDC00 && text16[i + 1] <= 0xDFFF)
            label += text16[i + 1];
        label += u' ';
        for (char d : std::to_string(i + 1)) label += static_cast<char16_t>(d);
        return label;
    }
    return u"ANSI";
}
