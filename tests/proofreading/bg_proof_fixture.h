// Helpers of the tests of the article, comma and capital passes: the word passes' fixture with its
// small word-form index, and the block one row's pass wrote for a text.
#pragma once

#include <string>
#include <string_view>

#include "engine/proofreading/pass_order.h"
#include "word_fixture.h"

class BgProofTest : public WordsTest {
protected:
    // Proof-reads the UTF-8 text and returns the block of the pass of the row (UTF-8, '\n' after
    // each line; "" when the pass wrote nothing).
    std::string block(std::string_view text_utf8, int row) {
        return pass_block(proof(text_utf8), utf16_to_utf8(pass_order[static_cast<std::size_t>(row)].title));
    }
};
