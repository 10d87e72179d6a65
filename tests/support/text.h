// Text helpers of the tests: code page 1251 from UTF-8 literals and back, joined texts, and list
// files written from UTF-8 lines.
#pragma once

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace jux_test {

// CP1251 bytes of a UTF-8 literal.
inline std::string cp(std::string_view utf8) { return utf8_to_cp1251(utf8); }
// UTF-8 of CP1251 bytes (for readable assertions).
inline std::string u8(std::string_view cp1251) { return cp1251_to_utf8(cp1251); }

// Joins texts (appending, rather than operator+ on a literal, which g++ 12 at -O3 warns about).
template <class... T>
std::string cat(const T&... parts) {
    std::string s;
    (s.append(std::string_view(parts)), ...);
    return s;
}

// Writes UTF-8 lines to `file` as CP1251, each ended by CR LF (a list file as the program reads it).
template <class Lines>
void write_cp1251_lines(const std::filesystem::path& file, const Lines& lines) {
    std::ofstream f(file, std::ios::binary);
    for (std::string_view l : lines) f << cp(l) << "\r\n";
}
inline void write_cp1251_lines(const std::filesystem::path& file, std::initializer_list<std::string_view> lines) {
    write_cp1251_lines<std::initializer_list<std::string_view>>(file, lines);
}

}  // namespace jux_test
