// The narrowed searches of a large sorted list that the split-word and OCR passes make: the same
// entry as find_pair for every key, and exactly the keys that begin with a prefix.
#include "proof_fixture.h"

#include "engine/proofreading/word_checks.h"
#include "shell/lists.h"

namespace {

using PairSearchTest = ProofTest;

TEST_F(PairSearchTest, AnswersAsTheWholeListDoes) {
    // Keys sharing long heads, short keys, capitals and keys that differ only in letter case,
    // enough of them that a search falls between many samples.
    std::vector<std::string> lines;
    const char* const stems[] = {"а", "аб", "Аба", "абажур", "абажурче", "предпоставка", "предпоставки",
                                 "я", "ябълка", "Ябълков", "ъгъл", "на", "наблюдател", "наблюдателка"};
    for (const char* s : stems)
        for (int i = 0; i < 40; ++i) lines.push_back(std::string(s) + (i ? u8(std::string(1, static_cast<char>(0xE0 + i % 32))) : "") +
                                                     (i > 31 ? "ж" : ""));
    lines.push_back("НА");
    load_dict_lines(B_BULGARIAN, lines);
    const std::vector<ListPair>& list = b[B_BULGARIAN].entries;
    ASSERT_GT(list.size(), 300u);
    const PairSearch search(list);

    std::vector<std::string> keys = {"\xFF", "a"};
    for (const char* k : {"", "а", "А", "на", "На", "НАБ", "я", "ЯБЪЛКА", "ъ", "ъгъл", "ь"}) keys.push_back(cp(k));
    for (const ListPair& p : list) {
        keys.emplace_back(p.key);
        keys.push_back(upper_word(p.key));
        keys.push_back(std::string(p.key) + cp("а"));
        keys.push_back(std::string(p.key.substr(0, p.key.size() - 1)));
    }
    for (const std::string& k : keys) {
        EXPECT_EQ(search.find(k), find_pair(list, k)) << u8(k);
        // The prefix's keys: the same as a scan of the whole list.
        std::vector<const ListPair*> want, got;
        for (const ListPair& p : list)
            if (p.key.size() >= k.size() && cp_strncasecmp(p.key, k, k.size()) == 0) want.push_back(&p);
        for (const ListPair& p : search.with_prefix(k)) got.push_back(&p);
        EXPECT_EQ(got, want) << u8(k);
    }
}

}  // namespace
