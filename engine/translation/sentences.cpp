// The machine translation's walk over store 1: the entry guards, cutting the records into
// sentences (with the split of a "no." that ends a sentence), the subtitle blocks, the sentence
// text and key, the look-up of the whole sentence in the corpora and word-class lists, and the
// output of a sentence found whole.
#include <cstdio>
#include <deque>

#include "engine/run_state.h"
#include "engine/separators.h"
#include "engine/time_codes.h"
#include "engine/translation/steps.h"
#include "engine/translation/translation.h"
#include "lexicon/corpora.h"
#include "lexicon/display.h"
#include "lexicon/panels.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/window_state.h"

SubtitleCounters mt_counters;

namespace {

constexpr std::size_t kMaxEnglishTokens = 2'999;  // an English text above this is not translated
constexpr std::size_t kProgressEvery = 1'000;     // tokens between progress lines
constexpr std::string_view kArrowGap = " --> ";
constexpr std::size_t kKeptUnits = 4'096;         // units kept from one run to the next

MtLexicon g_lex;
MtWork g_work;
MtSentence g_sentence;
MtRun g_translation_run;
// The texts and gaps written by the "no." split; store 1's records point at them until its next
// fill, and they are dropped when the next translation starts.
std::deque<std::string> g_split_texts;

bool is(HWND a, HWND b) { return a && a == b; }

std::uint32_t cr_count(const char* gap) {
    LineEndInfo info{};
    GetEmptyInfo(&info, gap);
    return info.cr_count;
}

bool has_sentence_mark(const char* gap) {
    for (const char* p = gap; *p; ++p)
        if (ascii_punctnocomma[static_cast<unsigned char>(*p)]) return true;
    return false;
}

// "no." before t ends the sentence unless a number follows on the same line.
bool splits_no(const SenToken* t) {
    if (cp_strcasecmp(t[-1].text, "no.") != 0) return false;
    return !ascii_digit[static_cast<unsigned char>(t->text[0])] || cr_count(t->gap) >= 1;
}

void split_no(SenToken* t) {
    const std::string_view prev = t[-1].text;
    t[-1].text = g_split_texts.emplace_back(prev.substr(0, prev.size() - 1)).c_str();
    t->gap = g_split_texts.emplace_back("." + std::string(t->gap)).c_str();
}

// Appends the tokens' texts with their inner gaps ("%s", then "%s%s") up to `room` bytes.
template <class It>
void join_records(It first, It last, std::string& out, std::size_t room) {
    out.clear();
    for (It r = first; r != last && out.size() < room; ++r) {
        if (r != first) out += r->gap;
        out += r->text;
    }
    cut_to(out, room);
}

// Subtitle mode: the sentence's tokens without block numbers and time codes. A blank line (a gap
// with more than one CR) starts a new block: its number and time-code line are skipped, and the
// blank line becomes the gap of the block's first copied token.
void collect_subtitle_tokens(const SenToken* floor, const SenToken* start, const SenToken* end,
                             std::vector<SenToken>& out) {
    bool skipping = start == floor;
    const char* carried = nullptr;
    for (const SenToken* r = start; r < end; ++r) {
        if (!skipping && cr_count(r->gap) > 1) {
            carried = r->gap;
            skipping = true;
        }
        if (skipping) {
            if (std::string_view(r->gap) == kArrowGap) skipping = false;
            continue;
        }
        SenToken copy = *r;
        if (carried) {
            copy.gap = carried;
            carried = nullptr;
        }
        out.push_back(copy);
    }
}

void count_known(std::size_t n) {
    ++mt_counters.known_sentences;
    mt_counters.words_in_known += static_cast<std::int32_t>(n);
    if (n >= 1 && n <= 8) ++mt_counters.known_of_words[n - 1];
    else ++mt_counters.known_other;
}

// The offset in `result` of the first sentence mark from the first block boundary on that has no
// digit right before or after it; npos when there is none.
std::size_t first_block_mark(const std::string& result, std::size_t from) {
    const std::size_t bb = result.find("\r\r", from);
    if (bb == std::string::npos) return std::string::npos;
    auto digit = [&](std::size_t i) { return i < result.size() && ascii_digit[static_cast<unsigned char>(result[i])]; };
    for (std::size_t i = bb; i < result.size(); ++i) {
        if (!ascii_punctnocomma[static_cast<unsigned char>(result[i])]) continue;
        if ((i > 0 && digit(i - 1)) || digit(i + 1)) continue;
        return i;
    }
    return std::string::npos;
}

// A sentence found whole: `bg` is the corpus sentence or the list entry's rest; `coloured` for a
// corpus entry.
void show_known(const MtSentence& s, std::string_view bg, bool coloured) {
    count_known(s.n());
    const std::string& filter = g_translation_run.filter;
    if (!filter.empty() && s.display.find(filter) == std::string::npos) return;
    HWND re = g_translation_run.panel;
    CHARRANGE cr;
    if (g_translation_run.parallel) {
        SelectReEnd(re, cr);
        JuxShowMessage(re, s.display, 0);
        JuxShowMessage(re, s.end_text, g_translation_run.lines);
        const LONG end = cr.cpMin + static_cast<LONG>(s.display.size() + s.end_text.size());
        ColorRangeOn(re, cr.cpMin, end, CFM_COLOR | CFM_BOLD, kMtEnglish, 0);
        ColorRangeOn(re, end + 1, end + 1, CFM_COLOR | CFM_BOLD, 0, 0);
    }
    std::string translation(bg);
    std::string result;
    const std::size_t offset =
        mix_many_time_codes(translation, g_translation_run.subtitles ? s.block : s.text, result);
    SelectReEnd(re, cr);
    JuxShowMessage(re, result, 0);
    JuxShowMessage(re, s.end_text, g_translation_run.lines);
    if (!coloured) return;
    const LONG from = cr.cpMin + static_cast<LONG>(offset);
    LONG to = from + static_cast<LONG>(bg.size() + s.end_text.size());
    if (result.find("\r\r", offset) != std::string::npos) {
        const std::size_t mark = first_block_mark(result, offset);
        to = cr.cpMin + static_cast<LONG>(mark == std::string::npos ? result.size() : mark + 1);
    }
    ColorRangeOn(re, from, to, CFM_COLOR | CFM_BOLD, kMtKnown, 0);
    ColorRangeOn(re, to + 1, to + 1, CFM_COLOR | CFM_BOLD, 0, 0);
}

// The custom list first, the main list when the custom one has no entry.
const SentencePair* family(MtCorpus custom, MtCorpus main, std::string_view key) {
    const SentencePair* p = g_lex.corpus(custom, key);
    return p ? p : g_lex.corpus(main, key);
}

// The corpus entry chosen by the final mark, or null.
const SentencePair* corpus_entry(const MtSentence& s) {
    const SentencePair* S = family(CS_CUST, CS, s.key);
    const SentencePair* E = family(CSE_CUST, CSE, s.key);
    const SentencePair* Q = family(CSQ_CUST, CSQ, s.key);
    const SentencePair* C = family(CSC_CUST, CSC, s.key);
    const FinalMark f = final_mark(s.end->gap);
    auto first = [](std::initializer_list<const SentencePair*> l) -> const SentencePair* {
        for (const SentencePair* p : l)
            if (p) return p;
        return nullptr;
    };
    if (f.any_of(".;:")) return first({S, E, C});
    if (f.any_of("!")) return first({E, S, C});
    if (f.any_of("?")) return first({Q, C});
    return nullptr;
}

// The whole sentence in the word-class lists (and the capitalised words), in their order.
const ListPair* list_entry(const MtSentence& s) {
    const MtRows& r = mt_rows();
    auto hit = [](const ListPair* p) { return p && p->has_rest() ? p : nullptr; };
    for (int row : {r.one, r.start, r.end})
        if (const ListPair* p = hit(g_lex.c(row, s.key))) return p;
    if (const ListPair* p = hit(g_lex.dict(B_CAPIT, s.key))) return p;
    for (int row : r.names)
        if (const ListPair* p = hit(g_lex.c(row, s.key))) return p;
    return nullptr;
}

void translate_sentence(const SenToken* floor, const SenToken* start, const SenToken* end, bool no_split) {
    MtSentence& s = g_sentence;
    s.tokens.clear();
    if (g_translation_run.subtitles) collect_subtitle_tokens(floor, start, end, s.tokens);
    else s.tokens.assign(start, end);
    s.end = end;
    s.no_split = no_split;
    const std::size_t n = s.n();
    ++mt_counters.sentences;
    mt_counters.words += static_cast<std::int32_t>(n);
    g_work.clear(n);

    join_records(s.tokens.begin(), s.tokens.end(), s.text, MT_SENTENCE_ROOM);
    if (g_translation_run.subtitles) join_records(start, end, s.block, MT_SENTENCE_ROOM);
    else s.block.clear();
    std::string_view end_gap = end->gap;
    if (!g_translation_run.subtitles) end_gap = end_gap.substr(0, end_gap.find('\r'));
    s.end_text = cut(end_gap, MT_END_ROOM);
    s.key = s.text;
    normailize_sentence(s.key, s.display);

    if (const SentencePair* p = corpus_entry(s); p && p->has_bg()) {
        show_known(s, p->bg, true);
        return;
    }
    if (no_split && n == 1) {
        if (const SentencePair* p = g_lex.corpus(CS, "no"); p && p->has_bg()) {
            show_known(s, p->bg, false);
            return;
        }
    }
    if (const ListPair* p = list_entry(s)) {
        show_known(s, p->rest, false);
        return;
    }
    MtCommaCounts commas;
    match_spans(s, g_work, g_lex, commas);
    mt_counters.known_to_comma += commas.to_comma;
    mt_counters.known_comma_to_mark += commas.comma_to_mark;
    adjust_units(g_work.list, g_lex);
    compose_and_show(s, g_work, g_translation_run);
}

std::string read_filter() {
    if (!IsWindow(hMachineReFilter)) return {};
    std::string f = utf16_to_cp1251(RE_GetTextW(hMachineReFilter));
    // A filter of blanks alone filters nothing: every sentence is shown, as with an empty box.
    if (f.find_first_not_of(' ') == std::string::npos) f.clear();
    return f;
}

void walk(const RecordArray& st) {
    SenToken* const floor = st.floor;
    SenToken* const nd = st.nd;
    const std::size_t count = st.count();
    if (count == 0) return;
    HWND label = GetDlgItem(hBig, IDC_BIG_LABEL);
    SenToken* start = floor;
    for (SenToken* t = floor + 1; t < nd; ++t) {
        const std::size_t index = static_cast<std::size_t>(t - floor);
        if (index % kProgressEvery == 0) {
            char line[64];
            std::snprintf(line, sizeof line, "machine: %zu / %zu", index, count);
            SetWindowTextA(label, line);
        }
        SenToken* end = nullptr;
        bool no_split = false;
        if (has_sentence_mark(t->gap)) {
            end = t;
        } else if (splits_no(t)) {
            split_no(t);
            end = t;
            no_split = true;
        } else if (t == nd - 1) {
            end = t->text[0] ? t + 1 : t;
        } else {
            continue;
        }
        translate_sentence(floor, start, end, no_split);
        start = end;
        t = end;  // the walk goes on with the record after the end record
    }
    // A last sentence of one token (the whole text, or a word after the last mark) has had no
    // record after it to end it: it is a sentence all the same.
    if (start < nd && start->text[0]) translate_sentence(floor, start, nd, false);
}

}  // namespace

