// Shared by the benchmarks of the text-processing run: real-like mixed English and Bulgarian prose
// over a generated vocabulary (words drawn by a Zipf law, sentences with capitals, commas, full
// stops and paragraphs, a Bulgarian sentence now and then), a given share of it misspelt (words one
// letter away from a vocabulary word, drawn by the same law, so that typos repeat as they do), and
// the lexicon files that know the vocabulary. Also the process's memory figures.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_random.h"
#include "platform/text.h"

namespace prose {

// The short words that make about a third of a Bulgarian text (code page 1251).
inline const std::vector<std::string>& bulgarian_small_words() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> v;
        for (const char* w : {"и", "на", "да", "се", "е", "в", "за", "не", "че", "от", "с", "по", "са", "като",
                              "но", "си", "ще", "той", "тя", "го", "ми", "му", "а", "до", "при", "какво", "това",
                              "или", "съм", "бе", "беше", "ако", "така", "когато", "който", "която", "най", "още",
                              "след", "към", "без", "преди", "ли", "ме", "ги", "им", "тези", "този", "тук", "там"})
            v.push_back(utf8_to_cp1251(w));
        return v;
    }();
    return words;
}

// A number in [0, 1) from the shared generator.
inline double unit(Lcg& rnd) { return (rnd() & 0xFFFFFF) / 16777216.0; }

// A word of `syllables` syllables, distinct for distinct `i` (code page 1251).
inline std::string make_word(std::uint32_t i, bool cyrillic) {
    static const char* const kEn[] = {"ba", "con", "de", "ex", "for", "gra", "hel", "in", "ker", "lo", "man", "ne",
                                      "or", "pre", "qua", "ri", "st", "ter", "un", "ver", "wa", "ty", "sh", "ing"};
    static const char* const kBg[] = {"ба", "въ", "го", "де", "жи", "за", "ко", "ла", "ме", "не", "по", "ра",
                                      "сто", "те", "ук", "фа", "хо", "це", "чу", "ша", "щи", "ър", "ят", "ка"};
    std::string w;
    std::uint32_t v = i;
    do {
        w += cyrillic ? utf8_to_cp1251(kBg[v % 24]) : std::string(kEn[v % 24]);
        v /= 24;
    } while (v > 0);
    return w;
}

struct Corpus {
    std::vector<std::string> english, bulgarian;         // the vocabulary, by frequency
    std::vector<std::string> english_typos, bulgarian_typos;  // misspellings, by frequency
};

// Changes one letter of a word into a letter it does not have there (never the first).
inline std::string misspell(const std::string& w, Lcg& rnd, bool cyrillic) {
    std::string t = w;
    const std::size_t at = 1 + rnd() % (t.size() - 1);
    const char letter = cyrillic ? static_cast<char>(0xE0 + rnd() % 30) : static_cast<char>('a' + rnd() % 26);
    t[at] = letter == t[at] ? static_cast<char>(letter + 1) : letter;
    return t;
}

inline Corpus make_corpus(std::size_t vocabulary, std::size_t typos) {
    Corpus c;
    Lcg rnd{4242};
    for (std::uint32_t i = 0; i < vocabulary; ++i) {
        c.english.push_back(make_word(i * 7 + 1, false));
        c.bulgarian.push_back(make_word(i * 7 + 1, true));
    }
    for (std::size_t i = 0; i < typos; ++i) {
        const std::size_t k = rnd() % (vocabulary / 4);
        c.english_typos.push_back(misspell(c.english[k], rnd, false));
        c.bulgarian_typos.push_back(misspell(c.bulgarian[k], rnd, true));
    }
    return c;
}

// An index drawn by a Zipf law (exponent 1) over n items.
inline std::size_t zipf(Lcg& rnd, std::size_t n) {
    const double u = unit(rnd);
    const auto k = static_cast<std::size_t>(std::exp(u * std::log(static_cast<double>(n) + 1.0))) - 1;
    return k < n ? k : n - 1;
}

// About `bytes` of prose; `unknown` is the share of misspelt words (0.02: two in a hundred).
inline std::string make_text(const Corpus& c, std::size_t bytes, double unknown) {
    Lcg rnd{99};
    std::string t;
    t.reserve(bytes + 256);
    int sentence_in_paragraph = 0;
    while (t.size() < bytes) {
        const bool cyrillic = rnd() % 3 == 0;
        const auto& words = cyrillic ? c.bulgarian : c.english;
        const auto& typos = cyrillic ? c.bulgarian_typos : c.english_typos;
        const int n = 6 + static_cast<int>(rnd() % 14);
        for (int i = 0; i < n; ++i) {
            std::string w = unit(rnd) < unknown ? typos[zipf(rnd, typos.size())] : words[zipf(rnd, words.size())];
            if (i == 0) w[0] = static_cast<char>(cp_toupper(static_cast<unsigned char>(w[0])));
            t += w;
            if (i + 1 < n) t += rnd() % 8 == 0 ? ", " : " ";
        }
        if (++sentence_in_paragraph == 6) {
            t += ".\r\n";
            sentence_in_paragraph = 0;
        } else {
            t += ". ";
        }
    }
    return t;
}

// The lexicon files that know the vocabulary, in `dir`: b_en-bg, wl_english (ranks) and
// b_bulgarian, each with `filler` more words that the text never uses.
inline void write_lexicon(const Corpus& c, const std::filesystem::path& dir, std::size_t filler) {
    std::filesystem::create_directories(dir);
    std::ofstream en(dir / "b_en-bg.txt", std::ios::binary), ranks(dir / "wl_english.txt", std::ios::binary),
        bg(dir / "b_bulgarian.txt", std::ios::binary);
    const std::string meaning = utf8_to_cp1251("дума, нещо");
    for (std::size_t i = 0; i < c.english.size(); ++i) {
        en << c.english[i] << " n # " << meaning << "\r\n";
        ranks << c.english[i] << ' ' << i + 1 << "\r\n";
        bg << c.bulgarian[i] << ' ' << i + 1 << "\r\n";
    }
    for (std::size_t i = 0; i < filler; ++i) {
        const std::string e = make_word(static_cast<std::uint32_t>(1'000'000 + i * 3), false);
        en << e << " n # " << meaning << "\r\n";
        bg << make_word(static_cast<std::uint32_t>(1'000'000 + i * 3), true) << ' ' << 50'000 + i << "\r\n";
    }
}

// Resident memory now and the peak since the last reset_peak (KiB).
inline long status_kib(const char* field) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long kib = 0;
    const std::string pattern = std::string(field) + ": %ld kB";
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, pattern.c_str(), &kib) == 1) break;
    std::fclose(f);
    return kib;
}
inline void reset_peak() {
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

}  // namespace prose
