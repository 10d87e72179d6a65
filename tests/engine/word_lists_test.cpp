// The word lists of a checked text in the report panel: titles, numbering and counts, the English
// entry filters and texts, the colours by length, capital and rank band, the FREQ files, and the
// unknown-Bulgarian-words list with its place for the later scroll.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>

#include "engine/run/kept_answers.h"
#include "engine/run/word_lists.h"
#include "engine/worker_pool.h"
#include "lexicon/wordclass.h"
#include "lookup_fixture.h"

namespace {

class WordLists : public LookupTest {
protected:
    void SetUp() override {
        LookupTest::SetUp();
        gl_CHECK_PUNCTUATION = 0;
    }
    // The report panel's lines after the "words found" line, empty lines left out.
    std::vector<std::string> list_after(std::string_view utf8) {
        check(utf8);
        std::vector<std::string> out;
        for (const std::string& l : lines(hBigReLeft))
            if (!l.empty() && l.find("words found") == std::string::npos) out.push_back(l);
        return out;
    }
    void load_c(int row, std::initializer_list<std::string_view> lines) {
        CSetRecord& rec = c_glob[static_cast<std::size_t>(row)];
        const std::filesystem::path file = data.path() / ("c" + std::to_string(row) + ".txt");
        {
            std::ofstream f(file, std::ios::binary);
            for (std::string_view l : lines) f << cp(l) << "\r\n";
        }
        rec.entries.clear();
        rec.text = load_pairs(file, ListLoadOptions{}, rec.entries, &rec.stats);
        rec.count = rec.entries.size();
        c_lists_changed();
    }
};

using Lines = std::vector<std::string>;

TEST_F(WordLists, TitlesNumbersAndCountsFollowTheEntries) {
    struct Case {
        const char* text;
        bool all, english_titles;
        Lines expected;
    };
    const Case cases[] = {
        {"qqq 42", false, false, {"qqq -> no suggestions"}},  // one entry used once: no title
        {"qqq qqq", false, false, {"1 НЕПОЗНАТА ДУМА НА ЛАТИНИЦА (2 срещания):", "qqq  2 -> no suggestions"}},
        {"aaa bbb ccc", false, false,
         {"3 НЕПОЗНАТИ ДУМИ НА ЛАТИНИЦА (3 срещания):", "aaa -> no suggestions", "bbb -> no suggestions",
          "ccc -> no suggestions"}},
        {"ddd aaa bbb ccc ddd", true, false,
         {"4 РАЗЛИЧНИ ДУМИ НА ЛАТИНИЦА (5 срещания):", "1. ddd  2 -> no suggestions", "2. aaa  1 -> no suggestions",
          "3. bbb  1 -> no suggestions", "4. ccc  1 -> no suggestions"}},
        {"aaa bbb", false, true, {"2 UNKNOWN WORDS (2 occurrences):", "aaa -> no suggestions", "bbb -> no suggestions"}},
        {"aaa bbb", true, true, {"2 DIFFERENT WORDS (2 occurrences):", "aaa -> no suggestions", "bbb -> no suggestions"}},
        {"ъъъ ъъъ", false, false, {"1 НЕПОЗНАТА ДУМА (2 срещания):", "ъъъ  2 -> no suggestions"}},
        {"ъъъ ььь", false, false, {"2 НЕПОЗНАТИ ДУМИ (2 срещания):", "ъъъ -> no suggestions", "ььь -> no suggestions"}},
    };
    for (const Case& c : cases) {
        gl_ENGLIST_ALL = c.all;
        gl_ENGLISH_VERSION = c.english_titles;
        EXPECT_EQ(list_after(c.text), c.expected) << c.text;
        if (c.expected.size() > 1) {
            EXPECT_EQ(look_of(hBigReLeft, c.expected.front()), bold(kColListTitle)) << c.text;
        }
    }
}

TEST_F(WordLists, WordsAreColouredByLengthCapitalAndRankBand) {
    gl_ENGLIST_ALL = 1;
    gl_ENGLIST_UPPERCASE = 1;
    load_list(M_WL_ENGLISH, {"ox 90", "dog 5000", "cat 20000", "yak 100000", "Rome 300", "Bobo"});
    load_c(C_HARD, {"yak як"});
    const struct {
        const char* word;
        COLORREF colour;
    } cases[] = {
        {"ox", kColListKnownShort},   {"qz", kColListUnknown},         {"dog", kColListKnownShort},
        {"cat", 0x319F71},            {"yak", 0x6699CC},               {"Rome", kColListKnownCapital},
        {"Qqqq", kColListCapital},    {"Bobo", kColListKnownCapital},  {"zzzz", kColListUnknown},
    };
    list_after("ox qz dog cat yak yak Rome Qqqq Bobo zzzz");
    for (const auto& c : cases) {
        const LONG at = find(hBigReLeft, std::string(c.word) + (std::string_view(c.word) == "yak" ? "  2" : "  1"));
        ASSERT_GE(at, 0) << c.word;
        EXPECT_EQ(look_at(hBigReLeft, at), bold(c.colour)) << c.word;
    }
    // The count in blue, the hard word's second letter marked, its hard-list text and rank shown.
    const LONG yak = find(hBigReLeft, "yak  2");
    EXPECT_EQ(look_at(hBigReLeft, yak + 5), plain(kColListCount));
    EXPECT_EQ(look_at(hBigReLeft, yak + 1), bold(kColListHardMark));
    EXPECT_NE(find(hBigReLeft, "yak  2 -> " + u8(cp("як")) + " 100000"), -1);
}

TEST_F(WordLists, EnglishFiltersAndAnnotations) {
    gl_ENGLIST_ALL = 1;
    load_list(M_WL_ENGLISH, {"tree 700", "qux 900"});
    load_dict(B_BULGARIAN_CUSTOM, {"mine"});
    load_dict(B_ENGLISH_BULGARIAN, {"qux кукс"});
    // Skipped: the user's own word, a capitalised word; the other lines are numbered without gaps.
    EXPECT_EQ(list_after("tree mine Zed qqqq qux"),
              (Lines{"5 РАЗЛИЧНИ ДУМИ НА ЛАТИНИЦА (5 срещания):", "1. qqqq -> no suggestions",
                     "2. qux ->  (Eng) bulk: " + u8(cp("кукс")), "3. tree ->  (Eng)"}));
    EXPECT_EQ(look_of(hBigReLeft, "bulk").colour, kColListBulk);
    EXPECT_EQ(look_at(hBigReLeft, find(hBigReLeft, "tree ->") + 5), plain(kColListBare));
    // Only words of wl_english; with NO_BG nothing after the arrow, in grey.
    gl_ENGLIST_MISSING_RANK = 1;
    gl_ENGLIST_NO_BG = 1;
    EXPECT_EQ(list_after("tree qqqq"), (Lines{"2 РАЗЛИЧНИ ДУМИ НА ЛАТИНИЦА (2 срещания):", "tree ->"}));
    EXPECT_EQ(look_of(hBigReLeft, "->").colour, kColListBare);
}

TEST_F(WordLists, TheScansSuggestionsServeTheListOnlyWhileTheListsStayAsTheyWere) {
    // The scan shows the suggestions of the misspelt words (ungrouped lines) and the English list
    // shows them again: asked once while the lists stay, asked afresh after a list changed.
    gl_ENGLIST_UNGROUPED = 1;
    respond_token = 1;  // the scan pumps before every token
    // The list changes after the scan asked about "hous": before its last question ("xx") or after it.
    for (const char* text : {"hous hous", "hous hous xx"}) {
        for (const bool change : {false, true}) {
            load_list(M_WL_ENGLISH, {"house 10"});
            int pumps = 0;
            hs->on_pump = [&] {
                if (++pumps == 2 && change) load_list(M_WL_ENGLISH, {"hour 10"});
            };
            const Lines l = list_after(text);
            hs->on_pump = nullptr;
            ASSERT_GE(l.size(), 3u) << text;
            EXPECT_EQ(l[0], "hous -> house") << text;
            const auto line =
                std::find_if(l.begin() + 1, l.end(), [](const std::string& x) { return x.starts_with("hous  2"); });
            ASSERT_NE(line, l.end()) << text;
            EXPECT_NE(line->find(change ? "hour" : "house"), std::string::npos) << *line;
        }
    }
}

TEST_F(WordLists, FreqFilesHoldTheWrittenLinesAndAReadOnlyFolderOnlyWarns) {
    gl_ENGLIST_GENARATE_FILE = 1;
    list_after("qqq qqq zzz");
    EXPECT_EQ(read(data.path() / "FREQ.txt"), "qqq 2\r\nzzz 1\r\n");
    EXPECT_EQ(read(data.path() / "FREQ2.txt"), "qqq  2 -> no suggestions\r\nzzz  1 -> no suggestions\r\n");

    // Beside a dropped file, where the files cannot be made (their names are taken by folders,
    // which no user can open as a file).
    const std::filesystem::path folder = data.path() / "books";
    std::filesystem::create_directories(folder / "FREQ_book.txt");
    std::filesystem::create_directories(folder / "FREQ2_book.txt");
    gl_dropped = (folder / "book.txt").string();
    const Lines l = list_after("qqq qqq zzz");
    EXPECT_EQ(l.size(), 3u);  // the list is written all the same
    ASSERT_EQ(hs->message_boxes.size(), 2u);
    EXPECT_NE(hs->message_boxes[0].text.find(u"Cannot open"), std::u16string::npos);
    EXPECT_NE(hs->message_boxes[1].text.find(u"FREQ2_book.txt"), std::u16string::npos);
}

TEST_F(WordLists, UnknownWordsShowLatinLettersCapitalsAndLeaveTheReportAtTheirList) {
    gl_SPELL_UPPERCASE = 1;
    list_after("Ъъъъ кнuга кнuга");
    const LONG mixed = find(hBigReLeft, "кнuга  2");
    EXPECT_EQ(look_at(hBigReLeft, mixed), bold(kColListUnknown));
    EXPECT_EQ(look_at(hBigReLeft, mixed + 2), bold(kColListLatinLetter));
    EXPECT_EQ(look_of(hBigReLeft, "Ъъъъ  1"), bold(kColListCapital));
    const std::string title = "2 НЕПОЗНАТИ ДУМИ (3 срещания):";
    const LONG lines_start = find(hBigReLeft, title) + static_cast<LONG>(utf8_to_utf16(title).size()) + 2;
    EXPECT_EQ(RE_GetSel(hBigReLeft).cpMin, lines_start);
    gl_PRINT_ALL_LATIN = 1;
    list_after("Ъъъъ кнuга");
    EXPECT_EQ(RE_GetSel(hBigReLeft).cpMin, 0);
}

// Words of `letters` (code page 1251 bytes), four to eight of them, from a fixed seed.
std::vector<std::string> made_words(std::string_view letters, std::size_t n, std::uint64_t seed) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < n; ++i) {
        std::string w;
        const std::size_t len = 4 + (seed >> 40) % 5;
        for (std::size_t k = 0; k < len; ++k) {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            w += letters[(seed >> 33) % letters.size()];
        }
        out.push_back(jux_test::u8(w));
    }
    return out;
}

