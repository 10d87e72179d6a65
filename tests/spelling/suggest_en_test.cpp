// The English suggestion generator: each candidate family, the regular-form marks, the ranking,
// the result texts and their limits.
#include <set>

#include "spell_fixture.h"
#include "spelling/suggest_en.h"

namespace {

bool has(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

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

class SuggestTest : public SpellTest {};

TEST_F(SuggestTest, OneLetterWordGetsNothing) {
    load_eng({"a 1", "i 2", "at 3"});
    spellcheck("x");
    EXPECT_EQ(suggest_ct, 0);
    EXPECT_EQ(spelling, "");
    EXPECT_EQ(spelling_sh, "");
    spellcheck("");
    EXPECT_EQ(suggest_ct, 0);
}

TEST_F(SuggestTest, PluralIsMarkedAsRegularForm) {
    load_eng({"dog 120", "box 300"});
    spellcheck("dogs");
    EXPECT_EQ(suggest_ct, 1);
    EXPECT_EQ(spelling, "1. (FALSE POS) dog (drop last s 4) (rank 120)");
    EXPECT_EQ(spelling_sh, "(FALSE POS)");
    EXPECT_EQ(false_positive, 1);

    spellcheck("boxs");  // s after x: a real misspelling
    EXPECT_EQ(spelling, "1. box (drop last s 4) (rank 300)");
    EXPECT_EQ(spelling_sh, "box");
    EXPECT_EQ(false_positive, 0);
}

TEST_F(SuggestTest, DropLastRegularForms) {
    load_eng({"walk 1", "mania 2", "church 3"});
    spellcheck("walked");
    EXPECT_FALSE(has(spelling, "FALSE")) << "walke is not listed";
    load_eng({"walke 1", "mania 2", "churchs 3", "church 4"});
    spellcheck("walked");
    EXPECT_EQ(spelling, "1. (FALSE POS) walke (drop last d 6) (rank 1)");
    spellcheck("maniac");
    EXPECT_TRUE(has(spelling, "(FALSE POS) mania (drop last c 6)"));
    spellcheck("churchss");
    EXPECT_TRUE(has(spelling, "1. churchs (drop last s 8) (rank 3)")) << spelling;
}

TEST_F(SuggestTest, IzeIseVariants) {
    load_eng({"realize 900"});
    spellcheck("realise");
    EXPECT_EQ(spelling, "1. (FALSE POS) realize (change z 6) (rank 900)");
    EXPECT_EQ(false_positive, 1);
    load_eng({"organisations 5", "rise 6"});
    spellcheck("organizations");
    EXPECT_EQ(spelling, "1. (FALSE POS) organisations (change s 7) (rank 5)");
    // Too short for the variant rule: a plain change.
    spellcheck("rize");
    EXPECT_EQ(spelling, "1. rise (change s 3) (rank 6)");
}

TEST_F(SuggestTest, ChangedLastLetterRegularForms) {
    load_eng({"walker 10", "baker 11", "boxed 12", "boxes 13", "catches 14", "theist 15", "likely 16"});
    spellcheck("walked");
    EXPECT_TRUE(has(spelling, "(FALSE POS) walker (change r 6)")) << spelling;
    spellcheck("bakerd");  // dropping a final d is no regular form
    EXPECT_FALSE(has(spelling, "FALSE")) << spelling;
    spellcheck("boxes");  // listed, but the generator still works: s/"ed" needs x before
    EXPECT_TRUE(has(spelling, "(FALSE POS) boxed (change d 5)")) << spelling;
    spellcheck("catched");
    EXPECT_TRUE(has(spelling, "(FALSE POS) catches (change s 7)")) << spelling;
    spellcheck("theism");
    EXPECT_TRUE(has(spelling, "(FALSE POS) theist (change t 6)")) << spelling;
    spellcheck("likelr");
    EXPECT_TRUE(has(spelling, "likely (change y 6)")) << spelling;
    EXPECT_FALSE(has(spelling, "FALSE")) << spelling;
}

TEST_F(SuggestTest, AddedLetterRegularForms) {
    load_eng({"walks 1", "writer 2", "dog's 3", "well-known 4", "glasss 5"});
    spellcheck("walk");
    EXPECT_EQ(spelling, "1. (FALSE POS) walks (add s 5) (rank 1)");
    spellcheck("write");
    EXPECT_EQ(spelling, "1. (FALSE POS) writer (add r 6) (rank 2)");
    spellcheck("dogs");
    EXPECT_EQ(spelling, "1. (FALSE POS) dog's (add apostrophe 4) (rank 3)");
    spellcheck("wellknown");
    EXPECT_EQ(spelling, "1. well-known (add - 5) (rank 4)");
    EXPECT_EQ(false_positive, 0);
    spellcheck("glass");  // an s is never added after s: the inner insertion finds it, unmarked
    EXPECT_EQ(spelling, "1. glasss (add s 4) (rank 5)");
}

TEST_F(SuggestTest, SingleEditTexts) {
    load_eng({"the 1", "cat 2", "hello 3", "banana 4", "cart 5"});
    spellcheck("teh");
    EXPECT_TRUE(has(spelling, "the (swap e-h 2-3)")) << spelling;
    spellcheck("eht");
    EXPECT_TRUE(has(spelling, "the (triple eht->the 1-3)")) << spelling;
    spellcheck("hellllo");
    EXPECT_TRUE(has(spelling, "hello (repeated \"l\" 4-6)")) << spelling;
    spellcheck("bananana");
    EXPECT_TRUE(has(spelling, "banana (syllable 2-3)")) << spelling;
    spellcheck("caat");
    EXPECT_TRUE(has(spelling, "cat (drop a 3)")) << spelling;  // the first of two equal letters is kept
    spellcheck("ct");
    EXPECT_TRUE(has(spelling, "cat (add a 2)")) << spelling;
    spellcheck("crt");
    EXPECT_TRUE(has(spelling, "cart (add a 2)")) << spelling;
    EXPECT_TRUE(has(spelling, "cat (change a 2)")) << spelling;
    EXPECT_EQ(first_letter_differ, 0);
}

TEST_F(SuggestTest, FirstLetterDiffers) {
    load_eng({"cat 1", "at 2"});
    spellcheck("xcat");
    EXPECT_TRUE(has(spelling, "cat (drop x 1)")) << spelling;
    EXPECT_EQ(first_letter_differ, 1);
    spellcheck("bat");
    EXPECT_TRUE(has(spelling, "cat (change c 1)")) << spelling;
    EXPECT_EQ(first_letter_differ, 1);
    spellcheck("aat");  // first two letters equal: no drop of the first letter
    EXPECT_EQ(spelling, "1. cat (change c 1) (rank 1) 2. at (drop a 2) (rank 2)");
}

TEST_F(SuggestTest, DoubleConsonantSwap) {
    load_eng({"occasion 10", "recommend 20"});
    spellcheck("ocassion");
    EXPECT_EQ(spelling, "1. occasion (double consonant swap ss at 4) (rank 10)");
    spellcheck("reccomend");
    EXPECT_EQ(spelling, "1. recommend (double consonant swap cc at 3) (rank 20)");
}

TEST_F(SuggestTest, TwoWordSplits) {
    load_eng({"is 5", "a 3", "x 4", "the 1", "dog 50", "dogs 51", "running 30", "run 7", "out 8"});
    spellcheck("isa");
    EXPECT_TRUE(has(spelling, "is a (split at 2, ranks 5 & 3) (rank 5)")) << spelling;
    EXPECT_TRUE(has(spelling_sh, "is a")) << spelling_sh;
    EXPECT_EQ(splitting, 1);
    spellcheck("xa");  // one-letter left part other than "a"
    EXPECT_FALSE(has(spelling, "split")) << spelling;
    EXPECT_EQ(splitting, 0);
    spellcheck("thedog");
    EXPECT_TRUE(has(spelling, "the dog (split at 3, ranks 1 & 50) (rank 50)")) << spelling;
    spellcheck("thedogss");
    EXPECT_FALSE(has(spelling, "split")) << spelling;
}

TEST_F(SuggestTest, SplitsWithSuffixedParts) {
    load_eng({"the 1", "horse 40", "walk 60", "home 20"});
    spellcheck("thehorses");
    EXPECT_TRUE(has(spelling,
                    "the horses (split 3-letter word \"the\" + \"horse\" + common suffix \"s\", ranks 1 & 40) (rank 40)"))
        << spelling;
    EXPECT_TRUE(has(spelling_sh, "the horses")) << spelling_sh;
    spellcheck("walkinghome");
    EXPECT_TRUE(has(spelling, "walking home (split \"walk\" + common suffix \"ing\" + 4-letter word \"home\", "
                              "ranks 60 & 20) (rank 60)"))
        << spelling;
    EXPECT_EQ(splitting, 1);
}

TEST_F(SuggestTest, CommonPrefixSplits) {
    load_eng({"happy 70", "do 2"});
    spellcheck("unhappyness");
    EXPECT_TRUE(has(spelling, "(FALSE POS) common 2-letter prefix \"un\" + \"happy\" + common suffix \"ness\" (rank 70)"))
        << spelling;
    EXPECT_EQ(false_positive, 1);
    spellcheck("unhappy");
    EXPECT_TRUE(has(spelling, "(FALSE POS) common 2-letter prefix \"un\" + \"happy\" (rank 70)")) << spelling;
    load_eng({"sad 70"});
    spellcheck("unhappyness");  // neither the right part nor its stem is listed
    EXPECT_EQ(suggest_ct, 0);
    // A prefix point tries no two-word split: "re" + "do" are both listed but "re" is a prefix
    // and "do" is too short for the prefix rule.
    load_eng({"re 1", "do 2"});
    spellcheck("redo");
    EXPECT_FALSE(has(spelling, "split")) << spelling;
}

TEST_F(SuggestTest, WholeWordStemPlusSuffix) {
    load_eng({"happy 9", "horse 8"});
    spellcheck("happiness");
    EXPECT_EQ(spelling, "1. (FALSE POS) \"happy\" + common suffix \"y->iness\" (rank 9)");
    spellcheck("horses");  // the suffix "s" is left to the drop-last rule
    EXPECT_EQ(spelling, "1. (FALSE POS) horse (drop last s 6) (rank 8)");
}

TEST_F(SuggestTest, RankOrderAndNumbering) {
    load_eng({"cat 300", "cut 20", "cot 5000", "coat"});
    spellcheck("cet");
    EXPECT_EQ(suggest_ct, 3);
    EXPECT_EQ(spelling, "1. cut (change u 2) (rank 20) 2. cat (change a 2) (rank 300) 3. cot (change o 2) (rank 5000)");
    EXPECT_EQ(spelling_sh, "cut | cat | cot");
    spellcheck("caot");  // the unranked entry ranks 500000
    EXPECT_TRUE(has(spelling, "coat (swap a-o 2-3) (rank 500000)")) << spelling;
}

TEST_F(SuggestTest, AWordFoundByManyEditsShowsOnceAtItsFirstPlace) {
    load_eng({"error 5", "eror 9", "words 7"});
    spellcheck("erorr");
    EXPECT_EQ(spelling_sh, "error | eror");
    // The long list keeps every edit with its note.
    EXPECT_EQ(suggest_ct, 4);
    EXPECT_EQ(spelling, "1. error (double consonant swap rr at 4) (rank 5) 2. error (swap o-r 3-4) (rank 5) "
                        "3. error (triple orr->ror 3-5) (rank 5) 4. eror (drop last r 5) (rank 9)");
    spellcheck("words");  // a listed word changed into itself, at each letter
    EXPECT_EQ(spelling_sh, "words");
}

TEST_F(SuggestTest, CaseIsIgnoredAndKeptAsTyped) {
    load_eng({"London 10", "the 1"});
    spellcheck("LONDN");
    EXPECT_EQ(spelling, "1. LONDoN (add o 5) (rank 10)");
    spellcheck("TEH");
    EXPECT_EQ(spelling, "1. THE (swap E-H 2-3) (rank 1)");
}

TEST_F(SuggestTest, NearMatchesOnlyWhenNothingElseAndDeepSpell) {
    load_eng({"contemporary 40", "attractive 41", "abcdefgh 42", "banana 43", "bnanaa 44"});
    set_deep_spell(1);
    spellcheck("contemperery");  // two edits away
    EXPECT_EQ(spelling, "1. contemporary (EXTRA) (rank 40)");
    spellcheck("atractiv");  // shorter word 8: no near match
    EXPECT_EQ(suggest_ct, 0);
    spellcheck("contem'perery");  // apostrophe: no scan
    EXPECT_EQ(suggest_ct, 0);
    set_deep_spell(0);
    spellcheck("contemperery");
    EXPECT_EQ(suggest_ct, 0);
}

TEST_F(SuggestTest, BadInputHasDefinedAnswers) {
    load_eng({"a 1", "ab 2", "abc 3", "'s 4", "-- 5", "12 6"});
    for (std::string word : {std::string("'''"), std::string("---"), std::string("12345"), std::string("ab\x06" "cd"),
                             std::string("abc\xe4\xe5"), std::string(1000, 'q'), std::string("a")}) {
        spellcheck(word);
        EXPECT_LE(spelling.size(), kSpellTextMax);
        EXPECT_LE(spelling_sh.size(), kSpellTextMax);
        EXPECT_EQ(suggest_ct, static_cast<std::int32_t>(suggestion_pool.size()));
    }
    spellcheck("ab\x06" "c");
    EXPECT_TRUE(has(spelling, "abc (drop \x06 3)")) << spelling;
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
    spellcheck(word);
    EXPECT_TRUE(suggestion_pool.full());
    EXPECT_EQ(suggest_ct, 16);  // 16 texts of about 1,012 bytes fill the pool
    EXPECT_LE(spelling.size(), kSpellTextMax);
    EXPECT_GT(spelling.size(), kSpellTextMax - 1100);  // whole items only, as many as fit
    EXPECT_EQ(spelling.back(), ')');
    EXPECT_LE(spelling_sh.size(), kSpellTextMax);
    EXPECT_NE(spelling_sh.substr(spelling_sh.size() - 3), " | ");
    EXPECT_EQ(spelling.substr(0, 3), "1. ");
    EXPECT_TRUE(has(spelling, " (rank 0) 2. ")) << "ranks ascending";
}
