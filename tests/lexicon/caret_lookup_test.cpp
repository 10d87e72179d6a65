// The look-up of the word under the caret (where it writes, which word, when again), the context
// lines, the whole-word test and the printed dictionary's pages.
#include "lex_test_util.h"
#include "lexicon/display.h"
#include "lexicon/panels.h"
#include "shell/lists.h"
#include "shell/settings.h"

namespace {

std::vector<HWND> g_audio;         // panels handed to the audio look-up
std::vector<std::string> g_pages;  // words handed to the page search
std::vector<double> g_ratios;      // information-window splits
struct {
    HWND panel{};
    std::string token;
    LONG start = 0;
} g_store;  // a fake token store: one token of one panel

class CaretLookUp : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        data.write("b_en-bg.txt", "dog куче\n");
        data.write("b_bulgarian.txt", "гр. 10\n");
        load_lexicon(data.path());
        make_windows();
    }
    void make_windows() {
        hBig = make_panel_dialog({1171, 1170, 1172});
        hBigReRight = GetDlgItem(hBig, 1171), hBigReLeft = GetDlgItem(hBig, 1170), hBigReBot = GetDlgItem(hBig, 1172);
        hInfo = make_panel_dialog({1279, 1280});
        hInfoReTop = GetDlgItem(hInfo, 1279), hInfoReBot = GetDlgItem(hInfo, 1280);
        hBgTextRe = GetDlgItem(make_panel_dialog({1301}), 1301);
        g_audio.clear(), g_pages.clear(), g_ratios.clear();
        g_store = {};
        gl_info_printed = 0;
        reset_caret_lookup();
        GetCleanTokenAudio_hook = [](HWND p) { g_audio.push_back(p); };
        find_bg_part_hook = [](const char* w) { g_pages.emplace_back(w); };
        size_info_ratio_hook = [](HWND, double r) { g_ratios.push_back(r); };
        store_token_hook = [](HWND p, LONG, std::string& token, LONG& start) {
            token = g_store.token, start = g_store.start;
            return p && p == g_store.panel;
        };
    }
    static std::string head(HWND re) {
        const std::string t = panel_text(re);
        return t.substr(0, t.find('\r'));
    }
};

TEST_F(CaretLookUp, TheOutputPanelFollowsTheSourceTheFlagAndTheWindowsThatExist) {
    enum { Right, Bot, InfoT, InfoB, BgText, None, Left };
    const struct {
        int source, print_down;
        bool checker, info;
        int out;
        bool resplit;
    } cases[] = {
        {Right, 0, true, true, Left, false}, {Right, 1, true, true, Bot, false},
        {InfoT, 1, true, true, InfoB, false},      {InfoT, 0, true, true, Left, false},
        {Bot, 1, true, true, InfoB, true},         {Bot, 1, true, false, None, false},
        {BgText, 0, false, true, InfoT, false},    {BgText, 1, false, true, InfoT, false},
        {BgText, 0, false, false, None, false},    {BgText, 1, true, false, Bot, false},
    };
    for (const auto& c : cases) {
        make_windows();
        if (!c.checker) DestroyWindow(hBig);  // the handles stay, the windows are gone
        if (!c.info) DestroyWindow(hInfo);
        const HWND panels[] = {hBigReRight, hBigReBot, hInfoReTop, hInfoReBot, hBgTextRe};
        const HWND src = panels[c.source];
        const HWND want = c.out == Left ? hBigReLeft : c.out == None ? HWND{} : panels[c.out];
        gl_PRINT_DOWN = static_cast<std::int8_t>(c.print_down);
        set_panel(src, "a dog barks", 3, 3);
        GetCleanToken(src, 1);
        const std::string what = std::to_string(c.source) + "/" + std::to_string(c.print_down);
        for (HWND p : {hBigReLeft, hBigReBot, hInfoReTop, hInfoReBot}) {
            if (p != src && IsWindow(p)) {
                EXPECT_EQ(head(p), p == want ? "dog" : "") << what;
            }
        }
        EXPECT_EQ(g_ratios.size(), c.resplit ? 1u : 0u) << what;
        EXPECT_EQ(gl_info_printed, want && want == hInfoReTop ? 1 : 0) << what;
        EXPECT_EQ(g_audio, std::vector<HWND>{src}) << what;
        EXPECT_EQ(g_pages.size(), want ? 1u : 0u) << what;
    }
}

