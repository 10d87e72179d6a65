#include "windows/char_table_window.h"

#include <algorithm>
#include <array>

#include "platform/richedit.h"
#include "platform/text.h"
#include "resources/secondary.h"
#include "shell/files.h"
#include "shell/strings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/secondary_windows.h"

HWND hAscii;
HWND hAsciiEdit;
HWND hAsciiList;
HWND hAsciiReUtf8;

namespace {

// Names of the control characters 0 to 31; 127 is "Delete".
constexpr std::array<const char*, 32> kControlNames{
    "Null character",      "Start of Header",      "Start of Text",        "End of Text",
    "End of Transmission", "Enquiry",              "Acknowledgment",       "Bell (\\a)",
    "Backspace (\\b)",     "Horizontal Tab (\\t)", "Line feed (\\n)",      "Vertical Tab (\\v)",
    "Form feed (\\f)",     "Carriage return (\\r)", "Shift Out",           "Shift In",
    "Data Link Escape",    "Device Control 1",     "Device Control 2",     "Device Control 3",
    "Device Control 4",    "Negative Acknowledgement", "Synchronous Idle", "End of Trans. Block",
    "Cancel",              "End of Medium",        "Substitute",           "Escape (\\e)",
    "File Separator",      "Group Separator",      "Record Separator",     "Unit Separator",
};
constexpr int kDelete = 127;

constexpr std::u16string_view kSpaceWarning =
    u"Parsing space (code 32) means \"sentence mode\" (consecutive words will be treated as one token).\r\n"
    u"You must AVER_LEN in settings.txt to 50 or more, otherwise the program will crash!\r\n"
    u"Also uncheck Noneng suggest and Spell check (very slow and useless for sentences).";

// Appends "%i " of the code at the end of the code list.
void add_code(int code) {
    std::u16string list = GetWindowTextW(hAsciiEdit);
    list += utf8_to_utf16(jux_format("%i ", code));
    SetWindowTextW(hAsciiEdit, list);
}

void add_selected() {
    std::vector<int> rows = ListBox_GetSelItems(hAsciiList);
    std::sort(rows.begin(), rows.end());
    for (int code : rows) {
        if (code == 0) {
            MessageBoxW(hMain, u"Zero is not allowed!", u"Oops!", MB_OK | MB_ICONERROR);
            continue;
        }
        if (code == 32) MessageBoxW(hMain, kSpaceWarning, u"WARNING!", MB_OK);
        add_code(code);
    }
}

void init_ascii(HWND dlg) {
    SetWindowTextW(dlg, u"ASCII table");
    hAsciiEdit = JUX_GetDlgItem(dlg, IDC_ASCII_EDIT, "IDC_ASCII_EDIT");
    hAsciiList = JUX_GetDlgItem(dlg, IDC_ASCII_LIST, "IDC_ASCII_LIST");
    hAsciiReUtf8 = JUX_GetDlgItem(dlg, IDC_ASCII_RE_UTF8, "IDC_ASCII_RE_UTF8");
    for (int code = 0; code < 256; ++code) ListBox_AddString(hAsciiList, cp1251_to_utf16(ascii_row_text(code)));

    RE_SetEventMask(hAsciiReUtf8, ENM_PROTECTED);
    RE_SetTextW(hAsciiReUtf8, utf8_table_text());
    CHARFORMAT2W protect;
    protect.dwMask = CFM_PROTECTED;
    protect.dwEffects = CFE_PROTECTED;
    RE_SetCharFormat(hAsciiReUtf8, SCF_ALL, protect);
    // The table is there to be read and copied from, not edited.
    RE_SetReadOnly(hAsciiReUtf8, true);
    RE_SetSel(hAsciiReUtf8, CHARRANGE{0, 0});
    RE_SetScrollPos(hAsciiReUtf8, POINT{0, 0});
    SetDlgItemTextW(dlg, IDC_ASCII_COUNT, utf8_to_utf16(jux_format("count: %d", UTF8_TABLE_LINES)));
}

void close_ascii(HWND dlg) { close_secondary_window(dlg, hAscii); }

}  // namespace

std::string ascii_row_text(int code) {
    std::string row = jux_format("(%X)  %i  ", code, code);
    if (code >= 0 && code < static_cast<int>(kControlNames.size())) {
        row += kControlNames[static_cast<std::size_t>(code)];
    } else if (code == kDelete) {
        row += "Delete";
    } else {
        row += static_cast<char>(code);
        row += ' ';
    }
    return row;
}

std::u16string utf8_table_text() {
    std::u16string t;
    t.reserve(UTF8_TABLE_LINES * 10);
    for (unsigned lead = 0xC2; lead <= 0xDF; ++lead)
        for (unsigned cont = 0x80; cont <= 0xBF; ++cont) {
            char l[3], c[3];
            ByteToHexLabel(static_cast<unsigned char>(lead), l);
            ByteToHexLabel(static_cast<unsigned char>(cont), c);
            t += utf8_to_utf16(jux_format("%s %s  ", l, c));
            t += u' ';
            t += static_cast<char16_t>(((lead & 0x1F) << 6) | (cont & 0x3F));
            t += u"\r\n";
        }
    return t;
}

INT_PTR DialogAscii(HWND dlg, const Msg& m) {
    switch (m.message) {
        case WM_INITDIALOG:
            init_ascii(dlg);
            return 0;
        case WM_COMMAND:
            switch (m.id) {
                case IDC_ASCII_ADD:
                    add_selected();
                    return 0;
                case IDC_ASCII_LIST:
                    if (m.code == LBN_DBLCLK)
                        if (const int row = ListBox_GetCurSel(hAsciiList); row >= 0) add_code(row);
                    return 0;
                case IDC_ASCII_CLEAR:
                    SetWindowTextW(hAsciiEdit, u"");
                    return 0;
                case IDC_ASCII_OK:
                    close_ascii(dlg);
                    return 0;
                case IDC_ASCII_CANCEL:
                    close_ascii(dlg);
                    return 1;
                default:
                    return 0;
            }
        case WM_CLOSE:
            close_ascii(dlg);
            return 1;
        case WM_DESTROY:
            if (hAscii == dlg) hAscii = HWND{};
            hAsciiEdit = hAsciiList = hAsciiReUtf8 = HWND{};
            return 0;
        default:
            return 0;
    }
}

HWND open_char_table_window() {
    open_secondary_window(hAscii, IDD_ASCII, DialogAscii);
    return hAscii;
}

void reset_char_table_window() { hAscii = hAsciiEdit = hAsciiList = hAsciiReUtf8 = HWND{}; }
