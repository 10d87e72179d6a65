// Membership of keys in the word-class lists: which lists count, case folding, and answers that
// follow every change of the lists (a load, a filing, a deletion, a filing that could not be saved).
#include "lex_test_util.h"
#include "lexicon/filing.h"
#include "lexicon/wordclass.h"
#include "shell/settings.h"
#include "shell/window_state.h"

namespace {

constexpr int kRight = 1171, kLeft = 1170, kBottom = 1172;

struct Want {
    const char* key;       // UTF-8
    int in_set;            // is_in_c_set
    int in_set_no_rare;    // is_in_c_set_no_rare
    const char* meanings;  // concatenate_c_words, short form (UTF-8)
};

class Membership : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        data.write("c/c_c11.txt", "cat котка\ndog куче\nBlack_Box черна кутия\n");
        data.write("c/c_c21.txt", "both и двете\n");
        data.write("c/c_v_az11.txt", "dog следя\n");
        data.write("c/c_adj11.txt", "common_rare обикновен\n");
        data.write("c/c_misc11.txt", "Пример пример\n");
        data.write("c/c_r_n11.txt", "rareword рядка\n");
        data.write("c/c_r_adj11.txt", "common_rare рядък\n");
        data.write("c/c_r_name11.txt", "Zog Зог\n");
        data.write("c/z_name1.txt", "London Лондон\n");
        data.write("c/cs_1start11.txt", "however обаче\n");
        data.write("c/all_fem.txt", "Maria\n");
        data.write("c/c_notreal11.txt", "unreal нереално\n");
        data.write("c/c_not11.txt", "notword не\nboth не\n");
        data.write("c/c_notnot11.txt", "notnot двойно\n");
        data.write("c/c_error11.txt", "errword грешка\n");
        data.write("c/hard.txt", "ubiquitous вездесъщ\n");
        data.write("c/hard2.txt", "awry\n");
        data.write("c/hard3.txt", "quixotic\n");
        load_lexicon(data.path());
        hBig = make_panel_dialog({kRight, kLeft, kBottom});
        hBigReRight = GetDlgItem(hBig, kRight);
        hBigReLeft = GetDlgItem(hBig, kLeft);
        hBigReBot = GetDlgItem(hBig, kBottom);
    }
    void TearDown() override {
        reset_ctype_locale();
        LexTest::TearDown();
    }
    // Files `key` with `rendering` into `row`, answering the questions with `answers`.
    void file(std::string_view key, std::string_view rendering, int row, std::deque<int> answers = {}) {
        set_panel(hBigReRight, key, 0, -1);
        set_panel(hBigReLeft, rendering, 0, -1);
        set_panel(hBigReBot, "", 0, 0);
        hs->message_box_answers = std::move(answers);
        write_to_c(row, 0, 0);
    }
    static void expect(std::initializer_list<Want> table, const char* when) {
        for (const Want& w : table) {
            const std::string key = cp(w.key);
            EXPECT_EQ(is_in_c_set(key), w.in_set) << w.key << " " << when;
            EXPECT_EQ(is_in_c_set_no_rare(key), w.in_set_no_rare) << w.key << " " << when;
            std::string m;
            concatenate_c_words(key, m, 1);
            EXPECT_EQ(u8(m), w.meanings) << w.key << " " << when;
        }
    }
};

TEST_F(Membership, KeysOfTheCountedListsInAnyCase) {
    expect({{"dog", 1, 1, "куче, следя"},
            {"DOG", 1, 1, "куче, следя"},
            {"black_box", 1, 1, "черна кутия"},
            {"BLACK_BOX", 1, 1, "черна кутия"},
            {"black box", 0, 0, ""},
            {"do", 0, 0, ""},
            {"dogs", 0, 0, ""},
            {"", 0, 0, ""},
            {"both", 1, 1, "и двете, не"},  // a not-list too, but also a counted list
            {"пример", 1, 1, "пример"},
            {"ПРИМЕР", 1, 1, "пример"},
            {"rareword", 1, 0, "рядка"},
            {"RareWord", 1, 0, "рядка"},
            {"zog", 1, 0, "Зог"},
            {"common_rare", 1, 1, "обикновен, рядък"},
            {"london", 1, 1, "Лондон"},
            {"however", 1, 1, "обаче"},
            {"notnot", 1, 1, "двойно"},
            {"Maria", 0, 0, ""},
            {"unreal", 0, 0, "нереално"},
            {"notword", 0, 0, "не"},
            {"errword", 0, 0, "грешка"},
            {"ubiquitous", 0, 0, ""},
            {"awry", 0, 0, ""},
            {"quixotic", 0, 0, ""}},
           "as loaded");
    // Under the "C" locale only ASCII letters fold.
    set_ctype_locale("C");
    expect({{"Пример", 1, 1, "пример"}, {"пример", 0, 0, ""}, {"DOG", 1, 1, "куче, следя"}}, "under C");
    reset_ctype_locale();
    expect({{"пример", 1, 1, "пример"}}, "back under the Cyrillic locale");
}

TEST_F(Membership, AnswersFollowFilingDeletionAndReloading) {
    expect({{"zebra", 0, 0, ""}, {"okapi", 0, 0, ""}}, "before filing");
    file("zebra", "зебра", 0);
    file("Okapi", "окапи", c_row_by_name("c_r_n11"));
    file("erratum", "грешка", c_row_by_name("c_error11"));
    expect({{"ZEBRA", 1, 1, "зебра"}, {"okapi", 1, 0, "окапи"}, {"erratum", 0, 0, "грешка"}}, "filed");

    // An update keeps the key; a deletion from one list leaves the other lists holding it.
    file("dog", "пес", 0, {IDYES});
    file("dog", "пес", c_row_by_name("c_v_az11"), {IDNO, IDYES});
    file("zebra", "зебра", 0, {IDNO, IDYES});
    file("okapi", "окапи", c_row_by_name("c_r_n11"), {IDNO, IDYES});
    expect({{"dog", 1, 1, "пес"}, {"zebra", 0, 0, ""}, {"okapi", 0, 0, ""}}, "deleted");
    file("dog", "пес", 0, {IDNO, IDYES});
    expect({{"dog", 0, 0, ""}, {"cat", 1, 1, "котка"}}, "deleted from both");

    // A change that could not be saved is undone: neither the addition nor the deletion holds.
    std::filesystem::remove(data.file("c/c_c11.txt"));
    std::filesystem::create_directories(data.file("c/c_c11.txt/inside"));
    file("yak", "як", 0);
    file("cat", "котка", 0, {IDNO, IDYES});
    expect({{"yak", 0, 0, ""}, {"cat", 1, 1, "котка"}}, "not saved");
    std::filesystem::remove_all(data.file("c/c_c11.txt"));

    // Loading the lists again answers from the files; a reset empties every list.
    data.write("c/c_c11.txt", "gnu гну\n");
    load_word_classes(data.path());
    expect({{"gnu", 1, 1, "гну"}, {"cat", 0, 0, ""}, {"rareword", 1, 0, "рядка"}}, "reloaded");
    reset_lexicon();
    expect({{"gnu", 0, 0, ""}, {"rareword", 0, 0, ""}}, "reset");
}

}  // namespace
