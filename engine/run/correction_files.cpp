#include "engine/run/correction_files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/output_files.h"
#include "engine/separators.h"
#include "engine/token_store.h"
#include "lexicon/tables.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "shell/strings.h"
#include "shell/token_frequency_index.h"
#include "shell/window_state.h"
#include "spelling/unknown_bg.h"

namespace {

std::string_view text_of(const SenToken& r) { return r.text ? std::string_view(r.text) : std::string_view{}; }
std::string_view gap_of(const SenToken& r) { return r.gap ? std::string_view(r.gap) : std::string_view{}; }

// Writes a whole output file in one piece and closes it; a file that cannot be created was
// reported by its opener and is skipped, one that cannot be written is noted for the run's end.
void write_file(const char* prefix, std::string_view bytes) {
    FILE* f = open_generated_file(prefix);
    if (!f) return;
    write_out(f, bytes);
    closefile(f, prefix);
}

// ---- AUTO ------------------------------------------------------------------------------------

// The first alternative of a get_lensug text: from after " -> " up to the first " |" or " (".
std::string_view first_alternative(std::string_view text) {
    if (text.size() <= 4) return {};
    std::string_view alt = text.substr(4);
    const std::size_t bar = alt.find(" |"), paren = alt.find(" (");
    return alt.substr(0, std::min(bar, paren));
}

// The replacement of a token, or "" when it stays.
std::string replacement(std::string_view token, std::span<const GRecord> sorted) {
    const auto it = std::lower_bound(sorted.begin(), sorted.end(), token,
                                     [](const GRecord& g, std::string_view k) { return cmp_in_g(k, g) > 0; });
    if (it == sorted.end() || cmp_in_g(token, *it) != 0 || it->count > kAutoMaxCount) return {};
    if (ascii_cyrillic_upper[static_cast<unsigned char>(token[0])]) return {};
    const BgReport report = get_lensug(token);
    if (report.known) return {};
    const std::string_view alt = first_alternative(report.text);
    if (alt.empty() || alt == "no suggestions") return {};
    const std::size_t hyphen = token.find('-');
    if (hyphen != std::string_view::npos && hyphen + 1 < token.size() && alt.find(' ') != std::string_view::npos)
        return {};
    return std::string(alt);
}

// The context of record i: gaps and tokens of its neighbours, the token itself between bars,
// line breaks as pilcrows (a pair of them made one).
std::string auto_context(const SenToken* floor, std::ptrdiff_t n, std::ptrdiff_t i) {
    const std::ptrdiff_t from = std::max<std::ptrdiff_t>(0, i - kAutoContextBefore);
    const std::ptrdiff_t to = std::min(n, i + kAutoContextAfter);
    std::string raw;
    for (std::ptrdiff_t k = from; k < to; ++k) {
        const std::string_view gap = gap_of(floor[k]), text = text_of(floor[k]);
        if (k != from && gap.size() <= kAutoContextPieceMax) raw += gap;
        if (text.size() > kAutoContextPieceMax) continue;
        if (k == i) {
            raw += '|';
            raw += text;
            raw += '|';
        } else {
            raw += text;
        }
    }
    const char pilcrow = static_cast<char>(kPilcrow);
    for (char& ch : raw)
        if (ch == '\r' || ch == '\n') ch = pilcrow;
    std::string out;
    out.reserve(raw.size());
    for (std::size_t k = 0; k < raw.size(); ++k) {
        out += raw[k];
        if (raw[k] == pilcrow && k + 1 < raw.size() && raw[k + 1] == pilcrow) ++k;
    }
    return out;
}

// ---- OCR -------------------------------------------------------------------------------------

// The token with its look-alike Latin letters made Cyrillic, or unchanged when it holds any other
// Latin letter or is in b_ocrskip.
std::string ocr_repaired(std::string_view token) {
    const std::string repaired = replace_latin_lookalikes(token);
    for (unsigned char ch : repaired)
        if (ascii_latin[ch]) return std::string(token);
    const DictFileRecord& skip = b[B_OCRSKIP];
    const std::span<const ListPair> rows(skip.entries.data(), std::min(skip.count, skip.entries.size()));
    if (!token.empty() && find_pair(rows, token)) return std::string(token);
    return repaired;
}

// A gap with its line ends as the loaded file had them.
void append_gap_with_line_ends(std::string& out, std::string_view gap) {
    for (char ch : gap) {
        if (ch == '\r' && gl_0D0A) {
            out += "\r\n";
        } else if (ch == '\r' && gl_0A) {
            out += '\n';
        } else {
            out += ch;
        }
    }
}

// ---- Subtitles -------------------------------------------------------------------------------

std::uint32_t line_breaks(const char* gap) {
    LineEndInfo info;
    GetEmptyInfo(&info, gap);
    return info.cr_count;
}

std::string whole_text(const SenToken* from, const SenToken* to) {
    std::string out;
    for (const SenToken* r = from; r < to; ++r) {
        out += gap_of(*r);
        out += text_of(*r);
    }
    return out;
}

}  // namespace

void auto_spell_files(RunContext&) {
    std::vector<GRecord> sorted(g_floor, g_nd);
    std::sort(sorted.begin(), sorted.end(), [](const GRecord& a, const GRecord& b) { return cmp_g_strcmp_nm(a, b) < 0; });
    const SenToken* floor = sen_floor;
    const std::ptrdiff_t n = sen_nd - sen_floor;
    std::string text, log;
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        text += gap_of(floor[i]);
        const std::string_view token = text_of(floor[i]);
        if (token.empty()) continue;
        const std::string alt = replacement(token, sorted);
        if (alt.empty()) {
            text += token;
            continue;
        }
        text += alt;
        log += token;
        log += " -> ";
        log += alt;
        log += "\t\t";
        log += auto_context(floor, n, i);
        log += "\r\n";
    }
    write_file("AUTO", text);
    write_file("AUTO_LOG", log);
}

void ocr_file(RunContext&) {
    std::string out;
    for (const SenToken* r = sen_floor; r < sen_nd; ++r) {
        append_gap_with_line_ends(out, gap_of(*r));
        out += ocr_repaired(text_of(*r));
    }
    write_file("OCR", out);
}

void subtitle_text(RunContext& c) {
    store_reset(store1S);
    store_seal(store1S, c.length);
    const SenToken* floor = sen_floor;
    const std::ptrdiff_t n = sen_nd - sen_floor;
    bool separator = false;
    const char* separator_gap = glZero;
    std::ptrdiff_t i = 0;
    while (i < n) {
        if (i == 0 || line_breaks(floor[i].gap) > 1) {
            // A block starts: its number and its time-code line are left out.
            while (i < n && std::strcmp(floor[i].gap ? floor[i].gap : "", " --> ") != 0) ++i;
            if (i < n) ++i;  // the end time
        }
        while (i < n && line_breaks(floor[i].gap) <= 1) {
            SenToken copy = floor[i];
            if (i == 3) copy.gap = glZero;
            if (separator) {
                copy.gap = separator_gap;
                separator = false;
            }
            if (!store_push_record(store1S, copy)) return;
            ++i;
        }
        if (i < n) {
            separator = true;
            separator_gap = floor[i].gap;
        }
    }
}

void time_code_files(RunContext&) {
    write_file("NO_TIME_CODE", whole_text(sen_floorS, sen_ndS));
    write_file("TIME_CODE", whole_text(sen_floor, sen_nd));
}
