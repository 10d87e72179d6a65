// Entry text for display, the sentence key and the neighbourhood of a key in a list.
#include "lex_test_util.h"
#include "lexicon/corpora.h"
#include "lexicon/entry_text.h"

namespace {

TEST(EntryText, NumberSignsBecomeNumbersAndPartsRomanNumerals) {
    std::string d;
    number_signs_to_numbers("n # one # two @ v # three # four", d);
    EXPECT_EQ(d, "n 1. one 2. two I. v 1. three 2. four");
    number_signs_to_numbers("plain text", d);
    EXPECT_EQ(d, "") << "nothing converted: the caller uses the source";
    std::string many = "x";
    for (int i = 0; i < 11; ++i) many += " @ p";
    number_signs_to_numbers(many, d);
    EXPECT_NE(d.find(" IX. p X?. p X?. p"), std::string::npos) << d;
    number_signs_to_numbers("#1 not a sense", d);
    EXPECT_EQ(d, "");
}

TEST(EntryText, ProvenanceLabelsAreRemoved) {
    EXPECT_EQ(remove_bulk_labelW(u"куче [BULK] dog (M2) (E) [AUTO] [B] (M) (M3)"), u"куче dog");
    EXPECT_EQ(remove_bulk_labelW(u"[BULK] stays without the blank"), u"[BULK] stays without the blank");
    std::u16string huge(40000, u'a');
    EXPECT_EQ(remove_bulk_labelW(huge).size(), 32767u);
}

TEST(EntryText, TranscriptionSubstitutesBecomeIpa) {
    std::u16string t = cp1251_to_utf16(cp("b`d [§ip] ±pl ¶bout"));
    ReplaceAChars(t);
    EXPECT_EQ(t, u"b\u025C\u02D0d [\u0283ip] \u00E6pl \u0259bout");
    std::u16string plain = u"nothing to do";
    ReplaceAChars(plain);
    EXPECT_EQ(plain, u"nothing to do");
}

TEST_F(LexTest, SentencesBecomeKeysAndDisplayTexts) {
    std::string phrase = cp("  The  well-\rknown\rman\t said ");
    std::string display;
    EXPECT_EQ(normailize_sentence(phrase, display), 1);
    EXPECT_EQ(display, "The well-known man\t said");
    EXPECT_EQ(phrase, "The_well-known_man__said");
    phrase = "it\x92s";
    normailize_sentence(phrase, display);
    EXPECT_EQ(phrase, "it's");
    EXPECT_EQ(display, "it\x92s");
}

TEST_F(LexTest, LineBreaksBlanksAndTabsOfAPhrase) {
    const struct {
        std::string phrase, display, key;
    } cases[] = {
        {"\r\ra", "a", "a"},
        {"a-\r\rb", "a- b", "a-_b"},        // only the line break right after the hyphen goes
        {"-\rx", "-x", "-x"},
        {"a \r b", "a b", "a_b"},
        {"a\t \tb", "a\t \tb", "a___b"},   // tabs are not blanks until the key is made
        {"x  ", "x", "x"},
        {"   ", "", ""},
        {"\r", "", ""},
        {"a\r\r\rb\r", "a b", "a_b"},
        {std::string(3'000, 'w'), std::string(2'047, 'w'), std::string(3'000, 'w')},
    };
    // The same buffers for every phrase, as a caller that reuses them has.
    std::string phrase, display = "old display";
    for (const auto& c : cases) {
        phrase = c.phrase;
        EXPECT_EQ(normailize_sentence(phrase, display), 1) << c.phrase;
        EXPECT_EQ(display, c.display) << c.phrase;
        EXPECT_EQ(phrase, c.key) << c.phrase;
    }
}

TEST_F(LexTest, TwoTabsKeepTheDisplayFormAndWarnOnce) {
    std::string phrase = "a\t\tb";
    std::string display;
    EXPECT_EQ(normailize_sentence(phrase, display), 0);
    EXPECT_EQ(phrase, "a\t\tb");
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(hs->message_boxes[0].caption, u"Oops!");
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes[0].text), "Повече от една табулация! Оправете текста и опитайте пак.");
    phrase = "c\t\td";
    normailize_sentence(phrase, display);
    EXPECT_EQ(hs->message_boxes.size(), 1u);
}

TEST_F(LexTest, TheNeighbourhoodOfAKey) {
    data.write("b_en-bg.txt", "a 1\nb 2\nc 3\nd\ne 5\nf 6\ng 7\n");
    load_dictionaries(data.path());
    std::string d;
    long offset = -1;
    int index = -1, found = -1;
    EXPECT_EQ(GetRichChunk("D", b[B_EN_BG].entries, d, 2, offset, index, found), 4);
    EXPECT_EQ(d, "b 2\nc 3\nd\ne 5\n");
    EXPECT_EQ(offset, 8);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(found, 1);
    // A missing key: the lines around its place.
    EXPECT_EQ(GetRichChunk("bb", b[B_EN_BG].entries, d, 1, offset, index, found), 2);
    EXPECT_EQ(d, "b 2\nc 3\n");
    EXPECT_EQ(index, 1);
    EXPECT_EQ(found, 0);
    // Near the start of the list the key's line comes early.
    GetRichChunk("a", b[B_EN_BG].entries, d, 110, offset, index, found);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(offset, 0);
    // Past the end.
    GetRichChunk("zz", b[B_EN_BG].entries, d, 3, offset, index, found);
    EXPECT_EQ(d, "e 5\nf 6\ng 7\n");
    EXPECT_EQ(offset, static_cast<long>(d.size()));
    EXPECT_EQ(found, 0);
}

TEST_F(LexTest, TheBulgarianNeighbourhoodCarriesTheAnalyses) {
    data.write("b_bulgarian.txt", "град 100\nжена\n");
    data.write("bgtypes2/_D2_ungrouped_sorted.txt", kTestForms);
    load_lexicon(data.path());
    std::string d;
    long offset = 0;
    int index = 0, found = 0;
    GetRichChunkBg(cp("жена"), b[B_BULGARIAN].entries, d, 5, offset, index, found);
    EXPECT_EQ(u8(d), "град 100 (град 1 noun suf:0)\nжена (жена 41 noun suf:0)\n");
    EXPECT_EQ(found, 1);
    EXPECT_EQ(index, 1);
}


// The neighbourhood text is kept within its 2 MiB: lines are whole, and the count, the key's line
// and its offset describe the text that was written.
TEST_F(LexTest, TheNeighbourhoodStopsAtItsLimitWithWholeLines) {
    const std::string big(900'000, 'x');
    data.write_raw("b_en-bg.txt", "a " + big + "\r\nb " + big + "\r\nc " + big + "\r\nd 4\r\ne 5\r\n");
    load_dictionaries(data.path());
    ASSERT_EQ(b[B_EN_BG].count, 5u);
    std::string d;
    long offset = -1;
    int index = -1, found = -1;
    const int lines = GetRichChunk("d", b[B_EN_BG].entries, d, 3, offset, index, found);
    EXPECT_LE(d.size(), RICH_CHUNK_MAX);
    const auto newlines = static_cast<int>(std::count(d.begin(), d.end(), '\n'));
    EXPECT_EQ(lines, newlines) << "the count is that of the lines written";
    // The lines are the first ones of the neighbourhood, up to the first that does not fit.
    EXPECT_TRUE(d == "a " + big + "\nb " + big + "\n") << d.size() << " bytes";
    EXPECT_EQ(found, 1);
    EXPECT_EQ(index, lines);
    EXPECT_EQ(offset, static_cast<long>(d.size()));
}

}  // namespace
