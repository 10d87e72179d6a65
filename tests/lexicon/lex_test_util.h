// Helpers of the lexicon and dictionary tests: a temporary data folder written in CP1251 from UTF-8
// literals (over the shared helpers of tests/support), and a fixture that starts every test from
// the reset state with a headless backend.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "dictionary/loading.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "platform/text.h"
#include "shell/reset.h"
#include "support/temp_folder.h"
#include "support/text.h"

using jux_test::cp;
using jux_test::u8;

// The temporary data folder of a test, whose files are written in CP1251 from UTF-8 literals.
class DataFolder : public jux_test::TempFolder {
public:
    DataFolder() : TempFolder("lex") {}

    // Writes UTF-8 text as CP1251 with CR LF line ends ("\n" in the literal).
    std::filesystem::path write(std::string_view rel, std::string_view utf8) const {
        std::string bytes;
        for (char c : cp(utf8)) {
            if (c == '\n') bytes += "\r\n";
            else bytes += c;
        }
        return write_raw(rel, bytes);
    }
    // Writes the bytes exactly as given.
    std::filesystem::path write_raw(std::string_view rel, std::string_view bytes) const {
        return TempFolder::write(rel, bytes);
    }
};

inline INT_PTR QuietProc(HWND, const Msg&) { return 0; }

// A visible dialog holding one rich-edit panel per identifier and the status label 1179.
inline HWND make_panel_dialog(std::initializer_list<int> ids) {
    DialogTemplate t;
    t.caption = u"Panels";
    t.cx = 400;
    t.cy = 300;
    t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    int y = 0;
    for (int id : ids) {
        t.controls.push_back({ControlKind::RichEdit, id, u"", 0, y, 380, 40, WS_CHILD | WS_VISIBLE | ES_MULTILINE});
        y += 45;
    }
    t.controls.push_back({ControlKind::Label, 1179, u"", 0, y, 380, 10, WS_CHILD | WS_VISIBLE});
    return CreateDialogIndirect(t, {}, QuietProc);
}

// Puts UTF-8 text into a panel and selects [from, to) (to -1: the end).
inline void set_panel(HWND re, std::string_view utf8, LONG from = 0, LONG to = 0) {
    RE_SetTextW(re, utf8_to_utf16(utf8));
    RE_SetSel(re, CHARRANGE{from, to});
}

inline std::string panel_text(HWND re) { return utf16_to_utf8(RE_GetTextW(re)); }

class LexTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Files the routines write into the working folder stay in the test's own.
        cwd_before_test = std::filesystem::current_path();
        std::filesystem::current_path(data.path());
        hs = &headless_install();
        reset_shell();
        reset_loading();
        reset_lexicon();
    }
    void TearDown() override {
        reset_lexicon();
        reset_loading();
        reset_shell();
        std::filesystem::current_path(cwd_before_test);
    }
    HeadlessState* hs = nullptr;
    DataFolder data;
    std::filesystem::path cwd_before_test;  // the working folder before the test
};

// A small lexicon of a few inflection types with their endings and the word forms they make.
inline constexpr std::string_view kTestEndings =
    "/ name cut endings\n"
    "1 0 0 а ът ове овете а е\n"
    "22 0 0 я ят и ите я ю\n"
    "41 1 а ата и ите о\n"
    "53 1 о ото а ата\n"
    "76 0 0 ия ият а ата о ото и ите\n"
    "79 2 я? е?ия е?ият я?а я?ата я?о я?ото е?и е?ите\n";

// Rows of the types above.
enum : int { T1 = 0, T22 = 47, T41 = 85, T53 = 114, T76 = 140, T79 = 149 };

inline constexpr std::string_view kTestForms =
    "бели бял 149 7\n"
    "белите бял 149 8\n"
    "бял бял 149 0\n"
    "бяла бял 149 3\n"
    "бялата бял 149 4\n"
    "град град 0 0\n"
    "града град 0 1\n"
    "града град 0 5\n"
    "градове град 0 3\n"
    "градовете град 0 4\n"
    "градът град 0 2\n"
    "жена жена 85 0\n"
    "жената жена 85 1\n"
    "жени жена 85 2\n"
    "жени женя 300 1\n"
    "жените жена 85 3\n"
    "нова нов 140 3\n"
    "новата нов 140 4\n"
    "нови нов 140 7\n"
    "нов нов 140 0\n"
    "новия нов 140 1\n"
    "новият нов 140 2\n"
    "ново нов 140 5\n"
    "село село 114 0\n"
    "селата село 114 3\n"
    "села село 114 2\n"
    "селото село 114 1\n"
    "учител учител 47 0\n"
    "учителя учител 47 1\n"
    "учителят учител 47 2\n";
