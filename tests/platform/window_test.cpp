// The window core: dialogs from templates, dialog units, messages, destruction, properties and
// the user's actions, on the headless backend (and on a recording backend for the views).
#include <algorithm>

#include "dialog_fixture.h"
#include "platform/backend.h"
#include "platform/richedit.h"

namespace {

using WindowTest = PlatformTest;

TEST_F(WindowTest, DialogFromTemplateHasEveryControlKindInPixels) {
    DialogTemplate t;
    t.id = 900;
    t.caption = u"Всички";
    t.x = 4;
    t.y = 8;
    t.cx = 300;
    t.cy = 160;
    t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    t.controls = {
        {ControlKind::PushButton, 1, u"Go", 10, 8, 40, 16, kChild | BS_FLAT | BS_BITMAP, 128},
        {ControlKind::CheckBox, 2, u"Check", 10, 30, 50, 10},
        {ControlKind::Label, -1, u"Label", 10, 45, 50, 8},
        {ControlKind::GroupBox, 3, u"Group", 70, 5, 100, 50},
        {ControlKind::Picture, 4, u"", 180, 5, 20, 20, kChild | SS_BITMAP, 122},
        {ControlKind::ListBox, 5, u"ignored", 10, 60, 60, 40, kChild | LBS_NOTIFY},
        {ControlKind::Edit, 6, u"42", 80, 60, 40, 14},
        {ControlKind::RichEdit, 7, u"ред1\r\nред2", 130, 60, 100, 60, WS_CHILD | ES_MULTILINE},
    };
    PL_RegisterDialogTemplate(t);
    ASSERT_NE(PL_FindDialogTemplate(900), nullptr);

    g_on_message = [](HWND h, const Msg& m) -> INT_PTR {
        // Controls exist and the window is still hidden when the procedure initialises.
        if (m.message == WM_INITDIALOG) {
            EXPECT_TRUE(IsWindow(GetDlgItem(h, 7)));
            EXPECT_FALSE(IsWindowVisible(h));
        }
        return 0;
    };
    HWND dlg = CreateDialogParamW(900, {}, RecordingProc, 77);
    ASSERT_TRUE(dlg);
    auto init = received(WM_INITDIALOG);
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].hwnd, dlg);
    EXPECT_EQ(init[0].msg.param, 77);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(GetWindowTextW(dlg), u"Всички");

    const ControlKind kinds[] = {ControlKind::PushButton, ControlKind::CheckBox, ControlKind::GroupBox,
                                 ControlKind::Picture, ControlKind::ListBox, ControlKind::Edit,
                                 ControlKind::RichEdit};
    const int ids[] = {1, 2, 3, 4, 5, 6, 7};
    for (int i = 0; i < 7; ++i) {
        HWND c = GetDlgItem(dlg, ids[i]);
        ASSERT_TRUE(c) << ids[i];
        EXPECT_EQ(PL_GetControlKind(c), kinds[i]);
        EXPECT_EQ(GetParent(c), dlg);
        EXPECT_EQ(GetDlgCtrlID(c), ids[i]);
    }
    EXPECT_EQ(PL_GetChildren(dlg).size(), 8u);
    EXPECT_EQ(platform_window(GetDlgItem(dlg, 1))->bitmap, HBITMAP{128});
    EXPECT_EQ(platform_window(GetDlgItem(dlg, 4))->bitmap, HBITMAP{122});
    EXPECT_EQ(GetDlgItemTextW(dlg, 6), u"42");
    EXPECT_EQ(ListBox_GetCount(GetDlgItem(dlg, 5)), 0);
    // The panel's text: one '\r' per paragraph inside, CR LF through the window text.
    HWND re = GetDlgItem(dlg, 7);
    ASSERT_NE(platform_rich(re), nullptr);
    EXPECT_EQ(RE_GetTextW(re), u"ред1\rред2");
    EXPECT_EQ(GetWindowTextW(re), u"ред1\r\nред2");
    EXPECT_EQ(GetWindowTextLengthW(re), 10);
    EXPECT_FALSE(IsWindowVisible(re));  // its template has no WS_VISIBLE
    EXPECT_EQ(platform_rich(GetDlgItem(dlg, 6)), nullptr);

    // MS Shell Dlg 8 pt: 1.5 pixels across and 13/8 down per dialog unit, rounded.
    EXPECT_EQ(GetClientRect(dlg), (RECT{0, 0, 450, 260}));
    RECT wa = PL_GetWorkArea();
    EXPECT_EQ(GetWindowRect(dlg), (RECT{wa.left + 6, wa.top + 13, wa.left + 456, wa.top + 273}));
    HWND go = GetDlgItem(dlg, 1);
    EXPECT_EQ(platform_window(go)->rect, (RECT{15, 13, 75, 39}));
    EXPECT_EQ(GetWindowRect(go), (RECT{wa.left + 21, wa.top + 26, wa.left + 81, wa.top + 52}));
    EXPECT_EQ(MapDialogRect(dlg, RECT{1, 1, 3, 5}), (RECT{2, 2, 5, 8}));
    EXPECT_EQ(MapDialogRect(go, RECT{0, 0, 4, 8}), (RECT{0, 0, 6, 13}));
}

