// The token and repeated-passage exports: the ten frequency files, the repeated-passage report and
// its entry format, and the search checked against the plain comparison of every examined start
// with every later record.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "engine/exports.h"
#include "engine/worker_pool.h"
#include "engine_fixture.h"
#include "shell/files.h"

// How a failing comparison shows a passage.
std::ostream& operator<<(std::ostream& o, const RepeatedPassage& p) {
    return o << "{" << p.first << ", " << p.second << ", " << p.length << (p.adjacent ? ", +" : "") << "}";
}

namespace {

namespace fs = std::filesystem;

using Records = std::vector<std::pair<std::string, std::string>>;  // {gap, text}, CP1251

// Records of blank-separated words (the first without gap).
Records words(const std::vector<std::string>& w) {
    Records r;
    for (std::size_t k = 0; k < w.size(); ++k) r.push_back({k ? " " : "", w[k]});
    return r;
}

// The search as the plain comparison of every examined start with every later record.
std::vector<RepeatedPassage> plain_search(const std::vector<std::string>& t, int check_each, int longer_than) {
    const std::size_t n = t.size();
    auto eq = [&](std::size_t x, std::size_t y) {
        return y < n && !t[x].empty() && !t[y].empty() && cp_strcasecmp(t[x], t[y]) == 0;
    };
    const std::size_t step = static_cast<std::size_t>(std::max(check_each, 1));
    std::vector<RepeatedPassage> out;
    std::size_t last = 0;
    for (std::size_t i = 0; i < n; i += step) {
        std::size_t len = 1, j = i;
        for (std::size_t jj = i + 1; jj < n; ++jj) {
            std::size_t c = 0;
            for (std::size_t k = 0; eq(i + k, jj + k); ++k) {
                ++c;
                if (i + k == jj) break;
            }
            if (c >= len) {
                len = c;
                j = jj;
            }
        }
        std::size_t a = i, b = j;
        if (step >= 2 && i != 0 && j != i)
            while (a > 0 && eq(a - 1, b - 1)) {
                --a;
                --b;
                ++len;
            }
        const std::size_t end = a + len - 1;
        if (end == last) continue;
        if (static_cast<long long>(len) > longer_than) out.push_back({a, b, len, a == last + 2});
        last = end;
    }
    return out;
}

class Exports : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        make_stores();
        saved_cwd = fs::current_path();
        work = data.path() / "work";
        start = data.path() / "start";
        fs::create_directories(work);
        fs::create_directories(start);
        fs::current_path(work);
        start_dir = start;
    }
    void TearDown() override {
        fs::current_path(saved_cwd);
        EngineTest::TearDown();
    }
    void fill(TokenStore& st, const Records& recs) {
        store_reset(st);
        std::int32_t pos = 0;
        for (const auto& [gap, text] : recs) {
            pos += static_cast<std::int32_t>(gap.size());
            store_push(st, text, gap, pos);
            pos += static_cast<std::int32_t>(text.size());
        }
        store_seal(st.rec, pos);
    }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string file(std::string_view name) const { return read(work / std::string(name)); }
    // A bottom panel for the checker window.
    void make_bottom_panel() {
        hBigReBot = PL_CreateControl(hBig, ControlKind::RichEdit, 403, u"", RECT{0, 0, 100, 100}, kChild | ES_MULTILINE);
        RE_LimitText(hBigReBot, 1 << 30);
    }
    // Prefix words, a paragraph of 60 words, and the same paragraph again (`upper`: in capitals).
    static std::vector<std::string> pasted_twice(bool upper = false) {
        std::vector<std::string> w;
        for (int k = 0; k < 7; ++k) w.push_back(jux_format("w%02d", k));
        for (int copy = 0; copy < 2; ++copy)
            for (int k = 0; k < 60; ++k) w.push_back(jux_format(copy && upper ? "P%02d" : "p%02d", k));
        return w;
    }

    fs::path saved_cwd, work, start;
};

