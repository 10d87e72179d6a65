// engine/proofreading/token_spellings.h - the distinct spellings of a stretch of token store 1.
//
// A text repeats its words: a pass that judges a word by its letters alone judges each spelling once
// and reads the answer for every other record by the spelling's number. Spellings are compared byte
// for byte (letter case counts), numbered from 0 in the order they first occur.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

struct SenToken;

// A set of words, letter case ignored, kept as bits of their folded hashes: a word whose bit is clear
// is surely not in it, so that a pass searches a list only for the few words that may be.
class FoldedWords {
public:
    // `bits`: a power of two, some 50 times the number of words for few false answers.
    explicit FoldedWords(std::size_t bits) : mask_(bits - 1), bits_((bits + 63) / 64) {}
    void add(std::string_view word);
    bool may_hold(std::string_view word) const;

private:
    std::size_t mask_;
    std::vector<std::uint64_t> bits_;
};

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
    // word_hash of the spelling's text (its key in the numbering).
    std::uint64_t hash(std::uint32_t id) const { return hashes_[id]; }
    // Whether these are the spellings of the records [floor, nd).
    bool covers(const SenToken* floor, const SenToken* nd) const { return floor == floor_ && nd == nd_; }

private:
    const SenToken* floor_;
    const SenToken* nd_;
    std::vector<std::uint32_t> ids_;
    std::vector<std::string_view> texts_;  // point into the store
    std::vector<std::uint64_t> hashes_;    // word_hash of each
};

// While a proof-reading run's passes run: the spellings of the run's records, numbered once, when
// the first pass asks, for every pass that asks after it.
class RunSpellings {
public:
    RunSpellings();
    ~RunSpellings();
    RunSpellings(const RunSpellings&) = delete;
    RunSpellings& operator=(const RunSpellings&) = delete;

private:
    friend std::shared_ptr<const TokenSpellings> spellings_of(const SenToken* floor, const SenToken* nd);
    RunSpellings* outer_;
    std::shared_ptr<const TokenSpellings> spellings_;
};

// The spellings of [floor, nd): the open run's when it has them for the same records (numbered now
// when the run has none yet), else numbered for the caller alone.
std::shared_ptr<const TokenSpellings> spellings_of(const SenToken* floor, const SenToken* nd);

// The spellings of [floor, nd) for one pass: the open run's when it has them for the same records,
// else numbered for this pass alone.
class PassSpellings {
public:
    PassSpellings(const SenToken* floor, const SenToken* nd);
    const TokenSpellings& operator*() const { return *spellings_; }
    const TokenSpellings* operator->() const { return spellings_.get(); }
    // The spellings shared: what a pass keeps about them from one stretch of the run to the next
    // holds while they live.
    const std::shared_ptr<const TokenSpellings>& shared() const { return spellings_; }

private:
    std::shared_ptr<const TokenSpellings> spellings_;
};
