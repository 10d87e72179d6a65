// shell/files.h - output files: open (folder plus name), write lines, close with a report, size.
//
// File names are 8-bit text in code page 1251 (or UTF-16 in the W twins), as everywhere in the
// program; on disk they become UTF-8, the file-name encoding of Linux.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/types.h"

extern FILE* fl_stat;  // the statistics log, open for the whole run; null: its lines go to stderr

// The path of `name` (code page 1251) in `folder`; an empty folder means the working folder.
std::filesystem::path fl_path(const std::filesystem::path& folder, std::string_view name);
std::filesystem::path fl_pathw(const std::filesystem::path& folder, std::u16string_view name);
// A path as 8-bit text for messages (code page 1251; unrepresentable characters become '?').
std::string path_to_cp1251(const std::filesystem::path& p);

// Opens folder + name for binary writing (the file emptied). When it cannot be opened, shows
// cannot_open_text under the caption "Oops!" and returns null: the caller skips the work that
// needed the file, and the program goes on.
FILE* make_fl(const std::filesystem::path& folder, std::string_view name);
FILE* make_flw(const std::filesystem::path& folder, std::u16string_view name);

// "\r\nCannot open %s, reason: %s, (errno = %d). This file is not written; the work goes on.\r\n"
// with the file's path as given.
std::string cannot_open_text(const std::filesystem::path& file, int err);

// "Cannot write to %s, reason: %s, (errno = %d)\n" for a file that could not be written, with the
// error's text; the message every writer of a user's file shows or logs.
std::string cannot_write_text(const std::filesystem::path& file, int err);
// The same as UTF-16, naming the file as the system names it (a name in any script).
std::u16string cannot_write_textw(const std::filesystem::path& file, int err);

// Tells that `file` could not be written: the line cannot_write_text in the statistics log, and a
// box (caption "Oops!") with cannot_write_textw. For a write the user asked for (a Save, a help page).
void tell_cannot_write(HWND owner, const std::filesystem::path& file, int err);

// The error a writer meets that opens an existing regular file for writing, 0 when it may: EACCES
// for a file without any write permission bit (marked read-only by the user: refused whoever runs
// the program, as the read-only mark of a desktop system binds an administrator too), else the
// answer of the system's access check for writing. A missing file gives 0 (its folder decides).
int read_only_error(const std::filesystem::path& file);

// Closes the stream, checking that everything written to it reached the file (a write, flush or
// close that failed). A failure writes "ERROR: Can't close the %s file, reason: %s, (errno = %d)\r\n"
// with the display name (the file's path when the name is empty) to the statistics log, is noted
// for tell_write_failures and the work goes on. Returns 0 when closed cleanly, -1 (errno set) when
// something written was lost. A null stream is ignored (0).
int closefile(FILE* f, std::string_view display_name);
int closefilew(FILE* f, std::u16string_view display_name);

// Opens an existing regular file for binary reading. A folder (EISDIR), a named pipe, a device or
// another special file (EINVAL) is refused without being opened for reading, so that a pipe
// without a writer cannot keep the program waiting. Null then, with the error code in *err.
FILE* open_regular_for_reading(const std::filesystem::path& file, int* err = nullptr);

// Writes the text and n line ends ("\r\n") to the stream in one write_out, so that a line that
// cannot be written leaves no empty line behind. A null stream is ignored.
void OutputCyr(std::string_view text, int n, FILE* f);

// ---- Checked output streams ---------------------------------------------------------------------
// Every stream the program writes goes through these, so that no failed write, flush or close
// passes unseen and every failure can be told with the name of its file.

// Opens `file` for writing in `mode` and keeps its path for the messages; null with errno set (also
// for a read-only file, read_only_error).
FILE* open_out(const std::filesystem::path& file, const char* mode = "wb");
// Writes the bytes whole and flushes the stream (unless `flush` is false: the bytes may then wait
// in the stream's buffer, and closefile finds what fails later). False (errno set) when they did
// not all reach the file; what part of them did is then taken back (a line cut short by a full
// disk is not left in a regular file); the stream's first failure is noted for
// tell_write_failures, naming the file, and closefile reports it again. A null stream gives false.
bool write_out(FILE* f, std::string_view bytes, bool flush = true);
// The first write failure of the stream (its error number), 0 when none.
int out_error(FILE* f);
// The path of the file open on the stream: as opened by make_fl or open_out, else as the system
// names it.
std::filesystem::path out_path(FILE* f);
// Puts the stream's file back to `size` bytes, dropping what is still buffered, and clears the
// stream's error state: the part of an item that could not be written whole is taken back.
bool cut_out_back(FILE* f, std::uint64_t size);
// Notes the text of a failure to write a file for tell_write_failures.
void note_write_failure(const std::string& text);
// Flushes the stream and syncs its file to the disk; false (errno set) when that failed, which is
// noted as a write failure of the file (named, with its reason) and reported again by closefile.
bool sync_out(FILE* f);
// The failures noted since the last call (one "Cannot write to ..." line per file), then cleared.
std::string take_write_failures();
// The same as UTF-16, the files named as the system names them (a name in any script).
std::u16string take_write_failures_w();
// Shows the failures noted so far in one "Oops!" box, the files named as the system names them,
// and clears them; nothing when there are none. A file that fails again the same way is not told
// again until it has been written whole in between (closefile without failure, write_file_safely):
// a writer that runs at every key does not put the same box up at every key. The statistics log
// keeps every failure (closefile's line).
void tell_write_failures(HWND owner);
// Test hook: every failure is told again at its next occurrence, as after a start.
void forget_told_write_failures();

