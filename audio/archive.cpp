#include "audio/archive.h"

#include <cerrno>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "audio/audio_state.h"
#include "foldertools/folder_walk.h"
#include "lexicon/tables.h"
#include "platform/text.h"
#include "shell/encoding.h"
#include "shell/files.h"

namespace {

constexpr std::size_t kCopyPiece = std::size_t{1} << 20;  // bytes copied at a time

// Puts the archive back to `offset` bytes after a clip that could not be copied whole.
void cut_archive_back(FILE* archive, std::uint64_t offset) {
    if (cut_out_back(archive, offset)) return;
    const int err = errno;
    report_to_stat_log(jux_format("\r\nCannot cut the archive back to %llu bytes, reason: %s, (errno = %d)\r\n",
                                  static_cast<unsigned long long>(offset), std::strerror(err), err));
}

// A file name for the report, the characters code page 1251 lacks written as <U+XXXX>.
std::string name_for_report(std::string_view utf8) {
    const std::u16string name = utf8_to_utf16(utf8);
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        unsigned char byte = 0;
        char32_t c = name[i];
        if (wchar_to_cp1251(name[i], byte)) {
            out += static_cast<char>(byte);
            continue;
        }
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (name[++i] - 0xDC00);
        out += jux_format("<U+%04X>", static_cast<unsigned>(c));
    }
    return out;
}

// Whether the clip's name can be written in code page 1251: a name that cannot would give a key
// of question marks that another such name shares.
bool name_fits_code_page(const WalkFile& f) {
    const std::string name = f.path.filename().string();
    bool lost = false;
    if (is_utf8_text(name)) utf8_to_cp1251(name, '?', &lost);
    if (lost)
        report_to_stat_log(jux_format("\r\nCannot process %s%s, reason: its name has characters that code page 1251 "
                                      "lacks\r\n",
                                      folder_text(f.folder).c_str(), name_for_report(name).c_str()));
    return !lost;
}

// The builder's action on one clip. A clip whose bytes or index line cannot be written (a full
// disk) is taken back from both files, so that they stay in step, and the walk stops (`stop`).
WalkTaken archive_clip(const WalkFile& f, std::vector<char>& piece, bool& stop) {
    const std::string key = audio_clip_key(f.name);
    if (key.empty()) {
        report_to_stat_log(jux_format("\r\nCannot process %s%s, reason: its name gives no key\r\n",
                                      folder_text(f.folder).c_str(), f.name.c_str()));
        return WalkTaken::Failed;
    }
    if (!name_fits_code_page(f)) return WalkTaken::Failed;
    int err = 0;
    FILE* in = open_regular_for_reading(f.path, &err);
    if (!in) {
        report_to_stat_log(cannot_process_text(f.name, err));
        return WalkTaken::Failed;
    }
    // The clip's length as it is when opened: a file that grows while it is copied (another
    // program writing it) gives what it held then, and the copy always ends.
    struct stat st {};
    if (::fstat(::fileno(in), &st) != 0) {
        err = errno;
        std::fclose(in);
        report_to_stat_log(cannot_process_text(f.name, err));
        return WalkTaken::Failed;
    }
    const std::uint64_t length = static_cast<std::uint64_t>(st.st_size);
    FILE* archive = gl_fl_concatenated;
    const off_t start = ::ftello(archive);
    const std::uint64_t offset = start < 0 ? sz_global - f.size : static_cast<std::uint64_t>(start);
    std::uint64_t copied = 0;
    bool failed = false;
    while (copied < length && !stop) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(length - copied, piece.size()));
        const std::size_t n = std::fread(piece.data(), 1, want, in);
        if (n > 0 && !write_out(archive, std::string_view(piece.data(), n))) stop = true;
        copied += n;
        if (n < want) {
            if (std::ferror(in)) {
                err = errno;
                failed = true;
            }
            break;
        }
    }
    std::fclose(in);
    const off_t index_start = ::ftello(gl_fl_stat);
    if (!stop && !failed && copied > 0) {
        if (write_out(gl_fl_stat, audio_index_line(key, offset, copied))) {
            // A clip that changed its length since the walk looked counts with what was copied.
            sz_global += copied - f.size;
            return WalkTaken::Taken;
        }
        stop = true;
        if (index_start >= 0) cut_out_back(gl_fl_stat, static_cast<std::uint64_t>(index_start));
    }
    cut_archive_back(archive, offset);
    if (stop) return WalkTaken::Unwritten;
    report_to_stat_log(cannot_process_text(f.name, err ? err : EIO));
    return WalkTaken::Failed;
}

}  // namespace

