// The Bulgarian-text window beside the text checker: its controls and menus, the one-shot
// statistics pass and Refresh, the numbers of the filter field from their eight sources, the
// right clicks, the option toggles and the colour question, the result folders, the folder runs
// that load English/Bulgarian pairs, and the close box that ends corpus-translation mode.
#include <gtest/gtest.h>

#include "audio/audio_state.h"
#include "resources/bgtext_window.h"
#include "shell/panels.h"
#include "tests/windows/checker_fixture.h"
#include "windows/bgtext_window.h"
#include "windows/checker_modes.h"

namespace {

class BgTextWindow : public CheckerTest {
protected:
    HeadlessState* hs = nullptr;
    void SetUp() override {
        CheckerTest::SetUp();
        reset_bgtext_window();
        hs = &headless();
        open();
        ASSERT_TRUE(open_bgtext_window());
    }
    void TearDown() override {
        close_bgtext_window();
        reset_bgtext_window();
        CheckerTest::TearDown();
    }
    static void right_click(HWND control) {
        const RECT r = GetWindowRect(control);
        headless_context_menu(control, POINT{r.left + 2, r.top + 2});
    }
    static void set_filter(std::u16string_view text) { SetWindowTextW(hBgTextReFilter, text); }
    std::string last_box() const { return hs->message_boxes.empty() ? "" : utf16_to_utf8(hs->message_boxes.back().text); }
    static bool checked(UINT id) { return (GetMenuState(hMenuCorpSet, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
};

TEST_F(BgTextWindow, OpensOnceWithItsControlsMenusAndMarks) {
    EXPECT_EQ(GetWindowTextW(hBgText), u"Български текст");
    EXPECT_EQ(open_bgtext_window(), hBgText);
    for (const BgTextControl& c : bgtext_controls()) EXPECT_TRUE(GetDlgItem(hBgText, c.id)) << c.name;
    EXPECT_EQ(GetDlgCtrlID(hBgTextRe), IDC_BGTEXT_RE);
    EXPECT_EQ(Button_GetCheck(hBgTextMixed), BST_CHECKED);
    const UINT order[] = {9180, 9181, 9182, 0xFFFFFFFF, 9184, 9185, 9186, 9187, 9183, 0xFFFFFFFF, 9188};
    ASSERT_EQ(GetMenuItemCount(hMenuCorpSet), 11);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(GetMenuItemID(hMenuCorpSet, i), order[i]) << i;
    EXPECT_EQ(PL_GetMenuItemText(hMenuCorpSet, 9180, MF_BYCOMMAND), u"Въведи обхват на търсене 2000");
    EXPECT_EQ(PL_GetMenuItemText(hMenuCorpSet, 9182, MF_BYCOMMAND), u"Въведи пореден файлов индекс 1");
    EXPECT_TRUE(checked(9185));
    EXPECT_FALSE(checked(9187));
    EXPECT_FALSE(checked(9188));
    // Layout: the panel fills the window above the status line.
    const RECT c = GetClientRect(hBgText), p = GetWindowRect(hBgTextRe);
    EXPECT_EQ(p.width(), c.width() - 26);
    EXPECT_EQ(p.height(), c.height() - 24 - 38);
    // A checker that opens in corpus-translation mode opens the window beside it.
    close_bgtext_window();
    DestroyWindow(hBig);
    gl_CORPUS_TRANSLATION = 1;
    ASSERT_TRUE(open_checker_window());
    EXPECT_TRUE(IsWindow(hBgText));
    gl_CORPUS_TRANSLATION = 0;
}

TEST_F(BgTextWindow, FirstChangeRunsThePassAndRefreshRunsItAgain) {
    EXPECT_EQ(GetWindowTextW(hBgTextLabel), u"");  // no line before the first pass
    SetFocus(hBgTextRe);
    headless_copy_from_outside(u"Това е първото изречение.");
    headless_paste(hBgTextRe);
    const std::u16string first = GetWindowTextW(hBgTextLabel);
    EXPECT_NE(first, u"");
    headless_type(hBgTextRe, u" Още три думи.");
    EXPECT_EQ(GetWindowTextW(hBgTextLabel), first);
    headless_click(hBgTextRefresh);
    EXPECT_NE(GetWindowTextW(hBgTextLabel), first);
    EXPECT_EQ(GetFocus(), hBgTextRe);
}

TEST_F(BgTextWindow, FilterNumbersFromTheirEightSources) {
    struct Row {
        std::u16string_view filter;
        int source;        // a menu item, or the control right-clicked
        bool by_menu;
        std::int32_t* target;
        std::int32_t value;
        std::string box;
    };
    const Row rows[] = {
        {u"250", IDC_BGTEXT_START, false, &gl_CORPUS_RANGE, 250, "new RANGE (default: 2000): 250"},
        {u"12x", IDM_CORP_RANGE, true, &gl_CORPUS_RANGE, 12, "new RANGE (default: 2000): 12"},
        {u"0", IDM_CORP_STEP, true, &gl_CORPUS_SKIP_CT, 0, "new STEP (default: 12): 0"},
        {u"31", IDM_CORP_FILE_INDEX, true, &gl_CORPUS_FILE_INDEX, 31, "New file index: 31  (hex: 1f)"},
        {u"7", IDC_BGTEXT_START2, false, &gl_CORPUS_SKIP_CT, 7, "new SKIP (default 12): 7"},
        {u"41", IDC_BGTEXT_STOP, false, &gl_CORPUS_FAST_RANGE, 41, "new FAST_RANGE (default 40): 41"},
        {u"13", IDC_BGTEXT_MIXED, false, &gl_CORPUS_WIDE, 13, "new CORPUS_WIDE (default 12): 13"},
        {u"99999999999", IDC_BGTEXT_REFRESH, false, &gl_CORPUS_GOOD_TRESHOLD, 2147483647,
         "new GOOD_TRESHOLD (default 6): 2147483647"},
        {u"x12", IDC_BGTEXT_START, false, &gl_CORPUS_RANGE, 0, "Not a number!"},
        {u"", IDM_CORP_STEP, true, &gl_CORPUS_SKIP_CT, 0, "Полето е празно"},
    };
    for (const Row& r : rows) {
        *r.target = -1;
        set_filter(r.filter);
        if (r.by_menu) headless_menu(hBgText, static_cast<UINT>(r.source));
        else right_click(GetDlgItem(hBgText, r.source));
        EXPECT_EQ(last_box(), r.box) << r.source;
        const bool refused = r.box == "Not a number!" || r.box == "Полето е празно";
        EXPECT_EQ(*r.target, refused ? -1 : r.value) << r.source;
        EXPECT_EQ(utf16_to_utf8(hs->message_boxes.back().caption), refused ? "Oops!" : "Done!");
    }
    EXPECT_EQ(PL_GetMenuItemText(hMenuCorpSet, 9180, MF_BYCOMMAND), u"Въведи обхват на търсене 12");
    EXPECT_EQ(PL_GetMenuItemText(hMenuCorpSet, 9181, MF_BYCOMMAND), u"Въведи стъпка 7");

    right_click(hBgTextLabel);
    EXPECT_EQ(last_box(), "CORPUS_RANGE (2000): -1\nCORPUS_SKIP_CT (12): -1\nCORPUS_FAST_RANGE (40): 41\n"
                          "CORPUS_WIDE (12): 13\nCORPUS_GOOD_TRESHOLD (6): 2147483647");
}

TEST_F(BgTextWindow, TogglesAndTheColourQuestion) {
    headless_menu(hBgText, IDM_CORP_STRICT_NOUN);
    EXPECT_TRUE(checked(IDM_CORP_STRICT_NOUN));
    EXPECT_EQ(gl_CORPUS_STRICT_NOUN, 1);
    headless_menu(hBgText, IDM_CORP_STRICT_NOUN);
    EXPECT_EQ(gl_CORPUS_STRICT_NOUN, 0);

    const std::size_t before = hs->message_boxes.size();
    hs->message_box_answers.push_back(IDNO);
    headless_menu(hBgText, IDM_CORP_ANALYSE_TEXT);
    ASSERT_EQ(hs->message_boxes.size(), before + 1);
    EXPECT_EQ(hs->message_boxes.back().owner, hBigReRight);
    EXPECT_EQ(gl_CORPUS_COLOR, 1);
    hs->message_box_answers.push_back(IDYES);
    headless_menu(hBgText, IDM_CORP_ANALYSE_TEXT);
    EXPECT_EQ(gl_CORPUS_COLOR, 0);
    EXPECT_EQ(gl_CORPUS_UNDERLINE, 0);
    EXPECT_FALSE(checked(IDM_CORP_COLOR) || checked(IDM_CORP_UNDERLINE));
    headless_menu(hBgText, IDM_CORP_ANALYSE_TEXT);  // no question once colouring is off
    EXPECT_EQ(hs->message_boxes.size(), before + 2);
}

TEST_F(BgTextWindow, ResultFolderBesideTheLoadedFile) {
    EXPECT_EQ(bgtext_result_folder("/texts/book.txt", "old"), "/texts_res");
    EXPECT_EQ(bgtext_result_folder("/texts/sub/", "old"), "/texts_res");
    EXPECT_EQ(bgtext_result_folder("/book.txt", "old"), "/");
    EXPECT_EQ(bgtext_result_folder("book.txt", "old"), "old");

    gl_dropped.clear();
    headless_menu(hBgText, IDM_CORP_TEST_TEXT);
    EXPECT_EQ(last_box(), "No file is open!\n");
    gl_dropped = data.file("texts/book.txt").string();
    headless_menu(hBgText, IDM_CORP_TEST_TEXT);
    EXPECT_EQ(last_box(), "The result will be written in \"" + data.file("texts_res").string() + "\".\n");
    EXPECT_TRUE(std::filesystem::is_directory(data.file("texts_res")));
    // A result folder that cannot be made is said, and the command goes on.
    data.write_raw("blocker", "a file");
    gl_dropped = data.file("blocker/x/book.txt").string();
    headless_menu(hBgText, IDM_CORP_TEST_TEXT);
    ASSERT_GE(hs->message_boxes.size(), 2u);
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes.end()[-2].text),
              "Cannot change to folder " + data.file("blocker/x_res").string() + ", reason: Not a directory, (errno = 20)\n");
}

// A Bulgarian file dropped on the text panel or opened into it is the one this window's own test
// works beside, while the checker's Save still proposes the checker's file with its line ends.
TEST_F(BgTextWindow, AFileLoadedIntoThePanelLeavesTheCheckersSaveAlone) {
    start_dir = data.path();
    const auto english = data.write_raw("en/text.txt", "English\r\ntext\r\n");
    hs->file_dialog_answers.push_back(english);
    headless_menu(hBig, 9219);
    const auto bulgarian = data.write_raw("bg/text.txt", "Bulgarian\ntext\n");
    for (bool drop : {true, false}) {
        SCOPED_TRACE(drop ? "dropped" : "opened");
        if (drop) {
            headless_drop(hBgTextRe, {bulgarian});
        } else {
            hs->file_dialog_answers.push_back(bulgarian);
            headless_menu(hBgText, IDM_CORP_OPEN_FILE);
        }
        EXPECT_EQ(RE_GetTextW(hBgTextRe), u"Bulgarian\rtext\r");
        headless_menu(hBgText, IDM_CORP_TEST_TEXT);
        EXPECT_EQ(last_box(), "The result will be written in \"" + data.file("bg_res").string() + "\".\n");
        hs->file_dialog_answers.push_back(data.file("saved.txt"));
        headless_menu(hBig, 9220);
        EXPECT_EQ(hs->file_dialog_starts.back(), english);
        EXPECT_EQ(data.read("saved.txt"), "English\r\ntext\r\n");
    }
}

TEST_F(BgTextWindow, FolderRunsLoadThePairsOfEachFolder) {
    data.write("pairs/EN_one.txt", "First English text.");
    data.write("pairs/BG_one.txt", "Първи български текст.");
    data.write("pairs/notes.txt", "skipped");
    data.write("pairs/sub/EN_alone.txt", "Alone.");
    data.write_raw("pairs/sub/deeper/EN_two.txt", "\xEF\xBB\xBFSecond.");
    data.write_raw("pairs/sub/deeper/BG_two.txt", "Втори текст, а е о и");
    hs->folder_dialog_answers.push_back(data.file("pairs"));
    headless_menu(hBgText, IDM_CORP_ANALYSE_FOLDER);  // the colour question answers No
    EXPECT_EQ(gl_CORPUS_FILE_INDEX, 3);
    EXPECT_EQ(fl_ct_global, 5u);  // the taken files only
    EXPECT_EQ(dir_ct_global, 2u);
    const std::string deeper = data.file("pairs/sub/deeper").string() + "/";
    EXPECT_EQ(GetWindowTextA(hBig), " " + deeper + "EN_two.txt  10");
    EXPECT_EQ(GetWindowTextW(hBgText), utf8_to_utf16(" " + deeper + "BG_two.txt  34"));
    EXPECT_EQ(GetWindowTextW(hBigReRight), u"Second.");
    EXPECT_EQ(GetWindowTextW(hBgTextRe), u"Втори текст, а е о и");
    EXPECT_EQ(gl_fg_utf8header, 1);
    const std::string report = data.read("pairs_res/__report.txt");
    EXPECT_NE(report.find(data.file("pairs").string() + "/   EN_one.txt   19\r\n"), std::string::npos);
    EXPECT_EQ(report.find("notes.txt"), std::string::npos);
    EXPECT_NE(report.find("Entering dir: " + data.file("pairs/sub").string() + "/\r\n"), std::string::npos);

    // One pair from one folder; gl_dropped names the English file, the checker's text.
    hs->folder_dialog_answers.push_back(data.file("pairs"));
    headless_menu(hBgText, IDM_CORP_OPEN_FOLDER);
    EXPECT_EQ(GetWindowTextW(hBigReRight), u"First English text.");
    EXPECT_EQ(GetWindowTextW(hBgTextRe), u"Първи български текст.");
    EXPECT_EQ(gl_dropped, data.file("pairs/EN_one.txt").string());
    EXPECT_EQ(gl_CORPUS_FILE_INDEX, 3);
}

// After either folder load the checker's Save proposes the English file its text came from (never
// the Bulgarian one beside it, nor a file loaded earlier) and writes it back as it was, the NUL
// characters of both UTF-8 texts turned into blanks.
TEST_F(BgTextWindow, SaveAfterAFolderLoadProposesTheEnglishFileWithoutNuls) {
    start_dir = data.path();
    data.write_raw("pair/EN_a.txt", std::string("\xEF\xBB\xBF" "English\0text\r\n", 17));
    data.write_raw("pair/BG_a.txt", std::string("Втори\0текст, а е о и", 34));
    for (UINT command : {IDM_CORP_TEST_FOLDER, IDM_CORP_OPEN_FOLDER}) {
        SCOPED_TRACE(command);
        gl_dropped = data.file("earlier.txt").string();
        hs->folder_dialog_answers.push_back(data.file("pair"));
        headless_menu(hBgText, command);
        EXPECT_EQ(GetWindowTextW(hBgTextRe), u"Втори текст, а е о и");
        hs->file_dialog_answers.push_back(data.file("saved.txt"));
        headless_menu(hBig, 9221);
        EXPECT_EQ(hs->file_dialog_starts.back(), data.file("pair/EN_a.txt"));
        EXPECT_EQ(data.read("saved.txt"), "\xEF\xBB\xBF" "English text\r\n");
    }
}

// Stop pressed while the folder run checks an English text cuts that check short and ends the
// folder run: the pair of the sub-folder is not loaded.
TEST_F(BgTextWindow, StopDuringTheCheckOfAnEnglishTextEndsTheFolderRun) {
    data.write_raw("pairs/EN_one.txt", "First English text with a few words in it.");
    data.write_raw("pairs/BG_one.txt", "Parvi.");
    data.write_raw("pairs/sub/EN_two.txt", "Second.");
    data.write_raw("pairs/sub/BG_two.txt", "Vtori.");
    int stops = 0;
    hs->on_pump = [&stops] {
        if (stops == 0 && RE_GetTextW(hBigReRight).starts_with(u"First")) {
            ++stops;
            headless_click(hBgText, IDC_BGTEXT_STOP);
        }
    };
    hs->folder_dialog_answers.push_back(data.file("pairs"));
    headless_menu(hBgText, IDM_CORP_ANALYSE_FOLDER);
    hs->on_pump = nullptr;
    EXPECT_EQ(stops, 1);
    EXPECT_TRUE(RE_GetTextW(hBigReRight).starts_with(u"First"));
    EXPECT_NE(RE_GetTextW(hBgTextRe), u"Vtori.");
    EXPECT_EQ(data.read("pairs_res/__report.txt").find("EN_two.txt"), std::string::npos);
    EXPECT_EQ(gl_cancel, 0);

    // A Stop pressed while no folder run is going stops no later one.
    headless_click(hBgText, IDC_BGTEXT_STOP);
    hs->folder_dialog_answers.push_back(data.file("pairs"));
    headless_menu(hBgText, IDM_CORP_ANALYSE_FOLDER);
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"Second.");
}

TEST_F(BgTextWindow, CloseBoxEndsCorpusModeAndGivesBackTheBottomPanelFlag) {
    close_bgtext_window();
    gl_PRINT_DOWN = gl_PRINT_DOWN_save = 0;
    for (bool human : {false, true}) {
        SCOPED_TRACE(human);
        if (human) headless_menu(hBig, IDM_BIG_HUMAN);  // opens the machine-translation window
        headless_menu(hBig, IDM_BIG_CORPUS);
        ASSERT_TRUE(IsWindow(hBgText));  // the mode command opens the window
        EXPECT_EQ(gl_PRINT_DOWN + gl_CHECK_PUNCTUATION, 1);
        headless_close(hBgText);
        EXPECT_FALSE(IsWindow(hBgText));
        EXPECT_EQ(hBgTextRe, HWND{});
        EXPECT_EQ(gl_CORPUS_TRANSLATION, 0);
        EXPECT_EQ(GetMenuState(hMenuToolsS, IDM_BIG_CORPUS, MF_BYCOMMAND) & MF_CHECKED, 0);
        EXPECT_EQ(gl_CHECK_PUNCTUATION, human ? 0 : 1);
        EXPECT_EQ(gl_PRINT_DOWN, human ? 1 : 0);  // human translation still needs the bottom panel
        EXPECT_EQ(IsWindowVisible(GetDlgItem(hBig, machine_control_ids()[0])), human);
        // The mode comes on again as from the start.
        headless_menu(hBig, IDM_BIG_CORPUS);
        EXPECT_TRUE(IsWindow(hBgText));
        headless_menu(hBig, IDM_BIG_CORPUS);
        EXPECT_FALSE(IsWindow(hBgText));
    }
    headless_menu(hBig, IDM_BIG_HUMAN);
    EXPECT_EQ(gl_PRINT_DOWN, 0);
}

}  // namespace
