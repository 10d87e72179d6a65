// The text-checker window's tests: the main window over the demonstration lexicon (as the start-up
// makes it), then the checker opened from it, on the headless backend.
#pragma once

#include <string>
#include <vector>

#include "../lexicon/lex_test_util.h"
#include "dictionary/main_window.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "resources/checker.h"
#include "shell/settings.h"
#include "shell/window_state.h"
#include "spelling/spell_state.h"
#include "windows/checker_commands.h"
#include "windows/checker_layout.h"
#include "windows/checker_menus.h"
#include "windows/checker_state.h"
#include "windows/checker_window.h"

class CheckerTest : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        reset_engine();
        reset_main_window();
        reset_spelling();
        reset_checker_window();
        std::filesystem::copy(JUX_DEMO_DIR, data.path(), std::filesystem::copy_options::recursive);
        dir_alt = data.path();
        build_titles();
    }
    void TearDown() override {
        for (HWND* w : {&hBig, &hMain})
            if (IsWindow(*w)) DestroyWindow(*w);
        hMain = HWND{};
        reset_checker_window();
        reset_main_window();
        reset_engine();
        reset_spelling();
        LexTest::TearDown();
    }

    // The main window with its lexicon and the token stores, as the start-up makes them; the
    // audio indexes hold `english_audio` and `bg_audio` entries when the checker opens.
    void start(int english_audio = 0, int bg_audio = 0) {
        ASSERT_TRUE(create_main_window());
        smake();
        smake2();
        smakeR();
        b[B_ENGLISH_AO].count = static_cast<std::size_t>(english_audio);
        b[B_ENGLISH_AO2].count = static_cast<std::size_t>(bg_audio);
    }
    // The main window and the checker opened by the start-up path.
    void open(int english_audio = 0, int bg_audio = 0) {
        start(english_audio, bg_audio);
        ASSERT_TRUE(open_checker_window());
    }

    static RECT client_rect(HWND w) {
        const RECT r = GetWindowRect(w);
        const POINT tl = ScreenToClient(hBig, POINT{r.left, r.top});
        return RECT{tl.x, tl.y, tl.x + r.width(), tl.y + r.height()};
    }
    // Resizes the checker to a client area of w x h pixels (the window has no frame of its own).
    static void resize_client(int w, int h) { headless_resize(hBig, w, h); }
    // Types into the right panel as the user does.
    static void type_right(std::u16string_view text) {
        SetFocus(hBigReRight);
        headless_type(hBigReRight, text);
    }
    static int runs() { return last_run.runs; }
    // Sets a panel's text and selection ([from, to), to -1: the end) without telling the window.
    static void quiet_set(HWND re, std::string_view utf8, LONG from = 0, LONG to = -1) {
        const DWORD mask = RE_SetEventMask(re, 0);
        set_panel(re, utf8, from, to);
        RE_SetEventMask(re, mask);
    }
    static POINT centre(HWND control) {
        const RECT r = GetWindowRect(control);
        return POINT{r.left + r.width() / 2, r.top + r.height() / 2};
    }
    // A right click at a screen point of the checker; the procedure's result.
    static INT_PTR right_click_at(POINT p) {
        Msg m = Msg::simple(WM_CONTEXTMENU);
        m.pt = p;
        return SendMessageW(hBig, m);
    }
    static INT_PTR right_click(int id) { return right_click_at(centre(GetDlgItem(hBig, id))); }
};
