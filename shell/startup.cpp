#include "shell/startup.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <system_error>

#include "audio/player.h"
#include "dictionary/main_window.h"
#include "engine/token_store.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "resources/resources.h"
#include "shell/files.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/token_frequency_index.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/checker_window.h"
#include "windows/filing_popups.h"
#include "windows/lemma_report.h"
#include "windows/live_window.h"

std::string jux_instance_lock_name = "jux";

namespace {

constexpr int kInfoCommand = 1272;                        // the text-checker's "open the information window"

bool spell_checker_set() { return OP[OPT_SPELL_CHECKER].num_value != 0; }

// The title of the edition the program starts as (the splash shows it).
const std::u16string& current_edition_title() { return edition_title(current_edition()); }

void destroy_and_clear(HWND& h) {
    if (IsWindow(h)) DestroyWindow(h);
    h = HWND{};
}

}  // namespace

Edition current_edition() {
    if (!spell_checker_set()) return Edition::Dictionary;
    if (gl_CORPUS_TRANSLATION) return Edition::Tamsa;
    if (gl_MACHINE_TRANSLATION) return Edition::Translator;
    if (gl_ENGLISH_TRANSLATION) return Edition::HumanTranslator;
    return Edition::SpellChecker;
}

const std::u16string& edition_title(Edition e) {
    switch (e) {
        case Edition::SpellChecker: return JUXtitleS;
        case Edition::Translator: return JUXtitleM;
        case Edition::HumanTranslator: return JUXtitleE;
        case Edition::Tamsa: return JUXtitleC;
        case Edition::Dictionary: break;
    }
    return JUXtitle;
}

int enter_data_folder(const std::filesystem::path& start_folder) {
    const std::filesystem::path alt = start_folder / "alt";
    std::error_code ec;
    // The real cause first: a folder that could not be made cannot be entered either.
    const char* what = "Cannot change to folder %s, reason: %s, (errno = %d)\n";
    if (!std::filesystem::is_directory(alt, ec)) {
        ec.clear();
        std::filesystem::create_directories(alt, ec);
        if (ec) what = "Cannot make the folder %s, reason: %s, (errno = %d)\n";
    }
    if (!ec) std::filesystem::current_path(alt, ec);
    if (ec) {
        MessageBoxA(hMain, jux_format(what, path_to_cp1251(alt).c_str(), ec.message().c_str(), ec.value()), "Oops!",
                    MB_OK | MB_ICONERROR);
        data_folder_trouble_told = true;  // the start-up files that cannot be written there keep silent
        // The start folder stays the working folder and serves as the data folder.
        ec.clear();
        std::filesystem::current_path(start_folder, ec);
        dir_alt = std::filesystem::current_path(ec);
        dir_altA = path_to_cp1251(dir_alt);
        return 0;
    }
    dir_alt = alt;
    dir_altA = path_to_cp1251(alt);
    return 1;
}

// ---- Authorship and the statistics log ---------------------------------------------------------

namespace {
constexpr unsigned char authorship_key(std::size_t i) { return static_cast<unsigned char>(0xA5 + 7 * i); }

// The scrambling of the authorship text: every byte is XOR-ed with a key that moves along the
// text (its own inverse). The plain text never reaches the program's file.
consteval std::array<char, AUTHORSHIP_LENGTH> scramble(std::string_view plain) {
    std::array<char, AUTHORSHIP_LENGTH> out{};
    for (std::size_t i = 0; i < AUTHORSHIP_LENGTH; ++i) {
        const unsigned char c = i < plain.size() ? static_cast<unsigned char>(plain[i]) : ' ';
        out[i] = static_cast<char>(c ^ authorship_key(i));
    }
    return out;
}
constexpr std::array<char, AUTHORSHIP_LENGTH> kScrambledAuthorship =
    scramble("JUX workbench for Linux - made by its own developers");
}  // namespace

void unscramble_authorship() {
    authorship.assign(kScrambledAuthorship.begin(), kScrambledAuthorship.end());
    for (std::size_t i = 0; i < authorship.size(); ++i)
        authorship[i] = static_cast<char>(static_cast<unsigned char>(authorship[i]) ^ authorship_key(i));
}