AudioKeySums audio_key_sums(std::string_view key) {
    AudioKeySums s;
    for (char c : key) s.sum += static_cast<unsigned char>(c);
    if (!key.empty()) s.last = static_cast<unsigned char>(key.back());
    return s;
}

std::string audio_clip_key(std::string_view file_name) {
    std::string key(file_name.substr(0, file_name.find('.')));
    for (char& c : key)
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) c = '_';
    return key;
}

AudioStored audio_store(std::string_view key, std::uint64_t offset, std::uint64_t size) {
    const AudioKeySums s = audio_key_sums(key);
    return {offset + 7ull * s.sum + 11, size + s.sum + s.last - 3};
}

std::optional<AudioSlice> audio_slice(std::string_view key, std::string_view rest) {
    auto number = [&rest](std::uint64_t& out) {
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), out);
        if (ec != std::errc() || end == rest.data()) return false;
        rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
        return true;
    };
    std::uint64_t a = 0, b = 0;
    if (rest.data() == nullptr || !number(a) || !number(b)) return std::nullopt;
    const AudioKeySums s = audio_key_sums(key);
    const std::uint64_t a_add = 7ull * s.sum + 11;
    const std::uint64_t b_add = static_cast<std::uint64_t>(s.sum) + s.last;  // B = size + b_add - 3
    if (a < a_add) return std::nullopt;
    if (b_add > 3 && b < b_add - 3) return std::nullopt;
    return AudioSlice{a - a_add, b + 3 - b_add};
}

std::string audio_index_line(std::string_view key, std::uint64_t offset, std::uint64_t size) {
    const AudioStored st = audio_store(key, offset, size);
    std::string line(key);
    line += jux_format(" %llu %llu\r\n", static_cast<unsigned long long>(st.a), static_cast<unsigned long long>(st.b));
    return line;
}

std::uint64_t audio_copy_slice(FILE* archive, std::uint64_t offset, std::uint64_t size, FILE* out) {
    if (!archive || !out) return 0;
    if (::fseeko(archive, static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
    std::vector<char> piece(static_cast<std::size_t>(std::min<std::uint64_t>(size, kCopyPiece)));
    std::uint64_t copied = 0;
    while (copied < size) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size - copied, piece.size()));
        const std::size_t n = std::fread(piece.data(), 1, want, archive);
        if (n == 0) break;
        if (!write_out(out, std::string_view(piece.data(), n))) break;
        copied += n;
    }
    return copied;
}

void dir_to_list_audio(const std::filesystem::path& folder) {
    if (!gl_fl_stat || !gl_fl_concatenated) return;
    std::vector<char> piece(kCopyPiece);
    bool stop = false;
    FolderTool tool;
    tool.file_action = [&piece, &stop](const WalkFile& f) { return archive_clip(f, piece, stop); };
    tool.cancelled = [&stop] { return stop; };
    walk_folder(folder, tool);
}

void make_audio_file(HWND owner) {
    reset_walk_counters();
    gl_fl_stat = make_fl(dir_alt, kAudioIndexNew);
    gl_fl_concatenated = gl_fl_stat ? make_fl(dir_alt, kAudioArchiveNew) : nullptr;
    auto close_both = [] {
        closefile(gl_fl_stat, kAudioIndexNew);
        closefile(gl_fl_concatenated, kAudioArchiveNew);
        gl_fl_stat = gl_fl_concatenated = nullptr;
    };
    if (!gl_fl_stat || !gl_fl_concatenated) {
        close_both();  // make_fl has told the user
        return;
    }
    const std::optional<std::filesystem::path> top = PL_BrowseForFolder(owner, u"Make audio file");
    if (!top) {
        close_both();
        return;
    }
    MessageBoxA(owner,
                "The index will be written in \"b_english_ao_NEW.txt\". SORT IT!!!!!!!!!!!!!!!!!!!!!!!!!\n"
                "The concatenated files will be in \"alt\".",
                "In a few moments..", MB_OK | MB_ICONINFORMATION);
    dir_to_list_audio(*top);
    close_both();
    show_walk_counters(owner);
}
