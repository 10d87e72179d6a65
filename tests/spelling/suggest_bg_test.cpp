// The Bulgarian suggestion generator: the fixed one-letter alternatives, the prefix forms, the
// letter pairs, the edits with their case rules, the hyphen and two-word splits, near matches,
// ranking and the result texts with their limits.
#include <algorithm>
#include <random>
#include <vector>

#include "bg_fixture.h"
#include "spelling/edit_candidates.h"
#include "spelling/suggest_bg.h"
#include "spelling/word_index.h"

TEST(SuggestBgTables, OneLetterAlternatives) {
    const auto alts = bulgarian_one_letter_alternatives();
    ASSERT_EQ(alts.size(), 14u);
    int n_small = 0, n_capital = 0;
    for (const OneLetterAlternative& a : alts) {
        if (a.letter == cp("н")[0]) ++n_small;
        if (a.letter == cp("Н")[0]) ++n_capital;
        // "alt (x -> alt)": the note names the letter and repeats the alternative.
        const std::string text(a.text);
        const std::string alt = text.substr(0, text.find(' '));
        EXPECT_EQ(text, alt + " (" + std::string(1, a.letter) + " -> " + alt + ")") << u8(text);
        EXPECT_EQ(a.fixed_rank, a.letter == cp("н")[0] || a.letter == cp("Н")[0]) << u8(text);
    }
    EXPECT_EQ(n_small, 3);
    EXPECT_EQ(n_capital, 3);
}

TEST(SuggestBgTables, ShortForms) {
    EXPECT_EQ(u8(bulgarian_short_form(cp("котка (add а 5)"))), "котка");
    EXPECT_EQ(u8(bulgarian_short_form(cp("бял червен (split at 3, ranks 1 & 2)"))), "бял червен");
    EXPECT_EQ(u8(bulgarian_short_form(cp("бял — червен (mdash at 3, ranks 1 & 2)"))), "бял — червен");
    EXPECT_EQ(u8(bulgarian_short_form(cp("Най-добър (Най?)"))), "Най-добър");
    EXPECT_EQ(u8(bulgarian_short_form(cp("дума"))), "дума");
    EXPECT_EQ(u8(bulgarian_short_form(cp("две думи"))), "две думи");
}

class SuggestBgTest : public BgTest {
protected:
    Suggestions last;  // the last run's
    std::string sh() const { return u8(last.spelling_sh); }
    std::string all() const { return u8(last.spelling); }
    void run(std::string_view utf8) { last = spellcheck_bg(cp(utf8)); }
};

TEST_F(SuggestBgTest, OneLetterWordsGetTheFixedAlternativesInRankOrder) {
    write_list("b_bulgarian", {"й 30", "и 10", "на 20", "в 7"});
    load();
    run("н");
    EXPECT_EQ(sh(), "и | на | й");
    EXPECT_EQ(all(), "1. и (н -> и) (rank -5) 2. на (н -> на) (rank -4) 3. й (н -> й) (rank -3)");
    EXPECT_EQ(last.suggest_ct, 3);
    run("Н");
    EXPECT_EQ(sh(), "И | На | Й");
    run("З");  // the alternative carries the rank of its entry
    EXPECT_EQ(all(), "1. В (З -> В) (rank 7)");
    run("ж");  // no rule for this letter
    EXPECT_EQ(last.suggest_ct, 0);
    EXPECT_EQ(last.spelling, "");
}

TEST_F(SuggestBgTest, OneLetterAlternativeMustBeListed) {
    write_list("b_bulgarian", {"на 20"});
    load();
    run("н");
    EXPECT_EQ(sh(), "на");
    run("б");  // "в" is not listed
    EXPECT_EQ(last.suggest_ct, 0);
}

