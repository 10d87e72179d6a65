#include "engine/proofreading/pass_order.h"

#include <cstring>

#include "engine/proofreading/agreement.h"
#include "engine/proofreading/article_passes.h"
#include "engine/proofreading/capitals.h"
#include "engine/proofreading/comma_scans.h"
#include "engine/proofreading/gap_passes.h"
#include "engine/proofreading/novel_checks.h"
#include "engine/proofreading/proof_report.h"
#include "engine/proofreading/proof_words.h"
#include "engine/proofreading/sequence_checks.h"
#include "engine/proofreading/word_checks.h"
#include "engine/run_state.h"
#include "shell/settings.h"

using G = PassGuard;

// Every row has its pass; the frame runs a row when its switch is on (guard_open) and would skip
// a row whose run were null.
const std::array<PassRow, PASS_ROWS> pass_order{{
    {0, G::Novel, u"Нов ред в края на текста!", {}, paragraph_statistics, kWholeText},
    {1, G::Novel, u"*параграфи с различен брой отварящи и затварящи:\r\n„“  «»  \"\"  ()  {}  []  _", {},
     unbalanced_pairs, kWholeText},
    {2, G::None, u"<предлог><пълен член>", {}, full_article_after_preposition, clause_ahead(1, 2)},
    {3, G::None, u"непълен член след форма на \"съм\" (невинаги е грешка!)", {}, short_article_after_sam, records(2, 3)},
    {4, G::None, u"непълен член пред форма на \"съм\" (невинаги е грешка!)", {}, short_article_before_sam, records(5, 1)},
    {5, G::None, u"непълен член в начало на изречение (невинаги е грешка!)", {}, short_article_sentence_start, clause_ahead(3, 1)},
    {6, G::None, u"<интервал><многоточие>", {}, blank_before_ellipsis, records(1, 0)},
    {7, G::None, u"слепено m-тире", {}, glued_em_dash, records(1, 0)},
    {8, G::None, u"слепени кавички", {}, glued_quotes, records(1, 0)},
    {9, G::None, u"слепено многоточие", {}, glued_ellipsis, records(1, 0)},
    {10, G::None, u"слепено многоточие (три точки)", {}, glued_three_dots, records(1, 0)},
    {11, G::None, u"<нов ред><тире><буква>", {}, line_dash_letter, records(0, 0)},
    {12, G::None, u"<нов ред><тире><интервал><малка буква>", {}, line_dash_blank_small, records(0, 0)},
    {13, G::None, {}, {}, character_sequences, kWholeText},
    {14, G::None, u"повторение на дума", {}, repeated_word, records(2, 1)},
    {15, G::None, u"в -> във", {}, v_to_vav, records(1, 1)},
    {16, G::None, u"във -> в", {}, vav_to_v, records(1, 1)},
    {17, G::None, u"с -> със", {}, s_to_sas, records(1, 1)},
    {18, G::None, u"със -> с", {}, sas_to_s, records(1, 1)},
    {19, G::None, u"<интервал><точка>", {}, blank_before_dot, records(3, 0)},
    {20, G::None, u"<точка><точка>", {}, two_dots, kWholeText},
    {21, G::None, u"<малка буква><главна буква>", {}, small_then_capital, records(0, 0)},
    {22, G::None, u"<главни букви><малка буква>", {}, capitals_then_small, records(0, 0)},
    {23, G::None, u"потенциална българска дума с латински букви", {}, latin_look_alike, kWholeText},
    {24, G::NovelOrSubtitle, u"потенциално грешен край на параграф", {}, paragraph_end, kWholeText},
    {25, G::Novel, u"параграф без табулатор в началото", {}, paragraph_indent, kWholeText},
    {26, G::None, u"опашен интервал", {}, trailing_blank, records(2, 0)},
    {27, G::None, u"слепено опашно тире", {}, trailing_hyphen, records(2, 0)},
    {28, G::None, u"грешно тире", {}, one_sided_hyphen, records(1, 0)},
    {29, G::None, u"водещ интервал", {}, leading_blank, records(0, 1)},
    {30, G::LoadBg, u"собствено име с малка буква", {}, small_proper_name, records(0, 0)},
    {31, G::LoadBg, u"сравнителна или превъзходна степен без тире (невинаги е вярно!)", {}, comparison_without_hyphen, records(1, 1)},
    {32, G::ShtShLoadBg, u"потенциални грешки: щ -> ш (причастие вместо глагол)", {}, sht_to_sh, records(1, 0)},
    {33, G::ShShtLoadBg, u"потенциални грешки: ш -> щ (глагол вместо причастие)", {}, sh_to_sht, records(1, 1)},
    {34, G::LoadBg, u"разкъсана дума или грешна двойка думи", {}, split_words, records(1, 1)},
    {35, G::Comma, u"потенциално пропуснати запетаи (невинаги е вярно!)", {}, missing_commas, records(4, 4)},
    {36, G::NoStopLoadBg,
     u"думи с главни букви в средата на изречение\r\nс под 4 повторения, възможно е да са грешки",
     u"думи с главни букви в средата на изречение\r\nс над 3 повторения, вероятно не са грешки", capitals_in_sentences, records(1, 1)},
    {37, G::TwoLetters, {}, {}, ocr_letter_pairs, kWholeText},
    {38, G::TwoNounsLoadBg, u"последователни съществителни (обикновено не е грешка!)", {}, consecutive_nouns, records(4, 0)},
    {39, G::ConcordLoadBg, u"потенциално несъгласувани прилагателно и съществително", {}, adjective_noun, records(5, 2)},
    {40, G::LoadBg, u"предлог пред глагол (обикновено е грешка)", {}, preposition_verb, records(1, 2)},
    {41, G::LoadBg, u"да пред неглагол (обикновено е грешка)", {}, da_not_verb, records(1, 1)},
    {42, G::LoadBg, u"глагол пред е (възможна грешка е -> c)", {}, verb_before_e, records(1, 1)},
    {43, G::LoadBg, u"съмнителни изрази (обикновено е грешка)", {}, doubtful_phrase, records(3, 0)},
    {44, G::LoadBg, u"съседни предлози (обикновено е грешка)", {}, adjacent_prepositions, records(3, 1)},
    {45, G::LoadBg, u"не пред членувано съществително (възможна грешка не -> на)", {}, ne_definite_noun, clause_ahead(3, 0)},
}};

