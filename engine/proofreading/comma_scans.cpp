#include "engine/proofreading/comma_scans.h"

#include <algorithm>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "engine/proofreading/comma_lists.h"
#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_report.h"
#include "engine/proofreading/token_spellings.h"
#include "engine/token_store.h"
#include "lexicon/display.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/strings.h"

namespace comma_scan_words {

// Fixed expressions before a relative word after a word of b_bulgarian_comma1.
const WordList kRelatives9{"когото", "който", "която", "което", "които", "чийто", "чието", "чиято", "чиито"};
const WordList kRelatives4{"който", "която", "което", "които"};
const WordList kKoito{"които"};
const WordList kNa{"на"}, kOt{"от"}, kS{"с"}, kKakvoto{"каквото"};
const WordList kBlagodarenie{"благодарение"};
const WordList kWithinNa{"резултат", "рамките"};
const WordList kOneOfOt{"единия", "единият", "много", "някои", "няколко"};
const WordList kPartOt{"болшинството", "повечето", "половината", "част", "части"};
const WordList kPartNa{"края", "краят", "начало", "началото", "начело", "средата"};
const WordList kPo{"по"}, kVaz{"въз"}, kTime{"времето", "време"}, kOsnova{"основа"};
// The indefinite phrases "... и да било", "... и да е бил".
const WordList kI{"и"}, kDa{"да"}, kE{"е"}, kBil{"бил", "била", "било", "били"};
const WordList kBeshe{"беше"}, kOsven{"освен"}, kZa{"за"};
const WordList kNatatak{"нататък"}, kOtsega{"отсега"};

}  // namespace comma_scan_words

using namespace comma_scan_words;

