// resources/machine_window.h - template 123 of the machine-translation window (DialogMachine):
// its controls with identifiers, captions, places and the identifier texts that name them.
//
// The window's procedure and its handles live in windows/machine_window.h; the table is data only.
#pragma once

#include <span>
#include <string_view>

#include "platform/window.h"

inline constexpr int IDD_MACHINE = 123;  // the machine-translation window

inline constexpr int IDC_MACHINE_RE = 1277;         // the translation panel
inline constexpr int IDC_MACHINE_CLEAR = 1288;      // "clr"
inline constexpr int IDC_MACHINE_MIXED = 1289;      // "Смесен текст": the parallel display
inline constexpr int IDC_MACHINE_REFRESH = 1290;    // "Refresh"
inline constexpr int IDC_MACHINE_RE_FILTER = 1291;  // the filter field
inline constexpr int IDC_MACHINE_LABEL = 1298;      // the status line
inline constexpr int IDC_MACHINE_ON = 1292;         // "on"

// One control of template 123: kind, identifier (-1 for the label without one), caption, place in
// dialog units, the identifier text that names it when its handle cannot be made, its style.
struct MachineControl {
    ControlKind kind = ControlKind::PushButton;
    int id = -1;
    std::u16string_view caption;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string_view name;
    DWORD style = 0;
};
// The 8 controls in template order.
std::span<const MachineControl> machine_controls();

// Registers template 123 with the platform (idempotent).
void register_machine_template();
