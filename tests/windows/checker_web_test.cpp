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

}  // namespace
