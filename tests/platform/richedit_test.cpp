// Tests of the rich-edit panel calls on panels of headless dialogs: text in and out in the three
// code pages, notifications and the event mask, the text limit, find, undo, streams, scrolling,
// the view protocol, and bad input.
#include "platform/richedit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/text.h"
#include "tests/platform/dialog_fixture.h"

namespace {

constexpr int kPanelId = 103;
constexpr COLORREF kRed = RGB(255, 0, 0);

std::string utf16_bytes(std::u16string_view s) {
  std::string out(s.size() * 2, '\0');
  std::memcpy(out.data(), s.data(), out.size());
  return out;
}

CHARFORMAT2W color_cf(COLORREF c, DWORD mask = CFM_COLOR, DWORD effects = 0) {
  CHARFORMAT2W cf;
  cf.dwMask = mask;
  cf.dwEffects = effects;
  cf.crTextColor = c;
  return cf;
}

// The program's way of colouring a range: select it, format it with the event mask off, restore.
void color_range_on(HWND re, LONG from, LONG to, DWORD mask, COLORREF color, DWORD effects) {
  const DWORD saved = RE_SetEventMask(re, 0);
  RE_SetSel(re, {from, to});
  RE_HideSelection(re, true);
  RE_SetCharFormat(re, SCF_SELECTION, color_cf(color, mask, effects));
  RE_SetEventMask(re, saved);
}

// The program's way of writing a report line: caret to the end, append the text and line ends.
LONG append_line(HWND re, std::u16string_view text, int line_ends) {
  RE_SetSel(re, {-1, -1});
  const LONG start = RE_GetSel(re).cpMin;
  std::u16string s(text);
  for (int i = 0; i < line_ends; ++i) s += u"\r\n";
  RE_ReplaceSel(re, s, false);
  RE_Scroll(re, SB_BOTTOM);
  return start;
}

class RichEditTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    dlg = CreateDialogIndirect(small_template(), HWND{}, RecordingProc);
    re = GetDlgItem(dlg, kPanelId);
    ASSERT_TRUE(platform_rich(re));
    g_received.clear();
  }

  // The EN_CHANGE commands the dialog received from the panel.
  int changes() const {
    int n = 0;
    for (const Received& r : received(WM_COMMAND))
      if (r.msg.code == EN_CHANGE && r.msg.id == kPanelId && r.msg.from == re && r.hwnd == dlg) ++n;
    return n;
  }
  std::vector<CHARRANGE> selchanges() const {
    std::vector<CHARRANGE> out;
    for (const Received& r : received(WM_NOTIFY))
      if (r.msg.code == EN_SELCHANGE && r.msg.id == kPanelId && r.msg.from == re) out.push_back(r.msg.range);
    return out;
  }

  HWND dlg{}, re{};
};

// ---- Code pages ----------------------------------------------------------------------------------

TEST_F(RichEditTest, CodePage1251InAndOutWithDefaultByte) {
  ASSERT_TRUE(RE_SetTextEx(re, "\xC4\xF3\xEC\xE0\r\nword\nend", CP_1251));  // "Дума"
  EXPECT_EQ(RE_GetTextW(re), u"Дума\rword\rend");
  EXPECT_EQ(RE_GetTextLength(re), 13);
  EXPECT_EQ(RE_GetTextLength(re, GT_USECRLF), 15);
  bool used = true;
  EXPECT_EQ(RE_GetTextEx(re, CP_1251, GT_DEFAULT, '?', &used), "\xC4\xF3\xEC\xE0\rword\rend");
  EXPECT_FALSE(used);
  EXPECT_EQ(RE_GetTextEx(re, CP_ACP, GT_USECRLF), "\xC4\xF3\xEC\xE0\r\nword\r\nend");

  // Characters code page 1251 has no form for become the caller's byte, one per UTF-16 unit.
  RE_SetTextW(re, u"a中b\U0001F600");
  EXPECT_EQ(RE_GetTextEx(re, CP_1251, GT_DEFAULT, '\x06', &used), std::string("a\x06" "b\x06\x06"));
  EXPECT_TRUE(used);
  EXPECT_EQ(RE_GetTextEx(re, CP_ACP, GT_DEFAULT, '?', nullptr), "a?b??");
}

