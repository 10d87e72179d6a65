// The report text of a Bulgarian token: every list it consults, the exact texts and colours, glued
// words, Latin look-alike letters and digits, numbers glued to words, capitals, the prefixes "най-"
// and "по-", and the generator's suggestions.
#include "bg_fixture.h"
#include "spelling/unknown_bg.h"

#include <tuple>

namespace {

struct Lensug {
    std::string text;  // UTF-8 of the report text
    std::uint32_t colour = 0;
    std::uint8_t has_latin = 9, known = 9, upper_skipped = 9, own = 9;
    std::string rank = "0";  // "0" when the word was not found in b_bulgarian
};

Lensug lensug_raw(const std::string& word) {
    const BgReport b = get_lensug(word);
    Lensug r{u8(b.text), b.colour, b.has_latin, b.known, b.upper_skipped, b.own, b.rank ? u8(*b.rank) : "0"};
    return r;
}
Lensug lensug(std::string_view utf8) { return lensug_raw(cp(utf8)); }

constexpr std::uint32_t kNoSug = 0x080808;

}  // namespace

class UnknownBgTest : public BgTest {
protected:
    void SetUp() override {
        BgTest::SetUp();
        write_list("b_bulgarian", {"котка 120", "котки 130", "дом 15", "шапка 300", "къща 40", "човек 20",
                                   "добър 55", "дъбър 60", "между 7", "помежду 900", "много 3", "я 1", "по 2",
                                   "кученце", "хубав 500"});
        write_forms({"котка котка 85 0", "кученце кученце 114 0", "добър добър 140 0", "много много 449 0",
                     "между между 453 0"});
        write_list("b_bulgarian_misspelling", {"грешка правилно | друго (коментар)", "празна", "хубав хубаво"});
        write_list("b_bulgarian_misspelling_fast", {"бързо бавно"});
        write_list("b_bulgarian_dialect", {"дедо дядо", "туй"});
        write_list("b_bulgarian_synonym", {"ползвам използвам", "бая"});
        write_list("b_bulgarian_risk", {"рискова опасна | смела", "хмм"});
        write_list("b_bulgarian_custom", {"моята"});
        write_list("b_bulgarian_new", {"новата"});
        write_list("b_bulgarian_secondpart", {"ти", "ма"});
        write_list("b_bulgarian_po_nai", {"добър"});
        load();
    }
};

TEST_F(UnknownBgTest, TreatAsUnknownComesFirst) {
    gl_TREAT_AS_UNKNOWN = 1;
    for (std::string_view w : {"котка", "грешка", "моята", "xyz"}) {
        const Lensug r = lensug(w);
        EXPECT_EQ(r.text, " -> ") << w;
        EXPECT_EQ(r.colour, 0xCDCDCDu);
        EXPECT_EQ(r.known, 0);
    }
}

TEST_F(UnknownBgTest, MisspellingListsGiveTheirCorrections) {
    Lensug r = lensug("грешка");
    EXPECT_EQ(r.text, " -> правилно | друго (коментар)");
    EXPECT_EQ(r.colour, 0xFF552Au);
    EXPECT_EQ(r.known, 0);
    EXPECT_EQ(lensug("Грешка").text, " -> Правилно | Друго (коментар)");  // every alternative capitalised
    EXPECT_EQ(lensug("празна").text, " -> no suggestions");
    EXPECT_EQ(lensug("празна").colour, 0xFF552Au);
    EXPECT_EQ(lensug("бързо").text, " -> бавно");  // the fast list
    // A listed word that is also a misspelling gets the correction.
    r = lensug("хубав");
    EXPECT_EQ(r.text, " -> хубаво");
    EXPECT_EQ(r.known, 0);
    EXPECT_EQ(r.rank, "0");
}

TEST_F(UnknownBgTest, DialectSynonymAndRiskLists) {
    Lensug r = lensug("дедо");
    EXPECT_EQ(r.text, " -> дядо (dialect)");
    EXPECT_EQ(r.colour, 0xFF5555u);
    EXPECT_EQ(lensug("Дедо").text, " -> Дядо (dialect)");
    EXPECT_EQ(lensug("туй").text, " -> no suggestions (dialect)");
    r = lensug("ползвам");
    EXPECT_EQ(r.text, " -> използвам (better)");
    EXPECT_EQ(r.colour, 0xFF2A55u);
    EXPECT_EQ(lensug("бая").text, " -> no suggestions (better)");
    r = lensug("Рискова");
    EXPECT_EQ(r.text, " -> Опасна | Смела (risk)");
    EXPECT_EQ(r.colour, 0xFF2A55u);
    EXPECT_EQ(lensug("хмм").text, " -> no suggestions (risk)");
}

