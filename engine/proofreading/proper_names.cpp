// Words known only as proper names but written with a small letter, and comparative and
// superlative forms written as two words ("по голям", "най голям").
#include <cstring>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_words.h"
#include "engine/proofreading/word_checks.h"
#include "engine/run_state.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "shell/lists.h"
#include "shell/settings.h"

namespace {

constexpr std::size_t kNameWordMax = 63;  // the 64-byte buffer of the capitalised word
constexpr int kType188 = 449;

// The comparison phrases in code page 1251, one list of words and one of next words per row.
struct Phrase {
    WordList words, next;
};
const std::vector<Phrase>& phrases() {
    static const std::vector<Phrase> list = [] {
        std::vector<Phrase> out;
        for (const ComparisonPhrase& c : comparison_phrases) out.push_back(Phrase{WordList{c.words}, WordList{c.next}});
        return out;
    }();
    return list;
}

bool set_phrase(const char* w, const char* next) {
    for (const Phrase& ph : phrases())
        if (ph.words.has(w) && ph.next.has(next)) return true;
    return false;
}

bool adjective_like(const char* w) {
    return TypeHasAscii(w, ascii_adj) != -1 || TypeHas(w, kType188) == 1 || TypeVerbANAT(w) == 1;
}

}  // namespace

// Adjectives and participles after "по"/"най" that are set phrases, not comparisons.
const std::array<ComparisonPhrase, COMPARISON_PHRASES> comparison_phrases{{
    {"бойното", "поле"},
    {"взаимно", "съгласие"},
    {"горската", "пътека пътечка"},
    {"горския", "път"},
    {"здравословни", "причини"},
    {"морското", "дъно"},
    {"наказателните", "дела"},
    {"неведомите", "пътища"},
    {"необясним", "начин"},
    {"неизвестни", "причини"},
    {"оттатъшната", "страна"},
    {"планинските", "върхове"},
    {"планинския", "път"},
    {"подобен", "начин"},
    {"политическа", "икономия"},
    {"първата", "точка"},
    {"пясъчните", "дюни"},
    {"работните", "маси"},
    {"телепатичния", "мост"},
    {"тревните", "площи"},
    {"хигиенични", "съображения"},
    {"хидравличната", "стълба"},
    {"цял", "ден месец час"},
    {"цяла", "вечер година нощ седмица"},
    {"цялата", "земя"},
    {"целия целите цялата цялото", "ти им му й ни ви си"},
    {"цели", "вечери години денонощия дни нощи месеци часове седмици"},
    {"чиста", "случайност"},
    {"широкия", "свят"},
}};

void small_proper_name(ProofRun& run, const PassRow& row) {
    static const std::string d_apos = cp1251("д'");
    PassReport rep(run, row.title);
    const auto small_name = [&](const SenToken* p) {
        const char* w = p->text;
        const std::size_t n = std::strlen(w);
        if (n < 2 || n > kNameWordMax || !cyr_lower(w[0]) || word_fact(run, p, WordFact::ProperOnly) != 1) return false;
        return std::strncmp(w, d_apos.c_str(), 2) != 0;  // not "д'Артанян" and the like
    };
    walk_judged(run, small_name, [&](const SenToken* p) {
        rep.finding(p->text, " -> " + capitalised_word(p->text));
        mark_source(run, p->pos, p->pos + 1);
    });
}

void comparison_without_hyphen(ProofRun& run, const PassRow& row) {
    static const std::string po = cp1251("по"), nai = cp1251("най");
    if (!run.floor) return;
    PassReport rep(run, row.title);
    for (const SenToken* p = run.begin(1); p < run.end(); ++p) {
        const char* w = p->text;
        const char* pw = p[-1].text;
        if (!w[0] || !pw[0]) continue;
        const bool po_kind = same_word(pw, po);
        if (!po_kind && !same_word(pw, nai)) continue;
        if (po_kind && !gl_FIND_PO_NAI) continue;
        if (!blank_gap(p->gap)) continue;
        if (po_kind && find_pair(b[B_BULGARIAN_PO_NAI].entries, w)) continue;
        if (p + 1 < run.nd && set_phrase(w, p[1].text)) continue;
        if (!adjective_like(w)) continue;
        const WordPair pair(p);
        pair.report(rep, run, " -> " + pair.wrap(std::string(pw) + '-' + w), po_kind ? PR_SUGGESTION : PR_BLUE);
        if (!po_kind) {
            const LONG n = static_cast<LONG>(std::strlen(pw) + std::strlen(p->gap) + std::strlen(w));
            mark_source(run, p[-1].pos, p[-1].pos + n, PR_COLOUR_ONLY, 0);
        }
    }
}
