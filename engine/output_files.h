// engine/output_files.h - output files named after the file the user is working on.
//
// Several commands turn the text being worked on into a file (a corrected copy, an OCR-corrected
// copy, the text without its subtitle time codes, word lists, logs, the repeated-passage report).
// When the text came from a file that was dropped on a window or opened (gl_dropped), the output
// goes into that file's folder under "<prefix>_<file name>"; otherwise it goes into the start
// folder under "<prefix>.txt".
//
// Prefixes in use: "FREQ", "FREQ2", "AUTO", "AUTO_LOG", "OCR", "NO_TIME_CODE", "TIME_CODE",
// "FIXED", "LOG", "_REPEATED".
#pragma once

#include <cstddef>
#include <cstdio>

// The longest file name made here, in characters; longer names are cut.
inline constexpr std::size_t OUTPUT_NAME_ROOM = 259;

// Creates (or empties) the output file for `prefix` and opens it for binary reading and writing
// ("wb+"); the caller writes 8-bit text with CR LF line ends and closes it with closefile.
//
// - gl_dropped empty: "<prefix>.txt" in the start folder (start_dir; the working folder when
//   start_dir is empty or cannot be entered).
// - Otherwise a trailing '/' is first removed from gl_dropped itself (a dropped folder is named
//   after its last component, in its parent); the file is "<prefix>_<name>" where name is the part
//   after the last '/', made in the part before it ("/" for a file in the root folder). A path
//   without any '/' names a file of the working folder. When the folder cannot be entered, the
//   message "Cannot change to folder %s, reason: %s, (errno = %d)\n" (the whole path) is shown
//   under "Oops!" and the file is made in the working folder instead.
// - Names are cut to OUTPUT_NAME_ROOM characters.
//
// The working folder is the same on return as on entry. Returns null, showing nothing, when the
// file cannot be created (read-only folder, invalid name); the caller then skips that output.
FILE* generate_file_from_dropped_or_predifined(const char* prefix);

// The same, showing "Cannot open %s, reason: %s, (errno = %d). This file is not written; the work
// goes on." under "Oops!" when the file cannot be created: the caller skips that output and the
// rest of the work is done, as the message says.
FILE* open_generated_file(const char* prefix);
