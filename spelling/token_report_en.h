// spelling/token_report_en.h - the English word sets of a token and its spelling report.
//
// The 17 English word sets are rows 0 to 16 of the English word-list table, each with its display
// name ("Eng", "Eng2", "male", ... "informal"); b_capit (row 0 of the dictionary table) lists the
// words written with a capital. Rows 2, 3, 4, 5 and 7 (male, female, surname, person, place) are
// the proper-name sets. The apostrophe is the plain "'" (the tokeniser writes every token's first
// typographic apostrophe as "'").
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "spelling/spell_state.h"

// The order in which isinset searches the sets: foreign (row 9) last.
inline constexpr int kEnglishSetOrder[17] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 9};

// `labels` (emptied first) receives the display names of every set that holds `word`, joined by
// ", ", a proper-name set preceded by "!" when the word begins with a small letter. The result
// ("CAP") is 1 when the word begins with a small letter and a set holds it where it should have a
// capital: a proper-name set when the word is in b_capit or not in Eng, any other set when the
// word is in b_capit; else 0.
std::uint8_t isinset(std::string_view word, std::string& labels);

// Judges a word by its apostrophe ending; `copy` receives the word as judged (cut to 16,383
// characters), `labels` its set labels. Returns 0 for "...in'" (n > 4: judged as "...ing" in Eng
// and Eng2 only), 1 when an ending was cut off ("'s", "'d", a final "'" after s, z or x, "'ll",
// "'ve", "'re"), 2 when the word was classified whole.
int isapostrophe(std::string_view word, std::string& copy, std::string& labels);

// The spelling report of one English token. `report` receives its report lines (empty when the
// token is in Eng); `classes` " (CAP %s)" or " (%s)" with the token's set labels, empty when no
// set holds it. Answers the suggestions of the last generator run it made (none when it made
// none).
Suggestions token_suggest(std::string_view token, std::string& report, std::string& classes);

// The report builder of token_suggest: walks the token part by part (parts end at '-', runs of
// '-' count as one) and writes the lines of each part; `labels` is token_suggest's label buffer
// (overwritten), `tail` is appended to the main lines; " (NO set" is followed by ", but foreign"
// when the token is `foreign` (its first label is a foreign set's). Answers as token_suggest.
Suggestions token_suggest2(std::string_view token, std::string& labels, std::string& report, std::string_view tail,
                           bool foreign);

// What the answers of token_suggest depend on besides the word: the builds of the indexes of the
// 17 English word sets and of b_capit, and the option DEEP_SPELL. While it is the same, asking
// token_suggest about the same word again gives the same results.
struct EnglishSpellingState {
    std::array<std::uint64_t, 18> index_builds{};
    int deep_spell = 0;
    bool operator==(const EnglishSpellingState&) const = default;
};
EnglishSpellingState english_spelling_state();