TEST_F(UnknownBgTest, OwnWords) {
    Lensug r = lensug("моята");
    EXPECT_EQ(r.text, " (custom)");
    EXPECT_EQ(r.known, 1);
    EXPECT_EQ(r.own, 1);
    EXPECT_EQ(r.colour, kNoSug);
    r = lensug("НОВАТА");
    EXPECT_EQ(r.text, " (new)");
    EXPECT_EQ(r.known, 1);
    EXPECT_EQ(r.own, 1);
}

TEST_F(UnknownBgTest, KnownWordsShowRankAndAnalysis) {
    Lensug r = lensug("котка");
    EXPECT_EQ(r.text, " 120 (котка 41 noun suf:0)");
    EXPECT_EQ(r.known, 1);
    EXPECT_EQ(r.own, 0);
    EXPECT_EQ(r.rank, "120");
    EXPECT_EQ(r.colour, kNoSug);
    r = lensug("кученце");  // no rank text
    EXPECT_EQ(r.text, " (кученце 53 noun suf:0)");
    EXPECT_EQ(r.rank, "");
    r = lensug("дом");  // no analysis: no text
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(r.known, 1);
    EXPECT_EQ(r.rank, "15");
    gl_SPELLING_MODE = 1;
    r = lensug("котка");
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(r.known, 1);
    EXPECT_EQ(r.rank, "120");
}

TEST_F(UnknownBgTest, AlwaysSuggestSendsKnownWordsToTheGenerator) {
    gl_ALLWAYS_SUGGEST = 1;
    const Lensug r = lensug("котка");
    EXPECT_EQ(r.text, " -> котки");
    EXPECT_EQ(r.colour, 0x7F00u);
    EXPECT_EQ(r.known, 0);
    EXPECT_EQ(r.rank, "0");
}

TEST_F(UnknownBgTest, WordsGluedByADotOrMark) {
    Lensug r = lensug("дом.котка");
    EXPECT_EQ(r.text, " -> дом котка | дом. Котка | дом. котка");
    EXPECT_EQ(r.colour, 0x7F00u);
    EXPECT_EQ(lensug("дом.Котка").text, " -> дом. Котка | дом Котка");
    EXPECT_EQ(lensug("дом!котка").text, " -> дом котка | дом! Котка | дом! котка");
    // The split is at the first occurrence of the last mark met (':' belongs to the number).
    EXPECT_EQ(lensug("12:30!котка").text, " -> 12:30 котка | 12:30! Котка | 12:30! котка");
    EXPECT_EQ(lensug("дом.12").text, " -> дом. 12 | дом 12 | дом, 12");
}

TEST_F(UnknownBgTest, WordsGluedByAComma) {
    Lensug r = lensug("дом,котка");
    EXPECT_EQ(r.text, " -> дом, котка | дом. Котка | дом котка");
    EXPECT_EQ(r.colour, 0x7F00u);
    EXPECT_EQ(lensug("дом,Котка").text, " -> дом, Котка | дом. Котка | дом Котка");
    EXPECT_EQ(lensug("дом,12").text, " -> дом, 12 | дом 12 | дом. 12");
    // An unknown side: no glued text; the generator decides.
    r = lensug("дом,щщщщ");
    EXPECT_EQ(r.text, " -> no suggestions");
    EXPECT_EQ(r.colour, kNoSug);
}

