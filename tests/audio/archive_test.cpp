// The audio archive and its index: the offset transform both ways, the builder over a generated
// folder tree read back clip by clip through the index, the walk's order, counters and failures,
// and the main window's "Make audio file" command.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <csignal>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "audio/archive.h"
#include "foldertools/text_tools.h"
#include "shell/files.h"
#include "support/text.h"
#include "tests/audio/audio_fixture.h"

namespace {

class Archive : public AudioTest {
protected:
    std::filesystem::path index_file, archive_file;

    void SetUp() override {
        AudioTest::SetUp();
        index_file = data.file("out.txt");
        archive_file = data.file("out.bin");
    }
    // Builds the archive of `top` into out.txt / out.bin as the command does.
    void build(const std::filesystem::path& top) {
        reset_walk_counters();
        gl_fl_stat = std::fopen(index_file.c_str(), "wb");
        gl_fl_concatenated = std::fopen(archive_file.c_str(), "wb");
        ASSERT_TRUE(gl_fl_stat && gl_fl_concatenated);
        dir_to_list_audio(top);
        std::fclose(gl_fl_stat);
        std::fclose(gl_fl_concatenated);
        gl_fl_stat = gl_fl_concatenated = nullptr;
    }
    // The text written to a temporary stream, which is closed.
    static std::string stream_text(FILE* f) {
        std::rewind(f);
        std::string text(1 << 16, '\0');
        text.resize(std::fread(text.data(), 1, text.size(), f));
        std::fclose(f);
        return text;
    }
    struct Clip {
        std::string key;
        AudioSlice slice;
        std::string bytes;  // read back from the archive through the index
    };
    // Every index line with the bytes its entry points at; the entries must tile the archive.
    std::vector<Clip> read_back() {
        const std::string archive = file_bytes(archive_file);
        std::vector<Clip> out;
        std::uint64_t expected_offset = 0;
        for (const std::string& line : file_lines(index_file)) {
            const auto blank = line.find(' ');
            Clip c;
            c.key = line.substr(0, blank);
            const auto slice = audio_slice(c.key, std::string_view(line).substr(blank + 1));
            EXPECT_TRUE(slice) << line;
            if (!slice) continue;
            c.slice = *slice;
            EXPECT_EQ(c.slice.offset, expected_offset) << line;
            EXPECT_LE(c.slice.offset + c.slice.size, archive.size()) << line;
            c.bytes = archive.substr(c.slice.offset, c.slice.size);
            expected_offset = c.slice.offset + c.slice.size;
            out.push_back(c);
        }
        EXPECT_EQ(expected_offset, archive.size());
        return out;
    }
};

TEST_F(Archive, OffsetsAndSizesAreStoredTransformedByTheKey) {
    struct Row {
        std::string_view key;
        std::uint64_t offset, size, a, b;
    };
    // S("abc") = 294, L = 99; S("Hello") = 500, L = 111; S("a") = L = 97.
    const Row rows[] = {
        {"abc", 0, 1000, 2069, 1390},
        {"abc", 5000, 1000, 7069, 1390},
        {"Hello", 12345, 4096, 12345 + 3511, 4096 + 608},
        {"a", 0, 1, 690, 192},
        {"\xFF\xFF", 1ull << 40, 3ull << 31, (1ull << 40) + 7 * 510 + 11, (3ull << 31) + 762},
    };
    for (const Row& r : rows) {
        const AudioStored st = audio_store(r.key, r.offset, r.size);
        EXPECT_EQ(st.a, r.a) << r.key;
        EXPECT_EQ(st.b, r.b) << r.key;
        const std::string line = audio_index_line(r.key, r.offset, r.size);
        EXPECT_EQ(line, std::string(r.key) + " " + std::to_string(r.a) + " " + std::to_string(r.b) + "\r\n");
        const auto back = audio_slice(r.key, std::to_string(r.a) + " " + std::to_string(r.b));
        ASSERT_TRUE(back) << r.key;
        EXPECT_EQ(back->offset, r.offset);
        EXPECT_EQ(back->size, r.size);
    }
    // Entries that do not hold A and B, or that stand for a negative offset or size.
    const std::string_view damaged[] = {"", "2069", "x 1390", "2069 y", "2068 1390", "2069 389", "-5 1390"};
    for (std::string_view rest : damaged) EXPECT_FALSE(audio_slice("abc", rest)) << rest;
    EXPECT_TRUE(audio_slice("abc", "2069 390"));  // size 0: the smallest that is not negative
    EXPECT_FALSE(audio_slice("abc", std::string_view()));
}

TEST_F(Archive, FolderTreeIsPackedAndReadsBackClipByClip) {
    std::map<std::string, std::set<std::string>> files_by_key;  // every clip's bytes by key
    auto clip = [&](std::string_view rel, std::string_view key, std::string bytes) {
        data.write(std::string("tree/") + std::string(rel), bytes);
        if (!bytes.empty() && !key.empty()) files_by_key[std::string(key)].insert(bytes);
    };
    clip("zeta.ogg", "zeta", clip_bytes('z', 10));
    clip("alpha.ogg", "alpha", clip_bytes('a', 20));
    clip("empty.ogg", "", "");
    clip("hello.world.ogg", "hello", clip_bytes('h', 5));
    clip("noext", "noext", clip_bytes('n', 3));
    clip(".hidden", "", clip_bytes('.', 4));
    clip("sub/alpha.ogg", "alpha", clip_bytes('A', 7));
    clip("sub/deep/phrase one.ogg", "phrase_one", clip_bytes('p', 9));
    clip("sub2/x.wav", "x", clip_bytes('x', 1500000));  // more than one copy piece
    std::filesystem::create_directories(data.file("tree/sub2/nothing"));

    build(data.file("tree"));
    const std::vector<Clip> clips = read_back();
    ASSERT_EQ(clips.size(), 7u);
    std::set<std::string> top_keys;
    for (std::size_t i = 0; i < 4; ++i) top_keys.insert(clips[i].key);
    EXPECT_EQ(top_keys, (std::set<std::string>{"zeta", "alpha", "hello", "noext"}));  // the top folder's files first
    std::map<std::string, std::set<std::string>> read;
    for (const Clip& c : clips) read[c.key].insert(c.bytes);
    EXPECT_EQ(read, files_by_key);  // byte-exact, the same key twice from two folders
    EXPECT_EQ(clips.front().slice.offset, 0u);

    EXPECT_EQ(fl_ct_global, 8u);  // ".hidden", whose name gives no key, is left out
    EXPECT_EQ(fl_ct_global_nonzero, 7u);
    EXPECT_EQ(fl_ct_global_zero, 1u);
    EXPECT_EQ(fl_ct_left_out, 1u);
    EXPECT_EQ(dir_ct_global, 4u);
    EXPECT_EQ(sz_global, std::filesystem::file_size(archive_file));
}

// A folder's files are taken sorted by name as the desktop system's file system lists them:
// letters without regard to case, character by character ("bg10" before "bg2"), whatever order
// this file system lists them in.
TEST_F(Archive, AFoldersFilesAreTakenInNameOrder) {
    const std::vector<std::string> sorted{"a", "B", "bg0", "bg1", "bg10", "bg11", "bg2", "bg3", "bg4",
                                          "bg5", "bg6", "bg7", "bg8", "bg9", "c"};
    for (const std::string& key : sorted) data.write("tree/" + key + ".ogg", clip_bytes(key[0], 3));
    std::vector<std::string> listed;
    for (const auto& e : std::filesystem::directory_iterator(data.file("tree"))) listed.push_back(e.path().stem().string());
    EXPECT_NE(listed, sorted);  // the file system's own order differs: the walk has to sort
    build(data.file("tree"));
    std::vector<std::string> taken;
    for (const Clip& c : read_back()) taken.push_back(c.key);
    EXPECT_EQ(taken, sorted);
}

TEST_F(Archive, TreeWithoutClipsLeavesBothFilesEmpty) {
    data.write("tree/empty.ogg", "");
    std::filesystem::create_directories(data.file("tree/sub/subsub"));
    build(data.file("tree"));
    EXPECT_EQ(std::filesystem::file_size(index_file), 0u);
    EXPECT_EQ(std::filesystem::file_size(archive_file), 0u);
    EXPECT_EQ(fl_ct_global, 1u);
    EXPECT_EQ(fl_ct_global_zero, 1u);
    EXPECT_EQ(dir_ct_global, 2u);
}

TEST_F(Archive, FolderThatCannotBeListedOrEntryWithoutStatusIsReportedAndTheWalkGoesOn) {
    data.write("tree/a.ogg", clip_bytes('a', 30));
    std::filesystem::create_symlink(data.file("tree/gone.ogg"), data.file("tree/dangling.ogg"));
    data.write("tree/sub/b.ogg", clip_bytes('b', 12));
    FILE* log = std::tmpfile();
    fl_stat = log;
    build(data.file("tree"));
    EXPECT_EQ(read_back().size(), 2u);
    build(data.file("no such folder"));
    EXPECT_TRUE(read_back().empty());
    fl_stat = nullptr;
    const std::string logged = stream_text(log);
    EXPECT_NE(logged.find("\r\nCannot process dangling.ogg, reason: No such file or directory, (errno = 2)\r\n"),
              std::string::npos) << logged;
    EXPECT_NE(logged.find("\r\nCannot change to folder " + data.file("no such folder").string() + "/, reason: "),
              std::string::npos) << logged;
}

TEST_F(Archive, UnreadableFoldersAndClipsAreReportedAndLeftOut) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not hold for root";
    data.write("tree/a.ogg", clip_bytes('a', 30));
    data.write("tree/locked/b.ogg", clip_bytes('b', 30));
    const auto unreadable = data.write("tree/c.ogg", clip_bytes('c', 40));
    data.write("tree/open/d.ogg", clip_bytes('d', 50));
    ::chmod(data.file("tree/locked").c_str(), 0);
    ::chmod(unreadable.c_str(), 0);
    FILE* log = std::tmpfile();
    fl_stat = log;