TEST_F(Exports, TokenExportWritesTenListsEachNumberedFromZero) {
    fill(store2, {{"", "The"}, {" ", "dog"}, {". ", "The"}, {" ", "DOG"}, {", ", "the"}, {" ", "cat"},
                  {". ", "Cat"}, {".", ""}});
    export_sorted_tokens_and_spaces(sen_floor2, sen_nd2, "DOWN");
    EXPECT_EQ(file("___DOWN_SPACE_NUM.txt"), "0. | | 3\r\n1. |. | 2\r\n2. |, | 1\r\n3. |.| 1\r\n");
    EXPECT_EQ(file("___DOWN_SPACE_NUM_SENTENCE.txt"), "0. |. | 2\r\n");
    EXPECT_EQ(file("___DOWN_SPACE_NUM_NO_SENTENCE.txt"), "0. | | 3\r\n1. |, | 1\r\n2. |.| 1\r\n");
    EXPECT_EQ(file("___DOWN_SPACE_ALPHA.txt"), "0. | | 3\r\n1. |, | 1\r\n2. |.| 1\r\n3. |. | 2\r\n");
    EXPECT_EQ(file("___DOWN_SPACE_ALPHA_SENTENCE.txt"), "0. |. | 2\r\n");
    EXPECT_EQ(file("___DOWN_SPACE_ALPHA_NO_SENTENCE.txt"), "0. | | 3\r\n1. |, | 1\r\n2. |.| 1\r\n");
    // Each spelling its own group, then the groups that ignore case.
    EXPECT_EQ(file("___DOWN_TOKENS_ALPHA_UNGROUPED_INSENCS.txt"),
              "0. Cat 1\r\n1. cat 1\r\n2. DOG 1\r\n3. dog 1\r\n4. The 2\r\n5. the 1\r\n");
    EXPECT_EQ(file("___DOWN_TOKENS_ALPHA_UNGROUPED_SENS.txt"),
              "0. Cat 1\r\n1. DOG 1\r\n2. The 2\r\n3. cat 1\r\n4. dog 1\r\n5. the 1\r\n");
    EXPECT_EQ(file("___DOWN_TOKENS_NUM_GROUPED.txt"), "0. The 3\r\n1. Cat 2\r\n2. DOG 2\r\n");
    EXPECT_EQ(file("___DOWN_TOKENS_ALPHA_GROUPED_INSENCS.txt"), "0. Cat 2\r\n1. DOG 2\r\n2. The 3\r\n");
    EXPECT_TRUE(hs->message_boxes.empty());
}

// Place numbers carry into new digits, and a name longer than the pieces the files are written in
// comes out whole.
TEST_F(Exports, TokenExportNumbersEveryLineAndWritesLongNamesWhole) {
    std::vector<std::string> w;
    for (int k = 0; k < 1'005; ++k) w.push_back(jux_format("w%04d", k));
    w.push_back(std::string(70'000, 'z'));
    OP[OPT_MAX_TOKEN_LENGTH].num_value = 0;  // no length limit
    fill(store2, words(w));
    export_sorted_tokens_and_spaces(sen_floor2, sen_nd2, "DOWN");
    std::string expected;
    for (std::size_t k = 0; k < w.size(); ++k) expected += jux_format("%d. %s 1\r\n", static_cast<int>(k), w[k].c_str());
    EXPECT_EQ(file("___DOWN_TOKENS_ALPHA_UNGROUPED_SENS.txt"), expected);
    EXPECT_EQ(file("___DOWN_TOKENS_NUM_GROUPED.txt"), expected);
    EXPECT_EQ(file("___DOWN_SPACE_NUM.txt"), "0. | | 1005\r\n");
}

// The lines of a long table are made on helper threads, a stretch of groups each, while the ones
// made before are written: the files are those made on the calling thread alone.
TEST_F(Exports, TokenFilesOfALongTableAreTheSameWithHelperThreads) {
    Records recs;
    for (int k = 0; k < 150'000; ++k) recs.push_back({k % 5 ? " " : ". ", jux_format(k % 7 ? "w%d" : "W%d", k % 140'000)});
    fill(store2, recs);
    const std::size_t helpers_before = helper_threads();
    std::map<std::string, std::string> files[2];
    for (const std::size_t helpers : {0u, 3u}) {
        set_helper_threads(helpers);
        export_sorted_tokens_and_spaces(sen_floor2, sen_nd2, "DOWN");
        for (const auto& e : fs::directory_iterator(work)) files[helpers ? 1 : 0][e.path().filename().string()] = read(e.path());
    }
    set_helper_threads(helpers_before);
    ASSERT_EQ(files[0].size(), 10u);
    for (const auto& [name, text] : files[0]) {
        const std::string& other = files[1][name];
        const auto [a, b] = std::mismatch(text.begin(), text.end(), other.begin(), other.end());
        EXPECT_TRUE(a == text.end() && b == other.end())
            << name << " alone: ..." << std::string(a, std::min(a + 80, text.end()))
            << "\nwith helpers: ..." << std::string(b, std::min(b + 80, other.end()));
    }
    EXPECT_EQ(files[0]["___DOWN_TOKENS_NUM_GROUPED.txt"].rfind("0. W0 2\r\n", 0), 0u);
}

TEST_F(Exports, TokenExportOfAnEmptyStoreWritesEmptyFiles) {
    fill(storeR, {});
    export_sorted_tokens_and_spaces(sen_floorR, sen_ndR, "UP");
    std::size_t files = 0;
    for (const auto& e : fs::directory_iterator(work)) {
        ++files;
        EXPECT_EQ(fs::file_size(e.path()), 0u) << e.path();
        EXPECT_EQ(e.path().filename().string().rfind("___UP_", 0), 0u);
    }
    EXPECT_EQ(files, 10u);
}

TEST_F(Exports, TokenExportStopsAtAFileThatCannotBeCreated) {
    fs::create_directories(work / "___UP_SPACE_ALPHA.txt");  // a folder where the fourth file goes
    fill(storeR, words({"a", "b"}));
    export_sorted_tokens_and_spaces(sen_floorR, sen_ndR, "UP");
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes[0].text).rfind("\r\nCannot open ___UP_SPACE_ALPHA.txt, reason: ", 0), 0u);
    EXPECT_TRUE(fs::exists(work / "___UP_SPACE_NUM_NO_SENTENCE.txt"));  // the three opened are closed
    EXPECT_FALSE(fs::exists(work / "___UP_TOKENS_NUM_GROUPED.txt"));   // the export stopped there
}

