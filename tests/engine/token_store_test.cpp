// The token stores: allocation sizes, the record limit, sentinels, pools that grow without moving
// a string, the copy into store R and the reader rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "shell/reset.h"
#include "shell/settings.h"

namespace {

class Stores : public ::testing::Test {
protected:
    void SetUp() override {
        reset_shell();
        reset_engine();
    }
    void TearDown() override {
        reset_engine();
        reset_shell();
    }
    static void make(int n) {
        OP[OPT_MAX_WORDS_IN_FILE].num_value = n;
        smake();
        smake2();
        smakeR();
    }
    static void expect_sentinels(const RecordArray& a, std::int32_t pos) {
        for (std::size_t i = 0; i < SENTINEL_RECORDS; ++i) {
            ASSERT_EQ(a.nd[i].text, glZero) << i;
            ASSERT_EQ(a.nd[i].gap, glZero) << i;
            ASSERT_EQ(a.nd[i].pos, pos) << i;
        }
    }
};

TEST_F(Stores, AllocationFollowsMaxWordsInFile) {
    make(1000);
    EXPECT_EQ(store1.rec.cap, 1000u + SENTINEL_RECORDS);
    EXPECT_EQ(store1S.cap, 1000u + SENTINEL_RECORDS);
    EXPECT_EQ(store2.rec.cap, 1000u + SENTINEL_RECORDS);
    EXPECT_EQ(storeR.rec.cap, 1000u + SENTINEL_RECORDS);
    EXPECT_EQ(malsen1.first_block(), 7u * 1000 + 1'048'576);
    EXPECT_EQ(malsen1c.first_block(), 3u * 1000 + 1'048'576);
    EXPECT_EQ(malsen2c.first_block(), 3u * 1000 + 2'097'152);
    EXPECT_EQ(malsenR.first_block(), 7u * 1000 + 1'048'576);
    EXPECT_EQ(malsenRc.first_block(), 3u * 1000 + 2'097'152);
    EXPECT_EQ(sen_nd, sen_floor);
    EXPECT_EQ(sen_ndS, sen_floorS);
    expect_sentinels(store1.rec, 0);  // an empty store reads empty records ahead
}

TEST_F(Stores, AStoreHoldsAtMostOneRecordLessThanTheLimit) {
    make(5);
    store_reset(store1);
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(store_has_room(store1.rec)) << i;
        store_push(store1, "w", " ", i * 2);
    }
    EXPECT_FALSE(store_has_room(store1.rec));
    EXPECT_EQ(store1.rec.count(), 4u);
}

TEST_F(Stores, SentinelsFollowTheLastRecordWhileTheStoreFills) {
    make(100);
    store_reset(store1);
    store_seal(store1.rec, 42);
    store_push(store1, "one", "", 0);
    store_push(store1, "", " tail", 3);
    expect_sentinels(store1.rec, 42);
    EXPECT_EQ(sen_floor[0].gap, glZero);  // empty fields point at the shared empty text
    EXPECT_EQ(sen_floor[1].text, glZero);
    EXPECT_STREQ(sen_floor[1].gap, " tail");
    EXPECT_TRUE(malsen1.owns(sen_floor[0].text));
    EXPECT_TRUE(malsen1c.owns(sen_floor[1].gap));
    EXPECT_EQ(malsen1.used(), 4u);   // "one" and its NUL
    EXPECT_EQ(malsen1c.used(), 6u);  // " tail" and its NUL
}

TEST_F(Stores, PoolsGrowWithoutMovingAString) {
    make(0);
    store_reset(store1);
    std::vector<const char*> texts;
    const std::string word(1000, 'x');
    for (int i = 0; i < 3000; ++i) {
        std::string w = std::to_string(i) + word;
        texts.push_back(store_push(store1, w, " ", i)->text);
    }
    EXPECT_GT(malsen1.blocks(), 1u);  // 3 MB of tokens in a first block of 1 MiB
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(sen_floor[i].text, texts[static_cast<std::size_t>(i)]);
        ASSERT_EQ(std::string(sen_floor[i].text), std::to_string(i) + word) << i;
    }
    // A string longer than a whole block still fits.
    const std::string huge(3'000'000, 'y');
    const SenToken* r = store_push(store1, huge, "", 3000);
    EXPECT_EQ(std::string(r->text), huge);
    EXPECT_STREQ(sen_floor[0].text, (std::string("0") + word).c_str());
}

