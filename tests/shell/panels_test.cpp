// Panel routines: messages appended at the end, text put in, files dropped or opened into a panel,
// the one UTF-8 detector, the clipboard copy and the out-of-memory line in the message panel.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "lexicon/panels.h"
#include "shell/encoding.h"
#include "shell/memory.h"
#include "shell/panels.h"
#include "window_test_util.h"

namespace {

using PanelsTest = ShellWindowTest;

std::u16string u16(std::string_view utf8) { return utf8_to_utf16(utf8); }

// ---- Appending and putting text in ----------------------------------------------------------

TEST_F(PanelsTest, JuxShowMessageAppendsAtTheEndWhereSelectReEndSaysTheTextBegins) {
    TestWindow w = make_test_window();
    RE_SetTextW(w.bottom, u"abc");
    RE_SetSel(w.bottom, CHARRANGE{0, 1});  // wherever the caret stands, messages go to the end

    CHARRANGE at;
    SelectReEnd(w.bottom, at);
    EXPECT_EQ(at, (CHARRANGE{3, 3}));
    JuxShowMessage(w.bottom, cp("ред"), 2);
    EXPECT_EQ(RE_GetTextW(w.bottom), u"abcред\r\r");
    EXPECT_EQ(RE_GetTextRange(w.bottom, CHARRANGE{at.cpMin, at.cpMin + 3}), u"ред");
    EXPECT_EQ(RE_GetSel(w.bottom), (CHARRANGE{8, 8}));

    JuxShowMessage(w.bottom, "", 1);  // one empty line
    JuxShowMessage(w.bottom, "x", 0);  // the text alone
    JuxShowMessageW(w.bottom, u"Ω€", 1);  // UTF-16 keeps what code page 1251 lacks
    EXPECT_EQ(RE_GetTextW(w.bottom), u"abcред\r\r\rxΩ€\r");
    SelectReEnd(w.bottom, at);
    EXPECT_EQ(at.cpMin, RE_GetTextLength(w.bottom));
    EXPECT_EQ(at.cpMax, at.cpMin);

    // The mask is left alone: a panel that reports changes reports these too.
    RE_SetEventMask(w.bottom, ENM_CHANGE);
    JuxShowMessage(w.bottom, "line", 1);
    EXPECT_EQ(RE_GetEventMask(w.bottom), DWORD{ENM_CHANGE});
    EXPECT_EQ(std::count(g_test_commands.begin(), g_test_commands.end(), std::pair{kBottomPanel, int{EN_CHANGE}}), 1);

    JuxShowMessage(HWND{}, "nothing", 1);  // a panel that does not exist
    SelectReEnd(HWND{}, at);
    EXPECT_EQ(at, (CHARRANGE{0, 0}));
}

TEST_F(PanelsTest, StringToREReplacesTheSelectionAndTakesTheFocus) {
    TestWindow w = make_test_window();
    RE_SetTextW(w.top, u"един два три");
    SetFocus(w.bottom);
    RE_SetSel(w.top, CHARRANGE{5, 8});
    StringToRE(w.top, cp("пет"));
    EXPECT_EQ(RE_GetTextW(w.top), u"един пет три");
    EXPECT_EQ(GetFocus(), w.top);
    EXPECT_TRUE(RE_CanUndo(w.top));  // the user can take a correction back
    RE_Undo(w.top);
    EXPECT_EQ(RE_GetTextW(w.top), u"един два три");

    SetFocus(w.bottom);
    RE_SetSel(w.top, CHARRANGE{0, 4});
    StringToRE1200(w.top, u"Ωmega");
    EXPECT_EQ(RE_GetTextW(w.top), u"Ωmega два три");
    EXPECT_EQ(GetFocus(), w.top);
}

TEST_F(PanelsTest, DefVariantsReplaceTheWholeTextAndLeaveTheFocus) {
    TestWindow w = make_test_window();
    RE_SetTextW(w.top, u"old text");
    RE_SetSel(w.top, CHARRANGE{1, 2});
    SetFocus(w.bottom);
    StringToREdef(w.top, cp("Нов\r\nтекст"));
    EXPECT_EQ(RE_GetTextW(w.top), u"Нов\rтекст");
    EXPECT_EQ(GetFocus(), w.bottom);
    StringToRE1200def(w.top, u"");
    EXPECT_EQ(RE_GetTextLength(w.top), 0);
    StringToRE1200def(w.top, u"日本");
    EXPECT_EQ(RE_GetTextW(w.top), u"日本");
    EXPECT_EQ(GetFocus(), w.bottom);
}

TEST_F(PanelsTest, StreamsReplaceTheContents) {
    TestWindow w = make_test_window();
    RE_SetTextW(w.top, u"old");
    EXPECT_EQ(StreamRtfStringIntoRichEdit("{\\rtf1\\ansi plain {\\b bold} end}", w.top), 1);
    EXPECT_EQ(RE_GetTextW(w.top), u"plain bold end");
    EXPECT_TRUE(RE_GetCharFormatAt(w.top, 7).dwEffects & CFE_BOLD);
    EXPECT_FALSE(RE_GetCharFormatAt(w.top, 2).dwEffects & CFE_BOLD);

    const auto file = dir.write("s.txt", cat("skip|", cp("Текст"), "\r\n", cp("нов")));
    FILE* f = std::fopen(file.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 5, SEEK_SET);  // from the stream's position on
    EXPECT_EQ(StreamFileIntoRichEdit(f, w.top), 10);
    std::fclose(f);
    EXPECT_EQ(RE_GetTextW(w.top), u"Текст\rнов");
    EXPECT_EQ(StreamFileIntoRichEdit(nullptr, w.top), -1);
}

// ---- The UTF-8 detector -----------------------------------------------------------------------

TEST(EncodingTest, OneDetectorTellsUtf8From1251) {
    bool bom = true;
    EXPECT_TRUE(is_utf8_text("Здравей", &bom));  // Cyrillic byte pairs
    EXPECT_FALSE(bom);
    EXPECT_TRUE(is_utf8_text("caf\xC3\xA9"));
    EXPECT_TRUE(is_utf8_text("\xEF\xBB\xBF", &bom));
    EXPECT_TRUE(bom);
    // Not UTF-8 behind the mark: no mark, but three letters of a code page 1251 text.
    EXPECT_FALSE(is_utf8_text("\xEF\xBB\xBF\xFF broken after the mark", &bom));
    EXPECT_FALSE(bom);
    EXPECT_EQ(classify_text(cat("\xEF\xBB\xBF", cp("Здравей"))), TextKind::Ansi);
    EXPECT_FALSE(is_utf8_text("plain ASCII"));
    EXPECT_FALSE(is_utf8_text(""));
    EXPECT_FALSE(is_utf8_text(cp("Здравей, свят")));
    EXPECT_FALSE(is_utf8_text(cat("Здравей", "\xE8")));  // one stray 1251 byte: not UTF-8

    EXPECT_EQ(classify_text(cat("\xEF\xBB\xBF", "{\\rtf1}")), TextKind::Utf8Bom);
    EXPECT_EQ(classify_text("{\\rtf1\\ansi x}"), TextKind::Rtf);
    EXPECT_EQ(classify_text("{\\rt"), TextKind::Ansi);
    EXPECT_EQ(classify_text("свят"), TextKind::Utf8);
    EXPECT_EQ(classify_text(cp("свят")), TextKind::Ansi);
}

// ---- Files dropped or opened --------------------------------------------------------------------

// Each kind of file: its bytes, the panel's text and the flags (CR LF, LF, CR, mark, 8-bit).
struct DropCase {
    std::string bytes;
    std::u16string text;
    int crlf, lf, cr, bom, ansi;
};

TEST_F(PanelsTest, DroppedFilesAreLoadedByTheirKind) {
    const DropCase cases[] = {
        {"Здравей\r\nсвят", u"Здравей\rсвят", 1, 0, 0, 0, 0},                 // UTF-8 without mark
        {"\xEF\xBB\xBFred\nчервен", u"red\rчервен", 0, 1, 0, 1, 0},            // UTF-8 with mark
        {cat(cp("Първи"), std::string_view("\0", 1), cp("ред\rвтори")), u"Първи ред\rвтори", 0, 0, 1, 0, 1},
        {"{\\rtf1\\ansi {\\b Bold} text\\par next}", u"Bold text\rnext", 0, 0, 0, 0, 0},  // RTF
    };
    TestWindow w = make_test_window();
    int n = 0;
    for (const DropCase& c : cases) {
        const auto file = dir.write("текст" + std::to_string(n++) + ".txt", c.bytes);
        gl_0D0A = gl_0A = gl_0D = gl_fg_utf8header = gl_fg_ansi = 1;
        EXPECT_EQ(dropped_file(nullptr, w.bottom, file), 1);
        EXPECT_EQ(RE_GetTextW(w.bottom), c.text) << n;
        EXPECT_EQ(gl_dropped, cp(file.string()));
        EXPECT_EQ((std::array{gl_0D0A, gl_0A, gl_0D, gl_fg_utf8header, gl_fg_ansi}),
                  (std::array<std::int8_t, 5>{std::int8_t(c.crlf), std::int8_t(c.lf), std::int8_t(c.cr),
                                              std::int8_t(c.bom), std::int8_t(c.ansi)}))
            << n;
    }
    EXPECT_TRUE(RE_GetCharFormatAt(w.bottom, 0).dwEffects & CFE_BOLD);
    EXPECT_TRUE(headless().message_boxes.empty());
}

TEST_F(PanelsTest, TheFirstFileOfADropIsLoaded) {
    TestWindow w = make_test_window();
    Msg drop = Msg::simple(WM_DROPFILES);
    drop.files = {dir.write("one.txt", "first"), dir.write("two.txt", "second")};
    EXPECT_EQ(dropped_file(&drop, w.bottom), 1);
    EXPECT_EQ(RE_GetTextW(w.bottom), u"first");
    // A path given wins over the drop.
    EXPECT_EQ(dropped_file(&drop, w.bottom, dir.file("two.txt")), 1);
    EXPECT_EQ(RE_GetTextW(w.bottom), u"second");
    Msg empty = Msg::simple(WM_DROPFILES);
    EXPECT_EQ(dropped_file(&empty, w.bottom), 0);
    EXPECT_EQ(dropped_file(nullptr, w.bottom), 0);
    EXPECT_EQ(dropped_file(nullptr, HWND{}, dir.file("one.txt")), 0);
    EXPECT_EQ(gl_dropped, cp(dir.file("two.txt").string()));
}

TEST_F(PanelsTest, TooLargeOrUnreadableFilesChangeNothing) {
    TestWindow w = make_test_window();
    RE_SetTextW(w.bottom, u"kept");
    gl_dropped = "before";
    gl_0A = 1;
    const auto big = dir.file("big.txt");
    { std::ofstream(big).put('x'); }
    std::filesystem::resize_file(big, DROPPED_FILE_LIMIT);  // exactly the limit: refused
    EXPECT_EQ(dropped_file(nullptr, w.bottom, big), 0);
    EXPECT_EQ(dropped_file(nullptr, w.bottom, dir.file("missing.txt")), 0);
    EXPECT_EQ(dropped_file(nullptr, w.bottom, dir.path()), 0);  // a folder
    EXPECT_EQ(RE_GetTextW(w.bottom), u"kept");
    EXPECT_EQ(gl_dropped, "before");
    EXPECT_EQ(gl_0A, 1);
    const auto& boxes = headless().message_boxes;
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, u"The file is too large");
    EXPECT_TRUE(boxes[1].text.starts_with(ucat(u"Cannot open ", u16(dir.file("missing.txt").string()), u", reason: ")));
    EXPECT_NE(boxes[1].text.find(u"(errno = 2)"), std::u16string::npos);
    EXPECT_NE(boxes[2].text.find(u"(errno = 21)"), std::u16string::npos);  // EISDIR
    for (const auto& b : boxes) {
        EXPECT_EQ(b.caption, u"Oops!");
        EXPECT_TRUE(b.flags & MB_ICONERROR);
    }
}

