// The span matcher: covers a sentence with the longest runs of tokens that the word-class lists,
// the comma corpora or the English-Bulgarian dictionary know (longest first, leftmost first among
// equal lengths), choosing among the lists by the neighbouring English words, and leaves every
// token nothing translates as the English token.
#include <algorithm>
#include <string>
#include <unordered_map>

#include "engine/translation/steps.h"
#include "lexicon/corpora.h"
#include "lexicon/morphology.h"
#include "lexicon/wordclass.h"
#include "platform/text.h"
#include "shell/settings.h"
#include "shell/strings.h"

namespace {

// The first entry in file order of the unsorted Bulgarian-English list for each English text
// (folded to lower case), built on its first use in a run.
std::unordered_map<std::string, std::string_view> g_reverse;
bool g_reverse_built = false;

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(cp_tolower(static_cast<unsigned char>(c)));
    return out;
}

const std::string_view* reverse_find(std::string_view display) {
    if (!g_reverse_built) {
        g_reverse_built = true;
        for (const ListPair& p : b[B_BULGARIAN_ENGLISH_UNSORTED].entries)
            if (p.has_rest()) g_reverse.emplace(lower(p.rest), p.key);
    }
    auto it = g_reverse.find(lower(display));
    return it == g_reverse.end() ? nullptr : &it->second;
}

bool has_text(const ListPair* p) { return p && p->has_rest(); }

// What the lists hold for one span.
struct Hits {
    const SentencePair* C = nullptr;
    const SentencePair* SC = nullptr;
    const SentencePair* CC = nullptr;
    const SentencePair* EC = nullptr;
    const SentencePair* QC = nullptr;
    const ListPair* one = nullptr;
    const ListPair* start = nullptr;
    const ListPair* end = nullptr;
    const ListPair* two = nullptr;
    const ListPair* three = nullptr;
    const ListPair* verb1 = nullptr;
    const ListPair* verb2 = nullptr;
    const ListPair* noun = nullptr;
    int noun_kind = kMtNoKind;  // the row of the noun list that hit
    int noun_index = -1;  // 0 for c_c11
    const ListPair* adj = nullptr;
    const ListPair* adv = nullptr;
    const ListPair* when = nullptr;
    const ListPair* where = nullptr;
    const ListPair* num2 = nullptr;
    const ListPair* prep = nullptr;
    const ListPair* misc = nullptr;
    std::array<const ListPair*, 4> abb{};
    std::array<const ListPair*, 7> names{};
};

// The first list of the group that holds the key; its index in `which`.
template <std::size_t N>
const ListPair* first_hit(const MtLexicon& lex, const std::array<int, N>& rows, std::string_view key, int* which = nullptr) {
    for (std::size_t k = 0; k < N; ++k)
        if (const ListPair* p = lex.c(rows[k], key)) {
            if (which) *which = static_cast<int>(k);
            return p;
        }
    return nullptr;
}

Hits look_up(const MtLexicon& lex, std::string_view key) {
    const MtRows& r = mt_rows();
    Hits h;
    h.C = lex.corpus(CSC_CUST, key);
    if (!h.C) h.C = lex.corpus(CSC, key);
    h.SC = lex.corpus(CS_C, key);
    h.CC = lex.corpus(CSC_C, key);
    h.EC = lex.corpus(CSE_C, key);
    h.QC = lex.corpus(CSQ_C, key);
    if (!is_in_any_c_list(key)) return h;  // one question instead of a search of each list below
    h.one = lex.c(r.one, key);
    h.start = lex.c(r.start, key);
    h.end = lex.c(r.end, key);
    h.two = first_hit(lex, r.two, key);
    h.three = first_hit(lex, r.three, key);
    h.verb1 = first_hit(lex, r.verb1, key);
    h.verb2 = first_hit(lex, r.verb2, key);
    h.noun = first_hit(lex, r.noun, key, &h.noun_index);
    if (h.noun) h.noun_kind = kNounKinds[static_cast<std::size_t>(h.noun_index)];
    h.adj = first_hit(lex, r.adj, key);
    h.adv = first_hit(lex, r.adv, key);
    h.when = lex.c(r.when, key);
    h.where = lex.c(r.where, key);
    h.num2 = lex.c(r.num21, key);
    h.prep = lex.c(r.prep, key);
    h.misc = first_hit(lex, r.misc, key);
    for (std::size_t k = 0; k < h.abb.size(); ++k) h.abb[k] = lex.c(r.abb[k], key);
    for (std::size_t k = 0; k < h.names.size(); ++k) h.names[k] = lex.c(r.names[k], key);
    return h;
}