namespace {

constexpr COLORREF kCommaMark = 0x0055FF;  // where the comma belongs and the conjunction, in the source
const char* const kHelped = "помогна";  // the lemma of w0 before "с каквото"

bool comma1(const char* w) { return in_b_row(B_BULGARIAN_COMMA1, w); }
bool comma2(const char* w) { return in_b_row(B_BULGARIAN_COMMA2, w); }

// The flags of the first phrase of the table that the words w[1] .. w[k] make, or false.
bool match_phrase(const PhraseTable& table, const SenToken* w, int k, std::uint32_t& flags) {
    const char* words[4] = {};
    for (int j = 1; j <= k; ++j) words[j - 1] = w[j].text;
    return table.match(words, static_cast<std::size_t>(k), flags);
}

bool starts_with_ci(const char* w, const std::string& prefix) {
    return std::strlen(w) >= prefix.size() && cp_strncasecmp(w, prefix, prefix.size()) == 0;
}

// What the scans ask of a word by its letters alone, found once per spelling of the text.
enum WordBit : std::uint16_t {
    WB_KNOWN = 1u << 0,    // the bits below were found
    WB_COMMA1 = 1u << 1,   // in b_bulgarian_comma1
    WB_COMMA2 = 1u << 2,   // in b_bulgarian_comma2
    WB_PAIR1 = 1u << 3,    // the first word of a pair conjunction
    WB_TRIPLE1 = 1u << 4,  // of a triple
    WB_QUAD1 = 1u << 5,    // of a quadruple
};
constexpr int kRuleShift = 8;  // bits 8..11: 1 + the first group rule that lists the word, 0 for none

// A FoldedWords that knows its longest word: a longer word is turned away unread (a run of
// millions of letters is not hashed).
struct BoundedWords {
    FoldedWords words;
    std::size_t longest = 0;
    explicit BoundedWords(std::size_t bits) : words(bits) {}
    void add(std::string_view w) {
        words.add(w);
        longest = std::max(longest, w.size());
    }
    bool may_hold(std::string_view w) const { return w.size() <= longest && words.may_hold(w); }
};

// The words of b_bulgarian_comma1 and comma2, so that most words are not searched for there.
BoundedWords comma_list_words() {
    BoundedWords words(std::size_t{1} << 16);
    for (const int row : {B_BULGARIAN_COMMA1, B_BULGARIAN_COMMA2})
        for (const ListPair& e : b[static_cast<std::size_t>(row)].entries) words.add(e.key);
    return words;
}

// The words that can begin a conjunction of the tables or stand in a one-word rule, letter case
// ignored, so that the others skip the tables; none when a table row matches any first word.
struct ConjunctionWords {
    BoundedWords words{std::size_t{1} << 14};
    bool every_word = false;  // a row with no first word: every word is asked
    ConjunctionWords() {
        for (const PhraseTable* t : {&comma_pairs, &comma_triples, &comma_quads})
            for (const CommaPhrase& r : t->rows()) {
                if (!r.words[0] || !r.words[0][0]) every_word = true;
                else words.add(utf8_to_cp1251(r.words[0]));
            }
        for (const CommaGroupRule& r : comma_group_rules)
            for (const std::string& w : r.words->words()) words.add(w);
    }
    bool may_hold(std::string_view w) const { return every_word || words.may_hold(w); }
};

std::uint16_t word_bits(const char* w, const BoundedWords& comma_words, const ConjunctionWords& conjunctions) {
    std::uint32_t bits = WB_KNOWN;
    const std::string_view word(w);
    if (comma_words.may_hold(word)) {
        if (comma1(w)) bits |= WB_COMMA1;
        if (comma2(w)) bits |= WB_COMMA2;
    }
    if (!conjunctions.may_hold(word)) return static_cast<std::uint16_t>(bits);
    // A table matches words only when it matches the first alone.
    std::uint32_t flags = 0;
    if (comma_pairs.match(&w, 1, flags)) bits |= WB_PAIR1;
    if (comma_triples.match(&w, 1, flags)) bits |= WB_TRIPLE1;
    if (comma_quads.match(&w, 1, flags)) bits |= WB_QUAD1;
    for (std::size_t r = 0; r < comma_group_rules.size(); ++r) {
        if (!comma_group_rules[r].words->has(w)) continue;
        bits |= static_cast<std::uint32_t>(r + 1) << kRuleShift;
        break;
    }
    return static_cast<std::uint16_t>(bits);
}

// What the scans ask of the words by their letters, by spelling, and the word sets that spare most
// words the lists: kept while the spellings they are of live, so that the stretches of one run (and
// its four scans) find each spelling's bits once.
struct CommaWords {
    std::weak_ptr<const TokenSpellings> of;
    std::vector<std::uint16_t> bits;  // by spelling, 0 until asked for
    BoundedWords comma_words = comma_list_words();
    ConjunctionWords conjunctions;
};

CommaWords& comma_words_for(const std::shared_ptr<const TokenSpellings>& spellings) {
    static std::unique_ptr<CommaWords> kept;
    if (!kept || kept->of.lock() != spellings) {
        kept = std::make_unique<CommaWords>();
        kept->of = spellings;
        kept->bits.assign(spellings->count(), 0);
    }
    return *kept;
}

class CommaPass {
public:
    CommaPass(ProofRun& run, const PassRow& row)
        : run_(run), rep_(run, row.title), spellings_(run.floor, run.nd), words_(comma_words_for(spellings_.shared())) {
        count_ = run.floor ? run.nd - run.floor : 0;
        from_ = run.floor ? run.begin() - run.floor : 0;
        to_ = run.floor ? run.end() - run.floor : 0;
    }

    void one_word_scan();
    void phrase_scan(int k);

private:
    bool one_word_excluded(CommaGroup g, std::ptrdiff_t i) const;
    bool pair_excluded(const SenToken* w, std::ptrdiff_t i, std::uint32_t flags) const;
    bool triple_excluded(const SenToken* w, std::uint32_t flags) const;
    bool quad_excluded(const SenToken* w, std::uint32_t flags) const;
    bool indefinite_follows(const SenToken* w2) const;
    void report(const std::string& context, const std::string& suggestion, std::size_t marker, const SenToken& first,
                const SenToken& last);

    // The bits of record i's word.
    std::uint16_t bits(std::ptrdiff_t i) {
        std::uint16_t& b = words_.bits[spellings_->id(static_cast<std::size_t>(i))];
        if (!b) b = word_bits(run_.floor[i].text, words_.comma_words, words_.conjunctions);
        return b;
    }

