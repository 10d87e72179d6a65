#include "engine/time_codes.h"

#include <algorithm>

#include "platform/window.h"
#include "shell/strings.h"

namespace {

constexpr std::string_view kArrow = " --> ";
constexpr std::string_view kBlockEnd = "\r\r";
// The shared message buffer's room: the tag message is cut to it.
constexpr std::size_t kMessageRoom = 999'999;

// Occurrences of CR CR, each search going on one character after the previous match (so that
// CR CR CR counts two).
std::size_t count_block_ends(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t p = s.find(kBlockEnd); p != std::string_view::npos; p = s.find(kBlockEnd, p + 1)) ++n;
    return n;
}

// One line of text: a CR after '-' goes (the hyphenated word is joined), any other CR becomes a
// blank, and a CR right after it goes first (an empty line becomes one blank).
std::string flatten(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c != '\r') {
            out += c;
            continue;
        }
        if (!out.empty() && out.back() == '-') continue;
        if (i + 1 < s.size() && s[i + 1] == '\r') ++i;
        out += ' ';
    }
    return out;
}

// Cuts the one-line text into `blocks` blocks of equal word counts (the last one takes the rest):
// every P-th blank, short of the last R words, becomes CR CR. With fewer words than blocks, each
// word is a block of its own.
std::string resplit(const std::string& line, std::size_t blocks) {
    const long long words = GetWordCountA(line);
    long long per = words / static_cast<long long>(blocks);
    long long rest = words % static_cast<long long>(blocks);
    if (per == 0) {
        per = 1;
        rest = 0;
    }
    std::string out;
    out.reserve(line.size() + blocks);
    long long k = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != ' ') {
            out += line[i];
            continue;
        }
        ++k;
        if (k % per == 0 && k < words - rest && i != 0) out += kBlockEnd;
        else out += ' ';
    }
    return out;
}

}  // namespace

std::size_t mix_many_time_codes(std::string& translation, std::string_view source, std::string& output) {
    // Only a subtitle source (one that holds time codes) has blocks to re-split the translation
    // into; the paragraphs of a plain source say nothing about the translation's.
    const bool subtitles = source.find(kArrow) != std::string_view::npos;
    const std::size_t s_blocks = subtitles ? count_block_ends(source) : 0;
    if (s_blocks > count_block_ends(translation)) {
        std::string cut = resplit(flatten(translation), s_blocks + 1);
        if (!cut.empty()) translation = std::move(cut);
    }

    output.clear();
    const std::string& tr = translation;
    std::size_t result = 0;
    bool result_set = false;
    bool warned = false;
    std::size_t sp = 0;  // source position
    std::size_t tp = 0;  // translation position
    for (;;) {
        const std::size_t arrow = source.find(kArrow, sp);
        if (arrow == std::string_view::npos) {
            output.append(tr, tp);
            break;
        }
        // The time-code line and the index line before it, not before the source position.
        std::size_t tc = arrow;
        while (tc > sp && source[tc - 1] != '\r') --tc;
        std::size_t idx = tc;
        if (idx > sp) {
            --idx;
            while (idx > sp && source[idx - 1] != '\r') --idx;
        }

        std::size_t longest_tag = 0;
        if (output.empty() && idx > sp) {
            // Text before the first block: the first translated block goes first, without header.
            result = 0;
            result_set = true;
        } else {
            // The header: index and time-code lines, then the style tags that open the text line.
            const std::size_t line_end = source.find('\r', arrow);
            std::size_t he = line_end == std::string_view::npos ? source.size() : line_end + 1;
            while (he < source.size() && source[he] == '<') {
                std::size_t close = he + 1;
                while (close < source.size() && source[close] != '>' && source[close] != '\r') ++close;
                if (close >= source.size() || source[close] != '>') {
                    if (!warned) {
                        warned = true;
                        std::string msg = "Wrong tag! No matching '>'\r\r";
                        msg.append(source.substr(idx, kMessageRoom - std::min(kMessageRoom, msg.size())));
                        MessageBoxA(HWND{}, msg, "Done!", MB_OK | MB_ICONINFORMATION);
                    }
                    break;
                }
                longest_tag = std::max(longest_tag, close - he);
                he = close + 1;
            }
            output.append(source.substr(idx, he - idx));
            if (!result_set) {
                result = output.size();
                result_set = true;
            }
            sp = he;
        }

        // The translation repeats a long style tag that the header already carries: drop it.
        if (longest_tag > 2) {
            const std::size_t gt = tr.find('>', tp);
            const std::size_t cr = tr.find('\r', tp);
            if (gt != std::string::npos && (cr == std::string::npos || gt < cr)) tp = gt + 1;
        }

        const std::size_t sep = tr.find(kBlockEnd, tp);
        if (sep == std::string::npos) {
            output.append(tr, tp);
            break;
        }
        output.append(tr, tp, sep + kBlockEnd.size() - tp);
        tp = sep + kBlockEnd.size();
    }
    return result;
}

