// audio/audio_state.h - the state of the audio subsystem: the audio buttons' bitmaps, the external
// player and the programs started for it; the archive builder's walk state is the folder tools'
// (foldertools/walk_state.h).
#pragma once

#include <string>
#include <vector>

#include "foldertools/walk_state.h"
#include "platform/window.h"

// ---- Pronunciation -------------------------------------------------------------------------
extern std::string dir_PlayerExeA;  // 8-bit path of the external player (data folder + "/audiopl/winamp0.exe")
extern HBITMAP gl_bitmap_green;     // the audio buttons' bitmap for "a clip was found" (resource 130)
extern HBITMAP gl_bitmap_red;       // the bitmap for "no clip" (resource 129)
extern HWND hAddAudioButton;        // the main window's audio button 1297 (null: no main window)
extern std::vector<int> audio_player_handles;  // players this program started (PL_StartChildProgram)
extern bool audio_folder_warned;    // the clip folder's write failure was shown once this run

// The subsystem's reset for test fixtures: the folder walk's state reset, no player, no bitmaps,
// no button.
void reset_audio();
