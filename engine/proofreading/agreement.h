// engine/proofreading/agreement.h - the grammar passes of the proof-reader: two nouns next to each
// other, an adjective that disagrees with its noun, and six phrase passes (a preposition before a
// verb, "да" before a word that is not a verb, a verb before "е", doubtful short-pronoun phrases,
// two adjacent prepositions, "не" before a definite noun); and the small word tools they share.
//
// Every pass is one walk of token store 1 that asks the Bulgarian word-form index about the words
// it meets; it keeps nothing between calls and marks the source only where its row says so.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/proofreading/proof_report.h"
#include "platform/text.h"

struct PassRow;

// ---- The passes, in their order ------------------------------------------------------------------
void consecutive_nouns(ProofRun& run, const PassRow& row);     // "чаша стол" -> "чаша, стол | чаша-стол"
void adjective_noun(ProofRun& run, const PassRow& row);        // "хубава момче"
void preposition_verb(ProofRun& run, const PassRow& row);      // "за отиде"
void da_not_verb(ProofRun& run, const PassRow& row);           // "да маса", "да и" -> "да й"
void verb_before_e(ProofRun& run, const PassRow& row);         // "отиде е" -> "отиде с"
void doubtful_phrase(ProofRun& run, const PassRow& row);       // "ако ме маса"
void adjacent_prepositions(ProofRun& run, const PassRow& row); // "за от"
void ne_definite_noun(ProofRun& run, const PassRow& row);      // "не масата" -> "на масата"

namespace agree {

// A set of words given in UTF-8 (an entry may hold several, separated by blanks), kept in code page
// 1251 and searched without regard to case.
class WordSet {
public:
    WordSet(std::initializer_list<std::string_view> utf8);
    explicit WordSet(std::span<const std::string_view> utf8);
    bool has(std::string_view cp1251) const;
    std::size_t size() const { return words_.size(); }

private:
    void add(std::string_view utf8);
    std::vector<std::string> words_;
};

// One word in code page 1251, compared without regard to case.
struct Word {
    std::string cp;
    explicit Word(std::string_view utf8) : cp(utf8_to_cp1251(utf8)) {}
    bool is(std::string_view w) const { return cp_strcasecmp(w, cp) == 0; }
};

// Only blanks and carriage returns (an empty gap too): the words around it stand on one line or
// across a paragraph end, with nothing else between them.
bool blank_gap(const char* g);
// The word begins with a Cyrillic capital.
bool cyr_capital(const char* w);
// The word is in dictionary row `b_row` (binary search, case-insensitive).
bool in_dict(int b_row, std::string_view w);
// The gap begins with a line break (CR or LF).
inline bool breaks_line(const char* g) { return g[0] == '\r' || g[0] == '\n'; }

// The blank before a pair of words (when the gap before the first ends in one) and after it (when
// the gap after the last begins with one).
std::string lead_blank(const SenToken& first);
std::string tail_blank(const SenToken& after_last);

// A finding line: the context red and bold (recoloured `context_colour` when that is another), the
// suggestion part in `suggestion_colour`, and, when `marker` is above 0, the context's character at
// that offset in `marker_colour`.
void write_finding(PassReport& rep, const ProofRun& run, std::string_view context, std::string_view suggestion,
                   COLORREF suggestion_colour, long marker, COLORREF context_colour = PR_CONTEXT,
                   COLORREF marker_colour = PR_LINE_BREAK);

}  // namespace agree
