// windows/secondary_panels.h - the mouse and menu protocol that the rich-edit panels of the
// secondary windows (find and replace, translation, information) share: the shared popup menu's
// commands, the right click offered to each panel in turn, and the left-button release that makes
// a panel the focus pane.
#pragma once

#include <initializer_list>

#include "platform/window.h"

// The shared popup's commands: 8084-8101 go to ContextMenu, 8200 speaks the focus pane's
// selection. True when `id` was one of them.
bool secondary_popup_command(UINT id);
// WM_CONTEXTMENU: the first of the panels that holds the screen point opens the shared popup and
// becomes the focus pane; 1 then, else 0.
INT_PTR secondary_context_menu(HWND dlg, std::initializer_list<HWND> panels, POINT screen);
// WM_NOTIFY: an EN_MSGFILTER left-button release from one of the panels makes it the focus pane.
void track_focus_pane(const Msg& m, std::initializer_list<HWND> panels);
// The secondary windows' panel font, 8-point "Microsoft Sans Serif" of weight 500: made and given
// to the panels; returned, or null when it cannot be made ("Bad Font", caption "Oops!", error
// icon, owned by the main window; the panels keep their font). The live clipboard window keeps it
// as a font of its own.
HFONT give_secondary_panel_font(std::initializer_list<HWND> panels);
// The same, and kept in hFont as the font the next windows' panels start from.
void set_secondary_panel_font(std::initializer_list<HWND> panels);
