// The program's own windows in real Qt widgets: where right clicks near their panels land, and
// Enter and Escape in their dialog boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <map>

#include "dictionary/main_window.h"
#include "engine/run_state.h"
#include "platform/richedit.h"
#include "resources/resources.h"
#include "shell/window_state.h"
#include "support/program_on_qt.h"
#include "windows/bgtext_window.h"
#include "windows/char_table_window.h"
#include "windows/checker_layout.h"
#include "windows/find_replace_window.h"
#include "windows/info_window.h"
#include "windows/input_window.h"
#include "windows/live_window.h"
#include "windows/machine_window.h"
#include "windows/settings_window.h"
#include "windows/translation_window.h"
#include "resources/secondary.h"

namespace {

// The window's widget or child under a screen point, null off the window.
QWidget* under(HWND window, QPoint at) {
    QWidget* top = qt_widget(window);
    QWidget* child = top->childAt(top->mapFromGlobal(at));
    return child ? child : top->frameGeometry().contains(at) ? top : nullptr;
}

// Two pixels inside each edge of every panel of each window a right click opens that panel's menu
// and moves nothing; on the surface two and twelve pixels outside, none opens, not even where the
// click moves the checker's boundary (its surface is the splitter) and so brings a panel under it.
TEST(ProgramQt, RightClicksNearEveryPanelEdgeOpenThatPanelsMenuOnly) {
    jux_test::ProgramOnQt program("panel_clicks");
    ASSERT_TRUE(program.started);
    const std::pair<std::function<HWND()>, std::vector<HWND*>> windows[] = {
        {[] { return hBig; }, {&hBigReLeft, &hBigReRight, &hBigReBot}},
        {open_info_window, {&hInfoReTop, &hInfoReBot}},
        {[] { return open_translation_window(hAddReSaved, false); }, {&hTranReLeft, &hTranReRight}},
        {open_machine_window, {&hMachineRe}},
        {open_bgtext_window, {&hBgTextRe}},
    };
    for (const auto& [open, panels] : windows) {
        const HWND window = open();
        const RECT r = GetWindowRect(window);  // all of it on the offscreen screen (800 x 600)
        MoveWindow(window, 0, 0, std::min<int>(r.width(), 790), std::min<int>(r.height(), 590));
        for (HWND* panel : panels)
            for (int at = 0; at < 12; ++at) {
                if (window == hBig) size_big(hBig);  // a click on its surface moved the boundary
                auto* edit = qobject_cast<QTextEdit*>(qt_widget(*panel));
                const int by = at % 3 == 0 ? 2 : at % 3 == 1 ? -2 : -12, side = at / 3;
                const QWidget* shown = by > 0 ? edit->viewport() : edit;
                const QRect e(shown->mapToGlobal(QPoint(0, 0)), shown->size());
                const QPoint p(side == 2 ? e.left() + by : side == 3 ? e.right() - by : e.center().x(),
                               side == 0 ? e.top() + by : side == 1 ? e.bottom() - by : e.center().y());
                QWidget* target = under(window, p);
                if (by < 0 && (!target || qt_handle_of(target) != window)) continue;  // not the bare surface
                const std::string where = std::to_string(GetDlgCtrlID(*panel)) + " case " + std::to_string(at);
                const RECT first = GetWindowRect(*panels.front());
                const size_t popups = qt_test_answers().popups_offered.size();
                hReFocus = HWND{};
                QTest::mouseClick(target, Qt::RightButton, {}, target->mapFromGlobal(p));
                EXPECT_EQ(qt_test_answers().popups_offered.size(), popups + (by > 0)) << where;
                EXPECT_EQ(hReFocus, by > 0 ? *panel : HWND{}) << where;
                // The checker's surface is its splitter: the click there moves the boundary instead.
                EXPECT_EQ(GetWindowRect(*panels.front()) == first, by > 0 || window != hBig) << where;
            }
    }
}

// The buttons each dialog gets pressed, recorded on the way to its own procedure.
std::vector<int> g_pressed;
std::map<std::uint32_t, DLGPROC> g_procs;
INT_PTR recording(HWND dlg, const Msg& m) {
    if (m.message == WM_COMMAND && m.code == BN_CLICKED) g_pressed.push_back(m.id);
    return g_procs[dlg.id](dlg, m);
}

// In each dialog box Enter presses the default button from a one-line box, a multi-line box
// without the style that asks for line breaks, a list or the box itself, and a multi-line box with
// it takes a line; Escape closes the box as its Cancel button does. A window without a default
// button leaves both keys to its panels.
TEST(ProgramQt, EnterPressesTheDefaultButtonAndEscapeClosesEveryDialogBox) {
    jux_test::ProgramOnQt program("dialog_keys");
    ASSERT_TRUE(program.started);
    enum Then { Presses, TakesALine, Closes, Stays };
    const auto by = [](UINT command, HWND* handle) { return std::pair{command, handle}; };
    HWND about{};
    const auto find = by(IDA_FIND_REPLACE, &hRepl), input = by(IDM_INPUT_TYPE, &hInput),
               settings = by(IDM_SETTINGS, &hSettings), table = by(IDM_ASCII, &hAscii), box = by(IDA_ABOUT, &about),
               translation = by(0, &hTran);
    const std::tuple<std::pair<UINT, HWND*>, int, Qt::Key, Then, int> cases[] = {
        {find, 1232, Qt::Key_Return, Presses, 1235},       {find, 1233, Qt::Key_Enter, Presses, 1235},
        {find, 1232, Qt::Key_Escape, Closes, 0},           {input, 1185, Qt::Key_Return, Presses, 1186},
        {input, 1185, Qt::Key_Escape, Closes, 0},          {settings, 1204, Qt::Key_Return, Presses, 1189},
        {settings, 1197, Qt::Key_Return, Presses, 1189},   {settings, 1194, Qt::Key_Return, TakesALine, 0},
        {settings, 1197, Qt::Key_Escape, Closes, 0},       {table, 1039, Qt::Key_Return, Presses, 1036},
        {table, 1037, Qt::Key_Return, Presses, 1036},      {table, 1039, Qt::Key_Escape, Closes, 0},
        {box, 0, Qt::Key_Return, Presses, 1122},           {box, 0, Qt::Key_Escape, Closes, 0},
        {translation, 1252, Qt::Key_Return, TakesALine, 0}, {translation, 1252, Qt::Key_Escape, Stays, 0},
    };
    for (const auto& [window, control, key, then, button] : cases) {
        const std::string what = std::to_string(window.first) + " " + std::to_string(control) + " " + std::to_string(key);
        int acted = 0;
        // The person at the window: a modal box is acted on while it runs, the others once open.
        const auto act = [&](HWND dlg) {
            ++acted;
            g_procs[dlg.id] = std::exchange(platform_window(dlg)->proc, &recording);
            g_pressed.clear();
            const HWND focus = control ? GetDlgItem(dlg, control) : dlg;
            SetFocus(focus);
            QTest::keyClick(qt_widget(focus), key);
            const bool open = IsWindow(dlg) && IsWindowVisible(dlg);
            EXPECT_EQ(std::count(g_pressed.begin(), g_pressed.end(), button) > 0, then == Presses) << what;
            EXPECT_TRUE(then == Presses || !open == (then == Closes)) << what;  // OK closes some itself
            const std::u16string text = control && IsWindow(focus) ? RE_GetTextW(focus) + GetWindowTextW(focus) : u"";
            EXPECT_EQ(text.find_first_of(u"\r\n") != std::u16string::npos, then == TakesALine) << what;
        };
        qt_test_answers().on_modal = [&](HWND dlg) { act(about = dlg); };
        if (window.first) PL_SendCommand(hMain, static_cast<int>(window.first));
        else open_translation_window(hAddReSaved, false);
        qt_test_answers().on_modal = nullptr;
        if (!acted) act(*window.second);
        EXPECT_EQ(acted, 1) << what;
        if (IsWindow(*window.second)) DestroyWindow(*window.second);
    }
    // A message box over a dialog box takes Enter itself.
    PL_SendCommand(hMain, IDM_SETTINGS);
    g_procs[hSettings.id] = std::exchange(platform_window(hSettings)->proc, &recording);
    g_pressed.clear();
    QMessageBox over(QMessageBox::Information, "Oops!", "?", QMessageBox::Ok, qt_widget(hSettings));
    over.show();
    QTest::keyClick(&over, Qt::Key_Return);
    EXPECT_TRUE(g_pressed.empty() && IsWindow(hSettings) && over.isHidden());
}

// In each dialog box, and in the dictionary's entry box, Tab and Shift+Tab move the focus from a
// box that takes text to the next and the previous control of the template that the key stops at,
// typing nothing; Ctrl+Tab types a tab there. So "License", Tab, "Licence" in the find window fills
// both of its boxes, and "water", Tab in the entry box leaves "water" to be looked up.
TEST(ProgramQt, TabMovesBetweenTheControlsOfEveryDialogBoxAndCtrlTabTypesATab) {
    jux_test::ProgramOnQt program("dialog_tabs");
    ASSERT_TRUE(program.started);
    HWND opened{};
    const struct {
        UINT command;
        HWND* handle;  // null for a modal box
        int box, next, previous;
    } cases[] = {
        {IDA_FIND_REPLACE, &hRepl, 1232, 1233, 1234},  // "Find what": "Replace with", "Cancel"
        {IDM_INPUT_TYPE, &hInput, 1185, 1186, 1217},   // the type's field: "OK", "az_"
        {IDM_SETTINGS, &hSettings, 1194, 1189, 1197},  // the notes: "OK", "Def. length"
        {IDM_ASCII, &hAscii, 1039, 1036, 1041},        // the codes: "OK", "Clear"
        // The main window, open already: the entry box, "Sentence", the last panel (the audio
        // button is hidden without the sound files).
        {0, &hMain, IDC_ADD_RE_SHORT, IDC_ADD_SENTENCE, IDC_ADD_RE_SHORT3},
    };
    const auto text_of = [](HWND w) { return platform_rich(w) ? RE_GetTextW(w) : GetWindowTextW(w); };
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(qt_widget(GetFocus()), key, mods);
    };
    for (const auto& c : cases) {
        const std::string what = std::to_string(c.command);
        int acted = 0;
        const auto act = [&](HWND dlg) {
            ++acted;
            const HWND box = GetDlgItem(dlg, c.box);
            SetFocus(box);
            QTest::keyClicks(qt_widget(box), c.command == IDA_FIND_REPLACE ? "License" : c.command ? "13" : "water");
            const std::u16string typed = text_of(box);
            press(Qt::Key_Tab);
            EXPECT_EQ(GetFocus(), GetDlgItem(dlg, c.next)) << what;
            if (c.command == IDA_FIND_REPLACE) {
                QTest::keyClicks(qt_widget(GetFocus()), "Licence");
                EXPECT_EQ(RE_GetTextW(hReplReRepl), u"Licence");
            }
            press(Qt::Key_Backtab, Qt::ShiftModifier);
            EXPECT_EQ(GetFocus(), box) << what;
            press(Qt::Key_Backtab, Qt::ShiftModifier);
            EXPECT_EQ(GetFocus(), GetDlgItem(dlg, c.previous)) << what;
            EXPECT_EQ(text_of(box), typed) << what;
            SetFocus(box);
            const LONG end = static_cast<LONG>(typed.size());
            // Tab selected its text.
            if (platform_rich(box)) RE_SetSel(box, CHARRANGE{end, end});
            if (auto* e = qobject_cast<QPlainTextEdit*>(qt_widget(box))) e->moveCursor(QTextCursor::End);
            press(Qt::Key_Tab, Qt::ControlModifier);
            EXPECT_EQ(GetFocus(), box) << what;
            EXPECT_EQ(text_of(box), typed + u"\t") << what;
        };
        qt_test_answers().on_modal = [&](HWND dlg) { act(opened = dlg); };
        if (c.command) PL_SendCommand(hMain, static_cast<int>(c.command));
        qt_test_answers().on_modal = nullptr;
        if (!acted) act(*c.handle);
        EXPECT_EQ(acted, 1) << what;
        if (c.command && IsWindow(*c.handle)) DestroyWindow(*c.handle);
    }
}

