#include "engine/proofreading/sequence_checks.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_report.h"
#include "engine/proofreading/sequence_table.h"
#include "engine/run_state.h"
#include "engine/separators.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/settings.h"
#include "shell/strings.h"

namespace {

constexpr char kEmDash = '\x97';
constexpr char kEnDash = '\x96';
constexpr char kEllipsis = '\x85';

bool blank_or_tab(char c) { return c == ' ' || c == '\t'; }

// The straight double quote, « » { ( ) [ ] „ ‘ ’ “ ”.
bool quote_or_bracket(char c) {
    switch (static_cast<unsigned char>(c)) {
        case '"': case 171: case 187: case '{': case '(': case ')': case '[': case ']':
        case 132: case 145: case 146: case 147: case 148:
            return true;
        default:
            return false;
    }
}

// True when the text has fewer than n characters (read no further than n).
bool shorter_than(const char* s, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (!s[i]) return true;
    return false;
}

char upper(char c) { return static_cast<char>(cp_toupper(static_cast<unsigned char>(c))); }

// The finding of a sentence that begins with a small letter after a line break: the word with what
// follows it on its line (up to two more words), and the same with the capital.
void line_start_finding(const ProofRun& run, PassReport& rep, const SenToken* p) {
    const char* t = p->text;
    const std::string u(1, upper(t[0]));
    const SenToken* n1 = p + 1;
    const SenToken* n2 = p + 2;
    std::string ctx = t, sugg = " -> " + u + (t + 1);
    if (n1 < run.nd && !has_cr(n1->gap)) {
        std::string tail = std::string(n1->gap) + n1->text;
        if (n2 < run.nd && !has_cr(n2->gap)) tail += std::string(n2->gap) + n2->text;
        ctx += tail;
        sugg += tail;
    } else if (n1->gap[0] != '\r' && n1->gap[0] != 0) {
        ctx += n1->gap[0];
        sugg += n1->gap[0];
    }
    rep.finding(ctx, sugg);
    mark_source(run, p->pos - 2, p->pos + 1);
}

// A record and the length of its gap.
struct GapRecord {
    const SenToken* p;
    std::size_t n;
};
// The records whose gap has two characters or more, in order: the only ones the walks below can
// report (character_sequences finds them once for all its walks); null stands for every record.
using LongGaps = std::vector<GapRecord>;

// Calls f(record, gap length) for every record of the run, or for the long gaps only.
template <typename F>
void walk_gaps(const ProofRun& run, const LongGaps* long_gaps, F&& f) {
    if (long_gaps) {
        for (const GapRecord& r : *long_gaps) f(r.p, r.n);
        return;
    }
    for (const SenToken* p = run.floor; p < run.nd; ++p) f(p, std::strlen(p->gap));
}

// The glued-dash walks: from the second record, skipping records with no text, no previous text and
// no gap.
template <typename F>
void walk_glued(const ProofRun& run, const LongGaps* long_gaps, F&& f) {
    if (!run.floor) return;
    walk_gaps(run, long_gaps, [&](const SenToken* p, std::size_t n) {
        if (p == run.floor || (n == 0 && !p->text[0] && !p[-1].text[0])) return;
        f(p, n);
    });
}

void punct_space_small_letter(ProofRun& run, std::u16string_view title, char mark, const LongGaps* long_gaps);
void punct_nl_small_letter(ProofRun& run, const LongGaps* long_gaps);
void slepen_before(ProofRun& run, std::u16string_view title, char dash, const LongGaps* long_gaps);
void slepen_before2(ProofRun& run, std::u16string_view title, char dash, const LongGaps* long_gaps);
void slepen_next(ProofRun& run, std::u16string_view title, char ch, const LongGaps* long_gaps);
void slepen_next2(ProofRun& run, std::u16string_view title, char ch, const LongGaps* long_gaps);

}  // namespace

unsigned print_other_problem(ProofRun& run, std::string_view pattern, std::u16string_view title,
                             std::string_view suggestion) {
    return print_other_problem(run, pattern, title, suggestion, nullptr);
}

