// The separator tests: the line-break summary and the two sentence-end tests, by their tables.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/separators.h"
#include "lexicon/tables.h"
#include "shell/reset.h"

namespace {

class Separators : public ::testing::Test {
protected:
    void SetUp() override {
        reset_shell();
        reset_lexicon();
    }
};

int eos(const std::string& s) { return IsEndOfSentence(s.c_str()); }
int eosnl(const std::string& s) { return IsEndOfSentenceNewLine(s.c_str()); }

LineEndInfo info(const char* s) {
    LineEndInfo i;
    std::memset(&i, 0xAB, sizeof i);  // every field must be written
    GetEmptyInfo(&i, s);
    return i;
}

TEST_F(Separators, LineEndInfoSetsExactlyOneKindAndCountsCarriageReturns) {
    for (const char* s : {"", "  "}) {
        const LineEndInfo i = info(s);
        EXPECT_EQ(i.no_break, 1) << '"' << s << '"';
        EXPECT_EQ(i.only_lf + i.only_cr + i.crlf, 0);
        EXPECT_EQ(i.cr_count, 0u);
        EXPECT_EQ(i.crlf_count, 0u);
    }
    LineEndInfo i = info(".\n\n");
    EXPECT_EQ(i.only_lf, 1);
    EXPECT_EQ(i.only_cr + i.crlf + i.no_break, 0);
    EXPECT_EQ(i.cr_count, 0u);

    i = info("\r\r");
    EXPECT_EQ(i.only_cr, 1);
    EXPECT_EQ(i.crlf + i.only_lf + i.no_break, 0);
    EXPECT_EQ(i.cr_count, 2u);
    EXPECT_EQ(i.crlf_count, 0u);

    i = info("\r\n\r\n");
    EXPECT_EQ(i.crlf, 1);
    EXPECT_EQ(i.only_cr + i.only_lf + i.no_break, 0);
    EXPECT_EQ(i.cr_count, 2u);
    EXPECT_EQ(i.crlf_count, 2u);

    i = info("\r\r\n");
    EXPECT_EQ(i.crlf, 1);
    EXPECT_EQ(i.cr_count, 2u);
    EXPECT_EQ(i.crlf_count, 2u);

    i = info(nullptr);
    EXPECT_EQ(i.no_break, 1);
}

TEST_F(Separators, SentenceEndOfTheDescribedEdgeCases) {
    EXPECT_EQ(eos(". "), 1);
    EXPECT_EQ(eos("; "), 1);
    EXPECT_EQ(eos(", "), 0);
    EXPECT_EQ(eos("."), 0);
    EXPECT_EQ(eos(".  "), 0);
    EXPECT_EQ(eos(".\" "), 1);
    EXPECT_EQ(eos(".\x94 "), 0);
    EXPECT_EQ(eos(".\x94"), 1);
    EXPECT_EQ(eos("\r\r"), 1);
    EXPECT_EQ(eos(" \r"), 0);
    EXPECT_EQ(eos(". \r"), 1);
    EXPECT_EQ(eos(", \r"), 0);
    EXPECT_EQ(eos("  xx [* yy"), 1);
    EXPECT_EQ(IsEndOfSentence(nullptr), -1);
    EXPECT_EQ(IsEndOfSentenceNewLine(nullptr), -1);
}

TEST_F(Separators, EveryRuleOfTheSentenceEndTable) {
    // One separator per rule, in the table's order; each matches no earlier rule.
    const char* yes[] = {
        "! ",          // 1
        "?\n",         // 2
        ":\"",         // 3
        ".\r\n",       // 4
        ";\n\t",       // 5
        ". \x93",      // 6
        ".\r\n\t",     // 7
        ".\r- ",       // 8
        "!\n -",       // 9
        ". \x97 ",     // 10
        "?' x",        // 11
        "  x.\r  ",    // 12 (mark before the break)
        "  x\x85\r",   // 12 (ellipsis before the break)
        "  x\x94\n",   // 12 (closing quote before a lone LF)
        "  ,\r\r",     // 13
        "ab\n\n",      // 13 with LF LF
        "  x. \r",     // 14
        "x\x94 \r",    // 14 with the closing quote
        "\x93. xx",    // 15
        ":\x93\r",     // 16
        ".\x93 xy",    // 17
        "?\x93.",      // 18
        "; \x84xx",    // 19
        ".* ",         // 20
        "\x85 \x97",   // 21
        ". _a",        // 22
        "._\r",        // 23
        "_! ",         // 24
        "_]\n",        // 25
        "xx[* ",       // 26
    };
    for (const char* s : yes) EXPECT_EQ(IsEndOfSentence(s), 1) << "rule for \"" << s << "\"";

    const char* no[] = {
        ", \x93",    // 6 needs a sentence mark
        ",\n",       // 2 needs a sentence mark
        ". - ",      // 8 needs a line break after the mark
        "x\r",       // 12: before the break stands a letter
        "\rx",       // 12: the break is the first character
        "x  \r",     // 14: before the blank stands a blank
        ",_ ",       // 23 needs a sentence mark
        "x_]\n",     // 25 compares the first three characters
        "[*x",       // 26 needs the blank
        ". x",       // three characters, no rule
        "?\x93,",    // 18 needs a dot third
    };
    for (const char* s : no) EXPECT_EQ(IsEndOfSentence(s), 0) << "\"" << s << "\"";
}

TEST_F(Separators, WholeStringRulesCompareTheWholeSeparator) {
    EXPECT_EQ(eos("! "), 1);
    EXPECT_EQ(eos("! x"), 0);       // rule 1 needs exactly two characters
    EXPECT_EQ(eos(".\r\nx"), 1);    // not rule 4 (length), but rule 12 finds the mark before CR
    EXPECT_EQ(eos(". \x97 x"), 0);  // rule 10 needs exactly four characters
    EXPECT_EQ(eos("?' xyz"), 1);    // rule 11 looks at the first three only
}

TEST_F(Separators, LongSeparatorsAreCutOrRefused) {
    std::string s(129, ' ');
    s[0] = '.';
    EXPECT_EQ(eos(s), 0);  // longer than 128: never an end
    EXPECT_EQ(eosnl(". " + std::string(127, ' ')), 0);
    std::string s128(128, 'x');
    s128[126] = '.';
    s128[127] = '\r';  // the 128th character is not examined
    EXPECT_EQ(eos(s128), 0);
    s128[125] = '.';
    s128[126] = '\r';
    EXPECT_EQ(eos(s128), 1);  // the break at 127 is within the copy
    std::string s127(127, 'x');
    s127[125] = '.';
    s127[126] = '\r';
    EXPECT_EQ(eos(s127), 1);
}

TEST_F(Separators, SentenceEndWithNewLine) {
    EXPECT_EQ(eosnl(".\r"), 1);
    EXPECT_EQ(eosnl("!\n"), 1);
    EXPECT_EQ(eosnl(";\r"), 0);  // the semicolon is no main mark
    EXPECT_EQ(eosnl("?\r\n"), 1);
    EXPECT_EQ(eosnl(".\r\t"), 1);
    EXPECT_EQ(eosnl(".\r\n\t"), 1);
    EXPECT_EQ(eosnl(". \r"), 0);
    EXPECT_EQ(eosnl(".\r\r"), 0);
    EXPECT_EQ(eosnl(". "), 0);
}

}  // namespace
