// What a run shows and writes, compared with a recording: a mixed English and Bulgarian text with
// repeated unknown words, run in the text-checker window under several sets of options and in the
// main window's entry box with "Word by word". Every panel's text and every character's format,
// the labels and every file the run wrote must stay as recorded, whatever is done to make the run
// faster. (JUX_RECORD_GOLDEN=1 records afresh; do that only for a wanted change of the output.)
#include <gtest/gtest.h>

#include <functional>

#include "lookup_fixture.h"
#include "support/panel_dump.h"

namespace {

constexpr std::string_view kText =
    "The big house is red. The hous is big, the hous is red; recieve recieve Recieve.\r"
    "Къщата е голяма. Къщта е голяма, къщта е червена. Софийа Софийа кнuга кн1га Кнuга.\r"
    "dog’s dog's walkin' xyz's 42 3.14 10.0.0.1 B2B qqqqqq qqqqqq mouse-house houses cat.\r"
    "най-голяма по-червена полуголяма ново-къщта КЪЩТА кЪЩта, big house; къщта hous къщта.\r"
    "recieve hous qqqqqq Софийа къщта.";

struct Options {
    const char* name;
    bool entry_box;                  // the main window's entry box instead of the checker
    std::function<void()> set;       // options besides the common ones
};

class RunGolden : public LookupTest {
protected:
    void load_lexicon() {
        load_dict(B_EN_BG, {"big a # голям", "cat", "dog n # куче", "house n # къща # дом", "houses pl. of house",
                            "is v # е", "red a # червен", "the", "walk v # ходя"});
        load_list(M_WL_ENGLISH, {"big 200", "dog 800", "house 300", "houses 900", "is 10", "mouse 4000",
                                 "receive 1500", "red 400", "the 1", "walking 700"});
        load_list(M_WL_ENGLISH2, {"cat a small animal", "mouse a smaller animal"});
        load_dict(B_BULGARIAN, {"голям 1000", "голяма 1010", "е 5", "книга 4753", "къща 2000", "къщата 2010",
                                "червен 2990", "червена 3000", "София"});
    }

    std::string run_and_dump(const Options& o) {
        const auto before = jux_test::folder_files(data.path());
        if (o.entry_box) {
            Button_SetCheck(hAddSentence, BST_CHECKED);
            look_up(kText);
        } else {
            check(kText);
        }
        std::string out = "#### ";
        out += o.name;
        out += "\n";
        const std::pair<const char*, HWND> panels[] = {
            {"checker right", hBigReRight}, {"checker left", hBigReLeft}, {"saved pane", hAddReSaved},
            {"short pane 3", hAddReShort3}, {"entry box", hAddReShort},   {"dictionary", dict},
        };
        for (const auto& [name, re] : panels) out += jux_test::dump_panel(name, re);
        out += "== labels\n" + label8(GetDlgItem(hBig, IDC_BIG_LABEL)) + "\n" + label8(hAddLabel) + "\n";
        out += jux_test::dump_changed_files(before, jux_test::folder_files(data.path()));
        return out;
    }
};

TEST_F(RunGolden, ShowsAndWritesWhatWasRecorded) {
    const Options table[] = {
        {"checker, every line and log", false,
         [] {
             gl_PRINT_FILTERED = 1;
             gl_PRINT_ALL_LATIN = 1;
             gl_ENGLIST_UNGROUPED = 1;
             gl_SPELL_UPPERCASE = 1;
             gl_TEXT_COLORING = 1;
             gl_SPELL_CHECKER_LOG = 1;
             gl_isFromClipboard = 1;
             gl_REPEATED_PARTS = 1;
         }},
        {"checker, rare words and capitals unchecked", false,
         [] {
             gl_COLOR_RARE = 1;
             gl_SPELL_UPPERCASE = 0;
             gl_ENGLIST_ALL = 1;
             gl_RANK_FILTER = 250;
         }},
        {"checker, suggestions for every word", false,
         [] {
             gl_ALLWAYS_SUGGEST = 1;
             gl_ENGLIST_UNGROUPED = 1;
         }},
        {"entry box, word by word", true, [] { gl_PRINT_FILTERED = 1; }},
        {"checker active, options as they start", false, [] { gl_SPELLING_MODE = 1; }},
        {"checker active, with logs", false,
         [] {
             gl_SPELLING_MODE = 1;
             gl_SPELL_CHECKER_LOG = 1;
             gl_isFromFile = 1;
         }},
    };
    std::string all;
    for (const Options& o : table) {
        TearDown();
        SetUp();
        load_lexicon();
        o.set();
        all += run_and_dump(o);
    }
    const std::filesystem::path golden = std::filesystem::path(JUX_TESTS_DIR) / "engine" / "golden" / "run_mixed.txt";
    EXPECT_EQ(jux_test::compare_with_golden(golden, all), "");
}

}  // namespace
