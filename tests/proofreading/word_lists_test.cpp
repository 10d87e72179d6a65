// The word lists every pass looks words up in: any case or byte for byte, in the order given.
#include <gtest/gtest.h>

#include <array>

#include "engine/proofreading/word_checks.h"
#include "proof_fixture.h"

namespace {

TEST(WordLists, LookUpsInAnyCaseOrExactly) {
    const WordList list{"Кола кола ала-бала", "Б", "аз  яйце"};
    struct Case {
        const char* word;
        bool any_case;
        bool exact;
    };
    const Case cases[] = {
        {"Кола", true, true},     {"кола", true, true},     {"КОЛА", true, false}, {"колаа", false, false},
        {"кол", false, false},    {"АЛА-БАЛА", true, false}, {"ала-бала", true, true}, {"б", true, false},
        {"Б", true, true},        {"аз", true, true},       {"яйце", true, true},   {"ЯЙЦЕ", true, false},
        {"", false, false},       {"а", false, false},      {"яйцеа", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list.has(cp(c.word)), c.any_case) << c.word;
        EXPECT_EQ(list.has_exact(cp(c.word)), c.exact) << c.word;
    }
    // The words stay in the order given, blanks only separate them.
    std::string order;
    for (const std::string& w : list.words()) order += u8(w) + "/";
    EXPECT_EQ(order, "Кола/кола/ала-бала/Б/аз/яйце/");

    static constexpr std::array<std::string_view, 3> table{"едно", "две три", "Четири"};
    const WordList from_table{std::span<const std::string_view>(table)};
    EXPECT_EQ(from_table.size(), 4u);
    EXPECT_TRUE(from_table.has(cp("ЧЕТИРИ")));
    EXPECT_TRUE(from_table.has(cp("три")));
}

// Under the Latin-only letter case rules a Cyrillic capital is another letter than its small
// letter, under the Cyrillic ones the same: the lists answer as a comparison of the words does.
TEST(WordLists, AnswerAsTheLetterCaseRulesCompare) {
    const WordList list{"Ёлка яйце Zebra a-z"};
    const char* const words[] = {"Ёлка", "ёлка", "ЁЛКА", "Яйце", "яйце", "ZEBRA", "zebra", "A-Z", "Елка", "ябълка", "zebr"};
    for (const char* locale : {"C", "Bulgarian"}) {
        set_ctype_locale(locale);
        for (const char* w : words) {
            bool any = false;
            for (const std::string& l : list.words()) any = any || cp_strcasecmp(l, cp(w)) == 0;
            EXPECT_EQ(list.has(cp(w)), any) << locale << " " << w;
        }
    }
    reset_ctype_locale();
}

}  // namespace
