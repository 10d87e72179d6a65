#include "shell/lists.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "platform/text.h"
#include "shell/encoding.h"
#include "shell/files.h"
#include "shell/strings.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// A block of `size` bytes; when none is to be had, the program ends with its message, unless
// `out_of_memory` is given: it is then set and null returned.
char* text_block(std::size_t size, bool* out_of_memory) {
    if (!out_of_memory) return static_cast<char*>(jux_malloc_or_exit(size));
    char* p = static_cast<char*>(jux_malloc(size));
    if (!p) *out_of_memory = true;
    return p;
}

std::shared_ptr<ListText> make_text(std::string_view bytes, bool* out_of_memory = nullptr) {
    auto t = std::make_shared<ListText>();
    t->bytes.reset(text_block(bytes.size() + 1, out_of_memory));
    if (!t->bytes) return nullptr;
    if (!bytes.empty()) std::memcpy(t->bytes.get(), bytes.data(), bytes.size());
    t->bytes[bytes.size()] = '\0';
    t->size = bytes.size();
    return t;
}

// Calls on_line(start, length) for every line that may be an entry: not empty, not a comment,
// no NUL byte, not over-long. The line is NUL-terminated in place (its CR or LF becomes NUL).
// on_line returns 1 (entry made), 0 (unsound: skipped) or -1 (nothing to load, not counted).
template <class F>
void for_each_line(ListText& t, bool slash_comments, ListLoadStats& st, F&& on_line) {
    char* const base = t.bytes.get();
    const std::string_view all(base, t.size);
    for (std::size_t at = 0; at < t.size;) {
        const LineSpan line = next_line(all, at);
        char* p = base + at;
        ++st.lines;
        p[line.length] = '\0';
        const size_t len = line.length;
        if (len != 0 && !(slash_comments && p[0] == '/')) {
            if (len > kMaxListLine || std::memchr(p, '\0', len) != nullptr) {
                ++st.skipped;
            } else {
                int r = on_line(p, len);
                if (r == 0) ++st.skipped;
            }
        }
        at = line.next;
    }
}

// Cuts "key blanks rest" in place. 1: cut; 0: the line starts with a blank before text (no key);
// -1: the line holds only blanks.
int cut_pair(char* s, size_t len, std::string_view& key, std::string_view& rest) {
    size_t k = 0;
    while (k < len && !is_blank(s[k])) ++k;
    if (k == 0) {
        for (size_t i = 0; i < len; ++i)
            if (!is_blank(s[i])) return 0;
        return -1;
    }
    size_t r = k;
    while (r < len && is_blank(s[r])) ++r;
    key = std::string_view(s, k);
    rest = r < len ? std::string_view(s + r, len - r) : std::string_view();
    if (k < len) s[k] = '\0';
    return 1;
}

bool is_final_mark(unsigned char c) { return c == '.' || c == '!' || c == '?' || c == 0x85; }

// One sentence of a corpus line, trimmed of trailing blanks and of its final mark, which is
// returned in `mark`. The new end is NUL-terminated in place.
std::string_view cut_sentence(char* s, size_t len, unsigned char& mark) {
    while (len > 0 && is_blank(s[len - 1])) s[--len] = '\0';
    mark = 0;
    if (len > 0 && is_final_mark(static_cast<unsigned char>(s[len - 1]))) {
        mark = static_cast<unsigned char>(s[len - 1]);
        s[--len] = '\0';
        while (len > 0 && is_blank(s[len - 1])) s[--len] = '\0';
    }
    return std::string_view(s, len);
}

template <class T, class Key>
void sort_range(std::vector<T>& v, size_t from, Key key) {
    auto less = [&](const T& a, const T& b) { return cp_strcasecmp(key(a), key(b)) < 0; };
    auto first = v.begin() + static_cast<std::ptrdiff_t>(from);
    if (!std::is_sorted(first, v.end(), less)) std::stable_sort(first, v.end(), less);
}

}  // namespace

