// spelling/edit_candidates.cpp - single-edit candidates, their notes, and the near-match test.
#include "spelling/edit_candidates.h"

#include <algorithm>
#include <charconv>

#include "platform/text.h"
#include "platform/text_literal.h"
#include "spelling/spell_state.h"
#include "spelling/word_index.h"

namespace {

constexpr std::string_view kBgLetters = "абвгдежзийклмнопрстуфхцчшщъыьэюя"_cp;

inline unsigned char low(char c) { return cp_tolower(static_cast<unsigned char>(c)); }

}  // namespace

const std::string_view kBulgarianLetters = kBgLetters;

namespace {

// What every family of edits works with: the input word, the alphabet and its shaper, the scratch
// text that holds each candidate, and the sink. A family builds the part of the candidate that
// its letters share once and then changes only the edited letter, so that a candidate costs a
// byte written, not a copy of the word.
struct Edits {
    std::string_view word;
    std::string_view alphabet;
    LetterShaper shaper;
    std::string& s;
    EditSink sink;
    std::size_t max_length;  // longer candidates are not made
    PlaceGate gate;

    bool fits(std::size_t length) const { return length <= max_length; }

    unsigned char shape(EditKind k, std::size_t at, unsigned char l) const {
        return shaper ? shaper(word, k, at, l) : l;
    }
    void emit(EditCandidate& c) const {
        c.word = s;
        sink(c);
    }
    // The word without the letters [from, to).
    void set_without(std::size_t from, std::size_t to) const {
        s.assign(word.data(), from);
        s.append(word.data() + to, word.size() - to);
    }
    // The word with one blank byte inserted before index `at`.
    void set_with_gap(std::size_t at) const {
        s.assign(word.data(), at);
        s.push_back('\0');
        s.append(word.data() + at, word.size() - at);
    }
};

// 1-3: drop the first letter (when it differs from the second), an inner letter that differs from
// the letter after it, the last letter.
void drop_letters(const Edits& e) {
    const std::string_view word = e.word;
    const std::size_t n = word.size();
    if (!e.fits(n - 1)) return;
    if (low(word[0]) != low(word[1])) {
        e.set_without(0, 1);
        EditCandidate c;
        c.kind = EditKind::DropFirst;
        c.pos = 1;
        c.letter = static_cast<unsigned char>(word[0]);
        e.emit(c);
    }
    for (std::size_t i = 1; i + 1 < n; ++i) {
        if (low(word[i]) == low(word[i + 1])) continue;
        e.set_without(i, i + 1);
        EditCandidate c;
        c.kind = EditKind::DropInner;
        c.pos = static_cast<int>(i + 1);
        c.letter = static_cast<unsigned char>(word[i]);
        c.index = i;
        e.emit(c);
    }
    e.set_without(n - 1, n);
    EditCandidate c;
    c.kind = EditKind::DropLast;
    c.pos = static_cast<int>(n);
    c.letter = static_cast<unsigned char>(word[n - 1]);
    c.index = n - 1;
    e.emit(c);
}

// 4-5: add each letter in front; after each letter i each letter but letter i itself, then (not
// after the last) a hyphen and an apostrophe.
void add_letters(const Edits& e) {
    const std::size_t n = e.word.size();
    if (!e.fits(n + 1)) return;
    e.set_with_gap(0);
    for (char a : e.gate.open(EditKind::AddFront, 0) ? e.alphabet : std::string_view()) {
        const unsigned char l = e.shape(EditKind::AddFront, 0, static_cast<unsigned char>(a));
        e.s[0] = static_cast<char>(l);
        EditCandidate c;
        c.kind = EditKind::AddFront;
        c.pos = 1;
        c.letter = l;
        e.emit(c);
    }
    for (std::size_t i = 1; i <= n; ++i) {
        if (!e.gate.open(EditKind::AddInner, i)) continue;
        const unsigned char here = low(e.word[i - 1]);
        e.set_with_gap(i);
        for (char a : e.alphabet) {
            if (static_cast<unsigned char>(a) == here) continue;
            const unsigned char l = e.shape(EditKind::AddInner, i, static_cast<unsigned char>(a));
            e.s[i] = static_cast<char>(l);
            EditCandidate c;
            c.kind = EditKind::AddInner;
            c.pos = static_cast<int>(i + 1);
            c.letter = l;
            c.index = i;
            e.emit(c);
        }
        if (i == n) break;
        for (char mark : {'-', '\''}) {
            e.s[i] = mark;
            EditCandidate c;
            c.kind = mark == '-' ? EditKind::AddHyphen : EditKind::AddApostrophe;
            c.pos = static_cast<int>(i + 1);
            c.letter = static_cast<unsigned char>(mark);
            c.index = i;
            e.emit(c);
        }
    }
}

// 6: change each letter to each letter of the alphabet (the letter already there included).
void change_letters(const Edits& e) {
    if (!e.fits(e.word.size())) return;
    e.s.assign(e.word);
    for (std::size_t i = 0; i < e.word.size(); ++i) {
        if (!e.gate.open(EditKind::Change, i)) continue;
        for (char a : e.alphabet) {
            const unsigned char l = e.shape(EditKind::Change, i, static_cast<unsigned char>(a));
            e.s[i] = static_cast<char>(l);
            EditCandidate c;
            c.kind = EditKind::Change;
            c.pos = static_cast<int>(i + 1);
            c.letter = l;
            c.index = i;
            e.emit(c);
        }
        e.s[i] = e.word[i];
    }
}

// 7: swap two neighbours that differ.
void swap_neighbours(const Edits& e) {
    const std::string_view word = e.word;
    if (!e.fits(word.size())) return;
    e.s.assign(word);
    for (std::size_t i = 0; i + 1 < word.size(); ++i) {
        if (low(word[i]) == low(word[i + 1])) continue;
        e.s[i] = word[i + 1];
        e.s[i + 1] = word[i];
        EditCandidate c;
        c.kind = EditKind::Swap;
        c.pos = static_cast<int>(i + 1);
        c.pos2 = static_cast<int>(i + 2);
        c.from[0] = word[i];
        c.from[1] = word[i + 1];
        c.index = i;
        e.emit(c);
        e.s[i] = word[i];
        e.s[i + 1] = word[i + 1];
    }
}

// 8: rearrange three letters x y z: z x y when x and z differ; when x and y differ also z y x,
// and y z x when y and z differ.
void rearrange_triples(const Edits& e) {
    const std::string_view word = e.word;
    if (!e.fits(word.size())) return;
    e.s.assign(word);
    for (std::size_t i = 0; i + 3 <= word.size(); ++i) {
        const char x = word[i], y = word[i + 1], z = word[i + 2];
        auto triple = [&](char p, char q, char r) {
            e.s[i] = p;
            e.s[i + 1] = q;
            e.s[i + 2] = r;
            EditCandidate c;
            c.kind = EditKind::Triple;
            c.pos = static_cast<int>(i + 1);
            c.pos2 = static_cast<int>(i + 3);
            c.from[0] = x, c.from[1] = y, c.from[2] = z;
            c.to[0] = p, c.to[1] = q, c.to[2] = r;
            c.index = i;
            e.emit(c);
            e.s[i] = x;
            e.s[i + 1] = y;
            e.s[i + 2] = z;
        };
        if (low(x) != low(z)) triple(z, x, y);
        if (low(x) == low(y)) continue;
        triple(z, y, x);
        if (low(y) != low(z)) triple(y, z, x);
    }
}

// 9: drop a syllable of k letters (2 <= k < n/2) repeated right after itself, unless a run of
// three or more equal letters begins there.
void drop_syllables(const Edits& e) {
    const std::string_view word = e.word;
    const std::size_t n = word.size();
    if (n < 4) return;
    // A candidate of n - k letters fits only from k = n - max_length on.
    for (std::size_t k = std::max<std::size_t>(2, n > e.max_length ? n - e.max_length : 0); k < n / 2; ++k) {
        for (std::size_t i = 0; i + 2 * k <= n; ++i) {
            if (i + 2 < n && low(word[i]) == low(word[i + 1]) && low(word[i]) == low(word[i + 2])) continue;
            bool same = true;
            for (std::size_t j = 0; j < k && same; ++j) same = low(word[i + j]) == low(word[i + k + j]);
            if (!same) continue;
            e.set_without(i, i + k);
            EditCandidate c;
            c.kind = EditKind::Syllable;
            c.pos = static_cast<int>(i + 1);
            c.pos2 = static_cast<int>(i + k);
            c.index = i;
            e.emit(c);
        }
    }
}

// 10: reduce a run of three or more equal letters to one letter.
void reduce_runs(const Edits& e) {
    const std::string_view word = e.word;
    const std::size_t n = word.size();
    std::size_t run_end = 0;  // the end of the run of equal letters the last start stood in
    for (std::size_t i = 0; i + 3 <= n; ++i) {
        const unsigned char f = low(word[i]);
        if (low(word[i + 1]) != f || low(word[i + 2]) != f) continue;
        if (i >= run_end) {
            run_end = i + 3;
            while (run_end < n && low(word[run_end]) == f) ++run_end;
        }
        const std::size_t j = run_end;
        if (!e.fits(n - (j - i - 1))) continue;
        e.set_without(i + 1, j);
        EditCandidate c;
        c.kind = EditKind::Repeated;
        c.pos = static_cast<int>(i + 1);
        c.pos2 = static_cast<int>(j);
        c.letter = static_cast<unsigned char>(word[i]);
        c.index = i;
        e.emit(c);
    }
}

}  // namespace