unsigned print_other_problem(ProofRun& run, std::string_view pattern, std::u16string_view title,
                             std::string_view suggestion, const std::vector<const SenToken*>* candidates) {
    if (!run.floor || pattern.empty()) return 0;
    const std::string pat(pattern);
    const SequenceMark mark = sequence_mark(pat);
    const bool arrow = pat == "--";
    const bool blank_ellipsis = pat == std::string{' ', kEllipsis};
    unsigned count = 0;
    const std::size_t n = candidates ? candidates->size() : static_cast<std::size_t>(run.nd - run.floor);
    for (std::size_t i = 0; i < n; ++i) {
        const SenToken* p = candidates ? (*candidates)[i] : run.floor + i;
        const char* g = p->gap;
        if (shorter_than(g, pat.size())) continue;  // most gaps are one blank
        const char* at = pat.size() == 1 ? std::strchr(g, pat[0]) : std::strstr(g, pat.c_str());
        if (!at) continue;
        if (arrow && at[2] == '>') continue;                                   // "-->"
        if (blank_ellipsis && at > g && at[-1] == kEmDash) continue;  // "— …" is right
        ++count;
        if (mark == SequenceMark::None) continue;
        const LONG start = gap_start(*p) + static_cast<LONG>(at - g);
        const LONG end = start + static_cast<LONG>(pat.size());
        if (mark == SequenceMark::ColourOnly) mark_source(run, start, end, PR_COLOUR_ONLY, 0);
        else mark_source(run, start, end);
    }
    summary_report(run, title, count, pat, suggestion);
    return count;
}

void print_punct_space_small_letter(ProofRun& run, std::u16string_view title, char mark) {
    punct_space_small_letter(run, title, mark, nullptr);
}

void print_punct_nl_small_letter(ProofRun& run) { punct_nl_small_letter(run, nullptr); }

void print_slepen_before(ProofRun& run, std::u16string_view title, char dash) { slepen_before(run, title, dash, nullptr); }

void print_slepen_before2(ProofRun& run, std::u16string_view title, char dash) {
    slepen_before2(run, title, dash, nullptr);
}

void print_slepen_next(ProofRun& run, std::u16string_view title, char ch) { slepen_next(run, title, ch, nullptr); }

void print_slepen_next2(ProofRun& run, std::u16string_view title, char ch) { slepen_next2(run, title, ch, nullptr); }

namespace {

void punct_space_small_letter(ProofRun& run, std::u16string_view title, char mark, const LongGaps* long_gaps) {
    if (!run.floor) return;
    PassReport rep(run, title);
    walk_gaps(run, long_gaps, [&](const SenToken* p, std::size_t n) {
        const char* g = p->gap;
        if (n < 2 || g[n - 2] != mark || g[n - 1] != ' ') return;
        if (mark == '.' && n >= 3 && g[n - 3] == '.') return;      // three dots
        if (p > run.floor && ends_capital(p[-1].text)) return;      // an abbreviation or an initial
        const char* t = p->text;
        if (!starts_small(t)) return;
        std::string ctx{mark, ' '};
        ctx += t;
        std::string sugg = " -> ";
        sugg += mark;
        sugg += ' ';
        sugg += upper(t[0]);
        sugg += t + 1;
        sugg += " |  ";
        sugg += t;
        if (mark == '.') sugg += std::string(" | , ") + t;
        rep.finding(ctx, sugg);
        mark_source(run, p->pos - 2, p->pos + 1);
    });
}

void punct_nl_small_letter(ProofRun& run, const LongGaps* long_gaps) {
    if (!run.floor) return;
    PassReport rep(run, kLineBreakTitle);
    walk_gaps(run, long_gaps, [&](const SenToken* p, std::size_t) {
        if (IsEndOfSentenceNewLine(p->gap) == 0) return;
        if (p > run.floor && ends_capital(p[-1].text)) return;
        if (!starts_small(p->text)) return;
        line_start_finding(run, rep, p);
    });
}

}  // namespace

void print_subt_punct_space_small_letter(ProofRun& run, std::u16string_view title, char mark) {
    if (!gl_fg_subtitle || !run.floor) return;
    PassReport rep(run, title);
    for (const SenToken* p = run.floor; p < run.nd; ++p) {
        const char* g = p->gap;
        const std::size_t n = std::strlen(g);
        if (n < 2 || g[0] != mark) continue;
        if (mark == '.' && n >= 3 && g[1] == '.') continue;
        if (p > run.floor && ends_capital(p[-1].text)) continue;
        LineEndInfo info{};
        GetEmptyInfo(&info, g);
        if (info.cr_count != 2 || !(p + 4 < run.nd) || std::strcmp(p[2].gap, " --> ") != 0) continue;
        p += 3;  // the first word of the next subtitle; the walk goes on from there
        const std::size_t n3 = std::strlen(p->gap);
        if (n3 > 0 && p->gap[n3 - 1] == '<') continue;
        if (!starts_small(p->text)) continue;
        line_start_finding(run, rep, p);
    }
}

