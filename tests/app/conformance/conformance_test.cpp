// The conformance suite: the same cases on the headless and the Qt backend. Each case acts as the
// person would (through the backend's driver) and as the program does (through the platform's
// calls), and checks both what the dialog procedure heard and what the person sees.
#include <gtest/gtest.h>

#include <QApplication>
#include <functional>
#include <tuple>
#include <vector>

#include "platform/backend.h"
#include "platform/text.h"
#include "tests/app/conformance/conformance_fixture.h"

namespace {

const COLORREF kRed = RGB(200, 0, 0);

std::string cp1251(std::u16string_view s) { return utf16_to_cp1251(s, '?'); }

std::string utf16_bytes(std::u16string_view s) {
    return std::string(reinterpret_cast<const char*>(s.data()), s.size() * sizeof(char16_t));
}

void make_red_bold(HWND re, LONG from, LONG to) {
    RE_SetSel(re, CHARRANGE{from, to});
    CHARFORMAT2W cf;
    cf.dwMask = CFM_COLOR | CFM_BOLD;
    cf.crTextColor = kRed;
    cf.dwEffects = CFE_BOLD;
    RE_SetCharFormat(re, SCF_SELECTION, cf);
}

}  // namespace

// ---- Text in and out --------------------------------------------------------------------------

TEST_P(Conformance, TextGoesInAndOutInTheThreeCodePages) {
    // Code page 1251 in, with CR LF paragraph ends that the panel keeps as one '\r'.
    ASSERT_TRUE(RE_SetTextEx(re, cp1251(u"Здравей,\r\nсвят"), CP_1251));
    EXPECT_EQ(RE_GetTextW(re), u"Здравей,\rсвят");
    EXPECT_EQ(driver->shown_text(re), u"Здравей,\rсвят");
    EXPECT_EQ(RE_GetTextEx(re, CP_UTF8, GT_USECRLF), utf16_to_utf8(u"Здравей,\r\nсвят"));
    EXPECT_EQ(RE_GetTextLength(re, GT_USECRLF), 14);

    // UTF-16 in, with characters code page 1251 cannot show: out in 1251 they become the
    // caller's default byte, out in UTF-8 they survive.
    const std::u16string greek = u"Ωmega → край 𝄞";
    ASSERT_TRUE(RE_SetTextEx(re, utf16_bytes(greek), CP_UTF16));
    EXPECT_EQ(driver->shown_text(re), greek);
    bool used_default = false;
    EXPECT_EQ(RE_GetTextEx(re, CP_1251, GT_DEFAULT, '#', &used_default), cp1251(u"#mega # край ##"));
    EXPECT_TRUE(used_default);
    EXPECT_EQ(utf8_to_utf16(RE_GetTextEx(re, CP_UTF8)), greek);

    // UTF-8 in.
    ASSERT_TRUE(RE_SetTextEx(re, utf16_to_utf8(u"ёж\nЁЖ"), CP_UTF8));
    EXPECT_EQ(RE_GetTextW(re), u"ёж\rЁЖ");
    EXPECT_EQ(driver->shown_text(re), u"ёж\rЁЖ");

    // What the person types comes out in every code page.
    driver->select(re, 5, 5);
    driver->type(re, u" €→ю\rа");
    EXPECT_EQ(RE_GetTextW(re), u"ёж\rЁЖ €→ю\rа");
    EXPECT_EQ(driver->shown_text(re), u"ёж\rЁЖ €→ю\rа");
    used_default = false;
    EXPECT_EQ(RE_GetTextEx(re, CP_1251, GT_USECRLF, '?', &used_default), cp1251(u"ёж\r\nЁЖ €?ю\r\nа"));
    EXPECT_TRUE(used_default);
    EXPECT_EQ(RE_GetTextEx(re, CP_UTF8), utf16_to_utf8(u"ёж\rЁЖ €→ю\rа"));
}

// ---- Selection and formats ----------------------------------------------------------------------

