#include "lexicon/listfile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <unistd.h>

namespace {

std::filesystem::path temp_name(const std::filesystem::path& file) {
    static std::atomic<unsigned> serial{0};
    std::filesystem::path t = file;
    t += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(serial++);
    return t;
}

}  // namespace

int write_file_safely(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path tmp = temp_name(file);
    errno = 0;
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() &&
                         std::fflush(f) == 0 && ::fsync(::fileno(f)) == 0;
    const int err = errno;
    if (std::fclose(f) != 0 || !written) {
        std::remove(tmp.c_str());
        errno = err ? err : EIO;
        return 0;
    }
    std::error_code ec;
    std::filesystem::rename(tmp, file, ec);
    if (ec) {
        std::remove(tmp.c_str());
        errno = ec.value();
        return 0;
    }
    return 1;
}

int backup_file(const std::filesystem::path& file, const std::filesystem::path& backup) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return 0;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return 0;
    return write_file_safely(backup, bytes);
}

int append_journal(const std::filesystem::path& file, std::string_view line) {
    FILE* f = std::fopen(file.c_str(), "ab");
    if (!f) return 0;
    bool ok = std::fwrite(line.data(), 1, line.size(), f) == line.size() && std::fputs("\r\n", f) >= 0;
    if (std::fclose(f) != 0) ok = false;
    return ok ? 1 : 0;
}

std::string journal_time() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

std::string pairs_to_text(std::span<const ListPair> entries) {
    std::string out;
    size_t n = 0;
    for (const ListPair& p : entries) n += p.key.size() + p.rest.size() + 3;
    out.reserve(n);
    for (const ListPair& p : entries) {
        out += p.key;
        if (p.has_rest()) {
            out += ' ';
            out += p.rest;
        }
        out += "\r\n";
    }
    return out;
}

std::string sentences_to_text(std::span<const SentencePair> entries) {
    std::string out;
    for (const SentencePair& s : entries) {
        out += s.en;
        if (s.en_mark) out += static_cast<char>(s.en_mark);
        if (s.has_bg()) {
            out += '\t';
            out += s.bg;
            if (s.bg_mark) out += static_cast<char>(s.bg_mark);
        }
        out += "\r\n";
    }
    return out;
}
