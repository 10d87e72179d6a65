// The answers a proof-reading run keeps about the words of store 1 (WordFacts): the same as the
// look-ups' own for every record, spellings repeated in any letter case, records beyond the store;
// and answers found before the word-form index or b_bulgarian was loaded again are not given after;
// the same with the form look-ups' memo open, which finds all the run's spellings at once.
#include "proof_fixture.h"

#include <optional>

#include "engine/proofreading/article_passes.h"
#include "engine/proofreading/proof_words.h"
#include "engine/proofreading/token_spellings.h"
#include "lexicon/morphology.h"
#include "lexicon/bgtypes.h"
#include "lexicon/tables.h"

namespace {

class WordFactsTest : public ProofTest {
protected:
    void SetUp() override {
        ProofTest::SetUp();
        load_forms({"стол стол 0 0", "стола стол 0 1", "столът стол 0 2", "добрия добър 140 1", "добрият добър 140 2", "маса маса 85 0", "масата маса 85 1", "хубав хубав 140 0",
                    "хубава хубав 140 3", "е съм 228 2", "са съм 228 5", "отиде отида 300 8", "пеещ пея 300 47",
                    "жени жена 85 2", "жени женя 300 1", "софия софия 484 0"});
        load_dict(B_BULGARIAN, {"маса", "е", "стол"});
        load_dict(B_BULGARIAN_COMMA1, {"в", "на"});
    }
    // Every answer of the record through the run and through the look-ups themselves, in one line each.
    static std::pair<std::string, std::string> answers(const ProofRun& run, const SenToken* p) {
        std::string kept, own;
        for (int f = 0; f < static_cast<int>(WordFact::Count); ++f)
            kept += std::to_string(word_fact(run, p, static_cast<WordFact>(f))) + " ";
        const char* w = p->text;
        own = std::to_string(TypeHas(w, BGT_SUM)) + " " + std::to_string(TypeHasAscii(w, ascii_verb)) + " " +
              std::to_string(IsOnlyAsciiType(w, ascii_noun)) + " " + std::to_string(IsTypeProperOnly(w)) + " " +
              std::to_string(GetType(w)) + " " + std::to_string(IsTypeVerbNotAdjOnly(w)) + " " +
              std::to_string(known_bg(w)) + " " + std::to_string(in_b_row(B_BULGARIAN_COMMA1, w)) + " ";
        NounAdjInfo a, b;
        const int kn = run_noun_info(run, p, a), ka = run_adj_info(run, p, b);
        kept += std::to_string(kn) + "/" + std::to_string(a.gender) + "/" + std::to_string(a.slot) + " " +
                std::to_string(ka) + "/" + std::to_string(b.gender) + "/" + std::to_string(b.definite);
        const int on = GetNounInfo(a, -1, w), oa = GetAdjInfo(b, -1, w);
        own += std::to_string(on) + "/" + std::to_string(a.gender) + "/" + std::to_string(a.slot) + " " +
               std::to_string(oa) + "/" + std::to_string(b.gender) + "/" + std::to_string(b.definite);
        // The two questions of the article passes: full article to short and short to full.
        for (const auto& [slot, other_slot] : {std::pair{2, 1}, std::pair{1, 2}}) {
            std::string other = "left over";
            kept += " " + std::to_string(run_article_candidate(run, p, slot, other_slot, other)) + other;
            own += " " + std::to_string(article_candidate(w, slot, other_slot, other)) + other;
        }
        return {kept, own};
    }
    ProofRun cut(std::string_view utf8) {
        const auto punct = gl_CHECK_PUNCTUATION;
        gl_CHECK_PUNCTUATION = 0;
        check(utf8);
        gl_CHECK_PUNCTUATION = punct;
        return proof_run(hBigReRight, hBigReLeft, last_run.processed);
    }
};

TEST_F(WordFactsTest, AnswersAsTheLookUpsForEveryRecord) {
    const ProofRun run = cut("Стол е маса, СТОЛ и стол са хубава маса. Жени отиде пеещ в софия; Маса масата МАСА е е.");
    ASSERT_TRUE(run.facts);
    ASSERT_GE(run.nd - run.floor, 20);
    for (int twice = 0; twice < 2; ++twice)
        for (const SenToken* p = run.floor; p < run.nd + 2; ++p) {
            const auto [kept, own] = answers(run, p);
            EXPECT_EQ(kept, own) << u8(p->text) << " twice " << twice;
        }
}

// With the memo of the form look-ups open (as a run has it), with and without the index's form hash,
// within the run's numbering of spellings and with some spellings asked of the memo before the run
// (its record found, or its analyses read too), the answers are those the look-ups give with no memo.
TEST_F(WordFactsTest, AnswersAsTheLookUpsWithTheMemoOpen) {
    const char* text = "Стола е добрия, СТОЛЪТ на добрият стол; столът Добрия ДОБРИЯ жени пеещ xyz стола ДОБРИЯТ.";
    for (const bool hashed : {true, false})
        for (const bool numbered : {true, false})
            for (const bool asked_before : {false, true}) {
                SCOPED_TRACE(std::string(hashed ? "hashed" : "searched") + (numbered ? " numbered" : "") +
                             (asked_before ? " asked before" : ""));
                load_forms({"стол стол 0 0", "стола стол 0 1", "столът стол 0 2", "добрия добър 140 1", "добрият добър 140 2",
                            "е съм 228 2", "жени жена 85 2", "жени женя 300 1", "пеещ пея 300 47"});
                if (!hashed) reset_lemma_index();  // the form hash goes with it: look-ups search
                ProofRun run = cut(text);
                ASSERT_GE(run.nd - run.floor, 15);
                std::vector<std::string> own;
                for (const SenToken* p = run.floor; p < run.nd; ++p) own.push_back(answers(run, p).second);
                const FormMemo memo;
                if (asked_before) {
                    EXPECT_EQ(GetType(cp("жени")), 85);
                    EXPECT_EQ(TypeHasAscii(cp("добрия"), ascii_verb), -1);
                    EXPECT_EQ(GetType(cp("xyz")), -1);
                }
                std::optional<RunSpellings> spellings;
                if (numbered) spellings.emplace();
                run.facts = std::make_shared<WordFacts>(run.floor, run.nd);
                for (int twice = 0; twice < 2; ++twice)
                    for (const SenToken* p = run.floor; p < run.nd; ++p)
                        EXPECT_EQ(answers(run, p).first, own[static_cast<std::size_t>(p - run.floor)]) << u8(p->text);
            }
}

TEST_F(WordFactsTest, ForgetsWhatAnIndexLoadedAgainNoLongerSays) {
    const ProofRun run = cut("маса е стол");
    const SenToken* masa = run.floor;
    ASSERT_EQ(u8(masa->text), "маса");
    EXPECT_EQ(word_fact(run, masa, WordFact::NounOnly), 1);
    EXPECT_EQ(word_fact(run, masa, WordFact::Known), 1);
    EXPECT_EQ(word_fact(run, masa + 1, WordFact::Sum), 1);
    load_forms({"маса маса 140 0"});
    load_dict(B_BULGARIAN, {"стол"});
    EXPECT_EQ(word_fact(run, masa, WordFact::NounOnly), 0);
    EXPECT_EQ(word_fact(run, masa, WordFact::VerbRow), -1);
    EXPECT_EQ(word_fact(run, masa, WordFact::Known), 0);
    EXPECT_EQ(word_fact(run, masa + 1, WordFact::Sum), 0);
    NounAdjInfo info;
    EXPECT_EQ(run_adj_info(run, masa, info), 1);
}

}  // namespace
