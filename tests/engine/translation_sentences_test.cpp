// The machine translation's sentences: where they end, the whole-sentence look-up in the corpora
// and lists, the output of sentences found whole, the filter, the parallel display and the
// counters.
#include "translation_fixture.h"

namespace {

class SentenceTest : public TranslationTest {
protected:
    void SetUp() override {
        TranslationTest::SetUp();
        file("b_en-bg.txt", {"no. номер"});
        file("b_capit.txt", {"Paris Париж"});
        list("cs_11", {"Good_morning.\tДобро утро.", "no.\tНе.", "I_am_here.\tТук съм.", "Nice_house.\tХубава къща."});
        list("cs_cust11", {"I_am_here.\tАз съм тук."});
        list("cse_11", {"Hello!\tЗдравей!", "Nice_house!\tКаква къща!"});
        list("csq_11", {"Who_is_there?\tКой е там?"});
        list("csc_11", {"Who_is_there,\tКой ли е там,"});
        list("c_one11", {"Thanks Благодаря"});
        list("z_place1", {"London Лондон"});
        list("c_c11", {"house къща"});
        load();
    }
    static std::vector<std::string> lines() { return panel_lines(hMachineRe); }
};

TEST_F(SentenceTest, SentencesAreCutAndLookedUpWhole) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Good morning.", {"Добро утро."}},
        {"Good morning!", {"Добро утро!"}},           // no exclamation: the statement serves
        {"Good morning?", {"Good morning?"}},         // a question takes no statement
        {"Who is there?", {"Кой е там?"}},            // a question before a comma sentence
        {"Hello.", {"Здравей."}},                     // no statement: the exclamation serves
        {"Nice house!", {"Каква къща!"}},             // an exclamation before a statement
        {"Nice house.", {"Хубава къща."}},
        {"I am here.", {"Аз съм тук."}},              // the user's own corpus wins
        {"Thanks.", {"Благодаря."}},                  // whole-sentence word-class list
        {"Paris.", {"Париж."}},                       // capitalised words
        {"London!", {"Лондон!"}},                     // name lists
        {"Good morning .", {"Добро утро ."}},         // a mark after a blank
        {"Good\rmorning.", {"Добро утро."}},          // lines without a mark are one sentence
        {"Good morning", {"Good morning"}},           // no final mark: never found whole
        {"See no. 5 now.", {"See no. 5 now."}},       // "no." before a number is an abbreviation
        {"I said no. Then I left.", {"I said no. ", "Then I left."}},
        {"No. I left.", {"Не. ", "I left."}},
        {"no.\r5 apples.", {"Не.", "5 apples."}},     // a line end splits even before a number
        {"Good morning. Hello! Who is there?", {"Добро утро. ", "Здравей! ", "Кой е там?"}},
        {"Good morning. Thanks", {"Добро утро. ", "Благодаря"}},  // a last word after the last mark
        {"house", {"къща"}},                          // one token, no mark: translated word by word
        {"House", {"Къща"}},                          // the first letter's case follows the English
    };
    for (const Case& c : cases) {
        translate(c.text);
        EXPECT_EQ(lines(), c.lines) << c.text;
    }
}

// The translator cuts "no." into a word and a mark in store 1's records; store R, which the
// checker's look-up at the caret and its exports read, keeps the tokens as cut.
TEST_F(SentenceTest, TheSplitOfNoLeavesTheCheckersStoreRAsCut) {
    translate("I said no. Then I left.");
    ASSERT_GE(store1.rec.count(), 4u);
    ASSERT_EQ(storeR.rec.count(), store1.rec.count());
    EXPECT_STREQ(sen_floor[2].text, "no");
    EXPECT_STREQ(sen_floor[3].gap, ". ");
    EXPECT_STREQ(sen_floorR[2].text, "no.");
    EXPECT_STREQ(sen_floorR[3].gap, " ");
}

