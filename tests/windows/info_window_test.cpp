// The information window: opened once by the checker's "инфо", placed at the screen's right edge
// above the other windows, its two panels split by size_info and size_info_ratio, a click in the
// top panel looked up, and its close that closes a hidden checker too.
#include "text_windows_fixture.h"

namespace {

using InfoWindow = TextWindowsTest;

RECT place_of(HWND control) {
    const RECT r = GetWindowRect(control);
    const POINT tl = ScreenToClient(hInfo, POINT{r.left, r.top});
    return RECT{tl.x, tl.y, tl.x + r.width(), tl.y + r.height()};
}

TEST_F(InfoWindow, OpensOnceAboveTheOthersAtTheScreensRightEdgeAndGivesTheFocusBack) {
    SetFocus(hBigReRight);
    SendCommand(hBig, IDC_BIG_INFO);
    const HWND first = hInfo;
    ASSERT_TRUE(IsWindow(first));
    EXPECT_EQ(GetFocus(), hBigReRight);
    SendCommand(hBig, IDC_BIG_INFO);
    EXPECT_EQ(hInfo, first);
    EXPECT_EQ(GetWindowTextW(hInfo), u"инфо");
    EXPECT_TRUE(IsWindowVisible(hInfo));
    EXPECT_EQ(hInfoReTop, GetDlgItem(hInfo, IDC_INFO_RE_TOP));
    EXPECT_EQ(hInfoReBot, GetDlgItem(hInfo, IDC_INFO_RE_BOT));
    EXPECT_EQ(RE_GetBackgroundColor(hInfoReTop), 0xF0F0F0u);
    EXPECT_EQ(RE_GetBackgroundColor(hInfoReBot), 0xE4E4E4u);
    EXPECT_EQ(RE_GetEventMask(hInfoReTop), DWORD{ENM_MOUSEEVENTS});
    const RECT r = GetWindowRect(hInfo);
    const RECT screen = GetWorkArea();
    EXPECT_EQ(r.right, screen.right);
    EXPECT_EQ(r.bottom, screen.bottom - 165);
    EXPECT_TRUE(FindDialogTemplate(IDD_INFO)->style & DS_SYSMODAL);
    EXPECT_TRUE(hs->message_boxes.empty());
}

TEST_F(InfoWindow, ThePanelsShareTheHeightByTheRatio) {
    SendCommand(hBig, IDC_BIG_INFO);
    headless_resize(hInfo, 200, 301);
    struct Case {
        const char* name;
        std::int8_t print_down;
        double ratio;  // 0: size_info
        int top_h, bot_y, bot_h;
    };
    for (const Case& c : {Case{"info below", 1, 0.0, 180, 183, 117}, Case{"info left", 0, 0.0, 231, 234, 66},
                          Case{"0.6 as below", 0, 0.6, 180, 183, 117}, Case{"1.0: the default", 0, 1.0, 231, 234, 66},
                          Case{"below 0: the default", 1, -0.5, 180, 183, 117}}) {
        SCOPED_TRACE(c.name);
        gl_PRINT_DOWN = c.print_down;
        if (c.ratio == 0.0)
            size_info(hInfo);
        else
            size_info_ratio(hInfo, c.ratio);
        EXPECT_EQ(place_of(hInfoReTop), (RECT{0, 0, 200, c.top_h}));
        EXPECT_EQ(place_of(hInfoReBot), (RECT{0, c.bot_y, 200, c.bot_y + c.bot_h}));
    }
    // Above 1.0 nothing moves.
    size_info_ratio(hInfo, 1.01);
    EXPECT_EQ(place_of(hInfoReTop).bottom, 180);
    // The look-up at the caret splits the window through its hook.
    ASSERT_TRUE(size_info_ratio_hook);
    gl_PRINT_DOWN = 0;
    size_info_ratio_hook(hInfo, 0.6);
    EXPECT_EQ(place_of(hInfoReTop).bottom, 180);
}

TEST_F(InfoWindow, AClickInTheTopPanelLooksTheWordUpAndABottomClickDoesNot) {
    SendCommand(hBig, IDC_BIG_INFO);
    RE_SetTextW(hInfoReTop, u"dog");
    RE_SetTextW(hInfoReBot, u"house");
    RE_SetTextW(hBigReLeft, u"");
    headless_mouse(hInfoReBot, WM_LBUTTONUP, POINT{3, 3});
    EXPECT_EQ(RE_GetTextW(hBigReLeft), u"");
    EXPECT_NE(hReFocus, hInfoReTop);
    RE_SetSel(hInfoReTop, CHARRANGE{1, 1});
    headless_mouse(hInfoReTop, WM_LBUTTONUP, POINT{3, 3});
    EXPECT_EQ(RE_GetTextW(hBigReLeft).substr(0, 3), u"dog");
    EXPECT_EQ(hReFocus, hInfoReTop);
}

TEST_F(InfoWindow, ItsCloseClosesAHiddenCheckerWithoutAMachineTranslationWindow) {
    struct Case {
        const char* name;
        bool checker_visible;
        bool checker_closes;
    };
    for (const Case& c : {Case{"checker shown", true, false}, Case{"checker hidden", false, true}}) {
        SCOPED_TRACE(c.name);
        if (!IsWindow(hBig)) open_checker_window();
        ShowWindow(hBig, c.checker_visible ? SW_SHOW : SW_HIDE);
        SendCommand(hBig, IDC_BIG_INFO);
        headless_close(hInfo);
        EXPECT_FALSE(hInfo);
        EXPECT_FALSE(hInfoReTop);
        EXPECT_EQ(!IsWindow(hBig), c.checker_closes);
    }
}

}  // namespace
