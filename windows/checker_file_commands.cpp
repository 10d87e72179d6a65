#include "windows/checker_file_commands.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "audio/pronunciation.h"
#include "engine/token_store.h"
#include "lexicon/listfile.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "resources/checker.h"
#include "resources/resources.h"
#include "shell/files.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/checker_commands.h"
#include "windows/checker_state.h"
#include "windows/checker_web.h"
#include "windows/help_pages.h"

namespace {

constexpr int IDM_BIG_OPEN = 9219;
constexpr int IDM_BIG_SAVE = 9220;
constexpr int IDM_BIG_SAVE_UTF8 = 9221;
constexpr int IDM_BIG_FONT = 9222;
constexpr int IDM_BIG_NEW_VERSION = 9223;
constexpr int IDM_BIG_ABOUT = 9228;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kDefaultExtension = ".txt";

// The local help pages in the start folder.
struct HelpPage {
    int id;
    std::string_view file;
};
constexpr std::array kHelpPages{
    HelpPage{9224, "help_spellchecker.html"},
    HelpPage{9225, "help_color_filter.html"},
    HelpPage{9226, "help_bulgarian_verb_types.html"},
    HelpPage{9227, "help_bulgarian_nouns_adjectives.html"},
};

constexpr std::u16string_view kCredits =
    u"Credits:\n"
    u"English word forms: the word lists of the project's lexicon\n"
    u"English definitions: the dictionary entries of the project's lexicon\n"
    u"Pronunciations: the recorded clips of the audio archive\n"
    u"Name frequencies: the name lists of the project's lexicon\n"
    u"Online translation: Google Translate\n"
    u"Bulgarian word forms: the Bulgarian morphology of the project's lexicon\n"
    u"Bulgarian inflection tables: the inflection types of the project's lexicon\n"
    u"etc.";

const std::vector<FileFilter> kAllFiles{FileFilter{u"All Files (*.*)", u"*"}};

// The error number of entering the folder (0 when it can be entered).
int folder_error(const std::filesystem::path& folder) {
    errno = 0;
    if (::access(folder.c_str(), X_OK) != 0) return errno ? errno : ENOENT;
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return ENOTDIR;
    return 0;
}

// The checker's file (the one last opened or dropped; a trailing '/' is no part of its name), ""
// when there is none.
std::filesystem::path checker_file() {
    const std::filesystem::path file = gl_dropped.empty() ? gl_dropped_path : fl_path({}, gl_dropped);
    if (file.empty()) return {};
    return file.has_filename() || !file.has_parent_path() ? file : file.parent_path();
}

std::filesystem::path folder_of(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::current_path();
}

// Where the open dialog starts: where the save dialog would, the checker's file's folder, else
// the start folder (also when that folder cannot be entered now).
std::filesystem::path open_start() {
    const std::filesystem::path file = checker_file();
    if (!file.empty() && folder_error(folder_of(file)) == 0) return folder_of(file);
    return start_dir;
}

void open_command(HWND dlg) {
    const std::optional<std::filesystem::path> chosen = GetOpenFileNameW(dlg, u"Отвори", kAllFiles, open_start());
    if (!chosen) return;
    prepare_for_file(dlg);
    dropped_file(nullptr, hBigReRight, *chosen);
    SetForegroundWindow(GetParent(hBigReLeft));
    RE_SetSel(hBigReRight, CHARRANGE{0, 0});
}

// Where the save dialog starts: the file last opened, else "FILE.txt" in the start folder;
// `opened_name` takes the opened file's name ("" when none, else as the system names it).
// Nullopt, after the message, when the opened file's folder cannot be entered. The file is
// proposed by its whole path, whatever characters its name has (gl_dropped cannot hold a name
// that code page 1251 cannot write).
std::optional<std::filesystem::path> save_start(std::string& opened_name) {
    opened_name.clear();
    const std::filesystem::path named = checker_file();
    if (named.empty()) return start_dir / "FILE.txt";
    opened_name = named.filename().string();
    const std::filesystem::path folder = folder_of(named);
    if (const int err = folder_error(folder)) {
        MessageBoxA(hMain,
                    jux_format("Cannot change to folder %s, reason: %s, (errno = %d)\n", path_to_cp1251(named).c_str(),
                               std::strerror(err), err),
                    "Oops!", MB_OK | MB_ICONERROR);
        return std::nullopt;
    }
    return folder / named.filename();
}

// A name typed without extension takes ".txt"; a file of that name is replaced only when the user
// says so (the dialog asked about the name as typed).
bool add_default_extension(HWND dlg, std::filesystem::path& file) {
    if (file.has_extension()) return true;
    file += kDefaultExtension;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return true;
    return MessageBoxA(dlg, jux_format("%s already exists. Replace it?", path_to_cp1251(file).c_str()), "Oops!",
                       MB_YESNO | MB_ICONWARNING) == IDYES;
}

// Whether Save writes UTF-8: when the text's file is UTF-8 (the file it was opened from or last
// saved to). A text typed or pasted in, or opened from a file in code page 1251 or in rich text,
// is saved in code page 1251.
bool save_in_utf8() { return gl_file_text && gl_file_text->utf8; }

// Saves the right panel through the save dialog, which proposes `file` (by default the file last
// opened, save_start); true when it was written.
bool save_command(HWND dlg, bool utf8, std::filesystem::path file = {}) {
    hReFocus = hBigReRight;
    std::string opened_name = file.filename().string();
    const std::optional<std::filesystem::path> start = file.empty() ? save_start(opened_name) : file;
    if (!start) return false;
    std::optional<std::filesystem::path> chosen =
        GetSaveFileNameW(dlg, utf8 ? u"Запиши като UTF-8 файл" : u"Запиши", kAllFiles, *start);
    if (!chosen || RE_GetTextLength(hBigReRight) == 0) return false;
    if (!add_default_extension(dlg, *chosen)) return false;
    bool lossy = false;
    std::string bytes = checker_saved_bytes(utf8, &lossy);
    if (lossy) {
        const int answer = MessageBoxA(
            dlg,
            "The text holds characters that code page 1251 cannot show; saved in it they would become '?'.\n\n"
            "Yes: save it as UTF-8 instead.  No: save it in code page 1251 all the same.",
            "Oops!", MB_YESNOCANCEL | MB_ICONWARNING);
        if (answer == IDCANCEL) return false;
        if (answer == IDYES) {
            utf8 = true;
            bytes = checker_saved_bytes(true);
        }
    }
    // The text goes to a temporary file that then replaces the chosen one: a full disk never
    // leaves a half-written text in place of the old file. The temporary files an earlier save of
    // this document left when it was killed go first.
    remove_stale_temporary_files_of(*chosen);
    if (!write_file_safely(*chosen, bytes)) {
        tell_cannot_write(hMain, *chosen, errno);
        return false;
    }
    if (gl_SPELL_CHECKER_LOG && !gl_log.empty()) {
        const std::filesystem::path log = start->parent_path() / ("LOG_" + opened_name);
        remove_stale_temporary_files_of(log);
        if (!write_file_safely(log, checker_log_text(path_to_cp1251(opened_name)))) tell_cannot_write(hMain, log, errno);
    }
    // A close asks before a later change of the text is lost.
    note_checker_text_is_files(*chosen, utf8);
    std::u16string done = u"Файлът е записан под името ";
    done += utf8_to_utf16(chosen->string());
    MessageBoxW(dlg, done, u"Done!", MB_OK | MB_ICONINFORMATION);
    return true;
}

void font_command(HWND dlg) {
    const std::optional<LOGFONTW> chosen = ChooseFontW(dlg, PL_GetFontInfo(hFont).value_or(LOGFONTW{}));
    if (!chosen) return;
    const HFONT font = CreateFontIndirectW(*chosen);
    if (!font) {
        MessageBoxW(hMain, u"Bad Font", u"Oops!", MB_OK | MB_ICONERROR);
        return;
    }
    hFont = font;
    for (HWND re : {hBigReLeft, hBigReRight, hBigReBot}) SetWindowFont(re, hFont, true);
}

void help_page(std::string_view file) {
    const std::filesystem::path page = start_dir / std::string(file);
    // A page made from the program's tables is made again from the tables in use now (the
    // inflection types of the data folder's lexicon, not of the one the kept page was made from).
    // When it cannot be written, the user is told why, and no page is opened: the page there may
    // describe another lexicon.
    for (const GeneratedHelpPage& g : generated_help_pages())
        if (file == g.file) {
            remove_stale_temporary_files_of(page);
            if (!write_file_safely(page, g.make())) {
                tell_cannot_write(hMain, page, errno);
                return;
            }
        }
    errno = 0;
    if (::access(page.c_str(), R_OK) != 0) {
        const int err = errno ? errno : ENOENT;
        std::u16string text = u"Cannot open ";
        text += utf8_to_utf16(page.string());
        text += utf8_to_utf16(jux_format(", reason: %s, (errno = %d)\n", std::strerror(err), err));
        MessageBoxW(hMain, text, u"Oops!", MB_OK | MB_ICONERROR);
        return;
    }
    open_with_desktop(page.string());
}

void about_box(HWND dlg) {
    std::u16string text = JUXtitleS;
    if (!text.empty() && text.front() == u' ') text.erase(0, 1);
    text += u"\n\n\n\n";
    text += kCredits;
    MessageBoxW(dlg, text, u"About", MB_OK);
}

// Reads the checked text aloud word by word: every token of the last check, in order.
void read_aloud() {
    gl_from_audio_button_read = 1;
    SetFocus(hReFocus);
    empty_ogg_folder();
    gl_ogg_index = 1;
    if (sen_floor)
        for (const SenToken* r = sen_floor; r < sen_nd; ++r) say_word(r->text);
    gl_from_audio_button_read = 0;
}

}  // namespace

