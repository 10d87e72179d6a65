// The checking loop of the text-checker window: what starts a run and what does not, what a run
// keeps of the user's view, and the small commands round it (Refresh, clear, On, the switches,
// Undo and Redo, Paste, "C", the find texts, a dropped file).
#include <functional>
#include <utility>

#include "checker_fixture.h"
#include "platform/richedit.h"
#include "platform/text.h"

namespace {

class CheckerLoop : public CheckerTest {
protected:
    void SetUp() override {
        CheckerTest::SetUp();
        gl_ENGLIST_UNGROUPED = 1;  // the unknown English words get their report lines at once
        open();
    }
    static std::u16string left() { return RE_GetTextW(hBigReLeft); }
    static bool left_has(std::u16string_view s) { return left().find(s) != std::u16string::npos; }
    static void click_right(UINT msg) { headless_mouse(hBigReRight, msg, POINT{5, 5}); }
};

TEST_F(CheckerLoop, TypingRunsOnceAndKeepsSelectionScrollAndFocus) {
    RE_SetEventMask(hBigReRight, 0);
    RE_SetTextW(hBigReRight, std::u16string(400, u'\r') + u"The dog is good. Housse");
    RE_SetEventMask(hBigReRight, 0x041A0011);
    RE_SetScrollPos(hBigReRight, POINT{0, 120});
    RE_SetSel(hBigReRight, CHARRANGE{405, 405});
    const int before = runs();
    type_right(u"x");
    EXPECT_EQ(runs(), before + 1);
    EXPECT_EQ(RE_GetSel(hBigReRight), (CHARRANGE{406, 406}));
    EXPECT_EQ(RE_GetScrollPos(hBigReRight).y, 120);
    EXPECT_EQ(GetFocus(), hBigReRight);
    EXPECT_TRUE(left_has(u"Housse -> ")) << utf16_to_utf8(left());
    EXPECT_EQ(GetWindowTextW(hBigLabel), u"Done!");
    EXPECT_EQ(RE_GetEventMask(hBigReRight), 0x041A0011u);  // the mask is back after the run
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hMain, IDC_ADD_BIG_SPELL)));
}

TEST_F(CheckerLoop, DuringARunTheMainWindowsButtonsAreOffAndThePanelIsSilent) {
    bool seen = false;
    hs->on_pump = [&] {
        if (seen) return;
        seen = true;
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hMain, IDC_ADD_BIG_SPELL)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hMain, IDC_ADD_BIG_TRANS)));
        EXPECT_EQ(RE_GetEventMask(hBigReRight), DWORD{ENM_DROPFILES});  // a drop is served after the run
        PL_SendCommand(hBig, IDC_BIG_REFRESH);  // pressed meanwhile: served after the run
    };
    respond_token = 1;
    std::u16string text;
    for (int i = 0; i < 50; ++i) text += u"dog ";
    const int before = runs();
    RE_SetTextW(hBigReRight, text);
    hs->on_pump = nullptr;
    EXPECT_TRUE(seen);
    EXPECT_EQ(runs(), before + 2);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hMain, IDC_ADD_BIG_TRANS)));
    EXPECT_EQ(RE_GetEventMask(hBigReRight), 0x041A0011u);
}

// The panel is silent while it is checked; keys typed at a pump of the run still get their text
// checked, by one more run after it.
TEST_F(CheckerLoop, KeysTypedWhileTheTextIsCheckedAreCheckedAfterIt) {
    respond_token = 1;
    std::u16string text;
    for (int i = 0; i < 50; ++i) text += u"dog ";
    for (const bool typing : {false, true}) {
        bool typed = false;
        hs->on_pump = [&] {
            if (!typing || typed) return;
            typed = true;
            headless_select(hBigReRight, 200, 200);
            headless_type(hBigReRight, u"cat");
        };
        const int before = runs();
        RE_SetTextW(hBigReRight, text);
        hs->on_pump = nullptr;
        EXPECT_EQ(runs(), before + (typing ? 2 : 1)) << typing;
        const std::u16string left = RE_GetTextW(hBigReLeft);
        const std::string first = typing ? "51 words found (203 characters)" : "50 words found (200 characters)";
        EXPECT_EQ(left.substr(0, first.size()), std::u16string(first.begin(), first.end())) << typing;
        EXPECT_TRUE(RE_GetModify(hBigReRight)) << typing;  // the pumps leave the edits' flag set
    }
}

