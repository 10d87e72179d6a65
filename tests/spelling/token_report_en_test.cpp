// The English word sets, the apostrophe endings and the token report.
#include "spell_fixture.h"
#include "spelling/token_report_en.h"

class TokenReportTest : public SpellTest {};

TEST_F(TokenReportTest, SetLabelsInSearchOrderForeignLast) {
    load_set(0, {"paris 5"});
    load_set(1, {"paris"});
    load_set(7, {"paris"});
    load_set(9, {"paris"});
    load_set(16, {"paris"});
    std::string labels = "junk";
    EXPECT_EQ(isinset("Paris", labels), 0);
    EXPECT_EQ(labels, "Eng, Eng2, place, informal, foreign");
    EXPECT_EQ(isinset("nowhere", labels), 0);
    EXPECT_EQ(labels, "");
    EXPECT_EQ(isinset("", labels), 0);
    EXPECT_EQ(labels, "");
}

TEST_F(TokenReportTest, CapFlagOfProperNames) {
    load_set(0, {"china 5"});
    load_set(7, {"china", "texas"});
    load_set(12, {"pop"});
    std::string labels;
    // Lower case, in a proper-name set and in Eng, not in b_capit: no capital needed.
    EXPECT_EQ(isinset("china", labels), 0);
    EXPECT_EQ(labels, "Eng, !place");
    // Lower case, in a proper-name set and not in Eng.
    EXPECT_EQ(isinset("texas", labels), 1);
    EXPECT_EQ(labels, "!place");
    // Capitalised: no "!" and no flag.
    EXPECT_EQ(isinset("Texas", labels), 0);
    EXPECT_EQ(labels, "place");
    // In b_capit: the proper-name set and any other set ask for the capital.
    load_capit({"china", "pop"});
    EXPECT_EQ(isinset("china", labels), 1);
    EXPECT_EQ(isinset("pop", labels), 1);
    EXPECT_EQ(labels, "culture");
    EXPECT_EQ(isinset("Pop", labels), 0);

    std::string report, classes;
    token_suggest("texas", report, classes);
    EXPECT_EQ(classes, " (CAP !place)");
    token_suggest("Texas", report, classes);
    EXPECT_EQ(classes, " (place)");
    EXPECT_EQ(report, "Texas (place)\r\n");
}

TEST_F(TokenReportTest, ApostropheEndings) {
    load_set(0, {"running 9", "dogs 10", "fox 11", "it 12", "he 13", "we 14", "o'clock 15"});
    load_set(1, {"running"});
    std::string copy, labels;
    EXPECT_EQ(isapostrophe("runnin'", copy, labels), 0);
    EXPECT_EQ(copy, "running");
    EXPECT_EQ(labels, "Eng, Eng2, in' -> ing, (only Eng & Eng2 sets checked");
    EXPECT_EQ(isapostrophe("jumpin'", copy, labels), 0);
    EXPECT_EQ(copy, "jumping");
    EXPECT_EQ(labels, "");
    EXPECT_EQ(isapostrophe("in'", copy, labels), 2);
    EXPECT_EQ(copy, "in'");
    EXPECT_EQ(isapostrophe("dogs'", copy, labels), 1);
    EXPECT_EQ(copy, "dogs");
    EXPECT_EQ(labels, "Eng");
    EXPECT_EQ(isapostrophe("fox'", copy, labels), 1);
    EXPECT_EQ(copy, "fox");
    EXPECT_EQ(isapostrophe("it's", copy, labels), 1);
    EXPECT_EQ(copy, "it");
    EXPECT_EQ(isapostrophe("HE'D", copy, labels), 1);
    EXPECT_EQ(copy, "HE");
    EXPECT_EQ(labels, "Eng");
    EXPECT_EQ(isapostrophe("we'll", copy, labels), 1);
    EXPECT_EQ(copy, "we");
    EXPECT_EQ(isapostrophe("you've", copy, labels), 1);
    EXPECT_EQ(copy, "you");
    EXPECT_EQ(labels, "");
    EXPECT_EQ(isapostrophe("o'clock", copy, labels), 2);
    EXPECT_EQ(copy, "o'clock");
    EXPECT_EQ(labels, "Eng");
    EXPECT_EQ(isapostrophe("'", copy, labels), 2);
    EXPECT_EQ(isapostrophe("''''", copy, labels), 2);
    EXPECT_EQ(isapostrophe("", copy, labels), 2);
    EXPECT_EQ(copy, "");
}

TEST_F(TokenReportTest, ApostropheCopyIsCut) {
    load_set(0, {"x 1"});
    std::string copy, labels;
    const std::string word = std::string(20000, 'k') + "'s";
    EXPECT_EQ(isapostrophe(word, copy, labels), 1);
    EXPECT_EQ(copy.size(), kSpellTextMax);
}

TEST_F(TokenReportTest, WordInEngHasNoReport) {
    load_set(0, {"house 100"});
    load_set(8, {"house"});
    std::string report = "junk", classes = "junk";
    const Suggestions sg = token_suggest("house", report, classes);
    EXPECT_EQ(report, "");
    EXPECT_EQ(classes, " (Eng, abbr)");
    EXPECT_EQ(sg.suggest_ct, 0);
    EXPECT_EQ(sg.spelling, "");
}

