#include "shell/panels.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>

#include "platform/hash.h"
#include "platform/text.h"
#include "shell/encoding.h"
#include "shell/files.h"
#include "shell/window_state.h"

namespace {

bool is_panel(HWND re) { return IsWindow(re) && PL_GetControlKind(re) == ControlKind::RichEdit; }

template <class S>
void nul_to_blank(S& s) {
    std::replace(s.begin(), s.end(), typename S::value_type{0}, typename S::value_type{' '});
}

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void show_oops(const std::string& text) { MessageBoxA(hMain, text, "Oops!", MB_OK | MB_ICONERROR); }

void show_cannot_open(const std::filesystem::path& file, int err) {
    show_oops(jux_format("Cannot open %s, reason: %s, (errno = %d)\n", path_to_cp1251(file).c_str(),
                         std::strerror(err), err));
}

// The whole file, or nullopt after the message that says why not.
std::optional<std::string> read_dropped(const std::filesystem::path& file) {
    int open_err = 0;
    FILE* f = open_regular_for_reading(file, &open_err);
    if (!f) {
        show_cannot_open(file, open_err);
        return std::nullopt;
    }
    struct stat st {};
    if (fstat(fileno(f), &st) != 0) {
        const int err = errno ? errno : EIO;
        std::fclose(f);
        show_cannot_open(file, err);
        return std::nullopt;
    }
    if (static_cast<std::uintmax_t>(st.st_size) >= DROPPED_FILE_LIMIT) {
        std::fclose(f);
        show_oops("The file is too large");
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    const std::size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), f);
    const bool failed = std::ferror(f) != 0;
    const int err = errno;
    std::fclose(f);
    if (failed) {
        show_cannot_open(file, err ? err : EIO);
        return std::nullopt;
    }
    bytes.resize(got);
    return bytes;
}

void load_8bit(HWND re, std::string bytes) {
    gl_fg_ansi = 1;
    set_line_end_flags(bytes);
    nul_to_blank(bytes);
    RE_StreamIn(re, SF_TEXT, bytes);
}

}  // namespace

void record_dropped_path(const std::filesystem::path& file) {
    bool garbled = false;
    std::string a = utf8_to_cp1251(file.string(), '?', &garbled);
    if (garbled || a.size() >= DROPPED_PATH_ROOM) a.clear();
    gl_dropped = std::move(a);
    gl_dropped_path = file;
}

namespace {
std::uint64_t checker_text_print() {
    const std::u16string text = RE_GetTextW(hBigReRight, GT_DEFAULT);
    return word_hash(std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)));
}
}  // namespace

void note_checker_text_is_files(const std::filesystem::path& file, bool utf8) {
    if (IsWindow(hBigReRight)) gl_file_text = FileText{file, checker_text_print(), utf8};
    else gl_file_text.reset();
}

bool checker_text_changed_since_file() {
    return gl_file_text && IsWindow(hBigReRight) && checker_text_print() != gl_file_text->print;
}

void set_line_end_flags(std::string_view bytes) {
    gl_0D0A = gl_0A = gl_0D = 0;
    if (bytes.find("\r\n") != std::string_view::npos) gl_0D0A = 1;
    else if (bytes.find('\n') != std::string_view::npos) gl_0A = 1;
    else if (bytes.find('\r') != std::string_view::npos) gl_0D = 1;
}

// ---- Messages and text in -------------------------------------------------------------------

void SelectReEnd(HWND re, CHARRANGE& cr) {
    RE_SetSel(re, CHARRANGE{-1, -1});
    cr = RE_GetSel(re);
}

void JuxShowMessage(HWND re, std::string_view text, int n) {
    if (!is_panel(re)) return;
    // UTF-16 with the panel's own line ends ('\r'): a line without a line feed of its own goes in
    // without another copy (the reports write their findings a line at a time, thousands of them).
    std::u16string s = cp1251_to_utf16(text);
    s.append(static_cast<std::size_t>(std::max(n, 0)), u'\r');
    CHARRANGE end;
    SelectReEnd(re, end);
    RE_SetTextW(re, s, ST_SELECTION);
    RE_Scroll(re, SB_BOTTOM);
    UpdateWindow(re);
}

