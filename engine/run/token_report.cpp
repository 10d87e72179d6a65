#include "engine/run/token_report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "engine/lookup_state.h"
#include "engine/run_state.h"
#include "lexicon/display.h"
#include "lexicon/english.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/token_frequency_index.h"
#include "shell/window_state.h"
#include "spelling/definitions.h"
#include "spelling/spell_state.h"
#include "spelling/token_report_en.h"
#include "spelling/unknown_bg.h"
#include "spelling/word_index.h"

namespace {

using kept_answers::bulgarian_answer;
using kept_answers::english_answer;
using kept_answers::english_lookups;
using kept_answers::EnglishLookups;
using kept_answers::in_list;
using kept_answers::in_row;
using kept_answers::list_index;

constexpr DWORD kColourBold = CFM_COLOR | CFM_BOLD;  // 0x40000001
constexpr int kAdjectiveLikeType = 147;              // type "78t": the compound parts' type
constexpr int kNeuterAdjectiveSlot = 5;              // the first part of a hyphenated compound

bool is(HWND a, HWND b) { return a && a == b; }

// The main window receives the per-token lines while the text-checker window is not the active
// one and the main window is shown.
bool main_window_shows() { return gl_SPELLING_MODE == 0 && IsWindowVisible(hMain); }

// The token as the text has it (its typographic apostrophe kept) and as the look-ups see it. The
// record's copy has the token's length (the look-up form differs from it only in that byte).
std::string_view written(const TokenScan& t) {
    return t.rec && t.rec->text ? std::string_view(t.rec->text, t.len) : std::string_view(t.token, t.len);
}
std::string_view look_up_form(const TokenScan& t) { return std::string_view(t.token ? t.token : "", t.len); }

// UTF-16 units of 8-bit text once it is in a panel: CR LF becomes one paragraph end.
LONG units(std::string_view s) {
    LONG n = static_cast<LONG>(s.size());
    for (std::size_t i = 0; i + 1 < s.size(); ++i)
        if (s[i] == '\r' && s[i + 1] == '\n') --n;
    return n;
}


// ---- Writing lines ---------------------------------------------------------------------------

// Starts a line at the panel's end with black, not bold as the insertion format, appends the
// text and n line ends, and returns where the text begins.
LONG write_line(HWND re, std::string_view text, int n) {
    CHARRANGE cr;
    SelectReEnd(re, cr);
    ColorRangeOn(re, cr.cpMin, cr.cpMin, kColourBold, 0, 0);
    JuxShowMessage(re, text, n);
    return cr.cpMin;
}

// Colours [from, to) of a line that begins at `start` (8-bit offsets into the line's text).
void colour(HWND re, LONG start, std::size_t from, std::size_t to, COLORREF c, bool bold) {
    if (to <= from) return;
    ColorRangeOn(re, start + static_cast<LONG>(from), start + static_cast<LONG>(to), kColourBold, c, bold ? 1 : 0);
}

// A line in one colour, bold.
void line_in(HWND re, std::string_view text, COLORREF c) {
    const LONG s = write_line(re, text, 1);
    colour(re, s, 0, static_cast<std::size_t>(units(text)), c, true);
}

// Colours the token in the source panel (never the main window's hidden copy of its entry box).
void colour_source(const RunContext& c, const TokenScan& t, COLORREF col) {
    if (is(c.source, hAddReShortCopy)) return;
    ColorRangeOn(c.source, t.pos, t.pos + static_cast<LONG>(t.len), kColourBold, col, 1);
}

// Colours the Latin letters of `word`, which begins at `start` of the panel, green and bold.
void colour_latin_letters(HWND re, LONG start, std::string_view word) {
    std::size_t i = 0;
    while (i < word.size()) {
        if (!ascii_latin[static_cast<unsigned char>(word[i])]) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < word.size() && ascii_latin[static_cast<unsigned char>(word[j])]) ++j;
        ColorRangeOn(re, start + static_cast<LONG>(i), start + static_cast<LONG>(j), kColourBold, kColMixedLatin, 1);
        i = j;
    }
}

std::string fmt_int(std::string_view text, const char* tail, long long v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, tail, v);
    return std::string(text) + buf;
}

