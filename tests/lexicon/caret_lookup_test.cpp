// The look-up of the word under the caret: where it writes, which word it takes, when it writes
// again; the context lines, the whole-word test and the printed dictionary's pages.
#include "lex_test_util.h"
#include "lexicon/display.h"
#include "lexicon/panels.h"
#include "shell/settings.h"

namespace {

constexpr int kRight = 1171, kLeft = 1170, kBottom = 1172, kInfoTop = 1279, kInfoBot = 1280, kBgText = 1301;

// What the hooks saw.
struct HookLog {
    std::vector<HWND> audio;
    std::vector<std::string> pages;
    std::vector<double> ratios;
} g_log;

// A fake token store: one token at a position of one panel.
struct FakeStore {
    HWND panel{};
    std::string token;
    LONG start = 0;
} g_store;

class CaretLookUp : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        data.write("b_en-bg.txt", "dog куче\ne.g. например\n");
        data.write("b_bulgarian.txt", "град 300\nгр. 10\n");
        load_lexicon(data.path());
        make_windows();
    }
    // The checker, information and Bulgarian-text windows, the hooks, the flags at their start.
    void make_windows() {
        hBig = make_panel_dialog({kRight, kLeft, kBottom});
        hBigReRight = GetDlgItem(hBig, kRight);
        hBigReLeft = GetDlgItem(hBig, kLeft);
        hBigReBot = GetDlgItem(hBig, kBottom);
        hInfo = make_panel_dialog({kInfoTop, kInfoBot});
        hInfoReTop = GetDlgItem(hInfo, kInfoTop);
        hInfoReBot = GetDlgItem(hInfo, kInfoBot);
        hBgText = make_panel_dialog({kBgText});
        hBgTextRe = GetDlgItem(hBgText, kBgText);
        g_log = HookLog{};
        g_store = FakeStore{};
        gl_info_printed = 0;
        reset_caret_lookup();
        GetCleanTokenAudio_hook = [](HWND p) { g_log.audio.push_back(p); };
        find_bg_part_hook = [](const char* w) { g_log.pages.emplace_back(w); };
        size_info_ratio_hook = [](HWND, double r) { g_log.ratios.push_back(r); };
        store_token_hook = [](HWND p, LONG, std::string& token, LONG& start) {
            if (!p || p != g_store.panel) return false;
            token = g_store.token;
            start = g_store.start;
            return true;
        };
    }
    // The first line of a panel (the word the look-up wrote), "" when it is empty.
    static std::string head(HWND re) {
        const std::string t = panel_text(re);
        return t.substr(0, t.find('\r'));
    }
    std::vector<HWND> all_panels() const {
        return {hBigReRight, hBigReLeft, hBigReBot, hInfoReTop, hInfoReBot, hBgTextRe};
    }
};

TEST_F(CaretLookUp, TheOutputPanelFollowsTheSourceTheFlagAndTheWindowsThatExist) {
    enum Source { Right, Bottom, InfoTop, BgText };
    enum Out { None, Left, Bot, InfoT, InfoB };
    const struct {
        Source source;
        int print_down;
        bool checker, info;
        Out out;
        bool resplit, info_printed;
    } cases[] = {
        {Right, 0, true, true, Left, false, false},    {Right, 1, true, true, Bot, false, false},
        {InfoTop, 1, true, true, InfoB, false, false}, {InfoTop, 0, true, true, Left, false, false},
        {Bottom, 1, true, true, InfoB, true, false},   {Bottom, 1, true, false, None, false, false},
        {Bottom, 0, true, false, Left, false, false},  {BgText, 0, false, true, InfoT, false, true},
        {BgText, 1, false, true, InfoT, false, true},  {BgText, 0, false, false, None, false, false},
        {BgText, 1, true, false, Bot, false, false},
    };
    for (const auto& c : cases) {
        make_windows();
        if (!c.checker) DestroyWindow(hBig);  // the handles stay, the windows are gone
        if (!c.info) DestroyWindow(hInfo);
        const HWND src = c.source == Right    ? hBigReRight
                         : c.source == Bottom ? hBigReBot
                         : c.source == InfoTop ? hInfoReTop
                                               : hBgTextRe;
        const HWND want = c.out == Left   ? hBigReLeft
                          : c.out == Bot  ? hBigReBot
                          : c.out == InfoT ? hInfoReTop
                          : c.out == InfoB ? hInfoReBot
                                           : HWND{};
        gl_PRINT_DOWN = static_cast<std::int8_t>(c.print_down);
        set_panel(src, "a dog barks", 3, 3);
        GetCleanToken(src, 1);
        const std::string what = std::to_string(c.source) + "/" + std::to_string(c.print_down) + "/" +
                                 std::to_string(c.checker) + std::to_string(c.info);
        for (HWND p : all_panels()) {
            if (p != src && IsWindow(p)) {
                EXPECT_EQ(head(p), p == want ? "dog" : "") << what;
            }
        }
        EXPECT_EQ(panel_text(src), "a dog barks") << what;
        EXPECT_EQ(g_log.ratios, c.resplit ? std::vector<double>{0.6} : std::vector<double>{}) << what;
        EXPECT_EQ(gl_info_printed, c.info_printed ? 1 : 0) << what;
        ASSERT_EQ(g_log.audio.size(), 1u) << what;
        EXPECT_EQ(g_log.audio[0], src) << "the audio look-up runs first, whatever follows";
        EXPECT_EQ(g_log.pages, want ? std::vector<std::string>{"dog"} : std::vector<std::string>{}) << what;
    }
}

