// spelling/unknown_bg.cpp - the report text of a Bulgarian token: curated lists, known words,
// glued words, look-alike letters and digits, numbers glued to words, prefixes, suggestions.
#include "spelling/unknown_bg.h"

#include <array>
#include <mutex>
#include <optional>

#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "platform/text.h"
#include "platform/text_literal.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "spelling/edit_candidates.h"
#include "spelling/spell_state.h"
#include "spelling/suggest_bg.h"
#include "spelling/word_index.h"

namespace {

// The report colours (COLORREF); gl_col_nosug for a text without correction.
constexpr std::uint32_t kColUnknownAll = 0xCDCDCD;  // every word treated as unknown
constexpr std::uint32_t kColCorrection = 0xFF552A;  // a correction list
constexpr std::uint32_t kColDialect = 0xFF5555;     // a dialect word
constexpr std::uint32_t kColBetter = 0xFF2A55;      // a better or a risky word
constexpr std::uint32_t kColSuggestion = 0x7F00;    // suggestions, split or joined forms
constexpr std::uint32_t kColRepaired = 0x20C000;    // look-alike letters or digits repaired

// Code page 1251 letters the rules name.
constexpr char kChe = "ч"_cp[0], kCheCap = "Ч"_cp[0];
constexpr char kSha = "ш"_cp[0], kShaCap = "Ш"_cp[0];
constexpr char kSht = "щ"_cp[0], kShtCap = "Щ"_cp[0];
constexpr char kTe = "т"_cp[0], kTeCap = "Т"_cp[0];
constexpr char kGe = "г"_cp[0], kGeCap = "Г"_cp[0];
constexpr std::string_view kNai = "най-"_cp;
constexpr std::string_view kPo = "по-"_cp;

// Latin letter -> the Cyrillic letter it looks like (0: none).
constexpr std::array<unsigned char, 256> make_lookalikes() {
    std::array<unsigned char, 256> t{};
    constexpr char pairs[][2] = {
        {'a', "а"_cp[0]}, {'A', "А"_cp[0]}, {'e', "е"_cp[0]}, {'E', "Е"_cp[0]}, {'o', "о"_cp[0]}, {'O', "О"_cp[0]},
        {'b', "в"_cp[0]}, {'B', "В"_cp[0]}, {'c', "с"_cp[0]}, {'C', "С"_cp[0]}, {'H', "Н"_cp[0]}, {'r', "г"_cp[0]},
        {'u', "и"_cp[0]}, {'U', "И"_cp[0]}, {'k', "к"_cp[0]}, {'K', "К"_cp[0]}, {'m', "т"_cp[0]}, {'M', "М"_cp[0]},
        {'n', "п"_cp[0]}, {'p', "р"_cp[0]}, {'P', "Р"_cp[0]}, {'T', "Т"_cp[0]}, {'x', "х"_cp[0]}, {'X', "Х"_cp[0]},
        {'y', "у"_cp[0]}, {'Y', "У"_cp[0]},
    };
    for (const auto& p : pairs) t[static_cast<unsigned char>(p[0])] = static_cast<unsigned char>(p[1]);
    return t;
}
constexpr std::array<unsigned char, 256> kLookalike = make_lookalikes();

inline bool in(const unsigned char* table, char c) { return table[static_cast<unsigned char>(c)] != 0; }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

const ListPair* in_row(int row, std::string_view w) { return dictionary_index(row).find_entry(w); }
bool listed(std::string_view w) { return in_row(B_BULGARIAN, w) != nullptr; }
bool in_secondpart(std::string_view w) { return in_row(B_BULGARIAN_SECONDPART, w) != nullptr; }
std::string_view rest_of(const ListPair* e) { return e && e->has_rest() ? e->rest : std::string_view(); }

// Whether some word of b_bulgarian holds the letter in either case (or the byte). The table is
// made again when the list's index is built again: by the first thread that asks (a walk over
// every letter of the list), the others taking a copy of it.
bool held_by_a_listed_word(unsigned char c) {
    const unsigned char* const lower = cp1251_detail::full_ctype.lower;
    struct Held {
        std::uint64_t made_for = 0;  // the index's build number + 1
        std::array<bool, 256> held{};
    };
    thread_local Held mine;
    const WordIndex& bg = dictionary_index(B_BULGARIAN);
    if (mine.made_for != bg.build_number() + 1) {
        static std::mutex lock;
        static Held shared;
        const std::lock_guard guard(lock);
        if (shared.made_for != bg.build_number() + 1) {
            shared.held.fill(false);
            for (const ListPair& p : bg.list())
                for (char ch : p.key) shared.held[lower[static_cast<unsigned char>(ch)]] = true;
            shared.made_for = bg.build_number() + 1;
        }
        mine = shared;
    }
    return mine.held[lower[c]];
}

// Whether a token may be a word mistyped: none holds a control character, or a character that is
// no Cyrillic or Latin letter, digit, apostrophe, hyphen or joining mark and that no listed word
// holds (the bytes of a binary file read as text); nor two characters that no listed word holds
// (Latin letters that look like no Cyrillic one, digits): one edit mends one of them at most. Such
// a token gets no suggestion search: over the random "words" of a binary file it would cost many
// times what prose costs, for nothing.
bool may_be_a_word(std::string_view w) {
    int foreign = 0;
    for (char ch : w) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) return false;
        if (ascii_aposhyp[c] || ascii_punct[c] || held_by_a_listed_word(c)) continue;
        if (!(ascii_cyrillic[c] || ascii_latin[c] || ascii_digit[c]) || ++foreign > 1) return false;
    }
    return true;
}

