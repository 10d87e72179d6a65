#include "foldertools/text_tools.h"

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <optional>
#include <utility>

#include "foldertools/walk_state.h"
#include "foldertools/folder_walk.h"
#include "lexicon/tables.h"
#include "platform/text.h"
#include "shell/encoding.h"
#include "shell/files.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/window_state.h"

bool (*bulk_cancelled_hook)() = nullptr;
void (*bulk_from_file_hook)() = nullptr;

void reset_folder_tools() {
    bulk_cancelled_hook = nullptr;
    bulk_from_file_hook = nullptr;
}

// ---- Text kind, conversion, fixing ------------------------------------------------------------

FolderTextKind folder_text_kind(std::string_view bytes) {
    FolderTextKind k;
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    auto holds = [text](std::string_view seq) { return text.find(seq) != std::string_view::npos; };
    // A text that is not UTF-8 is never taken for UTF-8: not by a byte-order mark in front of it
    // (an 8-bit text may begin with those three letters), nor by the vowels' byte pairs in it.
    const bool valid = is_valid_utf8(text);
    k.bom = valid && text.starts_with(UTF8_BOM);
    k.vowels = valid && ((holds("\xD0\xB0") && holds("\xD0\xB5") && holds("\xD0\xBE") && holds("\xD0\xB8")) ||
                         (holds("\xD0\x90") && holds("\xD0\x95") && holds("\xD0\x9E") && holds("\xD0\x98")));
    if (!k.bom && !k.vowels) k.rtf = text.starts_with("{\\rtf") || text.starts_with("{rtf");
    // The vowels alone would leave a valid UTF-8 text without all four of them (an English text
    // with typographic quotes, a short Bulgarian one) unconverted in the 8-bit outputs.
    k.utf8 = k.bom || k.vowels || (!k.rtf && is_utf8_text(text));
    k.ansi = !k.utf8 && !k.rtf;
    return k;
}

std::string utf8_text_to_cp1251(std::string_view utf8) {
    if (utf8.starts_with(UTF8_BOM)) utf8.remove_prefix(UTF8_BOM.size());
    return utf8_to_cp1251(utf8, '\x06');
}

namespace {

bool is_break(char c) { return c == '\n' || c == '\r'; }

// Passes 1 and 2 of the fixer: a tag opened by `open` right after a line break and a TAB, closed
// by `close` at the end of its line, goes with the line break before it.
void remove_tag_lines(std::string& text, std::string_view open, char close) {
    std::size_t p = 0;
    while ((p = text.find(open, p)) != std::string::npos) {
        if (p <= 2 || text[p - 1] != '\t' || !is_break(text[p - 2])) {
            p += open.size();
            continue;
        }
        std::size_t q = p + open.size();
        bool closed = false;
        for (; q < text.size(); ++q) {
            const char c = text[q];
            if (c == '\0' || is_break(c)) break;
            if (c == close && (q + 1 == text.size() || is_break(text[q + 1]))) {
                closed = true;
                break;
            }
        }
        if (!closed) {
            p += open.size();
            continue;
        }
        std::size_t start = p - 2;
        const char a = text[p - 3], b = text[p - 2];
        if ((a == '\r' && b == '\n') || (a == '\n' && b == '\r')) start = p - 3;
        text.erase(start, q + 1 - start);
        p = start;
    }
}

// Pass 3: an image tag closed on its own line, with one blank before it.
void remove_inline_images(std::string& text) {
    constexpr std::string_view open = "{img:";
    std::size_t p = 0;
    while ((p = text.find(open, p)) != std::string::npos) {
        std::size_t q = p + open.size();
        while (q < text.size() && text[q] != '}' && text[q] != '\0' && !is_break(text[q])) ++q;
        if (q >= text.size() || text[q] != '}') {
            p += open.size();
            continue;
        }
        const std::size_t start = p > 0 && text[p - 1] == ' ' ? p - 1 : p;
        text.erase(start, q + 1 - start);
        p = start;
    }
}

void replace_all(std::string& text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t p = 0;
    for (std::size_t hit; (hit = text.find(from, p)) != std::string::npos; p = hit + from.size()) {
        out.append(text, p, hit - p);
        out += to;
    }
    out.append(text, p);
    text = std::move(out);
}

}  // namespace

void fix_txt(std::string& text) {
    remove_tag_lines(text, "[*", ']');
    remove_tag_lines(text, "{img:", '}');
    remove_inline_images(text);
    replace_all(text, "{sub}", " ");
    replace_all(text, "{sup}", " ");
    replace_all(text, "{/sub}", "");
    replace_all(text, "{/sup}", "");
    std::erase(text, '\xAD');
}

