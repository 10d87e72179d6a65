// Window services: controls by identifier, tool tips, the pump, bringing a window forward, the
// shared popup menu and its commands, the right-click hit tests, closing a program by name.
#include <atomic>
#include <csignal>
#include <string>
#include <thread>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "resources/resources.h"
#include "shell/panels.h"
#include "window_test_util.h"

namespace {

using UiServicesTest = ShellWindowTest;

// ---- Controls, tool tips, pump, popup ---------------------------------------------------------

TEST_F(UiServicesTest, JuxGetDlgItemNamesAMissingControlAndGivesAHarmlessNull) {
    TestWindow w = make_test_window();
    EXPECT_EQ(JUX_GetDlgItem(w.dlg, kTopPanel, "IDC_TEST_TOP"), w.top);
    EXPECT_TRUE(headless().message_boxes.empty());

    HWND missing = JUX_GetDlgItem(w.dlg, 999, "IDC_TEST_MISSING");
    EXPECT_FALSE(missing);
    HWND no_dialog = JUX_GetDlgItem(HWND{}, kTopPanel, "IDC_TEST_TOP");
    EXPECT_FALSE(no_dialog);
    const auto& boxes = headless().message_boxes;
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, u"Creating handle of IDC_TEST_MISSING failed, error code: 1421");
    EXPECT_EQ(boxes[1].text, u"Creating handle of IDC_TEST_TOP failed, error code: 1400");
    for (const auto& b : boxes) {
        EXPECT_EQ(b.caption, u"Oops!");
        EXPECT_TRUE(b.flags & MB_ICONERROR);
    }

    // The callers go on with the null handle: nothing happens, nothing breaks.
    SetWindowTextW(missing, u"x");
    ShowWindow(missing, SW_SHOW);
    JuxShowMessage(missing, "x", 1);
    StringToRE(missing, "x");
    EXPECT_EQ(dropped_file(nullptr, missing, dir.write("a.txt", "a")), 0);
    EXPECT_TRUE(gl_dropped.empty());
    EXPECT_EQ(RE_GetTextW(missing), u"");
}

TEST_F(UiServicesTest, CreateToolTipWRegistersTheTextOfAControl) {
    TestWindow w = make_test_window();
    EXPECT_EQ(CreateToolTipW(kButton, w.dlg, u"Съществително"), 1);
    EXPECT_EQ(PL_GetToolTipText(w.button), u"Съществително");
    EXPECT_EQ(CreateToolTipW(999, w.dlg, u"tip"), 0);
    EXPECT_EQ(CreateToolTipW(kButton, HWND{}, u"tip"), 0);
    EXPECT_EQ(CreateToolTipW(kButton, w.dlg, u""), 0);
    EXPECT_EQ(PL_GetToolTipText(w.button), u"Съществително");
}

TEST_F(UiServicesTest, UnfreezeDeliversWhatIsPending) {
    TestWindow w = make_test_window();
    int user_acted = 0;
    headless().on_pump = [&] { ++user_acted; };
    PostMessageW(w.dlg, Msg::command(4242));
    unfreeze();
    EXPECT_EQ(headless().pump_calls, 1);
    EXPECT_EQ(user_acted, 1);
    ASSERT_EQ(g_test_commands.size(), 1u);
    EXPECT_EQ(g_test_commands[0].first, 4242);
    unfreeze();  // nothing pending: returns at once, no sleeping on the clock
    EXPECT_EQ(headless().clock_us, 0);
}

// A job parks the keyboard focus on a stand-in (its status line) while it works: each pump lends
// the focus to the job's panel so that typed keys go into it, and takes it back afterwards, unless
// the user put the focus elsewhere meanwhile.
TEST_F(UiServicesTest, UnfreezeLendsTheParkedFocusToTheJobsPanel) {
    TestWindow w = make_test_window();
    const HWND panel = w.bottom, stand_in = w.button;
    RE_SetTextW(panel, u"typed text");
    struct Case {
        const char* what;
        HWND focus_before;   // the focus when the pump begins
        bool name_stand_in;  // whether the job names its stand-in
        HWND user_focus;     // where the user puts the focus during the pump (none: no move)
        HWND during, after;
    };
    const Case cases[] = {
        {"parked focus is lent", stand_in, true, HWND{}, panel, stand_in},
        {"the user's own move stays", stand_in, true, w.top, panel, w.top},
        {"focus elsewhere is left alone", w.top, true, HWND{}, w.top, w.top},
        {"no stand-in named", stand_in, false, HWND{}, stand_in, stand_in},
    };
    for (const Case& c : cases) {
        SetFocus(c.focus_before);
        CHARRANGE sel{3, 3};
        POINT scroll{};
        HWND seen{};
        headless().on_pump = [&] {
            seen = GetFocus();
            if (c.user_focus) SetFocus(c.user_focus);
        };
        {
            UserViewDuringPumps guard(panel, sel, scroll, c.name_stand_in ? stand_in : HWND{});
            unfreeze();
        }
        EXPECT_EQ(seen, c.during) << c.what;
        EXPECT_EQ(GetFocus(), c.after) << c.what;
    }
    headless().on_pump = nullptr;
}

