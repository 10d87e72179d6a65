#include "engine/proofreading/article_passes.h"

#include <cstring>
#include <string>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_report.h"
#include "engine/proofreading/proof_words.h"
#include "engine/run_state.h"
#include "lexicon/bgtypes.h"
#include "lexicon/display.h"
#include "lexicon/morphology.h"
#include "platform/richedit.h"
#include "lexicon/tables.h"
#include "shell/settings.h"
#include "shell/strings.h"

const WordList article_look_alikes{
    "автоматика", "бита", "боса", "война", "врата", "показа", "германия", "гола", "досега", "доста",
    "душа", "духа", "дълга", "енергетика", "иска", "казана", "карта", "класика", "кола", "коса",
    "къса", "лека", "логика", "мимика", "мода", "пера", "пеша", "пластика", "поета", "политика",
    "порта", "практика", "резерва", "рутина", "съпруга", "тела", "тактика", "техника", "фабриката",
    "формата", "франция", "чакала", "чувала", "чула", "хора", "хроника", "яка", "вълнения",
    "наказания", "описания", "притеснения"};

const WordList article_ordinals{
    "първия", "втория", "третия", "четвъртия", "петия", "шестия", "седмия", "осмия", "деветия",
    "десетия", "двайсетия", "другия", "по-другия", "миналия", "по-миналия", "последния", "предишния",
    "по-предишния", "предния", "по-предния", "предпоследния", "следващия", "по-следващия", "същия",
    "целия"};

const WordList article_time_words{"ден", "месец", "път", "следобед", "час", "уикенд"};

namespace article_lists {

const WordList kLakat{"лакът"};
const WordList kBeforeDa{"без", "преди", "вместо"};
const WordList kKato{"като"};
const WordList kBeforeKato{"тъй", "след", "щом"};
const WordList kDa{"да"};
const WordList kNyama{"няма"};
const WordList kLi{"ли"};
const WordList kMine{"моя", "твоя"};
const WordList kTyaSi{"тя", "си"};
const WordList kTya{"тя"};
const WordList kSi{"си"};
const WordList kSte{"сте"};
const WordList kBeforeSi{"ти", "че", "когато", "колкото", "където"};
const WordList kBeforeSte{"вие", "че", "когато", "колкото", "където"};
const WordList kPluralSam{"са", "бяха", "били", "сме", "сте"};
const WordList kSiOrPluralSam{"си", "са", "бяха", "били", "сме", "сте"};
const WordList kCounting{"ли", "няколко", "колко", "толкова"};
const WordList kAlwaysDoubtful{"червения"};
const WordList kBoga{"бога"}, kMi{"ми"}, kMata{"мата"}, kHari{"хари"};
const WordList kSingleTypeNext{"изпита", "лека", "размаха"};
const WordList kBoya{"боя", "Побоя"}, kSeLi{"се", "ли"};
const WordList kKalna{"Кълна"}, kSeViTi{"се", "ви", "ти"};
const WordList kChuvala{"Чувала"}, kKakLiSi{"как", "ли", "си"};
const WordList kSeveralTypes{"Германия", "Господа", "Досега", "Доста", "Иска", "Индия", "Казаха",
                             "Пеша", "Показа", "Сипа", "Стана", "Франция", "Хора", "Чула"};
const WordList kRelatives{"които", "която", "което", "чиито", "чиято", "чието", "съм"};
const WordList kGo{"го"}, kMu{"му"};

}  // namespace article_lists

using namespace article_lists;

