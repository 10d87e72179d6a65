#include "lexicon/filing.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include "lexicon/corpora.h"
#include "lexicon/display.h"
#include "lexicon/english.h"
#include "lexicon/listfile.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "lexicon/wordclass.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/text_literal.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/settings.h"
#include "shell/strings.h"

namespace {

constexpr auto kNoText = "Не сте избрали текст. Опитайте пак."_cp;
constexpr auto kTooLong = "Текстът, които искате да добавите е прекалено дълъг."_cp;
constexpr auto kSentenceQ = "Препинателен знак в края предполага ИЗРЕЧЕНИЕ. Искате ли да го добавите?\r\n\r\n"_cp;
constexpr auto kNoDef = "Не сте избрали дефиниция. Опитайте пак."_cp;
constexpr auto kClipQ = "Не сте избрали дефиниция. Искате ли да ползвате дефиниция от клипборда?\r\n\r\n"_cp;
constexpr auto kNoSlots = "Няма повече слотове! Изтрийте слот и опитайте пак."_cp;
constexpr auto kUpdateQ = "вече съществува в списъка. Искате ли да я актуализирате?\r\n\r\n"_cp;
constexpr auto kDeleteQ = "вече съществува в списъка. Искате ли да я изтриете?\r\n\r\n"_cp;
constexpr auto kLengthQ = "Голяма разлика в дължините. Искате ли да го добавите?\r\n\r\n"_cp;
constexpr auto kSynsetQ = "Вече съществува с същия синсет. Искате ли да го добавите?\r\n\r\n"_cp;
constexpr auto kNonExclusiveQ = "НЕЕКСЛУЗИВЕН СЕТ. Искате ли да добавите?\r\n\r\n"_cp;
constexpr auto kKeyWordQ = "ли е ключовата дума?\r\n"_cp;
constexpr auto kEnNoMark =
    "Избраното английско изречение е без препинателен знак. Искате ли да го добавите като завършващо с точка?"_cp;
constexpr auto kBgNoMark = "Избраното българско изречение е без препинателен знак. Искате ли да го добавите без знак?"_cp;
constexpr auto kEmptyClip = "Празен клипборд. Опитайте пак."_cp;
constexpr auto kAddedSentence = "е добавена успешно в SENTENCE.\r\n\r\n"_cp;
constexpr auto kDeletedSentence = "е изтрита успешно\r\n\r\n"_cp;
constexpr auto kAdded = "е добавена успешно в"_cp;
constexpr auto kUpdated = "е актуализирана успешно в"_cp;
constexpr auto kDeleted = "е изтрита успешно от"_cp;

constexpr std::size_t kMaxSelection = 1023;  // characters of the English selection
constexpr std::size_t kMaxRendering = 512;   // characters of the Bulgarian side
constexpr COLORREF kFiledGreen = 0x00CC00;

void oops(std::string_view text) { MessageBoxA(hBig, text, "Oops!", MB_OK | MB_ICONERROR); }

bool ask(std::string_view text) { return MessageBoxA(hBig, text, "", MB_YESNO | MB_ICONQUESTION) == IDYES; }

// The selection of a panel as 8-bit text (paragraph ends as CR).
std::string selection_text(HWND re) { return RE_GetTextEx(re, CP_1251, GT_SELECTION); }

LONG selection_length(HWND re) {
    CHARRANGE r = RE_GetSel(re);
    return r.cpMax - r.cpMin;
}

// A CR after '-' joins the hyphenated word; any other CR (or LF) becomes a blank. A NUL byte
// becomes a blank too, as in a dropped file: the list loader skips a line holding one, so a key
// or a rendering filed with it would be gone at the next start.
std::string join_lines(std::string_view s) {
    std::string t;
    t.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i] == '\0' ? ' ' : s[i];
        if (c == '\r' || c == '\n') {
            if (c == '\n' && i > 0 && s[i - 1] == '\r') continue;
            if (i > 0 && s[i - 1] == '-') continue;
            t.push_back(' ');
            continue;
        }
        t.push_back(c);
    }
    return t;
}

