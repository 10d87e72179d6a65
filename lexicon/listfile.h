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
