// Filing from the text-checker window: the six popups built from their table of runs, the filing
// buttons' left and right clicks, and the user's Bulgarian word list.
#include <map>
#include <set>

#include "checker_fixture.h"
#include "lexicon/corpora.h"
#include "lexicon/wordclass.h"
#include "shell/ui_services.h"
#include "windows/filing_buttons.h"
#include "windows/filing_popups.h"

namespace {

class FilingWindowTest : public CheckerTest {
protected:
    void open_for_filing() {
        open();
        build_filing_popups();
        ShowHideMachineControls(SW_SHOW);  // the filing buttons show in the translation modes
    }
    // The English selection in the right panel (no run) and the Bulgarian side: the left panel for
    // word-class lists, the bottom panel for sentences.
    static void select_pair(std::string_view en, std::string_view bg) {
        for (HWND re : {hBigReRight, hBigReLeft, hBigReBot}) quiet_set(re, re == hBigReRight ? en : bg);
    }
    // Whether a filing call put `key` (without its mark) where it says.
    static bool filed(const FilingCall& call, std::string_view key) {
        if (call.kind == FilingKind::WordClass) return c_find(call.row, key) != nullptr;
        const std::size_t r = static_cast<std::size_t>(call.row);
        switch (call.family) {
            case 0: return find_sentence(cs_glob[r], key) != nullptr;
            case 1: return find_sentence(cs_cust_glob[r], key) != nullptr;
            case 2: return find_sentence(cs_globC[r], key) != nullptr;
            default: return find_sentence(cs_globB[r], key) != nullptr;
        }
    }
    // Files a fresh key by `act` and tells whether it landed as `call` says.
    template <class Act>
    bool files_as(const FilingCall& call, const std::string& key, Act act) {
        const bool sentence = call.kind == FilingKind::Corpus;
        select_pair(sentence ? key + "." : key, sentence ? "Изречение." : "превод");
        act();
        return filed(call, cp(key));
    }
};

// The label of a popup item names its list: the word-class list's tag, or the corpus row's two
// digits (11..19, 21..29, 31..34).
TEST_F(FilingWindowTest, EveryPopupItemFilesIntoTheListItsLabelNames) {
    init_c_table();
    std::set<UINT> ids;
    std::map<FilingPopup, int> per_popup;
    for (const FilingRun& run : filing_runs()) {
        for (int k = 0; k < run.count; ++k) {
            const UINT id = run.first_id + static_cast<UINT>(k);
            const int row = run.first_row + k;
            EXPECT_TRUE(ids.insert(id).second) << id;
            ++per_popup[run.popup];
            std::string label = filing_label(run, k);
            for (std::string_view tail : {" c", " bulk", " broi", " red"})
                if (label.ends_with(tail)) label.resize(label.size() - tail.size());
            if (run.family >= 0) {
                const int digits = std::stoi(label.substr(label.size() - 2));
                EXPECT_EQ(row, (digits / 10 - 1) * 9 + digits % 10 - 1) << label;
                const std::string stem = label.substr(0, label.size() - 2);
                const int family = run.tail == " bulk" ? 3 : stem == "cs" ? 0 : stem == "cust" ? 1 : 2;
                EXPECT_EQ(run.family, family) << label;
                continue;
            }
            // The negation lists drop the tier digit from their labels.
            for (std::string_view stem : {"not_real", "not_"})
                if (label.starts_with(stem) && label.size() == stem.size() + 1) label.insert(stem.size(), "1");
            EXPECT_EQ(c_glob[static_cast<std::size_t>(row)].tag, label) << filing_label(run, k) << " id " << id;
        }
    }
    // Every identifier from 8493 to 9167 but 8757, once.
    EXPECT_EQ(ids.size(), 674u);
    EXPECT_EQ(*ids.begin(), 8493u);
    EXPECT_EQ(*ids.rbegin(), 9167u);
    EXPECT_FALSE(ids.contains(8757));
    EXPECT_EQ(per_popup, (std::map<FilingPopup, int>{{FilingPopup::C, 70}, {FilingPopup::Adj, 132},
                                                     {FilingPopup::Verb, 126}, {FilingPopup::Misc, 197},
                                                     {FilingPopup::One, 74}, {FilingPopup::Cs, 75}}));
}

// Each popup's first and last item and an item that starts a column, chosen from the popup that
// a click on its button opens.
TEST_F(FilingWindowTest, PopupsOpenFromTheirButtonsAndFileTheChosenItem) {
    open_for_filing();
    gl_SHOW_MESSAGES = 0;
    const auto W = [](int row, int ffs) { return FilingCall{FilingKind::WordClass, row, static_cast<std::int8_t>(ffs)}; };
    const auto S = [](int row, int family) {
        return FilingCall{FilingKind::Corpus, row, 0, 0, static_cast<std::int8_t>(family)};
    };
    const struct {
        int button;
        bool right;
        UINT item;
        const char* label;
        bool column_break;
        bool separator_before;
        FilingCall call;
    } cases[] = {
        {1297, false, 8494, "c11", false, false, W(0, 0)},
        {1297, false, 8573, "three34", false, false, W(69, 0)},
        {1297, false, 8560, "three11", true, true, W(58, 0)},
        {1296, false, 8575, "adj11", false, false, W(70, 0)},
        {1296, false, 8918, "where24", false, false, W(188, 0)},
        {1296, false, 9016, "attr11", true, false, W(343, 0)},
        {1297, true, 8920, "az11", false, false, W(189, 0)},
        {1297, true, 9092, "si26", false, false, W(314, 0)},
        {1297, true, 8968, "da11", true, false, W(231, 0)},
        {1315, true, 8649, "not11", false, false, W(501, 0)},
        {1315, true, 8843, "error14", false, false, W(528, 0)},
        {1315, true, 8793, "name1", true, false, W(384, 0)},
        {1315, false, 8493, "c11 c", false, false, W(0, 1)},
        {1315, false, 8666, "not_1 c", false, false, W(517, 1)},
        {1315, false, 8919, "az11 c", true, false, W(189, 1)},
        {1296, true, 9093, "cs11", false, false, S(0, 0)},
        {1296, true, 9123, "cs19 bulk", false, false, S(8, 3)},
        {1296, true, 9124, "cust11", true, false, S(0, 1)},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string key = "word" + std::to_string(n++);
        hs->popups.clear();
        hs->popup_choices = {c.item};
        hs->message_box_answers = {IDYES};  // the bulk sentence's missing mark
        EXPECT_TRUE(files_as(c.call, key, [&] { c.right ? (void)right_click(c.button) : headless_click(hBig, c.button); }));
        ASSERT_EQ(hs->popups.size(), 1u);
        const HMENU menu = hs->popups[0].menu;
        EXPECT_EQ(utf16_to_utf8(PL_GetMenuItemText(menu, c.item, MF_BYCOMMAND)), c.label);
        EXPECT_EQ((GetMenuState(menu, c.item, MF_BYCOMMAND) & MF_MENUBARBREAK) != 0, c.column_break);
        int pos = 0;
        while (GetMenuItemID(menu, pos) != c.item) ++pos;
        EXPECT_EQ(pos > 0 && (GetMenuState(menu, static_cast<UINT>(pos - 1), MF_BYPOSITION) & MF_SEPARATOR),
                  c.separator_before);
    }
    // Separators and column breaks across the six popups: each sampled item's label, whether it
    // starts a column and whether a separator stands before it.
    const struct {
        FilingPopup popup;
        UINT item;
        const char* label;
        bool column_break, separator_before;
    } layout[] = {
        {FilingPopup::C, 8494, "c11", false, false},         {FilingPopup::C, 8504, "c21", true, false},
        {FilingPopup::C, 8528, "c51", false, false},         {FilingPopup::C, 8540, "c2", false, false},
        {FilingPopup::C, 8550, "two21", false, true},        {FilingPopup::C, 8560, "three11", true, true},
        {FilingPopup::Adj, 8591, "adj21", false, true},      {FilingPopup::Adj, 8601, "adj31", true, false},
        {FilingPopup::Adj, 8626, "adj_post21", false, false}, {FilingPopup::Adj, 9016, "attr11", true, false},
        {FilingPopup::Adj, 8910, "where11", false, true},    {FilingPopup::Verb, 8960, "az51", false, false},
        {FilingPopup::Verb, 9063, "se21", false, true},      {FilingPopup::Verb, 9080, "si11", true, false},
        {FilingPopup::Misc, 8667, "not_1", false, true},     {FilingPopup::Misc, 8679, "r_n11", true, false},
        {FilingPopup::Misc, 8845, "num11 broi", false, true}, {FilingPopup::Misc, 8850, "num21 red", false, false},
        {FilingPopup::Misc, 8833, "abbn11", false, false},   {FilingPopup::One, 8544, "two11 c", false, true},
        {FilingPopup::One, 8574, "adj11 c", true, false},    {FilingPopup::One, 8844, "num11 broi c", false, false},
        {FilingPopup::Cs, 9102, "cs21", false, true},        {FilingPopup::Cs, 9146, "cs,11", true, false},
        {FilingPopup::Cs, 9115, "cs11 bulk", false, false},
    };
    for (const auto& l : layout) {
        SCOPED_TRACE(l.label);
        const HMENU menu = filing_popup(l.popup);
        ASSERT_TRUE(menu);
        EXPECT_EQ(utf16_to_utf8(PL_GetMenuItemText(menu, l.item, MF_BYCOMMAND)), l.label);
        EXPECT_EQ((GetMenuState(menu, l.item, MF_BYCOMMAND) & MF_MENUBARBREAK) != 0, l.column_break);
        int pos = 0;
        while (pos < GetMenuItemCount(menu) && GetMenuItemID(menu, pos) != l.item) ++pos;
        ASSERT_LT(pos, GetMenuItemCount(menu));
        EXPECT_EQ(pos > 0 && (GetMenuState(menu, static_cast<UINT>(pos - 1), MF_BYPOSITION) & MF_SEPARATOR),
                  l.separator_before);
    }

    // "c11 c" files into the first list of its group that lacks the key; "c11" into c_c11 itself.
    select_pair("word0", "друг превод");
    hs->popup_choices = {8493};
    headless_click(hBig, 1315);
    EXPECT_NE(c_find(1, "word0"), nullptr);
}

// The filing buttons' left and right clicks file into the lists the window's description gives
// them (a sample across its table); buttons without a right-click call file nothing on a right click.
TEST_F(FilingWindowTest, FilingButtonsFileByLeftAndRightClick) {
    open_for_filing();
    gl_SHOW_MESSAGES = 0;
    const auto W = [](int row, int ffs = 1, int lower = 0) {
        return FilingCall{FilingKind::WordClass, row, static_cast<std::int8_t>(ffs), static_cast<std::int8_t>(lower)};
    };
    const auto S = [](int row, int family) {
        return FilingCall{FilingKind::Corpus, row, 0, 0, static_cast<std::int8_t>(family)};
    };
    const FilingCall none{};
    const struct {
        int id;
        FilingCall left, right;
    } buttons[] = {
        {1292, W(0), W(1, 0)},        // n: c_c11 / c_c12
        {1300, W(9), W(10, 0)},       // n+: c_c21 / c_c22
        {1299, W(46), W(47, 0)},      // 2: c_two11 / c_two12
        {1301, W(85), W(86, 0)},      // a+: c_adj21 / c_adj22
        {1305, W(109), W(110, 0)},    // a2: c_advadj11 / c_advadj12
        {1310, W(142), W(143, 0)},    // нр2: c_adv21 / c_adv22
        {1318, W(181), W(182, 0)},    // къ: c_adv_where11 / c_adv_where12
        {1306, W(204), W(205, 0)},    // аз (2): c_v_az21 / c_v_az22
        {1309, W(288), W(289, 0)},    // се (2): c_v_se21 / c_v_se22
        {1312, W(349), W(350, 0)},    // at2: c_attr21 / c_attr22
        {1279, W(406), W(407, 0)},    // cult: z_cult1 / z_cult2
        {1285, W(417, 1, 1), none},   // lo: c_one11 lower-cased
        {1293, W(421), W(422, 0)},    // 1+: c_one21 / c_one22
        {1284, W(495, 0), W(496, 0)}, // кра: cs_1end11 / cs_1end12
        {1321, W(531, 0), W(530, 0)}, // h3: hard3 / hard2
        {1275, S(0, 0), S(1, 0)},     // изр
        {1294, S(0, 1), S(1, 1)},     // изр (custom)
        {1317, S(0, 2), S(1, 2)},     // ,
    };
    int n = 0;
    for (const auto& b : buttons) {
        for (const bool right : {false, true}) {
            const FilingCall& call = right ? b.right : b.left;
            SCOPED_TRACE(testing::Message() << b.id << (right ? " right" : " left"));
            const std::string key = "Key" + std::to_string(n++);
            const auto click = [&] { right ? (void)right_click(b.id) : headless_click(hBig, b.id); };
            if (call.kind == FilingKind::None) {
                // Nothing filed where the left click files.
                EXPECT_FALSE(files_as(b.left, key, click));
                continue;
            }
            EXPECT_TRUE(files_as(call, key, click));
            if (call.kind == FilingKind::WordClass && call.lower_case) {
                const ListPair* p = c_find(call.row, cp(key));
                ASSERT_NE(p, nullptr);
                EXPECT_EQ(p->key, "key" + std::to_string(n - 1));  // stored lower-cased
            }
            // The right click leaves the focus pane with a panel.
            if (right) {
                EXPECT_EQ(hReRightClicked, GetDlgItem(hBig, b.id));
            }
        }
    }
    // A hidden button takes no right click: nothing is filed.
    ShowHideMachineControls(SW_HIDE);
    EXPECT_FALSE(files_as(W(1, 0), "hidden", [] { right_click(1292); }));
}

// "добави", "виж" and "трий" on the user's list on disk.
TEST_F(FilingWindowTest, TheUserWordListIsAddedShownAndErased) {
    open_for_filing();
    const auto box = [](std::string_view word) { set_panel(hAddReShort, word); };

    headless_click(hBig, 1249);
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes.back().text),
              "Потребителският речник с български думи е празен.\r\nМоже да добавяте текущите думи с бутончето "
              "\"добави\".");
    EXPECT_EQ(hs->message_boxes.back().owner, hBig);

    for (std::string_view w : {"ябълкова", "Бозайник"}) {
        box(w);
        headless_click(hBig, 1248);
        EXPECT_EQ(utf16_to_utf8(hs->message_boxes.back().caption), "Done!");
        EXPECT_EQ(hs->message_boxes.back().owner, hBig);
    }
    EXPECT_EQ(u8(data.read("b_bulgarian_custom.txt")), "Бозайник\r\nябълкова\r\n");
    set_panel(hBigReLeft, "старо");
    headless_click(hBig, 1249);
    EXPECT_EQ(panel_text(hBigReLeft), "Бозайник\rябълкова\r");

    headless_click(hBig, 1250);
    EXPECT_EQ(u8(data.read("b_bulgarian_custom_000001.txt")), "Бозайник\r\nябълкова\r\n");
    EXPECT_EQ(data.read("b_bulgarian_custom.txt"), "");
    EXPECT_EQ(b[B_BULGARIAN_CUSTOM].count, 0u);
    headless_click(hBig, 1250);
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes.back().text), "Речникът е празен.");
}

}  // namespace

