// engine/proofreading/comma_lists.h - the word lists and conjunction tables of the missing-comma
// scans: the group a one-word conjunction belongs to and the words before it that make a comma
// needless, and the two-, three- and four-word conjunctions with the exclusion flags they set.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/proofreading/proof_words.h"

// ---- One-word scan ----------------------------------------------------------------------------

// The exclusion group of a one-word conjunction (what the word before it is checked against).
enum class CommaGroup { None, K, G, O, Ch, P, T, M };

// One rule of the group choice: the conjunctions and their group, tested in the table's order after
// the relative-word rule.
struct CommaGroupRule {
    const WordList* words;
    CommaGroup group;
};
extern const std::vector<CommaGroupRule> comma_group_rules;

extern const WordList comma_no_group;      // "а", "ала", ... "но": no exclusions
extern const WordList comma_pronoun_like;  // "каквото" ...: never a finding
extern const WordList comma_exclusions_k;  // before "когато"
extern const WordList comma_exclusions_g;  // before a relative word, "доколкото", "където", "накъдето"
extern const WordList comma_exclusions_o;  // before "освен"
extern const WordList comma_exclusions_ch; // before "че"
extern const WordList comma_exclusions_p;  // before "понеже", "защото"
extern const WordList comma_exclusions_t;  // before "отколкото" (and any word beginning with "по-")
extern const WordList comma_exclusions_m;  // before "макар" (and any relative word)

// The exclusion list of a group (null for None).
const WordList* comma_exclusions(CommaGroup g);

// ---- Multi-word scans --------------------------------------------------------------------------

// Exclusion flags of the multi-word scans, one bit per letter of their tables.
enum CommaFlag : std::uint32_t {
    CF_R = 1u << 0,   // R: a relative word after a word of b_bulgarian_comma1
    CF_N = 1u << 1,   // Н
    CF_D = 1u << 2,   // Д
    CF_P = 1u << 3,   // П
    CF_H = 1u << 4,   // Х
    CF_T = 1u << 5,   // Т
    CF_S = 1u << 6,   // С
    CF_Z = 1u << 7,   // З
    CF_K = 1u << 8,   // К
    CF_O = 1u << 9,   // О
    CF_V = 1u << 10,  // В
};

// A conjunction of several words ("" stands for any word) and the flags it sets.
struct CommaPhrase {
    const char* words[4];  // UTF-8; unused places null
    std::uint32_t flags;
};

// A table of conjunctions, tested in its order; its words are turned into code page 1251 on first
// use, as the word lists are.
class PhraseTable {
public:
    PhraseTable(std::initializer_list<CommaPhrase> rows) : rows_(rows) {}
    // The flags of the first conjunction that the words make (null stands for no word), or false.
    bool match(const char* const* words, std::size_t n, std::uint32_t& flags) const;
    const std::vector<CommaPhrase>& rows() const { return rows_; }

private:
    void prepare() const;

    std::vector<CommaPhrase> rows_;
    mutable std::vector<std::array<std::string, 4>> cp_;
    // The rows that can match a first word, by its first letter, in table order (letters made small
    // as the character classes in force when they were sorted).
    mutable std::array<std::vector<std::uint16_t>, 256> by_first_;
    mutable bool cyrillic_ = false;
};
extern const PhraseTable comma_pairs;  // after the relative-word rule
extern const PhraseTable comma_triples;
extern const PhraseTable comma_quads;

// Words before the conjunction that make a comma needless.
extern const WordList comma2_before;            // every pair
extern const WordList comma2_before_fixed;      // with R: "всеки" ...
extern const WordList comma2_before_o;          // with О
extern const WordList comma2_before_k;          // with К
extern const WordList comma2_before_v;          // with В (83 words)
extern const WordList comma2_before_z;          // with З
extern const WordList comma3_before;            // every triple
extern const WordList comma3_before_without_z;  // triples without З
extern const WordList comma4_before;            // every quadruple
extern const WordList comma4_before_z;          // with З: personal pronouns and "това"

// Single-word exclusions of the two-word scan: a pair that sets the flag has no finding after the
// word.
struct CommaFlagWord {
    std::uint32_t flag;
    WordList word;
};
extern const std::array<CommaFlagWord, 6> comma_flag_words;
