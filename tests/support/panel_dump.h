// A readable picture of what a run left behind, for tests that compare it with a recorded one:
// a panel's text (UTF-8, paragraph ends as "\r\n") followed by its runs of equal character format
// (colour, bold, underline), and the files of a folder that a run wrote or changed.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/richedit.h"
#include "platform/text.h"

namespace jux_test {

// The lines of a panel, UTF-8 (its paragraph ends split it; the empty tail after the last is
// dropped).
inline std::vector<std::string> panel_lines(HWND re) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : utf16_to_utf8(RE_GetTextW(re))) {
        if (c == '\r') {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

inline std::string dump_panel(std::string_view name, HWND re) {
    const std::u16string text = RE_GetTextW(re);
    std::string out = "== panel ";
    out += name;
    out += " (";
    out += std::to_string(text.size());
    out += " units)\n";
    std::string shown = utf16_to_utf8(text);
    for (char c : shown) out += c == '\r' ? std::string("\\r\n") : std::string(1, c);
    out += "\n-- formats\n";
    char buf[96];
    auto format_of = [&](LONG pos) {
        const CHARFORMAT2W f = RE_GetCharFormatAt(re, pos);
        std::snprintf(buf, sizeof buf, "%06lx%s%s", static_cast<unsigned long>(f.crTextColor & 0xFFFFFF),
                      (f.dwEffects & CFE_BOLD) ? " b" : "", (f.dwEffects & CFE_UNDERLINE) ? " u" : "");
        return std::string(buf);
    };
    LONG from = 0;
    std::string current;
    for (LONG i = 0; i <= static_cast<LONG>(text.size()); ++i) {
        const std::string f = i < static_cast<LONG>(text.size()) ? format_of(i) : std::string();
        if (i > 0 && (f != current || i == static_cast<LONG>(text.size()))) {
            out += std::to_string(from) + "-" + std::to_string(i) + " " + current + "\n";
            from = i;
        }
        current = f;
    }
    return out;
}

// Every regular file under `dir` (relative name -> bytes).
inline std::map<std::string, std::string> folder_files(const std::filesystem::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file()) continue;
        std::ifstream in(e.path(), std::ios::binary);
        files[std::filesystem::relative(e.path(), dir).generic_string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

// The files of `after` that are new or changed against `before`, bytes shown as CP1251 text in
// UTF-8 with line ends marked.
inline std::string dump_changed_files(const std::map<std::string, std::string>& before,
                                      const std::map<std::string, std::string>& after) {
    std::string out;
    for (const auto& [name, bytes] : after) {
        const auto was = before.find(name);
        if (was != before.end() && was->second == bytes) continue;
        out += "== file " + name + " (" + std::to_string(bytes.size()) + " bytes)\n";
        for (char c : cp1251_to_utf8(bytes)) {
            if (c == '\r') out += "\\r";
            else if (c == '\n') out += "\\n\n";
            else out += c;
        }
        out += "\n";
    }
    return out;
}

// Compares `actual` with the recorded file `golden`; with JUX_RECORD_GOLDEN=1 in the environment
// the file is written instead (and the comparison is made against what was written). Returns an
// empty string when they agree, else where they first differ.
inline std::string compare_with_golden(const std::filesystem::path& golden, const std::string& actual) {
    if (const char* rec = std::getenv("JUX_RECORD_GOLDEN"); rec && std::string_view(rec) == "1") {
        std::ofstream(golden, std::ios::binary).write(actual.data(), static_cast<std::streamsize>(actual.size()));
    }
    std::ifstream in(golden, std::ios::binary);
    if (!in) return "no recorded output at " + golden.string();
    const std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (expected == actual) return {};
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    const std::size_t line = static_cast<std::size_t>(std::count(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(at), '\n')) + 1;
    const std::size_t from = at >= 200 ? at - 200 : 0;
    return "differs from " + golden.string() + " at byte " + std::to_string(at) + " (line " + std::to_string(line) +
           ")\n--- recorded:\n" + expected.substr(from, 400) + "\n--- now:\n" + actual.substr(from, 400);
}

}  // namespace jux_test
