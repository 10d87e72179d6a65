#include "shell/files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <stdio_ext.h>
#include <utility>
#include <vector>
#include <signal.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "platform/text.h"
#include "platform/window.h"
#include "shell/window_state.h"

FILE* fl_stat = nullptr;

std::string jux_format(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    int n = std::vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), fmt, ap2);
        out.resize(static_cast<size_t>(n));
    }
    va_end(ap2);
    return out;
}

std::filesystem::path fl_path(const std::filesystem::path& folder, std::string_view name) {
    std::string utf8 = cp1251_to_utf8(name);
    std::filesystem::path leaf(utf8);
    return folder.empty() ? leaf : folder / leaf;
}

std::filesystem::path fl_pathw(const std::filesystem::path& folder, std::u16string_view name) {
    std::filesystem::path leaf(utf16_to_utf8(name));
    return folder.empty() ? leaf : folder / leaf;
}

std::string path_to_cp1251(const std::filesystem::path& p) { return utf8_to_cp1251(p.string()); }

namespace {

// What the program knows of an output stream: the path it was opened with, its first write
// failure and the file it was then (a stream closed without closefile may leave its record, and
// a stream opened later at the same address must not inherit it).
struct OutStream {
    std::filesystem::path path;
    int err = 0;
    dev_t dev = 0;
    ino_t ino = 0;
};

struct StreamFault {
    std::string name;
    int err = 0;
    int countdown = 0;
    bool sync = false;  // the sync of sync_out fails, not a write
};

// A failure noted for tell_write_failures: the file and its error, or a text of its own (no file).
struct NotedFailure {
    std::filesystem::path path;
    int err = 0;
    std::string text;
};

std::mutex s_out_mutex;
std::map<FILE*, OutStream> s_out;  // guarded by s_out_mutex, as the rest below
std::vector<NotedFailure> s_failures;
// The failures tell_write_failures told, by file, with their error: told again only after the file
// was written in between (or when it fails another way).
std::map<std::filesystem::path, int> s_told;
std::atomic<bool> s_stream_fault_set{false};
StreamFault s_stream_fault;

bool same_file(FILE* f, const OutStream& o) {
    struct stat st {};
    return ::fstat(::fileno(f), &st) == 0 && st.st_dev == o.dev && st.st_ino == o.ino;
}

void remember_out(FILE* f, const std::filesystem::path& path) {
    OutStream o{path};
    struct stat st {};
    if (::fstat(::fileno(f), &st) == 0) {
        o.dev = st.st_dev;
        o.ino = st.st_ino;
    }
    std::lock_guard lock(s_out_mutex);
    s_out[f] = o;
}

// The stream's record (locked by the caller), made when missing or left by another file.
OutStream& out_record(FILE* f) {
    auto it = s_out.find(f);
    if (it == s_out.end() || !same_file(f, it->second)) {
        std::error_code ec;
        OutStream o{std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(::fileno(f)), ec)};
        struct stat st {};
        if (::fstat(::fileno(f), &st) == 0) {
            o.dev = st.st_dev;
            o.ino = st.st_ino;
        }
        it = s_out.insert_or_assign(f, o).first;
    }
    return it->second;
}

// Notes the stream's first failure; later ones of the same stream add nothing.
void note_out_failure(FILE* f, int err) {
    std::lock_guard lock(s_out_mutex);
    OutStream& o = out_record(f);
    if (o.err) return;
    o.err = err;
    s_failures.push_back(NotedFailure{o.path, err, cannot_write_text(o.path, err)});
}

// The file was written whole: a failure of it is told again when it comes back.
void note_written(const std::filesystem::path& file) {
    std::lock_guard lock(s_out_mutex);
    s_told.erase(file);
}

// The injected failure for a write to `f`, 0 for none.
int take_stream_fault(FILE* f) {
    if (!s_stream_fault_set.load(std::memory_order_relaxed)) return 0;
    std::lock_guard lock(s_out_mutex);
    if (s_stream_fault.sync || out_record(f).path.filename() != s_stream_fault.name ||
        s_stream_fault.countdown-- > 0)
        return 0;
    s_stream_fault_set = false;
    return s_stream_fault.err;
}

