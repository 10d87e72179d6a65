#include "windows/settings_window.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/richedit.h"
#include "platform/text.h"
#include "resources/secondary.h"
#include "shell/files.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/checker_state.h"
#include "windows/secondary_windows.h"

HWND hSettings;
HWND hSettingsBoxTrans, hSettingsTranslateClipboard, hSettingsTrayBalloon, hSettingsBoxSpelling,
    hSettingsSpellUppercase, hSettingsTextColoring, hSettingsBoxRank, hSettingsPrintRankInOneline,
    hSettingsPrintFiltered, hSettingsRankSettings, hSettingsMaxDefLength, hSettingsRe;
std::optional<std::u16string> gl_belezhnik;
std::size_t gl_belezhnik_sz = 0;

namespace {

constexpr LONG kNotesLimit = 0x7FFFFF;

// The controls: handle, identifier, name and the Bulgarian text each gets (empty: none).
struct SettingsControl {
    HWND* handle;
    int id;
    const char* name;
    std::u16string_view text;
};
HWND label_rank, label_def_len;  // fetched for their texts only
const std::array<SettingsControl, 14> kControls{{
    {&hSettingsBoxTrans, IDC_SETTINGS_BOX_TRANS, "IDC_SETTINGS_BOX_TRANS", u"Превод"},
    {&hSettingsTranslateClipboard, IDC_SETTINGS_TRANSLATE_CLIPBOARD, "IDC_SETTINGS_TRANSLATE_CLIPBOARD",
     u"Автоматичен превод на клипборда"},
    {&hSettingsTrayBalloon, IDC_SETTINGS_TRAY_BALLOON, "IDC_SETTINGS_TRAY_BALLOON", u"Превод в балонче"},
    {&hSettingsBoxSpelling, IDC_SETTINGS_BOX_SPELLING, "IDC_SETTINGS_BOX_SPELLING", u"Правописна проверка"},
    {&hSettingsSpellUppercase, IDC_SETTINGS_SPELL_UPPERCASE, "IDC_SETTINGS_SPELL_UPPERCASE",
     u"Правопис на думи с главни букви"},
    {&hSettingsTextColoring, IDC_SETTINGS_TEXT_COLORING, "IDC_SETTINGS_TEXT_COLORING", u"Оцветявай в текста"},
    {&hSettingsBoxRank, IDC_SETTINGS_BOX_RANK, "IDC_SETTINGS_BOX_RANK", u"Ранг"},
    {&hSettingsPrintRankInOneline, IDC_SETTINGS_PRINT_RANK_IN_ONELINE, "IDC_SETTINGS_PRINT_RANK_IN_ONELINE",
     u"Показвай ранг на англ. думи"},
    {&hSettingsPrintFiltered, IDC_SETTINGS_PRINT_FILTERED, "IDC_SETTINGS_PRINT_FILTERED",
     u"Показвай филтрираните думи"},
    {&label_rank, IDC_SETTINGS_LABEL_RANK, "IDC_SETTINGS_LABEL_RANK", u"Филтрирай ранг по-малък от"},
    {&hSettingsRankSettings, IDC_SETTINGS_RANK_FILTER, "IDC_SETTINGS_RANK_FILTER", u""},
    {&label_def_len, IDC_SETTINGS_LABEL_DEF_LEN, "IDC_SETTINGS_LABEL_DEF_LEN", u"Превод не по-дълъг от"},
    {&hSettingsMaxDefLength, IDC_SETTINGS_MAX_DEFINITION_LENGTH, "IDC_SETTINGS_MAX_DEFINITION_LENGTH", u""},
    {&hSettingsRe, IDC_SETTINGS_RE, "IDC_SETTINGS_RE", u""},
}};

// The six check boxes and the option mirrors they stand for.
struct SettingsBox {
    int id;
    std::int8_t* mirror;
};
const std::array<SettingsBox, 6> kBoxes{{
    {IDC_SETTINGS_SPELL_UPPERCASE, &gl_SPELL_UPPERCASE},
    {IDC_SETTINGS_TEXT_COLORING, &gl_TEXT_COLORING},
    {IDC_SETTINGS_TRANSLATE_CLIPBOARD, &gl_TRANSLATE_CLIPBOARD},
    {IDC_SETTINGS_TRAY_BALLOON, &gl_TRANSLATE_IN_TRAY_BALLOON},
    {IDC_SETTINGS_PRINT_RANK_IN_ONELINE, &gl_PRINT_RANK_IN_ONELINE},
    {IDC_SETTINGS_PRINT_FILTERED, &gl_PRINT_FILTERED},
}};

// The two number fields: the mirror and the name the refusal gives the field.
struct NumberField {
    int id;
    std::int32_t* mirror;
    const char* name;
};
const std::array<NumberField, 2> kNumbers{{
    {IDC_SETTINGS_MAX_DEFINITION_LENGTH, &gl_MAX_DEFINITION_LENGTH, "Definition length"},
    {IDC_SETTINGS_RANK_FILTER, &gl_RANK_FILTER, "Rank Filter"},
}};

// The field shows the mirror as the signed number it holds, so that OK reads back what it shows.
void show_number(HWND dlg, const NumberField& f) { SetDlgItemTextW(dlg, f.id, utf8_to_utf16(std::to_string(*f.mirror))); }

void init_settings(HWND dlg) {
    PL_SetWindowIcon(dlg, ICON_BIG, hicon32);
    SetWindowTextW(dlg, u" Settings");
    for (const SettingsControl& c : kControls) {
        *c.handle = JUX_GetDlgItem(dlg, c.id, c.name);
        if (!c.text.empty()) SetWindowTextW(*c.handle, c.text);
    }
    RE_SetBackgroundColor(hSettingsRe, bkgcolor1);
    RE_SetEventMask(hSettingsRe, ENM_MOUSEEVENTS);
    RE_LimitText(hSettingsRe, kNotesLimit);
    if (gl_belezhnik) StringToRE1200(hSettingsRe, *gl_belezhnik);
    for (const SettingsBox& b : kBoxes) CheckDlgButton(dlg, b.id, *b.mirror ? BST_CHECKED : BST_UNCHECKED);
    for (const NumberField& f : kNumbers) show_number(dlg, f);
    // The number fields stand on the panels' background with black text.
    for (HWND field : {hSettingsMaxDefLength, hSettingsRankSettings}) PL_SetControlColors(field, bkgcolor1, 0x000000);
}

bool checked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }

