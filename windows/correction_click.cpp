#include "windows/correction_click.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "engine/run/run.h"
#include "lexicon/display.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "windows/checker_state.h"

namespace {

constexpr DWORD kColourBold = CFM_COLOR | CFM_BOLD;
constexpr int kMachineCount = 1'298;  // the machine-translation window's count label
constexpr char16_t kMiddleDot = 0x00B7;
constexpr char16_t kSingleGuillemet = 0x203A;

bool is_digit(char ch) { return ch >= '0' && ch <= '9'; }

bool has_line_break(std::u16string_view w) { return w.find(u'\r') != std::u16string_view::npos; }

// A phrase entry writes line breaks as middle dots and tabs as single guillemets.
void unmark_phrase(std::u16string& s) {
    for (char16_t& ch : s) {
        if (ch == kMiddleDot) ch = u'\r';
        else if (ch == kSingleGuillemet) ch = u'\t';
    }
}

void oops(std::u16string_view text) { MessageBoxW(hBig, text, u"Oops!", MB_OK | MB_ICONERROR); }

void line_break_message(std::u16string_view word) {
    oops(u"\"" + std::u16string(word) + u"\" " + utf8_to_utf16("е на два реда, коригирайте го ръчно в десния панел."));
}

// What a click on a report line names.
struct ParsedLine {
    std::size_t word_from = 0, word_to = 0;  // the word, in the line
    std::optional<std::size_t> suggestion;   // where the clicked suggestion begins
    bool number_click = false;               // the click fell on the number of a numbered entry
};

// The length of the number prefix "digits. " of a line, or 0.
std::size_t number_prefix(std::string_view line) {
    std::size_t d = 0;
    while (d < line.size() && is_digit(line[d])) ++d;
    if (d == 0 || d + 1 >= line.size() || line[d] != '.' || line[d + 1] != ' ') return 0;
    return d + 2;
}

ParsedLine parse_line(std::string_view line, std::size_t column) {
    ParsedLine p;
    const std::size_t arrow = line.find(" -> ");
    const std::size_t prefix = number_prefix(line);
    bool prefix_met = false;
    if (!line.empty()) {
        for (std::size_t k = std::min(column, line.size() - 1) + 1; k-- > 0;) {
            if (line[k] != ' ') continue;
            if (prefix && k + 1 == prefix) {
                prefix_met = true;
                break;
            }
            if (!p.suggestion && k >= 1 && (line[k - 1] == '>' || line[k - 1] == '|') && arrow != std::string_view::npos &&
                k >= arrow + 3)
                p.suggestion = k + 1;
        }
    }
    p.word_from = prefix_met ? prefix : 0;
    std::size_t end = line.size();
    const std::size_t at = line.find(" ->", p.word_from);
    if (at != std::string_view::npos) {
        end = at;
        // The count form: "word  12 ->".
        std::size_t d = at;
        while (d > p.word_from && is_digit(line[d - 1])) --d;
        if (d < at && d >= p.word_from + 2 && line[d - 1] == ' ' && line[d - 2] == ' ' &&
            (d - 2 == p.word_from || line[d - 3] != ' '))
            end = d - 2;
    }
    p.word_to = std::max(end, p.word_from);
    p.number_click = p.word_from == 0 && number_prefix(line) > 0;
    return p;
}

// The occurrence count written after the word ("word  12 -> ..."), or nothing.
std::optional<int> count_after_word(std::string_view line, std::size_t word_to) {
    const std::size_t at = word_to + 2;
    if (at >= line.size() || !is_digit(line[at])) return std::nullopt;
    int n = 0;
    for (std::size_t k = at; k < line.size() && is_digit(line[k]) && n < 100'000'000; ++k) n = n * 10 + (line[k] - '0');
    return n;
}

// Whether the word is searched case-sensitively without the whole-word test.
bool searched_as_written(std::u16string_view w, bool phrase) {
    if (phrase || w.find_first_of(u" \t.;\u2013\u00AD") != std::u16string_view::npos) return true;
    return std::find(kSearchedAsWritten.begin(), kSearchedAsWritten.end(), w) != kSearchedAsWritten.end();
}

DWORD find_flags(std::u16string_view w, bool phrase) {
    if (searched_as_written(w, phrase)) return FR_DOWN | FR_MATCHCASE;
    if ((gl_TREAT_AS_UNKNOWN || gl_ENGLIST_ALL) && !gl_TREAT_AS_UNKNOWN_CASE && !gl_ENGLIST_CASE)
        return FR_DOWN | FR_WHOLEWORD;
    return FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE;
}

void show_machine_count(int rounds) {
    if (!IsWindow(hMachine)) return;
    SetDlgItemTextW(hMachine, kMachineCount, utf8_to_utf16("count: " + std::to_string(rounds) + " (2)"));
}

// The next occurrence from gl_search_start that counts, or nothing.
std::optional<CHARRANGE> find_next(std::u16string_view word, DWORD flags, bool phrase) {
    const LONG length = RE_GetTextLength(hBigReRight);
    LONG from = gl_search_start;
    int rounds = 0;
    std::optional<CHARRANGE> found;
    while (true) {
        found = RE_FindText(hBigReRight, flags, CHARRANGE{from, -1}, word);
        if (!found) break;
        if (word == u"..") {
            const std::u16string after = RE_GetTextRange(hBigReRight, CHARRANGE{found->cpMax, found->cpMax + 1});
            if (after != u".") break;
        } else if (phrase) {
            ++rounds;
            if (rounds % 100 == 0) show_machine_count(rounds);
            if (rounds % 1'000 == 0) unfreeze();
            if (is_surrounded_by_vaild(hBigReRight, *found, length)) break;
        } else {
            break;
        }
        from = std::max(found->cpMax, from + 1);
        found.reset();
    }
    if (rounds > 99) show_machine_count(rounds);
    return found;
}

void show_found(CHARRANGE r) {
    gl_search_start = r.cpMax;
    RE_SetSel(hBigReRight, r);
    RE_HideSelection(hBigReRight, false);
    RE_LineScroll(hBigReRight, -RE_GetFirstVisibleLine(hBigReRight));
    RE_LineScroll(hBigReRight, RE_LineFromChar(hBigReRight, r.cpMin) - kFoundLineFromTop);
}

// The report line under an empty selection at P: its start and text, or nothing for a click past
// a line's end or into an empty panel.
struct ClickedLine {
    LONG start = 0;
    LONG caret = 0;
    std::string text;  // code page 1251
};
std::optional<ClickedLine> clicked_line() {
    const LONG length = RE_GetTextLength(hBigReLeft);
    const CHARRANGE sel = RE_GetSel(hBigReLeft);
    if (length <= 0 || sel.cpMin != sel.cpMax || sel.cpMin >= length) return std::nullopt;
    const LONG p = sel.cpMin;
    const std::u16string all = RE_GetTextW(hBigReLeft);
    if (all[static_cast<std::size_t>(p)] == u'\r') return std::nullopt;
    const std::size_t cr = p > 0 ? all.rfind(u'\r', static_cast<std::size_t>(p - 1)) : std::u16string::npos;
    const std::size_t start = cr == std::u16string::npos ? 0 : cr + 1;
    std::size_t end = all.find(u'\r', start);
    if (end == std::u16string::npos) end = all.size();
    end = std::min(end, start + kCorrectionLineMax);
    ClickedLine l{static_cast<LONG>(start), p, utf16_to_cp1251(std::u16string_view(all).substr(start, end - start))};
    const POINT scroll = RE_GetScrollPos(hBigReLeft);
    RE_SetScrollPos(hBigReLeft, POINT{0, scroll.y});
    return l;
}

// The suggestion from its start up to " |", " (" or the line's end.
std::string suggestion_at(std::string_view line, std::size_t from) {
    std::string_view s = line.substr(std::min(from, line.size()));
    s = s.substr(0, std::min(s.find(" |"), s.find(" (")));
    return std::string(s);
}

bool equal_no_case(std::string_view a, std::string_view b) { return a.size() == b.size() && cp_strcasecmp(a, b) == 0; }

void append_log(std::string_view word, std::string_view suggestion, std::optional<int> count) {
    gl_log += word;
    gl_log += " -> ";
    gl_log += suggestion;
    if (count && *count >= 2) gl_log += jux_format(" (%i %s)", *count, utf8_to_cp1251("пъти").c_str());
    gl_log += "\r\n";
    if (count) {
        ++gl_log_ct;
        gl_log_ct2 += *count;
    }
}

void correction_step() {
    hReFocus = hBigReLeft;
    const COLORREF at_caret = RE_GetCharFormat(hBigReLeft, SCF_SELECTION).crTextColor;
    if (std::find(kNotAnEntryColours.begin(), kNotAnEntryColours.end(), at_caret) != kNotAnEntryColours.end()) return;

    SetWindowTextW(hBigLabel, u"");
    gl_novstartw.clear();
    const std::optional<ClickedLine> clicked = clicked_line();
    if (!clicked) return;
    const std::string& line = clicked->text;
    const LONG s = clicked->start;
    ParsedLine p = parse_line(line, static_cast<std::size_t>(clicked->caret - s));
    const LONG w0 = s + static_cast<LONG>(p.word_from), w1 = s + static_cast<LONG>(p.word_to);

    if (s != gl_word_start) {
        if (gl_word_start != 0) gl_search_start = 0;
        gl_word_start = s;
    }
    if (p.number_click) {
        ColorRangeOn(hBigReLeft, s, s + static_cast<LONG>(number_prefix(line)) - 1, kColourBold, kColSeenNumber, 1);
        gl_novstartw.clear();
        return;
    }

    std::u16string word = cp1251_to_utf16(std::string_view(line).substr(p.word_from, p.word_to - p.word_from));
    for (std::size_t k = 1; k < word.size(); ++k) {
        const COLORREF c = RE_GetCharFormatAt(hBigReLeft, w0 + static_cast<LONG>(k)).crTextColor;
        if (c == kColTypedWord || c == kColTypedWordAlt) {
            if (k + 1 < word.size()) word[k + 1] = u'\r';
            break;
        }
    }
    bool phrase = false;
    if (word.size() >= 3 && word.front() == u'|' && word.back() == u'|') {
        word = word.substr(1, word.size() - 2);
        unmark_phrase(word);
        phrase = true;
    }
    SetWindowTextW(hAddReShort, word);
    CopyToClipboard(word);
    gl_novstartw = word;

    // The suggestion: replaces the occurrence that the previous click selected.
    LONG s0 = w0, s1 = w1;
    std::string suggestion8;
    // A suggestion that cuts to nothing (a click on the blank before a class label) would delete
    // the occurrence: it counts as no suggestion.
    if (p.suggestion && suggestion_at(line, *p.suggestion).empty()) p.suggestion.reset();
    if (p.suggestion) {
        suggestion8 = suggestion_at(line, *p.suggestion);
        std::u16string suggestion = cp1251_to_utf16(suggestion8);
        s0 = s + static_cast<LONG>(*p.suggestion);
        s1 = s0 + static_cast<LONG>(suggestion.size());
        if (equal_no_case(suggestion8, "no suggestions")) {
            if (has_line_break(word)) {
                line_break_message(word);
            } else {
                ColorRangeOn(hBigReLeft, s0, s1, kColourBold, kColTypedWord, 1);
                RE_SetSel(hBigReLeft, CHARRANGE{s0, s1});
                RE_ReplaceSel(hBigReLeft, word, true);
                s1 = s0 + static_cast<LONG>(word.size());
                ColorRangeOn(hBigReLeft, s0, s1, kColourBold, kColTypedWord, 1);
            }
        } else if (suggestion == word) {
            oops(utf8_to_utf16("Предложението \"") + word +
                 utf8_to_utf16("\" е еднакво с думата. Изключете \"Active\" и коригирайте ръчно предложението. "
                               "После включете \"Active\" и опитайте пак."));
        } else if (RE_GetSelText(hBigReRight) == word) {
            if (has_line_break(word) && !phrase) {
                line_break_message(word);
            } else {
                // Quiet: the replacement starts no run, and the caret it leaves starts no look-up.
                const DWORD mask = RE_GetEventMask(hBigReRight);
                RE_SetEventMask(hBigReRight, mask & ~DWORD{ENM_CHANGE | ENM_SELCHANGE});
                const CHARRANGE r = RE_GetSel(hBigReRight);
                ColorRangeOn(hBigReRight, r.cpMin, r.cpMax, CFM_COLOR | CFM_BOLD | CFM_UNDERLINE, kColCorrected, 0);
                if (phrase) unmark_phrase(suggestion);
                RE_SetSel(hBigReRight, r);
                RE_SetTextW(hBigReRight, suggestion, ST_SELECTION | ST_KEEPUNDO);
                const LONG put_end = r.cpMin + static_cast<LONG>(suggestion.size());
                ColorRangeOn(hBigReRight, r.cpMin, put_end, CFM_COLOR | CFM_BOLD | CFM_UNDERLINE, kColCorrected, 0);
                RE_SetSel(hBigReRight, CHARRANGE{put_end, put_end});
                RE_SetEventMask(hBigReRight, mask);
                // The next find starts after the suggestion: a shorter one must not make it pass
                // over an occurrence that followed the replaced one closely.
                gl_search_start = put_end;
            }
        }
    }

    RE_SetSel(hBigReLeft, CHARRANGE{s0, s1});
    RE_HideSelection(hBigReLeft, false);
    if (gl_PRINT_DOWN) {
        gl_say_word = 0;
        GetCleanToken(hBigReLeft, 0);
        gl_say_word = 1;
    }

    // Find the next occurrence.
    const DWORD right_mask = RE_SetEventMask(hBigReRight, 0);
    const DWORD flags = find_flags(word, phrase);
    if (gl_ENGLISH_TRANSLATION && IsWindow(hMachine)) print_context(word, hBigReRight, hMachineRe, flags, phrase);
    if (const std::optional<CHARRANGE> found = find_next(word, flags, phrase)) {
        show_found(*found);
    } else {
        gl_search_start = 0;
        gl_word_start = 0;
        const std::u16string selected = RE_GetSelText(hBigReRight);
        if (!selected.empty() && selected != word) {
            oops(word + u" " + utf8_to_utf16("не е намерено."));
        } else {
            SetWindowTextW(hBigLabel, utf8_to_utf16("Това е последното \"") + word +
                                          utf8_to_utf16("\" в текста. Почвате отначало."));
            if (selected.empty()) {
                ColorRangeOn(hBigReLeft, s0, s1, kColourBold, kColHandled, 1);
                ColorRangeOn(hBigReLeft, w0, w1, kColourBold, kColHandled, 1);
                if (gl_SPELL_CHECKER_LOG && p.suggestion)
                    append_log(utf16_to_cp1251(word), suggestion8, count_after_word(line, p.word_to));
            }
        }
    }

    SetFocus(hBigReLeft);
    if (!word.empty() && word.front() >= u'0' && word.front() <= u'9' && word.back() == u'.')
        RE_HideSelection(hBigReLeft, true);
    RE_SetEventMask(hBigReRight, right_mask);
}

}  // namespace

void correction_click_notify(HWND, const Msg& m) {
    if (m.code == EN_MSGFILTER) {
        if (m.filter_msg == WM_LBUTTONDOWN)
            RE_SetEventMask(hBigReLeft, RE_GetEventMask(hBigReLeft) | ENM_SELCHANGE | ENM_CHANGE);
        return;
    }
    if (m.code != EN_SELCHANGE) return;
    // The step moves the selection itself: it must not hear of its own moves. While a run writes
    // the report, its selection moves are no clicks.
    RE_SetEventMask(hBigReLeft, RE_GetEventMask(hBigReLeft) & ~DWORD{ENM_SELCHANGE});
    if (!translate_text_running()) correction_step();
    RE_SetEventMask(hBigReLeft, RE_GetEventMask(hBigReLeft) & ~DWORD{ENM_SELCHANGE});
}
