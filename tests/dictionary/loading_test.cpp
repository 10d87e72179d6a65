// Loading the lexicon at start: every kind of file, absent files, unsound lines, rooms too small.
#include "../lexicon/lex_test_util.h"
#include "lexicon/corpora.h"
#include "lexicon/morphology.h"
#include "lexicon/wordclass.h"
#include "lexicon/panels.h"
#include "shell/memory.h"
#include "shell/settings.h"

namespace {

class LoadingTest : public LexTest {
protected:
    // One file of every kind.
    void write_full_folder() {
        data.write("b_en-bg.txt", "dog куче\ncat котка\nblack_box черна кутия\nzebra\n");
        data.write("b_bulgarian.txt", "куче 1200\nкотка 1500\nград\n");
        data.write("b_bulgarian_two_letters.txt", "ш щ\nа я\nб в\n");
        data.write("wl_english.txt", "the 1\ndog 845\ncat 920\nzebra\n");
        data.write("a.txt", "zeta\nalpha\n");
        data.write("c/c_c11.txt", "dog куче\ntable маса\n");
        data.write("c/c_adj11.txt", "black черен\n");
        data.write("c/hard.txt", "zebra зебра\n");
        data.write("c/cs_11.txt", "The_dog_barks.\tКучето лае.\nGood_morning!\tДобро утро!\n");
        data.write("c/csq_11.txt", "Who_is_there?\tКой е там?\n");
        data.write("c/csc_11.txt", "if_you_want,\tако искаш,\n");
        data.write("bgtypes2/_endings.txt", kTestEndings);
        data.write("bgtypes2/_D2_ungrouped_sorted.txt", kTestForms);
    }
};

TEST_F(LoadingTest, AFolderWithEveryKindOfFileLoadsIntoTheTables) {
    write_full_folder();
    const int files = load_lexicon(data.path());
    EXPECT_EQ(files, 14) << "\"a.txt\" serves two rows";
    EXPECT_EQ(dir_alt, data.path());

    EXPECT_EQ(b[B_EN_BG].count, 4u);
    const ListPair* p = find_pair(std::span<const ListPair>(b[B_EN_BG].entries), "BLACK_BOX");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(u8(p->rest), "черна кутия");
    p = find_pair(std::span<const ListPair>(b[B_EN_BG].entries), "zebra");
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->has_rest());
    // Cyrillic keys in any case.
    p = find_pair(std::span<const ListPair>(b[B_BULGARIAN].entries), cp("КОТКА"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::string(p->rest), "1500");
    // The OCR letter pairs keep the file's order.
    ASSERT_EQ(b[B_BULGARIAN_TWO_LETTERS].count, 3u);
    EXPECT_EQ(u8(b[B_BULGARIAN_TWO_LETTERS].entries[0].key), "ш");
    EXPECT_EQ(u8(b[B_BULGARIAN_TWO_LETTERS].entries[2].key), "б");
    // Rows without a file are empty.
    EXPECT_EQ(b[B_BULGARIAN_CUSTOM].count, 0u);
    EXPECT_EQ(b[3].count, 0u);

    EXPECT_EQ(m[M_WL_ENGLISH].count, 4u);
    EXPECT_EQ(m[M_WL_ENGLISH].label, "Eng");
    ASSERT_EQ(m[M_A_SORTED].count, 2u);
    EXPECT_EQ(std::string(m[M_A_SORTED].entries[0].key), "alpha");
    ASSERT_EQ(m[M_A_FILE_ORDER].count, 2u);
    EXPECT_EQ(std::string(m[M_A_FILE_ORDER].entries[0].key), "zeta");

    EXPECT_EQ(c_glob[0].count, 2u);
    EXPECT_EQ(c_glob[70].count, 1u);
    EXPECT_EQ(c_glob[C_HARD].count, 1u);

    ASSERT_EQ(cs_glob[0].count, 2u);
    const SentencePair* s = find_sentence(cs_glob[0], "the_dog_BARKS");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->en_mark, '.');
    EXPECT_EQ(u8(s->bg), "Кучето лае");
    EXPECT_EQ(s->bg_mark, '.');
    EXPECT_NE(find_sentence(csq_glob[0], "Who_is_there"), nullptr);
    // Comma sentences keep the comma as their mark.
    s = find_sentence(csc_glob[0], "if_you_want");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->en_mark, ',');
    EXPECT_EQ(s->bg_mark, ',');

    EXPECT_EQ(bgmul_ct, 28u) << "30 lines, two forms with two analyses each";
    EXPECT_EQ(bgtype_ar[T1].count, 7);
    EXPECT_EQ(GetType(cp("градовете")), T1);
    EXPECT_EQ(lexicon_load_report.skipped_lines, 0u);
}

