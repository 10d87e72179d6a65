// The look-up at the caret reads the token stores that the engine's runs fill: store R for the
// checker's text panel, store 2 for the Bulgarian-text window's panel.
#include <gtest/gtest.h>

#include "engine/run/bg_text_pass.h"
#include "engine_fixture.h"
#include "lexicon/display.h"

namespace {

class CaretStore : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        make_stores();
    }
    // The word the look-up at `pos` of `panel` wrote (the first line of the checker's left panel).
    std::string looked_up(HWND panel, LONG pos) {
        RE_SetSel(panel, CHARRANGE{pos, pos});
        GetCleanToken(panel, 1);
        const std::string t = u8(RE_GetTextEx(hBigReLeft, CP_1251));
        return t.substr(0, t.find('\r'));
    }
};

TEST_F(CaretStore, TheCheckersPanelAndTheBulgarianTextPanelAreReadThroughTheirStores) {
    hBgTextRe = hAddReShort3;  // a panel of its own for the Bulgarian-text pass
    const struct {
        bool bulgarian;  // the Bulgarian-text panel, else the checker's
        const char* text;
        LONG pos;
        const char* want;
    } cases[] = {
        {false, "see e.g. this", 5, "e.g"}, {false, "pi is 3.14, ok", 10, "3.14"},
        {true, "виж 3.14 тук", 6, "3.14"},  {true, "и т.н. край", 3, "т.н"},
    };
    for (const auto& c : cases) {
        const HWND panel = c.bulgarian ? hBgTextRe : hBigReRight;
        RE_SetTextW(panel, utf8_to_utf16(c.text));
        std::string work;
        if (c.bulgarian) translate_bgtext(hBgTextRe, hAddLabel, work);
        else run_checker();
        EXPECT_EQ(looked_up(panel, c.pos), c.want) << c.text << " at " << c.pos;
    }
    // A later run over the entry box leaves store R describing the checker's text; a text changed
    // since its run is read as it stands.
    check("see e.g. this");
    Button_SetCheck(hAddSentence, BST_CHECKED);
    type_entry("other words here");
    EXPECT_EQ(looked_up(hBigReRight, 6), "e.g");
    RE_SetTextW(hBigReRight, u"xx see e.g. this");
    EXPECT_EQ(looked_up(hBigReRight, 8), "e");
}

}  // namespace
