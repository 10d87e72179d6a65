#include "windows/bgtext_window.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unistd.h>

#include "audio/audio_state.h"
#include "foldertools/text_tools.h"
#include "engine/run/bg_text_pass.h"
#include "engine/run_state.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "resources/bgtext_window.h"
#include "shell/files.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/checker_layout.h"
#include "windows/checker_menus.h"
#include "windows/checker_file_commands.h"
#include "windows/checker_modes.h"
#include "windows/checker_state.h"
#include "windows/control_handles.h"
#include "windows/secondary_panels.h"

HWND hBgTextReFilter, hBgTextLabel, hBgTextStart, hBgTextStart2, hBgTextStop, hBgTextRefresh, hBgTextMixed;
HMENU hMenuCorp, hMenuCorpFile, hMenuCorpStart, hMenuCorpSet;

namespace {

constexpr std::u16string_view kTitle = u"Български текст";
constexpr DWORD kTextMask = 0x041A0011;   // change, drag-drop done, mouse, selection, drops, links
constexpr int kDesktopGap = 40;           // the window's bottom edge stays this far above the screen's
constexpr std::string_view kReport = "__report.txt";

// The controls in the order the window fetches their handles.
const ControlHandle kHandles[]{
    {IDC_BGTEXT_MIXED, &hBgTextMixed}, {IDC_BGTEXT_START, &hBgTextStart}, {IDC_BGTEXT_START2, &hBgTextStart2},
    {IDC_BGTEXT_REFRESH, &hBgTextRefresh}, {IDC_BGTEXT_STOP, &hBgTextStop}, {IDC_BGTEXT_RE, &hBgTextRe},
    {IDC_BGTEXT_RE_FILTER, &hBgTextReFilter}, {IDC_BGTEXT_LABEL, &hBgTextLabel},
};

// One item of a popup: a command with its label, or a separator (id 0).
struct Item {
    UINT id = 0;
    std::u16string_view label;
};
constexpr std::array kFileItems{
    Item{IDM_CORP_OPEN_FILE, u"Отвори файл"},
    Item{IDM_CORP_OPEN_FOLDER, u"Отвори папка с 2 файла"},
};
constexpr std::array kStartItems{
    Item{IDM_CORP_TEST_TEXT, u"Тествай заредения текст"},
    Item{IDM_CORP_ANALYSE_TEXT, u"Анализирай заредения текст"},
    Item{},
    Item{IDM_CORP_TEST_FOLDER, u"Тествай папка"},
    Item{IDM_CORP_ANALYSE_FOLDER, u"Анализирай папка"},
};

// "Опции": the three number items (labelled with their values), then the toggles.
struct NumberItem {
    UINT id;
    std::u16string_view prompt;
    std::int32_t* value;
};
const std::array kNumberItems{
    NumberItem{IDM_CORP_RANGE, u"Въведи обхват на търсене", &gl_CORPUS_RANGE},
    NumberItem{IDM_CORP_STEP, u"Въведи стъпка", &gl_CORPUS_SKIP_CT},
    NumberItem{IDM_CORP_FILE_INDEX, u"Въведи пореден файлов индекс", &gl_CORPUS_FILE_INDEX},
};
struct ToggleItem {
    UINT id = 0;
    std::u16string_view label;
    std::int8_t* flag = nullptr;
};
const std::array kToggleItems{
    ToggleItem{},
    ToggleItem{IDM_CORP_UNDERLINE, u"Подчертавай колокациите", &gl_CORPUS_UNDERLINE},
    ToggleItem{IDM_CORP_COLOR, u"Оцветявай и скролирай (бави!)", &gl_CORPUS_COLOR},
    ToggleItem{IDM_CORP_MAXTWO, u"Колокации от само две думи", &gl_CORPUS_MAXTWO},
    ToggleItem{IDM_CORP_STRICT_NOUN, u"Търси само съществителни със същото число (ед. или мн.)", &gl_CORPUS_STRICT_NOUN},
    ToggleItem{IDM_CORP_LIMITED, u"Търсене само в зададения обхват", &gl_CORPUS_LIMITED},
    ToggleItem{},
    ToggleItem{IDM_CORP_DEBUG_FILES, u"Дебъг файлове", &gl_CORPUS_DEBUG_FILES},
};

// Where a number of the filter field goes, by what asked for it: a menu item or a right click on
// a control. The range's default is the option's own (2000).
struct FilterTarget {
    int source;
    std::int32_t* value;
    const char* message;  // printf format of the value (twice for the file index)
    UINT relabel;         // the number item that shows the value, or 0
};
const std::array kFilterTargets{
    FilterTarget{IDM_CORP_RANGE, &gl_CORPUS_RANGE, "new RANGE (default: 2000): %d", IDM_CORP_RANGE},
    FilterTarget{IDM_CORP_STEP, &gl_CORPUS_SKIP_CT, "new STEP (default: 12): %d", IDM_CORP_STEP},
    FilterTarget{IDM_CORP_FILE_INDEX, &gl_CORPUS_FILE_INDEX, "New file index: %d  (hex: %x)", IDM_CORP_FILE_INDEX},
    FilterTarget{IDC_BGTEXT_START, &gl_CORPUS_RANGE, "new RANGE (default: 2000): %d", IDM_CORP_RANGE},
    FilterTarget{IDC_BGTEXT_START2, &gl_CORPUS_SKIP_CT, "new SKIP (default 12): %d", IDM_CORP_STEP},
    FilterTarget{IDC_BGTEXT_STOP, &gl_CORPUS_FAST_RANGE, "new FAST_RANGE (default 40): %d", 0},
    FilterTarget{IDC_BGTEXT_MIXED, &gl_CORPUS_WIDE, "new CORPUS_WIDE (default 12): %d", 0},
    FilterTarget{IDC_BGTEXT_REFRESH, &gl_CORPUS_GOOD_TRESHOLD, "new GOOD_TRESHOLD (default 6): %d", 0},
};

bool folder_run_active = false;  // a folder command is loading files (it pumps through the panels' runs)
// Stop was pressed while a folder command ran. The folder run's own flag: the check of a loaded
// text, which Stop cuts short too, clears gl_cancel when it ends early, and the folder run must
// stop all the same.
bool folder_run_stopped = false;
// The 8-bit path of the file last dropped or opened into the text panel ("" when its path does not
// fit gl_dropped's room); none after a folder run, whose files lie beside the checker's.
std::optional<std::string> panel_file;

std::string_view name_of(int id) {
    for (const BgTextControl& c : bgtext_controls())
        if (c.id == id) return c.name;
    return {};
}

void error_box(HWND owner, const std::string& text) { MessageBoxA(owner, text, "Oops!", MB_OK | MB_ICONERROR); }

void relabel(UINT id) {
    for (const NumberItem& n : kNumberItems)
        if (n.id == id) {
            std::u16string label = std::u16string(n.prompt) + u" " + cp1251_to_utf16(std::to_string(*n.value));
            if (label.size() > 127) label.resize(127);  // the 128-character scratch of the label
            PL_SetMenuItemText(hMenuCorpSet, id, label);
        }
}

void build_menus(HWND dlg) {
    hMenuCorpFile = CreatePopupMenu();
    for (const Item& it : kFileItems) AppendMenuW(hMenuCorpFile, MF_STRING, it.id, it.label);
    hMenuCorpStart = CreatePopupMenu();
    for (const Item& it : kStartItems) AppendMenuW(hMenuCorpStart, it.id ? MF_STRING : MF_SEPARATOR, it.id, it.label);
    hMenuCorpSet = CreatePopupMenu();
    for (const NumberItem& n : kNumberItems) AppendMenuW(hMenuCorpSet, MF_STRING, n.id, n.prompt);
    for (const ToggleItem& t : kToggleItems) AppendMenuW(hMenuCorpSet, t.id ? MF_STRING : MF_SEPARATOR, t.id, t.label);
    for (const NumberItem& n : kNumberItems) relabel(n.id);
    hMenuCorp = CreateMenu();
    AppendSubMenu(hMenuCorp, hMenuCorpFile, u"Файл");
    AppendSubMenu(hMenuCorp, hMenuCorpStart, u"Старт");
    AppendSubMenu(hMenuCorp, hMenuCorpSet, u"Опции");
    SetMenu(dlg, hMenuCorp);
    for (const ToggleItem& t : kToggleItems)
        if (t.id) CheckMenuItem(hMenuCorpSet, t.id, MF_BYCOMMAND | (*t.flag ? MF_CHECKED : MF_UNCHECKED));
    DrawMenuBar(dlg);
}

void init_bgtext(HWND dlg) {
    hBgText = dlg;
    PL_SetWindowIcon(dlg, ICON_BIG, hicon_tr);
    SetWindowTextW(dlg, kTitle);
    fetch_control_handles(dlg, kHandles, name_of);
    Button_SetCheck(hBgTextMixed, gl_CORPUS_ACTIVE ? BST_CHECKED : BST_UNCHECKED);
    RE_SetBackgroundColor(hBgTextRe, bkgcolor1);
    RE_SetWordWrap(hBgTextRe, true);
    RE_SetBackgroundColor(hBgTextReFilter, bkgcolor3);
    RE_SetWordWrap(hBgTextReFilter, true);
    RE_SetEventMask(hBgTextRe, kTextMask);
    DragAcceptFiles(hBgTextRe, true);
    set_secondary_panel_font({hBgTextRe, hBgTextReFilter});
    // The status line shows nothing until the statistics pass writes there, never the template's
    // placeholder.
    SetWindowTextW(hBgTextLabel, u"");
    const RECT w = GetWindowRect(dlg);
    const RECT d = PL_GetWorkArea();
    SetWindowPos(dlg, HWND{}, d.width() / 12, d.bottom - w.height() - kDesktopGap, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    build_menus(dlg);
    // The folder loaders stop on Stop and tell the checker that its text came from a file.
    bulk_cancelled_hook = [] { return folder_run_stopped; };
    bulk_from_file_hook = [] { gl_isFromFile = 1; };
    size_bgtext(dlg);
}

void forget_bgtext(HWND dlg) {
    if (hBgText != dlg) return;
    if (hReFocus && GetParent(hReFocus) == dlg) hReFocus = HWND{};
    if (hReFocusPrev && GetParent(hReFocusPrev) == dlg) hReFocusPrev = HWND{};
    if (hMenuCorp) DestroyMenu(hMenuCorp);
    reset_bgtext_window();
}

void enable_main_window_buttons(bool enable) {
    EnableWindow(GetDlgItem(hMain, IDC_ADD_BIG_SPELL), enable);
    EnableWindow(GetDlgItem(hMain, IDC_ADD_BIG_TRANS), enable);
}

// The first change after the window opens (and every Refresh): the statistics pass over the
// panel. The change notification stays off afterwards; Refresh starts the pass on demand.
void text_changed() {
    if (gl_info_printed) {
        gl_info_printed = 0;
        return;
    }
    const LONG length = RE_GetTextLength(hBgTextRe);
    if (length == 0) return;
    RE_SetEventMask(hBgTextRe, RE_GetEventMask(hBgTextRe) & ~DWORD{ENM_CHANGE});
    std::string work;
    work.reserve(static_cast<std::size_t>(length) + 1);
    enable_main_window_buttons(false);
    gl_search_start = 0;
    const HWND panel = hBgTextRe;
    const CHARRANGE sel = RE_GetSel(panel);
    const POINT scroll = RE_GetScrollPos(panel);
    translate_bgtext(panel, hBgTextLabel, work);
    RE_SetSel(panel, sel);
    RE_SetScrollPos(panel, scroll);
    enable_main_window_buttons(true);
}

void refresh(HWND dlg) {
    EnableWindow(hBgTextRefresh, false);
    SendMessageW(dlg, Msg::command(IDC_BGTEXT_RE, EN_CHANGE, hBgTextRe));
    EnableWindow(hBgTextRefresh, true);
    SetFocus(hBgTextRe);
}

// "All": the corpus search over the machine-translation window's panel, which is emptied first
// and tells nobody about it.
void search_all() {
    if (!IsWindow(hMachine)) return;
    const DWORD mask = RE_SetEventMask(hMachineRe, 0);
    SetWindowTextW(hMachineRe, u"");
    find_bg_part(2, 0, 0, 0, 0);
    RE_SetEventMask(hMachineRe, mask);
    SetFocus(hMachineRe);
}

void toggle(UINT id) {
    for (const ToggleItem& t : kToggleItems)
        if (t.id == id) {
            const bool was = (GetMenuState(hMenuCorpSet, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
            CheckMenuItem(hMenuCorpSet, id, MF_BYCOMMAND | (was ? MF_UNCHECKED : MF_CHECKED));
            *t.flag = was ? 0 : 1;
        }
    SetFocus(hBgTextRe);
}

// Colouring makes a search slow: the user may switch it off before a long one.
void colour_question() {
    if (!gl_CORPUS_COLOR) return;
    if (MessageBoxW(hBigReRight, u"Оцветяването е включено и процесът ще е бавен. Искате ли го изключите?", u"",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CheckMenuItem(hMenuCorpSet, IDM_CORP_COLOR, MF_BYCOMMAND | MF_UNCHECKED);
    CheckMenuItem(hMenuCorpSet, IDM_CORP_UNDERLINE, MF_BYCOMMAND | MF_UNCHECKED);
    gl_CORPUS_COLOR = 0;
    gl_CORPUS_UNDERLINE = 0;
}

// The number of the filter field into the parameter that `source` sets.
void number_from_filter(int source) {
    const auto target = std::find_if(kFilterTargets.begin(), kFilterTargets.end(),
                                     [source](const FilterTarget& t) { return t.source == source; });
    if (target == kFilterTargets.end()) return;
    if (RE_GetTextLength(hBgTextReFilter) == 0) {
        MessageBoxW(HWND{}, u"Полето е празно", u"Oops!", MB_OK | MB_ICONERROR);
        return;
    }
    const std::string text = GetWindowTextA(hBgTextReFilter);
    if (text.empty() || !ascii_digit[static_cast<unsigned char>(text[0])]) {
        error_box(HWND{}, "Not a number!");
        return;
    }
    // The leading digits; a number past the 32-bit range is taken as its largest value.
    std::int64_t value = 0;
    for (std::size_t i = 0; i < text.size() && ascii_digit[static_cast<unsigned char>(text[i])]; ++i)
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), INT32_MAX);
    *target->value = static_cast<std::int32_t>(value);
    glMsg = jux_format(target->message, *target->value, *target->value);
    if (target->relabel) relabel(target->relabel);
    MessageBoxA(HWND{}, glMsg, "Done!", MB_OK);
}

// "Тествай заредения текст": the result folder beside the file last loaded.
void test_loaded_text(HWND dlg) {
    const std::string& loaded = panel_file ? *panel_file : gl_dropped;
    if (loaded.empty()) {
        error_box(dlg, "No file is open!\n");
        return;
    }
    gl_dir_res = cp1251_to_utf8(bgtext_result_folder(loaded, path_to_cp1251(gl_dir_res)));
    std::error_code ec;
    std::filesystem::create_directory(gl_dir_res, ec);
    errno = 0;
    if (::access(gl_dir_res.c_str(), X_OK) != 0 || !std::filesystem::is_directory(gl_dir_res)) {
        const int err = errno ? errno : ENOTDIR;
        error_box(dlg, jux_format("Cannot change to folder %s, reason: %s, (errno = %d)\n",
                                  path_to_cp1251(gl_dir_res).c_str(), std::strerror(err), err));
    }
    MessageBoxA(dlg, jux_format("The result will be written in \"%s\".\n", path_to_cp1251(gl_dir_res).c_str()),
                "In a few moments..", MB_OK | MB_ICONINFORMATION);
    find_bg_part(0, 1, 0, 0, 0);
}

// "Тествай папка" (test 1) and "Анализирай папка" (test 0): the pairs of a folder tree, with the
// report "__report.txt" in the result folder beside it.
void folder_run(HWND dlg, std::int8_t test) {
    colour_question();
    reset_walk_counters();
    const std::optional<std::filesystem::path> picked = PL_BrowseForFolder(dlg, u"");
    if (!picked) return;
    gl_dir_res = result_folder_of(*picked);
    std::error_code ec;
    std::filesystem::create_directory(gl_dir_res, ec);
    gl_fl_stat = make_fl(gl_dir_res, kReport);
    if (!gl_fl_stat) return;  // make_fl has said why; nothing is loaded
    MessageBoxA(dlg, jux_format("The result will be written in \"%s\".\n", path_to_cp1251(gl_dir_res).c_str()),
                "In a few moments..", MB_OK | MB_ICONINFORMATION);
    dir_to_list_bulk(*picked, test);
    if (gl_cancel == 1) gl_cancel = 0;
    closefile(gl_fl_stat, kReport);
    gl_fl_stat = nullptr;
    tell_write_failures(dlg);
}

// "Отвори папка с 2 файла": one pair from the picked folder, the report in the data folder.
void open_pair_folder(HWND dlg) {
    const std::optional<std::filesystem::path> picked = PL_BrowseForFolder(dlg, u"");
    if (!picked) return;
    gl_fl_stat = make_fl(dir_alt, kReport);
    if (!gl_fl_stat) return;
    dir_to_list_bulk2(*picked);
    closefile(gl_fl_stat, kReport);
    gl_fl_stat = nullptr;
    tell_write_failures(dlg);
}

// A file dropped or opened into the text panel. The checker's Save keeps proposing the checker's
// own file, with its line ends and encoding: the Bulgarian text never takes the English one's place.
void load_into_panel(const Msg* drop, const std::filesystem::path& path) {
    const CheckerFileState checker;
    if (dropped_file(drop, hBgTextRe, path)) panel_file = gl_dropped;
    checker.restore();
}

// "Отвори файл": a text (or subtitles) into the panel.
void open_file(HWND dlg) {
    std::filesystem::path start;
    if (gl_dropped.empty() && !panel_file) {
        const char* home = std::getenv("HOME");
        start = home && *home ? home : "/";
    }
    const std::optional<std::filesystem::path> file = GetOpenFileNameW(
        dlg, u"",
        {{u"All Files (*.*)", u"*.*"}, {u"Subtitles (*.srt, *.sub)", u"*.srt;*.sub"}, {u"Text Files (*.txt)", u"*.txt"}},
        start);
    if (!file) return;
    RE_SetEventMask(hBigReLeft, RE_GetEventMask(hBigReLeft) | ENM_MOUSEEVENTS);
    load_into_panel(nullptr, *file);
}

bool menu_command(HWND dlg, UINT id) {
    switch (id) {
        case IDM_CORP_OPEN_FILE: open_file(dlg); return true;
        case IDM_CORP_TEST_TEXT: test_loaded_text(dlg); return true;
        case IDM_CORP_ANALYSE_TEXT:
            colour_question();
            find_bg_part(0, 0, 0, 0, 0);
            return true;
        case IDM_CORP_OPEN_FOLDER:
        case IDM_CORP_TEST_FOLDER:
        case IDM_CORP_ANALYSE_FOLDER:
            // A folder run loads texts whose runs pump messages: a second one waits for none.
            if (folder_run_active) return true;
            folder_run_active = true;
            folder_run_stopped = false;
            panel_file.reset();
            if (id == IDM_CORP_OPEN_FOLDER) open_pair_folder(dlg);
            else folder_run(dlg, id == IDM_CORP_TEST_FOLDER ? 1 : 0);
            folder_run_active = folder_run_stopped = false;
            return true;
        case IDM_CORP_RANGE:
        case IDM_CORP_STEP:
        case IDM_CORP_FILE_INDEX:
            number_from_filter(static_cast<int>(id));
            return true;
        default:
            if (id >= IDM_CORP_LIMITED && id <= IDM_CORP_DEBUG_FILES) {
                toggle(id);
                return true;
            }
            return false;
    }
}

INT_PTR on_command(HWND dlg, const Msg& m) {
    const UINT id = static_cast<UINT>(m.id);
    if (secondary_popup_command(id)) return 0;
    switch (m.id) {
        case IDC_BGTEXT_RE:
            if (m.code == EN_CHANGE) text_changed();
            return 0;
        case IDC_BGTEXT_REFRESH:
            refresh(dlg);
            return 1;
        case IDC_BGTEXT_START:
            find_bg_part(0, 0, 0, 0, 0);
            return 0;
        case IDC_BGTEXT_START2:
            search_all();
            return 0;
        case IDC_BGTEXT_STOP:
            gl_cancel = 1;
            if (folder_run_active) folder_run_stopped = true;
            return 0;
        case IDC_BGTEXT_MIXED:
            gl_CORPUS_ACTIVE = Button_GetCheck(hBgTextMixed) == BST_CHECKED ? 1 : 0;
            SetFocus(hBgTextRe);
            return 0;
        default:
            menu_command(dlg, id);
            return 0;
    }
}

INT_PTR on_context_menu(HWND dlg, const Msg& m) {
    const int x = m.pt.x, y = m.pt.y;
    if (secondary_context_menu(dlg, {hBgTextRe, hBgTextReFilter}, m.pt)) return 1;
    if (IsThisRETheContextNoMenu(dlg, hBgTextLabel, x, y)) {
        glMsg = jux_format(
            "CORPUS_RANGE (2000): %d\nCORPUS_SKIP_CT (12): %d\nCORPUS_FAST_RANGE (40): %d\nCORPUS_WIDE (12): %d\n"
            "CORPUS_GOOD_TRESHOLD (6): %d",
            gl_CORPUS_RANGE, gl_CORPUS_SKIP_CT, gl_CORPUS_FAST_RANGE, gl_CORPUS_WIDE, gl_CORPUS_GOOD_TRESHOLD);
        MessageBoxA(dlg, glMsg, "Settings", MB_OK);
        return 1;
    }
    for (HWND control : {hBgTextStart, hBgTextStart2, hBgTextStop, hBgTextMixed, hBgTextRefresh})
        if (IsThisRETheContextNoMenu(dlg, control, x, y)) {
            number_from_filter(GetDlgCtrlID(control));
            return 1;
        }
    return 0;
}

INT_PTR on_notify(const Msg& m) {
    if (!hBgTextRe || m.from != hBgTextRe) return 0;
    if (m.code == EN_MSGFILTER) {
        if (m.filter_msg == WM_LBUTTONDOWN) RE_HideSelection(hBgTextRe, false);
        if (m.filter_msg == WM_LBUTTONUP) {
            GetCleanToken(hBgTextRe, 1);
            hReFocus = hBgTextRe;
        }
        if (m.filter_msg == WM_LBUTTONDBLCLK) GetCleanToken(hBgTextRe, 1);
    } else if (m.code == EN_DROPFILES) {
        const HWND focus = GetFocus();
        SetFocus(hBgTextRe);
        load_into_panel(&m, {});
        if (focus) SetFocus(focus);
    }
    return 0;
}

// The close box: the window goes and the checker leaves corpus-translation mode, back to spell
// checking unless the machine-translation window is open; the bottom-panel flag that the mode
// forced takes back the user's value.
void close_by_box() {
    close_bgtext_window();
    if (!IsWindow(hMachine)) spell_checking_steps();
    release_print_down(PrintDownMode::Corpus);
    gl_CORPUS_TRANSLATION = 0;
    CheckMenuItem(hMenuToolsS, IDM_BIG_CORPUS, MF_BYCOMMAND | MF_UNCHECKED);
}

}  // namespace

void size_bgtext(HWND dlg) {
    const RECT c = GetClientRect(dlg);
    const int w = c.width(), h = c.height();
    auto place = [dlg](HWND control, std::optional<int> x, std::optional<int> y, std::optional<int> cx,
                       std::optional<int> cy) {
        if (!control) return;
        const RECT r = client_rect_of(dlg, control);
        MoveWindow(control, x.value_or(r.left), y.value_or(r.top), std::max(0, cx.value_or(r.width())),
                   std::max(0, cy.value_or(r.height())), true);
    };
    place(hBgTextRe, 24, std::nullopt, w - 26, h - gl_bigbottom - 38);
    place(hBgTextMixed, 25, 2, std::nullopt, std::nullopt);
    place(hBgTextStart, 25, std::nullopt, std::nullopt, std::nullopt);
    place(hBgTextLabel, 24, h - 19, std::nullopt, std::nullopt);
}

INT_PTR DialogBgtext(HWND dlg, const Msg& m) {
    switch (m.message) {
        case WM_INITDIALOG:
            init_bgtext(dlg);
            return 0;
        case WM_SIZE:
            size_bgtext(dlg);
            return 0;
        case WM_NOTIFY:
            return on_notify(m);
        case WM_CONTEXTMENU:
            return on_context_menu(dlg, m);
        case WM_COMMAND:
            return on_command(dlg, m);
        case WM_CLOSE:
            close_by_box();
            return 1;
        case WM_DESTROY:
            forget_bgtext(dlg);
            return 0;
        default:
            return 0;
    }
}

HWND open_bgtext_window() {
    if (!IsWindow(hBgText)) {
        register_bgtext_template();
        CreateDialogParamW(IDD_BGTEXT, HWND{}, DialogBgtext);
        if (!IsWindow(hBgText)) return HWND{};
    }
    ShowWindow(hBgText, SW_SHOW);
    return hBgText;
}

void close_bgtext_window() {
    if (IsWindow(hBgText)) DestroyWindow(hBgText);
    hBgText = HWND{};
}

std::string bgtext_result_folder(std::string path, const std::string& current) {
    if (!path.empty() && path.back() == '/') path.pop_back();
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return current;
    if (slash == 0) return "/";  // a file in the root: the root itself
    return path.substr(0, slash) + "_res";
}

void reset_bgtext_window() {
    for (HWND* h : {&hBgText, &hBgTextRe, &hBgTextReFilter, &hBgTextLabel, &hBgTextStart, &hBgTextStart2, &hBgTextStop,
                    &hBgTextRefresh, &hBgTextMixed})
        *h = HWND{};
    hMenuCorp = hMenuCorpFile = hMenuCorpStart = hMenuCorpSet = HMENU{};
    folder_run_active = folder_run_stopped = false;
    panel_file.reset();
}
