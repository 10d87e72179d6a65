// The end of a run: the one-token Bulgarian display, the exports of the checker's text, and the
// dictionary-entry display with its search log, transcription rule, panes, balloon and the
// subtitle statistics.
#include <gtest/gtest.h>

#include "engine/run/entry_display.h"
#include "engine/translation/subtitle_statistics.h"
#include "engine/run/scan_end.h"
#include "lookup_fixture.h"

namespace {

constexpr COLORREF kWordRed = RGB(255, 0, 41);

class EntryDisplay : public LookupTest {
protected:
    std::filesystem::path log_file;

    void SetUp() override {
        LookupTest::SetUp();
        load_dict(B_EN_BG, {"a art [`] # един", "apple [±pl] n # ябълка", "apply v # прилагам # кандидатствам",
                            "apricot n # кайсия", "ice_cream n # сладолед"});
        load_list(M_WL_ENGLISH, {"a 1", "apple 1688", "apply 900"});
        log_file = data.path() / kSearchLogName;
        fl_searchlog = std::fopen(log_file.c_str(), "ab");
        ASSERT_NE(fl_searchlog, nullptr);
        nologfile_fg = 0;
    }

    // The panel's line that holds `utf8`, or "".
    static std::string line_with(HWND re, std::string_view utf8) {
        for (const std::string& l : lines(re))
            if (l.find(utf8) != std::string::npos) return l;
        return "";
    }
    std::string search_log() {
        std::fflush(fl_searchlog);
        return read(log_file);
    }
};

TEST_F(EntryDisplay, AWordShowsItsNeighbourhoodAndItsEntry) {
    look_up("apple");
    // The dictionary panel: every entry round the word, the word red and bold, its transcription in
    // IPA and coloured.
    EXPECT_EQ(lines(dict).size(), 5u);
    const LONG at = find(dict, "apple");
    ASSERT_GE(at, 0);
    EXPECT_EQ(look_at(dict, at), bold(kWordRed));
    EXPECT_EQ(look_at(dict, at + 4), bold(kWordRed));
    EXPECT_EQ(look_at(dict, at + 5), plain(0));
    // The substitutes are shown in IPA ("±" as "æ", "`" as "ɜː"); the word's place moved with them.
    EXPECT_EQ(line_with(dict, "apple"), "apple [\u00e6pl] n # ябълка");
    EXPECT_EQ(line_with(dict, "един"), "a art [\u025c\u02d0] # един");
    EXPECT_EQ(look_of(dict, "[\u00e6pl]"), plain(kColTranscription));
    EXPECT_EQ(look_of(dict, "[\u025c"), plain(0));  // only the word's line
    // The entry panel: the formatted entry, senses numbered; wrapped to the window.
    EXPECT_EQ(lines(hAddReSaved), (std::vector<std::string>{"apple [\u00e6pl] n 1. ябълка 1688"}));
    EXPECT_EQ(look_at(hAddReSaved, 0), bold(kColOneLineWord));
    EXPECT_TRUE(RE_GetWordWrap(hAddReSaved));

    look_up("apply");
    EXPECT_EQ(lines(hAddReSaved), (std::vector<std::string>{"apply v 1. прилагам 2. кандидатствам 900"}));
    look_up("ice cream");  // blanks become '_' as in the keys
    EXPECT_EQ(look_of(dict, "ice_cream"), bold(kWordRed));
}

TEST_F(EntryDisplay, AnUnknownWordMarksItsPlaceWithTwoCharacters) {
    look_up("appz");
    const LONG at = find(dict, "apricot");
    EXPECT_EQ(RE_GetSel(dict), (CHARRANGE{at, at + 2}));
    EXPECT_EQ(look_at(dict, at), bold(kWordRed));
    EXPECT_EQ(look_at(dict, at + 1), bold(kWordRed));
    EXPECT_EQ(look_at(dict, at + 2), plain(0));
    EXPECT_EQ(panel8(hAddReSaved), "");
    EXPECT_EQ(search_log(), "");  // only words found are logged
}

TEST_F(EntryDisplay, TypingLetterByLetterLogsOnlyTheFinishedWords) {
    for (std::string_view typed : {"a", "ap", "app", "appl", "apple"}) look_up(typed);
    EXPECT_EQ(previous_exact, "apple");
    EXPECT_EQ(search_log(), std::string(kSearchLogHeader));
    look_up("appl");  // backspace: not found, nothing changes
    look_up("apply");
    EXPECT_EQ(search_log(), std::string(kSearchLogHeader) + "apple\r\n");
    look_up("APPLY");  // the same look-up in capitals continues it
    look_up("apricot");
    EXPECT_EQ(search_log(), std::string(kSearchLogHeader) + "apple\r\nAPPLY\r\n");
    EXPECT_EQ(previous_exact, "apricot");

    // Without a log nothing is written and nothing breaks.
    nologfile_fg = 1;
    look_up("apple");
    EXPECT_EQ(previous_exact, "apricot");
    EXPECT_EQ(lines(hAddReSaved).size(), 1u);

    // The previous look-up keeps at most 1,023 characters.
    nologfile_fg = 0;
    note_search(std::string(1'100, 'q'));
    EXPECT_EQ(previous_exact.size(), PREVIOUS_EXACT_MAX);
}

TEST_F(EntryDisplay, ATranscriptionBeingTypedIsNotLookedUp) {
    EXPECT_EQ(look_up_text("apple [", 0, 0, 7, false), "apple");
    EXPECT_EQ(look_up_text("apple [x", 0, 0, 8, false), std::nullopt);  // the caret inside the brackets
    EXPECT_EQ(look_up_text("apple [x", 0, 0, 7, false), "apple");
    EXPECT_EQ(look_up_text("apple [x", 0, 2, 8, false), "apple");       // two blanks removed before text8
    EXPECT_EQ(look_up_text("apple [x", 0, 0, 8, true), "apple");        // the program's own change
    EXPECT_EQ(look_up_text("apple [B]", 0, 0, 9, false), "apple");      // a label, not a transcription
    EXPECT_EQ(look_up_text("apple [AUTO]", 0, 0, 12, false), "apple");
    EXPECT_EQ(look_up_text("apple [AD x", 0, 0, 11, false), std::nullopt);
    EXPECT_EQ(look_up_text("[apple", 0, 0, 0, false), std::nullopt);
    EXPECT_EQ(look_up_text(std::string(65, 'a'), 0, 0, 0, false), std::nullopt);
    EXPECT_EQ(look_up_text(std::string(64, 'a'), 0, 0, 0, false), std::string(64, 'a'));
    EXPECT_EQ(look_up_text(std::string(80, 'a') + " [x", 0, 0, 0, false), std::string(80, 'a'));
    EXPECT_EQ(look_up_text("ice   cream ", 0, 0, 0, false), "ice_cream");
    EXPECT_EQ(look_up_text("ice cream [x", 2, 0, 0, false), "ice_cream");  // cut into tokens: '_' before '['
    EXPECT_EQ(look_up_text("", 0, 0, 0, false), "");

    look_up("apple [\u00e6");
    EXPECT_EQ(panel8(dict), "");  // nothing shown while the caret is inside
    changed_from_add_fg = 1;
    look_up("apple [\u00e6");
    EXPECT_EQ(look_of(dict, "apple"), bold(kWordRed));
}

TEST_F(EntryDisplay, MachineTranslationLeavesTheReportPanelEmpty) {
    gl_MACHINE_TRANSLATION = 1;
    look_up("apple");
    EXPECT_EQ(panel8(dict), "");
    EXPECT_EQ(lines(hAddReSaved).size(), 1u);
    EXPECT_EQ(previous_exact, "");  // the search log is the neighbourhood's
}

TEST_F(EntryDisplay, CheckerWordGetsTheNeighbourhoodAndTheEntryPanesStay) {
    check("apple");
    EXPECT_EQ(look_of(hBigReLeft, "apple"), bold(kWordRed));
    EXPECT_EQ(lines(hAddReSaved), (std::vector<std::string>{"apple [\u00e6pl] n 1. ябълка 1688"}));
    // The hidden copy of the entry box: the neighbourhood only; the definitions are not shown
    // (the saved pane keeps the run's own lines and its DONE line).
    RE_SetTextW(hAddReShortCopy, u"apply");
    std::string t8;
    std::u16string t16;
    translate_text(hMain, hAddReShortCopy, dict, hAddLabel, t8, t16, "copy");
    EXPECT_EQ(look_of(dict, "apply"), bold(kWordRed));
    EXPECT_EQ(lines(hAddReSaved),
              (std::vector<std::string>{"apply v 1. прилагам 2. кандидатствам 900", "", "DONE! 1 words found (5 characters)"}));
}

TEST_F(EntryDisplay, AfterTheProgramsOwnChangeTheSavedPaneKeepsWhatItHad) {
    RE_SetTextW(hAddReSaved, u"earlier\r");
    changed_from_add_fg = 1;
    look_up("apple");
    EXPECT_EQ(lines(hAddReSaved), (std::vector<std::string>{"earlier", "apple [\u00e6pl] n 1. ябълка 1688"}));
    EXPECT_FALSE(RE_GetWordWrap(hAddReSaved));
    // With 1166 ticked the pane starts afresh.
    PL_CreateControl(hMain, ControlKind::CheckBox, IDC_ADD_UPDATE_DEFINITION_AFTER_ADD, u"", RECT{0, 0, 10, 10});
    CheckDlgButton(hMain, IDC_ADD_UPDATE_DEFINITION_AFTER_ADD, BST_CHECKED);
    look_up("apply");
    EXPECT_EQ(lines(hAddReSaved), (std::vector<std::string>{"apply v 1. прилагам 2. кандидатствам 900"}));
}

TEST_F(EntryDisplay, TheInformationWindowTakesTheDefinitions) {
    load_dict(B_EN_EN, {"apple the round fruit of a tree"});
    DialogTemplate t;
    t.style = WS_POPUP;
    t.controls = {{ControlKind::RichEdit, 1, u"", 0, 0, 100, 50, kChild | ES_MULTILINE},
                  {ControlKind::RichEdit, 2, u"", 0, 60, 100, 50, kChild | ES_MULTILINE}};
    hInfo = CreateDialogIndirect(t, HWND{}, [](HWND, const Msg&) -> INT_PTR { return 0; });
    hInfoReTop = GetDlgItem(hInfo, 1);
    hInfoReBot = GetDlgItem(hInfo, 2);
    RE_SetTextW(hAddReSaved, u"untouched");
    look_up("apple");
    EXPECT_EQ(panel8(hAddReSaved), "untouched");
    EXPECT_EQ(lines(hInfoReTop), (std::vector<std::string>{"apple [\u00e6pl] n 1. ябълка 1688", "",
                                                           "apple the round fruit of a tree"}));
    EXPECT_EQ(lines(hInfoReBot), (std::vector<std::string>{"apple the round fruit of a tree"}));
}

TEST_F(EntryDisplay, TheBalloonIsTrimmedBeforeTheIconTakesIt) {
    nid.hWnd = hMain;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, nid));
    gl_icon_exists = 1;
    balloon.clear();
    harddelaccrue = "+hard";
    corpusaccrue = "c11";
    update_balloon();
    EXPECT_EQ(balloon, u"\r\n+hard\r\nc11");
    ASSERT_FALSE(hs->tray_calls.empty());
    EXPECT_EQ(hs->tray_calls.back().op, DWORD{NIM_MODIFY});
    EXPECT_EQ(hs->tray_calls.back().data.szInfo, u"\r\n+hard\r\nc11");

    balloon = u"line\r\n";
    harddelaccrue.clear();
    corpusaccrue.clear();
    update_balloon();
    EXPECT_EQ(nid.szInfo, u"line");  // the final line break dropped
    balloon = std::u16string(300, u'x');
    update_balloon();
    EXPECT_EQ(nid.szInfo.size(), kBalloonShown);
    EXPECT_EQ(balloon.size(), kBalloonShown);

    // No icon or no balloon option: the text is gathered, the icon is not touched.
    const std::size_t calls = hs->tray_calls.size();
    gl_TRANSLATE_IN_TRAY_BALLOON = 0;
    balloon.clear();
    harddelaccrue = "+del";
    OP[OPT_LOAD_B_CORPUS].num_value = 0;
    corpusaccrue = "c11";
    update_balloon();
    EXPECT_EQ(balloon, u"\r\n+del");
    EXPECT_EQ(hs->tray_calls.size(), calls);
}

TEST_F(EntryDisplay, SubtitleStatistics) {
    SubtitleCounters s;
    s.sentences = 10;
    s.known_sentences = 6;
    s.known_of_words = {1, 2, 0, 1, 0, 0, 0, 1};
    s.words = 80;
    s.words_in_known = 30;
    s.known_to_comma = 5;
    s.known_comma_to_mark = 5;
    const std::u16string expected =
        u"Брой изречения: 10\rПознати изречения: 6\rот 1 дума: 1\rот 2 думи: 2\rот 3 думи: 0\rот 4 думи: 1\r"
        u"от 5 думи: 0\rот 6 думи: 0\rот 7 думи: 0\rот 8 думи: 1\rот над 8 думи: 1\r----------------\r"
        u"Брой думи общо: 80\rБрой думи в познати изречения: 30\r"
        u"Брой познати думи от начало на изреч. до запетая: 5\rБрой познати думи от запетая до пунктуация: 5\r"
        u"----------------\rБрой думи в познати изречения към всички думи: 37.50%\rУспеваемост: 50.00%)\r";
    EXPECT_EQ(subtitle_statistics_text(s), expected);
    EXPECT_NE(subtitle_statistics_text(SubtitleCounters{}).find(u"Успеваемост: 0.00%)\r"), std::u16string::npos);

    RE_SetTextW(hBigReLeft, u"report");
    print_subtitle_statistics(hBigReLeft, s);
    const std::u16string text = RE_GetTextW(hBigReLeft);
    EXPECT_TRUE(text.starts_with(u"report\rСтатистика за субтитрите:\rБрой изречения: 10\r"));
    EXPECT_EQ(look_at(hBigReLeft, 7), bold(kColSubtitleStatistics));
    EXPECT_EQ(look_at(hBigReLeft, 40), plain(kColSubtitleStatistics));
    EXPECT_EQ(RE_GetSel(hBigReLeft).cpMin, 33);  // the caret at the block's start
}

// ---- The end of the scan ------------------------------------------------------------------------

class ScanEnd : public LookupTest {};

TEST_F(ScanEnd, OneBulgarianWordShowsItsEnglishItsPlaceAndItsParadigms) {
    load_dict(B_BULGARIAN, {"ключ 2000", "книга 4753", "книгата 4790", "куче 300"});
    load_dict(B_BULGARIAN_ENGLISH, {"книга book"});
    load_endings_lines({"41 1 а ата и ите о"});
    load_forms({"книга книга 85 0", "книгата книга 85 1", "книги книга 85 2"});
    RE_SetTextW(hAddReHyphen, u"corpus lines");
    Button_SetCheck(hAddSentence, BST_CHECKED);
    look_up("книгата");
    // The dictionary panel: the Bulgarian list with each form's analysis, the word red.
    const LONG at = find(dict, "книгата");
    EXPECT_EQ(look_at(dict, at), bold(RGB(255, 0, 0)));
    EXPECT_EQ(look_at(dict, at + 6), bold(RGB(255, 0, 0)));
    EXPECT_EQ(look_at(dict, at + 7), plain(0));
    EXPECT_EQ(lines(dict).size(), 4u);
    // Paradigms, the corpus pane emptied; the label clear (no English text of this form).
    EXPECT_TRUE(lines(hAddReBg).at(0).starts_with("книга 41")) << lines(hAddReBg).at(0);
    EXPECT_NE(find(hAddReBg, "книгите"), -1);
    EXPECT_EQ(panel8(hAddReHyphen), "");
    EXPECT_EQ(label8(hAddLabel), "");
    look_up("книга");
    EXPECT_EQ(label8(hAddLabel), "book");
    EXPECT_EQ(panel8(hAddReShort), "книга");  // the entry box itself is left alone

    // With SPELL_CHECKER the paradigms are not printed.
    OP[OPT_SPELL_CHECKER].num_value = 1;
    RE_SetTextW(hAddReBg, u"old");
    look_up("книга");
    EXPECT_EQ(panel8(hAddReBg), "");
}

TEST_F(ScanEnd, AnUnknownBulgarianWordIsMarkedWhereItWouldStand) {
    load_dict(B_BULGARIAN, {"ключ 2000", "книга 4753", "куче 300"});
    RE_SetTextW(hAddReHyphen, u"corpus lines");
    RE_SetTextW(hAddReBg, u"paradigms");
    check("кола");
    const LONG at = find(hBigReLeft, "куче");
    EXPECT_EQ(RE_GetSel(hBigReLeft), (CHARRANGE{at, at + 2}));
    EXPECT_EQ(look_at(hBigReLeft, at), bold(RGB(255, 0, 0)));
    EXPECT_EQ(panel8(hAddReHyphen), "");
    EXPECT_EQ(panel8(hAddReBg), "paradigms");
}

// The checker's word goes into the entry box while the information window is open, without the
// box telling its window (no look-up runs from inside the run).
int g_entry_changes = 0;
INT_PTR CountingMain(HWND, const Msg& m) {
    if (m.message == WM_COMMAND && m.code == EN_CHANGE) ++g_entry_changes;
    return 0;
}

TEST_F(ScanEnd, TheCheckersBulgarianWordGoesQuietlyIntoTheEntryBox) {
    load_dict(B_BULGARIAN, {"книга 4753"});
    load_dict(B_BULGARIAN_ENGLISH, {"книга book"});
    DialogTemplate t;
    t.style = WS_POPUP;
    t.controls = {{ControlKind::RichEdit, 1, u"", 0, 0, 100, 20, kChild | ES_MULTILINE}};
    HWND other = CreateDialogIndirect(t, HWND{}, CountingMain);
    hAddReShort = GetDlgItem(other, 1);
    RE_SetEventMask(hAddReShort, ENM_CHANGE);
    DialogTemplate info;
    info.style = WS_POPUP;
    hInfo = CreateDialogIndirect(info, HWND{}, [](HWND, const Msg&) -> INT_PTR { return 0; });
    g_entry_changes = 0;
    check("книга");
    EXPECT_EQ(label8(GetDlgItem(hBig, IDC_BIG_LABEL)), "Done!");
    EXPECT_EQ(panel8(hAddReShort), "book");
    EXPECT_EQ(g_entry_changes, 0);
    EXPECT_EQ(RE_GetEventMask(hAddReShort), DWORD{ENM_CHANGE});
}

TEST_F(ScanEnd, TheCheckersTextIsExportedWithItsGaps) {
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(data.path());
    check("one, two, three four");
    std::filesystem::current_path(here);
    EXPECT_TRUE(std::filesystem::exists(data.path() / "___UP_TOKENS_NUM_GROUPED.txt"));
    std::vector<std::pair<std::string, std::uint32_t>> gaps = table(g_floor4[3], g_nd4[3]);
    EXPECT_EQ(gaps, (std::vector<std::pair<std::string, std::uint32_t>>{{", ", 2}, {" ", 1}}));
}

TEST_F(ScanEnd, NeighbourhoodScroll) {
    EXPECT_EQ(neighbourhood_scroll(0), -15);
    EXPECT_EQ(neighbourhood_scroll(50), 35);
    EXPECT_EQ(neighbourhood_scroll(109), 94);
    EXPECT_EQ(neighbourhood_scroll(110), 95);
    EXPECT_EQ(neighbourhood_scroll(500), 95);
}

}  // namespace

