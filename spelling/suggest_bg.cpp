// spelling/suggest_bg.cpp - candidates, case and ranking of the Bulgarian suggestion generator.
#include "spelling/suggest_bg.h"

#include <algorithm>
#include <array>
#include <vector>

#include "lexicon/morphology.h"
#include "platform/text.h"
#include "platform/text_literal.h"
#include "shell/settings.h"
#include "spelling/edit_candidates.h"
#include "spelling/spell_state.h"
#include "spelling/word_index.h"

namespace {

// Letters of code page 1251 used by the rules.
constexpr char kA = "а"_cp[0];
constexpr char kI = "и"_cp[0];
constexpr char kIShort = "й"_cp[0];
constexpr char kN = "н"_cp[0];
constexpr char kNCap = "Н"_cp[0];
constexpr char kO = "о"_cp[0];
constexpr char kP = "п"_cp[0];
constexpr char kPCap = "П"_cp[0];
constexpr char kT = "т"_cp[0];
constexpr char kU = "у"_cp[0];
constexpr char kSh = "ш"_cp[0];
constexpr char kSht = "щ"_cp[0];
constexpr char kYu = "ю"_cp[0];
constexpr char kYa = "я"_cp[0];
constexpr char kEmDash = "—"_cp[0];

constexpr std::array<OneLetterAlternative, 14> kOneLetter = {{
    {"н"_cp[0], "и (н -> и)"_cp, true, -5},
    {"н"_cp[0], "на (н -> на)"_cp, true, -4},
    {"н"_cp[0], "й (н -> й)"_cp, true, -3},
    {"Н"_cp[0], "И (Н -> И)"_cp, true, -5},
    {"Н"_cp[0], "На (Н -> На)"_cp, true, -4},
    {"Н"_cp[0], "Й (Н -> Й)"_cp, true, -3},
    {"з"_cp[0], "в (з -> в)"_cp, false, 0},
    {"З"_cp[0], "В (З -> В)"_cp, false, 0},
    {"б"_cp[0], "в (б -> в)"_cp, false, 0},
    {"Б"_cp[0], "В (Б -> В)"_cp, false, 0},
    {"м"_cp[0], "и (м -> и)"_cp, false, 0},
    {"М"_cp[0], "И (М -> И)"_cp, false, 0},
    {"ф"_cp[0], "в (ф -> в)"_cp, false, 0},
    {"Ф"_cp[0], "В (Ф -> В)"_cp, false, 0},
}};

// Case of code page 1251 letters by the text layer's tables (Cyrillic and Latin, Ё included).
inline bool is_capital(char c) {
    const auto u = static_cast<unsigned char>(c);
    return cp_fold_lower(u) != u;
}
inline char lower(char c) { return static_cast<char>(cp_fold_lower(static_cast<unsigned char>(c))); }
inline char upper(char c) { return static_cast<char>(cp_fold_upper(static_cast<unsigned char>(c))); }

std::string folded_lower(std::string_view w) {
    std::string s(w);
    for (char& c : s) c = lower(c);
    return s;
}

// An inserted or substituted letter is a capital when it stands first in a word that begins with
// a capital, or when its neighbour (the next letter; the previous one at the end) is a capital; in
// a two-letter word with a small last letter, a letter changed at the last position stays small.
unsigned char shape_letter(std::string_view word, EditKind kind, std::size_t index, unsigned char letter) {
    const std::size_t n = word.size();
    bool capital = false;
    switch (kind) {
    case EditKind::AddFront:
        capital = is_capital(word[0]);
        break;
    case EditKind::AddInner:
        capital = is_capital(index < n ? word[index] : word[n - 1]);
        break;
    case EditKind::Change:
        if (n == 2 && index == 1 && !is_capital(word[1])) break;
        if (index == 0 && is_capital(word[0])) {
            capital = true;
            break;
        }
        capital = is_capital(index + 1 < n ? word[index + 1] : word[index - 1]);
        break;
    default:
        break;
    }
    return capital ? cp_fold_upper(letter) : letter;
}

struct BulgarianRun {
    std::string_view word;
    const WordIndex& bg;
    SuggestionPool& pool;
    Suggestions& out;     // the flags; the texts are written at the end
    std::string text;     // the suggestion text being built
    std::string scratch;  // candidate words

    bool add(std::int32_t rank) { return pool.add(text, rank); }
    // The list position of a listed word, or -1.
    std::ptrdiff_t find(std::string_view w) const { return bg.find(w); }
    std::int32_t rank_at(std::ptrdiff_t i) const { return bg.rank(static_cast<std::size_t>(i)); }

