// Blanks and hyphens at the edges of lines and words: a blank before a line end, a hyphen glued to
// the end of a line, a hyphen with a blank on one side only, a blank at the start of a line.
#include <cstring>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/word_checks.h"

const WordList word_check_lists::kHyphenPrefixes{"по най"};

using namespace word_check_lists;

namespace {

constexpr char kEmDash = '\x97';

// The line of a finding from the third record on: the word two back, the previous gap and word and
// the tail, from the last line end on.
std::string line_context(const SenToken* p, std::string_view tail) {
    std::string line = std::string(p[-2].text) + p[-1].gap + p[-1].text + std::string(tail);
    const std::size_t cr = line.rfind('\r');
    if (cr != std::string::npos) line.erase(0, cr + 1);
    return line;
}

// The line context and its suggestion: the same line without its last character.
void line_finding(PassReport& rep, const SenToken* p, std::string_view tail) {
    const std::string ctx = line_context(p, tail);
    rep.finding(ctx, " -> " + ctx.substr(0, ctx.empty() ? 0 : ctx.size() - 1));
}

bool dash_gap(const char* g) { return std::strcmp(g, "- ") == 0 || std::strcmp(g, " -") == 0; }

}  // namespace

void trailing_blank(ProofRun& run, const PassRow& row) {
    if (!run.floor) return;
    PassReport rep(run, row.title);
    for (const SenToken* p = run.begin(1); p < run.end(); ++p) {
        const char* g = p->gap;
        const char* at = find_two(g, " \r");
        if (!at) continue;
        const std::string before(g, static_cast<std::size_t>(at - g));
        if (p >= run.floor + 2) line_finding(rep, p, before + ' ');
        else rep.finding(p[-1].text + before + ' ', " -> " + (p[-1].text + before));
        const LONG blank = gap_start(*p) + static_cast<LONG>(at - g);
        mark_source(run, blank, blank + 1);
    }
}

void trailing_hyphen(ProofRun& run, const PassRow& row) {
    if (!run.floor) return;
    PassReport rep(run, row.title);
    for (const SenToken* p = run.begin(1); p < run.end(); ++p) {
        const char* pw = p[-1].text;
        const char* w = p->text;
        if (!w[0] || !pw[0] || std::strncmp(p->gap, "-\r", 2) != 0 || kHyphenPrefixes.has(pw)) continue;
        if (known_bg(cut127(std::string(pw) + w)) || known_bg(cut127(std::string(pw) + '-' + w))) continue;
        if (p >= run.floor + 2) line_finding(rep, p, "-");
        else rep.finding(std::string(pw) + '-', " -> " + std::string(pw));
        mark_source(run, gap_start(*p), gap_start(*p) + 1, PR_COLOUR_ONLY, 0);
    }
}

void one_sided_hyphen(ProofRun& run, const PassRow& row) {
    static const std::string po = cp1251("по"), nai = cp1251("най"), i = cp1251("и");
    if (!run.floor) return;
    PassReport rep(run, row.title);
    for (const SenToken* p = run.begin(1); p < run.end(); ++p) {
        if (!p[-1].text[0] || !p->text[0] || !dash_gap(p->gap) || same_word(p->text, i)) continue;
        const std::string P = p[-1].text, C = p->text;
        const std::string J = cut127(P + C), H = cut127(P + '-' + C);
        const bool j = known_bg(J), h = known_bg(H);
        const std::string hyphened = P + '-' + C, apart = P + ' ' + C;
        const std::string em = P + ' ' + kEmDash + ' ' + C, minus = P + " - " + C;
        std::string s;
        if (same_word(P.c_str(), po)) s = j ? J + " | " + hyphened + " | " + apart : hyphened + " | " + apart;
        else if (same_word(P.c_str(), nai)) s = j ? J : hyphened + " | " + apart;
        else if (j && !h) s = J + " | " + em + " | " + minus + " | " + apart;
        else if (h && !j) s = H + " | " + em + " | " + minus + " | " + apart;
        else if (j && h) s = J + " | " + H + " | " + em + " | " + minus;
        else s = apart + " | " + em + " | " + minus + " | " + hyphened;
        const std::string ctx = P + p->gap + C;
        rep.finding(ctx, " -> " + s);
        mark_source(run, p[-1].pos, p[-1].pos + static_cast<LONG>(ctx.size()), PR_COLOUR_ONLY, 0);
    }
}

void leading_blank(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    for (const SenToken* p = run.begin(); p && p < run.end(); ++p) {
        const char* g = p->gap;
        const char* at = p->text[0] ? find_two(g, "\r ") : nullptr;
        if (!at) continue;
        const std::size_t n = std::strlen(g);
        const bool e = n >= 2 && g[n - 2] == '\r' && g[n - 1] == ' ';
        std::string words = p->text;
        if (p + 1 < run.nd && p[1].gap[0] && p[1].text[0]) words += std::string(p[1].gap) + p[1].text;
        if (e) rep.finding(' ' + words, " -> " + words + " (remove leading space)");
        else rep.finding(words, " -> no suggestions");
        const LONG blank = gap_start(*p) + static_cast<LONG>(at - g) + 1;
        mark_source(run, blank, blank + 1);
    }
}
