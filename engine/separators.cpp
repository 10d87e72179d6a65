#include "engine/separators.h"

#include <cstring>

#include "lexicon/tables.h"

namespace {

// The separator as the tests see it: its first characters, at most 127 (a string of 128
// characters is examined without its last one, a longer one not at all).
struct Sep {
    unsigned char c[128] = {};
    std::size_t len = 0;
};

// False when s is longer than 128 characters.
bool load(const char* s, Sep& out) {
    const std::size_t n = strnlen(s, 129);
    if (n > 128) return false;
    out.len = n < 128 ? n : 127;
    std::memcpy(out.c, s, out.len);
    return true;
}

inline bool mark(unsigned char c) { return ascii_punctnocomma[c] != 0; }
inline bool main_mark(unsigned char c) { return ascii_punctmain[c] != 0; }
inline bool brk(unsigned char c) { return c == '\n' || c == '\r'; }

constexpr unsigned char kLowQuote = 0x84;    // „
constexpr unsigned char kEllipsis = 0x85;    // …
constexpr unsigned char kLeftQuote = 0x93;   // “
constexpr unsigned char kRightQuote = 0x94;  // ”
constexpr unsigned char kEmDash = 0x97;      // —

bool end_of_sentence(const Sep& sp) {
    const unsigned char* s = sp.c;
    const std::size_t L = sp.len;
    if (L == 2) {
        if (mark(s[0]) && s[1] == ' ') return true;                                 // 1
        if (mark(s[0]) && brk(s[1])) return true;                                   // 2
        if (mark(s[0]) && (s[1] == kRightQuote || s[1] == '"')) return true;        // 3
    }
    if (L == 3) {
        if (mark(s[0]) && s[1] == '\r' && s[2] == '\n') return true;                // 4
        if (mark(s[0]) && brk(s[1]) && s[2] == '\t') return true;                   // 5
        if (mark(s[0]) && s[1] == ' ' && (s[2] == kLeftQuote || s[2] == '"')) return true;  // 6
    }
    if (L == 4) {
        if (mark(s[0]) && s[1] == '\r' && s[2] == '\n' && s[3] == '\t') return true;        // 7
        if (mark(s[0]) && brk(s[1]) && s[2] == '-' && s[3] == ' ') return true;             // 8
        if (mark(s[0]) && brk(s[1]) && s[2] == ' ' && s[3] == '-') return true;             // 9
        if (mark(s[0]) && s[1] == ' ' && s[2] == kEmDash && s[3] == ' ') return true;       // 10
    }
    if (L >= 3 && mark(s[0]) && (s[1] == '"' || s[1] == '\'') && s[2] == ' ') return true;  // 11

    // The first line break: the first CR, or when there is none the first LF.
    const void* cr = std::memchr(s, '\r', L);
    const void* lf = cr ? nullptr : std::memchr(s, '\n', L);
    const unsigned char* b = static_cast<const unsigned char*>(cr ? cr : lf);
    if (b) {
        const std::size_t at = static_cast<std::size_t>(b - s);
        if (at >= 1) {
            const unsigned char before = s[at - 1];
            if (mark(before) || before == kEllipsis || before == kRightQuote || before == '"') return true;  // 12
        }
        if (at + 1 < L && brk(s[at + 1])) return true;                                                       // 13
        if (at >= 2 && s[at - 1] == ' ' &&
            (mark(s[at - 2]) || s[at - 2] == kRightQuote || s[at - 2] == '"'))
            return true;                                                                                     // 14
    }
    if (L >= 3) {
        if (s[0] == kLeftQuote && mark(s[1]) && s[2] == ' ') return true;                   // 15
        if (mark(s[0]) && s[1] == kLeftQuote && brk(s[2])) return true;                     // 16
        if (s[0] == '.' && s[1] == kLeftQuote && s[2] == ' ') return true;                  // 17
        if ((s[0] == '!' || s[0] == '?') && s[1] == kLeftQuote && s[2] == '.') return true; // 18
        if (mark(s[0]) && s[1] == ' ' && s[2] == kLowQuote) return true;                    // 19
        if (mark(s[0]) && s[1] == '*' && s[2] == ' ') return true;                          // 20
        if (s[0] == kEllipsis && s[1] == ' ' && s[2] == kEmDash) return true;               // 21
        if (mark(s[0]) && s[1] == ' ' && s[2] == '_') return true;                          // 22
        if (mark(s[0]) && s[1] == '_' && (s[2] == ' ' || brk(s[2]))) return true;           // 23
        if (s[0] == '_' && mark(s[1]) && s[2] == ' ') return true;                          // 24
        if (s[0] == '_' && s[1] == ']' && brk(s[2])) return true;                           // 25
    }
    for (std::size_t i = 0; i + 2 < L; ++i)                                                  // 26
        if (s[i] == '[' && s[i + 1] == '*' && s[i + 2] == ' ') return true;
    return false;
}

}  // namespace

void GetEmptyInfo(LineEndInfo* info, const char* s) {
    if (!info) return;
    *info = LineEndInfo{};
    if (!s) s = "";
    bool has_cr = false, has_lf = false;
    std::uint32_t crs = 0;
    for (const char* p = s; *p; ++p) {
        if (*p == '\r') {
            has_cr = true;
            ++crs;
            if (p[1] == '\n') info->crlf = 1;
        } else if (*p == '\n') {
            has_lf = true;
        }
    }
    if (info->crlf) {
    } else if (has_cr) {
        info->only_cr = 1;
    } else if (has_lf) {
        info->only_lf = 1;
    } else {
        info->no_break = 1;
    }
    if (!info->no_break) info->cr_count = crs;
    if (info->crlf) info->crlf_count = info->cr_count;
}

int IsEndOfSentence(const char* s) {
    if (!s) return -1;
    Sep sp;
    if (!load(s, sp)) return 0;
    return end_of_sentence(sp) ? 1 : 0;
}

int IsEndOfSentenceNewLine(const char* s) {
    if (!s) return -1;
    Sep sp;
    if (!load(s, sp)) return 0;
    const unsigned char* c = sp.c;
    const std::size_t L = sp.len;
    if (L == 2 && main_mark(c[0]) && brk(c[1])) return 1;
    if (L == 3 && main_mark(c[0]) && c[1] == '\r' && c[2] == '\n') return 1;
    if (L == 3 && main_mark(c[0]) && brk(c[1]) && c[2] == '\t') return 1;
    if (L == 4 && main_mark(c[0]) && c[1] == '\r' && c[2] == '\n' && c[3] == '\t') return 1;
    return 0;
}
