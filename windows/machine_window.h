// windows/machine_window.h - the machine-translation window (template 123, DialogMachine, handle
// hMachine): the output window of the text checker's translation modes. The run writes the
// translation of the checked text into its panel hMachineRe and reads its filter field
// hMachineReFilter; the window holds the translator's switches ("Смесен текст", "on" and the
// menu "Опции"), a Refresh button that checks the text again and "clr". Titled "Машинен превод"
// in the machine-translation mode, "Контекст" otherwise. Closing it returns the checker to spell
// checking.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/window.h"

inline constexpr std::u16string_view kMachineTitle = u"Машинен превод";
inline constexpr std::u16string_view kContextTitle = u"Контекст";

// The window's controls and menus other than hMachine, hMachineRe and hMachineReFilter (shared
// through shell/window_state.h); null while the window does not exist.
extern HWND hMachineCln;      // 1288 "clr"
extern HWND hMachineMixed;    // 1289 "Смесен текст"
extern HWND hMachineRefresh;  // 1290 "Refresh"
extern HWND hMachineLabel;    // 1298 the status line (written by the phrase search of the word panel)
extern HWND hMachineOn;       // 1292 "on"
extern HMENU hMenuMach;       // the window's menu bar
extern HMENU hMenuMachSet;    // its popup "Опции"

// One item of the menu "Опции": a check item with the flag it mirrors, or a separator (id 0).
struct MachineMenuItem {
    UINT id = 0;
    std::u16string_view label;
    std::int8_t* flag = nullptr;
};
// The 8 entries of "Опции" in menu order (6 check items, 2 separators).
std::span<const MachineMenuItem> machine_menu_items();

// The window's procedure: initialisation, layout, its commands, the panel's mouse notifications,
// the right-click menu and the close box (back to spell checking).
INT_PTR DialogMachine(HWND dlg, const Msg& m);

// The layout for the window's client size: filter field, "Смесен текст", Refresh, "clr", status
// line and the translation panel filling the rest above the bottom margin.
void size_machine(HWND dlg);

// Creates the window (modeless, no owner) when hMachine is not a window, shows and repaints it.
// Its title is then the one its initialisation chose; callers that know the mode set their own.
// Returns hMachine (null when it could not be made).
HWND open_machine_window();
// Destroys the window without the close box's return to spell checking; hMachine becomes null.
void destroy_machine_window();

// The subsystem's reset for test fixtures: the handles above null (the window itself is destroyed
// by the platform's reset).
void reset_machine_window();
