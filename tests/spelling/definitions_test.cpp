// The definition cut and the definitions of the suggested words of a report line.
#include "bg_fixture.h"
#include "spelling/definitions.h"

namespace {

// Shortens a copy of `def` and checks that the text itself is left alone.
std::string shorten(const std::string& def, std::size_t hard_limit, DefCutRecord& rec) {
    const std::string before = def;
    const std::string shown(shorten_definition(def, rec, hard_limit));
    EXPECT_EQ(def, before);
    return shown;
}

}  // namespace

class DefinitionCutTest : public BgTest {};

TEST_F(DefinitionCutTest, ZeroLimitNeverCuts) {
    gl_MAX_DEFINITION_LENGTH = 0;
    const std::string def(5000, 'a');
    DefCutRecord rec;
    const std::string_view shown = shorten_definition(def, rec, 10);
    EXPECT_EQ(shown.data(), def.data());
    EXPECT_EQ(shown.size(), def.size());
    EXPECT_EQ(rec.mode, 2);
    EXPECT_EQ(rec.at, nullptr);
}

TEST_F(DefinitionCutTest, DefinitionWithinTheLimitOrWithoutBoundaryStaysWhole) {
    gl_MAX_DEFINITION_LENGTH = 10;
    DefCutRecord rec;
    EXPECT_EQ(shorten("0123456789", 8000, rec), "0123456789");
    EXPECT_EQ(rec.mode, 2);
    EXPECT_EQ(shorten(std::string(60, 'a'), 8000, rec), std::string(60, 'a'));  // no sense mark: the end
    EXPECT_EQ(rec.mode, 2);
}

TEST_F(DefinitionCutTest, CutAtASenseMark) {
    gl_MAX_DEFINITION_LENGTH = 10;
    DefCutRecord rec;
    const std::string def = "0123456789ab # second sense that is long";
    EXPECT_EQ(shorten(def, 8000, rec), "0123456789ab [28 CHARS CUT]");
    EXPECT_EQ(rec.mode, 0);
    const std::string part = "0123456789ab @ v # to follow someone closely";
    const std::string shown(shorten_definition(part, rec, 8000));
    EXPECT_EQ(shown, "0123456789ab [32 CHARS CUT]");
    EXPECT_EQ(rec.at, part.data() + 12);
}

TEST_F(DefinitionCutTest, ShortTailIsDroppedWithoutMarker) {
    gl_MAX_DEFINITION_LENGTH = 10;
    DefCutRecord rec;
    // Tails of 20 and 21 characters from the stop.
    const std::string twenty = "0123456789ab #" + std::string(18, 's');
    ASSERT_EQ(twenty.size() - 12, 20u);
    EXPECT_EQ(shorten(twenty, 8000, rec), "0123456789ab");
    EXPECT_EQ(rec.mode, 1);
    const std::string twenty_one = twenty + "s";
    EXPECT_EQ(shorten(twenty_one, 8000, rec), "0123456789ab [21 CHARS CUT]");
    EXPECT_EQ(rec.mode, 0);
}

TEST_F(DefinitionCutTest, NumberedSensesButNotDecimals) {
    gl_MAX_DEFINITION_LENGTH = 10;
    DefCutRecord rec;
    const std::string def = "0123456789 about 2.5 cm 3. the third sense, long enough to cut";
    EXPECT_EQ(shorten(def, 8000, rec), "0123456789 about 2.5 cm [39 CHARS CUT]");
    EXPECT_EQ(shorten("0123456789 ends with 2.", 8000, rec), "0123456789 ends with");  // "2." and the end
    EXPECT_EQ(rec.mode, 1);
}

TEST_F(DefinitionCutTest, HardLimit) {
    gl_MAX_DEFINITION_LENGTH = 10;
    DefCutRecord rec;
    const std::string def(100, 'a');
    EXPECT_EQ(shorten(def, 15, rec), std::string(15, 'a') + " [85 CHARS CUT]");
    EXPECT_EQ(shorten(def, 5, rec), std::string(10, 'a') + " [90 CHARS CUT]");  // below the start: cut there
}

