// The OCR letter-substitution check over token store 1: the block it appends for a letter pair,
// its colours, the trial substitution and the pairs of b_bulgarian_two_letters in file order.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/proofreading/ocr_check.h"
#include "engine/tokeniser.h"
#include "engine/engine_fixture.h"
#include "spelling/spell_state.h"
#include "spelling/word_index.h"

namespace {

class OcrCheck : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        make_stores();
        report = hBigReLeft;
    }
    // Cuts UTF-8 text into store 1.
    void text(std::string_view utf8) {
        std::string t = cp(utf8);
        tokenise_text(t, 0);
    }
    // Loads b_bulgarian from CP1251 lines.
    void bulgarian(const std::vector<std::string>& words) {
        DictFileRecord& rec = b[B_BULGARIAN];
        const std::filesystem::path file = data.path() / "b_bulgarian.txt";
        {
            std::ofstream f(file, std::ios::binary);
            for (const std::string& w : words) f << w << "\r\n";
        }
        rec.entries.clear();
        rec.text = load_pairs(file, ListLoadOptions{}, rec.entries, &rec.stats);
        rec.count = rec.entries.size();
    }
    void check(std::string_view c1, std::string_view c2) {
        check_ocr_char(report, static_cast<unsigned char>(cp(c1)[0]), static_cast<unsigned char>(cp(c2)[0]));
    }
    std::string shown() const { return panel8(report); }
    // The colour and boldness of the character at `at` of the report.
    std::pair<COLORREF, bool> format_at(LONG at) const {
        const CHARFORMAT2W f = RE_GetCharFormatAt(report, at);
        return {f.crTextColor, (f.dwEffects & CFE_BOLD) != 0};
    }
    LONG find(std::string_view utf8) const {
        const std::u16string all = RE_GetTextW(report);
        const std::size_t at = all.find(utf8_to_utf16(utf8));
        EXPECT_NE(at, std::u16string::npos) << utf8;
        return static_cast<LONG>(at);
    }

    HWND report{};
};

const std::vector<std::string> kWords = {cp("пек"), cp("лек"), cp("пипа"), cp("липа"), cp("пила"),
                                         cp("пот"), cp("лар"), cp("пет")};

TEST_F(OcrCheck, GroupedBlockForOnePair) {
    bulgarian(kWords);
    text("пек пипа Пек, пек пот пар.");
    check("п", "л");
    EXPECT_EQ(shown(),
              "потенциални грешки: п -> л\r"
              "(без подробен списък, виж обобщението по-долу)\r"
              "\r"
              "ОБОБЩЕНИЕ НА 3 ПОТЕНЦИАЛНИ ГРЕШКИ: П -> Л (4 срещания):\r"
              "\r"
              "1. пек  2 -> лек\r"
              "2. Пек  1 -> Лек\r"          // the capital becomes the other letter's capital
              "3. пипа  1 -> липа | пила\r"  // each of the two letters is tried alone
              "\r");
}

TEST_F(OcrCheck, ColoursOfTheBlock) {
    bulgarian(kWords);
    text("пек Пек пек");
    check("п", "л");
    const auto magenta_bold = std::pair<COLORREF, bool>{kColOcrHeader, true};
    EXPECT_EQ(format_at(find("потенциални")), magenta_bold);
    EXPECT_EQ(format_at(find("(без")), magenta_bold);
    EXPECT_EQ(format_at(find("ОБОБЩЕНИЕ")), (std::pair<COLORREF, bool>{kColOcrHeader, false}));
    const LONG line1 = find("1. пек");
    EXPECT_EQ(format_at(line1), (std::pair<COLORREF, bool>{gl_col_nosug, false}));
    EXPECT_EQ(format_at(line1 + 3), (std::pair<COLORREF, bool>{kColOcrWord, true}));       // red word
    EXPECT_EQ(format_at(line1 + 6), (std::pair<COLORREF, bool>{kColOcrCount, false}));     // the blanks
    EXPECT_EQ(format_at(line1 + 8), (std::pair<COLORREF, bool>{kColOcrCount, false}));     // the count
    EXPECT_EQ(format_at(line1 + 10), (std::pair<COLORREF, bool>{kColOcrAlternatives, false}));  // arrow
    const LONG line2 = find("2. Пек");
    EXPECT_EQ(format_at(line2 + 3), (std::pair<COLORREF, bool>{kColOcrName, true}));  // looks like a name
    // A name has three characters at least: a two-letter word with a capital is a word.
    RE_SetTextW(report, u"");
    bulgarian({cp("пе"), cp("ле")});
    text("Пе");
    check("п", "л");
    EXPECT_EQ(format_at(find("1. Пе") + 3), (std::pair<COLORREF, bool>{kColOcrWord, true}));
}