TEST_F(SuggestBgTest, PrefixFormsOfNaiAndPo) {
    write_list("b_bulgarian", {"добър 55", "лон 9", "найлон 300", "лош 30", "ло 40"});
    load();
    run("пу-лош");  // six characters: the shortest word that gets a prefix form
    EXPECT_EQ(all(), "1. по-лош (по?) (rank -1)");
    run("пу-ло");
    EXPECT_EQ(last.suggest_ct, 0);
    run("наи-добър");
    EXPECT_EQ(all(), "1. най-добър (най?) (rank -1)");
    run("Наи-добър");
    EXPECT_EQ(sh(), "Най-добър");
    run("пу-добър");
    EXPECT_EQ(all(), "1. по-добър (по?) (rank -1)");
    run("Па-добър");
    EXPECT_EQ(sh(), "По-добър");
    // Any one letter of "най-" or "по-" in its place is enough.
    for (const char* w : {"нхх-добър", "хах-добър", "ххй-добър"}) {
        run(w);
        EXPECT_EQ(all(), "1. най-добър (най?) (rank -1)") << w;
    }
    run("хо-добър");
    EXPECT_EQ(all(), "1. по-добър (по?) (rank -1)");
    run("Нхх-добър");
    EXPECT_EQ(sh(), "Най-добър");
    // The letters joined without the hyphen are a listed word: the prefix form goes last.
    run("най-лон");
    EXPECT_EQ(sh(), "найлон | най-лон");
    EXPECT_NE(all().find("2. най-лон (най?) (rank 500000)"), std::string::npos) << all();
    // None of н, а, й in place: no prefix form.
    run("ХХХ-добър");
    EXPECT_EQ(last.suggest_ct, 0);
}

TEST_F(SuggestBgTest, LetterPairs) {
    write_list("b_bulgarian", {"ябълка 40", "къща 12", "юнак 90", "яиа 5", "иая 6"});
    load();
    run("иабълка");
    EXPECT_EQ(all(), "1. ябълка (я 0) (rank 40)");
    run("ЙАБЪЛКА");  // the letter after the pair's first is a capital
    EXPECT_EQ(sh(), "ЯБЪЛКА");
    run("къшта");
    EXPECT_EQ(all(), "1. къща (щ 2) (rank 12)");
    run("иунак");
    EXPECT_EQ(sh(), "юнак");
    // A pair type stops at its first position that gives a listed word.
    run("иаиа");
    EXPECT_NE(all().find("яиа (я 0)"), std::string::npos) << all();
    EXPECT_EQ(all().find("(я 2)"), std::string::npos) << all();
    // Ё lowers to ё (not to и, as adding 32 would make it): no pair here.
    run("Ёабълка");
    EXPECT_EQ(last.suggest_ct, 0) << all();
}

TEST_F(SuggestBgTest, NewLettersFollowTheCaseOfTheWord) {
    write_list("b_bulgarian", {"котка 50", "на 3"});
    load();
    run("отка");
    EXPECT_EQ(all(), "1. котка (add к 1) (rank 50)");
    run("Отка");  // only the first letter is a capital: the added letter takes its place
    EXPECT_EQ(all(), "1. Котка (add К 1) (rank 50)");
    run("ОТКА");
    EXPECT_EQ(all(), "1. КОТКА (add К 1) (rank 50)");
    run("КОТЦА");  // next to capitals
    EXPECT_EQ(all(), "1. КОТКА (change К 4) (rank 50)");
    run("КОТК");  // at the end: the letter before decides
    EXPECT_EQ(all(), "1. КОТКА (add А 5) (rank 50)");
    run("Нб");  // two letters, the last small: a letter changed there stays small
    EXPECT_EQ(all(), "1. На (change а 2) (rank 3)");
}

TEST_F(SuggestBgTest, EditTextsAndFirstLetterFlag) {
    write_list("b_bulgarian", {"котка 50"});
    load();
    run("скотка");
    EXPECT_EQ(all(), "1. котка (drop с 1) (rank 50)");
    EXPECT_TRUE(last.first_letter_differ);
    run("котрка");
    EXPECT_EQ(all(), "1. котка (drop р 4) (rank 50)");
    EXPECT_FALSE(last.first_letter_differ);
    run("котказ");
    EXPECT_EQ(all(), "1. котка (drop last з 6) (rank 50)");
    run("октка");
    EXPECT_EQ(all(), "1. котка (swap о-к 1-2) (rank 50)");
    run("кттка");
    EXPECT_EQ(all(), "1. котка (change о 2) (rank 50)");
    run("кткоа");
    EXPECT_EQ(all(), "1. котка (triple тко->отк 2-4) (rank 50)");
    run("кооотка");
    EXPECT_EQ(all(), "1. котка (repeated \"о\" 2-4) (rank 50)");
    write_list("b_bulgarian", {"телефон 60"});
    load();
    run("телфон");  // six letters: the word with a letter added is longer than the hole filter holds
    EXPECT_EQ(all(), "1. телефон (add е 4) (rank 60)");
    EXPECT_FALSE(last.false_positive);
}

