#include "windows/filing_buttons.h"

#include <array>

#include "dictionary/custom_words.h"
#include "lexicon/filing.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "shell/panels.h"
#include "shell/window_state.h"

namespace {

constexpr FilingCall wc(int row, int find_free_slot = 1, int lower_case = 0) {
    return FilingCall{FilingKind::WordClass, row, static_cast<std::int8_t>(find_free_slot),
                      static_cast<std::int8_t>(lower_case), 0, FilingPopup::C};
}
constexpr FilingCall rc(int row) { return wc(row, 0); }  // every right click: the given list
constexpr FilingCall cs(int row, int family) {
    return FilingCall{FilingKind::Corpus, row, 0, 0, static_cast<std::int8_t>(family), FilingPopup::C};
}
constexpr FilingCall popup(FilingPopup p) { return FilingCall{FilingKind::Popup, 0, 0, 0, 0, p}; }
constexpr FilingCall only(FilingKind k) { return FilingCall{k, 0, 0, 0, 0, FilingPopup::C}; }
constexpr FilingCall none() { return FilingCall{}; }

// id, left click, right click
constexpr std::array kButtons{
    FilingButton{1292, wc(0), rc(1)},        // n      c_c11 / c_c12
    FilingButton{1300, wc(9), rc(10)},       // n+     c_c21 / c_c22
    FilingButton{1299, wc(46), rc(47)},      // 2      c_two11 / c_two12
    FilingButton{1304, wc(58), rc(59)},      // 3      c_three11 / c_three12
    FilingButton{1290, wc(70), rc(71)},      // a      c_adj11 / c_adj12
    FilingButton{1301, wc(85), rc(86)},      // a+     c_adj21 / c_adj22
    FilingButton{1305, wc(109), rc(110)},    // a2     c_advadj11 / c_advadj12
    FilingButton{1302, wc(121), rc(122)},    // пос    c_adj_post11 / c_adj_post12
    FilingButton{1298, wc(133), rc(134)},    // нр     c_adv11 / c_adv12
    FilingButton{1310, wc(142), rc(143)},    // нр2    c_adv21 / c_adv22
    FilingButton{1303, wc(166), rc(167)},    // ко     c_adv_when11 / 12
    FilingButton{1318, wc(181), rc(182)},    // къ     c_adv_where11 / 12
    FilingButton{1288, wc(189), rc(190)},    // аз     c_v_az11 / 12
    FilingButton{1306, wc(204), rc(205)},    // аз     c_v_az21 / 22
    FilingButton{1289, wc(231), rc(232)},    // да     c_v_da11 / 12
    FilingButton{1308, wc(246), rc(247)},    // да     c_v_da21 / 22
    FilingButton{1291, wc(273), rc(274)},    // се     c_v_se11 / 12
    FilingButton{1309, wc(288), rc(289)},    // се     c_v_se21 / 22
    FilingButton{1307, wc(343), rc(344)},    // att    c_attr11 / 12
    FilingButton{1312, wc(349), rc(350)},    // at2    c_attr21 / 22
    FilingButton{1277, wc(384), rc(385)},    // nam    z_name1 / 2
    FilingButton{1280, wc(390), rc(391)},    // male   z_male1 / 2
    FilingButton{1281, wc(394), rc(395)},    // fem    z_fem1 / 2
    FilingButton{1278, wc(398), rc(399)},    // plac   z_place1 / 2
    FilingButton{1282, wc(402), rc(403)},    // prop   z_prop1 / 2
    FilingButton{1279, wc(406), rc(407)},    // cult   z_cult1 / 2
    FilingButton{1273, wc(417), rc(418)},    // 1      c_one11 / 12
    FilingButton{1285, wc(417, 1, 1), none()},  // lo  c_one11 lower-cased
    FilingButton{1293, wc(421), rc(422)},    // 1+     c_one21 / 22
    FilingButton{1283, wc(493, 0), rc(494)}, // нач    cs_1start11 / 12
    FilingButton{1284, wc(495, 0), rc(496)}, // кра    cs_1end11 / 12
    FilingButton{1274, wc(529, 0), none()},  // h      hard (its right click: the word-class entries)
    FilingButton{1321, wc(531, 0), rc(530)}, // h3     hard3 / hard2
    FilingButton{1275, cs(0, 0), cs(1, 0)},  // изр    plain corpus
    FilingButton{1294, cs(0, 1), cs(1, 1)},  // изр    custom corpus
    FilingButton{1317, cs(0, 2), cs(1, 2)},  // ,      comma corpus
    FilingButton{1296, popup(FilingPopup::Adj), popup(FilingPopup::Cs)},    // a-s
    FilingButton{1297, popup(FilingPopup::C), popup(FilingPopup::Verb)},    // n-v
    FilingButton{1315, popup(FilingPopup::One), popup(FilingPopup::Misc)},  // 1-m
    FilingButton{1248, only(FilingKind::AddCustom), none()},    // добави
    FilingButton{1249, only(FilingKind::ViewCustom), none()},   // виж
    FilingButton{1250, only(FilingKind::EraseCustom), none()},  // трий
};

constexpr std::u16string_view kEmptyList =
    u"Потребителският речник с български думи е празен.\r\n"
    u"Може да добавяте текущите думи с бутончето \"добави\".";

// Where a left click opens its popup: the point of the click, on the button.
POINT click_point(HWND dlg, int id) {
    const RECT r = GetWindowRect(GetDlgItem(dlg, id));
    return POINT{r.left + r.width() / 2, r.top + r.height() / 2};
}

}  // namespace

std::span<const FilingButton> filing_buttons() { return kButtons; }

const FilingButton* filing_button(int id) {
    for (const FilingButton& b : kButtons)
        if (b.id == id) return &b;
    return nullptr;
}

void make_filing_call(HWND dlg, const FilingCall& call, POINT at) {
    switch (call.kind) {
        case FilingKind::WordClass: write_to_c(call.row, call.find_free_slot, call.lower_case); break;
        case FilingKind::Corpus: write_to_cs(call.row, call.family); break;
        case FilingKind::Popup: open_filing_popup(dlg, call.popup, at); break;
        case FilingKind::AddCustom: add_custom_word(dlg); break;
        case FilingKind::ViewCustom: show_custom_words(dlg); break;
        case FilingKind::EraseCustom: erase_custom_word(dlg); break;
        case FilingKind::None: break;
    }
}

bool filing_command(HWND dlg, int id, INT_PTR& result) {
    result = 0;
    if (id >= 0 && filing_popup_command(static_cast<UINT>(id))) return true;
    const FilingButton* b = filing_button(id);
    if (!b) return false;
    make_filing_call(dlg, b->left, click_point(dlg, id));
    if (b->left.kind == FilingKind::AddCustom) result = 1;
    return true;
}

void show_custom_words(HWND dlg) {
    const DictFileRecord& list = b[B_BULGARIAN_CUSTOM];
    const std::size_t count = std::min(list.count, list.entries.size());
    if (count == 0) {
        MessageBoxW(dlg, kEmptyList, u"", MB_OK | MB_ICONERROR);
        return;
    }
    RE_SetTextW(hBigReLeft, u"");
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += list.entries[i].key;
        text += "\r\n";
    }
    JuxShowMessage(hBigReLeft, text, 0);
}
