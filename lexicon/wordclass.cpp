#include "lexicon/wordclass.h"

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "lexicon/tables.h"
#include "platform/text.h"

namespace {

// One run of word-class lists: one category, its lists tier by tier.
struct CRun {
    const char* file;   // file-name stem ("c_adj" -> "c_adj11", "c_adj1a" ...)
    const char* tag;    // tag stem ("adj" -> "adj11")
    const char* label;  // class label (UTF-8 here, code page 1251 in the table)
    int category;
    std::vector<int> tiers;  // lists per tier, from tier `first_tier`
    int first_tier = 1;
    int naming = 0;          // 0: stem + tier + index; 1: stem + index; 2: the stem alone
};

const char kIndexDigits[] = "123456789abcdef";

std::vector<CRun> c_runs() {
    const char* n = " n; ";
    return {
        {"c_c", "c", n, 0, {9, 9, 9, 3, 3, 3, 3, 3}},
        {"c_c2", "c2", n, 1, {1}, 1, 2},
        {"c_c3", "c3", n, 2, {1}, 1, 2},
        {"c_c4", "c4", n, 3, {1}, 1, 2},
        {"c_c5", "c5", n, 4, {1}, 1, 2},
        {"c_two", "two", n, 5, {4, 4, 4}},
        {"c_three", "three", n, 6, {4, 4, 4}},
        {"c_adj", "adj", " a; ", 7, {15, 9, 9, 3, 3}},
        {"c_advadj", "advj", " a2; ", 8, {4, 4, 4}},
        {"c_adj_post", "adj_post", " a (пос); ", 9, {6, 4, 2}},
        {"c_adv", "adv", " adv; ", 10, {9, 9, 9, 3, 3}},
        {"c_adv_when", "when", " adv (кога); ", 11, {9, 6}},
        {"c_adv_where", "where", " adv (къде); ", 12, {4, 4}},
        {"c_v_az", "az", " v; ", 13, {15, 9, 9, 3, 3, 3}},
        {"c_v_da", "da", " v; ", 14, {15, 9, 9, 3, 3, 3}},
        {"c_v_se", "se", " v; ", 15, {15, 9, 6}},
        {"c_v_si", "si", " v; ", 16, {6, 6}},
        {"c_vn", "vn", " vn; ", 17, {4, 4, 2, 2}},
        {"c_abbm", "abbm", " abbr; ", 18, {2}},
        {"c_abbf", "abbf", " abbr; ", 19, {2}},
        {"c_abbn", "abbn", " abbr; ", 20, {2}},
        {"c_abbpl", "abbpl", " abbr; ", 21, {2}},
        {"c_num", "num", " num; ", 22, {4}},
        {"c_num", "num", " num (ред); ", 23, {4}, 2},
        {"c_attr", "attr", " attr; ", 24, {6, 4, 3}},
        {"c_prep", "prep", " prep; ", 25, {4, 4, 2}},
        {"c_misc", "misc", " misc; ", 26, {6, 6, 6}},
        {"z_name", "name", " (име); ", 27, {6}, 1, 1},
        {"z_male", "male", " (име); ", 28, {4}, 1, 1},
        {"z_fem", "fem", " (име); ", 29, {4}, 1, 1},
        {"z_place", "place", " (място); ", 30, {4}, 1, 1},
        {"z_prop", "prop", " (марка); ", 31, {4}, 1, 1},
        {"z_cult", "cult", " (творба); ", 32, {4}, 1, 1},
        {"z_tran", "tran", " (превод); ", 33, {4}, 1, 1},
        {"all_fem", "all_fem", " (ж.р.); ", 34, {1}, 1, 2},
        {"all_neu", "all_neu", " (ср.р.); ", 35, {1}, 1, 2},
        {"all_pl", "all_pl", " (мн.ч.); ", 36, {1}, 1, 2},
        {"c_one", "o", " 1; ", 37, {4, 4, 4}},
        {"c_r_n", "r_n", " r n; ", 38, {4, 4}},
        {"c_r_two", "r_two", " r n; ", 39, {2, 2}},
        {"c_r_adj", "r_adj", " r a; ", 40, {4, 4}},
        {"c_r_attr", "r_attr", " r attr; ", 41, {4, 4}},
        {"c_r_adv", "r_adv", " r adv; ", 42, {4, 4}},
        {"c_r_v", "r_v", " r v; ", 43, {4, 4}},
        {"c_r_tran", "r_tran", " r (превод); ", 44, {4}},
        {"c_r_name", "r_name", " r (име); ", 45, {4}},
        {"c_r_place", "r_place", " r (място); ", 46, {4}},
        {"c_r_misc", "r_misc", " r misc; ", 47, {4, 4}},
        {"cs_1start", "нач", " (нач); ", 48, {2}},
        {"cs_1end", "кра", " (кра); ", 49, {2}},
        {"c_notreal", "not_real", " (не); ", 50, {4}},
        {"c_not", "not", " not; ", 51, {8, 4, 2, 2}},
        {"c_notnot", "not_", " notnot; ", 52, {8}},
        {"c_error", "error", " error; ", 53, {4}},
        {"hard", "h", " hard; ", 54, {1}, 1, 2},
        {"hard2", "h2", " hard; ", 55, {1}, 1, 2},
        {"hard3", "h3", " hard; ", 56, {1}, 1, 2},
    };
}

std::unordered_map<std::string, int> g_c_by_name;

// Rows left out of is_in_c_set.
bool excluded_from_c_set(int row) {
    if ((row >= 414 && row <= 416) || row >= 529) return true;
    const int cat = c_glob[static_cast<size_t>(row)].category;
    return cat == 50 || cat == 51 || cat == 53;
}

bool rare(int row) {
    const int cat = c_glob[static_cast<size_t>(row)].category;
    return cat >= 38 && cat <= 47;
}

// ---- The membership index ----------------------------------------------------------------------

// The entries that hold one key, by the kind of list they are in (an entry counts once; a list
// that holds the key twice counts twice).
struct KeyCounts {
    std::uint32_t all = 0;       // every list
    std::uint32_t in_set = 0;    // the lists is_in_c_set reads
    std::uint32_t no_rare = 0;   // the same lists but the rare ones
    std::uint32_t meanings = 0;  // the lists before the hard-word lists (concatenate_c_words)
};

// Keys are stored folded to lower case under the current locale; a question is folded into a
// buffer of the index before it is looked up, so that hashing and comparing are plain byte work.
struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

class CIndex {
public:
    void changed() { stale_ = true; }
    // The counts of the key, or null when no list holds it.
    const KeyCounts* find(std::string_view key) {
        if (stale_ || ctype_ != cp1251_detail::current_ctype) build();
        if (key.empty()) return nullptr;
        auto it = keys_.find(fold(key));
        return it == keys_.end() ? nullptr : &it->second;
    }
    void add(int row, std::string_view key) {
        if (stale_ || key.empty()) return;  // the next build reads the lists as they are
        auto it = keys_.find(fold(key));
        if (it == keys_.end()) it = keys_.emplace(folded_, KeyCounts{}).first;
        count(it->second, row, 1);
    }
    void remove(int row, std::string_view key) {
        if (stale_ || key.empty()) return;
        auto it = keys_.find(fold(key));
        if (it == keys_.end()) return;
        count(it->second, row, -1);
        if (it->second.all == 0) keys_.erase(it);
    }

private:
    void build();
    // The key folded into folded_, which keeps its room between questions.
    std::string_view fold(std::string_view key);
    static void count(KeyCounts& k, int row, int by);

