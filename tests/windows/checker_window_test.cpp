// The text-checker window as it opens: every control of its template with its handle, caption and
// tool tip, the menu bar with the items the audio indexes allow, the layout numbers, the state
// its initialisation sets, activation, and the two ways it is opened.
#include <algorithm>
#include <set>

#include "checker_fixture.h"
#include "platform/richedit.h"

namespace {

using CheckerWindow = CheckerTest;

TEST_F(CheckerWindow, EveryControlOfTheTemplateHasItsHandleCaptionAndToolTip) {
    open();
    ASSERT_TRUE(IsWindow(hBig));
    EXPECT_EQ(checker_controls().size(), 84u);
    std::set<int> ids;
    for (const CheckerControl& c : checker_controls()) {
        SCOPED_TRACE(c.id);
        EXPECT_TRUE(ids.insert(c.id).second) << "identifier twice";
        ASSERT_TRUE(IsWindow(GetDlgItem(hBig, c.id)));
    }
    // A sample across the panels, check boxes, command, filing and web buttons: the kind and the
    // caption each shows once the window is open (the five programmable buttons take the empty
    // LINKL options).
    const struct {
        int id;
        ControlKind kind;
        std::u16string_view caption;
    } controls[] = {
        {1171, ControlKind::RichEdit, u""},          {1170, ControlKind::RichEdit, u""},
        {1173, ControlKind::RichEdit, u""},          {1208, ControlKind::CheckBox, u"On"},
        {1243, ControlKind::CheckBox, u"Word Wrap"}, {1015, ControlKind::CheckBox, u"Главни букви"},
        {1267, ControlKind::CheckBox, u"Английски думи"}, {1268, ControlKind::CheckBox, u"Редки думи"},
        {1265, ControlKind::CheckBox, u"Оцветявай"}, {1246, ControlKind::CheckBox, u"В реално време"},
        {1247, ControlKind::CheckBox, u"Клипборд"},  {1172, ControlKind::PushButton, u"clr"},
        {1263, ControlKind::PushButton, u"Refresh"}, {1241, ControlKind::PushButton, u"Find+replace"},
        {1319, ControlKind::PushButton, u"Paste"},   {1272, ControlKind::PushButton, u"инфо"},
        {1211, ControlKind::PushButton, u"N"},       {1320, ControlKind::PushButton, u"R"},
        {1181, ControlKind::PushButton, u"<>"},      {1293, ControlKind::PushButton, u"1+"},
        {1285, ControlKind::PushButton, u"lo"},      {1278, ControlKind::PushButton, u"plac"},
        {1302, ControlKind::PushButton, u"пос"},     {1318, ControlKind::PushButton, u"къ"},
        {1309, ControlKind::PushButton, u"се"},      {1296, ControlKind::PushButton, u"a-s"},
        {1315, ControlKind::PushButton, u"1-m"},     {1294, ControlKind::PushButton, u"изр"},
        {1317, ControlKind::PushButton, u","},       {1321, ControlKind::PushButton, u"h3"},
        {1248, ControlKind::PushButton, u"добави"},  {1250, ControlKind::PushButton, u"трий"},
        {1221, ControlKind::PushButton, u"ol"},      {1214, ControlKind::PushButton, u"Gtr"},
        {1219, ControlKind::PushButton, u"wk"},      {1287, ControlKind::PushButton, u"img"},
        {1311, ControlKind::PushButton, u""},        {1316, ControlKind::PushButton, u""},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        HWND w = GetDlgItem(hBig, c.id);
        ASSERT_TRUE(IsWindow(w));
        EXPECT_EQ(PL_GetControlKind(w), c.kind);
        EXPECT_EQ(GetWindowTextW(w), c.caption);
    }
    // The handles the window keeps are its controls; no control was reported missing.
    for (auto [h, id] : std::vector<std::pair<HWND, int>>{{hBigReRight, 1171}, {hBigReLeft, 1170}, {hBigReBot, 1173},
                                                          {hBigLabel, 1179}, {hBigLabelUp, 1276}, {hBigColors, 1270},
                                                          {hBigActive, 1208}, {hBigSpellClip, 1247}, {hBigRefresh, 1263},
                                                          {hBigAudioRead, 1320}, {hBigShrink, 1181}, {hBig11lower, 1285},
                                                          {hBigSentCust, 1294}, {hBigTrii, 1250}, {hBigC7, 1315}})
        EXPECT_EQ(h, GetDlgItem(hBig, id)) << id;
    EXPECT_TRUE(hs->message_boxes.empty());
    EXPECT_EQ(GetWindowTextW(hBigLabelUp), u"");
    EXPECT_EQ(checker_tooltips().size(), 29u);
    // A sample of the tool tips, from the first to the last.
    const struct {
        int id;
        std::u16string_view text;
    } tips[] = {
        {1249, u"Покажи българските думи, добавени от потребителя"},
        {1248, u"Добави текущата непозната дума в списъка с български думи (добавят се във файла "
               u"b_bulgarian_custom.txt)"},
        {1250, u"Изпразни списъка с българските думи, добавени от потребителя"},
        {1246, u"Оцветявай грешните думи в момента на писане. Ако е изключено, натискай Refresh, за да оцветиш "
               u"грешките"},
        {1267, u"Правописна проверка на думите на латиница (английските думи и пр.)"},
        {1320, u"Чети целия текст дума по дума"},
        {1270, u"цвят1 - редки, цвят2 - още по-редки, ... цвят8 - свръхредки"},
        {1247, u"Автоматична правописна проверка на текст, копиран в клипборда"},
        {1321, u"Добави текущата дума в списъка с трудни английски произношения (добавят се във файла hard3.txt)"},
        {1172, u"Изтрий текста в двата панела"},
        {1263, u"Ако промениш опция, натисни Refresh, за да провериш текста отново"},
        {1209, u"Търси активната непозната дума в Google - само в български сайтове"},
        {1214, u"Превод на избрания английски текст в Google"},
        {1286, u"Програмируем бутон 3 - отваря сайт по желание"},
        {1316, u"Програмируем бутон 5 - отваря сайт по желание"},
        {1299, u"gross_domestic_product брутен вътрешен продукт (бг превод: първата е прил., последната е същ.; "
               u"англ. произволен брой думи)"},
        {1305, u"half-filled наполовина пълен (1 англ. дума-прилагателно, 2 или повече бг думи превод)"},
    };
    for (const auto& t : tips) EXPECT_EQ(PL_GetToolTipText(GetDlgItem(hBig, t.id)), t.text) << t.id;
}

TEST_F(CheckerWindow, ProgrammableButtonsTakeTheirCaptionsFromTheLinkOptions) {
    OP[OPT_LINKL1].text_value = utf8_to_cp1251("Речник");
    OP[OPT_LINKL5].text_value = "Wiki";
    open();
    EXPECT_EQ(GetDlgItemTextW(hBig, 1311), u"Речник");
    EXPECT_EQ(GetDlgItemTextW(hBig, 1316), u"Wiki");
    EXPECT_EQ(GetDlgItemTextW(hBig, 1313), u"");
}

// Menu texts of a menu, submenus by their titles, separators as "-".
std::vector<std::u16string> texts(HMENU m) {
    std::vector<std::u16string> out;
    for (int i = 0; i < GetMenuItemCount(m); ++i) {
        const UINT id = GetMenuItemID(m, i);
        const std::u16string t = PL_GetMenuItemText(m, static_cast<UINT>(i), MF_BYPOSITION);
        out.push_back(id == 0xFFFFFFFFu && t.empty() ? u"-" : t);
    }
    return out;
}

int command_items(HMENU m) {
    int n = 0;
    for (int i = 0; i < GetMenuItemCount(m); ++i)
        if (HMENU sub = GetSubMenu(m, i))
            n += command_items(sub);
        else if (GetMenuItemID(m, i) != 0xFFFFFFFFu)
            ++n;
    return n;
}

TEST_F(CheckerWindow, MenuBarHoldsTheItemsTheAudioIndexesAllow) {
    struct Case {
        int english, bulgarian;
        int items;           // command items of the whole bar
        bool talking, bg_items, audio_menu;
    };
    for (const Case& c : {Case{0, 0, 55, false, false, false}, Case{3, 0, 68, true, false, true},
                          Case{0, 2, 70, true, true, true}, Case{5, 5, 70, true, true, true}}) {
        SCOPED_TRACE(c.english * 10 + c.bulgarian);
        open(c.english, c.bulgarian);
        EXPECT_EQ(texts(GetMenu(hBig)), (std::vector<std::u16string>{u"Файл", u"Формат", u"Опции", u"Модули", u"Помощ"}));
        EXPECT_EQ(command_items(hMenuMainS), c.items);
        EXPECT_EQ(GetMenuState(hMenuSetS, 9252, MF_BYCOMMAND) != -1, c.talking);
        EXPECT_EQ(GetMenuState(hMenuSetS, 9253, MF_BYCOMMAND) != -1, c.bg_items);
        EXPECT_EQ(GetMenuState(hMenuSetS, 9254, MF_BYCOMMAND) != -1, c.bg_items);
        const std::vector<std::u16string> options = texts(hMenuSetS);
        EXPECT_EQ(options[options.size() - (c.audio_menu ? 2 : 1)], u"Английски списък");
        EXPECT_EQ(options.back() == u"Изговаряне", c.audio_menu);
        // The separator after 9242 stands only before 9252.
        const auto after_9242 = std::find(options.begin(), options.end(), u"Генерирай файл с инфо за дублиращ се текст") + 1;
        EXPECT_EQ(*after_9242 == u"-", c.talking);
        EXPECT_EQ(IsWindowVisible(hBigAudioButton), c.audio_menu);
        EXPECT_EQ(IsWindowVisible(hBigAudioRead), c.audio_menu);
        DestroyWindow(hBig);
        DestroyWindow(hMain);
    }
}

TEST_F(CheckerWindow, MenuTextsAndCheckMarksFollowTheFlags) {
    gl_FIND_COMMA = 0;
    gl_ENGLIST_HARD = 1;
    gl_AUDIO_NOLATIN = 1;
    start(1, 1);
    ShowWindow(hMain, SW_SHOW);
    ASSERT_TRUE(open_checker_window());
    EXPECT_EQ(texts(hMenuFileS), (std::vector<std::u16string>{u"Отвори\tCtrl+O", u"Запиши\tCtrl+S", u"Запиши като UTF-8 файл"}));
    EXPECT_EQ(texts(hMenuFormatS), (std::vector<std::u16string>{u"Шрифт"}));
    EXPECT_EQ(texts(hMenuToolsS), (std::vector<std::u16string>{u"Машинен превод от английски", u"Човешки превод от английски",
                                                              u"Английско-български речник", u"Tamsa"}));
    EXPECT_EQ(texts(hMenuHelpS).size(), 7u);
    EXPECT_EQ(texts(hMenuSetS)[3], u"Търси \"по \" (сравнителна степен без тире)");
    EXPECT_EQ(GetMenuState(hMenuSetS, 9234, MF_BYCOMMAND) & MF_CHECKED, 0);
    EXPECT_NE(GetMenuState(hMenuSetS, 9247, MF_BYCOMMAND) & MF_CHECKED, 0);  // CHECK_PUNCTUATION 1 by default
    EXPECT_NE(GetMenuState(hMenuPopupSetEngS, 9270, MF_BYCOMMAND) & MF_CHECKED, 0);
    EXPECT_NE(GetMenuState(hMenuPopupSetAudioS, 9282, MF_BYCOMMAND) & MF_CHECKED, 0);
    EXPECT_NE(GetMenuState(hMenuToolsS, 9246, MF_BYCOMMAND) & MF_CHECKED, 0);  // the main window shows
    EXPECT_EQ(texts(hMenuPopupSetEngS)[6], u"-");
    EXPECT_EQ(texts(hMenuPopupSetEngS).size(), 17u);
    EXPECT_EQ(texts(hMenuPopupSetAudioS).size(), 12u);
}

TEST_F(CheckerWindow, LayoutNumbers) {
    open();
    struct Case {
        int w, h;
        std::int8_t machine, human, down;
        RECT left, right, bottom;
    };
    // T = 66, B = 24.
    for (const Case& c : {
             Case{1000, 700, 0, 0, 0, {24, 66, 394, 676}, {397, 66, 997, 66 + 567}, {397, 636, 997, 676}},
             Case{770, 500, 0, 0, 0, {24, 66, 394, 476}, {397, 66, 767, 66 + 381}, {397, 450, 767, 476}},
             Case{769, 500, 0, 0, 0, {24, 66, 393, 476}, {396, 66, 766, 66 + 381}, {396, 450, 766, 476}},
             Case{1000, 700, 0, 0, 1, {24, 66, 394, 676}, {397, 66, 997, 66 + 488}, {397, 557, 997, 676}},
             Case{1000, 700, 1, 0, 1, {24, 66, 394, 676}, {397, 66, 997, 66 + 366}, {397, 435, 997, 676}},
             Case{1000, 700, 0, 1, 0, {24, 66, 394, 676}, {397, 66, 997, 66 + 366}, {397, 435, 997, 676}},
             // Lower than the two margins: panels of zero height, none negative.
             Case{600, 50, 0, 0, 0, {24, 66, 309, 66}, {312, 66, 597, 66}, {312, 69, 597, 69}},
         }) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        gl_MACHINE_TRANSLATION = c.machine;
        gl_ENGLISH_TRANSLATION = c.human;
        gl_PRINT_DOWN = c.down;
        resize_client(c.w, c.h);
        size_big(hBig);
        EXPECT_EQ(client_rect(hBigReLeft), c.left);
        EXPECT_EQ(client_rect(hBigReRight), c.right);
        EXPECT_EQ(client_rect(hBigReBot), c.bottom);
        EXPECT_EQ(client_rect(hBigLabel).left, 24);
        EXPECT_EQ(client_rect(hBigLabel).top, c.h - 19);
    }
}

