// The frame of translate_text: what a run reads, resets and writes, the lines it shows, its
// progress, Cancel, the record limit, the callers' special cases, the phase switches, the copy into
// store R, the spelling logs and the guard against re-entry through the message pump.
#include <gtest/gtest.h>

#include <functional>

#include "engine/tokeniser.h"
#include "engine_fixture.h"
#include "lexicon/display.h"

namespace {

class Run : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        make_stores();
    }

    static std::u16string words(int n) {
        std::u16string t;
        for (int i = 0; i < n; ++i) t += u"word ";
        return t;
    }
    static HWND big_label() { return GetDlgItem(hBig, IDC_BIG_LABEL); }
};

TEST_F(Run, ReportAndClosingLinesHaveTheirFormats) {
    gl_PARSE_LATIN_WORDS = 0;  // the per-token lines of English words are tested with the report
    gl_CHECK_PUNCTUATION = 0;  // and the proof-reader's lines with the proof-reader
    RE_SetTextW(hBigReLeft, u"old report");
    RE_SetTextW(hAddReSaved, u"old pane");
    RE_SetTextW(hAddReShort3, u"old short pane");
    check("one two three");
    EXPECT_EQ(panel8(hBigReLeft), "3 words found (13 characters)\r\r");
    EXPECT_EQ(panel8(hAddReSaved), "\rDONE! 3 words found (13 characters)\r");
    EXPECT_EQ(panel8(hAddReShort3), "");
    EXPECT_FALSE(RE_GetWordWrap(hAddReSaved));
    // Pools: "one" "two" "three" with their NULs (14 bytes); gaps " " " " (4 bytes), the first gap
    // empty: (14 - 3) / 3 and (4 - 3 + 1) / (3 - 1).
    EXPECT_EQ(label8(big_label()), "Done!");
    EXPECT_EQ(statistics_line(3, 3, malsen1.used(), malsen1c.used(), true),
              "100.00%  3 / ~ 3, average word length: 3.667; aver. space length: 1.000");
}

