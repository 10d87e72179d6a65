#include "engine/run/word_lists.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "engine/output_files.h"
#include "engine/rank_bands.h"
#include "engine/run/scan_end.h"
#include "engine/run/token_report.h"
#include "engine/worker_pool.h"
#include "lexicon/display.h"
#include "lexicon/panel_writing.h"
#include "lexicon/tables.h"
#include "lexicon/wordclass.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/token_frequency_index.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"
#include "spelling/spell_state.h"
#include "spelling/token_report_en.h"
#include "spelling/unknown_bg.h"
#include "spelling/word_index.h"

namespace {

constexpr DWORD kColourBold = CFM_COLOR | CFM_BOLD;

bool is(HWND a, HWND b) { return a && a == b; }

const ListPair* in_row(int r, std::string_view key) {
    const DictFileRecord& rec = b[static_cast<std::size_t>(r)];
    return find_pair(std::span<const ListPair>(rec.entries.data(), std::min(rec.count, rec.entries.size())), key);
}
const ListPair* in_list(int r, std::string_view key) { return find_pair(m[static_cast<std::size_t>(r)], key); }

// UTF-16 units of 8-bit text once it is in a panel: CR LF becomes one paragraph end.
LONG units(std::string_view s) {
    LONG n = static_cast<LONG>(s.size());
    for (std::size_t i = 0; i + 1 < s.size(); ++i)
        if (s[i] == '\r' && s[i + 1] == '\n') --n;
    return n;
}

bool upper_at(std::string_view w, std::size_t i, bool latin) {
    if (i >= w.size()) return false;
    const unsigned char ch = static_cast<unsigned char>(w[i]);
    return latin ? ascii_latin_upper[ch] : ascii_cyrillic_upper[ch];
}
bool lower_at(std::string_view w, std::size_t i, bool latin) {
    if (i >= w.size()) return false;
    const unsigned char ch = static_cast<unsigned char>(w[i]);
    return latin ? ascii_latin_lower[ch] : ascii_cyrillic_lower[ch];
}

// A capital then a small letter, a capital, an apostrophe and a capital, or (Latin only) a
// capital then '-'.
bool capitalised(std::string_view w, bool latin) {
    if (!upper_at(w, 0, latin)) return false;
    if (lower_at(w, 1, latin)) return true;
    if (w.size() > 2 && ascii_apos[static_cast<unsigned char>(w[1])] && upper_at(w, 2, latin)) return true;
    return latin && w.size() > 1 && w[1] == '-';
}

// "%i %s (%i %s):", or "" for one entry that occurs once.
std::u16string list_title(bool english, std::size_t entries, std::uint64_t total) {
    const bool all = english ? gl_ENGLIST_ALL != 0 : gl_TREAT_AS_UNKNOWN != 0;
    std::string title, unit = "срещания";
    if (entries == 1) {
        if (total <= 1) return {};
        title = english ? "НЕПОЗНАТА ДУМА НА ЛАТИНИЦА" : "НЕПОЗНАТА ДУМА";
    } else if (english && gl_ENGLISH_VERSION) {
        title = all ? "DIFFERENT WORDS" : "UNKNOWN WORDS";
        unit = "occurrences";
    } else if (english) {
        title = all ? "РАЗЛИЧНИ ДУМИ НА ЛАТИНИЦА" : "НЕПОЗНАТИ ДУМИ НА ЛАТИНИЦА";
    } else {
        title = all ? "РАЗЛИЧНИ ДУМИ" : "НЕПОЗНАТИ ДУМИ";
    }
    return utf8_to_utf16(std::to_string(entries) + " " + title + " (" + std::to_string(total) + " " + unit + "):");
}

// Whether a list pumps messages before entry i (numbered from 0).
bool pumps_before(std::size_t i) { return i > 0 && i % kListPumpEvery == 0; }

void append_number(std::string& s, std::uint64_t n) {
    char digits[24];
    s.append(digits, static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, n).ptr - digits));
}