TEST_F(SentenceTest, KnownSentencesAreColouredByTheirSource) {
    translate("Good morning. Thanks.");
    EXPECT_EQ(look(at("Добро")), std::make_pair(RGB(170, 42, 255), false));
    EXPECT_EQ(look(at("утро.")), std::make_pair(RGB(170, 42, 255), false));
    EXPECT_EQ(look(at("Благодаря")).first, RGB(0, 0, 0));  // a list entry is not coloured

    gl_SHOW_PARALLEL_TRANSLATION = 1;
    translate("Good   morning. Thanks.");
    // The English is shown as its display text (single blanks), blue, above its translation.
    EXPECT_EQ(panel8(hMachineRe), "Good morning. \rДобро утро. \rThanks.\rБлагодаря.\r");
    EXPECT_EQ(look(at("Good")), std::make_pair(RGB(0, 85, 255), false));
    EXPECT_EQ(look(at("Thanks")).first, RGB(0, 85, 255));
    EXPECT_EQ(look(at("утро")).first, RGB(170, 42, 255));
}

TEST_F(SentenceTest, TheFilterShowsOnlyMatchingSentences) {
    filter("morning");
    translate("Good morning. Thanks. Nice house.");
    EXPECT_EQ(lines(), (std::vector<std::string>{"Добро утро. "}));
    filter("Morning");  // known sentences: the display text, case-sensitive
    translate("Good morning. Thanks.");
    EXPECT_EQ(panel8(hMachineRe), "");
    filter("house");  // composed sentences: a unit's key as a whole word, any case
    translate("Thanks. My house is here. A housewife.");
    EXPECT_EQ(lines(), (std::vector<std::string>{"My къща is here. "}));
    EXPECT_EQ(look(at("къща")), std::make_pair(RGB(255, 0, 42), true));
    EXPECT_EQ(look(at(" is")).second, false);
    filter("   ");  // blanks alone filter nothing
    translate("Thanks. A house.");
    EXPECT_EQ(lines(), (std::vector<std::string>{"Благодаря. ", "Къща."}));  // the article is dropped
}

TEST_F(SentenceTest, ParallelDisplayOfComposedSentencesMarksTheFilterWord) {
    gl_SHOW_PARALLEL_TRANSLATION = 1;
    filter("HOUSE");
    translate("My\rhouse now.");
    // The English as typed (its own line break), then the translation with the same gaps.
    EXPECT_EQ(panel8(hMachineRe), "My\rhouse now.\rMy\rкъща now.\r");
    EXPECT_EQ(look(0), std::make_pair(RGB(0, 85, 255), false));
    EXPECT_EQ(look(at("house")), std::make_pair(RGB(255, 85, 255), true));
    EXPECT_EQ(look(at(" now")), std::make_pair(RGB(0, 85, 255), false));
    EXPECT_EQ(look(at("къща")), std::make_pair(RGB(255, 0, 42), true));
}

TEST_F(SentenceTest, CountersOfARun) {
    translate("Good morning. Thanks. I said no. Hello there! No. Well.");
    const SubtitleCounters& c = mt_counters;
    EXPECT_EQ(c.sentences, 6);
    EXPECT_EQ(c.known_sentences, 3);  // Good morning, Thanks, No
    EXPECT_EQ(c.known_of_words[0], 2);
    EXPECT_EQ(c.known_of_words[1], 1);
    EXPECT_EQ(c.known_other, 0);
    EXPECT_EQ(c.words, 2 + 1 + 3 + 2 + 1 + 1);
    EXPECT_EQ(c.words_in_known, 4);
}

