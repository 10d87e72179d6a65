// A long look-up text (a selected text, a click in a long run of letters) gets no suggestion search,
// from the generators and from every panel that looks a selection up; a short misspelling does.
#include "spelling/spell_state.h"
#include "spelling/suggest_bg.h"
#include "spelling/suggest_en.h"
#include "text_windows_fixture.h"
#include "windows/bgtext_window.h"
#include "windows/machine_window.h"

namespace {

using LongLookUp = TextWindowsTest;

// The report after the user's selection `sel` in `panel` (a click: the mouse button's release).
std::string look_up(HWND panel, std::u16string_view text, CHARRANGE sel) {
    const bool by_selection = panel == hBigReRight || panel == hBigReBot;
    const DWORD mask = RE_SetEventMask(panel, 0);
    RE_SetTextW(panel, text);
    RE_SetSel(panel, by_selection ? CHARRANGE{0, 0} : sel);
    RE_SetEventMask(panel, mask);
    if (by_selection) platform_user_selected(panel, sel);
    else headless_mouse(panel, WM_LBUTTONUP, POINT{1, 1});
    return RE_GetTextEx(hBigReLeft, CP_1251);
}

TEST_F(LongLookUp, ALongTextIsNotSearchedAndAShortMisspellingGetsItsSuggestions) {
    ASSERT_TRUE(open_bgtext_window() && open_machine_window());
    PL_SendCommand(hBig, IDC_BIG_INFO);
    std::u16string prose, word, bulgarian, hyphens = u" " + std::u16string(150'000, u'-') + u"accidnet";
    while (prose.size() < 600'000) prose += u"the accidnet was actually able to add ";
    while (word.size() < 600'000) word += u"accidentally";
    while (bulgarian.size() < 200'000) bulgarian += u"автобус-";
    const std::string prose8 = utf16_to_cp1251(prose.substr(0, prose.size() - 1)), word8 = utf16_to_cp1251(word),
                      bus = cp("автобус");
    const struct {
        Suggestions (*generator)(std::string_view);
        std::string text;
        const char* suggestion;  // nullptr: none at all
    } words[] = {{spellcheck, prose8, nullptr}, {spellcheck, word8, nullptr}, {spellcheck, "accidnet", "accident"},
                 {spellcheck_bg, utf16_to_cp1251(bulgarian), nullptr}, {spellcheck_bg, cp("автбус"), bus.c_str()}};
    for (const auto& w : words) {
        const Suggestions sg = w.generator(w.text);
        EXPECT_TRUE(w.suggestion ? sg.spelling_sh.find(w.suggestion) != std::string::npos : sg.spelling_sh.empty());
    }
    const struct {
        HWND panel;
        std::u16string_view text;
        CHARRANGE sel;
        std::string head;        // the report's first line: the text looked up
        const char* suggestion;  // nullptr: none at all
    } looks[] = {
        {hBigReRight, prose, {0, -1}, prose8, nullptr},        {hBigReRight, word, {300, 300}, word8, nullptr},
        {hBigReRight, hyphens, {9, 9}, "accidnet", "accident"}, {hBigReBot, prose, {0, -1}, prose8, nullptr},
        {hInfoReTop, prose, {0, -1}, prose8, nullptr},         {hInfoReTop, u"accidnet", {2, 2}, "accidnet", "accident"},
        {hBgTextRe, prose, {0, -1}, prose8, nullptr},          {hMachineRe, prose, {0, -1}, prose8, nullptr},
    };
    for (const auto& l : looks) {
        const std::string out = look_up(l.panel, l.text, l.sel);
        EXPECT_TRUE(out.substr(0, out.find('\r')) == l.head) << l.head.substr(0, 20);
        EXPECT_EQ(out.find(l.suggestion ? l.suggestion : " -> ") != std::string::npos, l.suggestion != nullptr);
    }
}

}  // namespace
