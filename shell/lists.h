// shell/lists.h - list files: word lists, dictionaries, settings files and sentence corpora.
//
// A list file holds one entry a line: the key, one or more blanks (space or tab), and the rest of
// the line. A whole file is read into one block (ListText) and cut in place: every key and rest is
// a view into that block, NUL-terminated there, so a million-line file costs one read, one scan
// and one array of pairs, without an allocation per line. Sorted lists are ordered with cmp_g
// (case-insensitive under the locale) and searched by binary search; unsorted ones keep the file's
// order.
//
// Text is code page 1251; every line-end shape ends a line once: CR LF, LF, CR alone (old Mac
// files), CR CR LF and LF CR (next_line). A file that starts with the UTF-8 byte-order
// mark, or that is valid UTF-8 with non-ASCII characters (is_utf8_text, shell/encoding.h), is
// converted to code page 1251 first.
// Lines that cannot be entries (a NUL byte, more than kMaxListLine bytes, no key before the
// first blank) are skipped and counted; empty lines are ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/memory.h"

// The longest line a list may hold (bytes, line end not counted): a line must fit into the shared
// 8-bit message buffer of 1,000,000 bytes together with its terminating NUL.
inline constexpr std::size_t kMaxListLine = 999'999;

// The line of `text` that begins at `from`: its length (up to its line end or the text's end) and
// where the next line begins. CR CR LF, CR LF, LF CR, CR and LF each count as one line end, so
// that no CR is left inside a line whatever tool wrote the file.
struct LineSpan {
    std::size_t length = 0;
    std::size_t next = 0;
};
LineSpan next_line(std::string_view text, std::size_t from);

// One line of a word list, dictionary or settings file.
struct ListPair {
    std::string_view key;   // the first field; NUL-terminated in the list text
    std::string_view rest;  // the rest after the blanks; data() is null when the line holds only the key
    bool has_rest() const { return rest.data() != nullptr; }
};

// An entry of the add dictionaries merged by the dictionary export; the higher `seq` (the source
// file's number) wins among equal keys.
struct ListPairSeq {
    std::string_view key;
    std::string_view rest;  // data() null when the line holds only the key
    int seq = 0;
    bool has_rest() const { return rest.data() != nullptr; }
};

// A sentence-corpus entry. The line is the English sentence, a TAB and the Bulgarian sentence;
// each sentence is kept without its final mark ('.', '!', '?' or the ellipsis, code 133), which
// goes to en_mark / bg_mark (0 = none).
struct SentencePair {
    std::string_view en;  // the key
    std::string_view bg;  // data() null when the line has no Bulgarian sentence
    unsigned char en_mark = 0;
    unsigned char bg_mark = 0;
    bool has_bg() const { return bg.data() != nullptr; }
};

// The bytes of one loaded file, which the entries of its lists point into.
struct ListText {
    JuxBlock bytes;        // size + 1 bytes, the last one NUL
    std::size_t size = 0;  // bytes of text
};

struct ListLoadOptions {
    int sort = 1;                 // 1: sort case-insensitively (cmp_g order, stable); 0: file order
    bool slash_comments = false;  // lines beginning with '/' are comments (settings files)
    std::size_t room = std::numeric_limits<std::size_t>::max();  // at most this many entries
};

struct ListLoadStats {
    std::size_t lines = 0;      // lines in the file
    std::size_t loaded = 0;     // entries made
    std::size_t skipped = 0;    // unsound lines dropped (NUL byte, over-long, no key)
    std::size_t over_room = 0;  // sound lines dropped because the room was full
    bool converted_utf8 = false;
};

// The descriptor of one list file and what it holds after loading.
struct ListFileRecord {
    std::string name;   // the list's name; its file is name + ".txt"
    int sort = 1;       // 1 sorted with cmp_g, 0 kept in file order
    int tag = 0;        // the owner's tag of the list
    std::string label;  // the list's display name
    std::size_t count = 0;                  // entries loaded
    std::vector<ListPair> entries;          // {key, rest} rows
    std::vector<SentencePair> sentences;    // rows of a sentence corpus
    ListLoadStats stats;                    // of the last load
    std::shared_ptr<const ListText> text;   // keeps the bytes the rows point into
};

