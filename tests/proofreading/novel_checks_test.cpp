// The novel-mode checks: paragraph statistics with the end-of-text line, and paragraphs whose
// pairs do not balance, with the layout tags that change what is counted.
#include "proof_fixture.h"

namespace {

class Novel : public ProofTest {
protected:
    void SetUp() override {
        ProofTest::SetUp();
        gl_NOVEL_MODE = 1;
    }
};

TEST_F(Novel, ParagraphStatisticsAndTheLineBreakAtTheEnd) {
    struct Case {
        const char* text;
        const char* report;  // the proof-reader's report up to the header position
    };
    const Case cases[] = {
        // Four paragraphs (one empty); 8 records (the last one holds the final stop) over 3.
        {"Първи абзац тук.\rВтори абзац.\r\rТрети абзац.",
         "\nПараграфи: 4, празни: 1, с текст: 3, средно 2.67 думи\n\n"
         "Параграф с най-много думи (3):\nПърви абзац тук.\nВтори абзац\n\n\n"},
        // A text that ends with a line break says so; two paragraphs get no statistics.
        {"Един ред.\r", "\n\nНов ред в края на текста!\n\n\n"},
        {"Един ред.\rДруг ред", "\n\n"},
        {"Един ред. Край", "\n\n"},
        // Three paragraphs are the fewest that get the statistics; 4 records over 3.
        {"Едно.\rДве.\rТри.",
         "\nПараграфи: 3, празни: 0, с текст: 3, средно 1.33 думи\n\n"
         "Параграф с най-много думи (1):\nЕдно.\nДве.\nТри.\n\n\n"},
    };
    for (const Case& c : cases) {
        const std::string r = lines(proof(c.text));
        EXPECT_EQ(r.substr(0, r.find(u8(cp("ПУНКТУАЦИОННИ")))), u8(cp(c.report))) << c.text;
    }
    proof(cases[0].text);
    EXPECT_EQ(report_fmt("Параграфи:"), (Fmt{PR_NOVEL, false, false}));
    EXPECT_EQ(report_fmt("Параграф с"), (Fmt{PR_NOVEL, false, false}));
    EXPECT_EQ(report_fmt("Първи абзац"), (Fmt{PR_CONTEXT, true, false}));
    proof("Един ред.\r");
    EXPECT_EQ(report_fmt("Нов ред"), (Fmt{PR_NOVEL, true, false}));
}

TEST_F(Novel, UnbalancedPairsPerParagraph) {
    struct Case {
        const char* text;
        const char* findings;  // the finding lines, '\n' after each; "" for none
    };
    const Case cases[] = {
        {"„Текст” и още.\rВтори.", "„Текст” и още. -> „ “  1 и 0 пъти (затваряща кавичка с код x93 вместо x94)\n"},
        {"„Текст и още.\rВтори.", "„Текст и още. -> „ “  1 и 0 пъти\n"},
        {"Той каза \"да\" и \"не.\rВтори.", "Той каза \"да\" и \"не. -> символът \" 3 пъти\n"},
        {"Той каза \"да\" и не.\rВтори.", ""},
        {"Той _каза_ не.\rВтори.", ""},
        // With one “ the ” is no wrong closing mark; the counts alone are shown.
        {"„а“ „б”.\rВтори.", "„а“ „б”. -> „ “  2 и 1 пъти\n"},
        // The last paragraph ends before the text's last word.
        {"Едно (две\rтри) четири _пет", "Едно (две -> ( )  1 и 0 пъти\nтри) четири _ -> ( )  0 и 1 пъти\n"
                                       "три) четири _ -> символът _ 1 път\n"},
        // Only the first 25 characters stand for the paragraph.
        {"(абвгдежзий клмнопрстуфхцчшщ.\rа", "(абвгдежзий клмнопрстуфхц -> ( )  1 и 0 пъти\n"},
        // A line break before the first word is no paragraph end of that word's paragraph.
        {"\r(а) б\rв", ""},
        // Inside P the guillemets and Bulgarian quotes are not counted; inside I a paragraph that
        // begins with a tab and "$" is not checked; tag lines are never reported.
        {"P>\r«а\rP$\r«б\rв", "«б -> « »  1 и 0 пъти\n"},
        {"L>\r„а\r(б\rL$\rв", "(б -> ( )  1 и 0 пъти\n"},
        // A tag letter other than L, P and I changes nothing; a blank after ">" makes no tag line.
        {"A>\r«а\rA$\rв", "«а -> « »  1 и 0 пъти\n"},
        {"P> \r«а\rв", "«а -> « »  1 и 0 пъти\n"},
        {"I>\r\t$ (а\r\t(б\rI$\rв", "\t(б -> ( )  1 и 0 пъти\n"},
    };
    const std::string title = u8(cp("*параграфи с различен брой отварящи и затварящи:\n„“  «»  \"\"  ()  {}  []  _\n\n"));
    for (const Case& c : cases) {
        const std::string r = lines(proof(c.text));
        const std::string want = u8(cp(c.findings));
        const auto at = r.find(title);
        if (want.empty()) {
            EXPECT_EQ(at, std::string::npos) << c.text << "\n" << r;
            continue;
        }
        ASSERT_NE(at, std::string::npos) << c.text << "\n" << r;
        EXPECT_EQ(r.substr(at + title.size(), want.size() + 2), want + "\n\n") << c.text;
    }
    proof("„Текст” и още.\rВтори.");
    EXPECT_EQ(report_fmt("„Текст” и още. ->"), (Fmt{PR_CONTEXT, true, false}));
    EXPECT_EQ(report_fmt(" -> „ “"), (Fmt{PR_NOVEL, false, false}));
    EXPECT_EQ(report_fmt("*параграфи"), (Fmt{PR_TITLE, true, false}));
    EXPECT_EQ(marked(), "");  // these checks never mark the source
}

TEST_F(Novel, NothingOutsideNovelModeOrFromTheEntryBox) {
    const char* text = "„Текст” и още.\r\rВтори.\rТрети.\r";
    gl_NOVEL_MODE = 0;
    EXPECT_EQ(proof(text).find(u8(cp("Параграфи"))), std::string::npos);
    EXPECT_TRUE(last_proof.rows.empty() || last_proof.rows.front() != 0);

    gl_NOVEL_MODE = 1;
    Button_SetCheck(hAddSentence, BST_CHECKED);
    type_entry(text);
    const std::string r = panel8(hAddReSaved);
    EXPECT_EQ(r.find(u8(cp("Параграфи"))), std::string::npos) << r;
    EXPECT_EQ(r.find(u8(cp("*параграфи"))), std::string::npos) << r;
    EXPECT_EQ(r.find(u8(cp("Нов ред в края"))), std::string::npos) << r;
}

}  // namespace
