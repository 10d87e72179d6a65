// An adjective (or a participle used as one) before a noun that disagrees with it in gender, number
// or article. A noun keeps the gender of its lemma in every form, so the genders are compared
// first; equal genders are reported only with an article on both words. Every candidate then passes
// a long list of exceptions (fixed expressions, forms the word-form index cannot tell apart, adverbs
// spelled like neuter adjectives, words of address, numerals before the adjective): the pass
// prefers silence to a false alarm.
#include <cstring>
#include <string>

#include "engine/proofreading/agreement.h"
#include "engine/proofreading/proof_words.h"
#include "engine/proofreading/agreement_tables.h"
#include "engine/proofreading/pass_order.h"
#include "lexicon/bgtypes.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "shell/strings.h"
#include "spelling/spell_state.h"

namespace {

using agree::Word;
using Words = ConcordWords;

const Words& words() { return concord_words(); }

bool ends_with_nocase(std::string_view w, const Word& end) {
    return w.size() >= end.cp.size() && cp_strcasecmp(w.substr(w.size() - end.cp.size()), end.cp) == 0;
}

bool has_any_type(const char* w, std::initializer_list<int> rows) {
    for (int r : rows)
        if (TypeHas(w, r)) return true;
    return false;
}

bool has_verb(const char* w) { return TypeHasAscii(w, ascii_verb) != -1; }

// The pair under test: the adjective A and the noun N with the words around them.
struct AgreementCandidate {
    const SenToken* n;  // N; A is n[-1], B n[-2] ..., X n[1], Y n[2]
    NounAdjInfo adj, noun;
    std::string lemma;  // of A
    bool i_adjective = false;  // A is an -и adjective in slot 0 (its masculine form is its plural form)
    int joined = 0;

