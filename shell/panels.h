// shell/panels.h - text in and out of rich-edit panels: messages appended at the end, text put in
// place of the selection or of the whole text, RTF and file streams, files dropped or opened into a
// panel, and text put on the clipboard.
//
// 8-bit text is code page 1251. Every routine on a null or destroyed panel does nothing. The put
// and append routines leave the panel's event mask alone: a panel whose mask holds ENM_CHANGE
// tells its window about the change before the routine returns, and callers that need silence
// clear the mask around the call.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/richedit.h"
#include "platform/window.h"

// Appends the text and n line ends ("\r\n" each) at the end of the panel, scrolls to the bottom
// and repaints. An empty text with n = 1 appends one empty line; n = 0 appends the text alone.
// The panel's text limit applies, as to every insertion.
void JuxShowMessage(HWND re, std::string_view text, int n);
void JuxShowMessageW(HWND re, std::u16string_view text, int n);

// Puts the caret at the end of the text and returns that empty selection (start = end = the text's
// length) in `cr`, so that a caller can colour what it appends next from cr.cpMin.
void SelectReEnd(HWND re, CHARRANGE& cr);

// The text in place of the selection (undoable); the panel then takes the keyboard focus.
void StringToRE(HWND re, std::string_view text);
void StringToRE1200(HWND re, std::u16string_view text);
// The text in place of the whole text (the undo history is emptied); the focus is unchanged. An
// empty text empties the panel.
void StringToREdef(HWND re, std::string_view text);
void StringToRE1200def(HWND re, std::u16string_view text);

// Replaces the panel's contents with the RTF text; 1 when it was read, 0 (panel unchanged) when
// it is no RTF the panel can read.
int StreamRtfStringIntoRichEdit(std::string_view rtf, HWND re);
// Streams the file's 8-bit text from its current position to its end into the panel in place of
// the whole text; returns the number of bytes read, -1 for a null stream or panel.
std::int64_t StreamFileIntoRichEdit(FILE* f, HWND re);

// gl_0D0A, gl_0A, gl_0D from the line ends of a text: CR LF, else LF, else CR (all 0: none).
void set_line_end_flags(std::string_view bytes);

// Files of this size or more are not loaded into a panel.
inline constexpr std::uintmax_t DROPPED_FILE_LIMIT = 52'428'800;

// Records the file as the one last loaded: gl_dropped takes the path as 8-bit text when it fits its
// 260 bytes exactly (at most 259 bytes, every character in code page 1251), else it is emptied, so
// that no output file is ever made from a cut or garbled path; gl_dropped_path takes it whole.
void record_dropped_path(const std::filesystem::path& file);

// Notes that the checker's text is now what `file` holds (just loaded from it or saved to it, in
// UTF-8 or code page 1251), with the print of the text (gl_file_text).
// checker_text_changed_since_file tells whether the text differs from that print since; a text
// that was never a file's never counts as changed.
void note_checker_text_is_files(const std::filesystem::path& file, bool utf8);
bool checker_text_changed_since_file();

// Loads a file into the panel in place of its text: the file at `path`, or when `path` is empty
// the first file of the drop notification `drop` (WM_DROPFILES or EN_DROPFILES). Returns 1 when
// the file was loaded, 0 otherwise.
// - A file of DROPPED_FILE_LIMIT bytes or more is refused with "The file is too large" under
//   "Oops!"; a file that cannot be read with "Cannot open %s, reason: %s, (errno = %d)\n". Nothing
//   changes then.
// - The kind is told by classify_text (shell/encoding.h): UTF-8 with or without byte-order mark is
//   converted, RTF is streamed in as RTF (an RTF the panel cannot read is loaded as 8-bit text),
//   anything else is 8-bit text. NUL bytes of a text become blanks, so nothing after them is lost.
// - The path is recorded (record_dropped_path). gl_0D0A / gl_0A / gl_0D tell the text's line ends
//   (CR LF, else LF, else CR; none for RTF), gl_fg_utf8header the byte-order mark, gl_fg_ansi an
//   8-bit text.
// - When the panel is the text-checker window's right panel or the main window's entry box,
//   ENM_CHANGE is added to the panel's event mask, so that the loaded text is processed as soon as
//   it is in. For the right panel the loaded-text state is reset first (reset_loaded_text_state)
//   and the text-checker window is titled with a blank followed by the file's path (the
//   Bulgarian-text window for its panel); the state, flags and title are set before the text goes
//   in, and the loaded text is noted as the file's after (note_checker_text_is_files).
// - Every load records its path: a window that loads into a panel other than the checker's text
//   keeps the checker's file state round the call (CheckerFileState, windows/).
int dropped_file(const Msg* drop, HWND re, const std::filesystem::path& path = {});

// Puts at most 1,022 UTF-16 units of the text on the clipboard (a surrogate pair is never cut in
// half, so the cut may fall one unit earlier); clears gl_clipboard_translation first. Returns 1
// when the clipboard took the text.
inline constexpr std::size_t CLIPBOARD_COPY_LIMIT = 1'022;
int CopyToClipboard(std::u16string_view text);