TEST_F(WindowTest, DialogUnitsScaleWithTheFontAndCentreOnTheWorkArea) {
    hs->work_area = RECT{100, 50, 1100, 850};
    DialogTemplate t = small_template(501);
    t.font_points = 10;
    t.style |= DS_CENTER;
    t.controls.insert(t.controls.begin(), {ControlKind::Label, -1, u"static", 0, 0, 10, 10});
    // A nonzero answer to WM_INITDIALOG puts the focus on the first control that takes it.
    g_on_message = [](HWND, const Msg& m) -> INT_PTR { return m.message == WM_INITDIALOG; };
    HWND dlg = CreateDialogIndirect(t, {}, RecordingProc);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, 101));
    // 10 pt: 7.5 pixels wide per 4 units, 16.25 pixels high per 8 units.
    EXPECT_EQ(GetClientRect(dlg), (RECT{0, 0, 375, 203}));
    EXPECT_EQ(MapDialogRect(dlg, RECT{0, 0, 4, 8}), (RECT{0, 0, 8, 16}));
    RECT r = GetWindowRect(dlg);
    EXPECT_EQ(r.left, 100 + (1000 - 375) / 2);
    EXPECT_EQ(r.top, 50 + (800 - 203) / 2);
    EXPECT_EQ(PL_GetFontInfo(GetWindowFont(GetDlgItem(dlg, 101)))->points, 10);

    // Without WS_VISIBLE the dialog waits for its creator to show it.
    DialogTemplate hidden = small_template(502);
    hidden.style &= ~static_cast<DWORD>(WS_VISIBLE);
    HWND h2 = CreateDialogIndirect(hidden, dlg, RecordingProc);
    EXPECT_FALSE(IsWindowVisible(h2));
    EXPECT_EQ(GetParent(h2), dlg);  // a dialog's parent is its owner
    EXPECT_FALSE(ShowWindow(h2, SW_SHOW));
    EXPECT_TRUE(ShowWindow(h2, SW_HIDE));
    EXPECT_FALSE(CreateDialogParamW(9999, {}, RecordingProc));  // no such template
}