bool all_cyrillic(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!in(ascii_cyrillic, c)) return false;
    return true;
}

// What the census of the word found.
struct Census {
    int cyr_upper = 0, cyr_lower = 0, latin = 0, digits = 0;
    int joining_commas = 0, joining_marks = 0;
    bool joining_dot = false;
    char mark = 0;           // the last joining mark or dot
    std::size_t length = 0;  // characters walked
    int cyrillic() const { return cyr_upper + cyr_lower; }
};

// A final dot (or one before an apostrophe or hyphen) belongs to a known abbreviation: a Latin
// one (letters, digits and dots) in b_en-bg or wl_english2, a Bulgarian one (Cyrillic letters,
// digits and dots, not digits alone) in b_bulgarian. `with_dot` is the word up to the dot, the dot
// included.
bool known_abbreviation(std::string_view with_dot) {
    const std::string_view head = with_dot.substr(0, with_dot.size() - 1);
    bool latin_digits_dots = true, digits_dots = true, cyrillic_digits_dots = true;
    for (char c : head) {
        const bool digit_or_dot = is_digit(c) || c == '.';
        latin_digits_dots = latin_digits_dots && (digit_or_dot || in(ascii_latin, c));
        digits_dots = digits_dots && digit_or_dot;
        cyrillic_digits_dots = cyrillic_digits_dots && (digit_or_dot || in(ascii_cyrillic, c));
    }
    if (latin_digits_dots)
        return in_row(B_EN_BG, with_dot) != nullptr || english_index(M_WL_ENGLISH2).find(with_dot) >= 0;
    return !digits_dots && cyrillic_digits_dots && listed(with_dot);
}

Census take_census(std::string_view w) {
    Census c;
    const std::size_t n = w.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char ch = w[i];
        if (!in(ascii_valid, ch) && !in(ascii_punct, ch)) break;
        const bool joins = i + 1 < n && in(ascii_valid, w[i + 1]) && !in(ascii_aposhyp, w[i + 1]);
        if (ch == ',') {
            if (i > 0 && is_digit(w[i - 1]) && i + 1 < n && is_digit(w[i + 1])) {
                // a comma inside a number
            } else if (joins) {
                ++c.joining_commas;
            } else {
                break;
            }
        } else if (ch == '?' || ch == '!' || ch == ';' || ch == ':') {
            if (!joins) break;
            ++c.joining_marks;
            c.mark = ch;
        } else if (ch == '.') {
            if (joins) {
                c.joining_dot = true;
                c.mark = '.';
            } else if (!((i + 1 == n || in(ascii_aposhyp, w[i + 1])) && known_abbreviation(w.substr(0, i + 1)))) {
                break;
            }
        } else if (in(ascii_cyrillic_upper, ch)) {
            ++c.cyr_upper;
        } else if (in(ascii_cyrillic_lower, ch)) {
            ++c.cyr_lower;
        } else if (in(ascii_latin, ch)) {
            ++c.latin;
        } else if (is_digit(ch)) {
            ++c.digits;
        }
        c.length = i + 1;
    }
    return c;
}

