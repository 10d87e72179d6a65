// Tests of the RTF writer and reader: round trips of text and formats, RTF written by other
// programs, and damaged data.
#include "platform/richtext.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/text.h"

namespace {

CharFormat colored(COLORREF c, DWORD effects = 0) {
  CharFormat f;
  f.auto_color = false;
  f.color = c;
  f.effects = effects;
  return f;
}

// The format of each character of read content.
std::vector<CharFormat> formats_of(const RtfContent& c) {
  std::vector<CharFormat> out(c.text.size());
  for (const FormatRun& r : c.runs)
    for (LONG i = r.from; i < r.to; ++i) out.at(static_cast<size_t>(i)) = r.format;
  return out;
}

std::vector<CharFormat> formats_of(const RichText& d) {
  std::vector<CharFormat> out;
  for (LONG i = 0; i < d.length(); ++i) out.push_back(d.format_at(i));
  return out;
}

RtfContent read_ok(std::string_view rtf) {
  std::optional<RtfContent> c = rtf_read(rtf);
  EXPECT_TRUE(c.has_value());
  return c.value_or(RtfContent{});
}

TEST(Rtf, RoundTripOfTextAndFormats) {
  RichText d;
  const std::u16string text =
      u"Plain {braces} \\ back\tTab\rКирилица ЁЖ\rred bold italic under strike high 中文 \U0001F600 end";
  d.replace(0, 0, text, false);
  CharFormat red_bold = colored(RGB(255, 0, 0), CFE_BOLD);
  CHARFORMAT2W cf;
  cf.dwMask = CFM_COLOR | CFM_BOLD;
  cf.dwEffects = CFE_BOLD;
  cf.crTextColor = RGB(255, 0, 0);
  const LONG r = static_cast<LONG>(text.find(u"red"));
  d.set_format(r, r + 8, cf);
  CHARFORMAT2W ital;
  ital.dwMask = CFM_ITALIC | CFM_COLOR;
  ital.dwEffects = CFE_ITALIC;
  ital.crTextColor = RGB(0, 56, 255);
  const LONG i = static_cast<LONG>(text.find(u"italic"));
  d.set_format(i, i + 6, ital);
  CHARFORMAT2W ul;
  ul.dwMask = CFM_UNDERLINE;
  ul.dwEffects = CFE_UNDERLINE;
  const LONG u = static_cast<LONG>(text.find(u"under"));
  d.set_format(u, u + 5, ul);
  CHARFORMAT2W st;
  st.dwMask = CFM_STRIKEOUT;
  st.dwEffects = CFE_STRIKEOUT;
  const LONG s = static_cast<LONG>(text.find(u"strike"));
  d.set_format(s, s + 6, st);
  CHARFORMAT2W hi;
  hi.dwMask = CFM_BACKCOLOR;
  hi.crBackColor = RGB(255, 255, 0);
  const LONG h = static_cast<LONG>(text.find(u"high"));
  d.set_format(h, h + 4, hi);
  const LONG k = static_cast<LONG>(text.find(u"Кирилица"));
  d.set_format(k, k + 8, cf);

  const std::string rtf = rtf_write(d, 0, -1);
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(rtf.find("\\ansicpg1251"), std::string::npos);
  EXPECT_NE(rtf.find("\\'ca"), std::string::npos);       // К in code page 1251
  EXPECT_NE(rtf.find("\\u20013?"), std::string::npos);   // 中 has no 1251 form
  EXPECT_NE(rtf.find("\\u-10179?"), std::string::npos);  // the high surrogate of the emoji
  EXPECT_NE(rtf.find("\\red255\\green0\\blue0;"), std::string::npos);
  EXPECT_NE(rtf.find("\\par"), std::string::npos);

  const RtfContent back = read_ok(rtf);
  EXPECT_EQ(back.text, text);
  const std::vector<CharFormat> got = formats_of(back), want = formats_of(d);
  ASSERT_EQ(got.size(), want.size());
  for (size_t n = 0; n < got.size(); ++n) EXPECT_EQ(got[n], want[n]) << "character " << n;
  EXPECT_EQ(got[static_cast<size_t>(r)], red_bold);
}

TEST(Rtf, WritesOnlyTheRangeAsked) {
  RichText d;
  d.replace(0, 0, u"one\rtwo\rthree", false);
  const RtfContent part = read_ok(rtf_write(d, 4, 7));
  EXPECT_EQ(part.text, u"two");
  EXPECT_EQ(read_ok(rtf_write(d, 5, 5)).text, u"");
}

TEST(Rtf, NotRtfIsRefused) {
  EXPECT_FALSE(rtf_read(""));
  EXPECT_FALSE(rtf_read("plain text"));
  EXPECT_FALSE(rtf_read(" {\\rtf1 x}"));
  EXPECT_FALSE(rtf_read("{\\rt"));
  EXPECT_TRUE(rtf_read("{\\rtf"));
}

TEST(Rtf, ReadsWhatOtherProgramsWrite) {
  // A word processor on a Western system: the Cyrillic font's bytes are in code page 1251, the
  // rest in 1252; font table, generator and a picture are skipped; \uN with one replacement byte.
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
      "{\\f1\\fnil\\fcharset204 Calibri;}}\r\n"
      "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
      "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
      "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Caf\\'e9 \\f1\\lang1026\\'c4\\'f3\\'ec\\'e0\\f0  "
      "\\cf1\\b bold red\\cf0\\b0  \\i it\\i0  \\ul u\\ulnone  \\cf2\\strike s\\strike0\\cf0 "
      "{\\pict\\wmetafile8 0123456789abcdef}\\u8364\\'80 x\\par\r\n"
      "Line\\line two\\tab end\\~nb\\emdash\\'85\\par\r\n}";
  const RtfContent c = read_ok(rtf);
  EXPECT_EQ(c.text, u"Café Дума bold red it u s€ x\rLine\rtwo\tend\u00A0nb—…\r");
  const std::vector<CharFormat> f = formats_of(c);
  const size_t bold = c.text.find(u"bold");
  EXPECT_EQ(f[bold], colored(RGB(255, 0, 0), CFE_BOLD));
  EXPECT_TRUE(f[bold - 1].auto_color);
  EXPECT_EQ(f[c.text.find(u"it")].effects, DWORD{CFE_ITALIC});
  EXPECT_EQ(f[c.text.find(u"u s")].effects, DWORD{CFE_UNDERLINE});
  EXPECT_EQ(f[c.text.find(u"s€")], colored(RGB(0, 0, 255), CFE_STRIKEOUT));
  EXPECT_TRUE(f[c.text.find(u"€")].auto_color);
}

TEST(Rtf, GroupsRestoreFormatsAndPlainResets) {
  const RtfContent c = read_ok(
      "{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}a{\\b\\cf1 b{\\i c}d}e\\b\\i f\\plain g"
      "\\highlight1 h\\cb0 i\\ul j\\ul0 k}");
  EXPECT_EQ(c.text, u"abcdefghijk");
  const std::vector<CharFormat> f = formats_of(c);
  EXPECT_EQ(f[0], CharFormat{});
  EXPECT_EQ(f[1], colored(RGB(1, 2, 3), CFE_BOLD));
  EXPECT_EQ(f[2], colored(RGB(1, 2, 3), CFE_BOLD | CFE_ITALIC));
  EXPECT_EQ(f[3], colored(RGB(1, 2, 3), CFE_BOLD));
  EXPECT_EQ(f[4], CharFormat{});
  EXPECT_EQ(f[5].effects, DWORD{CFE_BOLD | CFE_ITALIC});
  EXPECT_EQ(f[6], CharFormat{});
  EXPECT_FALSE(f[7].auto_back);
  EXPECT_EQ(f[7].back, RGB(1, 2, 3));
  EXPECT_TRUE(f[8].auto_back);
  EXPECT_EQ(f[9].effects, DWORD{CFE_UNDERLINE});
  EXPECT_EQ(f[10].effects, 0u);
}

TEST(Rtf, UnicodeSkipCounts) {
  EXPECT_EQ(read_ok("{\\rtf1\\uc0\\u1046 X}").text, u"ЖX");
  EXPECT_EQ(read_ok("{\\rtf1\\uc2\\u1046\\'c6\\'c6X}").text, u"ЖX");
  EXPECT_EQ(read_ok("{\\rtf1\\uc1\\u1046??}").text, u"Ж?");
  // Skipping ends with the group.
  EXPECT_EQ(read_ok("{\\rtf1{\\uc3\\u1046}abc}").text, u"Жabc");
  EXPECT_EQ(read_ok("{\\rtf1\\u-3913?}").text, std::u16string(1, char16_t(0xF0B7)));
}

TEST(Rtf, DamagedDataGivesDefinedText) {
  // Truncated: what was read so far.
  EXPECT_EQ(read_ok("{\\rtf1 abc{\\b def").text, u"abcdef");
  EXPECT_EQ(read_ok("{\\rtf1 abc\\'e").text, u"abc");  // a byte cut short is dropped
  EXPECT_EQ(read_ok("{\\rtf1 abc\\").text, u"abc");
  EXPECT_EQ(read_ok("{\\rtf1 abc\\u").text, u"abc");
  // Text after the document's closing brace is not part of it.
  EXPECT_EQ(read_ok("{\\rtf1 abc}}}def{ghi").text, u"abc");
  // Huge numbers.
  EXPECT_EQ(read_ok("{\\rtf1\\u99999999999999999999?x}").text, u"\uFFFDx");
  EXPECT_EQ(read_ok("{\\rtf1\\uc99999999999\\u65 abcdefghijklmnopqrstuvwxyz}").text, u"Aqrstuvwxyz");
  EXPECT_EQ(read_ok("{\\rtf1 a\\bin99999999999 xyz}").text, u"a");
  EXPECT_EQ(read_ok("{\\rtf1{\\colortbl;\\red99999\\green-5\\blue7;}\\cf1 a\\cf999999 b}").text, u"ab");
  const RtfContent colors = read_ok("{\\rtf1{\\colortbl;\\red99999\\green-5\\blue7;}\\cf1 a\\cf999999 b}");
  EXPECT_EQ(formats_of(colors)[0], colored(RGB(255, 0, 7)));
  EXPECT_TRUE(formats_of(colors)[1].auto_color);
  // Nesting far deeper than any document: read, and the braces still pair up.
  std::string deep = "{\\rtf1 ";
  for (int i = 0; i < 200000; ++i) deep += "{\\b ";
  deep += "x";
  for (int i = 0; i < 200000; ++i) deep += "}";
  deep += "y}z";
  const RtfContent c = read_ok(deep);
  EXPECT_EQ(c.text, u"xy");
  EXPECT_EQ(formats_of(c)[0].effects, DWORD{CFE_BOLD});
  EXPECT_EQ(formats_of(c)[1].effects, 0u);
}

TEST(Rtf, BinaryJunkNeverBreaksTheReader) {
  std::mt19937 rng(7);
  const std::string tokens[] = {"{", "}", "\\", "\\u", "\\'", "\\uc", "\\bin", "-", "9", "\\*",
                                "\\par", "\\cf", "\\colortbl", ";", "\\red", "a", "\xC0", std::string(1, '\0')};
  for (int round = 0; round < 300; ++round) {
    std::string junk = "{\\rtf1";
    const int n = static_cast<int>(rng() % 400);
    for (int i = 0; i < n; ++i) {
      if (rng() % 2) junk += tokens[rng() % std::size(tokens)];
      else junk += static_cast<char>(rng() & 0xFF);
    }
    const std::optional<RtfContent> c = rtf_read(junk);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->text.find(u'\n'), std::u16string::npos);
    LONG covered = 0;
    for (const FormatRun& r : c->runs) {
      ASSERT_EQ(r.from, covered);
      ASSERT_LT(r.from, r.to);
      covered = r.to;
    }
    EXPECT_EQ(covered, static_cast<LONG>(c->text.size()));
  }
}

}  // namespace
