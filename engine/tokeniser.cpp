#include "engine/tokeniser.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <span>
#include <vector>

#include "lexicon/tables.h"
#include "platform/flat_table.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/lists.h"
#include "shell/settings.h"
#include "shell/window_state.h"
#include "spelling/word_index.h"

const std::u16string_view kSoftHyphenMessage =
    u"В този текст има меки тирета и програмата няма да работи правилно!";

namespace {

// Class bits of the scan's table.
enum : std::uint16_t {
    kValid = 1 << 0,     // ascii_valid
    kAposHyp = 1 << 1,   // ascii_aposhyp
    kApos = 1 << 2,      // ascii_apos
    kPunct = 1 << 3,     // ascii_punct
    kDigit = 1 << 4,     // 0-9
    kCyr = 1 << 5,       // ascii_cyrillic
    kCyrUp = 1 << 6,     // ascii_cyrillic_upper
    kCyrLo = 1 << 7,     // ascii_cyrillic_lower
    kLatUp = 1 << 8,     // ascii_latin_upper
    kLatLo = 1 << 9,     // ascii_latin_lower
    kLetterDigit = kDigit | kCyr | kLatUp | kLatLo,
    kInRun = 1 << 10,    // a token character that is a letter or digit: goes on a run of them
};

// The six counting bits (digit .. Latin small, bits 4-9) of a class, each as a one in a field of
// ten bits of its own: a run of letters adds them up in one word, emptied every kFieldRoom letters.
constexpr int kCountShift = 4, kFieldBits = 10;
constexpr std::uint32_t kFieldRoom = (1u << kFieldBits) - 1;
constexpr std::array<std::uint64_t, 64> kCountFields = [] {
    std::array<std::uint64_t, 64> f{};
    for (std::size_t b = 0; b < f.size(); ++b)
        for (int j = 0; j < 6; ++j)
            if (b & (1u << j)) f[b] += std::uint64_t{1} << (kFieldBits * j);
    return f;
}();
static_assert(kDigit == 1 << kCountShift && kCyr == kDigit << 1 && kCyrUp == kDigit << 2 && kCyrLo == kDigit << 3 &&
              kLatUp == kDigit << 4 && kLatLo == kDigit << 5);

constexpr unsigned char kSoftHyphen = 173;
constexpr unsigned char kUnknownChar = 6;     // a character code page 1251 cannot show
constexpr unsigned char kYearLetter = 0xE3;   // 'г' of "1999г."

inline bool valid_start(const std::uint16_t* cls, unsigned char c) {
    return (cls[c] & (kValid | kAposHyp)) == kValid;
}

void count_aposhyp(TokenCounts& n, std::uint16_t k, unsigned char c, int d) {
    const std::uint32_t u = static_cast<std::uint32_t>(d);
    if (k & kApos) n.apos += u;
    else if (c == '-') n.hyphens += u;
}

// The gap from `i`: returns where the token begins (the text's end when none follows).
std::size_t scan_gap(Tokeniser& t, std::size_t i) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(t.text->data());
    const std::size_t n = t.n;
    const std::uint16_t* cls = t.cls;
    while (i < n) {
        const unsigned char c = s[i];
        const std::uint16_t k = cls[c];
        if ((k & (kValid | kAposHyp)) == kValid) return i;
        if (c == '<') {
            // A markup tag of one character, <x> or </x>, stays whole in the gap.
            if (i + 2 < n && s[i + 2] == '>') {
                i += 3;
                continue;
            }
            if (i + 3 < n && s[i + 1] == '/' && s[i + 3] == '>') {
                i += 4;
                continue;
            }
            ++i;
            continue;
        }
        if (k & kAposHyp) {
            // A run of apostrophes and hyphens directly followed by a token character begins
            // the token; otherwise it belongs to the gap.
            std::size_t j = i + 1;
            while (j < n && (cls[s[j]] & kAposHyp)) ++j;
            if (j < n && (cls[s[j]] & kValid)) return i;
            i = j;
            continue;
        }
        if (c == kSoftHyphen && !t.soft_hyphen_shown) {
            t.soft_hyphen_shown = true;
            MessageBoxW(hMain, kSoftHyphenMessage, u"Oops!", MB_OK | MB_ICONERROR);
        }
        ++i;
    }
    return n;
}

