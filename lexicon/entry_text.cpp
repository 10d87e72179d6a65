#include "lexicon/entry_text.h"

#include <algorithm>

#include "lexicon/morphology.h"
#include "platform/text.h"

namespace {

const char* const kRoman[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};

const std::u16string_view kBulkLabels[] = {u" [BULK]", u" [AUTO]", u" [B]", u" (M)", u" (M2)", u" (M3)", u" (E)"};

struct Substitute {
    char16_t from;
    const char16_t* to;
};
// The substitutes as they arrive in UTF-16 (their code page 1251 characters) and what they show.
const Substitute kSubstitutes[] = {
    {u'`', u"\u025C\u02D0"},  // the long central vowel
    {u'\u00A7', u"\u0283"},   // § -> sh
    {u'\u00A4', u"\u0292"},   // ¤ -> zh
    {u'\u00A6', u"\u03B8"},   // ¦ -> theta
    {u'\u00A9', u"\u00F0"},   // © -> eth
    {u'\u00AE', u"\u014B"},   // ® -> eng
    {u'\u00B0', u"\u0254"},   // ° -> open o
    {u'\u00B1', u"\u00E6"},   // ± -> ash
    {u'\u00B5', u"\u028C"},   // µ -> turned v
    {u'\u00B6', u"\u0259"},   // ¶ -> schwa
    {u'\u00AC', u"\u026A"},   // ¬ -> small capital i
    {u'\u040E', u"\u028A"},   // Ў -> upsilon
    {u'\u0402', u"\u00E1"},   // Ђ -> á
    {u'\u0403', u"\u00E9"},   // Ѓ -> é
    {u'\u0453', u"\u00ED"},   // ѓ -> í
    {u'\u0409', u"\u00F3"},   // Љ -> ó
    {u'\u040A', u"\u00FA"},   // Њ -> ú
};

// Appends one line while it fits whole into RICH_CHUNK_MAX bytes; false when it does not.
bool add_line(std::string& dest, std::string_view a, std::string_view b, std::string_view c) {
    std::string line(a);
    if (!b.empty()) {
        line += ' ';
        line += b;
    }
    if (!c.empty()) {
        line += ' ';
        line += c;
    }
    line += '\n';
    if (dest.size() + line.size() > RICH_CHUNK_MAX) return false;
    dest += line;
    return true;
}

template <class LineOf>
int rich_chunk(std::string_view key, std::span<const ListPair> list, std::string& dest, int w,
               long& offset, int& index, int& found, LineOf line_of) {
    dest.clear();
    offset = 0;
    index = 0;
    found = 0;
    if (w < 0) w = 0;
    const auto pos_it = std::lower_bound(list.begin(), list.end(), key,
                                         [](const ListPair& p, std::string_view k) { return cp_strcasecmp(p.key, k) < 0; });
    const size_t pos = static_cast<size_t>(pos_it - list.begin());
    found = (pos < list.size() && cp_strcasecmp(list[pos].key, key) == 0) ? 1 : 0;
    const size_t from = pos > static_cast<size_t>(w) ? pos - static_cast<size_t>(w) : 0;
    const size_t to = std::min(list.size(), pos + static_cast<size_t>(w));
    // The lines are written in order while they fit: the text ends at the first line that does
    // not, so that the count, the key's line and its offset describe the text as written.
    int lines = 0;
    bool key_placed = false;
    for (size_t i = from; i < to; ++i) {
        if (i == pos) {
            offset = static_cast<long>(dest.size());
            index = lines;
            key_placed = true;
        }
        if (!line_of(dest, list[i])) break;
        ++lines;
    }
    if (!key_placed) {
        offset = static_cast<long>(dest.size());
        index = lines;
    }
    return lines;
}

}  // namespace

void number_signs_to_numbers(std::string_view s, std::string& dest) {
    dest.clear();
    std::string out;
    out.reserve(s.size() + 16);
    bool converted = false;
    int sense = 0;
    int part = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '#' && i + 1 < s.size() && s[i + 1] == ' ') {
            out += std::to_string(++sense) + ". ";
            ++i;
            converted = true;
        } else if (c == ' ' && i + 2 < s.size() && s[i + 1] == '@' && s[i + 2] == ' ') {
            ++part;
            out += ' ';
            out += part <= 9 ? kRoman[part - 1] : "X?";
            out += ". ";
            sense = 0;
            i += 2;
            converted = true;
        } else {
            if (c == '@') sense = 0;
            out += c;
        }
    }
    if (converted) dest = std::move(out);
}

std::u16string remove_bulk_labelW(std::u16string_view a) {
    std::u16string t(a.substr(0, 32767));
    for (std::u16string_view label : kBulkLabels) {
        size_t p = 0;
        while ((p = t.find(label, p)) != std::u16string::npos) t.erase(p, label.size());
    }
    return t;
}

void ReplaceAChars(std::u16string& text) {
    std::u16string out;
    out.reserve(text.size() + 16);
    for (char16_t c : text) {
        const Substitute* s = nullptr;
        for (const Substitute& k : kSubstitutes)
            if (k.from == c) s = &k;
        if (s) out += s->to;
        else out += c;
    }
    text.swap(out);
}

int GetRichChunk(std::string_view key, std::span<const ListPair> list, std::string& dest, int w,
                 long& offset, int& index, int& found) {
    return rich_chunk(key, list, dest, w, offset, index, found, [](std::string& d, const ListPair& p) {
        return add_line(d, p.key, p.has_rest() ? p.rest : std::string_view(), {});
    });
}

int GetRichChunkBg(std::string_view key, std::span<const ListPair> list, std::string& dest, int w,
                   long& offset, int& index, int& found) {
    std::string analysis;
    return rich_chunk(key, list, dest, w, offset, index, found, [&](std::string& d, const ListPair& p) {
        GetBgType(p.key, analysis);
        while (!analysis.empty() && analysis.back() == ' ') analysis.pop_back();
        return add_line(d, p.key, p.has_rest() ? p.rest : std::string_view(), analysis);
    });
}
