#include "dictionary/loading.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <future>
#include <mutex>
#include <system_error>
#include <thread>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "dictionary/load_support.h"
#include "lexicon/bgtypes.h"
#include "lexicon/listfile.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "lexicon/wordclass.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/memory.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/window_state.h"

LexiconLoadReport lexicon_load_report;

namespace {

std::size_t g_used_lists = 0;      // entries taken from the room of {key, rest} lists
std::size_t g_used_sentences = 0;  // entries taken from the room of the sentence corpora
bool g_told_lists = false;         // the user was told that the list room is too small
bool g_told_sentences = false;     // the same for the sentence room

// Spare room kept behind the lists the user can add to during the run, so that adding never
// moves the entries of a list.
constexpr std::size_t kSpareCustom = 5'000;
constexpr std::size_t kSpareNew = 100'000;
constexpr std::size_t kSpareFiled = 500;

std::filesystem::path list_path(const std::filesystem::path& folder, const std::string& name) {
    return fl_path(folder, name + ".txt");
}

std::size_t option_room(int index) {
    const std::int32_t v = OP[index].num_value;
    return v > 0 ? static_cast<std::size_t>(v) : 0;
}

// A list file's bytes as read_list_text reads them (null when the file cannot be read).
struct ListBytes {
    std::shared_ptr<ListText> text;
    bool converted_utf8 = false;
};
ListBytes read_bytes(const std::filesystem::path& file, bool* out_of_memory = nullptr) {
    ListBytes bytes;
    bytes.text = read_list_text(file, &bytes.converted_utf8, out_of_memory);
    return bytes;
}

// Cuts one {key, rest} file's bytes into `entries` with at most `room` entries, sorted and without
// repeated keys when `sort` asks, with `spare` more entries of room behind them; returns the text,
// null when the file could not be read. Touches nothing but its arguments: the start cuts several
// files at once.
struct ReadList {
    std::shared_ptr<const ListText> text;
    std::size_t duplicates = 0;
};
ReadList read_list(ListBytes bytes, int sort, std::vector<ListPair>& entries, ListLoadStats& stats, std::size_t spare,
                   std::size_t room) {
    entries.clear();
    ListLoadOptions opts;
    opts.sort = sort;
    opts.room = room;
    ReadList r;
    r.text = load_pairs(std::move(bytes.text), bytes.converted_utf8, opts, entries, &stats);
    if (!r.text) {
        entries.reserve(spare);
        return r;
    }
    r.duplicates = sort ? load_support::drop_repeated_keys(entries) : 0;
    entries.reserve(entries.size() + spare);
    return r;
}

// Counts a file read into the report and the room, in the order of the loads.
void count_list(const std::filesystem::path& file, const std::vector<ListPair>& entries, const ListLoadStats& stats,
                const ReadList& read) {
    if (!read.text) return;
    ++lexicon_load_report.files_read;
    lexicon_load_report.entries += entries.size();
    load_support::take_room(false, entries.size(), stats.over_room, file);
    load_support::note_file(file, stats, read.duplicates);
}

int load_corpus_record(const std::filesystem::path& folder, ListFileRecord& rec) {
    rec.entries.clear();
    rec.sentences.clear();
    rec.count = 0;
    rec.text.reset();
    rec.stats = ListLoadStats{};
    const std::filesystem::path file = list_path(folder, rec.name);
    ListLoadOptions opts;
    opts.sort = 0;  // sorted below, after the marks are cut
    opts.room = load_support::room_left(true);
    auto text = load_sentences(file, opts, rec.sentences, &rec.stats);
    if (!text) {
        rec.sentences.reserve(kSpareFiled);
        return 0;
    }
    for (SentencePair& sp : rec.sentences) {
        cut_other_marks(sp.en, sp.en_mark);
        if (sp.has_bg()) cut_other_marks(sp.bg, sp.bg_mark);
    }
    std::stable_sort(rec.sentences.begin(), rec.sentences.end(),
                     [](const SentencePair& a, const SentencePair& c) { return cp_strcasecmp(a.en, c.en) < 0; });
    // A sentence filed twice keeps its first pair.
    std::size_t dups = 0;
    std::vector<SentencePair> kept;
    kept.reserve(rec.sentences.size() + kSpareFiled);
    for (const SentencePair& sp : rec.sentences) {
        if (!kept.empty() && kept.back().en == sp.en) {
            ++dups;
            continue;
        }
        kept.push_back(sp);
    }
    rec.sentences.swap(kept);
    rec.text = std::move(text);
    rec.count = rec.sentences.size();
    ++lexicon_load_report.files_read;
    lexicon_load_report.entries += rec.count;
    load_support::take_room(true, rec.count, rec.stats.over_room, file);
    load_support::note_file(file, rec.stats, dups);
    return 1;
}

int load_corpus_table(const std::filesystem::path& folder, CorpusTable& t) {
    int n = 0;
    for (ListFileRecord& rec : t) n += load_corpus_record(folder, rec);
    return n;
}

// The {key, rest} lists of the start (the dictionaries, the English word lists, the word-class
// lists) are read on several threads at once, each within the whole room, the largest files
// first; then they are counted in the order of their loads, as loads one after another count them.
// A file whose entries do not fit in the room left when its turn comes is read again then, within
// that room, as a load of its own would read it.
struct ListLoad {
    std::filesystem::path file;
    int sort = 1;
    std::size_t spare = 0;
    std::vector<ListPair>* entries = nullptr;
    ListLoadStats* stats = nullptr;
    std::shared_ptr<const ListText>* text = nullptr;
    std::size_t* count = nullptr;
    ReadList read;
    bool done = false;           // read
    bool out_of_memory = false;  // its read found no memory
};

template <class Rec>
void add_list_load(std::vector<ListLoad>& loads, const std::filesystem::path& file, Rec& rec, std::size_t spare) {
    loads.push_back({file, rec.sort, spare, &rec.entries, &rec.stats, &rec.text, &rec.count, {}, false, false});
}

// The loads of the dictionaries' rows, each row emptied first.
void add_dictionary_loads(std::vector<ListLoad>& loads, const std::filesystem::path& folder) {
    for (int r = 0; r < B_ROWS; ++r) {
        DictFileRecord& rec = b[static_cast<size_t>(r)];
        rec.entries.clear();
        rec.text.reset();
        rec.count = 0;
        rec.stats = ListLoadStats{};
        if (rec.name.empty()) continue;
        const std::size_t spare = r == B_BULGARIAN_CUSTOM ? kSpareCustom : r == B_BULGARIAN_NEW ? kSpareNew : 0;
        add_list_load(loads, list_path(folder, rec.name), rec, spare);
    }
}

void add_english_loads(std::vector<ListLoad>& loads, const std::filesystem::path& folder) {
    for (ListFileRecord& rec : m) {
        rec.entries.clear();
        rec.sentences.clear();
        rec.count = 0;
        rec.text.reset();
        rec.stats = ListLoadStats{};
        if (!rec.name.empty()) add_list_load(loads, list_path(folder, rec.name), rec, 0);
    }
}

void add_class_loads(std::vector<ListLoad>& loads, const std::filesystem::path& folder) {
    for (CSetRecord& rec : c_glob) {
        add_list_load(loads, list_path(folder / "c", rec.name), rec, kSpareFiled);
        loads.back().sort = 1;  // a word-class list is always sorted
    }
}

// Reads every load's file at once, within the whole room (see ListLoad): up to three helper
// threads take the files from the largest down, the calling thread from the smallest up, so that
// the largest files are read on the helpers. A read that finds no memory ends the program with its
// message once they have ended, on the calling thread (it shows a message box).
void read_at_once(std::vector<ListLoad>& loads) {
    std::vector<std::pair<std::uintmax_t, std::size_t>> by_size;  // {bytes, load}, the largest first
    for (std::size_t i = 0; i < loads.size(); ++i) {
        std::error_code ec;
        const std::uintmax_t bytes = std::filesystem::file_size(loads[i].file, ec);
        by_size.emplace_back(ec ? 0 : bytes, i);
    }
    std::stable_sort(by_size.begin(), by_size.end(), [](const auto& x, const auto& y) { return x.first > y.first; });
    const std::size_t whole_room = option_room(OPT_MAX_TOKENS_IN_ALL_DICTIONARIES);
    std::mutex lock;
    std::size_t front = 0, back = by_size.size();  // the files not taken yet: [front, back)
    const auto work = [&](bool largest) {
        for (;;) {
            std::size_t k;
            {
                const std::lock_guard held(lock);
                if (front == back) return;
                k = largest ? front++ : --back;
            }
            ListLoad& l = loads[by_size[k].second];
            l.read = read_list(read_bytes(l.file, &l.out_of_memory), l.sort, *l.entries, *l.stats, l.spare, whole_room);
            l.done = true;
        }
    };
    std::vector<std::future<void>> helpers;
    try {
        for (unsigned i = std::min(3u, std::max(1u, std::thread::hardware_concurrency()) - 1); i > 0; --i)
            helpers.push_back(std::async(std::launch::async, work, true));
    } catch (const std::system_error&) {
        // fewer helpers: this thread reads the rest
    }
    work(helpers.empty());
    for (std::future<void>& f : helpers) f.get();  // an exception of a helper is thrown here
    // A read that found no memory ends the program with its message, here on the loading thread.
    for (const ListLoad& l : loads)
        if (l.out_of_memory) mallocexit();
}

// Counts the loads in their order into the report and the room, reading each file not read yet,
// or read with more entries than the room left for it, now within that room. Returns the files read.
int count_in_turn(std::vector<ListLoad>& loads) {
    int n = 0;
    for (ListLoad& l : loads) {
        if (!l.done || (l.read.text && (l.stats->over_room > 0 || l.stats->loaded > load_support::room_left(false))))
            l.read = read_list(read_bytes(l.file), l.sort, *l.entries, *l.stats, l.spare, load_support::room_left(false));
        count_list(l.file, *l.entries, *l.stats, l.read);
        *l.text = l.read.text;
        *l.count = l.entries->size();
        if (l.read.text) ++n;
    }
    return n;
}

template <class Add>
int load_in_turn(const std::filesystem::path& folder, Add add) {
    std::vector<ListLoad> loads;
    add(loads, folder);
    return count_in_turn(loads);
}

}  // namespace

