// shell/strings.h - text routines and comparators shared by every subsystem.
//
// 8-bit text is code page 1251; case-insensitive comparison and case mapping follow the
// character-type locale set at start from the option LOCALE (platform/text.h). A `W` suffix marks
// the UTF-16 twin of an 8-bit routine. Where the routines once filled fixed buffers, the buffer
// sizes remain as limits of behaviour (capitalize_all_first cuts to 511 characters,
// Get_Nth_TokenA to size - 1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct ListPair;
struct SentencePair;
struct GRecord;

// Letters of the word-boundary test of my_strcasestr_word (1 = Latin or Cyrillic letter of code
// page 1251), filled from the platform's letter classes when the program starts.
extern unsigned char ascii_latin_cyrillic[256];

// ---- Comparators ----------------------------------------------------------------------------
// Binary-search comparator of every sorted {key, rest} list: the key against the pair's key,
// case-insensitive under the locale; below, at or above 0.
int cmp_g(std::string_view key, const ListPair& p);
// Case-insensitive comparison of the first text fields of two records (list sorting).
int cmp_simple(const ListPair& a, const ListPair& b);
int cmp_simple(const SentencePair& a, const SentencePair& b);
// A text against a token-index group's name, case-sensitive (byte order).
int cmp_in_g(std::string_view key, const GRecord& g);
// Two token-index groups by name: in byte order / case-insensitive under the locale.
int cmp_g_strcmp_nm(const GRecord& a, const GRecord& b);
int cmp_g_strcasecmp_nm(const GRecord& a, const GRecord& b);

// ---- Tests on text ----------------------------------------------------------------------------
// Whether `c` is a character a number is written with: a digit or one of '-', '.', ',', ':' and
// the en dash (code 150).
inline bool number_char(unsigned char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ',' || c == ':' || c == 150;
}
// 1 when every character is a number's (number_char), else 0; an empty text gives 1.
int IsNumber(std::string_view text);
// 1 when the text holds only '0' to '9' and '-' (an empty text counts), else 0.
int IsDigitsOnly(std::string_view text);

// ---- Words and tokens -------------------------------------------------------------------------
// Copies the n-th (from 1) blank-separated word of the text into dest, cut to size - 1 characters;
// a word ends at a blank, a comma or the end of the text. Returns 1; when the text has fewer than
// n words (or n < 1), leaves dest empty and returns 0, and shows "Няма толкова думи в
// дефиницията. Опитайте пак." followed by the text under "Oops!" - once for each text until
// forget_told_word_counts (the lists are loaded again).
int Get_Nth_TokenA(int n, std::string_view text, std::string& dest, std::size_t size);
void forget_told_word_counts();
// One plus the number of runs of blanks or underscores in the text; runs at the start or the end
// of the text separate no words and do not count.
int GetWordCountA(std::string_view text);
// The number of word tokens of the text: runs of letters and digits, an apostrophe or hyphen
// between two of them joining the run. Also stored in *counter when given.
std::uint64_t get_token_count_in_string(std::string_view text, std::uint64_t* counter = nullptr);

// Whether the eight bytes of `x` are all ASCII letters (A-Z, a-z).
inline bool eight_ascii_letters(std::uint64_t x) {
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    const std::uint64_t small = x | 0x2020202020202020ULL;  // bytes below 0x80 stay below it
    // Each byte at least 'a' (plus 0x1F reaches 0x80) and at most 'z' (plus 5 stays below it).
    return (x & kHigh) == 0 && ((small + 0x1F1F1F1F1F1F1F1FULL) & kHigh) == kHigh &&
           ((small + 0x0505050505050505ULL) & kHigh) == 0;
}
// Offset of the first case-insensitive occurrence of `word` in `text` whose neighbours are not
// letters of ascii_latin_cyrillic (the start and end of the text count as boundaries), or npos.
// An empty word is never found.
std::size_t my_strcasestr_word(std::string_view text, std::string_view word);

// ---- Editing --------------------------------------------------------------------------------
// The text (cut to 511 characters) with its first character and the character two places after
// each '|' (the first letter of each " | "-separated alternative) raised to upper case.
std::string capitalize_all_first(std::string_view text);
// In place: drops leading blanks, collapses every run of blanks to one, drops one trailing blank.
void remove_extra_spaces(std::string& text);
void remove_extra_spacesW(std::u16string& text);
// In place: removes the leading spaces (0x20 only, not tabs); a text of spaces becomes empty.
void remove_leading_spaces(std::string& text);
// destination = source with every occurrence of `find` replaced by `replacement`; when there is
// none (or `find` is empty) the destination holds the source unchanged.
void replace_substring(std::string_view source, std::string& destination, std::string_view find,
                       std::string_view replacement);
// The UTF-16 twin, with its own contract: when there is no occurrence (or `find` is empty) the
// destination is left EMPTY; callers test it and fall back to the source.
void replace_substringW(std::u16string_view source, std::u16string& destination,
                        std::u16string_view find, std::u16string_view replacement);

// ---- Bytes and bits ---------------------------------------------------------------------------
// The byte as two upper-case hexadecimal digits followed by a NUL.
void ByteToHexLabel(unsigned char byte, char (&label)[3]);
// Bit n (from 1) of a byte string: byte (n - 1) / 8, bit (n - 1) % 8 from the least significant.
// A bit outside the string (or n = 0) is not written and reads as 0.
void set_bit_in_string(std::string& bits, std::uint64_t n);
int read_bit_in_string(std::string_view bits, std::uint64_t n);

// Removes the index and time-code lines of every block after the first, in place: each such block
// becomes a blank followed by its text lines. A block is recognised by the line holding " --> "
// that follows the empty line directly or after one index line; an empty line followed by anything
// else is kept as it is. The first block, which no empty line precedes, keeps its header.
void remove_time_code(std::string& text);
