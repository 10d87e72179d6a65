#include "engine/proofreading/gap_passes.h"

#include <cstring>
#include <string>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_report.h"
#include "engine/separators.h"
#include "lexicon/tables.h"
#include "platform/text.h"

namespace {

constexpr char kEmDash = '\x97';
constexpr char kEllipsis = '\x85';

bool small_letter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return ascii_cyrillic_lower[u] || ascii_latin_lower[u];
}

// A finding whose context is the two words with the gap between them, marked in the source from
// the previous word's start.
void glued(const ProofRun& run, PassReport& rep, const SenToken* p, const std::string& suggestion) {
    const std::string context = std::string(p[-1].text) + p->gap + p->text;
    rep.finding(context, suggestion);
    mark_source(run, p[-1].pos, p[-1].pos + static_cast<LONG>(context.size()));
}

}  // namespace

void blank_before_ellipsis(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    static const char kBlankEllipsis[] = {' ', kEllipsis, 0};
    walk_word_pairs(run, [&](const SenToken* p) {
        const char* g = p->gap;
        const char* at = find_two(g, kBlankEllipsis);
        if (!at) return;
        if (at > g && at[-1] == kEmDash) return;  // an em dash, a blank and an ellipsis is right
        LineEndInfo info{};
        GetEmptyInfo(&info, g);
        const std::string pt = p[-1].text;
        if (at == g)
            rep.finding(pt + ' ' + kEllipsis, " -> " + pt + kEllipsis);
        else if (info.cr_count > 0)
            rep.finding(std::string(" ") + kEllipsis, std::string(" -> ") + kEllipsis);
        else
            rep.finding(pt + g + p->text, " -> no suggestions");
        const LONG start = gap_start(*p) + static_cast<LONG>(at - g);
        mark_source(run, start, start + 2);
    });
}

void glued_em_dash(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    walk_word_pairs(run, [&](const SenToken* p) {
        if (p->gap[0] != kEmDash || p->gap[1]) return;
        const std::string pt = p[-1].text, g = p->gap, t = p->text;
        glued(run, rep, p, " -> " + pt + ' ' + g + ' ' + t + " | " + pt + '\x96' + t + " (ndash)");
    });
}

void glued_quotes(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    walk_word_pairs(run, [&](const SenToken* p) {
        const char q = p->gap[0];
        if (p->gap[1] || !(q == '"' || q == '\x84' || q == '\x93' || q == '\x94')) return;
        const std::string pt = p[-1].text, g = p->gap, t = p->text;
        glued(run, rep, p, " -> " + pt + g + ' ' + t + " | " + pt + ' ' + g + t);
    });
}

void glued_ellipsis(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    walk_word_pairs(run, [&](const SenToken* p) {
        if (p->gap[0] != kEllipsis || p->gap[1]) return;
        glued(run, rep, p, " -> " + std::string(p[-1].text) + p->gap + ' ' + p->text);
    });
}

void glued_three_dots(ProofRun& run, const PassRow& row) {
    static const std::string kThreeDots = utf8_to_cp1251(" (три точки) | ");
    static const std::string kEllipsisWord = utf8_to_cp1251(" (многоточие)");
    PassReport rep(run, row.title);
    walk_word_pairs(run, [&](const SenToken* p) {
        if (std::strcmp(p->gap, "...") != 0) return;
        const std::string pt = p[-1].text, t = p->text;
        glued(run, rep, p, " -> " + pt + "... " + t + kThreeDots + pt + kEllipsis + ' ' + t + kEllipsisWord);
    });
}

void line_dash_letter(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    for (const SenToken* p = run.begin(); p && p < run.end(); ++p) {
        const char* t = p->text;
        const std::size_t n = std::strlen(p->gap);
        if (!t[0] || n < 2 || p->gap[n - 2] != '\r' || p->gap[n - 1] != '-') continue;
        std::string sugg = " -> - ";
        if (small_letter(t[0])) {
            sugg += static_cast<char>(cp_toupper(static_cast<unsigned char>(t[0])));
            sugg += t + 1;
        } else {
            sugg += t;
        }
        rep.finding(std::string("-") + t, sugg);
        mark_source(run, p->pos - 1, p->pos + 1);
    }
}

void line_dash_blank_small(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    for (const SenToken* p = run.begin(); p && p < run.end(); ++p) {
        const char* t = p->text;
        const std::size_t n = std::strlen(p->gap);
        if (!t[0] || n < 3 || std::strcmp(p->gap + n - 3, "\r- ") != 0 || !small_letter(t[0])) continue;
        std::string sugg = " -> - ";
        sugg += static_cast<char>(cp_toupper(static_cast<unsigned char>(t[0])));
        sugg += t + 1;
        rep.finding(std::string("- ") + t, sugg);
        mark_source(run, p->pos - 2, p->pos + 1);
    }
}
