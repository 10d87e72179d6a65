#include "windows/checker_context_menu.h"

#include <array>

#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "lexicon/wordclass.h"
#include "platform/richedit.h"
#include "platform/text_literal.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/checker_layout.h"
#include "windows/checker_state.h"
#include "windows/filing_buttons.h"

namespace {

constexpr LONG kMostChars = 1'023;  // the longest selection taken
constexpr auto kNoText = "Не сте избрали текст. Опитайте пак."_cp;
constexpr auto kTooLong = "Текстът, които искате да добавите е прекалено дълъг."_cp;
constexpr auto kTwoTabs = "Повече от една табулация! Оправете текста и опитайте пак."_cp;
constexpr int kGtrWidth = 960, kGtrHeight = 720;  // "Gtr": the window's size

// What a right click on a control does.
enum class Hit : std::uint8_t {
    Panel,        // the shared rich-edit popup
    FilingRight,  // the button's right-click filing call or second popup
    LookUp,       // "C": the word at the right panel's caret
    Refresh,      // the same look-up, forced; the click goes on to the default handling
    Entries,      // "инфо": the word-class entries of the selection
    EntriesHard,  // "h": the same, then filing into the hard-word list and the look-up
    HalfSize,     // the upper label: the left panel at half the width
    GtrSize,      // "Gtr": the window at 960 x 720
    Wider,        // "bbc": the left panel 2 pixels wider
    Narrower,     // "nyt": the left panel 2 pixels narrower
};

struct HitTest {
    int id;
    Hit hit;
};

// The controls in the order they are tested.
constexpr std::array kHitTests{
    HitTest{1170, Hit::Panel},  HitTest{1171, Hit::Panel},  HitTest{1173, Hit::Panel},
    // the filing buttons' second lists
    HitTest{1275, Hit::FilingRight}, HitTest{1294, Hit::FilingRight}, HitTest{1317, Hit::FilingRight},
    HitTest{1283, Hit::FilingRight}, HitTest{1284, Hit::FilingRight}, HitTest{1292, Hit::FilingRight},
    HitTest{1300, Hit::FilingRight}, HitTest{1299, Hit::FilingRight}, HitTest{1304, Hit::FilingRight},
    HitTest{1290, Hit::FilingRight}, HitTest{1301, Hit::FilingRight}, HitTest{1305, Hit::FilingRight},
    HitTest{1298, Hit::FilingRight}, HitTest{1310, Hit::FilingRight}, HitTest{1303, Hit::FilingRight},
    HitTest{1318, Hit::FilingRight}, HitTest{1307, Hit::FilingRight}, HitTest{1312, Hit::FilingRight},
    HitTest{1288, Hit::FilingRight}, HitTest{1306, Hit::FilingRight}, HitTest{1289, Hit::FilingRight},
    HitTest{1308, Hit::FilingRight}, HitTest{1291, Hit::FilingRight}, HitTest{1309, Hit::FilingRight},
    HitTest{1302, Hit::FilingRight}, HitTest{1273, Hit::FilingRight}, HitTest{1293, Hit::FilingRight},
    // the popup buttons' second popups
    HitTest{1296, Hit::FilingRight}, HitTest{1297, Hit::FilingRight}, HitTest{1315, Hit::FilingRight},
    // the name lists and "h3"
    HitTest{1277, Hit::FilingRight}, HitTest{1278, Hit::FilingRight}, HitTest{1280, Hit::FilingRight},
    HitTest{1281, Hit::FilingRight}, HitTest{1279, Hit::FilingRight}, HitTest{1282, Hit::FilingRight},
    HitTest{1321, Hit::FilingRight},
    HitTest{1295, Hit::LookUp},   HitTest{1263, Hit::Refresh}, HitTest{1272, Hit::Entries},
    HitTest{1274, Hit::EntriesHard}, HitTest{1276, Hit::HalfSize}, HitTest{1214, Hit::GtrSize},
    HitTest{1217, Hit::Wider},    HitTest{1216, Hit::Narrower},
};

bool translation_mode() {
    return gl_MACHINE_TRANSLATION == 1 || gl_ENGLISH_TRANSLATION == 1 || gl_CORPUS_TRANSLATION == 1;
}

// The look-up of the word at the right panel's caret; the translation modes show the bottom
// panel's selection.
void look_up_right_panel() {
    GetCleanToken(hBigReRight, 1);
    if (translation_mode()) RE_HideSelection(hBigReBot, false);
}

void oops(HWND dlg, std::string_view text) { MessageBoxA(dlg, text, "Oops!", MB_OK | MB_ICONERROR); }

// The selection as an English key: hyphenated line breaks joined, other line breaks, tabs and
// runs of blanks one blank, 0x92 an apostrophe, blanks '_'. False for two tabs in a row (told
// once until "clr").
bool selection_key(HWND dlg, std::string& key) {
    const std::string text = RE_GetTextEx(hBigReRight, CP_1251, GT_SELECTION);
    key.clear();
    for (char c : text) {
        if (c == '\n') continue;
        if (c == '\r')
            if (!key.empty() && key.back() == '-') continue;
        key += c == '\r' ? ' ' : c;
    }
    if (key.find("\t\t") != std::string::npos) {
        if (!gl_fg_Poveche_ot_edna_tabulacia) oops(dlg, kTwoTabs);
        gl_fg_Poveche_ot_edna_tabulacia = 1;
        return false;
    }
    for (char& c : key) {
        if (c == '\t') c = ' ';
        if (static_cast<unsigned char>(c) == 0x92) c = '\'';
    }
    remove_extra_spaces(key);
    for (char& c : key)
        if (c == ' ') c = '_';
    return true;
}

}  // namespace

