// The span matcher: longest and leftmost spans, the slots chosen by the neighbouring words, the
// comma corpora, the dictionary and the reverse look-up, and the untranslated tokens.
#include "translation_fixture.h"

namespace {

class SpanTest : public TranslationTest {
protected:
    void SetUp() override {
        TranslationTest::SetUp();
        list("c_c11", {"door врата", "book книга", "open откритост", "chair стол", "rose роза", "well кладенец"});
        list("c_v_az11", {"open отварям", "book резервирам", "see виждам", "well извирам"});
        list("c_two11", {"green_apple зелена ябълка", "apple_tree ябълково дърво", "red_book червена книга",
                         "red_books червен книги"});
        list("c_three11", {"big_red_book голяма червена книга"});
        list("c_adj11", {"us американски", "red червен", "big голям"});
        list("c_misc11", {"I аз", "the the"});
        list("z_name1", {"Rose Роуз"});
        list("csc_11", {"if_you_want,\tако искаш,", "in_a_while,\tслед 5, или,7 часа,"});
        list("cs,_11", {"come_tomorrow.\tела утре.", "come_now.\tела сега."});
        list("cs,e_11", {"come_now!\tхайде ела!"});
        list("cs,q_11", {"come_now?\tидваш ли?"});
        list("cs,c_11", {"come_now,\tела бързо,"});
        file("b_english_bulgarian.txt", {"car червена_кола голяма", "tree дърво", "us нас", "bus червена кола "});
        file("b_bulgarian_english_unsorted.txt", {"кораб ship", "съд ship", "лодка boat"});
        file("b_bulgarian_english.txt", {"кораб ship"});
        forms({"врата врата 85 0", "вратата врата 85 1", "книга книга 85 0", "книгата книга 85 1", "книги книга 85 2",
               "книгите книга 85 3", "червен червен 143 0", "червения червен 143 1", "червеният червен 143 2",
               "червена червен 143 3", "червената червен 143 4", "червено червен 143 5", "червеното червен 143 6",
               "червени червен 143 7", "червените червен 143 8", "дърво дърво 114 0", "дървото дърво 114 1"});
        load();
    }
};

TEST_F(SpanTest, SpansAndSlots) {
    const std::pair<const char*, const char*> cases[] = {
        {"Big red book.", "Голяма червена книга.\r"},       // a three-token phrase before its words
        {"Green apple tree.", "Зелена ябълка дърво.\r"},    // of two overlapping phrases the left one
        {"Open the door.", "Отварям вратата.\r"},           // a verb before "the"; the noun after it
        {"I see the red book.", "Аз виждам червената книга.\r"},    // the adjective's definite form
        {"I see the red books.", "Аз виждам червените книги.\r"},   // plural noun: slot 0 becomes 8
        {"I book.", "Аз резервирам.\r"},                   // after "I", "to", "can" a verb
        {"To book.", "To резервирам.\r"},
        {"He can book.", "He can резервирам.\r"},
        {"My book.", "My книга.\r"},                        // after "my", "of", "the" a noun
        {"Lots of book.", "Lots of книга.\r"},
        {"The book.", "Книгата.\r"},
        {"I see US.", "Аз виждам американски.\r"},          // "US" may be an adjective
        {"I see us.", "Аз виждам нас.\r"},                  // "us" never is
        {"I see Rose.", "Аз виждам Роуз.\r"},               // a capital inside the sentence: names first
        {"Rose is here.", "Роза is here.\r"},               // at the start: the general order
        {"Well.", "Извирам.\r"},                            // "well" alone is no noun
        {"Doors open red.", "Doors отварям червен.\r"},    // a noun before an adjective: the verb
        {"I see the tree.", "Аз виждам дървото.\r"},       // a noun from the dictionary
        {"I see xyz  now.", "Аз виждам xyz  now.\r"},       // unknown words stay, with their gaps
        {"If you want, come tomorrow.", "Ако искаш, ела утре.\r"},  // comma corpora
        {"If you want, come now!", "Ако искаш, хайде ела!\r"},     // an exclamation before a statement
        {"If you want, come now?", "Ако искаш, идваш ли?\r"},      // a question before a comma phrase
        {"If you want, come now:", "Ако искаш, ела сега:\r"},     // a colon: the statement first
    };
    for (const auto& [english, bulgarian] : cases) EXPECT_EQ(translate(english), bulgarian) << english;
}

// A dictionary text whose word count (underscores count as breaks) is more than its blank-separated
// words: the user is told once while the lists stay loaded, with the text named; the text is used
// all the same and the run goes on. A blank at the end of a text is no word.
TEST_F(SpanTest, ADictionaryTextWithAWrongWordCountIsReportedOncePerLoading) {
    const std::string told = "Няма толкова думи в дефиницията. Опитайте пак.\n\nчервена_кола голяма";
    const struct {
        const char *english, *bulgarian;
        bool reload;  // the lists loaded again first
        const char* box;
    } cases[] = {
        {"I see car. I see the tree.", "Аз виждам червена_кола голяма. \rАз виждам дървото.\r", false, told.c_str()},
        {"I see bus.", "Аз виждам червена кола .\r", false, nullptr},
        {"I see car.", "Аз виждам червена_кола голяма.\r", false, nullptr},
        {"I see car.", "Аз виждам червена_кола голяма.\r", true, told.c_str()},
    };
    for (const auto& c : cases) {
        if (c.reload) load();
        hs->message_boxes.clear();
        EXPECT_EQ(translate(c.english), c.bulgarian) << c.english;
        std::string boxes;
        for (const auto& m : hs->message_boxes) boxes += utf16_to_utf8(m.caption + u": " + m.text);
        EXPECT_EQ(boxes, c.box ? "Oops!: " + std::string(c.box) : "") << c.english;
    }
}

TEST_F(SpanTest, CommaPhrasesAreColouredAndCounted) {
    translate("If you want, come tomorrow. If you want, I see.");
    const COLORREF brown = RGB(189, 122, 39);
    EXPECT_EQ(look(at("Ако")).first, brown);
    EXPECT_EQ(look(at("искаш")).first, brown);
    EXPECT_EQ(look(at(", ела")).first, RGB(0, 0, 0));
    EXPECT_EQ(look(at("ела")).first, RGB(0, 0, 0));
    EXPECT_EQ(mt_counters.known_to_comma, 6);
    EXPECT_EQ(mt_counters.known_comma_to_mark, 2);
    // A comma with a digit before or after it does not end the phrase.
    translate("In a while, come tomorrow.");
    EXPECT_EQ(look(at("7 часа")).first, brown);
    EXPECT_EQ(look(at("ела")).first, RGB(0, 0, 0));
}

TEST_F(SpanTest, ReverseLookUpOnlyWhenNotFast) {
    EXPECT_EQ(translate("I see ship."), "Аз виждам ship.\r");
    gl_MACH_FAST = 0;
    EXPECT_EQ(translate("I see ship, boat, 12 and ко."), "Аз виждам кораб, лодка, 12 and ко.\r");
}

}  // namespace
