// The English suffix stripper: the suffix table, the length rule, the row conditions and each
// stem restoration.
#include <set>

#include "spell_fixture.h"
#include "spelling/suffix_en.h"

namespace {

struct Split {
    int found;
    std::string stem, suffix;
    const ListPair* entry;
};

Split split(std::string_view word) {
    Split s{};
    s.stem = "junk";
    s.suffix = "junk";
    s.found = issuffix(word, s.stem, s.suffix, &s.entry);
    return s;
}

}  // namespace

TEST(SuffixTable, HoldsTheTwoHundredSuffixesByLength) {
    const auto table = english_suffix_table();
    EXPECT_EQ(table.size(), 200u);
    int per_length[11] = {};
    std::set<std::string_view> distinct;
    std::size_t previous = 0;
    for (const SuffixRule& r : table) {
        ASSERT_GE(r.suffix.size(), 1u);
        ASSERT_LE(r.suffix.size(), 10u);
        EXPECT_GE(r.suffix.size(), previous) << r.suffix << " breaks the shortest-first order";
        previous = r.suffix.size();
        ++per_length[r.suffix.size()];
        EXPECT_TRUE(distinct.insert(r.suffix).second) << r.suffix << " twice";
        const std::set<std::string_view> steps = {"P", "PE", "PY", "PEY", "PER", "PEYR", "PT", "PR"};
        EXPECT_TRUE(steps.count(r.steps)) << r.suffix << " has steps " << r.steps;
    }
    const int expected[11] = {0, 1, 5, 25, 35, 37, 29, 26, 19, 13, 10};
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(per_length[k], expected[k]) << "suffixes of " << k << " letters";
}

class SuffixTest : public SpellTest {};

TEST_F(SuffixTest, LengthRuleNeedsKPlusFourLetters) {
    load_eng({"cat 50", "box 60", "make 70", "horse 80", "write 90"});
    EXPECT_EQ(split("cats").found, 0);       // 4 letters: "s" needs 5
    EXPECT_EQ(split("boxes").found, 0);      // 5 letters: "es" needs 6
    EXPECT_EQ(split("making").found, 0);     // 6 letters: "ing" needs 7
    const Split h = split("horses");
    EXPECT_EQ(h.found, 1);
    EXPECT_EQ(h.stem, "horse");
    EXPECT_EQ(h.suffix, "s");
    ASSERT_NE(h.entry, nullptr);
    EXPECT_EQ(h.entry->rest, "80");
    const Split w = split("writing");
    EXPECT_EQ(w.found, 1);
    EXPECT_EQ(w.stem, "write");
    EXPECT_EQ(w.suffix, "e->ing");
}

TEST_F(SuffixTest, NothingFoundLeavesStemAndSuffixEmpty) {
    load_eng({"horse 80"});
    const Split s = split("zebraxes");
    EXPECT_EQ(s.found, 0);
    EXPECT_EQ(s.stem, "");
    EXPECT_EQ(s.suffix, "");
    EXPECT_EQ(s.entry, nullptr);
    EXPECT_EQ(split("").found, 0);
}

TEST_F(SuffixTest, RowConditionsOfSAndEs) {
    load_eng({"glass 1", "church 3", "epoch 4", "waltz 5", "bus 6"});
    EXPECT_EQ(split("glasss").found, 0);  // "s" not after s
    Split s = split("glasses");
    EXPECT_EQ(s.stem, "glass");
    EXPECT_EQ(s.suffix, "es");
    s = split("churches");  // ends in "ches"
    EXPECT_EQ(s.stem, "church");
    EXPECT_EQ(s.suffix, "es");
    EXPECT_EQ(split("epochs").found, 0);   // "s" not in a word ending "chs"
    EXPECT_EQ(split("waltzs").found, 0);   // "s" not after z
    EXPECT_EQ(split("buses").found, 0);  // 5 letters: too short for "es"
}

TEST_F(SuffixTest, ItyNotAfterBl) {
    load_eng({"stable 1", "rapid 2"});
    EXPECT_EQ(split("stablity").found, 0);
    const Split s = split("rapidity");
    EXPECT_EQ(s.stem, "rapid");
    EXPECT_EQ(s.suffix, "ity");
}