TEST_F(OcrCheck, OnlyKnownWordsThatBecomeKnownWordsAreReported) {
    bulgarian(kWords);
    const std::string before = "keep\r";
    RE_SetTextW(report, u"keep\r");
    text("пот пар лек липа");  // пот -> лот unknown; пар unknown itself; no п in лек, липа
    check("п", "л");
    EXPECT_EQ(shown(), before);
    check("я", "ю");  // letters that do not occur at all
    EXPECT_EQ(shown(), before);
}

TEST_F(OcrCheck, WordsLongerThan127CharactersAreNeverExamined) {
    const std::string tail(126, static_cast<char>(0xE0));  // 'а'
    const std::string p127 = cp("п") + tail, l127 = cp("л") + tail;
    const std::string p128 = p127 + static_cast<char>(0xE0), l128 = l127 + static_cast<char>(0xE0);
    bulgarian({p127, l127, p128, l128});
    std::string t = p128 + " " + p127;
    tokenise_text(t, 0);
    check("п", "л");
    const std::string s = shown();
    EXPECT_NE(s.find("1. " + u8(p127) + "  1 -> " + u8(l127)), std::string::npos);
    EXPECT_EQ(s.find(u8(p128)), std::string::npos);
    EXPECT_EQ(ocr_substitutions(p128, 0xEF, 0xEB), std::vector<std::string>{});
}

TEST_F(OcrCheck, AlternativesAreCutToWholeWordsWithin1023Characters) {
    // A word of 100 letters with 20 letters п: each substitution is a known word of 100 letters.
    std::string word;
    for (int k = 0; k < 20; ++k) word += cp("п") + std::string(4, static_cast<char>(0xE0));
    std::vector<std::string> words{word};
    for (std::size_t i = 0; i < word.size(); i += 5) {
        std::string w = word;
        w[i] = cp("л")[0];
        words.push_back(w);
    }
    bulgarian(words);
    EXPECT_EQ(ocr_substitutions(word, 0xEF, 0xEB).size(), 20u);
    tokenise_text(word, 0);
    check("п", "л");
    const std::string s = shown();
    const std::size_t arrow = s.find(" -> ", s.find("1. "));
    const std::string listed = s.substr(arrow + 4, s.find('\r', arrow) - arrow - 4);
    EXPECT_EQ(listed.size(), 9u * 100 * 2 + 8 * 3);  // nine whole words (UTF-8: two bytes a letter)
    EXPECT_EQ(listed.substr(0, 200), u8(words[1]));
}

TEST_F(OcrCheck, PairsOfTheListInFileOrderEachWithItsOwnBlock) {
    bulgarian(kWords);
    load_dict(B_BULGARIAN_TWO_LETTERS, {"к т", "ж", "п л"});  // "ж" has no second letter: skipped
    text("пек Пек пек");
    check_ocr_letter_pairs(report);
    EXPECT_EQ(shown(),
              "потенциални грешки: к -> т\r(без подробен списък, виж обобщението по-долу)\r\r"
              "ОБОБЩЕНИЕ НА 2 ПОТЕНЦИАЛНИ ГРЕШКИ: К -> Т (3 срещания):\r\r"
              "1. пек  2 -> пет\r2. Пек  1 -> Пет\r\r"
              "потенциални грешки: п -> л\r(без подробен списък, виж обобщението по-долу)\r\r"
              "ОБОБЩЕНИЕ НА 2 ПОТЕНЦИАЛНИ ГРЕШКИ: П -> Л (3 срещания):\r\r"
              "1. пек  2 -> лек\r2. Пек  1 -> Лек\r\r");
}