// One call's output.
struct Report {
    std::string_view word;  // the whole token (lists and capitals)
    std::string& text;
    std::uint32_t& colour;
    std::uint8_t& known;
    std::optional<std::string>& rank;
    bool& ran_generator;
    bool suggest = true;  // false: the generator's last resort is not asked (its text is not wanted)

    // The generator's suggestions for `w` (any of them is usable: the Bulgarian generator marks
    // none as a mere regular form of the word); none, and no search, for a token that cannot be a
    // word.
    Suggestions suggestions_for(std::string_view w) {
        if (!may_be_a_word(w)) return {};
        ran_generator = true;
        return spellcheck_bg(w);
    }

    void write(std::string_view t, std::uint32_t col) {
        text.assign(t);
        colour = col;
    }
    // A curated correction, capitalised for a capitalised word.
    std::string correction(std::string_view corr) const {
        if (!word.empty() && in(ascii_upper, word[0])) return capitalize_all_first(corr);
        return std::string(corr);
    }
    // " -> %s%s" with the correction of a list, or " -> no suggestions%s".
    void from_list(const ListPair* e, std::string_view tail, std::uint32_t col) {
        const std::string_view corr = rest_of(e);
        text.assign(" -> ");
        text += corr.empty() ? std::string("no suggestions") : correction(corr);
        text.append(tail);
        colour = col;
    }
    bool glued(std::string_view w, const Census& c);
    bool number_rules(std::string_view r, bool latin, std::string_view counts);
    void suggestions(std::string_view x, std::string_view prefix);
    bool prefixed(std::string_view w, std::string_view prefix, bool po);
};

// Whether a side of a glued word stands alone: a listed word or a number.
bool side_ok(std::string_view s) { return !s.empty() && (listed(s) || IsNumber(s)); }

std::string capitalised_first(std::string_view s) {
    std::string out(s);
    if (!out.empty()) out[0] = static_cast<char>(cp_fold_upper(static_cast<unsigned char>(out[0])));
    return out;
}

bool Report::glued(std::string_view w, const Census& c) {
    if (c.joining_dot || c.joining_marks) {
        const std::size_t p = w.find(c.mark);
        const std::string_view l = w.substr(0, p), r = w.substr(p + 1);
        if (side_ok(l) && side_ok(r)) {
            const std::string L(l), R(r), m(1, c.mark);
            if (IsNumber(r))
                write(" -> " + L + ". " + R + " | " + L + " " + R + " | " + L + ", " + R, kColSuggestion);
            else if (in(ascii_lower, r[0]))
                write(" -> " + L + " " + R + " | " + L + m + " " + capitalised_first(r) + " | " + L + m + " " + R,
                      kColSuggestion);
            else
                write(" -> " + L + m + " " + R + " | " + L + " " + R, kColSuggestion);
            return true;
        }
    }
    if (c.joining_commas) {
        const std::size_t p = w.find(',');
        const std::string_view l = w.substr(0, p), r = w.substr(p + 1);
        if (side_ok(l) && side_ok(r)) {
            const std::string L(l), R(r);
            if (IsNumber(r))
                write(" -> " + L + ", " + R + " | " + L + " " + R + " | " + L + ". " + R, kColSuggestion);
            else if (in(ascii_lower, r[0]))
                write(" -> " + L + ", " + R + " | " + L + ". " + capitalised_first(r) + " | " + L + " " + R,
                      kColSuggestion);
            else
                write(" -> " + L + ", " + R + " | " + L + ". " + R + " | " + L + " " + R, kColSuggestion);
            return true;
        }
    }
    return false;
}

// The rules of a number glued to a word, on `r` (the word, or its repaired form when it has Latin
// letters, `latin`, whose texts carry the letter counts `counts`). False when `r` does not begin
// with a number followed by a hyphen and Cyrillic letters or by Cyrillic letters.
// The length of the number `r` begins with (digits, dots and commas); 0 when it does not begin
// with one or is nothing else.
std::size_t number_head(std::string_view r) {
    std::size_t k = 0;
    while (k < r.size() && (is_digit(r[k]) || r[k] == '.' || r[k] == ',')) ++k;
    return k == r.size() ? 0 : k;
}

// Whether `r` is a number, a hyphen and a correct second part ("5-ти"): the one number rule that
// finds a word known.
bool correct_second_part(std::string_view r) {
    const std::size_t k = number_head(r);
    return k > 0 && r[k] == '-' && all_cyrillic(r.substr(k + 1)) && in_secondpart(r.substr(k + 1));
}

