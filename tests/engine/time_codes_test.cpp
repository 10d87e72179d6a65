// Subtitle time codes: the translation put back into its source's frame, and the time codes taken
// out of a text. Texts are written with '\n' for readability; the panels' line end is a single CR.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/time_codes.h"
#include "engine_fixture.h"

namespace {

// CP1251 text with every '\n' turned into the panels' CR.
std::string r(std::string_view utf8) {
    std::string s = cp(utf8);
    std::replace(s.begin(), s.end(), '\n', '\r');
    return s;
}

class TimeCodes : public EngineTest {
protected:
    // Runs the merge; `result` receives the returned offset.
    std::string mix(std::string& translation, std::string_view source) {
        std::string out;
        result = mix_many_time_codes(translation, source, out);
        return out;
    }
    std::size_t result = 99;
};

const std::string kThreeBlocks = r(
    "1\n00:00:01,000 --> 00:00:02,000\nHello there\n\n"
    "2\n00:00:03,000 --> 00:00:04,000\nHow are you\n\n"
    "3\n00:00:05,000 --> 00:00:06,000\nFine thanks");

TEST_F(TimeCodes, OneParagraphIsCutIntoTheSourceBlocksByWordCount) {
    std::string tr = cp("едно две три четири пет шест седем осем девет десет");
    const std::string out = mix(tr, kThreeBlocks);
    const std::string header1 = r("1\n00:00:01,000 --> 00:00:02,000\n");
    EXPECT_EQ(out, header1 + r("едно две три\n\n2\n00:00:03,000 --> 00:00:04,000\nчетири пет шест\n\n"
                               "3\n00:00:05,000 --> 00:00:06,000\nседем осем девет десет"));
    EXPECT_EQ(result, header1.size());  // where the first translated text begins
    // The re-split text replaces the translation: 3, 3 and 4 words.
    EXPECT_EQ(tr, r("едно две три\n\nчетири пет шест\n\nседем осем девет десет"));
}

TEST_F(TimeCodes, EqualBlockCountsArePairedInOrderWithoutResplitting) {
    std::string tr = r("Здравей там\n\nКак си\nти\n\nДобре");
    const std::string before = tr;
    const std::string out = mix(tr, kThreeBlocks);
    EXPECT_EQ(tr, before);
    EXPECT_EQ(out, r("1\n00:00:01,000 --> 00:00:02,000\nЗдравей там\n\n2\n00:00:03,000 --> 00:00:04,000\n"
                     "Как си\nти\n\n3\n00:00:05,000 --> 00:00:06,000\nДобре"));
}

TEST_F(TimeCodes, HyphenatedWordIsJoinedAndLinesFlattenedBeforeTheCut) {
    const std::string source = r("1\n00:01 --> 00:02\nA\n\n2\n00:03 --> 00:04\nB");
    std::string tr = r("пре-\nвод на\nтекста");
    mix(tr, source);
    EXPECT_EQ(tr, r("пре-вод\n\nна текста"));  // 3 words into 2 blocks: 1, and 1 + the one left over
    std::string empty_line = r("едно\n\nдве три");  // no block end for a source of two: flattened
    std::string src3 = r("1\n00:01 --> 00:02\nA\n\n2\n00:03 --> 00:04\nB\n\n3\n00:05 --> 00:06\nC");
    mix(empty_line, src3);
    EXPECT_EQ(empty_line, r("едно\n\nдве\n\nтри"));
}

TEST_F(TimeCodes, ShortStyleTagStaysInTheHeaderAndLongTagIsDroppedFromTheTranslation) {
    std::string tr = r("<i>Здравей</i>");
    std::string out = mix(tr, r("1\n00:01 --> 00:02\n<i>Hello</i>"));
    EXPECT_EQ(out, r("1\n00:01 --> 00:02\n<i><i>Здравей</i>"));
    EXPECT_EQ(result, r("1\n00:01 --> 00:02\n<i>").size());

    tr = r("<font color=\"#ffff00\">Здравей</font>\n\n<font x>Свят");
    out = mix(tr, r("1\n00:01 --> 00:02\n<font color=\"#ffff00\">Hello</font>\n\n2\n00:03 --> 00:04\n<b>World"));
    EXPECT_EQ(out, r("1\n00:01 --> 00:02\n<font color=\"#ffff00\">Здравей</font>\n\n2\n00:03 --> 00:04\n<b><font x>Свят"));
}

TEST_F(TimeCodes, TitleBeforeTheFirstBlockTakesTheFirstTranslatedBlockWithoutHeader) {
    std::string tr = r("Заглавие\n\nА\n\nБ");
    const std::string out = mix(tr, r("Title\n\n1\n00:01 --> 00:02\nA\n\n2\n00:03 --> 00:04\nB"));
    EXPECT_EQ(out, r("Заглавие\n\n1\n00:01 --> 00:02\nА\n\n2\n00:03 --> 00:04\nБ"));
    EXPECT_EQ(result, 0u);
}

TEST_F(TimeCodes, SourceWithoutTimeCodesGivesTheTranslationUnchanged) {
    // Paragraph breaks of a plain source never re-split the translation, whatever its blocks.
    const struct {
        const char* translation;
        const char* source;
    } cases[] = {
        {"първи\n\nвтори", "plain\n\ntext"},
        {"първи\n\nвтори", ""},
        {"a b c", "x\n\ny"},
        {"една дълга\nмисъл", "x\n\ny\n\nz"},
        {"a b c d", "x\n\n\ny"},
    };
    for (const auto& c : cases) {
        std::string tr = r(c.translation);
        EXPECT_EQ(mix(tr, r(c.source)), r(c.translation)) << c.translation << " / " << c.source;
        EXPECT_EQ(tr, r(c.translation)) << "the translation itself stays as it was";
        EXPECT_EQ(result, 0u);
    }
}

TEST_F(TimeCodes, TagWithoutClosingBracketIsReportedOnceAndTheMergeGoesOn) {
    std::string tr = r("А\n\nБ");
    const std::string source = r("1\n00:01 --> 00:02\n<i Hello\n\n2\n00:03 --> 00:04\n<b World");
    const std::string out = mix(tr, source);
    EXPECT_EQ(out, r("1\n00:01 --> 00:02\nА\n\n2\n00:03 --> 00:04\nБ"));
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    const RecordedMessageBox& box = hs->message_boxes[0];
    EXPECT_EQ(utf16_to_utf8(box.text), "Wrong tag! No matching '>'\r\r" + u8(source));
    EXPECT_EQ(box.caption, u"Done!");
    EXPECT_EQ(box.owner, HWND{});
    EXPECT_TRUE(box.flags & MB_ICONINFORMATION);
}

TEST_F(TimeCodes, FewerWordsThanBlocksGiveOneWordABlock) {
    std::string tr = cp("две думи");
    const std::string out = mix(tr, r("1\n00:01 --> 00:02\nA\n\n2\n00:03 --> 00:04\nB\n\n3\n00:05 --> 00:06\nC"));
    EXPECT_EQ(tr, r("две\n\nдуми"));
    EXPECT_EQ(out, r("1\n00:01 --> 00:02\nдве\n\n2\n00:03 --> 00:04\nдуми"));
    std::string none;
    EXPECT_EQ(mix(none, r("1\n00:01 --> 00:02\nA\n\n2\n00:03 --> 00:04\nB")), r("1\n00:01 --> 00:02\n"));
}

TEST_F(TimeCodes, OutputGrowsWithItsInput) {
    const std::string block(600, 'x');
    std::string tr = block + "\r\r" + block + "\r\r" + block;
    const std::string out = mix(tr, kThreeBlocks);
    EXPECT_GT(out.size(), 1'800u);
    EXPECT_EQ(std::count(out.begin(), out.end(), 'x'), 1'800);
    EXPECT_EQ(out.substr(out.size() - 600), block);
}

TEST_F(TimeCodes, BrokenBlocksGiveDefinedResults) {
    // A block without text lines, and a time-code line that ends the source.
    std::string tr = r("А\n\nБ\n\nВ");
    EXPECT_EQ(mix(tr, r("1\n00:01 --> 00:02\n\n2\n00:03 --> 00:04\nB\n\n3\n00:05 --> ")),
              r("1\n00:01 --> 00:02\nА\n\n2\n00:03 --> 00:04\nБ\n\n3\n00:05 --> В"));
    // An arrow without its blanks is no time code; more translation than source blocks is appended.
    tr = r("А\n\nБ");
    EXPECT_EQ(mix(tr, r("1\n00:01 -->00:02\nA")), r("А\n\nБ"));
    tr = r("А\n\nБ\n\nВ");
    EXPECT_EQ(mix(tr, r("1\n00:01 --> 00:02\nA")), r("1\n00:01 --> 00:02\nА\n\nБ\n\nВ"));
}

TEST(RemoveTimeCode, BlocksAfterTheFirstBecomeABlankAndTheirText) {
    std::string t = r("A\n\n2\n00:00:01,000 --> 00:00:02,000\nB");
    remove_time_code(t);
    EXPECT_EQ(t, "A B");

    t = r("1\n00:00 --> 00:01\nHello\n\n2\n00:02 --> 00:03\nWorld\n\n3\n00:04 --> 00:05\nAgain");
    remove_time_code(t);
    EXPECT_EQ(t, r("1\n00:00 --> 00:01\nHello World Again"));  // the first header stays
}

TEST(RemoveTimeCode, TextsWithoutBlocksAreLeftAlone) {
    for (std::string_view s : {"no codes\n\nhere", "", "A\n\n2\n00:01 --> 00:02", "A --> B\n\nC"}) {
        std::string t = r(s);
        const std::string before = t;
        remove_time_code(t);
        EXPECT_EQ(t, before) << s;
    }
}

TEST(RemoveTimeCode, EmptyLineNotFollowedByABlockHeaderKeepsTheTextBeforeTheBlock) {
    std::string t = r("A\n\nB\n\n2\n00:01 --> 00:02\nC");
    remove_time_code(t);
    EXPECT_EQ(t, r("A\n\nB C"));
}

}  // namespace
