#include "engine/bg_text_pass.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/exports.h"
#include "engine/run.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "engine/tokeniser.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/window.h"
#include "shell/gmake.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"

namespace {

constexpr unsigned char kQuotes[] = {132, 147, 148};  // „ “ ”: no token characters during the pass
constexpr char kUnknownChar = 6;                     // a character code page 1251 cannot show
constexpr unsigned char kYearLetter = 0xE3;          // 'г' of "1999г."
constexpr std::uint64_t kProgressEvery = 100;        // records between progress lines
constexpr std::uint64_t kProgressFrom = 500;         // estimated tokens that earn progress lines

bool g_running = false;  // a pass is going
bool g_pending = false;  // a call arrived meanwhile
HWND g_pending_source{};
HWND g_pending_label{};

// Class counts of the token being scanned.
struct Counts {
    std::size_t taken = 0;
    std::size_t cyr = 0, lat = 0, digits = 0, apos = 0, hyphens = 0, dots = 0;
    bool has_apos = false;
    bool has_aposhyp = false;
};

struct Text {
    unsigned char* s;
    std::size_t n;
    bool valid(std::size_t i) const { return i < n && ascii_valid[s[i]]; }
    bool aposhyp(std::size_t i) const { return i < n && ascii_aposhyp[s[i]]; }
    // A character that may begin a token: a token character that is no apostrophe or hyphen.
    bool starts(std::size_t i) const { return valid(i) && !ascii_aposhyp[s[i]]; }
    bool all_aposhyp(std::size_t a, std::size_t b) const {
        for (std::size_t i = a; i < b; ++i)
            if (!ascii_aposhyp[s[i]]) return false;
        return true;
    }
};

void uncount(Counts& c, unsigned char ch, int d) {
    if (ascii_apos[ch]) c.apos += static_cast<std::size_t>(d);
    else if (ch == '-') c.hyphens += static_cast<std::size_t>(d);
}

// The gap from c: returns where the token begins (the text's end when none follows).
std::size_t scan_gap(const Text& t, std::size_t c) {
    while (c < t.n) {
        if (t.starts(c)) return c;
        if (t.s[c] == '<') {
            if (c + 2 < t.n && t.s[c + 2] == '>') {
                c += 3;
                continue;
            }
            if (c + 3 < t.n && t.s[c + 1] == '/' && t.s[c + 3] == '>') {
                c += 4;
                continue;
            }
        }
        if (t.aposhyp(c)) {
            std::size_t e = c;
            while (t.aposhyp(e)) ++e;
            if (t.valid(e)) return c;  // the run begins the token
            c = e;
            continue;
        }
        ++c;
    }
    return t.n;
}

// A closing dot at i stays with the token [b, i) for a year or a known abbreviation.
bool closing_dot_kept(const Text& t, std::size_t b, std::size_t i, const Counts& c) {
    if (c.taken == 0) return false;
    const std::string_view key(reinterpret_cast<const char*>(t.s) + b, i - b + 1);
    if (c.cyr == 0 && c.lat + c.digits + c.dots == c.taken) return is_english_key(key);
    if (c.lat == 0 && c.cyr + c.digits + c.dots == c.taken) {
        if (c.cyr == 1 && c.digits == c.taken - 1 && t.s[i - 1] == kYearLetter) return true;
        return is_bulgarian_key(key);
    }
    return false;
}

// The token from b: returns where it ends.
std::size_t scan_token(const Text& t, std::size_t b, Counts& c) {
    std::size_t i = b;
    auto take = [&] {
        ++c.taken;
        ++i;
    };
    while (i < t.n) {
        const unsigned char ch = t.s[i];
        if (!ascii_valid[ch] && !ascii_punct[ch]) break;
        if (ascii_cyrillic[ch]) {
            ++c.cyr;
            take();
            continue;
        }
        if (ascii_latin[ch]) {
            ++c.lat;
            take();
            continue;
        }
        if (ascii_digit[ch]) {
            ++c.digits;
            take();
            continue;
        }
        if (c.taken > 0 && ascii_aposhyp[ch] && t.aposhyp(i + 1) && c.apos + c.hyphens != c.taken) break;
        if (ascii_apos[ch]) {
            c.has_apos = c.has_aposhyp = true;
            ++c.apos;
            take();
            continue;
        }
        if (ch == '-') {
            c.has_aposhyp = true;
            ++c.hyphens;
            take();
            continue;
        }
        const bool glued = t.starts(i + 1);  // a token character that is no apostrophe or hyphen follows
        if (ch == ',') {
            if (c.taken > 0 && ascii_digit[t.s[i - 1]] && i + 1 < t.n && ascii_digit[t.s[i + 1]]) take();
            else if (!glued) break;
            else take();
            continue;
        }
        if (ch == '?' || ch == '!' || ch == ';' || ch == ':') {
            if (!glued) break;
            take();
            continue;
        }
        if (ch == '.') {
            if (!glued && !closing_dot_kept(t, b, i, c)) break;
            ++c.dots;
            take();
            continue;
        }
        if (!ascii_valid[ch]) break;
        take();
    }
    return i;
}

// Leading apostrophes and hyphens back to the gap, trailing ones to the next gap (with the
// exceptions 'tis, boys', goin'). b and e are the token's ends; the text may change ("'").
void adjust_ends(const Text& t, std::size_t& b, std::size_t& e, Counts& c) {
    if (!c.has_aposhyp || t.all_aposhyp(b, e)) return;
    std::size_t j = b;
    while (j < e && ascii_aposhyp[t.s[j]]) uncount(c, t.s[j++], -1);
    if (j > b && ascii_apos[t.s[j - 1]]) {
        t.s[j - 1] = '\'';
        std::string key(1, '\'');
        key.append(reinterpret_cast<const char*>(t.s) + j, e - j);
        if (is_english_key(key)) uncount(c, t.s[--j], 1);
    }
    b = j;
    c.has_apos = c.apos > 0;
    c.has_aposhyp = c.apos + c.hyphens > 0;

    if (!c.has_aposhyp || !ascii_aposhyp[t.s[e - 1]]) return;
    std::size_t k = e;
    while (k > b && ascii_aposhyp[t.s[k - 1]]) uncount(c, t.s[--k], -1);
    const unsigned char first_stripped = t.s[k];
    e = k;
    const unsigned char last = t.s[e - 1];
    const bool in_ending = e - b > 3 && ascii_apos[first_stripped] && (t.s[e - 2] == 'i' || t.s[e - 2] == 'I') &&
                           (last == 'n' || last == 'N');
    if (in_ending || last == 's' || last == 'S') uncount(c, t.s[e++], 1);
}

// The quotation marks „ “ ” are no token characters while the pass cuts the text.
struct QuotesOut {
    QuotesOut() {
        for (unsigned char q : kQuotes) ascii_valid[q] = 0;
    }
    ~QuotesOut() {
        for (unsigned char q : kQuotes) ascii_valid[q] = 1;
    }
};

void run_pass(HWND source, HWND label, std::string& work) {
    // Steps 1 and 2: the text in code page 1251 without its leading blanks.
    const LONG length = RE_GetTextLength(source);
    work = RE_GetTextEx(source, CP_1251, GT_DEFAULT, kUnknownChar);
    if (work.size() > static_cast<std::size_t>(std::max<LONG>(length, 0))) work.resize(static_cast<std::size_t>(length));
    std::replace(work.begin(), work.end(), '\0', kUnknownChar);  // the records are NUL-ended
    std::size_t lead = 0;
    while (lead < work.size() && work[lead] == ' ') ++lead;
    remove_leading_spaces(work);

    if (!changed_from_add_fg) ColorRangeOn(source, 0, length, CFM_COLOR | CFM_BOLD | CFM_UNDERLINE, 0, 0);
    const std::uint64_t estimated = get_token_count_in_string(work);
    ResetGmake();
    ResetGmake3(1);
    store_reset(store2);
    if (estimated <= 1 && (work.empty() || !ascii_cyrillic[static_cast<unsigned char>(work[0])])) return;

    std::uint64_t stored = 0;
    {
        QuotesOut quotes;
        Text t{reinterpret_cast<unsigned char*>(work.data()), work.size()};
        const std::uint64_t every = static_cast<std::uint64_t>(std::max<std::int32_t>(respond_token, 1));
        const std::int32_t lead32 = static_cast<std::int32_t>(lead);
        std::size_t c = 0;
        for (;;) {
            const std::size_t gap_start = c;
            std::size_t b = 0, e = 0;
            Counts counts;
            for (std::size_t from = gap_start;;) {
                b = scan_gap(t, from);
                counts = Counts{};
                e = scan_token(t, b, counts);
                // A token character that cannot begin a token joins the gap, so that the scan
                // always moves on.
                if (e == b && b < t.n) {
                    from = b + 1;
                    continue;
                }
                break;
            }
            adjust_ends(t, b, e, counts);
            if (b == gap_start && e == b) break;  // the text is finished
            if (!store_has_room(store2.rec)) {
                MessageBoxA(hMain, max_words_message(static_cast<std::int32_t>(store2.rec.limit)), "Oops!",
                            MB_OK | MB_ICONERROR);
                break;
            }
            store_push(store2, std::string_view(work.data() + b, e - b),
                       std::string_view(work.data() + gap_start, b - gap_start), static_cast<std::int32_t>(b) + lead32);
            if (stored % kProgressEvery == 0 && estimated > kProgressFrom)
                SetWindowTextA(label, progress_line(stored, estimated));
            ++stored;
            if (stored % every == 0) {
                UpdateWindow(hMain);
                unfreeze();
            }
            c = e;
        }
        store_seal(store2.rec, static_cast<std::int32_t>(work.size()) + lead32);
        if (stored > 1) RE_EmptyUndoBuffer(source);
    }

    export_sorted_tokens_and_spaces(sen_floor2, sen_nd2, "DOWN");
    if (gl_REPEATED_PARTS) export_duplicate_strings(sen_floor2, sen_nd2);
    if (stored > 1)
        SetWindowTextA(label, statistics_line(stored, estimated, malsen2.used(), malsen2c.used(),
                                              sen_floor2[0].gap == glZero));
    RE_HideSelection(source, false);
}

}  // namespace

void translate_bgtext(HWND source, HWND status_label, std::string& work_text) {
    if (g_running) {
        g_pending = true;
        g_pending_source = source;
        g_pending_label = status_label;
        return;
    }
    g_running = true;
    run_pass(source, status_label, work_text);
    // A call that arrived meanwhile, with the panel kept as its caller would have kept it.
    while (g_pending) {
        g_pending = false;
        if (!IsWindow(g_pending_source)) continue;
        const HWND re = g_pending_source;
        const DWORD mask = RE_SetEventMask(re, 0);
        const CHARRANGE sel = RE_GetSel(re);
        const POINT scroll = RE_GetScrollPos(re);
        std::string text;
        run_pass(re, g_pending_label, text);
        RE_SetSel(re, sel);
        RE_SetScrollPos(re, scroll);
        RE_SetEventMask(re, mask);
    }
    g_running = false;
}

void reset_bgtext_pass() {
    g_running = false;
    g_pending = false;
    g_pending_source = HWND{};
    g_pending_label = HWND{};
}
