// Dots, letter case inside words and Latin look-alike words.
#include "word_fixture.h"

namespace {

using DotsAndCase = WordsTest;

std::string upper(const std::string& utf8) { return u8(upper_word(cp(utf8))); }

TEST_F(DotsAndCase, DotsCaseAndLatinWords) {
    load_dict(B_BULGARIAN, {"т.н. 5"});
    const char* dot = "<интервал><точка>";
    const char* small = "<малка буква><главна буква>";
    const char* caps = "<главни букви><малка буква>";
    const char* latin = "потенциална българска дума с латински букви";
    expect({
        {"Това е думата .", dot, "<интервал><точка>\nе думата . -> е думата.\n", " ."},
        {"Думата .", dot, "<интервал><точка>\nДумата . -> Думата.\n", " ."},
        {"Това е думата ...", dot, ""},
        {"Това е думата . .", dot, "<интервал><точка>\nе думата . -> е думата.\n"},
        // Only a blank and dot that open the gap count; a line end before the word ends the context.
        {"Това е думата, .", dot, ""},
        {"Едно две\rдумата .", dot, "<интервал><точка>\nдумата . -> думата.\n"},
        {"Едно.. две.. три.. четири... пет т.н... шест", "<точка><точка>",
         "<точка><точка>  3\n.. -> . (one dot) | … (three dots)\n", "..|..|.."},
        {"Той е гОлям.", small, "<малка буква><главна буква>\nгОлям -> голям | ГОЛЯМ | Голям\n", "гОлям"},
        {"Той е гОлям.", caps, ""},
        {"Град МОСКВа.", caps, "<главни букви><малка буква>\nМОСКВа -> Москва | москва | МОСКВА\n", "МОСКВа"},
        {"Град dOG.", small, "<малка буква><главна буква>\ndOG -> dog | DOG | Dog\n"},
        {"Песен ала-бАла.", small, ""},
        {"Песен ала-бАла.", caps, ""},
        // Two letters are enough; the two letters must be of one alphabet; three for row 22.
        {"Дума аБ.", small, "<малка буква><главна буква>\nаБ -> аб | АБ | Аб\n", "аБ"},
        {"Дума аB.", small, ""},
        {"Дума ГДе.", caps, "<главни букви><малка буква>\nГДе -> Где | где | ГДЕ\n", "ГДе"},
        {"Дума ГDе.", caps, ""},
        {"Пия cok сега.", latin, "потенциална българска дума с латински букви\ncok -> сок\n"},
        {"Пия cok juice сега.", latin, ""},
        {"Пия hello сега.", latin, ""},
        {"Пия cok", latin, ""},
        {"Пия bueno сега.", latin, ""},
        {"Пия XX сега.", latin, ""},
        {"Пия BOX сега.", latin, "потенциална българска дума с латински букви\nBOX -> ВОХ\n"},
        {"Пия cok\rP>\r", latin, "потенциална българска дума с латински букви\ncok -> сок\n"},
        {"Пия cok\rP$\r", latin, "потенциална българска дума с латински букви\ncok -> сок\n"},
        {"Пия cok\rP.\r", latin, ""},
    });
    // Long words (read eight letters at a time past their start): all Latin look-alikes; an
    // apostrophe or a Cyrillic letter far inside, before a Latin word.
    const std::string coke = "cokecokecokecokecokecokecokecoke";
    std::string found_coke = std::string(latin) + "\n" + coke + " ->";
    for (int i = 0; i < 8; ++i) found_coke += i ? "соке" : " соке";
    found_coke += "\n";
    const std::string found_cok = std::string(latin) + "\ncok -> сок\n";
    expect({{("Пия " + coke + " сега.").c_str(), latin, found_coke.c_str()},
            {("Пия " + coke.substr(0, 20) + "'" + coke + " cok сега.").c_str(), latin, ""},
            {("Пия " + coke.substr(0, 20) + "ж" + coke + " cok сега.").c_str(), latin, found_cok.c_str()}});
    // A word of 63 characters is looked at, one of 64 is beyond the case passes' buffers.
    std::string l61;
    for (int i = 0; i < 61; ++i) l61 += "л";
    const std::string w63 = "гО" + l61, w64 = w63 + "л";
    const std::string found = std::string(small) + "\n" + w63 + " -> го" + l61 + " | ГО" + upper(l61) + " | Го" + l61 + "\n";
    expect({{("Думата " + w63).c_str(), small, found.c_str()}, {("Думата " + w64).c_str(), small, ""}});
}

TEST_F(DotsAndCase, LookAlikeMapHoldsTwentySixLetters) {
    EXPECT_EQ(look_alikes.size(), 26u);
    std::string latin, cyrillic;
    for (const LookAlike& l : look_alikes) {
        latin += l.latin;
        cyrillic += l.cyrillic;
    }
    EXPECT_EQ(latin, "aAeEoObBcCHruUkKmMnpPTxXyY");
    EXPECT_EQ(cyrillic, "аАеЕоОвВсСНгиИкКтМпрРТхХуУ");
}

}  // namespace
