// spelling/suggest_en.cpp - candidates, marks and ranking of the English suggestion generator.
#include "spelling/suggest_en.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/text.h"
#include "spelling/edit_candidates.h"
#include "spelling/spell_state.h"
#include "spelling/suffix_en.h"
#include "spelling/word_index.h"

namespace {

constexpr std::array<std::string_view, 23> kTwoLetterWords = {
    "is", "in", "on", "to", "of", "at", "be", "no", "as", "by", "do", "an",
    "go", "if", "he", "it", "we", "us", "me", "my", "or", "up", "kg"};

constexpr std::array<std::string_view, 9> kPrefixes2 = {"un", "re", "de", "co", "bi", "ex", "il", "im", "ir"};
constexpr std::array<std::string_view, 15> kPrefixes3 = {"dis", "non", "bio", "geo", "iso", "mal", "mis", "neo",
                                                         "out", "sub", "tri", "uni", "pro", "pre", "eco"};
constexpr std::array<std::string_view, 26> kPrefixes4 = {
    "anti", "over", "post", "self", "semi", "auto", "giga", "mega", "hypo", "meta", "poly", "mono", "mini",
    "homo", "kilo", "hexa", "quad", "afro", "nano", "aero", "agro", "octo", "octa", "tele", "demi", "omni"};
constexpr std::array<std::string_view, 26> kPrefixes5 = {
    "extra", "macro", "micro", "multi", "inter", "intra", "hyper", "super", "ultra", "intro", "infra", "trans", "proto",
    "hecto", "quadr", "hydro", "photo", "quasi", "quint", "retro", "radio", "socio", "sacro", "anglo", "chemo", "supra"};
constexpr std::array<std::string_view, 10> kPrefixes6 = {"contra", "pseudo", "hetero", "quadri", "quadra",
                                                         "quadru", "stereo", "centro", "thermo", "cardio"};
constexpr std::array<std::string_view, 3> kPrefixes7 = {"counter", "electro", "quinque"};

constexpr std::array<EndingPair, 16> kEndingPairs = {{
    {'r', "ed", false}, {'d', "er", false}, {'s', "ed", true}, {'d', "es", true},
    {'t', "ism", false}, {'m', "ist", false}, {'e', "ism", false}, {'m', "ise", false},
    {'e', "ist", false}, {'t', "ise", false}, {'d', "ies", false}, {'s', "ied", false},
    {'y', "ble", false}, {'e', "bly", false}, {'y', "nce", false}, {'e', "ncy", false},
}};

constexpr std::array<IzeIsePair, 13> kIzeIse = {{
    {"ize", "ise", 7}, {"ized", "ised", 8}, {"izes", "ises", 8}, {"izer", "iser", 8},
    {"izing", "ising", 9}, {"izers", "isers", 9}, {"izable", "isable", 10}, {"izably", "isably", 10},
    {"izingly", "isingly", 11}, {"ization", "isation", 11}, {"izement", "isement", 11},
    {"izations", "isations", 12}, {"izements", "isements", 12},
}};

inline unsigned char low(char c) { return cp_tolower(static_cast<unsigned char>(c)); }

bool ends_ci(std::string_view w, std::string_view tail) {
    if (w.size() < tail.size()) return false;
    return cp_strncasecmp(w.substr(w.size() - tail.size()), tail, tail.size()) == 0;
}

bool is_one_of(unsigned char c, std::string_view set) { return set.find(static_cast<char>(c)) != std::string_view::npos; }

bool is_vowel(char c) { return is_one_of(static_cast<unsigned char>(c), "AaEeOoIiUu"); }
bool is_vowel_y(char c) { return is_one_of(static_cast<unsigned char>(c), "AaEeOoIiUuYy"); }

bool is_common_prefix(std::string_view left) {
    for (std::string_view p : english_prefixes(static_cast<int>(left.size())))
        if (cp_strncasecmp(left, p, p.size()) == 0) return true;
    return false;
}

// The letter before the last `tail` letters is s, z or x, or the two before are "ch" or "sh".
bool sibilant_before(std::string_view w, std::size_t tail) {
    const std::size_t n = w.size();
    if (n < tail + 1) return false;
    if (is_one_of(low(w[n - tail - 1]), "szx")) return true;
    if (n < tail + 2) return false;
    const std::string_view two = w.substr(n - tail - 2, 2);
    return cp_strncasecmp(two, "ch", 2) == 0 || cp_strncasecmp(two, "sh", 2) == 0;
}

// Whether a found single-edit candidate is only a regular form of the input.
bool is_regular_form(std::string_view word, const EditCandidate& c) {
    const std::size_t n = word.size();
    switch (c.kind) {
    case EditKind::DropLast: {
        const unsigned char last = low(word[n - 1]);
        if (last == 's' && !is_one_of(low(word[n - 2]), "szx") && !ends_ci(word, "chs") && !ends_ci(word, "shs"))
            return true;
        if (ends_ci(word, "ed")) return true;
        return last == 'c' && ends_ci(c.word, "ia");
    }
    case EditKind::AddInner:
        if (c.index != n) return false;
        if (c.letter == 's')
            return !is_one_of(low(word[n - 1]), "szx") && !ends_ci(word, "ch") && !ends_ci(word, "sh");
        return c.letter == 'r' && low(word[n - 1]) == 'e';
    case EditKind::AddApostrophe:
        return c.index + 1 == n && low(word[n - 1]) == 's';
    case EditKind::Change: {
        if (c.index + 1 == n && n >= 5) {
            for (const EndingPair& p : kEndingPairs) {
                if (c.letter != static_cast<unsigned char>(p.letter) || !ends_ci(word, p.ending)) continue;
                if (p.needs_sibilant && !sibilant_before(word, p.ending.size())) continue;
                return true;
            }
        }
        for (const IzeIsePair& p : kIzeIse) {
            if (n < static_cast<std::size_t>(p.min_length)) continue;
            if (c.index != n - p.ize.size() + 1) continue;
            if (c.letter == 's' && ends_ci(word, p.ize)) return true;
            if (c.letter == 'z' && ends_ci(word, p.ise)) return true;
        }
        return false;
    }
    default:
        return false;
    }
}

// One run of the generator: the word, the list, the text being built.
struct EnglishRun {
    std::string_view word;
    const WordIndex& eng;
    SuggestionPool& pool;
    Suggestions& out;     // the flags; the texts are written at the end
    std::string text;     // the suggestion text being built
    std::string scratch;  // candidate words
    std::string stem, suffix;