// The notes panel's text kept for the next opening (or released when the panel is empty).
void keep_notes() {
    // Measured with CR LF line ends, as it is read, so that no character of a text with line
    // breaks is cut off.
    const LONG n = RE_GetTextLength(hSettingsRe, GT_USECRLF);
    if (n > 0) {
        const std::size_t room = static_cast<std::size_t>(n) * 2 + 2;
        if (gl_belezhnik_sz < room) gl_belezhnik_sz = room;
        gl_belezhnik = RE_GetTextW(hSettingsRe, GT_USECRLF);
    } else if (gl_belezhnik) {
        gl_belezhnik.reset();
        gl_belezhnik_sz = 0;
    }
}

// OK: nothing changes until both number fields hold valid numbers; then every control is copied
// into its mirror, the pump interval is recomputed, the notes are kept and the window closes.
INT_PTR accept(HWND dlg) {
    std::array<std::int32_t, kNumbers.size()> values{};
    for (std::size_t i = 0; i < kNumbers.size(); ++i) {
        const NumberField& f = kNumbers[i];
        // The field takes what the settings file takes as the option's value.
        bool out_of_range = false;
        const std::optional<std::int32_t> v = settings_number(utf16_to_cp1251(GetDlgItemTextW(dlg, f.id)), &out_of_range);
        if (!v) {
            const std::string text =
                out_of_range
                    ? jux_format("Enter a number from %d to %d in \"%s\"", std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max(), f.name)
                    : jux_format("Enter a number in \"%s\"", f.name);
            MessageBoxA(dlg, text, "Oops!", MB_OK | MB_ICONERROR);
            show_number(dlg, f);
            return 0;
        }
        values[i] = *v;
    }
    gl_SPELL_UPPERCASE = checked(dlg, IDC_SETTINGS_SPELL_UPPERCASE);
    gl_TEXT_COLORING = checked(dlg, IDC_SETTINGS_TEXT_COLORING);
    gl_TRANSLATE_CLIPBOARD = checked(dlg, IDC_SETTINGS_TRANSLATE_CLIPBOARD);
    if (IsWindow(hBig)) Button_SetCheck(hBigSpellClip, gl_TRANSLATE_CLIPBOARD ? BST_CHECKED : BST_UNCHECKED);
    gl_TRANSLATE_IN_TRAY_BALLOON = checked(dlg, IDC_SETTINGS_TRAY_BALLOON);
    for (std::size_t i = 0; i < kNumbers.size(); ++i) *kNumbers[i].mirror = values[i];
    gl_PRINT_RANK_IN_ONELINE = checked(dlg, IDC_SETTINGS_PRINT_RANK_IN_ONELINE);
    gl_PRINT_FILTERED = checked(dlg, IDC_SETTINGS_PRINT_FILTERED);
    set_respond_token();
    keep_notes();
    close_secondary_window(dlg, hSettings);
    return 1;
}

void forget_handles() {
    for (const SettingsControl& c : kControls) *c.handle = HWND{};
}

}  // namespace

INT_PTR DialogSettings(HWND dlg, const Msg& m) {
    INT_PTR result = 0;
    if (secondary_panel_message(dlg, hSettingsRe, m, result)) return result;
    switch (m.message) {
        case WM_INITDIALOG:
            init_settings(dlg);
            return 0;
        case WM_COMMAND:
            switch (m.id) {
                case IDC_SETTINGS_TRANSLATE_CLIPBOARD:
                    // Without the clipboard's translation there is none for the balloon either.
                    if (!checked(dlg, IDC_SETTINGS_TRANSLATE_CLIPBOARD))
                        CheckDlgButton(dlg, IDC_SETTINGS_TRAY_BALLOON, BST_UNCHECKED);
                    return 0;
                case IDC_SETTINGS_OK:
                    return accept(dlg);
                case IDC_SETTINGS_CANCEL:
                    close_secondary_window(dlg, hSettings);
                    return 1;
                default:
                    return 0;
            }
        case WM_CLOSE:
            close_secondary_window(dlg, hSettings);
            return 1;
        case WM_DESTROY:
            if (hSettings == dlg) hSettings = HWND{};
            forget_handles();
            return 0;
        default:
            return 0;
    }
}

HWND open_settings_window() {
    open_secondary_window(hSettings, IDD_SETTINGS, DialogSettings);
    return hSettings;
}

void reset_settings_window() {
    hSettings = HWND{};
    forget_handles();
    gl_belezhnik.reset();
    gl_belezhnik_sz = 0;
}