    const char* a() const { return n[-1].text; }
    const char* w() const { return n->text; }
    const char* back(int k) const { return n[-1 - k].text; }  // B = back(1), C = back(2) ...
};

bool morphology_exception(const AgreementCandidate& c, const Words& t) {
    const NounAdjInfo &adj = c.adj, &noun = c.noun;
    if ((adj.slot == 5 || adj.slot == 43 || c.i_adjective) && in_b_row(B_BULGARIAN_PRONOUN, c.a())) return true;
    if (adj.gender == 3 && ((noun.gender == 0 && noun.slot >= 3 && noun.slot <= 5) ||
                            (noun.gender != 0 && (noun.slot == 2 || noun.slot == 3))))
        return true;
    if (adj.gender == 3 && adj.slot == 7 && noun.slot == 6) return true;
    if (adj.gender == 0 && (adj.type == BGT_78 || adj.type == BGT_78T || adj.type == BGT_78N) &&
        (noun.gender == 0 || noun.plural))
        return true;
    if (adj.gender != 3 && TypeHas(c.a(), BGT_89A)) return true;
    return noun.gender == 1 && t.my_fem.has(c.a());
}

// Counts back from N the records joined to the next one by blanks and paragraph ends only.
int joined_run(const ProofRun& run, const SenToken* n) {
    int k = 0;
    for (const SenToken* r = n; k < 6; --r, ++k)
        if (r == run.floor || !r->text[0] || !blank_gap(r->gap)) break;
    return k;
}

bool spelling_exception(const ProofRun& run, const AgreementCandidate& c) {
    static const Word kEdno("едно"), kVse("все"), kIm("им"), kEm("ем");
    static const Word kPresent[] = {Word("ящ"), Word("ещ"), Word("ащ"), Word("ъщ")};
    const long index = c.n - run.floor;
    if (index >= 3 && blank_gap(c.n[-1].gap) && cyr_upper(c.a()[0])) return true;
    if (cyr_upper(c.w()[0])) return true;
    if (TypeHas(c.w(), BGT_22) && c.noun.slot == 1) return true;
    if (has_any_type(c.a(), {BGT_87, BGT_88}) && c.adj.slot == 0) return true;
    if (has_any_type(c.w(), {BGT_32, BGT_32A}) && c.noun.slot == 1) return true;
    if (has_any_type(c.w(), {BGT_38C, BGT_38D}) && c.noun.slot == 0) return true;
    if (kEdno.is(c.a()) && index >= 2 && blank_gap(c.n[-1].gap) && kVse.is(c.back(1))) return true;
    if (ends_with_nocase(c.a(), kIm) || ends_with_nocase(c.a(), kEm)) return true;
    for (const Word& e : kPresent)
        if (ends_with_nocase(c.lemma, e)) return true;
    return false;
}

bool word_exception(const AgreementCandidate& c, const Words& t) {
    static const Word kTvardi("твърди"), kKristalno("кристално"), kTrudno("трудно"), kChisto("чисто"), kObshto("общо"),
        kKila("кила"), kGrizli("гризли"), kLakat("лакът");
    static const WordList kClearNouns{"бели ясен"}, kBecame{"става стана"}, kWhite{"бели белите гол"};
    const char *a = c.a(), *n = c.w();
    const int g = c.adj.gender;
    const bool masc = g == 0, fem = g == 1, neut = g == 2, plural = g == 3;
    static const std::string kCity = utf8_to_cp1251("Сити");  // a name only when spelled exactly so
    if (t.never_adjectives.has(a) || kCity == a ||
        t.never_lemmas.has(c.lemma) || t.never_nouns.has(n))
        return true;
    if (kTvardi.is(a) && t.tvardi_nouns.has(n)) return true;
    if (t.title_nouns.has(n) && t.title_adjectives.has(a)) return true;
    if (t.fixed_pair(a, n)) return true;
    if (t.very_adverbs.has(a) && t.very_nouns.has(n)) return true;
    if ((kKristalno.is(a) && kClearNouns.has(n)) || (kTrudno.is(a) && kBecame.has(n)) ||
        (kChisto.is(a) && kWhite.has(n)))
        return true;
    if (kObshto.is(a) && c.noun.plural) return true;
    if (c.adj.plural && t.groups.has(n)) return true;
    if (kKila.is(n) && (masc || fem || plural || c.i_adjective)) return true;
    if ((masc || fem || neut) && t.verb_like.has(n)) return true;
    if (((fem || neut) && kGrizli.is(n)) || (masc && kLakat.is(n))) return true;
    if ((masc || fem) && t.masc_or_fem.has(n)) return true;
    if ((masc || plural || c.i_adjective) && t.masc_or_plural.has(n)) return true;
    if ((fem || plural || c.i_adjective) && t.fem_or_plural.has(n)) return true;
    if ((neut || plural || c.i_adjective) && t.neuter_or_plural.has(n)) return true;
    if ((masc || neut) && t.masc_or_neuter.has(n)) return true;
    return c.noun.gender == 0 && t.masc_ov.has(a);
}

bool next_word_exception(const AgreementCandidate& c, const Words& t) {
    static const Word kVredi("вреди"), kNa("на"), kRaztvori("разтвори"), kShiroko("широко"), kI("и");
    const SenToken &x = c.n[1], &y = c.n[2];
    if (!x.text[0] || !blank_gap(x.gap)) return false;
    const char* n = c.w();
    if (IsOnlyAsciiType(x.text, ascii_noun)) return true;
    if (t.ago_words.has(x.text) && t.ago_plural.has(n)) return true;
    if (t.before_after.has(x.text) && t.ago_single.has(n)) return true;
    if ((kVredi.is(n) && kNa.is(x.text)) || (kRaztvori.is(n) && kShiroko.is(x.text))) return true;
    NounAdjInfo scratch;
    return blank_gap(y.gap) && (c.adj.plural || c.i_adjective) && kI.is(x.text) &&
           GetNounInfo(scratch, -1, y.text) == 1;
}

// After a numeral-like word: a plural adjective before the masculine count form, and "мили".
bool numeral_rule(const AgreementCandidate& c, const Words& t, const char* w) {
    static const Word kMili("мили");
    if (!(t.numeral_words.has(w) || TypeHasAscii(w, ascii_numeral) != -1 || IsNumber(w))) return false;
    if (c.adj.plural && c.noun.gender == 0) {
        const bool count_type = has_any_type(c.w(), {BGT_38C, BGT_38D});
        if ((count_type && c.noun.slot == 0) || (!count_type && c.noun.slot == 1)) return true;
    }
    return kMili.is(c.a());
}

bool context_exception(const AgreementCandidate& c, const Words& t) {
    static const Word kTvardi("твърди"), kMinali("минали"), kPo("по"), kDo("до"), kEdva("едва"), kTsyalo("цяло"),
        kKato("като"), kNa("на"), kChest("чест"), kMinalo("минало"), kDa("да"), kKakto("както");
    static const std::pair<Word, Word> kPhrases[] = {
        {Word("из"), Word("корен")},  {Word("нищо"), Word("чудно")},     {Word("общо"), Word("взето")},
        {Word("се"), Word("мъдри")},  {Word("за"), Word("последно")},
    };
    const char* a = c.a();
    if (c.joined >= 2) {
        const char* b = c.back(1);
        if (t.da_shte.has(b) && has_verb(a)) return true;
        if (kTvardi.is(a) && t.kakto_kolkoto.has(b)) return true;
        if (kMinali.is(a) && t.were.has(b)) return true;
        if (numeral_rule(c, t, b)) return true;
        if (kPo.is(b)) return true;
        if (kDo.is(b) && t.to_colour.has(a)) return true;
        if (t.barely.has(a) && kEdva.is(b)) return true;
        for (const auto& [pb, pa] : kPhrases)
            if (pb.is(b) && pa.is(a)) return true;
        if (kTsyalo.is(a) && kKato.is(b)) return true;
        if (kNa.is(b) && t.na_adverbs.has(a)) return true;
        if (t.with.has(b) && kChest.is(a)) return true;
        if (t.in_to_with.has(b) && t.colours.has(a)) return true;
        if (t.recent.has(b) && kMinalo.is(a)) return true;
        if (t.times.has(b) && t.periodic.has(a)) return true;
    }
    if (c.joined >= 3) {
        const char *b = c.back(1), *cw = c.back(2);
        if (numeral_rule(c, t, cw)) return true;
        if (kKato.is(b) && has_verb(cw)) return true;
        if (kDa.is(cw) && has_verb(a)) return true;
        if (t.in_to_with.has(cw) && t.colours_but_first.has(a)) return true;
        if (t.if_not.has(cw) && t.pronoun_short.has(b) && has_verb(a)) return true;
        if (t.allowed.has(a) && (t.allowed_by.has(b) || t.allowed_by.has(cw))) return true;
        if (t.decided.has(a) && (t.decided_by.has(b) || t.decided_by.has(cw))) return true;
        if (t.unthinkable.has(a) && (t.unthinkable_by.has(b) || t.unthinkable_by.has(cw))) return true;
        if (kTvardi.is(a) && kKakto.is(cw)) return true;
    }
    if (c.joined >= 4 && numeral_rule(c, t, c.back(3))) return true;
    return c.joined >= 5 && numeral_rule(c, t, c.back(4));
}

}  // namespace

