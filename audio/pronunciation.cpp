#include "audio/pronunciation.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <system_error>

#include "audio/archive.h"
#include "audio/audio_state.h"
#include "audio/player.h"
#include "lexicon/english.h"
#include "lexicon/tables.h"
#include "lexicon/wordclass.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"

namespace {

constexpr int kAddAudioButton = 1297;  // the main window's audio button
constexpr int kAddAudioLabel = 1148;   // the main window's word label
constexpr int kBigAudioButton = 1271;  // the text-checker window's audio button
constexpr int kBigAudioLabel = 1276;   // the text-checker window's word label
constexpr int kBitmapRed = 129;
constexpr int kBitmapGreen = 130;

constexpr std::size_t kSelectionLimit = 128;  // selections this long or longer are not spoken
constexpr std::size_t kMaxWords = 99;
constexpr std::size_t kClipLineRoom = 1023;   // the clip line's field
constexpr std::size_t kBgWordRoom = 127;      // the Bulgarian word's field
constexpr std::size_t kFileLineCut = 196;     // clip line (and clip name) before ".ogg"
constexpr std::size_t kLogLineCut = 191;      // a not-found request's log line and placeholder name
constexpr std::size_t kMaxWordForName = 191;

constexpr std::string_view kOggFolder = "audio_ogg";
constexpr std::string_view kArchiveFolder = "audio";
constexpr std::string_view kRequestLog = "___date.txt";
constexpr std::string_view kSilence = "_silence.ogg";

bool latin(char c) { return ascii_latin[static_cast<unsigned char>(c)] != 0; }
bool cyrillic(char c) { return ascii_cyrillic[static_cast<unsigned char>(c)] != 0; }

bool row_loaded(int row) { return b[static_cast<std::size_t>(row)].count > 0; }

const ListPair* find_in_row(int row, std::string_view key) {
    const DictFileRecord& r = b[static_cast<std::size_t>(row)];
    const std::size_t n = std::min(r.count, r.entries.size());
    if (n == 0 || key.empty()) return nullptr;
    return find_pair(std::span<const ListPair>(r.entries.data(), n), key);
}

std::string_view rest_of(const ListPair* p) { return p && p->has_rest() ? p->rest : std::string_view(); }

bool ascii_iequal(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool ends_with_ci(std::string_view w, std::string_view tail) {
    return w.size() >= tail.size() && ascii_iequal(w.substr(w.size() - tail.size()), tail);
}

// Device names no clip file may bear on any system the data folder may be copied to.
bool reserved_name(std::string_view w) {
    for (std::string_view r : {"con", "prn", "aux", "nul"})
        if (ascii_iequal(w, r)) return true;
    if (w.size() == 4 && (ascii_iequal(w.substr(0, 3), "com") || ascii_iequal(w.substr(0, 3), "lpt")) && w[3] >= '1' &&
        w[3] <= '9')
        return true;
    return false;
}

bool all_filename_bytes(std::string_view w) {
    return std::all_of(w.begin(), w.end(), [](char c) { return ascii_filename[static_cast<unsigned char>(c)] != 0; });
}

// A file name from a line: every byte a file name may not hold becomes a blank.
std::string file_name_of(std::string_view line) {
    std::string name(line);
    for (char& c : name)
        if (!ascii_filename[static_cast<unsigned char>(c)]) c = ' ';
    return name;
}

void cut(std::string& s, std::size_t n) {
    if (s.size() > n) s.resize(n);
}

HBITMAP bitmap(bool green) {
    HBITMAP& b = green ? gl_bitmap_green : gl_bitmap_red;
    if (b == HBITMAP{}) b = PL_LoadBitmapRes(green ? kBitmapGreen : kBitmapRed);
    return b;
}

// The audio button and word label of the active window: the main window's when it is the active
// one, else the text-checker window's while it exists.
struct AudioControls {
    HWND button{};
    HWND label{};
};
AudioControls active_audio_controls() {
    if (IsWindow(hMain) && GetActiveWindow() == hMain)
        return {hAddAudioButton ? hAddAudioButton : GetDlgItem(hMain, kAddAudioButton), GetDlgItem(hMain, kAddAudioLabel)};
    if (IsWindow(hBig)) return {GetDlgItem(hBig, kBigAudioButton), GetDlgItem(hBig, kBigAudioLabel)};
    return {};
}

void show_result(bool found, std::optional<std::string_view> word) {
    const AudioControls c = active_audio_controls();
    if (c.button) PL_Button_SetBitmap(c.button, bitmap(found));
    if (word && c.label) SetWindowTextA(c.label, *word);
}

void oops(std::u16string_view text) { MessageBoxW(HWND{}, text, u"Oops!", MB_OK | MB_ICONERROR); }

// The clip folder, made when missing. A folder that cannot be made or written is shown once a run.
std::optional<std::filesystem::path> ogg_folder() {
    const std::filesystem::path dir = dir_alt / std::string(kOggFolder);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::error_code is_dir_ec;
    if (!std::filesystem::is_directory(dir, is_dir_ec)) {
        const int err = ec ? ec.value() : ENOTDIR;
        if (!audio_folder_warned) {
            audio_folder_warned = true;
            MessageBoxA(HWND{},
                        jux_format("Cannot create folder %s, reason: %s, (errno = %d)\n", path_to_cp1251(dir).c_str(),
                                   std::strerror(err), err),
                        "Oops!", MB_OK | MB_ICONERROR);
        }
        return std::nullopt;
    }
    return dir;
}

void warn_cannot_write(const std::filesystem::path& file, int err) {
    if (audio_folder_warned) return;
    audio_folder_warned = true;
    MessageBoxA(HWND{}, cannot_write_text(file, err), "Oops!", MB_OK | MB_ICONERROR);
}

// Appends a line and CR LF to the request log. False when the log cannot be written.
bool log_request(const std::filesystem::path& ogg, std::string_view line) {
    const std::filesystem::path file = ogg / std::string(kRequestLog);
    std::error_code ec;
    const bool existed = std::filesystem::exists(file, ec);
    FILE* f = open_out(file, "ab+");
    if (!f) {
        warn_cannot_write(file, errno);
        return false;
    }
    // A line that could not be written whole is taken back, and a log it would have begun removed.
    const std::int64_t size = flsz(f);
    const bool written = write_out(f, std::string(line) + "\r\n");
    if (!written && size >= 0) cut_out_back(f, static_cast<std::uint64_t>(size));
    if (closefile(f, {}) == 0 && written) return true;
    if (!existed) std::filesystem::remove(file, ec);
    tell_write_failures(HWND{});
    return false;
}

// Where a word's clip is, or why not.
struct Match {
    const ListPair* entry = nullptr;  // K: the index entry found
    bool variant = false;
};

// The one variant an English word that is not in the index may be looked up as.
std::optional<std::string> english_variant(std::string_view w) {
    const std::size_t apos = w.rfind('\'');
    if (apos == std::string_view::npos || apos == 0) {
        auto cut_suffix = [&w](std::size_t n) {
            std::string v(w.substr(0, w.size() - n));
            if (!find_in_row(B_EN_BG, v) && !v.empty() && v.back() == 'i') v.back() = 'y';
            return v;
        };
        if (w.size() > 5 && ends_with_ci(w, "ly")) return cut_suffix(2);
        if (w.size() > 6 && w.ends_with("ness")) return cut_suffix(4);
        return std::nullopt;
    }
    const std::string_view after = w.substr(apos + 1);
    for (std::string_view e : {"s", "d", "ll", "ve", "re"})
        if (ascii_iequal(after, e)) return std::string(w.substr(0, apos));
    return std::nullopt;
}

Match look_up(std::string_view w, int index_row) {
    if (const ListPair* k = find_in_row(index_row, w)) return {k, false};
    if (!latin(w.front())) return {};
    if (const auto v = english_variant(w)) {
        if (const ListPair* k = find_in_row(index_row, *v)) return {k, true};
        return {};
    }
    // The headword that the word's dictionary entry refers to (plural of, past of and the like).
    const ListPair* entry = find_in_row(B_EN_BG, w);
    if (!entry || !entry->has_rest()) return {};
    std::string stem;
    if (GetStem(entry->rest, stem) == -1 || stem.empty()) return {};
    if (const ListPair* k = find_in_row(index_row, stem)) return {k, true};
    return {};
}

// The Bulgarian word of the second clip: the source up to its first ',' or ';', or up to a blank
// that a '(' or a Latin letter follows.
std::string bulgarian_word(std::string_view source) {
    std::string out;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (c == ',' || c == ';') break;
        if (c == ' ' && i + 1 < source.size() && (source[i + 1] == '(' || latin(source[i + 1]))) break;
        out += c;
    }
    cut(out, kBgWordRoom);
    return out;
}

std::string file_line_of(std::string_view word, const std::string& clip_line) {
    std::string line = clip_line;
    cut(line, kFileLineCut);
    const auto index = static_cast<std::uint32_t>(gl_ogg_index);
    if (gl_AUDIO_OGG_INDEX) {
        line = jux_format("%06u  %s", index, line.c_str());
        if (index % 250 == 0) unfreeze();
    }
    if (gl_AUDIO_OGG_INDEX_END && index % 10 == 0) {
        line += jux_format(" %u", index);
        if (const ListPair* ranked = find_pair(m[M_WL_ENGLISH], word); ranked && ranked->has_rest()) {
            line += ' ';
            line += ranked->rest;
        }
    }
    gl_ogg_index = static_cast<std::int32_t>(index + 1);
    return line;
}

// A word not found: its line in the request log and, unless only the text is kept, an empty file
// of the same name, so that the missing clips can be recorded later.
void record_missing(std::string_view w, const std::string& file_line) {
    if (w.size() > kMaxWordForName) return;
    if (!gl_AUDIO_NOLATIN && !latin(w.front())) return;
    if (reserved_name(w) || !all_filename_bytes(w)) return;
    const auto ogg = ogg_folder();
    if (!ogg) return;
    std::string line = latin(w.front()) ? "_ " : cyrillic(w.front()) ? "__ " : "___ ";
    line += file_line;
    cut(line, kLogLineCut);
    if (!log_request(*ogg, line) || gl_AUDIO_TEXT_ONLY) return;
    const std::filesystem::path placeholder = fl_path(*ogg, file_name_of(line));
    if (FILE* f = std::fopen(placeholder.c_str(), "ab")) std::fclose(f);
}

// Appends the slice of an index entry to the clip. False when the entry is damaged (shown).
bool append_slice(FILE* archive, std::string_view archive_name, const ListPair& k, FILE* clip) {
    const auto slice = audio_slice(k.key, rest_of(&k));
    if (!slice) {
        MessageBoxA(HWND{}, jux_format("The audio index entry of \"%s\" is damaged.", std::string(k.key).c_str()), "Oops!",
                    MB_OK | MB_ICONERROR);
        return false;
    }
    const std::uint64_t copied = slice->size > 0 ? audio_copy_slice(archive, slice->offset, slice->size, clip) : 0;
    if (out_error(clip)) {  // the clip could not be written (a full disk): told by its name
        tell_write_failures(HWND{});
        return false;
    }
    if (slice->size > 0 && copied == 0) {
        MessageBoxA(HWND{},
                    jux_format("The audio index entry of \"%s\" points past the end of the archive \"%s\".",
                               std::string(k.key).c_str(), std::string(archive_name).c_str()),
                    "Oops!", MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

}  // namespace

const ListPair* find_audio_entry(std::string_view word) {
    if (const ListPair* p = find_in_row(B_ENGLISH_AO, word)) return p;
    return find_in_row(B_ENGLISH_AO2, word);
}

std::string audio_clip_line(std::string_view w, std::string_view k) {
    if (w.empty()) return {};
    const bool variant = !k.empty();
    std::string labels;
    concatenate_c_words(w, labels, gl_AUDIO_OGG_CLEAN);
    enum class Of { None, W, K } of = labels.empty() ? Of::None : Of::W;
    if (variant && labels.empty()) {
        concatenate_c_words(k, labels, gl_AUDIO_OGG_CLEAN);
        if (!labels.empty()) of = Of::K;
    }
    const std::string W(w), K(k);
    std::string line;
    if (!latin(w.front())) {
        line = W;
    } else if (gl_AUDIO_OGG_NO_BG) {
        line = variant ? W + " (" + K + ")" : W;
    } else if (const ListPair* hard = c_find(C_HARD, w)) {
        const std::string R(rest_of(hard));
        line = variant ? W + " (" + K + ") " + R : W + " " + R;
        if (!gl_AUDIO_OGG_WITHOUT_H) line += c_find(C_HARD3, w) ? " (Hh)" : " (H)";
    } else {
        const std::string h = c_find(C_HARD3, w) ? " (h)" : "";
        if (!variant)
            line = of == Of::None ? W + h + " -" : W + h + " " + labels;
        else if (of == Of::K)
            line = W + h + " - (" + K + "  " + labels + ")";
        else if (of == Of::W)
            line = W + h + " (" + K + ") " + labels;
        else
            line = W + h + " (" + K + ") --";
    }
    cut(line, kClipLineRoom);
    return line;
}

int say_word(std::string_view w) {
    // 1. Requests that are not spoken at all.
    if (!gl_say_word || w.empty()) return 0;
    if (!row_loaded(B_ENGLISH_AO) && !row_loaded(B_ENGLISH_AO2)) return 0;
    if (!gl_AUDIO_DIGITS_ONLY && IsDigitsOnly(w)) return 0;
    if (gl_AUDIO_SKIP && find_in_row(B_AUDIO_SKIP, w)) return 0;
    const bool is_latin = latin(w.front());
    if (!gl_AUDIO_NOLATIN && !is_latin) return 0;

    // 2-4. The index and archive of the word's alphabet; the word or its variant.
    const int index_row = is_latin ? B_ENGLISH_AO : B_ENGLISH_AO2;
    const std::string_view archive_name = is_latin ? "audio" : "audio2";
    const Match match = look_up(w, index_row);

    // 5-7. The clip line, the Bulgarian word of a second clip, the file line.
    const std::string_view k = match.variant ? match.entry->key : std::string_view();
    const std::string clip_line = audio_clip_line(w, k);
    std::string bg_word;
    if (is_latin && !gl_AUDIO_OGG_NO_BG && gl_AUDIO_BG_AFTER_EN) {
        std::string labels;
        concatenate_c_words(w, labels, gl_AUDIO_OGG_CLEAN);
        if (labels.empty() && match.variant) concatenate_c_words(k, labels, gl_AUDIO_OGG_CLEAN);
        const ListPair* hard = c_find(C_HARD, w);
        bg_word = bulgarian_word(hard ? rest_of(hard) : std::string_view(labels));
    }
    const std::string file_line = file_line_of(w, clip_line);

    // 8. Not found.
    if (!match.entry) {
        show_result(false, w);
        record_missing(w, file_line);
        return 0;
    }

    // 9. Found: extracted and played only in talking mode or at the user's request.
    show_result(true, match.entry->key);
    if (!gl_TALKING_MODE && !gl_from_audio_button && !gl_from_audio_button_read) return 1;

    // 10. The request log.
    const auto ogg = ogg_folder();
    if (!ogg) return 1;
    log_request(*ogg, file_line);
    if (gl_AUDIO_TEXT_ONLY) return 1;

    // 11. The archive.
    const std::filesystem::path audio_dir = dir_alt / std::string(kArchiveFolder);
    std::error_code ec;
    if (!std::filesystem::is_directory(audio_dir, ec)) {
        show_result(false, std::nullopt);
        oops(u"Папката \"audio\" липсва!");
        return 1;
    }
    FILE* archive = open_regular_for_reading(audio_dir / std::string(archive_name));
    if (!archive) return 1;

    // 12. The clip file.
    std::string name = file_name_of(file_line);
    cut(name, kFileLineCut);
    name += ".ogg";
    const std::filesystem::path clip_path = fl_path(*ogg, name);
    FILE* clip = open_out(clip_path, "wb");
    if (!clip) {
        const int err = errno;
        std::fclose(archive);
        if (err == EACCES && std::filesystem::is_regular_file(clip_path, ec))
            open_with_desktop(clip_path.string());  // a clip kept read-only is played as it is
        else
            warn_cannot_write(clip_path, err);
        return 1;
    }
    auto give_up = [&] {
        std::fclose(archive);
        std::fclose(clip);
        std::filesystem::remove(clip_path, ec);
        return 1;
    };

    // 13. The word's slice of the archive.
    if (!append_slice(archive, archive_name, *match.entry, clip)) return give_up();

    // 14. The Bulgarian clip after it.
    if (gl_AUDIO_BG_AFTER_EN && !bg_word.empty() && row_loaded(B_ENGLISH_AO2)) {
        if (FILE* audio2 = open_regular_for_reading(audio_dir / "audio2")) {
            const ListPair* bg = find_in_row(B_ENGLISH_AO2, bg_word);
            const bool ok = !bg || append_slice(audio2, "audio2", *bg, clip);
            std::fclose(audio2);
            if (!ok) return give_up();
        } else {
            oops(u"Българският аудиофайл липса в папката audio!");
        }
    }

    // 15. A pause after it.
    if (gl_AUDIO_MAKE_LONG) {
        if (FILE* silence = open_regular_for_reading(audio_dir / std::string(kSilence))) {
            audio_copy_slice(silence, 0, UINT64_MAX, clip);
            std::fclose(silence);
        } else {
            oops(u"Файлът _silence.ogg липсва в папката audio!");
        }
    }

    // 16. Played (twice with gl_AUDIO_REPEAT).
    std::fclose(archive);
    const bool written = closefile(clip, {}) == 0;
    if (!written) tell_write_failures(HWND{});
    if (written && !gl_AUDIO_GER) {
        if (play_clip(clip_path) && gl_AUDIO_REPEAT) play_clip(clip_path);
    }

    // 17. The text-checker window shows that a clip was played.
    if (IsWindow(hBig)) PL_Button_SetBitmap(GetDlgItem(hBig, kBigAudioButton), bitmap(true));
    return 1;
}

void GetCleanTokenAudio(HWND panel) {
    struct ClearButtonFlag {
        ~ClearButtonFlag() { gl_from_audio_button = 0; }
    } clear_at_end;

    // 1-2. The selection.
    const CHARRANGE sel = RE_GetSel(panel);
    if (sel.cpMin == sel.cpMax) {
        if (gl_from_audio_button == 1)
            oops(u"Първо изберете дума като я кликнете два пъти, после натиснете бутона.");
        return;
    }
    if (IsWindow(hBig)) SetDlgItemTextW(hBig, IDC_BIG_LABEL, u"");
    if (static_cast<std::size_t>(std::abs(sel.cpMax - sel.cpMin)) >= kSelectionLimit) return;

    // 3. 8-bit text without trailing line ends, blanks collapsed.
    std::string text = utf16_to_cp1251(RE_GetSelText(panel));
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    if (text.empty()) return;
    remove_extra_spaces(text);

    // 4. Quotes round it.
    auto quote = [](char c) { return c == '"' || c == '\x93' || c == '\x94'; };
    if (!text.empty() && quote(text.back())) text.pop_back();
    if (!text.empty() && quote(text.front())) text.erase(0, 1);

    // 5. Line ends, tabs and the right single quote.
    std::string clean;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!clean.empty() && clean.back() == '-') continue;
            c = ' ';
        } else if (c == '\t') {
            c = ' ';
        } else if (c == '\x92') {
            c = '\'';
        }
        clean += c;
    }
    remove_extra_spaces(clean);
    if (clean.empty()) return;

