// Labels of the shared rich-edit popup menu (commands 8084 to 8101; 8095 to 8099 are free).
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
}  // namespace

std::span<const PopupItem> popup_all_items() { return kPopupAll; }
