#include "lexicon/display.h"

#include <algorithm>

#include "lexicon/bgtypes.h"
#include "lexicon/corpora.h"
#include "lexicon/english.h"
#include "lexicon/entry_text.h"
#include "lexicon/morphology.h"
#include "lexicon/panel_writing.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "lexicon/wordclass.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/settings.h"

namespace {

void append_accrue(std::string& accrue, std::string_view label) {
    std::string add = std::string(label) + " ";
    if (accrue.size() + add.size() <= 1023) accrue += add;
}

// The display form of a definition: numbered senses, no provenance labels, IPA transcription.
std::u16string definition_text(std::string_view def) {
    std::string numbered;
    number_signs_to_numbers(def, numbered);
    std::u16string w = remove_bulk_labelW(cp1251_to_utf16(numbered.empty() ? def : std::string_view(numbered)));
    ReplaceAChars(w);
    return w;
}

void write_one(HWND re, const ListPair& entry, std::u16string_view word, int rank) {
    append(re, word, kColOneLineWord, true);
    if (entry.has_rest()) append(re, u" " + definition_text(entry.rest), 0, false);
    if (gl_PRINT_RANK_IN_ONELINE && rank > 0)
        append(re, u" " + cp1251_to_utf16(std::to_string(rank)), kColGrey, false);
    append(re, u"\r", 0, false);
}


}  // namespace

void ColorRangeOn(HWND re, LONG start, LONG end, DWORD mask, COLORREF color, DWORD effects) {
    CHARFORMAT2W cf;
    cf.dwMask = mask;
    cf.dwEffects = effects;
    cf.crTextColor = color;
    RE_ColorRange(re, CHARRANGE{start, end}, cf);
}

void ColorTranscription(HWND re, LONG start, bool first_line_only) {
    const std::u16string text = RE_GetTextW(re);
    size_t p = start > 0 ? static_cast<size_t>(start) : 0;
    size_t stop = text.size();
    if (first_line_only) {
        const size_t cr = text.find(u'\r', p);
        if (cr != std::u16string::npos) stop = cr;
    }
    QuietPanel quiet(re);
    while (p < stop) {
        const size_t open = text.find(u'[', p);
        if (open == std::u16string::npos || open >= stop) break;
        const size_t close = text.find(u']', open);
        if (close == std::u16string::npos || close >= stop) break;
        ColorRangeOn(re, static_cast<LONG>(open), static_cast<LONG>(close + 1), 0x40000000, kColTranscription, 0);
        p = close + 1;
    }
}

namespace {
int g_live_lookups = 0;                 // LiveLookUp nesting
std::vector<std::string> g_live_shown;  // the keys the current look-up appended to the live panel

// Whether the entry goes to the live panel: once in a look-up.
bool first_in_lookup(std::string_view key) {
    if (g_live_lookups == 0) return true;
    if (std::find(g_live_shown.begin(), g_live_shown.end(), key) != g_live_shown.end()) return false;
    g_live_shown.emplace_back(key);
    return true;
}
}  // namespace

LiveLookUp::LiveLookUp() {
    if (g_live_lookups++ == 0) g_live_shown.clear();
}
LiveLookUp::~LiveLookUp() { --g_live_lookups; }

void WriteOneColoredLine(HWND re, const ListPair& entry, std::u16string_view word, int rank, int from_8bit) {
    const std::u16string shown = from_8bit ? cp1251_to_utf16(entry.key) : std::u16string(word);
    {
        QuietPanel quiet(re);
        write_one(re, entry, shown, rank);
    }
    if (IsWindow(hLiveRe) && hLiveRe != re && first_in_lookup(entry.key)) {
        QuietPanel quiet(hLiveRe);
        write_one(hLiveRe, entry, shown, rank);
    }
}

void print_corpus1_data(HWND re, std::string_view word) {
    const std::string key = key_form(word);
    QuietPanel quiet(re);
    for (int r = 0; r < C_ROWS; ++r) {
        const ListPair* p = c_find(r, key);
        if (!p) continue;
        const CSetRecord& rec = c_glob[static_cast<size_t>(r)];
        append8(re, rec.tag + ": ", c_label_color(r), true);
        append8(re, std::string(p->key) + (p->has_rest() ? " -> " + std::string(p->rest) : std::string()), 0, false);
        append(re, u"\r", 0, false);
        if (r >= C_HARD) {
            if (harddelaccrue.find("+hard") == std::string::npos) append_accrue(harddelaccrue, "+hard");
        } else if (rec.category == 50 || rec.category == 51 || rec.category == 53) {
            if (harddelaccrue.find("+del") == std::string::npos) append_accrue(harddelaccrue, "+del");
        } else {
            append_accrue(corpusaccrue, rec.tag);
        }
    }
}