TEST_F(CheckerWindow, HalfLayoutAndSplitterGestures) {
    open();
    gl_PRINT_DOWN = 1;  // plays no part in the half layout
    resize_client(1000, 700);
    size_big_half(hBig);
    EXPECT_EQ(client_rect(hBigReLeft), (RECT{24, 66, 24 + 485, 676}));
    EXPECT_EQ(client_rect(hBigReRight), (RECT{512, 66, 512 + 485, 66 + 567}));
    size_big(hBig);
    struct Gesture {
        UINT message, keys;
        int moved;  // pixels the boundary moves to the left
    };
    constexpr UINT kShift = 0x0004, kControl = 0x0008;
    for (const Gesture& g : {Gesture{WM_LBUTTONUP, 0, 10}, Gesture{WM_RBUTTONUP, 0, -10}, Gesture{WM_LBUTTONUP, kShift, 2},
                             Gesture{WM_RBUTTONUP, kShift, -2}, Gesture{WM_LBUTTONUP, kShift | kControl, 10}}) {
        const RECT left = client_rect(hBigReLeft), right = client_rect(hBigReRight), bottom = client_rect(hBigReBot);
        Msg m = Msg::simple(g.message);
        m.keys = g.keys;
        SendMessageW(hBig, m);
        EXPECT_EQ(client_rect(hBigReLeft), (RECT{left.left, left.top, left.right - g.moved, left.bottom}));
        EXPECT_EQ(client_rect(hBigReRight), (RECT{right.left - g.moved, right.top, right.right, right.bottom}));
        EXPECT_EQ(client_rect(hBigReBot), (RECT{bottom.left - g.moved, bottom.top, bottom.right, bottom.bottom}));
    }
}

