// engine/proofreading/comma_scans.h - the missing-comma pass: four scans of token store 1, for
// conjunctions of one, two, three and four words (and for a relative word after a word of
// b_bulgarian_comma1), each reporting where a comma may be missing before the conjunction and
// marking that place in the source. The scans share one title and one finding counter, so the
// report lists the one-word findings first, then the two-word ones, and so on.
#pragma once

class WordList;
struct ProofRun;
struct PassRow;

void missing_commas(ProofRun& run, const PassRow& row);

// The words of the fixed expressions before a relative word, of the indefinite phrases and of the
// exclusions that the scans test word by word.
namespace comma_scan_words {
extern const WordList kRelatives9, kRelatives4, kKoito, kNa, kOt, kS, kKakvoto, kBlagodarenie,
    kWithinNa, kOneOfOt, kPartOt, kPartNa, kPo, kVaz, kTime, kOsnova, kI, kDa, kE, kBil, kBeshe, kOsven,
    kZa, kNatatak, kOtsega;
}  // namespace comma_scan_words
