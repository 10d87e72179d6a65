// Split words over a known-word list of many words with one long beginning, in both letter cases
// and in no order in the text: the known part of every first word is found (the parts of a run's
// first words are found together, in the list's order), so every pair whose joined form is known is
// reported, and no other.
#include <string>
#include <vector>

#include "spelling/word_index.h"
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

// With the lists' hashed indexes built (as the start builds them) the pairs are looked up by hash:
// every report, colour and mark is the one the lists' search gives. The cases: joined and hyphened
// forms, listed pairs of either misspelling list in other letter cases (the first of two keys equal
// but for case wins), capitals at a sentence start and inside one, a line break as the gap, known
// words only as parts of longer forms, and loose splitting on and off.
TEST_F(SplitWordsParts, TheHashedIndexesAnswerAsTheListsSearch) {
    load_dict(B_BULGARIAN, {"не", "вероятно", "невероятно", "черно", "бял", "черно-бял", "на", "разкъсана",
                            "мама", "ката", "мамаката", "Бело", "белоградчик", "синьо-зелен", "синьозелен",
                            "пре", "препре", "бяло"});
    load_dict(B_BULGARIAN_MISSPELLING, {"от_колкото отколкото | от колкото (рядко)", "За_Него за него",
                                        "за_него занего(рядко)", "де_ла дела"});
    load_dict(B_BULGARIAN_MISSPELLING_FAST, {"за_това", "ОТ_това оттова"});
    const std::vector<std::string> texts = {
        "Повече от колкото мислиш. От Колкото мислиш, за него и за това, от това.",
        "Това е не вероятно, а не вероятно и черно бял, Черно бял. Черно бял и черно\rбял.",
        "Това е разкъса на и мама ката, МАМА КАТА. Бело градчик, виж бело градчик.",
        "Синьо зелен и синьо зелен, пре пре, бял о, не не, де ла, Де Ла.",
    };
    std::vector<std::string> searched;
    for (int loose = 0; loose < 2; ++loose) {
        gl_LOOSE_SPLIT = loose;
        for (const std::string& t : texts) {
            const std::string r = proof(t);
            searched.push_back(r + "\n" + marked());
        }
    }
    for (const int row : {B_BULGARIAN, B_BULGARIAN_MISSPELLING, B_BULGARIAN_MISSPELLING_FAST}) {
        dictionary_index(row);
        ASSERT_NE(built_word_index(b[static_cast<std::size_t>(row)].entries), nullptr) << row;
    }
    std::size_t at = 0;
    for (int loose = 0; loose < 2; ++loose) {
        gl_LOOSE_SPLIT = loose;
        for (const std::string& t : texts) {
            std::string hashed = proof(t);
            hashed += "\n" + marked();
            EXPECT_NE(pass_block(hashed, "разкъсана дума или грешна двойка думи"), "") << t;
            EXPECT_EQ(hashed, searched[at++]) << t;
        }
    }
    drop_word_indexes();
}

}  // namespace