TEST_P(Conformance, SelectionAndFormatsFollowInsertsAndDeletes) {
    RE_SetTextW(re, u"alpha beta gamma");
    make_red_bold(re, 6, 10);  // "beta"
    EXPECT_EQ(driver->shown_color(re, 6), kRed);
    EXPECT_TRUE(driver->shown_bold(re, 9));

    // Typing in front moves the formatted word along.
    driver->select(re, 0, 0);
    driver->type(re, u"XY");
    EXPECT_EQ(RE_GetTextW(re), u"XYalpha beta gamma");
    EXPECT_EQ(RE_GetSel(re), (CHARRANGE{2, 2}));
    EXPECT_EQ(driver->shown_selection(re), (CHARRANGE{2, 2}));
    for (LONG p = 8; p < 12; ++p) {
        EXPECT_EQ(RE_GetCharFormatAt(re, p).crTextColor, kRed) << p;
        EXPECT_EQ(driver->shown_color(re, p), kRed) << p;
        EXPECT_TRUE(driver->shown_bold(re, p)) << p;
    }
    EXPECT_EQ(driver->shown_color(re, 7), std::nullopt);
    EXPECT_EQ(driver->shown_color(re, 12), std::nullopt);
    EXPECT_FALSE(driver->shown_bold(re, 0));

    // Deleting a selection in front moves it back.
    driver->select(re, 0, 4);
    EXPECT_EQ(RE_GetSel(re), (CHARRANGE{0, 4}));
    driver->key_delete(re, 1);
    EXPECT_EQ(RE_GetTextW(re), u"pha beta gamma");
    EXPECT_EQ(driver->shown_text(re), u"pha beta gamma");
    EXPECT_EQ(driver->shown_color(re, 4), kRed);
    EXPECT_EQ(driver->shown_color(re, 3), std::nullopt);

    // Text typed inside the word takes the word's format; Backspace removes it again.
    driver->select(re, 6, 6);
    driver->type(re, u"Z");
    EXPECT_EQ(RE_GetTextW(re), u"pha beZta gamma");
    EXPECT_EQ(RE_GetCharFormatAt(re, 6).crTextColor, kRed);
    EXPECT_EQ(driver->shown_color(re, 6), kRed);
    EXPECT_EQ(driver->shown_selection(re), (CHARRANGE{7, 7}));
    driver->backspace(re, 1);
    EXPECT_EQ(driver->shown_text(re), u"pha beta gamma");
    EXPECT_EQ(RE_GetSel(re), (CHARRANGE{6, 6}));

    // The program's own replacement of a selection, shown at once.
    RE_SetSel(re, CHARRANGE{9, 14});
    RE_ReplaceSel(re, u"делта");
    EXPECT_EQ(driver->shown_text(re), u"pha beta делта");
    EXPECT_EQ(driver->shown_selection(re), (CHARRANGE{14, 14}));
}

// ---- Event mask ------------------------------------------------------------------------------

TEST_P(Conformance, EventMaskSilencesTheChangeNotification) {
    RE_SetEventMask(re, ENM_CHANGE);
    clear_log();
    driver->type(re, u"ab");
    EXPECT_EQ(count(WM_COMMAND, kPanel, EN_CHANGE), 2);

    RE_SetEventMask(re, 0);
    clear_log();
    driver->type(re, u"cd");
    EXPECT_EQ(count(WM_COMMAND, kPanel, EN_CHANGE), 0);
    EXPECT_EQ(RE_GetTextW(re), u"abcd");
    EXPECT_EQ(driver->shown_text(re), u"abcd");

    // With ENM_SELCHANGE alone the selection is told, the change is not.
    RE_SetEventMask(re, ENM_SELCHANGE);
    clear_log();
    driver->select(re, 1, 3);
    const Msg* last = last_of(WM_NOTIFY, kPanel, EN_SELCHANGE);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->range, (CHARRANGE{1, 3}));
    driver->type(re, u"X");
    EXPECT_EQ(count(WM_COMMAND, kPanel, EN_CHANGE), 0);
    EXPECT_EQ(RE_GetTextW(re), u"aXd");
}

// ---- Find --------------------------------------------------------------------------------------