bool Report::number_rules(std::string_view r, bool latin, std::string_view counts) {
    const std::size_t k = number_head(r);
    if (k == 0) return false;
    const std::string number(r.substr(0, k));
    if (r[k] == '-' && all_cyrillic(r.substr(k + 1))) {
        const std::string_view part = r.substr(k + 1);
        if (in_secondpart(part)) {
            if (latin) {
                write(" -> " + std::string(r) + " (correct second part, " + std::string(counts) + ")", kColRepaired);
            } else {
                write(" (correct second part)", kColRepaired);
                known = 1;
            }
        } else if (listed(part)) {
            if (latin)
                write(" -> " + std::string(r) + " (incorrect second part, " + std::string(counts) + ")", kColRepaired);
            else
                write(" -> no suggestions (incorrect second part)", gl_col_nosug);
        } else {
            const Suggestions sg = suggestions_for(part);
            if (sg.suggest_ct > 0)
                write(" -> " + std::string(r.substr(0, k + 1)) + sg.spelling_sh +
                          (latin ? " (" + std::string(counts) + ")" : std::string(" (second part fixed)")),
                      kColRepaired);
            else
                write(latin ? " -> no suggestions (" + std::string(counts) + ")"
                            : std::string(" -> no suggestions (second part not found)"),
                      gl_col_nosug);
        }
        return true;
    }
    const std::string_view rest = r.substr(k);
    if (!all_cyrillic(rest)) return false;
    bool year = k <= 4 && (rest == std::string_view(&kGe, 1) || rest == std::string_view(&kGeCap, 1));
    for (char c : number) year = year && is_digit(c);
    if (in_secondpart(rest)) {
        write(" -> " + number + "-" + std::string(rest), kColRepaired);
    } else if (listed(rest)) {
        write(" -> " + number + " " + std::string(rest), kColRepaired);
    } else if (year) {
        write(" -> " + number + " " + std::string(rest) + ".", kColRepaired);
    } else {
        const Suggestions sg = suggestions_for(rest);
        if (sg.suggest_ct == 0)
            write(" -> no suggestions (incorrect num+Cyrillic)", gl_col_nosug);
        else
            write(" -> " + number + (in_secondpart(sg.spelling_sh) ? "-" : " ") + sg.spelling_sh, kColRepaired);
    }
    return true;
}

// The generator on `x`; with a prefix, every alternative is written behind it.
void Report::suggestions(std::string_view x, std::string_view prefix) {
    if (!suggest) {
        text.clear();
        return;
    }
    const Suggestions sg = suggestions_for(x);
    if (sg.suggest_ct == 0) {
        write(" -> no suggestions", gl_col_nosug);
        return;
    }
    text.assign(" -> ");
    if (prefix.empty()) {
        text += sg.spelling_sh;
    } else {
        std::string_view sh = sg.spelling_sh;
        for (;;) {
            const std::size_t bar = sh.find(" | ");
            text.append(prefix);
            text.append(sh.substr(0, bar));
            if (bar == std::string_view::npos) break;
            text += " | ";
            sh.remove_prefix(bar + 3);
        }
    }
    colour = kColSuggestion;
}

// A word written with "най-" (prefix of 4 characters) or "по-" (3 characters, `po`). False when
// nothing was written (the rest is known but LOAD_BG is off).
bool Report::prefixed(std::string_view w, std::string_view prefix, bool po) {
    const std::string_view rest = w.substr(prefix.size());
    const ListPair* e = in_row(B_BULGARIAN, rest);
    if (!e) {
        suggestions(rest, w.substr(0, prefix.size()));
        return true;
    }
    const bool qualifies = (TypeHasAscii(rest, ascii_adj) >= 0 || TypeHas(rest, 449) || TypeVerbANAT(rest)) &&
                           !(po && in_row(B_BULGARIAN_PO_NAI, rest));
    if (qualifies) {
        known = 1;
        rank.emplace(rest_of(e));
        text.assign(" -> ");
        text.append(rest);
        if (!gl_SPELLING_MODE) {
            std::string analysis;
            GetBgType(rest, analysis);
            if (e->has_rest()) {
                text += ' ';
                text.append(e->rest);
            }
            text += ' ';
            text += analysis;
        }
        return true;
    }
    if (OP[OPT_LOAD_BG].num_value == 0) return false;
    const std::string_view head = w.substr(0, prefix.size() - 1);  // "най" / "по" as typed
    std::string joined(head);
    joined.append(rest);
    text.assign(" -> ");
    if (listed(joined)) {
        text += joined;
        text += " | ";
    }
    text.append(head);
    text += ' ';
    text.append(rest);
    colour = kColSuggestion;
    known = 1;
    return true;
}

