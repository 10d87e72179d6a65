// The ending tables of the inflection types: "bgtypes2/_endings.txt", one type a line:
//     name cut ending0 ending1 ...
// name = the type's name in bgtype_ar, cut = letters taken off the lemma, then one ending per form
// slot: "0" an empty ending, "-" no such form, '?' a letter of the lemma's cut tail; a final '*'
// marks an alternative form, a final '!' a form not in standard use. Lines beginning with '/' are
// comments.
#include <charconv>
#include <cstring>

#include "dictionary/load_support.h"
#include "dictionary/loading.h"
#include "lexicon/bgtypes.h"
#include "lexicon/tables.h"
#include "platform/text.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> split(std::string_view line) {
    std::vector<std::string_view> f;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && is_blank(line[i])) ++i;
        size_t s = i;
        while (i < line.size() && !is_blank(line[i])) ++i;
        if (i > s) f.push_back(line.substr(s, i - s));
    }
    return f;
}

bool parse_ending(std::string_view s, BgEnding& e) {
    e.flag = 0;
    if (s.size() > 1 && s.back() == '*') {
        e.flag = 1;
        s.remove_suffix(1);
    } else if (s.size() > 1 && s.back() == '!') {
        e.flag = 2;
        s.remove_suffix(1);
    }
    if (s.empty()) return false;
    e.ending = s == "0" ? std::u16string() : cp1251_to_utf16(s);
    return true;
}

}  // namespace

int load_endings(const std::filesystem::path& folder) {
    for (int r = 0; r < BGTYPES; ++r) {
        bgtype_endings[static_cast<size_t>(r)].clear();
        BgTypeRecord& t = bgtype_ar[static_cast<size_t>(r)];
        t.endings = nullptr;
        t.count = 0;
        t.cut = 0;
        t.alt = 0;
    }
    const std::filesystem::path file = folder / "bgtypes2" / kEndingsFile;
    ListLoadStats st;
    std::shared_ptr<ListText> text = read_list_text(file, &st.converted_utf8);
    if (!text) return 0;

    std::size_t dups = 0;
    std::string_view all(text->bytes.get(), text->size);
    for (std::size_t at = 0; at < all.size();) {
        const LineSpan span = next_line(all, at);
        const std::string_view line = all.substr(at, span.length);
        at = span.next;
        ++st.lines;
        if (line.empty() || line[0] == '/') continue;
        std::vector<std::string_view> f = split(line);
        if (f.empty()) continue;
        int cut = -1;
        const int row = bgtype_row_by_name(f[0]);
        bool sound = row >= 0 && f.size() >= 3 && line.find('\0') == std::string_view::npos;
        if (sound) {
            auto [ptr, ec] = std::from_chars(f[1].data(), f[1].data() + f[1].size(), cut);
            sound = ec == std::errc() && ptr == f[1].data() + f[1].size() && cut >= 0 && cut <= 64;
        }
        std::vector<BgEnding> endings;
        for (size_t k = 2; sound && k < f.size(); ++k) {
            BgEnding e;
            sound = parse_ending(f[k], e);
            endings.push_back(std::move(e));
        }
        if (!sound) {
            ++st.skipped;
            continue;
        }
        std::vector<BgEnding>& store = bgtype_endings[static_cast<size_t>(row)];
        if (!store.empty()) {
            ++dups;  // a type given twice keeps its first table
            continue;
        }
        store = std::move(endings);
        BgTypeRecord& t = bgtype_ar[static_cast<size_t>(row)];
        t.endings = store.data();
        t.count = static_cast<int>(store.size());
        t.cut = static_cast<std::uint16_t>(cut);
        t.alt = 0;
        for (const BgEnding& e : store)
            if (e.flag == 1) ++t.alt;
    }
    ++lexicon_load_report.files_read;
    load_support::note_file(file, st, dups);
    return 1;
}