int open_statistics_log() {
    if (fl_stat) return 1;
    fl_stat = open_out(fl_path(dir_alt, kStatisticsLogName), "wb");
    return fl_stat ? 1 : 0;
}

void close_statistics_log() {
    FILE* log = fl_stat;
    fl_stat = nullptr;  // a close failure is told on standard error, not in the log being closed
    closefile(log, kStatisticsLogName);
}

// ---- Splash -----------------------------------------------------------------------------------

INT_PTR DialogStarting(HWND dlg, const Msg& m) {
    if (m.message != WM_CLOSE) return 0;
    DestroyWindow(dlg);
    hStart = HWND{};
    return 1;
}

HWND show_splash() {
    hStart = CreateDialogParamW(IDD_STARTING, HWND{}, DialogStarting);
    std::u16string line = current_edition_title();
    line += u' ';
    line += kSplashWait;
    SetDlgItemTextW(hStart, IDC_STARTING_TEXT, line);
    ShowWindow(hStart, SW_SHOWNORMAL);
    UpdateWindow(hStart);
    return hStart;
}

// ---- Notification area, welcome, end ----------------------------------------------------------

std::u16string welcome_text(Edition e) {
    std::u16string t = u"Добре дошли в ";
    t += edition_title(e);
    t += u"!\r\n";
    if (e == Edition::Dictionary) {
        t += u"Напишете английска или българска дума в полето горе, за да видите превода ѝ.\r\n\r\n";
        t += u"Welcome to ";
        t += edition_title(e);
        t += u"! Type an English or Bulgarian word in the box above to see its translation.";
    } else {
        t += u"Поставете, напишете или пуснете текст в десния панел.\r\n\r\n";
        t += u"Welcome to ";
        t += edition_title(e);
        t += u"! Paste, type or drop a text into the right panel.";
    }
    return t;
}

void orderly_end() {
    if (gl_icon_exists) {
        Shell_NotifyIconW(NIM_DELETE, nid);
        gl_icon_exists = 0;
    }
    if (IsWindow(hMain)) ChangeClipboardChain(hMain, hwndNextViewer);
    hwndNextViewer = HWND{};
    close_audio_players();  // only the players this program started

    ReleaseGmake();
    for (int v = 0; v < GMAKE3_INSTANCES; ++v) ReleaseGmake3(v);
    for (int v = 0; v < GMAKE4_INSTANCES; ++v) ReleaseGmake4(v);

    for (HWND* h : {&hInfo, &hBgText, &hMachine, &hBig, &hLive}) destroy_and_clear(*h);
    destroy_and_clear(hStart);
    destroy_and_clear(hMain);

    if (hMenuPopupAll) DestroyMenu(hMenuPopupAll);
    hMenuPopupAll = HMENU{};
    if (hMenuMain) DestroyMenu(hMenuMain);
    hMenuMain = HMENU{};
    if (hAccelMain) DestroyAcceleratorTable(hAccelMain);
    hAccelMain = HACCEL{};
    glMsg = std::string();
    glMsgW = std::u16string();
    close_statistics_log();
}

// ---- The entry point ------------------------------------------------------------------------