// A write that failed part-way (a full disk takes what fits) is taken back to `start`, where it
// began in the file, when that is known; what stdio still holds of it is dropped. The file is never
// made longer: bytes an earlier unflushed write lost stay lost. The stream's error state stays.
void take_back_torn_write(FILE* f, off_t start) {
    __fpurge(f);
    struct stat st {};
    if (start < 0 || ::fstat(::fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return;
    if (st.st_size > start && ::ftruncate(::fileno(f), start) != 0) return;
    ::fseeko(f, std::min<off_t>(start, st.st_size), SEEK_SET);
}

FILE* open_for_writing(const std::filesystem::path& path) {
    FILE* f = open_out(path, "wb");
    if (f) return f;
    MessageBoxA(hMain, cannot_open_text(path, errno), "Oops!", MB_OK | MB_ICONERROR);
    return nullptr;
}

int close_and_report(FILE* f, const std::string& display_name) {
    if (!f) return 0;
    int err = 0;
    bool noted = false;
    std::filesystem::path path;
    {
        std::lock_guard lock(s_out_mutex);
        const OutStream& o = out_record(f);
        err = o.err;
        noted = err != 0;
        path = o.path;
        s_out.erase(f);
    }
    const bool lost = std::ferror(f) != 0;
    errno = 0;
    if (std::fflush(f) != 0 && !err) err = errno ? errno : EIO;
    if (lost && !err) err = EIO;
    errno = 0;
    if (std::fclose(f) != 0 && !err) err = errno ? errno : EIO;
    if (!err) {
        note_written(path);
        return 0;
    }
    const std::string name = display_name.empty() ? path_to_cp1251(path) : display_name;
    std::string line = jux_format("ERROR: Can't close the %s file, reason: %s, (errno = %d)\r\n", name.c_str(),
                                  std::strerror(err), err);
    if (!noted) {
        std::lock_guard lock(s_out_mutex);
        s_failures.push_back(NotedFailure{path, err, cannot_write_text(path, err)});
    }
    // Through write_out: a log that cannot take the line (the same full disk) is itself noted with
    // its own name and reason, and told with the file's failure.
    if (fl_stat && fl_stat != f) write_out(fl_stat, line);
    else std::fwrite(line.data(), 1, line.size(), stderr);
    errno = err;
    return -1;
}

}  // namespace

int read_only_error(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;  // a new file: the folder decides
    // No write bit at all: the user marked it read-only, which binds every writer, root too.
    if ((st.st_mode & 0222) == 0) return EACCES;
    if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
        return errno;
    return 0;
}

std::string cannot_open_text(const std::filesystem::path& file, int err) {
    if (!err) err = EACCES;
    return jux_format("\r\nCannot open %s, reason: %s, (errno = %d). This file is not written; the work goes on.\r\n",
                      path_to_cp1251(file).c_str(), std::strerror(err), err);
}

std::string cannot_write_text(const std::filesystem::path& file, int err) {
    return jux_format("Cannot write to %s, reason: %s, (errno = %d)\n", path_to_cp1251(file).c_str(),
                      std::strerror(err), err);
}

std::u16string cannot_write_textw(const std::filesystem::path& file, int err) {
    std::u16string text = u"Cannot write to ";
    text += utf8_to_utf16(file.string());
    text += utf8_to_utf16(jux_format(", reason: %s, (errno = %d)\n", std::strerror(err), err));
    return text;
}

FILE* make_fl(const std::filesystem::path& folder, std::string_view name) {
    return open_for_writing(fl_path(folder, name));
}

FILE* make_flw(const std::filesystem::path& folder, std::u16string_view name) {
    return open_for_writing(fl_pathw(folder, name));
}

FILE* open_out(const std::filesystem::path& file, const char* mode) {
    if (const int err = std::strpbrk(mode, "wa+") ? read_only_error(file) : 0) {
        errno = err;
        return nullptr;
    }
    errno = 0;
    FILE* f = std::fopen(file.c_str(), mode);
    if (f) remember_out(f, file);
    else if (!errno) errno = EACCES;
    return f;
}

bool write_out(FILE* f, std::string_view bytes, bool flush) {
    if (!f) {
        errno = EBADF;
        return false;
    }
    // Where the bytes begin: a write that fails is taken back from there, so that none of it stays.
    // A stream opened for appending ("ab+") tells 0 until its first write: its end is asked then.
    off_t start = ::ftello(f);
    if (start == 0 && (::fcntl(::fileno(f), F_GETFL) & O_APPEND)) {
        struct stat st {};
        start = ::fstat(::fileno(f), &st) == 0 ? st.st_size + static_cast<off_t>(__fpending(f)) : -1;
    }
    int err = take_stream_fault(f);
    errno = 0;
    // An injected failure tears the write as a full disk does: the first half of the bytes reaches
    // the file, the rest does not.
    if (err && bytes.size() > 1 && std::fwrite(bytes.data(), 1, bytes.size() / 2, f) == bytes.size() / 2)
        std::fflush(f);
    if (!err && !bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) err = errno ? errno : EIO;
    if (!err && flush && std::fflush(f) != 0) err = errno ? errno : EIO;
    if (!err) return true;
    take_back_torn_write(f, start);
    note_out_failure(f, err);
    errno = err;
    return false;
}

int out_error(FILE* f) {
    if (!f) return 0;
    std::lock_guard lock(s_out_mutex);
    return out_record(f).err;
}

std::filesystem::path out_path(FILE* f) {
    if (!f) return {};
    std::lock_guard lock(s_out_mutex);
    return out_record(f).path;
}

bool cut_out_back(FILE* f, std::uint64_t size) {
    if (!f) return false;
    __fpurge(f);
    std::clearerr(f);
    return ::ftruncate(::fileno(f), static_cast<off_t>(size)) == 0 && ::fseeko(f, static_cast<off_t>(size), SEEK_SET) == 0;
}

void note_write_failure(const std::string& text) {
    std::lock_guard lock(s_out_mutex);
    s_failures.push_back(NotedFailure{{}, 0, text});
}

namespace {
// A noted failure as the user is told it: the file named as the system names it.
std::u16string failure_textw(const NotedFailure& n) {
    return n.path.empty() ? cp1251_to_utf16(n.text) : cannot_write_textw(n.path, n.err);
}
}  // namespace

std::u16string take_write_failures_w() {
    std::lock_guard lock(s_out_mutex);
    std::u16string text;
    for (const NotedFailure& n : s_failures) text += failure_textw(n);
    s_failures.clear();
    return text;
}

std::string take_write_failures() {
    std::lock_guard lock(s_out_mutex);
    std::string text;
    for (const NotedFailure& n : s_failures) text += n.text;
    s_failures.clear();
    return text;
}

void tell_write_failures(HWND owner) {
    std::u16string text;
    {
        std::lock_guard lock(s_out_mutex);
        for (const NotedFailure& n : s_failures) {
            if (!n.path.empty()) {
                // The same file failing the same way again, with no write of it in between, was told.
                const auto [told, first] = s_told.try_emplace(n.path, n.err);
                if (!first && told->second == n.err) continue;
                told->second = n.err;
            }
            text += failure_textw(n);
        }
        s_failures.clear();
    }
    if (!text.empty()) MessageBoxW(owner, text, u"Oops!", MB_OK | MB_ICONERROR);
}

void forget_told_write_failures() {
    std::lock_guard lock(s_out_mutex);
    s_told.clear();
}

void tell_cannot_write(HWND owner, const std::filesystem::path& file, int err) {
    if (!err) err = EIO;
    const std::string line = cannot_write_text(file, err);
    if (fl_stat) write_out(fl_stat, line);
    else std::fwrite(line.data(), 1, line.size(), stderr);
    MessageBoxW(owner, cannot_write_textw(file, err), u"Oops!", MB_OK | MB_ICONERROR);
}

bool sync_out(FILE* f) {
    if (!f) {
        errno = EBADF;
        return false;
    }
    int err = 0;
    {
        std::lock_guard lock(s_out_mutex);
        if (s_stream_fault_set && s_stream_fault.sync && out_record(f).path.filename() == s_stream_fault.name) {
            err = s_stream_fault.err;
            s_stream_fault_set = false;
        }
    }
    errno = 0;
    if (!err && std::fflush(f) != 0) err = errno ? errno : EIO;
    if (!err && ::fsync(::fileno(f)) != 0) err = errno ? errno : EIO;
    if (!err) return true;
    note_out_failure(f, err);
    errno = err;
    return false;
}

void fail_stream_sync_at(std::string_view file_name, int err) {
    std::lock_guard lock(s_out_mutex);
    s_stream_fault = StreamFault{std::string(file_name), err, 0, true};
    s_stream_fault_set = true;
}

void fail_stream_write_at(std::string_view file_name, int err, int nth) {
    std::lock_guard lock(s_out_mutex);
    s_stream_fault = StreamFault{std::string(file_name), err, nth > 1 ? nth - 1 : 0};
    s_stream_fault_set = true;
}

FILE* open_regular_for_reading(const std::filesystem::path& file, int* err) {
    auto fail = [err](int code) -> FILE* {
        if (err) *err = code;
        return nullptr;
    };
    // Without O_NONBLOCK, opening a pipe that no program writes to waits for ever.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(errno);
    struct stat st {};
    int code = 0;
    if (fstat(fd, &st) != 0) code = errno ? errno : EIO;
    else if (S_ISDIR(st.st_mode)) code = EISDIR;
    else if (!S_ISREG(st.st_mode)) code = EINVAL;
    if (code) {
        ::close(fd);
        return fail(code);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE* f = fdopen(fd, "rb");
    if (!f) {
        code = errno;
        ::close(fd);
        return fail(code);
    }
    if (err) *err = 0;
    return f;
}

int closefile(FILE* f, std::string_view display_name) {
    return close_and_report(f, std::string(display_name));
}

int closefilew(FILE* f, std::u16string_view display_name) {
    return close_and_report(f, utf16_to_cp1251(display_name));
}

void OutputCyr(std::string_view text, int n, FILE* f) {
    if (!f) return;
    if (n <= 0) {
        if (!text.empty()) write_out(f, text);
        return;
    }
    std::string line(text);
    for (int i = 0; i < n; ++i) line += "\r\n";
    write_out(f, line);
}

std::int64_t flsz(FILE* f) {
    if (!f) return -1;
    off_t here = ftello(f);
    if (here < 0) return -1;
    if (fseeko(f, 0, SEEK_END) != 0) return -1;
    off_t end = ftello(f);
    fseeko(f, here, SEEK_SET);
    return end < 0 ? -1 : static_cast<std::int64_t>(end);
}

// ---- Rewriting the user's files ---------------------------------------------------------------

namespace {

struct WriteFault {
    SafeWriteStep step = SafeWriteStep::None;
    int err = 0;
    int countdown = 0;  // safe writes to let pass before the one that fails
};
WriteFault s_write_fault;

// The step at which this write is to fail, and with which error (None for a write that runs as it
// comes).
WriteFault take_write_fault() {
    if (s_write_fault.step == SafeWriteStep::None) return {};
    if (s_write_fault.countdown-- > 0) return {};
    const WriteFault fault = s_write_fault;
    s_write_fault = WriteFault{};
    return fault;
}

constexpr std::string_view kTempMark = ".tmp";
constexpr int kMaxLinkHops = 40;  // links followed before a chain counts as a loop, as the system does

std::filesystem::path temp_name(const std::filesystem::path& file) {
    static unsigned serial = 0;
    std::filesystem::path t = file;
    t += std::string(kTempMark) + std::to_string(::getpid()) + "_" + std::to_string(serial++);
    return t;
}

// The process number of a temporary file's name ("<name>.tmp<pid>_<n>"), or 0 for another name.
long temp_owner(const std::string& name) {
    const std::size_t mark = name.rfind(kTempMark);
    if (mark == std::string::npos || mark == 0) return 0;
    const std::string_view rest = std::string_view(name).substr(mark + kTempMark.size());
    const std::size_t bar = rest.find('_');
    if (bar == 0 || bar == std::string_view::npos || bar + 1 == rest.size() || bar > 9) return 0;
    if (rest.find_first_not_of("0123456789_") != std::string_view::npos || rest.find('_', bar + 1) != std::string_view::npos)
        return 0;
    return std::stol(std::string(rest.substr(0, bar)));
}

// The file a path finally names: symbolic links followed one by one (a relative target is taken
// from the link's folder). A link whose target is missing names that target, which is then made.
// False with errno ELOOP for a loop of links (or a chain longer than the system follows): renaming
// over the last link reached would replace a link with a regular file.
bool final_target(const std::filesystem::path& file, std::filesystem::path& out) {
    std::filesystem::path p = file;
    for (int hops = 0; hops <= kMaxLinkHops; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            out = p;
            return true;
        }
        std::error_code ec;
        const std::filesystem::path target = std::filesystem::read_symlink(p, ec);
        if (ec) {
            errno = ec.value() ? ec.value() : EIO;
            return false;
        }
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    errno = ELOOP;
    return false;
}

void sync_folder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // some file systems cannot sync a folder: the file itself is safe already
    ::close(fd);
}

bool write_all(int fd, std::string_view bytes, bool short_write) {
    if (short_write) bytes = bytes.substr(0, bytes.size() / 2);
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return !short_write;
}

}  // namespace

bool data_folder_trouble_told = false;

int tell_data_folder_trouble(int err) {
    const bool folder_fault = err == EACCES || err == EPERM || err == EROFS || err == ENOSPC || err == EDQUOT;
    if (!folder_fault) return 1;
    if (data_folder_trouble_told) return 0;
    data_folder_trouble_told = true;
    return 1;
}

void fail_safe_write_at(SafeWriteStep step, int err, int nth) {
    s_write_fault = WriteFault{step, err, nth > 1 ? nth - 1 : 0};
}

int write_file_safely(const std::filesystem::path& file, std::string_view bytes) {
    const WriteFault fault = take_write_fault();
    std::filesystem::path target;
    if (!final_target(file, target)) return 0;
    if (const int refused = read_only_error(target)) {
        errno = refused;
        return 0;
    }
    const std::filesystem::path tmp = temp_name(target);
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);

    errno = 0;
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return 0;
    int err = 0;
    if (existed) {
        // The file keeps its mode, and its owner where the system lets us give it back.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
        ::fchmod(fd, old.st_mode & 07777);
    }
    if (!write_all(fd, bytes, fault.step == SafeWriteStep::Write))
        err = fault.step == SafeWriteStep::Write ? fault.err : errno;
    else if (fault.step == SafeWriteStep::Flush || ::fsync(fd) != 0)
        err = fault.step == SafeWriteStep::Flush ? fault.err : errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err) {
        if (fault.step == SafeWriteStep::Rename) err = fault.err;
        else if (::rename(tmp.c_str(), target.c_str()) != 0) err = errno;
    }
    if (err) {
        ::unlink(tmp.c_str());
        errno = err ? err : EIO;
        return 0;
    }
    sync_folder(target.parent_path());
    note_written(file);
    note_written(target);
    return 1;
}

