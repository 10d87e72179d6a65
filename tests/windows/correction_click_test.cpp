// Correction from the text-checker window's report panel: a click on a line of the run's own word
// list finds the word, a click on a suggestion replaces it, the last occurrence greys the entry and
// logs it; clicks on headers, past a line's end or on a number do what they should and no more.
#include <gtest/gtest.h>

#include "checker_fixture.h"
#include "lexicon/display.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "windows/correction_click.h"

namespace {

class CorrectionClick : public CheckerTest {
protected:
    // A plain click at a position of the report panel, as the user makes it.
    static void click_left(LONG pos) {
        headless_mouse(hBigReLeft, WM_LBUTTONDOWN, POINT{1, 1});
        headless_select(hBigReLeft, pos, pos);
        headless_mouse(hBigReLeft, WM_LBUTTONUP, POINT{1, 1});
    }
    // Where a text stands in a panel (the n-th time), -1 when it does not.
    static LONG at(HWND re, std::u16string_view s, int nth = 0) {
        const std::u16string text = RE_GetTextW(re);
        std::size_t p = text.find(s);
        while (nth-- > 0 && p != std::u16string::npos) p = text.find(s, p + 1);
        return p == std::u16string::npos ? -1 : static_cast<LONG>(p);
    }
    static COLORREF colour_at(HWND re, LONG pos) { return RE_GetCharFormatAt(re, pos).crTextColor; }
    static CHARRANGE right_sel() { return RE_GetSel(hBigReRight); }

    // A report line of our own, in a colour that takes clicks, over a right panel text that starts
    // no run.
    static void lines_over(std::u16string_view report, std::u16string_view text) {
        const DWORD mask = RE_SetEventMask(hBigReRight, 0);
        RE_SetTextW(hBigReRight, text);
        RE_SetSel(hBigReRight, CHARRANGE{0, 0});
        RE_SetEventMask(hBigReRight, mask);
        const DWORD left = RE_SetEventMask(hBigReLeft, ENM_MOUSEEVENTS);
        RE_SetTextW(hBigReLeft, report);
        ColorRangeOn(hBigReLeft, 0, RE_GetTextLength(hBigReLeft), CFM_COLOR, 0x007F00, 0);
        RE_SetEventMask(hBigReLeft, left);
        gl_word_start = gl_search_start = 0;
    }
};

// The run's own report lines, clicked: the contract between what the lists write and what the
// click reads.
TEST_F(CorrectionClick, TheWordListsLinesFindReplaceAndGreyTheirWord) {
    open();
    gl_SPELL_CHECKER_LOG = 1;
    type_right(u"Аз имам кнега и кнега. Тя имма книга.");
    const LONG entry = at(hBigReLeft, u"кнега  2 -> книга | снега");
    ASSERT_GE(entry, 0) << utf16_to_utf8(RE_GetTextW(hBigReLeft));

    click_left(entry + 2);  // the word: its first occurrence is selected
    EXPECT_EQ(right_sel().cpMin, 8);
    EXPECT_EQ(right_sel().cpMax, 13);
    EXPECT_EQ(gl_novstartw, u"кнега");
    EXPECT_EQ(headless().clipboard, std::u16string(u"кнега"));
    EXPECT_EQ(RE_GetTextW(hAddReShort), u"кнега");
    EXPECT_EQ(RE_GetEventMask(hBigReLeft) & ENM_SELCHANGE, 0u);

    const LONG suggestion = at(hBigReLeft, u"книга | снега") + 1;
    click_left(suggestion);  // replaced in green, the next one selected
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"Аз имам книга и кнега. Тя имма книга.");
    EXPECT_EQ(colour_at(hBigReRight, 9), kColCorrected);
    EXPECT_TRUE(RE_CanUndo(hBigReRight));
    EXPECT_EQ(right_sel().cpMin, 16);

