// The translation window: a panel of the main window as RTF in both panes (colours kept), the
// huge-text question, the layouts, the web search's address and the small commands.
#include "text_windows_fixture.h"

namespace {

class TranslationWindow : public TextWindowsTest {
protected:
    static RECT place_of(HWND control) {
        const RECT r = GetWindowRect(control);
        const POINT tl = ScreenToClient(hTran, POINT{r.left, r.top});
        return RECT{tl.x, tl.y, tl.x + r.width(), tl.y + r.height()};
    }
};

TEST_F(TranslationWindow, TheMainWindowsButtonShowsItsPanelInBothPanesWithItsColours) {
    EXPECT_EQ(GetDlgItemTextW(hMain, IDC_ADD_BIG_TRANS), u"превод");
    RE_SetTextW(hAddReSaved, u"red text\rsecond line");
    RE_SetSel(hAddReSaved, CHARRANGE{0, 3});
    CHARFORMAT2W cf;
    cf.dwMask = CFM_COLOR | CFM_BOLD;
    cf.dwEffects = CFE_BOLD;
    cf.crTextColor = 0x0000FF;
    RE_SetCharFormat(hAddReSaved, SCF_SELECTION, cf);
    gl_novstartw = u"word";
    headless_click(hMain, IDC_ADD_BIG_TRANS);
    ASSERT_TRUE(IsWindow(hTran));
    EXPECT_EQ(GetWindowTextW(hTran), u" Translation");
    EXPECT_EQ(GetWindowTextW(hTranLabel), utf8_to_utf16(std::to_string(RE_StreamOut(hAddReSaved, SF_RTF).size())));
    for (HWND pane : {hTranReLeft, hTranReRight}) {
        EXPECT_EQ(RE_GetTextW(pane), u"red text\rsecond line");
        EXPECT_EQ(RE_GetCharFormatAt(pane, 1).crTextColor, 0x0000FFu);
        EXPECT_TRUE(RE_GetCharFormatAt(pane, 1).dwEffects & CFE_BOLD);
        EXPECT_NE(RE_GetCharFormatAt(pane, 5).crTextColor, 0x0000FFu);
    }
    EXPECT_EQ(gl_novstartw, u"");
    EXPECT_EQ((POINT{GetWindowRect(hTran).left, GetWindowRect(hTran).top}), (POINT{40, 20}));
    // "Show Big" reuses the window where it is.
    const HWND first = hTran;
    SetWindowPos(hTran, HWND{}, 300, 200, 0, 0, SWP_NOSIZE);
    RE_SetTextW(hBigReLeft, u"other");
    hReFocus = hBigReLeft;
    PL_SendCommand(hMain, IDM_SHOW_BIG);
    EXPECT_EQ(hTran, first);
    EXPECT_EQ(GetWindowTextW(hTran), u" Big");
    EXPECT_EQ(RE_GetTextW(hTranReLeft), u"other");
    EXPECT_EQ(GetWindowRect(hTran).left, 300);
}

TEST_F(TranslationWindow, AHugeTextIsShownOnlyWhenTheUserSaysSo) {
    RE_SetTextW(hAddReSaved, std::u16string(TRAN_HUGE_RTF, u'a'));
    for (int answer : {IDNO, IDYES}) {
        hs->message_box_answers.push_back(answer);
        headless_click(hMain, IDC_ADD_BIG_TRANS);
        ASSERT_FALSE(hs->message_boxes.empty());
        EXPECT_EQ(hs->message_boxes.back().caption, u"Warning!");
        EXPECT_EQ(IsWindow(hTran), answer == IDYES);
    }
    EXPECT_EQ(RE_GetTextLength(hTranReRight), static_cast<LONG>(TRAN_HUGE_RTF));
}

TEST_F(TranslationWindow, LayoutsNormalAndNarrow) {
    headless_click(hMain, IDC_ADD_BIG_TRANS);
    headless_resize(hTran, 1000, 600);
    EXPECT_EQ(place_of(hTranLabel).top, 581);
    EXPECT_EQ(place_of(hTranReLeft), (RECT{24, 40, 394, 576}));
    EXPECT_EQ(place_of(hTranReRight), (RECT{397, 40, 997, 576}));
    headless_click(hTran, IDC_TRAN_NARROW);
    EXPECT_EQ(place_of(hTranReLeft), (RECT{24, 40, 244, 576}));
    EXPECT_EQ(place_of(hTranReRight), (RECT{247, 40, 997, 576}));
    headless_resize(hTran, 1100, 600);  // the next resize: the normal layout again
    EXPECT_EQ(place_of(hTranReRight), (RECT{397, 40, 1097, 576}));
}

TEST_F(TranslationWindow, TheWebSearchTakesTheSelectionOrAFirstWord) {
    headless_click(hMain, IDC_ADD_BIG_TRANS);
    struct Case {
        std::u16string text;
        CHARRANGE sel;
        int button;
        std::string query;  // after the fixed address; "" when nothing opens
    };
    for (const Case& c : std::vector<Case>{
             {u"dog cat", {0, 3}, IDC_TRAN_GOOGLE, "dog"},
             {u"my dog", {0, 2}, IDC_TRAN_GOOGLE, "left"},  // 1 or 2 characters: the left pane
             {u"  my dog", {4, 4}, IDC_TRAN_GOOGLE, "my"},
             {u"first " + std::u16string(1'100, u'x'), {0, 1'030}, IDC_TRAN_GOOGLE, "first"},
             {std::u16string(600, u'y'), {0, 600}, IDC_TRAN_GOOGLE, std::string(511, 'y')},
             {u"big_dog", {0, 7}, IDC_TRAN_GOOGLE_BG, "%22big%20dog%22&lr=lang_bg"},
             {u"   ", {0, 3}, IDC_TRAN_GOOGLE_BG, "&lr=lang_bg"},  // blanks only: the bare address
             {u"", {0, 0}, IDC_TRAN_GOOGLE, ""}}) {
        SCOPED_TRACE(c.query);
        RE_SetTextW(hTranReLeft, u"left pane");
        RE_SetTextW(hTranReRight, c.text);
        headless_mouse(hTranReRight, WM_LBUTTONUP, POINT{2, 2});
        RE_SetSel(hTranReRight, c.sel);
        hs->shell_opened.clear();
        headless_click(hTran, c.button);
        EXPECT_EQ(hs->shell_opened, c.query.empty() ? std::vector<std::string>{}
                                                    : std::vector<std::string>{
                                                          "https://www.google.com/search?num=100&hl=en&q=" + c.query});
    }
}

TEST_F(TranslationWindow, WrapUndoFindAndDrop) {
    headless_click(hMain, IDC_ADD_BIG_TRANS);
    headless_click(hTran, IDC_TRAN_WRAP);
    EXPECT_FALSE(RE_GetWordWrap(hTranReRight));
    EXPECT_TRUE(RE_GetWordWrap(hTranReLeft));
    RE_SetTextW(hTranReRight, u"one");
    RE_SetSel(hTranReRight, CHARRANGE{3, 3});
    headless_type(hTranReRight, u" two");
    EXPECT_EQ(PL_SendCommand(hTran, IDC_TRAN_UNDO), 1);
    EXPECT_EQ(RE_GetTextW(hTranReRight), u"one");
    gl_repl_start = 7;
    EXPECT_EQ(PL_SendCommand(hTran, IDC_TRAN_FIND_REPLACE), 1);
    ASSERT_TRUE(IsWindow(hRepl));
    EXPECT_EQ(GetDlgItemTextW(hRepl, IDC_REPL_RE_LAB), u"позиция: 0");  // a new window starts at 0
    EXPECT_EQ(GetFocus(), hReplReFind);
    headless_drop(hTranReRight, {data.write("dropped.txt", "from a file")});
    EXPECT_EQ(RE_GetTextW(hTranReRight), u"from a file");
    headless_close(hTran);
    EXPECT_FALSE(hTran);
    EXPECT_FALSE(IsWindow(hRepl));  // it was the translation window's
}

// The checker's file state: neither the opening of this window nor a file dropped on its right
// pane (or the checker's bottom panel) changes what the checker's Save writes, where, its log.
TEST_F(TranslationWindow, TheCheckersFileLineEndsMarkAndLogAreLeftAlone) {
    start_dir = data.path();
    const std::string text = "\xEF\xBB\xBFone\ntwo\n";
    const auto loaded = data.write_raw("in/text.txt", text);
    hs->file_dialog_answers.push_back(loaded);
    headless_menu(hBig, 9219);
    gl_SPELL_CHECKER_LOG = 1;
    gl_log = "one -> on\r\n";
    gl_log_ct = gl_log_ct2 = 1;
    auto save_utf8 = [&](std::string_view out) {
        hs->file_dialog_answers.push_back(data.file(out));
        headless_menu(hBig, 9221);
        EXPECT_EQ(hs->file_dialog_starts.back(), loaded);
        EXPECT_EQ(data.read(out), text);
        EXPECT_TRUE(std::filesystem::exists(data.file("in/LOG_text.txt")));
    };
    headless_click(hMain, IDC_ADD_BIG_TRANS);
    ASSERT_TRUE(IsWindow(hTran));
    save_utf8("after_open.txt");
    headless_drop(hTranReRight, {data.write_raw("dropped.txt", "other\r\ntext\r\n")});
    EXPECT_EQ(RE_GetTextW(hTranReRight), u"other\rtext\r");
    save_utf8("after_drop.txt");
    headless_drop(hBigReBot, {data.write_raw("notes.txt", "notes\r\n")});
    EXPECT_EQ(RE_GetTextW(hBigReBot), u"notes\r");
    save_utf8("after_bottom_drop.txt");
}

}  // namespace