    std::unordered_map<std::string, KeyCounts, KeyHash, std::equal_to<>> keys_;
    std::string folded_;
    const cp1251_detail::CtypeTable* ctype_ = nullptr;  // the locale the keys were folded under
    bool stale_ = true;
};

CIndex g_c_index;

void append_cut(std::string& dest, std::string_view s) {
    const size_t room = 1023 > dest.size() ? 1023 - dest.size() : 0;
    dest.append(s.substr(0, room));
}

void concatenate(std::string_view word, std::string& dest, int short_form, bool vertical) {
    dest.clear();
    const KeyCounts* k = g_c_index.find(word);
    // The lists are searched until as many entries were found as hold the key.
    std::uint32_t left = k ? k->meanings : 0;
    for (int r = 0; r < C_HARD && left > 0; ++r) {
        const ListPair* p = c_find(r, word);
        if (!p) continue;
        --left;
        if (!p->has_rest()) continue;
        if (short_form && !vertical && !dest.empty()) append_cut(dest, ", ");
        append_cut(dest, p->rest);
        if (!short_form) append_cut(dest, c_glob[static_cast<size_t>(r)].label);
        if (vertical) append_cut(dest, "\r\n");
    }
}

void CIndex::count(KeyCounts& k, int row, int by) {
    const auto step = static_cast<std::uint32_t>(by);  // -1 wraps to a decrement
    k.all += step;
    if (row < C_HARD) k.meanings += step;
    if (excluded_from_c_set(row)) return;
    k.in_set += step;
    if (!rare(row)) k.no_rare += step;
}

std::string_view CIndex::fold(std::string_view key) {
    const unsigned char* lower = cp1251_detail::current_ctype->lower;
    folded_.resize(key.size());
    for (std::size_t i = 0; i < key.size(); ++i)
        folded_[i] = static_cast<char>(lower[static_cast<unsigned char>(key[i])]);
    return folded_;
}

void CIndex::build() {
    keys_.clear();
    std::size_t entries = 0;
    for (const CSetRecord& rec : c_glob) entries += rec.entries.size();
    keys_.reserve(entries);
    stale_ = false;
    ctype_ = cp1251_detail::current_ctype;
    for (int r = 0; r < C_ROWS; ++r)
        for (const ListPair& p : c_glob[static_cast<size_t>(r)].entries) add(r, p.key);
}

}  // namespace

