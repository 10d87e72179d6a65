// Texts that could stop the program: one word of megabytes (Latin, Cyrillic, one repeated letter,
// mixed), and a long text of distinct unknown words that the user cancels. Each run ends with
// the records it cut.
#include <gtest/gtest.h>

#include "lookup_fixture.h"

namespace {

class RunBadInput : public LookupTest {
protected:
    void SetUp() override {
        LookupTest::SetUp();
        load_list(M_WL_ENGLISH, {"house 300", "mouse 400"});
        load_dict(B_BULGARIAN, {"къща 40", "мишка 50"});
        OP[OPT_MAX_WORDS_IN_FILE].num_value = 0;
        make_stores();
    }
};

TEST_F(RunBadInput, AWordOfMegabytesIsOneRecord) {
    const char* const patterns[] = {"a", "ъ", "ab", "къщ", "hoиse"};
    for (const char* pattern : patterns) {
        const std::u16string p = utf8_to_utf16(pattern);
        std::u16string word;
        while (word.size() < (std::size_t{3} << 20)) word += p;
        check16(word);
        EXPECT_EQ(last_run.processed, 1u) << pattern;
        EXPECT_FALSE(last_run.cancelled) << pattern;
    }
}

TEST_F(RunBadInput, ALongTextOfDistinctUnknownWordsCanBeCancelled) {
    std::u16string text;
    for (int i = 0; i < 200'000; ++i) {
        std::u16string w = u"qq";
        for (int v = i; v > 0; v /= 26) w += static_cast<char16_t>(u'a' + v % 26);
        text += w + (i % 2 ? u" " : u" \u0449\u044a" + w.substr(2) + u" ");
    }
    respond_token = 1'000;
    int pumps = 0;
    hs->on_pump = [&] {
        if (++pumps == 20) gl_cancel = 1;
    };
    check16(text);
    hs->on_pump = nullptr;
    EXPECT_TRUE(last_run.cancelled);
    EXPECT_EQ(last_run.processed, 19'001u);
}

}  // namespace