    ProofRun& run_;
    PassReport rep_;
    std::ptrdiff_t count_ = 0;
    std::ptrdiff_t from_ = 0, to_ = 0;  // the records the scans walk
    PassSpellings spellings_;
    CommaWords& words_;
};

void CommaPass::report(const std::string& context, const std::string& suggestion, std::size_t marker,
                       const SenToken& first, const SenToken& last) {
    const LONG at = rep_.finding(context, suggestion);
    if (marker > 0) mark_line_break(run_, at + static_cast<LONG>(marker));
    if (first.pos > 0) mark_source(run_, first.pos - 1, first.pos, PR_COLOUR_UNDERLINE, CFE_UNDERLINE, kCommaMark);
    const LONG end = last.pos + static_cast<LONG>(std::strlen(last.text));
    mark_source(run_, first.pos, end, PR_COLOUR_UNDERLINE, 0, kCommaMark);
}

bool CommaPass::one_word_excluded(CommaGroup g, std::ptrdiff_t i) const {
    const SenToken& w1 = run_.floor[i - 1];
    const SenToken& w2 = run_.floor[i];
    const WordList* list = comma_exclusions(g);
    if (list && list->has(w1.text)) return true;
    switch (g) {
        case CommaGroup::T: {
            static const std::string kPoDash = utf8_to_cp1251("по-");
            return starts_with_ci(w1.text, kPoDash);
        }
        case CommaGroup::G:
            return i >= 3 && kNatatak.has(w1.text) && kOtsega.has(run_.floor[i - 2].text) && w1.gap[0] &&
                   blank_gap(w1.gap);
        case CommaGroup::M: {
            if (comma2(w1.text)) return true;
            const SenToken& after = (&w2)[1];
            return i + 1 < count_ && after.text[0] && after.gap[0] && !blank_gap(after.gap);
        }
        default: return false;
    }
}

void CommaPass::one_word_scan() {
    static const std::string kNo = utf8_to_cp1251("но"), kPo = utf8_to_cp1251("по");
    for (std::ptrdiff_t i = std::max<std::ptrdiff_t>(1, from_); i < to_; ++i) {
        const SenToken& w1 = run_.floor[i - 1];
        const SenToken& w2 = run_.floor[i];
        if (!w1.text[0] && !w2.text[0]) continue;
        CommaGroup group = CommaGroup::None;
        const std::uint16_t b2 = bits(i);
        if ((b2 & WB_COMMA2) && !(bits(i - 1) & WB_COMMA1)) {
            group = CommaGroup::G;
        } else {
            const unsigned rule = b2 >> kRuleShift;
            if (rule == 0) continue;
            group = comma_group_rules[rule - 1].group;
        }
        if (IsNumber(w1.text) || !blank_gap(w2.gap) || comma_pronoun_like.has(w2.text)) continue;
        if (one_word_excluded(group, i)) continue;

        const std::size_t g1 = std::strlen(w1.gap);
        const std::string lead = g1 > 0 && w1.gap[g1 - 1] == ' ' ? " " : "";
        const std::string trail = (&w2)[1].gap[0] == ' ' ? " " : "";
        const std::string context = lead + w1.text + ' ' + w2.text + trail;
        std::string suggestion = " -> " + lead + w1.text + ", " + w2.text + trail;
        if (w2.text == kNo) suggestion += " | " + lead + w1.text + ' ' + kPo + trail;
        const std::size_t marker = begins_with_break(w2.gap) ? lead.size() + std::strlen(w1.text) - 1 : 0;
        report(context, suggestion, marker, w2, w2);
    }
}

bool CommaPass::indefinite_follows(const SenToken* w2) const {
    const auto joined = [&](int n) {
        if ((w2 - run_.floor) + n >= count_) return false;
        for (int j = 1; j <= n; ++j)
            if (!w2[j].text[0] || !w2[j].gap[0] || !blank_gap(w2[j].gap)) return false;
        return true;
    };
    if (joined(3) && kI.has(w2[1].text) && kDa.has(w2[2].text) && kBil.has(w2[3].text)) return true;
    return joined(4) && kI.has(w2[1].text) && kDa.has(w2[2].text) && kE.has(w2[3].text) && kBil.has(w2[4].text);
}

bool CommaPass::pair_excluded(const SenToken* w, std::ptrdiff_t i, std::uint32_t flags) const {
    const char* w0 = w[0].text;
    const char* w1 = w[1].text;
    const char* w2 = w[2].text;
    if (IsNumber(w0) || comma2_before.has(w0)) return true;
    if (flags & CF_R) {
        if (comma2_before_fixed.has(w0)) return true;
        if (kBlagodarenie.has(w0) && kNa.has(w1) && kRelatives9.has(w2)) return true;
        if (kWithinNa.has(w0) && kNa.has(w1)) return true;
        if (kOneOfOt.has(w0) && kOt.has(w1) && kKoito.has(w2)) return true;
        if (((kPartOt.has(w0) && kOt.has(w1)) || (kPartNa.has(w0) && kNa.has(w1))) && kRelatives4.has(w2)) return true;
        if (i >= 4 && w[-1].text[0] && w[0].gap[0] && kNa.has(w1) && kRelatives4.has(w2) &&
            ((kPo.has(w[-1].text) && kTime.has(w0)) || (kVaz.has(w[-1].text) && kOsnova.has(w0))))
            return true;
        if (kS.has(w1) && kKakvoto.has(w2)) {
            std::string lemma;
            GetBgLemma(w0, -1, lemma);
            if (cp_strcasecmp(lemma, utf8_to_cp1251(kHelped)) == 0) return true;
        }
    }
    if ((flags & CF_O) && comma2_before_o.has(w0)) return true;
    if ((flags & CF_K) && comma2_before_k.has(w0)) return true;
    if (!blank_gap(w[1].gap) || !blank_gap(w[2].gap)) return true;
    if ((flags & CF_V) && comma2_before_v.has(w0)) return true;
    if ((flags & CF_Z) && comma2_before_z.has(w0)) return true;
    for (const CommaFlagWord& f : comma_flag_words)
        if ((flags & f.flag) && f.word.has(w0)) return true;
    return comma2(w2) && indefinite_follows(&w[2]);
}

bool CommaPass::triple_excluded(const SenToken* w, std::uint32_t flags) const {
    const char* w0 = w[0].text;
    if (IsNumber(w0) || comma3_before.has(w0)) return true;
    if (!(flags & CF_Z) && comma3_before_without_z.has(w0)) return true;
    if (((flags & CF_O) && kBeshe.has(w0)) || ((flags & CF_N) && kOsven.has(w0)) || ((flags & CF_D) && kZa.has(w0)))
        return true;
    return !blank_gap(w[1].gap) || !blank_gap(w[2].gap) || !blank_gap(w[3].gap);
}

bool CommaPass::quad_excluded(const SenToken* w, std::uint32_t flags) const {
    const char* w0 = w[0].text;
    if (IsNumber(w0) || comma4_before.has(w0)) return true;
    if ((flags & CF_Z) && comma4_before_z.has(w0)) return true;
    for (int j = 1; j <= 4; ++j)
        if (!blank_gap(w[j].gap)) return true;
    return false;
}

void CommaPass::phrase_scan(int k) {
    if (count_ <= k) return;
    for (std::ptrdiff_t i = std::max<std::ptrdiff_t>(k, from_); i < to_; ++i) {
        const SenToken* w = run_.floor + i - k;
        bool cyrillic = true;
        for (int j = 1; j <= k && cyrillic; ++j) cyrillic = ascii_cyrillic[static_cast<unsigned char>(w[j].text[0])] != 0;
        if (!cyrillic) continue;

        std::uint32_t flags = 0;
        bool excluded = true;
        const std::uint16_t b1 = bits(i - k + 1);
        if (k == 2) {
            if ((b1 & WB_COMMA1) && (bits(i) & WB_COMMA2)) flags = CF_R;
            else if (!(b1 & WB_PAIR1) || !match_phrase(comma_pairs, w, 2, flags)) continue;
            excluded = pair_excluded(w, i, flags);
        } else if (k == 3) {
            if (!(b1 & WB_TRIPLE1) || !match_phrase(comma_triples, w, 3, flags)) continue;
            excluded = triple_excluded(w, flags);
        } else {
            if (!(b1 & WB_QUAD1) || !match_phrase(comma_quads, w, 4, flags)) continue;
            excluded = quad_excluded(w, flags);
        }
        if (excluded) continue;

        std::string words = w[1].text;
        for (int j = 2; j <= k; ++j) (words += ' ') += w[j].text;
        const std::string context = std::string(w[0].text) + ' ' + words;
        const std::string suggestion = " -> " + std::string(w[0].text) + ", " + words;
        // The last letter of the word before the first gap that begins with a line break.
        std::size_t marker = 0, before = 0;
        for (int j = 1; j <= k; ++j) {
            before += std::strlen(w[j - 1].text) + (j > 1 ? 1 : 0);
            if (begins_with_break(w[j].gap)) {
                marker = before - 1;
                break;
            }
        }
        report(context, suggestion, marker, w[1], w[k]);
    }
}

}  // namespace

void missing_commas(ProofRun& run, const PassRow& row) {
    CommaPass pass(run, row);
    if (run.scan <= 0) pass.one_word_scan();
    for (int k = 2; k <= 4; ++k)
        if (run.scan < 0 || run.scan == k - 1) pass.phrase_scan(k);
}
