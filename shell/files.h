// shell/files.h - output files: open (folder plus name), write lines, close with a report, size.
//
// File names are 8-bit text in code page 1251 (or UTF-16 in the W twins), as everywhere in the
// program; on disk they become UTF-8, the file-name encoding of Linux.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

extern FILE* fl_stat;  // the statistics log, open for the whole run; null: its lines go to stderr

// The path of `name` (code page 1251) in `folder`; an empty folder means the working folder.
std::filesystem::path fl_path(const std::filesystem::path& folder, std::string_view name);
std::filesystem::path fl_pathw(const std::filesystem::path& folder, std::u16string_view name);
// A path as 8-bit text for messages (code page 1251; unrepresentable characters become '?').
std::string path_to_cp1251(const std::filesystem::path& p);

// Opens folder + name for binary writing (the file emptied). When it cannot be opened, shows
// "\r\nCannot open %s, reason: %s, (errno = %d). Exiting..\r\n" under the caption "Oops!" and
// returns null: the caller skips the work that needed the file, and the program goes on.
FILE* make_fl(const std::filesystem::path& folder, std::string_view name);
FILE* make_flw(const std::filesystem::path& folder, std::u16string_view name);

// Closes the stream; a failure writes "ERROR: Can't close the %s file, reason: %s, (errno = %d)\r\n"
// with the display name to the statistics log and the work goes on. Returns 0 when closed cleanly,
// -1 when the close failed. A null stream is ignored (0).
int closefile(FILE* f, std::string_view display_name);
int closefilew(FILE* f, std::u16string_view display_name);

// Opens an existing regular file for binary reading. A folder (EISDIR), a named pipe, a device or
// another special file (EINVAL) is refused without being opened for reading, so that a pipe
// without a writer cannot keep the program waiting. Null then, with the error code in *err.
FILE* open_regular_for_reading(const std::filesystem::path& file, int* err = nullptr);

// Writes the text and n line ends ("\r\n") to the stream, flushing after each write. A null
// stream is ignored.
void OutputCyr(std::string_view text, int n, FILE* f);

// The size of the open file in bytes, including what is still buffered for writing; the file
// position is left where it was. -1 for a null stream or a stream that cannot seek.
std::int64_t flsz(FILE* f);

// printf-style formatting into a std::string (used for the system's message texts).
std::string jux_format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The subsystem's reset for test fixtures (fl_stat back to null; an open log is not closed).
void reset_files();