namespace load_support {

void log_line(std::string_view line) {
    if (fl_stat) {
        OutputCyr(line, 1, fl_stat);
    } else {
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fputc('\n', stderr);
    }
}

void note_file(const std::filesystem::path& file, const ListLoadStats& st, std::size_t duplicates) {
    lexicon_load_report.skipped_lines += st.skipped;
    lexicon_load_report.duplicates += duplicates;
    lexicon_load_report.over_room += st.over_room;
    if (st.skipped == 0 && duplicates == 0) return;
    std::string line = jux_format("%s: %zu unsound lines skipped, %zu repeated entries dropped",
                                  path_to_cp1251(file).c_str(), st.skipped, duplicates);
    lexicon_load_report.notes.push_back(line);
    log_line(line);
}

std::size_t drop_repeated_keys(std::vector<ListPair>& entries) {
    std::size_t out = 0;
    std::size_t run_start = 0;  // first kept entry of the current case-insensitive run
    std::size_t dropped = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ListPair p = entries[i];
        // Keys of other lengths differ however their letters are folded (a letter folds to one byte).
        if (out > 0 && (entries[out - 1].key.size() != p.key.size() || cp_strcasecmp(entries[out - 1].key, p.key) != 0))
            run_start = out;
        if (out == 0) run_start = 0;
        bool repeated = false;
        for (std::size_t k = run_start; k < out; ++k)
            if (entries[k].key == p.key) {
                repeated = true;
                break;
            }
        if (repeated) {
            ++dropped;
            continue;
        }
        entries[out++] = p;
    }
    entries.resize(out);
    return dropped;
}

