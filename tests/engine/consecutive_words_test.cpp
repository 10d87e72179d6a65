// Known runs of consecutive English words marked in the source panel.
#include <gtest/gtest.h>

#include <fstream>

#include "dictionary/loading.h"
#include "engine/consecutive_words.h"
#include "engine_fixture.h"
#include "lexicon/display.h"

namespace {

constexpr COLORREF kRun = RGB(0, 152, 0);

class Runs : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        make_stores();
        write("c/c_c11.txt", "black_box черна кутия\r\nbig_red_car голяма червена кола\r\n");
        write("c/cs_11.txt", "good_morning.\tДобро утро.\r\n");
        write("c/cse_cust11.txt", "hello_there!\tЗдравей!\r\n");
        ASSERT_GT(load_word_classes(data.path()), 0);
        ASSERT_GT(load_corpora(data.path()), 0);
        load_dict(B_ENGLISH_BULGARIAN, {"ice_cream сладолед"});
    }
    // Cuts the text into store 1 through a run, then makes the panel plain black again.
    void cut(std::string_view utf8) {
        check(utf8);
        ColorRangeOn(hBigReRight, 0, RE_GetTextLength(hBigReRight), CFM_COLOR | CFM_BOLD | CFM_UNDERLINE | CFM_ITALIC,
                     0, 0);
    }
    void write(const std::string& rel, std::string_view utf8) {
        std::filesystem::create_directories((data.path() / rel).parent_path());
        std::ofstream(data.path() / rel, std::ios::binary) << cp(utf8);
    }
    // Colour, underline, bold and italic of a character of the checker's panel, as "c u b i" flags.
    static std::string format_at(LONG pos) {
        const CHARFORMAT2W f = RE_GetCharFormatAt(hBigReRight, pos);
        std::string s;
        s += f.crTextColor == kRun ? 'c' : '-';
        s += f.dwEffects & CFE_UNDERLINE ? 'u' : '-';
        s += f.dwEffects & CFE_BOLD ? 'b' : '-';
        s += f.dwEffects & CFE_ITALIC ? 'i' : '-';
        return s;
    }
};

TEST_F(Runs, KnownRunsAreMarkedByWhatKnowsThem) {
    //                 0         1         2         3         4         5         6
    //                 0123456789012345678901234567890123456789012345678901234567890123456789
    const char* text = "a black box, good morning. black\rbox ice cream big red car черна кутия";
    const struct {
        int n;
        std::vector<std::pair<LONG, const char*>> want;  // position, format
    } cases[] = {
        {2, {{2, "cu--"}, {7, "cu--"}, {10, "cu--"}, {11, "----"},   // black box: word class
             {13, "cub-"}, {17, "cub-"}, {24, "cub-"}, {25, "----"},  // good morning.: corpus
             {27, "cu--"}, {32, "cu--"}, {35, "cu--"},                // across a line break
             {37, "----"}, {38, "--b-"}, {39, "----"},                // ice cream: second letter bold
             {47, "----"}, {59, "----"}}},                            // no Latin letter: nothing
        {3, {{47, "c--i"}, {48, "c--i"}, {49, "----"}, {51, "c---"}, {53, "----"}, {55, "c---"}, {57, "----"},
             {2, "----"}, {38, "----"}}},
    };
    for (const auto& c : cases) {
        cut(text);
        color_consecutive_words(c.n, kRun, sen_floor, sen_nd, hBigReRight);
        for (const auto& [pos, f] : c.want) EXPECT_EQ(format_at(pos), f) << c.n << " at " << pos;
    }
}

TEST_F(Runs, TheMarkAfterARunChoosesTheCorpusAndTheUsersListComesFirst) {
    cut("hello there! hello there. hello, there!");
    color_consecutive_words(2, kRun, sen_floor, sen_nd, hBigReRight);
    EXPECT_EQ(format_at(0), "cub-");   // followed by '!': the exclamations
    EXPECT_EQ(format_at(13), "----");  // followed by '.': not a statement of the lists
    EXPECT_EQ(format_at(26), "----");  // a comma inside: "hello,_there" is no key
}

TEST_F(Runs, NothingOnTheEntryCopyOrInATooShortRange) {
    cut("black box");
    color_consecutive_words(3, kRun, sen_floor, sen_nd, hBigReRight);
    color_consecutive_words(2, kRun, sen_floor, sen_floor + 1, hBigReRight);
    EXPECT_EQ(format_at(0), "----");
    const HWND copy = hAddReShortCopy;
    hAddReShortCopy = hBigReRight;
    color_consecutive_words(2, kRun, sen_floor, sen_nd, hBigReRight);
    hAddReShortCopy = copy;
    EXPECT_EQ(format_at(0), "----");
    color_consecutive_words(2, kRun, sen_floor, sen_nd, hBigReRight);
    EXPECT_EQ(format_at(0), "cu--");
}

TEST_F(Runs, ProgressEveryThousandWindows) {
    std::u16string t;
    for (int i = 0; i < 2'500; ++i) t += u"w ";
    check16(t);
    color_consecutive_words(2, kRun, sen_floor, sen_nd, hBigReRight);
    EXPECT_EQ(label8(GetDlgItem(hBig, IDC_BIG_LABEL)), "coloring: 2 2000 / 2500");
}

}  // namespace
