// The grammar passes over a small word-form index: two nouns in a row, an adjective that disagrees
// with its noun, the six phrase passes, the colours of their lines and their word tables.
#include "proof_fixture.h"

#include "engine/proofreading/agreement_tables.h"
#include "engine/proofreading/pass_order.h"
#include "spelling/spell_state.h"

namespace {

class Grammar : public ProofTest {
protected:
    void SetUp() override {
        ProofTest::SetUp();
        // Type rows: 0 masculine, 85 feminine, 114 neuter noun, 140 adjective, 206 numeral, 300 verb,
        // 471 unclassified.
        load_forms({"стол стол 0 0", "стола стол 0 1", "столове стол 0 3", "чичо чичо 0 0", "дяволите дявол 0 4",
                    "маса маса 85 0", "масата маса 85 1", "чаша чаша 85 0", "вода вода 85 0", "машина машина 85 0",
                    "банка банка 85 0", "жени жена 85 2", "жени женя 300 1", "зимата зима 85 1", "момче момче 114 0",
                    "кафе кафе 114 0", "нещо нещо 114 0", "съжаление съжаление 114 0", "хубав хубав 140 0",
                    "хубава хубав 140 3", "хубавата хубав 140 4", "хубави хубав 140 7", "скъпи скъп 140 7",
                    "сити сити 140 7", "два два 206 0", "пеещ пея 300 47", "отиде отида 300 8", "писах пиша 300 6",
                    "лежи лежа 300 2", "може мога 300 2", "би бъда 300 9", "ох ох 471 0", "синьо син 140 5",
                    "онова онзи 140 5", "общо общ 140 5", "зла зъл 140 3", "умисъл умисъл 0 0", "право право 114 0",
                    "ден ден 0 0", "нужно нужен 140 5", "сини син 143 0", "маси маса 85 2"});
        load_dict(B_BULGARIAN_PRONOUN, {"онова"});
        load_dict(B_BULGARIAN, {"и", "маса", "масата", "подписах", "подлежи", "ох"});
        load_dict(B_BULGARIAN_COMMA1, {"в", "за", "на", "от", "по", "под"});
        gl_FIND_TWO_NOUNS = 1;
    }
};

constexpr const char* kNouns = "последователни съществителни (обикновено не е грешка!)";
constexpr const char* kConcord = "потенциално несъгласувани прилагателно и съществително";
constexpr const char* kPrepVerb = "предлог пред глагол (обикновено е грешка)";
constexpr const char* kDa = "да пред неглагол (обикновено е грешка)";
constexpr const char* kVerbE = "глагол пред е (възможна грешка е -> c)";
constexpr const char* kDoubt = "съмнителни изрази (обикновено е грешка)";
constexpr const char* kTwoPreps = "съседни предлози (обикновено е грешка)";
constexpr const char* kNe = "не пред членувано съществително (възможна грешка не -> на)";

TEST_F(Grammar, FindingsOfEveryPass) {
    struct Case {
        const char* text;
        const char* title;
        const char* lines;   // the pass's finding lines, '\n' after each; "" when it finds nothing
        const char* marked;  // the source characters coloured red, runs joined by '|'
    };
    const Case cases[] = {
        {"стол маса", kNouns, "стол маса -> стол, маса | стол-маса\n", ""},
        {"Стол маса", kNouns, "Стол маса -> Стол, маса | Стол-маса\n", ""},
        {"стол\rмаса", kNouns, "стол маса -> стол, маса | стол-маса\n", ""},
        {"маса Стол", kNouns, "", ""},
        {"стол, маса", kNouns, "", ""},
        {"Чаша вода", kNouns, "", ""},
        {"кафе машина", kNouns, "", ""},
        {"жени маса", kNouns, "", ""},
        {"стол нещо", kNouns, "", ""},
        {"ох за съжаление маса", kNouns, "", ""},
        {"ох по дяволите маса", kNouns, "", ""},
        {"ох ох за стол маса", kNouns, "стол маса -> no suggestions (correct)\n", ""},
        {"ох ох пеещ стол маса", kNouns, "стол маса -> no suggestions (correct)\n", ""},
        // A comma word three places back greys the pair only with more than three records before
        // the second noun; "за съжаление" needs more than two; "нещо" first, in capitals.
        {"ох за ох стол маса", kNouns, "стол маса -> no suggestions (correct)\n", ""},
        {"за ох стол маса", kNouns, "стол маса -> стол, маса | стол-маса\n", ""},
        {"за съжаление маса", kNouns, "съжаление маса -> съжаление, маса | съжаление-маса\n", ""},
        {"ох Нещо маса", kNouns, "", ""},
        {"това хубава момче.", kConcord, " хубава момче -> no suggestions\n", ""},
        {"това хубава\rмомче.", kConcord, " хубава момче -> no suggestions\n", ""},
        {"това хубава, момче", kConcord, "", ""},
        {"хубавата масата", kConcord, "хубавата масата -> no suggestions\n", ""},
        {"хубава маса", kConcord, "", ""},
        {"хубав столове", kConcord, "", ""},
        {"хубави столове", kConcord, "", ""},
        {"хубави стола", kConcord, "хубави стола -> no suggestions\n", ""},
        {"два хубави стола", kConcord, "", ""},
        {"скъпи стол", kConcord, "скъпи стол -> no suggestions\n", ""},
        {"скъпи чичо", kConcord, "", ""},
        {"СИТИ банка", kConcord, "СИТИ банка -> no suggestions\n", ""},
        {"Сити банка", kConcord, "", ""},
        {"хубава Момче", kConcord, "", ""},
        {"ох ох синьо маса", kConcord, " синьо маса -> no suggestions\n", ""},
        {"ох в синьо маса", kConcord, "", ""},      // a colour after "в"
        {"ох по синьо маса", kConcord, "", ""},
        {"онова маса", kConcord, "", ""},           // a pronoun
        {"синьо столове", kConcord, "синьо столове -> no suggestions\n", ""},
        {"общо столове", kConcord, "", ""},
        {"зла умисъл", kConcord, "", ""},           // a fixed pair
        {"хубава право", kConcord, "", ""},         // never the noun
        {"хубава момче стол", kConcord, "", ""},    // a noun follows
        {"хубава момче, стол", kConcord, "хубава момче -> no suggestions\n", ""},
        // A capital adjective is let go from the text's fourth record on.
        {"ох Хубава момче", kConcord, " Хубава момче -> no suggestions\n", ""},
        {"ох ох Хубава момче", kConcord, "", ""},
        {"хубави момче и маса", kConcord, "", ""},  // "и" and a noun follow
        {"хубави момче и ох", kConcord, "хубави момче  -> no suggestions\n", ""},
        {"2 хубави стола", kConcord, "", ""},
        {"ох много хубави стола", kConcord, " хубави стола -> no suggestions\n", ""},
        {"два много хубави стола", kConcord, "", ""},  // a numeral two words back
        {"ох ох нужно маса", kConcord, " нужно маса -> no suggestions\n", ""},
        {"е съвсем нужно маса", kConcord, "", ""},
        {"хубава ден", kConcord, "хубава ден -> no suggestions\n", ""},
        {"хубава ден преди", kConcord, "", ""},
        {"сини маса", kConcord, "сини маса -> no suggestions\n", ""},
        {"сини маси", kConcord, "", ""},              // an -и adjective before a plural
        {"хубава момче и хубавата масата", kConcord,
         "хубава момче  -> no suggestions\n хубавата масата -> no suggestions\n", ""},
        {"за отиде", kPrepVerb, "за отиде -> no suggestions\n", "за отиде"},
        // The split-word pass reports the same pair first and underlines it, so no plain mark stays.
        {"ох под писах", kPrepVerb, " под писах -> no suggestions\n", ""},
        {"ох под лежи", kPrepVerb, "", ""},
        {"ох под отиде", kPrepVerb, "", ""},
        {"ох за може би", kPrepVerb, "", ""},
        {"ох за може", kPrepVerb, " за може -> no suggestions\n", "за може"},
        {"ох да и", kDa, " да и ->  да й\n", "да и"},
        {"ох да и не", kDa, "", ""},
        {"ох да маса ох", kDa, " да маса  ->  да, маса  |  маса \n", "да маса"},
        {"ох да зимата", kDa, "", ""},
        {"ох да ох", kDa, "", ""},
        {"ох отиде е", kVerbE, " отиде е ->  отиде с |  отиде, е\n", ""},
        {"Ох, Отиде е", kVerbE, "", ""},
        {"Ох. Отиде е", kVerbE, " Отиде е ->  Отиде с |  Отиде, е\n", ""},
        {"Отиде е", kVerbE, "", ""},  // nothing before the capital verb: as after a comma
        {"ох ако ме маса", kDoubt, "ако ме маса -> no suggestions\n", "ако ме маса"},
        {"ох ако ме, маса", kDoubt, "", ""},
        {"ох не ме маса", kDoubt, "не ме маса -> no suggestions\n", "не ме маса"},
        {"ох от за", kTwoPreps, " от за -> no suggestions\n", "от за"},
        {"ох в по", kTwoPreps, "", ""},
        {"ох на по", kTwoPreps, "", ""},
        {"ох от от", kTwoPreps, "", ""},
        {"ох за от", kTwoPreps, "", ""},
        {"ох не масата", kNe, " не масата ->  на масата\n", ""},
        {"Ох. Не масата", kNe, " Не масата ->  На масата\n", ""},
        {"Ох. НЕ масата", kNe, " НЕ масата ->  НА масата\n", ""},
        {"ох не масата, а стола", kNe, "", ""},
        {"ох не масата. а стола", kNe, " не масата ->  на масата\n", ""},
        {"ох не масата ох, ами стола", kNe, "", ""},
        {"ох не масата, А стола", kNe, " не масата ->  на масата\n", ""},
        {"какви ли не масата", kNe, "", ""},
        {"ох не Масата", kNe, "", ""},
        // Words the index does not know, and a text of adjectives only.
        {"зелена момче", kConcord, "", ""},
        {"хубава къща", kConcord, "", ""},
        {"хубава хубави хубав", kConcord, "", ""},
        {"къща стол", kNouns, "", ""},
    };
    for (const Case& c : cases) {
        const std::string r = proof(c.text);
        const std::string expected = *c.lines ? std::string(c.title) + "\n" + c.lines : "";
        EXPECT_EQ(pass_block(r, c.title), expected) << c.text << "\n" << lines(r);
        EXPECT_EQ(marked(false), c.marked) << c.text;
    }
}

TEST_F(Grammar, ColoursOfContextMarkerAndSuggestion) {
    struct Case {
        const char* text;
        const char* line;     // the finding line
        COLORREF context;     // of its first character
        LONG marker;          // offset of the marked character, -1 none
        COLORREF marker_colour;
        COLORREF suggestion;  // of the character after " -> "
    };
    const Case cases[] = {
        {"стол\rмаса", "стол маса", PR_CONTEXT, 3, PR_LINE_BREAK, PR_SUGGESTION},
        {"ох ох за стол\rмаса", "стол маса", 0x807F7F, 3, 0x5C5C5C, gl_col_nosug},
        {"ох ох пеещ стол маса", "стол маса", 0x7F7F7F, -1, 0, gl_col_nosug},
        {"това хубава\rмомче.", " хубава момче", PR_CONTEXT, 6, PR_LINE_BREAK, gl_col_nosug},
        {"ох за\rотиде", " за отиде", PR_CONTEXT, 2, PR_LINE_BREAK, gl_col_nosug},
        {"ох ако\rме маса", "ако ме маса", PR_CONTEXT, 2, PR_LINE_BREAK, gl_col_nosug},
        {"ох ако ме\rмаса", "ако ме маса", PR_CONTEXT, 5, PR_LINE_BREAK, gl_col_nosug},
        {"ох не\rмасата", " не масата", PR_CONTEXT, 2, PR_LINE_BREAK, PR_SUGGESTION},
    };
    for (const Case& c : cases) {
        proof(c.text);
        const LONG at = find(hBigReLeft, std::string(c.line) + " -> ");
        ASSERT_GE(at, 0) << c.text;
        const LONG n = static_cast<LONG>(utf8_to_utf16(c.line).size());
        for (LONG i = 0; i < n; ++i) {
            const Fmt expected = i == c.marker ? Fmt{c.marker_colour, true, false} : Fmt{c.context, true, false};
            EXPECT_EQ(fmt(hBigReLeft, at + i), expected) << c.text << " at " << i;
        }
        EXPECT_EQ(fmt(hBigReLeft, at + n + 4), (Fmt{c.suggestion, false, false})) << c.text;
    }
}

TEST_F(Grammar, SwitchesAndTitleOnce) {
    const std::string r2 = proof("стол маса и стол маса");
    EXPECT_EQ(pass_block(r2, kNouns), std::string(kNouns) + "\nстол маса -> стол, маса | стол-маса\n"
                                                            "стол маса -> стол, маса | стол-маса\n");
    EXPECT_NE(r2.find("стол-маса\r\r"), std::string::npos) << "the pass ends with one empty line";
    gl_FIND_TWO_NOUNS = 0;
    gl_FIND_CONCORD = 0;
    const std::string r = proof("стол маса хубава момче");
    EXPECT_EQ(r.find(kNouns), std::string::npos);
    EXPECT_EQ(r.find(kConcord), std::string::npos);
    gl_FIND_TWO_NOUNS = 1;
    gl_FIND_CONCORD = 1;
    OP[OPT_LOAD_BG].num_value = 0;
    EXPECT_EQ(proof("хубава момче").find(kConcord), std::string::npos);
    EXPECT_EQ(proof("за отиде").find(kPrepVerb), std::string::npos);
}

// The panels turn a line feed into a paragraph end, so the records of a text with a line feed
// between two words are made here: such a pair is never a candidate, a CR between them is.
TEST_F(Grammar, LineFeedSeparatesThePairs) {
    struct Case {
        const char* first;
        const char* second;
        int order;
    };
    const Case cases[] = {{"стол", "маса", 38}, {"хубава", "момче", 39}, {"за", "отиде", 40}};
    for (const Case& c : cases) {
        for (const char* gap : {"\n", "\r"}) {
            const std::string w1 = cp(c.first), w2 = cp(c.second);
            std::vector<SenToken> recs(8, SenToken{glZero, glZero, 0});
            recs[0] = {w1.c_str(), glZero, 0};
            recs[1] = {w2.c_str(), gap, static_cast<std::int32_t>(w1.size() + 1)};
            RE_SetTextW(hBigReLeft, u"");
            ProofRun run;
            run.source = hBigReRight;
            run.report = hBigReLeft;
            run.floor = recs.data();
            run.nd = recs.data() + 2;
            const PassRow& row = pass_order[static_cast<std::size_t>(c.order)];
            row.run(run, row);
            EXPECT_EQ(panel8(hBigReLeft).empty(), *gap == '\n') << c.first << " " << c.second;
        }
    }
}

TEST_F(Grammar, WordTablesHoldEveryEntry) {
    struct Table {
        const char* name;
        std::vector<std::string_view> words;
        std::size_t count;
    };
    auto flat = [](const auto& a) {
        std::vector<std::string_view> v;
        for (const auto& e : a) {
            if constexpr (std::is_same_v<std::decay_t<decltype(e)>, std::string_view>) v.push_back(e);
            else if constexpr (std::is_same_v<std::decay_t<decltype(e)>, NounPairRow>) {
                v.push_back(e.first.empty() || e.second.empty() ? std::string_view{} : e.first);
            } else {
                v.push_back(e.adjective.empty() || e.noun.empty() ? std::string_view{} : e.adjective);
            }
        }
        return v;
    };
    const Table tables[] = {
        {"second nouns", flat(noun_second_forms), 16},
        {"first nouns", flat(noun_first_forms), 37},
        {"first lemmas", flat(noun_first_lemmas), 275},
        {"noun pairs", flat(noun_pair_rows), 113},
        {"never adjectives", flat(concord_never_adjectives), 96},
        {"never lemmas", flat(concord_never_lemmas), 12},
        {"never nouns", flat(concord_never_nouns), 40},
        {"title nouns", flat(concord_title_nouns), 39},
        {"title adjectives", flat(concord_title_adjectives), 16},
        {"fixed pairs", flat(concord_fixed_pairs), 82},
        {"colours", flat(concord_colour_words), 26},
        {"masc or plural", flat(concord_masc_or_plural_nouns), 27},
        {"fem or plural", flat(concord_fem_or_plural_nouns), 26},
        {"masc or fem", flat(concord_masc_or_fem_nouns), 225},
    };
    for (const Table& t : tables) {
        const auto filled = std::count_if(t.words.begin(), t.words.end(), [](std::string_view w) { return !w.empty(); });
        EXPECT_EQ(static_cast<std::size_t>(filled), t.count) << t.name;
    }
    // The pair rows keep their odd spellings: the pass matches them letter for letter.
    std::string pairs;
    for (const NounPairRow& r : noun_pair_rows) (pairs += r.first) += r.second;
    EXPECT_NE(pairs.find("трайката"), std::string::npos);
    EXPECT_NE(pairs.find("къмъни"), std::string::npos);
    EXPECT_EQ(concord_colour_words[0], "алена");
}

}  // namespace
