// Windows, dialogs and controls; menus and accelerators; message boxes, clipboard, shell, common
// choosers, notification-area icon, processes, the clock and the message loop.
//
// Every window's state lives in the platform core (plain C++ objects); the active backend
// (headless for tests, Qt for the real program) shows it. Calls on a null or destroyed handle do
// nothing and return 0, false or an empty value. Text is UTF-16 in the W calls and code page 1251
// in the A calls. The calls keep the Windows names and meanings; the ones this layer adds of its
// own, which Windows has no call for, begin with PL_ (as the rich-edit operations begin with RE_).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

// ---- Styles ----------------------------------------------------------------------------------
enum : DWORD {
    WS_CHILD = 0x40000000,
    WS_VISIBLE = 0x10000000,
    WS_DISABLED = 0x08000000,
    WS_BORDER = 0x00800000,
    WS_CAPTION = 0x00C00000,
    WS_SYSMENU = 0x00080000,
    WS_THICKFRAME = 0x00040000,  // sizing border
    WS_MINIMIZEBOX = 0x00020000,
    WS_MAXIMIZEBOX = 0x00010000,
    WS_VSCROLL = 0x00200000,
    WS_HSCROLL = 0x00100000,
    WS_TABSTOP = 0x00010000,
    WS_POPUP = 0x80000000,
    DS_MODALFRAME = 0x0080,
    DS_SYSMODAL = 0x0002,  // stays above other windows
    DS_SETFOREGROUND = 0x0200,
    DS_CENTER = 0x0800,
    DS_SETFONT = 0x0040,
    DS_FIXEDSYS = 0x0008,
    ES_MULTILINE = 0x0004,
    ES_AUTOVSCROLL = 0x0040,
    ES_AUTOHSCROLL = 0x0080,
    ES_READONLY = 0x0800,
    ES_WANTRETURN = 0x1000,
    ES_NUMBER = 0x2000,
    BS_DEFPUSHBUTTON = 0x0001,
    BS_FLAT = 0x8000,
    BS_BITMAP = 0x0080,
    SS_BITMAP = 0x000E,
    SS_ICON = 0x0003,
    LBS_NOTIFY = 0x0001,
    LBS_MULTIPLESEL = 0x0008,
    LBS_EXTENDEDSEL = 0x0800,
};
// Extended styles
enum : DWORD { WS_EX_TOPMOST = 0x00000008, WS_EX_ACCEPTFILES = 0x00000010 };

// ---- Dialog templates ---------------------------------------------------------------------
enum class ControlKind {
    Dialog,
    PushButton,  // BS_FLAT, BS_BITMAP, BS_DEFPUSHBUTTON in style
    CheckBox,    // auto check box
    Label,       // static text
    GroupBox,
    Picture,     // static bitmap or icon (resource)
    ListBox,
    Edit,        // single- or multi-line plain edit field
    RichEdit,    // "RICHEDIT20A" panel
};

// One control of a dialog template. Position and size are in dialog units.
struct ControlTemplate {
    ControlKind kind = ControlKind::Label;
    int id = -1;  // -1: no identifier (static labels)
    std::u16string text;
    int x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = WS_CHILD | WS_VISIBLE;
    int resource = 0;  // bitmap or icon of a Picture or bitmap button
};

// A dialog template: size in dialog units, font, styles and controls. Templates are data in
// resources/ and are looked up by their number.
struct DialogTemplate {
    int id = 0;
    std::u16string caption;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::u16string font_face = u"MS Shell Dlg";
    int font_points = 8;
    int font_weight = 400;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    DWORD ex_style = 0;
    std::vector<ControlTemplate> controls;
};

// Registers a template under its number (resources/ does this for the program's own).
void PL_RegisterDialogTemplate(DialogTemplate t);
const DialogTemplate* PL_FindDialogTemplate(int id);

