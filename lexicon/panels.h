// lexicon/panels.h - the windows and panels of other subsystems that the lexicon routines read and
// write (filing, look-up at the caret, entry display). The windows that own them set them when
// they are created and clear them when they are destroyed; null means the window does not exist.
#pragma once

#include <cstdint>

#include "platform/types.h"

extern HWND hAddReShort;  // the main window's entry box
extern HWND hBig;         // the text-checker window
extern HWND hBigReRight;  // its right panel (the checked text)
extern HWND hBigReLeft;   // its left panel (report and look-ups)
extern HWND hBigReBot;    // its bottom panel
extern HWND hInfo;        // the information window
extern HWND hInfoReTop;   // its top panel
extern HWND hInfoReBot;   // its bottom panel
extern HWND hMachine;     // the machine-translation window
extern HWND hMachineRe;   // its translation panel
extern HWND hBgText;      // the Bulgarian-text window
extern HWND hBgTextRe;    // its text panel
extern HWND hLiveRe;      // the live clipboard window's panel

inline constexpr int IDC_BIG_LABEL = 1179;  // the text-checker window's status line

extern std::int8_t gl_BIG_ACTIVE;    // the text-checker window's look-up switch ("On")
extern std::int8_t gl_info_printed;  // a word was written into the information window's top panel
extern std::int8_t gl_inc_method;    // 1 while the checker's Refresh runs the look-up

// Hooks of subsystems that build on the lexicon: the audio look-up that GetCleanToken runs first,
// and the page search of the scanned dictionary it runs while writing. Null: nothing to run.
extern void (*GetCleanTokenAudio_hook)(HWND panel);
extern void (*find_bg_part_hook)(const char* word);

// Every handle null, the flags at their start values (test fixtures).
void reset_panels();
