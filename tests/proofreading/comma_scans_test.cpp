// The missing-comma pass: one-word conjunctions with their exclusion groups, the two-, three- and
// four-word conjunctions with their flags, the finding lines, the line-break marker and the marks
// in the source.
#include "bg_proof_fixture.h"

#include "engine/proofreading/comma_lists.h"
#include "support/table_samples.h"

namespace {

constexpr COLORREF kCommaMark = 0x0055FF;

class Commas : public BgProofTest {
protected:
    void SetUp() override {
        BgProofTest::SetUp();
        load_dict(B_BULGARIAN_COMMA1, {"в", "на", "от", "с"});
        load_dict(B_BULGARIAN_COMMA2, {"който", "която", "което", "които", "каквото", "когото"});
        // Words with a final dot stay whole tokens only when they are known.
        load_dict(B_BULGARIAN, {"т.е."});
        load_forms({"помогнах помогна 400 6"});
    }
    // The findings of the pass (the lines under its title), "" when it found nothing.
    std::string findings(std::string_view text) {
        const std::string b = block(text, 35);
        const auto nl = b.find('\n');
        return nl == std::string::npos ? "" : b.substr(nl + 1);
    }
    // The source's characters in the comma mark's colour: underlined ones and plain ones.
    static std::string comma_marks(bool underline) {
        const std::u16string all = RE_GetTextW(hBigReRight);
        std::u16string out;
        for (LONG i = 0; i < static_cast<LONG>(all.size()); ++i) {
            const Fmt f = fmt(hBigReRight, i);
            if (f.colour == kCommaMark && f.underline == underline) out += all[static_cast<std::size_t>(i)];
        }
        return utf16_to_utf8(out);
    }
};

// The cases of a data file: a text and the findings it gives.
TEST_F(Commas, FindingLines) {
    for (const jux_test::ReportCase& c : jux_test::read_report_cases("proofreading/cases/comma_findings.txt"))
        EXPECT_EQ(findings(c.text), c.expected) << "comma_findings.txt:" << c.line << ": " << c.text;
}

TEST_F(Commas, LineBreakMarkerAndSourceMarks) {
    // The conjunction on a new line: the last letter of the word before it is marked.
    EXPECT_EQ(findings("Видях го\rкогато дойде."), " го когато  ->  го, когато \n");
    EXPECT_EQ(report_fmt(" го когато", 2), (Fmt{PR_LINE_BREAK, true, false}));
    EXPECT_EQ(report_fmt(" го когато", 1), (Fmt{PR_CONTEXT, true, false}));
    EXPECT_EQ(report_fmt(" ->  го,"), (Fmt{PR_SUGGESTION, false, false}));
    // The blank before the conjunction is underlined, the conjunction coloured.
    EXPECT_EQ(comma_marks(true), "\r");
    EXPECT_EQ(comma_marks(false), "когато");

    // A one-letter word at the start: the marker would be the line's first character: none.
    EXPECT_EQ(findings("Я\rкогато дойде."), "Я когато  -> Я, когато \n");
    EXPECT_EQ(report_fmt("Я когато"), (Fmt{PR_CONTEXT, true, false}));

    // Multi-word: the gap before the second word begins with a line break.
    EXPECT_EQ(findings("Дойде в случай\rче вали."), "Дойде в случай че -> Дойде, в случай че\n");
    EXPECT_EQ(report_fmt("Дойде в случай че", 13), (Fmt{PR_LINE_BREAK, true, false}));
    EXPECT_EQ(comma_marks(true), " ");
    EXPECT_EQ(comma_marks(false), "в случай\rче");

    gl_TEXT_COLORING = 0;
    EXPECT_NE(findings("Видях го когато дойде."), "");
    EXPECT_EQ(comma_marks(true) + comma_marks(false), "");
}

// The longest word of b_bulgarian_comma2 is found; a word one letter longer is in no list.
TEST_F(Commas, TheLongestListedWordIsFound) {
    load_dict(B_BULGARIAN_COMMA2, {"който", "тъкмокойто"});
    EXPECT_EQ(findings("Видях човек тъкмокойто пее."), " човек тъкмокойто  ->  човек, тъкмокойто \n");
    EXPECT_EQ(findings("Видях човек тъкмоккойто пее."), "");
}

TEST_F(Commas, EveryListedWordStopsItsFinding) {
    struct ListCase {
        const WordList* list;
        std::size_t size;
        const char* conjunction;  // the words after the listed one
    };
    const ListCase lists[] = {
        {&comma_exclusions_k, 62, "когато"},
        {&comma_exclusions_g, 52, "където"},
        {&comma_exclusions_o, 40, "освен"},
        {&comma_exclusions_ch, 46, "че"},
        {&comma_exclusions_p, 51, "защото"},
        {&comma_exclusions_t, 3, "отколкото"},
        {&comma_exclusions_m, 9, "макар"},
        {&comma2_before, 31, "вместо да"},
        {&comma2_before_fixed, 6, "на който"},
        {&comma2_before_o, 6, "освен че"},
        {&comma2_before_k, 7, "както и"},
        {&comma2_before_v, 83, "преди да"},
        {&comma2_before_z, 22, "за да"},
        {&comma3_before, 17, "в случай че"},
        {&comma3_before_without_z, 9, "в смисъл че"},
        {&comma4_before, 25, "благодарение на това че"},
        {&comma4_before_z, 8, "да не би да"},
    };
    for (const ListCase& l : lists) {
        EXPECT_EQ(l.list->size(), l.size) << l.conjunction;
        const std::string tail = std::string(" ") + l.conjunction + " вали.";
        const std::string comma = std::string(", ") + l.conjunction;
        ASSERT_NE(proof("Дойде сега" + tail).find(comma), std::string::npos) << l.conjunction;
        for (const std::string& w : l.list->words())
            EXPECT_EQ(proof("Дойде " + u8(w) + tail).find(comma), std::string::npos) << u8(w) << tail;
    }
    // The single-word exclusions of the two-word flags.
    const std::pair<const char*, const char*> single[] = {
        {"само", "без да"}, {"дори", "без да"}, {"тъкмо", "без да"}, {"почти", "без да"},
        {"хем", "без да"},  {"не", "тъй като"}, {"беше", "в случай че"}, {"освен", "с цел да"},
        {"за", "в случай че"}};
    for (auto [w, conj] : single) {
        const std::string comma = std::string(", ") + conj;
        EXPECT_NE(proof(std::string("Дойде сега ") + conj + " вали.").find(comma), std::string::npos) << conj;
        EXPECT_EQ(proof(std::string("Дойде ") + w + " " + conj + " вали.").find(comma), std::string::npos) << w;
    }
}

TEST_F(Commas, EveryConjunctionOfTheTablesIsFound) {
    const std::pair<const PhraseTable*, std::size_t> tables[] = {{&comma_pairs, 25}, {&comma_triples, 21}, {&comma_quads, 5}};
    for (auto [table, size] : tables) {
        EXPECT_EQ(table->rows().size(), size);
        for (const CommaPhrase& row : table->rows()) {
            std::string words;
            for (const char* w : row.words)
                if (w) words += (words.empty() ? "" : " ") + std::string(*w ? w : "тази");
            EXPECT_NE(proof("Дойде сега " + words + " вали.").find("сега, " + words), std::string::npos) << words;
        }
    }
}

TEST_F(Commas, ConjunctionsAtTheEdgesOfTheText) {
    // Alone, first, last, and a text of conjunctions only: nothing read outside the store.
    EXPECT_EQ(findings("когато"), "");
    EXPECT_EQ(findings("Когато дойде."), "");
    EXPECT_EQ(findings("Дойде когато"), "Дойде когато -> Дойде, когато\n");
    EXPECT_EQ(findings("Дойде\tкогато"), "");  // a tab is no blank
    EXPECT_EQ(findings("преди да"), "");
    EXPECT_EQ(findings("когато когато когато"), "когато когато  -> когато, когато \n когато когато ->  когато, когато\n");
    EXPECT_EQ(findings("да не би да"), "");
    EXPECT_EQ(findings("че че че"), "че че  -> че, че \n че че ->  че, че\n");
}

}  // namespace
