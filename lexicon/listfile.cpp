#include "lexicon/listfile.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <unordered_set>

#include "platform/text.h"

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

bool read_file_bytes(const std::filesystem::path& file, std::string& bytes) {
    bytes.clear();
    errno = 0;
    FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return false;
    char buf[65536];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    const bool ok = !std::ferror(f);
    const int err = errno;
    std::fclose(f);
    if (!ok) {
        bytes.clear();
        errno = err ? err : EIO;
    }
    return ok;
}

int backup_file(const std::filesystem::path& file, const std::filesystem::path& backup) {
    std::string bytes;
    if (!read_file_bytes(file, bytes)) return 0;
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

std::string pairs_to_text_keeping_unloaded(const std::filesystem::path& file, std::span<const ListPair> entries,
                                           std::string_view changed_key) {
    std::vector<ListPair> all(entries.begin(), entries.end());
    std::vector<ListPair> on_disk;
    ListLoadOptions opts;
    opts.sort = 0;
    const std::shared_ptr<ListText> text = load_pairs(file, opts, on_disk);  // keeps on_disk's bytes
    std::unordered_set<std::string_view> held;
    for (const ListPair& p : entries) held.insert(p.key);
    for (const ListPair& p : on_disk)
        if (!held.count(p.key) && cp_strcasecmp(p.key, changed_key) != 0) {
            held.insert(p.key);
            all.push_back(p);
        }
    std::stable_sort(all.begin(), all.end(),
                     [](const ListPair& a, const ListPair& c) { return cp_strcasecmp(a.key, c.key) < 0; });
    return pairs_to_text(all);
}

namespace {

// The loader keeps a final ',', ';' or ':' in the sentence; the corpus loader then moves it to
// the mark. The same is done here, so that the sentences of the file compare with those held.
void cut_other_marks(std::string_view& s, unsigned char& mark) {
    if (mark != 0 || s.empty()) return;
    const char last = s.back();
    if (last != ',' && last != ';' && last != ':') return;
    mark = static_cast<unsigned char>(last);
    s.remove_suffix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
}

}  // namespace

std::string sentences_to_text_keeping_unloaded(const std::filesystem::path& file,
                                               std::span<const SentencePair> entries, std::string_view changed_key) {
    std::vector<SentencePair> all(entries.begin(), entries.end());
    std::vector<SentencePair> on_disk;
    ListLoadOptions opts;
    opts.sort = 0;
    const std::shared_ptr<ListText> text = load_sentences(file, opts, on_disk);  // keeps on_disk's bytes
    std::unordered_set<std::string_view> held;
    for (const SentencePair& s : entries) held.insert(s.en);
    for (SentencePair s : on_disk) {
        cut_other_marks(s.en, s.en_mark);
        if (s.has_bg()) cut_other_marks(s.bg, s.bg_mark);
        if (!held.count(s.en) && cp_strcasecmp(s.en, changed_key) != 0) {
            held.insert(s.en);
            all.push_back(s);
        }
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const SentencePair& a, const SentencePair& c) { return cp_strcasecmp(a.en, c.en) < 0; });
    return sentences_to_text(all);
}
