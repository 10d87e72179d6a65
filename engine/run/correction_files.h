// engine/run/correction_files.h - the phases of a run that turn the tokenised text (store 1) into
// files beside the dropped file (or "<prefix>.txt" in the start folder), and the subtitle text
// without numbers and time codes (store 1's second array).
//
//   "AUTO"          the text with rare unknown Bulgarian words replaced by their first suggestion
//   "AUTO_LOG"      one line per replacement: "word -> suggestion\t\tcontext"
//   "OCR"           the text with Latin look-alike letters inside Cyrillic words made Cyrillic,
//                   written with the loaded file's line ends
//   "NO_TIME_CODE"  the subtitle text without block numbers and time codes
//   "TIME_CODE"     the whole subtitle text as tokenised
//
// A file that cannot be created shows the file opener's message and its phase writes nothing; the
// run goes on. Each file is written in one piece when its phase ends.
#pragma once

#include <cstddef>

#include "engine/run/run.h"

// The context of an AUTO_LOG line: this many records before the replaced one, and up to (not
// including) this many after it; a gap or token longer than kAutoContextPieceMax is left out.
inline constexpr std::ptrdiff_t kAutoContextBefore = 5;
inline constexpr std::ptrdiff_t kAutoContextAfter = 6;
inline constexpr std::size_t kAutoContextPieceMax = 95;
// A word occurring more often than this is never replaced in "AUTO".
inline constexpr unsigned kAutoMaxCount = 2;
inline constexpr unsigned char kPilcrow = 182;  // stands for line breaks in the context

void auto_spell_files(RunContext& c);  // gl_AUTO_SPELL
void ocr_file(RunContext& c);          // gl_AUTO_OCR
void subtitle_text(RunContext& c);     // gl_MACHINE_TRANSLATION and gl_fg_subtitle: fills store1S
void time_code_files(RunContext& c);   // ... and gl_STRIP_TIMECODE