// ---- Numbers -----------------------------------------------------------------------------

bool pane_open_for_numbers() { return gl_PRINT_FILTERED && main_window_shows(); }

void number_line(std::string_view token, std::string_view line) {
    const LONG s = write_line(hAddReSaved, line, 1);
    colour(hAddReSaved, s, 0, token.size(), kColNumber, true);
}

// ---- Bulgarian report ----------------------------------------------------------------------

bool starts_ci(std::string_view word, std::string_view prefix) {
    return word.size() >= prefix.size() && cp_strncasecmp(word, prefix, prefix.size()) == 0;
}

// An unknown word counts as capitalised with exactly one upper-case Cyrillic letter, the first, or
// with exactly two, the first and the third, an apostrophe between them.
bool capitalised_bg(std::string_view w, const TokenCounts& n) {
    auto up = [&](std::size_t i) { return i < w.size() && ascii_cyrillic_upper[static_cast<unsigned char>(w[i])]; };
    if (n.cyr_upper == 1) return up(0);
    if (n.cyr_upper == 2) return up(0) && up(2) && ascii_apos[static_cast<unsigned char>(w[1])];
    return false;
}

// The log of an unknown word by its letter case.
FILE* case_log(std::string_view w, const TokenCounts& n) {
    const std::uint32_t upper = n.cyr_upper + n.lat_upper;
    const std::uint32_t lower = n.cyr_lower + n.lat_lower;
    if (upper == 0) return fl_cyr_lower_only;
    if (lower == 0) return fl_cyr_upper_only;
    if (upper == 1 && !w.empty() && ascii_upper[static_cast<unsigned char>(w[0])]) return fl_cyr_first_upper;
    return fl_cyr_mixed;
}

// The spelling logs' lines are gathered per log and written in large pieces; the end of the scan
// writes what is left (before the run closes the logs).
struct PendingLog {
    FILE* f = nullptr;
    std::string bytes;
};
std::array<PendingLog, 8> g_logs;
constexpr std::size_t kLogPiece = 1u << 16;

void write_pending_logs() {
    for (PendingLog& l : g_logs) {
        if (l.f && !l.bytes.empty()) OutputCyr(l.bytes, 0, l.f);
        l = PendingLog{};
    }
}

void log_line(FILE* f, std::string_view token, std::string_view text) {
    if (!f) return;
    PendingLog* log = nullptr;
    for (PendingLog& l : g_logs)
        if (l.f == f || !l.f) {
            log = &l;
            break;
        }
    if (!log) {  // more logs than places: write this one's line at once
        std::string line(token);
        line += text;
        if (line.size() > kLogLineMax) line.resize(kLogLineMax);
        OutputCyr(line, 1, f);
        return;
    }
    log->f = f;
    const std::size_t from = log->bytes.size();
    log->bytes += token;
    log->bytes += text;
    if (log->bytes.size() - from > kLogLineMax) log->bytes.resize(from + kLogLineMax);
    log->bytes += "\r\n";
    if (log->bytes.size() >= kLogPiece) {
        OutputCyr(log->bytes, 0, f);
        log->bytes.clear();
    }
}

// The replaced typographic apostrophe goes back at the first apostrophe of the report text.
void put_back_apostrophe(const TokenScan& t, std::string& text) {
    if (!t.apos_replaced) return;
    const std::size_t at = text.find('\'');
    if (at != std::string::npos) text[at] = static_cast<char>(t.apos_replaced);
}

