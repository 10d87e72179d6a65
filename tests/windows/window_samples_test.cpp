// The menus of the machine-translation and Bulgarian-text windows, the keypad of the input window
// and the rows of the character table against the samples of tests/windows/cases/
// window_samples.txt: each item's place, command and label as the window shows them, the flag a
// check item switches when it is chosen, what a key inserts and whether it then submits the field,
// the settings window's controls, the tokens and colours of the report's correction click, and the names and word tables of the lemma-grouping reports.
#include "checker_fixture.h"
#include "resources/resources.h"
#include "resources/secondary.h"
#include "shell/files.h"
#include "support/table_samples.h"
#include "windows/bgtext_window.h"
#include "windows/char_table_window.h"
#include "windows/correction_click.h"
#include "windows/input_window.h"
#include "windows/lemma_report.h"
#include "windows/machine_window.h"
#include "windows/settings_window.h"

namespace {

using jux_test::row_of;

// The flags the sampled check items may switch, by the names the samples give them.
const std::map<std::string, std::int8_t*> kFlags{
    {"gl_MACH_FAST", &gl_MACH_FAST},
    {"gl_MACH_BG_TO_ENG_ALL_VERBS", &gl_MACH_BG_TO_ENG_ALL_VERBS},
    {"gl_MACH_BG_TO_ENG_DISABLE", &gl_MACH_BG_TO_ENG_DISABLE},
    {"gl_STRIP_TIMECODE", &gl_STRIP_TIMECODE},
    {"gl_GENERATE_HTML", &gl_GENERATE_HTML},
    {"gl_SEARCH_IN_C", &gl_SEARCH_IN_C},
    {"gl_CORPUS_UNDERLINE", &gl_CORPUS_UNDERLINE},
    {"gl_CORPUS_COLOR", &gl_CORPUS_COLOR},
    {"gl_CORPUS_MAXTWO", &gl_CORPUS_MAXTWO},
    {"gl_CORPUS_STRICT_NOUN", &gl_CORPUS_STRICT_NOUN},
    {"gl_CORPUS_LIMITED", &gl_CORPUS_LIMITED},
    {"gl_CORPUS_DEBUG_FILES", &gl_CORPUS_DEBUG_FILES},
    {"gl_SPELL_UPPERCASE", &gl_SPELL_UPPERCASE},
    {"gl_TEXT_COLORING", &gl_TEXT_COLORING},
    {"gl_TRANSLATE_CLIPBOARD", &gl_TRANSLATE_CLIPBOARD},
    {"gl_TRANSLATE_IN_TRAY_BALLOON", &gl_TRANSLATE_IN_TRAY_BALLOON},
    {"gl_PRINT_RANK_IN_ONELINE", &gl_PRINT_RANK_IN_ONELINE},
    {"gl_PRINT_FILTERED", &gl_PRINT_FILTERED},
};

// Every item of the window's menu bar, rendered as the samples write it.
void add_menu(jux_test::RenderedTables& t, const std::string& window, HWND w) {
    const HMENU bar = GetMenu(w);
    ASSERT_TRUE(bar);
    for (int p = 0; p < GetMenuItemCount(bar); ++p) {
        const HMENU popup = GetSubMenu(bar, p);
        const std::string title = utf16_to_utf8(PL_GetMenuItemText(bar, static_cast<UINT>(p), MF_BYPOSITION));
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            const UINT id = GetMenuItemID(popup, i);
            const bool separator = (GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0;
            t["menu"].insert(row_of(window, title, std::to_string(i + 1), separator ? "-" : std::to_string(id),
                                    utf16_to_utf8(PL_GetMenuItemText(popup, static_cast<UINT>(i), MF_BYPOSITION))));
        }
    }
}

// The names of the flags that choosing the command switched (the command is then chosen again, so
// that each sample starts from the same flags).
std::string flags_switched_by(HWND w, UINT id) {
    std::map<std::string, std::int8_t> before;
    for (const auto& [name, flag] : kFlags) before[name] = *flag;
    headless_menu(w, id);
    std::string names;
    for (const auto& [name, flag] : kFlags)
        if (*flag != before[name]) names += (names.empty() ? "" : " ") + name;
    headless_menu(w, id);
    return names;
}

using WindowSamples = CheckerTest;

TEST_F(WindowSamples, MenusFlagsCharacterRowsAndReportNamesAreTheSampledOnes) {
    open();
    ASSERT_TRUE(open_machine_window());
    ASSERT_TRUE(open_bgtext_window());
    const std::map<std::string, HWND> windows{{"machine", hMachine}, {"bgtext", hBgText}};
    jux_test::RenderedTables t;
    for (const auto& [name, w] : windows) add_menu(t, name, w);
    for (int code = 0; code < 256; ++code)
        t["char_table_rows"].insert(row_of(std::to_string(code), jux_test::u8(ascii_row_text(code))));
    for (const std::string& name : lemma_report_names()) t["lemma_reports"].insert(name);
    for (std::u16string_view token : kSearchedAsWritten) t["searched_as_written"].insert(utf16_to_utf8(token));
    for (COLORREF c : kNotAnEntryColours) t["not_an_entry_colours"].insert(jux_format("0x%06X", c));
    ASSERT_TRUE(open_settings_window());
    for (int id = IDC_SETTINGS_OK; id <= IDC_SETTINGS_TEXT_COLORING; ++id)
        if (const HWND control = GetDlgItem(hSettings, id); control && id != IDC_SETTINGS_RE)
            t["settings_controls"].insert(row_of(std::to_string(id), utf16_to_utf8(GetWindowTextW(control))));
    // The flag each check box sets when OK is clicked after it.
    for (int id = IDC_SETTINGS_CANCEL + 1; id <= IDC_SETTINGS_TEXT_COLORING; ++id) {
        std::map<std::string, std::int8_t> before;
        for (const auto& [name, flag] : kFlags) before[name] = *flag;
        ASSERT_TRUE(open_settings_window());
        headless_click(hSettings, id);
        headless_click(hSettings, IDC_SETTINGS_OK);
        for (const auto& [name, flag] : kFlags)
            if (*flag != before[name]) t["settings_flags"].insert(row_of(std::to_string(id), name));
    }
    int i = 0;
    for (std::string_view w : lemma_first_letter_exceptions)
        t["lemma_first_letter_exceptions"].insert(row_of(std::to_string(++i), w));
    for (std::string_view w : lemma_always_clean) t["lemma_always_clean"].insert(std::string(w));
    const std::string file = "windows/cases/window_samples.txt";
    jux_test::expect_table_samples(file, t, {"menu_flag", "keypad"});
    int flags = 0;
    for (const jux_test::TableSample& s : jux_test::read_table_samples(file)) {
        if (s.table != "menu_flag") continue;
        const auto a = s.row.find('\t'), b = s.row.rfind('\t');
        const HWND w = windows.at(s.row.substr(0, a));
        const UINT id = static_cast<UINT>(std::stoul(s.row.substr(a + 1, b - a - 1)));
        EXPECT_EQ(flags_switched_by(w, id), s.row.substr(b + 1)) << file << ":" << s.line;
        ++flags;
    }
    EXPECT_GT(flags, 0);
    close_bgtext_window();
    destroy_machine_window();
}

// What the key inserts into the empty field and "OK" when it then submits the field (a type name
// that does not exist is named in a box), "-" when the field keeps it.
std::string key_of_input_window(int id) {
    PL_SendCommand(hMain, IDM_INPUT_TYPE);
    RE_SetTextW(hInputRe, u"");
    const std::size_t boxes = headless().message_boxes.size();
    headless_click(hInput, id);
    std::string row;
    if (headless().message_boxes.size() > boxes) {
        const std::string box = utf16_to_utf8(headless().message_boxes.back().text);
        const auto a = box.find('"'), b = box.rfind('"');
        row = jux_test::row_of(box.substr(a + 1, b - a - 1), "OK");
    } else {
        row = jux_test::row_of(utf16_to_utf8(RE_GetTextW(hInputRe)), "-");
    }
    if (IsWindow(hInput)) headless_click(hInput, IDC_INPUT_CANCEL);
    return row;
}

TEST_F(WindowSamples, KeysOfTheInputWindowInsertTheirTexts) {
    open();
    const std::string file = "windows/cases/window_samples.txt";
    int keys = 0;
    for (const jux_test::TableSample& s : jux_test::read_table_samples(file)) {
        if (s.table != "keypad") continue;
        const auto tab = s.row.find('\t');
        EXPECT_EQ(key_of_input_window(std::stoi(s.row.substr(0, tab))), s.row.substr(tab + 1)) << file << ":" << s.line;
        ++keys;
    }
    EXPECT_GT(keys, 0);
}

}  // namespace
