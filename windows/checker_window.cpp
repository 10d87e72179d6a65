#include "windows/checker_window.h"

#include <algorithm>
#include <array>
#include <span>

#include "audio/audio_state.h"
#include "engine/run_state.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "resources/checker.h"
#include "shell/settings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/bgtext_window.h"
#include "windows/checker_close.h"
#include "windows/checker_commands.h"
#include "windows/checker_context_menu.h"
#include "windows/checker_file_commands.h"
#include "windows/checker_layout.h"
#include "windows/checker_menus.h"
#include "windows/checker_modes.h"
#include "windows/checker_state.h"
#include "windows/checker_web.h"
#include "windows/control_handles.h"
#include "windows/filing_buttons.h"
#include "windows/machine_window.h"

namespace {

// The controls whose handles the window keeps, each with its global.
const ControlHandle kHandles[]{
    {1171, &hBigReRight}, {1170, &hBigReLeft}, {1173, &hBigReBot}, {1179, &hBigLabel}, {1276, &hBigLabelUp},
    {1270, &hBigColors}, {1208, &hBigActive}, {1243, &hBigWrap}, {1015, &hBigUppercase}, {1267, &hBigLatin},
    {1268, &hBigColorRare}, {1265, &hBigColoring}, {1246, &hBigRealTime}, {1247, &hBigSpellClip},
    {1263, &hBigRefresh}, {1319, &hBigPaste}, {1295, &hBigCapitalize}, {1272, &hBigInfo}, {1211, &hBigNov},
    {1271, &hBigAudioButton}, {1320, &hBigAudioRead}, {1181, &hBigShrink}, {1273, &hBig11}, {1293, &hBig21},
    {1285, &hBig11lower}, {1299, &hBigTwo}, {1304, &hBigThree}, {1277, &hBigName}, {1278, &hBigPlace},
    {1279, &hBigCult}, {1280, &hBigMale}, {1281, &hBigFem}, {1282, &hBigProp}, {1290, &hBigAdj11},
    {1301, &hBigAdj21}, {1305, &hBigAdvAdj11}, {1302, &hBigAdjPost11}, {1307, &hBigAttr11}, {1312, &hBigAttr21},
    {1298, &hBigAdv}, {1310, &hBigAdv2}, {1303, &hBigAdvWhen}, {1318, &hBigAdvWhere}, {1288, &hBigAz},
    {1289, &hBigDa}, {1291, &hBigSe1}, {1306, &hBigAz2}, {1308, &hBigDa2}, {1309, &hBigSe2}, {1292, &hBigC11},
    {1300, &hBigC21}, {1296, &hBigC5}, {1297, &hBigC6}, {1315, &hBigC7}, {1275, &hBigSent},
    {1294, &hBigSentCust}, {1317, &hBigSent3}, {1283, &hBigSent1}, {1284, &hBigSent2}, {1274, &hBigHard},
    {1321, &hBigHard3}, {1248, &hBigDobavi}, {1249, &hBigVizh}, {1250, &hBigTrii},
};

// Handles fetched while the menus and check boxes are set (the rest follow after them).
constexpr std::array kFirstFetched{1208, 1243, 1015, 1267, 1268, 1265, 1246, 1247, 1271, 1320, 1248, 1249, 1250};
// The check boxes that show their flags when the window opens.
constexpr std::array kFlagBoxes{1015, 1267, 1268, 1265, 1246, 1247};
// Controls in the 8-point font.
constexpr std::array kSmallFontControls{1249, 1250, 1248, 1272, 1267, 1015, 1265, 1247, 1246, 1268};
// Captions given in UTF-16 at initialisation (the five programmable buttons follow from LINKL1-5).
struct Caption {
    int id;
    std::u16string_view text;
};
constexpr std::array kCaptions{
    Caption{1249, u"виж"},  Caption{1248, u"добави"}, Caption{1250, u"трий"},
    Caption{1015, u"Главни букви"}, Caption{1267, u"Английски думи"}, Caption{1268, u"Редки думи"},
    Caption{1265, u"Оцветявай"}, Caption{1247, u"Клипборд"}, Caption{1246, u"В реално време"},
    Caption{1302, u"пос"},  Caption{1275, u"изр"},    Caption{1294, u"изр"},
    Caption{1283, u"нач"},  Caption{1284, u"кра"},    Caption{1298, u"нр"},
    Caption{1310, u"нр2"},  Caption{1303, u"ко"},     Caption{1318, u"къ"},
    Caption{1288, u"аз"},   Caption{1289, u"да"},     Caption{1291, u"се"},
    Caption{1306, u"аз"},   Caption{1308, u"да"},     Caption{1309, u"се"},
    Caption{1272, u"инфо"},
};

constexpr UINT IDM_POPUP_FIRST = 8084;
constexpr UINT IDM_POPUP_LAST = 8101;

// The window's flags as the check boxes show them.
std::int8_t* flag_of_box(int id) {
    switch (id) {
        case 1015: return &gl_SPELL_UPPERCASE;
        case 1267: return &gl_PARSE_LATIN_WORDS;
        case 1268: return &gl_COLOR_RARE;
        case 1265: return &gl_TEXT_COLORING;
        case 1246: return &gl_REAL_TIME;
        case 1247: return &gl_TRANSLATE_CLIPBOARD;
        default: return nullptr;
    }
}

std::string_view name_of(int id) {
    for (const CheckerControl& c : checker_controls())
        if (c.id == id) return c.name;
    return {};
}

void fetch(HWND dlg, int id) {
    for (const ControlHandle& h : kHandles)
        if (h.id == id) *h.handle = JUX_GetDlgItem(dlg, id, name_of(id));
}

bool fetched_first(int id) { return std::find(kFirstFetched.begin(), kFirstFetched.end(), id) != kFirstFetched.end(); }

HFONT make_font(int points) {
    LOGFONTW f;
    f.face = u"Microsoft Sans Serif";
    f.weight = 500;
    f.points = points;
    HFONT font = CreateFontIndirectW(f);
    if (!font) MessageBoxW(hMain, u"Bad Font", u"Oops!", MB_OK | MB_ICONERROR);
    return font;
}

void init_checker(HWND dlg) {
    // 1-2: menus, icon, the "Gtr" bitmap
    build_checker_menus(dlg);
    PL_SetWindowIcon(dlg, ICON_BIG, hicon32);
    PL_Button_SetBitmap(GetDlgItem(dlg, IDC_BIG_GOOGLE_TR), PL_LoadBitmapRes(IDB_GOOGLE_TR));
    // 3: the text state of a new window
    gl_search_start = gl_word_start = 0;
    gl_log.clear();
    gl_log_ct = gl_log_ct2 = 0;
    gl_0A = gl_0D = gl_0D0A = 0;
    gl_novstartw.clear();
    // 4-6: check boxes, audio buttons, the user-word buttons
    for (int id : kFirstFetched) fetch(dlg, id);
    if (!audio_index_loaded()) {
        ShowWindow(hBigAudioButton, SW_HIDE);
        ShowWindow(hBigAudioRead, SW_HIDE);
    }
    for (int id : kFlagBoxes) CheckDlgButton(dlg, id, *flag_of_box(id) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dlg, IDC_BIG_ACTIVE, BST_UNCHECKED);
    CheckDlgButton(dlg, IDC_BIG_WRAP, BST_CHECKED);
    // 7: panels, labels and the other buttons
    for (const ControlHandle& h : kHandles)
        if (!fetched_first(h.id)) fetch(dlg, h.id);
    SetWindowTextW(hBigLabelUp, u"");
    PL_Button_SetBitmap(hBigAudioButton, gl_bitmap_red);
    ShowWindow(hBigColors, gl_COLOR_RARE ? SW_SHOW : SW_HIDE);
    // 8-9: translation modes
    if (!gl_MACHINE_TRANSLATION && !gl_ENGLISH_TRANSLATION && !gl_CORPUS_TRANSLATION) {
        ShowHideMachineControls(SW_HIDE);
    } else {
        open_machine_window();
        CheckDlgButton(dlg, IDC_BIG_COLORING, BST_UNCHECKED);
        gl_TEXT_COLORING = 0;
        CheckMenuItem(hMenuSetS, IDM_BIG_CHECK_PUNCTUATION, MF_BYCOMMAND | MF_UNCHECKED);
        gl_CHECK_PUNCTUATION = 0;
    }
    if (gl_CORPUS_TRANSLATION == 1) open_bgtext_window();
    // 10-11: colours and fonts
    RE_SetBackgroundColor(hBigReLeft, bkgcolor3);
    RE_SetBackgroundColor(hBigReBot, bkgcolor3);
    RE_SetBackgroundColor(hBigReRight, bkgcolor1);
    hFont = make_font(gl_FONT_SIZE);
    hFont8 = make_font(8);
    for (HWND re : {hBigReLeft, hBigReRight, hBigReBot}) SetWindowFont(re, hFont, true);
    for (int id : kSmallFontControls) SetWindowFont(GetDlgItem(dlg, id), hFont8, true);
    // 12-13: notification masks, drops, text limits, wrapping
    RE_SetEventMask(hBigReLeft, 0);
    RE_SetEventMask(hBigReRight, BIG_TEXT_MASK);
    RE_SetEventMask(hBigReBot, BIG_TEXT_MASK);
    DragAcceptFiles(hBigReRight, true);
    DragAcceptFiles(hBigReBot, true);
    for (HWND re : {hBigReLeft, hBigReRight, hBigReBot}) RE_LimitText(re, BIG_PANEL_LIMIT);
    RE_SetWordWrap(hBigReRight, true);
    RE_SetWordWrap(hBigReBot, true);
    // 14-15: captions and tool tips
    for (const Caption& c : kCaptions) SetDlgItemTextW(dlg, c.id, c.text);
    for (const WebLinkButton& c : web_link_buttons()) SetWindowTextA(GetDlgItem(dlg, c.id), OP[c.label_option].text_value);
    for (const CheckerToolTip& t : checker_tooltips()) CreateToolTipW(t.id, dlg, t.text);
    // 16: layout
    gl_bigtop = 66;
    size_big(dlg);
}

// The window's end: its handles are forgotten, its menus released.
void forget_checker(HWND dlg) {
    if (hBig != dlg) return;
    if (hMenuMainS) DestroyMenu(hMenuMainS);
    if (hMenuPopupSetAudioS && IsMenu(hMenuPopupSetAudioS)) DestroyMenu(hMenuPopupSetAudioS);
    if (hReFocus && GetParent(hReFocus) == dlg) hReFocus = HWND{};
    if (hReFocusPrev && GetParent(hReFocusPrev) == dlg) hReFocusPrev = HWND{};
    reset_checker_state();
    hBig = hBigReRight = hBigReLeft = hBigReBot = HWND{};
}

INT_PTR on_command(HWND dlg, const Msg& m) {
    const UINT id = static_cast<UINT>(m.id);
    if (id >= IDM_POPUP_FIRST && id <= IDM_POPUP_LAST) return ContextMenu(id);
    if (m.id == IDC_BIG_RE_RIGHT) {
        if (m.code == EN_CHANGE) check_right_panel(dlg);
        return 0;
    }
    // The report and the word panel tell each change (a run writes thousands of report lines); no
    // command is theirs.
    if (m.id == IDC_BIG_RE_LEFT || m.id == IDC_BIG_RE_BOT) return 0;
    if (checker_option_command(dlg, id)) return 0;
    INT_PTR result = 0;
    if (checker_panel_command(dlg, m.id, result)) return result;
    if (filing_command(dlg, m.id, result)) return result;
    if (checker_web_command(m.id)) return 0;
    if (checker_file_command(dlg, m.id)) return 0;
    if (checker_mode_command(dlg, id)) return 0;
    // 1181 has no command.
    return 0;
}

}  // namespace