    void one_letter();
    void prefix_forms();
    void letter_pairs();
    void edits();
    void hyphen_splits();
    void two_word_splits();
    void near_matches();
};

void BulgarianRun::one_letter() {
    for (const OneLetterAlternative& a : kOneLetter) {
        if (a.letter != word[0]) continue;
        const std::string_view alt = a.text.substr(0, a.text.find(' '));
        const std::ptrdiff_t i = find(alt);
        if (i < 0) continue;
        text.assign(a.text);
        add(a.fixed_rank ? a.rank : rank_at(i));
    }
}

void BulgarianRun::prefix_forms() {
    const std::size_t n = word.size();
    if (n <= 5) return;
    const bool capital = is_capital(word[0]);
    std::size_t cut = 0;  // the letters before the hyphen
    if (word[3] == '-' && (word[0] == kN || word[0] == kNCap || word[1] == kA || word[2] == kIShort) &&
        find(word.substr(4)) >= 0) {
        cut = 3;
        text.assign(capital ? "Най-"_cp : "най-"_cp);
        text.append(word.substr(4));
        text.append(capital ? " (Най?)"_cp : " (най?)"_cp);
    } else if (word[2] == '-' && (word[0] == kP || word[0] == kPCap || word[1] == kO) && find(word.substr(3)) >= 0) {
        cut = 2;
        text.assign(capital ? "По-"_cp : "по-"_cp);
        text.append(word.substr(3));
        text.append(capital ? " (По?)"_cp : " (по?)"_cp);
    }
    if (cut == 0) return;
    scratch.assign(word.substr(0, cut));
    scratch.append(word.substr(cut + 1));
    add(find(scratch) >= 0 ? kRankUnranked : -1);
}

void BulgarianRun::letter_pairs() {
    const std::string low = folded_lower(word);
    struct Pair {
        char first1, first2, second, repl;  // (first1 or first2) followed by second -> repl
        const char* note;
    };
    static constexpr Pair kPairs[3] = {
        {kI, kIShort, kA, kYa, " (я "_cp.c_str()},   // иа, йа -> я
        {kI, kIShort, kU, kYu, " (ю "_cp.c_str()},   // иу, йу -> ю
        {kSh, kSh, kT, kSht, " (щ "_cp.c_str()},     // шт -> щ
    };
    for (const Pair& p : kPairs) {
        for (std::size_t i = 0; i + 1 < low.size(); ++i) {
            if ((low[i] != p.first1 && low[i] != p.first2) || low[i + 1] != p.second) continue;
            scratch.assign(word.substr(0, i));
            scratch += is_capital(word[i + 1]) ? upper(p.repl) : p.repl;
            scratch.append(word.substr(i + 2));
            const std::ptrdiff_t e = find(scratch);
            if (e < 0) continue;
            text.assign(scratch);
            text += p.note;
            append_int(text, static_cast<long long>(i));
            text += ')';
            add(rank_at(e));
            break;
        }
    }
}

// The key hashes of the word being checked (kept between runs for their memory).
thread_local KeyHasher g_bulgarian_key_hasher;

void BulgarianRun::edits() {
    if (bg.size() == 0) return;  // no candidate can be found
    const std::size_t n = word.size();
    const std::string low = folded_lower(word);
    const bool ime_eme = n > 5 && (low.ends_with("име"_cp) || low.ends_with("еме"_cp));
    const bool only_first_capital =
        is_capital(word[0]) && std::none_of(word.begin() + 1, word.end(), [](char c) { return is_capital(c); });
    KeyHasher& hasher = g_bulgarian_key_hasher;
    hasher.prepare(word);
    auto sink = [&](const EditCandidate& c) {
        const std::ptrdiff_t i = bg.find_hashed(c.word, edit_key_hash(hasher, c));
        if (i < 0) return;
        std::int32_t rank = rank_at(i);
        if ((c.kind == EditKind::DropLast && ime_eme) || c.kind == EditKind::AddHyphen) rank = -1;
        text.assign(c.word);
        if (c.kind == EditKind::AddFront && only_first_capital) text[1] = lower(text[1]);
        append_edit_note(text, c);
        if (!add(rank)) return;
        if (c.kind == EditKind::DropFirst || (c.kind == EditKind::Change && c.pos == 1)) out.first_letter_differ = true;
    };
    // The places no listed word fills are passed by: over a short word, most of its places.
    generate_edits(word, kBulgarianLetters, shape_letter, scratch, EditSink(sink), bg.max_key_length(),
                   PlaceGate{&bg, &hasher});
}

void BulgarianRun::hyphen_splits() {
    const std::size_t n = word.size();
    for (std::size_t h = 0; h + 1 < n; ++h) {
        if (word[h] != '-') continue;
        scratch.assign(word.substr(0, h));
        scratch.append(word.substr(h + 1));
        if (find(scratch) >= 0) continue;
        const std::string_view left = word.substr(0, h), right = word.substr(h + 1);
        const std::ptrdiff_t li = find(left);
        if (li < 0) continue;
        const std::ptrdiff_t ri = find(right);
        if (ri < 0) continue;
        const std::int32_t lrank = rank_at(li), rrank = rank_at(ri);
        text.assign(left);
        text += ' ';
        text.append(right);
        append_split_note(text, "split", h, lrank, rrank);
        if (add(std::max(lrank, rrank))) out.splitting = true;
        text.assign(left);
        text += ' ';
        text += kEmDash;
        text += ' ';
        text.append(right);
        append_split_note(text, "mdash", h, lrank, rrank);
        if (add(kRankUnranked)) out.splitting = out.mdash = true;
    }
}

void BulgarianRun::two_word_splits() {
    const std::size_t n = word.size();
    for (std::size_t l = 1; l < n; ++l) {
        const std::string_view left = word.substr(0, l), right = word.substr(l);
        const std::ptrdiff_t li = find(left);
        if (li < 0) continue;
        const std::ptrdiff_t ri = find(right);
        if (ri < 0 || IsTypeProperOnly(left) || IsTypeProperOnly(right)) continue;
        const std::int32_t lrank = rank_at(li), rrank = rank_at(ri);
        text.assign(left);
        text += ' ';
        text.append(right);
        append_split_note(text, "split", l, lrank, rrank);
        if (add(std::max(lrank, rrank))) out.splitting = true;
    }
}

void BulgarianRun::near_matches() {
    if (!pool.empty() || deep_spell_option() == 0 || word.size() < kNearMatchLeast) return;
    for (char c : word)
        if (c == '-' || c == '\'' || c == '`' || c == "‘"_cp[0] || c == "’"_cp[0]) return;
    std::vector<std::size_t> hits;
    near_match_scan(bg, word, hits);
    for (std::size_t i : hits) {
        text.assign(bg.entry(i).key);
        text += " (EXTRA)";
        if (!add(bg.rank(i))) break;
    }
}

void write_bulgarian_results(std::string_view word, SuggestionPool& pool, Suggestions& out) {
    sort_and_number_suggestions(pool, out.spelling);
    out.suggest_ct = write_short_forms(pool, out.spelling_sh, bulgarian_short_form, gl_ALLWAYS_SUGGEST ? &word : nullptr);
    if (out.suggest_ct >= 1) {
        if (!out.spelling.empty()) out.spelling.pop_back();
        out.spelling_sh.resize(out.spelling_sh.size() - 3);
    }
}

}  // namespace

