// The inflection-type table and the word-form queries over a small loaded index.
#include <random>
#include <set>

#include "lex_test_util.h"
#include "lexicon/bgtypes.h"
#include "lexicon/morphology.h"

namespace {

class MorphologyTest : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        data.write("bgtypes2/_endings.txt", kTestEndings);
        data.write("bgtypes2/_D2_ungrouped_sorted.txt", kTestForms);
        ASSERT_EQ(load_endings(data.path()), 1);
        ASSERT_EQ(load_word_forms(data.path()), 1);
    }
    std::string form(std::string_view lemma_utf8, int type, int slot) {
        std::string out;
        GetBgForm(cp(lemma_utf8), type, slot, out);
        return u8(out);
    }
};

TEST_F(LexTest, TypeTableKeepsTheNamedRowsAtTheirPlaces) {
    EXPECT_EQ(bgtypesct, 473);
    const std::pair<int, const char*> named[] = {
        {47, "22"},   {63, "32"},   {64, "32a"},  {76, "38"},   {77, "38a"},  {78, "38b"},
        {79, "38c"},  {80, "38d"},  {81, "38e"},  {82, "39"},   {83, "40"},   {141, "76n"},
        {143, "78"},  {147, "78t"}, {148, "78n"}, {166, "87"},  {167, "88"},  {170, "89a"},
        {228, "142"}, {449, "188"}, {450, "189"}, {453, "192"}, {464, "abbr"}, {466, "cult"},
        {468, "propr"}, {469, "trans"}, {471, "unclassified"}};
    for (auto [row, name] : named) {
        EXPECT_STREQ(bgtype_ar[row].name, name) << "row " << row;
        EXPECT_EQ(bgtype_row_by_name(name), row);
    }
    std::set<std::string> names;
    for (const BgTypeRecord& t : bgtype_ar) {
        EXPECT_NE(std::string(t.name), "");
        names.insert(t.name);
    }
    EXPECT_EQ(names.size(), 473u) << "every type name is unique";
    EXPECT_GE(bgtype_row_by_name("173da_"), 228);
    EXPECT_LE(bgtype_row_by_name("173da_"), 448);
    EXPECT_EQ(bgtype_row_by_name("173DA_"), -1);
    EXPECT_EQ(bgtype_row_by_name("173da_ "), -1);
}

TEST_F(LexTest, GendersAndClassesFollowTheRows) {
    EXPECT_EQ(bgtype_noun_gender(0), 0);
    EXPECT_EQ(bgtype_noun_gender(84), 0);
    EXPECT_EQ(bgtype_noun_gender(85), 1);
    EXPECT_EQ(bgtype_noun_gender(113), 1);
    EXPECT_EQ(bgtype_noun_gender(114), 2);
    EXPECT_EQ(bgtype_noun_gender(139), 2);
    EXPECT_EQ(bgtype_noun_gender(458), 2);
    EXPECT_EQ(bgtype_noun_gender(140), -1);
    EXPECT_EQ(bgtype_noun_gender(457), -1);
    EXPECT_TRUE(ascii_noun[0] && ascii_noun[139] && ascii_noun[458]);
    EXPECT_FALSE(ascii_noun[140]);
    EXPECT_TRUE(ascii_adj[143] && ascii_adj[147] && ascii_adj[148] && ascii_adj[170]);
    EXPECT_TRUE(ascii_verb[228] && ascii_verb[448]);
    EXPECT_FALSE(ascii_verb[449]);
    const int da = bgtype_row_by_name("173da_");
    EXPECT_TRUE(ascii_verb_da[da]);
    EXPECT_FALSE(ascii_verb_az[da]);
    EXPECT_TRUE(ascii_verb_az[228]);
    for (int r : {141, 147, 148, 464, 466, 468, 469}) EXPECT_FALSE(ascii_proper[r]) << r;
    EXPECT_STREQ(bgtype_ar[449].pos, "adv");
}

