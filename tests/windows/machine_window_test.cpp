// The machine-translation window: what it shows when it opens, its switches and menu, its layout,
// "clr" and Refresh, and its close box, which returns the checker to spell checking.
#include "checker_fixture.h"
#include "resources/machine_window.h"
#include "windows/checker_modes.h"
#include "windows/machine_window.h"

namespace {

class MachineWindow : public CheckerTest {
protected:
    static bool marked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    static RECT in_client(HWND w) {
        const RECT r = GetWindowRect(w);
        const POINT tl = ScreenToClient(hMachine, POINT{r.left, r.top});
        return RECT{tl.x, tl.y, tl.x + r.width(), tl.y + r.height()};
    }
};

TEST_F(MachineWindow, OpensWithTheTitleOfTheModeAndTheFlagsAsTheyAre) {
    struct Case {
        int corpus_option;
        std::int8_t machine;
        std::u16string_view title;
    };
    for (const Case c : {Case{0, 1, kMachineTitle}, Case{1, 1, kContextTitle}, Case{0, 0, kContextTitle}}) {
        SCOPED_TRACE(c.corpus_option * 10 + c.machine);
        OP[OPT_CORPUS_TRANSLATION].num_value = c.corpus_option;
        gl_MACHINE_TRANSLATION = c.machine;
        gl_SHOW_PARALLEL_TRANSLATION = c.machine;
        gl_MACHINE_ON = static_cast<std::int8_t>(1 - c.machine);
        gl_MACH_FAST = 0;
        gl_GENERATE_HTML = 1;
        ASSERT_TRUE(open_machine_window());
        EXPECT_EQ(GetWindowTextW(hMachine), c.title);
        EXPECT_EQ(Button_GetCheck(hMachineMixed), c.machine);
        EXPECT_EQ(Button_GetCheck(hMachineOn), 1 - c.machine);
        EXPECT_EQ(GetWindowTextW(hMachineMixed), u"Смесен текст");
        for (const MachineMenuItem& it : machine_menu_items())
            if (it.id) {
                EXPECT_EQ(marked(hMenuMachSet, it.id), *it.flag != 0) << it.id;
            }
        EXPECT_EQ(GetMenuItemCount(hMenuMachSet), 8);
        EXPECT_EQ(GetMenuItemText(GetMenu(hMachine), 0, MF_BYPOSITION), u"Опции");
        EXPECT_EQ(RE_GetEventMask(hMachineRe), DWORD{ENM_MOUSEEVENTS});
        // Bottom right of the screen, 40 pixels above its bottom edge.
        const RECT w = GetWindowRect(hMachine), d = GetWorkArea();
        EXPECT_EQ(w.right, d.right);
        EXPECT_EQ(w.bottom, d.bottom - 40);
        destroy_machine_window();
        EXPECT_FALSE(IsWindow(hMachine));
        EXPECT_EQ(hMachineRe, HWND{});
    }
    EXPECT_TRUE(hs->message_boxes.empty());
}

TEST_F(MachineWindow, SwitchesAndMenuItemsSetTheirFlagsAndTwoClicksLeaveThem) {
    open();
    ASSERT_TRUE(open_machine_window());
    for (const MachineMenuItem& it : machine_menu_items()) {
        if (!it.id) continue;
        SCOPED_TRACE(it.id);
        const std::int8_t start = *it.flag;
        headless_menu(hMachine, it.id);
        EXPECT_EQ(*it.flag, start ? 0 : 1);
        EXPECT_EQ(marked(hMenuMachSet, it.id), start == 0);
        headless_menu(hMachine, it.id);
        EXPECT_EQ(*it.flag, start);
        EXPECT_EQ(marked(hMenuMachSet, it.id), start != 0);
    }
    for (auto [box, flag] : {std::pair{hMachineMixed, &gl_SHOW_PARALLEL_TRANSLATION}, std::pair{hMachineOn, &gl_MACHINE_ON}}) {
        const std::int8_t start = *flag;
        headless_click(box);
        EXPECT_EQ(*flag, start ? 0 : 1);
        headless_click(box);
        EXPECT_EQ(*flag, start);
    }
}

TEST_F(MachineWindow, LayoutFollowsTheClientSize) {
    open();
    ASSERT_TRUE(open_machine_window());
    headless_resize(hMachine, 500, 300);
    const RECT clear = in_client(hMachineCln), panel = in_client(hMachineRe);
    EXPECT_EQ(clear.left, 0);
    EXPECT_EQ(clear.top, 36);
    EXPECT_EQ(panel.left, clear.width());
    EXPECT_EQ(panel.top, 36);
    EXPECT_EQ(panel.width(), 500 - clear.width() - 2);
    EXPECT_EQ(panel.height(), 238);
    EXPECT_EQ(in_client(hMachineLabel).top, 281);
    EXPECT_EQ(in_client(hMachineMixed).left, 70);
    EXPECT_EQ(in_client(hMachineRefresh).left, in_client(hMachineMixed).width() + 75);
    EXPECT_EQ(in_client(hMachineReFilter).height(), 32);
    headless_resize(hMachine, 40, 30);  // smaller than the margins: no negative sizes
    EXPECT_EQ(in_client(hMachineRe).height(), 0);
}

TEST_F(MachineWindow, ClearEmptiesThePanelQuietlyAndRefreshChecksTheTextAgain) {
    open();
    ASSERT_TRUE(open_machine_window());
    RE_SetTextW(hMachineRe, u"Кучето чете книга.");
    RE_SetEventMask(hMachineRe, ENM_MOUSEEVENTS | ENM_CHANGE);
    headless_click(hMachineCln);
    EXPECT_EQ(RE_GetTextW(hMachineRe), u"");
    EXPECT_EQ(RE_GetEventMask(hMachineRe), DWORD{ENM_MOUSEEVENTS | ENM_CHANGE});
    EXPECT_EQ(GetFocus(), hMachineRe);

    const DWORD mask = RE_SetEventMask(hBigReRight, 0);
    RE_SetTextW(hBigReRight, u"The dog reads a book.");
    RE_SetEventMask(hBigReRight, mask);
    const int before = runs();
    headless_click(hMachineRefresh);
    EXPECT_EQ(runs(), before + 1);
    EXPECT_TRUE(IsWindowEnabled(hMachineRefresh));
    EXPECT_EQ(GetFocus(), hMachineRefresh);
}

TEST_F(MachineWindow, CloseBoxEndsBothTranslationModesAndLeavesTheCorpusWindowsSwitchesAlone) {
    open();
    for (bool bg_text_open : {false, true}) {
        SCOPED_TRACE(bg_text_open);
        HWND bg = bg_text_open ? make_panel_dialog({1}) : HWND{};
        hBgText = bg;
        headless_menu(hBig, IDM_BIG_MACHINE);
        headless_menu(hBig, IDM_BIG_HUMAN);
        ASSERT_TRUE(IsWindow(hMachine));
        EXPECT_EQ(gl_PRINT_DOWN, 1);
        headless_close(hMachine);
        EXPECT_FALSE(IsWindow(hMachine));
        EXPECT_EQ(gl_MACHINE_TRANSLATION, 0);
        EXPECT_EQ(gl_ENGLISH_TRANSLATION, 0);
        EXPECT_FALSE(marked(hMenuToolsS, IDM_BIG_MACHINE));
        EXPECT_FALSE(marked(hMenuToolsS, IDM_BIG_HUMAN));
        EXPECT_EQ(GetWindowTextW(hBig), JUXtitleS);
        EXPECT_EQ(JUXtitleCurrentBig, JUXtitleS);
        EXPECT_EQ(gl_PRINT_DOWN, 0);  // the user's own value back
        EXPECT_FALSE(marked(hMenuSetS, IDM_BIG_PRINT_DOWN));
        EXPECT_EQ(gl_CHECK_PUNCTUATION, bg_text_open ? 0 : 1);
        EXPECT_EQ(IsWindowVisible(GetDlgItem(hBig, machine_control_ids()[0])), bg_text_open);
        if (bg) DestroyWindow(bg);
        hBgText = HWND{};
    }
}

}  // namespace