// ---- The walks ----------------------------------------------------------------------------------

namespace {

// False when the report could not be written (noted with its name for the command's end box).
bool write_report(std::string_view s) { return !gl_fl_stat || write_out(gl_fl_stat, s); }

bool append_text(FILE* f, std::string_view text) {
    return !f || (write_out(f, text) && write_out(f, "\r\n\r\n"));
}

// An output of the running tool could not be written (a full disk): the walk stops there.
bool outputs_failed() {
    return out_error(gl_fl_stat) || out_error(gl_fl_concatenated) || out_error(gl_fl_concatenated_ansi);
}

bool file_line(const WalkFile& f) {
    return write_report(jux_format("%s   %s   %u\r\n", folder_text(f.folder).c_str(), f.name.c_str(),
                            static_cast<std::uint32_t>(f.size)));
}

void folder_line(const std::filesystem::path& folder, std::uint64_t bytes, std::uint32_t files) {
    write_report(jux_format("\r\nFolder Size %llu  File count: %u  %s\r\n\r\n", static_cast<unsigned long long>(bytes),
                            files, folder_text(folder).c_str()));
}

void entering_line(const std::filesystem::path& folder) {
    write_report(jux_format("Entering dir: %s\r\n", folder_text(folder).c_str()));
}

void not_text_line(const WalkFile& f) {
    write_report(jux_format("\r\nNot a text file, not converted: %s%s\r\n", folder_text(f.folder).c_str(), f.name.c_str()));
}

void error_box(const std::string& text) { MessageBoxA(HWND{}, text, "Oops!", MB_OK | MB_ICONERROR); }

std::string failure_text(const char* what, const std::string& name, int err) {
    return jux_format("\r\n%s %s, reason: %s, (errno = %d)\r\n", what, name.c_str(), std::strerror(err), err);
}

// Opens the file and reads it whole; the open file (at its end) or null with the error number in
// `err`.
FILE* open_and_read(const std::filesystem::path& file, std::string& bytes, int& err) {
    FILE* in = open_regular_for_reading(file, &err);
    if (!in) return nullptr;
    bytes.clear();
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) bytes.append(chunk, got);
    if (std::ferror(in)) {
        err = errno ? errno : EIO;
        std::fclose(in);
        return nullptr;
    }
    return in;
}

bool read_whole(const std::filesystem::path& file, std::string& bytes, int& err) {
    FILE* in = open_and_read(file, bytes, err);
    if (in) std::fclose(in);
    return in != nullptr;
}

// Writes a copy whole ("wb+"); a copy that cannot be written whole is removed again.
bool write_copy(const std::filesystem::path& file, std::string_view bytes, int& err) {
    FILE* out = std::fopen(file.c_str(), "wb+");
    if (!out) {
        err = errno;
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (!ok) err = errno ? errno : EIO;
    if (std::fclose(out) != 0 && ok) {
        ok = false;
        err = errno ? errno : EIO;
    }
    if (!ok) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
    }
    return ok;
}

bool has_nul(std::string_view bytes) { return bytes.find('\0') != std::string_view::npos; }

// The result folder is there: the copies have a place (else the tool says so and writes nothing).
bool result_folder_ready(void (*report)(const std::string&)) {
    std::error_code ec;
    if (!gl_dir_res.empty() && std::filesystem::is_directory(gl_dir_res, ec)) return true;
    report(failure_text("1Cannot create folder", path_to_cp1251(gl_dir_res), ec ? ec.value() : ENOENT));
    return false;
}

// Whether a walked folder lies in the result folder (a link in the source tree may lead there):
// the tools never read back what they write.
class ResultGuard {
public:
    ResultGuard() {
        std::error_code ec;
        res_ = std::filesystem::weakly_canonical(gl_dir_res, ec);
        if (ec) res_.clear();
    }
    bool inside(const std::filesystem::path& folder) {
        if (res_.empty()) return false;
        const auto [it, fresh] = seen_.try_emplace(folder, false);
        if (fresh) {
            std::error_code ec;
            const auto real = std::filesystem::canonical(folder, ec);
            if (!ec) {
                const auto rel = real.lexically_relative(res_);
                it->second = !rel.empty() && *rel.begin() != "..";
            }
        }
        return it->second;
    }

private:
    std::filesystem::path res_;
    std::map<std::filesystem::path, bool> seen_;
};

// The mirrored result tree of the mirroring converter and the fixer.
class Mirror {
public:
    Mirror(std::filesystem::path top, std::function<void(const std::string&)> report)
        : top_(std::move(top)), report_(std::move(report)) {}