bool read_file_bytes(const std::filesystem::path& file, std::string& bytes) {
    bytes.clear();
    errno = 0;
    FILE* f = open_regular_for_reading(file, nullptr);
    if (!f) return false;
    char buf[65536];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    const bool ok = !std::ferror(f);
    const int err = errno;
    std::fclose(f);
    if (!ok) {
        bytes.clear();
        errno = err ? err : EIO;
    }
    return ok;
}

int backup_file(const std::filesystem::path& file, const std::filesystem::path& backup) {
    std::string bytes;
    if (!read_file_bytes(file, bytes)) return errno == ENOENT ? 0 : -1;
    return write_file_safely(backup, bytes) ? 1 : -1;
}

int append_journal(const std::filesystem::path& file, std::string_view line) {
    const WriteFault fault = take_write_fault();
    std::string bytes(line);
    bytes += "\r\n";
    // A journal that this line would begin is removed again when the line cannot be written.
    struct stat before {};
    const bool existed = ::stat(file.c_str(), &before) == 0;
    if (const int refused = read_only_error(file)) {
        errno = refused;
        return 0;
    }
    errno = 0;
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return 0;
    struct stat st {};
    const bool sized = ::fstat(fd, &st) == 0;
    const bool injected = fault.step != SafeWriteStep::None;
    int err = 0;
    if (!write_all(fd, bytes, injected)) err = injected ? fault.err : errno;
    // A short write (a full disk) is taken back, so that the next line does not continue a half
    // one; the lines before stay as they were.
    if (err && sized && ::ftruncate(fd, st.st_size) != 0) errno = 0;
    if (::close(fd) != 0 && !err) err = errno;
    if (err) {
        if (!existed) ::unlink(file.c_str());
        errno = err;
        return 0;
    }
    note_written(file);
    return 1;
}

