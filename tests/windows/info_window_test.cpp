// The information window: opened once by the checker's "инфо" at the screen's right edge, its
// panels split by the ratio, a click in the top panel looked up, and its close that closes a
// hidden checker too.
#include "shell/ui_services.h"
#include "text_windows_fixture.h"

namespace {

using InfoWindow = TextWindowsTest;

TEST_F(InfoWindow, OpensOnceAtTheScreensRightEdgeAndGivesTheFocusBack) {
    SetFocus(hBigReRight);
    PL_SendCommand(hBig, IDC_BIG_INFO);
    const HWND first = hInfo;
    ASSERT_TRUE(IsWindow(first));
    EXPECT_EQ(GetFocus(), hBigReRight);
    PL_SendCommand(hBig, IDC_BIG_INFO);
    EXPECT_EQ(hInfo, first);
    EXPECT_EQ(GetWindowTextW(hInfo), u"инфо");
    EXPECT_EQ(hInfoReBot, GetDlgItem(hInfo, IDC_INFO_RE_BOT));
    const RECT r = GetWindowRect(hInfo);
    EXPECT_EQ(r.right, PL_GetWorkArea().right);
    EXPECT_EQ(r.bottom, PL_GetWorkArea().bottom - 165);
    EXPECT_TRUE(hs->message_boxes.empty());
}

TEST_F(InfoWindow, ThePanelsShareTheHeightByTheRatio) {
    PL_SendCommand(hBig, IDC_BIG_INFO);
    headless_resize(hInfo, 200, 301);
    struct Case {
        std::int8_t print_down;
        double ratio;  // 0: size_info
        int top_h, bot_y, bot_h;
    };
    for (const Case& c : {Case{1, 0.0, 180, 183, 117}, Case{0, 0.0, 231, 234, 66}, Case{0, 0.6, 180, 183, 117},
                          Case{0, 1.0, 231, 234, 66}, Case{1, -0.5, 180, 183, 117}, Case{0, 1.01, 180, 183, 117}}) {
        SCOPED_TRACE(c.ratio);
        gl_PRINT_DOWN = c.print_down;
        if (c.ratio == 0.0)
            size_info(hInfo);
        else
            size_info_ratio_hook(hInfo, c.ratio);  // as the look-up at the caret calls it
        const RECT top = GetWindowRect(hInfoReTop), bot = GetWindowRect(hInfoReBot);
        EXPECT_EQ(top.height(), c.top_h);
        EXPECT_EQ(bot.top - top.top, c.bot_y);
        EXPECT_EQ(bot.height(), c.bot_h);
    }
}

TEST_F(InfoWindow, AClickInTheTopPanelLooksTheWordUpAndABottomClickDoesNot) {
    PL_SendCommand(hBig, IDC_BIG_INFO);
    RE_SetTextW(hInfoReTop, u"dog");
    RE_SetTextW(hInfoReBot, u"house");
    RE_SetTextW(hBigReLeft, u"");
    headless_mouse(hInfoReBot, WM_LBUTTONUP, POINT{3, 3});
    EXPECT_EQ(RE_GetTextW(hBigReLeft), u"");
    RE_SetSel(hInfoReTop, CHARRANGE{1, 1});
    headless_mouse(hInfoReTop, WM_LBUTTONUP, POINT{3, 3});
    EXPECT_EQ(RE_GetTextW(hBigReLeft).substr(0, 3), u"dog");
    EXPECT_EQ(hReFocus, hInfoReTop);
}

TEST_F(InfoWindow, ARightClickOnAPanelOpensTheSharedMenuForIt) {
    build_popup_all(false);
    PL_SendCommand(hBig, IDC_BIG_INFO);
    RE_SetTextW(hInfoReBot, u"house");
    hs->popup_choices.push_back(IDM_RE_SELECT_ALL);
    const RECT r = GetWindowRect(hInfoReBot);
    headless_context_menu(hInfoReBot, POINT{r.left + 5, r.top + 5});
    EXPECT_EQ(hReFocus, hInfoReBot);
    EXPECT_EQ(RE_GetSel(hInfoReBot), (CHARRANGE{0, 5}));
}

TEST_F(InfoWindow, ItsCloseClosesAHiddenCheckerWithoutAMachineTranslationWindow) {
    for (bool checker_visible : {true, false}) {
        ShowWindow(hBig, checker_visible ? SW_SHOW : SW_HIDE);
        PL_SendCommand(hBig, IDC_BIG_INFO);
        headless_close(hInfo);
        EXPECT_FALSE(hInfo);
        EXPECT_EQ(IsWindow(hBig), checker_visible);
    }
}

}  // namespace