TEST_F(RichEditTest, CodePagesUtf8AndUtf16) {
  ASSERT_TRUE(RE_SetTextEx(re, "\xEF\xBB\xBF" "Ж\xE4\xB8\xAD\r\nx", CP_UTF8));  // BOM, "Ж中"
  EXPECT_EQ(RE_GetTextW(re), u"Ж中\rx");
  EXPECT_EQ(RE_GetTextEx(re, CP_UTF8, GT_USECRLF), "Ж\xE4\xB8\xAD\r\nx");

  ASSERT_TRUE(RE_SetTextEx(re, utf16_bytes(u"Ёж\U0001F600\n"), CP_UTF16));
  EXPECT_EQ(RE_GetTextW(re), u"Ёж\U0001F600\r");
  EXPECT_EQ(RE_GetTextEx(re, CP_UTF16, GT_USECRLF), utf16_bytes(u"Ёж\U0001F600\r\n"));

  // Selection only.
  RE_SetSel(re, {1, 4});
  EXPECT_EQ(RE_GetTextEx(re, CP_UTF8, GT_SELECTION), "ж\xF0\x9F\x98\x80");
  EXPECT_EQ(RE_GetSelText(re), u"ж\U0001F600");

  // A code page the panel does not take changes nothing.
  EXPECT_FALSE(RE_SetTextEx(re, "abc", 437));
  EXPECT_EQ(RE_GetTextW(re), u"Ёж\U0001F600\r");
  EXPECT_EQ(RE_GetTextEx(re, 437), "");
}

TEST_F(RichEditTest, WindowTextOfAPanelIsItsText) {
  RE_SetEventMask(re, ENM_CHANGE);
  SetWindowTextW(re, u"one\r\ntwo");
  EXPECT_EQ(RE_GetTextW(re), u"one\rtwo");
  EXPECT_EQ(GetWindowTextW(re), u"one\r\ntwo");
  EXPECT_EQ(GetWindowTextLengthW(re), 8);
  EXPECT_EQ(changes(), 1);
}

// ---- Notifications ---------------------------------------------------------------------------

TEST_F(RichEditTest, EveryTextChangeSendsOneChangeAfterTheModelIsUpdated) {
  RE_SetEventMask(re, ENM_CHANGE);
  std::vector<std::u16string> seen;
  g_on_message = [&](HWND, const Msg& m) -> INT_PTR {
    if (m.message == WM_COMMAND && m.code == EN_CHANGE) seen.push_back(RE_GetTextW(re));
    return 0;
  };
  RE_SetTextW(re, u"abc");
  RE_SetSel(re, {3, 3});
  RE_ReplaceSel(re, u"d");
  RE_ReplaceSelA(re, "\xE0");
  ASSERT_TRUE(RE_Undo(re));
  ASSERT_TRUE(RE_Redo(re));
  RE_StreamIn(re, SF_TEXT, "new");
  headless_type(re, u"xy");
  headless_backspace(re);
  RE_SetTextEx(re, "", CP_1251);
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"abc", u"abcd", u"abcdа", u"abcd", u"abcdа", u"new", u"xnew",
                                               u"xynew", u"xnew", u""}));
  EXPECT_EQ(changes(), 10);

  // Formats, selection moves and no-op replacements send no change.
  g_received.clear();
  RE_SetCharFormat(re, SCF_ALL, color_cf(kRed));
  RE_SetSel(re, {0, 0});
  RE_ReplaceSel(re, u"");
  EXPECT_EQ(changes(), 0);
}

TEST_F(RichEditTest, EventMaskSilencesNotifications) {
  EXPECT_EQ(RE_GetEventMask(re), 0u);
  RE_SetTextW(re, u"quiet");
  headless_type(re, u"x");
  RE_SetSel(re, {0, 2});
  EXPECT_TRUE(g_received.empty());

  EXPECT_EQ(RE_SetEventMask(re, ENM_CHANGE | ENM_SELCHANGE), 0u);
  RE_ReplaceSel(re, u"Q");
  EXPECT_EQ(changes(), 1);
  EXPECT_EQ(selchanges().size(), 1u);
  EXPECT_EQ(RE_SetEventMask(re, ENM_SELCHANGE), DWORD{ENM_CHANGE | ENM_SELCHANGE});
  RE_ReplaceSel(re, u"R");
  EXPECT_EQ(changes(), 1);
  EXPECT_EQ(selchanges().size(), 2u);
}

TEST_F(RichEditTest, SelectionChangesAreNotified) {
  RE_SetTextW(re, u"0123456789");
  RE_SetEventMask(re, ENM_SELCHANGE);
  RE_SetSel(re, {2, 5});
  RE_SetSel(re, {5, 2});  // the same selection
  headless_select(re, 7, 7);
  RE_SetSel(re, {0, -1});
  RE_SetSel(re, {-1, -1});
  EXPECT_EQ(selchanges(), (std::vector<CHARRANGE>{{2, 5}, {7, 7}, {0, 10}, {10, 10}}));
  EXPECT_EQ(RE_GetSel(re), (CHARRANGE{10, 10}));
  RE_SetSel(re, {3, 99});
  EXPECT_EQ(RE_GetSel(re), (CHARRANGE{3, 10}));
}

