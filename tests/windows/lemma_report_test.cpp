// The lemma-grouping reports over a generated word list "a" and dictionary, run from the About box.
#include <sstream>

#include "../lexicon/lex_test_util.h"
#include "support/lemma_tables.h"
#include "windows/about_box.h"
#include "windows/lemma_report.h"
#include "resources/secondary.h"
#include "shell/files.h"

namespace {

class LemmaReportTest : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        dir_alt = data.path();
        jux_test::LemmaTables t;
        t.word("cat", "котка", 1500);
        t.word("cats", "pl. of cat", 3200);
        t.word("go", "отивам", 40000);
        t.word("went", "pt of go", 50000);  // may cross first letters
        t.word("kine", "pl. of cow");         // may not: rank 1,000,000
        t.word("cow", "крава", 2000);
        t.word("zzz", std::nullopt, 0, false);
        t.word("big", "голям", 300);
        t.word("bigger", "comparative of big", 900);
        t.word("biggers", "pl. of bigger", 950);
        t.word("nodef", std::nullopt);
        t.word("run", "тичам", 100);
        for (char c = 'a'; c <= 'm'; ++c) t.word(std::string("run") + c, "pl. of run");
        t.word("found", "pt of find", 3200);  // always clean
        t.install();
        tables = std::move(t);
    }
    // The report's lines (without ".txt").
    std::vector<std::string> lines(const std::string& name) const {
        std::vector<std::string> out;
        const std::string text = data.read(name + ".txt");
        for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            out.push_back(text.substr(at, end - at));
        return out;
    }
    bool has(const std::string& name, const std::string& line) const {
        const std::vector<std::string> l = lines(name);
        return std::find(l.begin(), l.end(), line) != l.end();
    }
    static std::string r(const char* suffix) { return std::string("A_GROUPED_BY LEMMA") + suffix; }
    jux_test::LemmaTables tables;
};

TEST_F(LemmaReportTest, GroupsLemmaFamiliesIntoTheReports) {
    // Run twice from the About box's "!": the second run replaces the files of the first.
    headless().on_modal = [](HWND box) {
        headless_click(box, IDC_ABOUT_REPORTS);
        headless_click(box, IDC_ABOUT_REPORTS);
        headless_click(box, IDC_ABOUT_OK);
    };
    EXPECT_EQ(open_about_box(), 1);
    ASSERT_EQ(lemma_report_names().size(), 56u);
    for (const std::string& name : lemma_report_names()) EXPECT_TRUE(data.exists(name + ".txt")) << name;
    for (const auto& f : std::filesystem::directory_iterator(data.path()))
        EXPECT_NE(f.path().extension(), ".part") << f.path();

    const std::vector<std::string> main = lines(r(""));
    ASSERT_EQ(main.size(), 25u);  // every word but the one without a definition
    EXPECT_EQ(std::vector<std::string>(main.begin(), main.begin() + 10),
              (std::vector<std::string>{"cat X 1, cats X 3", "cats X 3, + cat X 1, ~", "go X 40, went X 50",
                                        "went X 50, + go X 40, ~", "kine X 1000", "cow X 2",
                                        "zzz 1000  (not in en_bg) ", "big X 0, bigger X 0, biggers X 0",
                                        "bigger X 0, + big X 0, ~, biggers X 0", "biggers X 0, + bigger X 0, ~"}));
    EXPECT_EQ(lines(r("_!SHORT"))[1], "cats +cat ~");
    EXPECT_EQ(lines(r("__CHAINED1")), (std::vector<std::string>{main[1], main[3], main[9]}));
    EXPECT_TRUE(lines(r("__CHAINED1_CLEAN")).empty());  // their ranks were taken by earlier groups
    EXPECT_EQ(lines(r("__CHAINED4")), (std::vector<std::string>{main[7]}));
    EXPECT_EQ(lines(r("__CHAINED13")), (std::vector<std::string>{main[8]}));
    EXPECT_EQ(lines(r("_!BOT_LEMMA_AND_NOT")), (std::vector<std::string>{main[8]}));
    EXPECT_TRUE(has(r("_!MIXED"), "(2) -- " + main[8]));
    EXPECT_TRUE(has(r("_!MIXED"), "-- " + main[1]));
    EXPECT_TRUE(has(r("_!MIXED"), "? " + main[6]));
    EXPECT_EQ(lines(r("_!NOT_IN_BG")), (std::vector<std::string>{main[6]}));
    for (const char* f : {"", "_BY_COUNT01", "_!CLEAN_PLUS_NOT_IN_BG"}) EXPECT_TRUE(has(r(f), main[6])) << f;
    for (const std::string& clean : {main[0], main[4], main[5], std::string("found X 3")})
        EXPECT_TRUE(has(r("_!CLEAN"), clean)) << clean;
    EXPECT_FALSE(has(r("_!CLEAN"), main[1]));

    // "run" and its thirteen plurals: groups of fourteen; only the first one's rank was free.
    EXPECT_EQ(lines(r("_BY_COUNT13+")).size(), 14u);
    ASSERT_EQ(lines(r("_BY_COUNT13+_CLEAN")).size(), 1u);
    EXPECT_TRUE(lines(r("_BY_COUNT13+_CLEAN"))[0].starts_with("run X 0, runa X 1000, runb X 1000"));
    EXPECT_TRUE(has(r("_!SHORT_NO_SINGLES!!!!!!!!!!!!!!!!!!SORT_IT_to_make_b_english_grouped"), "went +go ~"));
}

