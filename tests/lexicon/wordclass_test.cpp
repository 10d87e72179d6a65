// The word-class table, its look-ups, and the English stems and ranks.
#include "lex_test_util.h"
#include "lexicon/english.h"
#include "lexicon/wordclass.h"
#include "shell/settings.h"

namespace {

TEST_F(LexTest, TheWordClassTableNamesItsRowsAsTheWindowsDo) {
    const std::pair<int, const char*> rows[] = {
        {0, "c_c11"},        {1, "c_c12"},         {9, "c_c21"},       {30, "c_c51"},       {42, "c_c2"},
        {45, "c_c5"},        {46, "c_two11"},      {58, "c_three11"},  {70, "c_adj11"},     {84, "c_adj1f"},
        {85, "c_adj21"},     {109, "c_advadj11"},  {121, "c_adj_post11"}, {133, "c_adv11"}, {142, "c_adv21"},
        {166, "c_adv_when11"}, {181, "c_adv_where11"}, {189, "c_v_az11"}, {203, "c_v_az1f"}, {204, "c_v_az21"},
        {231, "c_v_da11"},   {273, "c_v_se11"},    {303, "c_v_si11"},  {315, "c_vn11"},     {323, "c_vn31"},
        {325, "c_vn41"},     {327, "c_abbm11"},    {334, "c_abbpl12"}, {335, "c_num11"},    {339, "c_num21"},
        {343, "c_attr11"},   {349, "c_attr21"},    {356, "c_prep11"},  {366, "c_misc11"},   {384, "z_name1"},
        {390, "z_male1"},    {394, "z_fem1"},      {398, "z_place1"},  {402, "z_prop1"},    {406, "z_cult1"},
        {410, "z_tran1"},    {414, "all_fem"},     {415, "all_neu"},   {416, "all_pl"},     {417, "c_one11"},
        {421, "c_one21"},    {429, "c_r_n11"},     {457, "c_r_adv11"}, {465, "c_r_v11"},    {493, "cs_1start11"},
        {495, "cs_1end11"},  {497, "c_notreal11"}, {501, "c_not11"},   {509, "c_not21"},    {517, "c_notnot11"},
        {525, "c_error11"},  {529, "hard"},        {530, "hard2"},     {531, "hard3"}};
    for (auto [row, name] : rows) {
        EXPECT_EQ(c_glob[row].name, name) << row;
        EXPECT_EQ(c_row_by_name(name), row);
    }
    for (int r = 1; r < C_ROWS; ++r) {
        EXPECT_GE(c_glob[r].category, c_glob[r - 1].category) << "categories are contiguous at " << r;
        EXPECT_GE(c_glob[r].tier, 1);
        EXPECT_LE(c_glob[r].tier, 8);
    }
    EXPECT_EQ(c_glob[531].category, 56);
    EXPECT_EQ(u8(c_glob[166].label), " adv (кога); ");
    EXPECT_EQ(u8(c_glob[384].label), " (име); ");
}

TEST_F(LexTest, GroupsAreOneCategoryAndTier) {
    EXPECT_EQ(c_group_first(0), 0);
    EXPECT_EQ(c_group_end(0), 9);
    EXPECT_EQ(c_group_first(5), 0);
    EXPECT_EQ(c_group_end(30), 33);   // c51 .. c53
    EXPECT_EQ(c_group_end(323), 325); // vn31, vn32
    EXPECT_EQ(c_group_end(384), 390); // z_name1 .. z_name6
    EXPECT_EQ(c_group_end(417), 421); // c_one11 .. c_one14
    EXPECT_EQ(c_group_end(42), 43);   // c_c2 alone
    EXPECT_EQ(c_group_end(517), 525); // c_notnot11 .. 18
}

class WordClassTest : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        data.write("c/c_c11.txt", "dog куче\nblack_box черна кутия\n");
        data.write("c/c_adj11.txt", "black черен\n");
        data.write("c/c_v_az11.txt", "dog следя\n");
        data.write("c/all_fem.txt", "Maria\n");
        data.write("c/c_not11.txt", "notword не\n");
        data.write("c/c_error11.txt", "errword грешка\n");
        data.write("c/c_r_n11.txt", "rareword рядка\n");
        data.write("c/hard.txt", "ubiquitous вездесъщ\n");
        data.write("c/hard3.txt", "quixotic\n");
        data.write("c/c_notnot11.txt", "notnot двойно\n");
        data.write("wl_english.txt", "the 1\ndog 845\nzebra\nodd x\n");
        load_lexicon(data.path());
    }
};

TEST_F(WordClassTest, MembershipLeavesOutTheNotListsErrorsNamesOfGenderAndHardWords) {
    EXPECT_EQ(is_in_c_set("dog"), 1);
    EXPECT_EQ(is_in_c_set("BLACK_BOX"), 1);
    EXPECT_EQ(is_in_c_set("black box"), 0);
    EXPECT_EQ(is_in_c_set("Maria"), 0);
    EXPECT_EQ(is_in_c_set("notword"), 0);
    EXPECT_EQ(is_in_c_set("errword"), 0);
    EXPECT_EQ(is_in_c_set("ubiquitous"), 0);
    EXPECT_EQ(is_in_c_set("notnot"), 1);
    EXPECT_EQ(is_in_c_set("rareword"), 1);
    EXPECT_EQ(is_in_c_set_no_rare("rareword"), 0);
    EXPECT_EQ(is_in_c_set_no_rare("dog"), 1);
}

TEST_F(WordClassTest, HardWords) {
    const ListPair* p = is_in_hard("Ubiquitous");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(u8(p->rest), "вездесъщ");
    p = is_in_hard("quixotic");
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->has_rest());
    EXPECT_EQ(is_in_hard("dog"), nullptr);
}

