// The Bulgarian word-form index: "bgtypes2/_D2_ungrouped_sorted.txt", one analysis a line:
//     form lemma type slot
// (fields separated by blanks or tabs; type = bgtype_ar row 0..472, slot 0..65535), sorted
// case-insensitively by form. Lines of the same form (any case) become one BgFormRecord.
#include <algorithm>
#include <charconv>
#include <cstring>

#include "dictionary/load_support.h"
#include "dictionary/loading.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "platform/text.h"
#include "shell/files.h"

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

// One analysis as written into the `analyses` text.
size_t item_size(const BgFormRecord& r) {
    return std::strlen(r.lemma) + 1 + std::to_string(r.type).size() + 1 + std::to_string(r.slot).size();
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

bool form_less(const BgFormRecord& a, const BgFormRecord& c) {
    return cp_strcasecmp(std::string_view(a.form), std::string_view(c.form)) < 0;
}
bool form_equal(const BgFormRecord& a, const BgFormRecord& c) {
    return cp_strcasecmp(std::string_view(a.form), std::string_view(c.form)) == 0;
}

}  // namespace

int load_word_forms(const std::filesystem::path& folder) {
    bgmul_store.clear();
    bgmul_bottom = nullptr;
    bgmul_ct = 0;
    bgmul_text.reset();
    bgmul_analyses_pool.clear();
    reset_lemma_index();

    const std::filesystem::path file = folder / "bgtypes2" / kWordFormFile;
    ListLoadStats st;
    std::shared_ptr<ListText> text = read_list_text(file, &st.converted_utf8);
    if (!text) return 0;

    // 1. One record per sound line, fields cut in place.
    std::vector<BgFormRecord>& v = bgmul_store;
    {
        // One record a line at most: counted first, so that the records are never moved.
        const std::string_view all(text->bytes.get(), text->size);
        std::size_t lines = 1;
        for (std::size_t at = 0; at < all.size(); at = next_line(all, at).next) ++lines;
        v.reserve(lines);
    }
    char* const base = text->bytes.get();
    const std::string_view all(base, text->size);
    for (std::size_t at = 0; at < all.size();) {
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
                v.push_back(r);
            }
        }
    }

    // 2. Sorted by form (an unsorted file is sorted here; lines of one form keep their order).
    if (!std::is_sorted(v.begin(), v.end(), form_less)) std::stable_sort(v.begin(), v.end(), form_less);

    // 3. The room for the `analyses` texts of forms with several analyses.
    std::size_t pool = 0;
    for (std::size_t i = 0; i < v.size();) {
        std::size_t j = i + 1;
        while (j < v.size() && form_equal(v[i], v[j])) ++j;
        if (j - i > 1)
            for (std::size_t k = i; k < j; ++k) pool += item_size(v[k]) + 1;
        i = j;
    }
    bgmul_analyses_pool.reserve(pool + 1);

    // 4. One record per form; repeated analyses and those beyond 255 are dropped.
    std::size_t dups = 0;
    std::size_t out = 0;
    std::vector<std::size_t> kept;  // the lines of the current form whose analysis is kept
    for (std::size_t i = 0; i < v.size();) {
        std::size_t j = i + 1;
        while (j < v.size() && form_equal(v[i], v[j])) ++j;
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

    bgmul_text = std::move(text);
    bgmul_bottom = v.data();
    bgmul_ct = v.size();
    build_lemma_index();  // so that no look-up pays for it
    ++lexicon_load_report.files_read;
    lexicon_load_report.entries += bgmul_ct;
    load_support::note_file(file, st, dups);
    return 1;
}
