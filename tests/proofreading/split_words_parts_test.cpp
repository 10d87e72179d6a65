// Split words over a known-word list of many words with one long beginning, in both letter cases
// and in no order in the text: the known part of every first word is found (the parts of a run's
// first words are found together, in the list's order), so every pair whose joined form is known is
// reported, and no other.
#include <string>
#include <vector>

#include "word_fixture.h"

namespace {

class SplitWordsParts : public WordsTest {};

TEST_F(SplitWordsParts, EveryFirstWordOfALongSharedBeginningFindsItsJoinedForm) {
    const std::vector<std::string> letters = {"а", "б", "в", "г", "д", "е", "ж", "з", "и", "к", "л", "м"};
    std::vector<std::string> known = {"ката"}, firsts;
    for (std::size_t i = 0; i < letters.size() * letters.size(); ++i) {
        const std::string w = "предпоставк" + letters[i % letters.size()] + letters[i / letters.size()];
        firsts.push_back(w);
        known.push_back(w);
        if (i % 4 != 3) known.push_back(w + "ката");  // every fourth has no joined form
    }
    load_dict_lines(B_BULGARIAN, known);
    // The pairs in another order than the list's; every third at a sentence start, with a capital.
    std::string text = "Начало";
    std::vector<std::string> want;
    for (std::size_t k = 0; k < firsts.size(); ++k) {
        const std::size_t i = (k * 37) % firsts.size();
        std::string w = firsts[i];
        if (k % 3 == 0) w = "П" + w.substr(std::string("п").size());
        text += (k % 3 == 0 ? ". " : " и ") + w + " ката";
        if (i % 4 != 3) {
            want.push_back(" " + w + " ката");
            want.push_back("->  " + w + "ката");
        }
    }
    text += ".";
    const std::string block = pass_block(proof(text), "разкъсана дума или грешна двойка думи");
    std::size_t found = 0;
    for (std::size_t at = block.find(" -> "); at != std::string::npos; at = block.find(" -> ", at + 1)) ++found;
    EXPECT_EQ(found, want.size() / 2);
    for (const std::string& line : want) EXPECT_NE(block.find(line), std::string::npos) << line;
}

}  // namespace
