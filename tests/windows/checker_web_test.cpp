// The web look-up buttons of the text-checker window: the address each button hands to the shell
// for a selection or for the first word of a panel, the programmable buttons' templates, the
// translator's encoding of line breaks, and the refusals.
#include <tuple>

#include "checker_fixture.h"

namespace {

using CheckerWeb = CheckerTest;

TEST_F(CheckerWeb, EachButtonOpensItsAddress) {
    OP[OPT_LINK1].text_value = "https://d.example/?a=XXXXX&b=XXXXX";
    OP[OPT_LINK5].text_value = "https://d.example/fixed";  // no place for the text: nothing opened
    const std::string search = "https://www.google.com/search?num=100&hl=en&q=";
    const std::string site = "https://www.google.com/search?num=100&hl=en&safe=off&q=";
    const std::vector<std::tuple<int, std::u16string, LONG, LONG, std::string>> cases{
        {1210, u"a red apple", 2, 11, search + "%22red%20apple%22"},
        {1210, u"a red_apple", 2, 11, search + "%22red%20apple%22"},
        {1209, u"apple pie", 0, 5, search + "apple&lr=lang_bg"},
        {1209, u"apple  pie", 0, 10, search + "%22apple%20pie%22&lr=lang_bg"},
        {1216, u"red apple", 0, 9, site + "%22red%20apple%22+site%3Anytimes.com"},
        {1217, u"apple", 0, 5, site + "apple+site%3Abbc.co.uk"},
        {1218, u"apple", 0, 5, "https://news.google.com/news?num=100&hl=en&lr=&safe=on&sa=N&tab=wn&q=apple"},
        {1287, u"apple", 0, 5, "https://images.google.com/images?hl=en&safe=on&q=apple"},
        {1215, u"  Hello world\rnext", 0, 0, "https://en.wikipedia.org/wiki/Hello"},
        {1215, std::u16string(600, u'a'), 0, 600, "https://en.wikipedia.org/wiki/" + std::string(511, 'a')},
        {1220, u"дума", 0, 4, "https://bg.wikipedia.org/wiki/%D0%B4%D1%83%D0%BC%D0%B0"},
        {1219, u"it's", 0, 4, "https://en.wiktionary.org/wiki/it%27s"},
        {1221, u"x y", 0, 2, "https://www.onelook.com/?w=report"},  // 1 or 2 selected: the left panel
        {1210, u"", 0, 0, ""},
        {1210, u"_ _", 0, 3, search},                               // blanks only: the bare address
        {1215, u"\t x", 0, 0, "https://en.wikipedia.org/wiki/%09"},  // a tab is no blank
        {1311, u"big cat", 0, 7, "https://d.example/?a=big%20cat&b=big%20cat"},
        {1316, u"big cat", 0, 7, ""},
        {1214, u"one\rtwo\r\rthree, \"x\"_y\r\r\rz", 0, -1,
         "https://translate.google.com/?sl=en&tl=bg#en|bg|one%20two%0A%0Athree%2C%20%27x%27%20y%0A%0A%20z"},
        {1313, u"ab cd", 0, 2, ""},  // an empty template
        {1214, u"ab cd", 0, 2, ""},  // too short to translate
    };
    open();
    for (const auto& [id, text, from, to, address] : cases) {
        SCOPED_TRACE(address);
        RE_SetEventMask(hBigReRight, 0);  // no check run
        RE_SetTextW(hBigReRight, text);
        RE_SetSel(hBigReRight, CHARRANGE{from, to});
        RE_SetTextW(hBigReLeft, u"report line\rsecond");
        hReFocus = hBigReRight;
        hs->shell_opened.clear();
        headless_click(hBig, id);
        EXPECT_EQ(hs->shell_opened, address.empty() ? std::vector<std::string>{} : std::vector{address});
    }
    ASSERT_EQ(hs->message_boxes.size(), 2u);
    EXPECT_EQ(hs->message_boxes[0].text, u"No link associated with this button, please put some link in settings.txt");
    EXPECT_EQ(hs->message_boxes[1].text, u"Първо изберете текст!");
}

TEST_F(CheckerWeb, HugeLookUpTexts) {
    OP[OPT_LINK1].text_value = "https://d.example/?a=XXXXX&b=XXXXX";
    const std::string search = "https://www.google.com/search?num=100&hl=en&q=";
    const std::string wiki = "https://en.wikipedia.org/wiki/";
    std::u16string phrase;
    while (phrase.size() < 600) phrase += u"дума ";
    struct Case {
        int id;
        std::u16string text;
        CHARRANGE sel;
        std::string starts, ends;  // the address's fixed parts
    };
    const std::vector<Case> cases{
        {1215, std::u16string(200'000, u'a') + u" next", {0, 0}, wiki, ""},   // a huge first word
        {1209, phrase, {0, 600}, search + "%22", "%22&lr=lang_bg"},          // cut inside a phrase
        {1216, phrase, {0, 600}, "https://www.google.com/search?num=100&hl=en&safe=off&q=%22", "%22+site%3Anytimes.com"},
        {1311, std::u16string(3'000, u'z'), {0, 0}, "https://d.example/?a=", ""},
    };
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        RE_SetEventMask(hBigReRight, 0);
        RE_SetTextW(hBigReRight, c.text);
        RE_SetSel(hBigReRight, c.sel);
        hReFocus = hBigReRight;
        hs->shell_opened.clear();
        headless_click(hBig, c.id);
        ASSERT_EQ(hs->shell_opened.size(), 1u);
        const std::string& a = hs->shell_opened[0];
        EXPECT_LE(a.size(), 1'024u);
        EXPECT_GE(a.size(), 1'024u - 5);  // cut by one character at most (six escapes for a Cyrillic letter)
        EXPECT_TRUE(a.starts_with(c.starts)) << a.substr(0, 80);
        EXPECT_TRUE(a.ends_with(c.ends)) << a.substr(a.size() - 40);
        EXPECT_EQ(a.find("%D0%22"), std::string::npos);  // no letter cut in half before the quote
    }
    // Both places of a template hold the same cut text.
    RE_SetTextW(hBigReRight, std::u16string(3'000, u'z'));
    RE_SetSel(hBigReRight, CHARRANGE{0, 0});
    hs->shell_opened.clear();
    headless_click(hBig, 1311);
    ASSERT_EQ(hs->shell_opened.size(), 1u);
    const std::string& a = hs->shell_opened[0];
    const std::size_t b = a.find("&b=");
    ASSERT_NE(b, std::string::npos);
    EXPECT_EQ(a.substr(b + 3), a.substr(21, b - 21));
}

TEST_F(CheckerWeb, WhenTheDesktopCannotOpenItTheUserIsToldWhat) {
    data.write_raw("help_spellchecker.html", "<html></html>");
    start_dir = data.path();
    open();
    RE_SetEventMask(hBigReRight, 0);
    RE_SetTextW(hBigReRight, u"apple pie");
    RE_SetSel(hBigReRight, CHARRANGE{0, 5});
    hReFocus = hBigReRight;
    hs->shell_open_fails = true;
    const std::vector<std::pair<int, std::string>> cases{
        {1210, "https://www.google.com/search?num=100&hl=en&q=apple"},
        {1214, "https://translate.google.com/?sl=en&tl=bg#en|bg|apple"},
        {9223, "https://www.google.com/search?num=100&hl=en&q=%22JUX%20Spell%20Checker%22"},
        {9224, (start_dir / "help_spellchecker.html").string()},
    };
    for (const auto& [id, address] : cases) {
        SCOPED_TRACE(id);
        hs->message_boxes.clear();
        if (id >= 9000)
            headless_menu(hBig, id);
        else
            headless_click(hBig, id);
        ASSERT_EQ(hs->message_boxes.size(), 1u);
        EXPECT_EQ(utf16_to_utf8(hs->message_boxes[0].text),
                  "Cannot open " + address +
                      "\r\n\r\nThis computer has no program that opens it (for a web address: a web browser).");
        EXPECT_EQ(hs->message_boxes[0].caption, u"Oops!");
        EXPECT_EQ(hs->message_boxes[0].owner, hMain);
    }
    // A translator's address of a megabyte is named by its beginning.
    RE_SetTextW(hBigReRight, std::u16string(100'000, u'x'));
    RE_SetSel(hBigReRight, CHARRANGE{0, -1});
    hs->message_boxes.clear();
    headless_click(hBig, 1214);
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_LT(hs->message_boxes[0].text.size(), 500u);
}

}  // namespace
