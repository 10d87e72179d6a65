#include "windows/filing_popups.h"

#include <algorithm>
#include <array>
#include <utility>

#include "lexicon/filing.h"

HMENU hMenuC, hMenuAdj, hMenuVerb, hMenuMisc, hMenuOne, hMenuCs;

namespace {

using P = FilingPopup;
constexpr std::uint8_t S = FILING_SEP, B = FILING_BREAK;

// The items of the six popups, run by run in menu order.
constexpr std::array kRuns{
    // hMenuC: nouns, then the two- and three-word lists
    FilingRun{P::C, "c", "11", "", 8494, 0, 9, 0},
    FilingRun{P::C, "c", "21", "", 8504, 9, 9, B},
    FilingRun{P::C, "c", "31", "", 8514, 18, 9, B},
    FilingRun{P::C, "c", "41", "", 8524, 27, 3, B},
    FilingRun{P::C, "c", "51", "", 8528, 30, 3, 0},
    FilingRun{P::C, "c", "61", "", 8531, 33, 3, 0},
    FilingRun{P::C, "c", "71", "", 8534, 36, 3, 0},
    FilingRun{P::C, "c", "81", "", 8537, 39, 3, 0},
    FilingRun{P::C, "c", "2", "", 8540, 42, 4, 0},
    FilingRun{P::C, "two", "11", "", 8545, 46, 4, B},
    FilingRun{P::C, "two", "21", "", 8550, 50, 4, S},
    FilingRun{P::C, "two", "31", "", 8555, 54, 4, S},
    FilingRun{P::C, "three", "11", "", 8560, 58, 4, S | B},
    FilingRun{P::C, "three", "21", "", 8565, 62, 4, S},
    FilingRun{P::C, "three", "31", "", 8570, 66, 4, S},
    // hMenuAdj: adjectives, postpositive adjectives, attributes, adverbs
    FilingRun{P::Adj, "adj", "11", "", 8575, 70, 15, 0},
    FilingRun{P::Adj, "adj", "21", "", 8591, 85, 9, S},
    FilingRun{P::Adj, "adj", "31", "", 8601, 94, 9, B},
    FilingRun{P::Adj, "adj", "41", "", 8611, 103, 3, S},
    FilingRun{P::Adj, "adj", "51", "", 8615, 106, 3, S},
    FilingRun{P::Adj, "adj_post", "11", "", 8619, 121, 6, S},
    FilingRun{P::Adj, "adj_post", "21", "", 8626, 127, 4, 0},
    FilingRun{P::Adj, "adj_post", "31", "", 8631, 131, 2, 0},
    FilingRun{P::Adj, "attr", "11", "", 9016, 343, 6, B},
    FilingRun{P::Adj, "attr", "21", "", 9023, 349, 4, S},
    FilingRun{P::Adj, "attr", "31", "", 9028, 353, 3, S},
    FilingRun{P::Adj, "advj", "11", "", 9032, 109, 4, S},
    FilingRun{P::Adj, "advj", "21", "", 9037, 113, 4, 0},
    FilingRun{P::Adj, "advj", "31", "", 9042, 117, 4, 0},
    FilingRun{P::Adj, "adv", "11", "", 8855, 133, 9, B},
    FilingRun{P::Adj, "adv", "21", "", 8865, 142, 9, S},
    FilingRun{P::Adj, "adv", "31", "", 8875, 151, 9, B},
    FilingRun{P::Adj, "adv", "41", "", 8885, 160, 3, S},
    FilingRun{P::Adj, "adv", "51", "", 8889, 163, 3, S},
    FilingRun{P::Adj, "when", "11", "", 8893, 166, 9, B},
    FilingRun{P::Adj, "when", "21", "", 8903, 175, 6, 0},
    FilingRun{P::Adj, "where", "11", "", 8910, 181, 4, S},
    FilingRun{P::Adj, "where", "21", "", 8915, 185, 4, 0},
    // hMenuVerb: the verb types
    FilingRun{P::Verb, "az", "11", "", 8920, 189, 15, 0},
    FilingRun{P::Verb, "az", "21", "", 8936, 204, 9, S},
    FilingRun{P::Verb, "az", "31", "", 8946, 213, 9, B},
    FilingRun{P::Verb, "az", "41", "", 8956, 222, 3, S},
    FilingRun{P::Verb, "az", "51", "", 8960, 225, 3, 0},
    FilingRun{P::Verb, "az", "61", "", 8964, 228, 3, 0},
    FilingRun{P::Verb, "da", "11", "", 8968, 231, 15, B},
    FilingRun{P::Verb, "da", "21", "", 8984, 246, 9, S},
    FilingRun{P::Verb, "da", "31", "", 8994, 255, 9, B},
    FilingRun{P::Verb, "da", "41", "", 9004, 264, 3, S},
    FilingRun{P::Verb, "da", "51", "", 9008, 267, 3, 0},
    FilingRun{P::Verb, "da", "61", "", 9012, 270, 3, 0},
    FilingRun{P::Verb, "se", "11", "", 9047, 273, 15, B},
    FilingRun{P::Verb, "se", "21", "", 9063, 288, 9, S},
    FilingRun{P::Verb, "se", "31", "", 9073, 297, 6, S},
    FilingRun{P::Verb, "si", "11", "", 9080, 303, 6, B},
    FilingRun{P::Verb, "si", "21", "", 9087, 309, 6, S},
    // hMenuMisc: negations, "one" lists, rare lists, misc, numerals, names, verbal nouns,
    // prepositions, abbreviations, gender lists, errors
    FilingRun{P::Misc, "not", "11", "", 8649, 501, 8, 0},
    FilingRun{P::Misc, "not", "21", "", 8658, 509, 4, S},
    FilingRun{P::Misc, "not", "31", "", 8662, 513, 2, S},
    FilingRun{P::Misc, "not", "41", "", 8664, 515, 2, S},
    FilingRun{P::Misc, "not_", "1", "", 8667, 517, 8, S},
    FilingRun{P::Misc, "not_real", "1", "", 8675, 497, 4, S},
    FilingRun{P::Misc, "o", "11", "", 8634, 417, 4, S},
    FilingRun{P::Misc, "o", "21", "", 8639, 421, 4, S},
    FilingRun{P::Misc, "o", "31", "", 8644, 425, 4, S},
    FilingRun{P::Misc, "r_n", "11", "", 8679, 429, 4, B},
    FilingRun{P::Misc, "r_n", "21", "", 8683, 433, 4, S},
    FilingRun{P::Misc, "r_two", "11", "", 8687, 437, 2, S},
    FilingRun{P::Misc, "r_two", "21", "", 8689, 439, 2, S},
    FilingRun{P::Misc, "r_adj", "11", "", 8691, 441, 4, S},
    FilingRun{P::Misc, "r_adj", "21", "", 8695, 445, 4, S},
    FilingRun{P::Misc, "r_attr", "11", "", 8699, 449, 4, S},
    FilingRun{P::Misc, "r_attr", "21", "", 8703, 453, 4, S},
    FilingRun{P::Misc, "r_v", "11", "", 8715, 465, 4, B},
    FilingRun{P::Misc, "r_v", "21", "", 8719, 469, 4, S},
    FilingRun{P::Misc, "r_adv", "11", "", 8707, 457, 4, S},
    FilingRun{P::Misc, "r_adv", "21", "", 8711, 461, 4, S},
    FilingRun{P::Misc, "r_tran", "11", "", 8723, 473, 4, S},
    FilingRun{P::Misc, "r_name", "11", "", 8727, 477, 4, S},
    FilingRun{P::Misc, "r_place", "11", "", 8731, 481, 4, S},
    FilingRun{P::Misc, "r_misc", "11", "", 8735, 485, 4, S},
    FilingRun{P::Misc, "r_misc", "21", "", 8739, 489, 4, S},
    FilingRun{P::Misc, "misc", "11", "", 8744, 366, 6, B},
    FilingRun{P::Misc, "misc", "21", "", 8751, 372, 6, S},
    FilingRun{P::Misc, "misc", "31", "", 8758, 378, 6, S},
    FilingRun{P::Misc, "num", "11", " broi", 8845, 335, 4, S},
    FilingRun{P::Misc, "num", "21", " red", 8850, 339, 4, 0},
    FilingRun{P::Misc, "name", "1", "", 8793, 384, 6, B},
    FilingRun{P::Misc, "male", "1", "", 8800, 390, 4, 0},
    FilingRun{P::Misc, "fem", "1", "", 8805, 394, 4, 0},
    FilingRun{P::Misc, "place", "1", "", 8810, 398, 4, 0},
    FilingRun{P::Misc, "cult", "1", "", 8820, 406, 4, 0},
    FilingRun{P::Misc, "prop", "1", "", 8815, 402, 4, 0},
    FilingRun{P::Misc, "tran", "1", "", 8825, 410, 4, 0},
    FilingRun{P::Misc, "vn", "11", "", 8778, 315, 4, B},
    FilingRun{P::Misc, "vn", "21", "", 8783, 319, 4, 0},
    FilingRun{P::Misc, "vn", "31", "", 8788, 323, 2, 0},
    FilingRun{P::Misc, "vn", "41", "", 8790, 325, 2, 0},
    FilingRun{P::Misc, "prep", "11", "", 8765, 356, 4, 0},
    FilingRun{P::Misc, "prep", "21", "", 8770, 360, 4, 0},
    FilingRun{P::Misc, "prep", "31", "", 8775, 364, 2, 0},
    FilingRun{P::Misc, "abbm", "11", "", 8829, 327, 2, 0},
    FilingRun{P::Misc, "abbf", "11", "", 8831, 329, 2, 0},
    FilingRun{P::Misc, "abbn", "11", "", 8833, 331, 2, 0},
    FilingRun{P::Misc, "abbpl", "11", "", 8835, 333, 2, 0},
    FilingRun{P::Misc, "all_fem", "", "", 8837, 414, 1, 0},
    FilingRun{P::Misc, "all_neu", "", "", 8838, 415, 1, 0},
    FilingRun{P::Misc, "all_pl", "", "", 8839, 416, 1, 0},
    FilingRun{P::Misc, "error", "11", "", 8840, 525, 4, 0},
    // hMenuOne: the first list of every group, in five columns
    FilingRun{P::One, "c11 c", "", "", 8493, 0, 1, 0},
    FilingRun{P::One, "c21 c", "", "", 8503, 9, 1, 0},
    FilingRun{P::One, "c31 c", "", "", 8513, 18, 1, 0},
    FilingRun{P::One, "c41 c", "", "", 8523, 27, 1, 0},
    FilingRun{P::One, "c51 c", "", "", 8527, 30, 1, 0},
    FilingRun{P::One, "two11 c", "", "", 8544, 46, 1, S},
    FilingRun{P::One, "two21 c", "", "", 8549, 50, 1, 0},
    FilingRun{P::One, "two31 c", "", "", 8554, 54, 1, 0},
    FilingRun{P::One, "vn11 c", "", "", 8777, 315, 1, S},
    FilingRun{P::One, "vn21 c", "", "", 8782, 319, 1, 0},
    FilingRun{P::One, "vn31 c", "", "", 8787, 323, 1, 0},
    FilingRun{P::One, "three11 c", "", "", 8559, 58, 1, S},
    FilingRun{P::One, "three21 c", "", "", 8564, 62, 1, 0},
    FilingRun{P::One, "three31 c", "", "", 8569, 66, 1, 0},
    FilingRun{P::One, "name1 c", "", "", 8792, 384, 1, S},
    FilingRun{P::One, "male1 c", "", "", 8799, 390, 1, 0},
    FilingRun{P::One, "fem1 c", "", "", 8804, 394, 1, 0},
    FilingRun{P::One, "place1 c", "", "", 8809, 398, 1, 0},
    FilingRun{P::One, "cult1 c", "", "", 8819, 406, 1, 0},
    FilingRun{P::One, "prop1 c", "", "", 8814, 402, 1, 0},
    FilingRun{P::One, "tran1 c", "", "", 8824, 410, 1, 0},
    FilingRun{P::One, "misc11 c", "", "", 8743, 366, 1, S},
    FilingRun{P::One, "misc21 c", "", "", 8750, 372, 1, 0},
    FilingRun{P::One, "prep11 c", "", "", 8764, 356, 1, S},
    FilingRun{P::One, "prep21 c", "", "", 8769, 360, 1, 0},
    FilingRun{P::One, "prep31 c", "", "", 8774, 364, 1, 0},
    FilingRun{P::One, "num11 broi c", "", "", 8844, 335, 1, 0},
    FilingRun{P::One, "num21 red c", "", "", 8849, 339, 1, 0},
    FilingRun{P::One, "adj11 c", "", "", 8574, 70, 1, B},
    FilingRun{P::One, "adj21 c", "", "", 8590, 85, 1, 0},
    FilingRun{P::One, "adj31 c", "", "", 8600, 94, 1, 0},
    FilingRun{P::One, "adj41 c", "", "", 8610, 103, 1, 0},
    FilingRun{P::One, "adj51 c", "", "", 8614, 106, 1, 0},
    FilingRun{P::One, "attr11 c", "", "", 9015, 343, 1, S},
    FilingRun{P::One, "attr21 c", "", "", 9022, 349, 1, 0},
    FilingRun{P::One, "attr31 c", "", "", 9027, 353, 1, 0},
    FilingRun{P::One, "adv11 c", "", "", 8854, 133, 1, S},
    FilingRun{P::One, "adv21 c", "", "", 8864, 142, 1, 0},
    FilingRun{P::One, "adv31 c", "", "", 8874, 151, 1, 0},
    FilingRun{P::One, "adv41 c", "", "", 8884, 160, 1, 0},
    FilingRun{P::One, "adv51 c", "", "", 8888, 163, 1, 0},
    FilingRun{P::One, "when11 c", "", "", 8892, 166, 1, S},
    FilingRun{P::One, "when21 c", "", "", 8902, 175, 1, 0},
    FilingRun{P::One, "where11 c", "", "", 8909, 181, 1, S},
    FilingRun{P::One, "where21 c", "", "", 8914, 185, 1, 0},
    FilingRun{P::One, "advj11 c", "", "", 9031, 109, 1, S},
    FilingRun{P::One, "advj21 c", "", "", 9036, 113, 1, 0},
    FilingRun{P::One, "advj31 c", "", "", 9041, 117, 1, 0},
    FilingRun{P::One, "adj_post11 c", "", "", 8618, 121, 1, S},
    FilingRun{P::One, "adj_post21 c", "", "", 8625, 127, 1, 0},
    FilingRun{P::One, "adj_post31 c", "", "", 8630, 131, 1, 0},
    FilingRun{P::One, "az11 c", "", "", 8919, 189, 1, B},
    FilingRun{P::One, "az21 c", "", "", 8935, 204, 1, 0},
    FilingRun{P::One, "az31 c", "", "", 8945, 213, 1, 0},
    FilingRun{P::One, "az41 c", "", "", 8955, 222, 1, 0},
    FilingRun{P::One, "az51 c", "", "", 8959, 225, 1, 0},
    FilingRun{P::One, "az61 c", "", "", 8963, 228, 1, 0},
    FilingRun{P::One, "se11 c", "", "", 9046, 273, 1, S},
    FilingRun{P::One, "se21 c", "", "", 9062, 288, 1, 0},
    FilingRun{P::One, "se31 c", "", "", 9072, 297, 1, 0},
    FilingRun{P::One, "si11 c", "", "", 9079, 303, 1, 0},
    FilingRun{P::One, "si21 c", "", "", 9086, 309, 1, 0},
    FilingRun{P::One, "da11 c", "", "", 8967, 231, 1, B},
    FilingRun{P::One, "da21 c", "", "", 8983, 246, 1, 0},
    FilingRun{P::One, "da31 c", "", "", 8993, 255, 1, 0},
    FilingRun{P::One, "da41 c", "", "", 9003, 264, 1, 0},
    FilingRun{P::One, "da51 c", "", "", 9007, 267, 1, 0},
    FilingRun{P::One, "da61 c", "", "", 9011, 270, 1, 0},
    FilingRun{P::One, "o11 c", "", "", 8633, 417, 1, B},
    FilingRun{P::One, "o21 c", "", "", 8638, 421, 1, 0},
    FilingRun{P::One, "o31 c", "", "", 8643, 425, 1, 0},
    FilingRun{P::One, "not11 c", "", "", 8648, 501, 1, S},
    FilingRun{P::One, "not21 c", "", "", 8657, 509, 1, 0},
    FilingRun{P::One, "not_1 c", "", "", 8666, 517, 1, 0},
    // hMenuCs: plain, comma and custom corpora, then the bulk corpus
    FilingRun{P::Cs, "cs", "11", "", 9093, 0, 9, 0, 0},
    FilingRun{P::Cs, "cs", "21", "", 9102, 9, 9, S, 0},
    FilingRun{P::Cs, "cs", "31", "", 9111, 18, 4, S, 0},
    FilingRun{P::Cs, "cs,", "11", "", 9146, 0, 9, B, 2},
    FilingRun{P::Cs, "cs,", "21", "", 9155, 9, 9, S, 2},
    FilingRun{P::Cs, "cs,", "31", "", 9164, 18, 4, S, 2},
    FilingRun{P::Cs, "cust", "11", "", 9124, 0, 9, B, 1},
    FilingRun{P::Cs, "cust", "21", "", 9133, 9, 9, S, 1},
    FilingRun{P::Cs, "cust", "31", "", 9142, 18, 4, S, 1},
    FilingRun{P::Cs, "cs", "11", " bulk", 9115, 0, 9, 0, 3},
};

constexpr std::string_view kSteps = "123456789abcdef";

HMENU& handle_of(FilingPopup p) {
    switch (p) {
        case P::C: return hMenuC;
        case P::Adj: return hMenuAdj;
        case P::Verb: return hMenuVerb;
        case P::Misc: return hMenuMisc;
        case P::One: return hMenuOne;
        case P::Cs: break;
    }
    return hMenuCs;
}

std::u16string ascii16(std::string_view s) { return std::u16string(s.begin(), s.end()); }

}  // namespace