bool begins_with_comma(const char* gap) { return gap[0] == ',' || (gap[0] == ' ' && gap[1] == ','); }
bool holds_comma(const char* gap) { return std::string_view(gap).find(',') != std::string_view::npos; }

// The comma corpus that the final mark after the span chooses.
const SentencePair* comma_choice(const Hits& h, const char* end_gap) {
    const FinalMark f = final_mark(end_gap);
    auto first = [](std::initializer_list<const SentencePair*> l) -> const SentencePair* {
        for (const SentencePair* p : l)
            if (p) return p;
        return nullptr;
    };
    if (f.any_of(".;:")) return first({h.SC, h.EC, h.CC});
    if (f.any_of("!")) return first({h.EC, h.SC, h.CC});
    if (f.any_of("?")) return first({h.QC, h.CC});
    if (f.any_of(",")) return h.CC;
    return nullptr;
}

// TypeHasAscii answers the type row of the first analysis in the class, -1 for none.
bool is_adj(std::string_view w) { return TypeHasAscii(w, ascii_adj) >= 0; }
bool is_noun(std::string_view w) { return TypeHasAscii(w, ascii_noun) >= 0; }
// The kind of a verb of the da-class or of the az-class, or none.
int verb_kind(std::string_view w) {
    if (TypeHasAscii(w, ascii_verb_da) >= 0) return kMtVerbDa;
    if (TypeHasAscii(w, ascii_verb_az) >= 0) return kMtVerbAz;
    return kMtNoKind;
}

constexpr std::size_t kWordRoom = 128;  // a word of a dictionary translation, with its end

// The kind of a translation from the dictionary by the classes of its Bulgarian words; a one-word
// noun becomes its indefinite form.
int dictionary_kind(std::string& text) {
    const int words = GetWordCountA(text);
    if (words <= 1) {
        if (is_adj(text)) return kMtAdjective;
        if (is_noun(text)) {
            std::string indefinite;
            if (GetNechlenuvanNoun(text, indefinite) == 1 && !indefinite.empty()) text = indefinite;
            return kMtNoun;
        }
        return verb_kind(text);
    }
    // The word count takes underscores as breaks, the words are cut at blanks: a text such as
    // "червена_кола голяма" (three by the count, two words) has no last word. Get_Nth_TokenA then
    // tells the user the entry is faulty, the kind stays unset and the text is used as it is.
    std::string first, last, second;
    if (Get_Nth_TokenA(1, text, first, kWordRoom) != 1 || Get_Nth_TokenA(words, text, last, kWordRoom) != 1)
        return kMtNoKind;
    auto second_is_noun = [&] { return Get_Nth_TokenA(2, text, second, kWordRoom) == 1 && is_noun(second); };
    const bool first_adj = is_adj(first);
    if (is_noun(last)) {
        if (first_adj) return words <= 2 ? kMtTwoWords : (second_is_noun() ? kMtThreeWords : kMtTwoWords);
    } else if (first_adj) {
        return words <= 2 ? kMtAdjective : (second_is_noun() ? kMtThreeWords : kMtAdjective);
    }
    if (is_noun(first)) return kMtNoun;
    return verb_kind(first);
}

// The definite form of an adjective-noun phrase after "the": its adjective takes the form one slot
// after its indefinite one (plural slot 8 for a plural noun with an adjective of type 143, 147 or
// 148). Empty when the adjective is unknown or not indefinite.
std::string definite_phrase(const std::string& text, bool three) {
    const std::size_t blank = text.find(' ');
    const std::string adjective = text.substr(0, blank);
    const std::string tail = text.substr(blank + 1);
    std::string noun;
    if (!three) {
        noun = text.substr(text.rfind(' ') + 1);
    } else if (GetWordCountA(text) > 1) {
        nth_word(2, text, noun);
    } else {
        noun = text;
    }
    NounAdjInfo adj;
    if (!GetAdjInfo(adj, -1, adjective)) return {};
    std::string lemma;
    if (GetBgLemma(adjective, adj.type, lemma) < 0) return {};
    bool plural = false;
    if (adj.type == 143 || adj.type == 147 || adj.type == 148) {
        NounAdjInfo n;
        plural = GetNounInfo(n, -1, noun) == 1 && n.plural == 1;
    }
    int slot = adj.slot;
    static constexpr int kIndefinite[] = {0, 3, 5, 7, 38, 41, 43, 45};
    if (std::find(std::begin(kIndefinite), std::end(kIndefinite), slot) == std::end(kIndefinite)) return {};
    if (plural && slot == 0) slot = 7;
    std::string form;
    GetBgForm(lemma, adj.type, slot + 1, form);
    return form + " " + tail;
}