// Creates a modeless dialog from template `template_id` (or from the given template), owned by
// `owner`; WM_INITDIALOG reaches `proc` before the call returns. The dialog is shown only when
// its template has WS_VISIBLE.
HWND CreateDialogParamW(int template_id, HWND owner, DLGPROC proc, INT_PTR param = 0);
HWND CreateDialogIndirect(const DialogTemplate& t, HWND owner, DLGPROC proc, INT_PTR param = 0);
// Creates a modal dialog and runs a nested message loop until EndDialog; returns its result.
INT_PTR DialogBoxParamW(int template_id, HWND owner, DLGPROC proc, INT_PTR param = 0);
bool EndDialog(HWND dlg, INT_PTR result);
// Destroys the window, its children and the windows it owns; WM_DESTROY reaches each procedure.
// Owned windows go first; the window's own WM_DESTROY comes while its controls still exist.
bool DestroyWindow(HWND w);
bool IsWindow(HWND w);

// Creates one control at run time inside a dialog (position in pixels).
HWND PL_CreateControl(HWND dlg, ControlKind kind, int id, std::u16string_view text, RECT pixels,
                   DWORD style = WS_CHILD | WS_VISIBLE);

// ---- Messages between windows --------------------------------------------------------------
// Calls the window's procedure at once (the window of a control: its dialog's procedure receives
// what the control would pass on). Returns the procedure's result, 0 for an invalid window.
INT_PTR SendMessageW(HWND w, const Msg& m);
INT_PTR PL_SendCommand(HWND w, int id, int code = 0, HWND from = {});
// Queues the message; the message loop or the pump delivers it later.
bool PostMessageW(HWND w, Msg m);
// Queues the message until no job pumps messages and no modal dialog runs: the message loop that
// is not nested in a job delivers it (after the messages posted before it).
bool PL_PostWhenIdle(HWND w, Msg m);
DLGPROC PL_GetDialogProc(HWND w);

// ---- Window properties -----------------------------------------------------------------------
HWND GetDlgItem(HWND dlg, int id);
int GetDlgCtrlID(HWND control);
HWND GetParent(HWND w);  // a control's dialog; a dialog's owner
ControlKind PL_GetControlKind(HWND w);
std::vector<HWND> PL_GetChildren(HWND dlg);

bool SetWindowTextW(HWND w, std::u16string_view text);
bool SetWindowTextA(HWND w, std::string_view text_cp1251);
std::u16string GetWindowTextW(HWND w);
std::string GetWindowTextA(HWND w);  // unrepresentable characters become '?'
int GetWindowTextLengthW(HWND w);
bool SetDlgItemTextW(HWND dlg, int id, std::u16string_view text);
std::u16string GetDlgItemTextW(HWND dlg, int id);

enum : int { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
             SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7,
             SW_RESTORE = 9 };
bool ShowWindow(HWND w, int sw);  // returns whether it was visible before
bool IsWindowVisible(HWND w);     // visible itself and all its parents
bool IsIconic(HWND w);
bool EnableWindow(HWND w, bool enable);  // returns whether it was disabled before
bool IsWindowEnabled(HWND w);

enum : int { BST_UNCHECKED = 0, BST_CHECKED = 1 };
void CheckDlgButton(HWND dlg, int id, int state);
int IsDlgButtonChecked(HWND dlg, int id);
void Button_SetCheck(HWND button, int state);
int Button_GetCheck(HWND button);
void PL_Button_SetBitmap(HWND button, HBITMAP bmp);  // flat bitmap buttons and static pictures

// Geometry. Top-level windows: screen coordinates; controls: client coordinates of their dialog.
bool MoveWindow(HWND w, int x, int y, int cx, int cy, bool repaint = true);
enum : UINT { SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004,
              SWP_NOACTIVATE = 0x0010, SWP_SHOWWINDOW = 0x0040 };
constexpr HWND HWND_TOP{};
inline const HWND HWND_TOPMOST{0xFFFFFFFFu};
inline const HWND HWND_NOTOPMOST{0xFFFFFFFEu};
bool SetWindowPos(HWND w, HWND after, int x, int y, int cx, int cy, UINT flags);
RECT GetWindowRect(HWND w);  // screen coordinates, frame included
RECT GetClientRect(HWND w);  // {0, 0, width, height}
POINT ClientToScreen(HWND w, POINT p);
POINT ScreenToClient(HWND w, POINT p);
RECT MapDialogRect(HWND dlg, RECT dialog_units);  // dialog units -> pixels by the dialog's font
RECT PL_GetWorkArea();                               // the screen without panels and task bars

