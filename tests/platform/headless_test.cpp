// The headless backend's answers and records, its drivers and fake clock, and the Linux process
// services that every backend shares.
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "dialog_fixture.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "platform/backend.h"
#include "platform/richedit.h"

extern char** environ;

namespace {

using HeadlessTest = PlatformTest;

TEST_F(HeadlessTest, MessageBoxesAreAnsweredInOrderAndRecorded) {
    HWND owner = CreateDialogIndirect(small_template(), {}, RecordingProc);
    hs->message_box_answers = {IDYES, IDNO};
    EXPECT_EQ(MessageBoxW(owner, u"Изтрий?", u"Oops!", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(MessageBoxA(owner, "\xC4\xE0?", "Oops!", MB_YESNO), IDNO);  // "Да?" in 1251
    ASSERT_EQ(hs->message_boxes.size(), 2u);
    const RecordedMessageBox& first = hs->message_boxes[0];
    EXPECT_EQ(first.owner, owner);
    EXPECT_EQ(first.text, u"Изтрий?");
    EXPECT_EQ(first.caption, u"Oops!");
    EXPECT_EQ(first.flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(first.answer, IDYES);
    EXPECT_EQ(hs->message_boxes[1].text, u"Да?");

    // With the queue empty, no box confirms anything.
    EXPECT_EQ(MessageBoxW(owner, u"i", u"c", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBoxW(owner, u"i", u"c", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxW(owner, u"i", u"c", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxW(owner, u"i", u"c", MB_OKCANCEL), IDCANCEL);
    // A destroyed owner is no owner.
    DestroyWindow(owner);
    MessageBoxW(owner, u"i", u"c", MB_OK);
    EXPECT_FALSE(hs->message_boxes.back().owner);
}

TEST_F(HeadlessTest, ClipboardRoundTripsAndTellsItsWatchers) {
    HWND main = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HWND other = CreateDialogIndirect(small_template(), {}, RecordingProc);
    EXPECT_FALSE(PL_GetClipboardTextW());
    EXPECT_FALSE(SetClipboardViewer(main));
    SetClipboardViewer(main);  // joining twice changes nothing
    g_received.clear();

    ASSERT_TRUE(PL_SetClipboardTextW(u"Здравей\r\n\U0001F600"));
    EXPECT_EQ(*PL_GetClipboardTextW(), u"Здравей\r\n\U0001F600");
    EXPECT_EQ(*PL_GetClipboardTextA(), "\xC7\xE4\xF0\xE0\xE2\xE5\xE9\r\n??");
    ASSERT_TRUE(PL_SetClipboardTextA("\xE4\xF3\xEC\xE0"));  // "дума"
    EXPECT_EQ(*PL_GetClipboardTextW(), u"дума");
    EXPECT_EQ(hs->clipboard_writes, 2);
    PL_SetClipboardTextW(std::u16string(u"до\0след", 7));  // clipboard text ends at a NUL
    EXPECT_EQ(*PL_GetClipboardTextW(), u"до");

    headless_copy_from_outside(u"from outside");
    EXPECT_EQ(*PL_GetClipboardTextW(), u"from outside");
    EXPECT_EQ(hs->clipboard_writes, 3);  // not ours
    auto told = received(WM_DRAWCLIPBOARD);
    ASSERT_EQ(told.size(), 4u);
    EXPECT_TRUE(std::all_of(told.begin(), told.end(), [&](const Received& r) { return r.hwnd == main; }));

    EXPECT_TRUE(EmptyClipboard());
    EXPECT_FALSE(PL_GetClipboardTextW());
    EXPECT_EQ(received(WM_DRAWCLIPBOARD).size(), 5u);
    EXPECT_TRUE(ChangeClipboardChain(main, {}));
    PL_SetClipboardTextW(u"x");
    EXPECT_EQ(received(WM_DRAWCLIPBOARD).size(), 5u);
    (void)other;
}

TEST_F(HeadlessTest, AViewerThatCopiesWhileToldDoesNotRecurse) {
    HWND main = CreateDialogIndirect(small_template(), {}, RecordingProc);
    SetClipboardViewer(main);
    int depth = 0, max_depth = 0, told = 0;
    g_on_message = [&](HWND, const Msg& m) -> INT_PTR {
        if (m.message != WM_DRAWCLIPBOARD) return 0;
        ++told;
        max_depth = std::max(max_depth, ++depth);
        PL_SetClipboardTextW(u"again");  // every answer is itself a change
        --depth;
        return 0;
    };
    headless_copy_from_outside(u"start");
    EXPECT_EQ(max_depth, 1);
    EXPECT_GT(told, 1);   // the change made while told is told too
    EXPECT_LT(told, 20);  // but a viewer answering every change cannot go on for ever
}

TEST_F(HeadlessTest, DriversTypeDeletePasteAndSelectInAPanel) {
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    HWND re = GetDlgItem(dlg, 103);
    RE_SetEventMask(re, ENM_CHANGE);
    g_received.clear();
    headless_type(re, u"аб\r\nв\U0001F600");
    EXPECT_EQ(RE_GetTextW(re), u"аб\rв\U0001F600");
    EXPECT_EQ(received(WM_COMMAND).size(), 5u);  // one change per key press
    headless_backspace(re);                      // the pair goes as one character
    EXPECT_EQ(RE_GetTextW(re), u"аб\rв");
    headless_select(re, 0, 1);
    EXPECT_EQ(RE_GetSel(re), (CHARRANGE{0, 1}));
    headless_type(re, u"Я");
    EXPECT_EQ(RE_GetTextW(re), u"Яб\rв");
    headless_select(re, 1, 1);
    headless_key_delete(re, 2);
    EXPECT_EQ(RE_GetTextW(re), u"Яв");

    hs->clipboard = u"x\r\ny\nz";
    headless_select(re, 0, 2);
    headless_paste(re);
    EXPECT_EQ(RE_GetTextW(re), u"x\ry\rz");
    EXPECT_EQ(RE_GetSel(re), (CHARRANGE{5, 5}));
    headless_backspace(re, 10);  // more presses than characters
    EXPECT_EQ(RE_GetTextW(re), u"");
}

TEST_F(HeadlessTest, TrayRecordsAreCutAndTheIconCallsItsWindow) {
    HWND main = CreateDialogIndirect(small_template(), {}, RecordingProc);
    NOTIFYICONDATAW nid;
    nid.hWnd = main;
    nid.uID = 115;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.hIcon = PL_LoadIconRes(115);
    nid.szTip = std::u16string(200, u'т');
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, nid));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, nid));  // already there

    nid.uFlags = NIF_INFO;
    nid.szInfo = std::u16string(254, u'a') + u"\U0001F600" + u"bb";  // the pair straddles 255
    nid.szInfoTitle = std::u16string(100, u'з');
    ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, nid));
    ASSERT_EQ(hs->tray_calls.size(), 2u);
    EXPECT_EQ(hs->tray_calls[0].data.szTip.size(), 127u);
    EXPECT_EQ(hs->tray_calls[1].data.szInfo, std::u16string(254, u'a'));
    EXPECT_EQ(hs->tray_calls[1].data.szInfoTitle.size(), 63u);
    nid.szInfo = std::u16string(255, u'b');
    Shell_NotifyIconW(NIM_MODIFY, nid);
    EXPECT_EQ(hs->tray_calls.back().data.szInfo.size(), 255u);  // exactly the limit stays

    g_received.clear();
    platform_user_tray(main, 115, WM_LBUTTONUP);
    platform_user_tray(main, 999, WM_LBUTTONUP);  // no such icon
    auto calls = received(WM_TRAYICON);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].msg.id, 115);
    EXPECT_EQ(calls[0].msg.filter_msg, static_cast<UINT>(WM_LBUTTONUP));

    // The icon goes with its window.
    DestroyWindow(main);
    EXPECT_EQ(hs->tray_calls.back().op, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, nid));
}

