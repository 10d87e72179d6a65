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
    // "Опции" with both submenus: 28 items of its own, 16 of "Английски списък", 12 of "Изговаряне".
    int commands = 0;
    for (HMENU m : {hMenuSetS, hMenuPopupSetEngS, hMenuPopupSetAudioS})
        for (int i = 0; i < GetMenuItemCount(m); ++i) commands += !GetSubMenu(m, i) && GetMenuItemID(m, i) != 0xFFFFFFFFu;
    EXPECT_EQ(commands, 56);
    // A sample across the three menus: the item's text and the flag its mark mirrors.
    const struct {
        UINT id;
        std::u16string_view text;
        std::int8_t* flag;
    } items[] = {
        {9247, u"Търси пунктуационни грешки", &gl_CHECK_PUNCTUATION},
        {9230, u"Търси всички потенциално разделени думи", &gl_LOOSE_SPLIT},
        {9233, u"Търси \"по \" (сравнителна степен без тире)", &gl_FIND_PO_NAI},
        {9232, u"Търси ш -> щ (глагол вместо причастие)", &gl_FIND_SH_SHT},
        {9237, u"Търси съседни съществителни (обикновено не е грешка)", &gl_FIND_TWO_NOUNS},
        {9240, u"Режим роман", &gl_NOVEL_MODE},
        {9250, u"Различавай малки и главни букви", &gl_TREAT_AS_UNKNOWN_CASE},
        {9261, u"Изключвай опцията \"Клипборд\" след всяко копиране", &gl_AUTO_CLIPBOARD_DISLABLE},
        {9241, u"Генерирай коригиран OCR файл", &gl_AUTO_OCR},
        {9252, u"Произнасяй избраните думи (говорещ речник)", &gl_TALKING_MODE},
        {9254, u"Произнасяй българския превод след английската дума", &gl_AUDIO_BG_AFTER_EN},
        {9257, u"Лог на корекциите (във файл LOG_)", &gl_SPELL_CHECKER_LOG},
        {9259, u"Веднъж", &gl_SHOW_ONCE},
        {9262, u"Честотен списък на всички думи, не само на непознатите", &gl_ENGLIST_ALL},
        {9269, u"Само липсващите думи от разширения английски списък (eng2)", &gl_ENGLIST_MISSING_RANK2},
        {9270, u"Само трудните думи", &gl_ENGLIST_HARD},
        {9271, u"Формата без апострофа ('s 'd 'll 've 're)", &gl_ENGLIST_SKIP_APOS1},
        {9276, u"Генерирай файл вместо списък в левия панел", &gl_ENGLIST_GENARATE_FILE},
        {9278, u"Генерирай текстов речник (_date.txt) без Ogg файлове", &gl_AUDIO_TEXT_ONLY},
        {9284, u"Ogg файлове с индекс и ранг в края на името", &gl_AUDIO_OGG_INDEX_END},
        {9282, u"Нелатински думи", &gl_AUDIO_NOLATIN},
        {9280, u"Не изговаряй думите от файла b_audio_skip.txt", &gl_AUDIO_SKIP},
        {9255, u"Удължи думата (добавя пауза в края)", &gl_AUDIO_MAKE_LONG},
    };
    for (const auto& it : items) {
        SCOPED_TRACE(it.id);
        const HMENU menu = menu_holding(it.id);
        ASSERT_TRUE(menu);
        EXPECT_EQ(PL_GetMenuItemText(menu, it.id, MF_BYCOMMAND), it.text);
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
