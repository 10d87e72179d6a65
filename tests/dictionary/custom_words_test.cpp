// The user's Bulgarian word list and the start counter.
#include <cstring>
#include <functional>

#include "../lexicon/lex_test_util.h"
#include "dictionary/custom_words.h"
#include "dictionary/main_window.h"
#include "shell/files.h"
#include "lexicon/panels.h"
#include "shell/settings.h"

namespace {

class CustomWordsTest : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        data.write("b_bulgarian.txt", "котка 100\nкуче 200\n");
        load_lexicon(data.path());
        dlg = make_panel_dialog({1001});
        hAddReShort = GetDlgItem(dlg, 1001);
    }
    std::string last_text() const {
        return hs->message_boxes.empty() ? "" : utf16_to_utf8(hs->message_boxes.back().text);
    }
    std::string last_caption() const {
        return hs->message_boxes.empty() ? "" : utf16_to_utf8(hs->message_boxes.back().caption);
    }
    HWND dlg{};
};

TEST_F(CustomWordsTest, AddingAWordKeepsTheListSortedAndRewritesTheFile) {
    set_panel(hAddReShort, "  щурец и още");
    add_custom_word(dlg);
    EXPECT_EQ(last_caption(), "Done!");
    EXPECT_EQ(last_text(), "\"щурец\"  е добавена успешно в потребителския списък с български думи.");
    EXPECT_EQ(hs->message_boxes.back().owner, dlg);
    set_panel(hAddReShort, "ябълка");
    add_custom_word(dlg);
    set_panel(hAddReShort, "Агне");
    add_custom_word(dlg);
    ASSERT_EQ(b[B_BULGARIAN_CUSTOM].count, 3u);
    EXPECT_EQ(data.read("b_bulgarian_custom.txt"), cp("Агне\r\nщурец\r\nябълка\r\n"));
    // The list answers at once, in any case.
    EXPECT_NE(find_pair(std::span<const ListPair>(b[B_BULGARIAN_CUSTOM].entries), cp("ЩУРЕЦ")), nullptr);
}

TEST_F(CustomWordsTest, RefusalsAndQuestions) {
    set_panel(hAddReShort, "   ");
    add_custom_word(dlg);
    EXPECT_EQ(last_text(), "Полето е празно. Първо въведете дума.");
    EXPECT_EQ(last_caption(), "Oops!");

    set_panel(hAddReShort, "Куче");
    add_custom_word(dlg);
    EXPECT_EQ(last_text(),
              "\"Куче\" съществува в основния списък с български думи. Няма нужда да се добавя в потребителския.");

    set_panel(hAddReShort, "щурец");
    add_custom_word(dlg);
    add_custom_word(dlg);
    EXPECT_EQ(last_text(), "\"щурец\" вече съществува в потребителски списък. Няма нужда да се добавя отново.");

    // A word with Latin letters: No keeps the list, Yes adds it.
    set_panel(hAddReShort, "щурецX");
    hs->message_box_answers.push_back(IDNO);
    add_custom_word(dlg);
    EXPECT_EQ(last_caption(), "Warning!");
    EXPECT_EQ(last_text(), "\"щурецX\" съдържа некирилски символи. Наистина ли искате да я добавите?");
    EXPECT_EQ(b[B_BULGARIAN_CUSTOM].count, 1u);
    hs->message_box_answers.push_back(IDYES);
    add_custom_word(dlg);
    EXPECT_EQ(b[B_BULGARIAN_CUSTOM].count, 2u);
}

TEST_F(CustomWordsTest, ErasingKeepsANumberedCopy) {
    erase_custom_word(dlg);
    EXPECT_EQ(last_text(), "Речникът е празен.");
    EXPECT_EQ(last_caption(), "Oops!");

    set_panel(hAddReShort, "щурец");
    add_custom_word(dlg);
    data.write("b_bulgarian_custom_000001.txt", "стар\n");  // the first number is taken
    erase_custom_word(dlg);
    EXPECT_EQ(last_caption(), "Done!");
    EXPECT_EQ(last_text(), "Речникът е изпразнен успешно. Копие на предишния речник е запазено във файла "
                           "b_bulgarian_custom_000002.txt");
    EXPECT_EQ(data.read("b_bulgarian_custom_000002.txt"), cp("щурец\r\n"));
    EXPECT_EQ(data.read("b_bulgarian_custom.txt"), "");
    EXPECT_EQ(b[B_BULGARIAN_CUSTOM].count, 0u);
    erase_custom_word(dlg);
    EXPECT_EQ(last_text(), "Речникът е празен.");
}

TEST_F(LexTest, TheStartCounterCountsEveryStart) {
    EXPECT_EQ(count_start(data.path()), 1);
    EXPECT_EQ(run_counter, 1);
    EXPECT_EQ(data.read("set.txt"), "1\r\n");
    EXPECT_EQ(count_start(data.path()), 2);
    data.write_raw("set.txt", "41\n");
    EXPECT_EQ(count_start(data.path()), 42);
    data.write_raw("set.txt", "garbage");
    EXPECT_EQ(count_start(data.path()), 1);
}

}  // namespace