// One line of a list: the number, the word, the count, then the list's own text.
struct ListLine {
    std::string text;  // 8-bit; a vertical entry holds CR LF inside
    std::size_t word_from = 0, word_to = 0;
    std::size_t count_from = 0, count_to = 0;  // an empty range when no count is shown
};

// The frame both lists share: the finished table, its title, numbering and counts, progress.
class ListFrame {
public:
    ListFrame(RunContext& c, GRecord* floor, GRecord* nd, bool english)
        : c_(c), floor_(floor), nd_(nd), english_(english) {}

    bool empty() const { return floor_ >= nd_; }

    // The empty line, the title and redraw off; returns where the list's lines begin.
    LONG open() {
        JuxShowMessage(c_.report, "", 1);
        std::uint64_t total = 0;
        for (const GRecord* g = floor_; g < nd_; ++g) {
            total += g->count;
            if (g->count > 1) counts_ = true;
        }
        const std::u16string title = list_title(english_, entries(), total);
        if (!title.empty()) append(c_.report, title + u"\r\r", kColListTitle, true);
        redraw_was_on_ = RE_GetRedraw(c_.report);
        RE_SetRedraw(c_.report, false);
        start_ = RE_GetTextLength(c_.report);
        return start_;
    }

    // Pumps and shows progress before entry i (numbered from 0); before it pumps, it calls
    // before_pump (the list's helpers stop). Returns whether it pumped. While the checker's exports
    // are written beside the list, it does not pump: the user's input waits until they are written,
    // since a message handled meanwhile could start work on the token store they still read.
    template <class BeforePump>
    bool before_entry(std::size_t i, BeforePump before_pump) {
        const bool pump = pumps_before(i) && !background_exports_running(c_);
        if (pump) {
            before_pump();
            join_background_exports(c_);
            unfreeze();
        }
        if (i % kListProgressEvery == 0) {
            char buf[96];
            std::snprintf(buf, sizeof buf, english_ ? "Latin: %zu / %zu" : "bg: %zu / %zu", i, entries());
            SetDlgItemTextW(hBig, IDC_BIG_LABEL, cp1251_to_utf16(buf));
        }
        return pump;
    }

    // The head of the next written line: its number, the word and the count. The line is the
    // frame's own, its text kept across lines so that a line costs no allocation.
    ListLine& head(const GRecord& g) {
        ListLine& l = next_;
        l.text.clear();
        if (entries() > 3) {
            append_number(l.text, written_ + 1);
            l.text += ". ";
        }
        l.word_from = l.text.size();
        l.text += g.name;
        l.word_to = l.text.size();
        l.count_from = l.count_to = l.text.size();
        if (counts_) {
            l.text += "  ";
            l.count_from = l.text.size();
            append_number(l.text, g.count);
            l.count_to = l.text.size();
        }
        return l;
    }

