// platform/text.cpp - code page 1251 tables, conversions and case folding.
#include "platform/text.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// UTF-16 form of the bytes 0x80..0xFF of code page 1251. 0x98 has no character in the code page;
// it maps to the C1 control U+0098 so that the byte survives a round trip.
constexpr char16_t kHighHalf[128] = {
    // 0x80
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    // 0x90
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    // 0xA0
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    // 0xB0
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    // 0xC0..0xFF: А..я, U+0410..U+044F (filled below)
};

constexpr char16_t byte_to_unit(unsigned c) {
  if (c < 0x80) return static_cast<char16_t>(c);
  if (c >= 0xC0) return static_cast<char16_t>(0x0410 + (c - 0xC0));
  return kHighHalf[c - 0x80];
}

// Reverse map: the code page's characters above U+007F lie in three blocks. 0 = not representable
// (byte 0 only comes from U+0000, which never reaches these tables).
struct ReverseTable {
  unsigned char latin1[128];  // U+0080..U+00FF
  unsigned char cyrillic[256];  // U+0400..U+04FF
  unsigned char punct[512];   // U+2000..U+21FF
};

constexpr ReverseTable make_reverse() {
  ReverseTable t{};
  for (unsigned c = 0x80; c < 0x100; ++c) {
    const char16_t u = byte_to_unit(c);
    const auto b = static_cast<unsigned char>(c);
    if (u >= 0x0080 && u < 0x0100) t.latin1[u - 0x0080] = b;
    else if (u >= 0x0400 && u < 0x0500) t.cyrillic[u - 0x0400] = b;
    else if (u >= 0x2000 && u < 0x2200) t.punct[u - 0x2000] = b;
  }
  return t;
}

constexpr ReverseTable kReverse = make_reverse();

// The case pairs of the code page (upper, lower) outside the runs A-Z/a-z and А-Я/а-я.
constexpr unsigned char kCyrillicPairs[][2] = {
    {0x80, 0x90},  // Ђ ђ
    {0x81, 0x83},  // Ѓ ѓ
    {0x8A, 0x9A},  // Љ љ
    {0x8C, 0x9C},  // Њ њ
    {0x8D, 0x9D},  // Ќ ќ
    {0x8E, 0x9E},  // Ћ ћ
    {0x8F, 0x9F},  // Џ џ
    {0xA1, 0xA2},  // Ў ў
    {0xA3, 0xBC},  // Ј ј
    {0xA5, 0xB4},  // Ґ ґ
    {0xA8, 0xB8},  // Ё ё
    {0xAA, 0xBA},  // Є є
    {0xAF, 0xBF},  // Ї ї
    {0xB2, 0xB3},  // І і
    {0xBD, 0xBE},  // Ѕ ѕ
};

using cp1251_detail::CtypeTable;

constexpr void add_pair(CtypeTable& t, unsigned up, unsigned lo, unsigned char script) {
  using namespace cp1251_detail;
  t.cls[up] |= kAlpha | kUpper | script;
  t.cls[lo] |= kAlpha | kLower | script;
  t.lower[up] = static_cast<unsigned char>(lo);
  t.upper[lo] = static_cast<unsigned char>(up);
}

constexpr CtypeTable make_ctype(bool cyrillic) {
  using namespace cp1251_detail;
  CtypeTable t{};
  for (unsigned c = 0; c < 256; ++c) {
    t.lower[c] = t.upper[c] = static_cast<unsigned char>(c);
    if (c >= '0' && c <= '9') t.cls[c] |= kDigit;
    if (c == ' ' || (c >= '\t' && c <= '\r')) t.cls[c] |= kSpace;
  }
  for (unsigned i = 0; i < 26; ++i) add_pair(t, 'A' + i, 'a' + i, kLatin);
  if (cyrillic) {
    for (unsigned i = 0; i < 32; ++i) add_pair(t, 0xC0 + i, 0xE0 + i, kCyrillic);
    for (const auto& p : kCyrillicPairs) add_pair(t, p[0], p[1], kCyrillic);
  }
  return t;
}

constexpr CtypeTable kAsciiCtype = make_ctype(false);

// The UTF-8 form of every byte, for the direct CP1251 -> UTF-8 path.
struct Utf8Forms {
  char bytes[256][3];
  unsigned char len[256];
};

