// lexicon/display.h - colouring and the display of dictionary entries, word classes, corpus lines
// and Bulgarian paradigms in rich-edit panels, and the look-up of the word at the caret.
//
// Every routine here changes a panel with its event mask cleared (restored afterwards), so that
// the panel's own change handlers do not run for the program's output.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"
#include "shell/lists.h"

// Colours of the displays (COLORREF 0x00BBGGRR).
inline constexpr COLORREF kColTranscription = 0xFE5500;
inline constexpr COLORREF kColOneLineWord = 0xFF00AA;  // RGB(170, 0, 255)
inline constexpr COLORREF kColGrey = 0x878787;
inline constexpr COLORREF kColNearBlack = 0x010101;
inline constexpr COLORREF kColParadigmHeader = 0xFF00AB;
inline constexpr COLORREF kColParadigmMark = 0x008000;
inline constexpr COLORREF kColBrown = 0x277ABD;
inline constexpr COLORREF kColCount = 0xFF3800;

// Selects [start, end), hides the selection and applies the character format (mask 0x40000001
// colour and bold, 0x40000004 colour and underline, 0x40000000 colour only ...), with the panel's
// event mask cleared for the call; the selection stays on the range.
void ColorRangeOn(HWND re, LONG start, LONG end, DWORD mask, COLORREF color, DWORD effects);

// Colours the bracketed transcriptions of the panel's text from `start` (to the first line end
// when `first_line_only`).
void ColorTranscription(HWND re, LONG start, bool first_line_only);

// Appends a dictionary entry as one line: the word bold in RGB(170, 0, 255), the definition with
// its senses numbered, without provenance labels and with IPA transcription, then the rank in grey
// while gl_PRINT_RANK_IN_ONELINE is set (and the rank is above 0). The word shown is the entry's key
// when `from_8bit`, else `word`. The line also goes to the live clipboard panel while it exists,
// once per look-up (see LiveLookUp).
void WriteOneColoredLine(HWND re, const ListPair& entry, std::u16string_view word, int rank, int from_8bit);

// One look-up, for the live clipboard panel: while one lasts (the outermost counts), an entry that
// several of its panels show (the pane's line, then the entry display) is appended there once.
class LiveLookUp {
public:
    LiveLookUp();
    ~LiveLookUp();
    LiveLookUp(const LiveLookUp&) = delete;
    LiveLookUp& operator=(const LiveLookUp&) = delete;
};

// The word-class entries of a word (key with '_' between words): one line per list; the lists'
// tags go to corpusaccrue, "+hard" and "+del" (hard-word lists; not-lists and error lists) to
// harddelaccrue.
void print_corpus1_data(HWND re, std::string_view word);
// The sentence-corpus entries whose English sentence is the word: one line per corpus row, the
// rows' names to corpusaccrue.
void print_corpus2_data(HWND re, std::string_view word);

// The English-English definitions (b_en-en) of the word, of the headword its definitions refer to
// and of its apostrophe variant; `flag` 1 separates them from what the panel already shows by an
// empty line.
void print_English_definition(HWND re, std::string_view word, int flag);
// The English-Bulgarian entries (b_en-bg) of the word, its apostrophe variant and the headwords
// their definitions refer to, one line each.
void print_multiline_english_definition_to_re(HWND re, std::string_view word);

// The full paradigm of every analysis of the form (one per lemma and type): a header "lemma type
// part-of-speech", then the numbered forms with their slot labels, the slots of the form marked.
void PrintBgTypeAuto(HWND re, std::string_view form);
// Replaces the entry box's text with every form of type `row` for the lemma that is the first
// word of the box, one a line, the first followed by a blank and the type's name.
void PrintBgType(int row);

// The apostrophe variant of an English word ("dog's" -> "dog", "runnin'" -> "running"), or "".
std::string apostrophe_variant(std::string_view word);

// ---- The look-up of the word under the caret --------------------------------------------------

