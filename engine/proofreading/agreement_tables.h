// engine/proofreading/agreement_tables.h - the word tables of the consecutive-nouns pass and of the
// adjective-noun agreement pass: nouns that go well together, and the words and pairs that the
// agreement pass never reports. Words are UTF-8 here; the passes turn them into code page 1251
// once, on first use, and compare them without regard to case.
#pragma once

#include <array>
#include <string_view>

// ---- Consecutive nouns -----------------------------------------------------------------------------

// Second nouns after which a pair of nouns is never reported ("максимум", "вечер" ...).
extern const std::array<std::string_view, 16> noun_second_forms;
// First nouns, as written, that go before any noun ("величие", the months ...).
extern const std::array<std::string_view, 37> noun_first_forms;
// Lemmas of first nouns that go before any noun (measures, containers, groups, times ...).
extern const std::array<std::string_view, 275> noun_first_lemmas;

// A pair of nouns that goes together: any word of `first` followed by any word of `second`, both
// blank-separated lists. A word of `first` written "L:word" names the first noun's lemma; the
// others are forms as written.
struct NounPairRow {
    std::string_view first;
    std::string_view second;
};
extern const std::array<NounPairRow, 113> noun_pair_rows;

// ---- Adjective-noun agreement ------------------------------------------------------------------

extern const std::array<std::string_view, 96> concord_never_adjectives;   // never the adjective
extern const std::array<std::string_view, 12> concord_never_lemmas;       // never the adjective's lemma
extern const std::array<std::string_view, 40> concord_never_nouns;        // never the noun
extern const std::array<std::string_view, 39> concord_title_nouns;        // nouns of address
extern const std::array<std::string_view, 16> concord_title_adjectives;   // adjectives before them
// Colour words; the first one, "алена", is left out of one of the rules.
extern const std::array<std::string_view, 26> concord_colour_words;
// Noun forms spelled alike in two genders or numbers, by the adjectives that may go before them.
extern const std::array<std::string_view, 27> concord_masc_or_plural_nouns;
extern const std::array<std::string_view, 26> concord_fem_or_plural_nouns;
extern const std::array<std::string_view, 225> concord_masc_or_fem_nouns;

// An adjective and a noun, as written, that go together in a fixed expression.
struct ConcordPair {
    std::string_view adjective;
    std::string_view noun;
};
extern const std::array<ConcordPair, 82> concord_fixed_pairs;