    build(data.file("tree"));
    ::chmod(data.file("tree/locked").c_str(), 0755);
    fl_stat = nullptr;
    const std::string logged = stream_text(log);

    EXPECT_NE(logged.find("Cannot change to folder " + data.file("tree/locked").string() + "/, reason: "), std::string::npos)
        << logged;
    EXPECT_NE(logged.find("Cannot process c.ogg, reason: "), std::string::npos) << logged;
    const std::vector<Clip> clips = read_back();  // the index and the archive stay in step
    std::set<std::string> keys;
    for (const Clip& c : clips) keys.insert(c.key);
    EXPECT_EQ(keys, (std::set<std::string>{"a", "d"}));
    EXPECT_EQ(sz_global, 80u);
}

TEST_F(Archive, FolderLinkBackUpTheTreeIsWalkedOnce) {
    data.write("tree/a.ogg", clip_bytes('a', 3));
    data.write("tree/sub/b.ogg", clip_bytes('b', 4));
    std::filesystem::create_directory_symlink(data.file("tree"), data.file("tree/sub/loop"));
    build(data.file("tree"));
    EXPECT_EQ(read_back().size(), 2u);
}

TEST_F(Archive, ClipNamesInUtf8OrInCodePage1251BytesGiveTheirOwnKeys) {
    const std::pair<std::string, std::string> names[] = {
        {"\xE0\xE1\xE2.ogg", jux_test::cp("абв")},  // code page 1251 bytes on disk
        {"\xE3\xE4\xE5.ogg", jux_test::cp("где")},  // as long as the one above
        {"жзи.ogg", jux_test::cp("жзи")},            // UTF-8
        {"plain.ogg", "plain"},
        {"日本.ogg", ""},  // names the code page cannot write: left out, each named in the log
        {"中国.ogg", ""},
    };
    std::set<std::string> expected;
    for (const auto& [name, key] : names) {
        data.write("tree/" + name, clip_bytes('k', 11));
        if (!key.empty()) expected.insert(key);
    }
    fl_stat = std::tmpfile();
    build(data.file("tree"));
    const std::string log = stream_text(fl_stat);
    fl_stat = nullptr;
    std::set<std::string> keys;
    for (const Clip& c : read_back()) keys.insert(c.key);
    EXPECT_EQ(keys, expected);
    for (const char* name : {"<U+65E5><U+672C>.ogg", "<U+4E2D><U+56FD>.ogg"})
        EXPECT_NE(log.find("Cannot process " + data.file("tree").string() + "/" + name), std::string::npos) << log;
}

