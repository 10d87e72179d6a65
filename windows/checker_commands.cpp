#include "windows/checker_commands.h"
#include "windows/correction_click.h"

#include <utility>

#include "engine/run/run.h"
#include "engine/token_store.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "resources/checker.h"
#include "resources/resources.h"
#include "shell/files.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/window_state.h"
#include "windows/checker_file_commands.h"
#include "windows/checker_state.h"
#include "windows/find_replace_window.h"
#include "windows/info_window.h"

namespace {

constexpr LONG kCaseMostChars = 1'023;    // the case command's longest selection
constexpr LONG kFindLeastChars = 2;       // selections the find box takes
constexpr LONG kFindMostChars = 127;
constexpr std::u16string_view kBgTextTitle = u"Български текст";
constexpr int IDC_BGTEXT_STATUS = 1304;   // the Bulgarian-text window's status field

bool checked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
std::int8_t state(HWND dlg, int id) { return checked(dlg, id) ? 1 : 0; }

bool translation_mode() {
    return gl_MACHINE_TRANSLATION == 1 || gl_ENGLISH_TRANSLATION == 1 || gl_CORPUS_TRANSLATION == 1;
}

void enable_main_window_buttons(bool enable) {
    EnableWindow(GetDlgItem(hMain, IDC_ADD_BIG_SPELL), enable);
    EnableWindow(GetDlgItem(hMain, IDC_ADD_BIG_TRANS), enable);
}

// One undo or redo step in the right panel, which tells nobody about it: the text it gives back
// starts no run.
void undo_step(bool redo) {
    const DWORD mask = RE_SetEventMask(hBigReRight, 0);
    if (redo)
        RE_Redo(hBigReRight);
    else
        RE_Undo(hBigReRight);
    RE_SetEventMask(hBigReRight, mask);
    SetFocus(hBigReRight);
}

// "Paste": the clipboard's text in place of the whole text, then one run by Refresh. With no
// text on the clipboard, or more than the panel holds, the user's text stays as it is.
void paste_clipboard(HWND dlg) {
    const std::optional<std::u16string> text = PL_GetClipboardTextW();
    if (!text || text->empty()) return;
    if (text->size() > static_cast<std::size_t>(BIG_PANEL_LIMIT)) {
        MessageBoxA(hMain,
                    jux_format("The text on the clipboard is too large (%zu characters); the panel holds at most %ld.",
                               text->size(), static_cast<long>(BIG_PANEL_LIMIT)),
                    "Oops!", MB_OK | MB_ICONERROR);
        return;
    }
    PL_SendCommand(dlg, IDC_BIG_CLEAR);
    // The paste itself starts no run: Refresh runs the one check.
    const DWORD mask = RE_SetEventMask(hBigReRight, RE_GetEventMask(hBigReRight) & ~DWORD{ENM_CHANGE});
    RE_SetSel(hBigReRight, CHARRANGE{0, -1});
    RE_ReplaceSel(hBigReRight, *text);
    RE_SetEventMask(hBigReRight, mask);
    PL_SendCommand(dlg, IDC_BIG_REFRESH);
}

// The find command: the find-and-replace window, opened when needed, shows the position of the
// selection and takes its text as the find text.
void find_command(HWND dlg) {
    if (!open_find_replace_window(dlg)) return;
    show_in_find_replace_window(find_position_label(hBigReRight),
                                cp1251_to_utf16(find_text_of_selection(hBigReRight)));
}

// A file dropped on the right panel: real-time and clipboard checking go off, "On" and the
// clickable report come on, and the loaded text is checked once. A drop during the window's own
// run waits for its end: loading would replace the text and the line-end state under the run.
void drop_on_right_panel(HWND dlg, const Msg& m) {
    if (big_run_going) {
        big_drop_after_run = m;
        return;
    }
    const HWND focus = GetFocus();
    SetFocus(hBgTextRe);
    prepare_for_file(dlg);
    dropped_file(&m, hBigReRight);
    if (focus) SetFocus(focus);
    SetForegroundWindow(GetParent(hBigReLeft));
}

}  // namespace

namespace {

// The window's own run over the right panel, with everything round it.
void run_over_right_panel(HWND dlg) {
    // Only a drop of a file still reaches the window while the run goes: it is served after it.
    const DWORD mask = RE_GetEventMask(hBigReRight);
    RE_SetEventMask(hBigReRight, mask & ENM_DROPFILES);
    enable_main_window_buttons(false);
    gl_search_start = 0;
    if (GetFocus() == hBigReRight) SetFocus(hBigLabel);
    big_run_going = true;
    // translate_panel gives the run its two buffers and keeps the selection and scroll position.
    translate_panel(dlg, hBigReRight, hBigReLeft, hBigLabel, "debug_IDC_BIG_RE_RIGHT");
    big_run_going = false;
    if (GetFocus() == hBigLabel) SetFocus(hBigReRight);
    enable_main_window_buttons(true);
    RE_SetEventMask(hBigReRight, mask);
    // "clr" pressed meanwhile: what the run wrote after it does not stay, unless a text typed since
    // has been checked in its turn.
    if (std::exchange(big_cleared_during_run, false) && IsWindow(dlg) && RE_GetTextLength(hBigReRight) == 0)
        clear_checker(dlg);
    if (!big_drop_after_run) return;
    const Msg drop = std::move(*big_drop_after_run);
    big_drop_after_run.reset();
    if (IsWindow(dlg) && IsWindow(hBigReRight)) drop_on_right_panel(dlg, drop);
}

}  // namespace

