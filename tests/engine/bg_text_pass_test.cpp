// The Bulgarian-text pass: its tokenising cases into store 2, progress and statistics lines, the
// exports it writes, the store limit, and a call that arrives while it pumps messages.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/run/bg_text_pass.h"
#include "engine_fixture.h"
#include "lexicon/display.h"

namespace {

namespace fs = std::filesystem;

using V = std::vector<Rec>;

class BgText : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        reset_bgtext_pass();
        saved_cwd = fs::current_path();
        work = data.path() / "work";
        fs::create_directories(work);
        fs::current_path(work);
        start_dir = data.path();
        DialogTemplate t;
        t.caption = u"Bulgarian text";
        t.cx = 300;
        t.cy = 200;
        t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
        t.controls = {{ControlKind::RichEdit, 501, u"", 5, 5, 280, 150, kChild | ES_MULTILINE},
                      {ControlKind::Label, 502, u"", 5, 160, 280, 10, kChild}};
        hBgText = CreateDialogIndirect(t, HWND{}, [](HWND, const Msg&) -> INT_PTR { return 0; });
        hBgTextRe = GetDlgItem(hBgText, 501);
        label = GetDlgItem(hBgText, 502);
        RE_LimitText(hBgTextRe, 1 << 30);
        SetWindowTextA(label, "keep");
    }
    void TearDown() override {
        fs::current_path(saved_cwd);
        reset_bgtext_pass();
        EngineTest::TearDown();
    }
    // Puts UTF-8 text into the panel, runs the pass and returns store 2.
    V pass(std::string_view utf8) {
        if (!stores_made) {
            make_stores();
            stores_made = true;
        }
        RE_SetTextW(hBgTextRe, utf8_to_utf16(utf8));
        std::string work_text;
        translate_bgtext(hBgTextRe, label, work_text);
        return records(store2.rec);
    }
    std::string shown_label() const { return label8(label); }
    // n words "аа" separated by blanks.
    static std::string words(int n) {
        std::string t = "аа";
        for (int k = 1; k < n; ++k) t += " аа";
        return t;
    }

    HWND label{};
    bool stores_made = false;
    fs::path saved_cwd, work;
};

TEST_F(BgText, OneLetterTagsStayInTheGaps) {
    EXPECT_EQ(pass("<i>word</i>,"), (V{{"word", "<i>", 3}, {"", "</i>,", 12}}));
    EXPECT_EQ(sen_nd2[0].pos, 12);  // the sentinel records
    EXPECT_EQ(sen_nd2[SENTINEL_RECORDS - 1].pos, 12);
    // A longer tag is no tag: its letters are a token.
    EXPECT_EQ(pass("<b>a<long>b"), (V{{"a", "<b>", 3}, {"long", "<", 5}, {"b", ">", 10}}));
}

TEST_F(BgText, NumbersCommasAndGluedPunctuation) {
    EXPECT_EQ(pass("1,000 и 3.14"), (V{{"1,000", "", 0}, {"и", " ", 6}, {"3.14", " ", 8}}));
    EXPECT_EQ(pass("word, a,b x?y z!"), (V{{"word", "", 0}, {"a,b", ", ", 6}, {"x?y", " ", 10}, {"z", " ", 14},
                                          {"", "!", 16}}));
}

TEST_F(BgText, ClosingDotsOfYearsAndListedAbbreviations) {
    EXPECT_EQ(pass("1999г. и 12. край"),
              (V{{"1999г.", "", 0}, {"и", " ", 7}, {"12", " ", 9}, {"край", ". ", 13}}));
    EXPECT_EQ(pass("etc. т.н. да"), (V{{"etc", "", 0}, {"т.н", ". ", 5}, {"да", ". ", 10}}));
    load_list(M_WL_ENGLISH2, {"12. 100"});
    load_dict(B_EN_BG, {"ETC. и т.н."});
    load_dict(B_BULGARIAN, {"т.н. 5"});
    EXPECT_EQ(pass("1999г. и 12. край"),
              (V{{"1999г.", "", 0}, {"и", " ", 7}, {"12.", " ", 9}, {"край", " ", 13}}));
    EXPECT_EQ(pass("etc. т.н. да"), (V{{"etc.", "", 0}, {"т.н.", " ", 5}, {"да", " ", 10}}));
}

