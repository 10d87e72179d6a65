// engine/translation/lists.h - the lexicon as the translator reads it: the word-class lists of
// each slot by row, the first lists of the sentence corpora, and look-ups that first compare the
// key's length with the longest key of the list (a span longer than every key is never searched).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "lexicon/agreement.h"
#include "lexicon/tables.h"

// The rows of c_glob the translator reads, resolved once by file name.
struct MtRows {
    int one, start, end;
    std::array<int, 2> two, three, verb1, attr, adv;
    std::array<int, 5> verb2;
    std::array<int, 6> noun;
    std::array<int, 9> adj;
    int when, where, num11, num21, prep;
    std::array<int, 4> misc, abb;
    std::array<int, 7> names;
    int all_fem, all_neu, all_pl;
};
const MtRows& mt_rows();

// The kinds the slots give (the rows of the lists that supply them).
inline constexpr std::array<int, 4> kAbbKinds = {kMtAbbMasculine, kMtAbbFeminine, kMtAbbNeuter, kMtAbbPlural};
inline constexpr std::array<int, 7> kNameKinds = {kMtName,        kMtMaleName, kMtFemaleName,    kMtPlace,
                                                  kMtProperName, kMtCulture,  kMtTransliterated};
inline constexpr std::array<int, 6> kNounKinds = {kMtNoun,      kMtNoun12,   kMtNounSecond,
                                                  kMtNounThird, kMtNounFourth, kMtNounFifth};

// The corpora of the translation (row 0 of each table).
enum MtCorpus : int {
    CS, CS_CUST, CSE, CSE_CUST, CSQ, CSQ_CUST, CSC, CSC_CUST,  // whole sentences
    CS_C, CSE_C, CSQ_C, CSC_C,                                 // comma variants (spans)
    MT_CORPORA
};

// The longest keys of the lists, taken at the start of a run (the user may have filed entries
// since the last one).
class MtLexicon {
public:
    void prepare();
    // The entry of c_glob row `row` with this key, or null.
    const ListPair* c(int row, std::string_view key) const;
    // The entry of a corpus with this English sentence, or null.
    const SentencePair* corpus(MtCorpus which, std::string_view key) const;
    // The entry of dictionary row `row` (sorted) with this key, or null.
    const ListPair* dict(int row, std::string_view key) const;
    // No key of any list the span matcher reads is longer than this.
    std::size_t longest() const { return longest_; }

private:
    std::array<std::size_t, C_ROWS> c_max_{};
    std::array<std::size_t, MT_CORPORA> corpus_max_{};
    std::array<std::size_t, B_ROWS> dict_max_{};
    std::size_t longest_ = 0;
};

const ListFileRecord& mt_corpus(MtCorpus which);
