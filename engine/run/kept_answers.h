// engine/run/kept_answers.h - what the per-token report keeps, for how long, and what lets it go.
//
//   the lists' indexes       found once, kept while each still indexes its list as it is now
//                            (KeptWordIndex, spelling/word_index.h)
//   the scan's answers       the spelling answers (Bulgarian reports, English suggestions) by word
//                            form, from the first to the end of the scan; a pump that changed what
//                            they depend on lets them go; no more are kept past 24 MiB
//   recent unknown words     the last Bulgarian words judged without a generator (4,096 slots),
//                            for the scan
//   English look-ups         the b_en-bg and wl_english entries of English forms found there, for
//                            the scan, while both indexes are the builds they were read from
//   English answers          kept after the scan for its English word list while the English lists,
//                            DEEP_SPELL and what every answer reads are as they were; the word list
//                            lets them go
//   Bulgarian answers        kept after the scan for the next run (with a print of the text they
//                            were asked of), which starts with them while everything they read is
//                            as it was, and for the scan's unknown-words list (those with their
//                            text); an engine reset lets them go
//   the lists' answers       the answers each word list wrote, for the next run's list, while
//                            everything they read is as it was; an engine reset lets them go
// Nothing is written to a file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "shell/lists.h"
#include "spelling/unknown_bg.h"

class WordIndex;

// The spelling answers of a run are kept per distinct word form from the first to the end of its
// scan: the run calls the first before its scan and the second after it (which frees them). The
// Bulgarian answers are kept after the scan for the next run, which starts with them while the
// lists, options, word forms and letter case rules they depend on are as they were.
void kept_answers_begin_run();
void kept_answers_end_scan();
// Before the scan of `text8` (after token_report_begin_run): the spelling answers of its distinct
// Cyrillic words (the runs of Cyrillic letters the tokeniser cuts as whole tokens) are asked on
// the helper threads, all at once while the calling thread waits, and kept as the scan keeps the
// answers it asks; the scan then finds them as it finds a word met before. Nothing is asked ahead
// of a short text or without helper threads.
void token_report_ask_ahead(std::string_view text8);
// The scan has pumped messages: the lists or options may have changed, the answers asked under
// what no longer holds are let go.
void token_report_pumped();

// The English spelling answers the scan asked for (token_suggest of misspelt words, while a line
// showed them) are kept after it for the English word list, while the English lists, DEEP_SPELL
// and what every spelling answer reads stay as they were when every one of them was asked.
struct EnglishAnswer {
    std::int32_t suggest_ct = 0;
    bool false_positive = false;
    std::string spelling_sh;  // the suggested words joined by " | "
    std::string classes;      // token_suggest's set labels
    // No usable suggestion.
    bool none() const { return suggest_ct == 0 || (suggest_ct == 1 && false_positive); }
};
// Whether the kept answers still hold (the lists may have changed at a pump); lets them go when
// they do not. Asked before kept_english_answer and after every pump.
bool kept_english_answers_hold();
// What token_suggest answered about exactly `word` in the scan, or null when it was not asked
// (valid until the next call).
const EnglishAnswer* kept_english_answer(std::string_view word);
void release_kept_english_answers();
// Lets the Bulgarian answers kept for the next run go (their memory with them), and the word lists'
// answers kept for the next run's lists.
void release_kept_bulgarian_answers();
// The Bulgarian answers the scan kept for the next run serve its unknown-words list too, those
// asked with their whole text, while everything they read is as it was: whether they still hold
// (lets them go when they do not; asked before kept_bulgarian_answer and after every pump), and
// the report kept for exactly `word`, or null when none with its text was kept (valid until the
// answers are let go or the next run starts).
bool kept_bulgarian_answers_hold();
const BgReport* kept_bulgarian_answer(std::string_view word);

// What the report asks of the lists and of the spelling, through what is kept.
namespace kept_answers {

// Look-ups through the lists' hashed indexes (row r of b, list r of m): the entry a binary search
// finds, or null (an empty key finds nothing).
const WordIndex& row_index(int r);
const WordIndex& list_index(int r);
const ListPair* in_row(int r, std::string_view key);
const ListPair* in_list(int r, std::string_view key);

// What an English token's report reads from the lists: its b_en-bg entry, its wl_english entry and
// rank, and the folded key hash of its look-up form, with which the other lists are asked. A form
// longer than every key of b_en-bg, wl_english and wl_english2 is not hashed (`hashed` false): the
// other lists are asked without the hash, and hash it only if they hold keys that long.
struct EnglishLookups {
    const ListPair* en_bg = nullptr;
    const ListPair* english = nullptr;
    std::int32_t rank = 0;
    std::uint64_t hash = 0;
    bool hashed = false;
};
EnglishLookups english_lookups(std::string_view look);
// The entry of the look-up form in list / row `r`, asked with its hash.
const ListPair* in_list(int r, std::string_view look, const EnglishLookups& known);
const ListPair* in_row(int r, std::string_view look, const EnglishLookups& known);

// The spelling answer of a misspelt English word, and the report of a Bulgarian word (its text is
// whole when `text` is asked for): asked once per distinct form in a scan. Valid until the next
// question.
const EnglishAnswer& english_answer(std::string_view look);
// What token_suggest answers about `word`, asked now (nothing kept).
EnglishAnswer ask_english_answer(std::string_view word);
const BgReport& bulgarian_answer(std::string_view look, bool text);

// The answers the word lists wrote, kept for the next run's lists: a keystroke adds or takes out
// an entry or two of lists of thousands, whose other entries are not asked again. Each list keeps
// the answers of the entries it wrote (those of the list before it let go), while what they read
// is as it was (the English list's: the English lists, DEEP_SPELL; the unknown-words list's: what
// a Bulgarian answer reads; both: the letter case rules, the word-form index and the token
// characters). A list calls begin before its first entry and after every pump, finds what the
// last list wrote with kept_*, hands every answer it writes to keep_* and calls end after its last
// entry.
void english_list_begin();
const EnglishAnswer* kept_english_list_answer(std::string_view word);
const EnglishAnswer& keep_english_list_answer(std::string_view word, EnglishAnswer answer);
void english_list_end();
void unknown_list_begin();
const BgReport* kept_unknown_list_answer(std::string_view word);
const BgReport& keep_unknown_list_answer(std::string_view word, BgReport answer);
void unknown_list_end();

}  // namespace kept_answers
