// The secondary windows of the text checker (find and replace, information, translation): the
// main window and the checker as the start-up opens them, on the headless backend.
#pragma once

#include "checker_fixture.h"
#include "lexicon/panels.h"
#include "platform/text.h"
#include "resources/text_windows.h"
#include "windows/find_replace_window.h"
#include "windows/info_window.h"
#include "windows/translation_window.h"

class TextWindowsTest : public CheckerTest {
protected:
    void SetUp() override {
        CheckerTest::SetUp();
        reset_find_replace_window();
        reset_info_window();
        reset_translation_window();
        open();
    }
    void TearDown() override {
        for (HWND w : {hRepl, hInfo, hTran})
            if (IsWindow(w)) DestroyWindow(w);
        reset_find_replace_window();
        reset_info_window();
        reset_translation_window();
        CheckerTest::TearDown();
    }
    // The checker's text, put in without a run (token store R stays as it was).
    static void set_right(std::u16string_view text) {
        const DWORD mask = RE_SetEventMask(hBigReRight, 0);
        RE_SetTextW(hBigReRight, text);
        RE_SetEventMask(hBigReRight, mask);
    }
    static std::u16string right() { return RE_GetTextW(hBigReRight); }
    static std::u16string label(HWND dlg, int id) { return GetDlgItemTextW(dlg, id); }
    // The find-and-replace window opened by the checker's command, with its fields and boxes set.
    static void find_setup(std::u16string_view find, std::u16string_view repl, bool whole = false,
                           bool match_case = false, bool up = false) {
        PL_SendCommand(hBig, IDC_BIG_FIND_REPLACE);
        ASSERT_TRUE(IsWindow(hRepl));
        RE_SetTextW(hReplReFind, find);
        RE_SetTextW(hReplReRepl, repl);
        Button_SetCheck(hReplWhole, whole ? BST_CHECKED : BST_UNCHECKED);
        Button_SetCheck(hReplCase, match_case ? BST_CHECKED : BST_UNCHECKED);
        Button_SetCheck(hReplUp, up ? BST_CHECKED : BST_UNCHECKED);
    }
};
