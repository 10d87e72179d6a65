// The find-and-replace window over the checker's right panel: Find Next forward and backward with
// whole words, case and Cyrillic case; Replace; Replace all with its count and its question; the
// window opened from the checker and from nowhere.
#include "text_windows_fixture.h"

namespace {

using FindReplace = TextWindowsTest;

TEST_F(FindReplace, FindNextWalksTheMatchesInBothDirections) {
    struct Case {
        const char* name;
        std::u16string find;
        bool whole, match_case, up;
        LONG caret;
        std::vector<LONG> starts;  // the matches one Find Next after another selects; -1: not found
    };
    // 0    5    10   15   20   25
    // Cat cat concat CAT котка Котка
    const std::vector<Case> cases{
        {"down", u"cat", false, false, false, 0, {0, 4, 11, 15, -1}},
        {"down from the caret", u"cat", false, false, false, 5, {11, 15, -1}},
        {"whole words", u"cat", true, false, false, 0, {0, 4, 15, -1}},
        {"match case", u"cat", false, true, false, 0, {4, 11, -1}},
        {"up", u"cat", false, false, true, 30, {15, 11, 4, 0, -1}},
        {"up, whole, case", u"CAT", true, true, true, 30, {15, -1}},
        {"Cyrillic case folded", u"КОТКА", false, false, false, 0, {19, 25, -1}},
        {"Cyrillic case kept", u"Котка", false, true, false, 0, {25, -1}},
        {"longer than the text", std::u16string(40, u'c'), false, false, false, 0, {-1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set_right(u"Cat cat concat CAT котка Котка");
        find_setup(c.find, u"", c.whole, c.match_case, c.up);
        RE_SetSel(hBigReRight, CHARRANGE{c.caret, c.caret});
        for (LONG start : c.starts) {
            headless_click(hRepl, IDC_REPL_FIND_NEXT);
            if (start < 0) {
                EXPECT_EQ(gl_repl_start, 0);
                EXPECT_EQ(label(hRepl, IDC_REPL_RE_LAB), c.up ? u"Нагоре не е намерено." : u"Надолу не е намерено.");
            } else {
                const LONG end = start + static_cast<LONG>(c.find.size());
                EXPECT_EQ(RE_GetSel(hBigReRight), (CHARRANGE{start, end}));
                EXPECT_EQ(gl_repl_start, c.up ? start : end);
                EXPECT_EQ(label(hRepl, IDC_REPL_RE_LAB).substr(0, 9 + std::to_string(start).size()),
                          utf8_to_utf16("позиция: " + std::to_string(start)));
            }
        }
    }
}

TEST_F(FindReplace, TheLabelGivesTheWordNumberAndTheMatchIsShownWithTenLinesAboveIt) {
    type_right(u"The dog is good and the dog is old");  // a run fills token store R
    find_setup(u"good", u"");
    RE_SetSel(hBigReRight, CHARRANGE{0, 0});
    headless_click(hRepl, IDC_REPL_FIND_NEXT);
    EXPECT_EQ(label(hRepl, IDC_REPL_RE_LAB), u"позиция: 11 дума: 3");
    set_right(std::u16string(30, u'\r') + u"good");
    RE_SetSel(hBigReRight, CHARRANGE{0, 0});
    headless_click(hRepl, IDC_REPL_FIND_NEXT);
    EXPECT_EQ(RE_GetFirstVisibleLine(hBigReRight), 20);
}

TEST_F(FindReplace, ReplaceTakesOnlyASelectionEqualToTheFindText) {
    struct Case {
        const char* name;
        bool match_case;
        std::u16string after;
    };
    for (const Case& c : {Case{"case kept", true, u"Dog dog"}, Case{"case folded", false, u"cat dog"}}) {
        SCOPED_TRACE(c.name);
        set_right(u"Dog dog");
        RE_SetEventMask(hBigReRight, 0);
        find_setup(u"dog", u"cat", false, c.match_case);
        RE_SetSel(hBigReRight, CHARRANGE{0, 3});
        gl_repl_start = 3;
        headless_click(hRepl, IDC_REPL_REPLACE);
        EXPECT_EQ(right(), c.after);
        EXPECT_EQ(RE_GetSelText(hBigReRight), u"dog");  // the next match
        // A replacement leaves the panel telling its changes.
        EXPECT_EQ((RE_GetEventMask(hBigReRight) & ENM_CHANGE) != 0, !c.match_case);
    }
    // A bare caret is no match, even for an empty find text.
    set_right(u"dog");
    find_setup(u"", u"cat");
    RE_SetSel(hBigReRight, CHARRANGE{1, 1});
    headless_click(hRepl, IDC_REPL_REPLACE);
    EXPECT_EQ(right(), u"dog");
}

TEST_F(FindReplace, ReplaceAllCountsAndNeverSearchesWhatItPutIn) {
    struct Case {
        const char* name;
        bool up;
        LONG caret;
        std::vector<int> answers;
        std::u16string after;
        std::u16string label;
        std::size_t boxes;
    };
    const std::u16string text = u"cat Cat cat";
    const std::vector<Case> cases{
        {"down from the start", false, 0, {}, u"concat concat concat", u"Брой замени от позиция 0 до края:  3", 0},
        {"up from the end", true, 11, {}, u"concat concat concat", u"Брой замени от позиция 11 до началото:  3", 1},
        {"down from the middle, no", false, 4, {IDNO}, u"cat concat concat", u"Брой замени от позиция 4 до края:  2", 1},
        {"down from the middle, yes", false, 4, {IDYES}, u"concat concat concat",
         u"Брой замени в останалата част от текста:  1", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set_right(text);
        RE_SetEventMask(hBigReRight, 0x041A0011);
        find_setup(u"cat", u"concat", false, false, c.up);
        RE_SetSel(hBigReRight, CHARRANGE{c.caret, c.caret});
        hs->message_boxes.clear();
        hs->message_box_answers.assign(c.answers.begin(), c.answers.end());
        const int before = runs();
        headless_click(hRepl, IDC_REPL_ALL);
        EXPECT_EQ(right(), c.after);
        EXPECT_EQ(label(hRepl, IDC_REPL_RE_LAB), c.label);
        EXPECT_EQ(hs->message_boxes.size(), c.boxes);
        EXPECT_EQ(RE_GetEventMask(hBigReRight), 0x041A0011u);
        EXPECT_EQ(runs(), before);  // the replacements start no run
        if (c.up) {
            EXPECT_EQ(hs->message_boxes.at(0).caption, u"Done!");
        }
        ASSERT_TRUE(RE_CanUndo(hBigReRight));
        RE_Undo(hBigReRight);
        if (c.answers.empty() || c.answers[0] == IDNO) {
            EXPECT_EQ(right(), text);
        }
    }
    // An empty find text replaces nothing and counts 0.
    set_right(text);
    find_setup(u"", u"x");
    RE_SetSel(hBigReRight, CHARRANGE{0, 0});
    headless_click(hRepl, IDC_REPL_ALL);
    EXPECT_EQ(right(), text);
    EXPECT_EQ(label(hRepl, IDC_REPL_RE_LAB), u"Брой замени от позиция 0 до края:  0");
}

TEST_F(FindReplace, ReplaceAllKeepsTheColoursOfTheTextAroundAndGivesEachReplacementItsMatchesFormat) {
    set_right(u"ab ab ab");
    RE_SetEventMask(hBigReRight, 0);
    RE_SetSel(hBigReRight, CHARRANGE{4, 5});
    CHARFORMAT2W red;
    red.dwMask = CFM_COLOR;
    red.crTextColor = 0x0000FF;
    RE_SetCharFormat(hBigReRight, SCF_SELECTION, red);
    find_setup(u"b", u"xyz");
    RE_SetSel(hBigReRight, CHARRANGE{0, 0});
    headless_click(hRepl, IDC_REPL_ALL);
    EXPECT_EQ(right(), u"axyz axyz axyz");
    for (LONG p : {0L, 3L, 5L, 9L, 12L}) EXPECT_NE(RE_GetCharFormatAt(hBigReRight, p).crTextColor, 0x0000FFu) << p;
    for (LONG p : {6L, 7L, 8L}) EXPECT_EQ(RE_GetCharFormatAt(hBigReRight, p).crTextColor, 0x0000FFu) << p;
}

TEST_F(FindReplace, TheCheckerOpensOneWindowWithItsSelectionAndWithoutItNothingIsFound) {
    set_right(u"The dog is good");
    RE_SetSel(hBigReRight, CHARRANGE{4, 7});
    SendCommand(hBig, IDC_BIG_FIND_REPLACE);
    const HWND first = hRepl;
    ASSERT_TRUE(IsWindow(first));
    EXPECT_EQ(GetWindowTextW(hRepl), u"Търсене");
    EXPECT_EQ(GetParent(hRepl), hBig);
    EXPECT_EQ(RE_GetTextW(hReplReFind), u"dog");
    EXPECT_EQ(GetFocus(), hReplReFind);
    const RECT r = GetWindowRect(hRepl);
    EXPECT_EQ((POINT{r.left, r.top}), (POINT{770, 400}));
    SetWindowPos(hRepl, HWND{}, 100, 100, 0, 0, SWP_NOSIZE);
    SendCommand(hBig, IDC_BIG_FIND_REPLACE);
    EXPECT_EQ(hRepl, first);
    EXPECT_EQ(GetWindowRect(hRepl).left, 100);
    headless_click(hRepl, IDC_REPL_CANCEL);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(hRepl);
    // Without the checker the find window reports and changes nothing.
    DestroyWindow(hBig);
    ASSERT_TRUE(open_find_replace_window(HWND{}));
    RE_SetTextW(hReplReFind, u"dog");
    headless_click(hRepl, IDC_REPL_FIND_NEXT);
    EXPECT_EQ(label(hRepl, IDC_REPL_RE_LAB), u"Надолу не е намерено.");
}

}  // namespace
