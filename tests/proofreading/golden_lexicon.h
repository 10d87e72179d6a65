// The corpus and the lexicon of the proof-reader's golden test (tests/engine/golden/proof_corpus.txt):
// a few hundred varied Bulgarian sentences and the word forms and lists with which every pass finds
// something in them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "word_fixture.h"

// The cases of the corpus file, unescaped; `subtitles` gets those after the "## subtitles" line.
inline std::vector<std::string> corpus(std::vector<std::string>& subtitles) {
    std::ifstream in(std::filesystem::path(JUX_TESTS_DIR) / "engine" / "golden" / "proof_corpus.txt",
                     std::ios::binary);
    std::vector<std::string> cases;
    std::vector<std::string>* to = &cases;
    for (std::string l; std::getline(in, l);) {
        if (l == "## subtitles") {
            to = &subtitles;
            continue;
        }
        if (l.empty() || l[0] == '#') continue;
        std::string s;
        for (std::size_t i = 0; i < l.size(); ++i) {
            if (l[i] != '\\' || i + 1 == l.size()) {
                s += l[i];
                continue;
            }
            const char e = l[++i];
            if (e == 'r') s += '\r';
            else if (e == 't') s += '\t';
            else if (e == 'u' && l.compare(i, 5, "u00A0") == 0) {
                s += "\u00A0";
                i += 4;
            } else s += e;
        }
        to->push_back(s);
    }
    return cases;
}

// The lexicon: the word forms of the passes' own tests together, so that every pass has words to find.
inline const std::initializer_list<std::string_view> kForms = {
    "град град 0 0", "града град 0 1", "градът град 0 2", "учител учител 47 0", "учителя учител 47 1",
    "учителят учител 47 2", "нов нов 140 0", "новия нов 140 1", "новият нов 140 2", "жена жена 85 0",
    "жената жена 85 1", "чичо чичо 76 0", "чичото чичо 76 1", "чичовци чичо 76 2", "кол кол 0 0", "кола кол 0 1",
    "колът кол 0 2", "чай чай 47 0", "чая чай 47 1", "чаят чай 47 2", "чая чая 303 0", "е съм 228 2",
    "си съм 228 1", "съм съм 228 0", "са съм 228 5", "сме съм 228 3", "сте съм 228 4", "чете чета 300 2",
    "двама двама 206 0", "софия софия 459 0", "роза роза 459 0", "роза роза 85 0", "д'артанян д'артанян 459 0",
    "голям голям 149 0", "бойното боен 140 6", "цялата цял 140 4", "целия цял 140 1", "пишещ пиша 228 47",
    "пишеш пиша 228 5", "четеш чета 228 5", "белоградчик белоградчик 459 0", "стол стол 0 0", "стола стол 0 1",
    "столове стол 0 3", "дяволите дявол 0 4", "маса маса 85 0", "масата маса 85 1", "чаша чаша 85 0",
    "вода вода 85 0", "машина машина 85 0", "банка банка 85 0", "жени жена 85 2", "жени женя 300 1",
    "зимата зима 85 1", "момче момче 114 0", "кафе кафе 114 0", "нещо нещо 114 0",
    "съжаление съжаление 114 0", "хубав хубав 140 0", "хубава хубав 140 3", "хубавата хубав 140 4",
    "хубави хубав 140 7", "скъпи скъп 140 7", "сити сити 140 7", "два два 206 0", "пеещ пея 300 47",
    "отиде отида 300 8", "писах пиша 300 6", "лежи лежа 300 2", "може мога 300 2", "би бъда 300 9",
    "ох ох 471 0", "синьо син 140 5", "онова онзи 140 5", "общо общ 140 5", "зла зъл 140 3",
    "умисъл умисъл 0 0", "право право 114 0", "ден ден 0 0", "нужно нужен 140 5", "сини син 143 0",
    "маси маса 85 2", "иван иван 459 0", "помогнах помогна 400 6", "къща къща 85 0", "къщата къща 85 1",
    "червен червен 140 0", "червения червен 140 1", "червеният червен 140 2", "бързо бърз 449 0",
    "вълк вълк 79 0", "вълка вълк 79 1", "месец месец 0 0", "първия първи 140 1",
};

// The word tests over that lexicon.
class GoldenLexiconTest : public WordsTest {
protected:
    void load_lexicon() {
        load_forms(kForms);
        load_lexicon_lists();
    }
    // The word lists of the lexicon alone.
    void load_lexicon_lists() {
        load_dict(B_BULGARIAN,
                  {"пишещ", "пишеш", "четеш", "не", "вероятно", "невероятно", "черно", "бял", "черно-бял", "на",
                   "разкъсана", "мама", "ката", "мамаката", "белоградчик", "и", "маса", "масата", "подписах",
                   "подлежи", "ох", "кола", "колата", "ще", "добре", "дошли", "иван", "г.", "тук", "е", "отвъд",
                   "в", "т.е.", "т.н. 5", "подобър", "къща", "казах", "коза", "стол", "град", "учител"});
        load_dict(B_BULGARIAN_COMMA1, {"в", "без", "преди", "вместо", "като", "на", "за", "от", "по", "под", "с",
                                       "отвъд"});
        load_dict(B_BULGARIAN_COMMA2, {"който", "която", "което", "които", "каквото", "когото"});
        load_dict(B_BULGARIAN_MISSPELLING,
                  {"от_колкото отколкото | от колкото (рядко)", "де_ла дела", "за_него занего(рядко)"});
        load_dict(B_BULGARIAN_MISSPELLING_FAST, {"за_това"});
        load_dict(B_BULGARIAN_PO_NAI, {"бял"});
        load_dict(B_BULGARIAN_PRONOUN, {"онова"});
        load_dict(B_BULGARIAN_CAPIT, {"колата_е"});
        load_dict(B_BULGARIAN_TWO_LETTERS, {"л з", "х"});
    }
};

// Sentences of the lexicon's words, small words and gaps with faults, from the seed.
inline std::vector<std::string> generated_sentences(std::size_t count, std::uint64_t seed = 20261207) {
    std::vector<std::string> words;
    for (std::string_view l : kForms) words.emplace_back(l.substr(0, l.find(' ')));
    for (const char* w : {"и", "да", "не", "на", "в", "за", "от", "по", "с", "със", "във", "ако", "ме", "му",
                          "го", "ли", "като", "когато", "който", "преди", "най", "че", "но", "тя", "ти"})
        words.emplace_back(w);
    static const char* const kGaps[] = {" ",   " ",  " ",  " ", ", ", " , ", " .", "  ", "..", " - ",
                                        "—",  "\r", ", ", " ", "\"", "… ", " ", " ", "; ", ":\r-"};
    auto next = [&seed](std::size_t n) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::size_t>((seed >> 33) % n);
    };
    std::vector<std::string> out;
    for (std::size_t s = 0; s < count; ++s) {
        std::string t;
        const std::size_t len = 3 + next(9);
        for (std::size_t i = 0; i < len; ++i) {
            std::string w = words[next(words.size())];
            if (i == 0 && next(4) != 0) w = u8(capitalised_word(cp(w)));
            t += w;
            if (i + 1 < len) t += kGaps[next(std::size(kGaps))];
        }
        t += next(5) == 0 ? "?" : ".";
        out.push_back(t);
    }
    return out;
}