bool final_dot_kept(const Tokeniser& t, std::size_t ts, std::size_t i, const TokenCounts& n) {
    const char* s = t.text->data();
    const std::size_t len = i - ts;
    if (len == 0) return false;
    const std::string_view with_dot(s + ts, len + 1);
    // Digits with dots belong to both alphabets: the Bulgarian list is asked when the English
    // lists do not hold the token ("5." of "в 5. клас").
    if (n.cyr == 0 && n.lat_upper + n.lat_lower + n.digits + n.dots == len && is_english_key(with_dot))
        return true;
    if (n.cyr + n.digits + n.dots == len) {
        if (len >= 2 && n.cyr == 1 && n.digits == len - 1 &&
            static_cast<unsigned char>(s[i - 1]) == kYearLetter)
            return true;
        return is_bulgarian_key(with_dot);
    }
    return false;
}

// The token from `ts`: returns its end and fills the counts.
std::size_t scan_token(Tokeniser& t, std::size_t ts, TokenScan& out) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(t.text->data());
    const std::size_t n = t.n;
    const std::uint16_t* cls = t.cls;
    TokenCounts& cnt = out.n;
    bool only_aposhyp = true;  // the token so far holds only apostrophes and hyphens
    std::size_t i = ts;
    while (i < n) {
        const unsigned char c = s[i];
        const std::uint16_t k = cls[c];
        if (!(k & (kValid | kPunct))) break;
        if (k & kLetterDigit) {
            // The run of letters and digits from here, counted in the fields of one word.
            std::uint64_t fields = 0;
            const auto empty_fields = [&cnt, &fields] {
                const auto field = [fields](int j) { return static_cast<std::uint32_t>(fields >> (kFieldBits * j)) & kFieldRoom; };
                cnt.digits += field(0);
                cnt.cyr += field(1);
                cnt.cyr_upper += field(2);
                cnt.cyr_lower += field(3);
                cnt.lat_upper += field(4);
                cnt.lat_lower += field(5);
                fields = 0;
            };
            // At most kFieldRoom letters go into the fields before they are emptied; the next
            // round of this loop takes the letters past them.
            const std::size_t stop = std::min<std::size_t>(n, i + kFieldRoom);
            for (std::uint16_t r = k;;) {
                fields += kCountFields[(r >> kCountShift) & 63];
                if (++i == stop) break;
                r = cls[s[i]];
                if (!(r & kInRun)) break;
            }
            empty_fields();
            only_aposhyp = false;
            continue;
        }
        if (k & kAposHyp) {
            if (i + 1 < n && (cls[s[i + 1]] & kAposHyp) && !only_aposhyp) break;
            if (k & kApos) {
                out.has_apos = out.has_aposhyp = true;
            } else if (c == '-') {
                out.has_aposhyp = true;
            }
            count_aposhyp(cnt, k, c, 1);
            ++i;
            continue;
        }
        const bool next_starts = i + 1 < n && valid_start(cls, s[i + 1]);
        if (c == ',') {
            if (i > ts && (cls[s[i - 1]] & kDigit) && i + 1 < n && (cls[s[i + 1]] & kDigit)) {
                ++cnt.commas;
            } else if (!next_starts) {
                break;
            }
            only_aposhyp = false;
            ++i;
            continue;
        }
        if (c == '?' || c == '!' || c == ';' || c == ':') {
            if (!next_starts) break;
            only_aposhyp = false;
            ++i;
            continue;
        }
        if (c == '.') {
            if (next_starts) {
                ++cnt.dots;
            } else if (!out.final_dot && final_dot_kept(t, ts, i, cnt)) {
                out.final_dot = true;
            } else {
                break;
            }
            only_aposhyp = false;
            ++i;
            continue;
        }
        if (!(k & kValid)) break;  // a mark of ascii_punct that is no token character
        only_aposhyp = false;
        ++i;
    }
    return i;
}