namespace {

// A user's list that did not fit into the room of the lists: the words that were not loaded stay
// in the file when a word is added (the list in memory holds only part of it).
TEST_F(CustomWordsTest, AddingToAListLoadedInPartKeepsTheWordsNotLoaded) {
    OP[OPT_MAX_TOKENS_IN_ALL_DICTIONARIES].num_value = 4;  // b_bulgarian takes 2, the user's list 2
    data.write("b_bulgarian_custom.txt", "агне\nбор\nвълк\nгъба\n");
    load_lexicon(data.path());
    ASSERT_EQ(b[B_BULGARIAN_CUSTOM].count, 2u);
    set_panel(hAddReShort, "дъб");
    add_custom_word(dlg);
    EXPECT_EQ(last_caption(), "Done!");
    EXPECT_EQ(u8(data.read("b_bulgarian_custom.txt")), "агне\r\nбор\r\nвълк\r\nгъба\r\nдъб\r\n");
    EXPECT_EQ(b[B_BULGARIAN_CUSTOM].count, 3u);
}

// A word whose list could not be written is not kept: the list stays as its file, and the user can
// add the word again once the file can be written.
TEST_F(CustomWordsTest, AWordThatCouldNotBeWrittenCanBeAddedAgain) {
    std::filesystem::create_directories(data.file("b_bulgarian_custom.txt/inside"));
    set_panel(hAddReShort, "щурец");
    add_custom_word(dlg);
    EXPECT_EQ(last_caption(), "Oops!");
    EXPECT_EQ(last_text().rfind("Cannot write to ", 0), 0u) << last_text();
    EXPECT_EQ(b[B_BULGARIAN_CUSTOM].count, 0u);
    EXPECT_EQ(find_pair(std::span<const ListPair>(b[B_BULGARIAN_CUSTOM].entries), cp("щурец")), nullptr);

    std::filesystem::remove_all(data.file("b_bulgarian_custom.txt"));
    add_custom_word(dlg);
    EXPECT_EQ(last_caption(), "Done!");
    EXPECT_EQ(u8(data.read("b_bulgarian_custom.txt")), "щурец\r\n");
    EXPECT_EQ(b[B_BULGARIAN_CUSTOM].count, 1u);
}

}  // namespace

namespace {

// Every rewrite of the user's files, failing at each step of the safe writer: the file on disk and
// the list in memory stay as they were, no temporary file is left, and the user is told why.
TEST_F(CustomWordsTest, EveryRewriteOfTheUsersFilesSurvivesAFailedWrite) {
    struct Rewrite {
        const char* what;
        const char* file;                 // the file that must stay as it was
        int nth;                          // which write of the operation fails
        std::function<void()> run;
        const char* told;                 // the start of the message
    };
    const std::vector<Rewrite> rewrites = {
        {"adding a word", "b_bulgarian_custom.txt", 1,
         [&] {
             set_panel(hAddReShort, "щурец");
             add_custom_word(dlg);
         },
         "Cannot write to "},
        {"erasing: the copy", "b_bulgarian_custom.txt", 1, [&] { erase_custom_word(dlg); }, "Cannot write to "},
        {"erasing: the emptying", "b_bulgarian_custom.txt", 2, [&] { erase_custom_word(dlg); }, "Cannot empty "},
        {"the new words", "b_bulgarian_new.txt", 1,
         [&] {
             b[B_BULGARIAN_NEW].entries.push_back(ListPair{lex_keep(cp("новодума")), {}});
             b[B_BULGARIAN_NEW].count = b[B_BULGARIAN_NEW].entries.size();
             EXPECT_EQ(write_new_bulgarian_words(), 0);
         },
         "Cannot write to "},
        {"the start counter", "set.txt", 1, [&] { count_start(data.path()); }, "Cannot write to "},
    };
    const std::vector<std::pair<SafeWriteStep, int>> faults = {
        {SafeWriteStep::Write, ENOSPC}, {SafeWriteStep::Flush, EIO}, {SafeWriteStep::Rename, EXDEV}};
    for (const Rewrite& r : rewrites) {
        for (const auto& [step, err] : faults) {
            SCOPED_TRACE(std::string(r.what) + " / " + std::strerror(err));
            data.write("b_bulgarian_custom.txt", "агне\n");
            data.write("b_bulgarian_new.txt", "бор\n");
            data.write("set.txt", "7\r\n");
            load_lexicon(data.path());
            new_words_at_start = b[B_BULGARIAN_NEW].count;
            const std::string before = data.read(r.file);
            hs->message_boxes.clear();
            fail_safe_write_at(step, err, r.nth);
            r.run();
            EXPECT_EQ(data.read(r.file), before);
            EXPECT_EQ(b[B_BULGARIAN_CUSTOM].count, 1u);
            EXPECT_EQ(last_caption(), "Oops!");
            EXPECT_EQ(last_text().rfind(r.told, 0), 0u) << last_text();
            EXPECT_NE(last_text().find(std::strerror(err)), std::string::npos) << last_text();
            for (auto& e : std::filesystem::directory_iterator(data.path()))
                EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
        }
    }
}

// The new words of a list loaded in part: the words that were not loaded stay in the file.
TEST_F(CustomWordsTest, NewWordsOfAListLoadedInPartKeepTheWordsNotLoaded) {
    OP[OPT_MAX_TOKENS_IN_ALL_DICTIONARIES].num_value = 4;  // b_bulgarian takes 2, the new words 2
    data.write("b_bulgarian_new.txt", "агне\nбор\nвълк\nгъба\n");
    load_lexicon(data.path());
    ASSERT_EQ(b[B_BULGARIAN_NEW].count, 2u);
    new_words_at_start = b[B_BULGARIAN_NEW].count;
    b[B_BULGARIAN_NEW].entries.push_back(ListPair{lex_keep(cp("дъб")), {}});
    b[B_BULGARIAN_NEW].count = b[B_BULGARIAN_NEW].entries.size();
    EXPECT_EQ(write_new_bulgarian_words(), 1);
    EXPECT_EQ(u8(data.read("b_bulgarian_new.txt")), "агне\r\nбор\r\nвълк\r\nгъба\r\nдъб\r\n");
}

}  // namespace