TEST_F(Exports, ParagraphPastedTwiceIsReportedOnceFromItsFirstToken) {
    make_bottom_panel();
    gl_dropped = path_to_cp1251(start / "story.txt");
    fill(store2, words(pasted_twice()));
    // The clock moves while the queue is pumped after the entry: the closing message shows it.
    hs->on_pump = [this] { hs->clock_us += 3'723'456'000; };
    const std::string note = export_duplicate_strings(sen_floor2, sen_nd2);

    const std::string entry =
        "ct:60, word: 7 to 66 -- 67 to 126 (char: 28 to 266 -- 268 to 506)\r\n"
        "... p00 p01 p02 p03 p04 ... p55 p56 p57 p58 p59\r\n";
    EXPECT_EQ(read(start / "_REPEATED_story.txt"), entry);
    EXPECT_EQ(panel8(hBigReBot), "ct:60, word: 7 to 66 -- 67 to 126 (char: 28 to 266 -- 268 to 506)\r"
                                 "... p00 p01 p02 p03 p04 ... p55 p56 p57 p58 p59\r");
    // The time it took is a note for the status line, not an error box.
    EXPECT_EQ(note, "phase time: 1:02:03:456");
    EXPECT_TRUE(hs->message_boxes.empty());
}

TEST_F(Exports, RepeatSearchIgnoresCaseAndSkipsRunsAlreadyConsidered) {
    fill(store2, words(pasted_twice(true)));
    const std::vector<RepeatedPassage> expected{{7, 67, 60, false}};
    EXPECT_EQ(find_repeated_passages(sen_floor2, sen_nd2, 50, 9), expected);
    // Every start examined: the runs inside the first copy end where the first one did.
    EXPECT_EQ(find_repeated_passages(sen_floor2, sen_nd2, 1, 9), expected);
    // Not longer than the limit: nothing reported.
    EXPECT_TRUE(find_repeated_passages(sen_floor2, sen_nd2, 50, 60).empty());
    // A non-positive distance between starts is taken as 1.
    EXPECT_EQ(find_repeated_passages(sen_floor2, sen_nd2, 0, 9), expected);
    EXPECT_EQ(find_repeated_passages(sen_floor2, sen_nd2, -128, 9), expected);
}

TEST_F(Exports, OneRecordWritesNoReportButGivesTheTimingNote) {
    fill(store2, words({"alone"}));
    EXPECT_EQ(export_duplicate_strings(sen_floor2, sen_nd2), "phase time: 0:00:00:000");
    EXPECT_FALSE(fs::exists(start / "_REPEATED.txt"));
    fill(store2, {});
    EXPECT_EQ(export_duplicate_strings(sen_floor2, sen_nd2), "phase time: 0:00:00:000");
    EXPECT_EQ(export_duplicate_strings(nullptr, nullptr), "phase time: 0:00:00:000");
    EXPECT_TRUE(hs->message_boxes.empty());
    EXPECT_EQ(with_timing_note("100.00%  2 / ~ 2", "phase time: 0:00:00:000"), "100.00%  2 / ~ 2  phase time: 0:00:00:000");
    EXPECT_EQ(with_timing_note("", "phase time: 0:00:00:000"), "phase time: 0:00:00:000");
    EXPECT_EQ(with_timing_note("100.00%", ""), "100.00%");
}

TEST_F(Exports, ReportFileThatCannotBeMadeIsToldAndStillLetsTheSearchRun) {
    make_bottom_panel();
    fs::create_directories(start / "_REPEATED.txt");
    fill(store2, words(pasted_twice()));
    export_duplicate_strings(sen_floor2, sen_nd2);
    EXPECT_EQ(panel8(hBigReBot).rfind("ct:60, word: 7 to 66", 0), 0u);
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes[0].text), cannot_open_text(start / "_REPEATED.txt", EISDIR));
}

