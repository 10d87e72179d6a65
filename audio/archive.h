// audio/archive.h - the audio archive and its index, and the builder that packs a folder tree of
// clips into a new archive and index.
//
// The archive is the plain concatenation of the bytes of every clip, in walk order: no header,
// no separator, no padding. The index is a list file (code page 1251, CR LF), one line per clip:
// "%s %I64u %I64u\r\n" of the key, the stored offset A and the stored size B. The key is the
// clip's file name up to its first '.' (letters kept in their case). The real offset and length
// are stored transformed by two numbers of the key: S, the sum of its bytes taken unsigned
// (32-bit), and L, its last byte: A = off + 7 x S + 11, B = size + S + L - 3. For the key "abc"
// (S = 294, L = 99) a clip of 1,000 bytes at offset 0 is indexed with A = 2069, B = 1390.
//
// The program reads two archives from the folder "audio" of the data folder: "audio" (English
// words and phrases, index b_english_ao) and "audio2" (Bulgarian words, index b_english_ao2).
// The builder writes "audio_NEW" and "b_english_ao_NEW.txt" (unsorted, in walk order) into the
// data folder; putting them in place under one of the two names is the user's step.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/window.h"

inline constexpr std::string_view kAudioArchiveNew = "audio_NEW";
inline constexpr std::string_view kAudioIndexNew = "b_english_ao_NEW.txt";

// S and L of a key (both 0 for an empty key).
struct AudioKeySums {
    std::uint32_t sum = 0;   // S
    std::uint32_t last = 0;  // L
};
AudioKeySums audio_key_sums(std::string_view key);

// The key of a clip file name: the name up to its first '.'. A blank or another control byte,
// which would end the key early when the index is read, becomes '_' (the phrase separator).
std::string audio_clip_key(std::string_view file_name);

// The stored numbers of a clip at `offset` of `size` bytes.
struct AudioStored {
    std::uint64_t a = 0;
    std::uint64_t b = 0;
};
AudioStored audio_store(std::string_view key, std::uint64_t offset, std::uint64_t size);

// A clip's place in the archive, read back from its index entry.
struct AudioSlice {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};
// Reads A and B (unsigned decimal numbers separated by a blank) from an index entry's rest and
// turns them back. Empty when the rest does not hold them, or when they stand for a negative
// offset or size (a damaged entry).
std::optional<AudioSlice> audio_slice(std::string_view key, std::string_view rest);

// The index line of a clip: "%s %I64u %I64u\r\n".
std::string audio_index_line(std::string_view key, std::uint64_t offset, std::uint64_t size);

// Copies `size` bytes from `offset` of the archive to `out`, or as many as the archive holds
// from there. Returns the bytes copied (0 when the offset lies at or past the archive's end).
std::uint64_t audio_copy_slice(FILE* archive, std::uint64_t offset, std::uint64_t size, FILE* out);

// The builder: walks the folder and its sub-folders and appends every non-empty regular file to
// gl_fl_concatenated and its index line to gl_fl_stat (both flushed after every clip). The caller
// has opened both streams and zeroed the counters, and closes the streams afterwards.
//
// Each clip's bytes are copied to the archive in pieces (a clip of any length needs no more
// memory than one piece), as many as the clip held when it was opened, then its line is written
// with the offset where its bytes begin and the number of bytes really copied, so the index never
// points at bytes the archive does not hold. The archive and the index themselves are never taken
// as clips, also when the walked tree holds the data folder where they are written.
// A clip that cannot be read is reported ("Cannot process") and left out of both files; a file
// whose name begins with '.' (an empty key no look-up could find) is left out too, and so is a
// file whose name has characters that code page 1251 lacks (two such names would share a key of
// question marks), each with a line naming it in the statistics log. A clip whose bytes or index line cannot be written (a
// full disk) is taken back from both files, is not counted, and ends the walk; the failure is
// noted with the file's name for the box that ends the command.
void dir_to_list_audio(const std::filesystem::path& folder);

// The main window's command "Make audio file": opens "b_english_ao_NEW.txt" and "audio_NEW" in
// the data folder, lets the user pick the top folder (a cancelled choice ends the command), tells
// where the files go, builds them and reports the five counters under "Done!" (show_walk_counters:
// only the clips written count; the box names the statistics log when clips were left out).
void make_audio_file(HWND owner);