TEST_F(MorphologyTest, UnknownWordsGetTheEmptyAnswers) {
    const std::string w = cp("непозната");
    std::string dest = "x";
    NounAdjInfo info;
    EXPECT_EQ(GetType(w), -1);
    EXPECT_EQ(GetTypeId(w), -1);
    EXPECT_EQ(TypeHas(w, T1), 0);
    EXPECT_EQ(TypeHasAscii(w, ascii_noun), -1);
    EXPECT_EQ(IsOnlyAsciiType(w, ascii_noun), 0);
    EXPECT_EQ(IsOnlyType(w, T1), 0);
    EXPECT_EQ(IsTypeProperOnly(w), 0);
    EXPECT_EQ(IsTypeVerbOnly(w), 0);
    EXPECT_EQ(IsTypeVerbNotAdjOnly(w), 0);
    EXPECT_EQ(IsTypeVerbSHTOnly(w), 0);
    EXPECT_EQ(IsTypeVerbSHTOnlyAll(w), 0);
    EXPECT_EQ(TypeVerbANAT(w), 0);
    EXPECT_EQ(PrintBgTypeAuto_CtOnly(w), 0);
    GetBgType(w, dest);
    EXPECT_EQ(dest, "");
    dest = "x";
    EXPECT_EQ(GetBgLemma(w, -1, dest), -1);
    EXPECT_EQ(dest, "");
    dest = "x";
    EXPECT_EQ(GetNechlenuvanNoun(w, dest), 0);
    EXPECT_EQ(dest, "");
    EXPECT_EQ(GetNounInfo(info, -1, w), 0);
    EXPECT_EQ(GetAdjInfo(info, -1, w), 0);
    EXPECT_EQ(GetType(""), -1);
}

TEST_F(MorphologyTest, CyrillicFormsAreFoundInAnyCase) {
    EXPECT_EQ(GetType(cp("ГРАДЪТ")), T1);
    EXPECT_EQ(GetType(cp("Градът")), T1);
    EXPECT_EQ(GetType(cp("градЪт")), T1);
    std::string lemma;
    EXPECT_EQ(GetBgLemma(cp("НОВИЯТ"), -1, lemma), T76);
    EXPECT_EQ(u8(lemma), "нов");
}

TEST_F(MorphologyTest, FormsWithSeveralAnalyses) {
    const std::string zheni = cp("жени");
    EXPECT_EQ(GetType(zheni), T41);
    EXPECT_EQ(GetTypeId(zheni), -1);
    EXPECT_EQ(PrintBgTypeAuto_CtOnly(zheni), 2);
    EXPECT_EQ(TypeHas(zheni, 300), 1);
    EXPECT_EQ(TypeHasAscii(zheni, ascii_verb), 300);
    EXPECT_EQ(TypeHasAscii(zheni, ascii_noun), T41);
    EXPECT_EQ(IsOnlyAsciiType(zheni, ascii_noun), 0);
    EXPECT_EQ(IsTypeVerbOnly(zheni), 0);
    std::string dest;
    GetBgType(zheni, dest);
    EXPECT_EQ(u8(dest), "жена:85:2 женя:300:1 ");
    EXPECT_EQ(GetBgLemma(zheni, 300, dest), 300);
    EXPECT_EQ(u8(dest), "женя");
    EXPECT_EQ(GetBgLemma(zheni, T53, dest), -1);
    // "града" is two slots of one type: one type counted once.
    EXPECT_EQ(PrintBgTypeAuto_CtOnly(cp("града")), 1);
    EXPECT_EQ(IsOnlyType(cp("града"), T1), 1);
    EXPECT_EQ(GetTypeId(cp("града")), -1);
}

TEST_F(MorphologyTest, OneAnalysisIsPrintedWithItsTypeNameAndPartOfSpeech) {
    std::string dest;
    GetBgType(cp("учителят"), dest);
    EXPECT_EQ(u8(dest), "(учител 22 noun suf:2)");
    EXPECT_EQ(GetTypeId(cp("учителят")), T22);
}

