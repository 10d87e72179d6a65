// The files a run generates from the tokenised text: "AUTO" and "AUTO_LOG" (rare unknown words
// replaced by their first suggestion), "OCR" (look-alike Latin letters made Cyrillic) and the
// subtitle text without time codes with "NO_TIME_CODE" and "TIME_CODE".
#include <gtest/gtest.h>

#include "engine/run/correction_files.h"
#include "lookup_fixture.h"

namespace {

class CorrectionFiles : public LookupTest {
protected:
    void SetUp() override {
        LookupTest::SetUp();
        gl_CHECK_PUNCTUATION = 0;
        load_dict(B_BULGARIAN, {"книга 4753", "зебра 9000", "и 5"});
    }
    std::string file(const char* name) { return u8(read(data.path() / name)); }
};

TEST_F(CorrectionFiles, AutoReplacesOnlyRareLowerCaseWordsWithASuggestion) {
    gl_AUTO_SPELL = 1;
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"книгъ и зебра", "книга и зебра"},                       // replaced
        {"книгъ и книгъ", "книга и книга"},                       // twice: still rare
        {"книгъ и книгъ и книгъ", "книгъ и книгъ и книгъ"},       // three times: kept
        {"Книгъ и зебра", "Книгъ и зебра"},                       // capitalised: kept
        {"щщщщщщ и зебра", "щщщщщщ и зебра"},                     // no suggestion: kept
        {"книгъ,\rи  зебра.\r", "книга,\rи  зебра.\r"},           // gaps as the panel gives them
    };
    for (const Case& c : cases) {
        check(c.text);
        EXPECT_EQ(file("AUTO.txt"), c.expected) << c.text;
    }
    check("книгъ и зебра");
    EXPECT_EQ(file("AUTO_LOG.txt"), "книгъ -> книга\t\t|книгъ| и зебра\r\n");
}

TEST_F(CorrectionFiles, AutoLogContextSpansElevenRecordsWithLineBreaksAsOnePilcrow) {
    gl_AUTO_SPELL = 1;
    const std::string long_word(100, 'x');
    check("и и и и и и и\r\rкнигъ " + long_word + " и и и и и и");
    const std::string line = file("AUTO_LOG.txt");
    const std::string pilcrow = u8(std::string(1, static_cast<char>(kPilcrow)));
    EXPECT_EQ(line, "книгъ -> книга\t\tи и и и и" + pilcrow + "|книгъ|  и и и и\r\n");
}

TEST_F(CorrectionFiles, OcrRepairsLookAlikesOnlyInWordsWithoutOtherLatinLetters) {
    gl_AUTO_OCR = 1;
    load_dict(B_OCRSKIP, {"Kaрта"});
    struct Case {
        const char* text;
        int crlf, lf;
        const char* expected;
    };
    const Case cases[] = {
        {"кнuга зeбра", 0, 0, "книга зебра"},       // u, e look like и, е
        {"zебра Hello Kaрта", 0, 0, "zебра Hello Kaрта"},  // z, l: no look-alike; skip list
        {"кнuга\rред", 1, 0, "книга\r\nред"},
        {"кнuга\rред", 0, 1, "книга\nред"},
    };
    for (const Case& c : cases) {
        gl_0D0A = static_cast<std::int8_t>(c.crlf);
        gl_0A = static_cast<std::int8_t>(c.lf);
        check(c.text);
        EXPECT_EQ(file("OCR.txt"), c.expected) << c.text;
    }
}

TEST_F(CorrectionFiles, SubtitleBlocksLoseNumbersAndTimeCodes) {
    gl_MACHINE_TRANSLATION = 1;
    gl_STRIP_TIMECODE = 1;
    const std::string text =
        "1\r00:00:01,000 --> 00:00:02,000\rHello there\r\r2\r00:00:03,000 --> 00:00:04,000\rSecond line\rmore";
    check(text);
    ASSERT_TRUE(last_run.steps & RUN_SUBTITLE_TEXT);
    std::string second;
    for (const SenToken* r = sen_floorS; r < sen_ndS; ++r) second += u8(r->gap) + u8(r->text);
    EXPECT_EQ(second, "Hello there\r\rSecond line\rmore");
    EXPECT_EQ(file("NO_TIME_CODE.txt"), second);
    EXPECT_EQ(file("TIME_CODE.txt"), text);
}

}  // namespace
