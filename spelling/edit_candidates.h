// spelling/edit_candidates.h - the edit-candidate engine shared by the English and the Bulgarian
// suggestion generators.
//
// Words are 8-bit text (code page 1251 bytes). The engine makes every candidate word of the
// single-edit family in a fixed order and hands each to a sink; the generator behind the sink looks
// the candidate up (WordIndex::find), decides its rank and its marks, and formats the suggestion
// text with append_edit_note. Letter comparisons ("differs from the next letter", "equal letters")
// ignore case under the current character-type locale (cp_tolower), for Latin and Cyrillic alike.
//
// The order, with 1-based positions as printed (n = length of the word):
//   1. DropFirst      drop letter 1, when letters 1 and 2 differ          "%s (drop %c 1)"
//   2. DropInner      drop letter i, i = 2..n-1, when it differs from i+1  "%s (drop %c %i)"
//   3. DropLast       drop letter n                                       "%s (drop last %c %i)"
//   4. AddFront       each alphabet letter in front                       "%s (add %c 1)"
//   5. for each i = 1..n, inserting after letter i:
//      AddInner       each alphabet letter except letter i itself         "%s (add %c %i)", i+1
//      (i < n) AddHyphen '-' and AddApostrophe '\''                        "%s (add - %i)",
//                                                                          "%s (add apostrophe %i)"
//   6. Change         each position, each alphabet letter (the letter already there included)
//                                                                          "%s (change %c %i)"
//   7. Swap           neighbours i, i+1 that differ                       "%s (swap %c-%c %i-%i)"
//   8. Triple         (n >= 3) for each start i with letters x y z: x != z -> z x y; x == y -> next
//                     start; else z y x, and y z x when y != z             "%s (triple %c%c%c->%c%c%c %i-%i)"
//   9. Syllable       (n >= 4) for k = 2 while k < n/2, each start i with 2k letters left, when the
//                     letter at i does not begin a run of 3 or more equal letters and the k letters
//                     at i equal the k letters after them: drop the k letters  "%s (syllable %i-%i)"
//  10. Repeated       each start i with 3 letters left where a run of 3 or more equal letters
//                     begins: the run from i reduced to one letter        "%s (repeated \"%c\" %i-%i)"
//
// The alphabet (inserted and substituted letters) is a parameter: kLatinLetters for English,
// kBulgarianLetters (the 32 small Cyrillic letters, codes 224-255) for Bulgarian. A LetterShaper,
// when given, may change each inserted or substituted letter before the candidate is built (the
// Bulgarian generator makes it a capital next to capitals); the "except letter i itself" test
// uses the alphabet's letter.
//
// A generator built on it: for each candidate the sink calls index.find(c.word) on its list's index
// (english_index(0), dictionary_index(8) for b_bulgarian; word_index.h), builds the text as c.word
// (or the word as it should be shown) followed by append_edit_note(text, c), and stores it in its
// run's pool (empty_suggestion_pool(), spell_state.h) with its rank; the near-match scan
// (near_match_scan below) serves the "(EXTRA)" step; the pool is sorted by rank (cmp_lar order)
// and written with append_bounded into the run's Suggestions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

class KeyHasher;
class SuggestionPool;
class WordIndex;

enum class EditKind : std::uint8_t {
    DropFirst,
    DropInner,
    DropLast,
    AddFront,
    AddInner,
    AddHyphen,
    AddApostrophe,
    Change,
    Swap,
    Triple,
    Syllable,
    Repeated,
};

// One candidate. `word` is valid only during the sink call.
struct EditCandidate {
    EditKind kind = EditKind::DropFirst;
    std::string_view word;    // the candidate word
    int pos = 0;              // first printed position (1-based)
    int pos2 = 0;             // second printed position (Swap, Triple, Syllable, Repeated)
    unsigned char letter = 0; // dropped, added or new letter (as inserted); the repeated letter
    std::size_t index = 0;    // 0-based index of the edit in the input word (where the letter
                              // was dropped, inserted before, or changed; start of swap/triple/run)
    char from[3] = {0, 0, 0}; // Swap: the two input letters; Triple: the old three
    char to[3] = {0, 0, 0};   // Triple: the new three
};

inline constexpr std::string_view kLatinLetters = "abcdefghijklmnopqrstuvwxyz";
// а б в г д е ж з и й к л м н о п р с т у ф х ц ч ш щ ъ ы ь э ю я (code page 1251, 224..255).
extern const std::string_view kBulgarianLetters;

// Changes an alphabet letter about to be inserted or substituted. `word` is the input word, `kind`
// AddFront, AddInner or Change, `index` the 0-based position the letter will have in the candidate.
using LetterShaper = unsigned char (*)(std::string_view word, EditKind kind, std::size_t index,
                                       unsigned char letter);