TEST_F(LemmaReportTest, AnOutputThatCannotBeMadeOrWrittenKeepsTheOldReportsAndIsNamed) {
    const std::string part = "A_GROUPED_BY LEMMA_!MIXED.txt.part";
    struct Row {
        bool folder;  // a folder stands in the way; else the report is a link to /dev/full (a full disk)
        bool sync;    // else: the report is written, but its sync to the disk fails
        std::string told;
    } rows[] = {{true, false, "\r\nCannot open "},
                {false, false, "Cannot write to " + data.file(part).string() + ", reason: No space left on device, (errno = 28)\n"},
                {false, true, "Cannot write to " + data.file(part).string() + ", reason: Input/output error, (errno = 5)\n"}};
    data.write_raw("A_GROUPED_BY LEMMA.txt", "old");
    for (const Row& row : rows) {
        headless().message_boxes.clear();
        std::filesystem::remove_all(data.file(part));
        if (row.folder) std::filesystem::create_directories(data.file(part));
        else if (row.sync) fail_stream_sync_at(part, EIO);
        else if (!std::filesystem::exists("/dev/full")) continue;
        else std::filesystem::create_symlink("/dev/full", data.file(part));
        fl_stat = make_fl(data.path(), "log.txt");
        EXPECT_EQ(run_lemma_reports(), 0);
        closefile(std::exchange(fl_stat, nullptr), "log");
        EXPECT_EQ(data.read("log.txt").find("the  file"), std::string::npos);  // every line names its file
        if (row.sync) {
            EXPECT_NE(data.read("log.txt").find("reason: Input/output error"), std::string::npos);
        }
        ASSERT_FALSE(headless().message_boxes.empty());
        EXPECT_TRUE(utf16_to_utf8(headless().message_boxes.back().text).starts_with(row.told));
        EXPECT_EQ(data.read("A_GROUPED_BY LEMMA.txt"), "old");
        int parts = 0;
        for (const auto& f : std::filesystem::directory_iterator(data.path())) parts += f.path().extension() == ".part";
        EXPECT_EQ(parts, row.folder ? 1 : 0);  // only the folder standing in the way
    }
}

// What a kill leaves of a run, put right by the next start: a run killed before every report was
// written whole leaves the old set, one killed while renaming gets the new set, and no temporary
// report stays.
TEST_F(LemmaReportTest, AKilledRunLeavesOneSetAfterTheNextStart) {
    const std::vector<std::string>& names = lemma_report_names();
    const std::size_t all = names.size();
    struct Case {
        const char* what;
        bool mark;            // the run had written every report and its mark
        std::size_t renamed;  // reports it had renamed into place (the first ones)
        std::size_t parts;    // temporary reports it left (the ones after those)
        const char* blocked;  // a report that a folder in its place keeps from being replaced ("" none)
        const char* set;      // every report afterwards
    };
    const std::vector<Case> cases = {
        {"killed while writing", false, 0, 20, "", "old"},
        {"killed before the mark", false, 0, all, "", "old"},
        {"killed while renaming", true, 10, all - 10, "", "new"},
        {"killed after the last rename", true, all, 0, "", "new"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (std::size_t i = 0; i < all; ++i) {
            data.write_raw(names[i] + ".txt", i < c.renamed ? "new" : "old");
            if (i >= c.renamed && i < c.renamed + c.parts) data.write_raw(names[i] + ".txt.part", "new");
        }
        if (c.mark) data.write_raw("A_GROUPED_BY LEMMA.renaming", "");
        EXPECT_EQ(settle_lemma_reports(), "");
        for (const std::string& name : names) EXPECT_EQ(data.read(name + ".txt"), c.set) << name;
        for (const auto& f : std::filesystem::directory_iterator(data.path()))
            EXPECT_NE(f.path().extension(), ".part") << f.path();
        EXPECT_FALSE(data.exists("A_GROUPED_BY LEMMA.renaming"));
    }

    // A report that cannot be replaced: the others are, and the message says the set is mixed.
    for (const std::string& name : names) data.write_raw(name + ".txt.part", "new");
    data.write_raw("A_GROUPED_BY LEMMA.renaming", "");
    std::filesystem::remove(data.file(names[5] + ".txt"));
    std::filesystem::create_directories(data.file(names[5] + ".txt/inside"));
    const std::string failures = settle_lemma_reports();
    EXPECT_TRUE(failures.starts_with("Cannot write to " + data.file(names[5] + ".txt").string() + ", reason: "))
        << failures;
    EXPECT_TRUE(failures.ends_with("run the reports again to make them one set.")) << failures;
    EXPECT_EQ(data.read(names[4] + ".txt"), "new");
    for (const auto& f : std::filesystem::directory_iterator(data.path()))
        EXPECT_NE(f.path().extension(), ".part") << f.path();
    EXPECT_FALSE(data.exists("A_GROUPED_BY LEMMA.renaming"));

    // A run that meets the same report: told, and the other reports are this run's.
    headless().message_boxes.clear();
    EXPECT_EQ(run_lemma_reports(), 0);
    ASSERT_EQ(headless().message_boxes.size(), 1u);
    EXPECT_TRUE(headless().message_boxes[0].text.ends_with(u"run the reports again to make them one set."));
    EXPECT_EQ(lines(r("")).size(), 25u);
    for (const auto& f : std::filesystem::directory_iterator(data.path()))
        EXPECT_NE(f.path().extension(), ".part") << f.path();
    EXPECT_FALSE(data.exists("A_GROUPED_BY LEMMA.renaming"));
}

}  // namespace
