// Six passes over short phrases that are usually typing errors: a preposition before a verb, "да"
// before a word that is not a verb, a verb before "е" (for "с"), a short pronoun between "ако",
// "щом", "не" or "но" and a word that is not a verb, two prepositions in a row, and "не" before a
// definite noun (for "на"). Words are looked up in the Bulgarian word list and the word-form
// index; the words of the comma list stand for the prepositions.
#include <cstring>
#include <string>

#include "engine/proofreading/agreement.h"
#include "engine/proofreading/proof_words.h"
#include "engine/proofreading/pass_order.h"
#include "lexicon/bgtypes.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "spelling/spell_state.h"

namespace phrase_lists {

const WordList kNotPrepositions{"като край отвъд отсам оттатък преди пряко"};
const WordList kPodLemmas{"съм имам лежа падам ща"};
const WordList kPoForms{"беше бих бях бяхме бяхте си са сте сме съм"};
const WordList kOsvenVerbs{"може разбира"}, kProtivLemmas{"нямам имам са"};
const WordList kShortAfterDa{"ви ги го де или им ме й ми му не ни но се те ти я"};
const WordList kKnowing{"значи знаел знаела знаело знаели изглежда"};
const WordList kShortDoubtful{"ви ги го й им ме ми му ни се я"};
const WordList kIf{"ако щом"}, kNotBut{"не но"};
const WordList kAfterIf{"се ги го я"}, kAfterNot{"и се ли ги го я"};
const WordList kNeverFirst{"без вместо за като наместо по под освен край отвъд отсам оттатък преди пряко"};
const WordList kNeverSecond{"край на около под пряко"};
const WordList kContrast{"а ала но"};
// Pairs that are good Bulgarian: the previous word, then the words that may follow it.
const std::array<std::pair<WordList, WordList>, 6> kGoodPairs{{
    {WordList{"до"}, WordList{"към над отвъд отсам оттатък под преди след"}},
    {WordList{"в във с със"}, WordList{"по над под"}},
    {WordList{"след"}, WordList{"като на"}},
    {WordList{"с"}, WordList{"до над по преди"}},
    {WordList{"на"}, WordList{"без по към над"}},
    {WordList{"от"}, WordList{"към над отвъд отсам оттатък по преди"}},
}};

}  // namespace phrase_lists

using namespace phrase_lists;

namespace {

using agree::Word;

// Walks the pairs of records (previous, current) from the record after the first one.
template <typename F>
void walk(const ProofRun& run, const SenToken* from, F&& f) {
    if (!run.floor) return;
    for (const SenToken* p = from; p < run.end(); ++p) {
        if (!p->text[0] && !p[-1].text[0]) continue;
        f(p);
    }
}

// The finding of a pair: the previous and the current word between the blanks that stood around
// them, the previous word's last letter marked when a line break follows it, and the two words with
// the gap between them coloured in the source when `mark` is set.
void pair_finding(PassReport& rep, const ProofRun& run, const SenToken* p, std::string_view suggestion,
                  COLORREF colour, bool mark) {
    const std::string lead = lead_blank(p[-1]), prev = p[-1].text;
    const std::string context = lead + prev + ' ' + p->text + tail_blank(p[1]);
    const long marker = begins_with_break(p->gap) ? static_cast<long>(lead.size() + prev.size()) - 1 : 0;
    agree::write_finding(rep, run, context, suggestion, colour, marker);
    if (mark)
        mark_source(run, p[-1].pos, p->pos + static_cast<LONG>(std::strlen(p->text)), PR_COLOUR_ONLY, 0);
}

// Not a verb: a known word with no verb analysis and not unclassified.
bool known_not_verb(const ProofRun& run, const SenToken* p) {
    return word_fact(run, p, WordFact::Known) && word_fact(run, p, WordFact::VerbRow) == -1 &&
           TypeHas(p->text, BGT_UNCLASSIFIED) == 0;
}

}  // namespace

void preposition_verb(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    static const Word kPod("под"), kPo("по"), kOsven("освен"), kProtiv("против"), kMozhe("може"), kBi("би");
    std::string lemma;
    walk(run, run.begin(1), [&](const SenToken* p) {
        const char *prev = p[-1].text, *cur = p->text;
        if (!word_fact(run, p - 1, WordFact::Comma1) || word_fact(run, p, WordFact::VerbNotAdjOnly) != 1) return;
        if (!blank_gap(p->gap) || cyr_upper(cur[0]) || kNotPrepositions.has(prev)) return;
        GetBgLemma(cur, -1, lemma);
        if (kPod.is(prev)) {
            if (kPodLemmas.has(lemma)) return;
            const std::string joined = std::string(prev) + cur;
            if (joined.size() <= BG_WORD_MAX && !in_b_row(B_BULGARIAN, joined)) return;
        }
        if (kPo.is(prev) && kPoForms.has(cur)) return;
        if ((kOsven.is(prev) && kOsvenVerbs.has(cur)) || (kProtiv.is(prev) && kProtivLemmas.has(lemma))) return;
        if (p[1].text[0] && run.nd - run.floor > 3 && kMozhe.is(cur) && kBi.is(p[1].text) && blank_gap(p[1].gap))
            return;
        pair_finding(rep, run, p, " -> no suggestions", gl_col_nosug, true);
    });
}

