// The numbering of a run's spellings: equal bytes share a number and different bytes (letter case
// too) do not, through the table's growth; a run's passes share one numbering of the same records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/proofreading/token_spellings.h"
#include "engine/token_store.h"

namespace {

std::vector<SenToken> records(const std::vector<std::string>& texts) {
    std::vector<SenToken> r;
    for (const std::string& t : texts) r.push_back(SenToken{t.c_str(), glZero, 0});
    return r;
}

TEST(TokenSpellingsTest, EqualBytesShareANumber) {
    std::vector<std::string> texts = {"\xE4\xF3\xEC\xE0", "\xC4\xF3\xEC\xE0", "\xE4\xF3\xEC\xE0", "", "x", ""};
    // Enough distinct spellings, each twice, for the table to grow several times.
    for (int i = 0; i < 5000; ++i) texts.push_back("w" + std::to_string(i % 2500));
    const std::vector<SenToken> r = records(texts);
    const TokenSpellings sp(r.data(), r.data() + r.size());
    ASSERT_EQ(sp.records(), texts.size());
    EXPECT_EQ(sp.count(), 4u + 2500u);
    EXPECT_EQ(sp.id(0), 0u);
    EXPECT_EQ(sp.id(1), 1u);  // the capital makes another spelling
    EXPECT_EQ(sp.id(2), 0u);
    EXPECT_EQ(sp.id(3), sp.id(5));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(sp.text(sp.id(i)), texts[i]) << i;
        if (i >= 6) {
            EXPECT_EQ(sp.id(i), sp.id(6 + (i - 6) % 2500)) << i;
        }
    }
}

TEST(TokenSpellingsTest, PassesOfARunShareTheNumbering) {
    const std::vector<std::string> texts = {"a", "b", "a"};
    const std::vector<SenToken> r = records(texts);
    const SenToken* floor = r.data();
    const SenToken* nd = r.data() + r.size();
    {
        const PassSpellings one(floor, nd), two(floor, nd);
        EXPECT_NE(&*one, &*two);  // no run open: each pass numbers for itself
        EXPECT_NE(spellings_of(floor, nd).get(), &*one);
    }
    const RunSpellings run;
    const PassSpellings one(floor, nd), two(floor, nd), part(floor, nd - 1);
    EXPECT_EQ(&*one, &*two);
    EXPECT_EQ(spellings_of(floor, nd).get(), &*one);  // the run's answers about its words use them too
    EXPECT_NE(&*one, &*part);  // other records: numbered apart
    EXPECT_EQ(part->records(), 2u);
    EXPECT_EQ(two->count(), 2u);
}

}  // namespace

namespace {

// A word set kept as bits: every added word is held in either letter case; few others are.
TEST(FoldedWordsTest, HoldsItsWordsInEitherCaseAndFewOthers) {
    FoldedWords words(std::size_t{1} << 14);
    for (int i = 0; i < 200; ++i) words.add("\xE4\xF3\xEC\xE0" + std::to_string(i));  // "дума" + i
    for (int i = 0; i < 200; ++i) {
        EXPECT_TRUE(words.may_hold("\xE4\xF3\xEC\xE0" + std::to_string(i))) << i;
        EXPECT_TRUE(words.may_hold("\xC4\xD3\xCC\xC0" + std::to_string(i))) << i;  // "ДУМА" + i
    }
    int others = 0;
    for (int i = 200; i < 2200; ++i) others += words.may_hold("\xE4\xF3\xEC\xE0" + std::to_string(i)) ? 1 : 0;
    EXPECT_LT(others, 100);
}

}  // namespace
