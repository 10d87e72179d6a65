#include "audio/player.h"

#include <string>
#include <unistd.h>

#include "audio/audio_state.h"
#include "lexicon/tables.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/settings.h"
#include "shell/ui_services.h"

namespace {

bool start_player(const std::vector<std::string>& args, bool minimized) {
    if (!audio_player_present()) return false;
    const int handle = PL_StartChildProgram(audio_player_path(), args, minimized);
    if (handle == 0) return false;
    if (handle > 0) audio_player_handles.push_back(handle);
    return true;
}

}  // namespace

void set_player_path() { dir_PlayerExeA = dir_altA + "/audiopl/" + std::string(kAudioPlayerName); }

std::filesystem::path audio_player_path() {
    if (dir_PlayerExeA.empty()) return {};
    return std::filesystem::path(cp1251_to_utf8(dir_PlayerExeA));
}

bool audio_player_present() {
    const std::filesystem::path p = audio_player_path();
    std::error_code ec;
    return !p.empty() && std::filesystem::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
}

bool play_clip(const std::filesystem::path& clip) {
    if (start_player({clip.string()}, false)) return true;
    return open_with_desktop(clip.string());
}

bool start_player_at_startup() {
    if (!gl_TALKING_MODE || !audio_player_present()) return false;
    if (!PL_FindProcessesByName(kAudioPlayerName).empty()) return false;
    return start_player({}, true);
}

void close_audio_players() {
    for (int handle : audio_player_handles) PL_CloseChildProgram(handle);
    audio_player_handles.clear();
}