TEST_F(BgText, DoubleHyphenSplitsAndApostrophesFollowTheEnglishLists) {
    EXPECT_EQ(pass("well--known"), (V{{"well", "", 0}, {"known", "--", 6}}));
    EXPECT_EQ(pass("'tis goin' boys' end' x"),
              (V{{"tis", "'", 1}, {"goin'", " ", 5}, {"boys'", " ", 11}, {"end", " ", 17}, {"x", "' ", 22}}));
    load_dict(B_EN_BG, {"'tis it is"});
    EXPECT_EQ(pass("'tis"), (V{}));  // one Latin word: estimate 1, left alone
    EXPECT_EQ(pass("'tis well"), (V{{"'tis", "", 0}, {"well", " ", 5}}));
    // A typographic apostrophe is written plain where it is moved or given back.
    EXPECT_EQ(pass("\u2019tis well"), (V{{"'tis", "", 0}, {"well", " ", 5}}));
    EXPECT_EQ(pass("\u2019twas well"), (V{{"twas", "'", 1}, {"well", " ", 6}}));
}

TEST_F(BgText, QuotationMarksAreNoTokenCharactersDuringThePassAndKeepTheirValueAfterIt) {
    for (unsigned char before : {0, 1}) {
        for (unsigned char q : {132, 147, 148}) ascii_valid[q] = before;
        EXPECT_EQ(pass("„дума“ и ”друга”"),
                  (V{{"дума", "„", 1}, {"и", "“ ", 7}, {"друга", " ”", 10}, {"", "”", 16}}));
        for (unsigned char q : {132, 147, 148}) EXPECT_EQ(ascii_valid[q], before) << int(q);
    }
}

TEST_F(BgText, TheEngineAndThePassCutAlike) {
    // One scanner for both stores: the same text gives the same records in store 2 as in store 1.
    load_dict(B_BULGARIAN, {"5. 100", "т.н. 5"});
    load_dict(B_EN_BG, {"'tis it is"});
    const char* const texts[] = {
        "в 5. клас",          "в г. София",      "и т.н. края",     "1999г. и г.",
        "‘tis well ‘and",     "a\u00ADb мека",   "<i>дума</i>, x",  "dogs' goin' word' и",
        "„цитат“ и още",      "1,000 3.14 a,b",  "well--known и",   "край.. и",
    };
    for (const char* text : texts) {
        const V bg = pass(text);
        check(text);
        EXPECT_EQ(bg, records(store1.rec)) << text;
        EXPECT_EQ(sen_nd2->pos, sen_nd->pos) << text;
    }
}

TEST_F(BgText, ShortTextsThatDoNotBeginWithACyrillicLetterAreLeftAlone) {
    EXPECT_EQ(pass("word"), (V{}));
    EXPECT_EQ(pass(""), (V{}));
    EXPECT_EQ(pass("   "), (V{}));
    EXPECT_EQ(shown_label(), "keep");
    EXPECT_TRUE(fs::is_empty(work));  // no exports either
    EXPECT_EQ(pass("дума"), (V{{"дума", "", 0}}));
    EXPECT_EQ(shown_label(), "keep");  // one record: no statistics line
    EXPECT_TRUE(fs::exists(work / "___DOWN_TOKENS_NUM_GROUPED.txt"));
}

TEST_F(BgText, StatisticsLineAndLeadingBlanks) {
    EXPECT_EQ(pass("   аз ти"), (V{{"аз", "", 3}, {"ти", " ", 6}}));
    EXPECT_EQ(sen_nd2->pos, 8);
    EXPECT_EQ(shown_label(), "100.00%  2 / ~ 2, average word length: 2.000; aver. space length: 1.000");
    pass("„аз“ ти");  // the first gap is not empty: the plain average
    EXPECT_EQ(shown_label(), "100.00%  2 / ~ 2, average word length: 2.000; aver. space length: 1.500");
}

TEST_F(BgText, ProgressLinesOnlyForTextsEstimatedAbove500Tokens) {
    respond_token = 100;
    std::vector<std::string> seen;
    hs->on_pump = [&] { seen.push_back(shown_label()); };
    pass(words(400));
    EXPECT_EQ(seen, (std::vector<std::string>{"keep", "keep", "keep", "keep"}));

    seen.clear();
    pass(words(700));
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], "0.00%  0 / ~ 700  ");
    std::string bar;
    for (int k = 0; k < 17; ++k) bar += "•";  // (14.29 x 4 = 57) mod 40 bullets
    EXPECT_EQ(seen[1], "14.29%  100 / ~ 700  " + bar);
    EXPECT_EQ(shown_label(), "100.00%  700 / ~ 700, average word length: 2.000; aver. space length: 1.000");
}