void da_not_verb(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    static const Word kDa("да"), kI("и"), kNe("не");
    const SenToken* last = run.last();
    walk(run, run.begin(1), [&](const SenToken* p) {
        const char *prev = p[-1].text, *cur = p->text;
        if (!blank_gap(p->gap) || cyr_upper(cur[0]) || !kDa.is(prev) || kShortAfterDa.has(cur)) return;
        if (!known_not_verb(run, p)) return;
        const bool i = kI.is(cur);
        if (i && p < last && blank_gap(p[1].gap) && kNe.is(p[1].text)) return;
        const std::string lead = lead_blank(p[-1]), tail = tail_blank(p[1]);
        const std::string suggestion = i ? " -> " + lead + prev + " " + utf8_to_cp1251("й") + tail
                                         : " -> " + lead + prev + ", " + cur + tail + " | " + lead + cur + tail;
        pair_finding(rep, run, p, suggestion, PR_SUGGESTION, true);
    });
}

void verb_before_e(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    static const Word kE("е");
    walk(run, run.begin(1), [&](const SenToken* p) {
        const char* prev = p[-1].text;
        if (!blank_gap(p->gap) || !kE.is(p->text) || word_fact(run, p - 1, WordFact::VerbNotAdjOnly) != 1) return;
        const char* g = p[-1].gap;
        if (cyr_upper(prev[0]) && g[std::strspn(g, " ,")] == 0) return;  // a capital in mid-sentence
        if (kKnowing.has(prev)) return;
        const std::string lead = lead_blank(p[-1]), tail = tail_blank(p[1]);
        pair_finding(rep, run, p,
                     " -> " + lead + prev + ' ' + utf8_to_cp1251("с") + tail + " | " + lead + prev + ", " +
                         utf8_to_cp1251("е") + tail,
                     PR_SUGGESTION, false);
    });
}

void doubtful_phrase(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    static const Word kMe("ме");
    if (!run.floor) return;
    walk(run, run.begin(2), [&](const SenToken* p) {
        const char *two = p[-2].text, *prev = p[-1].text, *cur = p->text;
        if (!prev[0] || !cur[0] || !blank_gap(p->gap) || !blank_gap(p[-1].gap)) return;
        if (cyr_upper(cur[0]) || (p - run.floor > 2 && cyr_upper(prev[0]))) return;
        const bool shape = (kIf.has(two) && kShortDoubtful.has(prev) && !kAfterIf.has(cur)) ||
                           (kNotBut.has(two) && kShortDoubtful.has(prev) && !kAfterNot.has(cur)) ||
                           (kIf.has(two) && kMe.is(prev));
        if (!shape || !known_not_verb(run, p)) return;
        const std::string t = two, pv = prev;
        long marker = 0;
        if (begins_with_break(p[-1].gap)) marker = static_cast<long>(t.size()) - 1;
        else if (begins_with_break(p->gap)) marker = static_cast<long>(t.size() + pv.size());
        agree::write_finding(rep, run, t + ' ' + pv + ' ' + cur, " -> no suggestions", gl_col_nosug, marker);
        mark_source(run, p[-2].pos, p->pos + static_cast<LONG>(std::strlen(cur)), PR_COLOUR_ONLY, 0);
    });
}

void adjacent_prepositions(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    walk(run, run.begin(1), [&](const SenToken* p) {
        const char *prev = p[-1].text, *cur = p->text;
        if (!cur[0] || !blank_gap(p->gap) || cyr_upper(cur[0])) return;
        if (p - run.floor > 2 && blank_gap(p[-1].gap) && cyr_upper(prev[0])) return;
        if (!word_fact(run, p - 1, WordFact::Comma1) || !word_fact(run, p, WordFact::Comma1)) return;
        for (const auto& [first, second] : kGoodPairs)
            if (first.has(prev) && second.has(cur)) return;
        if (kNeverFirst.has(prev) || kNeverSecond.has(cur) || cp_strcasecmp(prev, cur) == 0) return;
        pair_finding(rep, run, p, " -> no suggestions", gl_col_nosug, true);
    });
}

void ne_definite_noun(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    static const Word kNe("не"), kLi("ли"), kKakvi("какви");
    static const std::string kA = utf8_to_cp1251("а"), kAmi = utf8_to_cp1251("ами");
    const SenToken* last = run.last();
    NounAdjInfo info;
    walk(run, run.begin(1), [&](const SenToken* p) {
        const char *prev = p[-1].text, *cur = p->text;
        if (!kNe.is(prev) || !blank_gap(p->gap)) return;
        if (run_noun_info(run, p, info) != 1 || word_fact(run, p, WordFact::VerbRow) != -1 || !info.definite) return;
        const long before = p - run.floor;
        if (before > 2 && blank_gap(p[-1].gap) && kLi.is(p[-2].text) && kKakvi.is(p[-3].text) && blank_gap(p[-2].gap))
            return;
        if (before > 1 && blank_gap(p[-1].gap) && kContrast.has(p[-2].text)) return;
        // A contrast with "а" later in the same clause: "не парите, а хората".
        for (const SenToken* q = p + 1; q < last; ++q) {
            const char* g = q->gap;
            if (g[std::strspn(g, " ,()_\r")] != 0) break;
            if ((g[0] == ',' || std::strncmp(g, "),", 2) == 0) && (kA == q->text || kAmi == q->text)) return;
        }
        if (cyr_upper(cur[0])) return;
        const std::string lead = lead_blank(p[-1]), tail = tail_blank(p[1]);
        std::string suggestion = " -> " + lead;
        suggestion += prev[0];
        suggestion += cyr_upper(prev[1]) ? '\xC0' : '\xE0';
        suggestion += std::string(" ") + cur + tail;
        pair_finding(rep, run, p, suggestion, PR_SUGGESTION, false);
    });
}
