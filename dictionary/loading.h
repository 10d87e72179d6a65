// dictionary/loading.h - loading the whole lexicon at start into the tables of lexicon/tables.h.
//
// Every loader takes the data folder (`alt` under the start folder in the program, a temporary
// folder in the tests). Files are code page 1251 (UTF-8 files are converted), CR LF or LF lines;
// docs/data-formats.md gives every layout. An absent file gives an empty row. Unsound lines are
// skipped and counted; the counts go to the statistics log and into `lexicon_load_report`.
//
// Rows of `b`, `m` and `c_glob` share the room of MAX_TOKENS_IN_ALL_DICTIONARIES entries, the
// sentence corpora that of MAX_TOKENS_IN_SENTENCE_DICTIONARIES. A file that does not fit is loaded
// as far as the room goes; the user is told once per room (message box "Oops!") and the program
// goes on.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct LexiconLoadReport {
    std::size_t files_read = 0;      // files found and read
    std::size_t entries = 0;         // entries of every table (word forms counted by record)
    std::size_t skipped_lines = 0;   // unsound lines dropped (all tables)
    std::size_t duplicates = 0;      // repeated keys or analyses dropped
    std::size_t over_room = 0;       // sound lines that found no room
    std::vector<std::string> notes;  // one line per file with skipped lines (also in the log)
};
extern LexiconLoadReport lexicon_load_report;  // of the last load

// Loads everything, in this order: the character classes and inflection-type names, the 34
// dictionaries, the English word lists, the word-class lists of the folder "c", the sentence
// corpora of "c" (unless LOAD_B_CORPUS is 0), the ending tables and the word-form index of
// "bgtypes2" (unless LOAD_BG is 0). Sets dir_alt. Returns the number of files read. The word-form
// index is read before the others and indexed on a helper thread while they load; it is counted
// and logged in its place, last.
int load_lexicon(const std::filesystem::path& folder);
// What the start does on the calling thread while the word-form index is still made on its helper
// (it builds the lists' word indexes): `first` once everything else is loaded and counted, `then`
// once the helper has let the file's bytes go, so that what `then` builds does not add to the most
// memory the load takes at once (neither may read the word-form tables or the lemma index); `last`
// once the helper has ended and the memory it freed is given back.
struct WhileFormsIndex {
    std::function<void()> first, then, last;
};
int load_lexicon(const std::filesystem::path& folder, const WhileFormsIndex& meanwhile);

// Gives the memory the C library keeps of what was freed back to the system.
void give_back_freed_memory();

// The parts, each replacing what its tables held.
int load_dictionaries(const std::filesystem::path& folder);
int load_english_lists(const std::filesystem::path& folder);
int load_word_classes(const std::filesystem::path& folder);
int load_corpora(const std::filesystem::path& folder);
// The ending tables "bgtypes2/_endings.txt": sets endings, cut, alt and count of the types.
int load_endings(const std::filesystem::path& folder);
// The word-form index "bgtypes2/_D2_ungrouped_sorted.txt" into bgmul_bottom.
int load_word_forms(const std::filesystem::path& folder);

// The file names the loaders use in "bgtypes2".
inline constexpr const char* kWordFormFile = "_D2_ungrouped_sorted.txt";
inline constexpr const char* kEndingsFile = "_endings.txt";

// The text of the message shown when a room is too small for its files.
std::string table_too_small_text(const std::string& option, const std::string& file,
                                 std::size_t lines_not_loaded);

// Empties the report and the room counters (test fixtures; reset_lexicon empties the tables).
void reset_loading();