TEST_F(RichEditTest, HandlerMayChangeOrDestroyThePanelInsideANotification) {
  RE_SetEventMask(re, ENM_CHANGE | ENM_SELCHANGE);
  int nested = 0;
  g_on_message = [&](HWND, const Msg& m) -> INT_PTR {
    if (m.message == WM_COMMAND && m.code == EN_CHANGE && nested++ == 0) {
      // Colour and extend the new text while the change is being reported.
      RE_SetSel(re, {0, -1});
      RE_SetCharFormat(re, SCF_SELECTION, color_cf(kRed));
      RE_SetSel(re, {-1, -1});
      RE_ReplaceSel(re, u"!");
    }
    return 0;
  };
  headless_type(re, u"a");
  EXPECT_EQ(RE_GetTextW(re), u"a!");
  EXPECT_EQ(RE_GetCharFormatAt(re, 1).crTextColor, kRed);
  EXPECT_EQ(changes(), 2);

  // Destroying the dialog inside the selection notification: the change notification that would
  // follow has nobody to go to, and later calls on the handle do nothing.
  g_on_message = [&](HWND h, const Msg& m) -> INT_PTR {
    if (m.message == WM_NOTIFY && m.code == EN_SELCHANGE) DestroyWindow(h);
    return 0;
  };
  g_received.clear();
  RE_ReplaceSel(re, u"more");
  EXPECT_FALSE(IsWindow(re));
  EXPECT_EQ(changes(), 0);
  RE_ReplaceSel(re, u"x");
  EXPECT_EQ(RE_GetTextW(re), u"");
  EXPECT_FALSE(RE_Undo(re));
}

TEST_F(RichEditTest, MouseMessagesGoThroughTheFilterUnderTheMask) {
  EXPECT_FALSE(headless_mouse(re, WM_LBUTTONDOWN, {5, 6}));
  EXPECT_TRUE(received(WM_NOTIFY).empty());

  RE_SetEventMask(re, ENM_MOUSEEVENTS);
  INT_PTR answer = 0;
  g_on_message = [&](HWND, const Msg&) -> INT_PTR { return answer; };
  EXPECT_FALSE(headless_mouse(re, WM_LBUTTONUP, {5, 6}));
  answer = 1;
  EXPECT_TRUE(headless_mouse(re, WM_LBUTTONDOWN, {7, 8}));
  const std::vector<Received> n = received(WM_NOTIFY);
  ASSERT_EQ(n.size(), 2u);
  EXPECT_EQ(n[0].msg.code, EN_MSGFILTER);
  EXPECT_EQ(n[0].msg.id, kPanelId);
  EXPECT_EQ(n[0].msg.filter_msg, UINT{WM_LBUTTONUP});
  EXPECT_EQ(n[1].msg.filter_msg, UINT{WM_LBUTTONDOWN});
  EXPECT_EQ(n[1].msg.pt, (POINT{7, 8}));
  EXPECT_EQ(n[1].msg.keys, 1u);
}

// ---- Text limit ---------------------------------------------------------------------------------

TEST_F(RichEditTest, TextLimitCutsReplacementsAndTypingButNotSetText) {
  EXPECT_EQ(RE_GetLimitText(re), 32767);
  RE_ReplaceSel(re, std::u16string(40000, u'a'));
  EXPECT_EQ(RE_GetTextLength(re), 32767);

  RE_LimitText(re, 10);
  RE_SetTextW(re, u"0123456789ABC");  // all text: not limited
  EXPECT_EQ(RE_GetTextLength(re), 13);
  RE_SetSel(re, {0, 5});
  RE_ReplaceSel(re, u"xyzuvw");  // 13 - 5 = 8 left: only two fit
  EXPECT_EQ(RE_GetTextW(re), u"xy56789ABC");
  RE_SetEventMask(re, ENM_CHANGE);
  headless_type(re, u"q");
  EXPECT_EQ(RE_GetTextW(re), u"xy56789ABC");
  EXPECT_EQ(changes(), 0);
  RE_SetSel(re, {0, 1});
  headless_paste(re);  // empty clipboard: nothing
  PL_SetClipboardTextW(u"\U0001F600\U0001F600");
  headless_paste(re);  // one unit of room: a surrogate pair is not cut in half
  EXPECT_EQ(RE_GetTextW(re), u"y56789ABC");
  headless_paste(re);  // still one unit of room: nothing
  EXPECT_EQ(RE_GetTextW(re), u"y56789ABC");
  RE_LimitText(re, 11);
  headless_paste(re);
  EXPECT_EQ(RE_GetTextW(re), u"\U0001F600y56789ABC");
  EXPECT_EQ(changes(), 2);

  RE_LimitText(re, 0);
  EXPECT_EQ(RE_GetLimitText(re), 65536);
}

TEST_F(RichEditTest, ReadOnlyRefusesTheUserNotTheProgram) {
  RE_SetTextW(re, u"fixed");
  RE_SetReadOnly(re, true);
  RE_SetSel(re, {-1, -1});
  headless_type(re, u"x");
  headless_backspace(re);
  EXPECT_EQ(RE_GetTextW(re), u"fixed");
  RE_ReplaceSel(re, u"!");
  EXPECT_EQ(RE_GetTextW(re), u"fixed!");
}