TEST_F(UiServicesTest, ThePopupHoldsTheAudioItemOnlyWithAnAudioIndex) {
    HMENU m = build_popup_all(false);
    ASSERT_TRUE(IsMenu(m));
    EXPECT_EQ(hMenuPopupAll, m);
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(m); ++i) ids.push_back(GetMenuItemID(m, i));
    EXPECT_EQ(ids.back(), IDM_SHOW_BIG);
    EXPECT_EQ(PL_GetMenuItemText(m, IDM_SHOW_BIG, MF_BYCOMMAND), u"Show Big");
    EXPECT_EQ(GetMenuState(m, IDM_AUDIO, MF_BYCOMMAND), -1);
    for (UINT id = IDM_RE_FIRST; id <= IDM_RE_LAST; ++id) {
        const bool listed = std::find(ids.begin(), ids.end(), id) != ids.end();
        EXPECT_EQ(listed, id <= IDM_RE_WORD_WRAP || id >= IDM_RE_UNDO) << id;
    }
    EXPECT_EQ(build_popup_all(true), m);  // built once
    DestroyMenu(m);
    hMenuPopupAll = HMENU{};

    m = build_popup_all(true);
    EXPECT_NE(GetMenuState(m, IDM_AUDIO, MF_BYCOMMAND), -1);
    EXPECT_EQ(GetMenuItemID(m, GetMenuItemCount(m) - 2), IDM_AUDIO);
}

// ---- ContextMenu --------------------------------------------------------------------------------

TEST_F(UiServicesTest, EditCommandsActOnTheFocusPane) {
    TestWindow w = make_test_window();
    RE_SetTextW(w.bottom, u"един\rдва три");
    hReFocus = w.bottom;

    RE_SetSel(w.bottom, CHARRANGE{2, 7});
    EXPECT_EQ(ContextMenu(IDM_RE_COPY), 1);
    EXPECT_EQ(headless().clipboard, std::u16string(u"ин\r\nдв"));  // CR LF for other programs
    EXPECT_EQ(RE_GetTextW(w.bottom), u"един\rдва три");

    EXPECT_EQ(ContextMenu(IDM_RE_CUT), 1);
    EXPECT_EQ(RE_GetTextW(w.bottom), u"еда три");
    headless_copy_from_outside(u"XY");
    EXPECT_EQ(ContextMenu(IDM_RE_PASTE), 1);
    EXPECT_EQ(RE_GetTextW(w.bottom), u"едXYа три");  // at the caret the cut left
    RE_SetSel(w.bottom, CHARRANGE{0, 1});
    EXPECT_EQ(ContextMenu(IDM_RE_DELETE), 1);
    EXPECT_EQ(RE_GetTextW(w.bottom), u"дXYа три");

    EXPECT_EQ(ContextMenu(IDM_RE_SELECT_ALL), 1);
    EXPECT_EQ(RE_GetSel(w.bottom), (CHARRANGE{0, 8}));
    EXPECT_EQ(GetFocus(), w.bottom);
    RE_SetSel(w.bottom, CHARRANGE{1, 1});
    EXPECT_EQ(ContextMenu(IDM_RE_COPY_ALL), 1);
    EXPECT_EQ(headless().clipboard, std::u16string(u"дXYа три"));

    EXPECT_EQ(ContextMenu(IDM_RE_CLEAR), 1);
    EXPECT_EQ(RE_GetTextLength(w.bottom), 0);
    EXPECT_EQ(ContextMenu(IDM_RE_UNDO), 1);  // clearing can be taken back
    EXPECT_EQ(RE_GetTextW(w.bottom), u"дXYа три");
    EXPECT_EQ(ContextMenu(IDM_RE_REDO), 1);
    EXPECT_EQ(RE_GetTextLength(w.bottom), 0);
    EXPECT_EQ(RE_GetTextW(w.top), u"");  // the other panel never moved
}