bool all_aposhyp(const std::uint16_t* cls, const unsigned char* s, std::size_t a, std::size_t b) {
    for (std::size_t i = a; i < b; ++i)
        if (!(cls[s[i]] & kAposHyp)) return false;
    return true;
}

}  // namespace

namespace {

// The keys of one sorted list that end in a dot, folded as cmp_g folds them, in a small hash table.
// The final-dot rule asks, at every sentence end, whether the token with its dot is a key: one
// probe gives the answer a binary search through the whole list would (the list is sorted by
// cmp_g, so a key equal to the token under its folding is one the search finds). The table is
// made again whenever the list is another one (another array, size, file text or first and last
// key: a list loaded again or filed into), its entries were edited in place (the word indexes were
// let go) or the locale's folding changed.
class DotKeys {
public:
    // `hash`: folded_key_hash of the key.
    bool holds(std::span<const ListPair> list, const void* text, std::string_view key, std::uint64_t hash) {
        if (list.data() != data_ || list.size() != size_ || text != text_ ||
            cp1251_detail::current_ctype != ctype_ || word_index_generation() != generation_ || !same_ends(list))
            build(list, text);
        const unsigned char* lower = cp1251_detail::current_ctype->lower;
        return slots_.find(hash, [&](const NumberedSlot& s) {
            if (!s.fits(hash)) return false;
            const Key& k = keys_[s.entry()];
            if (k.hash != hash || k.length != key.size()) return false;
            std::size_t i = 0;
            while (i < key.size() &&
                   lower[static_cast<unsigned char>(key[i])] == static_cast<unsigned char>(folded_[k.at + i]))
                ++i;
            return i == key.size();
        }) != nullptr;
    }
    void forget() { *this = DotKeys{}; }

private:
    struct Key {
        std::uint64_t hash;
        std::uint32_t at, length;  // the folded key in folded_
    };

    bool same_ends(std::span<const ListPair> list) const {
        if (list.empty()) return first_.empty() && last_.empty();
        return list.front().key == first_ && list.back().key == last_;
    }
    void build(std::span<const ListPair> list, const void* text) {
        keys_.clear();
        folded_.clear();
        const unsigned char* lower = cp1251_detail::current_ctype->lower;
        for (const ListPair& p : list) {
            if (p.key.empty() || p.key.back() != '.') continue;
            keys_.push_back(Key{folded_key_hash(p.key), static_cast<std::uint32_t>(folded_.size()),
                                static_cast<std::uint32_t>(p.key.size())});
            for (const char c : p.key) folded_ += static_cast<char>(lower[static_cast<unsigned char>(c)]);
        }
        std::size_t room = 16;
        while (room < keys_.size() * 2) room *= 2;
        slots_.reset(keys_.empty() ? 0 : room);
        for (std::size_t i = 0; i < keys_.size(); ++i) slots_.place(keys_[i].hash, NumberedSlot::of(keys_[i].hash, i));
        data_ = list.data();
        size_ = list.size();
        text_ = text;
        ctype_ = cp1251_detail::current_ctype;
        generation_ = word_index_generation();
        first_ = list.empty() ? std::string() : std::string(list.front().key);
        last_ = list.empty() ? std::string() : std::string(list.back().key);
    }

    const ListPair* data_ = nullptr;
    std::size_t size_ = 0;
    const void* text_ = nullptr;
    const void* ctype_ = nullptr;
    std::uint64_t generation_ = 0;
    std::string first_, last_;          // the list's first and last keys when the table was made
    std::vector<Key> keys_;
    std::string folded_;                // the folded keys one after another
    FlatTable<NumberedSlot> slots_;     // the keys by hash
};

DotKeys dot_en_bg, dot_english2, dot_bulgarian;

template <class Row>
bool dot_key_in(DotKeys& dk, const Row& row, std::string_view key, std::uint64_t hash) {
    return dk.holds(row.entries, row.text.get(), key, hash);
}

}  // namespace