TEST_F(BgText, ExportsOfTheStoreAndTheRepeatedPassages) {
    gl_REPEATED_PARTS = 1;
    gl_REPEATED_CHECK_EACH = 1;
    gl_REPEATED_LONGER_THAN = 2;
    pass("едно две три, едно две три");
    std::ifstream in(work / "___DOWN_TOKENS_NUM_GROUPED.txt", std::ios::binary);
    const std::string tokens((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(u8(tokens), "0. две 2\r\n1. едно 2\r\n2. три 2\r\n");
    std::ifstream rep(data.path() / "_REPEATED.txt", std::ios::binary);
    const std::string report((std::istreambuf_iterator<char>(rep)), std::istreambuf_iterator<char>());
    EXPECT_EQ(u8(report), "ct:3, word: 0 to 2 -- 3 to 5 (char: 0 to 11 -- 14 to 25)\r\n"
                          "... едно две три, едно две ... \r\n");
    // The time the report took goes to the status line after the statistics; no box.
    EXPECT_TRUE(hs->message_boxes.empty());
    EXPECT_EQ(shown_label(),
              "100.00%  6 / ~ 6, average word length: 3.333; aver. space length: 1.200  phase time: 0:00:00:000");
}

TEST_F(BgText, FormattingIsResetUnlessTheMainWindowChangesTheText) {
    RE_SetTextW(hBgTextRe, u"аз ти");
    ColorRangeOn(hBgTextRe, 0, 5, CFM_COLOR | CFM_BOLD, 0x0000FF, 1);
    make_stores();
    stores_made = true;
    std::string work_text;
    translate_bgtext(hBgTextRe, label, work_text);
    CHARFORMAT2W f = RE_GetCharFormatAt(hBgTextRe, 1);
    EXPECT_EQ(f.crTextColor, 0u);
    EXPECT_FALSE(f.dwEffects & CFE_BOLD);

    ColorRangeOn(hBgTextRe, 0, 5, CFM_COLOR | CFM_BOLD, 0x0000FF, 1);
    changed_from_add_fg = 1;
    translate_bgtext(hBgTextRe, label, work_text);
    f = RE_GetCharFormatAt(hBgTextRe, 1);
    EXPECT_EQ(f.crTextColor, 0x0000FFu);
    EXPECT_EQ(records(store2.rec), (V{{"аз", "", 0}, {"ти", " ", 3}}));
}

TEST_F(BgText, LongGapsAreKeptWhole) {
    const std::string dots(20'000, '.');
    const V got = pass("аз" + dots + "ти");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1].gap, dots);
    EXPECT_EQ(got[1].pos, 20'002);
}

TEST_F(BgText, FullStoreStopsThePassAndTheProgramGoesOn) {
    OP[OPT_MAX_WORDS_IN_FILE].num_value = 3;
    EXPECT_EQ(pass("аа бб вв гг дд"), (V{{"аа", "", 0}, {"бб", " ", 3}}));
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes[0].text),
              "The option \"MAX_WORDS_IN_FILE\" (3) is not big enough. Put a bigger value in settings.txt and try "
              "again. The processing stops there: the rest of the text is left out.\r\n");
    EXPECT_EQ(hs->message_boxes[0].caption, u"Oops!");
    EXPECT_EQ(shown_label(), "100.00%  2 / ~ 5, average word length: 2.000; aver. space length: 1.000");
}

TEST_F(BgText, CallWhileThePassPumpsIsServedAfterIt) {
    respond_token = 100;
    int nested = 0;
    hs->on_pump = [&] {
        if (nested++ != 0) return;
        RE_SetTextW(hBgTextRe, u"нов текст");
        RE_SetSel(hBgTextRe, CHARRANGE{2, 4});
        std::string other;
        translate_bgtext(hBgTextRe, label, other);  // Refresh pressed meanwhile
        EXPECT_EQ(store2.rec.count(), 100u);         // not run inside the first pass
    };
    EXPECT_EQ(pass(words(300)), (V{{"нов", "", 0}, {"текст", " ", 4}}));
    EXPECT_EQ(RE_GetSel(hBgTextRe).cpMin, 2);  // the remembered call kept the panel's selection
    EXPECT_EQ(RE_GetSel(hBgTextRe).cpMax, 4);
}

}  // namespace
