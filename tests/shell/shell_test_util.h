// Helpers of the shell tests: a temporary folder per test, CP1251 text from UTF-8 literals, and a
// fixture that starts every test from the subsystem's reset state with a fresh headless backend.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "platform/headless.h"
#include "platform/text.h"
#include "shell/reset.h"

// Joins texts (appending, rather than operator+ on a literal, which g++ 12 at -O3 warns about).
template <class... T>
std::string cat(const T&... parts) {
    std::string s;
    (s.append(std::string_view(parts)), ...);
    return s;
}

// CP1251 bytes of a UTF-8 literal.
inline std::string cp(std::string_view utf8) { return utf8_to_cp1251(utf8); }

class TempDir {
public:
    TempDir() {
        static std::atomic<int> serial{0};
        path_ = std::filesystem::temp_directory_path() /
                ("jux_shell_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(std::string_view name) const { return path_ / std::string(name); }
    // Writes the bytes exactly as given.
    std::filesystem::path write(std::string_view name, std::string_view bytes) const {
        auto p = file(name);
        std::ofstream out(p, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p;
    }
    std::string read(std::string_view name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path path_;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless_install();
        reset_shell();
    }
    void TearDown() override { reset_shell(); }
    TempDir dir;
};
