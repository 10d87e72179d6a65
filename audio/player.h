// audio/player.h - the external audio player.
//
// The player is the program "winamp0.exe" in the folder "audiopl" of the data folder: on Linux
// any executable the user puts there under that name (a script that calls their player, say). It
// is started with the clip's path as its one argument; when it is absent or cannot be started,
// the clip is handed to the desktop's "open" (its default player). The players the program starts
// are its own children, and only those are closed when the program ends.
#pragma once

#include <filesystem>
#include <string_view>

inline constexpr std::string_view kAudioPlayerName = "winamp0.exe";

// Sets dir_PlayerExeA from the data folder: dir_altA + "/audiopl/winamp0.exe".
void set_player_path();
// The player's path on disk (from dir_PlayerExeA); empty when none is set.
std::filesystem::path audio_player_path();
// The player exists as an executable regular file.
bool audio_player_present();

// Plays a clip: the player started with the clip's path, else the desktop's open of the clip.
// Returns true when one of the two took it; when neither could, the desktop's refusal is told with
// the clip's path.
bool play_clip(const std::filesystem::path& clip);

// Talking mode at start: the player is started minimised unless a process of its name runs.
// Returns true when it was started here.
bool start_player_at_startup();

// Asks every player this program started and that still runs to close; forgets them all.
void close_audio_players();