TEST_F(MorphologyTest, FormsAreMadeFromTheEndingTables) {
    EXPECT_EQ(form("град", T1, 3), "градове");
    EXPECT_EQ(form("град", T1, 6), "граде");
    EXPECT_EQ(form("жена", T41, 1), "жената");
    EXPECT_EQ(form("книга", T41, 2), "книги");
    EXPECT_EQ(form("село", T53, 3), "селата");
    // '?' takes the letter of the lemma's cut tail: one type for бял and голям.
    EXPECT_EQ(form("бял", T79, 2), "белият");
    EXPECT_EQ(form("голям", T79, 2), "големият");
    EXPECT_EQ(form("голям", T79, 3), "голяма");
    // A slot beyond the table and a lemma shorter than the cut give the lemma itself.
    std::string out;
    EXPECT_EQ(GetBgForm(cp("село"), T53, 4, out), 0);
    EXPECT_EQ(u8(out), "село");
    EXPECT_EQ(GetBgForm(cp("я"), T79, 0, out), 0);
    EXPECT_EQ(u8(out), "я");
}

TEST_F(MorphologyTest, FormsRoundTripWithTheirLemmas) {
    for (std::string_view lemma : {"град", "жена", "село", "нов", "бял", "учител"}) {
        std::string l;
        const int type = GetBgLemma(cp(lemma), -1, l);
        ASSERT_GE(type, 0) << lemma;
        for (int slot = 0; slot < bgtype_ar[type].count; ++slot) {
            std::string f;
            if (GetBgForm(cp(lemma), type, slot, f) != 1) continue;
            const BgFormRecord* r = bg_find(f);
            if (!r) continue;  // the test index lists only some forms
            std::string back;
            EXPECT_EQ(GetBgLemma(f, type, back), type) << u8(f);
            EXPECT_EQ(u8(back), lemma) << u8(f);
        }
    }
}

TEST_F(MorphologyTest, TypesWithoutEndingsFindTheirFormsInTheIndex) {
    // Type 300 has no ending table: the index gives "жени" as slot 1 of "женя".
    std::string out;
    EXPECT_EQ(GetBgForm(cp("женя"), 300, 1, out), 1);
    EXPECT_EQ(u8(out), "жени");
    EXPECT_EQ(GetBgForm(cp("ЖЕНЯ"), 300, 1, out), 1);
    EXPECT_EQ(GetBgForm(cp("женя"), 300, 2, out), 0);
    EXPECT_EQ(u8(out), "женя");
}

