// Tests of the text layer: CP1251 / UTF-16 / UTF-8 conversion, letter classes and comparisons.
#include "platform/text.h"
#include "platform/text_literal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_ctype_locale(); }
  void TearDown() override { reset_ctype_locale(); }
};

std::string all_bytes() {
  std::string s;
  for (int c = 0; c < 256; ++c) s.push_back(static_cast<char>(c));
  return s;
}

// The case pairs of CP1251 (upper, lower), all written as UTF-8 so the table checks the code page.
const std::vector<std::pair<std::string, std::string>> kCyrillicPairs = {
    {"Ђ", "ђ"}, {"Ѓ", "ѓ"}, {"Љ", "љ"}, {"Њ", "њ"}, {"Ќ", "ќ"}, {"Ћ", "ћ"}, {"Џ", "џ"}, {"Ў", "ў"},
    {"Ј", "ј"}, {"Ґ", "ґ"}, {"Ё", "ё"}, {"Є", "є"}, {"Ї", "ї"}, {"І", "і"}, {"Ѕ", "ѕ"}, {"А", "а"},
    {"Б", "б"}, {"В", "в"}, {"Г", "г"}, {"Д", "д"}, {"Е", "е"}, {"Ж", "ж"}, {"З", "з"}, {"И", "и"},
    {"Й", "й"}, {"К", "к"}, {"Л", "л"}, {"М", "м"}, {"Н", "н"}, {"О", "о"}, {"П", "п"}, {"Р", "р"},
    {"С", "с"}, {"Т", "т"}, {"У", "у"}, {"Ф", "ф"}, {"Х", "х"}, {"Ц", "ц"}, {"Ч", "ч"}, {"Ш", "ш"},
    {"Щ", "щ"}, {"Ъ", "ъ"}, {"Ы", "ы"}, {"Ь", "ь"}, {"Э", "э"}, {"Ю", "ю"}, {"Я", "я"}};

unsigned char cp(const std::string& utf8) {
  bool used = false;
  const std::string b = utf8_to_cp1251(utf8, '?', &used);
  EXPECT_FALSE(used) << utf8;
  EXPECT_EQ(b.size(), 1u) << utf8;
  return b.empty() ? 0 : static_cast<unsigned char>(b[0]);
}

std::string w(const char* utf8) { return utf8_to_cp1251(utf8); }

TEST_F(TextTest, AllBytesRoundTripThroughUtf16AndUtf8) {
  const std::string bytes = all_bytes();
  const std::u16string wide = cp1251_to_utf16(bytes);
  ASSERT_EQ(wide.size(), 256u);
  bool used = true;
  EXPECT_EQ(utf16_to_cp1251(wide, '?', &used), bytes);
  EXPECT_FALSE(used);
  const std::string utf8 = cp1251_to_utf8(bytes);
  EXPECT_TRUE(is_valid_utf8(utf8));
  EXPECT_EQ(utf8_to_cp1251(utf8, '?', &used), bytes);
  EXPECT_FALSE(used);
  EXPECT_EQ(utf8_to_utf16(utf8), wide);
  EXPECT_EQ(utf16_to_utf8(wide), utf8);
  // The unit functions agree with the string ones, and every byte maps to a distinct character.
  for (int c = 0; c < 256; ++c) {
    const char16_t u = cp1251_to_wchar(static_cast<unsigned char>(c));
    EXPECT_EQ(u, wide[c]);
    unsigned char back = 0;
    ASSERT_TRUE(wchar_to_cp1251(u, back)) << c;
    EXPECT_EQ(back, c);
  }
}