// ---- Formats --------------------------------------------------------------------------------

TEST_F(RichEditTest, ReportLinesAreAppendedAndColoured) {
  RE_LimitText(re, 0x7FFFFF);
  RE_SetEventMask(re, ENM_CHANGE);
  const LONG title = append_line(re, u"ПРАВОПИС", 1);
  color_range_on(re, title, title + 8, CFM_COLOR | CFM_BOLD, RGB(255, 0, 255), CFE_BOLD);
  // The next line starts black and not bold, set at the caret before it is written.
  RE_SetSel(re, {-1, -1});
  color_range_on(re, RE_GetSel(re).cpMin, RE_GetSel(re).cpMin, CFM_COLOR | CFM_BOLD, 0, 0);
  const LONG line = append_line(re, u"word -> suggestion", 1);
  color_range_on(re, line, line + 4, CFM_COLOR | CFM_BOLD, RGB(0x2A, 0, 0xFF), CFE_BOLD);

  EXPECT_EQ(RE_GetTextW(re), u"ПРАВОПИС\rword -> suggestion\r");
  EXPECT_EQ(RE_GetCharFormatAt(re, 3).crTextColor, RGB(255, 0, 255));
  EXPECT_TRUE(RE_GetCharFormatAt(re, 3).dwEffects & CFE_BOLD);
  EXPECT_EQ(RE_GetCharFormatAt(re, 9).crTextColor, RGB(0x2A, 0, 0xFF));
  const CHARFORMAT2W rest = RE_GetCharFormatAt(re, 15);
  EXPECT_EQ(rest.crTextColor, 0u);
  EXPECT_FALSE(rest.dwEffects & (CFE_BOLD | CFE_AUTOCOLOR));
  EXPECT_EQ(RE_GetSel(re), (CHARRANGE{line, line + 4}));  // the coloured range stays selected
  EXPECT_EQ(changes(), 2);                                // colouring is silent

  // Inserting before the coloured text moves its colour with it.
  RE_SetSel(re, {0, 0});
  RE_ReplaceSel(re, u">> ");
  EXPECT_EQ(RE_GetCharFormatAt(re, 12).crTextColor, RGB(0x2A, 0, 0xFF));
  EXPECT_EQ(RE_GetCharFormatAt(re, 0).crTextColor, RGB(255, 0, 255));
  // Deleting the title moves the line's colour back.
  RE_SetSel(re, {0, 12});
  RE_ReplaceSel(re, u"");
  EXPECT_EQ(RE_GetCharFormatAt(re, 0).crTextColor, RGB(0x2A, 0, 0xFF));
}