TEST_F(CheckerLoop, TheWordAtTheCaretIsLookedUpInTheLeftOrTheBottomPanel) {
    RE_SetEventMask(hBigReRight, 0);
    RE_SetTextW(hBigReRight, u"The good dog");
    RE_SetEventMask(hBigReRight, 0x041A0011);
    for (std::int8_t down : {0, 1}) {
        gl_PRINT_DOWN = down;
        headless_select(hBigReRight, 0, 0);
        for (HWND re : {hBigReLeft, hBigReBot}) RE_SetTextW(re, u"");
        headless_select(hBigReRight, 9, 12);
        const std::u16string shown = RE_GetTextW(down ? hBigReBot : hBigReLeft);
        EXPECT_EQ(shown.substr(0, 4), u"dog\r") << int{down};
        EXPECT_EQ(RE_GetTextLength(down ? hBigReLeft : hBigReBot), 0);
    }
    // A selection in the bottom panel is looked up too (into the left panel).
    gl_PRINT_DOWN = 0;
    RE_SetTextW(hBigReBot, u"good");
    headless_select(hBigReBot, 0, 4);
    EXPECT_EQ(RE_GetTextW(hBigReLeft).substr(0, 5), u"good\r");
}

TEST_F(CheckerLoop, WhatStartsNoRun) {
    type_right(u"dog Housse");
    headless_click(hBig, IDC_BIG_ACTIVE);  // off: no look-up at the caret writes into the report
    const std::u16string report = left();
    const int before = runs();
    // An emptied panel: the report stays.
    headless_select(hBigReRight, 0, -1);
    headless_key_delete(hBigReRight);
    EXPECT_EQ(runs(), before);
    EXPECT_EQ(left(), report);
    // Undo and Redo give the text back and take it away, silently.
    headless_click(hBig, IDC_BIG_UNDO);
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"dog Housse");
    headless_click(hBig, IDC_BIG_REDO);
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"");
    EXPECT_EQ(runs(), before);
    EXPECT_EQ(GetFocus(), hBigReRight);
    // A look-up that wrote into a panel disarms the next change only.
    gl_info_printed = 1;
    type_right(u"d");
    EXPECT_EQ(gl_info_printed, 0);
    EXPECT_EQ(runs(), before);
    type_right(u"o");
    EXPECT_EQ(runs(), before + 1);
}

TEST_F(CheckerLoop, RealTimeOffAfterAClickThenRefreshChecks) {
    CheckDlgButton(hBig, IDC_BIG_REALTIME, BST_UNCHECKED);
    PL_SendCommand(hBig, IDC_BIG_REALTIME);
    EXPECT_EQ(gl_REAL_TIME, 0);
    EXPECT_EQ(RE_GetEventMask(hBigReRight) & ENM_CHANGE, 0u);
    headless_click(hBig, IDC_BIG_REALTIME);  // on again, then off by the user's click in the panel
    EXPECT_EQ(gl_REAL_TIME, 1);
    headless_click(hBig, IDC_BIG_REALTIME);
    RE_SetEventMask(hBigReRight, RE_GetEventMask(hBigReRight) | ENM_CHANGE);  // as the window opens
    click_right(WM_LBUTTONDOWN);
    EXPECT_EQ(RE_GetEventMask(hBigReRight) & ENM_CHANGE, 0u);
    const int before = runs();
    type_right(u"dog Housse");
    EXPECT_EQ(runs(), before);
    RE_SetSel(hBigReRight, CHARRANGE{1, 3});
    headless_click(hBig, IDC_BIG_REFRESH);
    EXPECT_EQ(runs(), before + 1);
    EXPECT_EQ(RE_GetSel(hBigReRight), (CHARRANGE{1, 3}));
    EXPECT_EQ(GetFocus(), hBigReLeft);
    EXPECT_TRUE(IsWindowEnabled(hBigRefresh));
    // A left-button release makes the panel the focus pane.
    click_right(WM_LBUTTONUP);
    EXPECT_EQ(hReFocus, hBigReRight);
}