LineSpan next_line(std::string_view text, std::size_t from) {
    std::size_t i = from;
    // Eight bytes at a time: the lowest byte that is CR or LF ends the line (a byte of x ^ CRs or
    // x ^ LFs is zero there; the zero-byte test is exact up to the first zero byte).
    static_assert(std::endian::native == std::endian::little, "the first byte in memory is the lowest");
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
    while (i + 8 <= text.size()) {
        std::uint64_t w;
        std::memcpy(&w, text.data() + i, 8);
        const std::uint64_t cr = w ^ (kOnes * '\r'), lf = w ^ (kOnes * '\n');
        const std::uint64_t hit = ((cr - kOnes) & ~cr & kHigh) | ((lf - kOnes) & ~lf & kHigh);
        if (hit != 0) {
            i += static_cast<std::size_t>(std::countr_zero(hit)) / 8;
            break;
        }
        i += 8;
    }
    while (i < text.size() && text[i] != '\r' && text[i] != '\n') ++i;
    LineSpan line{i - from, i};
    if (i >= text.size()) return line;
    auto at = [&](std::size_t k, char c) { return k < text.size() && text[k] == c; };
    if (text[i] == '\r') {
        if (at(i + 1, '\r') && at(i + 2, '\n')) line.next = i + 3;  // CR CR LF
        else if (at(i + 1, '\n')) line.next = i + 2;                // CR LF
        else line.next = i + 1;                                      // CR
    } else {
        // LF CR, unless the CR begins a CR LF of the next (empty) line.
        line.next = at(i + 1, '\r') && !at(i + 2, '\n') ? i + 2 : i + 1;
    }
    return line;
}

std::shared_ptr<ListText> read_list_text(const std::filesystem::path& file, bool* converted_utf8, bool* out_of_memory) {
    if (converted_utf8) *converted_utf8 = false;
    FILE* f = open_regular_for_reading(file);
    if (!f) return nullptr;
    struct stat st {};
    if (fstat(fileno(f), &st) != 0) {
        std::fclose(f);
        return nullptr;
    }
    auto t = std::make_shared<ListText>();
    const auto size = static_cast<size_t>(st.st_size);
    t->bytes.reset(text_block(size + 1, out_of_memory));
    if (!t->bytes) {
        std::fclose(f);
        return nullptr;
    }
    size_t got = size ? std::fread(t->bytes.get(), 1, size, f) : 0;
    std::fclose(f);
    t->bytes[got] = '\0';
    t->size = got;

    std::string_view all(t->bytes.get(), got);
    bool bom = false;
    if (is_utf8_text(all, &bom)) {
        if (bom) all.remove_prefix(UTF8_BOM.size());
        if (converted_utf8) *converted_utf8 = true;
        return make_text(utf8_to_cp1251(all), out_of_memory);
    }
    return t;
}

namespace {

// The frame every record loader shares: over the file's text (read by load_records, or before),
// cut each line into a record with `make` (1 taken, 0 unsound, -1 passed over), keep at most
// `opts.room` records, sort the new records by `key` when asked, report the counts.
template <class Rec, class Make, class Key>
std::shared_ptr<ListText> cut_records(std::shared_ptr<ListText> text, bool converted_utf8, const ListLoadOptions& opts,
                                      std::vector<Rec>& out, ListLoadStats* stats, Make make, Key key) {
    ListLoadStats st;
    st.converted_utf8 = converted_utf8;
    if (!text) {
        if (stats) *stats = st;
        return nullptr;
    }
    const size_t from = out.size();
    out.reserve(from + text->size / 16 + 16);
    for_each_line(*text, opts.slash_comments, st, [&](char* s, size_t len) {
        Rec rec{};
        int r = make(s, len, rec);
        if (r != 1) return r;
        if (out.size() - from >= opts.room) {
            ++st.over_room;
            return -1;
        }
        out.push_back(rec);
        return 1;
    });
    st.loaded = out.size() - from;
    if (opts.sort) sort_range(out, from, key);
    if (stats) *stats = st;
    return text;
}

template <class Rec, class Make, class Key>
std::shared_ptr<ListText> load_records(const std::filesystem::path& file, const ListLoadOptions& opts,
                                       std::vector<Rec>& out, ListLoadStats* stats, Make make, Key key) {
    bool converted = false;
    std::shared_ptr<ListText> text = read_list_text(file, &converted);
    return cut_records(std::move(text), converted, opts, out, stats, make, key);
}

int cut_pair_into(char* s, size_t len, ListPair& p) { return cut_pair(s, len, p.key, p.rest); }
std::string_view pair_key(const ListPair& p) { return p.key; }

}  // namespace

