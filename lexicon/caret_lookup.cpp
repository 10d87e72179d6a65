// The look-up of the word under the caret (GetCleanToken), the context lines of a word in a panel
// and the whole-word test of a found range.
#include <algorithm>
#include <span>

#include "lexicon/bgtypes.h"
#include "lexicon/corpora.h"
#include "lexicon/english.h"
#include "lexicon/morphology.h"
#include "lexicon/panel_writing.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "lexicon/wordclass.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/lists.h"
#include "shell/files.h"
#include "shell/settings.h"

namespace {

// The last look-up written, so that a caret move inside the same word does not write it again.
struct LastLookUp {
    HWND source{};
    HWND out{};
    std::string word;
    LONG out_length = -1;  // the output panel's length after the look-up
};
LastLookUp g_last;

constexpr char16_t kMiddleDot = u'\u00B7';

// A selection longer than any list key (Ctrl+A in a long text, a click inside a long run of
// letters) is shown by its first characters and an ellipsis: written whole, it would only be
// laid out again in the output panel, twice (heading and context line), for nothing to find.
constexpr std::size_t kLongSelectionShown = 1'000;

bool token_char(char16_t c) {
    unsigned char b = 0;
    return wchar_to_cp1251(c, b) && ascii_valid[b];
}

// A character of a word: a token character that is no apostrophe, hyphen or quotation mark.
bool word_char(char16_t c) {
    unsigned char b = 0;
    if (!wchar_to_cp1251(c, b) || !ascii_valid[b] || ascii_aposhyp[b]) return false;
    return b != '"' && b != 132 && b != 147 && b != 148 && b != 171 && b != 187;
}

bool apostrophe_or_hyphen(char16_t c) {
    unsigned char b = 0;
    return wchar_to_cp1251(c, b) && ascii_aposhyp[b];
}

bool glued_mark(char16_t c) { return c == u'.' || c == u',' || c == u'?' || c == u'!' || c == u';' || c == u':'; }

bool same_apostrophe_class(char16_t a, char16_t b) {
    auto apos = [](char16_t c) { return c == u'\'' || c == u'`' || c == u'\u2018' || c == u'\u2019'; };
    return a == b || (apos(a) && apos(b));
}

// Typographic apostrophes written "'", as the dictionaries' keys have them.
void plain_apostrophes(std::string& w) {
    for (char& c : w) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b == 0x91 || b == 0x92 || b == '`') c = '\'';
    }
}

// The token of the panel's store under the caret, when the store still holds the panel's text
// there and the selection does not reach beyond the token.
bool store_word(HWND panel, std::string& word) {
    if (!store_token_hook) return false;
    const CHARRANGE sel = RE_GetSel(panel);
    std::string token;
    LONG start = 0;
    if (!store_token_hook(panel, sel.cpMin, token, start) || token.empty()) return false;
    const std::u16string t16 = cp1251_to_utf16(token);
    const LONG end = start + static_cast<LONG>(t16.size());
    if (sel.cpMin < start || sel.cpMax > end) return false;
    const std::u16string shown = RE_GetTextRange(panel, CHARRANGE{start, end});
    if (shown.size() != t16.size()) return false;
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (!same_apostrophe_class(shown[i], t16[i])) return false;
    word = token;
    return true;
}

HWND output_panel(HWND source, bool& resplit_info) {
    resplit_info = false;
    if (gl_PRINT_DOWN && source == hInfoReTop) return hInfoReBot;
    if (gl_PRINT_DOWN && source == hBigReBot && IsWindow(hInfo)) {
        resplit_info = true;
        return hInfoReBot;
    }
    const HWND out = gl_PRINT_DOWN ? hBigReBot : hBigReLeft;
    if (!IsWindow(out) && IsWindow(hInfo) && source != hInfoReTop) return hInfoReTop;
    return out;
}

