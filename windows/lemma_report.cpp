#include "windows/lemma_report.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <unordered_map>

#include <sys/stat.h>
#include <unistd.h>

#include "lexicon/english.h"
#include "lexicon/tables.h"
#include "lexicon/wordclass.h"
#include "platform/text.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/window_state.h"

const std::array<std::string_view, 112> lemma_first_letter_exceptions{
    "is", "be", "been", "beens", "going", "go", "went", "goes", "goings", "better", "good", "best", "goods",
    "betters", "bettering", "bettered", "bested", "bests", "besting", "old", "older", "oldest", "elder",
    "eldest", "elders", "bad", "worse", "worst", "baddest", "bads", "badder", "worses", "worsts", "worsting",
    "eat", "eating", "ate", "eaten", "eats", "eatings", "jail", "jails", "jailed", "gaol", "jailing",
    "fantasy", "fantasies", "phantasy", "fantasying", "fantasied", "phantasied", "phantasies", "phantasying",
    "embedded", "embed", "embedding", "embeds", "imbed", "imbedded", "imbedding", "imbeds", "inquired",
    "inquire", "inquiring", "enquire", "inquires", "enquired", "enquiring", "enquires", "endorse", "endorsed",
    "endorsing", "endorses", "indorse", "indorsed", "indorses", "indorsing", "aesthetic", "esthetic",
    "entrusted", "entrust", "entrusting", "intrust", "entrusts", "intrusted", "intrusting", "intrusts",
    "enclosure", "enclosures", "inclosure", "inclosures", "ecology", "ecologies", "Oecology", "sissy",
    "sissies", "cissy", "sissiest", "koran", "qur'an", "estrogen", "estrogens", "oestrogen", "oestrogens",
    "enfolded", "enfolding", "enfold", "enfolds", "infold", "infolded", "infolding", "infolds",
};
const std::array<std::string_view, 7> lemma_always_clean{"stranger", "feeling", "building", "meeting",
                                                         "number",   "lower",   "found"};

namespace {

// The reports, in opening order: fixed ones, the chain files, their clean twins, the count files.
enum : int {
    F_MAIN, F_SHORT, F_SHORT_NO_SINGLES, F_HARD_EXISTS, F_MIXED, F_NOT_IN_BG, F_CLEAN_PLUS_NOT_IN_BG, F_CLEAN,
    F_CLEAN_H_HARD_EXISTS, F_CLEAN_H_HARD_ONLY, F_CLEAN_H_NO_HARD, F_BOT_LEMMA_AND_NOT,
    F_CHAIN,                      // 9 chain files: 1, 2, 3, 12, 13, 23, 123, 4, 12_plus_3
    F_CHAIN_CLEAN = F_CHAIN + 9,  // 8 clean chain files: the same without 4
    F_COUNT = F_CHAIN_CLEAN + 8,  // COUNT01 .. COUNT13, COUNT13+
    F_COUNT_CLEAN = F_COUNT + 14,  // COUNT02_CLEAN .. COUNT13_CLEAN, COUNT13+_CLEAN
    F_FILES = F_COUNT_CLEAN + 13,
};
static_assert(F_FILES == 56);

constexpr std::string_view kBase = "A_GROUPED_BY LEMMA";
constexpr std::array<std::string_view, 9> kChains{"1", "2", "3", "12", "13", "23", "123", "4", "12_plus_3"};
constexpr int kChain4 = 7;

std::vector<std::string> make_names() {
    std::vector<std::string> n;
    const std::string base(kBase);
    for (std::string_view s : {"", "_!SHORT", "_!SHORT_NO_SINGLES!!!!!!!!!!!!!!!!!!SORT_IT_to_make_b_english_grouped",
                               "_!HARD_EXISTS", "_!MIXED", "_!NOT_IN_BG", "_!CLEAN_PLUS_NOT_IN_BG", "_!CLEAN",
                               "_!CLEAN_H_HARD_EXISTS", "_!CLEAN_H_HARD_ONLY", "_!CLEAN_H_NO_HARD",
                               "_!BOT_LEMMA_AND_NOT"})
        n.push_back(base + std::string(s));
    for (std::string_view c : kChains) n.push_back(base + "__CHAINED" + std::string(c));
    for (std::size_t i = 0; i < kChains.size(); ++i)
        if (static_cast<int>(i) != kChain4) n.push_back(base + "__CHAINED" + std::string(kChains[i]) + "_CLEAN");
    for (int c = 1; c <= 13; ++c) n.push_back(base + jux_format("_BY_COUNT%02d", c));
    n.push_back(base + "_BY_COUNT13+");
    for (int c = 2; c <= 13; ++c) n.push_back(base + jux_format("_BY_COUNT%02d_CLEAN", c));
    n.push_back(base + "_BY_COUNT13+_CLEAN");
    return n;
}

// Which chain files take a group, by the relations found (p1 lemma, p2 sibling, p3 child,
// p4 grandchild), in the order of kChains.
std::array<bool, 9> chains_of(bool p1, bool p2, bool p3, bool p4) {
    return {p1 && !p2 && !p3, p2 && !p1 && !p3, p3 && !p1 && !p2,  p1 && p2 && !p3,
            p1 && p3 && !p2,  p2 && p3 && !p1,  p1 && p2 && p3,    p4,
            (p1 && p2 && !p3) || (p3 && !p1 && !p2)};
}

std::string folded(std::string_view s) {
    std::string f(s);
    cp_strlwr(f);
    return f;
}

bool ascii_same_letter(std::string_view a, std::string_view b) {
    auto low = [](std::string_view s) {
        const unsigned char c = s.empty() ? 0 : static_cast<unsigned char>(s[0]);
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    };
    return low(a) == low(b);
}

bool in_sorted(const std::vector<std::string_view>& table, std::string_view word) {
    return std::binary_search(table.begin(), table.end(), word,
                              [](std::string_view x, std::string_view y) { return cp_strcasecmp(x, y) < 0; });
}

std::vector<std::string_view> sorted_table(std::span<const std::string_view> words) {
    std::vector<std::string_view> t(words.begin(), words.end());
    std::stable_sort(t.begin(), t.end(), [](std::string_view x, std::string_view y) { return cp_strcasecmp(x, y) < 0; });
    return t;
}

// One word of list "a" with what the run needs of it.
struct ListWord {
    std::string_view text;
    const ListPair* entry = nullptr;  // its dictionary entry, or null
    std::string lemma;                // the lemma its definition names ("" = none)
    std::string lemma_folded;
    const std::vector<int>* children = nullptr;  // the entries whose lemma is this word (null: none)
    int rank = 0;
    int marks = -1;                   // bit 0 Z (recording), 1 X (no word class), 2 H (hard); -1 not yet known
};

class Run {
public:
    explicit Run(std::vector<FILE*>& files) : files_(files) {}

