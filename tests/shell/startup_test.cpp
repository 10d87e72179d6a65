// The start-up in order with settings files written by the test, the message loop driven through
// the headless backend's session, and the orderly end.
#include <algorithm>
#include <atomic>
#include <ostream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "lexicon/panels.h"
#include "platform/window_core.h"
#include "resources/resources.h"
#include "resources/secondary.h"
#include "shell/files.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "support/ended_process.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"
#include "support/write_fault_sweep.h"
#include "windows/live_window.h"
#include "window_test_util.h"

namespace {

class StartupTest : public ShellWindowTest {
protected:
    void SetUp() override {
        ShellWindowTest::SetUp();
        static std::atomic<int> serial{0};
        // Our own lock, so that tests running side by side (or a running program) do not meet.
        jux_instance_lock_name = "jux-test-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
    }
    void TearDown() override {
        reset_startup();
        ShellWindowTest::TearDown();
        std::filesystem::current_path(cwd_before_test);  // the start enters the data folder
    }
    std::filesystem::path cwd_before_test = std::filesystem::current_path();
    // The lock files of the test's starts go to a private folder removed with the test.
    jux_test::TempFolder runtime_dir{"runtime"};
    jux_test::ScopedEnv runtime{"XDG_RUNTIME_DIR", private_folder(runtime_dir).c_str()};

    static std::string private_folder(const jux_test::TempFolder& f) {
        std::filesystem::permissions(f.path(), std::filesystem::perms::owner_all);
        return f.path().string();
    }
};

// What the session sees while the message loop runs.
struct Session {
    HWND main, splash, entry, panel;
    HMENU popup;
    std::u16string title, panel_text;
    bool visible = false, checker_shown = false, splash_gone = false, focus_in_entry = false, popup_live = false;
    bool live_hidden = false;  // the live clipboard window made, hidden, the main window's Live button saying so
    int icon = -1;
    std::filesystem::path cwd;
    std::vector<std::u16string> menus;  // the titles of the main window's menu bar
    bool log_open = false;
};

// Runs WinMain with a session that notes what it sees and then closes the main window.
int run_and_close(const std::filesystem::path& start, Session& s) {
    headless().on_loop = [&s] {
        s.main = hMain;
        s.entry = hAddReShort;
        s.panel = hMessagePanel;
        s.popup = hMenuPopupAll;
        s.popup_live = IsMenu(hMenuPopupAll);
        s.title = GetWindowTextW(hMain);
        s.panel_text = RE_GetTextW(hMessagePanel, GT_USECRLF);
        s.visible = IsWindowVisible(hMain);
        s.checker_shown = IsWindowVisible(hBig);
        s.splash_gone = !hStart;  // destroyed and its handle cleared
        // Hidden, and not the active window: the keys stay with the window the user sees.
        s.live_hidden = IsWindow(hLive) && !IsWindowVisible(hLive) && GetActiveWindow() != hLive &&
                        GetDlgItemTextW(hMain, IDC_ADD_SHOW_LIVE) == u"Show Live" &&
                        GetDlgItemTextW(hLive, IDC_LIVE_SHOW_MAIN) ==
                            (IsWindowVisible(hMain) ? u"Hide Main" : u"Show Main");
        s.focus_in_entry = hAddReShort && GetFocus() == hAddReShort;
        s.icon = gl_icon_exists;
        s.cwd = std::filesystem::current_path();
        const HMENU bar = GetMenu(hMain);
        for (int i = 0; i < GetMenuItemCount(bar); ++i) s.menus.push_back(PL_GetMenuItemText(bar, i, MF_BYPOSITION));
        s.log_open = fl_stat != nullptr;
        headless_close(hMain);
    };
    return WinMain(start);
}

TEST_F(StartupTest, TheDictionaryStartsInOrderAndEndsInOrder) {
    dir.write("settings_common.txt", "/ common\r\nPRINT_TIME 0\r\n");
    dir.write("settings.txt", "/ main\r\nSTART_MAIN_WINDOW 1\r\nFONT_SIZE 12\r\n");
    std::filesystem::create_directories(dir.path() / "alt");
    dir.write("alt/b_en-bg.txt", "dog куче\r\n");
    headless().clock_us = 123'456;
    Session s;
    EXPECT_EQ(run_and_close(dir.path(), s), 0);

    // Settings, start time, start folder and titles.
    EXPECT_EQ(OPCOMMON[OPTC_PRINT_TIME].num_value, 0);
    EXPECT_EQ(gl_FONT_SIZE, 12);
    EXPECT_EQ(i_start, 123'456);
    EXPECT_EQ(start_dir, dir.path());
    EXPECT_EQ(JUXtitle, u"JUX Dictionary 1.0");

    // The splash was gone once the main window stood.
    ASSERT_TRUE(s.main);
    EXPECT_TRUE(s.splash_gone);
    EXPECT_TRUE(s.live_hidden);
    EXPECT_EQ(s.title, u"JUX Dictionary 1.0");
    EXPECT_TRUE(s.visible);
    EXPECT_TRUE(s.focus_in_entry);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "alt"));
    EXPECT_TRUE(std::filesystem::equivalent(s.cwd, dir.path() / "alt"));
    EXPECT_TRUE(s.popup_live);
    EXPECT_EQ(s.icon, 1);