void write_bulgarian(HWND out, const std::string& word) {
    std::string analysis;
    GetBgType(word, analysis);
    if (!analysis.empty()) append8(out, analysis + "\r", kColBrown, false);
    // Rank and English text of the form, else of its lemma.
    std::string lemma;
    GetBgLemma(word, -1, lemma);
    auto find_either = [&](int row) -> const ListPair* {
        const std::span<const ListPair> list(b[static_cast<size_t>(row)].entries);
        const ListPair* p = find_pair(list, word);
        return p || lemma.empty() ? p : find_pair(list, lemma);
    };
    if (const ListPair* p = find_either(B_BULGARIAN))
        append8(out, "rank: " + std::string(p->has_rest() ? p->rest : std::string_view("-")) + "\r", kColGrey, false);
    if (const ListPair* p = find_either(B_BULGARIAN_ENGLISH))
        if (p->has_rest()) append8(out, std::string(p->rest) + "\r", 0, false);
    PrintBgTypeAuto(out, word);
}

void write_english(HWND out, const std::string& word) {
    const int rank = GetRankInt(word);
    if (rank < 1'000'000) append8(out, jux_format("rank: %d\r", rank), kColGrey, false);
    std::string meanings;
    concatenate_c_words_vert(key_form(word), meanings, 0);
    if (!meanings.empty()) append8(out, meanings, kColBrown, false);
    print_multiline_english_definition_to_re(out, word);
    print_corpus1_data(out, word);
    print_corpus2_data(out, word);
    print_English_definition(out, word, 1);
}

}  // namespace

std::string word_at_caret(HWND panel) {
    const CHARRANGE sel = RE_GetSel(panel);
    if (sel.cpMax > sel.cpMin) {
        std::string s = RE_GetTextEx(panel, CP_1251, GT_SELECTION);
        const size_t a = s.find_first_not_of(" \t\r\n");
        if (a == std::string::npos) return "";
        const size_t z = s.find_last_not_of(" \t\r\n");
        return s.substr(a, z - a + 1);
    }
    const std::u16string text = RE_GetTextW(panel);
    size_t b = std::min(static_cast<size_t>(std::max<LONG>(sel.cpMin, 0)), text.size());
    size_t e = b;
    while (b > 0 && token_char(text[b - 1])) --b;
    while (e < text.size() && token_char(text[e])) ++e;
    std::string w = utf16_to_cp1251(std::u16string_view(text).substr(b, e - b));
    // Apostrophes and hyphens at the edges belong to the text around the word.
    std::size_t from = 0;
    while (from < w.size() && ascii_aposhyp[static_cast<unsigned char>(w[from])]) ++from;
    w.erase(0, from);
    while (!w.empty() && ascii_aposhyp[static_cast<unsigned char>(w.back())] && w.back() != '\'') w.pop_back();
    return w;
}

