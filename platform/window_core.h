// Internal state of the platform core shared by its source files (window.cpp, menus.cpp,
// messageloop.cpp, shell_services.cpp, user_input.cpp). Nothing outside platform/ includes it.
//
// Re-entrancy rule of the core: a procedure may create or destroy windows, menus and anything
// else while it runs, so no code here keeps a pointer or reference into these containers across
// a call of a procedure or of the backend; it looks the object up again by its handle.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "platform/backend.h"

// ---- Global state of the platform core (cleared by platform_reset unless noted) ----------------
extern std::unique_ptr<Backend> g_backend;  // the backend in use; null until one is installed
extern std::map<std::uint32_t, std::unique_ptr<WindowModel>> g_windows;  // live windows by handle id
extern std::uint32_t g_next_window_id;    // next window handle id (never reset: ids are not reused)
extern std::set<std::uint32_t> g_destroying;  // windows whose DestroyWindow is under way
extern std::map<int, DialogTemplate> g_dialog_templates;  // templates by number (kept by resets)
extern std::map<std::uint32_t, MenuModel> g_menus;  // live menus by handle id
extern std::uint32_t g_next_menu_id;      // next menu handle id (never reset)
extern std::map<std::uint32_t, LOGFONTW> g_fonts;  // fonts made by CreateFontIndirectW
extern std::uint32_t g_next_font_id;      // next font handle id (never reset)
extern std::map<std::uint32_t, std::vector<ACCEL>> g_accel_tables;  // accelerator tables
extern std::uint32_t g_next_accel_id;     // next accelerator table id (never reset)
extern std::deque<std::pair<HWND, Msg>> g_posted;  // posted messages, oldest first
extern bool g_quit_requested;             // PostQuitMessage was called and no loop has ended since
extern int g_quit_code;                   // the code of the last PostQuitMessage
extern HWND g_focus;                      // the window with the keyboard focus
extern HWND g_active;                     // the active top-level window
extern std::vector<HWND> g_clipboard_viewers;  // windows that receive WM_DRAWCLIPBOARD
extern HACCEL g_loop_accel;               // accelerator table of the running message loop
extern HWND g_loop_accel_target;          // the window its commands go to
extern int g_modal_depth;                 // modal dialogs running (their loops skip accelerators)
extern int g_pump_depth;                  // PL_PumpMessages calls running (no accelerators either)
extern std::map<std::pair<std::uint32_t, UINT>, UINT> g_tray_icons;  // (window, icon id) -> callback message

// ---- Helpers -----------------------------------------------------------------------------
WindowModel* core_window(HWND h);           // live window or null
WindowModel* core_dialog_of(HWND h);        // the dialog itself, or a control's dialog
HWND core_top_level(HWND h);                // a control's dialog, else the window itself
void core_sync(HWND h, WindowProp what);    // tells the window's view, when it has one
// Gives `h` the keyboard focus and activates its window (SetFocus); `how` is WindowProp::Focus, or
// TabFocus when the Tab key moved it. Returns the previous focus.
HWND core_focus(HWND h, WindowProp how);
MenuModel* core_menu(HMENU h);              // live menu or null
void core_menu_changed(HMENU h);            // re-shows every window bar that contains the menu
// An enabled command item (not a separator, submenu, greyed or disabled item) with this id in
// the menu or its submenus.
bool core_menu_has_enabled_command(HMENU m, UINT id);
// Called by DestroyWindow once a top-level window is gone: tray icons and bars it held.
void core_forget_window_services(HWND h);

// A fresh headless backend (headless.cpp): what platform_backend() installs when nothing was.
std::unique_ptr<Backend> headless_make_backend();

// Per-topic resets called by platform_reset.
void core_reset_menus();
void core_reset_loop();
void core_reset_services();

// Integer a * b / c rounded to the nearest, halves away from zero (c > 0).
int core_mul_div(int a, int b, int c);