TEST_F(WindowTest, ClicksReachTheProcedureAndCheckBoxesToggleFirst) {
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HWND check = GetDlgItem(dlg, 102);
    int state_seen = -1;
    g_on_message = [&](HWND h, const Msg& m) -> INT_PTR {
        if (m.message == WM_COMMAND && m.id == 102) state_seen = IsDlgButtonChecked(h, 102);
        return 0;
    };
    headless_click(dlg, 102);
    EXPECT_EQ(state_seen, BST_CHECKED);
    headless_click(check);
    EXPECT_EQ(state_seen, BST_UNCHECKED);

    g_received.clear();
    headless_click(dlg, 101);
    auto cmds = received(WM_COMMAND);
    ASSERT_EQ(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].msg.id, 101);
    EXPECT_EQ(cmds[0].msg.code, BN_CLICKED);
    EXPECT_EQ(cmds[0].msg.from, GetDlgItem(dlg, 101));
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, 101));

    // Disabled or hidden controls cannot be clicked; a disabled dialog takes no clicks.
    g_received.clear();
    EXPECT_FALSE(EnableWindow(GetDlgItem(dlg, 101), false));
    headless_click(dlg, 101);
    EXPECT_TRUE(EnableWindow(GetDlgItem(dlg, 101), true));
    ShowWindow(check, SW_HIDE);
    headless_click(check);
    EXPECT_EQ(Button_GetCheck(check), BST_UNCHECKED);
    ShowWindow(check, SW_SHOW);
    EnableWindow(dlg, false);
    headless_click(check);
    EXPECT_TRUE(received(WM_COMMAND).empty());

    // A command sent to a control reaches its dialog's procedure.
    EnableWindow(dlg, true);
    EXPECT_EQ(PL_SendCommand(check, 7001), 0);
    ASSERT_EQ(received(WM_COMMAND).size(), 1u);
    EXPECT_EQ(received(WM_COMMAND)[0].hwnd, dlg);
}

TEST_F(WindowTest, ProcedureMayDestroyItsOwnWindowInsideACommand) {
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HWND owned = CreateDialogIndirect(small_template(510), dlg, RecordingProc);
    HWND button = GetDlgItem(dlg, 101);
    std::vector<HWND> destroyed;
    std::u16string label_during_destroy;
    g_on_message = [&](HWND h, const Msg& m) -> INT_PTR {
        if (m.message == WM_COMMAND && m.id == 101) {
            EXPECT_TRUE(DestroyWindow(h));
            EXPECT_FALSE(IsWindow(h));
            EXPECT_FALSE(DestroyWindow(h));  // a second time does nothing
            return 1;
        }
        if (m.message == WM_DESTROY) {
            destroyed.push_back(h);
            label_during_destroy = GetDlgItemTextW(h, 101);  // controls still live here
            EXPECT_FALSE(DestroyWindow(h));                  // already under way
        }
        return 0;
    };
    headless_click(button);
    // Owned windows go first, then the window itself; its controls go with it.
    ASSERT_EQ(destroyed.size(), 2u);
    EXPECT_EQ(destroyed[0], owned);
    EXPECT_EQ(destroyed[1], dlg);
    EXPECT_EQ(label_during_destroy, u"OK");
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_FALSE(IsWindow(button));
    EXPECT_EQ(platform_rich(GetDlgItem(dlg, 103)), nullptr);
}

TEST_F(WindowTest, MessagesAndCallsOnDestroyedWindowsDoNothing) {
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HWND button = GetDlgItem(dlg, 101);
    HWND re = GetDlgItem(dlg, 103);
    ASSERT_TRUE(DestroyWindow(dlg));
    g_received.clear();
    EXPECT_EQ(SendMessageW(dlg, Msg::command(1)), 0);
    EXPECT_EQ(PL_SendCommand(button, 1), 0);
    EXPECT_FALSE(PostMessageW(dlg, Msg::command(1)));
    EXPECT_FALSE(SetWindowTextW(button, u"x"));
    EXPECT_EQ(GetWindowTextW(button), u"");
    EXPECT_EQ(GetWindowTextLengthW(re), 0);
    EXPECT_FALSE(ShowWindow(dlg, SW_SHOW));
    EXPECT_FALSE(MoveWindow(dlg, 0, 0, 10, 10));
    EXPECT_EQ(GetWindowRect(dlg), RECT{});
    EXPECT_FALSE(GetDlgItem(dlg, 101));
    EXPECT_FALSE(SetFocus(button));
    EXPECT_EQ(PL_GetDialogProc(dlg), nullptr);
    headless_click(button);
    headless_close(dlg);
    headless_drop(re, {"/tmp/x.txt"});
    EXPECT_TRUE(g_received.empty());
    // Handles are never reused.
    HWND again = CreateDialogIndirect(small_template(), {}, RecordingProc);
    EXPECT_NE(again, dlg);
    EXPECT_NE(GetDlgItem(again, 101), button);
    EXPECT_EQ(SendMessageW(HWND{}, Msg::command(1)), 0);
}