    // Takes the line with one line end, the whole of it in `colour`; returns where it starts. The
    // line goes into the panel with its colours at after_line(), as the panel keeps it (CR LF and
    // lone LF as one '\r', then the line's own '\r'), built in one buffer kept across lines.
    LONG put(const ListLine& l, COLORREF colour) {
        if (written_ == kReserveAfter) reserve_rest();
        ++written_;
        const std::string_view t = l.text;
        put_text_ = &l.text;
        put_size_ = t.size();
        no_cr_upto_ = std::min(t.find('\r'), t.size());
        // The panel's unit of each byte, a lone LF as '\r'.
        static const std::array<char16_t, 256> kUnit = [] {
            std::array<char16_t, 256> u{};
            for (int b = 0; b < 256; ++b) u[static_cast<std::size_t>(b)] = cp1251_to_wchar(static_cast<unsigned char>(b));
            u['\n'] = u'\r';
            return u;
        }();
        line_.resize(t.size() + 1);
        char16_t* out = line_.data();
        for (std::size_t i = 0; i < no_cr_upto_; ++i) *out++ = kUnit[static_cast<unsigned char>(t[i])];
        for (std::size_t i = no_cr_upto_; i < t.size(); ++i) {
            if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
            *out++ = kUnit[static_cast<unsigned char>(t[i])];
        }
        *out++ = u'\r';
        line_.resize(static_cast<std::size_t>(out - line_.data()));
        line_start_ = RE_GetTextLength(c_.report);
        line_colour_ = colour;
        changes_used_ = 0;
        add_change(0, static_cast<LONG>(line_.size()), kColourBold, colour, false);
        return line_start_;
    }
    // Colours [from, to) of a line put at `start` (8-bit offsets into its text).
    void colour(LONG start, const ListLine& l, std::size_t from, std::size_t to, COLORREF col, bool bold,
                DWORD mask = kColourBold) {
        if (to <= from) return;
        // Before the first CR of the line just put, 8-bit offsets are the panel's offsets.
        const bool plain = &l.text == put_text_ && l.text.size() == put_size_ && to <= no_cr_upto_;
        const LONG a = start + (plain ? static_cast<LONG>(from) : units(std::string_view(l.text).substr(0, from)));
        const LONG e = start + (plain ? static_cast<LONG>(to) : units(std::string_view(l.text).substr(0, to)));
        add_change(a - line_start_, e - line_start_, mask, col, bold);
    }
    // Writes the line and its colours; the selection ends after it. A panel whose event mask
    // reports selections, or that has no room for the whole line, takes them as one append and one
    // colouring after another, so that its dialog is told of each step in turn, as its handlers of
    // those notifications expect; any other panel takes them in one call (which tells a panel's
    // dialog of the line's change once, as the append alone would).
    void after_line() {
        const HWND re = c_.report;
        const std::span<const FormatChange> changes(changes_.data(), changes_used_);
        const bool fits = std::int64_t{line_start_} + static_cast<std::int64_t>(line_.size()) <= RE_GetLimitText(re);
        if (fits && !(RE_GetEventMask(re) & ENM_SELCHANGE)) {
            RE_AppendFormatted(re, line_, changes);
            RE_HideSelection(re, true);
            return;
        }
        append(re, line_, line_colour_, false);
        for (const FormatChange& ch : changes.subspan(1))
            ColorRangeOn(re, line_start_ + ch.from, line_start_ + ch.to, ch.format.dwMask, ch.format.crTextColor,
                         ch.format.dwEffects);
        const LONG end = RE_GetTextLength(re);
        RE_SetSel(re, CHARRANGE{end, end});
    }

    // A long list makes room in the panel for the lines still to come, at half as much again as
    // the lines so far take on average: the panel's text then grows without being moved.
    static constexpr std::size_t kReserveAfter = 256;
    void reserve_rest() const {
        if (entries() <= written_) return;
        const auto so_far = static_cast<std::int64_t>(RE_GetTextLength(c_.report)) - start_;
        const auto rest = static_cast<std::int64_t>(entries() - written_);
        const std::int64_t more = so_far / static_cast<std::int64_t>(written_) * rest * 3 / 2;
        RE_ReserveText(c_.report, static_cast<LONG>(std::min<std::int64_t>(more, std::numeric_limits<LONG>::max() / 2)));
    }

    void close() {
        SetDlgItemTextW(hBig, IDC_BIG_LABEL, u"");
        // Redrawing as the list found it: a run that keeps the panel quiet to its end keeps it so.
        if (!redraw_was_on_) return;
        RE_SetRedraw(c_.report, true);
        InvalidateRect(c_.report, true);
    }

    std::size_t entries() const { return static_cast<std::size_t>(nd_ - floor_); }
    std::size_t written() const { return written_; }
    GRecord* floor() const { return floor_; }
    GRecord* nd() const { return nd_; }

private:
    RunContext& c_;
    GRecord* floor_;
    GRecord* nd_;
    bool english_;
    bool counts_ = false;
    bool redraw_was_on_ = true;  // the report's redrawing when the list opened
    std::size_t written_ = 0;
    LONG start_ = 0;  // where the list's lines begin
    ListLine next_;        // the line being made
    std::u16string line_;  // the line being put, in the panel's form
    LONG line_start_ = 0;         // where it goes in the panel
    COLORREF line_colour_ = 0;    // the colour of the whole of it
    std::vector<FormatChange> changes_;  // its colours, the whole line's first (kept across lines)
    std::size_t changes_used_ = 0;

