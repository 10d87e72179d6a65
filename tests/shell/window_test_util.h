// Helpers of the shell's window tests: a fixture that also empties the lexicon's window handles and
// restores the working folder, and a test window with two panels and a button whose procedure
// routes right clicks and popup commands as the program's windows do.
#pragma once

#include <filesystem>
#include <vector>

#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "shell_test_util.h"

// Joins UTF-16 texts.
template <class... T>
std::u16string ucat(const T&... parts) {
    std::u16string s;
    (s.append(std::u16string_view(parts)), ...);
    return s;
}

inline constexpr int kTopPanel = 201;
inline constexpr int kBottomPanel = 202;
inline constexpr int kButton = 203;

// Every WM_COMMAND the test window received (id, code).
inline std::vector<std::pair<int, int>> g_test_commands;

inline INT_PTR TestWindowProc(HWND dlg, const Msg& m) {
    switch (m.message) {
        case WM_CONTEXTMENU:
            return IsThisRETheContext(dlg, GetDlgItem(dlg, kTopPanel), hMenuPopupAll, m.pt.x, m.pt.y) ||
                   IsThisRETheContext(dlg, GetDlgItem(dlg, kBottomPanel), hMenuPopupAll, m.pt.x, m.pt.y) ||
                   IsThisRETheContextNoMenu(dlg, GetDlgItem(dlg, kButton), m.pt.x, m.pt.y);
        case WM_COMMAND:
            g_test_commands.emplace_back(m.id, m.code);
            return ContextMenu(static_cast<UINT>(m.id));
        default:
            return 0;
    }
}

// The test window at screen (100, 50), 400 x 300 pixels; the top panel at client (10, 20) of
// 100 x 50 pixels, the bottom panel at (10, 100) of 300 x 150, the button at (320, 20) of 60 x 20.
struct TestWindow {
    HWND dlg, top, bottom, button;
};

inline TestWindow make_test_window() {
    DialogTemplate t;
    t.caption = u"Test window";
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    TestWindow w{};
    w.dlg = CreateDialogIndirect(t, HWND{}, TestWindowProc);
    MoveWindow(w.dlg, 100, 50, 400, 300);
    const DWORD panel = WS_CHILD | WS_VISIBLE | ES_MULTILINE;
    w.top = PL_CreateControl(w.dlg, ControlKind::RichEdit, kTopPanel, u"", RECT{10, 20, 110, 70}, panel);
    w.bottom = PL_CreateControl(w.dlg, ControlKind::RichEdit, kBottomPanel, u"", RECT{10, 100, 310, 250}, panel);
    w.button = PL_CreateControl(w.dlg, ControlKind::PushButton, kButton, u"n", RECT{320, 20, 380, 40});
    return w;
}

class ShellWindowTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        reset_lexicon();
        g_test_commands.clear();
        saved_cwd_ = std::filesystem::current_path();
    }
    void TearDown() override {
        std::filesystem::current_path(saved_cwd_);
        reset_lexicon();
        ShellTest::TearDown();
        platform_reset();
    }

private:
    std::filesystem::path saved_cwd_;
};