TEST_F(WindowTest, PostedMessagesWaitForTheLoopAndQuitGivesItsCode) {
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HWND gone = CreateDialogIndirect(small_template(511), {}, RecordingProc);
    Msg user = Msg::simple(WM_USER + 5);
    user.param = 11;
    EXPECT_TRUE(PostMessageW(dlg, user));
    EXPECT_TRUE(PostMessageW(gone, user));
    DestroyWindow(gone);
    g_received.clear();
    EXPECT_TRUE(received(WM_USER + 5).empty());
    g_on_message = [](HWND, const Msg& m) -> INT_PTR {
        if (m.message == WM_USER + 5) PostQuitMessage(3);
        return 0;
    };
    EXPECT_EQ(PL_RunMessageLoop(), 3);
    auto got = received(WM_USER + 5);
    ASSERT_EQ(got.size(), 1u);  // the one for the destroyed window was dropped
    EXPECT_EQ(got[0].hwnd, dlg);
    EXPECT_EQ(got[0].msg.param, 11);
    EXPECT_FALSE(platform_quit_requested());  // the loop consumed it

    // The pump delivers too, and a quit posted before a loop ends it at once.
    g_on_message = nullptr;
    PostMessageW(dlg, user);
    PL_PumpMessages(10000);
    EXPECT_EQ(received(WM_USER + 5).size(), 2u);
    PostQuitMessage(9);
    EXPECT_EQ(PL_RunMessageLoop(), 9);
}

TEST_F(WindowTest, ModalDialogDisablesItsOwnerAndReturnsItsResult) {
    PL_RegisterDialogTemplate(small_template(520));
    HWND owner = CreateDialogIndirect(small_template(), {}, RecordingProc);
    bool owner_enabled_inside = true;
    hs->on_modal = [&](HWND box) {
        owner_enabled_inside = IsWindowEnabled(owner);
        EXPECT_TRUE(IsWindowVisible(box));
        headless_click(box, 101);
    };
    g_on_message = [](HWND h, const Msg& m) -> INT_PTR {
        if (m.message == WM_COMMAND && m.id == 101) EndDialog(h, 5);
        return 0;
    };
    EXPECT_EQ(DialogBoxParamW(520, owner, RecordingProc), 5);
    EXPECT_FALSE(owner_enabled_inside);
    EXPECT_TRUE(IsWindowEnabled(owner));
    auto inits = received(WM_INITDIALOG);
    ASSERT_EQ(inits.size(), 2u);
    EXPECT_FALSE(IsWindow(inits[1].hwnd));  // the box is gone after the call

    // A box that ignores its close box ends cancelled once nobody is left to press a button.
    hs->on_modal = nullptr;
    g_on_message = nullptr;
    g_received.clear();
    EXPECT_EQ(DialogBoxParamW(520, owner, RecordingProc), IDCANCEL);
    EXPECT_EQ(received(WM_CLOSE).size(), 1u);
    // A box that ends in its initialisation never runs a loop.
    hs->on_modal = [](HWND) { ADD_FAILURE() << "no loop expected"; };
    g_on_message = [](HWND h, const Msg& m) -> INT_PTR {
        if (m.message == WM_INITDIALOG && GetParent(h)) EndDialog(h, 8);
        return 0;
    };
    EXPECT_EQ(DialogBoxParamW(520, owner, RecordingProc), 8);
    EXPECT_EQ(DialogBoxParamW(12345, owner, RecordingProc), -1);
}

