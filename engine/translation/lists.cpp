#include "engine/translation/lists.h"

#include <algorithm>
#include <cassert>
#include <initializer_list>

#include "lexicon/corpora.h"
#include "lexicon/wordclass.h"

namespace {

int row(std::string_view name) { return c_row_by_name(name); }

template <std::size_t N>
std::array<int, N> rows(const char* const (&names)[N]) {
    std::array<int, N> a{};
    for (std::size_t i = 0; i < N; ++i) a[i] = row(names[i]);
    return a;
}

MtRows resolve() {
    MtRows r{};
    r.one = row("c_one11");
    r.start = row("cs_1start11");
    r.end = row("cs_1end11");
    r.two = rows({"c_two11", "c_two12"});
    r.three = rows({"c_three11", "c_three12"});
    r.verb1 = rows({"c_v_az11", "c_v_az12"});
    r.verb2 = rows({"c_v_da11", "c_v_da12", "c_v_se11", "c_v_se12", "c_v_si11"});
    r.noun = rows({"c_c11", "c_c12", "c_c2", "c_c3", "c_c4", "c_c5"});
    r.attr = rows({"c_attr11", "c_attr12"});
    r.adj = rows({"c_adj11", "c_adj12", "c_adj13", "c_adj21", "c_adj22", "c_adj23", "c_adj31", "c_adj32", "c_adj33"});
    r.adv = rows({"c_adv11", "c_adv12"});
    r.when = row("c_adv_when11");
    r.where = row("c_adv_where11");
    r.num11 = row("c_num11");
    r.num21 = row("c_num21");
    r.prep = row("c_prep11");
    r.misc = rows({"c_misc11", "c_advadj11", "c_adj_post11", "c_num11"});
    r.abb = rows({"c_abbm11", "c_abbf11", "c_abbn11", "c_abbpl11"});
    r.names = rows({"z_name1", "z_male1", "z_fem1", "z_place1", "z_prop1", "z_cult1", "z_tran1"});
    r.all_fem = row("all_fem");
    r.all_neu = row("all_neu");
    r.all_pl = row("all_pl");
    // The kinds of the units are the rows of the lists that give them (once the table has its names).
    assert(r.one < 0 || (r.noun == kNounKinds && r.abb == kAbbKinds && r.names == kNameKinds &&
                         r.two[0] == kMtTwoWords && r.three[0] == kMtThreeWords && r.adj[0] == kMtAdjective &&
                         r.adv[0] == kMtAdverb && r.when == kMtAdverbWhen && r.where == kMtAdverbWhere &&
                         r.verb1[0] == kMtVerbAz && r.verb2[0] == kMtVerbDa && r.num21 == kMtOrdinal &&
                         r.attr[0] == kMtAttribute && r.prep == kMtPreposition));
    return r;
}

std::size_t longest_key(const std::vector<ListPair>& v) {
    std::size_t m = 0;
    for (const ListPair& p : v) m = std::max(m, p.key.size());
    return m;
}

}  // namespace

const MtRows& mt_rows() {
    static const MtRows r = resolve();
    return r;
}

const ListFileRecord& mt_corpus(MtCorpus which) {
    switch (which) {
    case CS: return cs_glob[0];
    case CS_CUST: return cs_cust_glob[0];
    case CSE: return cse_glob[0];
    case CSE_CUST: return cse_cust_glob[0];
    case CSQ: return csq_glob[0];
    case CSQ_CUST: return csq_cust_glob[0];
    case CSC: return csc_glob[0];
    case CSC_CUST: return csc_cust_glob[0];
    case CS_C: return cs_globC[0];
    case CSE_C: return cse_globC[0];
    case CSQ_C: return csq_globC[0];
    case CSC_C: return csc_globC[0];
    case MT_CORPORA: break;
    }
    return cs_glob[0];
}

void MtLexicon::prepare() {
    c_max_.fill(0);
    for (int r = 0; r < C_ROWS; ++r) c_max_[static_cast<std::size_t>(r)] = longest_key(c_glob[static_cast<std::size_t>(r)].entries);
    for (int k = 0; k < MT_CORPORA; ++k) {
        std::size_t m = 0;
        for (const SentencePair& p : mt_corpus(static_cast<MtCorpus>(k)).sentences) m = std::max(m, p.en.size());
        corpus_max_[static_cast<std::size_t>(k)] = m;
    }
    for (int r : {static_cast<int>(B_CAPIT), static_cast<int>(B_ENGLISH_BULGARIAN), static_cast<int>(B_ENGLISH_TYPES)})
        dict_max_[static_cast<std::size_t>(r)] = longest_key(b[static_cast<std::size_t>(r)].entries);

    // The span matcher reads every list of its slots, the comma corpora and the English-Bulgarian
    // dictionary; the whole-sentence look-ups do not depend on this bound.
    const MtRows& rw = mt_rows();
    std::size_t m = dict_max_[B_ENGLISH_BULGARIAN];
    auto take = [&](int r) {
        if (r >= 0) m = std::max(m, c_max_[static_cast<std::size_t>(r)]);
    };
    for (int r : {rw.one, rw.start, rw.end, rw.when, rw.where, rw.num21, rw.prep}) take(r);
    for (const auto* group : {&rw.two, &rw.three, &rw.verb1, &rw.adv}) for (int r : *group) take(r);
    for (int r : rw.verb2) take(r);
    for (int r : rw.noun) take(r);
    for (int r : rw.adj) take(r);
    for (int r : rw.misc) take(r);
    for (int r : rw.abb) take(r);
    for (int r : rw.names) take(r);
    for (MtCorpus k : {CSC, CSC_CUST, CS_C, CSE_C, CSQ_C, CSC_C}) m = std::max(m, corpus_max_[k]);
    longest_ = m;
}

const ListPair* MtLexicon::c(int row, std::string_view key) const {
    if (row < 0 || row >= C_ROWS || key.empty() || key.size() > c_max_[static_cast<std::size_t>(row)]) return nullptr;
    return c_find(row, key);
}

const SentencePair* MtLexicon::corpus(MtCorpus which, std::string_view key) const {
    if (key.size() > corpus_max_[which]) return nullptr;
    return find_sentence(mt_corpus(which), key);
}

const ListPair* MtLexicon::dict(int row, std::string_view key) const {
    const DictFileRecord& d = b[static_cast<std::size_t>(row)];
    if (d.count == 0 || key.empty() || key.size() > dict_max_[static_cast<std::size_t>(row)]) return nullptr;
    return find_pair(std::span<const ListPair>(d.entries), key);
}