void generate_edits(std::string_view word, std::string_view alphabet, LetterShaper shaper,
                    std::string& s, EditSink sink, std::size_t max_length, PlaceGate gate) {
    if (word.size() < 2) return;
    const Edits e{word, alphabet, shaper, s, sink, max_length, gate};
    drop_letters(e);
    add_letters(e);
    change_letters(e);
    swap_neighbours(e);
    rearrange_triples(e);
    drop_syllables(e);
    reduce_runs(e);
}

bool PlaceGate::open(EditKind kind, std::size_t at) const {
    if (!index || !hasher) return true;
    const std::size_t n = hasher->size();
    return kind == EditKind::Change ? index->may_fill_hole(hasher->with_hole(at), n)
                                    : index->may_fill_hole(hasher->with_gap(at), n + 1);
}

std::uint64_t edit_key_hash(const KeyHasher& hasher, const EditCandidate& c) {
    const std::size_t n = hasher.size();
    switch (c.kind) {
    case EditKind::DropFirst: return hasher.dropped(0, 1);
    case EditKind::DropInner: return hasher.dropped(c.index, c.index + 1);
    case EditKind::DropLast: return hasher.dropped(n - 1, n);
    case EditKind::AddFront: return hasher.inserted(0, c.letter);
    case EditKind::AddInner:
    case EditKind::AddHyphen:
    case EditKind::AddApostrophe: return hasher.inserted(c.index, c.letter);
    case EditKind::Change: return hasher.changed(c.index, c.letter);
    default: return hasher.of(c.word);
    }
}