// Looks up the word (or selection) at the caret of `panel` and writes what the lexicon knows of it
// into an output panel, while the checker's switch gl_BIG_ACTIVE is on. It first hands the panel
// to the audio look-up (GetCleanTokenAudio_hook).
//
// The word: with mode 1 (a click or a caret move in a window's panel), the token under the caret
// in the token store that describes the panel (store R for the checker's text panel, store 2 for
// the Bulgarian-text window's panel), when that store holds the panel's text and the selection is
// empty or inside that token; otherwise, and with mode 0 (a word the program selected itself, as
// the correction from the word panel does), the selection as it stands, or the word at the caret
// when nothing is selected. Typographic apostrophes are looked up as "'".
//
// The output panel: the checker's left panel, or its bottom panel while gl_PRINT_DOWN is set;
// with gl_PRINT_DOWN, the information window's bottom panel for a word of the information
// window's top panel, and also for a word of the checker's bottom panel while the information
// window exists (the window is first split 0.6 to 0.4 by size_info_ratio_hook); when the chosen
// panel is no window (the checker is closed) and the information window exists, its top panel,
// with gl_info_printed set to 1 before anything is written there. Every handle is tested with
// IsWindow; nothing is written into the source panel itself.
//
// What is written: the word (a selection longer than a list line, which no list can hold as its
// key: its first 1,000 characters and an ellipsis, and nothing after them), then for a
// Bulgarian word its analysis, rank, English text and paradigms; for an English word its rank, word-class meanings, dictionary lines, word-class and
// corpus entries and English definitions; then the word's context in the text (at most
// kLookUpContextLines lines; the checker's text panel is the source of the context for every
// panel but the Bulgarian-text window's, while the checker exists). The page search
// find_bg_part_hook runs while it writes. A look-up of the same word from the same panel whose
// output still stands is not written again, unless gl_inc_method is 1 (the checker's Refresh asks
// for it anew).
void GetCleanToken(HWND panel, int mode);
inline constexpr int kLookUpContextLines = 100;
// Forgets the last look-up written (test fixtures).
void reset_caret_lookup();

// The word at the caret of a panel (the selection when there is one), 8-bit.
std::string word_at_caret(HWND panel);

// Colour of a match in the context lines (red, bold).
inline constexpr COLORREF kColContextMatch = 0x0000FF;
// Characters of context on each side of a match.
inline constexpr LONG kContextWidth = 40;

// Prints every occurrence of `word` in `source` (found with the find flags FR_MATCHCASE and
// FR_WHOLEWORD as given; a phrase only where is_surrounded_by_vaild accepts it) as one line of
// context into `out`: up to kContextWidth characters before and after the match, line breaks
// shown as a middle dot, the match coloured. `max_lines` (0: no bound) stops it early. Returns
// the number of lines printed.
int print_context(std::u16string_view word, HWND source, HWND out, DWORD find_flags, bool phrase,
                  int max_lines = 0);

// Non-zero when the characters just before and after `found` in the panel (whose text has
// `text_length` characters) make the range a whole word: no word character next to it, an
// apostrophe or hyphen next to it only when no word character lies beyond (an inner apostrophe or
// hyphen joins words), no punctuation glued between it and a word character ("3.14", "a,b"), and
// no dot after it that makes its last word an abbreviation of the Bulgarian list ("гр.").
// Quotation marks are never word characters.
int is_surrounded_by_vaild(HWND re, CHARRANGE found, LONG text_length);

// Opens, with the shell's "open", the scanned page of the printed dictionary whose first headword
// is the last one not after `word` (compared without regard to case). The page list is the file
// "nov/pages.txt" of the data folder, read at the first call; nothing happens for an empty word,
// a missing or empty list, or a word before the first page.
void show_nov(std::u16string_view word);
// The page list as read (first headword, image file name), and the reset for test fixtures.
struct NovPage {
    std::string first;  // first headword of the page (8-bit)
    std::string image;  // file name of the page image in the folder "nov"
};
const std::vector<NovPage>& nov_pages();
void reset_nov_pages();