TEST_F(UiServicesTest, ViewCommandsChangeFontAndWrapping) {
    TestWindow w = make_test_window();
    hReFocus = w.top;
    LOGFONTW ten;
    ten.points = 10;
    SetWindowFont(w.top, CreateFontIndirectW(ten));
    EXPECT_EQ(ContextMenu(IDM_RE_FONT_LARGER), 1);
    EXPECT_EQ(PL_GetFontInfo(GetWindowFont(w.top))->points, 11);
    EXPECT_EQ(hFont, GetWindowFont(w.top));
    EXPECT_EQ(ContextMenu(IDM_RE_FONT_SMALLER), 1);
    EXPECT_EQ(ContextMenu(IDM_RE_FONT_SMALLER), 1);
    EXPECT_EQ(PL_GetFontInfo(GetWindowFont(w.top))->points, 9);

    LOGFONTW chosen;
    chosen.face = u"DejaVu Serif";
    chosen.points = 200;  // beyond what a panel takes
    headless().font_dialog_answers = {chosen, std::nullopt};  // the second choice is cancelled
    EXPECT_EQ(ContextMenu(IDM_RE_FONT), 1);
    EXPECT_EQ(ContextMenu(IDM_RE_FONT), 1);
    EXPECT_EQ(PL_GetFontInfo(GetWindowFont(w.top))->face, u"DejaVu Serif");
    EXPECT_EQ(PL_GetFontInfo(GetWindowFont(w.top))->points, 72);
    for (int i = 0; i < 80; ++i) ContextMenu(IDM_RE_FONT_SMALLER);
    EXPECT_EQ(PL_GetFontInfo(GetWindowFont(w.top))->points, 6);

    const bool wrap = RE_GetWordWrap(w.top);
    EXPECT_EQ(ContextMenu(IDM_RE_WORD_WRAP), 1);
    EXPECT_NE(RE_GetWordWrap(w.top), wrap);
    EXPECT_EQ(ContextMenu(IDM_RE_WORD_WRAP), 1);
    EXPECT_EQ(RE_GetWordWrap(w.top), wrap);
}

TEST_F(UiServicesTest, UnknownIdsAndAMissingFocusPaneAreHarmless) {
    TestWindow w = make_test_window();
    RE_SetTextW(w.top, u"text");
    RE_SetSel(w.top, CHARRANGE{0, 4});
    hReFocus = w.top;
    for (UINT id : {8083u, 8095u, 8099u, 8102u, IDM_AUDIO, IDM_SHOW_BIG}) EXPECT_EQ(ContextMenu(id), 0) << id;
    EXPECT_EQ(RE_GetTextW(w.top), u"text");
    EXPECT_FALSE(headless().clipboard);

    hReFocus = HWND{};
    headless_copy_from_outside(u"clip");
    for (UINT id = IDM_RE_FIRST; id <= IDM_RE_LAST; ++id) ContextMenu(id);
    EXPECT_EQ(RE_GetTextW(w.top), u"text");
    EXPECT_EQ(headless().clipboard, std::u16string(u"clip"));
}

// ---- Right-click hit tests ------------------------------------------------------------------

TEST_F(UiServicesTest, IsThisRETheContextTakesPointsInsideTheClientAreaOnly) {
    TestWindow w = make_test_window();
    build_popup_all(false);
    // The top panel covers screen (110, 70) to (209, 119).
    for (POINT p : {POINT{110, 70}, POINT{209, 119}, POINT{150, 90}}) {
        hReFocus = HWND{};
        EXPECT_EQ(IsThisRETheContext(w.dlg, w.top, hMenuPopupAll, p.x, p.y), 1) << p.x << "," << p.y;
        EXPECT_EQ(hReFocus, w.top);
    }
    const std::size_t popups = headless().popups.size();
    EXPECT_EQ(popups, 3u);
    for (POINT p : {POINT{109, 70}, POINT{110, 69}, POINT{210, 119}, POINT{209, 120}, POINT{-5, -5}}) {
        hReFocus = w.bottom;
        EXPECT_EQ(IsThisRETheContext(w.dlg, w.top, hMenuPopupAll, p.x, p.y), 0) << p.x << "," << p.y;
        EXPECT_EQ(hReFocus, w.bottom);
    }
    EXPECT_EQ(headless().popups.size(), popups);  // nothing opened
    const RecordedPopup& last = headless().popups.back();
    EXPECT_EQ(last.x, 150);
    EXPECT_EQ(last.y, 90);
    EXPECT_EQ(last.owner, w.dlg);

    ShowWindow(w.top, SW_HIDE);  // visibility is not tested
    EXPECT_EQ(IsThisRETheContext(w.dlg, w.top, hMenuPopupAll, 150, 90), 1);
    EXPECT_EQ(IsThisRETheContext(w.dlg, HWND{}, hMenuPopupAll, 150, 90), 0);
}