// A control that Tab reaches shows that it has the focus (the style's focus mark, which changes its
// pixels), so that Space ticks the check box the user sees marked; a field reached so has its whole
// text selected, so that what is typed next replaces it: "800" in the rank filter, Tab into it from
// "Print Filtered", "9" leaves "9".
TEST(ProgramQt, TabMarksTheControlItReachesAndSelectsAFieldsText) {
    jux_test::ProgramOnQt program("tab_marks");
    ASSERT_TRUE(program.started);
    const auto press_tab = [] { QTest::keyClick(qt_widget(GetFocus()), Qt::Key_Tab); };
    const auto looks = [](HWND h) { return qt_widget(h)->grab().toImage(); };
    PL_SendCommand(hMain, IDA_FIND_REPLACE);
    ASSERT_TRUE(IsWindowVisible(hRepl));
    const HWND whole = GetDlgItem(hRepl, 1237), cancel = GetDlgItem(hRepl, 1234);
    SetFocus(GetDlgItem(hRepl, 1240));  // "Replace all": Tab, "Cancel"
    const QImage cancel_before = looks(cancel);
    press_tab();
    ASSERT_EQ(GetFocus(), cancel);
    EXPECT_NE(looks(cancel), cancel_before);
    SetFocus(GetDlgItem(hRepl, 1233));  // "Replace with": Tab, "Match whole word"
    const QImage whole_before = looks(whole);
    press_tab();
    ASSERT_EQ(GetFocus(), whole);
    EXPECT_NE(looks(whole), whole_before);
    QTest::keyClick(qt_widget(whole), Qt::Key_Space);
    EXPECT_EQ(Button_GetCheck(whole), BST_CHECKED);
    DestroyWindow(hRepl);

    PL_SendCommand(hMain, IDM_SETTINGS);
    ASSERT_TRUE(IsWindowVisible(hSettings));
    const HWND rank = GetDlgItem(hSettings, IDC_SETTINGS_RANK_FILTER);
    SetWindowTextW(rank, u"800");
    SetFocus(GetDlgItem(hSettings, IDC_SETTINGS_PRINT_FILTERED));
    press_tab();
    ASSERT_EQ(GetFocus(), rank);
    QTest::keyClicks(qt_widget(rank), "9");
    EXPECT_EQ(GetWindowTextW(rank), u"9");
    DestroyWindow(hSettings);
}

