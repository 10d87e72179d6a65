// lexicon/listfile.h - writing the lists the user edits back to their files without ever leaving a
// half-written list: the new text goes to a temporary file in the same folder, which then replaces
// the old file by a rename; the described backup is taken before.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "shell/lists.h"

// Writes `bytes` to `file` through a temporary file in its folder and a rename. 1 on success; 0
// with errno set when it could not (the old file is then unchanged).
int write_file_safely(const std::filesystem::path& file, std::string_view bytes);

// Reads the whole of `file` into `bytes`. False (errno set) when it cannot be opened or read - a
// read error is an answer here, never an exception.
bool read_file_bytes(const std::filesystem::path& file, std::string& bytes);

// Copies `file` to `backup` (replacing it) through a temporary file. 1 when copied, 0 when `file`
// does not exist or could not be copied.
int backup_file(const std::filesystem::path& file, const std::filesystem::path& backup);

// Appends one line (CR LF added) to a journal file; 1 on success.
int append_journal(const std::filesystem::path& file, std::string_view line);

// The current local time as "YYYY-MM-DD HH:MM:SS".
std::string journal_time();

// A {key, rest} list as file text: "key rest\r\n", or "key\r\n" without a rest.
std::string pairs_to_text(std::span<const ListPair> entries);
// A sentence corpus as file text: English sentence and mark, TAB, Bulgarian sentence and mark.
std::string sentences_to_text(std::span<const SentencePair> entries);

// A list that did not fit into the room of its kind holds only the first part of its file; written
// back alone it would lose the rest. These give the file text of such a list: its entries, and the
// entries of `file` that it never held (no entry of the list has the same key byte for byte), but
// for `changed_key` (compared case-insensitively), the key the user has just filed, updated or
// deleted. Sorted case-insensitively (the list's own entry first among equal keys).
std::string pairs_to_text_keeping_unloaded(const std::filesystem::path& file, std::span<const ListPair> entries,
                                           std::string_view changed_key);
// The same for a sentence corpus; the key is the English sentence without its final mark.
std::string sentences_to_text_keeping_unloaded(const std::filesystem::path& file,
                                               std::span<const SentencePair> entries, std::string_view changed_key);
