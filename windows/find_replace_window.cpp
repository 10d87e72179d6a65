#include "windows/find_replace_window.h"

#include <algorithm>
#include <vector>

#include "platform/richedit.h"
#include "platform/text.h"
#include "resources/resources.h"
#include "resources/text_windows.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/checker_commands.h"
#include "windows/control_handles.h"
#include "windows/secondary_panels.h"

HWND hRepl;
HWND hReplLab;
HWND hReplReFind;
HWND hReplReRepl;
HWND hReplWhole;
HWND hReplCase;
HWND hReplUp;
std::int32_t gl_repl_start = 0;
std::int32_t gl_replall_ct = 0;

namespace {

constexpr POINT kPlace{770, 400};   // where a new window opens (screen pixels)
constexpr int kLinesAboveMatch = 10;  // a shown match has this many lines above it

const ControlHandle kHandles[]{
    {IDC_REPL_RE_LAB, &hReplLab}, {IDC_REPL_RE_FIND, &hReplReFind}, {IDC_REPL_RE_REPL, &hReplReRepl},
    {IDC_REPL_WHOLE, &hReplWhole}, {IDC_REPL_CASE, &hReplCase}, {IDC_REPL_UP, &hReplUp},
};

bool checked(HWND box) { return Button_GetCheck(box) == BST_CHECKED; }
bool searching_up() { return checked(hReplUp); }

void set_label(std::u16string_view text) { SetWindowTextW(hReplLab, text); }

std::u16string not_found_label() {
    return searching_up() ? u"Нагоре не е намерено." : u"Надолу не е намерено.";
}

DWORD find_flags() {
    DWORD f = searching_up() ? 0 : DWORD{FR_DOWN};
    if (checked(hReplWhole)) f |= FR_WHOLEWORD;
    if (checked(hReplCase)) f |= FR_MATCHCASE;
    return f;
}

// Selects the match and shows it with ten lines above its line.
void show_match(CHARRANGE match) {
    RE_SetSel(hBigReRight, match);
    RE_ScrollCaret(hBigReRight);
    RE_Scroll(hBigReRight, SB_TOP);
    const int line = RE_LineFromChar(hBigReRight, match.cpMin);
    if (line > kLinesAboveMatch) RE_LineScroll(hBigReRight, line - kLinesAboveMatch);
}

// Where a search starts: a bare caret restarts it there, a selection (the last match) keeps the
// position the last search left.
void take_caret() {
    const CHARRANGE sel = RE_GetSel(hBigReRight);
    if (sel.cpMin == sel.cpMax) gl_repl_start = sel.cpMin;
}

// Find Next: true when a match was found and selected.
bool find_next() {
    const std::u16string what = RE_GetTextW(hReplReFind);
    if (what.empty()) return false;
    if (!IsWindow(hBigReRight)) {
        set_label(not_found_label());
        return false;
    }
    const DWORD mask = RE_SetEventMask(hBigReRight, RE_GetEventMask(hBigReRight) & ~DWORD{ENM_SELCHANGE});
    take_caret();
    const std::optional<CHARRANGE> found =
        RE_FindText(hBigReRight, find_flags(), CHARRANGE{gl_repl_start, -1}, what);
    if (!found) {
        gl_repl_start = 0;
        set_label(not_found_label());
    } else {
        gl_repl_start = searching_up() ? found->cpMin : found->cpMax;
        show_match(*found);
        set_label(find_position_label(hBigReRight));
    }
    RE_SetEventMask(hBigReRight, mask);
    return found.has_value();
}

// Replace: a selection equal to the find text (folded unless "Match case") is replaced, as one
// undo step; a bare caret is never taken for a match. The caret is left on the side the search
// goes on from, so that the replacement is not searched again. Then Find Next.
void replace_once() {
    if (IsWindow(hBigReRight)) {
        const std::u16string sel = RE_GetSelText(hBigReRight);
        const std::u16string what = RE_GetTextW(hReplReFind);
        const bool equal = !sel.empty() && (checked(hReplCase) ? sel == what : u16_casecmp(sel, what) == 0);
        if (equal) {
            const LONG start = RE_GetSel(hBigReRight).cpMin;
            const DWORD mask = RE_SetEventMask(hBigReRight, RE_GetEventMask(hBigReRight) & ~DWORD{ENM_CHANGE});
            RE_ReplaceSel(hBigReRight, RE_GetTextW(hReplReRepl), true);
            if (searching_up()) RE_SetSel(hBigReRight, CHARRANGE{start, start});
            RE_SetEventMask(hBigReRight, mask | ENM_CHANGE);
        }
    }
    find_next();
}

// Every match from the selection on, up to `end` (down: matches ending at or before it; -1: the
// end of the text), replaced in one step. The search starts at the selection's start (down) or
// end (up), so that a match that a Find Next has just selected is replaced too; a bare caret
// starts it at the caret. Text a replacement put in is never searched again, and a match at the
// very start is replaced as well. `started` receives where the search began. Returns the count.
std::int32_t replace_run(LONG end, LONG* started = nullptr) {
    const std::u16string what = RE_GetTextW(hReplReFind);
    if (what.empty() || !IsWindow(hBigReRight)) {
        if (!what.empty()) set_label(not_found_label());
        return 0;
    }
    const DWORD flags = find_flags();
    const bool up = searching_up();
    const CHARRANGE sel = RE_GetSel(hBigReRight);
    LONG at = up ? sel.cpMax : sel.cpMin;
    if (started) *started = at;
    std::vector<CHARRANGE> matches;
    while (const std::optional<CHARRANGE> m = RE_FindText(hBigReRight, flags, CHARRANGE{at, up ? -1 : end}, what)) {
        matches.push_back(*m);
        at = up ? m->cpMin : m->cpMax;
    }
    if (up) std::reverse(matches.begin(), matches.end());
    const DWORD mask = RE_SetEventMask(hBigReRight, RE_GetEventMask(hBigReRight) & ~DWORD{ENM_CHANGE});
    const std::size_t made = RE_ReplaceRanges(hBigReRight, matches, RE_GetTextW(hReplReRepl), true);
    RE_SetEventMask(hBigReRight, mask);
    // Searching up, the caret stays before the last replacement made (the first in the text).
    if (up && made == matches.size() && made > 0)
        RE_SetSel(hBigReRight, CHARRANGE{matches.front().cpMin, matches.front().cpMin});
    // The search that ended the run found nothing more.
    gl_repl_start = 0;
    set_label(not_found_label());
    return static_cast<std::int32_t>(made);
}

void replace_all() {
    if (!IsWindow(hBigReRight)) {
        replace_run(-1);
        return;
    }
    const DWORD mask = RE_SetEventMask(hBigReRight, RE_GetEventMask(hBigReRight) & ~DWORD{ENM_SELCHANGE});
    const LONG s = RE_GetSel(hBigReRight).cpMin;
    const bool up = searching_up();
    LONG started = 0;
    gl_replall_ct = replace_run(-1, &started);
    const std::u16string label = utf8_to_utf16("Брой замени от позиция " + std::to_string(s) + " " +
                                               (up ? "до началото: " : "до края: ") + " " +
                                               std::to_string(gl_replall_ct));
    set_label(label);
    if (up) {
        MessageBoxW(HWND{}, label, u"Done!", MB_OK | MB_ICONINFORMATION);
    } else if (s > 0) {
        const std::u16string question =
            label + u"\r\n\r\nИскате ли да продължите търсенето и заместването в останалата част от текста?\r\n\r\n";
        if (MessageBoxW(HWND{}, question, u"", MB_YESNO | MB_ICONQUESTION) == IDYES) {
            // The rest of the text: from its start to where the first run began; the first run
            // changed nothing before that point.
            RE_SetSel(hBigReRight, CHARRANGE{0, 0});
            gl_replall_ct = replace_run(started);
            const std::u16string rest =
                utf8_to_utf16("Брой замени в останалата част от текста:  " + std::to_string(gl_replall_ct));
            set_label(rest);
            MessageBoxW(HWND{}, rest, u"Done!", MB_OK | MB_ICONINFORMATION);
        }
    }
    RE_SetEventMask(hBigReRight, mask);
}

void init(HWND dlg) {
    gl_repl_start = 0;
    gl_replall_ct = 0;
    fetch_control_handles(dlg, kHandles, [](int id) { return control_name(find_replace_controls(), id); });
    for (HWND field : {hReplReFind, hReplReRepl}) {
        RE_SetBackgroundColor(field, bkgcolor1);
        // The fields answer clicks as every panel of the secondary windows does.
        RE_SetEventMask(field, ENM_MOUSEEVENTS);
    }
}

void forget(HWND dlg) {
    if (hRepl != dlg) return;
    if (hReFocus && GetParent(hReFocus) == dlg) hReFocus = HWND{};
    hRepl = HWND{};
    forget_control_handles(kHandles);
}

// Keeps a window that opens at `p` on the screen.
POINT on_screen(HWND w, POINT p) {
    const RECT wa = PL_GetWorkArea();
    const RECT r = GetWindowRect(w);
    p.x = std::max(wa.left, std::min<LONG>(p.x, wa.right - r.width()));
    p.y = std::max(wa.top, std::min<LONG>(p.y, wa.bottom - r.height()));
    return p;
}

}  // namespace

