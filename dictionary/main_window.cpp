#include "dictionary/main_window.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>

#include "audio/main_window_audio.h"
#include "dictionary/custom_words.h"
#include "dictionary/loading.h"
#include "engine/run/entry_display.h"
#include "engine/lookup_state.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "lexicon/listfile.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "resources/resources.h"
#include "resources/secondary.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "spelling/word_index.h"
#include "windows/checker_file_commands.h"
#include "windows/checker_window.h"
#include "windows/secondary_windows.h"
#include "windows/translation_window.h"

HWND hAddReDict;
bool dictionary_edit_mode = false;
HWND hAddBigSpell;
HWND hAddBigTrans;
std::size_t new_words_at_start = 0;

namespace {

constexpr LONG kPanelLimit = 0x7FFFFFFE;  // text limit of every panel (pasted texts of any size)
constexpr int kMargin = 6;                // pixels round the controls
constexpr int kGap = 4;                   // pixels between controls
constexpr int kEntryHeight = 28;          // the entry box
constexpr int kCheckWidth = 150;          // each of the two check boxes (stacked)
constexpr int kCheckHeight = 14;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 26;
constexpr int kLabelHeight = 16;
constexpr int kCancelWidth = 70;          // Cancel, at the end of the status line
constexpr int kDictMinWidth = 200;        // the dictionary panel's narrowest width
constexpr int kEntryMinWidth = 150;       // narrower than this, the entry box takes its own row
constexpr double kDictShare = 0.30;       // its share of the width
constexpr double kEntryShare = 0.58;      // the entry panel's share of the height beside it
constexpr double kBgShare = 0.40;         // shares of the panes under it: paradigms, corpus lines
constexpr double kCorpusShare = 0.35;     // (the word-list pane takes the rest)

bool own_run = false;  // a look-up of this window is the outermost call of translate_text

// The panels the window offers the shared popup menu for, in hit-test order.
constexpr int kPopupPanels[] = {IDC_ADD_RE_SHORT, IDC_ADD_RE_SAVED, IDC_ADD_RE_DICT,
                                IDC_ADD_RE_BG,    IDC_ADD_RE_HYPHEN, IDC_ADD_RE_SHORT3};

void place(HWND dlg, int id, int x, int y, int w, int h) {
    MoveWindow(GetDlgItem(dlg, id), x, y, std::max(0, w), std::max(0, h));
}

void prepare_panel(HWND re, bool wrap) {
    SetWindowFont(re, hFont);
    RE_LimitText(re, kPanelLimit);
    RE_SetWordWrap(re, wrap);
}

void fetch_handles(HWND dlg) {
    hAddReShort = JUX_GetDlgItem(dlg, IDC_ADD_RE_SHORT, "IDC_ADD_RE_SHORT");
    hAddReShortCopy = JUX_GetDlgItem(dlg, IDC_ADD_RE_SHORT_COPY, "IDC_ADD_RE_SHORT_COPY");
    hAddReSaved = JUX_GetDlgItem(dlg, IDC_ADD_RE_SAVED, "IDC_ADD_RE_SAVED");
    hAddReDict = JUX_GetDlgItem(dlg, IDC_ADD_RE_DICT, "IDC_ADD_RE_DICT");
    hAddReShort3 = JUX_GetDlgItem(dlg, IDC_ADD_RE_SHORT3, "IDC_ADD_RE_SHORT3");
    hAddReBg = JUX_GetDlgItem(dlg, IDC_ADD_RE_BG, "IDC_ADD_RE_BG");
    hAddReLong = JUX_GetDlgItem(dlg, IDC_ADD_RE_LONG, "IDC_ADD_RE_LONG");
    hAddReHyphen = JUX_GetDlgItem(dlg, IDC_ADD_RE_HYPHEN, "IDC_ADD_RE_HYPHEN");
    hAddLabel = JUX_GetDlgItem(dlg, IDC_ADD_LABEL, "IDC_ADD_LABEL");
    hAddSentence = JUX_GetDlgItem(dlg, IDC_ADD_SENTENCE, "IDC_ADD_SENTENCE");
    hAddTransSir = JUX_GetDlgItem(dlg, IDC_ADD_TRANS_SIR, "IDC_ADD_TRANS_SIR");
    hAddBigSpell = JUX_GetDlgItem(dlg, IDC_ADD_BIG_SPELL, "IDC_ADD_BIG_SPELL");
    hAddBigTrans = JUX_GetDlgItem(dlg, IDC_ADD_BIG_TRANS, "IDC_ADD_BIG_TRANS");
}

// The word indexes of the lists, made while the word-form index is still being made on its helper
// thread: the small ones (with the English list's near-match buckets) while its file's bytes are
// still held, the largest, b_bulgarian's, with its near-match buckets on a thread beside it, once
// they are let go. All is built when the load returns, so that no look-up waits.
WhileFormsIndex start_word_indexes() {
    WhileFormsIndex w;
    w.first = [] {
        for (int row = 0; row < kEnglishSetCount; ++row) english_index(row);
        if (deep_spell_option() != 0) english_index(0).build_near_buckets();
        capit_index();
        for (int row : spelling_dictionary_rows())
            if (row != B_BULGARIAN) dictionary_index(row);
    };
    w.then = [] {
        if (deep_spell_option() != 0) dictionary_index_with_near_buckets(B_BULGARIAN);
        else dictionary_index(B_BULGARIAN);
    };
    w.last = [] { build_word_indexes(); };  // whatever is left
    return w;
}

void init_main_window(HWND dlg) {
    load_lexicon_with_word_indexes(dir_alt);
    count_start(dir_alt);
    new_words_at_start = b[B_BULGARIAN_NEW].count;
    PL_SetWindowIcon(dlg, ICON_BIG, hicon32);
    PL_SetWindowIcon(dlg, ICON_SMALL, hicon32);
    fetch_handles(dlg);
    hMessagePanel = hAddReSaved;
    install_english_definition_hooks();

    LOGFONTW f;
    f.face = u"Microsoft Sans Serif";
    f.points = gl_FONT_SIZE > 0 ? gl_FONT_SIZE : 10;
    hFont = CreateFontIndirectW(f);
    prepare_panel(hAddReShort, true);
    prepare_panel(hAddReShortCopy, true);
    for (HWND re : {hAddReSaved, hAddReBg, hAddReHyphen, hAddReShort3, hAddReLong}) prepare_panel(re, true);
    prepare_panel(hAddReDict, false);
    SetWindowFont(hAddLabel, hFont);
    for (HWND re : {hAddReSaved, hAddReDict, hAddReBg, hAddReHyphen, hAddReShort3}) RE_SetBackgroundColor(re, bkgcolor1);
    // The look-up runs on every change of the entry box, and only there.
    RE_SetEventMask(hAddReShort, ENM_CHANGE);
    // A Bulgarian word is shown with its lemma and paradigms only when the text is cut into
    // words, so the dictionary starts that way; unticked, a look-up goes straight to the English
    // entry display.
    Button_SetCheck(hAddSentence, BST_CHECKED);
    DragAcceptFiles(dlg, true);
    open_search_log();
    init_main_window_audio(dlg);

    const RECT c = GetClientRect(dlg);
    layout_main_window(dlg, c.width(), c.height());
}

void forget_handles(HWND dlg) {
    for (HWND* h : {&hAddReShort, &hAddReShortCopy, &hAddReSaved, &hAddReShort3, &hAddLabel, &hAddSentence, &hAddReDict,
                    &hAddReBg, &hAddReLong, &hAddReHyphen, &hAddTransSir, &hAddBigSpell, &hAddBigTrans})
        if (*h && GetParent(*h) == dlg) *h = HWND{};
    if (hMessagePanel && GetParent(hMessagePanel) == dlg) hMessagePanel = HWND{};
}

// The clipboard watch: text that another program copies is looked up in the entry box while
// gl_TRANSLATE_CLIPBOARD is 1. The program's own writes (CopyToClipboard clears
// gl_clipboard_translation, which is set back for the next change) and the copies the user makes
// from its panels are left alone, so that copying and pasting within the program keeps the box.
// So is a text longer than a list line, which no list holds as its key (a blob of data copied
// elsewhere): taking it in would only lay out megabytes in the box and in the look-up's report.
void on_clipboard_change() {
    if (!gl_clipboard_translation) {
        gl_clipboard_translation = 1;
        return;
    }
    if (gl_TRANSLATE_CLIPBOARD != 1 || !IsWindow(hAddReShort) || PL_IsClipboardOwned()) return;
    const std::optional<std::u16string> text = PL_GetClipboardTextW();
    if (!text || text->empty() || text->size() > kMaxListLine || *text == RE_GetTextW(hAddReShort, GT_DEFAULT))
        return;
    // The box's own change notification runs the look-up.
    StringToRE1200def(hAddReShort, *text);
}

// The end of the program: what the user gathered is written, the icon goes, the loop ends.
void close_main_window(HWND dlg) {
    // The checker's changed file text is saved or let go first; Cancel keeps the program.
    if (IsWindow(hBig) && !checker_text_may_go(hBig)) return;
    write_new_bulgarian_words();
    close_search_log();
    if (gl_icon_exists) {
        Shell_NotifyIconW(NIM_DELETE, nid);
        gl_icon_exists = 0;
    }
    ShowWindow(dlg, SW_HIDE);
    PostQuitMessage(0);
}

INT_PTR on_command(HWND dlg, const Msg& m) {
    if (m.id == IDC_ADD_RE_SHORT && m.code == EN_CHANGE) {
        // A look-up at the caret that wrote into the box asks for no run: its change is skipped.
        if (gl_info_printed) {
            gl_info_printed = 0;
            return 1;
        }
        look_up_entry_box(dlg);
        return 1;
    }
    if (ContextMenu(static_cast<UINT>(m.id))) return 1;
    // The audio button 1297, the popup item 8200 and the menu command "Make audio file".
    if (main_window_audio_command(dlg, m.id)) return 1;
    // The inflection-type input, settings, character table and live clipboard windows, the About box.
    if (secondary_window_command(m.id)) return 1;
    switch (m.id) {
        case IDC_ADD_CANCEL:
            // Stops the run that is cutting the entry box's (or any panel's) text.
            gl_cancel = 1;
            return 1;
        case IDC_ADD_BIG_SPELL:
            open_checker_window(POINT{40, 20});
            return 1;
        case IDC_ADD_BIG_TRANS:
            open_translation_window(hAddReSaved, false);
            return 1;
        case IDM_SHOW_BIG:
            open_translation_window(hReFocus, true);
            return 1;
        case IDM_ADD_CUSTOM_WORD:
            add_custom_word(dlg);
            return 1;
        case IDM_ERASE_CUSTOM_WORD:
            erase_custom_word(dlg);
            return 1;
        case IDA_OPEN:
        case IDA_SAVE:
        case IDA_FIND_REPLACE:
            // The text-checker window's commands that the main window's accelerators carry.
            if (IsWindow(hBig)) PL_SendCommand(hBig, m.id);
            return 1;
        default:
            return 0;
    }
}

}  // namespace

