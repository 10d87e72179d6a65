// The text-checker window's close (the program's end when the main window is hidden) and its
// right clicks: the order of the hit tests, the layout clicks and the word-class entries of the
// selection.
#include "audio/audio_state.h"
#include "checker_fixture.h"
#include "lexicon/wordclass.h"
#include "platform/backend.h"
#include "shell/token_frequency_index.h"
#include "shell/ui_services.h"
#include "windows/filing_popups.h"
#include "windows/find_replace_window.h"
#include "windows/input_window.h"
#include "windows/settings_window.h"
#include "windows/translation_window.h"

namespace {

class CheckerCloseTest : public CheckerTest {
protected:
    void TearDown() override {
        for (HWND* w : {&hInfo, &hMachine})
            if (IsWindow(*w)) DestroyWindow(*w);
        hInfo = hMachine = HWND{};
        audio_player_handles.clear();
        reset_gmake();
        CheckerTest::TearDown();
    }
};

// What the exit had done when the information window, one of the last things to go, was destroyed.
struct AtWindowsEnd {
    bool seen = false, words_saved = false, icon_removed = false, player_closed = false, index_released = false;
};
AtWindowsEnd g_at_end;
std::filesystem::path g_new_words_file;
int audio_player_handles_at_start = 0;
INT_PTR RecordingInfoProc(HWND, const Msg& m) {
    if (m.message != WM_DESTROY) return 0;
    HeadlessState& hs = headless();
    g_at_end.seen = true;
    g_at_end.words_saved = std::filesystem::exists(g_new_words_file);
    g_at_end.icon_removed = !hs.tray_calls.empty() && hs.tray_calls.back().op == NIM_DELETE;
    g_at_end.player_closed = hs.programs_closed.size() == 1 && hs.programs_closed[0] == audio_player_handles_at_start;
    g_at_end.index_released = g_floor == g_nd && g_floor3[4] == g_nd3[4];
    return 0;
}

TEST_F(CheckerCloseTest, ClosingWithTheMainWindowShownLeavesTheProgramRunning) {
    open();
    ShowWindow(hMain, SW_SHOW);
    hMachine = make_panel_dialog({1});
    hInfo = make_panel_dialog({1});
    headless_close(hBig);
    EXPECT_FALSE(IsWindow(hBig));
    EXPECT_EQ(hBig, HWND{});
    EXPECT_FALSE(IsWindow(hMachine));
    EXPECT_TRUE(IsWindow(hInfo));  // the other secondary windows stay
    EXPECT_TRUE(IsWindowVisible(hMain));
    EXPECT_FALSE(platform_quit_requested());
}

TEST_F(CheckerCloseTest, ClosingWithTheMainWindowHiddenEndsTheProgramKeepingTheUsersWords) {
    open();
    ASSERT_FALSE(IsWindowVisible(hMain));
    DictFileRecord& words = b[B_BULGARIAN_NEW];
    ASSERT_FALSE(words.name.empty());
    g_new_words_file = data.file(words.name + ".txt");
    std::filesystem::remove(g_new_words_file);
    ListPair p;
    p.key = lex_keep(cp("дума"));
    words.entries.push_back(p);
    words.count = words.entries.size();
    nid.hWnd = hMain;
    Shell_NotifyIconW(NIM_ADD, nid);
    gl_icon_exists = 1;
    const int player = PL_StartChildProgram("/bin/true", {}, false);
    audio_player_handles = {player};
    audio_player_handles_at_start = player;
    PutInG("word");
    FinishGmake();
    PutInG3(4, "word");
    FinishGmake3(4);
    ASSERT_NE(g_floor, g_nd);
    g_at_end = {};
    DialogTemplate t;
    t.caption = u"Info";
    t.cx = t.cy = 100;
    hInfo = CreateDialogIndirect(t, {}, RecordingInfoProc);

    headless_close(hBig);
    EXPECT_TRUE(g_at_end.seen);
    EXPECT_TRUE(g_at_end.words_saved);
    EXPECT_TRUE(g_at_end.icon_removed);
    EXPECT_TRUE(g_at_end.player_closed);
    EXPECT_TRUE(g_at_end.index_released);
    EXPECT_EQ(gl_icon_exists, 0);
    EXPECT_EQ(hInfo, HWND{});
    EXPECT_EQ(u8(data.read(words.name + ".txt")).find("дума"), 0u);
    EXPECT_TRUE(platform_quit_requested());
    EXPECT_EQ(platform_quit_code(), 0);
}

// The controls stacked on one spot take the click in their fixed order: each taker is moved away
// and the click repeated.
TEST_F(CheckerCloseTest, RightClicksTestTheControlsInTheirOrder) {
    open();
    build_filing_popups();
    ShowHideMachineControls(SW_SHOW);
    const std::vector<int> order{1170, 1171, 1173, 1275, 1294, 1317, 1283, 1284, 1292, 1300, 1299, 1304,
                                 1290, 1301, 1305, 1298, 1310, 1303, 1318, 1307, 1312, 1288, 1306, 1289,
                                 1308, 1291, 1309, 1302, 1273, 1293, 1296, 1297, 1315, 1277, 1278, 1280,
                                 1281, 1279, 1282, 1321, 1295, 1272, 1274, 1276, 1214, 1217, 1216};
    std::vector<int> took;
    std::vector<int> left = order;
    while (!left.empty()) {
        // (the layout clicks lay the panels out again: the takers are moved away each time)
        for (int id : took) MoveWindow(GetDlgItem(hBig, id), 2000, 2000, 1, 1);
        for (int id : left) MoveWindow(GetDlgItem(hBig, id), 300, 300, 40, 20);
        hReRightClicked = hReFocus = HWND{};
        ASSERT_EQ(right_click_at(ClientToScreen(hBig, POINT{310, 310})), 1);
        const HWND taker = hReRightClicked ? hReRightClicked : hReFocus;
        const int id = GetDlgCtrlID(taker);
        took.push_back(id);
        std::erase(left, id);
        if (took.size() > order.size()) break;
    }
    const auto joined = [](const std::vector<int>& v) {
        std::string s;
        for (int id : v) s += std::to_string(id) + " ";
        return s;
    };
    EXPECT_EQ(joined(took), joined(order));
    // "Refresh" looks the word up and lets the click go on to the default handling.
    size_big(hBig);
    EXPECT_EQ(right_click(1263), 0);
    EXPECT_EQ(hReRightClicked, GetDlgItem(hBig, 1263));
    // A point outside every control: the default handling.
    EXPECT_EQ(right_click_at(ClientToScreen(hBig, POINT{1, 1})), 0);
}

TEST_F(CheckerCloseTest, RightClicksOnTheLayoutControls) {
    open();
    const auto left_width = [] { return GetWindowRect(hBigReLeft).width(); };
    const int before = left_width();
    for (int i = 0; i < 5; ++i) right_click(1216);  // "nyt"
    EXPECT_EQ(left_width(), before - 10);
    right_click(1217);  // "bbc"
    EXPECT_EQ(left_width(), before - 8);
    right_click(1214);  // "Gtr"
    EXPECT_EQ(GetWindowRect(hBig).width(), 960);
    EXPECT_EQ(GetWindowRect(hBig).height(), 720);
}

// The word-class entries of the selection, by a right click on "инфо" (or "h").
TEST_F(CheckerCloseTest, WordClassEntriesOfTheSelection) {
    open();
    ShowHideMachineControls(SW_SHOW);
    gl_SHOW_MESSAGES = 0;
    const struct {
        const char* selection;
        int translation;  // gl_ENGLISH_TRANSLATION
        int print_down;
        const char* written;  // appended to the report panel ("" nothing)
        const char* message;  // the message box shown ("" none)
    } cases[] = {
        {"apple", 0, 0, "", ""},  // plain spell checking: nothing
        {"apple", 1, 0, "ябълка", ""},
        {"apple", 0, 1, "ябълка", ""},
        {"black\rbox", 1, 0, "черна кутия", ""},
        {"sun-\rflower", 1, 0, "слънчоглед", ""},
        {"ябълка", 1, 0, "", ""},  // not Latin
        {"", 1, 0, "", "Не сте избрали текст. Опитайте пак."},
        {"a\t\tb", 1, 0, "", "Повече от една табулация! Оправете текста и опитайте пак."},
        {"a\t\tb", 1, 0, "", ""},  // told once until "clr"
    };
    // The demonstration lists hold apple; the two phrases are filed here.
    for (auto [en, bg] : {std::pair{"black box", "черна кутия"}, std::pair{"sun-flower", "слънчоглед"}}) {
        quiet_set(hBigReRight, en);
        quiet_set(hBigReLeft, bg);
        headless_click(hBig, 1292);
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selection);
        gl_ENGLISH_TRANSLATION = static_cast<std::int8_t>(c.translation);
        gl_PRINT_DOWN = static_cast<std::int8_t>(c.print_down);
        const HWND target = c.print_down ? hBigReBot : hBigReLeft;
        for (HWND re : {hBigReLeft, hBigReBot}) quiet_set(re, "отчет\r", 0, 0);
        quiet_set(hBigReRight, c.selection);
        hs->message_boxes.clear();
        EXPECT_EQ(right_click(1272), 1);
        const std::string written = c.written;
        EXPECT_EQ(panel_text(target), written.empty() ? "отчет\r" : "отчет\r" + written + "\r\r");
        if (!written.empty()) {
            EXPECT_EQ(utf16_to_utf8(RE_GetSelText(target)), written);
        }
        EXPECT_EQ(hs->message_boxes.empty() ? "" : utf16_to_utf8(hs->message_boxes[0].text), c.message);
    }
    // "h": the entries, then the selection filed into the hard-word list.
    gl_ENGLISH_TRANSLATION = 1;
    gl_PRINT_DOWN = 0;
    quiet_set(hBigReRight, "apple");
    hs->message_box_answers = {IDYES};  // apple means ябълка in another list too
    right_click(1274);
    EXPECT_NE(c_find(C_HARD, "apple"), nullptr);
}

// The program's end from the checker closes every secondary window, the inflection-type input and
// settings windows too.
TEST_F(CheckerCloseTest, TheEndOfTheProgramClosesEverySecondaryWindow) {
    open();
    ASSERT_FALSE(IsWindowVisible(hMain));
    std::vector<HWND> made;
    for (HWND* h : {&hInfo, &hBgText, &hTran, &hRepl, &hInput, &hSettings}) made.push_back(*h = make_panel_dialog({1}));
    headless_close(hBig);
    for (HWND w : made) EXPECT_FALSE(IsWindow(w));
    for (HWND h : {hInfo, hBgText, hTran, hRepl, hInput, hSettings}) EXPECT_EQ(h, HWND{});
    EXPECT_TRUE(platform_quit_requested());
}

}  // namespace
