// The rich-edit panel: UTF-16 text whose paragraph end is one '\r' (CR LF only when a read asks for
// it), positions in UTF-16 units, character formats on ranges, selection, event mask and the
// notifications it gates, find, undo and redo, scrolling, and streams of plain text and of the
// small RTF subset the program writes and reads.
//
// Every call takes the panel's window handle; on a handle that is not a live rich-edit panel it
// does nothing and returns 0, -1 (positions), false or an empty value.
//
// Notifications are synchronous: when a change of text (by the user or by any call below) happens
// while the event mask holds ENM_CHANGE, the panel's dialog receives WM_COMMAND with EN_CHANGE
// before the call returns; selection changes send WM_NOTIFY EN_SELCHANGE under ENM_SELCHANGE;
// mouse messages of the user send EN_MSGFILTER under ENM_MOUSEEVENTS; files dropped on the panel
// send EN_DROPFILES under ENM_DROPFILES. Format changes send nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

// Event mask bits
enum : DWORD {
    ENM_NONE = 0x00000000,
    ENM_CHANGE = 0x00000001,
    ENM_UPDATE = 0x00000002,
    ENM_SCROLL = 0x00000004,
    ENM_KEYEVENTS = 0x00010000,
    ENM_MOUSEEVENTS = 0x00020000,
    ENM_REQUESTRESIZE = 0x00040000,
    ENM_SELCHANGE = 0x00080000,
    ENM_DROPFILES = 0x00100000,
    ENM_PROTECTED = 0x00200000,
    ENM_LINK = 0x04000000,
    ENM_DRAGDROPDONE = 0x00000010,
};

// Character formats
enum : DWORD {
    CFM_BOLD = 0x00000001,
    CFM_ITALIC = 0x00000002,
    CFM_UNDERLINE = 0x00000004,
    CFM_STRIKEOUT = 0x00000008,
    CFM_PROTECTED = 0x00000010,
    CFM_LINK = 0x00000020,
    CFM_SIZE = 0x80000000,
    CFM_COLOR = 0x40000000,
    CFM_FACE = 0x20000000,
    CFM_BACKCOLOR = 0x04000000,
};
enum : DWORD {
    CFE_BOLD = 0x0001,
    CFE_ITALIC = 0x0002,
    CFE_UNDERLINE = 0x0004,
    CFE_STRIKEOUT = 0x0008,
    CFE_PROTECTED = 0x0010,
    CFE_LINK = 0x0020,
    CFE_AUTOCOLOR = 0x40000000,
    CFE_AUTOBACKCOLOR = 0x04000000,
};
// A character format. Setting applies the attributes named in dwMask; reading fills dwMask with
// the attributes that are the same over the whole range read.
struct CHARFORMAT2W {
    DWORD dwMask = 0;
    DWORD dwEffects = 0;
    LONG yHeight = 0;  // twips
    COLORREF crTextColor = 0;
    COLORREF crBackColor = 0;
    std::u16string szFaceName;
};
enum : UINT { SCF_DEFAULT = 0x0000, SCF_SELECTION = 0x0001, SCF_WORD = 0x0002, SCF_ALL = 0x0004 };
// A format set over [from, to) of a text being put in, positions counted from the text's start.
struct FormatChange {
    LONG from = 0, to = 0;
    CHARFORMAT2W format;
};

// Code pages of the text exchange
enum : UINT { CP_ACP = 0, CP_1251 = 1251, CP_UTF16 = 1200, CP_UTF8 = 65001 };
// Flags of EM_SETTEXTEX / EM_GETTEXTEX
enum : DWORD { ST_DEFAULT = 0, ST_KEEPUNDO = 1, ST_SELECTION = 2 };
enum : DWORD { GT_DEFAULT = 0, GT_USECRLF = 1, GT_SELECTION = 2 };

// Text in: `text` is in the code page given (1251 bytes, UTF-8 bytes, or for 1200 the UTF-16
// units as native-endian bytes). ST_SELECTION replaces the selection, otherwise all text (which
// also empties the undo history unless ST_KEEPUNDO). CR LF and lone LF become one '\r'.
bool RE_SetTextEx(HWND re, std::string_view text, UINT codepage, DWORD flags = ST_DEFAULT);
bool RE_SetTextW(HWND re, std::u16string_view text, DWORD flags = ST_DEFAULT);
// Text out in code page 1251 or UTF-8: characters that 1251 cannot show become `default_byte`
// (and *used_default is set). GT_USECRLF gives CR LF paragraph ends, GT_SELECTION only the
// selection.
std::string RE_GetTextEx(HWND re, UINT codepage, DWORD flags = GT_DEFAULT, char default_byte = '?',
                         bool* used_default = nullptr);
std::u16string RE_GetTextW(HWND re, DWORD flags = GT_DEFAULT);
// Length in UTF-16 units (with GT_USECRLF: as if every paragraph end were CR LF).
LONG RE_GetTextLength(HWND re, DWORD flags = GT_DEFAULT);
// Makes room for `more` units of text still to be written, so that a long report grows without
// moving what it holds again and again. Changes nothing the panel shows or tells.
void RE_ReserveText(HWND re, LONG more);
std::u16string RE_GetTextRange(HWND re, CHARRANGE r);