namespace {

constexpr COLORREF kGrey = 0x7F7F7F;  // a sentence-initial word of several types

const char* const kSubtitleArrow = " --> ";


// A name-like word: a Cyrillic capital followed by a Cyrillic small letter.
bool name_like(const char* w) { return cyr_upper(w[0]) && cyr_lower(w[1]); }

bool feminine_noun(const ProofRun& run, const SenToken* p) {
    NounAdjInfo info;
    return run_noun_info(run, p, info) && info.gender == 1;
}


// Masculine nouns of the rows whose article forms coincide with other forms, in an article form.
bool coinciding_article_noun(const ProofRun& run, const SenToken* p) {
    bool in_rows = false;
    for (int row = BGT_38; row <= BGT_40 && !in_rows; ++row) in_rows = TypeHas(p->text, row) != 0;
    if (!in_rows) return false;
    NounAdjInfo info;
    return run_noun_info(run, p, info) && (info.slot == 1 || info.slot == 2);
}

bool in_coinciding_rows(const char* w) {
    for (int row = BGT_38; row <= BGT_40; ++row)
        if (TypeHas(w, row)) return true;
    return false;
}

std::ptrdiff_t index_of(const ProofRun& run, const SenToken* p) { return p - run.floor; }

// At a subtitle line's start: the previous record is the end time of the line's time code.
bool subtitle_start(const ProofRun& run, const SenToken* p) {
    return gl_fg_subtitle == 1 && index_of(run, p) > 2 && std::strcmp(p[-1].gap, kSubtitleArrow) == 0;
}

// "да" within the run of records after the next one that only blanks, commas and line ends part.
bool da_follows(const ProofRun& run, const SenToken* p) {
    for (const SenToken* q = p + 2; q < run.last() && only_of(q->gap, " ,\r"); ++q)
        if (kDa.has_exact(q->text)) return true;
    return false;
}

// The exceptions after "без", "преди", "вместо" (a "да" clause follows) and "като" (a verb follows,
// or "тъй като", "след като", "щом като").
bool preposition_exception(const ProofRun& run, const SenToken* p) {
    const char* w = p->text;
    if (kBeforeDa.has(w)) return da_follows(run, p);
    if (!kKato.has(w)) return false;
    if (p > run.floor && blank_gap(p->gap) && kBeforeKato.has(p[-1].text)) return true;
    for (const SenToken* q = p + 2; q < run.last() && only_of(q->gap, " ,\r"); ++q)
        if (word_fact(run, q, WordFact::VerbNotAdjOnly) || kNyama.has(q->text)) return true;
    return false;
}

template <typename Info>
bool candidate_as(const char* word, const unsigned char* type_class, Info info_of, int slot, int other_slot,
                  std::string& other) {
    const int row = TypeHasAscii(word, type_class);
    if (row < 0) return false;
    std::string lemma;
    if (GetBgLemma(word, row, lemma) < 0) return false;
    NounAdjInfo info;
    if (!info_of(info, row, word) || info.gender != 0 || info.slot != slot) return false;
    return GetBgForm(lemma, row, other_slot, other) == 1 && !other.empty();
}

// The other form with the first letter of the word as written.
std::string with_first_of(const char* word, const std::string& other) { return word[0] + other.substr(1); }

// The finding line of the first two passes: the article stands on n, the next record.
void object_line(const ProofRun& run, PassReport& rep, const SenToken* p, const std::string& other) {
    const SenToken& n = p[1];
    const std::string fixed = with_first_of(n.text, other);
    if (!has_cr(n.gap)) {
        rep.finding(std::string(p->text) + n.gap + n.text, " -> " + std::string(p->text) + n.gap + fixed);
    } else if (p + 3 < run.nd && !has_cr(p[2].gap)) {
        const std::string after = std::string(p[2].gap) + p[2].text;
        rep.finding(n.text + after, " -> " + fixed + after);
    } else {
        rep.finding(n.text, " -> " + fixed);
    }
}

// The finding line of the last two passes: the article stands on w, the current record.
void subject_line(ProofRun& run, PassReport& rep, const SenToken* p, const std::string& other,
                  COLORREF context_colour) {
    const SenToken& n = p[1];
    const std::string w = p->text;
    const std::string fixed = with_first_of(p->text, other);
    std::string context, suggestion;
    if (!has_cr(n.gap)) {
        context = w + n.gap + n.text;
        suggestion = " -> " + fixed + n.gap + n.text;
    } else {
        context = w + ' ' + n.text;
        suggestion = " -> " + fixed + ' ' + n.text;
    }
    const LONG at = rep.finding(context, suggestion);
    if (context_colour != PR_CONTEXT)
        colour_report(run, at, at + static_cast<LONG>(context.size()), PR_COLOUR_BOLD, context_colour, CFE_BOLD);
    if (has_cr(n.gap) && begins_with_break(n.gap) && w.size() > 1)
        mark_line_break(run, at + static_cast<LONG>(w.size()) - 1);
}

}  // namespace

bool article_candidate(const char* word, int slot, int other_slot, std::string& other) {
    other.clear();
    if (candidate_as(word, ascii_noun, GetNounInfo, slot, other_slot, other)) return true;
    other.clear();
    if (candidate_as(word, ascii_adj, GetAdjInfo, slot, other_slot, other)) return true;
    other.clear();
    return false;
}

void full_article_after_preposition(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    std::string other;
    for (const SenToken* p = run.begin(); p && p < run.end(run.last()); ++p) {
        const SenToken& n = p[1];
        if (!word_fact(run, p, WordFact::Comma1) || !blank_gap(n.gap) || kLakat.has_exact(n.text)) continue;
        if (!run_article_candidate(run, p + 1, 2, 1, other)) continue;
        if (preposition_exception(run, p)) continue;
        object_line(run, rep, p, other);
    }
}