std::string checker_saved_bytes(bool utf8, bool* lossy) {
    // A text typed or pasted in (no line-end flag) is saved with LF, as a text loaded with LF.
    const std::u16string text = RE_GetTextW(hBigReRight, gl_0D0A ? GT_USECRLF : GT_DEFAULT);
    std::string bytes = utf8 ? utf16_to_utf8(text) : utf16_to_cp1251(text, '?', lossy);
    if (bytes.find("\r\n") == std::string::npos && !gl_0D)
        for (char& c : bytes)
            if (c == '\r') c = '\n';
    if (utf8 && (gl_fg_utf8header || gl_fg_ansi)) bytes.insert(0, kBom);
    return bytes;
}

std::string checker_log_text(std::string_view opened_name) {
    std::string log = jux_format("|\t%s\r\n\r\n", std::string(opened_name).c_str());
    log += gl_log;
    log += "\r\n";
    if (gl_log_ct2 == gl_log_ct)
        log += jux_format("--------\r\n%i %s\r\n", gl_log_ct2, utf8_to_cp1251("коригирани грешки").c_str());
    else
        log += jux_format("--------\r\n%i %s %i %s\r\n", gl_log_ct2, utf8_to_cp1251("коригирани грешки в").c_str(),
                          gl_log_ct, utf8_to_cp1251("различни думи").c_str());
    return log;
}