    void load() {
        const ListFileRecord& a = m[M_A_FILE_ORDER];
        const std::size_t n = std::min({m[M_A_SORTED].count, a.count, a.entries.size()});
        const DictFileRecord& dict = b[B_EN_BG];
        const std::span<const ListPair> dict_entries(dict.entries.data(), std::min(dict.count, dict.entries.size()));
        words_.resize(n);
        by_word_.reserve(n);
        by_lemma_.reserve(n);
        int max_rank = 0;
        for (std::size_t i = 0; i < n; ++i) {
            ListWord& w = words_[i];
            w.text = a.entries[i].key;
            w.rank = GetRankInt(w.text);
            max_rank = std::max(max_rank, w.rank);
            w.entry = find_pair(dict_entries, w.text);
            if (!w.entry) continue;
            by_word_[folded(w.text)].push_back(static_cast<int>(i));
            if (w.entry->has_rest()) GetStemLemma(w.entry->rest, w.lemma);
            if (w.lemma.empty()) continue;
            w.lemma_folded = folded(w.lemma);
            by_lemma_[w.lemma_folded].push_back(static_cast<int>(i));
        }
        for (ListWord& w : words_)
            if (w.entry) w.children = find(by_lemma_, folded(w.text));
        // Every rank present has its bit, the ranks of unlisted words (500,000, 1,000,000) too.
        ranks_.assign((static_cast<std::size_t>(std::max(max_rank, 0)) + 7) / 8, '\0');
        exceptions_ = sorted_table(lemma_first_letter_exceptions);
        always_clean_ = sorted_table(lemma_always_clean);
        audio_ = std::span<const ListPair>(b[B_ENGLISH_AO].entries.data(),
                                           std::min(b[B_ENGLISH_AO].count, b[B_ENGLISH_AO].entries.size()));
    }

    void report() {
        for (std::size_t i = 0; i < words_.size(); ++i) report_word(static_cast<int>(i));
    }

private:
    void put(int file, std::string_view s) { write_out(files_[static_cast<std::size_t>(file)], s, false); }
    void put_line(int file, std::string_view s) {
        put(file, s);
        put(file, "\r\n");
    }

