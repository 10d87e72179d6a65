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

#include "audio/archive.h"
#include "audio/audio_state.h"
#include "lexicon/tables.h"
#include "lexicon/wordclass.h"
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
        c_lists_changed();
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

// Audio tests with archives: "audio" and "audio2" in the folder "audio" of the data folder, built
// from (key, bytes) clips with their indexes loaded into rows 28 and 29, and a fake player.
class ClipTest : public AudioTest {
protected:
    void SetUp() override {
        AudioTest::SetUp();
        build_ascii_tables();
        std::filesystem::create_directories(data.file("audio"));
        dir_PlayerExeA = dir_altA + "/audiopl/winamp0.exe";
    }
    // Writes the archive `name` of the clips (keys in UTF-8) and loads its index into `row`.
    void install_archive(int row, std::string_view name, std::initializer_list<std::pair<std::string_view, std::string>> clips) {
        std::string archive, index;
        for (const auto& [key, bytes] : clips) {
            index += audio_index_line(utf8_to_cp1251(key), archive.size(), bytes.size());
            archive += bytes;
        }
        data.write(std::string("audio/") + std::string(name), archive);
        const auto file = data.write(std::string("lists/ao") + std::to_string(row) + ".txt", index);
        DictFileRecord& rec = b[static_cast<std::size_t>(row)];
        rec.entries.clear();
        rec.text = load_pairs(file, ListLoadOptions{}, rec.entries, &rec.stats);
        ASSERT_TRUE(rec.text);
        rec.count = rec.entries.size();
    }
    // The fake player: an executable script under the data folder.
    void install_player() {
        const auto p = data.write("audiopl/winamp0.exe", "#!/bin/sh\nexit 0\n");
        std::filesystem::permissions(p, std::filesystem::perms::owner_all);
    }
    std::filesystem::path ogg(std::string_view name_utf8) const { return data.file("audio_ogg") / std::string(name_utf8); }
    // The request log as UTF-8 lines.
    std::vector<std::string> requests() const {
        std::vector<std::string> out;
        for (const std::string& l : file_lines(ogg("___date.txt"))) out.push_back(cp1251_to_utf8(l));
        return out;
    }
};
