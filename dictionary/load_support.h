// dictionary/load_support.h - helpers shared by the loaders of dictionary/ (not for other folders).
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/lists.h"

namespace load_support {

// Writes one line to the statistics log (stderr while no log is open).
void log_line(std::string_view line);

// Counts a file's skipped lines and dropped duplicates into the report and logs them.
void note_file(const std::filesystem::path& file, const ListLoadStats& st, std::size_t duplicates);

// Drops, from a list sorted case-insensitively, every entry whose key repeats a key of the same
// case-insensitive run byte for byte (the first one stays). Returns how many were dropped.
std::size_t drop_repeated_keys(std::vector<ListPair>& entries);

// The entries that the pool of every {key, rest} list may still take, and the same for sentences.
std::size_t room_left(bool sentences);
// Counts entries taken from a pool; `over_room` sound lines did not fit: the first time in a run
// the user is told which option to raise.
void take_room(bool sentences, std::size_t taken, std::size_t over_room, const std::filesystem::path& file);

// The word-form index in three steps, so that its indexing may run on a helper thread beside the
// other loaders: `open_word_forms` empties its tables and reads the file (on the loading thread: a
// read that finds no memory ends the program with its message); `index_word_forms` makes the
// records and the lemma index from the bytes read, touching nothing but those tables and `load`
// (any one thread); `report_word_forms`, on the loading thread, counts and logs the file as
// load_word_forms does.
struct WordFormLoad {
    std::filesystem::path file;
    std::shared_ptr<ListText> text;  // the file's bytes until indexed; null when there is no file
    ListLoadStats stats;
    std::size_t duplicates = 0;
    bool read = false;  // indexed
};
WordFormLoad open_word_forms(const std::filesystem::path& folder);
// `compacted`, when given, is called (on the indexing thread) once the file's bytes are let go, before
// the lemma index and the form hash are made.
void index_word_forms(WordFormLoad& load, const std::function<void()>& compacted = {});
void report_word_forms(const WordFormLoad& load);

}  // namespace load_support
