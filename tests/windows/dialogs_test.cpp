// The small secondary windows opened from the main window over the demonstration lexicon: the
// inflection-type input, the settings, the character table, the live clipboard window and the
// About box.
#include <functional>

#include "checker_fixture.h"
#include "resources/secondary.h"
#include "shell/files.h"
#include "windows/about_box.h"
#include "windows/char_table_window.h"
#include "windows/input_window.h"
#include "windows/live_window.h"
#include "windows/secondary_windows.h"
#include "windows/settings_window.h"

namespace {

class DialogsTest : public CheckerTest {
protected:
    void SetUp() override {
        CheckerTest::SetUp();
        reset_secondary_windows();
        start();
    }
    void TearDown() override {
        if (IsWindow(hLive)) DestroyWindow(hLive);
        reset_secondary_windows();
        CheckerTest::TearDown();
    }
    static std::vector<std::u16string> boxes_since(std::size_t first) {
        std::vector<std::u16string> t;
        for (std::size_t i = first; i < headless().message_boxes.size(); ++i) t.push_back(headless().message_boxes[i].text);
        return t;
    }
};

TEST_F(DialogsTest, InputWindowFindsTypeNamesExactly) {
    struct Case {
        const char* what;
        std::function<void()> act;  // on the open window with an empty field
        std::u16string message;     // the one message box expected ("" none)
        bool found;
    };
    const auto type = [](std::u16string_view s) { return [s] { headless_type(hInputRe, s); headless_click(hInput, IDC_INPUT_OK); }; };
    const std::vector<Case> cases{
        {"typed exactly", type(u"173da_"), u"", true},
        {"capitals", type(u"173DA_"), u"Не съществува тип \"173DA_\"", false},
        {"trailing blank", type(u"173da_ "), u"Не съществува тип \"173da_ \"", false},
        {"empty", type(u""), u"Полето е празно, въведете тип (напр. 173da_ )", false},
        {"keypad", [] { for (int id : {1222, 1228, 1224, 1215}) headless_click(hInput, id); }, u"", true},
        {"suffix alone", [] { headless_click(hInput, 1215); }, u"Не съществува тип \"da_\"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RE_SetTextW(hAddReShort, u"ключ");
        PL_SendCommand(hMain, IDM_INPUT_TYPE);
        ASSERT_TRUE(IsWindow(hInput));
        EXPECT_EQ(GetDlgItemTextW(hInput, IDC_INPUT_PROMPT), kInputPrompt);
        const std::size_t boxes = headless().message_boxes.size();
        c.act();
        EXPECT_EQ(boxes_since(boxes), c.message.empty() ? std::vector<std::u16string>{}
                                                         : std::vector<std::u16string>{c.message});
        EXPECT_EQ(IsWindow(hInput), !c.found);
        EXPECT_TRUE(gl_input.empty());  // released on every path
        EXPECT_EQ(RE_GetTextW(hAddReShort).find(u" 173da_") != std::u16string::npos, c.found);
        if (!c.found) headless_click(hInput, IDC_INPUT_CANCEL);
        EXPECT_FALSE(IsWindow(hInput));
    }
    // A digit goes in at the caret; a second opening keeps the field's text.
    PL_SendCommand(hMain, IDM_INPUT_TYPE);
    headless_type(hInputRe, u"13");
    headless_select(hInputRe, 1, 1);
    headless_click(hInput, 1228);
    PL_SendCommand(hMain, IDM_INPUT_TYPE);
    EXPECT_EQ(RE_GetTextW(hInputRe), u"173");
}

TEST_F(DialogsTest, SettingsRoundTripChangesTheMirrorsOnly) {
    const std::string common = "RESPOND_TOKEN 100\r\n", own = "RANK_FILTER 5\r\n";
    data.write_raw("settings_common.txt", common);
    data.write_raw("settings.txt", own);
    OP[OPT_RESPOND_TOKEN].num_value = 100;
    gl_SPELL_UPPERCASE = 0;
    gl_TRANSLATE_CLIPBOARD = gl_TRANSLATE_IN_TRAY_BALLOON = 1;
    gl_MAX_DEFINITION_LENGTH = 800;
    gl_RANK_FILTER = 5;
    ASSERT_TRUE(open_checker_window());
    gl_SPELLING_MODE = 1;
    PL_SendCommand(hMain, IDM_SETTINGS);
    ASSERT_TRUE(IsWindow(hSettings));
    EXPECT_EQ(GetWindowTextW(hSettings), u" Settings");
    EXPECT_EQ(GetWindowTextW(hSettingsTranslateClipboard), u"Автоматичен превод на клипборда");
    EXPECT_EQ(GetDlgItemTextW(hSettings, IDC_SETTINGS_LABEL_RANK), u"Филтрирай ранг по-малък от");
    EXPECT_EQ(GetWindowTextW(hSettingsMaxDefLength), u"800");
    EXPECT_EQ(IsDlgButtonChecked(hSettings, IDC_SETTINGS_TRAY_BALLOON), BST_CHECKED);

    headless_click(hSettings, IDC_SETTINGS_TRANSLATE_CLIPBOARD);  // off: the balloon goes off too
    EXPECT_EQ(IsDlgButtonChecked(hSettings, IDC_SETTINGS_TRAY_BALLOON), BST_UNCHECKED);
    headless_click(hSettings, IDC_SETTINGS_SPELL_UPPERCASE);
    SetWindowTextW(hSettingsMaxDefLength, u"120");
    SetWindowTextW(hSettingsRankSettings, u" 3000 ");
    headless_type(hSettingsRe, u"first\rsecond");
    headless_click(hSettings, IDC_SETTINGS_OK);

    EXPECT_FALSE(IsWindow(hSettings));
    EXPECT_EQ(gl_SPELL_UPPERCASE, 1);
    EXPECT_EQ(gl_TRANSLATE_CLIPBOARD, 0);
    EXPECT_EQ(gl_TRANSLATE_IN_TRAY_BALLOON, 0);
    EXPECT_EQ(Button_GetCheck(hBigSpellClip), BST_UNCHECKED);
    EXPECT_EQ(gl_MAX_DEFINITION_LENGTH, 120);
    EXPECT_EQ(gl_RANK_FILTER, 3000);
    EXPECT_EQ(respond_token, 1000);
    ASSERT_TRUE(gl_belezhnik);
    EXPECT_EQ(*gl_belezhnik, u"first\r\nsecond");  // nothing cut by the line break
    EXPECT_EQ(gl_belezhnik_sz, 28u);
    EXPECT_EQ(data.read("settings_common.txt"), common);
    EXPECT_EQ(data.read("settings.txt"), own);

    // Reopened: the notes are back; a shorter text keeps the room, an empty one releases it.
    PL_SendCommand(hMain, IDM_SETTINGS);
    EXPECT_EQ(RE_GetTextW(hSettingsRe), u"first\rsecond");
    RE_SetTextW(hSettingsRe, u"x");
    headless_click(hSettings, IDC_SETTINGS_OK);
    EXPECT_EQ(*gl_belezhnik, u"x");
    EXPECT_EQ(gl_belezhnik_sz, 28u);
    PL_SendCommand(hMain, IDM_SETTINGS);
    RE_SetTextW(hSettingsRe, u"");
    headless_click(hSettings, IDC_SETTINGS_CANCEL);
    EXPECT_EQ(*gl_belezhnik, u"x");  // Cancel changes nothing
    PL_SendCommand(hMain, IDM_SETTINGS);
    RE_SetTextW(hSettingsRe, u"");
    headless_click(hSettings, IDC_SETTINGS_OK);
    EXPECT_FALSE(gl_belezhnik);
    EXPECT_EQ(gl_belezhnik_sz, 0u);
}

TEST_F(DialogsTest, SettingsRefuseBadNumbersAndChangeNothing) {
    const std::u16string many_digits(5000, u'9');
    const std::u16string range = u"Enter a number from -2147483648 to 2147483647 in ";
    struct Case {
        std::u16string text;
        bool out_of_range;  // else: not a number
    };
    const std::vector<Case> bad{{u"", false},           {u"-", false},          {u"12a", false},
                                {u"1,2", false},        {u"+-5", false},        {u"2147483648", true},
                                {u"-2147483649", true}, {u"4294967295", true},  {many_digits, true}};
    for (int id : {IDC_SETTINGS_MAX_DEFINITION_LENGTH, IDC_SETTINGS_RANK_FILTER})
        for (const Case& c : bad) {
            SCOPED_TRACE(utf16_to_utf8(c.text.substr(0, 20)));
            gl_SPELL_UPPERCASE = 0;
            gl_MAX_DEFINITION_LENGTH = 800;
            gl_RANK_FILTER = -1;
            PL_SendCommand(hMain, IDM_SETTINGS);
            headless_click(hSettings, IDC_SETTINGS_SPELL_UPPERCASE);
            SetDlgItemTextW(hSettings, id, c.text);
            const std::size_t boxes = headless().message_boxes.size();
            headless_click(hSettings, IDC_SETTINGS_OK);
            const bool def = id == IDC_SETTINGS_MAX_DEFINITION_LENGTH;
            const std::u16string field = def ? u"\"Definition length\"" : u"\"Rank Filter\"";
            EXPECT_EQ(boxes_since(boxes),
                      std::vector<std::u16string>{(c.out_of_range ? range : u"Enter a number in ") + field});
            EXPECT_TRUE(IsWindow(hSettings));
            EXPECT_EQ(GetDlgItemTextW(hSettings, id), def ? u"800" : u"-1");
            EXPECT_EQ(gl_SPELL_UPPERCASE, 0);
            EXPECT_EQ(gl_MAX_DEFINITION_LENGTH, 800);
            EXPECT_EQ(gl_RANK_FILTER, -1);
            headless_close(hSettings);
            EXPECT_FALSE(IsWindow(hSettings));
        }
}

TEST_F(DialogsTest, SettingsReadBackTheNumbersTheyShow) {
    // A value from the settings file, negative ones too, is shown as it is and OK keeps it; a
    // signed number typed in is taken as the file would take it.
    struct Case {
        std::int32_t rank;           // the value in force
        std::u16string shown;        // what the field shows
        std::u16string typed;        // typed into the field before OK (empty: left as shown)
        std::int32_t after;
    };
    for (const Case& c : std::vector<Case>{{-1, u"-1", u"", -1},
                                           {-2147483647 - 1, u"-2147483648", u"", -2147483647 - 1},
                                           {2147483647, u"2147483647", u"", 2147483647},
                                           {0, u"0", u" -7 ", -7},
                                           {0, u"0", u"+12", 12},
                                           {0, u"0", u"7 8", 7},  // a remark after a blank, as in the file
                                           {0, u"0", u"5\t", 5}}) {
        SCOPED_TRACE(utf16_to_utf8(c.shown));
        gl_RANK_FILTER = c.rank;
        gl_MAX_DEFINITION_LENGTH = c.rank;
        PL_SendCommand(hMain, IDM_SETTINGS);
        EXPECT_EQ(GetDlgItemTextW(hSettings, IDC_SETTINGS_RANK_FILTER), c.shown);
        EXPECT_EQ(GetDlgItemTextW(hSettings, IDC_SETTINGS_MAX_DEFINITION_LENGTH), c.shown);
        if (!c.typed.empty()) SetDlgItemTextW(hSettings, IDC_SETTINGS_RANK_FILTER, c.typed);
        const std::size_t boxes = headless().message_boxes.size();
        headless_click(hSettings, IDC_SETTINGS_OK);
        EXPECT_EQ(headless().message_boxes.size(), boxes);
        EXPECT_FALSE(IsWindow(hSettings));
        EXPECT_EQ(gl_RANK_FILTER, c.after);
        EXPECT_EQ(gl_MAX_DEFINITION_LENGTH, c.rank);
    }
}

TEST_F(DialogsTest, CharacterTableRowsUtf8TableAndCodeList) {
    PL_SendCommand(hMain, IDM_ASCII);
    ASSERT_TRUE(IsWindow(hAscii));
    EXPECT_EQ(GetWindowTextW(hAscii), u"ASCII table");
    ASSERT_EQ(ListBox_GetCount(hAsciiList), 256);
    const std::vector<std::pair<int, std::u16string>> rows{
        {0, u"(0)  0  Null character"}, {9, u"(9)  9  Horizontal Tab (\\t)"}, {32, u"(20)  32    "},
        {65, u"(41)  65  A "},            {127, u"(7F)  127  Delete"},           {160, u"(A0)  160  \u00A0 "},
        {200, u"(C8)  200  И "},          {255, u"(FF)  255  я "}};
    for (const auto& [row, text] : rows) EXPECT_EQ(ListBox_GetText(hAsciiList, row), text) << row;

    const std::u16string table = RE_GetTextW(hAsciiReUtf8);
    EXPECT_EQ(std::count(table.begin(), table.end(), u'\r'), UTF8_TABLE_LINES);
    EXPECT_TRUE(table.starts_with(u"C2 80   \u0080\r"));
    EXPECT_TRUE(table.ends_with(u"DF BF   \u07FF\r"));
    EXPECT_NE(table.find(u"D0 AF   \u042F\r"), std::u16string::npos);  // Я
    EXPECT_EQ(GetDlgItemTextW(hAscii, IDC_ASCII_COUNT), u"count: 1920");
    EXPECT_TRUE(RE_GetCharFormatAt(hAsciiReUtf8, 100).dwEffects & CFE_PROTECTED);

    const std::size_t boxes = headless().message_boxes.size();
    headless_list_select(hAsciiList, {65, 0, 32});
    headless_click(hAscii, IDC_ASCII_ADD);
    ASSERT_EQ(headless().message_boxes.size(), boxes + 2);
    EXPECT_EQ(headless().message_boxes[boxes].text, u"Zero is not allowed!");
    EXPECT_EQ(headless().message_boxes[boxes + 1].caption, u"WARNING!");
    EXPECT_EQ(GetWindowTextW(hAsciiEdit), u"32 65 ");
    headless_list_select(hAsciiList, {0}, true);  // a double click adds without a word
    EXPECT_EQ(GetWindowTextW(hAsciiEdit), u"32 65 0 ");
    EXPECT_EQ(headless().message_boxes.size(), boxes + 2);
    headless_click(hAscii, IDC_ASCII_CLEAR);
    EXPECT_EQ(GetWindowTextW(hAsciiEdit), u"");
    headless_click(hAscii, IDC_ASCII_OK);
    EXPECT_FALSE(IsWindow(hAscii));
}

TEST_F(DialogsTest, LiveWindowPlacesItselfAndDrivesTheMainWindow) {
    headless().work_area = RECT{0, 0, 1280, 800};
    ShowWindow(hMain, SW_SHOW);
    OP[OPT_START_LIVE_CLIPBOARD].num_value = 1;
    // The font the checker's panels set before the live window opens at start stays the shared
    // one; the live panel has its 8-point font.
    hFont = CreateFontIndirectW(LOGFONTW{u"DejaVu Serif", 14});
    const HFONT shared = hFont;
    start_live_window();
    ASSERT_TRUE(IsWindowVisible(hLive));
    EXPECT_EQ(hFont, shared);
    const std::optional<LOGFONTW> live_font = PL_GetFontInfo(GetWindowFont(hLiveRe));
    ASSERT_TRUE(live_font);
    EXPECT_EQ(live_font->face, u"Microsoft Sans Serif");
    EXPECT_EQ(live_font->points, 8);
    EXPECT_EQ(GetWindowTextW(hLive), u" Live clipboard");
    EXPECT_EQ(GetWindowRect(hLive).right, 1260);
    EXPECT_EQ(GetWindowRect(hLive).top, 30);
    EXPECT_EQ(GetDlgItemTextW(hLive, IDC_LIVE_SHOW_MAIN), u"Hide Main");
    EXPECT_EQ(GetDlgItemTextW(hMain, IDC_ADD_SHOW_LIVE), u"Hide Live");

    headless_click(hLive, IDC_LIVE_SHOW_MAIN);
    EXPECT_FALSE(IsWindowVisible(hMain));
    EXPECT_EQ(GetDlgItemTextW(hLive, IDC_LIVE_SHOW_MAIN), u"Show Main");
    headless_click(hLive, IDC_LIVE_SHOW_MAIN);
    EXPECT_TRUE(IsWindowVisible(hMain));
    EXPECT_EQ(GetDlgItemTextW(hLive, IDC_LIVE_SHOW_MAIN), u"Hide Main");

    headless_click(hMain, IDC_ADD_SHOW_LIVE);  // shown -> hidden -> shown
    EXPECT_FALSE(IsWindowVisible(hLive));
    EXPECT_EQ(GetDlgItemTextW(hMain, IDC_ADD_SHOW_LIVE), u"Show Live");
    PL_SendCommand(hMain, IDM_SHOW_LIVE);
    EXPECT_TRUE(IsWindowVisible(hLive));

    RE_SetTextW(hLiveRe, u"dog - куче");
    headless_close(hLive);
    EXPECT_FALSE(IsWindow(hLive));
    EXPECT_FALSE(hLiveRe);
    EXPECT_EQ(GetDlgItemTextW(hMain, IDC_ADD_SHOW_LIVE), u"Show Live");
    headless_click(hMain, IDC_ADD_SHOW_LIVE);  // made anew, empty
    ASSERT_TRUE(IsWindowVisible(hLive));
    EXPECT_EQ(RE_GetTextW(hLiveRe), u"");

    headless_click(hLive, IDC_LIVE_EXIT);  // as the main window's close box
    EXPECT_FALSE(IsWindowVisible(hMain));
}

// The live clipboard window gets one entry per look-up, though the look-up writes it to the pane
// first and then in the entry display; the next look-up of the word adds it again.
TEST_F(DialogsTest, LiveWindowGetsEachLookUpOnce) {
    ShowWindow(hMain, SW_SHOW);
    OP[OPT_START_LIVE_CLIPBOARD].num_value = 1;
    start_live_window();
    const std::u16string entry = u"water n 1. вода";
    const auto entries = [&] {
        const std::u16string t = RE_GetTextW(hLiveRe);
        std::size_t n = 0;
        for (std::size_t at = t.find(entry); at != std::u16string::npos; at = t.find(entry, at + 1)) ++n;
        return n;
    };
    for (const bool cut : {false, true}) {  // the entry box's "cut into tokens" box off and on
        SCOPED_TRACE(cut);
        Button_SetCheck(hAddSentence, cut ? BST_CHECKED : BST_UNCHECKED);
        RE_SetTextW(hAddReShort, u"");
        RE_SetTextW(hLiveRe, u"");
        headless_type(hAddReShort, u"water");
        EXPECT_EQ(entries(), 1u);
        headless_select(hAddReShort, 0, 5);
        headless_type(hAddReShort, u"water");
        EXPECT_EQ(entries(), 2u);
    }
}

TEST_F(DialogsTest, AboutBoxShowsTheStartCount) {
    run_counter = 3;
    authorship = "JUX for the tests";
    std::u16string text, runs;
    headless().on_modal = [&](HWND box) {
        text = GetDlgItemTextW(box, IDC_ABOUT_TEXT);
        runs = GetDlgItemTextW(box, IDC_ABOUT_RUNS);
        headless_click(box, IDC_ABOUT_OK);
    };
    PL_SendCommand(hMain, IDA_ABOUT);
    EXPECT_EQ(runs, u"run 3 times");
    EXPECT_EQ(text, u"JUX for the tests");
}

}  // namespace
