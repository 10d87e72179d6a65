#include "engine/proofreading/proof_report.h"

#include <type_traits>

#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "shell/panels.h"
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
void append(HWND re, const S& text, int line_ends) {
    if constexpr (std::is_same_v<S, std::u16string_view>) JuxShowMessageW(re, text, line_ends);
    else JuxShowMessage(re, text, line_ends);
}

template <typename S>
LONG append_coloured(const ProofRun& run, S text, int line_ends, COLORREF colour, DWORD effects) {
    CHARRANGE at{};
    SelectReEnd(run.report, at);
    append(run.report, text, line_ends);
    ColorRangeOn(run.report, at.cpMin, at.cpMin + panel_length(text), PR_COLOUR_BOLD, colour, effects);
    return at.cpMin;
}

}  // namespace

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
    CHARRANGE at{};
    SelectReEnd(run_.report, at);
    JuxShowMessage(run_.report, glMsg, 1);
    ColorRangeOn(run_.report, at.cpMin, at.cpMin + n1, PR_COLOUR_BOLD, PR_CONTEXT, CFE_BOLD);
    ColorRangeOn(run_.report, at.cpMin + n1, at.cpMin + n1 + n2, PR_COLOUR_BOLD, suggestion_colour, 0);
    return at.cpMin;
}

void PassReport::end(int line_ends) {
    if (ended_) return;
    ended_ = true;
    if (count_ > 0) JuxShowMessage(run_.report, "", line_ends);
}

void mark_line_break(const ProofRun& run, LONG pos) {
    ColorRangeOn(run.report, pos, pos + 1, PR_COLOUR_BOLD, PR_LINE_BREAK, CFE_BOLD);
}

void mark_source(const ProofRun& run, LONG start, LONG end) {
    mark_source(run, start, end, PR_COLOUR_UNDERLINE, CFE_UNDERLINE);
}

void mark_source(const ProofRun& run, LONG start, LONG end, DWORD mask, DWORD effects) {
    if (!run.mark_source) return;
    ColorRangeOn(run.source, start, end, mask, PR_MARK, effects);
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
