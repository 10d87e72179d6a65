#include "lexicon/panels.h"

HWND hAddReShort;
HWND hBig;
HWND hBigReRight;
HWND hBigReLeft;
HWND hBigReBot;
HWND hInfo;
HWND hInfoReTop;
HWND hInfoReBot;
HWND hMachine;
HWND hMachineRe;
HWND hBgText;
HWND hBgTextRe;
HWND hLiveRe;

std::int8_t gl_BIG_ACTIVE = 1;
std::int8_t gl_info_printed = 0;
std::int8_t gl_inc_method = 0;

void (*GetCleanTokenAudio_hook)(HWND panel) = nullptr;
void (*find_bg_part_hook)(const char* word) = nullptr;

void reset_panels() {
    for (HWND* h : {&hAddReShort, &hBig, &hBigReRight, &hBigReLeft, &hBigReBot, &hInfo, &hInfoReTop,
                    &hInfoReBot, &hMachine, &hMachineRe, &hBgText, &hBgTextRe, &hLiveRe})
        *h = HWND{};
    gl_BIG_ACTIVE = 1;
    gl_info_printed = 0;
    gl_inc_method = 0;
    GetCleanTokenAudio_hook = nullptr;
    find_bg_part_hook = nullptr;
}
