// The demonstration lexicon of data/demo loads cleanly and its word forms agree with its types.
#include "../lexicon/lex_test_util.h"
#include "lexicon/corpora.h"
#include "lexicon/english.h"
#include "lexicon/morphology.h"
#include "lexicon/wordclass.h"

namespace {

class DemoTest : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        ASSERT_GT(load_lexicon(JUX_DEMO_DIR), 20);
    }
};

TEST_F(DemoTest, EveryFileIsSound) {
    EXPECT_EQ(lexicon_load_report.skipped_lines, 0u);
    EXPECT_EQ(lexicon_load_report.duplicates, 0u);
    EXPECT_GE(b[B_EN_BG].count, 300u);
    EXPECT_GE(bgmul_ct, 1000u);
    EXPECT_TRUE(hs->message_boxes.empty());
    // Each list file is sorted already, as the program writes them.
    for (const DictFileRecord& r : b) {
        if (!r.sort) continue;
        for (size_t i = 1; i < r.entries.size(); ++i) {
            EXPECT_LE(cp_strcasecmp(r.entries[i - 1].key, r.entries[i].key), 0) << r.name;
        }
    }
}

TEST_F(DemoTest, EveryWordFormIsMadeByItsTypeAndLeadsBackToItsLemma) {
    int checked = 0;
    for (size_t i = 0; i < bgmul_ct; ++i) {
        const BgFormRecord& r = bgmul_bottom[i];
        BgAnalysis an[16];
        const int n = bg_analyses(r, an, 16);
        for (int k = 0; k < n; ++k) {
            std::string form;
            ASSERT_EQ(GetBgForm(an[k].lemma, an[k].type, an[k].slot, form), 1) << u8(r.form);
            EXPECT_EQ(cp_strcasecmp(form, r.form), 0) << u8(form) << " / " << u8(r.form);
            std::string lemma;
            EXPECT_EQ(GetBgLemma(r.form, an[k].type, lemma), an[k].type);
            EXPECT_EQ(lemma, std::string(an[k].lemma)) << u8(r.form);
            ++checked;
        }
    }
    EXPECT_GE(checked, 1000);
}

TEST_F(DemoTest, IndefiniteNounsRoundTrip) {
    for (const char* w : {"градовете", "учителят", "книгите", "нощта", "селото", "морета"}) {
        std::string indefinite, lemma_of_form, lemma_of_indefinite;
        ASSERT_EQ(GetNechlenuvanNoun(cp(w), indefinite), 1) << w;
        GetBgLemma(cp(w), -1, lemma_of_form);
        GetBgLemma(indefinite, -1, lemma_of_indefinite);
        EXPECT_EQ(lemma_of_form, lemma_of_indefinite) << w;
        NounAdjInfo info;
        ASSERT_EQ(GetNounInfo(info, -1, indefinite), 1);
        EXPECT_EQ(info.definite, 0) << u8(indefinite);
    }
}

TEST_F(DemoTest, WordsWithSeveralAnalysesAndVerbForms) {
    EXPECT_GE(PrintBgTypeAuto_CtOnly(cp("бързо")), 2) << "adjective and adverb";
    EXPECT_EQ(IsTypeVerbSHTOnly(cp("четящ")), 1);
    EXPECT_EQ(IsTypeVerbSHTOnly(cp("прочетящ")), 0) << "perfective verbs have no such participle";
    EXPECT_GE(TypeHasAscii(cp("пиша"), ascii_verb_az), 228);
    EXPECT_GE(TypeHasAscii(cp("прочета"), ascii_verb_da), 228);
    EXPECT_EQ(GetType(cp("е")), 228) << "\"е\" is a form of съм";
    EXPECT_EQ(TypeHas(cp("не"), 453), 1);
}

TEST_F(DemoTest, EnglishSideAnswers) {
    EXPECT_LT(GetRankInt("the"), 10);
    EXPECT_EQ(GetRankInt("mice"), 500000);
    std::string stem;
    const ListPair* p = find_pair(std::span<const ListPair>(b[B_EN_BG].entries), "children");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(GetStem(p->rest, stem), 1);
    EXPECT_EQ(stem, "child");
    EXPECT_EQ(is_in_c_set("black_box"), 1);
    EXPECT_NE(find_sentence(csq_glob[0], "who_is_there"), nullptr);
}

}  // namespace
