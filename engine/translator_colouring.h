// engine/translator_colouring.h - the colouring of English text for translators: a translator
// sees at a glance which runs of words form known phrases, which single words the dictionaries
// know, which words are hard and how rare each word is.
//
// The first two steps belong to the machine translation and run only while it is on: known runs
// of 2 to 28 words, then the first letter of every English word by what the dictionaries know of
// it, with marks on the second and third letters of hard words. The third step (hard and rare
// words by frequency rank) runs in every run that cuts tokens.
#pragma once

#include <array>

#include "engine/token_store.h"
#include "platform/types.h"

// The colours of the known runs of 2, 3, ... 8 words; 9 to 28 words take the last colour.
inline constexpr std::array<COLORREF, 8> kRunColours{RGB(0, 152, 0),   RGB(0, 192, 0),   RGB(42, 85, 255),
                                                    RGB(0, 170, 255), RGB(170, 42, 255), RGB(255, 85, 170),
                                                    RGB(255, 127, 0), RGB(255, 85, 0)};
inline constexpr int kLongestRun = 28;

inline constexpr COLORREF kColKnownFirst = RGB(225, 0, 0);      // first letter: small, or a known word
inline constexpr COLORREF kColCapitalFirst = RGB(189, 122, 39);  // first letter of another capitalised word
inline constexpr COLORREF kColHard = RGB(255, 85, 0);            // hard words and words without rank
inline constexpr COLORREF kColHard3 = RGB(153, 0, 255);          // third letter of a hard pronunciation
inline constexpr int kRarestCommonRank = 7'999;  // ranks up to this one are common: no rank colour

// Known runs and first letters of the tokens of `walked` in the panel `re` (store 1, or its copy
// without time codes for subtitles). Progress "coloring one: %d / %d" in the checker's status line
// every 1,000 tokens. Nothing on the main window's hidden entry copy.
void colour_for_translators(HWND re, const RecordArray& walked);

// Hard words (with TEXT_COLORING) and rare words by rank band (with COLOR_RARE) of the tokens of
// `walked`, from their second letter; "coloring hard & rare: %d / %d" every 1,000 tokens. Nothing
// on the main window's hidden entry copy.
void colour_hard_and_rare(HWND re, const RecordArray& walked);