std::size_t room_left(bool sentences) {
    const std::size_t cap = option_room(sentences ? OPT_MAX_TOKENS_IN_SENTENCE_DICTIONARIES
                                                  : OPT_MAX_TOKENS_IN_ALL_DICTIONARIES);
    const std::size_t used = sentences ? g_used_sentences : g_used_lists;
    return cap > used ? cap - used : 0;
}

void take_room(bool sentences, std::size_t taken, std::size_t over_room, const std::filesystem::path& file) {
    (sentences ? g_used_sentences : g_used_lists) += taken;
    if (over_room == 0) return;
    bool& told = sentences ? g_told_sentences : g_told_lists;
    const char* option = sentences ? "MAX_TOKENS_IN_SENTENCE_DICTIONARIES" : "MAX_TOKENS_IN_ALL_DICTIONARIES";
    std::string text = table_too_small_text(option, path_to_cp1251(file), over_room);
    log_line(text);
    if (told) return;
    told = true;
    MessageBoxA(hMain, text, "Oops!", MB_OK | MB_ICONERROR);
}

}  // namespace load_support

std::string table_too_small_text(const std::string& option, const std::string& file,
                                 std::size_t lines_not_loaded) {
    return jux_format("The table is too small for %s: %zu lines were not loaded.\r\n"
                      "Increase %s in settings.txt and start the program again.",
                      file.c_str(), lines_not_loaded, option.c_str());
}

