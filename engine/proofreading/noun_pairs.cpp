// Two nouns next to each other with only blanks between them: usually a missing comma or hyphen,
// unless the pair is one of the many that go together (a measure and its substance, a title and a
// name, a month and a day ...). A pair that follows a preposition-like word or a present active
// participle is still shown, but in grey and without a suggestion.
#include <memory>
#include <string>

#include "engine/proofreading/agreement.h"
#include "engine/proofreading/proof_words.h"
#include "engine/proofreading/agreement_tables.h"
#include "engine/proofreading/pass_order.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "spelling/spell_state.h"

namespace {


constexpr COLORREF kGreyAfterPreposition = 0x807F7F;
constexpr COLORREF kGreyAfterParticiple = 0x7F7F7F;
constexpr COLORREF kGreyMarker = 0x5C5C5C;

// The table of pairs that go together, in code page 1251.
struct PairRow {
    WordList forms, lemmas, second;
};

struct NounTables {
    WordList second_forms{std::span<const std::string_view>(noun_second_forms)};
    WordList first_forms{std::span<const std::string_view>(noun_first_forms)};
    WordList first_lemmas{std::span<const std::string_view>(noun_first_lemmas)};
    std::vector<PairRow> rows;
    std::unique_ptr<WordList> any_second;  // the second words of all rows

    NounTables() {
        rows.reserve(noun_pair_rows.size());
        for (const NounPairRow& r : noun_pair_rows) {
            std::string forms, lemmas;
            std::string_view s = r.first;
            while (!s.empty()) {
                const std::size_t blank = s.find(' ');
                std::string_view w = s.substr(0, blank);
                s = blank == std::string_view::npos ? std::string_view{} : s.substr(blank + 1);
                if (w.starts_with("L:")) (lemmas += w.substr(2)) += ' ';
                else (forms += w) += ' ';
            }
            rows.push_back(PairRow{WordList{forms}, WordList{lemmas}, WordList{r.second}});
        }
        std::vector<std::string_view> seconds;
        for (const NounPairRow& r : noun_pair_rows) seconds.push_back(r.second);
        any_second = std::make_unique<WordList>(std::span<const std::string_view>(seconds));
    }

    // True when the pair (first form with its lemma, second form) goes together.
    bool together(const char* first, const std::string& lemma, const char* second) const {
        if (second_forms.has(second) || first_forms.has(first) || (!lemma.empty() && first_lemmas.has(lemma)))
            return true;
        if (!any_second->has(second)) return false;
        for (const PairRow& r : rows)
            if (r.second.has(second) && (r.forms.has(first) || (!lemma.empty() && r.lemmas.has(lemma)))) return true;
        return false;
    }
};

const NounTables& tables() {
    static const NounTables t;
    return t;
}

}  // namespace

void consecutive_nouns(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    if (!run.floor) return;
    static const agree::Word kNeshto("нещо"), kZa("за"), kRegret("съжаление"), kPo("по"), kDevils("дяволите");
    std::string lemma;
    // The second word's answer serves again as the first word's one record later.
    const SenToken* noun_at = nullptr;
    bool noun_there = false;
    for (const SenToken* p = run.begin(1); p < run.end(); ++p) {
        const char* second = p->text;
        const char* first = p[-1].text;
        // An empty word is no noun: the pair needs both.
        if (!second[0] || !first[0]) continue;
        // The cheap tests of the gap and the capital first: the look-ups give the same answer after them.
        if (!blank_gap(p->gap) || cyr_upper(second[0])) continue;
        const bool second_noun = word_fact(run, p, WordFact::NounOnly) != 0;
        const bool first_noun =
            second_noun && (noun_at == p - 1 ? noun_there : word_fact(run, p - 1, WordFact::NounOnly) != 0);
        noun_at = p;
        noun_there = second_noun;
        if (!first_noun) continue;
        COLORREF colour = PR_CONTEXT;
        if (kNeshto.is(first) || kNeshto.is(second)) continue;

        // The words two and three places back, read only when that many records precede.
        const long before = p - run.floor;
        const char* two = before > 2 ? p[-2].text : glZero;
        const bool three_joined = before > 3 && two[0] && p[-3].text[0] && p[-1].gap[0] && p[-2].gap[0];
        if (three_joined &&
            (word_fact(run, p - 2, WordFact::Comma1) || word_fact(run, p - 3, WordFact::Comma1)))
            colour = kGreyAfterPreposition;
        if ((kZa.is(two) && kRegret.is(first)) || (kPo.is(two) && kDevils.is(first))) continue;
        if (two[0] && p[-1].gap[0] && IsTypeVerbSHTOnlyAll(two)) colour = kGreyAfterParticiple;
        if (three_joined && IsTypeVerbSHTOnlyAll(p[-3].text)) colour = kGreyAfterParticiple;

        GetBgLemma(first, -1, lemma);
        if (tables().together(first, lemma, second)) continue;

        const std::string f = first, s = second;
        const bool red = colour == PR_CONTEXT;
        const long marker = begins_with_break(p->gap) ? static_cast<long>(f.size()) - 1 : 0;
        if (red)
            agree::write_finding(rep, run, f + ' ' + s, " -> " + f + ", " + s + " | " + f + '-' + s, PR_SUGGESTION,
                                 marker);
        else
            agree::write_finding(rep, run, f + ' ' + s, " -> no suggestions (correct)", gl_col_nosug, marker, colour,
                                 kGreyMarker);
    }
}
