// Colouring and the entry displays on headless rich-edit panels.
#include "lex_test_util.h"
#include "lexicon/display.h"
#include "lexicon/panels.h"
#include "shell/settings.h"

namespace {

int g_changes = 0;
INT_PTR CountingProc(HWND, const Msg& m) {
    if (m.message == WM_COMMAND && m.code == EN_CHANGE) ++g_changes;
    return 0;
}

class DisplayTest : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        data.write("b_en-bg.txt",
                   "dog [d§g] n # куче # пес [BULK]\n"
                   "dogs pl. of dog\n"
                   "cat котка\n");
        data.write("b_en-en.txt", "dog a domestic animal\n");
        data.write("wl_english.txt", "dog 845\ncat 920\n");
        data.write("b_bulgarian.txt", "град 300\n");
        data.write("b_bulgarian_english.txt", "град city\n");
        data.write("c/c_c11.txt", "dog куче\n");
        data.write("c/hard.txt", "dog кучешки\n");
        data.write("c/c_not11.txt", "dog не\n");
        data.write("c/cs_11.txt", "dog.\tКуче.\n");
        data.write("bgtypes2/_endings.txt", kTestEndings);
        data.write("bgtypes2/_D2_ungrouped_sorted.txt", kTestForms);
        load_lexicon(data.path());
        DialogTemplate t;
        t.caption = u"Counting";
        t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
        t.controls.push_back({ControlKind::RichEdit, 1, u"", 0, 0, 300, 100, WS_CHILD | WS_VISIBLE | ES_MULTILINE});
        t.controls.push_back({ControlKind::RichEdit, 2, u"", 0, 100, 300, 100, WS_CHILD | WS_VISIBLE | ES_MULTILINE});
        t.controls.push_back({ControlKind::RichEdit, 3, u"", 0, 200, 300, 100, WS_CHILD | WS_VISIBLE | ES_MULTILINE});
        dlg = CreateDialogIndirect(t, {}, CountingProc);
        re = GetDlgItem(dlg, 1);
        re2 = GetDlgItem(dlg, 2);
        re3 = GetDlgItem(dlg, 3);
        RE_SetEventMask(re, ENM_CHANGE | ENM_SELCHANGE);
        g_changes = 0;
    }
    HWND dlg{}, re{}, re2{}, re3{};
};

TEST_F(DisplayTest, ColouringSilencesThePanelAndLeavesTheRangeSelected) {
    RE_SetTextW(re, u"hello world");
    g_changes = 0;
    ColorRangeOn(re, 6, 11, 0x40000001, 0x0000FF, 1);
    EXPECT_EQ(RE_GetEventMask(re), static_cast<DWORD>(ENM_CHANGE | ENM_SELCHANGE));
    EXPECT_EQ(RE_GetSel(re), (CHARRANGE{6, 11}));
    CHARFORMAT2W f = RE_GetCharFormatAt(re, 7);
    EXPECT_EQ(f.crTextColor, 0x0000FFu);
    EXPECT_TRUE(f.dwEffects & CFE_BOLD);
    EXPECT_FALSE(RE_GetCharFormatAt(re, 2).dwEffects & CFE_BOLD);
    // Back to plain black: colour, bold and underline with colour 0 and no effects.
    ColorRangeOn(re, 0, 11, 0x40000005, 0, 0);
    EXPECT_FALSE(RE_GetCharFormatAt(re, 7).dwEffects & CFE_BOLD);
    EXPECT_EQ(g_changes, 0);
}

TEST_F(DisplayTest, TranscriptionsAreColoured) {
    RE_SetTextW(re, u"dog [dɒg] n\rcat [kæt]");
    ColorTranscription(re, 0, true);
    EXPECT_EQ(RE_GetCharFormatAt(re, 5).crTextColor, kColTranscription);
    EXPECT_NE(RE_GetCharFormatAt(re, 17).crTextColor, kColTranscription) << "only the first line";
    ColorTranscription(re, 12, false);
    EXPECT_EQ(RE_GetCharFormatAt(re, 17).crTextColor, kColTranscription);
}

TEST_F(DisplayTest, OneColouredLinePerEntry) {
    gl_PRINT_RANK_IN_ONELINE = 1;
    hLiveRe = re2;
    const ListPair& dog = b[B_EN_BG].entries[1];
    ASSERT_EQ(std::string(dog.key), "dog");
    WriteOneColoredLine(re, dog, u"", 845, 1);
    EXPECT_EQ(panel_text(re), "dog [d\u0283g] n 1. куче 2. пес 845\r");
    EXPECT_EQ(RE_GetCharFormatAt(re, 0).crTextColor, kColOneLineWord);
    EXPECT_TRUE(RE_GetCharFormatAt(re, 0).dwEffects & CFE_BOLD);
    EXPECT_FALSE(RE_GetCharFormatAt(re, 5).dwEffects & CFE_BOLD);
    EXPECT_EQ(RE_GetCharFormatAt(re, RE_GetTextLength(re) - 2).crTextColor, kColGrey);
    EXPECT_EQ(panel_text(re2), panel_text(re)) << "the live clipboard panel gets the line too";
    EXPECT_EQ(g_changes, 0);
    gl_PRINT_RANK_IN_ONELINE = 0;
    WriteOneColoredLine(re3, dog, u"DOG", 845, 0);
    EXPECT_EQ(panel_text(re3), "DOG [d\u0283g] n 1. куче 2. пес\r");
}

