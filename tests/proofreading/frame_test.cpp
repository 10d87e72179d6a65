// The proof-reader's frame: when it runs, the header and where it goes, the order of the passes and
// which of them run, the shared steps' formats, the source marks and the final selection.
#include "proof_fixture.h"

#include "engine/proofreading/pass_order.h"

namespace {

using Frame = ProofTest;

TEST_F(Frame, OrderTableHoldsTheFortySixTitlesInOrder) {
    const std::vector<std::u16string_view> titles = {
        u"Нов ред в края на текста!",
        u"*параграфи с различен брой отварящи и затварящи:\r\n„“  «»  \"\"  ()  {}  []  _",
        u"<предлог><пълен член>",
        u"непълен член след форма на \"съм\" (невинаги е грешка!)",
        u"непълен член пред форма на \"съм\" (невинаги е грешка!)",
        u"непълен член в начало на изречение (невинаги е грешка!)",
        u"<интервал><многоточие>",
        u"слепено m-тире",
        u"слепени кавички",
        u"слепено многоточие",
        u"слепено многоточие (три точки)",
        u"<нов ред><тире><буква>",
        u"<нов ред><тире><интервал><малка буква>",
        u"",
        u"повторение на дума",
        u"в -> във",
        u"във -> в",
        u"с -> със",
        u"със -> с",
        u"<интервал><точка>",
        u"<точка><точка>",
        u"<малка буква><главна буква>",
        u"<главни букви><малка буква>",
        u"потенциална българска дума с латински букви",
        u"потенциално грешен край на параграф",
        u"параграф без табулатор в началото",
        u"опашен интервал",
        u"слепено опашно тире",
        u"грешно тире",
        u"водещ интервал",
        u"собствено име с малка буква",
        u"сравнителна или превъзходна степен без тире (невинаги е вярно!)",
        u"потенциални грешки: щ -> ш (причастие вместо глагол)",
        u"потенциални грешки: ш -> щ (глагол вместо причастие)",
        u"разкъсана дума или грешна двойка думи",
        u"потенциално пропуснати запетаи (невинаги е вярно!)",
        u"думи с главни букви в средата на изречение\r\nс под 4 повторения, възможно е да са грешки",
        u"",
        u"последователни съществителни (обикновено не е грешка!)",
        u"потенциално несъгласувани прилагателно и съществително",
        u"предлог пред глагол (обикновено е грешка)",
        u"да пред неглагол (обикновено е грешка)",
        u"глагол пред е (възможна грешка е -> c)",
        u"съмнителни изрази (обикновено е грешка)",
        u"съседни предлози (обикновено е грешка)",
        u"не пред членувано съществително (възможна грешка не -> на)",
    };
    ASSERT_EQ(titles.size(), pass_order.size());
    for (std::size_t i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(pass_order[i].order, static_cast<int>(i));
        EXPECT_EQ(utf16_to_utf8(pass_order[i].title), utf16_to_utf8(titles[i])) << "row " << i;
    }
    EXPECT_EQ(utf16_to_utf8(pass_order[36].title2),
              "думи с главни букви в средата на изречение\r\nс над 3 повторения, вероятно не са грешки");
}

TEST_F(Frame, GuardsDecideWhichBuiltRowsRun) {
    struct Case {
        const char* name;
        std::function<void()> set;
        std::vector<int> rows;
    };
    auto span = [](std::vector<int> v, int from, int to) {
        for (int r = from; r <= to; ++r) v.push_back(r);
        return v;
    };
    std::vector<int> no_bg = span(span({}, 2, 23), 26, 29);
    no_bg.push_back(35);
    no_bg.push_back(37);
    const std::vector<int> built = span(span(span({}, 2, 23), 26, 37), 39, 45);
    const std::vector<int> novel = span(span({0, 1}, 2, 37), 39, 45);
    const std::vector<int> all = span({0, 1}, 2, 45);
    const std::vector<Case> cases = {
        {"defaults", [] {}, built},
        {"novel mode", [] { gl_NOVEL_MODE = 1; }, novel},
        {"every switch on", [] {
             gl_NOVEL_MODE = 1;
             gl_fg_subtitle = 1;
             gl_FIND_TWO_NOUNS = 1;
             OP[OPT_LOAD_BG].num_value = 1;
         }, all},
        {"LOAD_BG off", [] { OP[OPT_LOAD_BG].num_value = 0; }, no_bg},
    };
    for (const Case& c : cases) {
        reset_settings();
        c.set();
        proof("една, две");
        EXPECT_EQ(last_proof.rows, c.rows) << c.name;
    }
    // In the entry box novel mode does not hold.
    reset_settings();
    gl_NOVEL_MODE = 1;
    Button_SetCheck(hAddSentence, BST_CHECKED);
    type_entry("една, две");
    EXPECT_EQ(last_proof.rows, built);

    EXPECT_TRUE(guard_open(PassGuard::LoadBg, ProofRun{}));
    gl_FIND_COMMA = 0;
    EXPECT_FALSE(guard_open(PassGuard::Comma, ProofRun{}));
    OP[OPT_LOAD_BG].num_value = 0;
    gl_FIND_CONCORD = 1;
    EXPECT_FALSE(guard_open(PassGuard::ConcordLoadBg, ProofRun{}));
}

TEST_F(Frame, OffShortAndCleanTexts) {
    // CHECK_PUNCTUATION off: the run skips the stage and the report holds nothing of it.
    gl_CHECK_PUNCTUATION = 0;
    check("една , . две");
    EXPECT_FALSE(last_run.steps & RUN_PROOF_READER);
    EXPECT_EQ(panel8(hBigReLeft).find(u8(cp("ПУНКТУАЦИОННИ"))), std::string::npos);
    EXPECT_EQ(proof("една , . две"), "");
    EXPECT_FALSE(last_proof.ran);
    gl_CHECK_PUNCTUATION = 1;

    // One word: neither passes nor header; the caret still goes back to the list start.
    EXPECT_EQ(proof("дума", CHARRANGE{0, 0}), "");
    EXPECT_TRUE(last_proof.ran);
    EXPECT_TRUE(last_proof.rows.empty());

    // No finding: the two empty lines and no header.
    EXPECT_EQ(proof("Една хубава дума."), "\r\r");
    EXPECT_FALSE(last_proof.header);
}

TEST_F(Frame, CaretGoesBackToTheListStart) {
    struct Case {
        const char* text;
        std::int8_t all_latin;
        CHARRANGE list_start;
        CHARRANGE expected;
    };
    const Case cases[] = {
        {"дума", 0, {4, 4}, {4, 4}},
        {"една , . две", 0, {2, 6}, {2, 6}},
        {"една , . две", 1, {2, 6}, {0, 0}},
    };
    for (const Case& c : cases) {
        gl_PRINT_ALL_LATIN = c.all_latin;
        proof(c.text, c.list_start, u"list:\rword 1\r");
        EXPECT_EQ(panel8(hBigReLeft).substr(0, 13), "list:\rword 1\r") << c.text;
        EXPECT_EQ(RE_GetSel(hBigReLeft).cpMin, c.expected.cpMin) << c.text;
        EXPECT_EQ(RE_GetSel(hBigReLeft).cpMax, c.expected.cpMax) << c.text;
    }
    // Without a list start the selection stays where the header left it (not at the start).
    proof("една , . две");
    EXPECT_GT(RE_GetSel(hBigReLeft).cpMin, 0);
}

TEST_F(Frame, HeaderIsInsertedInFrontOfTheColouredFindings) {
    const std::string r = proof("една, . Две");
    EXPECT_EQ(lines(r), u8(cp("\n\nПУНКТУАЦИОННИ И ДРУГИ ГРЕШКИ:\n\n"
                               "<запетая><интервал><точка>  1\n"
                               ", . -> , (comma) | . (dot) | ,  (comma+space) | .  (dot+space)\n\n")));
    EXPECT_TRUE(last_proof.header);
    // Header magenta not bold; title magenta bold, count blue; context red bold, suggestion green:
    // the formats stay with their characters when the header goes in before them.
    EXPECT_EQ(report_fmt("ПУНКТУАЦИОННИ"), (Fmt{PR_TITLE, false, false}));
    EXPECT_EQ(report_fmt("<запетая>"), (Fmt{PR_TITLE, true, false}));
    EXPECT_EQ(report_fmt("  1"), (Fmt{PR_COUNT, false, false}));
    EXPECT_EQ(report_fmt(", . ->"), (Fmt{PR_CONTEXT, true, false}));
    EXPECT_EQ(report_fmt(" -> , (comma)"), (Fmt{PR_SUGGESTION, false, false}));
    EXPECT_EQ(report_fmt("(dot+space)"), (Fmt{PR_SUGGESTION, false, false}));
    EXPECT_EQ(marked(), ", .");

    // The novel-mode statistics stand before the header position.
    gl_NOVEL_MODE = 1;
    const std::string novel = lines(proof("Първи ред, . Тук.\rВтори.\r\rТрети."));
    EXPECT_EQ(novel.find(u8(cp("\nПараграфи: 4"))), 0u) << novel;
    EXPECT_NE(novel.find(u8(cp("Тук.\nВтори.\n\nТрети\n\n\nПУНКТУАЦИОННИ И ДРУГИ ГРЕШКИ:\n\n<запетая>"))), std::string::npos)
        << novel;
    gl_NOVEL_MODE = 0;

    // Through the whole run the proof-reader follows the report of the run.
    check("една, . Две");
    const std::string full = panel8(hBigReLeft);
    EXPECT_TRUE(last_run.steps & RUN_PROOF_READER);
    // (after the run's list of the unknown words)
    const std::string last_line = u8(cp("една -> no suggestions"));
    const std::size_t list = full.find(last_line);
    ASSERT_NE(list, std::string::npos) << full;
    EXPECT_EQ(full.find(u8(cp("\r\r\rПУНКТУАЦИОННИ"))), list + last_line.size()) << full;
}

TEST_F(Frame, SourceMarksFollowTextColouringAndThePanel) {
    gl_TEXT_COLORING = 0;
    proof("една , . две");
    EXPECT_EQ(marked(), "");
    gl_TEXT_COLORING = 1;

    // The entry box's copy is never marked; its report still gets the findings.
    RE_SetTextW(hAddReShortCopy, u"една , . две");
    std::string t8;
    std::u16string t16;
    gl_CHECK_PUNCTUATION = 0;
    translate_text(hMain, hAddReShortCopy, hAddReSaved, hAddLabel, t8, t16, "copy");
    gl_CHECK_PUNCTUATION = 1;
    RE_SetTextW(hAddReSaved, u"");
    proof_read(hAddReShortCopy, hAddReSaved, last_run.processed, {});
    EXPECT_NE(panel8(hAddReSaved).find(u8(cp("<запетая><интервал><точка>  1"))), std::string::npos);
    for (LONG i = 0; i < RE_GetTextLength(hAddReShortCopy); ++i) EXPECT_FALSE(fmt(hAddReShortCopy, i).underline);
}

TEST_F(Frame, SharedStepsOfAPerFindingPass) {
    // A pass that finds nothing leaves nothing; one that finds writes its title once, its lines,
    // the pink marker where it asks, and one empty line at its end.
    proof("една две");
    ProofRun run;
    run.report = hBigReLeft;
    RE_SetTextW(hBigReLeft, u"");
    { PassReport quiet(run, u"нищо"); }
    EXPECT_EQ(panel8(hBigReLeft), "");
    {
        PassReport rep(run, u"заглавие");
        rep.finding(cp("една\rдве"), " -> x");
        const LONG at = rep.finding(cp("три"), cp(" -> четири | пет"));
        mark_line_break(run, at + 1);
        EXPECT_EQ(rep.count(), 2);
    }
    EXPECT_EQ(lines(panel8(hBigReLeft)), u8(cp("заглавие\nедна\nдве -> x\nтри -> четири | пет\n\n")));
    EXPECT_EQ(report_fmt("три", 1), (Fmt{PR_LINE_BREAK, true, false}));
    EXPECT_EQ(report_fmt("три", 2), (Fmt{PR_CONTEXT, true, false}));
    EXPECT_EQ(report_fmt(" -> x"), (Fmt{PR_SUGGESTION, false, false}));
    EXPECT_EQ(report_fmt("заглавие"), (Fmt{PR_TITLE, true, false}));
}

}  // namespace