// The key form of an English selection: lines joined, tabs and runs of blanks collapsed, 0x92 an
// apostrophe, blanks as '_'. 0 for a text with two tabs in a row (told once, until "clr").
int clean_key(std::string& s) {
    s = join_lines(s);
    if (s.find("\t\t") != std::string::npos) {
        if (!gl_fg_Poveche_ot_edna_tabulacia) {
            gl_fg_Poveche_ot_edna_tabulacia = 1;
            oops(two_tabs_message());
        }
        return 0;
    }
    for (char& c : s) {
        if (c == '\t') c = ' ';
        if (static_cast<unsigned char>(c) == 0x92) c = '\'';
    }
    remove_extra_spaces(s);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    std::replace(s.begin(), s.end(), ' ', '_');
    return 1;
}

// A Bulgarian side on one line: line ends and tabs become blanks, runs of blanks collapse.
std::string clean_rendering(std::string_view s) {
    std::string t = join_lines(s);
    std::replace(t.begin(), t.end(), '\t', ' ');
    remove_extra_spaces(t);
    while (!t.empty() && t.back() == ' ') t.pop_back();
    return t;
}

bool is_quote(unsigned char c) { return c == '"' || c == 0x93 || c == 0x94; }

void cut_quotes(std::string& s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '_')) s.erase(0, 1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '_')) s.pop_back();
    if (!s.empty() && is_quote(static_cast<unsigned char>(s.front()))) s.erase(0, 1);
    if (!s.empty() && is_quote(static_cast<unsigned char>(s.back()))) s.pop_back();
}

bool is_final_mark(unsigned char c) {
    return c == '.' || c == '!' || c == '?' || c == ',' || c == ';' || c == ':' || c == 0x85;
}

// Cuts the final mark off a sentence; returns it (0: none).
unsigned char cut_mark(std::string& s) {
    if (s.empty() || !is_final_mark(static_cast<unsigned char>(s.back()))) return 0;
    const unsigned char m = static_cast<unsigned char>(s.back());
    s.pop_back();
    while (!s.empty() && (s.back() == ' ' || s.back() == '_')) s.pop_back();
    return m;
}

// One side much longer than the other.
bool lengths_differ(std::string_view a, std::string_view c) {
    if (a.empty() || c.empty()) return false;
    const size_t lo = std::min(a.size(), c.size()), hi = std::max(a.size(), c.size());
    return hi > 3 * lo && hi - lo > 20;
}

struct Rendering {
    bool ok = false;
    bool from_clipboard = false;
    std::string text;
};

// The first selection of at least 2 characters among the panels, else the clipboard (confirmed
// while `confirm`).
Rendering take_rendering(std::initializer_list<HWND> panels, bool confirm) {
    Rendering r;
    for (HWND p : panels) {
        if (!IsWindow(p) || selection_length(p) < 2) continue;
        std::string s = selection_text(p);
        if (s.size() > kMaxRendering) {
            oops(kTooLong);
            return r;
        }
        r.text = std::move(s);
        r.ok = true;
        return r;
    }
    std::optional<std::string> clip = PL_GetClipboardTextA();
    if (!clip || clip->empty()) {
        oops(kNoDef);
        return r;
    }
    if (clip->size() > kMaxRendering) {
        oops(kTooLong);
        return r;
    }
    if (confirm && !ask(*clip + std::string(kClipQ))) return r;
    r.text = *clip;
    r.ok = true;
    r.from_clipboard = true;
    return r;
}

void colour_filed(CHARRANGE sel) {
    ColorRangeOn(hBigReRight, sel.cpMin, sel.cpMax, 0x40000001, kFiledGreen, 1);
}

size_t lower_pos(const std::vector<ListPair>& v, std::string_view key) {
    return static_cast<size_t>(std::lower_bound(v.begin(), v.end(), key, [](const ListPair& p, std::string_view k) {
                                   return cp_strcasecmp(p.key, k) < 0;
                               }) - v.begin());
}

// "Cannot write to <file>, reason: ..., (errno = ...)" for the error in errno.
std::string write_failure(const std::filesystem::path& file) {
    return cannot_write_text(file, errno ? errno : EIO);
}