TEST_F(DisplayTest, EnglishEntriesStemsAndDefinitions) {
    gl_PRINT_RANK_IN_ONELINE = 0;
    print_multiline_english_definition_to_re(re, "dogs");
    EXPECT_EQ(panel_text(re), "dogs pl. of dog\rdog [d\u0283g] n 1. куче 2. пес\r");
    print_English_definition(re2, "dog's", 0);
    EXPECT_EQ(panel_text(re2), "dog a domestic animal\r");
    EXPECT_EQ(apostrophe_variant("runnin'"), "running");
    EXPECT_EQ(apostrophe_variant("we'll"), "we");
    EXPECT_EQ(apostrophe_variant("fox'"), "fox");
    EXPECT_EQ(apostrophe_variant("dog"), "");
}

TEST_F(DisplayTest, CorpusLinesGatherTheirLabels) {
    print_corpus1_data(re, "dog");
    EXPECT_EQ(panel_text(re), "c11: dog -> куче\rnot11: dog -> не\rh: dog -> кучешки\r");
    EXPECT_EQ(corpusaccrue, "c11 ");
    EXPECT_EQ(harddelaccrue, "+del +hard ");
    print_corpus2_data(re2, "DOG");
    EXPECT_EQ(panel_text(re2), "cs_11: dog. -> Куче.\r");
    EXPECT_EQ(corpusaccrue, "c11 cs_11 ");
}

TEST_F(DisplayTest, TheParadigmsOfEveryAnalysis) {
    PrintBgTypeAuto(re, cp("жени"));
    const std::string text = panel_text(re);
    EXPECT_EQ(text.substr(0, text.find('\r')), "жена 41 noun");
    EXPECT_NE(text.find("\r3. жени  мн.ч.  <\r"), std::string::npos) << text;
    EXPECT_NE(text.find("\r5. жено  звателна форма\r"), std::string::npos) << text;
    EXPECT_NE(text.find("\rженя "), std::string::npos) << "the verb's paradigm follows";
    EXPECT_EQ(RE_GetCharFormatAt(re, 0).crTextColor, kColParadigmHeader);
    PrintBgTypeAuto(re2, cp("непознато"));
    EXPECT_EQ(panel_text(re2), "");
}

TEST_F(DisplayTest, TheTypeInputShowsEveryFormInTheEntryBox) {
    hAddReShort = re;
    set_panel(re, "книга още");
    g_changes = 0;
    PrintBgType(T41);
    EXPECT_EQ(panel_text(re), "книга 41\rкнигата\rкниги\rкнигите\rкниго");
    EXPECT_EQ(g_changes, 0);
}

TEST_F(DisplayTest, TheWordAtTheCaret) {
    set_panel(re, "a big dog's bone", 7, 7);
    EXPECT_EQ(word_at_caret(re), "dog's");
    set_panel(re, "a big dog's bone", 2, 9);
    EXPECT_EQ(word_at_caret(re), "big dog");
    set_panel(re, "-- well-known --", 4, 4);
    EXPECT_EQ(word_at_caret(re), "well-known");
}

TEST_F(DisplayTest, TheLookUpAtTheCaretWritesWhatTheLexiconKnows) {
    hBigReRight = re;
    hBigReLeft = re2;
    hBigReBot = re3;
    set_panel(re, "the dog barks", 5, 5);
    GetCleanToken(re, 1);
    std::string shown = panel_text(re2);
    EXPECT_EQ(shown.substr(0, shown.find('\r')), "dog");
    EXPECT_NE(shown.find("rank: 845\r"), std::string::npos) << shown;
    EXPECT_NE(shown.find("куче n; "), std::string::npos) << shown;
    EXPECT_NE(shown.find("1. куче 2. пес"), std::string::npos) << shown;
    EXPECT_NE(shown.find("dog a domestic animal"), std::string::npos) << shown;

    // Bulgarian words show their analysis, rank, English text and paradigm; printed down.
    gl_PRINT_DOWN = 1;
    set_panel(re, "Градът е голям", 2, 2);
    GetCleanToken(re, 1);
    shown = panel_text(re3);
    EXPECT_NE(shown.find("(град 1 noun suf:2)"), std::string::npos) << shown;
    EXPECT_NE(shown.find("rank: 300"), std::string::npos) << shown;
    EXPECT_NE(shown.find("city"), std::string::npos) << shown;
    EXPECT_NE(shown.find("4. градове"), std::string::npos) << shown;

    // Switched off: nothing is written.
    gl_BIG_ACTIVE = 0;
    RE_SetTextW(re3, u"");
    GetCleanToken(re, 1);
    EXPECT_EQ(panel_text(re3), "");
}

}  // namespace