TEST_F(WindowTest, GeometryMovesSizesAndMapsPoints) {
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HWND button = GetDlgItem(dlg, 101);
    g_received.clear();
    EXPECT_TRUE(MoveWindow(dlg, 100, 200, 640, 480));
    auto sizes = received(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].msg.cx, 640);
    EXPECT_EQ(sizes[0].msg.cy, 480);
    // A move without a new size sends no WM_SIZE.
    SetWindowPos(dlg, HWND_TOP, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(received(WM_SIZE).size(), 1u);
    EXPECT_EQ(GetWindowRect(dlg), (RECT{10, 20, 650, 500}));

    MoveWindow(button, 5, 6, 30, -4);  // a negative size counts as zero
    EXPECT_EQ(GetWindowRect(button), (RECT{15, 26, 45, 26}));
    EXPECT_EQ(ClientToScreen(button, POINT{1, 2}), (POINT{16, 28}));
    EXPECT_EQ(ScreenToClient(dlg, POINT{16, 28}), (POINT{6, 8}));

    SetWindowPos(dlg, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(platform_window(dlg)->ex_style & WS_EX_TOPMOST);
    SetWindowPos(dlg, HWND_NOTOPMOST, 770, 400, 0, 0, SWP_NOSIZE);
    EXPECT_FALSE(platform_window(dlg)->ex_style & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowRect(dlg).left, 770);
}

TEST_F(WindowTest, TextInBothCodePagesAndEditFieldChanges) {
    DialogTemplate t = small_template();
    t.controls.push_back({ControlKind::Edit, 104, u"", 10, 50, 30, 12});
    t.controls.push_back({ControlKind::Edit, 105, u"", 10, 70, 30, 40, kChild | ES_MULTILINE});
    HWND dlg = CreateDialogIndirect(t, {}, RecordingProc);
    HWND label = GetDlgItem(dlg, 101);
    EXPECT_TRUE(SetWindowTextA(label, "\xC4\xF3\xEC\xE0"));  // "Дума" in code page 1251
    EXPECT_EQ(GetWindowTextW(label), u"Дума");
    EXPECT_EQ(GetWindowTextA(label), "\xC4\xF3\xEC\xE0");
    SetWindowTextW(label, u"a\u4E2Db");
    EXPECT_EQ(GetWindowTextA(label), "a?b");
    EXPECT_EQ(GetWindowTextLengthW(label), 3);

    // A one-line edit field reports every change of its text; a multi-line one only the user's.
    g_received.clear();
    SetDlgItemTextW(dlg, 104, u"12");
    SetDlgItemTextW(dlg, 105, u"notes");
    auto changes = received(WM_COMMAND);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].msg.id, 104);
    EXPECT_EQ(changes[0].msg.code, EN_CHANGE);
    headless_type(GetDlgItem(dlg, 105), u"!?");
    EXPECT_EQ(GetDlgItemTextW(dlg, 105), u"notes!?");
    EXPECT_EQ(received(WM_COMMAND).size(), 3u);

    // The rich-edit panel's window text is its document.
    HWND re = GetDlgItem(dlg, 103);
    EXPECT_TRUE(SetWindowTextW(re, u"x\r\ny"));
    EXPECT_EQ(RE_GetTextW(re), u"x\ry");
}