std::string counts_text(const Census& c, bool latin, bool digits) {
    std::string s = "mixed Cyrillic ";
    append_int(s, c.cyrillic());
    if (latin) {
        s += " Latin ";
        append_int(s, c.latin);
    }
    if (digits) {
        s += " digits ";
        append_int(s, c.digits);
    }
    return s;
}

bool starts_folded(std::string_view w, std::string_view prefix) {
    if (w.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (cp_fold_lower(static_cast<unsigned char>(w[i])) != static_cast<unsigned char>(prefix[i])) return false;
    return true;
}

}  // namespace

std::string replace_latin_lookalikes(std::string_view word) {
    std::string out(word);
    for (char& c : out) {
        const unsigned char r = kLookalike[static_cast<unsigned char>(c)];
        if (r) c = static_cast<char>(r);
    }
    return out;
}

std::string replace_letter_digits(std::string_view w) {
    std::string out;
    out.reserve(w.size());
    for (std::size_t i = 0; i < w.size(); ++i) {
        const char c = w[i];
        if (c != '4' && c != '6') {
            out += c;
            continue;
        }
        const bool capital = out.empty() ? i + 1 < w.size() && in(ascii_cyrillic_upper, w[i + 1])
                                         : in(ascii_cyrillic_upper, out.back());
        if (c == '6' && i + 1 < w.size() && (w[i + 1] == kTe || w[i + 1] == kTeCap)) {
            out += capital ? kShtCap : kSht;
            ++i;
        } else if (c == '6') {
            out += capital ? kShaCap : kSha;
        } else {
            out += capital ? kCheCap : kChe;
        }
    }
    return out;
}