namespace {

// A list file that cannot be replaced (a folder stands in its place) or that vanished: the user is
// told, nothing half-written stays, the lists keep what their files hold, the window goes on.
TEST_F(FilingWindowTest, ListFilesThatCannotBeWrittenOrVanished) {
    open_for_filing();
    gl_SHOW_MESSAGES = 0;
    const auto folder_in_place = [&](std::string_view rel) {
        std::filesystem::remove(data.file(rel));
        std::filesystem::create_directory(data.file(rel));
    };
    folder_in_place("c/c_c12.txt");
    select_pair("zebra", "зебра");
    right_click(1292);  // into c_c12
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes.back().text).rfind("Cannot write to", 0), 0u);
    EXPECT_EQ(c_find(1, "zebra"), nullptr);

    folder_in_place("b_bulgarian_custom.txt");
    set_panel(hAddReShort, "круша");
    headless_click(hBig, 1248);
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes.back().text).rfind("Cannot write to", 0), 0u);
    EXPECT_EQ(b[B_BULGARIAN_CUSTOM].count, 0u);

    std::filesystem::remove(data.file("c/c_c11.txt"));
    const std::size_t had = c_glob[0].count;
    headless_click(hBig, 1292);  // into c_c11
    EXPECT_EQ(c_glob[0].count, had + 1);
    EXPECT_NE(u8(data.read("c/c_c11.txt")).find("apple ябълка\r\n"), std::string::npos);
    EXPECT_NE(u8(data.read("c/c_c11.txt")).find("zebra зебра\r\n"), std::string::npos);
    for (const auto& e : std::filesystem::recursive_directory_iterator(data.path()))
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
    EXPECT_TRUE(IsWindow(hBig));
}

}  // namespace
