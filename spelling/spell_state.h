// spelling/spell_state.h - the spelling result globals shared by the English and Bulgarian
// suggestion generators and the token report.
//
// Every call of a suggestion generator (spellcheck, spellcheck_bg) or of the token report
// (token_suggest) overwrites them; they stay valid until the next such call on the same thread:
// each thread has its own, so that a long job may ask the generators on helper threads
// (engine/worker_pool.h) while the main thread's results stay as its own last call left them.
// The texts are 8-bit (code page 1251). Each text global has a fixed size of kSpellTextSize bytes including its
// terminating NUL, so it never holds more than kSpellTextMax characters: the writers append whole
// items only while they fit and never cut an item in the middle.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kSpellTextSize = 16'384;             // bytes of each result text
inline constexpr std::size_t kSpellTextMax = kSpellTextSize - 1;  // characters it can hold

// Rank of a listed word that has no rank text.
inline constexpr int kRankUnranked = 500'000;

extern thread_local std::string spelling;         // numbered suggestions "%i. %s (rank %i)" in rank order, blank-separated
extern thread_local std::string spelling_sh;      // the suggested words (short forms) joined by " | "
extern thread_local std::int32_t suggest_ct;      // number of suggestions of the last generator run
extern thread_local std::uint8_t false_positive;  // 1: a "(FALSE POS)" suggestion was made (the input is a regular form)
extern thread_local std::uint8_t first_letter_differ;  // 1: a suggestion drops or changes the first letter
extern thread_local std::uint8_t splitting;       // 1: a two-word split was suggested
extern thread_local std::uint8_t gl_mdash;  // 1: a dash suggestion was made (Bulgarian generator)
extern thread_local std::uint64_t suggestion_runs;  // generator runs so far (each clears the results once)
extern thread_local std::int32_t gl_aposcase;     // last result of isapostrophe: 0, 1 or 2, index into gl_aposlong
extern const std::array<const char*, 3> gl_aposlong;  // the three apostrophe labels, by gl_aposcase
extern thread_local std::string bf_deriv;         // the apostrophe-stripped word of the last isapostrophe call
extern thread_local std::string aposlabel;        // the word-set labels of bf_deriv
extern thread_local char isforeign[];             // ", but foreign" when its first byte is ',', the empty text when NUL

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
    const char* text = nullptr;  // NUL-terminated, inside suggestion_pool
    std::int32_t rank = 0;
};

// The pool of suggestion texts: kSpellTextSize bytes, emptied at the start of every generator
// run; texts are stored one after another, each NUL-terminated. A text that does not fit is not
// stored, and from then on the pool takes no more suggestions (add answers false).
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

extern thread_local SuggestionPool suggestion_pool;  // the suggestions of the last generator run

// Comparator of two suggestions: 1 when a's rank is greater than b's, else -1 (never 0).
int cmp_lar(const SuggestionPair& a, const SuggestionPair& b);

// Empties spelling, spelling_sh, the pool and the count and clears false_positive,
// first_letter_differ, splitting (what every generator run does first).
void clear_suggestion_results();

// Appends item to text when the result still fits into kSpellTextMax characters; false otherwise
// (text unchanged).
bool append_bounded(std::string& text, std::string_view item);

// The subsystem's reset for test fixtures: every result global empty or 0, the definition cut
// released, the word-list indexes dropped.
void reset_spelling();
