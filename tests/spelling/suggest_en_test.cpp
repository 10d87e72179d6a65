// The English suggestion generator: each candidate family, the regular-form marks, the ranking,
// the result texts and their limits.
#include <set>

#include "spell_fixture.h"
#include "spelling/suggest_en.h"

namespace {

bool has(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// The number of suggestions a long list numbers.
std::int32_t numbered(std::string_view spelling) {
    std::int32_t n = 0;
    for (std::size_t at = spelling.find(" (rank "); at != std::string_view::npos; at = spelling.find(" (rank ", at + 1)) ++n;
    return n;
}

}  // namespace

TEST(SuggestTables, FixedTablesAreComplete) {
    EXPECT_EQ(english_two_letter_words().size(), 23u);
    const std::size_t counts[8] = {0, 0, 9, 15, 26, 26, 10, 3};
    std::set<std::string_view> all;
    for (int len = 2; len <= 7; ++len) {
        EXPECT_EQ(english_prefixes(len).size(), counts[len]) << "prefixes of " << len << " letters";
        for (std::string_view p : english_prefixes(len)) {
            EXPECT_EQ(p.size(), static_cast<std::size_t>(len)) << p;
            EXPECT_TRUE(all.insert(p).second) << p;
        }
    }
    EXPECT_TRUE(english_prefixes(1).empty());
    EXPECT_TRUE(english_prefixes(8).empty());
    EXPECT_EQ(english_ending_pairs().size(), 16u);
    EXPECT_EQ(english_ize_ise_pairs().size(), 13u);
    for (const IzeIsePair& p : english_ize_ise_pairs()) {
        EXPECT_EQ(p.ize.size(), p.ise.size());
        EXPECT_EQ(p.ize.substr(0, 2), "iz");
        EXPECT_EQ(p.ise.substr(0, 2), "is");
        EXPECT_EQ(p.ize.substr(3), p.ise.substr(3));
    }
}

TEST(SuggestTables, CommonTwoLetterWords) {
    EXPECT_EQ(iscommontwo("is"), 1);
    EXPECT_EQ(iscommontwo("KG"), 1);
    EXPECT_EQ(iscommontwo("Inside"), 1);  // the first two letters count
    EXPECT_EQ(iscommontwo("ab"), 0);
    EXPECT_EQ(iscommontwo("i"), 0);
    EXPECT_EQ(iscommontwo(""), 0);
}

TEST(SuggestTables, ShortForms) {
    EXPECT_EQ(english_short_form("dog (drop last s 4)"), "dog");
    EXPECT_EQ(english_short_form("is a (split at 2, ranks 5 & 3)"), "is a");
    EXPECT_EQ(english_short_form("(FALSE POS) dog (drop last s 4)"), "(FALSE POS)");
    EXPECT_EQ(english_short_form("word"), "word");
    EXPECT_EQ(english_short_form("two words"), "two words");
}

class SuggestTest : public SpellTest {
protected:
    Suggestions last;  // the last run's
};

TEST_F(SuggestTest, OneLetterWordGetsNothing) {
    load_eng({"a 1", "i 2", "at 3"});
    last = spellcheck("x");
    EXPECT_EQ(last.suggest_ct, 0);
    EXPECT_EQ(last.spelling, "");
    EXPECT_EQ(last.spelling_sh, "");
    last = spellcheck("");
    EXPECT_EQ(last.suggest_ct, 0);
}

TEST_F(SuggestTest, PluralIsMarkedAsRegularForm) {
    load_eng({"dog 120", "box 300"});
    last = spellcheck("dogs");
    EXPECT_EQ(last.suggest_ct, 1);
    EXPECT_EQ(last.spelling, "1. (FALSE POS) dog (drop last s 4) (rank 120)");
    EXPECT_EQ(last.spelling_sh, "(FALSE POS)");
    EXPECT_TRUE(last.false_positive);

    last = spellcheck("boxs");  // s after x: a real misspelling
    EXPECT_EQ(last.spelling, "1. box (drop last s 4) (rank 300)");
    EXPECT_EQ(last.spelling_sh, "box");
    EXPECT_FALSE(last.false_positive);
}

TEST_F(SuggestTest, DropLastRegularForms) {
    load_eng({"walk 1", "mania 2", "church 3"});
    last = spellcheck("walked");
    EXPECT_FALSE(has(last.spelling, "FALSE")) << "walke is not listed";
    load_eng({"walke 1", "mania 2", "churchs 3", "church 4"});
    last = spellcheck("walked");
    EXPECT_EQ(last.spelling, "1. (FALSE POS) walke (drop last d 6) (rank 1)");
    last = spellcheck("maniac");
    EXPECT_TRUE(has(last.spelling, "(FALSE POS) mania (drop last c 6)"));
    last = spellcheck("churchss");
    EXPECT_TRUE(has(last.spelling, "1. churchs (drop last s 8) (rank 3)")) << last.spelling;
}

TEST_F(SuggestTest, IzeIseVariants) {
    load_eng({"realize 900"});
    last = spellcheck("realise");
    EXPECT_EQ(last.spelling, "1. (FALSE POS) realize (change z 6) (rank 900)");
    EXPECT_TRUE(last.false_positive);
    load_eng({"organisations 5", "rise 6"});
    last = spellcheck("organizations");
    EXPECT_EQ(last.spelling, "1. (FALSE POS) organisations (change s 7) (rank 5)");
    // Too short for the variant rule: a plain change.
    last = spellcheck("rize");
    EXPECT_EQ(last.spelling, "1. rise (change s 3) (rank 6)");
}

TEST_F(SuggestTest, ChangedLastLetterRegularForms) {
    load_eng({"walker 10", "baker 11", "boxed 12", "boxes 13", "catches 14", "theist 15", "likely 16"});
    last = spellcheck("walked");
    EXPECT_TRUE(has(last.spelling, "(FALSE POS) walker (change r 6)")) << last.spelling;
    last = spellcheck("bakerd");  // dropping a final d is no regular form
    EXPECT_FALSE(has(last.spelling, "FALSE")) << last.spelling;
    last = spellcheck("boxes");  // listed, but the generator still works: s/"ed" needs x before
    EXPECT_TRUE(has(last.spelling, "(FALSE POS) boxed (change d 5)")) << last.spelling;
    last = spellcheck("catched");
    EXPECT_TRUE(has(last.spelling, "(FALSE POS) catches (change s 7)")) << last.spelling;
    last = spellcheck("theism");
    EXPECT_TRUE(has(last.spelling, "(FALSE POS) theist (change t 6)")) << last.spelling;
    last = spellcheck("likelr");
    EXPECT_TRUE(has(last.spelling, "likely (change y 6)")) << last.spelling;
    EXPECT_FALSE(has(last.spelling, "FALSE")) << last.spelling;
}

TEST_F(SuggestTest, AddedLetterRegularForms) {
    load_eng({"walks 1", "writer 2", "dog's 3", "well-known 4", "glasss 5"});
    last = spellcheck("walk");
    EXPECT_EQ(last.spelling, "1. (FALSE POS) walks (add s 5) (rank 1)");
    last = spellcheck("write");
    EXPECT_EQ(last.spelling, "1. (FALSE POS) writer (add r 6) (rank 2)");
    last = spellcheck("dogs");
    EXPECT_EQ(last.spelling, "1. (FALSE POS) dog's (add apostrophe 4) (rank 3)");
    last = spellcheck("wellknown");
    EXPECT_EQ(last.spelling, "1. well-known (add - 5) (rank 4)");
    EXPECT_FALSE(last.false_positive);
    last = spellcheck("glass");  // an s is never added after s: the inner insertion finds it, unmarked
    EXPECT_EQ(last.spelling, "1. glasss (add s 4) (rank 5)");
}

TEST_F(SuggestTest, SingleEditTexts) {
    load_eng({"the 1", "cat 2", "hello 3", "banana 4", "cart 5"});
    last = spellcheck("teh");
    EXPECT_TRUE(has(last.spelling, "the (swap e-h 2-3)")) << last.spelling;
    last = spellcheck("eht");
    EXPECT_TRUE(has(last.spelling, "the (triple eht->the 1-3)")) << last.spelling;
    last = spellcheck("hellllo");
    EXPECT_TRUE(has(last.spelling, "hello (repeated \"l\" 4-6)")) << last.spelling;
    last = spellcheck("bananana");
    EXPECT_TRUE(has(last.spelling, "banana (syllable 2-3)")) << last.spelling;
    last = spellcheck("caat");
    EXPECT_TRUE(has(last.spelling, "cat (drop a 3)")) << last.spelling;  // the first of two equal letters is kept
    last = spellcheck("ct");
    EXPECT_TRUE(has(last.spelling, "cat (add a 2)")) << last.spelling;
    last = spellcheck("crt");
    EXPECT_TRUE(has(last.spelling, "cart (add a 2)")) << last.spelling;
    EXPECT_TRUE(has(last.spelling, "cat (change a 2)")) << last.spelling;
    EXPECT_FALSE(last.first_letter_differ);
}

TEST_F(SuggestTest, FirstLetterDiffers) {
    load_eng({"cat 1", "at 2"});
    last = spellcheck("xcat");
    EXPECT_TRUE(has(last.spelling, "cat (drop x 1)")) << last.spelling;
    EXPECT_TRUE(last.first_letter_differ);
    last = spellcheck("bat");
    EXPECT_TRUE(has(last.spelling, "cat (change c 1)")) << last.spelling;
    EXPECT_TRUE(last.first_letter_differ);
    last = spellcheck("aat");  // first two letters equal: no drop of the first letter
    EXPECT_EQ(last.spelling, "1. cat (change c 1) (rank 1) 2. at (drop a 2) (rank 2)");
}

TEST_F(SuggestTest, DoubleConsonantSwap) {
    load_eng({"occasion 10", "recommend 20"});
    last = spellcheck("ocassion");
    EXPECT_EQ(last.spelling, "1. occasion (double consonant swap ss at 4) (rank 10)");
    last = spellcheck("reccomend");
    EXPECT_EQ(last.spelling, "1. recommend (double consonant swap cc at 3) (rank 20)");
}

TEST_F(SuggestTest, TwoWordSplits) {
    load_eng({"is 5", "a 3", "x 4", "the 1", "dog 50", "dogs 51", "running 30", "run 7", "out 8"});
    last = spellcheck("isa");
    EXPECT_TRUE(has(last.spelling, "is a (split at 2, ranks 5 & 3) (rank 5)")) << last.spelling;
    EXPECT_TRUE(has(last.spelling_sh, "is a")) << last.spelling_sh;
    EXPECT_TRUE(last.splitting);
    last = spellcheck("xa");  // one-letter left part other than "a"
    EXPECT_FALSE(has(last.spelling, "split")) << last.spelling;
    EXPECT_FALSE(last.splitting);
    last = spellcheck("thedog");
    EXPECT_TRUE(has(last.spelling, "the dog (split at 3, ranks 1 & 50) (rank 50)")) << last.spelling;
    last = spellcheck("thedogss");
    EXPECT_FALSE(has(last.spelling, "split")) << last.spelling;
}

TEST_F(SuggestTest, SplitsWithSuffixedParts) {
    load_eng({"the 1", "horse 40", "walk 60", "home 20"});
    last = spellcheck("thehorses");
    EXPECT_TRUE(has(last.spelling,
                    "the horses (split 3-letter word \"the\" + \"horse\" + common suffix \"s\", ranks 1 & 40) (rank 40)"))
        << last.spelling;
    EXPECT_TRUE(has(last.spelling_sh, "the horses")) << last.spelling_sh;
    last = spellcheck("walkinghome");
    EXPECT_TRUE(has(last.spelling, "walking home (split \"walk\" + common suffix \"ing\" + 4-letter word \"home\", "
                              "ranks 60 & 20) (rank 60)"))
        << last.spelling;
    EXPECT_TRUE(last.splitting);
}

TEST_F(SuggestTest, CommonPrefixSplits) {
    load_eng({"happy 70", "do 2"});
    last = spellcheck("unhappyness");
    EXPECT_TRUE(has(last.spelling, "(FALSE POS) common 2-letter prefix \"un\" + \"happy\" + common suffix \"ness\" (rank 70)"))
        << last.spelling;
    EXPECT_TRUE(last.false_positive);
    last = spellcheck("unhappy");
    EXPECT_TRUE(has(last.spelling, "(FALSE POS) common 2-letter prefix \"un\" + \"happy\" (rank 70)")) << last.spelling;
    load_eng({"sad 70"});
    last = spellcheck("unhappyness");  // neither the right part nor its stem is listed
    EXPECT_EQ(last.suggest_ct, 0);
    // A prefix point tries no two-word split: "re" + "do" are both listed but "re" is a prefix
    // and "do" is too short for the prefix rule.
    load_eng({"re 1", "do 2"});
    last = spellcheck("redo");
    EXPECT_FALSE(has(last.spelling, "split")) << last.spelling;
    // Each seven-letter prefix.
    load_eng({"attack 3", "magnet 4", "valent 5"});
    for (const char* word : {"counterattack", "electromagnet", "quinquevalent"}) {
        const std::string w = word;
        last = spellcheck(w);
        EXPECT_TRUE(has(last.spelling, "(FALSE POS) common 7-letter prefix \"" + w.substr(0, 7) + "\" + \"" +
                                           w.substr(7) + "\""))
            << last.spelling;
    }
}

TEST_F(SuggestTest, WholeWordStemPlusSuffix) {
    load_eng({"happy 9", "horse 8"});
    last = spellcheck("happiness");
    EXPECT_EQ(last.spelling, "1. (FALSE POS) \"happy\" + common suffix \"y->iness\" (rank 9)");
    last = spellcheck("horses");  // the suffix "s" is left to the drop-last rule
    EXPECT_EQ(last.spelling, "1. (FALSE POS) horse (drop last s 6) (rank 8)");
}

TEST_F(SuggestTest, RankOrderAndNumbering) {
    load_eng({"cat 300", "cut 20", "cot 5000", "coat"});
    last = spellcheck("cet");
    EXPECT_EQ(last.suggest_ct, 3);
    EXPECT_EQ(last.spelling, "1. cut (change u 2) (rank 20) 2. cat (change a 2) (rank 300) 3. cot (change o 2) (rank 5000)");
    EXPECT_EQ(last.spelling_sh, "cut | cat | cot");
    last = spellcheck("caot");  // the unranked entry ranks 500000
    EXPECT_TRUE(has(last.spelling, "coat (swap a-o 2-3) (rank 500000)")) << last.spelling;
}

TEST_F(SuggestTest, AWordFoundByManyEditsShowsOnceAtItsFirstPlace) {
    load_eng({"error 5", "eror 9", "words 7"});
    last = spellcheck("erorr");
    EXPECT_EQ(last.spelling_sh, "error | eror");
    // The long list keeps every edit with its note.
    EXPECT_EQ(last.suggest_ct, 4);
    EXPECT_EQ(last.spelling, "1. error (double consonant swap rr at 4) (rank 5) 2. error (swap o-r 3-4) (rank 5) "
                        "3. error (triple orr->ror 3-5) (rank 5) 4. eror (drop last r 5) (rank 9)");
    last = spellcheck("words");  // a listed word changed into itself, at each letter
    EXPECT_EQ(last.spelling_sh, "words");
}

TEST_F(SuggestTest, CaseIsIgnoredAndKeptAsTyped) {
    load_eng({"London 10", "the 1"});
    last = spellcheck("LONDN");
    EXPECT_EQ(last.spelling, "1. LONDoN (add o 5) (rank 10)");
    last = spellcheck("TEH");
    EXPECT_EQ(last.spelling, "1. THE (swap E-H 2-3) (rank 1)");
}

TEST_F(SuggestTest, NearMatchesOnlyWhenNothingElseAndDeepSpell) {
    load_eng({"contemporary 40", "attractive 41", "abcdefgh 42", "banana 43", "bnanaa 44"});
    set_deep_spell(1);
    last = spellcheck("contemperery");  // two edits away
    EXPECT_EQ(last.spelling, "1. contemporary (EXTRA) (rank 40)");
    last = spellcheck("atractiv");  // shorter word 8: no near match
    EXPECT_EQ(last.suggest_ct, 0);
    last = spellcheck("contem'perery");  // apostrophe: no scan
    EXPECT_EQ(last.suggest_ct, 0);
    load_eng({"bottle 45"});
    last = spellcheck("bxtlle");  // six letters, two edits away
    EXPECT_EQ(last.spelling, "1. bottle (EXTRA) (rank 45)");
    set_deep_spell(0);
    last = spellcheck("contemperery");
    EXPECT_EQ(last.suggest_ct, 0);
}

TEST_F(SuggestTest, BadInputHasDefinedAnswers) {
    load_eng({"a 1", "ab 2", "abc 3", "'s 4", "-- 5", "12 6"});
    for (std::string word : {std::string("'''"), std::string("---"), std::string("12345"), std::string("ab\x06" "cd"),
                             std::string("abc\xe4\xe5"), std::string(1000, 'q'), std::string("a")}) {
        last = spellcheck(word);
        EXPECT_LE(last.spelling.size(), kSpellTextMax);
        EXPECT_LE(last.spelling_sh.size(), kSpellTextMax);
        EXPECT_EQ(last.suggest_ct, numbered(last.spelling));
    }
    last = spellcheck("ab\x06" "c");
    EXPECT_TRUE(has(last.spelling, "abc (drop \x06 3)")) << last.spelling;
}

TEST_F(SuggestTest, ResultTextsStopAtTheirLimit) {
    // A 1,000-letter word with every one-letter deletion listed: far more suggestions than the
    // 16,384-byte pool takes.
    std::string word;
    for (int i = 0; i < 1000; ++i) word += static_cast<char>('a' + (i * 7) % 26);
    std::string file;
    {
        std::ofstream f(dir / "wl_english.txt", std::ios::binary);
        for (std::size_t i = 0; i < word.size(); ++i) f << word.substr(0, i) << word.substr(i + 1) << ' ' << i << "\r\n";
    }
    m[0].name = "wl_english";
    ASSERT_EQ(fl_to_list(dir, m[0]), 1);
    last = spellcheck(word);
    EXPECT_EQ(last.suggest_ct, 16);  // 16 texts of about 1,012 bytes fill the pool
    EXPECT_LE(last.spelling.size(), kSpellTextMax);
    EXPECT_GT(last.spelling.size(), kSpellTextMax - 1100);  // whole items only, as many as fit
    EXPECT_EQ(last.spelling.back(), ')');
    EXPECT_LE(last.spelling_sh.size(), kSpellTextMax);
    EXPECT_NE(last.spelling_sh.substr(last.spelling_sh.size() - 3), " | ");
    EXPECT_EQ(last.spelling.substr(0, 3), "1. ");
    EXPECT_TRUE(has(last.spelling, " (rank 0) 2. ")) << "ranks ascending";
}
