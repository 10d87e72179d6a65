// The folder batch tools over text files: the text kinds, the conversion to code page 1251, the
// fixer's passes, and the three main-window commands over a generated tree (flat numbered copies
// and concatenations, mirrored trees, report lines, result folders that take nothing).
#include <gtest/gtest.h>

#include "foldertools/text_tools.h"
#include "resources/resources.h"
#include "shell/files.h"
#include "support/text.h"
#include "tests/audio/audio_fixture.h"

namespace {

using jux_test::cp;

TEST(FolderTextKind, EachTestIsAFlagOfItsOwn) {
    struct Row {
        std::string bytes;
        bool bom, vowels, rtf, utf8;
    };
    const Row rows[] = {
        {"\xEF\xBB\xBFHello", true, false, false, true},
        {"мама е тук, а той и тя около", false, true, false, true},
        {"МАМА Е ТУК, А ТОЙ И ТЯ ОКОЛО", false, true, false, true},
        {"мама е тук и тя", false, false, false, true},  // no о: valid UTF-8 still converts
        {"\xE2\x80\x9Cquoted\xE2\x80\x9D", false, false, false, true},
        {"plain English", false, false, false, false},
        {"{\\rtf1 text}", false, false, true, false},
        {"{rtf1 text}", false, false, true, false},
        {cp("мама е тук, а той и тя около"), false, false, false, false},
        {std::string("а е\0 о и", 10), false, false, false, true},  // the vowels stop at the NUL
    };
    for (const Row& r : rows) {
        const FolderTextKind k = folder_text_kind(r.bytes);
        EXPECT_EQ(k.bom, r.bom) << r.bytes;
        EXPECT_EQ(k.vowels, r.vowels) << r.bytes;
        EXPECT_EQ(k.rtf, r.rtf) << r.bytes;
        EXPECT_EQ(k.utf8, r.utf8) << r.bytes;
        EXPECT_EQ(k.ansi, !r.utf8 && !r.rtf) << r.bytes;
    }
}

TEST(FolderTextKind, ConversionPutsByte6ForWhatTheCodePageLacks) {
    const std::pair<std::string, std::string> rows[] = {
        {"Здравей – свят", cp("Здравей – свят")},
        {"\xEF\xBB\xBF" "абв", cp("абв")},
        {"α и β", "\x06 " + cp("и") + " \x06"},
        {"a\xFF" "b", "a\x06" "b"},
        {"x\xF0\x9F\x98\x80y", "x\x06\x06y"},
    };
    for (const auto& [in, out] : rows) EXPECT_EQ(utf8_text_to_cp1251(in), out) << in;
}

TEST(FixTxt, SixPassesInOrder) {
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"one\r\n\t[*note]\r\ntwo", "one\r\ntwo"},
        {"one\n\t[*note]\ntwo", "one\ntwo"},
        {"one\n\r\t[*note]", "one"},
        {"\t[*note]\r\ntwo", "\t[*note]\r\ntwo"},               // first line: nothing before it
        {"one\r\n\t[*no close\r\ntwo", "one\r\n\t[*no close\r\ntwo"},
        {"one\r\n\t[*a] b]\r\ntwo", "one\r\ntwo"},             // the ']' that ends the line
        {"one\r\n\t{img:p.png}\r\ntwo", "one\r\ntwo"},
        {"see {img:p.png} here", "see here"},
        {"{img:p.png}first", "first"},
        {"a {img:broken\r\nline} b", "a {img:broken\r\nline} b"},
        {"H{sub}2{/sub}O x{sup}2{/sup}", "H 2O x 2"},
        {"co\xADop\xAD", "coop"},
    };
    for (const auto& [in, out] : rows) {
        std::string text(in);
        fix_txt(text);
        EXPECT_EQ(text, out) << in;
    }
}