    // The tray icon was added for the main window and removed at the end.
    const auto& tray = headless().tray_calls;
    ASSERT_EQ(tray.size(), 2u);
    EXPECT_EQ(tray[0].op, DWORD{NIM_ADD});
    EXPECT_EQ(tray[0].data.hWnd, s.main);
    EXPECT_EQ(tray[0].data.uID, 115u);
    EXPECT_EQ(tray[0].data.hIcon.resource, 115);
    EXPECT_EQ(tray[0].data.uFlags, UINT{NIF_MESSAGE | NIF_ICON | NIF_INFO});
    EXPECT_EQ(tray[1].op, DWORD{NIM_DELETE});

    // The orderly end: windows, menus and the icon are gone.
    EXPECT_FALSE(IsWindow(s.main));
    EXPECT_FALSE(IsWindow(s.entry));
    EXPECT_FALSE(IsMenu(s.popup));
    EXPECT_FALSE(hMain);
    EXPECT_FALSE(hLive);
    EXPECT_FALSE(hAccelMain);
    EXPECT_EQ(gl_icon_exists, 0);
    EXPECT_TRUE(headless().message_boxes.empty());
    orderly_end();  // a second end changes nothing
    EXPECT_EQ(headless().tray_calls.size(), 2u);
}

struct EditionCase {
    const char* name;
    const char* settings;
    const char16_t* big_title;  // JUXtitleCurrentBig after the start
    bool tray;
};

void PrintTo(const EditionCase& c, std::ostream* os) { *os << c.name; }

class EditionTest : public StartupTest, public ::testing::WithParamInterface<EditionCase> {};