namespace {

void slepen_before(ProofRun& run, std::u16string_view title, char dash, const LongGaps* long_gaps) {
    PassReport rep(run, title);
    walk_glued(run, long_gaps, [&](const SenToken* p, std::size_t n) {
        const char* g = p->gap;
        if (n < 2 || g[0] != dash || !blank_or_tab(g[1])) return;
        const std::string pt = p[-1].text;
        const std::string ctx = pt + std::string(g, 2);
        rep.finding(ctx, " -> " + pt + ' ' + kEmDash + "  |  " + pt + ' ');
        mark_source(run, p[-1].pos, p[-1].pos + static_cast<LONG>(ctx.size()));
    });
}

void slepen_before2(ProofRun& run, std::u16string_view title, char dash, const LongGaps* long_gaps) {
    PassReport rep(run, title);
    walk_glued(run, long_gaps, [&](const SenToken* p, std::size_t n) {
        const char* g = p->gap;
        if (n < 3 || g[1] != dash || !blank_or_tab(g[2])) return;
        const char* pt = p[-1].text;
        if (g[0] == '}') {
            // A frame number in braces ("{25}- ...") is no glued bracket.
            const char* pg = p[-1].gap;
            const std::size_t pn = std::strlen(pg);
            if (IsDigitsOnly(pt) && pn > 0 && pg[pn - 1] == '{') return;
        } else if (!quote_or_bracket(g[0])) {
            return;
        }
        const std::string spt = pt;
        rep.finding(spt + std::string(g, 3), " -> " + spt + g[0] + ' ' + kEmDash + "  |  " + spt + g[0] + ' ');
        const LONG start = gap_start(*p);
        mark_source(run, start, start + 2);
    });
}

void slepen_next(ProofRun& run, std::u16string_view title, char ch, const LongGaps* long_gaps) {
    PassReport rep(run, title);
    walk_glued(run, long_gaps, [&](const SenToken* p, std::size_t n) {
        const char* g = p->gap;
        if (n < 2 || g[n - 1] != ch || !blank_or_tab(g[n - 2])) return;
        const std::string t = p->text;
        const std::string ctx = std::string{g[n - 2], ch} + t;
        if (ch == '-')
            rep.finding(ctx, std::string(" ->  ") + kEmDash + ' ' + t + " (mdash) |  " + t);
        else
            rep.finding(ctx, std::string(" ->  ") + ch + ' ' + t + " |  " + t);
        mark_source(run, p->pos - 2, p->pos);
    });
}

void slepen_next2(ProofRun& run, std::u16string_view title, char ch, const LongGaps* long_gaps) {
    PassReport rep(run, title);
    walk_glued(run, long_gaps, [&](const SenToken* p, std::size_t n) {
        const char* g = p->gap;
        if (n < 3) return;
        const char q = g[n - 1];
        if (!(quote_or_bracket(q) || q == '}') || g[n - 2] != ch || !blank_or_tab(g[n - 3])) return;
        const std::string t = p->text;
        const std::string ctx = std::string{' ', ch, q} + t;
        if (ch == '-')
            rep.finding(ctx, std::string(" ->  ") + kEmDash + ' ' + q + t + " (mdash) |  " + t);
        else if (ch == kEnDash)
            rep.finding(ctx, std::string(" ->  ") + kEmDash + ' ' + q + t + " (mdash) |  " + t + "|  " + q + t);
        else
            rep.finding(ctx, std::string(" ->  ") + ch + ' ' + q + t + " |  " + q + t);
        mark_source(run, p->pos - 3, p->pos);
    });
}

}  // namespace

