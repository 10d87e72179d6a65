// Output files beside the dropped file: naming with and without a dropped file, folders, the
// working folder kept, and bad paths.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/output_files.h"
#include "engine_fixture.h"
#include "shell/files.h"
#include "shell/panels.h"

namespace {

namespace fs = std::filesystem;

class OutputFiles : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        saved_cwd = fs::current_path();
        work = data.path() / "work";
        start = data.path() / "start";
        texts = data.path() / "texts";
        for (const fs::path& p : {work, start, texts}) fs::create_directories(p);
        fs::current_path(work);
        start_dir = start;
    }
    void TearDown() override {
        fs::current_path(saved_cwd);
        EngineTest::TearDown();
    }
    // Opens the file for `prefix`, writes `bytes` and closes it; false when it was not made.
    bool make(const char* prefix, std::string_view bytes = "x\r\n") {
        FILE* f = generate_file_from_dropped_or_predifined(prefix);
        if (!f) return false;
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        closefile(f, prefix);
        return true;
    }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string path8(const fs::path& p) const { return path_to_cp1251(p); }

    fs::path saved_cwd, work, start, texts;
};

TEST_F(OutputFiles, WithoutDroppedFileThePrefixAloneGoesIntoTheStartFolder) {
    ASSERT_TRUE(make("OCR", "first"));
    EXPECT_EQ(read(start / "OCR.txt"), "first");
    EXPECT_EQ(fs::current_path(), work);  // the working folder is found as it was
    EXPECT_FALSE(fs::exists(work / "OCR.txt"));
    // A second call empties the file ("wb+"): the stream also reads back what was written.
    FILE* f = generate_file_from_dropped_or_predifined("OCR");
    ASSERT_NE(f, nullptr);
    std::fputs("ab", f);
    std::rewind(f);
    char back[3] = {};
    EXPECT_EQ(std::fread(back, 1, 2, f), 2u);
    EXPECT_STREQ(back, "ab");
    std::fclose(f);
    EXPECT_EQ(read(start / "OCR.txt"), "ab");
}

TEST_F(OutputFiles, BesideTheDroppedFileWithPrefixUnderscoreAndName) {
    gl_dropped = path8(texts / "story.txt");
    ASSERT_TRUE(make("AUTO", "corrected"));
    ASSERT_TRUE(make("_REPEATED", "report"));
    EXPECT_EQ(read(texts / "AUTO_story.txt"), "corrected");
    EXPECT_EQ(read(texts / "_REPEATED_story.txt"), "report");  // one underscore joins them
    EXPECT_EQ(gl_dropped, path8(texts / "story.txt"));
    EXPECT_EQ(fs::current_path(), work);
    EXPECT_TRUE(hs->message_boxes.empty());
}

TEST_F(OutputFiles, DroppedFolderIsShortenedInPlaceAndNamesTheFileInItsParent) {
    fs::create_directories(texts / "chapter");
    gl_dropped = path8(texts / "chapter") + "/";
    ASSERT_TRUE(make("FIXED"));
    EXPECT_EQ(gl_dropped, path8(texts / "chapter"));
    EXPECT_TRUE(fs::exists(texts / "FIXED_chapter"));
}

TEST_F(OutputFiles, FolderThatCannotBeEnteredIsReportedAndTheFileGoesIntoTheWorkingFolder) {
    gl_dropped = path8(texts / "gone" / "story.txt");
    ASSERT_TRUE(make("FIXED"));
    EXPECT_TRUE(fs::exists(work / "FIXED_story.txt"));
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    const RecordedMessageBox& box = hs->message_boxes[0];
    EXPECT_EQ(box.caption, u"Oops!");
    EXPECT_EQ(box.owner, hMain);
    EXPECT_TRUE(box.flags & MB_ICONERROR);
    EXPECT_EQ(utf16_to_utf8(box.text), "Cannot change to folder " + (texts / "gone" / "story.txt").string() +
                                           ", reason: No such file or directory, (errno = 2)\n");
    EXPECT_EQ(fs::current_path(), work);
}

TEST_F(OutputFiles, PathWithoutFolderNamesAFileOfTheWorkingFolder) {
    gl_dropped = "story.txt";
    ASSERT_TRUE(make("LOG"));
    EXPECT_TRUE(fs::exists(work / "LOG_story.txt"));
    EXPECT_FALSE(fs::exists(start / "LOG_story.txt"));
}

TEST_F(OutputFiles, CyrillicNamesBecomeUtf8OnDisk) {
    gl_dropped = path8(texts) + "/" + cp("разказ.txt");
    ASSERT_TRUE(make("OCR", "ok"));
    EXPECT_EQ(read(texts / "OCR_разказ.txt"), "ok");
}

TEST_F(OutputFiles, FileThatCannotBeCreatedGivesNullAndShowsNothing) {
    fs::create_directories(texts / "AUTO_story.txt");  // a folder stands where the file would go
    gl_dropped = path8(texts / "story.txt");
    EXPECT_EQ(generate_file_from_dropped_or_predifined("AUTO"), nullptr);
    EXPECT_TRUE(hs->message_boxes.empty());
    EXPECT_EQ(fs::current_path(), work);
    EXPECT_EQ(gl_dropped, path8(texts / "story.txt"));
}

// The opener that reports: its message says that the file is left out and the work goes on, which
// is what the callers do.
TEST_F(OutputFiles, FileThatCannotBeCreatedIsReportedAsLeftOut) {
    fs::create_directories(texts / "AUTO_story.txt");
    gl_dropped = path8(texts / "story.txt");
    EXPECT_EQ(open_generated_file("AUTO"), nullptr);
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(hs->message_boxes[0].caption, u"Oops!");
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes[0].text),
              "\r\nCannot open " + (texts / "AUTO_story.txt").string() +
                  ", reason: Is a directory, (errno = 21). This file is not written; the work goes on.\r\n");
    EXPECT_EQ(fs::current_path(), work);
}

TEST_F(OutputFiles, OverLongNamesAreCutAndNeverWrittenOutsideTheFolder) {
    // A name of 255 characters with its prefix is more than a file name may hold: no file, no
    // crash, nothing shown, and nothing made anywhere else.
    gl_dropped = path8(texts) + "/" + std::string(255, 'a');
    EXPECT_EQ(generate_file_from_dropped_or_predifined("OCR"), nullptr);
    EXPECT_TRUE(fs::is_empty(texts));
    EXPECT_TRUE(fs::is_empty(work));
    // A prefix of 300 characters is cut to 259 (then too long as well): the same defined result.
    gl_dropped.clear();
    EXPECT_EQ(generate_file_from_dropped_or_predifined(std::string(300, 'P').c_str()), nullptr);
    EXPECT_TRUE(fs::is_empty(start));
    EXPECT_EQ(fs::current_path(), work);
}

TEST_F(OutputFiles, FileDroppedWithCharactersOutsideCodePage1251GoesToTheStartFolder) {
    // The drop leaves no path that code page 1251 cannot hold, so the output takes the prefix alone.
    const fs::path file = texts / "日本.txt";
    std::ofstream(file) << "text";
    const HWND panel = hBigReLeft;
    ASSERT_EQ(dropped_file(nullptr, panel, file), 1);
    EXPECT_TRUE(gl_dropped.empty());
    ASSERT_TRUE(make("NO_TIME_CODE"));
    EXPECT_TRUE(fs::exists(start / "NO_TIME_CODE.txt"));
}

}  // namespace
