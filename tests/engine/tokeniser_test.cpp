// The tokeniser, through runs of translate_text over the text-checker window's right panel (and
// through the scan itself where the report's view of a token is the point): the edge cases of the
// cutting rules, bad input, and the store matching the text.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "engine/tokeniser.h"
#include "spelling/word_index.h"
#include "engine_fixture.h"

namespace {

class Tokens : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        make_stores();
    }
    std::vector<Rec> cut(std::string_view utf8) {
        check(utf8);
        return records(store1.rec);
    }
    std::vector<Rec> cut16(std::u16string_view text) {
        check16(text);
        return records(store1.rec);
    }
};

using V = std::vector<Rec>;

TEST_F(Tokens, FinalDotIsKeptOnlyForKnownAbbreviations) {
    EXPECT_EQ(cut("e.g. test"), (V{{"e.g", "", 0}, {"test", ". ", 5}}));
    EXPECT_EQ(cut("3.14. x"), (V{{"3.14", "", 0}, {"x", ". ", 6}}));
    load_dict(B_EN_BG, {"e.g. например", "3.14. пи"});
    EXPECT_EQ(cut("e.g. test"), (V{{"e.g.", "", 0}, {"test", " ", 5}}));
    EXPECT_EQ(cut("E.G. test"), (V{{"E.G.", "", 0}, {"test", " ", 5}}));  // the look-up ignores case
    EXPECT_EQ(cut("3.14. x"), (V{{"3.14.", "", 0}, {"x", " ", 6}}));
    // The dictionary loaded again with other keys of the same count: the rule follows it.
    load_dict(B_EN_BG, {"i.e. тоест", "2.71. е"});
    EXPECT_EQ(cut("e.g. i.e. x"), (V{{"e.g", "", 0}, {"i.e.", ". ", 5}, {"x", " ", 10}}));
}

TEST_F(Tokens, FinalDotFollowsAKeyEditedInPlace) {
    // A list edited in place keeps its array, size and ends; the code that edits it lets the word
    // indexes go, and the final-dot rule reads the keys afresh.
    load_dict(B_EN_BG, {"a.a. едно", "e.g. например", "z.z. две"});
    EXPECT_EQ(cut("e.g. x"), (V{{"e.g.", "", 0}, {"x", " ", 5}}));
    static constexpr char kEdited[] = "i.e.";
    b[B_EN_BG].entries[1].key = std::string_view(kEdited);
    drop_word_indexes();
    EXPECT_EQ(cut("e.g. x"), (V{{"e.g", "", 0}, {"x", ". ", 5}}));
    EXPECT_EQ(cut("i.e. x"), (V{{"i.e.", "", 0}, {"x", " ", 5}}));
}

TEST_F(Tokens, FinalDotOfTheSecondEnglishListAndOfBulgarianWords) {
    load_list(M_WL_ENGLISH2, {"etc. 120"});
    load_dict(B_BULGARIAN, {"т.н. 5000"});
    EXPECT_EQ(cut("etc. and"), (V{{"etc.", "", 0}, {"and", " ", 5}}));
    EXPECT_EQ(cut("и т.н. край"), (V{{"и", "", 0}, {"т.н.", " ", 2}, {"край", " ", 7}}));
    // The Cyrillic rule is not asked for a Latin word and the Latin lists not for a Cyrillic one.
    EXPECT_EQ(cut("т.н etc"), (V{{"т.н", "", 0}, {"etc", " ", 4}}));
    EXPECT_EQ(cut("xyz. abc"), (V{{"xyz", "", 0}, {"abc", ". ", 5}}));
}