TEST_F(SentenceTest, GuardsOfThePhase) {
    gl_ENGLISH_TRANSLATION = 1;
    auto words = [](int n) {
        std::string t;
        for (int i = 0; i < n; ++i) t += i ? " house" : "house";
        return t;
    };
    translate(words(3'000));
    EXPECT_EQ(panel8(hMachineRe), "");
    translate(words(2'999));
    EXPECT_EQ(panel8(hMachineRe).substr(0, 17), "къща къща");
    gl_ENGLISH_TRANSLATION = 0;

    RE_SetTextW(hMachineRe, u"old");
    type_entry("house");  // the main window's entry box is never translated
    EXPECT_EQ(panel8(hMachineRe), "old");
    gl_MACHINE_TRANSLATION = 0;
    translate("Good morning.");
    EXPECT_EQ(panel8(hMachineRe), "old");
    gl_MACHINE_TRANSLATION = 1;
    DestroyWindow(hMachine);
    translate("Good morning.");  // no window: nothing happens
    EXPECT_EQ(panel8(hMachineRe), "");
}

TEST_F(SentenceTest, BadInputGivesTranslationsWithoutOverflow) {
    // A sentence of 5,000 tokens and a text without any mark.
    std::string t;
    for (int i = 0; i < 5'000; ++i) t += i % 2 ? " house" : " xyz";
    const std::string out = translate(t);
    EXPECT_EQ(mt_counters.sentences, 1);
    EXPECT_EQ(mt_counters.words, 5'000);
    EXPECT_NE(out.find("xyz къща xyz"), std::string::npos);
    // A megabyte without a sentence mark is one sentence.
    std::string big;
    while (big.size() < (1u << 20)) big += "xyz house, ";
    translate(big);
    EXPECT_EQ(mt_counters.sentences, 1);
    EXPECT_GT(RE_GetTextLength(hMachineRe), 30'000);
    // An empty corpus file.
    list("cs_11", {});
    load();
    EXPECT_EQ(translate("Good morning."), "Good morning.\r");
}

}  // namespace

namespace {

TEST_F(SentenceTest, SubtitleBlocksKeepTheirNumbersAndTimeCodes) {
    translate("1\r00:00:01,000 --> 00:00:02,000\rGood morning.\r\r2\r00:00:03,000 --> 00:00:04,000\rThanks.\r");
    EXPECT_EQ(gl_fg_subtitle, 1);
    EXPECT_EQ(panel8(hMachineRe),
              "1\r00:00:01,000 --> 00:00:02,000\rДобро утро.\r\r2\r00:00:03,000 --> 00:00:04,000\rБлагодаря.\r");
    EXPECT_EQ(mt_counters.sentences, 2);
    EXPECT_EQ(mt_counters.known_sentences, 2);
    EXPECT_EQ(look(0).first, RGB(0, 0, 0));  // the block's number and time code are not coloured
    EXPECT_EQ(look(at("Добро")).first, RGB(170, 42, 255));
    EXPECT_EQ(look(at("утро.")).first, RGB(170, 42, 255));
    EXPECT_NE(panel8(hBigReLeft).find("Брой изречения: 2\r"), std::string::npos);
    // A sentence over two blocks is one sentence; its words are shared out over the blocks.
    translate("1\r00:00:01,000 --> 00:00:02,000\rMy\r\r2\r00:00:03,000 --> 00:00:04,000\rhouse.\r");
    EXPECT_EQ(mt_counters.sentences, 1);
    EXPECT_EQ(mt_counters.words, 2);
    EXPECT_EQ(panel8(hMachineRe), "1\r00:00:01,000 --> 00:00:02,000\rMy\r\r2\r00:00:03,000 --> 00:00:04,000\rкъща.\r");
    translate("1\r00:00:01,000 --> 00:00:02,000\rGood\r\r2\r00:00:03,000 --> 00:00:04,000\rmorning.\r");
    EXPECT_EQ(panel8(hMachineRe), "1\r00:00:01,000 --> 00:00:02,000\rДобро\r\r2\r00:00:03,000 --> 00:00:04,000\rутро.\r");
    EXPECT_EQ(look(at("Добро")).first, RGB(170, 42, 255));
    EXPECT_EQ(look(at("утро")).first, RGB(170, 42, 255));
}

}  // namespace
