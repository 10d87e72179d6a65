// Paragraph ends without a final mark and paragraphs without their tab, in book and subtitle texts.
#include <algorithm>

#include "word_fixture.h"

namespace {

using ParagraphEnds = WordsTest;

constexpr const char* kEnd = "потенциално грешен край на параграф";
constexpr const char* kIndent = "параграф без табулатор в началото";

TEST_F(ParagraphEnds, NovelParagraphEndsAndIndents) {
    gl_NOVEL_MODE = 1;
    expect({
        {"\tЕдна дума…\r\tДруга.", kEnd, ""},
        {"\tТой каза.\"\r\tДруга.", kEnd, ""},
        {"\tТой каза!_»\r\tДруга.", kEnd, ""},
        {"\tЕдна дума \r\tДруга.", kEnd, ""},
        {"\tТой каза!“\r\tДруга.", kEnd, ""},
        {"\tТой каза.)\r\tДруга.", kEnd, ""},
        {"\tТой каза,)\r\tДруга.", kEnd, "потенциално грешен край на параграф\nТой каза,) -> Той каза,).\n", "\r"},
        {"\tЕдна дума\r\tДруга.", kEnd, "потенциално грешен край на параграф\nЕдна дума -> Една дума.\n", "\r"},
        {"\tЕдна дума,\r\tДруга.", kEnd, "потенциално грешен край на параграф\nЕдна дума, -> Една дума.\n", "\r"},
        {"C>\r\tЕдна дума\r\tДруга\rC$\r\tТрета.", kEnd, ""},
        {"A>\r\tЕдна дума\r\tДруга.", kEnd, "потенциално грешен край на параграф\nЕдна дума -> Една дума.\n"},
        // "край" ends a chapter line when the paragraph before it began with a tab.
        {"\tПърво.\r\tВсичко свърши край\r\tНово.", kEnd, ""},
        {"Първо.\rВсичко свърши край\rНово.", kEnd, "потенциално грешен край на параграф\nсвърши край -> свърши край.\n"},
        {"Дума\rДруга дума.", kEnd, "потенциално грешен край на параграф\nДума  -> no suggestions\n"},
        {"\tЕдно.\rДве три четири пет шест седем.", kIndent,
         "параграф без табулатор в началото\nДве три четири пет шест -> \tДве три четири пет шест\n"},
        {"\tЕдно.\r>Две три.", kIndent, ""},
        {"\tЕдно.\r|Две три.", kIndent, ""},
        {"\tЕдно.\r@Две три.", kIndent, ""},
        {"\tЕдно.\r\r", kIndent, ""},
        {"\tЕдно.\rC>\r\tДве.", kIndent, ""},
    });
}

TEST_F(ParagraphEnds, SubtitleLineEndsBeforeACapitalisedCommonWord) {
    load_dict(B_BULGARIAN, {"къща", "казах", "иван"});
    load_forms({"иван иван 459 0"});
    const char* head = "1\r00:00:01,000 --> 00:00:02,000\r";
    const std::string reported = std::string(head) + "Аз казах\rКъща голяма.\r";
    expect({
        {reported.c_str(), kEnd, "потенциално грешен край на параграф\nАз казах -> Аз казах.\n"},
        {(std::string(head) + "Аз казах\rИван е тук.\r").c_str(), kEnd, ""},
        {(std::string(head) + "Аз казах.\rКъща голяма.\r").c_str(), kEnd, ""},
        {(std::string(head) + "Казах\rКъща голяма.\r").c_str(), kEnd, "потенциално грешен край на параграф\nКазах -> Казах.\n"},
    });
    // Outside novel mode a text that is no subtitle gets neither pass.
    proof("Аз казах\rКъща голяма.");
    EXPECT_EQ(std::count(last_proof.rows.begin(), last_proof.rows.end(), 24), 0);
    EXPECT_EQ(std::count(last_proof.rows.begin(), last_proof.rows.end(), 25), 0);
}

}  // namespace
