// engine/proofreading/proof_words.h - the gap classes and dictionary look-ups the article, comma and
// capital passes ask about, beside the word lists and word tests of word_checks.h.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/proofreading/word_checks.h"
#include "lexicon/bgtypes.h"
#include "lexicon/morphology.h"

// True when every character of the text is one of `set` (an empty text is).
bool only_of(const char* text, const char* set);
// A gap that ends a sentence: a '.' that is not the first of two, or (without any '.') a '?', '!'
// or ';'.
bool sentence_end_gap(const char* gap);

// The types of words that are names, titles, abbreviations or transliterations.
inline constexpr int proper_name_types[] = {BGT_76N, BGT_78T, BGT_78N, BGT_PROPR, BGT_TRANS, BGT_CULT, BGT_ABBR};
// Whether the word may be a proper name: known only as one, with a proper-name row, or with a
// row of one of the types above.
bool may_be_proper_name(const char* w);

// ---- The answers of a run about the words of store 1 ---------------------------------------------
// The passes ask the word-form index and b_bulgarian the same questions about the same words again
// and again (each pass walks the whole store). A run keeps each answer once per distinct spelling:
// the spellings are those of the open RunSpellings (token_spellings.h), numbered once for every
// pass that asks (numbered for the run's answers alone when no such run is open), and each question
// is asked of the index once per spelling. The answers are those of the functions named; they are
// forgotten when the word-form index, the rows asked or the letter case rules changed since. The
// answers of at most kMaxSpellings spellings are kept (those numbered first); the others, and every
// question of an empty index or list (answered at once), are asked each time.
enum class WordFact : std::uint8_t {
    Sum,             // TypeHas(w, BGT_SUM)
    VerbRow,         // TypeHasAscii(w, ascii_verb)
    NounOnly,        // IsOnlyAsciiType(w, ascii_noun)
    ProperOnly,      // IsTypeProperOnly(w)
    Type,            // GetType(w)
    VerbNotAdjOnly,  // IsTypeVerbNotAdjOnly(w)
    Known,           // known_bg(w)
    Comma1,          // in_b_row(B_BULGARIAN_COMMA1, w)
    Count
};

class TokenSpellings;

class WordFacts {
public:
    static constexpr std::size_t kMaxSpellings = 262'144;
    WordFacts(const SenToken* floor, const SenToken* nd);
    ~WordFacts();
    // The answer for the record's text; a record outside the store is asked directly.
    int fact(const SenToken* p, WordFact f);
    // GetNounInfo(info, -1, text) and GetAdjInfo(info, -1, text).
    int noun_info(const SenToken* p, NounAdjInfo& info);
    int adj_info(const SenToken* p, NounAdjInfo& info);
    // article_candidate(text, slot, other_slot, other) (article_passes.h).
    bool article_candidate(const SenToken* p, int slot, int other_slot, std::string& other);

private:
    // A noun or adjective answer and what it wrote (result -1 until asked).
    struct Info {
        NounAdjInfo info;
        std::int8_t result = -1;
    };
    // An article candidate's answer and the other form, `size` bytes at `at` in others_ (result -1
    // until asked): eight bytes a spelling, where nearly every spelling has no other form.
    struct Candidate {
        std::uint32_t at = 0;
        std::uint16_t size = 0;
        std::int8_t result = -1;
    };
    static constexpr std::int16_t kUnknown = INT16_MIN;
    static constexpr std::uint32_t kNoId = 0xFFFFFFFFu;
    static constexpr std::size_t kFacts = static_cast<std::size_t>(WordFact::Count);
    // The spelling number of the record, kNoId for a record outside the store or beyond the most
    // spellings kept.
    std::uint32_t id(const SenToken* p);
    // How many spellings have answers kept: a column of answers has this many places.
    std::size_t kept() const;
    using InfoLookUp = int (*)(NounAdjInfo&, int, std::string_view);
    int kept_info(const SenToken* p, std::vector<Info>& column, InfoLookUp look, NounAdjInfo& info);
    void check_stamp();
    // The answers found under another stamp go; `now` is the stamp from here on.
    [[gnu::noinline]] void forget(const std::array<std::uintptr_t, 7>& now);
    // Whether the question is one of the word-form index (the others ask rows of b).
    static bool from_index(WordFact f);
    // Every answer of the word-form index about spelling n, found with one look-up of its analyses
    // the first time any of them is asked.
    void fill(std::uint32_t n, const char* text);
    void put(std::uint32_t n, const FormFacts& a);
    // Before the first question of the word-form index: what it says about every spelling kept,
    // found at once (memo_forms), and their answers while each one's analyses are at hand.
    void ask_index_ahead();

    const SenToken* floor_;
    const SenToken* nd_;
    std::shared_ptr<const TokenSpellings> spellings_;  // numbered on the first question
    // The answers, one small column per question (kUnknown until asked), so that a pass reads
    // from a table that stays in the caches.
    std::array<std::vector<std::int16_t>, kFacts> values_;
    std::vector<Info> nouns_, adjectives_;
    // The candidates of the two questions the article passes ask: slots 2 -> 1 and 1 -> 2.
    std::array<std::vector<Candidate>, 2> candidates_;
    std::string others_;  // the other forms of the candidates, one after another
    std::array<std::uintptr_t, 7> stamp_{};  // what the answers were found in (see check_stamp)
    bool asked_ahead_ = false;
};

// The run's answer when it keeps them, else the function's own.
int word_fact(const ProofRun& run, const SenToken* p, WordFact f);
int run_noun_info(const ProofRun& run, const SenToken* p, NounAdjInfo& info);
int run_adj_info(const ProofRun& run, const SenToken* p, NounAdjInfo& info);
bool run_article_candidate(const ProofRun& run, const SenToken* p, int slot, int other_slot, std::string& other);
