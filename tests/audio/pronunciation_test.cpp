// The pronunciation request of a look-up: it goes on only while talking mode is on and an audio
// index lists the word.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string_view>

#include "audio/pronunciation.h"
#include "lexicon/tables.h"
#include "platform/text.h"
#include "shell/lists.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "support/temp_folder.h"
#include "support/text.h"

namespace {

class Pronunciation : public ::testing::Test {
protected:
    jux_test::TempFolder folder{"audio"};
    std::filesystem::path dir = folder.path();

    void SetUp() override {
        reset_shell();
        reset_lexicon();
    }
    void TearDown() override {
        reset_lexicon();
        reset_shell();
    }
    // An audio index row from UTF-8 lines "word offset size".
    void load_index(int row, std::initializer_list<std::string_view> lines) {
        DictFileRecord& rec = b[static_cast<std::size_t>(row)];
        const std::filesystem::path file = dir / (rec.name + ".txt");
        jux_test::write_cp1251_lines(file, lines);
        rec.entries.clear();
        rec.text = load_pairs(file, ListLoadOptions{}, rec.entries, &rec.stats);
        ASSERT_TRUE(rec.text);
        rec.count = rec.entries.size();
    }
};

TEST_F(Pronunciation, AWordIsSpokenOnlyInTalkingModeAndWhenAnIndexHasIt) {
    load_index(B_ENGLISH_AO, {"apple 0 1200", "ice_cream 1200 900"});
    load_index(B_ENGLISH_AO2, {"ябълка 0 800"});
    gl_TALKING_MODE = 0;
    EXPECT_EQ(say_word("apple"), 0);  // talking mode off: back at once
    gl_TALKING_MODE = 1;
    EXPECT_EQ(say_word("apple"), 1);
    EXPECT_EQ(say_word("APPLE"), 1);  // the indexes are searched without regard to case
    EXPECT_EQ(say_word("ice_cream"), 1);
    EXPECT_EQ(say_word(utf8_to_cp1251("ябълка")), 1);  // the Bulgarian index
    EXPECT_EQ(say_word("pear"), 0);
    EXPECT_EQ(say_word(""), 0);
    ASSERT_NE(find_audio_entry("apple"), nullptr);
    EXPECT_EQ(find_audio_entry("apple")->rest, "0 1200");
}

TEST_F(Pronunciation, EmptyOrEmptiedIndexesHoldNothing) {
    gl_TALKING_MODE = 1;
    EXPECT_EQ(say_word("apple"), 0);
    load_index(B_ENGLISH_AO, {"apple 0 1200"});
    b[B_ENGLISH_AO].count = 0;  // an index emptied while its entries stay allocated
    EXPECT_EQ(say_word("apple"), 0);
}

}  // namespace
