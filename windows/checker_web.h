// windows/checker_web.h - the text-checker window's web look-up buttons: the word or text the
// user is working on (in the focus pane hReFocus) goes to a search engine, an encyclopedia, a
// dictionary, an online translator or one of five address templates of the settings, and the
// address is opened in the user's browser through the shell.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/window.h"

// The longest look-up text taken from a selection, in UTF-16 units.
inline constexpr std::size_t WEB_LOOKUP_MOST_CHARS = 511;
// Selections for a word look-up: longer than 2 and shorter than this many characters; others
// look up the first word of a panel.
inline constexpr LONG WEB_SELECTION_ROOM = 1'024;
// The translator's selection must be shorter than this; its address is cut to as many characters.
inline constexpr LONG WEB_TRANSLATOR_ROOM = 1'048'576;
// The longest address of a word look-up, in characters: a longer look-up text is cut so that the
// address keeps its fixed parts (quotes, language and site restrictions).
inline constexpr std::size_t WEB_ADDRESS_MOST_CHARS = 1'024;

// A programmable button: its identifier, the option of its address template and the option of
// its caption.
struct WebLinkButton {
    int id;
    int link_option;
    int label_option;
};
// The five programmable buttons, "E", "D", "ME", "ur" and "5" in the template.
std::span<const WebLinkButton> web_link_buttons();

// The word buttons "G" (a search) and "Gb" (a search in Bulgarian pages), which the translation
// window has too.
inline constexpr int WEB_SEARCH_BUTTON = 1210;
inline constexpr int WEB_SEARCH_BG_BUTTON = 1209;

// Carries out a web look-up button's command (1209, 1210, 1214-1221, 1286, 1287, 1311, 1313,
// 1314, 1316); false for any other identifier.
bool checker_web_command(int id);

// The look-up text of a word button: the focus pane's selection of 3 to 1,023 characters (cut to
// 511), else the first word of the window's left panel `left` (selection of 1 or 2 characters;
// null: the checker's) or of the focus pane; '_' become blanks, runs of blanks one, and the
// leading blanks and one trailing blank go (empty for an empty focus pane or blanks only).
std::u16string web_lookup_text(HWND focus, HWND left = HWND{});

// The address a word button opens for the look-up text q: the endpoint's path and q (a phrase in
// quotes for the searches); for a programmable button its template with every "XXXXX" replaced
// by q. At most WEB_ADDRESS_MOST_CHARS characters: q is cut, never inside a character. Empty for
// an unknown button and for a template without "XXXXX".
std::string web_lookup_address(int id, std::u16string_view q);

// The translator's address for a selected text: '_' and CR become blanks and '"' an apostrophe,
// but a pair of CRs stays and becomes two line breaks; cut to WEB_TRANSLATOR_ROOM characters.
std::string web_translator_address(std::u16string_view selection);

// The text as UTF-8 with every byte but the unreserved ones (letters, digits, "-._~") written as
// %XX, so that any text is safe inside an address.
std::string percent_encode(std::u16string_view text);

// The address of the search for a phrase ("%22" on both sides).
std::string web_phrase_search_address(std::u16string_view phrase);

