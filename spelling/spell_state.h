// spelling/spell_state.h - what the English and Bulgarian suggestion generators answer, their
// pool of suggestion texts, and the apostrophe labels of the token report.
//
// A generator run (spellcheck, spellcheck_bg) answers its results as a Suggestions value that the
// caller owns. The texts are 8-bit (code page 1251). Each text holds at most kSpellTextMax
// characters: the writers append whole items only while they fit and never cut an item in the
// middle.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kSpellTextSize = 16'384;             // bytes of each result text, with its end
inline constexpr std::size_t kSpellTextMax = kSpellTextSize - 1;  // characters it can hold

// Rank of a listed word that has no rank text.
inline constexpr int kRankUnranked = 500'000;

// What one run of a suggestion generator found.
struct Suggestions {
    std::string spelling;      // numbered suggestions "%i. %s (rank %i)" in rank order, blank-separated
    std::string spelling_sh;   // the suggested words (short forms) joined by " | "
    std::int32_t suggest_ct = 0;       // the number of suggestions (see each generator)
    bool false_positive = false;       // a "(FALSE POS)" suggestion was made (the input is a regular form)
    bool first_letter_differ = false;  // a suggestion drops or changes the first letter
    bool splitting = false;            // a two-word split was suggested
    bool mdash = false;                // a dash suggestion was made (Bulgarian generator)
};

// Generator runs so far on this thread: what asking again costs, for measuring what kept answers
// save (no result is read from it).
extern thread_local std::uint64_t suggestion_runs;

extern const std::array<const char*, 3> gl_aposlong;  // the three apostrophe labels, by isapostrophe's result

// The report colour of a text that offers no correction (COLORREF 0x00BBGGRR; not bold).
inline constexpr std::uint32_t gl_col_nosug = 0x080808;

// The definition cut (definitions.h): how a long definition was shortened for one display. The
// shared dictionary text is never written to; the shortened text is a view of it (mode 1) or a
// copy of its head with the marker " [%i CHARS CUT]" (mode 0), held here until the restore.
struct DefCutRecord {
    std::uint8_t mode = 2;     // 0 cut and the marker written, 1 cut without marker, 2 nothing cut
    const char* at = nullptr;  // where the definition was cut (inside it), null in mode 2
    std::string saved;         // mode 0: the head of the definition followed by the marker
};
extern DefCutRecord defcut;  // the one record of the definition cut

// One suggestion: its text in the suggestion pool and the rank it sorts by (smaller first).
struct SuggestionPair {
    const char* text = nullptr;  // NUL-terminated, inside the pool
    std::int32_t rank = 0;
};

// The pool of suggestion texts of a generator run: kSpellTextSize bytes, emptied at its start;
// texts are stored one after another, each NUL-terminated. A text that does not fit is not stored,
// and from then on the pool takes no more suggestions (add answers false).
class SuggestionPool {
public:
    SuggestionPool();
    void clear();
    // Stores text and rank; false when the pool is full (nothing stored).
    bool add(std::string_view text, std::int32_t rank);
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    bool full() const { return full_; }
    std::vector<SuggestionPair>& items() { return items_; }
    const std::vector<SuggestionPair>& items() const { return items_; }

private:
    std::array<char, kSpellTextSize> bytes_{};
    std::size_t used_ = 0;
    bool full_ = false;
    std::vector<SuggestionPair> items_;
};

// The pool of this thread's generator run, emptied (one pool a thread, kept from run to run for its
// memory: generator runs do not nest).
SuggestionPool& empty_suggestion_pool();

// Comparator of two suggestions: 1 when a's rank is greater than b's, else -1 (never 0).
int cmp_lar(const SuggestionPair& a, const SuggestionPair& b);

// Appends item to text when the result still fits into kSpellTextMax characters; false otherwise
// (text unchanged).
bool append_bounded(std::string& text, std::string_view item);

// The subsystem's reset for test fixtures: the definition cut released, the word-list indexes
// dropped.
void reset_spelling();
