// Shared by the benchmarks that need a lexicon of the size and shape of a real one: about 870,000
// Bulgarian word forms of about 75,000 lemmas and an English-Bulgarian dictionary of 30,000
// entries, written into a temporary folder in the layouts of docs/data-formats.md.
//
// The Bulgarian forms come from the project's own morphology: the inflection types and ending
// tables of the demonstration lexicon (data/demo/bgtypes2/_endings.txt, read by load_endings) make
// every form of every lemma with bg_make_form. Each made lemma takes the ending letters of a
// demonstration lemma of its type (so that the type's cut and '?' letters fit it) behind one to
// four made-up syllables; nouns, adjectives, verbs (up to 56 forms each) and invariable words come
// in about the shares of a real word list, with a few proper names written with a capital. Most
// forms have 6 to 14 letters, and forms of different lemmas coincide now and then, as they do.
// The short words that make a third of a Bulgarian text (prose::bulgarian_small_words) are in it
// with their analyses from the demonstration index, as every real list has them.
// Every third inflection type is left out of the written ending tables, so that the paradigms of
// its lemmas are found through the lemma index, as those of irregular types are.
//
// The word-form index and b_bulgarian are written sorted as the loaders sort (case-insensitively,
// cp_strcasecmp), so that a load does what the program's start does with a real list. Optionally
// one more lemma gets a given number of forms (the bad input of one enormous paradigm).
//
// The generator sets the process's inflection-type tables while it works: call it before loading
// the lexicon it writes. Needs JUX_DEMO_DIR (bench/CMakeLists.txt defines it for every benchmark);
// a benchmark that includes it links at least dictionary, lexicon, shell and platform.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unordered_set>
#include <unistd.h>
#include <vector>

#include "bench/bench_random.h"
#include "bench/prose_util.h"
#include "dictionary/loading.h"
#include "lexicon/bgtypes.h"
#include "lexicon/tables.h"
#include "platform/text.h"

#ifndef JUX_DEMO_DIR
#error "JUX_DEMO_DIR must name the demonstration lexicon (data/demo)"
#endif

namespace real_size {

struct Shape {
    std::size_t forms = 870'000;           // distinct Bulgarian forms (at least)
    std::size_t english_entries = 30'000;  // entries of b_en-bg, b_en-en and wl_english
    std::size_t english_words = 0;         // words of wl_english when more: words of no entry added
    std::size_t one_lemma_forms = 0;       // forms of one more lemma, each a form of its own
    std::uint64_t seed = 2026;
};

struct Lexicon {
    std::filesystem::path dir;            // the data folder (alt)
    std::vector<std::string> forms;       // every distinct Bulgarian form (code page 1251), in file order
    std::vector<std::string> english;     // the English headwords, in file order
    std::size_t lemmas = 0;               // Bulgarian lemmas made
    std::size_t analyses = 0;             // lines of the word-form index
    std::size_t lemmas_without_table = 0; // lemmas of the types left out of the ending tables

