#include "engine/proofreading/proof_report.h"

#include <algorithm>
#include <array>
#include <optional>
#include <type_traits>

#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/richtext.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/panels.h"
#include "shell/token_frequency_index.h"
#include "shell/window_state.h"

namespace {

// Characters the text takes in a panel: CR LF is one paragraph end there.
template <typename S>
LONG panel_length(const S& text) {
    LONG n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        ++n;
    }
    return n;
}

}  // namespace

bool starts_small(const char* s) { return ascii_lower[static_cast<unsigned char>(s[0])] != 0; }

bool ends_capital(const char* s) {
    const std::size_t n = std::strlen(s);
    return n > 0 && ascii_upper[static_cast<unsigned char>(s[n - 1])] != 0;
}

namespace {

template <typename S>
void append(const ProofRun& run, const S& text, int line_ends) {
    constexpr bool wide = std::is_same_v<S, std::u16string_view>;
    if (ReportTape* t = run.tape) {
        t->add(ReportTape::Op{wide ? ReportTape::Kind::Line16 : ReportTape::Kind::Line8, line_ends}, text);
        t->length += panel_length(text) + line_ends;
        return;
    }
    if constexpr (wide) JuxShowMessageW(run.report, text, line_ends);
    else JuxShowMessage(run.report, text, line_ends);
}

template <typename S>
LONG append_coloured(const ProofRun& run, S text, int line_ends, COLORREF colour, DWORD effects) {
    const LONG at = report_end(run);
    append(run, text, line_ends);
    colour_report(run, at, at + panel_length(text), PR_COLOUR_BOLD, colour, effects);
    return at;
}

}  // namespace

// Records a range coloured in the report or marked in the source.
void record_range(ReportTape& t, ReportTape::Kind kind, LONG start, LONG end, DWORD mask, COLORREF colour, DWORD effects) {
    ReportTape::Op op{kind};
    op.from = start;
    op.to = end;
    op.mask = mask;
    op.colour = colour;
    op.effects = effects;
    t.ops.push_back(op);
}

LONG report_end(const ProofRun& run) {
    if (run.tape) return run.tape->length;
    CHARRANGE at{};
    SelectReEnd(run.report, at);
    return at.cpMin;
}

void colour_report(const ProofRun& run, LONG start, LONG end, DWORD mask, COLORREF colour, DWORD effects) {
    if (run.tape) return record_range(*run.tape, ReportTape::Kind::Colour, start, end, mask, colour, effects);
    ColorRangeOn(run.report, start, end, mask, colour, effects);
}

void report_blank_lines(const ProofRun& run, int line_ends) { append(run, std::string_view(), line_ends); }

LONG report_line(const ProofRun& run, std::u16string_view text, int line_ends, COLORREF colour, DWORD effects) {
    return append_coloured(run, text, line_ends, colour, effects);
}

LONG report_line8(const ProofRun& run, std::string_view text, int line_ends, COLORREF colour, DWORD effects) {
    return append_coloured(run, text, line_ends, colour, effects);
}

PassReport::PassReport(ProofRun& run, std::u16string_view title, int title_line_ends)
    : run_(run), title_(title), title_line_ends_(title_line_ends) {}

PassReport::~PassReport() { end(); }

void PassReport::title_step(COLORREF colour, DWORD effects) {
    if (++count_ != 1) return;
    if (ReportTape* t = run_.tape) {
        ReportTape::Op op{ReportTape::Kind::Title, title_line_ends_};
        op.colour = colour;
        op.effects = effects;
        t->add(op, title_);
        return;
    }
    glMsgW.assign(title_);
    report_line(run_, glMsgW, title_line_ends_, colour, effects);
}

void PassReport::title_only(COLORREF colour, DWORD effects) { title_step(colour, effects); }

LONG PassReport::finding(std::string_view context, std::string_view suggestion, COLORREF suggestion_colour) {
    title_step(PR_TITLE, CFE_BOLD);
    glMsg.assign(context);
    const LONG n1 = panel_length(context);
    glMsg.append(suggestion);
    const LONG n2 = panel_length(suggestion);
    const LONG at = report_end(run_);
    if (ReportTape* t = run_.tape) {
        ReportTape::Op op{ReportTape::Kind::Finding, 1};
        op.from = at;
        op.to = at + n1;
        op.mask = static_cast<DWORD>(at + n1 + n2);
        op.colour = suggestion_colour;
        t->add(op, std::string_view(glMsg));
        t->length += panel_length(std::string_view(glMsg)) + 1;
        return at;
    }
    append(run_, std::string_view(glMsg), 1);
    colour_report(run_, at, at + n1, PR_COLOUR_BOLD, PR_CONTEXT, CFE_BOLD);
    colour_report(run_, at + n1, at + n1 + n2, PR_COLOUR_BOLD, suggestion_colour, 0);
    return at;
}

