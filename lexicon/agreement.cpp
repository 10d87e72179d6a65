#include "lexicon/agreement.h"

#include <array>

#include "platform/text.h"
#include "platform/text_literal.h"

namespace {

using Family = std::array<std::string_view, 4>;  // masculine, feminine, neuter, plural

constexpr auto kTozi = "този"_cp;
constexpr auto kTazi = "тази"_cp;
constexpr auto kTova = "това"_cp;
constexpr auto kTezi = "тези"_cp;
constexpr auto kChiyto = "чийто"_cp;
constexpr auto kChiyato = "чиято"_cp;
constexpr auto kChieto = "чието"_cp;
constexpr auto kChiito = "чиито"_cp;
constexpr auto kTakav = "такъв"_cp;
constexpr auto kTakava = "такава"_cp;
constexpr auto kTakova = "такова"_cp;
constexpr auto kTakiva = "такива"_cp;
constexpr auto kNyakoy = "някой"_cp;
constexpr auto kNyakoya = "някоя"_cp;
constexpr auto kNyakoe = "някое"_cp;
constexpr auto kNyakoi = "някои"_cp;
constexpr auto kVseki = "всеки"_cp;
constexpr auto kVsyaka = "всяка"_cp;
constexpr auto kVsyako = "всяко"_cp;
constexpr auto kVsichki = "всички"_cp;
constexpr auto kNein = "неин"_cp;

const Family kThis{kTozi, kTazi, kTova, kTezi};
const Family kWhose{kChiyto, kChiyato, kChieto, kChiito};
const Family kSuch{kTakav, kTakava, kTakova, kTakiva};
const Family kSome{kNyakoy, kNyakoya, kNyakoe, kNyakoi};
const Family kEvery{kVseki, kVsyaka, kVsyako, kVsichki};

bool is_any(std::string_view s, std::initializer_list<std::string_view> list) {
    for (std::string_view w : list)
        if (cp_strcasecmp(s, w) == 0) return true;
    return false;
}

std::string_view first_word(std::string_view s) { return s.substr(0, s.find(' ')); }

// Index of the noun's form in a family: plural 3, else its gender; -1 when none applies.
int family_index(const NounAdjInfo& noun) {
    if (noun.plural) return 3;
    return (noun.gender >= 0 && noun.gender <= 2) ? noun.gender : -1;
}

void set_text(MtUnit& u, std::string s) {
    if (s.size() > MT_TEXT_MAX) s.resize(MT_TEXT_MAX);
    u.text = std::move(s);
}

}  // namespace

int fix_adj(int j, MtUnit* const* units, const NounAdjInfo& noun) {
    if (j < 0 || !units || !units[j]) return 0;
    MtUnit& u = *units[j];
    if (is_any(u.key, {"does", "makes", "meet"})) return 0;

    const bool possessive = is_any(u.key, {"my", "your", "yours", "his", "its", "our", "their"});
    const std::string_view word0 = first_word(u.text);
    bool her = false;
    if (cp_strcasecmp(u.key, "her") == 0) {
        std::string lemma;
        GetBgLemma(word0, -1, lemma);
        her = cp_strcasecmp(lemma, kNein) == 0 || cp_strcasecmp(word0, kNein) == 0;
    }
    const bool by_kind = u.kind == kMtAdjective || u.kind == kMtAttribute || u.kind == kMtVerbAz ||
                         u.kind == kMtVerbDa || u.kind == kMtOrdinal;
    const bool key_this = cp_strcasecmp(u.key, "this") == 0;
    const bool key_whose = cp_strcasecmp(u.key, "whose") == 0;
    const Family* det = nullptr;
    // Only the texts такъв, някой and всеки are determiners to agree: another form of their
    // family is the dictionary's own choice ("all" is всички, never to become всеки).
    if (cp_strcasecmp(u.text, kTakav) == 0) det = &kSuch;
    else if (cp_strcasecmp(u.text, kNyakoy) == 0) det = &kSome;
    else if (cp_strcasecmp(u.text, kVseki) == 0) det = &kEvery;
    else if (key_whose) det = &kWhose;
    else if (key_this) det = &kThis;
    if (!by_kind && !possessive && !her && !det) return 0;

    if (det) {
        const int k = family_index(noun);
        if (k >= 0) set_text(u, std::string((*det)[static_cast<size_t>(k)]) +
                                    std::string(u.text.substr(std::min(u.text.size(), word0.size()))));
        u.agreed = 1;
        return 1;
    }

    // The adjective or participle word: the first word (kind 339: the last), after a prefix that
    // ends in '-'.
    std::string text = u.text;
    size_t w_begin = 0, w_end = 0;
    if (u.kind == 339) {
        const size_t sp = text.rfind(' ');
        w_begin = sp == std::string::npos ? 0 : sp + 1;
        w_end = text.size();
    } else {
        w_end = text.find(' ');
        if (w_end == std::string::npos) w_end = text.size();
    }
    const size_t dash = text.rfind('-', w_end == 0 ? 0 : w_end - 1);
    if (dash != std::string::npos && dash >= w_begin && dash + 1 < w_end) w_begin = dash + 1;
    const std::string word = text.substr(w_begin, w_end - w_begin);

    NounAdjInfo adj;
    if (!GetAdjInfo(adj, -1, word)) return 1;
    std::string lemma;
    if (GetBgLemma(word, adj.type, lemma) < 0) return 1;

    const bool after_the = j > 0 && units[j - 1] && cp_strcasecmp(units[j - 1]->text, "the") == 0;
    int slot = (after_the || possessive || her) ? 1 : 0;
    if (adj.slot > 8) slot += 38;
    if (noun.plural) slot += 7;
    else if (noun.gender == 1) slot += 3;
    else if (noun.gender == 2) slot += 5;
    else if (noun.gender != 0) slot = -1;

    u.is_noun = 2;
    u.agreed = 1;
    u.noun_info = adj;
    std::string form;
    if (slot >= 0 && GetBgForm(lemma, adj.type, slot, form) == 1)
        set_text(u, text.substr(0, w_begin) + form + text.substr(w_end));
    return 1;
}
