// What the proof-reader shows, compared with a recording: a corpus of a few hundred varied Bulgarian
// sentences (tests/engine/golden/proof_corpus.txt, and sentences generated from the lexicon's words)
// over a lexicon in which every pass finds something, proof-read in pieces under the option sets the
// program offers. The report panel's text and formats, the marks in the source, the final selection,
// the rows that ran, the token index the passes leave behind and every file written must stay as
// recorded, whatever is done to make the proof-reader faster. (JUX_RECORD_GOLDEN=1 records afresh;
// do that only for a wanted change of the output.)
#include <cctype>
#include <fstream>
#include <functional>
#include <set>
#include <utility>

#include "engine/proofreading/pass_order.h"
#include "shell/gmake.h"
#include "support/panel_dump.h"
#include "word_fixture.h"

namespace {

// The cases of the corpus file, unescaped; `subtitles` gets those after the "## subtitles" line.
std::vector<std::string> corpus(std::vector<std::string>& subtitles) {
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
const std::initializer_list<std::string_view> kForms = {
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

// A panel dump without the runs of plain text (black, neither bold nor underlined).
std::string marked_runs(const std::string& dump) {
    std::string out;
    std::size_t at = 0;
    while (at < dump.size()) {
        const std::size_t nl = dump.find('\n', at);
        const std::string line = dump.substr(at, nl - at + 1);
        at = nl == std::string::npos ? dump.size() : nl + 1;
        if (line.size() > 8 && line.compare(line.size() - 8, 8, " 000000\n") == 0 && std::isdigit(static_cast<unsigned char>(line[0])))
            continue;
        out += line;
    }
    return out;
}

class ProofGolden : public WordsTest {
protected:
    void load_lexicon() {
        load_forms(kForms);
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

    // Sentences of the lexicon's words, small words and gaps with faults, from a fixed seed.
    static std::vector<std::string> generated(std::size_t count) {
        std::vector<std::string> words;
        for (std::string_view l : kForms) words.emplace_back(l.substr(0, l.find(' ')));
        for (const char* w : {"и", "да", "не", "на", "в", "за", "от", "по", "с", "със", "във", "ако", "ме", "му",
                              "го", "ли", "като", "когато", "който", "преди", "най", "че", "но", "тя", "ти"})
            words.emplace_back(w);
        static const char* const kGaps[] = {" ",   " ",  " ",  " ", ", ", " , ", " .", "  ", "..", " - ",
                                            "—",  "\r", ", ", " ", "\"", "… ", " ", " ", "; ", ":\r-"};
        std::uint64_t seed = 20261207;
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

    // The texts proof-read: the corpus and the generated sentences in pieces of 24 cases (each case a
    // paragraph), the whole corpus as one text, and the subtitle cases as one subtitle file.
    std::vector<std::string> texts() {
        std::vector<std::string> subtitles;
        std::vector<std::string> cases = corpus(subtitles);
        EXPECT_GT(cases.size(), 300u);
        const std::vector<std::string> more = generated(120);
        std::vector<std::string> out;
        std::string whole;
        for (const std::vector<std::string>* v : {&std::as_const(cases), &more}) {
            for (std::size_t i = 0; i < v->size(); i += 24) {
                std::string t;
                for (std::size_t k = i; k < std::min(v->size(), i + 24); ++k) t += (*v)[k] + "\r";
                out.push_back(t);
                whole += t;
            }
        }
        out.push_back(whole);
        std::string subs;
        for (std::size_t i = 0; i < subtitles.size(); ++i) {
            const std::string n = std::to_string(i + 1), s = std::to_string(10 + i);
            subs += n + "\r00:00:" + s + ",000 --> 00:00:" + s + ",500\r" + subtitles[i] + "\r\r";
        }
        out.push_back(subs);
        return out;
    }

    // The proof-reader's output for one text: how `run` ran it, then the panels, rows, index and files.
    std::string dump(const std::string& name, const std::function<void()>& run, HWND report) {
        const auto before = jux_test::folder_files(data.path());
        run();
        std::string out = "#### " + name + "\n";
        out += marked_runs(jux_test::dump_panel("report", report));
        out += "-- source\n";  // its text is the input
        const std::string src = jux_test::dump_panel("source", hBigReRight);
        out += marked_runs(src.substr(src.find("-- formats\n") + 11));
        const CHARRANGE sel = RE_GetSel(report);
        out += "-- selection " + std::to_string(sel.cpMin) + "-" + std::to_string(sel.cpMax) + "\n-- rows";
        for (int r : last_proof.rows) out += " " + std::to_string(r);
        out += last_proof.header ? "\n-- header\n" : "\n-- no header\n";
        out += "-- token index\n";
        for (const GRecord* g = g_floor; g && g < g_nd; ++g) out += u8(g->name) + " " + std::to_string(g->count) + "\n";
        out += jux_test::dump_changed_files(before, jux_test::folder_files(data.path()));
        return out;
    }
};

struct OptionSet {
    const char* name;
    std::function<void()> set;
    enum { Proof, Checker, EntryBox } how = Proof;
};

TEST_F(ProofGolden, ReportsColoursAndFilesAsRecorded) {
    const std::vector<OptionSet> sets = {
        {"as the program starts", [] {}},
        {"every switch on (novel mode, loose splitting, two nouns)",
         [] {
             gl_NOVEL_MODE = 1;
             gl_LOOSE_SPLIT = 1;
             gl_FIND_TWO_NOUNS = 1;
         }},
        {"every optional pass off, no text colouring",
         [] {
             gl_FIND_SHT_SH = 0;
             gl_FIND_SH_SHT = 0;
             gl_FIND_PO_NAI = 0;
             gl_FIND_COMMA = 0;
             gl_FIND_TWO_LETTERS = 0;
             gl_FIND_NO_STOP = 0;
             gl_FIND_CONCORD = 0;
             gl_FIND_ARTICLES = 0;
             gl_TEXT_COLORING = 0;
         }},
        {"LOAD_BG off, novel mode", [] {
             OP[OPT_LOAD_BG].num_value = 0;
             gl_NOVEL_MODE = 1;
         }},
        {"the checker's whole run, every switch on, every Latin word printed",
         [] {
             gl_NOVEL_MODE = 1;
             gl_LOOSE_SPLIT = 1;
             gl_FIND_TWO_NOUNS = 1;
             gl_PRINT_ALL_LATIN = 1;
         },
         OptionSet::Checker},
        {"the checker's whole run as the program starts", [] {}, OptionSet::Checker},
        {"the entry box, novel mode", [] { gl_NOVEL_MODE = 1; }, OptionSet::EntryBox},
    };
    const std::vector<std::string> all = texts();
    std::string out;
    std::set<int> fired;  // rows whose title stands in some report
    for (const OptionSet& o : sets) {
        for (std::size_t t = 0; t < all.size(); ++t) {
            // The entry box gets a few pieces: its run is the dictionary's, word by word.
            if (o.how == OptionSet::EntryBox && t % 6 != 0) continue;
            // The whole corpus in one text, and the checker's whole run, for some of the sets and texts.
            if (t + 2 == all.size() && &o != &sets.front()) continue;
            if (o.how == OptionSet::Checker && t % 4 != 1) continue;
            TearDown();
            SetUp();
            load_lexicon();
            o.set();
            const std::string& text = all[t];
            HWND report = hBigReLeft;
            std::function<void()> run = [&] { proof(text); };
            if (o.how == OptionSet::Checker) {
                run = [&] {
                    gl_CHECK_PUNCTUATION = 1;
                    check(text);
                };
            } else if (o.how == OptionSet::EntryBox) {
                report = hAddReSaved;
                run = [&] {
                    Button_SetCheck(hAddSentence, BST_CHECKED);
                    type_entry(text);
                };
            }
            out += dump(std::string(o.name) + ", text " + std::to_string(t + 1), run, report);
            const std::string r = utf16_to_utf8(RE_GetTextW(report));
            for (const PassRow& row : pass_order) {
                std::string title = utf16_to_utf8(row.title);
                if (const auto crlf = title.find("\r\n"); crlf != std::string::npos) title.erase(crlf + 1, 1);
                if (!title.empty() && r.find(title) != std::string::npos) fired.insert(row.order);
            }
            if (r.find(u8(cp("Параграфи:"))) != std::string::npos) fired.insert(0);
            if (r.find(u8(cp("<запетая><интервал><точка>"))) != std::string::npos) fired.insert(13);
            if (r.find(u8(cp("потенциални грешки: л -> з"))) != std::string::npos) fired.insert(37);
        }
    }
    // Every pass found something somewhere in the corpus.
    for (const PassRow& row : pass_order) EXPECT_TRUE(fired.count(row.order)) << "row " << row.order << " never fired";

    const std::filesystem::path golden = std::filesystem::path(JUX_TESTS_DIR) / "engine" / "golden" / "proof_corpus_report.txt";
    EXPECT_EQ(jux_test::compare_with_golden(golden, out), "");
}

}  // namespace
