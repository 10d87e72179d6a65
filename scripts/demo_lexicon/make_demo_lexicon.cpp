// Writes the demonstration lexicon of data/demo from the UTF-8 sources beside this file:
//
//   endings.txt    ending tables of the inflection types (name, cut, endings)
//   bg_lemmas.txt  Bulgarian lemmas, most frequent first: lemma, type name, English gloss
//   bg_forms.txt   word forms written by hand (form, lemma, type name, slot) for lemmas whose
//                  type has no ending table (pronouns, numerals, irregular nouns and verbs ...)
//   en_words.txt   English words, most frequent first: word, a blank, the entry text in the
//                  markup of b_en-bg (none: a word of the word list only); a final "{N}" gives
//                  the rank N ("{-}" none) and keeps the word out of the running count
//
// The forms of a lemma whose type has a table are made by the program's own morphology
// (bg_make_form over the ending table just written), so the index and the program agree; the
// first form must be the lemma itself, which catches a lemma given the wrong type. Made besides:
// b_english_types (the English nouns whose first rendering is a Bulgarian noun of the list, with
// that noun's type), b_capit and b_bulgarian_capit (the words written with a capital) and
// b_bulgarian_pronoun (the forms of pronouns and possessives). Every file is written in code
// page 1251 with CR LF line ends, sorted as the loaders sort.
// Usage: make_demo_lexicon <source folder> <data folder>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "dictionary/loading.h"
#include "lexicon/bgtypes.h"
#include "lexicon/tables.h"
#include "platform/text.h"

namespace fs = std::filesystem;

namespace {

int g_errors = 0;

void fail(const std::string& where, const std::string& what) {
    std::cerr << where << ": " << what << "\n";
    ++g_errors;
}

// The lines of a UTF-8 source without comments ('#' first) and blank lines, with their numbers.
std::vector<std::pair<int, std::string>> source_lines(const fs::path& p) {
    std::ifstream in(p);
    if (!in) {
        fail(p.string(), "cannot be read");
        return {};
    }
    std::vector<std::pair<int, std::string>> out;
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#' || line.find_first_not_of(" \t") == std::string::npos) continue;
        out.emplace_back(n, line);
    }
    return out;
}

std::vector<std::string> words_of(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> w;
    for (std::string x; in >> x;) w.push_back(x);
    return w;
}

std::string cp(const std::string& utf8) {
    bool bad = false;
    std::string out = utf8_to_cp1251(utf8, '?', &bad);
    if (bad) fail(utf8, "has characters outside code page 1251");
    return out;
}

// Writes lines (code page 1251 already) with CR LF ends.
void write_file(const fs::path& p, const std::vector<std::string>& lines) {
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    for (const std::string& l : lines) out << l << "\r\n";
    if (!out) fail(p.string(), "cannot be written");
}

struct Keyed {
    std::string key, rest;
};

// Sorts {key, rest} lines as the list loaders do (case-insensitive, stable) and drops a key
// repeated byte for byte, which must then carry the same rest.
std::vector<std::string> sorted_pairs(std::vector<Keyed> v, const std::string& file) {
    std::stable_sort(v.begin(), v.end(), [](const Keyed& a, const Keyed& b) { return cp_strcasecmp(a.key, b.key) < 0; });
    std::vector<std::string> out;
    std::map<std::string, std::string> seen;
    for (const Keyed& k : v) {
        auto [it, fresh] = seen.emplace(k.key, k.rest);
        if (!fresh) {
            if (it->second != k.rest) fail(file, "\"" + cp1251_to_utf8(k.key) + "\" is given twice");
            continue;
        }
        out.push_back(k.rest.empty() ? k.key : k.key + " " + k.rest);
    }
    return out;
}

struct Analysis {
    std::string form, lemma;  // code page 1251
    int type = 0, slot = 0;
};

struct Lemma {
    std::string lemma;  // code page 1251
    int type = 0, rank = 0;
    std::string gloss;  // English
};

