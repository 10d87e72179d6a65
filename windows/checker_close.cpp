#include "windows/checker_close.h"

#include <cstdio>

#include "audio/player.h"
#include "shell/token_frequency_index.h"
#include "shell/window_state.h"
#include "windows/checker_file_commands.h"
#include "windows/find_replace_window.h"
#include "windows/input_window.h"
#include "windows/settings_window.h"
#include "windows/translation_window.h"

namespace {

void destroy_and_clear(HWND& h) {
    if (IsWindow(h)) DestroyWindow(h);
    h = HWND{};
}

}  // namespace

void close_checker(HWND dlg) {
    if (!checker_text_may_go(dlg)) return;
    DestroyWindow(dlg);
    hBig = HWND{};
    gl_file_text.reset();  // its text is gone with it
    destroy_and_clear(hMachine);
    if (IsWindowVisible(hMain)) return;
    end_program_from_checker();
}

void end_program_from_checker() {
    // The main window's own close writes the new Bulgarian words and the last search, removes the
    // icon and asks the message loop to end; nothing the user gathered is lost.
    if (IsWindow(hMain)) SendMessageW(hMain, Msg::simple(WM_CLOSE));
    if (gl_icon_exists) {
        Shell_NotifyIconW(NIM_DELETE, nid);
        gl_icon_exists = 0;
    }
    if (IsWindow(hMain)) ChangeClipboardChain(hMain, hwndNextViewer);
    hwndNextViewer = HWND{};
    close_audio_players();  // only the players this program started, never a process found by name
    ReleaseGmake();
    for (int v = 0; v < GMAKE3_INSTANCES; ++v) ReleaseGmake3(v);
    for (HWND* h : {&hInfo, &hBgText, &hMachine, &hTran, &hRepl, &hInput, &hSettings}) destroy_and_clear(*h);
    std::fflush(nullptr);
    PostQuitMessage(0);
}