int WinMain(const std::filesystem::path& start_folder) {
    i_start = phase_start = jux_mdate();
    register_dialog_templates();
    std::error_code ec;
    start_dir = std::filesystem::absolute(start_folder, ec);
    if (ec) start_dir = start_folder;
    start_dirA = path_to_cp1251(start_dir);

    load_settings(start_dir);
    set_locale_from_options();
    set_option_mirrors();
    build_titles();

    // One copy per user: a second start ends here.
    // A lock that cannot be made at all is told as it is: the program is not running twice then,
    // but it cannot make sure of it either, and two copies would rewrite the same lists.
    if (const InstanceLock lock = PL_AcquireSingleInstanceLock(jux_instance_lock_name); !lock) {
        if (lock.state == InstanceLock::Held) MessageBoxW(HWND{}, u"It's already running!", u"Oops!", MB_OK | MB_ICONERROR);
        else MessageBoxW(HWND{}, utf8_to_utf16(lock.reason), u"Oops!", MB_OK | MB_ICONERROR);
        return 1;
    }

    hicon32 = PL_LoadIconRes(IDI_JUX32);
    hicon_in = PL_LoadIconRes(IDI_INFO);
    hicon_tr = PL_LoadIconRes(IDI_TRANSLATION);
    bkgcolor1 = 0xF0F0F0;
    bkgcolor3 = 0xE4E4E4;
    unscramble_authorship();
    enter_data_folder(start_dir);
    open_statistics_log();
    // A rewrite that a kill or a crash cut short leaves its temporary file beside the list.
    for (const std::filesystem::path& folder : {dir_alt, dir_alt / "c"})
        if (const int n = remove_stale_temporary_files(folder))
            OutputCyr(jux_format("%d temporary files of unfinished rewrites removed from %s", n,
                                 path_to_cp1251(folder).c_str()),
                      1, fl_stat ? fl_stat : stderr);
    settle_lemma_reports();  // and a run of the lemma-grouping reports cut short, its temporary reports

    show_splash();
    PL_SetIdlePriority();
    phase_start = jux_mdate();
    if (!create_main_window()) {
        destroy_and_clear(hStart);
        MessageBoxA(HWND{}, jux_format("Creating handle of %s failed, error code: %d", "hMain", ERROR_INVALID_WINDOW_HANDLE),
                    "Oops!", MB_OK | MB_ICONERROR);
        close_statistics_log();
        return 1;
    }
    destroy_and_clear(hStart);

    // The filing popups exist before the checker can be clicked (its first run pumps messages).
    build_filing_popups();
    const Edition edition = current_edition();
    if (spell_checker_set()) {
        JUXtitleCurrentBig = edition_title(edition);
        open_checker_window();
    }
    // The spell-checker editions show their text-checker window instead of the main window (or the
    // main window when the checker could not be made, so that the program has a window to be
    // reached by); the dictionary shows its main window when START_MAIN_WINDOW asks for it.
    if (spell_checker_set() ? !IsWindow(hBig) : OP[OPT_START_MAIN_WINDOW].num_value != 0)
        ShowWindow(hMain, SW_SHOW);
    SetWindowTextW(hMain, JUXtitle);

    AllocGmake();
    smake();
    smake2();
    smakeR();

    build_popup_all(b[B_ENGLISH_AO].count > 0 || b[B_ENGLISH_AO2].count > 0);
    build_main_menu(OP[OPT_START_DICTIONARY_EDIT_MODE].num_value == 1);

    if (edition != Edition::SpellChecker && edition != Edition::Translator) add_tray_icon();
    // A desktop without a notification area refuses the icon: a main window left hidden then could
    // never be reached (nor the program ended, and a second start is refused), so it is shown.
    if (!gl_icon_exists && !IsWindowVisible(hMain) && !IsWindowVisible(hBig)) ShowWindow(hMain, SW_SHOW);
    // After the menu bar and once the main window is shown or not for good: the live window labels
    // its button and the menu items 9189 and 9190 by the windows shown.
    start_live_window();
    hwndNextViewer = SetClipboardViewer(hMain);
    SetFocus(hAddReShort);
    if (IsWindow(hBig)) {
        const RECT work = PL_GetWorkArea();
        SetWindowPos(hBig, HWND{}, work.left, work.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (gl_SHOW_INFO) PL_SendCommand(hBig, kInfoCommand);
    }
    hAccelMain = CreateAcceleratorTableW(main_accelerator_table());
    tell_missing_lexicon();
    tell_write_failures(hMain);  // a statistics log that could not be written while the start filled it
    if (run_counter == 1) {
        HWND panel = edition != Edition::Dictionary && IsWindow(hBigReLeft) ? hBigReLeft : hMessagePanel;
        JuxShowMessageW(panel, welcome_text(edition), 1);
    }

    const int code = PL_RunMessageLoop(hAccelMain, hMain);
    orderly_end();
    return code;
}

void reset_startup() { jux_instance_lock_name = "jux"; }