    Lexicon() = default;
    Lexicon(const Lexicon&) = delete;
    Lexicon& operator=(const Lexicon&) = delete;
    ~Lexicon() {
        std::error_code ec;
        if (!dir.empty()) std::filesystem::remove_all(dir, ec);
    }
};

namespace detail {

inline std::vector<std::string> to_cp1251(std::initializer_list<const char*> utf8) {
    std::vector<std::string> v;
    for (const char* s : utf8) v.push_back(utf8_to_cp1251(s));
    return v;
}

inline std::vector<std::string> split_blanks(const std::string& line) {
    std::vector<std::string> f;
    std::istringstream in(line);
    for (std::string w; in >> w;) f.push_back(w);
    return f;
}

struct Analysis {
    std::string form;
    std::uint32_t lemma = 0;  // index into the lemma texts
    std::uint16_t row = 0;
    std::uint16_t slot = 0;
};

// Part of speech of a type row, as a share of the lemmas: 0 nouns, 1 adjectives, 2 verbs, 3 the rest.
inline int word_class(int row) {
    if (row < 140) return 0;
    if (row < 171) return 1;
    if (row >= 228 && row < 449) return 2;
    return 3;
}

inline void write_file(const std::filesystem::path& p, const std::string& s) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(s.data(), static_cast<std::streamsize>(s.size()));
}

inline std::string english_word(Lcg& rnd) {
    static const char* const kSyl[] = {"ab", "ac", "al", "an", "ar", "be", "ble", "ca", "ce", "ci", "co", "com",
                                       "con", "de", "di", "dis", "el", "en", "er", "ex", "fa", "fi", "for", "ga",
                                       "gen", "ha", "in", "ing", "ion", "is", "la", "le", "li", "lo", "ma", "me",
                                       "men", "mi", "mo", "na", "ne", "no", "or", "pa", "pe", "per", "pi", "po",
                                       "pro", "ra", "re", "ri", "ro", "sa", "se", "si", "so", "sta", "ta", "te",
                                       "ter", "ti", "to", "tion", "tra", "un", "ve", "vi", "st", "th", "sh", "ly"};
    constexpr std::uint32_t kN = sizeof kSyl / sizeof kSyl[0];
    static const int kSyllables[] = {1, 2, 2, 2, 3, 3, 3, 3, 4, 4};
    std::string w;
    for (int k = kSyllables[rnd() % 10]; k > 0; --k) w += kSyl[rnd() % kN];
    return w;
}

}  // namespace detail