TEST_F(CheckerLoop, SwitchesFollowTheirBoxes) {
    struct Box {
        int id;
        std::int8_t* flag;
    };
    for (const Box& b : {Box{IDC_BIG_SPELLCLIP, &gl_TRANSLATE_CLIPBOARD}, Box{IDC_BIG_COLORING, &gl_TEXT_COLORING},
                         Box{IDC_BIG_LATIN, &gl_PARSE_LATIN_WORDS}, Box{IDC_BIG_COLOR_RARE, &gl_COLOR_RARE},
                         Box{IDC_BIG_UPPERCASE, &gl_SPELL_UPPERCASE}, Box{IDC_BIG_ACTIVE, &gl_BIG_ACTIVE}}) {
        SCOPED_TRACE(b.id);
        const std::int8_t start = *b.flag;
        headless_click(hBig, b.id);
        EXPECT_EQ(*b.flag, start ? 0 : 1);
        headless_click(hBig, b.id);
        EXPECT_EQ(*b.flag, start);
    }
    headless_click(hBig, IDC_BIG_COLOR_RARE);
    EXPECT_EQ(IsWindowVisible(hBigColors), gl_COLOR_RARE == 1);
    headless_click(hBig, IDC_BIG_ACTIVE);
    EXPECT_EQ(RE_GetEventMask(hBigReLeft), gl_BIG_ACTIVE ? 0x000A0001u : 0u);
    headless_click(hBig, IDC_BIG_WRAP);
    EXPECT_FALSE(RE_GetWordWrap(hBigReRight));
}

TEST_F(CheckerLoop, ClearEmptiesThePanelsAndStartsNoRun) {
    type_right(u"dog Housse");
    RE_SetTextW(hBigReBot, u"x");
    SetWindowTextW(hBig, u" /tmp/file.txt");
    const int before = runs();
    headless_click(hBig, IDC_BIG_CLEAR);
    EXPECT_EQ(runs(), before);
    for (HWND re : {hBigReRight, hBigReLeft, hBigReBot}) EXPECT_EQ(RE_GetTextLength(re), 0);
    EXPECT_EQ(GetWindowTextW(hBig), JUXtitleCurrentBig);
    EXPECT_EQ(GetWindowTextW(hBigLabel), u"");
    EXPECT_EQ(RE_GetEventMask(hBigReRight), 0x041A0011u);
}

TEST_F(CheckerLoop, PasteReplacesTheTextAndChecksOnce) {
    type_right(u"old text");
    PL_SetClipboardTextW(u"The dog Housse");
    const int before = runs();
    headless_click(hBig, IDC_BIG_PASTE);
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"The dog Housse");
    EXPECT_EQ(runs(), before + 1);
    EXPECT_TRUE(left_has(u"Housse -> "));
    // Nothing on the clipboard, or more than the panel holds: the user's text stays.
    EmptyClipboard();
    headless_click(hBig, IDC_BIG_PASTE);
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"The dog Housse");
    PL_SetClipboardTextW(std::u16string(0x7FFFFF + 1, u'a'));
    headless_click(hBig, IDC_BIG_PASTE);
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"The dog Housse");
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(hs->message_boxes[0].caption, u"Oops!");
    EXPECT_EQ(runs(), before + 1);
}

