// The speller's built-in tables against the samples of tests/spelling/cases/table_samples.txt.
#include <gtest/gtest.h>

#include <string>

#include "spelling/spell_state.h"
#include "spelling/suffix_en.h"
#include "spelling/suggest_bg.h"
#include "spelling/suggest_en.h"
#include "spelling/unknown_bg.h"
#include "spelling/word_index.h"
#include "support/table_samples.h"
#include "support/text.h"

namespace {

using jux_test::row_of;
using std::to_string;

TEST(SpellerTables, HoldTheirSampleRows) {
    jux_test::RenderedTables t;
    int i = 0;
    for (const SuffixRule& r : english_suffix_table()) t["english_suffixes"].insert(row_of(to_string(++i), r.suffix, r.steps));
    i = 0;
    for (std::string_view w : english_two_letter_words()) t["english_two_letter_words"].insert(row_of(to_string(++i), w));
    for (int k = 2; k <= 7; ++k) {
        i = 0;
        for (std::string_view p : english_prefixes(k)) t["english_prefixes"].insert(row_of(to_string(k), to_string(++i), p));
    }
    i = 0;
    for (const EndingPair& p : english_ending_pairs())
        t["english_ending_pairs"].insert(
            row_of(to_string(++i), std::string(1, p.letter), p.ending, p.needs_sibilant ? "sibilant" : ""));
    i = 0;
    for (const IzeIsePair& p : english_ize_ise_pairs())
        t["english_ize_ise_pairs"].insert(row_of(to_string(++i), p.ize, p.ise, to_string(p.min_length)));
    i = 0;
    for (const OneLetterAlternative& a : bulgarian_one_letter_alternatives())
        t["bulgarian_one_letter_alternatives"].insert(row_of(to_string(++i), jux_test::u8(std::string(1, a.letter)),
                                                             jux_test::u8(a.text), a.fixed_rank ? to_string(a.rank) : "found"));
    for (std::size_t k = 0; k < gl_aposlong.size(); ++k) t["apostrophe_labels"].insert(row_of(to_string(k), gl_aposlong[k]));
    for (int row = 0; row < kEnglishSetCount; ++row)
        t["english_set_labels"].insert(row_of(to_string(row), english_set_label(row)));
    for (int c = 1; c < 256; ++c) {
        const std::string letter(1, static_cast<char>(c)), replaced = replace_latin_lookalikes(letter);
        if (replaced != letter) t["latin_look_alikes"].insert(row_of(letter, jux_test::u8(replaced)));
    }
    jux_test::expect_table_samples("spelling/cases/table_samples.txt", t);
}

}  // namespace
