// engine/proofreading/proof_report.h - what every pass of the proof-reader shares: the state of one
// proof-reading run (the panels, the records of token store 1, the switches read once), the one way
// a finding is written into the report panel (title, finding line, source mark, pass end) and the
// summary form of the passes that report once per pass.
//
// A pass walks the records itself with its own cursor, from `floor` up to `nd` (exclusive); the
// 1,024 empty records after `nd` make reading a few records ahead safe. The text of a record is
// code page 1251; titles are UTF-16; positions are UTF-16 offsets in the panels, and the 8-bit
// text has one byte per UTF-16 unit, so byte counts of a line are its character counts.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/token_store.h"
#include "platform/richedit.h"
#include "platform/types.h"

// ---- Colours of the report (COLORREF 0x00BBGGRR) and the format masks they go with --------------
inline constexpr COLORREF PR_TITLE = 0xFF00FF;       // pass title, closing header (magenta)
inline constexpr COLORREF PR_CONTEXT = 0x2A00FF;     // context part of a finding line (red)
inline constexpr COLORREF PR_SUGGESTION = 0x007F00;  // suggestion part (green)
inline constexpr COLORREF PR_NOVEL = 0x006F00;       // the novel-mode checks' green
inline constexpr COLORREF PR_COUNT = 0xFF0000;       // occurrence count behind a summary title (blue)
inline constexpr COLORREF PR_LINE_BREAK = 0x7F7FFF;  // marker on the character before a line break (pink)
inline constexpr COLORREF PR_MARK = 0x2A00FF;        // source mark (red, underlined)
inline constexpr DWORD PR_COLOUR_BOLD = 0x40000001;       // colour and bold
inline constexpr DWORD PR_COLOUR_UNDERLINE = 0x40000004;  // colour and underline
inline constexpr DWORD PR_COLOUR_ONLY = 0x40000000;       // colour alone

class ReportTape;

// The state of one proof-reading run; passes read it and write through the functions below.
struct ProofRun {
    HWND source{};                 // the panel whose text was processed (marked, never changed)
    HWND report{};                 // the panel that receives the report
    const SenToken* floor = nullptr;  // first record of store 1
    const SenToken* nd = nullptr;     // one past its last record
    std::uint64_t tokens = 0;      // the run's processed-token count
    bool novel = false;            // novel mode, and the source is not one of the main window's short panes
    bool mark_source = false;      // text colouring on, and the source is not the entry box's copy
    std::shared_ptr<class WordFacts> facts;  // the answers about the store's words (proof_words.h), or none
    // The stretch of records whose findings this run writes (null: the whole store). A pass still
    // looks round its records over the whole store; it only walks the stretch.
    const SenToken* from = nullptr;
    const SenToken* to = nullptr;
    // Where the writes go while a stretch is recorded (null: into the panels).
    ReportTape* tape = nullptr;
    // The one scan this run makes of a pass that scans the store several times in turn (-1: all).
    int scan = -1;

    // The record before the last one, or null for an empty store.
    const SenToken* last() const { return nd > floor ? nd - 1 : nullptr; }
    // The first record a walk visits: `skip` records after the store's first, and not before the
    // stretch; null for an empty store.
    const SenToken* begin(std::ptrdiff_t skip = 0) const {
        if (!floor) return nullptr;
        const SenToken* b = floor + skip;
        return from && from > b ? from : b;
    }
    // One past the last record a walk visits (never beyond `limit` when given).
    const SenToken* end(const SenToken* limit = nullptr) const {
        const SenToken* e = to ? to : nd;
        return limit && limit < e ? limit : e;
    }
};