TEST_P(EditionTest, TheOptionsChooseTheEditionItsTitleAndTheTrayIcon) {
    const EditionCase& c = GetParam();
    dir.write("settings.txt", c.settings);
    Session s;
    EXPECT_EQ(run_and_close(dir.path(), s), 0);
    EXPECT_EQ(JUXtitleCurrentBig, std::u16string(c.big_title));
    EXPECT_EQ(s.title, u"JUX Dictionary 1.0");  // the main window keeps the dictionary's title
    // The spell-checker editions show their text-checker window, not the main window.
    const bool dictionary = std::string_view(c.name).starts_with("Dictionary");
    EXPECT_EQ(s.visible, dictionary);
    EXPECT_EQ(s.checker_shown, !dictionary);
    EXPECT_TRUE(s.live_hidden);
    const auto& tray = headless().tray_calls;
    EXPECT_EQ(!tray.empty(), c.tray);
    EXPECT_EQ(s.icon, c.tray ? 1 : 0);
    EXPECT_EQ(gl_icon_exists, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Editions, EditionTest,
    ::testing::Values(
        EditionCase{"SpellChecker", "SPELL_CHECKER 1\r\n", u"JUX Spell Checker 1.0", false},
        EditionCase{"Translator", "SPELL_CHECKER 1\nMACHINE_TRANSLATION 1\n", u"JUX Translator 1.0", false},
        EditionCase{"HumanTranslator", "SPELL_CHECKER 1\nENGLISH_TRANSLATION 1\n", u"JUX Human Translator 1.0", true},
        EditionCase{"CorpusBeforeMachine", "SPELL_CHECKER 1\r\nMACHINE_TRANSLATION 1\r\nCORPUS_TRANSLATION 1\r\n",
                    u"JUX Tamsa 1.0", true},
        EditionCase{"DictionaryWhenSpellCheckerIsNoNumber", "MACHINE_TRANSLATION 1\r\nSPELL_CHECKER zero\r\n",
                    u"JUX Spell Checker 1.0", true}),
    [](const ::testing::TestParamInfo<EditionCase>& info) { return std::string(info.param.name); });

TEST_F(StartupTest, TheDictionaryCanStartInTheNotificationAreaOnly) {
    dir.write("settings.txt", "START_MAIN_WINDOW 0\n");
    Session s;
    EXPECT_EQ(run_and_close(dir.path(), s), 0);
    EXPECT_FALSE(s.visible);
    EXPECT_EQ(s.icon, 1);
}

// The headless backend on a desktop without a notification area: every icon is refused. The
// loop notes whether the main window is shown and then ends, as the user would end the program.
class NoTrayBackend : public Backend {
public:
    explicit NoTrayBackend(bool* main_shown) : inner_(headless_make_backend()), main_shown_(main_shown) {}
    const char* name() const override { return "no-tray"; }
    std::unique_ptr<WindowView> create_view(WindowModel& w) override { return inner_->create_view(w); }
    void window_destroyed(WindowModel& w) override { inner_->window_destroyed(w); }
    int message_box(HWND owner, std::u16string_view text, std::u16string_view caption, UINT flags) override {
        return inner_->message_box(owner, text, caption, flags);
    }
    UINT track_popup_menu(HMENU m, int x, int y, HWND owner) override { return inner_->track_popup_menu(m, x, y, owner); }
    void run_modal(HWND dlg) override { inner_->run_modal(dlg); }
    std::optional<std::filesystem::path> file_dialog(bool save, HWND owner, std::u16string_view title,
                                                     const std::vector<FileFilter>& filters,
                                                     const std::filesystem::path& start) override {
        return inner_->file_dialog(save, owner, title, filters, start);
    }
    std::optional<std::filesystem::path> folder_dialog(HWND owner, std::u16string_view title) override {
        return inner_->folder_dialog(owner, title);
    }
    std::optional<LOGFONTW> font_dialog(HWND owner, const LOGFONTW& current) override {
        return inner_->font_dialog(owner, current);
    }
    std::optional<std::u16string> clipboard_text() override { return inner_->clipboard_text(); }
    bool set_clipboard_text(std::u16string_view text) override { return inner_->set_clipboard_text(text); }
    bool clear_clipboard() override { return inner_->clear_clipboard(); }
    bool clipboard_owned() override { return inner_->clipboard_owned(); }
    bool shell_open(std::string_view what) override { return inner_->shell_open(what); }
    bool start_program(const std::filesystem::path& exe, const std::vector<std::string>& args, bool minimized) override {
        return inner_->start_program(exe, args, minimized);
    }
    bool tray_icon(DWORD op, const NOTIFYICONDATAW& data) override {
        return op == NIM_ADD ? false : inner_->tray_icon(op, data);
    }
    RECT work_area() override { return inner_->work_area(); }
    std::int64_t now_us() override { return inner_->now_us(); }
    void sleep_ms(int ms) override { inner_->sleep_ms(ms); }
    int run_loop() override {
        *main_shown_ = IsWindowVisible(hMain);
        PostQuitMessage(0);
        return inner_->run_loop();
    }
    void pump(std::int64_t max_us) override { inner_->pump(max_us); }
    void quit(int code) override { inner_->quit(code); }

private:
    std::unique_ptr<Backend> inner_;
    bool* main_shown_;
};

TEST_F(StartupTest, WithoutANotificationAreaTheMainWindowIsShownAllTheSame) {
    dir.write("settings.txt", "START_MAIN_WINDOW 0\n");
    bool shown = false;
    platform_set_backend(std::make_unique<NoTrayBackend>(&shown));
    EXPECT_EQ(WinMain(dir.path()), 0);
    EXPECT_EQ(gl_icon_exists, 0);
    EXPECT_TRUE(shown);  // else the program would run on with no way to reach it
    headless_install();
}

TEST_F(StartupTest, TheFirstStartShowsTheWelcomeTextOnlyOnce) {
    run_counter = 1;
    Session first;
    EXPECT_EQ(run_and_close(dir.path(), first), 0);
    EXPECT_TRUE(first.panel_text.starts_with(u"Добре дошли в JUX Dictionary 1.0!\r\n"));
    EXPECT_EQ(first.panel_text, welcome_text(Edition::Dictionary) + u"\r\n");

    reset_shell();
    jux_instance_lock_name += "-2";
    headless_install();
    run_counter = 2;
    Session later;
    EXPECT_EQ(run_and_close(dir.path(), later), 0);
    EXPECT_TRUE(later.panel);
    EXPECT_TRUE(later.panel_text.empty());

    EXPECT_NE(welcome_text(Edition::SpellChecker), welcome_text(Edition::Dictionary));
    EXPECT_NE(welcome_text(Edition::Tamsa).find(u"JUX Tamsa 1.0"), std::u16string::npos);
}

TEST_F(StartupTest, ASecondCopyIsRefused) {
    ASSERT_TRUE(PL_AcquireSingleInstanceLock(jux_instance_lock_name));  // this copy runs already
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        headless_install();
        const int code = WinMain(dir.path());
        const auto& boxes = headless().message_boxes;
        const bool ok = code == 1 && boxes.size() == 1 && boxes[0].text == u"It's already running!" &&
                        boxes[0].caption == u"Oops!" && !hMain && !hStart && headless().tray_calls.empty();
        _exit(ok ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "alt"));  // refused before anything else
}