// Reads a whole file into one block, converting UTF-8 to code page 1251 as described above.
// Null when the file cannot be read (missing, a folder, unreadable). When no memory is to be had
// the program ends with its message (mallocexit), unless `out_of_memory` is given: it is then set
// and null returned, for a reader on a helper thread whose caller tells the user.
[[nodiscard]] std::shared_ptr<ListText> read_list_text(const std::filesystem::path& file, bool* converted_utf8 = nullptr,
                                                       bool* out_of_memory = nullptr);

// Cuts a file into {key, rest} pairs appended to `out` (sorted when opts.sort). Returns the text
// that `out`'s new entries point into - keep it as long as the entries are used - or null when the
// file cannot be read (`out` unchanged).
[[nodiscard]] std::shared_ptr<ListText> load_pairs(const std::filesystem::path& file, const ListLoadOptions& opts,
                                     std::vector<ListPair>& out, ListLoadStats* stats = nullptr);
// The same over a file's text read beforehand by read_list_text (null: the file could not be read),
// `converted_utf8` as it said.
[[nodiscard]] std::shared_ptr<ListText> load_pairs(std::shared_ptr<ListText> text, bool converted_utf8,
                                     const ListLoadOptions& opts, std::vector<ListPair>& out,
                                     ListLoadStats* stats = nullptr);
// The same for the add dictionaries: every entry gets `seq`. Sorted by key (stable).
[[nodiscard]] std::shared_ptr<ListText> load_pairs_seq(const std::filesystem::path& file, int seq,
                                         std::vector<ListPairSeq>& out, ListLoadStats* stats = nullptr);
// The same for a sentence corpus (English TAB Bulgarian a line), sorted by the English sentence
// when opts.sort.
[[nodiscard]] std::shared_ptr<ListText> load_sentences(const std::filesystem::path& file, const ListLoadOptions& opts,
                                         std::vector<SentencePair>& out, ListLoadStats* stats = nullptr);

// Loads folder/<rec.name>.txt into rec.entries (or rec.sentences when `sentences`), sorted as
// rec.sort says; count, stats and text follow. Returns 1 when the file was read, 0 when it could
// not be (rec left empty).
int fl_to_list(const std::filesystem::path& folder, ListFileRecord& rec, bool sentences = false);

// Sorts pairs with cmp_simple, keeping the file order of equal keys.
void sort_pairs(std::vector<ListPair>& pairs);

// Binary search with cmp_g over a sorted list: the first entry whose key equals `key`
// case-insensitively, or null.
const ListPair* find_pair(std::span<const ListPair> list, std::string_view key);
const ListPair* find_pair(const ListFileRecord& rec, std::string_view key);

// A hashed index that find_pair (and PairSearch::find) asks first about a large list: when it has an
// index of the list as the list is now, sorted as the search needs, it sets `answered` and gives
// the entry the search would find; otherwise the list is searched. The spelling library's word
// indexes set it (set before main, by a static initialiser).
using PairFinder = const ListPair* (*)(std::span<const ListPair> list, std::string_view key, bool& answered);
void set_pair_finder(PairFinder finder);

// A sorted list with a table of the folded first 8 letters of every 32nd key: a search narrows to
// the few keys between two samples of that small table before it compares keys, so that many
// searches of one large list (the proof-reader's) touch little of it. Answers as find_pair does;
// valid while the list is neither changed nor moved.
class PairSearch {
public:
    explicit PairSearch(std::span<const ListPair> list);
    const ListPair* find(std::string_view key) const;
    // The keys that begin with `prefix` (letter case ignored): a part of the list, empty when none.
    std::span<const ListPair> with_prefix(std::string_view prefix) const;

private:
    std::span<const ListPair> narrow(std::string_view key) const;
    std::span<const ListPair> list_;
    std::vector<std::uint64_t> heads_;
};
