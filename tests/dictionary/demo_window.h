// The fixture of the tests that run the main window over a copy of the demonstration lexicon:
// the engine, the window and the spelling state reset around each test, the lexicon copied into
// the test's data folder.
#pragma once

#include <filesystem>

#include "../lexicon/lex_test_util.h"
#include "dictionary/main_window.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "shell/window_state.h"
#include "spelling/spell_state.h"

class DemoWindowTest : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        reset_engine();
        reset_main_window();
        reset_spelling();
        std::filesystem::copy(JUX_DEMO_DIR, data.path(), std::filesystem::copy_options::recursive);
        dir_alt = data.path();
    }
    void TearDown() override {
        if (IsWindow(hMain)) DestroyWindow(hMain);
        hMain = HWND{};
        reset_main_window();
        reset_engine();
        reset_spelling();
        LexTest::TearDown();
    }

    // The window as the start-up makes it: created (the lexicon loads), the token stores made,
    // shown.
    void open() {
        ASSERT_TRUE(create_main_window());
        smake();
        smake2();
        smakeR();
        ShowWindow(hMain, SW_SHOW);
    }
};
