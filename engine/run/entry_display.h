// engine/run/entry_display.h - the end of a run of translate_text: the dictionary-entry display of a
// text that is one English word or one multi-word dictionary entry (the look-up as you type of the
// main window).
//
// The entry display, in order: the word's corpus lines into the main window's corpus pane; the
// neighbourhood of the word in the first non-empty list of b_en-bg, wl_english2 and wl_english
// into the report panel, scrolled to it and the word marked (the search log notes each finished
// look-up); then, unless the source is the entry box's hidden copy, the word's English entries and
// definitions into the main window's saved pane (or the information window's top pane), its
// pronunciation and the tray balloon.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/run/run.h"
#include "platform/types.h"

// Colour of the word in the dictionary neighbourhood (RGB(255, 0, 41)).
inline constexpr COLORREF kColWordInDictionary = RGB(255, 0, 41);
// A look-up text without '[' longer than this is not looked up.
inline constexpr std::size_t kLookUpMax = 64;
// Balloon text: characters shown by the icon, characters taken from each label list.
inline constexpr std::size_t kBalloonShown = 255;
inline constexpr std::size_t kBalloonLabelRoom = 1'024;
// The search log's first line.
inline constexpr std::string_view kSearchLogHeader = "//RECENT SEARCHES:\r\n\r\n";

// The look-up text of a run's text8, or nothing when the text is not looked up: runs of blanks
// made single and blanks written '_'; a transcription typed after the word ("word [...") is cut
// off, and nothing is looked up while the caret stands inside the brackets (`caret` is the end of
// the source's selection, `lead` the blanks removed before text8, `own_change` changed_from_add_fg),
// nor a text that begins with '[' or is longer than 64 bytes without one. `processed` is the run's
// processed-token count.
std::optional<std::string> look_up_text(std::string_view text8, std::uint64_t processed, std::int32_t lead,
                                        LONG caret, bool own_change);

// Notes a look-up shown in the search log: the log's header when it is empty, the previous
// look-up when this one does not continue it, and this one as the previous look-up.
void note_search(std::string_view text);

// Appends the labels gathered while the word was shown to the balloon text and passes the text to
// the notification-area icon (while it exists and TRANSLATE_IN_TRAY_BALLOON is set).
void update_balloon();

// The dictionary-entry display of the run (its guard already passed).
void show_dictionary_entry(RunContext& c);

// What the English definitions take from the spelling subsystem (installed as the hooks of
// lexicon/panels.h by install_english_definition_hooks, which the main window calls at start):
// the word that `word` is made from by a common suffix, when it differs from the word ("" when
// none); and, for a word neither dictionary holds, the line "word -> suggestions" followed by the
// definitions of the suggested words, appended to the panel.
std::string english_derivative(std::string_view word);
void write_english_suggestions(HWND re, std::string_view word);
void install_english_definition_hooks();