void character_sequences(ProofRun& run, const PassRow&) {
    if (!run.floor) return;
    const SenToken* f = run.floor;
    const bool frame_layout = std::strcmp(f[0].gap, "{") == 0 && std::strcmp(f[1].gap, "}{") == 0;
    const bool time_layout = std::strstr(f[2].gap, "-->") != nullptr;
    auto allowed = [&](SequenceWhen w) {
        switch (w) {
            case SequenceWhen::Always: return true;
            case SequenceWhen::NotSubtitle: return gl_fg_subtitle == 0;
            case SequenceWhen::NotFrameLayout: return !frame_layout;
            case SequenceWhen::NotAnySubtitleLayout: return !frame_layout && !time_layout;
            case SequenceWhen::NotNovel: return gl_NOVEL_MODE == 0;
        }
        return false;
    };
    // For every character, the records whose gap holds it, in order, leaving out the gaps of one
    // blank: a pattern other than one blank can only stand in the records of its first character.
    std::array<std::vector<const SenToken*>, 256> holding;
    // A pattern of two characters or more can only stand in the records whose gap holds its first
    // two side by side: those records too, for each pair that begins a pattern (0: none does).
    std::vector<std::uint8_t> pair_bucket(65536, 0);
    std::vector<std::vector<const SenToken*>> pair_holding(1);
    auto pair_key = [](char a, char b) {
        return static_cast<std::size_t>(static_cast<unsigned char>(a)) << 8 | static_cast<unsigned char>(b);
    };
    for (const Sequence& s : sequences()) {
        if (s.pattern.size() < 2 || s.pattern == " ") continue;
        std::uint8_t& bucket = pair_bucket[pair_key(s.pattern[0], s.pattern[1])];
        if (bucket == 0 && pair_holding.size() < 256) {
            bucket = static_cast<std::uint8_t>(pair_holding.size());
            pair_holding.emplace_back();
        }
    }
    LongGaps long_gaps;
    for (const SenToken* p = run.floor; p < run.nd; ++p) {
        const char* g = p->gap;
        if (!g[0] || (g[0] == ' ' && !g[1])) continue;
        std::uint64_t seen[4] = {};  // the characters of this gap met so far, a bit each
        const char* const from = g;
        for (; *g; ++g) {
            const auto c = static_cast<unsigned char>(*g);
            const std::uint64_t bit = std::uint64_t{1} << (c & 63);
            if (!(seen[c >> 6] & bit)) {
                seen[c >> 6] |= bit;
                holding[c].push_back(p);
            }
            if (g[1]) {
                if (const std::uint8_t bucket = pair_bucket[pair_key(g[0], g[1])]) {
                    std::vector<const SenToken*>& h = pair_holding[bucket];
                    if (h.empty() || h.back() != p) h.push_back(p);
                }
            }
        }
        if (g - from >= 2) long_gaps.push_back({p, static_cast<std::size_t>(g - from)});
    }
    auto calls = [&](int from, int to) {
        for (const Sequence& s : sequences()) {
            if (s.call < from || s.call > to || !allowed(s.when)) continue;
            const bool blank = s.pattern == " " || s.pattern.empty();
            const std::vector<const SenToken*>* candidates = nullptr;
            if (!blank) {
                const std::uint8_t bucket =
                    s.pattern.size() >= 2 ? pair_bucket[pair_key(s.pattern[0], s.pattern[1])] : 0;
                candidates = bucket ? &pair_holding[bucket] : &holding[static_cast<unsigned char>(s.pattern[0])];
            }
            print_other_problem(run, s.pattern, s.title, s.suggestion, candidates);
        }
    };

    // The long gaps by the character each sentence-mark and glued-dash walk looks for where it
    // looks (the first, second, last or last but one of the gap): each walk goes over those only,
    // in order, and judges them as it would every long gap.
    struct ByChar {
        std::array<bool, 256> wanted{};
        std::array<LongGaps, 256> gaps;
        void want(std::span<const TitledChar> marks) {
            for (const TitledChar& m : marks) wanted[static_cast<unsigned char>(m.ch)] = true;
        }
        void file(char c, const GapRecord& r) {
            if (wanted[static_cast<unsigned char>(c)]) gaps[static_cast<unsigned char>(c)].push_back(r);
        }
    };
    ByChar by_first, by_second, by_last, by_last_but_one;
    by_first.want(kGluedBefore);
    by_second.want(kGluedBefore2);
    by_last.want(kGluedNext);
    by_last_but_one.want(kSentenceMarks);
    by_last_but_one.want(kGluedNext);
    for (const GapRecord& r : long_gaps) {
        const char* g = r.p->gap;
        by_first.file(g[0], r);
        by_second.file(g[1], r);
        by_last.file(g[r.n - 1], r);
        by_last_but_one.file(g[r.n - 2], r);
    }
    const auto at = [](const ByChar& by, char c) { return &by.gaps[static_cast<unsigned char>(c)]; };

    calls(1, 89);
    for (const TitledChar& m : kSentenceMarks) punct_space_small_letter(run, m.title, m.ch, at(by_last_but_one, m.ch));
    punct_nl_small_letter(run, &long_gaps);
    for (const TitledChar& m : kSubtitleMarks) print_subt_punct_space_small_letter(run, m.title, m.ch);
    calls(90, 91);
    for (const TitledChar& d : kGluedBefore) slepen_before(run, d.title, d.ch, at(by_first, d.ch));
    for (const TitledChar& d : kGluedBefore2) slepen_before2(run, d.title, d.ch, at(by_second, d.ch));
    for (const TitledChar& d : kGluedNext) slepen_next(run, d.title, d.ch, at(by_last, d.ch));
    for (const TitledChar& d : kGluedNext) slepen_next2(run, d.title, d.ch, at(by_last_but_one, d.ch));
    calls(92, 98);
}