TEST_F(UiServicesTest, ThePopupCommandReachesTheClickedPanelAndUndoIsOfferedOnlyWhenPossible) {
    TestWindow w = make_test_window();
    build_popup_all(false);
    RE_SetTextW(w.bottom, u"panel text");
    RE_SetSel(w.bottom, CHARRANGE{0, 5});
    hReFocus = w.top;

    headless().popup_choices = {IDM_RE_COPY};
    headless_context_menu(w.bottom, POINT{200, 200});
    EXPECT_EQ(hReFocus, w.bottom);
    EXPECT_EQ(headless().clipboard, std::u16string(u"panel"));
    ASSERT_EQ(g_test_commands.size(), 1u);
    EXPECT_EQ(g_test_commands[0].first, static_cast<int>(IDM_RE_COPY));

    // Nothing to undo: the item is greyed and choosing it does nothing.
    headless().popup_choices = {IDM_RE_UNDO};
    headless_context_menu(w.bottom, POINT{200, 200});
    EXPECT_EQ(headless().popups.back().chosen, 0u);
    EXPECT_EQ(GetMenuState(hMenuPopupAll, IDM_RE_UNDO, MF_BYCOMMAND) & MF_GRAYED, static_cast<int>(MF_GRAYED));

    headless_select(w.bottom, 10, 10);
    headless_type(w.bottom, u"!");
    headless().popup_choices = {IDM_RE_UNDO};
    headless_context_menu(w.bottom, POINT{200, 200});
    EXPECT_EQ(headless().popups.back().chosen, IDM_RE_UNDO);
    EXPECT_EQ(RE_GetTextW(w.bottom), u"panel text");

    // The word-wrap item shows the panel's state.
    RE_SetWordWrap(w.top, true);
    headless_context_menu(w.top, POINT{150, 90});
    EXPECT_EQ(GetMenuState(hMenuPopupAll, IDM_RE_WORD_WRAP, MF_BYCOMMAND) & MF_CHECKED, static_cast<int>(MF_CHECKED));
    RE_SetWordWrap(w.top, false);
    headless_context_menu(w.top, POINT{150, 90});
    EXPECT_EQ(GetMenuState(hMenuPopupAll, IDM_RE_WORD_WRAP, MF_BYCOMMAND) & MF_CHECKED, 0);
}

TEST_F(UiServicesTest, ARightClickedButtonNeverBecomesTheFocusPane) {
    TestWindow w = make_test_window();
    build_popup_all(false);
    RE_SetTextW(w.bottom, u"text");
    hReFocus = w.bottom;
    // The button covers screen (420, 70) to (479, 89).
    EXPECT_EQ(IsThisRETheContextNoMenu(w.dlg, w.button, 420, 70), 1);
    EXPECT_EQ(hReRightClicked, w.button);
    EXPECT_EQ(hReFocusPrev, w.bottom);
    EXPECT_EQ(hReFocus, w.bottom);
    EXPECT_TRUE(headless().popups.empty());
    // A later panel command still acts on the panel.
    EXPECT_EQ(ContextMenu(IDM_RE_SELECT_ALL), 1);
    EXPECT_EQ(RE_GetSel(w.bottom), (CHARRANGE{0, 4}));

    EXPECT_EQ(IsThisRETheContextNoMenu(w.dlg, w.button, 480, 70), 0);
    ShowWindow(w.button, SW_HIDE);
    hReRightClicked = HWND{};
    EXPECT_EQ(IsThisRETheContextNoMenu(w.dlg, w.button, 430, 75), 0);  // hidden: no click
    EXPECT_FALSE(hReRightClicked);

    // A panel tested without menu becomes the focus pane, the old one is kept in hReFocusPrev.
    EXPECT_EQ(IsThisRETheContextNoMenu(w.dlg, w.top, 150, 90), 1);
    EXPECT_EQ(hReFocus, w.top);
    EXPECT_EQ(hReFocusPrev, w.bottom);

    // A popup button (a menu opened from a button) keeps the focus pane too.
    ShowWindow(w.button, SW_SHOW);
    EXPECT_EQ(IsThisRETheContext(w.dlg, w.button, hMenuPopupAll, 430, 75), 1);
    EXPECT_EQ(hReFocus, w.top);
    EXPECT_EQ(hReRightClicked, w.button);
    EXPECT_EQ(headless().popups.size(), 1u);
}

// ---- Closing a program by name --------------------------------------------------------------