TEST_F(Tokens, DigitsWithAFinalDotAskBothAlphabetsLists) {
    // Digits belong to both alphabets: the Bulgarian list is asked when the English ones lack them.
    load_dict(B_BULGARIAN, {"5. 100", "1.2. 3"});
    load_list(M_WL_ENGLISH2, {"7. 10"});
    const struct {
        const char* text;
        V want;
    } cases[] = {
        {"в 5. клас", V{{"в", "", 0}, {"5.", " ", 2}, {"клас", " ", 5}}},
        {"в 1.2. клас", V{{"в", "", 0}, {"1.2.", " ", 2}, {"клас", " ", 7}}},
        {"in 7. class", V{{"in", "", 0}, {"7.", " ", 3}, {"class", " ", 6}}},
        {"в 6. клас", V{{"в", "", 0}, {"6", " ", 2}, {"клас", ". ", 5}}}, {"x5. y", V{{"x5", "", 0}, {"y", ". ", 4}}},
    };
    for (const auto& c : cases) EXPECT_EQ(cut(c.text), c.want) << c.text;
}

TEST_F(Tokens, YearAbbreviationKeepsItsDot) {
    EXPECT_EQ(cut("1999г. край"), (V{{"1999г.", "", 0}, {"край", " ", 7}}));
    EXPECT_EQ(cut("в 1999г."), (V{{"в", "", 0}, {"1999г.", " ", 2}}));
    EXPECT_EQ(cut("1999д. x"), (V{{"1999д", "", 0}, {"x", ". ", 7}}));  // only the letter г
}

TEST_F(Tokens, ApostrophesAndHyphensInsideAndAroundWords) {
    EXPECT_EQ(cut("rock'n'roll"), (V{{"rock'n'roll", "", 0}}));
    EXPECT_EQ(cut("word--next"), (V{{"word", "", 0}, {"next", "--", 6}}));
    EXPECT_EQ(cut("well-known"), (V{{"well-known", "", 0}}));
    EXPECT_EQ(cut("dogs' goin' word' x"),
              (V{{"dogs'", "", 0}, {"goin'", " ", 6}, {"word", " ", 12}, {"x", "' ", 18}}));
    EXPECT_EQ(cut("BOYS' toys"), (V{{"BOYS'", "", 0}, {"toys", " ", 6}}));  // after S as after s
    EXPECT_EQ(cut("dogs- x"), (V{{"dogs-", "", 0}, {"x", " ", 6}}));  // after s any mark comes back
    EXPECT_EQ(cut("tin' x"), (V{{"tin", "", 0}, {"x", "' ", 5}}));    // "in" needs four letters
    EXPECT_EQ(cut("goin- x"), (V{{"goin", "", 0}, {"x", "- ", 6}}));  // and an apostrophe
    EXPECT_EQ(cut("--abc"), (V{{"abc", "--", 2}}));
    EXPECT_EQ(cut("-abc-"), (V{{"abc", "-", 1}, {"", "-", 5}}));
    EXPECT_EQ(cut("a - b"), (V{{"a", "", 0}, {"b", " - ", 4}}));
}

TEST_F(Tokens, LeadingApostropheComesBackForAListedWord) {
    EXPECT_EQ(cut("x 'tis"), (V{{"x", "", 0}, {"tis", " '", 3}}));
    load_dict(B_EN_BG, {"'tis е"});
    EXPECT_EQ(cut("x 'tis"), (V{{"x", "", 0}, {"'tis", " ", 2}}));
    EXPECT_EQ(cut("x -'tis"), (V{{"x", "", 0}, {"'tis", " -", 3}}));
}

TEST_F(Tokens, LeadingTypographicApostropheIsWrittenPlain) {
    // The apostrophe just before a word is written "'", whether the word takes it back or it
    // stays at the end of the gap; only that one, not the marks before it.
    load_dict(B_EN_BG, {"'tis е"});
    const struct {
        const char* text;
        V want;
    } cases[] = {
        {"x ‘tis", V{{"x", "", 0}, {"'tis", " ", 2}}},       {"x ’tis", V{{"x", "", 0}, {"'tis", " ", 2}}},
        {"x `tis", V{{"x", "", 0}, {"'tis", " ", 2}}},       {"x ‘hello", V{{"x", "", 0}, {"hello", " '", 3}}},
        {"x -’hello", V{{"x", "", 0}, {"hello", " -'", 4}}}, {"x ’‘hello", V{{"x", "", 0}, {"hello", " ’'", 4}}},
        {"x ‘-hello", V{{"x", "", 0}, {"hello", " ‘-", 4}}},
    };
    for (const auto& c : cases) EXPECT_EQ(cut(c.text), c.want) << c.text;
}