TEST_F(StartupTest, ALockThatCannotBeMadeIsToldAsItIs) {
    // No runtime folder, and the user's fallback folder for the lock is a file: the start says
    // so, not that the program is running already, and ends before anything else.
    jux_test::ScopedEnv no_runtime("XDG_RUNTIME_DIR", nullptr);
    jux_test::ScopedEnv tmp("TMPDIR", runtime_dir.path().c_str());
    runtime_dir.write("jux-" + std::to_string(getuid()), "not a folder");
    EXPECT_EQ(WinMain(dir.path()), 1);
    const auto& boxes = headless().message_boxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.starts_with(u"Cannot use ")) << utf16_to_utf8(boxes[0].text);
    EXPECT_NE(boxes[0].text.find(utf8_to_utf16(runtime_dir.path().string())), std::u16string::npos);
    EXPECT_EQ(boxes[0].caption, u"Oops!");
    EXPECT_FALSE(hMain);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "alt"));
}

TEST_F(StartupTest, TheStartRemovesWhatKilledRewritesLeftBehind) {
    const std::string left = ".tmp" + jux_test::ended_process_id() + "_4";
    std::filesystem::create_directories(dir.path() / "alt" / "c");
    dir.write("alt/b_bulgarian_custom.txt", "word\r\n");
    dir.write("alt/b_bulgarian_custom.txt" + left, "wo");
    dir.write("alt/c/c_c11.txt" + left, "ca");
    // A run of the lemma-grouping reports killed before it had written them all.
    dir.write("alt/A_GROUPED_BY LEMMA_!SHORT.txt", "old");
    dir.write("alt/A_GROUPED_BY LEMMA_!SHORT.txt.part", "ne");
    Session s;
    EXPECT_EQ(run_and_close(dir.path(), s), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "alt" / "A_GROUPED_BY LEMMA_!SHORT.txt.part"));
    EXPECT_EQ(dir.read("alt/A_GROUPED_BY LEMMA_!SHORT.txt"), "old");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "alt" / ("b_bulgarian_custom.txt" + left)));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "alt" / "c" / ("c_c11.txt" + left)));
    EXPECT_EQ(dir.read("alt/b_bulgarian_custom.txt"), "word\r\n");
}

