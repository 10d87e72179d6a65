// A word written twice in a row, and the short and long forms of the prepositions в/във and с/със.
#include <cstring>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/word_checks.h"
#include "lexicon/tables.h"

const WordList word_check_lists::kRepeatExceptions{"000 ни св. си им ми му те ти Би Ес Ен Джей Бора"};

using namespace word_check_lists;

namespace {

// First letters that take the long form: в ф and the Latin v f (and the same for с з, s z).
bool v_letter(char c) {
    switch (static_cast<unsigned char>(c)) {
        case 226: case 194: case 244: case 212: case 'v': case 'V': case 'f': case 'F': return true;
        default: return false;
    }
}
bool s_letter(char c) {
    switch (static_cast<unsigned char>(c)) {
        case 241: case 209: case 231: case 199: case 's': case 'S': case 'z': case 'Z': return true;
        default: return false;
    }
}

bool digit(char c) { return c >= '0' && c <= '9'; }

// The leading decimal number of a word, stopping before it could overflow.
long long leading_number(const char* w) {
    long long n = 0;
    for (int i = 0; digit(w[i]) && n < 1'000'000'000'000LL; ++i) n = n * 10 + (w[i] - '0');
    return n;
}

// A number read "сто...", "седем...", "седемнайсет": it takes the long form "със".
bool s_numeral(const char* w) {
    const long long n = leading_number(w);
    return w[0] == '7' || n == 17 || (n >= 100 && n <= 199) || (n >= 100'000 && n <= 199'999) ||
           (n >= 100'000'000 && n <= 199'999'999);
}

// A number at the start of a paragraph after an empty line (a heading or a list number).
bool after_empty_line(const char* g) { return g[0] == '\r' && g[1] == '\r'; }

// The preposition, the gap and the first letter of the next word.
void mark_preposition(const ProofRun& run, const SenToken* p) {
    const LONG n = static_cast<LONG>(std::strlen(p[-1].text) + std::strlen(p->gap)) + 1;
    mark_source(run, p[-1].pos, p[-1].pos + n);
}

// One finding of the preposition passes: `long_form` adds "ъв"/"ъс" to the written preposition,
// otherwise the short form is its first letter.
void preposition_finding(ProofRun& run, PassReport& rep, const SenToken* p, std::string_view ending) {
    const WordPair pair(p);
    std::string form = ending.empty() ? std::string(1, p[-1].text[0]) : p[-1].text + std::string(ending);
    pair.report(rep, run, " -> " + pair.wrap(form + ' ' + p->text), PR_SUGGESTION);
    mark_preposition(run, p);
}

}  // namespace

void repeated_word(ProofRun& run, const PassRow& row) {
    static const std::string klin = cp1251("клин"), mozhe = cp1251("може"), bi = cp1251("би");
    static const std::string i_small = cp1251("и"), i_capital = cp1251("И");
    static const std::string i_y = cp1251("и й"), y_i = cp1251("й и"), cap_i_y = cp1251("И й");
    PassReport rep(run, row.title);
    walk_word_pairs(run, [&](const SenToken* p) {
        const char* pw = p[-1].text;
        const char* w = p->text;
        if (!blank_gap(p->gap) || !w[0] || cp_strcasecmp(pw, w) != 0) return;
        if (kRepeatExceptions.has_exact(w) || same_word(w, klin)) return;
        if (p >= run.floor + 2 && bi == w && mozhe == p[-2].text) return;
        const WordPair pair(p);
        std::string sugg = " -> ";
        // The conjunction "и" doubled is often "и й" or "й и" mistyped.
        if (i_small == pw) sugg += pair.wrap(i_y) + " | " + pair.wrap(y_i) + " | ";
        else if (i_capital == pw) sugg += pair.wrap(cap_i_y) + " | ";
        sugg += pair.wrap(w) + " | " + pair.wrap(std::string(pw) + ", " + w);
        pair.report(rep, run, sugg, PR_SUGGESTION);
        const LONG n = static_cast<LONG>(std::strlen(pw) + std::strlen(p->gap) + std::strlen(w));
        mark_source(run, p[-1].pos, p[-1].pos + n);
    });
}

void v_to_vav(ProofRun& run, const PassRow& row) {
    static const std::string v = cp1251("в"), av = cp1251("ъв");
    PassReport rep(run, row.title);
    walk_word_pairs(run, [&](const SenToken* p) {
        if (!same_word(p[-1].text, v) || !blank_gap(p->gap) || !v_letter(p->text[0])) return;
        preposition_finding(run, rep, p, av);
    });
}

void vav_to_v(ProofRun& run, const PassRow& row) {
    static const std::string vav = cp1251("във");
    PassReport rep(run, row.title);
    walk_word_pairs(run, [&](const SenToken* p) {
        const char* w = p->text;
        if (!w[0] || !same_word(p[-1].text, vav) || !blank_gap(p->gap) || v_letter(w[0])) return;
        if (digit(w[0]) && after_empty_line(p->gap)) return;
        preposition_finding(run, rep, p, {});
    });
}

void s_to_sas(ProofRun& run, const PassRow& row) {
    static const std::string s = cp1251("с"), as = cp1251("ъс");
    PassReport rep(run, row.title);
    walk_word_pairs(run, [&](const SenToken* p) {
        const char* w = p->text;
        if (!same_word(p[-1].text, s)) return;
        if (digit(w[0])) {
            // A number is judged by how it is read, whatever stands between.
            if (after_empty_line(p->gap) || !s_numeral(w)) return;
        } else if (!blank_gap(p->gap) || !s_letter(w[0])) {
            return;
        }
        preposition_finding(run, rep, p, as);
    });
}

void sas_to_s(ProofRun& run, const PassRow& row) {
    static const std::string sas = cp1251("със"), ili = cp1251("или");
    PassReport rep(run, row.title);
    walk_word_pairs(run, [&](const SenToken* p) {
        const char* w = p->text;
        if (!w[0] || !same_word(p[-1].text, sas) || !blank_gap(p->gap)) return;
        if (digit(w[0])) {
            if (after_empty_line(p->gap) || s_numeral(w)) return;
        } else if (s_letter(w[0]) || same_word(w, ili)) {
            return;
        }
        preposition_finding(run, rep, p, {});
    });
}