TEST_F(TextTest, KnownCodePoints) {
  EXPECT_EQ(cp1251_to_wchar(0xC0), u'А');
  EXPECT_EQ(cp1251_to_wchar(0xFF), u'я');
  EXPECT_EQ(cp1251_to_wchar(0xA8), u'Ё');
  EXPECT_EQ(cp1251_to_wchar(0xB8), u'ё');
  EXPECT_EQ(cp1251_to_wchar(0x84), u'„');
  EXPECT_EQ(cp1251_to_wchar(0x85), u'…');
  EXPECT_EQ(cp1251_to_wchar(0x88), u'€');
  EXPECT_EQ(cp1251_to_wchar(0x93), u'“');
  EXPECT_EQ(cp1251_to_wchar(0x94), u'”');
  EXPECT_EQ(cp1251_to_wchar(0x95), u'•');
  EXPECT_EQ(cp1251_to_wchar(0x96), u'–');
  EXPECT_EQ(cp1251_to_wchar(0x97), u'—');
  EXPECT_EQ(cp1251_to_wchar(0x98), u'\u0098');
  EXPECT_EQ(cp1251_to_wchar(0xA0), u'\u00A0');
  EXPECT_EQ(cp1251_to_wchar(0xAD), u'\u00AD');
  EXPECT_EQ(cp1251_to_wchar(0xB9), u'№');
  EXPECT_EQ(cp1251_to_utf8("\xC1\xFA\xEB\xE3\xE0\xF0\xE8\xFF"), "България");
  EXPECT_EQ(w("България"), "\xC1\xFA\xEB\xE3\xE0\xF0\xE8\xFF");
}

TEST_F(TextTest, UnrepresentableCharactersBecomeTheDefaultByte) {
  bool used = false;
  // Greek alpha and the Latin-1 e-acute are not in the code page.
  EXPECT_EQ(utf16_to_cp1251(u"a\u03B1\u00E9\u0416", 6, &used), "a\x06\x06\xC6");
  EXPECT_TRUE(used);
  EXPECT_EQ(utf8_to_cp1251("x\xCE\xB1y", '#', &used), "x#y");
  EXPECT_TRUE(used);
  EXPECT_EQ(utf16_to_cp1251(u"plain", 6, &used), "plain");
  EXPECT_FALSE(used);
  unsigned char out = 0x55;
  EXPECT_FALSE(wchar_to_cp1251(0x03B1, out));
  EXPECT_FALSE(wchar_to_cp1251(0x0081, out));  // a C1 control other than U+0098
  EXPECT_EQ(out, 0x55);
  // NUL inside the text and byte 6 pass through unchanged.
  const std::string with_nul("a\0\x06\xE0", 4);
  EXPECT_EQ(cp1251_to_utf16(with_nul), std::u16string(u"a\0\u0006а", 4));
  EXPECT_EQ(utf16_to_cp1251(cp1251_to_utf16(with_nul)), with_nul);
  EXPECT_EQ(utf8_to_cp1251(cp1251_to_utf8(with_nul)), with_nul);
}

