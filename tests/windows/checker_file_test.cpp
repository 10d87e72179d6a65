// The text checker's file, format, help and audio commands: a file opened through the dialog and
// saved back in both encodings with its line ends and byte-order mark, the correction log, the
// failures that write nothing, the help pages and the About text, the font, and reading aloud.
#include <fstream>
#include <tuple>

#include "audio/archive.h"
#include "dictionary/loading.h"
#include "checker_fixture.h"
#include "dictionary/custom_words.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "support/ended_process.h"
#include "windows/checker_file_commands.h"

namespace {

class CheckerFile : public CheckerTest {
protected:
    void SetUp() override {
        CheckerTest::SetUp();
        start_dir = data.path();
        open();
    }
    // Chooses the menu item with the file dialog answered by `file` and the boxes by `answers`.
    void choose(int id, const std::filesystem::path& file, std::vector<int> answers = {}) {
        hs->file_dialog_answers.push_back(file);
        hs->message_box_answers.assign(answers.begin(), answers.end());
        headless_menu(hBig, id);
    }
};

const std::string kBom = "\xEF\xBB\xBF";

TEST_F(CheckerFile, OpenedFilesAreSavedBackWithTheirLineEndsAndMark) {
    const std::string crlf = cp("один\r\nдва\r\n");
    const std::vector<std::tuple<std::string, int, std::string>> cases{
        {crlf, 9220, crlf},
        {cp("един\nдва\n"), 9220, cp("един\nдва\n")},
        {cp("един\rдва"), 9220, cp("един\rдва")},
        {crlf, 9221, kBom + "один\r\nдва\r\n"},
        {"one\nдва\n", 9221, "one\nдва\n"},
        {kBom + "one\r\nдва", 9221, kBom + "one\r\nдва"},
        {"one\nдва\n", 9220, "one\nдва\n"},  // a UTF-8 file is saved back in UTF-8
    };
    for (const auto& [loaded, id, saved] : cases) {
        SCOPED_TRACE(saved);
        CheckDlgButton(hBig, IDC_BIG_REALTIME, BST_CHECKED);
        choose(9219, data.write_raw("in/text.txt", loaded));
        EXPECT_EQ(IsDlgButtonChecked(hBig, IDC_BIG_REALTIME), BST_UNCHECKED);
        choose(id, data.file("out.txt"));
        EXPECT_EQ(hs->file_dialog_starts.back(), data.file("in/text.txt"));
        EXPECT_EQ(data.read("out.txt"), saved);
        EXPECT_EQ(hs->message_boxes.back().text, u"Файлът е записан под името " + data.file("out.txt").u16string());
    }
}

TEST_F(CheckerFile, ATypedTextIsSavedWithLfAndItsCorrectionLog) {
    type_right(u"line one\rline two");
    gl_SPELL_CHECKER_LOG = 1;
    gl_log = cp("cat -> cot\r\n");
    gl_log_ct = gl_log_ct2 = 1;
    choose(9220, data.file("typed"));
    EXPECT_EQ(hs->file_dialog_starts.back(), data.file("FILE.txt"));
    EXPECT_EQ(data.read("typed.txt"), "line one\nline two");
    EXPECT_EQ(u8(data.read("LOG_")), "|\t\r\n\r\ncat -> cot\r\n\r\n--------\r\n1 коригирани грешки\r\n");
    gl_log_ct = 2;
    gl_log_ct2 = 5;
    EXPECT_TRUE(u8(checker_log_text("a.txt")).ends_with("\n5 коригирани грешки в 2 различни думи\r\n"));
}

TEST_F(CheckerFile, FailuresAndRefusalsWriteNothing) {
    gl_SPELL_CHECKER_LOG = 1;
    gl_log = "a -> b\r\n";
    headless_menu(hBig, 9220);                  // cancelled
    choose(9220, data.file("empty.txt"));       // the panel is empty
    type_right(u"ok 中");
    choose(9220, data.file("lossy.txt"), {IDCANCEL});
    EXPECT_FALSE(data.exists("empty.txt") || data.exists("lossy.txt") || data.exists("LOG_"));
    choose(9220, data.file("lossy.txt"), {IDNO});
    EXPECT_EQ(data.read("lossy.txt"), "ok ?");
    choose(9220, data.file("lossy.txt"), {IDYES});
    EXPECT_EQ(data.read("lossy.txt"), "ok 中");
    hs->message_boxes.clear();
    gl_dropped = "/no_such_folder_jux/x.txt";
    const std::size_t dialogs = hs->file_dialog_starts.size();
    headless_menu(hBig, 9221);
    EXPECT_EQ(hs->file_dialog_starts.size(), dialogs);
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_TRUE(hs->message_boxes[0].text.starts_with(u"Cannot change to folder /no_such_folder_jux/x.txt, reason: "));
}

// The inflection-type pages show the types of the data folder's lexicon in use when the user opens
// them: a type the kept page (made over the demonstration lexicon) has no endings for gets its row.
TEST_F(CheckerFile, InflectionTypePagesAreMadeFromTheLexiconInUse) {
    const std::filesystem::path kept = std::filesystem::path(JUX_DEMO_DIR).parent_path().parent_path() /
                                       "resources" / "help" / "help_bulgarian_verb_types.html";
    const std::filesystem::path page = start_dir / "help_bulgarian_verb_types.html";
    std::filesystem::copy_file(kept, page);  // as run.sh puts it there
    const std::string row = "<tr><td>142a</td><td>229</td><td>аз …</td><td>1</td><td>ам аш а</td>";
    ASSERT_EQ(data.read("help_bulgarian_verb_types.html").find(row), std::string::npos);
    std::ofstream(data.path() / "bgtypes2" / "_endings.txt", std::ios::app | std::ios::binary) << cp("142a 1 ам аш а\r\n");
    ASSERT_EQ(load_endings(data.path()), 1);  // the data folder's tables, as the start loads them
    headless_menu(hBig, 9226);
    EXPECT_EQ(hs->shell_opened, std::vector<std::string>{page.string()});
    EXPECT_NE(data.read("help_bulgarian_verb_types.html").find(row), std::string::npos);
}

TEST_F(CheckerFile, HelpVersionAboutFontAndReadingAloud) {
    std::vector<std::string> opened;
    for (const char* page : {"help_spellchecker.html", "help_color_filter.html", "help_bulgarian_verb_types.html",
                             "help_bulgarian_nouns_adjectives.html"})
        opened.push_back(data.write_raw(page, "<html></html>").string());
    opened.push_back("https://www.google.com/search?num=100&hl=en&q=%22JUX%20Spell%20Checker%22");
    for (int id : {9224, 9225, 9226, 9227, 9223, 9228}) headless_menu(hBig, id);
    EXPECT_EQ(hs->shell_opened, opened);
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(hs->message_boxes[0].caption, u"About");
    EXPECT_TRUE(hs->message_boxes[0].text.starts_with(u"JUX Spell Checker 1.0\n\n\n\nCredits:\n"));
    const LOGFONTW f{u"DejaVu Serif", 14};
    hs->font_dialog_answers.push_back(f);
    headless_menu(hBig, 9222);
    for (HWND re : {hBigReLeft, hBigReRight, hBigReBot}) EXPECT_EQ(PL_GetFontInfo(GetWindowFont(re)), f);

    // "R" (shown only with an audio index at opening) speaks the words of the last check in order.
    data.write_raw("audio/audio", "CATSUN");
    DictFileRecord& rec = b[B_ENGLISH_AO];
    const std::string index = audio_index_line("cat", 0, 3) + audio_index_line("sun", 3, 3);
    rec.text = load_pairs(data.write_raw("ao.txt", index), ListLoadOptions{}, rec.entries, &rec.stats);
    rec.count = rec.entries.size();
    hs->shell_opened.clear();
    PL_SendCommand(hBig, IDC_BIG_AUDIO_READ);  // nothing checked yet: nothing spoken
    EXPECT_TRUE(hs->shell_opened.empty());
    type_right(u"cat dog sun cat");
    PL_SendCommand(hBig, IDC_BIG_AUDIO_READ);
    std::string played;
    for (const std::string& clip : hs->shell_opened) played += data.read(clip);  // an absolute path stays itself
    EXPECT_EQ(played, "CATSUNCAT");
}

// A save killed before its rename leaves its temporary file beside the document: the next save of
// that document removes it (and those of its correction log); other files' stay.
TEST_F(CheckerFile, ASaveRemovesWhatAKilledSaveOfTheDocumentLeft) {
    const std::string dead = jux_test::ended_process_id();
    const struct {
        std::string name;
        bool removed;
    } cases[] = {
        {"doc.txt.tmp" + dead + "_0", true},
        {"doc.txt.tmp" + dead + "_12", true},
        {"LOG_doc.txt.tmp" + dead + "_1", true},
        {"doc.txt.tmp1_0", false},                 // a running process (init) may be writing it
        {"other.txt.tmp" + dead + "_0", false},    // another document's
        {"doc.tmp" + dead + "_0", false},          // the document "doc"'s
        {"doc.txt.tmp.tmp" + dead + "_0", false},  // "doc.txt.tmp"'s
    };
    for (const auto& c : cases) data.write_raw("docs/" + c.name, "half");
    choose(9219, data.write_raw("docs/doc.txt", "old"));
    type_right(u"new text");
    gl_SPELL_CHECKER_LOG = 1;
    gl_log = "a -> b\r\n";
    choose(9220, data.file("docs/doc.txt"));
    EXPECT_NE(data.read("docs/doc.txt").find("new text"), std::string::npos);
    for (const auto& c : cases) EXPECT_EQ(data.exists("docs/" + c.name), !c.removed) << c.name;
}

// Only what the checker loads itself becomes its file: a file dropped on the main window's entry
// box is looked up there, and the checker's Save, title and correction log stay its own.
TEST_F(CheckerFile, AFileDroppedOnTheEntryBoxIsNotTheCheckersFile) {
    const auto notes = data.write_raw("notes.txt", "notes\n");
    const std::u16string title = GetWindowTextW(hBig);
    gl_log = "a -> b\r\n";
    headless_drop(hAddReShort, {notes});
    EXPECT_EQ(RE_GetTextW(hAddReShort), u"notes\r");
    EXPECT_EQ(GetWindowTextW(hBig), title);
    EXPECT_EQ(gl_log, "a -> b\r\n");
    type_right(u"typed");
    choose(9220, data.file("typed.txt"));
    EXPECT_EQ(hs->file_dialog_starts.back(), data.file("FILE.txt"));
    EXPECT_EQ(data.read("notes.txt"), "notes\n");
    headless_drop(hBigReRight, {notes});  // the checker's own drop does make it its file
    choose(9220, data.file("other.txt"));
    EXPECT_EQ(hs->file_dialog_starts.back(), notes);
}

// A file's text changed since it was opened or saved is not closed away unasked: Cancel keeps the
// window and the text, No lets it go, Yes saves it to its file. A text that was never a file's, or
// one unchanged, closes at once; so does the program from the main window.
TEST_F(CheckerFile, ClosingAChangedFilesTextAsksToSaveIt) {
    ShowWindow(hMain, SW_SHOW);  // the program goes on when the checker closes
    const auto file = data.file("text.txt");
    const struct {
        const char* name;
        bool from_file, saved_typed, change;
        std::vector<int> answers;
        bool asked, closed;
        std::string on_disk;
    } cases[] = {
        {"typed", false, false, true, {}, false, true, "old\n"},
        {"opened, unchanged", true, false, false, {}, false, true, "old\n"},
        {"opened, changed, cancel", true, false, true, {IDCANCEL}, true, false, "old\n"},
        {"opened, changed, don't save", true, false, true, {IDNO}, true, true, "old\n"},
        {"opened, changed, save", true, false, true, {IDYES}, true, true, "old\nmore"},
        {"typed, saved, changed", false, true, true, {IDYES}, true, true, "typedmore"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!IsWindow(hBig)) {
            ASSERT_TRUE(open_checker_window());
        }
        data.write_raw("text.txt", "old\n");
        if (c.from_file) choose(9219, file);
        else type_right(u"typed");
        if (c.saved_typed) choose(9220, file);
        if (c.change) {
            RE_SetSel(hBigReRight, CHARRANGE{-1, -1});
            type_right(u"more");
        }
        hs->message_boxes.clear();
        hs->message_box_answers.assign(c.answers.begin(), c.answers.end());
        hs->file_dialog_answers.push_back(file);
        headless_close(hBig);
        hs->file_dialog_answers.clear();
        EXPECT_EQ(!hs->message_boxes.empty() && hs->message_boxes[0].caption == u"Save the text?", c.asked);
        EXPECT_EQ(IsWindow(hBig), !c.closed);
        EXPECT_EQ(data.read("text.txt"), c.on_disk);
        if (!c.closed) {
            EXPECT_EQ(RE_GetTextW(hBigReRight), u"old\rmore");
        }
    }
    // The program closed from the main window asks too; Cancel keeps it going.
    ASSERT_TRUE(open_checker_window());
    choose(9219, file);
    type_right(u"more");
    hs->message_box_answers = {IDCANCEL};
    headless_close(hMain);
    EXPECT_FALSE(platform_quit_requested());
    EXPECT_TRUE(IsWindowVisible(hMain) && IsWindow(hBig));
}

// A file whose name code page 1251 cannot write is opened, checked and saved back under its own
// name, which the "Done!" box shows as it is.
TEST_F(CheckerFile, AFileNamedOutsideTheCodePageIsSavedBackUnderItsName) {
    const auto file = data.write_raw("日本語.txt", cp("котка\r\n"));
    choose(9219, file);
    EXPECT_EQ(RE_GetTextW(hBigReRight), u"котка\r");
    EXPECT_GT(runs(), 0);
    choose(9220, file);
    EXPECT_EQ(hs->file_dialog_starts.back(), file);
    EXPECT_EQ(hs->message_boxes.back().text, u"Файлът е записан под името " + file.u16string());
}

// Whatever a file holds, opening it and saving it unchanged ("Запиши") gives back its letters in
// its own encoding, with its own line ends: code page 1251, UTF-8 with and without the byte-order
// mark, a code page 1251 text that begins with the bytes of that mark, CR LF and LF; a NUL byte
// (which the panel cannot hold) comes back as a blank.
TEST_F(CheckerFile, OpenThenSaveGivesBackTheLettersInTheFilesEncoding) {
    const std::string bom_letters = "\xEF\xBB\xBF";  // "п»ї" in code page 1251
    const struct {
        const char* name;
        std::string file, saved;
    } cases[] = {
        {"1251, CR LF", cp("Котка и куче\r\nдве\r\n"), ""},
        {"1251, LF", cp("Котка\nдве\n"), ""},
        {"UTF-8, CR LF", "Котка и куче\r\nдве\r\n", ""},
        {"UTF-8, LF", "Котка\nдве\n", ""},
        {"UTF-8 with the mark, CR LF", kBom + "Котка\r\nдве\r\n", ""},
        {"UTF-8 with the mark, LF", kBom + "Котка\nдве", ""},
        {"1251 behind the mark's bytes", bom_letters + cp("Котка\r\nдве\r\n"), ""},
        {"1251 with a NUL", cp("Кот") + std::string(1, '\0') + cp("ка\r\n"), cp("Кот ка\r\n")},
        {"UTF-8 with a NUL", "Кот" + std::string(1, '\0') + "ка\n", "Кот ка\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = data.write_raw("round/" + std::string(c.name) + ".txt", c.file);
        choose(9219, file);
        choose(9220, file);
        EXPECT_EQ(data.read("round/" + std::string(c.name) + ".txt"), c.saved.empty() ? c.file : c.saved);
    }
    // A letter changed in a UTF-8 file: "Запиши" keeps UTF-8 and CR LF.
    choose(9219, data.write_raw("utf8.txt", "котка\r\nкуче\r\n"));
    RE_SetSel(hBigReRight, CHARRANGE{0, 1});
    type_right(u"К");
    hs->file_dialog_answers.push_back(data.file("utf8.txt"));
    headless_menu(hBig, 9220);
    EXPECT_EQ(data.read("utf8.txt"), "Котка\r\nкуче\r\n");
}

// A file the user made read-only is refused by every writer of the user's files, whoever runs the
// program (the read-only mark binds root too): the usual "Cannot write" naming the file as the
// system names it, with the reason; the file stays as it was, mode included. A file that may be
// written is replaced and keeps its mode.
TEST_F(CheckerFile, AReadOnlyFileIsRefusedAndAReplacedFileKeepsItsMode) {
    b[B_BULGARIAN_CUSTOM].name = "b_bulgarian_custom";
    const struct {
        const char* name;
        std::string file;
        std::filesystem::perms mode;
        std::function<void()> write;
        bool written;
    } cases[] = {
        {"Save", "ro.txt", std::filesystem::perms(0444), [this] { choose(9220, data.file("ro.txt")); }, false},
        {"Save as UTF-8", "ro.txt", std::filesystem::perms(0444), [this] { choose(9221, data.file("ro.txt")); }, false},
        {"Save, a Japanese name", "日本語.txt", std::filesystem::perms(0444),
         [this] { choose(9220, data.file("日本語.txt")); }, false},
        {"the user's words", "b_bulgarian_custom.txt", std::filesystem::perms(0444), [] { add_custom_word(hMain); },
         false},
        {"Save over a private file", "rw.txt", std::filesystem::perms(0600), [this] { choose(9220, data.file("rw.txt")); },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = data.write_raw(c.file, "old\r\n");
        std::filesystem::permissions(file, c.mode);
        b[B_BULGARIAN_CUSTOM].entries.clear();
        quiet_set(hBigReRight, "нов текст");
        set_panel(hAddReShort, "новадума", 0, 0);
        hs->message_boxes.clear();
        c.write();
        EXPECT_EQ(std::filesystem::status(file).permissions(), c.mode);
        ASSERT_FALSE(hs->message_boxes.empty());
        const std::u16string told = hs->message_boxes.front().text;
        if (c.written) {
            EXPECT_NE(data.read(c.file), "old\r\n");
            EXPECT_EQ(told.find(u"Cannot write"), std::u16string::npos);
            continue;
        }
        EXPECT_EQ(data.read(c.file), "old\r\n");
        EXPECT_TRUE(told.starts_with(u"Cannot write to " + file.u16string() + u", reason: Permission denied")) << utf16_to_utf8(told);
    }
}

// The open dialog starts where the save dialog does: the start folder while no file was opened,
// else the folder of the checker's file (opened or dropped).
TEST_F(CheckerFile, TheOpenDialogStartsWhereTheSaveDialogDoes) {
    headless_menu(hBig, 9219);
    EXPECT_EQ(hs->file_dialog_starts.back(), start_dir);
    headless_drop(hBigReRight, {data.write_raw("dropped/a.txt", "a")});
    headless_menu(hBig, 9219);
    EXPECT_EQ(hs->file_dialog_starts.back(), data.file("dropped"));
    choose(9219, data.write_raw("opened/b.txt", "b"));
    headless_menu(hBig, 9219);
    EXPECT_EQ(hs->file_dialog_starts.back(), data.file("opened"));
}

// A write that fails at every key (the real-time check's logs on a full disk) is told once, until
// the file has been written in between; the statistics log keeps every failure.
TEST_F(CheckerFile, AWriteThatFailsAgainTheSameWayIsToldOnce) {
    fl_stat = open_out(data.file("statistics_log.txt"), "wb");
    gl_SPELL_CHECKER_LOG = 1;
    CheckDlgButton(hBig, IDC_BIG_REALTIME, BST_CHECKED);
    PL_SendCommand(hBig, IDC_BIG_REALTIME);
    quiet_set(hBigReRight, "книгъ ");
    RE_SetSel(hBigReRight, CHARRANGE{-1, -1});
    auto boxes_after_key = [this](std::u16string_view key, bool disk_full) {
        if (disk_full) fail_stream_write_at("cyr_all.txt", ENOSPC);
        gl_isFromFile = 1;  // the logs are written for a text from a file, at every run
        hs->message_boxes.clear();
        type_right(key);
        fail_stream_write_at("", 0);
        return hs->message_boxes.size();
    };
    EXPECT_EQ(boxes_after_key(u"а", true), 1u);
    EXPECT_NE(hs->message_boxes[0].text.find(u"cyr_all.txt, reason: No space left"), std::u16string::npos);
    EXPECT_EQ(boxes_after_key(u"б", true), 0u);
    EXPECT_EQ(boxes_after_key(u"в", false), 0u);  // written whole
    EXPECT_EQ(boxes_after_key(u"г", true), 1u);
    closefile(fl_stat, "");
    fl_stat = nullptr;
    const std::string log = data.read("statistics_log.txt");
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = log.find("cyr_all.txt file, reason: No space left", at)) != std::string::npos; ++at) ++lines;
    EXPECT_EQ(lines, 3u);
}

// The help pages made from the program's tables are made anew when opened: a page that cannot be
// written is told with its name and the real reason, and logged; no page of another lexicon opens.
TEST_F(CheckerFile, AHelpPageThatCannotBeMadeIsToldWithItsReason) {
    fl_stat = open_out(data.file("statistics_log.txt"), "wb");
    const auto page = data.write_raw("help_bulgarian_verb_types.html", "<html>demo</html>");
    std::filesystem::permissions(page, std::filesystem::perms(0444));
    headless_menu(hBig, 9226);
    std::filesystem::remove(data.file("help_color_filter.html"));
    fail_safe_write_at(SafeWriteStep::Rename, EROFS);
    headless_menu(hBig, 9225);
    EXPECT_TRUE(hs->shell_opened.empty());
    ASSERT_EQ(hs->message_boxes.size(), 2u);
    EXPECT_TRUE(hs->message_boxes[0].text.starts_with(u"Cannot write to " + page.u16string() + u", reason: Permission denied"));
    EXPECT_TRUE(hs->message_boxes[1].text.starts_with(u"Cannot write to " + data.file("help_color_filter.html").u16string() +
                                                      u", reason: Read-only file system"));
    closefile(fl_stat, "");
    fl_stat = nullptr;
    const std::string log = data.read("statistics_log.txt");
    EXPECT_NE(log.find("help_bulgarian_verb_types.html, reason: Permission denied"), std::string::npos);
    EXPECT_NE(log.find("help_color_filter.html, reason: Read-only file system"), std::string::npos);
}

}  // namespace