TEST_F(CheckerLoop, CaseCommandTurnsTheFirstLetterOnly) {
    struct Case {
        std::u16string text;
        CHARRANGE sel;
        std::u16string after;
    };
    for (const Case& c : {Case{u"ако", {0, 3}, u"Ако"}, Case{u"Жена", {0, 2}, u"жена"}, Case{u"apple", {0, 5}, u"Apple"},
                          Case{u"Éclair", {0, 2}, u"éclair"}, Case{u"ябълка", {0, 0}, u"ябълка"},
                          Case{u"dog", {1, 3}, u"dOg"}}) {
        RE_SetEventMask(hBigReRight, 0);
        RE_SetTextW(hBigReRight, c.text);
        RE_SetSel(hBigReRight, c.sel);
        hReFocus = hBigReRight;
        PL_SendCommand(hBig, IDC_BIG_CAPITALIZE);  // a translation control: hidden in this mode
        EXPECT_EQ(RE_GetTextW(hBigReRight), c.after);
        EXPECT_EQ(RE_GetSel(hBigReRight), c.sel);
    }
    // More than 1,023 characters: nothing changes.
    RE_SetTextW(hBigReRight, std::u16string(1024, u'a'));
    RE_SetSel(hBigReRight, CHARRANGE{0, 1024});
    PL_SendCommand(hBig, IDC_BIG_CAPITALIZE);
    EXPECT_EQ(RE_GetTextW(hBigReRight)[0], u'a');
    // The focus pane is a panel, never the button clicked last.
    hReFocus = GetDlgItem(hBig, IDC_BIG_CAPITALIZE);
    PL_SendCommand(hBig, IDC_BIG_CAPITALIZE);
    EXPECT_EQ(GetWindowTextW(GetDlgItem(hBig, IDC_BIG_CAPITALIZE)), u"C");
}

TEST_F(CheckerLoop, FindTextsFromTheCaretAndSelection) {
    type_right(u"The dog is good");  // tokens at 0, 4, 8, 11
    struct Case {
        CHARRANGE sel;
        std::u16string label;
    };
    for (const Case& c : {Case{{4, 4}, u"позиция: 4 дума: 1"}, Case{{5, 5}, u"позиция: 5 дума: 1"},
                          Case{{0, 0}, u"позиция: 0 дума: 0"}, Case{{14, 14}, u"позиция: 14 дума: 3"},
                          Case{{15, 15}, u"позиция: 15 дума: 3"}})
    {
        RE_SetSel(hBigReRight, c.sel);
        EXPECT_EQ(find_position_label(hBigReRight), c.label);
    }
    RE_SetEventMask(hBigReRight, 0);
    RE_SetTextW(hBigReRight, u"  dog");
    headless_click(hBig, IDC_BIG_REFRESH);
    EXPECT_EQ(word_number_at(1), -1);  // before the first token
    RE_SetTextW(hBigReRight, u"a pre-\rsent  and\rmore");
    RE_SetSel(hBigReRight, CHARRANGE{2, 21});
    EXPECT_EQ(find_text_of_selection(hBigReRight), "pre-sent and more");
    RE_SetSel(hBigReRight, CHARRANGE{2, 3});
    EXPECT_EQ(find_text_of_selection(hBigReRight), "");
}

TEST_F(CheckerLoop, ADroppedFileTurnsRealTimeAndClipboardOffAndIsCheckedOnce) {
    const auto file = data.write("dropped.txt", "The dog Housse\n");
    gl_REAL_TIME = 1;
    gl_TRANSLATE_CLIPBOARD = 1;
    const int before = runs();
    headless_drop(hBigReRight, {file});
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"The dog Housse\r");
    EXPECT_EQ(runs(), before + 1);
    EXPECT_EQ(gl_REAL_TIME, 0);
    EXPECT_EQ(gl_TRANSLATE_CLIPBOARD, 0);
    EXPECT_EQ(IsDlgButtonChecked(hBig, IDC_BIG_REALTIME), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(hBig, IDC_BIG_SPELLCLIP), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(hBig, IDC_BIG_ACTIVE), BST_CHECKED);
    EXPECT_NE(RE_GetEventMask(hBigReLeft) & ENM_MOUSEEVENTS, 0u);
    EXPECT_EQ(GetWindowTextW(hBig), u" " + file.u16string());
    // A file that cannot be read: its message, and the text stays.
    headless_drop(hBigReRight, {data.file("missing.txt")});
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"The dog Housse\r");
    ASSERT_FALSE(hs->message_boxes.empty());
    EXPECT_EQ(hs->message_boxes.back().caption, u"Oops!");
    EXPECT_EQ(runs(), before + 1);
    // A binary file is loaded as 8-bit text (its NUL bytes as blanks) and checked like any text.
    std::string bytes;
    for (int i = 0; i < 512; ++i) bytes += static_cast<char>(i % 256);
    headless_drop(hBigReRight, {data.write_raw("binary.bin", bytes)});
    EXPECT_EQ(runs(), before + 2);
    EXPECT_GT(RE_GetTextLength(hBigReRight), 400);
}

