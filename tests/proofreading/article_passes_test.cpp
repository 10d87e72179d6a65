// The article passes: the full article after a preposition, the short article after and before a
// form of "съм" and at a sentence start, over a small lexicon of masculine nouns and adjectives.
#include "bg_proof_fixture.h"

#include "engine/proofreading/article_passes.h"
#include "engine/proofreading/proof_words.h"

namespace {

class Articles : public BgProofTest {
protected:
    void SetUp() override {
        BgProofTest::SetUp();
        load_forms({"град град 0 0", "града град 0 1", "градът град 0 2", "учител учител 47 0",
                    "учителя учител 47 1", "учителят учител 47 2", "нов нов 140 0", "новия нов 140 1",
                    "новият нов 140 2", "жена жена 85 0", "жената жена 85 1", "чичо чичо 76 0",
                    "чичото чичо 76 1", "чичовци чичо 76 2", "кол кол 0 0", "кола кол 0 1", "колът кол 0 2",
                    "лака лак 0 1", "лакът лак 0 2",
                    "чай чай 47 0", "чая чай 47 1", "чаят чай 47 2", "чая чая 303 0", "е съм 228 2",
                    "си съм 228 1", "съм съм 228 0", "са съм 228 5", "сме съм 228 3", "сте съм 228 4",
                    "чете чета 300 2", "двама двама 206 0"});
        load_dict(B_BULGARIAN_COMMA1, {"в", "без", "преди", "вместо", "като", "на"});
    }
};

TEST_F(Articles, FindingsOfTheFourPasses) {
    struct Case {
        int row;
        const char* text;
        const char* findings;  // the lines under the title; "" when the pass reports nothing
    };
    const Case cases[] = {
        // Full article after a preposition: noun and adjective, the first letter kept.
        {2, "Той живее в градът.", "в градът -> в града\n"},
        {2, "Той живее в Градът.", "в Градът -> в Града\n"},
        {2, "Живее в новият град.", "в новият -> в новия\n"},
        {2, "Тръгна без учителят.", "без учителят -> без учителя\n"},
        {2, "Тръгна без учителят да чака.", ""},
        {2, "Тръгна вместо учителят, сам, да чака.", ""},  // "да" after blanks and commas
        {2, "Тръгна преди учителят; да чака.", "преди учителят -> преди учителя\n"},  // another mark ends the look
        {2, "Дойде тъй като учителят.", ""},
        {2, "Видя го като учителят няма.", ""},
        {2, "Той е като учителят чете.", ""},
        {2, "Удари се в лакът.", ""},  // the one word excepted, though it looks like лак with its article
        // A line end after the preposition: the noun with the word after it, or the noun alone.
        {2, "Живее в\rградът голям сам.", "градът голям -> града голям\n"},
        {2, "Живее в\rградът\rсам.", "градът -> града\n"},
        // Short article after a form of съм.
        {3, "Той е учителя.", "е учителя -> е учителят\n"},
        {3, "Ти си учителя.", "си учителя -> си учителят\n"},
        {3, "Той си учителя.", ""},
        {3, "Те са учителя.", ""},
        {3, "Вие сте учителя.", ""},
        {3, "Това е кола.", ""},
        {3, "Това е чичото.", ""},
        {3, "Той е Учителя.", ""},
        {3, "Той ли е учителя.", ""},
        {3, "Чете е учителя.", ""},  // a verb before the form of съм
        // Short article on the subject before a form of съм; the first record is left to the next pass.
        {4, "Вчера учителя е тук.", "учителя е -> учителят е\n"},
        {4, "Учителя е тук.", ""},
        {4, "Там кола е.", ""},
        {4, "Живее двама учителя е.", ""},
        {4, "Кой? учителя е тук.", ""},  // a sentence's start is the next pass's
        {4, "Той дойде... учителя е тук.", "учителя е -> учителят е\n"},  // an ellipsis ends no sentence
        {4, "Живее в учителя е.", ""},
        {4, "Вчера учителя са тук.", ""},
        {4, "Видя ТВ учителя е тук.", ""},
        {4, "Има ли учителя е тук.", ""},
        {4, "Вчера Учителя е тук.", ""},
        // Sentence-initial subject.
        {5, "Учителя е тук.", "Учителя е -> Учителят е\n"},
        {5, "Кой е там? Учителя чете.", "Учителя чете -> Учителят чете\n"},
        {5, "Дойде! Учителя чете.", "Учителя чете -> Учителят чете\n"},
        {5, "Дойде; Учителя чете.", "Учителя чете -> Учителят чете\n"},
        {5, "Видя ТВ. Учителя чете.", ""},
        {5, "Учителя го видя.", ""},
        {5, "Чая е тук.", "Чая е -> Чаят е\n"},
        {5, "Чая които е тук.", ""},
        {5, "Учителя вчера го видя.", ""},
        {5, "Учителя вчера, му го даде.", "Учителя вчера -> Учителят вчера\n"},
        {5, "Той дойде... Учителя чете.", ""},
    };
    for (const Case& c : cases) {
        const std::string title = utf16_to_utf8(pass_order[static_cast<std::size_t>(c.row)].title);
        const std::string want = *c.findings ? title + "\n" + c.findings : "";
        EXPECT_EQ(block(c.text, c.row), want) << c.text;
    }
}

TEST_F(Articles, SentenceStartColoursAndLineBreak) {
    // One type: red whatever FIND_ARTICLES says; several types: only with it, and grey.
    gl_FIND_ARTICLES = 0;
    EXPECT_NE(block("Учителя е тук.", 5), "");
    EXPECT_EQ(report_fmt("Учителя е ->"), (Fmt{PR_CONTEXT, true, false}));
    EXPECT_EQ(block("Чая е тук.", 5), "");
    gl_FIND_ARTICLES = 1;
    EXPECT_NE(block("Чая е тук.", 5), "");
    EXPECT_EQ(report_fmt("Чая е ->"), (Fmt{0x7F7F7F, true, false}));
    EXPECT_EQ(report_fmt(" -> Чаят"), (Fmt{PR_SUGGESTION, false, false}));

    // A line end between the subject and the next word: the two words with one blank, and the
    // subject's last letter marked.
    EXPECT_EQ(block("Кой е там. Учителя\rчете.", 5),
              utf16_to_utf8(pass_order[5].title) + "\nУчителя чете -> Учителят чете\n");
    EXPECT_EQ(report_fmt("Учителя чете", 6), (Fmt{PR_LINE_BREAK, true, false}));
    EXPECT_EQ(report_fmt("Учителя чете", 5), (Fmt{PR_CONTEXT, true, false}));
    // The passes mark nothing in the source.
    EXPECT_EQ(marked(), "");

    // Subtitles: a line's first word follows its time code; with a capital it starts a sentence.
    const std::string subs = "1\r00:00:01,000 --> 00:00:02,000\rДобре.\r\r2\r00:00:03,000 --> 00:00:04,000\r";
    EXPECT_EQ(block(subs + "Учителя е тук.", 5), utf16_to_utf8(pass_order[5].title) + "\nУчителя е -> Учителят е\n");
    EXPECT_EQ(block(subs + "учителя е тук.", 5), "");
}

TEST_F(Articles, ListedWordsAreNotReported) {
    ASSERT_EQ(article_look_alikes.size(), 51u);
    ASSERT_EQ(article_ordinals.size(), 25u);
    ASSERT_EQ(article_time_words.size(), 6u);
    // Every look-alike and every ordinal is made a masculine short-article form for the test.
    std::vector<std::string> forms = {"колът кол 0 2", "първият първи 140 2", "е съм 228 2"};
    for (const std::string& w : article_look_alikes.words()) forms.push_back(u8(w) + " кол 0 1");
    for (const std::string& w : article_ordinals.words()) forms.push_back(u8(w) + " първи 140 1");
    {
        std::ofstream f(data.path() / "bgtypes2" / kWordFormFile, std::ios::binary);
        for (const std::string& l : forms) f << cp(l) << "\r\n";
    }
    ASSERT_EQ(load_word_forms(data.path()), 1);
    std::string other;
    for (const std::string& w : article_look_alikes.words()) {
        ASSERT_TRUE(article_candidate(w.c_str(), 1, 2, other)) << u8(w);
        EXPECT_EQ(block("Той е " + u8(w) + " тук.", 3), "") << u8(w);
        EXPECT_EQ(block("Вчера " + u8(w) + " е тук.", 4), "") << u8(w);
    }
    // An ordinal is no subject before a time word; before another word it is.
    const auto& times = article_time_words.words();
    for (std::size_t i = 0; i < article_ordinals.words().size(); ++i) {
        const std::string o = u8(article_ordinals.words()[i]);
        EXPECT_EQ(block("Сега. " + o + " " + u8(times[i % times.size()]) + " мина.", 5), "") << o;
        EXPECT_NE(block("Сега. " + o + " човек мина.", 5), "") << o;
    }
}

}  // namespace
