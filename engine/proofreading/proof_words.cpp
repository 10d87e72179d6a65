#include "engine/proofreading/proof_words.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "engine/proofreading/article_passes.h"
#include "engine/proofreading/token_spellings.h"
#include "engine/worker_pool.h"
#include "lexicon/bgtypes.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/text.h"


bool only_of(const char* text, const char* set) {
    for (const char* c = text; *c; ++c)
        if (!std::strchr(set, *c)) return false;
    return true;
}

bool sentence_end_gap(const char* gap) {
    if (const char* dot = std::strchr(gap, '.')) return dot[1] != '.';
    return std::strpbrk(gap, "?!;") != nullptr;
}

bool may_be_proper_name(const char* w) {
    if (IsTypeProperOnly(w) != 0 || TypeHasAscii(w, ascii_proper) != -1) return true;
    for (int t : proper_name_types)
        if (TypeHas(w, t)) return true;
    return false;
}

namespace {

// What the answers depend on: the word-form index, the two rows of b asked and the letter case rules.
std::array<std::uintptr_t, 7> index_stamp() {
    const auto& known = b[B_BULGARIAN].entries;
    const auto& comma1 = b[B_BULGARIAN_COMMA1].entries;
    return {reinterpret_cast<std::uintptr_t>(bgmul_bottom), bgmul_ct,
            reinterpret_cast<std::uintptr_t>(known.data()), known.size(),
            reinterpret_cast<std::uintptr_t>(comma1.data()), comma1.size(),
            cp1251_detail::current_ctype == &cp1251_detail::full_ctype};
}

int ask(const char* w, WordFact f) {
    switch (f) {
        case WordFact::Sum: return TypeHas(w, BGT_SUM);
        case WordFact::VerbRow: return TypeHasAscii(w, ascii_verb);
        case WordFact::NounOnly: return IsOnlyAsciiType(w, ascii_noun);
        case WordFact::ProperOnly: return IsTypeProperOnly(w);
        case WordFact::Type: return GetType(w);
        case WordFact::VerbNotAdjOnly: return IsTypeVerbNotAdjOnly(w);
        case WordFact::Known: return known_bg(w) ? 1 : 0;
        case WordFact::Comma1: return in_b_row(B_BULGARIAN_COMMA1, w) ? 1 : 0;
        case WordFact::Count: break;
    }
    return 0;
}

// Whether what the question asks is loaded: an empty index or list answers at once, and keeping its
// answers would cost more than asking.
bool worth_keeping(WordFact f) {
    switch (f) {
        case WordFact::Known: return !b[B_BULGARIAN].entries.empty();
        case WordFact::Comma1: return !b[B_BULGARIAN_COMMA1].entries.empty();
        default: return bgmul_ct != 0;
    }
}

}  // namespace

WordFacts::WordFacts(const SenToken* floor, const SenToken* nd) : floor_(floor), nd_(nd), stamp_(index_stamp()) {}

WordFacts::~WordFacts() = default;

void WordFacts::check_stamp() {
    // Asked before every answer: the stamps compared as memory, the answers forgotten apart.
    const auto now = index_stamp();
    if (std::memcmp(now.data(), stamp_.data(), sizeof now) != 0) forget(now);
}

void WordFacts::forget(const std::array<std::uintptr_t, 7>& now) {
    stamp_ = now;
    for (auto& column : values_) std::fill(column.begin(), column.end(), kUnknown);
    std::fill(nouns_.begin(), nouns_.end(), Info{});
    std::fill(adjectives_.begin(), adjectives_.end(), Info{});
    for (auto& column : candidates_) std::fill(column.begin(), column.end(), Candidate{});
    others_.clear();
    asked_ahead_ = false;
}

void WordFacts::ask_index_ahead() {
    if (asked_ahead_) return;
    asked_ahead_ = true;
    for (std::size_t f = 0; f < kFacts; ++f)
        if (from_index(static_cast<WordFact>(f))) values_[f].assign(kept(), kUnknown);
    nouns_.assign(kept(), Info{});
    adjectives_.assign(kept(), Info{});
    std::vector<std::string_view> forms(kept());
    for (std::uint32_t n = 0; n < forms.size(); ++n) forms[n] = spellings_->text(n);
    std::vector<FormFacts> facts(forms.size());
    // The forms met for the first time are found in the index on the helper threads, which write
    // only their own forms' answers while this thread waits.
    const RunPieces on_helpers = [](std::size_t pieces, const std::function<void(std::size_t)>& piece) {
        HelperJob(pieces, piece).wait();
    };
    const std::size_t answered = memo_forms(forms.data(), forms.size(), facts.data(), on_helpers);
    for (std::uint32_t n = 0; n < answered; ++n) put(n, facts[n]);
}

void WordFacts::put(std::uint32_t n, const FormFacts& a) {
    assert(n < kept() && nouns_.size() == kept() && adjectives_.size() == kept());
    const auto set = [&](WordFact f, int v) {
        // An answer fits its column and is never the mark of one not asked.
        assert(v > kUnknown && v <= INT16_MAX);
        values_[static_cast<std::size_t>(f)][n] = static_cast<std::int16_t>(v);
    };
    set(WordFact::Sum, a.sum);
    set(WordFact::VerbRow, a.verb_row);
    set(WordFact::NounOnly, a.noun_only);
    set(WordFact::ProperOnly, a.proper_only);
    set(WordFact::Type, a.type);
    set(WordFact::VerbNotAdjOnly, a.verb_not_adj_only);
    nouns_[n] = Info{a.noun, static_cast<std::int8_t>(a.noun_result)};
    adjectives_[n] = Info{a.adj, static_cast<std::int8_t>(a.adj_result)};
}

