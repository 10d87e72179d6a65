// The web look-up buttons of the text-checker window: the address each button hands to the shell
// for a selection or for the first word of a panel, the programmable buttons' templates, and the
// translator's encoding of line breaks.
#include "checker_fixture.h"
#include "windows/checker_web.h"

namespace {

class CheckerWeb : public CheckerTest {
protected:
    // The right panel holds `text` (no check run), selected from..to, and is the focus pane.
    void focus_right(std::u16string_view text, LONG from, LONG to) {
        const DWORD mask = RE_SetEventMask(hBigReRight, 0);
        RE_SetTextW(hBigReRight, text);
        RE_SetEventMask(hBigReRight, mask);
        RE_SetSel(hBigReRight, CHARRANGE{from, to});
        hReFocus = hBigReRight;
    }
    // What the button opened ("" when nothing).
    std::string click(int id) {
        hs->shell_opened.clear();
        headless_click(hBig, id);
        EXPECT_LE(hs->shell_opened.size(), 1u);
        return hs->shell_opened.empty() ? std::string() : hs->shell_opened.back();
    }
};

constexpr const char* kSearch = "https://www.google.com/search?num=100&hl=en&q=";

TEST_F(CheckerWeb, EachWordButtonOpensItsAddress) {
    struct Case {
        int id;
        std::u16string text;
        LONG from, to;
        std::string address;
    };
    const std::string site = "https://www.google.com/search?num=100&hl=en&safe=off&q=";
    const std::vector<Case> cases{
        {1210, u"a red apple", 2, 11, kSearch + std::string("%22red%20apple%22")},
        {1210, u"a red_apple", 2, 11, kSearch + std::string("%22red%20apple%22")},
        {1209, u"apple pie", 0, 5, kSearch + std::string("apple&lr=lang_bg")},
        {1209, u"apple  pie", 0, 10, kSearch + std::string("%22apple%20pie%22&lr=lang_bg")},
        {1216, u"red apple", 0, 9, site + "%22red%20apple%22+site%3Anytimes.com"},
        {1217, u"apple", 0, 5, site + "apple+site%3Abbc.co.uk"},
        {1218, u"apple", 0, 5, "https://news.google.com/news?num=100&hl=en&lr=&safe=on&sa=N&tab=wn&q=apple"},
        {1287, u"apple", 0, 5, "https://images.google.com/images?hl=en&safe=on&q=apple"},
        {1215, u"  Hello world\rnext", 0, 0, "https://en.wikipedia.org/wiki/Hello"},
        {1215, u"Hello\rworld", 18, 18, "https://en.wikipedia.org/wiki/Hello"},
        {1220, u"дума", 0, 4, "https://bg.wikipedia.org/wiki/%D0%B4%D1%83%D0%BC%D0%B0"},
        {1219, u"it's", 0, 4, "https://en.wiktionary.org/wiki/it%27s"},
        {1221, u"x y", 0, 2, "https://www.onelook.com/?w=report"},  // 1 or 2 selected: the left panel
        {1210, u"", 0, 0, ""},
    };
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        focus_right(c.text, c.from, c.to);
        RE_SetTextW(hBigReLeft, u"report line\rsecond");
        EXPECT_EQ(click(c.id), c.address);
    }
    EXPECT_TRUE(hs->message_boxes.empty());
}

TEST_F(CheckerWeb, LongSelectionsAreCutTo511Characters) {
    open();
    focus_right(std::u16string(600, u'a'), 0, 600);
    EXPECT_EQ(click(1215), "https://en.wikipedia.org/wiki/" + std::string(511, 'a'));
}

TEST_F(CheckerWeb, ProgrammableButtonsFillTheirTemplates) {
    OP[OPT_LINK1].text_value = "https://dict.example/?a=XXXXX&b=XXXXX";
    OP[OPT_LINK5].text_value = "https://dict.example/fixed";
    open();
    focus_right(u"big cat", 0, 7);
    EXPECT_EQ(click(1311), "https://dict.example/?a=big%20cat&b=big%20cat");
    EXPECT_EQ(click(1316), "");  // no place for the text: nothing is opened, no message
    EXPECT_TRUE(hs->message_boxes.empty());
    EXPECT_EQ(click(1313), "");
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(hs->message_boxes[0].text, u"No link associated with this button, please put some link in settings.txt");
    EXPECT_EQ(hs->message_boxes[0].caption, u"Oops!");
}

TEST_F(CheckerWeb, TranslatorKeepsParagraphsAndJoinsLines) {
    open();
    const std::string tr = "https://translate.google.com/?sl=en&tl=bg#en|bg|";
    focus_right(u"one\rtwo\r\rthree, \"x\"_y\r\r\rz", 0, -1);
    EXPECT_EQ(click(IDC_BIG_GOOGLE_TR), tr + "one%20two%0A%0Athree%2C%20%27x%27%20y%0A%0A%20z");
    const std::string cut = web_translator_address(std::u16string(WEB_TRANSLATOR_ROOM, u','));
    EXPECT_GT(cut.size(), static_cast<std::size_t>(WEB_TRANSLATOR_ROOM) - 3);
    EXPECT_LE(cut.size(), static_cast<std::size_t>(WEB_TRANSLATOR_ROOM));
    EXPECT_TRUE(cut.ends_with("%2C"));  // never half an escape
    focus_right(u"ab cd", 0, 2);
    EXPECT_EQ(click(IDC_BIG_GOOGLE_TR), "");
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(hs->message_boxes[0].text, u"Първо изберете текст!");
}

}  // namespace