    // The folder where the copy of a file of `source` goes, made when missing; empty when it
    // cannot be had (said once per folder). A result folder that is gone stops the tool.
    std::optional<std::filesystem::path> folder_for(const std::filesystem::path& source) {
        std::error_code ec;
        if (!std::filesystem::is_directory(gl_dir_res, ec)) {
            report_(failure_text("1Cannot create folder", path_to_cp1251(gl_dir_res), ec ? ec.value() : ENOENT));
            stopped = true;
            return std::nullopt;
        }
        if (source == last_source_) return last_folder_;
        last_source_ = source;
        last_folder_.reset();
        const std::filesystem::path part = source.lexically_relative(top_);
        std::filesystem::path dest = gl_dir_res;
        for (const auto& component : part) {
            if (component.empty() || component == ".") continue;
            dest /= component;
            if (std::filesystem::is_directory(dest, ec)) continue;
            if (!std::filesystem::create_directory(dest, ec) && !std::filesystem::is_directory(dest)) {
                report_(failure_text("2Cannot create folder", folder_text(part), ec ? ec.value() : EEXIST));
                return last_folder_;
            }
        }
        last_folder_ = dest;
        return last_folder_;
    }

    bool stopped = false;

private:
    std::filesystem::path top_;
    std::function<void(const std::string&)> report_;
    std::filesystem::path last_source_;
    std::optional<std::filesystem::path> last_folder_;
};

// A file's action whose outputs hold the file whole or not at all: when it is not taken (it could
// not be read, or an output could not be written), its line in the report and what it put into
// the concatenations are taken back, so that they list and hold only what was written.
WalkTaken taken_whole(const WalkFile& f, const std::function<WalkTaken(const WalkFile&)>& action) {
    FILE* const outputs[] = {gl_fl_stat, gl_fl_concatenated, gl_fl_concatenated_ansi};
    off_t before[std::size(outputs)];
    for (std::size_t i = 0; i < std::size(outputs); ++i) before[i] = outputs[i] ? ::ftello(outputs[i]) : -1;
    const WalkTaken taken = action(f);
    if (taken == WalkTaken::Failed || taken == WalkTaken::Unwritten)
        for (std::size_t i = 0; i < std::size(outputs); ++i)
            if (before[i] >= 0) cut_out_back(outputs[i], static_cast<std::uint64_t>(before[i]));
    return taken;
}

// The walk of the converters and the fixer: file lines for every file, folder and entering lines;
// the walk stops when an output cannot be written.
FolderTool reporting_tool() {
    FolderTool tool;
    tool.empty_file = [](const WalkFile& f) { file_line(f); };
    tool.cancelled = outputs_failed;
    tool.folder_done = folder_line;
    tool.entering = entering_line;
    return tool;
}

// The mirroring tools: `make_copy` turns a text into its copy.
void mirror_walk(const std::filesystem::path& folder, std::string (*make_copy)(std::string&&)) {
    if (!result_folder_ready(error_box)) return;
    FolderTool tool = reporting_tool();
    tool.report = error_box;
    Mirror mirror(folder, error_box);
    ResultGuard guard;
    tool.cancelled = [&mirror] { return mirror.stopped || outputs_failed(); };
    tool.file_action = [&](const WalkFile& file) { return taken_whole(file, [&](const WalkFile& f) {
        if (guard.inside(f.folder)) return WalkTaken::NotTaken;
        const std::optional<std::filesystem::path> dest = mirror.folder_for(f.folder);
        if (mirror.stopped) return WalkTaken::Failed;
        if (!file_line(f)) return WalkTaken::Unwritten;
        if (!dest) return WalkTaken::Failed;
        std::string bytes;
        int err = 0;
        if (!read_whole(f.path, bytes, err)) {
            error_box(cannot_process_text(f.name, err));
            return WalkTaken::Failed;
        }
        if (has_nul(bytes)) not_text_line(f);
        else bytes = make_copy(std::move(bytes));
        if (write_copy(*dest / f.path.filename(), bytes, err)) return WalkTaken::Taken;
        error_box(failure_text("2Cannot create file", f.name, err));
        return WalkTaken::Unwritten;
    }); };
    walk_folder(folder, tool);
}

}  // namespace