// A message box stands above the program's windows that stay on top (the information window
// here), whichever window owns it: the checker's "Open" of a file that is not there.
TEST(ProgramQt, AMessageBoxStandsAboveTheWindowsThatStayOnTop) {
    jux_test::ProgramOnQt program("box_on_top");
    ASSERT_TRUE(program.started);
    constexpr int kOpen = 9219;  // the checker's "Файл" > "Open"
    const auto open_missing = [&] {
        qt_test_answers().file_dialog_answers.push_back(program.data.path() / "missing.txt");
        PL_SendCommand(hBig, kOpen);
        EXPECT_FALSE(qt_test_answers().message_boxes.empty());
        return !qt_test_answers().message_boxes.empty() && qt_test_answers().message_boxes.back().on_top;
    };
    EXPECT_FALSE(open_missing());  // nothing of the program stays on top
    ASSERT_TRUE(IsWindowVisible(open_info_window()));
    EXPECT_TRUE(open_missing());
}

// "Show Live" (which relabels an item of the main window's menu bar) leaves the main window where
// it is, also when the desktop framed the window after the program last heard where it stands.
TEST(ProgramQt, ShowLiveLeavesTheMainWindowWhereItIs) {
    jux_test::ProgramOnQt program("show_live");
    ASSERT_TRUE(program.started);
    build_main_menu(false);  // the dictionary's menu bar, as its edition starts with
    ShowWindow(hMain, SW_SHOW);
    QWidget* main = qt_widget(hMain);
    const QRect before = main->frameGeometry();
    // As a backend reports a window shown before the desktop has said how it frames it.
    platform_view_placed(hMain, platform_window(hMain)->rect, RECT{});
    for (int click = 0; click < 2; ++click) {  // shown, then hidden again
        QTest::mouseClick(qt_widget(GetDlgItem(hMain, IDC_ADD_SHOW_LIVE)), Qt::LeftButton);
        EXPECT_EQ(IsWindowVisible(hLive), click == 0);
        EXPECT_EQ(main->frameGeometry(), before);
    }
}

}  // namespace