// "N" opens the printed dictionary's page of the word last taken from the report, with the focus
// in the panel the user clicked last; with no word taken nothing opens.
TEST_F(CheckerLoop, TheNButtonOpensThePageImageOfTheWordTakenFromTheReport) {
    data.write("nov/pages.txt", "apple p1.png\ncat p2.png\n");
    for (const auto& [word, page] : {std::pair{u"dog", "p2.png"}, std::pair{u"", ""}}) {
        hs->shell_opened.clear();
        gl_novstartw = word;
        hReFocus = hBigReBot;
        SetFocus(hBigReRight);
        PL_SendCommand(hBig, IDC_BIG_NOV);
        EXPECT_EQ(GetFocus(), hBigReBot);
        EXPECT_EQ(hs->shell_opened, *page ? std::vector<std::string>{(data.path() / "nov" / page).string()}
                                          : std::vector<std::string>{})
            << page;
    }
}

// A run pumps messages; what the user does at its first pump, and what follows the run.
class CheckerLoopDuringARun : public CheckerLoop {
protected:
    void SetUp() override {
        CheckerLoop::SetUp();
        respond_token = 1;
        for (int i = 0; i < 50; ++i) text += u"dog ";
    }
    // Puts the 50 words into the right panel (one run) and does `meanwhile` at that run's first pump.
    void run_with(const std::function<void()>& meanwhile) {
        bool done = false;
        hs->on_pump = [&] {
            if (done) return;
            done = true;
            meanwhile();
        };
        before = runs();
        RE_SetTextW(hBigReRight, text);
        hs->on_pump = nullptr;
        ASSERT_TRUE(done);
    }
    // The same words put in at the first pump of the main window's look-up; `meanwhile` is done at
    // the first pump of the window's run that follows it.
    void run_after_look_up_with(const std::function<void()>& meanwhile) {
        quiet_set(hBigReLeft, "");
        quiet_set(hAddReShort, utf16_to_utf8(text) + std::to_string(before));
        const std::function<void()> in_the_run = [&] {
            if (left_has(u" words found (")) hs->on_pump = nullptr, meanwhile();
        };
        hs->on_pump = [&] { hs->on_pump = in_the_run, RE_SetTextW(hBigReRight, text); };
        before = runs();
        look_up_entry_box(hMain);
        PL_RunMessageLoop(HACCEL{}, HWND{});
        EXPECT_FALSE(hs->on_pump);  // `meanwhile` was done
    }
    std::u16string text;
    int before = 0;
};

