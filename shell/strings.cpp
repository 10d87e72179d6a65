#include "shell/strings.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <set>

#include "platform/text.h"
#include "platform/window.h"
#include "shell/lists.h"
#include "shell/token_frequency_index.h"
#include "shell/window_state.h"

namespace {

std::array<unsigned char, 256> make_latin_cyrillic() {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[static_cast<size_t>(c)] = (cp_islatin(static_cast<unsigned char>(c)) ||
                                     cp_iscyrillic(static_cast<unsigned char>(c))) ? 1 : 0;
    return t;
}

bool is_letter(unsigned char c) { return ascii_latin_cyrillic[c] != 0; }
bool is_word_char(unsigned char c) { return is_letter(c) || cp_isdigit(c); }
// The apostrophes: the plain one, the grave accent and the two single quotation marks.
bool is_apostrophe(unsigned char c) { return c == '\'' || c == 96 || c == 145 || c == 146; }
// The marks a word takes inside it, between two of its characters.
bool is_inner_mark(unsigned char c) { return c == '.' || c == ',' || c == ';' || c == ':' || c == '?' || c == '!'; }

}  // namespace

unsigned char ascii_latin_cyrillic[256];

namespace {
// Filled before main from the platform's constant letter classes.
const bool latin_cyrillic_ready = [] {
    auto t = make_latin_cyrillic();
    std::copy(t.begin(), t.end(), ascii_latin_cyrillic);
    return true;
}();
}  // namespace

// ---- Comparators ----------------------------------------------------------------------------

int cmp_g(std::string_view key, const ListPair& p) { return cp_strcasecmp(key, p.key); }

int cmp_simple(const ListPair& a, const ListPair& b) { return cp_strcasecmp(a.key, b.key); }

int cmp_simple(const SentencePair& a, const SentencePair& b) { return cp_strcasecmp(a.en, b.en); }

int cmp_in_g(std::string_view key, const GRecord& g) { return key.compare(g.name); }

int cmp_g_strcmp_nm(const GRecord& a, const GRecord& b) { return a.name.compare(b.name); }

int cmp_g_strcasecmp_nm(const GRecord& a, const GRecord& b) { return cp_strcasecmp(a.name, b.name); }

// ---- Tests on text ----------------------------------------------------------------------------

int IsNumber(std::string_view text) {
    for (unsigned char c : text)
        if (!number_char(c)) return 0;
    return 1;
}

int IsDigitsOnly(std::string_view text) {
    for (unsigned char c : text)
        if (!cp_isdigit(c) && c != '-') return 0;
    return 1;
}

// ---- Words and tokens -------------------------------------------------------------------------

namespace {
std::set<std::string> g_told_word_counts;  // texts whose "too few words" box was shown
}  // namespace

int Get_Nth_TokenA(int n, std::string_view text, std::string& dest, std::size_t size) {
    dest.clear();
    std::size_t i = 0;
    for (int w = 1; n >= 1; ++w) {
        while (i < text.size() && text[i] == ' ') ++i;
        if (i >= text.size()) break;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;  // the word runs to the next blank
        if (w == n) {
            std::string_view word = text.substr(start, i - start);
            word = word.substr(0, std::min(word.find(','), word.size()));  // ... and ends at a comma
            if (size == 0) return 1;
            dest.assign(word.substr(0, std::min(word.size(), size - 1)));
            return 1;
        }
    }
    // Each text is told once while the lists stay loaded: a run meets the same dictionary text
    // again at every check (in real-time checking at every keystroke).
    if (g_told_word_counts.insert(std::string(text)).second) {
        std::string message = utf8_to_cp1251("Няма толкова думи в дефиницията. Опитайте пак.");
        message += "\n\n";
        message.append(text);
        MessageBoxA(hMain, message, "Oops!", MB_OK | MB_ICONWARNING);
    }
    return 0;
}

void forget_told_word_counts() { g_told_word_counts.clear(); }

