// audio/main_window_audio.h - the main window's audio side: its audio button 1297 with the green
// and red bitmaps, the label 1148 with the word last pronounced, the menu command "Make audio
// file", the popup item 8200, and at start the player path, the emptied clip folder and, in
// talking mode, the player.
//
// The main window calls these from its initialisation, its layout and its command handling; the
// menu bar offers "Make audio file" (IDM_MAKE_AUDIO_FILE, label kMakeAudioFileLabel) and the three
// folder tools (IDM_BULK_UTF8_CONCAT, IDM_BULK_UTF8, IDM_FIX_TXT) in its maintenance menu.
#pragma once

#include "platform/window.h"

// At the end of the main window's initialisation (after the lists are loaded): dir_PlayerExeA
// set, the bitmaps loaded, the button and its label hidden when neither audio index holds
// entries, the clip folder emptied, the player started in talking mode.
void init_main_window_audio(HWND dlg);

// Places the label and the button at the right end of a row ending at `right` (pixels), at `y`,
// `height` high. Returns the width they take (0 while they are hidden).
int layout_main_window_audio(HWND dlg, int right, int y, int height);

// The window's audio and folder-tool commands: the button, the popup item 8200, "Make audio file",
// "Convert bulk UTF8 to ANSI and concatenate", "Convert bulk UTF8 to ANSI" and "Fix txt". True
// when the command was one of them.
bool main_window_audio_command(HWND dlg, int id);