// The files of a filing that were not written although the change itself was saved (the backup,
// the journal line, the exports): each line names one, and they are told after the result.
struct Unwritten {
    std::string lines;
    void note(const std::filesystem::path& file) { lines += write_failure(file); }
    // Tells them: the change of `what` was saved in `list`, the files named were not written.
    void tell(std::string_view what, std::string_view list) const {
        if (lines.empty()) return;
        oops(lines + jux_format("\nThe change of \"%s\" was saved in %s; the files above were not written.",
                                std::string(what).c_str(), std::string(list).c_str()));
    }
};

// Backs the list file up as "<name>_old.txt" and rewrites it. False (told) when the list could not
// be written; a backup that could not be written goes to `unwritten` and the list is written all
// the same.
bool save_list(const std::filesystem::path& folder, const std::string& name, const std::string& text,
               Unwritten& unwritten) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::filesystem::path file = fl_path(folder, name + ".txt");
    const std::filesystem::path backup = fl_path(folder, name + "_old.txt");
    if (backup_file(file, backup) < 0) unwritten.note(backup);
    if (!write_file_safely(file, text)) {
        oops(write_failure(file));
        return false;
    }
    return true;
}

void journal(const char* file_name, const std::string& line, Unwritten& unwritten) {
    const std::filesystem::path file = fl_path(dir_alt, file_name);
    if (!append_journal(file, line)) unwritten.note(file);
}

bool exported_row(int row) { return row < 414 || (row > 416 && row < C_HARD); }