// Test hook: the `nth` write_out from now to a stream whose file is named `file_name` fails with
// `err`, as a full disk or a broken device would make it fail: the first half of its bytes reaches
// the file, the rest is lost. reset_files() clears it.
void fail_stream_write_at(std::string_view file_name, int err, int nth = 1);
// Test hook: the next sync_out of a stream whose file is named `file_name` fails with `err`.
void fail_stream_sync_at(std::string_view file_name, int err);

// The size of the open file in bytes, including what is still buffered for writing; the file
// position is left where it was. -1 for a null stream or a stream that cannot seek.
std::int64_t flsz(FILE* f);

// printf-style formatting into a std::string (used for the system's message texts).
std::string jux_format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// ---- Rewriting the user's files ---------------------------------------------------------------
// Every file the user's work lives in (user word lists, word-class lists, corpora, the new-words
// file, the start counter, their backups) is rewritten by write_file_safely, so that a crash, a
// kill, a full disk or a broken device never leaves a half-written file:
// - the bytes go to a temporary file "<name>.tmp<pid>_<n>" beside the file, which is synced to the
//   disk and then renamed over the file; the folder is synced after the rename, so that a power
//   loss cannot lose the new name either;
// - a symbolic link is written through: its target (followed link by link) is replaced, the link
//   stays as it was; a loop of links (or a chain of more than 40) fails with ELOOP and the links
//   stay as they were;
// - the file keeps its permission bits (and, where the system allows it, its owner and group); a
//   new file gets the usual 0666 less the umask;
// - a file that cannot be opened for writing (read_only_error: one the user made read-only) is
//   refused with that error and left as it was.
// 1 on success; 0 with errno set when it could not (the old file is then unchanged and the
// temporary file removed).
int write_file_safely(const std::filesystem::path& file, std::string_view bytes);

// Reads the whole of `file` into `bytes`. False (errno set, `bytes` empty) when it cannot be opened
// or read - a read error is an answer here, never an exception.
bool read_file_bytes(const std::filesystem::path& file, std::string& bytes);

// Copies `file` to `backup` (replacing it) through write_file_safely. 1 when copied, 0 when `file`
// does not exist (nothing to back up), -1 with errno set when it could not be read or the backup
// could not be written.
int backup_file(const std::filesystem::path& file, const std::filesystem::path& backup);

// Appends one line (CR LF added) to a journal file in one write; 1 on success, 0 with errno set
// when it could not (a read-only journal, read_only_error, is refused; a line cut short by a full
// disk is taken back: the journal never ends in a half line, and a journal that the line would have
// begun is not left empty).
int append_journal(const std::filesystem::path& file, std::string_view line);

// The current local time as "YYYY-MM-DD HH:MM:SS".
std::string journal_time();

// Removes the temporary files of write_file_safely that a program killed while it wrote left in
// `folder`: names of the pattern above whose process no longer runs (or is this one, which writes
// nothing at the time). Returns the number removed; a folder that cannot be read gives 0.
int remove_stale_temporary_files(const std::filesystem::path& folder);
// The same for the temporary files of one file only ("<name>.tmp<pid>_<n>" beside its final
// target, links followed as write_file_safely follows them): a document outside the data folder
// is cleaned when it is written again.
int remove_stale_temporary_files_of(const std::filesystem::path& file);

// A data folder that cannot be written (read-only, full, not ours) is told once a start: the first
// start-up file that meets it tells the user, the others keep silent. Returns 1 when a failure with
// error `err` is to be told: always for another error (the file itself is at fault), else the first
// time only. `data_folder_trouble_told` notes that it was told (also by the start-up when the data
// folder could not be made).
int tell_data_folder_trouble(int err);
extern bool data_folder_trouble_told;

// Test hook: the `nth` call of write_file_safely or append_journal from now (1: the next) fails at
// `step` with the error `err`, as a full disk (a short write), a broken device (the sync) or a
// refused rename would make it fail (append_journal fails at any step, as by a short write).
// reset_files() clears it.
enum class SafeWriteStep { None, Write, Flush, Rename };
void fail_safe_write_at(SafeWriteStep step, int err, int nth = 1);

// The subsystem's reset for test fixtures (fl_stat back to null; an open log is not closed; no
// write set to fail; no failure noted).
void reset_files();