// With the known-word list's hashed index built (as the start builds it) every swap is looked up by
// hash: the blocks are those the list's search gives, for words whose swap is known but which are
// not known themselves, several occurrences of the letter of which a later one swaps to a word,
// capitals, a small letter swapped for a capital and swaps that change only the case.
TEST_F(OcrCheck, TheHashedIndexAnswersAsTheListsSearch) {
    bulgarian({cp("пек"), cp("лек"), cp("пипа"), cp("липа"), cp("пила"), cp("пот"), cp("пет"), cp("Лапа"),
               cp("папа"), cp("пепел")});
    load_dict(B_BULGARIAN_TWO_LETTERS, {"к т", "п л", "п Л", "п п", "а о", "л п"});
    text("пек Пек ПЕК лек пипа Пипа ПИПА липа лапа папа пет нпек пекк пот пепел пепел лек");
    check_ocr_letter_pairs(report);
    const std::string searched = shown();
    dictionary_index(B_BULGARIAN);
    ASSERT_NE(built_word_index(b[B_BULGARIAN].entries), nullptr);
    RE_SetTextW(report, u"");
    check_ocr_letter_pairs(report);
    EXPECT_NE(searched.find("5. папа  1 -> лапа"), std::string::npos) << searched;
    EXPECT_EQ(shown(), searched);
    drop_word_indexes();
}

// What the pairs found is kept from run to run by spelling: over more spellings than the kept
// table first holds, a run again, and one after a word of the text changed, report as first runs.
TEST_F(OcrCheck, KeptFindingsOfManySpellingsReportAsAFirstRun) {
    bulgarian(kWords);
    load_dict(B_BULGARIAN_TWO_LETTERS, {"к т", "п л"});
    std::string many;
    const std::string letters[] = {"а", "б", "в", "г", "д", "е", "ж", "з", "и", "к"};
    for (int i = 0; i < 40'000; ++i) {
        many += " п";
        for (int d = i; d > 0; d /= 10) many += letters[d % 10];
    }
    const auto run = [&](std::string_view utf8, bool first) {
        if (first) release_kept_ocr_findings();
        text(utf8);
        RE_SetTextW(report, u"");
        check_ocr_letter_pairs(report);
        return shown();
    };
    const std::string before = "пек пипа Пек" + many, after = "пек пипа пот" + many;
    const std::string first = run(before, true);
    EXPECT_NE(first.find("пек  2 -> лек"), std::string::npos);
    EXPECT_EQ(run(before, false), first);
    EXPECT_EQ(run(after, false), run(after, true));
}

TEST_F(OcrCheck, PairsThatOnlyChangeCaseFindNothing) {
    // The list is looked up without regard to case, so a letter swapped for itself or for its
    // capital gives the same word back: no known word would report itself as its own confusion.
    bulgarian(kWords);
    RE_SetTextW(report, u"keep\r");
    text("пек Пек лек липа");
    check("п", "п");
    check("л", "Л");
    check("П", "п");
    EXPECT_EQ(shown(), "keep\r");
    EXPECT_EQ(ocr_substitutions(cp("пипа"), 0xEF, 0xEF), std::vector<std::string>{});
    EXPECT_EQ(ocr_substitutions(cp("пипа"), 0xEF, 0xCF), std::vector<std::string>{});
    // A pair of a small letter and another capital still swaps: case alone is what is ignored.
    EXPECT_EQ(ocr_substitutions(cp("пек"), 0xEF, 0xCB), std::vector<std::string>{cp("Лек")});
}

TEST_F(OcrCheck, EmptyStoreAndEmptyListsChangeNothing) {
    check("п", "л");  // store 1 never filled
    text("");
    check("п", "л");
    bulgarian(kWords);
    check_ocr_letter_pairs(report);  // no pairs loaded
    EXPECT_EQ(shown(), "");
}

}  // namespace