    // 6. Phrases.
    if (latin(clean.front())) std::replace(clean.begin(), clean.end(), ' ', '_');
    if (static_cast<std::size_t>(std::count_if(clean.begin(), clean.end(), [](char c) { return c == ' ' || c == '_'; })) +
            1 >
        kMaxWords)
        return;

    // 7. English, or the English rendering of a Bulgarian text.
    if (!gl_AUDIO_BG_TO_EN && row_loaded(B_ENGLISH_AO2)) {
        say_word(clean);
    } else if (!cyrillic(clean.front())) {
        say_word(clean);
    } else if (row_loaded(B_BULGARIAN_ENGLISH)) {
        if (const ListPair* e = find_in_row(B_BULGARIAN_ENGLISH, clean); e && e->has_rest()) {
            if (IsWindow(hBig)) SetWindowTextA(GetDlgItem(hBig, IDC_BIG_LABEL), e->rest);
            say_word(e->rest);
        }
    }
}

void AudioFromMenuOrButton(HWND panel) {
    gl_from_audio_button = 1;
    SetFocus(panel);
    GetCleanTokenAudio(panel);
}

void AudioFromMenuOrButton() { AudioFromMenuOrButton(hReFocus); }

void empty_ogg_folder() {
    if (!row_loaded(B_ENGLISH_AO) && !row_loaded(B_ENGLISH_AO2)) return;
    const std::filesystem::path dir = dir_alt / std::string(kOggFolder);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        std::error_code entry_ec;
        if (entry.is_regular_file(entry_ec)) std::filesystem::remove(entry.path(), entry_ec);
    }
}
