// lexicon/panel_writing.h - how the lexicon's displays write into rich-edit panels: with the
// panel's event mask cleared (so that its own change handlers do not run for the program's
// output), text appended at the end in one colour.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "lexicon/display.h"
#include "platform/richedit.h"
#include "platform/text.h"

// Clears a panel's event mask for the life of the object.
class QuietPanel {
public:
    explicit QuietPanel(HWND re) : re_(re), mask_(RE_SetEventMask(re, 0)) {}
    ~QuietPanel() { RE_SetEventMask(re_, mask_); }
    QuietPanel(const QuietPanel&) = delete;
    QuietPanel& operator=(const QuietPanel&) = delete;

private:
    HWND re_;
    DWORD mask_;
};

// Appends UTF-16 text at the end of the panel in one colour, bold or not; returns where it starts.
inline LONG append(HWND re, std::u16string_view text, COLORREF color, bool bold) {
    const LONG start = RE_GetTextLength(re);
    RE_SetSel(re, CHARRANGE{start, start});
    RE_SetTextW(re, text, ST_SELECTION | ST_KEEPUNDO);
    const LONG end = RE_GetTextLength(re);
    ColorRangeOn(re, start, end, 0x40000001, color, bold ? 1 : 0);
    return start;
}

// The same for 8-bit text (code page 1251).
inline LONG append8(HWND re, std::string_view text, COLORREF color, bool bold) {
    return append(re, cp1251_to_utf16(text), color, bold);
}

// The list-key form of a word or phrase: blanks written '_'.
inline std::string key_form(std::string_view word) {
    std::string k(word);
    std::replace(k.begin(), k.end(), ' ', '_');
    return k;
}
