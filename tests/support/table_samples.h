// Samples of the program's built-in tables, kept in text files a linguist can extend without C++.
// A file holds one sample row a line: the table's name, then the row's fields, separated by TABs
// (ordered tables give the row's 1-based place as their first field); blank lines and lines that
// begin with '#' are skipped. The test renders each table the same way, and every sample row must
// be one of them: a changed, dropped or misplaced entry of the sample is caught.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace jux_test {

using RenderedTables = std::map<std::string, std::set<std::string>>;

// One sample row of a file: its line number, its table's name and its fields as written.
struct TableSample {
    int line;
    std::string table, row;
};

// The sample rows of `file` (a path under the tests' folder).
inline std::vector<TableSample> read_table_samples(const std::string& file) {
    std::ifstream in(std::filesystem::path(JUX_TESTS_DIR) / file, std::ios::binary);
    EXPECT_TRUE(in) << file;
    std::vector<TableSample> samples;
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const auto tab = line.find('\t');
        samples.push_back({n, line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1)});
    }
    return samples;
}

// A case of a data file of cases, one a line: the text given, then a TAB and the report expected
// ("\n" stands for a line end, "\r" for a carriage return; nothing after the text: an empty report).
struct ReportCase {
    int line;
    std::string text, expected;
};

inline std::string unescape_line_ends(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char next = i + 1 < s.size() ? s[i + 1] : 0;
        if (s[i] == '\\' && (next == 'n' || next == 'r')) {
            out += next == 'n' ? '\n' : '\r';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The cases of `file` (a path under the tests' folder); a file without a case fails.
inline std::vector<ReportCase> read_report_cases(const std::string& file) {
    std::vector<ReportCase> cases;
    for (const TableSample& s : read_table_samples(file))
        cases.push_back({s.line, unescape_line_ends(s.table), unescape_line_ends(s.row)});
    EXPECT_FALSE(cases.empty()) << file;
    return cases;
}

// Checks the sample rows of `file` against `tables`; every table must have a sample, and every
// sample a table (rows of the tables in `own` are left to the caller).
inline void expect_table_samples(const std::string& file, const RenderedTables& tables,
                                 const std::set<std::string>& own = {}) {
    std::set<std::string> sampled;
    for (const TableSample& s : read_table_samples(file)) {
        sampled.insert(s.table);
        if (own.count(s.table)) continue;
        const auto table = tables.find(s.table);
        if (table == tables.end()) {
            ADD_FAILURE() << file << ":" << s.line << ": no table " << s.table;
            continue;
        }
        EXPECT_TRUE(table->second.count(s.row)) << file << ":" << s.line << ": " << s.table << " lacks the row [" << s.row << "]";
    }
    for (const auto& [name, rows] : tables) EXPECT_TRUE(sampled.count(name)) << file << ": no sample of " << name;
}

// Joins fields with TABs, as the sample files write a row.
template <class... T>
std::string row_of(const T&... fields) {
    std::string s;
    ((s += std::string(fields), s += '\t'), ...);
    if (!s.empty()) s.pop_back();
    return s;
}

}  // namespace jux_test