void print_corpus2_data(HWND re, std::string_view word) {
    const std::string key = key_form(word);
    QuietPanel quiet(re);
    auto show = [&](const ListFileRecord& rec) {
        const SentencePair* s = find_sentence(rec, key);
        if (!s) return;
        std::string en(s->en);
        std::replace(en.begin(), en.end(), '_', ' ');
        if (s->en_mark) en += static_cast<char>(s->en_mark);
        std::string bg = s->has_bg() ? std::string(s->bg) : std::string();
        if (s->bg_mark) bg += static_cast<char>(s->bg_mark);
        append8(re, rec.name + ": ", kColBrown, true);
        append8(re, en + " -> " + bg, 0, false);
        append(re, u"\r", 0, false);
        append_accrue(corpusaccrue, rec.name);
    };
    for (CorpusTable* t : {&cs_glob, &cse_glob, &csq_glob, &csc_glob, &cs_cust_glob, &cse_cust_glob,
                           &csq_cust_glob, &csc_cust_glob, &cs_globC, &cse_globC, &csq_globC, &csc_globC})
        for (const ListFileRecord& rec : *t) show(rec);
    for (const ListFileRecord& rec : cs_globB) show(rec);
}

std::string apostrophe_variant(std::string_view w) {
    const size_t n = w.size();
    auto ends = [&](std::string_view e) {
        return n > e.size() && cp_strncasecmp(w.substr(n - e.size()), e, e.size()) == 0;
    };
    if (n > 4 && ends("in'")) return std::string(w.substr(0, n - 1)) + "g";
    if (ends("'ll") || ends("'ve") || ends("'re")) return std::string(w.substr(0, n - 3));
    if (n >= 3 && w[n - 2] == '\'' && std::string_view("sSdD").find(w[n - 1]) != std::string_view::npos)
        return std::string(w.substr(0, n - 2));
    if (n >= 3 && w[n - 1] == '\'' && std::string_view("sSzZxX").find(w[n - 2]) != std::string_view::npos)
        return std::string(w.substr(0, n - 1));
    return "";
}

void print_multiline_english_definition_to_re(HWND re, std::string_view word) {
    const DictFileRecord& dict = b[B_EN_BG];
    std::vector<std::string> shown;
    auto show = [&](std::string_view w) -> const ListPair* {
        if (w.empty()) return nullptr;
        for (const std::string& s : shown)
            if (cp_strcasecmp(s, w) == 0) return nullptr;
        const ListPair* p = find_pair(std::span<const ListPair>(dict.entries), key_form(w));
        if (!p) return nullptr;
        shown.emplace_back(w);
        WriteOneColoredLine(re, *p, {}, GetRankInt(p->key), 1);
        return p;
    };
    std::vector<std::string> words{std::string(word)};
    const std::string variant = apostrophe_variant(word);
    if (!variant.empty()) words.push_back(variant);
    for (const std::string& w : words) {
        const ListPair* p = show(w);
        std::string stem;
        if (p && p->has_rest() && GetStem(p->rest, stem) > 0) show(stem);
    }
}

