#include "lexicon/panels.h"

void (*GetCleanTokenAudio_hook)(HWND panel) = nullptr;
void (*find_bg_part_hook)(const char* word) = nullptr;

void reset_panels() {
    reset_window_handles();
    GetCleanTokenAudio_hook = nullptr;
    find_bg_part_hook = nullptr;
}