    bool add(std::int32_t rank) { return pool.add(text, rank); }

    void double_consonant_swap();
    void edits();
    void splits();
    void whole_word_suffix();
    void near_matches();
};

void EnglishRun::double_consonant_swap() {
    const std::size_t n = word.size();
    if (n > eng.max_key_length()) return;  // every candidate has the word's length
    std::size_t p = 0;
    while (p < n && is_vowel(word[p])) ++p;
    for (;;) {
        std::size_t g = p;
        while (g < n && !is_vowel_y(word[g])) ++g;
        if (g >= n) return;
        std::size_t r = g;
        while (r < n && is_vowel_y(word[r])) ++r;
        const std::size_t gap = g - p;
        std::size_t pair = 0;  // 1-based position of the input's doubled pair; 0 no candidate
        if (gap == 1) {
            if (r >= n) return;
            if (r + 1 < n && low(word[r]) == low(word[r + 1])) {
                scratch.assign(word.substr(0, g));
                scratch += word[p];
                scratch.append(word.substr(g, r - g));
                scratch.append(word.substr(r + 1));
                pair = r + 1;
            }
        } else if (gap == 2 && low(word[p]) == low(word[p + 1])) {
            if (r >= n) return;
            if (!(r + 1 < n && low(word[r]) == low(word[r + 1]))) {
                scratch.assign(word.substr(0, p + 1));
                scratch.append(word.substr(g, r - g));
                scratch += word[r];
                scratch.append(word.substr(r));
                pair = p + 1;
            }
        }
        if (pair) {
            const std::ptrdiff_t i = eng.find(scratch);
            if (i >= 0) {
                text.assign(scratch);
                text += " (double consonant swap ";
                text.append(word.substr(pair - 1, 2));
                text += " at ";
                append_int(text, static_cast<long long>(pair));
                text += ')';
                add(eng.rank(static_cast<std::size_t>(i)));
            }
        }
        p = r;
    }
}

// The key hashes of the word being checked (kept between runs for their memory).
thread_local KeyHasher g_english_key_hasher;

void EnglishRun::edits() {
    if (eng.size() == 0) return;  // no candidate can be found
    KeyHasher& hasher = g_english_key_hasher;
    hasher.prepare(word);
    auto sink = [this, &hasher](const EditCandidate& c) {
        const std::ptrdiff_t i = eng.find_hashed(c.word, edit_key_hash(hasher, c));
        if (i < 0) return;
        const bool fp = is_regular_form(word, c);
        text.clear();
        if (fp) text = "(FALSE POS) ";
        text.append(c.word);
        append_edit_note(text, c);
        if (!add(eng.rank(static_cast<std::size_t>(i)))) return;
        if (fp) out.false_positive = true;
        if (c.kind == EditKind::DropFirst || (c.kind == EditKind::Change && c.pos == 1)) out.first_letter_differ = true;
    };
    std::string candidate;
    // The places no listed word fills are passed by (over a short word, most of its places).
    generate_edits(word, kLatinLetters, nullptr, candidate, EditSink(sink), eng.max_key_length(), PlaceGate{&eng, &hasher});
}

void EnglishRun::splits() {
    const std::size_t n = word.size();
    const ListPair* stem_entry = nullptr;
    for (std::size_t l = 1; l < n; ++l) {
        const std::string_view left = word.substr(0, l), right = word.substr(l);
        const std::size_t r = n - l;
        if (r == 1 && low(right[0]) != 'a') continue;
        if (r == 2 && !iscommontwo(right)) continue;
        if (l == 1 && low(left[0]) != 'a') continue;

        if (l >= 2 && l <= 7 && is_common_prefix(left)) {
            if (r <= 2) continue;
            const std::ptrdiff_t ri = eng.find(right);
            std::int32_t rank = 0;
            text = "(FALSE POS) common ";
            append_int(text, static_cast<long long>(l));
            text += "-letter prefix \"";
            text.append(left);
            text += "\" + \"";
            if (ri >= 0) {
                text.append(right);
                text += '"';
                rank = eng.rank(static_cast<std::size_t>(ri));
            } else if (issuffix_in(eng, right, stem, suffix, &stem_entry)) {
                text += stem;
                text += "\" + common suffix \"";
                text += suffix;
                text += '"';
                rank = rank_of_entry(*stem_entry);
            } else {
                continue;
            }
            if (add(rank)) out.false_positive = true;
            continue;
        }
        if (l == 2 && !iscommontwo(left)) continue;

        const std::ptrdiff_t li = eng.find(left);
        if (li >= 0) {
            const std::int32_t lrank = eng.rank(static_cast<std::size_t>(li));
            const std::ptrdiff_t ri = eng.find(right);
            if (ri >= 0) {
                const std::int32_t rrank = eng.rank(static_cast<std::size_t>(ri));
                text.assign(left);
                text += ' ';
                text.append(right);
                append_split_note(text, "split", l, lrank, rrank);
                if (add(std::max(lrank, rrank))) out.splitting = true;
            } else if (issuffix_in(eng, right, stem, suffix, &stem_entry)) {
                const std::int32_t srank = rank_of_entry(*stem_entry);
                text.assign(left);
                text += ' ';
                text.append(right);
                text += " (split ";
                append_int(text, static_cast<long long>(l));
                text += "-letter word \"";
                text.append(left);
                text += "\" + \"";
                text += stem;
                text += "\" + common suffix \"";
                text += suffix;
                text += "\", ranks ";
                append_int(text, lrank);
                text += " & ";
                append_int(text, srank);
                text += ')';
                if (add(std::max(lrank, srank))) out.splitting = true;
            }
        } else if (issuffix_in(eng, left, stem, suffix, &stem_entry)) {
            const std::ptrdiff_t ri = eng.find(right);
            if (ri < 0) continue;
            const std::int32_t srank = rank_of_entry(*stem_entry);
            const std::int32_t rrank = eng.rank(static_cast<std::size_t>(ri));
            text.assign(left);
            text += ' ';
            text.append(right);
            text += " (split \"";
            text += stem;
            text += "\" + common suffix \"";
            text += suffix;
            text += "\" + ";
            append_int(text, static_cast<long long>(r));
            text += "-letter word \"";
            text.append(right);
            text += "\", ranks ";
            append_int(text, srank);
            text += " & ";
            append_int(text, rrank);
            text += ')';
            if (add(std::max(srank, rrank))) out.splitting = true;
        }
    }
}

void EnglishRun::whole_word_suffix() {
    const ListPair* stem_entry = nullptr;
    if (!issuffix_in(eng, word, stem, suffix, &stem_entry) || suffix == "s") return;
    text = "(FALSE POS) \"";
    text += stem;
    text += "\" + common suffix \"";
    text += suffix;
    text += '"';
    if (add(rank_of_entry(*stem_entry))) out.false_positive = true;
}

void EnglishRun::near_matches() {
    if (!pool.empty() || deep_spell_option() == 0 || word.size() < kNearMatchLeast) return;
    if (word.find('\'') != std::string_view::npos || word.find('-') != std::string_view::npos) return;
    std::vector<std::size_t> hits;
    near_match_scan(eng, word, hits);
    for (std::size_t i : hits) {
        text.assign(eng.entry(i).key);
        text += " (EXTRA)";
        if (!add(eng.rank(i))) break;
    }
}

void write_english_results(SuggestionPool& pool, Suggestions& out) {
    sort_and_number_suggestions(pool, out.spelling);
    out.suggest_ct = static_cast<std::int32_t>(pool.size());
    if (!out.spelling.empty()) out.spelling.pop_back();
    write_short_forms(pool, out.spelling_sh, english_short_form, nullptr);
    if (!out.spelling_sh.empty()) out.spelling_sh.resize(out.spelling_sh.size() - 3);
}

}  // namespace

