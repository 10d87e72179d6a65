// The text checker's file, format, help and audio commands: a file opened through the dialog and
// saved back in both encodings with its line ends and byte-order mark, the correction log, the
// failures that write nothing, the help pages and the About text, the font, and reading aloud.
#include <fstream>
#include <tuple>

#include "audio/archive.h"
#include "dictionary/loading.h"
#include "checker_fixture.h"
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
        {"one\nдва\n", 9220, cp("one\nдва\n")},
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

}  // namespace
