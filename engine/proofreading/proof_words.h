// engine/proofreading/proof_words.h - word tests the article, comma and capital passes share:
// fixed word lists compared ignoring case, the gap classes they ask about and the look-ups of the
// dictionary rows they use.
//
// Lists are written in the source as UTF-8 and turned into code page 1251 on first use, so that a
// list is never read before the character tables exist; a run is single-threaded.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

struct SenToken;

// A fixed list of words; membership ignores case (the locale's folding, as cmp_g does).
class WordList {
public:
    WordList(std::initializer_list<const char*> utf8) : utf8_(utf8) {}
    bool has(std::string_view word) const;
    // Membership with the case as written.
    bool has_exactly(std::string_view word) const;
    // The words in code page 1251, in the order written.
    const std::vector<std::string>& words() const;
    std::size_t size() const { return utf8_.size(); }

private:
    std::vector<const char*> utf8_;
    mutable std::vector<std::string> cp_;
};

// True when every character of the text is one of `set` (an empty text is).
bool only_of(const char* text, const char* set);
// Spaces and carriage returns only (or empty).
inline bool blank_only(const char* gap) { return only_of(gap, " \r"); }
// The first character is a carriage return or a line feed.
inline bool begins_with_break(const char* gap) { return gap[0] == '\r' || gap[0] == '\n'; }
// A gap that ends a sentence: a '.' that is not the first of two, or (without any '.') a '?', '!'
// or ';'.
bool sentence_end_gap(const char* gap);

// The word is a key of the dictionary row (binary search ignoring case).
bool in_b_row(int row, std::string_view word);
