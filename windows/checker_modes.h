// windows/checker_modes.h - the text-checker window's ways of working: spell checking (all three
// translation modes off), machine translation (9243), human translation (9244) and corpus
// translation (9245), each a check item of the menu "Модули", and the item 9246 that shows or
// hides the main dictionary window. A mode command flips its mark and flag, sets the window's
// title, opens or closes its companion window, shows or hides the translation controls and
// saves, forces and restores the bottom-panel flag gl_PRINT_DOWN.
#pragma once

#include "platform/window.h"

inline constexpr UINT IDM_BIG_MACHINE = 9243;  // "Машинен превод от английски"
inline constexpr UINT IDM_BIG_HUMAN = 9244;    // "Човешки превод от английски"
inline constexpr UINT IDM_BIG_CORPUS = 9245;   // "Tamsa"

// Carries out the mode items 9243-9246 of the window `dlg`; true for one of them.
bool checker_mode_command(HWND dlg, UINT id);

// The way back to spell checking shared by the mode commands and the closing of the companion
// windows: 9247 checked with gl_CHECK_PUNCTUATION 1, the translation controls hidden.
void spell_checking_steps();

// The modes that need the look-up display in the bottom panel. The first of them to come on
// saves the user's gl_PRINT_DOWN and forces it to 1; when the last of them goes by its command
// the saved value comes back. Item 9258 shows the flag throughout. A mode that ends by its window's
// close box lets go of its claim and leaves the flag as it stands (forget_print_down).
enum class PrintDownMode : unsigned { Human = 1, Corpus = 2 };
void force_print_down(PrintDownMode mode);
void release_print_down(PrintDownMode mode);
void forget_print_down(PrintDownMode mode);

// The subsystem's reset for test fixtures.
void reset_checker_modes();