int GetWordCountA(std::string_view text) {
    // Blanks and underscores at either end of the text separate no words.
    auto separator = [](char c) { return c == ' ' || c == '_'; };
    while (!text.empty() && separator(text.front())) text.remove_prefix(1);
    while (!text.empty() && separator(text.back())) text.remove_suffix(1);
    int count = 1;
    bool in_run = false;
    for (char c : text) {
        const bool sep = c == ' ' || c == '_';
        if (sep && !in_run) ++count;
        in_run = sep;
    }
    return count;
}

namespace {

constexpr unsigned char kWordChar = 1;  // a letter or a digit
constexpr unsigned char kJoiner = 2;    // an apostrophe, a hyphen or an inner mark: joins two word characters

// Whether the eight bytes of `x` are all 0xC0 or above (the code page's А-я).
bool eight_high_letters(std::uint64_t x) {
    constexpr std::uint64_t kTop = 0xC0C0C0C0C0C0C0C0ULL;
    return (x & kTop) == kTop;
}

}  // namespace

std::uint64_t get_token_count_in_string(std::string_view text, std::uint64_t* counter) {
    std::array<unsigned char, 256> kind{};
    for (int c = 0; c < 256; ++c) {
        const auto u = static_cast<unsigned char>(c);
        if (is_word_char(u)) kind[u] = kWordChar;
        else if (is_apostrophe(u) || u == '-' || is_inner_mark(u)) kind[u] = kJoiner;
    }
    // Where every ASCII letter (every byte from 0xC0 up) is a letter, a word's letters past its
    // sixteenth are passed over eight at a time when they are all such letters: a run of millions
    // of letters is one word.
    bool ascii_words = true, high_words = true;
    for (unsigned char c = 'A'; c <= 'Z'; ++c) ascii_words = ascii_words && kind[c] == kWordChar && kind[c | 0x20] == kWordChar;
    for (int c = 0xC0; c < 256; ++c) high_words = high_words && kind[static_cast<unsigned char>(c)] == kWordChar;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::uint64_t count = 0;
    std::size_t i = 0;
    for (;;) {
        while (i < n && kind[s[i]] != kWordChar) ++i;
        if (i == n) break;
        ++count;
        // The word goes on over its letters and digits, and over a joiner that a letter or digit follows.
        for (;;) {
            const std::size_t stop = std::min(n, i + 16);
            while (i < stop && kind[s[i]] == kWordChar) ++i;
            if (i == stop && i < n && kind[s[i]] == kWordChar) {
                for (std::uint64_t eight = 0; i + 8 <= n; i += 8) {
                    std::memcpy(&eight, s + i, 8);
                    if (!(ascii_words && eight_ascii_letters(eight)) && !(high_words && eight_high_letters(eight))) break;
                }
                while (i < n && kind[s[i]] == kWordChar) ++i;
            }
            if (i + 1 < n && kind[s[i]] == kJoiner && kind[s[i + 1]] == kWordChar) {
                ++i;
                continue;
            }
            break;
        }
    }
    if (counter) *counter = count;
    return count;
}

std::size_t my_strcasestr_word(std::string_view text, std::string_view word) {
    if (word.empty() || word.size() > text.size()) return std::string_view::npos;
    const std::size_t last = text.size() - word.size();
    for (std::size_t i = 0; i <= last; ++i) {
        if (cp_strncasecmp(text.substr(i, word.size()), word, word.size()) != 0) continue;
        if (i > 0 && is_letter(static_cast<unsigned char>(text[i - 1]))) continue;
        const std::size_t after = i + word.size();
        if (after < text.size() && is_letter(static_cast<unsigned char>(text[after]))) continue;
        return i;
    }
    return std::string_view::npos;
}

// ---- Editing --------------------------------------------------------------------------------