    click_left(suggestion);  // the last one: nothing more to find
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"Аз имам книга и книга. Тя имма книга.");
    EXPECT_EQ(GetWindowTextW(hBigLabel), u"Това е последното \"кнега\" в текста. Почвате отначало.");
    EXPECT_EQ(colour_at(hBigReLeft, entry + 1), kColHandled);
    EXPECT_EQ(colour_at(hBigReLeft, suggestion + 1), kColHandled);
    EXPECT_EQ(cp1251_to_utf8(gl_log), "кнега -> книга (2 пъти)\r\n");
    EXPECT_EQ(gl_log_ct, 1);
    EXPECT_EQ(gl_log_ct2, 2);

    // Another entry searches from the top; its "no suggestions"-free line finds "имма".
    const LONG other = at(hBigReLeft, u"имма  1");
    click_left(other + 1);
    EXPECT_EQ(right_sel().cpMin, 26);
    // Its only occurrence selected and not replaced: the status says so, nothing greys or logs.
    click_left(other + 1);
    EXPECT_EQ(GetWindowTextW(hBigLabel), u"Това е последното \"имма\" в текста. Почвате отначало.");
    EXPECT_NE(colour_at(hBigReLeft, other + 1), kColHandled);
    EXPECT_EQ(gl_log_ct, 1);
    // The title, the "words found" line and a click past a line's end do nothing.
    ASSERT_GE(at(hBigReLeft, u"НЕПОЗНАТИ ДУМИ"), 0);
    for (LONG pos : {at(hBigReLeft, u"НЕПОЗНАТИ ДУМИ") + 3, LONG{3}, at(hBigReLeft, u"имам") + 4}) {
        gl_novstartw.clear();
        RE_SetSel(hBigReRight, CHARRANGE{0, 0});
        click_left(pos);
        EXPECT_EQ(gl_novstartw, u"") << pos;
        EXPECT_EQ(right_sel().cpMax, 0) << pos;
    }

    // The English list's lines take the same clicks.
    type_right(u" The hous is good.");
    const LONG english = at(hBigReLeft, u"hous -> house");
    ASSERT_GE(english, 0) << utf16_to_utf8(RE_GetTextW(hBigReLeft));
    click_left(english + 1);
    click_left(english + 10);
    EXPECT_NE(RE_GetTextW(hBigReRight).find(u"The house is good."), std::u16string::npos);
}

TEST_F(CorrectionClick, ParsedLinesAndSpecialSearches) {
    open();
    struct Case {
        std::u16string_view report, text;
        LONG column;
        CHARRANGE selected;  // in the right panel after the click
        std::u16string_view word;
    };
    const Case cases[] = {
        {u"12. dogg  3 -> dog", u"a dogg b", 6, {2, 6}, u"dogg"},              // number and count cut off
        {u"dogg -> dog", u"Dogg dogg", 1, {5, 9}, u"dogg"},                     // whole word, case kept
        {u".. -> .", u"a... b.. c", 1, {6, 8}, u".."},                         // never inside "..."
        {u"|is·a| -> is a", u"this\ra is\ra b", 2, {7, 11}, u"is\ra"},         // phrase over a line break
        {u"no arrow here", u"x no arrow here", 3, {2, 15}, u"no arrow here"},  // the whole line is the word
    };
    for (const Case& c : cases) {
        lines_over(c.report, c.text);
        click_left(c.column);
        EXPECT_EQ(gl_novstartw, c.word) << utf16_to_utf8(c.report);
        EXPECT_EQ(right_sel().cpMin, c.selected.cpMin) << utf16_to_utf8(c.report);
        EXPECT_EQ(right_sel().cpMax, c.selected.cpMax) << utf16_to_utf8(c.report);
    }

    // A shorter suggestion: the next find starts after it, so a close occurrence is not passed over.
    lines_over(u"aaaaa -> a", u"aaaaa,aaaaa");
    click_left(1);
    click_left(9);
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"a,aaaaa");
    EXPECT_EQ(right_sel().cpMin, 2);

    // A click that names an empty suggestion (before a class label) replaces nothing.
    lines_over(u"dogg ->  (Eng)", u"a dogg");
    click_left(1);
    click_left(8);
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"a dogg");

    // The number of a numbered entry is only marked as seen.
    lines_over(u"12. dogg -> dog", u"a dogg");
    click_left(1);
    EXPECT_EQ(colour_at(hBigReLeft, 0), kColSeenNumber);
    EXPECT_EQ(right_sel().cpMax, 0);

    // "no suggestions" becomes the word, for the user to type over.
    lines_over(u"qqq -> no suggestions", u"a qqq");
    click_left(9);
    EXPECT_EQ(RE_GetTextW(hBigReLeft), u"qqq -> qqq");
    EXPECT_EQ(colour_at(hBigReLeft, 8), kColTypedWord);

    // A suggestion equal to the word, and a selection that is some other text, are told.
    lines_over(u"dogg -> dogg", u"a dog");
    const DWORD mask = RE_SetEventMask(hBigReRight, 0);
    RE_SetSel(hBigReRight, CHARRANGE{0, 1});
    RE_SetEventMask(hBigReRight, mask);
    click_left(10);
    ASSERT_EQ(headless().message_boxes.size(), 2u);
    EXPECT_EQ(headless().message_boxes[0].text.substr(0, 20), u"Предложението \"dogg\"");
    EXPECT_EQ(headless().message_boxes[1].text, u"dogg не е намерено.");
}

}  // namespace