void JuxShowMessageW(HWND re, std::u16string_view text, int n) {
    if (!is_panel(re)) return;
    std::u16string s(text);
    for (int i = 0; i < n; ++i) s += u"\r\n";
    CHARRANGE end;
    SelectReEnd(re, end);
    RE_SetTextW(re, s, ST_SELECTION);
    RE_Scroll(re, SB_BOTTOM);
    UpdateWindow(re);
}

void StringToRE(HWND re, std::string_view text) {
    if (!is_panel(re)) return;
    RE_SetTextEx(re, text, CP_1251, ST_SELECTION | ST_KEEPUNDO);
    SetFocus(re);
}

void StringToRE1200(HWND re, std::u16string_view text) {
    if (!is_panel(re)) return;
    RE_SetTextW(re, text, ST_SELECTION | ST_KEEPUNDO);
    SetFocus(re);
}

void StringToREdef(HWND re, std::string_view text) { RE_SetTextEx(re, text, CP_1251, ST_DEFAULT); }

void StringToRE1200def(HWND re, std::u16string_view text) { RE_SetTextW(re, text, ST_DEFAULT); }

int StreamRtfStringIntoRichEdit(std::string_view rtf, HWND re) { return RE_StreamIn(re, SF_RTF, rtf) ? 1 : 0; }

std::int64_t StreamFileIntoRichEdit(FILE* f, HWND re) {
    if (!f || !is_panel(re)) return -1;
    std::string data;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.append(chunk, got);
    nul_to_blank(data);
    RE_StreamIn(re, SF_TEXT, data);
    return static_cast<std::int64_t>(data.size());
}

// ---- Files dropped or opened --------------------------------------------------------------------

int dropped_file(const Msg* drop, HWND re, const std::filesystem::path& path) {
    std::filesystem::path file = path;
    if (file.empty() && drop && !drop->files.empty()) file = drop->files.front();
    if (file.empty() || !is_panel(re)) return 0;
    std::error_code ec;
    if (std::filesystem::path full = std::filesystem::absolute(file, ec); !ec) file = full.lexically_normal();

    std::optional<std::string> bytes = read_dropped(file);
    if (!bytes) return 0;

    // The checker's text: its state is begun afresh. The main window's entry box takes the file to
    // be looked up, and leaves the checker's text, file and title as they are.
    const bool text_panel = hBigReRight && re == hBigReRight;
    if (text_panel) reset_loaded_text_state();
    if (text_panel || (hAddReShort && re == hAddReShort)) RE_SetEventMask(re, RE_GetEventMask(re) | ENM_CHANGE);
    record_dropped_path(file);
    gl_0D0A = gl_0A = gl_0D = 0;
    gl_fg_utf8header = gl_fg_ansi = 0;

    std::u16string title = u" ";
    title += utf8_to_utf16(file.string());
    if (text_panel) SetWindowTextW(hBig, title);
    else if (hBgTextRe && re == hBgTextRe) SetWindowTextW(hBgText, title);

    const TextKind kind = classify_text(*bytes);
    switch (kind) {
        case TextKind::Utf8Bom:
            gl_fg_utf8header = 1;
            [[fallthrough]];
        case TextKind::Utf8: {
            set_line_end_flags(*bytes);
            std::string_view body(*bytes);
            if (body.starts_with(UTF8_BOM)) body.remove_prefix(UTF8_BOM.size());
            std::u16string text = utf8_to_utf16(body);
            nul_to_blank(text);
            StringToRE1200def(re, text);
            break;
        }
        case TextKind::Rtf:
            if (!StreamRtfStringIntoRichEdit(*bytes, re)) load_8bit(re, std::move(*bytes));
            break;
        case TextKind::Ansi:
            load_8bit(re, std::move(*bytes));
            break;
    }
    // A file in rich text is no UTF-8 file: its text is saved as a typed one is.
    if (text_panel) note_checker_text_is_files(file, kind == TextKind::Utf8 || kind == TextKind::Utf8Bom);
    return 1;
}

// ---- Clipboard --------------------------------------------------------------------------------

int CopyToClipboard(std::u16string_view text) {
    std::size_t n = std::min(text.size(), CLIPBOARD_COPY_LIMIT);
    if (n < text.size() && n > 0 && is_high_surrogate(text[n - 1]) && is_low_surrogate(text[n])) --n;
    gl_clipboard_translation = 0;
    return PL_SetClipboardTextW(text.substr(0, n)) ? 1 : 0;
}