// What the passes wrote over one stretch of the store, to be played into the panels later: the
// lines and colours of the report (offsets counted from the recording's own start) and the marks
// in the source. A title is written once for all the stretches of a pass, before its first line;
// the pass end once, after its last.
class ReportTape {
public:
    // Finding: a finding's line (8-bit, one line end) with its context and suggestion coloured as
    // PassReport::finding colours them: `from` is where the line starts, `to` where its context
    // ends and `mask` where its suggestion ends (offsets from the recording's start), `colour` the
    // suggestion's colour. One operation where the line and its two colourings would take three.
    enum class Kind : std::uint8_t { Title, Line8, Line16, Colour, Mark, End, IndexReset, Index, Finding };
    struct Op {
        explicit Op(Kind k, int ends = 0) : kind(k), line_ends(static_cast<std::int8_t>(ends)) {}
        Kind kind;
        std::int8_t line_ends = 0;
        LONG from = 0, to = 0;
        DWORD mask = 0, effects = 0;
        COLORREF colour = 0;
        std::uint32_t at = 0, size = 0;  // its text in text8 or text16 (by kind)
    };
    // Adds an operation with its text.
    void add(Op op, std::string_view text) {
        op.at = static_cast<std::uint32_t>(text8.size());
        op.size = static_cast<std::uint32_t>(text.size());
        text8.append(text);
        ops.push_back(op);
    }
    void add(Op op, std::u16string_view text) {
        op.at = static_cast<std::uint32_t>(text16.size());
        op.size = static_cast<std::uint32_t>(text.size());
        text16.append(text);
        ops.push_back(op);
    }
    std::string_view text_of8(const Op& op) const { return std::string_view(text8).substr(op.at, op.size); }
    std::u16string_view text_of16(const Op& op) const { return std::u16string_view(text16).substr(op.at, op.size); }

    // The source offset of the stretch's first record when it was recorded.
    LONG source_at = 0;
    std::vector<Op> ops;
    std::string text8;      // the texts of the 8-bit lines and of the index's words, one after another
    std::u16string text16;  // those of the titles and the UTF-16 lines
    LONG length = 0;  // characters the report lines take in the panel
};

// Plays the recordings of one pass's stretches into the panels (and the token index), one after
// another. The report lines and their colours are gathered and go into the report panel in one
// append with their formats (RE_AppendFormatted) where that leaves the panel as the lines and
// colourings one by one would: the text, every character's format, the selection, the scrolling
// and the undo history. It is so when the panel tells its dialog of no selection, the text stays
// within its limit, and each colouring lies within the lines gathered and leaves their last
// character as it was (text put in takes the format of the character before it); otherwise what
// is gathered goes in first and the step is made alone. A panel that tells its dialog of changes
// tells it of as many, once the gathered lines are in (the checker's report: its dialog takes no
// command from it).
class TapePlayer {
public:
    explicit TapePlayer(const ProofRun& run);
    ~TapePlayer() { flush(); }
    TapePlayer(const TapePlayer&) = delete;
    TapePlayer& operator=(const TapePlayer&) = delete;

    // Plays one stretch's recording: `titled` says whether the pass's title stands already (and
    // becomes true when the recording writes it), `end_lines` receives the line ends of the pass
    // end the recording asks for, and source marks move by `shift`.
    void play(const ReportTape& tape, LONG shift, bool& titled, int& end_lines);
    // Puts what is gathered into the report panel; done before anything else writes there.
    void flush();

private:
    LONG report_end();
    template <typename S>
    void line(S text, int line_ends);
    void colour(LONG from, LONG to, DWORD mask, COLORREF colour, DWORD effects);

    const ProofRun& run_;
    bool gather_ = false;  // false: each step goes into the panel at once
    LONG limit_ = 0;       // the panel's text limit
    LONG start_ = 0;       // where the gathered text goes in the panel
    std::u16string text_;  // the gathered lines, as the panel keeps them
    std::vector<FormatChange> changes_;  // their colours, from the start of text_
    int lines_ = 0;                      // the lines gathered that put text in
    bool last_colour_ = false;           // the last step gathered was a colouring
};

