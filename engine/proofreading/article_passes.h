// engine/proofreading/article_passes.h - the four passes over the definite article of masculine
// singular nouns and adjectives: the full article (-ът/-ят) after a preposition, where the short
// one belongs, and the short article (-а/-я) on the complement after a form of "съм", on the
// subject before such a form and on the subject at a sentence start, where the full one belongs.
// Each finding proposes the other form of the same lemma with the first letter as written. The
// passes write only into the report panel.
#pragma once

#include <string>

class WordList;
struct ProofRun;
struct PassRow;

void full_article_after_preposition(ProofRun& run, const PassRow& row);
void short_article_after_sam(ProofRun& run, const PassRow& row);
void short_article_before_sam(ProofRun& run, const PassRow& row);
void short_article_sentence_start(ProofRun& run, const PassRow& row);

// Whether the word is a masculine singular noun (else adjective) in form `slot` (1 short article,
// 2 full article) whose lemma has a form `other_slot`; that form goes into `other`.
bool article_candidate(const char* word, int slot, int other_slot, std::string& other);

// The fixed lists of the passes (tests go through them whole).
extern const WordList article_look_alikes;  // short-article look-alikes of other words
extern const WordList article_ordinals;     // "първия" ... "целия"
extern const WordList article_time_words;   // "ден" ... "уикенд"

// The words the passes look for around a word: before and after it, and the words with rules of
// their own.
namespace article_lists {
extern const WordList kLakat, kBeforeDa, kKato, kBeforeKato, kDa, kNyama, kLi, kMine, kTyaSi, kTya, kSi,
    kSte, kBeforeSi, kBeforeSte, kPluralSam, kSiOrPluralSam, kCounting, kAlwaysDoubtful, kBoga, kMi,
    kMata, kHari, kSingleTypeNext, kBoya, kSeLi, kKalna, kSeViTi, kChuvala, kKakLiSi, kSeveralTypes,
    kRelatives, kGo, kMu;
}  // namespace article_lists
