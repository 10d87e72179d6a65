#include "engine/proofreading/capitals.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/proofreading/ocr_check.h"
#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_report.h"
#include "engine/proofreading/proof_words.h"
#include "engine/separators.h"
#include "engine/token_store.h"
#include "lexicon/bgtypes.h"
#include "lexicon/display.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/panels.h"
#include "shell/strings.h"
#include "shell/token_frequency_index.h"
#include "spelling/spell_state.h"

const WordList capital_after_capital{"ще", "но", "така", "ако", "пък"};
const WordList capital_beyond{"отвъд", "отсам", "оттатък"};

namespace {

constexpr std::size_t kWordMax = 63;  // longer words are never candidates
constexpr std::size_t kKeyMax = 127;  // the "word_next" key of the capital list
constexpr unsigned kFrequent = 3;     // more occurrences than this: listed once


unsigned cr_count(const char* gap) {
    LineEndInfo info{};
    GetEmptyInfo(&info, gap);
    return info.cr_count;
}

// A known word with a capital where no sentence begins (p is past the first record).
bool capital_candidate(const SenToken* p) {
    const SenToken& prev = p[-1];
    const SenToken& next = p[1];
    const char* w = p->text;
    // Most words do not start with a capital: they are let go before their length is taken.
    if (!cyr_upper(w[0])) return false;
    const std::size_t n = std::strlen(w);
    if (n > kWordMax) return false;
    if (!only_of(p->gap, " ,\r")) return false;
    if (std::strstr(prev.gap, "-->")) return false;
    if (may_be_proper_name(w)) return false;
    if (!in_b_row(B_BULGARIAN, w) || in_b_row(B_BULGARIAN_CAPIT, w) || IsNumber(w)) return false;
    if (n > 1 && cyr_upper(w[1])) return false;
    const std::size_t pn = std::strlen(prev.text);
    if (pn > 0 && prev.text[pn - 1] == '.') return false;
    std::string key = std::string(w) + '_' + next.text;
    if (key.size() > kKeyMax) key.resize(kKeyMax);
    if (in_b_row(B_BULGARIAN_CAPIT, key)) return false;
    if (blank_gap(next.gap) && cyr_upper(next.text[0])) return false;
    if (cyr_upper(prev.text[0]) && !capital_after_capital.has(w)) return false;
    return cr_count(p->gap) <= 1;
}

// One line of the frequent capitals: number, word, count and the word in small letters.
void frequent_line(const ProofRun& run, unsigned number, const GRecord& g) {
    const std::string num = std::to_string(number) + ". ";
    const std::string name(g.name);
    const std::string count = "  " + std::to_string(g.count);
    const std::string suggestion = " -> " + lower_word(name);
    CHARRANGE at{};
    SelectReEnd(run.report, at);
    JuxShowMessage(run.report, num + name + count + suggestion, 1);
    LONG x = at.cpMin;
    const auto colour = [&](std::size_t len, COLORREF c, DWORD effects) {
        ColorRangeOn(run.report, x, x + static_cast<LONG>(len), PR_COLOUR_BOLD, c, effects);
        x += static_cast<LONG>(len);
    };
    colour(num.size(), gl_col_nosug, 0);
    colour(name.size(), PR_CONTEXT, CFE_BOLD);
    colour(count.size(), PR_COUNT, 0);
    colour(suggestion.size(), PR_SUGGESTION, 0);
    RE_SetSel(run.report, CHARRANGE{at.cpMin + 1, at.cpMin + 1});
}

// The spellings of the groups met more than three times, in small letters: a candidate whose
// spelling, ignoring case, is one of them was listed with its group. Thousands of candidates are
// each looked up once instead of compared with every group.
class FrequentSpellings {
public:
    FrequentSpellings() {
        for (const GRecord* g = g_floor; g < g_nd && g->count > kFrequent; ++g) spellings_.insert(folded(g->name));
    }
    bool has(std::string_view w) {
        if (spellings_.empty()) return false;
        key_.assign(w);
        cp_strlwr(key_);
        return spellings_.contains(key_);
    }
    std::vector<std::string> sorted() const {
        std::vector<std::string> out(spellings_.begin(), spellings_.end());
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    std::unordered_set<std::string> spellings_;
    std::string key_;
    static std::string folded(std::string_view w) {
        std::string s(w);
        cp_strlwr(s);
        return s;
    }
};

// The frequent spellings of this run's candidates (none when no candidate was counted): the
// second scan passes them over.
std::optional<FrequentSpellings> g_frequent;

void rare_finding(PassReport& rep, const SenToken* p) {
    const SenToken& prev = p[-1];
    const std::string pw = prev.text;
    if (cr_count(p->gap) == 1) {
        rep.finding(pw, " -> " + pw + ".");
        return;
    }
    const std::size_t pg = std::strlen(prev.gap);
    const std::string lead = pg > 0 && prev.gap[pg - 1] == ' ' ? " " : "";
    const std::string trail = p[1].gap[0] == ' ' ? " " : "";
    const std::string gap = p->gap;
    const std::string small = lead + pw + gap + lower_word(p->text) + trail;
    const std::string stop = lead + pw + ". " + p->text + trail;
    std::string suggestion;
    if (gap == " " && in_b_row(B_BULGARIAN_COMMA1, pw) && !capital_beyond.has(pw.c_str())) suggestion = " -> " + small;
    else if (gap == " ") suggestion = " -> " + stop + " | " + small;
    else suggestion = " -> " + small + " | " + stop;
    rep.finding(lead + pw + gap + p->text + trail, suggestion);
}

}  // namespace

std::vector<std::string> capitals_frequent(ProofRun& run, const PassRow& row, const std::vector<std::string_view>& words) {
    // Every candidate into the single token index: emptied at the first.
    bool added = false;
    if (!words.empty()) ResetGmake();
    for (const std::string_view w : words)
        if (PutInG(w)) added = true;
    g_frequent.reset();
    if (!added) return {};
    FinishGmake();
    if (g_floor < g_nd && g_floor->count > kFrequent) {
        JuxShowMessage(run.report, "", 1);
        report_line(run, row.title2, 2, PR_TITLE, CFE_BOLD);
        unsigned number = 0;
        for (const GRecord* g = g_floor; g < g_nd && g->count > kFrequent; ++g) frequent_line(run, ++number, *g);
    }
    JuxShowMessage(run.report, "", 1);
    g_frequent.emplace();
    return g_frequent->sorted();
}

void capitals_in_sentences(ProofRun& run, const PassRow& row) {
    if (!run.floor) return;
    const SenToken* const first = run.begin(1);
    const SenToken* const end = run.end();
    if (run.scan == 0) {
        // The first scan of a stretch: the candidates' words, counted once all stretches are played.
        for (const SenToken* p = first; p < end; ++p)
            if (capital_candidate(p)) run.tape->add(ReportTape::Op{ReportTape::Kind::Index}, std::string_view(p->text));
        return;
    }
    // Over the whole store: the candidates are judged once, counted and listed, and kept for the
    // second scan (what the count writes changes nothing a candidate is judged by).
    std::vector<const SenToken*> candidates;
    if (run.scan < 0) {
        std::vector<std::string_view> words;
        for (const SenToken* p = first; p < end; ++p) {
            if (!capital_candidate(p)) continue;
            candidates.push_back(p);
            words.emplace_back(p->text);
        }
        capitals_frequent(run, row, words);
    } else {
        for (const SenToken* p = first; p < end; ++p)
            if (capital_candidate(p)) candidates.push_back(p);
    }

    // Second scan: the rarer ones where they stand.
    PassReport rep(run, row.title, 2);
    for (const SenToken* p : candidates) {
        if (g_frequent && g_frequent->has(p->text)) continue;
        rare_finding(rep, p);
    }
}

void ocr_letter_pairs(ProofRun& run, const PassRow&) { check_ocr_letter_pairs(run.report); }
