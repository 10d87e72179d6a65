#include "engine/output_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/window.h"
#include "shell/files.h"
#include "shell/window_state.h"

namespace {

// Enters `folder`; 0 when done, else the error number.
int enter_folder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
    return ec ? (ec.value() ? ec.value() : ENOENT) : 0;
}

FILE* open_here(std::string name, bool report) {
    if (name.size() > OUTPUT_NAME_ROOM) name.resize(OUTPUT_NAME_ROOM);
    const std::filesystem::path path = fl_path({}, name);
    FILE* f = open_out(path, "wb+");
    if (f || !report) return f;
    const int err = errno;
    std::error_code ec;
    const std::filesystem::path shown = std::filesystem::absolute(path, ec);
    MessageBoxA(IsWindow(hBig) ? hBig : hMain, cannot_open_text(ec ? path : shown, err), "Oops!", MB_OK | MB_ICONERROR);
    return nullptr;
}

// Puts the working folder back, whatever happened in between.
class KeepWorkingFolder {
public:
    KeepWorkingFolder() { saved_ = std::filesystem::current_path(ec_); }
    ~KeepWorkingFolder() {
        if (ec_) return;
        std::error_code ec;
        std::filesystem::current_path(saved_, ec);
    }
    KeepWorkingFolder(const KeepWorkingFolder&) = delete;
    KeepWorkingFolder& operator=(const KeepWorkingFolder&) = delete;

private:
    std::error_code ec_;
    std::filesystem::path saved_;
};

FILE* open_output(const char* prefix, bool report) {
    const std::string pre = prefix ? prefix : "";
    KeepWorkingFolder keep;

    if (gl_dropped.empty()) {
        // Nothing was dropped or opened: the prefix alone, in the start folder.
        if (!start_dir.empty()) enter_folder(start_dir);
        return open_here(pre + ".txt", report);
    }

    // A dropped folder: its trailing '/' goes, for good, and its last component names the file.
    if (gl_dropped.back() == '/') gl_dropped.pop_back();

    const std::size_t slash = gl_dropped.rfind('/');
    std::string own_name = slash == std::string::npos ? gl_dropped : gl_dropped.substr(slash + 1);
    if (slash != std::string::npos) {
        const std::string folder = slash == 0 ? std::string("/") : gl_dropped.substr(0, slash);
        if (const int err = enter_folder(fl_path({}, folder))) {
            MessageBoxA(hMain,
                        jux_format("Cannot change to folder %s, reason: %s, (errno = %d)\n", gl_dropped.c_str(),
                                   std::strerror(err), err),
                        "Oops!", MB_OK | MB_ICONERROR);
            // A folder that cannot be entered leaves the working folder as it was on entry: the
            // file is made there.
        }
    }
    return open_here(pre + "_" + own_name, report);
}

}  // namespace

FILE* generate_file_from_dropped_or_predifined(const char* prefix) { return open_output(prefix, false); }

FILE* open_generated_file(const char* prefix) { return open_output(prefix, true); }