constexpr Utf8Forms make_utf8_forms() {
  Utf8Forms f{};
  for (unsigned c = 0; c < 256; ++c) {
    const unsigned u = byte_to_unit(c);
    if (u < 0x80) {
      f.bytes[c][0] = static_cast<char>(u);
      f.len[c] = 1;
    } else if (u < 0x800) {
      f.bytes[c][0] = static_cast<char>(0xC0 | (u >> 6));
      f.bytes[c][1] = static_cast<char>(0x80 | (u & 0x3F));
      f.len[c] = 2;
    } else {
      f.bytes[c][0] = static_cast<char>(0xE0 | (u >> 12));
      f.bytes[c][1] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      f.bytes[c][2] = static_cast<char>(0x80 | (u & 0x3F));
      f.len[c] = 3;
    }
  }
  return f;
}

constexpr Utf8Forms kUtf8Forms = make_utf8_forms();

constexpr char16_t kReplacement = 0xFFFD;

bool is_surrogate(char16_t u) { return u >= 0xD800 && u <= 0xDFFF; }
bool is_high_surrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low_surrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Decodes one well-formed UTF-8 sequence at s[i]: its length and code point, or 0 when the byte at
// s[i] does not start one (bad lead byte, missing or wrong continuation, overlong form, encoded
// surrogate, value above U+10FFFF).
size_t decode_utf8(std::string_view s, size_t i, char32_t& cp) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = byte(i);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  size_t len;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    if (b0 == 0xE0) lo = 0xA0;       // overlong
    else if (b0 == 0xED) hi = 0x9F;  // surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    if (b0 == 0xF0) lo = 0x90;       // overlong
    else if (b0 == 0xF4) hi = 0x8F;  // above U+10FFFF
  } else {
    return 0;  // continuation byte, C0/C1 (always overlong) or F5..FF
  }
  if (s.size() - i < len) return 0;
  const unsigned char b1 = byte(i + 1);
  if (b1 < lo || b1 > hi) return 0;
  char32_t v = (b0 & (0x7F >> len)) << 6 | (b1 & 0x3F);
  for (size_t k = 2; k < len; ++k) {
    const unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) return 0;
    v = v << 6 | (b & 0x3F);
  }
  cp = v;
  return len;
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool is_c_locale_name(std::string_view name) {
  while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t' || name.back() == '\r' || name.back() == '\n'))
    name.remove_suffix(1);
  return name == "C" || name == "POSIX";
}

}  // namespace

namespace cp1251_detail {
// Classes and folds with every CP1251 letter (the Bulgarian, code page 1251 locale).
constinit const CtypeTable full_ctype = make_ctype(true);
// Table of the current character-type locale (LOCALE option); the program starts Cyrillic.
constinit const CtypeTable* current_ctype = &full_ctype;
}  // namespace cp1251_detail

// ---- Conversions -------------------------------------------------------------------------------

char16_t cp1251_to_wchar(unsigned char c) { return byte_to_unit(c); }

bool wchar_to_cp1251(char16_t c, unsigned char& out) {
  unsigned char b;
  if (c < 0x80) {
    out = static_cast<unsigned char>(c);
    return true;
  }
  if (c < 0x100) b = kReverse.latin1[c - 0x80];
  else if (c >= 0x0400 && c < 0x0500) b = kReverse.cyrillic[c - 0x0400];
  else if (c >= 0x2000 && c < 0x2200) b = kReverse.punct[c - 0x2000];
  else return false;
  if (b == 0) return false;
  out = b;
  return true;
}

std::u16string cp1251_to_utf16(std::string_view s) {
  std::u16string out(s.size(), u'\0');
  // Eight bytes at a time when they are ASCII or the letters C0-FF (U+0410-U+044F in order); any
  // other block byte by byte through the table.
  using Bytes = std::uint8_t __attribute__((vector_size(8)));
  using Units = std::uint16_t __attribute__((vector_size(16)));
  constexpr size_t kBlock = 8;
  size_t i = 0;
  for (; i + kBlock <= s.size(); i += kBlock) {
    Bytes b;
    std::memcpy(&b, s.data() + i, sizeof b);
    const Bytes other = (b >= 0x80) & (b < 0xC0);
    std::uint64_t any;
    std::memcpy(&any, &other, sizeof any);
    if (any != 0) {
      for (size_t k = i; k < i + kBlock; ++k) out[k] = byte_to_unit(static_cast<unsigned char>(s[k]));
      continue;
    }
    const Units u = __builtin_convertvector(b, Units);
    const Units letters = __builtin_convertvector(b >= 0xC0, Units);  // lanes all ones or zero
    const Units units = u + (letters & (0x0410 - 0xC0));
    std::memcpy(out.data() + i, &units, sizeof units);
  }
  for (; i < s.size(); ++i) out[i] = byte_to_unit(static_cast<unsigned char>(s[i]));
  return out;
}

