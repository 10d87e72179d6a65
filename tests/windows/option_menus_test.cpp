// The check items of the text-checker window's option menus: each click flips the mark and the
// flag together; 9258 also keeps its flag for the translation modes and lays the window out; the
// pronunciation items that are not offered change nothing.
#include "checker_fixture.h"

namespace {

using OptionMenus = CheckerTest;

HMENU menu_holding(UINT id) {
    for (HMENU m : {hMenuPopupSetEngS, hMenuPopupSetAudioS, hMenuSetS})
        if (m && GetMenuState(m, id, MF_BYCOMMAND) != -1) return m;
    return HMENU{};
}

bool marked(UINT id) { return (GetMenuState(menu_holding(id), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

TEST_F(OptionMenus, EveryCheckItemFlipsItsMarkAndFlagAndTwoClicksLeaveThem) {
    open(1, 1);
    int items = 0;
    for (auto table : {checker_options_items(), checker_english_items(), checker_audio_items()})
        for (const CheckerMenuItem& it : table) {
            if (it.id == 0) continue;
            SCOPED_TRACE(it.id);
            ++items;
            ASSERT_NE(it.flag, nullptr);
            const std::int8_t start = *it.flag;
            EXPECT_EQ(marked(it.id), start != 0);
            headless_menu(hBig, it.id);
            EXPECT_EQ(*it.flag, start ? 0 : 1);
            EXPECT_EQ(marked(it.id), start == 0);
            EXPECT_EQ(GetFocus(), hBigReRight);
            headless_menu(hBig, it.id);
            EXPECT_EQ(*it.flag, start);
            EXPECT_EQ(marked(it.id), start != 0);
        }
    EXPECT_EQ(items, 56);
}

TEST_F(OptionMenus, InfoInTheBottomPanelKeepsItsFlagAndLaysTheWindowOut) {
    open();
    headless_resize(hBig, 1000, 700);
    const int right_height = GetWindowRect(hBigReRight).height();
    headless_menu(hBig, IDM_BIG_PRINT_DOWN);
    EXPECT_EQ(gl_PRINT_DOWN, 1);
    EXPECT_EQ(gl_PRINT_DOWN_save, 1);
    EXPECT_EQ(right_height, 567);
    EXPECT_EQ(GetWindowRect(hBigReRight).height(), 488);
    headless_menu(hBig, IDM_BIG_PRINT_DOWN);
    EXPECT_EQ(gl_PRINT_DOWN_save, 0);
    EXPECT_EQ(GetWindowRect(hBigReRight).height(), 567);
}

TEST_F(OptionMenus, PronunciationItemsNotOfferedChangeNothing) {
    open();  // no audio index
    const std::int8_t talking = gl_TALKING_MODE, repeat = gl_AUDIO_REPEAT;
    for (UINT id : {9252u, 9253u, 9281u}) PL_SendCommand(hBig, static_cast<int>(id));
    EXPECT_EQ(gl_TALKING_MODE, talking);
    EXPECT_EQ(gl_AUDIO_REPEAT, repeat);
}

}  // namespace