void PassReport::end(int line_ends) {
    if (ended_) return;
    ended_ = true;
    if (count_ == 0) return;
    if (ReportTape* t = run_.tape) t->ops.push_back(ReportTape::Op{ReportTape::Kind::End, line_ends});
    else JuxShowMessage(run_.report, "", line_ends);
}

void index_finding(const ProofRun& run, const PassReport& rep, std::string_view word) {
    if (ReportTape* t = run.tape) {
        if (rep.count() == 0) t->ops.push_back(ReportTape::Op{ReportTape::Kind::IndexReset});
        t->add(ReportTape::Op{ReportTape::Kind::Index}, word);
        return;
    }
    if (rep.count() == 0) ResetGmake();
    PutInG(word);
}

void mark_line_break(const ProofRun& run, LONG pos) {
    colour_report(run, pos, pos + 1, PR_COLOUR_BOLD, PR_LINE_BREAK, CFE_BOLD);
}

void mark_source(const ProofRun& run, LONG start, LONG end) {
    mark_source(run, start, end, PR_COLOUR_UNDERLINE, CFE_UNDERLINE);
}

void mark_source(const ProofRun& run, LONG start, LONG end, DWORD mask, DWORD effects, COLORREF colour) {
    if (!run.mark_source) return;
    if (run.tape) return record_range(*run.tape, ReportTape::Kind::Mark, start, end, mask, colour, effects);
    ColorRangeOn(run.source, start, end, mask, colour, effects);
}

TapePlayer::TapePlayer(const ProofRun& run) : run_(run) {
    const HWND re = run.report;
    gather_ = re != run.source && IsWindow(re) && PL_GetControlKind(re) == ControlKind::RichEdit &&
              !(RE_GetEventMask(re) & ENM_SELCHANGE);
    if (gather_) limit_ = RE_GetLimitText(re);
}

LONG TapePlayer::report_end() { return text_.empty() ? ::report_end(run_) : start_ + static_cast<LONG>(text_.size()); }

template <typename S>
void TapePlayer::line(S text, int line_ends) {
    constexpr bool wide = std::is_same_v<S, std::u16string_view>;
    if (gather_) {
        if (text_.empty()) start_ = ::report_end(run_);
        // The line as the panel keeps it: '\r' line ends, CR LF as one.
        const std::size_t at = text_.size();
        if (text.find('\n') != S::npos) {
            std::u16string piece;
            if constexpr (wide) piece.assign(text);
            else piece = cp1251_to_utf16(text);
            text_ += normalize_line_ends(piece);
        } else if constexpr (wide) {
            text_ += text;
        } else {
            static const std::array<char16_t, 256> kUnit = [] {
                std::array<char16_t, 256> u{};
                for (int b = 0; b < 256; ++b) u[static_cast<std::size_t>(b)] = cp1251_to_wchar(static_cast<unsigned char>(b));
                return u;
            }();
            text_.resize(at + text.size());
            char16_t* out = text_.data() + at;
            for (const char c : text) *out++ = kUnit[static_cast<unsigned char>(c)];
        }
        text_.append(static_cast<std::size_t>(std::max(line_ends, 0)), u'\r');
        if (std::int64_t{start_} + static_cast<std::int64_t>(text_.size()) <= limit_) {
            if (text_.size() > at) ++lines_;
            last_colour_ = false;
            return;
        }
        text_.resize(at);
        flush();
        gather_ = false;  // the text reaches its limit: what follows goes in step by step
    }
    if constexpr (wide) JuxShowMessageW(run_.report, text, line_ends);
    else JuxShowMessage(run_.report, text, line_ends);
}

void TapePlayer::colour(LONG from, LONG to, DWORD mask, COLORREF colour, DWORD effects) {
    const LONG end = start_ + static_cast<LONG>(text_.size());
    if (!text_.empty() && from >= start_ && from < to && to <= end) {
        CHARFORMAT2W cf;
        cf.dwMask = mask;
        cf.dwEffects = effects;
        cf.crTextColor = colour;
        changes_.push_back(FormatChange{from - start_, to - start_, cf});
        last_colour_ = true;
        // Text put in after a coloured last character would take its format: it goes in apart.
        if (to == end) flush();
        return;
    }
    flush();
    ColorRangeOn(run_.report, from, to, mask, colour, effects);
}