TEST_F(CaretLookUp, TheWordComesFromThePanelsStoreWhileTheStoreHoldsItsText) {
    const struct {
        const char* text;
        LONG sel_from, sel_to;
        const char* store_token;  // nullptr: no store for the panel
        LONG store_start;
        int mode;
        const char* want;
    } cases[] = {
        {"see e.g. this", 5, 5, "e.g", 4, 1, "e.g"},         // the store's token, dots and all
        {"see e.g. this", 5, 5, nullptr, 0, 1, "e"},          // no store: the word at the caret
        {"see e.g. this", 5, 5, "e.g", 4, 0, "e"},            // mode 0 never asks the store
        {"see e.g. this", 5, 5, "e.g", 3, 1, "e"},            // the text changed since: not used
        {"see e.g. this", 0, 8, "e.g", 4, 1, "see e.g."},     // a selection past the token
        {"see e.g. this", 4, 7, "e.g", 4, 1, "e.g"},          // a selection inside the token
        {"a don\u2019t b", 3, 3, "don\u2019t", 2, 1, "don't"}, // looked up with the plain apostrophe
        {"a \u2018tis b", 4, 4, "'tis", 2, 1, "'tis"},        // the store wrote the apostrophe plain
    };
    for (const auto& c : cases) {
        for (HWND panel : {hBgTextRe, hBigReRight}) {
            reset_caret_lookup();
            g_store = FakeStore{};
            if (c.store_token) g_store = FakeStore{panel, cp(c.store_token), c.store_start};
            set_panel(panel, c.text, c.sel_from, c.sel_to);
            GetCleanToken(panel, c.mode);
            EXPECT_EQ(head(hBigReLeft), c.want) << c.text << " " << c.sel_from << " mode " << c.mode;
        }
    }
}

TEST_F(CaretLookUp, TheSameWordIsWrittenAgainOnlyWhenAskedOrWhenItsOutputWasReplaced) {
    set_panel(hBigReRight, "a dog barks", 3, 3);
    GetCleanToken(hBigReRight, 1);
    const std::string first = panel_text(hBigReLeft);
    ASSERT_EQ(head(hBigReLeft), "dog");
    // The caret moves inside the same word: the output stands.
    RE_SetSel(hBigReRight, CHARRANGE{4, 4});
    GetCleanToken(hBigReRight, 1);
    EXPECT_EQ(g_log.pages.size(), 1u);
    // Refresh asks for it anew.
    gl_inc_method = 1;
    GetCleanToken(hBigReRight, 1);
    gl_inc_method = 0;
    EXPECT_EQ(g_log.pages.size(), 2u);
    EXPECT_EQ(panel_text(hBigReLeft), first);
    // Something else was written into the output panel meanwhile: the look-up is written again.
    RE_SetTextW(hBigReLeft, u"other");
    GetCleanToken(hBigReRight, 1);
    EXPECT_EQ(panel_text(hBigReLeft), first);
    // Another word.
    RE_SetSel(hBigReRight, CHARRANGE{8, 8});
    GetCleanToken(hBigReRight, 1);
    EXPECT_EQ(head(hBigReLeft), "barks");
    // Switched off: nothing but the audio look-up.
    gl_BIG_ACTIVE = 0;
    RE_SetSel(hBigReRight, CHARRANGE{0, 0});
    GetCleanToken(hBigReRight, 1);
    EXPECT_EQ(head(hBigReLeft), "barks");
    EXPECT_EQ(g_log.audio.size(), 6u);
}

TEST_F(CaretLookUp, TheLookUpEndsWithTheWordsContextInTheCheckedText) {
    set_panel(hBigReRight, "the dog.\rA dog, dogs and a hotdog", 0, 0);
    set_panel(hInfoReTop, "dog", 1, 1);
    GetCleanToken(hInfoReTop, 1);
    const std::string shown = panel_text(hBigReLeft);
    EXPECT_NE(shown.find("\rthe dog.\u00B7A dog, dogs and a hotdog\r"), std::string::npos) << shown;
    const std::size_t lines = static_cast<std::size_t>(std::count(shown.begin(), shown.end(), '\r'));
    const std::size_t at = shown.find("the dog.\u00B7A");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(std::count(shown.begin() + static_cast<long>(at), shown.end(), '\r'), 2) << "two whole-word matches";
    EXPECT_GT(lines, 2u);
}

