// platform/text_literal.h - code page 1251 text literals written in UTF-8 source: "книга"_cp is the
// word's CP1251 bytes (NUL-terminated, in static storage), made by the compiler; it converts to
// std::string_view and gives c_str(); "а"_cp[0] is one CP1251 letter. Only ASCII, the Russian and Bulgarian letters (А-я, Ё,
// ё) and the typographic marks „ “ ” ‘ ’ – — … « » § © ° ± are accepted; anything else does not
// compile.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text_literal_detail {

template <std::size_t N>
struct Utf8Literal {
    char bytes[N]{};
    consteval Utf8Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
    }
};

consteval unsigned char cp1251_of(unsigned int u) {
    if (u < 0x80) return static_cast<unsigned char>(u);
    if (u >= 0x410 && u <= 0x44F) return static_cast<unsigned char>(u - 0x410 + 0xC0);
    switch (u) {
    case 0x401: return 0xA8;   // Ё
    case 0x451: return 0xB8;   // ё
    case 0x201E: return 0x84;  // „
    case 0x201C: return 0x93;  // “
    case 0x201D: return 0x94;  // ”
    case 0x2018: return 0x91;  // ‘
    case 0x2019: return 0x92;  // ’
    case 0x2013: return 0x96;  // –
    case 0x2014: return 0x97;  // —
    case 0x2026: return 0x85;  // …
    case 0xAB: return 0xAB;    // «
    case 0xBB: return 0xBB;    // »
    case 0xA7: return 0xA7;    // §
    case 0xA9: return 0xA9;    // ©
    case 0xB0: return 0xB0;    // °
    case 0xB1: return 0xB1;    // ±
    default: break;
    }
    throw "character not in code page 1251 literals";
}

template <std::size_t N>
struct Cp1251Bytes {
    char s[N]{};
    std::size_t n = 0;
};

template <Utf8Literal L>
consteval auto convert() {
    constexpr std::size_t N = sizeof(L.bytes);
    Cp1251Bytes<N> out;
    std::size_t i = 0;
    while (i + 1 < N) {
        unsigned int c = static_cast<unsigned char>(L.bytes[i]);
        unsigned int u = 0;
        if (c < 0x80) {
            u = c;
            i += 1;
        } else if ((c & 0xE0) == 0xC0) {
            u = ((c & 0x1F) << 6) | (static_cast<unsigned char>(L.bytes[i + 1]) & 0x3F);
            i += 2;
        } else {
            u = ((c & 0x0F) << 12) | ((static_cast<unsigned char>(L.bytes[i + 1]) & 0x3F) << 6) |
                (static_cast<unsigned char>(L.bytes[i + 2]) & 0x3F);
            i += 3;
        }
        out.s[out.n++] = static_cast<char>(cp1251_of(u));
    }
    out.s[out.n] = '\0';
    return out;
}

// One converted literal per distinct text, in static storage.
template <Utf8Literal L>
inline constexpr auto kConverted = convert<L>();

}  // namespace text_literal_detail

// A converted literal: a view of bytes that live as long as the program.
class Cp1251Text {
public:
    constexpr Cp1251Text(const char* s, std::size_t n) : s_(s), n_(n) {}
    constexpr operator std::string_view() const { return std::string_view(s_, n_); }
    constexpr const char* c_str() const { return s_; }
    constexpr const char* data() const { return s_; }
    constexpr std::size_t size() const { return n_; }
    constexpr char operator[](std::size_t i) const { return s_[i]; }
    std::string str() const { return std::string(s_, n_); }

private:
    const char* s_;
    std::size_t n_;
};

template <text_literal_detail::Utf8Literal L>
consteval Cp1251Text operator""_cp() {
    return Cp1251Text(text_literal_detail::kConverted<L>.s, text_literal_detail::kConverted<L>.n);
}
