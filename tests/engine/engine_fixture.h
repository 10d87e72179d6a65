// Helpers of the engine tests: CP1251 text from UTF-8 literals, small lexicon rows built in a
// temporary folder, and a fixture with a headless main window and text-checker window whose panels
// are the ones the run knows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "engine/run/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/lists.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/token_frequency_index.h"
#include "support/panel_dump.h"
#include "shell/window_state.h"
#include "support/temp_folder.h"
#include "support/text.h"

using jux_test::cp;
using jux_test::TempFolder;
using jux_test::u8;

// One record as the tests compare it (UTF-8 text and gap).
struct Rec {
    std::string text;
    std::string gap;
    std::int32_t pos;
    friend bool operator==(const Rec&, const Rec&) = default;
};
inline std::ostream& operator<<(std::ostream& o, const Rec& r) {
    return o << "{\"" << r.text << "\", \"" << r.gap << "\", " << r.pos << "}";
}

inline std::vector<Rec> records(const RecordArray& a) {
    std::vector<Rec> out;
    for (const SenToken* r = a.floor; r < a.nd; ++r) out.push_back(Rec{u8(r->text), u8(r->gap), r->pos});
    return out;
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr int kAddEntry = 301, kAddCopy = 302, kAddSaved = 303, kAddShort3 = 304, kAddLabel = 305;
constexpr int kBigRight = 401, kBigLeft = 402;

// Every test starts from the reset state of the shell, the lexicon and the engine, with a headless
// backend, the stores made as start-up makes them, and two windows: the main window (entry box,
// its copy, its saved and short panes, its label and the check box 1171) and the text-checker
// window (right and left panels, status label 1179, code-page label 1276).
class EngineTest : public ::testing::Test {
protected:
    HeadlessState* hs = nullptr;
    TempFolder data{"engine"};
    std::vector<std::shared_ptr<ListText>> texts;

    std::filesystem::path cwd_before_test;  // the working folder before the test

    void SetUp() override {
        // Runs write their exports and logs into the working folder: keep them in the test's own.
        cwd_before_test = std::filesystem::current_path();
        std::filesystem::current_path(data.path());
        hs = &headless_install();
        reset_shell();
        reset_lexicon();
        reset_engine();
        big_hook = nullptr;
        make_windows();
    }
    void TearDown() override {
        big_hook = nullptr;
        hs->on_pump = nullptr;
        reset_engine();
        reset_lexicon();
        reset_shell();
        platform_reset();
        std::filesystem::current_path(cwd_before_test);
    }

    // Makes the stores after the test has set the options it wants.
    void make_stores() {
        smake();
        smake2();
        smakeR();
    }

    void make_windows() {
        DialogTemplate main;
        main.id = 9001;
        main.caption = u"Main";
        main.cx = 300;
        main.cy = 200;
        main.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
        main.controls = {
            {ControlKind::RichEdit, kAddEntry, u"", 5, 5, 200, 20, kChild | ES_MULTILINE},
            {ControlKind::RichEdit, kAddCopy, u"", 5, 30, 200, 20, WS_CHILD | ES_MULTILINE},
            {ControlKind::RichEdit, kAddSaved, u"", 5, 55, 200, 60, kChild | ES_MULTILINE},
            {ControlKind::RichEdit, kAddShort3, u"", 5, 120, 200, 40, kChild | ES_MULTILINE},
            {ControlKind::Label, kAddLabel, u"", 5, 170, 200, 10, kChild},
            {ControlKind::CheckBox, IDC_ADD_SENTENCE, u"Sentence", 210, 5, 60, 10, kChild},
        };
        hMain = CreateDialogIndirect(main, HWND{}, &EngineTest::MainProc);
        hAddReShort = GetDlgItem(hMain, kAddEntry);
        hAddReShortCopy = GetDlgItem(hMain, kAddCopy);
        hAddReSaved = GetDlgItem(hMain, kAddSaved);
        hAddReShort3 = GetDlgItem(hMain, kAddShort3);
        hAddLabel = GetDlgItem(hMain, kAddLabel);
        hAddSentence = GetDlgItem(hMain, IDC_ADD_SENTENCE);

        DialogTemplate big;
        big.id = 9002;
        big.caption = u"Big";
        big.cx = 400;
        big.cy = 300;
        big.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
        big.controls = {
            {ControlKind::RichEdit, kBigRight, u"", 200, 30, 190, 250, kChild | ES_MULTILINE},
            {ControlKind::RichEdit, kBigLeft, u"", 5, 30, 190, 250, kChild | ES_MULTILINE},
            {ControlKind::Label, IDC_BIG_LABEL, u"", 5, 5, 190, 10, kChild},
            {ControlKind::Label, IDC_BIG_LABEL_UP, u"", 200, 5, 190, 10, kChild},
        };
        hBig = CreateDialogIndirect(big, HWND{}, &EngineTest::BigProc);
        hBigReRight = GetDlgItem(hBig, kBigRight);
        hBigReLeft = GetDlgItem(hBig, kBigLeft);
        for (HWND re : {hAddReShort, hAddReShortCopy, hAddReSaved, hAddReShort3, hBigReRight, hBigReLeft})
            RE_LimitText(re, 1 << 30);
    }

    // The windows' procedures; the checker's hands its messages to big_hook when a test sets it.
    static inline std::function<void(HWND, const Msg&)> big_hook;
    static INT_PTR MainProc(HWND, const Msg&) { return 0; }
    static INT_PTR BigProc(HWND h, const Msg& m) {
        if (big_hook) big_hook(h, m);
        return 0;
    }

    // Loads dictionary row `row` from UTF-8 lines "key rest".
    void load_dict(int row, std::initializer_list<std::string_view> lines) {
        load_dict_lines<std::initializer_list<std::string_view>>(row, lines);
    }
    template <class Lines>
    void load_dict_lines(int row, const Lines& lines) {
        DictFileRecord& rec = b[static_cast<std::size_t>(row)];
        const std::filesystem::path file = data.path() / (rec.name + ".txt");
        jux_test::write_cp1251_lines(file, lines);
        rec.entries.clear();
        rec.text = load_pairs(file, ListLoadOptions{}, rec.entries, &rec.stats);
        ASSERT_TRUE(rec.text);
        rec.count = rec.entries.size();
    }
    // Loads English list row `row` from UTF-8 lines.
    void load_list(int row, std::initializer_list<std::string_view> lines) {
        load_list_lines<std::initializer_list<std::string_view>>(row, lines);
    }
    template <class Lines>
    void load_list_lines(int row, const Lines& lines) {
        ListFileRecord& rec = m[static_cast<std::size_t>(row)];
        jux_test::write_cp1251_lines(data.path() / (rec.name + ".txt"), lines);
        ASSERT_EQ(fl_to_list(data.path(), rec), 1);
    }

    // Adds the UTF-8 line "key rest" to a loaded list where a binary search finds it, in the room
    // its array has (as the user's own word is filed): its entries stay where they are.
    template <class Rec>
    static void add_in_place(Rec& rec, std::string_view key, std::string_view rest = {}) {
        const ListPair* before = rec.entries.data();
        const ListPair p{lex_keep(jux_test::cp(key)), rest.empty() ? std::string_view() : lex_keep(std::string(rest))};
        rec.entries.insert(std::upper_bound(rec.entries.begin(), rec.entries.end(), p,
                                            [](const ListPair& x, const ListPair& y) { return cmp_g(x.key, y) < 0; }),
                           p);
        rec.count = rec.entries.size();
        EXPECT_EQ(rec.entries.data(), before) << "no room in place";
    }

    // Puts UTF-8 text (or UTF-16) into the checker's right panel and runs the check over it.
    void check(std::string_view utf8) { check16(utf8_to_utf16(utf8)); }
    void check16(std::u16string_view text) {
        RE_SetTextW(hBigReRight, text);
        run_checker();
    }
    void run_checker() {
        std::string t8;
        std::u16string t16;
        translate_text(hBig, hBigReRight, hBigReLeft, GetDlgItem(hBig, IDC_BIG_LABEL), t8, t16,
                       "debug_IDC_BIG_RE_RIGHT");
    }
    // The same for the main window's entry box.
    void type_entry(std::string_view utf8) {
        RE_SetTextW(hAddReShort, utf8_to_utf16(utf8));
        std::string t8;
        std::u16string t16;
        translate_text(hMain, hAddReShort, hAddReSaved, hAddLabel, t8, t16, "debug_IDC_ADD_RE_SHORT");
    }

    static std::string panel8(HWND re) { return utf16_to_utf8(RE_GetTextW(re)); }
    static std::vector<std::string> panel_lines(HWND re) { return jux_test::panel_lines(re); }
    static std::string label8(HWND w) { return utf16_to_utf8(GetWindowTextW(w)); }
    static std::u16string big_label_up() { return GetDlgItemTextW(hBig, IDC_BIG_LABEL_UP); }
};