TEST_F(Tokens, TypographicApostropheIsStoredButLookedUpPlain) {
    std::string text = cp("don’t stop");
    store_reset(store1);
    Tokeniser t;
    tok_begin(t, text, 0);
    ASSERT_EQ(tok_next(t), 1);
    EXPECT_EQ(std::string(t.last.token), "don't");       // what the report's look-ups see
    EXPECT_EQ(std::string(t.last.rec->text), cp("don’t"));  // what the store keeps
    EXPECT_EQ(t.last.apos_replaced, 0x92);
    EXPECT_EQ(t.last.apos_at, 3u);
    EXPECT_TRUE(t.last.has_apos);
    EXPECT_EQ(t.last.n.apos, 1u);
    EXPECT_EQ(t.last.n.lat_lower, 4u);
    ASSERT_EQ(tok_next(t), 1);
    EXPECT_EQ(std::string(t.last.token), "stop");
    EXPECT_EQ(tok_next(t), 0);
    tok_finish(t);
    EXPECT_EQ(text, cp("don't stop"));  // text8 keeps the look-up form; the cut characters are back

    EXPECT_EQ(cut("don’t"), (V{{"don’t", "", 0}}));
}

// The letter, digit and mark counts of one token: a short mixed token, and runs of over a thousand
// of each kind in one token.
TEST_F(Tokens, ClassCountsOfAToken) {
    std::string long_runs = std::string(2500, 'x') + cp("Ж") + std::string(1023, '7');
    for (int i = 0; i < 1500; ++i) long_runs += cp("ю");
    long_runs += std::string(3000, 'Q') + " ";
    struct Case {
        std::string text, token;  // token: "" when not compared
        TokenCounts n;            // cyr, cyr_upper, cyr_lower, lat_upper, lat_lower, digits, apos, hyphens, dots, commas
        bool aposhyp;
    };
    const Case cases[] = {
        {cp("Аб-в1,5.2Xy дума"), "Аб-в1,5.2Xy", {3, 1, 2, 1, 1, 3, 0, 1, 1, 1}, true},
        {long_runs, "", {1501, 1, 1500, 3000, 2500, 1023, 0, 0, 0, 0}, false},
        // A comma counts only between two digits.
        {"1,2,3,x y", "1,2,3,x", {0, 0, 0, 0, 1, 3, 0, 0, 0, 2}, false},
        {"x,7 y", "x,7", {0, 0, 0, 0, 1, 1, 0, 0, 0, 0}, false},
    };
    for (const Case& c : cases) {
        store_reset(store1);
        Tokeniser t;
        std::string text = c.text;
        tok_begin(t, text, 0);
        ASSERT_EQ(tok_next(t), 1);
        if (!c.token.empty()) {
            EXPECT_EQ(u8(t.last.token), c.token);
        }
        const TokenCounts& n = t.last.n;
        const std::uint32_t got[] = {n.cyr, n.cyr_upper, n.cyr_lower, n.lat_upper, n.lat_lower,
                                     n.digits, n.apos, n.hyphens, n.dots, n.commas};
        const std::uint32_t want[] = {c.n.cyr, c.n.cyr_upper, c.n.cyr_lower, c.n.lat_upper, c.n.lat_lower,
                                      c.n.digits, c.n.apos, c.n.hyphens, c.n.dots, c.n.commas};
        for (std::size_t k = 0; k < std::size(got); ++k) EXPECT_EQ(got[k], want[k]) << c.token << " count " << k;
        EXPECT_EQ(t.last.has_aposhyp, c.aposhyp) << c.token;
        EXPECT_FALSE(t.last.has_apos) << c.token;
        tok_finish(t);
    }
}