// The lemma index finds, for a lemma (in any case), a type and a slot, the form of the first such
// analysis in the word-form index: the same answer as a scan of every record's analyses. Lemmas
// in several cases, lemmas that are prefixes of others or alike in their first eight letters,
// forms of several lemmas, slots in any order and beyond 64, repeated and unsorted lines, and one
// lemma with thousands of forms.
TEST_F(LexTest, TheLemmaIndexAnswersAsAScanOfTheWordFormIndex) {
    std::mt19937 rng(5);
    const std::string letters = cp("абвгдежз");
    const auto word = [&](std::size_t min, std::size_t max) {
        std::string w;
        for (std::size_t n = min + rng() % (max - min + 1); w.size() < n;) w += letters[rng() % letters.size()];
        return w;
    };
    const auto recase = [&](std::string w) {
        for (char& c : w)
            if (rng() % 3 == 0) c = static_cast<char>(cp_toupper(static_cast<unsigned char>(c)));
        return w;
    };
    std::vector<std::string> lemmas;
    for (int i = 0; i < 40; ++i) lemmas.push_back(word(2, 5));
    lemmas.push_back(lemmas[0] + lemmas[1]);  // a lemma with another as its prefix
    const std::string stem = word(8, 8);       // lemmas alike in their first eight letters or more
    for (int i = 0; i < 8; ++i) lemmas.push_back(stem + (i ? word(1, 3) : ""));
    const int types[] = {300, 301, 460, 471};
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i) {
        const std::string& lemma = lemmas[rng() % lemmas.size()];
        lines.push_back(recase(word(1, 6)) + ' ' + recase(lemma) + ' ' + std::to_string(types[rng() % 4]) + ' ' +
                        std::to_string(rng() % 90));
        if (rng() % 10 == 0) lines.push_back(lines.back());
    }
    for (int i = 0; i < 3000; ++i)  // a big paradigm, in reverse slot order
        lines.push_back(lemmas[2] + word(4, 4) + ' ' + lemmas[2] + " 471 " + std::to_string(3000 - i));
    std::shuffle(lines.begin(), lines.end(), rng);
    std::string file;
    for (const std::string& l : lines) file += l + "\r\n";
    data.write_raw("bgtypes2/_D2_ungrouped_sorted.txt", file);
    ASSERT_EQ(load_word_forms(data.path()), 1);

    BgAnalysis an[255];
    std::string got;
    int found = 0;
    for (const std::string& lemma : lemmas) {
        for (int type : types) {
            for (int slot = 0; slot < 92; ++slot) {
                const char* expected = nullptr;
                for (std::size_t i = 0; i < bgmul_ct && !expected; ++i) {
                    const int n = bg_analyses(bgmul_bottom[i], an, 255);
                    for (int k = 0; k < n; ++k)
                        if (an[k].type == type && an[k].slot == slot && cp_strcasecmp(an[k].lemma, lemma) == 0) {
                            expected = bgmul_bottom[i].form;
                            break;
                        }
                }
                const std::string asked = recase(lemma);
                const int r = GetBgForm(asked, type, slot, got);
                EXPECT_EQ(r, expected ? 1 : 0) << u8(asked) << ' ' << type << ' ' << slot;
                EXPECT_EQ(got, expected ? std::string(expected) : asked) << u8(asked) << ' ' << type << ' ' << slot;
                found += r;
            }
        }
    }
    EXPECT_GT(found, 1000);
    std::string out;
    EXPECT_EQ(GetBgForm(cp("жжжжжж"), 471, 1, out), 0) << "no such lemma";
    EXPECT_EQ(GetBgForm(lemmas[2], 471, 3000, out), 1);
    EXPECT_EQ(GetBgForm(lemmas[2], 471, 70000, out), 0);
    EXPECT_EQ(GetBgForm(lemmas[2], -1, 0, out), 0);
}

TEST_F(MorphologyTest, IndefiniteNounForms) {
    std::string out;
    EXPECT_EQ(GetNechlenuvanNoun(cp("градът"), out), 1);
    EXPECT_EQ(u8(out), "град");
    EXPECT_EQ(GetNechlenuvanNoun(cp("градовете"), out), 1);
    EXPECT_EQ(u8(out), "градове");
    EXPECT_EQ(GetNechlenuvanNoun(cp("жените"), out), 1);
    EXPECT_EQ(u8(out), "жени");
    EXPECT_EQ(GetNechlenuvanNoun(cp("селото"), out), 1);
    EXPECT_EQ(u8(out), "село");
    EXPECT_EQ(GetNechlenuvanNoun(cp("новият"), out), 0) << "an adjective is no noun";
}