TEST_F(Stores, WithoutLimitTheRecordArrayGrows) {
    make(0);
    EXPECT_EQ(store1.rec.limit, 0u);
    store_reset(store1);
    store_seal(store1.rec, 7);
    for (int i = 0; i < 200'000; ++i) {
        ASSERT_TRUE(store_has_room(store1.rec));
        store_push(store1, "a", " ", i * 2);
    }
    EXPECT_EQ(store1.rec.count(), 200'000u);
    EXPECT_GE(store1.rec.cap, 200'000u + SENTINEL_RECORDS);
    EXPECT_EQ(sen_floor[199'999].pos, 399'998);
    EXPECT_STREQ(sen_floor[123'456].text, "a");
    expect_sentinels(store1.rec, 7);
}

// Store R describes store 1's text after the copy, and keeps it through every later write into
// store 1: a refill (R takes the records over), a record added without a reset (R gets its own
// copy first), an explicit detach; emptying R leaves store 1 as it is.
TEST_F(Stores, CopyIntoStoreRKeepsItsOwnStrings) {
    make(0);
    const std::string long_word(700'000, 'q');  // several pool blocks
    const auto fill1 = [&] {
        store_reset(store1);
        store_seal(store1.rec, 0);
        store_push(store1, "first", "", 0);
        for (int i = 0; i < 5; ++i) store_push(store1, long_word, ", ", 10 + i);
        store_push(store1, "", "\r\r", 50);
        store_seal(store1.rec, 52);
        ASSERT_GT(malsen1.blocks(), 1u);
    };
    // R holds the text as cut, its strings in its own pools once it no longer shares store 1's.
    const auto expect_r_is_text = [&](bool own) {
        ASSERT_EQ(storeR.rec.count(), 7u);
        EXPECT_STREQ(sen_floorR[0].text, "first");
        EXPECT_EQ(sen_floorR[0].gap, glZero);
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(std::string(sen_floorR[i].text), long_word) << i;
            EXPECT_STREQ(sen_floorR[i].gap, ", ") << i;
            EXPECT_EQ(sen_floorR[i].pos, 9 + i) << i;
            if (own) {
                EXPECT_TRUE(malsenR.owns(sen_floorR[i].text) && malsenRc.owns(sen_floorR[i].gap)) << i;
            }
        }
        EXPECT_EQ(sen_floorR[6].text, glZero);
        EXPECT_STREQ(sen_floorR[6].gap, "\r\r");
        expect_sentinels(storeR.rec, 52);
    };

    enum class Then { Refill, PushMore, Detach };
    for (const Then then : {Then::Refill, Then::PushMore, Then::Detach}) {
        SCOPED_TRACE(static_cast<int>(then));
        fill1();
        copy_store1_to_R();
        expect_r_is_text(false);
        if (then == Then::Refill) {
            store_reset(store1);
            store_push(store1, "other", " ", 1);
            EXPECT_EQ(store1.rec.count(), 1u);
            EXPECT_FALSE(malsen1.owns(sen_floorR[1].text));
        } else if (then == Then::PushMore) {
            store_push(store1, "more", " ", 60);
            EXPECT_EQ(store1.rec.count(), 8u);
            EXPECT_STREQ(sen_floor[0].text, "first");
        } else {
            store_detach_R();
            EXPECT_NE(sen_floorR, sen_floor);
        }
        expect_r_is_text(true);
        store_reset(storeR);
    }

    // Emptying store R while it shares store 1's records leaves store 1 whole.
    fill1();
    copy_store1_to_R();
    store_reset(storeR);
    EXPECT_EQ(storeR.rec.count(), 0u);
    ASSERT_EQ(store1.rec.count(), 7u);
    EXPECT_EQ(std::string(sen_floor[5].text), long_word);
    expect_sentinels(store1.rec, 52);
}

TEST_F(Stores, ReaderFindsTheRecordUnderAPosition) {
    make(100);
    store_reset(store1);
    EXPECT_EQ(store_token_at(store1.rec, 5), sen_floor);  // an empty store: its first sentinel
    store_push(store1, "ab", "", 0);
    store_push(store1, "cd", "   ", 5);
    store_push(store1, "ef", " ", 10);
    store_seal(store1.rec, 12);
    EXPECT_EQ(store_token_at(store1.rec, 0), &sen_floor[0]);
    EXPECT_EQ(store_token_at(store1.rec, 3), &sen_floor[0]);  // inside the gap: the record before
    EXPECT_EQ(store_token_at(store1.rec, 5), &sen_floor[1]);
    EXPECT_EQ(store_token_at(store1.rec, 7), &sen_floor[1]);
    EXPECT_EQ(store_token_at(store1.rec, 11), &sen_floor[2]);
    EXPECT_EQ(store_token_at(store1.rec, 12), sen_nd);        // the end of the text: the first sentinel
    EXPECT_EQ(store_token_at(store1.rec, 99), &sen_floor[2]); // past the text: the last record
    EXPECT_EQ(store_token_at(store1.rec, -4), &sen_floor[0]); // never before the first record
}

}  // namespace