TEST_F(Tokens, InnerPunctuationJoinsOnlyWhenAWordFollows) {
    EXPECT_EQ(cut("a,b"), (V{{"a,b", "", 0}}));
    EXPECT_EQ(cut("a, b"), (V{{"a", "", 0}, {"b", ", ", 3}}));
    EXPECT_EQ(cut("1,000 a:b c?d e!f g;h"),
              (V{{"1,000", "", 0}, {"a:b", " ", 6}, {"c?d", " ", 10}, {"e!f", " ", 14}, {"g;h", " ", 18}}));
    EXPECT_EQ(cut("www.example.com."), (V{{"www.example.com", "", 0}, {"", ".", 16}}));
    EXPECT_EQ(cut("a,'b"), (V{{"a", "", 0}, {"b", ",'", 3}}));
}

TEST_F(Tokens, OneCharacterTagsStayInTheGaps) {
    EXPECT_EQ(cut("<b>word</b> x"), (V{{"word", "<b>", 3}, {"x", "</b> ", 12}}));
    EXPECT_EQ(cut("<i>a</i>"), (V{{"a", "<i>", 3}, {"", "</i>", 8}}));
    EXPECT_EQ(cut("a <bc> d"), (V{{"a", "", 0}, {"bc", " <", 3}, {"d", "> ", 7}}));
}

TEST_F(Tokens, TypographicQuotesAreNeverTokenCharactersDuringARun) {
    EXPECT_EQ(cut("„дума“ ”x”"), (V{{"дума", "„", 1}, {"x", "“ ”", 8}, {"", "”", 10}}));
    EXPECT_EQ(ascii_valid[132], 0);  // not made a token character by the run

    OP[OPT_CHARSET_ASCII].text_value = "132 147 148";
    build_ascii_tables();
    ASSERT_EQ(ascii_valid[0x93], 1);
    EXPECT_EQ(cut("„дума“"), (V{{"дума", "„", 1}, {"", "“", 6}}));
    EXPECT_EQ(ascii_valid[132], 1);  // given back after the run
    EXPECT_EQ(ascii_valid[147], 1);
    EXPECT_EQ(ascii_valid[148], 1);
}

TEST_F(Tokens, TrailingAndLeadingBlanks) {
    EXPECT_EQ(cut("word  "), (V{{"word", "", 0}, {"", "  ", 6}}));
    EXPECT_EQ(cut("   word"), (V{{"word", "", 3}}));
    EXPECT_EQ(cut("   word."), (V{{"word", "", 3}, {"", ".", 8}}));
}

TEST_F(Tokens, SoftHyphenIsReportedOncePerRun) {
    EXPECT_EQ(cut("ab\xC2\xAD""cd ef\xC2\xAD""gh"),
              (V{{"ab", "", 0}, {"cd", "\xC2\xAD", 3}, {"ef", " ", 6}, {"gh", "\xC2\xAD", 9}}));
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(hs->message_boxes[0].text, kSoftHyphenMessage);
    EXPECT_EQ(hs->message_boxes[0].caption, u"Oops!");
    EXPECT_EQ(hs->message_boxes[0].flags & MB_ICONERROR, static_cast<UINT>(MB_ICONERROR));
    cut("x\xC2\xADy");
    EXPECT_EQ(hs->message_boxes.size(), 2u);
    cut("no soft hyphen");
    EXPECT_EQ(hs->message_boxes.size(), 2u);
}

TEST_F(Tokens, EmptyBlankAndLineEndTexts) {
    EXPECT_EQ(cut(""), V{});
    EXPECT_EQ(sen_nd->pos, 0);
    EXPECT_EQ(cut("     "), V{});  // nothing after the leading blanks
    for (std::size_t i = 0; i < SENTINEL_RECORDS; ++i) ASSERT_EQ(sen_nd[i].pos, 5);
    EXPECT_EQ(cut("\r\r\r"), (V{{"", "\r\r\r", 3}}));
    EXPECT_EQ(sen_nd->pos, 3);
    EXPECT_EQ(cut("\t"), (V{{"", "\t", 1}}));
}

