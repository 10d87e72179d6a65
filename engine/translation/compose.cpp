// Joining the units of a translated sentence, the filter, the parallel display with its colours,
// the first letter's case, and the output through the subtitle mixer.
#include <string>

#include "engine/time_codes.h"
#include "engine/translation/steps.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/panels.h"
#include "shell/strings.h"

namespace {

constexpr DWORD kColourBold = CFM_COLOR | CFM_BOLD;

void colour(HWND re, LONG from, LONG to, COLORREF c, DWORD effects) {
    ColorRangeOn(re, from, to, kColourBold, c, effects);
}
void black_at(HWND re, LONG at) { ColorRangeOn(re, at, at, kColourBold, 0, 0); }

// The end of a leading comma phrase in `result`: the first comma from `from` on with no digit
// right before or after it, else the end of the result.
std::size_t phrase_end(const std::string& result, std::size_t from) {
    auto digit = [&](std::size_t i) { return i < result.size() && ascii_digit[static_cast<unsigned char>(result[i])]; };
    for (std::size_t i = from; i < result.size(); ++i)
        if (result[i] == ',' && !(i > 0 && digit(i - 1)) && !digit(i + 1)) return i;
    return result.size();
}

// Where `word` stands in `shown` (from `from` on) at the same count of occurrences as it has in
// `joined` up to `end` (its end there): the mixer keeps the words in order and only adds block
// headers and changes the line breaks between them. npos when it is not found.
std::size_t same_occurrence(const std::string& joined, std::size_t end, const std::string& word,
                            const std::string& shown, std::size_t from) {
    if (word.empty() || end < word.size()) return std::string::npos;
    std::size_t k = 0;
    for (std::size_t p = joined.find(word); p != std::string::npos && p + word.size() <= end; p = joined.find(word, p + 1)) ++k;
    std::size_t p = from;
    for (std::size_t i = 0; i < k; ++i) {
        p = shown.find(word, i == 0 ? from : p + 1);
        if (p == std::string::npos) return p;
    }
    return k ? p : std::string::npos;
}

}  // namespace

void compose_and_show(const MtSentence& s, MtWork& work, const MtRun& run) {
    std::vector<MtUnit*>& U = work.list;
    std::string out;
    int match = -1;
    std::size_t match_end = 0;
    for (std::size_t j = 0; j < U.size() && out.size() < MT_SPAN_KEY_ROOM; ++j) {
        MtUnit& u = *U[j];
        if (is_one_of(u.text, {"the", "a", "an"})) u.text.clear();
        if (!(j > 0 && U[j - 1]->text.empty() && u.gap == " ")) out += u.gap;
        out += u.text;
        cut_to(out, MT_SPAN_KEY_ROOM);
        if (!run.filter.empty() && my_strcasestr_word(u.key, run.filter) != std::string::npos) {
            match = static_cast<int>(j);
            match_end = out.size();
        }
    }
    if (!run.filter.empty() && match < 0) return;

    HWND re = run.panel;
    CHARRANGE cr;
    if (run.parallel) {
        const std::string& english = run.subtitles ? s.block : s.text;
        SelectReEnd(re, cr);
        JuxShowMessage(re, english, 0);
        JuxShowMessage(re, s.end_text, run.lines);
        const LONG p = cr.cpMin;
        const LONG end = p + static_cast<LONG>(english.size() + s.end_text.size());
        colour(re, p, end, kMtEnglish, 0);
        black_at(re, end);
        if (match >= 0) {
            const std::size_t at = my_strcasestr_word(english, run.filter);
            if (at != std::string::npos) {
                const LONG from = p + static_cast<LONG>(at);
                const LONG to = from + static_cast<LONG>(run.filter.size());
                colour(re, from, to, kMtFilterEnglish, CFE_BOLD);
                black_at(re, to);
            }
        }
    }

    if (!out.empty() && !s.tokens.empty()) {
        const auto first = static_cast<unsigned char>(s.tokens[0].text[0]);
        auto& c0 = reinterpret_cast<unsigned char&>(out[0]);
        if (cp_isupper(first)) c0 = cp_toupper(c0);
        else if (cp_islower(first)) c0 = cp_tolower(c0);
    }

    SelectReEnd(re, cr);
    const LONG q = cr.cpMin;
    LONG match_to = -1;
    if (run.parallel) {
        JuxShowMessage(re, out, 0);
        JuxShowMessage(re, s.end_text, run.lines);
        if (match >= 0) match_to = q + static_cast<LONG>(match_end);
    } else {
        std::string translation = out;
        std::string result;
        const std::size_t offset = mix_many_time_codes(translation, run.subtitles ? s.block : s.text, result);
        JuxShowMessage(re, result, 0);
        JuxShowMessage(re, s.end_text, run.lines);
        if (work.comma_phrase) {
            const LONG from = q + static_cast<LONG>(offset);
            const LONG to = q + static_cast<LONG>(phrase_end(result, offset));
            colour(re, from, to, kMtCommaPhrase, 0);
            black_at(re, to + 1);
        }
        if (match >= 0) {
            // The matched unit as the mixer shows it.
            const std::string& word = U[static_cast<std::size_t>(match)]->text;
            if (translation == out && result.compare(offset, std::string::npos, out) == 0) {
                match_to = q + static_cast<LONG>(offset + match_end);
            } else {
                const std::size_t at = same_occurrence(out, match_end, word, result, offset);
                if (at != std::string::npos) match_to = q + static_cast<LONG>(at + word.size());
            }
        }
    }
    if (match_to >= 0) {
        const LONG from = match_to - static_cast<LONG>(U[static_cast<std::size_t>(match)]->text.size());
        colour(re, from, match_to, kMtFilterMatch, CFE_BOLD);
        black_at(re, match_to);
    }
}
