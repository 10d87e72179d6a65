// Enter and Escape in the program's windows in real Qt widgets (offscreen): in a dialog box Enter
// presses the default button from any box but a multi-line one that asks for line breaks, and
// Escape closes the box as its Cancel button does; a window without a default button leaves both
// keys to its panels.
#include <gtest/gtest.h>

#include <QTest>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/run_state.h"
#include "platform/backend.h"
#include "platform/richedit.h"
#include "resources/resources.h"
#include "shell/window_state.h"
#include "support/program_on_qt.h"
#include "windows/char_table_window.h"
#include "windows/find_replace_window.h"
#include "windows/input_window.h"
#include "windows/settings_window.h"
#include "windows/translation_window.h"

namespace {

// The commands each window receives, recorded on the way to its own procedure.
std::vector<int> g_commands;
std::map<std::uint32_t, DLGPROC> g_procs;

INT_PTR recording(HWND dlg, const Msg& m) {
    if (m.message == WM_COMMAND && m.code == BN_CLICKED) g_commands.push_back(m.id);
    auto it = g_procs.find(dlg.id);
    return it == g_procs.end() ? 0 : it->second(dlg, m);
}

void record(HWND dlg) {
    WindowModel* w = platform_window(dlg);
    if (!w || w->proc == &recording) return;
    g_procs[dlg.id] = w->proc;
    w->proc = &recording;
}

enum class Then { Presses, TakesALine, Closes, Stays };

struct KeyCase {
    const char* window;
    std::function<void()> open;
    HWND* handle;     // the window's handle once open
    int control;      // the box with the keyboard; 0 for the window itself
    Qt::Key key;
    Then then;
    int button = 0;   // the default button Enter presses
};

// Line breaks in a box's text.
bool has_line_break(HWND box) {
    const std::u16string t = PL_GetControlKind(box) == ControlKind::RichEdit ? RE_GetTextW(box) : GetWindowTextW(box);
    return t.find_first_of(u"\r\n") != std::u16string::npos;
}

TEST(ProgramQt, EnterPressesTheDefaultButtonAndEscapeClosesEveryDialogBox) {
    jux_test::ProgramOnQt program("dialog_keys");
    ASSERT_TRUE(program.started());
    const auto command = [](UINT id) { return [id] { PL_SendCommand(hMain, static_cast<int>(id)); }; };
    const auto find = command(IDA_FIND_REPLACE), input = command(IDM_INPUT_TYPE),
               settings = command(IDM_SETTINGS), table = command(IDM_ASCII), about = command(IDA_ABOUT);
    const auto translation = [] { open_translation_window(hAddReSaved, false); };
    HWND about_box{};
    const KeyCase cases[] = {
        {"find", find, &hRepl, 1232, Qt::Key_Return, Then::Presses, 1235},
        {"find", find, &hRepl, 1233, Qt::Key_Enter, Then::Presses, 1235},
        {"find", find, &hRepl, 1232, Qt::Key_Escape, Then::Closes},
        {"input", input, &hInput, 1185, Qt::Key_Return, Then::Presses, 1186},
        {"input", input, &hInput, 1185, Qt::Key_Escape, Then::Closes},
        {"settings", settings, &hSettings, 1204, Qt::Key_Return, Then::Presses, 1189},
        {"settings", settings, &hSettings, 1197, Qt::Key_Return, Then::Presses, 1189},
        {"settings", settings, &hSettings, 1194, Qt::Key_Return, Then::TakesALine},
        {"settings", settings, &hSettings, 1197, Qt::Key_Escape, Then::Closes},
        {"characters", table, &hAscii, 1039, Qt::Key_Return, Then::Presses, 1036},
        {"characters", table, &hAscii, 1037, Qt::Key_Return, Then::Presses, 1036},
        {"characters", table, &hAscii, 1039, Qt::Key_Escape, Then::Closes},
        {"about", about, &about_box, 0, Qt::Key_Return, Then::Presses, 1122},
        {"about", about, &about_box, 0, Qt::Key_Escape, Then::Closes},
        {"translation", translation, &hTran, 1252, Qt::Key_Return, Then::TakesALine},
        {"translation", translation, &hTran, 1252, Qt::Key_Escape, Then::Stays},
    };
    for (const KeyCase& c : cases) {
        const std::string what = std::string(c.window) + " " + std::to_string(c.control) + " key " + std::to_string(c.key);
        bool checked = false;
        // The person at the window: a modal box is acted on while it runs, the others once open.
        const auto act = [&](HWND dlg) {
            checked = true;
            record(dlg);
            g_commands.clear();
            const HWND box = c.control ? GetDlgItem(dlg, c.control) : dlg;
            ASSERT_TRUE(IsWindow(box)) << what;
            SetFocus(box);
            QTest::keyClick(qt_widget(box), c.key);
            const bool open = IsWindow(dlg) && IsWindowVisible(dlg);
            const bool pressed = std::find(g_commands.begin(), g_commands.end(), c.button) != g_commands.end();
            EXPECT_EQ(pressed, c.then == Then::Presses) << what;
            // (the default button closes some windows itself)
            if (c.then != Then::Presses) {
                EXPECT_EQ(!open, c.then == Then::Closes) << what;
            }
            if (c.control && IsWindow(box)) {
                EXPECT_EQ(has_line_break(box), c.then == Then::TakesALine) << what;
            }
        };
        qt_test_answers().on_modal = [&](HWND box) {
            about_box = box;
            act(box);
        };
        if (!IsWindow(*c.handle)) c.open();
        qt_test_answers().on_modal = nullptr;
        if (!checked) {
            ASSERT_TRUE(IsWindow(*c.handle)) << what;
            act(*c.handle);
        }
        EXPECT_TRUE(checked) << what;
        if (IsWindow(*c.handle)) DestroyWindow(*c.handle);
    }
    g_procs.clear();
}

}  // namespace
