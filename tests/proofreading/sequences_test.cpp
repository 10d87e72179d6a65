// The character-sequence block: the 98 counted sequences with their titles and suggestions, the
// sentence starts written with a small letter, and dashes and ellipses glued to a neighbouring word.
#include "proof_fixture.h"

#include <sstream>

#include "engine/proofreading/sequence_table.h"
#include "sequences_golden.h"

namespace {

using Sequences = ProofTest;

std::string escaped(std::string_view s) {
    std::string out;
    for (char c : s) out += c == '\t' ? std::string("\\t") : std::string(1, c);
    return out;
}

// The block a title starts in a report: the title line and the lines up to the next empty line.
std::string block(const std::string& report, std::string_view title_utf8) {
    return pass_block(report, u8(cp(title_utf8)));
}

TEST_F(Sequences, TableMatchesTheGoldenRowsAndSurvivesTheCodePage) {
    std::istringstream in{std::string(kSequencesGolden)};
    std::vector<std::string> want;
    for (std::string l; std::getline(in, l);) want.push_back(l);
    ASSERT_EQ(want.size(), 98u);
    ASSERT_EQ(sequence_rows.size(), 98u);
    for (std::size_t i = 0; i < sequence_rows.size(); ++i) {
        const SequenceRow& r = sequence_rows[i];
        const std::string got = std::to_string(r.call) + "\t" + escaped(r.pattern) + "\t" + utf16_to_utf8(r.title) +
                                "\t" + escaped(r.suggestion);
        EXPECT_EQ(got, want[i]);
    }
    // Every row has its code page form, character for character.
    const auto& seqs = sequences();
    ASSERT_EQ(seqs.size(), 98u);
    for (std::size_t i = 0; i < seqs.size(); ++i) {
        bool lost = false;
        utf8_to_cp1251(sequence_rows[i].pattern, '?', &lost);
        utf8_to_cp1251(sequence_rows[i].suggestion, '?', &lost);
        EXPECT_FALSE(lost) << "row " << i + 1;
        EXPECT_EQ(cp1251_to_utf8(seqs[i].pattern), sequence_rows[i].pattern);
        EXPECT_EQ(cp1251_to_utf8(seqs[i].suggestion), sequence_rows[i].suggestion);
    }
}

TEST_F(Sequences, CountsOncePerGapWithItsMarks) {
    struct Case {
        const char* text;
        const char* title;
        const char* block;   // title, count and line; "" when the sequence is not reported
        const char* marked;  // underlined source runs (with TEXT_COLORING)
    };
    const Case cases[] = {
        {"една, . Две, . Три, . Четири", "<запетая><интервал><точка>",
         "<запетая><интервал><точка>  3\n, . -> , (comma) | . (dot) | ,  (comma+space) | .  (dot+space)\n",
         ", .|, .|, ."},
        {"една,, две,,,, три", "<запетая><запетая>",
         "<запетая><запетая>  2\n,, -> , (comma) | ,  (comma+space) | . (dot) | .  (dot+space)\n", ",,|,,"},
        // A pattern of two characters is found after other characters of the gap, and not where its
        // characters stand apart or only its first one does.
        {"една ,, две", "<запетая><запетая>",
         "<запетая><запетая>  1\n,, -> , (comma) | ,  (comma+space) | . (dot) | .  (dot+space)\n", " ,,"},
        {"една, ,две, три,", "<запетая><запетая>", "", ""},
        {"Едно ..-- две", "две малки тирета",
         "две малки тирета  1\n-- -> — (mdash) | – (ndash) |  —  (space+mdash+space)\n", " ..--"},
        {"Едно -- две", "две малки тирета",
         "две малки тирета  1\n-- -> — (mdash) | – (ndash) |  —  (space+mdash+space)\n", "--"},
        {"1\r00:00:01,000 --> 00:00:02,000\rдума", "две малки тирета", "", ""},
        {"Едно & две", "символът &", "символът &  1\n& -> no suggestions\n", ""},
        {"Едно | две", "символът |", "символът |  1\n| -> no suggestions\n", ""},
        {"{1}{50}Едно | две", "символът |", "", ""},
        {"{1}{50}Едно > две", "символът >", "", ""},
        {"Едно > две", "символът >", "символът >  1\n> -> no suggestions\n", ""},
        {"Едно ... Две", "три точки вместо многоточие", "три точки вместо многоточие  1\n... -> …\n", ""},
        {"Едно — две", "m-тире", "m-тире  1\n— -> - | – (ndash)\n", ""},
        {"Едно · две", "символът ·", "символът ·  1\n· -> no suggestions\n", "·"},
        {"Едно\u00A0две", "символът \"непрекъсваем интервал\" 0xA0",
         "символът \"непрекъсваем интервал\" 0xA0  1\n\u00A0 -> no suggestions\n", "\u00A0"},
        {"Едно  две", "два интервала", "два интервала  1\n   ->   (space) |  (no space) | \t (tab)\n", "  "},
    };
    for (const Case& c : cases) {
        const std::string r = proof(c.text);
        EXPECT_EQ(block(r, c.title), u8(cp(c.block))) << c.text << "\n" << lines(r);
        if (*c.block) {
            EXPECT_EQ(marked(), c.marked) << c.text;
        }
    }
    // "¶" is coloured without underline; the summary's formats.
    proof("Едно ¶ две");
    const LONG at = find(hBigReRight, "¶");
    EXPECT_EQ(fmt(hBigReRight, at), (Fmt{PR_MARK, false, false}));
    EXPECT_EQ(report_fmt("символът ¶"), (Fmt{PR_TITLE, true, false}));
    EXPECT_EQ(report_fmt("  1"), (Fmt{PR_COUNT, false, false}));
    EXPECT_EQ(report_fmt("¶ ->"), (Fmt{PR_CONTEXT, true, false}));
    EXPECT_EQ(report_fmt(" -> no"), (Fmt{PR_SUGGESTION, false, false}));

    // In novel mode and in subtitle texts some sequences are not looked for.
    gl_NOVEL_MODE = 1;
    EXPECT_EQ(block(proof("Едно — две – три"), "m-тире"), "");
    EXPECT_EQ(block(proof("Едно — две – три"), "n-тире"), "");
}

TEST_F(Sequences, SentenceStartsWithASmallLetter) {
    struct Case {
        const char* text;
        const char* title;
        const char* block;
        const char* marked;
    };
    const Case cases[] = {
        {"Добре. после", "<точка><интервал><малка буква>",
         "<точка><интервал><малка буква>\n. после -> . После |  после | , после\n", ". п"},
        {"Добре? после", "<въпросителен><интервал><малка буква>",
         "<въпросителен><интервал><малка буква>\n? после -> ? После |  после\n", "? п"},
        {"Добре! после", "<удивителен><интервал><малка буква>",
         "<удивителен><интервал><малка буква>\n! после -> ! После |  после\n", "! п"},
        {"Видях Иван Т. петров", "<точка><интервал><малка буква>", "", ""},
        {"Добре... после", "<точка><интервал><малка буква>", "", ""},
        {"Добре. После", "<точка><интервал><малка буква>", "", ""},
        // Only the full stop has the exception of a dot before it; a tab is no blank.
        {"Добре.? после", "<въпросителен><интервал><малка буква>",
         "<въпросителен><интервал><малка буква>\n? после -> ? После |  после\n", "? п"},
        {"Добре.\tпосле", "<точка><интервал><малка буква>", "", ""},
        {"Добре.\rпосле дойде тя\rи", "<край на изречение><нов ред><малка буква>",
         "<край на изречение><нов ред><малка буква>\nпосле дойде тя -> После дойде тя\n", ".\rп"},
        {"Добре.\rпосле дойде\rи", "<край на изречение><нов ред><малка буква>",
         "<край на изречение><нов ред><малка буква>\nпосле дойде -> После дойде\n", ".\rп"},
        {"Добре.\rпосле\rи", "<край на изречение><нов ред><малка буква>",
         "<край на изречение><нов ред><малка буква>\nпосле -> После\n", ".\rп"},
        {"Добре.\rпосле", "<край на изречение><нов ред><малка буква>",
         "<край на изречение><нов ред><малка буква>\nпосле -> После\n", ".\rп"},
        {"1\r00:00:01,000 --> 00:00:02,000\rЕдно.\r\r2\r00:00:03,000 --> 00:00:04,000\rдве думи\r",
         "<точка><тайминг><малка буква>", "<точка><тайминг><малка буква>\nдве думи -> Две думи\n", "\rд"},
        {"1\r00:00:01,000 --> 00:00:02,000\rЕдно?\r\r2\r00:00:03,000 --> 00:00:04,000\r<font>две\r",
         "<въпросителен><тайминг><малка буква>", "", ""},
    };
    for (const Case& c : cases) {
        const std::string r = proof(c.text);
        EXPECT_EQ(block(r, c.title), u8(cp(c.block))) << c.text << "\n" << lines(r);
        if (*c.block) {
            EXPECT_NE(marked().find(c.marked), std::string::npos) << c.text << ": " << marked();
        }
    }
}

TEST_F(Sequences, DashesAndEllipsesGluedToAWord) {
    struct Case {
        const char* text;
        const char* title;
        const char* block;
    };
    const Case cases[] = {
        {"Той— каза", "слепено с предната дума m-тире", "слепено с предната дума m-тире\nТой—  -> Той —  |  Той \n"},
        {"Той– каза", "слепено с предната дума n-тире", "слепено с предната дума n-тире\nТой–  -> Той —  |  Той \n"},
        {"Той)— каза", "слепено с предната дума m-тире", "слепено с предната дума m-тире\nТой)—  -> Той) —  |  Той) \n"},
        {"Той»- каза", "слепено с предната дума късо тире",
         "слепено с предната дума късо тире\nТой»-  -> Той» —  |  Той» \n"},
        {"{12}- каза", "слепено с предната дума късо тире", ""},
        // A closing brace with no opening one before the number is no frame number.
        {"(12}- каза", "слепено с предната дума късо тире",
         "слепено с предната дума късо тире\n12}-  -> 12} —  |  12} \n"},
        {"Той—\tказа", "слепено с предната дума m-тире", "слепено с предната дума m-тире\nТой—\t -> Той —  |  Той \n"},
        {"Той\t—каза", "слепено със следващата дума m-тире",
         "слепено със следващата дума m-тире\n\t—каза ->  — каза |  каза\n"},
        {"Той —каза", "слепено със следващата дума m-тире",
         "слепено със следващата дума m-тире\n —каза ->  — каза |  каза\n"},
        {"Той -каза", "слепено със следващата дума късо тире",
         "слепено със следващата дума късо тире\n -каза ->  — каза (mdash) |  каза\n"},
        {"Той -(каза", "слепено със следващата дума късо тире",
         "слепено със следващата дума късо тире\n -(каза ->  — (каза (mdash) |  каза\n"},
        {"Той –„каза", "слепено със следващата дума n-тире",
         "слепено със следващата дума n-тире\n –„каза ->  — „каза (mdash) |  каза|  „каза\n"},
        {"Той …„каза", "слепено със следващата дума многоточие",
         "слепено със следващата дума многоточие\n …„каза ->  … „каза |  „каза\n"},
        {"Той — каза", "слепено със следващата дума m-тире", ""},
    };
    for (const Case& c : cases) {
        const std::string r = proof(c.text);
        EXPECT_EQ(block(r, c.title), u8(cp(c.block))) << c.text << "\n" << lines(r);
    }
    proof("Той— каза");
    EXPECT_EQ(marked(), "Той— ");
    proof("Той -(каза");
    EXPECT_NE(marked().find(" -("), std::string::npos) << marked();
}

}  // namespace
