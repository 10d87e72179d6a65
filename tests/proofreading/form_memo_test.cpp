// The form look-ups the proof-reader makes through a FormMemo: the same answers as without it, for
// every form of an index large enough that the memo's sampled heads matter, in every letter case;
// and a look-up after the index was loaded again inside a memo answers from the new index.
#include "word_fixture.h"

#include "lexicon/morphology.h"
#include "platform/text.h"

#include <functional>
#include <thread>

namespace {

class FormMemoTest : public WordsTest {
protected:
    // Forms sharing long heads ("предпоставка...") and short ones, so that many fall between samples.
    std::vector<std::string> forms_lines() {
        std::vector<std::string> lines;
        const char* const stems[] = {"предпоставк", "предпоставян", "пре", "а", "бързоход", "яка"};
        int n = 0;
        for (const char* s : stems)
            for (int i = 0; i < 60; ++i) {
                std::string f = s;
                for (int k = i; k > 0; k /= 7) f += u8(std::string(1, static_cast<char>(0xE0 + k % 7)));
                lines.push_back(f + " " + s + " " + std::to_string(n % 3 == 0 ? 0 : n % 3 == 1 ? 140 : 300) + " " +
                                std::to_string(i % 9));
                ++n;
            }
        return lines;
    }
    void load(const std::vector<std::string>& lines) {
        std::filesystem::create_directories(data.path() / "bgtypes2");
        jux_test::write_cp1251_lines(data.path() / "bgtypes2" / kWordFormFile, lines);
        ASSERT_EQ(load_word_forms(data.path()), 1);
    }
    // Every answer the passes read of a form, in one line.
    static std::string answers(const std::string& form) {
        const BgFormRecord* r = bg_find(form);
        NounAdjInfo noun, adj;
        std::string lemma;
        const int lemma_type = GetBgLemma(form, -1, lemma);
        const int n = GetNounInfo(noun, -1, form), a = GetAdjInfo(adj, -1, form);
        return std::string(r ? r->form : "-") + " " + std::to_string(TypeHas(form, 140)) + " " +
               std::to_string(TypeHasAscii(form, ascii_verb)) + " " + std::to_string(IsOnlyType(form, 0)) + " " +
               std::to_string(IsTypeVerbNotAdjOnly(form)) + " " + std::to_string(GetType(form)) + " " +
               std::to_string(PrintBgTypeAuto_CtOnly(form)) + " " + lemma + ":" + std::to_string(lemma_type) + " " +
               std::to_string(n) + "/" + std::to_string(noun.slot) + " " + std::to_string(a) + "/" +
               std::to_string(adj.gender);
    }
};

TEST_F(FormMemoTest, AnswersAsWithoutTheMemo) {
    std::vector<std::string> lines = forms_lines();
    lines.push_back("бързоходи бързоход 0 3");  // one form of two analyses
    lines.push_back("бързоходи бързоход 300 2");
    load(lines);
    std::vector<std::string> queries;
    for (std::string l : lines) {
        const std::string f = cp(l.substr(0, l.find(' ')));
        queries.push_back(f);
        queries.push_back(upper_word(f));
        queries.push_back(f + cp("я"));        // unknown, after the form
        queries.push_back(f.substr(0, f.size() - 1));  // a shorter spelling, maybe unknown
    }
    for (const char* q : {"", "ъъъъъъъъъъъ", "\xFF\xFF\xFF", "a", "\x01"}) queries.push_back(q);
    queries.push_back(std::string("пре\0x", 5));
    // Spellings longer than a block of the memo's kept text, between short ones.
    queries.push_back(std::string(70000, '\xE0'));
    queries.push_back(queries.front());
    queries.push_back(std::string(140000, '\xE1') + queries.front());
    queries.push_back(queries[1]);
    std::vector<std::string> plain;
    for (const std::string& q : queries) plain.push_back(answers(q));
    const FormMemo memo;
    for (int twice = 0; twice < 2; ++twice)
        for (std::size_t i = 0; i < queries.size(); ++i) EXPECT_EQ(answers(queries[i]), plain[i]) << u8(queries[i]);
}

TEST_F(FormMemoTest, AnIndexLoadedAgainIsSearchedAfresh) {
    load({"маса маса 85 0"});
    const FormMemo memo;
    EXPECT_EQ(TypeHas(cp("маса"), 85), 1);
    EXPECT_EQ(TypeHas(cp("стол"), 0), 0);
    load({"стол стол 0 0"});
    EXPECT_EQ(TypeHas(cp("маса"), 85), 0);
    EXPECT_EQ(TypeHas(cp("стол"), 0), 1);
    {
        const FormMemo inner;  // does nothing: the outer one stays
        EXPECT_EQ(TypeHas(cp("стол"), 0), 1);
    }
    EXPECT_EQ(TypeHas(cp("стол"), 0), 1);
}

// What a memo found is kept for the thread's next memo, which answers as the index answers then:
// also after the index was loaded again, or the letter case rules changed, in between.
TEST_F(FormMemoTest, TheNextMemoAnswersFromTheIndexAsItIsThen) {
    load({"маса маса 85 0"});
    const std::string small = cp("маса"), capitals = cp("МАСА"), chair = cp("стол");
    auto asked = [&] {
        const FormMemo memo;
        return std::to_string(TypeHas(small, 85)) + std::to_string(TypeHas(capitals, 85)) +
               std::to_string(TypeHas(chair, 0));
    };
    const std::string first = asked();
    EXPECT_EQ(first, "110");
    EXPECT_EQ(asked(), first);
    set_ctype_locale("C");  // capital Cyrillic letters no longer fold
    EXPECT_EQ(asked(), "100");
    reset_ctype_locale();
    EXPECT_EQ(asked(), "110");
    load({"стол стол 0 0"});
    EXPECT_EQ(asked(), "001");
}

// A text's new words are found in the index in stretches on helper threads, and the words met
// before looked up there too: every form's facts are those of the form asked alone, whichever
// thread found it, the first time and the next.
TEST_F(FormMemoTest, FormsFoundOnHelperThreadsAnswerAsAlone) {
    const std::string letters = "абвгдежзийклмнопрстуфхцчшщъьюя";  // UTF-8, two bytes a letter
    std::vector<std::string> lines, queries;
    for (int i = 0; i < 7000; ++i) {
        std::string f = "дум";
        for (int k = i; k > 0; k /= 30) f += letters.substr(static_cast<std::size_t>(k % 30) * 2, 2);
        const int type = i % 4 == 0 ? 0 : i % 4 == 1 ? 140 : i % 4 == 2 ? 300 : 85;
        lines.push_back(f + " дума " + std::to_string(type) + " " + std::to_string(i % 9));
        queries.push_back(cp(f));
        if (i % 3 == 0) queries.push_back(cp(f + "ё"));  // not in the index (no form has ё)
    }
    load(lines);
    auto facts_line = [](const FormFacts& a) {
        return std::to_string(a.sum) + " " + std::to_string(a.verb_row) + " " + std::to_string(a.noun_only) + " " +
               std::to_string(a.proper_only) + " " + std::to_string(a.type) + " " + std::to_string(a.verb_not_adj_only) +
               " " + std::to_string(a.noun_result) + "/" + std::to_string(a.noun.gender) + std::to_string(a.noun.slot) +
               " " + std::to_string(a.adj_result) + "/" + std::to_string(a.adj.gender) + std::to_string(a.adj.slot);
    };
    std::vector<std::string> alone;  // asked without a memo: the facts, then a question of the type
    for (const std::string& q : queries) {
        FormFacts a;
        form_facts(q, a);
        alone.push_back(facts_line(a) + " " + std::to_string(TypeHas(q, 85)));
    }
    std::size_t pieces_run = 0;
    const RunPieces on_threads = [&](std::size_t pieces, const std::function<void(std::size_t)>& piece) {
        std::vector<std::thread> threads;
        for (std::size_t p = 0; p < pieces; ++p) threads.emplace_back(piece, p);
        for (std::thread& t : threads) t.join();
        pieces_run += pieces;
    };
    const FormMemo memo;
    const std::vector<std::string_view> views(queries.begin(), queries.end());
    for (const char* time : {"first", "next"}) {
        std::vector<FormFacts> found(views.size());
        pieces_run = 0;
        ASSERT_EQ(memo_forms(views.data(), views.size(), found.data(), on_threads), views.size()) << time;
        EXPECT_GT(pieces_run, 2u) << time;
        // The look-ups after it answer from the records the helpers found.
        for (std::size_t i = 0; i < views.size(); ++i)
            EXPECT_EQ(facts_line(found[i]) + " " + std::to_string(TypeHas(queries[i], 85)), alone[i])
                << time << " " << u8(queries[i]);
    }
}

}  // namespace

namespace {

// A spelling given twice to the look-up that hands the forms to helper threads breaks the rule its
// answers rely on (each written from one thread): builds that keep assertions stop there (test.sh's
// builds do); a build without them has nothing to catch it with.
TEST_F(FormMemoTest, ASpellingGivenTwiceToTheHelpersIsCaught) {
#ifdef NDEBUG
    GTEST_SKIP() << "built without asserts (JUX_ASSERTS=OFF): the assert this test expects is not there";
#endif
    load(forms_lines());
    const FormMemo memo;
    const std::string twice = cp("яка"), once = cp("а");
    const std::string_view views[] = {twice, once, twice};
    FormFacts facts[3];
    EXPECT_DEATH(memo_forms(views, 3, facts), "each spelling once");
}

}  // namespace
