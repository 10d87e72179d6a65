#include "engine/proofreading/pass_order.h"

#include "engine/proofreading/agreement.h"
#include "engine/proofreading/article_passes.h"
#include "engine/proofreading/capitals.h"
#include "engine/proofreading/comma_scans.h"
#include "engine/proofreading/gap_passes.h"
#include "engine/proofreading/novel_checks.h"
#include "engine/proofreading/proof_report.h"
#include "engine/proofreading/sequence_checks.h"
#include "engine/proofreading/word_checks.h"
#include "engine/run_state.h"
#include "shell/settings.h"

using G = PassGuard;

// Every row has its pass; the frame runs a row when its switch is on (guard_open) and would skip
// a row whose run were null.
const std::array<PassRow, PASS_ROWS> pass_order{{
    {0, G::Novel, u"Нов ред в края на текста!", {}, paragraph_statistics},
    {1, G::Novel, u"*параграфи с различен брой отварящи и затварящи:\r\n„“  «»  \"\"  ()  {}  []  _", {},
     unbalanced_pairs},
    {2, G::None, u"<предлог><пълен член>", {}, full_article_after_preposition},
    {3, G::None, u"непълен член след форма на \"съм\" (невинаги е грешка!)", {}, short_article_after_sam},
    {4, G::None, u"непълен член пред форма на \"съм\" (невинаги е грешка!)", {}, short_article_before_sam},
    {5, G::None, u"непълен член в начало на изречение (невинаги е грешка!)", {}, short_article_sentence_start},
    {6, G::None, u"<интервал><многоточие>", {}, blank_before_ellipsis},
    {7, G::None, u"слепено m-тире", {}, glued_em_dash},
    {8, G::None, u"слепени кавички", {}, glued_quotes},
    {9, G::None, u"слепено многоточие", {}, glued_ellipsis},
    {10, G::None, u"слепено многоточие (три точки)", {}, glued_three_dots},
    {11, G::None, u"<нов ред><тире><буква>", {}, line_dash_letter},
    {12, G::None, u"<нов ред><тире><интервал><малка буква>", {}, line_dash_blank_small},
    {13, G::None, {}, {}, character_sequences},
    {14, G::None, u"повторение на дума", {}, repeated_word},
    {15, G::None, u"в -> във", {}, v_to_vav},
    {16, G::None, u"във -> в", {}, vav_to_v},
    {17, G::None, u"с -> със", {}, s_to_sas},
    {18, G::None, u"със -> с", {}, sas_to_s},
    {19, G::None, u"<интервал><точка>", {}, blank_before_dot},
    {20, G::None, u"<точка><точка>", {}, two_dots},
    {21, G::None, u"<малка буква><главна буква>", {}, small_then_capital},
    {22, G::None, u"<главни букви><малка буква>", {}, capitals_then_small},
    {23, G::None, u"потенциална българска дума с латински букви", {}, latin_look_alike},
    {24, G::NovelOrSubtitle, u"потенциално грешен край на параграф", {}, paragraph_end},
    {25, G::Novel, u"параграф без табулатор в началото", {}, paragraph_indent},
    {26, G::None, u"опашен интервал", {}, trailing_blank},
    {27, G::None, u"слепено опашно тире", {}, trailing_hyphen},
    {28, G::None, u"грешно тире", {}, one_sided_hyphen},
    {29, G::None, u"водещ интервал", {}, leading_blank},
    {30, G::LoadBg, u"собствено име с малка буква", {}, small_proper_name},
    {31, G::LoadBg, u"сравнителна или превъзходна степен без тире (невинаги е вярно!)", {}, comparison_without_hyphen},
    {32, G::ShtShLoadBg, u"потенциални грешки: щ -> ш (причастие вместо глагол)", {}, sht_to_sh},
    {33, G::ShShtLoadBg, u"потенциални грешки: ш -> щ (глагол вместо причастие)", {}, sh_to_sht},
    {34, G::LoadBg, u"разкъсана дума или грешна двойка думи", {}, split_words},
    {35, G::Comma, u"потенциално пропуснати запетаи (невинаги е вярно!)", {}, missing_commas},
    {36, G::NoStopLoadBg,
     u"думи с главни букви в средата на изречение\r\nс под 4 повторения, възможно е да са грешки",
     u"думи с главни букви в средата на изречение\r\nс над 3 повторения, вероятно не са грешки", capitals_in_sentences},
    {37, G::TwoLetters, {}, {}, ocr_letter_pairs},
    {38, G::TwoNounsLoadBg, u"последователни съществителни (обикновено не е грешка!)", {}, consecutive_nouns},
    {39, G::ConcordLoadBg, u"потенциално несъгласувани прилагателно и съществително", {}, adjective_noun},
    {40, G::LoadBg, u"предлог пред глагол (обикновено е грешка)", {}, preposition_verb},
    {41, G::LoadBg, u"да пред неглагол (обикновено е грешка)", {}, da_not_verb},
    {42, G::LoadBg, u"глагол пред е (възможна грешка е -> c)", {}, verb_before_e},
    {43, G::LoadBg, u"съмнителни изрази (обикновено е грешка)", {}, doubtful_phrase},
    {44, G::LoadBg, u"съседни предлози (обикновено е грешка)", {}, adjacent_prepositions},
    {45, G::LoadBg, u"не пред членувано съществително (възможна грешка не -> на)", {}, ne_definite_noun},
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
