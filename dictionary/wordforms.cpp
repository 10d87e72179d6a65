// The Bulgarian word-form index: "bgtypes2/_D2_ungrouped_sorted.txt", one analysis a line:
//     form lemma type slot
// (fields separated by blanks or tabs; type = bgtype_ar row 0..472, slot 0..65535), sorted
// case-insensitively by form. Lines of the same form (any case) become one BgFormRecord.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <future>
#include <system_error>
#include <thread>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "dictionary/load_support.h"
#include "dictionary/loading.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "platform/flat_table.h"
#include "platform/hash.h"
#include "platform/text.h"
#include "shell/files.h"
#include "shell/memory.h"

namespace {

constexpr int kMaxAnalyses = 255;  // analyses one form record holds

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// Cuts the next field of a line in place (NUL after it); empty view when there is none.
std::string_view next_field(char*& p, char* end) {
    while (p < end && is_blank(*p)) ++p;
    char* start = p;
    while (p < end && !is_blank(*p)) ++p;
    std::string_view f(start, static_cast<size_t>(p - start));
    if (p < end) *p++ = '\0';
    return f;
}

bool parse_number(std::string_view s, int max, int& out) {
    if (s.empty()) return false;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && ptr == s.data() + s.size() && out >= 0 && out <= max;
}

std::size_t digits(unsigned v) {
    std::size_t n = 1;
    for (; v >= 10; v /= 10) ++n;
    return n;
}

// One analysis as written into the `analyses` text.
size_t item_size(const BgFormRecord& r) {
    return std::strlen(r.lemma) + 1 + digits(r.type) + 1 + digits(r.slot);
}

void append_item(std::vector<char>& pool, const BgFormRecord& r) {
    pool.insert(pool.end(), r.lemma, r.lemma + std::strlen(r.lemma));
    char digits[16];
    pool.push_back(':');
    auto t = std::to_chars(digits, digits + sizeof digits, static_cast<int>(r.type));
    pool.insert(pool.end(), digits, t.ptr);
    pool.push_back(':');
    auto s = std::to_chars(digits, digits + sizeof digits, static_cast<int>(r.slot));
    pool.insert(pool.end(), digits, s.ptr);
}

bool same_analysis(const BgFormRecord& a, const BgFormRecord& c) {
    return a.type == c.type && a.slot == c.slot && std::strcmp(a.lemma, c.lemma) == 0;
}

// The forms are NUL-terminated (cut in place), without NUL bytes inside.
bool form_less(const BgFormRecord& a, const BgFormRecord& c) { return cp_strcasecmp(a.form, c.form) < 0; }

// Whether each record's form equals the one before it case-insensitively (false for the first);
// false when the records are not sorted by form. A long table is looked at in stretches on helper
// threads beside this one.
bool mark_repeats(const std::vector<BgFormRecord>& v, std::vector<char>& repeat) {
    repeat.assign(v.size(), 0);
    const auto mark = [&v, &repeat](std::size_t from, std::size_t to) {
        for (std::size_t i = std::max<std::size_t>(from, 1); i < to; ++i) {
            const int c = cp_strcasecmp(v[i - 1].form, v[i].form);
            if (c > 0) return false;
            repeat[i] = c == 0;
        }
        return true;
    };
    constexpr std::size_t kStretch = 250'000;
    const std::size_t parts = std::clamp<std::size_t>(v.size() / kStretch, 1, 4);
    std::vector<std::future<bool>> helpers;
    for (std::size_t k = 1; k < parts; ++k) {
        const std::size_t from = k * v.size() / parts, to = (k + 1) * v.size() / parts;
        try {
            helpers.push_back(std::async(std::launch::async, mark, from, to));
        } catch (const std::system_error&) {
            helpers.push_back(std::async(std::launch::deferred, mark, from, to));  // marked below, here
        }
    }
    bool sorted = mark(0, v.size() / parts);
    for (std::future<bool>& h : helpers) sorted = h.get() && sorted;
    return sorted;
}

// The forms and lemmas the records point at, copied out of the file's bytes into a block of their
// own, each distinct lemma once (a lemma has a line for every one of its forms); the records are
// pointed at the copies, and the rest of the file's bytes can be let go. The file's bytes are kept
// as they are when they are too many for 32-bit places.
std::shared_ptr<ListText> compact_text(std::vector<BgFormRecord>& v, std::shared_ptr<ListText> file) {
    const std::size_t file_size = file->size;  // bounds the block: a line holds its form and lemma
    if (file_size >= 0xFFFFFFFFu) return file;
    auto t = std::make_shared<ListText>();
    t->bytes.reset(static_cast<char*>(jux_malloc(file_size + 1)));
    if (!t->bytes) return file;  // no room for the copy: the file's bytes stay
    char* const base = t->bytes.get();
    std::size_t used = 0;
    const auto copy = [&](const char* s, std::size_t n) {
        char* at = base + used;
        std::memcpy(at, s, n);
        at[n] = '\0';
        used += n + 1;
        return at;
    };
    // The lemmas copied so far, by their bytes: their places in the block, the table kept at most
    // half full.
    FlatTable<NumberedSlot> slots;
    slots.reset(1024);
    std::size_t lemmas = 0;
    for (BgFormRecord& r : v) {
        r.form = copy(r.form, std::strlen(r.form));
        const std::string_view lemma(r.lemma);
        const std::uint64_t h = word_hash(lemma);
        const auto same = [&](const NumberedSlot& s) { return s.fits(h) && lemma == base + s.entry(); };
        std::size_t s = slots.probe(h, same);
        if (!slots.taken(slots.at(s))) {
            slots.put(s, NumberedSlot::of(h, static_cast<std::size_t>(copy(lemma.data(), lemma.size()) - base)));
            if (slots.wants_room(++lemmas, 1, 2)) {  // more room: the copies placed again
                slots.grow(slots.slot_count() * 2, NumberedSlot::home_hash);
                s = slots.probe(h, same);
            }
        }
        r.lemma = base + slots.at(s).entry();
    }
    base[used] = '\0';
    t->size = used;
    return t;
}

// The room of the records past the last one (the lines merged into the records before them were
// cut into it, and the room made for every possible line) is handed back to the system page by
// page: the records are not moved, and the pages are given fresh, zeroed, should the room be used.
void release_unused_room(std::vector<BgFormRecord>& v) {
#if defined(__linux__)
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    if (page == 0 || (page & (page - 1)) != 0) return;
    const auto from = (reinterpret_cast<std::uintptr_t>(v.data() + v.size()) + page - 1) & ~(page - 1);
    const auto to = reinterpret_cast<std::uintptr_t>(v.data() + v.capacity()) & ~(page - 1);
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
#else
    (void)v;
#endif
}

// Cuts the lines of text[from, to) into records appended to `out`, counting them into `st`.
void parse_lines(char* base, std::size_t from, std::size_t to, std::vector<BgFormRecord>& out, ListLoadStats& st) {
    const std::string_view all(base, to);
    for (std::size_t at = from; at < all.size();) {
        const LineSpan span = next_line(all, at);
        char* p = base + at;
        char* line_end = p + span.length;
        at = span.next;
        *line_end = '\0';
        ++st.lines;
        char* q = p;
        const bool empty = std::string_view(p, static_cast<size_t>(line_end - p)).find_first_not_of(" \t") ==
                           std::string_view::npos;
        if (!empty && std::memchr(p, '\0', static_cast<size_t>(line_end - p))) {
            ++st.skipped;  // a NUL byte inside the line
        } else if (!empty) {
            std::string_view form = next_field(q, line_end);
            std::string_view lemma = next_field(q, line_end);
            std::string_view type = next_field(q, line_end);
            std::string_view slot = next_field(q, line_end);
            std::string_view extra = next_field(q, line_end);
            int t = 0, s = 0;
            if (lemma.empty() || !extra.empty() || !parse_number(type, BGTYPES - 1, t) || !parse_number(slot, 65535, s)) {
                ++st.skipped;
            } else {
                BgFormRecord r;
                r.form = form.data();
                r.lemma = lemma.data();
                r.n_analyses = 1;
                r.type = static_cast<std::uint16_t>(t);
                r.slot = static_cast<std::uint16_t>(s);
                out.push_back(r);
            }
        }
    }
}

// Where a stretch of the text may begin near `at`: just after a line feed that no lone carriage
// return follows (a line end of any kind ends there, so the lines on either side are the lines a
// reading of the whole text finds); the end of the text when there is none.
std::size_t line_start_after(std::string_view text, std::size_t at) {
    for (std::size_t j = text.find('\n', at); j != std::string_view::npos; j = text.find('\n', j + 1))
        if (j + 1 < text.size() && text[j + 1] != '\r') return j + 1;
    return text.size();
}

// The records of every sound line, in the file's order, into `v` (whose room holds them all). A
// large file is cut in stretches at line starts, read on helper threads beside this one; their
// records are appended in order and the counts added up.
void parse_records(ListText& text, std::vector<BgFormRecord>& v, ListLoadStats& st) {
    constexpr std::size_t kStretchBytes = 4u << 20;
    const std::size_t parts = std::clamp<std::size_t>(text.size / kStretchBytes, 1, 4);
    const std::string_view all(text.bytes.get(), text.size);
    std::vector<std::size_t> cut{0};
    for (std::size_t k = 1; k < parts; ++k) cut.push_back(std::max(cut.back(), line_start_after(all, k * all.size() / parts)));
    cut.push_back(all.size());
    std::vector<std::vector<BgFormRecord>> more(parts - 1);
    std::vector<ListLoadStats> counts(parts - 1);
    std::vector<std::future<void>> helpers;
    for (std::size_t k = 1; k < parts; ++k) {
        more[k - 1].reserve((cut[k + 1] - cut[k]) / 8 + 1);  // as `v`: never moved
        const auto read = [&, k] { parse_lines(text.bytes.get(), cut[k], cut[k + 1], more[k - 1], counts[k - 1]); };
        try {
            helpers.push_back(std::async(std::launch::async, read));
        } catch (const std::system_error&) {
            helpers.push_back(std::async(std::launch::deferred, read));  // read below, on this thread
        }
    }
    parse_lines(text.bytes.get(), cut[0], cut[1], v, st);
    for (std::size_t k = 1; k < parts; ++k) {
        helpers[k - 1].get();
        v.insert(v.end(), more[k - 1].begin(), more[k - 1].end());
        more[k - 1] = {};
        st.lines += counts[k - 1].lines;
        st.skipped += counts[k - 1].skipped;
    }
    if (parts > 1) give_back_freed_memory();  // the stretches' records, copied
}

}  // namespace

