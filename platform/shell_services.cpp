// Message boxes, the clipboard and its watch, shell "open", the common choosers, the
// notification-area icon, and the process services (start, find and close by name, idle
// priority, the single-instance lock). The Linux process services are the same for every backend.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <map>

#include "platform/backend.h"
#include "platform/text.h"
#include "platform/window.h"
#include "platform/window_core.h"

std::vector<HWND> g_clipboard_viewers;
std::map<std::pair<std::uint32_t, UINT>, UINT> g_tray_icons;

// While the watching windows are being told of a change, a further change is only noted and
// told once the round has ended (a viewer that copies while it is told does not recurse).
static bool s_clipboard_notifying = false;
static bool s_clipboard_changed_again = false;

void core_reset_services() {
    // Icons a test or a closed program left behind leave the notification area too.
    std::vector<std::pair<std::uint32_t, UINT>> icons;
    for (const auto& [key, callback] : g_tray_icons) icons.push_back(key);
    g_tray_icons.clear();
    if (g_backend) {
        for (const auto& [window, id] : icons) {
            NOTIFYICONDATAW d;
            d.hWnd = HWND{window};
            d.uID = id;
            g_backend->tray_icon(NIM_DELETE, d);
        }
    }
    g_clipboard_viewers.clear();
    s_clipboard_notifying = false;
    s_clipboard_changed_again = false;
}

void core_forget_window_services(HWND h) {
    std::erase(g_clipboard_viewers, h);
    // An icon whose window is gone could never report to anyone: it goes with its window.
    std::vector<UINT> ids;
    for (const auto& [key, callback] : g_tray_icons)
        if (key.first == h.id) ids.push_back(key.second);
    for (UINT id : ids) {
        NOTIFYICONDATAW d;
        d.hWnd = h;
        d.uID = id;
        Shell_NotifyIconW(NIM_DELETE, d);
    }
    // Windows destroys the menu bar of a window that it destroys.
    if (WindowModel* w = core_window(h); w && w->menu) DestroyMenu(w->menu);
}

// ---- Message boxes ---------------------------------------------------------------------------

int MessageBoxW(HWND owner, std::u16string_view text, std::u16string_view caption, UINT flags) {
    return platform_backend().message_box(IsWindow(owner) ? owner : HWND{}, text, caption, flags);
}

int MessageBoxA(HWND owner, std::string_view text_cp1251, std::string_view caption_cp1251, UINT flags) {
    return MessageBoxW(owner, cp1251_to_utf16(text_cp1251), cp1251_to_utf16(caption_cp1251), flags);
}

// ---- Clipboard -------------------------------------------------------------------------------

bool PL_SetClipboardTextW(std::u16string_view text) {
    // Clipboard text ends at its first NUL, as every reader of CF_UNICODETEXT sees it.
    if (auto nul = text.find(u'\0'); nul != std::u16string_view::npos) text = text.substr(0, nul);
    return platform_backend().set_clipboard_text(text);
}

bool PL_SetClipboardTextA(std::string_view text_cp1251) {
    return PL_SetClipboardTextW(cp1251_to_utf16(text_cp1251));
}

std::optional<std::u16string> PL_GetClipboardTextW() { return platform_backend().clipboard_text(); }

bool PL_IsClipboardOwned() { return platform_backend().clipboard_owned(); }

std::optional<std::string> PL_GetClipboardTextA() {
    auto t = PL_GetClipboardTextW();
    if (!t) return std::nullopt;
    return utf16_to_cp1251(*t, '?');
}

bool EmptyClipboard() { return platform_backend().clear_clipboard(); }

HWND SetClipboardViewer(HWND w) {
    if (IsWindow(w) && std::find(g_clipboard_viewers.begin(), g_clipboard_viewers.end(), w) ==
                           g_clipboard_viewers.end())
        g_clipboard_viewers.push_back(w);
    return {};
}

bool ChangeClipboardChain(HWND w, HWND next) {
    (void)next;
    return std::erase(g_clipboard_viewers, w) > 0;
}

void platform_clipboard_changed() {
    if (s_clipboard_notifying) {
        s_clipboard_changed_again = true;
        return;
    }
    s_clipboard_notifying = true;
    // A viewer that keeps copying in answer to every change would never let this end; after a
    // few rounds the remaining changes are not told again.
    for (int round = 0; round < 8; ++round) {
        s_clipboard_changed_again = false;
        std::vector<HWND> viewers = g_clipboard_viewers;
        for (HWND v : viewers)
            if (IsWindow(v)) SendMessageW(v, Msg::simple(WM_DRAWCLIPBOARD));
        if (!s_clipboard_changed_again) break;
    }
    s_clipboard_notifying = false;
    s_clipboard_changed_again = false;
}

// ---- Shell and choosers ----------------------------------------------------------------------

bool PL_ShellOpen(std::string_view path_or_url) {
    if (path_or_url.empty()) return false;
    return platform_backend().shell_open(path_or_url);
}

