// Labels of the shared rich-edit popup menu (commands 8084 to 8101; 8095 to 8099 are free) and the
// main window's menu bar.
#include <array>

#include "resources/resources.h"

namespace {
constexpr std::array kPopupAll{
    PopupItem{IDM_RE_UNDO, u"Отмени"},
    PopupItem{IDM_RE_REDO, u"Върни"},
    PopupItem{0, {}},
    PopupItem{IDM_RE_CUT, u"Изрежи"},
    PopupItem{IDM_RE_COPY, u"Копирай"},
    PopupItem{IDM_RE_PASTE, u"Постави"},
    PopupItem{IDM_RE_DELETE, u"Изтрий"},
    PopupItem{0, {}},
    PopupItem{IDM_RE_SELECT_ALL, u"Маркирай всичко"},
    PopupItem{IDM_RE_COPY_ALL, u"Копирай всичко"},
    PopupItem{IDM_RE_CLEAR, u"Изчисти всичко"},
    PopupItem{0, {}},
    PopupItem{IDM_RE_FONT, u"Шрифт..."},
    PopupItem{IDM_RE_FONT_LARGER, u"По-голям шрифт"},
    PopupItem{IDM_RE_FONT_SMALLER, u"По-малък шрифт"},
    PopupItem{IDM_RE_WORD_WRAP, u"Пренасяне на редовете"},
};

// The main window's menu bar. The commands of windows that are not part of the program yet (the
// text-checker and translation windows, the inflection-type input, settings and character table
// windows, the About box) are offered and do nothing until those windows come.
constexpr std::array kFileMenu{
    PopupItem{IDA_OPEN, u"Open...\tCtrl+O"},
    PopupItem{IDA_SAVE, u"Save\tCtrl+S"},
    PopupItem{IDA_FIND_REPLACE, u"Find and replace\tCtrl+F"},
};
constexpr std::array kInsertMenu{
    PopupItem{IDM_INPUT_TYPE, u"Inflection type..."},
    PopupItem{0, {}},
    PopupItem{IDM_ADD_CUSTOM_WORD, u"Add the word to my Bulgarian words"},
    PopupItem{IDM_ERASE_CUSTOM_WORD, u"Empty my Bulgarian words"},
};
constexpr std::array kWindowsMenu{
    PopupItem{IDC_ADD_BIG_SPELL, u"Spell checker"},
    PopupItem{IDC_ADD_BIG_TRANS, u"Translation"},
    PopupItem{0, {}},
    PopupItem{IDM_SETTINGS, u"Settings..."},
    PopupItem{IDM_ASCII, u"Character table..."},
};
constexpr std::array kToolsMenu{
    PopupItem{IDM_MAKE_AUDIO_FILE, kMakeAudioFileLabel},
    PopupItem{0, {}},
    PopupItem{IDM_BULK_UTF8_CONCAT, kBulkUtf8ConcatLabel},
    PopupItem{IDM_BULK_UTF8, kBulkUtf8Label},
    PopupItem{IDM_FIX_TXT, kFixTxtLabel},
};
constexpr std::array kHelpMenu{
    PopupItem{IDA_ABOUT, u"About\tCtrl+Alt+Shift+F9"},
};
constexpr std::array kMainMenuBar{
    MainMenu{u"File", kFileMenu},
    MainMenu{kInsertMenuTitle, kInsertMenu},
    MainMenu{u"Windows", kWindowsMenu},
    MainMenu{u"Tools", kToolsMenu},
    MainMenu{u"Help", kHelpMenu},
};
}  // namespace

std::span<const PopupItem> popup_all_items() { return kPopupAll; }
std::span<const MainMenu> main_menu_bar() { return kMainMenuBar; }