// A separator export that cannot be written logs its close under its own name; a statistics log on
// a full disk is noted for the user with its own name and the disk's reason.
TEST_F(Exports, FailedClosesNameTheirFilesAndTheLogsOwnFailureItsReason) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    fill(store2, words({"one", "two"}));
    for (bool log_full : {false, true}) {
        SCOPED_TRACE(log_full);
        const fs::path log = data.path() / (log_full ? "full_log.txt" : "log.txt");
        if (log_full) fs::create_symlink("/dev/full", log);
        fl_stat = open_out(log);
        take_write_failures();
        fail_stream_write_at("___DOWN_SPACE_NUM.txt", ENOSPC);
        export_sorted_tokens_and_spaces(sen_floor2, sen_nd2, "DOWN");
        const std::string told = take_write_failures();
        closefile(fl_stat, "");
        fl_stat = nullptr;
        if (log_full) {
            EXPECT_NE(told.find(cannot_write_text(log, ENOSPC)), std::string::npos) << told;
        } else {
            EXPECT_EQ(read(log), "ERROR: Can't close the ___DOWN_SPACE_NUM.txt file, reason: No space left on device, "
                                 "(errno = 28)\r\n");
        }
    }
}

TEST_F(Exports, EntriesAndContextsAreCutTo255Characters) {
    std::vector<std::string> w;
    for (int copy = 0; copy < 2; ++copy)
        for (int k = 0; k < 12; ++k) w.push_back(jux_format("%02d", k) + std::string(58, 'x'));
    fill(store2, words(w));
    const auto found = find_repeated_passages(sen_floor2, sen_nd2, 50, 9);
    ASSERT_EQ(found.size(), 1u);
    const std::string e = repeated_passage_entry(sen_floor2, sen_nd2, found[0]);
    EXPECT_EQ(e.size(), REPEATED_ENTRY_ROOM);
    EXPECT_EQ(e.rfind("ct:12, word: 0 to 11 -- 12 to 23 (char: 0 to 730 -- 732 to 1462)\r\n... 00xxx", 0), 0u);
    // Shorter than five records: the end context is empty and the head context stops at the store.
    fill(store2, words({"a", "b", "a", "b"}));
    const RepeatedPassage p{0, 2, 2, false};
    EXPECT_EQ(repeated_passage_entry(sen_floor2, sen_nd2, p),
              "ct:2, word: 0 to 1 -- 2 to 3 (char: 0 to 2 -- 4 to 6)\r\n... a b a b ... \r\n");
    EXPECT_EQ(repeated_passage_entry(sen_floor2, sen_nd2, RepeatedPassage{1, 3, 1, true}),
              "+ct:1, word: 1 to 1 -- 3 to 3 (char: 2 to 2 -- 6 to 6)\r\n... b a b ... \r\n");
}

TEST_F(Exports, RecordWithoutTokenNeverJoinsARepeat) {
    Records recs = words({"a", "b", "c", "a", "b", "c"});
    recs.push_back({". ", ""});
    fill(store2, recs);
    const std::vector<RepeatedPassage> expected{{0, 3, 3, false}};
    EXPECT_EQ(find_repeated_passages(sen_floor2, sen_nd2, 1, 2), expected);
}