void TapePlayer::flush() {
    if (text_.empty()) return;
    const HWND re = run_.report;
    // The last colouring is made alone, after the text, so that the selection ends on it as it would.
    std::optional<FormatChange> last;
    if (last_colour_) {
        last = changes_.back();
        changes_.pop_back();
    }
    const bool coloured = !changes_.empty();
    RE_AppendFormatted(re, text_, changes_, false);
    // The dialog hears of each line's change, as it would have; the append told it of one.
    if (lines_ > 1 && (RE_GetEventMask(re) & ENM_CHANGE)) {
        const HWND dialog = GetParent(re);
        const Msg change = Msg::command(GetDlgCtrlID(re), EN_CHANGE, re);
        for (int i = 1; i < lines_; ++i) SendMessageW(dialog, change);
    }
    if (coloured) RE_HideSelection(re, true);
    RE_Scroll(re, SB_BOTTOM);
    UpdateWindow(re);
    if (last)
        ColorRangeOn(re, start_ + last->from, start_ + last->to, last->format.dwMask, last->format.crTextColor,
                     last->format.dwEffects);
    text_.clear();
    changes_.clear();
    lines_ = 0;
    last_colour_ = false;
}

void TapePlayer::play(const ReportTape& tape, LONG shift, bool& titled, int& end_lines) {
    LONG base = -1;
    for (const ReportTape::Op& op : tape.ops) {
        switch (op.kind) {
            case ReportTape::Kind::Title:
                if (titled) break;
                titled = true;
                flush();
                glMsgW.assign(tape.text_of16(op));
                report_line(run_, glMsgW, op.line_ends, op.colour, op.effects);
                break;
            case ReportTape::Kind::Line8:
                if (base < 0) base = report_end();
                line(tape.text_of8(op), op.line_ends);
                break;
            case ReportTape::Kind::Line16:
                if (base < 0) base = report_end();
                line(tape.text_of16(op), op.line_ends);
                break;
            case ReportTape::Kind::Colour:
                colour(base + op.from, base + op.to, op.mask, op.colour, op.effects);
                break;
            case ReportTape::Kind::Finding: {
                if (base < 0) base = report_end();
                line(tape.text_of8(op), op.line_ends);
                const LONG suggestion_end = static_cast<LONG>(op.mask);
                colour(base + op.from, base + op.to, PR_COLOUR_BOLD, PR_CONTEXT, CFE_BOLD);
                colour(base + op.to, base + suggestion_end, PR_COLOUR_BOLD, op.colour, 0);
                break;
            }
            case ReportTape::Kind::Mark:
                ColorRangeOn(run_.source, op.from + shift, op.to + shift, op.mask, op.colour, op.effects);
                break;
            case ReportTape::Kind::End: end_lines = op.line_ends; break;
            case ReportTape::Kind::IndexReset:
                if (!titled) ResetGmake();
                break;
            case ReportTape::Kind::Index: PutInG(tape.text_of8(op)); break;
        }
    }
}

void summary_report(ProofRun& run, std::u16string_view title, unsigned count, std::string_view context,
                    std::string_view suggestion) {
    if (count == 0) return;
    glMsgW.assign(title);
    const LONG n = panel_length(title);
    glMsgW.append(u"  ");
    for (char d : std::to_string(count)) glMsgW += static_cast<char16_t>(d);
    const LONG m = static_cast<LONG>(glMsgW.size()) - static_cast<LONG>(title.size());
    CHARRANGE at{};
    SelectReEnd(run.report, at);
    JuxShowMessageW(run.report, glMsgW, 1);
    ColorRangeOn(run.report, at.cpMin, at.cpMin + n, PR_COLOUR_BOLD, PR_TITLE, CFE_BOLD);
    ColorRangeOn(run.report, at.cpMin + n, at.cpMin + n + m, PR_COLOUR_BOLD, PR_COUNT, 0);

    glMsg.assign(context);
    const LONG n1 = panel_length(context);
    glMsg.append(suggestion);
    const LONG n2 = panel_length(suggestion);
    SelectReEnd(run.report, at);
    JuxShowMessage(run.report, glMsg, 1);
    ColorRangeOn(run.report, at.cpMin, at.cpMin + n1, PR_COLOUR_BOLD, PR_CONTEXT, CFE_BOLD);
    ColorRangeOn(run.report, at.cpMin + n1, at.cpMin + n1 + n2, PR_COLOUR_BOLD, PR_SUGGESTION, 0);
    JuxShowMessage(run.report, "", 1);
}
