#include "engine/run/bg_text_pass.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/exports.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "engine/tokeniser.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/token_frequency_index.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"

namespace {

constexpr char kUnknownChar = 6;                // a character code page 1251 cannot show
constexpr std::uint64_t kProgressEvery = 100;   // records between progress lines
constexpr std::uint64_t kProgressFrom = 500;    // estimated tokens that earn progress lines

bool g_bg_pass_going = false;        // a pass is going
bool g_bg_pass_asked_again = false;  // a call arrived meanwhile
HWND g_bg_pass_again_source{};       // that call's panel and status label (the latest call's)
HWND g_bg_pass_again_label{};

void run_pass(HWND source, HWND label, std::string& work) {
    // Steps 1 and 2: the text in code page 1251 without its leading blanks.
    const LONG length = RE_GetTextLength(source);
    work = RE_GetTextEx(source, CP_1251, GT_DEFAULT, kUnknownChar);
    if (work.size() > static_cast<std::size_t>(std::max<LONG>(length, 0))) work.resize(static_cast<std::size_t>(length));
    std::size_t lead = 0;
    while (lead < work.size() && work[lead] == ' ') ++lead;
    remove_leading_spaces(work);

    if (!changed_from_add_fg) ColorRangeOn(source, 0, length, CFM_COLOR | CFM_BOLD | CFM_UNDERLINE, 0, 0);
    const std::uint64_t estimated = get_token_count_in_string(work);
    ResetGmake();
    ResetGmake3(1);
    store_reset(store2);
    if (estimated <= 1 && (work.empty() || !ascii_cyrillic[static_cast<unsigned char>(work[0])])) return;

    // The engine's scanner, into store 2, with the quotation marks out of the token characters
    // for the pass only (they get back what they were, as after a run of the engine).
    std::uint64_t stored = 0;
    {
        QuotesOutOfTokens quotes;
        Tokeniser t;
        tok_begin(t, work, static_cast<std::int32_t>(lead), store2, SoftHyphenWarning::Never);
        const std::uint64_t every = static_cast<std::uint64_t>(std::max<std::int32_t>(respond_token, 1));
        while (tok_next(t) == 1) {
            tok_release(t);
            if (stored % kProgressEvery == 0 && estimated > kProgressFrom)
                SetWindowTextA(label, progress_line(stored, estimated));
            ++stored;
            if (stored % every == 0) {
                UpdateWindow(hMain);
                unfreeze();
            }
        }
        tok_finish(t);
        if (stored > 1) RE_EmptyUndoBuffer(source);
    }

    export_sorted_tokens_and_spaces(sen_floor2, sen_nd2, "DOWN");
    const std::string note = gl_REPEATED_PARTS ? export_duplicate_strings(sen_floor2, sen_nd2) : std::string();
    if (stored > 1)
        SetWindowTextA(label, with_timing_note(statistics_line(stored, estimated, malsen2.used(), malsen2c.used(),
                                                               sen_floor2[0].gap == glZero),
                                               note));
    else if (!note.empty())
        SetWindowTextA(label, note);
    RE_HideSelection(source, false);
}

}  // namespace

void translate_bgtext(HWND source, HWND status_label, std::string& work_text) {
    if (g_bg_pass_going) {
        g_bg_pass_asked_again = true;
        g_bg_pass_again_source = source;
        g_bg_pass_again_label = status_label;
        return;
    }
    g_bg_pass_going = true;
    run_pass(source, status_label, work_text);
    // A call that arrived meanwhile, with the panel kept as its caller would have kept it.
    while (g_bg_pass_asked_again) {
        g_bg_pass_asked_again = false;
        if (!IsWindow(g_bg_pass_again_source)) continue;
        const HWND re = g_bg_pass_again_source;
        const DWORD mask = RE_SetEventMask(re, 0);
        const CHARRANGE sel = RE_GetSel(re);
        const POINT scroll = RE_GetScrollPos(re);
        std::string text;
        run_pass(re, g_bg_pass_again_label, text);
        RE_SetSel(re, sel);
        RE_SetScrollPos(re, scroll);
        RE_SetEventMask(re, mask);
    }
    g_bg_pass_going = false;
    tell_write_failures(IsWindow(hBgText) ? hBgText : hMain);  // the exports that could not be written, by name
}

void reset_bgtext_pass() {
    g_bg_pass_going = false;
    g_bg_pass_asked_again = false;
    g_bg_pass_again_source = HWND{};
    g_bg_pass_again_label = HWND{};
}