TEST_F(WindowTest, ListBoxesNotifyOnlyWithLbsNotify) {
    DialogTemplate t = small_template();
    t.controls.push_back({ControlKind::ListBox, 201, u"", 0, 0, 50, 50, kChild | LBS_NOTIFY | LBS_EXTENDEDSEL});
    t.controls.push_back({ControlKind::ListBox, 202, u"", 60, 0, 50, 50, kChild});
    HWND dlg = CreateDialogIndirect(t, {}, RecordingProc);
    HWND multi = GetDlgItem(dlg, 201), single = GetDlgItem(dlg, 202);
    for (HWND lb : {multi, single})
        for (const char16_t* s : {u"а", u"б", u"в"}) ListBox_AddString(lb, s);
    EXPECT_EQ(ListBox_GetCount(multi), 3);
    EXPECT_EQ(ListBox_GetText(multi, 1), u"б");
    EXPECT_EQ(ListBox_GetText(multi, 3), u"");
    EXPECT_EQ(ListBox_GetCurSel(multi), -1);

    g_received.clear();
    headless_list_select(multi, {2, 0, 7}, true);
    EXPECT_EQ(ListBox_GetSelItems(multi), (std::vector<int>{0, 2}));
    auto cmds = received(WM_COMMAND);
    ASSERT_EQ(cmds.size(), 2u);
    EXPECT_EQ(cmds[0].msg.code, LBN_SELCHANGE);
    EXPECT_EQ(cmds[1].msg.code, LBN_DBLCLK);
    EXPECT_EQ(cmds[1].msg.from, multi);

    headless_list_select(single, {1, 2});
    EXPECT_EQ(ListBox_GetSelItems(single), (std::vector<int>{1}));  // one row in a single list
    EXPECT_EQ(received(WM_COMMAND).size(), 2u);                     // and no LBS_NOTIFY

    ListBox_SetSel(multi, -1, true);
    EXPECT_EQ(ListBox_GetSelItems(multi).size(), 3u);
    ListBox_SetCurSel(multi, 1);
    EXPECT_EQ(ListBox_GetSelItems(multi), (std::vector<int>{1}));
    ListBox_ResetContent(multi);
    EXPECT_EQ(ListBox_GetCount(multi), 0);
}

TEST_F(WindowTest, ResizeActivateCloseAndContextMenuFromTheUser) {
    HWND a = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HWND b = CreateDialogIndirect(small_template(), {}, RecordingProc);
    g_received.clear();
    headless_resize(a, 800, 600);
    auto sizes = received(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].hwnd, a);
    EXPECT_EQ(sizes[0].msg.cx, 800);
    EXPECT_EQ(sizes[0].msg.cy, 600);
    EXPECT_EQ(GetClientRect(a), (RECT{0, 0, 800, 600}));

    // b, shown last, is active: it hears that it lost the activation before a hears it won.
    EXPECT_EQ(GetActiveWindow(), b);
    headless_activate(a);
    auto acts = received(WM_ACTIVATE);
    ASSERT_EQ(acts.size(), 2u);
    EXPECT_EQ(acts[0].hwnd, b);
    EXPECT_EQ(acts[0].msg.code, static_cast<int>(WA_INACTIVE));
    EXPECT_EQ(acts[1].hwnd, a);
    EXPECT_EQ(acts[1].msg.code, static_cast<int>(WA_ACTIVE));
    EXPECT_EQ(acts[1].msg.from, b);
    EXPECT_EQ(GetActiveWindow(), a);
    headless_activate(a, false);
    EXPECT_EQ(received(WM_ACTIVATE).size(), 3u);
    EXPECT_FALSE(GetActiveWindow());

    // The close box only asks: a procedure that ignores WM_CLOSE keeps its window.
    headless_close(a);
    EXPECT_EQ(received(WM_CLOSE).size(), 1u);
    EXPECT_TRUE(IsWindow(a));

    HWND button = GetDlgItem(b, 101);
    headless_context_menu(button, POINT{300, 400});
    auto ctx = received(WM_CONTEXTMENU);
    ASSERT_EQ(ctx.size(), 1u);
    EXPECT_EQ(ctx[0].hwnd, b);
    EXPECT_EQ(ctx[0].msg.from, button);
    EXPECT_EQ(ctx[0].msg.pt, (POINT{300, 400}));
}

