// Pronunciation: the clip line of every kind of word, the variants a word is looked up as, the
// requests that stop early, the clip cut out of the archive and handed to the player, the
// placeholders of words without a clip, damaged indexes and archives, the cleaning of a panel's
// selection and the clip folder's clean-up.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "audio/player.h"
#include "audio/pronunciation.h"
#include "lexicon/wordclass.h"
#include "platform/richedit.h"
#include "shell/settings.h"
#include "tests/audio/audio_fixture.h"

namespace {

constexpr int kPanel = 100;

class Pronunciation : public ClipTest {
protected:
    HWND big{}, panel{};

    void SetUp() override {
        ClipTest::SetUp();
        install_archive(B_ENGLISH_AO, "audio",
                        {{"apple", clip_bytes('a', 40)}, {"happy", clip_bytes('h', 30)}, {"quick", clip_bytes('q', 20)},
                         {"dog", clip_bytes('d', 10)}, {"child", clip_bytes('c', 25)}, {"go", clip_bytes('g', 15)},
                         {"ice_cream", clip_bytes('i', 12)}});
        install_archive(B_ENGLISH_AO2, "audio2", {{"ябълка", clip_bytes('A', 33)}});
        load_b(B_EN_BG, {"children pl. of child", "went pt of go", "fly муха", "quick бърз"});
        load_c(0, {"apple ябълка"});
        load_c(C_HARD, {"quickly бързо", "stone камък"});
        load_c(C_HARD3, {"stone", "pear"});
    }
    void TearDown() override {
        hBig = HWND{};
        ClipTest::TearDown();
    }
    // A stand-in of the text-checker window: a panel, the status line, the audio button and its label.
    void open_checker() {
        DialogTemplate t;
        t.caption = u"Checker";
        t.cx = 300;
        t.cy = 200;
        t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
        const DWORD shown = WS_CHILD | WS_VISIBLE;
        t.controls.push_back(ControlTemplate{ControlKind::RichEdit, kPanel, u"", 5, 5, 200, 100, shown | ES_MULTILINE, 0});
        t.controls.push_back(ControlTemplate{ControlKind::Label, IDC_BIG_LABEL, u"busy", 5, 110, 200, 10, shown, 0});
        t.controls.push_back(ControlTemplate{ControlKind::PushButton, 1271, u"", 210, 5, 20, 20, shown | BS_BITMAP, 0});
        t.controls.push_back(ControlTemplate{ControlKind::Label, 1276, u"", 210, 30, 80, 10, shown, 0});
        big = hBig = CreateDialogIndirect(t, {}, [](HWND, const Msg&) -> INT_PTR { return 0; });
        panel = GetDlgItem(big, kPanel);
    }
    std::string label() const { return utf16_to_utf8(GetDlgItemTextW(big, 1276)); }
    HBITMAP button_bitmap() const { return platform_window(GetDlgItem(big, 1271))->bitmap; }
    std::string said(std::u16string_view text, LONG from, LONG to) {
        RE_SetTextW(panel, text);
        RE_SetSel(panel, {from, to});
        SetDlgItemTextW(big, 1276, u"");
        GetCleanTokenAudio(panel);
        return label();
    }
};

TEST_F(Pronunciation, ClipLinesFollowTheFormatTable) {
    struct Row {
        std::string_view w, k;
        int without_h, no_bg;
        std::string_view line;
    };
    const Row rows[] = {
        {"stone", "", 0, 0, "stone камък (Hh)"},  // hard and hard3
        {"stone", "", 1, 0, "stone камък"},
        {"quickly", "", 0, 0, "quickly бързо (H)"},
        {"quickly", "quick", 0, 0, "quickly (quick) бързо (H)"},
        {"quickly", "quick", 1, 0, "quickly (quick) бързо"},
        {"pear", "", 0, 0, "pear (h) -"},
        {"pear", "apple", 0, 0, "pear (h) - (apple  ябълка n; )"},  // labels of K
        {"pear", "happy", 0, 0, "pear (h) (happy) --"},
        {"apple", "", 0, 0, "apple ябълка n; "},
        {"apple", "happy", 0, 0, "apple (happy) ябълка n; "},       // labels of W
        {"happily", "apple", 0, 0, "happily - (apple  ябълка n; )"},
        {"happily", "happy", 0, 0, "happily (happy) --"},
        {"zebra", "", 0, 0, "zebra -"},
        {"happily", "happy", 0, 1, "happily (happy)"},
        {"stone", "", 0, 1, "stone"},
        {"ябълка", "", 0, 0, "ябълка"},
    };
    for (const Row& r : rows) {
        gl_AUDIO_OGG_WITHOUT_H = static_cast<std::int8_t>(r.without_h);
        gl_AUDIO_OGG_NO_BG = static_cast<std::int8_t>(r.no_bg);
        EXPECT_EQ(cp1251_to_utf8(audio_clip_line(utf8_to_cp1251(r.w), r.k)), r.line) << r.w << " / " << r.k;
    }
}

TEST_F(Pronunciation, WordsAreFoundDirectlyOrThroughTheirOneVariant) {
    gl_from_audio_button = 1;
    struct Row {
        std::string_view w;
        std::string_view request;  // the request log's line
        std::string_view clip;     // the clip file's name ("" none)
        char tag;                  // the clip's first byte
    };
    const Row rows[] = {
        {"apple", "apple ябълка n; ", "apple ябълка n; .ogg", 'a'},
        {"APPLE", "APPLE ябълка n; ", "APPLE ябълка n; .ogg", 'a'},  // found without regard to case
        {"happily", "happily (happy) --", "happily (happy) --.ogg", 'h'},
        {"happiness", "happiness (happy) --", "happiness (happy) --.ogg", 'h'},
        {"quickly", "quickly (quick) бързо (H)", "quickly (quick) бързо (H).ogg", 'q'},
        {"dog's", "dog's (dog) --", "dog's (dog) --.ogg", 'd'},
        {"dog'LL", "dog'LL (dog) --", "dog'LL (dog) --.ogg", 'd'},
        {"children", "children (child) --", "children (child) --.ogg", 'c'},
        {"went", "went (go) --", "went (go) --.ogg", 'g'},
        {"ice_cream", "ice_cream -", "ice_cream -.ogg", 'i'},
        {"ябълка", "ябълка", "ябълка.ogg", 'A'},
        {"dog't", "_ dog't -", "", 0},  // no variant for 't: the dictionary has no entry
        {"holy", "_ holy -", "", 0},     // too short for the -ly rule
        {"fly", "_ fly -", "", 0},       // a dictionary entry without a cross-reference
        {"круша", "__ круша", "", 0},
    };
    for (const Row& r : rows) {
        std::filesystem::remove_all(data.file("audio_ogg"));
        const std::string w = utf8_to_cp1251(r.w);
        EXPECT_EQ(say_word(w), r.tag ? 1 : 0) << r.w;
        EXPECT_EQ(requests(), std::vector<std::string>{std::string(r.request)}) << r.w;
        if (r.clip.empty()) {
            EXPECT_TRUE(std::filesystem::exists(ogg(r.request))) << "placeholder of " << r.w;
            continue;
        }
        const std::string clip = file_bytes(ogg(r.clip));
        ASSERT_FALSE(clip.empty()) << r.w;
        EXPECT_EQ(clip[0], r.tag) << r.w;
    }
    // A long line makes a clip name of exactly 200 characters.
    const std::string long_key(250, 'l');
    install_archive(B_ENGLISH_AO, "audio", {{long_key, clip_bytes('l', 5)}});
    EXPECT_EQ(say_word(long_key), 1);
    EXPECT_EQ(file_bytes(ogg(std::string(196, 'l') + ".ogg")), clip_bytes('l', 5));
}

TEST_F(Pronunciation, RequestsThatStopAtOnceLeaveNoTrace) {
    load_b(B_AUDIO_SKIP, {"apple"});
    gl_TALKING_MODE = 1;
    struct Row {
        std::string_view w;
        std::int8_t say, digits, skip, nolatin;
    };
    const Row rows[] = {
        {"apple", 0, 0, 0, 1}, {"", 1, 0, 0, 1},   {"1984", 1, 0, 0, 1},
        {"12-3", 1, 0, 0, 1},  {"apple", 1, 0, 1, 1}, {"ябълка", 1, 0, 0, 0},
    };
    for (const Row& r : rows) {
        gl_say_word = r.say, gl_AUDIO_DIGITS_ONLY = r.digits, gl_AUDIO_SKIP = r.skip, gl_AUDIO_NOLATIN = r.nolatin;
        const std::int32_t index = gl_ogg_index;
        EXPECT_EQ(say_word(utf8_to_cp1251(r.w)), 0) << r.w;
        EXPECT_EQ(gl_ogg_index, index) << r.w;
        EXPECT_FALSE(std::filesystem::exists(data.file("audio_ogg"))) << r.w;
    }
    gl_say_word = 1, gl_AUDIO_DIGITS_ONLY = 1, gl_AUDIO_SKIP = 0, gl_AUDIO_NOLATIN = 1;
    EXPECT_EQ(say_word("1984"), 0);  // spoken when asked for: not found, logged
    EXPECT_EQ(requests(), std::vector<std::string>{"___ 1984"});
    b[B_ENGLISH_AO].count = b[B_ENGLISH_AO2].count = 0;  // no index: nothing at all
    EXPECT_EQ(say_word("apple"), 0);
    EXPECT_EQ(requests().size(), 1u);
}

TEST_F(Pronunciation, WordsWithoutAClipLeaveSafePlaceholders) {
    load_c(0, {"apple ябълка", "zoo a/b"});
    const std::string long_word(192, 'x');
    for (std::string_view w : {std::string_view("con"), std::string_view("CON"), std::string_view("Lpt1"),
                               std::string_view("what?"), std::string_view("a:b"), std::string_view(long_word)}) {
        EXPECT_EQ(say_word(w), 0) << w;
        EXPECT_FALSE(std::filesystem::exists(data.file("audio_ogg"))) << w;
    }
    say_word("zoo");  // a rendering with '/' never leads out of the clip folder
    EXPECT_TRUE(std::filesystem::exists(ogg("_ zoo a b n; ")));
    gl_AUDIO_TEXT_ONLY = 1;
    say_word("zebra");
    EXPECT_FALSE(std::filesystem::exists(ogg("_ zebra -")));
    EXPECT_EQ(requests(), (std::vector<std::string>{"_ zoo a/b n; ", "_ zebra -"}));
    EXPECT_EQ(gl_ogg_index, 9);  // counted from 1: every request past the first checks, refused names too
}

TEST_F(Pronunciation, FoundClipsArePlayedOnlyWhenAskedFor) {
    install_player();
    open_checker();
    EXPECT_EQ(say_word("apple"), 1);  // not asked for: the button and label only
    EXPECT_EQ(label(), "apple");
    EXPECT_EQ(button_bitmap(), HBITMAP{130});
    EXPECT_FALSE(std::filesystem::exists(data.file("audio_ogg")));
    say_word("zebra");
    EXPECT_EQ(label(), "zebra");
    EXPECT_EQ(button_bitmap(), HBITMAP{129});

    gl_TALKING_MODE = 1;
    gl_AUDIO_REPEAT = 1;
    gl_AUDIO_OGG_INDEX = 1;
    gl_ogg_index = 250;
    const int pumps = hs->pump_calls;
    say_word("apple");
    EXPECT_GT(hs->pump_calls, pumps);  // every 250th request lets the windows breathe
    const auto clip = ogg("000250  apple ябълка n; .ogg");
    EXPECT_EQ(file_bytes(clip), clip_bytes('a', 40));
    ASSERT_EQ(hs->programs_started.size(), 2u);  // played twice
    EXPECT_EQ(hs->programs_started[0].exe, data.file("audiopl/winamp0.exe"));
    EXPECT_EQ(hs->programs_started[0].args, std::vector<std::string>{clip.string()});

    gl_AUDIO_REPEAT = 0;
    gl_AUDIO_GER = 1;  // made, not played
    say_word("dog");
    EXPECT_EQ(hs->programs_started.size(), 2u);
    gl_AUDIO_GER = 0;
    std::filesystem::remove(data.file("audiopl/winamp0.exe"));  // no player: the desktop opens the clip
    say_word("go");
    ASSERT_EQ(hs->shell_opened.size(), 1u);
    EXPECT_EQ(hs->shell_opened[0], ogg("000252  go -.ogg").string());

    // Nothing on the desktop plays the clip: the user is told once, even with the repeat on.
    gl_AUDIO_REPEAT = 1;
    hs->shell_open_fails = true;
    hs->message_boxes.clear();
    say_word("apple");
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_TRUE(utf16_to_utf8(hs->message_boxes[0].text)
                    .starts_with("Cannot open " + ogg("000253  apple ябълка n; .ogg").string()));
    EXPECT_EQ(hs->message_boxes[0].caption, u"Oops!");
}

TEST_F(Pronunciation, SecondClipAndPauseAreAppended) {
    gl_TALKING_MODE = gl_AUDIO_BG_AFTER_EN = gl_AUDIO_MAKE_LONG = 1;
    data.write("audio/_silence.ogg", "....");
    say_word("apple");  // its rendering ябълка has a clip of its own
    EXPECT_EQ(file_bytes(ogg("apple ябълка n; .ogg")), clip_bytes('a', 40) + clip_bytes('A', 33) + "....");
    std::filesystem::remove(data.file("audio/audio2"));
    std::filesystem::remove(data.file("audio/_silence.ogg"));
    say_word("apple");
    EXPECT_EQ(file_bytes(ogg("apple ябълка n; .ogg")), clip_bytes('a', 40));  // still made without them
    EXPECT_EQ(boxes(), (std::vector<std::string>{"Българският аудиофайл липса в папката audio!",
                                                 "Файлът _silence.ogg липсва в папката audio!"}));
}

TEST_F(Pronunciation, MissingOrDamagedArchivesAreShownAndNothingIsPlayed) {
    install_player();
    gl_TALKING_MODE = 1;
    std::filesystem::remove(data.file("audio/audio"));
    say_word("apple");  // no archive file: nothing shown
    EXPECT_TRUE(boxes().empty());
    data.write("audio/audio", "short");  // the index points past its end
    say_word("happy");
    load_b(B_ENGLISH_AO, {"apple 5 3"});  // a negative offset and size
    say_word("apple");
    EXPECT_EQ(boxes(), (std::vector<std::string>{
                           "The audio index entry of \"happy\" points past the end of the archive \"audio\".",
                           "The audio index entry of \"apple\" is damaged."}));
    EXPECT_FALSE(std::filesystem::exists(ogg("happy -.ogg")));
    std::filesystem::remove_all(data.file("audio"));
    say_word("apple");
    EXPECT_EQ(boxes().back(), "Папката \"audio\" липсва!");
    EXPECT_TRUE(hs->programs_started.empty());
    // A clip folder that cannot be made is shown once.
    std::filesystem::remove_all(data.file("audio_ogg"));
    data.write("audio_ogg", "a file in its place");
    const std::size_t shown = boxes().size();
    say_word("zebra");
    say_word("zebu");
    ASSERT_EQ(boxes().size(), shown + 1);
    EXPECT_EQ(boxes().back().rfind("Cannot create folder ", 0), 0u);
}

TEST_F(Pronunciation, SelectionIsCleanedBeforeItIsSpoken) {
    open_checker();
    gl_AUDIO_BG_TO_EN = 1;
    load_b(B_BULGARIAN_ENGLISH, {"круша pear"});
    const std::u16string s127(127, u'x'), s128(128, u'x');
    const std::string x127(127, 'x');
    struct Row {
        std::u16string_view text;
        LONG from, to;
        std::string_view said;  // the word label afterwards ("" nothing spoken)
    };
    const Row rows[] = {
        {u"  \"ice   cream\"\r", 0, -1, "ice_cream"},
        {u"a \u201Cdog\u201D b", 2, 7, "dog"},
        {u"broken-\rword", 0, -1, "broken-word"},
        {u"two\rlines\tand tab", 0, -1, "two_lines_and_tab"},
        {u"it\u2019s", 0, -1, "it's"},
        {u"круша", 0, -1, "pear"},
        {u"ябълка", 0, -1, ""},  // Bulgarian without an English rendering
        {s127, 0, -1, x127},
        {s128, 0, -1, ""},
        {u"\r\r", 0, -1, ""},
        {u"word", 2, 2, ""},
    };
    for (const Row& r : rows) EXPECT_EQ(said(r.text, r.from, r.to), r.said) << utf16_to_utf8(r.text);
    EXPECT_TRUE(boxes().empty());
    said(u"круша", 0, -1);  // the English rendering is shown in the status line
    EXPECT_EQ(utf16_to_utf8(GetDlgItemTextW(big, IDC_BIG_LABEL)), "pear");

    gl_AUDIO_BG_TO_EN = 0;  // the Bulgarian index speaks Bulgarian text itself
    EXPECT_EQ(said(u"ябълка", 0, -1), "ябълка");
}

TEST_F(Pronunciation, AudioButtonSpeaksTheFocusPane) {
    open_checker();
    hReFocus = panel;
    RE_SetTextW(panel, u"apple");
    RE_SetSel(panel, {0, 0});
    AudioFromMenuOrButton();
    EXPECT_EQ(boxes(), std::vector<std::string>{"Първо изберете дума като я кликнете два пъти, после натиснете бутона."});
    EXPECT_EQ(gl_from_audio_button, 0);
    RE_SetSel(panel, {0, 5});
    SetFocus(HWND{});
    AudioFromMenuOrButton();
    EXPECT_EQ(GetFocus(), panel);
    EXPECT_EQ(gl_from_audio_button, 0);
    EXPECT_EQ(file_bytes(ogg("apple ябълка n; .ogg")), clip_bytes('a', 40));  // asked for: played
    RE_SetSel(panel, {0, 0});
    GetCleanTokenAudio(panel);  // not from a button: an empty selection is no error
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(Pronunciation, PlayerStartsInTalkingModeAndOnlyOurPlayersAreClosed) {
    install_player();
    EXPECT_FALSE(start_player_at_startup());  // talking mode off
    gl_TALKING_MODE = 1;
    ASSERT_TRUE(start_player_at_startup());
    ASSERT_EQ(hs->programs_started.size(), 1u);
    EXPECT_TRUE(hs->programs_started[0].minimized);
    EXPECT_TRUE(hs->programs_started[0].args.empty());
    say_word("apple");  // the clip's player is a child of ours too
    close_audio_players();
    EXPECT_EQ(hs->programs_closed, (std::vector<int>{1, 2}));
    close_audio_players();  // forgotten once closed
    EXPECT_EQ(hs->programs_closed.size(), 2u);
    std::filesystem::permissions(data.file("audiopl/winamp0.exe"), std::filesystem::perms::owner_read);
    EXPECT_FALSE(start_player_at_startup());  // not executable: no player
}

TEST_F(Pronunciation, ClipFolderIsEmptiedOfFilesOnly) {
    data.write("audio_ogg/a.ogg", "x");
    data.write("audio_ogg/___date.txt", "x");
    data.write("audio_ogg/keep/b.ogg", "x");
    b[B_ENGLISH_AO].count = b[B_ENGLISH_AO2].count = 0;
    empty_ogg_folder();  // no index loaded: left alone
    EXPECT_TRUE(std::filesystem::exists(ogg("a.ogg")));
    b[B_ENGLISH_AO2].count = 1;
    empty_ogg_folder();
    EXPECT_FALSE(std::filesystem::exists(ogg("a.ogg")));
    EXPECT_FALSE(std::filesystem::exists(ogg("___date.txt")));
    EXPECT_TRUE(std::filesystem::exists(ogg("keep/b.ogg")));
}

}  // namespace