    void add_change(LONG from, LONG to, DWORD mask, COLORREF colour, bool bold) {
        if (changes_used_ == changes_.size()) changes_.emplace_back();
        FormatChange& ch = changes_[changes_used_++];
        ch.from = from;
        ch.to = to;
        ch.format.dwMask = mask;
        ch.format.dwEffects = bold ? DWORD{CFE_BOLD} : DWORD{0};
        ch.format.crTextColor = colour;
    }
    const std::string* put_text_ = nullptr;  // the text of the line put last
    std::size_t put_size_ = 0;               // and its size then
    std::size_t no_cr_upto_ = 0;             // where its first CR is (its size when none)
};

// ---- Answers asked ahead -------------------------------------------------------------------------

// The spelling answers of a list's entries, asked ahead on the helper threads a window of entries
// at a time, the next window while the lines of this one are written. An answer asked ahead is
// the one asking it when its line is written would give: the helpers stop before every pump (the
// only time the lists or the options can change), and after a pump that changed what the answers
// depend on (State) those asked ahead are dropped and asked again. A few questions are not worth
// the threads: they are asked one by one as their lines are written.
constexpr std::size_t kAheadMin = 64;
constexpr std::size_t kAheadWindow = 8 * kListPumpEvery;

template <class Answer, class State>
class AnswersAhead {
public:
    using Wanted = bool (*)(std::string_view);
    using Ask = Answer (*)(std::string_view);
    using StateOf = State (*)();

    AnswersAhead(const GRecord* entries, std::size_t n, Wanted wanted, Ask ask, StateOf state_of)
        : entries_(entries), n_(n), wanted_(wanted), ask_(ask), state_of_(state_of) {}
    ~AnswersAhead() { end_job(); }

    // Before the list pumps: the helpers end their questions.
    void before_pump() { end_job(); }

    // The answer asked ahead for entry i (the entries are asked in order), or null to ask it now.
    // `pumped`: the list pumped before the entry.
    Answer* at(std::size_t i, bool pumped) {
        if (pumped && (now_.state || next_.state) && state_of_() != (now_.state ? *now_.state : *next_.state)) {
            end_job();
            now_ = Window{};
            next_ = Window{};
        }
        if (i >= now_.to) {
            end_job();
            if (next_.from == i && next_.to > i) {
                now_ = std::move(next_);
            } else {
                now_ = Window{};
                ask_window(now_, i);
                end_job();
            }
            next_ = Window{};
            if (now_.to < n_) ask_window(next_, now_.to);
        }
        if (i < now_.from || !now_.asked || !now_.answers[i - now_.from]) return nullptr;
        return &*now_.answers[i - now_.from];
    }

private:
    struct Window {
        std::size_t from = 0, to = 0;
        bool asked = false;  // on the helpers (else nothing was asked ahead)
        std::optional<State> state;
        std::vector<std::size_t> which;
        std::vector<std::optional<Answer>> answers;
    };

    const GRecord* entries_;
    std::size_t n_;
    Wanted wanted_;
    Ask ask_;
    StateOf state_of_;
    Window now_, next_;
    HelperJob job_;
    std::optional<WordIndexesShared> shared_;  // while the helpers read the indexes

    void end_job() {
        job_.wait();
        shared_.reset();
    }

    // Starts asking the questions of the window from `from` on the helpers.
    void ask_window(Window& w, std::size_t from) {
        w.from = from;
        w.to = std::min(n_, from + kAheadWindow);
        if (helper_threads() == 0) return;  // nothing to ask ahead on
        for (std::size_t i = from; i < w.to; ++i)
            if (wanted_(entries_[i].name)) w.which.push_back(i);
        if (w.which.size() < kAheadMin) return;
        // Every index the questions read is built here: the helpers only read them.
        build_word_indexes();
        w.state = state_of_();
        w.asked = true;
        w.answers.resize(w.to - w.from);
        // A look-up on this thread that would change an index meanwhile waits for the helpers first.
        shared_.emplace([this] { job_.wait(); });
        job_ = HelperJob(w.which.size(), [&w, ask = ask_, entries = entries_](std::size_t k) {
            w.answers[w.which[k] - w.from].emplace(ask(entries[w.which[k]].name));
        });
    }
};

