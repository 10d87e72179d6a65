// dictionary/custom_words.h - the user's Bulgarian word list (`b` row 9, "b_bulgarian_custom.txt"
// in the data folder) and the start counter ("set.txt").
#pragma once

#include <filesystem>

#include "platform/types.h"

// Adds the first word of the main window's entry box to the user's list (after the checks and
// questions described with the messages), keeps the list sorted and rewrites the file one word a
// line. Every message is owned by `owner`.
void add_custom_word(HWND owner);

// Empties the user's list: the file is first copied to "b_bulgarian_custom_%06u.txt" (the first
// free number from 1), then emptied. An empty (or absent) file is reported and left alone; when the
// copy cannot be written the list is not emptied.
void erase_custom_word(HWND owner);

// Reads the start counter of the data folder, counts this start and writes it back; sets and
// returns run_counter (1 on the first start). A counter that cannot be written (a read-only data
// folder) is told with "Cannot write to %s, reason: %s, (errno = %d)\n" under "Oops!", unless the
// user has been told already that the data folder cannot be written (tell_data_folder_trouble).
int count_start(const std::filesystem::path& folder);
