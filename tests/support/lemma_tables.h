// The tables the lemma-grouping reports read, built in memory: the word list "a" (rows 17 and 18
// of the English word lists), the English-Bulgarian dictionary and the rank list. Shared by the
// report's tests and its benchmark.
#pragma once

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "lexicon/tables.h"
#include "shell/lists.h"

namespace jux_test {

class LemmaTables {
public:
    // A word of list "a" (in file order). `definition`: its dictionary entry's definition
    // (nullopt: an entry without one); `in_dictionary` false: no entry at all; `rank` 0: not in the
    // rank list.
    void word(std::string w, std::optional<std::string> definition = std::string("дума"), int rank = 0,
              bool in_dictionary = true) {
        const std::string_view key = keep(std::move(w));
        list_.push_back(ListPair{key, std::string_view()});
        if (in_dictionary)
            dict_.push_back(ListPair{key, definition ? keep(std::move(*definition)) : std::string_view()});
        if (rank > 0) ranks_.push_back(ListPair{key, keep(std::to_string(rank))});
    }

    // Puts the tables in place (the dictionary and the rank list sorted).
    void install() {
        ListFileRecord& file_order = m[M_A_FILE_ORDER];
        file_order.entries = list_;
        file_order.count = list_.size();
        ListFileRecord& sorted = m[M_A_SORTED];
        sorted.entries = list_;
        sort_pairs(sorted.entries);
        sorted.count = list_.size();
        DictFileRecord& dict = b[B_EN_BG];
        dict.entries = dict_;
        sort_pairs(dict.entries);
        dict.count = dict_.size();
        ListFileRecord& ranks = m[M_WL_ENGLISH];
        ranks.entries = ranks_;
        sort_pairs(ranks.entries);
        ranks.count = ranks_.size();
    }

private:
    std::string_view keep(std::string s) { return texts_.emplace_back(std::move(s)); }

    std::deque<std::string> texts_;
    std::vector<ListPair> list_, dict_, ranks_;
};

}  // namespace jux_test