TEST_F(RichEditTest, SelectionAndAllAndDefaultFormats) {
  RE_SetTextW(re, u"abcdef");
  RE_SetSel(re, {2, 4});
  RE_SetCharFormat(re, SCF_SELECTION, color_cf(0, CFM_UNDERLINE, CFE_UNDERLINE));
  CHARFORMAT2W sel = RE_GetCharFormat(re, SCF_SELECTION);
  EXPECT_TRUE(sel.dwMask & CFM_UNDERLINE);
  EXPECT_TRUE(sel.dwEffects & CFE_UNDERLINE);
  RE_SetSel(re, {0, 4});
  EXPECT_FALSE(RE_GetCharFormat(re, SCF_SELECTION).dwMask & CFM_UNDERLINE);

  // A format range past the end is clamped.
  RE_SetSel(re, {3, 1000});
  RE_SetCharFormat(re, SCF_SELECTION, color_cf(kRed));
  EXPECT_EQ(RE_GetCharFormatAt(re, 5).crTextColor, kRed);
  EXPECT_EQ(RE_GetCharFormatAt(re, 1000).crTextColor, kRed);

  // All text, and what an emptied panel gives new text.
  CHARFORMAT2W prot;
  prot.dwMask = CFM_PROTECTED;
  prot.dwEffects = CFE_PROTECTED;
  RE_SetTextW(re, u"");
  RE_SetCharFormat(re, SCF_ALL, prot);
  RE_SetTextW(re, u"table");
  EXPECT_TRUE(RE_GetCharFormat(re, SCF_ALL).dwEffects & CFE_PROTECTED);
  EXPECT_TRUE(RE_GetCharFormat(re, SCF_DEFAULT).dwEffects & CFE_PROTECTED);

  RE_SetBackgroundColor(re, RGB(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(RE_GetBackgroundColor(re), RGB(0xF0, 0xF0, 0xF0));
  RE_SetBackgroundColor(re, std::nullopt);
  EXPECT_EQ(RE_GetBackgroundColor(re), RGB(255, 255, 255));
}

TEST_F(RichEditTest, ColouredWordReplacedByItsCorrectionKeepsTheColour) {
  RE_SetTextW(re, u"one tow three");
  color_range_on(re, 4, 7, CFM_COLOR | CFM_BOLD | CFM_UNDERLINE, RGB(0, 0xA9, 0), 0);
  RE_SetTextEx(re, utf16_bytes(u"two"), CP_UTF16, ST_SELECTION | ST_KEEPUNDO);
  EXPECT_EQ(RE_GetTextW(re), u"one two three");
  EXPECT_EQ(RE_GetCharFormatAt(re, 5).crTextColor, RGB(0, 0xA9, 0));
  ASSERT_TRUE(RE_CanUndo(re));
  ASSERT_TRUE(RE_Undo(re));
  EXPECT_EQ(RE_GetTextW(re), u"one tow three");
}

// ---- Find, undo, lines --------------------------------------------------------------------------

TEST_F(RichEditTest, FindBothWaysWithWholeWordAndCase) {
  RE_SetTextW(re, u"Дума и думата, ДУМА\rдума");
  EXPECT_EQ(RE_FindText(re, FR_DOWN, {1, -1}, u"дума"), (CHARRANGE{7, 11}));
  EXPECT_EQ(RE_FindText(re, FR_DOWN | FR_WHOLEWORD, {1, -1}, u"дума"), (CHARRANGE{15, 19}));
  EXPECT_EQ(RE_FindText(re, FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE, {1, -1}, u"дума"), (CHARRANGE{20, 24}));
  EXPECT_EQ(RE_FindText(re, 0, {19, -1}, u"дума"), (CHARRANGE{15, 19}));
  EXPECT_EQ(RE_FindText(re, FR_MATCHCASE, {19, -1}, u"дума"), (CHARRANGE{7, 11}));
  EXPECT_EQ(RE_FindText(re, FR_WHOLEWORD | FR_MATCHCASE, {19, -1}, u"дума"), std::nullopt);
  EXPECT_EQ(RE_FindText(HWND{}, FR_DOWN, {0, -1}, u"дума"), std::nullopt);
}

TEST_F(RichEditTest, UndoRedoOfTypingPastingAndSettingText) {
  RE_SetTextW(re, u"base");
  EXPECT_FALSE(RE_CanUndo(re));
  RE_SetSel(re, {-1, -1});
  headless_type(re, u" one");
  PL_SetClipboardTextW(u" two");
  headless_paste(re);
  EXPECT_EQ(RE_GetTextW(re), u"base one two");
  ASSERT_TRUE(RE_Undo(re));
  EXPECT_EQ(RE_GetTextW(re), u"base one");
  ASSERT_TRUE(RE_Undo(re));  // the typed word is one step
  EXPECT_EQ(RE_GetTextW(re), u"base");
  EXPECT_FALSE(RE_Undo(re));
  ASSERT_TRUE(RE_Redo(re));
  EXPECT_EQ(RE_GetTextW(re), u"base one");
  EXPECT_TRUE(RE_CanRedo(re));
  headless_type(re, u"!");
  EXPECT_FALSE(RE_CanRedo(re));

  RE_SetTextW(re, u"kept", ST_KEEPUNDO);
  ASSERT_TRUE(RE_Undo(re));
  EXPECT_EQ(RE_GetTextW(re), u"base one!");
  RE_SetTextW(re, u"fresh");
  EXPECT_FALSE(RE_CanUndo(re));
  EXPECT_FALSE(RE_CanRedo(re));
  headless_type(re, u"x");
  RE_EmptyUndoBuffer(re);
  EXPECT_FALSE(RE_Undo(re));
}

TEST_F(RichEditTest, LinesAndTheirPositions) {
  RE_SetTextW(re, u"one\ntwo\r\nthree");
  EXPECT_EQ(RE_GetLineCount(re), 3);
  EXPECT_EQ(RE_LineIndex(re, 2), 8);
  EXPECT_EQ(RE_LineIndex(re, 3), -1);
  EXPECT_EQ(RE_LineFromChar(re, 5), 1);
  RE_SetSel(re, {9, 9});
  EXPECT_EQ(RE_LineFromChar(re, -1), 2);
  EXPECT_EQ(RE_LineIndex(re, -1), 8);
}

// ---- Streams ----------------------------------------------------------------------------------

TEST_F(RichEditTest, PlainTextStreams) {
  RE_SetEventMask(re, ENM_CHANGE);
  ASSERT_TRUE(RE_StreamIn(re, SF_TEXT, "\xC4\xF3\xEC\xE0\r\n2"));
  EXPECT_EQ(RE_GetTextW(re), u"Дума\r2");
  EXPECT_EQ(RE_GetSel(re), (CHARRANGE{0, 0}));
  EXPECT_EQ(RE_StreamOut(re, SF_TEXT), "\xC4\xF3\xEC\xE0\r\n2");
  ASSERT_TRUE(RE_StreamIn(re, SF_TEXT | SF_UNICODE, utf16_bytes(u"中\n")));
  EXPECT_EQ(RE_StreamOut(re, SF_TEXT), "?\r\n");
  EXPECT_EQ(RE_StreamOut(re, SF_TEXT | SF_UNICODE), utf16_bytes(u"中\r\n"));
  ASSERT_TRUE(RE_StreamIn(re, SF_TEXT | SF_USECODEPAGE, "\xEF\xBB\xBFЖ\xE4\xB8\xAD", CP_UTF8));
  EXPECT_EQ(RE_GetTextW(re), u"Ж中");
  EXPECT_EQ(RE_StreamOut(re, SF_TEXT | SF_USECODEPAGE, CP_UTF8), "Ж\xE4\xB8\xAD");
  // Into and out of the selection.
  RE_SetSel(re, {1, 1});
  ASSERT_TRUE(RE_StreamIn(re, SF_TEXT | SFF_SELECTION, "+"));
  EXPECT_EQ(RE_GetTextW(re), u"Ж+中");
  RE_SetSel(re, {0, 2});
  EXPECT_EQ(RE_StreamOut(re, SF_TEXT | SF_USECODEPAGE | SFF_SELECTION, CP_UTF8), "Ж+");
  EXPECT_EQ(changes(), 4);
  EXPECT_FALSE(RE_StreamIn(re, 0, "x"));
}

TEST_F(RichEditTest, RtfStreamsCarryFormatsBetweenPanels) {
  RE_SetTextW(re, u"Червен и син\rtext");
  color_range_on(re, 0, 6, CFM_COLOR | CFM_BOLD, kRed, CFE_BOLD);
  color_range_on(re, 9, 12, CFM_COLOR | CFM_UNDERLINE | CFM_ITALIC, RGB(0, 0, 255), CFE_UNDERLINE | CFE_ITALIC);
  const std::string rtf = RE_StreamOut(re, SF_RTF);

  HWND other = PL_CreateControl(dlg, ControlKind::RichEdit, 104, u"old", RECT{0, 0, 100, 100});
  RE_SetEventMask(other, ENM_CHANGE);
  ASSERT_TRUE(RE_StreamIn(other, SF_RTF, rtf));
  EXPECT_EQ(RE_GetTextW(other), u"Червен и син\rtext");
  EXPECT_EQ(RE_GetCharFormatAt(other, 2).crTextColor, kRed);
  EXPECT_TRUE(RE_GetCharFormatAt(other, 2).dwEffects & CFE_BOLD);
  const CHARFORMAT2W blue = RE_GetCharFormatAt(other, 10);
  EXPECT_EQ(blue.crTextColor, RGB(0, 0, 255));
  EXPECT_EQ(blue.dwEffects & (CFE_UNDERLINE | CFE_ITALIC | CFE_BOLD), DWORD{CFE_UNDERLINE | CFE_ITALIC});
  EXPECT_TRUE(RE_GetCharFormatAt(other, 14).dwEffects & CFE_AUTOCOLOR);
  EXPECT_FALSE(RE_CanUndo(other));

  // The selection only, into a selection.
  RE_SetSel(re, {9, 12});
  RE_SetSel(other, {0, 0});
  ASSERT_TRUE(RE_StreamIn(other, SF_RTF | SFF_SELECTION, RE_StreamOut(re, SF_RTF | SFF_SELECTION)));
  EXPECT_EQ(RE_GetTextW(other), u"синЧервен и син\rtext");
  EXPECT_EQ(RE_GetCharFormatAt(other, 1).crTextColor, RGB(0, 0, 255));

  // Data that is not RTF changes nothing.
  EXPECT_FALSE(RE_StreamIn(other, SF_RTF, "plain"));
  EXPECT_EQ(RE_GetTextW(other), u"синЧервен и син\rtext");
  int other_changes = 0;
  for (const Received& r : received(WM_COMMAND))
    if (r.msg.code == EN_CHANGE && r.msg.id == 104) ++other_changes;
  EXPECT_EQ(other_changes, 2);
}

// ---- Scrolling without a view ---------------------------------------------------------------------

TEST_F(RichEditTest, ScrollModelOfAPanelWithoutAView) {
  std::u16string lines;
  for (int i = 0; i < 100; ++i) lines += u"line\r";
  RE_SetTextW(re, lines);  // 101 lines
  EXPECT_EQ(RE_GetScrollPos(re), (POINT{0, 0}));
  RE_LineScroll(re, 10);
  EXPECT_EQ(RE_GetScrollPos(re).y, 160);
  EXPECT_EQ(RE_GetFirstVisibleLine(re), 10);
  RE_LineScroll(re, -1000000000);
  EXPECT_EQ(RE_GetScrollPos(re).y, 0);
  RE_LineScroll(re, 2000000000);
  EXPECT_EQ(RE_GetScrollPos(re).y, 1600);
  RE_Scroll(re, SB_TOP);
  EXPECT_EQ(RE_GetScrollPos(re).y, 0);
  RE_Scroll(re, SB_BOTTOM);
  EXPECT_EQ(RE_GetFirstVisibleLine(re), 100);
  RE_SetScrollPos(re, {-5, 48});
  EXPECT_EQ(RE_GetScrollPos(re), (POINT{0, 48}));
  EXPECT_EQ(RE_CharFromPos(re, {16, 0}), 3 * 5 + 2);
  EXPECT_EQ(RE_CharFromPos(re, {1000, 0}), 3 * 5 + 4);  // the end of the line, before its '\r'

  // Scrolling the caret into view, and a new text back at the top.
  const int shown = GetClientRect(re).bottom / 16;
  RE_SetSel(re, {90 * 5, 90 * 5});
  RE_ScrollCaret(re);
  EXPECT_EQ(RE_GetFirstVisibleLine(re), 90 - std::max(shown, 1) + 1);
  RE_SetSel(re, {0, 0});
  RE_ScrollCaret(re);
  EXPECT_EQ(RE_GetFirstVisibleLine(re), 0);
  RE_LineScroll(re, 50);
  RE_SetTextW(re, u"short");
  EXPECT_EQ(RE_GetScrollPos(re).y, 0);
  // Deleting lines pulls the position back within the text.
  RE_SetTextW(re, lines);
  RE_LineScroll(re, 80);
  RE_SetSel(re, {0, -1});
  RE_ReplaceSel(re, u"x\ry");
  EXPECT_EQ(RE_GetScrollPos(re).y, 16);
}

// ---- The view protocol ---------------------------------------------------------------------------

struct ViewLog {
  std::vector<std::string> calls;
};

class RecordingView final : public RichEditView {
 public:
  explicit RecordingView(ViewLog& log) : log_(log) {}
  void sync(WindowProp) override { log_.calls.push_back("sync"); }
  void text_replaced(LONG pos, LONG removed, LONG inserted) override {
    log_.calls.push_back("text " + std::to_string(pos) + " " + std::to_string(removed) + " " +
                         std::to_string(inserted));
  }
  void formats_changed(LONG from, LONG to) override {
    log_.calls.push_back("formats " + std::to_string(from) + " " + std::to_string(to));
  }
  void selection_changed() override { log_.calls.push_back("selection"); }
  void options_changed() override { log_.calls.push_back("options"); }
  POINT scroll_pos() const override { return scroll_; }
  void set_scroll_pos(POINT p) override {
    scroll_ = p;
    log_.calls.push_back("scroll " + std::to_string(p.y));
  }
  void line_scroll(int lines) override { log_.calls.push_back("lines " + std::to_string(lines)); }
  void scroll_caret() override { log_.calls.push_back("caret"); }
  int first_visible_line() const override { return 42; }
  LONG char_from_pos(POINT p) const override { return p.x + p.y; }

 private:
  ViewLog& log_;
  POINT scroll_{};
};

TEST_F(RichEditTest, TheViewHearsEveryChangeBeforeTheDialog) {
  ViewLog log;
  platform_window(re)->view = std::make_unique<RecordingView>(log);
  RE_SetEventMask(re, ENM_CHANGE);
  g_on_message = [&](HWND, const Msg& m) -> INT_PTR {
    if (m.message == WM_COMMAND) log.calls.push_back("EN_CHANGE");
    return 0;
  };
  RE_SetTextW(re, u"hello");
  RE_SetSel(re, {1, 3});
  RE_ReplaceSel(re, u"EY");
  RE_SetCharFormat(re, SCF_SELECTION, color_cf(kRed));  // caret: nothing to repaint
  RE_SetSel(re, {0, 2});
  RE_SetCharFormat(re, SCF_SELECTION, color_cf(kRed));
  RE_SetWordWrap(re, false);
  RE_LineScroll(re, 3);
  RE_ScrollCaret(re);
  RE_Scroll(re, SB_TOP);
  EXPECT_EQ(RE_GetFirstVisibleLine(re), 42);
  EXPECT_EQ(RE_CharFromPos(re, {3, 4}), 7);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"text 0 0 5", "selection", "scroll 0", "EN_CHANGE", "selection",
                                                 "text 1 2 2", "selection", "EN_CHANGE", "selection",
                                                 "formats 0 2", "options", "lines 3", "caret", "scroll 0"}));
  EXPECT_FALSE(RE_GetWordWrap(re));
  platform_window(re)->view.reset();
}