TEST_F(CaretLookUp, ContextLinesMarkTheirMatchAndStopAtTheirBound) {
    set_panel(hBigReRight, "one two\rthree two two", 0, 0);
    EXPECT_EQ(print_context(u"two", hBigReRight, hBigReLeft, FR_WHOLEWORD, false), 3);
    const std::u16string out = RE_GetTextW(hBigReLeft);
    EXPECT_EQ(out, u"one two\u00B7three two two\rone two\u00B7three two two\rone two\u00B7three two two\r");
    // The first line's match is "two" at 4, the second's at 14, the third's at 18; each red and bold.
    for (LONG pos : {4, 22 + 14, 44 + 18}) {
        const CHARFORMAT2W f = RE_GetCharFormatAt(hBigReLeft, pos);
        EXPECT_EQ(f.crTextColor, kColContextMatch) << pos;
        EXPECT_TRUE(f.dwEffects & CFE_BOLD) << pos;
    }
    EXPECT_NE(RE_GetCharFormatAt(hBigReLeft, 0).crTextColor, kColContextMatch);
    RE_SetTextW(hBigReLeft, u"");
    EXPECT_EQ(print_context(u"two", hBigReRight, hBigReLeft, FR_WHOLEWORD, false, 2), 2);
    EXPECT_EQ(print_context(u"TWO", hBigReRight, hBigReLeft, FR_WHOLEWORD | FR_MATCHCASE, false), 0);
    EXPECT_EQ(print_context(u"", hBigReRight, hBigReLeft, 0, false), 0);
    // A long text: at most kContextWidth characters on each side.
    RE_SetTextW(hBigReLeft, u"");
    const std::u16string pad(100, u'x');
    set_panel(hBigReRight, utf16_to_utf8(pad + u" key " + pad), 0, 0);
    EXPECT_EQ(print_context(u"key", hBigReRight, hBigReLeft, FR_WHOLEWORD, false), 1);
    EXPECT_EQ(RE_GetTextW(hBigReLeft), std::u16string(39, u'x') + u" key " + std::u16string(39, u'x') + u"\r");
    // A phrase counts only where it stands as whole words, across a line break.
    RE_SetTextW(hBigReLeft, u"");
    set_panel(hBigReRight, "big\rdog; big dogs; a big dog", 0, 0);
    EXPECT_EQ(print_context(u"big\rdog", hBigReRight, hBigReLeft, 0, true), 1);
    EXPECT_EQ(print_context(u"big dog", hBigReRight, hBigReLeft, 0, true), 1);
}

TEST_F(CaretLookUp, WholeWordsAccordingToTheirNeighbours) {
    const struct {
        const char* text;
        LONG from, to;
        int want;
    } cases[] = {
        {"a dog b", 2, 5, 1},         {"dog", 0, 3, 1},           {"hotdog", 3, 6, 0},
        {"dogs", 0, 3, 0},            {"„dog“", 1, 4, 1},         {"\"dog\"", 1, 4, 1},
        {"'dog'", 1, 4, 1},           {"dog's", 0, 3, 0},         {"o'dog", 2, 5, 0},
        {"well-known", 5, 10, 0},     {"-known", 1, 6, 1},        {"known-", 0, 5, 1},
        {"3.14", 2, 4, 0},            {"a,b", 2, 3, 0},           {"end. Next", 0, 3, 1},
        {"в гр. София", 2, 4, 0},     {"в град. София", 2, 6, 1}, {"в гр. София", 0, 4, 0},
        {"x?y", 0, 1, 0},             {"x? y", 0, 1, 1},          {"мек,", 0, 3, 1},
    };
    for (const auto& c : cases) {
        set_panel(hBigReRight, c.text, 0, 0);
        EXPECT_EQ(is_surrounded_by_vaild(hBigReRight, CHARRANGE{c.from, c.to}, RE_GetTextLength(hBigReRight)), c.want)
            << c.text << " [" << c.from << ", " << c.to << ")";
    }
}

TEST_F(LexTest, ThePrintedDictionaryPageOfAWord) {
    dir_alt = data.path();
    data.write("nov/pages.txt", "apple p001.png\nMango p003.png\ncat p002.png\nкотка p100.png\nnoimage\n");
    const struct {
        std::u16string word;
        const char* page;  // nullptr: nothing opened
    } cases[] = {
        {u"apple", "p001.png"}, {u"banana", "p001.png"}, {u"Cat", "p002.png"},  {u"mango", "p003.png"},
        {u"zebra", "p003.png"}, {u"aardvark", nullptr},  {u"", nullptr},        {u"куче", "p100.png"},
    };
    for (const auto& c : cases) {
        hs->shell_opened.clear();
        show_nov(c.word);
        if (!c.page) {
            EXPECT_TRUE(hs->shell_opened.empty()) << utf16_to_utf8(c.word);
            continue;
        }
        ASSERT_EQ(hs->shell_opened.size(), 1u) << utf16_to_utf8(c.word);
        EXPECT_EQ(hs->shell_opened[0], (data.path() / "nov" / c.page).string()) << utf16_to_utf8(c.word);
    }
    EXPECT_EQ(nov_pages().size(), 4u) << "a line without an image is no page";
    // Without a page list nothing opens.
    reset_nov_pages();
    dir_alt = data.path() / "elsewhere";
    hs->shell_opened.clear();
    show_nov(u"apple");
    EXPECT_TRUE(hs->shell_opened.empty());
}

}  // namespace
