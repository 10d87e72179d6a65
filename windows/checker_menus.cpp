// The text-checker window's menus as data, and the building of its menu bar.
#include "windows/checker_menus.h"

#include <array>

#include "lexicon/tables.h"
#include "shell/settings.h"
#include "shell/window_state.h"
#include "windows/checker_state.h"

namespace {

using N = MenuNeeds;
constexpr CheckerMenuItem kSeparator{};

const std::array kFile{
    CheckerMenuItem{9219, u"Отвори\tCtrl+O"},
    CheckerMenuItem{9220, u"Запиши\tCtrl+S"},
    CheckerMenuItem{9221, u"Запиши като UTF-8 файл"},
};

const std::array kFormat{
    CheckerMenuItem{9222, u"Шрифт"},
};

const std::array kOptions{
    CheckerMenuItem{9247, u"Търси пунктуационни грешки", &gl_CHECK_PUNCTUATION},
    CheckerMenuItem{9230, u"Търси всички потенциално разделени думи", &gl_LOOSE_SPLIT},
    CheckerMenuItem{9234, u"Търси потенциално пропуснати запетайки", &gl_FIND_COMMA},
    CheckerMenuItem{9233, u"Търси \"по \" (сравнителна степен без тире)", &gl_FIND_PO_NAI},
    CheckerMenuItem{9238, u"Търси несъгласувани прилагателно и съществително", &gl_FIND_CONCORD},
    CheckerMenuItem{9239, u"Търси всички потенциално грешни кратки членове в нач. на изречение", &gl_FIND_ARTICLES},
    CheckerMenuItem{9231, u"Търси щ -> ш (причастие вместо глагол)", &gl_FIND_SHT_SH},
    CheckerMenuItem{9232, u"Търси ш -> щ (глагол вместо причастие)", &gl_FIND_SH_SHT},
    CheckerMenuItem{9235, u"Търси п->л, н->п, н->и и др. OCR грешки", &gl_FIND_TWO_LETTERS},
    CheckerMenuItem{9236, u"Търси изречения без точка или грешна главна буква", &gl_FIND_NO_STOP},
    CheckerMenuItem{9237, u"Търси съседни съществителни (обикновено не е грешка)", &gl_FIND_TWO_NOUNS},
    kSeparator,
    kSeparator,
    CheckerMenuItem{9240, u"Режим роман", &gl_NOVEL_MODE},
    kSeparator,
    CheckerMenuItem{9248, u"Показвай непознатите думи (или честотния списък) по азбучен ред",
                    &gl_PRINT_UNKNOWN_ALPHABETICALLY},
    kSeparator,
    CheckerMenuItem{9249, u"Честотен списък на всички думи", &gl_TREAT_AS_UNKNOWN},
    CheckerMenuItem{9250, u"Различавай малки и главни букви", &gl_TREAT_AS_UNKNOWN_CASE},
    kSeparator,
    CheckerMenuItem{9251, u"Показвай предложения за корекция дори на верните думи", &gl_ALLWAYS_SUGGEST},
    kSeparator,
    CheckerMenuItem{9260, u"Оцветявай всички англ. думи, не само непознатите", &gl_PRINT_ALL_LATIN},
    kSeparator,
    CheckerMenuItem{9261, u"Изключвай опцията \"Клипборд\" след всяко копиране", &gl_AUTO_CLIPBOARD_DISLABLE},
    kSeparator,
    CheckerMenuItem{9229, u"Генерирай коригиран файл", &gl_AUTO_SPELL},
    CheckerMenuItem{9241, u"Генерирай коригиран OCR файл", &gl_AUTO_OCR},
    CheckerMenuItem{9242, u"Генерирай файл с инфо за дублиращ се текст", &gl_REPEATED_PARTS},
    CheckerMenuItem{0, {}, nullptr, N::AudioIndex},
    CheckerMenuItem{9252, u"Произнасяй избраните думи (говорещ речник)", &gl_TALKING_MODE, N::AudioIndex},
    CheckerMenuItem{9253, u"Произнасяй английския превод на избраната бг дума", &gl_AUDIO_BG_TO_EN, N::BgAudioIndex},
    CheckerMenuItem{9254, u"Произнасяй българския превод след английската дума", &gl_AUDIO_BG_AFTER_EN,
                    N::BgAudioIndex},
    CheckerMenuItem{9256, u"Показвай съобщения", &gl_SHOW_MESSAGES},
    CheckerMenuItem{9257, u"Лог на корекциите (във файл LOG_)", &gl_SPELL_CHECKER_LOG},
    CheckerMenuItem{9258, u"Инфо в долния вместо в левия панел", &gl_PRINT_DOWN},
    CheckerMenuItem{9259, u"Веднъж", &gl_SHOW_ONCE},
};

const std::array kEnglish{
    CheckerMenuItem{9262, u"Честотен списък на всички думи, не само на непознатите", &gl_ENGLIST_ALL},
    CheckerMenuItem{9268, u"Само липсващите думи с ранг", &gl_ENGLIST_MISSING_RANK},
    CheckerMenuItem{9269, u"Само липсващите думи от разширения английски списък (eng2)", &gl_ENGLIST_MISSING_RANK2},
    CheckerMenuItem{9265, u"Показвай и думите с главна буква", &gl_ENGLIST_UPPERCASE},
    CheckerMenuItem{9267, u"Само липсващите машинни значения", &gl_ENGLIST_MISSING_MACHINE},
    CheckerMenuItem{9270, u"Само трудните думи", &gl_ENGLIST_HARD},
    kSeparator,
    CheckerMenuItem{9263, u"Различавай малки и главни букви", &gl_ENGLIST_CASE},
    CheckerMenuItem{9264, u"Показвай непознатите думи (или честотния списък) по азбучен ред",
                    &gl_ENGLIST_ALPHABETICALLY},
    CheckerMenuItem{9266, u"Показвай предложения за корекция дори на верните думи", &gl_ENGLIST_ALLWAYS_SUGGEST},
    CheckerMenuItem{9271, u"Формата без апострофа ('s 'd 'll 've 're)", &gl_ENGLIST_SKIP_APOS1},
    CheckerMenuItem{9272, u"Игнорирай формите с апостроф", &gl_ENGLIST_SKIP_APOS2},
    CheckerMenuItem{9273, u"Преводът може да се клика", &gl_ENGLIST_VERTICAL},
    CheckerMenuItem{9274, u"Компактен бг превод до английската дума", &gl_ENGLIST_SHORT_BG},
    CheckerMenuItem{9275, u"Без бг превод до английската дума", &gl_ENGLIST_NO_BG},
    CheckerMenuItem{9277, u"Негрупиран списък на непознатите думи", &gl_ENGLIST_UNGROUPED},
    CheckerMenuItem{9276, u"Генерирай файл вместо списък в левия панел", &gl_ENGLIST_GENARATE_FILE},
};

const std::array kAudio{
    CheckerMenuItem{9278, u"Генерирай текстов речник (_date.txt) без Ogg файлове", &gl_AUDIO_TEXT_ONLY},
    CheckerMenuItem{9279, u"Генерирай Ogg файл без изговор", &gl_AUDIO_GER},
    CheckerMenuItem{9283, u"Ogg файлове с индекс в рамките на една сесия", &gl_AUDIO_OGG_INDEX},
    CheckerMenuItem{9284, u"Ogg файлове с индекс и ранг в края на името", &gl_AUDIO_OGG_INDEX_END},
    CheckerMenuItem{9286, u"Компактен бг превод в името на Ogg файла", &gl_AUDIO_OGG_CLEAN},
    CheckerMenuItem{9287, u"Без бг превод в името на Ogg файла", &gl_AUDIO_OGG_NO_BG},
    CheckerMenuItem{9282, u"Нелатински думи", &gl_AUDIO_NOLATIN},
    CheckerMenuItem{9285, u"Думи изцяло от цифри и/или тире", &gl_AUDIO_DIGITS_ONLY},
    CheckerMenuItem{9288, u"Без (H) в името на Ogg файла", &gl_AUDIO_OGG_WITHOUT_H},
    CheckerMenuItem{9280, u"Не изговаряй думите от файла b_audio_skip.txt", &gl_AUDIO_SKIP},
    CheckerMenuItem{9281, u"Повтаряй два пъти", &gl_AUDIO_REPEAT},
    CheckerMenuItem{9255, u"Удължи думата (добавя пауза в края)", &gl_AUDIO_MAKE_LONG},
};

const std::array kModules{
    CheckerMenuItem{9243, u"Машинен превод от английски", &gl_MACHINE_TRANSLATION},
    CheckerMenuItem{9244, u"Човешки превод от английски", &gl_ENGLISH_TRANSLATION},
    CheckerMenuItem{IDM_BIG_MAIN_WINDOW, u"Английско-български речник"},
    CheckerMenuItem{9245, u"Tamsa", &gl_CORPUS_TRANSLATION},
};

const std::array kHelp{
    CheckerMenuItem{9223, u"Проверка за нова версия"},
    CheckerMenuItem{9224, u"Помощ"},
    CheckerMenuItem{9226, u"Таблица на глаголните типове и спрежения"},
    CheckerMenuItem{9227, u"Таблица на съществителните и прилагателни типове"},
    CheckerMenuItem{9225, u"Информация за редките думи"},
    kSeparator,
    CheckerMenuItem{9228, u"За програмата"},
};

bool wanted(MenuNeeds n) {
    switch (n) {
        case MenuNeeds::AudioIndex: return audio_index_loaded();
        case MenuNeeds::BgAudioIndex: return bg_audio_index_loaded();
        case MenuNeeds::Always: break;
    }
    return true;
}

// A popup with the items of the table that are wanted, their check marks from their flags.
HMENU popup_of(std::span<const CheckerMenuItem> items) {
    HMENU m = CreatePopupMenu();
    for (const CheckerMenuItem& it : items) {
        if (!wanted(it.needs)) continue;
        if (it.id == 0) {
            AppendMenuW(m, MF_SEPARATOR, 0);
            continue;
        }
        const UINT checked = it.flag && *it.flag ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuW(m, MF_STRING | checked, it.id, it.label);
    }
    return m;
}

}  // namespace