TEST_P(Conformance, FindSearchesBothWays) {
    driver->type(re, u"one two one Two");
    ASSERT_EQ(RE_GetTextW(re), u"one two one Two");
    EXPECT_EQ(RE_FindText(re, FR_DOWN, CHARRANGE{0, -1}, u"one"), (CHARRANGE{0, 3}));
    EXPECT_EQ(RE_FindText(re, FR_DOWN, CHARRANGE{1, -1}, u"one"), (CHARRANGE{8, 11}));
    EXPECT_EQ(RE_FindText(re, FR_DOWN, CHARRANGE{9, -1}, u"one"), std::nullopt);
    // Upwards from the end, then from before the last match.
    EXPECT_EQ(RE_FindText(re, 0, CHARRANGE{15, 0}, u"one"), (CHARRANGE{8, 11}));
    EXPECT_EQ(RE_FindText(re, 0, CHARRANGE{8, 0}, u"one"), (CHARRANGE{0, 3}));
    // Case and whole words.
    EXPECT_EQ(RE_FindText(re, FR_DOWN | FR_MATCHCASE, CHARRANGE{5, -1}, u"two"), std::nullopt);
    EXPECT_EQ(RE_FindText(re, FR_DOWN, CHARRANGE{5, -1}, u"two"), (CHARRANGE{12, 15}));
    EXPECT_EQ(RE_FindText(re, FR_DOWN | FR_WHOLEWORD, CHARRANGE{0, -1}, u"on"), std::nullopt);
    EXPECT_EQ(RE_FindText(re, FR_DOWN, CHARRANGE{0, -1}, u"on"), (CHARRANGE{0, 2}));
}

TEST_P(Conformance, RangesReplacedInOneStepKeepTheFormatsAroundThem) {
    RE_SetTextW(re, u"cat dog cat dog");
    make_red_bold(re, 8, 11);  // the second "cat"
    RE_LimitText(re, 18);      // room for one "cat" -> "mouse"; the range past the end is not taken
    EXPECT_EQ(RE_ReplaceRanges(re, {CHARRANGE{0, 3}, CHARRANGE{8, 11}, CHARRANGE{20, 21}}, u"mouse"), 1u);
    EXPECT_EQ(driver->shown_text(re), u"mouse dog cat dog");
    ASSERT_TRUE(RE_Undo(re));
    EXPECT_EQ(RE_ReplaceRanges(re, {CHARRANGE{0, 3}, CHARRANGE{8, 11}, CHARRANGE{4, 7}}, u"ox"), 2u);  // in order only
    EXPECT_EQ(driver->shown_text(re), u"ox dog ox dog");
    EXPECT_EQ(driver->shown_selection(re), (CHARRANGE{9, 9}));
    EXPECT_EQ(driver->shown_color(re, 7), kRed);
    EXPECT_TRUE(driver->shown_bold(re, 8));
    EXPECT_EQ(driver->shown_color(re, 6), std::nullopt);
    EXPECT_EQ(driver->shown_color(re, 10), std::nullopt);
}

// ---- Text appended with its formats ------------------------------------------------------------

