// The colouring of English text for translators: known runs by length, first letters by what the
// dictionaries know, the possessive and "no." rules, hard marks, and hard and rare words by band.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "dictionary/loading.h"
#include "engine/translator_colouring.h"
#include "engine_fixture.h"
#include "lexicon/display.h"

namespace {

class TranslatorColouring : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        make_stores();
        std::string runs;  // known runs of 2, 3, 4, 8, 9 and 28 words: "rNw0 rNw1 ..."
        for (int n : kRunLengths) runs += run_of(n, '_') + ".\tБ.\r\n";
        std::filesystem::create_directories(data.path() / "c");
        for (auto [rel, text] : {std::pair{"c/c_c11.txt", cp("table маса\r\n")}, std::pair{"c/hard.txt", cp("obscure x\r\n")},
                                 std::pair{"c/hard3.txt", cp("quill x\r\n")}, std::pair{"c/cs_11.txt", cp(runs)}})
            std::ofstream(data.path() / rel, std::ios::binary) << text;
        ASSERT_GT(load_word_classes(data.path()) + load_corpora(data.path()), 1);
        load_list(M_WL_ENGLISH, {"kayak 600000", "obscure 50000", "quill 8000", "rarely", "table 100", "tome 7999",
                                 "zephyr 97243"});
        load_list(M_WL_ENGLISH2, {"box", "John", "no."});  // "no." keeps its dot
        load_dict(B_ENGLISH_BULGARIAN, {"London Лондон"});
        load_dict(B_BULGARIAN_ENGLISH_UNSORTED, {"Париж Paris"});
    }
    static constexpr int kRunLengths[] = {2, 3, 4, 8, 9, 28};
    static std::string run_of(int n, char between) {
        std::string s;
        for (int k = 0; k < n; ++k) s += (k ? std::string(1, between) : "") + "r" + std::to_string(n) + "w" + std::to_string(k);
        return s;
    }
    // Cuts the text into store 1, makes the panel plain and runs `colouring` over store 1.
    void colour(std::string_view utf8, void (*colouring)(HWND, const RecordArray&)) {
        check(utf8);
        ColorRangeOn(hBigReRight, 0, RE_GetTextLength(hBigReRight), CFM_COLOR | CFM_BOLD, 0, 0);
        colouring(hBigReRight, store1.rec);
    }
    // The colours of the characters at `positions` by name, '*' when bold, '-' for plain black.
    static std::string at(std::initializer_list<LONG> positions) {
        static const std::map<COLORREF, std::string> names{
            {0, "-"},          {kColKnownFirst, "red"}, {kColCapitalFirst, "brown"},  {kColHard, "orange"},
            {kColHard3, "violet"}, {RGB(0, 127, 0), "band1"}, {RGB(0, 152, 255), "band4"}, {RGB(204, 153, 102), "band7"}};
        std::string out;
        for (LONG pos : positions) {
            const CHARFORMAT2W f = RE_GetCharFormatAt(hBigReRight, pos);
            const auto it = names.find(f.crTextColor);
            out += (out.empty() ? "" : " ") + (it == names.end() ? "other" : it->second) + (f.dwEffects & CFE_BOLD ? "*" : "");
        }
        return out;
    }
};

TEST_F(TranslatorColouring, KnownRunsFirstLettersAndHardMarks) {
    //     0         1         2         3         4         5         6         7
    //     0123456789012345678901234567890123456789012345678901234567890123456789012345
    colour("John's boxes' Paris London Xavier table obscure quill no. no. 5 кучето 7up Boy's", colour_for_translators);
    // Known owners, the two dictionaries, another capital, a word class; hard marks on 41 and 50;
    // "no." before a number only; digits and Cyrillic never.
    EXPECT_EQ(at({0, 7, 14, 20, 27, 34, 75}), "- - brown* red* brown - brown");
    EXPECT_EQ(at({40, 41, 42, 48, 49, 50}), "red* orange* - red* - violet*");
    EXPECT_EQ(at({54, 58, 62, 64, 71}), "- red* - - -");
    std::string text;
    for (int n : kRunLengths) text += run_of(n, ' ') + ". ";
    colour(text, colour_for_translators);
    LONG start = 0;
    for (int n : kRunLengths) {
        const COLORREF want = kRunColours[static_cast<std::size_t>(std::min(n, 9) - 2)];
        EXPECT_EQ(RE_GetCharFormatAt(hBigReRight, start + 1).crTextColor, want) << n;
        start += static_cast<LONG>(run_of(n, ' ').size()) + 2;
    }
}

TEST_F(TranslatorColouring, HardAndRareWordsByRankBand) {
    gl_TEXT_COLORING = gl_COLOR_RARE = 1;
    //     0         1         2         3         4
    //     012345678901234567890123456789012345678901234567
    colour("obscure tome quill zephyr rarely kayak table 7up", colour_hard_and_rare);
    EXPECT_EQ(at({0, 1, 2, 3, 6}), "- band4* band4* orange* orange*");     // hard, rank 50,000
    EXPECT_EQ(at({9, 13, 14, 17, 20, 24}), "- - band1* band1* band7* band7*");  // 7,999, 8,000, 97,243
    EXPECT_EQ(at({27, 34, 40, 46}), "orange* band7* - -");                  // no rank, 600,000, 100, digits
    gl_COLOR_RARE = 0;  // hard words alone
    colour("obscure quill", colour_hard_and_rare);
    EXPECT_EQ(at({1, 6, 9}), "orange* orange* -");
}

TEST_F(TranslatorColouring, TheRunColoursFirstLettersOnlyInMachineTranslation) {
    gl_TEXT_COLORING = gl_PARSE_LATIN_WORDS = 0;  // the English word list colours Latin words of its own
    gl_COLOR_RARE = 1;
    for (std::int8_t machine : {0, 1}) {
        gl_MACHINE_TRANSLATION = machine;
        check("quill London");
        EXPECT_EQ(at({1, 6}), machine ? "band1* red*" : "band1* -");
    }
    hAddReShortCopy = hBigReRight;  // the main window's hidden entry copy is never coloured
    colour("London quill", colour_for_translators);
    colour_hard_and_rare(hBigReRight, store1.rec);
    EXPECT_EQ(at({0, 8}), "- -");
}

}  // namespace