// The small Latin and Cyrillic letters (code page 1251), n made-up words of each (from seeds seed
// and seed + 1) and their lines in a list, ranked in their order.
struct ListedWords {
    std::string latin, cyrillic;
    std::vector<std::string> en, bg, en_lines, bg_lines;
};
ListedWords listed_words(std::size_t n, std::uint64_t seed) {
    ListedWords l;
    for (char c = 'a'; c <= 'z'; ++c) l.latin += c;
    for (int c = 0xE0; c <= 0xFF; ++c) l.cyrillic += static_cast<char>(c);
    l.en = made_words(l.latin, n, seed);
    l.bg = made_words(l.cyrillic, n, seed + 1);
    for (const std::string& w : l.en) l.en_lines.push_back(w + " " + std::to_string(l.en_lines.size() + 1));
    for (const std::string& w : l.bg) l.bg_lines.push_back(w + " " + std::to_string(l.bg_lines.size() + 1));
    return l;
}

// A list's line goes into a report that does not tell its dialog of selections in one call with its
// colours, into one that does as an append and one colouring after another. Both leave the report
// alike, in both lists and across their pumps, and where a line no longer fits the report's text
// limit (the rest goes in step by step).
TEST_F(WordLists, LinesInOneCallLeaveTheReportAsStepByStep) {
    gl_PARSE_LATIN_WORDS = 1;
    gl_ENGLIST_ALL = 1;  // the listed Latin words too, coloured by their rank
    const ListedWords listed = listed_words(600, 7);
    load_list_lines(M_WL_ENGLISH, listed.en_lines);
    const std::vector<std::string> made = made_words(listed.cyrillic, 700, 9);
    std::string text;
    for (std::size_t i = 0; i < 700; ++i) {
        std::string bg = jux_test::cp(made[i]);
        if (i % 3 == 0) bg[0] = static_cast<char>(bg[0] - 0x20);  // a capital
        if (i % 7 == 0) bg[1] = 'u';                               // a Latin letter among Cyrillic ones
        text += listed.en[i % 600] + " " + jux_test::u8(bg) + (i % 5 ? " " : " " + jux_test::u8(bg) + " ");
    }
    LONG limit = 0;
    for (const bool limited : {false, true}) {
        std::string seen[2];
        for (const bool one_by_one : {false, true}) {
            RE_LimitText(hBigReLeft, limited ? limit : 0);
            RE_SetEventMask(hBigReLeft, one_by_one ? DWORD{ENM_CHANGE | ENM_SELCHANGE} : DWORD{ENM_CHANGE});
            check(text);
            const CHARRANGE sel = RE_GetSel(hBigReLeft);
            seen[one_by_one] = jux_test::dump_panel("report", hBigReLeft) + std::to_string(sel.cpMin) + "-" +
                               std::to_string(sel.cpMax);
            EXPECT_EQ((RE_GetEventMask(hBigReLeft) & ENM_SELCHANGE) != 0, one_by_one);
            if (!limited) limit = RE_GetTextLength(hBigReLeft) * 2 / 3;  // inside the second list
        }
        if (limited) {
            EXPECT_EQ(RE_GetTextLength(hBigReLeft), limit);
        } else {  // two lists, each past its first pump
            EXPECT_NE(seen[0].find("600 РАЗЛИЧНИ ДУМИ НА ЛАТИНИЦА"), std::string::npos);
            EXPECT_NE(seen[0].find("700 НЕПОЗНАТИ ДУМИ"), std::string::npos);
        }
        const auto [a, b] = std::mismatch(seen[0].begin(), seen[0].end(), seen[1].begin(), seen[1].end());
        EXPECT_TRUE(a == seen[0].end() && b == seen[1].end())
            << "limited " << limited << ", in one call: ..." << std::string(a, std::min(a + 200, seen[0].end()))
            << "\nstep by step: ..." << std::string(b, std::min(b + 200, seen[1].end()));
    }
}