std::string journal_time() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

namespace {

// Removes the file `entry` when it is a temporary file of write_file_safely that no running writer
// owns; true when it was removed.
bool remove_if_stale(const std::filesystem::path& entry) {
    const long pid = temp_owner(entry.filename().string());
    if (pid <= 0) return false;
    // A process of that number that runs (or one we may not ask: another user's) may be writing it
    // now; our own writes are never half-done between two calls.
    const bool running = pid != ::getpid() && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
    struct stat st {};
    if (running || ::lstat(entry.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return ::unlink(entry.c_str()) == 0;
}

}  // namespace

int remove_stale_temporary_files(const std::filesystem::path& folder) {
    int removed = 0;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec))
        removed += remove_if_stale(it->path());
    return removed;
}

int remove_stale_temporary_files_of(const std::filesystem::path& file) {
    std::filesystem::path target;
    if (!final_target(file, target)) return 0;
    const std::string prefix = target.filename().string() + std::string(kTempMark);
    int removed = 0;
    std::error_code ec;
    std::filesystem::directory_iterator it(target.has_parent_path() ? target.parent_path() : ".", ec);
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // The name of the file, the mark, and nothing but the number part after it: "a.txt.tmp1_0"
        // is a temporary file of "a.txt", never of "a".
        if (name.starts_with(prefix) && name.rfind(kTempMark) == prefix.size() - kTempMark.size())
            removed += remove_if_stale(it->path());
    }
    return removed;
}

void reset_files() {
    fl_stat = nullptr;
    s_write_fault = WriteFault{};
    {
        std::lock_guard lock(s_out_mutex);
        s_failures.clear();
        s_told.clear();
        s_stream_fault = StreamFault{};
        s_stream_fault_set = false;
    }
    data_folder_trouble_told = false;
}
