// The allocator and the output files.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/files.h"
#include "shell/memory.h"
#include "shell_test_util.h"

namespace {

using MemoryTest = ShellTest;
using FilesTest = ShellTest;

TEST_F(MemoryTest, BlocksAreAlignedAndKnowTheirSize) {
    for (std::size_t size : {0u, 1u, 15u, 16u, 17u, 4096u, 1000003u}) {
        void* p = jux_malloc(size);
        ASSERT_NE(p, nullptr) << size;
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 16, 0u) << size;
        EXPECT_EQ(jux_msize(p), size);
        std::memset(p, 0xAB, size);  // the whole block is ours
        EXPECT_EQ(jux_msize(p), size);
        jux_free(p);
    }
    jux_free(nullptr);
    EXPECT_EQ(jux_msize(nullptr), 0u);
}

TEST_F(MemoryTest, ExhaustionAnswersNull) {
    EXPECT_EQ(jux_malloc(SIZE_MAX), nullptr);
    EXPECT_EQ(jux_malloc(SIZE_MAX - 8), nullptr);
    jux_set_alloc_limit(1000);
    EXPECT_EQ(jux_malloc(1001), nullptr);
    void* p = jux_malloc(1000);
    EXPECT_NE(p, nullptr);
    jux_free(p);
}

TEST_F(MemoryTest, MallocexitShowsItsMessageAndEndsWithStatusOne) {
    EXPECT_EXIT(
        {
            headless_install();
            std::atexit([] {
                const auto& boxes = headless().message_boxes;
                const bool shown = boxes.size() == 1 && boxes[0].caption == u"Oops!" &&
                                   boxes[0].text == cp1251_to_utf16(mallocexit_text());
                std::fprintf(stderr, "box shown=%d\n", shown);
            });
            jux_malloc_or_exit(SIZE_MAX);
        },
        ::testing::ExitedWithCode(1), "Insufficient memory, close some programs and try again\r\n\r\nbox shown=1");
    EXPECT_TRUE(mallocexit_text().starts_with("Insufficient memory, do one of the following and try again:"));
    for (const char* n : {"\r\n1. ", "\r\n2. ", "\r\n3. "}) EXPECT_NE(mallocexit_text().find(n), std::string_view::npos);
}

TEST_F(FilesTest, MakeFlWritesBinaryIntoFolderPlusName) {
    FILE* f = make_fl(dir.path(), cp("изход.txt"));
    ASSERT_NE(f, nullptr);
    OutputCyr(cp("ред"), 2, f);
    OutputCyr("", 1, f);
    OutputCyr("x\n", 0, f);
    EXPECT_EQ(flsz(f), 11);
    EXPECT_EQ(closefile(f, "output"), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "изход.txt"));  // the name on disk is UTF-8
    EXPECT_EQ(dir.read("изход.txt"), cp("ред") + "\r\n\r\n\r\nx\n");
    // the file is emptied when opened again
    f = make_flw(dir.path(), u"изход.txt");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(flsz(f), 0);
    EXPECT_EQ(closefilew(f, u"изход"), 0);
    EXPECT_TRUE(headless().message_boxes.empty());
}

TEST_F(FilesTest, MakeFlFailureShowsItsMessageAndReturnsNull) {
    FILE* f = make_fl(dir.path() / "no_such_folder", "out.txt");
    EXPECT_EQ(f, nullptr);
    ASSERT_EQ(headless().message_boxes.size(), 1u);
    const auto& box = headless().message_boxes[0];
    EXPECT_EQ(box.caption, u"Oops!");
    const std::string text = utf16_to_utf8(box.text);
    EXPECT_TRUE(text.starts_with("\r\nCannot open ")) << text;
    EXPECT_NE(text.find("no_such_folder/out.txt, reason: No such file or directory, (errno = 2). Exiting..\r\n"),
              std::string::npos)
        << text;
    // the caller skips its work; closing the null stream is harmless
    EXPECT_EQ(closefile(f, "out"), 0);
    OutputCyr("lost", 1, f);
    EXPECT_EQ(flsz(f), -1);
}

TEST_F(FilesTest, FlszLeavesThePositionAlone) {
    dir.write("data.bin", std::string(1000, 'x'));
    FILE* f = std::fopen(dir.file("data.bin").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 123, SEEK_SET);
    EXPECT_EQ(flsz(f), 1000);
    EXPECT_EQ(std::ftell(f), 123);
    std::fclose(f);
}

TEST_F(FilesTest, CloseFailureGoesToTheLogAndWorkGoesOn) {
    FILE* log = std::fopen(dir.file("stat.txt").c_str(), "wb");
    ASSERT_NE(log, nullptr);
    fl_stat = log;
    FILE* full = std::fopen("/dev/full", "wb");
    if (!full) GTEST_SKIP() << "no /dev/full";
    OutputCyr("data that cannot be written", 0, full);  // buffered, then flushed: fails quietly
    std::fputs("more", full);                          // still buffered at the close
    EXPECT_EQ(closefile(full, "report"), -1);
    std::fclose(log);
    fl_stat = nullptr;
    const std::string logged = dir.read("stat.txt");
    EXPECT_TRUE(logged.starts_with("ERROR: Can't close the report file, reason: No space left on device, (errno = 28)\r\n"))
        << logged;
    EXPECT_TRUE(headless().message_boxes.empty());
}

}  // namespace