TEST_F(WindowTest, DroppedFilesGoToPanelsByMaskAndToAcceptingDialogs) {
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HWND re = GetDlgItem(dlg, 103);
    HWND button = GetDlgItem(dlg, 101);
    const std::vector<std::filesystem::path> files{"/data/a.txt", "/data/b.txt"};

    headless_drop(re, files);  // neither the mask nor an accepting window
    EXPECT_TRUE(received(WM_NOTIFY).empty());
    EXPECT_TRUE(received(WM_DROPFILES).empty());

    RE_SetEventMask(re, ENM_DROPFILES);
    headless_drop(re, files);
    auto notes = received(WM_NOTIFY);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].msg.code, EN_DROPFILES);
    EXPECT_EQ(notes[0].msg.id, 103);
    EXPECT_EQ(notes[0].msg.from, re);
    EXPECT_EQ(notes[0].msg.files, files);

    RE_SetEventMask(re, ENM_CHANGE);
    DragAcceptFiles(dlg, true);
    headless_drop(re, files);
    headless_drop(button, {"/data/c.txt"});
    auto drops = received(WM_DROPFILES);
    ASSERT_EQ(drops.size(), 2u);
    EXPECT_EQ(drops[0].msg.files, files);
    EXPECT_EQ(drops[1].msg.files.at(0), "/data/c.txt");
    // The point is in the dialog's client area: the button's centre.
    RECT br = platform_window(button)->rect;
    EXPECT_EQ(drops[1].msg.pt, (POINT{br.left + br.width() / 2, br.top + br.height() / 2}));
    EXPECT_EQ(received(WM_NOTIFY).size(), 1u);
}

TEST_F(WindowTest, FontsAreSharedAndNonsenseFontsFail) {
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HWND button = GetDlgItem(dlg, 101);
    LOGFONTW lf{u"Microsoft Sans Serif", 12, 500, false, false};
    HFONT f = CreateFontIndirectW(lf);
    ASSERT_TRUE(f);
    EXPECT_EQ(CreateFontIndirectW(lf), f);  // equal asks share the handle
    EXPECT_FALSE(CreateFontIndirectW(LOGFONTW{u"", 12}));
    EXPECT_FALSE(CreateFontIndirectW(LOGFONTW{u"Arial", 0}));
    EXPECT_FALSE(PL_GetFontInfo(HFONT{}));
    EXPECT_NE(GetWindowFont(button), f);  // controls start with the dialog's font
    SetWindowFont(button, f);
    EXPECT_EQ(PL_GetFontInfo(GetWindowFont(button))->weight, 500);

    EXPECT_TRUE(PL_CreateToolTipFor(dlg, button, u"Подсказка"));
    EXPECT_EQ(PL_GetToolTipText(button), u"Подсказка");
    EXPECT_FALSE(PL_CreateToolTipFor(dlg, HWND{}, u"x"));
    EXPECT_EQ(SetFocus(button), HWND{});
    EXPECT_EQ(SetFocus(GetDlgItem(dlg, 102)), button);
    EXPECT_EQ(GetActiveWindow(), dlg);
}

TEST_F(WindowTest, ResetDestroysSilentlyAndNewHandlesAreFresh) {
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HMENU m = CreatePopupMenu();
    PostMessageW(dlg, Msg::simple(WM_USER));
    g_received.clear();
    platform_reset();
    EXPECT_TRUE(g_received.empty());  // no procedure runs in a reset
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_FALSE(IsMenu(m));
    EXPECT_FALSE(platform_has_posted());
    EXPECT_NE(CreateDialogIndirect(small_template(), {}, RecordingProc), dlg);
    EXPECT_NE(CreatePopupMenu(), m);
}

// ---- Views: what the core tells a backend ---------------------------------------------------

std::vector<std::pair<HWND, WindowProp>> g_synced;  // every sync, in order
std::vector<HWND> g_views_destroyed;                 // views in the order they went

class RecordingView : public WindowView {
public:
    explicit RecordingView(HWND h) : h_(h) {}
    ~RecordingView() override { g_views_destroyed.push_back(h_); }
    void sync(WindowProp what) override { g_synced.emplace_back(h_, what); }

private:
    HWND h_;
};