TEST_F(WordClassTest, MeaningsFromEveryList) {
    std::string s;
    concatenate_c_words("dog", s, 0);
    EXPECT_EQ(u8(s), "куче n; следя v; ");
    concatenate_c_words("dog", s, 1);
    EXPECT_EQ(u8(s), "куче, следя");
    concatenate_c_words_vert("dog", s, 0);
    EXPECT_EQ(u8(s), "куче n; \r\nследя v; \r\n");
    concatenate_c_words("ubiquitous", s, 0);
    EXPECT_EQ(s, "") << "hard-word lists are no meanings";
    concatenate_c_words("nothing", s, 0);
    EXPECT_EQ(s, "");
}

TEST_F(WordClassTest, MeaningsAreCutTo1023Bytes) {
    std::string many;
    for (int i = 0; i < 9; ++i) {
        data.write("c/c_c1" + std::to_string(i + 1) + ".txt", "long " + std::string(200, 'x') + "\n");
    }
    load_word_classes(data.path());
    std::string s;
    concatenate_c_words("long", s, 0);
    EXPECT_EQ(s.size(), 1023u);
}

TEST_F(WordClassTest, RanksFromTheRankList) {
    EXPECT_EQ(GetRankInt("dog"), 845);
    EXPECT_EQ(GetRankInt("DOG"), 845);
    EXPECT_EQ(GetRankInt("zebra"), 500000);
    EXPECT_EQ(GetRankInt("odd"), 500000);
    EXPECT_EQ(GetRankInt("unlisted"), 1000000);
}

TEST(EnglishStems, FirstMarkerInTheDefinition) {
    std::string d;
    EXPECT_EQ(GetStem("pl. of mouse", d), 1);
    EXPECT_EQ(d, "mouse");
    EXPECT_EQ(GetStem("[maus] see also; pt/pp of bring, (old)", d), 1);
    EXPECT_EQ(d, "bring");
    EXPECT_EQ(GetStem("# colour; US spelling of colour.", d), 2);
    EXPECT_EQ(d, "colour");
    EXPECT_EQ(GetStem("same as grey; pl. of greys", d), 2) << "the earlier marker counts";
    EXPECT_EQ(d, "grey");
    EXPECT_EQ(GetStem("a small animal", d), -1);
    EXPECT_EQ(d, "");
}

TEST(EnglishStems, LemmaMarkersInTheirOrder) {
    std::string d;
    EXPECT_EQ(GetStemLemma("comparative of good; pl. of goods", d), 1);
    EXPECT_EQ(d, "goods") << "\"pl. of \" is tested first";
    EXPECT_EQ(GetStemLemma("alt. spelling ofgrey", d), 1);
    EXPECT_EQ(d, "grey");
    EXPECT_EQ(GetStemLemma("same as grey", d), -1);
    EXPECT_EQ(d, "");
    EXPECT_EQ(GetStemLemma("", d), -1);
}

}  // namespace

namespace {

std::string members(const unsigned char* table) {
    std::string s;
    for (int c = 1; c < 256; ++c)
        if (table[c]) s.push_back(static_cast<char>(c));
    return s;
}

TEST_F(LexTest, CharacterClassesHaveTheirExactMembers) {
    EXPECT_EQ(members(ascii_punct), "!,.:;?");
    EXPECT_EQ(members(ascii_punctnocomma), "!.:;?");
    EXPECT_EQ(members(ascii_punctmain), "!.?");
    EXPECT_EQ(members(ascii_apos), "'`\x91\x92");
    EXPECT_EQ(members(ascii_aposhyp), "'-`\x91\x92");
    EXPECT_EQ(members(ascii_digit), "0123456789");
    EXPECT_EQ(members(ascii_latin_upper), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const std::string upper = members(ascii_cyrillic_upper);
    EXPECT_EQ(upper.size(), 30u);
    EXPECT_EQ(upper.find('\xDB'), std::string::npos);
    EXPECT_EQ(upper.find('\xDD'), std::string::npos);
    const std::string lower = members(ascii_cyrillic_lower);
    EXPECT_EQ(lower.size(), 30u);
    EXPECT_EQ(lower.find('\xFB'), std::string::npos);
    EXPECT_EQ(members(ascii_cyrillic).size(), 64u);
    const std::string filename = members(ascii_filename);
    EXPECT_EQ(filename.size(), 255u - 14u);
    for (char c : std::string("\t\n\f\r\"%*/:<>?\\|")) EXPECT_EQ(filename.find(c), std::string::npos) << int(c);
    for (int c : {39, 45, 96, 145, 146, 97, 90, 55, 0xE0, 0xC0}) EXPECT_TRUE(ascii_valid[c]) << c;
    EXPECT_FALSE(ascii_valid['.']);
    EXPECT_FALSE(ascii_valid['#']);
}

TEST_F(LexTest, CharsetCodesAddTokenCharactersAtLoad) {
    // CHARSET_ASCII holds decimal codes separated by blanks (the character table window's form).
    OP[OPT_CHARSET_ASCII].text_value = "35  36\t46 0 256 ! 4;";
    DataFolder folder;
    load_lexicon(folder.path());
    EXPECT_TRUE(ascii_valid['#']);
    EXPECT_TRUE(ascii_valid['$']);
    EXPECT_TRUE(ascii_valid['.']);
    EXPECT_FALSE(ascii_valid['!']) << "a character is not a code";
    EXPECT_FALSE(ascii_valid[0]);
    EXPECT_FALSE(ascii_valid[';']) << "nor is a word";
    OP[OPT_CHARSET_ASCII].text_value = "";
    load_lexicon(folder.path());
    EXPECT_FALSE(ascii_valid['#']);
}

}  // namespace
