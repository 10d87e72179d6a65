// tests/spelling/bg_fixture.h - a fixture that writes small Bulgarian lists (UTF-8 literals, stored
// as code page 1251) into a temporary data folder and loads them through the lexicon loaders.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>

#include <unistd.h>

#include "dictionary/loading.h"
#include "lexicon/tables.h"
#include "platform/text.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "spelling/spell_state.h"

// CP1251 bytes of a UTF-8 literal, and back (for readable assertions).
inline std::string cp(std::string_view utf8) { return utf8_to_cp1251(utf8); }
inline std::string u8(std::string_view cp1251) { return cp1251_to_utf8(cp1251); }

class BgTest : public ::testing::Test {
protected:
    std::filesystem::path dir;

    void SetUp() override {
        static std::atomic<int> serial{0};
        reset_shell();
        reset_loading();
        reset_lexicon();
        reset_spelling();
        dir = std::filesystem::temp_directory_path() /
              ("jux_spellbg_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "bgtypes2");
    }
    void TearDown() override {
        reset_spelling();
        reset_lexicon();
        reset_loading();
        reset_shell();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // A list file from UTF-8 lines ("word rest" or "word"), stored as CP1251 with CR LF ends.
    void write_list(const std::string& name, std::initializer_list<std::string_view> lines) {
        std::ofstream f(dir / (name + ".txt"), std::ios::binary);
        for (std::string_view l : lines) f << cp(l) << "\r\n";
    }
    // The word-form index: lines "form lemma type-row slot".
    void write_forms(std::initializer_list<std::string_view> lines) {
        std::ofstream f(dir / "bgtypes2" / kWordFormFile, std::ios::binary);
        for (std::string_view l : lines) f << cp(l) << "\r\n";
    }
    // Loads every list written so far into the tables.
    void load() {
        load_dictionaries(dir);
        load_english_lists(dir);
        load_word_forms(dir);
    }
};