// ---- The English list ------------------------------------------------------------------------

// Whether the ENGLIST options let the word into the list.
bool english_entry_kept(std::string_view w) {
    if (in_row(B_BULGARIAN_CUSTOM, w)) return false;
    if (gl_ENGLIST_MISSING_RANK2) {
        if (!in_list(M_WL_ENGLISH2, w)) return false;
    } else if (gl_ENGLIST_MISSING_RANK) {
        if (!in_list(M_WL_ENGLISH, w)) return false;
    }
    if (gl_ENGLIST_MISSING_MACHINE || gl_ENGLIST_HARD) {
        const bool no_class = gl_ENGLIST_MISSING_MACHINE && !is_in_c_set_no_rare(w);
        const bool hard = gl_ENGLIST_HARD && is_in_hard(w);
        if (!no_class && !hard) return false;
    }
    if (!gl_ENGLIST_UPPERCASE && !w.empty() && ascii_latin_upper[static_cast<unsigned char>(w[0])]) return false;
    return true;
}

// The colour of the word: by length, capital and rank band.
COLORREF english_word_colour(std::string_view w, bool listed, std::int32_t rank) {
    const COLORREF plain = listed ? kColListKnownShort : kColListUnknown;
    if (w.size() <= 2) return plain;
    if (capitalised(w, true)) return listed ? kColListKnownCapital : kColListCapital;
    return rank_band_colour(rank).value_or(plain);
}

// token_suggest's answer about a word of the list: the one asked ahead, the scan's, when it asked
// about the same word and the English lists are still as they were then, or the last list's, else
// asked now; kept for the next list.
struct ListAnswers {
    const EnglishAnswer* ahead = nullptr;  // the answer asked ahead for the entry being written

    const EnglishAnswer& ask(std::string_view w) {
        const EnglishAnswer* known = std::exchange(ahead, nullptr);
        if (!known) known = kept_english_answer(w);
        if (!known) known = kept_answers::kept_english_list_answer(w);
        return kept_answers::keep_english_list_answer(w, known ? *known : kept_answers::ask_english_answer(w));
    }
    void finish() {
        ahead = nullptr;
        release_kept_english_answers();
    }
};
ListAnswers g_list_answers;

const EnglishAnswer& english_list_answer(std::string_view w) { return g_list_answers.ask(w); }

// The list's own text of a word (from " -> " on) and the line's colour.
std::string english_text(std::string_view w, const ListPair* hard, std::string_view rank_text, COLORREF& colour) {
    const bool vertical = gl_ENGLIST_VERTICAL != 0;
    const std::string key = key_form(w);
    std::string meanings;
    if (vertical)
        concatenate_c_words_vert(key, meanings, gl_ENGLIST_SHORT_BG);
    else
        concatenate_c_words(key, meanings, gl_ENGLIST_SHORT_BG);
    if (meanings.size() > kListMeaningsMax) meanings.resize(kListMeaningsMax);

    std::string text = " -> ";
    if (gl_ENGLIST_NO_BG) {
        colour = kColListBare;
        return text;
    }
    if (hard && !vertical) {
        const std::string_view hard_text = hard->has_rest() ? hard->rest : std::string_view{};
        text.append(hard_text);
        text += ' ';
        if (!gl_ENGLIST_SHORT_BG) {
            text.append(rank_text);
            text += ' ';
        }
    } else if (!meanings.empty()) {
        text += meanings;
        text += ' ';
    }
    const EnglishAnswer& answer = english_list_answer(w);
    const std::string& classes = answer.classes;
    if (!answer.none()) {
        text += answer.spelling_sh;
        text += ' ';
        colour = kColListSuggestions;
    } else if (classes.empty()) {
        text += "no suggestions ";
        colour = kColListNote;
    } else {
        if (!vertical) {
            text += classes;
            text += ' ';
        }
        if (!hard && meanings.empty()) {
            colour = kColListBare;
            if (const ListPair* bulk = in_row(B_ENGLISH_BULGARIAN, w); bulk && bulk->has_rest()) {
                text += "bulk: ";
                text.append(bulk->rest);
                text += ' ';
                colour = kColListBulk;
            }
        } else {
            colour = vertical ? kColListNoteVertical : kColListNote;
        }
    }
    return text;
}