// "Make audio file" over a folder that holds the data folder, where the archive and the index are
// written: the builder runs in a child process that may write no file past 1 MiB, so a builder
// that read its own growing archive would be stopped ("File too large") rather than fill the disk.
TEST_F(Archive, OutputInsideTheWalkedFolderIsNeverTakenAsAClip) {
    constexpr rlim_t kFileLimit = rlim_t{1} << 20;
    const std::string one = clip_bytes('1', 300000), two = clip_bytes('2', 4000);
    data.write("top/one.ogg", one);  // the top folder's files come before the data folder's
    data.write("top/two.ogg", two);
    std::filesystem::create_directories(data.file("top/alt"));
    dir_alt = data.file("top/alt");
    hs->folder_dialog_answers.push_back(data.file("top"));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{kFileLimit, kFileLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
        std::signal(SIGXFSZ, SIG_IGN);
        make_audio_file(HWND{});
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    index_file = data.file("top/alt/b_english_ao_NEW.txt");
    archive_file = data.file("top/alt/audio_NEW");
    std::map<std::string, std::string> read;
    for (const Clip& c : read_back()) read[c.key] = c.bytes;
    EXPECT_EQ(read, (std::map<std::string, std::string>{{"one", one}, {"two", two}}));
    EXPECT_EQ(std::filesystem::file_size(archive_file), one.size() + two.size());
}

TEST_F(Archive, MakeAudioFileCommandBuildsIntoTheDataFolderAndReports) {
    data.write("clips/one.ogg", clip_bytes('1', 100));
    data.write("clips/more/two.ogg", clip_bytes('2', 23));
    hs->folder_dialog_answers.push_back(data.file("clips"));
    make_audio_file(HWND{});
    EXPECT_EQ(gl_fl_stat, nullptr);  // both closed
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0],
              "The index will be written in \"b_english_ao_NEW.txt\". SORT IT!!!!!!!!!!!!!!!!!!!!!!!!!\n"
              "The concatenated files will be in \"alt\".");
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes[0].caption), "In a few moments..");
    EXPECT_EQ(boxes()[1], "File count: 2, Non-zero files: 2,  Zero-length files: 0\nFolder count: 1\nTotal size: 123");
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes[1].caption), "Done!");
    EXPECT_EQ(file_lines(data.file("b_english_ao_NEW.txt")).size(), 2u);
    EXPECT_EQ(std::filesystem::file_size(data.file("audio_NEW")), 123u);

    // A cancelled choice ends the command: nothing shown, nothing built.
    hs->message_boxes.clear();
    make_audio_file(HWND{});
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(std::filesystem::file_size(data.file("audio_NEW")), 0u);
}

