// The proof-reader's report on real Qt panels (offscreen): a Bulgarian text with a glued dash and a
// ", ." run through the text-processing run gives the header and the findings in the report panel,
// coloured, and the source marks in the text panel.
#include <QApplication>

#include "platform/qt/qt_backend.h"
#include "proof_fixture.h"
#include "support/qt_main.h"

namespace {

class QtReport : public ProofTest {
protected:
    void SetUp() override {
        ProofTest::SetUp();
        platform_set_backend(make_qt_backend());
        make_windows();
    }
    void TearDown() override {
        hs = &headless_install();
        ProofTest::TearDown();
    }
};

TEST_F(QtReport, HeaderFindingsAndMarksOnRealPanels) {
    check("Той каза— не, . Добре.");
    const std::string r = lines(panel8(hBigReLeft));
    const std::string expected = u8(cp("\n\nПУНКТУАЦИОННИ И ДРУГИ ГРЕШКИ:\n\n"
                                       "<запетая><интервал><точка>  1\n"
                                       ", . -> , (comma) | . (dot) | ,  (comma+space) | .  (dot+space)\n\n"
                                       "m-тире  1\n— -> - | – (ndash)\n\n"
                                       "слепено с предната дума m-тире\nказа—  -> каза —  |  каза \n\n"));
    EXPECT_NE(r.find(expected), std::string::npos) << r;
    EXPECT_EQ(report_fmt("ПУНКТУАЦИОННИ"), (Fmt{PR_TITLE, false, false}));
    EXPECT_EQ(report_fmt("<запетая>"), (Fmt{PR_TITLE, true, false}));
    EXPECT_EQ(report_fmt(", . ->"), (Fmt{PR_CONTEXT, true, false}));
    EXPECT_EQ(report_fmt(" -> , (comma)"), (Fmt{PR_SUGGESTION, false, false}));
    EXPECT_EQ(report_fmt("каза— "), (Fmt{PR_CONTEXT, true, false}));
    EXPECT_EQ(marked(), "каза— |, .");
}

}  // namespace

int main(int argc, char** argv) { return jux_test::run_qt_tests(argc, argv); }
