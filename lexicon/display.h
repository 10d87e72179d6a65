// lexicon/display.h - colouring and the display of dictionary entries, word classes, corpus lines
// and Bulgarian paradigms in rich-edit panels, and the look-up of the word at the caret.
//
// Every routine here changes a panel with its event mask cleared (restored afterwards), so that
// the panel's own change handlers do not run for the program's output.
#pragma once

#include <string>
#include <string_view>

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
// when `from_8bit`, else `word`. The line also goes to the live clipboard panel while it exists.
void WriteOneColoredLine(HWND re, const ListPair& entry, std::u16string_view word, int rank, int from_8bit);

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

// Looks up the word (or selection) at the caret of `panel` and writes what the lexicon knows of
// it into the output panel (the checker's left panel, its bottom panel while gl_PRINT_DOWN, or the
// information window's bottom panel), while gl_BIG_ACTIVE is set.
void GetCleanToken(HWND panel, int mode);
// The word at the caret of a panel (the selection when there is one), 8-bit.
std::string word_at_caret(HWND panel);