    static bool equal(std::string_view a, std::string_view b) { return cp_strcasecmp(a, b) == 0; }

    // The entries of the list "a" with a dictionary entry that a scan for `x` visits among
    // `candidates` (file order): those of x's first letter unless x may cross letters.
    template <class F>
    void scan(std::string_view x, const std::vector<int>& candidates, F&& visit) {
        const bool any_letter = in_sorted(exceptions_, x);
        for (int v : candidates)
            if (any_letter || ascii_same_letter(x, words_[static_cast<std::size_t>(v)].text)) visit(v);
    }
    static const std::vector<int>* find(const std::unordered_map<std::string, std::vector<int>>& map,
                                        const std::string& key) {
        const auto it = map.find(key);
        return it == map.end() ? nullptr : &it->second;
    }
    static const std::vector<int>& of(const std::vector<int>* list) {
        static const std::vector<int> none;
        return list ? *list : none;
    }
    static const std::vector<int>& of(const std::unordered_map<std::string, std::vector<int>>& map,
                                      const std::string& key) {
        return of(find(map, key));
    }

    void mark(int v) { set_bit_in_string(ranks_, static_cast<std::uint64_t>(std::max(words_[static_cast<std::size_t>(v)].rank, 0))); }
    bool marked(int rank) const { return rank > 0 && read_bit_in_string(ranks_, static_cast<std::uint64_t>(rank)); }

    int marks_of(ListWord& w) {
        if (w.marks < 0) {
            w.marks = 0;
            if (find_pair(audio_, w.text)) w.marks |= 1;
            std::string classes;
            concatenate_c_words(w.text, classes, gl_AUDIO_OGG_CLEAN);
            if (classes.empty()) w.marks |= 2;
            if (is_in_hard(w.text)) w.marks |= 4;
        }
        return w.marks;
    }

    // V's piece of the group line: the word, a blank, its marks and its rank in thousands.
    void piece(int v) {
        ListWord& w = words_[static_cast<std::size_t>(v)];
        const int marks = marks_of(w);
        group_ += w.text;
        group_ += ' ';
        if (marks & 1) group_ += 'Z';
        if (marks & 2) group_ += 'X';
        if (marks & 4) {
            group_ += 'H';
            hard_ += w.text;
            hard_ += ", ";
            hard_flag_ = true;
        }
        group_ += jux_format(marks ? " %d, " : "%d, ", w.rank / 1000);
    }
    void member(int v) {
        mark(v);
        piece(v);
        short_ += words_[static_cast<std::size_t>(v)].text;
        short_ += ' ';
        ++count_;
    }
    void strange(int v) {
        group_ += jux_format("(STRANGE!!) %s %d, ", std::string(current_->entry->key).c_str(),
                             words_[static_cast<std::size_t>(v)].rank / 1000);
    }

    // The words whose lemma is x (x's children).
    void child_scan(int x) {
        const ListWord& xw = words_[static_cast<std::size_t>(x)];
        scan(xw.text, of(xw.children), [&](int v) {
            if (!equal(words_[static_cast<std::size_t>(v)].text, xw.text)) {
                member(v);
                p4_ = true;
            } else {
                strange(v);
            }
        });
    }

