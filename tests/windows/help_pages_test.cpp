// The help pages the project keeps for the start folder: the three made from the program's tables
// are what those tables make now (JUX_RECORD_GOLDEN=1 writes them anew), and every page the
// program opens is there, names itself in its title and links only to pages that are there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "dictionary/loading.h"
#include "lexicon/bgtypes.h"
#include "lexicon/tables.h"
#include "support/panel_dump.h"
#include "windows/help_pages.h"

namespace {

namespace fs = std::filesystem;

const fs::path kHelp = fs::path(JUX_TESTS_DIR).parent_path() / "resources" / "help";

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(HelpPages, TheKeptPagesAreWhatTheProgramsTablesMake) {
    reset_lexicon();  // the type table with the ending tables and word forms that run.sh installs
    init_bgtype_table();
    ASSERT_EQ(load_endings(JUX_DEMO_DIR), 1);
    ASSERT_EQ(load_word_forms(JUX_DEMO_DIR), 1);
    for (const GeneratedHelpPage& page : generated_help_pages()) {
        SCOPED_TRACE(page.file);
        EXPECT_EQ(jux_test::compare_with_golden(kHelp / page.file, page.make()), "");
    }
    reset_lexicon();
    // What the description and the demonstration lexicon's sources fix about the types shows.
    const std::string verbs = read(kHelp / "help_bulgarian_verb_types.html");
    EXPECT_NE(verbs.find("<tr><td>142</td><td>228</td><td>аз …</td>"), std::string::npos);
    EXPECT_NE(verbs.find("<td>173da_</td>"), std::string::npos);
    EXPECT_NE(verbs.find("<tr><td>18</td><td>повел. ед.ч.</td></tr>"), std::string::npos);
    const std::string nouns = read(kHelp / "help_bulgarian_nouns_adjectives.html");
    EXPECT_NE(nouns.find("<td>47</td><td>м.р.</td><td>0</td><td>0 я ят и ите я ю</td><td>зрител</td>"), -1);
    EXPECT_NE(nouns.find("<td>85</td><td>ж.р.</td><td>1</td><td>а ата и ите о</td><td>аптека</td>"), -1);
    EXPECT_NE(nouns.find("<tr><td>197</td><td>458</td>"), std::string::npos);
}

TEST(HelpPages, EveryPageTheProgramOpensIsThereWithItsTitleAndLinks) {
    const std::vector<std::pair<const char*, const char*>> pages{
        {"help.html", "<title>JUX"},
        {"help_spellchecker.html", "<title>"},
        {"help_bulgarian_verb_types.html", "<title>Таблица на глаголните типове и спрежения</title>"},
        {"help_bulgarian_nouns_adjectives.html", "<title>Таблица на съществителните и прилагателни типове</title>"},
        {"help_color_filter.html", "<title>Информация за редките думи</title>"},
    };
    const std::regex link("href=\"([^\"#:]+)\"");
    for (const auto& [file, title] : pages) {
        SCOPED_TRACE(file);
        const std::string html = read(kHelp / file);
        ASSERT_FALSE(html.empty());
        EXPECT_TRUE(html.starts_with("<!DOCTYPE html>"));
        EXPECT_NE(html.find(title), std::string::npos);
        EXPECT_NE(html.find("</html>"), std::string::npos);
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it)
            EXPECT_TRUE(fs::exists(kHelp / (*it)[1].str())) << (*it)[1].str();
    }
}

}  // namespace
