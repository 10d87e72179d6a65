// The fixture of the audio tests: a headless backend, a data folder of the test's own, the shell,
// lexicon and audio state reset before and after, and helpers that fill the lexicon rows the
// audio routines read and read back what they write.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "audio/audio_state.h"
#include "lexicon/tables.h"
#include "platform/headless.h"
#include "platform/text.h"
#include "shell/lists.h"
#include "shell/reset.h"
#include "shell/window_state.h"
#include "support/temp_folder.h"

class AudioTest : public ::testing::Test {
protected:
    jux_test::TempFolder data{"audio"};
    HeadlessState* hs = nullptr;

    void SetUp() override {
        hs = &headless_install();
        reset_shell();
        reset_lexicon();
        reset_audio();
        dir_alt = data.path();
        dir_altA = utf8_to_cp1251(data.path().string());
    }
    void TearDown() override {
        platform_reset();
        reset_audio();
        reset_lexicon();
        reset_shell();
    }

    // Loads a list (UTF-8 lines, written as code page 1251) into `entries` of a row.
    template <class Record>
    void load_rows(Record& rec, std::string_view file_name, std::initializer_list<std::string_view> lines) {
        std::string bytes;
        for (std::string_view l : lines) bytes += utf8_to_cp1251(l) + "\r\n";
        const auto file = data.write(std::string("lists/") + std::string(file_name) + ".txt", bytes);
        rec.entries.clear();
        rec.text = load_pairs(file, ListLoadOptions{}, rec.entries, &rec.stats);
        ASSERT_TRUE(rec.text);
        rec.count = rec.entries.size();
    }
    void load_b(int row, std::initializer_list<std::string_view> lines) {
        load_rows(b[static_cast<std::size_t>(row)], "b" + std::to_string(row), lines);
    }
    void load_c(int row, std::initializer_list<std::string_view> lines) {
        load_rows(c_glob[static_cast<std::size_t>(row)], "c" + std::to_string(row), lines);
    }

    // The lines of a CR LF text file, without their line ends.
    static std::vector<std::string> file_lines(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::vector<std::string> out;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            out.push_back(line);
        }
        return out;
    }
    static std::string file_bytes(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Distinct bytes for a clip of n bytes (its first byte tells clips apart).
    static std::string clip_bytes(char tag, std::size_t n) {
        std::string s(n, '\0');
        for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(tag + static_cast<char>(i % 7));
        return s;
    }
    // The texts of the message boxes shown so far, as UTF-8.
    std::vector<std::string> boxes() const {
        std::vector<std::string> out;
        for (const RecordedMessageBox& m : hs->message_boxes) out.push_back(utf16_to_utf8(m.text));
        return out;
    }
};