void word_class_entries_of_selection(HWND dlg, bool then_hard) {
    if (!translation_mode() && gl_PRINT_DOWN == 0) return;
    const HWND target = gl_PRINT_DOWN ? hBigReBot : hBigReLeft;
    const CHARRANGE sel = RE_GetSel(hBigReRight);
    if (sel.cpMax <= sel.cpMin) return oops(dlg, kNoText);
    if (sel.cpMax - sel.cpMin > kMostChars) return oops(dlg, kTooLong);
    std::string key;
    if (!selection_key(dlg, key)) return;
    if (key.empty() || !ascii_latin[static_cast<unsigned char>(key[0])]) return;

    std::string entries;
    concatenate_c_words(key, entries, 1);
    CHARRANGE end{};
    SelectReEnd(target, end);
    JuxShowMessage(target, entries, 2);
    RE_SetSel(target, CHARRANGE{end.cpMin, end.cpMin + static_cast<LONG>(entries.size())});

    if (then_hard) {
        PL_SendCommand(dlg, 1274);
        look_up_right_panel();
    }
}

INT_PTR checker_context_menu(HWND dlg, const Msg& m) {
    const int x = m.pt.x, y = m.pt.y;
    for (const HitTest& t : kHitTests) {
        const HWND control = GetDlgItem(dlg, t.id);
        if (t.hit == Hit::Panel) {
            if (IsThisRETheContext(dlg, control, hMenuPopupAll, x, y)) return 1;
            continue;
        }
        if (!IsThisRETheContextNoMenu(dlg, control, x, y)) continue;
        switch (t.hit) {
            case Hit::Panel:
                break;
            case Hit::FilingRight:
                if (const FilingButton* b = filing_button(t.id)) make_filing_call(dlg, b->right, POINT{x, y});
                return 1;
            case Hit::LookUp:
                look_up_right_panel();
                return 1;
            case Hit::Refresh:
                // The forced look-up, after which the click goes on to the tests below and the
                // default handling.
                gl_inc_method = 1;
                look_up_right_panel();
                gl_inc_method = 0;
                break;
            case Hit::Entries:
            case Hit::EntriesHard:
                word_class_entries_of_selection(dlg, t.hit == Hit::EntriesHard);
                return 1;
            case Hit::HalfSize:
                size_big_half(dlg);
                InvalidateRect(dlg, true);
                return 1;
            case Hit::GtrSize:
                SetWindowPos(dlg, HWND{}, 0, 0, kGtrWidth, kGtrHeight, SWP_NOMOVE | SWP_NOZORDER);
                return 1;
            case Hit::Wider:
                size_big_less(dlg, -2);
                return 1;
            case Hit::Narrower:
                size_big_less(dlg, 2);
                return 1;
        }
    }
    return 0;
}
