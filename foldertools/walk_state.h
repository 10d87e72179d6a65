// foldertools/walk_state.h - the state the folder tools share with the folder walk: its counters,
// the tool's output streams and its folders.
//
// The folder tools (the text tools here and the audio archive builder) share the walk counters
// and the output streams: the command that starts a tool zeroes the counters and opens the
// streams, the walk fills them, the command reports the counters and closes the streams.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>

extern std::uint32_t fl_ct_global;          // regular files counted (those of length > 0 only when taken)
extern std::uint32_t fl_ct_global_nonzero;  // regular files of length > 0 taken
extern std::uint32_t fl_ct_global_zero;     // regular files of length 0 seen
extern std::uint64_t sz_global;             // bytes of the files taken (the builder's archive offset)
extern std::uint32_t dir_ct_global;         // sub-folders entered
extern std::uint32_t fl_ct_left_out;        // files of the tool's kind left out (unreadable, unwritten)
extern std::uint32_t walk_lines_logged;     // lines the walk's tools wrote to the statistics log
extern std::uint32_t gl_file_index;         // running number of converted copies (starts 1)
extern FILE* gl_fl_stat;                    // the tool's report (the builder: the new index)
extern FILE* gl_fl_concatenated;            // the tool's concatenated output (the builder: the new archive)
extern FILE* gl_fl_concatenated_ansi;       // the converter's concatenated 8-bit texts
extern std::filesystem::path gl_dir_orig;   // the folder a mirroring tool walks (the picked folder)
extern std::filesystem::path gl_dir_res;    // the result folder of a folder tool ("<picked>_res")
// The counters zeroed and gl_file_index set to 1, as a folder command does before its walk.
void reset_walk_counters();

// The reset for test fixtures: counters zeroed, streams forgotten (not closed), no folders, the
// text tools' hooks emptied.
void reset_folder_walk();
