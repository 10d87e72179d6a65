// The word passes on texts that end inside a pattern and on words longer than every buffer; and the
// token index the щ/ш pass leaves behind after a whole run.
#include <algorithm>

#include "shell/token_frequency_index.h"
#include "word_fixture.h"

namespace {

using WordPassesBadInput = WordsTest;

TEST_F(WordPassesBadInput, TextsEndingInsideAPatternAndOverlongWords) {
    const std::pair<const char*, const char*> ends[] = {
        {"Дойде с", "с -> със"}, {"Дойде със", "със -> с"}, {"Дойде във", "във -> в"}, {"Дойде в", "в -> във"},
        {"Стана по", "сравнителна"}, {"Стана не-\r", "слепено опашно тире"}, {"Пия cok", "латински букви"},
    };
    for (auto [text, title] : ends) EXPECT_EQ(proof(text).find(title), std::string::npos) << text;

    // The word copies set limits: names up to 63 characters, щ/ш words up to 127, Latin words are
    // mapped up to 1,023; the repeated-word pass has none.
    auto word = [](const char* first, int n, const char* letter, const char* last) {
        std::string w = first;
        for (int i = 0; i < n; ++i) w += letter;
        return w + last;
    };
    const std::string name63 = word("с", 62, "а", ""), name64 = word("с", 63, "а", "");
    const std::string sh127 = word("", 126, "а", "ш"), sh128 = word("", 127, "а", "ш");
    const std::string latin = word("", 2000, "a", ""), rep = word("", 100, "дума", "");
    load_forms({name63 + " x 459 0", name64 + " x 459 0", sh127 + " x 228 5", sh128 + " x 228 5"});
    load_dict(B_BULGARIAN, {sh127, sh128, word("", 126, "а", "щ"), word("", 127, "а", "щ")});
    const std::pair<std::string, std::string> found[] = {
        {"Той " + name63 + ".", name63 + " -> С"},
        {"Той " + name64 + ".", ""},
        {"Той " + sh127 + ".", sh127 + " -> "},
        {"Той " + sh128 + ".", ""},
        {"Пия " + latin + " сега.", latin + " -> " + word("", 1023, "а", "") + "\r"},
        {"Ето " + rep + " " + rep + ".", " " + rep + " " + rep + " -> "},
    };
    for (const auto& [text, line] : found) {
        const std::string r = proof(text);
        if (line.empty()) EXPECT_EQ(r.find(text.substr(7, text.size() - 8) + " -> "), std::string::npos) << text.size();
        else EXPECT_NE(r.find(line), std::string::npos) << text.size();
    }
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