void dir_to_list(const std::filesystem::path& folder) {
    if (!result_folder_ready(report_to_stat_log)) return;
    FolderTool tool = reporting_tool();
    ResultGuard guard;
    tool.file_action = [&guard](const WalkFile& file) { return taken_whole(file, [&guard](const WalkFile& f) {
        if (guard.inside(f.folder)) return WalkTaken::NotTaken;
        if (!file_line(f)) return WalkTaken::Unwritten;
        std::string bytes;
        int err = 0;
        if (!read_whole(f.path, bytes, err)) {
            report_to_stat_log(cannot_process_text(f.name, err));
            return WalkTaken::Failed;
        }
        if (has_nul(bytes)) {
            not_text_line(f);
            return WalkTaken::Taken;
        }
        const FolderTextKind kind = folder_text_kind(bytes);
        if (kind.utf8) {
            std::error_code ec;
            const std::string text = utf8_text_to_cp1251(bytes);
            const std::string copy = jux_format("%06u_", gl_file_index++) + f.path.filename().string();
            if (!write_copy(gl_dir_res / copy, text, err)) {
                const std::string failure = failure_text("2Cannot create file", utf8_to_cp1251(copy), err);
                report_to_stat_log(failure);
                note_write_failure(failure.substr(2));
                return WalkTaken::Unwritten;
            }
            if (!append_text(gl_fl_concatenated, text)) {
                std::filesystem::remove(gl_dir_res / copy, ec);  // the file is converted whole or not at all
                return WalkTaken::Unwritten;
            }
        } else if (kind.ansi && !append_text(gl_fl_concatenated_ansi, bytes)) {
            return WalkTaken::Unwritten;
        }
        return WalkTaken::Taken;
    }); };
    walk_folder(folder, tool);
}

void dir_to_list_noconcat(const std::filesystem::path& folder) {
    mirror_walk(folder, [](std::string&& bytes) {
        return folder_text_kind(bytes).utf8 ? utf8_text_to_cp1251(bytes) : std::move(bytes);
    });
}

void dir_to_fix_txt(const std::filesystem::path& folder) {
    mirror_walk(folder, [](std::string&& bytes) {
        fix_txt(bytes);
        return std::move(bytes);
    });
}

// ---- The pair loaders ---------------------------------------------------------------------------

namespace {

// Which of the pair a folder has loaded so far.
struct PairLoad {
    bool en = false;
    bool bg = false;
    bool both() const { return en && bg; }
};

// Loads a taken "EN_" or "BG_" file into its panel. NotTaken for every other file.
WalkTaken load_pair_file(const WalkFile& f, PairLoad& pair, bool report_line) {
    const bool en = !pair.en && f.name.starts_with("EN_");
    const bool bg = !en && !pair.bg && f.name.starts_with("BG_");
    if (!en && !bg) return WalkTaken::NotTaken;
    if (report_line) file_line(f);
    int err = 0;
    std::string bytes;
    FILE* in = open_and_read(f.path, bytes, err);
    if (!in) {
        report_to_stat_log(cannot_process_text(f.name, err));
        return WalkTaken::Failed;
    }
    const FolderTextKind kind = folder_text_kind(bytes);
    const HWND panel = en ? hBigReRight : hBgTextRe;
    SetWindowTextW(en ? hBig : hBgText,
                   cp1251_to_utf16(jux_format(" %s%s  %u", folder_text(f.folder).c_str(), f.name.c_str(),
                                              static_cast<std::uint32_t>(f.size))));
    if (en) {
        // The checker's text now comes from this file: its Save proposes this file, never the
        // Bulgarian one loaded beside it nor a file loaded before.
        record_dropped_path(f.path);
        if (bulk_from_file_hook) bulk_from_file_hook();
        set_line_end_flags(bytes);
        gl_fg_utf8header = kind.bom ? 1 : 0;
        gl_fg_ansi = kind.ansi ? 1 : 0;
    }
    bool loaded = false;
    if (kind.rtf) loaded = StreamRtfStringIntoRichEdit(bytes, panel) != 0;
    else if (kind.utf8) {
        std::string_view body(bytes);
        if (body.starts_with(UTF8_BOM)) body.remove_prefix(UTF8_BOM.size());
        // NUL characters become blanks, as in a dropped file: the panel keeps what follows them
        // and a save writes no NUL back.
        std::u16string text = utf8_to_utf16(body);
        std::replace(text.begin(), text.end(), u'\0', u' ');
        StringToRE1200def(panel, text);
        loaded = true;
    }
    if (!loaded) {
        std::rewind(in);
        StreamFileIntoRichEdit(in, panel);
    }
    closefile(in, "ZZZZ");
    if (en) note_checker_text_is_files(f.path, kind.utf8);
    (en ? pair.en : pair.bg) = true;
    return pair.both() ? WalkTaken::TakenEndPass : WalkTaken::Taken;
}

}  // namespace