bool checker_file_command(HWND dlg, int id) {
    for (const HelpPage& h : kHelpPages)
        if (h.id == id) {
            help_page(h.file);
            return true;
        }
    switch (id) {
        case IDM_BIG_OPEN:
            open_command(dlg);
            return true;
        case IDM_BIG_SAVE:
            save_command(dlg, save_in_utf8());
            return true;
        case IDM_BIG_SAVE_UTF8:
            save_command(dlg, true);
            return true;
        case IDM_BIG_FONT:
            font_command(dlg);
            return true;
        case IDM_BIG_NEW_VERSION:
            open_with_desktop(web_phrase_search_address(u"JUX Spell Checker"));
            return true;
        case IDM_BIG_ABOUT:
            about_box(dlg);
            return true;
        case IDC_BIG_AUDIO_BUTTON:
        case IDM_AUDIO:
            AudioFromMenuOrButton();
            return true;
        case IDC_BIG_AUDIO_READ:
            read_aloud();
            return true;
        default:
            return false;
    }
}

bool checker_text_may_go(HWND owner) {
    if (!checker_text_changed_since_file()) return true;
    std::u16string question = u"The text of ";
    question += utf8_to_utf16(gl_file_text->file.string());
    question += u" has changed since it was opened or saved.\n\n"
                u"Yes: save it.  No: close without saving it.  Cancel: go back to the text.";
    switch (MessageBoxW(owner, question, u"Save the text?", MB_YESNOCANCEL | MB_ICONWARNING)) {
        case IDYES:
            return save_command(owner, gl_file_text->utf8, gl_file_text->file);
        case IDNO:
            return true;
        default:
            return false;
    }
}

void CheckerFileState::restore() const {
    gl_dropped = dropped;
    gl_dropped_path = dropped_path;
    gl_file_text = file_text;
    gl_0D0A = crlf;
    gl_0D = cr;
    gl_0A = lf;
    gl_fg_utf8header = utf8header;
    gl_fg_ansi = ansi;
}

void load_beside_checker_file(const Msg& drop, HWND re) {
    const CheckerFileState checker;
    dropped_file(&drop, re);
    checker.restore();
}