TEST_F(SuggestBgTest, ImeEmeEndingsAndHyphensRankFirst) {
    write_list("b_bulgarian", {"правим 100", "правите 50", "учим 70", "черно-бял 900", "чернобял 40"});
    load();
    run("правиме");
    EXPECT_EQ(sh(), "правим | правите");
    EXPECT_NE(all().find("1. правим (drop last е 7) (rank -1)"), std::string::npos) << all();
    run("учиме");  // five letters: no preference
    EXPECT_EQ(all(), "1. учим (drop last е 5) (rank 70)");
    run("чернобял");  // listed; the hyphenated form comes first
    EXPECT_NE(all().find("1. черно-бял (add - 6) (rank -1)"), std::string::npos) << all();
}

TEST_F(SuggestBgTest, HyphenSplitGivesWordsAndDash) {
    write_list("b_bulgarian", {"бял 10", "червен 20"});
    load();
    run("бял-червен");
    EXPECT_EQ(sh(), "бял червен | бял — червен");
    EXPECT_EQ(all(),
              "1. бял червен (split at 3, ranks 10 & 20) (rank 20) "
              "2. бял — червен (mdash at 3, ranks 10 & 20) (rank 500000)");
    EXPECT_TRUE(last.splitting);
    EXPECT_TRUE(last.mdash);
    run("червен");  // the next run clears the dash flag
    EXPECT_FALSE(last.mdash);
}

TEST_F(SuggestBgTest, HyphenSplitNotOfferedWhenTheJoinedWordIsListed) {
    write_list("b_bulgarian", {"бял 10", "червен 20", "бялчервен 30"});
    load();
    run("бял-червен");
    EXPECT_EQ(sh(), "бялчервен");
    EXPECT_FALSE(last.mdash);
}

TEST_F(SuggestBgTest, TwoWordSplitRefusesProperNameParts) {
    write_list("b_bulgarian", {"град 10", "мост 20", "софия 5", "в 3", "къщи 15"});
    write_forms({"град град 0 0", "мост мост 0 0", "софия софия 459 0"});
    load();
    run("градмост");
    EXPECT_EQ(all(), "1. град мост (split at 4, ranks 10 & 20) (rank 20)");
    EXPECT_TRUE(last.splitting);
    run("вкъщи");  // a left part of one letter
    EXPECT_EQ(sh(), "къщи | в къщи");
    run("градсофия");
    EXPECT_EQ(last.suggest_ct, 0);
    EXPECT_FALSE(last.splitting);
}

TEST_F(SuggestBgTest, AlwaysSuggestLeavesTheWordItselfOut) {
    write_list("b_bulgarian", {"котка 50", "котки 60"});
    load();
    gl_ALLWAYS_SUGGEST = 1;
    run("Котка");
    EXPECT_EQ(sh(), "Котки");
    EXPECT_EQ(last.suggest_ct, 1);
    // Changing a letter into itself finds the word: it stays in the long list only.
    EXPECT_NE(all().find("Котка (change а 5)"), std::string::npos) << all();
    gl_ALLWAYS_SUGGEST = 0;
    run("Котка");
    // Each letter changed into itself gives the word: it shows once, at its first place.
    EXPECT_EQ(sh(), "Котка | Котки");
    EXPECT_EQ(last.suggest_ct, 2);
}

TEST_F(SuggestBgTest, AlwaysSuggestWithOnlyTheWordItselfCountsNothing) {
    write_list("b_bulgarian", {"кот 50"});
    load();
    gl_ALLWAYS_SUGGEST = 1;
    run("кот");
    EXPECT_EQ(last.suggest_ct, 0);
    EXPECT_EQ(last.spelling_sh, "");
    // The long list keeps its final blank when nothing is counted.
    EXPECT_EQ(all(), "1. кот (change к 1) (rank 50) 2. кот (change о 2) (rank 50) 3. кот (change т 3) (rank 50) ");
}