TEST_F(MorphologyTest, NounInformationBySlot) {
    NounAdjInfo i;
    ASSERT_EQ(GetNounInfo(i, -1, cp("градът")), 1);
    EXPECT_EQ(i.gender, 0);
    EXPECT_EQ(i.plural, 0);
    EXPECT_EQ(i.definite, 1);
    EXPECT_EQ(i.slot, 2);
    EXPECT_EQ(i.type, T1);
    ASSERT_EQ(GetNounInfo(i, -1, cp("градовете")), 1);
    EXPECT_EQ(i.plural, 1);
    EXPECT_EQ(i.definite, 1);
    ASSERT_EQ(GetNounInfo(i, -1, cp("градове")), 1);
    EXPECT_EQ(i.plural, 1);
    EXPECT_EQ(i.definite, 0);
    ASSERT_EQ(GetNounInfo(i, -1, cp("жените")), 1);
    EXPECT_EQ(i.gender, 1);
    EXPECT_EQ(i.plural, 1);
    EXPECT_EQ(i.definite, 1);
    ASSERT_EQ(GetNounInfo(i, -1, cp("жената")), 1);
    EXPECT_EQ(i.plural, 0);
    EXPECT_EQ(i.definite, 1);
    ASSERT_EQ(GetNounInfo(i, -1, cp("села")), 1);
    EXPECT_EQ(i.gender, 2);
    EXPECT_EQ(i.plural, 1);
    EXPECT_EQ(i.definite, 0);
    // The first noun analysis wins; a wanted type picks its own.
    ASSERT_EQ(GetNounInfo(i, -1, cp("жени")), 1);
    EXPECT_EQ(i.type, T41);
    EXPECT_EQ(GetNounInfo(i, 300, cp("жени")), 0) << "the verb analysis has no gender";
    EXPECT_EQ(i.gender, -1);
    EXPECT_EQ(GetNounInfo(i, -1, cp("нов")), 0);
}

TEST_F(MorphologyTest, AdjectiveInformationBySlotGroup) {
    struct Case {
        const char* word;
        int gender, plural, definite, slot;
    } cases[] = {
        {"нов", 0, 0, 0, 0},   {"новия", 0, 0, 1, 1}, {"новият", 0, 0, 1, 2}, {"нова", 1, 0, 0, 3},
        {"новата", 1, 0, 1, 4}, {"ново", 2, 0, 0, 5},  {"нови", 3, 1, 0, 7},   {"белите", 3, 1, 1, 8},
    };
    for (const Case& c : cases) {
        NounAdjInfo i;
        ASSERT_EQ(GetAdjInfo(i, -1, cp(c.word)), 1) << c.word;
        EXPECT_EQ(i.gender, c.gender) << c.word;
        EXPECT_EQ(i.plural, c.plural) << c.word;
        EXPECT_EQ(i.definite, c.definite) << c.word;
        EXPECT_EQ(i.slot, c.slot) << c.word;
    }
    NounAdjInfo i;
    EXPECT_EQ(GetAdjInfo(i, -1, cp("градът")), 0);
    // "жени": its verb analysis in slot 1 is the first adjective-or-verb reading: not an adjective.
    EXPECT_EQ(GetAdjInfo(i, -1, cp("жени")), 0);
    EXPECT_EQ(i.gender, -1);
}

TEST_F(MorphologyTest, PastPassiveParticiplesAnswerAsAdjectives) {
    data.write("bgtypes2/_D2_ungrouped_sorted.txt",
               "четена чета 300 41\nчетените чета 300 46\nчетящ чета 300 47\nчетящите чета 300 55\n");
    ASSERT_EQ(load_word_forms(data.path()), 1);
    NounAdjInfo i;
    ASSERT_EQ(GetAdjInfo(i, -1, cp("четена")), 1);
    EXPECT_EQ(i.gender, 1);
    EXPECT_EQ(i.definite, 0);
    ASSERT_EQ(GetAdjInfo(i, -1, cp("четените")), 1);
    EXPECT_EQ(i.gender, 3);
    EXPECT_EQ(i.definite, 1);
    EXPECT_EQ(GetAdjInfo(i, -1, cp("четящ")), 0);
    EXPECT_EQ(IsTypeVerbSHTOnly(cp("четящ")), 1);
    EXPECT_EQ(IsTypeVerbSHTOnly(cp("четящите")), 0);
    EXPECT_EQ(IsTypeVerbSHTOnlyAll(cp("четящите")), 1);
    EXPECT_EQ(TypeVerbANAT(cp("четена")), 1);
    EXPECT_EQ(IsTypeVerbNotAdjOnly(cp("четена")), 0);
    EXPECT_EQ(IsTypeVerbOnly(cp("четена")), 1);
}

}  // namespace