TEST_F(CaretLookUp, TheWordComesFromThePanelsStoreWhileTheStoreHoldsItsText) {
    const struct {
        const char* text;
        LONG from, to;
        const char* token;  // the store's token (nullptr: no store)
        LONG start;
        int mode;
        const char* want;
    } cases[] = {
        {"see e.g. this", 5, 5, "e.g", 4, 1, "e.g"},      {"see e.g. this", 5, 5, nullptr, 0, 1, "e"},
        {"see e.g. this", 5, 5, "e.g", 4, 0, "e"},        {"see e.g. this", 5, 5, "e.g", 3, 1, "e"},
        {"see e.g. this", 0, 8, "e.g", 4, 1, "see e.g."}, {"a don’t b", 3, 3, "don’t", 2, 1, "don't"},
        {"a ‘tis b", 4, 4, "'tis", 2, 1, "'tis"},
    };
    for (const auto& c : cases) {
        for (HWND panel : {hBgTextRe, hBigReRight}) {
            reset_caret_lookup();
            g_store = {c.token ? panel : HWND{}, c.token ? cp(c.token) : "", c.start};
            set_panel(panel, c.text, c.from, c.to);
            GetCleanToken(panel, c.mode);
            EXPECT_EQ(head(hBigReLeft), c.want) << c.text << " " << c.from << " mode " << c.mode;
        }
    }
}

TEST_F(CaretLookUp, TheSameWordIsWrittenAgainOnlyWhenAskedOrWhenItsOutputWasReplaced) {
    set_panel(hBigReRight, "a dog barks, dog", 3, 3);
    GetCleanToken(hBigReRight, 1);
    const std::string first = panel_text(hBigReLeft);
    EXPECT_NE(first.find("\ra dog barks, dog\ra dog barks, dog\r"), std::string::npos) << "two context lines";
    RE_SetSel(hBigReRight, CHARRANGE{4, 4});  // the caret moves inside the same word
    GetCleanToken(hBigReRight, 1);
    EXPECT_EQ(g_pages.size(), 1u);
    gl_inc_method = 1;  // Refresh
    GetCleanToken(hBigReRight, 1);
    gl_inc_method = 0;
    RE_SetTextW(hBigReLeft, u"other");
    GetCleanToken(hBigReRight, 1);
    EXPECT_EQ(g_pages.size(), 3u);
    EXPECT_EQ(panel_text(hBigReLeft), first);
    gl_BIG_ACTIVE = 0;  // switched off: only the audio look-up
    RE_SetSel(hBigReRight, CHARRANGE{8, 8});
    GetCleanToken(hBigReRight, 1);
    EXPECT_EQ(g_pages.size(), 3u);
    EXPECT_EQ(g_audio.size(), 5u);
}