bool guard_open(PassGuard g, const ProofRun& run) {
    const bool load_bg = OP[OPT_LOAD_BG].num_value != 0;
    switch (g) {
        case G::None: return true;
        case G::Novel: return run.novel;
        case G::NovelOrSubtitle: return run.novel || gl_fg_subtitle;
        case G::LoadBg: return load_bg;
        case G::ShtShLoadBg: return gl_FIND_SHT_SH && load_bg;
        case G::ShShtLoadBg: return gl_FIND_SH_SHT && load_bg;
        case G::Comma: return gl_FIND_COMMA != 0;
        case G::NoStopLoadBg: return gl_FIND_NO_STOP && load_bg;
        case G::TwoLetters: return gl_FIND_TWO_LETTERS != 0;
        case G::TwoNounsLoadBg: return gl_FIND_TWO_NOUNS && load_bg;
        case G::ConcordLoadBg: return gl_FIND_CONCORD && load_bg;
    }
    return false;
}

bool ends_extent(Extent e, const char* gap) {
    switch (e) {
        case Extent::None: return true;
        case Extent::Clause: return !only_of(gap, " ,()_\r");
        case Extent::Sentence: return sentence_end_gap(gap);
        case Extent::Paragraph: return std::strpbrk(gap, "\r\n") != nullptr;
    }
    return true;
}

// A finding at record p reads records p - back ... p + ahead, and with an extent ahead the records
// from p + ahead + 1 up to the first whose gap ends it (k): a change from `changed` on reaches it
// when k >= changed, that is when no gap of p + ahead + 1 ... changed - 1 ends the extent.
std::size_t clean_before(const Reach& r, const SenToken* floor, std::size_t changed) {
    std::size_t last_end = changed;  // the last record before the change whose gap ends the extent
    if (r.ahead_over != Extent::None) {
        while (last_end > 0 && !ends_extent(r.ahead_over, floor[last_end - 1].gap)) --last_end;
        if (last_end == 0) return 0;
        --last_end;
    }
    return last_end > r.ahead ? last_end - r.ahead : 0;
}

// The same backwards: the records from p - back - 1 down to the first whose gap ends the extent.
std::size_t clean_from(const Reach& r, const SenToken* floor, std::size_t n, std::size_t unchanged) {
    std::size_t first_end = unchanged;  // the first record from `unchanged` on whose gap ends the extent
    if (r.back_over != Extent::None) {
        while (first_end < n && !ends_extent(r.back_over, floor[first_end].gap)) ++first_end;
        if (first_end == n) return n + 1;
        ++first_end;
    }
    return first_end + r.back;
}
