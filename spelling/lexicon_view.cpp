// spelling/lexicon_view.cpp - where the spelling routines find their word lists and options.
#include <algorithm>
#include <array>
#include <atomic>

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

// The index each row had when last asked: word_index answers with the same index while it still
// indexes the row's list as it is now, so it is asked only when that test fails. `tested` is the
// SteadyWordLists stamp under which the full test last passed.
struct KeptRow {
    const WordIndex* index = nullptr;
    std::uint64_t tested = 0;
};
struct RowIndexes {
    std::uint64_t generation = ~std::uint64_t{0};
    std::array<KeptRow, kEnglishSetCount> english{};
    std::array<KeptRow, B_ROWS> dictionary{};
};
thread_local RowIndexes g_rows;
thread_local std::uint64_t g_steady = 0;  // the stamp of the innermost SteadyWordLists, 0: none
std::atomic<std::uint64_t> g_stamps{0};  // the last stamp given

// The index of row `r` found again (the cache let go, the list changed or not yet tested fully
// under the SteadyWordLists alive): what row_index does when its quick test fails.
template <class Row>
[[gnu::noinline]] const WordIndex& find_row_index(KeptRow& kept, const Row& r, bool near_buckets) {
    if (g_rows.generation != word_index_generation()) {
        g_rows = RowIndexes{};
        g_rows.generation = word_index_generation();
    }
    const std::span<const ListPair> list = rows_of(r);
    const WordIndex* idx = kept.index;
    if (!idx || idx->fingerprint().data != list.data() || !idx->indexes(list))
        kept.index = &word_index(list, r.text, near_buckets);
    else if (near_buckets)
        idx->build_near_buckets();
    kept.tested = g_steady;
    return *kept.index;
}

template <class Row>
const WordIndex& row_index(KeptRow& kept, const Row& r, bool near_buckets = false) {
    const WordIndex* idx = kept.index;
    if (idx && !near_buckets && g_steady != 0 && kept.tested == g_steady &&
        g_rows.generation == word_index_generation() && idx->list().data() == r.entries.data() &&
        idx->size() == std::min(r.count, r.entries.size()) && idx->owner() == r.text.get() &&
        idx->fingerprint().cyrillic_locale == (cp1251_detail::current_ctype == &cp1251_detail::full_ctype))
        return *idx;
    return find_row_index(kept, r, near_buckets);
}

}  // namespace

SteadyWordLists::SteadyWordLists() : outer_(g_steady) { g_steady = ++g_stamps; }
SteadyWordLists::~SteadyWordLists() { g_steady = outer_; }
void SteadyWordLists::renew() { g_steady = ++g_stamps; }

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