TEST_F(PanelsTest, ANamedPipeIsRefusedWithoutWaitingForAWriter) {
    TestWindow w = make_test_window();
    RE_SetTextW(w.bottom, u"kept");
    const auto pipe = dir.file("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // Run apart with an alarm: a load that waits for a writer would never return.
    EXPECT_EXIT(
        {
            alarm(5);
            const int loaded = dropped_file(nullptr, w.bottom, pipe);
            const auto& boxes = headless().message_boxes;
            const bool told = boxes.size() == 1 && boxes[0].text.find(u"(errno = 22)") != std::u16string::npos;
            std::fprintf(stderr, "loaded=%d told=%d text=%s", loaded, told ? 1 : 0,
                         utf16_to_utf8(RE_GetTextW(w.bottom)).c_str());
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "loaded=0 told=1 text=kept");
}

TEST_F(PanelsTest, TheCheckedTextPanelResetsItsStateAndIsProcessedOnceFlagsAreSet) {
    TestWindow w = make_test_window();
    gl_log = "a -> b\r\n";
    gl_log_ct = gl_log_ct2 = 3;
    gl_search_start = 40;
    gl_word_start = 7;
    std::string dropped_at_change;
    int ansi_at_change = -1;
    static std::function<void()> on_change;
    on_change = [&] {
        dropped_at_change = gl_dropped;
        ansi_at_change = gl_fg_ansi;
    };
    DialogTemplate t;
    t.style = WS_POPUP | WS_VISIBLE;
    // The checked text's window runs the check on EN_CHANGE; this one notes what it finds then.
    HWND checker = CreateDialogIndirect(t, HWND{}, [](HWND, const Msg& m) -> INT_PTR {
        if (m.message == WM_COMMAND && m.code == EN_CHANGE) on_change();
        return 0;
    });
    HWND right = PL_CreateControl(checker, ControlKind::RichEdit, 1171, u"", RECT{0, 0, 200, 100});
    hBig = checker;
    hBigReRight = right;

    const auto file = dir.write("story.txt", cp("Имало едно време"));
    EXPECT_EQ(dropped_file(nullptr, right, file), 1);
    EXPECT_EQ(RE_GetEventMask(right) & ENM_CHANGE, DWORD{ENM_CHANGE});
    EXPECT_EQ(dropped_at_change, cp(file.string()));
    EXPECT_EQ(ansi_at_change, 1);
    EXPECT_EQ(GetWindowTextW(checker), ucat(u" ", u16(file.string())));
    EXPECT_TRUE(gl_log.empty());
    EXPECT_EQ(gl_log_ct + gl_log_ct2 + gl_search_start + gl_word_start, 0);

    // Another panel keeps the text state and no title changes.
    gl_log = "kept";
    gl_search_start = 5;
    SetWindowTextW(w.dlg, u"Test window");
    EXPECT_EQ(dropped_file(nullptr, w.top, file), 1);
    EXPECT_EQ(gl_log, "kept");
    EXPECT_EQ(gl_search_start, 5);
    EXPECT_EQ(GetWindowTextW(w.dlg), u"Test window");
    EXPECT_EQ(GetWindowTextW(checker), ucat(u" ", u16(file.string())));
    EXPECT_EQ(RE_GetEventMask(w.top) & ENM_CHANGE, DWORD{0});
    on_change = nullptr;
}

TEST_F(PanelsTest, TheEntryBoxKeepsTheCheckersStateAndTheBulgarianTextPanelTitlesItsWindow) {
    TestWindow w = make_test_window();
    hAddReShort = w.top;
    hBgText = w.dlg;
    hBgTextRe = w.bottom;
    gl_log = "x";
    const auto file = dir.write("bg.txt", "текст");
    EXPECT_EQ(dropped_file(nullptr, w.top, file), 1);
    EXPECT_EQ(gl_log, "x");  // the checker's correction log is not the entry box's
    EXPECT_TRUE(RE_GetEventMask(w.top) & ENM_CHANGE);
    EXPECT_EQ(GetWindowTextW(w.dlg), u"Test window");
    EXPECT_EQ(dropped_file(nullptr, w.bottom, file), 1);
    EXPECT_EQ(GetWindowTextW(w.dlg), ucat(u" ", u16(file.string())));
}

TEST_F(PanelsTest, APathThatDoesNotFitItsRoomIsNotKept) {
    TestWindow w = make_test_window();
    std::filesystem::path deep = dir.path();
    while (deep.string().size() < 300) deep /= std::string(40, 'd');
    std::filesystem::create_directories(deep);
    const auto file = deep / "long.txt";
    { std::ofstream(file) << "deep"; }
    gl_dropped = "old";
    EXPECT_EQ(dropped_file(nullptr, w.bottom, file), 1);  // loaded all the same
    EXPECT_EQ(RE_GetTextW(w.bottom), u"deep");
    EXPECT_TRUE(gl_dropped.empty());

    // Exactly 259 bytes fit.
    std::filesystem::path fits = dir.path() / "f";
    std::filesystem::create_directories(fits);
    std::string name(259 - fits.string().size() - 1, 'n');
    const auto exact = fits / name;
    { std::ofstream(exact) << "x"; }
    ASSERT_EQ(exact.string().size(), 259u);
    EXPECT_EQ(dropped_file(nullptr, w.bottom, exact), 1);
    EXPECT_EQ(gl_dropped, exact.string());

    // A name that code page 1251 cannot write is not kept either.
    const auto foreign = dir.write("日本.txt", "x");
    EXPECT_EQ(dropped_file(nullptr, w.bottom, foreign), 1);
    EXPECT_TRUE(gl_dropped.empty());
}

// ---- Clipboard --------------------------------------------------------------------------------

TEST_F(PanelsTest, CopyToClipboardKeepsAtMost1022Units) {
    EXPECT_EQ(CopyToClipboard(u"кратък"), 1);
    EXPECT_EQ(headless().clipboard, std::u16string(u"кратък"));
    EXPECT_EQ(gl_clipboard_translation, 0);

    std::u16string long_text(2000, u'ж');
    EXPECT_EQ(CopyToClipboard(long_text), 1);
    EXPECT_EQ(headless().clipboard, std::u16string(1022, u'ж'));

    std::u16string exact(1022, u'a');
    EXPECT_EQ(CopyToClipboard(exact), 1);
    EXPECT_EQ(headless().clipboard, exact);

    // A surrogate pair across the limit is not cut in half.
    std::u16string pair_at_end(1021, u'a');
    pair_at_end += u"\U0001F600tail";
    EXPECT_EQ(CopyToClipboard(pair_at_end), 1);
    EXPECT_EQ(headless().clipboard, std::u16string(1021, u'a'));
}

// ---- Out of memory ------------------------------------------------------------------------------

TEST_F(PanelsTest, MallocexitAlsoWritesItsLineToTheMessagePanel) {
    EXPECT_EXIT(
        {
            headless_install();
            TestWindow w = make_test_window();
            RE_SetTextW(w.bottom, u"report\r");
            hMessagePanel = w.bottom;
            static HWND panel;
            panel = w.bottom;
            std::atexit([] {
                std::fprintf(stderr, "[%s]", utf16_to_utf8(RE_GetTextW(panel, GT_USECRLF)).c_str());
            });
            jux_malloc_or_exit(SIZE_MAX);
        },
        ::testing::ExitedWithCode(1), "\\[report\r\n\r\nInsufficient memory, close some programs and try again\r\n\r\n\\]");
}

}  // namespace