HWND SetFocus(HWND w);  // returns the previous focus
HWND GetFocus();
HWND GetActiveWindow();
bool SetForegroundWindow(HWND w);
bool BringWindowToTop(HWND w);
bool UpdateWindow(HWND w);                       // repaint now
bool InvalidateRect(HWND w, bool erase = true);  // repaint later

// Fonts
struct LOGFONTW {
    std::u16string face = u"MS Shell Dlg";
    int points = 8;
    int weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    friend bool operator==(const LOGFONTW&, const LOGFONTW&) = default;
};
HFONT CreateFontIndirectW(const LOGFONTW& f);
std::optional<LOGFONTW> PL_GetFontInfo(HFONT f);
void SetWindowFont(HWND w, HFONT f, bool redraw = true);  // WM_SETFONT
HFONT GetWindowFont(HWND w);

// Colours of a control's background and text (what a dialog would answer to WM_CTLCOLOR...).
void PL_SetControlColors(HWND w, std::optional<COLORREF> background, std::optional<COLORREF> text);

// Icons and bitmaps (resource numbers)
HICON PL_LoadIconRes(int resource);
HBITMAP PL_LoadBitmapRes(int resource);
enum : int { ICON_SMALL = 0, ICON_BIG = 1 };
void PL_SetWindowIcon(HWND w, int which, HICON icon);  // WM_SETICON

// Drop targets: a dialog receives WM_DROPFILES once it accepts files.
void DragAcceptFiles(HWND w, bool accept);

// Tool tips: registers `text` as the tip of `control` (created owned by `dlg`); returns the tip.
HWND PL_CreateToolTipFor(HWND dlg, HWND control, std::u16string_view text);
std::u16string PL_GetToolTipText(HWND control);

// List boxes
int ListBox_AddString(HWND lb, std::u16string_view text);  // returns the index
int ListBox_GetCount(HWND lb);
void ListBox_ResetContent(HWND lb);
std::u16string ListBox_GetText(HWND lb, int index);
int ListBox_GetCurSel(HWND lb);  // -1 when none
void ListBox_SetCurSel(HWND lb, int index);
std::vector<int> ListBox_GetSelItems(HWND lb);
void ListBox_SetSel(HWND lb, int index, bool selected);

// User data attached to a window (GWLP_USERDATA)
void PL_SetWindowUserData(HWND w, INT_PTR v);
INT_PTR PL_GetWindowUserData(HWND w);

// ---- Menus -----------------------------------------------------------------------------------
enum : UINT {
    MF_STRING = 0x0000,
    MF_ENABLED = 0x0000,
    MF_UNCHECKED = 0x0000,
    MF_BYCOMMAND = 0x0000,
    MF_GRAYED = 0x0001,
    MF_DISABLED = 0x0002,
    MF_CHECKED = 0x0008,
    MF_POPUP = 0x0010,
    MF_MENUBARBREAK = 0x0020,
    MF_MENUBREAK = 0x0040,
    MF_SEPARATOR = 0x0800,
    MF_BYPOSITION = 0x0400,
};
enum : UINT { TPM_LEFTALIGN = 0x0000, TPM_RETURNCMD = 0x0100, TPM_NONOTIFY = 0x0080 };

HMENU CreateMenu();       // a menu bar
HMENU CreatePopupMenu();  // a popup (also a submenu)
bool DestroyMenu(HMENU m);
bool IsMenu(HMENU m);
// Appends an item; with MF_POPUP `id_or_submenu` is the submenu's handle id.
bool AppendMenuW(HMENU m, UINT flags, std::uintptr_t id_or_submenu, std::u16string_view text = {});
bool AppendSubMenu(HMENU m, HMENU submenu, std::u16string_view text, UINT flags = 0);
bool InsertMenuW(HMENU m, UINT position, UINT flags, std::uintptr_t id_or_submenu,
                 std::u16string_view text);
