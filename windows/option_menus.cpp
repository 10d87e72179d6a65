// The check items of the text-checker window's option menus: a click flips the item's mark and
// its flag together. Nothing is written back to the settings files; the next run reads the flag.
#include <array>
#include <span>

#include "shell/settings.h"
#include "shell/window_state.h"
#include "windows/checker_layout.h"
#include "windows/checker_menus.h"
#include "windows/checker_state.h"

namespace {

bool is_option_command(UINT id) {
    return (id >= 9229 && id <= 9242) || (id >= 9247 && id <= 9288);
}

// The flag of a check item of the three option menus, or null.
std::int8_t* flag_of(UINT id) {
    for (auto items : {checker_options_items(), checker_english_items(), checker_audio_items()})
        for (const CheckerMenuItem& it : items)
            if (it.id == id) return it.flag;
    return nullptr;
}

}  // namespace

int checker_option_command(HWND dlg, UINT id) {
    if (!is_option_command(id)) return 0;
    std::int8_t* flag = flag_of(id);
    // The item in its own menu (the submenus are searched as their own menus first).
    HMENU menu{};
    for (HMENU m : {hMenuPopupSetEngS, hMenuPopupSetAudioS, hMenuSetS})
        if (m && GetMenuState(m, id, MF_BYCOMMAND) != -1) {
            menu = m;
            break;
        }
    if (!menu || !flag) return 1;
    const bool was_checked = (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    CheckMenuItem(menu, id, MF_BYCOMMAND | (was_checked ? MF_UNCHECKED : MF_CHECKED));
    *flag = was_checked ? 0 : 1;
    if (id == IDM_BIG_PRINT_DOWN) {
        gl_PRINT_DOWN_save = *flag;
        size_big(dlg);
    }
    SetFocus(hBigReRight);
    return 1;
}
