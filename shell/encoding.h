// shell/encoding.h - how the program tells the kind of a text file it reads.
//
// There is ONE UTF-8 detector, is_utf8_text, and every reader of text files uses it: the settings
// and list loaders, dropped_file (a file dropped or opened into a panel) and the folder tools.
// A text is UTF-8 when it is valid UTF-8 as a whole (after a UTF-8 byte-order mark, when it begins
// with one) and begins with the mark or holds at least one byte of 0x80 or above (Cyrillic UTF-8 text shows itself this way by
// its byte pairs 0xD0/0xD1 + 0x80..0xBF). Code page 1251 text with Cyrillic letters is practically
// never valid UTF-8, and a text of ASCII bytes reads the same either way, so it counts as 8-bit.
#pragma once

#include <string_view>

// True when the bytes are UTF-8 text by the rule above; *bom tells whether they are UTF-8 behind the
// byte-order mark (the three bytes of the mark before a text that is not UTF-8 are no mark: they
// are 8-bit letters of that text).
bool is_utf8_text(std::string_view bytes, bool* bom = nullptr);

enum class TextKind {
    Ansi,     // 8-bit text, code page 1251
    Utf8,     // UTF-8 without byte-order mark
    Utf8Bom,  // UTF-8 with byte-order mark
    Rtf,      // rich text: the bytes begin with "{\rtf"
};
// The kind of a file's bytes: UTF-8 behind the byte-order mark first, then "{\rtf", then the UTF-8
// rule.
TextKind classify_text(std::string_view bytes);

inline constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";
