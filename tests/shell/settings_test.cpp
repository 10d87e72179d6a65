// The option tables, their loader, the mirrors, the mode flags and respond_token.
#include <fstream>
#include <regex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/settings.h"
#include "shell_test_util.h"

namespace {

class SettingsTest : public ShellTest {
protected:
    int load(std::string_view settings, std::string_view common = {}) {
        dir.write("settings.txt", settings);
        if (!common.empty()) dir.write("settings_common.txt", common);
        return load_settings(dir.path());
    }
};

TEST_F(SettingsTest, NamedOptionsSitAtTheirIndicesWithTheirDefaults) {
    EXPECT_EQ(load_settings(dir.path()), 0);  // no files: defaults
    struct Row {
        int index;
        const char* name;
        std::int32_t value;
    };
    const Row rows[] = {{3, "LOAD_BG", 1},        {5, "LOAD_B_CORPUS", 1},      {32, "REPEATED_PARTS", 0},
                        {33, "REPEATED_CHECK_EACH", 50}, {34, "REPEATED_LONGER_THAN", 9},
                        {42, "FIND_COMMA", 1},    {43, "FIND_TWO_LETTERS", 1},  {44, "FIND_NO_STOP", 1},
                        {46, "FIND_CONCORD", 1},  {85, "CORPUS_LIMITED", 1},    {86, "CORPUS_UNDERLINE", 1},
                        {87, "CORPUS_MAXTWO", 1}, {88, "CORPUS_STRICT_NOUN", 0}, {89, "CORPUS_GOOD_TRESHOLD", 6},
                        {90, "CORPUS_FAST_RANGE", 40}, {91, "CORPUS_RANGE", 2000}, {92, "CORPUS_WIDE", 12},
                        {93, "CORPUS_SKIP_CT", 12}, {101, "SPELL_CHECKER", 0},  {115, "MAX_WORDS_IN_FILE", 1000000}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(OP[r.index].name, r.name);
        EXPECT_EQ(OP[r.index].num_value, r.value);
        EXPECT_EQ(OP[r.index].found, 0);
    }
    for (int i : {121, 123, 125, 127, 129}) {
        EXPECT_EQ(OP[i].kind, OPT_KIND_TEXT);
        EXPECT_EQ(OP[i].text_value, "");
    }
    EXPECT_EQ(OP[121].name, "LINK1");
    EXPECT_EQ(OP[129].name, "LINK5");
    EXPECT_EQ(OP[OPT_RANK_RARE].num_value, 4996);
    EXPECT_EQ(OP[OPT_MAX_DEFINITION_LENGTH].num_value, 800);
    EXPECT_EQ(OPCOMMON[OPTC_PRINT_TIME].name, "PRINT_TIME");
    EXPECT_EQ(OPCOMMON[OPTC_WRITESORTED].name, "WRITESORTED");
    EXPECT_EQ(OP[0].name, "RESERVED_0");
    EXPECT_EQ(OP[155].name, "RESERVED_155");
}

TEST_F(SettingsTest, EveryRowHasOneUniqueName) {
    std::set<std::string_view> names;
    for (const OptionRecord& r : opt) {
        EXPECT_FALSE(r.name.empty());
        EXPECT_TRUE(names.insert(r.name).second) << r.name;
    }
    EXPECT_EQ(names.size(), 156u);
}

TEST_F(SettingsTest, CrLfFileWithCommentsUnknownNamesAndBadNumbers) {
    EXPECT_EQ(load("/ the settings of the workbench\r\n"
                   "MAX_WORDS_IN_FILE 5000\r\n"
                   "NO_SUCH_OPTION 7\r\n"
                   "RANK_RARE four\r\n"
                   "/RANK_FILTER 9\r\n"
                   "FONT_SIZE\t\t12   / points\r\n"
                   "LINK1 http://example.org/?q=XXXXX   \r\n"
                   "MAX_DEFINITION_LENGTH 12abc\r\n"
                   "LOCALE C\r\n"),
              1);
    EXPECT_EQ(OP[OPT_MAX_WORDS_IN_FILE].num_value, 5000);
    EXPECT_EQ(OP[OPT_MAX_WORDS_IN_FILE].found, 1);
    EXPECT_EQ(OP[OPT_RANK_RARE].num_value, 4996);  // not a number: the default stays
    EXPECT_EQ(OP[OPT_RANK_RARE].found, 0);
    EXPECT_EQ(OP[OPT_RANK_FILTER].num_value, 0);  // a comment line
    EXPECT_EQ(OP[OPT_FONT_SIZE].num_value, 12);
    EXPECT_EQ(OP[OPT_LINK1].text_value, "http://example.org/?q=XXXXX");
    EXPECT_EQ(OP[OPT_MAX_DEFINITION_LENGTH].num_value, 800);
    EXPECT_EQ(OP[OPT_LOCALE].text_value, "C");
    EXPECT_EQ(settings_files[1].count, 7u);  // the comment lines are no entries
}

TEST_F(SettingsTest, LfOnlyFileReadsTheSame) {
    load("MAX_WORDS_IN_FILE 5000\nRESPOND_TOKEN 250\nSPELL_CHECKER 1");  // no line end at the end
    EXPECT_EQ(OP[OPT_MAX_WORDS_IN_FILE].num_value, 5000);
    EXPECT_EQ(OP[OPT_RESPOND_TOKEN].num_value, 250);
    EXPECT_EQ(OP[OPT_SPELL_CHECKER].num_value, 1);
}

TEST_F(SettingsTest, NumberSyntax) {
    load("RANK_FILTER -7\nRANK_RARE +12\nCORPUS_RANGE 99999999999\nCORPUS_WIDE +-3\n"
         "CORPUS_SKIP_CT 2147483647\nCORPUS_FAST_RANGE -2147483648\nMAX_DEFINITION_LENGTH\n");
    EXPECT_EQ(OP[OPT_RANK_FILTER].num_value, -7);
    EXPECT_EQ(OP[OPT_RANK_RARE].num_value, 12);
    EXPECT_EQ(OP[OPT_CORPUS_RANGE].num_value, 2000);  // beyond 32 bits: default kept
    EXPECT_EQ(OP[OPT_CORPUS_WIDE].num_value, 12);
    EXPECT_EQ(OP[OPT_CORPUS_SKIP_CT].num_value, 2147483647);
    EXPECT_EQ(OP[OPT_CORPUS_FAST_RANGE].num_value, -2147483647 - 1);
    EXPECT_EQ(OP[OPT_MAX_DEFINITION_LENGTH].num_value, 800);  // name without a value
}

TEST_F(SettingsTest, LaterLineWinsAndNamesMatchWithoutRegardToCase) {
    load(cat("RESPOND_TOKEN 10\nrespond_token 20\nLinkL1 ", cp("Търси"), "\n"));
    EXPECT_EQ(OP[OPT_RESPOND_TOKEN].num_value, 20);
    EXPECT_EQ(OP[OPT_LINKL1].text_value, cp("Търси"));
}

TEST_F(SettingsTest, CommonFileFillsOnlyTheCommonTable) {
    load("PRINT_TIME 0\n", "PRINT_TIME 0\r\nWRITESORTED 0\r\nMAX_WORDS_IN_FILE 7\r\n");
    EXPECT_EQ(OPCOMMON[OPTC_PRINT_TIME].num_value, 0);
    EXPECT_EQ(OPCOMMON[OPTC_WRITESORTED].num_value, 0);
    EXPECT_EQ(OP[OPT_MAX_WORDS_IN_FILE].num_value, 1000000);
}

TEST_F(SettingsTest, ReloadStartsFromTheDefaults) {
    load("MAX_WORDS_IN_FILE 5000\n");
    std::filesystem::remove(dir.file("settings.txt"));
    EXPECT_EQ(load_settings(dir.path()), 0);
    EXPECT_EQ(OP[OPT_MAX_WORDS_IN_FILE].num_value, 1000000);
    EXPECT_EQ(OP[OPT_MAX_WORDS_IN_FILE].found, 0);
}

TEST_F(SettingsTest, BadFilesLoadWhatIsSound) {
    // empty file
    load("");
    EXPECT_EQ(OP[OPT_MAX_WORDS_IN_FILE].num_value, 1000000);
    // a NUL byte spoils its line only; an over-long line is skipped
    std::string text = "RANK_RARE 1\nMAX_WORDS_IN_FILE 9";
    text += '\0';
    text += cat("9\nLINK2 ", std::string(kMaxListLine + 10, 'x'), "\nRESPOND_TOKEN 33\n");
    load(text);
    EXPECT_EQ(OP[OPT_RANK_RARE].num_value, 1);
    EXPECT_EQ(OP[OPT_MAX_WORDS_IN_FILE].num_value, 1000000);
    EXPECT_EQ(OP[OPT_LINK2].text_value, "");
    EXPECT_EQ(OP[OPT_RESPOND_TOKEN].num_value, 33);
    EXPECT_EQ(settings_files[1].stats.skipped, 2u);
}

TEST_F(SettingsTest, ASettingsFileThatIsAPipeLeavesTheDefaultsWithoutWaiting) {
    dir.write("settings_common.txt", "PRINT_TIME 0\n");
    ASSERT_EQ(mkfifo(dir.file("settings.txt").c_str(), 0600), 0);
    // Run apart with an alarm: a start that waits for a writer would never come up.
    EXPECT_EXIT(
        {
            alarm(5);
            const int read = load_settings(dir.path());
            std::fprintf(stderr, "read=%d print_time=%d max_words=%d", read, OPCOMMON[OPTC_PRINT_TIME].num_value,
                         OP[OPT_MAX_WORDS_IN_FILE].num_value);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "read=1 print_time=0 max_words=1000000");
}

TEST_F(SettingsTest, Utf8FileIsReadAsCp1251) {
    load("\xEF\xBB\xBFLINKL3 Речник\r\nRESPOND_TOKEN 5\r\n");
    EXPECT_EQ(OP[OPT_LINKL3].text_value, cp("Речник"));
    EXPECT_EQ(OP[OPT_RESPOND_TOKEN].num_value, 5);
}

TEST_F(SettingsTest, TheFilesShareARoomOfTenThousandLines) {
    std::string common;
    for (int i = 0; i < 4000; ++i) common += cat("X", std::to_string(i), " 1\n");
    std::string main;
    for (int i = 0; i < 6000; ++i) main += cat("Y", std::to_string(i), " 1\n");
    main += "RESPOND_TOKEN 77\n";  // line 6,001 of the main file: beyond the room
    load(main, common);
    EXPECT_EQ(settings_files[0].count + settings_files[1].count, SETTINGS_ROOM);
    EXPECT_EQ(settings_files[1].stats.over_room, 1u);
    EXPECT_EQ(OP[OPT_RESPOND_TOKEN].num_value, 100);
}

TEST_F(SettingsTest, MirrorsFollowTheFile) {
    load("FIND_COMMA 0\nRANK_RARE 7000\nMAX_DEFINITION_LENGTH 0\nCORPUS_TRANSLATION 1\n"
         "REPEATED_CHECK_EACH 200\nREPEATED_LONGER_THAN -500\nPRINT_DOWN 1\n");
    set_option_mirrors();
    EXPECT_EQ(gl_FIND_COMMA, 0);
    EXPECT_EQ(gl_RANK_RARE, 7000);
    EXPECT_EQ(gl_MAX_DEFINITION_LENGTH, 0);
    EXPECT_EQ(gl_CORPUS_TRANSLATION, 1);
    EXPECT_EQ(gl_CORPUS_RANGE, 2000);
    EXPECT_EQ(gl_FIND_NO_STOP, 1);
    EXPECT_EQ(gl_REPEATED_CHECK_EACH, 127);    // a byte mirror saturates
    EXPECT_EQ(gl_REPEATED_LONGER_THAN, -128);
    EXPECT_EQ(gl_PRINT_DOWN, 1);
    EXPECT_EQ(gl_PRINT_DOWN_save, 1);
    // the menus change the mirrors only; the table keeps the file's value
    gl_FIND_COMMA = 1;
    EXPECT_EQ(OP[OPT_FIND_COMMA].num_value, 0);
}

TEST_F(SettingsTest, ModeFlagsGetTheirStartValues) {
    gl_say_word = 0;
    gl_AUDIO_NOLATIN = 0;
    gl_MACH_FAST = 0;
    gl_CORPUS_FILE_INDEX = 40;
    gl_AUDIO_REPEAT = 1;
    gl_GENERATE_HTML = 1;
    set_option_mirrors();
    EXPECT_EQ(gl_say_word, 1);
    EXPECT_EQ(gl_ogg_index, 1);
    EXPECT_EQ(gl_from_audio_button, 0);
    EXPECT_EQ(gl_from_audio_button_read, 0);
    EXPECT_EQ(gl_AUDIO_TEXT_ONLY, 0);
    EXPECT_EQ(gl_AUDIO_GER, 0);
    EXPECT_EQ(gl_AUDIO_SKIP, 0);
    EXPECT_EQ(gl_AUDIO_REPEAT, 0);
    EXPECT_EQ(gl_AUDIO_NOLATIN, 1);
    EXPECT_EQ(gl_AUDIO_OGG_WITHOUT_H, 0);
    EXPECT_EQ(gl_MACH_FAST, 1);
    EXPECT_EQ(gl_MACHINE_ON, 1);
    EXPECT_EQ(gl_GENERATE_HTML, 0);
    EXPECT_EQ(gl_CORPUS_ACTIVE, 1);
    EXPECT_EQ(gl_CORPUS_COLOR, 1);
    EXPECT_EQ(gl_CORPUS_DEBUG_FILES, 0);
    EXPECT_EQ(gl_CORPUS_FILE_INDEX, 1);
}

TEST_F(SettingsTest, RespondTokenFollowsTheModeAndIsAtLeastOne) {
    load("RESPOND_TOKEN 100\n");
    set_option_mirrors();
    EXPECT_EQ(respond_token, 100);
    gl_SPELLING_MODE = 1;
    set_respond_token();
    EXPECT_EQ(respond_token, 1000);
    load("RESPOND_TOKEN 0\n");
    set_respond_token();
    EXPECT_EQ(respond_token, 1);
    load("RESPOND_TOKEN -5\n");
    set_respond_token();
    EXPECT_EQ(respond_token, 1);
    load("RESPOND_TOKEN 2000000000\n");
    set_respond_token();
    EXPECT_EQ(respond_token, 2147483647);
}

TEST_F(SettingsTest, LocaleOption) {
    load("LOCALE C\n");
    set_locale_from_options();
    EXPECT_FALSE(ctype_locale_is_cyrillic());
    EXPECT_NE(cp_strcasecmp(cp("Ябълка"), cp("ябълка")), 0);
    load("LOCALE\n");  // empty: the user's default, Bulgarian here
    set_locale_from_options();
    EXPECT_TRUE(ctype_locale_is_cyrillic());
    EXPECT_EQ(cp_strcasecmp(cp("Ябълка"), cp("ябълка")), 0);
}

// docs/settings.md lists the whole table; it must say what the code does.
TEST_F(SettingsTest, DocumentedTableMatchesTheCode) {
    const auto doc = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "docs" /
                     "settings.md";
    std::ifstream in(doc);
    ASSERT_TRUE(in) << doc;
    const std::regex row(R"(^\|\s*(\d+)\s*\|\s*`([A-Z0-9_]+)`\s*\|\s*(number|text)\s*\|\s*`([^`]*)`\s*\|)");
    std::string line;
    int rows = 0;
    std::set<int> seen;
    bool in_main = false;
    while (std::getline(in, line)) {
        if (line.starts_with("## ")) in_main = line.find("settings.txt") != std::string::npos &&
                                               line.find("settings_common") == std::string::npos;
        std::smatch m;
        if (!in_main || !std::regex_search(line, m, row)) continue;
        const int i = std::stoi(m[1]);
        ASSERT_GE(i, 0);
        ASSERT_LT(i, OPTION_COUNT);
        SCOPED_TRACE(line);
        EXPECT_EQ(OP[i].name, m[2].str());
        EXPECT_EQ(OP[i].kind, m[3] == "text" ? OPT_KIND_TEXT : OPT_KIND_NUMBER);
        EXPECT_EQ(OP[i].default_text, m[4].str());
        EXPECT_TRUE(seen.insert(i).second);
        ++rows;
    }
    EXPECT_EQ(rows, OPTION_COUNT);
}

}  // namespace
