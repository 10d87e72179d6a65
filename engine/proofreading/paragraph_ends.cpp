// Paragraphs of book and subtitle texts that end without a final mark, and book paragraphs that do
// not begin with a tab. The texts carry one-letter tag lines ("C>" opens a region, "C$" closes it)
// and marks after a line end ('>', '@', '#', '|') that start special paragraphs.
#include <algorithm>
#include <cstring>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_words.h"
#include "engine/proofreading/word_checks.h"
#include "engine/run_state.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "shell/lists.h"
#include "shell/settings.h"

const WordList word_check_lists::kSubtitleBeyond{"отвъд отсам оттатък"};
const WordList word_check_lists::kSubtitleParticles{"я плюс пък"};

using namespace word_check_lists;

namespace {

constexpr char kEllipsis = '\x85';
constexpr std::size_t kSubtitleWordMax = 63;
constexpr const char* kRegionTags = "CDIPSMT";  // tags whose lines open and close a region

bool one_of(char c, const char* set) { return c && std::strchr(set, c); }
bool final_mark(char c) { return c == '.' || c == '!' || c == '?' || c == kEllipsis; }
bool closing_quote(char c) { return c == '\xBB' || c == '\x93' || c == '"'; }

// Where the gap's text stands in the source.
LONG gap_offset(const SenToken* p, std::size_t i) { return gap_start(*p) + static_cast<LONG>(i); }

constexpr int kType189 = 450;

// The checks a subtitle line end must pass before it is reported: the next line begins with a
// common word written with a capital, after a word that does not usually end a line.
bool subtitle_suspect(const SenToken* p, std::size_t r) {
    const char* g = p->gap;
    const char* w = p->text;
    const char* pw = p[-1].text;
    if (std::strcmp(p[-1].gap, " --> ") == 0 || std::strcmp(p[1].gap, " --> ") == 0) return false;
    const std::size_t n = std::strlen(w);
    if (!cyr_upper(w[0]) || n > kSubtitleWordMax || (n > 1 && ascii_upper[static_cast<unsigned char>(w[1])]))
        return false;
    if (may_be_proper_name(w)) return false;
    if (!known_bg(w) || find_pair(b[B_BULGARIAN_CAPIT].entries, w)) return false;
    const char last = g[std::strlen(g) - 1];
    if (ascii_apos[static_cast<unsigned char>(last)] || last == '\x94' || last == '"' || last == '\x93') return false;
    if (pw[0] && find_pair(b[B_BULGARIAN_COMMA1].entries, pw) && !kSubtitleBeyond.has(pw)) return false;
    if (TypeHas(pw, kType189) && !kSubtitleParticles.has(pw)) return false;
    if (r >= 4 && g[r - 4] == '<' && g[r - 3] == '/' && g[r - 1] == '>') return false;  // "</i>"
    return true;
}

void report_end(ProofRun& run, PassReport& rep, const SenToken* p, std::size_t r) {
    const std::string before(p->gap, r);
    if (p >= run.floor + 2) {
        std::string line = std::string(p[-2].text) + p[-1].gap + p[-1].text + before;
        const std::size_t cr = line.rfind('\r');
        if (cr != std::string::npos) line.erase(0, cr + 1);
        std::string sugg = " -> " + line;
        if (!line.empty() && (line.back() == ',' || line.back() == ';')) sugg.back() = '.';
        else sugg += '.';
        rep.finding(line, sugg);
    } else {
        rep.finding(std::string(p[-1].text) + before + ' ', " -> no suggestions");
    }
    mark_source(run, gap_offset(p, r), gap_offset(p, r) + 1);
}

}  // namespace

void paragraph_end(ProofRun& run, const PassRow& row) {
    static const std::string kraj = cp1251("край");
    if (!run.floor) return;
    PassReport rep(run, row.title);
    bool region[8] = {};  // C D I P S M T
    const SenToken* last = run.floor;  // the last paragraph break passed
    for (const SenToken* p = run.floor + 1; p < run.nd; ++p) {
        const char* g = p->gap;
        const char* w = p->text;
        const char* pw = p[-1].text;
        const char* cr = std::strchr(g, '\r');
        if ((!w[0] && !pw[0] && !g[0]) || !cr) continue;
        const std::size_t r = static_cast<std::size_t>(cr - g);
        auto accept = [&] { last = p; };
        const char before = r > 0 ? g[r - 1] : 0;

        if ((g[0] == '>' || g[0] == '$') && r == 1 && tag_letter(pw)) {
            if (const char* t = std::strchr(kRegionTags, pw[0])) region[t - kRegionTags] = g[0] == '>';
            accept();
            continue;
        }
        bool in_region = false;
        for (bool f : region) in_region = in_region || f;
        if (in_region) { accept(); continue; }
        if (before == ']' && (std::strstr(last->gap, "[*") ||
                              (std::strchr(last->gap, '[') && std::strstr(last->text, "Kodirane")))) {
            accept();
            continue;
        }
        const char* lr = std::strrchr(last->gap, '\r');
        if (r == 0 && same_word(pw, kraj) && lr && lr[1] == '\t') continue;
        const bool accepted =
            (r > 0 && (one_of(before, ".!?: ") || before == kEllipsis)) ||
            (r >= 2 && closing_quote(before) && final_mark(g[r - 2])) ||
            (r >= 3 && final_mark(g[r - 3]) && g[r - 2] == '_' && closing_quote(before)) ||
            (r >= 2 && one_of(before, "_)*") && final_mark(g[r - 2])) ||
            (r > 0 && std::strstr(last->gap, "\r\t_")) ||
            (lr && r > 0 && before == '}' && std::strncmp(lr, "\r\t{", 3) == 0) ||
            (r >= 3 && final_mark(g[r - 3]) && closing_quote(g[r - 2]) && one_of(before, "_*")) ||
            (lr && (std::strstr(lr, ">\t") || std::strstr(lr, "@\t") || std::strstr(lr, "#\t") ||
                    std::strstr(lr, "|\t"))) ||
            (last == run.floor && std::strstr(last->gap, "|\t")) ||
            (r == 0 && pw[0] && pw[std::strlen(pw) - 1] == '.');
        accept();
        if (accepted) continue;
        if (gl_fg_subtitle && !subtitle_suspect(p, r)) continue;
        report_end(run, rep, p, r);
    }
}

void paragraph_indent(ProofRun& run, const PassRow& row) {
    if (!run.floor) return;
    PassReport rep(run, row.title);
    for (const SenToken* p = run.floor + 1; p < run.nd; ++p) {
        const char* g = p->gap;
        if (!p->text[0] && !g[0]) continue;
        const char* lr = std::strrchr(g, '\r');
        if (!lr || one_of(lr[1], "\t>@#|")) continue;
        if (tag_line(p)) continue;
        if (p == run.nd - 1 && !p->text[0]) break;  // the text ends with line ends
        std::string start = std::string(lr + 1) + p->text;
        for (int k = 1; k <= 4; ++k) start += std::string(p[k].gap) + p[k].text;
        if (start.size() > 1023) start.resize(1023);
        start.resize(std::min(start.size(), start.find('\r')));
        rep.finding(start, " -> \t" + start);
    }
}
