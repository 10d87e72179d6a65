// Agreement of adjectives, participles, possessives and determiners with their noun.
#include "lex_test_util.h"
#include "lexicon/agreement.h"

namespace {

class AgreementTest : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        data.write("bgtypes2/_endings.txt", std::string(kTestEndings) +
                                                "87 1 й я ят я ята е ето и ите\n"
                                                "88 3 еин ейния ейният ейна ейната ейно ейното ейни ейните\n");
        data.write("bgtypes2/_D2_ungrouped_sorted.txt", std::string(kTestForms) +
                                                            "мой мой 166 0\n"
                                                            "неин неин 167 0\n"
                                                            "четен чета 300 38\n"
                                                            "четена чета 300 41\n");
        load_lexicon(data.path());
    }
    // Runs fix_adj on the last of the units and returns its text (UTF-8).
    std::string agree(std::vector<MtUnit>& units, const NounAdjInfo& noun, int* result = nullptr) {
        std::vector<MtUnit*> ptrs;
        for (MtUnit& u : units) ptrs.push_back(&u);
        const int r = fix_adj(static_cast<int>(units.size()) - 1, ptrs.data(), noun);
        if (result) *result = r;
        return u8(units.back().text);
    }
    static MtUnit unit(const char* key, std::string_view text_utf8, int kind) {
        MtUnit u;
        u.key = key;
        u.text = cp(text_utf8);
        u.kind = kind;
        return u;
    }
    static NounAdjInfo noun(int gender, int plural) {
        NounAdjInfo n;
        n.gender = static_cast<std::int8_t>(gender);
        n.plural = static_cast<std::uint8_t>(plural);
        return n;
    }
};

TEST_F(AgreementTest, AdjectivesTakeTheNounsGenderAndNumber) {
    std::vector<MtUnit> u{unit("new", "нов", 70)};
    int r = 0;
    EXPECT_EQ(agree(u, noun(1, 0), &r), "нова");
    EXPECT_EQ(r, 1);
    EXPECT_EQ(u[0].is_noun, 2);
    EXPECT_EQ(u[0].agreed, 1);
    EXPECT_EQ(u[0].noun_info.type, T76);
    u = {unit("new", "нов", 70)};
    EXPECT_EQ(agree(u, noun(2, 0)), "ново");
    u = {unit("new", "нов", 70)};
    EXPECT_EQ(agree(u, noun(0, 1)), "нови");
    u = {unit("new", "нов", 343)};
    EXPECT_EQ(agree(u, noun(0, 0)), "нов");
}

TEST_F(AgreementTest, TheDefiniteFormAfterTheAndPossessives) {
    std::vector<MtUnit> u{unit("", "the", -1), unit("new", "нов", 70)};
    EXPECT_EQ(agree(u, noun(1, 0)), "новата");
    u = {unit("", "the", -1), unit("new", "нов", 70)};
    EXPECT_EQ(agree(u, noun(0, 0)), "новия");
    u = {unit("my", "мой", -1)};
    EXPECT_EQ(agree(u, noun(1, 0)), "моята");
    u = {unit("my", "мой", -1)};
    EXPECT_EQ(agree(u, noun(0, 1)), "моите");
    u = {unit("her", "неин", -1)};
    EXPECT_EQ(agree(u, noun(1, 0)), "нейната");
}

TEST_F(AgreementTest, PrefixesRestOfTextAndTheLastWordOfNumbers) {
    std::vector<MtUnit> u{unit("dark_new", "тъмно-нов цвят", 70)};
    EXPECT_EQ(agree(u, noun(1, 0)), "тъмно-нова цвят");
    u = {unit("very_new", "много нов", 339)};
    EXPECT_EQ(agree(u, noun(2, 0)), "много ново");
}

TEST_F(AgreementTest, ParticiplesTakeTheirFormsFromSlot38) {
    std::vector<MtUnit> u{unit("read", "четен", 189)};
    EXPECT_EQ(agree(u, noun(1, 0)), "четена");
    EXPECT_EQ(u[0].agreed, 1);
}

TEST_F(AgreementTest, DeterminersGetTheirOwnForms) {
    std::vector<MtUnit> u{unit("this", "този", -1)};
    EXPECT_EQ(agree(u, noun(1, 0)), "тази");
    EXPECT_EQ(u[0].agreed, 1);
    u = {unit("this", "този", -1)};
    EXPECT_EQ(agree(u, noun(0, 1)), "тези");
    u = {unit("whose", "чийто", -1)};
    EXPECT_EQ(agree(u, noun(2, 0)), "чието");
    u = {unit("every", "всеки", -1)};
    EXPECT_EQ(agree(u, noun(1, 0)), "всяка");
    u = {unit("some", "някой", -1)};
    EXPECT_EQ(agree(u, noun(0, 1)), "някои");
    u = {unit("such", "такъв", -1)};
    EXPECT_EQ(agree(u, noun(2, 0)), "такова");
}

TEST_F(AgreementTest, UnitsThatAreNoneOfThese) {
    int r = -1;
    std::vector<MtUnit> u{unit("does", "нов", 70)};
    EXPECT_EQ(agree(u, noun(1, 0), &r), "нов");
    EXPECT_EQ(r, 0);
    u = {unit("table", "маса", 0)};
    EXPECT_EQ(agree(u, noun(1, 0), &r), "маса");
    EXPECT_EQ(r, 0);
    u = {unit("her", "я", -1)};
    agree(u, noun(1, 0), &r);
    EXPECT_EQ(r, 0) << "\"her\" acts only as неин";
    // Only такъв, някой and всеки are determiners; the other forms of their families stay.
    u = {unit("all", "всички", -1)};
    EXPECT_EQ(agree(u, noun(0, 0), &r), "всички");
    EXPECT_EQ(r, 0);
    u = {unit("some", "някоя", -1)};
    EXPECT_EQ(agree(u, noun(0, 1), &r), "някоя");
    EXPECT_EQ(r, 0);
    EXPECT_EQ(u[0].agreed, 0);
    // An adjective kind whose word the index does not know: acted on, text unchanged.
    u = {unit("odd", "странен", 70)};
    EXPECT_EQ(agree(u, noun(1, 0), &r), "странен");
    EXPECT_EQ(r, 1);
    EXPECT_EQ(u[0].agreed, 0);
}

TEST_F(AgreementTest, TextsAreCutTo511Bytes) {
    std::vector<MtUnit> u{unit("new", "нов", 70)};
    u[0].text += " " + std::string(600, 'x');
    agree(u, noun(1, 0));
    EXPECT_EQ(u[0].text.size(), 511u);
    EXPECT_EQ(u8(u[0].text.substr(0, 8)), "нова xxx");
}

}  // namespace
