// The fixture of the main window's tests: the demonstration lexicon in the test's data folder,
// the engine, window, spelling and audio state reset before and after, and the window opened as
// the start-up opens it.
#pragma once

#include "../lexicon/lex_test_util.h"
#include "audio/audio_state.h"
#include "dictionary/main_window.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "shell/window_state.h"
#include "spelling/spell_state.h"

class MainWindowTest : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        reset_engine();
        reset_main_window();
        reset_spelling();
        reset_audio();
        std::filesystem::copy(JUX_DEMO_DIR, data.path(), std::filesystem::copy_options::recursive);
        dir_alt = data.path();
    }
    void TearDown() override {
        if (IsWindow(hMain)) DestroyWindow(hMain);
        hMain = HWND{};
        reset_main_window();
        reset_engine();
        reset_spelling();
        reset_audio();
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