TEST_F(HeadlessTest, FakeClockAndPumpAreDeterministic) {
    EXPECT_EQ(PL_NowMicroseconds(), 0);
    PL_SleepMilliseconds(50);
    EXPECT_EQ(PL_NowMicroseconds(), 50000);
    headless_advance_clock(7);
    EXPECT_EQ(PL_NowMicroseconds(), 50007);
    PL_SleepMilliseconds(-5);
    EXPECT_EQ(PL_NowMicroseconds(), 50007);

    // A long job's pump: for 10 ms, sleeping 50 ms when idle, ends after one round.
    HWND dlg = CreateDialogIndirect(small_template(), {}, RecordingProc);
    int acted = 0;
    hs->on_pump = [&] {
        ++acted;
        PostMessageW(dlg, Msg::simple(WM_USER + 1));
    };
    g_received.clear();
    std::int64_t start = PL_NowMicroseconds();
    while (PL_NowMicroseconds() - start < 10000) {
        PL_PumpMessages(10000);
        PL_SleepMilliseconds(50);
    }
    EXPECT_EQ(acted, 1);
    EXPECT_EQ(hs->pump_calls, 1);
    EXPECT_EQ(received(WM_USER + 1).size(), 1u);  // posted by the user, delivered by the pump
}

TEST_F(HeadlessTest, ChoosersShellAndProgramsAreAnsweredAndRecorded) {
    hs->file_dialog_answers = {std::filesystem::path("/tmp/in.txt"), std::nullopt};
    hs->folder_dialog_answers = {std::filesystem::path("/tmp")};
    LOGFONTW chosen{u"Arial", 14};
    hs->font_dialog_answers = {chosen};
    EXPECT_EQ(GetOpenFileNameW({}, u"Отвори", {{u"Text (*.txt)", u"*.txt"}}), std::filesystem::path("/tmp/in.txt"));
    EXPECT_FALSE(GetSaveFileNameW({}, u"Запиши", {}));
    EXPECT_FALSE(GetSaveFileNameW({}, u"Запиши", {}));  // queue empty: cancelled
    EXPECT_EQ(PL_BrowseForFolder({}, u"Папка"), std::filesystem::path("/tmp"));
    EXPECT_EQ(ChooseFontW({}, LOGFONTW{}), chosen);
    EXPECT_FALSE(ChooseFontW({}, LOGFONTW{}));

    EXPECT_TRUE(PL_ShellOpen("https://example.org/?q=word"));
    EXPECT_FALSE(PL_ShellOpen(""));
    EXPECT_EQ(hs->shell_opened, (std::vector<std::string>{"https://example.org/?q=word"}));
    EXPECT_TRUE(PL_StartProgram("/opt/audiopl/winamp0.exe", {"/data/a.ogg"}, true));
    ASSERT_EQ(hs->programs_started.size(), 1u);
    EXPECT_EQ(hs->programs_started[0].args.at(0), "/data/a.ogg");
    EXPECT_TRUE(hs->programs_started[0].minimized);
}