int load_dictionaries(const std::filesystem::path& folder) { return load_in_turn(folder, add_dictionary_loads); }

int load_english_lists(const std::filesystem::path& folder) { return load_in_turn(folder, add_english_loads); }

int load_word_classes(const std::filesystem::path& folder) {
    const int n = load_in_turn(folder, add_class_loads);
    c_lists_changed();
    return n;
}

int load_corpora(const std::filesystem::path& folder) {
    const std::filesystem::path c = folder / "c";
    int n = 0;
    for (CorpusTable* t : {&cs_glob, &cse_glob, &csq_glob, &csc_glob, &cs_cust_glob, &cse_cust_glob,
                           &csq_cust_glob, &csc_cust_glob, &cs_globC, &cse_globC, &csq_globC, &csc_globC})
        n += load_corpus_table(c, *t);
    for (ListFileRecord& rec : cs_globB) n += load_corpus_record(c, rec);
    return n;
}

// The load's large temporaries (a list file's bytes, the word-form file's records before they were
// merged, the sorts' copies) are freed by now, but the C library keeps most of what they took in
// its heaps, the word-form file's bytes having raised the size from which it maps blocks of their
// own: that memory is given back, so that the indexes built next do not add to it.
void give_back_freed_memory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

int load_lexicon(const std::filesystem::path& folder, const WhileFormsIndex& meanwhile) {
    reset_loading();
    clear_lexicon_tables();
    dir_alt = folder;
    dir_altA = path_to_cp1251(folder);
    // The word-form index, the largest file, is read first and indexed on a helper thread while the
    // lists load (and `meanwhile` runs): the indexing touches only the word-form tables and the
    // lemma index, which nothing else reads meanwhile, and the file is counted and logged in its
    // place, after the ending tables, once the helper has ended. Without a second processor (or a
    // thread to be had) it is indexed there, on this thread: the tables and the log come out the same.
    const bool bulgarian = OP[OPT_LOAD_BG].num_value != 0;
    load_support::WordFormLoad forms;
    std::future<void> indexing;
    // Set once the helper has let the file's bytes go (or ended): `meanwhile` waits for it, so that
    // what it builds does not add to the largest memory the load takes.
    std::promise<void> compacted;
    std::future<void> bytes_gone = compacted.get_future();
    if (bulgarian) {
        forms = load_support::open_word_forms(folder);
        if (forms.text && std::thread::hardware_concurrency() > 1) {
            try {
                indexing = std::async(std::launch::async, [&forms, &compacted] {
                    bool told = false;
                    struct Tell {
                        std::promise<void>& p;
                        bool& told;
                        ~Tell() {
                            if (!told) p.set_value();
                        }
                    } tell{compacted, told};
                    load_support::index_word_forms(forms, [&] {
                        told = true;
                        compacted.set_value();
                    });
                });
            } catch (const std::system_error&) {
                // no thread to be had: indexed below
            }
        }
    }
    // Waits for the helper however this ends (std::async's future would too; this says so).
    struct Join {
        std::future<void>& f;
        ~Join() {
            if (f.valid()) f.wait();
        }
    } join{indexing};
    std::vector<ListLoad> lists;
    add_dictionary_loads(lists, folder);
    add_english_loads(lists, folder);
    add_class_loads(lists, folder);
    read_at_once(lists);
    int n = count_in_turn(lists);
    c_lists_changed();
    if (OP[OPT_LOAD_B_CORPUS].num_value != 0) n += load_corpora(folder);
    if (bulgarian) n += load_endings(folder);
    if (meanwhile.first) meanwhile.first();
    if (meanwhile.then) {
        if (indexing.valid()) {
            bytes_gone.wait();
            give_back_freed_memory();
        }
        meanwhile.then();
    }
    if (bulgarian) {
        if (indexing.valid()) indexing.get();  // an exception of the helper is thrown here
        else load_support::index_word_forms(forms);
        load_support::report_word_forms(forms);
        n += forms.read ? 1 : 0;
    }
    give_back_freed_memory();
    if (meanwhile.last) {
        meanwhile.last();
        give_back_freed_memory();
    }
    return n;
}

int load_lexicon(const std::filesystem::path& folder) { return load_lexicon(folder, {}); }

void reset_loading() {
    lexicon_load_report = LexiconLoadReport{};
    g_used_lists = 0;
    g_used_sentences = 0;
    g_told_lists = false;
    g_told_sentences = false;
}