INT_PTR DialogRepl(HWND dlg, const Msg& m) {
    switch (m.message) {
        case WM_INITDIALOG:
            hRepl = dlg;
            init(dlg);
            return 0;
        case WM_COMMAND:
            if (secondary_popup_command(static_cast<UINT>(m.id))) return 0;
            switch (m.id) {
                case IDC_REPL_FIND_NEXT:
                    find_next();
                    return 0;
                case IDC_REPL_REPLACE:
                    replace_once();
                    return 0;
                case IDC_REPL_ALL:
                    replace_all();
                    return 0;
                case IDC_REPL_CANCEL:
                    DestroyWindow(dlg);
                    return 1;
                default:
                    return 0;
            }
        case WM_NOTIFY:
            track_focus_pane(m, {hReplReFind, hReplReRepl});
            return 0;
        case WM_CONTEXTMENU:
            return secondary_context_menu(dlg, {hReplReFind, hReplReRepl}, m.pt);
        case WM_CLOSE:
            DestroyWindow(dlg);
            return 1;
        case WM_DESTROY:
            forget(dlg);
            return 0;
        default:
            return 0;
    }
}

HWND open_find_replace_window(HWND owner) {
    if (!IsWindow(hRepl)) {
        register_text_window_templates();
        CreateDialogParamW(IDD_REPL, owner, DialogRepl);
        if (!IsWindow(hRepl)) return HWND{};
        SetWindowTextW(hRepl, u"Търсене");
        const POINT p = on_screen(hRepl, kPlace);
        SetWindowPos(hRepl, HWND_NOTOPMOST, p.x, p.y, 0, 0, SWP_NOSIZE);
        ShowWindow(hRepl, SW_SHOW);
        UpdateWindow(hRepl);
    }
    return hRepl;
}

void show_in_find_replace_window(std::u16string_view label, const std::u16string& find_text) {
    set_label(label);
    if (!find_text.empty()) RE_SetTextW(hReplReFind, find_text);
    SetFocus(hReplReFind);
}

void reset_find_replace_window() {
    hRepl = hReplLab = hReplReFind = hReplReRepl = hReplWhole = hReplCase = hReplUp = HWND{};
    gl_repl_start = gl_replall_ct = 0;
}
