// libs: windows dictionary_window dictionary
// The look-up of a selection or of the word under the caret in the text-checker window over the
// demonstration lexicon (headless backend): Ctrl+A on a long English text in the checker's right
// panel, which looks the whole text up as one word (and a selected text in the other panels that
// look a selection up), and one click inside a long run of letters.
// Both must cost no more than reading the text.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/demo_texts.h"
#include "lexicon/display.h"
#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "tests/support/checker_start.h"
#include "tests/support/temp_folder.h"
#include "windows/bgtext_window.h"
#include "windows/checker_state.h"
#include "windows/info_window.h"
#include "windows/machine_window.h"

namespace {

// The demonstration lexicon, copied into a folder of its own for the program's run.
struct DemoCopy {
    jux_test::TempFolder folder{"bench_caret_lookup"};
    DemoCopy() { std::filesystem::copy(JUX_DEMO_DIR, folder.path(), std::filesystem::copy_options::recursive); }
};
const std::filesystem::path& data_folder() {
    static const DemoCopy copy;
    return copy.folder.path();
}

// The panels a look-up starts from.
enum Panel { kRight, kBottom, kInfoTop, kBgText, kMachine };

HWND open_panel(Panel p) {
    headless_install();
    jux_test::start_checker_over(data_folder());
    switch (p) {
        case kRight: return hBigReRight;
        case kBottom: return hBigReBot;
        case kInfoTop: return open_info_window() ? hInfoReTop : HWND{};
        case kBgText: return open_bgtext_window() ? hBgTextRe : HWND{};
        case kMachine: return open_machine_window() ? hMachineRe : HWND{};
    }
    return HWND{};
}

// The user's selection `sel` in the panel (the right panel tells the window of it as the user's
// selection does; the others look up on the mouse button's release), timed; then the caret put
// back at the start.
void select_repeatedly(benchmark::State& state, Panel p, const std::u16string& text, CHARRANGE sel) {
    const HWND panel = open_panel(p);
    if (!IsWindow(panel)) {
        state.SkipWithError("the window did not open");
        return;
    }
    const DWORD mask = RE_SetEventMask(panel, 0);
    RE_LimitText(panel, 1 << 30);
    RE_SetTextW(panel, text);  // no check: only the look-up is timed
    RE_SetEventMask(panel, mask);
    for (auto _ : state) {
        if (p == kRight) {
            platform_user_selected(panel, sel);
        } else {
            RE_SetSel(panel, sel);
            GetCleanToken(panel, 1);
        }
        state.PauseTiming();
        reset_caret_lookup();
        RE_SetSel(panel, CHARRANGE{0, 0});
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    headless_install();
}

// Ctrl+A in a panel holding an English text of range(1) characters.
void BM_SelectAllLongText(benchmark::State& state) {
    const std::u16string text = demo_english_text(static_cast<std::size_t>(state.range(1)));
    select_repeatedly(state, static_cast<Panel>(state.range(0)), text, CHARRANGE{0, -1});
}
BENCHMARK(BM_SelectAllLongText)
    ->ArgNames({"panel", "chars"})
    ->Args({kRight, 465'000})
    ->Args({kRight, 1'400'000})
    ->Args({kRight, 5'600'000})
    ->Args({kBottom, 1'000'000})
    ->Args({kInfoTop, 1'000'000})
    ->Args({kBgText, 1'000'000})
    ->Args({kMachine, 1'000'000})
    ->Unit(benchmark::kMillisecond);

// One click in the middle of a run of range(1) letters (Latin, or Cyrillic when range(2) is 1) in
// the checker's right panel.
void BM_ClickInLongWord(benchmark::State& state) {
    const std::u16string text = letter_run(static_cast<std::size_t>(state.range(0)), state.range(1) != 0);
    const LONG mid = static_cast<LONG>(text.size() / 2);
    select_repeatedly(state, kRight, text, CHARRANGE{mid, mid});
}
BENCHMARK(BM_ClickInLongWord)
    ->ArgNames({"letters", "cyrillic"})
    ->Args({400'000, 0})
    ->Args({4'000'000, 0})
    ->Args({900'000, 1})
    ->Args({4'000'000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