TEST_F(TextTest, CharactersOutsideTheBmp) {
  const std::string utf8 = "a\xF0\x9F\x98\x80z";  // U+1F600
  const std::u16string wide = utf8_to_utf16(utf8);
  EXPECT_EQ(wide, u"a\U0001F600z");
  ASSERT_EQ(wide.size(), 4u);
  EXPECT_EQ(utf16_to_utf8(wide), utf8);
  // One default byte per UTF-16 unit, so 8-bit offsets equal UTF-16 offsets.
  bool used = false;
  EXPECT_EQ(utf16_to_cp1251(wide, 6, &used), "a\x06\x06z");
  EXPECT_TRUE(used);
  EXPECT_EQ(utf8_to_cp1251(utf8, 6), "a\x06\x06z");
  EXPECT_TRUE(is_valid_utf8(utf8));
  EXPECT_EQ(utf8_to_utf16("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
}

TEST_F(TextTest, LoneSurrogates) {
  const std::u16string lone = {u'a', 0xD800, u'b', 0xDC00, 0xDBFF};
  EXPECT_EQ(utf16_to_utf8(lone), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(utf16_to_cp1251(lone, '?'), "a?b??");
  // A low surrogate before a high one is not a pair.
  EXPECT_EQ(utf16_to_utf8(std::u16string{0xDC00, 0xD800}), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST_F(TextTest, InvalidUtf8GivesOneReplacementPerBadByte) {
  struct Case {
    std::string in;
    std::u16string out;
  };
  const Case cases[] = {
      {"\x80", u"\uFFFD"},                               // stray continuation byte
      {"a\xC3", u"a\uFFFD"},                             // truncated at the end
      {"\xE2\x82z", u"\uFFFD\uFFFDz"},                   // truncated in the middle
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // overlong '/'
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},           // overlong, three bytes
      {"\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // overlong, four bytes
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
      {"\xFF\xFE", u"\uFFFD\uFFFD"},
      {"\xD0\x96", u"Ж"},                                // valid, for contrast
  };
  for (const auto& c : cases) {
    EXPECT_EQ(utf8_to_utf16(c.in), c.out) << testing::PrintToString(c.in);
    EXPECT_EQ(is_valid_utf8(c.in), c.out.find(u'\uFFFD') == std::u16string::npos);
    // The 8-bit result is never longer than the source.
    EXPECT_LE(utf8_to_cp1251(c.in, 6).size(), c.in.size());
  }
  EXPECT_EQ(utf8_to_cp1251("\xE2\x82z", 6), "\x06\x06z");
  // A byte order mark is kept for the caller to strip.
  EXPECT_EQ(utf8_to_utf16("\xEF\xBB\xBFok"), u"\uFEFFok");
}

TEST_F(TextTest, AsciiAndCyrillicLettersConvertInLongRuns) {
  std::u16string wide;
  std::string expected;
  for (char16_t c = 0; c < 0x80; ++c) wide += c, expected += static_cast<char>(c);
  for (int k = 0; k < 0x40; ++k) wide += static_cast<char16_t>(0x410 + k), expected += static_cast<char>(0xC0 + k);
  // Other units among them: a long dash, a unit 1251 lacks, the letters beside the run.
  wide += u"—αЏѐЁёabcЖ";
  expected += "\x97\x06\x8F\x06\xA8\xB8" "abc\xC6";
  bool used = false;
  EXPECT_EQ(utf16_to_cp1251(wide, 6, &used), expected);
  EXPECT_TRUE(used);
  EXPECT_EQ(cp1251_to_utf16(expected.substr(0, 0xC0 + 4)), wide.substr(0, 0xC0) + u"\u2014\u0006\u040F\u0006");
}

TEST_F(TextTest, LongTextConverts) {
  std::string big(10 * 1024 * 1024, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + 1);
  const std::u16string wide = cp1251_to_utf16(big);
  ASSERT_EQ(wide.size(), big.size());
  EXPECT_EQ(utf16_to_cp1251(wide), big);
  const std::string utf8 = utf16_to_utf8(wide);
  EXPECT_EQ(utf8, cp1251_to_utf8(big));
  EXPECT_EQ(utf8_to_cp1251(utf8), big);
}

TEST_F(TextTest, EveryLetterFoldsWithItsPair) {
  ASSERT_TRUE(ctype_locale_is_cyrillic());
  std::vector<bool> paired(256, false);
  auto check = [&](unsigned char up, unsigned char lo) {
    EXPECT_TRUE(cp_isalpha(up) && cp_isupper(up) && !cp_islower(up)) << int(up);
    EXPECT_TRUE(cp_isalpha(lo) && cp_islower(lo) && !cp_isupper(lo)) << int(lo);
    EXPECT_EQ(cp_tolower(up), lo);
    EXPECT_EQ(cp_toupper(lo), up);
    EXPECT_EQ(cp_tolower(lo), lo);
    EXPECT_EQ(cp_toupper(up), up);
    EXPECT_EQ(cp_fold_lower(up), lo);
    EXPECT_EQ(cp_fold_upper(lo), up);
    // The UTF-16 twins agree with the code page.
    EXPECT_EQ(u16_tolower(cp1251_to_wchar(up)), cp1251_to_wchar(lo));
    EXPECT_EQ(u16_toupper(cp1251_to_wchar(lo)), cp1251_to_wchar(up));
    EXPECT_TRUE(u16_isupper(cp1251_to_wchar(up)) && u16_islower(cp1251_to_wchar(lo)));
    paired[up] = paired[lo] = true;
  };
  for (const auto& [up, lo] : kCyrillicPairs) {
    check(cp(up), cp(lo));
    EXPECT_TRUE(cp_iscyrillic(cp(up)) && cp_iscyrillic(cp(lo)));
    EXPECT_FALSE(cp_islatin(cp(up)));
  }
  for (unsigned char c = 'A'; c <= 'Z'; ++c) {
    check(c, c + 32);
    EXPECT_TRUE(cp_islatin(c) && cp_islatin(c + 32) && !cp_iscyrillic(c));
  }
  // Nothing else is a letter or changes case: digits, punctuation, №, µ, the no-break space...
  for (int c = 0; c < 256; ++c) {
    if (paired[c]) continue;
    EXPECT_FALSE(cp_isalpha(c) || cp_iscyrillic(c) || cp_islatin(c)) << c;
    EXPECT_EQ(cp_tolower(c), c);
    EXPECT_EQ(cp_toupper(c), c);
  }
  EXPECT_TRUE(cp_isalnum('7') && cp_isdigit('7') && !cp_isalpha('7'));
  EXPECT_TRUE(cp_isspace(' ') && cp_isspace('\r') && !cp_isspace(0xA0) && !cp_isspace(6));
  std::string s = w("Ёжик ЯМА Qx Ўґ");
  cp_strlwr(s);
  EXPECT_EQ(s, w("ёжик яма qx ўґ"));
  cp_strupr(s);
  EXPECT_EQ(s, w("ЁЖИК ЯМА QX ЎҐ"));
}

TEST_F(TextTest, CLocaleFoldsOnlyAscii) {
  for (const char* name : {"C", "POSIX"}) {
    set_ctype_locale(name);
    EXPECT_FALSE(ctype_locale_is_cyrillic());
    EXPECT_FALSE(cp_isalpha(0xC0));
    EXPECT_FALSE(cp_isupper(0xA8));
    EXPECT_EQ(cp_tolower(0xC0), 0xC0);
    EXPECT_EQ(cp_toupper(0xB8), 0xB8);
    EXPECT_EQ(cp_tolower('Q'), 'q');
    EXPECT_NE(cp_strcasecmp(w("Дума"), w("дума")), 0);
    EXPECT_EQ(cp_strcasecmp("Word", "wORD"), 0);
    // The locale-independent classes stay full.
    EXPECT_TRUE(cp_iscyrillic(0xC0));
    EXPECT_EQ(cp_fold_lower(0xA8), 0xB8);
  }
  for (const char* name : {"", "Bulgarian", "bg_BG.CP1251", "Cyrillic"}) {
    set_ctype_locale(name);
    EXPECT_TRUE(ctype_locale_is_cyrillic()) << name;
    EXPECT_EQ(cp_strcasecmp(w("Дума"), w("дума")), 0);
  }
}

TEST_F(TextTest, ComparisonsFoldAndOrderByFoldedBytes) {
  EXPECT_EQ(cp_strcasecmp(w("ЁЖ"), w("ёж")), 0);
  EXPECT_EQ(cp_strcasecmp(w("ЁЖ").c_str(), w("ёж").c_str()), 0);
  EXPECT_LT(cp_strcasecmp(w("Ябълка"), w("ябълкаи")), 0);  // a prefix sorts first
  EXPECT_GT(cp_strcasecmp(w("ябълкаи").c_str(), w("ЯБЪЛКА").c_str()), 0);
  EXPECT_LT(cp_strcasecmp("Zebra", w("анкета")), 0);  // Latin before Cyrillic
  EXPECT_LT(cp_strcasecmp(w("Б"), w("в")), 0);
  EXPECT_GT(cp_strcasecmp(w("в"), w("Б")), 0);
  EXPECT_LT(cp_strcasecmp("abc_", "ABCa"), 0);  // folded to lower case: '_' < 'a'
  EXPECT_EQ(cp_strcasecmp(nullptr, ""), 0);
  EXPECT_LT(cp_strcasecmp(nullptr, "a"), 0);
  EXPECT_GT(cp_strcasecmp("a", nullptr), 0);
  // Views compare NUL bytes as bytes.
  EXPECT_GT(cp_strcasecmp(std::string_view("a\0B", 3), std::string_view("A\0", 2)), 0);
  EXPECT_EQ(cp_strcasecmp(std::string_view("a\0B", 3), std::string_view("A\0b", 3)), 0);
  EXPECT_EQ(cp_strncasecmp(w("ДОМове"), w("домАКИН"), 3), 0);
  EXPECT_GT(cp_strncasecmp(w("ДОМове"), w("домАКИН"), 4), 0);  // в after а
  EXPECT_EQ(cp_strncasecmp("ab", "AB", 10), 0);
  EXPECT_EQ(cp_strncasecmp("x", "y", 0), 0);
}

TEST_F(TextTest, SortingMixedCaseCyrillicIsStable) {
  std::vector<std::string> words;
  for (const char* s : {"ябълка", "Ябълка", "ЁЖ", "ёжик", "агне", "Агнешко", "АГНЕ", "ъгъл", "Ъгъл", "щука", "Цар",
                        "цар", "ІВАН", "іван", "Ўжо", "ўж", "жаба", "Жаба", "mouse", "Mouse", "Zoo", "ЮГ", "юг"})
    words.push_back(w(s));
  const auto less = [](const std::string& a, const std::string& b) {
    const int d = cp_strcasecmp(a, b);
    return d != 0 ? d < 0 : a < b;  // ties broken by bytes for a total order
  };
  std::vector<std::string> first;
  std::mt19937 rng(12345);
  for (int round = 0; round < 8; ++round) {
    std::shuffle(words.begin(), words.end(), rng);
    std::vector<std::string> sorted = words;
    std::sort(sorted.begin(), sorted.end(), less);
    if (round == 0) first = sorted;
    else EXPECT_EQ(sorted, first) << "round " << round;
  }
  for (size_t i = 1; i < first.size(); ++i) EXPECT_LE(cp_strcasecmp(first[i - 1], first[i]), 0);
  // Case variants sit next to each other and compare equal; Latin comes first, then the letters
  // of 0xA1..0xBF (Ў, ё, і), then А..я.
  EXPECT_EQ(cp_strcasecmp(first[0], "mouse"), 0);
  EXPECT_EQ(cp_strcasecmp(first[1], "MOUSE"), 0);
  EXPECT_EQ(first[2], "Zoo");
  EXPECT_EQ(cp_strcasecmp(first.back(), w("ЯБЪЛКА")), 0);
  const auto agne = std::find(first.begin(), first.end(), w("агне"));
  ASSERT_NE(agne, first.end());
  EXPECT_TRUE(*std::next(agne) == w("АГНЕ") || *std::prev(agne) == w("АГНЕ"));
}

TEST_F(TextTest, Utf16Twins) {
  EXPECT_EQ(u16_tolower(u'Ä'), u'ä');
  EXPECT_EQ(u16_toupper(u'é'), u'É');
  EXPECT_EQ(u16_toupper(u'ÿ'), u'\u0178');
  EXPECT_EQ(u16_toupper(u'ß'), u'ß');
  EXPECT_EQ(u16_tolower(u'×'), u'×');
  EXPECT_EQ(u16_tolower(u'Ѐ'), u'ѐ');  // U+0400, outside CP1251
  EXPECT_EQ(u16_tolower(u'α'), u'α');
  EXPECT_FALSE(u16_isalpha(u'÷') || u16_isalpha(u'α') || u16_isalpha(u'1'));
  EXPECT_TRUE(u16_isalnum(u'1') && u16_isalnum(u'ж') && u16_isalpha(u'ß'));
  EXPECT_EQ(u16_casecmp(u"ЁЖИК", u"ёжик"), 0);
  EXPECT_LT(u16_casecmp(u"Zoo", u"агне"), 0);
  EXPECT_LT(u16_casecmp(u"Агне", u"агнешко"), 0);
  EXPECT_GT(u16_casecmp(u"Б", u"а"), 0);
}

}  // namespace

// The compiler's conversion of UTF-8 literals gives the bytes the run-time conversion gives, as a
// NUL-terminated text that outlives the expression; equal literals share their bytes.
TEST_F(TextTest, Cp1251LiteralsMatchTheRunTimeConversion) {
    const std::pair<std::string_view, std::string_view> table[] = {
        {"книга"_cp, "книга"},
        {"Най-"_cp, "Най-"},
        {"абвгдежзийклмнопрстуфхцчшщъыьэюя"_cp, "абвгдежзийклмнопрстуфхцчшщъыьэюя"},
        {"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯЁё"_cp, "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯЁё"},
        {"„“”‘’–—…«»§©°±"_cp, "„“”‘’–—…«»§©°±"},
        {"plain ASCII\r\n"_cp, "plain ASCII\r\n"},
        {""_cp, ""},
    };
    for (const auto& [literal, utf8] : table) EXPECT_EQ(std::string(literal), utf8_to_cp1251(utf8)) << utf8;
    constexpr char ya = "я"_cp[0];
    EXPECT_EQ(static_cast<unsigned char>(ya), 0xFF);
    const char* c = "дума"_cp.c_str();
    EXPECT_EQ(std::string(c), utf8_to_cp1251("дума"));  // NUL-terminated, still there
    EXPECT_EQ("дума"_cp.data(), c);
    EXPECT_EQ("дума"_cp.size(), 4u);
}