// The report's "words found" and the DONE line count the same words: the tokeniser's tokens, not
// the record of the gap after the last of them.
TEST_F(Run, ReportAndDoneLineCountTheSameWords) {
    gl_PARSE_LATIN_WORDS = 0;
    gl_CHECK_PUNCTUATION = 0;
    const struct {
        const char* text;
        int words;
    } cases[] = {
        {"The good dog. Housse", 4}, {"The good dog.", 3},      {"text ending in blanks   ", 4},
        {"a,b", 1},                  {"a, b", 2},               {"3.14. x", 2},
        {"rock'n'roll", 1},          {"word--next", 2},         {"Stop!Go on: now?", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        check(c.text);
        const std::string line = std::to_string(c.words) + " words found (" +
                                 std::to_string(std::string_view(c.text).size()) + " characters)";
        EXPECT_EQ(panel8(hBigReLeft).substr(0, line.size() + 1), line + "\r");
        EXPECT_NE(panel8(hAddReSaved).find("DONE! " + line + "\r"), std::string::npos) << panel8(hAddReSaved);
    }
}

TEST_F(Run, StatisticsLineGoesToTheCallersLabel) {
    RE_SetTextW(hAddReShort, u"  alpha beta");
    Button_SetCheck(hAddSentence, BST_CHECKED);
    std::string t8;
    std::u16string t16;
    translate_text(hMain, hAddReShort, hAddReSaved, hAddLabel, t8, t16, "debug_IDC_ADD_RE_SHORT");
    // Gaps: the first is empty, then " " (2 bytes): (2 - 2 + 1) / 1.
    EXPECT_EQ(label8(hAddLabel), "100.00%  2 / ~ 2, average word length: 4.500; aver. space length: 1.000");
    EXPECT_EQ(label8(big_label()), "Done!");  // the checker's label, whichever window called
    EXPECT_EQ(statistics_line(4, 5, 20, 14, false),
              "100.00%  4 / ~ 5, average word length: 4.000; aver. space length: 2.500");
}

TEST_F(Run, OneTokenTextGetsNoStatisticsLine) {
    gl_PARSE_LATIN_WORDS = 0;  // the per-token lines of English words are tested with the report
    SetWindowTextW(big_label(), u"before");
    check("single");
    EXPECT_EQ(label8(big_label()), "Done!");
    EXPECT_EQ(last_run.processed, 1u);
    EXPECT_EQ(panel8(hAddReSaved), "\rDONE! 1 words found (6 characters)\r");
}

TEST_F(Run, EmptyPanel) {
    check("");
    EXPECT_EQ(panel8(hBigReLeft), "0 words found (0 characters)\r\r");
    EXPECT_EQ(store1.rec.count(), 0u);
    EXPECT_EQ(last_run.processed, 0u);
    EXPECT_TRUE(last_run.steps & RUN_ENTRY_DISPLAY);  // expected count 0
}

TEST_F(Run, ProgressLineEveryHundredTokensOfALongText) {
    EXPECT_EQ(progress_line(150, 600), "25.00%  150 / ~ 600  " + std::string(20, '\x95'));
    EXPECT_EQ(progress_line(0, 800), "0.00%  0 / ~ 800  ");
    EXPECT_EQ(progress_line(250, 1000), "25.00%  250 / ~ 1000  " + std::string(20, '\x95'));

    std::vector<std::string> seen;
    hs->on_pump = [&] { seen.push_back(label8(big_label())); };
    check16(words(800));
    ASSERT_GE(seen.size(), 8u);
    EXPECT_EQ(seen[0], "0.00%  0 / ~ 800  ");
    EXPECT_EQ(seen[1], "12.50%  100 / ~ 800  " + u8(std::string(10, '\x95')));
    EXPECT_EQ(seen[2], "25.00%  200 / ~ 800  " + u8(std::string(20, '\x95')));

    // Pumps further apart than the lines: each pump shows the line of the last hundred before it.
    respond_token = 250;
    seen.clear();
    check16(words(800));
    EXPECT_EQ(seen, (std::vector<std::string>{"0.00%  0 / ~ 800  ", "25.00%  200 / ~ 800  " + u8(std::string(20, '\x95')),
                                              "62.50%  500 / ~ 800  " + u8(std::string(10, '\x95')),
                                              "87.50%  700 / ~ 800  " + u8(std::string(30, '\x95'))}));

    seen.clear();
    check16(words(400));  // 500 expected tokens or fewer: no progress line
    for (const std::string& s : seen) EXPECT_EQ(s.find("/ ~ 400  "), std::string::npos) << s;
}

TEST_F(Run, PumpsEveryRespondTokenTokens) {
    respond_token = 7;
    int pumps = 0;
    hs->on_pump = [&] { ++pumps; };
    check16(words(20));  // 21 records: pumps while the counter reads 0, 7 and 14
    EXPECT_EQ(pumps, 3);
}

TEST_F(Run, CodePageLabel) {
    check("ABC abc ёЁ €");
    EXPECT_EQ(big_label_up(), u"ANSI");
    check16(u"ab\u03B1 x");
    EXPECT_EQ(big_label_up(), u"Unicode: \u03B1 3");
    check16(u"a \U0001F600");
    EXPECT_EQ(big_label_up(), u"Unicode: \U0001F600 3");
    SetDlgItemTextW(hBig, IDC_BIG_LABEL_UP, u"unchanged");
    RE_SetTextW(hBigReLeft, u"\u03B1");
    std::string t8;
    std::u16string t16;
    translate_text(hBig, hBigReLeft, hBigReRight, big_label(), t8, t16, "other");
    EXPECT_EQ(big_label_up(), u"unchanged");  // only the checker's right panel sets it
}

TEST_F(Run, CancelFromInsideThePumpStopsTheScan) {
    int pumps = 0;
    hs->on_pump = [&] {
        if (++pumps == 2) gl_cancel = 1;  // pressed while the 101st record is being reported
    };
    check16(words(1000));
    EXPECT_EQ(gl_cancel, 0);
    EXPECT_TRUE(last_run.cancelled);
    EXPECT_EQ(last_run.processed, 101u);
    EXPECT_EQ(store1.rec.count(), 102u);  // the record cut when Cancel was seen stays in the store
    for (std::size_t i = 0; i < SENTINEL_RECORDS; ++i) {
        ASSERT_EQ(sen_nd[i].text, glZero);
        ASSERT_EQ(sen_nd[i].pos, 5000);
    }
    EXPECT_EQ(storeR.rec.count(), 102u);
    EXPECT_TRUE(last_run.steps & RUN_HARD_RARE);  // the phases still run on what was cut
    EXPECT_EQ(label8(big_label()), "Done!");
}

// Cancel pressed during the last pump of a run, after which no token is left to see it, is for
// that run: the next run (the user's next key) must cut its whole text.
TEST_F(Run, CancelPressedAsARunEndsDoesNotStopTheNextRun) {
    bool pressed = false;
    hs->on_pump = [&] {
        if (!pressed) gl_cancel = 1;  // pumps while the counter reads 0: before the only token
        pressed = true;
    };
    check("single");
    EXPECT_EQ(last_run.processed, 1u);
    hs->on_pump = nullptr;
    check16(words(20));
    EXPECT_FALSE(last_run.cancelled);
    EXPECT_EQ(last_run.processed, 21u);
    EXPECT_EQ(store1.rec.count(), 21u);
    EXPECT_EQ(gl_cancel, 0);
}

TEST_F(Run, RecordLimitStopsTheScanAndKeepsTheProgram) {
    OP[OPT_MAX_WORDS_IN_FILE].num_value = 5;
    make_stores();
    check("a b c d");
    EXPECT_EQ(store1.rec.count(), 4u);
    EXPECT_TRUE(hs->message_boxes.empty());
    EXPECT_FALSE(last_run.store_full);

    check("a b c d e f");
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    const RecordedMessageBox& box = hs->message_boxes[0];
    EXPECT_EQ(box.owner, hMain);
    EXPECT_EQ(box.caption, u"Oops!");
    EXPECT_EQ(box.flags & MB_ICONERROR, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(utf16_to_utf8(box.text),
              "The option \"MAX_WORDS_IN_FILE\" (5) is not big enough. Put a bigger value in settings.txt "
              "and try again. The processing stops there: the rest of the text is left out.\r\n");
    EXPECT_TRUE(last_run.store_full);
    EXPECT_EQ(store1.rec.count(), 4u);
    EXPECT_EQ(last_run.processed, 4u);
    for (std::size_t i = 0; i < SENTINEL_RECORDS; ++i) ASSERT_EQ(sen_nd[i].pos, 11);
    EXPECT_EQ(label8(big_label()), "Done!");  // the run ends normally

    check("a b c d ");  // the fifth record is the one with the final blank
    EXPECT_EQ(store1.rec.count(), 4u);
    EXPECT_TRUE(last_run.store_full);
    EXPECT_EQ(hs->message_boxes.size(), 1u) << "the box comes once, not at every run";
}

TEST_F(Run, EveryRunFollowsTheRecordLimitAsItIsNow) {
    // The option changed after the stores were made; the box comes once for each value.
    const struct {
        std::int32_t limit;
        int words;
        std::size_t records, boxes;
    } steps[] = {{5, 6, 4, 1}, {5, 6, 4, 1}, {100, 6, 6, 1}, {3, 6, 2, 2}, {3, 2, 2, 2}, {0, 8, 8, 2}, {5, 6, 4, 3},
                 {20'000, 10'000, 10'000, 3}};
    for (const auto& st : steps) {
        OP[OPT_MAX_WORDS_IN_FILE].num_value = st.limit;
        check16(words(st.words).substr(0, static_cast<std::size_t>(st.words) * 5 - 1));  // no final blank
        EXPECT_EQ(store1.rec.count(), st.records) << st.limit << " " << st.words;
        EXPECT_EQ(storeR.rec.count(), st.records) << st.limit << " " << st.words;
        EXPECT_EQ(last_run.store_full, st.records < static_cast<std::size_t>(st.words)) << st.limit;
        EXPECT_EQ(hs->message_boxes.size(), st.boxes) << st.limit << " " << st.words;
    }
}

TEST_F(Run, EntryBoxWithoutSentenceBoxCutsNothing) {
    check("kept in store");
    RE_SetTextW(hAddReSaved, u"pane");
    RE_SetTextW(hAddReShort, u"hello world");
    ColorRangeOn(hAddReShort, 0, 11, CFM_COLOR | CFM_BOLD, RGB(255, 0, 0), CFE_BOLD);
    std::string t8;
    std::u16string t16;
    translate_text(hMain, hAddReShort, hAddReSaved, hAddLabel, t8, t16, "debug_IDC_ADD_RE_SHORT");
    EXPECT_FALSE(last_run.cut);
    EXPECT_EQ(last_run.steps, static_cast<unsigned>(RUN_ENTRY_DISPLAY));
    EXPECT_EQ(records(store1.rec), (std::vector<Rec>{{"kept", "", 0}, {"in", " ", 5}, {"store", " ", 8}}));
    EXPECT_EQ(panel8(hAddReSaved), "pane");
    const CHARFORMAT2W f = RE_GetCharFormatAt(hAddReShort, 3);
    EXPECT_EQ(f.crTextColor, 0u);
    EXPECT_EQ(f.dwEffects & CFE_BOLD, 0u);

    type_entry("дума");
    EXPECT_EQ(last_run.steps, 0u);  // a Cyrillic text is not looked up in the English dictionary
    Button_SetCheck(hAddSentence, BST_CHECKED);
    type_entry("hello world");
    EXPECT_TRUE(last_run.cut);
    EXPECT_EQ(store1.rec.count(), 2u);
}

TEST_F(Run, SourcesThatKeepTheirColours) {
    gl_TEXT_COLORING = 0;  // only the reset at the start of a run colours the source here
    auto red_run = [&](HWND source) {
        RE_SetTextW(source, u"red text");
        ColorRangeOn(source, 0, 8, CFM_COLOR, RGB(255, 0, 0), 0);
        std::string t8;
        std::u16string t16;
        translate_text(hMain, source, hAddReSaved, hAddLabel, t8, t16, "x");
        return RE_GetCharFormatAt(source, 2).crTextColor;
    };
    EXPECT_EQ(red_run(hAddReShortCopy), RGB(255, 0, 0));
    EXPECT_EQ(red_run(hBigReLeft), 0u);
    changed_from_add_fg = 1;
    EXPECT_EQ(red_run(hBigReLeft), RGB(255, 0, 0));
}

TEST_F(Run, MultiWordDictionaryEntryReachesTheEntryDisplay) {
    load_dict(B_EN_BG, {"ice_cream сладолед"});
    check("ice   cream");
    EXPECT_EQ(last_run.expected, 2u);
    EXPECT_TRUE(last_run.one_entry);
    EXPECT_TRUE(last_run.steps & RUN_ENTRY_DISPLAY);
    check("ice water");
    EXPECT_FALSE(last_run.one_entry);
    EXPECT_FALSE(last_run.steps & RUN_ENTRY_DISPLAY);
    load_list(M_WL_ENGLISH2, {"ice_water 9000"});
    check("ice water");
    EXPECT_TRUE(last_run.one_entry);
}

TEST_F(Run, PhasesFollowTheirSwitches) {
    check("two words");
    EXPECT_EQ(last_run.steps, static_cast<unsigned>(RUN_EXPORTS | RUN_ENGLISH_LIST | RUN_UNKNOWN_WORDS |
                                                     RUN_PROOF_READER | RUN_HARD_RARE));
    gl_PARSE_LATIN_WORDS = 0;
    gl_CHECK_PUNCTUATION = 0;
    gl_AUTO_SPELL = 1;
    gl_AUTO_OCR = 1;
    check("one");
    EXPECT_EQ(last_run.steps, static_cast<unsigned>(RUN_EXPORTS | RUN_AUTO_FILES | RUN_OCR_FILE |
                                                     RUN_HARD_RARE | RUN_ENTRY_DISPLAY));
}

TEST_F(Run, TranslatorPhasesAndTheirLimit) {
    hMachine = hMain;  // a machine-translation window exists
    gl_STRIP_TIMECODE = 1;
    gl_ENGLISH_TRANSLATION = 1;
    check16(words(10));
    EXPECT_FALSE(last_run.steps & (RUN_TR_COLOURING | RUN_MACHINE | RUN_SUBTITLE_TEXT | RUN_TIME_CODE_FILES));

    gl_MACHINE_TRANSLATION = 1;
    check16(words(10));
    EXPECT_TRUE(last_run.steps & RUN_TR_COLOURING);
    EXPECT_TRUE(last_run.steps & RUN_MACHINE);
    EXPECT_FALSE(last_run.steps & RUN_SUBTITLE_TEXT);
    EXPECT_TRUE(RE_GetRedraw(hBigReRight));  // redrawing is on again

    check16(words(3000));  // more than 2,999 records with ENGLISH_TRANSLATION set
    EXPECT_FALSE(last_run.steps & RUN_TR_COLOURING);
    EXPECT_FALSE(last_run.steps & RUN_MACHINE);
    EXPECT_TRUE(last_run.steps & RUN_HARD_RARE);
    EXPECT_EQ(label8(big_label()), "Done!");

    gl_ENGLISH_TRANSLATION = 0;  // no limit without it
    check16(words(3000));
    EXPECT_TRUE(last_run.steps & RUN_TR_COLOURING);
    EXPECT_TRUE(last_run.steps & RUN_MACHINE);

    Button_SetCheck(hAddSentence, BST_CHECKED);
    type_entry("hello there");  // never translated from the entry box
    EXPECT_TRUE(last_run.steps & RUN_TR_COLOURING);
    EXPECT_FALSE(last_run.steps & RUN_MACHINE);

    hMachine = HWND{};
    check("hello there");
    EXPECT_FALSE(last_run.steps & RUN_MACHINE);
}

TEST_F(Run, TheTranslatorsLimitCountsTheStoreTheColouringWalked) {
    // Subtitles of 800 blocks: four records a block in store 1 (index, two time codes, word), one
    // in the subtitle text the colouring and the translator walk.
    std::string srt;
    for (int i = 1; i <= 800; ++i)
        srt += std::to_string(i) + "\r00:00:01,000 --> 00:00:02,000\rHello\r\r";
    hMachine = hMain;
    gl_ENGLISH_TRANSLATION = 1;
    gl_MACHINE_TRANSLATION = 1;
    check(srt);
    ASSERT_EQ(gl_fg_subtitle, 1);
    ASSERT_GT(store1.rec.count(), 2'999u);
    ASSERT_LE(store1S.count(), 2'999u);
    EXPECT_TRUE(last_run.steps & RUN_TR_COLOURING);
    EXPECT_TRUE(last_run.steps & RUN_MACHINE);
}

TEST_F(Run, SubtitleLayoutIsRecognisedInTheCheckerOnly) {
    const char* srt = "1\r00:00:01,000 --> 00:00:02,000\rHello";
    check(srt);
    EXPECT_EQ(std::string(sen_floorR[2].gap), " --> ");
    EXPECT_EQ(gl_fg_subtitle, 1);
    gl_MACHINE_TRANSLATION = 1;
    gl_STRIP_TIMECODE = 1;
    check(srt);
    EXPECT_TRUE(last_run.steps & RUN_SUBTITLE_TEXT);
    EXPECT_TRUE(last_run.steps & RUN_TIME_CODE_FILES);

    Button_SetCheck(hAddSentence, BST_CHECKED);
    gl_fg_subtitle = 0;
    type_entry(srt);
    EXPECT_EQ(gl_fg_subtitle, 0);  // the main window's runs leave the flag alone
    check("1\r00:00:01,000\rHello");
    EXPECT_EQ(gl_fg_subtitle, 0);
}

TEST_F(Run, StoreRKeepsDescribingTheCheckersPanel) {
    check("alpha beta");
    Button_SetCheck(hAddSentence, BST_CHECKED);
    type_entry("gamma");
    EXPECT_EQ(records(store1.rec), (std::vector<Rec>{{"gamma", "", 0}}));
    EXPECT_EQ(records(storeR.rec), (std::vector<Rec>{{"alpha", "", 0}, {"beta", " ", 6}}));
    EXPECT_TRUE(malsenR.owns(sen_floorR[1].text));
    EXPECT_EQ(sen_ndR->pos, 10);
}

TEST_F(Run, UndoHistoryEmptiedAfterAMultiTokenText) {
    RE_SetTextW(hBigReRight, u"");
    headless_type(hBigReRight, u"two words");
    ASSERT_TRUE(RE_CanUndo(hBigReRight));
    run_checker();
    EXPECT_FALSE(RE_CanUndo(hBigReRight));
    RE_SetTextW(hBigReRight, u"");
    headless_type(hBigReRight, u"one");
    run_checker();
    EXPECT_TRUE(RE_CanUndo(hBigReRight));
}

TEST_F(Run, SpellingLogsOpenForClipboardAndFileTexts) {
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(data.path());
    gl_SPELL_CHECKER_LOG = 1;
    check("no logs");
    EXPECT_FALSE(std::filesystem::exists(data.path() / "cyr_all.txt"));

    gl_isFromClipboard = 1;
    gl_isFromFile = 1;
    check("с логове");
    EXPECT_EQ(gl_isFromClipboard, 0);
    EXPECT_EQ(gl_isFromFile, 0);
    EXPECT_EQ(cyr_logs_open, 0);  // closed at the end of the scan
    EXPECT_EQ(fl_cyr_all, nullptr);
    for (const char* name : {"cyr_all.txt", "cyr_missing.txt", "cyr_upper_only.txt", "cyr_lower_only.txt",
                             "cyr_first_upper.txt", "cyr_mixed.txt"})
        EXPECT_TRUE(std::filesystem::exists(data.path() / name)) << name;
    std::filesystem::current_path(here);
}

TEST_F(Run, AChangeDuringARunIsServedOnceAfterIt) {
    gl_TEXT_COLORING = 0;  // the report colours no token, so the selection stays where the user put it
    // The checker window processes its panel on every change, as the real window does.
    big_hook = [&](HWND, const Msg& m) {
        if (m.message == WM_COMMAND && m.code == EN_CHANGE && m.from == hBigReRight) run_checker();
    };
    RE_SetTextW(hBigReRight, words(300));
    RE_SetEventMask(hBigReRight, ENM_CHANGE);
    bool nested_returned_while_running = false;
    std::size_t records_at_change = 0;
    int pumps = 0;
    hs->on_pump = [&] {
        if (++pumps != 2) return;
        // The user types three characters while the run pumps.
        RE_SetSel(hBigReRight, CHARRANGE{0, 0});
        headless_type(hBigReRight, u"x");
        headless_type(hBigReRight, u"y");
        headless_type(hBigReRight, u"z");
        nested_returned_while_running = translate_text_running();
        records_at_change = store1.rec.count();
        RE_SetSel(hBigReRight, CHARRANGE{2, 4});
    };
    run_checker();
    EXPECT_TRUE(nested_returned_while_running);
    EXPECT_EQ(records_at_change, 101u);  // the first run's store was not reset under it
    EXPECT_EQ(last_run.runs, 2);         // one more run for all three changes
    EXPECT_EQ(std::string(sen_floor[0].text), "xyzword");
    EXPECT_EQ(store1.rec.count(), 301u);
    EXPECT_EQ(RE_GetSel(hBigReRight), (CHARRANGE{2, 4}));  // kept round the extra run
    EXPECT_FALSE(translate_text_running());
}

// Fast typing: a key arrives during the first run, and the next key during the run that serves
// the first. Each key must land after the one before, where the caret went.
TEST_F(Run, KeysTypedDuringTheServedRunLandInOrder) {
    gl_TEXT_COLORING = 0;
    big_hook = [&](HWND, const Msg& m) {
        if (m.message == WM_COMMAND && m.code == EN_CHANGE && m.from == hBigReRight) run_checker();
    };
    RE_SetTextW(hBigReRight, words(300));
    RE_SetEventMask(hBigReRight, ENM_CHANGE);
    RE_SetSel(hBigReRight, CHARRANGE{0, 0});
    std::u16string keys = u"abc";
    int pumps = 0;
    hs->on_pump = [&] {
        // One key every other pump, so that each served run sees the next key arrive.
        if (++pumps % 2 != 0 || keys.empty()) return;
        headless_type(hBigReRight, keys.substr(0, 1));
        keys.erase(0, 1);
    };
    run_checker();
    EXPECT_TRUE(keys.empty());
    EXPECT_TRUE(RE_GetTextW(hBigReRight).starts_with(u"abcword")) << utf16_to_utf8(RE_GetTextW(hBigReRight).substr(0, 20));
    EXPECT_EQ(RE_GetSel(hBigReRight), (CHARRANGE{3, 3}));
    EXPECT_FALSE(translate_text_running());
}

// The user clicks and scrolls in the panel while a long run pumps messages, without changing its
// text: the caret and the scroll position stay where the user put them when the run ends.
TEST_F(Run, ACaretMovedOrAScrollDuringTheRunStaysAfterIt) {
    std::u16string text;
    for (int i = 0; i < 200; ++i) text += u"line of words\r";
    RE_SetTextW(hBigReRight, text);
    RE_SetSel(hBigReRight, CHARRANGE{30, 34});
    RE_SetScrollPos(hBigReRight, POINT{0, 120});
    int pumps = 0;
    POINT scrolled{};
    hs->on_pump = [&] {
        if (++pumps != 2) return;
        RE_SetSel(hBigReRight, CHARRANGE{700, 700});
        RE_SetScrollPos(hBigReRight, POINT{0, 400});
        scrolled = RE_GetScrollPos(hBigReRight);
    };
    translate_panel(hBig, hBigReRight, hBigReLeft, big_label(), "debug_IDC_BIG_RE_RIGHT");
    ASSERT_GE(pumps, 2);
    EXPECT_EQ(last_run.runs, 1);
    EXPECT_EQ(RE_GetSel(hBigReRight), (CHARRANGE{700, 700}));
    EXPECT_EQ(RE_GetScrollPos(hBigReRight), scrolled);
}

TEST_F(Run, CallersProtocolKeepsSelectionAndScrollPosition) {
    std::u16string text;
    for (int i = 0; i < 200; ++i) text += u"line of words\r";
    RE_SetTextW(hBigReRight, text);
    RE_SetSel(hBigReRight, CHARRANGE{30, 34});
    RE_SetScrollPos(hBigReRight, POINT{0, 120});
    const POINT scroll = RE_GetScrollPos(hBigReRight);
    translate_panel(hBig, hBigReRight, hBigReLeft, big_label(), "debug_IDC_BIG_RE_RIGHT");
    EXPECT_EQ(RE_GetSel(hBigReRight), (CHARRANGE{30, 34}));
    EXPECT_EQ(RE_GetScrollPos(hBigReRight), scroll);
    EXPECT_EQ(store1.rec.count(), 601u);

    // The run itself also gives the user's selection back once it has coloured the text (input
    // typed while it pumps messages must land at the caret, not in a coloured range).
    RE_SetSel(hBigReRight, CHARRANGE{40, 44});
    run_checker();
    EXPECT_EQ(RE_GetSel(hBigReRight), (CHARRANGE{40, 44}));
}

// The spelling logs when one of them cannot be made (a folder of its name) or written (a full
// disk): the user is told which file is not written, and the check goes on to its end.
TEST_F(Run, SpellingLogThatCannotBeWrittenIsToldByNameAndTheRunGoesOn) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(data.path());
    for (const bool folder : {true, false}) {
        std::filesystem::remove("cyr_all.txt");
        if (folder) std::filesystem::create_directory("cyr_all.txt");
        else std::filesystem::create_symlink("/dev/full", "cyr_all.txt");
        hs->message_boxes.clear();
        gl_SPELL_CHECKER_LOG = 1;
        gl_isFromClipboard = 1;
        check("книгъ");
        ASSERT_EQ(hs->message_boxes.size(), 1u);
        EXPECT_EQ(utf16_to_utf8(hs->message_boxes[0].text),
                  folder ? "\r\nCannot open cyr_all.txt, reason: Is a directory, (errno = 21). This file is not written; "
                           "the work goes on.\r\n"
                         : "Cannot write to cyr_all.txt, reason: No space left on device, (errno = 28)\n");
        EXPECT_FALSE(panel8(hAddReSaved).empty());  // the run's closing line
        EXPECT_TRUE(std::filesystem::exists("cyr_missing.txt"));
    }
    std::filesystem::remove("cyr_all.txt");
    std::filesystem::current_path(here);
}

}  // namespace