// A selection or a word at the caret longer than a list line is no key of any list: the output
// shows its first 1,000 characters and an ellipsis, nothing after them; one as long as a list line
// is shown whole and followed by its context line.
TEST_F(CaretLookUp, ASelectionLongerThanAListLineIsShownByItsStart) {
    const std::string run(kMaxListLine + 1, 'q');
    const std::string shown = run.substr(0, 1'000) + "\u2026\r";
    const struct {
        std::string text;
        LONG from, to;
        std::string want;
    } cases[] = {
        {run, 0, -1, shown},                        // Ctrl+A
        {"a " + run + " b", 500, 500, shown},       // a click inside the run
        {run.substr(1) + " b", 0, kMaxListLine, run.substr(1) + "\r\r" + run.substr(1) + " b\r"},
    };
    for (HWND p : {hBigReRight, hBigReLeft}) RE_LimitText(p, 1 << 30);
    for (const auto& c : cases) {
        reset_caret_lookup();
        set_panel(hBigReRight, c.text, c.from, c.to);
        GetCleanToken(hBigReRight, 1);
        EXPECT_TRUE(panel_text(hBigReLeft) == c.want) << c.from << " " << c.to;
    }
    EXPECT_EQ(g_pages.size(), 3u);
}

TEST_F(CaretLookUp, ContextLinesMarkTheirMatchAndStopAtTheirBound) {
    set_panel(hBigReRight, "one two\rthree two two", 0, 0);
    EXPECT_EQ(print_context(u"two", hBigReRight, hBigReLeft, FR_WHOLEWORD, false), 3);
    const std::u16string line = u"one two\u00B7three two two\r";
    EXPECT_EQ(RE_GetTextW(hBigReLeft), line + line + line);
    for (LONG pos : {4, 22 + 14, 44 + 18}) {  // each line's own match
        EXPECT_EQ(RE_GetCharFormatAt(hBigReLeft, pos).crTextColor, kColContextMatch) << pos;
        EXPECT_NE(RE_GetCharFormatAt(hBigReLeft, pos - 1).crTextColor, kColContextMatch) << pos;
    }
    EXPECT_EQ(print_context(u"two", hBigReRight, hBigReLeft, FR_WHOLEWORD, false, 2), 2);
    EXPECT_EQ(print_context(u"TWO", hBigReRight, hBigReLeft, FR_WHOLEWORD | FR_MATCHCASE, false), 0);
    RE_SetTextW(hBigReLeft, u"");
    const std::string pad(100, 'x');
    set_panel(hBigReRight, pad + " key " + pad, 0, 0);
    EXPECT_EQ(print_context(u"key", hBigReRight, hBigReLeft, FR_WHOLEWORD, false), 1);
    EXPECT_EQ(panel_text(hBigReLeft), pad.substr(61) + " key " + pad.substr(61) + "\r");
    // A phrase counts only where it stands as whole words, across a line break too.
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
        {"a dog b", 2, 5, 1},     {"hotdog", 3, 6, 0},        {"dogs", 0, 3, 0},       {"„dog“", 1, 4, 1},
        {"'dog'", 1, 4, 1},       {"dog's", 0, 3, 0},         {"o'dog", 2, 5, 0},      {"well-known", 5, 10, 0},
        {"-known", 1, 6, 1},      {"3.14", 2, 4, 0},          {"a,b", 2, 3, 0},        {"end. Next", 0, 3, 1},
        {"в гр. София", 2, 4, 0}, {"в град. София", 2, 6, 1}, {"в гр. София", 0, 4, 0}, {"x?y", 0, 1, 0},
        {"x? y", 0, 1, 1},
    };
    for (const auto& c : cases) {
        set_panel(hBigReRight, c.text, 0, 0);
        EXPECT_EQ(is_surrounded_by_vaild(hBigReRight, CHARRANGE{c.from, c.to}, RE_GetTextLength(hBigReRight)), c.want)
            << c.text << " [" << c.from << ", " << c.to << ")";
    }
}

TEST_F(LexTest, ThePrintedDictionaryPageOfAWord) {
    dir_alt = data.path();
    data.write("nov/pages.txt", "apple p1.png\nMango p3.png\ncat p2.png\nкотка p9.png\nnoimage\n");
    const std::pair<std::u16string, const char*> cases[] = {
        {u"apple", "p1.png"}, {u"banana", "p1.png"}, {u"Cat", "p2.png"}, {u"zebra", "p3.png"},
        {u"куче", "p9.png"},  {u"aardvark", nullptr}, {u"", nullptr},
    };
    for (const auto& [word, page] : cases) {
        hs->shell_opened.clear();
        show_nov(word);
        EXPECT_EQ(hs->shell_opened, page ? std::vector<std::string>{(data.path() / "nov" / page).string()}
                                         : std::vector<std::string>{})
            << utf16_to_utf8(word);
    }
    EXPECT_EQ(nov_pages().size(), 4u) << "a line without an image is no page";

    // No program shows the image: the user is told which file could not be opened.
    hs->shell_open_fails = true;
    hs->message_boxes.clear();
    show_nov(u"cat");
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_TRUE(utf16_to_utf8(hs->message_boxes[0].text).starts_with("Cannot open " + (data.path() / "nov" / "p2.png").string()));
}

}  // namespace