void layout_main_window(HWND dlg, int cx, int cy) {
    // The entry box on the left of the check boxes and buttons; in a narrow window it keeps the
    // whole width and they go to a row of their own below it.
    const int controls_w = kCheckWidth + 3 * kButtonWidth + 3 * kGap;
    int entry_w = cx - 2 * kMargin - kGap - controls_w;
    int x = kMargin + entry_w + kGap;
    int y = kMargin;
    int below = kMargin + kEntryHeight;
    if (entry_w < kEntryMinWidth) {
        entry_w = std::max(0, cx - 2 * kMargin);
        x = kMargin;
        y = kMargin + kEntryHeight + kGap;
        below = y + std::max(2 * kCheckHeight, kButtonHeight);
    }
    place(dlg, IDC_ADD_RE_SHORT, kMargin, kMargin, entry_w, kEntryHeight);
    place(dlg, IDC_ADD_RE_SHORT_COPY, kMargin, kMargin, entry_w, kEntryHeight);
    place(dlg, IDC_ADD_SENTENCE, x, y, kCheckWidth, kCheckHeight);
    place(dlg, IDC_ADD_UPDATE_DEFINITION_AFTER_ADD, x, y + kCheckHeight, kCheckWidth, kCheckHeight);
    x += kCheckWidth + kGap;
    place(dlg, IDC_ADD_BIG_SPELL, x, y, kButtonWidth, kButtonHeight);
    place(dlg, IDC_ADD_BIG_TRANS, x + kButtonWidth + kGap, y, kButtonWidth, kButtonHeight);
    place(dlg, IDC_ADD_SHOW_LIVE, x + 2 * (kButtonWidth + kGap), y, kButtonWidth, kButtonHeight);

    const int label_y = below + kGap;
    // The status line, then Cancel, then the audio button and its word at the end of the row.
    const int audio_w = layout_main_window_audio(dlg, cx - kMargin, label_y, kLabelHeight);
    const int cancel_x = cx - kMargin - audio_w - kCancelWidth;
    place(dlg, IDC_ADD_LABEL, kMargin, label_y, std::max(0, cancel_x - kGap - kMargin), kLabelHeight);
    place(dlg, IDC_ADD_CANCEL, cancel_x, label_y, kCancelWidth, kLabelHeight + kGap);

    const int top = label_y + kLabelHeight + kGap;
    const int height = cy - top - kMargin;
    const int width = cx - 2 * kMargin;
    const int dict_w = std::min(std::max(kDictMinWidth, static_cast<int>(width * kDictShare)), width / 2);
    place(dlg, IDC_ADD_RE_DICT, kMargin, top, dict_w, height);

    const int right_x = kMargin + dict_w + kGap;
    const int right_w = cx - kMargin - right_x;
    const int entry_h = static_cast<int>(height * kEntryShare);
    place(dlg, IDC_ADD_RE_SAVED, right_x, top, right_w, entry_h);
    place(dlg, IDC_ADD_RE_LONG, right_x, top, right_w, entry_h);
    place(dlg, IDC_ADD_TRANS_SIR, right_x, top, right_w / 2, kLabelHeight + 4);

    const int low_y = top + entry_h + kGap;
    const int low_h = cy - kMargin - low_y;
    const int panes_w = right_w - 2 * kGap;
    const int bg_w = static_cast<int>(panes_w * kBgShare);
    const int corpus_w = static_cast<int>(panes_w * kCorpusShare);
    place(dlg, IDC_ADD_RE_BG, right_x, low_y, bg_w, low_h);
    place(dlg, IDC_ADD_RE_HYPHEN, right_x + bg_w + kGap, low_y, corpus_w, low_h);
    place(dlg, IDC_ADD_RE_SHORT3, right_x + bg_w + corpus_w + 2 * kGap, low_y, panes_w - bg_w - corpus_w, low_h);
}