std::size_t WordFacts::kept() const { return std::min(spellings_->count(), kMaxSpellings); }

std::uint32_t WordFacts::id(const SenToken* p) {
    if (p < floor_ || p >= nd_) return kNoId;
    check_stamp();
    if (!spellings_) spellings_ = spellings_of(floor_, nd_);
    const std::uint32_t n = spellings_->id(static_cast<std::size_t>(p - floor_));
    // The answers of spelling n are the answers about the record's text.
    assert(n >= spellings_->count() || spellings_->text(n) == std::string_view(p->text));
    return n < kMaxSpellings ? n : kNoId;
}

bool WordFacts::from_index(WordFact f) { return f != WordFact::Known && f != WordFact::Comma1; }

void WordFacts::fill(std::uint32_t n, const char* text) {
    ask_index_ahead();
    assert(n < values_[static_cast<std::size_t>(WordFact::Type)].size());
    if (values_[static_cast<std::size_t>(WordFact::Type)][n] != kUnknown) return;
    FormFacts a;
    form_facts(text, a);
    put(n, a);
}

int WordFacts::fact(const SenToken* p, WordFact f) {
    // Most questions are of a record whose spelling's answers were all found ahead: read at once.
    if (asked_ahead_ && from_index(f)) {
        const std::uint32_t n = id(p);
        if (n != kNoId && asked_ahead_) {
            const std::int16_t v = values_[static_cast<std::size_t>(f)][n];
            if (v != kUnknown) return v;
        }
    }
    if (!worth_keeping(f)) return ask(p->text, f);
    const std::uint32_t n = id(p);
    if (n == kNoId) return ask(p->text, f);
    if (from_index(f)) {
        fill(n, p->text);
        return values_[static_cast<std::size_t>(f)][n];
    }
    std::vector<std::int16_t>& column = values_[static_cast<std::size_t>(f)];
    if (column.empty()) column.assign(kept(), kUnknown);
    assert(n < column.size());
    std::int16_t& v = column[n];
    if (v == kUnknown) {
        const int a = ask(p->text, f);
        assert(a > kUnknown && a <= INT16_MAX);
        v = static_cast<std::int16_t>(a);
    }
    return v;
}

int WordFacts::kept_info(const SenToken* p, std::vector<Info>& column, InfoLookUp look, NounAdjInfo& info) {
    const std::uint32_t n = bgmul_ct != 0 ? id(p) : kNoId;
    if (n == kNoId) return look(info, -1, p->text);
    fill(n, p->text);
    const Info& e = column[n];
    info = e.info;
    return e.result;
}

int WordFacts::noun_info(const SenToken* p, NounAdjInfo& info) { return kept_info(p, nouns_, GetNounInfo, info); }

int WordFacts::adj_info(const SenToken* p, NounAdjInfo& info) { return kept_info(p, adjectives_, GetAdjInfo, info); }

bool WordFacts::article_candidate(const SenToken* p, int slot, int other_slot, std::string& other) {
    const std::size_t pair = slot == 2 && other_slot == 1 ? 0 : slot == 1 && other_slot == 2 ? 1 : 2;
    const std::uint32_t n = pair < 2 && bgmul_ct != 0 ? id(p) : kNoId;
    if (n == kNoId) return ::article_candidate(p->text, slot, other_slot, other);
    std::vector<Candidate>& column = candidates_[pair];
    if (column.empty()) column.resize(kept());
    Candidate& e = column[n];
    if (e.result < 0) ask_index_ahead();
    if (e.result < 0) {
        e.result = ::article_candidate(p->text, slot, other_slot, other) ? 1 : 0;
        e.at = static_cast<std::uint32_t>(others_.size());
        e.size = static_cast<std::uint16_t>(std::min<std::size_t>(other.size(), UINT16_MAX));
        others_.append(other, 0, e.size);
        return e.result == 1;
    }
    other.assign(others_, e.at, e.size);
    return e.result == 1;
}

int word_fact(const ProofRun& run, const SenToken* p, WordFact f) {
    return run.facts ? run.facts->fact(p, f) : ask(p->text, f);
}

int run_noun_info(const ProofRun& run, const SenToken* p, NounAdjInfo& info) {
    return run.facts ? run.facts->noun_info(p, info) : GetNounInfo(info, -1, p->text);
}

int run_adj_info(const ProofRun& run, const SenToken* p, NounAdjInfo& info) {
    return run.facts ? run.facts->adj_info(p, info) : GetAdjInfo(info, -1, p->text);
}

bool run_article_candidate(const ProofRun& run, const SenToken* p, int slot, int other_slot, std::string& other) {
    return run.facts ? run.facts->article_candidate(p, slot, other_slot, other)
                     : article_candidate(p->text, slot, other_slot, other);
}