load_support::WordFormLoad load_support::open_word_forms(const std::filesystem::path& folder) {
    bgmul_store.clear();
    bgmul_bottom = nullptr;
    bgmul_ct = 0;
    bgmul_text.reset();
    bgmul_analyses_pool.clear();
    reset_lemma_index();
    WordFormLoad load;
    load.file = folder / "bgtypes2" / kWordFormFile;
    load.text = read_list_text(load.file, &load.stats.converted_utf8);
    return load;
}

void load_support::index_word_forms(WordFormLoad& load, const std::function<void()>& compacted) {
    if (!load.text) return;
    std::shared_ptr<ListText> text = std::move(load.text);
    ListLoadStats& st = load.stats;

    // 1. One record per sound line, fields cut in place.
    std::vector<BgFormRecord>& v = bgmul_store;
    {
        // One record a line at most, and a sound line has at least seven bytes (four fields and
        // their blanks) and its line end: room for as many is made first, so that the records are
        // never moved (room not filled takes no memory).
        v.reserve(text->size / 8 + 1);
    }
    parse_records(*text, v, st);

    // 2. Sorted by form (an unsorted file is sorted here; lines of one form keep their order).
    std::vector<char> repeat;  // the line's form is the one of the line before
    if (!mark_repeats(v, repeat)) {
        std::stable_sort(v.begin(), v.end(), form_less);
        mark_repeats(v, repeat);
    }

    // 3. The room for the `analyses` texts of forms with several analyses.
    std::size_t pool = 0;
    for (std::size_t i = 0; i < v.size();) {
        std::size_t j = i + 1;
        while (j < v.size() && repeat[j]) ++j;
        if (j - i > 1)
            for (std::size_t k = i; k < j; ++k) pool += item_size(v[k]) + 1;
        i = j;
    }
    bgmul_analyses_pool.reserve(pool + 1);

    // 4. One record per form; repeated analyses and those beyond 255 are dropped.
    std::size_t& dups = load.duplicates;
    std::size_t out = 0;
    std::vector<std::size_t> kept;  // the lines of the current form whose analysis is kept
    for (std::size_t i = 0; i < v.size();) {
        std::size_t j = i + 1;
        while (j < v.size() && repeat[j]) ++j;
        BgFormRecord head = v[i];
        if (j - i > 1) {
            const std::size_t start = bgmul_analyses_pool.size();
            int n = 0;
            kept.clear();
            for (std::size_t k = i; k < j; ++k) {
                // A line equal to an earlier one equals one already kept (or the record is full),
                // so only the kept analyses, at most 255, are compared: the load stays linear
                // however many lines one form has.
                if (n == kMaxAnalyses || std::any_of(kept.begin(), kept.end(), [&](std::size_t e) {
                        return same_analysis(v[e], v[k]);
                    })) {
                    ++dups;
                    continue;
                }
                kept.push_back(k);
                if (n > 0) bgmul_analyses_pool.push_back(' ');
                append_item(bgmul_analyses_pool, v[k]);
                ++n;
            }
            bgmul_analyses_pool.push_back('\0');
            head.n_analyses = static_cast<std::uint8_t>(n);
            head.analyses = n > 1 ? bgmul_analyses_pool.data() + start : nullptr;
        }
        v[out++] = head;
        i = j;
    }
    v.resize(out);

    bgmul_text = compact_text(v, std::move(text));
    release_unused_room(v);
    bgmul_bottom = v.data();
    bgmul_ct = v.size();
    if (compacted) compacted();
    // The lemma index and the form hash, so that no look-up pays for them: they only read the
    // records, so the hash is made on a thread of its own beside the lemma index where there is a
    // processor to spare (the loader's other thread loads the lists meanwhile).
    std::future<void> hashing;
    if (std::thread::hardware_concurrency() > 2) {
        try {
            hashing = std::async(std::launch::async, [] { build_form_hash(); });
        } catch (const std::system_error&) {
            // no thread to be had: made below
        }
    }
    build_lemma_index();
    if (hashing.valid())
        hashing.get();
    else
        build_form_hash();
    load.read = true;
}

void load_support::report_word_forms(const WordFormLoad& load) {
    if (!load.read) return;
    ++lexicon_load_report.files_read;
    lexicon_load_report.entries += bgmul_ct;
    note_file(load.file, load.stats, load.duplicates);
}

int load_word_forms(const std::filesystem::path& folder) {
    load_support::WordFormLoad load = load_support::open_word_forms(folder);
    load_support::index_word_forms(load);
    load_support::report_word_forms(load);
    return load.read ? 1 : 0;
}