TEST_F(UnknownBgTest, LatinLookalikesAreRepaired) {
    Lensug r = lensug("кoтка");  // Latin o
    EXPECT_EQ(r.text, " -> котка (mixed Cyrillic 4 Latin 1)");
    EXPECT_EQ(r.colour, 0x20C000u);
    EXPECT_EQ(r.has_latin, 1);
    EXPECT_EQ(r.known, 0);
    EXPECT_EQ(lensug("грeшка").text, " -> правилно | друго (коментар) (mixed Cyrillic 5 Latin 1)");
    EXPECT_EQ(lensug("Гpeшкa").text, " -> Правилно | Друго (коментар) (mixed Cyrillic 3 Latin 3)");
    EXPECT_EQ(lensug("кoтк").text, " -> котка | котки (mixed Cyrillic 3 Latin 1)");
    r = lensug("кoqdz");
    EXPECT_EQ(r.text, " -> no suggestions (mixed Cyrillic 1 Latin 4)");
    EXPECT_EQ(r.colour, kNoSug);
    EXPECT_EQ(r.has_latin, 1);
}

TEST_F(UnknownBgTest, DigitsTypedForLetters) {
    Lensug r = lensug("6апка");
    EXPECT_EQ(r.text, " -> шапка");
    EXPECT_EQ(r.colour, 0x20C000u);
    EXPECT_EQ(r.has_latin, 0);
    EXPECT_EQ(lensug("6АПКА").text, " -> ШАПКА");  // at the start the letter after decides
    EXPECT_EQ(lensug("къ6та").text, " -> къща");
    EXPECT_EQ(lensug("КЪ6ТА").text, " -> КЪЩА");   // elsewhere the letter before
    EXPECT_EQ(lensug("4овек").text, " -> човек");
    EXPECT_EQ(lensug("ко3ка").text, " -> котка");  // the generator on the word
}

TEST_F(UnknownBgTest, NumberHyphenSecondPart) {
    Lensug r = lensug("5-ти");
    EXPECT_EQ(r.text, " (correct second part)");
    EXPECT_EQ(r.known, 1);
    EXPECT_EQ(r.colour, 0x20C000u);
    r = lensug("5-котка");
    EXPECT_EQ(r.text, " -> no suggestions (incorrect second part)");
    EXPECT_EQ(r.colour, kNoSug);
    r = lensug("5-котк");
    EXPECT_EQ(r.text, " -> 5-котка | котки (second part fixed)");
    EXPECT_EQ(r.colour, 0x20C000u);
    r = lensug("5-щщщ");
    EXPECT_EQ(r.text, " -> no suggestions (second part not found)");
    EXPECT_EQ(r.colour, kNoSug);
    // A word whose second character is '-' keeps its digits.
    EXPECT_EQ(lensug("6-апка").text, " -> 6-шапка (second part fixed)");
}

TEST_F(UnknownBgTest, NumberGluedToAWord) {
    EXPECT_EQ(lensug("12ти").text, " -> 12-ти");
    EXPECT_EQ(lensug("12котки").text, " -> 12 котки");
    EXPECT_EQ(lensug("1999г").text, " -> 1999 г.");
    EXPECT_EQ(lensug("12котк").text, " -> 12 котка | котки");
    Lensug r = lensug("12щщщ");
    EXPECT_EQ(r.text, " -> no suggestions (incorrect num+Cyrillic)");
    EXPECT_EQ(r.colour, kNoSug);
    EXPECT_EQ(lensug("99999г").text, " -> no suggestions (incorrect num+Cyrillic)");  // not a year
    r = lensug("к-3");
    EXPECT_EQ(r.text, " -> no suggestions (mixed Cyrillic 1 digits 1)");
    EXPECT_EQ(r.colour, kNoSug);
}

TEST_F(UnknownBgTest, LatinLettersAndDigits) {
    Lensug r = lensug("6aпкa");
    EXPECT_EQ(r.text, " -> шапка (mixed Cyrillic 2 Latin 2 digits 1)");
    EXPECT_EQ(r.colour, 0x20C000u);
    EXPECT_EQ(r.has_latin, 1);
    r = lensug("5-тu");
    EXPECT_EQ(r.text, " -> 5-ти (correct second part, mixed Cyrillic 1 Latin 1 digits 1)");
    EXPECT_EQ(r.known, 0);
    EXPECT_EQ(lensug("5-кoтка").text, " -> 5-котка (incorrect second part, mixed Cyrillic 4 Latin 1 digits 1)");
    EXPECT_EQ(lensug("5-кoтк").text, " -> 5-котка | котки (mixed Cyrillic 3 Latin 1 digits 1)");
    EXPECT_EQ(lensug("12кoтки").text, " -> 12 котки");
    r = lensug("q7");
    EXPECT_EQ(r.text, " -> no suggestions (mixed Cyrillic 0 Latin 1 digits 1)");
    EXPECT_EQ(r.colour, kNoSug);
}