std::span<const OneLetterAlternative> bulgarian_one_letter_alternatives() { return kOneLetter; }

std::string_view bulgarian_short_form(std::string_view text) {
    const std::size_t b1 = text.find(' ');
    if (b1 == std::string_view::npos) return text;
    if (b1 + 1 < text.size() && text[b1 + 1] == '(') return text.substr(0, b1);
    const std::size_t paren = text.find('(', b1 + 1);
    if (paren == std::string_view::npos) return text;
    return text.substr(0, text[paren - 1] == ' ' ? paren - 1 : paren);
}

std::size_t longest_suggestible_bulgarian(const WordIndex& bg) {
    // The longest candidate that can be listed: two listed words joined by a hyphen, or a listed
    // word behind "най-".
    return 2 * bg.max_key_length() + 4;
}

Suggestions spellcheck_bg(std::string_view word) {
    ++suggestion_runs;
    Suggestions out;
    if (word.empty()) return out;
    const WordIndex& bg = dictionary_index(B_BULGARIAN);
    // A text longer than anything the list can give a suggestion for is not searched.
    if (word.size() > longest_suggestible_bulgarian(bg)) return out;
    SuggestionPool& pool = empty_suggestion_pool();
    BulgarianRun run{word, bg, pool, out, {}, {}};
    run.text.reserve(word.size() * 2 + 128);
    run.scratch.reserve(word.size() + 2);
    if (word.size() == 1) {
        run.one_letter();
    } else {
        run.prefix_forms();
        run.letter_pairs();
        run.edits();
        run.hyphen_splits();
        run.two_word_splits();
    }
    run.near_matches();
    write_bulgarian_results(word, pool, out);
    return out;
}
