// Texts the proof-reader must survive: only separators, NUL bytes, tags that never close or never
// open, a text that ends inside a pattern, one long paragraph.
#include "proof_fixture.h"

namespace {

using BadInput = ProofTest;

TEST_F(BadInput, OddTextsAreReadWithoutCrashOrStrayFindings) {
    gl_NOVEL_MODE = 1;
    struct Case {
        std::u16string text;
        const char* must_hold;  // a line the report must hold ("" for none)
    };
    const Case cases[] = {
        {u"..., —— «» \r\r —\r", ""},
        {u"\r\r\r", ""},
        {std::u16string(u"една\0, .\0две", 13), "<запетая><интервал><точка>  1"},
        {u"P>\r«а\rб\r", ""},
        {u"P$\r«а\rб\r", "«а -> « »  1 и 0 пъти"},
        {u"I$\rа -", ""},
        {u"една —", ""},
        {u"една, .", "<запетая><интервал><точка>  1"},
        {u"—", ""},
    };
    for (const Case& c : cases) {
        check16(c.text);
        gl_CHECK_PUNCTUATION = 1;
        const std::string r = lines(panel8(hBigReLeft));
        if (*c.must_hold) {
            EXPECT_NE(r.find(u8(cp(c.must_hold))), std::string::npos) << utf16_to_utf8(c.text) << "\n" << r;
        }
    }
}

TEST_F(BadInput, OneLongParagraphIsCutOnlyInItsContext) {
    gl_NOVEL_MODE = 1;
    std::string text = "(";
    for (int i = 0; i < 20000; ++i) text += "дума, . ";
    text += "край";
    const std::string r = lines(proof(text));
    EXPECT_NE(r.find(u8(cp("<запетая><интервал><точка>  20000"))), std::string::npos);
    EXPECT_NE(r.find(u8(cp("(дума, . дума, . дума, .  -> ( )  1 и 0 пъти"))), std::string::npos);
}

}  // namespace
