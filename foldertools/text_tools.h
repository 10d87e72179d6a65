// foldertools/text_tools.h - the folder batch tools over text files: two converters of UTF-8 texts to
// code page 1251 (one concatenating, one mirroring the tree), the fixer of book texts, the two
// loaders of English/Bulgarian text pairs, and the main window's commands that start the first
// three.
//
// Every tool runs on the shared folder walk (foldertools/folder_walk.h): a folder's files first, in
// listing order, then its sub-folders. The report lines go to gl_fl_stat:
//   file line     "%s   %s   %u\r\n"  the folder with its trailing '/', the name, the size (low 32 bits)
//   folder line   "\r\nFolder Size %I64u  File count: %u  %s\r\n\r\n"  after each folder's files
//   entering line "Entering dir: %s\r\n"  before each sub-folder
// The converters and the fixer write a file line for every regular file (empty ones too), the
// pair loader for its taken files only, the folder loader none. A file the converters or the fixer
// cannot read or write whole is left out of every output: its file line, its copy and its text in
// the concatenations are taken back, so that they hold only what was written.
//
// No tool writes anywhere but the result folder and its own output streams: the copies are reached
// by whole paths under gl_dir_res, never by the working folder, so a copy can never land on a
// source file. A file holding a NUL byte is no text: the converters and the fixer name it in the
// report and leave it unconverted (the mirroring tools copy it unchanged, whole).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/window.h"

// ---- Text kind -----------------------------------------------------------------------------
// The kind of a whole file's bytes. Each test is a flag of its own; the UTF-8 tests look at the
// text up to its first NUL byte.
struct FolderTextKind {
    // The text up to its first NUL byte is valid UTF-8 (else none of the next two holds) and
    bool bom = false;     // begins with EF BB BF
    bool vowels = false;  // holds the UTF-8 forms of all four of а е о и, or of all four of А Е О И
    bool rtf = false;     // not UTF-8, and begins with "{\rtf" or "{rtf"
    bool utf8 = false;    // converted as UTF-8: the byte-order mark, the vowels, or (not RTF) valid
                          // UTF-8 with characters beyond ASCII
    bool ansi = false;    // code page 1251: neither UTF-8 nor RTF
};
FolderTextKind folder_text_kind(std::string_view bytes);

// A UTF-8 text (a leading byte-order mark dropped) in code page 1251, with the byte 0x06 for every
// UTF-16 unit the code page lacks (two for a character outside the 16-bit range, one for each byte
// of a broken sequence). Never longer than the source.
std::string utf8_text_to_cp1251(std::string_view utf8);

// The fixer's six passes over a book text, in order: note lines ("\t[*...]" on a line of its
// own), image lines ("\t{img:...}" likewise), inline images (with one blank before them), "{sub}"
// and "{sup}" to a blank, "{/sub}" and "{/sup}" removed, soft hyphens (byte 173) removed.
void fix_txt(std::string& text);

// ---- The tools -----------------------------------------------------------------------------
// Concatenating converter: a UTF-8 file becomes the flat copy "%06u_<name>" (gl_file_index, then
// grown by 1) in gl_dir_res and is appended to gl_fl_concatenated; an 8-bit file is appended to
// gl_fl_concatenated_ansi; RTF is left alone. Each appended text is followed by "\r\n\r\n".
void dir_to_list(const std::filesystem::path& folder);
// Mirroring converter: every file gets a copy of the same name in the same place of the tree under
// gl_dir_res, converted when it is UTF-8, unchanged otherwise. Errors are shown in boxes.
void dir_to_list_noconcat(const std::filesystem::path& folder);
// Fixer: every file gets a fixed copy of the same name in the mirrored tree under gl_dir_res.
void dir_to_fix_txt(const std::filesystem::path& folder);
// Pair loader: in each folder the first file named "EN_..." goes into the text-checker window's
// text panel and the first "BG_..." into the Bulgarian-text window's panel, each window titled
// " <folder><name>  <size>"; once both are in, the corpus search runs and gl_CORPUS_FILE_INDEX
// grows by 1, and the sub-folders follow. Other files are skipped uncounted. Stops as soon as
// bulk_cancelled_hook says so (asked before every entry). Only the "EN_" file sets the checker's
// file state: gl_dropped (its path, when it fits as for a dropped file), gl_isFromFile, the
// line-end and encoding flags. NUL characters of a loaded text become blanks.
void dir_to_list_bulk(const std::filesystem::path& folder, std::int8_t test);
// Folder loader: the same two loads from the folder's own files, no sub-folders, no counters, no
// report lines; no corpus search.
void dir_to_list_bulk2(const std::filesystem::path& folder);

// The corpus search of the Bulgarian-text window. It tests whether that window exists and returns;
// the callers pass their mode and test flag and three more 8-bit arguments.
void find_bg_part(std::int8_t mode, std::int8_t test, std::int8_t arg3, std::int8_t arg4, std::int8_t arg5);

// The loaders reach two flags of the text-processing run (which builds on this subsystem) through
// these hooks; the window that starts them fills them in. Null: nothing to ask or set.
extern bool (*bulk_cancelled_hook)();  // the folder run was stopped
extern void (*bulk_from_file_hook)();  // gl_isFromFile = 1: the checker's text came from a file
// The hooks emptied (reset_folder_walk calls it).
void reset_folder_tools();

// ---- The main window's commands -------------------------------------------------------------
// "Convert bulk UTF8 to ANSI and concatenate", "Convert bulk UTF8 to ANSI" and "Fix txt": open the
// report (and the two concatenations) in the data folder, let the user pick the top folder (a
// cancelled choice ends the command), make the result folder "<picked>_res", say where the result
// goes, run the tool and report the five counters under "Done!". A result folder that cannot be
// made ends the command with its message before any file is read.
void convert_bulk_concatenate(HWND owner);
void convert_bulk(HWND owner);
void fix_txt_bulk(HWND owner);

// The result folder of a picked folder: its path without a trailing separator, then "_res".
std::filesystem::path result_folder_of(const std::filesystem::path& picked);