std::span<const FilingRun> filing_runs() { return kRuns; }

std::string filing_label(const FilingRun& run, int k) {
    std::string s(run.stem);
    if (!run.first.empty()) {
        s += run.first.substr(0, run.first.size() - 1);
        const std::size_t at = kSteps.find(run.first.back()) + static_cast<std::size_t>(k);
        s += at < kSteps.size() ? kSteps[at] : '?';
    }
    s += run.tail;
    return s;
}

// The lowest and highest command numbers of the popups' items: the panels' notifications, which
// reach the window's command handler in their thousands during a check, are told apart at once.
constexpr std::pair<UINT, UINT> kIdRange = [] {
    UINT lo = kRuns[0].first_id, hi = 0;
    for (const FilingRun& r : kRuns) {
        lo = std::min(lo, r.first_id);
        hi = std::max(hi, r.first_id + static_cast<UINT>(r.count) - 1);
    }
    return std::pair{lo, hi};
}();

const FilingRun* filing_run_of(UINT id) {
    if (id < kIdRange.first || id > kIdRange.second) return nullptr;
    for (const FilingRun& r : kRuns)
        if (id >= r.first_id && id < r.first_id + static_cast<UINT>(r.count)) return &r;
    return nullptr;
}

HMENU filing_popup(FilingPopup p) { return handle_of(p); }