TEST_F(LoadingTest, LoadingKeepsThePanelsAndTheStartCount) {
    HWND dlg = make_panel_dialog({1001});
    hAddReShort = GetDlgItem(dlg, 1001);
    run_counter = 7;
    write_full_folder();
    load_lexicon(data.path());
    EXPECT_EQ(hAddReShort, GetDlgItem(dlg, 1001));
    EXPECT_EQ(run_counter, 7);
    // A second load replaces the tables instead of adding to them.
    load_lexicon(data.path());
    EXPECT_EQ(b[B_EN_BG].count, 4u);
    EXPECT_EQ(bgmul_ct, 28u);
}

TEST_F(LoadingTest, AnEmptyFolderGivesEmptyTables) {
    EXPECT_EQ(load_lexicon(data.path()), 0);
    for (const DictFileRecord& r : b) EXPECT_EQ(r.count, 0u);
    for (const CSetRecord& r : c_glob) EXPECT_EQ(r.count, 0u);
    EXPECT_EQ(bgmul_ct, 0u);
    EXPECT_EQ(GetType(cp("град")), -1);
    EXPECT_EQ(is_in_c_set("dog"), 0);
    std::filesystem::create_directories(data.file("c"));
    EXPECT_EQ(load_lexicon(data.path()), 0);
    EXPECT_TRUE(hs->message_boxes.empty());
}

TEST_F(LoadingTest, OptionsSwitchOffTheCorporaAndTheBulgarianIndex) {
    write_full_folder();
    OP[OPT_LOAD_BG].num_value = 0;
    OP[OPT_LOAD_B_CORPUS].num_value = 0;
    load_lexicon(data.path());
    EXPECT_EQ(bgmul_ct, 0u);
    EXPECT_EQ(bgtype_ar[T1].count, 0);
    EXPECT_EQ(cs_glob[0].count, 0u);
    EXPECT_EQ(b[B_EN_BG].count, 4u);
}

TEST_F(LoadingTest, UnsoundWordFormLinesAreSkippedAndCounted) {
    data.write("bgtypes2/_D2_ungrouped_sorted.txt",
               "град град 0 0\n"
               "града град 0\n"             // missing slot
               "градът\n"                   // only the form
               "гради град 473 1\n"         // type outside 0..472
               "градец град -1 1\n"         // negative type
               "градче град x 1\n"          // type not a number
               "градове град 0 3 излишно\n" // a field too many
               "\n"
               "град град 0 0\n"            // the same analysis again
               "Град град 0 0\n"            // the same analysis in another case
               "градовете град 0 4\n");
    ASSERT_EQ(load_word_forms(data.path()), 1);
    EXPECT_EQ(bgmul_ct, 2u);
    EXPECT_EQ(lexicon_load_report.skipped_lines, 6u);
    EXPECT_EQ(lexicon_load_report.duplicates, 2u);
    EXPECT_EQ(GetTypeId(cp("град")), T1) << "repeated analyses collapse into one";
    EXPECT_EQ(GetType(cp("градове")), -1);
    ASSERT_EQ(lexicon_load_report.notes.size(), 1u);
    EXPECT_NE(lexicon_load_report.notes[0].find("6 unsound lines"), std::string::npos);
}