bool ModifyMenuW(HMENU m, UINT item, UINT flags, std::uintptr_t new_id, std::u16string_view text);
bool PL_SetMenuItemText(HMENU m, UINT id, std::u16string_view text);  // relabel by command id
bool DeleteMenu(HMENU m, UINT item, UINT flags);  // destroys a submenu it removes
bool RemoveMenu(HMENU m, UINT item, UINT flags);  // keeps a submenu it removes
// Both return the previous state (MF_CHECKED / MF_GRAYED) or -1 when there is no such item.
int CheckMenuItem(HMENU m, UINT item, UINT flags);
int EnableMenuItem(HMENU m, UINT item, UINT flags);
int GetMenuState(HMENU m, UINT item, UINT flags);  // -1 when there is no such item
int GetMenuItemCount(HMENU m);
UINT GetMenuItemID(HMENU m, int position);  // 0xFFFFFFFF for a submenu or separator
HMENU GetSubMenu(HMENU m, int position);
std::u16string PL_GetMenuItemText(HMENU m, UINT item, UINT flags);
bool SetMenu(HWND w, HMENU bar);
HMENU GetMenu(HWND w);
bool DrawMenuBar(HWND w);
// Opens the popup at a screen point for `owner`. Without TPM_RETURNCMD the chosen item's
// WM_COMMAND is sent to the owner and the result is nonzero when an item was chosen; with it the
// chosen identifier (0: none) is returned and nothing is sent.
INT_PTR TrackPopupMenu(HMENU m, UINT flags, int x, int y, HWND owner);

// ---- Accelerators ------------------------------------------------------------------------
enum : BYTE { FVIRTKEY = 0x01, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10 };
// Virtual keys: letters and digits are their upper-case ASCII codes.
enum : WORD { VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
              VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25,
              VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E,
              VK_F1 = 0x70, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8, VK_F9, VK_F10,
              VK_F11, VK_F12 };
struct ACCEL {
    BYTE fVirt = FVIRTKEY;
    WORD key = 0;
    WORD cmd = 0;
};
HACCEL CreateAcceleratorTableW(const std::vector<ACCEL>& entries);
bool DestroyAcceleratorTable(HACCEL a);
// Offers a key press to the table; when it matches, WM_COMMAND with the command (code 1) is sent
// to `target` and the result is true.
bool TranslateAcceleratorW(HWND target, HACCEL a, WORD vk, BYTE modifiers);

// ---- Message boxes ---------------------------------------------------------------------------
enum : UINT {
    MB_OK = 0x00000000,
    MB_OKCANCEL = 0x00000001,
    MB_YESNOCANCEL = 0x00000003,
    MB_YESNO = 0x00000004,
    MB_ICONERROR = 0x00000010,
    MB_ICONHAND = 0x00000010,
    MB_ICONSTOP = 0x00000010,
    MB_ICONQUESTION = 0x00000020,
    MB_ICONWARNING = 0x00000030,
    MB_ICONEXCLAMATION = 0x00000030,
    MB_ICONINFORMATION = 0x00000040,
    MB_ICONASTERISK = 0x00000040,
    MB_DEFBUTTON2 = 0x00000100,
    MB_APPLMODAL = 0x00000000,
    MB_SYSTEMMODAL = 0x00001000,
    MB_TASKMODAL = 0x00002000,
    MB_SETFOREGROUND = 0x00010000,
    MB_TOPMOST = 0x00040000,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };
int MessageBoxW(HWND owner, std::u16string_view text, std::u16string_view caption, UINT flags);
int MessageBoxA(HWND owner, std::string_view text_cp1251, std::string_view caption_cp1251,
                UINT flags);

// ---- Clipboard -------------------------------------------------------------------------------
// The clipboard holds UTF-16 text; the 8-bit calls convert through code page 1251.
bool PL_SetClipboardTextW(std::u16string_view text);
bool PL_SetClipboardTextA(std::string_view text_cp1251);
std::optional<std::u16string> PL_GetClipboardTextW();  // empty optional: no text on the clipboard
// True while the clipboard holds what this program put there: its own writes and the copies made
// from its panels (a clipboard watch leaves those alone).
bool PL_IsClipboardOwned();
std::optional<std::string> PL_GetClipboardTextA();
bool EmptyClipboard();
// Joins the clipboard watch: every change of the clipboard (ours or another program's) sends
// WM_DRAWCLIPBOARD to each watching window. Returns the next viewer (always null here).
HWND SetClipboardViewer(HWND w);
bool ChangeClipboardChain(HWND w, HWND next);

// ---- Shell, choosers, notification area, processes -------------------------------------------
// Opens a file with its program or a web address in the browser ("open" verb). A path is UTF-8.
// False when the desktop cannot: an empty argument, a file that does not exist, no browser or no
// program for the file.
bool PL_ShellOpen(std::string_view path_or_url);

