#include "audio/audio_state.h"

std::string dir_PlayerExeA;
HBITMAP gl_bitmap_green{};
HBITMAP gl_bitmap_red{};
HWND hAddAudioButton{};
std::vector<int> audio_player_handles;
bool audio_folder_warned = false;

void reset_audio() {
    reset_folder_walk();
    dir_PlayerExeA.clear();
    gl_bitmap_green = gl_bitmap_red = HBITMAP{};
    hAddAudioButton = HWND{};
    audio_player_handles.clear();
    audio_folder_warned = false;
}