// ---- Process services ---------------------------------------------------------------------

TEST(ProcessServices, SingleInstanceLockRefusesASecondProcess) {
    // The lock files go to a folder of this test's own, named by $XDG_RUNTIME_DIR.
    const std::string name = "test-lock-" + std::to_string(getpid());
    jux_test::TempFolder dir("lock");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    jux_test::ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path().c_str());

    ASSERT_TRUE(PL_AcquireSingleInstanceLock(name));
    EXPECT_TRUE(std::filesystem::exists(dir.file("jux-" + std::to_string(getuid()) + "-" + name + ".lock")));
    EXPECT_TRUE(PL_AcquireSingleInstanceLock(name));  // held already by this process

    auto child_lock = [](const std::string& lock) {
        pid_t pid = fork();
        if (pid == 0) _exit(PL_AcquireSingleInstanceLock(lock).state);
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(child_lock(name), InstanceLock::Held);
    EXPECT_EQ(child_lock(name + "-other"), InstanceLock::Taken);
    EXPECT_TRUE(PL_AcquireSingleInstanceLock("../odd/name with blanks"));  // made a safe file name
    EXPECT_TRUE(std::filesystem::exists(dir.file("jux-" + std::to_string(getuid()) + "-.._odd_name_with_blanks.lock")));
}