// ---- Bad input ------------------------------------------------------------------------------------

TEST_F(RichEditTest, CallsOnHandlesThatAreNoPanelsDoNothing) {
  const HWND button = GetDlgItem(dlg, 101);
  for (HWND h : {HWND{}, button, HWND{0xDEADu}}) {
    EXPECT_FALSE(RE_SetTextW(h, u"x"));
    EXPECT_EQ(RE_GetTextW(h), u"");
    EXPECT_EQ(RE_GetTextLength(h), 0);
    EXPECT_EQ(RE_GetSel(h), (CHARRANGE{0, 0}));
    RE_ReplaceSel(h, u"x");
    EXPECT_EQ(RE_LineIndex(h, 0), -1);
    EXPECT_FALSE(RE_Undo(h));
    EXPECT_FALSE(RE_StreamIn(h, SF_TEXT, "x"));
    EXPECT_EQ(RE_StreamOut(h, SF_RTF), "");
    EXPECT_EQ(RE_SetEventMask(h, ENM_CHANGE), 0u);
    EXPECT_FALSE(platform_user_mouse(h, WM_LBUTTONDOWN, {}, 0));
    platform_user_text_edited(h, 0, 0, u"x");
    platform_user_selected(h, {0, 1});
  }
  EXPECT_EQ(GetWindowTextW(button), u"OK");
  DestroyWindow(dlg);
  EXPECT_FALSE(RE_SetTextW(re, u"x"));
  EXPECT_EQ(RE_GetTextW(re), u"");
}

