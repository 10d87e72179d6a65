// Capitals inside sentences (frequent ones listed once with their count, rare ones where they stand)
// and the letter pairs handed to the OCR check.
#include "bg_proof_fixture.h"

#include "shell/token_frequency_index.h"
#include "spelling/spell_state.h"

namespace {

const char kRare[] = "думи с главни букви в средата на изречение\nс под 4 повторения, възможно е да са грешки\n\n";
const char kFrequent[] = "думи с главни букви в средата на изречение\nс над 3 повторения, вероятно не са грешки\n\n";

// "К" and as many "а" as make n letters.
std::string long_word(int n) {
    std::string w = "К";
    for (int i = 1; i < n; ++i) w += "а";
    return w;
}

class Capitals : public BgProofTest {
protected:
    void SetUp() override {
        BgProofTest::SetUp();
        load_dict(B_BULGARIAN, {"кола", "колата", "ще", "добре", "дошли", "иван", "г.", "тук", "е", "отвъд", "в",
                                long_word(63), long_word(64)});
        load_dict(B_BULGARIAN_COMMA1, {"в", "отвъд"});
        load_dict(B_BULGARIAN_CAPIT, {"колата_е"});
        load_forms({"Иван Иван 468 0"});
    }
    // What the passes wrote behind the header (UTF-8, '\n' after each line), "" without a header.
    std::string capitals(std::string_view text) {
        const std::string r = lines(proof(text));
        const std::string head = utf16_to_utf8(PROOF_HEADER) + "\n\n";
        const auto at = r.find(head);
        return at == std::string::npos ? "" : r.substr(at + head.size());
    }
};

TEST_F(Capitals, CandidatesAndFindingLines) {
    struct Case {
        const char* text;
        const char* report;  // after the frame's two empty lines; "" when nothing
    };
    const std::string rare = std::string("\n") + kRare;
    const Case cases[] = {
        // After a comma: the lower case first; after one blank: the full stop first.
        {"Видях го, Кола е там.", " го, Кола  ->  го, кола  |  го. Кола \n\n"},
        {"Видях го Кола е там.", " го Кола  ->  го. Кола  |  го кола \n\n"},
        // After a word of b_bulgarian_comma1 only the lower case, unless it is отвъд, отсам, оттатък.
        {"Видях в Кола е там.", " в Кола  ->  в кола \n\n"},
        {"Видях отвъд Кола е там.", " отвъд Кола  ->  отвъд. Кола  |  отвъд кола \n\n"},
        // After one line end: the sentence ends there; after an empty line: no candidate.
        {"Видях го\rКола е там.", "го -> го.\n\n"},
        {"Видях го\r\rКола е там.", ""},
        // After a sentence end, an abbreviation, a capital, in a name, in capitals: no candidate.
        {"Видях го. Кола е там.", ""},
        {"Видях г. Кола е там.", ""},
        {"Видях Тук Кола е там.", ""},
        {"Видях го, Добре Дошли.", ""},
        {"Видях го, КОЛА е там.", ""},
        {"Видях го, Иван е там.", ""},
        {"Видях го, 12 е там.", ""},
        // Unknown words and words of the capital list (also as a pair with the next word).
        {"Видях го, Рола е там.", ""},
        {"Видях го, Колата е там.", ""},
        // A one-letter word is a candidate; a capital after the next word's comma does not hide it.
        {"Видях го, Е там.", " го, Е  ->  го, е  |  го. Е \n\n"},
        {"Видях го, Кола, Тук е.", " го, Кола ->  го, кола |  го. Кола\n\n"},
        // After a capital word only ще, но, така, ако, пък.
        {"Тук Ще дойде.", "Тук Ще  -> Тук. Ще  | Тук ще \n\n"},
    };
    for (const Case& c : cases) {
        const std::string want = *c.report ? rare + c.report : "";
        EXPECT_EQ(capitals(c.text), want) << c.text;
    }
    // Words of up to 63 letters are candidates.
    EXPECT_NE(capitals("Видях го, " + long_word(63) + " е там."), "");
    EXPECT_EQ(capitals("Видях го, " + long_word(64) + " е там."), "");
}

TEST_F(Capitals, FrequentCapitalsAreListedOnce) {
    // Four times: listed once with the count, never reported where it stands.
    const std::string four = capitals("Видях го, Кола. Видях го, Кола. Видях го, Кола. Видях го, Кола.");
    EXPECT_EQ(four, std::string("\n") + kFrequent + "1. Кола  4 -> кола\n\n");
    EXPECT_EQ(report_fmt("1. "), (Fmt{gl_col_nosug, false, false}));
    EXPECT_EQ(report_fmt("Кола  4"), (Fmt{PR_CONTEXT, true, false}));
    EXPECT_EQ(report_fmt("  4"), (Fmt{PR_COUNT, false, false}));
    EXPECT_EQ(report_fmt(" -> кола"), (Fmt{PR_SUGGESTION, false, false}));
    EXPECT_EQ(report_fmt("думи"), (Fmt{PR_TITLE, true, false}));
    // The groups stay in the single token index.
    ASSERT_EQ(g_nd - g_floor, 1);
    EXPECT_EQ(u8(std::string(g_floor->name)), "Кола");

    // Three times: each reported where it stands, after the empty line of the first scan.
    const std::string three = capitals("Видях го, Кола. Видях го, Кола. Видях го, Кола.");
    EXPECT_EQ(three, std::string("\n") + kRare + " го, Кола ->  го, кола |  го. Кола\n"
                                                 " го, Кола ->  го, кола |  го. Кола\n"
                                                 " го, Кола ->  го, кола |  го. Кола\n\n");

    // The index is finished case-sensitively, the second scan compares ignoring case: a spelling
    // met once is skipped when another spelling of it is frequent.
    const std::string mixed = capitals("Видях го, Кола. Видях го, Кола. Видях го, КолА. Видях го, Кола. Видях го, Кола.");
    EXPECT_EQ(mixed.substr(mixed.find(kFrequent)), std::string(kFrequent) + "1. Кола  4 -> кола\n\n");
}

TEST_F(Capitals, LetterPairsGoToTheOcrCheck) {
    load_dict(B_BULGARIAN, {"кола", "коза"});
    // No pairs: the pass writes nothing.
    EXPECT_EQ(capitals("Видях кола тук."), "");
    load_dict(B_BULGARIAN_TWO_LETTERS, {"л з", "х"});
    const std::string r = capitals("Видях кола тук.");
    EXPECT_NE(r.find("потенциални грешки: л -> з"), std::string::npos) << r;
    EXPECT_NE(r.find("кола  1 -> коза"), std::string::npos) << r;
    gl_FIND_TWO_LETTERS = 0;
    EXPECT_EQ(capitals("Видях кола тук."), "");
}

}  // namespace
