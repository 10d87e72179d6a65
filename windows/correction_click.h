// windows/correction_click.h - correction from the text-checker window's report panel
// (hBigReLeft). A plain click on a report line (as the run writes them: "[N. ]word[  count] ->
// suggestion | suggestion ...") finds the word's next occurrence in the text panel and selects it;
// a click on one of the line's suggestions first replaces the selected occurrence by it (green,
// undoable). When no occurrence is left, the status line says so, the entry turns grey and the
// correction goes into the correction log (gl_log).
//
// Lines in the colours of headers, statistics and look-up displays (kNotAnEntryColours) do not
// react. A click on the number of a numbered entry only marks the number as seen.
#pragma once

#include <array>
#include <string_view>

#include "platform/types.h"

// Colours that mark what is not a word entry of the report (COLORREF 0x00BBGGRR).
inline constexpr std::array<COLORREF, 22> kNotAnEntryColours = {
    0x000000, 0xFF00FF, 0xFE5500, 0x2900FF, 0x0000FF, 0x6565FF, 0x007FFF, 0x00AAFF, 0x007CB0, 0x008CC0, 0x006F00,
    0x010101, 0x090909, 0x008000, 0x00A800, 0x00E000, 0xFF00AB, 0x277ABD, 0x878787, 0xCDCDCD, 0xFF3800, 0xFFAA00,
};

// Colours the click writes.
inline constexpr COLORREF kColSeenNumber = 0xFF5500;    // a clicked number (bold)
inline constexpr COLORREF kColTypedWord = 0x7F7FFF;     // "no suggestions" replaced by the word (bold)
inline constexpr COLORREF kColTypedWordAlt = 0x5C5C5C;  // the other mark of a typed word
inline constexpr COLORREF kColCorrected = 0x00A900;     // text put in by a correction
inline constexpr COLORREF kColHandled = 0xC3C3C3;       // every occurrence handled (bold)

// The punctuation tokens a click searches for as written (case-sensitively, without the whole-word
// test), as it does for a phrase.
inline constexpr std::array<std::u16string_view, 59> kSearchedAsWritten = {
    u"!—", u"?—", u",—", u".—", u"—!", u"—?", u"—,", u"—.", u"——", u"––", u"--", u"—–", u"—-", u"–-", u"–—",
    u"-—", u"-–", u",,", u",-", u",?", u"?,", u",!", u"!,", u",:", u":,", u":-", u":–", u":—", u"$", u",“",
    u",»", u"„,", u"«,", u"•", u"°", u"^", u"#", u"~", u"<", u">", u"@", u"¦", u"|", u"·", u"¶", u"&", u"§",
    u"†", u"¤", u"‹", u"›", u"є", u"±", u"€", u"©", u"№", u",\"", u"`", u"\u00A0",
};

// A report line is read up to this many characters.
inline constexpr std::size_t kCorrectionLineMax = 1'023;
// The found occurrence is shown this many lines below the top of the text panel.
inline constexpr int kFoundLineFromTop = 10;

// The report panel's notifications: EN_MSGFILTER with a left button down arms the selection-change
// notification, EN_SELCHANGE runs the correction step and disarms it again. Others are ignored.
void correction_click_notify(HWND dlg, const Msg& m);