TEST_F(Exports, ReportAskedForWhileOneIsMadeWaitsForIt) {
    // The search pumps messages after each entry it shows; another run may ask for a report on
    // its own store meanwhile. Both write "_REPEATED": the second waits for the first to close.
    make_bottom_panel();
    std::vector<std::string> outer;
    for (const char* para : {"a%02d", "b%02d"})
        for (int copy = 0; copy < 2; ++copy)
            for (int k = 0; k < 20; ++k) outer.push_back(jux_format(para, k));
    fill(store2, words(outer));
    std::vector<std::string> inner;
    for (int copy = 0; copy < 2; ++copy)
        for (int k = 0; k < 15; ++k) inner.push_back(jux_format("r%02d", k));
    fill(storeR, words(inner));
    const auto found2 = find_repeated_passages(sen_floor2, sen_nd2, gl_REPEATED_CHECK_EACH, gl_REPEATED_LONGER_THAN);
    const auto foundR = find_repeated_passages(sen_floorR, sen_ndR, gl_REPEATED_CHECK_EACH, gl_REPEATED_LONGER_THAN);
    ASSERT_EQ(found2.size(), 2u);
    ASSERT_EQ(foundR.size(), 1u);
    const std::string a = repeated_passage_entry(sen_floor2, sen_nd2, found2[0]);
    const std::string b = repeated_passage_entry(sen_floor2, sen_nd2, found2[1]);
    const std::string r = repeated_passage_entry(sen_floorR, sen_ndR, foundR[0]);

    int pumps = 0;
    hs->on_pump = [&] {
        if (pumps++ != 0) return;
        EXPECT_EQ(export_duplicate_strings(sen_floorR, sen_ndR), "");  // not made inside the first report
    };
    EXPECT_EQ(export_duplicate_strings(sen_floor2, sen_nd2), "phase time: 0:00:00:000");

    auto panel_form = [](std::string e) {
        std::string out;
        for (std::size_t k = 0; k < e.size(); ++k)
            if (!(e[k] == '\n' && k && e[k - 1] == '\r')) out += e[k];
        return out;
    };
    EXPECT_EQ(panel8(hBigReBot), panel_form(a) + panel_form(b) + panel_form(r));
    // Each report rewrote the file in turn: the last one made stands whole.
    EXPECT_EQ(read(start / "_REPEATED.txt"), r);
    // Nothing is left waiting: the next report is made at once.
    hs->on_pump = nullptr;
    export_duplicate_strings(sen_floor2, sen_nd2);
    EXPECT_EQ(read(start / "_REPEATED.txt"), a + b);

    // The checker's store R shares store 1's records after its scan; a report asked for it waits,
    // and store 1 is refilled with another text meanwhile: the report is still the checker's.
    fill(store1, words(inner));
    copy_store1_to_R();
    pumps = 0;
    hs->on_pump = [&] {
        if (pumps++ != 0) return;
        export_duplicate_strings(sen_floorR, sen_ndR);
        fill(store1, words(outer));
    };
    export_duplicate_strings(sen_floor2, sen_nd2);
    EXPECT_EQ(read(start / "_REPEATED.txt"), r);
}

TEST_F(Exports, SearchFindsWhatThePlainComparisonFinds) {
    std::mt19937 rng(20240611);
    const int kEach[] = {-3, 0, 1, 2, 3, 7, 50};
    const int kLonger[] = {0, 1, 3, 9};
    for (int round = 0; round < 400; ++round) {
        const std::size_t n = std::uniform_int_distribution<std::size_t>(0, round < 300 ? 60 : 400)(rng);
        const int letters = std::uniform_int_distribution<int>(1, 5)(rng);
        std::vector<std::string> t;
        for (std::size_t k = 0; k < n; ++k) {
            std::string s(1, static_cast<char>('a' + std::uniform_int_distribution<int>(0, letters - 1)(rng)));
            if (rng() % 4 == 0) s[0] = static_cast<char>(s[0] - 'a' + 'A');
            t.push_back(s);
        }
        if (n && rng() % 3 == 0) t.back().clear();  // a text ending in non-token characters
        Records recs;
        for (std::size_t k = 0; k < n; ++k) recs.push_back({k ? " " : "", t[k]});
        fill(store2, recs);
        const int each = kEach[rng() % std::size(kEach)];
        const int longer = kLonger[rng() % std::size(kLonger)];
        ASSERT_EQ(find_repeated_passages(sen_floor2, sen_nd2, each, longer), plain_search(t, each, longer))
            << "round " << round << ", n " << n << ", each " << each << ", longer than " << longer;
    }
}

}  // namespace
