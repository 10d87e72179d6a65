#include "engine/proofreading/proof_words.h"

#include <algorithm>
#include <cstring>

#include "lexicon/bgtypes.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"


bool only_of(const char* text, const char* set) {
    for (const char* c = text; *c; ++c)
        if (!std::strchr(set, *c)) return false;
    return true;
}

bool sentence_end_gap(const char* gap) {
    if (const char* dot = std::strchr(gap, '.')) return dot[1] != '.';
    return std::strpbrk(gap, "?!;") != nullptr;
}

namespace {

// What the answers depend on: the word-form index, the two rows of b asked and the letter case rules.
std::array<std::uintptr_t, 7> index_stamp() {
    const auto& known = b[B_BULGARIAN].entries;
    const auto& comma1 = b[B_BULGARIAN_COMMA1].entries;
    return {reinterpret_cast<std::uintptr_t>(bgmul_bottom), bgmul_ct,
            reinterpret_cast<std::uintptr_t>(known.data()), known.size(),
            reinterpret_cast<std::uintptr_t>(comma1.data()), comma1.size(), ctype_locale_is_cyrillic()};
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

std::uint32_t text_hash(const char* s, std::uint32_t& length) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull;
    const char* c = s;
    for (; *c; ++c) h = (h ^ static_cast<unsigned char>(*c)) * 0x100000001B3ull;
    length = static_cast<std::uint32_t>(c - s);
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

}  // namespace

WordFacts::WordFacts(const SenToken* floor, const SenToken* nd)
    : floor_(floor), nd_(nd), ids_(floor && nd > floor ? static_cast<std::size_t>(nd - floor) : 0, kUnasked),
      slots_(1024, 0), stamp_(index_stamp()) {}

void WordFacts::check_stamp() {
    const auto now = index_stamp();
    if (now == stamp_) return;
    stamp_ = now;
    for (auto& column : values_) std::fill(column.begin(), column.end(), kUnknown);
    std::fill(nouns_.begin(), nouns_.end(), Info{});
    std::fill(adjectives_.begin(), adjectives_.end(), Info{});
}

void WordFacts::grow() {
    slots_.assign(slots_.size() * 2, 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint32_t n = 0; n < spellings_.size(); ++n) {
        const std::uint64_t hash = spellings_[n].hash;
        std::size_t i = hash & mask;
        while (slots_[i] != 0) i = (i + 1) & mask;
        slots_[i] = hash << 32 | (n + 1);
    }
}

std::uint32_t WordFacts::id(const SenToken* p) {
    if (p < floor_ || p >= nd_) return kNoId;
    check_stamp();
    std::uint32_t& id = ids_[static_cast<std::size_t>(p - floor_)];
    if (id != kUnasked) return id;
    std::uint32_t length = 0;
    const std::uint32_t hash = text_hash(p->text, length);
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    for (; slots_[i] != 0; i = (i + 1) & mask) {
        if (slots_[i] >> 32 != hash) continue;
        const std::uint32_t at = static_cast<std::uint32_t>(slots_[i]) - 1;
        const Spelling& s = spellings_[at];
        if (s.length == length && std::memcmp(s.text, p->text, length) == 0) return id = at;
    }
    if (spellings_.size() >= kMaxSpellings) return id = kNoId;
    id = static_cast<std::uint32_t>(spellings_.size());
    spellings_.push_back({p->text, length, hash});
    slots_[i] = std::uint64_t{hash} << 32 | (id + 1);
    if (spellings_.size() * 2 > slots_.size()) grow();
    return id;
}

int WordFacts::fact(const SenToken* p, WordFact f) {
    if (!worth_keeping(f)) return ask(p->text, f);
    const std::uint32_t n = id(p);
    if (n == kNoId) return ask(p->text, f);
    std::vector<std::int16_t>& column = values_[static_cast<std::size_t>(f)];
    if (n >= column.size()) column.resize(spellings_.size(), kUnknown);
    std::int16_t& v = column[n];
    if (v == kUnknown) v = static_cast<std::int16_t>(ask(p->text, f));
    return v;
}

int WordFacts::kept_info(const SenToken* p, std::vector<Info>& column, InfoLookUp look, NounAdjInfo& info) {
    const std::uint32_t n = bgmul_ct != 0 ? id(p) : kNoId;
    if (n == kNoId) return look(info, -1, p->text);
    if (n >= column.size()) column.resize(spellings_.size());
    Info& e = column[n];
    if (e.result < 0) e.result = static_cast<std::int8_t>(look(e.info, -1, p->text));
    info = e.info;
    return e.result;
}

int WordFacts::noun_info(const SenToken* p, NounAdjInfo& info) { return kept_info(p, nouns_, GetNounInfo, info); }

int WordFacts::adj_info(const SenToken* p, NounAdjInfo& info) { return kept_info(p, adjectives_, GetAdjInfo, info); }

int word_fact(const ProofRun& run, const SenToken* p, WordFact f) {
    return run.facts ? run.facts->fact(p, f) : ask(p->text, f);
}

int run_noun_info(const ProofRun& run, const SenToken* p, NounAdjInfo& info) {
    return run.facts ? run.facts->noun_info(p, info) : GetNounInfo(info, -1, p->text);
}

int run_adj_info(const ProofRun& run, const SenToken* p, NounAdjInfo& info) {
    return run.facts ? run.facts->adj_info(p, info) : GetAdjInfo(info, -1, p->text);
}
