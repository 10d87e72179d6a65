// The look-up at the caret reads the token stores that the engine's runs fill: store R for the
// checker's text panel, store 2 for the Bulgarian-text window's panel.
#include <gtest/gtest.h>

#include "engine/bg_text_pass.h"
#include "engine_fixture.h"
#include "lexicon/display.h"

namespace {

class CaretStore : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        make_stores();
        DialogTemplate t;
        t.caption = u"Bulgarian text";
        t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
        t.controls = {{ControlKind::RichEdit, 501, u"", 5, 5, 280, 150, kChild | ES_MULTILINE},
                      {ControlKind::Label, 502, u"", 5, 160, 280, 10, kChild}};
        hBgText = CreateDialogIndirect(t, HWND{}, [](HWND, const Msg&) -> INT_PTR { return 0; });
        hBgTextRe = GetDlgItem(hBgText, 501);
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
    const struct {
        bool bulgarian;  // the Bulgarian-text window's panel, else the checker's
        const char* text;
        LONG pos;
        const char* want;
    } cases[] = {
        {false, "see e.g. this", 5, "e.g"},  {false, "see e.g. this", 9, "this"},
        {false, "pi is 3.14, ok", 7, "3.14"}, {false, "pi is 3.14, ok", 10, "3.14"},
        {true, "виж 3.14 тук", 6, "3.14"},   {true, "виж 3.14 тук", 10, "тук"},
        {true, "и т.н. край", 3, "т.н"},
    };
    for (const auto& c : cases) {
        const HWND panel = c.bulgarian ? hBgTextRe : hBigReRight;
        if (c.bulgarian) {
            RE_SetTextW(hBgTextRe, utf8_to_utf16(c.text));
            std::string work;
            translate_bgtext(hBgTextRe, GetDlgItem(hBgText, 502), work);
        } else {
            check(c.text);
        }
        EXPECT_EQ(looked_up(panel, c.pos), c.want) << c.text << " at " << c.pos;
    }
    // A later run over the main window's entry box leaves store R describing the checker's text.
    check("see e.g. this");
    Button_SetCheck(hAddSentence, BST_CHECKED);
    type_entry("other words here");
    EXPECT_EQ(looked_up(hBigReRight, 6), "e.g");
    // The checker's text changed since its run: the word at the caret as it stands now.
    RE_SetTextW(hBigReRight, u"xx see e.g. this");
    EXPECT_EQ(looked_up(hBigReRight, 8), "e");
}

}  // namespace
