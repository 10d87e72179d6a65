// engine/time_codes.h - subtitle time codes: putting a translation back into the subtitle frame of
// its source.
//
// Subtitle text as the panels give it (code page 1251): lines end with a single CR; blocks are
// separated by an empty line (CR CR); a block is an index line, a time-code line holding " --> "
// and one or more text lines, which may begin with style tags ("<" to the next ">" on the line).
// Taking the time codes out (remove_time_code) is a text routine of the shell (shell/strings.h),
// since the lexicon's corpus filing needs it too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "shell/strings.h"

// Puts the translation into the frame of the subtitle source: each block of the translation (blocks
// separated by CR CR) follows a copy of its source block's index line, time-code line and leading
// style tags. When a source with time codes has more blocks than the translation, the translation is first
// flattened (line ends joined) and cut into as many blocks as the source has, by word count (the
// last block takes the words left over; with fewer words than blocks, one word a block); the
// re-split text replaces `translation`. A translation block that repeats a long style tag (more
// than one letter between the brackets) loses its own copy of the tag.
//
// `output` receives the merged text (it grows as needed). Returns the offset in `output` where the
// first translated text begins (after the first block's header), or 0 when the source has text
// before its first block. A style tag without its ">" shows "Wrong tag! No matching '>'\r\r%s"
// (the source from that block's index line on) under "Done!" once per call; the merge goes on.
std::size_t mix_many_time_codes(std::string& translation, std::string_view source, std::string& output);

