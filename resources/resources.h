// resources/resources.h - identifiers and tables of the program's compiled-in resources.
//
// Dialog templates are registered with the platform by register_dialog_templates() (the start-up
// calls it first); the accelerator table and the popup labels are read by the start-up when it
// builds the menus and enters the message loop.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "platform/window.h"

// ---- Icons ------------------------------------------------------------------------------------
inline constexpr int IDI_JUX32 = 115;        // the program's icon (windows, notification area)
inline constexpr int IDI_TRANSLATION = 116;  // the translation windows' icon
inline constexpr int IDI_INFO = 118;         // the information window's icon
// Bitmaps of the audio buttons.
inline constexpr int IDB_AUDIO_RED = 129;    // no clip for the word
inline constexpr int IDB_AUDIO_GREEN = 130;  // a clip was found

// ---- Splash window (template 105) -------------------------------------------------------------
inline constexpr int IDD_STARTING = 105;          // the splash shown while the lexicon loads
inline constexpr int IDC_STARTING_TEXT = 1244;    // its one line of text

// ---- The main window (template 101, DialogAdd) -------------------------------------------------
inline constexpr int IDD_ADD = 101;               // the main window: look-up as you type
inline constexpr int IDC_ADD_RE_SHORT = 1001;     // the entry box
inline constexpr int IDC_ADD_RE_SAVED = 1002;     // the entry panel: the word's entries and definitions
inline constexpr int IDC_ADD_RE_SHORT_COPY = 1003;  // hidden copy of the entry box (other windows' look-ups)
inline constexpr int IDC_ADD_RE_DICT = 1004;      // the dictionary round the word (the run's report panel)
inline constexpr int IDC_ADD_RE_SHORT3 = 1005;    // words known from the English word lists only
inline constexpr int IDC_ADD_RE_BG = 1006;        // paradigms of a Bulgarian word
inline constexpr int IDC_ADD_RE_LONG = 1007;      // the entry editor's long pane (hidden)
inline constexpr int IDC_ADD_RE_HYPHEN = 1008;    // corpus lines of the word
inline constexpr int IDC_ADD_LABEL = 1009;        // status line
inline constexpr int IDC_ADD_TRANS_SIR = 1064;    // the entry editor's transcription field (hidden)
inline constexpr int IDC_ADD_UPDATE_DEFINITION_AFTER_ADD = 1166;  // refresh the definition after an entry is added
inline constexpr int IDC_ADD_SENTENCE = 1171;     // cut the text into words, a report line for each
inline constexpr int IDC_ADD_BIG_TRANS = 1178;    // opens the translation window
inline constexpr int IDC_ADD_BIG_SPELL = 1180;    // opens the text-checker window
inline constexpr int IDC_ADD_CANCEL = 1183;       // stops a look-up's run (Cancel)
inline constexpr int IDC_ADD_AUDIO_BUTTON = 1297;  // pronounces the selection of the focus pane
inline constexpr int IDC_ADD_AUDIO_LABEL = 1148;   // the word last pronounced