// The two files of the English list, open while it is written.
struct FreqFiles {
    FILE* freq = nullptr;
    FILE* freq2 = nullptr;
    std::size_t lines = 0;

    void open() {
        if (!gl_ENGLIST_GENARATE_FILE) return;
        freq = open_generated_file("FREQ");
        freq2 = open_generated_file("FREQ2");
    }
    void line(const ListLine& l, const GRecord& g) {
        if (!freq && !freq2) return;
        if (freq) {
            char n[32];
            std::snprintf(n, sizeof n, " %u\r\n", g.count);
            OutputCyr(std::string(g.name) + n, 0, freq);
            std::fflush(freq);
        }
        if (freq2) {
            OutputCyr(l.text + "\r\n", 0, freq2);
            std::fflush(freq2);
        }
        if (++lines % kFreqProgressEvery == 0) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "printing in FREQ: %zu", lines);
            SetDlgItemTextW(hBig, IDC_BIG_LABEL, cp1251_to_utf16(buf));
        }
    }
    void close() {
        if (freq) closefile(freq, "FREQ");
        if (freq2) closefile(freq2, "FREQ2");
        freq = freq2 = nullptr;
    }
};

void english_entry(ListFrame& f, const GRecord& g, FreqFiles& files) {
    const std::string_view w = g.name;
    if (!english_entry_kept(w)) return;
    const ListPair* listed = in_list(M_WL_ENGLISH, w);
    std::string rank_text;
    std::int32_t rank = kRankUnranked;
    if (listed) {
        rank_text = listed->has_rest() ? std::string(listed->rest) : std::string("(rare, no rank)");
        if (listed->has_rest()) rank = rank_of_text(listed->rest);
    }
    const ListPair* hard = is_in_hard(w);
    COLORREF line_colour = kColListNote;
    ListLine& l = f.head(g);
    l.text += english_text(w, hard, rank_text, line_colour);
    if (!l.text.empty() && l.text.back() == ' ') l.text.pop_back();

    const LONG s = f.put(l, line_colour);
    f.colour(s, l, l.word_from, l.word_to, english_word_colour(w, listed != nullptr, rank), true);
    f.colour(s, l, l.count_from, l.count_to, kColListCount, false);
    if (hard && w.size() > 1) f.colour(s, l, l.word_from + 1, l.word_from + 2, kColListHardMark, false, CFM_COLOR);
    f.after_line();
    files.line(l, g);
}

// ---- The unknown-words list --------------------------------------------------------------------

// The word's report: the scan's, when it asked about the same word with the text and the lists
// are still as they were then; else the one asked ahead (`ahead`), else the last list's, else
// asked now; kept for the next list.
void unknown_entry(ListFrame& f, const GRecord& g, BgReport* ahead) {
    const std::string_view w = g.name;
    const BgReport* known = kept_bulgarian_answer(w);
    if (!known && !ahead) known = kept_answers::kept_unknown_list_answer(w);
    const BgReport& report = kept_answers::keep_unknown_list_answer(
        w, known ? *known : ahead ? std::move(*ahead) : get_lensug(w));
    const std::string& text = report.text;
    const std::uint32_t text_colour = report.colour;

    ListLine& l = f.head(g);
    const std::size_t text_from = l.text.size();
    l.text += text;
    const LONG s = f.put(l, gl_col_nosug);
    const COLORREF word = w.size() > 2 && capitalised(w, false) ? kColListCapital : kColListUnknown;
    f.colour(s, l, l.word_from, l.word_to, word, true);
    for (std::size_t i = 0; i < w.size(); ++i)
        if (ascii_latin[static_cast<unsigned char>(w[i])])
            f.colour(s, l, l.word_from + i, l.word_from + i + 1, kColListLatinLetter, true);
    f.colour(s, l, l.count_from, l.count_to, kColListCount, false);
    f.colour(s, l, text_from, l.text.size(), text_colour, false);
    f.after_line();
}

}  // namespace