// A non-owning reference to a callable void(const EditCandidate&).
class EditSink {
public:
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, EditSink>>>
    EditSink(F& f) : obj_(&f), call_([](void* o, const EditCandidate& c) { (*static_cast<F*>(o))(c); }) {}
    void operator()(const EditCandidate& c) const { call_(obj_, c); }

private:
    void* obj_;
    void (*call_)(void*, const EditCandidate&);
};

// Whether the letters of the alphabet are put into one place of the candidates: `kind` AddFront or
// AddInner with `at` the place of the added letter in the candidate (the hyphen and the apostrophe
// added there too), or Change with `at` the letter changed. With `index` (the list the sink looks
// the candidates up in) and `hasher` (prepared with the word), a place is closed when the list's
// hole filter (WordIndex::may_fill_hole) tells that no key agrees with those candidates everywhere
// but there: none of them could be found. Without them every place is open.
struct PlaceGate {
    const WordIndex* index = nullptr;
    const KeyHasher* hasher = nullptr;
    bool open(EditKind kind, std::size_t at) const;
};

// Runs steps 1 to 10 above over `word`, calling `sink` for every candidate, each family in its own
// routine. `scratch` holds the candidate text (reused; a candidate is made by changing the letters
// its family changes, not by copying the word). A word shorter than 2 characters gives no
// candidates. Candidates longer than `max_length` are not made (the longest key of the list the
// sink looks them up in: they cannot be found), so a very long word costs no more than its length;
// nor those of a place `gate` closes.
void generate_edits(std::string_view word, std::string_view alphabet, LetterShaper shaper,
                    std::string& scratch, EditSink sink, std::size_t max_length = std::string_view::npos,
                    PlaceGate gate = {});

// The key hash of a candidate of the word `hasher` was prepared with (what WordIndex::find_hashed
// takes): a dropped, added or changed letter in a few steps, the other families from the
// candidate's letters.
std::uint64_t edit_key_hash(const KeyHasher& hasher, const EditCandidate& c);

// Appends the note of a candidate, e.g. " (drop e 3)", " (swap a-b 2-3)", in the formats listed
// above.
void append_edit_note(std::string& out, const EditCandidate& c);

// Small formatting helpers of the suggestion texts.
void append_int(std::string& out, long long value);
// Appends the note of a word split, " (%s at %u, ranks %i & %i)", e.g. " (split at 3, ranks 12 & 40)".
void append_split_note(std::string& text, std::string_view what, std::size_t at, std::int32_t lrank,
                       std::int32_t rrank);
// Sorts the pool by rank (cmp_lar order; equal ranks keep the order in which they were found) and
// appends each as "%i. %s (rank %i) " to `spelling` while whole items fit.
void sort_and_number_suggestions(SuggestionPool& pool, std::string& spelling);
// Appends the short form of each suggestion of the sorted pool to `spelling_sh`, each followed by
// " | ", while whole items fit, and answers how many it wrote. A word shows once, at its first
// place: a short form written already (several edits may give one word) is not written again; nor
// is, with `leave_out`, a short form equal to it but for case.
std::int32_t write_short_forms(const SuggestionPool& pool, std::string& spelling_sh,
                               std::string_view (*short_form)(std::string_view), const std::string_view* leave_out);

// ---- Near matches -------------------------------------------------------------------------------
// Whether two words are near matches, comparing letters after case folding. With S the shorter and
// L the longer word (S = `word` at equal lengths), s and l their lengths and d = l - s:
//  - both have at least 6 letters, d <= 2, and d <= 1 when s < 9;
//  - at least three of the pairs first/first, second/second, last/last, second-to-last/
//    second-to-last agree;
//  - the letter count: a window on L starts at d/2 + d%2 - 1 and ends 1 further (d odd) or 2
//    further (d even), never past L's last letter; each letter of S counts 1 when it stands in the
//    window (an index before L's start reads L's first letter); then the start moves by 1 and the
//    end by 1 while it is before L's last letter;
//  - accepted: s = 6 with count >= 5 and equal first letters; s = 7 with count >= 6; 9 <= s <= 14
//    with count >= s - 2; s >= 15 with count >= s - 3. s = 8 accepts nothing.
bool near_match(std::string_view word, std::string_view entry);
// The same over words already folded to lower case.
bool near_match_folded(std::string_view word, std::string_view entry);

// The near-match scan over a whole list: `hits` receives the list positions of every entry of
// `index` that is a near match of `word`, in list order (emptied first). None when the word has
// fewer than 6 letters.
void near_match_scan(const WordIndex& index, std::string_view word, std::vector<std::size_t>& hits);
