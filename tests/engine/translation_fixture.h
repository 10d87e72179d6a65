// Helpers of the machine-translation tests: the engine fixture's windows plus a machine-translation
// window (its translation panel and filter box), a small lexicon written into the test's data
// folder and loaded as the program loads it, and the translation panel read back as lines and
// colours.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "dictionary/loading.h"
#include "engine/translation/translation.h"
#include "engine_fixture.h"
#include "lexicon/bgtypes.h"

class TranslationTest : public EngineTest {
protected:
    static constexpr int kMachineRe = 1277, kMachineFilter = 1291;
    int az = -1, da = -1;  // a verb type of each class

    void SetUp() override {
        EngineTest::SetUp();
        reset_translation();
        make_stores();
        DialogTemplate t;
        t.id = 9003;
        t.caption = u"Machine";
        t.cx = 300;
        t.cy = 200;
        t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
        t.controls = {
            {ControlKind::RichEdit, kMachineRe, u"", 5, 20, 290, 170, kChild | ES_MULTILINE},
            {ControlKind::RichEdit, kMachineFilter, u"", 5, 5, 100, 12, kChild},
        };
        hMachine = CreateDialogIndirect(t, HWND{}, &EngineTest::MainProc);
        hMachineRe = GetDlgItem(hMachine, kMachineRe);
        hMachineReFilter = GetDlgItem(hMachine, kMachineFilter);
        RE_LimitText(hMachineRe, 1 << 30);
        gl_MACHINE_TRANSLATION = 1;
        for (int r = 228; r <= 448 && (az < 0 || da < 0); ++r) {
            if (az < 0 && ascii_verb_az[r]) az = r;
            if (da < 0 && ascii_verb_da[r]) da = r;
        }
    }
    void TearDown() override {
        reset_translation();
        EngineTest::TearDown();
    }

    // Writes a lexicon file (UTF-8 lines, stored in code page 1251 with CR LF).
    void file(const std::string& rel, std::initializer_list<std::string_view> lines) {
        const std::filesystem::path p = data.path() / rel;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream f(p, std::ios::binary);
        for (std::string_view l : lines) f << cp(l) << "\r\n";
    }
    void list(const std::string& name, std::initializer_list<std::string_view> lines) { file("c/" + name + ".txt", lines); }
    void forms(std::initializer_list<std::string_view> lines) { file("bgtypes2/_D2_ungrouped_sorted.txt", lines); }
    void load() { load_lexicon(data.path()); }

    // Runs the checker over the text and returns the translation panel's text (UTF-8, CR lines).
    std::string translate(std::string_view utf8) {
        check(utf8);
        return panel8(hMachineRe);
    }
    void filter(std::string_view utf8) { RE_SetTextW(hMachineReFilter, utf8_to_utf16(utf8)); }

    // The colour and boldness of the translation panel's character at `pos`.
    static std::pair<COLORREF, bool> look(LONG pos) {
        const CHARFORMAT2W f = RE_GetCharFormatAt(hMachineRe, pos);
        return {f.crTextColor, (f.dwEffects & CFE_BOLD) != 0};
    }
    // The position of a UTF-8 text in the translation panel, -1 when absent.
    static LONG at(std::string_view utf8, LONG from = 0) {
        const std::u16string t = RE_GetTextW(hMachineRe);
        const std::size_t p = t.find(utf8_to_utf16(utf8), static_cast<std::size_t>(from));
        return p == std::u16string::npos ? -1 : static_cast<LONG>(p);
    }
};