void bulgarian_report(RunContext& c, const TokenScan& t) {
    const std::string_view look = look_up_form(t);
    const std::string_view shown = written(t);
    const bool on_pane = c.processed <= kPaneBulgarianTokens && main_window_shows();
    const BgReport& answer = bulgarian_answer(look, on_pane || cyr_logs_open);
    // The report's text, with the token's own apostrophe put back (a copy only then).
    std::string restored;
    std::string_view text = answer.text;
    if (t.apos_replaced && text.find('\'') != std::string_view::npos) {
        restored = answer.text;
        put_back_apostrophe(t, restored);
        text = restored;
    }
    const std::uint32_t text_colour = answer.colour;
    const std::uint8_t has_latin = answer.has_latin, known = answer.known, upper_skipped = answer.upper_skipped,
                       own = answer.own;
    const std::string_view rank = answer.rank ? std::string_view(*answer.rank) : std::string_view("0");

    COLORREF pane = kColKnownBg;
    if (known && gl_COLOR_RARE) {
        COLORREF col = 0;
        if (rare_word_colour(!rank.empty(), rank_of_text(rank), look.find('.') != std::string_view::npos, col))
            colour_source(c, t, col);
    } else if (known || upper_skipped) {
        // accepted as it stands
    } else if (OP[OPT_LOAD_BG].num_value != 0 && bulgarian_compound_known(look)) {
        // accepted as a compound
    } else {
        pane = capitalised_bg(shown, t.n) ? kColUnknownCap : kColUnknown;
        if (gl_TEXT_COLORING && !gl_TREAT_AS_UNKNOWN && !gl_ALLWAYS_SUGGEST) {
            colour_source(c, t, pane);
            if (has_latin && !is(c.source, hAddReShortCopy)) colour_latin_letters(c.source, t.pos, look);
        }
        if (cyr_logs_open) {
            log_line(fl_cyr_missing, shown, text);
            log_line(case_log(shown, t.n), shown, text);
        }
        PutInG(shown);
    }

    if (on_pane) {
        const LONG s = write_line(hAddReSaved, shown, 0);
        colour(hAddReSaved, s, 0, shown.size(), pane, true);
        if (has_latin) colour_latin_letters(hAddReSaved, s, shown);
        const LONG r = write_line(hAddReSaved, text, 1);
        colour(hAddReSaved, r, 0, static_cast<std::size_t>(units(text)), upper_skipped || own ? kColOwnLabel : text_colour,
               false);
    }
    if (cyr_logs_open) log_line(fl_cyr_all, shown, text);
}

// ---- English report -----------------------------------------------------------------------

// Rank from wl_english: its number, 500,000 for a listed word without rank text, 0 when unlisted.
std::int32_t english_rank(std::string_view word) {
    if (word.empty()) return 0;
    const WordIndex& english = list_index(M_WL_ENGLISH);
    const std::ptrdiff_t i = english.find(word);
    return i < 0 ? 0 : english.rank(static_cast<std::size_t>(i));  // the rank of the entry's rest
}
bool filtered(std::int32_t rank) { return rank != 0 && rank <= gl_RANK_FILTER; }

// The English word list of the text (instance 1 of family 3).
void english_list_add(const TokenScan& t) {
    if (t.has_apos) {
        if (gl_ENGLIST_SKIP_APOS2) return;
        if (gl_ENGLIST_SKIP_APOS1) {
            const std::string_view look = look_up_form(t);
            const std::size_t at = look.rfind('\'');
            if (at != std::string_view::npos && at != 0) {
                const std::string_view tail = look.substr(at + 1);
                for (std::string_view e : {"s", "d", "ll", "ve", "re"})
                    if (tail.size() == e.size() && cp_strncasecmp(tail, e, e.size()) == 0) {
                        PutInG3(1, look.substr(0, at));
                        return;
                    }
            }
        }
    }
    PutInG3(1, written(t));
}

// An entry of b_en-bg on the pane: one coloured line with its definition shortened for the call,
// or "+bg, but no definition".
void pane_entry(const ListPair& e, std::u16string_view word, bool from_key, std::int32_t rank) {
    if (!e.has_rest()) {
        const std::string w = from_key ? std::string(e.key) : utf16_to_cp1251(word);
        const LONG s = write_line(hAddReSaved, w + " +bg, but no definition", 1);
        colour(hAddReSaved, s, 0, w.size() + 23, gl_col_nosug, false);
        return;
    }
    const ListPair shortened{e.key, shorten_definition(e.rest, defcut, kPaneDefinitionLimit)};
    WriteOneColoredLine(hAddReSaved, shortened, word, rank, from_key ? 1 : 0);
    restore_definition(defcut);
}

// "word -> " in the arrow's colour, at the start of a line that an entry line then ends.
void arrow_to(HWND re, std::string_view word, COLORREF col) {
    const LONG s = write_line(re, std::string(word) + " -> ", 0);
    colour(re, s, 0, word.size(), col, true);
}