std::string capitalize_all_first(std::string_view text) {
    std::string out(text.substr(0, std::min<std::size_t>(text.size(), 511)));
    if (!out.empty()) out[0] = static_cast<char>(cp_toupper(static_cast<unsigned char>(out[0])));
    for (std::size_t i = 0; i + 2 < out.size(); ++i)
        if (out[i] == '|') out[i + 2] = static_cast<char>(cp_toupper(static_cast<unsigned char>(out[i + 2])));
    return out;
}

namespace {
template <class S>
void collapse_blanks(S& text) {
    using C = typename S::value_type;
    std::size_t w = 0;
    bool blank_before = true;  // drops the leading blanks
    for (std::size_t r = 0; r < text.size(); ++r) {
        const C c = text[r];
        if (c == C(' ')) {
            if (blank_before) continue;
            blank_before = true;
        } else {
            blank_before = false;
        }
        text[w++] = c;
    }
    text.resize(w);
    if (!text.empty() && text.back() == C(' ')) text.pop_back();
}

template <class S, class V>
void replace_all(V source, S& destination, V find, V replacement, bool empty_when_none) {
    destination.clear();
    std::size_t pos = find.empty() ? V::npos : source.find(find);
    if (pos == V::npos) {
        if (!empty_when_none) destination.assign(source);
        return;
    }
    std::size_t from = 0;
    while (pos != V::npos) {
        destination.append(source.substr(from, pos - from));
        destination.append(replacement);
        from = pos + find.size();
        pos = source.find(find, from);
    }
    destination.append(source.substr(from));
}
}  // namespace

void remove_extra_spaces(std::string& text) { collapse_blanks(text); }

void remove_extra_spacesW(std::u16string& text) { collapse_blanks(text); }

void remove_leading_spaces(std::string& text) {
    const std::size_t n = text.find_first_not_of(' ');
    text.erase(0, n == std::string::npos ? text.size() : n);
}

void replace_substring(std::string_view source, std::string& destination, std::string_view find,
                       std::string_view replacement) {
    replace_all(source, destination, find, replacement, false);
}

void replace_substringW(std::u16string_view source, std::u16string& destination, std::u16string_view find,
                        std::u16string_view replacement) {
    replace_all(source, destination, find, replacement, true);
}

// ---- Bytes and bits ---------------------------------------------------------------------------

void ByteToHexLabel(unsigned char byte, char (&label)[3]) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    label[0] = kHex[byte >> 4];
    label[1] = kHex[byte & 0x0F];
    label[2] = '\0';
}

void set_bit_in_string(std::string& bits, std::uint64_t n) {
    if (n == 0 || (n - 1) / 8 >= bits.size()) return;
    bits[(n - 1) / 8] = static_cast<char>(static_cast<unsigned char>(bits[(n - 1) / 8]) | (1u << ((n - 1) % 8)));
}

int read_bit_in_string(std::string_view bits, std::uint64_t n) {
    if (n == 0 || (n - 1) / 8 >= bits.size()) return 0;
    return (static_cast<unsigned char>(bits[(n - 1) / 8]) >> ((n - 1) % 8)) & 1u;
}

void remove_time_code(std::string& text) {
    constexpr std::string_view kBlockEnd = "\r\r";  // the empty line before a block
    constexpr std::string_view kArrow = " --> ";     // the time-code line's arrow
    std::string out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t cc = text.find(kBlockEnd, from);
        if (cc == std::string::npos) break;
        const std::size_t arrow = text.find(kArrow, cc + kBlockEnd.size());
        if (arrow == std::string::npos) break;
        const std::size_t cr = text.find('\r', arrow);
        if (cr == std::string::npos) break;
        // A block's header: the arrow stands on the first or the second line after the empty line.
        const std::size_t first_end = text.find('\r', cc + kBlockEnd.size());
        const bool header = first_end == cr || text.find('\r', first_end + 1) == cr;
        if (header) {
            out.append(text, from, cc - from);
            out += ' ';
            from = cr + 1;
        } else {
            out.append(text, from, cc + 1 - from);
            from = cc + 1;
        }
    }
    if (from == 0) return;
    out.append(text, from);
    text = std::move(out);
}