    void report_word(int wi) {
        ListWord& w = words_[static_cast<std::size_t>(wi)];
        current_ = &w;
        group_.clear();
        short_.clear();
        hard_.clear();
        hard_flag_ = p1_ = p2_ = p3_ = p4_ = false;
        count_ = 1;
        int state = 0;
        if (!w.entry) {
            const std::string line = jux_format("%s %d  (not in en_bg) ", std::string(w.text).c_str(), w.rank / 1000);
            for (int f : {F_MAIN, F_COUNT, F_NOT_IN_BG, F_CLEAN_PLUS_NOT_IN_BG}) put_line(f, line);
            put(F_MIXED, "? ");
            put_line(F_MIXED, line);
            return;
        }
        if (!w.entry->has_rest()) return;
        piece(wi);
        short_ += w.text;
        short_ += ' ';

        if (!w.lemma.empty()) {
            state = 1;
            std::vector<int> candidates = of(by_word_, w.lemma_folded);
            const std::vector<int>& siblings = of(by_lemma_, w.lemma_folded);
            candidates.insert(candidates.end(), siblings.begin(), siblings.end());
            std::sort(candidates.begin(), candidates.end());
            candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
            scan(w.text, candidates, [&](int v) {
                const ListWord& vw = words_[static_cast<std::size_t>(v)];
                if (equal(vw.text, w.lemma)) {
                    mark(v);
                    group_ += "+ ";
                    piece(v);
                    short_ += '+';
                    short_ += vw.text;
                    short_ += ' ';
                    ++count_;
                    p1_ = true;
                }
                if (!vw.lemma.empty() && vw.lemma_folded == w.lemma_folded) {
                    if (!equal(vw.text, w.text)) {
                        member(v);
                        p2_ = true;
                        child_scan(v);
                    } else if (count_ != 1) {
                        group_ += "~, ";
                        short_ += "~ ";
                    }
                }
            });
        }
        scan(w.text, of(w.children), [&](int v) {
            if (!equal(words_[static_cast<std::size_t>(v)].text, w.text)) {
                member(v);
                if (state == 1) state = 2;
                p3_ = true;
            } else {
                strange(v);
            }
            child_scan(v);
        });

        for (std::string* line : {&group_, &hard_})
            if (line->size() >= 2 && line->ends_with(", ")) line->resize(line->size() - 2);
        if (short_.size() >= 2 && short_.back() == ' ') short_.pop_back();
        write(w, state);
    }

    void write(const ListWord& w, int state) {
        put_line(F_MAIN, group_);
        put_line(F_SHORT, short_);
        if (count_ > 1) put_line(F_SHORT_NO_SINGLES, short_);
        if (hard_flag_) put_line(F_HARD_EXISTS, group_);
        if (state == 2) put(F_MIXED, "(2) ");
        const std::array<bool, 9> chains = chains_of(p1_, p2_, p3_, p4_);
        for (std::size_t c = 0; c < chains.size(); ++c)
            if (chains[c]) put_line(F_CHAIN + static_cast<int>(c), group_);

        const bool rank_free = !marked(w.rank);
        if (rank_free || in_sorted(always_clean_, w.text)) {
            put_line(F_CLEAN, group_);
            put_line(F_CLEAN_PLUS_NOT_IN_BG, group_);
            if (hard_flag_) {
                put_line(F_CLEAN_H_HARD_EXISTS, group_);
                put_line(F_CLEAN_H_HARD_ONLY, hard_);
            } else {
                put_line(F_CLEAN_H_NO_HARD, group_);
            }
            for (std::size_t c = 0, clean = 0; c < chains.size(); ++c) {
                if (static_cast<int>(c) == kChain4) continue;
                if (chains[c]) put_line(F_CHAIN_CLEAN + static_cast<int>(clean), group_);
                ++clean;
            }
            put_line(F_MIXED, group_);
        } else {
            put(F_MIXED, "-- ");
            put_line(F_MIXED, group_);
        }
        if (state == 2) put_line(F_BOT_LEMMA_AND_NOT, group_);
        put_line(F_COUNT + std::min(count_, 14) - 1, group_);
        if (rank_free && count_ >= 2) put_line(F_COUNT_CLEAN + std::min(count_, 14) - 2, group_);
    }

    std::vector<FILE*>& files_;
    std::vector<ListWord> words_;
    std::unordered_map<std::string, std::vector<int>> by_word_;   // folded word -> entries with a dictionary entry
    std::unordered_map<std::string, std::vector<int>> by_lemma_;  // folded lemma -> entries that name it
    std::vector<std::string_view> exceptions_, always_clean_;
    std::span<const ListPair> audio_;
    std::string ranks_;  // the rank set: bit n = rank n taken by a member of some group

