// engine/exports.h - the token and repeated-passage exports of a filled token store.
//
// The token export writes ten frequency lists of a text's separators (gaps) and tokens into the
// working folder, named "___<label>_<kind><suffix>":
//   SPACE_NUM{,_SENTENCE,_NO_SENTENCE}.txt     separators by count (sentence ends / the others)
//   SPACE_ALPHA{,_SENTENCE,_NO_SENTENCE}.txt   the same by name, case-insensitively
//   TOKENS_ALPHA_UNGROUPED_INSENCS.txt         tokens, each spelling apart, by name ignoring case
//   TOKENS_ALPHA_UNGROUPED_SENS.txt            the same in byte order
//   TOKENS_NUM_GROUPED.txt                     tokens grouped ignoring case, by count
//   TOKENS_ALPHA_GROUPED_INSENCS.txt           the same by name, ignoring case
// Lines are "%d. |%s| %d" (separators between bars, so that blanks show) or "%d. %s %d" (tokens):
// the line's place in its file from 0, the name, the count.
//
// The repeated-passage report finds passages of the text that occur twice (a paragraph pasted
// twice) and lists them, with record and character ranges and a few words of context, in the
// output file "_REPEATED" beside the dropped file (engine/output_files.h).
//
// The search looks, at every REPEATED_CHECK_EACH-th record, for the longest later passage equal to
// the one starting there (tokens compared without regard to case), extends a repeat found back to
// where it really begins, and reports it when it is longer than REPEATED_LONGER_THAN tokens. It
// works on suffix arrays of the token sequence and of its reverse, so that its time grows as
// n log n with the text, not with its square, while it finds exactly the passages that the
// comparison of every examined start with every later position would find.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/token_store.h"

// The longest report entry and context strings, in characters; longer ones are cut.
inline constexpr std::size_t REPEATED_ENTRY_ROOM = 255;

// Writes the ten files for the records [first, nd) of a store; label names the source ("UP" for
// the checker window's text, "DOWN" for the Bulgarian-text window). Counts the tokens in
// token-index instance 1 of family 4 for store 2 and instance 2 for any other store (released
// when the export ends), the separators in an index of its own (on a helper thread while the
// tokens are counted, for a long text). A file that cannot be created is reported by make_fl and
// ends this export (the files opened so far are closed).
void export_sorted_tokens_and_spaces(const SenToken* first, const SenToken* nd, const char* label);

// The same in two steps: the files opened (on the main thread: a file that cannot be created is
// reported there; null when a separator file cannot be, and the token files are then not made),
// then the tables counted and written, on any thread, while the records and the options stay as
// they are; the token index's memory exhausted there throws std::bad_alloc when the thread asked
// gmake_exhaustion_throws.
struct TokenExports;
struct TokenExportsDeleter {
    void operator()(TokenExports* e) const;
};
using TokenExportsPtr = std::unique_ptr<TokenExports, TokenExportsDeleter>;
TokenExportsPtr open_token_exports(const SenToken* first, const SenToken* nd, const char* label);
void write_token_exports(TokenExports& exports);

// One repeated passage: the two occurrences, as record numbers counted from the first record.
struct RepeatedPassage {
    std::size_t first = 0;   // start of the first occurrence
    std::size_t second = 0;  // start of the second occurrence
    std::size_t length = 0;  // records in each occurrence
    bool adjacent = false;   // it begins two records after the end of the run considered before it
    friend bool operator==(const RepeatedPassage&, const RepeatedPassage&) = default;
};

// The passages the report lists for the records [first, nd), in the order found. check_each is the
// distance between examined starts (0 or less counts as 1); longer_than the length a passage must
// exceed. The records 1,024 past nd are read as sentinel records and never equal a token.
std::vector<RepeatedPassage> find_repeated_passages(const SenToken* first, const SenToken* nd, int check_each,
                                                    int longer_than);

// The report entry of a passage (at most REPEATED_ENTRY_ROOM characters):
// "%sct:%d, word: %d to %d -- %d to %d (char: %d to %d -- %d to %d)\r\n... %s ... %s\r\n" with "+"
// for an adjacent passage, the length, both record ranges, both character ranges (first character
// of the first token to the last character of the last token) and two context strings: the first
// five records of the first occurrence and the five that end it.
std::string repeated_passage_entry(const SenToken* first, const SenToken* nd, const RepeatedPassage& p);

// The repeated-passage report for the records [first, nd) with the options REPEATED_CHECK_EACH and
// REPEATED_LONGER_THAN: entries go to the "_REPEATED" output file (when there are at least two
// records and the file can be made) and, when the checker window exists and the passage has at
// least 6 tokens, to its bottom panel as they are found, the message queue being pumped after
// each. Returns the time the report took, "phase time: %i:%02i:%02i:%03I64i", for the caller's
// status line (a timing note, no error). A report asked for while one is being made (through the
// message pump) waits and is made after it, from its token store as the store then stands (one
// waiting request per store); that call returns an empty note, and the first call returns the
// note of the last report it made.
std::string export_duplicate_strings(const SenToken* first, const SenToken* nd);

// A status line with the repeated passages' timing note after it (two blanks between them); the note
// alone when the line is empty, the line alone when the note is.
std::string with_timing_note(std::string line, const std::string& note);