void build_filing_popups() {
    constexpr int kPopups = 6;
    bool fresh[kPopups] = {};
    for (int p = 0; p < kPopups; ++p) {
        HMENU& m = handle_of(static_cast<FilingPopup>(p));
        if (IsMenu(m)) continue;  // built earlier
        m = CreatePopupMenu();
        fresh[p] = true;
    }
    for (const FilingRun& r : kRuns) {
        if (!fresh[static_cast<int>(r.popup)]) continue;
        const HMENU m = handle_of(r.popup);
        if (r.before & FILING_SEP) AppendMenuW(m, MF_SEPARATOR, 0);
        for (int k = 0; k < r.count; ++k) {
            const UINT flags = MF_STRING | (k == 0 && (r.before & FILING_BREAK) ? UINT{MF_MENUBARBREAK} : UINT{0});
            AppendMenuW(m, flags, r.first_id + static_cast<UINT>(k), ascii16(filing_label(r, k)));
        }
    }
}

bool filing_popup_command(UINT id) {
    const FilingRun* r = filing_run_of(id);
    if (!r) return false;
    const int row = r->first_row + static_cast<int>(id - r->first_id);
    if (r->family >= 0)
        write_to_cs(row, r->family);
    else
        write_to_c(row, r->popup == P::One ? 1 : 0, 0);
    return true;
}

void open_filing_popup(HWND dlg, FilingPopup p, POINT at) {
    TrackPopupMenu(handle_of(p), 0, at.x, at.y, dlg);
}

void reset_filing_popups() { hMenuC = hMenuAdj = hMenuVerb = hMenuMisc = hMenuOne = hMenuCs = HMENU{}; }
