// windows/checker_file_commands.h - the text-checker window's "Файл", "Формат" and "Помощ" menus
// and its audio commands: a text file opened into the right panel and checked; the right panel
// saved in code page 1251 or UTF-8 with the line ends of the file it came from, and the
// correction log beside it; the panels' font; the help pages, the version search and the About
// text; the selection pronounced and the whole checked text read aloud. "Запиши" writes the text
// in the encoding of its file (UTF-8 for a UTF-8 file, else code page 1251), "Запиши като UTF-8
// файл" always in UTF-8; the open dialog starts where the save dialog does.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window.h"
#include "shell/window_state.h"

// Carries out the commands 9219-9228, 1271, 1320 and 8200 of the window; false for any other
// identifier.
bool checker_file_command(HWND dlg, int id);

// The bytes the right panel is saved as: code page 1251 or UTF-8 (with the byte-order mark when
// the loaded file had one or was 8-bit); CR LF line ends when the loaded file had them, CR when
// it had CR alone, LF otherwise (also for a text typed or pasted in). *lossy is set when the 1251 text
// lost characters that the code page cannot show.
std::string checker_saved_bytes(bool utf8, bool* lossy = nullptr);

// The correction log as it is written beside the saved file: the opened file's name, the log's
// lines and the count of corrections.
std::string checker_log_text(std::string_view opened_name);

// Whether the checker's text may go (its window closed, the program ended): yes when it is not a
// file's text changed since it was loaded or saved; otherwise the user is asked to save it: Yes
// saves it through the save dialog (true once written), No lets it go, Cancel keeps it (false).
bool checker_text_may_go(HWND owner);

// The checker's file state: the file its Save proposes (gl_dropped), with that file's line ends
// and encoding. Taken when made; a window that loads a file into a panel of its own puts it back
// afterwards, so that only what is loaded into the checker decides what its Save writes and where.
struct CheckerFileState {
    std::string dropped = gl_dropped;
    std::filesystem::path dropped_path = gl_dropped_path;
    std::int8_t crlf = gl_0D0A, cr = gl_0D, lf = gl_0A, utf8header = gl_fg_utf8header, ansi = gl_fg_ansi;
    std::optional<FileText> file_text = gl_file_text;
    void restore() const;
};

// A file dropped on a panel other than the checker's text (dropped_file): the main window's entry
// box, the checker's bottom panel, the translation window's panel. It is loaded there while the
// checker's file state stays as it was.
void load_beside_checker_file(const Msg& drop, HWND re);