bool is_english_key(std::string_view key) {
    if (!key.empty() && key.back() == '.') {
        const std::uint64_t h = folded_key_hash(key);
        return dot_key_in(dot_en_bg, b[B_EN_BG], key, h) || dot_key_in(dot_english2, m[M_WL_ENGLISH2], key, h);
    }
    return find_pair(b[B_EN_BG].entries, key) != nullptr ||
           find_pair(m[M_WL_ENGLISH2].entries, key) != nullptr;
}

void forget_dot_keys() {
    dot_en_bg.forget();
    dot_english2.forget();
    dot_bulgarian.forget();
}

bool is_bulgarian_key(std::string_view key) {
    if (!key.empty() && key.back() == '.')
        return dot_key_in(dot_bulgarian, b[B_BULGARIAN], key, folded_key_hash(key));
    return find_pair(b[B_BULGARIAN].entries, key) != nullptr;
}

std::string max_words_message(std::int32_t n) {
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  "The option \"MAX_WORDS_IN_FILE\" (%i) is not big enough. Put a bigger value in "
                  "settings.txt and try again. The processing stops there: the rest of the text is left "
                  "out.\r\n",
                  n);
    return buf;
}

namespace {
// The MAX_WORDS_IN_FILE value whose full-store message was shown (-1: none yet).
std::int64_t g_max_words_shown = -1;
}  // namespace

void show_max_words_message(std::size_t n) {
    if (g_max_words_shown == static_cast<std::int64_t>(n)) return;
    g_max_words_shown = static_cast<std::int64_t>(n);
    MessageBoxA(hMain, max_words_message(static_cast<std::int32_t>(n)), "Oops!", MB_OK | MB_ICONERROR);
}

void reset_tokeniser() {
    forget_dot_keys();
    g_max_words_shown = -1;
}

namespace {
constexpr unsigned char kOutsideQuotes[] = {132, 147, 148};  // „ “ ”
}  // namespace

QuotesOutOfTokens::QuotesOutOfTokens() {
    for (std::size_t i = 0; i < std::size(kOutsideQuotes); ++i) {
        saved_[i] = ascii_valid[kOutsideQuotes[i]];
        ascii_valid[kOutsideQuotes[i]] = 0;
    }
}

void QuotesOutOfTokens::restore() {
    if (done_) return;
    for (std::size_t i = 0; i < std::size(kOutsideQuotes); ++i) ascii_valid[kOutsideQuotes[i]] = saved_[i];
    done_ = true;
}

void tok_begin(Tokeniser& t, std::string& text8, std::int32_t lead, TokenStore& store, SoftHyphenWarning warn) {
    t = Tokeniser{};
    t.store = &store;
    t.soft_hyphen_shown = warn == SoftHyphenWarning::Never;
    t.text = &text8;
    t.n = text8.size();
    t.lead = lead;
    char* const end = text8.data() + t.n;
    for (char* p = text8.data(); p < end; ++p) {
        p = static_cast<char*>(std::memchr(p, 0, static_cast<std::size_t>(end - p)));
        if (!p) break;
        *p = static_cast<char>(kUnknownChar);
    }
    for (int c = 0; c < 256; ++c) {
        std::uint16_t k = 0;
        if (ascii_valid[c]) k |= kValid;
        if (ascii_aposhyp[c]) k |= kAposHyp;
        if (ascii_apos[c]) k |= kApos;
        if (ascii_punct[c]) k |= kPunct;
        if (c >= '0' && c <= '9') k |= kDigit;
        if (ascii_cyrillic[c]) k |= kCyr;
        if (ascii_cyrillic_upper[c]) k |= kCyrUp;
        if (ascii_cyrillic_lower[c]) k |= kCyrLo;
        if (ascii_latin_upper[c]) k |= kLatUp;
        if (ascii_latin_lower[c]) k |= kLatLo;
        if ((k & (kValid | kPunct)) && (k & kLetterDigit)) k |= kInRun;
        t.cls[c] = k;
    }
}