bool nth_word(int n, std::string_view text, std::string& out) {
    int words = 0;
    bool in_word = false;
    for (char c : text) {
        const bool w = c != ' ';
        if (w && !in_word) ++words;
        in_word = w;
    }
    out.clear();
    if (n < 1 || n > words) return false;
    return Get_Nth_TokenA(n, text, out, 128) == 1;
}

bool is_one_of(std::string_view s, std::initializer_list<std::string_view> words) {
    for (std::string_view w : words)
        if (cp_strcasecmp(s, w) == 0) return true;
    return false;
}

bool FinalMark::any_of(std::string_view marks) const {
    return (m && marks.find(m) != std::string_view::npos) || (m2 && marks.find(m2) != std::string_view::npos);
}

FinalMark final_mark(const char* gap) {
    FinalMark f;
    if (!gap || !gap[0]) return f;
    f.m = gap[0];
    if (f.m == ' ' && gap[1]) f.m2 = gap[1];
    return f;
}

const char* MtSentence::gap_after(std::size_t i) const {
    return i + 1 < tokens.size() ? tokens[i + 1].gap : (end ? end->gap : glZero);
}

const char* MtSentence::text_at(std::size_t i) const {
    return i < tokens.size() ? tokens[i].text : (end ? end->text : glZero);
}

