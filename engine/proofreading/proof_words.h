// engine/proofreading/proof_words.h - the gap classes and dictionary look-ups the article, comma and
// capital passes ask about, beside the word lists and word tests of word_checks.h.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/proofreading/word_checks.h"
#include "lexicon/morphology.h"

// True when every character of the text is one of `set` (an empty text is).
bool only_of(const char* text, const char* set);
// A gap that ends a sentence: a '.' that is not the first of two, or (without any '.') a '?', '!'
// or ';'.
bool sentence_end_gap(const char* gap);

// ---- The answers of a run about the words of store 1 ---------------------------------------------
// The passes ask the word-form index and b_bulgarian the same questions about the same words again
// and again (each pass walks the whole store). A run keeps each answer once per distinct spelling:
// the first question about a record finds its spelling's number (an exact-byte hash of the text),
// kept per record, and each question is asked of the index once per spelling. The answers are those
// of the functions named; they are forgotten when the word-form index, the rows asked or the
// letter case rules changed since. At most kMaxSpellings spellings are kept; the others, and every
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

class WordFacts {
public:
    static constexpr std::size_t kMaxSpellings = 262'144;
    WordFacts(const SenToken* floor, const SenToken* nd);
    // The answer for the record's text; a record outside the store is asked directly.
    int fact(const SenToken* p, WordFact f);
    // GetNounInfo(info, -1, text) and GetAdjInfo(info, -1, text).
    int noun_info(const SenToken* p, NounAdjInfo& info);
    int adj_info(const SenToken* p, NounAdjInfo& info);

private:
    // A spelling: where its text is and its hash.
    struct Spelling {
        const char* text;
        std::uint32_t length;
        std::uint32_t hash;
    };
    // A noun or adjective answer and what it wrote (result -1 until asked).
    struct Info {
        NounAdjInfo info;
        std::int8_t result = -1;
    };
    static constexpr std::int16_t kUnknown = INT16_MIN;
    static constexpr std::uint32_t kNoId = 0xFFFFFFFFu, kUnasked = 0xFFFFFFFEu;
    static constexpr std::size_t kFacts = static_cast<std::size_t>(WordFact::Count);
    // The spelling number of the record, kNoId for a record outside the store or beyond the most
    // spellings kept.
    std::uint32_t id(const SenToken* p);
    using InfoLookUp = int (*)(NounAdjInfo&, int, std::string_view);
    int kept_info(const SenToken* p, std::vector<Info>& column, InfoLookUp look, NounAdjInfo& info);
    void check_stamp();
    void grow();

    const SenToken* floor_;
    const SenToken* nd_;
    std::vector<std::uint32_t> ids_;  // per record: its spelling's number, kUnasked or kNoId
    std::vector<Spelling> spellings_;
    std::vector<std::uint64_t> slots_;  // open addressing: a spelling's hash << 32 | its number + 1 (0: empty)
    // The answers, one small column per question (kUnknown until asked), so that a pass reads
    // from a table that stays in the caches.
    std::array<std::vector<std::int16_t>, kFacts> values_;
    std::vector<Info> nouns_, adjectives_;
    std::array<std::uintptr_t, 7> stamp_{};  // what the answers were found in (see check_stamp)
};

// The run's answer when it keeps them, else the function's own.
int word_fact(const ProofRun& run, const SenToken* p, WordFact f);
int run_noun_info(const ProofRun& run, const SenToken* p, NounAdjInfo& info);
int run_adj_info(const ProofRun& run, const SenToken* p, NounAdjInfo& info);
