// Known runs of consecutive English words marked in the source panel.
#include <gtest/gtest.h>

#include <fstream>

#include "dictionary/loading.h"
#include "engine/consecutive_words.h"
#include "engine_fixture.h"
#include "lexicon/corpora.h"
#include "lexicon/display.h"

namespace {

constexpr COLORREF kRun = RGB(0, 152, 0);

class Runs : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        make_stores();
        for (auto [rel, text] : {std::pair{"c/c_c11.txt", "black_box черна кутия\r\nbig_red_car кола\r\n"
                                                            // runs across a full stop or a Cyrillic word
                                                            "morning._black x\r\nred_car_черна x\r\n"},
                                 std::pair{"c/cs_11.txt", "good_morning.\tДобро утро.\r\n"},
                                 std::pair{"c/cse_cust11.txt", "hello_there!\tЗдравей!\r\n"}}) {
            std::filesystem::create_directories(data.path() / "c");
            std::ofstream(data.path() / rel, std::ios::binary) << cp(text);
        }
        ASSERT_GT(load_word_classes(data.path()) + load_corpora(data.path()), 0);
        load_dict(B_ENGLISH_BULGARIAN, {"ice_cream сладолед"});
    }
    // Cuts the text into store 1 through a run, makes the panel plain and marks runs of n words.
    void mark(std::string_view utf8, int n, HWND panel = hBigReRight) {
        check(utf8);
        ColorRangeOn(hBigReRight, 0, RE_GetTextLength(hBigReRight), CFM_COLOR | CFM_BOLD | CFM_UNDERLINE | CFM_ITALIC, 0, 0);
        color_consecutive_words(n, kRun, sen_floor, sen_nd, panel);
    }
    // Colour, underline, bold and italic of a character of the checker's panel ("cubi").
    static std::string format_at(LONG pos) {
        const CHARFORMAT2W f = RE_GetCharFormatAt(hBigReRight, pos);
        return std::string(1, f.crTextColor == kRun ? 'c' : '-') + (f.dwEffects & CFE_UNDERLINE ? 'u' : '-') +
               (f.dwEffects & CFE_BOLD ? 'b' : '-') + (f.dwEffects & CFE_ITALIC ? 'i' : '-');
    }
};

TEST_F(Runs, KnownRunsAreMarkedByWhatKnowsThem) {
    //                  0         1         2         3         4         5         6
    //                  01234567890123456789012345678901234567890123456789012345678901
    const char* text = "a black box, good morning. black\rbox ice cream big red car черна кутия";
    const struct {
        int n;
        std::vector<std::pair<LONG, const char*>> want;  // position, format
    } cases[] = {
        {2, {{2, "cu--"}, {7, "cu--"}, {10, "cu--"}, {11, "----"},   // black box: a word class
             {13, "cub-"}, {24, "cub-"}, {25, "----"},               // good morning.: a statement
             {27, "cu--"}, {35, "cu--"},                             // across a line break
             {37, "----"}, {38, "--b-"}, {39, "----"},               // ice cream: the second letter bold
             {47, "----"}, {59, "----"}}},                           // no Latin letter: nothing
        {3, {{47, "c--i"}, {48, "c--i"}, {49, "----"}, {51, "c---"}, {53, "----"}, {2, "----"}, {38, "----"},
             {59, "----"}}},
    };
    for (const auto& c : cases) {
        mark(text, c.n);
        for (const auto& [pos, f] : c.want) EXPECT_EQ(format_at(pos), f) << c.n << " at " << pos;
    }
    // The mark after a run chooses the corpus; the user's own list is asked.
    mark("hello there! hello there. hello, there!", 2);
    EXPECT_EQ(format_at(0) + format_at(13) + format_at(26), "cub-" "----" "----");
}

// The passes of every length over keys made once mark what a pass over fresh keys marks: a
// dictionary entry whose first words make no entry of the pass before is still found.
TEST_F(Runs, PassesOverKeysMadeOnceMarkAsFreshPasses) {
    load_dict(B_ENGLISH_BULGARIAN, {"big_ice", "ice_cream", "ICE_Cream_Cone_Top", "red_car_wash", "cream_cone x"});
    const char* texts[] = {"a big ice cream cone top, red car wash", "Ice CREAM cone top\rred car wash car"};
    for (const char* text : texts) {
        std::string fresh, once;
        for (std::string* out : {&fresh, &once}) {
            check(text);
            ColorRangeOn(hBigReRight, 0, RE_GetTextLength(hBigReRight), CFM_COLOR | CFM_BOLD | CFM_UNDERLINE | CFM_ITALIC, 0, 0);
            const RunKeys keys(sen_floor, sen_nd);
            for (int n = 2; n <= 5; ++n) {
                if (out == &fresh) color_consecutive_words(n, kRun, sen_floor, sen_nd, hBigReRight);
                else color_consecutive_words(n, kRun, keys, hBigReRight);
            }
            for (LONG p = 0; p < RE_GetTextLength(hBigReRight); ++p) *out += format_at(p) + " ";
        }
        EXPECT_EQ(once, fresh) << text;
        EXPECT_NE(fresh.find("--b-"), std::string::npos) << text;
    }
}

TEST_F(Runs, NothingOnTheEntryCopyOrInATooShortRangeAndProgressOnTheStatusLine) {
    mark("black box", 3);
    EXPECT_EQ(format_at(0), "----");
    hAddReShortCopy = hBigReRight;
    mark("black box", 2, hAddReShortCopy);
    EXPECT_EQ(format_at(0), "----");
    std::u16string t;
    for (int i = 0; i < 2'500; ++i) t += u"w ";
    check16(t);
    color_consecutive_words(2, kRun, sen_floor, sen_nd, hBigReLeft);
    EXPECT_EQ(label8(GetDlgItem(hBig, IDC_BIG_LABEL)), "coloring: 2 2000 / 2500");
}

}  // namespace

namespace {

// The keys made once for all windows are the keys normailize_sentence makes of each window's text.
TEST(RunKeysTest, WindowKeysAreTheNormalisedTextsOfTheWindows) {
    const struct {
        std::vector<std::pair<const char*, const char*>> tokens;  // gap before, text
        bool made;  // false: a token needs the whole normalising
    } cases[] = {
        {{{"", "well-"}, {"\r", "known"}, {" \r ", "man"}, {",\r", "it\x92s"}, {"  ,  ", "5th"}}, true},
        {{{" ", "a-"}, {" \r", "b"}, {"\r\r", "c"}, {"\r", "d-"}, {"\r\r", "e"}}, true},
        {{{"", "tab\tin"}, {" ", "word"}, {" ", "blank in"}}, false},
    };
    for (const auto& c : cases) {
        std::vector<SenToken> t;
        for (const auto& [gap, text] : c.tokens) t.push_back({text, gap, 0});
        t.push_back({glZero, glZero, 0});
        const RunKeys keys(t.data(), t.data() + c.tokens.size());
        for (std::size_t n = 2; n <= c.tokens.size(); ++n)
            for (std::size_t i = 0; i + n <= c.tokens.size(); ++i) {
                std::string raw = t[i].text, display;
                for (std::size_t k = i + 1; k < i + n; ++k) raw += std::string(t[k].gap) + t[k].text;
                EXPECT_EQ(keys.raw_size(i, n), raw.size());
                std::string_view key;
                const bool made = keys.key(i, n, key);
                EXPECT_EQ(made, c.made) << raw;
                if (!made) continue;
                ASSERT_EQ(normailize_sentence(raw, display), 1);
                EXPECT_EQ(key, raw) << i << " " << n;
            }
    }
}

}  // namespace
