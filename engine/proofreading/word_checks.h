// engine/proofreading/word_checks.h - the passes that look at words and the two words around a gap:
// repeated words and the в/във, с/със forms, dots and letter case, Latin look-alike words,
// paragraph ends and indents, blanks and hyphens at line and word edges, proper names written small,
// comparison forms without hyphen, щ/ш confusions and split words; and what these passes share.
//
// Every pass is one walk of token store 1 and keeps nothing between calls. Their word lists are
// written in UTF-8 and turned into code page 1251 once, on first use.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/proofreading/proof_report.h"
#include "engine/proofreading/token_spellings.h"
#include "platform/text.h"

struct PassRow;

// ---- The passes, in their order ------------------------------------------------------------------
void repeated_word(ProofRun& run, const PassRow& row);        // "и и", "стол стол"
void v_to_vav(ProofRun& run, const PassRow& row);             // "в вода" -> "във вода"
void vav_to_v(ProofRun& run, const PassRow& row);             // "във стол" -> "в стол"
void s_to_sas(ProofRun& run, const PassRow& row);             // "с сол", "с 7" -> "със ..."
void sas_to_s(ProofRun& run, const PassRow& row);             // "със нож", "със 20" -> "с ..."
void blank_before_dot(ProofRun& run, const PassRow& row);     // "думата ."
void two_dots(ProofRun& run, const PassRow& row);             // ".." (summary)
void small_then_capital(ProofRun& run, const PassRow& row);   // "гОлям"
void capitals_then_small(ProofRun& run, const PassRow& row);  // "МОСКВа"
void latin_look_alike(ProofRun& run, const PassRow& row);     // "cok" -> "сок"
void paragraph_end(ProofRun& run, const PassRow& row);        // a paragraph without final mark
void paragraph_indent(ProofRun& run, const PassRow& row);     // a paragraph without its tab
void trailing_blank(ProofRun& run, const PassRow& row);       // "ред \r"
void trailing_hyphen(ProofRun& run, const PassRow& row);      // "не-\rвероятно"
void one_sided_hyphen(ProofRun& run, const PassRow& row);     // "добре -дошли"
void leading_blank(ProofRun& run, const PassRow& row);        // "\r дума"
void small_proper_name(ProofRun& run, const PassRow& row);    // "софия"
void comparison_without_hyphen(ProofRun& run, const PassRow& row);  // "най голям"
void sht_to_sh(ProofRun& run, const PassRow& row);            // participle in -щ for a verb in -ш
void sh_to_sht(ProofRun& run, const PassRow& row);            // verb in -ш for a participle in -щ
void split_words(ProofRun& run, const PassRow& row);          // "не вероятно", listed wrong pairs
// What these three write after their last finding (the token index sorted, its summary), once
// for all the stretches of the store a run walked or played them over.
void sht_to_sh_close(ProofRun& run);
void sh_to_sht_close(ProofRun& run);
void split_words_close(ProofRun& run);

// ---- Tables -------------------------------------------------------------------------------------
// A Latin letter and the Cyrillic letter (UTF-8) it looks like.
struct LookAlike {
    char latin;
    std::string_view cyrillic;
};
inline constexpr int LOOK_ALIKES = 26;
extern const std::array<LookAlike, LOOK_ALIKES> look_alikes;

// Phrases after "по"/"най" that are no comparison: any of `words` followed by any of `next`
// (UTF-8, blank-separated).
struct ComparisonPhrase {
    std::string_view words;
    std::string_view next;
};
inline constexpr int COMPARISON_PHRASES = 29;
extern const std::array<ComparisonPhrase, COMPARISON_PHRASES> comparison_phrases;

// ---- Shared by the passes ------------------------------------------------------------------------
inline constexpr COLORREF PR_BLUE = 0xFF552A;  // suggestion of a likely fault

// The code page 1251 form of a UTF-8 word.
inline std::string cp1251(std::string_view utf8) { return utf8_to_cp1251(utf8); }

// A list of words kept in code page 1251 in the order given, looked up case-insensitively or exactly
// (binary search in a sorted copy).
class WordList {
public:
    // The words of the UTF-8 texts, each text split at blanks.
    WordList(std::initializer_list<std::string_view> utf8);
    explicit WordList(std::span<const std::string_view> utf8);
    bool has(std::string_view w) const;        // case-insensitive
    bool has_exact(std::string_view w) const;  // byte for byte
    std::size_t size() const { return words_.size(); }
    const std::vector<std::string>& words() const { return words_; }

private:
    void add(std::string_view utf8);
    void sort();
    // Most words asked about are in no list: their length or first letter says so at once.
    bool may_hold(std::string_view w) const;
    std::vector<std::string> words_;
    std::vector<std::string> sorted_;  // the words in case-insensitive order
    std::size_t shortest_ = 0, longest_ = 0;
    std::array<std::uint64_t, 4> firsts_{};  // the words' first letters, folded by every letter case rule
};