void MtWork::clear(std::size_t n) {
    if (units.size() < n) units.resize(n);
    if (covered.size() < n) covered.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        MtUnit& u = units[i];
        u.key.clear();
        u.gap.clear();
        u.text.clear();
        u.is_noun = 0;
        u.agreed = 0;
        u.noun_info = NounAdjInfo{0, 0, 0, 0, 0};
        u.kind = kMtNoKind;
        covered[i] = 0;
    }
    list.clear();
    comma_phrase = false;
}

void machine_translation(HWND source, HWND report, const RecordArray& walked) {
    const RecordArray& coloured = (gl_MACHINE_TRANSLATION && gl_fg_subtitle) ? store1S : store1.rec;
    if (gl_ENGLISH_TRANSLATION && coloured.count() > kMaxEnglishTokens) return;
    if (!gl_MACHINE_TRANSLATION || !IsWindow(hMachine)) return;
    if (is(source, hAddReShortCopy) || is(source, hAddReShort)) return;

    HWND re = hMachineRe;
    const CHARRANGE sel = RE_GetSel(re);
    const POINT scroll = RE_GetScrollPos(re);
    RE_SetRedraw(re, false);
    RE_SetTextW(re, u"");
    g_split_texts.clear();
    g_translation_run =
        MtRun{read_filter(), gl_fg_subtitle ? 0 : 1, gl_fg_subtitle != 0, gl_SHOW_PARALLEL_TRANSLATION != 0, re};
    mt_counters = SubtitleCounters{};
    g_lex.prepare();
    forget_reverse_index();

    walk(walked);
    // The working state keeps the room of an ordinary sentence; a huge one gives its room back.
    if (g_work.units.size() > kKeptUnits) g_work = MtWork{};

    RE_SetRedraw(re, true);
    InvalidateRect(re, true);
    if (gl_fg_subtitle) print_subtitle_statistics(report, mt_counters);
    RE_SetSel(re, sel);
    RE_SetScrollPos(re, scroll);
}

void reset_translation() {
    mt_counters = SubtitleCounters{};
    g_split_texts.clear();
    g_translation_run = MtRun{};
    g_sentence = MtSentence{};
    g_work = MtWork{};
    forget_reverse_index();
}