void english_word_list(RunContext& c) {
    if (c.processed <= 1) return release_kept_english_answers();
    const bool merge = gl_ENGLIST_ALL && !gl_ENGLIST_CASE;
    if (gl_ENGLIST_ALPHABETICALLY)
        merge ? FinishGmakeAlphaCase3(1) : FinishGmakeAlpha3(1);
    else
        merge ? FinishGmakeCase3(1) : FinishGmake3(1);
    ListFrame f(c, g_floor3[1], g_nd3[1], true);
    if (f.empty()) return release_kept_english_answers();
    FreqFiles files;
    files.open();
    f.open();
    // The lists change only at the list's pumps: between two, each index is tested in full once.
    SteadyWordLists steady;
    kept_english_answers_hold();
    kept_answers::english_list_begin();
    {
        // An entry asks when the list shows answers, the options keep it and neither the scan nor
        // the last list asked.
        const auto wanted = [](std::string_view w) {
            return !gl_ENGLIST_NO_BG && english_entry_kept(w) && !kept_english_answer(w) &&
                   !kept_answers::kept_english_list_answer(w);
        };
        AnswersAhead<EnglishAnswer, EnglishSpellingState> ahead(f.floor(), f.entries(), wanted, kept_answers::ask_english_answer,
                                                                english_spelling_state);
        for (std::size_t i = 0; i < f.entries(); ++i) {
            const bool pumped = f.before_entry(i, [&ahead] { ahead.before_pump(); });
            if (pumped) {
                steady.renew();
                kept_english_answers_hold();
                kept_answers::english_list_begin();
            }
            g_list_answers.ahead = ahead.at(i, pumped);
            english_entry(f, f.floor()[i], files);
        }
    }
    kept_answers::english_list_end();
    g_list_answers.finish();
    f.close();
    files.close();
}

void unknown_words_list(RunContext& c) {
    if (c.processed <= 1) return;
    const bool merge = gl_TREAT_AS_UNKNOWN && !gl_TREAT_AS_UNKNOWN_CASE;
    if (gl_PRINT_UNKNOWN_ALPHABETICALLY)
        merge ? FinishGmakeAlphaCase() : FinishGmakeAlpha();
    else
        merge ? FinishGmakeCase() : FinishGmake();
    ListFrame f(c, g_floor, g_nd, false);
    if (f.empty()) return;
    const LONG start = f.open();
    SteadyWordLists steady;
    kept_bulgarian_answers_hold();
    kept_answers::unknown_list_begin();
    {
        // An entry asks when neither the scan (with the text) nor the last list did.
        AnswersAhead<BgReport, BulgarianSpellingState> ahead(
            f.floor(), f.entries(),
            [](std::string_view w) { return !kept_bulgarian_answer(w) && !kept_answers::kept_unknown_list_answer(w); },
            [](std::string_view w) { return get_lensug(w); }, bulgarian_spelling_state);
        for (std::size_t i = 0; i < f.entries(); ++i) {
            const bool pumped = f.before_entry(i, [&ahead] { ahead.before_pump(); });
            if (pumped) {
                steady.renew();
                kept_bulgarian_answers_hold();
                kept_answers::unknown_list_begin();
            }
            unknown_entry(f, f.floor()[i], ahead.at(i, pumped));
        }
        ahead.before_pump();
    }
    kept_answers::unknown_list_end();
    f.close();
    c.list_start = CHARRANGE{start, start};
    if (is(c.source, hBigReRight)) {
        RE_SetSel(c.report, gl_PRINT_ALL_LATIN ? CHARRANGE{0, 0} : c.list_start);
        RE_ScrollCaret(c.report);
    }
}
