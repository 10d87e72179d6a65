// engine/consecutive_words.h - the colouring of known runs of consecutive English words in a
// source panel (the first step of the colouring for translators).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/token_store.h"
#include "shell/lists.h"
#include "platform/types.h"

// Bytes of a run's key (the tokens and their gaps) at most.
inline constexpr std::size_t kRunKeyRoom = 2'048;

// For every window of n consecutive tokens of [first, end) whose tokens all begin with a Latin
// letter or hold a digit and whose inner gaps hold only blanks, commas and line breaks, the key
// (the first token, then gap and token for each further one, at most kRunKeyRoom bytes) is made
// into a list key by normailize_sentence, and the window is marked in `re` by what knows it:
//   - a word-class list (is_in_c_set): n = 2 underlines both tokens and the gap between them in
//     `colour`; n > 2 colours every token but its last character, the first token also italic;
//   - the first list of a sentence corpus chosen by the mark that follows the window ('!', '?',
//     ',', else the statements), the user's own list first: n = 2 underlines in `colour` and makes
//     bold; n > 2 colours and makes bold every token but its last character, the first also italic;
//   - `b_english_bulgarian`: characters 2 to n of the first token become bold.
// Nothing is done on the main window's hidden entry copy, nor for a range of fewer than n tokens.
// Every 1,000 windows "coloring: %d %d / %d" (n, windows so far, windows in all) goes to the
// checker window's status line. The records after `end` are read for the mark that follows the
// last window (a store's sentinels when `end` is its fill end).
void color_consecutive_words(int n, COLORREF colour, const SenToken* first, const SenToken* end, HWND re);

// The list keys of every window of a token range, made once for the passes of every length: each
// token's text and the gap before it as normailize_sentence makes them inside a run, laid out one
// after another, so that the key of a window is one stretch of text. A window holding a token with
// a blank, tab or line break in it (a character set may admit one) is left to normailize_sentence.
class RunKeys {
public:
    RunKeys(const SenToken* first, const SenToken* end);
    const SenToken* first() const { return first_; }
    const SenToken* end() const { return end_; }
    std::size_t count() const { return fits_.size(); }
    // The tokens that end at token j and may make one run with it.
    std::uint32_t fits(std::size_t j) const { return fits_[j]; }
    // Bytes of the window's key as the text holds it (tokens and inner gaps).
    std::size_t raw_size(std::size_t i, std::size_t n) const { return raw_end_[i + n - 1] - raw_start_[i]; }
    // The window's list key, or false when it must be normalised from its text.
    bool key(std::size_t i, std::size_t n, std::string_view& key) const;
    // The entry of the English-Bulgarian dictionary with the key of window (i, n), `made` true when
    // the key came from key(). The key of (i, n - 1) begins the key of (i, n): when the pass
    // before this one found no entry beginning with it, there is none to search for.
    const ListPair* in_english_bulgarian(std::size_t i, std::size_t n, std::string_view key, bool made) const;
    // Called at the end of the pass of n-word windows.
    void pass_done(std::size_t n) const { prefix_n_ = n; }

private:
    const SenToken* first_;
    const SenToken* end_;
    std::string pool_;                        // gap, text, gap, text ... normalised
    std::vector<std::uint32_t> fits_;         // see fits()
    // Each text's place in pool_ and in the raw text (a panel's text, and so both, is shorter than
    // 2^31 characters).
    std::vector<std::uint32_t> start_, stop_, raw_start_, raw_end_;
    std::vector<std::uint32_t> unusual_;      // tokens with a blank, tab or CR before token j
    // Windows from token i whose key (of the pass `prefix_n_`) begins an entry of the dictionary.
    mutable std::vector<std::uint8_t> prefix_alive_;
    mutable std::size_t prefix_n_ = 0;
};

// color_consecutive_words over keys made once.
void color_consecutive_words(int n, COLORREF colour, const RunKeys& keys, HWND re);
