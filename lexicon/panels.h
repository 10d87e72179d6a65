// lexicon/panels.h - what the lexicon routines (filing, look-up at the caret, entry display) use of
// the windows above them: the shared window handles of shell/window_state.h and the hooks that
// the subsystems building on the lexicon fill in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/types.h"
#include "shell/window_state.h"

// Hooks of subsystems that build on the lexicon: the audio look-up that GetCleanToken runs first,
// and the page search of the scanned dictionary it runs while writing. Null: nothing to run.
extern void (*GetCleanTokenAudio_hook)(HWND panel);
extern void (*find_bg_part_hook)(const char* word);
// The engine's token stores for the look-up at the caret: the token of the store that describes
// `panel` (store R: the checker's text panel, store 2: the Bulgarian-text window's panel) under
// the character position, by the stores' reader rule; its text and its offset. False when the
// panel has no store or the store is empty.
extern bool (*store_token_hook)(HWND panel, LONG position, std::string& token, LONG& start);
// The information window's layout with a given share of its height for the top panel.
extern void (*size_info_ratio_hook)(HWND info, double ratio);
// The English definitions' hooks into the spelling subsystem: the word that an English word is
// derived from by a common suffix ("" when none), whose definitions are shown with the word's;
// and the suggestions for a word that neither dictionary holds, written at the end of the panel.
extern std::string (*english_derivative_hook)(std::string_view word);
extern void (*english_suggestions_hook)(HWND panel, std::string_view word);

// Every window handle null, the flags at their start values, the hooks empty (test fixtures).
void reset_panels();