void print_English_definition(HWND re, std::string_view word, int flag) {
    const DictFileRecord& en = b[B_EN_EN];
    const std::span<const ListPair> bg_list(b[B_EN_BG].entries), en_list(en.entries);
    const ListPair* in_bg = find_pair(bg_list, key_form(word));
    const ListPair* in_en = find_pair(en_list, key_form(word));
    const std::string variant = apostrophe_variant(word);
    const std::string derived = english_derivative_hook && !word.empty() ? english_derivative_hook(word) : std::string();
    auto known = [&](const std::string& w) {
        return !w.empty() && (find_pair(bg_list, key_form(w)) || find_pair(en_list, key_form(w)));
    };
    // A word that neither dictionary holds, nor by its apostrophe variant or the word it is derived
    // from, gets the spelling suggestions with their definitions.
    const bool derived_defined = !derived.empty() && find_pair(en_list, key_form(derived));
    if (flag && !in_bg && !in_en && !known(variant) && !derived_defined && !word.empty() && english_suggestions_hook) {
        english_suggestions_hook(re, word);
        return;
    }
    if (en.entries.empty()) return;
    std::vector<std::string> words{std::string(word)};
    if (!variant.empty()) words.push_back(variant);
    std::string stem;
    if (in_bg && in_bg->has_rest() && GetStem(in_bg->rest, stem) > 0) words.push_back(stem);
    if (in_en && in_en->has_rest() && GetStem(in_en->rest, stem) > 0) words.push_back(stem);
    if (!derived.empty()) words.push_back(derived);
    QuietPanel quiet(re);
    bool first = true;
    std::vector<std::string> done;
    for (const std::string& w : words) {
        if (std::any_of(done.begin(), done.end(), [&](const std::string& d) { return cp_strcasecmp(d, w) == 0; }))
            continue;
        done.push_back(w);
        const ListPair* p = find_pair(std::span<const ListPair>(en.entries), key_form(w));
        if (!p) continue;
        if (first && flag && RE_GetTextLength(re) > 0) append(re, u"\r", 0, false);
        first = false;
        write_one(re, *p, cp1251_to_utf16(p->key), 0);
    }
}

void PrintBgTypeAuto(HWND re, std::string_view form) {
    const BgFormRecord* r = bg_find(form);
    if (!r) return;
    std::vector<BgAnalysis> an(r->n_analyses);
    const int n = bg_analyses(*r, an.data(), static_cast<int>(an.size()));
    QuietPanel quiet(re);
    for (int i = 0; i < n; ++i) {
        const BgAnalysis& a = an[static_cast<size_t>(i)];
        bool again = false;
        for (int k = 0; k < i; ++k)
            if (an[static_cast<size_t>(k)].type == a.type && an[static_cast<size_t>(k)].lemma == a.lemma) again = true;
        if (again) continue;
        const BgTypeRecord& t = bgtype_ar[static_cast<size_t>(a.type)];
        append8(re, jux_format("%.*s %s %s", static_cast<int>(a.lemma.size()), a.lemma.data(), t.name, t.pos),
                kColParadigmHeader, true);
        append(re, u"\r", 0, false);
        const int slots = t.count > 0 ? t.count : BG_VERB_SLOTS;
        int number = 0;
        for (int s = 0; s < slots; ++s) {
            std::string f;
            if (GetBgForm(a.lemma, a.type, s, f) != 1) continue;
            append8(re, jux_format("%d. ", ++number), kColNearBlack, false);
            append8(re, f, kColGrey, false);
            const char* label = bg_slot_label(a.type, s);
            if (*label) append8(re, std::string("  ") + label, kColNearBlack, false);
            bool mine = false;
            for (int k = 0; k < n; ++k)
                if (an[static_cast<size_t>(k)].type == a.type && an[static_cast<size_t>(k)].slot == s &&
                    an[static_cast<size_t>(k)].lemma == a.lemma)
                    mine = true;
            if (mine) append(re, u"  <", kColParadigmMark, true);
            append(re, u"\r", 0, false);
        }
    }
}

void PrintBgType(int row) {
    if (row < 0 || row >= BGTYPES || !IsWindow(hAddReShort)) return;
    const std::string box = RE_GetTextEx(hAddReShort, CP_1251);
    const size_t b0 = box.find_first_not_of(" \t\r\n");
    if (b0 == std::string::npos) return;
    const size_t e0 = box.find_first_of(" \t\r\n", b0);
    const std::string lemma = box.substr(b0, e0 == std::string::npos ? std::string::npos : e0 - b0);
    const BgTypeRecord& t = bgtype_ar[static_cast<size_t>(row)];
    const int slots = t.count > 0 ? t.count : BG_VERB_SLOTS;
    std::string out;
    for (int s = 0; s < slots; ++s) {
        std::string f;
        if (GetBgForm(lemma, row, s, f) != 1) continue;
        if (out.empty()) out = f + " " + t.name;
        else out += "\r" + f;
    }
    if (out.empty()) out = lemma + " " + t.name;
    QuietPanel quiet(hAddReShort);
    RE_SetTextEx(hAddReShort, out, CP_1251);
}