// One append with its formats leaves what the end selected, the text replaced and each range
// coloured after it leave: text, every character's format, the selection, one undo step.
TEST_P(Conformance, TextAppendedWithItsFormatsIsWhatTheSeparateCallsLeave) {
    auto fc = [](LONG from, LONG to, DWORD mask, COLORREF colour, DWORD effects) {
        return FormatChange{from, to, {mask, effects, 0, colour, 0, {}}};
    };
    std::vector<FormatChange> letters;  // a change for each letter
    for (LONG i = 0; i < 20; ++i) letters.push_back(fc(i, i + 1, CFM_COLOR, RGB(0, 0, 10 * i), 0));
    // The text, its changes, the panel's text limit (it holds 9 units before), a format waiting at
    // the caret at the end, redrawing off.
    const std::tuple<std::u16string_view, std::vector<FormatChange>, LONG, bool, bool> cases[] = {
        {u"12. word  3 note\r", {fc(0, 17, CFM_COLOR | CFM_BOLD, RGB(0, 90, 0), 0), fc(4, 8, CFM_COLOR | CFM_BOLD, kRed, CFE_BOLD),
                                 fc(10, 11, CFM_COLOR, RGB(0, 0, 200), 0), fc(5, 6, CFM_COLOR, RGB(9, 9, 9), 0)}, 32767, false, true},
        {u"one\r\ntwo\nthree\r", {fc(2, 6, CFM_BOLD | CFM_ITALIC, 0, CFE_ITALIC)}, 32767, false, false},
        {u"abcdefgh", {fc(0, 8, CFM_COLOR, kRed, 0), fc(3, 8, CFM_BOLD, 0, CFE_BOLD)}, 13, false, true},
        {u"xyz", {fc(1, 2, CFM_COLOR, kRed, 0)}, 32767, true, false},
        {u"abcdefghijklmnopqrstuvwxyz", letters, 32767, false, true},
    };
    for (const auto& [text, changes, limit, pending, redraw_off] : cases) {
        auto run = [&](bool at_once) {
            RE_SetEventMask(re, 0);
            RE_LimitText(re, limit);
            RE_SetTextW(re, u"old text\r");
            make_red_bold(re, 4, 8);
            RE_SetSel(re, pending ? CHARRANGE{-1, -1} : CHARRANGE{2, 2});
            if (pending) RE_SetCharFormat(re, SCF_SELECTION, fc(0, 0, CFM_UNDERLINE, 0, CFE_UNDERLINE).format);
            RE_SetRedraw(re, !redraw_off);
            RE_SetEventMask(re, ENM_CHANGE | ENM_SELCHANGE);
            clear_log();
            const LONG n = RE_GetTextLength(re);
            if (at_once) {
                RE_AppendFormatted(re, text, changes);
                EXPECT_LE(count(WM_NOTIFY, kPanel, EN_SELCHANGE), 1);
            } else {
                RE_SetSel(re, CHARRANGE{n, n});
                RE_ReplaceSel(re, text);
                for (const FormatChange& ch : changes) {
                    RE_SetSel(re, CHARRANGE{n + ch.from, n + ch.to});
                    RE_SetCharFormat(re, SCF_SELECTION, ch.format);
                }
                RE_SetSel(re, CHARRANGE{-1, -1});
            }
            // What the dialog heard, the selection, every character as kept and as shown.
            std::vector<long long> seen{count(WM_COMMAND, kPanel, EN_CHANGE), RE_GetSel(re).cpMin, RE_GetSel(re).cpMax};
            RE_SetRedraw(re, true);
            EXPECT_EQ(driver->shown_text(re), RE_GetTextW(re));
            seen.push_back(driver->shown_selection(re).cpMin);
            for (LONG p = 0; p < RE_GetTextLength(re); ++p) {
                const CHARFORMAT2W f = RE_GetCharFormatAt(re, p);
                seen.insert(seen.end(), {RE_GetTextW(re)[p], f.crTextColor, f.dwEffects,
                                         driver->shown_color(re, p).value_or(-1), driver->shown_bold(re, p)});
            }
            RE_SetEventMask(re, 0);
            EXPECT_TRUE(RE_Undo(re));
            EXPECT_EQ(RE_GetTextW(re), u"old text\r");
            return seen;
        };
        EXPECT_EQ(run(true), run(false)) << cp1251(text);
    }
}

// The program's colouring of a range: selected as RE_SetSel would (clamped, swapped), hidden, the
// format set, and the dialog told of no selection.
TEST_P(Conformance, ColouringARangeSelectsItSilently) {
    const struct {
        CHARRANGE asked, selected;
    } cases[] = {{{2, 5}, {2, 5}}, {{9, 4}, {4, 9}}, {{6, 99}, {6, 10}}};
    for (const auto& c : cases) {
        RE_SetEventMask(re, 0);
        RE_SetTextW(re, u"0123456789");
        RE_SetEventMask(re, ENM_CHANGE | ENM_SELCHANGE);
        clear_log();
        RE_ColorRange(re, c.asked, CHARFORMAT2W{CFM_COLOR | CFM_BOLD, CFE_BOLD, 0, kRed, 0, {}});
        EXPECT_EQ(count(WM_NOTIFY, kPanel, EN_SELCHANGE) + count(WM_COMMAND, kPanel, EN_CHANGE), 0);
        EXPECT_EQ(RE_GetEventMask(re), DWORD{ENM_CHANGE | ENM_SELCHANGE});
        EXPECT_EQ(RE_GetSel(re), c.selected);
        for (LONG p = 0; p < 10; ++p) {
            const bool in = p >= c.selected.cpMin && p < c.selected.cpMax;
            EXPECT_EQ(driver->shown_color(re, p), in ? std::optional<COLORREF>(kRed) : std::nullopt) << p;
            EXPECT_EQ(driver->shown_bold(re, p), in) << p;
        }
    }
}