void append_int(std::string& out, long long value) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

void append_split_note(std::string& text, std::string_view what, std::size_t at, std::int32_t lrank,
                       std::int32_t rrank) {
    text += " (";
    text += what;
    text += " at ";
    append_int(text, static_cast<long long>(at));
    text += ", ranks ";
    append_int(text, lrank);
    text += " & ";
    append_int(text, rrank);
    text += ')';
}

void sort_and_number_suggestions(SuggestionPool& pool, std::string& spelling) {
    std::vector<SuggestionPair>& items = pool.items();
    std::stable_sort(items.begin(), items.end(),
                     [](const SuggestionPair& a, const SuggestionPair& b) { return a.rank < b.rank; });
    std::string item;
    int number = 0;
    for (const SuggestionPair& s : items) {
        item.clear();
        append_int(item, ++number);
        item += ". ";
        item += s.text;
        item += " (rank ";
        append_int(item, s.rank);
        item += ") ";
        if (!append_bounded(spelling, item)) break;
    }
}

std::int32_t write_short_forms(const SuggestionPool& pool, std::string& spelling_sh,
                               std::string_view (*short_form)(std::string_view), const std::string_view* leave_out) {
    std::vector<std::string_view> written;  // views of the pool's texts
    std::string item;
    for (const SuggestionPair& s : pool.items()) {
        const std::string_view sh = short_form(s.text);
        if (leave_out && cp_strcasecmp(sh, *leave_out) == 0) continue;
        if (std::find(written.begin(), written.end(), sh) != written.end()) continue;
        item.assign(sh);
        item += " | ";
        if (!append_bounded(spelling_sh, item)) break;
        written.push_back(sh);
    }
    return static_cast<std::int32_t>(written.size());
}