// The lists ask their spelling answers on helper threads a window ahead, and the scan those of the
// text's distinct Cyrillic words before it begins: what the report and the coloured text show, and
// the generators' globals they leave, are those of asking each word in turn, also when a list
// changes at the pumps in between.
TEST_F(WordLists, AnswersAskedAheadOnHelperThreadsAreThoseAskedInTurn) {
    const ListedWords listed = listed_words(1500, 1);
    const auto& [latin, cyrillic, en, bg, en_lines, bg_lines] = listed;
    const std::vector<std::string> en_fewer(en_lines.begin() + 300, en_lines.end());
    const std::vector<std::string> bg_fewer(bg_lines.begin() + 300, bg_lines.end());
    // Listed words with one letter changed (answers with suggestions) and made-up ones (without),
    // more distinct ones than a window of answers holds.
    std::string text;
    for (const auto& [words, letters, seed] :
         {std::tuple{&en, &latin, 3}, std::tuple{&bg, &cyrillic, 4}}) {
        const std::vector<std::string> made = made_words(*letters, 2500, static_cast<std::uint64_t>(seed));
        for (std::size_t i = 0; i < 2500; ++i) {
            std::string w = jux_test::cp((*words)[i % words->size()]);
            w[i % w.size()] = (*letters)[i % letters->size()];
            text += jux_test::u8(w) + " " + made[i] + " ";
        }
    }
    const std::size_t helpers_before = helper_threads();
    auto shown = [] {
        return jux_test::dump_panel("report", hBigReLeft) + jux_test::dump_panel("text", hBigReRight);
    };
    for (const bool change : {false, true}) {
        std::string seen[2];
        for (const std::size_t helpers : {0u, 4u}) {
            set_helper_threads(helpers);
            load_list_lines(M_WL_ENGLISH, en_lines);
            load_dict_lines(B_BULGARIAN, bg_lines);
            int pumps = 0;
            // Every pump changes both lists (a word listed or not decides its line).
            hs->on_pump = [&] {
                if (!change) return;
                const bool fewer = ++pumps % 2 == 1;
                load_list_lines(M_WL_ENGLISH, fewer ? en_fewer : en_lines);
                load_dict_lines(B_BULGARIAN, fewer ? bg_fewer : bg_lines);
            };
            check(text);
            hs->on_pump = nullptr;
            seen[helpers ? 1 : 0] = shown();
            if (change) {
                EXPECT_GT(pumps, 4);
            }
        }
        const auto [a, b] = std::mismatch(seen[0].begin(), seen[0].end(), seen[1].begin(), seen[1].end());
        EXPECT_TRUE(a == seen[0].end() && b == seen[1].end())
            << "change " << change << ", in turn: ..." << std::string(a, std::min(a + 200, seen[0].end()))
            << "\nahead: ..." << std::string(b, std::min(b + 200, seen[1].end()));
        EXPECT_NE(seen[0].find("->"), std::string::npos);
    }
    // A check again after an edit starts with the answers of the check before and asks ahead only
    // the words of the part that changed: it shows what a first check of the edited text shows.
    const std::string edited = text.substr(0, text.size() / 2) + "книгъ масъ " +
                               text.substr(text.size() / 2);
    std::string again;
    for (const std::size_t helpers : {4u, 0u}) {
        set_helper_threads(helpers);
        load_list_lines(M_WL_ENGLISH, en_lines);  // loaded again: nothing kept from before holds
        load_dict_lines(B_BULGARIAN, bg_lines);
        if (helpers) {
            check(text);
            check(edited);
            again = shown();
        } else {
            check(edited);
            EXPECT_EQ(shown(), again);
        }
    }
    set_helper_threads(helpers_before);
}

