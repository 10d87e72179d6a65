// engine/translation/sentence.h - what the steps of the translation of one sentence share: the
// sentence (its tokens, end record, texts and key), the per-sentence working state (units, covered
// map, unit list) and the run's settings (filter, line ends, subtitle mode).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/token_store.h"
#include "lexicon/agreement.h"
#include "platform/types.h"

inline constexpr std::size_t MT_SENTENCE_ROOM = 2'047;  // bytes of the sentence text, key and display text
inline constexpr std::size_t MT_END_ROOM = 1'023;       // bytes of the end text
inline constexpr std::size_t MT_SPAN_KEY_ROOM = 32'767;  // bytes of a span key and a joined sentence
inline constexpr std::size_t MT_KEY_MAX = 255;           // bytes of a unit's key and gap

// The COLORREF values of the translation panel.
inline constexpr COLORREF kMtEnglish = RGB(0, 85, 255);        // the English sentence (parallel display)
inline constexpr COLORREF kMtKnown = RGB(170, 42, 255);        // a translation from a sentence corpus
inline constexpr COLORREF kMtFilterEnglish = RGB(255, 85, 255);  // the filter word in the English sentence
inline constexpr COLORREF kMtCommaPhrase = RGB(189, 122, 39);  // a leading phrase from a comma corpus
inline constexpr COLORREF kMtFilterMatch = RGB(255, 0, 42);    // the unit that matched the filter

// One sentence.
struct MtSentence {
    std::vector<SenToken> tokens;    // its tokens (in subtitle mode without numbers and time codes)
    const SenToken* end = nullptr;   // the end record (its gap holds the final mark)
    bool no_split = false;           // the sentence ends at a "no." that was split
    std::string text;                // the tokens with their inner gaps (at most 2,047 bytes)
    std::string block;               // subtitle mode: the store's records of the sentence, whole
    std::string end_text;            // the end record's gap (normal mode: up to its first CR)
    std::string key;                 // the corpus key ('_' between words)
    std::string display;             // the display text (single blanks, no line breaks)

    std::size_t n() const { return tokens.size(); }
    // The gap after token i: the next token's, or the end record's after the last token.
    const char* gap_after(std::size_t i) const;
    // The text of token i, or the end record's after the last token.
    const char* text_at(std::size_t i) const;
};

// What one run of the translation keeps for all its sentences.
struct MtRun {
    std::string filter;      // the filter box's text, code page 1251 ("" = show every sentence)
    int lines = 1;           // line ends after each sentence (0 in subtitle mode)
    bool subtitles = false;  // gl_fg_subtitle
    bool parallel = false;   // gl_SHOW_PARALLEL_TRANSLATION
    HWND panel{};            // hMachineRe
};

// The working state of one sentence, reused from sentence to sentence (it grows with the longest).
struct MtWork {
    std::vector<MtUnit> units;          // one per token, at the token's index
    std::vector<std::uint8_t> covered;  // 1 = the token is translated
    std::vector<MtUnit*> list;          // the units with text, in sentence order
    bool comma_phrase = false;          // the sentence starts with a phrase from a comma corpus
    // Clears the first n units and covered entries (growing them when needed).
    void clear(std::size_t n);
};

// Cuts `s` to at most `room` bytes.
inline void cut_to(std::string& s, std::size_t room) {
    if (s.size() > room) s.resize(room);
}
// `s` cut to `room` bytes.
inline std::string cut(std::string_view s, std::size_t room) { return std::string(s.substr(0, room)); }

// Word n (from 1) of a Bulgarian text, as Get_Nth_TokenA takes it (at most 127 bytes); false, and
// no message, when the text has fewer blank-separated words.
bool nth_word(int n, std::string_view text, std::string& out);

// True when `s` is one of the words (case-insensitive).
bool is_one_of(std::string_view s, std::initializer_list<std::string_view> words);

// The gap's first character m and, when m is a blank and the gap is longer, its second m2.
struct FinalMark {
    char m = 0;
    char m2 = 0;
    bool any_of(std::string_view marks) const;
};
FinalMark final_mark(const char* gap);