TEST_F(CheckerWindow, InitialisationSetsPanelsBoxesAndFonts) {
    gl_COLOR_RARE = 1;
    gl_REAL_TIME = 0;
    gl_TRANSLATE_CLIPBOARD = 1;
    gl_FONT_SIZE = 12;
    start();
    register_checker_template();
    HWND w = CreateDialogParamW(IDD_BIG, HWND{}, DialogBig);  // not yet opened: "On" unticked
    ASSERT_TRUE(IsWindow(w));
    EXPECT_EQ(IsDlgButtonChecked(w, IDC_BIG_ACTIVE), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(w, IDC_BIG_WRAP), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(w, IDC_BIG_COLOR_RARE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(w, IDC_BIG_REALTIME), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(w, IDC_BIG_SPELLCLIP), BST_CHECKED);
    EXPECT_EQ(RE_GetEventMask(hBigReLeft), 0u);
    EXPECT_EQ(RE_GetEventMask(hBigReRight), 0x041A0011u);
    EXPECT_EQ(RE_GetEventMask(hBigReBot), 0x041A0011u);
    for (HWND re : {hBigReLeft, hBigReRight, hBigReBot}) EXPECT_EQ(RE_GetLimitText(re), 0x7FFFFF);
    EXPECT_TRUE(RE_GetWordWrap(hBigReRight));
    EXPECT_TRUE(RE_GetWordWrap(hBigReBot));
    EXPECT_EQ(RE_GetBackgroundColor(hBigReLeft), 0xE4E4E4u);
    EXPECT_EQ(RE_GetBackgroundColor(hBigReRight), 0xF0F0F0u);
    EXPECT_EQ(PL_GetFontInfo(GetWindowFont(hBigReRight))->points, 12);
    EXPECT_EQ(PL_GetFontInfo(GetWindowFont(hBigReRight))->weight, 500);
    EXPECT_EQ(PL_GetFontInfo(GetWindowFont(hBigRealTime))->points, 8);
    EXPECT_EQ(gl_bigtop, 66);
    // Outside the translation modes the translation controls are hidden, the others shown.
    for (int id : machine_control_ids()) EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, id))) << id;
    ShowWindow(w, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(hBigColors));
    EXPECT_TRUE(IsWindowVisible(hBigRefresh));
    EXPECT_TRUE(hs->message_boxes.empty());
}