class ViewBackend : public Backend {
public:
    const char* name() const override { return "views"; }
    std::unique_ptr<WindowView> create_view(WindowModel& w) override {
        // Views come parent first, once every model of the dialog exists.
        if (w.kind == ControlKind::Dialog) {
            EXPECT_FALSE(w.children.empty());
        } else {
            EXPECT_NE(platform_window(w.parent)->view, nullptr);
        }
        return std::make_unique<RecordingView>(w.handle);
    }
    int message_box(HWND, std::u16string_view, std::u16string_view, UINT) override { return IDOK; }
    UINT track_popup_menu(HMENU, int, int, HWND) override { return 0; }
    void run_modal(HWND) override {}
    std::optional<std::filesystem::path> file_dialog(bool, HWND, std::u16string_view,
                                                     const std::vector<FileFilter>&,
                                                     const std::filesystem::path&) override {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> folder_dialog(HWND, std::u16string_view) override { return std::nullopt; }
    std::optional<LOGFONTW> font_dialog(HWND, const LOGFONTW&) override { return std::nullopt; }
    std::optional<std::u16string> clipboard_text() override { return std::nullopt; }
    bool set_clipboard_text(std::u16string_view) override { return true; }
    bool clear_clipboard() override { return true; }
    bool clipboard_owned() override { return false; }
    bool shell_open(std::string_view) override { return true; }
    bool start_program(const std::filesystem::path&, const std::vector<std::string>&, bool) override { return true; }
    bool tray_icon(DWORD, const NOTIFYICONDATAW&) override { return true; }
    RECT work_area() override { return RECT{0, 0, 1280, 1000}; }
    std::int64_t now_us() override { return 0; }
    void sleep_ms(int) override {}
    int run_loop() override { return 0; }
    void pump(std::int64_t) override {}
    void quit(int) override {}
};

TEST_F(WindowTest, ViewsHearOfEveryChangeAndGoChildrenFirst) {
    platform_set_backend(std::make_unique<ViewBackend>());
    g_synced.clear();
    g_views_destroyed.clear();
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HWND button = GetDlgItem(dlg, 101);
    g_synced.clear();
    SetWindowTextW(button, u"x");
    CheckDlgButton(dlg, 102, BST_CHECKED);
    EnableWindow(button, false);
    EnableWindow(button, false);  // no change, nothing to tell
    MoveWindow(button, 1, 2, 3, 4);
    HMENU bar = CreateMenu(), sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 9001, u"Item");
    AppendSubMenu(bar, sub, u"File");
    SetMenu(dlg, bar);
    CheckMenuItem(bar, 9001, MF_CHECKED);  // a change deep in the bar re-shows the bar
    const std::vector<std::pair<HWND, WindowProp>> expected{
        {button, WindowProp::Text},           {GetDlgItem(dlg, 102), WindowProp::Checked},
        {button, WindowProp::Enabled},        {button, WindowProp::Geometry},
        {dlg, WindowProp::Menu},              {dlg, WindowProp::Menu}};
    EXPECT_EQ(g_synced, expected);

    DestroyWindow(dlg);
    ASSERT_EQ(g_views_destroyed.size(), 4u);
    EXPECT_EQ(g_views_destroyed.back(), dlg);
    EXPECT_FALSE(IsMenu(bar));  // a window's bar goes with it
    EXPECT_FALSE(IsMenu(sub));
}

}  // namespace

TEST_F(WindowTest, MinimisingFromTheUserIsIconicAndSendsSize) {
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    g_received.clear();
    platform_user_minimized(dlg, true);
    EXPECT_TRUE(IsIconic(dlg));
    platform_user_minimized(dlg, true);  // no change, no message
    platform_user_minimized(dlg, false);
    EXPECT_FALSE(IsIconic(dlg));
    auto sizes = received(WM_SIZE);
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0].msg.code, static_cast<int>(SIZE_MINIMIZED));
    EXPECT_EQ(sizes[1].msg.code, static_cast<int>(SIZE_RESTORED));
    EXPECT_EQ(sizes[1].msg.cx, GetClientRect(dlg).right);
}

TEST_F(WindowTest, ReadOnlyPanelsFromTemplatesRefuseTheUserButNotTheProgram) {
    DialogTemplate t = small_template();
    t.controls[2].style |= ES_READONLY;
    HWND dlg = CreateDialogIndirect(t, {}, RecordingProc);
    HWND re = GetDlgItem(dlg, 103);
    headless_type(re, u"abc");
    EXPECT_EQ(RE_GetTextW(re), u"");
    RE_SetTextW(re, u"set by the program");
    EXPECT_EQ(RE_GetTextW(re), u"set by the program");
}
