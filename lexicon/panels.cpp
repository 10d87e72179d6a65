#include "lexicon/panels.h"

void (*GetCleanTokenAudio_hook)(HWND panel) = nullptr;
void (*find_bg_part_hook)(const char* word) = nullptr;
std::string (*english_derivative_hook)(std::string_view word) = nullptr;
void (*english_suggestions_hook)(HWND panel, std::string_view word) = nullptr;

void reset_panels() {
    reset_window_handles();
    GetCleanTokenAudio_hook = nullptr;
    find_bg_part_hook = nullptr;
    english_derivative_hook = nullptr;
    english_suggestions_hook = nullptr;
}
