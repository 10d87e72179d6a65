// The main window over the demonstration lexicon: its layout, the look-up as you type (English
// entries, Bulgarian word forms, the search log, the buttons during a run), bad input in the entry
// box, a search log that cannot be opened, and the close path.
#include <functional>
#include <string>
#include <vector>

#include "dictionary/main_window.h"
#include "engine/lookup_state.h"
#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "resources/resources.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "shell/panels.h"
#include "shell/ui_services.h"
#include "shell/settings.h"
#include "shell/window_state.h"
#include "spelling/spell_state.h"
#include "support/panel_dump.h"
#include "tests/dictionary/main_window_fixture.h"

namespace {

class MainWindow : public MainWindowTest {
protected:
    // Types into the entry box key by key, as the user does.
    static void type(std::u16string_view text) {
        SetFocus(hAddReShort);
        headless_type(hAddReShort, text);
    }
    static void replace_entry(std::u16string_view text) {
        headless_select(hAddReShort, 0, -1);
        headless_type(hAddReShort, text);
    }
    static std::vector<std::string> lines(HWND re) { return jux_test::panel_lines(re); }
    static RECT rect(int id) { return GetWindowRect(GetDlgItem(hMain, id)); }
};

TEST_F(MainWindow, ItsControlsAreWhereAPersonLooksForThem) {
    open();
    EXPECT_EQ(GetWindowTextW(hMain), JUXtitle);
    for (HWND h : {hAddReShort, hAddReShortCopy, hAddReSaved, hAddReDict, hAddReShort3, hAddReBg, hAddReLong,
                   hAddReHyphen, hAddLabel, hAddSentence, hAddTransSir, hAddBigSpell, hAddBigTrans})
        EXPECT_TRUE(IsWindow(h));
    EXPECT_TRUE(hs->message_boxes.empty());
    EXPECT_EQ(hMessagePanel, hAddReSaved);
    EXPECT_EQ(Button_GetCheck(hAddSentence), BST_CHECKED);
    for (HWND hidden : {hAddReShortCopy, hAddReLong, hAddTransSir}) EXPECT_FALSE(IsWindowVisible(hidden));

    for (auto [w, h] : {std::pair{900, 600}, std::pair{1400, 900}, std::pair{500, 350}}) {
        headless_resize(hMain, w, h);
        const RECT client = GetClientRect(hMain);
        const POINT origin = ClientToScreen(hMain, POINT{0, 0});
        const RECT entry = rect(IDC_ADD_RE_SHORT), saved = rect(IDC_ADD_RE_SAVED), dict = rect(IDC_ADD_RE_DICT);
        const RECT bg = rect(IDC_ADD_RE_BG), corpus = rect(IDC_ADD_RE_HYPHEN), short3 = rect(IDC_ADD_RE_SHORT3);
        // The entry box on top, the entry panel under it beside the dictionary, the small panes
        // under the entry panel, everything inside the window.
        EXPECT_LT(entry.bottom, saved.top);
        EXPECT_LE(dict.right, saved.left);
        EXPECT_LE(saved.bottom, bg.top);
        EXPECT_LE(bg.right, corpus.left);
        EXPECT_LE(corpus.right, short3.left);
        EXPECT_LE(short3.right, origin.x + client.right);
        EXPECT_LE(dict.bottom, origin.y + client.bottom);
        EXPECT_GT(saved.width(), w / 3);
        EXPECT_GT(saved.height(), h / 3);
        EXPECT_GT(entry.width(), 100);
        EXPECT_LE(rect(IDC_ADD_BIG_TRANS).right, origin.x + client.right);
    }

    // A narrow window: the entry box keeps a usable width and nothing covers it.
    headless_resize(hMain, 400, 350);
    const RECT entry = rect(IDC_ADD_RE_SHORT);
    EXPECT_GE(entry.width(), 150);
    for (int id : {IDC_ADD_SENTENCE, IDC_ADD_UPDATE_DEFINITION_AFTER_ADD, IDC_ADD_BIG_SPELL, IDC_ADD_BIG_TRANS}) {
        const RECT r = rect(id);
        EXPECT_TRUE(r.top >= entry.bottom || r.left >= entry.right) << id;
        EXPECT_LT(r.bottom, rect(IDC_ADD_RE_SAVED).top) << id;
    }
}

TEST_F(MainWindow, TypingAWordShowsItsEntryAndKeepsTheBox) {
    open();
    type(u"apple");
    EXPECT_EQ(RE_GetTextW(hAddReShort), u"apple");
    EXPECT_EQ(RE_GetSel(hAddReShort), (CHARRANGE{5, 5}));  // the caret where the user left it
    const std::vector<std::string> entry = lines(hAddReSaved);
    ASSERT_GE(entry.size(), 3u);
    EXPECT_EQ(entry[0], "apple [æpl] n 1. ябълка 1688");
    EXPECT_EQ(entry[2], "apple the round fruit of a tree of the rose family");
    const CHARFORMAT2W word = RE_GetCharFormatAt(hAddReSaved, 0);
    EXPECT_EQ(word.crTextColor, RGB(170, 0, 255));
    // The dictionary panel is scrolled to the word, which is red.
    const std::u16string dict = RE_GetTextW(hAddReDict);
    const std::size_t at = dict.find(u"\rapple ");
    ASSERT_NE(at, std::u16string::npos);
    EXPECT_EQ(RE_GetCharFormatAt(hAddReDict, static_cast<LONG>(at + 1)).crTextColor, RGB(255, 0, 41));
    EXPECT_GT(RE_GetFirstVisibleLine(hAddReDict), 0);
    EXPECT_NE(panel_text(hAddReHyphen).find("apple -> ябълка"), std::string::npos);  // corpus line
    EXPECT_TRUE(IsWindowEnabled(hAddBigSpell));
    EXPECT_TRUE(IsWindowEnabled(hAddBigTrans));

    // A definition with numbered senses and parts of speech.
    replace_entry(u"about");
    EXPECT_EQ(lines(hAddReSaved).at(0), "about prep 1. за, относно I. adv 1. около, приблизително 16");

    // The search log notes the finished words when the program ends.
    hs->message_box_answers.clear();
    headless_close(hMain);
    EXPECT_EQ(data.read(kSearchLogName), "//RECENT SEARCHES:\r\n\r\napple\r\nabout\r\n");
}

TEST_F(MainWindow, ABulgarianWordFormShowsItsLemmaAndParadigm) {
    open();
    type(u"книгите");
    EXPECT_EQ(lines(hAddReSaved).at(0), "книгите 251 (книга 41 noun suf:3)");
    const std::vector<std::string> bg = lines(hAddReBg);
    ASSERT_GE(bg.size(), 5u);
    EXPECT_EQ(bg[0], "книга 41 noun");
    EXPECT_NE(panel_text(hAddReBg).find("книгите  мн.ч. с член  <"), std::string::npos);
    const std::u16string dict = RE_GetTextW(hAddReDict);
    const std::size_t at = dict.find(u"\rкнигите ");
    ASSERT_NE(at, std::u16string::npos);
    EXPECT_EQ(RE_GetCharFormatAt(hAddReDict, static_cast<LONG>(at + 1)).crTextColor, RGB(255, 0, 0));

    replace_entry(u"книга");
    EXPECT_EQ(utf16_to_utf8(GetWindowTextW(hAddLabel)), "book");

    // Without "Word by word" a Cyrillic text is not looked up: the panes stay as they were.
    headless_click(hAddSentence);
    EXPECT_EQ(Button_GetCheck(hAddSentence), BST_UNCHECKED);
    replace_entry(u"куче");
    EXPECT_EQ(lines(hAddReBg).at(0), "книга 41 noun");
    replace_entry(u"apple");
    EXPECT_EQ(lines(hAddReSaved).at(0), "apple [æpl] n 1. ябълка 1688");
}

TEST_F(MainWindow, TheWindowButtonsWaitForTheRunAndAChangeDuringItIsServedAfter) {
    open();
    std::vector<bool> enabled_during;
    int changes = 0;
    hs->on_pump = [&] {
        enabled_during.push_back(IsWindowEnabled(hAddBigSpell) || IsWindowEnabled(hAddBigTrans));
        if (changes++ == 0) headless_type(hAddReShort, u"s");  // the user types while the run pumps
    };
    type(u"apple");
    hs->on_pump = nullptr;
    ASSERT_FALSE(enabled_during.empty());
    for (bool e : enabled_during) EXPECT_FALSE(e);
    EXPECT_TRUE(IsWindowEnabled(hAddBigSpell));
    EXPECT_TRUE(IsWindowEnabled(hAddBigTrans));
    EXPECT_FALSE(translate_text_running());
    // The letter typed during the first run went where the caret was, and the caret stayed after it.
    EXPECT_EQ(RE_GetTextW(hAddReShort), u"aspple");
    EXPECT_EQ(RE_GetSel(hAddReShort), (CHARRANGE{6, 6}));
}

// The user types into the entry box while another panel's run (the text checker's) pumps: the
// look-up is served after that run, and the window's buttons come back with it.
TEST_F(MainWindow, ALookUpServedAfterAnotherPanelsRunGivesTheButtonsBack) {
    open();
    HWND other = PL_CreateControl(hMain, ControlKind::RichEdit, 4242, u"", RECT{0, 0, 100, 100}, WS_CHILD | ES_MULTILINE);
    RE_SetTextW(other, u"apple pie and more apple pie");
    respond_token = 2;
    int pumps = 0;
    hs->on_pump = [&] {
        if (++pumps == 1) type(u"apple");
    };
    translate_panel(hMain, other, hAddReShort3, hAddLabel, "other");
    hs->on_pump = nullptr;
    EXPECT_FALSE(translate_text_running());
    EXPECT_EQ(lines(hAddReSaved).at(0), "apple [æpl] n 1. ябълка 1688");  // the look-up was served
    EXPECT_TRUE(IsWindowEnabled(hAddBigSpell));
    EXPECT_TRUE(IsWindowEnabled(hAddBigTrans));
}

// The Cancel button stops a long look-up at the next token: the words cut so far are reported,
// the next look-up runs whole.
TEST_F(MainWindow, CancelStopsALongLookUp) {
    open();
    EXPECT_EQ(utf16_to_utf8(GetWindowTextW(GetDlgItem(hMain, IDC_ADD_CANCEL))), "Cancel");
    std::u16string text;
    for (int i = 0; i < 500; ++i) text += u"apple pie ";
    respond_token = 10;
    int pumps = 0;
    hs->on_pump = [&] {
        if (++pumps == 3) headless_click(hMain, IDC_ADD_CANCEL);
    };
    RE_SetEventMask(hAddReShort, 0);
    RE_SetTextW(hAddReShort, text);
    RE_SetEventMask(hAddReShort, ENM_CHANGE);
    look_up_entry_box(hMain);
    hs->on_pump = nullptr;
    EXPECT_TRUE(last_run.cancelled);
    EXPECT_EQ(last_run.processed, 21u);  // pumps before tokens 1, 11 and 21
    EXPECT_EQ(lines(hAddReSaved).back(), "DONE! 21 words found (5000 characters)");
    type(u"x");
    EXPECT_FALSE(last_run.cancelled);
    EXPECT_EQ(last_run.processed, 1001u);  // the typed word after the last blank
}

TEST_F(MainWindow, TheSelectionAndScrollOfTheBoxAreKeptRoundALookUp) {
    open();
    std::u16string text;
    for (int i = 0; i < 60; ++i) text += u"apple pie\r";
    RE_SetEventMask(hAddReShort, 0);
    RE_SetTextW(hAddReShort, text);
    RE_SetEventMask(hAddReShort, ENM_CHANGE);
    RE_SetSel(hAddReShort, CHARRANGE{12, 15});
    RE_SetScrollPos(hAddReShort, POINT{0, 40});
    const POINT scroll = RE_GetScrollPos(hAddReShort);
    look_up_entry_box(hMain);
    EXPECT_EQ(RE_GetSel(hAddReShort), (CHARRANGE{12, 15}));
    EXPECT_EQ(RE_GetScrollPos(hAddReShort), scroll);
    EXPECT_EQ(last_run.processed, 121u);  // 120 words and the last line end's record
}

TEST_F(MainWindow, BadInputInTheEntryBox) {
    open();
    // A megabyte pasted: cut into words, counted, no entry looked up.
    std::u16string big;
    while (big.size() < 1'048'576) big += u"apple and ";
    big.resize(1'048'576);
    PL_SetClipboardTextW(big);
    SetFocus(hAddReShort);
    headless_paste(hAddReShort);
    EXPECT_EQ(RE_GetTextLength(hAddReShort), 1'048'576);
    EXPECT_FALSE(last_run.steps & RUN_ENTRY_DISPLAY);
    EXPECT_EQ(lines(hAddReSaved).back(), "DONE! 209715 words found (1048576 characters)");
    // The same text without "Word by word": too long to be looked up, nothing shown.
    headless_click(hAddSentence);
    RE_SetTextW(hAddReSaved, u"");
    look_up_entry_box(hMain);
    EXPECT_EQ(panel_text(hAddReSaved), "");

    // Blanks only: the dictionary's start is shown, no entry.
    replace_entry(u"     ");
    EXPECT_EQ(panel_text(hAddReSaved), "");
    EXPECT_TRUE(last_run.steps & RUN_ENTRY_DISPLAY);
    EXPECT_EQ(RE_GetSel(hAddReDict), (CHARRANGE{0, 2}));

    // Characters outside code page 1251: they never match a word; nothing breaks.
    replace_entry(u"apple\U0001F600");
    EXPECT_EQ(panel_text(hAddReSaved), "");
    replace_entry(u"日本");
    EXPECT_EQ(panel_text(hAddReSaved), "");
    replace_entry(u"apple");
    EXPECT_EQ(lines(hAddReSaved).at(0), "apple [æpl] n 1. ябълка 1688");
    EXPECT_TRUE(hs->message_boxes.empty());
}

TEST_F(MainWindow, ASearchLogThatCannotBeOpenedIsReportedAndTheLookUpGoesOn) {
    std::filesystem::create_directories(data.path() / kSearchLogName);  // a folder in its place
    open();
    ASSERT_EQ(hs->message_boxes.size(), 1u);
    EXPECT_EQ(hs->message_boxes[0].caption, u"Oops!");
    EXPECT_TRUE(hs->message_boxes[0].text.starts_with(u"Cannot open "));
    EXPECT_EQ(nologfile_fg, 1);
    type(u"apple");
    EXPECT_EQ(lines(hAddReSaved).at(0), "apple [æpl] n 1. ябълка 1688");
    headless_close(hMain);
    EXPECT_EQ(hs->message_boxes.size(), 1u);
}

TEST_F(MainWindow, ClosingWritesWhatWasGatheredAndRemovesTheIcon) {
    open();
    nid.hWnd = hMain;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, nid));
    gl_icon_exists = 1;
    DictFileRecord& fresh = b[B_BULGARIAN_NEW];
    fresh.entries.push_back(ListPair{lex_keep(cp("новодума")), {}});
    fresh.count = fresh.entries.size();
    type(u"apple");
    headless_close(hMain);
    EXPECT_EQ(data.read("b_bulgarian_new.txt"), cp("новодума") + "\r\n");
    EXPECT_EQ(data.read(kSearchLogName), "//RECENT SEARCHES:\r\n\r\napple\r\n");
    EXPECT_EQ(gl_icon_exists, 0);
    EXPECT_EQ(hs->tray_calls.back().op, DWORD{NIM_DELETE});
    EXPECT_FALSE(IsWindowVisible(hMain));
    EXPECT_EQ(fl_searchlog, nullptr);

    // Nothing gathered: the file is left alone.
    std::filesystem::remove(data.file("b_bulgarian_new.txt"));
    EXPECT_EQ(write_new_bulgarian_words(), 0);
    EXPECT_FALSE(data.exists("b_bulgarian_new.txt"));
}