class FolderTools : public AudioTest {
protected:
    std::filesystem::path tree, res;
    void SetUp() override {
        AudioTest::SetUp();
        tree = data.file("tree");
        res = data.file("tree_res");
    }
    // Runs a main-window command on `tree`.
    void run(UINT command) {
        hs->folder_dialog_answers.push_back(tree);
        if (command == IDM_BULK_UTF8_CONCAT) convert_bulk_concatenate(HWND{});
        if (command == IDM_BULK_UTF8) convert_bulk(HWND{});
        if (command == IDM_FIX_TXT) fix_txt_bulk(HWND{});
    }
    std::string in_res(std::string_view name) const { return file_bytes(res / std::string(name)); }
    bool has_line(std::string_view report, const std::string& line) const {
        const auto lines = file_lines(data.file(report));
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST_F(FolderTools, ConcatenatingConverterNumbersUtf8CopiesAndSortsTextsByKind) {
    const std::string ru = "Мама е тук, а той и тя около Ω", more = "АЕОИ горе";
    data.write("tree/ru.txt", ru);
    data.write("tree/bom.txt", "\xEF\xBB\xBFHello");
    data.write("tree/doc.rtf", "{\\rtf1 hello}");
    data.write("tree/ansi.txt", cp("Здравей"));
    data.write("tree/empty.txt", "");
    data.write("tree/bin.dat", std::string("AB\0CD", 5));
    data.write("tree/sub/more.txt", more);
    run(IDM_BULK_UTF8_CONCAT);

    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0], "The result will be written in \"" + res.string() + "\".\nThe concatenated files will be in \"alt\".");
    EXPECT_EQ(boxes()[1], "File count: 7, Non-zero files: 6,  Zero-length files: 1\nFolder count: 1\nTotal size: " +
                              std::to_string(ru.size() + 8 + 13 + 7 + 5 + more.size()));
    // Copies lie flat, numbered across folders in walk order: the top folder's two, then sub's.
    const std::string ru_cp = cp("Мама е тук, а той и тя около ") + "\x06";
    const bool ru_first = std::filesystem::exists(res / "000001_ru.txt");
    EXPECT_EQ(in_res(ru_first ? "000001_ru.txt" : "000002_ru.txt"), ru_cp);
    EXPECT_EQ(in_res(ru_first ? "000002_bom.txt" : "000001_bom.txt"), "Hello");
    EXPECT_EQ(in_res("000003_more.txt"), cp(more));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(res), {}), 3);

    const std::string concatenated = data.read("bulk_concatenated.txt");
    EXPECT_EQ(concatenated.size(), ru_cp.size() + 5 + cp(more).size() + 12);
    EXPECT_NE(concatenated.find(ru_cp + "\r\n\r\n"), std::string::npos);
    EXPECT_TRUE(concatenated.ends_with(cp(more) + "\r\n\r\n"));
    EXPECT_EQ(data.read("bulk_concatenated_ansi.txt"), cp("Здравей") + "\r\n\r\n");

    const std::string report = "bulk_utf8-to-ansi_report.txt", top = tree.string() + "/";
    EXPECT_TRUE(has_line(report, top + "   empty.txt   0"));
    EXPECT_TRUE(has_line(report, top + "   ansi.txt   7"));
    EXPECT_TRUE(has_line(report, "Not a text file, not converted: " + top + "bin.dat"));
    EXPECT_TRUE(has_line(report, "Folder Size " + std::to_string(ru.size() + 33) + "  File count: 5  " + top));
    EXPECT_TRUE(has_line(report, "Entering dir: " + top + "sub/"));
}

// A book concatenated from chapter files comes out in chapter order: the files of a folder are
// taken sorted by name as the desktop system's file system lists them (bg10 before bg2), in the
// concatenation and in the report.
TEST_F(FolderTools, ChaptersAreConcatenatedInNameOrder) {
    for (int n = 0; n < 12; ++n) data.write("tree/bg" + std::to_string(n) + ".txt", cp("bg" + std::to_string(n) + " глава"));
    std::string book;
    for (const char* n : {"bg0", "bg1", "bg10", "bg11", "bg2", "bg3", "bg4", "bg5", "bg6", "bg7", "bg8", "bg9"})
        book += cp(std::string(n) + " глава") + "\r\n\r\n";
    run(IDM_BULK_UTF8_CONCAT);
    EXPECT_EQ(data.read("bulk_concatenated_ansi.txt"), book);
    const std::string report = data.read("bulk_utf8-to-ansi_report.txt");
    EXPECT_LT(report.find("bg10.txt"), report.find("bg2.txt"));
    EXPECT_LT(report.find("bg1.txt"), report.find("bg10.txt"));
}

