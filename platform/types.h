// Basic vocabulary of the platform stand-in: handles, geometry, colours, message numbers and the
// typed message record that dialog procedures receive. The numeric values are the Windows ones, so
// that literal masks and identifiers in the program's own code work unchanged.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using INT_PTR = std::intptr_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

// A handle is a small value naming an object of the platform's registry. The null handle names
// nothing; a handle of a destroyed object is never reused, so calls on it are harmless no-ops.
template <class Tag>
struct Handle {
    std::uint32_t id = 0;
    constexpr Handle() = default;
    constexpr Handle(std::nullptr_t) {}
    explicit constexpr Handle(std::uint32_t v) : id(v) {}
    explicit constexpr operator bool() const { return id != 0; }
    friend constexpr bool operator==(Handle, Handle) = default;
    friend constexpr auto operator<=>(Handle, Handle) = default;
};
struct HwndTag {};
struct HmenuTag {};
struct HaccelTag {};
struct HfontTag {};
using HWND = Handle<HwndTag>;      // a window or control
using HMENU = Handle<HmenuTag>;    // a menu bar or popup menu
using HACCEL = Handle<HaccelTag>;  // an accelerator table
using HFONT = Handle<HfontTag>;    // a font made by CreateFontW

// Icons and bitmaps are compiled-in resources named by their resource number.
struct HICON {
    int resource = 0;
    explicit constexpr operator bool() const { return resource != 0; }
    friend constexpr bool operator==(HICON, HICON) = default;
};
struct HBITMAP {
    int resource = 0;
    explicit constexpr operator bool() const { return resource != 0; }
    friend constexpr bool operator==(HBITMAP, HBITMAP) = default;
};

struct POINT {
    LONG x = 0, y = 0;
    friend constexpr bool operator==(POINT, POINT) = default;
};
struct SIZE {
    LONG cx = 0, cy = 0;
    friend constexpr bool operator==(SIZE, SIZE) = default;
};
struct RECT {
    LONG left = 0, top = 0, right = 0, bottom = 0;
    constexpr LONG width() const { return right - left; }
    constexpr LONG height() const { return bottom - top; }
    friend constexpr bool operator==(RECT, RECT) = default;
};
// A range of character positions [cpMin, cpMax) in UTF-16 units of a rich-edit panel.
struct CHARRANGE {
    LONG cpMin = 0, cpMax = 0;
    friend constexpr bool operator==(CHARRANGE, CHARRANGE) = default;
};

constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }

// ---- Window messages -------------------------------------------------------------------------
enum : UINT {
    WM_NULL = 0x0000,
    WM_DESTROY = 0x0002,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_SETREDRAW = 0x000B,
    WM_SETTEXT = 0x000C,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_SETFONT = 0x0030,
    WM_NOTIFY = 0x004E,
    WM_CONTEXTMENU = 0x007B,
    WM_SETICON = 0x0080,
    WM_KEYDOWN = 0x0100,
    WM_INITDIALOG = 0x0110,
    WM_COMMAND = 0x0111,
    WM_VSCROLL = 0x0115,
    WM_CTLCOLOREDIT = 0x0133,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_DROPFILES = 0x0233,
    WM_DRAWCLIPBOARD = 0x0308,
    WM_CHANGECBCHAIN = 0x030D,
    WM_USER = 0x0400,
    WM_APP = 0x8000,
};
// The notification-area icon reports mouse activity with this message to its window.
constexpr UINT WM_TRAYICON = WM_APP + 1;

// WM_ACTIVATE states (Msg::code)
enum : UINT { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };
// WM_SIZE kinds (Msg::code)
enum : UINT { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// Notification codes of WM_COMMAND from controls (Msg::code)
enum : int {
    BN_CLICKED = 0,
    BN_DBLCLK = 5,
    EN_SETFOCUS = 0x0100,
    EN_KILLFOCUS = 0x0200,
    EN_CHANGE = 0x0300,
    EN_UPDATE = 0x0400,
    LBN_SELCHANGE = 1,
    LBN_DBLCLK = 2,
    STN_CLICKED = 0,
};
// Notification codes of WM_NOTIFY from rich-edit panels (Msg::code)
enum : int {
    EN_MSGFILTER = 0x0700,
    EN_SELCHANGE = 0x0702,
    EN_DROPFILES = 0x0703,
    EN_LINK = 0x070B,
    EN_DRAGDROPDONE = 0x070C,
};

// ---- The typed message record --------------------------------------------------------------
// What a dialog procedure receives. Only the fields of the message in hand are meaningful:
//   WM_INITDIALOG  param (the creator's parameter)
//   WM_COMMAND     id (control or menu identifier), code (notification code), from (control)
//   WM_NOTIFY      id, code, from; for EN_MSGFILTER filter_msg, pt (client), keys;
//                  for EN_SELCHANGE range; for EN_DROPFILES files and pt
//   WM_SIZE        code (SIZE_ kind), cx, cy (new client size in pixels)
//   WM_ACTIVATE    code (WA_ state), from (the other window)
//   WM_CONTEXTMENU from (the window clicked), pt (screen position)
//   WM_DROPFILES   files, pt (client)
//   WM_DRAWCLIPBOARD, WM_CLOSE, WM_DESTROY: nothing
//   WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK: pt (client), keys
//   WM_TRAYICON    filter_msg (the mouse message), id (the icon's identifier)
//   WM_USER and above: param, param2
struct Msg {
    UINT message = WM_NULL;
    int id = 0;
    int code = 0;
    HWND from{};
    UINT filter_msg = 0;
    UINT keys = 0;
    POINT pt{};
    LONG cx = 0, cy = 0;
    CHARRANGE range{};
    std::vector<std::filesystem::path> files;
    INT_PTR param = 0;
    INT_PTR param2 = 0;

    static Msg command(int id, int code = 0, HWND from = {}) {
        Msg m;
        m.message = WM_COMMAND;
        m.id = id;
        m.code = code;
        m.from = from;
        return m;
    }
    static Msg simple(UINT message) {
        Msg m;
        m.message = message;
        return m;
    }
};

// A dialog procedure: returns nonzero when it handled the message (for EN_MSGFILTER: nonzero
// swallows the mouse event). The value of WM_INITDIALOG is as on Windows: nonzero lets the
// platform put the focus on the first control.
using DLGPROC = INT_PTR (*)(HWND, const Msg&);