TEST_F(CheckerWindow, TranslationModeClearsColouringAndPunctuationAndShowsItsControls) {
    gl_MACHINE_TRANSLATION = 1;
    open();
    EXPECT_EQ(gl_TEXT_COLORING, 0);
    EXPECT_EQ(gl_CHECK_PUNCTUATION, 0);
    EXPECT_EQ(IsDlgButtonChecked(hBig, IDC_BIG_COLORING), BST_UNCHECKED);
    EXPECT_EQ(GetMenuState(hMenuSetS, 9247, MF_BYCOMMAND) & MF_CHECKED, 0);
    for (int id : machine_control_ids()) EXPECT_TRUE(IsWindowVisible(GetDlgItem(hBig, id))) << id;
}

TEST_F(CheckerWindow, AFontThatCannotBeMadeIsReportedAndTheWindowOpens) {
    gl_FONT_SIZE = 0;
    open();
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(hs->message_boxes[0].text, u"Bad Font");
    EXPECT_EQ(hs->message_boxes[0].caption, u"Oops!");
    EXPECT_TRUE(IsWindowVisible(hBig));
}

TEST_F(CheckerWindow, OpeningTitlesShowsAndSwitchesItOn) {
    JUXtitleCurrentBig = JUXtitleS;
    open();
    EXPECT_EQ(GetWindowTextW(hBig), u"JUX Spell Checker 1.0");
    EXPECT_TRUE(IsWindowVisible(hBig));
    EXPECT_EQ(IsDlgButtonChecked(hBig, IDC_BIG_ACTIVE), BST_CHECKED);
    EXPECT_EQ(gl_BIG_ACTIVE, 1);
    EXPECT_EQ(RE_GetEventMask(hBigReLeft), 0x000A0001u | ENM_MOUSEEVENTS);

    // Activation: the status line says "1" and the spelling mode is on.
    gl_SPELLING_MODE = 0;
    headless_activate(hBig);
    EXPECT_EQ(GetWindowTextW(hBigLabel), u"1");
    EXPECT_EQ(gl_SPELLING_MODE, 1);
    headless_activate(hMain);
    EXPECT_EQ(gl_SPELLING_MODE, 0);
}