TEST_F(FolderTools, MirroringToolsKeepTheTreeAndNamesAndCopyOtherFilesWhole) {
    const std::string binary("PNG\0\xAD{sub}", 9);
    data.write("tree/a b.txt", "\xEF\xBB\xBF" "а е о и");
    data.write("tree/ж/книга.txt", "line\r\n\t[*note]\r\nH{sub}2{/sub}O\xAD");
    data.write("tree/ж/pic.png", binary);
    run(IDM_BULK_UTF8);
    EXPECT_EQ(in_res("a b.txt"), cp("а е о и"));
    EXPECT_EQ(in_res("ж/книга.txt"), "line\r\n\t[*note]\r\nH{sub}2{/sub}O\xAD");
    EXPECT_EQ(in_res("ж/pic.png"), binary);

    std::filesystem::remove_all(res);
    hs->message_boxes.clear();
    run(IDM_FIX_TXT);
    EXPECT_EQ(in_res("ж/книга.txt"), "line\r\nH 2O");
    EXPECT_EQ(in_res("ж/pic.png"), binary);
    EXPECT_EQ(in_res("a b.txt"), "\xEF\xBB\xBF" "а е о и");  // the fixer converts nothing
    EXPECT_TRUE(has_line("bulk_fix_txt.txt", cp(tree.string() + "/ж/   книга.txt   31")));
    EXPECT_EQ(boxes().size(), 2u);  // where, and the counts: no error
}

TEST_F(FolderTools, ResultFolderThatTakesNothingLeavesTheSourcesAlone) {
    data.write("tree/one.txt", "а е о и");
    data.write("tree/sub/two.txt", "plain");
    // A folder in the way of the copy and a file in the way of the sub-folder.
    std::filesystem::create_directories(res / "one.txt");
    data.write("tree_res/sub", "x");
    run(IDM_BULK_UTF8);
    ASSERT_EQ(boxes().size(), 4u);
    EXPECT_TRUE(boxes()[1].starts_with("\r\n2Cannot create file one.txt, reason: Is a directory")) << boxes()[1];
    EXPECT_TRUE(boxes()[2].starts_with("\r\n2Cannot create folder sub/, reason: File exists")) << boxes()[2];
    EXPECT_EQ(data.read("tree/one.txt"), "а е о и");
    EXPECT_EQ(data.read("tree/sub/two.txt"), "plain");

    // The result folder cannot be made at all: the command stops before it reads anything.
    std::filesystem::remove_all(res);
    data.write("tree_res", "a file");
    hs->message_boxes.clear();
    run(IDM_FIX_TXT);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_TRUE(boxes()[0].starts_with("\r\n1Cannot create folder " + res.string())) << boxes()[0];
    EXPECT_EQ(file_bytes(data.file("bulk_fix_txt.txt")), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data.file("tree")), {}), 2);
}

TEST_F(FolderTools, LinkBackIntoTheResultFolderIsNotReadBack) {
    data.write("tree/a.txt", "а е о и");
    std::filesystem::create_directories(res);
    std::filesystem::create_directory_symlink(res, data.file("tree/out"));
    std::filesystem::create_directory_symlink(tree, data.file("tree/loop"));
    run(IDM_BULK_UTF8_CONCAT);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(res), {}), 1);
    EXPECT_EQ(data.read("bulk_concatenated.txt"), cp("а е о и") + "\r\n\r\n");
    EXPECT_EQ(data.read("bulk_concatenated_ansi.txt"), "");  // the copy is not read back as a text
}

// A full disk while the second text goes into the concatenation (its own write torn, or the blank
// lines after it): the text is taken back whole, with its copy and its report line, and the box
// counts the one text written.
TEST_F(FolderTools, AFullDiskTakesTheUnwrittenTextBackFromEveryOutput) {
    data.write("tree/a.txt", "АЕОИ а е о и");
    data.write("tree/sub/b.txt", "АЕОИ горе");
    const std::string report = "bulk_utf8-to-ansi_report.txt", top = tree.string() + "/";
    for (int nth : {3, 4}) {
        SCOPED_TRACE(nth);
        hs->message_boxes.clear();
        std::filesystem::remove_all(res);
        fail_stream_write_at("bulk_concatenated.txt", ENOSPC, nth);
        run(IDM_BULK_UTF8_CONCAT);
        EXPECT_EQ(data.read("bulk_concatenated.txt"), cp("АЕОИ а е о и") + "\r\n\r\n");
        EXPECT_TRUE(has_line(report, top + "   a.txt   20"));
        EXPECT_FALSE(has_line(report, top + "sub/   b.txt   15"));
        EXPECT_TRUE(std::filesystem::exists(res / "000001_a.txt"));
        EXPECT_FALSE(std::filesystem::exists(res / "000002_b.txt"));
        EXPECT_TRUE(boxes().back().ends_with("File count: 1, Non-zero files: 1,  Zero-length files: 0\n"
                                             "Folder count: 0\nTotal size: 20\nFiles left out: 1"))
            << boxes().back();
    }
}

}  // namespace