TEST_F(DefinitionCutTest, MarkerOfAVeryLongTailIsWhole) {
    gl_MAX_DEFINITION_LENGTH = 10;
    DefCutRecord rec;
    const std::string def = std::string(10, 'a') + std::string(2'000'000, 'b');
    const std::string shown = shorten(def, 12, rec);
    EXPECT_EQ(shown, std::string(10, 'a') + "bb [1999998 CHARS CUT]");
    restore_definition(rec);
    EXPECT_EQ(rec.mode, 2);
    EXPECT_EQ(rec.at, nullptr);
    EXPECT_TRUE(rec.saved.empty());
}

class DefineSuggestionsTest : public BgTest {
protected:
    std::string out8 = "old";
    std::u16string out16 = u"old";
    void define(std::string_view line) { define_all_suggestions(line, b[B_EN_BG].entries, out8, out16); }
    std::string wide() const { return utf16_to_utf8(out16); }
};

TEST_F(DefineSuggestionsTest, LineWithoutColonGivesNothing) {
    write_list("b_en-bg", {"dog [d°g] # куче"});
    load();
    define("dgo (NO set) (NO SPELLING SUGGESTIONS)");
    EXPECT_EQ(out8, "");
    EXPECT_EQ(out16, u"");
}

TEST_F(DefineSuggestionsTest, OneLinePerSuggestedWord) {
    write_list("b_en-bg", {"dog [d°g] # куче # пес [BULK]", "god"});
    load();
    define("dgo (NO set) (suggest: dog | god | gdo) (suggest extra: 1. dog (swap g-o 2-3) (rank 5))");
    EXPECT_EQ(u8(out8),
              "-> dog [d°g] # куче # пес [BULK]\n"
              "-> god +en2, but no definition\n"
              "-> gdo +en2 -bg\n");
    EXPECT_EQ(wide(),
              "-> dog [dɔg] 1. куче 2. пес\n"
              "-> god +en2, but no definition\n"
              "-> gdo +en2 -bg\n");
}

TEST_F(DefineSuggestionsTest, EndOfTextAndClosingParenthesisEndTheWalk) {
    write_list("b_en-bg", {"dog куче", "god бог"});
    load();
    define("x: dog god");
    EXPECT_EQ(u8(out8), "-> dog куче\n-> god бог\n");
    define("x: dog)god");
    EXPECT_EQ(u8(out8), "-> dog куче\n-> god бог\n");
    define("x:");
    EXPECT_EQ(out8, "");
    define("x: (dog)");
    EXPECT_EQ(out8, "");
}

TEST_F(DefineSuggestionsTest, DefinitionsAreCutForDisplay) {
    write_list("b_en-bg", {"dog 0123456789ab # second sense that is long"});
    load();
    const std::string before(b[B_EN_BG].entries[0].rest);
    gl_MAX_DEFINITION_LENGTH = 10;
    define("x: dog");
    EXPECT_EQ(out8, "-> dog 0123456789ab [28 CHARS CUT]\n");
    EXPECT_EQ(defcut.mode, 2);  // restored
    EXPECT_EQ(std::string(b[B_EN_BG].entries[0].rest), before);
}

TEST_F(DefineSuggestionsTest, VeryLongDefinitions) {
    {
        std::ofstream f(dir / "b_en-bg.txt", std::ios::binary);
        f << "dog " << std::string(9000, 'x') << "\r\n";
    }
    load();
    gl_MAX_DEFINITION_LENGTH = 0;  // no cut: a copy of 7,999 less the word's length characters
    define("x: dog");
    EXPECT_EQ(out8, "-> dog " + std::string(7996, 'x') + "\n");
    gl_MAX_DEFINITION_LENGTH = 8500;  // a cut past the line's room: the line keeps 7,999 characters
    define("x: dog");
    ASSERT_EQ(out8.size(), 7999u);
    EXPECT_EQ(out8.substr(0, 7), "-> dog ");
    EXPECT_EQ(out8.back(), '\n');
    EXPECT_EQ(out8.substr(7, 7991), std::string(7991, 'x'));
}
