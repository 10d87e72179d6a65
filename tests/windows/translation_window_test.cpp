// The translation window: opened from the main window with a panel's content as RTF in both panes
// (colours kept), the huge-text question, the layouts, the web search's address, and its small
// commands.
#include "text_windows_fixture.h"

namespace {

class TranslationWindow : public TextWindowsTest {
protected:
    // The main window's entry panel with "red", "text" in the default colour and a last line.
    static void fill_source() {
        RE_SetTextW(hAddReSaved, u"red text\rsecond line");
        RE_SetSel(hAddReSaved, CHARRANGE{0, 3});
        CHARFORMAT2W cf;
        cf.dwMask = CFM_COLOR | CFM_BOLD;
        cf.dwEffects = CFE_BOLD;
        cf.crTextColor = 0x0000FF;
        RE_SetCharFormat(hAddReSaved, SCF_SELECTION, cf);
    }
    static RECT place_of(HWND control) {
        const RECT r = GetWindowRect(control);
        const POINT tl = ScreenToClient(hTran, POINT{r.left, r.top});
        return RECT{tl.x, tl.y, tl.x + r.width(), tl.y + r.height()};
    }
};

TEST_F(TranslationWindow, TheMainWindowsButtonShowsItsPanelInBothPanesWithItsColours) {
    EXPECT_EQ(GetDlgItemTextW(hMain, IDC_ADD_BIG_TRANS), u"превод");
    fill_source();
    gl_novstartw = u"word";
    headless_click(hMain, IDC_ADD_BIG_TRANS);
    ASSERT_TRUE(IsWindow(hTran));
    EXPECT_EQ(GetWindowTextW(hTran), u" Translation");
    EXPECT_EQ(GetWindowTextW(hTranLabel), utf8_to_utf16(std::to_string(RE_StreamOut(hAddReSaved, SF_RTF).size())));
    for (HWND pane : {hTranReLeft, hTranReRight}) {
        EXPECT_EQ(RE_GetTextW(pane), u"red text\rsecond line");
        const CHARFORMAT2W red = RE_GetCharFormatAt(pane, 1);
        EXPECT_EQ(red.crTextColor, 0x0000FFu);
        EXPECT_TRUE(red.dwEffects & CFE_BOLD);
        EXPECT_NE(RE_GetCharFormatAt(pane, 5).crTextColor, 0x0000FFu);
    }
    EXPECT_EQ(RE_GetSel(hTranReLeft), (CHARRANGE{0, 0}));
    EXPECT_TRUE(RE_GetEventMask(hTranReRight) & ENM_CHANGE);
    EXPECT_EQ(gl_novstartw, u"");
    EXPECT_EQ(GetWindowRect(hTran).left, 40);
    EXPECT_EQ(GetWindowRect(hTran).top, 20);
    EXPECT_EQ(Button_GetCheck(hTranWrap), BST_CHECKED);
    for (const TextWindowToolTip& t : translation_tooltips()) EXPECT_EQ(GetToolTipText(GetDlgItem(hTran, t.id)), t.text);
    EXPECT_EQ(translation_controls().size(), 12u);
    // "Show Big" of the shared popup reuses the window where it is.
    const HWND first = hTran;
    SetWindowPos(hTran, HWND{}, 300, 200, 0, 0, SWP_NOSIZE);
    RE_SetTextW(hBigReLeft, u"other");
    hReFocus = hBigReLeft;
    SendCommand(hMain, IDM_SHOW_BIG);
    EXPECT_EQ(hTran, first);
    EXPECT_EQ(GetWindowTextW(hTran), u" Big");
    EXPECT_EQ(RE_GetTextW(hTranReLeft), u"other");
    EXPECT_EQ(GetWindowRect(hTran).left, 300);
    EXPECT_TRUE(hs->message_boxes.empty());
}

TEST_F(TranslationWindow, AHugeTextIsShownOnlyWhenTheUserSaysSo) {
    RE_SetTextW(hAddReSaved, std::u16string(TRAN_HUGE_RTF, u'a'));
    for (int answer : {IDNO, IDYES}) {
        hs->message_box_answers.push_back(answer);
        headless_click(hMain, IDC_ADD_BIG_TRANS);
        ASSERT_FALSE(hs->message_boxes.empty());
        EXPECT_EQ(hs->message_boxes.back().caption, u"Warning!");
        EXPECT_EQ(hs->message_boxes.back().text.substr(0, 20), u"This is a huge text ");
        EXPECT_EQ(IsWindow(hTran), answer == IDYES);
    }
    EXPECT_EQ(RE_GetTextLength(hTranReRight), static_cast<LONG>(TRAN_HUGE_RTF));
}

TEST_F(TranslationWindow, LayoutsNormalAndNarrow) {
    headless_click(hMain, IDC_ADD_BIG_TRANS);
    headless_resize(hTran, 1000, 600);
    const RECT label = place_of(hTranLabel);
    EXPECT_EQ((POINT{label.left, label.top}), (POINT{24, 581}));
    EXPECT_EQ(place_of(hTranReLeft), (RECT{24, 40, 394, 576}));
    EXPECT_EQ(place_of(hTranReRight), (RECT{397, 40, 997, 576}));
    headless_click(hTran, IDC_TRAN_NARROW);
    EXPECT_EQ(place_of(hTranReLeft), (RECT{24, 40, 244, 576}));
    EXPECT_EQ(place_of(hTranReRight), (RECT{247, 40, 997, 576}));
    headless_resize(hTran, 1100, 600);  // the next resize: the normal layout again
    EXPECT_EQ(place_of(hTranReLeft).right, 394);
    EXPECT_EQ(place_of(hTranReRight), (RECT{397, 40, 1097, 576}));
}

TEST_F(TranslationWindow, TheWebSearchTakesTheSelectionOrAFirstWord) {
    headless_click(hMain, IDC_ADD_BIG_TRANS);
    struct Case {
        const char* name;
        std::u16string text;
        CHARRANGE sel;
        int button;
        std::string query;  // after the fixed address; "" when nothing opens
    };
    const std::u16string many(1'100, u'x');
    const std::vector<Case> cases{
        {"3 characters", u"dog cat", {0, 3}, IDC_TRAN_GOOGLE, "dog"},
        {"2 characters: the left pane", u"my dog", {0, 2}, IDC_TRAN_GOOGLE, "left"},
        {"a caret: the focus pane", u"  my dog", {4, 4}, IDC_TRAN_GOOGLE, "my"},
        {"1,024 or more: the focus pane", u"first " + many, {0, 1'030}, IDC_TRAN_GOOGLE, "first"},
        {"600 characters: the first 511", std::u16string(600, u'y'), {0, 600}, IDC_TRAN_GOOGLE, std::string(511, 'y')},
        {"a phrase", u"big_dog", {0, 7}, IDC_TRAN_GOOGLE_BG, "%22big dog%22&lr=lang_bg"},
        {"an empty pane", u"", {0, 0}, IDC_TRAN_GOOGLE, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RE_SetTextW(hTranReLeft, u"left pane");
        RE_SetTextW(hTranReRight, c.text);
        RE_SetSel(hTranReRight, c.sel);
        headless_mouse(hTranReRight, WM_LBUTTONUP, POINT{2, 2});
        RE_SetSel(hTranReRight, c.sel);
        ASSERT_EQ(hReFocus, hTranReRight);
        hs->shell_opened.clear();
        headless_click(hTran, c.button);
        if (c.query.empty()) {
            EXPECT_TRUE(hs->shell_opened.empty());
        } else {
            ASSERT_EQ(hs->shell_opened.size(), 1u);
            EXPECT_EQ(hs->shell_opened[0], utf16_to_utf8(TRAN_SEARCH_ADDRESS) + c.query);
        }
    }
}

TEST_F(TranslationWindow, WrapUndoClearFindAndDrop) {
    headless_click(hMain, IDC_ADD_BIG_TRANS);
    headless_click(hTran, IDC_TRAN_WRAP);
    EXPECT_FALSE(RE_GetWordWrap(hTranReRight));
    EXPECT_TRUE(RE_GetWordWrap(hTranReLeft));
    headless_click(hTran, IDC_TRAN_WRAP);
    EXPECT_TRUE(RE_GetWordWrap(hTranReRight));

    RE_SetTextW(hTranReRight, u"one");
    RE_SetSel(hTranReRight, CHARRANGE{3, 3});
    headless_type(hTranReRight, u" two");
    EXPECT_EQ(SendCommand(hTran, IDC_TRAN_UNDO), 1);
    EXPECT_EQ(RE_GetTextW(hTranReRight), u"one");
    SendCommand(hTran, IDC_TRAN_REDO);
    EXPECT_EQ(RE_GetTextW(hTranReRight), u"one two");

    hs->shell_opened.clear();
    headless_click(hTran, IDC_TRAN_NOV);  // the opening emptied the word: nothing opens
    EXPECT_TRUE(hs->shell_opened.empty());

    gl_repl_start = 7;
    EXPECT_EQ(SendCommand(hTran, IDC_TRAN_FIND_REPLACE), 1);
    ASSERT_TRUE(IsWindow(hRepl));
    EXPECT_EQ(GetParent(hRepl), hTran);
    EXPECT_EQ(GetDlgItemTextW(hRepl, IDC_REPL_RE_LAB), u"позиция: 0");  // a new window starts at 0
    EXPECT_EQ(GetFocus(), hReplReFind);

    headless_click(hTran, IDC_TRAN_CLEAR);
    EXPECT_EQ(RE_GetTextLength(hTranReLeft) + RE_GetTextLength(hTranReRight), 0);
    EXPECT_EQ(GetFocus(), hTranReRight);

    const auto file = data.write("dropped.txt", "from a file");
    headless_drop(hTranReRight, {file});
    EXPECT_EQ(RE_GetTextW(hTranReRight), u"from a file");
    headless_close(hTran);
    EXPECT_FALSE(hTran);
    EXPECT_FALSE(IsWindow(hRepl));  // it was the translation window's
}

}  // namespace
