// The word passes on texts that end inside a pattern and on words longer than every buffer; and the
// token index the щ/ш pass leaves behind after a whole run.
#include <algorithm>

#include "shell/gmake.h"
#include "word_fixture.h"

namespace {

using WordPassesBadInput = WordsTest;

TEST_F(WordPassesBadInput, TextsEndingInsideAPatternAndOverlongWords) {
    load_forms({"пишеш пиша 228 5"});
    std::string sh(300, '\xF8');  // ш
    sh = u8(sh);
    std::string latin(2000, 'a');
    std::string rep;
    for (int i = 0; i < 100; ++i) rep += "дума";
    struct Case {
        std::string text;
        const char* absent;  // a title that must not be in the report
    };
    const Case cases[] = {
        {"Дойде с", "с -> със"},
        {"Дойде със", "със -> с"},
        {"Дойде във", "във -> в"},
        {"Дойде в", "в -> във"},
        {"Стана по", "сравнителна"},
        {"Стана не-\r", "слепено опашно тире"},
        {"Пия cok", "латински букви"},
        {"Текст " + sh + " " + sh, "ш -> щ"},
        {"Ето " + rep + " " + rep, "разкъсана"},
    };
    for (const Case& c : cases) {
        const std::string r = proof(c.text);
        EXPECT_EQ(r.find(c.absent), std::string::npos) << c.text << "\n" << lines(r);
    }
    // Words longer than the copies still get their findings where no buffer limits the pass.
    const std::string r = proof("Ето " + rep + " " + rep + ".");
    EXPECT_NE(r.find(" " + rep + " " + rep + " -> "), std::string::npos);
    const std::string l = proof("Пия " + latin + " сега.");
    const std::string mapped = u8(std::string(1023, '\xE0'));
    EXPECT_NE(l.find(latin + " -> " + mapped + "\r"), std::string::npos);
}

TEST_F(WordPassesBadInput, TheTokenIndexIsTakenOverOnlyByAPassThatFinds) {
    load_forms({"пишеш пиша 228 5"});
    load_dict(B_BULGARIAN, {"пишеш", "пишещ", "той", "тя"});
    gl_CHECK_PUNCTUATION = 1;
    // Passes that find nothing leave the unknown words the run counted for its word list.
    check("Той чете. Тя чете. Ззз.");
    EXPECT_TRUE(last_run.steps & RUN_PROOF_READER);
    FinishGmake();
    ASSERT_EQ(g_nd - g_floor, 2);  // "чете" and "Ззз"
    EXPECT_NE(std::find_if(g_floor, g_nd, [](const GRecord& g) { return u8(std::string(g.name)) == "Ззз"; }), g_nd);
    // A pass that finds counts its own findings there; the summary is made from them.
    check("Той пишеш. Тя пишеш. Ззз.");
    EXPECT_NE(lines(panel8(hBigReLeft)).find("ОБОБЩЕНИЕ НА 1 ПОТЕНЦИАЛНИ ГРЕШКИ: Ш -> Щ (2 срещания):"), std::string::npos);
    ASSERT_EQ(g_nd - g_floor, 1);
    EXPECT_EQ(u8(std::string(g_floor->name)), "пишеш");
    EXPECT_EQ(g_floor->count, 2u);
}

}  // namespace