void check_right_panel(HWND dlg) {
    if (gl_info_printed) {
        gl_info_printed = 0;
        return;
    }
    if (RE_GetTextLength(hBigReRight) == 0) return;
    // This window's own run is going, pumping messages: it serves this one after it, under its
    // silence and with its buttons.
    if (big_run_going) {
        translate_panel(dlg, hBigReRight, hBigReLeft, hBigLabel, "debug_IDC_BIG_RE_RIGHT");
        return;
    }
    // Another window's run is going (the main window's look-up): this window's run follows once it
    // has ended and the program is back in its message loop, as a run of the window's own.
    if (translate_text_running()) {
        if (!std::exchange(big_run_waiting, true)) PL_PostWhenIdle(dlg, Msg::simple(WM_BIG_WAITING_RUN));
        return;
    }
    run_over_right_panel(dlg);
}

void serve_waiting_run(HWND dlg) {
    if (!std::exchange(big_run_waiting, false) || RE_GetTextLength(hBigReRight) == 0) return;
    // Delivered by a loop inside a run after all (a message box of that run): that run serves it.
    if (translate_text_running()) {
        translate_panel(dlg, hBigReRight, hBigReLeft, hBigLabel, "debug_IDC_BIG_RE_RIGHT");
        return;
    }
    run_over_right_panel(dlg);
}

void prepare_for_file(HWND dlg) {
    set_checker_on(dlg, true);
    CheckDlgButton(dlg, IDC_BIG_REALTIME, BST_UNCHECKED);
    gl_REAL_TIME = 0;
    CheckDlgButton(dlg, IDC_BIG_SPELLCLIP, BST_UNCHECKED);
    gl_TRANSLATE_CLIPBOARD = 0;
    RE_SetEventMask(hBigReLeft, RE_GetEventMask(hBigReLeft) | ENM_MOUSEEVENTS);
}

void set_checker_on(HWND dlg, bool on) {
    CheckDlgButton(dlg, IDC_BIG_ACTIVE, on ? BST_CHECKED : BST_UNCHECKED);
    gl_BIG_ACTIVE = on ? 1 : 0;
    RE_SetEventMask(hBigReLeft, on ? BIG_LEFT_ACTIVE_MASK : 0);
    SetFocus(hBigReLeft);
}

void clear_checker(HWND dlg) {
    if (big_run_going) big_cleared_during_run = true;
    const HWND panels[] = {hBigReRight, hBigReLeft, hBigReBot};
    DWORD masks[3];
    for (int i = 0; i < 3; ++i) masks[i] = RE_SetEventMask(panels[i], 0);
    for (HWND re : panels) RE_SetTextW(re, u"");
    for (int i = 0; i < 3; ++i) RE_SetEventMask(panels[i], masks[i]);
    SetWindowTextW(dlg, JUXtitleCurrentBig);
    SetWindowTextW(hBigLabel, u"");
    SetWindowTextW(hBigLabelUp, u"");
    if (IsWindow(hBgText) && RE_GetTextLength(hBgTextRe) == 0) {
        SetWindowTextW(hBgText, kBgTextTitle);
        SetDlgItemTextW(hBgText, IDC_BGTEXT_STATUS, u"");
    }
    SetFocus(hBigReRight);
    gl_fg_Poveche_ot_edna_tabulacia = 0;
}

void toggle_first_letter_case(HWND re) {
    if (!IsWindow(re) || PL_GetControlKind(re) != ControlKind::RichEdit) return;
    const CHARRANGE sel = RE_GetSel(re);
    const LONG n = sel.cpMax - sel.cpMin;
    if (n <= 0 || n > kCaseMostChars) return;
    std::u16string text = RE_GetSelText(re);
    if (text.empty()) return;
    char16_t& c = text[0];
    if (c >= u'\u0410' && c <= u'\u042F')
        c = static_cast<char16_t>(c + 0x20);
    else if (c >= u'\u0430' && c <= u'\u044F')
        c = static_cast<char16_t>(c - 0x20);
    else
        c = u16_isupper(c) ? u16_tolower(c) : u16_toupper(c);
    RE_ReplaceSel(re, text);
    SetFocus(re);
    RE_SetSel(re, sel);
    SetFocus(re);
}

int word_number_at(LONG p) {
    const SenToken* first = sen_floorR;
    const SenToken* end = sen_ndR;
    if (!first || first == end) return 0;
    for (const SenToken* r = first; r < end; ++r) {
        if (r->pos < p) continue;
        const int w = static_cast<int>(r - first);
        return r->pos > p ? w - 1 : w;
    }
    // A caret inside or after the last word is in that word.
    return static_cast<int>(end - first) - 1;
}

