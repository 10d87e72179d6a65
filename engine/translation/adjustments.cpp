// The grammatical adjustments of a translated sentence: which units are nouns (with gender and
// number), the Bulgarian gender of pronouns and names, the words for "her", "that", "who" and
// "whose" by their neighbours, the agreement of adjectives, possessives and determiners with their
// noun, and the definite article on a noun after "the".
#include <algorithm>
#include <cstdlib>

#include "engine/translation/steps.h"
#include "lexicon/morphology.h"
#include "platform/text.h"
#include "platform/text_literal.h"
#include "shell/strings.h"

namespace {

// Nouns that the word-form index reads otherwise but that are feminine singular here.
const char* const kFeminineUtf8[] = {
    "авиотехника", "автоматика", "агротехника", "антисептика", "баджа", "бара", "бота",
    "бука", "бюлетина", "вана", "гад", "газ", "готована", "графа", "дроб",
    "еврокритика", "електрика", "електротехника", "емотикона", "емфизема", "забравана",
    "зора", "изобара", "катаракта", "кинокласика", "кока", "контрола", "контура",
    "корвета", "крина", "критика", "купола", "леса", "лъка", "майорана", "метода",
    "мимика", "низа", "обкова", "парцалана", "пендара", "пирога", "повлекана",
    "порфира", "прах", "преструвана", "прогностика", "проблема", "провала", "просвета",
    "пръст", "рая", "роба", "рода", "синтеза", "сладурана", "сополана", "стръка",
};
// Nouns that are neuter here, with slot 2.
const char* const kNeuterUtf8[] = {"аса", "даскала", "мира", "полета", "сака", "темпа"};

// A built-in word list in code page 1251.
template <std::size_t N>
std::vector<std::string> words_of(const char* const (&utf8)[N]) {
    std::vector<std::string> v;
    for (const char* w : utf8) v.push_back(utf8_to_cp1251(w));
    return v;
}

bool in(std::string_view w, const std::vector<std::string>& list) {
    return std::any_of(list.begin(), list.end(), [&](const std::string& x) { return cp_strcasecmp(w, x) == 0; });
}

const std::vector<std::string>& feminine() {
    static const std::vector<std::string> v = words_of(kFeminineUtf8);
    return v;
}
const std::vector<std::string>& neuter() {
    static const std::vector<std::string> v = words_of(kNeuterUtf8);
    return v;
}

constexpr auto kKoyto = "който"_cp;
constexpr auto kKoyato = "която"_cp;
constexpr auto kKoeto = "което"_cp;
constexpr auto kKoito = "които"_cp;
constexpr auto kTi = "ти"_cp;
constexpr auto kToy = "той"_cp;
constexpr auto kTya = "тя"_cp;
constexpr auto kTova = "това"_cp;
constexpr auto kNie = "ние"_cp;
constexpr auto kTe = "те"_cp;
constexpr auto kChe = "че"_cp;
constexpr auto kKoy = "кой"_cp;
constexpr auto kChie = "чие"_cp;
constexpr auto kChiyto = "чийто"_cp;
constexpr auto kNein = "неин"_cp;

// An untranslated English article.
bool is_article(const MtUnit& u) { return is_one_of(u.text, {"the", "a", "an"}); }

// Whether the unit's span key is `w` (case-insensitive). An untranslated token has an empty key,
// so an English word that no list translates never counts as "the", "that", "her" ... here.
bool key_is(const MtUnit& u, std::string_view w) { return cp_strcasecmp(u.key, w) == 0; }

bool gap_has_comma(const MtUnit& u) { return u.gap.find(',') != std::string::npos; }

void set_text(MtUnit& u, std::string_view t) { u.text = cut(t, MT_TEXT_MAX); }

// The relative pronoun for a noun: "който", "която", "което", "които"; empty for none.
std::string_view relative(const NounAdjInfo& n) {
    if (n.plural) return kKoito;
    switch (n.gender) {
    case 0: return kKoyto;
    case 1: return kKoyato;
    case 2: return kKoeto;
    default: return {};
    }
}

// Whether an attribute or adjective before a unit of this kind agrees with it: the nouns of c_c11
// and of c_c2 to c_c5 and the two- and three-word phrases (not the nouns of c_c12).
bool takes_attribute(int kind) {
    switch (kind) {
    case kMtNoun: case kMtNounSecond: case kMtNounThird: case kMtNounFourth: case kMtNounFifth:
    case kMtTwoWords: case kMtThreeWords:
        return true;
    default:
        return false;
    }
}

void attributes_and_adjectives(std::vector<MtUnit*>& U, const MtLexicon& lex) {
    const MtRows& r = mt_rows();
    for (std::size_t j = 0; j + 1 < U.size(); ++j) {
        MtUnit& u = *U[j];
        if (u.key.empty()) continue;
        const ListPair* attr = nullptr;
        for (int row : r.attr)
            if ((attr = lex.c(row, u.key))) break;
        const ListPair* adj = nullptr;
        for (int row : r.adj)
            if ((adj = lex.c(row, u.key))) break;
        if (!attr && !adj) continue;
        if (!takes_attribute(U[j + 1]->kind)) continue;
        u.kind = attr ? kMtAttribute : kMtAdjective;
        if (attr && attr->has_rest()) set_text(u, attr->rest);
        if (adj && adj->has_rest()) set_text(u, adj->rest);
    }
}

void nouns(std::vector<MtUnit*>& U, const MtLexicon& lex) {
    for (MtUnit* p : U) {
        MtUnit& u = *p;
        if (is_article(u)) continue;
        int w = 0;
        switch (u.kind) {
        case kMtNoun: w = 1; break;
        case kMtNounSecond: case kMtThreeWords: w = 2; break;
        case kMtNounThird: w = 3; break;
        case kMtNounFourth: w = 4; break;
        case kMtNounFifth: w = 5; break;
        case kMtTwoWords: w = GetWordCountA(u.text); break;
        default: continue;
        }
        // A text with fewer words than its kind says is not taken for a noun.
        std::string noun;
        if (!nth_word(w, u.text, noun)) continue;
        std::string_view head = u.key;
        const std::size_t us = head.rfind('_');
        if (us != std::string_view::npos && us + 1 < head.size()) head = head.substr(us + 1);
        NounAdjInfo info;
        if (const ListPair* t = lex.dict(B_ENGLISH_TYPES, head); t && t->has_rest()) {
            if (GetNounInfo(info, std::atoi(std::string(t->rest).c_str()), noun) == 1) {
                u.is_noun = 1;
                u.noun_info = info;
                continue;
            }
        }
        if (GetNounInfo(info, -1, noun) != 1) continue;
        u.is_noun = 1;
        if (in(noun, feminine())) {
            info.gender = 1;
            info.slot = 0;
        } else if (in(noun, neuter())) {
            info.gender = 2;
            info.slot = 2;
        }
        u.noun_info = info;
    }
}

void pronouns(std::vector<MtUnit*>& U) {
    struct Pronoun {
        const char* key;
        std::int8_t gender;
        std::uint8_t plural;
        std::string_view bg;
    };
    static const Pronoun kPronouns[] = {
        {"you", 0, 0, kTi}, {"he", 0, 0, kToy}, {"she", 1, 0, kTya},
        {"it", 2, 0, kTova}, {"we", -1, 1, kNie}, {"they", -1, 1, kTe},
    };
    for (MtUnit* p : U) {
        if (is_article(*p)) continue;
        for (const Pronoun& pr : kPronouns) {
            if (!key_is(*p, pr.key)) continue;
            const int type = GetTypeId(pr.bg);
            p->noun_info = NounAdjInfo{pr.gender, pr.plural, 0, 0, static_cast<std::uint16_t>(type < 0 ? 0xFFFF : type)};
            p->is_noun = 1;
            break;
        }
    }
}

void her(std::vector<MtUnit*>& U) {
    for (std::size_t j = 0; j + 1 < U.size(); ++j)
        if (key_is(*U[j], "her") && U[j + 1]->is_noun == 1) set_text(*U[j], kNein);
}

void names(std::vector<MtUnit*>& U, const MtLexicon& lex) {
    const MtRows& r = mt_rows();
    for (MtUnit* p : U) {
        MtUnit& u = *p;
        if (u.is_noun != 0 || is_article(u)) continue;
        if (std::find(kNameKinds.begin(), kNameKinds.end(), u.kind) == kNameKinds.end() &&
            std::find(kAbbKinds.begin(), kAbbKinds.end(), u.kind) == kAbbKinds.end())
            continue;
        NounAdjInfo n{0, 0, 0, 0, 0xFFFF};
        if (lex.c(r.all_fem, u.key) || u.kind == kMtAbbFeminine) n.gender = 1;
        else if (lex.c(r.all_neu, u.key) || u.kind == kMtAbbNeuter) n.gender = 2;
        else if (lex.c(r.all_pl, u.key) || u.kind == kMtAbbPlural) {
            n.slot = 3;
            n.plural = 1;
        }
        u.noun_info = n;
        u.is_noun = 1;
    }
}

void that(std::vector<MtUnit*>& U) {
    const std::size_t m = U.size();
    for (std::size_t j = 0; j < m; ++j) {
        MtUnit& u = *U[j];
        if (!key_is(u, "that")) continue;
        const bool first = j == 0, last = j + 1 == m;
        if (first && !last &&
            is_one_of(U[j + 1]->key, {"this", "every", "everything", "most", "nothing", "no", "some", "such"})) {
            set_text(u, kChe);
            continue;
        }
        if (first) continue;
        if (!last && gap_has_comma(*U[j + 1])) {
            set_text(u, kTova);
            continue;
        }
        if (!last && is_one_of(U[j + 1]->key, {"the", "a", "my", "your", "his", "her", "our", "their", "this",
                                                     "every", "everything", "most", "nothing", "no", "some", "such"})) {
            set_text(u, kChe);
            continue;
        }
        const MtUnit& P = *U[j - 1];
        if (P.is_noun == 1) {
            if (std::string_view rel = relative(P.noun_info); !rel.empty()) set_text(u, rel);
        } else if (is_one_of(P.key, {"did", "does", "do", "have", "had", "got"}) || last) {
            set_text(u, kTova);
        } else if (P.kind == kMtVerbDa || P.kind == kMtVerbAz) {
            set_text(u, kChe);
        }
    }
}

void who(std::vector<MtUnit*>& U) {
    const std::size_t m = U.size();
    for (std::size_t j = 0; j < m; ++j) {
        MtUnit& u = *U[j];
        if (!key_is(u, "who")) continue;
        if (j == 0 || (j + 1 < m && gap_has_comma(*U[j + 1]))) {
            set_text(u, kKoy);
        } else if (U[j - 1]->is_noun == 1) {
            if (std::string_view rel = relative(U[j - 1]->noun_info); !rel.empty()) set_text(u, rel);
        }
    }
}

void whose(std::vector<MtUnit*>& U) {
    const std::size_t m = U.size();
    for (std::size_t j = 0; j < m; ++j) {
        MtUnit& u = *U[j];
        if (!key_is(u, "whose")) continue;
        if (j == 0) set_text(u, kChie);
        else if (j + 1 < m) set_text(u, gap_has_comma(*U[j + 1]) ? std::string_view(kChie) : std::string_view(kChiyto));
    }
}

void agree_whose(std::vector<MtUnit*>& U) {
    for (std::size_t j = 0; j < U.size(); ++j) {
        if (U[j]->is_noun != 1) continue;
        for (std::size_t k = j; k-- > 0;)
            if (key_is(*U[k], "whose")) {
                fix_adj(static_cast<int>(k), U.data(), U[j]->noun_info);
                break;
            }
    }
}

void agree_backwards(std::vector<MtUnit*>& U) {
    for (std::size_t j = 0; j < U.size(); ++j) {
        if (U[j]->is_noun != 1) continue;
        const NounAdjInfo noun = U[j]->noun_info;
        for (std::size_t k = j; k-- > 0;)
            if (fix_adj(static_cast<int>(k), U.data(), noun) == 0) break;
    }
}

void definite_article(std::vector<MtUnit*>& U) {
    for (std::size_t j = 1; j < U.size(); ++j) {
        MtUnit& u = *U[j];
        if (u.is_noun != 1 || u.kind != kMtNoun || !key_is(*U[j - 1], "the")) continue;
        const std::size_t blank = u.text.find(' ');
        const std::string noun = u.text.substr(0, blank);
        const std::string tail = blank == std::string::npos ? std::string() : u.text.substr(blank + 1);
        const NounAdjInfo& n = u.noun_info;
        int form = -1;
        if (n.gender == 0) form = n.slot == 0 ? 1 : n.slot == 3 ? 4 : -1;
        else if (n.gender == 1 || n.gender == 2) form = n.slot == 0 ? 1 : n.slot == 2 ? 3 : -1;
        if (form < 0) continue;
        std::string lemma, definite;
        if (GetBgLemma(noun, n.type, lemma) < 0) continue;
        if (GetBgForm(lemma, n.type, form, definite) != 1 || definite.empty()) continue;
        set_text(u, blank == std::string::npos ? definite : definite + " " + tail);
    }
}

void agree_forwards(std::vector<MtUnit*>& U) {
    int noun = -1;
    for (std::size_t j = 0; j < U.size(); ++j) {
        MtUnit& u = *U[j];
        if (is_article(u) || u.kind == kMtAdverb || key_is(u, "too")) continue;
        if (u.is_noun == 1) noun = static_cast<int>(j);
        if (u.agreed == 0 && noun >= 0 && !key_is(u, "this") &&
            fix_adj(static_cast<int>(j), U.data(), U[static_cast<std::size_t>(noun)]->noun_info) == 1)
            noun = -1;
    }
}

}  // namespace

void adjust_units(std::vector<MtUnit*>& list, const MtLexicon& lex) {
    attributes_and_adjectives(list, lex);
    nouns(list, lex);
    pronouns(list);
    her(list);
    names(list, lex);
    that(list);
    who(list);
    whose(list);
    agree_whose(list);
    agree_backwards(list);
    definite_article(list);
    agree_forwards(list);
}