// The scan keeps its Bulgarian answers, with their texts for the tokens the main window's pane
// shows (the first 2,047); the unknown-words list shows those instead of asking again. Its lines
// are those of a list that asks every word itself (the pane hidden: the scan asks for no text),
// for words met before and after the pane's last token, also when b_bulgarian changes at the
// list's first pump; and while nothing changes, no word runs the generator twice.
TEST_F(WordLists, TheUnknownWordsListShowsTheScansAnswersAsAskedAfresh) {
    std::string cyrillic;
    for (int c = 0xE0; c <= 0xFF; ++c) cyrillic += static_cast<char>(c);
    const std::vector<std::string> listed = made_words(cyrillic, 600, 5), made = made_words(cyrillic, 1800, 6);
    std::vector<std::string> lines, fewer;
    for (const std::string& w : listed) lines.push_back(w + " " + std::to_string(lines.size() + 1));
    fewer.assign(lines.begin() + 200, lines.end());
    // Listed words with a letter changed or one Latin look-alike (suggestions), made-up ones (none).
    std::string text;
    for (std::size_t i = 0; i < 1800; ++i) {
        std::string w = jux_test::cp(listed[i % listed.size()]);
        w[i % w.size()] = i % 3 == 0 ? 'o' : cyrillic[i % cyrillic.size()];
        text += jux_test::u8(w) + " " + made[i] + " ";
    }
    const std::size_t helpers_before = helper_threads();
    set_helper_threads(0);  // every question on this thread, where suggestion_runs counts it
    for (const bool change : {false, true}) {
        std::string seen[2];
        std::uint64_t runs[2] = {0, 0};
        for (const bool pane : {false, true}) {
            ShowWindow(hMain, pane ? SW_SHOW : SW_HIDE);
            load_dict_lines(B_BULGARIAN, lines);  // loaded again: nothing kept from before holds
            bool changed = false;
            hs->on_pump = [&] {
                if (!change || changed || RE_GetTextW(hBigReLeft).find(u"НЕПОЗНАТИ ДУМИ") == std::u16string::npos)
                    return;
                load_dict_lines(B_BULGARIAN, fewer);
                changed = true;
            };
            const std::uint64_t before = suggestion_runs;
            check(text);
            hs->on_pump = nullptr;
            runs[pane] = suggestion_runs - before;
            EXPECT_EQ(changed, change);
            const std::string report = jux_test::dump_panel("report", hBigReLeft);
            seen[pane] = report.substr(report.find("НЕПОЗНАТИ ДУМИ"));
        }
        EXPECT_EQ(seen[0], seen[1]) << "change " << change;
        EXPECT_NE(seen[0].find("->"), std::string::npos);
        if (!change) {
            EXPECT_EQ(runs[1], runs[0]);
        }
    }
    ShowWindow(hMain, SW_SHOW);
    set_helper_threads(helpers_before);
}

