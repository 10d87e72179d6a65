// Shared by the benchmarks of the look-ups and of long runs of letters: ordinary English prose of
// the demonstration lexicon's words, and one run of letters without a blank (a blob of data).
#pragma once

#include <cstddef>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"

// English words of the demonstration list, in sentences of twelve words, one a line, until the
// text has `chars` characters.
inline std::u16string demo_english_text(std::size_t chars) {
    static const std::vector<std::u16string> words = [] {
        std::vector<std::u16string> v;
        std::ifstream in(JUX_DEMO_DIR "/wl_english.txt", std::ios::binary);
        for (std::string line; v.size() < 500 && std::getline(in, line);) {
            const std::size_t end = line.find_first_of(" \t\r");
            if (end != 0 && !line.empty()) v.push_back(cp1251_to_utf16(line.substr(0, end)));
        }
        return v;
    }();
    std::u16string s;
    s.reserve(chars + 64);
    for (std::size_t i = 0; s.size() < chars; ++i) {
        s += words[(i * 7 + i / 5) % words.size()];
        s += i % 12 == 11 ? u".\r" : u" ";
    }
    return s;
}

// One run of `letters` letters with no blank (Latin, or Cyrillic).
inline std::u16string letter_run(std::size_t letters, bool cyrillic = false) {
    std::u16string s;
    s.reserve(letters);
    const std::u16string_view pattern = cyrillic ? u"бързатакафявалисицапрескачамързеливотокуче"
                                                 : u"thequickbrownfoxjumpsoverthelazydog";
    while (s.size() < letters) s += pattern;
    s.resize(letters);
    return s;
}