// Writes the lexicon into a new temporary folder named after `tag` and the process.
inline std::unique_ptr<Lexicon> make_lexicon(const std::string& tag, const Shape& shape = {}) {
    using detail::Analysis;
    auto lex = std::make_unique<Lexicon>();
    lex->dir = std::filesystem::temp_directory_path() / ("jux_real_size_" + tag + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(lex->dir);
    std::filesystem::create_directories(lex->dir / "bgtypes2");
    Lcg rnd{shape.seed};

    // The project's inflection types with their ending tables.
    clear_lexicon_tables();
    const std::filesystem::path demo = JUX_DEMO_DIR;
    load_endings(demo);

    // The written ending tables: every third type line is left out.
    std::vector<bool> without_table(BGTYPES, false);
    {
        std::ifstream in(demo / "bgtypes2" / kEndingsFile, std::ios::binary);
        std::string out, line;
        int type_lines = 0;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::vector<std::string> f = detail::split_blanks(line);
            if (!line.empty() && line[0] != '/' && !f.empty()) {
                const int row = bgtype_row_by_name(f[0]);
                if (row >= 0 && ++type_lines % 3 == 0) {
                    without_table[static_cast<std::size_t>(row)] = true;
                    continue;
                }
            }
            out += line;
            out += "\r\n";
        }
        detail::write_file(lex->dir / "bgtypes2" / kEndingsFile, out);
    }

    // Models: the demonstration lemmas of each type with a table, by word class.
    struct Model {
        int row;
        std::string tail;  // the lemma's last letters a made lemma keeps
    };
    std::vector<Model> models[4];
    {
        std::ifstream in(demo / "bgtypes2" / kWordFormFile, std::ios::binary);
        std::unordered_set<std::string> seen;
        std::string line;
        while (std::getline(in, line)) {
            const std::vector<std::string> f = detail::split_blanks(line);
            if (f.size() != 4) continue;
            const int row = std::atoi(f[2].c_str());
            if (row < 0 || row >= BGTYPES || bgtype_ar[static_cast<std::size_t>(row)].count == 0) continue;
            const std::string& lemma = f[1];
            if (static_cast<unsigned char>(lemma[0]) < 0xE0 || !seen.insert(lemma + ' ' + f[2]).second) continue;
            const std::size_t keep = std::min<std::size_t>(lemma.size(), bgtype_ar[static_cast<std::size_t>(row)].cut + 2u);
            models[detail::word_class(row)].push_back({row, lemma.substr(lemma.size() - keep)});
        }
    }

    const std::vector<std::string> syllables = detail::to_cp1251(
        {"ба", "ве", "гра", "до", "же", "за", "ис", "ка", "ло", "ми", "но", "об", "па", "ре", "са", "то", "у",
         "фи", "хо", "це", "чер", "ша", "ю", "бе", "вър", "ди", "ел", "зна", "ко", "лу", "мо", "не", "пре",
         "раз", "ст", "тър", "ун", "ща", "из", "пла", "сли", "дру", "кра", "съ", "въз", "от", "про", "на"});
    auto prefix = [&](std::size_t letters) {
        std::string p;
        do p += syllables[rnd() % syllables.size()];
        while (p.size() < letters);
        return p;
    };

    std::vector<std::string> lemma_text;
    std::vector<Analysis> lines;
    lines.reserve(shape.forms * 9 / 8 + shape.one_lemma_forms + 64);
    std::unordered_set<std::string> distinct;
    distinct.reserve(shape.forms + 64);
    std::unordered_set<std::string> lemma_seen;
    std::string form;
    // Shares of the lemmas, in percent: nouns, adjectives, verbs, other words, proper names.
    constexpr int kShare[] = {49, 20, 18, 10, 3};
    while (distinct.size() < shape.forms) {
        const std::uint32_t pick = rnd() % 100;
        int cls = 0;
        for (std::uint32_t acc = kShare[0]; pick >= acc; acc += kShare[++cls]) {
        }
        if (cls == 4) {  // a proper name: one form, written with a capital, of a type without a table
            std::string name = prefix(4 + rnd() % 6);
            name[0] = static_cast<char>(static_cast<unsigned char>(name[0]) - 0x20);
            if (!lemma_seen.insert(name).second) continue;
            lemma_text.push_back(name);
            lines.push_back({name, static_cast<std::uint32_t>(lemma_text.size() - 1), 459, 0});
            distinct.insert(name);
            ++lex->lemmas_without_table;
            continue;
        }
        if (models[cls].empty()) continue;
        const Model& m = models[cls][rnd() % models[cls].size()];
        const std::size_t target = 5 + rnd() % 5 + rnd() % 4;  // 5 to 12 letters, most 7 to 10
        const std::size_t want = target > m.tail.size() ? target - m.tail.size() : 1;
        const std::string lemma = prefix(std::max<std::size_t>(want, 1)) + m.tail;
        if (!lemma_seen.insert(lemma + '\x01' + std::to_string(m.row)).second) continue;
        lemma_text.push_back(lemma);
        const auto id = static_cast<std::uint32_t>(lemma_text.size() - 1);
        const BgTypeRecord& t = bgtype_ar[static_cast<std::size_t>(m.row)];
        for (int slot = 0; slot < t.count; ++slot)
            if (bg_make_form(lemma, m.row, slot, form) == 1) {
                lines.push_back({form, id, static_cast<std::uint16_t>(m.row), static_cast<std::uint16_t>(slot)});
                distinct.insert(form);
            }
        if (without_table[static_cast<std::size_t>(m.row)]) ++lex->lemmas_without_table;
    }
    // The short words, with their analyses in the demonstration index (a word it lacks is one
    // unclassified form of its own).
    {
        const std::vector<std::string>& small = prose::bulgarian_small_words();
        std::unordered_set<std::string> wanted(small.begin(), small.end()), found;
        std::ifstream in(demo / "bgtypes2" / kWordFormFile, std::ios::binary);
        std::string line;
        const auto add = [&](const std::string& f, const std::string& lemma, int row, int slot) {
            lemma_text.push_back(lemma);
            lines.push_back({f, static_cast<std::uint32_t>(lemma_text.size() - 1), static_cast<std::uint16_t>(row),
                             static_cast<std::uint16_t>(slot)});
            distinct.insert(f);
        };
        while (std::getline(in, line)) {
            const std::vector<std::string> f = detail::split_blanks(line);
            if (f.size() != 4 || !wanted.count(f[0])) continue;
            add(f[0], f[1], std::atoi(f[2].c_str()), std::atoi(f[3].c_str()));
            found.insert(f[0]);
        }
        for (const std::string& w : small)
            if (!found.count(w)) add(w, w, BGT_UNCLASSIFIED, 0);
    }
    if (shape.one_lemma_forms > 0) {
        const std::string lemma = utf8_to_cp1251("многоформен");
        lemma_text.push_back(lemma);
        const auto id = static_cast<std::uint32_t>(lemma_text.size() - 1);
        for (std::size_t i = 0; i < shape.one_lemma_forms; ++i) {
            std::string f = lemma;
            for (std::size_t v = i + 900; v > 0; v /= 30) f += static_cast<char>(0xE0 + v % 30);
            lines.push_back({f, id, BGT_UNCLASSIFIED, static_cast<std::uint16_t>(i % 65536)});
        }
    }
    distinct = {};
    lex->lemmas = lemma_text.size();
    lex->analyses = lines.size();
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Analysis& a, const Analysis& c) { return cp_strcasecmp(a.form, c.form) < 0; });

    // The word-form index and b_bulgarian (every distinct form with the rank of its lemma).
    std::vector<std::uint32_t> lemma_rank(lemma_text.size());
    for (auto& r : lemma_rank) r = 1 + rnd() % 200'000;
    {
        std::string idx, words;
        idx.reserve(lines.size() * 32);
        words.reserve(lines.size() * 16);
        std::unordered_set<std::string_view> written;
        written.reserve(lines.size());
        for (const Analysis& a : lines) {
            idx += a.form;
            idx += ' ';
            idx += lemma_text[a.lemma];
            idx += ' ';
            idx += std::to_string(a.row);
            idx += ' ';
            idx += std::to_string(a.slot);
            idx += "\r\n";
            if (!written.insert(a.form).second) continue;
            lex->forms.push_back(a.form);
            words += a.form;
            words += ' ';
            words += std::to_string(lemma_rank[a.lemma]);
            words += "\r\n";
        }
        detail::write_file(lex->dir / "bgtypes2" / kWordFormFile, idx);
        detail::write_file(lex->dir / "b_bulgarian.txt", words);
    }

    // The English-Bulgarian dictionary, the English-English one and the ranked English word list,
    // over the same headwords; the renderings are made lemmas.
    {
        std::unordered_set<std::string> seen;
        while (lex->english.size() < shape.english_entries) {
            std::string w = detail::english_word(rnd);
            if (w.size() >= 2 && seen.insert(w).second) lex->english.push_back(std::move(w));
        }
        std::sort(lex->english.begin(), lex->english.end(),
                  [](const std::string& a, const std::string& c) { return cp_strcasecmp(a, c) < 0; });
        std::vector<std::string> more;  // the English list's words beyond the headwords
        while (more.size() + lex->english.size() < shape.english_words) {
            std::string w = detail::english_word(rnd);
            if (w.size() >= 2 && seen.insert(w).second) more.push_back(std::move(w));
        }
        const std::string sep = utf8_to_cp1251(", ");
        std::string bg, en;
        std::vector<std::pair<std::string, std::uint32_t>> ranked;
        for (std::size_t i = 0; i < lex->english.size(); ++i) {
            const std::string& w = lex->english[i];
            const auto rendering = [&] { return lemma_text[rnd() % lemma_text.size()]; };
            bg += w;
            if (i % 7 == 0) bg += " [" + w.substr(0, 3) + "\xB1l]";
            bg += " n # " + rendering() + sep + rendering();
            if (i % 3 == 0) bg += " # " + rendering();
            if (i % 4 == 0) bg += " @ v # " + rendering();
            bg += "\r\n";
            en += w + " a made-up English definition of the headword number " + std::to_string(i) + "\r\n";
            ranked.emplace_back(w, 1 + rnd() % 90'000);
        }
        for (std::string& w : more) ranked.emplace_back(std::move(w), 1 + rnd() % 90'000);
        if (!more.empty())
            std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& c) { return cp_strcasecmp(a.first, c.first) < 0; });
        std::string ranks;
        for (const auto& [w, rank] : ranked) ranks += w + ' ' + std::to_string(rank) + "\r\n";
        detail::write_file(lex->dir / "b_en-bg.txt", bg);
        detail::write_file(lex->dir / "b_en-en.txt", en);
        detail::write_file(lex->dir / "wl_english.txt", ranks);
    }
    clear_lexicon_tables();
    return lex;
}

}  // namespace real_size
