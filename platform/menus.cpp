// Menu bars, popup menus and accelerator tables built at run time.
//
// An item is found either by position in the menu named, or by command identifier: then the menu
// and its submenus are searched depth first and the first item with that identifier is used (the
// same identifier may stand in several menus). A submenu's item is found by command through the
// submenu's handle; menu handles start above the 16-bit command range so the two never meet.
#include <optional>
#include <set>

#include "platform/backend.h"
#include "platform/window.h"
#include "platform/window_core.h"

std::map<std::uint32_t, MenuModel> g_menus;
std::uint32_t g_next_menu_id = 0x00010000;
std::map<std::uint32_t, std::vector<ACCEL>> g_accel_tables;
std::uint32_t g_next_accel_id = 1;

MenuModel* core_menu(HMENU h) {
    if (!h) return nullptr;
    auto it = g_menus.find(h.id);
    return it == g_menus.end() ? nullptr : &it->second;
}

void core_reset_menus() {
    g_menus.clear();
    g_accel_tables.clear();
}

namespace {

constexpr UINT kItemFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_MENUBARBREAK |
                            MF_MENUBREAK | MF_SEPARATOR;
constexpr UINT kNoItemId = 0xFFFFFFFFu;

struct ItemRef {
    HMENU menu;
    std::size_t index = 0;
};

// True when `inner` is `outer` or lies somewhere below it.
bool menu_contains(HMENU outer, HMENU inner, std::set<std::uint32_t>& seen) {
    if (outer == inner) return true;
    MenuModel* m = core_menu(outer);
    if (!m || !seen.insert(outer.id).second) return false;
    for (const MenuItem& it : m->items)
        if (it.submenu && menu_contains(it.submenu, inner, seen)) return true;
    return false;
}

bool menu_contains(HMENU outer, HMENU inner) {
    std::set<std::uint32_t> seen;
    return menu_contains(outer, inner, seen);
}

std::optional<ItemRef> find_by_command(HMENU m, UINT id, std::set<std::uint32_t>& seen) {
    MenuModel* mm = core_menu(m);
    if (!mm || !seen.insert(m.id).second) return std::nullopt;
    for (std::size_t i = 0; i < mm->items.size(); ++i) {
        const MenuItem& it = mm->items[i];
        if (it.flags & MF_POPUP) {
            if (it.submenu.id == id) return ItemRef{m, i};
            if (auto r = find_by_command(it.submenu, id, seen)) return r;
        } else if (!(it.flags & MF_SEPARATOR) && it.id == id) {
            return ItemRef{m, i};
        }
    }
    return std::nullopt;
}

std::optional<ItemRef> find_item(HMENU m, UINT item, UINT flags) {
    MenuModel* mm = core_menu(m);
    if (!mm) return std::nullopt;
    if (flags & MF_BYPOSITION) {
        if (item >= mm->items.size()) return std::nullopt;
        return ItemRef{m, item};
    }
    std::set<std::uint32_t> seen;
    return find_by_command(m, item, seen);
}

MenuItem& item_at(const ItemRef& r) { return core_menu(r.menu)->items[r.index]; }

// The item that AppendMenuW and its kin describe; nullopt for a popup whose submenu does not
// exist or would contain the menu `into` (a menu cannot open itself).
std::optional<MenuItem> make_item(HMENU into, UINT flags, std::uintptr_t id_or_submenu,
                                  std::u16string_view text) {
    MenuItem it;
    it.flags = flags & kItemFlags;
    if (flags & MF_SEPARATOR) {
        it.flags = MF_SEPARATOR | (flags & (MF_MENUBREAK | MF_MENUBARBREAK));
        return it;
    }
    if (flags & MF_POPUP) {
        if (id_or_submenu > 0xFFFFFFFFu) return std::nullopt;
        HMENU sub{static_cast<std::uint32_t>(id_or_submenu)};
        if (!core_menu(sub) || menu_contains(sub, into)) return std::nullopt;
        it.submenu = sub;
    } else {
        it.id = static_cast<UINT>(id_or_submenu);
    }
    it.text.assign(text);
    return it;
}

bool insert_item(HMENU m, std::size_t index, MenuItem item) {
    MenuModel* mm = core_menu(m);
    if (!mm) return false;
    if (index > mm->items.size()) index = mm->items.size();
    mm->items.insert(mm->items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    core_menu_changed(m);
    return true;
}

bool take_item(HMENU m, UINT item, UINT flags, bool destroy_submenu) {
    auto r = find_item(m, item, flags);
    if (!r) return false;
    MenuModel* mm = core_menu(r->menu);
    HMENU sub = mm->items[r->index].submenu;
    mm->items.erase(mm->items.begin() + static_cast<std::ptrdiff_t>(r->index));
    core_menu_changed(r->menu);
    if (destroy_submenu && sub) DestroyMenu(sub);
    return true;
}

bool has_enabled_command(HMENU m, UINT id, std::set<std::uint32_t>& seen) {
    MenuModel* mm = core_menu(m);
    if (!mm || !seen.insert(m.id).second) return false;
    for (const MenuItem& it : mm->items) {
        if (it.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) continue;
        if (it.flags & MF_POPUP) {
            if (has_enabled_command(it.submenu, id, seen)) return true;
        } else if (it.id == id) {
            return true;
        }
    }
    return false;
}

}  // namespace

void core_menu_changed(HMENU h) {
    std::vector<HWND> to_sync;
    for (const auto& [id, menu] : g_menus)
        if (menu.attached_to && IsWindow(menu.attached_to) && menu_contains(menu.handle, h))
            to_sync.push_back(menu.attached_to);
    for (HWND w : to_sync) core_sync(w, WindowProp::Menu);
}

bool core_menu_has_enabled_command(HMENU m, UINT id) {
    std::set<std::uint32_t> seen;
    return has_enabled_command(m, id, seen);
}

// ---- Menus -----------------------------------------------------------------------------------

static HMENU new_menu(bool bar) {
    HMENU h{g_next_menu_id++};
    MenuModel m;
    m.handle = h;
    m.is_bar = bar;
    g_menus.emplace(h.id, std::move(m));
    return h;
}

HMENU CreateMenu() { return new_menu(true); }
HMENU CreatePopupMenu() { return new_menu(false); }
bool IsMenu(HMENU m) { return core_menu(m) != nullptr; }

bool DestroyMenu(HMENU m) {
    if (!core_menu(m)) return false;
    // Bars that show this menu somewhere must lose it too.
    std::vector<HMENU> containing;
    for (const auto& [id, menu] : g_menus)
        if (menu.handle != m && menu.attached_to && menu_contains(menu.handle, m))
            containing.push_back(menu.handle);
    auto it = g_menus.find(m.id);
    MenuModel gone = std::move(it->second);
    g_menus.erase(it);
    if (WindowModel* w = core_window(gone.attached_to); w && w->menu == m) {
        w->menu = {};
        core_sync(gone.attached_to, WindowProp::Menu);
    }
    for (HMENU c : containing) core_menu_changed(c);
    for (const MenuItem& item : gone.items)
        if (item.submenu) DestroyMenu(item.submenu);
    return true;
}

bool AppendMenuW(HMENU m, UINT flags, std::uintptr_t id_or_submenu, std::u16string_view text) {
    MenuModel* mm = core_menu(m);
    if (!mm) return false;
    auto item = make_item(m, flags, id_or_submenu, text);
    if (!item) return false;
    return insert_item(m, mm->items.size(), std::move(*item));
}

bool AppendSubMenu(HMENU m, HMENU submenu, std::u16string_view text, UINT flags) {
    return AppendMenuW(m, flags | MF_POPUP, submenu.id, text);
}

bool InsertMenuW(HMENU m, UINT position, UINT flags, std::uintptr_t id_or_submenu,
                 std::u16string_view text) {
    MenuModel* mm = core_menu(m);
    if (!mm) return false;
    HMENU into = m;
    std::size_t index = mm->items.size();
    if (flags & MF_BYPOSITION) {
        if (position < mm->items.size()) index = position;  // beyond the end: appended
    } else {
        auto r = find_item(m, position, flags);
        if (!r) return false;
        into = r->menu;
        index = r->index;
    }
    auto item = make_item(into, flags, id_or_submenu, text);
    if (!item) return false;
    return insert_item(into, index, std::move(*item));
}

bool ModifyMenuW(HMENU m, UINT item, UINT flags, std::uintptr_t new_id, std::u16string_view text) {
    auto r = find_item(m, item, flags);
    if (!r) return false;
    auto replacement = make_item(r->menu, flags, new_id, text);
    if (!replacement) return false;
    HMENU old_sub = item_at(*r).submenu;
    item_at(*r) = std::move(*replacement);
    HMENU new_sub = item_at(*r).submenu;
    core_menu_changed(r->menu);
    // A submenu replaced by something else is destroyed, as on Windows.
    if (old_sub && old_sub != new_sub) DestroyMenu(old_sub);
    return true;
}

bool PL_SetMenuItemText(HMENU m, UINT id, std::u16string_view text) {
    auto r = find_item(m, id, MF_BYCOMMAND);
    if (!r || (item_at(*r).flags & MF_SEPARATOR)) return false;
    item_at(*r).text.assign(text);
    core_menu_changed(r->menu);
    return true;
}

bool DeleteMenu(HMENU m, UINT item, UINT flags) { return take_item(m, item, flags, true); }
bool RemoveMenu(HMENU m, UINT item, UINT flags) { return take_item(m, item, flags, false); }

int CheckMenuItem(HMENU m, UINT item, UINT flags) {
    auto r = find_item(m, item, flags);
    if (!r) return -1;
    MenuItem& it = item_at(*r);
    int previous = static_cast<int>(it.flags & MF_CHECKED);
    it.flags = (it.flags & ~static_cast<UINT>(MF_CHECKED)) | (flags & MF_CHECKED);
    core_menu_changed(r->menu);
    return previous;
}

int EnableMenuItem(HMENU m, UINT item, UINT flags) {
    auto r = find_item(m, item, flags);
    if (!r) return -1;
    MenuItem& it = item_at(*r);
    constexpr UINT kState = MF_GRAYED | MF_DISABLED;
    int previous = static_cast<int>(it.flags & kState);
    it.flags = (it.flags & ~kState) | (flags & kState);
    core_menu_changed(r->menu);
    return previous;
}

int GetMenuState(HMENU m, UINT item, UINT flags) {
    auto r = find_item(m, item, flags);
    return r ? static_cast<int>(item_at(*r).flags) : -1;
}

int GetMenuItemCount(HMENU m) {
    MenuModel* mm = core_menu(m);
    return mm ? static_cast<int>(mm->items.size()) : 0;
}

UINT GetMenuItemID(HMENU m, int position) {
    MenuModel* mm = core_menu(m);
    if (!mm || position < 0 || static_cast<std::size_t>(position) >= mm->items.size()) return kNoItemId;
    const MenuItem& it = mm->items[static_cast<std::size_t>(position)];
    return (it.flags & (MF_POPUP | MF_SEPARATOR)) ? kNoItemId : it.id;
}

HMENU GetSubMenu(HMENU m, int position) {
    MenuModel* mm = core_menu(m);
    if (!mm || position < 0 || static_cast<std::size_t>(position) >= mm->items.size()) return {};
    HMENU sub = mm->items[static_cast<std::size_t>(position)].submenu;
    return IsMenu(sub) ? sub : HMENU{};
}

std::u16string PL_GetMenuItemText(HMENU m, UINT item, UINT flags) {
    auto r = find_item(m, item, flags);
    return r ? item_at(*r).text : std::u16string{};
}

bool SetMenu(HWND w, HMENU bar) {
    WindowModel* wm = core_window(w);
    if (!wm || (bar && !core_menu(bar))) return false;
    if (MenuModel* old = core_menu(wm->menu); old && old->attached_to == w) old->attached_to = {};
    HWND other{};  // a bar shows in one window at a time: the one that had it loses it
    if (MenuModel* nb = core_menu(bar)) {
        if (WindowModel* o = core_window(nb->attached_to); o && o->handle != w && o->menu == bar) {
            o->menu = {};
            other = o->handle;
        }
        nb->attached_to = w;
    }
    wm->menu = bar;
    if (other) core_sync(other, WindowProp::Menu);
    core_sync(w, WindowProp::Menu);
    return true;
}

HMENU GetMenu(HWND w) {
    WindowModel* wm = core_window(w);
    return wm && IsMenu(wm->menu) ? wm->menu : HMENU{};
}

bool DrawMenuBar(HWND w) {
    if (!IsWindow(w)) return false;
    core_sync(w, WindowProp::Menu);
    return true;
}

INT_PTR TrackPopupMenu(HMENU m, UINT flags, int x, int y, HWND owner) {
    if (!IsMenu(m)) return 0;
    UINT chosen = platform_backend().track_popup_menu(m, x, y, owner);
    if (flags & TPM_RETURNCMD) return chosen;
    if (!chosen) return 0;
    SendMessageW(owner, Msg::command(static_cast<int>(chosen), 0));
    return 1;
}

MenuModel* platform_menu(HMENU h) { return core_menu(h); }

// ---- Accelerators ------------------------------------------------------------------------

HACCEL CreateAcceleratorTableW(const std::vector<ACCEL>& entries) {
    if (entries.empty()) return {};
    HACCEL h{g_next_accel_id++};
    g_accel_tables.emplace(h.id, entries);
    return h;
}

bool DestroyAcceleratorTable(HACCEL a) { return a && g_accel_tables.erase(a.id) > 0; }

std::vector<ACCEL> platform_accelerators(HACCEL h) {
    auto it = g_accel_tables.find(h.id);
    return !h || it == g_accel_tables.end() ? std::vector<ACCEL>{} : it->second;
}

bool TranslateAcceleratorW(HWND target, HACCEL a, WORD vk, BYTE modifiers) {
    auto it = g_accel_tables.find(a.id);
    if (!a || it == g_accel_tables.end() || !IsWindow(target)) return false;
    constexpr BYTE kMods = FSHIFT | FCONTROL | FALT;
    for (const ACCEL& e : it->second) {
        WORD key = e.key;
        // A character entry names its letter in either case; keys arrive as upper-case codes.
        if (!(e.fVirt & FVIRTKEY) && key >= 'a' && key <= 'z') key = static_cast<WORD>(key - 'a' + 'A');
        if (key == vk && (e.fVirt & kMods) == (modifiers & kMods)) {
            int cmd = e.cmd;  // the table may go while the command runs
            SendMessageW(target, Msg::command(cmd, 1));
            return true;
        }
    }
    return false;
}
