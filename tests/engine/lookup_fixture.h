// Helpers of the tests of the per-token report, the end of the scan and the dictionary-entry
// display: the engine fixture's windows plus the main window's dictionary, Bulgarian, corpus and
// long panes and its hidden transcription field; colours read back from the panels; word forms and
// ending tables written into the test's data folder.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "dictionary/loading.h"
#include "engine/lookup_state.h"
#include "engine_fixture.h"
#include "lexicon/display.h"
#include "shell/token_frequency_index.h"
#include "spelling/spell_state.h"

constexpr int kAddDict = 306, kAddBg = 307, kAddHyphen = 308, kAddLong = 309;

// What a character of a panel looks like.
struct Look {
    COLORREF colour = 0;
    bool bold = false;
    friend bool operator==(const Look&, const Look&) = default;
};
inline std::ostream& operator<<(std::ostream& o, const Look& l) {
    return o << "{RGB(" << GetRValue(l.colour) << ", " << GetGValue(l.colour) << ", " << GetBValue(l.colour) << ")"
             << (l.bold ? " bold" : "") << "}";
}
inline Look bold(COLORREF c) { return Look{c, true}; }
inline Look plain(COLORREF c) { return Look{c, false}; }

class LookupTest : public EngineTest {
protected:
    HWND dict{};  // the main window's dictionary panel: the report panel of its look-ups

    void SetUp() override {
        EngineTest::SetUp();
        reset_spelling();
        make_stores();
        auto panel = [](int id, int y) {
            HWND re = PL_CreateControl(hMain, ControlKind::RichEdit, id, u"", RECT{400, y, 600, y + 60}, kChild | ES_MULTILINE);
            RE_LimitText(re, 1 << 30);
            return re;
        };
        dict = panel(kAddDict, 0);
        hAddReBg = panel(kAddBg, 70);
        hAddReHyphen = panel(kAddHyphen, 140);
        hAddReLong = panel(kAddLong, 210);
        hAddTransSir = PL_CreateControl(hMain, ControlKind::Edit, IDC_ADD_TRANS_SIR, u"", RECT{400, 280, 500, 300}, WS_CHILD);
        std::filesystem::create_directories(data.path() / "bgtypes2");
    }
    void TearDown() override {
        reset_spelling();
        EngineTest::TearDown();
    }

    // A look-up in the main window: the entry box's text, run with the dictionary panel as report.
    void look_up(std::string_view utf8) {
        RE_SetTextW(hAddReShort, utf8_to_utf16(utf8));
        RE_SetSel(hAddReShort, CHARRANGE{-1, -1});
        run_entry_box();
    }
    void run_entry_box() {
        std::string t8;
        std::u16string t16;
        translate_text(hMain, hAddReShort, dict, hAddLabel, t8, t16, "debug_IDC_ADD_RE_SHORT");
    }

    // The word-form index from lines "form lemma type-row slot", and the ending tables from lines
    // "type cut endings".
    void load_forms(std::initializer_list<std::string_view> lines) {
        jux_test::write_cp1251_lines(data.path() / "bgtypes2" / kWordFormFile, lines);
        load_word_forms(data.path());
    }
    void load_endings_lines(std::initializer_list<std::string_view> lines) {
        jux_test::write_cp1251_lines(data.path() / "bgtypes2" / kEndingsFile, lines);
        load_endings(data.path());
    }

    // The panel's character at `pos` and the position of a UTF-8 text in the panel (-1: absent).
    static Look look_at(HWND re, LONG pos) {
        const CHARFORMAT2W f = RE_GetCharFormatAt(re, pos);
        return Look{f.crTextColor, (f.dwEffects & CFE_BOLD) != 0};
    }
    static LONG find(HWND re, std::string_view utf8, LONG from = 0) {
        const std::u16string text = RE_GetTextW(re);
        const std::size_t at = text.find(utf8_to_utf16(utf8), static_cast<std::size_t>(from));
        return at == std::u16string::npos ? -1 : static_cast<LONG>(at);
    }
    static Look look_of(HWND re, std::string_view utf8) { return look_at(re, find(re, utf8)); }

    // The lines of a panel (its paragraph ends split it; the empty tail after the last is dropped).
    static std::vector<std::string> lines(HWND re) { return panel_lines(re); }

    // Names and counts of a finished token-index table.
    static std::vector<std::pair<std::string, std::uint32_t>> table(const GRecord* from, const GRecord* to) {
        std::vector<std::pair<std::string, std::uint32_t>> out;
        for (const GRecord* r = from; r < to; ++r) out.emplace_back(u8(r->name), r->count);
        return out;
    }
    static std::string read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};