INT_PTR DialogBig(HWND dlg, const Msg& m) {
    switch (m.message) {
        case WM_INITDIALOG:
            hBig = dlg;
            init_checker(dlg);
            return 0;
        case WM_SIZE:
            size_big(dlg);
            return 0;
        case WM_ACTIVATE:
            if (m.code == WA_ACTIVE || m.code == WA_CLICKACTIVE) {
                SetWindowTextW(hBigLabel, u"1");
                gl_SPELLING_MODE = 1;
                set_respond_token();
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            // A release on the bare surface is the splitter's: no context menu follows it.
            return checker_splitter_click(dlg, m.message, m.keys, m.pt) ? 1 : 0;
        case WM_COMMAND:
            return on_command(dlg, m);
        case WM_NOTIFY:
            return checker_notify(dlg, m);
        case WM_BIG_WAITING_RUN:
            serve_waiting_run(dlg);
            return 0;
        case WM_CONTEXTMENU:
            return checker_context_menu(dlg, m);
        case WM_CLOSE:
            close_checker(dlg);
            return 1;
        case WM_DESTROY:
            forget_checker(dlg);
            return 0;
        default:
            return 0;
    }
}

HWND open_checker_window(std::optional<POINT> place_new) {
    if (!IsWindow(hBig)) {
        register_checker_template();
        CreateDialogParamW(IDD_BIG, HWND{}, DialogBig);
        if (!IsWindow(hBig)) return HWND{};
        SetWindowTextW(hBig, JUXtitleCurrentBig);
        if (place_new) SetWindowPos(hBig, HWND{}, place_new->x, place_new->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    ShowWindow(hBig, SW_SHOW);
    set_checker_on(hBig, true);
    RE_SetEventMask(hBigReLeft, RE_GetEventMask(hBigReLeft) | ENM_MOUSEEVENTS);
    return hBig;
}

void reset_checker_window() {
    reset_checker_state();
    reset_machine_window();
    reset_checker_modes();
    reset_filing_popups();
}