namespace {

void write_lensug(std::string_view word, BgReport& r, bool suggestions) {
    std::string& text = r.text;
    std::uint32_t& colour = r.colour;
    Report out{word, r.text, r.colour, r.known, r.rank, r.ran_generator, suggestions};

    if (gl_TREAT_AS_UNKNOWN) {
        out.write(" -> ", kColUnknownAll);
        return;
    }
    // Most words are in b_bulgarian: its index starts reading while the small lists are asked.
    dictionary_index(B_BULGARIAN).prefetch(folded_key_hash(word));
    const ListPair* e = in_row(B_BULGARIAN_MISSPELLING, word);
    if (!e) e = in_row(B_BULGARIAN_MISSPELLING_FAST, word);
    if (e) {
        out.from_list(e, "", kColCorrection);
        return;
    }
    if ((e = in_row(B_BULGARIAN_DIALECT, word))) {
        out.from_list(e, " (dialect)", kColDialect);
        return;
    }
    if ((e = in_row(B_BULGARIAN_SYNONYM, word))) {
        out.from_list(e, " (better)", kColBetter);
        return;
    }
    if ((e = in_row(B_BULGARIAN_RISK, word))) {
        out.from_list(e, " (risk)", kColBetter);
        return;
    }
    if (in_row(B_BULGARIAN_CUSTOM, word) || in_row(B_BULGARIAN_NEW, word)) {
        text = in_row(B_BULGARIAN_CUSTOM, word) ? " (custom)" : " (new)";
        r.known = r.own = 1;
        return;
    }
    if (!gl_ALLWAYS_SUGGEST && (e = in_row(B_BULGARIAN, word))) {
        r.known = 1;
        r.rank.emplace(rest_of(e));
        // The analysis is asked only for a text that is wanted.
        if (!gl_SPELLING_MODE && suggestions) {
            std::string analysis;
            GetBgType(word, analysis);
            if (!analysis.empty()) {
                text = " ";
                if (e->has_rest()) {
                    text.append(e->rest);
                    text += ' ';
                }
                text += analysis;
            }
        }
        return;
    }

    // From here on the word is judged by its first kBgWordMax characters; the characters the census
    // walks give its letter counts and its length for the tests below.
    const std::string_view w = word.substr(0, std::min(word.size(), kBgWordMax));
    const Census c = take_census(w);
    r.has_latin = c.latin > 0;

    if (out.glued(w, c)) return;
    // Without the text, a word with Latin letters or digits is judged here: what the rules below
    // find for it (the lists' corrections, the generator's suggestions) decides only its text; but
    // for a number with a correct second part, which a suggestion for the whole word keeps from
    // being known.
    if (!suggestions && (c.latin || c.digits) && !(!c.latin && correct_second_part(w))) return;

    if (c.latin && !c.digits) {
        const std::string counts = " (" + counts_text(c, true, false) + ")";
        const std::string r = replace_latin_lookalikes(w);
        colour = kColRepaired;
        if (!(e = in_row(B_BULGARIAN_MISSPELLING, r))) e = in_row(B_BULGARIAN_MISSPELLING_FAST, r);
        if (e) {
            out.from_list(e, counts, kColRepaired);
        } else if (listed(r)) {
            out.write(" -> " + r + counts, kColRepaired);
        } else {
            const Suggestions sg = out.suggestions_for(r);
            if (sg.suggest_ct > 0)
                out.write(" -> " + sg.spelling_sh + counts, kColRepaired);
            else
                out.write(" -> no suggestions" + counts, gl_col_nosug);
        }
        return;
    }
    if (c.digits) {
        const bool latin = c.latin > 0;
        const std::string counts = counts_text(c, latin, true);
        const bool second_is_hyphen = c.length > 1 && w[1] == '-';
        std::string r = latin ? replace_latin_lookalikes(w) : std::string(w);
        if (!second_is_hyphen) r = replace_letter_digits(r);
        const std::string tail = latin ? " (" + counts + ")" : std::string();
        colour = kColRepaired;
        std::optional<Suggestions> of_r;  // the generator's answer for r, when asked
        if (latin || !second_is_hyphen) {
            if (!(e = in_row(B_BULGARIAN_MISSPELLING, r))) e = in_row(B_BULGARIAN_MISSPELLING_FAST, r);
            if (e) {
                out.from_list(e, tail, kColRepaired);
                return;
            }
            if (listed(r)) {
                out.write(" -> " + r + tail, kColRepaired);
                return;
            }
            of_r = out.suggestions_for(r);
            if (of_r->suggest_ct > 0) {
                out.write(" -> " + of_r->spelling_sh + tail, kColRepaired);
                return;
            }
        }
        if (out.number_rules(latin ? std::string_view(r) : w, latin, counts)) return;
        if (latin) {
            out.write(" -> no suggestions (" + counts + ")", gl_col_nosug);
            return;
        }
        // The generator's answer for the word: the one for r when r is the word.
        const Suggestions sg = of_r && r == w ? std::move(*of_r) : out.suggestions_for(w);
        if (sg.suggest_ct > 0)
            out.write(" -> " + sg.spelling_sh + " (" + counts + ")", kColRepaired);
        else
            out.write(" -> no suggestions (" + counts + ")", gl_col_nosug);
        return;
    }

    // Purely Cyrillic words.
    if (!gl_SPELL_UPPERCASE && !w.empty() && in(ascii_cyrillic_upper, w[0]) &&
        (c.cyr_upper == 1 ||
         (c.cyr_upper == 2 && c.length >= 3 && in(ascii_apos, w[1]) && in(ascii_cyrillic_upper, w[2])))) {
        text = " (uppercase, no spell checking)";
        r.upper_skipped = 1;
        return;
    }
    if (c.length >= 5) {
        if (starts_folded(w, kNai) && out.prefixed(w, kNai, false)) return;
        if (starts_folded(w, kPo) && out.prefixed(w, kPo, true)) return;
    }
    out.suggestions(w, {});
    return;
}

}  // namespace

BulgarianSpellingState bulgarian_spelling_state() {
    BulgarianSpellingState s;
    const std::span<const int> rows = spelling_dictionary_rows();
    for (std::size_t i = 0; i < rows.size(); ++i) s.index_builds.at(i) = dictionary_index(rows[i]).build_number();
    s.index_builds.at(rows.size()) = english_index(M_WL_ENGLISH2).build_number();
    s.options = {gl_SPELLING_MODE, gl_ALLWAYS_SUGGEST, gl_TREAT_AS_UNKNOWN, gl_SPELL_UPPERCASE,
                 OP[OPT_LOAD_BG].num_value, deep_spell_option()};
    s.forms = bgmul_bottom;
    s.form_count = bgmul_ct;
    return s;
}

BgReport get_lensug(std::string_view word, bool suggestions) {
    BgReport r;
    write_lensug(word, r, suggestions);
    return r;
}