class Matcher {
public:
    Matcher(const MtSentence& s, MtWork& w, const MtLexicon& lex, MtCommaCounts& counts)
        : s_(s), w_(w), lex_(lex), counts_(counts) {}

    void run();

private:
    void span(std::size_t i, std::size_t len);
    bool give(MtUnit& u, const ListPair* p, int kind) {
        if (!has_text(p)) return false;
        u.text = cut(p->rest, MT_TEXT_MAX);
        u.kind = kind;
        return true;
    }

    const MtSentence& s_;
    MtWork& w_;
    const MtLexicon& lex_;
    MtCommaCounts& counts_;
    std::string key_;
    std::string display_;
};

void Matcher::run() {
    const std::size_t n = s_.n();
    w_.comma_phrase = false;
    if (n == 0) return;
    // Sums of the tokens' lengths: a span whose texts alone are longer than every key of the
    // lists is never searched.
    std::vector<std::size_t> sum(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) sum[i + 1] = sum[i] + std::string_view(s_.tokens[i].text).size();
    const std::size_t longest = lex_.longest();
    const std::size_t top = std::min(n, std::max<std::size_t>(longest, 1));
    for (std::size_t len = top; len >= 1; --len) {
        for (std::size_t i = 0; i + len <= n; ++i) {
            if (len > 1 && sum[i + len] - sum[i] > longest) continue;
            const auto first = w_.covered.begin() + static_cast<std::ptrdiff_t>(i);
            if (std::find(first, first + static_cast<std::ptrdiff_t>(len), 1) != first + static_cast<std::ptrdiff_t>(len)) continue;
            span(i, len);
        }
    }
    for (std::size_t j = 0; j < n; ++j) {
        if (w_.covered[j]) continue;
        MtUnit& u = w_.units[j];
        u.gap = j > 0 ? cut(s_.tokens[j].gap, MT_KEY_MAX) : std::string();
        u.text = cut(s_.tokens[j].text, MT_TEXT_MAX);
    }
    for (std::size_t j = 0; j < n; ++j)
        if (!w_.units[j].text.empty()) w_.list.push_back(&w_.units[j]);
}

