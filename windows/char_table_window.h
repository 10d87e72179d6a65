// windows/char_table_window.h - the character table window (template 104, DialogAscii, handle
// hAscii): the 256 single-byte codes with their hexadecimal and decimal values (control characters
// by name), a code list of decimal numbers that the user fills from the list, and the table of the
// two-byte UTF-8 sequences with the character each one encodes.
#pragma once

#include <string>

#include "platform/window.h"

extern HWND hAscii;        // the window; non-null exactly while it exists
extern HWND hAsciiEdit;    // the code list (1039)
extern HWND hAsciiList;    // the 256 codes (1037)
extern HWND hAsciiReUtf8;  // the UTF-8 table (1065)

// Row `code` of the list (code page 1251): "(%X)  %i  " followed by the control character's name
// for 0 to 31 and 127, else by the character and a blank.
std::string ascii_row_text(int code);
// The UTF-8 table: one line "XX YY   c\r\n" for every two-byte sequence from C2 80 to DF BF.
std::u16string utf8_table_text();
inline constexpr int UTF8_TABLE_LINES = 30 * 64;

// The window's procedure.
INT_PTR DialogAscii(HWND dlg, const Msg& m);

// The main window's command 9214: creates and shows the window when it does not exist; otherwise
// nothing. Returns hAscii.
HWND open_char_table_window();

// The window's state for test fixtures.
void reset_char_table_window();
