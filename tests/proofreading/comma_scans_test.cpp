// The missing-comma pass: one-word conjunctions with their exclusion groups, the two-, three- and
// four-word conjunctions with their flags, the finding lines, the line-break marker and the marks
// in the source.
#include "bg_proof_fixture.h"

#include "engine/proofreading/comma_lists.h"

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

TEST_F(Commas, FindingLines) {
    struct Case {
        const char* text;
        const char* findings;
    };
    const Case cases[] = {
        // One-word conjunctions; a comma already there; an excluded word before; "но" and "Но".
        {"Видях го когато дойде.", " го когато  ->  го, когато \n"},
        {"Видях го, когато дойде.", ""},
        {"Така е когато вали.", ""},
        {"Иска но не може.", "Иска но  -> Иска, но  | Иска по \n"},
        {"Иска Но не може.", "Иска Но  -> Иска, Но \n"},
        {"Има 5 които.", ""},
        {"Той дойде макар.", " дойде макар ->  дойде, макар\n"},
        {"Той дойде макар, че вали.", ""},
        {"Той знае каквото знае.", ""},
        {"Видях човек който пее.", " човек който  ->  човек, който \n"},
        {"Видях по-добре отколкото вчера.", ""},
        {"Дойде сега отколкото вчера.", " сега отколкото  ->  сега, отколкото \n"},
        {"Оттук отсега нататък където иска.", ""},
        {"Оттук отсега, нататък където иска.", " нататък където  ->  нататък, където \n"},
        // Two-word conjunctions.
        {"Дойде преди да тръгне.", "Дойде преди да -> Дойде, преди да\n"},
        {"Остана малко преди да тръгне.", ""},
        {"Видях къщата на която живее.", "къщата на която -> къщата, на която\n"},
        {"Видях краят на който живее.", ""},
        {"Говори с който и да било.", ""},
        {"Говори с който и да е била.", ""},
        {"Направи го така, че да стане.", ""},
        {"Направи го така че да стане.", "го така че -> го, така че\n"},
        {"Той тръгна без да каже.", "тръгна без да -> тръгна, без да\n"},
        // Fixed expressions before a relative word.
        {"Стана благодарение на което дойде.", ""},
        {"Видях единия от които пее.", ""},
        {"Той пя по време на който ядохме.", ""},
        {"По време на който ядохме.", "време на който -> време, на който\n"},
        {"Той дойде въз основа на които реши.", ""},
        {"Аз помогнах с каквото мога.", ""},
        // Three- and four-word conjunctions.
        {"Дойде в случай че вали.", "Дойде в случай че -> Дойде, в случай че\n"},
        {"Дойде само в случай че вали.", ""},
        {"Дойде по тази причина че вали.", "Дойде по тази причина че -> Дойде, по тази причина че\n"},
        {"Дойде поради онази причина че вали.", "Дойде поради онази причина че -> Дойде, поради онази причина че\n"},
        {"Страх ме е аз да не би да падна.", ""},
        {"Страх ме е да не би да падна.", "е да не би да -> е, да не би да\n"},
        // One-word findings first, then the longer ones.
        {"Дойде преди да тръгне и пее когато иска.",
         " пее когато  ->  пее, когато \nДойде преди да -> Дойде, преди да\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(findings(c.text), c.findings) << c.text;
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
    EXPECT_EQ(findings("преди да"), "");
    EXPECT_EQ(findings("когато когато когато"), "когато когато  -> когато, когато \n когато когато ->  когато, когато\n");
    EXPECT_EQ(findings("да не би да"), "");
    EXPECT_EQ(findings("че че че"), "че че  -> че, че \n че че ->  че, че\n");
}

}  // namespace