TEST_F(StartupTest, TheStartOpensTheLogBuildsTheMenuBarAndTellsAMissingLexiconOnce) {
    struct Case {
        const char* what;
        const char* settings;
        const char* list;  // a list of the data folder ("" for none)
        std::vector<std::u16string> menus;
        bool told_missing;
    };
    const std::vector<Case> cases = {
        {"edit mode", "START_DICTIONARY_EDIT_MODE 1\r\n", "dog куче\r\n \tbad\r\n",
         {u"File", u"Insert", u"Windows", u"Tools", u"Help"}, false},
        {"no edit mode", "START_DICTIONARY_EDIT_MODE 0\r\n", "dog куче\r\n \tbad\r\n",
         {u"File", u"Windows", u"Tools", u"Help"}, false},
        {"no lexicon", "", "", {u"File", u"Windows", u"Tools", u"Help"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reset_shell();
        headless_install();
        jux_instance_lock_name += "-";
        jux_test::TempFolder start("start");
        std::filesystem::create_directories(start.path() / "alt");
        start.write("settings.txt", c.settings);
        if (*c.list) start.write("alt/b_en-bg.txt", cp(c.list));
        Session s;
        EXPECT_EQ(run_and_close(start.path(), s), 0);
        EXPECT_EQ(s.menus, c.menus);
        EXPECT_TRUE(s.log_open);
        EXPECT_EQ(fl_stat, nullptr);  // closed at the end
        const auto& boxes = headless().message_boxes;
        const auto missing = std::count_if(boxes.begin(), boxes.end(), [](const auto& b) {
            return b.text.starts_with(u"No lexicon was found in the data folder ");
        });
        EXPECT_EQ(missing, c.told_missing ? 1 : 0);
        EXPECT_EQ(boxes.size(), c.told_missing ? 1u : 0u);
        // The loaders' lines reach the statistics log.
        const std::string log = start.read("alt/statistics.txt");
        if (*c.list) {
            EXPECT_NE(log.find("b_en-bg.txt: 1 unsound lines skipped"), std::string::npos) << log;
        }
        // The About box's text, unscrambled before any window opened.
        EXPECT_EQ(authorship, "JUX workbench for Linux - made by its own developers");
    }
}

// The statistics log of a start with each of its writes failing in turn (a full disk): the start
// tells it, naming the log, before the user works.
TEST_F(StartupTest, AStatisticsLogThatCannotBeWrittenIsToldAtTheStart) {
    jux_test::TempFolder start("start");
    const std::filesystem::path log = start.path() / "alt" / "statistics.txt";
    jux_test::FaultyWriter w;
    w.name = "the start's statistics log";
    w.files = {log};
    w.prepare = [&] {
        reset_shell();
        headless_install();
        jux_instance_lock_name += "-";
        std::filesystem::remove(log);
        start.write("alt/b_en-bg.txt", cp("dog куче\r\n \tbad\r\n"));
    };
    std::string told;
    w.write = [&] {
        headless().on_loop = [&] {
            told.clear();
            for (const auto& box : headless().message_boxes) told += utf16_to_utf8(box.text) + "\n";
            headless_close(hMain);
        };
        WinMain(start.path());
    };
    w.told = [&] { return told; };
    w.stream = log.filename().string();
    w.cut_short = true;
    jux_test::sweep_write_faults(w);
}

// A start folder that cannot be written: the data folder cannot be made, and that is what the
// user is told (and that no lexicon is there); a data folder that cannot be written: the start
// counter says so, once - the search log keeps silent about the same folder.
TEST_F(StartupTest, ReadOnlyFoldersAreToldByTheirRealCause) {
    struct Case {
        const char* what;
        bool make_alt;                 // the data folder exists (read-only), else the start folder is
        std::u16string told;           // the start of the one message about it
        std::u16string file;           // the path the message names
        std::size_t boxes;             // every message of the start
    };
    const std::vector<Case> cases = {
        {"read-only start folder", false, u"Cannot make the folder ", u"alt", 2},
        {"read-only data folder", true, u"Cannot write to ", u"alt/set.txt", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        jux_test::TempFolder start("readonly");
        jux_test::TempFolder runtime("runtime");
        std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
        jux_test::give_to_ordinary_user(runtime.path());
        jux_test::ScopedEnv runtime_env("XDG_RUNTIME_DIR", runtime.path().c_str());
        if (c.make_alt) {
            std::filesystem::create_directories(start.path() / "alt");
            start.write("alt/b_en-bg.txt", "dog dog\r\n");
            std::filesystem::permissions(start.path() / "alt", std::filesystem::perms::owner_read |
                                                                   std::filesystem::perms::owner_exec |
                                                                   std::filesystem::perms::others_read |
                                                                   std::filesystem::perms::others_exec);
        } else {
            std::filesystem::permissions(start.path(), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec |
                                                           std::filesystem::perms::others_read |
                                                           std::filesystem::perms::others_exec);
        }
        const std::u16string file = utf8_to_utf16(start.path().string()) + u"/" + c.file;
        const int result = jux_test::run_unprivileged([&] {
            headless_install();
            Session s;
            if (run_and_close(start.path(), s) != 0) return 2;
            int told = 0, changed = 0;
            for (const auto& b : headless().message_boxes) {
                told += b.text.starts_with(c.told + file) ? 1 : 0;
                changed += b.text.starts_with(u"Cannot change to folder") ? 1 : 0;
            }
            if (told == 1 && changed == 0 && headless().message_boxes.size() == c.boxes) return 0;
            for (const auto& b : headless().message_boxes) std::fprintf(stderr, "box: %s\n", utf16_to_utf8(b.text).c_str());
            return 3;
        });
        EXPECT_EQ(result, 0);
        std::filesystem::permissions(start.path(), std::filesystem::perms::owner_all);
        if (c.make_alt) std::filesystem::permissions(start.path() / "alt", std::filesystem::perms::owner_all);
    }
}

TEST_F(StartupTest, TheSplashShowsTheEditionsTitleUntilItCloses) {
    register_dialog_templates();
    build_titles();
    HWND splash = show_splash();
    ASSERT_TRUE(splash);
    EXPECT_EQ(hStart, splash);
    EXPECT_TRUE(IsWindowVisible(splash));
    EXPECT_EQ(GetDlgItemTextW(splash, IDC_STARTING_TEXT), u"JUX Dictionary 1.0 стартира, моля почакайте…");
    EXPECT_EQ(PL_SendCommand(splash, IDC_STARTING_TEXT), 0);  // clicks do nothing
    EXPECT_TRUE(IsWindow(splash));
    EXPECT_EQ(SendMessageW(splash, Msg::simple(WM_CLOSE)), 1);
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_FALSE(hStart);

    OP[OPT_SPELL_CHECKER].num_value = 1;
    gl_ENGLISH_TRANSLATION = 1;
    splash = show_splash();
    EXPECT_EQ(GetDlgItemTextW(splash, IDC_STARTING_TEXT), u"JUX Human Translator 1.0 стартира, моля почакайте…");
}

TEST_F(StartupTest, ADataFolderThatCannotBeMadeIsReportedAndTheStartGoesOn) {
    dir.write("alt", "a file where the folder should be");
    Session s;
    EXPECT_EQ(run_and_close(dir.path(), s), 0);
    // The real cause (the folder could not be made), then that the start folder holds no lexicon.
    ASSERT_EQ(headless().message_boxes.size(), 2u);
    const auto& box = headless().message_boxes[0];
    EXPECT_TRUE(box.text.starts_with(ucat(u"Cannot make the folder ", utf8_to_utf16((dir.path() / "alt").string()))));
    EXPECT_EQ(box.caption, u"Oops!");
    EXPECT_TRUE(headless().message_boxes[1].text.starts_with(u"No lexicon was found in the data folder "));
    EXPECT_EQ(s.title, u"JUX Dictionary 1.0");
    // The start folder stays the working folder and holds what the data folder would.
    EXPECT_EQ(s.cwd, std::filesystem::canonical(dir.path()));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "set.txt"));
}

TEST_F(StartupTest, TheAcceleratorsReachTheMainWindowWhichPassesTheCheckersCommandsOn) {
    Session s;
    std::vector<int> checker_commands;
    bool ctrl_f9 = false, plain_o = true;
    static std::vector<int>* sink;
    sink = &checker_commands;
    headless().on_loop = [&] {
        DialogTemplate t;
        t.style = WS_POPUP;
        hBig = CreateDialogIndirect(t, HWND{}, [](HWND, const Msg& m) -> INT_PTR {
            if (m.message == WM_COMMAND) sink->push_back(m.id);
            return 1;
        });
        s.splash = hBig;
        for (WORD key : {WORD{'O'}, WORD{'S'}, WORD{'F'}, WORD{'R'}}) headless_key(key, FCONTROL);
        ctrl_f9 = headless_key(VK_F9, FCONTROL | FALT | FSHIFT);
        plain_o = headless_key('O', 0);
        headless_close(hMain);
    };
    EXPECT_EQ(WinMain(dir.path()), 0);
    EXPECT_EQ(checker_commands, (std::vector<int>{IDA_OPEN, IDA_SAVE, IDA_FIND_REPLACE, IDA_FIND_REPLACE}));
    EXPECT_TRUE(ctrl_f9);
    EXPECT_FALSE(plain_o);
    EXPECT_FALSE(IsWindow(s.splash));  // the end closes the checker's window too
    EXPECT_FALSE(hBig);
}

TEST_F(StartupTest, TheMainWindowsPanelsOfferTheSharedPopup) {
    headless().on_loop = [] {
        RE_SetTextW(hMessagePanel, u"definition");
        RE_SetSel(hMessagePanel, CHARRANGE{0, 3});
        headless().popup_choices = {IDM_RE_COPY};
        const RECT r = GetWindowRect(hMessagePanel);
        headless_context_menu(hMessagePanel, POINT{r.left + 2, r.top + 2});
        headless().popup_choices = {IDM_RE_PASTE};
        const RECT e = GetWindowRect(hAddReShort);
        headless_context_menu(hAddReShort, POINT{e.left + 2, e.top + 2});
        EXPECT_EQ(headless().popups.back().chosen, IDM_RE_PASTE);
        EXPECT_EQ(hReFocus, hAddReShort);
        EXPECT_EQ(RE_GetTextW(hAddReShort), u"def");
        headless_close(hMain);
    };
    EXPECT_EQ(WinMain(dir.path()), 0);
    EXPECT_EQ(headless().popups.size(), 2u);
}

// The live clipboard window shown at start: its button and the main window's button and menu
// items read by what is shown (the menu bar exists by then).
TEST_F(StartupTest, TheLiveWindowShownAtStartLabelsTheMenuItems) {
    dir.write("settings.txt", "START_MAIN_WINDOW 1\r\nSTART_LIVE_CLIPBOARD 1\r\n");
    std::u16string menu_live, button_live, live_button;
    bool live_shown = false;
    headless().on_loop = [&] {
        live_shown = IsWindowVisible(hLive);
        menu_live = PL_GetMenuItemText(hMenuMain, IDM_SHOW_LIVE, MF_BYCOMMAND);
        button_live = GetDlgItemTextW(hMain, IDC_ADD_SHOW_LIVE);
        live_button = GetDlgItemTextW(hLive, IDC_LIVE_SHOW_MAIN);
        headless_close(hMain);
    };
    EXPECT_EQ(WinMain(dir.path()), 0);
    EXPECT_TRUE(live_shown);
    EXPECT_EQ(menu_live, u"Hide Live");
    EXPECT_EQ(button_live, u"Hide Live");
    EXPECT_EQ(live_button, u"Hide Main");
}

}  // namespace