// ---- Undo and redo ------------------------------------------------------------------------------

TEST_P(Conformance, UndoAndRedoFromTheKeyboard) {
    driver->type(re, u"abc");
    ASSERT_TRUE(RE_CanUndo(re));
    driver->undo_key(re);  // the typing is one step
    EXPECT_EQ(RE_GetTextW(re), u"");
    EXPECT_EQ(driver->shown_text(re), u"");
    EXPECT_TRUE(RE_CanRedo(re));
    driver->redo_key(re);
    EXPECT_EQ(RE_GetTextW(re), u"abc");
    EXPECT_EQ(driver->shown_text(re), u"abc");

    // A deletion is its own step; the program's undo takes it back.
    driver->select(re, 0, 1);
    driver->key_delete(re, 1);
    EXPECT_EQ(driver->shown_text(re), u"bc");
    ASSERT_TRUE(RE_Undo(re));
    EXPECT_EQ(driver->shown_text(re), u"abc");
    ASSERT_TRUE(RE_Undo(re));
    EXPECT_EQ(driver->shown_text(re), u"");
    EXPECT_FALSE(RE_CanUndo(re));
}

// ---- Menus and accelerators ---------------------------------------------------------------------

TEST_P(Conformance, MenuCommandAndAcceleratorReachTheProcedure) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 9219, u"Отвори\tCtrl+O");
    AppendMenuW(file, MF_STRING | MF_GRAYED, 9220, u"Запиши");
    AppendSubMenu(bar, file, u"Файл");
    ASSERT_TRUE(SetMenu(dlg, bar));

    clear_log();
    driver->choose_menu(dlg, 9219);
    EXPECT_EQ(count(WM_COMMAND, 9219, 0), 1);
    driver->choose_menu(dlg, 9220);  // greyed: nothing happens
    EXPECT_EQ(count(WM_COMMAND, 9220), 0);

    // The check mark set by the program shows the next time the menu opens.
    CheckMenuItem(file, 9219, MF_BYCOMMAND | MF_CHECKED);
    driver->choose_menu(dlg, 9219);
    EXPECT_EQ(count(WM_COMMAND, 9219, 0), 2);

    // Ctrl+O in the panel, while the message loop runs with the table: the command, code 1,
    // and the panel does not get the key.
    HACCEL accel = CreateAcceleratorTableW({ACCEL{FVIRTKEY | FCONTROL, 'O', 9219}});
    clear_log();
    run_in_loop(accel, [&] { driver->press_key(re, 'O', FCONTROL); });
    EXPECT_EQ(count(WM_COMMAND, 9219, 1), 1);
    EXPECT_EQ(RE_GetTextW(re), u"");
    EXPECT_EQ(driver->shown_text(re), u"");

    // Outside the loop there is no table to offer the key to.
    clear_log();
    driver->press_key(re, 'O', FCONTROL);
    EXPECT_EQ(count(WM_COMMAND, 9219), 0);
    DestroyAcceleratorTable(accel);
}

// ---- Message boxes -----------------------------------------------------------------------------

TEST_P(Conformance, MessageBoxIsAnswered) {
    driver->answer_message_boxes({IDYES});
    EXPECT_EQ(MessageBoxW(dlg, u"Да изтрия ли думата?", u"Въпрос", MB_YESNO | MB_ICONQUESTION), IDYES);
    // Nobody answers the second one: a Yes/No box gives the safe answer.
    EXPECT_EQ(MessageBoxW(dlg, u"Още веднъж?", u"Въпрос", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA({}, cp1251(u"Готово"), "Oops!", MB_OK), IDOK);
    const std::vector<BoxSeen> seen = driver->boxes_seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, u"Да изтрия ли думата?");
    EXPECT_EQ(seen[0].caption, u"Въпрос");
    EXPECT_EQ(seen[0].flags, UINT{MB_YESNO | MB_ICONQUESTION});
    EXPECT_EQ(seen[0].answer, IDYES);
    EXPECT_EQ(seen[1].answer, IDNO);
    EXPECT_EQ(seen[2].text, u"Готово");
    EXPECT_EQ(seen[2].caption, u"Oops!");
}