// The window goes away while a run pumps messages (the user closes it, the program destroys
// it): the run ends without touching what went with it, and nothing is served for the dead box.
TEST_F(MainWindow, TheWindowDestroyedDuringALookUp) {
    open();
    respond_token = 2;
    int pumps = 0;
    hs->on_pump = [&] {
        ++pumps;
        if (pumps == 1) headless_type(hAddReShort, u"x");  // a change to serve after the run
        if (pumps == 2) DestroyWindow(hMain);
    };
    RE_SetEventMask(hAddReShort, 0);
    RE_SetTextW(hAddReShort, u"apple pie and apple");
    RE_SetEventMask(hAddReShort, ENM_CHANGE);
    look_up_entry_box(hMain);
    hs->on_pump = nullptr;
    EXPECT_GE(pumps, 2);
    EXPECT_FALSE(IsWindow(hMain));
    EXPECT_FALSE(translate_text_running());
    EXPECT_EQ(last_run.runs, 1);
    EXPECT_EQ(fl_searchlog, nullptr);
    for (HWND h : {hAddReShort, hAddReSaved, hAddReDict, hAddLabel, hAddBigSpell, hAddBigTrans}) EXPECT_FALSE(h);
}

TEST_F(MainWindow, ActivationAndTheLookUpAtTheCaretFlag) {
    open();
    gl_SPELLING_MODE = 1;
    headless_activate(hMain);
    EXPECT_EQ(gl_SPELLING_MODE, 0);
    const int runs = last_run.runs;
    gl_info_printed = 1;
    type(u"a");  // the look-up at the caret wrote here: this change runs nothing
    EXPECT_EQ(gl_info_printed, 0);
    EXPECT_EQ(last_run.runs, runs);
    type(u"b");
    EXPECT_EQ(last_run.runs, runs + 1);
}