// A correct word's entry on the pane, with the entry its definition refers to.
void pane_known_word(std::string_view shown, const ListPair& e, std::int32_t rank) {
    pane_entry(e, cp1251_to_utf16(shown), false, rank);
    if (!e.has_rest()) return;
    std::string stem;
    GetStem(e.rest, stem);
    if (stem.empty() || cp_strcasecmp(stem, shown) == 0) return;
    const ListPair* s = in_row(B_EN_BG, stem);
    if (!s) return;
    arrow_to(hAddReSaved, shown, kColStemArrow);
    pane_entry(*s, {}, true, english_rank(stem));
}

// A word known only from the English word lists: the same line into the short pane and the
// saved pane.
void word_list_lines(std::string_view shown, bool derived, std::string_view word, const ListPair& e,
                     std::int32_t rank) {
    const std::string rank_text = std::to_string(rank);
    std::string rest;
    if (e.has_rest()) {
        rest = std::string(shorten_definition(e.rest, defcut, kPaneDefinitionLimit));
        restore_definition(defcut);
    }
    std::string line(word);
    std::size_t rank_from = 0, rank_to = 0;
    if (gl_PRINT_RANK_IN_ONELINE) {
        line += ' ';
        rank_from = line.size();
        line += rank_text;
        rank_to = line.size();
    }
    line += e.has_rest() ? " " + rest : std::string(" +en2, but no definition");
    for (HWND re : {hAddReShort3, hAddReSaved}) {
        if (derived) arrow_to(re, shown, kColDerivedArrow);
        const LONG s = write_line(re, line, 1);
        colour(re, s, 0, word.size(), kColWordList, true);
        if (rank_to > rank_from) colour(re, s, rank_from, rank_to, kColFiltered, true);
        const std::size_t rest_from = std::max(word.size(), rank_to);
        colour(re, s, rest_from, static_cast<std::size_t>(units(line)), kColWordList, false);
    }
}

// The capitalisation rule of unknown English words: a word that begins with a capital is checked
// only while SPELL_UPPERCASE is set.
bool spell_checked(std::string_view shown) {
    return gl_SPELL_UPPERCASE || shown.empty() || !ascii_upper[static_cast<unsigned char>(shown[0])];
}

// The report panel's line of an unknown word (ENGLIST_UNGROUPED): its word part coloured, the
// rest in the line's colour, the caret at its start.
void ungrouped_line(HWND report, std::string_view line, std::size_t word_len, COLORREF word_col,
                    COLORREF rest_col, bool rest_coloured) {
    const LONG s = write_line(report, line, 1);
    colour(report, s, 0, word_len, word_col, true);
    if (rest_coloured) colour(report, s, word_len, static_cast<std::size_t>(units(line)), rest_col, false);
    RE_SetSel(report, CHARRANGE{s, s});
}

// Whether a misspelt word's ungrouped line shows it as a capitalised word: upper-case Latin
// letter followed by a small Latin letter, by an apostrophe and a capital, or by a hyphen.
bool capitalised_en(std::string_view w) {
    if (w.size() < 2 || !ascii_latin_upper[static_cast<unsigned char>(w[0])]) return false;
    const unsigned char n = static_cast<unsigned char>(w[1]);
    if (ascii_latin_lower[n] || n == '-') return true;
    return ascii_apos[n] && w.size() > 2 && ascii_upper[static_cast<unsigned char>(w[2])];
}

// The part of a token after its last dot is a web ending of b_web_skip.
bool web_ending(std::string_view w) {
    // Searched from the end by the library, many bytes a step: a token may be millions of letters.
    const void* dot = w.empty() ? nullptr : memrchr(w.data(), '.', w.size());
    return dot && in_row(B_WEB_SKIP, w.substr(static_cast<std::size_t>(static_cast<const char*>(dot) - w.data()) + 1));
}