TEST_F(SuggestBgTest, NearMatchesOnlyWhenNothingElseAndTheOptionIsOn) {
    write_list("b_bulgarian", {"телефонист 700", "телевизор 800", "кораби 900"});
    load();
    run("тилефонест");  // two letters off
    EXPECT_EQ(all(), "1. телефонист (EXTRA) (rank 700)");
    run("коорби");  // six letters: the shortest word that is compared
    EXPECT_EQ(all(), "1. кораби (EXTRA) (rank 900)");
    run("ТИЛЕФОНЕСТ");  // letters compared after case folding
    EXPECT_EQ(sh(), "телефонист");
    run("тилефо-нест");  // a hyphen: no scan
    EXPECT_EQ(last.suggest_ct, 0);
    OP[OPT_DEEP_SPELL].num_value = 0;
    run("тилефонест");
    EXPECT_EQ(last.suggest_ct, 0);
}

TEST_F(SuggestBgTest, NearMatchScanAgreesWithTheWholeList) {
    // Cyrillic words in mixed case with a few common endings, so that many share their last letters.
    std::mt19937 rng(1251);
    const std::string letters = cp("абвгдеиклмнопрстуАБВЕКОП");
    const std::vector<std::string> endings = {cp("ата"), cp("ите"), cp("ия"), cp("та"), ""};
    std::vector<std::string> words;
    {
        std::ofstream f(dir / "b_bulgarian.txt", std::ios::binary);
        for (int i = 0; i < 6000; ++i) {
            std::string w;
            const int len = 4 + static_cast<int>(rng() % 10);
            for (int j = 0; j < len; ++j) w += letters[rng() % letters.size()];
            w += endings[rng() % endings.size()];
            f << w << ' ' << i << "\r\n";
            words.push_back(w);
        }
    }
    load();
    const WordIndex& idx = dictionary_index(B_BULGARIAN);
    std::vector<std::size_t> hits;
    std::size_t total = 0;
    for (int q = 0; q < 60; ++q) {
        std::string w = words[rng() % words.size()];
        for (int e = 0; e < 2; ++e) w[rng() % w.size()] = letters[rng() % letters.size()];
        near_match_scan(idx, w, hits);
        std::vector<std::size_t> expected;
        if (w.size() >= 6)
            for (std::size_t i = 0; i < idx.size(); ++i)
                if (near_match(w, idx.entry(i).key)) expected.push_back(i);
        EXPECT_EQ(hits, expected) << u8(w);
        total += hits.size();
    }
    EXPECT_GT(total, 30u);
}

TEST_F(SuggestBgTest, ResultTextsStayWithinTheirLimits) {
    // A long word whose every one-letter change is listed: far more than the pool holds.
    const std::string word(300, cp("а")[0]);
    std::vector<std::string> lines;
    const std::string letters = cp("бвгдежзийклмнопрстуфхцчшщъьюя");  // not а: every line a new word
    for (std::size_t i = 0; i < word.size(); ++i)
        for (char l : letters) {
            std::string w = word;
            w[i] = l;
            lines.push_back(w + " 5");
        }
    {
        std::ofstream f(dir / "b_bulgarian.txt", std::ios::binary);
        for (const std::string& l : lines) f << l << "\r\n";
    }
    load();
    last = spellcheck_bg(word);
    EXPECT_GT(last.suggest_ct, 10);
    EXPECT_LE(last.spelling.size(), kSpellTextMax);
    EXPECT_LE(last.spelling_sh.size(), kSpellTextMax);
    EXPECT_EQ(static_cast<std::size_t>(std::count(last.spelling_sh.begin(), last.spelling_sh.end(), '|')) + 1,
              static_cast<std::size_t>(last.suggest_ct));
    EXPECT_NE(last.spelling.back(), ' ');
}

TEST_F(SuggestBgTest, BadInputHasADefinedAnswer) {
    write_list("b_bulgarian", {"котка 50", "а 1"});
    load();
    run("");
    EXPECT_EQ(last.suggest_ct, 0);
    last = spellcheck_bg(std::string(1000, cp("к")[0]));
    EXPECT_EQ(last.suggest_ct, 0);
    last = spellcheck_bg(cp("кот") + "\x06" + cp("ка"));  // the byte 6 dropped or changed
    EXPECT_EQ(sh(), "котка");
    last = spellcheck_bg("'-'");
    EXPECT_EQ(last.suggest_ct, 0);
    run("кoтка");  // a Latin o: changed for the Cyrillic one
    EXPECT_EQ(sh(), "котка");
}
