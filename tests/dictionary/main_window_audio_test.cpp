// The main window's audio side over the demonstration lexicon with a small audio archive: the
// button and its label at start, the clip folder emptied and the player started in talking mode,
// the button speaking the focus pane, the talking-mode look-up, and "Make audio file".
#include <string>
#include <vector>

#include "audio/archive.h"
#include "resources/resources.h"
#include "shell/settings.h"
#include "tests/dictionary/main_window_fixture.h"

namespace {

class MainWindowAudio : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        dir_altA = utf8_to_cp1251(data.path().string());
        const std::string able(50, 'a'), about(30, 'b');
        data.write_raw("b_english_ao.txt", audio_index_line("able", 0, able.size()) +
                                               audio_index_line("about", able.size(), about.size()));
        data.write_raw("audio/audio", able + about);
        data.write_raw("audio_ogg/old clip.ogg", "x");
        const auto player = data.write_raw("audiopl/winamp0.exe", "#!/bin/sh\n");
        std::filesystem::permissions(player, std::filesystem::perms::owner_all);
    }
    // Opened and made the active window, as a click on it makes it.
    void open_active() {
        open();
        headless_activate(hMain);
    }
    static RECT rect(int id) { return GetWindowRect(GetDlgItem(hMain, id)); }
    std::vector<std::filesystem::path> clips() const {
        std::vector<std::filesystem::path> out;
        for (const auto& e : std::filesystem::directory_iterator(data.file("audio_ogg")))
            if (e.path().extension() == ".ogg") out.push_back(e.path().filename());
        return out;
    }
};

TEST_F(MainWindowAudio, AtStartTheClipFolderIsEmptiedAndThePlayerStartsInTalkingMode) {
    gl_TALKING_MODE = 1;
    open_active();
    EXPECT_TRUE(clips().empty());
    ASSERT_EQ(hs->programs_started.size(), 1u);
    EXPECT_EQ(hs->programs_started[0].exe, data.file("audiopl/winamp0.exe"));
    EXPECT_TRUE(hs->programs_started[0].minimized);
    EXPECT_EQ(dir_PlayerExeA, dir_altA + "/audiopl/winamp0.exe");

    const HWND button = GetDlgItem(hMain, IDC_ADD_AUDIO_BUTTON);
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_EQ(platform_window(button)->bitmap, HBITMAP{IDB_AUDIO_GREEN});
    for (auto [w, h] : {std::pair{900, 600}, std::pair{500, 350}}) {
        headless_resize(hMain, w, h);
        const RECT status = rect(IDC_ADD_LABEL), label = rect(IDC_ADD_AUDIO_LABEL), b = GetWindowRect(button);
        EXPECT_LE(status.right, label.left);
        EXPECT_LE(label.right, b.left);
        EXPECT_LE(b.right, ClientToScreen(hMain, POINT{GetClientRect(hMain).right, 0}).x);
        EXPECT_LE(b.bottom, rect(IDC_ADD_RE_SAVED).top);
    }
}

TEST_F(MainWindowAudio, WithoutAnAudioIndexTheButtonIsHiddenAndTheClipsStay) {
    std::filesystem::remove(data.file("b_english_ao.txt"));
    open_active();
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(hMain, IDC_ADD_AUDIO_BUTTON)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(hMain, IDC_ADD_AUDIO_LABEL)));
    EXPECT_EQ(clips().size(), 1u);
    EXPECT_TRUE(hs->programs_started.empty());
}

TEST_F(MainWindowAudio, ButtonAndPopupItemSpeakTheFocusPane) {
    open_active();
    set_panel(hAddReSaved, "about able", 6, 10);
    hReFocus = hAddReSaved;
    headless_click(hMain, IDC_ADD_AUDIO_BUTTON);
    EXPECT_EQ(GetDlgItemTextW(hMain, IDC_ADD_AUDIO_LABEL), u"able");
    ASSERT_EQ(hs->programs_started.size(), 1u);
    const auto clip = hs->programs_started[0].args.at(0);
    std::ifstream in(clip, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string(50, 'a'));

    RE_SetSel(hAddReSaved, {0, 5});
    PL_SendCommand(hMain, static_cast<int>(IDM_AUDIO));
    EXPECT_EQ(GetDlgItemTextW(hMain, IDC_ADD_AUDIO_LABEL), u"about");
    EXPECT_EQ(hs->programs_started.size(), 2u);
    RE_SetSel(hAddReSaved, {2, 2});
    headless_click(hMain, IDC_ADD_AUDIO_BUTTON);
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(hs->message_boxes[0].text, u"Първо изберете дума като я кликнете два пъти, после натиснете бутона.");
}

TEST_F(MainWindowAudio, LookUpSpeaksTheWordOnDisplayInTalkingModeOnly) {
    open_active();
    SetFocus(hAddReShort);
    headless_type(hAddReShort, u"able");
    EXPECT_TRUE(clips().empty());
    EXPECT_TRUE(hs->programs_started.empty());
    gl_TALKING_MODE = 1;
    headless_select(hAddReShort, 0, -1);
    headless_type(hAddReShort, u"about");
    EXPECT_EQ(GetDlgItemTextW(hMain, IDC_ADD_AUDIO_LABEL), u"about");
    ASSERT_FALSE(hs->programs_started.empty());
    EXPECT_EQ(hs->programs_started.back().args.at(0), (data.file("audio_ogg") / "about -.ogg").string());
}

TEST_F(MainWindowAudio, MakeAudioFileCommandPacksTheChosenFolder) {
    open_active();
    data.write_raw("clips/hello.ogg", "12345");
    hs->folder_dialog_answers.push_back(data.file("clips"));
    PL_SendCommand(hMain, static_cast<int>(IDM_MAKE_AUDIO_FILE));
    ASSERT_EQ(hs->message_boxes.size(), 2u);
    EXPECT_EQ(hs->message_boxes[1].caption, u"Done!");
    EXPECT_EQ(data.read("b_english_ao_NEW.txt"), audio_index_line("hello", 0, 5));
    EXPECT_EQ(data.read("audio_NEW"), "12345");
}

}  // namespace