TEST_F(RichEditTest, OddCharactersAndHugeTexts) {
  // NUL, byte 6 and lone surrogates are text like any other.
  const std::u16string odd{u'a', u'\0', u'\x06', char16_t(0xD800), u'b', char16_t(0xDC00)};
  RE_SetTextW(re, odd);
  EXPECT_EQ(RE_GetTextW(re), odd);
  EXPECT_EQ(RE_GetTextEx(re, CP_1251, GT_DEFAULT, '\x06'), std::string("a\0\x06\x06" "b\x06", 6));
  EXPECT_EQ(RE_GetTextEx(re, CP_UTF8), std::string("a\0\x06\xEF\xBF\xBD" "b\xEF\xBF\xBD", 10));
  ASSERT_TRUE(RE_SetTextEx(re, std::string("x\0\x06y", 4), CP_1251));
  EXPECT_EQ(RE_GetTextW(re), (std::u16string{u'x', u'\0', u'\x06', u'y'}));
  ASSERT_TRUE(RE_SetTextEx(re, "odd", CP_UTF16));  // an odd byte at the end is dropped
  EXPECT_EQ(RE_GetTextLength(re), 1);

  // Ten megabytes in one line, then pasted over a selection.
  RE_LimitText(re, 0x7FFFFFFF);
  std::u16string big(10u << 20, u'ж');
  big.back() = u'Ж';
  RE_SetTextW(re, big);
  EXPECT_EQ(RE_GetLineCount(re), 1);
  EXPECT_EQ(RE_FindText(re, FR_DOWN | FR_MATCHCASE, {0, -1}, u"Ж"),
            (CHARRANGE{static_cast<LONG>(big.size()) - 1, static_cast<LONG>(big.size())}));
  RE_SetSel(re, {5, 10});
  PL_SetClipboardTextW(big);
  headless_paste(re);
  EXPECT_EQ(RE_GetTextLength(re), static_cast<LONG>(2 * big.size() - 5));
  RE_SetSel(re, {0, -1});
  RE_SetCharFormat(re, SCF_SELECTION, color_cf(kRed));
  EXPECT_EQ(RE_GetCharFormat(re, SCF_SELECTION).crTextColor, kRed);
  EXPECT_EQ(RE_GetTextEx(re, CP_1251).size(), 2 * big.size() - 5);
  ASSERT_TRUE(RE_Undo(re));
  EXPECT_EQ(RE_GetTextLength(re), static_cast<LONG>(big.size()));
}

