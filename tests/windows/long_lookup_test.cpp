// A look-up of a long text - a whole selected text, one click in a long run of letters - gets no
// suggestion search, from the generators themselves and from every panel that looks a selection
// up, while a misspelt word of normal length still gets its suggestions.
#include <functional>

#include "lexicon/display.h"
#include "spelling/spell_state.h"
#include "spelling/suffix_en.h"
#include "spelling/suggest_bg.h"
#include "spelling/suggest_en.h"
#include "text_windows_fixture.h"
#include "windows/bgtext_window.h"
#include "windows/machine_window.h"

namespace {

using LongLookUp = TextWindowsTest;

std::u16string repeated(std::u16string_view piece, std::size_t length) {
    std::u16string s;
    while (s.size() < length) s += piece;
    return s;
}

// The selection `sel` of `panel` made by the user (a click: the mouse button's release), and the
// report panel's first line and whole text after the look-up.
std::string look_up(HWND panel, std::u16string_view text, CHARRANGE sel) {
    reset_caret_lookup();
    const DWORD mask = RE_SetEventMask(panel, 0);
    RE_LimitText(panel, 1 << 30);
    RE_SetTextW(panel, text);
    const bool by_selection = panel == hBigReRight || panel == hBigReBot;
    RE_SetSel(panel, by_selection ? CHARRANGE{0, 0} : sel);
    RE_SetEventMask(panel, mask);
    if (by_selection) platform_user_selected(panel, sel);
    else headless_mouse(panel, WM_LBUTTONUP, POINT{1, 1});
    return RE_GetTextEx(hBigReLeft, CP_1251);
}

TEST_F(LongLookUp, ALongTextIsNotSearchedAndAShortMisspellingGetsItsSuggestions) {
    ASSERT_TRUE(open_bgtext_window());
    ASSERT_TRUE(open_machine_window());
    PL_SendCommand(hBig, IDC_BIG_INFO);
    ASSERT_TRUE(IsWindow(hInfoReTop));
    const std::u16string prose = repeated(u"the accidnet was actually able to add ", 600'000);
    const std::u16string word = repeated(u"accidentally", 600'000);
    const std::u16string hyphens = u" " + std::u16string(150'000, u'-') + u"accidnet";
    const std::string prose8 = utf16_to_cp1251(prose.substr(0, prose.size() - 1)), word8 = utf16_to_cp1251(word);
    const std::string bulgarian = utf16_to_cp1251(repeated(u"автобус-", 600'000));
    auto english = [](const std::string& w) {
        spellcheck(w);
        return spelling_sh;
    };
    const struct {
        const char* what;
        std::function<std::string()> run;
        std::string head;        // the report's first line ("" : a generator's short list)
        const char* suggestion;  // in the report or short list; nullptr: no suggestion at all
    } cases[] = {
        {"spellcheck, long", [&] { return english(prose8); }, "", nullptr},
        {"spellcheck, one word", [&] { return english(word8); }, "", nullptr},
        {"spellcheck, short", [&] { return english("accidnet"); }, "", "accident"},
        {"spellcheck_bg, long", [&] { spellcheck_bg(bulgarian); return spelling_sh; }, "", nullptr},
        {"spellcheck_bg, short", [&] { spellcheck_bg(utf16_to_cp1251(u"автбус")); return spelling_sh; }, "",
         "\xe0\xe2\xf2\xee\xe1\xf3\xf1"},
        {"issuffix, long",
         [&] {
             std::string stem, suffix;
             return issuffix(word8 + "s", stem, suffix, nullptr) ? stem : std::string();
         },
         "", nullptr},
        {"right, all", [&] { return look_up(hBigReRight, prose, CHARRANGE{0, -1}); }, prose8, nullptr},
        {"right, click in a word", [&] { return look_up(hBigReRight, word, CHARRANGE{300, 300}); }, word8, nullptr},
        {"right, click in hyphens", [&] { return look_up(hBigReRight, hyphens, CHARRANGE{9, 9}); }, "accidnet",
         "accident"},
        {"right, short", [&] { return look_up(hBigReRight, u"an accidnet here", CHARRANGE{5, 5}); }, "accidnet",
         "accident"},
        {"bottom, all", [&] { return look_up(hBigReBot, prose, CHARRANGE{0, -1}); }, prose8, nullptr},
        {"info, all", [&] { return look_up(hInfoReTop, prose, CHARRANGE{0, -1}); }, prose8, nullptr},
        {"info, short", [&] { return look_up(hInfoReTop, u"accidnet", CHARRANGE{2, 2}); }, "accidnet", "accident"},
        {"Bulgarian text, all", [&] { return look_up(hBgTextRe, prose, CHARRANGE{0, -1}); }, prose8, nullptr},
        {"machine, all", [&] { return look_up(hMachineRe, prose, CHARRANGE{0, -1}); }, prose8, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string out = c.run();
        if (!c.head.empty()) {
            EXPECT_TRUE(out.substr(0, out.find('\r')) == c.head) << "[" << out.substr(0, 80) << "]";
        }
        if (c.suggestion) {
            EXPECT_NE(out.find(c.suggestion), std::string::npos) << out.substr(0, 200);
        } else if (c.head.empty()) {
            EXPECT_EQ(out, "");
        } else {
            EXPECT_EQ(out.find(" -> "), std::string::npos) << out.substr(0, 200);
        }
    }
}

}  // namespace