std::u16string find_position_label(HWND right) {
    const LONG p = RE_GetSel(right).cpMin;
    return cp1251_to_utf16(jux_format("%s %d %s %d", utf8_to_cp1251("позиция:").c_str(), static_cast<int>(p),
                                      utf8_to_cp1251("дума:").c_str(), word_number_at(p)));
}

std::string find_text_of_selection(HWND right) {
    const CHARRANGE sel = RE_GetSel(right);
    const LONG n = sel.cpMax - sel.cpMin;
    if (n < kFindLeastChars || n > kFindMostChars) return {};
    const std::string text = RE_GetTextEx(right, CP_1251, GT_SELECTION);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (!out.empty() && out.back() == '-') continue;
            out += ' ';
        } else {
            out += c;
        }
    }
    remove_extra_spaces(out);
    return out;
}

bool checker_panel_command(HWND dlg, int id, INT_PTR& result) {
    result = 0;
    switch (id) {
        case IDC_BIG_REFRESH:
            EnableWindow(hBigRefresh, false);
            PL_SendCommand(dlg, IDC_BIG_RE_RIGHT, EN_CHANGE, hBigReRight);
            EnableWindow(hBigRefresh, true);
            SetFocus(hBigReLeft);
            result = 1;
            return true;
        case IDC_BIG_CLEAR:
            clear_checker(dlg);
            return true;
        case IDC_BIG_ACTIVE:
            set_checker_on(dlg, checked(dlg, IDC_BIG_ACTIVE));
            return true;
        case IDC_BIG_REALTIME: {
            const DWORD mask = RE_GetEventMask(hBigReRight);
            gl_REAL_TIME = state(dlg, IDC_BIG_REALTIME);
            RE_SetEventMask(hBigReRight, gl_REAL_TIME ? (mask | ENM_CHANGE) : (mask & ~DWORD{ENM_CHANGE}));
            SetFocus(hBigReRight);
            return true;
        }
        case IDC_BIG_SPELLCLIP:
            gl_TRANSLATE_CLIPBOARD = state(dlg, id);
            SetFocus(hBigReRight);
            return true;
        case IDC_BIG_COLORING:
            gl_TEXT_COLORING = state(dlg, id);
            SetFocus(hBigReRight);
            return true;
        case IDC_BIG_LATIN:
            gl_PARSE_LATIN_WORDS = state(dlg, id);
            SetFocus(hBigReRight);
            return true;
        case IDC_BIG_COLOR_RARE:
            gl_COLOR_RARE = state(dlg, id);
            ShowWindow(hBigColors, gl_COLOR_RARE ? SW_SHOW : SW_HIDE);
            SetFocus(hBigReRight);
            return true;
        case IDC_BIG_UPPERCASE:
            gl_SPELL_UPPERCASE = state(dlg, id);
            SetFocus(hBigReRight);
            return true;
        case IDC_BIG_WRAP:
            RE_SetWordWrap(hBigReRight, checked(dlg, id));
            return true;
        case IDC_BIG_UNDO:
        case IDC_BIG_REDO:
            undo_step(id == IDC_BIG_REDO);
            result = 1;
            return true;
        case IDC_BIG_PASTE:
            paste_clipboard(dlg);
            return true;
        case IDC_BIG_CAPITALIZE:
            toggle_first_letter_case(hReFocus);
            return true;
        case IDC_BIG_FIND_REPLACE:
            find_command(dlg);
            result = 1;
            return true;
        case IDC_BIG_INFO:
            open_info_window();
            return true;
        case IDC_BIG_NOV:
            // The printed dictionary's page of the word last taken from the report.
            SetFocus(hReFocus);
            show_nov(gl_novstartw);
            return true;
        default:
            return false;
    }
}

INT_PTR checker_notify(HWND dlg, const Msg& m) {
    const HWND panel = m.from;
    if (m.code == EN_MSGFILTER && m.filter_msg == WM_LBUTTONUP &&
        (panel == hBigReRight || panel == hBigReLeft || panel == hBigReBot))
        hReFocus = panel;
    if (panel == hBigReRight) {
        switch (m.code) {
            case EN_SELCHANGE:
                GetCleanToken(hBigReRight, 1);
                if (translation_mode()) RE_HideSelection(hBigReBot, false);
                break;
            case EN_MSGFILTER:
                if (m.filter_msg == WM_LBUTTONDOWN) {
                    if (gl_REAL_TIME == 0)
                        RE_SetEventMask(hBigReRight, RE_GetEventMask(hBigReRight) & ~DWORD{ENM_CHANGE});
                    RE_HideSelection(hBigReRight, false);
                }
                break;
            case EN_DROPFILES:
                drop_on_right_panel(dlg, m);
                break;
            default:
                break;
        }
    } else if (panel == hBigReBot) {
        if (m.code == EN_SELCHANGE) GetCleanToken(hBigReBot, 1);
        // Shown there only: the checker's Save still writes the text's own file, with its line ends.
        if (m.code == EN_DROPFILES) load_beside_checker_file(m, hBigReBot);
    }
    if (panel == hBigReLeft) correction_click_notify(dlg, m);
    return 0;
}
