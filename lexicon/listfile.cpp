#include "lexicon/listfile.h"

#include <algorithm>
#include <unordered_set>

#include "platform/text.h"

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

void cut_other_marks(std::string_view& s, unsigned char& mark) {
    if (mark != 0 || s.empty()) return;
    const char last = s.back();
    if (last != ',' && last != ';' && last != ':') return;
    mark = static_cast<unsigned char>(last);
    s.remove_suffix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
}

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
