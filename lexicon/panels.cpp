#include "lexicon/panels.h"

#include "lexicon/display.h"

void (*GetCleanTokenAudio_hook)(HWND panel) = nullptr;
void (*find_bg_part_hook)(const char* word) = nullptr;
bool (*store_token_hook)(HWND panel, LONG position, std::string& token, LONG& start) = nullptr;
void (*size_info_ratio_hook)(HWND info, double ratio) = nullptr;
std::string (*english_derivative_hook)(std::string_view word) = nullptr;
void (*english_suggestions_hook)(HWND panel, std::string_view word) = nullptr;

void reset_panels() {
    reset_window_handles();
    reset_caret_lookup();
    reset_nov_pages();
    GetCleanTokenAudio_hook = nullptr;
    find_bg_part_hook = nullptr;
    store_token_hook = nullptr;
    size_info_ratio_hook = nullptr;
    english_derivative_hook = nullptr;
    english_suggestions_hook = nullptr;
}
