// Helpers of the tests of the passes that consult the Bulgarian lexicon: a small word-form index and
// dictionary rows written by the test, and the block one pass wrote into the report.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>

#include "dictionary/loading.h"
#include "engine/proofreading/pass_order.h"
#include "proof_fixture.h"

class BgProofTest : public ProofTest {
protected:
    // The word-form index from UTF-8 lines "form lemma type-row slot".
    void load_forms(std::initializer_list<std::string_view> lines) {
        const std::filesystem::path dir = data.path() / "bgtypes2";
        std::filesystem::create_directories(dir);
        {
            std::ofstream f(dir / kWordFormFile, std::ios::binary);
            for (std::string_view l : lines) f << cp(l) << "\r\n";
        }
        ASSERT_EQ(load_word_forms(data.path()), 1);
    }

    // The lines one pass wrote (UTF-8, '\n' after each): its title with the line ends after it and
    // the findings up to the empty line that ends the pass; "" when the title is not in the report.
    static std::string pass_block(const std::string& report8, std::string_view title_utf8) {
        const std::string r = lines(report8);
        std::string title(title_utf8);
        title.erase(std::remove(title.begin(), title.end(), '\n'), title.end());  // CR LF: one line end
        std::replace(title.begin(), title.end(), '\r', '\n');
        const auto at = r.find(title);
        if (at == std::string::npos) return "";
        auto body = at + title.size();
        while (body < r.size() && r[body] == '\n') ++body;
        const auto end = r.find("\n\n", body);
        return end == std::string::npos ? r.substr(at) : r.substr(at, end + 1 - at);
    }

    // Proof-reads the UTF-8 text and returns the block of the pass of the row.
    std::string block(std::string_view text_utf8, int row) {
        return pass_block(proof(text_utf8), utf16_to_utf8(pass_order[static_cast<std::size_t>(row)].title));
    }
};