TEST_F(CheckerWindow, MainWindowButtonOpensItAtItsPlaceAndLeavesAnOpenOneWhereItIs) {
    start();
    headless_click(hMain, IDC_ADD_BIG_SPELL);
    ASSERT_TRUE(IsWindow(hBig));
    EXPECT_EQ(GetWindowRect(hBig).left, 40);
    EXPECT_EQ(GetWindowRect(hBig).top, 20);
    EXPECT_EQ(gl_BIG_ACTIVE, 1);
    const HWND first = hBig;
    MoveWindow(hBig, 300, 200, 900, 600);
    headless_click(hBig, IDC_BIG_ACTIVE);  // the user switches it off
    EXPECT_EQ(gl_BIG_ACTIVE, 0);
    headless_click(hMain, IDC_ADD_BIG_SPELL);
    EXPECT_EQ(hBig, first);
    EXPECT_EQ(GetWindowRect(hBig).left, 300);
    EXPECT_EQ(gl_BIG_ACTIVE, 1);
    EXPECT_EQ(RE_GetEventMask(hBigReLeft) & ENM_MOUSEEVENTS, ENM_MOUSEEVENTS);
}

// Clicks on the window's surface move the boundary only as far as the panel that gives way is
// wide: the panels keep their 3-pixel gap and stay inside the client area.
TEST_F(CheckerWindow, SplitterClicksStopAtTheEdges) {
    open();
    resize_client(1000, 700);
    size_big(hBig);
    struct Clicks {
        UINT message, keys;
        int count;
        int left_width;  // the left panel's width after them
    };
    constexpr UINT kShift = 0x0004;
    for (const Clicks& c : {Clicks{WM_LBUTTONUP, 0, 40, 0}, Clicks{WM_RBUTTONUP, 0, 40, 400},
                            Clicks{WM_RBUTTONUP, 0, 60, 970}, Clicks{WM_LBUTTONUP, kShift, 1, 968},
                            Clicks{WM_RBUTTONUP, kShift, 3, 970}}) {
        for (int i = 0; i < c.count; ++i) {
            Msg m = Msg::simple(c.message);
            m.keys = c.keys;
            SendMessageW(hBig, m);
            const RECT left = client_rect(hBigReLeft), right = client_rect(hBigReRight), bottom = client_rect(hBigReBot);
            ASSERT_EQ(left.left, 24);
            ASSERT_GE(left.width(), 0);
            ASSERT_EQ(right.left, left.right + 3) << i;
            ASSERT_EQ(bottom.left, right.left);
            ASSERT_EQ(right.right, 997);
            ASSERT_EQ(bottom.right, 997);
        }
        EXPECT_EQ(client_rect(hBigReLeft).width(), c.left_width) << c.message << " x " << c.count;
    }
}

}  // namespace