void look_up_entry_box(HWND dlg) {
    // A change made while a run pumps messages is served by that run when it ends. When that run
    // is another panel's (the text checker's), no call of this window follows it to give the
    // buttons back, so they are left as they are; the look-up's own run keeps them off until
    // every change made meanwhile is served.
    if (translate_text_running() && !own_run) {
        translate_panel(dlg, hAddReShort, hAddReDict, hAddLabel, "debug_IDC_ADD_RE_SHORT");
        return;
    }
    EnableWindow(hAddBigSpell, false);
    EnableWindow(hAddBigTrans, false);
    const bool outermost = !own_run;
    own_run = true;
    translate_panel(dlg, hAddReShort, hAddReDict, hAddLabel, "debug_IDC_ADD_RE_SHORT");
    if (!outermost) return;
    own_run = false;
    EnableWindow(hAddBigSpell, true);
    EnableWindow(hAddBigTrans, true);
}

int open_search_log() {
    if (fl_searchlog) return 1;
    const std::filesystem::path file = fl_path(dir_alt, kSearchLogName);
    fl_searchlog = open_out(file, "ab");
    if (!fl_searchlog) {
        const int err = errno;
        nologfile_fg = 1;
        if (!tell_data_folder_trouble(err)) return 0;  // the user knows the folder cannot be written
        MessageBoxA(hMain,
                    jux_format("Cannot open %s, reason: %s, (errno = %d)\n", path_to_cp1251(file).c_str(),
                               std::strerror(err), err),
                    "Oops!", MB_OK | MB_ICONERROR);
        return 0;
    }
    nologfile_fg = 0;
    return 1;
}

