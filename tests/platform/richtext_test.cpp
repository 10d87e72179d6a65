// Tests of the rich-edit document model: text changes, formats that move with their text, the
// selection conventions, undo and redo, find and paragraph lines.
#include "platform/richtext.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

CHARFORMAT2W color_cf(COLORREF c) {
  CHARFORMAT2W cf;
  cf.dwMask = CFM_COLOR;
  cf.crTextColor = c;
  return cf;
}

CHARFORMAT2W effects_cf(DWORD mask, DWORD effects) {
  CHARFORMAT2W cf;
  cf.dwMask = mask;
  cf.dwEffects = effects;
  return cf;
}

// The colour of each character, 0xFFFFFFFF for the automatic colour.
std::vector<COLORREF> colors(const RichText& d) {
  std::vector<COLORREF> out;
  for (LONG i = 0; i < d.length(); ++i) {
    const CharFormat f = d.format_at(i);
    out.push_back(f.auto_color ? 0xFFFFFFFFu : f.color);
  }
  return out;
}

RichText& with_text(RichText& d, std::u16string_view s) {
  d.replace(0, d.length(), s, false);
  return d;
}

TEST(NormalizeLineEnds, CrLfAndLoneLfBecomeCr) {
  EXPECT_EQ(normalize_line_ends(u"a\r\nb\nc\rd"), u"a\rb\rc\rd");
  EXPECT_EQ(normalize_line_ends(u"\n\n\r\n\r"), u"\r\r\r\r");
  EXPECT_EQ(normalize_line_ends(u"\r\n\n"), u"\r\r");
}

TEST(NormalizeLineEnds, KeepsNulAndLoneSurrogates) {
  const std::u16string odd{u'x', u'\0', char16_t(0xD800), u'\x06', char16_t(0xDC00)};
  EXPECT_EQ(normalize_line_ends(odd), odd);
}