std::shared_ptr<ListText> load_pairs(const std::filesystem::path& file, const ListLoadOptions& opts,
                                     std::vector<ListPair>& out, ListLoadStats* stats) {
    return load_records(file, opts, out, stats, cut_pair_into, pair_key);
}

std::shared_ptr<ListText> load_pairs(std::shared_ptr<ListText> text, bool converted_utf8, const ListLoadOptions& opts,
                                     std::vector<ListPair>& out, ListLoadStats* stats) {
    return cut_records(std::move(text), converted_utf8, opts, out, stats, cut_pair_into, pair_key);
}

std::shared_ptr<ListText> load_pairs_seq(const std::filesystem::path& file, int seq,
                                         std::vector<ListPairSeq>& out, ListLoadStats* stats) {
    ListLoadOptions opts;
    opts.slash_comments = false;
    opts.sort = true;
    return load_records(
        file, opts, out, stats,
        [seq](char* s, size_t len, ListPairSeq& p) {
            p.seq = seq;
            return cut_pair(s, len, p.key, p.rest);
        },
        [](const ListPairSeq& p) { return p.key; });
}

std::shared_ptr<ListText> load_sentences(const std::filesystem::path& file, const ListLoadOptions& opts,
                                         std::vector<SentencePair>& out, ListLoadStats* stats) {
    return load_records(
        file, opts, out, stats,
        [](char* s, size_t len, SentencePair& sp) {
            const bool blank_line = std::string_view(s, len).find_first_not_of(" \t") == std::string_view::npos;
            char* tab = static_cast<char*>(std::memchr(s, '\t', len));
            size_t en_len = tab ? static_cast<size_t>(tab - s) : len;
            if (tab) {
                *tab = '\0';
                unsigned char mark = 0;
                std::string_view bg = cut_sentence(tab + 1, len - en_len - 1, mark);
                sp.bg = bg.empty() ? std::string_view() : bg;
                sp.bg_mark = bg.empty() ? 0 : mark;
            }
            sp.en = cut_sentence(s, en_len, sp.en_mark);
            if (sp.en.empty()) return blank_line ? -1 : 0;  // no English sentence: not an entry
            return 1;
        },
        [](const SentencePair& p) { return p.en; });
}

int fl_to_list(const std::filesystem::path& folder, ListFileRecord& rec, bool sentences) {
    rec.entries.clear();
    rec.sentences.clear();
    rec.count = 0;
    rec.text.reset();
    rec.stats = ListLoadStats{};
    std::filesystem::path file = folder.empty() ? std::filesystem::path(cp1251_to_utf8(rec.name) + ".txt")
                                                : folder / (cp1251_to_utf8(rec.name) + ".txt");
    ListLoadOptions opts;
    opts.sort = rec.sort;
    std::shared_ptr<ListText> text = sentences ? load_sentences(file, opts, rec.sentences, &rec.stats)
                                               : load_pairs(file, opts, rec.entries, &rec.stats);
    if (!text) return 0;
    rec.text = std::move(text);
    rec.count = sentences ? rec.sentences.size() : rec.entries.size();
    return 1;
}

void sort_pairs(std::vector<ListPair>& pairs) {
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const ListPair& a, const ListPair& b) { return cmp_simple(a, b) < 0; });
}

namespace {
PairFinder g_pair_finder = nullptr;
// Smaller lists are searched: a few comparisons over memory the searches keep in the caches.
constexpr std::size_t kFinderMinEntries = 4096;

const ListPair* search_pair(std::span<const ListPair> list, std::string_view key) {
    auto it = std::lower_bound(list.begin(), list.end(), key,
                               [](const ListPair& p, std::string_view k) { return cmp_g(k, p) > 0; });
    if (it == list.end() || cmp_g(key, *it) != 0) return nullptr;
    return &*it;
}

// The finder's answer about a large list; `answered` false when it has none.
const ListPair* hashed_pair(std::span<const ListPair> list, std::string_view key, bool& answered) {
    answered = false;
    if (list.size() < kFinderMinEntries || !g_pair_finder) return nullptr;
    return g_pair_finder(list, key, answered);
}
}  // namespace