// An emptied panel starts no run, neither by the edit that emptied it nor by a run asked for
// earlier in the same run: the report is the whole one of the 50 words, or none after "clr" (the
// rest of the run's report does not come back into the cleared panels).
TEST_F(CheckerLoopDuringARun, EmptyingThePanelStartsNoSecondRun) {
    const auto select_all_and_delete = [] {
        headless_select(hBigReRight, 0, -1);
        headless_key_delete(hBigReRight);
    };
    const auto type_then_empty = [&] {
        headless_select(hBigReRight, 200, 200);
        headless_type(hBigReRight, u"cat");
        select_all_and_delete();
    };
    const auto refresh_then_clear = [] {
        PL_SendCommand(hBig, IDC_BIG_REFRESH);
        headless_click(hBig, IDC_BIG_CLEAR);
    };
    struct Case {
        const char* name;
        std::function<void()> meanwhile;
        bool cleared;  // "clr": no report and no status; else the run's whole report and "Done!"
    };
    const Case cases[] = {
        {"clr", [] { headless_click(hBig, IDC_BIG_CLEAR); }, true},
        {"select all + Delete", select_all_and_delete, false},
        {"typed, then emptied", type_then_empty, false},
        {"Refresh, then clr", refresh_then_clear, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        quiet_set(hBigReRight, "");
        run_with(c.meanwhile);
        EXPECT_EQ(RE_GetTextLength(hBigReRight), 0);
        EXPECT_EQ(runs(), before + 1);
        EXPECT_EQ(last_run.expected, 50u);
        EXPECT_EQ(RE_GetEventMask(hBigReRight), BIG_TEXT_MASK);
        if (c.cleared) {
            EXPECT_EQ(left(), u"");
            EXPECT_EQ(GetWindowTextW(hBigLabel), u"");
        } else {
            EXPECT_EQ(left().rfind(u"50 words found (200 characters)\r", 0), 0u) << utf16_to_utf8(left());
            EXPECT_EQ(GetWindowTextW(hBigLabel), u"Done!");
        }
    }
    // "clr" and new text typed during the run: that text is checked after it and its report stays.
    run_with([] {
        headless_click(hBig, IDC_BIG_CLEAR);
        headless_type(hBigReRight, u"The dog Housse");
    });
    EXPECT_EQ(runs(), before + 2);
    EXPECT_TRUE(left_has(u"Housse -> ")) << utf16_to_utf8(left());
}

// A file dropped on the text while it is checked is loaded and checked once that run ends; one that
// cannot be read is told then, and the text stays.
TEST_F(CheckerLoopDuringARun, AFileDroppedDuringTheRunIsServedAfterIt) {
    const auto file = data.write("dropped.txt", "The dog Housse\n");
    run_with([&] {
        headless_drop(hBigReRight, {file});
        EXPECT_EQ(RE_GetTextW(hBigReRight), text);  // not under the run
    });
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"The dog Housse\r");
    EXPECT_EQ(GetWindowTextW(hBig), u" " + file.u16string());
    EXPECT_EQ(runs(), before + 2);
    EXPECT_EQ(last_run.expected, 3u);
    EXPECT_TRUE(left_has(u"Housse -> ")) << utf16_to_utf8(left());
    EXPECT_EQ(gl_REAL_TIME, 0);

    quiet_set(hBigReRight, "");
    SetWindowTextW(hBig, JUXtitleCurrentBig);
    run_with([&] { headless_drop(hBigReRight, {data.file("missing.txt")}); });
    EXPECT_EQ(RE_GetTextW(hBigReRight), text);
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(hs->message_boxes[0].caption, u"Oops!");
    EXPECT_EQ(runs(), before + 1);
    EXPECT_EQ(GetWindowTextW(hBig), JUXtitleCurrentBig);
}

// A run that follows the main window's look-up is the window's own: no look-up at the caret takes
// the report's place, a drop waits for its end, "clr" leaves the panels empty.
TEST_F(CheckerLoopDuringARun, ARunAfterTheMainWindowsLookUpIsTheWindowsOwn) {
    run_after_look_up_with([] { headless_select(hBigReRight, 5, 5); });
    EXPECT_EQ(left().rfind(u"50 words found (200 characters)\r", 0), 0u) << utf16_to_utf8(left());
    run_after_look_up_with([&] {
        headless_drop(hBigReRight, {data.write("dropped.txt", "The dog Housse\n")});
        EXPECT_EQ(RE_GetTextW(hBigReRight), text);  // not under the run
    });
    EXPECT_TRUE(left_has(u"Housse -> ")) << utf16_to_utf8(left());
    run_after_look_up_with([] { headless_click(hBig, IDC_BIG_CLEAR); });
    EXPECT_EQ(left(), u"");
}

}  // namespace