void append_edit_note(std::string& out, const EditCandidate& c) {
    const char letter = static_cast<char>(c.letter);
    switch (c.kind) {
    case EditKind::DropFirst:
    case EditKind::DropInner:
        out += " (drop ";
        out += letter;
        out += ' ';
        append_int(out, c.pos);
        break;
    case EditKind::DropLast:
        out += " (drop last ";
        out += letter;
        out += ' ';
        append_int(out, c.pos);
        break;
    case EditKind::AddFront:
    case EditKind::AddInner:
    case EditKind::AddHyphen:
        out += " (add ";
        out += letter;
        out += ' ';
        append_int(out, c.pos);
        break;
    case EditKind::AddApostrophe:
        out += " (add apostrophe ";
        append_int(out, c.pos);
        break;
    case EditKind::Change:
        out += " (change ";
        out += letter;
        out += ' ';
        append_int(out, c.pos);
        break;
    case EditKind::Swap:
        out += " (swap ";
        out += c.from[0];
        out += '-';
        out += c.from[1];
        out += ' ';
        append_int(out, c.pos);
        out += '-';
        append_int(out, c.pos2);
        break;
    case EditKind::Triple:
        out += " (triple ";
        out.append(c.from, 3);
        out += "->";
        out.append(c.to, 3);
        out += ' ';
        append_int(out, c.pos);
        out += '-';
        append_int(out, c.pos2);
        break;
    case EditKind::Syllable:
        out += " (syllable ";
        append_int(out, c.pos);
        out += '-';
        append_int(out, c.pos2);
        break;
    case EditKind::Repeated:
        out += " (repeated \"";
        out += letter;
        out += "\" ";
        append_int(out, c.pos);
        out += '-';
        append_int(out, c.pos2);
        break;
    }
    out += ')';
}

bool near_match_folded(std::string_view word, std::string_view entry) {
    std::string_view S = word, L = entry;
    if (L.size() < S.size()) std::swap(S, L);
    const std::size_t s = S.size(), l = L.size(), d = l - s;
    if (s < kNearMatchLeast || d > 2 || (s < 9 && d > 1) || s == 8) return false;
    const int agree = (S[0] == L[0]) + (S[1] == L[1]) + (S[s - 1] == L[l - 1]) + (S[s - 2] == L[l - 2]);
    if (agree < 3) return false;
    long start = static_cast<long>(d / 2 + d % 2) - 1;
    long end = start + (d % 2 ? 1 : 2);
    const long last = static_cast<long>(l) - 1;
    if (end > last) end = last;
    std::size_t count = 0;
    for (std::size_t j = 0; j < s; ++j) {
        for (long p = start; p <= end; ++p) {
            if (L[static_cast<std::size_t>(p < 0 ? 0 : p)] == S[j]) {
                ++count;
                break;
            }
        }
        ++start;
        if (end < last) ++end;
    }
    if (s == 6) return count >= 5 && S[0] == L[0];
    if (s == 7) return count >= 6;
    if (s <= 14) return count + 2 >= s;
    return count + 3 >= s;
}

bool near_match(std::string_view word, std::string_view entry) {
    std::string a(word), b(entry);
    cp_strlwr(a);
    cp_strlwr(b);
    return near_match_folded(a, b);
}

void near_match_scan(const WordIndex& index, std::string_view word, std::vector<std::size_t>& hits) {
    hits.clear();
    if (word.size() < kNearMatchLeast) return;
    std::string folded(word);
    cp_strlwr(folded);
    const std::size_t n = folded.size();
    // Lengths that can pass: within 2 of the word, within 1 while the shorter has fewer than 9.
    const std::size_t lo = n >= 11 ? n - 2 : n - 1, hi = n >= 9 ? n + 2 : n + 1;
    if (hi <= WordIndex::kMaxBucketLength) {
        // A near match agrees on three of its first, second, last and second-to-last letters, so
        // it stands in one of the four buckets of its length that hold the word's letters there.
        const auto f0 = static_cast<unsigned char>(folded[0]), f1 = static_cast<unsigned char>(folded[1]);
        const auto z0 = static_cast<unsigned char>(folded[n - 1]), z1 = static_cast<unsigned char>(folded[n - 2]);
        std::vector<std::uint32_t> seen;
        for (std::size_t len = std::max(lo, kNearMatchLeast); len <= hi; ++len) {
            for (auto b : {index.near_bucket(len, 0, f0, f1, z0), index.near_bucket(len, 1, f0, f1, z1),
                           index.near_bucket(len, 2, f0, z0, z1), index.near_bucket(len, 3, f1, z0, z1)})
                for (std::size_t k = 0; k < b.size(); ++k) seen.push_back(b[k]);
        }
        std::sort(seen.begin(), seen.end());  // places in list order, each entry once
        seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
        for (std::uint32_t place : seen)
            if (near_match_folded(folded, index.key_at_place(place))) hits.push_back(index.position_at_place(place));
        return;
    }
    std::string key;
    for (std::size_t i = 0, count = index.size(); i < count; ++i) {
        const std::size_t len = index.entry(i).key.size();
        if (len < lo || len > hi || len < kNearMatchLeast) continue;
        index.folded_key(i, key);
        if (near_match_folded(folded, key)) hits.push_back(i);
    }
}