std::string utf16_to_cp1251(std::u16string_view s, char default_byte, bool* used_default) {
  std::string out(s.size(), '\0');
  bool used = false;
  auto one = [&](size_t i) {
    unsigned char b;
    if (wchar_to_cp1251(s[i], b)) {
      out[i] = static_cast<char>(b);
    } else {
      out[i] = default_byte;
      used = true;
    }
  };
  // Text of ASCII and the Russian-Bulgarian letters (U+0410-U+044F are bytes C0-FF in order) goes
  // eight units at a time; a block with any other unit goes through the table unit by unit.
  using Units = std::uint16_t __attribute__((vector_size(16)));
  using Bytes = std::uint8_t __attribute__((vector_size(8)));
  constexpr size_t kBlock = 8;
  size_t i = 0;
  for (; i + kBlock <= s.size(); i += kBlock) {
    Units u;
    std::memcpy(&u, s.data() + i, sizeof u);
    const Units high = u >= 0x80;  // each lane all ones or zero
    const Units other = high & ((u - 0x0410) >= 0x40);
    std::uint64_t halves[2];
    std::memcpy(halves, &other, sizeof halves);
    if ((halves[0] | halves[1]) != 0) {
      for (size_t k = 0; k < kBlock; ++k) one(i + k);
      continue;
    }
    const Bytes b = __builtin_convertvector(u - (high & (0x0410 - 0xC0)), Bytes);
    std::memcpy(out.data() + i, &b, sizeof b);
  }
  for (; i < s.size(); ++i) one(i);
  if (used_default) *used_default = used;
  return out;
}

std::string utf16_to_utf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t u = s[i];
    if (!is_surrogate(u)) {
      append_utf8(out, u);
    } else if (is_high_surrogate(u) && i + 1 < s.size() && is_low_surrogate(s[i + 1])) {
      append_utf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(s[i + 1]) - 0xDC00));
      ++i;
    } else {
      append_utf8(out, kReplacement);
    }
  }
  return out;
}

std::u16string utf8_to_utf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    char32_t cp;
    const size_t len = decode_utf8(s, i, cp);
    if (len == 0) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    if (cp < 0x10000) {
      out.push_back(static_cast<char16_t>(cp));
    } else {
      out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    }
    i += len;
  }
  return out;
}

std::string cp1251_to_utf8(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    out.append(kUtf8Forms.bytes[c], kUtf8Forms.len[c]);
  }
  return out;
}

std::string utf8_to_cp1251(std::string_view s, char default_byte, bool* used_default) {
  std::string out;
  out.reserve(s.size());
  bool used = false;
  for (size_t i = 0; i < s.size();) {
    char32_t cp;
    const size_t len = decode_utf8(s, i, cp);
    unsigned char b;
    if (len == 0) {  // a bad byte: one U+FFFD, which the code page lacks
      out.push_back(default_byte);
      used = true;
      ++i;
      continue;
    }
    if (cp >= 0x10000) {  // a surrogate pair in UTF-16: two units, two bytes
      out.append(2, default_byte);
      used = true;
    } else if (wchar_to_cp1251(static_cast<char16_t>(cp), b)) {
      out.push_back(static_cast<char>(b));
    } else {
      out.push_back(default_byte);
      used = true;
    }
    i += len;
  }
  if (used_default) *used_default = used;
  return out;
}