// ---- Dropped files -------------------------------------------------------------------------------

TEST_P(Conformance, DroppedFileReachesTheOwner) {
    const std::filesystem::path file = temp_dir() / "думи.txt";
    { std::ofstream(file) << "x"; }

    // Without the mask bit and without accepting files, a drop on the panel is not taken.
    clear_log();
    driver->drop_files(re, {file});
    EXPECT_EQ(count(WM_NOTIFY, kPanel, EN_DROPFILES) + count(WM_DROPFILES), 0);

    RE_SetEventMask(re, ENM_DROPFILES);
    DragAcceptFiles(re, true);
    driver->drop_files(re, {file});
    const Msg* m = last_of(WM_NOTIFY, kPanel, EN_DROPFILES);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->files.size(), 1u);
    EXPECT_EQ(m->files[0], file);
    EXPECT_EQ(driver->shown_text(re), u"");  // the file's name is not typed into the panel

    // A dialog that accepts files hears of a drop on its own surface.
    DragAcceptFiles(dlg, true);
    clear_log();
    driver->drop_files(dlg, {file, temp_dir() / "второ.txt"});
    const Msg* d = last_of(WM_DROPFILES);
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->files.size(), 2u);
    EXPECT_EQ(d->files[1], temp_dir() / "второ.txt");
}

// ---- Clipboard -----------------------------------------------------------------------------------

TEST_P(Conformance, ClipboardTextRoundTrip) {
    SetClipboardViewer(dlg);
    clear_log();
    ASSERT_TRUE(PL_SetClipboardTextW(u"Здравей → свят"));
    EXPECT_EQ(PL_GetClipboardTextW(), std::optional<std::u16string>(u"Здравей → свят"));
    EXPECT_EQ(PL_GetClipboardTextA(), std::optional<std::string>(cp1251(u"Здравей ? свят")));
    EXPECT_EQ(count(WM_DRAWCLIPBOARD), 1);

    ASSERT_TRUE(PL_SetClipboardTextA(cp1251(u"ъгъл")));
    EXPECT_EQ(PL_GetClipboardTextW(), std::optional<std::u16string>(u"ъгъл"));

    // Another program copies: the viewer hears of it, and Ctrl+V brings the text in.
    clear_log();
    driver->copy_from_outside(u"отвън\r\nред");
    EXPECT_EQ(count(WM_DRAWCLIPBOARD), 1);
    driver->paste(re);
    EXPECT_EQ(RE_GetTextW(re), u"отвън\rред");
    EXPECT_EQ(driver->shown_text(re), u"отвън\rред");

    ChangeClipboardChain(dlg, {});
    clear_log();
    PL_SetClipboardTextW(u"тихо");
    EXPECT_EQ(count(WM_DRAWCLIPBOARD), 0);
}

// ---- Buttons, check boxes and the close box --------------------------------------------------------

TEST_P(Conformance, ClicksAndTheCloseBoxReachTheProcedure) {
    clear_log();
    driver->click(GetDlgItem(dlg, kButton));
    EXPECT_EQ(count(WM_COMMAND, kButton, BN_CLICKED), 1);

    driver->click(GetDlgItem(dlg, kCheck));
    EXPECT_EQ(IsDlgButtonChecked(dlg, kCheck), BST_CHECKED);
    EXPECT_TRUE(driver->shown_checked(GetDlgItem(dlg, kCheck)));
    CheckDlgButton(dlg, kCheck, BST_UNCHECKED);
    EXPECT_FALSE(driver->shown_checked(GetDlgItem(dlg, kCheck)));

    // A disabled button cannot be clicked.
    EnableWindow(GetDlgItem(dlg, kButton), false);
    clear_log();
    driver->click(GetDlgItem(dlg, kButton));
    EXPECT_EQ(count(WM_COMMAND, kButton), 0);

    // The close box asks the procedure, which destroys the window.
    driver->close_box(dlg);
    EXPECT_EQ(count(WM_CLOSE), 1);
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(count(WM_DESTROY), 1);
}

// ---- The Tab key -----------------------------------------------------------------------------------