TEST_F(UnknownBgTest, CapitalisedWordsAreCheckedOnlyWithSpellUppercase) {
    Lensug r = lensug("Хубав");  // SPELL_UPPERCASE is on by default; the lists come first anyway
    EXPECT_EQ(r.text, " -> Хубаво");
    r = lensug("Коткм");
    EXPECT_EQ(r.text, " -> Котка | Котки");  // the generator, the case kept
    EXPECT_EQ(r.upper_skipped, 0);
    gl_SPELL_UPPERCASE = 0;
    r = lensug("Коткм");
    EXPECT_EQ(r.text, " (uppercase, no spell checking)");
    EXPECT_EQ(r.upper_skipped, 1);
    EXPECT_EQ(r.colour, kNoSug);
    EXPECT_EQ(lensug("Д'Артанян").upper_skipped, 1);
    EXPECT_EQ(lensug("КАтко").upper_skipped, 0);  // two capitals side by side are checked
    EXPECT_EQ(lensug("КАтко").text, " -> no suggestions");
}

TEST_F(UnknownBgTest, NaiAndPoWithAKnownRest) {
    Lensug r = lensug("най-добър");
    EXPECT_EQ(r.text, " -> добър 55 (добър 76 adj suf:0)");
    EXPECT_EQ(r.known, 1);
    EXPECT_EQ(r.rank, "55");
    r = lensug("по-много");  // an adverb
    EXPECT_EQ(r.text, " -> много 3 (много 188 adv suf:0)");
    EXPECT_EQ(r.known, 1);
    gl_SPELLING_MODE = 1;
    EXPECT_EQ(lensug("най-добър").text, " -> добър");
}

TEST_F(UnknownBgTest, NaiAndPoWithAnotherKnownRest) {
    Lensug r = lensug("по-между");  // a particle: the joined form is listed
    EXPECT_EQ(r.text, " -> помежду | по между");
    EXPECT_EQ(r.colour, 0x7F00u);
    EXPECT_EQ(r.known, 1);
    EXPECT_EQ(lensug("най-между").text, " -> най между");
    EXPECT_EQ(lensug("по-добър").text, " -> по добър");  // "по" before добър makes a preposition
    OP[OPT_LOAD_BG].num_value = 0;  // without the word forms: the generator on the whole word
    r = lensug("по-между");
    EXPECT_EQ(r.text, " -> помежду | по-между");  // the joined word, then the generator's prefix form
    EXPECT_EQ(r.known, 0);
}

TEST_F(UnknownBgTest, NaiAndPoWithAnUnknownRest) {
    Lensug r = lensug("най-дбър");
    EXPECT_EQ(r.text, " -> най-добър | най-дъбър");
    EXPECT_EQ(r.colour, 0x7F00u);
    EXPECT_EQ(r.known, 0);
    EXPECT_EQ(lensug("По-дбър").text, " -> По-добър | По-дъбър");
    EXPECT_EQ(lensug("по-щщщ").text, " -> no suggestions");
    // Four characters: straight to the generator (a split and a dash, not the prefix rule).
    EXPECT_EQ(lensug("по-я").text, " -> по я | по — я");
}

TEST_F(UnknownBgTest, GeneratorSuggestions) {
    Lensug r = lensug("котк");
    EXPECT_EQ(r.text, " -> котка | котки");
    EXPECT_EQ(r.colour, 0x7F00u);
    EXPECT_EQ(r.known, 0);
    EXPECT_EQ(r.rank, "0");  // left as the caller set it
    r = lensug("щщщщщ");
    EXPECT_EQ(r.text, " -> no suggestions");
    EXPECT_EQ(r.colour, kNoSug);
}