// Unknown English words (`deriv`: a word with an apostrophe as its ending judges it). Returns true
// when the word turns out correct after all.
bool english_unknown(RunContext& c, const TokenScan& t, const EnglishLookups& known, bool pane, std::string_view deriv) {
    const std::string_view look = look_up_form(t);
    const std::string_view shown = written(t);
    const std::int32_t rank = known.rank;
    if (filtered(rank)) {
        if (gl_PRINT_FILTERED && pane) line_in(hAddReSaved, fmt_int(shown, " %lld", rank), kColFiltered);
        return false;
    }
    const bool derived = t.has_apos && cp_strcasecmp(deriv, look) != 0;
    const std::string_view word = derived ? deriv : look;
    // The look-up form's own entries were asked with its hash.
    const ListPair* le = derived ? in_list(M_WL_ENGLISH2, word) : in_list(M_WL_ENGLISH2, look, known);
    if (!le) le = derived ? in_list(M_WL_ENGLISH, word) : known.english;
    if (le) {
        if (gl_TEXT_COLORING && !gl_COLOR_RARE) colour_source(c, t, kColWordList);
        if (pane) word_list_lines(shown, derived, derived ? word : shown, *le, english_rank(word));
        return false;
    }
    if (t.has_apos) {
        const std::string line = std::string(shown) + " & " + std::string(deriv) + "  --- both not found ---";
        const std::size_t head = shown.size() + 3;
        LONG s = 0;
        if (pane) {
            s = write_line(hAddReSaved, line, 1);
            colour(hAddReSaved, s, 0, head, kColUnknown, true);
        }
        if (spell_checked(shown)) {
            if (gl_TEXT_COLORING) colour_source(c, t, kColUnknown);
        } else {
            if (pane) colour(hAddReSaved, s, 0, head, kColKnownBg, true);
            return false;
        }
        if (!gl_ENGLIST_ALL) english_list_add(t);
        if (gl_ENGLIST_UNGROUPED) ungrouped_line(c.report, line, shown.size(), kColUnknown, 0, false);
        return false;
    }
    if (t.len == 1) {
        if (gl_PRINT_FILTERED && pane) line_in(hAddReSaved, std::string(shown) + " (single character)", kColFiltered);
        if (gl_TEXT_COLORING) colour_source(c, t, kColUnknown);
        return false;
    }
    if (in_list(M_WL_WEBSITE, look, known) || web_ending(look) || in_row(B_ENGLISH_SKIP, look, known)) return true;

    // Misspelt.
    if (!gl_ENGLIST_ALL) english_list_add(t);
    // The suggestions are asked for only when a line shows them.
    const bool checked = spell_checked(shown);
    if (!pane && !(checked && gl_ENGLIST_UNGROUPED)) {
        if (checked && gl_TEXT_COLORING) colour_source(c, t, kColUnknown);
        return false;
    }
    const EnglishAnswer& answer = english_answer(look);
    const bool none = answer.none();
    const std::string line = std::string(shown) + " -> " + (none ? std::string("no suggestions") : answer.spelling_sh);
    const COLORREF line_col = none ? gl_col_nosug : kColSuggestionLine;
    LONG s = 0;
    if (pane) {
        s = write_line(hAddReSaved, line, 1);
        colour(hAddReSaved, s, 0, shown.size(), kColUnknown, true);
        colour(hAddReSaved, s, shown.size(), static_cast<std::size_t>(units(line)), line_col, false);
    }
    if (checked) {
        if (gl_TEXT_COLORING) colour_source(c, t, kColUnknown);
    } else {
        if (pane) colour(hAddReSaved, s, 0, shown.size(), kColKnownBg, true);
        return false;
    }
    if (gl_ENGLIST_UNGROUPED) {
        const COLORREF word_col = c.length > 2 && capitalised_en(shown) ? kColUnknownCap : kColUnknown;
        ungrouped_line(c.report, line, shown.size(), word_col, line_col, true);
    }
    return false;
}

