// shell/startup.h - the entry point: start-up in order, the message loop and the orderly end.
//
// WinMain(start folder), called by app/main.cpp once the platform's backend is installed:
//   start time; settings (settings_common.txt, settings.txt of the start folder); locale; option
//   mirrors and mode flags; the five edition titles; refusal to run twice; icons; the data folder
//   "alt" (created when missing, the working folder from then on); the splash; idle priority; the
//   main window; the splash closed; the text-checker window; the main window's title; the token
//   index; the popup menus; the notification-area icon (not for the spell-checker and translator
//   editions; with no icon and no window shown, the main window is shown); the clipboard watch;
//   the focus in the entry box; the accelerators; the welcome text on the first start; the
//   message loop; the orderly end. Returns the exit status.
//
// A window that ends the program posts the quit message (PostQuitMessage); WinMain then runs
// orderly_end() and returns the loop's code.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/window.h"

// The five editions, chosen by the options: SPELL_CHECKER makes the text-checker window the face
// of the program, and with it CORPUS_TRANSLATION, MACHINE_TRANSLATION or ENGLISH_TRANSLATION,
// tested in that order, select the parallel-text, translator or human-translator edition.
enum class Edition { Dictionary, SpellChecker, Translator, HumanTranslator, Tamsa };
Edition current_edition();
// The title of an edition (build_titles() first): JUXtitle, JUXtitleS, JUXtitleM, JUXtitleE or
// JUXtitleC.
const std::u16string& edition_title(Edition e);

// The About box's authorship text (`authorship`, shell/window_state.h) is kept scrambled in the
// program, 52 characters, and unscrambled once at start, before any window opens.
inline constexpr std::size_t AUTHORSHIP_LENGTH = 52;
void unscramble_authorship();

// The statistics log (fl_stat): "statistics.txt" in the data folder, emptied at every start and
// open for the whole run. When it cannot be made its lines go to standard error. 1 when open.
inline constexpr std::string_view kStatisticsLogName = "statistics.txt";
int open_statistics_log();
// Closes it (fl_stat null again); its own close failure goes to standard error.
void close_statistics_log();

// The name of the per-user lock that refuses a second running copy ("jux").
extern std::string jux_instance_lock_name;

// Creates "alt" in the start folder when missing and makes it the working folder (and dir_alt).
// A data folder that cannot be made (a read-only start folder) shows "Cannot make the folder %s,
// reason: %s, (errno = %d)\n", one that cannot be entered "Cannot change to folder %s, reason: %s,
// (errno = %d)\n", both under "Oops!"; the program then goes on in the start folder. 1 when
// entered.
int enter_data_folder(const std::filesystem::path& start_folder);

// The splash (template 105, hStart): its line 1244 reads "%s %s" of the current edition's title
// and "стартира, моля почакайте…"; shown and repainted. Returns hStart.
inline constexpr std::u16string_view kSplashWait = u"стартира, моля почакайте\u2026";
HWND show_splash();
// The splash's procedure: WM_CLOSE destroys it and zeroes hStart; nothing else is handled.
INT_PTR DialogStarting(HWND dlg, const Msg& m);

// The main window (hMain) is made by create_main_window() of dictionary/main_window.h; its
// initialisation loads the lexicon and counts the start.

// The edition's welcome text, appended to the panel (shown on the first start).
std::u16string welcome_text(Edition e);

// The end of the program: the notification-area icon removed, the clipboard chain left, the
// external audio player closed, the token index released, every window of the program destroyed,
// the menus and accelerators released. Safe to call more than once.
void orderly_end();

int WinMain(const std::filesystem::path& start_folder);

// The start-up's reset for test fixtures (the lock name back to "jux").
void reset_startup();
