// Helpers of the tests of the word passes: a word-form index and word lists built by the test, and
// a table of cases, each a text with the block one pass writes for it and, where the case says, the
// marked source characters and the suggestion's colour.
#pragma once

#include <fstream>
#include <initializer_list>
#include <span>

#include "dictionary/loading.h"
#include "engine/proofreading/word_checks.h"
#include "lexicon/tables.h"
#include "proof_fixture.h"

struct WordCase {
    const char* text;
    const char* title;
    const char* block;             // title and findings, '\n' after each; "" when nothing is found
    const char* marked = nullptr;  // the underlined source characters (runs joined by '|'), or not checked
    COLORREF colour = 0;           // the colour of the first suggestion part, or 0: not checked
};

class WordsTest : public ProofTest {
protected:
    // Loads the word-form index from UTF-8 lines "form lemma type-row slot".
    void load_forms(std::initializer_list<std::string_view> lines) { load_forms(std::span(lines.begin(), lines.size())); }
    void load_forms(std::span<const std::string_view> lines) {
        const std::filesystem::path folder = data.path() / "bgtypes2";
        std::filesystem::create_directories(folder);
        {
            std::ofstream f(folder / kWordFormFile, std::ios::binary);
            for (std::string_view l : lines) f << cp(l) << "\r\n";
        }
        ASSERT_EQ(load_word_forms(data.path()), 1);
    }

    void expect(std::initializer_list<WordCase> cases) {
        for (const WordCase& c : cases) {
            const std::string r = proof(c.text);
            const std::string block = pass_block(r, c.title);
            EXPECT_EQ(block, c.block) << c.text << "\n" << lines(r);
            if (c.marked) {
                EXPECT_EQ(marked(), c.marked) << c.text;
            }
            if (c.colour && !block.empty()) {
                const LONG at = find(hBigReLeft, " -> ", find(hBigReLeft, "\r", find(hBigReLeft, c.title)));
                EXPECT_EQ(fmt(hBigReLeft, at + 1).colour, c.colour) << c.text;
            }
        }
    }
};