void adjective_noun(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    if (!run.floor) return;
    const Words& t = words();
    AgreementCandidate c;
    for (const SenToken* n = run.begin(1); n < run.end(); ++n) {
        c.n = n;
        if (!n->text[0] && !n[-1].text[0]) continue;
        // A noun not joined to the word before by blanks alone is never reported (joined_run gives
        // 0): that is known from the gap, before any look-up.
        if (!n->text[0] || !blank_gap(n->gap)) continue;
        if (run_adj_info(run, n - 1, c.adj) != 1 || run_noun_info(run, n, c.noun) != 1) continue;
        if (c.adj.gender == c.noun.gender && !(c.adj.definite && c.noun.definite)) continue;
        GetBgLemma(c.a(), -1, c.lemma);
        c.i_adjective = (c.adj.type == BGT_78 || c.adj.type == BGT_78T || c.adj.type == BGT_78N) && c.adj.slot == 0;
        if (morphology_exception(c, t)) continue;
        c.joined = joined_run(run, n);
        if (c.joined == 0) continue;
        if (spelling_exception(run, c) || word_exception(c, t) || next_word_exception(c, t) || context_exception(c, t))
            continue;

        const std::string lead = lead_blank(n[-1]), a = c.a();
        const std::string context = lead + a + ' ' + c.w() + tail_blank(n[1]);
        const long marker = n->gap[0] == '\r' ? static_cast<long>(lead.size() + a.size()) - 1 : 0;
        agree::write_finding(rep, run, context, " -> no suggestions", gl_col_nosug, marker);
    }
}

const ConcordWords& concord_words() {
    static const ConcordWords w;
    return w;
}
