// Helpers of the proof-reader tests: a text cut into token store 1 by a real run of translate_text
// over the checker's right panel, the proof-reader then run alone into an empty report panel, and
// the report and formats read back.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "dictionary/loading.h"
#include "engine/engine_fixture.h"
#include "engine/proofreading/proof_reader.h"
#include "engine/proofreading/proof_report.h"
#include "lexicon/display.h"

// One character's format in a panel, as the tests compare it.
struct Fmt {
    COLORREF colour;
    bool bold;
    bool underline;
    friend bool operator==(const Fmt&, const Fmt&) = default;
};
inline std::ostream& operator<<(std::ostream& o, const Fmt& f) {
    return o << "{0x" << std::hex << f.colour << std::dec << ", bold " << f.bold << ", underline " << f.underline << "}";
}

class ProofTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        make_stores();
        reset_proofreading();
    }
    void TearDown() override {
        reset_proofreading();
        EngineTest::TearDown();
    }

    // Cuts the text with the proof-reader off, then proof-reads it into the emptied report panel.
    // Returns the report (UTF-8).
    std::string proof(std::string_view utf8, CHARRANGE list_start = {}, std::u16string_view report_before = u"") {
        const auto punct = gl_CHECK_PUNCTUATION;
        gl_CHECK_PUNCTUATION = 0;
        check(utf8);
        gl_CHECK_PUNCTUATION = punct;
        RE_SetTextW(hBigReLeft, report_before);
        // The run's colouring of the source is done: start every mark test from plain text.
        ColorRangeOn(hBigReRight, 0, static_cast<LONG>(RE_GetTextW(hBigReRight).size()), 0x40000005, 0, 0);
        proof_read(hBigReRight, hBigReLeft, last_run.processed, list_start);
        return panel8(hBigReLeft);
    }

    // The Bulgarian word-form index from lines "form lemma type-row slot".
    void load_forms(std::initializer_list<std::string_view> lines) {
        std::filesystem::create_directories(data.path() / "bgtypes2");
        {
            std::ofstream f(data.path() / "bgtypes2" / kWordFormFile, std::ios::binary);
            for (std::string_view l : lines) f << cp(l) << "\r\n";
        }
        ASSERT_EQ(load_word_forms(data.path()), 1);
    }

    static Fmt fmt(HWND re, LONG pos) {
        const CHARFORMAT2W cf = RE_GetCharFormatAt(re, pos);
        return Fmt{cf.crTextColor, (cf.dwEffects & CFE_BOLD) != 0, (cf.dwEffects & CFE_UNDERLINE) != 0};
    }
    // Offset of the UTF-8 text in the panel (-1 when absent).
    static LONG find(HWND re, std::string_view utf8, LONG from = 0) {
        const std::u16string all = RE_GetTextW(re);
        const auto at = all.find(utf8_to_utf16(utf8), static_cast<std::size_t>(from));
        return at == std::u16string::npos ? -1 : static_cast<LONG>(at);
    }
    static Fmt report_fmt(std::string_view utf8, LONG offset = 0) { return fmt(hBigReLeft, find(hBigReLeft, utf8) + offset); }
    // The source characters that carry the red underline of a source mark (with `underlined` off:
    // the red of a colour-only mark), as UTF-8 runs joined by '|'.
    static std::string marked(bool underlined = true) {
        const std::u16string all = RE_GetTextW(hBigReRight);
        std::u16string out;
        bool in = false;
        for (LONG i = 0; i < static_cast<LONG>(all.size()); ++i) {
            const Fmt f = fmt(hBigReRight, i);
            const bool m = f.underline == underlined && f.colour == PR_MARK;
            if (m && !in && !out.empty()) out += u'|';
            if (m) out += all[static_cast<std::size_t>(i)];
            in = m;
        }
        return utf16_to_utf8(out);
    }
};

// Titles and finding lines of a report, with its line ends shown as '\n'.
inline std::string lines(std::string s) {
    for (char& c : s)
        if (c == '\r') c = '\n';
    return s;
}

// The block of one pass in a report: its title line (a summary's with its count) and its finding
// lines ("" when absent).
inline std::string pass_block(const std::string& report, const std::string& title) {
    const std::string r = lines(report);
    std::size_t at = 0;
    for (;; ++at) {
        at = r.find("\n" + title, at);
        if (at == std::string::npos) return "";
        const std::string after = r.substr(at + 1 + title.size(), 2);
        if (after.starts_with("\n") || after == "  ") break;
    }
    const auto end = r.find("\n\n", at + 1);
    return r.substr(at + 1, end - at);
}
