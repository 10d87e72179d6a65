// tests/spelling/bg_fixture.h - a fixture that writes small Bulgarian lists (UTF-8 literals, stored
// as code page 1251) into a temporary data folder and loads them through the lexicon loaders.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "dictionary/loading.h"
#include "lexicon/tables.h"
#include "platform/text.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "spelling/spell_state.h"
#include "support/temp_folder.h"
#include "support/text.h"

using jux_test::cp;
using jux_test::u8;

class BgTest : public ::testing::Test {
protected:
    jux_test::TempFolder folder{"spellbg"};
    std::filesystem::path dir = folder.path();

    void SetUp() override {
        reset_shell();
        reset_loading();
        reset_lexicon();
        reset_spelling();
        std::filesystem::create_directories(dir / "bgtypes2");
    }
    void TearDown() override {
        reset_spelling();
        reset_lexicon();
        reset_loading();
        reset_shell();
    }

    // A list file from UTF-8 lines ("word rest" or "word"), stored as CP1251 with CR LF ends.
    void write_list(const std::string& name, std::initializer_list<std::string_view> lines) {
        jux_test::write_cp1251_lines(dir / (name + ".txt"), lines);
    }
    // The word-form index: lines "form lemma type-row slot".
    void write_forms(std::initializer_list<std::string_view> lines) {
        jux_test::write_cp1251_lines(dir / "bgtypes2" / kWordFormFile, lines);
    }
    // Loads every list written so far into the tables.
    void load() {
        load_dictionaries(dir);
        load_english_lists(dir);
        load_word_forms(dir);
    }
};