bool is_valid_utf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    char32_t cp;
    const size_t len = decode_utf8(s, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

// ---- Locale and CP1251 classes -----------------------------------------------------------------

void set_ctype_locale(std::string_view name) {
  cp1251_detail::current_ctype = is_c_locale_name(name) ? &kAsciiCtype : &cp1251_detail::full_ctype;
}

bool ctype_locale_is_cyrillic() { return cp1251_detail::current_ctype == &cp1251_detail::full_ctype; }

void reset_ctype_locale() { cp1251_detail::current_ctype = &cp1251_detail::full_ctype; }

int cp_strncasecmp(std::string_view a, std::string_view b, size_t n) {
  const unsigned char* lower = cp1251_detail::current_ctype->lower;
  const size_t la = a.size() < n ? a.size() : n;
  const size_t lb = b.size() < n ? b.size() : n;
  const size_t common = la < lb ? la : lb;
  for (size_t i = 0; i < common; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca == cb) continue;
    const int d = int(lower[ca]) - int(lower[cb]);
    if (d != 0) return d;
  }
  return la < lb ? -1 : (la > lb ? 1 : 0);
}

int cp_strcasecmp(std::string_view a, std::string_view b) { return cp_strncasecmp(a, b, std::string_view::npos); }

int cp_strcasecmp(const char* a, const char* b) {
  const unsigned char* lower = cp1251_detail::current_ctype->lower;
  const auto* pa = reinterpret_cast<const unsigned char*>(a ? a : "");
  const auto* pb = reinterpret_cast<const unsigned char*>(b ? b : "");
  for (;; ++pa, ++pb) {
    const int d = int(lower[*pa]) - int(lower[*pb]);
    if (d != 0 || *pa == 0) return d;
  }
}

void cp_strlwr(std::string& s) {
  const unsigned char* lower = cp1251_detail::current_ctype->lower;
  for (char& ch : s) ch = static_cast<char>(lower[static_cast<unsigned char>(ch)]);
}

void cp_strupr(std::string& s) {
  const unsigned char* upper = cp1251_detail::current_ctype->upper;
  for (char& ch : s) ch = static_cast<char>(upper[static_cast<unsigned char>(ch)]);
}

// ---- UTF-16 twins ------------------------------------------------------------------------------

namespace {

constexpr bool in(char16_t c, char16_t lo, char16_t hi) { return c >= lo && c <= hi; }

bool u16_upper_letter(char16_t c) {
  return in(c, u'A', u'Z') || (in(c, 0x00C0, 0x00DE) && c != 0x00D7) || c == 0x0178 || in(c, 0x0400, 0x042F) ||
         c == 0x0490;
}

bool u16_lower_letter(char16_t c) {
  return in(c, u'a', u'z') || (in(c, 0x00DF, 0x00FF) && c != 0x00F7) || in(c, 0x0430, 0x045F) || c == 0x0491;
}

}  // namespace

char16_t u16_tolower(char16_t c) {
  if (in(c, u'A', u'Z')) return c + 0x20;
  if (c < 0x00C0) return c;
  if (in(c, 0x00C0, 0x00DE) && c != 0x00D7) return c + 0x20;
  if (c == 0x0178) return 0x00FF;
  if (in(c, 0x0400, 0x040F)) return c + 0x50;
  if (in(c, 0x0410, 0x042F)) return c + 0x20;
  if (c == 0x0490) return 0x0491;
  return c;
}

char16_t u16_toupper(char16_t c) {
  if (in(c, u'a', u'z')) return c - 0x20;
  if (c < 0x00DF) return c;
  if (in(c, 0x00E0, 0x00FE) && c != 0x00F7) return c - 0x20;
  if (c == 0x00FF) return 0x0178;
  if (in(c, 0x0430, 0x044F)) return c - 0x20;
  if (in(c, 0x0450, 0x045F)) return c - 0x50;
  if (c == 0x0491) return 0x0490;
  return c;  // also ß, which has no single-unit capital
}

bool u16_isalpha(char16_t c) { return u16_upper_letter(c) || u16_lower_letter(c); }
bool u16_isalnum(char16_t c) { return u16_isalpha(c) || in(c, u'0', u'9'); }
bool u16_isupper(char16_t c) { return u16_upper_letter(c); }
bool u16_islower(char16_t c) { return u16_lower_letter(c); }

int u16_casecmp(std::u16string_view a, std::u16string_view b) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    if (a[i] == b[i]) continue;
    const int d = int(u16_tolower(a[i])) - int(u16_tolower(b[i]));
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}