// In a window that is no dialog box (no default button), as the dictionary's: Tab and Shift+Tab
// leave a box of one line (no scroll bar, as the entry box) for the next and the previous control
// that stops them, typing nothing; a box reached so has its text selected, so that what is typed
// next replaces it. A text panel keeps a plain Tab for itself, and Shift+Tab leaves it.
TEST_P(Conformance, TabLeavesABoxOfOneLineButNotATextPanel) {
    DialogTemplate t;
    t.cx = 220;
    t.cy = 70;
    t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    const DWORD stop = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    const DWORD line = stop | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL;
    t.controls = {ControlTemplate{ControlKind::RichEdit, 1, u"", 5, 5, 150, 14, line, 0},
                  ControlTemplate{ControlKind::CheckBox, 2, u"Sentence", 160, 5, 50, 10, stop, 0},
                  ControlTemplate{ControlKind::RichEdit, 3, u"", 5, 25, 210, 40, line | WS_VSCROLL, 0}};
    const HWND w = CreateDialogIndirect(t, {}, &Conformance::proc);
    const HWND box = GetDlgItem(w, 1), check = GetDlgItem(w, 2), panel = GetDlgItem(w, 3);
    SetFocus(box);
    driver->type(box, u"water");
    driver->press_key(box, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), check);
    driver->press_key(check, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), panel);
    driver->press_key(panel, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), panel);
    driver->press_key(panel, VK_TAB, FSHIFT);
    EXPECT_EQ(GetFocus(), check);
    driver->press_key(check, VK_TAB, FSHIFT);
    ASSERT_EQ(GetFocus(), box);
    EXPECT_EQ(driver->shown_text(box), u"water");
    EXPECT_EQ(driver->shown_selection(box), (CHARRANGE{0, 5}));
    driver->type(box, u"x");
    EXPECT_EQ(driver->shown_text(box), u"x");
    DestroyWindow(w);
}

// ---- A procedure that edits the panel while it is told of the user's edit ------------------------------

TEST_P(Conformance, ProcedureEditsDuringTheChangeNotification) {
    // The handler turns every 'q' into 'Q' and colours the whole text red.
    on_change = [](HWND panel) {
        const std::u16string t = RE_GetTextW(panel);
        const size_t q = t.find(u'q');
        const CHARRANGE keep = RE_GetSel(panel);
        if (q != std::u16string::npos) {
            RE_SetSel(panel, CHARRANGE{static_cast<LONG>(q), static_cast<LONG>(q + 1)});
            RE_ReplaceSel(panel, u"Q", false);
        }
        RE_SetSel(panel, CHARRANGE{0, -1});
        CHARFORMAT2W cf;
        cf.dwMask = CFM_COLOR;
        cf.crTextColor = kRed;
        RE_SetCharFormat(panel, SCF_SELECTION, cf);
        RE_SetSel(panel, keep);
    };
    RE_SetEventMask(re, ENM_CHANGE);
    driver->type(re, u"aqb");
    EXPECT_EQ(RE_GetTextW(re), u"aQb");
    EXPECT_EQ(driver->shown_text(re), u"aQb");
    EXPECT_EQ(RE_GetSel(re), (CHARRANGE{3, 3}));
    EXPECT_EQ(driver->shown_selection(re), (CHARRANGE{3, 3}));
    for (LONG p = 0; p < 3; ++p) EXPECT_EQ(driver->shown_color(re, p), kRed) << p;
}

TEST_P(Conformance, TextLimitCutsWhatIsTypedAndPasted) {
    RE_LimitText(re, 5);
    driver->type(re, u"abcdefg");
    EXPECT_EQ(RE_GetTextW(re), u"abcde");
    EXPECT_EQ(driver->shown_text(re), u"abcde");
    driver->select(re, 1, 2);
    PL_SetClipboardTextW(u"XYZ");
    driver->paste(re);  // one character of room where "b" was
    EXPECT_EQ(RE_GetTextW(re), u"aXcde");
    EXPECT_EQ(driver->shown_text(re), u"aXcde");

    // A read-only panel takes nothing.
    RE_SetReadOnly(re, true);
    driver->type(re, u"z");
    EXPECT_EQ(driver->shown_text(re), u"aXcde");
    EXPECT_EQ(RE_GetTextW(re), u"aXcde");
}

INSTANTIATE_TEST_SUITE_P(Backends, Conformance, ::testing::Values(std::string("headless"), std::string("qt")),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });
