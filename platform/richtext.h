// The document of one rich-edit panel: text, character formats, selection, undo history, find,
// lines and panel options. A plain model: it sends no notifications itself; the panel calls of
// richedit.cpp use it and then tell the dialog and the backend's view what changed.
//
// Text is UTF-16; the paragraph end is one '\r' and the model never holds '\n' (callers
// normalise with normalize_line_ends). Positions are UTF-16 units.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/richedit.h"
#include "platform/types.h"

// The full format of a character.
struct CharFormat {
    bool auto_color = true;  // the panel's default text colour
    COLORREF color = 0;
    bool auto_back = true;   // no highlight
    COLORREF back = 0;
    DWORD effects = 0;       // CFE_BOLD, CFE_ITALIC, CFE_UNDERLINE, CFE_STRIKEOUT, CFE_PROTECTED, CFE_LINK
    LONG height = 0;         // twips, 0: the panel's font size
    std::u16string face;     // empty: the panel's font
    friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

// A stretch [from, to) of characters that share one format.
struct FormatRun {
    LONG from = 0, to = 0;
    CharFormat format;
};

// A stretch [from, to) of characters whose format is the document's format number `index`
// (RichText::format_by_index): distinct formats have distinct numbers. The numbers hold until the
// text or its formats change next.
struct FormatSpan {
    LONG from = 0, to = 0;
    std::uint32_t index = 0;
};

// What one change of text did: `removed` units at `pos` were replaced by `inserted` units.
struct TextChange {
    LONG pos = 0, removed = 0, inserted = 0;
};

// CR LF and lone LF become '\r'; everything else is kept (NUL, lone surrogates included).
std::u16string normalize_line_ends(std::u16string_view s);
// Where the first `unit` (one below U+0100, a line end say) of s at or after `from` is, npos when
// there is none: a search of the bytes, far faster than a look at every unit.
std::size_t find_unit(std::u16string_view s, char16_t unit, std::size_t from = 0);

class RichText {
public:
    RichText();
    ~RichText();
    RichText(const RichText&) = delete;
    RichText& operator=(const RichText&) = delete;

    const std::u16string& text() const;
    LONG length() const;
  // Room for `more` units beyond the present length, within the text limit (text and formats);
  // nothing else changes.
  void reserve(LONG more);
    std::u16string text_range(LONG from, LONG to) const;  // clamped
    // The text with each '\r' written as "\r\n".
    std::u16string text_crlf(LONG from, LONG to) const;

    // Replaces [from, to) (clamped, swapped when reversed) by `s` (already normalised). New text
    // takes the format of the first replaced character when the range is not empty (so a range
    // coloured and then replaced keeps its colour); at an empty range the format set there by
    // set_format(p, p), else the character's before `from` (the default format in an empty text,
    // the first character's at position 0). `undoable` records the step; `typing`
    // lets consecutive one-character insertions merge into one undo step. The selection becomes
    // the caret after the new text. Marks the text modified.
    TextChange replace(LONG from, LONG to, std::u16string_view s, bool undoable, bool typing = false);
    // The same with formats given for the new text (runs relative to `from`, covering it).
    TextChange replace_formatted(LONG from, LONG to, std::u16string_view s,
                                 const std::vector<FormatRun>& runs, bool undoable);

    // Appends `s` (already normalised) as replace(length(), length(), s, undoable) would, then
    // applies each change to its range of the new text (cut to it) as set_format would, in order.
    // The formats of the new text are written once, not once per change.
    TextChange append_formatted(std::u16string_view s, std::span<const FormatChange> changes, bool undoable);

    CHARRANGE selection() const;
    // Sets the selection: cpMin 0 and cpMax -1 selects all, -1/-1 the end; clamped to the text.
    // Returns true when it changed.
    bool set_selection(CHARRANGE r);

    // Applies the attributes of cf.dwMask to [from, to); SCF_DEFAULT through set_default_format.
    // Returns the part whose characters changed their format (empty when none did).
    CHARRANGE set_format(LONG from, LONG to, const CHARFORMAT2W& cf);
    void set_default_format(const CHARFORMAT2W& cf);
    CharFormat default_format() const;
    // The format common to [from, to): dwMask holds the attributes that are uniform. An empty
    // range reads the format that new text inserted there would take.
    CHARFORMAT2W format_of_range(LONG from, LONG to) const;
    CharFormat format_at(LONG pos) const;
    std::vector<FormatRun> runs(LONG from, LONG to) const;
    // The same without a copy of each run's format.
    std::vector<FormatSpan> spans(LONG from, LONG to) const;
    const CharFormat& format_by_index(std::uint32_t index) const;

    bool can_undo() const;
    bool can_redo() const;
    std::optional<TextChange> undo();
    std::optional<TextChange> redo();
    void clear_undo();

    // See RE_FindText for the direction and range rules. Whole words: the characters around the
    // match are not letters, digits or '_' (UTF-16 letters of the text layer). Without
    // FR_MATCHCASE letters compare folded.
    std::optional<CHARRANGE> find(DWORD flags, CHARRANGE range, std::u16string_view what) const;

    // Paragraph lines ('\r'-separated): count, line of a position, first position of a line.
    int line_count() const;
    int line_from_char(LONG pos) const;
    LONG line_index(int line) const;  // -1 past the last line

    // Panel options kept with the document.
    DWORD event_mask = 0;
    LONG limit = 32767;
    bool word_wrap = true;
    bool read_only = false;
    bool hide_selection = false;
    bool redraw = true;
    bool modified = false;
    std::optional<COLORREF> background;
    POINT scroll{};  // used when no view keeps a scroll position

private:
    struct Impl;
    Impl* impl_;
};

// The program's RTF: writes text and formats of [from, to) as RTF (code page 1251 with \uN for
// other characters, colour table, \b \i \ul \strike, \par for each '\r').
std::string rtf_write(const RichText& doc, LONG from, LONG to);
// Reads RTF: text, \par \line \tab, \'hh (by \ansicpg, default 1251), \uN with \ucN skipping,
// colour table with \cf and \highlight/\cb, \b \i \ul \ulnone \strike and their 0 forms, \plain,
// groups; destinations it does not know (font tables, pictures, {\*...}) are skipped. Returns
// nullopt when the data is not RTF at all.
struct RtfContent {
    std::u16string text;
    std::vector<FormatRun> runs;
};
std::optional<RtfContent> rtf_read(std::string_view rtf);
