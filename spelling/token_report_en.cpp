// spelling/token_report_en.cpp - word sets, apostrophe endings and the token report.
#include "spelling/token_report_en.h"

#include <algorithm>
#include <initializer_list>

#include "platform/text.h"
#include "spelling/edit_candidates.h"
#include "spelling/spell_state.h"
#include "spelling/suggest_en.h"
#include "spelling/word_index.h"

namespace {

bool is_proper_name_set(int row) { return row == 2 || row == 3 || row == 4 || row == 5 || row == 7; }

bool in_set(int row, std::string_view word) { return english_index(row).find(word) >= 0; }

bool ends_ci(std::string_view w, std::string_view tail) {
    if (w.size() < tail.size()) return false;
    return cp_strncasecmp(w.substr(w.size() - tail.size()), tail, tail.size()) == 0;
}

void cat(std::string& out, std::initializer_list<std::string_view> pieces) {
    for (std::string_view p : pieces) out.append(p);
}

bool in_a_set(std::string_view labels) { return !labels.empty() && labels.substr(0, 2) != "fo"; }

// The label of a result of isapostrophe.
std::string_view apos_label(int aposcase) {
    const int i = aposcase >= 0 && aposcase <= 2 ? aposcase : 0;
    return gl_aposlong[static_cast<std::size_t>(i)];
}

}  // namespace

std::uint8_t isinset(std::string_view word, std::string& labels) {
    labels.clear();
    const bool listed = capit_index().find(word) >= 0;
    const bool lower_first = !word.empty() && cp_islower(static_cast<unsigned char>(word[0]));
    bool in_eng = false;
    std::uint8_t cap = 0;
    for (int row : kEnglishSetOrder) {
        if (!in_set(row, word)) continue;
        if (row == 0) in_eng = true;
        if (!labels.empty()) labels += ", ";
        const bool proper = is_proper_name_set(row);
        if (proper && lower_first) labels += '!';
        labels += english_set_label(row);
        if (lower_first && (proper ? (listed || !in_eng) : listed)) cap = 1;
    }
    return cap;
}

int isapostrophe(std::string_view word, std::string& copy, std::string& labels) {
    const std::size_t n = word.size();
    std::string judged(word);
    int result;
    auto classify = [&](std::size_t keep) {
        judged.resize(keep);
        isinset(judged, labels);
    };
    if (n > 4 && ends_ci(word, "in'")) {
        labels.clear();
        judged.back() = 'g';
        bool found = false;
        for (int row : {0, 1}) {
            if (!in_set(row, judged)) continue;
            found = true;
            if (!labels.empty()) labels += ", ";
            labels += english_set_label(row);
        }
        if (found) labels += ", in' -> ing, (only Eng & Eng2 sets checked";
        result = 0;
    } else if (n >= 3 && word[n - 2] == '\'' && std::string_view("sSdD").find(word[n - 1]) != std::string_view::npos) {
        classify(n - 2);
        result = 1;
    } else if (n >= 3 && word[n - 1] == '\'' &&
               std::string_view("sSzZxX").find(word[n - 2]) != std::string_view::npos) {
        classify(n - 1);
        result = 1;
    } else if (n == 3) {
        classify(n);
        result = 2;
    } else if (n >= 4 && (ends_ci(word, "'ll") || ends_ci(word, "'ve") || ends_ci(word, "'re"))) {
        classify(n - 3);
        result = 1;
    } else {
        classify(n);
        result = 2;
    }
    if (judged.size() > kSpellTextMax) judged.resize(kSpellTextMax);
    copy = std::move(judged);
    return result;
}

Suggestions token_suggest(std::string_view token, std::string& report, std::string& classes) {
    report.clear();
    classes.clear();
    std::string labels;
    const std::uint8_t cap = isinset(token, labels);
    if (!labels.empty()) cat(classes, {cap ? " (CAP " : " (", labels, ")"});
    if (english_index(0).find(token) >= 0) return {};
    return token_suggest2(token, labels, report, "", labels.substr(0, 2) == "fo");
}

