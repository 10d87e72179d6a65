#include "shell/files.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
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

FILE* open_for_writing(const std::filesystem::path& path) {
    errno = 0;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f) return f;
    int err = errno;
    std::string text = jux_format("\r\nCannot open %s, reason: %s, (errno = %d). Exiting..\r\n",
                                  path_to_cp1251(path).c_str(), std::strerror(err), err);
    MessageBoxA(hMain, text, "Oops!", MB_OK | MB_ICONERROR);
    return nullptr;
}

int close_and_report(FILE* f, const std::string& display_name) {
    if (!f) return 0;
    errno = 0;
    if (std::fclose(f) == 0) return 0;
    int err = errno;
    std::string line = jux_format("ERROR: Can't close the %s file, reason: %s, (errno = %d)\r\n",
                                  display_name.c_str(), std::strerror(err), err);
    FILE* log = fl_stat ? fl_stat : stderr;
    std::fwrite(line.data(), 1, line.size(), log);
    std::fflush(log);
    return -1;
}

}  // namespace

FILE* make_fl(const std::filesystem::path& folder, std::string_view name) {
    return open_for_writing(fl_path(folder, name));
}

FILE* make_flw(const std::filesystem::path& folder, std::u16string_view name) {
    return open_for_writing(fl_pathw(folder, name));
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
    if (!text.empty()) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fflush(f);
    }
    for (int i = 0; i < n; ++i) {
        std::fwrite("\r\n", 1, 2, f);
        std::fflush(f);
    }
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

void reset_files() { fl_stat = nullptr; }