void set_pair_finder(PairFinder finder) { g_pair_finder = finder; }

const ListPair* find_pair(std::span<const ListPair> list, std::string_view key) {
    bool answered = false;
    const ListPair* p = hashed_pair(list, key, answered);
    return answered ? p : search_pair(list, key);
}

const ListPair* find_pair(const ListFileRecord& rec, std::string_view key) {
    return find_pair(std::span<const ListPair>(rec.entries), key);
}

namespace {

constexpr std::size_t kSampleStride = 32;

// The first 8 letters folded to small letters, big-endian, 0-padded: heads order as cmp_g orders
// the texts wherever they differ.
std::uint64_t folded_head8(std::string_view s) {
    std::uint64_t h = 0;
    for (std::size_t i = 0; i < 8; ++i) h = (h << 8) | (i < s.size() ? cp_tolower(static_cast<unsigned char>(s[i])) : 0u);
    return h;
}

bool starts_nocase(std::string_view key, std::string_view prefix) {
    return key.size() >= prefix.size() && cp_strncasecmp(key, prefix, prefix.size()) == 0;
}

}  // namespace

PairSearch::PairSearch(std::span<const ListPair> list) : list_(list) {
    heads_.reserve(list.size() / kSampleStride + 1);
    for (std::size_t i = 0; i < list.size(); i += kSampleStride) heads_.push_back(folded_head8(list[i].key));
}

// The part of the list that holds every key equal to `key`, and the place where it would stand:
// keys before a sample with a smaller head are smaller, keys from a sample with a greater head on
// are greater.
std::span<const ListPair> PairSearch::narrow(std::string_view key) const {
    const std::uint64_t h = folded_head8(key);
    const auto lo = std::lower_bound(heads_.begin(), heads_.end(), h);
    const auto hi = std::upper_bound(lo, heads_.end(), h);
    const std::size_t from = lo == heads_.begin() ? 0 : static_cast<std::size_t>(lo - heads_.begin() - 1) * kSampleStride;
    const std::size_t to = std::min(list_.size(), static_cast<std::size_t>(hi - heads_.begin()) * kSampleStride);
    // The few entries and their keys are asked for at once, so that their reads overlap instead of
    // following one another through the search.
    if (to - from <= 4 * kSampleStride) {
        for (std::size_t i = from; i < to; i += 2) __builtin_prefetch(list_.data() + i);
        for (std::size_t i = from; i < to; ++i) __builtin_prefetch(list_[i].key.data());
    }
    return list_.subspan(from, to - from);
}

const ListPair* PairSearch::find(std::string_view key) const {
    bool answered = false;
    const ListPair* p = hashed_pair(list_, key, answered);
    return answered ? p : search_pair(narrow(key), key);
}

std::span<const ListPair> PairSearch::with_prefix(std::string_view prefix) const {
    const std::span<const ListPair> part = narrow(prefix);
    const auto first = std::lower_bound(part.begin(), part.end(), prefix,
                                        [](const ListPair& p, std::string_view k) { return cmp_g(k, p) > 0; });
    const std::size_t begin =
        static_cast<std::size_t>(part.data() - list_.data()) + static_cast<std::size_t>(first - part.begin());
    // The keys with the prefix follow one another from there: gallop to the first without it.
    std::size_t good = begin, step = 1;
    while (good < list_.size() && starts_nocase(list_[good].key, prefix)) {
        const std::size_t next = good + step;
        if (next >= list_.size() || !starts_nocase(list_[next].key, prefix)) {
            const auto end = std::partition_point(list_.begin() + static_cast<std::ptrdiff_t>(good),
                                                  list_.begin() + static_cast<std::ptrdiff_t>(std::min(next, list_.size())),
                                                  [&](const ListPair& p) { return starts_nocase(p.key, prefix); });
            return list_.subspan(begin, static_cast<std::size_t>(end - list_.begin()) - begin);
        }
        good = next;
        step *= 2;
    }
    return list_.subspan(begin, 0);
}