struct FileFilter {
    std::u16string label;  // "Text files (*.txt)"
    std::u16string pattern;  // "*.txt"
};
std::optional<std::filesystem::path> GetOpenFileNameW(HWND owner, std::u16string_view title,
                                                      const std::vector<FileFilter>& filters,
                                                      const std::filesystem::path& start = {});
std::optional<std::filesystem::path> GetSaveFileNameW(HWND owner, std::u16string_view title,
                                                      const std::vector<FileFilter>& filters,
                                                      const std::filesystem::path& start = {});
std::optional<std::filesystem::path> PL_BrowseForFolder(HWND owner, std::u16string_view title);
std::optional<LOGFONTW> ChooseFontW(HWND owner, const LOGFONTW& current);

enum : DWORD { NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2 };
enum : UINT { NIF_MESSAGE = 0x01, NIF_ICON = 0x02, NIF_TIP = 0x04, NIF_INFO = 0x10 };
enum : DWORD { NIIF_NONE = 0, NIIF_INFO = 1, NIIF_WARNING = 2, NIIF_ERROR = 3 };
// The notification-area icon record. The limits are behaviour: tip 127, info 255 and title 63
// UTF-16 characters (longer texts are cut).
struct NOTIFYICONDATAW {
    HWND hWnd{};
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = WM_TRAYICON;
    HICON hIcon{};
    std::u16string szTip;
    std::u16string szInfo;
    std::u16string szInfoTitle;
    DWORD dwInfoFlags = NIIF_NONE;
};
bool Shell_NotifyIconW(DWORD op, const NOTIFYICONDATAW& data);

// Starts a program with arguments, detached; `minimized` asks for a minimised window.
bool PL_StartProgram(const std::filesystem::path& exe, const std::vector<std::string>& args,
                  bool minimized);
// Starts a program the program keeps a handle on: the handle (above 0), 0 when it could not be
// started, -1 when it was started without a handle. Only the program's own children can be
// closed this way, so a process that merely bears the same name is never touched.
int PL_StartChildProgram(const std::filesystem::path& exe, const std::vector<std::string>& args,
                      bool minimized);
// Asks a program of PL_StartChildProgram to close; false when the handle is not one of ours or the
// program has already ended.
bool PL_CloseChildProgram(int handle);
// Running processes of the current user whose executable base name equals `name` (compared
// without regard to case), read from the process list under `proc_root`. An entry that vanishes or
// cannot be read while the list is read is skipped; the scan never throws.
std::vector<int> PL_FindProcessesByName(std::string_view name, const std::filesystem::path& proc_root = "/proc");
// Asks the process to close (SIGTERM); true when the request was delivered.
bool PL_CloseProcess(int pid);

// Lowers the process's priority to the lowest the user may set (idle).
bool PL_SetIdlePriority();
// A per-user lock named `name`, held until the process ends. Its file lives in $XDG_RUNTIME_DIR
// when that is a folder of the user's own that no one else may write in, else in the user's own
// folder "jux-<uid>" of the temporary folder (made with mode 0700); a folder or lock file that
// belongs to another user, or is open to other users, is refused rather than used.
struct InstanceLock {
    enum State { Taken, Held, Failed };
    State state = Failed;
    std::string reason;  // Failed: what went wrong, with the path (UTF-8)
    explicit operator bool() const { return state == Taken; }
};
// Taken (also when this process holds it already), Held when another running process holds it,
// Failed when the lock cannot be made at all.
InstanceLock PL_AcquireSingleInstanceLock(std::string_view name);

// ---- Clock and message loop ------------------------------------------------------------------
std::int64_t PL_NowMicroseconds();  // monotonic, microseconds
void PL_SleepMilliseconds(int ms);
// Runs the message loop until PostQuitMessage; key presses are first offered to `accel` with
// `accel_target` as the target. Returns the quit code.
int PL_RunMessageLoop(HACCEL accel = {}, HWND accel_target = {});
void PostQuitMessage(int code);
// Delivers pending messages and user input for at most `max_us` microseconds (no accelerators);
// returns at once when nothing is pending.
void PL_PumpMessages(std::int64_t max_us);
