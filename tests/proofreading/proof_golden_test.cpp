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
#include "golden_lexicon.h"
#include "shell/token_frequency_index.h"
#include "support/panel_dump.h"

namespace {

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

class ProofGolden : public GoldenLexiconTest {
protected:
    // The texts proof-read: the corpus and the generated sentences in pieces of 24 cases (each case a
    // paragraph), the whole corpus as one text, and the subtitle cases as one subtitle file.
    std::vector<std::string> texts() {
        std::vector<std::string> subtitles;
        std::vector<std::string> cases = corpus(subtitles);
        EXPECT_GT(cases.size(), 300u);
        const std::vector<std::string> more = generated_sentences(120);
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
