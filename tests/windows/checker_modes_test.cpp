// The checker's mode items: each translation mode on and off returns the window to where it was,
// the modes combine, the bottom-panel flag comes back to the user's value by every way out, and
// the main-window item shows or hides the main window with its icon only when the program offers it.
#include "checker_fixture.h"
#include "resources/secondary.h"
#include "windows/checker_modes.h"
#include "windows/live_window.h"
#include "windows/machine_window.h"

namespace {

bool marked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

// Everything a mode item may change.
struct ModeState {
    std::int8_t machine, human, corpus, punctuation, print_down;
    bool machine_mark, human_mark, corpus_mark, punctuation_mark, print_down_mark;
    std::u16string title, current_title, machine_title;
    bool bg_text, controls;
    int right_height;
    bool operator==(const ModeState&) const = default;
};

ModeState now() {
    return ModeState{gl_MACHINE_TRANSLATION, gl_ENGLISH_TRANSLATION, gl_CORPUS_TRANSLATION, gl_CHECK_PUNCTUATION,
                     gl_PRINT_DOWN, marked(hMenuToolsS, IDM_BIG_MACHINE), marked(hMenuToolsS, IDM_BIG_HUMAN),
                     marked(hMenuToolsS, IDM_BIG_CORPUS), marked(hMenuSetS, IDM_BIG_CHECK_PUNCTUATION),
                     marked(hMenuSetS, IDM_BIG_PRINT_DOWN), GetWindowTextW(hBig), JUXtitleCurrentBig,
                     IsWindow(hMachine) ? GetWindowTextW(hMachine) : u"(none)", IsWindow(hBgText),
                     IsWindowVisible(GetDlgItem(hBig, machine_control_ids()[0])), GetWindowRect(hBigReRight).height()};
}

class CheckerModes : public CheckerTest {
protected:
    void open_modes(std::int8_t print_down) {
        gl_PRINT_DOWN = gl_PRINT_DOWN_save = print_down;
        open();
        headless_resize(hBig, 1000, 700);
    }
    void TearDown() override {
        if (IsWindow(hMachine)) DestroyWindow(hMachine);
        if (IsWindow(hBgText)) DestroyWindow(hBgText);
        hBgText = HWND{};
        CheckerTest::TearDown();
    }
};

TEST_F(CheckerModes, EachModeOnAndOffTwiceReturnsEveryFlagTitleAndControl) {
    struct Case {
        UINT id;
        std::u16string* title;        // the checker's title while the mode is on (null: unchanged)
        std::u16string_view machine;  // the machine window's title ("": no window)
        bool forces_print_down, bg_text;
    };
    const Case cases[] = {{IDM_BIG_MACHINE, &JUXtitleM, kMachineTitle, false, false},
                          {IDM_BIG_HUMAN, &JUXtitleE, kContextTitle, true, false},
                          {IDM_BIG_CORPUS, nullptr, u"", true, true}};
    for (std::int8_t print_down : {0, 1}) {
        open_modes(print_down);
        gl_REAL_TIME = gl_TRANSLATE_CLIPBOARD = 1;
        const ModeState start = now();
        for (const Case& c : cases)
            for (int round = 0; round < 2; ++round) {
                SCOPED_TRACE(testing::Message() << c.id << " print_down " << int{print_down} << " round " << round);
                headless_menu(hBig, c.id);
                const ModeState on = now();
                EXPECT_EQ(on.title + u"|" + on.current_title, (c.title ? *c.title : start.title) + u"|" + on.title);
                EXPECT_EQ(on.machine_title, c.machine.empty() ? u"(none)" : c.machine);
                EXPECT_EQ(on.bg_text, c.bg_text);
                EXPECT_TRUE(on.controls);
                EXPECT_EQ(on.punctuation + on.punctuation_mark + gl_REAL_TIME + gl_TRANSLATE_CLIPBOARD, 0);
                EXPECT_EQ(on.print_down * 10 + on.print_down_mark, c.forces_print_down || print_down ? 11 : 0);
                EXPECT_EQ(GetFocus(), hBigReRight);
                headless_menu(hBig, c.id);
                EXPECT_EQ(now(), start);
            }
        DestroyWindow(hBig);
        DestroyWindow(hMain);
        hMain = HWND{};
        reset_checker_window();
    }
}

TEST_F(CheckerModes, ModesCombineAndTheBottomPanelFlagComesBackWhenTheLastModeThatForcesItGoes) {
    open_modes(0);
    headless_menu(hBig, IDM_BIG_HUMAN);
    headless_menu(hBig, IDM_BIG_MACHINE);
    EXPECT_EQ(GetWindowTextW(hBig) + GetWindowTextW(hMachine), JUXtitleM + u"Машинен превод");
    headless_menu(hBig, IDM_BIG_CORPUS);
    headless_menu(hBig, IDM_BIG_MACHINE);  // off: the human translator keeps the window as context
    EXPECT_EQ(GetWindowTextW(hBig) + GetWindowTextW(hMachine), JUXtitleE + u"Контекст");
    headless_menu(hBig, IDM_BIG_HUMAN);
    EXPECT_EQ(gl_PRINT_DOWN, 1);  // the corpus mode still needs it
    headless_menu(hBig, IDM_BIG_MACHINE);
    headless_menu(hBig, IDM_BIG_CORPUS);  // leaving the corpus mode while the machine window stays
    EXPECT_EQ(gl_PRINT_DOWN + marked(hMenuSetS, IDM_BIG_PRINT_DOWN), 0);
    EXPECT_TRUE(IsWindow(hMachine));
    EXPECT_FALSE(IsWindow(hBgText));
}

TEST_F(CheckerModes, MainWindowItemShowsOrHidesTheMainWindowOnlyWhenTheProgramOffersIt) {
    open_modes(0);
    ASSERT_FALSE(IsWindowVisible(hMain));
    for (int offered : {0, 1}) {
        OP[OPT_START_MAIN_WINDOW].num_value = offered;
        headless_menu(hBig, IDM_BIG_MAIN_WINDOW);
        EXPECT_TRUE(marked(hMenuToolsS, IDM_BIG_MAIN_WINDOW));
        EXPECT_EQ(IsWindowVisible(hMain) + gl_icon_exists, offered * 2);
        headless_menu(hBig, IDM_BIG_MAIN_WINDOW);
        EXPECT_EQ(IsWindowVisible(hMain) + gl_icon_exists + marked(hMenuToolsS, IDM_BIG_MAIN_WINDOW), 0);
    }
    ASSERT_EQ(hs->tray_calls.size(), 2u);
    EXPECT_EQ(hs->tray_calls[0].op * 1000 + hs->tray_calls[0].data.uID, NIM_ADD * 1000 + 115u);
    EXPECT_EQ(hs->tray_calls[0].data.hWnd, hMain);
    EXPECT_EQ(hs->tray_calls[1].op, DWORD{NIM_DELETE});
}

// Showing the main window from the checker relabels the live clipboard window's button as the
// live window's own button does.
TEST_F(CheckerModes, MainWindowItemRelabelsTheLiveWindowsButton) {
    open_modes(0);
    OP[OPT_START_MAIN_WINDOW].num_value = 1;
    ASSERT_TRUE(IsWindow(create_live_window()));
    SetDlgItemTextW(hLive, IDC_LIVE_SHOW_MAIN, u"Show Main");
    headless_menu(hBig, IDM_BIG_MAIN_WINDOW);
    EXPECT_TRUE(IsWindowVisible(hMain));
    EXPECT_EQ(GetDlgItemTextW(hLive, IDC_LIVE_SHOW_MAIN), u"Hide Main");
    headless_click(hLive, IDC_LIVE_SHOW_MAIN);  // which now hides it
    EXPECT_FALSE(IsWindowVisible(hMain));
    DestroyWindow(hLive);
}

}  // namespace