// A form with very many lines: 100,000 lines of one form (every slot once, then every slot again)
// load at once into one record of 255 analyses; the lines beyond count as duplicates.
TEST_F(LoadingTest, AFormWithAHundredThousandLinesLoadsWithItsAnalysisCap) {
    std::string lines;
    for (int i = 0; i < 100'000; ++i) lines += "град град 0 " + std::to_string(i % 50'000) + "\n";
    lines += "градове град 0 3\n";
    data.write_raw("bgtypes2/_D2_ungrouped_sorted.txt", lines);
    ASSERT_EQ(load_word_forms(data.path()), 1);
    ASSERT_EQ(bgmul_ct, 2u);
    EXPECT_EQ(bgmul_bottom[0].n_analyses, 255);
    EXPECT_EQ(lexicon_load_report.duplicates, 100'000u - 255u);
    const std::string analyses = bgmul_bottom[0].analyses;
    EXPECT_TRUE(analyses.ends_with(cp(" град:0:254"))) << analyses.substr(analyses.size() - 40);
    EXPECT_EQ(bgmul_bottom[1].n_analyses, 1);
}

TEST_F(LoadingTest, UnsortedUtf8AndLfOnlyFilesLoad) {
    // UTF-8 with LF only, lines out of order.
    data.write_raw("bgtypes2/_D2_ungrouped_sorted.txt", "нов нов 140 0\nбяла бял 149 3\nград град 0 0\nбял бял 149 0\n");
    data.write_raw("b_en-bg.txt", "zebra зебра\napple ябълка\nmouse мишка\n");
    load_lexicon(data.path());
    ASSERT_EQ(bgmul_ct, 4u);
    for (size_t i = 1; i < bgmul_ct; ++i)
        EXPECT_LT(cp_strcasecmp(bgmul_bottom[i - 1].form, bgmul_bottom[i].form), 0);
    EXPECT_EQ(GetType(cp("бял")), T79);
    ASSERT_EQ(b[B_EN_BG].count, 3u);
    EXPECT_EQ(std::string(b[B_EN_BG].entries[0].key), "apple");
    EXPECT_EQ(u8(b[B_EN_BG].entries[0].rest), "ябълка");
}

TEST_F(LoadingTest, WordFormsAndEndingsReadEveryLineEndShape) {
    for (const char* end : {"\r", "\r\r\n", "\n\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(end)));
        const std::string e(end);
        data.write_raw("bgtypes2/_D2_ungrouped_sorted.txt",
                       cp("бял бял 149 0" + e + "град град 0 0" + e + "града град 0 1" + e));
        ASSERT_EQ(load_word_forms(data.path()), 1);
        EXPECT_EQ(bgmul_ct, 3u);
        EXPECT_EQ(lexicon_load_report.skipped_lines, 0u);
        EXPECT_EQ(GetType(cp("града")), T1);  // no CR left in the slot field
        EXPECT_EQ(GetType(cp("бял")), T79);
    }
}

TEST_F(LoadingTest, RepeatedKeysKeepTheirFirstEntry) {
    data.write("b_en-bg.txt", "dog куче\nDog Куче2\ndog пес\ncat котка\n");
    load_dictionaries(data.path());
    ASSERT_EQ(b[B_EN_BG].count, 3u) << "the exact repeat goes, the other spelling stays";
    EXPECT_EQ(lexicon_load_report.duplicates, 1u);
    const ListPair* p = find_pair(std::span<const ListPair>(b[B_EN_BG].entries), "dog");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(u8(p->rest), "куче");
}

TEST_F(LoadingTest, ARoomTooSmallLoadsWhatFitsAndTellsTheUserOnce) {
    OP[OPT_MAX_TOKENS_IN_ALL_DICTIONARIES].num_value = 5;
    data.write("b_en-bg.txt", "a 1\nb 2\nc 3\nd 4\n");
    data.write("b_bulgarian.txt", "а\nб\nв\n");
    data.write("wl_english.txt", "x\ny\n");
    load_lexicon(data.path());
    EXPECT_EQ(b[B_EN_BG].count, 4u);
    EXPECT_EQ(b[B_BULGARIAN].count, 1u);
    EXPECT_EQ(m[M_WL_ENGLISH].count, 0u);
    EXPECT_EQ(lexicon_load_report.over_room, 4u);
    ASSERT_EQ(hs->message_boxes.size(), 1u) << "one message per room, and the program goes on";
    EXPECT_EQ(hs->message_boxes[0].caption, u"Oops!");
    EXPECT_NE(hs->message_boxes[0].text.find(u"MAX_TOKENS_IN_ALL_DICTIONARIES"), std::u16string::npos);
}

// The start reads the lists on several threads, the largest first; the tables, the counts, the
// notes and the messages are those of the loads one after another, whatever the room, also when
// it runs out within a later (smaller) file.
TEST_F(LoadingTest, ListsReadTogetherLoadAsOneAfterAnother) {
    std::string big;
    for (int i = 900; i > 0; --i) big += "w" + std::to_string(i % 700) + (i % 3 ? " 1\n" : "\n");
    const auto tables = [] {
        std::string t;
        for (const DictFileRecord& r : b) t += std::to_string(r.count) + (r.text ? "+" : "-");
        for (const ListFileRecord& r : m) t += std::to_string(r.count) + (r.text ? "+" : "-");
        for (const CSetRecord& r : c_glob) t += std::to_string(r.count) + (r.text ? "+" : "-");
        for (const ListPair& p : b[B_BULGARIAN].entries) t += std::string(p.key) + '=' + std::string(p.rest) + ';';
        const LexiconLoadReport& r = lexicon_load_report;
        t += std::to_string(r.files_read) + ' ' + std::to_string(r.entries) + ' ' + std::to_string(r.skipped_lines) + ' ' +
             std::to_string(r.duplicates) + ' ' + std::to_string(r.over_room);
        for (const std::string& n : r.notes) t += '|' + n;
        return t;
    };
    for (const std::int32_t room : {1'000'000, 1'500, 700, 3}) {
        OP[OPT_MAX_TOKENS_IN_ALL_DICTIONARIES].num_value = room;
        data.write("b_en-bg.txt", "dog куче\n cat\nDog пес\ndog куче\n");
        data.write("b_bulgarian.txt", big);
        data.write("wl_english.txt", "zebra\nthe 1\nThe 2\n");
        data.write("c/c_c11.txt", "table маса\ndog куче\n");
        hs->message_boxes.clear();
        load_lexicon(data.path());
        const std::string together = tables();
        const std::size_t told = hs->message_boxes.size();
        hs->message_boxes.clear();
        reset_loading();
        load_dictionaries(data.path());
        load_english_lists(data.path());
        load_word_classes(data.path());
        EXPECT_EQ(together, tables()) << "room " << room;
        EXPECT_EQ(told, hs->message_boxes.size()) << "room " << room;
    }
}

// A large word-form index is read and merged in stretches on several threads: every line end (CR
// LF, LF, LF CR, CR CR LF, CR) and every unsound line counts as in one reading, the records come
// in file order, and a form on two lines (every seventh) is one record with both analyses.
TEST_F(LoadingTest, ALargeWordFormIndexReadsEveryLineOnce) {
    static const char* const kEnds[] = {"\r\n", "\n", "\n\r", "\r\r\n", "\r"};
    const auto form = [](std::size_t i) { return "f" + std::to_string(1'000'000 + i - (i % 7 == 3)); };
    std::string text;
    std::vector<std::pair<std::string, int>> records;  // {form, analyses} expected
    std::size_t unsound = 0;
    for (std::size_t i = 0; i < 700'000; ++i) {
        const bool sound = i % 997 != 0;  // an unsound line has a type that is no number
        text += form(i) + " lemmalemmalemma " + (sound ? "0 " : "x ") + std::to_string(i % 7 == 3) + kEnds[i % 5];
        if (!sound) ++unsound;
        else if (!records.empty() && records.back().first == form(i)) ++records.back().second;
        else records.emplace_back(form(i), 1);
    }
    ASSERT_GT(text.size(), 16u << 20);
    data.write_raw("bgtypes2/_D2_ungrouped_sorted.txt", text);
    EXPECT_EQ(load_word_forms(data.path()), 1);
    ASSERT_EQ(bgmul_ct, records.size());
    EXPECT_EQ(lexicon_load_report.skipped_lines, unsound);
    for (std::size_t r = 0; r < records.size(); ++r)
        if (bgmul_bottom[r].form != records[r].first || bgmul_bottom[r].n_analyses != records[r].second) {
            ADD_FAILURE() << "record " << r << " is " << bgmul_bottom[r].form << " with "
                          << int{bgmul_bottom[r].n_analyses} << " analyses";
            break;
        }
}

// A list whose bytes find no memory ends the start with the lack-of-memory message, read on a
// helper thread or not; read_list_text asked to tell it instead returns null and says so.
TEST_F(LoadingTest, AListReadThatFindsNoMemoryEndsTheStartWithItsMessage) {
    const auto file = data.write("b_en-bg.txt", "dog куче\ncat котка\n");
    bool converted = false, no_memory = false;
    jux_set_alloc_limit(8);
    EXPECT_EQ(read_list_text(file, &converted, &no_memory), nullptr);
    jux_set_alloc_limit(SIZE_MAX);
    EXPECT_TRUE(no_memory);
    EXPECT_EXIT(
        {
            jux_set_alloc_limit(8);
            load_lexicon(data.path());
        },
        ::testing::ExitedWithCode(1), "Insufficient memory");
}

TEST_F(LoadingTest, TheSentenceRoomIsSeparate) {
    OP[OPT_MAX_TOKENS_IN_SENTENCE_DICTIONARIES].num_value = 1;
    data.write("c/cs_11.txt", "One.\tЕдно.\nTwo.\tДве.\n");
    data.write("b_en-bg.txt", "a 1\nb 2\n");
    load_lexicon(data.path());
    EXPECT_EQ(cs_glob[0].count, 1u);
    EXPECT_EQ(b[B_EN_BG].count, 2u);
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_NE(hs->message_boxes[0].text.find(u"MAX_TOKENS_IN_SENTENCE_DICTIONARIES"), std::u16string::npos);
}

// The word-form index is indexed beside the other files but counted and logged in its place,
// after the ending tables: the report and the log read as when the files were loaded one by one.
TEST_F(LoadingTest, TheWordFormIndexIsReportedAfterTheOtherFiles) {
    write_full_folder();
    data.write("b_en-bg.txt", "dog куче\n cat\nzebra\n");
    data.write("bgtypes2/_endings.txt", std::string(kTestEndings) + "no_such_type 0 0 а\n");
    data.write("bgtypes2/_D2_ungrouped_sorted.txt", std::string(kTestForms) + "града град 0\nград град 0 0\n");
    load_lexicon(data.path());
    const LexiconLoadReport together = lexicon_load_report;
    const std::size_t forms = bgmul_ct;
    ASSERT_EQ(together.notes.size(), 3u);
    EXPECT_NE(together.notes[0].find("b_en-bg.txt: 1 unsound"), std::string::npos) << together.notes[0];
    EXPECT_NE(together.notes[1].find("_endings.txt: 1 unsound"), std::string::npos) << together.notes[1];
    EXPECT_NE(together.notes[2].find("_D2_ungrouped_sorted.txt: 1 unsound lines skipped, 1 repeated"),
              std::string::npos)
        << together.notes[2];

    // The same files loaded one by one.
    reset_loading();
    clear_lexicon_tables();
    load_dictionaries(data.path());
    load_english_lists(data.path());
    load_word_classes(data.path());
    load_corpora(data.path());
    load_endings(data.path());
    load_word_forms(data.path());
    EXPECT_EQ(lexicon_load_report.notes, together.notes);
    EXPECT_EQ(lexicon_load_report.files_read, together.files_read);
    EXPECT_EQ(lexicon_load_report.entries, together.entries);
    EXPECT_EQ(lexicon_load_report.skipped_lines, together.skipped_lines);
    EXPECT_EQ(lexicon_load_report.duplicates, together.duplicates);
    EXPECT_EQ(bgmul_ct, forms);
}

TEST_F(LoadingTest, EndingTablesSkipUnsoundLines) {
    data.write("bgtypes2/_endings.txt",
               "1 0 0 а ът ове овете а е\n"
               "no_such_type 0 0 а\n"
               "22 x 0 я\n"
               "41 1\n"
               "1 0 0 0 0\n"  // the same type again
               "53 1 о ото* а! ата\n");
    ASSERT_EQ(load_endings(data.path()), 1);
    EXPECT_EQ(bgtype_ar[T1].count, 7);
    EXPECT_EQ(bgtype_ar[T22].count, 0);
    EXPECT_EQ(bgtype_ar[T41].count, 0);
    EXPECT_EQ(bgtype_ar[T53].count, 4);
    EXPECT_EQ(bgtype_ar[T53].alt, 1);
    EXPECT_EQ(bgtype_ar[T53].endings[1].flag, 1);
    EXPECT_EQ(bgtype_ar[T53].endings[2].flag, 2);
    EXPECT_EQ(bgtype_ar[T53].endings[2].ending, u"а");
    EXPECT_EQ(lexicon_load_report.skipped_lines, 3u);
    EXPECT_EQ(lexicon_load_report.duplicates, 1u);
}

}  // namespace
