// engine/tokeniser.h - cuts the 8-bit copy of a panel's text into a token store (store 1 for the
// engine's runs, store 2 for the Bulgarian-text pass).
//
// One left-to-right scan over text8 (code page 1251, leading blanks already removed): each step
// collects a gap (the non-token characters before the next token, markup tags of one character
// included), cuts the token by the rules of the character classes (letters, digits, apostrophes
// and hyphens, inner punctuation, a final dot kept only for known abbreviations), moves leading
// and trailing apostrophes and hyphens to the gaps where they belong, and commits the record
// {token, gap, position} to store 1. The caller reports the record while its token stands
// NUL-ended in text8, then releases it and asks for the next one.
//
// Character classes come from lexicon/tables.h (ascii_valid, ascii_aposhyp, ascii_apos,
// ascii_punct, the letter classes), read once when a scan begins. A final dot is kept when the
// token with the dot is a key of `b_en-bg` or `wl_english2` (Latin tokens), or of `b_bulgarian`
// (Cyrillic tokens), or when the token is a year such as 1999г.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/token_store.h"

// Class counts of a token.
struct TokenCounts {
    std::uint32_t cyr = 0;        // Cyrillic letters (ascii_cyrillic)
    std::uint32_t cyr_upper = 0;  // of which upper case (ascii_cyrillic_upper)
    std::uint32_t cyr_lower = 0;  // of which lower case (ascii_cyrillic_lower)
    std::uint32_t lat_upper = 0;  // Latin capitals
    std::uint32_t lat_lower = 0;  // Latin small letters
    std::uint32_t digits = 0;     // 0-9
    std::uint32_t apos = 0;       // apostrophes (ascii_apos)
    std::uint32_t hyphens = 0;    // '-'
    std::uint32_t dots = 0;       // inner dots (a dot followed by a token character)
    std::uint32_t commas = 0;     // commas between two digits
};

// The record just cut, as the per-token report sees it.
struct TokenScan {
    SenToken* rec = nullptr;        // the committed record of store 1 (text: the token as written)
    char* token = nullptr;          // the token in text8, NUL-ended until released (look-up form)
    std::size_t len = 0;            // its length
    std::int32_t pos = 0;           // its offset in the panel
    TokenCounts n;                  // class counts
    bool has_apos = false;          // the token holds an apostrophe
    bool has_aposhyp = false;       // the token holds an apostrophe or a hyphen
    bool final_dot = false;         // the token ends in a dot it kept (abbreviation, year)
    unsigned char apos_replaced = 0;  // the typographic apostrophe written as "'" in text8 (0: none)
    std::size_t apos_at = 0;        // its offset in the token
};

// The state of one scan.
struct Tokeniser {
    TokenStore* store = &store1;    // the store the records go to
    std::string* text = nullptr;    // text8
    std::size_t n = 0;              // its length
    std::size_t cur = 0;            // where the next gap begins
    std::int32_t lead = 0;          // leading blanks removed from text8 (added to every pos)
    std::size_t saved_at = 0;       // where the token's end was NUL-ed
    char saved = 0;                 // the character that stood there
    bool holding = false;           // a token is NUL-ended in text8
    bool soft_hyphen_shown = false; // the soft-hyphen message was shown in this scan (or is not to be)
    bool full = false;              // the store reached MAX_WORDS_IN_FILE
    std::uint16_t cls[256] = {};    // character classes of this scan
    TokenScan last;                 // the record just cut
};

// What a scan warns of: the engine's runs show the soft-hyphen message once, the Bulgarian-text
// pass none.
enum class SoftHyphenWarning { Once, Never };

// Begins a scan of text8 into `store` (which the caller has reset). NUL bytes of the text become
// byte 6, as a character that code page 1251 cannot show, so that the NUL-ended records and the
// text stay in step. The character classes are read now: the caller takes the quotation marks
// out of the token characters first (QuotesOutOfTokens).
void tok_begin(Tokeniser& t, std::string& text8, std::int32_t lead, TokenStore& store = store1,
               SoftHyphenWarning warn = SoftHyphenWarning::Once);
// Cuts and commits the next record: 1 done (t.last describes it; the token is NUL-ended in text8
// until tok_release), 0 the text has ended, -1 the store is full (nothing was committed; the
// "MAX_WORDS_IN_FILE" message was shown, the first time for this value of the option). After 0 or
// -1 t.last describes no record.
int tok_next(Tokeniser& t);
// Puts back the character saved at the end of the last token.
void tok_release(Tokeniser& t);
// Writes the store's sentinel records after the last record: pos = the end of the text.
void tok_finish(Tokeniser& t);

// Takes the three typographic quotation marks „ “ ” out of the token characters for a scan and
// gives each its own value back at the end (restore, or the end of the object's life).
class QuotesOutOfTokens {
public:
    QuotesOutOfTokens();
    ~QuotesOutOfTokens() { restore(); }
    QuotesOutOfTokens(const QuotesOutOfTokens&) = delete;
    QuotesOutOfTokens& operator=(const QuotesOutOfTokens&) = delete;
    void restore();

private:
    unsigned char saved_[3] = {};
    bool done_ = false;
};

// The whole scan without report (benchmarks and store readers): resets store 1, cuts text8 into
// it and seals it. Returns the number of records.
std::size_t tokenise_text(std::string& text8, std::int32_t lead);

// The message of a full store (MAX_WORDS_IN_FILE = n), with its CR LF: the run stops there and
// the program goes on.
std::string max_words_message(std::int32_t n);
// Shows that message under "Oops!" (owner the main window), once per value of the option for the
// life of the program, so that a small limit does not bring a box at every look-up.
void show_max_words_message(std::size_t n);
// Forgets the dot keys and the message shown (test fixtures).
void reset_tokeniser();
// The soft-hyphen warning shown once per run.
extern const std::u16string_view kSoftHyphenMessage;

// Look-ups of the final-dot and leading-apostrophe rules: a Latin token with its dot (or an
// apostrophe and a token) among the keys of `b_en-bg` or `wl_english2`; a Cyrillic token with its
// dot among the keys of `b_bulgarian`.
bool is_english_key(std::string_view key);
bool is_bulgarian_key(std::string_view key);
// Drops what the look-ups keep of the lists (the keys ending in a dot); they are read again at
// the next look-up.
void forget_dot_keys();
