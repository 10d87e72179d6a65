// libs: windows platform_qt
// Replace all of a one-letter text in a 10 MB panel (about 760,000 replacements): one pass over
// the text and one change of the panel, on the headless backend and on the Qt backend (offscreen
// platform).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench/qt_bench_app.h"
#include "platform/headless.h"
#include "platform/qt/qt_backend.h"
#include "platform/richedit.h"
#include "resources/text_windows.h"
#include "shell/reset.h"
#include "shell/window_state.h"
#include "windows/find_replace_window.h"

namespace {

INT_PTR quiet(HWND, const Msg&) { return 0; }

// A text of 10 MB: English-like words, one 'e' in about twelve characters.
const std::u16string& big_text() {
    static const std::u16string text = [] {
        const std::u16string line = u"The quick brown fox jumps over the lazy dog and keeps on running.\r";
        std::u16string t;
        while (t.size() < 10'000'000) t += line;
        return t;
    }();
    return text;
}

void replace_all_in_big_panel(benchmark::State& state, bool qt) {
    for (auto _ : state) {
        state.PauseTiming();
        if (qt) {
            qt_bench_app();
            platform_set_backend(make_qt_backend());
        } else {
            headless_install();
        }
        reset_shell();
        reset_find_replace_window();
        DialogTemplate t;
        t.cx = 400;
        t.cy = 300;
        t.controls.push_back(ControlTemplate{ControlKind::RichEdit, 1171, u"", 0, 0, 400, 300,
                                             WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0});
        const HWND dlg = CreateDialogIndirect(t, HWND{}, quiet);
        hBigReRight = GetDlgItem(dlg, 1171);
        RE_LimitText(hBigReRight, 0x7FFFFFFF);
        RE_SetTextW(hBigReRight, big_text());
        RE_SetSel(hBigReRight, CHARRANGE{0, 0});
        open_find_replace_window(HWND{});
        RE_SetTextW(hReplReFind, u"e");
        RE_SetTextW(hReplReRepl, u"E");
        state.ResumeTiming();
        PL_SendCommand(hRepl, IDC_REPL_ALL);
        state.PauseTiming();
        state.counters["replacements"] = gl_replall_ct;
        DestroyWindow(hRepl);
        DestroyWindow(dlg);
        hBigReRight = HWND{};
        headless_install();
        state.ResumeTiming();
    }
}

void BM_ReplaceAllOneLetter10MB_Headless(benchmark::State& state) { replace_all_in_big_panel(state, false); }
void BM_ReplaceAllOneLetter10MB_Qt(benchmark::State& state) { replace_all_in_big_panel(state, true); }

}  // namespace

BENCHMARK(BM_ReplaceAllOneLetter10MB_Headless)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ReplaceAllOneLetter10MB_Qt)->Unit(benchmark::kMillisecond)->Iterations(2);
