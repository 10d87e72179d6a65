// The per-token report through translate_text: number lines, gap display, the Bulgarian report
// with its colours, compound rules, logs and pane limit, and the English report with dictionary
// entries, stems, word-list words, apostrophes, suggestions, the capitalisation rule and the lines
// of the report panel.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "engine/run/kept_answers.h"
#include "engine/run/token_report.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "spelling/word_index.h"
#include "lookup_fixture.h"

namespace {

constexpr COLORREF kBrown = RGB(111, 83, 38);
constexpr COLORREF kRed = RGB(255, 0, 42);
constexpr COLORREF kPink = RGB(255, 85, 255);
constexpr COLORREF kPurple = RGB(170, 0, 255);
constexpr COLORREF kGrey = RGB(135, 135, 135);

class TokenReport : public LookupTest {
protected:
    void SetUp() override {
        LookupTest::SetUp();
        gl_CHECK_PUNCTUATION = 0;  // the proof-reader's lines in the report panel are tested with it
    }
    // A text in the checker window; its per-token lines go to the main window's saved pane.
    std::vector<std::string> pane_after(std::string_view utf8) {
        check(utf8);
        std::vector<std::string> l = lines(hAddReSaved);
        // The closing DONE line and the empty line before it are the frame's.
        if (l.size() >= 2 && l.back().starts_with("DONE!")) l.resize(l.size() - 2);
        return l;
    }
};

TEST_F(TokenReport, NumbersGetTheirLinesAndNothingElse) {
    gl_PRINT_FILTERED = 1;
    const auto l = pane_after("42 3.14 10.0.0.1 1,5 1.2,3 1.2.3.4.5 1,2,3 2-3 1,000");
    EXPECT_EQ(l, (std::vector<std::string>{
                     "42 (number)",
                     "3.14 (number with 1 decimal separator . )",
                     "10.0.0.1 (number with 3 decimal separators . IP?)",
                     "1,5 (number with 1 decimal separator , )",
                     "1.2,3 (number with mixed decimal separators: 1 . and 1 , )",
                     "1.2.3.4.5 (number with 4 decimal separators . )",
                     "1,2,3 (number with 2 decimal separators , )",
                     "2-3 (number)",
                     "1,000 (number with 1 decimal separator , )",  // 0 is a digit like the others
                 }));
    EXPECT_EQ(look_at(hAddReSaved, 0), bold(kBrown));                       // the number
    EXPECT_EQ(look_at(hAddReSaved, 1), bold(kBrown));
    EXPECT_EQ(look_at(hAddReSaved, 3), plain(0));                           // its label
    EXPECT_EQ(look_of(hAddReSaved, "10.0.0.1"), bold(kBrown));
    EXPECT_EQ(look_at(hBigReRight, 0), plain(0));  // the source is not coloured
    FinishGmake();
    FinishGmake3(1);
    EXPECT_EQ(g_floor, g_nd);  // nothing counted
    EXPECT_EQ(g_floor3[1], g_nd3[1]);

    // Without PRINT_FILTERED, or with the checker window active, numbers show nothing.
    gl_PRINT_FILTERED = 0;
    EXPECT_TRUE(pane_after("42 43").empty());
    gl_PRINT_FILTERED = 1;
    gl_SPELLING_MODE = 1;
    EXPECT_TRUE(pane_after("42 43").empty());
}

TEST_F(TokenReport, TokensWithDigitsAreSkippedAndColouredBrown) {
    const auto l = pane_after("B2B 4x4 x0");
    EXPECT_EQ(l, (std::vector<std::string>{"B2B (has digit(s), skipped)", "4x4 (has digit(s), skipped)",
                                           "x0 (has digit(s), skipped)"}));
    EXPECT_EQ(look_at(hAddReSaved, 0), bold(kBrown));
    EXPECT_EQ(look_at(hBigReRight, 1), bold(kBrown));
    EXPECT_EQ(look_at(hBigReRight, 5), bold(kBrown));

    // While the entry editor's transcription field is shown, the pane gets no such line; the
    // source is still coloured. Without TEXT_COLORING it is not.
    ShowWindow(hAddTransSir, SW_SHOW);
    EXPECT_TRUE(pane_after("B2B 4x4").empty());
    EXPECT_EQ(look_at(hBigReRight, 1), bold(kBrown));
    gl_TEXT_COLORING = 0;
    pane_after("B2B 4x4");
    EXPECT_EQ(look_at(hBigReRight, 1), plain(0));
}

TEST_F(TokenReport, GapsAreShownWhilePrintFilteredIsSet) {
    EXPECT_EQ(gap_display_text(" "), "");
    EXPECT_EQ(gap_display_text(", "), ", ");
    EXPECT_EQ(gap_display_text("\r\n"), "NL");
    EXPECT_EQ(gap_display_text(",\r"), ",\r\nNL");
    EXPECT_EQ(gap_display_text(",\r\n\r\n"), ",\r\nNL\r\nNL");
    EXPECT_EQ(gap_display_text(".\n"), ".\r\nNL");
    EXPECT_EQ(gap_display_text(".\r\n"), ".\r\n");
    EXPECT_EQ(gap_display_text(".\r\n\r\n"), ".\r\nNL\r\nNL");
    EXPECT_EQ(gap_display_text(".'\r\n"), ".'\r\nNL");
    EXPECT_EQ(gap_display_text(" - "), " - ");

    gl_PRINT_FILTERED = 1;
    EXPECT_EQ(pane_after("1, 2.\r3 4"),
              (std::vector<std::string>{"1 (number)", ", ", "2 (number)", ".", "NL", "3 (number)", "4 (number)"}));
    EXPECT_EQ(look_of(hAddReSaved, "NL"), bold(kBrown));
    ShowWindow(hAddTransSir, SW_SHOW);
    EXPECT_EQ(pane_after("1, 2"), (std::vector<std::string>{"1 (number)", "2 (number)"}));
}

TEST_F(TokenReport, KnownEnglishWordsShowTheirEntryAndTheEntryTheyReferTo) {
    load_dict(B_EN_BG, {"house n # къща # дом", "houses pl. of house", "lorry"});
    load_list(M_WL_ENGLISH, {"house 300", "houses 900"});
    gl_PRINT_ALL_LATIN = 1;
    const auto l = pane_after("house houses lorry");
    EXPECT_EQ(l, (std::vector<std::string>{"house n 1. къща 2. дом 300", "houses pl. of house 900",
                                           "houses -> house n 1. къща 2. дом 300", "lorry +bg, but no definition"}));
    EXPECT_EQ(look_at(hAddReSaved, 0), bold(kPurple));  // WriteOneColoredLine's word
    const LONG arrow = find(hAddReSaved, "houses -> ");
    EXPECT_EQ(look_at(hAddReSaved, arrow), bold(RGB(212, 85, 255)));
    EXPECT_EQ(look_of(hAddReSaved, "lorry +bg"), plain(gl_col_nosug));

    // Correct words: "-> correct" in the report panel, coloured in the source.
    EXPECT_NE(find(hBigReLeft, "house -> correct"), -1);
    EXPECT_EQ(look_of(hBigReLeft, "house -> correct"), bold(RGB(0, 102, 204)));
    EXPECT_EQ(look_at(hBigReLeft, find(hBigReLeft, " -> correct", find(hBigReLeft, "house -> correct"))),
              bold(kGrey));
    EXPECT_EQ(look_at(hBigReRight, 0), bold(RGB(0, 102, 204)));

    // A rank not above RANK_FILTER is filtered: the word and its rank only, with PRINT_FILTERED.
    gl_RANK_FILTER = 500;
    gl_PRINT_ALL_LATIN = 0;
    EXPECT_EQ(pane_after("house lorry"), (std::vector<std::string>{"lorry +bg, but no definition"}));
    gl_PRINT_FILTERED = 1;
    EXPECT_EQ(pane_after("house lorry"), (std::vector<std::string>{"house 300", "lorry +bg, but no definition"}));
    EXPECT_EQ(look_at(hAddReSaved, 0), bold(kGrey));
}

TEST_F(TokenReport, WordsKnownOnlyFromTheWordListsGoToBothPanes) {
    load_list(M_WL_ENGLISH2, {"colour British spelling of color"});
    load_list(M_WL_ENGLISH, {"flavour 7000", "colour 2100"});
    const auto l = pane_after("colour flavour");
    EXPECT_EQ(l, (std::vector<std::string>{"colour 2100 British spelling of color", "flavour 7000 7000"}));
    EXPECT_EQ(lines(hAddReShort3), l);
    EXPECT_EQ(look_at(hAddReSaved, 0), bold(RGB(22, 56, 124)));
    EXPECT_EQ(look_of(hAddReSaved, "2100"), bold(kGrey));
    EXPECT_EQ(look_of(hAddReSaved, "British"), plain(RGB(22, 56, 124)));
    EXPECT_EQ(look_at(hBigReRight, 0), bold(RGB(22, 56, 124)));

    gl_PRINT_RANK_IN_ONELINE = 0;
    EXPECT_EQ(pane_after("colour flavour"), (std::vector<std::string>{"colour British spelling of color", "flavour 7000"}));
    gl_COLOR_RARE = 1;  // rare-word colouring takes the source over
    pane_after("colour flavour");
    EXPECT_EQ(look_at(hBigReRight, 0), plain(0));
}

TEST_F(TokenReport, ApostropheWordsAreJudgedByTheirDerivedWord) {
    load_dict(B_EN_BG, {"dog n # куче"});
    load_list(M_WL_ENGLISH, {"dog 800", "cat 900"});
    load_list(M_WL_ENGLISH2, {"cat a small animal"});
    const auto l = pane_after("dog's cat's xyz's");
    EXPECT_EQ(l, (std::vector<std::string>{"dog's -> dog n 1. куче 800", "cat's -> cat 900 a small animal",
                                           "xyz's & xyz  --- both not found ---"}));
    EXPECT_EQ(lines(hAddReShort3), (std::vector<std::string>{"cat's -> cat 900 a small animal"}));
    EXPECT_EQ(look_of(hAddReSaved, "dog's -> "), bold(RGB(212, 85, 255)));
    EXPECT_EQ(look_of(hAddReShort3, "cat's"), bold(RGB(0, 85, 255)));
    const LONG both = find(hAddReSaved, "xyz's & ");
    EXPECT_EQ(look_at(hAddReSaved, both + 6), bold(kRed));   // "&" is in the marked part
    EXPECT_EQ(look_at(hAddReSaved, both + 9), plain(0));     // the derived word is not
    EXPECT_EQ(look_at(hBigReRight, find(hBigReRight, "xyz")), bold(kRed));
}

TEST_F(TokenReport, MisspeltWordsGetSuggestionsAndCapitalisedOnesAreOnlyMarked) {
    load_list(M_WL_ENGLISH, {"house 300", "mouse 4000"});
    gl_SPELL_UPPERCASE = 0;
    gl_ENGLIST_UNGROUPED = 1;
    const auto l = pane_after("hous Hous qqqqqq");
    ASSERT_EQ(l.size(), 3u);
    EXPECT_TRUE(l[0].starts_with("hous -> ")) << l[0];
    EXPECT_NE(l[0].find("house"), std::string::npos) << l[0];
    EXPECT_TRUE(l[1].starts_with("Hous -> ")) << l[1];
    EXPECT_EQ(l[2], "qqqqqq -> no suggestions");
    EXPECT_EQ(look_at(hAddReSaved, 0), bold(kRed));
    EXPECT_EQ(look_at(hAddReSaved, 5), plain(RGB(0, 127, 0)));
    EXPECT_EQ(look_of(hAddReSaved, "Hous"), bold(kPurple));  // capitalised: marked, not checked
    EXPECT_EQ(look_at(hAddReSaved, find(hAddReSaved, "qqqqqq") + 7), plain(gl_col_nosug));
    // Source: the checked words red, the capitalised one untouched.
    EXPECT_EQ(look_at(hBigReRight, 0), bold(kRed));
    EXPECT_EQ(look_at(hBigReRight, 5), plain(0));
    EXPECT_EQ(look_at(hBigReRight, 10), bold(kRed));
    // The report panel lists the checked ones (the capitalised one stopped before), one after the
    // other; the word list of the text follows them.
    std::vector<std::string> report = lines(hBigReLeft);
    ASSERT_GE(report.size(), 4u);
    EXPECT_TRUE(report[2].starts_with("hous -> ")) << report[2];
    EXPECT_EQ(report[3], "qqqqqq -> no suggestions");

    // With SPELL_UPPERCASE the capitalised word is checked: pink in the report panel.
    gl_SPELL_UPPERCASE = 1;
    pane_after("hous Hous");
    EXPECT_EQ(look_at(hBigReRight, 5), bold(kRed));
    EXPECT_EQ(look_of(hBigReLeft, "Hous ->"), bold(kPink));
    EXPECT_EQ(look_of(hBigReLeft, "hous ->"), bold(kRed));
}

TEST_F(TokenReport, WebAddressesSkipListsAndSingleCharactersAreNotMisspelt) {
    load_dict(B_WEB_SKIP, {"com"});
    load_dict(B_ENGLISH_SKIP, {"iphone"});
    load_list(M_WL_WEBSITE, {"wikipedia"});
    gl_PRINT_ALL_LATIN = 1;
    gl_PRINT_FILTERED = 1;
    const auto l = pane_after("example.com iPhone Wikipedia x");
    EXPECT_EQ(l, (std::vector<std::string>{"x (single character)"}));
    EXPECT_EQ(lines(hBigReLeft).size(), 5u);  // words found, empty line, three "-> correct" lines
    EXPECT_NE(find(hBigReLeft, "example.com -> correct"), -1);
    EXPECT_NE(find(hBigReLeft, "iPhone -> correct"), -1);
    EXPECT_EQ(look_at(hBigReRight, find(hBigReRight, " x") + 1), bold(kRed));
}

TEST_F(TokenReport, OnlyTheFirst63EnglishTokensGetPaneLinesButAllAreColouredAndCounted) {
    std::string text;
    std::vector<std::string> words;
    for (int i = 0; i < 64; ++i) {
        std::string w = "qq";
        w += static_cast<char>('a' + i / 26);
        w += static_cast<char>('a' + i % 26);
        words.push_back(w);
        text += w + " ";
    }
    text.pop_back();
    const auto l = pane_after(text);
    ASSERT_EQ(l.size(), 63u);
    EXPECT_EQ(l.back(), words[62] + " -> no suggestions");
    EXPECT_EQ(look_at(hBigReRight, find(hBigReRight, words[63])), bold(kRed));
    FinishGmakeAlpha3(1);
    const auto counted = table(g_floor3[1], g_nd3[1]);
    ASSERT_EQ(counted.size(), 64u);
    EXPECT_EQ(counted.back().first, words[63]);
}

TEST_F(TokenReport, TheEnglishWordListTakesEveryTokenWithENGLIST_ALL) {
    load_dict(B_EN_BG, {"dog n # куче"});
    gl_ENGLIST_ALL = 1;
    gl_ENGLIST_SKIP_APOS1 = 1;
    pane_after("dog dog's we'll rock'n'roll qqqq");
    FinishGmakeAlpha3(1);
    EXPECT_EQ(table(g_floor3[1], g_nd3[1]),
              (std::vector<std::pair<std::string, std::uint32_t>>{{"dog", 2}, {"qqqq", 1}, {"rock'n'roll", 1}, {"we", 1}}));

    gl_ENGLIST_SKIP_APOS2 = 1;
    pane_after("dog dog's");
    FinishGmakeAlpha3(1);
    EXPECT_EQ(table(g_floor3[1], g_nd3[1]), (std::vector<std::pair<std::string, std::uint32_t>>{{"dog", 1}}));
}

TEST_F(TokenReport, BulgarianWordsAreReportedWithTheirColours) {
    load_dict(B_BULGARIAN, {"книга 4753", "книгата 4790"});
    load_forms({"книга книга 85 0", "книгата книга 85 1"});
    const auto l = pane_after("книга книгъ Книгъ кнuга");
    ASSERT_EQ(l.size(), 4u);
    EXPECT_TRUE(l[0].starts_with(cp1251_to_utf8(cp("книга 4753 ")))) << l[0];
    EXPECT_EQ(look_at(hAddReSaved, 0), bold(kPurple));
    const LONG unknown = find(hAddReSaved, "книгъ");
    EXPECT_EQ(look_at(hAddReSaved, unknown), bold(kRed));
    EXPECT_EQ(look_of(hAddReSaved, "Книгъ"), bold(kPink));  // capitalised
    const LONG mixed = find(hAddReSaved, "кнuга");
    EXPECT_EQ(look_at(hAddReSaved, mixed), bold(kRed));
    EXPECT_EQ(look_at(hAddReSaved, mixed + 2), bold(RGB(0, 255, 0)));  // the Latin letter

    // Source: known words keep their colour; unknown ones are coloured, Latin letters green.
    EXPECT_EQ(look_at(hBigReRight, 0), plain(0));
    EXPECT_EQ(look_at(hBigReRight, 6), bold(kRed));
    EXPECT_EQ(look_at(hBigReRight, 12), bold(kPink));
    EXPECT_EQ(look_at(hBigReRight, find(hBigReRight, "u")), bold(RGB(0, 255, 0)));

    // The unknown words are counted in the single token index, as written.
    FinishGmake();
    auto counted = table(g_floor, g_nd);
    std::sort(counted.begin(), counted.end());
    auto expected = std::vector<std::pair<std::string, std::uint32_t>>{{"книгъ", 1}, {"Книгъ", 1}, {"кнuга", 1}};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(counted, expected);

    // TREAT_AS_UNKNOWN keeps the source as it is.
    gl_TREAT_AS_UNKNOWN = 1;
    pane_after("книгъ книга");
    EXPECT_EQ(look_at(hBigReRight, 0), plain(0));
}

TEST_F(TokenReport, RareBulgarianWordsAreColouredByRank) {
    load_dict(B_BULGARIAN, {"алфа 4995", "бета 4996", "гама 4997", "делта 4998", "епсилон 4999", "зета 7000",
                            "ета", "тета 100", "йота."});
    gl_COLOR_RARE = 1;
    gl_RANK_RARE = 1000;
    pane_after("алфа бета гама делта епсилон зета ета тета");
    auto at = [&](std::string_view w) { return look_at(hBigReRight, find(hBigReRight, " " + std::string(w)) + 1); };
    EXPECT_EQ(look_at(hBigReRight, 0), bold(RGB(113, 159, 49)));  // алфа
    EXPECT_EQ(at("бета"), bold(RGB(0, 127, 0)));
    EXPECT_EQ(at("гама"), bold(RGB(23, 69, 179)));
    EXPECT_EQ(at("делта"), bold(RGB(0, 152, 255)));
    EXPECT_EQ(at("епсилон"), bold(RGB(0, 230, 255)));
    EXPECT_EQ(at("зета"), plain(0));  // rank 5,000 or more: the colour is left alone
    EXPECT_EQ(at("ета"), bold(RGB(255, 85, 0)));  // no rank text
    EXPECT_EQ(at("тета"), plain(0));               // below RANK_RARE
    EXPECT_EQ(look_of(hAddReSaved, "зета"), bold(kPurple));

    COLORREF c = 1;
    EXPECT_FALSE(rare_word_colour(false, 0, true, c));  // a word with a dot and no rank text
    EXPECT_FALSE(rare_word_colour(true, 5'000, false, c));
    EXPECT_EQ(c, 1u);
}

TEST_F(TokenReport, CompoundRulesAcceptWordsTheListsLack) {
    // Rows: 140 an adjective type, 147 the type of compound parts.
    load_forms({"годишен годишен 140 0", "научно научен 147 5", "технически технически 147 0",
                "създаден създаден 147 0", "синьо син 147 5", "книгата книга 85 1"});
    pane_after("полугодишен научно-технически новосъздаден Новосъздаден полуполугодишен синьо-бял");
    auto source = [&](std::string_view w) { return look_of(hBigReRight, w); };
    EXPECT_EQ(source("полугодишен"), plain(0));
    EXPECT_EQ(source("научно-технически"), plain(0));
    EXPECT_EQ(source("новосъздаден"), plain(0));
    EXPECT_EQ(source("Новосъздаден"), bold(kPink));      // the direction prefix wants a small letter
    EXPECT_EQ(source("полуполугодишен"), bold(kRed));    // the prefix twice
    EXPECT_EQ(source("синьо-бял"), bold(kRed));          // a second part of three letters
    EXPECT_FALSE(bulgarian_compound_known(cp("суперкнигата")));  // a noun after the prefix

    OP[OPT_LOAD_BG].num_value = 0;  // without the word forms no compound is accepted
    pane_after("полугодишен");
    EXPECT_EQ(source("полугодишен"), bold(kRed));
}

TEST_F(TokenReport, BulgarianPaneStopsAfter2047Tokens) {
    std::string text;
    for (int i = 0; i < 2'048; ++i) text += "дз ";
    text.pop_back();
    const auto l = pane_after(text);
    EXPECT_EQ(l.size(), 2'047u);
    EXPECT_EQ(look_at(hBigReRight, static_cast<LONG>(text.size()) - 3), bold(kRed));  // the last is coloured
}

TEST_F(TokenReport, UnknownBulgarianWordsGoToTheLogsByLetterCase) {
    load_dict(B_BULGARIAN, {"книга 4753"});
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(data.path());
    gl_SPELL_CHECKER_LOG = 1;
    gl_isFromClipboard = 1;
    check("книга книгъ КНИГЪ Книгъ кНИГъ ново-книгъ");
    std::filesystem::current_path(here);
    auto log_lines = [&](const char* name) {
        std::vector<std::string> out;
        const std::string t = read(data.path() / name);
        std::size_t from = 0;
        for (std::size_t at; (at = t.find("\r\n", from)) != std::string::npos; from = at + 2) {
            const std::string line = t.substr(from, at - from);
            out.push_back(u8(line.substr(0, line.find(' '))));
        }
        return out;
    };
    EXPECT_EQ(log_lines("cyr_all.txt").size(), 6u);
    EXPECT_EQ(log_lines("cyr_missing.txt"),
              (std::vector<std::string>{"книгъ", "КНИГЪ", "Книгъ", "кНИГъ", "ново-книгъ"}));
    EXPECT_EQ(log_lines("cyr_lower_only.txt"), (std::vector<std::string>{"книгъ", "ново-книгъ"}));
    EXPECT_EQ(log_lines("cyr_upper_only.txt"), (std::vector<std::string>{"КНИГЪ"}));
    EXPECT_EQ(log_lines("cyr_first_upper.txt"), (std::vector<std::string>{"Книгъ"}));
    EXPECT_EQ(log_lines("cyr_mixed.txt"), (std::vector<std::string>{"кНИГъ"}));
}

TEST_F(TokenReport, ATypographicApostropheIsShownAsTyped) {
    load_dict(B_EN_BG, {"don't v # не"});
    const auto l = pane_after("don\u2019t it\u2019s");
    ASSERT_GE(l.size(), 1u);
    EXPECT_EQ(l[0], "don\u2019t v 1. не");
}

}  // namespace

namespace {

TEST_F(TokenReport, FilteredDerivedWordsAndEntriesWithoutDefinitions) {
    load_dict(B_EN_BG, {"go v # отивам", "went pt of go", "gone"});
    load_list(M_WL_ENGLISH, {"dog 80", "go 50", "went 300"});
    gl_RANK_FILTER = 100;
    gl_PRINT_FILTERED = 1;
    // "dog's": its derived word's rank is filtered: the grey arrow line, and the word is correct.
    gl_PRINT_ALL_LATIN = 1;
    EXPECT_EQ(pane_after("dog's went"), (std::vector<std::string>{"dog's -> dog 80", "went pt of go 300",
                                                                  "went -> go v 1. отивам 50"}));
    EXPECT_EQ(look_at(hAddReSaved, 0), bold(kGrey));
    EXPECT_NE(find(hBigReLeft, "dog's -> correct"), -1);
    // A stem without definition is shown as such.
    load_dict(B_EN_BG, {"go", "went pt of go"});
    EXPECT_EQ(pane_after("went went"),
              (std::vector<std::string>{"went pt of go 300", "went -> go +bg, but no definition", "went pt of go 300",
                                        "went -> go +bg, but no definition"}));
}

TEST_F(TokenReport, UngroupedApostropheWordsAndOwnBulgarianWords) {
    gl_ENGLIST_UNGROUPED = 1;
    pane_after("xyz's qqqq");
    const std::vector<std::string> report = lines(hBigReLeft);
    ASSERT_GE(report.size(), 3u);
    EXPECT_EQ(report[2], "xyz's & xyz  --- both not found ---");
    EXPECT_EQ(look_of(hBigReLeft, "xyz's"), bold(kRed));
    EXPECT_EQ(look_of(hBigReLeft, "& xyz"), plain(0));

    // The user's own words: the report text in its own colour; capitals are not checked.
    load_dict(B_BULGARIAN_CUSTOM, {"ябълчица"});
    gl_SPELL_UPPERCASE = 0;
    const auto l = pane_after("ябълчица Ябълчицъ");
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0], "ябълчица (custom)");
    EXPECT_EQ(look_of(hAddReSaved, " (custom)"), plain(RGB(85, 42, 255)));
    EXPECT_EQ(look_of(hAddReSaved, "Ябълчицъ"), bold(kPurple));
    EXPECT_EQ(look_of(hBigReRight, "Ябълчицъ"), plain(0));
}

}  // namespace

namespace {

// A run asks the spelling generators once per distinct word form (eight copies of a word cost what
// two do) and shows the same line for each occurrence. Its English answers are forgotten when it
// ends; its Bulgarian ones serve the next run (the checker checks the text again after every
// keystroke) while the lists they were asked of are the same.
TEST_F(TokenReport, SpellingAnswersAreAskedOncePerWordForm) {
    load_list(M_WL_ENGLISH, {"house 300", "mouse 4000"});
    load_dict(B_BULGARIAN, {"книга 4753"});
    // The pane's lines of a run and the generator runs it took.
    auto run = [&](const std::string& text) {
        const std::uint64_t before = suggestion_runs;
        std::vector<std::string> l = pane_after(text);
        return std::pair{std::move(l), suggestion_runs - before};
    };
    for (const char* word : {"hous", "книгъ"}) {
        auto questions = [&](int copies) {
            load_dict(B_BULGARIAN, {"книга 4753"});  // loaded again: nothing asked before holds
            std::string text;
            for (int i = 0; i < copies; ++i) text += std::string(i ? " " : "") + word;
            const auto [l, runs] = run(text);
            EXPECT_EQ(l.size(), static_cast<std::size_t>(copies)) << word;
            for (const std::string& line : l) EXPECT_EQ(line, l.front()) << word;
            return runs;
        };
        EXPECT_EQ(questions(8), questions(2)) << word;
    }
    // The next run over the same Bulgarian words asks fewer questions and shows the same; once a
    // list is loaded again, it asks afresh.
    const std::string words = "книгъ книгч книгъ";
    const auto fresh = run(words);
    const auto kept = run(words);
    EXPECT_EQ(kept.first, fresh.first);
    EXPECT_LT(kept.second, fresh.second);
    load_dict(B_BULGARIAN, {"книга 4753", "книгъ 10"});
    EXPECT_EQ(run(words).first, (std::vector<std::string>{"книгъ", "книгч -> книгъ | книга", "книгъ"}));
    // The English answers are asked again: a word listed meanwhile is known.
    pane_after("hous");
    load_dict(B_EN_BG, {"hous n # къщичка"});
    EXPECT_EQ(pane_after("hous"), (std::vector<std::string>{"hous n 1. къщичка 1000000"}));
}

// The Bulgarian answers a run keeps serve the next run, and the tokens after a pump, only while
// everything they read is as it was (so do its English ones, the tokens after a pump): after any of
// these changes, between two checks or at a pump in the middle of one, the report is the one a
// first check under the change writes.
TEST_F(TokenReport, KeptBulgarianAnswersHoldOnlyWhileWhatTheyReadIsUnchanged) {
    const auto defaults = [&] {
        reset_ctype_locale();
        OP[OPT_CHARSET_ASCII].text_value = "";
        build_ascii_tables();
        gl_SPELL_UPPERCASE = 1;
        load_dict(B_BULGARIAN, {"книга 4753"});
        load_forms({"книга книга 85 0"});
        load_dict(B_BULGARIAN_CUSTOM, {"ъъъ"});
        load_list(M_WL_ENGLISH, {"house 300"});
        // Room for a word filed in place.
        b[B_BULGARIAN_CUSTOM].entries.reserve(2);
        m[M_WL_ENGLISH].entries.reserve(2);
    };
    const struct {
        const char* input;
        const char* text;
        std::function<void()> change;  // null: nothing changes
        bool at_pump = true;           // also at a pump (the token characters cut the text before)
    } cases[] = {
        {"nothing", "книгъ Книгъ книга", nullptr},
        {"a list", "книгъ книга", [&] { load_dict(B_BULGARIAN, {"книга 4753", "книгъ 10"}); }},
        {"lists grown in place", "hous книгъ книга", [] {
             add_in_place(b[B_BULGARIAN_CUSTOM], "книгъ");
             add_in_place(m[M_WL_ENGLISH], "hour", "10");
         }},
        {"an option", "Книгъ книга", [] { gl_SPELL_UPPERCASE = 0; }},
        {"the letter case rules", "КНИГА книга", [] { set_ctype_locale("C"); }},
        {"the word forms", "книга", [&] { load_forms({"книга книга 85 2"}); }},
        {"the token characters", "книгъ??книга", [] {
             OP[OPT_CHARSET_ASCII].text_value = "63";
             build_ascii_tables();
         }, false},
    };
    respond_token = 1;  // the scan pumps before every token
    for (const auto& c : cases)
        for (const bool at_pump : {false, true}) {
            if (at_pump && !c.at_pump) continue;
            SCOPED_TRACE(std::string(c.input) + (at_pump ? ", at a pump" : ", between checks"));
            defaults();
            const std::string text = std::string(c.text) + " " + c.text + " " + c.text;
            const std::uint64_t runs_at_start = suggestion_runs;
            const std::vector<std::string> before = pane_after(text);
            const std::uint64_t runs = suggestion_runs;
            const std::uint64_t runs_before = runs - runs_at_start;
            int pumps = 0;
            if (at_pump && c.change)
                hs->on_pump = [&] {
                    if (++pumps == 2) c.change();
                };
            else if (c.change)
                c.change();
            const std::vector<std::string> again = pane_after(text);
            hs->on_pump = nullptr;
            const std::uint64_t runs_again = suggestion_runs - runs;
            release_kept_bulgarian_answers();
            release_kept_form_memo();
            const std::vector<std::string> first = pane_after(text);
            ASSERT_EQ(again.size(), first.size());
            if (!c.change) {
                EXPECT_EQ(again, before);
                EXPECT_LT(runs_again, runs_before);  // the answers kept are not asked again
                continue;
            }
            EXPECT_NE(first, before);  // the change changes the report
            // After the change: the whole report, or the tokens after the pump.
            const std::size_t from = at_pump ? first.size() - first.size() / 3 : 0;
            EXPECT_EQ(std::vector(again.begin() + static_cast<std::ptrdiff_t>(from), again.end()),
                      std::vector(first.begin() + static_cast<std::ptrdiff_t>(from), first.end()));
        }
    defaults();
}

// The program keeps a bounded set of list indexes and lets them all go when a new one finds it
// full: an English word's look-ups, which find three indexes, stay right wherever that happens.
TEST_F(TokenReport, EnglishLookUpsSurviveTheIndexesBeingLetGo) {
    load_dict(B_EN_BG, {"house n # къща"});
    load_list(M_WL_ENGLISH, {"house 300"});
    const std::vector<std::string> first = pane_after("house");
    ASSERT_EQ(first.size(), 1u);
    std::vector<std::vector<ListPair>> others(64, std::vector<ListPair>{ListPair{"other", {}}});
    for (std::size_t built = 40; built <= others.size(); ++built) {
        drop_word_indexes();
        for (std::size_t k = 0; k < built; ++k) word_index(others[k]);
        EXPECT_EQ(pane_after("house"), first) << built;
    }
}

// A form as long as the longest key of b_en-bg and the word lists is found; one letter longer is
// found in neither, and another list asked with its look-ups still finds it.
TEST_F(TokenReport, LookUpsOfFormsLongerThanEveryKey) {
    load_dict(B_EN_BG, {"houses n # къщи"});
    load_list(M_WL_ENGLISH, {"house 300"});
    load_dict(B_ENGLISH_SKIP, {"housesx"});
    EXPECT_NE(kept_answers::english_lookups("houses").en_bg, nullptr);
    const kept_answers::EnglishLookups longer = kept_answers::english_lookups("housesx");
    EXPECT_EQ(longer.en_bg, nullptr);
    EXPECT_NE(kept_answers::in_row(B_ENGLISH_SKIP, "housesx", longer), nullptr);
}

// The report's look-ups answer from the lists as they are between pumps too: a list loaded again
// between two questions (its entries moved, and the spelling's own look-up found its new index
// meanwhile) is asked through that index, never through the one kept of its old entries, and one
// grown in place (a word filed in the room its array has) is found again at once. So does the
// spelling's own look-up while the scan keeps the lists steady: a list loaded again with as many
// entries (in the same array) is found again at once, one edited in place at the next pump.
TEST_F(TokenReport, LookUpsFollowAListLoadedAgainBetweenTwoQuestions) {
    std::vector<std::string> more{"cat 1"};
    for (int i = 0; i < 300; ++i) more.push_back("w" + std::to_string(i) + " 5");
    for (const int kind : {0, 1, 2}) {  // a row, a list, a row through dictionary_index
        const bool list = kind == 1;
        const auto load = [&](const std::vector<std::string>& l) {
            list ? load_list_lines(M_WL_ENGLISH, l) : load_dict_lines(B_EN_BG, l);
        };
        SteadyWordLists steady;
        // The entry found, read as the report reads it: its key and its rest.
        const auto ask = [&](std::string_view w) {
            const ListPair* p = kind == 2 ? dictionary_index(B_EN_BG).find_entry(w)
                                : list    ? kept_answers::in_list(M_WL_ENGLISH, w)
                                          : kept_answers::in_row(B_EN_BG, w);
            return p ? std::string(p->key) + " " + std::string(p->rest) : std::string();
        };
        load({"cat 1", "dog 2"});
        ASSERT_EQ(ask("dog"), "dog 2");
        load(more);
        EXPECT_GE((list ? english_index(M_WL_ENGLISH) : dictionary_index(B_EN_BG)).find("cat"), 0);
        EXPECT_EQ(ask("dog"), "") << kind;
        EXPECT_EQ(ask("w7"), "w7 5") << kind;
        const auto grow = [&](auto& rec) {
            rec.entries.reserve(rec.entries.size() + 1);
            ASSERT_EQ(ask("emu"), "");
            add_in_place(rec, "emu", "4");
            EXPECT_EQ(ask("emu"), "emu 4") << kind;
        };
        list ? grow(m[M_WL_ENGLISH]) : grow(b[B_EN_BG]);
        if (kind != 2) continue;
        load({"cat 1", "dog 2"});
        ASSERT_EQ(ask("dog"), "dog 2");
        const ListPair* entries = b[B_EN_BG].entries.data();
        load({"cat 1", "emu 4"});
        ASSERT_EQ(b[B_EN_BG].entries.data(), entries);
        EXPECT_EQ(ask("dog"), "");
        EXPECT_EQ(ask("emu"), "emu 4");
        b[B_EN_BG].entries[1].key = "fox";
        steady.renew();
        EXPECT_EQ(ask("fox"), "fox 4");
    }
}

TEST_F(TokenReport, AListLoadedAgainWhileTheRunPumpsAnswersTheTokensAfterIt) {
    // What a run keeps of its words' answers lasts only while the lists are the ones it read:
    // loaded again at a pump (the user filed a word meanwhile), a list answers the tokens after it.
    gl_PRINT_ALL_LATIN = 1;
    respond_token = 1;  // the scan pumps before every token
    const Look correct = bold(RGB(0, 102, 204)), listed = bold(RGB(22, 56, 124)), unknown = bold(kRed);
    using Lines = std::vector<std::string_view>;
    const struct {
        const char* word;  // six times, 5 characters apart
        int row;           // of b, or of m when `list`
        bool list;
        Lines before, after;
        Look first, last;
    } cases[] = {
        {"big ", B_EN_BG, false, {"big a # голям"}, {"cat n # котка", "dog n # куче"}, correct, unknown},
        {"big ", B_EN_BG, false, {"cat n # котка"}, {"big a # голям", "dog n # куче"}, unknown, correct},
        {"big ", M_WL_ENGLISH, true, {"big 200", "red 400"}, {"cat 300"}, listed, unknown},
        {"къща", B_BULGARIAN, false, {"къща 2000"}, {"книга 4753"}, plain(0), unknown},
        {"къща", B_BULGARIAN, false, {"книга 4753"}, {"къща 2000", "книга 4753"}, unknown, plain(0)},
    };
    for (const auto& c : cases) {
        load_dict(B_EN_BG, {"house n # къща"});
        load_list(M_WL_ENGLISH, {"house 300"});
        load_dict(B_BULGARIAN, {"книга 4753"});
        auto load = [&](const Lines& lines) { c.list ? load_list_lines(c.row, lines) : load_dict_lines(c.row, lines); };
        load(c.before);
        int pumps = 0;
        hs->on_pump = [&] {
            if (++pumps == 3) load(c.after);
        };
        std::string text;
        for (int k = 0; k < 6; ++k) text += std::string(c.word) + " ";
        check(text);
        hs->on_pump = nullptr;
        ASSERT_GE(pumps, 3);
        EXPECT_EQ(look_at(hBigReRight, 0), c.first) << c.word << c.row;
        EXPECT_EQ(look_at(hBigReRight, 25), c.last) << c.word << c.row;
    }
}

// The suggestions a run keeps for its misspelt English words last only while the English lists and
// DEEP_SPELL are as they were asked under: changed at a pump, they suggest for the tokens after it.
TEST_F(TokenReport, SuggestionsAfterAListOrDeepSpellChangedAtAPumpAreAskedAgain) {
    gl_ENGLIST_UNGROUPED = 1;  // a suggestion line in the report for each misspelt token
    respond_token = 1;         // the scan pumps before every token
    const struct {
        const char* word;
        std::function<void()> change;
        const char *first, *last;
    } cases[] = {
        {"hous", [&] { load_list(M_WL_ENGLISH, {"hour 10"}); }, "hous -> house", "hous -> hour"},
        {"tilephane", [] { OP[OPT_DEEP_SPELL].num_value = 1; }, "tilephane -> no suggestions",
         "tilephane -> telephone"},
    };
    for (const auto& c : cases) {
        load_list(M_WL_ENGLISH, {"house 300", "telephone 40"});
        OP[OPT_DEEP_SPELL].num_value = 0;
        int pumps = 0;
        hs->on_pump = [&] {
            if (++pumps == 3) c.change();
        };
        std::string text;
        for (int k = 0; k < 6; ++k) text += std::string(c.word) + " ";
        check(text);
        hs->on_pump = nullptr;
        std::vector<std::string> shown;
        for (const std::string& l : lines(hBigReLeft))
            if (l.starts_with(std::string(c.word) + " -> ")) shown.push_back(l);
        ASSERT_EQ(shown.size(), 6u) << c.word;
        EXPECT_EQ(shown.front(), c.first);
        EXPECT_EQ(shown.back(), c.last);
    }
}

}  // namespace
