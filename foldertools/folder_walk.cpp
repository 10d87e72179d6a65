#include "foldertools/folder_walk.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "foldertools/walk_state.h"
#include "platform/text.h"
#include "shell/encoding.h"
#include "shell/files.h"

namespace {

using FileId = std::pair<dev_t, ino_t>;

// The files the running tool writes: its report, its concatenations and the statistics log. The
// walk never takes one of them as a file of the tree (a tool that read its own growing output
// would append it to itself until the disk is full).
std::set<FileId> output_files() {
    std::set<FileId> out;
    for (FILE* f : {gl_fl_stat, gl_fl_concatenated, gl_fl_concatenated_ansi, fl_stat}) {
        struct stat st {};
        if (f && ::fstat(::fileno(f), &st) == 0) out.insert({st.st_dev, st.st_ino});
    }
    return out;
}

struct WalkEntry {
    std::filesystem::path path;
    std::string name;
    bool stated = false;  // the files pass read its status (it may end before the last entry)
    int stat_errno = 0;   // 0: st holds the status
    struct stat st {};
};

class Walk {
public:
    explicit Walk(const FolderTool& tool) : tool_(tool), outputs_(output_files()) {}

    // Returns false when the walk was cancelled.
    bool folder(const std::filesystem::path& dir) {
        struct stat self {};
        if (::stat(dir.c_str(), &self) == 0 && !walked_.insert({self.st_dev, self.st_ino}).second) return true;

        std::vector<WalkEntry> listing;
        std::error_code ec;
        std::filesystem::directory_iterator it(dir, ec);
        if (ec) {
            report(cannot_change_to_folder_text(dir, ec.value()));
            return true;
        }
        for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
            WalkEntry e;
            e.path = it->path();
            e.name = file_name_cp1251(e.path.filename().string());
            listing.push_back(std::move(e));
        }
        if (ec) report(cannot_change_to_folder_text(dir, ec.value()));
        std::stable_sort(listing.begin(), listing.end(), [](const WalkEntry& a, const WalkEntry& b) {
            return listing_before(a.path.filename().string(), b.path.filename().string());
        });

        // Files first.
        std::uint64_t folder_bytes = 0;
        std::uint32_t folder_files = 0;
        for (WalkEntry& e : listing) {
            if (cancelled()) return false;
            e.stated = true;
            if (::stat(e.path.c_str(), &e.st) != 0) {
                e.stat_errno = errno;
                report(cannot_process_text(e.name, e.stat_errno));
                continue;
            }
            if (!S_ISREG(e.st.st_mode) || outputs_.contains({e.st.st_dev, e.st.st_ino})) continue;
            WalkFile f{e.path, dir, e.name, static_cast<std::uint64_t>(e.st.st_size)};
            if (f.size == 0) {
                if (tool_.count) {
                    ++fl_ct_global;
                    ++fl_ct_global_zero;
                }
                if (tool_.empty_file) tool_.empty_file(f);
                continue;
            }
            if (tool_.count) {
                ++fl_ct_global;
                ++fl_ct_global_nonzero;
                sz_global += f.size;
            }
            const WalkTaken taken = tool_.file_action(f);
            if (taken != WalkTaken::Taken && taken != WalkTaken::TakenEndPass) {
                // Only what was taken counts: a file left out is told apart.
                if (tool_.count) {
                    sz_global -= f.size;
                    --fl_ct_global;
                    --fl_ct_global_nonzero;
                    if (taken != WalkTaken::NotTaken) ++fl_ct_left_out;
                }
                continue;
            }
            folder_bytes += f.size;
            ++folder_files;
            if (taken == WalkTaken::TakenEndPass) break;
        }
        if (tool_.folder_done) tool_.folder_done(dir, folder_bytes, folder_files);
        if (!tool_.sub_folders) return true;

        // Then the sub-folders.
        for (WalkEntry& e : listing) {
            if (cancelled()) return false;
            if (!e.stated && ::stat(e.path.c_str(), &e.st) != 0) e.stat_errno = errno;
            if (e.stat_errno != 0 || !S_ISDIR(e.st.st_mode)) continue;
            if (tool_.entering) tool_.entering(e.path);
            if (!folder(e.path)) return false;
            if (tool_.count) ++dir_ct_global;
        }
        return true;
    }

private:
    void report(const std::string& line) const {
        if (tool_.report)
            tool_.report(line);
        else
            report_to_stat_log(line);
    }
    bool cancelled() const { return tool_.cancelled && tool_.cancelled(); }

    const FolderTool& tool_;
    const std::set<FileId> outputs_;
    std::set<FileId> walked_;
};

}  // namespace

bool listing_before(std::string_view a, std::string_view b) {
    // A name as UTF-16, its letters raised: a name written in code page 1251 bytes is read as such.
    auto key = [](std::string_view name) {
        std::u16string k = is_valid_utf8(name) ? utf8_to_utf16(name) : cp1251_to_utf16(name);
        for (char16_t& c : k) c = u16_toupper(c);
        return k;
    };
    const std::u16string ka = key(a), kb = key(b);
    if (ka != kb) return ka < kb;
    return a < b;  // names that differ in case only: one order for every run
}

void walk_folder(const std::filesystem::path& top, const FolderTool& tool) {
    if (!tool.file_action) return;
    Walk(tool).folder(top);
}

std::string file_name_cp1251(std::string_view name) {
    if (is_utf8_text(name)) return utf8_to_cp1251(name);
    return std::string(name);  // ASCII, or the bytes of a name written in code page 1251
}

std::string folder_text(const std::filesystem::path& folder) {
    std::string s = path_to_cp1251(folder);
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

void report_to_stat_log(const std::string& line) {
    ++walk_lines_logged;
    if (fl_stat) write_out(fl_stat, line);
    else std::fwrite(line.data(), 1, line.size(), stderr);
}

std::string cannot_change_to_folder_text(const std::filesystem::path& folder, int err) {
    return jux_format("\r\nCannot change to folder %s, reason: %s, (errno = %d)\r\n", folder_text(folder).c_str(),
                      std::strerror(err), err);
}

std::string cannot_process_text(std::string_view name, int err) {
    return jux_format("\r\nCannot process %s, reason: %s, (errno = %d)\r\n", std::string(name).c_str(),
                      std::strerror(err), err);
}

void show_walk_counters(HWND owner) {
    std::string counters =
        jux_format("File count: %u, Non-zero files: %u,  Zero-length files: %u\nFolder count: %u\nTotal size: %llu",
                   fl_ct_global, fl_ct_global_nonzero, fl_ct_global_zero, dir_ct_global,
                   static_cast<unsigned long long>(sz_global));
    if (fl_ct_left_out > 0) counters += jux_format("\nFiles left out: %u", fl_ct_left_out);
    if (walk_lines_logged > 0)
        counters += "\nWhy files were left out: see " +
                    (fl_stat ? path_to_cp1251(out_path(fl_stat)) : std::string("the standard error output"));
    const std::u16string failures = take_write_failures_w();
    if (failures.empty()) MessageBoxA(owner, counters, "Done!", MB_OK);
    else
        MessageBoxW(owner, failures + u"Not finished. Written:\n" + cp1251_to_utf16(counters), u"Oops!",
                    MB_OK | MB_ICONERROR);
}
