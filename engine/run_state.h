// engine/run_state.h - the state that the text-processing run shares with its callers and its
// later phases: the calling windows' panels and flags that the run reads, the flags it sets, the
// tray balloon text it gathers and the spelling logs it opens.
//
// The windows that own the handles set them when they are created and clear them when they are
// destroyed; a null handle means the window does not exist, and every call on it does nothing.
// The text-checker window's panels, the main window's entry box and the companion windows are in
// lexicon/panels.h.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/types.h"
#include "resources/resources.h"  // the main window's control identifiers (IDC_ADD_SENTENCE ...)

inline constexpr int IDC_BIG_LABEL_UP = 1276;   // the text-checker window's code-page label

// ---- Panels of the calling windows --------------------------------------------------------
extern HWND hAddReShortCopy;  // the main window's hidden copy of the entry box (never coloured)
extern HWND hAddReSaved;      // the main window's saved pane: per-token lines and the DONE line
extern HWND hAddReShort3;     // the main window's short pane
extern HWND hAddLabel;        // the main window's status label
extern HWND hAddSentence;     // the main window's check box IDC_ADD_SENTENCE

// ---- Flags -----------------------------------------------------------------------------------
extern std::int8_t gl_cancel;            // 1 when a Cancel button asks the running job to stop
extern std::int8_t changed_from_add_fg;  // 1 while the main window changes its entry box itself
extern std::int8_t gl_isFromClipboard;   // 1: the checked text came from the clipboard
extern std::int8_t gl_isFromFile;        // 1: the checked text came from a file
extern std::int8_t gl_fg_subtitle;       // 1: the checker's text is in the subtitle layout

// ---- Texts of a run ----------------------------------------------------------------------------
inline constexpr std::size_t BALLOON_ROOM = 65'536;  // UTF-16 characters of the balloon text
extern std::u16string balloon;  // the tray balloon text gathered by a run's entry display

// ---- The Bulgarian spelling logs of a run (open only while a run over a clipboard or file text
// with SPELL_CHECKER_LOG set is cutting tokens) ------------------------------------------------
extern FILE* fl_cyr_all;          // "cyr_all.txt": every Bulgarian word with its report
extern FILE* fl_cyr_missing;      // "cyr_missing.txt": the unknown words
extern FILE* fl_cyr_upper_only;   // "cyr_upper_only.txt": unknown words in capitals
extern FILE* fl_cyr_lower_only;   // "cyr_lower_only.txt": unknown words in small letters
extern FILE* fl_cyr_first_upper;  // "cyr_first_upper.txt": unknown words with a capital first
extern FILE* fl_cyr_mixed;        // "cyr_mixed.txt": the other unknown words
extern std::int8_t cyr_logs_open;  // 1 while the run holds the six logs open

// Opens the six logs in the working folder (a log that cannot be opened stays null and its lines
// are skipped); closes them.
void open_cyr_logs();
void close_cyr_logs();
