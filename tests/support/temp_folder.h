// A temporary folder per test, removed with everything in it when the test ends.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>

namespace jux_test {

class TempFolder {
public:
    explicit TempFolder(std::string_view tag = "test") {
        static std::atomic<int> serial{0};
        path_ = std::filesystem::temp_directory_path() /
                ("jux_" + std::string(tag) + "_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(std::string_view name) const { return path_ / std::string(name); }
    // Writes the bytes exactly as given (folders on the way are made).
    std::filesystem::path write(std::string_view name, std::string_view bytes) const {
        auto p = file(name);
        std::filesystem::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p;
    }
    bool exists(std::string_view name) const { return std::filesystem::exists(file(name)); }
    std::string read(std::string_view name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path path_;
};

}  // namespace jux_test