void short_article_after_sam(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    std::string other;
    for (const SenToken* p = run.begin(); p && p < run.end(run.last()); ++p) {
        const char* w = p->text;
        const char* n = p[1].text;
        if (!word_fact(run, p, WordFact::Sum) || !blank_gap(p[1].gap)) continue;
        if (coinciding_article_noun(run, p + 1) || article_look_alikes.has(n)) continue;
        const bool joined = p > run.floor && blank_gap(p->gap);
        if (joined && (word_fact(run, p - 1, WordFact::VerbRow) >= 0 || kLi.has(p[-1].text))) continue;
        const bool mine = kMine.has(n);
        if (mine && p + 2 < run.nd && blank_gap(p[2].gap) && feminine_noun(run, p + 2)) continue;
        if (mine && p + 2 < run.nd && sentence_end_gap(p[2].gap)) continue;
        if (joined) {
            const char* pw = p[-1].text;
            if (mine && (feminine_noun(run, p - 1) || kTyaSi.has(pw))) continue;
            if (mine && index_of(run, p) > 1 && blank_gap(p[-1].gap) && (feminine_noun(run, p - 2) || kTya.has(p[-2].text)))
                continue;
            if (kSi.has(w) && !kBeforeSi.has(pw)) continue;
            if (kSte.has(w) && !kBeforeSte.has(pw)) continue;
        }
        if (kPluralSam.has(w) || name_like(n)) continue;
        if (!run_article_candidate(run, p + 1, 1, 2, other)) continue;
        object_line(run, rep, p, other);
    }
}

void short_article_before_sam(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    std::string other;
    for (const SenToken* p = run.begin(); p && p < run.end(run.last()); ++p) {
        const char* w = p->text;
        const char* n = p[1].text;
        const bool subtitle = subtitle_start(run, p);
        if (!subtitle && (p == run.floor || sentence_end_gap(p->gap))) continue;
        if (p > run.floor && ends_capital(p[-1].text)) continue;
        if (!word_fact(run, p + 1, WordFact::Sum) || !blank_gap(p[1].gap)) continue;
        if (coinciding_article_noun(run, p)) continue;
        const SenToken* before = nullptr;
        if (gl_fg_subtitle == 1 && index_of(run, p) > 4 && std::strcmp(p[-1].gap, kSubtitleArrow) == 0)
            before = p - 4;
        else if (p > run.floor)
            before = p - 1;
        if (before &&
            (word_fact(run, before, WordFact::Comma1) || ascii_digit[static_cast<unsigned char>(before->text[0])]))
            continue;
        if (article_look_alikes.has(w) || kSiOrPluralSam.has(n)) continue;
        if (p > run.floor && blank_gap(p->gap)) {
            const char* pw = p[-1].text;
            if (word_fact(run, p - 1, WordFact::VerbRow) >= 0 || kCounting.has(pw) || TypeHasAscii(pw, ascii_numeral) >= 0 || IsNumber(pw)) continue;
        }
        if (name_like(w)) continue;
        if (!run_article_candidate(run, p, 1, 2, other)) continue;
        subject_line(run, rep, p, other, PR_CONTEXT);
    }
}

void short_article_sentence_start(ProofRun& run, const PassRow& row) {
    PassReport rep(run, row.title);
    std::string other;
    for (const SenToken* p = run.begin(); p && p < run.end(run.last()); ++p) {
        const char* w = p->text;
        const char* n = p[1].text;
        const bool subtitle = subtitle_start(run, p) && ascii_upper[static_cast<unsigned char>(w[0])];
        if (!subtitle) {
            if (p > run.floor && !std::strpbrk(p->gap, ".?!;")) continue;
            const char* dot = std::strchr(p->gap, '.');
            if (dot && dot[1] == '.') continue;
        }
        if (p > run.floor && ends_capital(p[-1].text)) continue;
        if (kMine.has(w) && feminine_noun(run, p + 1)) continue;
        if (article_ordinals.has(w) && article_time_words.has(n)) continue;
        if ((kBoga.has(w) && kMi.has(n)) || (kMata.has(w) && kHari.has(n))) continue;

        const bool doubtful = (PrintBgTypeAuto_CtOnly(w) == 2 && TypeHasAscii(w, ascii_adj) >= 0 &&
                               word_fact(run, p, WordFact::VerbRow) >= 0) ||
                              kAlwaysDoubtful.has(w);
        COLORREF colour = PR_CONTEXT;
        if (!doubtful && !IsOnlyType(w, word_fact(run, p, WordFact::Type))) {
            if (!gl_FIND_ARTICLES) continue;
            if (IsOnlyType(n, word_fact(run, p + 1, WordFact::Type)) && kSingleTypeNext.has(w)) continue;
            if ((kBoya.has(w) && kSeLi.has(n)) || (kKalna.has(w) && kSeViTi.has(n)) || (kChuvala.has(w) && kKakLiSi.has(n)))
                continue;
            if (kSeveralTypes.has(w) || kRelatives.has(n)) continue;
            colour = kGrey;
        }
        if (in_coinciding_rows(w)) continue;
        if (!run_article_candidate(run, p, 1, 2, other)) continue;
        if (kGo.has(n)) continue;
        bool object_follows = false;
        for (const SenToken* q = p + 2; q < run.last(); ++q) {
            if (kMu.has(q->text) || !only_of(q->gap, " ,\r")) break;
            if (kGo.has_exact(q->text)) {
                object_follows = true;
                break;
            }
        }
        if (object_follows || preposition_exception(run, p)) continue;
        subject_line(run, rep, p, other, colour);
    }
}
