// The allocator and the output files.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/files.h"
#include "shell/memory.h"
#include "shell_test_util.h"
#include "support/ended_process.h"
#include "support/unprivileged.h"

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
    EXPECT_NE(text.find("no_such_folder/out.txt, reason: No such file or directory, (errno = 2). This file is not written; "
                        "the work goes on.\r\n"),
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

TEST_F(FilesTest, CloseFailureGoesToTheLogNamingTheFileAndWorkGoesOn) {
    FILE* log = std::fopen(dir.file("stat.txt").c_str(), "wb");
    ASSERT_NE(log, nullptr);
    fl_stat = log;
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    std::filesystem::create_symlink("/dev/full", dir.file("full.txt"));
    const std::string full = dir.file("full.txt").string();
    struct Row {
        bool make_fl;  // opened by make_fl (else by plain fopen)
        std::string shown, told;
    } rows[] = {{false, "report", "/dev/full"}, {true, "report", full}, {true, "", full}};
    for (const Row& r : rows) {
        FILE* f = r.make_fl ? make_fl(dir.path(), "full.txt") : std::fopen("/dev/full", "wb");
        ASSERT_NE(f, nullptr);
        OutputCyr("data that cannot be written", 0, f);  // buffered, then flushed: fails quietly
        std::fputs("more", f);                           // still buffered at the close
        EXPECT_EQ(closefile(f, r.shown), -1);
        EXPECT_EQ(take_write_failures(), "Cannot write to " + r.told + ", reason: No space left on device, (errno = 28)\n");
    }
    std::fclose(log);
    fl_stat = nullptr;
    const std::string line = ", reason: No space left on device, (errno = 28)\r\n";
    EXPECT_EQ(dir.read("stat.txt"), "ERROR: Can't close the report file" + line + "ERROR: Can't close the report file" + line +
                                        "ERROR: Can't close the " + full + " file" + line);
    EXPECT_TRUE(headless().message_boxes.empty());
}

// ---- Rewriting the user's files -------------------------------------------------------------

// The names in the folder that look like temporary files of a rewrite.
std::vector<std::string> temporary_files(const std::filesystem::path& folder) {
    std::vector<std::string> found;
    for (auto& e : std::filesystem::directory_iterator(folder))
        if (e.path().filename().string().find(".tmp") != std::string::npos) found.push_back(e.path().filename());
    return found;
}

TEST_F(FilesTest, SafeWritesLeaveTheOldFileWhenTheyFail) {
    const auto file = dir.write("list.txt", "old\r\n");
    EXPECT_EQ(write_file_safely(file, "new\r\n"), 1);
    EXPECT_EQ(dir.read("list.txt"), "new\r\n");
    // A target that cannot be replaced: the write fails and leaves no temporary file.
    std::filesystem::create_directories(dir.file("dir.txt/inside"));
    EXPECT_EQ(write_file_safely(dir.file("dir.txt"), "x"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("dir.txt")));
    EXPECT_EQ(write_file_safely(dir.file("missing/folder.txt"), "x"), 0);
    EXPECT_TRUE(temporary_files(dir.path()).empty());
    EXPECT_EQ(backup_file(dir.file("list.txt"), dir.file("list_old.txt")), 1);
    EXPECT_EQ(dir.read("list_old.txt"), "new\r\n");
    EXPECT_EQ(backup_file(dir.file("absent.txt"), dir.file("absent_old.txt")), 0);

    // Each step that can fail: the old file stays whole, no temporary file is left, the caller
    // learns the error; the next write goes through again.
    const std::vector<std::pair<SafeWriteStep, int>> faults = {
        {SafeWriteStep::Write, ENOSPC}, {SafeWriteStep::Flush, EIO}, {SafeWriteStep::Rename, EXDEV}};
    for (const auto& [step, err] : faults) {
        SCOPED_TRACE(err);
        fail_safe_write_at(step, err);
        errno = 0;
        EXPECT_EQ(write_file_safely(file, std::string(10'000, 'x')), 0);
        EXPECT_EQ(errno, err);
        EXPECT_EQ(dir.read("list.txt"), "new\r\n");
        EXPECT_TRUE(temporary_files(dir.path()).empty());
    }
    fail_safe_write_at(SafeWriteStep::Write, ENOSPC, 2);  // the second write from now
    EXPECT_EQ(write_file_safely(file, "first\r\n"), 1);
    EXPECT_EQ(write_file_safely(file, "second\r\n"), 0);
    EXPECT_EQ(write_file_safely(file, "third\r\n"), 1);
    EXPECT_EQ(dir.read("list.txt"), "third\r\n");
}

// A file that may not be written is refused by every kind of writer with the error an open for
// writing gives, and stays as it was: one without any write bit (made read-only) whoever runs the
// program, root too; one of another user, for an ordinary user (that part is left out where the
// process may write it anyway: run as an ordinary user who owns the file).
TEST_F(FilesTest, AFileThatMayNotBeWrittenIsRefusedByEveryWriter) {
    const std::function<bool(const std::filesystem::path&)> writers[] = {
        [](const std::filesystem::path& f) { return write_file_safely(f, "new") == 1; },
        [](const std::filesystem::path& f) { return append_journal(f, "new") == 1; },
        [](const std::filesystem::path& f) {
            FILE* out = open_out(f, "wb");
            return out && closefile(out, "") == 0;
        },
    };
    const auto read_only = dir.write("read_only.txt", "old");
    std::filesystem::permissions(read_only, std::filesystem::perms(0444));
    const auto others = dir.write("others.txt", "old");  // root's when the tests run as root
    std::filesystem::permissions(others, std::filesystem::perms(0644));
    jux_test::give_to_ordinary_user(dir.path());
    for (const auto& write : writers) {
        errno = 0;
        EXPECT_FALSE(write(read_only));
        EXPECT_EQ(errno, EACCES);
        EXPECT_EQ(dir.read("read_only.txt"), "old");
        if (getuid() != 0) continue;
        EXPECT_EQ(jux_test::run_unprivileged([&] { return !write(others) && errno == EACCES ? 0 : 1; }), 0);
        EXPECT_EQ(dir.read("others.txt"), "old");
    }
}

TEST_F(FilesTest, ASafeWriteGoesThroughLinksAndKeepsTheFilesMode) {
    // A list reached through two links, one relative, one absolute; the list is private.
    std::filesystem::create_directories(dir.file("real"));
    const auto list = dir.write("real/words.txt", "old\r\n");
    std::filesystem::permissions(list, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::create_symlink("real/words.txt", dir.file("middle.txt"));
    std::filesystem::create_symlink(dir.file("middle.txt"), dir.file("words.txt"));

    ASSERT_EQ(write_file_safely(dir.file("words.txt"), "new\r\n"), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("words.txt")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("middle.txt")));
    EXPECT_EQ(dir.read("real/words.txt"), "new\r\n");
    EXPECT_EQ(std::filesystem::status(list).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_TRUE(temporary_files(dir.file("real")).empty());

    // A link whose target is missing makes the target; a plain new file gets 0666 less the umask.
    std::filesystem::create_symlink("made.txt", dir.file("dangling.txt"));
    ASSERT_EQ(write_file_safely(dir.file("dangling.txt"), "x"), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("dangling.txt")));
    EXPECT_EQ(dir.read("made.txt"), "x");
    const mode_t mask = umask(0);
    umask(mask);
    ASSERT_EQ(write_file_safely(dir.file("plain.txt"), "y"), 1);
    EXPECT_EQ(static_cast<mode_t>(std::filesystem::status(dir.file("plain.txt")).permissions()), 0666 & ~mask);
}

TEST_F(FilesTest, StaleTemporaryFilesOfKilledRewritesAreRemoved) {
    const std::string dead = jux_test::ended_process_id();
    struct Case {
        std::string name;
        bool removed;
    };
    const std::vector<Case> cases = {
        {"words.txt.tmp" + dead + "_0", true},             // left by a killed rewrite
        {"c_c11.txt.tmp" + dead + "_17", true},
        {"words.txt.tmp" + std::to_string(getpid()) + "_3", true},  // ours: never half-done between calls
        {"words.txt.tmp1_0", false},                       // a running process (init) may be writing
        {"words.txt.tmp" + dead, false},                   // not the program's pattern
        {"words.txt.tmp_" + dead, false},
        {"words.txt.tmpx" + dead + "_0", false},
        {"words.txt", false},
        {"notes.tmp", false},
    };
    for (const Case& c : cases) dir.write(c.name, "partial");
    std::filesystem::create_directory(dir.file("folder.tmp" + dead + "_1"));  // a folder is no temporary file
    EXPECT_EQ(remove_stale_temporary_files(dir.path()), 3);
    for (const Case& c : cases) EXPECT_EQ(std::filesystem::exists(dir.file(c.name)), !c.removed) << c.name;
    EXPECT_TRUE(std::filesystem::exists(dir.file("folder.tmp" + dead + "_1")));
    EXPECT_EQ(remove_stale_temporary_files(dir.file("missing")), 0);
}

// A loop of symbolic links names no file: a rewrite, a backup and a journal line fail with ELOOP
// and every link stays the link it was.
TEST_F(FilesTest, ALoopOfLinksIsRefusedAndLeftAlone) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // name, target
        std::string file;                                          // the name written through
    };
    const std::vector<Case> cases = {
        {"a link to itself", {{"self.txt", "self.txt"}}, "self.txt"},
        {"two links", {{"a.txt", "b.txt"}, {"b.txt", "a.txt"}}, "a.txt"},
        {"a chain into a loop", {{"c.txt", "d.txt"}, {"d.txt", "e.txt"}, {"e.txt", "d.txt"}}, "c.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& [name, target] : c.links) std::filesystem::create_symlink(target, dir.file(name));
        auto links_intact = [&] {
            for (const auto& [name, target] : c.links)
                if (!std::filesystem::is_symlink(dir.file(name)) || std::filesystem::read_symlink(dir.file(name)) != target)
                    return false;
            return true;
        };
        errno = 0;
        EXPECT_EQ(write_file_safely(dir.file(c.file), "new\r\n"), 0);
        EXPECT_EQ(errno, ELOOP);
        EXPECT_TRUE(links_intact());
        dir.write("plain.txt", "x");
        EXPECT_EQ(backup_file(dir.file("plain.txt"), dir.file(c.file)), -1);
        EXPECT_EQ(backup_file(dir.file(c.file), dir.file("plain_old.txt")), -1);
        EXPECT_FALSE(dir.exists("plain_old.txt"));
        EXPECT_EQ(append_journal(dir.file(c.file), "line"), 0);
        EXPECT_EQ(errno, ELOOP);
        EXPECT_TRUE(links_intact());
        EXPECT_TRUE(temporary_files(dir.path()).empty());
    }
}

// A journal line is written whole or not at all: one cut short by a full disk is taken back, and
// the caller learns the error.
TEST_F(FilesTest, AJournalLineIsWholeOrNotThere) {
    const auto journal = dir.file("cdate.txt");
    ASSERT_EQ(append_journal(journal, "first"), 1);
    fail_safe_write_at(SafeWriteStep::Write, ENOSPC);
    errno = 0;
    EXPECT_EQ(append_journal(journal, std::string(5000, 'x')), 0);
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(dir.read("cdate.txt"), "first\r\n");
    ASSERT_EQ(append_journal(journal, "third"), 1);
    EXPECT_EQ(dir.read("cdate.txt"), "first\r\nthird\r\n");
}

// A write that a full disk cuts short leaves none of its bytes in the file, also in one opened for
// appending (whose stream tells no position before its first write); the next write goes on there.
TEST_F(FilesTest, AFailedWriteLeavesNoneOfItsBytes) {
    for (const std::string mode : {"wb", "ab", "ab+"}) {
        SCOPED_TRACE(mode);
        dir.write("out.txt", "old\n");
        FILE* f = open_out(dir.file("out.txt"), mode.c_str());
        ASSERT_NE(f, nullptr);
        fail_stream_write_at("out.txt", ENOSPC);
        EXPECT_FALSE(write_out(f, "a line cut short\n"));
        EXPECT_TRUE(write_out(f, "next\n"));
        closefile(f, "");
        take_write_failures();
        EXPECT_EQ(dir.read("out.txt"), mode == "wb" ? "next\n" : "old\nnext\n");
    }
}

}  // namespace
