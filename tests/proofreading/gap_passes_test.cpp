// The passes over the single gap between two tokens: a blank before an ellipsis, a bare em dash,
// quotation mark, ellipsis or three dots between two words, and dialogue lines with a hyphen.
#include "proof_fixture.h"

namespace {

using GapPasses = ProofTest;

TEST_F(GapPasses, FindingsAndSourceMarks) {
    struct Case {
        const char* text;
        const char* title;
        const char* block;   // title and findings, '\n' after each; "" when the pass finds nothing
        const char* marked;  // the underlined source characters, runs joined by '|'
    };
    const Case cases[] = {
        {"Да …не.", "<интервал><многоточие>", "<интервал><многоточие>\nДа … -> Да…\n", " …"},
        {"Да\r …не.", "<интервал><многоточие>", "<интервал><многоточие>\n … -> …\n", " …"},
        {"Да, …не.", "<интервал><многоточие>", "<интервал><многоточие>\nДа, …не -> no suggestions\n", " …"},
        {"Да — …не.", "<интервал><многоточие>", "", ""},
        {"ден—нощ", "слепено m-тире", "слепено m-тире\nден—нощ -> ден — нощ | ден–нощ (ndash)\n", "ден—нощ"},
        {"ден — нощ", "слепено m-тире", "", ""},
        {"каза\"да", "слепени кавички", "слепени кавички\nказа\"да -> каза\" да | каза \"да\n", "каза\"да"},
        {"каза„да", "слепени кавички", "слепени кавички\nказа„да -> каза„ да | каза „да\n", "каза„да"},
        {"каза…да", "слепено многоточие", "слепено многоточие\nказа…да -> каза… да\n", "каза…да"},
        {"каза… да", "слепено многоточие", "", ""},
        {"каза...да", "слепено многоточие (три точки)",
         "слепено многоточие (три точки)\nказа...да -> каза... да (три точки) | каза… да (многоточие)\n", "каза...да"},
        {"каза... да", "слепено многоточие (три точки)", "", ""},
        {"Той:\r-къде?", "<нов ред><тире><буква>", "<нов ред><тире><буква>\n-къде -> - Къде\n", "-к"},
        {"Той:\r-Къде?", "<нов ред><тире><буква>", "<нов ред><тире><буква>\n-Къде -> - Къде\n", "-К"},
        {"Той:\r- къде?", "<нов ред><тире><интервал><малка буква>",
         "<нов ред><тире><интервал><малка буква>\n- къде -> - Къде\n", "- к"},
        {"Той:\r- Къде?", "<нов ред><тире><интервал><малка буква>", "", ""},
        // The first record is never the current one of the pair passes.
        {"…да и то", "<интервал><многоточие>", "", ""},
    };
    for (const Case& c : cases) {
        const std::string r = proof(c.text);
        EXPECT_EQ(pass_block(r, u8(cp(c.title))), u8(cp(c.block))) << c.text << "\n" << lines(r);
        if (*c.block) {
            EXPECT_EQ(marked(), c.marked) << c.text;
        }
    }
}

}  // namespace