// The first rendering of an entry: the text of its first sense up to a comma, a semicolon or the
// next sense or part of speech, without the notes in parentheses ("ще (спомагателен глагол)"
// gives "ще", "(тя) себе си" gives "себе си"): the translator prints a rendering as it stands, and
// the notes stay in the entry of b_en-bg. Empty for an entry that only refers to another word or
// whose first sense is a note only.
std::string first_rendering(const std::string& entry) {
    const std::size_t hash = entry.find('#');
    if (hash == std::string::npos) return {};
    std::string r = entry.substr(hash + 1);
    const std::size_t end = r.find_first_of(",;#@");
    if (end != std::string::npos) r.resize(end);
    std::string bare;
    int depth = 0;
    for (char c : r) {
        if (c == '(') ++depth;
        else if (c == ')' && depth > 0) --depth;
        else if (depth == 0 && !(c == ' ' && (bare.empty() || bare.back() == ' '))) bare += c;
    }
    while (!bare.empty() && bare.back() == ' ') bare.pop_back();
    return bare;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_demo_lexicon <source folder> <data folder>\n";
        return 2;
    }
    const fs::path src = argv[1], data = argv[2];
    init_bgtype_table();

    // Ending tables: copied as they are, then loaded so that bg_make_form uses them.
    std::vector<std::string> endings;
    for (const auto& [n, line] : source_lines(src / "endings.txt")) {
        const auto w = words_of(line);
        if (line[0] != '/' && (w.size() < 3 || bgtype_row_by_name(w[0]) < 0))
            fail("endings.txt:" + std::to_string(n), "no such type or no endings");
        endings.push_back(cp(line));
    }
    write_file(data / "bgtypes2" / kEndingsFile, endings);
    if (!load_endings(data)) fail(kEndingsFile, "was not loaded back");

    // Lemmas, most frequent first; the rank of a lemma is its place in the list.
    std::vector<Lemma> lemmas;
    std::map<std::pair<std::string, int>, int> rank_of;  // (lemma, type) -> rank
    for (const auto& [n, line] : source_lines(src / "bg_lemmas.txt")) {
        const auto w = words_of(line);
        const std::string at = "bg_lemmas.txt:" + std::to_string(n);
        if (w.size() < 3) {
            fail(at, "needs a lemma, a type and a gloss");
            continue;
        }
        Lemma l;
        l.lemma = cp(w[0]);
        l.type = bgtype_row_by_name(w[1]);
        if (l.type < 0) {
            fail(at, "no type " + w[1]);
            continue;
        }
        l.gloss = line.substr(line.find(w[1], w[0].size()) + w[1].size());
        l.gloss.erase(0, l.gloss.find_first_not_of(" \t"));
        l.rank = static_cast<int>(lemmas.size()) + 1;
        if (!rank_of.emplace(std::pair{l.lemma, l.type}, l.rank).second) fail(at, "repeats " + w[0] + " " + w[1]);
        lemmas.push_back(l);
    }

    // Analyses: made from the tables, or written by hand for types without one.
    std::vector<Analysis> all;
    std::set<std::pair<std::string, int>> hand_lemmas;
    std::map<std::tuple<std::string, int, int>, std::string> hand_slots;  // one form per slot
    for (const auto& [n, line] : source_lines(src / "bg_forms.txt")) {
        const auto w = words_of(line);
        const std::string at = "bg_forms.txt:" + std::to_string(n);
        if (w.size() != 4) {
            fail(at, "needs form, lemma, type and slot");
            continue;
        }
        Analysis a{cp(w[0]), cp(w[1]), bgtype_row_by_name(w[2]), std::atoi(w[3].c_str())};
        if (a.type < 0) {
            fail(at, "no type " + w[2]);
            continue;
        }
        std::string probe;
        if (bg_make_form(a.lemma, a.type, a.slot, probe) != -1) fail(at, "type " + w[2] + " has an ending table");
        if (!rank_of.count({a.lemma, a.type})) fail(at, w[1] + " " + w[2] + " is not in bg_lemmas.txt");
        hand_lemmas.insert({a.lemma, a.type});
        if (!hand_slots.emplace(std::tuple{a.lemma, a.type, a.slot}, a.form).second)
            fail(at, "slot " + w[3] + " of " + w[1] + " has a form already");
        all.push_back(a);
    }
    for (const Lemma& l : lemmas) {
        std::string form;
        const int first = bg_make_form(l.lemma, l.type, 0, form);
        if (first == -1) {
            if (!hand_lemmas.count({l.lemma, l.type}))
                fail(cp1251_to_utf8(l.lemma), "has neither an ending table nor forms in bg_forms.txt");
            continue;
        }
        // The first slot is the lemma itself: a lemma of the wrong type shows here.
        if (first != 1 || form != l.lemma)
            fail(cp1251_to_utf8(l.lemma), "does not end as type " + std::string(bgtype_ar[static_cast<size_t>(l.type)].name) +
                                              " wants (" + cp1251_to_utf8(form) + ")");
        const int slots = bgtype_ar[static_cast<size_t>(l.type)].count;
        for (int s = 0; s < slots; ++s)
            if (bg_make_form(l.lemma, l.type, s, form) == 1) all.push_back({form, l.lemma, l.type, s});
    }

    // One form never has two lemmas of one type: the program takes the first as the lemma.
    std::map<std::pair<std::string, int>, std::string> lemma_of;
    for (const Analysis& a : all) {
        std::string low = a.form;
        for (char& c : low) c = static_cast<char>(cp_tolower(static_cast<unsigned char>(c)));
        auto [it, fresh] = lemma_of.emplace(std::pair{low, a.type}, a.lemma);
        if (!fresh && it->second != a.lemma)
            fail(cp1251_to_utf8(a.form), "is a form of " + cp1251_to_utf8(it->second) + " and " +
                                             cp1251_to_utf8(a.lemma) + " in one type");
    }

    std::stable_sort(all.begin(), all.end(), [](const Analysis& a, const Analysis& b) {
        if (int c = cp_strcasecmp(a.form, b.form)) return c < 0;
        if (a.form != b.form) return a.form < b.form;
        if (a.lemma != b.lemma) return a.lemma < b.lemma;
        if (a.type != b.type) return a.type < b.type;
        return a.slot < b.slot;
    });
    all.erase(std::unique(all.begin(), all.end(),
                          [](const Analysis& a, const Analysis& b) {
                              return a.form == b.form && a.lemma == b.lemma && a.type == b.type && a.slot == b.slot;
                          }),
              all.end());
    std::vector<std::string> index;
    std::map<std::string, int> form_rank;
    for (const Analysis& a : all) {
        index.push_back(a.form + " " + a.lemma + " " + std::to_string(a.type) + " " + std::to_string(a.slot));
        const int r = rank_of[{a.lemma, a.type}];
        auto [it, fresh] = form_rank.emplace(a.form, r);
        if (!fresh) it->second = std::min(it->second, r);
    }
    write_file(data / "bgtypes2" / kWordFormFile, index);

    std::vector<Keyed> bulgarian, bulgarian_english;
    for (const auto& [form, r] : form_rank) bulgarian.push_back({form, std::to_string(r)});
    std::map<std::string, std::string> glosses;
    for (const Lemma& l : lemmas) {
        std::string& g = glosses[l.lemma];
        if (g.empty()) g = l.gloss;
        else if (g.find(l.gloss) == std::string::npos) g += "; " + l.gloss;
    }
    for (const auto& [lemma, gloss] : glosses) bulgarian_english.push_back({lemma, cp(gloss)});
    write_file(data / "b_bulgarian.txt", sorted_pairs(bulgarian, "b_bulgarian"));

    // The forms written with a capital, and the forms of pronouns and possessives.
    std::vector<Keyed> capitalised, pronouns;
    for (const Analysis& a : all) {
        if (cp_isupper(static_cast<unsigned char>(a.form[0]))) capitalised.push_back({a.form, {}});
        if ((a.type >= 171 && a.type <= 205) || a.type == BGT_87 || a.type == BGT_88) pronouns.push_back({a.form, {}});
    }
    write_file(data / "b_bulgarian_capit.txt", sorted_pairs(capitalised, "b_bulgarian_capit"));
    write_file(data / "b_bulgarian_pronoun.txt", sorted_pairs(pronouns, "b_bulgarian_pronoun"));
    write_file(data / "b_bulgarian_english.txt", sorted_pairs(bulgarian_english, "b_bulgarian_english"));

    // English: ranks, entries and first renderings.
    // English nouns whose first rendering is a Bulgarian noun of the list: its inflection type.
    std::map<std::string, int> noun_type;
    for (const Lemma& l : lemmas)
        if (bgtype_noun_gender(l.type) >= 0) noun_type.emplace(l.lemma, l.type);
    std::vector<Keyed> ranks, entries, renderings, types;
    int rank = 0;
    for (const auto& [n, line] : source_lines(src / "en_words.txt")) {
        const std::string at = "en_words.txt:" + std::to_string(n);
        const std::size_t blank = line.find(' ');
        if (blank == 0) {
            fail(at, "begins with a blank");
            continue;
        }
        const std::string word = line.substr(0, blank);
        std::string entry = blank == std::string::npos ? std::string() : line.substr(blank + 1), given;
        if (!entry.empty() && entry.back() == '}') {
            const std::size_t open = entry.rfind('{');
            if (open == std::string::npos) {
                fail(at, "a rank needs {}");
                continue;
            }
            given = entry.substr(open + 1, entry.size() - open - 2);
            entry.resize(open);
            while (!entry.empty() && entry.back() == ' ') entry.pop_back();
        }
        std::string r = given.empty() ? std::to_string(++rank) : given == "-" ? std::string() : given;
        ranks.push_back({cp(word), r});
        if (entry.empty()) continue;
        entries.push_back({cp(word), cp(entry)});
        const std::string first = first_rendering(entry);
        if (!first.empty()) renderings.push_back({cp(word), cp(first)});
        std::string pos = entry.substr(entry[0] == '[' ? entry.find(']') + 1 : 0);
        pos.erase(0, pos.find_first_not_of(' '));
        if (pos.starts_with("n #")) {
            const auto t = noun_type.find(cp(first));
            if (t != noun_type.end()) types.push_back({cp(word), std::to_string(t->second)});
        }
    }
    std::vector<Keyed> english_capitalised;
    for (const Keyed& k : ranks)
        if (cp_isupper(static_cast<unsigned char>(k.key[0]))) english_capitalised.push_back({k.key, {}});
    write_file(data / "b_capit.txt", sorted_pairs(english_capitalised, "b_capit"));
    write_file(data / "wl_english.txt", sorted_pairs(ranks, "wl_english"));
    write_file(data / "b_en-bg.txt", sorted_pairs(entries, "b_en-bg"));
    write_file(data / "b_english_bulgarian.txt", sorted_pairs(renderings, "b_english_bulgarian"));
    write_file(data / "b_english_types.txt", sorted_pairs(types, "b_english_types"));

    std::cout << lemmas.size() << " Bulgarian lemmas, " << index.size() << " analyses, " << form_rank.size()
              << " forms; " << rank << " ranked English words, " << entries.size() << " entries\n";
    return g_errors ? 1 : 0;
}