// The answers kept for the lists - the last check's, for the next one's lists, and the scan's, for
// its own lists - against a check with nothing kept (the last check's let go, the main window
// hidden so that the scan keeps none for the lists). After each change the report is the same: a new
// unknown word first or last in its list, one taken out, the lists loaded again between checks or
// at the pumps of the list that reads them, DEEP_SPELL switched on at the English list's first
// pump, and the pane shown again after a check that kept its answers without their text (the pane
// is compared too then).
TEST_F(WordLists, AnswersKeptForTheNextListsAreThoseOfAFirstCheck) {
    gl_ENGLIST_ALPHABETICALLY = 1;  // the words the scan asked about stand on both sides of the pumps
    gl_PRINT_UNKNOWN_ALPHABETICALLY = 1;
    const ListedWords listed = listed_words(40, 5);
    const auto& [latin, cyrillic, en, bg, en_listed, bg_listed] = listed;
    // "tilephane" has a near match only: its suggestions depend on DEEP_SPELL. A known word's text
    // (its rank and its forms) is asked only when it is wanted.
    std::vector<std::string> en_lines = en_listed, bg_lines = bg_listed;
    en_lines.push_back("telephone 41");
    bg_lines.push_back("книга 4753");
    load_forms({"книга книга 85 0"});
    const std::vector<std::string> en_fewer(en_lines.begin() + 20, en_lines.end());
    const std::vector<std::string> bg_fewer(bg_lines.begin() + 20, bg_lines.end());
    // Listed words with a letter changed (their suggestions depend on the lists) and more made-up
    // ones than the lists write between two pumps.
    std::string text;
    const std::vector<std::string> made_en = made_words(latin, 700, 7), made_bg = made_words(cyrillic, 700, 8);
    for (std::size_t i = 0; i < 700; ++i) {
        std::string e = jux_test::cp(en[i % en.size()]), g = jux_test::cp(bg[i % bg.size()]);
        e[1] = latin[i % latin.size()];
        g[1] = cyrillic[i % cyrillic.size()];
        text += jux_test::u8(e) + " " + made_en[i] + " " + jux_test::u8(g) + " " + made_bg[i] + "\r";
    }
    const auto lists = [&](bool fewer) {
        load_list_lines(M_WL_ENGLISH, fewer ? en_fewer : en_lines);
        load_dict_lines(B_BULGARIAN, fewer ? bg_fewer : bg_lines);
    };
    enum class AtPumps { nothing, lists, deep_spell };
    struct Step {
        const char* what;
        std::string text;
        bool reload;
        AtPumps at_pumps;
        bool hidden_before = false;  // the check before hid the main window: its answers have no text
    };
    const Step steps[] = {
        {"first words of both lists added", "aaaab \u0430\u0430\u0430\u0430\u0431 " + text, false, AtPumps::nothing},
        {"last words added", text + "zzzzy \u044f\u044f\u044f\u044f\u044e", false, AtPumps::nothing},
        {"both taken out again", text, false, AtPumps::nothing},
        {"the pane shown again", "книга " + text, false, AtPumps::nothing, true},
        {"DEEP_SPELL switched on at the English list's pump", "tilephane " + text, false, AtPumps::deep_spell},
        {"each list loaded again at its pumps", text, false, AtPumps::lists},
        {"the lists loaded again", "aaaab " + text, true, AtPumps::nothing},
    };
    const std::size_t helpers_before = helper_threads();
    for (const std::size_t helpers : {0u, 4u}) {
        set_helper_threads(helpers);
        lists(false);
        check(text);
        for (const Step& s : steps) {
            SCOPED_TRACE(std::string(s.what) + ", helpers " + std::to_string(helpers));
            // Where something changes at the pumps, the check from scratch hides the main window
            // (its scan keeps nothing for the lists) and the report alone is compared.
            const bool pane = s.at_pumps == AtPumps::nothing;
            std::string seen[2];
            for (const bool kept : {true, false}) {
                if (!kept) release_kept_bulgarian_answers();
                if (kept && s.hidden_before) {
                    ShowWindow(hMain, SW_HIDE);
                    check(s.text);
                }
                ShowWindow(hMain, kept || pane ? SW_SHOW : SW_HIDE);
                if (s.reload) lists(true);
                int pumps = 0;
                // A list's pumps follow its progress line.
                hs->on_pump = [&] {
                    const std::string progress = label8(GetDlgItem(hBig, IDC_BIG_LABEL));
                    const bool latin_list = progress.starts_with("Latin:"), bg_list = progress.starts_with("bg:");
                    if (s.at_pumps == AtPumps::lists && (latin_list || bg_list)) {
                        const bool fewer = pumps++ % 2 == 0;
                        if (latin_list) load_list_lines(M_WL_ENGLISH, fewer ? en_fewer : en_lines);
                        else load_dict_lines(B_BULGARIAN, fewer ? bg_fewer : bg_lines);
                    } else if (s.at_pumps == AtPumps::deep_spell && latin_list) {
                        ++pumps;
                        OP[OPT_DEEP_SPELL].num_value = 1;
                    }
                };
                check(s.text);
                hs->on_pump = nullptr;
                seen[kept ? 0 : 1] = jux_test::dump_panel("report", hBigReLeft) +
                                     (pane ? jux_test::dump_panel("pane", hAddReSaved) : std::string());
                if (s.at_pumps != AtPumps::nothing) {
                    EXPECT_GE(pumps, s.at_pumps == AtPumps::lists ? 2 : 1);
                }
                OP[OPT_DEEP_SPELL].num_value = 0;
                ShowWindow(hMain, SW_SHOW);
                if (s.reload || s.at_pumps == AtPumps::lists) lists(false);
            }
            const auto [a, b] = std::mismatch(seen[0].begin(), seen[0].end(), seen[1].begin(), seen[1].end());
            EXPECT_TRUE(a == seen[0].end() && b == seen[1].end())
                << "kept: ..." << std::string(a, std::min(a + 200, seen[0].end()))
                << "\nnothing kept: ..." << std::string(b, std::min(b + 200, seen[1].end()));
            EXPECT_NE(seen[0].find("->"), std::string::npos);
        }
    }
    set_helper_threads(helpers_before);
}

