// spelling/definitions.cpp - the definition cut and the definitions of suggested words.
#include "spelling/definitions.h"

#include <algorithm>

#include "lexicon/entry_text.h"
#include "platform/text.h"
#include "shell/settings.h"
#include "spelling/edit_candidates.h"

namespace {

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Whether the characters after index p open a sense: '#', '@', or a digit, '.' and a non-digit.
bool sense_mark_after(std::string_view d, std::size_t p) {
    const std::size_t q = p + 1;
    if (q >= d.size()) return false;
    if (d[q] == '#' || d[q] == '@') return true;
    return is_digit(d[q]) && q + 1 < d.size() && d[q + 1] == '.' && (q + 2 >= d.size() || !is_digit(d[q + 2]));
}

// Appends one line to the UTF-16 output, prepared for display.
void append_wide(std::u16string& out16, const std::string& line, std::string& numbered) {
    number_signs_to_numbers(line, numbered);
    std::u16string wide = cp1251_to_utf16(numbered.empty() ? std::string_view(line) : std::string_view(numbered));
    if (wide.size() > kSuggestDefinitionWide) wide.resize(kSuggestDefinitionWide);
    std::u16string clean = remove_bulk_labelW(wide);
    ReplaceAChars(clean);
    out16 += clean;
}

}  // namespace

std::string_view shorten_definition(std::string_view definition, DefCutRecord& record, std::size_t hard_limit) {
    record = DefCutRecord{};
    const std::int32_t max = gl_MAX_DEFINITION_LENGTH;
    if (max <= 0 || definition.size() <= static_cast<std::size_t>(max)) return definition;
    std::size_t p = static_cast<std::size_t>(max);
    while (p < definition.size() && !sense_mark_after(definition, p) && p < hard_limit) ++p;
    if (p >= definition.size()) return definition;
    const std::size_t tail = definition.size() - p;
    record.at = definition.data() + p;
    if (tail < 21) {
        record.mode = 1;
        return definition.substr(0, p);
    }
    record.mode = 0;
    record.saved.reserve(p + 24);
    record.saved.assign(definition.substr(0, p));
    record.saved += " [";
    append_int(record.saved, static_cast<long long>(tail));
    record.saved += " CHARS CUT]";
    return record.saved;
}

void restore_definition(DefCutRecord& record) { record = DefCutRecord{}; }

void define_all_suggestions(std::string_view line, std::span<const ListPair> list, std::string& out8,
                            std::u16string& out16) {
    out8.clear();
    out16.clear();
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return;
    std::string one, numbered;
    std::size_t p = colon + 2;
    while (p < line.size() && line[p] != '(') {
        std::size_t e = p;
        while (e < line.size() && line[e] != ' ' && line[e] != ')') ++e;
        const std::string_view word = line.substr(p, e - p);
        if (!word.empty()) {
            const ListPair* entry = find_pair(list, word);
            one.assign("-> ");
            one.append(word);
            if (!entry) {
                one += " +en2 -bg\n";
            } else if (!entry->has_rest() || entry->rest.empty()) {
                one += " +en2, but no definition\n";
            } else if (entry->rest.size() < kSuggestDefinitionLine || gl_MAX_DEFINITION_LENGTH != 0) {
                const std::size_t hard = kSuggestDefinitionHard > word.size() ? kSuggestDefinitionHard - word.size() : 0;
                one += ' ';
                one.append(shorten_definition(entry->rest, defcut, hard));
                restore_definition(defcut);
                if (one.size() > kSuggestDefinitionLine - 2) one.resize(kSuggestDefinitionLine - 2);
                one += '\n';
            } else {
                const std::size_t keep = kSuggestDefinitionCopy > word.size() ? kSuggestDefinitionCopy - word.size() : 0;
                one += ' ';
                one.append(entry->rest.substr(0, keep));
                one += '\n';
            }
            out8 += one;
            append_wide(out16, one, numbered);
        }
        // Past the word's end mark, then the separators of the next word.
        p = e < line.size() && line[e] == ')' ? e + 1 : e;
        while (p < line.size() && (line[p] == '|' || line[p] == ' ')) ++p;
    }
}
