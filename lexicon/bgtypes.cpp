#include "lexicon/bgtypes.h"

#include <cstring>
#include <deque>
#include <unordered_map>

#include "lexicon/tables.h"
#include "platform/text.h"

namespace {

// The names live here for the whole run; bgtype_ar[].name points into them.
std::deque<std::string> g_names;
std::unordered_map<std::string_view, int> g_by_name;

// Appends the names of numbers first..last: the first `longer` numbers get the variants of
// `long_variants`, the others those of `short_variants` ("" stands for the bare number).
void add_numbers(std::vector<std::string>& out, int first, int last, int longer,
                 std::initializer_list<const char*> long_variants,
                 std::initializer_list<const char*> short_variants) {
    for (int n = first; n <= last; ++n) {
        const auto& variants = (n - first < longer) ? long_variants : short_variants;
        for (const char* v : variants) out.push_back(std::to_string(n) + v);
    }
}

std::vector<std::string> make_names() {
    std::vector<std::string> v;
    v.reserve(BGTYPES);
    // Masculine nouns, rows 0-84.
    add_numbers(v, 1, 21, 5, {"", "a", "b"}, {"", "a"});                          // 0-46
    v.push_back("22");                                                            // 47
    for (const char* s : {"22a", "23", "23a", "24", "24a", "25", "25a", "26", "26a", "27", "28",
                          "29", "30", "31", "31a"})
        v.push_back(s);                                                           // 48-62
    v.push_back("32");                                                            // 63
    v.push_back("32a");                                                           // 64
    for (const char* s : {"32b", "33", "33a", "34", "34a", "35", "35a", "36", "36a", "37", "37a"})
        v.push_back(s);                                                           // 65-75
    for (const char* s : {"38", "38a", "38b", "38c", "38d", "38e", "39", "40", "40a"})
        v.push_back(s);                                                           // 76-84
    // Feminine nouns, rows 85-113; neuter nouns, rows 114-139.
    add_numbers(v, 41, 52, 5, {"", "a", "b"}, {"", "a"});
    add_numbers(v, 53, 75, 3, {"", "a"}, {""});
    // Adjectives, rows 140-170.
    for (const char* s : {"76", "76n", "77", "78", "78a", "78b", "78c", "78t", "78n"}) v.push_back(s);
    add_numbers(v, 79, 86, 1, {"", "a", "b"}, {"", "a"});                          // 149-165
    for (const char* s : {"87", "88", "88a", "89", "89a"}) v.push_back(s);        // 166-170
    // Pronouns 171-205, numerals 206-227.
    add_numbers(v, 90, 120, 4, {"", "a"}, {""});
    add_numbers(v, 121, 141, 1, {"", "a"}, {""});
    // Verbs, rows 228-448.
    add_numbers(v, 142, 187, 37, {"", "a", "da", "da_", "b"}, {"", "a", "da", "da_"});
    // Invariable words and the special types, rows 449-472.
    for (int n = 188; n <= 202; ++n) v.push_back(std::to_string(n));
    for (const char* s : {"abbr", "abbrn", "cult", "geo", "propr", "trans", "interj", "unclassified",
                          "phrase"})
        v.push_back(s);
    return v;
}

const char* pos_of_row(int r) {
    if (r <= 139 || r == BGT_NEUTER_PLURAL) return "noun";
    if (r <= 170) return "adj";
    if (r <= 205) return "pron";
    if (r <= 227) return "num";
    if (r <= 448) return "verb";
    switch (r) {
    case 449: return "adv";
    case 450: return "conj";
    case 451: return "prep";
    case 452: return "intj";
    case 453: return "part";
    case 464: case 465: return "abbr";
    case 470: return "intj";
    case 471: return "unclassified";
    case 472: return "phrase";
    default: break;
    }
    if (r >= 459) return "name";
    return "other";
}

const char* const kMascLabels[] = {"ед.ч.", "кратък член", "пълен член", "мн.ч.", "мн.ч. с член",
                                   "бройна форма", "звателна форма"};
const char* const kFemLabels[] = {"ед.ч.", "ед.ч. с член", "мн.ч.", "мн.ч. с член", "звателна форма"};
const char* const kAdjLabels[] = {"м.р.", "м.р. кратък член", "м.р. пълен член", "ж.р.",
                                  "ж.р. с член", "ср.р.", "ср.р. с член", "мн.ч.", "мн.ч. с член"};
const char* const kPersons[] = {"1 л. ед.ч.", "2 л. ед.ч.", "3 л. ед.ч.",
                                "1 л. мн.ч.", "2 л. мн.ч.", "3 л. мн.ч."};

const int kGroupFirst[] = {0, 3, 5, 7};  // the indefinite adjective slot of m, f, n, pl

std::string g_label;  // the text of the last verb label

}  // namespace