TEST(ProcessServices, SingleInstanceLockTellsWhyItCannotBeMade) {
    // Each case in a temporary folder of its own, which stands for both $XDG_RUNTIME_DIR (when
    // the case sets it) and the temporary folder ($TMPDIR) of the per-user fallback.
    const std::string uid = std::to_string(getuid());
    const std::string own = "jux-" + uid;
    constexpr uid_t kOtherUser = 65534;
    struct Case {
        const char* what;
        bool runtime;                                      // $XDG_RUNTIME_DIR set to the folder
        std::function<void(const std::filesystem::path&)> prepare;
        InstanceLock::State state;
        std::string reason;                                // the start of the reason; "" for none
        bool needs_root = false;                           // to give a file to another user
    };
    const std::vector<Case> cases = {
        {"fallback made private", false, [](auto&) {}, InstanceLock::Taken, ""},
        {"runtime folder open to others", true,
         [](auto& d) { std::filesystem::permissions(d, std::filesystem::perms::all); }, InstanceLock::Taken, ""},
        {"fallback open to others", false,
         [&](auto& d) {
             std::filesystem::create_directory(d / own);
             std::filesystem::permissions(d / own, std::filesystem::perms::all);
         },
         InstanceLock::Failed, "Cannot use the folder "},
        {"fallback is a link", false,
         [&](auto& d) {
             std::filesystem::create_directory(d / "elsewhere");
             std::filesystem::create_directory_symlink(d / "elsewhere", d / own);
         },
         InstanceLock::Failed, "Cannot use "},
        {"fallback is a file", false, [&](auto& d) { std::ofstream(d / own) << "x"; }, InstanceLock::Failed,
         "Cannot use "},
        {"lock file cannot be opened", true,
         [](auto& d) {
             std::filesystem::permissions(d, std::filesystem::perms::owner_all);
             std::filesystem::create_directories(d / "LOCK");
         },
         InstanceLock::Failed, "Cannot open the lock file "},
        {"lock file of another user", true,
         [&](auto& d) {
             std::filesystem::permissions(d, std::filesystem::perms::owner_all);
             std::ofstream(d / "LOCK") << "";
             ASSERT_EQ(chown((d / "LOCK").c_str(), kOtherUser, kOtherUser), 0);
         },
         InstanceLock::Failed, "Cannot use the lock file ", true},
        {"fallback of another user", false,
         [&](auto& d) {
             std::filesystem::create_directory(d / own);
             std::filesystem::permissions(d / own, std::filesystem::perms::owner_all);
             ASSERT_EQ(chown((d / own).c_str(), kOtherUser, kOtherUser), 0);
         },
         InstanceLock::Failed, "Cannot use the folder ", true},
    };
    int serial = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needs_root && getuid() != 0) continue;  // only root can give a file to another user
        jux_test::TempFolder dir("lockcase");
        const std::string name = "case-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
        const std::string lock_file = "jux-" + uid + "-" + name + ".lock";
        std::string folder = dir.path().string();
        jux_test::ScopedEnv runtime("XDG_RUNTIME_DIR", c.runtime ? folder.c_str() : nullptr);
        jux_test::ScopedEnv tmp("TMPDIR", folder.c_str());
        // "LOCK" stands for the lock file's name.
        c.prepare(dir.path());
        if (std::filesystem::exists(dir.file("LOCK")) || std::filesystem::is_directory(dir.file("LOCK")))
            std::filesystem::rename(dir.file("LOCK"), dir.file(lock_file));

        const InstanceLock got = PL_AcquireSingleInstanceLock(name);
        EXPECT_EQ(got.state, c.state);
        if (c.reason.empty()) {
            EXPECT_TRUE(got.reason.empty());
        } else {
            EXPECT_TRUE(got.reason.starts_with(c.reason)) << got.reason;
            EXPECT_NE(got.reason.find(folder), std::string::npos) << got.reason;  // says where
        }
        if (c.state == InstanceLock::Taken) {
            const std::filesystem::path made = dir.file(own);
            EXPECT_TRUE(std::filesystem::exists(made / lock_file));
            EXPECT_EQ(std::filesystem::status(made).permissions() & std::filesystem::perms::all,
                      std::filesystem::perms::owner_all);
        }
    }
}

TEST(ProcessServices, FindsAndClosesAProgramByItsName) {
    pid_t pid = 0;
    char arg0[] = "sleep", arg1[] = "30";
    char* argv[] = {arg0, arg1, nullptr};
    ASSERT_EQ(posix_spawn(&pid, "/bin/sleep", nullptr, nullptr, argv, environ), 0);

    std::vector<int> found;
    for (int tries = 0; tries < 200; ++tries) {  // until the new program has replaced the child
        found = PL_FindProcessesByName("SLEEP");
        if (std::count(found.begin(), found.end(), pid)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(std::count(found.begin(), found.end(), pid), 1);
    found = PL_FindProcessesByName("sleepy");
    EXPECT_EQ(std::count(found.begin(), found.end(), pid), 0);
    EXPECT_TRUE(PL_FindProcessesByName("").empty());

    EXPECT_TRUE(PL_CloseProcess(pid));
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    found = PL_FindProcessesByName("sleep");
    EXPECT_EQ(std::count(found.begin(), found.end(), pid), 0);
    EXPECT_FALSE(PL_CloseProcess(0));  // never a process group
    EXPECT_FALSE(PL_CloseProcess(-1));
}

TEST(ProcessServices, IdlePriorityIsTheLowestTheUserMayTake) {
    ASSERT_TRUE(PL_SetIdlePriority());
    errno = 0;
    EXPECT_EQ(getpriority(PRIO_PROCESS, 0), 19);
}

}  // namespace