// An output that cannot be written (a full disk: the file is a link to /dev/full, or its nth
// write fails) is told with its name in the box that ends the command; what was not written is
// not counted, and the walk ends there.
TEST_F(Archive, FullDiskIsToldNamingTheFileAndTheLostItemIsNotCounted) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    struct Row {
        void (*command)(HWND);
        std::string full;  // the output that cannot be written
        int nth;           // 0: every write (/dev/full), else the nth write to it
        int clips_counted;
    } rows[] = {{make_audio_file, "b_english_ao_NEW.txt", 0, 0}, {make_audio_file, "audio_NEW", 0, 0},
                {make_audio_file, "b_english_ao_NEW.txt", 2, 1}, {convert_bulk_concatenate, "bulk_concatenated.txt", 0, 0},
                {convert_bulk_concatenate, "bulk_utf8-to-ansi_report.txt", 0, 0}, {fix_txt_bulk, "bulk_fix_txt.txt", 0, 0}};
    data.write("clips/a.txt", "АЕОИ а е о и");  // 20 bytes each
    data.write("clips/b.txt", "АЕОИ а е о и");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.full);
        hs->message_boxes.clear();
        std::filesystem::remove(data.file(r.full));
        if (r.nth) fail_stream_write_at(r.full, ENOSPC, r.nth);
        else std::filesystem::create_symlink("/dev/full", data.file(r.full));
        hs->folder_dialog_answers.push_back(data.file("clips"));
        r.command(HWND{});
        if (r.nth) {  // the clip whose index line was lost left no bytes in the archive either
            EXPECT_EQ(file_lines(data.file(r.full)).size(), 1u);
            EXPECT_EQ(std::filesystem::file_size(data.file("audio_NEW")), 20u);
        }
        std::filesystem::remove(data.file(r.full));
        ASSERT_FALSE(boxes().empty());
        EXPECT_EQ(utf16_to_utf8(hs->message_boxes.back().caption), "Oops!");
        EXPECT_TRUE(boxes().back().starts_with("Cannot write to " + data.file(r.full).string() +
                                               ", reason: No space left on device, (errno = 28)\n"))
            << boxes().back();
        const int n = r.clips_counted;
        EXPECT_NE(boxes().back().find(jux_format("Written:\nFile count: %d, Non-zero files: %d,  Zero-length files: 0\n"
                                                 "Folder count: 0\nTotal size: %d\nFiles left out: 1", n, n, 20 * n)),
                  std::string::npos)
            << boxes().back();
    }
}

// Clips left out (names code page 1251 cannot write) are not counted with the written one; the box
// counts them apart and names the statistics log that holds the reasons.
TEST_F(Archive, DoneCountsOnlyTheWrittenClipsAndNamesTheLogOfTheOthers) {
    data.write("clips/a.ogg", clip_bytes('a', 30));
    data.write("clips/日本.ogg", clip_bytes('j', 40));
    data.write("clips/中文.ogg", clip_bytes('c', 50));
    const auto log = data.file("statistics.txt");
    fl_stat = open_out(log);
    hs->folder_dialog_answers.push_back(data.file("clips"));
    make_audio_file(HWND{});
    closefile(fl_stat, "");
    fl_stat = nullptr;
    EXPECT_EQ(boxes().back(), "File count: 1, Non-zero files: 1,  Zero-length files: 0\nFolder count: 0\n"
                              "Total size: 30\nFiles left out: 2\nWhy files were left out: see " + log.string());
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes.back().caption), "Done!");
    EXPECT_NE(file_bytes(log).find("code page 1251 lacks"), std::string::npos);
}

}  // namespace
