// Menus built at run time, popup menus answered from the headless queue, menu-bar commands and
// accelerators.
#include "dialog_fixture.h"
#include "platform/backend.h"

namespace {

using MenuTest = PlatformTest;

TEST_F(MenuTest, ItemsCarryChecksGreysBreaksAndSubmenus) {
    HMENU bar = CreateMenu();
    HMENU opts = CreatePopupMenu();
    HMENU eng = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuW(opts, MF_STRING | MF_CHECKED, 9247, u"Търси"));
    ASSERT_TRUE(AppendMenuW(opts, MF_SEPARATOR, 0));
    ASSERT_TRUE(AppendMenuW(opts, MF_STRING | MF_GRAYED, 9240, u"Режим роман"));
    ASSERT_TRUE(AppendMenuW(opts, MF_STRING | MF_MENUBARBREAK, 9248, u"Нова колона"));
    ASSERT_TRUE(AppendMenuW(eng, MF_STRING | MF_MENUBREAK, 9262, u"Честотен"));
    ASSERT_TRUE(AppendSubMenu(opts, eng, u"Английски списък"));
    ASSERT_TRUE(AppendSubMenu(bar, opts, u"Опции"));
    EXPECT_TRUE(platform_menu(bar)->is_bar);
    EXPECT_FALSE(platform_menu(opts)->is_bar);

    EXPECT_EQ(GetMenuItemCount(opts), 5);
    EXPECT_EQ(GetMenuState(bar, 9247, MF_BYCOMMAND), static_cast<int>(MF_CHECKED));
    EXPECT_EQ(GetMenuState(opts, 2, MF_BYPOSITION), static_cast<int>(MF_GRAYED));
    EXPECT_EQ(GetMenuState(opts, 9248, MF_BYCOMMAND), static_cast<int>(MF_MENUBARBREAK));
    EXPECT_EQ(GetMenuState(bar, 9262, MF_BYCOMMAND), static_cast<int>(MF_MENUBREAK));  // found below
    EXPECT_EQ(GetMenuState(opts, 1, MF_BYPOSITION), static_cast<int>(MF_SEPARATOR));
    EXPECT_EQ(GetMenuState(opts, 77, MF_BYCOMMAND), -1);
    EXPECT_EQ(GetMenuItemID(opts, 0), 9247u);
    EXPECT_EQ(GetMenuItemID(opts, 1), 0xFFFFFFFFu);  // separator
    EXPECT_EQ(GetMenuItemID(opts, 4), 0xFFFFFFFFu);  // submenu
    EXPECT_EQ(GetSubMenu(opts, 4), eng);
    EXPECT_EQ(GetSubMenu(bar, 0), opts);

