// The hashed look-ups of the word-form index (bg_find and every query over it) and of the large
// sorted lists (find_pair, PairSearch::find): the record or entry a plain binary search finds, for
// keys in any letter case, homographs, absent keys, under either LOCALE, after a reload and after
// a list changed.
#include <algorithm>

#include "lexicon/morphology.h"
#include "spelling/word_index.h"
#include "word_fixture.h"

namespace {

// The plain searches the hashes must agree with.
const BgFormRecord* searched_form(std::string_view key) {
    const BgFormRecord* end = bgmul_bottom + bgmul_ct;
    const BgFormRecord* it = std::lower_bound(bgmul_bottom, end, key, [](const BgFormRecord& r, std::string_view k) {
        return cp_strcasecmp(std::string_view(r.form), k) < 0;
    });
    return it != end && cp_strcasecmp(std::string_view(it->form), key) == 0 ? it : nullptr;
}
const ListPair* searched_pair(std::span<const ListPair> list, std::string_view key) {
    const auto it = std::lower_bound(list.begin(), list.end(), key,
                                     [](const ListPair& p, std::string_view k) { return cp_strcasecmp(p.key, k) < 0; });
    return it != list.end() && cp_strcasecmp(it->key, key) == 0 ? &*it : nullptr;
}

// Keys in UTF-8: forms in other cases, near misses, a Latin key, bytes that fold to nothing else.
const char* const kKeys[] = {"маса",  "МАСА", "Маса", "масата", "масаа", "мас",  "стол",  "СТОЛОВЕ", "софия",
                             "СОФИЯ", "ябълка", "Ябълки", "abc",  "ABC",  "Abd",  "ъ",     "",        "\xD1\x8F\xD1\x8F"};

class HashedLookupTest : public WordsTest {
protected:
    void TearDown() override {
        reset_ctype_locale();
        drop_word_indexes();
        WordsTest::TearDown();
    }
    std::vector<std::string> keys() const {
        std::vector<std::string> out;
        for (const char* k : kKeys) out.push_back(cp(k));
        out.push_back(std::string("маса\0x", 9));
        return out;
    }
    void expect_forms_as_searched(const char* when, bool memo_too = true) {
        for (const std::string& k : keys()) {
            const BgFormRecord* want = searched_form(k);
            EXPECT_EQ(bg_find(k), want) << when << ": " << u8(k);
            std::string lemma;
            EXPECT_EQ(GetBgLemma(k, -1, lemma), want ? want->type : -1) << when << ": " << u8(k);
            if (!memo_too) continue;
            const FormMemo memo;
            EXPECT_EQ(bg_find(k), want) << when << ", memo: " << u8(k);
        }
    }
};

TEST_F(HashedLookupTest, FormsAsTheBinarySearchFindsThem) {
    // Homographs (a form of two lemmas; one form in two letter cases), forms in an unsorted file.
    load_forms({"стол стол 0 0", "маса маса 85 0", "масата маса 85 1", "ябълка ябълка 85 0",
                "ябълки ябълка 85 2", "София София 468 0", "софия софия 85 0", "столове стол 0 3",
                "abc abc 464 0", "ABC abc 464 1", "ъ ъ 471 0"});
    expect_forms_as_searched("Bulgarian LOCALE");
    // Cyrillic letters no longer fold: the index is searched as it stands (sorted under the other
    // rules; the memo narrows its search under these, and may answer otherwise).
    set_ctype_locale("C");
    expect_forms_as_searched("LOCALE C", false);
    reset_ctype_locale();
    load_forms({"маса маса 85 0", "Ябълки ябълка 85 2"});  // loaded again: the old forms are gone
    expect_forms_as_searched("reloaded");
    EXPECT_EQ(bg_find(cp("стол")), nullptr);
}

TEST_F(HashedLookupTest, LargeListsAsTheBinarySearchFindsThem) {
    // More entries than the lists searched without the index; keys of one spelling in two letter
    // cases stand side by side, the first to be found.
    std::vector<std::string> store;
    store.reserve(7000);  // the list's keys point into these strings
    for (int i = 0; i < 6000; ++i) store.push_back("k" + std::to_string(100000 + i));
    for (const char* k : kKeys)
        if (*k) store.push_back(cp(k));
    store.push_back(cp("Стол"));
    std::stable_sort(store.begin(), store.end(), [](const std::string& a, const std::string& c) {
        return cp_strcasecmp(a, c) < 0;
    });
    std::vector<ListPair> list;
    for (const std::string& s : store) list.push_back(ListPair{s.c_str(), {}});
    word_index(list);
    ASSERT_NE(built_word_index(list), nullptr);
    ASSERT_TRUE(built_word_index(list)->sorted());
    std::vector<std::string> queries = keys();
    for (const char* q : {"k100000", "K105999", "k106000", "k10000", "стол", "СТОЛ"}) queries.push_back(cp(q));
    // PairSearch answers only over a list sorted under the rules of its search.
    const auto expect_as_searched = [&](std::span<const ListPair> l, const char* when, bool sorted = true) {
        const PairSearch search(l);
        for (const std::string& q : queries) {
            EXPECT_EQ(find_pair(l, q), searched_pair(l, q)) << when << ": " << u8(q);
            if (sorted) {
                EXPECT_EQ(search.find(q), searched_pair(l, q)) << when << ": " << u8(q);
            }
        }
    };
    expect_as_searched(list, "indexed");
    set_ctype_locale("C");
    expect_as_searched(list, "LOCALE C", false);
    reset_ctype_locale();
    // A list that changed after it was indexed (a filed word), and one out of order.
    store.push_back(cp("масичка"));
    list.insert(list.begin() + 3, ListPair{store.back().c_str(), {}});
    expect_as_searched(list, "changed");
    std::swap(list[10], list[4000]);
    word_index(list);
    ASSERT_FALSE(built_word_index(list)->sorted());
    expect_as_searched(list, "unsorted", false);
}

}  // namespace