TEST_F(UnknownBgTest, BadInputHasADefinedAnswer) {
    EXPECT_EQ(lensug("").text, " -> no suggestions");
    EXPECT_EQ(lensug_raw(cp("котка") + "\x06").text, " -> no suggestions");  // a control character: no word
    const Lensug r = lensug_raw(std::string(5000, cp("щ")[0]));
    EXPECT_EQ(r.text, " -> no suggestions");
    EXPECT_EQ(lensug("'-'").text, " -> no suggestions");
    EXPECT_EQ(lensug(".котка").text, " -> котка");  // an empty side never glues
    EXPECT_EQ(lensug("12345").text, " -> no suggestions (mixed Cyrillic 0 digits 5)");
}

class LookalikeRepairs : public BgTest {};  // the character classes built

TEST_F(LookalikeRepairs, LatinAndDigitTables) {
    EXPECT_EQ(u8(replace_latin_lookalikes("aAeEoObBcCHruUkKmMnpPTxXyY")), "аАеЕоОвВсСНгиИкКтМпрРТхХуУ");
    EXPECT_EQ(u8(replace_latin_lookalikes("dfghijlqstvwzDFGIJLNQRSVWZ")), "dfghijlqstvwzDFGIJLNQRSVWZ");
    EXPECT_EQ(u8(replace_letter_digits(cp("6т6Т4"))), "щщч");
    EXPECT_EQ(u8(replace_letter_digits(cp("6Т"))), "Щ");
    EXPECT_EQ(u8(replace_letter_digits(cp("Ж4"))), "ЖЧ");
    EXPECT_EQ(u8(replace_letter_digits(cp("1234567"))), "123ч5ш7");
}

// A token that cannot be a word (a control character, a character no listed word holds: the bytes
// of a binary file, or two letters no listed word holds) gets no suggestion search, though a
// generator would find a listed word in it; one Cyrillic letter no listed word holds leaves the
// search to the generator.
TEST_F(UnknownBgTest, ATokenThatCannotBeAWordGetsNoSuggestionSearch) {
    const std::pair<std::string, std::string> rows[] = {
        {cp("кот") + "\x06" + cp("ка"), " -> no suggestions"},
        {cp("котка") + "\x7F", " -> no suggestions"},
        {cp("котка") + "\x80", " -> no suggestions"},  // Ђ
        {cp("котка") + "\xA8", " -> no suggestions"},  // Ё
        {cp("коткаы"), " -> котка"},
        {cp("коткаыы"), " -> no suggestions"},  // no one edit mends two letters no listed word holds
        {cp("коткаа"), " -> котка"},
    };
    for (const auto& [word, text] : rows) EXPECT_EQ(lensug_raw(word).text, text) << u8(word);
}

// Without the text (a scan that shows nothing) a word with Latin letters or digits runs no
// suggestion search: what it finds decides only the text. Every flag and the rank stay as with the
// text, a number with a correct second part included: known unless the generator corrects the
// whole word ("55-ма"; "55-ти" with "5-ти" listed).
TEST_F(UnknownBgTest, WithoutTheTextWordsWithLatinLettersOrDigitsAreSearchedForNothing) {
    write_list("b_bulgarian", {"котка 120", "котки 130", "дом 15", "шапка 300", "5-ти"});
    load();
    const std::pair<std::string_view, bool> rows[] = {
        // word, whether the text-less answer may still run the generator
        {"кoтк", false}, {"кoткa", false}, {"5кoтк", false}, {"5-кoтк", false}, {"55котк", false},
        {"5-котк", false}, {"6апк", false}, {"5-ти", true}, {"55-ти", true}, {"55-ма", true}, {"котк", false},
        {"грешка", false}, {"котка", false},
    };
    for (const auto& [word, may_search] : rows) {
        const BgReport with = get_lensug(cp(word)), without = get_lensug(cp(word), false);
        EXPECT_EQ(std::tie(with.has_latin, with.known, with.upper_skipped, with.own, with.rank),
                  std::tie(without.has_latin, without.known, without.upper_skipped, without.own, without.rank))
            << word;
        EXPECT_TRUE(may_search || !without.ran_generator) << word;
    }
    EXPECT_TRUE(get_lensug(cp("кoтк")).ran_generator);  // with the text it is searched
    EXPECT_EQ(get_lensug(cp("55-ти")).known, 0);  // " -> 5-ти", not a correct second part
    EXPECT_EQ(get_lensug(cp("55-ма")).known, 1);
}