TEST_F(RichEditTest, SelectionNeverEndsInsideASurrogatePair) {
  // "x", U+1F600 (two units), "y". Positions 2 lies between the halves of the pair.
  const std::u16string text = u"x\U0001F600y";
  RE_SetTextW(re, text);
  RE_SetSel(re, {2, 2});
  EXPECT_EQ(RE_GetSel(re), (CHARRANGE{1, 1}));
  headless_type(re, u"z");
  EXPECT_EQ(RE_GetTextW(re), u"xz\U0001F600y");
  EXPECT_EQ(RE_GetTextEx(re, CP_UTF8), "xz\xF0\x9F\x98\x80y");

  // A selection with an end inside the pair takes the whole character.
  RE_SetTextW(re, text);
  RE_SetSel(re, {2, 4});
  EXPECT_EQ(RE_GetSel(re), (CHARRANGE{1, 4}));
  RE_SetSel(re, {0, 2});
  EXPECT_EQ(RE_GetSel(re), (CHARRANGE{0, 3}));
  RE_ReplaceSel(re, u"-");
  EXPECT_EQ(RE_GetTextW(re), u"-y");

  // The user's selection goes the same way.
  RE_SetTextW(re, text);
  headless_select(re, 2, 2);
  headless_backspace(re);
  EXPECT_EQ(RE_GetTextW(re), u"\U0001F600y");
}

}  // namespace
