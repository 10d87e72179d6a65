// foldertools/folder_walk.h - the two-pass folder walk that every folder tool shares.
//
// For one folder: its files first, sorted by name as the desktop system's file system lists a
// folder (listing_before), then its sub-folders in the same order, each walked the same way (depth
// first) after the files of the folder above. In the files pass "." and ".." are skipped; an entry whose status cannot be read is
// reported with "\r\nCannot process %s, reason: %s, (errno = %d)\r\n" and skipped; what is not a
// regular file is left to the folders pass; a file of length 0 is counted in fl_ct_global and
// fl_ct_global_zero; a file of length > 0 is counted in fl_ct_global and fl_ct_global_nonzero,
// its length is added to sz_global and the tool's file action runs; a file it does not take is
// taken out of those counts again (and counted in fl_ct_left_out when it was of the tool's kind). In the folders pass every
// folder is walked and then counted in dir_ct_global.
//
// A folder that cannot be listed is reported with "\r\nCannot change to folder %s, reason: %s,
// (errno = %d)\r\n" and the walk goes on with the rest of the tree. A folder already walked in
// this run (a symbolic link back up the tree, or two links to one folder) is not walked again, so
// the walk always ends and no file is taken twice through it. The files the running tool writes
// (gl_fl_stat, gl_fl_concatenated, gl_fl_concatenated_ansi and the statistics log), wherever they
// lie in the tree, are passed over uncounted: no tool reads its own output. The working folder is
// never changed: files are reached by their whole paths.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/window.h"

// A regular file met by the walk.
struct WalkFile {
    std::filesystem::path path;    // the whole path
    std::filesystem::path folder;  // the folder that lists it
    std::string name;              // its name, 8-bit (file_name_cp1251)
    std::uint64_t size = 0;        // its length when the walk looked
};

// What a tool's file action made of a non-empty file.
enum class WalkTaken {
    Taken,        // the file was taken
    Failed,       // of the tool's kind but not taken (unreadable): uncounted, counted as left out
    NotTaken,     // not the tool's kind of file: uncounted altogether
    TakenEndPass,  // taken, and the folder's files pass ends here (its sub-folders still follow)
    Unwritten      // its output could not be written: uncounted, counted as left out
};

// A folder tool: the walk's hooks. Only file_action is required.
struct FolderTool {
    // The action on a non-empty regular file; the counters already hold it.
    std::function<WalkTaken(const WalkFile&)> file_action;
    // Called for every file of length 0 after it is counted (optional).
    std::function<void(const WalkFile&)> empty_file;
    // After the files pass of a folder: the folder, the bytes and number of its own files taken.
    std::function<void(const std::filesystem::path&, std::uint64_t, std::uint32_t)> folder_done;
    // Before a sub-folder is walked (optional).
    std::function<void(const std::filesystem::path&)> entering;
    // Where error lines go; by default the statistics log fl_stat, flushed after each line.
    std::function<void(const std::string&)> report;
    // Asked before every entry of both passes: true stops the walk at once (optional).
    std::function<bool()> cancelled;
    bool sub_folders = true;  // false: the files pass of the top folder only
    bool count = true;        // false: the counters are left alone
};

// The walk's order of names: character by character (UTF-16 units), letters compared without
// regard to case, so that "bg10.txt" comes before "bg2.txt" and "b.txt" before "C.txt"; names that
// differ in case only, in byte order.
bool listing_before(std::string_view a, std::string_view b);

// Walks `top` and (unless the tool says otherwise) its sub-folders with the tool's hooks.
void walk_folder(const std::filesystem::path& top, const FolderTool& tool);

// The five walk counters in the box that ends a folder command ("Done!"), after the command has
// closed its files; they count only what was taken and written. Files left out are counted after
// them, and when the tool wrote its reasons to the statistics log, the box names that log. When a
// file could not be written, the box names it first and says the work is not finished (caption
// "Oops!").
void show_walk_counters(HWND owner);

// A file name as the tools show and key it, in code page 1251: a UTF-8 name converted, any other
// name (one written in code page 1251 bytes) taken as it is.
std::string file_name_cp1251(std::string_view name);

// A folder as the messages and report lines show it: 8-bit, with its trailing separator.
std::string folder_text(const std::filesystem::path& folder);

// Writes an error line to the statistics log (stderr while there is none) and flushes it; counted
// in walk_lines_logged.
void report_to_stat_log(const std::string& line);

// The walk's error lines (8-bit text): "\r\nCannot change to folder %s, ..." and
// "\r\nCannot process %s, ...".
std::string cannot_change_to_folder_text(const std::filesystem::path& folder, int err);
std::string cannot_process_text(std::string_view name, int err);
