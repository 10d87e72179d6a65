#include "windows/input_window.h"

#include <array>

#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "resources/secondary.h"
#include "shell/panels.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/secondary_windows.h"

HWND hInput;
HWND hInputRe;
std::u16string gl_input;

namespace {

constexpr LONG kInputLimit = 0x7FFFFF;
constexpr std::size_t kNameLimit = 1024;  // a type name is compared as at most this many characters

// The keypad: each button inserts its text at the caret; a suffix button then submits.
struct KeypadButton {
    int id;
    const char* text;
    bool submits;
};
constexpr std::array<KeypadButton, 18> kKeypad{{
    {1228, "7", false}, {1229, "8", false}, {1230, "9", false}, {1225, "4", false}, {1226, "5", false},
    {1227, "6", false}, {1222, "1", false}, {1223, "2", false}, {1224, "3", false}, {1231, "0", false},
    {1220, "c", true},  {1221, "d", true},  {1218, "a", true},  {1219, "b", true},  {1015, "da", true},
    {1215, "da_", true}, {1216, "az", true}, {1217, "az_", true},
}};

void init_input(HWND dlg) {
    PL_SetWindowIcon(dlg, ICON_BIG, hicon32);
    SetWindowTextW(dlg, u" Input");
    hInputRe = JUX_GetDlgItem(dlg, IDC_INPUT_RE, "IDC_INPUT_RE");
    RE_SetBackgroundColor(hInputRe, bkgcolor1);
    RE_SetEventMask(hInputRe, ENM_MOUSEEVENTS);
    RE_LimitText(hInputRe, kInputLimit);
}

void close_input(HWND dlg) {
    gl_input.clear();
    close_secondary_window(dlg, hInput);
}

// OK: TRUE when the type was found and shown (the window is then closed).
INT_PTR submit(HWND dlg) {
    if (RE_GetTextLength(hInputRe) == 0) {
        MessageBoxW(hMain, u"Полето е празно, въведете тип (напр. 173da_ )", u"Oops!", MB_OK | MB_ICONERROR);
        return 0;
    }
    gl_input = RE_GetTextW(hInputRe, GT_USECRLF);
    const int row = find_bgtype_by_name(gl_input);
    if (row < 0) {
        std::u16string text = u"Не съществува тип \"";
        text += gl_input;
        text += u'"';
        gl_input.clear();
        MessageBoxW(hMain, text, u"Oops!", MB_OK | MB_ICONERROR);
        return 0;
    }
    PrintBgType(row);
    close_input(dlg);
    return 1;
}

}  // namespace

int find_bgtype_by_name(std::u16string_view name) {
    for (int i = 0; i < bgtypesct && i < BGTYPES; ++i) {
        std::u16string row = cp1251_to_utf16(bgtype_ar[static_cast<std::size_t>(i)].name);
        if (row.size() > kNameLimit) row.resize(kNameLimit);
        if (row == name) return i;
    }
    return -1;
}

INT_PTR DialogInput(HWND dlg, const Msg& m) {
    INT_PTR result = 0;
    if (secondary_panel_message(dlg, hInputRe, m, result)) return result;
    switch (m.message) {
        case WM_INITDIALOG:
            init_input(dlg);
            return 0;
        case WM_COMMAND:
            for (const KeypadButton& k : kKeypad)
                if (k.id == m.id) {
                    StringToRE(hInputRe, k.text);
                    return k.submits ? PL_SendCommand(dlg, IDC_INPUT_OK) : 0;
                }
            if (m.id == IDC_INPUT_OK) return submit(dlg);
            if (m.id == IDC_INPUT_CANCEL) {
                close_input(dlg);
                return 1;
            }
            return 0;
        case WM_CLOSE:
            close_input(dlg);
            return 1;
        case WM_DESTROY:
            if (hInput == dlg) hInput = HWND{};
            hInputRe = HWND{};
            return 0;
        default:
            return 0;
    }
}

HWND open_input_window() {
    open_secondary_window(hInput, IDD_INPUT, DialogInput);
    SetDlgItemTextW(hInput, IDC_INPUT_PROMPT, kInputPrompt);
    SetFocus(hInputRe);
    return hInput;
}

void reset_input_window() {
    hInput = hInputRe = HWND{};
    gl_input.clear();
}
