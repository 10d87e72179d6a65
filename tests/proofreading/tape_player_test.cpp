// A recording played with its report lines gathered into one append leaves the report panel as the
// lines and colourings one by one do (as a panel that tells its dialog of selections takes them).
#include "engine/proofreading/proof_report.h"
#include "platform/text.h"
#include "proof_fixture.h"
#include "support/panel_dump.h"

namespace {

// One step of a recording: a line (text and line ends), or with a colour the colouring of [from, to).
struct Step {
    std::string_view line;
    int line_ends = 1;
    LONG from = 0, to = 0;
    COLORREF colour = 0;
};

ReportTape tape_of(const std::vector<Step>& steps) {
    ReportTape t;
    for (const Step& s : steps) {
        ReportTape::Op op{s.colour ? ReportTape::Kind::Colour : ReportTape::Kind::Line8, s.line_ends};
        if (!s.colour) {
            t.add(op, std::string_view(utf8_to_cp1251(s.line)));
            continue;
        }
        op.from = s.from;
        op.to = s.to;
        op.mask = PR_COLOUR_BOLD;
        op.colour = s.colour;
        t.ops.push_back(op);
    }
    return t;
}

using TapePlayerTest = ProofTest;
TEST_F(TapePlayerTest, GatheredLinesLeaveThePanelAsLinesOneByOne) {
    const std::vector<std::vector<Step>> cases = {
        {{"ab -> cd"}, {"", 0, 0, 2, PR_CONTEXT}, {"", 0, 2, 8, PR_SUGGESTION}, {"ef"}},
        // The last character coloured: the next line takes its format.
        {{"ab", 0}, {"", 0, 0, 2, PR_CONTEXT}, {"cd"}, {"", 0, 2, 3, PR_SUGGESTION}},
        // The last step a colouring: the selection ends on it.
        {{"да -> не"}, {"", 0, 0, 2, PR_CONTEXT}},
        // Line ends in the text, a colouring past the end and one before the recording.
        {{"a\r\nb\nc", 2}, {"", 0, 1, 40, PR_CONTEXT}, {"", 0, -3, 1, PR_SUGGESTION}, {"x"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        std::string dumps[2];
        CHARRANGE sel[2]{};
        for (int one_by_one = 0; one_by_one < 2; ++one_by_one) {
            RE_SetEventMask(hBigReLeft, one_by_one ? DWORD{ENM_SELCHANGE} : DWORD{0});
            RE_SetTextW(hBigReLeft, u"head\r");
            ColorRangeOn(hBigReLeft, 0, 5, PR_COLOUR_BOLD, 0, 0);
            ColorRangeOn(hBigReLeft, 0, 4, PR_COLOUR_BOLD, PR_TITLE, CFE_BOLD);
            ProofRun run;
            run.source = hBigReRight;
            run.report = hBigReLeft;
            bool titled = true;  // the pass's title stands: the recordings hold none
            int end_lines = -1;
            {
                TapePlayer player(run);  // what it gathered goes in when it ends
                for (int k = 0; k < 2; ++k) player.play(tape_of(cases[i]), 0, titled, end_lines);
            }
            dumps[one_by_one] = jux_test::dump_panel("report", hBigReLeft);
            sel[one_by_one] = RE_GetSel(hBigReLeft);
        }
        EXPECT_EQ(dumps[0], dumps[1]) << "case " << i;
        EXPECT_TRUE(sel[0] == sel[1]) << "case " << i << ": " << sel[0].cpMin << "-" << sel[0].cpMax;
    }
}

}  // namespace
