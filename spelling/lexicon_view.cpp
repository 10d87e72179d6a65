// spelling/lexicon_view.cpp - where the spelling routines find their word lists and options.
#include <algorithm>
#include <array>

#include "lexicon/tables.h"
#include "shell/settings.h"
#include "spelling/word_index.h"

namespace {

// The display names of the 17 English word sets, by row.
constexpr std::array<std::string_view, kEnglishSetCount> kSetLabels = {
    "Eng",     "Eng2",    "male",    "female", "surname", "person", "propr", "place",    "abbr",
    "foreign", "taxon",   "website", "culture", "tech",   "misc3",  "term",  "informal"};

template <class Row>
std::span<const ListPair> rows_of(const Row& r) {
    return std::span<const ListPair>(r.entries.data(), std::min(r.count, r.entries.size()));
}

// The index each row had when last asked, kept on each thread (the helpers ask too).
struct RowIndexes {
    std::array<KeptWordIndex, kEnglishSetCount> english{};
    std::array<KeptWordIndex, B_ROWS> dictionary{};
};
thread_local RowIndexes g_rows;

template <class Row>
const WordIndex& row_index(KeptWordIndex& kept, const Row& r, bool near_buckets = false) {
    return kept.of(rows_of(r), r.text, near_buckets);
}

}  // namespace

std::span<const ListPair> english_set(int row) {
    if (row < 0 || row >= kEnglishSetCount) return {};
    return rows_of(m[static_cast<std::size_t>(row)]);
}

const WordIndex& english_index(int row) {
    if (row < 0 || row >= kEnglishSetCount) return word_index({});
    return row_index(g_rows.english[static_cast<std::size_t>(row)], m[static_cast<std::size_t>(row)]);
}

std::string_view english_set_label(int row) {
    if (row < 0 || row >= kEnglishSetCount) return {};
    return kSetLabels[static_cast<std::size_t>(row)];
}

std::span<const ListPair> capit_list() { return rows_of(b[B_CAPIT]); }

const WordIndex& capit_index() { return dictionary_index(B_CAPIT); }

int deep_spell_option() { return OP[OPT_DEEP_SPELL].num_value; }

const WordIndex& dictionary_index(int row) {
    if (row < 0 || row >= B_ROWS) return word_index({});
    return row_index(g_rows.dictionary[static_cast<std::size_t>(row)], b[static_cast<std::size_t>(row)]);
}

const WordIndex& dictionary_index_with_near_buckets(int row) {
    if (row < 0 || row >= B_ROWS) return word_index({});
    return row_index(g_rows.dictionary[static_cast<std::size_t>(row)], b[static_cast<std::size_t>(row)], true);
}

std::span<const int> spelling_dictionary_rows() {
    static constexpr int kRows[] = {B_EN_BG,          B_BULGARIAN,         B_BULGARIAN_CUSTOM,
                                    B_BULGARIAN_NEW,  B_BULGARIAN_MISSPELLING, B_BULGARIAN_MISSPELLING_FAST,
                                    B_BULGARIAN_DIALECT, B_BULGARIAN_SYNONYM, B_BULGARIAN_RISK,
                                    B_BULGARIAN_SECONDPART, B_BULGARIAN_PO_NAI};
    return kRows;
}

void build_word_indexes() {
    for (int row = 0; row < kEnglishSetCount; ++row) english_index(row);
    capit_index();
    for (int row : spelling_dictionary_rows()) dictionary_index(row);
    // The lists the near-match search of DEEP_SPELL reads: its first question pays nothing. (Made
    // on first need when DEEP_SPELL is switched on later.)
    if (deep_spell_option() != 0) {
        english_index(0).build_near_buckets();
        dictionary_index(B_BULGARIAN).build_near_buckets();
    }
}
