// platform/text.h - code page 1251 <-> UTF-16 <-> UTF-8, and the CP1251 letter classes.
//
// 8-bit text is code page 1251 everywhere in the program; wide text is UTF-16. Every table here is
// our own, so the behaviour does not depend on the locales or converters a machine has installed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// ---- Conversions -------------------------------------------------------------------------------

// Byte -> UTF-16 unit. All 256 codes map; 0x98, undefined in CP1251, maps to U+0098 so that every
// byte survives a round trip.
char16_t cp1251_to_wchar(unsigned char c);
// UTF-16 unit -> byte; false (out untouched) when the code page has no such character.
bool wchar_to_cp1251(char16_t c, unsigned char& out);

std::u16string cp1251_to_utf16(std::string_view s);
// One byte per UTF-16 unit, so that 8-bit offsets equal UTF-16 offsets: unrepresentable units
// (a surrogate pair is two of them) become default_byte, and *used_default tells whether any did.
std::string utf16_to_cp1251(std::u16string_view s, char default_byte = '?', bool* used_default = nullptr);
// Lone surrogates become U+FFFD.
std::string utf16_to_utf8(std::u16string_view s);
// Each byte of an invalid, truncated or overlong sequence (and of an encoded surrogate) becomes
// U+FFFD. A UTF-8 byte order mark is kept as U+FEFF; callers strip it.
std::u16string utf8_to_utf16(std::string_view s);
std::string cp1251_to_utf8(std::string_view s);
// Same result as utf16_to_cp1251(utf8_to_utf16(s), ...): never longer than s.
std::string utf8_to_cp1251(std::string_view s, char default_byte = '?', bool* used_default = nullptr);
bool is_valid_utf8(std::string_view s);

// ---- Character-type locale and CP1251 letter classes --------------------------------------------

// The option LOCALE. "C" or "POSIX": only ASCII letters are letters and fold. Anything else ("" is
// the user's default, for this program Bulgarian code page 1251): every CP1251 letter, Cyrillic and
// Latin, is a letter and folds with its pair. The program starts in the Cyrillic state.
void set_ctype_locale(std::string_view name);
bool ctype_locale_is_cyrillic();
// Back to the start-up state (Cyrillic); test fixtures call it.
void reset_ctype_locale();

// Tables behind the inline class functions below; not for direct use.
namespace cp1251_detail {
enum : unsigned char {
  kAlpha = 0x01, kUpper = 0x02, kLower = 0x04, kDigit = 0x08, kSpace = 0x10, kCyrillic = 0x20, kLatin = 0x40
};
struct CtypeTable {
  unsigned char cls[256];    // class bits of each byte
  unsigned char lower[256];  // lower-case form of each byte (identity for non-letters)
  unsigned char upper[256];  // upper-case form of each byte
};
extern const CtypeTable full_ctype;     // every CP1251 letter is a letter (the Cyrillic locale)
extern const CtypeTable* current_ctype; // the table of the current LOCALE: &full_ctype or the ASCII one
}  // namespace cp1251_detail

// Classes and case mapping under the current locale.
inline bool cp_isalpha(unsigned char c) { return cp1251_detail::current_ctype->cls[c] & cp1251_detail::kAlpha; }
inline bool cp_isupper(unsigned char c) { return cp1251_detail::current_ctype->cls[c] & cp1251_detail::kUpper; }
inline bool cp_islower(unsigned char c) { return cp1251_detail::current_ctype->cls[c] & cp1251_detail::kLower; }
inline bool cp_isdigit(unsigned char c) { return c >= '0' && c <= '9'; }
inline bool cp_isalnum(unsigned char c) { return cp_isalpha(c) || cp_isdigit(c); }
// Blank, TAB, LF, VT, FF and CR (the no-break space 0xA0 is not a space for any locale).
inline bool cp_isspace(unsigned char c) { return cp1251_detail::full_ctype.cls[c] & cp1251_detail::kSpace; }
inline unsigned char cp_toupper(unsigned char c) { return cp1251_detail::current_ctype->upper[c]; }
inline unsigned char cp_tolower(unsigned char c) { return cp1251_detail::current_ctype->lower[c]; }

// Locale-independent classes (always the full CP1251 tables).
inline bool cp_iscyrillic(unsigned char c) { return cp1251_detail::full_ctype.cls[c] & cp1251_detail::kCyrillic; }
inline bool cp_islatin(unsigned char c) { return cp1251_detail::full_ctype.cls[c] & cp1251_detail::kLatin; }
inline unsigned char cp_fold_lower(unsigned char c) { return cp1251_detail::full_ctype.lower[c]; }
inline unsigned char cp_fold_upper(unsigned char c) { return cp1251_detail::full_ctype.upper[c]; }

// strcasecmp-style comparison under the current locale's folding (to lower case). The sign orders
// by the folded bytes as unsigned values, so Cyrillic sorts after Latin on every machine; a string
// that is a prefix of the other sorts first. Views may hold NUL bytes, which compare as bytes.
int cp_strcasecmp(std::string_view a, std::string_view b);
// At most the first n bytes of each.
int cp_strncasecmp(std::string_view a, std::string_view b, size_t n);
// NUL-terminated strings; a null pointer compares as "".
int cp_strcasecmp(const char* a, const char* b);
// Case-map in place under the current locale.
void cp_strlwr(std::string& s);
void cp_strupr(std::string& s);

// ---- UTF-16 twins ------------------------------------------------------------------------------
// Letters and case pairs of Latin (A-Z), Latin-1 (U+00C0..U+00FF; y with diaeresis pairs with
// U+0178) and Cyrillic (U+0400..U+045F, U+0490/U+0491); identity and "not a letter" elsewhere.
// They do not depend on the locale.
char16_t u16_tolower(char16_t c);
char16_t u16_toupper(char16_t c);
bool u16_isalpha(char16_t c);
bool u16_isalnum(char16_t c);
bool u16_isupper(char16_t c);
bool u16_islower(char16_t c);
// Compares the u16_tolower forms as unsigned UTF-16 units; a prefix sorts first.
int u16_casecmp(std::u16string_view a, std::u16string_view b);
