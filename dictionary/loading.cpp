#include "dictionary/loading.h"

#include <algorithm>
#include <cstdio>
#include <future>
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

// Loads one {key, rest} file into `entries` within the room; returns the text, null when absent.
std::shared_ptr<const ListText> load_list(const std::filesystem::path& file, int sort,
                                          std::vector<ListPair>& entries, ListLoadStats& stats,
                                          std::size_t spare) {
    entries.clear();
    ListLoadOptions opts;
    opts.sort = sort;
    opts.room = load_support::room_left(false);
    auto text = load_pairs(file, opts, entries, &stats);
    if (!text) {
        entries.reserve(spare);
        return nullptr;
    }
    std::size_t dups = sort ? load_support::drop_repeated_keys(entries) : 0;
    entries.reserve(entries.size() + spare);
    ++lexicon_load_report.files_read;
    lexicon_load_report.entries += entries.size();
    load_support::take_room(false, entries.size(), stats.over_room, file);
    load_support::note_file(file, stats, dups);
    return text;
}

int load_list_record(const std::filesystem::path& folder, ListFileRecord& rec, std::size_t spare) {
    rec.entries.clear();
    rec.sentences.clear();
    rec.count = 0;
    rec.text.reset();
    rec.stats = ListLoadStats{};
    if (rec.name.empty()) return 0;
    rec.text = load_list(list_path(folder, rec.name), rec.sort, rec.entries, rec.stats, spare);
    rec.count = rec.entries.size();
    return rec.text ? 1 : 0;
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
        if (out > 0 && cp_strcasecmp(entries[out - 1].key, p.key) != 0) run_start = out;
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

int load_dictionaries(const std::filesystem::path& folder) {
    int n = 0;
    for (int r = 0; r < B_ROWS; ++r) {
        DictFileRecord& rec = b[static_cast<size_t>(r)];
        rec.entries.clear();
        rec.text.reset();
        rec.count = 0;
        rec.stats = ListLoadStats{};
        if (rec.name.empty()) continue;
        const std::size_t spare = r == B_BULGARIAN_CUSTOM ? kSpareCustom : r == B_BULGARIAN_NEW ? kSpareNew : 0;
        rec.text = load_list(list_path(folder, rec.name), rec.sort, rec.entries, rec.stats, spare);
        rec.count = rec.entries.size();
        if (rec.text) ++n;
    }
    return n;
}

int load_english_lists(const std::filesystem::path& folder) {
    int n = 0;
    for (ListFileRecord& rec : m) n += load_list_record(folder, rec, 0);
    return n;
}

int load_word_classes(const std::filesystem::path& folder) {
    const std::filesystem::path c = folder / "c";
    int n = 0;
    for (CSetRecord& rec : c_glob) {
        rec.text = load_list(list_path(c, rec.name), 1, rec.entries, rec.stats, kSpareFiled);
        rec.count = rec.entries.size();
        if (rec.text) ++n;
    }
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

namespace {

// The load's large temporaries (a list file's bytes, the word-form file's records before they were
// merged, the sorts' copies) are freed by now, but the C library keeps most of what they took in
// its heaps, the word-form file's bytes having raised the size from which it maps blocks of their
// own: that memory is given back, so that the indexes built next do not add to it.
void give_back_freed_memory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace

int load_lexicon(const std::filesystem::path& folder) {
    reset_loading();
    clear_lexicon_tables();
    dir_alt = folder;
    dir_altA = path_to_cp1251(folder);
    // The word-form index, the largest file, is read first and indexed on a helper thread while the
    // lists load: the indexing touches only the word-form tables and the lemma index, which nothing
    // else reads meanwhile, and the file is counted and logged in its place, after the ending
    // tables, once the helper has ended. Without a second processor (or a thread to be had) it is
    // indexed there, as it always was.
    const bool bulgarian = OP[OPT_LOAD_BG].num_value != 0;
    load_support::WordFormLoad forms;
    std::future<void> indexing;
    if (bulgarian) {
        forms = load_support::open_word_forms(folder);
        if (forms.text && std::thread::hardware_concurrency() > 1) {
            try {
                indexing = std::async(std::launch::async, [&forms] { load_support::index_word_forms(forms); });
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
    int n = load_dictionaries(folder);
    n += load_english_lists(folder);
    n += load_word_classes(folder);
    if (OP[OPT_LOAD_B_CORPUS].num_value != 0) n += load_corpora(folder);
    if (bulgarian) {
        n += load_endings(folder);
        if (indexing.valid()) indexing.get();  // an exception of the helper is thrown here
        else load_support::index_word_forms(forms);
        load_support::report_word_forms(forms);
        n += forms.read ? 1 : 0;
    }
    give_back_freed_memory();
    return n;
}

void reset_loading() {
    lexicon_load_report = LexiconLoadReport{};
    g_used_lists = 0;
    g_used_sentences = 0;
    g_told_lists = false;
    g_told_sentences = false;
}