void english_report(RunContext& c, const TokenScan& t) {
    const std::string_view look = look_up_form(t);
    // The token as written, read only for the lines that show it (most known words show none).
    const auto shown = [&t] { return written(t); };
    const bool pane = c.processed <= kPaneEnglishTokens && main_window_shows();
    if (gl_ENGLIST_ALL) english_list_add(t);
    const EnglishLookups known = english_lookups(look);
    const std::int32_t rank = known.rank;

    bool correct = false;
    std::string deriv, deriv_labels;  // the word as its apostrophe ending judges it, and its set labels
    if (const ListPair* e = known.en_bg) {
        correct = true;
        if (pane) {
            if (filtered(rank)) {
                if (gl_PRINT_FILTERED) line_in(hAddReSaved, fmt_int(shown(), " %lld", rank), kColFiltered);
            } else {
                pane_known_word(shown(), *e, rank);
            }
        }
    } else if (t.has_apos) {
        isapostrophe(look, deriv, deriv_labels);
        const std::int32_t derived_rank = english_rank(deriv);
        if (filtered(derived_rank)) {
            if (gl_PRINT_FILTERED && main_window_shows())
                line_in(hAddReSaved, fmt_int(std::string(shown()) + " -> " + deriv, " %lld", derived_rank),
                        kColFiltered);
            correct = true;
        } else if (const ListPair* d = in_row(B_EN_BG, deriv)) {
            if (pane) {
                arrow_to(hAddReSaved, shown(), kColStemArrow);
                pane_entry(*d, cp1251_to_utf16(deriv), false, derived_rank);
            }
            correct = true;
        }
    }
    if (!correct) correct = english_unknown(c, t, known, pane, deriv);
    if (!correct || !gl_PRINT_ALL_LATIN) return;
    const std::string_view w = shown();
    const LONG s = write_line(c.report, std::string(w) + " -> correct", 1);
    colour(c.report, s, 0, w.size(), kColCorrect, true);
    colour(c.report, s, w.size(), w.size() + 11, kColFiltered, true);
    RE_SetSel(c.report, CHARRANGE{s, s});
    if (gl_TEXT_COLORING) colour_source(c, t, kColCorrect);
}

}  // namespace

std::string gap_display_text(std::string_view gap) {
    struct Shown {
        std::string_view gap, display;
    };
    static constexpr Shown kTable[] = {
        {" ", ""},
        {", ", ", "},
        {". ", ". "},
        {"\r\n", "NL"},
        {",\n", ",\r\nNL"},
        {",\r", ",\r\nNL"},
        {",\r\n", ",\r\nNL"},
        {",\r\n\r\n", ",\r\nNL\r\nNL"},
        {".\n", ".\r\nNL"},
        {".\r", ".\r\nNL"},
        {".\r\n", ".\r\n"},
        {".\r\n\r\n", ".\r\nNL\r\nNL"},
        {".'\r\n", ".'\r\nNL"},
    };
    for (const Shown& s : kTable)
        if (gap == s.gap) return std::string(s.display);
    return std::string(gap);
}

std::string separated_number_line(std::string_view token, std::uint32_t dots, std::uint32_t commas) {
    char buf[128];
    if (commas == 0) {
        if (dots == 1)
            std::snprintf(buf, sizeof buf, " (number with 1 decimal separator . )");
        else if (dots == 3)
            std::snprintf(buf, sizeof buf, " (number with 3 decimal separators . IP?)");
        else
            std::snprintf(buf, sizeof buf, " (number with %u decimal separators . )", dots);
    } else if (dots == 0) {
        if (commas == 1)
            std::snprintf(buf, sizeof buf, " (number with 1 decimal separator , )");
        else
            std::snprintf(buf, sizeof buf, " (number with %u decimal separators , )", commas);
    } else {
        std::snprintf(buf, sizeof buf, " (number with mixed decimal separators: %u . and %u , )", dots, commas);
    }
    return std::string(token) + buf;
}

bool rare_word_colour(bool has_rank, std::int32_t rank, bool has_dot, COLORREF& colour) {
    if (!has_rank) {
        if (has_dot) return false;
        colour = kColRareNoRank;
        return true;
    }
    if (rank < gl_RANK_RARE) return false;
    switch (rank) {
        case 4'996: colour = RGB(0, 127, 0); return true;
        case 4'997: colour = RGB(23, 69, 179); return true;
        case 4'998: colour = RGB(0, 152, 255); return true;
        case 4'999: colour = RGB(0, 230, 255); return true;
        default: break;
    }
    if (rank <= 4'995) {
        colour = RGB(113, 159, 49);
        return true;
    }
    // A rank of 5,000 or more keeps the word's colour.
    return false;
}