void c_lists_changed() { g_c_index.changed(); }
void c_key_added(int row, std::string_view key) {
    if (row >= 0 && row < C_ROWS) g_c_index.add(row, key);
}
void c_key_removed(int row, std::string_view key) {
    if (row >= 0 && row < C_ROWS) g_c_index.remove(row, key);
}

void init_c_table() {
    g_c_index.changed();
    g_c_by_name.clear();
    int row = 0;
    for (const CRun& run : c_runs()) {
        for (size_t t = 0; t < run.tiers.size(); ++t) {
            const int tier = run.first_tier + static_cast<int>(t);
            for (int k = 0; k < run.tiers[t]; ++k) {
                if (row >= C_ROWS) return;
                CSetRecord& rec = c_glob[static_cast<size_t>(row)];
                rec = CSetRecord{};
                std::string suffix;
                if (run.naming == 0) suffix.push_back(static_cast<char>('0' + tier));
                if (run.naming != 2) suffix.push_back(kIndexDigits[k]);
                rec.name = std::string(run.file) + suffix;
                rec.tag = utf8_to_cp1251(std::string(run.tag) + suffix);
                rec.label = utf8_to_cp1251(run.label);
                rec.category = run.category;
                rec.tier = tier;
                rec.sort = 1;
                g_c_by_name.emplace(rec.name, row);
                ++row;
            }
        }
    }
}

int c_row_by_name(std::string_view name) {
    auto it = g_c_by_name.find(std::string(name));
    return it == g_c_by_name.end() ? -1 : it->second;
}

int c_group_first(int row) {
    if (row < 0 || row >= C_ROWS) return row;
    const CSetRecord& r = c_glob[static_cast<size_t>(row)];
    int f = row;
    while (f > 0 && c_glob[static_cast<size_t>(f - 1)].category == r.category &&
           c_glob[static_cast<size_t>(f - 1)].tier == r.tier)
        --f;
    return f;
}

int c_group_end(int row) {
    if (row < 0 || row >= C_ROWS) return row;
    const CSetRecord& r = c_glob[static_cast<size_t>(row)];
    int e = row + 1;
    while (e < C_ROWS && c_glob[static_cast<size_t>(e)].category == r.category &&
           c_glob[static_cast<size_t>(e)].tier == r.tier)
        ++e;
    return e;
}

COLORREF c_label_color(int row) {
    if (row < 0 || row >= C_ROWS) return 0x277ABD;
    const CSetRecord& r = c_glob[static_cast<size_t>(row)];
    const bool first = r.tier == 1;
    const int cat = r.category;
    if (cat <= 6) return first ? 0x0000FF : 0x6565FF;                               // nouns
    if (cat == 7 || cat == 8 || cat == 9 || cat == 24) return first ? 0x007FFF : 0x00AAFF;  // adjectives
    if (cat >= 10 && cat <= 12) return first ? 0x007CB0 : 0x008CC0;                 // adverbs
    if (cat >= 13 && cat <= 17) return first ? 0x00A800 : 0x00E000;                 // verbs
    if (cat >= 27 && cat <= 33) return first ? 0xFF3800 : 0xFFAA00;                 // names
    if (cat == 37 || cat == 48 || cat == 49) return 0xFF00AB;                       // phrases and sentence parts
    return 0x277ABD;
}

const ListPair* c_find(int row, std::string_view key) {
    if (row < 0 || row >= C_ROWS || key.empty()) return nullptr;
    const CSetRecord& r = c_glob[static_cast<size_t>(row)];
    if (r.entries.empty()) return nullptr;
    return find_pair(std::span<const ListPair>(r.entries), key);
}

int is_in_c_set(std::string_view key) {
    const KeyCounts* k = g_c_index.find(key);
    return k && k->in_set > 0 ? 1 : 0;
}

int is_in_c_set_no_rare(std::string_view word) {
    const KeyCounts* k = g_c_index.find(word);
    return k && k->no_rare > 0 ? 1 : 0;
}

int is_in_any_c_list(std::string_view key) { return g_c_index.find(key) ? 1 : 0; }

const ListPair* is_in_hard(std::string_view word) {
    if (const ListPair* p = c_find(C_HARD, word)) return p;
    return c_find(C_HARD3, word);
}

void concatenate_c_words(std::string_view word, std::string& dest, int short_form) {
    concatenate(word, dest, short_form, false);
}

void concatenate_c_words_vert(std::string_view word, std::string& dest, int short_form) {
    concatenate(word, dest, short_form, true);
}
