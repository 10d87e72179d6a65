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
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iterator>
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

bool SetClipboardTextW(std::u16string_view text) {
    // Clipboard text ends at its first NUL, as every reader of CF_UNICODETEXT sees it.
    if (auto nul = text.find(u'\0'); nul != std::u16string_view::npos) text = text.substr(0, nul);
    return platform_backend().set_clipboard_text(text);
}

bool SetClipboardTextA(std::string_view text_cp1251) {
    return SetClipboardTextW(cp1251_to_utf16(text_cp1251));
}

std::optional<std::u16string> GetClipboardTextW() { return platform_backend().clipboard_text(); }

std::optional<std::string> GetClipboardTextA() {
    auto t = GetClipboardTextW();
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

bool ShellOpen(std::string_view path_or_url) {
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

std::optional<std::filesystem::path> BrowseForFolder(HWND owner, std::u16string_view title) {
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

bool StartProgram(const std::filesystem::path& exe, const std::vector<std::string>& args, bool minimized) {
    if (exe.empty()) return false;
    return platform_backend().start_program(exe, args, minimized);
}

int StartChildProgram(const std::filesystem::path& exe, const std::vector<std::string>& args, bool minimized) {
    if (exe.empty()) return 0;
    return platform_backend().start_child(exe, args, minimized);
}

bool CloseChildProgram(int handle) { return handle > 0 && platform_backend().close_child(handle); }

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

// A process may end while its files are read: what could be read is returned, never an error
// (a stream would throw on the vanished file).
std::string read_small_file(const std::filesystem::path& p) {
    std::string s;
    FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) return s;
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    std::fclose(f);
    return s;
}

std::string base_name(std::string_view path) {
    auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}
}  // namespace

std::vector<int> FindProcessesByName(std::string_view name) {
    std::vector<int> pids;
    if (name.empty()) return pids;
    std::error_code ec;
    const uid_t me = getuid();
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string dir = entry.path().filename().string();
        if (dir.empty() || dir.find_first_not_of("0123456789") != std::string::npos) continue;
        struct stat st {};
        if (stat(entry.path().c_str(), &st) != 0 || st.st_uid != me) continue;
        // A process that has ended but not been reaped yet is not running.
        std::string stat_line = read_small_file(entry.path() / "stat");
        auto close = stat_line.rfind(')');
        if (close == std::string::npos || close + 2 >= stat_line.size() || stat_line[close + 2] == 'Z') continue;

        std::string comm = read_small_file(entry.path() / "comm");
        while (!comm.empty() && (comm.back() == '\n' || comm.back() == '\r')) comm.pop_back();
        bool match = ascii_iequal(comm, name);
        if (!match) {
            std::string exe = std::filesystem::read_symlink(entry.path() / "exe", ec).string();
            constexpr std::string_view kDeleted = " (deleted)";
            if (exe.ends_with(kDeleted)) exe.erase(exe.size() - kDeleted.size());
            match = !exe.empty() && ascii_iequal(base_name(exe), name);
        }
        if (!match) {
            // Scripts run under an interpreter, and names longer than the kernel's 15-byte
            // command name, are known by the program path they were started with.
            std::string cmdline = read_small_file(entry.path() / "cmdline");
            std::string argv0 = cmdline.substr(0, cmdline.find('\0'));
            match = !argv0.empty() && ascii_iequal(base_name(argv0), name);
        }
        if (match) pids.push_back(std::stoi(dir));
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

bool CloseProcess(int pid) {
    // 0 and negative numbers name process groups: never ours to end.
    if (pid <= 0) return false;
    return kill(pid, SIGTERM) == 0;
}

bool SetIdlePriority() {
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

bool AcquireSingleInstanceLock(std::string_view name) {
    std::string safe;
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        safe += (std::isalnum(u) || c == '-' || c == '_' || c == '.') && u < 0x80 ? c : '_';
    }
    if (safe.empty()) safe.push_back('_');
    auto held = s_instance_locks.find(safe);
    if (held != s_instance_locks.end() && held->second.pid == getpid()) return true;

    std::filesystem::path dir = "/tmp";
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        std::error_code ec;
        if (std::filesystem::is_directory(runtime, ec)) dir = runtime;
    }
    std::filesystem::path file = dir / ("jux-" + std::to_string(getuid()) + "-" + safe + ".lock");
    // Close-on-exec: programs we start must not keep the lock after we end.
    int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    s_instance_locks[safe] = HeldLock{fd, getpid()};
    return true;
}
