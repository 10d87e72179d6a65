// windows/control_handles.h - the globals that keep a dialog's control handles: filled from a table
// of (identifier, global) when the dialog is made, emptied when it goes, so that no handle of a
// closed dialog is used.
#pragma once

#include <span>
#include <string_view>

#include "platform/types.h"
#include "shell/ui_services.h"

// One control of a dialog, by identifier, and the global that keeps its handle.
struct ControlHandle {
    int id;
    HWND* handle;
};

// Fetches every control of the table into its global, in the table's order; `name_of(id)` is the
// name a missing control is reported by (see JUX_GetDlgItem).
template <class NameOf>
void fetch_control_handles(HWND dlg, std::span<const ControlHandle> controls, NameOf name_of) {
    for (const ControlHandle& c : controls) *c.handle = JUX_GetDlgItem(dlg, c.id, name_of(c.id));
}

// Empties every global of the table.
inline void forget_control_handles(std::span<const ControlHandle> controls) {
    for (const ControlHandle& c : controls) *c.handle = HWND{};
}