// Selection. cpMin = 0, cpMax = -1 selects all; -1, -1 puts the caret at the end. Positions are
// clamped to the text.
CHARRANGE RE_GetSel(HWND re);
void RE_SetSel(HWND re, CHARRANGE r);
std::u16string RE_GetSelText(HWND re);
// Replaces the selection (the text limit applies); the caret ends after the new text.
void RE_ReplaceSel(HWND re, std::u16string_view text, bool can_undo = true);
void RE_ReplaceSelA(HWND re, std::string_view text_cp1251, bool can_undo = true);
// Replaces each of the ranges (ascending, not overlapping) by `text` in one change and one undo
// step: the text between the ranges keeps its formats, each replacement takes the format of the
// first character it replaces. Ranges that would bring the text past its limit are left as they
// are, from the first that does not fit. The caret ends after the last replacement. Returns the
// number of ranges replaced.
std::size_t RE_ReplaceRanges(HWND re, const std::vector<CHARRANGE>& ranges, std::u16string_view text,
                             bool can_undo = true);
// Appends `text` at the end of the panel as a selection of the end replaced by it would (the text
// limit applies), then sets each change's format over its range of what went in, in order, as
// RE_SetCharFormat would; ranges are cut to that text, and one that ends before it begins sets
// nothing. One change of text, one undo step, the
// caret after the new text, and at most one EN_SELCHANGE and one EN_CHANGE (as the event mask
// asks). Nothing happens when no text goes in.
void RE_AppendFormatted(HWND re, std::u16string_view text, std::span<const FormatChange> changes,
                        bool can_undo = true);
void RE_HideSelection(HWND re, bool hide);
// Colours a range in one call, with the steps a caller would otherwise take one by one: selects it
// (clamped, as RE_SetSel) without telling the panel's dialog, hides the selection and sets the
// format of the selection.
void RE_ColorRange(HWND re, CHARRANGE r, const CHARFORMAT2W& cf);

// Formats of the selection (SCF_SELECTION), of all text (SCF_ALL) or the default format for new
// text (SCF_DEFAULT). Formats stay with their characters when text is inserted or deleted around
// them; inserted text takes the format of the character before it.
bool RE_SetCharFormat(HWND re, UINT scf, const CHARFORMAT2W& cf);
CHARFORMAT2W RE_GetCharFormat(HWND re, UINT scf);
CHARFORMAT2W RE_GetCharFormatAt(HWND re, LONG pos);  // format of one character
void RE_SetBackgroundColor(HWND re, std::optional<COLORREF> color);  // nullopt: system colour
COLORREF RE_GetBackgroundColor(HWND re);

// Event mask; returns the previous one.
DWORD RE_SetEventMask(HWND re, DWORD mask);
DWORD RE_GetEventMask(HWND re);

// Redraw off and on (WM_SETREDRAW); turning it on repaints.
void RE_SetRedraw(HWND re, bool on);
bool RE_GetRedraw(HWND re);

// Scrolling: the position is the pixel offset of the view's top-left corner in the document.
POINT RE_GetScrollPos(HWND re);
void RE_SetScrollPos(HWND re, POINT p);
void RE_LineScroll(HWND re, int lines);  // positive: down
void RE_ScrollCaret(HWND re);
enum : int { SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3, SB_TOP = 6,
             SB_BOTTOM = 7 };
void RE_Scroll(HWND re, int sb);  // WM_VSCROLL
int RE_GetFirstVisibleLine(HWND re);

// Lines (paragraphs between '\r', or wrapped lines when wrapping is on in a shown panel).
int RE_GetLineCount(HWND re);
int RE_LineFromChar(HWND re, LONG pos);  // pos -1: the line of the caret
LONG RE_LineIndex(HWND re, int line);    // first character of the line, -1 past the end
LONG RE_CharFromPos(HWND re, POINT client);

// Find. Without FR_DOWN the search runs backwards from range.cpMin: down to cpMax when
// 0 <= cpMax <= cpMin, to the start when cpMax is -1 or above cpMin. With FR_DOWN it runs
// forward from cpMin to cpMax (-1: to the end). Returns the found range, or nullopt.
enum : DWORD { FR_DOWN = 0x00000001, FR_WHOLEWORD = 0x00000002, FR_MATCHCASE = 0x00000004 };
std::optional<CHARRANGE> RE_FindText(HWND re, DWORD flags, CHARRANGE range,
                                     std::u16string_view what);

// Undo and redo of text changes (format changes are not recorded).
bool RE_CanUndo(HWND re);
bool RE_CanRedo(HWND re);
bool RE_Undo(HWND re);
bool RE_Redo(HWND re);
void RE_EmptyUndoBuffer(HWND re);

// The most characters the user (typing, pasting) and RE_ReplaceSel may bring the text to.
// The default is 32,767.
void RE_LimitText(HWND re, LONG max_chars);
LONG RE_GetLimitText(HWND re);

// Word wrap at the panel's edge on or off (EM_SETTARGETDEVICE).
void RE_SetWordWrap(HWND re, bool wrap);
bool RE_GetWordWrap(HWND re);
void RE_SetReadOnly(HWND re, bool read_only);

bool RE_GetModify(HWND re);
void RE_SetModify(HWND re, bool modified);

// Streams. SF_TEXT: 8-bit text in code page 1251 (SF_UNICODE: UTF-16 bytes; SF_USECODEPAGE with
// a code page: that code page); SF_RTF: the program's RTF subset. SFF_SELECTION works on the
// selection only.
enum : DWORD { SF_TEXT = 0x0001, SF_RTF = 0x0002, SF_UNICODE = 0x0010, SF_USECODEPAGE = 0x0020,
               SFF_SELECTION = 0x8000 };
bool RE_StreamIn(HWND re, DWORD format, std::string_view data, UINT codepage = CP_1251);
std::string RE_StreamOut(HWND re, DWORD format, UINT codepage = CP_1251);
