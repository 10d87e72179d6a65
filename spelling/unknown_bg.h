// spelling/unknown_bg.h - the report text of a Bulgarian (Cyrillic) token.
//
// get_lensug decides what the report says after a Bulgarian token, trying in order: every word
// treated as unknown (TREAT_AS_UNKNOWN); the curated lists (misspelling, misspelling_fast,
// dialect, synonym, risk; their corrections capitalised for a capitalised word); the user's own
// and the new words; b_bulgarian (rank and analysis, unless ALLWAYS_SUGGEST); words glued by a
// dot, mark or comma; Latin look-alike letters and digits typed for Cyrillic letters; numbers
// glued to words; capitalised words (not checked unless SPELL_UPPERCASE); the prefixes "най-" and
// "по-"; and last the suggestions of spellcheck_bg. The first rule that writes a text decides. A
// token that cannot be a word (a control character; a character that is no Cyrillic or Latin
// letter, digit, apostrophe, hyphen or joining mark and that no word of b_bulgarian holds; two
// characters no word of it holds, which no one edit mends) gets no suggestion search:
// " -> no suggestions".
//
// Colours (COLORREF): gl_col_nosug no suggestion; 0xCDCDCD every word treated as unknown; 0xFF552A
// correction list; 0xFF5555 dialect; 0xFF2A55 better or risky word; 0x7F00 suggestions, split or
// joined forms; 0x20C000 look-alike letters or digits repaired.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Working copies of a word hold at most this many characters; a longer word is judged by its head.
inline constexpr std::size_t kBgWordMax = 1'023;

// What the report says after a Bulgarian token.
struct BgReport {
    std::string text;                   // the report text (8-bit)
    std::uint32_t colour = 0x080808;    // its colour: gl_col_nosug unless a rule says otherwise
    std::uint8_t has_latin = 0;         // the word holds Latin letters
    std::uint8_t known = 0;             // found as a correct word (custom, new, b_bulgarian, a correct
                                        // second part, a known word after "най-"/"по-" or their joined form)
    std::uint8_t upper_skipped = 0;     // a capitalised word was not checked
    std::uint8_t own = 0;               // in the custom or the new list
    std::optional<std::string> rank;    // the rest of the word's b_bulgarian entry ("" without rank
                                        // text) when the word was found there
    bool ran_generator = false;         // the suggestion generator was asked (the costly part)
};

// The report of `word` (8-bit). Without `suggestions` the text is not wanted: the last resort (the generator's suggestions for a
// word no rule accepts or repairs), a b_bulgarian word's analysis and the repairs of a word with
// Latin letters or digits (unless a number with a correct second part) are not asked, and the
// text stays empty there; every flag and the rank are as with it.
BgReport get_lensug(std::string_view word, bool suggestions = true);

// What get_lensug's answers depend on besides the word: the builds of the indexes of the lists it
// reads, the options it reads (SPELLING_MODE, ALLWAYS_SUGGEST, TREAT_AS_UNKNOWN, SPELL_UPPERCASE,
// LOAD_BG, DEEP_SPELL) and the word-form index of the lexicon. While it is the same, asking about
// the same word again gives the same report. (A rule that comes to read another list or option
// must add it here.)
struct BulgarianSpellingState {
    std::array<std::uint64_t, 12> index_builds{};  // spelling_dictionary_rows(), then wl_english2
    std::array<int, 6> options{};
    const void* forms = nullptr;
    std::size_t form_count = 0;
    bool operator==(const BulgarianSpellingState&) const = default;
};
BulgarianSpellingState bulgarian_spelling_state();

// The Latin letters that look like Cyrillic ones, replaced by them (other bytes unchanged).
std::string replace_latin_lookalikes(std::string_view word);
// The digits typed for letters: '4' -> ч, '6' -> ш, "6т" -> щ; a capital when the letter before
// it (at the word's start: the letter after it) is a Cyrillic capital.
std::string replace_letter_digits(std::string_view word);