void GetCleanToken(HWND panel, int mode) {
    if (GetCleanTokenAudio_hook) GetCleanTokenAudio_hook(panel);
    if (!gl_BIG_ACTIVE || !IsWindow(panel)) return;
    bool resplit_info = false;
    const HWND out = output_panel(panel, resplit_info);
    if (!IsWindow(out) || out == panel) return;
    std::string word;
    if (mode == 0 || !store_word(panel, word)) word = word_at_caret(panel);
    plain_apostrophes(word);
    if (word.empty()) return;
    if (!gl_inc_method && g_last.source == panel && g_last.out == out && g_last.word == word &&
        g_last.out_length == RE_GetTextLength(out))
        return;

    if (resplit_info && size_info_ratio_hook) size_info_ratio_hook(hInfo, 0.6);
    if (out == hInfoReTop) gl_info_printed = 1;
    {
        QuietPanel quiet(out);
        RE_SetTextW(out, u"");
        // A text longer than a list line is no key of any list: nothing to look up, suggest or
        // show the context of.
        const bool no_key = word.size() > kMaxListLine;
        append8(out, no_key ? word.substr(0, kLongSelectionShown) + "\x85" : word, kColOneLineWord, true);
        append(out, u"\r", 0, false);
        if (find_bg_part_hook) find_bg_part_hook(word.c_str());
        if (!no_key) {
            const unsigned char first = static_cast<unsigned char>(word[0]);
            if (ascii_cyrillic[first] || (first >= 0x80 && !ascii_latin[first]))
                write_bulgarian(out, word);
            else
                write_english(out, word);
            // Where the word stands in the text it was taken from.
            const bool phrase =
                std::any_of(word.begin(), word.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
            append(out, u"\r", 0, false);
            const HWND text = panel != hBgTextRe && IsWindow(hBigReRight) ? hBigReRight : panel;
            print_context(cp1251_to_utf16(word), text, out, phrase ? FR_MATCHCASE : FR_WHOLEWORD, phrase,
                          kLookUpContextLines);
        }
    }
    g_last = LastLookUp{panel, out, word, RE_GetTextLength(out)};
}

int print_context(std::u16string_view word, HWND source, HWND out, DWORD find_flags, bool phrase, int max_lines) {
    if (word.empty() || !IsWindow(source) || !IsWindow(out)) return 0;
    const std::u16string text = RE_GetTextW(source);
    const LONG length = static_cast<LONG>(text.size());
    const DWORD flags = FR_DOWN | (find_flags & FR_MATCHCASE) | (phrase ? 0 : (find_flags & FR_WHOLEWORD));
    QuietPanel quiet(out);
    int lines = 0;
    LONG from = 0;
    while (from < length && (max_lines == 0 || lines < max_lines)) {
        const std::optional<CHARRANGE> found = RE_FindText(source, flags, CHARRANGE{from, -1}, word);
        if (!found || found->cpMax <= found->cpMin) break;
        from = found->cpMax;
        if (phrase && !is_surrounded_by_vaild(source, *found, length)) {
            from = found->cpMin + 1;
            continue;
        }
        const LONG a = std::max<LONG>(0, found->cpMin - kContextWidth);
        const LONG z = std::min(length, found->cpMax + kContextWidth);
        std::u16string line = text.substr(static_cast<std::size_t>(a), static_cast<std::size_t>(z - a));
        for (char16_t& c : line)
            if (c == u'\r' || c == u'\n') c = kMiddleDot;
        const LONG at = append(out, line, 0, false);
        ColorRangeOn(out, at + (found->cpMin - a), at + (found->cpMax - a), 0x40000001, kColContextMatch, 1);
        append(out, u"\r", 0, false);
        ++lines;
    }
    return lines;
}

int is_surrounded_by_vaild(HWND re, CHARRANGE found, LONG text_length) {
    const LONG a = std::max<LONG>(0, found.cpMin);
    const LONG e = std::min(text_length, found.cpMax);
    if (e <= a) return 0;
    const LONG from = std::max<LONG>(0, a - 2);
    const LONG to = std::min(text_length, e + 2);
    const std::u16string t = RE_GetTextRange(re, CHARRANGE{from, to});
    auto at = [&](LONG p) -> char16_t {
        const std::size_t i = static_cast<std::size_t>(p - from);
        return p >= from && p < to && i < t.size() ? t[i] : u'\0';
    };
    const char16_t first = at(a), last = at(e - 1);
    // Before the range.
    if (a > 0) {
        const char16_t c = at(a - 1);
        if (word_char(c)) return 0;
        const bool beyond = a >= 2 && word_char(at(a - 2));
        if (apostrophe_or_hyphen(c) && beyond && word_char(first)) return 0;
        if (glued_mark(c) && beyond && word_char(first)) return 0;
    }
    // After the range.
    if (e < text_length) {
        const char16_t c = at(e);
        if (word_char(c)) return 0;
        const bool beyond = e + 1 < text_length && word_char(at(e + 1));
        if (apostrophe_or_hyphen(c) && beyond && word_char(last)) return 0;
        if (glued_mark(c) && beyond && word_char(last)) return 0;
        if (c == u'.' && word_char(last)) {
            // The last word with this dot may be an abbreviation, which the dot belongs to.
            const std::u16string range = RE_GetTextRange(re, CHARRANGE{a, e});
            std::size_t w = range.size();
            while (w > 0 && word_char(range[w - 1])) --w;
            std::string key = utf16_to_cp1251(std::u16string_view(range).substr(w));
            key += '.';
            if (find_pair(b[B_BULGARIAN].entries, key)) return 0;
        }
    }
    return 1;
}

void reset_caret_lookup() { g_last = LastLookUp{}; }
