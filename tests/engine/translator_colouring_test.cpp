// The colouring of English text for translators: first letters by what the dictionaries know,
// the possessive and "no." rules, hard marks, and hard and rare words by rank band.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <vector>

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
        std::filesystem::create_directories(data.path() / "c");
        for (auto [rel, text] : {std::pair{"c/c_c11.txt", "table маса\r\n"}, std::pair{"c/hard.txt", "obscure x\r\n"},
                                 std::pair{"c/hard3.txt", "quill x\r\n"}})
            std::ofstream(data.path() / rel, std::ios::binary) << cp(text);
        ASSERT_GT(load_word_classes(data.path()), 0);
        load_list(M_WL_ENGLISH, {"kayak 600000", "obscure 50000", "quill 8000", "rarely", "table 100", "tome 7999",
                                 "zephyr 97243"});
        load_list(M_WL_ENGLISH2, {"box", "John", "no."});  // "no." keeps its dot
        load_dict(B_ENGLISH_BULGARIAN, {"London Лондон"});
        load_dict(B_BULGARIAN_ENGLISH_UNSORTED, {"Париж Paris"});
    }
    // Cuts the text into store 1, makes the panel plain and runs `colouring` over store 1.
    void colour(std::string_view utf8, void (*colouring)(HWND, const RecordArray&)) {
        check(utf8);
        ColorRangeOn(hBigReRight, 0, RE_GetTextLength(hBigReRight), CFM_COLOR | CFM_BOLD, 0, 0);
        colouring(hBigReRight, store1.rec);
    }
    // The colour of a character by name, '*' when bold: "red*", "-" for plain black.
    static std::string at(LONG pos) {
        static const std::map<COLORREF, std::string> names{
            {0, "-"},           {kColKnownFirst, "red"},       {kColCapitalFirst, "brown"},
            {kColHard, "orange"}, {kColHard3, "violet"},       {RGB(0, 127, 0), "band1"},
            {RGB(0, 152, 255), "band4"}, {RGB(204, 153, 102), "band7"}};
        const CHARFORMAT2W f = RE_GetCharFormatAt(hBigReRight, pos);
        const auto it = names.find(f.crTextColor);
        return (it == names.end() ? "other" : it->second) + (f.dwEffects & CFE_BOLD ? "*" : "");
    }
};

TEST_F(TranslatorColouring, FirstLettersAndHardMarks) {
    //     0         1         2         3         4         5         6         7
    //     0123456789012345678901234567890123456789012345678901234567890123456789012345
    colour("John's boxes' Paris London Xavier table obscure quill no. no. 5 кучето 7up Boy's", colour_for_translators);
    const std::pair<LONG, const char*> want[] = {
        {0, "-"},        // the owner is a known word
        {7, "-"},        // boxes' for box
        {14, "brown*"},  // an English side of the Bulgarian-English dictionary
        {20, "red*"},    // in the English-Bulgarian dictionary
        {27, "brown"},   // any other capitalised word: not bold
        {34, "-"},       // in a word-class list
        {40, "red*"},    {41, "orange*"}, {42, "-"},  // a hard word
        {48, "red*"},    {49, "-"},       {50, "violet*"},  // a hard pronunciation
        {54, "-"},       {58, "red*"},    // "no." only before a number
        {62, "-"},       {64, "-"},       {71, "-"},  // digits, Cyrillic
        {75, "brown"},   // Boy's: an unknown owner
    };
    for (const auto& [pos, f] : want) EXPECT_EQ(at(pos), f) << "at " << pos;
}

TEST_F(TranslatorColouring, KnownRunsTakeTheColourOfTheirLength) {
    const int lengths[] = {2, 3, 4, 8, 9, 28};
    std::string corpus, text;
    std::vector<LONG> starts;
    for (int n : lengths) {
        std::string key, words;
        for (int k = 0; k < n; ++k) {
            const std::string w = "r" + std::to_string(n) + "w" + std::to_string(k);
            key += (k ? "_" : "") + w;
            words += (k ? " " : "") + w;
        }
        corpus += key + ".\tБ.\r\n";
        starts.push_back(static_cast<LONG>(text.size()));
        text += words + ". ";
    }
    std::ofstream(data.path() / "c" / "cs_11.txt", std::ios::binary) << corpus;
    ASSERT_GT(load_corpora(data.path()), 0);
    colour(text, colour_for_translators);
    for (std::size_t i = 0; i < std::size(lengths); ++i) {
        const COLORREF want = kRunColours[static_cast<std::size_t>(std::min(lengths[i], 9) - 2)];
        EXPECT_EQ(RE_GetCharFormatAt(hBigReRight, starts[i] + 1).crTextColor, want) << lengths[i];
    }
}

TEST_F(TranslatorColouring, HardAndRareWordsByRankBand) {
    gl_TEXT_COLORING = 1;
    gl_COLOR_RARE = 1;
    //     0         1         2         3         4
    //     012345678901234567890123456789012345678901234567
    colour("obscure tome quill zephyr rarely kayak table 7up", colour_hard_and_rare);
    const std::pair<LONG, const char*> want[] = {
        {0, "-"},      {1, "band4*"},  {2, "band4*"},  {3, "orange*"}, {6, "orange*"},  // hard, rank 50,000
        {9, "-"},      {11, "-"},                                                        // rank 7,999
        {13, "-"},     {14, "band1*"}, {17, "band1*"},                                   // rank 8,000
        {20, "band7*"}, {24, "band7*"},                                                  // rank 97,243
        {27, "orange*"},                                                                 // no rank
        {34, "band7*"},                                                                  // rank 600,000
        {40, "-"},     {46, "-"},                                                        // rank 100, digits
    };
    for (const auto& [pos, f] : want) EXPECT_EQ(at(pos), f) << "at " << pos;
    gl_COLOR_RARE = 0;  // hard words alone
    colour("obscure quill", colour_hard_and_rare);
    EXPECT_EQ(at(1) + at(6) + at(9), "orange*orange*-");
}

TEST_F(TranslatorColouring, TheRunColoursFirstLettersOnlyInMachineTranslation) {
    gl_TEXT_COLORING = 0;
    gl_COLOR_RARE = 1;
    gl_PARSE_LATIN_WORDS = 0;  // the English word list colours Latin words of its own
    for (std::int8_t machine : {0, 1}) {
        gl_MACHINE_TRANSLATION = machine;
        check("quill London");
        EXPECT_EQ(at(1), "band1*");
        EXPECT_EQ(at(6), machine ? "red*" : "-");
    }
    // Nothing on the main window's hidden entry copy; progress on the checker's status line.
    hAddReShortCopy = hBigReRight;
    colour("London quill", colour_for_translators);
    colour_hard_and_rare(hBigReRight, store1.rec);
    EXPECT_EQ(at(0) + at(8), "--");
    hAddReShortCopy = GetDlgItem(hMain, kAddCopy);
    std::u16string t;
    for (int i = 0; i < 2'500; ++i) t += u"w ";
    RE_SetTextW(hBigReLeft, t);
    check16(t);
    colour_hard_and_rare(hBigReLeft, store1.rec);
    EXPECT_EQ(label8(GetDlgItem(hBig, IDC_BIG_LABEL)), "coloring hard & rare: 2000 / " + std::to_string(store1.rec.count()));
}

}  // namespace