std::span<const CheckerMenuItem> checker_file_items() { return kFile; }
std::span<const CheckerMenuItem> checker_format_items() { return kFormat; }
std::span<const CheckerMenuItem> checker_options_items() { return kOptions; }
std::span<const CheckerMenuItem> checker_english_items() { return kEnglish; }
std::span<const CheckerMenuItem> checker_audio_items() { return kAudio; }
std::span<const CheckerMenuItem> checker_modules_items() { return kModules; }
std::span<const CheckerMenuItem> checker_help_items() { return kHelp; }

bool audio_index_loaded() { return b[B_ENGLISH_AO].count > 0 || b[B_ENGLISH_AO2].count > 0; }
bool bg_audio_index_loaded() { return b[B_ENGLISH_AO2].count > 0; }

void build_checker_menus(HWND dlg) {
    hMenuFileS = popup_of(kFile);
    hMenuSetS = popup_of(kOptions);
    hMenuToolsS = popup_of(kModules);
    CheckMenuItem(hMenuToolsS, IDM_BIG_MAIN_WINDOW, IsWindowVisible(hMain) ? MF_CHECKED : MF_UNCHECKED);
    hMenuFormatS = popup_of(kFormat);
    hMenuHelpS = popup_of(kHelp);
    hMenuMainS = CreateMenu();
    AppendSubMenu(hMenuMainS, hMenuFileS, u"Файл");
    AppendSubMenu(hMenuMainS, hMenuFormatS, u"Формат");
    AppendSubMenu(hMenuMainS, hMenuSetS, u"Опции");
    AppendSubMenu(hMenuMainS, hMenuToolsS, u"Модули");
    AppendSubMenu(hMenuMainS, hMenuHelpS, u"Помощ");
    hMenuPopupSetAudioS = popup_of(kAudio);
    hMenuPopupSetEngS = popup_of(kEnglish);
    AppendSubMenu(hMenuSetS, hMenuPopupSetEngS, u"Английски списък");
    if (audio_index_loaded()) {
        AppendSubMenu(hMenuSetS, hMenuPopupSetAudioS, u"Изговаряне");
    } else {
        // Not offered: the submenu is made for nobody, so it goes at once.
        DestroyMenu(hMenuPopupSetAudioS);
        hMenuPopupSetAudioS = HMENU{};
    }
    SetMenu(dlg, hMenuMainS);
    DrawMenuBar(dlg);
}
