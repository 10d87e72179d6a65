// The checker's re-check after edits anywhere in a long text writes what a first check of the final
// text writes: the report with its colours, the marks in the source, the status lines, the token
// index and the files. The proof-reader keeps findings of stretches of the text from run to run;
// here the stretches are a few paragraphs long, so that edits fall near their ends.
#include <algorithm>
#include <random>

#include "golden_lexicon.h"
#include "engine/run/token_report.h"
#include "lexicon/morphology.h"

namespace {

class Recheck : public GoldenLexiconTest {
protected:
    // Everything a run leaves that a user or a later run sees.
    std::string state() {
        std::string out = jux_test::dump_panel("report", hBigReLeft) + jux_test::dump_panel("text", hBigReRight);
        out += "status " + label8(GetDlgItem(hBig, IDC_BIG_LABEL)) + " | " + utf16_to_utf8(big_label_up()) + "\n";
        for (const GRecord* g = g_floor; g && g < g_nd; ++g) out += u8(g->name) + " " + std::to_string(g->count) + "\n";
        for (const auto& [name, body] : jux_test::folder_files(data.path())) out += "file " + name + "\n" + body;
        return out;
    }
};

TEST_F(Recheck, RandomEditsEqualAFirstCheckOfTheFinalText) {
    load_lexicon();
    std::vector<std::string> subtitles;
    const std::vector<std::string> sentences = corpus(subtitles);
    std::u16string text;
    for (int copy = 0; copy < 2; ++copy)
        for (const std::string& s : sentences) text += utf8_to_utf16(s) + u"\r";
    const std::vector<std::u16string> inserts = {u"ж", u"x", u"\r", u"жщъхвл ", u" ", u"Маса, ", u" и и ",
                                                 utf8_to_utf16(sentences[7]) + u"\r"};
    for (const bool every_switch : {false, true}) {
        gl_CHECK_PUNCTUATION = 1;
        gl_NOVEL_MODE = gl_LOOSE_SPLIT = gl_FIND_TWO_NOUNS = every_switch;
        set_proof_stretch_records(12);
        check16(text);
        std::mt19937 rnd(every_switch ? 2027 : 1207);
        for (int round = 0; round < 8; ++round) {
            for (int edit = 0; edit < 5; ++edit) {
                // Start, middle or end of the text, or anywhere; an insertion, a deletion (of a
                // paragraph end too: a join) or both.
                const auto n = static_cast<LONG>(RE_GetTextLength(hBigReRight));
                const LONG places[] = {0, n / 2, n, static_cast<LONG>(rnd() % static_cast<unsigned>(n + 1))};
                const LONG at = std::min(places[rnd() % 4] + static_cast<LONG>(rnd() % 3), n);
                const LONG removed = rnd() % 3 == 0 ? static_cast<LONG>(rnd() % 4) : 0;
                const std::u16string& inserted = inserts[rnd() % inserts.size()];
                platform_user_text_edited(hBigReRight, at, removed, rnd() % 4 == 0 ? u"" : inserted);
                run_checker();
            }
            const std::string rechecked = state();
            const std::u16string final_text = RE_GetTextW(hBigReRight);
            reset_proofreading();
            set_proof_stretch_records(12);
            release_kept_bulgarian_answers();
            release_kept_form_memo();
            check16(final_text);
            const std::string first = state();
            const auto at = static_cast<std::size_t>(
                std::mismatch(rechecked.begin(), rechecked.end(), first.begin(), first.end()).first - rechecked.begin());
            ASSERT_TRUE(rechecked == first) << "every switch " << every_switch << ", round " << round << ", at " << at
                                            << ":\n" << rechecked.substr(at > 200 ? at - 200 : 0, 400) << "\n----\n"
                                            << first.substr(at > 200 ? at - 200 : 0, 400);
            ASSERT_EQ(at, static_cast<std::ptrdiff_t>(rechecked.size())) << rechecked.substr(at > 300 ? at - 300 : 0, 600);
        }
    }
    set_proof_stretch_records(2048);
}

}  // namespace
