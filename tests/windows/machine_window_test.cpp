// The machine-translation window: what it shows when it opens, its switches and menu, its layout,
// "clr" and Refresh, and its close box, which returns the checker to spell checking.
#include "checker_fixture.h"
#include "shell/ui_services.h"
#include "windows/checker_modes.h"
#include "windows/machine_window.h"

namespace {

bool marked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
RECT in_client(HWND w) {
    const RECT r = GetWindowRect(w);
    const POINT tl = ScreenToClient(hMachine, POINT{r.left, r.top});
    return RECT{tl.x, tl.y, tl.x + r.width(), tl.y + r.height()};
}

using MachineWindow = CheckerTest;

TEST_F(MachineWindow, OpensWithTheTitleOfTheModeAndTheFlagsAsTheyAre) {
    struct Case {
        int corpus_option;
        std::int8_t machine;
        std::u16string_view title;
    };
    for (const Case c : {Case{0, 1, kMachineTitle}, Case{1, 1, kContextTitle}, Case{0, 0, kContextTitle}}) {
        OP[OPT_CORPUS_TRANSLATION].num_value = c.corpus_option;
        gl_MACHINE_TRANSLATION = gl_SHOW_PARALLEL_TRANSLATION = gl_MACH_FAST = c.machine;
        gl_MACHINE_ON = static_cast<std::int8_t>(1 - c.machine);
        ASSERT_TRUE(open_machine_window());
        EXPECT_EQ(GetWindowTextW(hMachine), c.title);
        EXPECT_EQ(Button_GetCheck(hMachineMixed) * 10 + Button_GetCheck(hMachineOn), c.machine ? 10 : 1);
        for (const MachineMenuItem& it : machine_menu_items())
            EXPECT_EQ(it.id && marked(hMenuMachSet, it.id), it.id && *it.flag) << it.id;
        const RECT w = GetWindowRect(hMachine), d = PL_GetWorkArea();
        EXPECT_EQ(w.right * 10000 + w.bottom, d.right * 10000 + d.bottom - 40);
        destroy_machine_window();
    }
    EXPECT_TRUE(hs->message_boxes.empty());
}

TEST_F(MachineWindow, SwitchesAndMenuItemsSetTheirFlagsAndTwoClicksLeaveThem) {
    open();
    ASSERT_TRUE(open_machine_window());
    for (const MachineMenuItem& it : machine_menu_items()) {
        if (!it.id) continue;
        const std::int8_t start = *it.flag;
        headless_menu(hMachine, it.id);
        EXPECT_EQ(*it.flag * 10 + marked(hMenuMachSet, it.id), start ? 0 : 11) << it.id;
        headless_menu(hMachine, it.id);
        EXPECT_EQ(*it.flag * 10 + marked(hMenuMachSet, it.id), start ? 11 : 0) << it.id;
    }
    for (auto [box, flag] : {std::pair{hMachineMixed, &gl_SHOW_PARALLEL_TRANSLATION}, std::pair{hMachineOn, &gl_MACHINE_ON}}) {
        const std::int8_t start = *flag;
        headless_click(box);
        EXPECT_EQ(*flag, start ? 0 : 1);
    }
}

TEST_F(MachineWindow, LayoutClearAndRefresh) {
    open();
    ASSERT_TRUE(open_machine_window());
    headless_resize(hMachine, 500, 300);
    const RECT clear = in_client(hMachineCln), panel = in_client(hMachineRe);
    EXPECT_EQ(RECT(clear.width(), 36, 498, 274), panel);
    EXPECT_EQ(in_client(hMachineLabel).top, 281);
    EXPECT_EQ(in_client(hMachineRefresh).left, in_client(hMachineMixed).width() + 75);
    headless_resize(hMachine, 40, 30);  // smaller than the margins: no negative sizes
    EXPECT_EQ(in_client(hMachineRe).height(), 0);

    RE_SetTextW(hMachineRe, u"Кучето чете книга.");
    RE_SetEventMask(hMachineRe, ENM_MOUSEEVENTS | ENM_CHANGE);
    headless_click(hMachineCln);
    EXPECT_EQ(RE_GetTextW(hMachineRe), u"");
    EXPECT_EQ(RE_GetEventMask(hMachineRe), DWORD{ENM_MOUSEEVENTS | ENM_CHANGE});

    headless_mouse(hMachineRe, WM_LBUTTONUP, POINT{5, 5});  // a click makes the panel the focus pane
    EXPECT_EQ(hReFocus, hMachineRe);
    build_popup_all(false);
    const RECT filter = GetWindowRect(hMachineReFilter);  // a right click on the filter: the shared popup
    headless_context_menu(hMachineReFilter, POINT{filter.left + 3, filter.top + 3});
    ASSERT_EQ(hs->popups.size(), 1u);
    EXPECT_EQ(hs->popups[0].owner, hMachine);
    EXPECT_EQ(hReFocus, hMachineReFilter);

    RE_SetTextW(hBigReRight, u"The dog reads a book.");
    const int before = runs();
    headless_click(hMachineRefresh);
    EXPECT_EQ(runs(), before + 1);
    EXPECT_TRUE(IsWindowEnabled(hMachineRefresh));
}

TEST_F(MachineWindow, CloseBoxEndsBothTranslationModesAndLeavesTheCorpusWindowsSwitchesAlone) {
    open();
    for (bool bg_text_open : {false, true}) {
        SCOPED_TRACE(bg_text_open);
        hBgText = bg_text_open ? make_panel_dialog({1}) : HWND{};
        headless_menu(hBig, IDM_BIG_MACHINE);
        headless_menu(hBig, IDM_BIG_HUMAN);
        headless_close(hMachine);
        EXPECT_FALSE(IsWindow(hMachine));
        EXPECT_EQ(gl_MACHINE_TRANSLATION + gl_ENGLISH_TRANSLATION, 0);
        EXPECT_FALSE(marked(hMenuToolsS, IDM_BIG_MACHINE) || marked(hMenuToolsS, IDM_BIG_HUMAN));
        EXPECT_EQ(GetWindowTextW(hBig), JUXtitleS);
        EXPECT_EQ(JUXtitleCurrentBig, JUXtitleS);
        EXPECT_EQ(gl_CHECK_PUNCTUATION, bg_text_open ? 0 : 1);
        EXPECT_EQ(IsWindowVisible(GetDlgItem(hBig, machine_control_ids()[0])), bg_text_open);
        DestroyWindow(hBgText);
        hBgText = HWND{};
    }
}

// The close box leaves the bottom-panel flag as it stands: where the human-translation mode put the
// look-up display, it stays; without that mode the user's own value stays.
TEST_F(MachineWindow, CloseBoxKeepsTheBottomPanelFlag) {
    open();
    for (const bool human : {true, false})
        for (const std::int8_t users : {std::int8_t{0}, std::int8_t{1}}) {
            SCOPED_TRACE(::testing::Message() << "human " << human << ", user's flag " << int{users});
            gl_PRINT_DOWN = users;
            CheckMenuItem(hMenuSetS, IDM_BIG_PRINT_DOWN, MF_BYCOMMAND | (users ? MF_CHECKED : MF_UNCHECKED));
            headless_menu(hBig, human ? IDM_BIG_HUMAN : IDM_BIG_MACHINE);
            ASSERT_TRUE(IsWindow(hMachine));
            const std::int8_t shown = gl_PRINT_DOWN;
            EXPECT_EQ(shown, human ? 1 : users);
            headless_close(hMachine);
            EXPECT_EQ(gl_PRINT_DOWN, shown);
            EXPECT_EQ(marked(hMenuSetS, IDM_BIG_PRINT_DOWN), shown == 1);
            // The mode's claim is gone: human translation on and off again gives back the flag as
            // it stood before it.
            headless_menu(hBig, IDM_BIG_HUMAN);
            headless_menu(hBig, IDM_BIG_HUMAN);
            EXPECT_EQ(gl_PRINT_DOWN, shown);
        }
}

}  // namespace