TEST_F(Tokens, CharactersOutsideTheCodePageLandInGaps) {
    // A character outside the basic plane takes two positions; later offsets do not drift.
    EXPECT_EQ(cut16(u"a\U0001F600b c"), (V{{"a", "", 0}, {"b", "\x06\x06", 3}, {"c", " ", 5}}));
    EXPECT_EQ(cut16(u"x\u03B1y"), (V{{"x", "", 0}, {"y", "\x06", 2}}));
    EXPECT_EQ(cut16(std::u16string(u"a\0b", 3)), (V{{"a", "", 0}, {"b", "\x06", 2}}));
    EXPECT_EQ(cut16(u"a\u0006b"), (V{{"a", "", 0}, {"b", "\x06", 2}}));
}

TEST_F(Tokens, StoreMatchesRandomTexts) {
    // Every character after the leading blanks is in exactly one token or gap, in order, and each
    // token's pos is its offset in the panel.
    const std::u16string alphabet =
        u"abcXYZ\u0430\u0431\u0412\u0433019 '-`\u2018\u2019.,!?;:<>/\r\t\"\u201E\u201C\u201D\u00AD\u03B1*[]_\U0001F600";
    std::mt19937 rnd(7);
    for (int round = 0; round < 300; ++round) {
        std::u16string text;
        const int len = static_cast<int>(rnd() % 60);
        for (int i = 0; i < len; ++i) text += alphabet[rnd() % alphabet.size()];
        hs->message_boxes.clear();
        check16(text);
        const std::string t8 = utf16_to_cp1251(text, '\x06');
        std::size_t lead = 0;
        while (lead < t8.size() && t8[lead] == ' ') ++lead;
        std::string joined;
        std::int32_t last_pos = -1;
        for (const SenToken* r = sen_floor; r < sen_nd; ++r) {
            joined += r->gap;
            ASSERT_GE(r->pos, last_pos);
            last_pos = r->pos;
            ASSERT_EQ(static_cast<std::size_t>(r->pos), lead + joined.size()) << "round " << round;
            joined += r->text;
            ASSERT_TRUE(r->text[0] != '\0' || r->gap[0] != '\0');
            if (r + 1 < sen_nd) {
                ASSERT_NE(r->text[0], '\0') << "only the last record may lack a token";
            }
        }
        // The apostrophe just before a token may be written plain; nothing else differs.
        const std::string want = t8.substr(lead);
        ASSERT_EQ(joined.size(), want.size()) << "round " << round;
        for (std::size_t i = 0; i < want.size(); ++i) {
            const bool plain_apostrophe = joined[i] == '\'' && std::strchr("`\x91\x92", want[i]);
            ASSERT_TRUE(joined[i] == want[i] || plain_apostrophe) << "round " << round << " at " << i;
        }
        for (std::size_t i = 0; i < SENTINEL_RECORDS; ++i)
            ASSERT_EQ(sen_nd[i].pos, static_cast<std::int32_t>(text.size()));
    }
}

TEST_F(Tokens, AMillionOneLetterTokens) {
    OP[OPT_MAX_WORDS_IN_FILE].num_value = 0;
    make_stores();
    std::u16string text;
    text.reserve(2'000'000);
    for (int i = 0; i < 1'000'000; ++i) text += u"a ";
    check16(text);
    ASSERT_EQ(store1.rec.count(), 1'000'001u);  // the last record holds the final blank
    EXPECT_STREQ(sen_floor[999'999].text, "a");
    EXPECT_EQ(sen_floor[999'999].pos, 1'999'998);
    EXPECT_EQ(sen_nd[-1].text, glZero);
    EXPECT_EQ(last_run.processed, 1'000'001u);
    EXPECT_EQ(storeR.rec.count(), 1'000'001u);
}

TEST_F(Tokens, FiftyMegabytesOnOneLine) {
    OP[OPT_MAX_WORDS_IN_FILE].num_value = 0;
    make_stores();
    std::string word(50'000'000, 'w');
    EXPECT_EQ(tokenise_text(word, 0), 1u);
    EXPECT_EQ(std::strlen(sen_floor[0].text), 50'000'000u);
    std::string blanks = "x" + std::string(50'000'000, ' ') + "y";
    EXPECT_EQ(tokenise_text(blanks, 0), 2u);
    EXPECT_EQ(std::strlen(sen_floor[1].gap), 50'000'000u);
    EXPECT_EQ(sen_floor[1].pos, 50'000'001);
}

}  // namespace