std::optional<std::filesystem::path> GetOpenFileNameW(HWND owner, std::u16string_view title,
                                                      const std::vector<FileFilter>& filters,
                                                      const std::filesystem::path& start) {
    return platform_backend().file_dialog(false, IsWindow(owner) ? owner : HWND{}, title, filters, start);
}

std::optional<std::filesystem::path> GetSaveFileNameW(HWND owner, std::u16string_view title,
                                                      const std::vector<FileFilter>& filters,
                                                      const std::filesystem::path& start) {
    return platform_backend().file_dialog(true, IsWindow(owner) ? owner : HWND{}, title, filters, start);
}

std::optional<std::filesystem::path> PL_BrowseForFolder(HWND owner, std::u16string_view title) {
    return platform_backend().folder_dialog(IsWindow(owner) ? owner : HWND{}, title);
}

std::optional<LOGFONTW> ChooseFontW(HWND owner, const LOGFONTW& current) {
    return platform_backend().font_dialog(IsWindow(owner) ? owner : HWND{}, current);
}

// ---- Notification-area icon --------------------------------------------------------------

namespace {
// At most `limit` UTF-16 units; a pair of surrogates is never split (its first half is dropped).
std::u16string cut_units(const std::u16string& s, std::size_t limit) {
    if (s.size() <= limit) return s;
    std::size_t n = limit;
    if (n > 0 && s[n - 1] >= 0xD800 && s[n - 1] <= 0xDBFF) --n;
    return s.substr(0, n);
}
}  // namespace

bool Shell_NotifyIconW(DWORD op, const NOTIFYICONDATAW& data) {
    if (op != NIM_ADD && op != NIM_MODIFY && op != NIM_DELETE) return false;
    NOTIFYICONDATAW d = data;
    d.szTip = cut_units(d.szTip, 127);
    d.szInfo = cut_units(d.szInfo, 255);
    d.szInfoTitle = cut_units(d.szInfoTitle, 63);
    auto key = std::make_pair(d.hWnd.id, d.uID);
    bool known = g_tray_icons.count(key) > 0;
    if ((op == NIM_MODIFY || op == NIM_DELETE) && !known) return false;
    if (op == NIM_ADD && (known || !IsWindow(d.hWnd))) return false;
    bool ok = platform_backend().tray_icon(op, d);
    if (!ok) return false;
    if (op == NIM_DELETE) {
        g_tray_icons.erase(key);
    } else if (op == NIM_ADD) {
        g_tray_icons[key] = (d.uFlags & NIF_MESSAGE) ? d.uCallbackMessage : WM_TRAYICON;
    } else if (d.uFlags & NIF_MESSAGE) {
        g_tray_icons[key] = d.uCallbackMessage;
    }
    return true;
}

void platform_user_tray(HWND w, UINT id, UINT mouse_msg) {
    auto it = g_tray_icons.find(std::make_pair(w.id, id));
    if (!IsWindow(w) || it == g_tray_icons.end()) return;
    Msg m = Msg::simple(it->second);
    m.id = static_cast<int>(id);
    m.filter_msg = mouse_msg;
    SendMessageW(w, m);
}

// ---- Processes -------------------------------------------------------------------------------

bool PL_StartProgram(const std::filesystem::path& exe, const std::vector<std::string>& args, bool minimized) {
    if (exe.empty()) return false;
    return platform_backend().start_program(exe, args, minimized);
}

int PL_StartChildProgram(const std::filesystem::path& exe, const std::vector<std::string>& args, bool minimized) {
    if (exe.empty()) return 0;
    return platform_backend().start_child(exe, args, minimized);
}

bool PL_CloseChildProgram(int handle) { return handle > 0 && platform_backend().close_child(handle); }

namespace {
bool ascii_iequal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The whole of a small file, or "" when it cannot be read (a process may end while it is read).
std::string read_small_file(const std::filesystem::path& p) {
    std::string s;
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return s;
    char buf[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) s.append(buf, static_cast<std::size_t>(n));
    if (n < 0) s.clear();
    ::close(fd);
    return s;
}

std::string base_name(std::string_view path) {
    auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// Whether the process whose folder in the process list is `dir` runs the program `name`; false
// for anything that cannot be read (the process may have ended meanwhile).
bool process_matches(const std::filesystem::path& dir, std::string_view name, uid_t me) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0 || st.st_uid != me) return false;
    // A process that has ended but not been reaped yet is not running.
    const std::string stat_line = read_small_file(dir / "stat");
    const auto close = stat_line.rfind(')');
    if (close == std::string::npos || close + 2 >= stat_line.size() || stat_line[close + 2] == 'Z') return false;

    std::string comm = read_small_file(dir / "comm");
    while (!comm.empty() && (comm.back() == '\n' || comm.back() == '\r')) comm.pop_back();
    if (ascii_iequal(comm, name)) return true;
    std::error_code ec;
    std::string exe = std::filesystem::read_symlink(dir / "exe", ec).string();
    constexpr std::string_view kDeleted = " (deleted)";
    if (exe.ends_with(kDeleted)) exe.erase(exe.size() - kDeleted.size());
    if (!ec && !exe.empty() && ascii_iequal(base_name(exe), name)) return true;
    // Scripts run under an interpreter, and names longer than the kernel's 15-byte command name,
    // are known by the program path they were started with.
    const std::string cmdline = read_small_file(dir / "cmdline");
    const std::string argv0 = cmdline.substr(0, cmdline.find('\0'));
    return !argv0.empty() && ascii_iequal(base_name(argv0), name);
}
}  // namespace

