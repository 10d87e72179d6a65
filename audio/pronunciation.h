// audio/pronunciation.h - the talking dictionary: a word or short phrase selected in a panel, or
// reached by a look-up, is found in an audio index, its clip is cut out of the audio archive into
// a file of its own in the folder "audio_ogg" of the data folder, and that file is handed to the
// external player (audio/player.h). Every request that gets far enough is logged in
// "audio_ogg/___date.txt", and the audio button of the active window turns green (clip found) or
// red (not found) while its word label shows the word.
//
// The indexes are the dictionary rows b_english_ao (28, archive "audio": keys that begin with a
// Latin letter) and b_english_ao2 (29, archive "audio2"); audio/archive.h gives their format.
#pragma once

#include <string>
#include <string_view>

#include "platform/window.h"

// The audio buttons and menu items of the windows (the main window's button 1297, the panels'
// popup item 8200, the text-checker window's commands): marks the request as the user's own
// (gl_from_audio_button), gives the keyboard focus to the panel and speaks its selection. The
// overload without a panel takes the focus pane hReFocus.
void AudioFromMenuOrButton(HWND panel);
void AudioFromMenuOrButton();

// Speaks the panel's selection: an empty selection asked for by a button is answered with
// "Първо изберете дума като я кликнете два пъти, после натиснете бутона." (otherwise nothing
// happens); a selection of 128 characters or more is ignored. The selection (code page 1251) is
// cleaned: trailing line ends cut, blanks collapsed, one opening and one closing double quote
// (straight or curly) cut, a line end after '-' removed (a word broken at a line end is joined),
// other line ends and tabs made blanks, the right single quote made an apostrophe; a text that
// begins with a Latin letter has '_' between its words, and more than 99 words are ignored.
// Then: with gl_AUDIO_BG_TO_EN off and a Bulgarian index loaded, or for a text that does not
// begin with a Cyrillic letter, say_word(text); otherwise the text's English rendering from
// b_bulgarian_english (row 25), shown in the text-checker window's status line, is spoken.
// gl_from_audio_button is cleared whenever the call ends.
void GetCleanTokenAudio(HWND panel);

// Looks the word up (8-bit; '_' between the words of a phrase), extracts its clip and plays it.
// Returns 1 when the word (or its variant: -ly, -ness, 's and the like, or the headword a
// dictionary cross-reference names) was found, 0 otherwise; no caller needs the result.
//
// Nothing at all happens while gl_say_word is 0, for an empty word, when neither index holds
// entries, for digits and '-' only (unless gl_AUDIO_DIGITS_ONLY), for a word of b_audio_skip
// (with gl_AUDIO_SKIP) and for a word that does not begin with a Latin letter (unless
// gl_AUDIO_NOLATIN). A found clip is extracted and played only in talking mode or when the user
// asked for it (gl_from_audio_button, gl_from_audio_button_read).
int say_word(std::string_view word);

// Deletes every regular file in "audio_ogg" (nothing when no audio index is loaded).
void empty_ogg_folder();

// The index entry of the word: the English index first, then the Bulgarian one; null when neither
// holds it.
struct ListPair;
const ListPair* find_audio_entry(std::string_view word);

// The clip line of a request (the name of its clip file before the numbering): the word, and for
// English words its variant, its hard-word rendering and marks or its word-class meanings.
// `variant` is the index key of a variant match (empty for a direct match or none).
std::string audio_clip_line(std::string_view word, std::string_view variant);
