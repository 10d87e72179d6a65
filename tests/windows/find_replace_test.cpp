// The find-and-replace window over the checker's right panel: Find Next both ways with whole
// words, case and Cyrillic case; Replace; Replace all with its count and question; the opening.
#include "text_windows_fixture.h"

namespace {

using FindReplace = TextWindowsTest;

TEST_F(FindReplace, FindNextWalksTheMatchesInBothDirections) {
    struct Case {
        std::u16string find;
        bool whole, match_case, up;
        LONG caret;
        std::vector<LONG> starts;  // the matches of one Find Next after another; -1: not found
    };
    // 0    5    10   15   20   25
    // Cat cat concat CAT котка Котка
    for (const Case& c : std::vector<Case>{{u"cat", false, false, false, 0, {0, 4, 11, 15, -1}},
                                           {u"cat", false, false, false, 5, {11, 15, -1}},
                                           {u"cat", true, false, false, 0, {0, 4, 15, -1}},
                                           {u"cat", false, true, false, 0, {4, 11, -1}},
                                           {u"cat", false, false, true, 30, {15, 11, 4, 0, -1}},
                                           {u"CAT", true, true, true, 30, {15, -1}},
                                           {u"КОТКА", false, false, false, 0, {19, 25, -1}},
                                           {u"Котка", false, true, false, 0, {25, -1}},
                                           {std::u16string(40, u'c'), false, false, false, 0, {-1}}}) {
        SCOPED_TRACE(utf16_to_utf8(c.find) + " from " + std::to_string(c.caret));
        set_right(u"Cat cat concat CAT котка Котка");
        find_setup(c.find, u"", c.whole, c.match_case, c.up);
        RE_SetSel(hBigReRight, CHARRANGE{c.caret, c.caret});
        for (LONG start : c.starts) {
            headless_click(hRepl, IDC_REPL_FIND_NEXT);
            const LONG end = start + static_cast<LONG>(c.find.size());
            EXPECT_EQ(gl_repl_start, start < 0 ? 0 : (c.up ? start : end));
            if (start >= 0) {
                EXPECT_EQ(RE_GetSel(hBigReRight), (CHARRANGE{start, end}));
            }
        }
        EXPECT_EQ(label(hRepl, IDC_REPL_RE_LAB), c.up ? u"Нагоре не е намерено." : u"Надолу не е намерено.");
    }
}

TEST_F(FindReplace, TheLabelGivesTheWordNumberAndTheMatchHasTenLinesAboveIt) {
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
    for (bool match_case : {true, false}) {
        set_right(u"Dog dog");
        RE_SetEventMask(hBigReRight, 0);
        find_setup(u"dog", u"cat", false, match_case);
        RE_SetSel(hBigReRight, CHARRANGE{0, 3});
        gl_repl_start = 3;
        headless_click(hRepl, IDC_REPL_REPLACE);
        EXPECT_EQ(right(), match_case ? u"Dog dog" : u"cat dog");
        EXPECT_EQ(RE_GetSelText(hBigReRight), u"dog");  // the next match
        EXPECT_EQ((RE_GetEventMask(hBigReRight) & ENM_CHANGE) != 0, !match_case);
    }
    // A bare caret is no match, even for an empty find text.
    find_setup(u"", u"cat");
    RE_SetSel(hBigReRight, CHARRANGE{1, 1});
    headless_click(hRepl, IDC_REPL_REPLACE);
    EXPECT_EQ(right(), u"cat dog");
}

TEST_F(FindReplace, ReplaceAllCountsAndNeverSearchesWhatItPutIn) {
    struct Case {
        bool up;
        LONG caret;
        int answer;  // 0: no question
        std::u16string after, label;
        std::size_t boxes;
    };
    const std::u16string text = u"cat Cat cat";
    for (const Case& c :
         std::vector<Case>{{false, 0, 0, u"concat concat concat", u"Брой замени от позиция 0 до края:  3", 0},
                           {true, 11, 0, u"concat concat concat", u"Брой замени от позиция 11 до началото:  3", 1},
                           {false, 4, IDNO, u"cat concat concat", u"Брой замени от позиция 4 до края:  2", 1},
                           {false, 4, IDYES, u"concat concat concat",
                            u"Брой замени в останалата част от текста:  1", 2}}) {
        SCOPED_TRACE(utf16_to_utf8(c.label));
        set_right(text);
        RE_SetEventMask(hBigReRight, 0x041A0011);
        find_setup(u"cat", u"concat", false, false, c.up);
        RE_SetSel(hBigReRight, CHARRANGE{c.caret, c.caret});
        hs->message_boxes.clear();
        if (c.answer) hs->message_box_answers.push_back(c.answer);
        const int before = runs();
        headless_click(hRepl, IDC_REPL_ALL);
        EXPECT_EQ(right(), c.after);
        EXPECT_EQ(label(hRepl, IDC_REPL_RE_LAB), c.label);
        ASSERT_EQ(hs->message_boxes.size(), c.boxes);
        if (c.up) {
            EXPECT_EQ(hs->message_boxes[0].caption, u"Done!");
        }
        EXPECT_EQ(RE_GetEventMask(hBigReRight), 0x041A0011u);
        EXPECT_EQ(runs(), before);  // the replacements start no run
        EXPECT_TRUE(RE_Undo(hBigReRight));
    }
    set_right(text);
    find_setup(u"", u"x");  // an empty find text replaces nothing
    RE_SetSel(hBigReRight, CHARRANGE{0, 0});
    headless_click(hRepl, IDC_REPL_ALL);
    EXPECT_EQ(right(), text);
    EXPECT_EQ(label(hRepl, IDC_REPL_RE_LAB), u"Брой замени от позиция 0 до края:  0");
}

TEST_F(FindReplace, ReplaceAllRightAfterFindNextReplacesTheSelectedMatchToo) {
    for (bool up : {false, true}) {
        SCOPED_TRACE(up ? "up" : "down");
        set_right(u"cat cat");
        find_setup(u"cat", u"dog", false, false, up);
        RE_SetSel(hBigReRight, up ? CHARRANGE{7, 7} : CHARRANGE{0, 0});
        headless_click(hRepl, IDC_REPL_FIND_NEXT);
        ASSERT_EQ(RE_GetSel(hBigReRight), up ? (CHARRANGE{4, 7}) : (CHARRANGE{0, 3}));
        hs->message_boxes.clear();
        headless_click(hRepl, IDC_REPL_ALL);
        EXPECT_EQ(right(), u"dog dog");
        EXPECT_EQ(label(hRepl, IDC_REPL_RE_LAB),
                  up ? u"Брой замени от позиция 4 до началото:  2" : u"Брой замени от позиция 0 до края:  2");
        EXPECT_EQ(hs->message_boxes.size(), up ? 1u : 0u);  // down from 0: no question
    }
}

TEST_F(FindReplace, TheCheckerOpensOneWindowWithItsSelectionAndWithoutItNothingIsFound) {
    set_right(u"The dog is good");
    RE_SetSel(hBigReRight, CHARRANGE{4, 7});
    PL_SendCommand(hBig, IDC_BIG_FIND_REPLACE);
    const HWND first = hRepl;
    ASSERT_TRUE(IsWindow(first));
    EXPECT_EQ(GetWindowTextW(hRepl), u"Търсене");
    EXPECT_EQ(RE_GetTextW(hReplReFind), u"dog");
    EXPECT_EQ(GetFocus(), hReplReFind);
    EXPECT_EQ(GetWindowRect(hRepl).left, 770);
    SetWindowPos(hRepl, HWND{}, 100, 100, 0, 0, SWP_NOSIZE);
    PL_SendCommand(hBig, IDC_BIG_FIND_REPLACE);
    EXPECT_EQ(hRepl, first);
    EXPECT_EQ(GetWindowRect(hRepl).left, 100);
    headless_click(hRepl, IDC_REPL_CANCEL);
    EXPECT_FALSE(hRepl);
    DestroyWindow(hBig);
    ASSERT_TRUE(open_find_replace_window(HWND{}));
    RE_SetTextW(hReplReFind, u"dog");
    headless_click(hRepl, IDC_REPL_FIND_NEXT);
    EXPECT_EQ(label(hRepl, IDC_REPL_RE_LAB), u"Надолу не е намерено.");
}

}  // namespace