std::vector<int> PL_FindProcessesByName(std::string_view name, const std::filesystem::path& proc_root) {
    std::vector<int> pids;
    if (name.empty()) return pids;
    const uid_t me = getuid();
    // Processes come and go while the list is read: an entry that vanishes or cannot be read is
    // skipped, and an error of the listing itself ends the scan with what was found. Nothing of it
    // may throw (the scan runs at the program's end too).
    std::error_code ec;
    std::filesystem::directory_iterator it(proc_root, ec);
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::string dir = it->path().filename().string();
        if (dir.empty() || dir.size() > 9 || dir.find_first_not_of("0123456789") != std::string::npos) continue;
        if (!process_matches(it->path(), name, me)) continue;
        int pid = 0;
        const auto [ptr, err] = std::from_chars(dir.data(), dir.data() + dir.size(), pid);
        if (err == std::errc() && pid > 0) pids.push_back(pid);
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

bool PL_CloseProcess(int pid) {
    // 0 and negative numbers name process groups: never ours to end.
    if (pid <= 0) return false;
    return kill(pid, SIGTERM) == 0;
}

bool PL_SetIdlePriority() {
    errno = 0;
    return setpriority(PRIO_PROCESS, 0, 19) == 0;
}

namespace {
struct HeldLock {
    int fd = -1;
    pid_t pid = 0;  // the process that took it (a forked child holds nothing of its own)
};
// Single-instance locks this process holds; they last for its life, so platform_reset keeps them.
std::map<std::string, HeldLock> s_instance_locks;
}  // namespace

namespace {
std::string errno_reason(int err) {
    return std::string(std::strerror(err)) + ", (errno = " + std::to_string(err) + ")";
}

// A folder that only this user may change: a real folder (no link), ours, not writable by others.
// "" when it is, else why not.
std::string check_private_folder(const std::filesystem::path& dir) {
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0)
        return "Cannot use the folder " + dir.string() + ", reason: " + errno_reason(errno);
    if (!S_ISDIR(st.st_mode)) return "Cannot use " + dir.string() + " for the lock file: it is not a folder";
    if (st.st_uid != getuid())
        return "Cannot use the folder " + dir.string() + " for the lock file: it belongs to another user";
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return "Cannot use the folder " + dir.string() + " for the lock file: other users may write in it";
    return {};
}

// The folder of the lock files: $XDG_RUNTIME_DIR when it is a folder of this user's own, else a
// folder "jux-<uid>" of the user's own in the temporary folder, made when missing. Another user
// can then neither take the lock first nor put a file of theirs in its place.
std::optional<std::filesystem::path> lock_folder(std::string& why) {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        std::error_code ec;
        const std::filesystem::path dir = std::filesystem::canonical(runtime, ec);
        if (!ec && check_private_folder(dir).empty()) return dir;
    }
    std::error_code ec;
    std::filesystem::path tmp = std::filesystem::temp_directory_path(ec);
    if (ec) tmp = "/tmp";
    const std::filesystem::path dir = tmp / ("jux-" + std::to_string(getuid()));
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        why = "Cannot make the folder " + dir.string() + ", reason: " + errno_reason(errno);
        return std::nullopt;
    }
    why = check_private_folder(dir);
    if (!why.empty()) return std::nullopt;
    return dir;
}
}  // namespace

InstanceLock PL_AcquireSingleInstanceLock(std::string_view name) {
    std::string safe;
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        safe += (std::isalnum(u) || c == '-' || c == '_' || c == '.') && u < 0x80 ? c : '_';
    }
    if (safe.empty()) safe.push_back('_');
    auto held = s_instance_locks.find(safe);
    if (held != s_instance_locks.end() && held->second.pid == getpid()) return {InstanceLock::Taken, {}};

    std::string why;
    const std::optional<std::filesystem::path> dir = lock_folder(why);
    if (!dir) return {InstanceLock::Failed, why};
    const std::filesystem::path file = *dir / ("jux-" + std::to_string(getuid()) + "-" + safe + ".lock");
    // Close-on-exec: programs we start must not keep the lock after we end.
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0)
        return {InstanceLock::Failed, "Cannot open the lock file " + file.string() + ", reason: " + errno_reason(errno)};
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != getuid()) {
        ::close(fd);
        return {InstanceLock::Failed,
                "Cannot use the lock file " + file.string() + ": it is not a file of this user's own"};
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK) return {InstanceLock::Held, {}};
        return {InstanceLock::Failed, "Cannot lock " + file.string() + ", reason: " + errno_reason(err)};
    }
    s_instance_locks[safe] = HeldLock{fd, getpid()};
    return {InstanceLock::Taken, {}};
}
