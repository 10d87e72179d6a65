// spelling/suffix_en.cpp - the English suffix table and the stem search.
#include "spelling/suffix_en.h"

#include <algorithm>
#include <array>

#include "platform/text.h"
#include "spelling/word_index.h"

namespace {

// clang-format off
constexpr std::array kSuffixes = {
    // 1 letter
    SuffixRule{"s", "P"},
    // 2 letters
    SuffixRule{"er", "P"}, SuffixRule{"al", "P"}, SuffixRule{"es", "P"}, SuffixRule{"ly", "P"},
    SuffixRule{"ic", "PE"},
    // 3 letters
    SuffixRule{"ant", "PE"}, SuffixRule{"ful", "PE"}, SuffixRule{"ous", "PE"}, SuffixRule{"dom", "PE"},
    SuffixRule{"eds", "PE"},
    SuffixRule{"ies", "PY"}, SuffixRule{"ied", "PY"}, SuffixRule{"ier", "PY"},
    SuffixRule{"ing", "PE"}, SuffixRule{"ion", "PE"}, SuffixRule{"ity", "PE"}, SuffixRule{"ive", "PE"},
    SuffixRule{"est", "PE"}, SuffixRule{"ish", "PE"}, SuffixRule{"ers", "PE"}, SuffixRule{"ors", "PE"},
    SuffixRule{"ify", "PEY"}, SuffixRule{"ics", "PEY"}, SuffixRule{"ism", "PEY"}, SuffixRule{"ist", "PEY"},
    SuffixRule{"ise", "PEY"}, SuffixRule{"ize", "PEY"},
    SuffixRule{"ory", "PER"}, SuffixRule{"ery", "PER"},
    SuffixRule{"ian", "PEYR"},
    // 4 letters
    SuffixRule{"ship", "P"}, SuffixRule{"ment", "P"}, SuffixRule{"hood", "P"}, SuffixRule{"ants", "P"},
    SuffixRule{"lies", "P"}, SuffixRule{"lier", "P"}, SuffixRule{"sion", "P"}, SuffixRule{"less", "P"},
    SuffixRule{"ness", "P"}, SuffixRule{"ally", "P"}, SuffixRule{"ware", "P"}, SuffixRule{"cide", "P"},
    SuffixRule{"wise", "P"},
    SuffixRule{"iest", "PY"}, SuffixRule{"ieds", "PY"},
    SuffixRule{"able", "PE"}, SuffixRule{"ably", "PE"}, SuffixRule{"ible", "PE"}, SuffixRule{"ibly", "PE"},
    SuffixRule{"edly", "PE"}, SuffixRule{"ings", "PE"}, SuffixRule{"ions", "PE"}, SuffixRule{"ives", "PE"},
    SuffixRule{"ical", "PEY"}, SuffixRule{"isms", "PEY"}, SuffixRule{"ists", "PEY"}, SuffixRule{"ised", "PEY"},
    SuffixRule{"ized", "PEY"}, SuffixRule{"ises", "PEY"}, SuffixRule{"izes", "PEY"}, SuffixRule{"iser", "PEY"},
    SuffixRule{"izer", "PEY"},
    SuffixRule{"tion", "PT"},
    SuffixRule{"ette", "PR"},
    SuffixRule{"ious", "PEYR"},
    // 5 letters
    SuffixRule{"ships", "P"}, SuffixRule{"ments", "P"}, SuffixRule{"hoods", "P"}, SuffixRule{"fully", "P"},
    SuffixRule{"liest", "P"}, SuffixRule{"ously", "P"}, SuffixRule{"icide", "P"}, SuffixRule{"cides", "P"},
    SuffixRule{"cidal", "P"}, SuffixRule{"ology", "P"}, SuffixRule{"istic", "P"}, SuffixRule{"wares", "P"},
    SuffixRule{"mania", "P"}, SuffixRule{"ville", "P"}, SuffixRule{"somes", "P"},
    SuffixRule{"iness", "PY"}, SuffixRule{"ihood", "PY"}, SuffixRule{"iedly", "PY"},
    SuffixRule{"ables", "PE"}, SuffixRule{"abler", "PE"}, SuffixRule{"ibles", "PE"}, SuffixRule{"ibler", "PE"},
    SuffixRule{"ionly", "PE"}, SuffixRule{"ingly", "PE"}, SuffixRule{"ishly", "PE"}, SuffixRule{"ities", "PE"},
    SuffixRule{"ively", "PE"},
    SuffixRule{"ifies", "PEY"}, SuffixRule{"ified", "PEY"}, SuffixRule{"ifier", "PEY"}, SuffixRule{"esque", "PEY"},
    SuffixRule{"isers", "PEY"}, SuffixRule{"ising", "PEY"}, SuffixRule{"isely", "PEY"}, SuffixRule{"izers", "PEY"},
    SuffixRule{"izing", "PEY"}, SuffixRule{"izely", "PEY"},
    // 6 letters
    SuffixRule{"lessly", "P"}, SuffixRule{"nesses", "P"}, SuffixRule{"edness", "P"}, SuffixRule{"philia", "P"},
    SuffixRule{"phobia", "P"}, SuffixRule{"maniac", "P"}, SuffixRule{"manias", "P"}, SuffixRule{"icides", "P"},
    SuffixRule{"icidal", "P"}, SuffixRule{"somely", "P"},
    SuffixRule{"ihoods", "PY"},
    SuffixRule{"ablest", "PE"}, SuffixRule{"ablers", "PE"}, SuffixRule{"ablier", "PE"}, SuffixRule{"iblest", "PE"},
    SuffixRule{"iblers", "PE"}, SuffixRule{"iblier", "PE"},
    SuffixRule{"ifiers", "PEY"}, SuffixRule{"ifying", "PEY"}, SuffixRule{"ifieds", "PEY"}, SuffixRule{"ically", "PEY"},
    SuffixRule{"istics", "PEY"}, SuffixRule{"isings", "PEY"}, SuffixRule{"isable", "PEY"}, SuffixRule{"isably", "PEY"},
    SuffixRule{"izings", "PEY"}, SuffixRule{"izable", "PEY"}, SuffixRule{"izably", "PEY"},
    SuffixRule{"iously", "PEYR"},
    // 7 letters
    SuffixRule{"ability", "P"}, SuffixRule{"fulness", "P"}, SuffixRule{"ousness", "P"}, SuffixRule{"abliest", "P"},
    SuffixRule{"ologies", "P"}, SuffixRule{"ologist", "P"}, SuffixRule{"manship", "P"}, SuffixRule{"maniacs", "P"},
    SuffixRule{"inesses", "PY"}, SuffixRule{"iedness", "PY"},
    SuffixRule{"ingness", "PE"}, SuffixRule{"ishness", "PE"}, SuffixRule{"iveness", "PE"},
    SuffixRule{"ifiable", "PEY"}, SuffixRule{"ificate", "PEY"}, SuffixRule{"istical", "PEY"},
    SuffixRule{"isables", "PEY"}, SuffixRule{"isabler", "PEY"}, SuffixRule{"iseness", "PEY"},
    SuffixRule{"isement", "PEY"}, SuffixRule{"isation", "PEY"}, SuffixRule{"izables", "PEY"},
    SuffixRule{"izabler", "PEY"}, SuffixRule{"izeness", "PEY"}, SuffixRule{"izement", "PEY"},
    SuffixRule{"ization", "PEY"},
    // 8 letters
    SuffixRule{"lessness", "P"}, SuffixRule{"ednesses", "P"}, SuffixRule{"ologists", "P"},
    SuffixRule{"maniacal", "P"}, SuffixRule{"manships", "P"}, SuffixRule{"someness", "P"},
    SuffixRule{"ableness", "PE"}, SuffixRule{"ibleness", "PE"},
    SuffixRule{"ificates", "PEY"}, SuffixRule{"ificator", "PEY"}, SuffixRule{"icalness", "PEY"},
    SuffixRule{"isticals", "PEY"}, SuffixRule{"isements", "PEY"}, SuffixRule{"isations", "PEY"},
    SuffixRule{"isablers", "PEY"}, SuffixRule{"izements", "PEY"}, SuffixRule{"izations", "PEY"},
    SuffixRule{"izablers", "PEY"},
    SuffixRule{"iousness", "PEYR"},
    // 9 letters
    SuffixRule{"abilities", "P"}, SuffixRule{"fulnesses", "P"}, SuffixRule{"ousnesses", "P"},
    SuffixRule{"ivization", "P"}, SuffixRule{"ivisation", "P"},
    SuffixRule{"ingnesses", "PE"}, SuffixRule{"ivenesses", "PE"}, SuffixRule{"ishnesses", "PE"},
    SuffixRule{"ification", "PEY"}, SuffixRule{"ificatory", "PEY"}, SuffixRule{"istically", "PEY"},
    SuffixRule{"isenesses", "PEY"}, SuffixRule{"izenesses", "PEY"},
    // 10 letters
    SuffixRule{"lessnesses", "P"}, SuffixRule{"ablenesses", "P"}, SuffixRule{"iblenesses", "P"},
    SuffixRule{"somenesses", "P"}, SuffixRule{"ivizations", "P"}, SuffixRule{"ivisations", "P"},
    SuffixRule{"maniacally", "P"},
    SuffixRule{"ifications", "PEY"}, SuffixRule{"icalnesses", "PEY"},
    SuffixRule{"iousnesses", "PEYR"},
};
// clang-format on

inline unsigned char low(char c) { return cp_tolower(static_cast<unsigned char>(c)); }

bool ends_ci(std::string_view w, std::string_view tail) {
    if (w.size() < tail.size()) return false;
    return cp_strncasecmp(w.substr(w.size() - tail.size()), tail, tail.size()) == 0;
}

bool is_one_of(unsigned char c, std::string_view set) { return set.find(static_cast<char>(c)) != std::string_view::npos; }

// The row conditions of "s", "es", "ity" and "ities".
bool row_allows(std::string_view word, std::string_view suffix) {
    const std::size_t k = suffix.size();
    if (suffix == "s") {
        return !is_one_of(low(word[word.size() - 2]), "szx") && !ends_ci(word, "chs") && !ends_ci(word, "shs");
    }
    if (suffix == "es") {
        return is_one_of(low(word[word.size() - 3]), "szx") || ends_ci(word, "ches") || ends_ci(word, "shes");
    }
    if (suffix == "ity" || suffix == "ities") {
        return !ends_ci(word.substr(0, word.size() - k), "bl");
    }
    return true;
}

}  // namespace

