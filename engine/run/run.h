// engine/run/run.h - translate_text, the one routine that processes the whole text of a rich-edit
// panel: it reads the text, cuts it into token store 1 while each token is reported, finishes the
// scan, runs the optional phases (word lists, generated files, proof-reader, colouring for
// translators, machine translation) each behind its own switch, and ends with the dictionary-entry
// display of a one-word look-up.
//
// Callers: the main window on every change of its entry box, and the text-checker window for the
// whole text of its right panel. Each keeps the source panel's selection and scroll position round
// the call. The run keeps the windows alive by pumping messages every `respond_token` tokens and
// stops cutting when a Cancel button sets gl_cancel.
//
// The run is never re-entered: a call that arrives while a run is pumping (a change of a panel,
// a click) is remembered, and served by one more run after the current one ends - one per source
// panel, with the latest arguments, and with that panel's selection and scroll position kept round
// it. Such a call returns at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/token_store.h"
#include "engine/tokeniser.h"
#include "engine/worker_pool.h"
#include "platform/richedit.h"
#include "platform/types.h"

// What one run knows while it goes; the phases read it.
struct RunContext {
    HWND dialog{};                  // the calling dialog
    HWND source{};                  // the panel whose text is processed (and coloured)
    HWND report{};                  // the panel that receives the report
    HWND label{};                   // the status label
    std::string& text8;             // the source text in code page 1251, edited in place
    std::u16string& text16;         // the source text in UTF-16 (emptied once text8 is made)
    const char* name = "";          // the caller's debugging name (never read)
    std::int32_t length = 0;        // the panel's text length in UTF-16 units
    std::int32_t lead = 0;          // leading blanks removed from text8
    std::uint64_t expected = 0;     // the expected token count
    bool one_entry = false;         // the text is one multi-word dictionary entry
    std::uint64_t processed = 0;    // records reported so far
    bool checker = false;           // the source is the text-checker window's right panel
    bool cancelled = false;         // Cancel stopped the scan
    bool store_full = false;        // MAX_WORDS_IN_FILE stopped the scan
    bool logs_opened = false;       // this run opened the six spelling logs
    bool cut = false;               // the text was cut into tokens (not the entry-box shortcut)
    unsigned steps = 0;             // RUN_... bits of the steps entered
    CHARRANGE list_start{};         // report panel range where the unknown-word list began (0, 0: none)
    std::string timing_note{};      // the repeated passages' time, shown after the statistics line
    // The source's selection and scroll position as the user has them: taken when the run starts,
    // put back before every message pump (so that what the user types meanwhile lands where the
    // caret is, not in a range the run was colouring) and read again after it, and put back when
    // the run ends.
    CHARRANGE user_sel{};
    POINT user_scroll{};
    // The checker's exports being written beside the word lists (export_checker_tokens); the run
    // does not pump messages until they have ended.
    std::unique_ptr<BackgroundTask> background{};
};

// Steps of a run that are entered only under their switch (bits of RunContext::steps).
enum : unsigned {
    RUN_EXPORTS = 1u << 0,           // exports of the checker's text
    RUN_ONE_TOKEN_BG = 1u << 1,      // one-token Bulgarian display
    RUN_ENGLISH_LIST = 1u << 2,      // phase 1
    RUN_UNKNOWN_WORDS = 1u << 3,     // phase 2
    RUN_AUTO_FILES = 1u << 4,        // phase 3
    RUN_OCR_FILE = 1u << 5,          // phase 4
    RUN_PROOF_READER = 1u << 6,      // phase 5
    RUN_SUBTITLE_TEXT = 1u << 7,     // phase 6 (a)
    RUN_TIME_CODE_FILES = 1u << 8,   // phase 6 (b)
    RUN_TR_COLOURING = 1u << 9,      // phase 6 (c)
    RUN_HARD_RARE = 1u << 10,        // phase 7
    RUN_MACHINE = 1u << 11,          // phase 8
    RUN_ENTRY_DISPLAY = 1u << 12,    // the dictionary-entry display
};

// What the last run did: its counts, how its scan ended and the steps it entered.
struct RunSummary {
    std::uint64_t expected = 0;
    bool one_entry = false;
    std::uint64_t processed = 0;
    bool cut = false;
    bool cancelled = false;
    bool store_full = false;
    unsigned steps = 0;
    int runs = 0;  // runs since the engine's reset (deferred ones included)
};
extern RunSummary last_run;

// The text-processing run. text8 and text16 are its working copies of the source's text (their
// earlier contents do not matter; they are sized here): text16 is emptied once text8 is made, and
// text8 after the scan unless the one-token or the dictionary-entry display reads it then.
// `name` is the caller's debugging label.
void translate_text(HWND dialog, HWND source, HWND report, HWND label, std::string& text8,
                    std::u16string& text16, const char* name);

// The callers' protocol round a run, for the windows that call it: keeps the source panel's
// selection and scroll position (the run selects the ranges it colours) and gives the run its
// buffers. When the user clicked, scrolled or typed in the panel while the run pumped messages,
// the run (or the one that served the change) has left the panel as the user had it, and that
// stays.
void translate_panel(HWND dialog, HWND source, HWND report, HWND label, const char* name);

// True while a run is going (a call now would be served after it).
bool translate_text_running();

// Forgets pending runs (test fixtures; reset_engine calls it).
void reset_run();

// The engine's reset for test fixtures: handles null, flags 0, logs closed, balloon empty,
// token stores released, no run pending; the main window's panes and search log of
// engine/lookup_state.h as well.
void reset_engine();

// The status texts of a run, exactly as the label shows them (code page 1251).
std::string words_found_line(std::uint64_t expected, std::int32_t length);
std::string progress_line(std::uint64_t processed, std::uint64_t expected);
std::string done_line(std::uint64_t words, std::int32_t length);
std::string statistics_line(std::uint64_t processed, std::uint64_t expected, std::size_t word_bytes,
                            std::size_t gap_bytes, bool first_gap_empty);
// The checker window's code-page label for a text: "ANSI" when every character has its code page
// 1251 form, else "Unicode: " with the first character that has none and its 1-based position.
std::u16string code_page_label(const std::string& text8, const std::u16string& text16);