Suggestions token_suggest2(std::string_view token, std::string& labels, std::string& report, std::string_view tail,
                           bool foreign) {
    const std::string whole(token);
    const std::string_view foreign_text = foreign ? ", but foreign" : "";
    const bool single = token.find('-') == std::string_view::npos;
    Suggestions last;  // the last generator run's
    std::string deriv, deriv_labels;  // the word as an apostrophe ending judges it, and its set labels
    int parts = 0, bad = 0;
    std::size_t at = 0;
    do {
        const std::size_t q = token.find('-', at);
        const std::string_view part = token.substr(at, q == std::string_view::npos ? std::string_view::npos : q - at);
        ++parts;
        if (q != std::string_view::npos && parts == 1) {
            last = spellcheck(whole);
            if (!last.spelling.empty()) {
                report.clear();
                cat(report, {whole, " (suggest: ", last.spelling_sh, ") (suggest extra: ", last.spelling, ")", tail, "\r\n"});
            }
        }
        if (part.find('\'') != std::string_view::npos) {
            const std::string_view label = apos_label(isapostrophe(part, deriv, deriv_labels));
            if (in_a_set(deriv_labels)) {
                if (single) {
                    report.clear();
                    cat(report, {" -- ", whole, " (", deriv, " is ", deriv_labels, ")", tail, "\r\n"});
                } else {
                    cat(report, {"   ", whole, "  sub->", part, " (", deriv, " is ", deriv_labels, ")\r\n"});
                }
            } else if (single) {
                last = spellcheck(deriv);
                report.clear();
                if (!last.spelling.empty())
                    cat(report, {whole, " (suggest: ", last.spelling_sh, ") (suggest extra: ", last.spelling, ") (", deriv,
                                 " ", label, ")", tail, "\r\n"});
                else
                    cat(report, {whole, " (", deriv, " ", label, ")", tail, "\r\n"});
            } else {
                ++bad;
                last = spellcheck(deriv);
                if (!last.spelling.empty())
                    cat(report, {"   ", whole, "  sub->", part, " (suggest: ", last.spelling_sh, ") (suggest extra: ",
                                 last.spelling, ") (", deriv, " ", label, ")\r\n"});
                else
                    cat(report, {"   ", whole, "  sub->", part, " (", deriv, " ", label, ")\r\n"});
            }
        } else if (single) {
            const std::uint8_t cap = isinset(part, labels);
            report.clear();
            if (!in_a_set(labels)) {
                last = spellcheck(whole);
                if (!last.spelling.empty())
                    cat(report, {whole, " (NO set", foreign_text, ") (suggest: ", last.spelling_sh, ") (suggest extra: ",
                                 last.spelling, ")", tail, "\r\n"});
                else
                    cat(report, {whole, " (NO set", foreign_text, ") (NO SPELLING SUGGESTIONS)", tail, "\r\n"});
            } else {
                cat(report, {whole, cap ? " (CAP " : " (", labels, ")\r\n"});
            }
        } else {
            isinset(part, labels);
            if (in_a_set(labels)) {
                cat(report, {"   ", whole, "  sub->", part, " (", labels, ")\r\n"});
            } else {
                ++bad;
                last = spellcheck(part);
                if (!last.spelling.empty())
                    cat(report, {"   ", whole, "  sub->", part, " (NO set", foreign_text, ") (suggest: ",
                                 last.spelling_sh, ") (suggest extra: ", last.spelling, ")\r\n"});
                else
                    cat(report, {"   ", whole, "  sub->", part, " (NO set", foreign_text,
                                 ") (NO SPELLING SUGGESTIONS)\r\n"});
            }
        }
        if (q == std::string_view::npos) break;
        at = q + 1;
        while (at < token.size() && token[at] == '-') ++at;
    } while (at < token.size());

    std::string count;
    if (bad > 0) {
        append_int(count, bad);
        count += " BAD part(s) out of ";
        append_int(count, parts);
        cat(report, {whole, "  ", count, ",", tail, "\r\n"});
    } else if (parts > 1) {
        append_int(count, parts);
        cat(report, {"   ", whole, " (all ", count, " subtokens are GOOD, no spell checking needed)", tail, "\r\n"});
    }
    return last;
}

EnglishSpellingState english_spelling_state() {
    static_assert(std::tuple_size_v<decltype(EnglishSpellingState::index_builds)> == kEnglishSetCount + 1);
    EnglishSpellingState s;
    for (int row = 0; row < kEnglishSetCount; ++row)
        s.index_builds[static_cast<std::size_t>(row)] = english_index(row).build_number();
    s.index_builds[kEnglishSetCount] = capit_index().build_number();
    s.deep_spell = deep_spell_option();
    return s;
}
