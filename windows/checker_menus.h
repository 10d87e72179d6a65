// windows/checker_menus.h - the text-checker window's run-time menu bar: "Файл", "Формат",
// "Опции" (with its submenus "Английски списък" and "Изговаряне"), "Модули" and "Помощ", each
// item with the flag its check mark mirrors; and the option menus' command (the check items).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/window.h"

// When an item is on its menu.
enum class MenuNeeds {
    Always,
    AudioIndex,    // an audio index (English or Bulgarian) holds entries
    BgAudioIndex,  // the Bulgarian audio index holds entries
};

// One item of a menu: a command (a check item when `flag` is set) or a separator (id 0).
struct CheckerMenuItem {
    UINT id = 0;
    std::u16string_view label;
    std::int8_t* flag = nullptr;  // the flag its check mark mirrors
    MenuNeeds needs = MenuNeeds::Always;
};

std::span<const CheckerMenuItem> checker_file_items();     // "Файл"
std::span<const CheckerMenuItem> checker_format_items();   // "Формат"
std::span<const CheckerMenuItem> checker_options_items();  // "Опции" without its submenus
std::span<const CheckerMenuItem> checker_english_items();  // "Английски списък"
std::span<const CheckerMenuItem> checker_audio_items();    // "Изговаряне"
std::span<const CheckerMenuItem> checker_modules_items();  // "Модули"
std::span<const CheckerMenuItem> checker_help_items();     // "Помощ"

inline constexpr UINT IDM_BIG_MAIN_WINDOW = 9246;  // "Английско-български речник": checked while the main window shows
inline constexpr UINT IDM_BIG_PRINT_DOWN = 9258;   // "Инфо в долния вместо в левия панел"
inline constexpr UINT IDM_BIG_CHECK_PUNCTUATION = 9247;

// Whether the English (row 28) or Bulgarian (row 29) audio index holds entries; the Bulgarian one.
bool audio_index_loaded();
bool bg_audio_index_loaded();

// Builds the menus (their handles in hMenuMainS, hMenuFileS, ... of windows/checker_state.h),
// each check mark from its flag and 9246 from the main window's visibility, and attaches the bar
// to the window.
void build_checker_menus(HWND dlg);

// The option menus' check items (9229-9242, 9247-9288 but the mode items 9243-9246): the mark
// and the flag flip together, the right panel takes the focus; 9258 also keeps the flag for the
// translation modes and lays the window out again. Returns 1 for one of those items (an item that
// is not on the menus, as the audio items without an audio index, changes nothing), else 0.
int checker_option_command(HWND dlg, UINT id);
