// lexicon/entry_text.h - the text of dictionary entries for display: numbered senses, provenance
// labels, transcription substitutes, and the neighbourhood of a key in a sorted list.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "shell/lists.h"

// Copies definition markup into `dest` with "# " turned into "1. ", "2. " ... (the count restarts
// at every '@') and " @ " into " I. " to " IX. " (beyond nine " X?. "). `dest` is left empty when
// nothing was converted; the caller then uses the source.
void number_signs_to_numbers(std::string_view source, std::string& dest);

// The text of `a` (at most 32,767 characters) without the provenance labels " [BULK]", " [AUTO]",
// " [B]", " (M)", " (M2)", " (M3)", " (E)".
std::u16string remove_bulk_labelW(std::u16string_view a);

// Turns the dictionary's transcription substitutes into IPA characters and accented vowels, in
// place (docs/data-formats.md lists them). Only the grave accent grows: it becomes "ɜː", so a
// position in the 8-bit text moves by the number of grave accents before it.
void ReplaceAChars(std::u16string& text);

// The limit of the neighbourhood text (the 2 MiB scratch buffer).
inline constexpr std::size_t RICH_CHUNK_MAX = 2'097'151;

// Writes the lines of the sorted list around `key` into `dest` ("%s %s\n": word and definition;
// a word without definition alone): up to `w` lines before the key's place and up to `w` from it.
// `offset` and `index` give the character offset and line number of the key's place, `found`
// whether the key itself is there. Lines are whole: the text ends before the first line that would
// take it past RICH_CHUNK_MAX bytes. Returns the number of lines written.
int GetRichChunk(std::string_view key, std::span<const ListPair> list, std::string& dest, int w,
                 long& offset, int& index, int& found);
// The same for the Bulgarian list: each line also carries the form's analysis (GetBgType).
int GetRichChunkBg(std::string_view key, std::span<const ListPair> list, std::string& dest, int w,
                   long& offset, int& index, int& found);