namespace {

TEST_F(EntryDisplay, AWordTheDictionaryLacksGetsSuggestionsOrTheWordItComesFrom) {
    install_english_definition_hooks();
    load_dict(B_EN_BG, {"house n # къща", "mouse n # мишка", "walk v # ходя"});
    load_dict(B_EN_EN, {"walk to move on foot"});
    load_list(M_WL_ENGLISH, {"house 300", "mouse 4000", "walk 500"});
    look_up("hous");
    const std::vector<std::string> l = lines(hAddReSaved);
    ASSERT_GE(l.size(), 2u);
    EXPECT_TRUE(l[0].starts_with("hous -> house")) << l[0];
    EXPECT_EQ(look_at(hAddReSaved, 0), bold(RGB(255, 0, 42)));
    EXPECT_EQ(look_at(hAddReSaved, 5), plain(RGB(0, 127, 0)));
    EXPECT_NE(find(hAddReSaved, "house n 1. къща"), -1);

    look_up("walking");  // made from "walk" by a common suffix: its English definition
    EXPECT_EQ(lines(hAddReSaved), (std::vector<std::string>{"walk to move on foot"}));

    look_up("qqqqqq");  // nothing to suggest: nothing shown
    EXPECT_EQ(panel8(hAddReSaved), "");
}

}  // namespace
