// Helpers of the proof-reader tests: a text cut into token store 1 by a real run of translate_text
// over the checker's right panel, the proof-reader then run alone into an empty report panel, and
// the report and formats read back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "engine/engine_fixture.h"
#include "engine/proofreading/proof_reader.h"
#include "engine/proofreading/proof_report.h"

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
        proof_read(hBigReRight, hBigReLeft, last_run.processed, list_start);
        return panel8(hBigReLeft);
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
    // The source characters that carry the red underline of a source mark, as UTF-8 runs joined by '|'.
    static std::string marked() {
        const std::u16string all = RE_GetTextW(hBigReRight);
        std::u16string out;
        bool in = false;
        for (LONG i = 0; i < static_cast<LONG>(all.size()); ++i) {
            const Fmt f = fmt(hBigReRight, i);
            const bool m = f.underline && f.colour == PR_MARK;
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