void init_bgtype_table() {
    g_names.clear();
    g_by_name.clear();
    std::vector<std::string> names = make_names();
    for (int r = 0; r < BGTYPES; ++r) {
        g_names.push_back(r < static_cast<int>(names.size()) ? names[static_cast<size_t>(r)] : "");
        BgTypeRecord& t = bgtype_ar[static_cast<size_t>(r)];
        t.name = g_names.back().c_str();
        t.pos = pos_of_row(r);
        g_by_name.emplace(std::string_view(g_names.back()), r);
    }
    bgtypesct = BGTYPES;

    std::memset(ascii_noun, 0, sizeof ascii_noun);
    std::memset(ascii_adj, 0, sizeof ascii_adj);
    std::memset(ascii_numeral, 0, sizeof ascii_numeral);
    std::memset(ascii_proper, 0, sizeof ascii_proper);
    std::memset(ascii_verb, 0, sizeof ascii_verb);
    std::memset(ascii_verb_az, 0, sizeof ascii_verb_az);
    std::memset(ascii_verb_da, 0, sizeof ascii_verb_da);
    for (int r = 0; r <= 139; ++r) ascii_noun[r] = 1;
    ascii_noun[BGT_NEUTER_PLURAL] = 1;
    for (int r = 459; r <= 463; ++r) ascii_noun[r] = ascii_proper[r] = 1;  // names: nouns of no fixed gender
    ascii_proper[467] = 1;                                                // "geo"
    for (int r = 140; r <= 170; ++r) ascii_adj[r] = 1;
    for (int r = 206; r <= 227; ++r) ascii_numeral[r] = 1;
    for (int r = 228; r <= 448; ++r) {
        ascii_verb[r] = 1;
        // Perfective types carry "da" in their names (used after "да"); the others take "аз".
        if (std::strstr(bgtype_ar[static_cast<size_t>(r)].name, "da"))
            ascii_verb_da[r] = 1;
        else
            ascii_verb_az[r] = 1;
    }
}

int bgtype_row_by_name(std::string_view name) {
    auto it = g_by_name.find(name);
    return it == g_by_name.end() ? -1 : it->second;
}

int bgtype_noun_gender(int row) {
    if (row >= 0 && row <= 84) return 0;
    if (row >= 85 && row <= 113) return 1;
    if ((row >= 114 && row <= 139) || row == BGT_NEUTER_PLURAL) return 2;
    return -1;
}

const char* bg_slot_label(int row, int slot) {
    // The tables are UTF-8 in this source; the label is returned in code page 1251.
    std::string utf8;
    if (slot < 0) return "";
    const int gender = bgtype_noun_gender(row);
    if (gender == 0) {
        if (slot < 7) utf8 = kMascLabels[slot];
    } else if (gender == 1) {
        if (slot < 5) utf8 = kFemLabels[slot];
    } else if (gender == 2) {
        if (slot < 4) utf8 = kFemLabels[slot];
    } else if (row >= 0 && row < 512 && (ascii_adj[row] || (row >= 171 && row <= 227))) {
        if (slot < 9) utf8 = kAdjLabels[slot];
    } else if (row >= 0 && row < 512 && ascii_verb[row]) {
        if (slot < 6) utf8 = std::string("сег. вр. ") + kPersons[slot];
        else if (slot < 12) utf8 = std::string("мин. св. вр. ") + kPersons[slot - 6];
        else if (slot < 18) utf8 = std::string("мин. несв. вр. ") + kPersons[slot - 12];
        else if (slot == 18) utf8 = "повел. ед.ч.";
        else if (slot == 19) utf8 = "повел. мн.ч.";
        else if (slot < 29) utf8 = std::string("мин. св. деят. прич. ") + kAdjLabels[slot - 20];
        else if (slot < 33) utf8 = std::string("мин. несв. деят. прич. ") + kAdjLabels[kGroupFirst[slot - 29]];
        else if (slot == 33) utf8 = "деепричастие";
        else if (slot < 38) utf8 = std::string("отглаголно съществително ") + kFemLabels[slot - 34];
        else if (slot < 47) utf8 = std::string("мин. страд. прич. ") + kAdjLabels[slot - 38];
        else if (slot < 56) utf8 = std::string("сег. деят. прич. ") + kAdjLabels[slot - 47];
    }
    g_label = utf8_to_cp1251(utf8);
    return g_label.c_str();
}

int bg_make_form(std::string_view lemma, int row, int slot, std::string& out) {
    out.clear();
    if (row < 0 || row >= BGTYPES) return -1;
    const BgTypeRecord& t = bgtype_ar[static_cast<size_t>(row)];
    if (!t.endings || t.count == 0) return -1;
    if (slot < 0 || slot >= t.count) return 0;
    const std::u16string& e = t.endings[slot].ending;
    if (e == u"-" || lemma.size() < t.cut) return 0;
    const std::string_view stem = lemma.substr(0, lemma.size() - t.cut);
    const std::string_view tail = lemma.substr(lemma.size() - t.cut);
    out.assign(stem);
    for (size_t k = 0; k < e.size(); ++k) {
        if (e[k] == u'?') {
            if (k >= tail.size()) {
                out.clear();
                return 0;
            }
            out.push_back(tail[k]);
            continue;
        }
        unsigned char c = '?';
        wchar_to_cp1251(e[k], c);
        out.push_back(static_cast<char>(c));
    }
    return 1;
}