void close_search_log() {
    if (!fl_searchlog) return;
    // The last look-up shown; the earlier ones were written when the next one did not continue
    // them.
    if (previous_exact.size() > 2) {
        std::fseek(fl_searchlog, 0, SEEK_END);
        put_search_log(previous_exact + "\r\n");
    }
    closefile(fl_searchlog, kSearchLogName);
    fl_searchlog = nullptr;
    nologfile_fg = 1;
    previous_exact.clear();
}

int write_new_bulgarian_words() {
    const DictFileRecord& list = b[B_BULGARIAN_NEW];
    const std::size_t count = std::min(list.count, list.entries.size());
    if (count == new_words_at_start || list.name.empty()) return 0;
    const std::filesystem::path file = fl_path(dir_alt, list.name + ".txt");
    // A list that did not fit into its room keeps, in its file, the words that were not loaded.
    const std::span<const ListPair> words(list.entries.data(), count);
    const std::string text =
        list.stats.over_room ? pairs_to_text_keeping_unloaded(file, words, {}) : pairs_to_text(words);
    if (!write_file_safely(file, text)) {
        const int err = errno;
        MessageBoxA(hMain, cannot_write_text(file, err), "Oops!", MB_OK | MB_ICONERROR);
        return 0;
    }
    new_words_at_start = count;
    return 1;
}