std::span<const SuffixRule> english_suffix_table() { return kSuffixes; }

std::size_t longest_english_suffix() {
    std::size_t longest = 0;
    for (const SuffixRule& rule : kSuffixes) longest = std::max(longest, rule.suffix.size());
    return longest;
}

int issuffix(std::string_view word, std::string& stem, std::string& suffix, const ListPair** entry) {
    return issuffix_in(english_index(0), word, stem, suffix, entry);
}

int issuffix_in(const WordIndex& eng, std::string_view word, std::string& stem, std::string& suffix,
                const ListPair** entry) {
    stem.clear();
    suffix.clear();
    if (entry) *entry = nullptr;
    const std::size_t n = word.size();
    // Every stem tried is at least the word less its suffix: a longer word can hold no listed stem.
    static const std::size_t longest_suffix = longest_english_suffix();
    if (n > eng.max_key_length() + longest_suffix) return 0;

    // Tries one stem; on success fills the outputs.
    auto attempt = [&](std::string_view tried, std::string_view change, std::string_view suf) -> bool {
        const std::ptrdiff_t i = eng.find(tried);
        if (i < 0) return false;
        stem.assign(tried);
        if (!change.empty()) {
            suffix.assign(change);
            suffix += "->";
        }
        suffix += suf;
        if (entry) *entry = &eng.entry(static_cast<std::size_t>(i));
        return true;
    };

    std::string tried;  // the stem being tried (short words stay in the small-string buffer)
    for (const SuffixRule& rule : kSuffixes) {
        const std::string_view suf = rule.suffix;
        const std::size_t k = suf.size();
        if (n < k + 4) break;  // the table is sorted by length: every later suffix is too long
        if (low(word[n - 1]) != static_cast<unsigned char>(suf.back())) continue;
        if (!ends_ci(word, suf) || !row_allows(word, suf)) continue;

        const std::string_view plain = word.substr(0, n - k);
        const unsigned char last = low(plain.back());
        const bool has_e = rule.steps.find('E') != std::string_view::npos;
        const bool e_allowed = !is_one_of(last, "aeoy");
        for (char step : rule.steps) {
            switch (step) {
            case 'P':
                if (attempt(plain, {}, suf)) return 1;
                break;
            case 'E':
                if (!e_allowed) break;
                tried.assign(plain);
                tried += 'e';
                if (attempt(tried, "e", suf)) return 1;
                break;
            case 'Y':
                if (has_e ? !e_allowed : is_one_of(last, "aeoi")) break;
                tried.assign(plain);
                tried += 'y';
                if (attempt(tried, "y", suf)) return 1;
                break;
            case 'T':
                tried.assign(plain);
                tried.back() = 'e';
                if (attempt(tried, "e", suf)) return 1;
                break;
            case 'R':
                if (suf == "ory" || suf == "ery") {
                    if (attempt(word.substr(0, n - 1), suf.substr(0, 2), suf)) return 1;
                    tried.assign(plain);
                    tried += "ion";
                    if (attempt(tried, "ion", suf)) return 1;
                } else if (suf == "ian") {
                    if (attempt(word.substr(0, n - 1), "ia", suf)) return 1;
                } else if (suf == "ette") {
                    if (attempt(word.substr(0, n - 2), "et", suf)) return 1;
                } else {  // the "ious" suffixes
                    for (std::string_view end : {"ion", "ity", "ian", "ial"}) {
                        tried.assign(plain);
                        tried += end;
                        if (attempt(tried, end, suf)) return 1;
                    }
                }
                break;
            default:
                break;
            }
        }
    }
    return 0;
}