    // Check, grey and relabel return or keep the earlier state.
    EXPECT_EQ(CheckMenuItem(bar, 9247, MF_UNCHECKED), static_cast<int>(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(bar, 9247, MF_CHECKED), static_cast<int>(MF_UNCHECKED));
    EXPECT_EQ(EnableMenuItem(opts, 9240, MF_ENABLED), static_cast<int>(MF_GRAYED));
    EXPECT_EQ(GetMenuState(opts, 9240, MF_BYCOMMAND), 0);
    EXPECT_EQ(CheckMenuItem(opts, 4242, MF_CHECKED), -1);
    EXPECT_TRUE(PL_SetMenuItemText(bar, 9262, u"Нов етикет"));
    EXPECT_EQ(PL_GetMenuItemText(eng, 0, MF_BYPOSITION), u"Нов етикет");
    EXPECT_EQ(GetMenuState(eng, 0, MF_BYPOSITION), static_cast<int>(MF_MENUBREAK));
    EXPECT_EQ(PL_GetMenuItemText(bar, 0, MF_BYPOSITION), u"Опции");

    // A menu cannot contain itself, directly or through a submenu.
    EXPECT_FALSE(AppendSubMenu(eng, opts, u"loop"));
    EXPECT_FALSE(AppendSubMenu(opts, opts, u"loop"));
    EXPECT_FALSE(AppendMenuW(opts, MF_POPUP, 12345, u"no such menu"));
}

TEST_F(MenuTest, InsertModifyDeleteAndRemove) {
    HMENU m = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    HMENU sub2 = CreatePopupMenu();
    AppendMenuW(m, MF_STRING, 1, u"one");
    AppendMenuW(m, MF_STRING, 3, u"three");
    AppendMenuW(sub, MF_STRING, 7, u"seven");
    AppendSubMenu(m, sub, u"sub");
    ASSERT_TRUE(InsertMenuW(m, 3, MF_BYCOMMAND | MF_STRING, 2, u"two"));    // before item 3
    ASSERT_TRUE(InsertMenuW(m, 0, MF_BYPOSITION | MF_STRING, 0, u"zero"));  // at the top
    ASSERT_TRUE(InsertMenuW(m, 99, MF_BYPOSITION | MF_STRING, 9, u"last"));  // past the end
    ASSERT_TRUE(InsertMenuW(m, 7, MF_BYCOMMAND | MF_STRING, 6, u"six"));    // inside the submenu
    EXPECT_FALSE(InsertMenuW(m, 55, MF_BYCOMMAND | MF_STRING, 5, u"x"));
    std::vector<std::u16string> labels;
    for (int i = 0; i < GetMenuItemCount(m); ++i) labels.push_back(PL_GetMenuItemText(m, i, MF_BYPOSITION));
    EXPECT_EQ(labels, (std::vector<std::u16string>{u"zero", u"one", u"two", u"three", u"sub", u"last"}));
    EXPECT_EQ(GetMenuItemID(sub, 0), 6u);

    ASSERT_TRUE(ModifyMenuW(m, 2, MF_BYCOMMAND | MF_STRING | MF_CHECKED, 22, u"twenty-two"));
    EXPECT_EQ(GetMenuState(m, 22, MF_BYCOMMAND), static_cast<int>(MF_CHECKED));
    EXPECT_EQ(GetMenuState(m, 2, MF_BYCOMMAND), -1);

    // Remove keeps a submenu alive, Delete destroys it, Modify over a submenu destroys it.
    AppendSubMenu(m, sub2, u"sub2");
    ASSERT_TRUE(RemoveMenu(m, 4, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(sub));
    AppendSubMenu(m, sub, u"sub again");
    ASSERT_TRUE(DeleteMenu(m, sub.id, MF_BYCOMMAND));  // a submenu is found by its handle
    EXPECT_FALSE(IsMenu(sub));
    int pos = GetMenuItemCount(m) - 1;
    EXPECT_EQ(PL_GetMenuItemText(m, static_cast<UINT>(pos), MF_BYPOSITION), u"sub2");
    ASSERT_TRUE(ModifyMenuW(m, static_cast<UINT>(pos), MF_BYPOSITION | MF_STRING, 8, u"eight"));
    EXPECT_FALSE(IsMenu(sub2));
    EXPECT_FALSE(DeleteMenu(m, 99, MF_BYPOSITION));

    // Destroying a menu destroys its submenus; calls on it then do nothing.
    HMENU inner = CreatePopupMenu();
    AppendSubMenu(m, inner, u"inner");
    EXPECT_TRUE(DestroyMenu(m));
    EXPECT_FALSE(IsMenu(inner));
    EXPECT_FALSE(AppendMenuW(m, MF_STRING, 1, u"x"));
    EXPECT_EQ(GetMenuItemCount(m), 0);
    EXPECT_EQ(CheckMenuItem(m, 1, MF_CHECKED), -1);
    EXPECT_FALSE(DestroyMenu(m));
}

TEST_F(MenuTest, ACommandInSeveralMenusIsFoundFirstDepthFirst) {
    HMENU bar = CreateMenu(), file = CreatePopupMenu(), tools = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 500, u"in file");
    AppendMenuW(tools, MF_STRING, 500, u"in tools");
    AppendSubMenu(bar, file, u"File");
    AppendSubMenu(bar, tools, u"Tools");
    CheckMenuItem(bar, 500, MF_CHECKED);
    EXPECT_EQ(GetMenuState(file, 500, MF_BYCOMMAND), static_cast<int>(MF_CHECKED));
    EXPECT_EQ(GetMenuState(tools, 500, MF_BYCOMMAND), 0);
    CheckMenuItem(tools, 500, MF_CHECKED);  // each menu can be addressed on its own
    EXPECT_EQ(GetMenuState(tools, 500, MF_BYCOMMAND), static_cast<int>(MF_CHECKED));
}

TEST_F(MenuTest, PopupChoicesComeFromTheQueueAndOnlyEnabledItemsCount) {
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HMENU popup = CreatePopupMenu(), sub = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, 8084, u"Copy");
    AppendMenuW(popup, MF_STRING | MF_GRAYED, 8100, u"Undo");
    AppendMenuW(sub, MF_STRING, 8200, u"Say");
    AppendSubMenu(popup, sub, u"More");
    hs->popup_choices = {8200, 8100, 8084, 8084};
    g_received.clear();

    EXPECT_EQ(TrackPopupMenu(popup, TPM_LEFTALIGN, 30, 40, dlg), 1);  // from the submenu
    EXPECT_EQ(TrackPopupMenu(popup, 0, 30, 40, dlg), 0);  // a greyed item chooses nothing
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 30, 40, dlg), 8084);
    auto cmds = received(WM_COMMAND);
    ASSERT_EQ(cmds.size(), 1u);  // only the first reached the owner
    EXPECT_EQ(cmds[0].msg.id, 8200);
    EXPECT_EQ(cmds[0].msg.code, 0);
    EXPECT_EQ(cmds[0].hwnd, dlg);

    ASSERT_EQ(hs->popups.size(), 3u);
    EXPECT_EQ(hs->popups[1].chosen, 0u);
    EXPECT_EQ(hs->popups[2].x, 30);
    EXPECT_EQ(hs->popups[2].y, 40);
    EXPECT_EQ(hs->popups[2].owner, dlg);
    EXPECT_EQ(hs->popups[2].menu, popup);

    // One answer is left; once it is used the queue is empty and nothing is chosen.
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, dlg), 8084);
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, dlg), 0);
    EXPECT_EQ(TrackPopupMenu(HMENU{}, 0, 0, 0, dlg), 0);
}