// A long text's exports are written on a thread of their own while the lists are written; the run
// pumps no message before they have ended, and the files, the gap index and the report are those
// of writing them before the lists.
TEST_F(WordLists, ExportsWrittenBesideTheListsAreThoseWrittenBeforeThem) {
    std::string latin, cyrillic;
    for (char c = 'a'; c <= 'z'; ++c) latin += c;
    for (int c = 0xE0; c <= 0xFF; ++c) cyrillic += static_cast<char>(c);
    const std::vector<std::string> en = made_words(latin, 1500, 5), bg = made_words(cyrillic, 1500, 6);
    std::string text;
    for (std::size_t i = 0; i < 280'000; ++i) text += (i % 2 ? en : bg)[i % 1500] + (i % 9 ? " " : ". ");
    const std::size_t helpers_before = helper_threads();
    std::map<std::string, std::string> files[2];
    std::string seen[2];
    std::size_t list_pumps = 0, unfinished = 0;
    for (const std::size_t helpers : {0u, 4u}) {
        set_helper_threads(helpers);
        for (const auto& e : std::filesystem::directory_iterator(data.path()))
            if (e.path().filename().string().rfind("___UP_", 0) == 0) std::filesystem::remove(e.path());
        // At a pump of the lists, every export file is whole.
        hs->on_pump = [&] {
            const std::string label = utf16_to_utf8(GetDlgItemTextW(hBig, IDC_BIG_LABEL));
            if (!helpers || !(label.starts_with("Latin:") || label.starts_with("bg:"))) return;
            ++list_pumps;
            for (const auto& [name, bytes] : files[0])
                if (name.starts_with("___UP_") && jux_test::folder_files(data.path())[name] != bytes) ++unfinished;
        };
        check(text);
        hs->on_pump = nullptr;
        files[helpers ? 1 : 0] = jux_test::folder_files(data.path());
        std::string& out = seen[helpers ? 1 : 0];
        out = jux_test::dump_panel("report", hBigReLeft);
        for (const GRecord* g = g_floor4[3]; g < g_nd4[3]; ++g) out += "gap [" + std::string(g->name) + "] " + std::to_string(g->count) + "\n";
    }
    set_helper_threads(helpers_before);
    EXPECT_EQ(unfinished, 0u) << list_pumps << " pumps of the lists";
    EXPECT_EQ(files[0].count("___UP_TOKENS_NUM_GROUPED.txt"), 1u);
    EXPECT_TRUE(files[0] == files[1]);
    EXPECT_TRUE(seen[0] == seen[1]);
    // The gap index, by count: " " after most words, ". " after every ninth (the text's last too).
    EXPECT_NE(seen[0].find("gap [ ] 248888\ngap [. ] 31112\n"), std::string::npos) << seen[0].substr(seen[0].size() - 40);
}

}  // namespace