void Matcher::span(std::size_t i, std::size_t len) {
    const std::size_t n = s_.n();
    const bool at_start = i == 0;
    const bool at_end = i + len == n;
    MtUnit& u = w_.units[i];
    const char* first_text = s_.tokens[i].text;

    key_.clear();
    for (std::size_t j = i; j < i + len && key_.size() < MT_SPAN_KEY_ROOM; ++j) {
        if (j > i) key_ += s_.tokens[j].gap;
        key_ += s_.tokens[j].text;
    }
    cut_to(key_, MT_SPAN_KEY_ROOM);
    normailize_sentence(key_, display_);

    Hits h = look_up(lex_, key_);
    const char* end_gap = s_.gap_after(i + len - 1);
    const SentencePair* cv = comma_choice(h, end_gap);
    if (!at_start) u.gap = cut(s_.tokens[i].gap, MT_KEY_MAX);

    // Comma phrases.
    if (at_start) {
        if (h.C && h.C->has_bg() && begins_with_comma(end_gap)) {
            u.text = cut(h.C->bg, MT_TEXT_MAX);
            w_.comma_phrase = true;
            counts_.to_comma += static_cast<std::int32_t>(len);
        } else if (has_text(h.start)) {
            u.text = cut(h.start->rest, MT_TEXT_MAX);
        }
    }
    if (cv && cv->has_bg() && begins_with_comma(s_.tokens[i].gap)) {
        u.text = cut(cv->bg, MT_TEXT_MAX);
        counts_.comma_to_mark += static_cast<std::int32_t>(len);
    } else if (at_end && has_text(h.end)) {
        u.text = cut(h.end->rest, MT_TEXT_MAX);
    }
    bool done = !u.text.empty();

    if (!done) {
        // One-token exceptions.
        if (len == 1) {
            if (is_one_of(first_text, {"second", "well"})) h.noun = nullptr;
            if (is_one_of(first_text, {"in"})) h.where = nullptr;
            if (std::string_view(first_text) == "us") h.adj = nullptr;
        }
        const char* next_gap = s_.gap_after(i);
        const std::string_view next_text = s_.text_at(i + 1);
        // A noun followed by an adjective is read as the verb or adjective it also is.
        if (!holds_comma(next_gap) && h.noun && h.noun_index == 0 && !(i + 1 < n && w_.units[i + 1].kind == kMtAdverbWhen) &&
            (h.verb1 || h.verb2 || h.adj)) {
            const ListPair* a = lex_.c(mt_rows().adj[0], next_text);
            if (a && a->has_rest() && is_adj(a->rest)) h.noun = nullptr;
        }
        // A verb before an article or a possessive.
        if (!holds_comma(next_gap) && !at_end &&
            is_one_of(next_text, {"the", "a", "my", "your", "his", "him", "her", "our", "their"}))
            done = give(u, h.verb1, kMtVerbAz) || give(u, h.verb2, kMtVerbDa);
    }

    if (!done && !at_start) {
        const std::string_view prev = s_.tokens[i - 1].text;
        const bool the = cp_strcasecmp(prev, "the") == 0;
        if (!ascii_latin_upper[static_cast<unsigned char>(first_text[0])]) {
            const MtRows& r = mt_rows();
            if (is_one_of(prev, {"the", "a", "my", "your", "his", "her", "our", "their", "of"}) || lex_.c(r.num11, key_) ||
                lex_.c(r.num21, key_)) {
                done = give(u, h.noun, h.noun_kind) || (!the && give(u, h.two, kMtTwoWords)) ||
                       (!the && give(u, h.three, kMtThreeWords));
            } else if (is_one_of(prev, {"can", "could", "could've", "couldn't", "will", "should", "should've", "shouldn't",
                                        "would", "would've", "wouldn't", "may", "might", "to", "I", "I'll", "I'd", "you",
                                        "you'll", "you'd", "he", "he'll", "he'd", "she", "she'll", "she'd", "we", "we'll",
                                        "we'd", "won't", "they", "they'll", "they'd", "it", "it'll", "it'd", "who",
                                        "who'd"})) {
                done = give(u, h.verb1, kMtVerbAz) || give(u, h.verb2, kMtVerbDa);
            }
        } else {
            for (std::size_t k = 0; k < h.names.size() && !done; ++k) done = give(u, h.names[k], kNameKinds[k]);
        }
    }

    // An adjective-noun phrase after "the" takes the definite form of its adjective.
    if (!at_start && cp_strcasecmp(s_.tokens[i - 1].text, "the") == 0 && !done) {
        const bool two = has_text(h.two);
        const ListPair* p = two ? h.two : (has_text(h.three) ? h.three : nullptr);
        if (p && p->rest.find(' ') != std::string_view::npos) {
            std::string phrase = definite_phrase(std::string(p->rest), !two);
            if (!phrase.empty()) {
                u.text = cut(phrase, MT_TEXT_MAX);
                u.kind = kMtTwoWords;
                done = true;
            }
        }
    }

    if (!done) {
        done = give(u, h.noun, h.noun_kind) || give(u, h.verb1, kMtVerbAz) || give(u, h.verb2, kMtVerbDa) ||
               give(u, h.two, kMtTwoWords) || give(u, h.three, kMtThreeWords) || give(u, h.adj, kMtAdjective) ||
               give(u, h.adv, kMtAdverb) || give(u, h.when, kMtAdverbWhen) || give(u, h.where, kMtAdverbWhere) ||
               give(u, h.num2, kMtOrdinal) || give(u, h.prep, kMtPreposition) || give(u, h.misc, kMtNoKind);
        for (std::size_t k = 0; k < h.abb.size() && !done; ++k) done = give(u, h.abb[k], kAbbKinds[k]);
        for (std::size_t k = 0; k < h.names.size() && !done; ++k) done = give(u, h.names[k], kNameKinds[k]);
        if (!done) done = give(u, h.one, kMtNoKind);
    }

    if (!done) {
        if (const ListPair* p = lex_.dict(B_ENGLISH_BULGARIAN, key_); has_text(p)) {
            std::string text(p->rest);
            u.kind = dictionary_kind(text);
            u.text = cut(text, MT_TEXT_MAX);
            done = !u.text.empty();
        }
    }

    if (!done && gl_MACH_FAST == 0 && len == 1 && !IsNumber(display_) &&
        display_.find_first_of("'\x92") == std::string::npos && !display_.empty() &&
        !ascii_cyrillic[static_cast<unsigned char>(display_[0])] && b[B_BULGARIAN_ENGLISH].count > 0) {
        if (const std::string_view* k = reverse_find(display_)) {
            u.text = cut(*k, MT_TEXT_MAX);
            done = !u.text.empty();
        }
    }

    if (!done) return;
    std::fill(w_.covered.begin() + static_cast<std::ptrdiff_t>(i), w_.covered.begin() + static_cast<std::ptrdiff_t>(i + len), 1);
    u.key = cut(key_, MT_KEY_MAX);
}

}  // namespace

void match_spans(const MtSentence& s, MtWork& work, const MtLexicon& lex, MtCommaCounts& counts) {
    Matcher(s, work, lex, counts).run();
}

void forget_reverse_index() {
    g_reverse.clear();
    g_reverse_built = false;
}
