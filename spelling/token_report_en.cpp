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

std::string_view foreign_text() { return std::string_view(isforeign); }

std::string_view apos_label() {
    const int i = gl_aposcase >= 0 && gl_aposcase <= 2 ? gl_aposcase : 0;
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

void token_suggest(std::string_view token_in, std::string& report, std::string& classes) {
    const std::string token(token_in);  // the caller's text may be one of the globals cleared below
    suggest_ct = 0;
    false_positive = 0;
    first_letter_differ = 0;
    splitting = 0;
    spelling.clear();
    spelling_sh.clear();
    report.clear();
    classes.clear();
    std::string labels;
    const std::uint8_t cap = isinset(token, labels);
    if (!labels.empty()) cat(classes, {cap ? " (CAP " : " (", labels, ")"});
    if (english_index(0).find(token) >= 0) return;
    isforeign[0] = labels.substr(0, 2) == "fo" ? ',' : '\0';
    token_suggest2(token, labels, report, "");
}

void token_suggest2(std::string_view token, std::string& labels, std::string& report, std::string_view tail) {
    const std::string whole(token);
    const bool single = token.find('-') == std::string_view::npos;
    int parts = 0, bad = 0;
    std::size_t p = 0;
    do {
        const std::size_t q = token.find('-', p);
        const std::string_view part = token.substr(p, q == std::string_view::npos ? std::string_view::npos : q - p);
        ++parts;
        if (q != std::string_view::npos && parts == 1) {
            spellcheck(whole);
            if (!spelling.empty()) {
                report.clear();
                cat(report, {whole, " (suggest: ", spelling_sh, ") (suggest extra: ", spelling, ")", tail, "\r\n"});
            }
        }
        if (part.find('\'') != std::string_view::npos) {
            gl_aposcase = isapostrophe(part, bf_deriv, aposlabel);
            if (in_a_set(aposlabel)) {
                if (single) {
                    report.clear();
                    cat(report, {" -- ", whole, " (", bf_deriv, " is ", aposlabel, ")", tail, "\r\n"});
                } else {
                    cat(report, {"   ", whole, "  sub->", part, " (", bf_deriv, " is ", aposlabel, ")\r\n"});
                }
            } else if (single) {
                const std::string deriv = bf_deriv;
                spellcheck(deriv);
                report.clear();
                if (!spelling.empty())
                    cat(report, {whole, " (suggest: ", spelling_sh, ") (suggest extra: ", spelling, ") (", deriv, " ",
                                 apos_label(), ")", tail, "\r\n"});
                else
                    cat(report, {whole, " (", deriv, " ", apos_label(), ")", tail, "\r\n"});
            } else {
                ++bad;
                const std::string deriv = bf_deriv;
                spellcheck(deriv);
                if (!spelling.empty())
                    cat(report, {"   ", whole, "  sub->", part, " (suggest: ", spelling_sh, ") (suggest extra: ", spelling,
                                 ") (", deriv, " ", apos_label(), ")\r\n"});
                else
                    cat(report, {"   ", whole, "  sub->", part, " (", deriv, " ", apos_label(), ")\r\n"});
            }
        } else if (single) {
            const std::uint8_t cap = isinset(part, labels);
            report.clear();
            if (!in_a_set(labels)) {
                spellcheck(whole);
                if (!spelling.empty())
                    cat(report, {whole, " (NO set", foreign_text(), ") (suggest: ", spelling_sh, ") (suggest extra: ",
                                 spelling, ")", tail, "\r\n"});
                else
                    cat(report, {whole, " (NO set", foreign_text(), ") (NO SPELLING SUGGESTIONS)", tail, "\r\n"});
            } else {
                cat(report, {whole, cap ? " (CAP " : " (", labels, ")\r\n"});
            }
        } else {
            isinset(part, labels);
            if (in_a_set(labels)) {
                cat(report, {"   ", whole, "  sub->", part, " (", labels, ")\r\n"});
            } else {
                ++bad;
                spellcheck(part);
                if (!spelling.empty())
                    cat(report, {"   ", whole, "  sub->", part, " (NO set", foreign_text(), ") (suggest: ", spelling_sh,
                                 ") (suggest extra: ", spelling, ")\r\n"});
                else
                    cat(report, {"   ", whole, "  sub->", part, " (NO set", foreign_text(),
                                 ") (NO SPELLING SUGGESTIONS)\r\n"});
            }
        }
        if (q == std::string_view::npos) break;
        p = q + 1;
        while (p < token.size() && token[p] == '-') ++p;
    } while (p < token.size());

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