// Offset in the source panel where a record's gap begins.
inline LONG gap_start(const SenToken& r) { return r.pos - static_cast<LONG>(std::strlen(r.gap)); }
// The walk of the passes over two neighbouring words: every record from the second one on, skipping
// those where neither the record nor the one before it holds a word.
template <typename F>
void walk_word_pairs(const ProofRun& run, F&& f) {
    if (!run.floor) return;
    for (const SenToken* p = run.begin(1); p < run.end(); ++p) {
        if (!p->text[0] && !p[-1].text[0]) continue;
        f(p);
    }
}

// True when the text holds a carriage return.
inline bool has_cr(const char* s) { return std::strchr(s, '\r') != nullptr; }
// The first place in a gap where the two characters `two` stand side by side, or null. Most gaps
// are one blank: they hold no two characters and are passed over without a search.
inline const char* find_two(const char* gap, const char* two) { return gap[0] && gap[1] ? std::strstr(gap, two) : nullptr; }
// True when the first character is a small letter or a capital (code page 1251 classes).
bool starts_small(const char* s);
bool ends_capital(const char* s);

// The report of one per-finding pass: the title is written with the first finding, every finding
// adds one line, and the pass ends with an empty line when it found anything (done by end(), which
// the destructor calls when the pass has not).
class PassReport {
public:
    // `title_line_ends`: line ends after the title (1; the paragraph-pair check writes 2).
    PassReport(ProofRun& run, std::u16string_view title, int title_line_ends = 1);
    ~PassReport();
    PassReport(const PassReport&) = delete;
    PassReport& operator=(const PassReport&) = delete;

    // Title step (on the first finding) and finding step: the context red and bold, the suggestion
    // part (which begins with " -> ") in `suggestion_colour`, not bold. Returns the offset of the
    // line in the report panel, so that a pass can colour more of it.
    LONG finding(std::string_view context, std::string_view suggestion, COLORREF suggestion_colour = PR_SUGGESTION);
    // Title step alone, coloured in the given colour and effects (the end-of-text line).
    void title_only(COLORREF colour, DWORD effects);
    // Pass end: one empty line when the pass found anything (`line_ends` of them); once.
    void end(int line_ends = 1);
    int count() const { return count_; }

private:
    void title_step(COLORREF colour, DWORD effects);

    ProofRun& run_;
    std::u16string_view title_;
    int title_line_ends_;
    int count_ = 0;
    bool ended_ = false;
};

// A finding counted in the token index (family 1): the pass's first finding empties it first.
void index_finding(const ProofRun& run, const PassReport& rep, std::string_view word);

// The pink marker on one character of a finding line (the character before a line break inside a
// context): `pos` is its offset in the report panel.
void mark_line_break(const ProofRun& run, LONG pos);

// Source mark: red underline over [start, end) of the source panel, when the run marks its source.
void mark_source(const ProofRun& run, LONG start, LONG end);
// The same range coloured with another mask and effects (the colour-only mark of "¶"), and in
// another colour.
void mark_source(const ProofRun& run, LONG start, LONG end, DWORD mask, DWORD effects, COLORREF colour = PR_MARK);

// Summary form: when count is above 0, the title with "  <count>" behind it (magenta bold, the
// count blue), one line with the sequence and its suggestion part, then an empty line.
void summary_report(ProofRun& run, std::u16string_view title, unsigned count, std::string_view context,
                    std::string_view suggestion);

// The report panel's end (where the next line goes), and a range of it coloured: through the tape
// while a stretch is recorded.
LONG report_end(const ProofRun& run);
void colour_report(const ProofRun& run, LONG start, LONG end, DWORD mask, COLORREF colour, DWORD effects);
// Empty lines behind the report's last line.
void report_blank_lines(const ProofRun& run, int line_ends);

// Appends text (and line ends) to the report panel and colours `colour_len` characters of it from
// its start; returns the start. The text's CR LF pairs count as one character, as the panel holds
// them.
LONG report_line(const ProofRun& run, std::u16string_view text, int line_ends, COLORREF colour, DWORD effects);
LONG report_line8(const ProofRun& run, std::string_view text, int line_ends, COLORREF colour, DWORD effects);