// ---- Commands ---------------------------------------------------------------------------------
// The shared rich-edit popup menu: commands 8084 to 8101 act on the focus pane (ContextMenu).
inline constexpr UINT IDM_RE_FIRST = 8084;
inline constexpr UINT IDM_RE_CUT = 8084;
inline constexpr UINT IDM_RE_COPY = 8085;
inline constexpr UINT IDM_RE_PASTE = 8086;
inline constexpr UINT IDM_RE_DELETE = 8087;
inline constexpr UINT IDM_RE_SELECT_ALL = 8088;
inline constexpr UINT IDM_RE_COPY_ALL = 8089;
inline constexpr UINT IDM_RE_CLEAR = 8090;
inline constexpr UINT IDM_RE_FONT = 8091;
inline constexpr UINT IDM_RE_FONT_LARGER = 8092;
inline constexpr UINT IDM_RE_FONT_SMALLER = 8093;
inline constexpr UINT IDM_RE_WORD_WRAP = 8094;
inline constexpr UINT IDM_RE_UNDO = 8100;
inline constexpr UINT IDM_RE_REDO = 8101;
inline constexpr UINT IDM_RE_LAST = 8101;
inline constexpr UINT IDM_AUDIO = 8200;     // pronounce the selection (only with an audio index)
inline constexpr UINT IDM_SHOW_BIG = 8201;  // show the focus pane in the translation window
// Main-window menu commands (the menu bar's maintenance menu).
inline constexpr UINT IDM_MAKE_AUDIO_FILE = 9230;  // "Make audio file": pack a folder of clips
inline constexpr std::u16string_view kMakeAudioFileLabel = u"Make audio file";
inline constexpr UINT IDM_BULK_UTF8_CONCAT = 9301;  // convert a folder tree's UTF-8 texts, concatenated
inline constexpr std::u16string_view kBulkUtf8ConcatLabel = u"Convert bulk UTF8 to ANSI and concatenate";
inline constexpr UINT IDM_BULK_UTF8 = 9302;         // convert a folder tree's UTF-8 texts into a mirrored tree
inline constexpr std::u16string_view kBulkUtf8Label = u"Convert bulk UTF8 to ANSI";
inline constexpr UINT IDM_FIX_TXT = 9303;           // fix a folder tree's book texts into a mirrored tree
inline constexpr std::u16string_view kFixTxtLabel = u"Fix txt";

// Main-window accelerator commands.
inline constexpr WORD IDA_OPEN = 9219;          // Ctrl+O: open a file into the text-checker window
inline constexpr WORD IDA_SAVE = 9220;          // Ctrl+S: save the text-checker window's text
inline constexpr WORD IDA_FIND_REPLACE = 1241;  // Ctrl+F, Ctrl+R: the text-checker's find and replace
inline constexpr WORD IDA_ABOUT = 40052;        // Ctrl+Alt+Shift+F9: the About box

// Main-window menu commands (besides the accelerators' and the buttons' own).
inline constexpr UINT IDM_INPUT_TYPE = 8300;       // the inflection-type input window
inline constexpr UINT IDM_SETTINGS = 9213;         // the settings window
inline constexpr UINT IDM_ASCII = 9214;            // the character table window
inline constexpr UINT IDM_ADD_CUSTOM_WORD = 9232;  // the entry box's first word to the user's Bulgarian words
inline constexpr UINT IDM_ERASE_CUSTOM_WORD = 9233;  // empty the user's Bulgarian words (a copy is kept)

// ---- Tables -----------------------------------------------------------------------------------
// Registers every dialog template of this folder with the platform (idempotent).
void register_dialog_templates();
// Registers the main window's template IDD_ADD (idempotent; its window calls it before it opens).
void register_main_window_template();
// Captions of the main window's controls.
inline constexpr std::u16string_view kAddSentenceCaption = u"Word by word";
inline constexpr std::u16string_view kAddUpdateCaption = u"Refresh after adding";
inline constexpr std::u16string_view kAddBigSpellCaption = u"Spell checker";
inline constexpr std::u16string_view kAddBigTransCaption = u"превод";
inline constexpr std::u16string_view kAddCancelCaption = u"Cancel";

// The main window's accelerator table (key, modifiers, command), in the order above.
std::vector<ACCEL> main_accelerator_table();

// One item of a popup menu: a command with its label, or a separator (id 0).
struct PopupItem {
    UINT id = 0;
    std::u16string_view label;
};
// One menu of the main window's menu bar: its title and items (separators included).
struct MainMenu {
    std::u16string_view title;
    std::span<const PopupItem> items;
};
// The main window's menu bar, in order; the menu titled kInsertMenuTitle belongs to the
// dictionary edit mode.
std::span<const MainMenu> main_menu_bar();
inline constexpr std::u16string_view kInsertMenuTitle = u"Insert";

// The rich-edit commands of the shared popup menu, in menu order (separators included).
std::span<const PopupItem> popup_all_items();
inline constexpr std::u16string_view kPopupAudioLabel = u"Изговори";    // item 8200
inline constexpr std::u16string_view kPopupShowBigLabel = u"Show Big";  // item 8201