// The clipboard watch looks up what other programs copy, while the option says so; the program's
// own copies are left alone. A file dropped on the window is looked up in the entry box.
TEST_F(MainWindow, CopiedTextAndDroppedFilesAreLookedUp) {
    open();
    SetClipboardViewer(hMain);
    struct Step {
        const char* what;
        std::int8_t translate;
        std::function<void()> act;
        std::u16string box;  // the entry box afterwards
    };
    const std::vector<Step> steps = {
        {"another program copies", 1, [] { headless_copy_from_outside(u"apple"); }, u"apple"},
        {"the option is off", 0, [] { headless_copy_from_outside(u"about"); }, u"apple"},
        {"the program's own copy", 1, [] { CopyToClipboard(u"about"); }, u"apple"},
        {"a copy from its panel", 1,
         [] {
             hReFocus = hAddReSaved;
             RE_SetSel(hAddReSaved, CHARRANGE{0, 5});
             ContextMenu(IDM_RE_COPY);
         },
         u"apple"},
        // A copy no list could hold as a key is left alone; one as long as a list line is taken.
        {"a copy longer than a list line", 1,
         [] { headless_copy_from_outside(std::u16string(kMaxListLine + 1, u'q')); }, u"apple"},
        {"a copy as long as a list line", 1, [] { headless_copy_from_outside(std::u16string(kMaxListLine, u'q')); },
         std::u16string(kMaxListLine, u'q')},
        {"the next copy of another program", 1, [] { headless_copy_from_outside(u"about"); }, u"about"},
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(st.what);
        gl_TRANSLATE_CLIPBOARD = st.translate;
        st.act();
        EXPECT_EQ(RE_GetTextW(hAddReShort), st.box);
        EXPECT_EQ(gl_clipboard_translation, 1);
    }
    EXPECT_EQ(lines(hAddReSaved).at(0), "about prep 1. за, относно I. adv 1. около, приблизително 16");

    const auto file = data.write_raw("dropped.txt", "apple");
    headless_drop(hAddReDict, {file});
    EXPECT_EQ(RE_GetTextW(hAddReShort), u"apple");
    EXPECT_EQ(lines(hAddReSaved).at(0), "apple [æpl] n 1. ябълка 1688");
    EXPECT_TRUE(gl_dropped.empty());  // the checker's file is what the checker loads itself
}

}  // namespace