// Units that hold the byte sought as their other byte, or as the byte of a unit beside it, are
// not what is sought.
TEST(FindUnit, FindsTheUnitNotItsBytesInOtherUnits) {
  const std::u16string long_line = std::u16string(100, u'\u040A') + u"\u0A0D\n";
  const struct {
    std::u16string_view text;
    char16_t unit;
    std::size_t from, at;
  } cases[] = {
      {u"ab\ncd\n", u'\n', 0, 2}, {u"ab\ncd\n", u'\n', 3, 5}, {u"ab\ncd\n", u'\n', 6, std::u16string_view::npos},
      {u"\u040A\u0A0D\u0D0A\r", u'\n', 0, std::u16string_view::npos}, {u"\u040A\u0A0D\u0D0A\r", u'\r', 0, 3},
      {long_line, u'\n', 0, 101}, {u"", u'\r', 0, std::u16string_view::npos}, {u"\r", u'\r', 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(find_unit(c.text, c.unit, c.from), c.at) << c.from;
}

TEST(RichTextEdit, ReplaceClampsSwapsAndPutsCaretAfterNewText) {
  RichText d;
  d.replace(0, 0, u"Hello world", true);
  EXPECT_EQ(d.text(), u"Hello world");
  EXPECT_EQ(d.selection(), (CHARRANGE{11, 11}));
  EXPECT_TRUE(d.modified);

  const TextChange c = d.replace(11, 5, u" there", true);  // reversed: [5, 11)
  EXPECT_EQ(c.pos, 5);
  EXPECT_EQ(c.removed, 6);
  EXPECT_EQ(c.inserted, 6);
  EXPECT_EQ(d.text(), u"Hello there");
  EXPECT_EQ(d.selection(), (CHARRANGE{11, 11}));

  d.replace(100, 200, u"!", true);  // past the end: appended
  EXPECT_EQ(d.text(), u"Hello there!");
  d.replace(-5, 5, u"", true);  // before the start: from 0
  EXPECT_EQ(d.text(), u" there!");
}

TEST(RichTextEdit, TextRangeAndCrLfCopies) {
  RichText d;
  with_text(d, u"ab\rcd\r");
  EXPECT_EQ(d.text_range(1, 4), u"b\rc");
  EXPECT_EQ(d.text_range(4, 1), u"b\rc");
  EXPECT_EQ(d.text_range(3, -1), u"cd\r");
  EXPECT_EQ(d.text_range(5, 99), u"\r");
  EXPECT_EQ(d.text_crlf(0, -1), u"ab\r\ncd\r\n");
  EXPECT_EQ(d.text_crlf(2, 3), u"\r\n");
}

TEST(RichTextFormats, MoveWithTheirTextOnInsertAndDelete) {
  RichText d;
  with_text(d, u"0123456789");
  d.set_format(2, 5, color_cf(kRed));
  d.replace(0, 0, u"abc", true);  // red moves to [5, 8)
  std::vector<COLORREF> expect(13, 0xFFFFFFFFu);
  for (int i = 5; i < 8; ++i) expect[static_cast<size_t>(i)] = kRed;
  EXPECT_EQ(colors(d), expect);

  d.replace(0, 4, u"", true);  // red moves to [1, 4)
  expect.erase(expect.begin(), expect.begin() + 4);
  EXPECT_EQ(colors(d), expect);

  d.replace(3, 6, u"", true);  // deletes the last red character and two after it
  EXPECT_EQ(d.text(), u"123789");
  expect = {0xFFFFFFFFu, kRed, kRed, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
  EXPECT_EQ(colors(d), expect);
}

TEST(RichTextFormats, NewTextTakesTheFormatBeforeItOrOfTheRangeItReplaces) {
  RichText d;
  with_text(d, u"aaBBcc");
  d.set_format(2, 4, color_cf(kRed));
  d.replace(4, 4, u"x", true);  // right after red: red
  EXPECT_EQ(d.format_at(4).color, kRed);
  EXPECT_FALSE(d.format_at(4).auto_color);
  d.replace(2, 2, u"y", true);  // right before red: the character before is automatic
  EXPECT_TRUE(d.format_at(2).auto_color);
  EXPECT_EQ(d.text(), u"aayBBxcc");

  // A coloured range replaced keeps its colour (what a user colouring then replacing a word sees).
  d.set_format(6, 8, color_cf(kBlue));
  d.replace(6, 8, u"NEW", true);
  EXPECT_EQ(d.text(), u"aayBBxNEW");
  for (LONG i = 6; i < 9; ++i) EXPECT_EQ(d.format_at(i).color, kBlue) << i;

  // At position 0 the first character's format.
  d.set_format(0, 1, color_cf(kBlue));
  d.replace(0, 0, u"zz", true);
  EXPECT_EQ(d.format_at(0).color, kBlue);
  EXPECT_EQ(d.format_at(1).color, kBlue);
}

TEST(RichTextFormats, EmptyTextUsesTheDefaultFormat) {
  RichText d;
  CHARFORMAT2W bold = effects_cf(CFM_BOLD, CFE_BOLD);
  d.set_default_format(bold);
  d.replace(0, 0, u"abc", true);
  EXPECT_EQ(d.format_at(1).effects & CFE_BOLD, DWORD{CFE_BOLD});
  d.replace(0, 3, u"", true);
  d.set_default_format(effects_cf(CFM_BOLD, 0));
  d.replace(0, 0, u"x", true);
  EXPECT_EQ(d.format_at(0).effects & CFE_BOLD, 0u);
}

TEST(RichTextFormats, FormatAtTheCaretAppliesToTheNextInsertionThere) {
  RichText d;
  with_text(d, u"report");
  d.set_format(0, 6, color_cf(kRed));
  d.set_selection({-1, -1});
  d.set_format(6, 6, effects_cf(CFM_COLOR | CFM_BOLD, CFE_BOLD) /* black, bold */);
  d.replace(6, 6, u" more", true);
  EXPECT_EQ(d.format_at(7).color, 0u);
  EXPECT_FALSE(d.format_at(7).auto_color);
  EXPECT_EQ(d.format_at(7).effects & CFE_BOLD, DWORD{CFE_BOLD});
  EXPECT_EQ(d.format_at(5).color, kRed);

  // A format set at the caret is forgotten when the caret moves.
  d.set_format(11, 11, color_cf(kBlue));
  EXPECT_EQ(d.format_of_range(11, 11).crTextColor, kBlue);
  d.set_selection({0, 0});
  d.set_selection({-1, -1});
  d.replace(11, 11, u"!", true);
  EXPECT_EQ(d.format_at(11).color, 0u);
}

TEST(RichTextFormats, RangeFormatReportsTheUniformAttributes) {
  RichText d;
  with_text(d, u"abcdef");
  d.set_format(0, 6, effects_cf(CFM_BOLD | CFM_UNDERLINE, CFE_BOLD | CFE_UNDERLINE));
  d.set_format(3, 6, color_cf(kRed));
  d.set_format(4, 5, effects_cf(CFM_UNDERLINE, 0));

  CHARFORMAT2W all = d.format_of_range(0, 6);
  EXPECT_TRUE(all.dwMask & CFM_BOLD);
  EXPECT_TRUE(all.dwEffects & CFE_BOLD);
  EXPECT_FALSE(all.dwMask & CFM_COLOR);
  EXPECT_FALSE(all.dwMask & CFM_UNDERLINE);
  EXPECT_TRUE(all.dwMask & CFM_ITALIC);

  CHARFORMAT2W tail = d.format_of_range(3, 6);
  EXPECT_TRUE(tail.dwMask & CFM_COLOR);
  EXPECT_EQ(tail.crTextColor, kRed);
  EXPECT_FALSE(tail.dwEffects & CFE_AUTOCOLOR);

  CHARFORMAT2W head = d.format_of_range(0, 3);
  EXPECT_TRUE(head.dwEffects & CFE_AUTOCOLOR);

  // Past the end the range is clamped; a reversed one is swapped.
  EXPECT_EQ(d.format_of_range(50, 3).crTextColor, kRed);

  // Every attribute of the mask is stored.
  CHARFORMAT2W many;
  many.dwMask = CFM_ITALIC | CFM_STRIKEOUT | CFM_PROTECTED | CFM_SIZE | CFM_FACE | CFM_BACKCOLOR;
  many.dwEffects = CFE_ITALIC | CFE_STRIKEOUT | CFE_PROTECTED;
  many.yHeight = 240;
  many.szFaceName = u"Arial";
  many.crBackColor = kBlue;
  d.set_format(1, 2, many);
  const CharFormat f = d.format_at(1);
  EXPECT_EQ(f.effects, DWORD{CFE_BOLD | CFE_UNDERLINE | CFE_ITALIC | CFE_STRIKEOUT | CFE_PROTECTED});
  EXPECT_EQ(f.height, 240);
  EXPECT_EQ(f.face, u"Arial");
  EXPECT_FALSE(f.auto_back);
  EXPECT_EQ(f.back, kBlue);
}

TEST(RichTextFormats, RunsCoverTheRangeWithAbsolutePositions) {
  RichText d;
  with_text(d, u"aaabbbccc");
  d.set_format(3, 6, color_cf(kRed));
  const std::vector<FormatRun> runs = d.runs(1, 8);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].from, 1);
  EXPECT_EQ(runs[0].to, 3);
  EXPECT_EQ(runs[1].from, 3);
  EXPECT_EQ(runs[1].to, 6);
  EXPECT_EQ(runs[1].format.color, kRed);
  EXPECT_EQ(runs[2].to, 8);
}

TEST(RichTextFormats, ReplaceFormattedUsesTheGivenRunsAndFillsGaps) {
  RichText d;
  with_text(d, u"xy");
  d.set_format(0, 2, color_cf(kBlue));
  CharFormat red;
  red.auto_color = false;
  red.color = kRed;
  d.replace_formatted(1, 1, u"abcd", {{1, 3, red}}, true);
  EXPECT_EQ(d.text(), u"xabcdy");
  EXPECT_EQ(d.format_at(1).color, kBlue);  // gap before the run: inherited
  EXPECT_EQ(d.format_at(2).color, kRed);
  EXPECT_EQ(d.format_at(3).color, kRed);
  EXPECT_EQ(d.format_at(4).color, kBlue);  // gap after the run
  // Runs out of range are clipped to the text.
  d.replace_formatted(0, 6, u"q", {{-5, 100, red}}, true);
  EXPECT_EQ(d.text(), u"q");
  EXPECT_EQ(d.format_at(0).color, kRed);
}

// Thousands of distinct formats alive at once (more than 16-bit indices can name), and many more
// created and dropped again: every character keeps its own.
TEST(RichTextFormats, ManyDistinctFormatsStayCorrect) {
  RichText d;
  const LONG n = 70000;
  d.replace(0, 0, std::u16string(static_cast<size_t>(n), u'x'), false);
  for (LONG i = 0; i < n; ++i) d.set_format(i, i + 1, color_cf(static_cast<COLORREF>(i)));
  for (LONG i = 0; i < n; i += 997) {
    EXPECT_EQ(d.format_at(i).color, static_cast<COLORREF>(i));
    EXPECT_FALSE(d.format_at(i).auto_color);
  }
  d.replace(10, 20, u"", true);  // the undo step keeps the formats of what it removed
  for (int k = 0; k < 20000; ++k) d.set_format(0, 5, color_cf(static_cast<COLORREF>(0x100000 + k)));
  EXPECT_EQ(d.format_at(4).color, 0x100000u + 19999u);
  EXPECT_EQ(d.format_at(10).color, 20u);
  ASSERT_TRUE(d.undo());
  EXPECT_EQ(d.format_at(10).color, 10u);
  EXPECT_EQ(d.format_at(19).color, 19u);
  EXPECT_EQ(d.format_at(n - 1).color, static_cast<COLORREF>(n - 1));
}

// The same few changes applied again and again to formats that keep being made and dropped (so
// that the format table is compacted and renumbered many times): every character has the format
// its own changes give it.
TEST(RichTextFormats, RepeatedChangesSurviveRenumbering) {
  RichText d;
  const LONG n = 64;
  d.replace(0, 0, std::u16string(static_cast<size_t>(n), u'x'), false);
  struct Model {
    COLORREF color = 0;
    bool bold = false;
  };
  std::vector<Model> model(static_cast<size_t>(n));
  CHARFORMAT2W bold;
  bold.dwMask = CFM_BOLD;
  bold.dwEffects = CFE_BOLD;
  CHARFORMAT2W plain = bold;
  plain.dwEffects = 0;
  std::uint32_t seed = 7;
  for (int step = 0; step < 30000; ++step) {
    seed = seed * 1103515245u + 12345u;
    const LONG at = static_cast<LONG>((seed >> 8) % static_cast<std::uint32_t>(n - 8));
    const LONG to = at + 1 + static_cast<LONG>(seed % 8);
    const COLORREF fresh = 0x200000 + static_cast<COLORREF>(step);  // a colour never used before
    const int kind = static_cast<int>(seed >> 30);
    d.set_format(at, to, kind == 0 ? color_cf(fresh) : kind == 1 ? bold : kind == 2 ? plain : color_cf(kRed));
    for (LONG i = at; i < to; ++i) {
      Model& m = model[static_cast<size_t>(i)];
      if (kind == 0) m.color = fresh;
      else if (kind == 3) m.color = kRed;
      else m.bold = kind == 1;
    }
    for (LONG i = at; i < to; ++i) {
      const CharFormat f = d.format_at(i);
      const Model& m = model[static_cast<size_t>(i)];
      ASSERT_EQ(f.color, m.color) << step;
      ASSERT_EQ((f.effects & CFE_BOLD) != 0, m.bold) << step;
    }
  }
}

TEST(RichTextSelection, WindowsConventions) {
  RichText d;
  with_text(d, u"0123456789");
  EXPECT_TRUE(d.set_selection({0, -1}));
  EXPECT_EQ(d.selection(), (CHARRANGE{0, 10}));
  EXPECT_TRUE(d.set_selection({-1, -1}));
  EXPECT_EQ(d.selection(), (CHARRANGE{10, 10}));
  EXPECT_FALSE(d.set_selection({-1, -1}));  // no change
  EXPECT_TRUE(d.set_selection({7, 3}));
  EXPECT_EQ(d.selection(), (CHARRANGE{3, 7}));
  EXPECT_TRUE(d.set_selection({4, 500}));
  EXPECT_EQ(d.selection(), (CHARRANGE{4, 10}));
  EXPECT_TRUE(d.set_selection({600, 700}));
  EXPECT_EQ(d.selection(), (CHARRANGE{10, 10}));
  EXPECT_TRUE(d.set_selection({2, -1}));
  EXPECT_EQ(d.selection(), (CHARRANGE{2, 10}));
}

TEST(RichTextUndo, TypingMergesAndUndoRestoresTextWithFormats) {
  RichText d;
  with_text(d, u"Hello");
  d.set_format(0, 5, color_cf(kRed));
  d.set_selection({-1, -1});
  for (char16_t c : std::u16string(u" you")) d.replace(d.selection().cpMin, d.selection().cpMax, {&c, 1}, true, true);
  EXPECT_EQ(d.text(), u"Hello you");
  ASSERT_TRUE(d.can_undo());
  const auto c = d.undo();
  ASSERT_TRUE(c);
  EXPECT_EQ(c->pos, 5);
  EXPECT_EQ(c->removed, 4);
  EXPECT_EQ(c->inserted, 0);
  EXPECT_EQ(d.text(), u"Hello");
  EXPECT_FALSE(d.can_undo());  // the typing run was one step; set text was not undoable
  ASSERT_TRUE(d.redo());
  EXPECT_EQ(d.text(), u"Hello you");
  EXPECT_EQ(d.format_at(7).color, kRed);

  // Deleting coloured text and undoing brings the colour back; the restored text is selected.
  d.replace(0, 5, u"", true);
  EXPECT_EQ(d.text(), u" you");
  ASSERT_TRUE(d.undo());
  EXPECT_EQ(d.text(), u"Hello you");
  EXPECT_EQ(d.selection(), (CHARRANGE{0, 5}));
  EXPECT_EQ(d.format_at(2).color, kRed);
  ASSERT_TRUE(d.undo());
  EXPECT_EQ(d.text(), u"Hello");
}

TEST(RichTextUndo, TypingAfterTheCaretMovedIsANewStep) {
  RichText d;
  d.replace(0, 0, u"a", true, true);
  d.replace(1, 1, u"b", true, true);
  d.set_selection({0, 0});
  d.set_selection({2, 2});
  d.replace(2, 2, u"c", true, true);
  ASSERT_TRUE(d.undo());
  EXPECT_EQ(d.text(), u"ab");
  ASSERT_TRUE(d.undo());
  EXPECT_EQ(d.text(), u"");
}

TEST(RichTextUndo, NewChangeClearsRedoAndUnrecordedChangeClearsAll) {
  RichText d;
  d.replace(0, 0, u"one", true);
  d.replace(3, 3, u" two", true);
  ASSERT_TRUE(d.undo());
  EXPECT_TRUE(d.can_redo());
  d.replace(3, 3, u" three", true);
  EXPECT_FALSE(d.can_redo());
  EXPECT_FALSE(d.redo());
  ASSERT_TRUE(d.undo());
  EXPECT_EQ(d.text(), u"one");

  d.replace(0, 0, u">", false);
  EXPECT_FALSE(d.can_undo());
  EXPECT_FALSE(d.can_redo());
  EXPECT_FALSE(d.undo());
  EXPECT_EQ(d.text(), u">one");
}

TEST(RichTextUndo, FormatChangesAreNotSteps) {
  RichText d;
  d.replace(0, 0, u"abc", true);
  d.set_format(0, 3, color_cf(kRed));
  ASSERT_TRUE(d.undo());
  EXPECT_EQ(d.text(), u"");
  EXPECT_FALSE(d.can_undo());
}

TEST(RichTextUndo, KeepsTheLastHundredSteps) {
  RichText d;
  for (int i = 0; i < 150; ++i) d.replace(d.length(), d.length(), u"x\r", true);
  int undone = 0;
  while (d.undo()) ++undone;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(d.length(), 100);
  d.clear_undo();
  EXPECT_FALSE(d.can_redo());
}

TEST(RichTextFind, DirectionsWholeWordAndCase) {
  RichText d;
  with_text(d, u"Cat cat CAT concat cat_x cat");
  //          0   4   8   12     19    25
  EXPECT_EQ(d.find(FR_DOWN, {0, -1}, u"cat"), (CHARRANGE{0, 3}));
  EXPECT_EQ(d.find(FR_DOWN | FR_MATCHCASE, {0, -1}, u"cat"), (CHARRANGE{4, 7}));
  EXPECT_EQ(d.find(FR_DOWN | FR_MATCHCASE, {5, -1}, u"cat"), (CHARRANGE{15, 18}));
  EXPECT_EQ(d.find(FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD, {5, -1}, u"cat"), (CHARRANGE{25, 28}));
  EXPECT_EQ(d.find(FR_DOWN | FR_WHOLEWORD, {5, -1}, u"cat"), (CHARRANGE{8, 11}));
  // The match must end within cpMax.
  EXPECT_EQ(d.find(FR_DOWN, {5, 10}, u"cat"), std::nullopt);
  EXPECT_EQ(d.find(FR_DOWN, {5, 11}, u"cat"), (CHARRANGE{8, 11}));

  // Backwards from cpMin: the nearest match that ends at or before it.
  EXPECT_EQ(d.find(0, {28, -1}, u"cat"), (CHARRANGE{25, 28}));
  EXPECT_EQ(d.find(0, {27, -1}, u"cat"), (CHARRANGE{19, 22}));
  EXPECT_EQ(d.find(FR_WHOLEWORD, {27, -1}, u"cat"), (CHARRANGE{8, 11}));
  EXPECT_EQ(d.find(FR_MATCHCASE, {8, -1}, u"cat"), (CHARRANGE{4, 7}));
  EXPECT_EQ(d.find(FR_MATCHCASE | FR_WHOLEWORD, {4, -1}, u"cat"), std::nullopt);
  // Down to cpMax only.
  EXPECT_EQ(d.find(0, {10, 5}, u"cat"), std::nullopt);
  EXPECT_EQ(d.find(0, {11, 5}, u"cat"), (CHARRANGE{8, 11}));
  EXPECT_EQ(d.find(0, {-1, -1}, u"CAT"), (CHARRANGE{25, 28}));

  EXPECT_EQ(d.find(FR_DOWN, {0, -1}, u""), std::nullopt);
  EXPECT_EQ(d.find(FR_DOWN, {0, -1}, std::u16string(40, u'c')), std::nullopt);
  EXPECT_EQ(d.find(FR_DOWN, {100, -1}, u"cat"), std::nullopt);
}

TEST(RichTextFind, LongTextFindsEachMatchDownwards) {
  RichText d;
  const std::u16string pad(37, u'.');
  with_text(d, pad + u"ДУМА " + pad + u"думата дума" + pad + u"Дума");
  std::vector<LONG> found;
  for (LONG from = 0;;) {
    const auto r = d.find(FR_DOWN | FR_WHOLEWORD, {from, -1}, u"дума");
    if (!r) break;
    found.push_back(r->cpMin);
    from = r->cpMax;
  }
  EXPECT_EQ(found, (std::vector<LONG>{37, 86, 127}));
  EXPECT_EQ(d.find(FR_DOWN | FR_MATCHCASE, {0, -1}, u"Дума"), (CHARRANGE{127, 131}));
}

TEST(RichTextFind, CyrillicFoldsWithoutMatchCase) {
  RichText d;
  with_text(d, u"Това е ДУМА, дума и Думата. Ёж ёж");
  EXPECT_EQ(d.find(FR_DOWN | FR_WHOLEWORD, {0, -1}, u"дума"), (CHARRANGE{7, 11}));
  EXPECT_EQ(d.find(FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE, {0, -1}, u"дума"), (CHARRANGE{13, 17}));
  EXPECT_EQ(d.find(FR_WHOLEWORD, {-1, -1}, u"ДУМА"), (CHARRANGE{13, 17}));
  EXPECT_EQ(d.find(0, {-1, -1}, u"ДУМА"), (CHARRANGE{20, 24}));
  EXPECT_EQ(d.find(FR_DOWN | FR_WHOLEWORD, {0, -1}, u"ёж"), (CHARRANGE{28, 30}));
  EXPECT_EQ(d.find(FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE, {0, -1}, u"ёж"), (CHARRANGE{31, 33}));
}

TEST(RichTextLines, CountLineOfCharAndLineStart) {
  RichText d;
  EXPECT_EQ(d.line_count(), 1);
  EXPECT_EQ(d.line_index(0), 0);
  with_text(d, u"one\rtwo\r\rfour");
  EXPECT_EQ(d.line_count(), 4);
  EXPECT_EQ(d.line_from_char(0), 0);
  EXPECT_EQ(d.line_from_char(3), 0);
  EXPECT_EQ(d.line_from_char(4), 1);
  EXPECT_EQ(d.line_from_char(8), 2);
  EXPECT_EQ(d.line_from_char(9), 3);
  EXPECT_EQ(d.line_from_char(999), 3);
  EXPECT_EQ(d.line_index(3), 9);
  EXPECT_EQ(d.line_index(4), -1);
  EXPECT_EQ(d.line_index(-1), -1);
  d.replace(2, 5, u"", true);  // "on" + "wo\r\rfour"
  EXPECT_EQ(d.text(), u"onwo\r\rfour");
  EXPECT_EQ(d.line_count(), 3);
  EXPECT_EQ(d.line_index(2), 6);
}

// Random edits and colourings checked against a plain per-character model.
TEST(RichTextModel, RandomEditsMatchAPlainModel) {
  std::mt19937 rng(12345);
  RichText d;
  std::u16string text;
  std::vector<COLORREF> color;  // 0xFFFFFFFF: automatic
  // The format set at an empty range, for text put in at that point next.
  bool has_pending = false;
  LONG pending_at = 0;
  COLORREF pending_color = 0;
  const std::u16string alphabet = u"ab\rЖ ";
  auto pick = [&](LONG n) { return static_cast<LONG>(rng() % static_cast<unsigned>(n + 1)); };
  for (int step = 0; step < 3000; ++step) {
    const LONG n = static_cast<LONG>(text.size());
    LONG a = pick(n), b = pick(n);
    if (a > b) std::swap(a, b);
    if (rng() % 4 == 0) a = b = n;  // text written at the end, as a report is written
    if (rng() % 3 == 0) {
      const COLORREF c = rng() % 4;
      d.set_format(a, b, color_cf(c));
      for (LONG i = a; i < b; ++i) color[static_cast<size_t>(i)] = c;
      if (a == b) {
        has_pending = true;
        pending_at = a;
        pending_color = c;
      }
    } else {
      std::u16string s;
      const int len = static_cast<int>(rng() % 5);
      for (int i = 0; i < len; ++i) s.push_back(alphabet[rng() % alphabet.size()]);
      COLORREF inherit = 0xFFFFFFFFu;
      if (b > a) inherit = color[static_cast<size_t>(a)];
      else if (a > 0) inherit = color[static_cast<size_t>(a - 1)];
      else if (n > 0) inherit = color[0];
      if (has_pending && b == a && pending_at == a) inherit = pending_color;
      if (b > a || !s.empty()) has_pending = false;
      const bool undoable = rng() % 2 == 0;
      const std::u16string text_before = text;
      const std::vector<COLORREF> color_before = color;
      d.replace(a, b, s, undoable);
      text.replace(static_cast<size_t>(a), static_cast<size_t>(b - a), s);
      color.erase(color.begin() + a, color.begin() + b);
      color.insert(color.begin() + a, s.size(), inherit);
      // Undoing the step just made brings back the text and colours before it; redoing, after it.
      if (undoable && !s.empty() && rng() % 4 == 0) {
        const CHARRANGE after = d.selection();
        ASSERT_TRUE(d.undo());
        ASSERT_EQ(d.text(), text_before) << "step " << step;
        ASSERT_EQ(colors(d), color_before) << "step " << step;
        ASSERT_TRUE(d.redo());
        d.set_selection(after);
        has_pending = false;
      }
    }
    ASSERT_EQ(d.text(), text) << "step " << step;
    ASSERT_EQ(colors(d), color) << "step " << step;
    int lines = 1;
    for (LONG i = 0; i < static_cast<LONG>(text.size()); ++i) {
      ASSERT_EQ(d.line_from_char(i), lines - 1) << "step " << step << " pos " << i;
      if (text[static_cast<size_t>(i)] == u'\r') {
        ASSERT_EQ(d.line_index(lines), i + 1);
        ++lines;
      }
    }
    ASSERT_EQ(d.line_count(), lines) << "step " << step;
  }
}

TEST(RichTextBadInput, HugeSingleLineNulAndLoneSurrogates) {
  RichText d;
  std::u16string big(10u << 20, u'a');
  big[big.size() - 3] = u'Z';
  d.replace(0, 0, big, true);
  EXPECT_EQ(d.line_count(), 1);
  EXPECT_EQ(d.find(FR_DOWN, {0, -1}, u"z"), (CHARRANGE{static_cast<LONG>(big.size()) - 3, static_cast<LONG>(big.size()) - 2}));
  EXPECT_EQ(d.find(FR_MATCHCASE, {-1, -1}, u"Za"), (CHARRANGE{static_cast<LONG>(big.size()) - 3, static_cast<LONG>(big.size()) - 1}));
  d.set_format(0, -1, color_cf(kRed));
  EXPECT_EQ(d.format_of_range(0, d.length()).crTextColor, kRed);
  ASSERT_TRUE(d.undo());
  EXPECT_EQ(d.length(), 0);

  const std::u16string odd{u'\0', u'\x06', char16_t(0xDC00), u'a', char16_t(0xD800)};
  d.replace(0, 0, odd, true);
  EXPECT_EQ(d.text(), odd);
  EXPECT_EQ(d.find(FR_DOWN, {0, -1}, std::u16string(1, u'\0')), (CHARRANGE{0, 1}));
  EXPECT_EQ(d.find(FR_DOWN | FR_WHOLEWORD, {0, -1}, u"a"), (CHARRANGE{3, 4}));
}

}  // namespace