// Text of a glossary cell: the characters that HTML reads as markup written as entities.
std::string html_text(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (const char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// "C_ALL.txt" (every entry: key TAB rendering TAB list tag), "C_TEMP_RANK.txt" (every key with its
// rank, by rank) and, while gl_GENERATE_HTML is set, the glossary "C_ALL.html".
void write_exports(Unwritten& unwritten) {
    std::string all, html;
    std::map<std::string, int> keys;
    if (gl_GENERATE_HTML)
        html = "<html><head><meta charset=\"windows-1251\"><title>C_ALL</title></head><body><table>\r\n";
    for (int r = 0; r < C_HARD; ++r) {
        if (!exported_row(r)) continue;
        const CSetRecord& rec = c_glob[static_cast<size_t>(r)];
        for (const ListPair& p : rec.entries) {
            all += std::string(p.key) + "\t" + std::string(p.rest) + "\t" + rec.tag + "\r\n";
            keys.emplace(std::string(p.key), GetRankInt(p.key));
            if (gl_GENERATE_HTML)
                html += "<tr><td>" + html_text(p.key) + "</td><td>" + html_text(p.rest) + "</td><td>" +
                        html_text(rec.tag) + "</td></tr>\r\n";
        }
    }
    std::vector<std::pair<int, std::string>> ranked;
    for (auto& [k, rank] : keys) ranked.emplace_back(rank, k);
    std::stable_sort(ranked.begin(), ranked.end(), [](auto& a, auto& c) { return a.first < c.first; });
    std::string rank_text;
    for (auto& [rank, k] : ranked) rank_text += std::to_string(rank) + " " + k + "\r\n";
    auto write = [&unwritten](const char* name, const std::string& bytes) {
        const std::filesystem::path file = fl_path(dir_alt, name);
        if (!write_file_safely(file, bytes)) unwritten.note(file);
    };
    write("C_ALL.txt", all);
    write("C_TEMP_RANK.txt", rank_text);
    if (gl_GENERATE_HTML) {
        html += "</table></body></html>\r\n";
        write("C_ALL.html", html);
    }
}

void show_result(std::string text) {
    if (gl_SHOW_MESSAGES) {
        MessageBoxA(hBig, text, "Done!", MB_OK | MB_ICONINFORMATION);
        return;
    }
    // One line: each CR shows as '_', the LF after it goes.
    std::replace(text.begin(), text.end(), '\r', '_');
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    SetWindowTextA(GetDlgItem(hBig, IDC_BIG_LABEL), text);
}

// The selection of the right panel, checked: empty or over-long selections are refused.
bool take_english(CHARRANGE& sel, std::string& text) {
    sel = RE_GetSel(hBigReRight);
    if (!IsWindow(hBigReRight) || sel.cpMax <= sel.cpMin) {
        oops(kNoText);
        return false;
    }
    if (static_cast<size_t>(sel.cpMax - sel.cpMin) > kMaxSelection) {
        oops(kTooLong);
        return false;
    }
    text = selection_text(hBigReRight);
    return true;
}

ListFileRecord* corpus_for(int row, int family, unsigned char mark) {
    if (family == 3) return (row >= 0 && row < CS_BULK_ROWS) ? &cs_globB[static_cast<size_t>(row)] : nullptr;
    if (row < 0 || row >= CS_ROWS || family < 0 || family > 2) return nullptr;
    CorpusTable* t[3][4] = {{&cs_glob, &cse_glob, &csq_glob, &csc_glob},
                            {&cs_cust_glob, &cse_cust_glob, &csq_cust_glob, &csc_cust_glob},
                            {&cs_globC, &cse_globC, &csq_globC, &csc_globC}};
    const int kind = mark == '!' ? 1 : mark == '?' ? 2 : mark == ',' ? 3 : 0;
    return &(*t[family][kind])[static_cast<size_t>(row)];
}

// Lists that are not word classes of their own: the feminine/neuter/plural lists, the not-lists,
// the error lists and the hard-word lists.
bool outside_classes(int row) {
    if ((row >= 414 && row <= 416) || row >= C_HARD) return true;
    const int cat = c_glob[static_cast<size_t>(row)].category;
    return cat == 50 || cat == 51 || cat == 53;
}

// A word-class set is meant to be exclusive: a key that a word class of another category holds
// already is filed into a second one only when the user says so.
bool held_by_other_category(int target, std::string_view key) {
    if (outside_classes(target)) return false;
    const int cat = c_glob[static_cast<size_t>(target)].category;
    for (int r = 0; r < C_ROWS; ++r)
        if (!outside_classes(r) && c_glob[static_cast<size_t>(r)].category != cat && c_find(r, key)) return true;
    return false;
}

// Categories whose keys are single words (the adjective, adverb, verb, abbreviation, numeral,
// attribute, preposition and miscellaneous classes and the rare adjectives, attributes, adverbs
// and verbs): a key of several words filed there ("give_up" as a verb) is classed by its first
// word, which the user confirms. The noun classes (compound nouns), the two- and three-word
// lists, the names, the sentence starts and ends and the lists outside the classes take phrases.
bool single_word_category(int cat) { return (cat >= 7 && cat <= 26) || (cat >= 40 && cat <= 43); }

// The word of a several-word key to ask about ("" when there is no question).
std::string key_word_to_confirm(int target, std::string_view key) {
    const size_t bar = key.find('_');
    if (bar == std::string_view::npos || bar == 0 || outside_classes(target) ||
        !single_word_category(c_glob[static_cast<size_t>(target)].category))
        return {};
    return std::string(key.substr(0, bar));
}

std::string display_of(std::string_view key) {
    std::string s(key);
    std::replace(s.begin(), s.end(), '_', ' ');
    return s;
}

}  // namespace

void write_to_c(int row, int find_free_slot, int lower_case) {
    if (row < 0 || row >= C_ROWS) return;
    CHARRANGE sel;
    std::string key;
    if (!take_english(sel, key)) return;
    if (!clean_key(key) || key.empty()) return;
    if (ascii_punct[static_cast<unsigned char>(key.back())] && !ask(key + std::string(kSentenceQ))) return;

    std::string rendering;
    bool has_rendering = row != C_HARD2 && row != C_HARD3;
    if (has_rendering) {
        Rendering r = take_rendering({gl_PRINT_DOWN == 0 ? hBigReLeft : HWND{}, hInfo ? hInfoReTop : HWND{},
                                      hInfo ? hInfoReBot : HWND{}, hMachine ? hMachineRe : HWND{}, hBigReBot,
                                      hBgText ? hBgTextRe : HWND{}},
                                     gl_SHOW_MESSAGES != 0);
        if (!r.ok) return;
        rendering = clean_rendering(r.text);
        if (rendering.empty()) {
            oops(kNoDef);
            return;
        }
    }
    colour_filed(sel);

    int target = row;
    const bool fixed_row = row == 327 || row == 329 || row == 331 || row == 333 || (row >= 414 && row <= 416) ||
                           row >= C_HARD;
    if (find_free_slot && !fixed_row && c_group_first(row) == row) {
        target = -1;
        for (int r = row; r < c_group_end(row); ++r)
            if (!c_find(r, key)) {
                target = r;
                break;
            }
        if (target < 0) {
            oops(kNoSlots);
            return;
        }
    }
    if (lower_case) {
        cp_strlwr(key);
        cp_strlwr(rendering);
    }

    CSetRecord& rec = c_glob[static_cast<size_t>(target)];
    std::vector<ListPair>& v = rec.entries;
    size_t pos = lower_pos(v, key);
    const bool present = pos < v.size() && cp_strcasecmp(v[pos].key, key) == 0;
    const ListPair before = present ? v[pos] : ListPair{};  // to undo the change when it cannot be saved
    const char* action = "+";
    std::string_view done = kAdded;
    if (present) {
        const std::string old(v[pos].rest);
        if (ask(jux_format("\"%s\" %s %s", key.c_str(), old.c_str(), kUpdateQ.c_str()))) {
            v[pos].rest = has_rendering ? lex_keep(rendering) : std::string_view();
            action = "u";
            done = kUpdated;
        } else if (ask(jux_format("\"%s\" %s %s", key.c_str(), old.c_str(), kDeleteQ.c_str()))) {
            v.erase(v.begin() + static_cast<std::ptrdiff_t>(pos));
            c_key_removed(target, before.key);
            action = "-";
            done = kDeleted;
        } else {
            return;
        }
    } else {
        if (lengths_differ(display_of(key), rendering) && !ask(kLengthQ)) return;
        bool same = false;
        for (int r = 0; r < C_ROWS && !same && has_rendering; ++r) {
            const ListPair* p = r == target ? nullptr : c_find(r, key);
            same = p && p->has_rest() && cp_strcasecmp(p->rest, rendering) == 0;
        }
        if (same && !ask(kSynsetQ)) return;
        if (!same && has_rendering && held_by_other_category(target, key) && !ask(kNonExclusiveQ)) return;
        if (const std::string word = key_word_to_confirm(target, key); !word.empty() &&
            !ask(jux_format("\"%s\" %s", word.c_str(), kKeyWordQ.c_str())))
            return;
        ListPair p;
        p.key = lex_keep(key);
        if (has_rendering) p.rest = lex_keep(rendering);
        v.insert(v.begin() + static_cast<std::ptrdiff_t>(pos), p);
        c_key_added(target, p.key);
    }
    rec.count = v.size();

    const std::filesystem::path folder = dir_alt / "c";
    const std::string text = rec.stats.over_room
                                 ? pairs_to_text_keeping_unloaded(fl_path(folder, rec.name + ".txt"), v, key)
                                 : pairs_to_text(v);
    Unwritten unwritten;
    if (!save_list(folder, rec.name, text, unwritten)) {
        // The list stays as its file: the change can be filed again.
        const auto at = v.begin() + static_cast<std::ptrdiff_t>(pos);
        if (*action == '+') v.erase(at);
        else if (*action == '-') v.insert(at, before);
        else *at = before;
        if (*action == '+') c_key_removed(target, key);
        else if (*action == '-') c_key_added(target, before.key);
        rec.count = v.size();
        return;
    }
    // The journal tells only of changes that reached the list's file.
    journal("cdate.txt", journal_time() + "\t" + rec.name + "\t" + action + "\t" + key + "\t" + rendering,
            unwritten);
    if (exported_row(target)) write_exports(unwritten);
    show_result(jux_format("\"%s\" %s %s %s\r\n\r\n(total %zu)", key.c_str(), rendering.c_str(),
                           std::string(done).c_str(), rec.name.c_str(), rec.count));
    unwritten.tell(key, rec.name);
}

void write_to_cs(int row, int family) {
    if (family == 3 ? (row < 0 || row >= CS_BULK_ROWS) : (row < 0 || row >= CS_ROWS || family < 0 || family > 2))
        return;
    CHARRANGE sel;
    std::string en;
    if (!take_english(sel, en)) return;
    remove_time_code(en);
    if (!clean_key(en)) return;
    cut_quotes(en);
    unsigned char mark = cut_mark(en);
    cut_quotes(en);
    if (en.empty()) {
        oops(kNoText);
        return;
    }
    if (!mark) {
        if (family == 3) mark = 0x85;
        else if (ask(kEnNoMark)) mark = '.';
        else return;
    }
    ListFileRecord* corpus = corpus_for(row, family, mark);
    if (!corpus) return;

    Rendering r = take_rendering({hBigReBot, hBgText ? hBgTextRe : HWND{}}, true);
    if (!r.ok) return;
    std::string bg = r.text;
    remove_time_code(bg);
    bg = clean_rendering(bg);
    cut_quotes(bg);
    unsigned char bg_mark = cut_mark(bg);
    cut_quotes(bg);
    if (bg.empty()) {
        oops(kNoDef);
        return;
    }
    if (!bg_mark && !ask(kBgNoMark)) return;
    if (lengths_differ(display_of(en), bg) && !ask(kLengthQ)) return;
    colour_filed(sel);

    std::vector<SentencePair>& v = corpus->sentences;
    auto it = std::lower_bound(v.begin(), v.end(), std::string_view(en),
                               [](const SentencePair& e, std::string_view k) { return cmp_3(k, e) > 0; });
    const bool present = it != v.end() && cmp_3(en, *it) == 0;
    const std::size_t pos = static_cast<std::size_t>(it - v.begin());
    const SentencePair before = present ? *it : SentencePair{};  // to undo the change when it cannot be saved
    const char* action = "+";
    bool deleted = false;
    if (present) {
        const std::string old(it->bg);
        if (ask(jux_format("\"%s\" %s %s", en.c_str(), old.c_str(), kUpdateQ.c_str()))) {
            action = "u";
        } else if (ask(jux_format("\"%s\" %s %s", en.c_str(), old.c_str(), kDeleteQ.c_str()))) {
            action = "-";
            deleted = true;
        } else {
            return;
        }
    }
    if (r.from_clipboard && !deleted) {
        // The clipboard is taken when the entry is stored.
        std::optional<std::string> now = PL_GetClipboardTextA();
        if (!now || now->empty()) {
            oops(kEmptyClip);
            return;
        }
        EmptyClipboard();
    }
    if (deleted) {
        v.erase(it);
    } else {
        SentencePair sp;
        sp.en = lex_keep(en);
        sp.en_mark = mark;
        sp.bg = lex_keep(bg);
        sp.bg_mark = bg_mark;
        if (present) *it = sp;
        else v.insert(it, sp);
    }
    corpus->count = v.size();

    const std::filesystem::path folder = dir_alt / "c";
    const std::string text = corpus->stats.over_room
                                 ? sentences_to_text_keeping_unloaded(fl_path(folder, corpus->name + ".txt"), v, en)
                                 : sentences_to_text(v);
    Unwritten unwritten;
    if (!save_list(folder, corpus->name, text, unwritten)) {
        // The corpus stays as its file: the change can be filed again.
        const auto at = v.begin() + static_cast<std::ptrdiff_t>(pos);
        if (*action == '+') v.erase(at);
        else if (*action == '-') v.insert(at, before);
        else *at = before;
        corpus->count = v.size();
        return;
    }
    journal("csdate.txt", journal_time() + "\t" + corpus->name + "\t" + action + "\t" + en + "\t" + bg, unwritten);
    const std::string shown = display_of(en);
    MessageBoxA(hBig,
                jux_format("\"%s\" %s(total %zu)", shown.c_str(),
                           std::string(deleted ? std::string_view(kDeletedSentence) : std::string_view(kAddedSentence)).c_str(),
                           corpus->count),
                "Done!", MB_OK | MB_ICONINFORMATION);
    unwritten.tell(en, corpus->name);
}