TEST(KillProcTest, ClosesTheRunningProgramOfThatName) {
    const std::string name = "jux_probe_" + std::to_string(getpid());
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        execl("/bin/sleep", name.c_str(), "30", static_cast<char*>(nullptr));
        _exit(127);
    }
    // Wait until the program runs under its name.
    headless_install();
    for (int i = 0; i < 200 && PL_FindProcessesByName(name).empty(); ++i) usleep(10'000);
    ASSERT_FALSE(PL_FindProcessesByName(name).empty());

    EXPECT_EQ(kill_proc_by_name(name), 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_EQ(kill_proc_by_name(name), 0);
    EXPECT_EQ(kill_proc_by_name(""), 0);
}

TEST(KillProcTest, TheScanSkipsEntriesThatVanishOrCannotBeRead) {
    // A process list of the test's own: every entry that cannot be read, or is not a process the
    // program may name, is passed over; the scan never throws.
    TempDir proc;
    struct Entry {
        std::string dir, stat, comm, exe, cmdline;
    };
    const std::vector<Entry> entries = {
        {"123", "123 (probe) S 1", "probe\n", "", ""},                       // found by its name
        {"124", "124 (probe) Z 1", "probe\n", "", ""},                       // ended, not reaped
        {"125", "125 (sh) S 1", "sh\n", "/usr/bin/probe (deleted)", ""},     // by its program file
        {"126", "126 (sh) S 1", "sh\n", "", std::string("/opt/Probe\0x", 12)},  // by its start path
        {"127", "", "probe\n", "", ""},                                     // no status: vanished
        {"99999999999999", "1 (probe) S 1", "probe\n", "", ""},             // no process number
        {"12a", "1 (probe) S 1", "probe\n", "", ""},
    };
    for (const Entry& e : entries) {
        std::filesystem::create_directories(proc.path() / e.dir);
        if (!e.stat.empty()) proc.write(e.dir + "/stat", e.stat);
        proc.write(e.dir + "/comm", e.comm);
        if (!e.exe.empty()) std::filesystem::create_symlink(e.exe, proc.path() / e.dir / "exe");
        if (!e.cmdline.empty()) proc.write(e.dir + "/cmdline", e.cmdline);
    }
    std::filesystem::create_symlink(proc.path() / "gone", proc.path() / "128");  // ended during the scan
    EXPECT_EQ(PL_FindProcessesByName("PROBE", proc.path()), (std::vector<int>{123, 125, 126}));
    EXPECT_TRUE(PL_FindProcessesByName("probe", proc.path() / "missing").empty());
}

TEST(KillProcTest, TheScanGoesOnWhileProcessesComeAndGo) {
    const std::string name = "jux_stay_" + std::to_string(getpid() % 100'000);
    const pid_t stay = fork();
    ASSERT_GE(stay, 0);
    if (stay == 0) {
        execl("/bin/sleep", name.c_str(), "30", static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 200 && PL_FindProcessesByName(name).empty(); ++i) usleep(10'000);
    // Short-lived children start and end all the time the list is read.
    std::atomic<bool> scanning{true};
    std::thread churn([&scanning] {
        while (scanning) {
            const pid_t c = fork();
            if (c == 0) _exit(0);
            if (c > 0) waitpid(c, nullptr, 0);
        }
    });
    int found = 0;
    for (int round = 0; round < 200; ++round) {
        try {
            found += PL_FindProcessesByName(name) == std::vector<int>{stay} ? 1 : 0;
        } catch (...) {
            ADD_FAILURE() << "the scan threw in round " << round;
        }
    }
    scanning = false;
    churn.join();
    EXPECT_EQ(found, 200);
    kill(stay, SIGKILL);
    waitpid(stay, nullptr, 0);
}

volatile std::sig_atomic_t asked_to_end = 0;

TEST(KillProcTest, TheProgramNeverClosesItself) {
    headless_install();
    // A name of this process alone (tests running side by side share the executable's name).
    char before[16] = {};
    prctl(PR_GET_NAME, before);
    const std::string own_name = "juxself" + std::to_string(getpid() % 10'000'000);
    ASSERT_EQ(prctl(PR_SET_NAME, own_name.c_str()), 0);
    ASSERT_EQ(PL_FindProcessesByName(own_name), std::vector<int>{getpid()});
    // Note a request to end instead of ending, so that the test can tell.
    asked_to_end = 0;
    auto previous = std::signal(SIGTERM, [](int) { asked_to_end = 1; });
    const int found = kill_proc_by_name(own_name);
    std::signal(SIGTERM, previous);
    prctl(PR_SET_NAME, before);
    EXPECT_EQ(asked_to_end, 0);
    EXPECT_EQ(found, 0);
}

}  // namespace