bool bulgarian_compound_known(std::string_view w) {
    // A hyphenated pair: "научно-технически".
    const std::size_t hyphen = w.find('-');
    if (hyphen != std::string_view::npos && w.size() - hyphen - 1 > 3) {
        const std::string_view first = w.substr(0, hyphen), second = w.substr(hyphen + 1);
        NounAdjInfo info;
        if (TypeHas(first, kAdjectiveLikeType) && TypeHas(second, kAdjectiveLikeType) &&
            GetAdjInfo(info, -1, first) == 1 && info.slot == kNeuterAdjectiveSlot)
            return true;
    }
    static const std::array<std::string, 7> intensifying = {
        utf8_to_cp1251("полу"),  utf8_to_cp1251("псевдо"), utf8_to_cp1251("супер"), utf8_to_cp1251("хипер"),
        utf8_to_cp1251("ултра"), utf8_to_cp1251("свръх"),  utf8_to_cp1251("мега")};
    static const std::array<std::string, 7> directions = {
        utf8_to_cp1251("ново"),    utf8_to_cp1251("старо"),   utf8_to_cp1251("древно"), utf8_to_cp1251("източно"),
        utf8_to_cp1251("западно"), utf8_to_cp1251("северно"), utf8_to_cp1251("южно")};
    // A prefixed word has more than five letters after its prefix (most words are too short for
    // any prefix, and are not compared with them).
    for (const std::string& p : intensifying) {
        if (w.size() <= p.size() + 5 || !starts_ci(w, p)) continue;
        const std::string_view rest = w.substr(p.size());
        if (!starts_ci(rest, p) && TypeHasAscii(rest, ascii_adj) >= 0) return true;
    }
    for (const std::string& p : directions) {
        if (w.size() <= p.size() + 5 || !starts_ci(w, p)) continue;
        const std::string_view rest = w.substr(p.size());
        if (!starts_ci(rest, p) && TypeHas(rest, kAdjectiveLikeType) &&
            ascii_cyrillic_lower[static_cast<unsigned char>(w[0])])
            return true;
    }
    return false;
}

void token_report_gap(RunContext& c, const TokenScan& t) {
    (void)c;
    if (!gl_PRINT_FILTERED || !t.rec || !t.rec->gap || !*t.rec->gap) return;
    const std::string shown = gap_display_text(t.rec->gap);
    if (shown.empty() || !main_window_shows() || IsWindowVisible(hAddTransSir)) return;
    line_in(hAddReSaved, shown, kColNumber);
}

void token_report(RunContext& c, const TokenScan& t) {
    const std::string_view look = look_up_form(t);
    // Only a token that starts with a character a number holds can be one: a word goes on at once.
    const bool may_be_number = look.empty() || number_char(static_cast<unsigned char>(look[0]));
    if (may_be_number && IsDigitsOnly(look)) {
        const std::string_view shown = written(t);
        if (pane_open_for_numbers()) number_line(shown, std::string(shown) + " (number)");
        return;
    }
    if (may_be_number && IsNumber(look) && (t.n.dots > 0 || t.n.commas > 0)) {
        const std::string_view shown = written(t);
        if (pane_open_for_numbers()) number_line(shown, separated_number_line(shown, t.n.dots, t.n.commas));
        return;
    }
    if (t.n.digits > 0 && t.n.cyr == 0) {
        const std::string_view shown = written(t);
        if (main_window_shows() && !IsWindowVisible(hAddTransSir))
            number_line(shown, std::string(shown) + " (has digit(s), skipped)");
        if (gl_TEXT_COLORING) colour_source(c, t, kColNumber);
        return;
    }
    if (t.n.cyr > 0)
        bulgarian_report(c, t);
    else if (gl_PARSE_LATIN_WORDS)
        english_report(c, t);
}

void token_report_begin_run() {
    write_pending_logs();
    kept_answers_begin_run();
}

void token_report_end_scan() {
    write_pending_logs();
    kept_answers_end_scan();
}
