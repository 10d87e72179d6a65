// Present participles in -щ written where a verb form in -ш belongs, and the other way round: the
// last щ or ш of a word swapped, reported when both spellings are known words and the morphology
// and the neighbouring words make the other reading likely.
#include <cstring>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_words.h"
#include "engine/proofreading/word_checks.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "shell/panels.h"
#include "shell/token_frequency_index.h"

const WordList word_check_lists::kShtNotBefore{"на един"};
const WordList word_check_lists::kShNotAfter{"го да им какво ли ми ме ти се си ще"};

using namespace word_check_lists;

namespace {

constexpr char kSht = '\xF9';  // щ
constexpr char kSh = '\xF8';   // ш
constexpr std::size_t kWordMax = 127;  // the 128-byte copy of the word
constexpr int kType192 = 453;

// The word with its last `from` replaced by `to`; empty when it has none.
std::string swap_last(std::string_view w, char from, char to) {
    const std::size_t at = w.rfind(from);
    if (at == std::string_view::npos) return {};
    std::string s(w);
    s[at] = to;
    return s;
}

bool only_blanks_underscores(const char* g) { return g[std::strspn(g, " _\r")] == 0; }

// The first finding resets the token index before the title; every finding is counted in it.
LONG indexed_finding(const ProofRun& run, PassReport& rep, const char* w, const std::string& sugg, COLORREF colour) {
    index_finding(run, rep, w);
    return rep.finding(w, " -> " + sugg, colour);
}

SummaryEntry sht_form(std::string_view name) {
    const std::string s = swap_last(cut127(std::string(name)), kSh, kSht);
    return SummaryEntry{" -> " + s, PR_SUGGESTION};
}

}  // namespace

void sht_to_sh(ProofRun& run, const PassRow& row) {
    static const std::string da = cp1251("да");
    PassReport rep(run, row.title);
    COLORREF colour = PR_SUGGESTION;
    for (const SenToken* p = run.begin(); p && p < run.end(); ++p) {
        const char* w = p->text;
        if (std::strlen(w) > kWordMax) continue;
        const std::string sh = swap_last(w, kSht, kSh);
        if (sh.empty()) continue;
        // The word's own reading first: it rules out most words, and the colour is set again
        // for every record after the first before it is read.
        if (IsTypeVerbSHTOnly(w) != 1) continue;
        if (p > run.floor) {
            const char* pw = p[-1].text;
            if (same_word(pw, da) && only_blanks_underscores(p->gap)) {
                colour = PR_BLUE;  // "да" wants the verb
            } else {
                if (IsOnlyType(pw, kType192) == 1 || kShtNotBefore.has(pw) || IsTypeVerbOnly(pw) == 1) continue;
                colour = PR_SUGGESTION;
            }
        }
        if (!known_bg(sh) || !word_fact(run, p, WordFact::Known)) continue;
        indexed_finding(run, rep, w, sh, colour);
        if (colour == PR_BLUE)
            mark_source(run, p->pos, p->pos + static_cast<LONG>(std::strlen(w)), PR_COLOUR_ONLY, 0);
    }
    if (rep.count() == 0) return;
    rep.end();
    if (!run.tape) sht_to_sh_close(run);
}

void sht_to_sh_close(ProofRun&) { FinishGmake(); }

void sh_to_sht(ProofRun& run, const PassRow& row) {
    static const std::string li = cp1251("ли");
    PassReport rep(run, row.title);
    for (const SenToken* p = run.begin(); p && p < run.end(); ++p) {
        const char* w = p->text;
        if (std::strlen(w) > kWordMax || !std::strchr(w, kSh)) continue;
        if ((p > run.floor && kShNotAfter.has(p[-1].text)) || same_word(p[1].text, li)) continue;
        if (word_fact(run, p, WordFact::VerbRow) == -1) continue;
        const std::string sht = swap_last(w, kSh, kSht);
        if (!known_bg(sht) || !word_fact(run, p, WordFact::Known)) continue;
        indexed_finding(run, rep, w, sht, PR_SUGGESTION);
    }
    if (rep.count() == 0) return;
    rep.end();
    if (!run.tape) sh_to_sht_close(run);
}

void sh_to_sht_close(ProofRun& run) {
    FinishGmake();
    if (g_floor < g_nd && g_floor->count > 1) {
        JuxShowMessage(run.report, "", 1);
        findings_summary(run, u"ПОТЕНЦИАЛНИ ГРЕШКИ: Ш -> Щ (", sht_form);
    }
    JuxShowMessage(run.report, "", 1);
}
