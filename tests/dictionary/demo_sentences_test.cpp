// Ordinary English and Bulgarian sentences checked over the demonstration lexicon raise no false
// alarm, and a real misspelling among them is still marked.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/run/run.h"
#include "engine/run/token_report.h"
#include "shell/settings.h"
#include "shell/token_frequency_index.h"
#include "tests/dictionary/main_window_fixture.h"

namespace {

class DemoSentences : public MainWindowTest {
protected:
    HWND text{};  // the checked panel: unknown words are coloured in it

    void SetUp() override {
        MainWindowTest::SetUp();
        open();
        gl_CHECK_PUNCTUATION = 0;  // the proof-reader's marks are its own tests' matter
        text = PL_CreateControl(hMain, ControlKind::RichEdit, 4343, u"", RECT{0, 0, 400, 100}, WS_CHILD | ES_MULTILINE);
    }

    // Checks a sentence as the text checker does and returns the words it marked as unknown: the
    // words of the token indexes of unknown Bulgarian and English words, and every word coloured
    // as unknown in the checked panel (single letters are only coloured).
    std::vector<std::string> marked(std::string_view utf8) {
        RE_SetTextW(text, utf8_to_utf16(utf8));
        translate_panel(hMain, text, hAddReShort3, hAddLabel, "demo");
        std::vector<std::string> out;
        FinishGmake();
        for (const GRecord* r = g_floor; r < g_nd; ++r) out.push_back(u8(r->name));
        FinishGmake3(1);
        for (const GRecord* r = g_floor3[1]; r < g_nd3[1]; ++r) out.push_back(u8(r->name));
        const std::u16string t = RE_GetTextW(text);
        for (std::size_t i = 0; i < t.size(); ++i) {
            const COLORREF c = RE_GetCharFormatAt(text, static_cast<LONG>(i)).crTextColor;
            if (c != kColUnknown && c != kColUnknownCap) continue;
            std::size_t j = i;
            while (j < t.size() && RE_GetCharFormatAt(text, static_cast<LONG>(j)).crTextColor == c) ++j;
            const std::string word = utf16_to_utf8(t.substr(i, j - i));
            if (std::find(out.begin(), out.end(), word) == out.end()) out.push_back(word);
            i = j;
        }
        return out;
    }
};

TEST_F(DemoSentences, OrdinarySentencesPassAndAMisspellingIsMarked) {
    ASSERT_EQ(gl_TEXT_COLORING, 1);
    ASSERT_EQ(gl_PARSE_LATIN_WORDS, 1);
    struct Case {
        const char* sentence;
        std::vector<std::string> unknown;
    };
    const Case cases[] = {
        {"the big house is red", {}},
        {"I have two children and they go to school every day.", {}},
        {"She said that it was a good idea, but we didn't know what to do.", {}},
        {"My mother doesn't like coffee; my father drinks it every morning.", {}},
        {"We went home after work and read a book about the history of the city.", {}},
        {"Can you tell me where the station is? I think it's near the river.", {}},
        {"Къщата е голяма и червена.", {}},
        {"Децата ходят на училище всеки ден.", {}},
        {"Аз искам да прочета тази книга утре.", {}},
        {"Той живее в малко село близо до морето.", {}},
        {"Вчера видях моя приятел на гарата и му казах, че ще дойда.", {}},
        {"Ние говорим български, а те разбират английски.", {}},
        {"Можеш ли да ми кажеш колко е часът?", {}},
        {"Времето беше хубаво и хората седяха навън.", {}},
        // A real misspelling among known words is still marked, and only it.
        {"the big hous is red", {"hous"}},
        {"Къщата е голма и червена.", {"голма"}},
    };
    for (const Case& c : cases) EXPECT_EQ(marked(c.sentence), c.unknown) << c.sentence;
}

}  // namespace