TEST_F(SuffixTest, YRestorations) {
    load_eng({"happy 10", "study 11", "beauty 12", "stud 13"});
    Split s = split("happiness");
    EXPECT_EQ(s.stem, "happy");
    EXPECT_EQ(s.suffix, "y->iness");
    // The plain stem comes before the Y step.
    s = split("studies");
    EXPECT_EQ(s.stem, "stud");
    EXPECT_EQ(s.suffix, "ies");
    // In a group with E, Y follows E under E's condition.
    s = split("beautify");
    EXPECT_EQ(s.stem, "beauty");
    EXPECT_EQ(s.suffix, "y->ify");
}

TEST_F(SuffixTest, YConditionsDifferByGroup) {
    // Group "ies" (no E): Y is not tried after a, e, o or i, but is after y.
    load_eng({"flaiy 1", "flayy 2"});
    EXPECT_EQ(split("flaiies").found, 0);
    EXPECT_EQ(split("flayies").stem, "flayy");
    // Group "ify" (with E): Y is not tried after y, but is after i.
    load_eng({"grayy 1", "grain 2", "graiy 3"});
    EXPECT_EQ(split("grayify").found, 0);
    EXPECT_EQ(split("graiify").stem, "graiy");
}

TEST_F(SuffixTest, EIsNotAddedAfterAEOY) {
    load_eng({"agreee 1", "echoe 2", "obeye 3", "whine 4"});
    EXPECT_EQ(split("agreeing").found, 0);
    EXPECT_EQ(split("echoing").found, 0);
    EXPECT_EQ(split("obeying").found, 0);
    const Split s = split("whining");
    EXPECT_EQ(s.stem, "whine");
    EXPECT_EQ(s.suffix, "e->ing");
}

TEST_F(SuffixTest, ReplacedEndings) {
    load_eng({"direction 1"});
    Split s = split("directory");
    EXPECT_EQ(s.stem, "direction");
    EXPECT_EQ(s.suffix, "ion->ory");
    load_eng({"direction 1", "director 2"});
    s = split("directory");
    EXPECT_EQ(s.stem, "director");
    EXPECT_EQ(s.suffix, "or->ory");
    load_eng({"brewer 1"});
    EXPECT_EQ(split("brewery").suffix, "er->ery");

    load_eng({"italia 1"});
    s = split("Italian");
    EXPECT_EQ(s.stem, "Italia");
    EXPECT_EQ(s.suffix, "ia->ian");

    load_eng({"cigaret 1"});
    s = split("cigarette");
    EXPECT_EQ(s.stem, "cigaret");
    EXPECT_EQ(s.suffix, "et->ette");

    load_eng({"ambition 1", "ambitial 2"});
    EXPECT_EQ(split("ambitious").suffix, "ion->ious");
    load_eng({"ambitial 2", "ambitity 3"});
    EXPECT_EQ(split("ambitious").suffix, "ity->ious");
    load_eng({"ambitial 2"});
    s = split("ambitiously");
    EXPECT_EQ(s.stem, "ambitial");
    EXPECT_EQ(s.suffix, "ial->iously");
}

TEST_F(SuffixTest, TionReplacesTheLastLetterByE) {
    load_eng({"compose 5", "reduce 6"});
    const Split s = split("composition");
    EXPECT_EQ(s.stem, "compose");
    EXPECT_EQ(s.suffix, "e->tion");
    EXPECT_EQ(split("reduction").found, 0);  // "reduc" -> "redue", not "reduce"
}

TEST_F(SuffixTest, ShortestSuffixFirstAndCaseIgnored) {
    load_eng({"hopeful 1", "hope 2"});
    Split s = split("HOPEFULLY");
    EXPECT_EQ(s.stem, "HOPEFUL");  // "ly" (2 letters) before "fully" (5)
    EXPECT_EQ(s.suffix, "ly");
    load_eng({"hope 2"});
    s = split("HOPEFULLY");
    EXPECT_EQ(s.stem, "HOPE");
    EXPECT_EQ(s.suffix, "fully");
}

TEST_F(SuffixTest, LongestSuffixes) {
    load_eng({"care 1", "home 2"});
    Split s = split("carelessnesses");  // 14 letters, "lessnesses" needs 14
    EXPECT_EQ(s.stem, "care");
    EXPECT_EQ(s.suffix, "lessnesses");
    EXPECT_EQ(split("homelessnesse").found, 0);
}
