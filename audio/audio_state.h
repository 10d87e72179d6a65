// audio/audio_state.h - the state of the audio subsystem: the folder walk's counters and output
// streams, the audio buttons' bitmaps, the external player and the programs started for it.
//
// The folder tools (the audio archive builder and the text batch tools) share the walk counters
// and the output streams: the command that starts a tool zeroes the counters and opens the
// streams, the walk fills them, the command reports the counters and closes the streams.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/window.h"

// ---- Folder walk ---------------------------------------------------------------------------
extern std::uint32_t fl_ct_global;          // regular files seen
extern std::uint32_t fl_ct_global_nonzero;  // regular files of length > 0 seen
extern std::uint32_t fl_ct_global_zero;     // regular files of length 0 seen
extern std::uint64_t sz_global;             // bytes of the files taken (the builder's archive offset)
extern std::uint32_t dir_ct_global;         // sub-folders entered
extern std::uint32_t gl_file_index;         // running number of converted copies (starts 1)
extern FILE* gl_fl_stat;                    // the tool's report (the builder: the new index)
extern FILE* gl_fl_concatenated;            // the tool's concatenated output (the builder: the new archive)
extern FILE* gl_fl_concatenated_ansi;       // the converter's concatenated 8-bit texts
extern std::filesystem::path gl_dir_orig;   // the folder a mirroring tool walks (the picked folder)
extern std::filesystem::path gl_dir_res;    // the result folder of a folder tool ("<picked>_res")
// The five counters zeroed and gl_file_index set to 1, as a folder command does before its walk.
void reset_walk_counters();

// ---- Pronunciation -------------------------------------------------------------------------
extern std::string dir_PlayerExeA;  // 8-bit path of the external player (data folder + "/audiopl/winamp0.exe")
extern HBITMAP gl_bitmap_green;     // the audio buttons' bitmap for "a clip was found" (resource 130)
extern HBITMAP gl_bitmap_red;       // the bitmap for "no clip" (resource 129)
extern HWND hAddAudioButton;        // the main window's audio button 1297 (null: no main window)
extern std::vector<int> audio_player_handles;  // players this program started (PL_StartChildProgram)
extern bool audio_folder_warned;    // the clip folder's write failure was shown once this run

// The subsystem's reset for test fixtures: counters zeroed, streams forgotten (not closed), no
// player, no bitmaps, no button.
void reset_audio();