int tok_next(Tokeniser& t) {
    tok_release(t);
    if (t.full) return -1;
    char* text = t.text->data();
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    const std::uint16_t* cls = t.cls;
    const std::size_t gap_start = t.cur;

    // The record is described where the caller reads it.
    TokenScan& sc = t.last;
    std::size_t ts = 0, te = 0;
    for (std::size_t from = gap_start;;) {
        ts = scan_gap(t, from);
        sc = TokenScan{};
        te = scan_token(t, ts, sc);
        // A token character that cannot begin a token (a mark that the character set admits)
        // joins the gap, so that the scan always moves on.
        if (te == ts && ts < t.n) {
            from = ts + 1;
            continue;
        }
        break;
    }

    // Leading apostrophes and hyphens go to the end of the gap; an apostrophe just before the
    // token comes back when the dictionary lists the word with it ('tis).
    if (sc.has_aposhyp && !all_aposhyp(cls, s, ts, te)) {
        std::size_t j = ts;
        while (j < te && (cls[s[j]] & kAposHyp)) {
            count_aposhyp(sc.n, cls[s[j]], s[j], -1);
            ++j;
        }
        if (j > ts && (cls[s[j - 1]] & kApos)) {
            // The apostrophe nearest the token is written plain, in the gap or back in the token.
            text[j - 1] = '\'';
            std::string key(1, '\'');
            key.append(text + j, te - j);
            if (is_english_key(key)) {
                --j;
                count_aposhyp(sc.n, cls[s[j]], s[j], 1);
            }
        }
        ts = j;
    }
    // Trailing apostrophes and hyphens go to the next gap, except one after a final s (dogs')
    // and an apostrophe after a final "in" of a longer word (goin').
    if (sc.n.apos + sc.n.hyphens > 0 && te > ts && (cls[s[te - 1]] & kAposHyp) &&
        !all_aposhyp(cls, s, ts, te)) {
        std::size_t k = te;
        while (k > ts && (cls[s[k - 1]] & kAposHyp)) {
            --k;
            count_aposhyp(sc.n, cls[s[k]], s[k], -1);
        }
        const unsigned char first = s[k];
        te = k;
        const unsigned char last = s[te - 1];
        bool give_back = last == 's' || last == 'S';
        if (!give_back && te - ts >= 4 && (cls[first] & kApos) &&
            (s[te - 2] == 'i' || s[te - 2] == 'I') && (last == 'n' || last == 'N'))
            give_back = true;
        if (give_back) {
            count_aposhyp(sc.n, cls[first], first, 1);
            ++te;
        }
    }
    sc.has_apos = sc.n.apos > 0;
    sc.has_aposhyp = sc.n.apos + sc.n.hyphens > 0;

    const std::string_view token(text + ts, te - ts);
    const std::string_view gap(text + gap_start, ts - gap_start);
    if (token.empty() && gap.empty()) return 0;

    const std::int32_t pos = static_cast<std::int32_t>(ts) + t.lead;
    if (!store_has_room(t.store->rec)) {
        t.full = true;
        show_max_words_message(t.store->rec.limit);
        return -1;
    }
    sc.rec = store_push(*t.store, token, gap, pos);
    sc.pos = pos;
    sc.len = te - ts;
    sc.token = text + ts;

    // The report's look-ups see the first typographic apostrophe as the plain one; the record
    // keeps the token as written.
    if (sc.has_apos && sc.len <= 1023) {
        for (std::size_t i = ts; i < te; ++i) {
            const unsigned char c = s[i];
            if ((cls[c] & kApos) && c != '\'') {
                sc.apos_replaced = c;
                sc.apos_at = i - ts;
                text[i] = '\'';
                break;
            }
        }
    }
    t.saved_at = te;
    t.saved = text[te];
    text[te] = '\0';
    t.holding = true;
    t.cur = te;
    return 1;
}

void tok_release(Tokeniser& t) {
    if (!t.holding) return;
    t.text->data()[t.saved_at] = t.saved;
    t.holding = false;
}

void tok_finish(Tokeniser& t) {
    tok_release(t);
    store_seal(t.store->rec, static_cast<std::int32_t>(t.n) + t.lead);
}

std::size_t tokenise_text(std::string& text8, std::int32_t lead) {
    store_reset(store1);
    Tokeniser t;
    tok_begin(t, text8, lead);
    while (tok_next(t) == 1) {
    }
    tok_finish(t);
    return store1.rec.count();
}
