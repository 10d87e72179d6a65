// shell/window_state.h - window state shared by every subsystem: the main window and the splash,
// the focus pane, fonts, colours, icons, menus, the notification-area icon and the clipboard
// chain, the state of the text last loaded from a file, shared scratch buffers, the start time,
// the start folder and the edition titles.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/window.h"

// ---- Windows ------------------------------------------------------------------------------
extern HWND hMain;          // the main window (also hAdd); owner of the program's message boxes
extern HWND hStart;         // the splash window; null once it is destroyed
extern HWND hMessagePanel;  // the panel that the program's own error lines go to (set by its window)

// Windows of the other subsystems that several subsystems read and write. The windows that own
// them set them when they are created and clear them when they are destroyed; null: no window.
extern HWND hAddReShort;  // the main window's entry box
extern HWND hBig;         // the text-checker window
extern HWND hBigReRight;  // its right panel (the checked text)
extern HWND hBigReLeft;   // its left panel (report and look-ups)
extern HWND hBigReBot;    // its bottom panel
extern HWND hInfo;        // the information window
extern HWND hInfoReTop;   // its top panel
extern HWND hInfoReBot;   // its bottom panel
extern HWND hMachine;     // the machine-translation window
extern HWND hMachineRe;   // its translation panel
extern HWND hMachineReFilter;  // its filter box (the translation shows only what matches it)
extern HWND hBgText;      // the Bulgarian-text window
extern HWND hBgTextRe;    // its text panel
extern HWND hLiveRe;      // the live clipboard window's panel

inline constexpr int IDC_BIG_LABEL = 1179;  // the text-checker window's status line

extern std::int8_t gl_BIG_ACTIVE;    // the text-checker window's look-up switch ("On")
extern std::int8_t gl_info_printed;  // a word was written into the information window's top panel
extern std::int8_t gl_inc_method;    // 1 while the checker's Refresh runs the look-up
// The handles above null and the flags at their start values.
void reset_window_handles();

// ---- The focus pane -----------------------------------------------------------------------
// hReFocus is always a rich-edit panel (or null): the target of the shared popup menu's commands,
// the audio command, the web searches and the printed-dictionary page. A right click on another
// kind of control (a filing button) is remembered in hReRightClicked and leaves hReFocus alone.
extern HWND hReFocus;         // the panel last clicked or right-clicked in any window
extern HWND hReFocusPrev;     // hReFocus as it was before the last right-click test on a control
extern HWND hReRightClicked;  // the control (not a rich-edit panel) last right-clicked

// ---- Fonts, colours, icons ----------------------------------------------------------------
extern HFONT hFont;             // the last font created for a window's panels
extern COLORREF bkgcolor1;      // panel background 0xF0F0F0
extern COLORREF bkgcolor3;      // panel background 0xE4E4E4
extern HICON hicon32;           // the program's icon (resource 115)
extern HICON hicon_in;          // the information window's icon (resource 118)
extern HICON hicon_tr;          // the translation windows' icon (resource 116)

// ---- Menus, accelerators, notification area, clipboard chain -------------------------------
extern HMENU hMenuPopupAll;     // the shared rich-edit popup menu, built once at start
extern HMENU hMenuMain;         // the main window's menu bar (null while it has none)
extern HACCEL hAccelMain;       // the main window's accelerator table, loaded at start
extern std::int8_t gl_icon_exists;  // 1 while the main window's notification-area icon is shown
extern NOTIFYICONDATAW nid;     // that icon's record (balloon text: at most 255 characters)
extern HWND hwndNextViewer;     // the main window's successor in the clipboard viewer chain
// 1 while a change of the clipboard may be translated by the main window's clipboard watch;
// CopyToClipboard clears it before it writes, so that the watch leaves the program's own copy
// alone (the watch sets it back).
extern std::int8_t gl_clipboard_translation;

// ---- The text last loaded from a file (dropped_file) ----------------------------------------
inline constexpr std::size_t DROPPED_PATH_ROOM = 260;  // bytes of gl_dropped with its end
extern std::string gl_dropped;          // 8-bit path of the file last dropped or opened ("": none)
// The whole path of the checker's file, also when gl_dropped cannot hold it (a name that code page
// 1251 cannot write, a path too long): the file its Save proposes ("": none).
extern std::filesystem::path gl_dropped_path;
// The file the checker's text was last loaded from or saved to, with the print of the text as that
// file holds it and its encoding: a close asks before a change made since is lost.
struct FileText {
    std::filesystem::path file;
    std::uint64_t print = 0;
    bool utf8 = false;  // written in UTF-8 (else code page 1251)
};
extern std::optional<FileText> gl_file_text;  // none: the text was never a file's
extern std::int8_t gl_0D0A;             // the loaded text used CR LF line ends
extern std::int8_t gl_0D;               // it used CR alone
extern std::int8_t gl_0A;               // it used LF alone
extern std::int8_t gl_fg_utf8header;    // the loaded file began with the UTF-8 byte-order mark
extern std::int8_t gl_fg_ansi;          // the loaded file was 8-bit text (code page 1251)
extern std::int32_t gl_search_start;    // offset in the checked text where the next find starts
extern std::int32_t gl_word_start;      // start of the report line clicked last (0: none)
extern std::string gl_log;              // the correction log (8-bit lines)
extern std::int32_t gl_log_ct;          // logged corrections that carried an occurrence count
extern std::int32_t gl_log_ct2;         // sum of those occurrence counts
// Empties the loaded-text state above except gl_dropped (a new text is about to be loaded).
void reset_loaded_text_state();

// ---- Scratch buffers: owned by nobody, valid only within one call chain -----------------------
extern std::string glMsg;      // 8-bit message text
extern std::u16string glMsgW;  // UTF-16 message text

// ---- Time, folders, titles --------------------------------------------------------------------
extern std::int64_t i_start;      // microseconds at the start of the process
extern std::int64_t phase_start;  // microseconds at the start of the current phase
std::int64_t jux_mdate();         // the microsecond clock

extern std::filesystem::path start_dir;  // the folder the program was started in
extern std::string start_dirA;           // the same as 8-bit text

// The edition titles: the edition's name, a blank and the version text.
inline constexpr std::u16string_view JUX_VERSION = u"1.0";
extern std::u16string JUXtitle;            // "JUX Dictionary 1.0": the main window
extern std::u16string JUXtitleS;           // "JUX Spell Checker 1.0"
extern std::u16string JUXtitleM;           // "JUX Translator 1.0" (machine translation)
extern std::u16string JUXtitleE;           // "JUX Human Translator 1.0"
extern std::u16string JUXtitleC;           // "JUX Tamsa 1.0" (parallel-text reading)
extern std::u16string JUXtitleCurrentBig;  // the text-checker window's title
// Builds the five titles; JUXtitleCurrentBig starts as the spell-checker title.
void build_titles();

extern std::string authorship;  // the About box's text, unscrambled once at start

// The subsystem's reset for test fixtures.
void reset_window_state();
