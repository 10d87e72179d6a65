// Text routines and comparators at their edges.
#include <cstring>
#include <vector>

#include "shell/lists.h"
#include "shell/strings.h"
#include "shell/token_frequency_index.h"
#include "shell_test_util.h"

namespace {

using StringsTest = ShellTest;

TEST_F(StringsTest, ReplaceSubstringKeepsTheSourceWhenNothingMatches) {
    std::string dest = "old";
    replace_substring("a cat and a cat", dest, "cat", "dog");
    EXPECT_EQ(dest, "a dog and a dog");
    replace_substring("a cat", dest, "bird", "dog");
    EXPECT_EQ(dest, "a cat");
    replace_substring("a cat", dest, "", "dog");  // an empty search text matches nothing
    EXPECT_EQ(dest, "a cat");
    replace_substring("aaaa", dest, "aa", "a");  // occurrences do not overlap
    EXPECT_EQ(dest, "aa");
    replace_substring("xx", dest, "x", "");
    EXPECT_EQ(dest, "");
}

TEST_F(StringsTest, ReplaceSubstringWLeavesTheDestinationEmptyWhenNothingMatches) {
    std::u16string dest = u"old";
    replace_substringW(u"една котка", dest, u"котка", u"куче");
    EXPECT_EQ(dest, u"една куче");
    replace_substringW(u"една котка", dest, u"птица", u"куче");
    EXPECT_TRUE(dest.empty());
    dest = u"old";
    replace_substringW(u"една котка", dest, u"", u"куче");
    EXPECT_TRUE(dest.empty());
}

TEST_F(StringsTest, GetNthTokenA) {
    std::string w;
    EXPECT_EQ(Get_Nth_TokenA(1, "  first, second third", w, 64), 1);
    EXPECT_EQ(w, "first");
    EXPECT_EQ(Get_Nth_TokenA(2, "  first, second third", w, 64), 1);
    EXPECT_EQ(w, "second");
    EXPECT_EQ(Get_Nth_TokenA(3, "  first, second third", w, 64), 1);
    EXPECT_EQ(w, "third");
    EXPECT_EQ(Get_Nth_TokenA(2, "first second", w, 4), 1);  // cut to size - 1
    EXPECT_EQ(w, "sec");
    EXPECT_TRUE(headless().message_boxes.empty());
}

TEST_F(StringsTest, GetNthTokenAWithTooFewWordsShowsItsMessage) {
    std::string w = "stale";
    EXPECT_EQ(Get_Nth_TokenA(3, "one two   ", w, 64), 0);
    EXPECT_EQ(w, "");
    ASSERT_EQ(headless().message_boxes.size(), 1u);
    EXPECT_EQ(headless().message_boxes[0].text, u"Няма толкова думи в дефиницията. Опитайте пак.\n\none two   ");
    EXPECT_EQ(headless().message_boxes[0].caption, u"Oops!");
    EXPECT_EQ(Get_Nth_TokenA(1, "", w, 64), 0);
    EXPECT_EQ(Get_Nth_TokenA(0, "one", w, 64), 0);
    EXPECT_EQ(headless().message_boxes.size(), 3u);
}

TEST_F(StringsTest, MyStrcasestrWordAtTheEdges) {
    const std::string text = cp("Котка и куче, котка");
    EXPECT_EQ(my_strcasestr_word(text, cp("котка")), 0u);  // at the start
    EXPECT_EQ(my_strcasestr_word(text, cp("КУЧЕ")), 8u);
    EXPECT_EQ(my_strcasestr_word(cp("котката и котка"), cp("котка")), 10u);  // skips the longer word
    EXPECT_EQ(my_strcasestr_word(cp("мокотка"), cp("котка")), std::string::npos);
    EXPECT_EQ(my_strcasestr_word("dog", "dog"), 0u);  // the whole text
    EXPECT_EQ(my_strcasestr_word("hotdog", "dog"), std::string::npos);  // at the end, glued
    EXPECT_EQ(my_strcasestr_word("hot dog", "DOG"), 4u);  // at the end
    EXPECT_EQ(my_strcasestr_word("dog2 dog", "dog"), 0u);  // a digit is no letter
    EXPECT_EQ(my_strcasestr_word("do", "dog"), std::string::npos);
    EXPECT_EQ(my_strcasestr_word("dog", ""), std::string::npos);
    EXPECT_EQ(my_strcasestr_word("", "dog"), std::string::npos);
}

TEST_F(StringsTest, CapitalizeAllFirst) {
    EXPECT_EQ(capitalize_all_first("word | other | third"), "Word | Other | Third");
    EXPECT_EQ(capitalize_all_first(cp("котка | куче")), cp("Котка | Куче"));
    EXPECT_EQ(capitalize_all_first("a |"), "A |");  // no character two places after the bar
    EXPECT_EQ(capitalize_all_first(""), "");
    std::string long_text(600, 'a');
    long_text[510] = '|';
    long_text[512] = 'b';  // beyond the cut: gone
    std::string out = capitalize_all_first(long_text);
    EXPECT_EQ(out.size(), 511u);
    EXPECT_EQ(out[0], 'A');
    EXPECT_EQ(out.back(), '|');
    long_text[510] = 'a';
    long_text[508] = '|';
    EXPECT_EQ(capitalize_all_first(long_text)[510], 'A');
}

TEST_F(StringsTest, NumberTests) {
    EXPECT_EQ(IsNumber("12.5"), 1);
    EXPECT_EQ(IsNumber("1,000-2:30"), 1);
    EXPECT_EQ(IsNumber("1\x96" "2"), 1);  // en dash
    EXPECT_EQ(IsNumber("12a"), 0);
    EXPECT_EQ(IsNumber("1 2"), 0);
    EXPECT_EQ(IsDigitsOnly(""), 1);
    EXPECT_EQ(IsDigitsOnly("123-45"), 1);
    EXPECT_EQ(IsDigitsOnly("12.5"), 0);
    EXPECT_EQ(IsDigitsOnly("\x96"), 0);
}

TEST_F(StringsTest, WordCounts) {
    EXPECT_EQ(GetWordCountA("one"), 1);
    EXPECT_EQ(GetWordCountA("one two"), 2);
    EXPECT_EQ(GetWordCountA("one  _ two_three"), 3);
    EXPECT_EQ(GetWordCountA("one "), 1);  // runs at the ends separate no words
    EXPECT_EQ(GetWordCountA(" one_ "), 1);
    EXPECT_EQ(GetWordCountA(""), 1);

    std::uint64_t out = 99;
    const std::string text = cp("It's a well-known fact: 42 котки, по-добре!  ");
    EXPECT_EQ(get_token_count_in_string(text, &out), 7u);
    EXPECT_EQ(out, 7u);
    EXPECT_EQ(text, cp("It's a well-known fact: 42 котки, по-добре!  "));  // unchanged
    EXPECT_EQ(get_token_count_in_string("-- ' -"), 0u);
    EXPECT_EQ(get_token_count_in_string(""), 0u);

    // A run of letters broken at every place across its eight-letter steps: a blank splits it, a
    // hyphen or an inner mark between letters joins, a Cyrillic letter or a digit is part of it.
    const struct {
        char mark;
        std::uint64_t words;
    } breaks[] = {{' ', 2}, {'-', 1}, {',', 1}, {'\xE4', 1}, {'7', 1}};
    for (const auto& b : breaks)
        for (std::size_t k = 1; k + 1 < 20; ++k) {
            std::string run(20, 'q');
            run[k] = b.mark;
            EXPECT_EQ(get_token_count_in_string(run), b.words) << k << " " << b.mark;
        }
    EXPECT_EQ(get_token_count_in_string(std::string(17, 'q') + " 'a"), 2u);

    // Runs of Cyrillic, Latin, digits, joiners and other marks, long and short, counted as a walk
    // of the text character by character counts them (the count as it was before the runs were
    // passed over by classes and eight letters at a time).
    auto one_by_one = [](std::string_view t) {
        auto word = [](unsigned char c) { return cp_islatin(c) || cp_iscyrillic(c) || cp_isdigit(c); };
        std::uint64_t n = 0;
        bool in = false;
        for (std::size_t i = 0; i < t.size(); ++i) {
            const auto c = static_cast<unsigned char>(t[i]);
            if (word(c)) n += in ? 0 : 1, in = true;
            else if (!(in && std::strchr("'`\x91\x92-.,;:?!", c) && i + 1 < t.size() &&
                       word(static_cast<unsigned char>(t[i + 1]))))
                in = false;
        }
        return n;
    };
    std::vector<std::string> pieces = {"\xE6", "\xC0", "\xA8", "\x92", "\r\n", "\x96", "\x84"};
    for (char c = ' '; c <= '~'; ++c) pieces.emplace_back(1, c);  // every printable ASCII byte
    std::uint32_t seed = 12345;
    for (int round = 0; round < 400; ++round) {
        std::string t;
        while (t.size() < 120) {
            seed = seed * 1664525u + 1013904223u;
            const std::string& p = pieces[(seed >> 8) % pieces.size()];
            for (std::uint32_t k = 1 + ((seed >> 16) % 4 == 0 ? (seed >> 20) % 40 : 0); k > 0; --k) t += p;
        }
        EXPECT_EQ(get_token_count_in_string(t), one_by_one(t)) << round;
    }
}

TEST_F(StringsTest, Blanks) {
    std::string s = "   a   b  c  ";
    remove_extra_spaces(s);
    EXPECT_EQ(s, "a b c");
    s = "\ta  b";  // only blanks are touched
    remove_extra_spaces(s);
    EXPECT_EQ(s, "\ta b");
    s = "    ";
    remove_extra_spaces(s);
    EXPECT_EQ(s, "");
    std::u16string w = u"  две   думи ";
    remove_extra_spacesW(w);
    EXPECT_EQ(w, u"две думи");
    s = "   x  y ";
    remove_leading_spaces(s);
    EXPECT_EQ(s, "x  y ");
    s = "\t x";
    remove_leading_spaces(s);
    EXPECT_EQ(s, "\t x");
    s = "     ";
    remove_leading_spaces(s);
    EXPECT_EQ(s, "");
}

TEST_F(StringsTest, HexLabelAndBits) {
    char label[3] = {'x', 'x', 'x'};
    ByteToHexLabel(0xAF, label);
    EXPECT_STREQ(label, "AF");
    ByteToHexLabel(0x05, label);
    EXPECT_STREQ(label, "05");

    std::string bits(2, '\0');
    set_bit_in_string(bits, 1);
    set_bit_in_string(bits, 8);
    set_bit_in_string(bits, 9);
    EXPECT_EQ(static_cast<unsigned char>(bits[0]), 0x81);
    EXPECT_EQ(static_cast<unsigned char>(bits[1]), 0x01);
    EXPECT_EQ(read_bit_in_string(bits, 8), 1);
    EXPECT_EQ(read_bit_in_string(bits, 7), 0);
    set_bit_in_string(bits, 17);  // outside the string: nothing written
    set_bit_in_string(bits, 0);
    EXPECT_EQ(bits.size(), 2u);
    EXPECT_EQ(read_bit_in_string(bits, 17), 0);
    EXPECT_EQ(read_bit_in_string(bits, 0), 0);
}

TEST_F(StringsTest, Comparators) {
    const std::string apple = cp("Ябълка"), apple_small = cp("ябълка");
    ListPair p{apple, {}};
    EXPECT_EQ(cmp_g(cp("ябълка"), p), 0);  // Cyrillic case folds under the Bulgarian locale
    EXPECT_LT(cmp_g("zebra", p), 0);       // Latin before Cyrillic
    EXPECT_GT(cmp_g(cp("яд"), p), 0);
    EXPECT_LT(cmp_simple(ListPair{"Apple", {}}, ListPair{"banana", {}}), 0);
    EXPECT_EQ(cmp_simple(SentencePair{"The cat", {}}, SentencePair{"the CAT", {}}), 0);

    GRecord a{"Dog", 1, 0, 0}, b{"dog", 1, 0, 0};
    EXPECT_LT(cmp_g_strcmp_nm(a, b), 0);  // byte order: capitals first
    EXPECT_EQ(cmp_g_strcasecmp_nm(a, b), 0);
    EXPECT_EQ(cmp_in_g("Dog", a), 0);
    EXPECT_NE(cmp_in_g("dog", a), 0);
    GRecord c{apple_small, 1, 0, 0};
    EXPECT_LT(cmp_g_strcmp_nm(b, c), 0);  // bytes compare unsigned: Cyrillic after Latin
}

TEST_F(StringsTest, LetterClassOfTheWordSearch) {
    EXPECT_EQ(ascii_latin_cyrillic[static_cast<unsigned char>('a')], 1);
    EXPECT_EQ(ascii_latin_cyrillic[static_cast<unsigned char>('Z')], 1);
    EXPECT_EQ(ascii_latin_cyrillic[static_cast<unsigned char>(cp("ж")[0])], 1);
    EXPECT_EQ(ascii_latin_cyrillic[static_cast<unsigned char>(cp("Ё")[0])], 1);
    EXPECT_EQ(ascii_latin_cyrillic[static_cast<unsigned char>('5')], 0);
    EXPECT_EQ(ascii_latin_cyrillic[static_cast<unsigned char>('-')], 0);
}

}  // namespace