TEST_F(MenuTest, MenuBarCommandsReachTheWindowWhileEnabled) {
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HMENU bar = CreateMenu(), file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 9219, u"Отвори\tCtrl+O");
    AppendMenuW(file, MF_STRING | MF_GRAYED, 9220, u"Запиши");
    AppendSubMenu(bar, file, u"Файл");
    ASSERT_TRUE(SetMenu(dlg, bar));
    EXPECT_EQ(GetMenu(dlg), bar);
    EXPECT_EQ(platform_menu(bar)->attached_to, dlg);
    g_received.clear();
    headless_menu(dlg, 9219);
    headless_menu(dlg, 9220);  // greyed
    headless_menu(dlg, 4711);  // not in the bar
    auto cmds = received(WM_COMMAND);
    ASSERT_EQ(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].msg.id, 9219);
    EnableMenuItem(bar, 9220, MF_ENABLED);
    headless_menu(dlg, 9220);
    EXPECT_EQ(received(WM_COMMAND).size(), 2u);

    // A bar moved to another window leaves the first one.
    HWND other = CreateDialogIndirect(small_template(), {}, RecordingProc);
    SetMenu(other, bar);
    EXPECT_FALSE(GetMenu(dlg));
    EXPECT_EQ(GetMenu(other), bar);
    DestroyWindow(other);
    EXPECT_FALSE(IsMenu(bar));
}

TEST_F(MenuTest, AcceleratorsOfTheLoopReachTheTarget) {
    HWND main = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HACCEL table = CreateAcceleratorTableW({
        {FVIRTKEY | FCONTROL, 'F', 1241},
        {FVIRTKEY | FCONTROL | FALT | FSHIFT, VK_F9, 40052},
        {0, 'o', 9219},
    });
    ASSERT_TRUE(table);
    EXPECT_EQ(platform_accelerators(table).size(), 3u);
    EXPECT_FALSE(CreateAcceleratorTableW({}));

    bool used_outside = true;
    std::vector<bool> used;
    hs->on_loop = [&] {
        EXPECT_EQ(platform_loop_accelerators(), table);
        EXPECT_EQ(platform_loop_accelerator_target(), main);
        used.push_back(headless_key('F', FCONTROL));
        used.push_back(headless_key('F', FCONTROL | FSHIFT));  // modifiers must match exactly
        used.push_back(headless_key(VK_F9, FCONTROL | FALT | FSHIFT));
        used.push_back(headless_key('O', 0));  // a character entry, either case
        PostQuitMessage(0);
    };
    g_received.clear();
    EXPECT_EQ(PL_RunMessageLoop(table, main), 0);
    EXPECT_EQ(used, (std::vector<bool>{true, false, true, true}));
    auto cmds = received(WM_COMMAND);
    ASSERT_EQ(cmds.size(), 3u);
    EXPECT_EQ(cmds[0].msg.id, 1241);
    EXPECT_EQ(cmds[0].msg.code, 1);
    EXPECT_EQ(cmds[0].hwnd, main);
    EXPECT_EQ(cmds[1].msg.id, 40052);
    EXPECT_EQ(cmds[2].msg.id, 9219);

    // Outside the loop there is no table; a direct translation still works.
    used_outside = headless_key('F', FCONTROL);
    EXPECT_FALSE(used_outside);
    EXPECT_TRUE(TranslateAcceleratorW(main, table, 'F', FCONTROL));
    EXPECT_FALSE(TranslateAcceleratorW(HWND{}, table, 'F', FCONTROL));
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_FALSE(TranslateAcceleratorW(main, table, 'F', FCONTROL));
}

TEST_F(MenuTest, NoAcceleratorsWhilePumpingOrInAModalBox) {
    HWND main = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HACCEL table = CreateAcceleratorTableW({{FVIRTKEY | FCONTROL, 'F', 1241}});
    PL_RegisterDialogTemplate(small_template(530));
    std::vector<bool> used;
    hs->on_pump = [&] { used.push_back(headless_key('F', FCONTROL)); };
    hs->on_modal = [&](HWND) { used.push_back(headless_key('F', FCONTROL)); };
    hs->on_loop = [&] {
        PL_PumpMessages(10000);
        DialogBoxParamW(530, main, RecordingProc);
        used.push_back(headless_key('F', FCONTROL));
    };
    PL_RunMessageLoop(table, main);
    EXPECT_EQ(used, (std::vector<bool>{false, false, true}));
}

}  // namespace