std::span<const std::string_view> english_two_letter_words() { return kTwoLetterWords; }

std::span<const std::string_view> english_prefixes(int length) {
    switch (length) {
    case 2: return kPrefixes2;
    case 3: return kPrefixes3;
    case 4: return kPrefixes4;
    case 5: return kPrefixes5;
    case 6: return kPrefixes6;
    case 7: return kPrefixes7;
    default: return {};
    }
}

std::span<const EndingPair> english_ending_pairs() { return kEndingPairs; }
std::span<const IzeIsePair> english_ize_ise_pairs() { return kIzeIse; }

int iscommontwo(std::string_view text) {
    if (text.size() < 2) return 0;
    for (std::string_view w : kTwoLetterWords)
        if (cp_strncasecmp(text, w, 2) == 0) return 1;
    return 0;
}

std::string_view english_short_form(std::string_view text) {
    if (!text.empty() && text[0] == '(') return "(FALSE POS)";
    const std::size_t b1 = text.find(' ');
    if (b1 == std::string_view::npos) return text;
    if (b1 + 1 < text.size() && text[b1 + 1] == '(') return text.substr(0, b1);
    const std::size_t b2 = text.find(' ', b1 + 1);
    return b2 == std::string_view::npos ? text : text.substr(0, b2);
}

std::size_t longest_suggestible_english(const WordIndex& eng) {
    // The longest candidate that can be listed: a split into two words, one of them a listed stem
    // with a common suffix.
    return 2 * eng.max_key_length() + longest_english_suffix();
}

Suggestions spellcheck(std::string_view word) {
    ++suggestion_runs;
    Suggestions out;
    if (word.size() < 2) return out;
    const WordIndex& eng = english_index(0);
    // A text longer than anything the list can give a suggestion for is not searched: the search
    // would cost time that grows with the square of its length and find nothing.
    if (word.size() > longest_suggestible_english(eng)) return out;
    SuggestionPool& pool = empty_suggestion_pool();
    EnglishRun run{word, eng, pool, out, {}, {}, {}, {}};
    run.text.reserve(word.size() * 2 + 128);
    run.scratch.reserve(word.size() + 2);
    run.double_consonant_swap();
    run.edits();
    run.splits();
    run.whole_word_suffix();
    run.near_matches();
    write_english_results(pool, out);
    return out;
}
