#include "engine/proofreading/novel_checks.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_report.h"
#include "engine/separators.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/panels.h"
#include "shell/window_state.h"

using namespace novel_lists;

namespace {

constexpr unsigned char kLowQuote = 132;    // „
constexpr unsigned char kRightQuote = 148;  // ”
constexpr std::size_t kContextChars = 25;   // characters of a paragraph shown with its finding

std::u16string u16num(long long v) {
    std::u16string s;
    for (char d : std::to_string(v)) s += static_cast<char16_t>(d);
    return s;
}

// The letters of a tag line, and what each tag does to the pair check.
bool is_tag_letter(char c) { return c != 0 && std::string_view("ACDEFILMPST").find(c) != std::string_view::npos; }

// The texts of the suggestion parts (code page 1251, made once).
struct PairTexts {
    std::string symbol = utf8_to_cp1251(" -> символът ");
    std::string time = utf8_to_cp1251(" път");
    std::string times = utf8_to_cp1251(" пъти");
    std::string and_ = utf8_to_cp1251(" и ");
    std::string wrong_close = utf8_to_cp1251(" (затваряща кавичка с код x93 вместо x94)");
};
const PairTexts& pair_texts() {
    static const PairTexts t;
    return t;
}

// A paragraph as the pair check reads it: how often each character occurs, and its first
// kContextChars characters (its context in a finding). It is read piece by piece, once.
struct Paragraph {
    std::array<std::size_t, 256> counts{};
    std::string head;
    void clear() {
        counts.fill(0);
        head.clear();
    }
    void add(const char* s, std::size_t n) {
        if (head.size() < kContextChars) head.append(s, std::min(n, kContextChars - head.size()));
        for (std::size_t i = 0; i < n; ++i) ++counts[static_cast<unsigned char>(s[i])];
    }
    void add(const char* s) { add(s, std::strlen(s)); }
    std::size_t count_of(unsigned char c) const { return counts[c]; }
};

void check_paragraph(PassReport& rep, const Paragraph& para, bool tag_pairs) {
    const std::size_t right_quotes = para.count_of(kRightQuote);
    const MarkPair* begin = tag_pairs ? std::begin(kTagPairs) : std::begin(kNormalPairs);
    const MarkPair* end = tag_pairs ? std::end(kTagPairs) : std::end(kNormalPairs);
    const PairTexts& tx = pair_texts();
    for (const MarkPair* pr = begin; pr != end; ++pr) {
        const std::size_t open = para.count_of(pr->open);
        const std::size_t close = pr->open == pr->close ? open : para.count_of(pr->close);
        std::string sugg;
        if (pr->open == pr->close) {
            if (open % 2 == 0) continue;
            sugg = tx.symbol + static_cast<char>(pr->open) + ' ' + std::to_string(open) + (open == 1 ? tx.time : tx.times);
        } else {
            if (open == close) continue;
            sugg = " -> ";
            sugg += static_cast<char>(pr->open);
            sugg += ' ';
            sugg += static_cast<char>(pr->close);
            sugg += "  " + std::to_string(open) + tx.and_ + std::to_string(close) + tx.times;
            if (pr->open == kLowQuote && open > 0 && close == 0 && right_quotes > 0) sugg += tx.wrong_close;
        }
        rep.finding(para.head, sugg, PR_NOVEL);
    }
}

}  // namespace

void paragraph_statistics(ProofRun& run, const PassRow& row) {
    if (!run.floor) return;
    long long all = 1, with_text = 1, largest = 0;
    const SenToken* current = run.floor;
    const SenToken* longest = run.floor;
    const SenToken* last = run.last();
    for (const SenToken* p = run.floor + 1; p < run.nd; ++p) {
        if (!has_cr(p->gap)) {
            if (p == last && p->text[0]) --with_text;
            else continue;
        }
        const long long len = p - current;
        if (len > largest) {
            largest = len;
            longest = current;
        }
        current = p;
        LineEndInfo info{};
        GetEmptyInfo(&info, p->gap);
        all += info.cr_count;
        ++with_text;
        if (p == last && !p->text[0]) {
            --with_text;
            JuxShowMessage(run.report, "", 2);
            report_line(run, row.title, 1, PR_NOVEL, CFE_BOLD);
        }
    }
    if (all <= 2) return;

    const long double average = with_text == 0 ? 0.0L : static_cast<long double>(run.tokens) / static_cast<long double>(with_text);
    char avg[64];
    std::snprintf(avg, sizeof avg, "%.2Lf", average);
    JuxShowMessage(run.report, "", 1);
    std::u16string line = u"Параграфи: " + u16num(all) + u", празни: " + u16num(all - with_text) + u", с текст: " +
                          u16num(with_text) + u", средно " + cp1251_to_utf16(avg) + u" думи";
    report_line(run, line, 0, PR_NOVEL, 0);
    JuxShowMessage(run.report, "", 2);
    report_line(run, u"Параграф с най-много думи (" + u16num(largest) + u"):", 1, PR_NOVEL, 0);
    // The first five records of the longest paragraph (the records after the store are empty).
    glMsg = longest->text;
    for (int i = 1; i <= 4; ++i) {
        glMsg += longest[i].gap;
        glMsg += longest[i].text;
    }
    report_line8(run, glMsg, 1, PR_CONTEXT, CFE_BOLD);
}

void unbalanced_pairs(ProofRun& run, const PassRow& row) {
    if (!run.floor) return;
    PassReport rep(run, row.title, 2);
    bool tag_l = false, tag_p = false, tag_i = false;
    const SenToken* first = run.floor;
    const SenToken* last = run.last();
    Paragraph para;
    for (const SenToken* p = run.floor; p < run.nd; ++p) {
        const char* cr = std::strchr(p->gap, '\r');
        if (!cr && p != last) continue;

        // A tag line: the letter ends the line's text and ">" or "$" stands right before the line end.
        const char* g = p->gap;
        if (p > run.floor && cr && (g[0] == '>' || g[0] == '$') && g[1] == '\r') {
            const char* pt = p[-1].text;
            if (is_tag_letter(pt[0]) && pt[1] == 0) {
                const bool open = g[0] == '>';
                if (pt[0] == 'L') tag_l = open;
                if (pt[0] == 'P') tag_p = open;
                if (pt[0] == 'I') tag_i = open;
                first = p;
                continue;
            }
        }

        // The paragraph as it stands in the text: from the first record's last line end to p's
        // first one. When p is the first record, nothing stands before its line end but its gap.
        para.clear();
        if (p != first) {
            const char* fg = first->gap;
            const char* after = std::strrchr(fg, '\r');
            para.add(after ? after + 1 : fg);
            para.add(first->text);
            for (const SenToken* q = first + 1; q < p; ++q) {
                para.add(q->gap);
                para.add(q->text);
            }
        }
        para.add(g, cr ? static_cast<std::size_t>(cr - g) : std::strlen(g));

        if (!(tag_i && para.head.size() >= 2 && para.head[0] == '\t' && para.head[1] == '$'))
            check_paragraph(rep, para, tag_l || tag_p);
        first = p;
    }
    rep.end(2);
}