TEST_F(TokenReportTest, UnknownWordWithAndWithoutSuggestions) {
    load_set(0, {"house 100", "mouse 200"});
    std::string report, classes;
    token_suggest("hous", report, classes);
    EXPECT_EQ(report,
              "hous (NO set) (suggest: house) (suggest extra: 1. house (add e 5) (rank 100))\r\n");
    EXPECT_EQ(classes, "");
    token_suggest("qqqqqq", report, classes);
    EXPECT_EQ(report, "qqqqqq (NO set) (NO SPELLING SUGGESTIONS)\r\n");
}

TEST_F(TokenReportTest, ForeignOnlyWord) {
    load_set(0, {"cafe 100"});
    load_set(9, {"cafez"});
    std::string report, classes;
    token_suggest("cafez", report, classes);
    EXPECT_EQ(classes, " (foreign)");
    EXPECT_EQ(report, "cafez (NO set, but foreign) (suggest: cafe) (suggest extra: 1. cafe (drop last z 5) (rank 100))\r\n");
    token_suggest("cafeq", report, classes);
    EXPECT_EQ(report, "cafeq (NO set) (suggest: cafe) (suggest extra: 1. cafe (drop last q 5) (rank 100))\r\n");
}

TEST_F(TokenReportTest, ApostropheTokens) {
    load_set(0, {"dog 10", "cat 20"});
    std::string report, classes;
    token_suggest("dog's", report, classes);
    EXPECT_EQ(report, " -- dog's (dog is Eng)\r\n");
    token_suggest("catt's", report, classes);
    EXPECT_EQ(report, "catt's (suggest: cat) (suggest extra: 1. cat (drop last t 4) (rank 20)) (catt NO set)\r\n");
    token_suggest("zzz'q", report, classes);
    EXPECT_EQ(report, "zzz'q (zzz'q has apos)\r\n");
    token_suggest("walkin'", report, classes);
    EXPECT_EQ(report, "walkin' (walking is NOT English, in' -> ing, other sets not checked)\r\n");
}

TEST_F(TokenReportTest, HyphenatedTokenAllPartsGood) {
    load_set(0, {"well 10", "known 20"});
    std::string report, classes;
    token_suggest("well-known", report, classes);
    EXPECT_EQ(report,
              "   well-known  sub->well (Eng)\r\n"
              "   well-known  sub->known (Eng)\r\n"
              "   well-known (all 2 subtokens are GOOD, no spell checking needed)\r\n");
}

TEST_F(TokenReportTest, HyphenatedTokenWithBadParts) {
    load_set(0, {"a 1", "b 2", "well 10", "known 20"});
    std::string report, classes;
    token_suggest("a--b", report, classes);
    EXPECT_EQ(report,
              "   a--b  sub->a (Eng)\r\n"
              "   a--b  sub->b (Eng)\r\n"
              "   a--b (all 2 subtokens are GOOD, no spell checking needed)\r\n");
    const Suggestions sg = token_suggest("well-knwn-zqx", report, classes);
    EXPECT_EQ(report,
              "   well-knwn-zqx  sub->well (Eng)\r\n"
              "   well-knwn-zqx  sub->knwn (NO set) (suggest: known) (suggest extra: 1. known (add o 3) (rank 20))\r\n"
              "   well-knwn-zqx  sub->zqx (NO set) (NO SPELLING SUGGESTIONS)\r\n"
              "well-knwn-zqx  2 BAD part(s) out of 3,\r\n");
    EXPECT_EQ(sg.suggest_ct, 0) << "the answer is the last run's (zqx)";
}

TEST_F(TokenReportTest, HyphenatedTokenWithApostrophePart) {
    load_set(0, {"rock 10", "roll 20"});
    std::string report, classes;
    token_suggest("rock-n'", report, classes);
    EXPECT_EQ(report,
              "   rock-n'  sub->rock (Eng)\r\n"
              "   rock-n'  sub->n' (n' has apos)\r\n"
              "rock-n'  1 BAD part(s) out of 2,\r\n");
}

TEST_F(TokenReportTest, TokensOfOnlyMarks) {
    load_set(0, {"a 1"});
    std::string report, classes;
    token_suggest("---", report, classes);
    EXPECT_EQ(report,
              "   ---  sub-> (NO set) (NO SPELLING SUGGESTIONS)\r\n"
              "---  1 BAD part(s) out of 1,\r\n");
    token_suggest("", report, classes);
    EXPECT_EQ(report, " (NO set) (NO SPELLING SUGGESTIONS)\r\n");
    token_suggest("'''", report, classes);
    EXPECT_EQ(report, "''' (''' has apos)\r\n");
    token_suggest("12\x06" "3", report, classes);
    EXPECT_EQ(report, "12\x06" "3 (NO set) (NO SPELLING SUGGESTIONS)\r\n");
}
