// The list loaders: {key, rest} lists, sentence corpora, the add-dictionary entries.
#include <cstdint>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/lists.h"
#include "shell/strings.h"
#include "shell_test_util.h"

namespace {

using ListsTest = ShellTest;

std::vector<std::string> keys(const std::vector<ListPair>& v) {
    std::vector<std::string> k;
    for (const auto& p : v) k.emplace_back(p.key);
    return k;
}

TEST_F(ListsTest, SortedAndFileOrder) {
    const std::string text = cp("круша плод\r\nApple ябълка\r\nбанан\r\napple second\r\n\r\nZebra зебра\r\n");
    dir.write("fruit.txt", text);

    ListFileRecord sorted;
    sorted.name = "fruit";
    ASSERT_EQ(fl_to_list(dir.path(), sorted), 1);
    EXPECT_EQ(sorted.count, 5u);
    // case-insensitive, stable for equal keys, Latin before Cyrillic
    EXPECT_EQ(keys(sorted.entries),
              (std::vector<std::string>{"Apple", "apple", "Zebra", cp("банан"), cp("круша")}));
    EXPECT_EQ(sorted.entries[0].rest, cp("ябълка"));
    EXPECT_EQ(sorted.entries[1].rest, "second");
    EXPECT_FALSE(sorted.entries[3].has_rest());  // the line holds only the key
    EXPECT_EQ(sorted.entries[3].rest.data(), nullptr);

    ListFileRecord unsorted;
    unsorted.name = "fruit";
    unsorted.sort = 0;
    ASSERT_EQ(fl_to_list(dir.path(), unsorted), 1);
    EXPECT_EQ(keys(unsorted.entries),
              (std::vector<std::string>{cp("круша"), "Apple", cp("банан"), "apple", "Zebra"}));
}

TEST_F(ListsTest, EveryLineEndShapeEndsALineOnce) {
    // Each shape ends three lines; none leaves a CR in a key or a rest, none joins two lines.
    const std::vector<std::pair<const char*, std::string>> shapes = {
        {"CR LF", "\r\n"}, {"LF", "\n"}, {"CR", "\r"}, {"CR CR LF", "\r\r\n"}, {"LF CR", "\n\r"}};
    for (const auto& [what, end] : shapes) {
        SCOPED_TRACE(what);
        dir.write("ends.txt", cat("beta two", end, "alpha one", end, "gamma", end));
        ListFileRecord rec;
        rec.name = "ends";
        rec.sort = 0;
        ASSERT_EQ(fl_to_list(dir.path(), rec), 1);
        EXPECT_EQ(rec.stats.lines, 3u);
        EXPECT_EQ(keys(rec.entries), (std::vector<std::string>{"beta", "alpha", "gamma"}));
        ASSERT_EQ(rec.entries.size(), 3u);
        EXPECT_EQ(rec.entries[0].rest, "two");
        EXPECT_EQ(rec.entries[1].rest, "one");
        EXPECT_FALSE(rec.entries[2].has_rest());
    }
    // An empty line between CR LF lines stays an (ignored) line of its own.
    const std::string_view text = "a\r\n\r\nb";
    EXPECT_EQ(next_line(text, 0).next, 3u);
    EXPECT_EQ(next_line(text, 3).length, 0u);
    EXPECT_EQ(next_line(text, 3).next, 5u);
    EXPECT_EQ(next_line(text, 5).length, 1u);
    EXPECT_EQ(next_line(text, 5).next, text.size());
}

// A line ends at its first CR or LF wherever it stands among the eight bytes read at once: long
// and short lines, bytes that differ from CR or LF by one bit, line ends of every shape.
TEST(NextLine, EndsAtTheFirstCrOrLfAnywhere) {
    const char pieces[] = {'\r', '\n', 'a', '\x0c', '\x0b', '\x8d', '\x8a', '\x0e', '\xff', '\x00'};
    std::uint32_t seed = 3;
    for (int t = 0; t < 2000; ++t) {
        std::string text;
        const int n = 1 + t % 40;
        for (int i = 0; i < n; ++i) {
            seed = seed * 1664525u + 1013904223u;
            text += (seed >> 24) % 4 == 0 ? pieces[(seed >> 8) % 2] : pieces[2 + (seed >> 8) % 8];
        }
        for (std::size_t from = 0; from < text.size(); ++from) {
            std::size_t end = from;
            while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
            EXPECT_EQ(next_line(text, from).length, end - from) << t << ' ' << from;
        }
    }
}

TEST_F(ListsTest, EntriesAreNulTerminatedViews) {
    dir.write("l.txt", "key1 rest one\nkey2\t\t rest two  \nkey3   \n");
    std::vector<ListPair> v;
    auto text = load_pairs(dir.file("l.txt"), ListLoadOptions{0, false}, v);
    ASSERT_TRUE(text);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_STREQ(v[0].key.data(), "key1");
    EXPECT_STREQ(v[0].rest.data(), "rest one");
    EXPECT_STREQ(v[1].rest.data(), "rest two  ");  // the rest of the line as it stands
    EXPECT_FALSE(v[2].has_rest());                 // key and trailing blanks only
    EXPECT_STREQ(v[2].key.data(), "key3");
    const char* base = text->bytes.get();
    EXPECT_TRUE(v[1].key.data() >= base && v[1].key.data() < base + text->size);
}

TEST_F(ListsTest, UnsoundLinesAreSkippedAndCounted) {
    std::string text = "good one\n";
    text += "nul";
    text += '\0';
    text += "line x\n";
    text += cat("long ", std::string(kMaxListLine, 'y'), "\n");  // kMaxListLine + 5 bytes
    text += "  indented line\n";
    text += "   \n\n";                                        // blank lines: ignored, not counted
    text += cat("fits ", std::string(kMaxListLine - 5, 'z'), "\n");  // exactly the limit
    text += "last";
    dir.write("bad.txt", text);
    std::vector<ListPair> v;
    ListLoadStats st;
    auto loaded = load_pairs(dir.file("bad.txt"), ListLoadOptions{0, false}, v, &st);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(keys(v), (std::vector<std::string>{"good", "fits", "last"}));
    EXPECT_EQ(v[1].rest.size(), kMaxListLine - 5);
    EXPECT_EQ(st.skipped, 3u);
    EXPECT_EQ(st.loaded, 3u);
    EXPECT_EQ(st.lines, 8u);
}

TEST_F(ListsTest, MissingEmptyAndFolderFiles) {
    std::vector<ListPair> v;
    EXPECT_EQ(load_pairs(dir.file("none.txt"), {}, v), nullptr);
    std::filesystem::create_directory(dir.file("folder.txt"));
    EXPECT_EQ(load_pairs(dir.file("folder.txt"), {}, v), nullptr);
    dir.write("empty.txt", "");
    EXPECT_NE(load_pairs(dir.file("empty.txt"), {}, v), nullptr);
    EXPECT_TRUE(v.empty());
    ListFileRecord rec;
    rec.name = "none";
    EXPECT_EQ(fl_to_list(dir.path(), rec), 0);
    EXPECT_EQ(rec.count, 0u);
}

TEST_F(ListsTest, ANamedPipeIsNoListAndIsNotWaitedFor) {
    const auto pipe = dir.file("pipe.txt");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // Run apart with an alarm: a loader that waits for a writer would never return.
    EXPECT_EXIT(
        {
            alarm(5);
            std::vector<ListPair> v;
            std::vector<SentencePair> sp;
            const bool pairs = load_pairs(pipe, {}, v) != nullptr;
            const bool sentences = load_sentences(pipe, {}, sp) != nullptr;
            std::fprintf(stderr, "pairs=%d sentences=%d", pairs ? 1 : 0, sentences ? 1 : 0);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "pairs=0 sentences=0");
}

TEST_F(ListsTest, Utf8FilesBecomeCp1251) {
    dir.write("bom.txt", "\xEF\xBB\xBF" "котка cat\r\nкуче dog\r\n");
    dir.write("plain.txt", "куче dog\nкотка cat\n");  // valid UTF-8 without a mark
    for (const char* name : {"bom.txt", "plain.txt"}) {
        SCOPED_TRACE(name);
        std::vector<ListPair> v;
        ListLoadStats st;
        auto text = load_pairs(dir.file(name), {}, v, &st);
        ASSERT_TRUE(text);
        EXPECT_TRUE(st.converted_utf8);
        EXPECT_EQ(keys(v), (std::vector<std::string>{cp("котка"), cp("куче")}));
    }
    // CP1251 text is not taken for UTF-8
    dir.write("cp.txt", cp("куче dog\nкотка cat\n"));
    std::vector<ListPair> v;
    ListLoadStats st;
    auto text = load_pairs(dir.file("cp.txt"), {}, v, &st);
    ASSERT_TRUE(text);
    EXPECT_FALSE(st.converted_utf8);
    EXPECT_EQ(keys(v), (std::vector<std::string>{cp("котка"), cp("куче")}));
}

TEST_F(ListsTest, RoomLimitsTheEntries) {
    dir.write("r.txt", "a 1\nb 2\nc 3\nd 4\n");
    std::vector<ListPair> v;
    ListLoadOptions o;
    o.room = 2;
    ListLoadStats st;
    auto text = load_pairs(dir.file("r.txt"), o, v, &st);
    ASSERT_TRUE(text);
    EXPECT_EQ(v.size(), 2u);
    EXPECT_EQ(st.over_room, 2u);
}

TEST_F(ListsTest, BinarySearch) {
    std::string text;
    for (int i = 999; i >= 0; --i) text += cat("w", std::to_string(i), " ", std::to_string(i), "\r\n");
    text += cp("Ябълка първа\r\nябълка втора\r\n");
    dir.write("big.txt", text);
    ListFileRecord rec;
    rec.name = "big";
    ASSERT_EQ(fl_to_list(dir.path(), rec), 1);
    ASSERT_EQ(rec.count, 1002u);
    for (int i = 0; i < 1000; ++i) {
        const ListPair* p = find_pair(rec, cat("W", std::to_string(i)));
        ASSERT_NE(p, nullptr) << i;
        EXPECT_EQ(p->rest, std::to_string(i));
    }
    EXPECT_EQ(find_pair(rec, "w1000"), nullptr);
    EXPECT_EQ(find_pair(rec, "w"), nullptr);
    EXPECT_EQ(find_pair(rec, ""), nullptr);
    const ListPair* first = find_pair(rec, cp("ЯБЪЛКА"));  // the first of equal keys
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->rest, cp("първа"));
    EXPECT_EQ(find_pair(std::span<const ListPair>(), "x"), nullptr);
}

TEST_F(ListsTest, SentenceCorpus) {
    dir.write("cs.txt", cp("The cat sleeps.\tКотката спи.\r\n"
                           "Is it true?\tВярно ли е?\r\n"
                           "No translation here!\r\n"
                           "\tбез английско\r\n"
                           "A dog   \t  Куче \r\n"));
    ListFileRecord rec;
    rec.name = "cs";
    ASSERT_EQ(fl_to_list(dir.path(), rec, true), 1);
    ASSERT_EQ(rec.count, 4u);
    EXPECT_EQ(rec.stats.skipped, 1u);
    const auto& s = rec.sentences;  // sorted by the English sentence
    EXPECT_EQ(s[0].en, "A dog");
    EXPECT_EQ(s[0].bg, cp("  Куче"));
    EXPECT_EQ(s[0].en_mark, 0);
    EXPECT_EQ(s[1].en, "Is it true");
    EXPECT_EQ(s[1].en_mark, '?');
    EXPECT_EQ(s[1].bg, cp("Вярно ли е"));
    EXPECT_EQ(s[1].bg_mark, '?');
    EXPECT_EQ(s[2].en, "No translation here");
    EXPECT_EQ(s[2].en_mark, '!');
    EXPECT_FALSE(s[2].has_bg());
    EXPECT_EQ(s[3].en, "The cat sleeps");
    EXPECT_STREQ(s[3].en.data(), "The cat sleeps");
    EXPECT_EQ(s[3].bg_mark, '.');
}

TEST_F(ListsTest, AddDictionaryEntriesCarryTheirFileNumber) {
    dir.write("add1.txt", "b two\na one\n");
    dir.write("add2.txt", "a uno\n");
    std::vector<ListPairSeq> v;
    auto text1 = load_pairs_seq(dir.file("add1.txt"), 1, v);
    auto text2 = load_pairs_seq(dir.file("add2.txt"), 2, v);
    ASSERT_TRUE(text1 && text2);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0].key, "a");
    EXPECT_EQ(v[0].seq, 1);
    EXPECT_EQ(v[1].key, "b");
    EXPECT_EQ(v[2].key, "a");
    EXPECT_EQ(v[2].seq, 2);
    EXPECT_EQ(v[2].rest, "uno");
}

TEST_F(ListsTest, RecordsShareTheirText) {
    dir.write("s.txt", "b 2\na 1\n");
    ListFileRecord rec;
    rec.name = "s";
    ASSERT_EQ(fl_to_list(dir.path(), rec), 1);
    ListFileRecord copy = rec;  // a second row over the same text
    rec = ListFileRecord{};     // the first row is dropped: the text lives on
    EXPECT_EQ(copy.entries[0].key, "a");
    EXPECT_EQ(copy.entries[1].rest, "2");
    std::vector<ListPair> pairs = copy.entries;
    std::reverse(pairs.begin(), pairs.end());
    sort_pairs(pairs);
    EXPECT_EQ(pairs[0].key, "a");
}

}  // namespace
