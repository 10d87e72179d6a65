// A write-fault sweep: a writer of the program is run again and again with its Nth write failing
// (N = 1, 2, ... until it runs through without meeting the failure), as a full disk, a broken
// device or a refused rename would make it fail at any point. After each run every file the writer
// writes must be as it was before or as a clean run writes it (never half-written), and the failure
// must have been told, naming a file it could not write.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "shell/files.h"

namespace jux_test {

// Whether `cut` bytes of `whole` end a line of it.
inline bool ends_line(const std::string& whole, std::size_t cut) {
    return cut == 0 || (cut <= whole.size() && whole[cut - 1] == '\n');
}

struct FaultyWriter {
    std::string name;
    // The files the writer writes (those that do not exist are expected to stay absent or whole).
    std::vector<std::filesystem::path> files;
    // Puts the files and the program's state back as they were before the writer ran.
    std::function<void()> prepare;
    // Runs the writer.
    std::function<void()> write;
    // What the user has been told since prepare (message boxes, log lines).
    std::function<std::string()> told;
    // Empty: the writes of write_file_safely and append_journal fail (at each of their steps in
    // turn); else the writes to the stream of the file of this name.
    std::string stream;
    // The writer fills its files as it goes (a report, an archive and its index): a told failure may
    // leave a file short of items (cut short where one of its items ends, or without the items it
    // could not write), but never with a torn item.
    bool cut_short = false;
    // Whether `cut` bytes of the whole file end an item of it: by default after a line end; a
    // writer whose items are not lines says where the items of its files end.
    std::function<bool(const std::filesystem::path& file, const std::string& whole, std::size_t cut)> ends_item =
        [](const std::filesystem::path&, const std::string& whole, std::size_t cut) { return ends_line(whole, cut); };
    // Turns a file's bytes into what must match (for instance the time of a journal line masked).
    std::function<std::string(std::string)> normal = [](std::string s) { return s; };
};

namespace sweep_detail {

inline std::map<std::filesystem::path, std::optional<std::string>> snapshot(const FaultyWriter& w) {
    std::map<std::filesystem::path, std::optional<std::string>> files;
    for (const auto& f : w.files) {
        std::string bytes;
        if (read_file_bytes(f, bytes)) files[f] = w.normal(bytes);
        else files[f] = std::nullopt;
    }
    return files;
}

// Whether a line of `text` that tells a write failure names one of the files.
inline bool failure_named(const std::string& text, const FaultyWriter& w) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = text.substr(at, end - at);
        const bool failure = line.find("annot") != std::string::npos || line.find("an't") != std::string::npos;
        for (const auto& f : w.files)
            if (failure && line.find(f.filename().string()) != std::string::npos) return true;
        at = end + 1;
    }
    return false;
}

// Whether `part` is what a writer that goes on after a failed item leaves of `whole`: whole items
// of it only, in their order (its beginning up to the end of an item, or the items it could not
// write left out). A file that ends, or skips, inside an item fails.
inline bool short_of(const std::filesystem::path& file, const std::optional<std::string>& part,
                     const std::optional<std::string>& whole, const FaultyWriter& w) {
    if (!part || !whole) return false;
    std::size_t at = 0, item = 0;
    for (std::size_t end = 1; end <= whole->size() && at < part->size(); ++end) {
        if (!w.ends_item(file, *whole, end)) continue;
        const std::string_view next = std::string_view(*whole).substr(item, end - item);
        if (std::string_view(*part).substr(at).starts_with(next)) at += next.size();
        item = end;
    }
    return at == part->size();
}

}  // namespace sweep_detail

// Runs the sweep; returns the number of runs in which the failure was met.
inline int sweep_write_faults(const FaultyWriter& w, int most = 100) {
    SCOPED_TRACE(w.name);
    w.prepare();
    const auto old = sweep_detail::snapshot(w);
    w.write();
    const auto whole = sweep_detail::snapshot(w);
    EXPECT_FALSE(sweep_detail::failure_named(w.told(), w)) << "a clean run told a failure: " << w.told();
    EXPECT_NE(old, whole) << "the writer wrote nothing";
    const std::vector<SafeWriteStep> steps =
        w.stream.empty() ? std::vector{SafeWriteStep::Write, SafeWriteStep::Flush, SafeWriteStep::Rename}
                         : std::vector{SafeWriteStep::None};
    int met = 0;
    for (SafeWriteStep step : steps) {
        for (int n = 1;; ++n) {
            if (n > most) {
                ADD_FAILURE() << "still failing after " << most << " writes";
                break;
            }
            SCOPED_TRACE("write " + std::to_string(n) + " failing at step " + std::to_string(static_cast<int>(step)));
            w.prepare();
            if (w.stream.empty()) fail_safe_write_at(step, step == SafeWriteStep::Rename ? EXDEV : ENOSPC, n);
            else fail_stream_write_at(w.stream, ENOSPC, n);
            w.write();
            // The failure not met is taken back, so that it cannot hit a later writer.
            if (w.stream.empty()) fail_safe_write_at(SafeWriteStep::None, 0);
            else fail_stream_write_at("", 0);
            const auto now = sweep_detail::snapshot(w);
            const std::string told = w.told();
            const bool failed = sweep_detail::failure_named(told, w);
            if (!failed && now == whole) break;  // the writer ran through before its nth write
            ++met;
            EXPECT_TRUE(failed) << "the failure was not told: " << told;
            for (const auto& [file, bytes] : now)
                EXPECT_TRUE(bytes == old.at(file) || bytes == whole.at(file) ||
                            (w.cut_short && sweep_detail::short_of(file, bytes, whole.at(file), w)))
                    << file << " is neither the old file nor the new one: " << bytes.value_or("<none>");
        }
    }
    EXPECT_GT(met, 0) << "no write of the writer could be made to fail";
    return met;
}

}  // namespace jux_test