// Case-insensitive equality of a word with a code page 1251 text.
// The verdicts of one pass by spelling, kept while the spellings they are of live: the stretches of
// one run judge each spelling once.
class JudgedSpellings {
public:
    enum : std::uint8_t { kUnjudged, kFault, kFine };
    std::vector<std::uint8_t>& of(const std::shared_ptr<const TokenSpellings>& spellings) {
        if (of_.lock() != spellings) {
            of_ = spellings;
            verdict_.assign(spellings->count(), kUnjudged);
        }
        return verdict_;
    }

private:
    std::weak_ptr<const TokenSpellings> of_;
    std::vector<std::uint8_t> verdict_;
};

// Calls `report` for every record of the run whose word `judge` finds at fault, in order. Each
// spelling is judged once, by its first record: `judge` must answer by the word's text alone.
template <typename Judge, typename Report>
void walk_judged(const ProofRun& run, Judge&& judge, Report&& report) {
    if (!run.floor || run.nd <= run.floor) return;
    const PassSpellings spellings(run.floor, run.nd);
    enum : std::uint8_t { kUnjudged = JudgedSpellings::kUnjudged, kFault = JudgedSpellings::kFault, kFine = JudgedSpellings::kFine };
    // One for each pass (each has its own judge).
    static JudgedSpellings kept;
    std::vector<std::uint8_t>& verdict = kept.of(spellings.shared());
    const auto first = static_cast<std::size_t>(run.begin() - run.floor);
    const auto stop = std::min(spellings->records(), static_cast<std::size_t>(run.end() - run.floor));
    for (std::size_t i = first; i < stop; ++i) {
        std::uint8_t& v = verdict[spellings->id(i)];
        if (v == kUnjudged) v = judge(run.floor + i) ? kFault : kFine;
        if (v == kFault) report(run.floor + i);
    }
}

// The word, letter case ignored, is `cp` (code page 1251). Asked of nearly every record by several
// passes: most words differ in their first letter, told at once.
inline bool same_word(const char* w, const std::string& cp) {
    return cp_tolower(static_cast<unsigned char>(w[0])) == cp_tolower(static_cast<unsigned char>(cp[0])) &&
           cp_strcasecmp(w, cp.c_str()) == 0;
}
// True when the gap holds only blanks and carriage returns (an empty gap too): the words around it
// stand on one line or across a paragraph end, with nothing else between them. Asked of nearly
// every record by many passes: inline.
inline bool blank_gap(const char* g) {
    while (*g == ' ' || *g == '\r') ++g;
    return *g == 0;
}
// The first character is a carriage return or a line feed.
inline bool begins_with_break(const char* gap) { return gap[0] == '\r' || gap[0] == '\n'; }
// The word is a key of the dictionary row (binary search ignoring case); an empty word is not.
bool in_b_row(int row, std::string_view word);
// True when the known-word list (b_bulgarian) holds the word.
bool known_bg(std::string_view w);
// The text cut to the 127 characters of the pair-form buffers.
std::string cut127(std::string s);
// Small, capital: the Cyrillic or Latin letter classes.
bool cyr_upper(char c);
bool cyr_lower(char c);

// Book texts mark regions with one-letter tag lines: the letter (one of A C D E F I L M P S T) as a
// word and a gap after it that opens ('>') or closes ('$') the region.
bool tag_letter(const char* w);
bool tag_line(const SenToken* p);

// The blank before a pair of words (when the gap before the first ends in one) and after it (when
// the gap after the last begins with one).
std::string lead_blank(const SenToken& first);
std::string tail_blank(const SenToken& after_last);

// The context of two neighbouring words: lead and trail are a blank when a blank stands before the
// first word and after the second one; the two words always stand one blank apart.
struct WordPair {
    const SenToken* p;  // the second word's record; the first is p - 1
    std::string lead, trail;
    explicit WordPair(const SenToken* at);
    std::string context() const;
    // lead + text + trail: the form of a suggestion.
    std::string wrap(std::string_view text) const { return lead + std::string(text) + trail; }
    // Writes the finding and, when the gap begins with a line end, the pink marker on the first
    // word's last letter.
    void report(PassReport& rep, const ProofRun& run, std::string_view suggestion, COLORREF colour) const;
};

// The lower, upper and capitalised forms of a word (letters only change).
std::string lower_word(std::string_view w);
std::string upper_word(std::string_view w);
std::string capitalised_word(std::string_view w);

// The summary of the findings a pass put into the single token index: a header with the number of
// distinct texts, `kind` and the total, then one numbered line per text with its count and the
// suggestion that `suggest` gives (an empty text for none) in the colour it sets.
struct SummaryEntry {
    std::string suggestion;
    COLORREF colour = PR_SUGGESTION;
};
void findings_summary(ProofRun& run, std::u16string_view kind, SummaryEntry (*suggest)(std::string_view name));

// The short word lists of the word passes.
namespace word_check_lists {
extern const WordList kShtNotBefore;       // "щ" for "ш": not after these words
extern const WordList kShNotAfter;         // "ш" for "щ": not after these words
extern const WordList kSubtitleBeyond;     // words of the comma list that may end a subtitle line
extern const WordList kSubtitleParticles;  // words of type 189 that may end a subtitle line
extern const WordList kHyphenPrefixes;     // a line-end hyphen after these is right
extern const WordList kLatinSkip;          // Latin words never taken for look-alikes
extern const WordList kRepeatExceptions;   // doubled words that are right (compared exactly)
}  // namespace word_check_lists