    const ListWord* current_ = nullptr;
    std::string group_, short_, hard_;
    bool hard_flag_ = false, p1_ = false, p2_ = false, p3_ = false, p4_ = false;
    int count_ = 1;
};

std::filesystem::path part_path(const std::string& name) { return fl_path(dir_alt, name + ".txt.part"); }
std::filesystem::path report_path(const std::string& name) { return fl_path(dir_alt, name + ".txt"); }
// The mark of a run whose reports were all written whole under their temporary names: while it
// stands, the renames of that run are under way, and the new set is the one that counts.
std::filesystem::path renaming_mark() { return fl_path(dir_alt, std::string(kBase) + ".renaming"); }

bool is_plain_file(const std::filesystem::path& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Removes the temporary reports that are files (a folder of that name is left alone); returns how
// many it removed.
int remove_parts() {
    int removed = 0;
    for (const std::string& name : lemma_report_names())
        if (is_plain_file(part_path(name))) removed += ::unlink(part_path(name).c_str()) == 0;
    return removed;
}

// Renames every temporary report there is over its report. The reports that could not be replaced
// are named in `failures` (their temporary files removed); returns how many were renamed.
int rename_parts(std::string& failures) {
    int renamed = 0;
    for (const std::string& name : lemma_report_names()) {
        if (!is_plain_file(part_path(name))) continue;  // renamed before the run was cut short
        std::error_code ec;
        std::filesystem::rename(part_path(name), report_path(name), ec);
        if (!ec) {
            ++renamed;
            continue;
        }
        failures += cannot_write_text(report_path(name), ec.value());
        ::unlink(part_path(name).c_str());
    }
    return renamed;
}

constexpr std::string_view kMixed =
    "The other lemma-grouping reports were replaced: run the reports again to make them one set.";

// Closes and removes the temporary files of the first `made` reports (the ones this run made).
void discard(std::vector<FILE*>& files, std::size_t made) {
    const std::vector<std::string>& names = lemma_report_names();
    for (std::size_t i = 0; i < made && i < names.size(); ++i) {
        if (i < files.size() && files[i]) std::fclose(files[i]);
        std::error_code ec;
        std::filesystem::remove(part_path(names[i]), ec);
    }
    files.clear();
}

}  // namespace

const std::vector<std::string>& lemma_report_names() {
    static const std::vector<std::string> names = make_names();
    return names;
}

std::string settle_lemma_reports() {
    std::string failures;
    std::string log;
    if (std::filesystem::path mark = renaming_mark(); is_plain_file(mark)) {
        if (const int n = rename_parts(failures))
            log += jux_format("%d lemma-grouping reports renamed into place in %s (their run was cut short "
                              "while renaming them)\r\n",
                              n, path_to_cp1251(dir_alt).c_str());
        ::unlink(mark.c_str());
        if (!failures.empty()) failures += kMixed;
    } else if (const int n = remove_parts()) {
        log += jux_format("%d temporary lemma-grouping reports of a run cut short removed from %s\r\n", n,
                          path_to_cp1251(dir_alt).c_str());
    }
    log += failures;
    if (!log.empty()) OutputCyr(log, failures.empty() ? 0 : 1, fl_stat ? fl_stat : stderr);
    return failures;
}

int run_lemma_reports() {
    settle_lemma_reports();  // a run cut short before: its set is made whole first (logged)
    // A log line it could not write is told now: the failures taken below are the reports' own.
    tell_write_failures(hMain);
    const std::vector<std::string>& names = lemma_report_names();
    std::vector<FILE*> files;
    for (const std::string& name : names) {
        FILE* f = make_fl(dir_alt, name + ".txt.part");  // tells the user when it cannot be opened
        if (!f) {
            discard(files, files.size());
            return 0;
        }
        files.push_back(f);
    }
    Run run(files);
    run.load();
    run.report();

    bool whole = true;
    for (std::size_t i = 0; i < files.size(); ++i) {
        // On the disk before the mark says they are whole, so that a power loss cannot put empty
        // reports in place at the next start.
        if (!sync_out(files[i])) whole = false;  // noted with the report's name and reason, logged at its close
        if (closefile(files[i], i == 0 ? std::string(kBase) + ".txt" : std::string()) != 0) whole = false;
        files[i] = nullptr;
    }
    const std::u16string failures = take_write_failures_w();  // one line per report that was not written
    if (!whole) {
        discard(files, names.size());
        MessageBoxW(hMain,
                    failures.substr(0, failures.find(u'\n') + 1) +
                        cp1251_to_utf16(jux_format("Cannot write the reports \"%s...\" in %s; the earlier reports are kept.",
                                                   std::string(kBase).c_str(), dir_altA.c_str())),
                    u"Oops!", MB_OK | MB_ICONERROR);
        return 0;
    }
    if (!write_file_safely(renaming_mark(), {})) {
        const int err = errno ? errno : EIO;
        discard(files, names.size());
        MessageBoxA(hMain, cannot_write_text(renaming_mark(), err) + "The earlier reports are kept.", "Oops!",
                    MB_OK | MB_ICONERROR);
        return 0;
    }
    std::string unrenamed;
    rename_parts(unrenamed);
    ::unlink(renaming_mark().c_str());
    if (!unrenamed.empty()) {
        MessageBoxA(hMain, unrenamed + std::string(kMixed), "Oops!", MB_OK | MB_ICONERROR);
        return 0;
    }
    return 1;
}
