// engine/proofreading/token_spellings.h - the distinct spellings of a stretch of token store 1.
//
// A text repeats its words: a pass that judges a word by its letters alone judges each spelling once
// and reads the answer for every other record by the spelling's number. Spellings are compared byte
// for byte (letter case counts), numbered from 0 in the order they first occur.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

struct SenToken;

class TokenSpellings {
public:
    // Numbers the texts of the records [floor, nd); an empty stretch when either is null.
    TokenSpellings(const SenToken* floor, const SenToken* nd);

    // The number of the spelling of record floor + i.
    std::uint32_t id(std::size_t i) const { return ids_[i]; }
    std::size_t records() const { return ids_.size(); }
    // How many distinct spellings, and the text of one.
    std::size_t count() const { return texts_.size(); }
    std::string_view text(std::uint32_t id) const { return texts_[id]; }

private:
    std::vector<std::uint32_t> ids_;
    std::vector<std::string_view> texts_;  // point into the store
};
