// The proof-reader's built-in tables against the samples of tests/proofreading/cases/*_tables.txt.
#include <gtest/gtest.h>

#include <span>
#include <string>

#include "engine/proofreading/agreement.h"
#include "engine/proofreading/agreement_tables.h"
#include "engine/proofreading/article_passes.h"
#include "engine/proofreading/capitals.h"
#include "engine/proofreading/comma_lists.h"
#include "engine/proofreading/comma_scans.h"
#include "engine/proofreading/novel_checks.h"
#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_words.h"
#include "engine/proofreading/sequence_checks.h"
#include "engine/proofreading/sequence_table.h"
#include "engine/proofreading/word_checks.h"
#include "support/table_samples.h"
#include "support/text.h"

namespace {

using jux_test::row_of;
using jux_test::RenderedTables;
using std::to_string;

void add_words(RenderedTables& t, const char* name, const WordList& list) {
    for (const std::string& w : list.words()) t[name].insert(jux_test::u8(w));
}
template <class Table>
void add_words(RenderedTables& t, const char* name, const Table& table) {
    for (std::string_view w : table) t[name].insert(std::string(w));
}

std::string flag_letters(std::uint32_t flags) {
    static const char* const letters[] = {"R", "Н", "Д", "П", "Х", "Т", "С", "З", "К", "О", "В"};
    std::string s;
    for (int bit = 0; bit < 11; ++bit)
        if (flags & (1u << bit)) s += letters[bit];
    return s.empty() ? "-" : s;
}

void add_phrases(RenderedTables& t, const char* name, const PhraseTable& table) {
    int i = 0;
    for (const CommaPhrase& row : table.rows()) {
        std::string words;
        for (const char* w : row.words)
            if (w) words += (words.empty() ? "" : " ") + std::string(*w ? w : "*");
        t[name].insert(row_of(to_string(++i), words, flag_letters(row.flags)));
    }
}

TEST(ProofReaderTables, CommaListsHoldTheirSampleRows) {
    RenderedTables t;
    const std::pair<const char*, const WordList*> lists[] = {
        {"comma_no_group", &comma_no_group},       {"comma_pronoun_like", &comma_pronoun_like},
        {"comma_exclusions_k", &comma_exclusions_k}, {"comma_exclusions_g", &comma_exclusions_g},
        {"comma_exclusions_o", &comma_exclusions_o}, {"comma_exclusions_ch", &comma_exclusions_ch},
        {"comma_exclusions_p", &comma_exclusions_p}, {"comma_exclusions_t", &comma_exclusions_t},
        {"comma_exclusions_m", &comma_exclusions_m}, {"comma2_before", &comma2_before},
        {"comma2_before_fixed", &comma2_before_fixed}, {"comma2_before_o", &comma2_before_o},
        {"comma2_before_k", &comma2_before_k},     {"comma2_before_v", &comma2_before_v},
        {"comma2_before_z", &comma2_before_z},     {"comma3_before", &comma3_before},
        {"comma3_before_without_z", &comma3_before_without_z}, {"comma4_before", &comma4_before},
        {"comma4_before_z", &comma4_before_z}};
    for (auto [name, list] : lists) add_words(t, name, *list);
    static const char* const groups[] = {"-", "K", "G", "O", "Ч", "P", "T", "M"};  // CommaGroup's order
    int i = 0;
    for (const CommaGroupRule& r : comma_group_rules) {
        ++i;
        for (const std::string& w : r.words->words())
            t["comma_group_rules"].insert(row_of(to_string(i), groups[static_cast<int>(r.group)], jux_test::u8(w)));
    }
    for (const CommaFlagWord& f : comma_flag_words)
        for (const std::string& w : f.word.words()) t["comma_flag_words"].insert(row_of(flag_letters(f.flag), jux_test::u8(w)));
    using namespace comma_scan_words;
    const std::pair<const char*, const WordList*> scan_words[] = {
        {"relatives9", &kRelatives9}, {"relatives4", &kRelatives4}, {"koito", &kKoito}, {"na", &kNa}, {"ot", &kOt},
        {"s", &kS}, {"kakvoto", &kKakvoto}, {"blagodarenie", &kBlagodarenie}, {"within_na", &kWithinNa},
        {"one_of_ot", &kOneOfOt}, {"part_ot", &kPartOt}, {"part_na", &kPartNa}, {"po", &kPo}, {"vaz", &kVaz},
        {"time", &kTime}, {"osnova", &kOsnova}, {"i", &kI}, {"da", &kDa}, {"e", &kE}, {"bil", &kBil},
        {"beshe", &kBeshe}, {"osven", &kOsven}, {"za", &kZa}, {"natatak", &kNatatak}, {"otsega", &kOtsega}};
    for (auto [name, list] : scan_words)
        for (const std::string& w : list->words()) t["comma_scan_words"].insert(row_of(name, jux_test::u8(w)));
    add_phrases(t, "comma_pairs", comma_pairs);
    add_phrases(t, "comma_triples", comma_triples);
    add_phrases(t, "comma_quads", comma_quads);
    jux_test::expect_table_samples("proofreading/cases/comma_tables.txt", t);
}

TEST(ProofReaderTables, AgreementTablesHoldTheirSampleRows) {
    RenderedTables t;
    add_words(t, "noun_second_forms", noun_second_forms);
    add_words(t, "noun_first_forms", noun_first_forms);
    add_words(t, "noun_first_lemmas", noun_first_lemmas);
    for (const NounPairRow& r : noun_pair_rows) t["noun_pair_rows"].insert(row_of(r.first, r.second));
    add_words(t, "concord_never_adjectives", concord_never_adjectives);
    add_words(t, "concord_never_lemmas", concord_never_lemmas);
    add_words(t, "concord_never_nouns", concord_never_nouns);
    add_words(t, "concord_title_nouns", concord_title_nouns);
    add_words(t, "concord_title_adjectives", concord_title_adjectives);
    add_words(t, "concord_colour_words", concord_colour_words);
    add_words(t, "concord_masc_or_plural_nouns", concord_masc_or_plural_nouns);
    add_words(t, "concord_fem_or_plural_nouns", concord_fem_or_plural_nouns);
    add_words(t, "concord_masc_or_fem_nouns", concord_masc_or_fem_nouns);
    for (const ConcordPair& p : concord_fixed_pairs) t["concord_fixed_pairs"].insert(row_of(p.adjective, p.noun));
    const ConcordWords& c = concord_words();
    const std::pair<const char*, const WordList*> rule_lists[] = {
        {"my_fem", &c.my_fem}, {"tvardi_nouns", &c.tvardi_nouns}, {"very_adverbs", &c.very_adverbs},
        {"very_nouns", &c.very_nouns}, {"groups", &c.groups}, {"verb_like", &c.verb_like},
        {"neuter_or_plural", &c.neuter_or_plural}, {"masc_or_neuter", &c.masc_or_neuter},
        {"masc_ov", &c.masc_ov}, {"ago_plural", &c.ago_plural}, {"ago_single", &c.ago_single},
        {"ago_words", &c.ago_words}, {"before_after", &c.before_after}, {"numeral_words", &c.numeral_words},
        {"da_shte", &c.da_shte}, {"kakto_kolkoto", &c.kakto_kolkoto}, {"were", &c.were},
        {"to_colour", &c.to_colour}, {"barely", &c.barely}, {"na_adverbs", &c.na_adverbs}, {"with", &c.with},
        {"in_to_with", &c.in_to_with}, {"recent", &c.recent}, {"times", &c.times}, {"periodic", &c.periodic},
        {"pronoun_short", &c.pronoun_short}, {"if_not", &c.if_not}, {"allowed", &c.allowed},
        {"allowed_by", &c.allowed_by}, {"decided", &c.decided}, {"decided_by", &c.decided_by},
        {"unthinkable", &c.unthinkable}, {"unthinkable_by", &c.unthinkable_by}};
    for (auto [name, list] : rule_lists)
        for (const std::string& w : list->words()) t["concord_rule_words"].insert(row_of(name, jux_test::u8(w)));
    using namespace phrase_lists;
    const std::pair<const char*, const WordList*> phrase_words[] = {
        {"not_prepositions", &kNotPrepositions}, {"pod_lemmas", &kPodLemmas}, {"po_forms", &kPoForms},
        {"osven_verbs", &kOsvenVerbs}, {"protiv_lemmas", &kProtivLemmas}, {"short_after_da", &kShortAfterDa},
        {"knowing", &kKnowing}, {"short_doubtful", &kShortDoubtful}, {"if", &kIf}, {"not_but", &kNotBut},
        {"after_if", &kAfterIf}, {"after_not", &kAfterNot}, {"never_first", &kNeverFirst},
        {"never_second", &kNeverSecond}, {"contrast", &kContrast}};
    for (auto [name, list] : phrase_words)
        for (const std::string& w : list->words()) t["phrase_words"].insert(row_of(name, jux_test::u8(w)));
    int i = 0;
    for (const auto& [first, second] : kGoodPairs) {
        ++i;
        for (const std::string& a : first.words())
            for (const std::string& b : second.words())
                t["preposition_good_pairs"].insert(row_of(to_string(i), jux_test::u8(a), jux_test::u8(b)));
    }
    jux_test::expect_table_samples("proofreading/cases/agreement_tables.txt", t);
}

TEST(ProofReaderTables, PassTablesHoldTheirSampleRows) {
    RenderedTables t;
    for (const PassRow& r : pass_order) t["proof_passes"].insert(row_of(to_string(r.order), utf16_to_utf8(r.title)));
    for (const SequenceRow& r : sequence_rows)
        t["character_sequences"].insert(row_of(to_string(r.call), utf16_to_utf8(r.title)));
    add_words(t, "article_look_alikes", article_look_alikes);
    add_words(t, "article_ordinals", article_ordinals);
    add_words(t, "article_time_words", article_time_words);
    int i = 0;
    for (const LookAlike& l : look_alikes)
        t["latin_look_alikes"].insert(row_of(to_string(++i), std::string(1, l.latin), l.cyrillic));
    for (const ComparisonPhrase& p : comparison_phrases) t["comparison_exceptions"].insert(row_of(p.words, p.next));
    const std::pair<const char*, std::span<const TitledChar>> marks[] = {
        {"sentence_marks", kSentenceMarks}, {"subtitle_marks", kSubtitleMarks}, {"glued_before", kGluedBefore},
        {"glued_before2", kGluedBefore2},   {"glued_next", kGluedNext}};
    for (auto [name, table] : marks) {
        i = 0;
        for (const TitledChar& m : table)
            t[name].insert(row_of(to_string(++i), jux_test::u8(std::string(1, m.ch)), utf16_to_utf8(m.title)));
    }
    i = 0;
    for (int type : proper_name_types) t["proper_name_types"].insert(row_of(to_string(++i), to_string(type)));
    add_words(t, "capital_after_capital", capital_after_capital);
    add_words(t, "capital_beyond", capital_beyond);
    t["line_break_mark"].insert(utf16_to_utf8(kLineBreakTitle));
    using namespace article_lists;
    const std::pair<const char*, const WordList*> helpers[] = {
        {"lakat", &kLakat}, {"before_da", &kBeforeDa}, {"kato", &kKato}, {"before_kato", &kBeforeKato}, {"da", &kDa},
        {"nyama", &kNyama}, {"li", &kLi}, {"mine", &kMine}, {"tya_si", &kTyaSi}, {"tya", &kTya}, {"si", &kSi},
        {"ste", &kSte}, {"before_si", &kBeforeSi}, {"before_ste", &kBeforeSte}, {"plural_sam", &kPluralSam},
        {"si_or_plural_sam", &kSiOrPluralSam}, {"counting", &kCounting}, {"always_doubtful", &kAlwaysDoubtful},
        {"boga", &kBoga}, {"mi", &kMi}, {"mata", &kMata}, {"hari", &kHari}, {"single_type_next", &kSingleTypeNext},
        {"boya", &kBoya}, {"se_li", &kSeLi}, {"kalna", &kKalna}, {"se_vi_ti", &kSeViTi}, {"chuvala", &kChuvala},
        {"kak_li_si", &kKakLiSi}, {"several_types", &kSeveralTypes}, {"relatives", &kRelatives}, {"go", &kGo},
        {"mu", &kMu}};
    for (auto [name, list] : helpers)
        for (const std::string& w : list->words()) t["article_helpers"].insert(row_of(name, jux_test::u8(w)));
    const std::pair<const char*, const WordList*> word_lists[] = {
        {"sht_not_before", &word_check_lists::kShtNotBefore}, {"sh_not_after", &word_check_lists::kShNotAfter},
        {"subtitle_beyond", &word_check_lists::kSubtitleBeyond},
        {"subtitle_particles", &word_check_lists::kSubtitleParticles},
        {"hyphen_prefixes", &word_check_lists::kHyphenPrefixes}, {"latin_skip", &word_check_lists::kLatinSkip},
        {"repeat_exceptions", &word_check_lists::kRepeatExceptions}};
    for (auto [name, list] : word_lists)
        for (const std::string& w : list->words()) t["word_check_lists"].insert(row_of(name, jux_test::u8(w)));
    const std::pair<const char*, std::span<const MarkPair>> pairs[] = {{"novel_pairs", novel_lists::kNormalPairs},
                                                                       {"novel_tag_pairs", novel_lists::kTagPairs}};
    for (auto [name, table] : pairs) {
        i = 0;
        for (const MarkPair& p : table) {
            const std::string chars{static_cast<char>(p.open), static_cast<char>(p.close)};
            t[name].insert(row_of(to_string(++i), jux_test::u8(chars)));
        }
    }
    jux_test::expect_table_samples("proofreading/cases/pass_tables.txt", t);
}

}  // namespace
