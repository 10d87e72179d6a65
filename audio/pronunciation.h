// audio/pronunciation.h - pronouncing a looked-up word through the external audio player.
//
// A word is spoken only while talking mode is on (option TALKING_MODE, gl_TALKING_MODE) and one
// of the two audio indexes (`b_english_ao`, `b_english_ao2`, rows 28 and 29 of the dictionary
// table) lists it; otherwise the call returns at once, so that the look-up as you type never waits
// for it.
#pragma once

#include <string_view>

// Pronounces the word (8-bit, code page 1251; blanks may be written '_' as in the indexes'
// keys). Returns 1 when the word was handed on to be spoken, 0 when the call returned at once.
int say_word(std::string_view word);

// The audio index entry of the word: the English index first, then the Bulgarian one; null when
// neither holds it (or both are empty).
struct ListPair;
const ListPair* find_audio_entry(std::string_view word);