INT_PTR DialogAdd(HWND dlg, const Msg& m) {
    switch (m.message) {
        case WM_INITDIALOG:
            init_main_window(dlg);
            return 1;
        case WM_SIZE:
            if (m.code != SIZE_MINIMIZED) layout_main_window(dlg, m.cx, m.cy);
            return 1;
        case WM_ACTIVATE:
            if (m.code != WA_INACTIVE) {
                gl_SPELLING_MODE = 0;
                set_respond_token();
            }
            return 0;
        case WM_COMMAND:
            return on_command(dlg, m);
        case WM_CONTEXTMENU:
            for (int id : kPopupPanels)
                if (IsThisRETheContext(dlg, GetDlgItem(dlg, id), hMenuPopupAll, m.pt.x, m.pt.y)) return 1;
            return 0;
        case WM_DRAWCLIPBOARD:
            on_clipboard_change();
            return 1;
        case WM_DROPFILES:
            // A file dropped anywhere on the window goes into the entry box and is looked up; the
            // checker's file (what its Save proposes and writes) stays its own.
            load_beside_checker_file(m, hAddReShort);
            return 1;
        case WM_TRAYICON:
            if (m.filter_msg == WM_LBUTTONUP || m.filter_msg == WM_LBUTTONDBLCLK) PopupMain(dlg);
            return 1;
        case WM_CLOSE:
            close_main_window(dlg);
            return 1;
        case WM_DESTROY:
            close_search_log();
            forget_handles(dlg);
            return 1;
        default:
            return 0;
    }
}

HMENU build_main_menu(bool edit_mode) {
    if (IsMenu(hMenuMain)) DestroyMenu(hMenuMain);
    hMenuMain = CreateMenu();
    for (const MainMenu& menu : main_menu_bar()) {
        if (menu.title == kInsertMenuTitle && !edit_mode) continue;  // removed outside the edit mode
        HMENU popup = CreatePopupMenu();
        for (const PopupItem& item : menu.items) {
            if (item.id == 0) AppendMenuW(popup, MF_SEPARATOR, 0);
            else AppendMenuW(popup, MF_STRING, item.id, item.label);
        }
        AppendSubMenu(hMenuMain, popup, menu.title);
    }
    dictionary_edit_mode = edit_mode;
    SetMenu(hMain, hMenuMain);
    DrawMenuBar(hMain);
    return hMenuMain;
}

int tell_missing_lexicon() {
    if (lexicon_load_report.files_read != 0) return 0;
    MessageBoxA(hMain,
                jux_format("No lexicon was found in the data folder %s: every word will be unknown.\r\n"
                           "Put the lexicon's files there and start the program again.",
                           dir_altA.c_str()),
                "Oops!", MB_OK | MB_ICONWARNING);
    return 1;
}

int load_lexicon_with_word_indexes(const std::filesystem::path& folder) {
    return load_lexicon(folder, start_word_indexes());
}

HWND create_main_window() {
    register_main_window_template();
    hMain = CreateDialogParamW(IDD_ADD, HWND{}, DialogAdd);
    SetWindowTextW(hMain, JUXtitle);
    return hMain;
}

void reset_main_window() {
    hAddReDict = hAddBigSpell = hAddBigTrans = HWND{};
    dictionary_edit_mode = false;
    new_words_at_start = 0;
    own_run = false;
}
