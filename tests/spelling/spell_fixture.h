// tests/spelling/spell_fixture.h - a fixture that builds small English word lists in a temporary
// folder and loads them into the lexicon tables through the list loaders.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>


#include "lexicon/tables.h"
#include "shell/lists.h"
#include "shell/reset.h"
#include "shell/settings.h"
#include "spelling/spell_state.h"
#include "support/temp_folder.h"

class SpellTest : public ::testing::Test {
protected:
    jux_test::TempFolder folder{"spell"};
    std::filesystem::path dir = folder.path();

    void SetUp() override {
        reset_shell();
        for (auto& row : m) row = ListFileRecord{};
        for (auto& row : b) row = DictFileRecord{};
        reset_spelling();
    }
    void TearDown() override {
        reset_spelling();
        for (auto& row : m) row = ListFileRecord{};
        for (auto& row : b) row = DictFileRecord{};
    }

    void write_file(const std::string& name, std::initializer_list<std::string_view> lines) {
        std::ofstream f(dir / (name + ".txt"), std::ios::binary);
        for (std::string_view l : lines) f << l << "\r\n";
    }

    // Row `row` of the English word-list table from lines "word rank" or "word".
    void load_set(int row, std::initializer_list<std::string_view> lines) {
        ListFileRecord& rec = m[static_cast<std::size_t>(row)];
        rec.name = "wl_set" + std::to_string(row);
        rec.sort = 1;
        write_file(rec.name, lines);
        ASSERT_EQ(fl_to_list(dir, rec), 1);
    }
    void load_eng(std::initializer_list<std::string_view> lines) { load_set(0, lines); }

    // b_capit, row 0 of the dictionary table.
    void load_capit(std::initializer_list<std::string_view> lines) {
        DictFileRecord& rec = b[B_CAPIT];
        rec.name = "b_capit";
        write_file(rec.name, lines);
        rec.entries.clear();
        rec.text = load_pairs(dir / "b_capit.txt", ListLoadOptions{}, rec.entries, &rec.stats);
        ASSERT_TRUE(rec.text);
        rec.count = rec.entries.size();
    }

    static void set_deep_spell(int v) { OP[OPT_DEEP_SPELL].num_value = v; }
};
