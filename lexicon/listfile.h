// lexicon/listfile.h - the file text of the lists the user edits, as they are written back (through
// write_file_safely of shell/files.h, which never leaves a half-written list).
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "shell/lists.h"

// Corpus sentences end in '.', '!', '?', the ellipsis, and also ',', ';' or ':', which are marks
// of the comma corpora and of filed statements; the list loader keeps the last three in the text.
// Without a mark yet, such a final mark moves from the sentence `s` to `mark`, with the blanks
// before it.
void cut_other_marks(std::string_view& s, unsigned char& mark);

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