void dir_to_list_bulk(const std::filesystem::path& folder, std::int8_t test) {
    FolderTool tool;
    PairLoad pair;
    tool.folder_done = [&pair](const std::filesystem::path& dir, std::uint64_t bytes, std::uint32_t files) {
        folder_line(dir, bytes, files);
        pair = PairLoad{};
    };
    tool.entering = entering_line;
    tool.cancelled = [] { return bulk_cancelled_hook && bulk_cancelled_hook(); };
    tool.file_action = [&pair, test](const WalkFile& f) {
        const WalkTaken taken = load_pair_file(f, pair, true);
        if (taken == WalkTaken::TakenEndPass) {
            find_bg_part(0, 1, 1, test, 0);
            ++gl_CORPUS_FILE_INDEX;
        }
        return taken;
    };
    walk_folder(folder, tool);
}

void dir_to_list_bulk2(const std::filesystem::path& folder) {
    FolderTool tool;
    PairLoad pair;
    tool.sub_folders = false;
    tool.count = false;
    tool.file_action = [&pair](const WalkFile& f) { return load_pair_file(f, pair, false); };
    walk_folder(folder, tool);
}

void find_bg_part(std::int8_t, std::int8_t, std::int8_t, std::int8_t, std::int8_t) {
    if (!IsWindow(hBgText)) return;
}

// ---- The main window's commands -----------------------------------------------------------------

std::filesystem::path result_folder_of(const std::filesystem::path& picked) {
    std::string s = picked.string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return std::filesystem::path(s + "_res");
}

namespace {

struct BulkCommand {
    std::u16string_view title;            // the command's label, the folder chooser's title
    std::string_view report;              // the report file in the data folder
    bool concatenate = false;             // also "bulk_concatenated.txt" and "bulk_concatenated_ansi.txt"
    void (*tool)(const std::filesystem::path&);
};

constexpr std::string_view kConcatenated = "bulk_concatenated.txt";
constexpr std::string_view kConcatenatedAnsi = "bulk_concatenated_ansi.txt";

void run_bulk_command(HWND owner, const BulkCommand& cmd) {
    reset_walk_counters();
    auto close_all = [&cmd] {
        closefile(gl_fl_stat, cmd.report);
        closefile(gl_fl_concatenated, kConcatenated);
        closefile(gl_fl_concatenated_ansi, kConcatenatedAnsi);
        gl_fl_stat = gl_fl_concatenated = gl_fl_concatenated_ansi = nullptr;
    };
    gl_fl_stat = make_fl(dir_alt, cmd.report);
    if (gl_fl_stat && cmd.concatenate) {
        gl_fl_concatenated = make_fl(dir_alt, kConcatenated);
        if (gl_fl_concatenated) gl_fl_concatenated_ansi = make_fl(dir_alt, kConcatenatedAnsi);
    }
    if (!gl_fl_stat || (cmd.concatenate && !gl_fl_concatenated_ansi)) {
        close_all();  // make_fl has told the user
        return;
    }
    const std::optional<std::filesystem::path> top = PL_BrowseForFolder(owner, cmd.title);
    if (!top) {
        close_all();
        return;
    }
    gl_dir_res = result_folder_of(*top);
    gl_dir_orig = *top;
    std::error_code ec;
    std::filesystem::create_directory(gl_dir_res, ec);
    if (!std::filesystem::is_directory(gl_dir_res)) {
        error_box(failure_text("1Cannot create folder", path_to_cp1251(gl_dir_res), ec ? ec.value() : EEXIST));
        close_all();
        return;
    }
    std::string where = jux_format("The result will be written in \"%s\".", path_to_cp1251(gl_dir_res).c_str());
    if (cmd.concatenate) where += "\nThe concatenated files will be in \"alt\".";
    MessageBoxA(owner, where, "In a few moments..", MB_OK | MB_ICONINFORMATION);
    cmd.tool(*top);
    close_all();
    show_walk_counters(owner);
}

}  // namespace

void convert_bulk_concatenate(HWND owner) {
    run_bulk_command(owner, {u"Convert bulk UTF8 to ANSI and concatenate", "bulk_utf8-to-ansi_report.txt", true, dir_to_list});
}

void convert_bulk(HWND owner) {
    run_bulk_command(owner, {u"Convert bulk UTF8 to ANSI", "bulk_utf8-to-ansi_report.txt", false, dir_to_list_noconcat});
}

void fix_txt_bulk(HWND owner) {
    run_bulk_command(owner, {u"Fix txt", "bulk_fix_txt.txt", false, dir_to_fix_txt});
}
